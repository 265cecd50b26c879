#include "windowmanager.h"

#include "calculatorwindow.h"
#include "referencepages.h"

#include <QCoreApplication>

namespace korvane {

using ui::WindowName;

WindowManager::WindowManager() = default;
WindowManager::~WindowManager() = default;

std::unique_ptr<QWidget> WindowManager::create(WindowName name)
{
    switch (name) {
    case WindowName::form1:
        return std::make_unique<ui::CalculatorWindow>(*this);
    case WindowName::Form2:
        return std::make_unique<ui::Form2Page>(*this);
    case WindowName::Form3:
        return std::make_unique<ui::Form3Page>(*this);
    }
    return nullptr;
}

QWidget *WindowManager::existingWindow(WindowName name) const
{
    return m_windows[std::size_t(name)].get();
}

QWidget *WindowManager::window(WindowName name)
{
    auto &slot = m_windows[std::size_t(name)];
    if (!slot)
        slot = create(name);
    return slot.get();
}

// The window shown takes the keyboard: on X11 only a window manager would
// give it the focus otherwise.
void WindowManager::showWindow(WindowName name)
{
    QWidget *shown = window(name);
    shown->show();
    shown->activateWindow();
}

void WindowManager::hideWindow(WindowName name)
{
    window(name)->hide();
}

void WindowManager::endProgram()
{
    // The event loop dispatches nothing more once told to stop; the windows
    // go at once rather than when it returns.
    for (const auto &window : m_windows) {
        if (window)
            window->hide();
    }
    QCoreApplication::exit(0);
}

} // namespace korvane
