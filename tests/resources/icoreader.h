// Reads a Windows .ico file independently of the generator's writer, so that
// the tests check the bytes against the format rather than against the code
// that made them.
#pragma once

#include <QByteArray>
#include <QRgb>
#include <QString>

#include <optional>
#include <vector>

namespace korvane::test {

struct IcoImage
{
    // ICONDIRENTRY
    int width = 0; // 0 in the file stands for 256
    int height = 0;
    int colourCount = 0;
    int reserved = 0;
    int planes = 0;
    int bitCount = 0;
    quint32 bytesInRes = 0;
    quint32 offset = 0;

    // BITMAPINFOHEADER
    quint32 headerSize = 0;
    qint32 bitmapWidth = 0;
    qint32 bitmapHeight = 0; // colour bitmap and mask together
    int bitmapPlanes = 0;
    int bitmapBitCount = 0;
    quint32 compression = 0;
    quint32 coloursUsed = 0;

    std::vector<QRgb> palette;
    // Top row first, as the picture is seen.
    std::vector<int> indices;
    std::vector<bool> maskSet; // set: the background shows through

    int index(int x, int y) const { return indices[std::size_t(y * bitmapWidth + x)]; }
    bool transparent(int x, int y) const { return maskSet[std::size_t(y * bitmapWidth + x)]; }
};

struct IcoFile
{
    int reserved = 0;
    int type = 0;
    std::vector<IcoImage> images;
};

// Fails, with a reason, on anything that would make a reader run past the
// data; leaves judging the values to the caller.
std::optional<IcoFile> readIco(const QByteArray &bytes, QString *error);

} // namespace korvane::test
