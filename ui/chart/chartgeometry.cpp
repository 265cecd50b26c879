#include "chartgeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvane::ui::chart {

namespace {

using rules::Band;
using rules::TableRow;

// The bands of a row with the quantity each bounds.
struct RowBand
{
    Quantity quantity;
    const Band *band;
};

std::array<RowBand, 3> bandsOf(const TableRow &row)
{
    return {{{Quantity::V, &row.V}, {Quantity::p, &row.p}, {Quantity::pV, &row.pV}}};
}

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

// Every limit a table names, once each, in the order the table names them.
struct Limit
{
    Quantity quantity;
    float value;

    friend bool operator==(const Limit &, const Limit &) = default;
};

std::vector<Limit> limitsOf(std::span<const TableRow> table)
{
    std::vector<Limit> limits;
    const auto add = [&limits](Limit limit) {
        if (std::find(limits.begin(), limits.end(), limit) == limits.end())
            limits.push_back(limit);
    };
    for (const TableRow &row : table) {
        for (const RowBand &b : bandsOf(row)) {
            if (b.band->hasLower())
                add({b.quantity, b.band->atLeast});
            if (b.band->hasUpper())
                add({b.quantity, b.band->below});
        }
    }
    return limits;
}

// Whole decades around [low, high], with one to spare on each side.
Decades decadesAround(double low, double high)
{
    return {int(std::floor(std::log10(low))) - 1, int(std::ceil(std::log10(high))) + 1};
}

} // namespace

Geometry::Geometry(QPointF origin, double pixelsPerDecade) : m_scale(pixelsPerDecade)
{
    // The V axis holds every V limit; the p axis every p limit and every
    // corner where a pV limit meets a V limit of its row.
    constexpr double inf = std::numeric_limits<double>::infinity();
    double lowV = inf, highV = 0, lowP = inf, highP = 0;
    const auto takeV = [&](double v) {
        lowV = std::min(lowV, v);
        highV = std::max(highV, v);
    };
    const auto takeP = [&](double p) {
        lowP = std::min(lowP, p);
        highP = std::max(highP, p);
    };
    for (const MediumGroup group : {MediumGroup::Group1, MediumGroup::Group2}) {
        for (const TableRow &row : rules::groupTable(group)) {
            for (const float V : {row.V.atLeast, row.V.below}) {
                if (std::isfinite(V))
                    takeV(V);
            }
            for (const float p : {row.p.atLeast, row.p.below}) {
                if (std::isfinite(p))
                    takeP(p);
            }
            for (const float pV : {row.pV.atLeast, row.pV.below}) {
                for (const float V : {row.V.atLeast, row.V.below}) {
                    if (std::isfinite(pV) && std::isfinite(V))
                        takeP(double(pV) / V);
                }
            }
        }
    }
    m_V = decadesAround(lowV, highV);
    m_p = decadesAround(lowP, highP);
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
    for (const RowBand &b : bandsOf(row)) {
        const QPointF n = normalOf(b.quantity);
        if (b.band->hasLower())
            area = clip(area, {n, std::log10(b.band->atLeast)});
        if (b.band->hasUpper())
            area = clip(area, {-n, -std::log10(b.band->below)});
    }
    QPolygonF pixels;
    for (const QPointF &q : area)
        pixels << toPixelLog(q.x(), q.y());
    return pixels;
}

std::vector<LimitLine> Geometry::limitLines(MediumGroup group) const
{
    const double x0 = m_V.low, x1 = m_V.high, y0 = m_p.low, y1 = m_p.high;
    const std::vector<Limit> limits = limitsOf(rules::groupTable(group));
    std::vector<LimitLine> lines;
    for (const Limit &limit : limits) {
        // The limit's line across the plot, in the log plane.
        const double c = std::log10(limit.value);
        QPointF from, to;
        bool crosses = false;
        switch (limit.quantity) {
        case Quantity::V:
            from = {c, y0};
            to = {c, y1};
            crosses = c > x0 && c < x1;
            break;
        case Quantity::p:
            from = {x0, c};
            to = {x1, c};
            crosses = c > y0 && c < y1;
            break;
        case Quantity::pV:
            from.rx() = std::max(x0, c - y1);
            to.rx() = std::min(x1, c - y0);
            from.ry() = c - from.x();
            to.ry() = c - to.x();
            crosses = from.x() < to.x();
            break;
        }
        if (!crosses)
            continue;

        // Cut it where other limits cross it, and keep the pieces that part
        // two classes; neighbouring kept pieces join.
        std::vector<double> cuts{0, 1};
        const QPointF along = to - from;
        for (const Limit &other : limits) {
            const HalfPlane line{normalOf(other.quantity), std::log10(other.value)};
            const double across = line.normal.x() * along.x() + line.normal.y() * along.y();
            if (across == 0)
                continue;
            const double t = -line.side(from) / across;
            if (t > 0 && t < 1)
                cuts.push_back(t);
        }
        std::sort(cuts.begin(), cuts.end());

        const QPointF n = normalOf(limit.quantity);
        const QPointF step = n * (1e-3 / std::hypot(n.x(), n.y()));
        const auto classAt = [group](QPointF q) {
            return chartClass(group, float(std::pow(10.0, q.y())), float(std::pow(10.0, q.x())));
        };
        // Pieces too short to see come from limits that meet at one corner
        // (pV = 50000 and p = 10 at V = 5000) and part nothing.
        std::vector<std::pair<double, double>> pieces;
        const double length = std::hypot(along.x(), along.y());
        for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
            if ((cuts[i + 1] - cuts[i]) * length > 1e-6)
                pieces.emplace_back(cuts[i], cuts[i + 1]);
        }
        std::optional<double> start;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const auto [t0, t1] = pieces[i];
            const QPointF middle = from + along * ((t0 + t1) / 2);
            const bool parts = classAt(middle - step) != classAt(middle + step);
            if (parts && !start)
                start = t0;
            if (start && (!parts || i + 1 == pieces.size())) {
                const double end = parts ? t1 : t0;
                const QPointF a = from + along * *start, b = from + along * end;
                lines.push_back({limit.quantity, limit.value,
                                 QLineF(toPixelLog(a.x(), a.y()), toPixelLog(b.x(), b.y()))});
                start.reset();
            }
        }
    }
    return lines;
}

VesselInput vesselAt(MediumGroup group, float p, float V)
{
    VesselInput in;
    in.p = p;
    in.V = V;
    in.pV = p * V;
    in.pw = p;
    in.pwV = double(p) * double(V);
    in.mediumState = CheckState::On;
    in.clause14State = CheckState::Off;
    in.group = group;
    return in;
}

ClassResult chartClass(MediumGroup group, float p, float V)
{
    return classifyVessel(vesselAt(group, p, V));
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

std::array<std::optional<QPointF>, 4> classLabelSpots(const Geometry &geometry, MediumGroup group,
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
            classes[std::size_t(r * columns + c)] = chartClass(
                group, float(geometry.pressureAt(q.y())), float(geometry.volumeAt(q.x())));
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
