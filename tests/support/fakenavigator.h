// Records the window operations a window asks for, in order.
#pragma once

#include "navigator.h"

#include <QStringList>

namespace korvane::test {

class FakeNavigator final : public ui::Navigator
{
public:
    void showWindow(ui::WindowName name) override
    {
        calls << QStringLiteral("show ") + nameOf(name);
    }
    void hideWindow(ui::WindowName name) override
    {
        calls << QStringLiteral("hide ") + nameOf(name);
    }
    void endProgram() override { calls << QStringLiteral("end"); }

    QStringList calls;

private:
    static QString nameOf(ui::WindowName name)
    {
        switch (name) {
        case ui::WindowName::form1:
            return QStringLiteral("form1");
        case ui::WindowName::Form2:
            return QStringLiteral("Form2");
        case ui::WindowName::Form3:
            return QStringLiteral("Form3");
        }
        return {};
    }
};

} // namespace korvane::test
