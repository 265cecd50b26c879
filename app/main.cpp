#include "identity.h"
#include "translation.h"
#include "windowmanager.h"

#include "ui/common/fonts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    korvane::applyIdentity();
    korvane::installQtTranslation();
    korvane::ui::registerFontSubstitutes();

    korvane::WindowManager windows;
    windows.showWindow(korvane::ui::WindowName::form1);
    return app.exec();
}
