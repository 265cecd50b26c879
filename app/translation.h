// Qt's own texts in the program's language.
#pragma once

namespace korvane {

// Installs Qt's Simplified Chinese catalogue, so that the text boxes' menu and
// the message box's button read as Chinese as the rest of the program,
// whatever the system's language. Number conversion keeps following the
// user's locale. Without the catalogue Qt's texts stay in English.
void installQtTranslation();

} // namespace korvane
