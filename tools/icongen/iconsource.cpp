#include "iconsource.h"

#include <QColor>
#include <QHash>
#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

namespace korvane::icongen {

namespace {

constexpr QRgb black = 0xff000000;
constexpr QRgb white = 0xffffffff;
constexpr std::size_t maxPaletteSize = 16;

bool isComment(QStringView line)
{
    return line.startsWith(u'#');
}

// A palette key is one visible character that cannot be confused with the
// transparent key or a comment.
bool isValidKey(QChar c)
{
    return c.unicode() > 0x20 && c.unicode() < 0x7f && c != transparentKey && c != u'#';
}

} // namespace

std::optional<IconSource> parseIconSource(QStringView text, ParseError *error)
{
    auto fail = [error](int line, QString message) -> std::optional<IconSource> {
        if (error)
            *error = {line, std::move(message)};
        return std::nullopt;
    };

    static const QRegularExpression pictureHeader(u"^picture (\\d+)x(\\d+) ([14])bpp$"_s);
    static const QRegularExpression paletteEntry(u"^(\\S) +#([0-9a-fA-F]{6})(?: .*)?$"_s);

    IconSource source;
    QHash<QChar, int> keyIndex;
    bool paletteSeen = false;
    bool inPalette = false;
    int rowsLeft = 0;

    const QList<QStringView> lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i) + 1;
        QStringView line = lines[i];
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);

        if (rowsLeft > 0) {
            Picture &picture = source.pictures.back();
            if (line.size() != picture.width)
                return fail(lineNumber,
                            u"row has %1 pixels, the picture is %2 wide"_s.arg(line.size())
                                .arg(picture.width));
            for (QChar key : line) {
                int index = transparentPixel;
                if (key != transparentKey) {
                    const auto found = keyIndex.constFind(key);
                    if (found == keyIndex.cend())
                        return fail(lineNumber, u"'%1' is not in the palette"_s.arg(key));
                    index = *found;
                    if (picture.bitsPerPixel == 1) {
                        const QRgb colour = source.palette[std::size_t(index)] | 0xff000000;
                        if (colour != black && colour != white)
                            return fail(lineNumber,
                                        u"'%1' is neither black nor white, as a 1-bit picture "
                                        u"needs"_s.arg(key));
                        index = colour == white ? 1 : 0;
                    }
                }
                picture.pixels.push_back(index);
            }
            --rowsLeft;
            continue;
        }

        if (line.isEmpty() || isComment(line))
            continue;

        if (line == u"palette") {
            if (paletteSeen)
                return fail(lineNumber, u"a second palette"_s);
            paletteSeen = inPalette = true;
            continue;
        }

        if (const auto match = pictureHeader.match(line); match.hasMatch()) {
            if (!paletteSeen)
                return fail(lineNumber, u"a picture before the palette"_s);
            inPalette = false;
            Picture picture;
            picture.width = match.captured(1).toInt();
            picture.height = match.captured(2).toInt();
            picture.bitsPerPixel = match.captured(3).toInt();
            // An icon directory holds sizes of 1 to 256 pixels.
            if (picture.width < 1 || picture.width > 256 || picture.height < 1 ||
                picture.height > 256)
                return fail(lineNumber, u"a picture must be 1 to 256 pixels on each side"_s);
            rowsLeft = picture.height;
            source.pictures.push_back(std::move(picture));
            continue;
        }

        if (inPalette) {
            const auto match = paletteEntry.match(line);
            if (!match.hasMatch())
                return fail(lineNumber, u"a palette entry is a key and a colour #rrggbb"_s);
            const QChar key = match.capturedView(1).front();
            if (!isValidKey(key))
                return fail(lineNumber, u"'%1' cannot be a palette key"_s.arg(key));
            if (keyIndex.contains(key))
                return fail(lineNumber, u"'%1' is in the palette twice"_s.arg(key));
            if (source.palette.size() == maxPaletteSize)
                return fail(lineNumber, u"more than 16 colours"_s);
            keyIndex.insert(key, int(source.palette.size()));
            source.palette.push_back(0xff000000 | match.capturedView(2).toUInt(nullptr, 16));
            continue;
        }

        return fail(lineNumber, u"expected 'palette' or 'picture WxH Nbpp'"_s);
    }

    if (rowsLeft > 0) {
        const Picture &picture = source.pictures.back();
        return fail(int(lines.size()),
                    u"the last picture has %1 of its %2 rows"_s.arg(picture.height - rowsLeft)
                        .arg(picture.height));
    }
    if (source.pictures.empty())
        return fail(0, u"no picture"_s);
    return source;
}

std::vector<QRgb> pictureColours(const IconSource &source, const Picture &picture)
{
    if (picture.bitsPerPixel == 1)
        return {black, white};
    std::vector<QRgb> colours = source.palette;
    colours.resize(maxPaletteSize, black);
    return colours;
}

} // namespace korvane::icongen
