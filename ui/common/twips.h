// Window layouts are given in twips: 1/1440 inch, 15 to a pixel at 96 dpi.
#pragma once

#include <QRect>

namespace korvane::ui {

inline constexpr int kTwipsPerPixel = 15;

// Converts edges rather than sizes, so that neighbouring boxes stay
// flush where their twips edges meet.
constexpr int twipsToPixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    const int x = twipsToPixels(left);
    const int y = twipsToPixels(top);
    return {x, y, twipsToPixels(left + width) - x, twipsToPixels(top + height) - y};
}

constexpr QSize twipsSize(int width, int height)
{
    return {twipsToPixels(width), twipsToPixels(height)};
}

} // namespace korvane::ui
