// Moving between the three windows as a person does it, with the real
// window manager: by clicking the buttons, pressing keys on them and closing
// windows.
#include "fonts.h"
#include "windowmanager.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <tuple>

using namespace Qt::Literals::StringLiterals;
using korvane::WindowManager;
using korvane::ui::WindowName;

Q_DECLARE_METATYPE(WindowName)

class TestNavigation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { korvane::ui::registerFontSubstitutes(); }
    void init();
    void cleanup() { m_windows.reset(); }

    void startsWithTheCalculatorOnly();
    void everyPathShowsOneWindow();
    void pagesAreCreatedOnceByTheFirstPress();
    void calculatorKeepsItsState();
    void pagesTakeTheFocusOnTheirFirstButton();
    void closingAPageLeadsHome_data();
    void closingAPageLeadsHome();
    void exitEndsTheProgramWithPagesHidden();
    void closingTheCalculatorEndsTheProgram();
    void keysPressButtons_data();
    void keysPressButtons();

private:
    QWidget *window(WindowName name) const { return m_windows->existingWindow(name); }
    void press(WindowName where, const QString &button);
    QWidget *visibleOnly() const;
    static int runUntilExit(const std::function<void()> &action);

    std::unique_ptr<WindowManager> m_windows;
};

void TestNavigation::init()
{
    m_windows = std::make_unique<WindowManager>();
    m_windows->showWindow(WindowName::form1);
    QVERIFY(QTest::qWaitForWindowExposed(window(WindowName::form1)));
}

void TestNavigation::press(WindowName where, const QString &button)
{
    QWidget *w = window(where);
    QVERIFY2(w && w->isVisible(), "pressing a button of a window that is not shown");
    auto *b = w->findChild<QPushButton *>(button);
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

// The one visible window, or nullptr when none or several are.
QWidget *TestNavigation::visibleOnly() const
{
    QWidget *found = nullptr;
    for (const auto name : {WindowName::form1, WindowName::Form2, WindowName::Form3}) {
        QWidget *w = window(name);
        if (w && w->isVisible()) {
            if (found)
                return nullptr;
            found = w;
        }
    }
    return found;
}

// Runs the application's event loop, does the action from inside it, and
// gives the loop's exit code; -1 when the action did not end the loop.
int TestNavigation::runUntilExit(const std::function<void()> &action)
{
    QTimer start;
    start.setSingleShot(true);
    QObject::connect(&start, &QTimer::timeout, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    start.start(0);
    guard.start(5000);
    return QApplication::exec();
}

void TestNavigation::startsWithTheCalculatorOnly()
{
    QCOMPARE(visibleOnly(), window(WindowName::form1));
    QVERIFY(!window(WindowName::Form2));
    QVERIFY(!window(WindowName::Form3));
}

void TestNavigation::everyPathShowsOneWindow()
{
    using enum WindowName;
    const struct
    {
        WindowName from;
        QString button;
        WindowName to;
    } path[] = {
        {form1, u"Command2"_s, Form2},                                // 查看1.4
        {Form2, u"Command1"_s, form1},                                // 返回
        {form1, u"Command2"_s, Form2}, {Form2, u"Command2"_s, Form3}, // 下一页
        {Form3, u"Command1"_s, Form2},                                // 返回上一页
        {Form2, u"Command2"_s, Form3}, {Form3, u"Command2"_s, form1}, // 返回首页
        {form1, u"Command2"_s, Form2}, {Form2, u"Command1"_s, form1},
    };
    for (const auto &step : path) {
        press(step.from, step.button);
        QCOMPARE(visibleOnly(), window(step.to));
    }
}

void TestNavigation::pagesAreCreatedOnceByTheFirstPress()
{
    press(WindowName::form1, u"Command2"_s);
    QWidget *page1 = window(WindowName::Form2);
    QWidget *page2 = window(WindowName::Form3);
    QVERIFY(page1 && page1->isVisible());
    QVERIFY(page2 && !page2->isVisible());
    QCOMPARE(page1->objectName(), u"Form2"_s);
    QCOMPARE(page2->objectName(), u"Form3"_s);

    press(WindowName::Form2, u"Command2"_s);
    press(WindowName::Form3, u"Command2"_s);
    press(WindowName::form1, u"Command2"_s);
    QCOMPARE(window(WindowName::Form2), page1);
    QCOMPARE(window(WindowName::Form3), page2);
}

void TestNavigation::calculatorKeepsItsState()
{
    QWidget *calc = window(WindowName::form1);
    const auto box = [calc](const char *name) {
        return calc->findChild<QLineEdit *>(name);
    };
    const auto type = [&](const char *name, const QString &text) {
        box(name)->selectAll();
        QTest::keyClicks(box(name), text);
    };
    type("Text1", u"10"_s);
    type("Text2", u"25"_s);
    type("Text4", u"10"_s);
    QTest::mouseClick(calc->findChild<QRadioButton *>("Option2"), Qt::LeftButton);
    calc->findChild<QCheckBox *>("Check2")->click();
    QTest::mouseClick(calc->findChild<QPushButton *>("Command1"), Qt::LeftButton);
    QCOMPARE(box("Text3")->text(), u"Ⅰ 类"_s);
    box("Text3")->setText(u"typed over"_s);

    press(WindowName::form1, u"Command2"_s);
    press(WindowName::Form2, u"Command2"_s);
    press(WindowName::Form3, u"Command1"_s);
    press(WindowName::Form2, u"Command2"_s);
    press(WindowName::Form3, u"Command2"_s);

    QCOMPARE(visibleOnly(), calc);
    QCOMPARE(box("Text1")->text(), u"10"_s);
    QCOMPARE(box("Text2")->text(), u"25"_s);
    QCOMPARE(box("Text4")->text(), u"10"_s);
    QCOMPARE(box("Text3")->text(), u"typed over"_s);
    QVERIFY(calc->findChild<QRadioButton *>("Option2")->isChecked());
    QVERIFY(!calc->findChild<QRadioButton *>("Option1")->isChecked());
    QCOMPARE(calc->findChild<QCheckBox *>("Check1")->checkState(), Qt::Checked);
    QCOMPARE(calc->findChild<QCheckBox *>("Check2")->checkState(), Qt::Checked);
}

void TestNavigation::pagesTakeTheFocusOnTheirFirstButton()
{
    press(WindowName::form1, u"Command2"_s);
    QWidget *page1 = window(WindowName::Form2);
    QVERIFY(QTest::qWaitForWindowActive(page1));
    QCOMPARE(QApplication::focusWidget(), page1->findChild<QWidget *>(u"Command1"_s));

    press(WindowName::Form2, u"Command2"_s);
    QWidget *page2 = window(WindowName::Form3);
    QVERIFY(QTest::qWaitForWindowActive(page2));
    QCOMPARE(QApplication::focusWidget(), page2->findChild<QWidget *>(u"Command1"_s));
}

void TestNavigation::closingAPageLeadsHome_data()
{
    QTest::addColumn<WindowName>("page");
    QTest::newRow("first page") << WindowName::Form2;
    QTest::newRow("second page") << WindowName::Form3;
}

void TestNavigation::closingAPageLeadsHome()
{
    QFETCH(WindowName, page);
    press(WindowName::form1, u"Command2"_s);
    if (page == WindowName::Form3)
        press(WindowName::Form2, u"Command2"_s);
    QCOMPARE(visibleOnly(), window(page));

    QVERIFY(window(page)->close());
    QCOMPARE(visibleOnly(), window(WindowName::form1));
}

void TestNavigation::exitEndsTheProgramWithPagesHidden()
{
    press(WindowName::form1, u"Command2"_s);
    press(WindowName::Form2, u"Command2"_s);
    press(WindowName::Form3, u"Command2"_s);

    QCOMPARE(runUntilExit([this] { press(WindowName::form1, u"Command3"_s); }), 0);
    QCOMPARE(visibleOnly(), nullptr);
    for (const auto name : {WindowName::form1, WindowName::Form2, WindowName::Form3})
        QVERIFY(!window(name)->isVisible());
}

void TestNavigation::closingTheCalculatorEndsTheProgram()
{
    press(WindowName::form1, u"Command2"_s);
    press(WindowName::Form2, u"Command1"_s);

    QCOMPARE(runUntilExit([this] { window(WindowName::form1)->close(); }), 0);
    QVERIFY(!window(WindowName::form1)->isVisible());
    QVERIFY(!window(WindowName::Form2)->isVisible());
}

void TestNavigation::keysPressButtons_data()
{
    QTest::addColumn<WindowName>("where");
    QTest::addColumn<QString>("button");
    using enum WindowName;
    QTest::newRow("计算") << form1 << u"Command1"_s;
    QTest::newRow("查看1.4") << form1 << u"Command2"_s;
    QTest::newRow("退出") << form1 << u"Command3"_s;
    QTest::newRow("返回") << Form2 << u"Command1"_s;
    QTest::newRow("下一页") << Form2 << u"Command2"_s;
    QTest::newRow("返回上一页") << Form3 << u"Command1"_s;
    QTest::newRow("返回首页") << Form3 << u"Command2"_s;
}

// Space, Return and keypad Enter each press the focused button once; other
// keys press nothing.
void TestNavigation::keysPressButtons()
{
    QFETCH(WindowName, where);
    QFETCH(QString, button);
    m_windows->showWindow(where);
    // Numbers that 计算 takes without a message box.
    for (const char *box : {"Text1", "Text2", "Text4"})
        window(WindowName::form1)->findChild<QLineEdit *>(box)->setText(u"1"_s);
    auto *b = window(where)->findChild<QPushButton *>(button);
    QVERIFY(b);
    // Keypad Enter is Enter with the keypad modifier.
    const std::tuple<Qt::Key, Qt::KeyboardModifier, int> keys[] = {
        {Qt::Key_Space, Qt::NoModifier, 1},
        {Qt::Key_Return, Qt::NoModifier, 1},
        {Qt::Key_Enter, Qt::KeypadModifier, 1},
        {Qt::Key_Escape, Qt::NoModifier, 0}};
    for (const auto &[key, modifier, presses] : keys) {
        b->setFocus();
        QSignalSpy clicked(b, &QPushButton::clicked);
        QTest::keyClick(b, key, modifier);
        QVERIFY2(clicked.count() == presses,
                 qPrintable(u"%1 pressed it %2 times, not %3"_s.arg(QKeySequence(key).toString())
                                .arg(clicked.count())
                                .arg(presses)));
    }
}

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
