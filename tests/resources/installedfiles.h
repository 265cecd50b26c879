#pragma once

// What `cmake --install` and the Debian package put on a Linux system,
// relative to the prefix: where freedesktop.org's menus, icon themes and
// AppStream look for them.
#include <QString>
#include <QtTest>

namespace korvane::test {

// One data row per installed file, in a column "path" holding `root` and
// the file's place below the prefix.
inline void addInstalledFileRows(const QString &root)
{
    using namespace Qt::Literals::StringLiterals;
    const QString id = QStringLiteral(KORVANE_APP_ID);
    QTest::addColumn<QString>("path");
    QTest::newRow("executable") << root + u"bin/korvane"_s;
    QTest::newRow("desktop entry") << root + u"share/applications/%1.desktop"_s.arg(id);
    QTest::newRow("AppStream record") << root + u"share/metainfo/%1.metainfo.xml"_s.arg(id);
    QTest::newRow("icon 16") << root + u"share/icons/hicolor/16x16/apps/%1.png"_s.arg(id);
    QTest::newRow("icon 32") << root + u"share/icons/hicolor/32x32/apps/%1.png"_s.arg(id);
    QTest::newRow("icon scalable") << root + u"share/icons/hicolor/scalable/apps/%1.svg"_s.arg(id);
}

} // namespace korvane::test
