// The reason with its chart, as the result box's tooltip shows it and as
// "复制判定依据" copies it.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QImage;
class QMimeData;
class QSize;

namespace korvane::ui {

// An image as the bytes of a file format that Qt writes ("PNG" for other
// programs; "BMP" for the program's own tooltip, as it costs no
// compression), together with that format.
struct EncodedImage
{
    QByteArray format;
    QByteArray bytes;
};

// Nothing where the image cannot be written.
std::optional<EncodedImage> encodeImage(const QImage &image, const QByteArray &format);

// The HTML that carries an image in a data: URL, sized in pixels at 96 dpi
// whatever the image's own resolution.
QString imageHtml(const EncodedImage &image, QSize size);

// The chart above the reason's lines, one line each as in the plain text;
// the lines alone where the chart could not be encoded.
QString reasonHtml(const QString &reason, const std::optional<EncodedImage> &chart);

// Plain text for editors, the chart and the words as HTML for word
// processors, and the chart as an image for image editors. Where the chart
// cannot be encoded, the text and the HTML without it: never an empty image.
QMimeData *reasonMimeData(const QString &reason, const QImage &chart);

} // namespace korvane::ui
