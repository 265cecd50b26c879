// form1: the calculator window.
#pragma once

#include "calculate.h"
#include "controltable.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QHelpEvent;
class QLineEdit;
class QRadioButton;
class QWindow;

namespace korvane::ui {

class Navigator;

class CalculatorWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CalculatorWindow(Navigator &navigator, QWidget *parent = nullptr);

    // The handlers, named after the control and the event.
    void Form_Load();
    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Text3_ContextMenu(const QPoint &position);
    void Text3_ToolTip(const QHelpEvent &event);
    void App_FocusWindowChanged(QWindow *focus);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CalculatorEntries entries() const;
    void showResult(const CalculateSuccess &success, const CalculatorEntries &typed);
    void reportError(const CalculateError &error);
    void showReasonTip();
    void closeReasonTip();
    QLineEdit *textBox(InputBox box) const;
    QString caption(QStringView control) const;
    QString richTip();
    void showReason();
    void copyReason() const;

    Navigator &m_navigator;
    Controls m_controls;
    QLineEdit *m_text1;
    QLineEdit *m_text2;
    QLineEdit *m_text3;
    QLineEdit *m_text4;
    QCheckBox *m_check1;
    QCheckBox *m_check2;
    QRadioButton *m_option1;
    QRadioButton *m_option2;
    QString m_reason; // why the last successful calculation gave its result
    std::optional<CalculateSuccess> m_calculated; // what it calculated and decided, for the chart
    // The tooltip with the chart, drawn at the first hover after a calculation
    // for the screen's pixel ratio then.
    QString m_richTip;
    qreal m_richTipRatio = 0;
    bool m_reasonTipWanted = false; // showReason's tooltip, until the next key or click
};

} // namespace korvane::ui
