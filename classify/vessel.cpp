#include "vessel.h"

#include "decision.h"

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
    return decideVessel(in).result;
}

} // namespace korvane
