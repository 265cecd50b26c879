// The calculate action without a window: the order in which it reports
// errors, how it settles the option buttons, and whole calculations from text.
#include "calculate.h"

#include <QTest>

using namespace korvane;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(korvane::CalculatorEntries)
Q_DECLARE_METATYPE(korvane::CalculateError)
Q_DECLARE_METATYPE(korvane::ClassResult)

namespace {

CalculatorEntries entries(const QString &p, const QString &V, const QString &pw,
                          CheckState check1 = CheckState::On, CheckState check2 = CheckState::Off,
                          bool option1 = false, bool option2 = false)
{
    return {p, V, pw, check1, check2, option1, option2};
}

constexpr auto Mismatch = ErrorKind::TypeMismatch;
constexpr auto Overflow = ErrorKind::Overflow;

} // namespace

class TestCalculate : public QObject
{
    Q_OBJECT

private slots:
    void errors_data();
    void errors();
    void optionButtons_data();
    void optionButtons();
    void fromText_data();
    void fromText();
    void localeDecides();
};

void TestCalculate::errors_data()
{
    QTest::addColumn<CalculatorEntries>("in");
    QTest::addColumn<CalculateError>("error");

    const CalculateError text1{Mismatch, InputBox::Text1};
    const CalculateError text2{Mismatch, InputBox::Text2};
    const CalculateError text4{Mismatch, InputBox::Text4};

    QTest::newRow("as the window starts") << entries(u" "_s, u" "_s, u" "_s) << text1;
    QTest::newRow("Text1 before Text2") << entries(u"x"_s, u"y"_s, u"1"_s) << text1;
    QTest::newRow("Text2 before Text4") << entries(u"1"_s, u"y"_s, u"z"_s) << text2;
    QTest::newRow("Text4 last") << entries(u"1"_s, u"2"_s, u"z"_s) << text4;
    QTest::newRow("Text1 overflow before Text2")
        << entries(u"1e39"_s, u"y"_s, u"1"_s) << CalculateError{Overflow, InputBox::Text1};
    QTest::newRow("Text2 overflow")
        << entries(u"1"_s, u"-1e39"_s, u"1"_s) << CalculateError{Overflow, InputBox::Text2};
    // pV is formed before Text4 is converted.
    QTest::newRow("pV overflow before Text4")
        << entries(u"3e38"_s, u"2"_s, u"z"_s) << CalculateError{Overflow, InputBox::Text2, true};
    QTest::newRow("Text4 beyond double")
        << entries(u"1"_s, u"2"_s, u"1e309"_s) << CalculateError{Overflow, InputBox::Text4};
    QTest::newRow("Text4 within double, beyond float is fine, pwV is not")
        << entries(u"1"_s, u"1e30"_s, u"1e300"_s)
        << CalculateError{Overflow, InputBox::Text4, true};
}

void TestCalculate::errors()
{
    QFETCH(CalculatorEntries, in);
    QFETCH(CalculateError, error);

    const CalculateOutcome out = calculate(in, QLocale::c());
    const auto *got = std::get_if<CalculateError>(&out);
    QVERIFY(got);
    QCOMPARE(*got, error);
}

void TestCalculate::optionButtons_data()
{
    QTest::addColumn<bool>("option1");
    QTest::addColumn<bool>("option2");
    QTest::addColumn<bool>("after1");
    QTest::addColumn<bool>("after2");
    QTest::addColumn<ClassResult>("result");

    // p 1.6, V 100 is class II in group 2 and class II in group 1; p 1.5
    // tells the groups apart: class II in group 1, class I in group 2.
    QTest::newRow("neither: Option1, group 1")
        << false << false << true << false << ClassResult::ClassII;
    QTest::newRow("Option1 stays") << true << false << true << false << ClassResult::ClassII;
    QTest::newRow("Option2 stays") << false << true << false << true << ClassResult::ClassI;
    QTest::newRow("both: Option2 wins") << true << true << false << true << ClassResult::ClassI;
}

void TestCalculate::optionButtons()
{
    QFETCH(bool, option1);
    QFETCH(bool, option2);
    QFETCH(bool, after1);
    QFETCH(bool, after2);
    QFETCH(ClassResult, result);

    const auto in =
        entries(u"1.5"_s, u"100"_s, u"1.5"_s, CheckState::On, CheckState::Off, option1, option2);
    const CalculateOutcome out = calculate(in, QLocale::c());
    const auto *ok = std::get_if<CalculateSuccess>(&out);
    QVERIFY(ok);
    QCOMPARE(ok->option1, after1);
    QCOMPARE(ok->option2, after2);
    QCOMPARE(ok->decision.result, result);
}

void TestCalculate::fromText_data()
{
    QTest::addColumn<CalculatorEntries>("in");
    QTest::addColumn<ClassResult>("result");

    const auto On = CheckState::On;
    const auto Off = CheckState::Off;

    // An entered 0.099999999 becomes the float nearest 0.1, which passes
    // p >= 0.1; as a double working pressure it stays below 0.1.
    QTest::newRow("p 0.099999999")
        << entries(u"0.099999999"_s, u"30"_s, u"1"_s) << ClassResult::ClassII;
    QTest::newRow("pw 0.099999999")
        << entries(u"1"_s, u"30"_s, u"0.099999999"_s) << ClassResult::OutOfClass;
    QTest::newRow("pV rounds to 2.5")
        << entries(u"0.8333333"_s, u"3"_s, u"1"_s) << ClassResult::ClassI;
    QTest::newRow("pwV stays below 2.5")
        << entries(u"0.8333333"_s, u"3"_s, u"0.8333333"_s) << ClassResult::OutOfClass;
    QTest::newRow("p 10 V 25") << entries(u"10"_s, u"25"_s, u"10"_s) << ClassResult::ClassIII;
    QTest::newRow("Check1 off") << entries(u"10"_s, u"25"_s, u"10"_s, Off)
                                << ClassResult::OutOfClass;
    QTest::newRow("Check2 on, group 2")
        << entries(u"1"_s, u"100"_s, u"1"_s, On, On, false, true) << ClassResult::ClassI;
    QTest::newRow("largest float times zero")
        << entries(u"3.4028235e38"_s, u"0"_s, u"1"_s) << ClassResult::OutOfClass;
    QTest::newRow("negative zero") << entries(u"-0"_s, u"-0"_s, u"-0"_s) << ClassResult::OutOfClass;
    QTest::newRow("full-width entries")
        << entries(u"１０"_s, u"２５"_s, u"１０"_s) << ClassResult::ClassIII;
}

void TestCalculate::fromText()
{
    QFETCH(CalculatorEntries, in);
    QFETCH(ClassResult, result);

    const CalculateOutcome out = calculate(in, QLocale(u"zh_CN"_s));
    const auto *ok = std::get_if<CalculateSuccess>(&out);
    QVERIFY(ok);
    QCOMPARE(ok->decision.result, result);
}

void TestCalculate::localeDecides()
{
    // The same text is 1.6 in Chinese and no number at all in German.
    const auto in = entries(u"1.6"_s, u"100"_s, u"1.6"_s);
    QVERIFY(std::holds_alternative<CalculateSuccess>(calculate(in, QLocale(u"zh_CN"_s))));
    const CalculateOutcome de = calculate(in, QLocale(u"de_DE"_s));
    QCOMPARE(std::get<CalculateError>(de), (CalculateError{Mismatch, InputBox::Text1}));

    const auto german = entries(u"1,6"_s, u"100"_s, u"1,6"_s);
    const CalculateOutcome ok = calculate(german, QLocale(u"de_DE"_s));
    QCOMPARE(std::get<CalculateSuccess>(ok).input.p, 1.6f);
}

QTEST_GUILESS_MAIN(TestCalculate)
#include "tst_calculate.moc"
