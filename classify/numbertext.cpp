#include "numbertext.h"

#include <QString>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

namespace {

// Full-width ASCII variants (U+FF01–U+FF5E) map onto ASCII one to one.
QString foldFullWidth(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        out[i] = QChar(c >= 0xFF01 && c <= 0xFF5E ? char16_t(c - 0xFEE0) : c);
    }
    return out;
}

bool isSpaceLike(QStringView s)
{
    return s == u" " || s == u"\u00A0" || s == u"\u202F";
}

// The marks a locale writes numbers with, in the forms a keyboard gives.
struct NumberMarks
{
    explicit NumberMarks(const QLocale &locale)
        : decimal(locale.decimalPoint()), group(locale.groupSeparator()),
          minus(locale.negativeSign()), plus(locale.positiveSign()), exponent(locale.exponential())
    {
        const QString zeroText = locale.zeroDigit();
        if (zeroText.size() == 1)
            zero = zeroText.at(0).unicode();
    }

    QString decimal, group, minus, plus, exponent;
    char16_t zero = u'0';
};

class Scanner
{
public:
    Scanner(QStringView text, const NumberMarks &marks) : m_text(text), m_marks(marks) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    bool take(QStringView token, Qt::CaseSensitivity cs = Qt::CaseSensitive)
    {
        if (token.isEmpty() || !m_text.sliced(m_pos).startsWith(token, cs))
            return false;
        m_pos += token.size();
        return true;
    }

    // The digit value at the cursor, or -1.
    int digit() const
    {
        if (atEnd())
            return -1;
        const char16_t c = m_text[m_pos].unicode();
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if (c >= m_marks.zero && c <= m_marks.zero + 9)
            return c - m_marks.zero;
        return -1;
    }

    // Appends a run of digits as ASCII; returns how many there were.
    qsizetype digits(std::string &out)
    {
        qsizetype n = 0;
        for (int d; (d = digit()) >= 0; ++n, ++m_pos)
            out.push_back(char('0' + d));
        return n;
    }

    bool takeSign(bool &negative)
    {
        if (take(u"-") || take(u"\u2212") || take(m_marks.minus)) {
            negative = true;
            return true;
        }
        return take(u"+") || take(m_marks.plus);
    }

    bool takeGroupSeparator()
    {
        if (take(m_marks.group))
            return true;
        // Typed spaces stand for the no-break spaces some locales group with.
        return isSpaceLike(m_marks.group) && (take(u" ") || take(u"\u00A0") || take(u"\u202F"));
    }

    bool takeDecimalPoint()
    {
        return take(m_marks.decimal) || (m_marks.decimal == u"." && take(u"\u3002"));
    }

    bool takeExponentMark()
    {
        return take(u"e", Qt::CaseInsensitive) || take(m_marks.exponent, Qt::CaseInsensitive);
    }

private:
    QStringView m_text;
    const NumberMarks &m_marks;
    qsizetype m_pos = 0;
};

// Integer digits, optionally grouped in threes after a lead group of one to three.
bool scanIntegerPart(Scanner &in, std::string &out)
{
    const qsizetype lead = in.digits(out);
    if (lead == 0)
        return true;
    bool grouped = false;
    while (in.takeGroupSeparator()) {
        if ((!grouped && lead > 3) || in.digits(out) != 3)
            return false;
        grouped = true;
    }
    return true;
}

constexpr std::int64_t kExponentCap = 1'000'000'000;

// Rough decimal order of the mantissa digits (before the exponent), or
// nullopt when every digit is zero.
std::optional<std::int64_t> mantissaOrder(const std::string &integer, const std::string &fraction)
{
    const auto firstInt = integer.find_first_not_of('0');
    if (firstInt != std::string::npos)
        return std::int64_t(integer.size() - firstInt) - 1;
    const auto firstFrac = fraction.find_first_not_of('0');
    if (firstFrac != std::string::npos)
        return -std::int64_t(firstFrac) - 1;
    return std::nullopt;
}

} // namespace

Parsed<double> parseDouble(QStringView text, const QLocale &locale)
{
    const QString folded = foldFullWidth(text).trimmed();
    const NumberMarks marks(locale);
    Scanner in(folded, marks);

    bool negative = false;
    in.takeSign(negative);

    std::string integer, fraction;
    if (!scanIntegerPart(in, integer))
        return {};
    if (in.takeDecimalPoint())
        in.digits(fraction);
    if (integer.empty() && fraction.empty())
        return {};

    std::int64_t exponent = 0;
    if (in.takeExponentMark()) {
        bool expNegative = false;
        in.takeSign(expNegative);
        std::string expDigits;
        if (in.digits(expDigits) == 0)
            return {};
        for (char d : expDigits)
            exponent = std::min(kExponentCap, exponent * 10 + (d - '0'));
        if (expNegative)
            exponent = -exponent;
    }
    if (!in.atEnd())
        return {};

    const auto order = mantissaOrder(integer, fraction);
    if (!order)
        return {NumberStatus::Ok, negative ? -0.0 : 0.0};
    // Far outside the double range either way: decide without converting.
    const std::int64_t magnitude = *order + exponent;
    if (magnitude > 400)
        return {NumberStatus::Overflow, 0};
    if (magnitude < -400)
        return {NumberStatus::Ok, negative ? -0.0 : 0.0};

    // Appended piece by piece: g++ 12 at -O3 warns falsely (-Wrestrict)
    // about a prefix concatenated onto a string.
    std::string canonical(negative ? "-" : "");
    canonical += integer.empty() ? std::string_view("0") : std::string_view(integer);
    if (!fraction.empty()) {
        canonical += '.';
        canonical += fraction;
    }
    canonical += 'e';
    canonical += std::to_string(exponent);

    double value = 0;
    const auto [end, ec] =
        std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (magnitude > 0)
            return {NumberStatus::Overflow, 0};
        return {NumberStatus::Ok, negative ? -0.0 : 0.0};
    }
    if (ec != std::errc() || end != canonical.data() + canonical.size())
        return {};
    return {NumberStatus::Ok, value};
}

std::optional<float> roundToSingle(double value)
{
    // Halfway between the largest float and 2^128: at or beyond it the
    // nearest single-precision value is infinite.
    constexpr double kOverflowAt = 0x1.ffffffp127;
    if (!(std::fabs(value) < kOverflowAt))
        return std::nullopt;
    return static_cast<float>(value);
}

Parsed<float> parseSingle(QStringView text, const QLocale &locale)
{
    const Parsed<double> wide = parseDouble(text, locale);
    if (wide.status != NumberStatus::Ok)
        return {wide.status, 0};
    if (const auto narrow = roundToSingle(wide.value))
        return {NumberStatus::Ok, *narrow};
    return {NumberStatus::Overflow, 0};
}

} // namespace korvane
