#pragma once

// What `cmake --install` and the Debian package put on a Linux system,
// relative to the prefix: where freedesktop.org's menus, icon themes and
// AppStream look for them.
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace korvane::test {

namespace installed {

using namespace Qt::Literals::StringLiterals;

// Written out: a changed id would orphan installed desktop entries.
inline const QString appId = u"com.example.Korvane"_s;

inline QString desktopEntry()
{
    return u"share/applications/%1.desktop"_s.arg(appId);
}

inline QString metainfo()
{
    return u"share/metainfo/%1.metainfo.xml"_s.arg(appId);
}

inline QString pngIcon(int size)
{
    return u"share/icons/hicolor/%1x%1/apps/%2.png"_s.arg(size).arg(appId);
}

inline QString scalableIcon()
{
    return u"share/icons/hicolor/scalable/apps/%1.svg"_s.arg(appId);
}

inline const QString manualPage = u"share/man/man1/korvane.1.gz"_s;
inline const QString copyright = u"share/doc/korvane/copyright"_s;
inline const QString changelog = u"share/doc/korvane/changelog.gz"_s;
inline const QString guide = u"share/doc/korvane/guide.md"_s;
inline const QString changes = u"share/doc/korvane/CHANGELOG.md"_s;

// The pictures that the guide (KORVANE_GUIDE, docs/guide.md) shows, by the
// names it gives them: they must lie beside it.
inline QStringList guidePictures()
{
    QFile file(QStringLiteral(KORVANE_GUIDE));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", KORVANE_GUIDE);
    static const QRegularExpression picture(uR"(!\[[^\]]*\]\(([^)]+)\))"_s);
    QStringList names;
    for (const auto &match : picture.globalMatch(QString::fromUtf8(file.readAll())))
        names.append(match.captured(1));
    return names;
}

} // namespace installed

// One data row per installed file, in a column "path" holding `root` and
// the file's place below the prefix.
inline void addInstalledFileRows(const QString &root)
{
    using namespace Qt::Literals::StringLiterals;
    QTest::addColumn<QString>("path");
    QTest::newRow("executable") << root + u"bin/korvane"_s;
    QTest::newRow("desktop entry") << root + installed::desktopEntry();
    QTest::newRow("AppStream record") << root + installed::metainfo();
    QTest::newRow("icon 16") << root + installed::pngIcon(16);
    QTest::newRow("icon 32") << root + installed::pngIcon(32);
    QTest::newRow("icon scalable") << root + installed::scalableIcon();
    QTest::newRow("manual page") << root + installed::manualPage;
    QTest::newRow("copyright") << root + installed::copyright;
    QTest::newRow("changelog") << root + installed::changelog;
    QTest::newRow("guide") << root + installed::guide;
    QTest::newRow("changes") << root + installed::changes;
    const QStringList pictures = installed::guidePictures();
    QVERIFY2(!pictures.isEmpty(), "docs/guide.md shows no pictures");
    for (const QString &name : pictures)
        QTest::newRow(qPrintable(u"guide's "_s + name)) << root + u"share/doc/korvane/"_s + name;
}

} // namespace korvane::test
