// Why a vessel has its class, in the program's words: the text that the
// result box shows as its tooltip and copies on request.
#pragma once

#include "calculate.h"
#include "classmap.h"
#include "decision.h"

#include <QString>

namespace korvane {

// Entries that deserve a second look. They never change the result.
struct Cautions
{
    bool designBelowWorking = false; // p < pw
    bool ultraHighPressure = false;  // p ≥ 100 MPa
    bool outOnlyByMedium = false;    // 类外, but Check1 on would give a class

    friend bool operator==(const Cautions &, const Cautions &) = default;
};

Cautions cautionsFor(const VesselInput &input, const Decision &decision);

// "第一组介质" or "第二组介质".
QString groupName(MediumGroup group);

// The shortest text that reads back as the same single-precision value: a
// limit as the printed tables write it (0.1, 31250, although 0.1 is held a
// little above), an entry of 1.6 as 1.6.
QString shortestText(float value);

// A value in that notation with its unit: "0.1 MPa", "25 L".
QString amountText(float value, Quantity quantity);

// The deciding rule in words, ending in the result, e.g.
// "第一组介质，25 L ≤ V < 5000 L，0.1 MPa ≤ p < 10 MPa：Ⅱ 类".
QString ruleText(const VesselInput &input, const Decision &decision);

// The result as the reason's first line and the class chart's caption name
// it: "Ⅱ 类", and for 类外 which kind, "类外（不属于本规程适用范围）" or
// "类外（在适用范围内，但不在分类表的任何一行）".
QString resultSummary(const Decision &decision);

// A quantity's value, as the chart labels its limit lines and its point:
// "p = 10 MPa", "pwV = 2.5 MPa·L".
QString valueText(Quantity quantity, float value);

// The class chart's caption, which says what decided; where nothing is in
// scope at any p and V, that the chart only marks the vessel's p and V.
QString chartCaption(const ClassMap &map, const Decision &decision);

// How far V or p alone may change before the class does, e.g.
// "仅改变容积 V：< 25 L 为 Ⅰ 类；≥ 25000 L 为 Ⅲ 类"; empty where neither way
// changes it, or p or V is not above zero. For the map's vessel, whose class
// is `own`.
QString neighboursText(const ClassMap &map, ClassResult own, Quantity along);

// The whole reason, one item a line: the result, p, V and pw as typed and as
// used, pV and pwV, the medium group, both answers as the rules counted
// them, the deciding rule, how far V and p may change before the class
// does, and any cautions.
// Plain text whose first line holds no markup, so that a tooltip shows it as
// it stands.
QString reasonText(const CalculatorEntries &typed, const CalculateSuccess &result);

} // namespace korvane
