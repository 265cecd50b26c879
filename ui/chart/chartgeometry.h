// The geometry of the class chart: where p and V fall on its logarithmic
// axes, the area of each part of a class map, the limit lines between
// classes and the colour of each class. Pure computation, no painting, so
// that it can be checked on its own.
#pragma once

#include "classmap.h"
#include "ruletables.h"
#include "vessel.h"

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

// A line between two classes of a map, as drawn.
struct LimitLine
{
    Limit limit;   // as the rules hold it
    QLineF pixels; // the part within the plot
};

class Geometry
{
public:
    // Axes that hold the limits of both group tables, with a decade to spare
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

    // The area of a table row, or of any area of a class map, within the
    // plot; empty if it lies outside.
    QPolygonF rowArea(const rules::TableRow &row) const;

    // The stretches of limits between classes that the plot shows, in the
    // order the map names the limits.
    std::vector<LimitLine> limitLines(const ClassMap &map) const;

private:
    QPointF toPixelLog(double x, double y) const;

    Decades m_V;
    Decades m_p;
    double m_scale;
    QRectF m_plot;
};

// The fill colour of a class's area, and the colour of the vessel's point,
// which no area has.
QRgb classColour(ClassResult result);
inline constexpr QRgb kPointColour = qRgb(0, 51, 204);

// Where to centre each class's name: the middle of the widest part of its
// area, found on a grid of `cell` pixels; none where the class has no area.
std::array<std::optional<QPointF>, 4> classLabelSpots(const Geometry &geometry, const ClassMap &map,
                                                      double cell);

} // namespace korvane::ui::chart
