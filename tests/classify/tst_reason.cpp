// The reason in words: the deciding rule written from the table rows, the
// numbers as typed and as used, and the cautions.
#include "numbertext.h"
#include "reason.h"

#include <QRegularExpression>
#include <QTest>

using namespace korvane;
using namespace Qt::Literals::StringLiterals;
using rules::groupTable;

Q_DECLARE_METATYPE(MediumGroup)
Q_DECLARE_METATYPE(CheckState)

namespace {

struct Entries
{
    QString p, V, pw;
    MediumGroup group = MediumGroup::Group1;
    CheckState medium = CheckState::On;
    CheckState clause14 = CheckState::Off;
};

CalculatorEntries calculatorEntries(const Entries &e)
{
    const bool group2 = e.group == MediumGroup::Group2;
    return {e.p, e.V, e.pw, e.medium, e.clause14, !group2, group2};
}

// The vessel that the calculate action forms from the entries, and its decision.
CalculateSuccess calculated(const Entries &e)
{
    const CalculateOutcome outcome = calculate(calculatorEntries(e), QLocale::c());
    const auto *success = std::get_if<CalculateSuccess>(&outcome);
    if (!success)
        qFatal("entries that do not calculate");
    return *success;
}

QString reasonFor(const Entries &e)
{
    return reasonText(calculatorEntries(e), calculated(e));
}

// What a checker types after reading a copied reason: the three entries as
// typed, both answers and the medium group, from its lines alone.
CalculatorEntries enteredAgain(const QString &reason)
{
    CalculatorEntries again;
    const QRegularExpression typed(u"：输入“(.*)”"_s);
    const auto answer = [](const QString &line) {
        return line.endsWith(u"：是"_s) ? CheckState::On : CheckState::Off;
    };
    for (const QString &line : reason.split(u'\n')) {
        if (line.startsWith(u"设计压力 p："_s))
            again.text1 = typed.match(line).captured(1);
        else if (line.startsWith(u"容积 V："_s))
            again.text2 = typed.match(line).captured(1);
        else if (line.startsWith(u"工作压力 pw："_s))
            again.text4 = typed.match(line).captured(1);
        else if (line.startsWith(u"盛装介质为"_s))
            again.check1 = answer(line);
        else if (line.startsWith(u"属于本规程1.4条适用范围："_s))
            again.check2 = answer(line);
        else if (line.startsWith(u"介质："_s))
            again.option2 = line == u"介质：第二组介质"_s;
    }
    again.option1 = !again.option2;
    return again;
}

QStringList cautionLines(const QString &reason)
{
    return reason.split(u'\n').filter(QRegularExpression(u"^注意："_s));
}

} // namespace

class TestReason : public QObject
{
    Q_OBJECT

private slots:
    void rowText_data();
    void rowText();
    void decidingRules_data();
    void decidingRules();
    void numbersAsTypedAndUsed_data();
    void numbersAsTypedAndUsed();
    void shortestTextReadsBack_data();
    void shortestTextReadsBack();
    void longEntryIsCut();
    void wholeReason();
    void cautions_data();
    void cautions();
};

void TestReason::rowText_data()
{
    QTest::addColumn<MediumGroup>("group");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");

    using enum MediumGroup;
    const struct
    {
        MediumGroup group;
        int row;
        const char16_t *text;
    } rows[] = {
        {Group1, 1, u"第一组介质，0.1 L ≤ V < 25 L，pV ≥ 2.5 MPa·L：Ⅰ 类"},
        {Group1, 2, u"第一组介质，25 L ≤ V < 5000 L，p ≥ 10 MPa：Ⅲ 类"},
        {Group1, 3, u"第一组介质，25 L ≤ V < 5000 L，0.1 MPa ≤ p < 10 MPa：Ⅱ 类"},
        {Group1, 4, u"第一组介质，5000 L ≤ V < 31250 L，p ≥ 1.6 MPa，pV ≥ 50000 MPa·L：Ⅲ 类"},
        {Group1, 5, u"第一组介质，5000 L ≤ V < 31250 L，p ≥ 0.1 MPa，pV < 50000 MPa·L：Ⅱ 类"},
        {Group1, 6, u"第一组介质，31250 L ≤ V < 625000 L，p ≥ 1.6 MPa：Ⅲ 类"},
        {Group1, 7, u"第一组介质，31250 L ≤ V < 625000 L，0.1 MPa ≤ p < 1.6 MPa：Ⅱ 类"},
        {Group1, 8,
         u"第一组介质，625000 L ≤ V < 10000000 L，p ≥ 0.1 MPa，pV ≥ 1000000 MPa·L：Ⅲ 类"},
        {Group1, 9,
         u"第一组介质，625000 L ≤ V < 10000000 L，p ≥ 0.1 MPa，pV < 1000000 MPa·L：Ⅱ 类"},
        {Group1, 10, u"第一组介质，V ≥ 10000000 L，p ≥ 0.1 MPa：Ⅲ 类"},
        {Group2, 1, u"第二组介质，0.1 L ≤ V < 25 L，pV ≥ 2.5 MPa·L：Ⅰ 类"},
        {Group2, 2, u"第二组介质，25 L ≤ V < 50000 L，p ≥ 10 MPa：Ⅲ 类"},
        {Group2, 3, u"第二组介质，25 L ≤ V < 50000 L，1.6 MPa ≤ p < 10 MPa：Ⅱ 类"},
        {Group2, 4, u"第二组介质，25 L ≤ V < 50000 L，0.1 MPa ≤ p < 1.6 MPa：Ⅰ 类"},
        {Group2, 5, u"第二组介质，50000 L ≤ V < 312500 L，p ≥ 1.6 MPa，pV ≥ 500000 MPa·L：Ⅲ 类"},
        {Group2, 6, u"第二组介质，50000 L ≤ V < 312500 L，p ≥ 1.6 MPa，pV < 500000 MPa·L：Ⅱ 类"},
        {Group2, 7, u"第二组介质，50000 L ≤ V < 312500 L，0.1 MPa ≤ p < 1.6 MPa：Ⅰ 类"},
        {Group2, 8, u"第二组介质，312500 L ≤ V < 3125000 L，p ≥ 1.6 MPa：Ⅲ 类"},
        {Group2, 9, u"第二组介质，312500 L ≤ V < 3125000 L，0.1 MPa ≤ p < 1.6 MPa：Ⅰ 类"},
        {Group2, 10,
         u"第二组介质，3125000 L ≤ V < 50000000 L，p ≥ 0.1 MPa，pV ≥ 5000000 MPa·L：Ⅲ 类"},
        {Group2, 11,
         u"第二组介质，3125000 L ≤ V < 50000000 L，p ≥ 0.1 MPa，pV < 5000000 MPa·L：Ⅰ 类"},
        {Group2, 12, u"第二组介质，V ≥ 50000000 L，p ≥ 0.1 MPa：Ⅲ 类"},
    };
    for (const auto &r : rows) {
        QTest::addRow("group %d row %d", r.group == Group1 ? 1 : 2, r.row)
            << r.group << r.row << QString::fromUtf16(r.text);
    }
}

// Every row of both tables, written from its limits as the printed tables
// give them; this also proves each row has its printed text and class.
void TestReason::rowText()
{
    QFETCH(MediumGroup, group);
    QFETCH(int, row);
    QFETCH(QString, text);

    const auto table = groupTable(group);
    QVERIFY(std::size_t(row) <= table.size());
    Decision decision;
    decision.rule = DecidingRule::TableRow;
    decision.group = group;
    decision.row = &table[std::size_t(row) - 1];
    decision.result = decision.row->result;
    VesselInput in;
    in.group = group;
    QCOMPARE(ruleText(in, decision), text);
}

void TestReason::decidingRules_data()
{
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("pw");
    QTest::addColumn<MediumGroup>("group");
    QTest::addColumn<CheckState>("medium");
    QTest::addColumn<CheckState>("clause14");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result"); // the reason's first line

    using enum CheckState;
    using enum MediumGroup;
    const QString outOfScope = u"结果：类外（不属于本规程适用范围）"_s;
    const QString noRow = u"结果：类外（在适用范围内，但不在分类表的任何一行）"_s;
    QTest::newRow("scope: pw") << u"1"_s << u"100"_s << u"0.05"_s << Group1 << On << On
                               << u"不属于本规程适用范围（pw < 0.1 MPa）：类外"_s << outOfScope;
    QTest::newRow("scope: pwV") << u"0.8333333"_s << u"3"_s << u"0.8333333"_s << Group2 << On << Off
                                << u"不属于本规程适用范围（pwV < 2.5 MPa·L）：类外"_s << outOfScope;
    QTest::newRow("scope: all three")
        << u"1"_s << u"1"_s << u"0.05"_s << Group1 << Off << Off
        << u"不属于本规程适用范围（pw < 0.1 MPa；pwV < 2.5 MPa·L；"
           u"介质不是气体、液化气体或最高工作温度不低于标准沸点的液体）：类外"_s
        << outOfScope;
    QTest::newRow("clause 1.4")
        << u"1"_s << u"100"_s << u"1"_s << Group2 << On << On
        << u"属于本规程1.4条适用范围，pw ≥ 0.1 MPa，p ≥ 0.1 MPa，pwV ≥ 2.5 MPa·L，"
           u"pV ≥ 2.5 MPa·L：Ⅰ 类"_s
        << u"结果：Ⅰ 类"_s;
    // Greyed boxes, which only a program sets: the medium's counts as ticked,
    // clause 1.4's as not.
    QTest::newRow("group 1 row, greyed boxes")
        << u"1"_s << u"100"_s << u"1"_s << Group1 << Greyed << Greyed
        << u"第一组介质，25 L ≤ V < 5000 L，0.1 MPa ≤ p < 10 MPa：Ⅱ 类"_s << u"结果：Ⅱ 类"_s;
    QTest::newRow("group 2 row")
        << u"0.5"_s << u"2e5"_s << u"0.5"_s << Group2 << On << Off
        << u"第二组介质，50000 L ≤ V < 312500 L，0.1 MPa ≤ p < 1.6 MPa：Ⅰ 类"_s << u"结果：Ⅰ 类"_s;
    QTest::newRow("no row: V under every band")
        << u"30"_s << u"0.09"_s << u"30"_s << Group1 << On << Off
        << u"第一组介质，V < 0.1 L，不在表中任何容积档内：类外"_s << noRow;
    QTest::newRow("no row: p too low for the band")
        << u"0.05"_s << u"100"_s << u"1"_s << Group1 << On << Off
        << u"第一组介质，25 L ≤ V < 5000 L 一档中没有一行的 p、pV 条件成立：类外"_s << noRow;
}

// Each rule in words, and a reason from which a checker can enter the
// vessel again: its lines alone give the same reason back.
void TestReason::decidingRules()
{
    QFETCH(QString, p);
    QFETCH(QString, V);
    QFETCH(QString, pw);
    QFETCH(MediumGroup, group);
    QFETCH(CheckState, medium);
    QFETCH(CheckState, clause14);
    QFETCH(QString, text);
    QFETCH(QString, result);

    const Entries entries{p, V, pw, group, medium, clause14};
    const CalculateSuccess success = calculated(entries);
    QCOMPARE(ruleText(success.input, success.decision), text);
    const QString reason = reasonText(calculatorEntries(entries), success);
    QCOMPARE(reason.section(u'\n', 0, 0), result);

    const CalculatorEntries again = enteredAgain(reason);
    const CalculateOutcome outcome = calculate(again, QLocale::c());
    QVERIFY(std::holds_alternative<CalculateSuccess>(outcome));
    QCOMPARE(reasonText(again, std::get<CalculateSuccess>(outcome)), reason);
}

void TestReason::numbersAsTypedAndUsed_data()
{
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("pw");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("0.1 is held above 0.1")
        << u"0.1"_s << u"25"_s << u"0.1"_s
        << QStringList{u"设计压力 p：输入“0.1”，按单精度计为 0.100000001 MPa"_s,
                       u"容积 V：输入“25”，按单精度计为 25 L"_s,
                       u"工作压力 pw：输入“0.1”，按双精度计为 0.1 MPa"_s,
                       u"pV = 2.5 MPa·L（单精度），pwV = 2.5 MPa·L（双精度）"_s};
    QTest::newRow("pV rounds to 2.5, pwV does not")
        << u"0.8333333"_s << u"3"_s << u"0.8333333"_s
        << QStringList{u"设计压力 p：输入“0.8333333”，按单精度计为 0.833333313 MPa"_s,
                       u"工作压力 pw：输入“0.8333333”，按双精度计为 0.8333333 MPa"_s,
                       u"pV = 2.5 MPa·L（单精度），pwV = 2.4999999 MPa·L（双精度）"_s};
    QTest::newRow("0.099999999 as p and as pw")
        << u"0.099999999"_s << u"30"_s << u"0.099999999"_s
        << QStringList{u"设计压力 p：输入“0.099999999”，按单精度计为 0.100000001 MPa"_s,
                       u"工作压力 pw：输入“0.099999999”，按双精度计为 0.099999999 MPa"_s};
    QTest::newRow("typed with blanks and full-width digits")
        << u"  １２.５ "_s << u"1e3"_s << u"1,000"_s
        << QStringList{u"设计压力 p：输入“１２.５”，按单精度计为 12.5 MPa"_s,
                       u"容积 V：输入“1e3”，按单精度计为 1000 L"_s,
                       u"工作压力 pw：输入“1,000”，按双精度计为 1000 MPa"_s};
    QTest::newRow("large numbers")
        << u"150"_s << u"100000000"_s << u"20"_s
        << QStringList{u"容积 V：输入“100000000”，按单精度计为 100000000 L"_s,
                       u"pV = 1.50000005e+10 MPa·L（单精度），pwV = 2000000000 MPa·L（双精度）"_s};
}

void TestReason::numbersAsTypedAndUsed()
{
    QFETCH(QString, p);
    QFETCH(QString, V);
    QFETCH(QString, pw);
    QFETCH(QStringList, lines);

    const QStringList reason = reasonFor({p, V, pw}).split(u'\n');
    for (const QString &line : lines)
        QVERIFY2(reason.contains(line), qPrintable(line));
}

void TestReason::shortestTextReadsBack_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.1 as the tables write it") << rules::single(0.1) << u"0.1"_s;
    QTest::newRow("just below 25000") << std::nextafter(25000.0f, 0.0f) << u"24999.998"_s;
    // Its shortest text, 7.038531e-26, is read as a double and then rounded
    // to its neighbour.
    QTest::newRow("read through double to a neighbour") << 0x1.5c87fap-84f << u"7.03853069e-26"_s;
}

// The numbers the reason states are the ones the window reads back.
void TestReason::shortestTextReadsBack()
{
    QFETCH(float, value);
    QFETCH(QString, text);

    QCOMPARE(shortestText(value), text);
    QCOMPARE(parseSingle(text, QLocale::c()).value, value);
}

void TestReason::longEntryIsCut()
{
    const QString typed = u"0."_s + QString(60, u'0') + u"1"_s;
    const QStringList reason = reasonFor({typed, u"1"_s, u"1"_s}).split(u'\n');
    const QString expected = u"设计压力 p：输入“%1…”，"_s.arg(typed.left(32));
    QVERIFY2(reason.at(1).startsWith(expected), qPrintable(reason.at(1)));
}

void TestReason::wholeReason()
{
    QCOMPARE(reasonFor({u"0.1"_s, u"25"_s, u"0.1"_s}),
             u"结果：Ⅱ 类\n"
             u"设计压力 p：输入“0.1”，按单精度计为 0.100000001 MPa\n"
             u"容积 V：输入“25”，按单精度计为 25 L\n"
             u"工作压力 pw：输入“0.1”，按双精度计为 0.1 MPa\n"
             u"pV = 2.5 MPa·L（单精度），pwV = 2.5 MPa·L（双精度）\n"
             u"介质：第一组介质\n"
             u"盛装介质为气体、液化气体或最高工作温度不低于标准沸点的液体：是\n"
             u"属于本规程1.4条适用范围：否\n"
             u"判定依据：第一组介质，25 L ≤ V < 5000 L，0.1 MPa ≤ p < 10 MPa：Ⅱ 类\n"
             u"仅改变容积 V：< 25 L 为类外；≥ 10000000 L 为 Ⅲ 类\n"
             u"仅改变设计压力 p：< 0.1 MPa 为类外；≥ 10 MPa 为 Ⅲ 类"_s);
}

void TestReason::cautions_data()
{
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("pw");
    QTest::addColumn<CheckState>("medium");
    QTest::addColumn<CheckState>("clause14");
    QTest::addColumn<bool>("belowWorking");
    QTest::addColumn<bool>("ultraHigh");
    QTest::addColumn<bool>("onlyByMedium");

    using enum CheckState;
    QTest::newRow("none") << u"2"_s << u"100"_s << u"1"_s << On << Off << false << false << false;
    QTest::newRow("p = pw") << u"1"_s << u"100"_s << u"1"_s << On << Off << false << false << false;
    // 0.7 is 0.699999988 in single precision but 0.7 in double.
    QTest::newRow("p = pw = 0.7") << u"0.7"_s << u"100"_s << u"0.7"_s << On << Off << false << false
                                  << false;
    QTest::newRow("p < pw") << u"1"_s << u"100"_s << u"2"_s << On << Off << true << false << false;
    QTest::newRow("p < pw by one float step")
        << u"1"_s << u"100"_s << u"1.0000001"_s << On << Off << true << false << false;
    QTest::newRow("pw beyond single precision")
        << u"1"_s << u"100"_s << u"1e300"_s << On << Off << true << false << false;
    QTest::newRow("p 100") << u"100"_s << u"100"_s << u"100"_s << On << Off << false << true
                           << false;
    QTest::newRow("p just under 100")
        << u"99.99999"_s << u"100"_s << u"1"_s << On << Off << false << false << false;
    QTest::newRow("p 100 and below pw")
        << u"150"_s << u"100"_s << u"200"_s << On << Off << true << true << false;
    QTest::newRow("Check1 off only")
        << u"1"_s << u"100"_s << u"1"_s << Off << Off << false << false << true;
    QTest::newRow("Check1 off, clause 1.4 would give a class")
        << u"1"_s << u"3"_s << u"1"_s << Off << On << false << false << true;
    QTest::newRow("Check1 off, and pw too low")
        << u"1"_s << u"100"_s << u"0.05"_s << Off << Off << false << false << false;
    QTest::newRow("Check1 off, and pwV too low")
        << u"1"_s << u"2"_s << u"1"_s << Off << Off << false << false << false;
    QTest::newRow("Check1 off, but no row would hold")
        << u"0.05"_s << u"100"_s << u"0.05"_s << Off << Off << false << false << false;
    QTest::newRow("Check1 off, no row would hold, p < pw")
        << u"0.05"_s << u"100"_s << u"1"_s << Off << Off << true << false << false;
}

void TestReason::cautions()
{
    QFETCH(QString, p);
    QFETCH(QString, V);
    QFETCH(QString, pw);
    QFETCH(CheckState, medium);
    QFETCH(CheckState, clause14);
    QFETCH(bool, belowWorking);
    QFETCH(bool, ultraHigh);
    QFETCH(bool, onlyByMedium);

    const Entries entries{p, V, pw, MediumGroup::Group1, medium, clause14};
    const VesselInput in = calculated(entries).input;
    const Cautions expected{belowWorking, ultraHigh, onlyByMedium};
    QCOMPARE(cautionsFor(in, decideVessel(in)), expected);

    // Each caution adds its lines at the end, after the rule and the nearest
    // changes of class, and none changes the result.
    const QString reason = reasonFor(entries);
    const QStringList lines = reason.split(u'\n');
    QVERIFY(lines.first().startsWith(u"结果："_s + resultText(classifyVessel(in))));
    const auto count = [&lines](const QString &start) {
        return int(lines.filter(QRegularExpression(u"^"_s + start)).size());
    };
    const int before = 8 + count(u"判定依据："_s) + count(u"仅改变"_s);
    const QStringList cautions = cautionLines(reason);
    QCOMPARE(cautions.size(), int(belowWorking) + int(ultraHigh) + int(onlyByMedium));
    QCOMPARE(lines.size(), before + cautions.size() + int(onlyByMedium));
    if (!cautions.isEmpty())
        QCOMPARE(lines.at(before), cautions.first());
    QCOMPARE(cautions.filter(u"低于工作压力 pw"_s).size(), int(belowWorking));
    QCOMPARE(cautions.filter(u"p ≥ 100 MPa"_s).size(), int(ultraHigh));
    QCOMPARE(cautions.filter(u"未选“是”"_s).size(), int(onlyByMedium));
    if (onlyByMedium)
        QVERIFY(lines.last().contains(u"注1"_s) && lines.last().contains(u"2.5 MPa·L"_s));
}

QTEST_APPLESS_MAIN(TestReason)
#include "tst_reason.moc"
