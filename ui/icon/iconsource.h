// The icon's editable source: a palette and pictures drawn as grids of
// palette keys, one character per pixel.
#pragma once

#include <QImage>
#include <QRgb>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace korvane::ui {

// The key that marks a pixel through which the background shows.
inline constexpr QChar transparentKey = u'.';
inline constexpr int transparentPixel = -1;

struct Picture
{
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0; // 1 (black and white) or 4 (the source's palette)
    // Row by row from the top: an index into this picture's palette, or
    // transparentPixel.
    std::vector<int> pixels;

    int pixel(int x, int y) const { return pixels[std::size_t(y * width + x)]; }
};

struct IconSource
{
    std::vector<QRgb> palette; // at most 16 colours, for the 4-bit pictures
    std::vector<Picture> pictures;
};

struct ParseError
{
    int line = 0; // 1-based; 0 when the error concerns the whole text
    QString message;
};

// Reads the text form; on failure returns nothing and fills in the error.
std::optional<IconSource> parseIconSource(QStringView text, ParseError *error);

// The colours a picture's pixel indices refer to: black and white for a
// 1-bit picture, the source's palette padded with black to 16 for a 4-bit one.
std::vector<QRgb> pictureColours(const IconSource &source, const Picture &picture);

// The picture in true colour, transparent where its mask is set.
QImage renderPicture(const IconSource &source, const Picture &picture);

} // namespace korvane::ui
