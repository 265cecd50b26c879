// Where the class changes: for vessels on each kind of limit and one
// single-precision step beside it, in both groups, the nearest changes along
// V and p as the reason states them, each borne out by typing the values on
// either side of it (the fuzzer's check of the same promise).
#include "calculatecheck.h"

#include "reason.h"

#include <QTest>

using namespace korvane;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(korvane::CalculatorEntries)
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
    QTest::addColumn<CalculatorEntries>("entries");
    QTest::addColumn<Quantity>("along");
    QTest::addColumn<QString>("line");

    using enum Quantity;
    // Group 1: the V band edge 25 L; the slanted pV = 50000 (V from 25000 at
    // p 2); the scope limit pwV = 2.5 (V from 10 at pw 0.25); the p band edge
    // 1.6 (from 31250 L); clause 1.4 from p 0.1. Group 2: the V band edge
    // 50000000 L; pV = 500000 (V from 250000 at p 2); the scope limit (V from
    // 5 at pw 0.5); the p band edge 1.6 (below 50000 L); clause 1.4 from
    // pV 2.5. Last, nothing changes along p where pw is below 0.1 MPa.
    const struct
    {
        const char *tag;
        int group;
        const char *p, *V, *pw;
        bool clause14;
        Quantity along;
        const char16_t *line; // empty: none
    } rows[] = {
        // clang-format off
        {"1: V on 25", 1, "2", "25", "2", false, V, u"仅改变容积 V：< 25 L 为 Ⅰ 类；≥ 25000 L 为 Ⅲ 类"},
        {"1: V below 25", 1, "2", "24.999998", "2", false, V, u"仅改变容积 V：< 1.25 L 为类外；≥ 25 L 为 Ⅱ 类"},
        {"1: V on pV 50000", 1, "2", "25000", "2", false, V, u"仅改变容积 V：< 25000 L 为 Ⅱ 类；增大不变"},
        {"1: V below pV 50000", 1, "2", "24999.998", "2", false, V, u"仅改变容积 V：< 25 L 为 Ⅰ 类；≥ 25000 L 为 Ⅲ 类"},
        {"1: V on pwV 2.5", 1, "2", "10", "0.25", false, V, u"仅改变容积 V：< 10 L 为类外；≥ 25 L 为 Ⅱ 类"},
        {"1: V below pwV 2.5", 1, "2", "9.999999", "0.25", false, V, u"仅改变容积 V：减小不变；≥ 10 L 为 Ⅰ 类"},
        {"1: p on 1.6", 1, "1.6", "100000", "1.6", false, p, u"仅改变设计压力 p：< 1.6 MPa 为 Ⅱ 类；增大不变"},
        {"1: p below 1.6", 1, "1.5999999", "100000", "1.6", false, p, u"仅改变设计压力 p：< 0.1 MPa 为类外；≥ 1.6 MPa 为 Ⅲ 类"},
        {"1: clause 1.4, p on 0.1", 1, "0.1", "100", "0.1", true, p, u"仅改变设计压力 p：< 0.1 MPa 为类外；增大不变"},
        {"1: clause 1.4, p below 0.1", 1, "0.099999994", "100", "0.1", true, p, u"仅改变设计压力 p：减小不变；≥ 0.1 MPa 为 Ⅰ 类"},
        {"2: V on 50000000", 2, "0.1", "50000000", "0.1", false, V, u"仅改变容积 V：< 50000000 L 为 Ⅰ 类；增大不变"},
        {"2: V below 50000000", 2, "0.1", "49999996", "0.1", false, V, u"仅改变容积 V：< 25 L 为类外；≥ 50000000 L 为 Ⅲ 类"},
        {"2: V on pV 500000", 2, "2", "250000", "2", false, V, u"仅改变容积 V：< 250000 L 为 Ⅱ 类；增大不变"},
        {"2: V below pV 500000", 2, "2", "249999.98", "2", false, V, u"仅改变容积 V：< 25 L 为 Ⅰ 类；≥ 250000 L 为 Ⅲ 类"},
        {"2: V on pwV 2.5", 2, "1", "5", "0.5", false, V, u"仅改变容积 V：< 5 L 为类外；≥ 5000000 L 为 Ⅲ 类"},
        {"2: V below pwV 2.5", 2, "1", "4.9999995", "0.5", false, V, u"仅改变容积 V：减小不变；≥ 5 L 为 Ⅰ 类"},
        {"2: p on 1.6", 2, "1.6", "1000", "1.6", false, p, u"仅改变设计压力 p：< 1.6 MPa 为 Ⅰ 类；≥ 10 MPa 为 Ⅲ 类"},
        {"2: p below 1.6", 2, "1.5999999", "1000", "1.6", false, p, u"仅改变设计压力 p：< 0.1 MPa 为类外；≥ 1.6 MPa 为 Ⅱ 类"},
        {"2: clause 1.4, V on pV 2.5", 2, "1", "2.5", "1", true, V, u"仅改变容积 V：< 2.5 L 为类外；增大不变"},
        {"2: clause 1.4, V below pV 2.5", 2, "1", "2.4999998", "1", true, V, u"仅改变容积 V：减小不变；≥ 2.5 L 为 Ⅰ 类"},
        {"2: pw below 0.1", 2, "1", "1000", "0.05", false, p, u""},
        // clang-format on
    };
    for (const auto &row : rows) {
        const CalculatorEntries entries{QString::fromLatin1(row.p),
                                        QString::fromLatin1(row.V),
                                        QString::fromLatin1(row.pw),
                                        CheckState::On,
                                        row.clause14 ? CheckState::On : CheckState::Off,
                                        row.group == 1,
                                        row.group == 2};
        QTest::newRow(row.tag) << entries << row.along << QString::fromUtf16(row.line);
    }
}

void TestClassMap::nearestChanges()
{
    QFETCH(CalculatorEntries, entries);
    QFETCH(Quantity, along);
    QFETCH(QString, line);

    const CalculateOutcome outcome = calculate(entries, QLocale::c());
    const auto *success = std::get_if<CalculateSuccess>(&outcome);
    QVERIFY(success);
    QCOMPARE(neighboursText(success->map, success->decision.result, along), line);
    // Every stated change, typed on either side; nothing stated where
    // nothing changes.
    const QString broken = fuzz::checkCalculateEntries(entries, 0);
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
}

QTEST_GUILESS_MAIN(TestClassMap)
#include "tst_classmap.moc"
