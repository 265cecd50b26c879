// The application icon as Windows reads it from korvane.ico: three palette
// images, each with its AND mask.
#include "icoreader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using korvane::test::IcoFile;
using korvane::test::IcoImage;

namespace {

struct Expected
{
    int size;
    int colours;
    int bitsPerPixel;
};

// The three images the executable's icon must hold, in this order.
constexpr Expected expectedImages[] = {{32, 2, 1}, {32, 16, 4}, {16, 16, 4}};

int paddedRow(int width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

} // namespace

class TestIconFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void directory();
    void images_data();
    void images();
    void imagesFollowOneAnother();
    void monochromePaletteIsBlackAndWhite();
    void masks_data();
    void masks();
    void monochromeKeepsTheColourOutline();
    void qtDecodesTheSamePixels_data();
    void qtDecodesTheSamePixels();

private:
    void addImageRows();

    QByteArray m_bytes;
    IcoFile m_ico;
};

void TestIconFile::initTestCase()
{
    QFile file(QStringLiteral(KORVANE_SOURCE_DIR "/resources/icon/korvane.ico"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    m_bytes = file.readAll();
    QString error;
    const auto ico = korvane::test::readIco(m_bytes, &error);
    QVERIFY2(ico, qPrintable(error));
    m_ico = *ico;
}

void TestIconFile::directory()
{
    QCOMPARE(m_ico.reserved, 0);
    QCOMPARE(m_ico.type, 1); // 1: icon, 2: cursor
    QCOMPARE(m_ico.images.size(), std::size(expectedImages));
}

void TestIconFile::addImageRows()
{
    QTest::addColumn<int>("image");
    for (int i = 0; i < int(std::size(expectedImages)); ++i) {
        const Expected &e = expectedImages[i];
        QTest::addRow("%dx%d, %d colours", e.size, e.size, e.colours) << i;
    }
}

void TestIconFile::images_data()
{
    addImageRows();
}

void TestIconFile::images()
{
    QFETCH(int, image);
    QVERIFY(std::size_t(image) < m_ico.images.size());
    const Expected &e = expectedImages[image];
    const IcoImage &img = m_ico.images[std::size_t(image)];

    // The directory entry.
    QCOMPARE(img.width, e.size);
    QCOMPARE(img.height, e.size);
    QCOMPARE(img.colourCount, e.colours);
    QCOMPARE(img.reserved, 0);
    QCOMPARE(img.planes, 1);
    QCOMPARE(img.bitCount, e.bitsPerPixel);

    // The bitmap header agrees with it; the height counts the mask too.
    QCOMPARE(img.headerSize, 40u);
    QCOMPARE(img.bitmapWidth, e.size);
    QCOMPARE(img.bitmapHeight, 2 * e.size);
    QCOMPARE(img.bitmapPlanes, 1);
    QCOMPARE(img.bitmapBitCount, e.bitsPerPixel);
    QCOMPARE(img.compression, 0u);
    QCOMPARE(int(img.palette.size()), e.colours);

    // Header, palette, colour bitmap and a 1-bit mask of the same size fill
    // the image exactly.
    const int expectedBytes = 40 + 4 * e.colours + paddedRow(e.size, e.bitsPerPixel) * e.size +
                              paddedRow(e.size, 1) * e.size;
    QCOMPARE(img.bytesInRes, quint32(expectedBytes));
}

void TestIconFile::imagesFollowOneAnother()
{
    quint32 next = 6 + 16 * quint32(m_ico.images.size());
    for (const IcoImage &img : m_ico.images) {
        QCOMPARE(img.offset, next);
        next += img.bytesInRes;
    }
    QCOMPARE(qsizetype(next), m_bytes.size());
}

void TestIconFile::monochromePaletteIsBlackAndWhite()
{
    QVERIFY(!m_ico.images.empty());
    const IcoImage &mono = m_ico.images.front();
    QCOMPARE(mono.palette.size(), 2u);
    QCOMPARE(mono.palette[0], qRgb(0, 0, 0));
    QCOMPARE(mono.palette[1], qRgb(255, 255, 255));
}

void TestIconFile::masks_data()
{
    addImageRows();
}

void TestIconFile::masks()
{
    QFETCH(int, image);
    QVERIFY(std::size_t(image) < m_ico.images.size());
    const IcoImage &img = m_ico.images[std::size_t(image)];
    const int size = img.bitmapWidth;

    // The picture is no rectangle: the corners show the desktop.
    for (auto [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}})
        QVERIFY2(img.transparent(x, y), qPrintable(u"corner %1,%2"_s.arg(x).arg(y)));

    int opaque = 0;
    QSet<int> coloursUsed;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (img.transparent(x, y)) {
                // Windows draws screen AND mask XOR colour: only black leaves
                // the screen as it was.
                QVERIFY2(img.palette[std::size_t(img.index(x, y))] == qRgb(0, 0, 0),
                         qPrintable(u"pixel %1,%2 would tint the background"_s.arg(x).arg(y)));
            } else {
                ++opaque;
                coloursUsed.insert(img.index(x, y));
            }
        }
    }
    // A drawing, not a blot: a good part of the square is covered, in both
    // colours of the 1-bit image and in several of the 16.
    QVERIFY2(opaque > size * size / 3, qPrintable(QString::number(opaque)));
    QVERIFY(coloursUsed.size() >= std::min<qsizetype>(qsizetype(img.palette.size()), 6));
}

void TestIconFile::monochromeKeepsTheColourOutline()
{
    // The two 32 x 32 images are the same drawing: Windows may pick either.
    QVERIFY(m_ico.images.size() >= 2);
    const IcoImage &mono = m_ico.images[0];
    const IcoImage &colour = m_ico.images[1];
    QCOMPARE(mono.maskSet, colour.maskSet);
}

void TestIconFile::qtDecodesTheSamePixels_data()
{
    addImageRows();
}

void TestIconFile::qtDecodesTheSamePixels()
{
    // A second, unrelated decoder must see exactly what the format says.
    QFETCH(int, image);
    QBuffer buffer(&m_bytes);
    QImageReader reader(&buffer, "ico");
    QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
    QCOMPARE(reader.imageCount(), int(m_ico.images.size()));
    QVERIFY(reader.jumpToImage(image));
    const QImage decoded = reader.read().convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!decoded.isNull(), qPrintable(reader.errorString()));

    const IcoImage &img = m_ico.images[std::size_t(image)];
    QCOMPARE(decoded.size(), QSize(img.bitmapWidth, img.bitmapHeight / 2));
    for (int y = 0; y < decoded.height(); ++y) {
        for (int x = 0; x < decoded.width(); ++x) {
            const QRgb qt = decoded.pixel(x, y);
            const QString where = u"pixel %1,%2"_s.arg(x).arg(y);
            if (img.transparent(x, y)) {
                QVERIFY2(qAlpha(qt) == 0, qPrintable(where));
            } else {
                QVERIFY2(qAlpha(qt) == 255, qPrintable(where));
                QVERIFY2((qt | 0xff000000) == img.palette[std::size_t(img.index(x, y))],
                         qPrintable(where));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestIconFile)
#include "tst_iconfile.moc"
