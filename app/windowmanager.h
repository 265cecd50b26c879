// Owns the program's windows and carries out the navigation between them.
#pragma once

#include "ui/common/navigator.h"

#include <memory>

class QWidget;

namespace korvane {

namespace ui {
class CalculatorWindow;
}

class WindowManager final : public ui::Navigator
{
public:
    WindowManager();
    ~WindowManager() override;

    void showWindow(ui::WindowName name) override;
    void hideWindow(ui::WindowName name) override;
    void endProgram() override;

    // The window, created on first use; nullptr for one not built yet.
    QWidget *window(ui::WindowName name);
    // The window if it exists, without creating it.
    QWidget *existingWindow(ui::WindowName name) const;

private:
    std::unique_ptr<ui::CalculatorWindow> m_form1;
};

} // namespace korvane
