// The group tables against the same limits read as a staircase of p against
// V, written here without the tables' bands and evaluated in exact
// arithmetic, on a dense grid holding every limit and its single-precision
// neighbours.
#include "vessel.h"
#include "vessels.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace korvane;

Q_DECLARE_METATYPE(korvane::MediumGroup)

namespace {

// The class Ⅲ limits on pV of a group: the first meets p = 10, the second
// p = 1.6 on one side and p = 0.1 on the other.
struct Staircase
{
    double pVAtTen;
    double pVAtLowPressure;
};

constexpr Staircase kGroup1{5e4, 1e6};
constexpr Staircase kGroup2{5e5, 5e6};

const Staircase &staircaseOf(MediumGroup group)
{
    return group == MediumGroup::Group1 ? kGroup1 : kGroup2;
}

// A vessel that passes the scope test and is not a clause-1.4 case, read off
// the chart: below 25 L only pV ≥ 2.5 counts; above, class Ⅲ lies on or
// above p = 10 or the first pV limit, and on or above p = 1.6 or the second
// pV limit, and on or above p = 0.1. Group 1 is class Ⅱ everywhere else from
// p = 0.1; group 2 is class Ⅱ from p = 1.6 and class Ⅰ below.
// p and V are single-precision values; their product is formed exactly.
ClassResult staircase(MediumGroup group, float pIn, float VIn, double pV)
{
    const double p = pIn, V = VIn;
    if (V < 0.1)
        return ClassResult::OutOfClass;
    if (V < 25)
        return pV >= 2.5 ? ClassResult::ClassI : ClassResult::OutOfClass;
    if (p < 0.1)
        return ClassResult::OutOfClass;
    const Staircase &limits = staircaseOf(group);
    if ((p >= 10 || pV >= limits.pVAtTen) && (p >= 1.6 || pV >= limits.pVAtLowPressure))
        return ClassResult::ClassIII;
    if (group == MediumGroup::Group1 || p >= 1.6)
        return ClassResult::ClassII;
    return ClassResult::ClassI;
}

ClassResult tables(MediumGroup group, float p, float V)
{
    // pw so high that the scope test passes whatever V is.
    return classifyVessel(formVessel(p, V, 1e30, CheckState::On, CheckState::Off, group));
}

void addWithNeighbours(std::vector<float> &values, float x, int steps)
{
    values.push_back(x);
    float up = x, down = x;
    for (int i = 0; i < steps; ++i) {
        up = std::nextafter(up, HUGE_VALF);
        down = std::nextafter(down, -HUGE_VALF);
        values.push_back(up);
        values.push_back(down);
    }
}

void addLogGrid(std::vector<float> &values, double from, double to, int count)
{
    const double step = std::log(to / from) / (count - 1);
    for (int i = 0; i < count; ++i)
        values.push_back(float(from * std::exp(step * i)));
}

void sortUnique(std::vector<float> &values)
{
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
}

constexpr double kAllPVLimits[] = {2.5, 5e4, 1e6, 5e5, 5e6};

std::vector<float> pressures()
{
    std::vector<float> p = {-1.0f, -0.0f, 0.0f};
    for (double limit : {0.1, 1.6, 10.0})
        addWithNeighbours(p, float(limit), 3);
    // Pressures at which the pV limits meet the band edges of V.
    for (double V : {0.1, 25.0, 5000.0, 31250.0, 50000.0, 312500.0, 625000.0, 3125000.0})
        for (double limit : kAllPVLimits)
            addWithNeighbours(p, float(limit / V), 2);
    addLogGrid(p, 1e-3, 1e3, 160);
    sortUnique(p);
    return p;
}

std::vector<float> volumes(const std::vector<float> &pressures)
{
    std::vector<float> V = {-1.0f, 0.0f};
    for (double edge : {0.1, 25.0, 5000.0, 31250.0, 50000.0, 312500.0, 625000.0, 3125000.0,
                        10000000.0, 50000000.0})
        addWithNeighbours(V, float(edge), 3);
    addLogGrid(V, 1e-2, 1e9, 300);
    // For every pressure, the volumes whose product lands on a pV limit.
    for (float p : pressures) {
        if (p <= 0)
            continue;
        for (double limit : kAllPVLimits)
            addWithNeighbours(V, float(limit / p), 3);
    }
    sortUnique(V);
    return V;
}

// Where the two readings may part: the exact product lies below a pV limit
// but within half a single-precision step of it, so the window's pV, rounded
// to single precision as the rules ask, reaches the limit. The tables judge
// by that rounded pV, and they hold.
struct RoundingRegion
{
    const char *name;
    double limit;
    MediumGroup group;
    int hits = 0;
};

} // namespace

class TestStaircase : public QObject
{
    Q_OBJECT

private slots:
    void tablesFollowTheStaircase_data();
    void tablesFollowTheStaircase();
    void namedPoints_data();
    void namedPoints();
};

void TestStaircase::tablesFollowTheStaircase_data()
{
    QTest::addColumn<MediumGroup>("group");
    QTest::newRow("group 1") << MediumGroup::Group1;
    QTest::newRow("group 2") << MediumGroup::Group2;
}

void TestStaircase::tablesFollowTheStaircase()
{
    QFETCH(MediumGroup, group);

    std::vector<RoundingRegion> regions = {
        {"pV rounds up to 2.5 below 25 L", 2.5, group},
        {"pV rounds up to 50000", 5e4, MediumGroup::Group1},
        {"pV rounds up to 1000000", 1e6, MediumGroup::Group1},
        {"pV rounds up to 500000", 5e5, MediumGroup::Group2},
        {"pV rounds up to 5000000", 5e6, MediumGroup::Group2},
    };
    std::erase_if(regions, [&](const RoundingRegion &r) { return r.group != group; });

    const std::vector<float> ps = pressures();
    const std::vector<float> Vs = volumes(ps);
    QVERIFY(Vs.size() > 5000);

    long points = 0;
    for (float p : ps) {
        for (float V : Vs) {
            ++points;
            // The exact product, and pV as the program forms it.
            const double exact = double(p) * double(V);
            const float rounded = formVessel(p, V, 1, CheckState::On, CheckState::Off, group).pV;
            const ClassResult table = tables(group, p, V);
            if (table == staircase(group, p, V, exact))
                continue;

            // Read with the rounded product, the staircase must give the table's class.
            const auto region = std::find_if(regions.begin(), regions.end(), [&](auto &r) {
                return exact < r.limit && double(rounded) >= r.limit;
            });
            if (region == regions.end() || table != staircase(group, p, V, double(rounded)))
                QFAIL(qPrintable(
                    QStringLiteral("p = %1, V = %2: the tables give %3, the "
                                   "staircase %4, outside every named region")
                        .arg(double(p), 0, 'g', 9)
                        .arg(double(V), 0, 'g', 9)
                        .arg(resultText(table), resultText(staircase(group, p, V, exact)))));
            ++region->hits;
        }
    }
    QVERIFY(points > 1'000'000);
    // Every named region is met on the grid, so none is named in vain.
    for (const RoundingRegion &region : regions)
        QVERIFY2(region.hits > 0, region.name);
}

void TestStaircase::namedPoints_data()
{
    QTest::addColumn<MediumGroup>("group");
    QTest::addColumn<float>("p");
    QTest::addColumn<float>("V");

    using test::below;
    // pV = 1.6 × 31249.998 is 49999.9976 exactly and rounds to 49999.996: both
    // readings stay below the limit, so both give class Ⅱ.
    QTest::newRow("group 1, p 1.6, V just below 31250")
        << MediumGroup::Group1 << 1.6f << below(31250.0f);
    QTest::newRow("group 1, p just below 10, V just below 5000")
        << MediumGroup::Group1 << below(10.0f) << below(5000.0f);
    QTest::newRow("group 1, p 0.1, V just below 10000000")
        << MediumGroup::Group1 << 0.1f << below(1e7f);
    QTest::newRow("group 2, p 1.6, V just below 312500")
        << MediumGroup::Group2 << 1.6f << below(312500.0f);
    QTest::newRow("group 2, p just below 1.6, V just below 3125000")
        << MediumGroup::Group2 << below(1.6f) << below(3125000.0f);
    QTest::newRow("group 2, p 0.1, V just below 50000000")
        << MediumGroup::Group2 << 0.1f << below(5e7f);
}

// Just below a band edge the two readings agree, however the product rounds.
void TestStaircase::namedPoints()
{
    QFETCH(MediumGroup, group);
    QFETCH(float, p);
    QFETCH(float, V);

    QCOMPARE(tables(group, p, V), staircase(group, p, V, double(p) * double(V)));
}

QTEST_GUILESS_MAIN(TestStaircase)
#include "tst_staircase.moc"
