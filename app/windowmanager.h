// Owns the program's three windows and carries out the navigation between
// them. A window is created the first time an operation names it and lives,
// shown or hidden, until the program ends.
#pragma once

#include "navigator.h"

#include <array>
#include <memory>

class QWidget;

namespace korvane {

class WindowManager final : public ui::Navigator
{
public:
    WindowManager();
    ~WindowManager() override;

    void showWindow(ui::WindowName name) override;
    void hideWindow(ui::WindowName name) override;
    void endProgram() override;

    // The window, created on first use.
    QWidget *window(ui::WindowName name);
    // The window if it has been created, else nullptr.
    QWidget *existingWindow(ui::WindowName name) const;

private:
    std::unique_ptr<QWidget> create(ui::WindowName name);

    std::array<std::unique_ptr<QWidget>, 3> m_windows;
};

} // namespace korvane
