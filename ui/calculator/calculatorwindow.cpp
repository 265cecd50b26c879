#include "calculatorwindow.h"

#include "classchart.h"
#include "classify/reason.h"
#include "ui/common/accessibility.h"
#include "ui/common/navigator.h"
#include "ui/common/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QToolTip>

using namespace Qt::Literals::StringLiterals;

namespace korvane::ui {

namespace {

using K = ControlKind;
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kMagenta = qRgb(255, 0, 255);
constexpr QRgb kGreen = qRgb(0, 128, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kSystem = kSystemColour;

// clang-format off
constexpr ControlSpec kControls[] = {
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

// Which label names which control, for screen readers and error messages.
// A control named by two labels reads them in turn.
struct Caption
{
    QStringView control;
    QStringView label;
};

constexpr Caption kCaptions[] = {
    {u"Text4", u"Label3(6)"},   {u"Text1", u"Label3(0)"},  {u"Text2", u"Label3(1)"},
    {u"Check1", u"Label4(6)"},  {u"Check1", u"Label4(7)"}, {u"Option1", u"Label4(0)"},
    {u"Option2", u"Label4(1)"}, {u"Check2", u"Label4(8)"}, {u"Text3", u"Label3(4)"},
};

// Which label gives a number box's unit.
constexpr Caption kUnits[] = {
    {u"Text4", u"Label3(7)"}, {u"Text1", u"Label3(2)"}, {u"Text2", u"Label3(3)"}};

constexpr int kClientWidth = 7140; // twips
constexpr int kClientHeight = 9855;

// A copied chart is pasted into documents that get printed: twice the pixels.
constexpr qreal kCopiedChartRatio = 2;

// The chart above the reason's lines, one line each as in the plain text.
QString reasonHtml(const QString &reason, const QByteArray &chart, const char *format)
{
    return u"%1<p style=\"white-space:pre\">%2</p>"_s.arg(
        imageHtml(chart, format, chartSize()), reason.toHtmlEscaped().replace(u'\n', u"<br>"_s));
}

QStringView boxName(InputBox box)
{
    switch (box) {
    case InputBox::Text1:
        return u"Text1";
    case InputBox::Text2:
        return u"Text2";
    case InputBox::Text4:
        return u"Text4";
    }
    return {};
}

CheckState checkState(const QCheckBox &box)
{
    switch (box.checkState()) {
    case Qt::Unchecked:
        return CheckState::Off;
    case Qt::Checked:
        return CheckState::On;
    case Qt::PartiallyChecked:
        return CheckState::Greyed;
    }
    return CheckState::Off;
}

} // namespace

CalculatorWindow::CalculatorWindow(Navigator &navigator, QWidget *parent)
    : QWidget(parent), m_navigator(navigator), m_controls(buildControls(*this, kControls)),
      m_text1(m_controls.get<QLineEdit>(u"Text1")), m_text2(m_controls.get<QLineEdit>(u"Text2")),
      m_text3(m_controls.get<QLineEdit>(u"Text3")), m_text4(m_controls.get<QLineEdit>(u"Text4")),
      m_check1(m_controls.get<QCheckBox>(u"Check1")),
      m_check2(m_controls.get<QCheckBox>(u"Check2")),
      m_option1(m_controls.get<QRadioButton>(u"Option1")),
      m_option2(m_controls.get<QRadioButton>(u"Option2"))
{
    setObjectName(u"form1"_s);
    setWindowTitle(u"Email: korvane@example.com"_s);
    resize(twipsSize(kClientWidth, kClientHeight));

    nameWindowForScreenReaders(*this, u"压力容器类别计算"_s);
    // A screen reader reads each caption once, as the label of its control.
    for (const Caption &entry : kCaptions)
        m_controls.get<QLabel>(entry.label)->setBuddy(m_controls.get<QWidget>(entry.control));
    for (const Caption &entry : kUnits) {
        const QString unit = m_controls.get<QLabel>(entry.label)->text();
        m_controls.get<QWidget>(entry.control)->setAccessibleDescription(u"单位：%1"_s.arg(unit));
    }

    connect(m_option1, &QRadioButton::clicked, this, &CalculatorWindow::Option1_Click);
    connect(m_option2, &QRadioButton::clicked, this, &CalculatorWindow::Option2_Click);
    const auto button = [this](QStringView name) {
        return m_controls.get<QPushButton>(name);
    };
    connect(button(u"Command1"), &QPushButton::clicked, this, &CalculatorWindow::Command1_Click);
    connect(button(u"Command2"), &QPushButton::clicked, this, &CalculatorWindow::Command2_Click);
    connect(button(u"Command3"), &QPushButton::clicked, this, &CalculatorWindow::Command3_Click);
    m_text3->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_text3, &QWidget::customContextMenuRequested, this,
            &CalculatorWindow::Text3_ContextMenu);
    m_text3->installEventFilter(this);

    Form_Load();
}

void CalculatorWindow::Form_Load()
{
    for (QLineEdit *box : {m_text1, m_text2, m_text3, m_text4})
        box->setText(u" "_s);
    m_check1->setCheckState(Qt::Checked);
}

void CalculatorWindow::Option1_Click()
{
    m_option1->setChecked(true);
    m_option2->setChecked(false);
}

void CalculatorWindow::Option2_Click()
{
    m_option1->setChecked(false);
    m_option2->setChecked(true);
}

void CalculatorWindow::Command1_Click()
{
    const CalculatorEntries typed = entries();
    const CalculateOutcome outcome = calculate(typed, QLocale::system());
    if (const auto *error = std::get_if<CalculateError>(&outcome))
        reportError(*error);
    else
        showResult(std::get<CalculateSuccess>(outcome), typed);
}

void CalculatorWindow::Command2_Click()
{
    m_navigator.navigate(
        {nav::hide(WindowName::form1), nav::show(WindowName::Form2), nav::hide(WindowName::Form3)});
}

void CalculatorWindow::Command3_Click()
{
    m_navigator.endProgram();
}

// The box's own menu (undo, copy, paste …) with one item more.
void CalculatorWindow::Text3_ContextMenu(const QPoint &position)
{
    QMenu *menu = m_text3->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    QAction *copyItem = menu->addAction(u"复制判定依据"_s);
    copyItem->setEnabled(!m_reason.isEmpty());
    connect(copyItem, &QAction::triggered, this, &CalculatorWindow::copyReason);
    menu->popup(m_text3->mapToGlobal(position));
}

// The reason with the chart above it. The chart is drawn only now, when the
// tooltip is wanted, and kept until the next result.
void CalculatorWindow::Text3_ToolTip(const QHelpEvent &event)
{
    const qreal ratio = m_text3->devicePixelRatioF();
    if (m_richTip.isEmpty() || m_richTipRatio != ratio) {
        const char *format = "BMP";
        m_richTip =
            reasonHtml(m_reason, encodeImage(drawClassChart(*m_input, ratio), format), format);
        m_richTipRatio = ratio;
    }
    QToolTip::showText(event.globalPos(), m_richTip, m_text3, {}, m_text3->toolTipDuration());
}

// Plain text for editors, the chart and the words as HTML for word
// processors, and the chart as an image for image editors.
void CalculatorWindow::copyReason() const
{
    if (!m_input)
        return;
    const QImage chart = drawClassChart(*m_input, kCopiedChartRatio);
    const char *format = "PNG";
    const QByteArray png = encodeImage(chart, format);
    auto *data = new QMimeData;
    data->setText(m_reason);
    data->setHtml(reasonHtml(m_reason, png, format));
    data->setImageData(chart);
    data->setData(u"image/png"_s, png);
    QGuiApplication::clipboard()->setMimeData(data);
}

bool CalculatorWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text3 && event->type() == QEvent::ToolTip && m_input) {
        Text3_ToolTip(*static_cast<QHelpEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CalculatorWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_navigator.endProgram();
}

CalculatorEntries CalculatorWindow::entries() const
{
    return {m_text1->text(),       m_text2->text(),       m_text4->text(),
            checkState(*m_check1), checkState(*m_check2), m_option1->isChecked(),
            m_option2->isChecked()};
}

void CalculatorWindow::showResult(const CalculateSuccess &success, const CalculatorEntries &typed)
{
    m_option1->setChecked(success.option1);
    m_option2->setChecked(success.option2);
    m_text3->setText(resultString(success.result));
    // Screen readers speak a change to the focused control's description.
    // After 计算 that is the button itself: the class is heard while the
    // focus stays where it is.
    m_controls.get<QPushButton>(u"Command1")
        ->setAccessibleDescription(u"结果：%1"_s.arg(m_text3->text()));

    // Only a successful calculation replaces the reason, so that it always
    // belongs to the result on show.
    m_reason = reasonText(typed, success.input);
    m_input = success.input;
    m_richTip.clear();
    m_text3->setToolTip(m_reason);
    m_text3->setAccessibleDescription(m_reason);
}

void CalculatorWindow::reportError(const CalculateError &error)
{
    QString message;
    if (error.kind == ErrorKind::TypeMismatch) {
        message = u"类型不匹配：“%1”中填写的不是一个数。"_s.arg(caption(boxName(error.box)));
    } else if (!error.product) {
        message = u"溢出：“%1”中的数超出了能计算的范围。"_s.arg(caption(boxName(error.box)));
    } else {
        const QStringView pressure = error.box == InputBox::Text4 ? u"Text4" : u"Text1";
        message = u"溢出：“%1”与“%2”的乘积超出了能计算的范围。"_s.arg(caption(pressure),
                                                                      caption(u"Text2"));
    }

    QMessageBox box(QMessageBox::Warning, u"Korvane"_s, message, QMessageBox::Ok, this);
    box.exec();

    QLineEdit *offending = textBox(error.box);
    offending->setFocus(Qt::OtherFocusReason);
    offending->selectAll();
}

QLineEdit *CalculatorWindow::textBox(InputBox box) const
{
    return m_controls.get<QLineEdit>(boxName(box));
}

QString CalculatorWindow::caption(QStringView control) const
{
    QString text;
    for (const Caption &entry : kCaptions) {
        if (entry.control == control)
            text += m_controls.get<QLabel>(entry.label)->text();
    }
    return captionName(text);
}

} // namespace korvane::ui
