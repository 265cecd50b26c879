// The window operations that navigation buttons run, owned by the application.
#pragma once

#include <initializer_list>

namespace korvane::ui {

enum class WindowName
{
    form1, // the calculator
    Form2, // first reference page: clauses 1.4 to 1.4.2
    Form3, // second reference page: clauses 1.4.2 to 1.5
};

// One window operation of a navigation button.
struct WindowStep
{
    bool show;
    WindowName window;
};

namespace nav {
constexpr WindowStep show(WindowName window)
{
    return {true, window};
}
constexpr WindowStep hide(WindowName window)
{
    return {false, window};
}
} // namespace nav

class Navigator
{
public:
    virtual ~Navigator() = default;

    // Shows the window, creating it first if it does not exist yet.
    virtual void showWindow(WindowName name) = 0;
    // Hides the window, creating it (hidden) first if it does not exist yet.
    virtual void hideWindow(WindowName name) = 0;
    // Ends the program at once.
    virtual void endProgram() = 0;

    // Runs a button's operations in the order given. Every navigation hides
    // both windows other than its target, even one already hidden.
    void navigate(std::initializer_list<WindowStep> steps)
    {
        for (const WindowStep step : steps) {
            if (step.show)
                showWindow(step.window);
            else
                hideWindow(step.window);
        }
    }
};

} // namespace korvane::ui
