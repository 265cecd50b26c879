// Renders each window offscreen into a PNG, for machines without a display
// and for the pictures in docs/, the class chart of one vessel of each medium
// group, and the calculator holding a result with its tooltip showing.
// Usage: korvane-screenshots OUTPUT_DIR
#include "classchart.h"
#include "controltable.h"
#include "startup.h"
#include "windowmanager.h"

#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using korvane::ui::findControl;
using korvane::ui::WindowName;

namespace {

// The offscreen platform's own screen is 800 × 600, where Qt would lift the
// tooltip above the cursor; an ordinary desktop has room for it below.
QByteArray desktopPlatform(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(u"screen.json"_s);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return "offscreen";
    file.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1920,
                 "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    return "offscreen:configfile=" + QFile::encodeName(path);
}

// What a user does: click into the box, select what it holds, type the
// number as the locale writes it (1,5 in German), which is how the
// calculator reads it.
void type(QLineEdit *box, double number)
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, locale.toString(number, 'f', QLocale::FloatingPointShortest));
}

// The calculator after 计算, with the mouse resting on the result: the window
// and the tooltip at their places on the screen, on a plain backdrop.
QImage calculatorWithTooltip(QWidget *calculator, QTextStream &err)
{
    calculator->move(200, 100);
    calculator->show();
    calculator->activateWindow();
    QApplication::processEvents();

    type(findControl<QLineEdit>(*calculator, u"Text4"), 1.5);
    type(findControl<QLineEdit>(*calculator, u"Text1"), 1.5);
    type(findControl<QLineEdit>(*calculator, u"Text2"), 1000);
    QTest::mouseClick(findControl<QRadioButton>(*calculator, u"Option1"), Qt::LeftButton);
    // An entry the calculator refuses opens a message box: close it rather
    // than wait for a user.
    QTimer::singleShot(0, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    QTest::mouseClick(findControl<QPushButton>(*calculator, u"Command1"), Qt::LeftButton);

    QLineEdit *result = findControl<QLineEdit>(*calculator, u"Text3");
    const QPoint hover = result->rect().center();
    QHelpEvent help(QEvent::ToolTip, hover, result->mapToGlobal(hover));
    QApplication::sendEvent(result, &help);

    QWidget *tip = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QTipLabel") && widget->isVisible())
            tip = widget;
    }
    if (!tip) {
        err << "no tooltip over the result \"" << result->text() << "\"\n";
        return {};
    }

    constexpr int kMargin = 24;
    const QRect window = calculator->geometry();
    const QRect area =
        window.united(tip->geometry()).adjusted(-kMargin, -kMargin, kMargin, kMargin);
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(QColor(0x80, 0x80, 0x80));
    QPainter painter(&image);
    painter.drawImage(window.topLeft() - area.topLeft(), calculator->grab().toImage());
    painter.drawImage(tip->pos() - area.topLeft(), tip->grab().toImage());
    tip->hide();
    calculator->hide();
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    const QTemporaryDir platformDir;
    qputenv("QT_QPA_PLATFORM", desktopPlatform(platformDir));
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
        if (image.isNull() || !image.save(path)) {
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
        using korvane::CheckState;
        const auto in = korvane::formVessel(chart.p, chart.V, chart.p, CheckState::On,
                                            CheckState::Off, chart.group);
        const auto map = korvane::classMap(in);
        if (!save(korvane::ui::drawClassChart(map, korvane::decideVessel(in), 1), chart.file))
            return 1;
    }

    // Last, as it leaves the calculator holding a result.
    if (!save(calculatorWithTooltip(windows.window(WindowName::form1), err),
              u"calculator-chart.png"_s))
        return 1;
    return 0;
}
