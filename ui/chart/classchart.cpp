#include "classchart.h"

#include "fonts.h"
#include "quantity.h"
#include "reason.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace korvane::ui {

namespace {

using chart::LimitLine;

constexpr double kPixelsPerDecade = 40;
constexpr QPointF kPlotOrigin{46, 42}; // room for the title and the p axis
constexpr double kRightMargin = 24;    // an arrow out of the plot, the last V tick label
constexpr double kBottomMargin = 54;   // V ticks, the V axis title, the caption
constexpr double kLabelCell = 10;      // grid on which the class names are placed

constexpr QRgb kInk = qRgb(32, 32, 32);
constexpr QRgb kLimitInk = qRgb(64, 64, 64);
constexpr QRgb kFrame = qRgb(128, 128, 128);
constexpr QRgb kChangeInk = qRgb(0, 102, 204); // the dashed lines, a lighter blue than the point

// The Song face at a size in pixels at 96 dpi.
QFont face(int pixels)
{
    return songFont(pixels * 72.0 / 96.0);
}

QSizeF textSize(const QFont &font, const QString &text)
{
    return QFontMetricsF(font).size(Qt::TextSingleLine, text) + QSizeF(4, 0);
}

// Keeps labels inside the plot, off each other and off the lines: of the
// candidate boxes, the first that covers least is taken.
class LabelPlacer
{
public:
    explicit LabelPlacer(QRectF bounds) : m_bounds(bounds) {}

    // A line to keep clear; a weight above 1 keeps it clearer than a limit line.
    void avoid(const QLineF &line, double weight = 1) { m_lines.push_back({line, weight}); }

    // A box to keep clear; a weight above 1 keeps it clearer than a label.
    void reserve(const QRectF &box, double weight = 1) { m_taken.push_back({box, weight}); }

    QRectF place(const std::vector<QRectF> &candidates)
    {
        const auto best = std::min_element(
            candidates.begin(), candidates.end(),
            [this](const QRectF &a, const QRectF &b) { return cover(a) < cover(b); });
        reserve(*best);
        return *best;
    }

private:
    static double area(const QRectF &box) { return box.width() * box.height(); }

    static bool crosses(const QLineF &line, const QRectF &box)
    {
        if (box.contains(line.p1()) || box.contains(line.p2()))
            return true;
        const QLineF edges[] = {{box.topLeft(), box.topRight()},
                                {box.topRight(), box.bottomRight()},
                                {box.bottomRight(), box.bottomLeft()},
                                {box.bottomLeft(), box.topLeft()}};
        return std::any_of(std::begin(edges), std::end(edges), [&line](const QLineF &edge) {
            return line.intersects(edge, nullptr) == QLineF::BoundedIntersection;
        });
    }

    // Area hidden by the box, in square pixels; the plot's edge and other
    // labels weigh most.
    double cover(const QRectF &box) const
    {
        double covered = 10 * (area(box) - area(box & m_bounds));
        const QRectF spaced = box.adjusted(-2, -2, 2, 2);
        for (const auto &[taken, weight] : m_taken)
            covered += 10 * weight * area(spaced & taken);
        const QRectF inner = box.adjusted(1, 1, -1, -1);
        for (const auto &[line, weight] : m_lines)
            covered += crosses(line, inner) ? 100 * weight : 0;
        return covered;
    }

    QRectF m_bounds;
    std::vector<std::pair<QRectF, double>> m_taken;
    std::vector<std::pair<QLineF, double>> m_lines;
};

// Boxes beside a limit line at a few places along it, on either side.
std::vector<QRectF> besideLine(const LimitLine &line, QSizeF size)
{
    const double w = size.width(), h = size.height();
    std::vector<QRectF> boxes;
    for (const double t : {0.5, 0.35, 0.65, 0.2, 0.8, 0.1, 0.9}) {
        const QPointF at = line.pixels.pointAt(t);
        switch (line.limit.quantity) {
        case Quantity::V:
            boxes.emplace_back(QPointF(at.x() + 3, at.y() - h / 2), size);
            boxes.emplace_back(QPointF(at.x() - 3 - w, at.y() - h / 2), size);
            break;
        case Quantity::p:
            boxes.emplace_back(QPointF(at.x() - w / 2, at.y() - 2 - h), size);
            boxes.emplace_back(QPointF(at.x() - w / 2, at.y() + 2), size);
            break;
        case Quantity::pV: // falls to the right: the corners above right and below left are free
            boxes.emplace_back(QPointF(at.x() + 2, at.y() - 2 - h), size);
            boxes.emplace_back(QPointF(at.x() - 2 - w, at.y() + 2), size);
            break;
        case Quantity::pw:
        case Quantity::pwV:
            break;
        }
    }
    return boxes;
}

// Boxes at the four corners around a point.
std::vector<QRectF> aroundPoint(QPointF at, QSizeF size, double gap)
{
    const double w = size.width(), h = size.height();
    return {QRectF(QPointF(at.x() + gap, at.y() - gap - h), size),
            QRectF(QPointF(at.x() - gap - w, at.y() - gap - h), size),
            QRectF(QPointF(at.x() + gap, at.y() + gap), size),
            QRectF(QPointF(at.x() - gap - w, at.y() + gap), size)};
}

void drawLabel(QPainter &painter, const QRectF &box, const QString &text, const QFont &font)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawRoundedRect(box, 2, 2);
    painter.setFont(font);
    painter.setPen(QColor(kInk));
    painter.drawText(box, Qt::AlignCenter, text);
}

// A power of ten as "10" with a raised exponent; 1 and 10 as they are.
void drawDecade(QPainter &painter, int exponent, QPointF at, Qt::Alignment align)
{
    const QFont base = face(12);
    const QFont raised = face(9);
    const QString digits = exponent == 0 ? u"1"_s : u"10"_s;
    const QString power = exponent == 0 || exponent == 1 ? QString() : QString::number(exponent);
    const double baseWidth = QFontMetricsF(base).horizontalAdvance(digits);
    const double width = baseWidth + QFontMetricsF(raised).horizontalAdvance(power);
    const double height = QFontMetricsF(base).height();
    QPointF topLeft = at - QPointF(width / 2, 0);
    if (align & Qt::AlignRight)
        topLeft = at - QPointF(width, height / 2);
    painter.setPen(QColor(kInk));
    painter.setFont(base);
    const double baseline = topLeft.y() + QFontMetricsF(base).ascent() + 3;
    painter.drawText(QPointF(topLeft.x(), baseline), digits);
    painter.setFont(raised);
    painter.drawText(QPointF(topLeft.x() + baseWidth, baseline - 6), power);
}

void drawAxes(QPainter &painter, const chart::Geometry &geometry)
{
    const QRectF plot = geometry.plot();
    const chart::Decades V = geometry.volumeDecades(), p = geometry.pressureDecades();
    painter.setPen(QPen(QColor(0, 0, 0, 28), 0));
    for (int k = V.low; k <= V.high; ++k) {
        const double x = geometry.toPixel(1, std::pow(10.0, k)).x();
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom() + 3));
        drawDecade(painter, k, QPointF(x, plot.bottom() + 3), Qt::AlignHCenter);
        painter.setPen(QPen(QColor(0, 0, 0, 28), 0));
    }
    for (int k = p.low; k <= p.high; ++k) {
        const double y = geometry.toPixel(std::pow(10.0, k), 1).y();
        painter.drawLine(QPointF(plot.left() - 3, y), QPointF(plot.right(), y));
        drawDecade(painter, k, QPointF(plot.left() - 5, y), Qt::AlignRight);
        painter.setPen(QPen(QColor(0, 0, 0, 28), 0));
    }
    painter.setPen(QPen(QColor(kFrame), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    painter.setPen(QColor(kInk));
    painter.setFont(face(12));
    const auto title = [](Quantity quantity) {
        return u"%1 %2（%3）"_s.arg(quantityName(quantity), quantitySymbol(quantity),
                                    quantityUnit(quantity));
    };
    painter.drawText(QRectF(4, 22, plot.width(), 16), Qt::AlignLeft | Qt::AlignVCenter,
                     title(Quantity::p));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 19, plot.width(), 16), Qt::AlignCenter,
                     title(Quantity::V));
}

// Where the vessel's point goes: at its p and V, or held to the plot's edge
// where they lie beyond the axes, with the way out (zero when inside).
struct PointPlace
{
    QPointF at;
    QPointF beyond;
};

PointPlace pointPlace(const chart::Geometry &geometry, const VesselInput &in)
{
    const auto clampLog = [](float value, const chart::Decades &axis, double *beyond) {
        const double lg = value > 0 ? std::log10(double(value)) : -HUGE_VAL;
        *beyond = lg < axis.low ? -1 : lg > axis.high ? 1 : 0;
        return std::clamp(lg, double(axis.low), double(axis.high));
    };
    double beyondV = 0, beyondP = 0;
    const double lgV = clampLog(in.V, geometry.volumeDecades(), &beyondV);
    const double lgP = clampLog(in.p, geometry.pressureDecades(), &beyondP);
    return {geometry.toPixel(std::pow(10.0, lgP), std::pow(10.0, lgV)), {beyondV, -beyondP}};
}

// The point on top of everything, with an arrow outwards if held to the edge.
void drawPoint(QPainter &painter, const PointPlace &place)
{
    const QPointF at = place.at;
    if (!place.beyond.isNull()) {
        const QPointF way = place.beyond / std::hypot(place.beyond.x(), place.beyond.y());
        const QPointF tip = at + way * 18;
        const QPointF back = -way * 6, side(-way.y() * 4, way.x() * 4);
        painter.setPen(QPen(QColor(kInk), 1.5));
        painter.drawLine(at + way * 6, tip);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(kInk));
        painter.drawPolygon(QPolygonF{tip, tip + back + side, tip + back - side});
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(at, 6.5, 6.5);
    painter.setBrush(QColor(chart::kPointColour));
    painter.drawEllipse(at, 4.5, 4.5);
}

// Dashed, from the vessel's point to the nearest change of class along V
// and along p, where that lies within the axes.
std::vector<QLineF> changeLines(const chart::Geometry &geometry, const ClassMap &map,
                                ClassResult own, QPointF point)
{
    const VesselInput &in = map.vessel;
    const QRectF axes = geometry.plot().adjusted(-0.5, -0.5, 0.5, 0.5);
    std::vector<QLineF> lines;
    for (const Quantity along : {Quantity::V, Quantity::p}) {
        const Neighbours near = neighboursAlong(map, own, along);
        for (const std::optional<Neighbour> &change : {near.below, near.above}) {
            if (!change)
                continue;
            const QPointF end = along == Quantity::V ? geometry.toPixel(in.p, change->value)
                                                     : geometry.toPixel(change->value, in.V);
            if (axes.contains(end))
                lines.emplace_back(point, end);
        }
    }
    return lines;
}

// The plot with room for the labels around it.
QSize sizeAround(const chart::Geometry &geometry)
{
    const QRectF plot = geometry.plot();
    return QSize(int(std::ceil(plot.right() + kRightMargin)),
                 int(std::ceil(plot.bottom() + kBottomMargin)));
}

} // namespace

QSize chartSize()
{
    return sizeAround(chartGeometry());
}

chart::Geometry chartGeometry()
{
    return chart::Geometry(kPlotOrigin, kPixelsPerDecade);
}

void paintClassAreas(QPainter &painter, const chart::Geometry &geometry, const ClassMap &map)
{
    // Unsmoothed, so that neighbouring areas of one class show no seam.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.fillRect(geometry.plot(), QColor(chart::classColour(ClassResult::OutOfClass)));
    // Last area first: where areas overlap, the one the rules try first shows.
    for (auto row = map.areas.rbegin(); row != map.areas.rend(); ++row) {
        painter.setBrush(QColor(chart::classColour(row->result)));
        painter.drawPolygon(geometry.rowArea(*row));
    }
}

QImage drawClassChart(const ClassMap &map, const Decision &decision, qreal devicePixelRatio)
{
    const VesselInput &in = map.vessel;
    const chart::Geometry geometry = chartGeometry();
    const QRectF plot = geometry.plot();
    const QSize size = sizeAround(geometry);
    QImage image(size * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);

    paintClassAreas(painter, geometry, map);
    drawAxes(painter, geometry);

    // Smoothing costs most on lines and only the slanting ones need it.
    const std::vector<LimitLine> lines = geometry.limitLines(map);
    painter.setPen(QPen(QColor(kLimitInk), 1.2));
    for (const LimitLine &line : lines) {
        painter.setRenderHint(QPainter::Antialiasing, line.limit.quantity == Quantity::pV);
        painter.drawLine(line.pixels);
    }
    const PointPlace point = pointPlace(geometry, in);
    const std::vector<QLineF> changes = changeLines(geometry, map, decision.result, point.at);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(kChangeInk), 1, Qt::DashLine));
    for (const QLineF &line : changes)
        painter.drawLine(line);
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setPen(QColor(kInk));
    painter.setFont(face(14));
    painter.drawText(QRectF(0, 2, size.width(), 18), Qt::AlignCenter,
                     u"压力容器分类图——%1"_s.arg(groupName(in.group)));
    painter.setFont(face(12));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 36, plot.width(), 16),
                     Qt::AlignLeft | Qt::AlignVCenter, chartCaption(map, decision));

    // Labels: the class names where their areas are widest, then the
    // vessel's values, then the limits, each kept clear of the ones before
    // and of the lines, the thin dashed ones most.
    LabelPlacer placer(plot.adjusted(1, 1, -1, -1));
    for (const LimitLine &line : lines)
        placer.avoid(line.pixels);
    for (const QLineF &line : changes)
        placer.avoid(line, 20);
    const QFont classFont = face(16);
    const auto spots = chart::classLabelSpots(geometry, map, kLabelCell);
    for (std::size_t k = 0; k < spots.size(); ++k) {
        if (!spots[k])
            continue;
        const QString mark = classMark(ClassResult(k));
        QRectF box(QPointF(), textSize(classFont, mark));
        box.moveCenter(*spots[k]);
        placer.reserve(box);
        painter.setFont(classFont);
        painter.setPen(QColor(kInk));
        painter.drawText(box, Qt::AlignCenter, mark);
    }

    const QPointF at = point.at;
    const QFont labelFont = face(12);
    const QString values = valueText(Quantity::p, in.p) + u'，' + valueText(Quantity::V, in.V);
    placer.reserve(QRectF(at - QPointF(8, 8), QSizeF(16, 16)), 10);
    drawLabel(painter, placer.place(aroundPoint(at, textSize(labelFont, values), 7)), values,
              labelFont);

    for (const LimitLine &line : lines) {
        const Limit rule = map.ruleLimit(line.limit);
        const QString text = valueText(rule.quantity, rule.value);
        drawLabel(painter, placer.place(besideLine(line, textSize(labelFont, text))), text,
                  labelFont);
    }
    drawPoint(painter, point);
    return image;
}

} // namespace korvane::ui
