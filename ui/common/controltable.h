// A window's controls as a table of data, and the one place that turns
// such a table into widgets.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPalette>
#include <QRgb>
#include <QString>
#include <QStringView>

#include <span>

class QWidget;

namespace korvane::ui {

enum class ControlKind
{
    Label,        // fixed box, one left-aligned line, beneath the other controls
    TextBox,      // single-line editable text, no length limit
    CheckBox,     // off, on or greyed; a click toggles between off and on
    OptionButton, // no caption; exclusive with the window's other option buttons
    PushButton,   // never the default or cancel button; Return presses it when focused
};

// Not a colour: the control keeps the system's colour for its kind.
inline constexpr QRgb kSystemColour = 0;
// A size that means the window's standard font instead of the Song face.
inline constexpr double kStandardFont = 0;

struct ControlSpec
{
    ControlKind kind;
    QStringView name;             // "Text1", "Label4(3)": also the widget's object name
    QStringView text;             // caption or label text; empty for boxes and options
    int left, top, width, height; // twips, from the client area's top-left corner
    double points;                // Song face size, or kStandardFont
    QRgb colour;                  // text colour, or kSystemColour
    int tab;                      // place in the window's tab order
};

// A name or kind that a window does not hold is a fault in the program: it
// ends at once, in every build type, naming the control, rather than crash
// later on a null pointer.
[[noreturn]] void missingControl(QStringView name, const char *kind);

class Controls
{
public:
    // The control of that name and kind.
    template <typename T> T *get(QStringView name) const
    {
        auto *widget = qobject_cast<T *>(m_byName.value(name.toString()));
        if (!widget)
            missingControl(name, T::staticMetaObject.className());
        return widget;
    }

    // The focusable controls in tab order.
    const QList<QWidget *> &tabOrder() const { return m_tabOrder; }

private:
    friend Controls buildControls(QWidget &window, std::span<const ControlSpec> table);
    QHash<QString, QWidget *> m_byName;
    QList<QWidget *> m_tabOrder;
};

// A built window's control by its name and kind, for what drives the window
// from outside: the tests and the screenshot tool.
template <typename T> T *findControl(const QObject &window, QStringView name)
{
    T *found = window.findChild<T *>(name.toString());
    if (!found)
        missingControl(name, T::staticMetaObject.className());
    return found;
}

// Creates the table's controls on the window: labels first, so that they lie
// beneath the rest, then the others in tab order, so that the head of the
// tab order takes the focus when the window is first shown.
Controls buildControls(QWidget &window, std::span<const ControlSpec> table);

// The palette role a control of this kind draws its text in.
QPalette::ColorRole textRole(ControlKind kind);

// A caption as a name for messages and screen readers: the label's text with
// the spaces that only line it up taken out ("容   积    V" → "容积 V").
QString captionName(QStringView labelText);

} // namespace korvane::ui
