#include "reason.h"

#include "classmap.h"
#include "numbertext.h"
#include "quantity.h"

#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

using namespace Qt::Literals::StringLiterals;

namespace korvane {

namespace {

// Ultra-high-pressure vessels fall under a regulation of their own.
constexpr float kUltraHighPressure = rules::single(100); // MPa

// A longer entry is cut short, so that a pasted novel cannot fill the screen.
constexpr qsizetype kMaxTypedLength = 32;

template <typename T, typename... Format> QString charsText(T value, Format... format)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, format...);
    if (ec != std::errc())
        return u"?"_s;
    return QString::fromLatin1(buffer, end - buffer);
}

// The shortest text that reads back as the same value, in plain digits
// within the range people write that way. A limit reads as in the printed
// tables (0.1, 1.6, 31250), although 0.1 and 1.6 are held a little above.
template <typename T> QString roundTripText(T value)
{
    const T magnitude = std::fabs(value);
    const bool plain = magnitude == 0 || (magnitude >= T(1e-4) && magnitude < T(1e15));
    return plain ? charsText(value, std::chars_format::fixed)
                 : charsText(value, std::chars_format::scientific);
}

// p, V and pV are held in single precision, which moves most decimals a
// little: 0.1 is held as 0.100000001 and 0.7 as 0.699999988. Nine significant
// digits tell every single-precision value apart and show that move, which
// explains results at a limit; a typed 0.099999999 becomes 0.100000001 too.
QString singleText(float value)
{
    return charsText(value, std::chars_format::general, 9);
}

// pw and pwV are compared in double precision with the double constants 0.1
// and 2.5 themselves, so the shortest round-trip text is exact for the
// comparison; seventeen digits would only add noise (0.10000000000000001).
QString doubleText(double value)
{
    return roundTripText(value);
}

QString typedText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() <= kMaxTypedLength)
        return trimmed;
    return trimmed.left(kMaxTypedLength) + u'…';
}

// Words that several lines share.
constexpr QStringView kScopeMedium = u"气体、液化气体或最高工作温度不低于标准沸点的液体";
constexpr QStringView kOutOfScope = u"不属于本规程适用范围";
constexpr QStringView kUnderClause14 = u"属于本规程1.4条适用范围";

// "设计压力 p".
QString nameAndSymbol(Quantity quantity)
{
    return quantityName(quantity) + u' ' + quantitySymbol(quantity);
}

// A number's text with the quantity's unit: "0.1 MPa".
QString withUnit(const QString &number, Quantity quantity)
{
    return number + u' ' + quantityUnit(quantity);
}

// "pw < 0.1 MPa": the quantity, a relation and a number in its unit.
QString conditionText(Quantity quantity, QStringView relation, const QString &number)
{
    return u"%1 %2 %3"_s.arg(quantitySymbol(quantity), relation, withUnit(number, quantity));
}

// "25 L ≤ V < 5000 L", "p ≥ 0.1 MPa", "pV < 50000 MPa·L"; empty for no condition.
QString bandText(const rules::Band &band, Quantity quantity)
{
    if (band.hasLower() && band.hasUpper())
        return u"%1 ≤ %2"_s.arg(amountText(band.atLeast, quantity),
                                conditionText(quantity, u"<", shortestText(band.below)));
    if (band.hasLower())
        return conditionText(quantity, u"≥", shortestText(band.atLeast));
    if (band.hasUpper())
        return conditionText(quantity, u"<", shortestText(band.below));
    return {};
}

QString rowText(const rules::TableRow &row)
{
    QStringList parts;
    for (const QString &part : {bandText(row.V, Quantity::V), bandText(row.p, Quantity::p),
                                bandText(row.pV, Quantity::pV)}) {
        if (!part.isEmpty())
            parts.append(part);
    }
    return parts.join(u'，');
}

QString scopeText(const ScopeFailures &failed)
{
    using namespace rules;
    QStringList reasons;
    if (failed.workingPressure)
        reasons.append(conditionText(Quantity::pw, u"<", doubleText(kMinWorkingPressure)));
    if (failed.pressureVolume)
        reasons.append(conditionText(Quantity::pwV, u"<", doubleText(kMinPressureVolume)));
    if (failed.medium)
        reasons.append(u"介质不是%1"_s.arg(kScopeMedium));
    return u"%1（%2）"_s.arg(kOutOfScope, reasons.join(u'；'));
}

QString clause14Text()
{
    using namespace rules;
    return QStringList{kUnderClause14.toString(),
                       conditionText(Quantity::pw, u"≥", doubleText(kMinWorkingPressure)),
                       conditionText(Quantity::p, u"≥", shortestText(kMinDesignPressure)),
                       conditionText(Quantity::pwV, u"≥", doubleText(kMinPressureVolume)),
                       conditionText(Quantity::pV, u"≥", shortestText(kMinDesignPressureVolume))}
        .join(u'，');
}

QString noRowText(const VesselInput &in)
{
    const auto table = rules::groupTable(in.group);
    const auto band = std::find_if(table.begin(), table.end(), [&in](const rules::TableRow &row) {
        return row.V.contains(in.V);
    });
    if (band != table.end())
        return u"%1，%2 一档中没有一行的 p、pV 条件成立"_s.arg(groupName(in.group),
                                                               bandText(band->V, Quantity::V));
    const auto lowest =
        std::min_element(table.begin(), table.end(),
                         [](const auto &a, const auto &b) { return a.V.atLeast < b.V.atLeast; });
    if (in.V < lowest->V.atLeast)
        return u"%1，%2，不在表中任何容积档内"_s.arg(
            groupName(in.group), conditionText(Quantity::V, u"<", shortestText(lowest->V.atLeast)));
    return u"%1，V 不在表中任何容积档内"_s.arg(groupName(in.group));
}

// "为 Ⅲ 类", "为类外": a space parts the Han character from a numeral.
QString becomesText(ClassResult result)
{
    return (result == ClassResult::OutOfClass ? u"为"_s : u"为 "_s) + resultText(result);
}

// "设计压力 p：输入“0.1”，按单精度计为 0.100000001 MPa".
QString typedLine(Quantity quantity, const QString &typed, QStringView precision,
                  const QString &used)
{
    return u"%1：输入“%2”，按%3计为 %4"_s.arg(nameAndSymbol(quantity), typedText(typed), precision,
                                              withUnit(used, quantity));
}

// "…：是" or "…：否".
QString answerLine(const QString &question, bool yes)
{
    return u"%1：%2"_s.arg(question, yes ? u"是" : u"否");
}

} // namespace

QString resultSummary(const Decision &decision)
{
    switch (decision.rule) {
    case DecidingRule::ScopeTest:
        return u"%1（%2）"_s.arg(resultText(decision.result), kOutOfScope);
    case DecidingRule::NoRow:
        return u"%1（在适用范围内，但不在分类表的任何一行）"_s.arg(resultText(decision.result));
    case DecidingRule::Clause14:
    case DecidingRule::TableRow:
        break;
    }
    return resultText(decision.result);
}

QString valueText(Quantity quantity, float value)
{
    return u"%1 = %2"_s.arg(quantitySymbol(quantity), amountText(value, quantity));
}

QString chartCaption(const ClassMap &map, const Decision &decision)
{
    switch (decision.rule) {
    case DecidingRule::ScopeTest:
        return u"本设备为"_s + resultSummary(decision) +
               (map.tableOnly ? u"；图中只标出其 p、V"_s : QString());
    case DecidingRule::Clause14:
        return u"本设备按本规程1.4条%1"_s.arg(becomesText(decision.result));
    case DecidingRule::TableRow:
    case DecidingRule::NoRow:
        break;
    }
    return u"本设备按本图为"_s + resultSummary(decision);
}

QString neighboursText(const ClassMap &map, ClassResult own, Quantity along)
{
    const Neighbours near = neighboursAlong(map, own, along);
    if (!near.any())
        return {};
    const QString lower = near.below ? u"< %1 %2"_s.arg(amountText(near.below->value, along),
                                                        becomesText(near.below->result))
                                     : u"减小不变"_s;
    const QString upper = near.above ? u"≥ %1 %2"_s.arg(amountText(near.above->value, along),
                                                        becomesText(near.above->result))
                                     : u"增大不变"_s;
    return u"仅改变%1：%2；%3"_s.arg(nameAndSymbol(along), lower, upper);
}

QString groupName(MediumGroup group)
{
    return group == MediumGroup::Group1 ? u"第一组介质"_s : u"第二组介质"_s;
}

QString shortestText(float value)
{
    // The window reads a number in double precision and then rounds it to
    // single, which for one float (7.038531e-26) turns its shortest text
    // into its neighbour; nine digits read back as every float does.
    const QString text = roundTripText(value);
    const auto read = parseSingle(text, QLocale::c());
    return read.status == NumberStatus::Ok && read.value == value ? text : singleText(value);
}

QString amountText(float value, Quantity quantity)
{
    return withUnit(shortestText(value), quantity);
}

Cautions cautionsFor(const VesselInput &in, const Decision &decision)
{
    Cautions cautions;
    // Compared in single precision, where p lives: an equal entry of 0.7 in
    // both boxes is 0.699999988 as p but 0.7 as pw, and is no fault.
    const std::optional<float> pw = roundToSingle(in.pw);
    cautions.designBelowWorking = !pw || in.p < *pw;
    cautions.ultraHighPressure = in.p >= kUltraHighPressure;
    if (decision.rule == DecidingRule::ScopeTest &&
        decision.scope == ScopeFailures{false, false, true}) {
        VesselInput ticked = in;
        ticked.mediumState = CheckState::On;
        cautions.outOnlyByMedium = decideVessel(ticked).result != ClassResult::OutOfClass;
    }
    return cautions;
}

QString ruleText(const VesselInput &in, const Decision &decision)
{
    QString rule;
    switch (decision.rule) {
    case DecidingRule::ScopeTest:
        rule = scopeText(decision.scope);
        break;
    case DecidingRule::Clause14:
        rule = clause14Text();
        break;
    case DecidingRule::TableRow:
        rule = groupName(decision.group) + u'，' + rowText(*decision.row);
        break;
    case DecidingRule::NoRow:
        rule = noRowText(in);
        break;
    }
    return rule + u'：' + resultText(decision.result);
}

QString reasonText(const CalculatorEntries &typed, const CalculateSuccess &result)
{
    const VesselInput &in = result.input;
    const Decision &decision = result.decision;
    QStringList lines;
    lines << u"结果："_s + resultSummary(decision)
          << typedLine(Quantity::p, typed.text1, u"单精度", singleText(in.p))
          << typedLine(Quantity::V, typed.text2, u"单精度", singleText(in.V))
          << typedLine(Quantity::pw, typed.text4, u"双精度", doubleText(in.pw))
          << u"%1 = %2（单精度），%3 = %4（双精度）"_s.arg(
                 quantitySymbol(Quantity::pV), withUnit(singleText(in.pV), Quantity::pV),
                 quantitySymbol(Quantity::pwV), withUnit(doubleText(in.pwV), Quantity::pwV))
          << u"介质："_s + groupName(in.group)
          // Both answers as the rules counted them, so that the vessel can be
          // entered again from these lines alone.
          << answerLine(u"盛装介质为%1"_s.arg(kScopeMedium), holdsScopeMedium(in))
          << answerLine(kUnderClause14.toString(), underClause14(in))
          << u"判定依据："_s + ruleText(in, decision);
    for (const Quantity along : {Quantity::V, Quantity::p}) {
        if (const QString line = neighboursText(result.map, decision.result, along);
            !line.isEmpty())
            lines << line;
    }

    const Cautions cautions = cautionsFor(in, decision);
    if (cautions.designBelowWorking)
        lines << u"注意：%1 低于%2，设计压力通常不低于工作压力，请核对输入。"_s.arg(
            nameAndSymbol(Quantity::p), nameAndSymbol(Quantity::pw));
    if (cautions.ultraHighPressure)
        lines << u"注意：%1 %2，超高压容器另有专门的安全技术规范。"_s.arg(
            quantityName(Quantity::p),
            conditionText(Quantity::p, u"≥", shortestText(kUltraHighPressure)));
    if (cautions.outOnlyByMedium)
        lines
            << u"注意：仅因盛装介质一项未选“是”而为类外；"_s
            << u"按注1，低于标准沸点的液体，气相空间容积乘工作压力 ≥ %1 时也属于本规程适用范围。"_s
                   .arg(withUnit(doubleText(rules::kMinPressureVolume), Quantity::pwV));
    return lines.join(u'\n');
}

} // namespace korvane
