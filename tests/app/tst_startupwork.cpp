// The program's own start-up, called as main() calls it: what it sets up,
// and what it loads before the calculator is on the screen (nothing that
// the first window does not need).
#include "startup.h"
#include "windowmanager.h"

#include <QApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestStartupWork : public QObject
{
    Q_OBJECT

private slots:
    void loadsNoImagePlugin();
};

// What Qt's plugin loader says it looks at, from before the application exists.
static QStringList pluginLoaderMessages;

static void recordMessage(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (qstrcmp(context.category, "qt.core.plugin.factoryloader") == 0)
        pluginLoaderMessages.append(message);
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

// The window icon is drawn from data, not decoded: any image reader first
// scans the image-format plugins, and one left to guess the format loads them.
void TestStartupWork::loadsNoImagePlugin()
{
    // QtTest has its own handler while the test runs.
    const QtMessageHandler testHandler = qInstallMessageHandler(recordMessage);
    korvane::configureApplication();
    korvane::WindowManager windows;
    windows.showWindow(korvane::ui::WindowName::form1);
    const bool exposed =
        QTest::qWaitForWindowExposed(windows.existingWindow(korvane::ui::WindowName::form1));
    qInstallMessageHandler(testHandler);
    QVERIFY(exposed);
    QVERIFY(!QApplication::windowIcon().isNull());

    QVERIFY2(!pluginLoaderMessages.isEmpty(), "the plugin loader's messages were not caught");
    for (const QString &message : std::as_const(pluginLoaderMessages)) {
        QVERIFY2(!message.contains(u"/imageformats"_s), qPrintable(message));
        QVERIFY2(!message.contains(u"/iconengines"_s), qPrintable(message));
    }

    if (mappedFiles().isEmpty())
        QSKIP("no /proc/self/maps here");
    for (const QString &file : mappedFiles()) {
        QVERIFY2(!file.contains(u"/imageformats/"_s), qPrintable(file));
        QVERIFY2(!file.contains(u"/iconengines/"_s), qPrintable(file));
    }
}

int main(int argc, char *argv[])
{
    QLoggingCategory::setFilterRules(u"qt.core.plugin.factoryloader.debug=true"_s);
    qInstallMessageHandler(recordMessage);
    QApplication app(argc, argv);
    TestStartupWork test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_startupwork.moc"
