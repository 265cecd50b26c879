#include "windowmanager.h"

#include "ui/calculator/calculatorwindow.h"

#include <QCoreApplication>

namespace korvane {

WindowManager::WindowManager() = default;
WindowManager::~WindowManager() = default;

QWidget *WindowManager::existingWindow(ui::WindowName name) const
{
    switch (name) {
    case ui::WindowName::form1:
        return m_form1.get();
    default:
        return nullptr;
    }
}

QWidget *WindowManager::window(ui::WindowName name)
{
    if (name == ui::WindowName::form1 && !m_form1)
        m_form1 = std::make_unique<ui::CalculatorWindow>(*this);
    return existingWindow(name);
}

void WindowManager::showWindow(ui::WindowName name)
{
    if (QWidget *w = window(name))
        w->show();
}

void WindowManager::hideWindow(ui::WindowName name)
{
    if (QWidget *w = window(name))
        w->hide();
}

void WindowManager::endProgram()
{
    // Nothing more is dispatched once the event loop is told to stop; the
    // windows go at once rather than when the loop returns.
    for (auto name : {ui::WindowName::form1, ui::WindowName::Form2, ui::WindowName::Form3}) {
        if (QWidget *w = existingWindow(name))
            w->hide();
    }
    QCoreApplication::exit(0);
}

} // namespace korvane
