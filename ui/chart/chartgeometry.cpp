#include "chartgeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvane::ui::chart {

namespace {

using rules::TableRow;

// In the log plane (x = lg V, y = lg p) a limit on V, p or pV is the line
// a·x + b·y = lg limit.
QPointF normalOf(Quantity quantity)
{
    switch (quantity) {
    case Quantity::V:
        return {1, 0};
    case Quantity::p:
        return {0, 1};
    case Quantity::pV:
        return {1, 1};
    case Quantity::pw:
    case Quantity::pwV:
        break;
    }
    return {};
}

// The side a·x + b·y ≥ c of a line in the log plane.
struct HalfPlane
{
    QPointF normal;
    double c;

    double side(QPointF q) const { return normal.x() * q.x() + normal.y() * q.y() - c; }
};

std::vector<QPointF> clip(const std::vector<QPointF> &polygon, const HalfPlane &half)
{
    std::vector<QPointF> out;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const QPointF prev = polygon[(i + polygon.size() - 1) % polygon.size()];
        const QPointF cur = polygon[i];
        const double sp = half.side(prev);
        const double sc = half.side(cur);
        if ((sp < 0) != (sc < 0))
            out.push_back(prev + (cur - prev) * (sp / (sp - sc)));
        if (sc >= 0)
            out.push_back(cur);
    }
    return out;
}

// Whole decades around a range, with one to spare on each side.
Decades decadesAround(const LimitRange &range)
{
    return {int(std::floor(std::log10(range.low))) - 1, int(std::ceil(std::log10(range.high))) + 1};
}

} // namespace

Geometry::Geometry(QPointF origin, double pixelsPerDecade) : m_scale(pixelsPerDecade)
{
    // The same axes for both groups, so that their charts compare.
    LimitRanges both;
    for (const MediumGroup group : {MediumGroup::Group1, MediumGroup::Group2}) {
        const LimitRanges ranges = limitRanges(tableMap(group));
        both.V.take(ranges.V);
        both.p.take(ranges.p);
    }
    m_V = decadesAround(both.V);
    m_p = decadesAround(both.p);
    m_plot = QRectF(origin, QSizeF(m_V.count() * m_scale, m_p.count() * m_scale));
}

QPointF Geometry::toPixelLog(double x, double y) const
{
    return {m_plot.left() + (x - m_V.low) * m_scale, m_plot.top() + (m_p.high - y) * m_scale};
}

QPointF Geometry::toPixel(double p, double V) const
{
    return toPixelLog(std::log10(V), std::log10(p));
}

double Geometry::pressureAt(double y) const
{
    return std::pow(10.0, m_p.high - (y - m_plot.top()) / m_scale);
}

double Geometry::volumeAt(double x) const
{
    return std::pow(10.0, m_V.low + (x - m_plot.left()) / m_scale);
}

QPolygonF Geometry::rowArea(const TableRow &row) const
{
    std::vector<QPointF> area = {{double(m_V.low), double(m_p.low)},
                                 {double(m_V.high), double(m_p.low)},
                                 {double(m_V.high), double(m_p.high)},
                                 {double(m_V.low), double(m_p.high)}};
    for (const auto &[quantity, band] :
         {std::pair{Quantity::V, row.V}, std::pair{Quantity::p, row.p},
          std::pair{Quantity::pV, row.pV}}) {
        const QPointF n = normalOf(quantity);
        if (band.hasLower())
            area = clip(area, {n, std::log10(band.atLeast)});
        if (band.hasUpper())
            area = clip(area, {-n, -std::log10(band.below)});
    }
    QPolygonF pixels;
    for (const QPointF &q : area)
        pixels << toPixelLog(q.x(), q.y());
    return pixels;
}

std::vector<LimitLine> Geometry::limitLines(const ClassMap &map) const
{
    const double x0 = m_V.low, x1 = m_V.high, y0 = m_p.low, y1 = m_p.high;
    std::vector<LimitLine> lines;
    for (const LimitStretch &stretch : classLimits(map)) {
        // The stretch in the log plane, cut to the plot: a limit on V runs
        // over p, one on p or pV over V.
        const double c = std::log10(stretch.limit.value);
        const double from = std::log10(stretch.from), to = std::log10(stretch.to);
        QPointF a, b;
        switch (stretch.limit.quantity) {
        case Quantity::V:
            a = {c, std::max(from, y0)};
            b = {c, std::min(to, y1)};
            if (c <= x0 || c >= x1 || a.y() >= b.y())
                continue;
            break;
        case Quantity::p:
            a = {std::max(from, x0), c};
            b = {std::min(to, x1), c};
            if (c <= y0 || c >= y1 || a.x() >= b.x())
                continue;
            break;
        case Quantity::pV:
            a.rx() = std::max({from, x0, c - y1});
            b.rx() = std::min({to, x1, c - y0});
            if (a.x() >= b.x())
                continue;
            a.ry() = c - a.x();
            b.ry() = c - b.x();
            break;
        case Quantity::pw:
        case Quantity::pwV:
            continue;
        }
        lines.push_back(
            {stretch.limit, QLineF(toPixelLog(a.x(), a.y()), toPixelLog(b.x(), b.y()))});
    }
    return lines;
}

QRgb classColour(ClassResult result)
{
    switch (result) {
    case ClassResult::OutOfClass:
        return qRgb(240, 240, 240);
    case ClassResult::ClassI:
        return qRgb(212, 237, 201);
    case ClassResult::ClassII:
        return qRgb(252, 232, 178);
    case ClassResult::ClassIII:
        return qRgb(246, 197, 191);
    }
    return qRgb(255, 255, 255);
}

std::array<std::optional<QPointF>, 4> classLabelSpots(const Geometry &geometry, const ClassMap &map,
                                                      double cell)
{
    const QRectF plot = geometry.plot();
    const int columns = int(plot.width() / cell);
    const int rows = int(plot.height() / cell);
    const auto centre = [&](int row, int column) {
        return plot.topLeft() + QPointF((column + 0.5) * cell, (row + 0.5) * cell);
    };
    std::vector<ClassResult> classes(std::size_t(rows * columns));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QPointF q = centre(r, c);
            classes[std::size_t(r * columns + c)] =
                map.classAt(float(geometry.pressureAt(q.y())), float(geometry.volumeAt(q.x())));
        }
    }

    // For each class, the cell farthest (in whole cells) from any other class
    // and from the plot's edge: two sweeps of a chessboard distance transform.
    std::array<std::optional<QPointF>, 4> spots;
    std::vector<int> distance(classes.size());
    for (int k = 0; k < 4; ++k) {
        const auto at = [&](int r, int c) {
            return (r < 0 || c < 0 || r >= rows || c >= columns)
                       ? 0
                       : distance[std::size_t(r * columns + c)];
        };
        for (std::size_t i = 0; i < classes.size(); ++i)
            distance[i] = int(classes[i]) == k ? std::numeric_limits<int>::max() : 0;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                int &d = distance[std::size_t(r * columns + c)];
                d = std::min({d, at(r - 1, c - 1) + 1, at(r - 1, c) + 1, at(r - 1, c + 1) + 1,
                              at(r, c - 1) + 1});
            }
        }
        int best = 0;
        for (int r = rows - 1; r >= 0; --r) {
            for (int c = columns - 1; c >= 0; --c) {
                int &d = distance[std::size_t(r * columns + c)];
                d = std::min({d, at(r + 1, c + 1) + 1, at(r + 1, c) + 1, at(r + 1, c - 1) + 1,
                              at(r, c + 1) + 1});
                if (d >= best && d > 0) {
                    best = d;
                    spots[std::size_t(k)] = centre(r, c);
                }
            }
        }
    }
    return spots;
}

} // namespace korvane::ui::chart
