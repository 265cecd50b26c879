// Builds the Debian package with CPack into a scratch folder, reads its
// control fields and contents with dpkg-deb, and has lintian judge it.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "installedfiles.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QString runOrFail(const QString &program, const QStringList &arguments, bool *ok)
{
    QProcess process;
    process.start(program, arguments);
    *ok = process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit &&
          process.exitCode() == 0;
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    return *ok ? out : out + QString::fromUtf8(process.readAllStandardError());
}

} // namespace

class TestPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void controlFields_data();
    void controlFields();
    void dependsOn_data();
    void dependsOn();
    void contents_data();
    void contents();
    void everythingUnderUsr();
    void executableHasNoRunPath();
    void everyFileHasTheSourceTime();
    void programNamesNoFolderOfTheBuild_data();
    void programNamesNoFolderOfTheBuild();
    void lintianFindsNothing();

private:
    QString field(const QString &name);

    QTemporaryDir m_dir;
    QString m_deb;
    QStringList m_contents;
};

void TestPackage::initTestCase()
{
    QVERIFY(m_dir.isValid());
    bool ok = false;
    const QString log =
        runOrFail(QStringLiteral(KORVANE_CPACK),
                  {u"-G"_s, u"DEB"_s, u"--config"_s,
                   QStringLiteral(KORVANE_BINARY_DIR "/CPackConfig.cmake"), u"-B"_s, m_dir.path()},
                  &ok);
    QVERIFY2(ok, qPrintable(log));
    const QStringList debs = QDir(m_dir.path()).entryList({u"*.deb"_s}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_deb = QDir(m_dir.path()).filePath(debs.front());

    const QString listing = runOrFail(u"dpkg-deb"_s, {u"--contents"_s, m_deb}, &ok);
    QVERIFY2(ok, qPrintable(listing));
    // "-rwxr-xr-x root/root 12345 2026-01-01 00:00 ./usr/bin/korvane"
    for (const QString &line : listing.split(u'\n', Qt::SkipEmptyParts))
        m_contents.append(line.section(u' ', -1));
}

QString TestPackage::field(const QString &name)
{
    bool ok = false;
    const QString value = runOrFail(u"dpkg-deb"_s, {u"--field"_s, m_deb, name}, &ok);
    return ok ? value.trimmed() : QString();
}

void TestPackage::controlFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    bool ok = false;
    const QString arch = runOrFail(u"dpkg"_s, {u"--print-architecture"_s}, &ok).trimmed();
    QTest::newRow("Package") << u"Package"_s << u"korvane"_s;
    QTest::newRow("Version") << u"Version"_s << QStringLiteral(KORVANE_VERSION_STRING);
    QTest::newRow("Architecture") << u"Architecture"_s << arch;
}

void TestPackage::controlFields()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(field(name), expected);
}

void TestPackage::dependsOn_data()
{
    // The libraries come from dpkg-shlibdeps, which reads the executable;
    // the font and the platform plugins are named by hand. A package missing
    // here would leave the program unable to start, or drawing empty boxes
    // for Chinese text.
    QTest::addColumn<QString>("package");
    for (const char *name : {"libqt6widgets6", "libqt6gui6", "libqt6core6", "libstdc++6", "libc6",
                             "fonts-arphic-gbsn00lp", "qt6-qpa-plugins"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestPackage::dependsOn()
{
    QFETCH(QString, package);
    QStringList names;
    for (const QString &item : field(u"Depends"_s).split(u',', Qt::SkipEmptyParts))
        names.append(item.trimmed().section(u' ', 0, 0));
    QVERIFY2(names.contains(package), qPrintable(names.join(u", ")));
}

void TestPackage::contents_data()
{
    korvane::test::addInstalledFileRows(u"./usr/"_s);
}

void TestPackage::contents()
{
    QFETCH(QString, path);
    QVERIFY2(m_contents.contains(path), qPrintable(m_contents.join(u'\n')));
}

void TestPackage::everythingUnderUsr()
{
    // Packages own /usr; /usr/local and /opt belong to the administrator.
    for (const QString &path : std::as_const(m_contents))
        QVERIFY2(path == u"./" || path == u"./usr/" || path.startsWith(u"./usr/"),
                 qPrintable(path));
}

void TestPackage::executableHasNoRunPath()
{
    // Our libraries are linked in and Qt's lie where the loader looks anyway:
    // a run path would only add folders, $ORIGIN's or the current one, from
    // which a same-named library could be loaded instead.
    QTemporaryDir root;
    QVERIFY(root.isValid());
    bool ok = false;
    const QString log = runOrFail(u"dpkg-deb"_s, {u"--extract"_s, m_deb, root.path()}, &ok);
    QVERIFY2(ok, qPrintable(log));
    const QString dynamic = runOrFail(QStringLiteral(KORVANE_READELF),
                                      {u"-d"_s, root.filePath(u"usr/bin/korvane"_s)}, &ok);
    QVERIFY2(ok, qPrintable(dynamic));
    QVERIFY2(dynamic.contains(u"(NEEDED)"_s), qPrintable(dynamic));
    QVERIFY2(!dynamic.contains(u"PATH)"_s), qPrintable(dynamic));
}

void TestPackage::everyFileHasTheSourceTime()
{
    // The same commit must give the same package: every file and folder in
    // it, and its control files, carry the time SOURCE_DATE_EPOCH gives, or
    // else the commit's, rather than the time of the build.
    qint64 expected = qEnvironmentVariableIntValue("SOURCE_DATE_EPOCH");
    if (!qEnvironmentVariableIsSet("SOURCE_DATE_EPOCH")) {
        bool ok = false;
        const QString time = runOrFail(
            u"git"_s,
            {u"-C"_s, QStringLiteral(KORVANE_SOURCE_DIR), u"log"_s, u"-1"_s, u"--format=%ct"_s},
            &ok);
        if (!ok)
            QSKIP("neither SOURCE_DATE_EPOCH nor a git checkout gives the time to expect");
        expected = time.trimmed().toLongLong();
    }
    QTemporaryDir root;
    QVERIFY(root.isValid());
    bool ok = false;
    for (const auto &[how, into] :
         {std::pair{u"--extract"_s, u"data"_s}, {u"--control"_s, u"control"_s}}) {
        const QString log = runOrFail(u"dpkg-deb"_s, {how, m_deb, root.filePath(into)}, &ok);
        QVERIFY2(ok, qPrintable(log));
    }
    int files = 0;
    QDirIterator it(root.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        if (info.path() == root.path())
            continue; // the folders made to extract into
        QVERIFY2(info.lastModified().toSecsSinceEpoch() == expected,
                 qPrintable(u"%1: %2, not %3"_s.arg(info.filePath())
                                .arg(info.lastModified().toSecsSinceEpoch())
                                .arg(expected)));
        ++files;
    }
    QVERIFY(files > 10);
}

void TestPackage::programNamesNoFolderOfTheBuild_data()
{
    // A path of the checkout in the program (through __FILE__ or the debug
    // information) makes two checkouts of one commit build different bytes.
    QTest::addColumn<QString>("folder");
    QTest::newRow("source") << QStringLiteral(KORVANE_SOURCE_DIR);
    QTest::newRow("build") << QStringLiteral(KORVANE_BINARY_DIR);
}

void TestPackage::programNamesNoFolderOfTheBuild()
{
    QFETCH(QString, folder);
#ifdef __SANITIZE_ADDRESS__
    // GCC 12's sanitizers record each source's absolute path whatever the
    // prefix maps say; a release is never built with them.
    QSKIP("a sanitized build names its sources by their absolute paths");
#endif
    // The program as built, before its debug information is stripped.
    QFile program(QStringLiteral(KORVANE_PROGRAM));
    QVERIFY2(program.open(QIODevice::ReadOnly), qPrintable(program.fileName()));
    const QByteArray bytes = program.readAll();
    QVERIFY(bytes.size() > 100000);
    QVERIFY2(!bytes.contains(QDir::cleanPath(folder).toUtf8()), qPrintable(folder));
}

void TestPackage::lintianFindsNothing()
{
    const QString lintian = QStringLiteral(KORVANE_LINTIAN);
    QVERIFY2(!lintian.isEmpty(), "lintian was not found when CMake ran; `make deps` installs it");
    QProcess process;
    process.start(lintian, {u"--fail-on"_s, u"error,warning"_s, m_deb});
    QVERIFY(process.waitForFinished(600000));
    const QString tags = QString::fromUtf8(process.readAllStandardOutput());
    // Pedantic and informational tags (P:, I:) are opinions; errors and warnings are not.
    QVERIFY2(!tags.contains(QRegularExpression(u"^[EW]: "_s, QRegularExpression::MultilineOption)),
             qPrintable(tags));
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             qPrintable(tags + QString::fromUtf8(process.readAllStandardError())));
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
