// Where a vessel's class changes: its class at every p and V with its
// working pressure, its two answers and its medium group kept, the limits
// between those classes, and the nearest change along V and along p.
#pragma once

#include "quantity.h"
#include "ruletables.h"
#include "vessel.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace korvane {

// A limit of the rules: V, p or pV at or above `value` on one side.
struct Limit
{
    Quantity quantity;
    float value;

    friend bool operator==(const Limit &, const Limit &) = default;
};

// The class of a vessel at each p and V, everything else kept. Its areas are
// conditions on V, p and pV, tried in order as the rules try theirs; where
// none holds, the class is 类外. At every p and V, classAt gives what
// decideVessel gives the vessel formed there, unless `tableOnly`.
struct ClassMap
{
    VesselInput vessel; // the vessel the map is drawn for
    std::vector<rules::TableRow> areas;
    // Nothing is in scope at any p and V (pw < 0.1 MPa, or the medium question
    // not ticked): the map is the group table alone, as if in scope.
    bool tableOnly = false;
    // The smallest V from which pw·V ≥ 2.5 MPa·L, where the scope test cuts
    // the map.
    std::optional<float> scopeFrom;

    // The vessel formed at p and V, everything else kept.
    VesselInput vesselAt(float p, float V) const;
    ClassResult classAt(float p, float V) const;
    // The limit of the rules that a limit line of the map stands for: the
    // scope test's pwV ≥ 2.5 MPa·L for the line at V = scopeFrom, the
    // line's own limit otherwise.
    Limit ruleLimit(const Limit &line) const;
};

ClassMap classMap(const VesselInput &vessel);

// A group table alone, as the map of a vessel for which nothing is in scope.
ClassMap tableMap(MediumGroup group);

// The values over which a map's limits lie: its limits on V and on p, and
// the p at which each limit on pV meets a limit on V of the same area.
struct LimitRange
{
    double low = std::numeric_limits<double>::infinity();
    double high = 0;

    void take(double x)
    {
        low = std::min(low, x);
        high = std::max(high, x);
    }
    void take(const LimitRange &other)
    {
        low = std::min(low, other.low);
        high = std::max(high, other.high);
    }
};

struct LimitRanges
{
    LimitRange V;
    LimitRange p;
};

LimitRanges limitRanges(const ClassMap &map);

// Every limit the areas name, once each, in the order they name them.
std::vector<Limit> limitsOf(const ClassMap &map);

// A stretch of a limit's line along which the classes on its two sides
// differ: for a limit on V it runs over p, for one on p or pV over V. An
// open end is 0 or infinity.
struct LimitStretch
{
    Limit limit;
    double from;
    double to;
};

// The lines between the map's classes, joined where they run on.
std::vector<LimitStretch> classLimits(const ClassMap &map);

// The nearest change of class when only one value changes.
struct Neighbour
{
    float value;
    ClassResult result;
};

struct Neighbours
{
    // The largest value below which the class differs, and the class just below it.
    std::optional<Neighbour> below;
    // The smallest value above it from which the class differs, and the class there.
    std::optional<Neighbour> above;

    bool any() const { return below || above; }
};

// For the map's vessel, whose class is `own`, along Quantity::V or
// Quantity::p, to the single-precision step and in the calculate action's
// arithmetic. Values whose products overflow, which the calculate action
// refuses, are not looked at. Empty unless p > 0 and V > 0.
Neighbours neighboursAlong(const ClassMap &map, ClassResult own, Quantity along);

} // namespace korvane
