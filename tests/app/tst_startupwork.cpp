// What start-up loads before the calculator is on the screen: nothing that
// its first window does not need.
#include "app/identity.h"
#include "app/windowmanager.h"
#include "ui/common/fonts.h"

#include <QFile>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestStartupWork : public QObject
{
    Q_OBJECT

private slots:
    void loadsNoImagePlugin();
};

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

    korvane::applyIdentity();
    korvane::ui::registerFontSubstitutes();
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
