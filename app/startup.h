// Everything the program sets up before its first window, in one place, so
// that main() and the tests run the same start-up.
#pragma once

namespace korvane {

// Call once, after the QApplication exists and before any window is created:
// the Song face's stand-ins, the program's identity (name, version, icon) and
// Qt's own texts in Chinese.
void configureApplication();

} // namespace korvane
