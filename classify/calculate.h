// The calculate action of the calculator window, apart from the widgets:
// the window hands in what its controls hold and writes back what comes out.
#pragma once

#include "classmap.h"
#include "decision.h"
#include "vessel.h"

#include <QLocale>
#include <QString>

#include <variant>

namespace korvane {

// What the calculate action reads from the window.
struct CalculatorEntries
{
    QString text1; // design pressure p
    QString text2; // volume V
    QString text4; // working pressure pw
    CheckState check1 = CheckState::On;
    CheckState check2 = CheckState::Off;
    bool option1 = false;
    bool option2 = false;
};

enum class InputBox
{
    Text1,
    Text2,
    Text4,
};

enum class ErrorKind
{
    TypeMismatch,
    Overflow,
};

struct CalculateError
{
    ErrorKind kind;
    InputBox box;         // the box to put right
    bool product = false; // the box's number is fine, its product with V is not

    friend bool operator==(const CalculateError &, const CalculateError &) = default;
};

struct CalculateSuccess
{
    VesselInput input;
    Decision decision; // its result is the class; the reason and the chart say why
    ClassMap map;      // the vessel's classes over p and V, which both read
    bool option1;      // the option buttons as the action leaves them
    bool option2;
};

using CalculateOutcome = std::variant<CalculateSuccess, CalculateError>;

// Converts, forms the products, settles the option buttons and classifies,
// stopping at the first error in the order the window reads its boxes.
CalculateOutcome calculate(const CalculatorEntries &entries, const QLocale &locale);

} // namespace korvane
