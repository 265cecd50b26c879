// The calculator window driven as a person drives it: by keys and clicks on
// the controls, found by their names.
#include "fakenavigator.h"
#include "modalcatcher.h"

#include "calculatorwindow.h"
#include "fonts.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using korvane::test::FakeNavigator;
using korvane::test::runCatchingMessageBox;
using korvane::ui::CalculatorWindow;

namespace {

enum class Group
{
    None,
    One,
    Two,
};

} // namespace

Q_DECLARE_METATYPE(Group)

class TestCalculatorWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsAsLoaded();
    void firstFocusOnCalculate();
    void labelsFitTheirBoxes();
    void controlsInsideClientArea();
    void tabWalksTheFocusOrder();
    void screenReaderLabels_data();
    void screenReaderLabels();
    void calculates_data();
    void calculates();
    void optionPairFollowsTheLastClick_data();
    void optionPairFollowsTheLastClick();
    void neitherOptionMeansGroup1();
    void errorLeavesNeitherOptionSelected();
    void convertsInTheUsersLocale_data();
    void convertsInTheUsersLocale();
    void checkBoxesCountAtTheNextPress();
    void errorKeepsEverything_data();
    void errorKeepsEverything();
    void enterAndEscapePressNothing();
    void returnPressesTheFocusedButton();
    void resizingMovesNothing();
    void exitAndCloseEndTheProgram();

private:
    template <typename T> T *control(const QString &name) const
    {
        return korvane::ui::findControl<T>(*m_window, name);
    }
    QLineEdit *box(const QString &name) const { return control<QLineEdit>(name); }
    void type(const QString &name, const QString &text);
    void click(const QString &name);
    void enter(const QString &p, const QString &V, const QString &pw, Group group);

    FakeNavigator m_navigator;
    std::unique_ptr<CalculatorWindow> m_window;
};

void TestCalculatorWindow::initTestCase()
{
    korvane::ui::registerFontSubstitutes();
}

void TestCalculatorWindow::init()
{
    m_navigator.calls.clear();
    m_window = std::make_unique<CalculatorWindow>(m_navigator);
    m_window->show();
    m_window->activateWindow(); // no window manager does it on the xcb run's X server
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestCalculatorWindow::cleanup()
{
    m_window.reset();
}

void TestCalculatorWindow::type(const QString &name, const QString &text)
{
    QLineEdit *edit = box(name);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QCOMPARE(edit->text(), text);
}

void TestCalculatorWindow::click(const QString &name)
{
    // Anywhere in a control's box counts: the middle as much as the indicator.
    QTest::mouseClick(control<QWidget>(name), Qt::LeftButton);
}

void TestCalculatorWindow::enter(const QString &p, const QString &V, const QString &pw, Group group)
{
    type(u"Text1"_s, p);
    type(u"Text2"_s, V);
    type(u"Text4"_s, pw);
    if (group == Group::One)
        click(u"Option1"_s);
    else if (group == Group::Two)
        click(u"Option2"_s);
}

void TestCalculatorWindow::startsAsLoaded()
{
    for (const QString &name : {u"Text1"_s, u"Text2"_s, u"Text3"_s, u"Text4"_s}) {
        QCOMPARE(box(name)->text(), u" "_s);
        QVERIFY(box(name)->placeholderText().isEmpty());
    }
    QCOMPARE(control<QCheckBox>(u"Check1"_s)->checkState(), Qt::Checked);
    QCOMPARE(control<QCheckBox>(u"Check2"_s)->checkState(), Qt::Unchecked);
    QVERIFY(!control<QRadioButton>(u"Option1"_s)->isChecked());
    QVERIFY(!control<QRadioButton>(u"Option2"_s)->isChecked());
    QCOMPARE(m_window->objectName(), u"form1"_s);
    QCOMPARE(m_window->size(), QSize(476, 657));
    QVERIFY(m_window->windowTitle().startsWith(u"Email: "_s));
    QVERIFY(m_window->windowTitle().endsWith(u"@example.com"_s));
}

void TestCalculatorWindow::firstFocusOnCalculate()
{
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(u"Command1"_s));
}

void TestCalculatorWindow::labelsFitTheirBoxes()
{
    const QList<QLabel *> labels = m_window->findChildren<QLabel *>();
    QCOMPARE(labels.size(), 21);
    for (const QLabel *label : labels) {
        const QFontMetricsF metrics(label->font());
        const QString what = label->objectName() + u" \""_s + label->text() + u'"';
        QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(what + u" is wider than its box"_s));
        QVERIFY2(metrics.height() <= label->height(),
                 qPrintable(what + u" is taller than its box"_s));
        QVERIFY2(!label->wordWrap(), qPrintable(what));
    }
}

void TestCalculatorWindow::controlsInsideClientArea()
{
    const QRect client = m_window->rect();
    for (const QWidget *w : m_window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (w->objectName() == u"Label4(3)"_s)
            continue;
        QVERIFY2(client.contains(w->geometry()), qPrintable(w->objectName()));
    }
    // Its box reaches past the right edge; its text does not.
    const auto *note = control<QLabel>(u"Label4(3)"_s);
    QVERIFY(note->geometry().right() > client.right());
    QVERIFY(note->x() + QFontMetricsF(note->font()).horizontalAdvance(note->text()) <=
            client.width());
}

void TestCalculatorWindow::tabWalksTheFocusOrder()
{
    const QStringList expected = {u"Command1"_s, u"Command3"_s, u"Text1"_s,    u"Text2"_s,
                                  u"Text3"_s,    u"Option2"_s,  u"Option1"_s,  u"Text4"_s,
                                  u"Check1"_s,   u"Check2"_s,   u"Command2"_s, u"Command1"_s};
    QStringList walked{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(walked, expected);
}

void TestCalculatorWindow::screenReaderLabels_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("description");
    QTest::newRow("Text1") << u"Text1"_s << QStringList{u"设计压力   p"_s} << u"单位：MPa"_s;
    QTest::newRow("Text2") << u"Text2"_s << QStringList{u"容   积    V"_s} << u"单位：L"_s;
    QTest::newRow("Text4") << u"Text4"_s << QStringList{u"工作压力   pw"_s} << u"单位：MPa"_s;
    QTest::newRow("Text3") << u"Text3"_s << QStringList{u"结果：本设备属于"_s} << QString();
    QTest::newRow("Option1") << u"Option1"_s << QStringList{u"第一组介质："_s} << QString();
    QTest::newRow("Option2") << u"Option2"_s << QStringList{u"第二组介质："_s} << QString();
    QTest::newRow("Check2") << u"Check2"_s << QStringList{u"是否属于本规程1.4条适用范围"_s}
                            << QString();
    QTest::newRow("Check1, both lines")
        << u"Check1"_s
        << QStringList{u"盛装介质为气体、液化气体以及介质最高工作温度"_s,
                       u"高于或者等于其标准沸点的液体。(见注1)"_s}
        << QString();
}

// Each input is labelled by its caption through the label relation, which
// screen readers follow, and each number box tells its unit.
void TestCalculatorWindow::screenReaderLabels()
{
    QFETCH(QString, control);
    QFETCH(QStringList, labels);
    QFETCH(QString, description);
    QAccessibleInterface *input =
        QAccessible::queryAccessibleInterface(this->control<QWidget>(control));
    QStringList read;
    for (const auto &[label, relation] : input->relations(QAccessible::Label))
        read << label->text(QAccessible::Name);
    QCOMPARE(read, labels);
    QCOMPARE(input->text(QAccessible::Description), description);
}

void TestCalculatorWindow::calculates_data()
{
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("pw");
    QTest::addColumn<Group>("group");
    QTest::addColumn<QString>("result");

    QTest::newRow("0.1 × 25 group 1") << u"0.1"_s << u"25"_s << u"0.1"_s << Group::One << u"Ⅱ 类"_s;
    QTest::newRow("10 × 25 group 2") << u"10"_s << u"25"_s << u"10"_s << Group::Two << u"Ⅲ 类"_s;
    QTest::newRow("2 × 1: pwV below 2.5") << u"2"_s << u"1"_s << u"2"_s << Group::One << u"类外"_s;
    QTest::newRow("3 × 1") << u"3"_s << u"1"_s << u"3"_s << Group::One << u"Ⅰ 类"_s;
    QTest::newRow("group 2, 1.5 × 25")
        << u"1.5"_s << u"25"_s << u"1.5"_s << Group::Two << u"Ⅰ 类"_s;
    QTest::newRow("padded entries")
        << u"  1.6 "_s << u" 31250"_s << u"1.6  "_s << Group::One << u"Ⅲ 类"_s;
}

void TestCalculatorWindow::calculates()
{
    QFETCH(QString, p);
    QFETCH(QString, V);
    QFETCH(QString, pw);
    QFETCH(Group, group);
    QFETCH(QString, result);

    enter(p, V, pw, group);
    click(u"Command1"_s);
    QCOMPARE(box(u"Text3"_s)->text(), result);

    // A second result replaces the first entirely.
    click(u"Check1"_s);
    click(u"Command1"_s);
    QCOMPARE(box(u"Text3"_s)->text(), u"类外"_s);
}

void TestCalculatorWindow::optionPairFollowsTheLastClick_data()
{
    QTest::addColumn<QList<int>>("clicks");
    for (const QList<int> &clicks :
         QList<QList<int>>{{1}, {2}, {1, 2}, {2, 1}, {1, 1}, {2, 2}, {1, 2, 1}, {2, 1, 2}}) {
        QStringList name;
        for (int option : clicks)
            name << u"Option%1"_s.arg(option);
        QTest::newRow(qPrintable(name.join(u", "_s))) << clicks;
    }
}

void TestCalculatorWindow::optionPairFollowsTheLastClick()
{
    QFETCH(QList<int>, clicks);
    auto *one = control<QRadioButton>(u"Option1"_s);
    auto *two = control<QRadioButton>(u"Option2"_s);
    // 1.5 MPa × 100 L is class II in group 1 and class I in group 2.
    enter(u"1.5"_s, u"100"_s, u"1.5"_s, Group::None);
    for (int option : clicks) {
        click(u"Option%1"_s.arg(option));
        QVERIFY2(one->isChecked() != two->isChecked(),
                 qPrintable(u"after Option%1: Option1 %2, Option2 %3"_s.arg(option).arg(
                     one->isChecked() ? u"selected"_s : u"clear"_s,
                     two->isChecked() ? u"selected"_s : u"clear"_s)));
        QCOMPARE(one->isChecked(), option == 1);
    }
    click(u"Command1"_s);
    QCOMPARE(box(u"Text3"_s)->text(), clicks.last() == 1 ? u"Ⅱ 类"_s : u"Ⅰ 类"_s);
}

void TestCalculatorWindow::neitherOptionMeansGroup1()
{
    // 1.5 MPa × 100 L is class II in group 1 and class I in group 2.
    enter(u"1.5"_s, u"100"_s, u"1.5"_s, Group::None);
    click(u"Command1"_s);
    QCOMPARE(box(u"Text3"_s)->text(), u"Ⅱ 类"_s);
    QVERIFY(control<QRadioButton>(u"Option1"_s)->isChecked());
    QVERIFY(!control<QRadioButton>(u"Option2"_s)->isChecked());

    click(u"Option2"_s);
    click(u"Command1"_s);
    QCOMPARE(box(u"Text3"_s)->text(), u"Ⅰ 类"_s);
    QVERIFY(control<QRadioButton>(u"Option2"_s)->isChecked());
}

// The options are settled only on the way to a result: an entry that is no
// number leaves the pair as the user left it.
void TestCalculatorWindow::errorLeavesNeitherOptionSelected()
{
    enter(u"1.5"_s, u"abc"_s, u"1.5"_s, Group::None);
    const auto caught = runCatchingMessageBox([this] { click(u"Command1"_s); });
    QVERIFY(caught.shown);
    QVERIFY2(!control<QRadioButton>(u"Option1"_s)->isChecked(), "an error selected Option1");
    QVERIFY2(!control<QRadioButton>(u"Option2"_s)->isChecked(), "an error selected Option2");
    QCOMPARE(box(u"Text3"_s)->text(), u" "_s);
}

// Run by ctest a second time as tst_calculatorwindow_de_DE, in German.
void TestCalculatorWindow::convertsInTheUsersLocale_data()
{
    QTest::addColumn<QString>("pressure");
    QTest::addColumn<QString>("result"); // empty: the entry is refused
    QTest::newRow("decimal comma") << u"1,6"_s << u"Ⅲ 类"_s;
    QTest::newRow("point is a group mark") << u"1.6"_s << QString();
}

void TestCalculatorWindow::convertsInTheUsersLocale()
{
    if (QLocale::system().decimalPoint() != u","_s)
        QSKIP("needs a comma-decimal locale; ctest runs this as tst_calculatorwindow_de_DE");
    QFETCH(QString, pressure);
    QFETCH(QString, result);

    // 1.6 MPa × 31250 L is 50000 MPa·L: class III in group 1.
    enter(pressure, u"31250"_s, pressure, Group::One);
    const auto caught = runCatchingMessageBox([this] { click(u"Command1"_s); });
    if (result.isEmpty()) {
        QVERIFY2(caught.shown, qPrintable(u"\"%1\" was taken as a number in %2"_s.arg(
                                   pressure, QLocale::system().name())));
        QVERIFY2(caught.text.contains(u"设计压力 p"_s), qPrintable(caught.text));
    } else {
        QVERIFY2(!caught.shown, qPrintable(u"%1 refused \"%2\": %3"_s.arg(QLocale::system().name(),
                                                                          pressure, caught.text)));
        QCOMPARE(box(u"Text3"_s)->text(), result);
    }
}

void TestCalculatorWindow::checkBoxesCountAtTheNextPress()
{
    enter(u"1"_s, u"100"_s, u"1"_s, Group::One);
    click(u"Check2"_s);
    QCOMPARE(box(u"Text3"_s)->text(), u" "_s);
    click(u"Command1"_s);
    QCOMPARE(box(u"Text3"_s)->text(), u"Ⅰ 类"_s);

    click(u"Check1"_s);
    QCOMPARE(control<QCheckBox>(u"Check1"_s)->checkState(), Qt::Unchecked);
    click(u"Command1"_s);
    QCOMPARE(box(u"Text3"_s)->text(), u"类外"_s);
}

void TestCalculatorWindow::errorKeepsEverything_data()
{
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("pw");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("focus");

    QTest::newRow("letters in p") << u"abc"_s << u"100"_s << u"1"_s << u"类型不匹配"_s
                                  << u"设计压力 p"_s << u"Text1"_s;
    QTest::newRow("blank V") << u"1"_s << u"   "_s << u"1"_s << u"类型不匹配"_s << u"容积 V"_s
                             << u"Text2"_s;
    QTest::newRow("inf as pw") << u"1"_s << u"100"_s << u"inf"_s << u"类型不匹配"_s
                               << u"工作压力 pw"_s << u"Text4"_s;
    QTest::newRow("p beyond float")
        << u"1e39"_s << u"100"_s << u"1"_s << u"溢出"_s << u"设计压力 p"_s << u"Text1"_s;
    QTest::newRow("pV beyond float")
        << u"3e38"_s << u"10"_s << u"1"_s << u"溢出"_s << u"容积 V"_s << u"Text2"_s;
    QTest::newRow("pw beyond double")
        << u"1"_s << u"100"_s << u"1e400"_s << u"溢出"_s << u"工作压力 pw"_s << u"Text4"_s;
}

void TestCalculatorWindow::errorKeepsEverything()
{
    QFETCH(QString, p);
    QFETCH(QString, V);
    QFETCH(QString, pw);
    QFETCH(QString, kind);
    QFETCH(QString, field);
    QFETCH(QString, focus);

    // A result first, so there is something to keep; group 2 so that the
    // error cannot hide behind step 6 choosing Option1.
    enter(u"10"_s, u"25"_s, u"10"_s, Group::Two);
    click(u"Command1"_s);
    QCOMPARE(box(u"Text3"_s)->text(), u"Ⅲ 类"_s);

    enter(p, V, pw, Group::None);
    const auto caught = runCatchingMessageBox([this] { click(u"Command1"_s); });

    QVERIFY(caught.shown);
    QCOMPARE(caught.title, u"Korvane"_s);
    QVERIFY2(caught.text.contains(kind), qPrintable(caught.text));
    QVERIFY2(caught.text.contains(field), qPrintable(caught.text));

    QVERIFY(m_window->isVisible());
    QCOMPARE(box(u"Text1"_s)->text(), p);
    QCOMPARE(box(u"Text2"_s)->text(), V);
    QCOMPARE(box(u"Text4"_s)->text(), pw);
    QCOMPARE(box(u"Text3"_s)->text(), u"Ⅲ 类"_s);
    QVERIFY(control<QRadioButton>(u"Option2"_s)->isChecked());
    QVERIFY(!control<QRadioButton>(u"Option1"_s)->isChecked());
    QCOMPARE(control<QCheckBox>(u"Check1"_s)->checkState(), Qt::Checked);
    QVERIFY(m_navigator.calls.isEmpty());

    // The keyboard's focus, once the window system has settled after the box.
    QTRY_COMPARE(QApplication::focusWidget(), control<QWidget>(focus));
    QCOMPARE(box(focus)->selectedText(), box(focus)->text());

    // The program goes on: the corrected entry calculates.
    enter(u"1"_s, u"100"_s, u"1"_s, Group::None);
    click(u"Command1"_s);
    QCOMPARE(box(u"Text3"_s)->text(), u"Ⅰ 类"_s);
}

void TestCalculatorWindow::enterAndEscapePressNothing()
{
    enter(u"10"_s, u"25"_s, u"10"_s, Group::One);
    QTest::keyClick(box(u"Text4"_s), Qt::Key_Return);
    QTest::keyClick(box(u"Text4"_s), Qt::Key_Enter);
    QTest::keyClick(box(u"Text4"_s), Qt::Key_Escape);
    QCOMPARE(box(u"Text3"_s)->text(), u" "_s);
    QVERIFY(m_navigator.calls.isEmpty());
    QVERIFY(m_window->isVisible());
}

void TestCalculatorWindow::returnPressesTheFocusedButton()
{
    enter(u"10"_s, u"25"_s, u"10"_s, Group::One);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        box(u"Text3"_s)->setText(u" "_s);
        auto *calculate = control<QPushButton>(u"Command1"_s);
        calculate->setFocus();
        QTest::keyClick(calculate, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(box(u"Text3"_s)->text(), u"Ⅲ 类"_s);
    }
    // 查看1.4 hides this window, shows page 1 and hides page 2, in that order.
    auto *view = control<QPushButton>(u"Command2"_s);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(m_navigator.calls, (QStringList{u"hide form1"_s, u"show Form2"_s, u"hide Form3"_s}));
}

void TestCalculatorWindow::resizingMovesNothing()
{
    QHash<QString, QRect> before;
    for (const QWidget *w : m_window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        before.insert(w->objectName(), w->geometry());
    for (const QSize size : {QSize(900, 900), QSize(200, 150)}) {
        m_window->resize(size);
        QTRY_COMPARE(m_window->size(), size);
        for (const QWidget *w : m_window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QCOMPARE(w->geometry(), before.value(w->objectName()));
    }
}

void TestCalculatorWindow::exitAndCloseEndTheProgram()
{
    click(u"Command3"_s);
    QCOMPARE(m_navigator.calls, QStringList{u"end"_s});
    m_navigator.calls.clear();
    m_window->close();
    QCOMPARE(m_navigator.calls, QStringList{u"end"_s});
}

QTEST_MAIN(TestCalculatorWindow)
#include "tst_calculatorwindow.moc"
