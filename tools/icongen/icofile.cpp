#include "icofile.h"

namespace korvane::icongen {

using namespace korvane::ui;

namespace {

constexpr int iconDirSize = 6;
constexpr int iconDirEntrySize = 16;
constexpr int bitmapInfoHeaderSize = 40;

class LittleEndianWriter
{
public:
    explicit LittleEndianWriter(QByteArray &out) : m_out(out) {}

    void u8(unsigned value) { m_out.append(char(value & 0xff)); }
    void u16(unsigned value)
    {
        u8(value);
        u8(value >> 8);
    }
    void u32(quint32 value)
    {
        u16(value & 0xffff);
        u16(value >> 16);
    }

private:
    QByteArray &m_out;
};

// Bitmap rows are padded to whole 32-bit words.
int rowBytes(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

int imageSize(const Picture &picture)
{
    const int colours = 1 << picture.bitsPerPixel;
    return bitmapInfoHeaderSize + colours * 4 +
           rowBytes(picture.width, picture.bitsPerPixel) * picture.height +
           rowBytes(picture.width, 1) * picture.height;
}

// Packs one row of values, most significant bits first, as bitmaps store them.
QByteArray packRow(const Picture &picture, int y, int bitsPerPixel, auto valueOf)
{
    QByteArray row(rowBytes(picture.width, bitsPerPixel), '\0');
    const int perByte = 8 / bitsPerPixel;
    for (int x = 0; x < picture.width; ++x) {
        const int shift = 8 - bitsPerPixel * (x % perByte + 1);
        row[x / perByte] = char(row[x / perByte] | (valueOf(picture.pixel(x, y)) << shift));
    }
    return row;
}

void writeImage(QByteArray &out, const IconSource &source, const Picture &picture)
{
    LittleEndianWriter w(out);
    const int bpp = picture.bitsPerPixel;
    const int xorBytes = rowBytes(picture.width, bpp) * picture.height;
    const int andBytes = rowBytes(picture.width, 1) * picture.height;

    // BITMAPINFOHEADER; the height counts the colour bitmap and the mask.
    w.u32(bitmapInfoHeaderSize);
    w.u32(quint32(picture.width));
    w.u32(quint32(picture.height * 2));
    w.u16(1);                            // planes
    w.u16(unsigned(bpp));                // bits per pixel
    w.u32(0);                            // BI_RGB, uncompressed
    w.u32(quint32(xorBytes + andBytes)); // image size
    w.u32(0);                            // pixels per metre, x
    w.u32(0);                            // and y
    w.u32(0);                            // colours used: all 2^bpp
    w.u32(0);                            // important colours: all

    for (QRgb colour : pictureColours(source, picture)) {
        w.u8(unsigned(qBlue(colour)));
        w.u8(unsigned(qGreen(colour)));
        w.u8(unsigned(qRed(colour)));
        w.u8(0);
    }

    // Colour bitmap, bottom row first. A transparent pixel is colour 0 with
    // its mask bit set, so that screen AND mask XOR colour leaves the screen.
    for (int y = picture.height - 1; y >= 0; --y)
        out.append(packRow(picture, y, bpp,
                           [](int index) { return index == transparentPixel ? 0 : index; }));
    for (int y = picture.height - 1; y >= 0; --y)
        out.append(
            packRow(picture, y, 1, [](int index) { return index == transparentPixel ? 1 : 0; }));
}

} // namespace

QByteArray encodeIco(const IconSource &source)
{
    QByteArray out;
    LittleEndianWriter w(out);
    const auto count = unsigned(source.pictures.size());

    w.u16(0); // reserved
    w.u16(1); // resource type: icon
    w.u16(count);

    auto offset = quint32(iconDirSize + iconDirEntrySize * int(count));
    for (const Picture &picture : source.pictures) {
        const int size = imageSize(picture);
        w.u8(unsigned(picture.width) & 0xff); // 256 is written as 0
        w.u8(unsigned(picture.height) & 0xff);
        w.u8(1u << picture.bitsPerPixel); // colours in the palette
        w.u8(0);                          // reserved
        w.u16(1);                         // planes
        w.u16(unsigned(picture.bitsPerPixel));
        w.u32(quint32(size));
        w.u32(offset);
        offset += quint32(size);
    }
    for (const Picture &picture : source.pictures)
        writeImage(out, source, picture);
    return out;
}

} // namespace korvane::icongen
