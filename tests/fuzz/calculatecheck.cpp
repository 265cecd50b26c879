// The promises of the calculate action, checked on any input; shared by the
// fuzzer and by the test that replays its corpus.
#include "calculatecheck.h"

#include "calculate.h"
#include "classmap.h"
#include "reason.h"

#include <QLocale>
#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <array>
#include <bitset>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <variant>

using namespace Qt::Literals::StringLiterals;

namespace korvane::fuzz {

namespace {

// A broken promise, with the texts that broke it in hexadecimal code units.
struct Broken
{
    QString description;
};

[[noreturn]] void fail(const char *what, const CalculatorEntries &entries)
{
    QString description = QString::fromUtf8(what);
    for (const QString *text : {&entries.text1, &entries.text2, &entries.text4}) {
        description += u"\n  text (%1 code units):"_s.arg(text->size());
        for (qsizetype i = 0; i < text->size() && i < 64; ++i)
            description += u" %1"_s.arg(uint(text->at(i).unicode()), 4, 16, QLatin1Char('0'));
    }
    throw Broken{description};
}

const QLocale &localeAt(unsigned index)
{
    static const QLocale locales[] = {
        QLocale::c(),        QLocale(u"zh_CN"_s), QLocale(u"de_DE"_s), QLocale(u"fr_FR"_s),
        QLocale(u"ar_EG"_s), QLocale(u"fa_IR"_s), QLocale(u"sv_SE"_s), QLocale(u"de_CH"_s),
    };
    return locales[index % 8];
}

// Every character that may stand in a number of the locale: digits of any
// form, the locale's marks, their full-width forms, and the typed stand-ins
// for them. A text holding anything else, once trimmed, is no number. One bit
// per UTF-16 code unit, so that the check costs one test per character.
using CharacterSet = std::bitset<0x10000>;

CharacterSet numberCharacters(const QLocale &locale)
{
    CharacterSet set;
    const auto addWithFullWidth = [&](char16_t c) {
        set.set(c);
        if (c >= 0x21 && c <= 0x7E)
            set.set(char16_t(c + 0xFEE0));
    };
    for (char16_t c = u'0'; c <= u'9'; ++c)
        addWithFullWidth(c);
    for (char16_t c : u"+-eE\u2212")
        if (c)
            addWithFullWidth(c);
    for (const QString &mark : {locale.zeroDigit(), locale.decimalPoint(), locale.groupSeparator(),
                                locale.negativeSign(), locale.positiveSign(), locale.exponential(),
                                locale.exponential().toLower(), locale.exponential().toUpper()})
        for (QChar c : mark)
            addWithFullWidth(c.unicode());
    const QString zero = locale.zeroDigit();
    if (zero.size() == 1)
        for (char16_t d = 0; d < 10; ++d)
            set.set(char16_t(zero.at(0).unicode() + d));
    set.set(u'\u3002'); // ideographic full stop
    for (char16_t space : {u' ', u'\u00A0', u'\u202F'})
        set.set(space);
    return set;
}

// The checks themselves are left out of the coverage that guides the search.
#ifdef __clang__
#define KORVANE_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define KORVANE_NO_COVERAGE
#endif

KORVANE_NO_COVERAGE bool mayBeANumber(const QString &text, const CharacterSet &allowed)
{
    const QStringView trimmed = QStringView(text).trimmed();
    return !trimmed.isEmpty() && std::all_of(trimmed.begin(), trimmed.end(),
                                             [&](QChar c) { return allowed.test(c.unicode()); });
}

// A plain decimal number in ASCII, as strtod reads it in the C locale.
KORVANE_NO_COVERAGE std::optional<double> plainDecimal(const QString &text)
{
    static const QRegularExpression plain(u"^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"_s);
    const QString trimmed = text.trimmed();
    if (!plain.match(trimmed).hasMatch())
        return std::nullopt;
    const QByteArray latin = trimmed.toLatin1();
    return std::strtod(latin.constData(), nullptr); // ±HUGE_VAL beyond the range
}

bool beyondSingle(double x)
{
    return !(std::fabs(x) < 0x1.ffffffp127);
}

// In the C locale, a plain decimal text in Text1 ends in an overflow, or
// gives the strtod value rounded to single precision.
void checkAgainstStrtod(const CalculatorEntries &entries, const CalculateOutcome &outcome)
{
    const std::optional<double> p = plainDecimal(entries.text1);
    if (!p)
        return;
    const auto *error = std::get_if<CalculateError>(&outcome);
    if (beyondSingle(*p)) {
        if (!error || *error != CalculateError{ErrorKind::Overflow, InputBox::Text1})
            fail("p beyond single precision is not an overflow of Text1", entries);
        return;
    }
    if (error) {
        if (error->box == InputBox::Text1 && !error->product)
            fail("a plain number in Text1 is refused", entries);
        return;
    }
    if (std::get<CalculateSuccess>(outcome).input.p != static_cast<float>(*p))
        fail("p differs from strtod's value", entries);

    const std::optional<double> pw = plainDecimal(entries.text4);
    if (pw && std::isfinite(*pw)) {
        if (std::get<CalculateSuccess>(outcome).input.pw != *pw)
            fail("pw differs from strtod's value", entries);
    }
}

// The class the calculate action gives the vessel when p or V is typed as
// the shortest text of `value` and the rest as it was used; none where the
// action refuses it.
std::optional<ClassResult> typedClass(const CalculateSuccess &success, Quantity along, float value)
{
    const VesselInput &in = success.input;
    char pw[32];
    const auto pwEnd = std::to_chars(pw, pw + sizeof pw, in.pw).ptr;
    const CalculatorEntries typed{shortestText(along == Quantity::p ? value : in.p),
                                  shortestText(along == Quantity::V ? value : in.V),
                                  QString::fromLatin1(pw, pwEnd - pw),
                                  in.mediumState,
                                  in.clause14State,
                                  success.option1,
                                  success.option2};
    const CalculateOutcome outcome = calculate(typed, QLocale::c());
    if (const auto *typedSuccess = std::get_if<CalculateSuccess>(&outcome))
        return typedSuccess->decision.result;
    return std::nullopt;
}

// Each nearest change of class that the reason states, typed on either side
// of it: from X the stated class and just below X the vessel's own; below X
// the stated class there and from X the own; the own class too half-way
// (in scale) to X, and a thousandfold beyond where nothing is said to change.
void checkNeighbours(const CalculatorEntries &entries, const CalculateSuccess &success)
{
    const ClassResult own = success.decision.result;
    for (const Quantity along : {Quantity::V, Quantity::p}) {
        const Neighbours near = neighboursAlong(success.map, own, along);
        const float value = along == Quantity::p ? success.input.p : success.input.V;
        const auto classAt = [&](float x) {
            return typedClass(success, along, x);
        };
        const auto halfway = [&](float x) {
            return float(std::sqrt(double(value)) * std::sqrt(double(x)));
        };
        const auto ownAt = [&](float x) {
            const auto there = classAt(x);
            return !there || *there == own; // refused: beyond what can be typed
        };
        if (near.above) {
            const float x = near.above->value;
            if (!(x > value) || classAt(x) != near.above->result)
                fail("from a stated change on, not the stated class", entries);
            if (classAt(std::nextafter(x, 0.0f)) != own || classAt(halfway(x)) != own)
                fail("below a stated change upwards, not the vessel's own class", entries);
        } else if (!ownAt(value * 1000)) {
            fail("no change stated upwards, yet the class changes", entries);
        }
        if (near.below) {
            const float x = near.below->value;
            if (!(x <= value) || classAt(std::nextafter(x, 0.0f)) != near.below->result)
                fail("below a stated change, not the stated class", entries);
            if (classAt(x) != own || classAt(halfway(x)) != own)
                fail("from a stated change downwards on, not the vessel's own class", entries);
        } else if (const float less = value / 1000; less > 0 && !ownAt(less)) {
            fail("no change stated downwards, yet the class changes", entries);
        }
    }
}

void check(const CalculatorEntries &entries, unsigned localeIndex)
{
    static const auto characters = [] {
        auto sets = std::make_unique<std::array<CharacterSet, 8>>();
        for (unsigned i = 0; i < 8; ++i)
            (*sets)[i] = numberCharacters(localeAt(i));
        return sets;
    }();
    const QLocale &locale = localeAt(localeIndex);
    const CalculateOutcome outcome = calculate(entries, locale);
    const CharacterSet &allowed = (*characters)[localeIndex % 8];
    const bool numbers[] = {mayBeANumber(entries.text1, allowed),
                            mayBeANumber(entries.text2, allowed),
                            mayBeANumber(entries.text4, allowed)};

    if (const auto *error = std::get_if<CalculateError>(&outcome)) {
        if (!numbers[0] && *error != CalculateError{ErrorKind::TypeMismatch, InputBox::Text1})
            fail("Text1 holds no number, yet the error is another", entries);
    } else {
        if (!numbers[0] || !numbers[1] || !numbers[2])
            fail("a class for a text that is not a number", entries);
        const CalculateSuccess &success = std::get<CalculateSuccess>(outcome);
        const VesselInput &in = success.input;
        if (!std::isfinite(in.p) || !std::isfinite(in.V) || !std::isfinite(in.pV) ||
            !std::isfinite(in.pw) || !std::isfinite(in.pwV))
            fail("a value that is not finite", entries);
        if (success.option1 == success.option2 || success.option2 != entries.option2)
            fail("the option buttons are not left as the action promises", entries);
        checkNeighbours(entries, success);
    }
    if (locale.language() == QLocale::C)
        checkAgainstStrtod(entries, outcome);
}

void runTexts(QString all, const std::uint8_t *settings, std::size_t settingCount)
{
    const auto setting = [&](std::size_t i) -> unsigned {
        return i < settingCount ? settings[i] : 0;
    };
    CalculatorEntries entries;
    entries.check1 = CheckState(setting(0) % 3);
    entries.check2 = CheckState(setting(1) % 3);
    entries.option1 = setting(2) & 1;
    entries.option2 = setting(2) & 2;

    QString *texts[] = {&entries.text1, &entries.text2, &entries.text4};
    for (int i = 0; i < 3; ++i) {
        const qsizetype end = i < 2 ? all.indexOf(u'\n') : -1;
        *texts[i] = end < 0 ? all : all.left(end);
        all = end < 0 ? QString() : all.mid(end + 1);
    }

    // Only a chosen digit stretches a text, so that most runs stay short and
    // fast; longer texts cost far more and find nothing new.
    if (const unsigned digit = setting(4); digit >= '1' && digit <= '3') {
        QString &stretched = *texts[setting(5) % 3];
        qsizetype repeat = 1;
        for (unsigned i = '0'; i < digit; ++i)
            repeat *= 10;
        repeat = std::min(repeat, maxStretchedLength / std::max<qsizetype>(1, stretched.size()));
        if (repeat > 1)
            stretched = stretched.repeated(repeat);
    }

    check(entries, setting(3));
}

} // namespace

QString checkCalculateEntries(const CalculatorEntries &entries, unsigned localeIndex)
{
    try {
        check(entries, localeIndex);
    } catch (const Broken &broken) {
        return broken.description;
    }
    return {};
}

QString checkCalculateInput(const std::uint8_t *data, std::size_t size)
{
    const auto *end = data + size;
    const auto *newline =
        size ? static_cast<const std::uint8_t *>(std::memchr(data, '\n', size)) : nullptr;
    const std::uint8_t *settings = data;
    const std::size_t settingCount = newline ? std::size_t(newline - data) : size;
    const std::uint8_t *rest = newline ? newline + 1 : end;
    const auto restSize = qsizetype(end - rest);

    QString texts;
    if (settingCount > 6 && settings[6] % 2) {
        // The same bytes as UTF-16 reach every code unit, unpaired surrogates included.
        texts.resize(restSize / 2);
        for (qsizetype i = 0; i < texts.size(); ++i)
            texts[i] = QChar(char16_t(rest[2 * i] | rest[2 * i + 1] << 8));
    } else {
        texts = QString::fromUtf8(reinterpret_cast<const char *>(rest), restSize);
    }
    try {
        runTexts(std::move(texts), settings, settingCount);
    } catch (const Broken &broken) {
        return broken.description;
    }
    return {};
}

} // namespace korvane::fuzz
