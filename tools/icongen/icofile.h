// Turns the icon's source into a Windows .ico file and into plain images.
#pragma once

#include "iconsource.h"

#include <QByteArray>
#include <QImage>

namespace korvane::icongen {

// A .ico file with one image per picture, in the source's order: palette
// bitmaps with their AND masks, as every version of Windows reads them.
QByteArray encodeIco(const IconSource &source);

// The picture in true colour, transparent where its mask is set.
QImage renderPicture(const IconSource &source, const Picture &picture);

} // namespace korvane::icongen
