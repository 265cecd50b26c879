#include "calculatorwindow.h"

#include "accessibility.h"
#include "calculatorcontrols.h"
#include "classchart.h"
#include "navigator.h"
#include "reason.h"
#include "reasoncopy.h"
#include "twips.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QToolTip>
#include <QWindow>

using namespace Qt::Literals::StringLiterals;

namespace korvane::ui {

namespace {

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

// A copied chart is pasted into documents that get printed: twice the pixels.
constexpr qreal kCopiedChartRatio = 2;

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
    : QWidget(parent), m_navigator(navigator),
      m_controls(buildControls(*this, kCalculatorControls)),
      m_text1(m_controls.get<QLineEdit>(u"Text1")), m_text2(m_controls.get<QLineEdit>(u"Text2")),
      m_text3(m_controls.get<QLineEdit>(u"Text3")), m_text4(m_controls.get<QLineEdit>(u"Text4")),
      m_check1(m_controls.get<QCheckBox>(u"Check1")),
      m_check2(m_controls.get<QCheckBox>(u"Check2")),
      m_option1(m_controls.get<QRadioButton>(u"Option1")),
      m_option2(m_controls.get<QRadioButton>(u"Option2"))
{
    setObjectName(u"form1"_s);
    setWindowTitle(u"Email: korvane@example.com"_s);
    resize(twipsSize(kCalculatorWidth, kCalculatorHeight));

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
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            &CalculatorWindow::App_FocusWindowChanged);

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

// The box's own menu (undo, copy, paste …) with two items more, which wait
// for the first successful calculation.
void CalculatorWindow::Text3_ContextMenu(const QPoint &position)
{
    QMenu *menu = m_text3->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    QAction *showItem = menu->addAction(u"显示判定依据"_s);
    QAction *copyItem = menu->addAction(u"复制判定依据"_s);
    for (QAction *item : {showItem, copyItem})
        item->setEnabled(m_calculated.has_value());
    connect(showItem, &QAction::triggered, this, &CalculatorWindow::showReason);
    connect(copyItem, &QAction::triggered, this, &CalculatorWindow::copyReason);
    menu->popup(m_text3->mapToGlobal(position));
}

void CalculatorWindow::Text3_ToolTip(const QHelpEvent &event)
{
    QToolTip::showText(event.globalPos(), richTip(), m_text3, {}, m_text3->toolTipDuration());
}

// The reason with the chart above it. The chart is drawn only when the
// tooltip is wanted, and kept until the next result.
QString CalculatorWindow::richTip()
{
    const qreal ratio = m_text3->devicePixelRatioF();
    if (m_richTip.isEmpty() || m_richTipRatio != ratio) {
        const QImage chart = drawClassChart(m_calculated->map, m_calculated->decision, ratio);
        m_richTip = reasonHtml(m_reason, encodeImage(chart, "BMP"));
        m_richTipRatio = ratio;
    }
    return m_richTip;
}

// The tooltip for a keyboard, under the box, until the user's next key or
// click. It opens once the menu that chose it has closed and this window has
// the focus again: a tooltip hides at every change of focus, and a menu that
// held the focus gives it back through the platform, after this handler.
void CalculatorWindow::showReason()
{
    if (!m_calculated)
        return;
    if (!m_reasonTipWanted) {
        m_reasonTipWanted = true;
        qApp->installEventFilter(this);
    }
    QMetaObject::invokeMethod(this, &CalculatorWindow::showReasonTip, Qt::QueuedConnection);
}

void CalculatorWindow::showReasonTip()
{
    if (!m_reasonTipWanted)
        return;
    // Qt asks for it back only when the menu had the keyboard; once this
    // window has it, App_FocusWindowChanged comes back here.
    if (QGuiApplication::focusWindow() != windowHandle()) {
        activateWindow();
        return;
    }
    QToolTip::showText(m_text3->mapToGlobal(QPoint(0, m_text3->height())), richTip(), m_text3);
    // Ahead of the tooltip's own filter, which a new tooltip installs.
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
}

void CalculatorWindow::closeReasonTip()
{
    m_reasonTipWanted = false;
    qApp->removeEventFilter(this);
}

// While showReason's tooltip is wanted: this window has the focus again, so
// it opens (again, should a late change of focus have hidden it); no window
// has it, so the user turned to another program and it stays closed.
void CalculatorWindow::App_FocusWindowChanged(QWindow *focus)
{
    if (!m_reasonTipWanted)
        return;
    if (!focus)
        closeReasonTip();
    else if (focus == windowHandle())
        QMetaObject::invokeMethod(this, &CalculatorWindow::showReasonTip, Qt::QueuedConnection);
}

// Plain text for editors, the chart and the words as HTML for word
// processors, and the chart as an image for image editors; the last line
// says which program and which edition of the rules decided.
void CalculatorWindow::copyReason() const
{
    if (!m_calculated)
        return;
    const QImage chart =
        drawClassChart(m_calculated->map, m_calculated->decision, kCopiedChartRatio);
    const QString madeBy =
        u"%1 %2，依据 %3"_s.arg(QCoreApplication::applicationName(),
                                QCoreApplication::applicationVersion(), regulationName());
    QGuiApplication::clipboard()->setMimeData(reasonMimeData(m_reason + u'\n' + madeBy, chart));
}

bool CalculatorWindow::eventFilter(QObject *watched, QEvent *event)
{
    // After showReason the first click, or key but a modifier, closes the
    // tooltip wherever the focus is; Esc does nothing else.
    if (m_reasonTipWanted && event->type() == QEvent::MouseButtonPress)
        closeReasonTip();
    // A tooltip hides when the pointer leaves a window. Opening under the
    // pointer, as after a click on the menu, it made the pointer leave.
    if (m_reasonTipWanted && event->type() == QEvent::Leave && watched == windowHandle()) {
        const QWindow *under = QGuiApplication::topLevelAt(QCursor::pos());
        if (under && under->type() == Qt::ToolTip)
            return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool modifier = key->key() >= Qt::Key_Shift && key->key() <= Qt::Key_ScrollLock;
        if (m_reasonTipWanted && !modifier) {
            closeReasonTip();
            if (QToolTip::isVisible()) {
                QToolTip::hideText();
                if (key->key() == Qt::Key_Escape)
                    return true;
            }
        }
        // Not every platform turns these keys into a context menu event.
        if (watched == m_text3 &&
            (key->key() == Qt::Key_Menu ||
             (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier))) {
            Text3_ContextMenu(m_text3->inputMethodQuery(Qt::ImCursorRectangle).toRect().center());
            return true;
        }
    }
    if (watched == m_text3 && event->type() == QEvent::ToolTip && m_calculated) {
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
    m_text3->setText(resultText(success.decision.result));
    // Screen readers speak a change to the focused control's description.
    // After 计算 that is the button itself: the class is heard while the
    // focus stays where it is.
    m_controls.get<QPushButton>(u"Command1")
        ->setAccessibleDescription(u"结果：%1"_s.arg(m_text3->text()));

    // Only a successful calculation replaces the reason, so that it always
    // belongs to the result on show.
    m_reason = reasonText(typed, success);
    m_calculated = success;
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

    // setFocus gives the keyboard only in the active window, which the box
    // was; not every platform hands the activation back (offscreen does not).
    activateWindow();
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
