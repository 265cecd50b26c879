// A picture the program draws, compared with a reviewed one kept under
// tests/: one check for every text, line, position and colour in it. After a
// deliberate change, look at the pictures a failure writes, then accept them
// with `make accept-pictures`, which sets KORVANE_ACCEPT_PICTURES.
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QTextLayout>

#include <functional>
#include <utility>

namespace korvane::test {

// Why this machine cannot draw the reviewed pictures, which Debian 12's Qt
// drew on the offscreen platform in the faces of fonts-arphic-gbsn00lp and
// fonts-dejavu-core (Qt's standard face here); empty when it can. `texts`
// are what the picture shows, each in its font: the faces that stand in for
// characters a font lacks count too.
inline QString otherSetting(const QList<std::pair<QString, QFont>> &texts)
{
    using namespace Qt::Literals::StringLiterals;
    if (QGuiApplication::platformName() != u"offscreen")
        return u"the platform is %1, not offscreen"_s.arg(QGuiApplication::platformName());
    if (QLatin1StringView(qVersion()) != "6.4.2"_L1)
        return u"this is Qt %1, not 6.4.2"_s.arg(QLatin1StringView(qVersion()));
    const QStringList faces = {u"AR PL SungtiL GB"_s, u"DejaVu Sans"_s};
    for (const auto &[text, font] : texts) {
        QStringList used{QFontInfo(font).family()};
        QTextLayout layout(text, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun &run : layout.glyphRuns())
            used << run.rawFont().familyName();
        for (const QString &face : used) {
            if (!faces.contains(face, Qt::CaseInsensitive))
                return u"text is drawn in %1, not only in %2"_s.arg(face, faces.join(u" and "_s));
        }
    }
    return {};
}

// Names the part of the picture that a differing pixel lies in, given where
// it is in device-independent pixels and its drawn and reviewed colours.
using PartAt = std::function<QString(QPoint at, QRgb drawn, QRgb reviewed)>;

// Empty when `drawn` looks as the reviewed picture at `reviewed` does, or has
// just replaced it; otherwise says how many pixels differ in which parts,
// having written the drawn picture and a difference picture (the reviewed one
// faded, the differing pixels red) into the current directory.
inline QString differenceFromReviewed(const QImage &drawn, const QString &reviewed,
                                      const PartAt &partAt)
{
    using namespace Qt::Literals::StringLiterals;
    if (qEnvironmentVariableIsSet("KORVANE_ACCEPT_PICTURES")) {
        if (!drawn.save(reviewed))
            return u"cannot write "_s + reviewed;
        qInfo("wrote %s", qPrintable(reviewed));
        return {};
    }
    const QString accept = u"; if the change is meant, look at the pictures and run "
                           "`make accept-pictures`, which rewrites %1"_s.arg(reviewed);
    const QImage expected(reviewed);
    if (expected.isNull())
        return u"no reviewed picture"_s + accept;
    const QString stem = QDir::current().absoluteFilePath(QFileInfo(reviewed).completeBaseName());
    const QString written = stem + u"-actual.png"_s;
    if (drawn.size() != expected.size()) {
        return u"drawn %1×%2, reviewed %3×%4; wrote %5"_s.arg(drawn.width())
                   .arg(drawn.height())
                   .arg(expected.width())
                   .arg(expected.height())
                   .arg(drawn.save(written) ? written : u"nothing"_s) +
               accept;
    }

    // Qt blends with whatever vector instructions the processor has, and they
    // may round a channel differently by a step or two.
    constexpr int kTolerance = 2;
    QImage marked = expected.convertToFormat(QImage::Format_RGB32);
    QPainter(&marked).fillRect(marked.rect(), QColor(255, 255, 255, 200));
    int pixels = 0, largest = 0;
    QMap<QString, int> parts;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb a = drawn.pixel(x, y), e = expected.pixel(x, y);
            const int most = std::max({std::abs(qRed(a) - qRed(e)), std::abs(qGreen(a) - qGreen(e)),
                                       std::abs(qBlue(a) - qBlue(e))});
            if (most <= kTolerance)
                continue;
            ++pixels;
            largest = std::max(largest, most);
            marked.setPixel(x, y, qRgb(255, 0, 0));
            const qreal ratio = drawn.devicePixelRatio();
            ++parts[partAt(QPoint(int(x / ratio), int(y / ratio)), a, e)];
        }
    }
    if (pixels == 0)
        return {};
    QStringList where;
    for (auto part = parts.cbegin(); part != parts.cend(); ++part)
        where << u"%1 in %2"_s.arg(part.value()).arg(part.key());
    const QString difference = stem + u"-difference.png"_s;
    drawn.save(written);
    marked.save(difference);
    return u"%1 pixels differ (by up to %2): %3; wrote %4 and %5"_s.arg(pixels).arg(largest).arg(
               where.join(u", "_s), written, difference) +
           accept;
}

} // namespace korvane::test
