#include "identity.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>

using namespace Qt::Literals::StringLiterals;

namespace korvane {

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 32}) {
        // Read as PNG by name: QIcon::addFile would have the reader guess
        // the format, which loads every image-format plugin at start-up.
        QImageReader reader(u":/icons/korvane-%1.png"_s.arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
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
