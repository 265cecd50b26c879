// `cmake --install` into a scratch prefix, then the installed desktop entry,
// icons and AppStream record are checked where a Linux desktop looks for them.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include "installedfiles.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using korvane::test::installed::appId;

struct RunResult
{
    bool started = false;
    int exitCode = -1;
    QString output;
};

RunResult run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    RunResult result;
    result.started =
        process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

bool hasChinese(const QString &s)
{
    return std::any_of(s.cbegin(), s.cend(),
                       [](QChar c) { return c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff; });
}

} // namespace

class TestDesktopIntegration : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void installedFiles_data();
    void installedFiles();
    void pngIconsFitTheirFolder_data();
    void pngIconsFitTheirFolder();
    void scalableIconIsSquareSvg();
    void validators_data();
    void validators();
    void desktopEntryPointsAtInstalledFiles();
    void desktopEntryIsTranslated_data();
    void desktopEntryIsTranslated();
    void metainfoMatchesDesktopEntry();

private:
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }
    QString desktopPath() const { return installed(korvane::test::installed::desktopEntry()); }
    QString metainfoPath() const { return installed(korvane::test::installed::metainfo()); }

    QTemporaryDir m_prefix;
    QHash<QString, QString> m_entry; // the [Desktop Entry] group
};

void TestDesktopIntegration::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    const RunResult install =
        run(QStringLiteral(KORVANE_CMAKE),
            {u"--install"_s, QStringLiteral(KORVANE_BINARY_DIR), u"--prefix"_s, m_prefix.path()});
    QVERIFY2(install.started && install.exitCode == 0, qPrintable(install.output));

    QFile desktop(desktopPath());
    QVERIFY2(desktop.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(desktopPath()));
    bool inEntry = false;
    for (const QString &line : QString::fromUtf8(desktop.readAll()).split(u'\n')) {
        if (line.startsWith(u'['))
            inEntry = line == u"[Desktop Entry]";
        else if (inEntry && line.contains(u'=') && !line.startsWith(u'#'))
            m_entry.insert(line.section(u'=', 0, 0).trimmed(), line.section(u'=', 1).trimmed());
    }
    QVERIFY(!m_entry.isEmpty());
}

void TestDesktopIntegration::installedFiles_data()
{
    korvane::test::addInstalledFileRows({});
}

void TestDesktopIntegration::installedFiles()
{
    QFETCH(QString, path);
    const QFileInfo info(installed(path));
    QVERIFY2(info.isFile(), qPrintable(path));
    QVERIFY(info.size() > 0);
    if (path.startsWith(u"bin/"))
        QVERIFY(info.isExecutable());
}

void TestDesktopIntegration::pngIconsFitTheirFolder_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16x16") << 16;
    QTest::newRow("32x32") << 32;
}

void TestDesktopIntegration::pngIconsFitTheirFolder()
{
    QFETCH(int, size);
    const QString path = installed(korvane::test::installed::pngIcon(size));
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), QSize(size, size));
    // Transparent around the drawing, so that it sits on any panel colour.
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

void TestDesktopIntegration::scalableIconIsSquareSvg()
{
    QFile file(installed(korvane::test::installed::scalableIcon()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name(), u"svg");
    QCOMPARE(xml.namespaceUri(), u"http://www.w3.org/2000/svg");
    const QStringList box =
        xml.attributes().value(u"viewBox"_s).toString().split(u' ', Qt::SkipEmptyParts);
    QCOMPARE(box.size(), 4);
    QVERIFY(box[2].toDouble() > 0);
    QCOMPARE(box[2].toDouble(), box[3].toDouble());
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
}

void TestDesktopIntegration::validators_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("package");
    QTest::newRow("desktop-file-validate") << QStringLiteral(KORVANE_DESKTOP_FILE_VALIDATE)
                                           << QStringList{desktopPath()} << u"desktop-file-utils"_s;
    QTest::newRow("appstreamcli validate")
        << QStringLiteral(KORVANE_APPSTREAMCLI)
        << QStringList{u"validate"_s, u"--no-net"_s, metainfoPath()} << u"appstream"_s;
}

void TestDesktopIntegration::validators()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, package);
    QVERIFY2(!program.isEmpty(),
             qPrintable(u"not found when CMake ran; `make deps` installs %1"_s.arg(package)));
    const RunResult result = run(program, arguments);
    QVERIFY2(result.started, qPrintable(program));
    QVERIFY2(result.exitCode == 0, qPrintable(result.output));
    // Hints may come and go between versions; errors and warnings may not.
    static const QRegularExpression complaint(u"\\b(error|warning)\\b|^[EW]: "_s,
                                              QRegularExpression::MultilineOption);
    QVERIFY2(!complaint.match(result.output).hasMatch(), qPrintable(result.output));
}

void TestDesktopIntegration::desktopEntryPointsAtInstalledFiles()
{
    QCOMPARE(m_entry.value(u"Type"_s), u"Application"_s);
    QCOMPARE(m_entry.value(u"Name"_s), u"Korvane"_s);

    const QString exec = m_entry.value(u"Exec"_s).section(u' ', 0, 0);
    QVERIFY2(QFileInfo(installed(u"bin/"_s + exec)).isExecutable(), qPrintable(exec));

    // The icon is named, not given by path, and the theme holds it at every size.
    const QString icon = m_entry.value(u"Icon"_s);
    QVERIFY(!icon.isEmpty() && !icon.contains(u'/'));
    for (const QString &folder : {u"16x16"_s, u"32x32"_s, u"scalable"_s}) {
        const QDir apps(installed(u"share/icons/hicolor/%1/apps"_s.arg(folder)));
        const QStringList matches = apps.entryList({icon + u".*"_s}, QDir::Files);
        QVERIFY2(matches.size() == 1, qPrintable(folder));
    }
}

void TestDesktopIntegration::desktopEntryIsTranslated_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("Name") << u"Name"_s;
    QTest::newRow("Comment") << u"Comment"_s;
}

void TestDesktopIntegration::desktopEntryIsTranslated()
{
    QFETCH(QString, key);
    QVERIFY(!m_entry.value(key).isEmpty());
    const QString chinese = m_entry.value(key + u"[zh_CN]"_s);
    QVERIFY2(hasChinese(chinese), qPrintable(key + u"[zh_CN] = "_s + chinese));
}

void TestDesktopIntegration::metainfoMatchesDesktopEntry()
{
    QFile file(metainfoPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString id, launchable, binary, release, chineseName;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        if (name == u"id")
            id = xml.readElementText();
        else if (name == u"launchable")
            launchable = xml.readElementText();
        else if (name == u"binary")
            binary = xml.readElementText();
        else if (name == u"release" && release.isEmpty())
            release = xml.attributes().value(u"version"_s).toString();
        else if (name == u"name" && xml.attributes().value(u"xml:lang"_s) == u"zh-CN")
            chineseName = xml.readElementText();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));

    QCOMPARE(id, appId);
    QCOMPARE(launchable, QFileInfo(desktopPath()).fileName());
    QCOMPARE(binary, m_entry.value(u"Exec"_s).section(u' ', 0, 0));
    QCOMPARE(release, QStringLiteral(KORVANE_VERSION_STRING));
    QVERIFY2(hasChinese(chineseName), qPrintable(chineseName));
}

QTEST_GUILESS_MAIN(TestDesktopIntegration)
#include "tst_desktopintegration.moc"
