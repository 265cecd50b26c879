// The reason with its chart, as the result box's tooltip shows it and as
// "复制判定依据" copies it.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QImage;
class QMimeData;

namespace korvane::ui {

// The chart above the reason's lines, one line each as in the plain text;
// the lines alone where the chart could not be encoded.
QString reasonHtml(const QString &reason, const std::optional<QByteArray> &chart,
                   const char *format);

// Plain text for editors, the chart and the words as HTML for word
// processors, and the chart as an image for image editors. Where the chart
// cannot be encoded, the text and the HTML without it: never an empty image.
QMimeData *reasonMimeData(const QString &reason, const QImage &chart);

} // namespace korvane::ui
