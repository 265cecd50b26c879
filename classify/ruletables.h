// The two group tables of the classification rules, kept as data that reads
// like the printed tables. Every limit on p, V and pV is formed in double
// precision and rounded to single precision, because that is the precision
// the window's values are held in and compared at.
#pragma once

#include "vessel.h"

#include <limits>
#include <span>

namespace korvane::rules {

constexpr float single(double x)
{
    return static_cast<float>(x);
}

constexpr float kNoLimit = std::numeric_limits<float>::infinity();

// A half-open band [atLeast, below); an unbounded side is infinite.
struct Band
{
    float atLeast = -kNoLimit;
    float below = kNoLimit;

    constexpr bool contains(float x) const { return x >= atLeast && x < below; }
    constexpr bool hasLower() const { return atLeast != -kNoLimit; }
    constexpr bool hasUpper() const { return below != kNoLimit; }
};

constexpr Band any{};
constexpr Band from(double lower)
{
    return {single(lower), kNoLimit};
}
constexpr Band under(double upper)
{
    return {-kNoLimit, single(upper)};
}
constexpr Band between(double lower, double upper)
{
    return {single(lower), single(upper)};
}

struct TableRow
{
    Band V;
    Band p;
    Band pV;
    ClassResult result;

    constexpr bool holds(const VesselInput &in) const
    {
        return V.contains(in.V) && p.contains(in.p) && pV.contains(in.pV);
    }
};

using enum ClassResult;

// clang-format off
inline constexpr TableRow kGroup1Table[] = {
    //  V from … below               p                   pV             result
    {between(0.1, 25),            any,                from(2.5),     ClassI},
    {between(25, 5000),           from(10),           any,           ClassIII},
    {between(25, 5000),           between(0.1, 10),   any,           ClassII},
    {between(5000, 5e4 / 1.6),    from(1.6),          from(5e4),     ClassIII},
    {between(5000, 5e4 / 1.6),    from(0.1),          under(5e4),    ClassII},
    {between(5e4 / 1.6, 1e6 / 1.6), from(1.6),        any,           ClassIII},
    {between(5e4 / 1.6, 1e6 / 1.6), between(0.1, 1.6), any,          ClassII},
    {between(1e6 / 1.6, 1e7),     from(0.1),          from(1e6),     ClassIII},
    {between(1e6 / 1.6, 1e7),     from(0.1),          under(1e6),    ClassII},
    {from(1e7),                   from(0.1),          any,           ClassIII},
};

inline constexpr TableRow kGroup2Table[] = {
    //  V from … below               p                   pV             result
    {between(0.1, 25),            any,                from(2.5),     ClassI},
    {between(25, 5e4),            from(10),           any,           ClassIII},
    {between(25, 5e4),            between(1.6, 10),   any,           ClassII},
    {between(25, 5e4),            between(0.1, 1.6),  any,           ClassI},
    {between(5e4, 5e5 / 1.6),     from(1.6),          from(5e5),     ClassIII},
    {between(5e4, 5e5 / 1.6),     from(1.6),          under(5e5),    ClassII},
    {between(5e4, 5e5 / 1.6),     between(0.1, 1.6),  any,           ClassI},
    {between(5e5 / 1.6, 5e6 / 1.6), from(1.6),        any,           ClassIII},
    {between(5e5 / 1.6, 5e6 / 1.6), between(0.1, 1.6), any,          ClassI},
    {between(5e6 / 1.6, 5e7),     from(0.1),          from(5e6),     ClassIII},
    {between(5e6 / 1.6, 5e7),     from(0.1),          under(5e6),    ClassI},
    {from(5e7),                   from(0.1),          any,           ClassIII},
};
// clang-format on

// The quotients must come out as the whole numbers where neighbouring limits
// meet; a change of formula that broke this would move a band edge.
static_assert(single(5e4 / 1.6) == 31250.0f && single(1e6 / 1.6) == 625000.0f);
static_assert(single(5e5 / 1.6) == 312500.0f && single(5e6 / 1.6) == 3125000.0f);
// 0.1 and 1.6 round up, so an entered 0.1 or 1.6 meets its own limit.
static_assert(single(0.1) > 0.1 && single(1.6) > 1.6);

constexpr std::span<const TableRow> groupTable(MediumGroup group)
{
    return group == MediumGroup::Group1 ? std::span<const TableRow>(kGroup1Table)
                                        : std::span<const TableRow>(kGroup2Table);
}

// The scope test and the clause-1.4 rule compare pw and pwV in double
// precision, p and pV in single precision.
constexpr double kMinWorkingPressure = 0.1; // MPa
constexpr double kMinPressureVolume = 2.5;  // MPa·L
constexpr float kMinDesignPressure = single(0.1);
constexpr float kMinDesignPressureVolume = single(2.5);

} // namespace korvane::rules
