// Turns the icon's source into a Windows .ico file.
#pragma once

#include "iconsource.h"

#include <QByteArray>

namespace korvane::icongen {

// A .ico file with one image per picture, in the source's order: palette
// bitmaps with their AND masks, as every version of Windows reads them.
QByteArray encodeIco(const ui::IconSource &source);

} // namespace korvane::icongen
