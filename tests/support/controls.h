// A window's control by its object name, as the tests drive them: a test
// that names a control the window lacks stops there and names it.
#pragma once

#include <QString>
#include <QWidget>

namespace korvane::test {

template <typename T> T *control(const QWidget &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

} // namespace korvane::test
