// Renders each window offscreen into a PNG, for machines without a display
// and for the pictures in docs/, and the class chart of one vessel of each
// medium group. Usage: korvane-screenshots OUTPUT_DIR
#include "app/startup.h"
#include "app/windowmanager.h"
#include "ui/chart/classchart.h"

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

    const auto save = [&out, &err](const QImage &image, const QString &file) {
        const QString path = out.filePath(file);
        if (!image.save(path)) {
            err << "cannot write " << path << '\n';
            return false;
        }
        QTextStream(stdout) << path << '\n';
        return true;
    };

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
        if (!save(window->grab().toImage(), shot.file))
            return 1;
        window->hide();
    }

    // The chart as the tooltip shows it at 96 dpi.
    const struct
    {
        float p, V;
        korvane::MediumGroup group;
        QString file;
    } charts[] = {
        {2, 10000, korvane::MediumGroup::Group1, u"class-chart-1.png"_s},
        {0.5f, 2e5f, korvane::MediumGroup::Group2, u"class-chart-2.png"_s},
    };
    for (const auto &chart : charts) {
        const auto in = korvane::ui::chart::vesselAt(chart.group, chart.p, chart.V);
        if (!save(korvane::ui::drawClassChart(in, korvane::decideVessel(in), 1), chart.file))
            return 1;
    }
    return 0;
}
