// Builds the application icon from its text source.
// Usage: korvane-icongen SOURCE ICON_DIR [DOCS_DIR]
// Writes ICON_DIR/korvane.ico and ICON_DIR/korvane-<size>.png for each 4-bit
// picture; with DOCS_DIR also DOCS_DIR/icon.png and DOCS_DIR/icon-images.png,
// enlarged for the README.
#include "icofile.h"
#include "iconsource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTextStream>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;
using namespace korvane::icongen;
using namespace korvane::ui;

namespace {

constexpr int docsScale = 4;
constexpr int docsGap = 16;

QImage enlarged(const QImage &image)
{
    return image.scaled(image.size() * docsScale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// All pictures side by side, enlarged, on white as a light desktop shows them.
QImage contactSheet(const IconSource &source)
{
    int width = docsGap;
    int height = 0;
    for (const Picture &picture : source.pictures) {
        width += picture.width * docsScale + docsGap;
        height = std::max(height, picture.height * docsScale);
    }
    QImage sheet(width, height + 2 * docsGap, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int x = docsGap;
    for (const Picture &picture : source.pictures) {
        const QImage image = enlarged(renderPicture(source, picture));
        painter.drawImage(x, docsGap + height - image.height(), image);
        x += image.width() + docsGap;
    }
    return sheet;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    if (args.size() != 3 && args.size() != 4) {
        err << "usage: korvane-icongen SOURCE ICON_DIR [DOCS_DIR]\n";
        return 2;
    }

    QFile sourceFile(args[1]);
    if (!sourceFile.open(QIODevice::ReadOnly | QIODevice::Text)) {
        err << "cannot read " << args[1] << '\n';
        return 1;
    }
    ParseError error;
    const auto source = parseIconSource(QString::fromUtf8(sourceFile.readAll()), &error);
    if (!source) {
        err << args[1] << ':' << error.line << ": " << error.message << '\n';
        return 1;
    }

    const QDir iconDir(args[2]);
    QList<std::pair<QString, QImage>> images;
    for (const Picture &picture : source->pictures) {
        if (picture.bitsPerPixel == 4)
            images.append({iconDir.filePath(u"korvane-%1.png"_s.arg(picture.width)),
                           renderPicture(*source, picture)});
    }
    if (args.size() == 4) {
        const QDir docsDir(args[3]);
        const auto largest = std::max_element(images.cbegin(), images.cend(), [](auto &a, auto &b) {
            return a.second.width() < b.second.width();
        });
        if (largest != images.cend())
            images.append({docsDir.filePath(u"icon.png"_s), enlarged(largest->second)});
        images.append({docsDir.filePath(u"icon-images.png"_s), contactSheet(*source)});
    }

    const QString icoPath = iconDir.filePath(u"korvane.ico"_s);
    if (!writeFile(icoPath, encodeIco(*source))) {
        err << "cannot write " << icoPath << '\n';
        return 1;
    }
    out << icoPath << '\n';
    for (const auto &[path, image] : images) {
        if (!image.save(path, "PNG")) {
            err << "cannot write " << path << '\n';
            return 1;
        }
        out << path << '\n';
    }
    return 0;
}
