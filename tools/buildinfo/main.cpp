// Writes what the scripts around a build read of it, one fact a line:
//   version 1.00                          the version as the program shows it
//   calculator-client 476x657             the calculator's client area, pixels at 96 dpi
//   control NAME LEFT TOP WIDTH HEIGHT    each row of the calculator's control table, twips
// from the table the window is built from, so that the Windows tests find
// the controls where the window puts them.
// Usage: korvane-buildinfo VERSION OUTFILE
#include "calculatorcontrols.h"
#include "twips.h"

#include <fstream>
#include <iostream>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::cerr << "usage: korvane-buildinfo VERSION OUTFILE\n";
        return 2;
    }
    std::ofstream out(argv[2]);
    using namespace korvane::ui;
    const QSize client = twipsSize(kCalculatorWidth, kCalculatorHeight);
    out << "version " << argv[1] << '\n'
        << "calculator-client " << client.width() << 'x' << client.height() << '\n';
    for (const ControlSpec &row : kCalculatorControls) {
        out << "control " << row.name.toUtf8().constData() << ' ' << row.left << ' ' << row.top
            << ' ' << row.width << ' ' << row.height << '\n';
    }
    out.close();
    if (!out) {
        std::cerr << "korvane-buildinfo: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
