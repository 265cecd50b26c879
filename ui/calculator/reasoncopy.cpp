#include "reasoncopy.h"

#include "ui/chart/classchart.h"

#include <QImage>
#include <QMimeData>

using namespace Qt::Literals::StringLiterals;

namespace korvane::ui {

QString reasonHtml(const QString &reason, const std::optional<QByteArray> &chart,
                   const char *format)
{
    const QString image = chart ? imageHtml(*chart, format, chartSize()) : QString();
    return u"%1<p style=\"white-space:pre\">%2</p>"_s.arg(
        image, reason.toHtmlEscaped().replace(u'\n', u"<br>"_s));
}

QMimeData *reasonMimeData(const QString &reason, const QImage &chart)
{
    const char *format = "PNG";
    const std::optional<QByteArray> png = encodeImage(chart, format);
    auto *data = new QMimeData;
    data->setText(reason);
    data->setHtml(reasonHtml(reason, png, format));
    if (png) {
        data->setImageData(chart);
        data->setData(u"image/png"_s, *png);
    }
    return data;
}

} // namespace korvane::ui
