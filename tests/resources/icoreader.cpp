#include "icoreader.h"

#include <QtEndian>

using namespace Qt::Literals::StringLiterals;

namespace korvane::test {

namespace {

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_bytes(bytes) {}

    bool has(qsizetype offset, qsizetype size) const
    {
        return offset >= 0 && size >= 0 && offset + size <= m_bytes.size();
    }
    quint8 u8(qsizetype at) const { return quint8(m_bytes[at]); }
    quint16 u16(qsizetype at) const { return qFromLittleEndian<quint16>(m_bytes.constData() + at); }
    quint32 u32(qsizetype at) const { return qFromLittleEndian<quint32>(m_bytes.constData() + at); }

private:
    const QByteArray &m_bytes;
};

int bitsAt(const Reader &r, qsizetype rowStart, int x, int bits)
{
    const int perByte = 8 / bits;
    const quint8 byte = r.u8(rowStart + x / perByte);
    const int shift = 8 - bits * (x % perByte + 1);
    return (byte >> shift) & ((1 << bits) - 1);
}

} // namespace

std::optional<IcoFile> readIco(const QByteArray &bytes, QString *error)
{
    auto fail = [error](const QString &why) -> std::optional<IcoFile> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const Reader r(bytes);
    if (!r.has(0, 6))
        return fail(u"shorter than an icon directory"_s);

    IcoFile file;
    file.reserved = r.u16(0);
    file.type = r.u16(2);
    const int count = r.u16(4);
    if (!r.has(6, 16 * count))
        return fail(u"directory entries run past the end"_s);

    for (int i = 0; i < count; ++i) {
        const qsizetype e = 6 + 16 * i;
        IcoImage img;
        img.width = r.u8(e);
        img.height = r.u8(e + 1);
        img.colourCount = r.u8(e + 2);
        img.reserved = r.u8(e + 3);
        img.planes = r.u16(e + 4);
        img.bitCount = r.u16(e + 6);
        img.bytesInRes = r.u32(e + 8);
        img.offset = r.u32(e + 12);
        if (!r.has(img.offset, img.bytesInRes) || !r.has(img.offset, 40))
            return fail(u"image %1 lies outside the file"_s.arg(i));

        const qsizetype h = img.offset;
        img.headerSize = r.u32(h);
        img.bitmapWidth = qint32(r.u32(h + 4));
        img.bitmapHeight = qint32(r.u32(h + 8));
        img.bitmapPlanes = r.u16(h + 12);
        img.bitmapBitCount = r.u16(h + 14);
        img.compression = r.u32(h + 16);
        img.coloursUsed = r.u32(h + 32);

        const int bpp = img.bitmapBitCount;
        if (bpp != 1 && bpp != 4 && bpp != 8)
            return fail(u"image %1 has %2 bits per pixel, not a palette bitmap"_s.arg(i).arg(bpp));
        if (img.compression != 0)
            return fail(u"image %1 is compressed"_s.arg(i));
        const int w = img.bitmapWidth;
        const int ht = img.bitmapHeight / 2;
        if (w <= 0 || ht <= 0 || w > 256 || ht > 256)
            return fail(u"image %1 has an impossible size"_s.arg(i));

        const qsizetype paletteSize = img.coloursUsed ? img.coloursUsed : (1u << bpp);
        const qsizetype paletteAt = h + img.headerSize;
        const qsizetype xorRow = (qsizetype(w) * bpp + 31) / 32 * 4;
        const qsizetype andRow = (qsizetype(w) + 31) / 32 * 4;
        const qsizetype xorAt = paletteAt + 4 * paletteSize;
        const qsizetype andAt = xorAt + xorRow * ht;
        const qsizetype end = andAt + andRow * ht;
        if (!r.has(paletteAt, end - paletteAt) || end > qsizetype(img.offset + img.bytesInRes))
            return fail(u"image %1 runs past its directory size"_s.arg(i));

        for (qsizetype c = 0; c < paletteSize; ++c) {
            const qsizetype q = paletteAt + 4 * c; // RGBQUAD: blue, green, red, reserved
            img.palette.push_back(qRgb(r.u8(q + 2), r.u8(q + 1), r.u8(q)));
        }
        // Rows are stored bottom-up.
        img.indices.resize(std::size_t(w * ht));
        img.maskSet.resize(std::size_t(w * ht));
        for (int y = 0; y < ht; ++y) {
            const qsizetype stored = ht - 1 - y;
            for (int x = 0; x < w; ++x) {
                img.indices[std::size_t(y * w + x)] = bitsAt(r, xorAt + stored * xorRow, x, bpp);
                img.maskSet[std::size_t(y * w + x)] = bitsAt(r, andAt + stored * andRow, x, 1);
            }
        }
        file.images.push_back(std::move(img));
    }
    return file;
}

} // namespace korvane::test
