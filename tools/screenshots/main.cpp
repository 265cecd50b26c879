// Renders each window offscreen into a PNG, for machines without a display
// and for the pictures in docs/. Usage: korvane-screenshots OUTPUT_DIR
#include "app/startup.h"
#include "app/windowmanager.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <QWidget>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using korvane::ui::WindowName;

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: korvane-screenshots OUTPUT_DIR\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(u"."_s)) {
        err << "cannot create " << out.path() << '\n';
        return 1;
    }

    korvane::configureApplication();
    korvane::WindowManager windows;
    const struct
    {
        WindowName name;
        QString file;
    } shots[] = {
        {WindowName::form1, u"calculator.png"_s},
        {WindowName::Form2, u"page-1.png"_s},
        {WindowName::Form3, u"page-2.png"_s},
    };
    for (const auto &shot : shots) {
        QWidget *window = windows.window(shot.name);
        window->show();
        QApplication::processEvents();
        const QString path = out.filePath(shot.file);
        if (!window->grab().save(path)) {
            err << "cannot write " << path << '\n';
            return 1;
        }
        window->hide();
        QTextStream(stdout) << path << '\n';
    }
    return 0;
}
