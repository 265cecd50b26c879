// form1's controls: what each shows, where, in which size and colour, and
// its place in the tab order. The window builds itself from this table; the
// start-up benchmark draws its texts; the Windows end-to-end test reads the
// rows' names and twips to find the controls on the screen, so each control
// keeps one row of its own.
#pragma once

#include "controltable.h"

namespace korvane::ui {

namespace calculator_detail {
using K = ControlKind;
inline constexpr QRgb kBlue = qRgb(0, 0, 255);
inline constexpr QRgb kMagenta = qRgb(255, 0, 255);
inline constexpr QRgb kGreen = qRgb(0, 128, 0);
inline constexpr QRgb kRed = qRgb(255, 0, 0);
inline constexpr QRgb kSystem = kSystemColour;

// clang-format off
inline constexpr ControlSpec kControls[] = {
    // kind            name          shows                                               left   top  width height   pt   colour   tab
    {K::Label,        u"Label1(0)",  u"Korvane",                                         1800,  120, 2895, 375, 15.75, kBlue,    0},
    {K::Label,        u"Label1(1)",  u"-TSG R0004-2009",                                 4440,  480, 2295, 375, 12,    kMagenta, 20},
    {K::TextBox,      u"Text4",      {},                                                 2880,  840, 1700, 495, 14.25, kGreen,   21},
    {K::Label,        u"Label3(6)",  u"工作压力   pw",                                    645,  960, 2055, 405, 14.25, kSystem,  22},
    {K::Label,        u"Label3(7)",  u"MPa",                                             5040,  960, 1215, 405, 14.25, kSystem,  23},
    {K::TextBox,      u"Text1",      {},                                                 2880, 1560, 1700, 500, 14.25, kGreen,   3},
    {K::Label,        u"Label3(0)",  u"设计压力   p",                                     645, 1680, 1935, 405, 14.25, kSystem,  4},
    {K::Label,        u"Label3(2)",  u"MPa",                                             5040, 1680, 1215, 405, 14.25, kSystem,  7},
    {K::TextBox,      u"Text2",      {},                                                 2880, 2280, 1700, 500, 14.25, kGreen,   6},
    {K::Label,        u"Label3(1)",  u"容   积    V",                                     645, 2400, 1935, 405, 14.25, kSystem,  5},
    {K::Label,        u"Label3(3)",  u"L",                                               5040, 2400, 1215, 405, 14.25, kSystem,  8},
    {K::Label,        u"Label4(6)",  u"盛装介质为气体、液化气体以及介质最高工作温度",      600, 3120, 6375, 375, 14.25, kSystem,  24},
    {K::Label,        u"Label4(7)",  u"高于或者等于其标准沸点的液体。(见注1)",            600, 3600, 5295, 375, 14.25, kSystem,  25},
    {K::CheckBox,     u"Check1",     u"是",                                              6000, 3600,  975, 375, 14.25, kSystem,  26},
    {K::Label,        u"Label4(0)",  u"第一组介质：",                                      600, 4200, 1935, 405, 14.25, kSystem,  10},
    {K::OptionButton, u"Option1",    {},                                                 2520, 4200,  615, 375, 14.25, kSystem,  19},
    {K::Label,        u"Label4(1)",  u"第二组介质：",                                     3480, 4200, 1815, 405, 14.25, kSystem,  11},
    {K::OptionButton, u"Option2",    {},                                                 5400, 4200,  615, 375, 14.25, kSystem,  18},
    {K::PushButton,   u"Command2",   u"查看1.4",                                         5640, 4680,  975, 495, 10.5,  kSystem,  29},
    {K::Label,        u"Label4(8)",  u"是否属于本规程1.4条适用范围",                        600, 4800, 4935, 375, 14.25, kSystem,  27},
    {K::CheckBox,     u"Check2",     u"是",                                              4680, 4800,  855, 255, 14.25, kSystem,  28},
    {K::PushButton,   u"Command1",   u"计算",                                            1680, 5400, 1455, 500, 10.5,  kSystem,  1},
    {K::PushButton,   u"Command3",   u"退出",                                            4200, 5400, 1455, 500, 10.5,  kSystem,  2},
    {K::TextBox,      u"Text3",      {},                                                 3000, 6120, 1700, 500, 14.25, kRed,     17},
    {K::Label,        u"Label3(4)",  u"结果：本设备属于",                                  480, 6240, 2415, 405, 14.25, kSystem,  9},
    {K::Label,        u"Label3(5)",  u"容器。",                                          4800, 6240,  855, 285, 14.25, kSystem,  16},
    {K::Label,        u"Label4(2)",  u"注：1，容器内介质为最高工作温度低于其标准沸点的液体时，", 360, 6960, 6615, 375, 12, kSystem, 12},
    {K::Label,        u"Label4(9)",  u"如果气相空间的容积与工作压力的乘积大于或者等于",    1200, 7440, 5655, 375, 12,    kSystem,  30},
    {K::Label,        u"Label4(10)", u"2.5MPa·L时，也属于本规程适用范围。",               1200, 7920, 4335, 375, 12,    kSystem,  31},
    {K::Label,        u"Label4(3)",  u"2，第一组介质：毒性程度为极度危害、高度危害的化学",  840, 8400, 6375, 375, 12,    kSystem,  13},
    {K::Label,        u"Label4(5)",  u"介质，易爆介质，液化气体。",                        2640, 8880, 3255, 375, 12,    kSystem,  15},
    {K::Label,        u"Label4(4)",  u"第二组介质：除第一组以外的介质。",                  1200, 9360, 4215, 375, 12,    kSystem,  14},
};
// clang-format on
} // namespace calculator_detail

inline constexpr auto &kCalculatorControls = calculator_detail::kControls;

// The client area, twips.
inline constexpr int kCalculatorWidth = 7140;
inline constexpr int kCalculatorHeight = 9855;

} // namespace korvane::ui
