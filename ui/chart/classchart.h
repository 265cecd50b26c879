// The class chart: design pressure p against volume V on logarithmic axes,
// the areas of the four classes as the vessel's group table gives them, the
// limit lines between them, and the vessel's point.
#pragma once

#include "chartgeometry.h"
#include "classmap.h"
#include "decision.h"
#include "vessel.h"

#include <QImage>

class QPainter;

namespace korvane::ui {

// The chart's size in pixels at 96 dpi, and where its plot lies.
QSize chartSize();
chart::Geometry chartGeometry();

// The whole chart for a vessel's class map and decideVessel's decision on
// the map's vessel, drawn for a screen of the given device pixel ratio (2
// draws twice the pixels at the same size): the map with the lines between
// its classes, the vessel's point, and dashed lines from it to the nearest
// change of class along V and along p.
QImage drawClassChart(const ClassMap &map, const Decision &decision, qreal devicePixelRatio);

// The class areas alone, as the chart fills them.
void paintClassAreas(QPainter &painter, const chart::Geometry &geometry, const ClassMap &map);

} // namespace korvane::ui
