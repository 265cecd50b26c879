// What the program tells the desktop about itself: its name, its maker, its
// version and the icon that every window shows.
#pragma once

#include <QIcon>

namespace korvane {

// Call once the QApplication exists. Sets names only: the program writes no
// settings under them.
void applyIdentity();

// The application icon, from the pictures compiled into the executable.
QIcon applicationIcon();

} // namespace korvane
