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

CalculateOutcome calculate(const CalculatorEntries &entries, const QLocale &locale)
{
    const Parsed<float> p = parseSingle(entries.text1, locale);
    if (p.status != NumberStatus::Ok)
        return failure(p.status, InputBox::Text1);

    const Parsed<float> V = parseSingle(entries.text2, locale);
    if (V.status != NumberStatus::Ok)
        return failure(V.status, InputBox::Text2);

    // Exactly one option button ends up selected: Option2 if it was,
    // otherwise Option1, so that neither selected means group 1.
    const bool option2 = entries.option2;
    const bool option1 = !option2;
    const MediumGroup group = option1 ? MediumGroup::Group1 : MediumGroup::Group2;
    const auto form = [&](double pw) {
        return formVessel(p.value, V.value, pw, entries.check1, entries.check2, group);
    };

    // pV overflows before Text4 is read, as the order of the boxes has it.
    if (std::isinf(form(0).pV))
        return CalculateError{ErrorKind::Overflow, InputBox::Text2, true};

    const Parsed<double> pw = parseDouble(entries.text4, locale);
    if (pw.status != NumberStatus::Ok)
        return failure(pw.status, InputBox::Text4);
    const VesselInput in = form(pw.value);
    if (std::isinf(in.pwV))
        return CalculateError{ErrorKind::Overflow, InputBox::Text4, true};

    return CalculateSuccess{in, decideVessel(in), classMap(in), option1, option2};
}

} // namespace korvane
