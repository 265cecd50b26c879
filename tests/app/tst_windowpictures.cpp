// Each window as the program draws it, compared with a reviewed picture of
// it: one check for every text, space, position, size, colour and face.
// After a deliberate change, look at the pictures the failure writes, then
// accept them with `make accept-pictures`.
#include "reviewedpicture.h"

#include "startup.h"
#include "windowmanager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using korvane::ui::WindowName;

Q_DECLARE_METATYPE(WindowName)

namespace {

// What the window shows: each control's text, in its font.
QList<std::pair<QString, QFont>> shownTexts(const QWidget &window)
{
    QList<std::pair<QString, QFont>> texts;
    for (const QWidget *control : window.findChildren<QWidget *>()) {
        // Labels, buttons and text boxes all call what they show "text".
        const QString text = control->property("text").toString();
        if (!text.isEmpty())
            texts.append({text, control->font()});
    }
    return texts;
}

// Why this machine cannot draw the reviewed pictures; empty when it can.
QString otherSetting(const QWidget &window)
{
    if (const QString other = korvane::test::otherSetting(shownTexts(window)); !other.isEmpty())
        return other;
    if (QApplication::style()->name() != u"fusion")
        return u"the style is %1, not fusion"_s.arg(QApplication::style()->name());
    if (window.logicalDpiY() != 96)
        return u"the screen has %1 dpi, not 96"_s.arg(window.logicalDpiY());
    return {};
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

    // At one device pixel to the pixel, whatever the screen's ratio. A
    // difference is named after the topmost control it lies in.
    QImage actual(window->size(), QImage::Format_RGB32);
    window->render(&actual);
    const auto controlAt = [window](QPoint at, QRgb, QRgb) {
        QString name = u"the window's background"_s;
        for (const QWidget *control : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (control->geometry().contains(at))
                name = control->objectName();
        }
        return name;
    };
    const QString difference = korvane::test::differenceFromReviewed(
        actual, QStringLiteral(KORVANE_PICTURES_DIR) + u'/' + file, controlAt);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

QTEST_MAIN(TestWindowPictures)
#include "tst_windowpictures.moc"
