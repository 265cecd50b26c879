// classifyVessel against the two group tables, the scope test and clause 1.4,
// at every limit and at the single-precision value just below it.
#include "vessels.h"

#include <QTest>

#include <cmath>

using namespace korvane;
using test::below;
using test::vessel;

Q_DECLARE_METATYPE(korvane::VesselInput)

namespace {

constexpr auto G1 = MediumGroup::Group1;
constexpr auto G2 = MediumGroup::Group2;
constexpr auto Out = ClassResult::OutOfClass;
constexpr auto I = ClassResult::ClassI;
constexpr auto II = ClassResult::ClassII;
constexpr auto III = ClassResult::ClassIII;

} // namespace

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    void groupTables_data();
    void groupTables();
    void scopeAndClause14_data();
    void scopeAndClause14();
};

void TestRules::groupTables_data()
{
    // pw is chosen high enough to pass the scope test, so the table decides.
    QTest::addColumn<float>("p");
    QTest::addColumn<float>("V");
    QTest::addColumn<MediumGroup>("group");
    QTest::addColumn<ClassResult>("expected");

    // Group 1.
    QTest::newRow("g1 row1 V=0.1 pV=3") << 30.0f << 0.1f << G1 << I;
    QTest::newRow("g1 V just below 0.1: no row") << 30.0f << below(0.1f) << G1 << Out;
    QTest::newRow("g1 row1 pV=2.5") << 0.25f << 10.0f << G1 << I;
    QTest::newRow("g1 row1 pV just below 2.5") << below(0.25f) << 10.0f << G1 << Out;
    QTest::newRow("g1 row1 p=0.2 V just below 25") << 0.2f << below(25.0f) << G1 << I;
    QTest::newRow("g1 row3 p=0.2 V=25") << 0.2f << 25.0f << G1 << II;
    QTest::newRow("g1 row2 p=10") << 10.0f << 100.0f << G1 << III;
    QTest::newRow("g1 row3 p just below 10") << below(10.0f) << 100.0f << G1 << II;
    QTest::newRow("g1 row3 p=0.1") << 0.1f << 100.0f << G1 << II;
    QTest::newRow("g1 p just below 0.1, V=100: no row") << below(0.1f) << 100.0f << G1 << Out;
    QTest::newRow("g1 row2 p=10 V just below 5000") << 10.0f << below(5000.0f) << G1 << III;
    QTest::newRow("g1 row4 p=10 V=5000 pV=50000") << 10.0f << 5000.0f << G1 << III;
    QTest::newRow("g1 row5 p=2 V=5000") << 2.0f << 5000.0f << G1 << II;
    QTest::newRow("g1 row4 pV=50000") << 5.0f << 10000.0f << G1 << III;
    QTest::newRow("g1 row5 pV just below 50000") << below(5.0f) << 10000.0f << G1 << II;
    QTest::newRow("g1 row5 p=0.1") << 0.1f << 10000.0f << G1 << II;
    QTest::newRow("g1 row5 p just below 0.1: no row") << below(0.1f) << 10000.0f << G1 << Out;
    // Just below the band edge, 1.6 × V rounds below 50000: row 5, not row 6.
    QTest::newRow("g1 row5 p=1.6 V just below 31250") << 1.6f << below(31250.0f) << G1 << II;
    QTest::newRow("g1 row6 p=1.6 V=31250") << 1.6f << 31250.0f << G1 << III;
    QTest::newRow("g1 row7 p=1.59 V=31250") << 1.59f << 31250.0f << G1 << II;
    QTest::newRow("g1 row6 p=1.6") << 1.6f << 100000.0f << G1 << III;
    QTest::newRow("g1 row7 p just below 1.6") << below(1.6f) << 100000.0f << G1 << II;
    QTest::newRow("g1 row7 p=0.1") << 0.1f << 100000.0f << G1 << II;
    QTest::newRow("g1 row7 p just below 0.1: no row") << below(0.1f) << 100000.0f << G1 << Out;
    QTest::newRow("g1 row6 p=1.6 V just below 625000") << 1.6f << below(625000.0f) << G1 << III;
    QTest::newRow("g1 row8 p=1.6 V=625000") << 1.6f << 625000.0f << G1 << III;
    QTest::newRow("g1 row8 pV=1000000") << 1.0f << 1e6f << G1 << III;
    QTest::newRow("g1 row9 pV just below 1000000") << below(1.0f) << 1e6f << G1 << II;
    QTest::newRow("g1 row9 p=0.1") << 0.1f << 1e6f << G1 << II;
    QTest::newRow("g1 row9 p just below 0.1: no row") << below(0.1f) << 1e6f << G1 << Out;
    QTest::newRow("g1 row9 p=0.1 V just below 1e7") << 0.1f << below(1e7f) << G1 << II;
    QTest::newRow("g1 row10 p=0.1 V=1e7") << 0.1f << 1e7f << G1 << III;
    QTest::newRow("g1 row10 p just below 0.1: no row") << below(0.1f) << 1e8f << G1 << Out;

    // Group 2.
    QTest::newRow("g2 row1 pV=2.5") << 0.25f << 10.0f << G2 << I;
    QTest::newRow("g2 row1 pV just below 2.5") << below(0.25f) << 10.0f << G2 << Out;
    QTest::newRow("g2 V just below 0.1: no row") << 30.0f << below(0.1f) << G2 << Out;
    QTest::newRow("g2 row2 p=10") << 10.0f << 100.0f << G2 << III;
    QTest::newRow("g2 row3 p just below 10") << below(10.0f) << 100.0f << G2 << II;
    QTest::newRow("g2 row3 p=1.6") << 1.6f << 100.0f << G2 << II;
    QTest::newRow("g2 row4 p just below 1.6") << below(1.6f) << 100.0f << G2 << I;
    QTest::newRow("g2 row4 p=0.1") << 0.1f << 100.0f << G2 << I;
    QTest::newRow("g2 row4 p just below 0.1: no row") << below(0.1f) << 100.0f << G2 << Out;
    QTest::newRow("g2 row2 p=10 V just below 50000") << 10.0f << below(50000.0f) << G2 << III;
    QTest::newRow("g2 row5 p=10 V=50000") << 10.0f << 50000.0f << G2 << III;
    QTest::newRow("g2 row5 pV=500000") << 5.0f << 100000.0f << G2 << III;
    QTest::newRow("g2 row6 pV just below 500000") << below(5.0f) << 100000.0f << G2 << II;
    QTest::newRow("g2 row6 p=1.6") << 1.6f << 100000.0f << G2 << II;
    QTest::newRow("g2 row7 p just below 1.6") << below(1.6f) << 100000.0f << G2 << I;
    QTest::newRow("g2 row7 p=0.1") << 0.1f << 100000.0f << G2 << I;
    QTest::newRow("g2 row7 p just below 0.1: no row") << below(0.1f) << 100000.0f << G2 << Out;
    // Just below the band edge, 1.6 × V rounds below 500000: row 6, not row 8.
    QTest::newRow("g2 row6 p=1.6 V just below 312500") << 1.6f << below(312500.0f) << G2 << II;
    QTest::newRow("g2 row8 p=1.6 V=312500") << 1.6f << 312500.0f << G2 << III;
    QTest::newRow("g2 row8 p=1.6") << 1.6f << 1e6f << G2 << III;
    QTest::newRow("g2 row9 p just below 1.6") << below(1.6f) << 1e6f << G2 << I;
    QTest::newRow("g2 row9 p=0.1") << 0.1f << 1e6f << G2 << I;
    QTest::newRow("g2 row9 p just below 0.1: no row") << below(0.1f) << 1e6f << G2 << Out;
    QTest::newRow("g2 row8 p=1.6 V just below 3125000") << 1.6f << below(3125000.0f) << G2 << III;
    QTest::newRow("g2 row10 p=1.6 V=3125000") << 1.6f << 3125000.0f << G2 << III;
    QTest::newRow("g2 row10 pV=5000000") << 0.5f << 1e7f << G2 << III;
    QTest::newRow("g2 row11 pV just below 5000000") << below(0.5f) << 1e7f << G2 << I;
    QTest::newRow("g2 row11 p=0.1") << 0.1f << 1e7f << G2 << I;
    QTest::newRow("g2 row11 p just below 0.1: no row") << below(0.1f) << 1e7f << G2 << Out;
    QTest::newRow("g2 row10 p=0.2 V=4e7") << 0.2f << 4e7f << G2 << III;
    QTest::newRow("g2 row11 p=0.1 V=4e7") << 0.1f << 4e7f << G2 << I;
    QTest::newRow("g2 row11 p=0.1 V just below 5e7") << 0.1f << below(5e7f) << G2 << I;
    QTest::newRow("g2 row12 p=0.1 V=5e7") << 0.1f << 5e7f << G2 << III;
    QTest::newRow("g2 row12 p just below 0.1: no row") << below(0.1f) << 1e8f << G2 << Out;
}

void TestRules::groupTables()
{
    QFETCH(float, p);
    QFETCH(float, V);
    QFETCH(MediumGroup, group);
    QFETCH(ClassResult, expected);
    // A working pressure that passes the scope test for every V above.
    const double pw = 1000.0;
    QCOMPARE(classifyVessel(vessel(p, V, pw, group)), expected);
}

void TestRules::scopeAndClause14_data()
{
    QTest::addColumn<VesselInput>("input");
    QTest::addColumn<ClassResult>("expected");

    const auto Off = CheckState::Off;
    const auto On = CheckState::On;
    const auto Grey = CheckState::Greyed;

    // The scope test reads pw and pwV in double precision.
    QTest::newRow("pw=0.1 passes") << vessel(1, 100, 0.1, G1) << II;
    QTest::newRow("pw just below 0.1 is out")
        << vessel(1, 100, std::nextafter(0.1, 0.0), G1) << Out;
    QTest::newRow("pwV=2.5 passes") << vessel(1, 5, 0.5, G1) << I;
    QTest::newRow("pwV just below 2.5 is out") << vessel(1, below(5.0f), 0.5, G1) << Out;
    QTest::newRow("p 0.05 pw 1 V 100: in scope, no row") << vessel(0.05f, 100, 1, G1) << Out;
    QTest::newRow("Check1 off") << vessel(10, 100, 10, G1, Off) << Out;
    QTest::newRow("Check1 greyed counts as ticked") << vessel(10, 100, 10, G1, Grey) << III;
    QTest::newRow("p 1 V 3 pw 0.5: pwV 1.5") << vessel(1, 3, 0.5, G1) << Out;
    QTest::newRow("p 0.1 V 25 pw 0.1 g1") << vessel(0.1f, 25, 0.1, G1) << II;
    QTest::newRow("p 3 V 1 pw 3") << vessel(3, 1, 3, G1) << I;
    QTest::newRow("p 2 V 1 pw 2") << vessel(2, 1, 2, G1) << Out;
    QTest::newRow("p 30 V 0.09 pw 30") << vessel(30, 0.09f, 30, G1) << Out;
    // pV rounds to exactly 2.5 in single precision; pwV stays below in double.
    QTest::newRow("p 0.8333333 V 3 pw 1") << vessel(0.8333333f, 3, 1, G1) << I;
    QTest::newRow("p = pw = 0.8333333 V 3") << vessel(0.8333333f, 3, 0.8333333, G1) << Out;
    QTest::newRow("g1 V 1e7 p 0.09 pw 0.2") << vessel(0.09f, 1e7f, 0.2, G1) << Out;

    // Clause 1.4 comes before the tables and needs every limit.
    QTest::newRow("clause 1.4 g1") << vessel(1, 100, 1, G1, On, On) << I;
    QTest::newRow("clause 1.4 g2") << vessel(1, 100, 1, G2, On, On) << I;
    QTest::newRow("clause 1.4 over class III") << vessel(20, 100, 20, G1, On, On) << I;
    QTest::newRow("clause 1.4 greyed is not ticked") << vessel(1, 100, 1, G1, On, Grey) << II;
    QTest::newRow("clause 1.4 needs p >= 0.1") << vessel(below(0.1f), 100, 1, G1, On, On) << Out;
    QTest::newRow("clause 1.4 needs pV >= 2.5") << vessel(0.1f, 24, 1, G1, On, On) << Out;
    QTest::newRow("clause 1.4 not before scope") << vessel(1, 100, 1, G1, Off, On) << Out;
}

void TestRules::scopeAndClause14()
{
    QFETCH(VesselInput, input);
    QFETCH(ClassResult, expected);
    QCOMPARE(classifyVessel(input), expected);
}

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
