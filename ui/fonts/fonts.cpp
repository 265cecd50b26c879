#include "fonts.h"

#include <QStringList>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace korvane::ui {

QString songFamily()
{
    return u"宋体"_s;
}

void registerFontSubstitutes()
{
    // Debian's AR PL SungtiL GB has SimSun's fixed half/full widths; the
    // others are SimSun under the names other systems know it by.
    QFont::insertSubstitutions(songFamily(),
                               {u"AR PL SungtiL GB"_s, u"SimSun"_s, u"NSimSun"_s, u"STSong"_s});
}

QFont songFont(double points)
{
    QFont font(songFamily());
    font.setPixelSize(int(std::lround(points * 96.0 / 72.0)));
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace korvane::ui
