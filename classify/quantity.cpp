#include "quantity.h"

#include <cstddef>
#include <iterator>

namespace korvane {

namespace {

struct Words
{
    const char16_t *name;
    const char16_t *symbol;
    const char16_t *unit;
};

// In the order of Quantity.
constexpr Words kWords[] = {
    {u"设计压力", u"p", u"MPa"}, {u"容积", u"V", u"L"},   {u"工作压力", u"pw", u"MPa"},
    {u"", u"pV", u"MPa·L"},      {u"", u"pwV", u"MPa·L"},
};
static_assert(std::size(kWords) == std::size_t(Quantity::pwV) + 1);

const Words &wordsOf(Quantity quantity)
{
    return kWords[std::size_t(quantity)];
}

} // namespace

QString quantityName(Quantity quantity)
{
    return QString::fromUtf16(wordsOf(quantity).name);
}

QString quantitySymbol(Quantity quantity)
{
    return QString::fromUtf16(wordsOf(quantity).symbol);
}

QString quantityUnit(Quantity quantity)
{
    return QString::fromUtf16(wordsOf(quantity).unit);
}

} // namespace korvane
