// The reason beside the result in the calculator window: the tooltip and
// accessible description of Text3 after calculations that succeed and fail,
// the chart above the words, and the context-menu item that copies them.
#include "calculatorwindow.h"
#include "classchart.h"
#include "fakenavigator.h"
#include "identity.h"
#include "modalcatcher.h"
#include "navigator.h"
#include "reason.h"
#include "reasoncopy.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <QWindow>

#include <memory>

using namespace korvane;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kShowReason = u"显示判定依据"_s;
const QString kCopyReason = u"复制判定依据"_s;
// The copy's last line: which program and which edition of the rules.
QString madeBy()
{
    return u"\nKorvane %1，依据 TSG R0004-2009"_s.arg(QCoreApplication::applicationVersion());
}

// One control's looks, for telling that nothing else on the window moved.
QString looks(const QWidget &w)
{
    QString text;
    if (const auto *label = qobject_cast<const QLabel *>(&w))
        text = label->text();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(&w))
        text = button->text();
    const QRect g = w.geometry();
    return u"%1 %2,%3 %4x%5 %6 %7 %8 %9 %10 %11"_s.arg(w.objectName())
        .arg(g.x())
        .arg(g.y())
        .arg(g.width())
        .arg(g.height())
        .arg(w.font().toString(), w.palette().color(QPalette::Text).name(),
             w.palette().color(QPalette::WindowText).name(),
             w.palette().color(QPalette::ButtonText).name(),
             w.isVisible() ? u"shown"_s : u"hidden"_s, text);
}

// The image that an HTML text carries in a data: URL, in the given format.
QByteArray embeddedImage(const QString &html, const QString &format)
{
    const QRegularExpression image(
        u"<img src=\"data:image/%1;base64,([A-Za-z0-9+/=]+)\""_s.arg(format));
    return QByteArray::fromBase64(image.match(html).captured(1).toLatin1());
}

// The size in pixels that an HTML text gives the image it carries.
QSize htmlImageSize(const QString &html)
{
    const auto number = [&html](QLatin1StringView name) {
        const QRegularExpression attribute(u"<img [^>]*%1=\"(\\d+)\""_s.arg(name));
        return attribute.match(html).captured(1).toInt();
    };
    return {number("width"_L1), number("height"_L1)};
}

// The vessel's point as HTML shows it: pixels in the point's colour, which
// only the chart has, once the text document has read the image.
int pointPixels(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    QImage shown(document.size().toSize(), QImage::Format_RGB32);
    shown.fill(Qt::white);
    QPainter painter(&shown);
    document.drawContents(&painter);
    painter.end();
    int count = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            count += shown.pixel(x, y) == korvane::ui::chart::kPointColour;
    }
    return count;
}

// Whether a menu is up as a person sees it before the next key: on screen,
// and with the focus where the platform gives menus the focus (not Windows).
bool menuIsUp(const QMenu &menu)
{
    return menu.windowHandle()->isExposed() &&
           (QGuiApplication::focusWindow() == menu.windowHandle() ||
            QGuiApplication::platformName() == u"windows"_s);
}

} // namespace

class TestCalculatorReason : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { applyIdentity(); }
    void init();
    void cleanup();
    void noReasonBeforeACalculation();
    void reasonAfterCalculation_data();
    void reasonAfterCalculation();
    void tooltipShowsOnHover();
    void secondCalculationReplacesTheFirst();
    void errorLeavesThePreviousReason_data();
    void errorLeavesThePreviousReason();
    void typingChangesNothing();
    void cautions_data();
    void cautions();
    void menuCopiesTheReason();
    void keysShowTheReason_data();
    void keysShowTheReason();
    void clickShowsTheReason();
    void copyWithoutTheChart();
    void windowLooksTheSame();

private:
    template <typename T> T *control(const char *name) const
    {
        return ui::findControl<T>(*m_window, QString::fromLatin1(name));
    }
    void type(const char *box, const QString &text) const;
    void calculate(const QString &p, const QString &V, const QString &pw) const;
    QString hoverText3() const;
    QMenu *openText3Menu() const;
    QAction *menuItem(QMenu *menu, const QString &text) const;

    test::FakeNavigator m_navigator;
    std::unique_ptr<ui::CalculatorWindow> m_window;
};

void TestCalculatorReason::init()
{
    m_window = std::make_unique<ui::CalculatorWindow>(m_navigator);
    m_window->show();
    m_window->activateWindow(); // no window manager does it on the xcb run's X server
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestCalculatorReason::cleanup()
{
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    m_window.reset();
}

void TestCalculatorReason::type(const char *box, const QString &text) const
{
    QLineEdit *edit = control<QLineEdit>(box);
    edit->clear();
    QTest::keyClicks(edit, text);
}

void TestCalculatorReason::calculate(const QString &p, const QString &V, const QString &pw) const
{
    type("Text1", p);
    type("Text2", V);
    type("Text4", pw);
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
}

// The tooltip that hovering over Text3 shows.
QString TestCalculatorReason::hoverText3() const
{
    QLineEdit *text3 = control<QLineEdit>("Text3");
    const QPoint at(5, 5);
    QHelpEvent hover(QEvent::ToolTip, at, text3->mapToGlobal(at));
    QApplication::sendEvent(text3, &hover);
    return QTest::qWaitFor([] { return QToolTip::isVisible(); }) ? QToolTip::text() : QString();
}

QMenu *TestCalculatorReason::openText3Menu() const
{
    QLineEdit *text3 = control<QLineEdit>("Text3");
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, text3->mapToGlobal(at));
    QApplication::sendEvent(text3, &event);
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

QAction *TestCalculatorReason::menuItem(QMenu *menu, const QString &text) const
{
    QAction *found = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text() == text) {
            if (found)
                qFatal("two items %s", qPrintable(text));
            found = action;
        }
    }
    return found;
}

void TestCalculatorReason::noReasonBeforeACalculation()
{
    QLineEdit *text3 = control<QLineEdit>("Text3");
    QVERIFY(text3->toolTip().isEmpty());
    QVERIFY(text3->accessibleDescription().isEmpty());

    QMenu *menu = openText3Menu();
    QVERIFY(menu);
    for (const QString &item : {kShowReason, kCopyReason}) {
        QVERIFY(menuItem(menu, item));
        QVERIFY(!menuItem(menu, item)->isEnabled());
    }
}

void TestCalculatorReason::reasonAfterCalculation_data()
{
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("pw");
    QTest::addColumn<bool>("group2");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("kind"); // which 类外, as the reason's first line says
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QStringList>("changes");

    QTest::newRow("group 1 row 3")
        << u"0.1"_s << u"25"_s << u"0.1"_s << false << u"Ⅱ 类"_s << QString()
        << u"第一组介质，25 L ≤ V < 5000 L，0.1 MPa ≤ p < 10 MPa：Ⅱ 类"_s
        << QStringList{u"仅改变容积 V：< 25 L 为类外；≥ 10000000 L 为 Ⅲ 类"_s,
                       u"仅改变设计压力 p：< 0.1 MPa 为类外；≥ 10 MPa 为 Ⅲ 类"_s};
    QTest::newRow("group 1, p 2, V 10000")
        << u"2"_s << u"10000"_s << u"2"_s << false << u"Ⅱ 类"_s << QString()
        << u"第一组介质，5000 L ≤ V < 31250 L，p ≥ 0.1 MPa，pV < 50000 MPa·L：Ⅱ 类"_s
        << QStringList{u"仅改变容积 V：< 25 L 为 Ⅰ 类；≥ 25000 L 为 Ⅲ 类"_s,
                       u"仅改变设计压力 p：< 0.1 MPa 为类外；≥ 5 MPa 为 Ⅲ 类"_s};
    QTest::newRow("group 2 row 3")
        << u"1.6"_s << u"25"_s << u"1.6"_s << true << u"Ⅱ 类"_s << QString()
        << u"第二组介质，25 L ≤ V < 50000 L，1.6 MPa ≤ p < 10 MPa：Ⅱ 类"_s
        << QStringList{u"仅改变容积 V：< 25 L 为 Ⅰ 类；≥ 312500 L 为 Ⅲ 类"_s,
                       u"仅改变设计压力 p：< 1.6 MPa 为 Ⅰ 类；≥ 10 MPa 为 Ⅲ 类"_s};
    QTest::newRow("group 2 row 12")
        << u"0.1"_s << u"50000000"_s << u"0.1"_s << true << u"Ⅲ 类"_s << QString()
        << u"第二组介质，V ≥ 50000000 L，p ≥ 0.1 MPa：Ⅲ 类"_s
        << QStringList{u"仅改变容积 V：< 50000000 L 为 Ⅰ 类；增大不变"_s,
                       u"仅改变设计压力 p：< 0.1 MPa 为类外；增大不变"_s};
    QTest::newRow("scope") << u"2"_s << u"1"_s << u"2"_s << false << u"类外"_s
                           << u"（不属于本规程适用范围）"_s
                           << u"不属于本规程适用范围（pwV < 2.5 MPa·L）：类外"_s
                           << QStringList{u"仅改变容积 V：减小不变；≥ 1.25 L 为 Ⅰ 类"_s};
    QTest::newRow("no row") << u"30"_s << u"0.09"_s << u"30"_s << false << u"类外"_s
                            << u"（在适用范围内，但不在分类表的任何一行）"_s
                            << u"第一组介质，V < 0.1 L，不在表中任何容积档内：类外"_s
                            << QStringList{u"仅改变容积 V：减小不变；≥ 0.1 L 为 Ⅰ 类"_s};
}

void TestCalculatorReason::reasonAfterCalculation()
{
    QFETCH(QString, p);
    QFETCH(QString, V);
    QFETCH(QString, pw);
    QFETCH(bool, group2);
    QFETCH(QString, result);
    QFETCH(QString, kind);
    QFETCH(QString, rule);
    QFETCH(QStringList, changes);

    if (group2)
        control<QRadioButton>("Option2")->click();
    calculate(p, V, pw);

    QLineEdit *text3 = control<QLineEdit>("Text3");
    QCOMPARE(text3->text(), result);
    const QString tip = text3->toolTip();
    const QStringList lines = tip.split(u'\n');
    QCOMPARE(lines.first(), u"结果："_s + result + kind);
    // The nearest changes of class follow the deciding rule.
    const qsizetype ruleLine = lines.indexOf(u"判定依据："_s + rule);
    QVERIFY2(ruleLine > 0, qPrintable(tip));
    QCOMPARE(lines.mid(ruleLine + 1), changes);
    QVERIFY2(lines.at(1).startsWith(u"设计压力 p：输入“%1”"_s.arg(p)), qPrintable(tip));
    QVERIFY2(lines.at(2).startsWith(u"容积 V：输入“%1”"_s.arg(V)), qPrintable(tip));
    QVERIFY2(lines.at(3).startsWith(u"工作压力 pw：输入“%1”"_s.arg(pw)), qPrintable(tip));
    QCOMPARE(text3->accessibleDescription(), tip);
    // Shown as it stands: a first line that looked like markup would turn
    // "V < 5000" into a tag.
    QVERIFY(!Qt::mightBeRichText(tip));
}

void TestCalculatorReason::tooltipShowsOnHover()
{
    calculate(u"0.1"_s, u"25"_s, u"0.1"_s);
    QLineEdit *text3 = control<QLineEdit>("Text3");
    const QString shown = hoverText3();

    // The chart first, then the words of the reason, as rich text.
    QVERIFY(Qt::mightBeRichText(shown));
    const qsizetype image = shown.indexOf(u"<img "_s);
    QVERIFY(image >= 0);
    QVERIFY(image < shown.indexOf(u"结果：Ⅱ 类"_s));
    QTextDocument document;
    document.setHtml(shown);
    QVERIFY2(document.toPlainText().contains(text3->toolTip()), qPrintable(document.toPlainText()));
    QCOMPARE(QImage::fromData(embeddedImage(shown, u"bmp"_s), "BMP").size(), ui::chartSize());
    QCOMPARE(htmlImageSize(shown), ui::chartSize());
    QVERIFY(pointPixels(shown) > 30);
    QToolTip::hideText();
}

// The tooltip and the copy after a second calculation carry its reason and
// chart, not the first's, which were drawn already.
void TestCalculatorReason::secondCalculationReplacesTheFirst()
{
    calculate(u"0.1"_s, u"25"_s, u"0.1"_s);
    QVERIFY(!hoverText3().isEmpty());
    menuItem(openText3Menu(), kCopyReason)->trigger();
    QApplication::activePopupWidget()->close();

    calculate(u"10"_s, u"25"_s, u"10"_s);
    const QString reason = control<QLineEdit>("Text3")->toolTip();
    QVERIFY2(reason.startsWith(u"结果：Ⅲ 类\n设计压力 p：输入“10”"_s), qPrintable(reason));
    const VesselInput second =
        formVessel(10, 25, 10, CheckState::On, CheckState::Off, MediumGroup::Group1);
    const auto chart = [&second](qreal ratio) {
        QImage image = ui::drawClassChart(classMap(second), decideVessel(second), ratio);
        image.setDevicePixelRatio(1);
        return image;
    };
    const QString tip = hoverText3();
    QTextDocument document;
    document.setHtml(tip);
    QVERIFY2(document.toPlainText().contains(reason), "the tooltip's words are not the second's");
    QVERIFY2(QImage::fromData(embeddedImage(tip, u"bmp"_s), "BMP") == chart(1),
             "the tooltip's chart is not the second's");
    QToolTip::hideText();

    // The HTML carries these same words and PNG bytes (menuCopiesTheReason).
    menuItem(openText3Menu(), kCopyReason)->trigger();
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->text(), reason + madeBy());
    QVERIFY2(QImage::fromData(data->data(u"image/png"_s), "PNG") == chart(2),
             "the copied picture is not the second's chart");
}

void TestCalculatorReason::errorLeavesThePreviousReason_data()
{
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("pw");

    QTest::newRow("p not a number") << u"abc"_s << u"100"_s << u"1"_s;
    QTest::newRow("V blank") << u"1"_s << u" "_s << u"1"_s;
    QTest::newRow("pw not a number") << u"1"_s << u"100"_s << u"x"_s;
    QTest::newRow("pV overflows") << u"1e30"_s << u"1e30"_s << u"1"_s;
}

void TestCalculatorReason::errorLeavesThePreviousReason()
{
    QFETCH(QString, p);
    QFETCH(QString, V);
    QFETCH(QString, pw);

    QLineEdit *text3 = control<QLineEdit>("Text3");
    calculate(u"10"_s, u"25"_s, u"10"_s);
    const QString result = text3->text();
    const QString tip = text3->toolTip();
    QCOMPARE(result, u"Ⅲ 类"_s);

    const test::CaughtBox message = test::runCatchingMessageBox([&] { calculate(p, V, pw); });
    QVERIFY2(message.shown && !message.text.isEmpty(), "no error message");

    QCOMPARE(text3->text(), result);
    QCOMPARE(text3->toolTip(), tip);
    QCOMPARE(text3->accessibleDescription(), tip);
    QVERIFY(tip.contains(u"输入“10”"_s));
    QVERIFY(!tip.contains(u"输入“%1”"_s.arg(p)));

    QMenu *menu = openText3Menu();
    QVERIFY(menu);
    menuItem(menu, kCopyReason)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), tip + madeBy());
}

void TestCalculatorReason::typingChangesNothing()
{
    calculate(u"0.1"_s, u"25"_s, u"0.1"_s);
    QLineEdit *text3 = control<QLineEdit>("Text3");
    const QString tip = text3->toolTip();

    type("Text1", u"50"_s);
    type("Text2", u"1e7"_s);
    type("Text4", u"0.01"_s);
    QTest::keyClicks(text3, u"x"_s);
    control<QCheckBox>("Check1")->click();
    control<QCheckBox>("Check2")->click();
    control<QRadioButton>("Option2")->click();

    QCOMPARE(text3->toolTip(), tip);
    QCOMPARE(text3->accessibleDescription(), tip);
}

void TestCalculatorReason::cautions_data()
{
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("pw");
    QTest::addColumn<bool>("untickCheck1");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("cautions");

    QTest::newRow("p < pw")
        << u"1"_s << u"100"_s << u"1.5"_s << false << u"Ⅱ 类"_s
        << QStringList{
               u"注意：设计压力 p 低于工作压力 pw，设计压力通常不低于工作压力，请核对输入。"_s};
    QTest::newRow("p at 100 MPa")
        << u"100"_s << u"10"_s << u"100"_s << false << u"Ⅰ 类"_s
        << QStringList{u"注意：设计压力 p ≥ 100 MPa，超高压容器另有专门的安全技术规范。"_s};
    QTest::newRow("类外 only by Check1")
        << u"1"_s << u"100"_s << u"1"_s << true << u"类外"_s
        << QStringList{u"注意：仅因盛装介质一项未选“是”而为类外；"_s};
    QTest::newRow("Check1 off, pw low too")
        << u"1"_s << u"100"_s << u"0.05"_s << true << u"类外"_s << QStringList{};
    QTest::newRow("no caution") << u"0.7"_s << u"100"_s << u"0.7"_s << false << u"Ⅱ 类"_s
                                << QStringList{};
}

void TestCalculatorReason::cautions()
{
    QFETCH(QString, p);
    QFETCH(QString, V);
    QFETCH(QString, pw);
    QFETCH(bool, untickCheck1);
    QFETCH(QString, result);
    QFETCH(QStringList, cautions);

    if (untickCheck1)
        control<QCheckBox>("Check1")->click();
    calculate(p, V, pw);

    QLineEdit *text3 = control<QLineEdit>("Text3");
    QCOMPARE(text3->text(), result);
    const QStringList lines = text3->toolTip().split(u'\n');
    QStringList shown = lines.filter(QRegularExpression(u"^注意："_s));
    QCOMPARE(shown, cautions);
    if (untickCheck1 && !cautions.isEmpty())
        QVERIFY(lines.last().startsWith(u"按注1"_s));
}

void TestCalculatorReason::menuCopiesTheReason()
{
    calculate(u"0.1"_s, u"25"_s, u"0.1"_s);
    QLineEdit *text3 = control<QLineEdit>("Text3");

    QMenu *menu = openText3Menu();
    QVERIFY(menu);
    // The box's own items stay.
    // The box's own items stay, ahead of a separator and the new one.
    QLineEdit plain;
    const std::unique_ptr<QMenu> standard(plain.createStandardContextMenu());
    const auto texts = [](const QMenu &m) {
        QStringList all;
        for (const QAction *action : m.actions())
            all << (action->isSeparator() ? u"--"_s : action->text());
        return all;
    };
    const QStringList expected = texts(*standard) + QStringList{u"--"_s, kShowReason, kCopyReason};
    QCOMPARE(texts(*menu), expected);
    QAction *copy = menuItem(menu, kCopyReason);
    QVERIFY(copy->isEnabled());

    QGuiApplication::clipboard()->clear();
    copy->trigger();
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(copied, text3->toolTip() + madeBy());

    // Three forms at once: the words, the chart with the words, the chart.
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data->hasText() && data->hasHtml() && data->hasImage());
    const QByteArray png = data->data(u"image/png"_s);
    const QImage chart = QImage::fromData(png, "PNG");
    QCOMPARE(chart.size(), ui::chartSize() * 2);
    QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), chart.size());
    QCOMPARE(embeddedImage(data->html(), u"png"_s), png);
    QCOMPARE(htmlImageSize(data->html()), ui::chartSize());
    QTextDocument document;
    document.setHtml(data->html());
    QVERIFY(document.toPlainText().contains(copied));
    QVERIFY(pointPixels(data->html()) > 30);
    QVERIFY(copied.startsWith(u"结果：Ⅱ 类\n"_s));
    // Both answers, so that a checker can enter the vessel again.
    QVERIFY(copied.contains(u"\n盛装介质为气体、液化气体或最高工作温度不低于标准沸点的液体：是\n"
                            u"属于本规程1.4条适用范围：否\n"_s));
    QVERIFY(
        copied.contains(u"判定依据：第一组介质，25 L ≤ V < 5000 L，0.1 MPa ≤ p < 10 MPa：Ⅱ 类"_s));
}

void TestCalculatorReason::keysShowTheReason_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("closingKey");
    QTest::newRow("Shift+F10, closed by Esc")
        << int(Qt::Key_F10) << int(Qt::ShiftModifier) << int(Qt::Key_Escape);
    QTest::newRow("menu key, closed by a letter")
        << int(Qt::Key_Menu) << int(Qt::NoModifier) << int(Qt::Key_A);
}

// From the keyboard alone: the result box's menu, its item that shows the
// tooltip under the box, and any key that closes it again.
void TestCalculatorReason::keysShowTheReason()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, closingKey);

    calculate(u"2"_s, u"10000"_s, u"2"_s);
    QLineEdit *text3 = control<QLineEdit>("Text3");
    text3->setFocus();
    // Keys as the platform delivers them: to the window, then to the open menu.
    QWindow *window = m_window->windowHandle();
    QTest::keyClick(window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QVERIFY(menu->geometry().intersects(QRect(text3->mapToGlobal(QPoint()), text3->size())));
    QTRY_VERIFY(menuIsUp(*menu));
    // Up from nowhere reaches the last item, then the one above it.
    QTest::keyClick(window, Qt::Key_Up);
    QTest::keyClick(window, Qt::Key_Up);
    QCOMPARE(menu->activeAction(), menuItem(menu, kShowReason));
    QTest::keyClick(window, Qt::Key_Return);

    // Still up once the window system has moved the focus back from the menu.
    QTRY_VERIFY(QToolTip::isVisible());
    QTest::qWait(300);
    QVERIFY(QToolTip::isVisible());
    const QString shown = QToolTip::text();
    QTest::keyClick(window, Qt::Key(closingKey));
    QTRY_VERIFY(!QToolTip::isVisible());
    // The same tooltip, chart and reason, as hovering shows.
    QCOMPARE(shown, hoverText3());
    QToolTip::hideText();
}

// By mouse the tooltip opens under the pointer, which rests on the item: its
// leaving the window for the tooltip is no move of the user's.
void TestCalculatorReason::clickShowsTheReason()
{
    calculate(u"2"_s, u"10000"_s, u"2"_s);
    QMenu *menu = openText3Menu();
    QTRY_VERIFY(menuIsUp(*menu));
    const QPoint item = menu->actionGeometry(menuItem(menu, kShowReason)).center();
    QCursor::setPos(menu->mapToGlobal(item));
    QTest::mouseClick(menu, Qt::LeftButton, {}, item);
    QTRY_VERIFY(QToolTip::isVisible());
    QTest::qWait(500); // a tooltip hides 300 ms after the pointer leaves
    QVERIFY(QToolTip::isVisible());
    QToolTip::hideText();
}

// A chart that cannot be encoded (here: none at all) leaves the words, as
// text and as HTML, and no empty image.
void TestCalculatorReason::copyWithoutTheChart()
{
    const QString reason = u"结果：Ⅱ 类\n判定依据：……"_s;
    const std::unique_ptr<QMimeData> data(ui::reasonMimeData(reason, QImage()));
    QCOMPARE(data->text(), reason);
    QVERIFY(!data->html().contains(u"<img"_s));
    QTextDocument document;
    document.setHtml(data->html());
    QCOMPARE(document.toPlainText(), reason);
    QVERIFY(!data->hasImage() && !data->hasFormat(u"image/png"_s));
}

void TestCalculatorReason::windowLooksTheSame()
{
    const auto snapshot = [this] {
        QStringList all{u"%1x%2"_s.arg(m_window->width()).arg(m_window->height())};
        for (const QWidget *w : m_window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            all << looks(*w);
        return all;
    };
    const QStringList before = snapshot();
    calculate(u"150"_s, u"100"_s, u"200"_s);
    QCOMPARE(control<QLineEdit>("Text3")->text(), u"Ⅲ 类"_s);
    QCOMPARE(snapshot(), before);
}

QTEST_MAIN(TestCalculatorReason)
#include "tst_calculatorreason.moc"
