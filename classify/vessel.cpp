#include "vessel.h"

#include "decision.h"

#include <cstddef>
#include <iterator>

namespace korvane {

using namespace Qt::Literals::StringLiterals;

namespace {

// In the order of ClassResult; the numerals are the Roman-numeral
// characters, not Latin letters.
constexpr const char16_t *kMarks[] = {u"类外", u"\u2160", u"\u2161", u"\u2162"};
static_assert(std::size(kMarks) == std::size_t(ClassResult::ClassIII) + 1);

} // namespace

QString classMark(ClassResult result)
{
    return QString::fromUtf16(kMarks[std::size_t(result)]);
}

// A space parts a numeral from 类.
QString resultText(ClassResult result)
{
    return result == ClassResult::OutOfClass ? classMark(result) : classMark(result) + u" 类"_s;
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

bool holdsScopeMedium(const VesselInput &in)
{
    return in.mediumState != CheckState::Off;
}

bool underClause14(const VesselInput &in)
{
    return in.clause14State == CheckState::On;
}

ClassResult classifyVessel(const VesselInput &in)
{
    return decideVessel(in).result;
}

} // namespace korvane
