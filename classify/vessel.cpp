#include "vessel.h"

#include "decision.h"

namespace korvane {

using namespace Qt::Literals::StringLiterals;

QString resultText(ClassResult result)
{
    switch (result) {
    case ClassResult::OutOfClass:
        return u"类外"_s;
    case ClassResult::ClassI:
        return u"\u2160 类"_s;
    case ClassResult::ClassII:
        return u"\u2161 类"_s;
    case ClassResult::ClassIII:
        return u"\u2162 类"_s;
    }
    return {};
}

QString regulationName()
{
    return u"TSG R0004-2009"_s;
}

VesselInput formVessel(float p, float V, double pw, CheckState medium, CheckState clause14,
                       MediumGroup group)
{
    VesselInput in;
    in.p = p;
    in.V = V;
    in.pV = p * V; // a float product: rounded to single precision
    in.pw = pw;
    in.pwV = pw * double(V);
    in.mediumState = medium;
    in.clause14State = clause14;
    in.group = group;
    return in;
}

ClassResult classifyVessel(const VesselInput &in)
{
    return decideVessel(in).result;
}

} // namespace korvane
