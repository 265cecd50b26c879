// Each window as the program draws it, compared with a reviewed picture of
// it: one check for every text, space, position, size, colour and face.
// After a deliberate change, look at the pictures the failure writes, then
// accept them with `make accept-pictures`.
#include "app/startup.h"
#include "app/windowmanager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QGlyphRun>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QTest>
#include <QTextLayout>

using namespace Qt::Literals::StringLiterals;
using korvane::ui::WindowName;

Q_DECLARE_METATYPE(WindowName)

namespace {

// What the reviewed pictures are drawn with: Debian 12's Qt on the offscreen
// platform at 96 dpi, and the faces of fonts-arphic-gbsn00lp and
// fonts-dejavu-core (Qt's standard face here, that of Form3's buttons).
constexpr QLatin1StringView kQtVersion("6.4.2");
const QStringList kFaces = {u"AR PL SungtiL GB"_s, u"DejaVu Sans"_s};
// Qt blends with whatever vector instructions the processor has, and they
// may round a channel differently by a step or two.
constexpr int kTolerance = 2;

// The faces the window's text is drawn in: each control's own and those
// that stand in for the characters it lacks.
QStringList drawnFaces(const QWidget &window)
{
    QStringList faces;
    for (const QWidget *control : window.findChildren<QWidget *>()) {
        // Labels, buttons and text boxes all call what they show "text".
        const QString text = control->property("text").toString();
        if (text.isEmpty())
            continue;
        faces << QFontInfo(control->font()).family();
        QTextLayout layout(text, control->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun &run : layout.glyphRuns())
            faces << run.rawFont().familyName();
    }
    faces.removeDuplicates();
    return faces;
}

// Why this machine cannot draw the reviewed pictures; empty when it can.
QString otherSetting(const QWidget &window)
{
    if (QGuiApplication::platformName() != u"offscreen")
        return u"the platform is %1, not offscreen"_s.arg(QGuiApplication::platformName());
    if (QLatin1StringView(qVersion()) != kQtVersion)
        return u"this is Qt %1, not %2"_s.arg(QLatin1StringView(qVersion()), kQtVersion);
    if (QApplication::style()->name() != u"fusion")
        return u"the style is %1, not fusion"_s.arg(QApplication::style()->name());
    if (window.logicalDpiY() != 96)
        return u"the screen has %1 dpi, not 96"_s.arg(window.logicalDpiY());
    for (const QString &face : drawnFaces(window)) {
        if (!kFaces.contains(face, Qt::CaseInsensitive))
            return u"text is drawn in %1, not only in %2"_s.arg(face, kFaces.join(u" and "_s));
    }
    return {};
}

struct Difference
{
    int pixels = 0;     // pixels beyond the tolerance
    int largest = 0;    // the largest channel difference among them
    QStringList places; // the controls whose boxes hold them
    QImage picture;     // the reviewed picture faded, the differing pixels red
};

Difference compare(const QImage &actual, const QImage &expected, const QWidget &window)
{
    Difference d;
    d.picture = expected.convertToFormat(QImage::Format_RGB32);
    {
        QPainter fade(&d.picture);
        fade.fillRect(d.picture.rect(), QColor(255, 255, 255, 200));
    }
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            const int most = std::max({std::abs(qRed(a) - qRed(e)), std::abs(qGreen(a) - qGreen(e)),
                                       std::abs(qBlue(a) - qBlue(e))});
            if (most <= kTolerance)
                continue;
            ++d.pixels;
            d.largest = std::max(d.largest, most);
            d.picture.setPixel(x, y, qRgb(255, 0, 0));
            for (const QWidget *control :
                 window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (control->geometry().contains(x, y) && !d.places.contains(control->objectName()))
                    d.places << control->objectName();
            }
        }
    }
    if (d.places.isEmpty() && d.pixels > 0)
        d.places << u"the window's background"_s;
    return d;
}

} // namespace

class TestWindowPictures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { korvane::configureApplication(); }
    void looksAsReviewed_data();
    void looksAsReviewed();
};

void TestWindowPictures::looksAsReviewed_data()
{
    QTest::addColumn<WindowName>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("calculator") << WindowName::form1 << u"calculator.png"_s;
    QTest::newRow("first page") << WindowName::Form2 << u"page-1.png"_s;
    QTest::newRow("second page") << WindowName::Form3 << u"page-2.png"_s;
}

void TestWindowPictures::looksAsReviewed()
{
    QFETCH(WindowName, name);
    QFETCH(QString, file);

    // Shown and active, the focus on the first button. The calculator holds
    // a calculation, so that its boxes' face and colours show.
    korvane::WindowManager windows;
    windows.showWindow(name);
    QWidget *window = windows.existingWindow(name);
    QVERIFY(QTest::qWaitForWindowActive(window));
    if (name == WindowName::form1) {
        for (const char *box : {"Text1", "Text2", "Text4"})
            window->findChild<QLineEdit *>(box)->setText(box == "Text2"_L1 ? u"31250"_s : u"1.6"_s);
        QTest::mouseClick(window->findChild<QAbstractButton *>("Command1"), Qt::LeftButton);
        QCOMPARE(window->findChild<QLineEdit *>("Text3")->text(), u"Ⅲ 类"_s);
    }
    if (const QString other = otherSetting(*window); !other.isEmpty())
        QSKIP(qPrintable(u"the reviewed pictures cannot be drawn here: "_s + other));

    // At one device pixel to the pixel, whatever the screen's ratio.
    QImage actual(window->size(), QImage::Format_RGB32);
    window->render(&actual);
    const QString reviewed = QStringLiteral(KORVANE_PICTURES_DIR) + u'/' + file;
    if (qEnvironmentVariableIsSet("KORVANE_ACCEPT_PICTURES")) {
        QVERIFY2(actual.save(reviewed), qPrintable(u"cannot write "_s + reviewed));
        qInfo("wrote %s", qPrintable(reviewed));
        return;
    }

    const QString accept = u"; if the change is meant, look at the picture and run "
                           "`make accept-pictures`, which rewrites %1"_s.arg(reviewed);
    const QImage expected(reviewed);
    QVERIFY2(!expected.isNull(), qPrintable(u"no reviewed picture"_s + accept));
    const QString drawn = QDir::current().absoluteFilePath(file.chopped(4) + u"-actual.png"_s);
    QVERIFY2(actual.size() == expected.size(),
             qPrintable(u"drawn %1×%2, reviewed %3×%4; wrote %5"_s.arg(actual.width())
                            .arg(actual.height())
                            .arg(expected.width())
                            .arg(expected.height())
                            .arg(actual.save(drawn) ? drawn : u"nothing"_s) +
                        accept));

    const Difference d = compare(actual, expected, *window);
    if (d.pixels == 0)
        return;
    const QString marked = QDir::current().absoluteFilePath(file.chopped(4) + u"-difference.png"_s);
    actual.save(drawn);
    d.picture.save(marked);
    QFAIL(qPrintable(
        u"%1 pixels differ (by up to %2) in %3; wrote %4 and %5"_s.arg(d.pixels).arg(d.largest).arg(
            d.places.join(u", "_s), drawn, marked) +
        accept));
}

QTEST_MAIN(TestWindowPictures)
#include "tst_windowpictures.moc"
