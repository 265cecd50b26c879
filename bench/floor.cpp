// The floor of the start-up benchmark: the least a window of ours can do.
// One top-level window of the calculator's size holding one label in the
// calculator's face and size, after the same font set-up; nothing else. The
// label gets its box as the calculator's labels do: left to size itself, it
// would lay out its text and load its font before the window is mapped.
#include "fonts.h"
#include "twips.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    korvane::ui::registerFontSubstitutes();

    QWidget window;
    window.resize(korvane::ui::twipsSize(7140, 9855));
    QLabel label(u"结果：本设备属于"_s, &window);
    label.setFont(korvane::ui::songFont(14.25));
    label.setGeometry(korvane::ui::twipsRect(480, 6240, 2415, 405));
    window.show();
    return app.exec();
}
