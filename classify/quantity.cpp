#include "quantity.h"

using namespace Qt::Literals::StringLiterals;

namespace korvane {

QString quantityName(Quantity quantity)
{
    switch (quantity) {
    case Quantity::p:
        return u"设计压力"_s;
    case Quantity::V:
        return u"容积"_s;
    case Quantity::pw:
        return u"工作压力"_s;
    case Quantity::pV:
    case Quantity::pwV:
        break;
    }
    return {};
}

QString quantitySymbol(Quantity quantity)
{
    switch (quantity) {
    case Quantity::p:
        return u"p"_s;
    case Quantity::V:
        return u"V"_s;
    case Quantity::pw:
        return u"pw"_s;
    case Quantity::pV:
        return u"pV"_s;
    case Quantity::pwV:
        return u"pwV"_s;
    }
    return {};
}

QString quantityUnit(Quantity quantity)
{
    switch (quantity) {
    case Quantity::p:
    case Quantity::pw:
        return u"MPa"_s;
    case Quantity::V:
        return u"L"_s;
    case Quantity::pV:
    case Quantity::pwV:
        return u"MPa·L"_s;
    }
    return {};
}

} // namespace korvane
