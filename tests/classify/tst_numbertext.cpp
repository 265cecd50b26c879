// Text-to-number conversion as people type numbers in different locales.
#include "numbertext.h"

#include <QTest>

#include <cfloat>
#include <cmath>

using namespace korvane;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(korvane::NumberStatus)

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void toDouble_data();
    void toDouble();
    void toSingle_data();
    void toSingle();
    void roundingEdge_data();
    void roundingEdge();
};

namespace {
constexpr auto Ok = NumberStatus::Ok;
constexpr auto NaN = NumberStatus::NotANumber;
constexpr auto Over = NumberStatus::Overflow;
} // namespace

void TestNumberText::toDouble_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<NumberStatus>("status");
    QTest::addColumn<double>("value");

    const QString C = u"C"_s, zh = u"zh_CN"_s, de = u"de_DE"_s, fr = u"fr_FR"_s, ar = u"ar_EG"_s;

    QTest::newRow("plain") << C << u"12.5"_s << Ok << 12.5;
    QTest::newRow("blanks around") << C << u"  12.5\t"_s << Ok << 12.5;
    QTest::newRow("ideographic spaces") << zh << u"\u300012.5\u3000"_s << Ok << 12.5;
    QTest::newRow("plus sign") << C << u"+3"_s << Ok << 3.0;
    QTest::newRow("minus sign") << C << u"-3"_s << Ok << -3.0;
    QTest::newRow("exponent") << C << u"1.5e3"_s << Ok << 1500.0;
    QTest::newRow("exponent capital, signed") << zh << u"25E-1"_s << Ok << 2.5;
    QTest::newRow("leading point") << C << u".5"_s << Ok << 0.5;
    QTest::newRow("trailing point") << C << u"5."_s << Ok << 5.0;
    QTest::newRow("grouped") << C << u"1,234,567.5"_s << Ok << 1234567.5;
    QTest::newRow("zh grouped") << zh << u"12,345"_s << Ok << 12345.0;
    QTest::newRow("full-width digits and stop") << zh << u"１２．５"_s << Ok << 12.5;
    QTest::newRow("full-width sign and exponent") << zh << u"－１ｅ３"_s << Ok << -1000.0;
    QTest::newRow("ideographic full stop") << zh << u"12。5"_s << Ok << 12.5;
    QTest::newRow("full-width ideographic stop") << C << u"０。１"_s << Ok << 0.1;
    QTest::newRow("long mantissa")
        << C << (u"0."_s + QString(5000, u'0') + u"1e5001"_s) << Ok << 1.0;
    QTest::newRow("tiny is zero") << C << u"1e-400"_s << Ok << 0.0;
    QTest::newRow("zero with a huge exponent") << C << u"0e999999999999"_s << Ok << 0.0;

    QTest::newRow("de decimal comma") << de << u"12,5"_s << Ok << 12.5;
    QTest::newRow("de grouped") << de << u"1.234,5"_s << Ok << 1234.5;
    QTest::newRow("de full-width comma") << de << u"１２，５"_s << Ok << 12.5;
    QTest::newRow("fr typed space groups") << fr << u"1 234,5"_s << Ok << 1234.5;
    QTest::newRow("ar native digits") << ar << u"١٢٣"_s << Ok << 123.0;

    QTest::newRow("empty") << C << QString() << NaN << 0.0;
    QTest::newRow("one space") << C << u" "_s << NaN << 0.0;
    QTest::newRow("ideographic space only") << zh << u"\u3000"_s << NaN << 0.0;
    QTest::newRow("letters") << C << u"abc"_s << NaN << 0.0;
    QTest::newRow("trailing letter") << C << u"12a"_s << NaN << 0.0;
    QTest::newRow("inf") << C << u"inf"_s << NaN << 0.0;
    QTest::newRow("-INF") << C << u"-INF"_s << NaN << 0.0;
    QTest::newRow("nan") << C << u"nan"_s << NaN << 0.0;
    QTest::newRow("NaN") << zh << u"NaN"_s << NaN << 0.0;
    QTest::newRow("Infinity") << C << u"Infinity"_s << NaN << 0.0;
    QTest::newRow("full-width inf") << zh << u"ｉｎｆ"_s << NaN << 0.0;
    QTest::newRow("hexadecimal") << C << u"0x10"_s << NaN << 0.0;
    QTest::newRow("lone sign") << C << u"-"_s << NaN << 0.0;
    QTest::newRow("lone point") << C << u"."_s << NaN << 0.0;
    QTest::newRow("two signs") << C << u"--1"_s << NaN << 0.0;
    QTest::newRow("exponent without digits") << C << u"1e"_s << NaN << 0.0;
    QTest::newRow("exponent alone") << C << u"e5"_s << NaN << 0.0;
    QTest::newRow("inner blank") << C << u"1 2"_s << NaN << 0.0;
    QTest::newRow("misgrouped") << C << u"1,2,3"_s << NaN << 0.0;
    QTest::newRow("short group") << C << u"12,34"_s << NaN << 0.0;
    QTest::newRow("long lead group") << C << u"1234,567"_s << NaN << 0.0;
    QTest::newRow("group after point") << C << u"1.234,567"_s << NaN << 0.0;
    QTest::newRow("de point is a group mark") << de << u"12.5"_s << NaN << 0.0;
    QTest::newRow("de takes no ideographic stop") << de << u"12。5"_s << NaN << 0.0;
    QTest::newRow("foreign digits in C") << C << u"١٢٣"_s << NaN << 0.0;
    QTest::newRow("control character") << C << u"1\u00012"_s << NaN << 0.0;
    QTest::newRow("bidi mark inside") << C << u"1\u200F2"_s << NaN << 0.0;

    QTest::newRow("beyond double") << C << u"1e309"_s << Over << 0.0;
    QTest::newRow("far beyond double") << C << u"-1e999999"_s << Over << 0.0;
    QTest::newRow("huge exponent") << C << u"1e99999999999999999999"_s << Over << 0.0;
    QTest::newRow("long integer") << C << QString(400, u'9') << Over << 0.0;
}

void TestNumberText::toDouble()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(NumberStatus, status);
    QFETCH(double, value);

    const Parsed<double> parsed = parseDouble(text, QLocale(locale));
    QCOMPARE(parsed.status, status);
    if (status == Ok)
        QCOMPARE(parsed.value, value);
}

void TestNumberText::toSingle_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<NumberStatus>("status");
    QTest::addColumn<float>("value");

    QTest::newRow("largest float") << u"3.4028235e38"_s << Ok << FLT_MAX;
    QTest::newRow("largest float, negative") << u"-3.4028235e38"_s << Ok << -FLT_MAX;
    QTest::newRow("past the largest float") << u"3.4028236e38"_s << Over << 0.0f;
    QTest::newRow("1e39") << u"1e39"_s << Over << 0.0f;
    QTest::newRow("within double, beyond float") << u"1e300"_s << Over << 0.0f;
    QTest::newRow("tiny is zero") << u"1e-50"_s << Ok << 0.0f;
    QTest::newRow("0.1 rounds up") << u"0.1"_s << Ok << 0.1f;
    QTest::newRow("0.099999999 becomes 0.1") << u"0.099999999"_s << Ok << 0.1f;
    QTest::newRow("not a number stays so") << u"abc"_s << NaN << 0.0f;
}

void TestNumberText::toSingle()
{
    QFETCH(QString, text);
    QFETCH(NumberStatus, status);
    QFETCH(float, value);

    const Parsed<float> parsed = parseSingle(text, QLocale::c());
    QCOMPARE(parsed.status, status);
    if (status == Ok)
        QCOMPARE(parsed.value, value);
}

void TestNumberText::roundingEdge_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("finite");

    // 2^128 − 2^103 lies halfway between the largest float and 2^128.
    const double halfway = 0x1.ffffffp127;
    QTest::newRow("largest float") << double(FLT_MAX) << true;
    QTest::newRow("just below halfway") << std::nextafter(halfway, 0.0) << true;
    QTest::newRow("halfway rounds to infinity") << halfway << false;
    QTest::newRow("negative halfway") << -halfway << false;
    QTest::newRow("largest double") << DBL_MAX << false;
    QTest::newRow("smallest double") << 4.9e-324 << true;
}

void TestNumberText::roundingEdge()
{
    QFETCH(double, value);
    QFETCH(bool, finite);

    const std::optional<float> rounded = roundToSingle(value);
    QCOMPARE(rounded.has_value(), finite);
    if (finite)
        QCOMPARE(*rounded, static_cast<float>(value));
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
