// The face that really stands in for "宋体" must have its metrics: every
// full-width character one em, every ASCII character half an em.
#include "fonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QStringDecoder>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace korvane::ui;

class TestFonts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerFontSubstitutes(); }
    void metrics_data();
    void metrics();
    void coversGb2312();
};

void TestFonts::metrics_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("em");
    // The sizes the windows use, and their pixel sizes at 96 dpi.
    QTest::newRow("10.5 pt") << 10.5 << 14;
    QTest::newRow("12 pt") << 12.0 << 16;
    QTest::newRow("14.25 pt") << 14.25 << 19;
    QTest::newRow("15.75 pt") << 15.75 << 21;
}

void TestFonts::metrics()
{
    QFETCH(double, points);
    QFETCH(int, em);

    const QFont font = songFont(points);
    const QFontInfo info(font);
    QCOMPARE(info.pixelSize(), em);
    QVERIFY2(!info.family().contains(u"DejaVu"_s) && !info.family().contains(u"Sans"_s),
             qPrintable(u"a sans face stands in for the Song face: "_s + info.family()));
    QCOMPARE(info.weight(), int(QFont::Normal));
    QVERIFY(!info.italic());

    // Windows' font engine hints advances to whole pixels, so half an em of
    // an odd pixel size rounds one way or the other there.
#ifdef Q_OS_WIN
    constexpr double tolerance = 0.5;
#else
    constexpr double tolerance = 0.0;
#endif
    const QFontMetricsF metrics(font);
    for (char16_t c = 0x20; c < 0x7F; ++c)
        QVERIFY2(qAbs(metrics.horizontalAdvance(QChar(c)) - em / 2.0) <= tolerance,
                 qPrintable(u"ASCII '%1' is not half an em"_s.arg(QChar(c))));
    const QString wide = u"中类容积，：；。（）、Ⅰ Ⅱ Ⅲ·１"_s.remove(u' ');
    for (QChar c : wide) {
        QVERIFY2(metrics.inFontUcs4(c.unicode()), qPrintable(u"'%1' is missing"_s.arg(c)));
        QVERIFY2(metrics.horizontalAdvance(c) == em, qPrintable(u"'%1' is not one em"_s.arg(c)));
    }
}

void TestFonts::coversGb2312()
{
    // GB18030 maps GB2312's bytes as Windows does (A1A4 is U+00B7, the dot
    // of "MPa·L"); ICU's own GB2312 table differs there.
    QStringDecoder gb("GB18030");
    if (!gb.isValid())
        QSKIP("this Qt has no GB18030 decoder to list the character set with");

    const QFontMetricsF metrics(songFont(14.25));
    int checked = 0;
    QString missing;
    // Rows 0xA1–0xA9 are symbols, 0xB0–0xF7 the two levels of hanzi.
    for (int row = 0xA1; row <= 0xF7; ++row) {
        if (row > 0xA9 && row < 0xB0)
            continue;
        for (int cell = 0xA1; cell <= 0xFE; ++cell) {
            const char bytes[2] = {char(row), char(cell)};
            const QString s = gb.decode(QByteArrayView(bytes, 2));
            if (s.size() != 1 || s[0] == QChar::ReplacementCharacter ||
                s[0].category() == QChar::Other_PrivateUse || !s[0].isPrint())
                continue;
            ++checked;
            if (!metrics.inFontUcs4(s[0].unicode()))
                missing += s;
        }
    }
    QVERIFY(checked > 7000);
    QVERIFY2(missing.isEmpty(), qPrintable(u"not in the face: "_s + missing.left(40)));
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
