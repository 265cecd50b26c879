// Text-to-number conversion for what a person types into the calculator.
#pragma once

#include <QLocale>
#include <QStringView>

#include <optional>

namespace korvane {

enum class NumberStatus
{
    Ok,
    NotANumber, // empty, blanks only, letters, inf/nan, misplaced marks
    Overflow,   // a number, but beyond the range of the wanted precision
};

template <typename T> struct Parsed
{
    NumberStatus status = NumberStatus::NotANumber;
    T value = 0;
};

// Converts text in the given locale: its decimal point and digit grouping,
// a sign, a fraction and an exponent, surrounding blanks (U+3000 too), and
// the full-width forms that a Chinese input method types. Where the locale's
// decimal point is ".", the ideographic full stop "。" counts as one.
// Magnitudes too small to represent become zero, not errors.
Parsed<double> parseDouble(QStringView text, const QLocale &locale);

// As parseDouble, then rounded to single precision; an overflow only where
// the rounded value would be infinite.
Parsed<float> parseSingle(QStringView text, const QLocale &locale);

// Rounds to the nearest single-precision value; nullopt where that is infinite.
std::optional<float> roundToSingle(double value);

} // namespace korvane
