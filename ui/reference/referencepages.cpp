#include "referencepages.h"

#include "accessibility.h"
#include "navigator.h"
#include "twips.h"

#include <QCloseEvent>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace korvane::ui {

namespace {

using K = ControlKind;

// Lines of text in reading order. Some boxes reach past the right edge and
// are cut off there; widening the window shows the rest.
// clang-format off
constexpr ControlSpec kForm2Controls[] = {
    {K::Label, u"Label1(0)", u"固定式压力容器安全技术监察规程", 1080, 240, 4335, 375, 14.25, qRgb(0, 192, 0), 1},
    {K::Label, u"Label1(2)", u"-TSG R0004-2009", 4320, 720, 1935, 375, 12, qRgb(255, 0, 255), 3},
    {K::Label, u"Label1(1)", u"1.4 适用范围的特殊规定", 240, 960, 2895, 300, 12, qRgb(255, 0, 0), 2},
    {K::Label, u"Label1(3)", u"压力容器使用单位应当参照本规程使用管理的有关规定，负责本条", 720, 1440, 6255, 300, 10.5, kSystemColour, 4},
    {K::Label, u"Label1(4)", u"范围内压力容器的安全管理 。", 240, 1800, 3015, 300, 10.5, kSystemColour, 5},
    {K::Label, u"Label1(5)", u"1.4.1 只需要满足本规程总则、设计、制造要求的压力容器", 240, 2280, 5655, 300, 10.5, qRgb(0, 0, 255), 6},
    {K::Label, u"Label1(6)", u"本规程适用范围内，容积大于或者等于25L的下列压力容器，只需要", 720, 2760, 6495, 300, 10.5, kSystemColour, 7},
    {K::Label, u"Label1(7)", u"满足本规程第1、3、4章的规定 ：", 360, 3120, 6615, 300, 10.5, kSystemColour, 8},
    {K::Label, u"Label1(8)", u"(1)《简单压力容器安全技术监察规程》不适用的移动式空气压缩机的", 240, 3480, 7215, 300, 10.5, kSystemColour, 9},
    {K::Label, u"Label1(23)", u"储气罐 ；", 600, 3840, 1095, 300, 10.5, kSystemColour, 23},
    {K::Label, u"Label1(9)", u"(2)深冷装置中非独立的压力容器、直燃型吸收式制冷装置中的压力容器、", 240, 4200, 6855, 300, 10.5, kSystemColour, 10},
    {K::Label, u"Label1(10)", u"铝制板翘式热交换器、空分装置中冷箱内的压力容器 ；", 480, 4560, 6855, 300, 10.5, kSystemColour, 11},
    {K::Label, u"Label1(11)", u"(3)无壳体的套管热交换器、螺旋板热交换器、钎焊板式热交换器 ；", 240, 4920, 6495, 300, 10.5, kSystemColour, 12},
    {K::Label, u"Label1(12)", u"(4)水力自动补气气压给水(无塔上水)装置中的气压罐，消防装置中的", 240, 5280, 6855, 300, 10.5, kSystemColour, 13},
    {K::Label, u"Label1(13)", u"气体或者气压给水(泡沫)压力罐 ；", 600, 5640, 3495, 300, 10.5, kSystemColour, 14},
    {K::Label, u"Label1(14)", u"(5)水处理设备中的离子交换或者过滤用压力容器、热水锅炉用膨胀水箱 ；", 240, 6000, 7095, 300, 10.5, kSystemColour, 15},
    {K::Label, u"Label1(15)", u"(6)电力行业专用的全封闭式组合电器(如电容压力容器) ；", 240, 6360, 5655, 300, 10.5, kSystemColour, 16},
    {K::Label, u"Label1(16)", u"(7)橡胶行业使用的轮胎硫化机以及承压的橡胶模具 ；", 240, 6720, 5295, 300, 10.5, kSystemColour, 17},
    {K::Label, u"Label1(17)", u"(8)机器设备上附属的蓄能器 。", 240, 7080, 3135, 300, 10.5, kSystemColour, 18},
    {K::Label, u"Label1(18)", u"1.4.2 只需要满足本规程总则、设计和制造许可要求的压力容器", 360, 7560, 6615, 300, 10.5, qRgb(0, 0, 255), 20},
    {K::Label, u"Label1(19)", u"容积大于1L并且小于25L,或者内直径(对非圆形截面，指截面内边界的", 600, 8040, 6495, 300, 10.5, kSystemColour, 21},
    {K::Label, u"Label1(20)", u"最大几何尺寸，例如矩形为对角线，椭圆为长轴）小于150mm的压力容器，", 240, 8400, 6855, 300, 10.5, kSystemColour, 22},
    {K::PushButton, u"Command1", u"返回", 1680, 9000, 1455, 500, 10.5, kSystemColour, 0},
    {K::PushButton, u"Command2", u"下一页", 4200, 9000, 1455, 500, 10.5, kSystemColour, 19},
};

constexpr ControlSpec kForm3Controls[] = {
    {K::Label, u"Label1(13)", u"只需要满足本规程总则和3.1、4.1.1的规定，其设计、制造按照相应产品", 240, 480, 6735, 300, 10.5, kSystemColour, 15},
    {K::Label, u"Label1(14)", u"标准的要求 。", 240, 840, 1575, 300, 10.5, kSystemColour, 16},
    {K::Label, u"Label1(5)", u"1.4.3 只需满足总则和制造许可要求的压力容器", 240, 1320, 4575, 300, 10.5, qRgb(0, 0, 255), 7},
    {K::Label, u"Label1(6)", u"容积小于或者等于1L的压力容器，只需要满足本规程总则和4.1.1的", 600, 1800, 6735, 300, 10.5, kSystemColour, 8},
    {K::Label, u"Label1(7)", u"规定，其设计、制造按相应产品标准的要求 。", 240, 2160, 4455, 300, 10.5, kSystemColour, 9},
    {K::Label, u"Label1(0)", u"1.5  不适用范围", 240, 2640, 2295, 300, 12, qRgb(255, 0, 0), 2},
    {K::Label, u"Label1(1)", u"本规程不适用于下列压力容器 ：", 240, 3120, 3135, 300, 10.5, kSystemColour, 3},
    {K::Label, u"Label1(2)", u"（1）移动式压力容器、气瓶、氧舱 ；", 240, 3480, 3735, 300, 10.5, kSystemColour, 4},
    {K::Label, u"Label1(3)", u"（2）锅炉安全技术监察规程适用范围内的余热锅炉 ；", 240, 3840, 5175, 300, 10.5, kSystemColour, 5},
    {K::Label, u"Label1(4)", u"（3）正常运行工作压力小于0.1MPa的容器（包括在进料或者出料过程中", 240, 4200, 6615, 300, 10.5, kSystemColour, 6},
    {K::Label, u"Label1(8)", u"需要瞬时承受压力大于或者等于0.1MPa的容器） ；", 720, 4560, 5055, 300, 10.5, kSystemColour, 10},
    {K::Label, u"Label1(9)", u"（4）旋转或者往复运动的机械设备中自成整体或者作为部件的受压器室", 240, 4920, 6615, 300, 10.5, kSystemColour, 11},
    {K::Label, u"Label1(10)", u"（如泵壳、压缩机外壳、液压缸等） ；", 600, 5280, 3975, 300, 10.5, kSystemColour, 12},
    {K::Label, u"Label1(11)", u"（5）可拆卸垫片式板式热交换器（包括半焊式板式热交换器）、空冷式", 240, 5640, 6735, 300, 10.5, kSystemColour, 13},
    {K::Label, u"Label1(12)", u"热交换器、冷却排管 。", 600, 6000, 2415, 300, 10.5, kSystemColour, 14},
    {K::PushButton, u"Command1", u"返回上一页", 1560, 6600, 1695, 495, kStandardFont, kSystemColour, 0},
    {K::PushButton, u"Command2", u"返回首页", 4200, 6600, 1695, 495, kStandardFont, kSystemColour, 1},
};
// clang-format on

using enum WindowName;

} // namespace

ReferencePage::ReferencePage(Navigator &navigator, const Layout &layout, QWidget *parent)
    : QWidget(parent), m_navigator(navigator), m_controls(buildControls(*this, layout.controls))
{
    setObjectName(layout.name.toString());
    setWindowTitle(u"TSG R0004-2009  第1.4条 和 第1.5条"_s);
    // Both pages carry the same title; screen readers tell them apart.
    nameWindowForScreenReaders(*this, layout.spokenName.toString());
    resize(twipsSize(layout.width, layout.height));
    connect(m_controls.get<QPushButton>(u"Command1"), &QPushButton::clicked, this,
            &ReferencePage::Command1_Click);
    connect(m_controls.get<QPushButton>(u"Command2"), &QPushButton::clicked, this,
            &ReferencePage::Command2_Click);
}

void ReferencePage::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_navigator.navigate({nav::hide(Form2), nav::show(form1), nav::hide(Form3)});
}

Form2Page::Form2Page(Navigator &navigator, QWidget *parent)
    : ReferencePage(navigator, {u"Form2", u"第1页：第1.4条", 7140, 9795, kForm2Controls}, parent)
{}

void Form2Page::Command1_Click()
{
    m_navigator.navigate({nav::hide(Form2), nav::show(form1), nav::hide(Form3)});
}

void Form2Page::Command2_Click()
{
    m_navigator.navigate({nav::hide(Form2), nav::show(Form3), nav::hide(form1)});
}

Form3Page::Form3Page(Navigator &navigator, QWidget *parent)
    : ReferencePage(navigator, {u"Form3", u"第2页：第1.4.2条至第1.5条", 7140, 7500, kForm3Controls},
                    parent)
{}

void Form3Page::Command1_Click()
{
    m_navigator.navigate({nav::hide(form1), nav::show(Form2), nav::hide(Form3)});
}

void Form3Page::Command2_Click()
{
    m_navigator.navigate({nav::hide(Form2), nav::show(form1), nav::hide(Form3)});
}

} // namespace korvane::ui
