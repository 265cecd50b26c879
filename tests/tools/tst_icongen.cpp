#include "icofile.h"
#include "iconsource.h"
#include "icoreader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace korvane::icongen;
using namespace korvane::ui;

namespace {

const QString sourceDir = QStringLiteral(KORVANE_SOURCE_DIR);

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A small valid source; the error cases below break one thing in it.
const QString validSource = uR"(# comment
palette
K #000000 black
W #ffffff
r #ff0000 red

picture 3x2 4bpp
Kr.
.WK

picture 3x2 1bpp
KW.
.WK
)"_s;

// A picture whose pixels run through every index and transparency, in a
// pattern that differs between neighbouring rows and columns.
IconSource patternSource(int width, int height, int bitsPerPixel)
{
    IconSource source;
    for (int i = 0; i < 16; ++i)
        source.palette.push_back(qRgb(i * 16, 255 - i * 8, (i * 37) % 256));
    Picture picture{width, height, bitsPerPixel, {}};
    const int values = (1 << bitsPerPixel) + 1; // the indices and transparent
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.pixels.push_back((x * 7 + y * 5) % values - 1);
    }
    source.pictures.push_back(picture);
    return source;
}

} // namespace

class TestIconGen : public QObject
{
    Q_OBJECT

private slots:
    void parsesPixels();
    void parseErrors_data();
    void parseErrors();
    void encodesAnySize_data();
    void encodesAnySize();
    void committedIcoIsUpToDate();
    void committedPngsAreUpToDate_data();
    void committedPngsAreUpToDate();
};

void TestIconGen::parsesPixels()
{
    ParseError error;
    const auto source = parseIconSource(validSource, &error);
    QVERIFY2(source, qPrintable(error.message));
    QCOMPARE(source->palette,
             (std::vector<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 0)}));
    QCOMPARE(source->pictures.size(), 2u);

    const Picture &colour = source->pictures[0];
    QCOMPARE(colour.bitsPerPixel, 4);
    QCOMPARE(colour.pixels, (std::vector<int>{0, 2, transparentPixel, transparentPixel, 1, 0}));

    // In a 1-bit picture the keys stand for black (0) and white (1).
    const Picture &mono = source->pictures[1];
    QCOMPARE(mono.bitsPerPixel, 1);
    QCOMPARE(mono.pixels, (std::vector<int>{0, 1, transparentPixel, transparentPixel, 1, 0}));
    QCOMPARE(pictureColours(*source, mono),
             (std::vector<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
    QCOMPARE(pictureColours(*source, colour).size(), 16u);
}

void TestIconGen::parseErrors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");

    auto replaced = [](QString from, QString to) {
        QString text = validSource;
        Q_ASSERT(text.contains(from));
        return text.replace(from, to);
    };
    QString seventeen = u"palette\n"_s;
    for (char key = 'a'; key < 'a' + 17; ++key)
        seventeen += u"%1 #102030\n"_s.arg(QChar::fromLatin1(key));

    QTest::newRow("row too short") << replaced(u"Kr.\n"_s, u"Kr\n"_s) << 8;
    QTest::newRow("row too long") << replaced(u"Kr.\n.WK\n"_s, u"Kr.\n.WKK\n"_s) << 9;
    QTest::newRow("key not in the palette") << replaced(u"Kr."_s, u"Kx."_s) << 8;
    QTest::newRow("colour in a 1-bit picture") << replaced(u"KW.\n"_s, u"Kr.\n"_s) << 12;
    QTest::newRow("blank line inside a picture") << replaced(u"KW.\n"_s, u"\n"_s) << 12;
    QTest::newRow("picture cut short")
        << validSource.left(validSource.lastIndexOf(u"\n.WK"_s)) << 12;
    QTest::newRow("picture cut short, newline at the end")
        << validSource.left(validSource.lastIndexOf(u".WK"_s)) << 13;
    QTest::newRow("key twice") << replaced(u"r #ff0000"_s, u"K #ff0000"_s) << 5;
    QTest::newRow("transparent key in the palette")
        << replaced(u"r #ff0000"_s, u". #ff0000"_s) << 5;
    QTest::newRow("colour not #rrggbb") << replaced(u"#ff0000"_s, u"#ff00"_s) << 5;
    QTest::newRow("seventeen colours") << seventeen << 18;
    QTest::newRow("second palette")
        << replaced(u"\npicture 3x2 1bpp"_s, u"\npalette\npicture 3x2 1bpp"_s) << 11;
    QTest::newRow("picture before the palette") << u"picture 1x1 4bpp\n.\n"_s << 1;
    QTest::newRow("8 bits per pixel") << replaced(u"3x2 4bpp"_s, u"3x2 8bpp"_s) << 7;
    QTest::newRow("zero width") << replaced(u"3x2 4bpp"_s, u"0x2 4bpp"_s) << 7;
    QTest::newRow("wider than an icon can be") << replaced(u"3x2 4bpp"_s, u"257x2 4bpp"_s) << 7;
    QTest::newRow("no picture") << u"palette\nK #000000\n"_s << 0;
}

void TestIconGen::parseErrors()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    ParseError error;
    QVERIFY(!parseIconSource(text, &error));
    QVERIFY(!error.message.isEmpty());
    QCOMPARE(error.line, line);
}

void TestIconGen::encodesAnySize_data()
{
    // Widths that do and do not fill whole bytes and whole 32-bit words, so
    // that every kind of row padding is written.
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bitsPerPixel");
    for (int bpp : {1, 4}) {
        for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {8, 5}, {9, 3}, {31, 4}, {33, 7}, {48, 48}})
            QTest::addRow("%dx%d, %d bit", w, h, bpp) << w << h << bpp;
    }
}

void TestIconGen::encodesAnySize()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bitsPerPixel);
    const IconSource source = patternSource(width, height, bitsPerPixel);
    const Picture &picture = source.pictures.front();
    QByteArray bytes = encodeIco(source);

    // Read back with the tests' own reader: every pixel's index and mask bit.
    QString error;
    const auto ico = korvane::test::readIco(bytes, &error);
    QVERIFY2(ico, qPrintable(error));
    QCOMPARE(ico->images.size(), 1u);
    const auto &img = ico->images.front();
    QCOMPARE(img.bitmapWidth, width);
    QCOMPARE(img.bitmapHeight, 2 * height);
    QCOMPARE(img.palette, pictureColours(source, picture));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int expected = picture.pixel(x, y);
            const bool transparent = expected == transparentPixel;
            QCOMPARE(img.transparent(x, y), transparent);
            QCOMPARE(img.index(x, y), transparent ? 0 : expected);
        }
    }

    // And with Qt's decoder, against the true-colour rendering.
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ico");
    const QImage decoded = reader.read().convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!decoded.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(decoded, renderPicture(source, picture));
}

void TestIconGen::committedIcoIsUpToDate()
{
    ParseError error;
    const auto source = parseIconSource(
        QString::fromUtf8(readFile(sourceDir + u"/resources/icon/korvane-icon.txt"_s)), &error);
    QVERIFY2(source, qPrintable(u"line %1: %2"_s.arg(error.line).arg(error.message)));
    QVERIFY2(encodeIco(*source) == readFile(sourceDir + u"/resources/icon/korvane.ico"_s),
             "resources/icon/korvane.ico is out of date: run `make icon`");
}

void TestIconGen::committedPngsAreUpToDate_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("scale");
    QTest::newRow("16") << u"resources/icon/korvane-16.png"_s << 16 << 1;
    QTest::newRow("32") << u"resources/icon/korvane-32.png"_s << 32 << 1;
    QTest::newRow("README picture") << u"docs/icon.png"_s << 32 << 4;
}

void TestIconGen::committedPngsAreUpToDate()
{
    QFETCH(QString, file);
    QFETCH(int, size);
    QFETCH(int, scale);
    ParseError error;
    const auto source = parseIconSource(
        QString::fromUtf8(readFile(sourceDir + u"/resources/icon/korvane-icon.txt"_s)), &error);
    QVERIFY(source);
    const auto picture =
        std::find_if(source->pictures.cbegin(), source->pictures.cend(),
                     [size](auto &p) { return p.width == size && p.bitsPerPixel == 4; });
    QVERIFY(picture != source->pictures.cend());

    const QImage expected =
        renderPicture(*source, *picture)
            .scaled(size * scale, size * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage committed = QImage(sourceDir + u'/' + file).convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(committed == expected, qPrintable(file + u" is out of date: run `make icon`"_s));
}

QTEST_GUILESS_MAIN(TestIconGen)
#include "tst_icongen.moc"
