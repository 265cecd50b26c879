#include "decision.h"

namespace korvane {

std::size_t Decision::rowNumber() const
{
    if (rule != DecidingRule::TableRow || row == nullptr)
        return 0;
    return std::size_t(row - rules::groupTable(group).data()) + 1;
}

Decision decideVessel(const VesselInput &in)
{
    using namespace rules;
    Decision decision;

    // Scope: only the working pressure counts here, never the design pressure.
    decision.scope = {in.pw < kMinWorkingPressure, in.pwV < kMinPressureVolume,
                      !holdsScopeMedium(in)};
    if (decision.scope.any()) {
        decision.rule = DecidingRule::ScopeTest;
        return decision;
    }

    if (underClause14(in) && in.pw >= kMinWorkingPressure && in.p >= kMinDesignPressure &&
        in.pwV >= kMinPressureVolume && in.pV >= kMinDesignPressureVolume) {
        decision.rule = DecidingRule::Clause14;
        decision.result = ClassResult::ClassI;
        return decision;
    }

    decision.group = in.group;
    for (const TableRow &row : groupTable(in.group)) {
        if (row.holds(in)) {
            decision.rule = DecidingRule::TableRow;
            decision.row = &row;
            decision.result = row.result;
            return decision;
        }
    }
    decision.rule = DecidingRule::NoRow;
    return decision;
}

} // namespace korvane
