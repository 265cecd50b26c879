// The window operations that navigation buttons run, owned by the application.
#pragma once

namespace korvane::ui {

enum class WindowName
{
    form1, // the calculator
    Form2, // reference page: clause 1.4
    Form3, // reference page: clauses 1.4.2 to 1.5
};

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
};

} // namespace korvane::ui
