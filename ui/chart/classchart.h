// The class chart: design pressure p against volume V on logarithmic axes,
// the areas of the four classes as the vessel's group table gives them, the
// limit lines between them, and the vessel's point.
#pragma once

#include "chartgeometry.h"
#include "classify/decision.h"
#include "classify/vessel.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

class QPainter;

namespace korvane::ui {

// The chart's size in pixels at 96 dpi, and where its plot lies.
QSize chartSize();
chart::Geometry chartGeometry();

// The whole chart for a vessel and decideVessel's decision on it, drawn for a
// screen of the given device pixel ratio (2 draws twice the pixels at the
// same size).
QImage drawClassChart(const VesselInput &input, const Decision &decision, qreal devicePixelRatio);

// The class areas alone, as the chart fills them.
void paintClassAreas(QPainter &painter, const chart::Geometry &geometry, MediumGroup group);

// An image in a format Qt writes ("PNG" for other programs; "BMP" for the
// program's own tooltip, as it costs no compression), or nothing where it
// cannot be written; and the HTML that carries it in a data: URL, sized in
// pixels at 96 dpi whatever the image's own resolution.
std::optional<QByteArray> encodeImage(const QImage &image, const char *format);
QString imageHtml(const QByteArray &encoded, const char *format, QSize size);

} // namespace korvane::ui
