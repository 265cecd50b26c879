// Vessels as the rules' tests write them, and the single-precision steps
// beside a value.
#pragma once

#include "vessel.h"

#include <cmath>
#include <limits>

namespace korvane::test {

// The single-precision values just below and just above x.
inline float below(float x)
{
    return std::nextafter(x, -std::numeric_limits<float>::infinity());
}
inline float above(float x)
{
    return std::nextafter(x, std::numeric_limits<float>::infinity());
}

// A vessel as the window forms it: pV rounded to single precision, pwV in
// double precision from the double pw; the medium box ticked and clause 1.4
// not, unless said.
inline VesselInput vessel(float p, float V, double pw, MediumGroup group,
                          CheckState medium = CheckState::On, CheckState clause14 = CheckState::Off)
{
    return formVessel(p, V, pw, medium, clause14, group);
}

} // namespace korvane::test
