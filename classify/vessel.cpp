#include "vessel.h"

#include "ruletables.h"

namespace korvane {

std::u16string_view resultText(ClassResult result)
{
    switch (result) {
    case ClassResult::OutOfClass:
        return u"类外";
    case ClassResult::ClassI:
        return u"\u2160 类";
    case ClassResult::ClassII:
        return u"\u2161 类";
    case ClassResult::ClassIII:
        return u"\u2162 类";
    }
    return {};
}

ClassResult classifyVessel(const VesselInput &in)
{
    using namespace rules;

    // Scope: only the working pressure counts here, never the design pressure.
    if (in.pw < kMinWorkingPressure || in.pwV < kMinPressureVolume ||
        in.mediumState == CheckState::Off)
        return ClassResult::OutOfClass;

    if (in.clause14State == CheckState::On && in.pw >= kMinWorkingPressure &&
        in.p >= kMinDesignPressure && in.pwV >= kMinPressureVolume &&
        in.pV >= kMinDesignPressureVolume)
        return ClassResult::ClassI;

    for (const TableRow &row : groupTable(in.group)) {
        if (row.V.contains(in.V) && row.p.contains(in.p) && row.pV.contains(in.pV))
            return row.result;
    }
    return ClassResult::OutOfClass;
}

} // namespace korvane
