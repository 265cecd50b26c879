// The program's own start-up, called as main() calls it: what it sets up,
// and what it loads before the calculator is on the screen (nothing that
// the first window does not need).
#include "app/startup.h"
#include "app/windowmanager.h"
#include "ui/common/fonts.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestStartupWork : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { korvane::configureApplication(); }
    void songFaceHasItsMetrics();
    void loadsNoImagePlugin();
};

// Without its stand-ins "宋体" falls back to whatever face the system has,
// with other widths, and every line of the windows moves.
void TestStartupWork::songFaceHasItsMetrics()
{
    const QFont font = korvane::ui::songFont(14.25);
    const QFontMetricsF metrics(font);
    const QString face = QFontInfo(font).family();
    const qreal em = metrics.horizontalAdvance(u'中');
    QVERIFY2(em == 19 && metrics.horizontalAdvance(u"pwV MPa"_s) == 7 * em / 2,
             qPrintable(u"\"宋体\" is drawn in %1, which lacks the Song face's widths: "
                        "are the font substitutes registered at start-up?"_s.arg(face)));
}

// The shared objects mapped into this process.
static QStringList mappedFiles()
{
    QFile maps(u"/proc/self/maps"_s);
    if (!maps.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList files;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const qsizetype slash = line.indexOf('/');
        if (slash >= 0)
            files.append(QString::fromLocal8Bit(line.mid(slash)));
    }
    files.removeDuplicates();
    return files;
}

// The window icon is decoded by name as PNG: left to guess the format, Qt
// loads every image-format plugin to ask it.
void TestStartupWork::loadsNoImagePlugin()
{
    if (mappedFiles().isEmpty())
        QSKIP("no /proc/self/maps here");

    korvane::WindowManager windows;
    windows.showWindow(korvane::ui::WindowName::form1);
    QVERIFY(QTest::qWaitForWindowExposed(windows.existingWindow(korvane::ui::WindowName::form1)));
    QVERIFY(!QApplication::windowIcon().isNull());

    for (const QString &file : mappedFiles()) {
        QVERIFY2(!file.contains(u"/imageformats/"_s), qPrintable(file));
        QVERIFY2(!file.contains(u"/iconengines/"_s), qPrintable(file));
    }
}

QTEST_MAIN(TestStartupWork)
#include "tst_startupwork.moc"
