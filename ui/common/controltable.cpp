#include "controltable.h"

#include "fonts.h"
#include "twips.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <limits>
#include <vector>

namespace korvane::ui {

namespace {

// A click anywhere in the box toggles between off and on; greyed is only
// ever set by the program.
class CheckBox : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
    void nextCheckState() override
    {
        setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
    }
};

// Without a caption Qt would take clicks on the small indicator only; the
// whole box answers, as the window's layout draws it.
class OptionButton : public QRadioButton
{
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
    // Qt takes all but the focused button of an exclusive set out of the
    // Tab chain; each option button here keeps its own tab place.
    void focusInEvent(QFocusEvent *event) override
    {
        QRadioButton::focusInEvent(event);
        const auto options =
            parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly);
        for (QRadioButton *option : options)
            option->setFocusPolicy(Qt::StrongFocus);
    }
};

// Return and keypad Enter press the focused button as Space does, as on
// Windows. No button is a default one, so in a text box they press nothing.
class PushButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (!enter)
            return QPushButton::keyPressEvent(event);
        if (!event->isAutoRepeat())
            click();
    }
};

QWidget *createControl(const ControlSpec &entry, QWidget &window)
{
    const QString text = entry.text.toString();
    switch (entry.kind) {
    case ControlKind::Label: {
        auto *label = new QLabel(text, &window);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(false);
        return label;
    }
    case ControlKind::TextBox: {
        auto *box = new QLineEdit(&window);
        box->setMaxLength(std::numeric_limits<int>::max());
        return box;
    }
    case ControlKind::CheckBox: {
        auto *box = new CheckBox(text, &window);
        box->setTristate(true);
        return box;
    }
    case ControlKind::OptionButton: {
        // Exclusive among the window's option buttons, which start both clear;
        // screen readers then know them as radio buttons.
        return new OptionButton(&window);
    }
    case ControlKind::PushButton: {
        auto *button = new PushButton(text, &window);
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }
    }
    return nullptr;
}

void style(QWidget &widget, const ControlSpec &entry)
{
    widget.setObjectName(entry.name.toString());
    widget.setGeometry(twipsRect(entry.left, entry.top, entry.width, entry.height));
    if (entry.points != kStandardFont)
        widget.setFont(songFont(entry.points));
    if (entry.colour != kSystemColour) {
        QPalette palette = widget.palette();
        palette.setColor(textRole(entry.kind), QColor::fromRgb(entry.colour));
        widget.setPalette(palette);
    }
}

} // namespace

void missingControl(QStringView name, const char *kind)
{
    qFatal("Controls: the window has no %s named \"%s\"", kind, qUtf8Printable(name.toString()));
}

Controls buildControls(QWidget &window, std::span<const ControlSpec> table)
{
    std::vector<const ControlSpec *> order;
    for (const ControlSpec &entry : table)
        order.push_back(&entry);
    // Labels first (beneath everything), then the rest by their tab places.
    std::stable_sort(order.begin(), order.end(), [](const ControlSpec *a, const ControlSpec *b) {
        const bool aLabel = a->kind == ControlKind::Label;
        const bool bLabel = b->kind == ControlKind::Label;
        if (aLabel != bLabel)
            return aLabel;
        return !aLabel && a->tab < b->tab;
    });

    Controls controls;
    for (const ControlSpec *entry : order) {
        QWidget *widget = createControl(*entry, window);
        style(*widget, *entry);
        controls.m_byName.insert(entry->name.toString(), widget);
        if (entry->kind != ControlKind::Label)
            controls.m_tabOrder.append(widget);
    }
    for (qsizetype i = 1; i < controls.m_tabOrder.size(); ++i)
        QWidget::setTabOrder(controls.m_tabOrder[i - 1], controls.m_tabOrder[i]);
    return controls;
}

QPalette::ColorRole textRole(ControlKind kind)
{
    switch (kind) {
    case ControlKind::TextBox:
        return QPalette::Text;
    case ControlKind::PushButton:
        return QPalette::ButtonText;
    default:
        return QPalette::WindowText;
    }
}

QString captionName(QStringView labelText)
{
    const QString simple = labelText.toString().simplified();
    QString name;
    for (qsizetype i = 0; i < simple.size(); ++i) {
        const bool betweenWide = simple[i] == u' ' && i > 0 && i + 1 < simple.size() &&
                                 simple[i - 1].unicode() > 0x7F && simple[i + 1].unicode() > 0x7F;
        if (!betweenWide)
            name += simple[i];
    }
    return name;
}

} // namespace korvane::ui
