// The decision behind each class: which rule decided, checked against the
// printed group tables, and checked for truth on a dense grid of entries.
#include "classmap.h"
#include "decision.h"
#include "vessels.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

using namespace korvane;
using rules::groupTable;
using test::above;
using test::below;
using test::vessel;

Q_DECLARE_METATYPE(MediumGroup)
Q_DECLARE_METATYPE(ClassResult)
Q_DECLARE_METATYPE(CheckState)
Q_DECLARE_METATYPE(DecidingRule)

namespace {

const char *groupTag(MediumGroup group)
{
    return group == MediumGroup::Group1 ? "group 1" : "group 2";
}

// Vessels on or next to the edges of every row, with the row and the class
// that the printed tables give them.
struct RowCase
{
    MediumGroup group;
    float p;
    float V;
    std::size_t row;
    ClassResult result;
};

using enum MediumGroup;
using enum ClassResult;

const RowCase kRowCases[] = {
    {Group1, 3, 1, 1, ClassI},
    {Group1, 25, 0.1f, 1, ClassI}, // pV rounds to 2.5 exactly
    {Group1, 1, below(25), 1, ClassI},
    {Group1, 10, 25, 2, ClassIII},
    {Group1, 10, below(5000), 2, ClassIII},
    {Group1, 0.1f, 25, 3, ClassII},
    {Group1, 9.99f, 25, 3, ClassII},
    {Group1, below(10), 4999, 3, ClassII},
    {Group1, 10, 5000, 4, ClassIII}, // pV 50000
    {Group1, 1.7f, below(31250), 4, ClassIII},
    {Group1, 2, 5000, 5, ClassII},
    {Group1, 0.1f, 5000, 5, ClassII},
    {Group1, 1.6f, below(31250), 5, ClassII}, // pV just under 50000
    {Group1, 1.6f, 31250, 6, ClassIII},
    {Group1, 100, below(625000), 6, ClassIII},
    {Group1, 1.59f, 31250, 7, ClassII},
    {Group1, 0.1f, 31250, 7, ClassII},
    {Group1, 1.6f, 625000, 8, ClassIII}, // pV rounds to 1000000
    {Group1, 0.2f, below(1e7), 8, ClassIII},
    {Group1, 1.59f, 625000, 9, ClassII},
    {Group1, 0.1f, below(1e7), 9, ClassII}, // pV 999999.94
    {Group1, 0.1f, 625000, 9, ClassII},
    {Group1, 0.1f, 1e7, 10, ClassIII},
    {Group1, 0.1f, 1e9, 10, ClassIII},
    {Group2, 3, 1, 1, ClassI},
    {Group2, 25, 0.1f, 1, ClassI},
    {Group2, 10, 25, 2, ClassIII},
    {Group2, 10, below(5e4), 2, ClassIII},
    {Group2, 1.6f, 25, 3, ClassII},
    {Group2, 9.99f, 25, 3, ClassII},
    {Group2, 1.5f, 25, 4, ClassI},
    {Group2, 0.1f, 25, 4, ClassI},
    {Group2, 10, 5e4, 5, ClassIII}, // pV 500000
    {Group2, 9.99f, 5e4, 6, ClassII},
    {Group2, 1.6f, 5e4, 6, ClassII},
    {Group2, 1.59f, 5e4, 7, ClassI},
    {Group2, 1.6f, 312500, 8, ClassIII},
    {Group2, 1.5f, 312500, 9, ClassI},
    {Group2, 0.2f, 4e7, 10, ClassIII},     // pV 8000000
    {Group2, 1.6f, 3125000, 10, ClassIII}, // pV rounds to 5000000
    {Group2, 0.1f, 4e7, 11, ClassI},
    {Group2, 0.1f, 5e7, 12, ClassIII},
};

enum class Step
{
    P,
    V,
};

} // namespace

class TestDecision : public QObject
{
    Q_OBJECT

private slots:
    void tableRow_data();
    void tableRow();
    void everyRowHasACase();
    void scopeTest_data();
    void scopeTest();
    void clause14_data();
    void clause14();
    void noRow_data();
    void noRow();
    void gridDecisionsHold();
    void gridIsAStaircase();
};

void TestDecision::tableRow_data()
{
    QTest::addColumn<MediumGroup>("group");
    QTest::addColumn<float>("p");
    QTest::addColumn<float>("V");
    QTest::addColumn<int>("row");
    QTest::addColumn<ClassResult>("result");
    for (const RowCase &c : kRowCases) {
        QTest::addRow("%s row %zu, p %.9g, V %.9g", groupTag(c.group), c.row, double(c.p),
                      double(c.V))
            << c.group << c.p << c.V << int(c.row) << c.result;
    }
}

void TestDecision::tableRow()
{
    QFETCH(MediumGroup, group);
    QFETCH(float, p);
    QFETCH(float, V);
    QFETCH(int, row);
    QFETCH(ClassResult, result);

    // pw well in scope, so that only the table decides.
    const VesselInput in = vessel(p, V, 1000, group);
    const Decision decision = decideVessel(in);
    QCOMPARE(decision.rule, DecidingRule::TableRow);
    QCOMPARE(decision.group, group);
    QCOMPARE(int(decision.rowNumber()), row);
    QCOMPARE(decision.result, result);
    // The row is the table's own, not a copy of it.
    QCOMPARE(decision.row, &groupTable(group)[std::size_t(row) - 1]);
}

void TestDecision::everyRowHasACase()
{
    for (MediumGroup group : {Group1, Group2}) {
        std::set<std::size_t> covered;
        for (const RowCase &c : kRowCases) {
            if (c.group == group)
                covered.insert(c.row);
        }
        for (std::size_t row = 1; row <= groupTable(group).size(); ++row)
            QVERIFY2(
                covered.count(row),
                qPrintable(QStringLiteral("%1 row %2 has no case").arg(groupTag(group)).arg(row)));
    }
}

void TestDecision::scopeTest_data()
{
    QTest::addColumn<double>("pw");
    QTest::addColumn<float>("V");
    QTest::addColumn<CheckState>("medium");
    QTest::addColumn<bool>("pwFails");
    QTest::addColumn<bool>("pwVFails");
    QTest::addColumn<bool>("mediumFails");

    using enum CheckState;
    QTest::newRow("pw low") << 0.05 << 100.0f << On << true << false << false;
    QTest::newRow("pw just under 0.1") << 0.099999999 << 100.0f << On << true << false << false;
    QTest::newRow("pwV low") << 1.0 << 2.0f << On << false << true << false;
    QTest::newRow("pwV 2.4999999") << 0.8333333 << 3.0f << On << false << true << false;
    QTest::newRow("Check1 off") << 1.0 << 100.0f << Off << false << false << true;
    QTest::newRow("pw and pwV") << 0.05 << 10.0f << On << true << true << false;
    QTest::newRow("pw and Check1") << 0.05 << 100.0f << Off << true << false << true;
    QTest::newRow("pwV and Check1") << 1.0 << 2.0f << Off << false << true << true;
    QTest::newRow("all three") << 0.05 << 10.0f << Off << true << true << true;
    QTest::newRow("at the limits") << 0.1 << 25.0f << On << false << false << false;
    QTest::newRow("Check1 greyed") << 1.0 << 100.0f << Greyed << false << false << false;
}

void TestDecision::scopeTest()
{
    QFETCH(double, pw);
    QFETCH(float, V);
    QFETCH(CheckState, medium);
    QFETCH(bool, pwFails);
    QFETCH(bool, pwVFails);
    QFETCH(bool, mediumFails);

    for (MediumGroup group : {Group1, Group2}) {
        // A design pressure that every row would take: only pw may keep it out.
        const Decision decision = decideVessel(vessel(20, V, pw, group, medium));
        const ScopeFailures expected{pwFails, pwVFails, mediumFails};
        QCOMPARE(decision.scope, expected);
        if (expected.any()) {
            QCOMPARE(decision.rule, DecidingRule::ScopeTest);
            QCOMPARE(decision.result, OutOfClass);
            QCOMPARE(decision.rowNumber(), std::size_t(0));
        } else {
            QCOMPARE(decision.rule, DecidingRule::TableRow);
        }
    }
}

void TestDecision::clause14_data()
{
    QTest::addColumn<float>("p");
    QTest::addColumn<float>("V");
    QTest::addColumn<double>("pw");
    QTest::addColumn<CheckState>("clause14");
    QTest::addColumn<DecidingRule>("rule");
    QTest::addColumn<ClassResult>("result");

    using enum CheckState;
    using enum DecidingRule;
    QTest::newRow("applies") << 1.0f << 100.0f << 1.0 << On << Clause14 << ClassI;
    QTest::newRow("ahead of a class III row")
        << 20.0f << 100.0f << 20.0 << On << Clause14 << ClassI;
    QTest::newRow("ahead of row 1") << 1.0f << 3.0f << 1.0 << On << Clause14 << ClassI;
    QTest::newRow("pV rounds to 2.5") << 0.8333333f << 3.0f << 1.0 << On << Clause14 << ClassI;
    QTest::newRow("pV under 2.5") << 0.8333f << 3.0f << 1.0 << On << NoRow << OutOfClass;
    QTest::newRow("p under 0.1") << 0.05f << 100.0f << 1.0 << On << NoRow << OutOfClass;
    QTest::newRow("Check2 greyed") << 20.0f << 100.0f << 20.0 << Greyed << TableRow << ClassIII;
    QTest::newRow("Check2 off") << 20.0f << 100.0f << 20.0 << Off << TableRow << ClassIII;
}

void TestDecision::clause14()
{
    QFETCH(float, p);
    QFETCH(float, V);
    QFETCH(double, pw);
    QFETCH(CheckState, clause14);
    QFETCH(DecidingRule, rule);
    QFETCH(ClassResult, result);

    for (MediumGroup group : {Group1, Group2}) {
        const VesselInput in = vessel(p, V, pw, group, CheckState::On, clause14);
        const Decision decision = decideVessel(in);
        QCOMPARE(decision.rule, rule);
        QCOMPARE(decision.result, result);
    }
}

void TestDecision::noRow_data()
{
    QTest::addColumn<MediumGroup>("group");
    QTest::addColumn<float>("p");
    QTest::addColumn<float>("V");
    QTest::addColumn<double>("pw");

    for (MediumGroup group : {Group1, Group2}) {
        QTest::addRow("%s, V under 0.1", groupTag(group)) << group << 30.0f << 0.09f << 30.0;
        QTest::addRow("%s, p under 0.1", groupTag(group)) << group << 0.05f << 100.0f << 1.0;
        QTest::addRow("%s, huge V, p 0.09", groupTag(group)) << group << 0.09f << 1e7f << 0.2;
        QTest::addRow("%s, pV under 2.5", groupTag(group)) << group << 0.5f << 4.0f << 1.0;
    }
}

void TestDecision::noRow()
{
    QFETCH(MediumGroup, group);
    QFETCH(float, p);
    QFETCH(float, V);
    QFETCH(double, pw);

    const VesselInput in = vessel(p, V, pw, group);
    const Decision decision = decideVessel(in);
    QCOMPARE(decision.rule, DecidingRule::NoRow);
    QCOMPARE(decision.group, group);
    QCOMPARE(decision.result, OutOfClass);
    QCOMPARE(decision.row, nullptr);
}

namespace {

std::vector<float> withNeighbours(std::initializer_list<float> values)
{
    std::vector<float> out;
    for (float x : values)
        out.insert(out.end(), {below(x), x, above(x)});
    return out;
}

void sortUnique(std::vector<float> &values)
{
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
}

// Every limit on p, with its single-precision neighbours, and values between.
std::vector<float> gridP()
{
    std::vector<float> p = withNeighbours({0.1f, 1.6f, 10, 100});
    p.insert(p.end(),
             {0, 0.01f, 0.05f, 0.09f, 0.5f, 0.8333333f, 1, 1.5f, 1.59f, 2, 5, 9.99f, 20, 50, 1000});
    sortUnique(p);
    return p;
}

// Every band edge of V and, for every p of the grid, the volumes where pV
// meets each limit on it, all with their neighbours.
std::vector<float> gridV(const std::vector<float> &ps)
{
    std::vector<float> V =
        withNeighbours({0.1f, 25, 5000, 31250, 5e4, 312500, 625000, 3125000, 1e7, 5e7});
    V.insert(V.end(), {0, 0.001f, 0.05f, 1, 3, 10, 100, 1000, 1e4, 1e5, 1e6, 2e7, 1e8, 1e9});
    for (float p : ps) {
        if (p <= 0)
            continue;
        for (double limit : {2.5, 5e4, 5e5, 1e6, 5e6}) {
            const float v = float(limit / double(p));
            V.insert(V.end(), {below(v), v, above(v)});
        }
    }
    sortUnique(V);
    return V;
}

// Whether the decision says what is true of the entries: the scope
// conditions it names are exactly those that fail, and the row it names
// holds while no row above it does.
QString falseReason(const VesselInput &in, const Decision d)
{
    const ScopeFailures failing{in.pw < 0.1, in.pwV < 2.5, in.mediumState == CheckState::Off};
    if (!(d.scope == failing))
        return QStringLiteral("wrong scope conditions");
    if (failing.any())
        return d.rule == DecidingRule::ScopeTest && d.result == OutOfClass
                   ? QString()
                   : QStringLiteral("scope test should decide");

    const bool clause14 = in.clause14State == CheckState::On && in.p >= rules::single(0.1) &&
                          in.pV >= rules::single(2.5);
    if (clause14 != (d.rule == DecidingRule::Clause14))
        return QStringLiteral("clause 1.4 misjudged");
    if (clause14)
        return d.result == ClassI ? QString() : QStringLiteral("clause 1.4 not class I");

    const auto holds = [&in](const rules::TableRow &row) {
        return row.V.contains(in.V) && row.p.contains(in.p) && row.pV.contains(in.pV);
    };
    const auto table = groupTable(in.group);
    const auto first = std::find_if(table.begin(), table.end(), holds);
    if (first == table.end())
        return d.rule == DecidingRule::NoRow && d.result == OutOfClass
                   ? QString()
                   : QStringLiteral("no row holds");
    if (d.rule != DecidingRule::TableRow || d.row != &*first || d.result != first->result)
        return QStringLiteral("not the first row that holds");
    return {};
}

} // namespace

void TestDecision::gridDecisionsHold()
{
    const std::vector<float> ps = gridP();
    const std::vector<float> Vs = gridV(ps);
    using enum CheckState;
    const double pws[] = {0.05, std::nextafter(0.1, 0.0), 0.1, std::nextafter(0.1, 1.0), 1, 1000};

    long checked = 0;
    for (MediumGroup group : {Group1, Group2}) {
        for (CheckState medium : {Off, On, Greyed}) {
            for (CheckState clause14 : {Off, On, Greyed}) {
                for (double pw : pws) {
                    // The class map of the chart and of the nearest changes
                    // gives at every p and V what the rules give there; a map
                    // of the table alone has nothing in scope anywhere.
                    const ClassMap map = classMap(vessel(1, 1, pw, group, medium, clause14));
                    for (float V : Vs) {
                        for (float p : ps) {
                            const VesselInput in = vessel(p, V, pw, group, medium, clause14);
                            const Decision decision = decideVessel(in);
                            QString fault = falseReason(in, decision);
                            if (fault.isEmpty() && map.tableOnly &&
                                decision.rule != DecidingRule::ScopeTest)
                                fault = QStringLiteral("in scope, yet the map is the table alone");
                            if (fault.isEmpty() && !map.tableOnly &&
                                map.classAt(p, V) != decision.result)
                                fault = QStringLiteral("the class map disagrees");
                            if (!fault.isEmpty())
                                QFAIL(qPrintable(QStringLiteral("%1: %2, p %3, V %4, pw %5")
                                                     .arg(fault, groupTag(group))
                                                     .arg(double(p), 0, 'g', 9)
                                                     .arg(double(V), 0, 'g', 9)
                                                     .arg(pw, 0, 'g', 17)));
                            ++checked;
                        }
                    }
                }
            }
        }
    }
    qInfo("%ld decisions checked", checked);
}

// Read as a chart of p against V each table is a staircase: a larger p or V
// never gives a lower class, and a group 1 medium never a lower class than
// a group 2 one. A slip in a limit or a row order breaks one of these.
void TestDecision::gridIsAStaircase()
{
    const std::vector<float> ps = gridP();
    const std::vector<float> Vs = gridV(ps);
    const auto classOf = [](float p, float V, MediumGroup group) {
        return int(decideVessel(vessel(p, V, 1000, group)).result);
    };
    const auto number = [](float x) {
        return QString::number(double(x), 'g', 9);
    };
    for (MediumGroup group : {Group1, Group2}) {
        for (float V : Vs) {
            for (std::size_t i = 1; i < ps.size(); ++i) {
                if (classOf(ps[i - 1], V, group) > classOf(ps[i], V, group))
                    QFAIL(qPrintable(
                        QStringLiteral("%1, V %2: class falls from p %3 to p %4")
                            .arg(groupTag(group), number(V), number(ps[i - 1]), number(ps[i]))));
            }
        }
        for (float p : ps) {
            for (std::size_t i = 1; i < Vs.size(); ++i) {
                if (classOf(p, Vs[i - 1], group) > classOf(p, Vs[i], group))
                    QFAIL(qPrintable(
                        QStringLiteral("%1, p %2: class falls from V %3 to V %4")
                            .arg(groupTag(group), number(p), number(Vs[i - 1]), number(Vs[i]))));
            }
        }
    }
    for (float p : ps) {
        for (float V : Vs) {
            if (classOf(p, V, Group1) < classOf(p, V, Group2))
                QFAIL(qPrintable(
                    QStringLiteral("p %1, V %2: group 2 above group 1").arg(number(p), number(V))));
        }
    }
}

QTEST_APPLESS_MAIN(TestDecision)
#include "tst_decision.moc"
