#include "accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace korvane::ui {

namespace {

constexpr char kNamedWindow[] = "korvaneNamedWindow";

QAccessibleInterface *namedWindowInterface(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && widget->isWindow() && widget->property(kNamedWindow).toBool())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void nameWindowForScreenReaders(QWidget &window, const QString &name)
{
    // Before the window's interface is first asked for, which naming it does.
    static const bool installed = (QAccessible::installFactory(namedWindowInterface), true);
    Q_UNUSED(installed);
    window.setProperty(kNamedWindow, true);
    window.setAccessibleName(name);
}

} // namespace korvane::ui
