// Form2 and Form3: the two read-only pages of regulation text.
#pragma once

#include "controltable.h"

#include <QWidget>

namespace korvane::ui {

class Navigator;

// What the two pages share: a fixed page of labels and two buttons, built
// from its table. Closing a page from its title bar leads home, like the
// second page's "返回首页", so that one window always stays visible.
class ReferencePage : public QWidget
{
    Q_OBJECT

public:
    // The page's two buttons, Command1 and Command2.
    virtual void Command1_Click() = 0;
    virtual void Command2_Click() = 0;

protected:
    struct Layout
    {
        QStringView name;
        QStringView spokenName; // what screen readers call the page
        int width, height;      // client area, twips
        std::span<const ControlSpec> controls;
    };

    ReferencePage(Navigator &navigator, const Layout &layout, QWidget *parent);
    void closeEvent(QCloseEvent *event) override;

    Navigator &m_navigator;
    Controls m_controls;
};

class Form2Page final : public ReferencePage
{
    Q_OBJECT

public:
    explicit Form2Page(Navigator &navigator, QWidget *parent = nullptr);

    void Command1_Click() override;
    void Command2_Click() override;
};

class Form3Page final : public ReferencePage
{
    Q_OBJECT

public:
    explicit Form3Page(Navigator &navigator, QWidget *parent = nullptr);

    void Command1_Click() override;
    void Command2_Click() override;
};

} // namespace korvane::ui
