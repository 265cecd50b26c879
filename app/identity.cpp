#include "identity.h"

#include "iconsource.h"

#include <QFile>
#include <QGuiApplication>
#include <QPixmap>

using namespace Qt::Literals::StringLiterals;

namespace korvane {

QIcon applicationIcon()
{
    // Drawn from the icon's text source, compiled in: decoding the PNGs would
    // go through QImageReader, which first scans every image-format plugin.
    // The 16-colour pictures are the ones the PNG files hold.
    QIcon icon;
    QFile file(u":/icons/korvane-icon.txt"_s);
    if (!file.open(QIODevice::ReadOnly))
        return icon;
    ui::ParseError error;
    const auto source = ui::parseIconSource(QString::fromUtf8(file.readAll()), &error);
    if (!source)
        return icon;
    for (const ui::Picture &picture : source->pictures)
        if (picture.bitsPerPixel == 4)
            icon.addPixmap(QPixmap::fromImage(ui::renderPicture(*source, picture)));
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
