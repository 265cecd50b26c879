#include "identity.h"

#include <QGuiApplication>

using namespace Qt::Literals::StringLiterals;

namespace korvane {

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 32})
        icon.addFile(u":/icons/korvane-%1.png"_s.arg(size), QSize(size, size));
    return icon;
}

void applyIdentity()
{
    QCoreApplication::setApplicationName(u"Korvane"_s);
    QCoreApplication::setOrganizationName(u"Korvane"_s);
    QCoreApplication::setOrganizationDomain(u"example.com"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION_STRING));
    // Lets Wayland compositors and docks match the windows to the installed
    // desktop entry and its icon. No display name: Qt would append it to
    // every window title.
    QGuiApplication::setDesktopFileName(QStringLiteral(KORVANE_APP_ID));
    // Windows created later inherit it, the reference pages included.
    QGuiApplication::setWindowIcon(applicationIcon());
}

} // namespace korvane
