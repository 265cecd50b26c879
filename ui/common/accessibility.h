// What screen readers are told beyond what the widgets say of themselves.
#pragma once

#include <QString>

class QWidget;

namespace korvane::ui {

// Gives a window a name of its own for screen readers and the role of a
// window (Qt reports a plain top-level widget as a filler). The title shown
// in the title bar stays as it is.
void nameWindowForScreenReaders(QWidget &window, const QString &name);

} // namespace korvane::ui
