// The quantities the rules compare, with the names, symbols and units that
// every text of the program writes them in.
#pragma once

#include <QString>

namespace korvane {

enum class Quantity
{
    p,   // design pressure
    V,   // volume
    pw,  // working pressure
    pV,  // p × V
    pwV, // pw × V
};

// "设计压力", "容积", "工作压力"; empty for the products, which have no name.
QString quantityName(Quantity quantity);
// "p", "V", "pw", "pV", "pwV".
QString quantitySymbol(Quantity quantity);
// "MPa", "L", "MPa·L".
QString quantityUnit(Quantity quantity);

} // namespace korvane
