// Where the class changes: for vessels on each kind of limit and one
// single-precision step beside it, in both groups, the nearest changes along
// V and p as the reason states them, each borne out by typing the values on
// either side of it (the fuzzer's check of the same promise).
#include "tests/fuzz/calculatecheck.h"

#include "classify/reason.h"

#include <QTest>

using namespace korvane;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(korvane::Quantity)

class TestClassMap : public QObject
{
    Q_OBJECT

private slots:
    void nearestChanges_data();
    void nearestChanges();
};

void TestClassMap::nearestChanges_data()
{
    QTest::addColumn<bool>("group2");
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("pw");
    QTest::addColumn<bool>("clause14");
    QTest::addColumn<Quantity>("along");
    QTest::addColumn<QString>("line");

    using enum Quantity;
    const auto row = [](const char *tag, bool group2, const char16_t *p, const char16_t *V,
                        const char16_t *pw, bool clause14, Quantity along, const char16_t *line) {
        QTest::newRow(tag) << group2 << QString::fromUtf16(p) << QString::fromUtf16(V)
                           << QString::fromUtf16(pw) << clause14 << along
                           << QString::fromUtf16(line);
    };
    // Group 1. The V band edge at 25 L; the slanted pV = 50000 (V from 25000
    // at p 2); the scope limit pwV = 2.5 (V from 10 at pw 0.25); the p band
    // edge 1.6 (from 31250 L); clause 1.4 from p 0.1.
    row("1: V on 25", false, u"2", u"25", u"2", false, V,
        u"仅改变容积 V：< 25 L 为 Ⅰ 类；≥ 25000 L 为 Ⅲ 类");
    row("1: V below 25", false, u"2", u"24.999998", u"2", false, V,
        u"仅改变容积 V：< 1.25 L 为类外；≥ 25 L 为 Ⅱ 类");
    row("1: V on pV 50000", false, u"2", u"25000", u"2", false, V,
        u"仅改变容积 V：< 25000 L 为 Ⅱ 类；增大不变");
    row("1: V below pV 50000", false, u"2", u"24999.998", u"2", false, V,
        u"仅改变容积 V：< 25 L 为 Ⅰ 类；≥ 25000 L 为 Ⅲ 类");
    row("1: p on pV 50000", false, u"2", u"25000", u"2", false, p,
        u"仅改变设计压力 p：< 2 MPa 为 Ⅱ 类；增大不变");
    row("1: p below pV 50000", false, u"1.9999999", u"25000", u"2", false, p,
        u"仅改变设计压力 p：< 0.1 MPa 为类外；≥ 2 MPa 为 Ⅲ 类");
    row("1: V on pwV 2.5", false, u"2", u"10", u"0.25", false, V,
        u"仅改变容积 V：< 10 L 为类外；≥ 25 L 为 Ⅱ 类");
    row("1: V below pwV 2.5", false, u"2", u"9.999999", u"0.25", false, V,
        u"仅改变容积 V：减小不变；≥ 10 L 为 Ⅰ 类");
    row("1: p on 1.6", false, u"1.6", u"100000", u"1.6", false, p,
        u"仅改变设计压力 p：< 1.6 MPa 为 Ⅱ 类；增大不变");
    row("1: p below 1.6", false, u"1.5999999", u"100000", u"1.6", false, p,
        u"仅改变设计压力 p：< 0.1 MPa 为类外；≥ 1.6 MPa 为 Ⅲ 类");
    row("1: clause 1.4, p on 0.1", false, u"0.1", u"100", u"0.1", true, p,
        u"仅改变设计压力 p：< 0.1 MPa 为类外；增大不变");
    row("1: clause 1.4, p below 0.1", false, u"0.099999994", u"100", u"0.1", true, p,
        u"仅改变设计压力 p：减小不变；≥ 0.1 MPa 为 Ⅰ 类");
    // Group 2. The V band edge at 50000000 L; the slanted pV = 500000 (V from
    // 250000 at p 2); the scope limit (V from 5 at pw 0.5); the p band edge
    // 1.6 (below 50000 L); clause 1.4 from pV 2.5.
    row("2: V on 50000000", true, u"0.1", u"50000000", u"0.1", false, V,
        u"仅改变容积 V：< 50000000 L 为 Ⅰ 类；增大不变");
    row("2: V below 50000000", true, u"0.1", u"49999996", u"0.1", false, V,
        u"仅改变容积 V：< 25 L 为类外；≥ 50000000 L 为 Ⅲ 类");
    row("2: V on pV 500000", true, u"2", u"250000", u"2", false, V,
        u"仅改变容积 V：< 250000 L 为 Ⅱ 类；增大不变");
    row("2: V below pV 500000", true, u"2", u"249999.98", u"2", false, V,
        u"仅改变容积 V：< 25 L 为 Ⅰ 类；≥ 250000 L 为 Ⅲ 类");
    row("2: V on pwV 2.5", true, u"1", u"5", u"0.5", false, V,
        u"仅改变容积 V：< 5 L 为类外；≥ 5000000 L 为 Ⅲ 类");
    row("2: V below pwV 2.5", true, u"1", u"4.9999995", u"0.5", false, V,
        u"仅改变容积 V：减小不变；≥ 5 L 为 Ⅰ 类");
    row("2: p on 1.6", true, u"1.6", u"1000", u"1.6", false, p,
        u"仅改变设计压力 p：< 1.6 MPa 为 Ⅰ 类；≥ 10 MPa 为 Ⅲ 类");
    row("2: p below 1.6", true, u"1.5999999", u"1000", u"1.6", false, p,
        u"仅改变设计压力 p：< 0.1 MPa 为类外；≥ 1.6 MPa 为 Ⅱ 类");
    row("2: clause 1.4, V on pV 2.5", true, u"1", u"2.5", u"1", true, V,
        u"仅改变容积 V：< 2.5 L 为类外；增大不变");
    row("2: clause 1.4, V below pV 2.5", true, u"1", u"2.4999998", u"1", true, V,
        u"仅改变容积 V：减小不变；≥ 2.5 L 为 Ⅰ 类");
    // Nothing changes along p where pw is below 0.1 MPa: the line is left out.
    row("2: pw below 0.1", true, u"1", u"1000", u"0.05", false, p, u"");
}

void TestClassMap::nearestChanges()
{
    QFETCH(bool, group2);
    QFETCH(QString, p);
    QFETCH(QString, V);
    QFETCH(QString, pw);
    QFETCH(bool, clause14);
    QFETCH(Quantity, along);
    QFETCH(QString, line);

    const CalculatorEntries entries{
        p, V, pw, CheckState::On, clause14 ? CheckState::On : CheckState::Off, !group2, group2};
    const CalculateOutcome outcome = calculate(entries, QLocale::c());
    const auto *success = std::get_if<CalculateSuccess>(&outcome);
    QVERIFY(success);
    QCOMPARE(neighboursText(success->input, along), line);
    // Every stated change, typed on either side; and nothing stated where
    // nothing changes.
    const QString broken = fuzz::checkCalculateEntries(entries, 0);
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
}

QTEST_GUILESS_MAIN(TestClassMap)
#include "tst_classmap.moc"
