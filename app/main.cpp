#include "startup.h"
#include "windowmanager.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    korvane::configureApplication();

    korvane::WindowManager windows;
    windows.showWindow(korvane::ui::WindowName::form1);
    return app.exec();
}
