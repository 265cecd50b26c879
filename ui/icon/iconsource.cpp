#include "iconsource.h"

#include <QColor>
#include <QHash>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace korvane::ui {

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

// The lines are read by hand: the program draws its window icon from this
// source at start-up, where a regular expression engine would cost more than
// the icon itself.
bool isDigits(QStringView text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// "picture WxH Nbpp", N being 1 or 4: a picture with no pixels yet.
std::optional<Picture> pictureHeader(QStringView line)
{
    const QList<QStringView> words = line.split(u' ');
    if (words.size() != 3 || words[0] != u"picture" || !words[2].endsWith(u"bpp"))
        return std::nullopt;
    const QList<QStringView> size = words[1].split(u'x');
    const QStringView bits = words[2].chopped(3);
    if (size.size() != 2 || !isDigits(size[0]) || !isDigits(size[1]) ||
        (bits != u"1" && bits != u"4"))
        return std::nullopt;
    Picture picture;
    picture.width = size[0].toInt(); // 0 when too long, refused with the other sizes
    picture.height = size[1].toInt();
    picture.bitsPerPixel = bits.toInt();
    return picture;
}

struct PaletteEntry
{
    QChar key;
    QRgb colour;
};

// "K #rrggbb", then optionally a space and a comment.
std::optional<PaletteEntry> paletteEntry(QStringView line)
{
    if (line.size() < 2 || line[0].isSpace() || line[1] != u' ')
        return std::nullopt;
    QStringView colour = line.sliced(1);
    while (colour.startsWith(u' '))
        colour = colour.sliced(1);
    if (colour.size() < 7 || colour[0] != u'#' || (colour.size() > 7 && colour[7] != u' '))
        return std::nullopt;
    const QStringView hex = colour.sliced(1, 6);
    if (!std::all_of(hex.begin(), hex.end(), [](QChar c) {
            return (c >= u'0' && c <= u'9') || (c.toLower() >= u'a' && c.toLower() <= u'f');
        }))
        return std::nullopt;
    return PaletteEntry{line[0], 0xff000000 | hex.toUInt(nullptr, 16)};
}

} // namespace

std::optional<IconSource> parseIconSource(QStringView text, ParseError *error)
{
    auto fail = [error](int line, QString message) -> std::optional<IconSource> {
        if (error)
            *error = {line, std::move(message)};
        return std::nullopt;
    };

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

        if (auto header = pictureHeader(line)) {
            if (!paletteSeen)
                return fail(lineNumber, u"a picture before the palette"_s);
            inPalette = false;
            Picture &picture = *header;
            // An icon directory holds sizes of 1 to 256 pixels.
            if (picture.width < 1 || picture.width > 256 || picture.height < 1 ||
                picture.height > 256)
                return fail(lineNumber, u"a picture must be 1 to 256 pixels on each side"_s);
            rowsLeft = picture.height;
            source.pictures.push_back(std::move(picture));
            continue;
        }

        if (inPalette) {
            const std::optional<PaletteEntry> entry = paletteEntry(line);
            if (!entry)
                return fail(lineNumber, u"a palette entry is a key and a colour #rrggbb"_s);
            const QChar key = entry->key;
            if (!isValidKey(key))
                return fail(lineNumber, u"'%1' cannot be a palette key"_s.arg(key));
            if (keyIndex.contains(key))
                return fail(lineNumber, u"'%1' is in the palette twice"_s.arg(key));
            if (source.palette.size() == maxPaletteSize)
                return fail(lineNumber, u"more than 16 colours"_s);
            keyIndex.insert(key, int(source.palette.size()));
            source.palette.push_back(entry->colour);
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

QImage renderPicture(const IconSource &source, const Picture &picture)
{
    const std::vector<QRgb> colours = pictureColours(source, picture);
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int index = picture.pixel(x, y);
            image.setPixel(
                x, y, index == transparentPixel ? qRgba(0, 0, 0, 0) : colours[std::size_t(index)]);
        }
    }
    return image;
}

} // namespace korvane::ui
