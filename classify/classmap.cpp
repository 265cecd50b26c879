#include "classmap.h"

#include "decision.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace korvane {

namespace {

using rules::Band;
using rules::TableRow;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The single-precision value just below a positive one.
float below(float x)
{
    return std::nextafter(x, 0.0f);
}

// The smallest positive float from which `holds` is true, for a condition
// that stays true above it; none where it holds for no finite float.
template <typename Condition> std::optional<float> smallestFrom(Condition holds)
{
    // Positive floats are ordered as their bit patterns; 0 stands below them all.
    std::uint32_t low = 0;
    std::uint32_t high = std::bit_cast<std::uint32_t>(std::numeric_limits<float>::max());
    if (!holds(std::bit_cast<float>(high)))
        return std::nullopt;
    while (high - low > 1) {
        const std::uint32_t middle = low + (high - low) / 2;
        (holds(std::bit_cast<float>(middle)) ? high : low) = middle;
    }
    return std::bit_cast<float>(high);
}

float valueOf(const VesselInput &in, Quantity along)
{
    return along == Quantity::p ? in.p : in.V;
}

// The vessel with p or V replaced, formed anew.
VesselInput moved(const VesselInput &in, Quantity along, float value)
{
    return formVessel(along == Quantity::p ? value : in.p, along == Quantity::V ? value : in.V,
                      in.pw, in.mediumState, in.clause14State, in.group);
}

// Where a limit's line meets another's, measured as the first runs (over p
// for a limit on V, over V otherwise); none where they run side by side.
std::optional<double> crossing(const Limit &line, const Limit &other)
{
    const double a = line.value, b = other.value;
    switch (line.quantity) {
    case Quantity::V:
    case Quantity::p: {
        const Quantity across = line.quantity == Quantity::V ? Quantity::p : Quantity::V;
        if (other.quantity == across)
            return b;
        if (other.quantity == Quantity::pV)
            return b / a;
        break;
    }
    case Quantity::pV:
        if (other.quantity == Quantity::V)
            return b;
        if (other.quantity == Quantity::p)
            return a / b;
        break;
    case Quantity::pw:
    case Quantity::pwV:
        break;
    }
    return std::nullopt;
}

// Whether the classes on the two sides of a limit's line differ where it
// passes `at` (a p for a limit on V, a V otherwise).
bool separatesClasses(const ClassMap &map, const Limit &limit, float at)
{
    switch (limit.quantity) {
    case Quantity::V:
        return map.classAt(at, below(limit.value)) != map.classAt(at, limit.value);
    case Quantity::p:
        return map.classAt(below(limit.value), at) != map.classAt(limit.value, at);
    case Quantity::pV: {
        const auto p = smallestFrom([&](float p) { return map.vesselAt(p, at).pV >= limit.value; });
        return p && map.classAt(below(*p), at) != map.classAt(*p, at);
    }
    case Quantity::pw:
    case Quantity::pwV:
        break;
    }
    return false;
}

// A value inside (a, b), as a positive float, at which to look at a stretch.
float samplePoint(double a, double b)
{
    const double middle = a == 0           ? (b == kInfinity ? 1 : b / 10)
                          : b == kInfinity ? a * 10
                                           : std::sqrt(a * b);
    return float(std::clamp(middle, double(std::numeric_limits<float>::denorm_min()),
                            double(std::numeric_limits<float>::max())));
}

// The values of p or V at which the class may change, p, V, pw, both answers
// and the group kept otherwise: the map's limits on that value, and where pV
// reaches each of its limits on pV.
std::vector<float> changePoints(const ClassMap &map, Quantity along)
{
    std::vector<float> points;
    for (const Limit &limit : limitsOf(map)) {
        if (limit.quantity == along) {
            points.push_back(limit.value);
        } else if (limit.quantity == Quantity::pV) {
            const auto x = smallestFrom(
                [&](float x) { return moved(map.vessel, along, x).pV >= limit.value; });
            if (x)
                points.push_back(*x);
        }
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

} // namespace

VesselInput ClassMap::vesselAt(float p, float V) const
{
    return formVessel(p, V, vessel.pw, vessel.mediumState, vessel.clause14State, vessel.group);
}

ClassResult ClassMap::classAt(float p, float V) const
{
    const VesselInput at = vesselAt(p, V);
    const auto area = std::find_if(areas.begin(), areas.end(),
                                   [&at](const TableRow &row) { return row.holds(at); });
    return area == areas.end() ? ClassResult::OutOfClass : area->result;
}

Limit ClassMap::ruleLimit(const Limit &line) const
{
    const bool scope = line.quantity == Quantity::V && scopeFrom == line.value;
    return scope ? Limit{Quantity::pwV, float(rules::kMinPressureVolume)} : line;
}

ClassMap tableMap(MediumGroup group)
{
    ClassMap map;
    map.vessel.group = group;
    map.tableOnly = true;
    const auto table = rules::groupTable(group);
    map.areas.assign(table.begin(), table.end());
    return map;
}

ClassMap classMap(const VesselInput &in)
{
    using namespace rules;
    if (!holdsScopeMedium(in) || !(in.pw >= kMinWorkingPressure)) {
        ClassMap map = tableMap(in.group);
        map.vessel = in;
        return map;
    }
    ClassMap map;
    map.vessel = in;
    const auto table = groupTable(in.group);

    // The scope test holds from a V on: pw stays as it is.
    map.scopeFrom = smallestFrom(
        [&in](float V) { return moved(in, Quantity::V, V).pwV >= kMinPressureVolume; });
    if (!map.scopeFrom)
        return map;
    const Band scope{*map.scopeFrom, kNoLimit};
    if (underClause14(in))
        map.areas.push_back({scope, Band{kMinDesignPressure, kNoLimit},
                             Band{kMinDesignPressureVolume, kNoLimit}, ClassResult::ClassI});
    for (TableRow row : table) {
        row.V = {std::max(row.V.atLeast, scope.atLeast), row.V.below};
        if (row.V.atLeast < row.V.below)
            map.areas.push_back(row);
    }
    return map;
}

std::vector<Limit> limitsOf(const ClassMap &map)
{
    std::vector<Limit> limits;
    const auto add = [&limits](Quantity quantity, float value) {
        const Limit limit{quantity, value};
        if (std::find(limits.begin(), limits.end(), limit) == limits.end())
            limits.push_back(limit);
    };
    for (const TableRow &area : map.areas) {
        for (const auto &[quantity, band] :
             {std::pair{Quantity::V, area.V}, std::pair{Quantity::p, area.p},
              std::pair{Quantity::pV, area.pV}}) {
            if (band.hasLower())
                add(quantity, band.atLeast);
            if (band.hasUpper())
                add(quantity, band.below);
        }
    }
    return limits;
}

LimitRanges limitRanges(const ClassMap &map)
{
    LimitRanges ranges;
    for (const TableRow &area : map.areas) {
        for (const float V : {area.V.atLeast, area.V.below}) {
            if (std::isfinite(V))
                ranges.V.take(V);
        }
        for (const float p : {area.p.atLeast, area.p.below}) {
            if (std::isfinite(p))
                ranges.p.take(p);
        }
        for (const float pV : {area.pV.atLeast, area.pV.below}) {
            for (const float V : {area.V.atLeast, area.V.below}) {
                if (std::isfinite(pV) && std::isfinite(V))
                    ranges.p.take(*crossing({Quantity::V, V}, {Quantity::pV, pV}));
            }
        }
    }
    return ranges;
}

std::vector<LimitStretch> classLimits(const ClassMap &map)
{
    const std::vector<Limit> limits = limitsOf(map);
    std::vector<LimitStretch> stretches;
    for (const Limit &limit : limits) {
        // Other limits cut the line into pieces, along each of which the
        // classes on either side stay the same.
        std::vector<double> cuts{0, kInfinity};
        for (const Limit &other : limits) {
            const auto at = crossing(limit, other);
            if (at && *at > 0 && *at < kInfinity)
                cuts.push_back(*at);
        }
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

        std::optional<double> start;
        for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
            const double a = cuts[i], b = cuts[i + 1];
            // Limits that meet at one corner (pV = 50000 and p = 10 at
            // V = 5000) leave pieces too short to part anything.
            if (a > 0 && b / a < 1 + 1e-6)
                continue;
            const bool parting = separatesClasses(map, limit, samplePoint(a, b));
            if (parting && !start)
                start = a;
            if (!parting && start) {
                stretches.push_back({limit, *start, a});
                start.reset();
            }
        }
        if (start)
            stretches.push_back({limit, *start, kInfinity});
    }
    return stretches;
}

Neighbours neighboursAlong(const ClassMap &map, ClassResult own, Quantity along)
{
    const VesselInput &in = map.vessel;
    if (!(in.p > 0 && in.V > 0 && std::isfinite(in.p) && std::isfinite(in.V)) ||
        (along != Quantity::p && along != Quantity::V))
        return {};
    const auto classAt = [&](float x) -> std::optional<ClassResult> {
        const VesselInput there = moved(in, along, x);
        if (std::isinf(there.pV) || std::isinf(there.pwV))
            return std::nullopt;
        return decideVessel(there).result;
    };
    const std::vector<float> points = changePoints(map, along);
    const auto above = std::upper_bound(points.begin(), points.end(), valueOf(in, along));

    Neighbours neighbours;
    for (auto x = above; x != points.end(); ++x) {
        const auto there = classAt(*x);
        if (!there) // and beyond, where the products only grow
            break;
        if (*there != own) {
            neighbours.above = Neighbour{*x, *there};
            break;
        }
    }
    for (auto x = above; x != points.begin();) {
        --x;
        const float under = below(*x);
        if (!(under > 0))
            break;
        if (const auto there = classAt(under); there && *there != own) {
            neighbours.below = Neighbour{*x, *there};
            break;
        }
    }
    return neighbours;
}

} // namespace korvane
