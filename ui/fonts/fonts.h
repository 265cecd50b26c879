// The Song face every window's text is set in.
#pragma once

#include <QFont>
#include <QString>

namespace korvane::ui {

// The family the windows ask for; where it is missing a substitute with the
// same metrics stands in (full-width characters one em, ASCII half an em).
QString songFamily();

// Registers the stand-ins for the Song face. Call once, before any window.
void registerFontSubstitutes();

// The Song face at a size in points. The size is set in pixels at 96 dpi,
// the resolution the twips layouts assume, so text keeps its proportion to
// the boxes on any screen.
QFont songFont(double points);

} // namespace korvane::ui
