// Vessel classification under TSG R0004-2009: the pure rules.
#pragma once

#include <QString>

namespace korvane {

enum class MediumGroup
{
    Group1, // extremely or highly toxic, explosive media, liquefied gases
    Group2, // all other media
};

// A check box's state as the window reports it; the numbers are its values.
enum class CheckState
{
    Off = 0,
    On = 1,
    Greyed = 2,
};

enum class ClassResult
{
    OutOfClass,
    ClassI,
    ClassII,
    ClassIII,
};

// The exact text the result box shows for a result: "类外", "Ⅰ 类", "Ⅱ 类", "Ⅲ 类".
QString resultText(ClassResult result);
// The result's mark on the class chart's areas: "类外", "Ⅰ", "Ⅱ", "Ⅲ".
QString classMark(ClassResult result);

// The regulation whose rules these are, in this one edition: "TSG R0004-2009".
QString regulationName();

// One vessel as read from the calculator window, derived products included.
// p, V and pV are single precision and pw, pwV double precision on purpose:
// the thresholds are compared at exactly these precisions.
struct VesselInput
{
    float p = 0;                                // design pressure, MPa
    float V = 0;                                // volume, L
    double pw = 0;                              // working pressure, MPa
    float pV = 0;                               // p × V rounded to single precision, MPa·L
    double pwV = 0;                             // pw × V in double precision, MPa·L
    CheckState mediumState = CheckState::Off;   // gas, liquefied gas or boiling liquid
    CheckState clause14State = CheckState::Off; // falls under clause 1.4
    MediumGroup group = MediumGroup::Group1;
};

// The vessel as the calculate action forms it from its entries: pV is p × V
// rounded to single precision, pwV is pw × V in double precision. Either may
// come out infinite, which the calculate action refuses as an overflow.
VesselInput formVessel(float p, float V, double pw, CheckState medium, CheckState clause14,
                       MediumGroup group);

// The two answers as the rules count them: a greyed medium box, which only a
// program can set, as ticked (only an unticked one fails the scope test); a
// greyed clause-1.4 box as not ticked (only a ticked one gives Ⅰ 类).
bool holdsScopeMedium(const VesselInput &input);
bool underClause14(const VesselInput &input);

// The result of decideVessel (decision.h), which also tells which rule decided.
ClassResult classifyVessel(const VesselInput &input);

} // namespace korvane
