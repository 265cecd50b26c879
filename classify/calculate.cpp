#include "calculate.h"

#include "numbertext.h"

#include <cmath>

namespace korvane {

namespace {

CalculateError failure(NumberStatus status, InputBox box)
{
    return {status == NumberStatus::Overflow ? ErrorKind::Overflow : ErrorKind::TypeMismatch, box};
}

} // namespace

QString resultString(ClassResult result)
{
    const std::u16string_view text = resultText(result);
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

CalculateOutcome calculate(const CalculatorEntries &entries, const QLocale &locale)
{
    VesselInput in;

    const Parsed<float> p = parseSingle(entries.text1, locale);
    if (p.status != NumberStatus::Ok)
        return failure(p.status, InputBox::Text1);
    in.p = p.value;

    const Parsed<float> V = parseSingle(entries.text2, locale);
    if (V.status != NumberStatus::Ok)
        return failure(V.status, InputBox::Text2);
    in.V = V.value;

    // Rounded to single precision on assignment, as the limits on pV expect.
    const float pV = in.p * in.V;
    if (std::isinf(pV))
        return CalculateError{ErrorKind::Overflow, InputBox::Text2, true};
    in.pV = pV;

    const Parsed<double> pw = parseDouble(entries.text4, locale);
    if (pw.status != NumberStatus::Ok)
        return failure(pw.status, InputBox::Text4);
    in.pw = pw.value;
    in.pwV = in.pw * double(in.V);
    if (std::isinf(in.pwV))
        return CalculateError{ErrorKind::Overflow, InputBox::Text4, true};

    // Exactly one option button ends up selected: Option2 if it was,
    // otherwise Option1, so that neither selected means group 1.
    const bool option2 = entries.option2;
    const bool option1 = !option2;
    in.group = option1 ? MediumGroup::Group1 : MediumGroup::Group2;

    in.mediumState = entries.check1;
    in.clause14State = entries.check2;
    return CalculateSuccess{in, decideVessel(in), option1, option2};
}

} // namespace korvane
