#include "reasoncopy.h"

#include "classchart.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>

using namespace Qt::Literals::StringLiterals;

namespace korvane::ui {

std::optional<EncodedImage> encodeImage(const QImage &image, const QByteArray &format)
{
    EncodedImage encoded{format, {}};
    QBuffer buffer(&encoded.bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format.constData()))
        return std::nullopt;
    return encoded;
}

QString imageHtml(const EncodedImage &image, QSize size)
{
    return u"<img src=\"data:image/%1;base64,%2\" width=\"%3\" height=\"%4\">"_s.arg(
        QString::fromLatin1(image.format).toLower(), QString::fromLatin1(image.bytes.toBase64()),
        QString::number(size.width()), QString::number(size.height()));
}

QString reasonHtml(const QString &reason, const std::optional<EncodedImage> &chart)
{
    const QString image = chart ? imageHtml(*chart, chartSize()) : QString();
    return u"%1<p style=\"white-space:pre\">%2</p>"_s.arg(
        image, reason.toHtmlEscaped().replace(u'\n', u"<br>"_s));
}

QMimeData *reasonMimeData(const QString &reason, const QImage &chart)
{
    const std::optional<EncodedImage> png = encodeImage(chart, "PNG");
    auto *data = new QMimeData;
    data->setText(reason);
    data->setHtml(reasonHtml(reason, png));
    if (png) {
        data->setImageData(chart);
        data->setData(u"image/png"_s, png->bytes);
    }
    return data;
}

} // namespace korvane::ui
