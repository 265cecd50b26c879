// How long "计算" takes: the pure calculate action; the handler, from
// reading the boxes to writing the result; and the whole click, from the
// mouse press on the button (which repaints it pressed and released) to the
// result text in the result box. It reports times and checks results; no
// time is a failure.
#include "calculate.h"
#include "calculatorwindow.h"
#include "fonts.h"
#include "windowmanager.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace korvane;

class BenchCalculate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pureAction_data();
    void pureAction();
    void handler_data();
    void handler();
    void clickToResult_data();
    void clickToResult();

private:
    void addRows();
    void benchmarkWindow(bool click);
};

void BenchCalculate::initTestCase()
{
    ui::registerFontSubstitutes();
}

void BenchCalculate::addRows()
{
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("pw");
    QTest::addColumn<QString>("result");

    QTest::newRow("plain entries") << u"1.6"_s << u"31250"_s << u"1.6"_s << u"Ⅲ 类"_s;
    QTest::newRow("padded full-width entries")
        << u"\u3000１．５ "_s << u" 25,000"_s << u"１．５e0"_s << u"Ⅱ 类"_s;
    QTest::newRow("out of scope") << u"0.05"_s << u"100"_s << u"0.09"_s << u"类外"_s;
    QTest::newRow("1000-digit entry")
        << (QString(997, u'0') + u"2.5"_s) << u"1"_s << u"3"_s << u"Ⅰ 类"_s;
}

void BenchCalculate::pureAction_data()
{
    addRows();
}

void BenchCalculate::pureAction()
{
    QFETCH(QString, p);
    QFETCH(QString, V);
    QFETCH(QString, pw);
    QFETCH(QString, result);

    const CalculatorEntries entries{p, V, pw, CheckState::On, CheckState::Off, false, false};
    const QLocale locale = QLocale::system();
    CalculateOutcome outcome;
    QBENCHMARK
    {
        outcome = calculate(entries, locale);
    }
    const auto *success = std::get_if<CalculateSuccess>(&outcome);
    QVERIFY(success);
    QCOMPARE(resultText(success->decision.result), result);
}

void BenchCalculate::handler_data()
{
    addRows();
}

void BenchCalculate::handler()
{
    benchmarkWindow(false);
}

void BenchCalculate::clickToResult_data()
{
    addRows();
}

void BenchCalculate::clickToResult()
{
    benchmarkWindow(true);
}

void BenchCalculate::benchmarkWindow(bool click)
{
    QFETCH(QString, p);
    QFETCH(QString, V);
    QFETCH(QString, pw);
    QFETCH(QString, result);

    // The calculator as the program creates it.
    WindowManager windows;
    auto &window = *qobject_cast<ui::CalculatorWindow *>(windows.window(ui::WindowName::form1));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto box = [&](const QString &name) {
        return window.findChild<QLineEdit *>(name);
    };
    box(u"Text1"_s)->setText(p);
    box(u"Text2"_s)->setText(V);
    box(u"Text4"_s)->setText(pw);
    auto *calculate = window.findChild<QPushButton *>(u"Command1"_s);
    QLineEdit *text3 = box(u"Text3"_s);

    if (click) {
        QBENCHMARK
        {
            text3->setText(u" "_s);
            QTest::mouseClick(calculate, Qt::LeftButton);
        }
    } else {
        QBENCHMARK
        {
            text3->setText(u" "_s);
            window.Command1_Click();
        }
    }
    QCOMPARE(text3->text(), result);
}

QTEST_MAIN(BenchCalculate)
#include "calculatebench.moc"
