// The geometry of the class chart: where p and V fall on its logarithmic
// axes, the area of each table row, the limit lines between classes and the
// colour of each class. Pure computation, no painting, so that it can be
// checked on its own.
#pragma once

#include "classify/ruletables.h"
#include "classify/vessel.h"

#include <QLineF>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QRgb>

#include <array>
#include <optional>
#include <vector>

namespace korvane::ui::chart {

// A logarithmic axis over whole decades, [low, high] as powers of ten.
struct Decades
{
    int low = 0;
    int high = 0;

    int count() const { return high - low; }
};

// Which quantity a limit bounds.
enum class Quantity
{
    V,
    p,
    pV,
};

// A limit line of a group table where it parts two classes, as drawn.
struct LimitLine
{
    Quantity quantity;
    float value;   // as held in the table
    QLineF pixels; // the part that parts two classes, within the plot
};

class Geometry
{
public:
    // Axes that hold every limit of both group tables, with a decade to spare
    // on each side; the plot's top-left corner lies at `origin`.
    Geometry(QPointF origin, double pixelsPerDecade);

    const Decades &volumeDecades() const { return m_V; }
    const Decades &pressureDecades() const { return m_p; }
    QRectF plot() const { return m_plot; }

    // V grows to the right, p upwards. Values beyond the axes map beyond the plot.
    QPointF toPixel(double p, double V) const;
    // The inverse of toPixel.
    double pressureAt(double y) const;
    double volumeAt(double x) const;

    // The area of a table row within the plot; empty if it lies outside.
    QPolygonF rowArea(const rules::TableRow &row) const;

    // The lines between areas of different class, one for each stretch of a
    // limit, ordered as the table names the limits.
    std::vector<LimitLine> limitLines(MediumGroup group) const;

private:
    QPointF toPixelLog(double x, double y) const;

    Decades m_V;
    Decades m_p;
    double m_scale;
    QRectF m_plot;
};

// The vessel the chart shows at (p, V): working pressure equal to the design
// pressure, the medium question ticked, clause 1.4 not; and its class.
VesselInput vesselAt(MediumGroup group, float p, float V);
ClassResult chartClass(MediumGroup group, float p, float V);

// The fill colour of a class's area, and the colour of the vessel's point,
// which no area has.
QRgb classColour(ClassResult result);
inline constexpr QRgb kPointColour = qRgb(0, 51, 204);

// Where to centre each class's name: the middle of the widest part of its
// area, found on a grid of `cell` pixels; none where the class has no area.
std::array<std::optional<QPointF>, 4> classLabelSpots(const Geometry &geometry, MediumGroup group,
                                                      double cell);

} // namespace korvane::ui::chart
