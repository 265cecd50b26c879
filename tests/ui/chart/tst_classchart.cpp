// The class chart: its areas against the rules, the vessel's point against
// its values, and the whole chart against reviewed pictures.
#include "reviewedpicture.h"
#include "vessels.h"

#include "classchart.h"
#include "fonts.h"

#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace korvane;
using namespace Qt::Literals::StringLiterals;
namespace chart = korvane::ui::chart;

Q_DECLARE_METATYPE(MediumGroup)
Q_DECLARE_METATYPE(VesselInput)

namespace {

// Where a pixel lies as the chart lays it out: the title above the p axis's
// title, the caption below the V axis's; in the plot, the class areas' fills
// apart from what is drawn over them.
QString chartPart(QPoint at, QRgb drawn, QRgb reviewed)
{
    const QRectF plot = ui::chartGeometry().plot();
    if (at.y() < plot.top() - 20)
        return u"the title"_s;
    if (at.y() >= plot.bottom() + 36)
        return u"the caption"_s;
    if (!plot.contains(at))
        return u"the axes and margins"_s;
    const auto fill = [](QRgb colour) {
        for (int k = 0; k < 4; ++k) {
            if (colour == chart::classColour(ClassResult(k)))
                return true;
        }
        return false;
    };
    return fill(drawn) && fill(reviewed) ? u"the plot's areas"_s
                                         : u"the plot's labels, limit lines and point"_s;
}

} // namespace

class TestClassChart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ui::registerFontSubstitutes(); }
    void areasFollowTheRules_data();
    void areasFollowTheRules();
    void pointLiesAtItsValues_data();
    void pointLiesAtItsValues();
    void looksAsReviewed_data();
    void looksAsReviewed();
};

void TestClassChart::areasFollowTheRules_data()
{
    QTest::addColumn<VesselInput>("in");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("tableAlone"); // nothing in scope: the chart shows the group table
    using enum MediumGroup;
    const VesselInput lowWorking =
        formVessel(2, 1000, 0.25, CheckState::On, CheckState::Off, Group1);
    const VesselInput clause14 = formVessel(1, 100, 1, CheckState::On, CheckState::On, Group2);
    const VesselInput noMedium = formVessel(1, 100, 1, CheckState::Off, CheckState::Off, Group2);
    QTest::newRow("group 1") << test::vessel(2, 10000, 2, Group1) << 1.0 << false;
    QTest::newRow("group 1, ratio 2") << test::vessel(2, 10000, 2, Group1) << 2.0 << false;
    QTest::newRow("group 2") << test::vessel(0.5f, 2e5f, 0.5f, Group2) << 1.0 << false;
    QTest::newRow("group 1, pw cuts the map") << lowWorking << 1.0 << false;
    QTest::newRow("group 2, clause 1.4, ratio 2") << clause14 << 2.0 << false;
    QTest::newRow("group 2, the table alone") << noMedium << 1.0 << true;
}

// Every pixel of the plot shows the colour of the class the rules give the
// vessel moved there, its pw and answers kept (the group table alone, in
// scope, where nothing is), except within 1.5 pixels of a change of class,
// where the fill's edge may fall on either side.
void TestClassChart::areasFollowTheRules()
{
    QFETCH(VesselInput, in);
    QFETCH(qreal, ratio);
    QFETCH(bool, tableAlone);

    const chart::Geometry geometry = ui::chartGeometry();
    QImage image(ui::chartSize() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    QPainter painter(&image);
    const ClassMap map = classMap(in);
    ui::paintClassAreas(painter, geometry, map);
    painter.end();

    const auto classAt = [&](QPointF at) {
        const float p = float(geometry.pressureAt(at.y())), V = float(geometry.volumeAt(at.x()));
        return decideVessel(
                   tableAlone ? formVessel(p, V, 1e30, CheckState::On, CheckState::Off, in.group)
                              : formVessel(p, V, in.pw, in.mediumState, in.clause14State, in.group))
            .result;
    };
    constexpr double edge = 1.5;
    const QRectF inner = geometry.plot().adjusted(edge, edge, -edge, -edge);
    int judged[4] = {};
    int wrong = 0;
    QString firstWrong;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QPointF at = QPointF(x + 0.5, y + 0.5) / ratio;
            if (!inner.contains(at))
                continue;
            const ClassResult expected = classAt(at);
            bool nearChange = false;
            for (const double dx : {-edge, 0.0, edge}) {
                for (const double dy : {-edge, 0.0, edge})
                    nearChange = nearChange || classAt(at + QPointF(dx, dy)) != expected;
            }
            if (nearChange)
                continue;
            ++judged[int(expected)];
            if (image.pixel(x, y) != chart::classColour(expected) && wrong++ == 0) {
                firstWrong = QString::asprintf(
                    "first at p = %g MPa, V = %g L: #%06x, not the colour of class %d",
                    geometry.pressureAt(at.y()), geometry.volumeAt(at.x()),
                    image.pixel(x, y) & 0xffffffu, int(expected));
            }
        }
    }
    QVERIFY2(wrong == 0, qPrintable(u"%1 pixels wrong, %2"_s.arg(wrong).arg(firstWrong)));
    QVERIFY2(std::count_if(std::begin(judged), std::end(judged), [](int n) { return n > 100; }) >=
                 2,
             "fewer than two classes judged");
}

void TestClassChart::pointLiesAtItsValues_data()
{
    QTest::addColumn<float>("p");
    QTest::addColumn<float>("V");
    QTest::addColumn<qreal>("ratio");

    QTest::newRow("inside") << 1.6f << 31250.0f << 1.0;
    QTest::newRow("inside, ratio 2") << 0.3f << 7.0f << 2.0;
    QTest::newRow("class I, group 2 limit") << 1.5f << 25.0f << 1.0;
    QTest::newRow("V beyond the right edge") << 2.0f << 1e12f << 1.0;
    QTest::newRow("p beyond the top, ratio 2") << 5000.0f << 100.0f << 2.0;
    QTest::newRow("V zero: the left edge") << 1.0f << 0.0f << 1.0;
    QTest::newRow("p negative, V tiny: the corner") << -1.0f << 1e-6f << 1.0;
}

// The point's disc, the only thing in its colour, is centred where a log axis
// puts its values (the plot spans its decades evenly, V to the right, p
// upwards), or on the edge where they lie beyond.
void TestClassChart::pointLiesAtItsValues()
{
    QFETCH(float, p);
    QFETCH(float, V);
    QFETCH(qreal, ratio);

    const VesselInput in = test::vessel(p, V, p, MediumGroup::Group1);
    const QImage image = ui::drawClassChart(classMap(in), decideVessel(in), ratio);
    QCOMPARE(image.size(), ui::chartSize() * ratio);
    QRect disc;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == chart::kPointColour)
                disc |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(disc.width() >= 7 * ratio && disc.height() >= 7 * ratio);
    const QPointF found = QRectF(disc).center() / ratio;

    const chart::Geometry geometry = ui::chartGeometry();
    const QRectF plot = geometry.plot();
    const auto share = [](float value, const chart::Decades &axis) {
        const double lg = value > 0 ? std::log10(value) : -INFINITY;
        return (std::clamp(lg, double(axis.low), double(axis.high)) - axis.low) / axis.count();
    };
    const QPointF expected(plot.left() + share(V, geometry.volumeDecades()) * plot.width(),
                           plot.bottom() - share(p, geometry.pressureDecades()) * plot.height());
    QVERIFY2(QLineF(found, expected).length() <= 1.0,
             qPrintable(u"found %1,%2, expected %3,%4"_s.arg(found.x())
                            .arg(found.y())
                            .arg(expected.x())
                            .arg(expected.y())));
}

void TestClassChart::looksAsReviewed_data()
{
    QTest::addColumn<VesselInput>("in");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QString>("file");

    using enum MediumGroup;
    using enum CheckState;
    const VesselInput noMedium = formVessel(1, 100, 1, Off, Off, Group1);
    const VesselInput clause14 = formVessel(5, 1000, 5, On, On, Group2);
    const VesselInput lowWorking = formVessel(2, 15, 0.25, On, Off, Group1);
    // Every class of both groups, both captions of the rules that decide
    // without the chart, the arrows out of the plot, both pixel ratios.
    QTest::newRow("group 1, class I")
        << test::vessel(1, 10, 1, Group1) << 1.0 << u"group1-class1.png"_s;
    QTest::newRow("group 1, class II, ratio 2")
        << test::vessel(0.5f, 1000, 0.5f, Group1) << 2.0 << u"group1-class2-ratio2.png"_s;
    QTest::newRow("group 1, class III")
        << test::vessel(1.6f, 31250, 1.6f, Group1) << 1.0 << u"group1-class3.png"_s;
    QTest::newRow("group 1, in no row")
        << test::vessel(30, 0.09f, 30, Group1) << 1.0 << u"group1-no-row.png"_s;
    QTest::newRow("group 1, scope test") << noMedium << 1.0 << u"group1-scope.png"_s;
    QTest::newRow("group 1, pw cuts the map") << lowWorking << 1.0 << u"group1-low-pw.png"_s;
    QTest::newRow("group 1, V beyond the right")
        << test::vessel(2, 1e12f, 2, Group1) << 1.0 << u"group1-beyond-right.png"_s;
    QTest::newRow("group 2, class I")
        << test::vessel(1, 1000, 1, Group2) << 1.0 << u"group2-class1.png"_s;
    QTest::newRow("group 2, class II")
        << test::vessel(5, 1000, 5, Group2) << 1.0 << u"group2-class2.png"_s;
    QTest::newRow("group 2, class III, ratio 2")
        << test::vessel(20, 100, 20, Group2) << 2.0 << u"group2-class3-ratio2.png"_s;
    QTest::newRow("group 2, clause 1.4") << clause14 << 1.0 << u"group2-clause14.png"_s;
    QTest::newRow("group 2, p beyond the top, ratio 2")
        << test::vessel(5000, 100, 5000, Group2) << 2.0 << u"group2-beyond-top-ratio2.png"_s;
}

void TestClassChart::looksAsReviewed()
{
    QFETCH(VesselInput, in);
    QFETCH(qreal, ratio);
    QFETCH(QString, file);

    // The chart's unusual characters, as a probe of the faces that draw them.
    const QString sample = u"压力容器分类图——第二组介质 p（MPa）Ⅰ Ⅱ Ⅲ 类外；pV = 2.5 MPa·L，"_s;
    if (const QString other = test::otherSetting({{sample, ui::songFont(9)}}); !other.isEmpty())
        QSKIP(qPrintable(u"the reviewed pictures cannot be drawn here: "_s + other));
    const QString difference =
        test::differenceFromReviewed(ui::drawClassChart(classMap(in), decideVessel(in), ratio),
                                     QStringLiteral(KORVANE_PICTURES_DIR) + u'/' + file, chartPart);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

QTEST_MAIN(TestClassChart)
#include "tst_classchart.moc"
