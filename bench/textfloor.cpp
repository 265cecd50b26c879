// The same-text floor of the start-up benchmark: one plain window of the
// calculator's size that paints every text the calculator shows at start-up,
// read from the calculator's own control table, in the same faces, sizes,
// colours and places, and nothing else: no child widgets, no layouts, no
// icon, no accessibility, no translation. What korvane needs beyond this is
// the cost of its own work rather than of the glyphs it shows.
//
// Where a widget puts its text is approximated from the control's box: a
// label's text at its top left; a check box's caption after the style's
// indicator and spacing, centred vertically; a push button's caption centred;
// a text box's single space after its frame, centred vertically.
#include "calculatorcontrols.h"
#include "fonts.h"
#include "twips.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QWidget>

using namespace korvane::ui;
using namespace Qt::Literals::StringLiterals;

namespace {

class TextFloor : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        for (const ControlSpec &entry : kCalculatorControls)
            drawText(painter, entry);
    }

private:
    void drawText(QPainter &painter, const ControlSpec &entry) const
    {
        QRect box = twipsRect(entry.left, entry.top, entry.width, entry.height);
        QString text = entry.text.toString();
        int flags = Qt::AlignLeft | Qt::AlignVCenter;
        switch (entry.kind) {
        case ControlKind::Label:
            flags = Qt::AlignLeft | Qt::AlignTop;
            break;
        case ControlKind::TextBox:
            text = u" "_s; // what the calculator fills its boxes with
            box.adjust(kLineEditInset, 0, -kLineEditInset, 0);
            break;
        case ControlKind::CheckBox:
            box.setLeft(box.left() + style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                        style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing));
            break;
        case ControlKind::OptionButton:
            return; // no caption
        case ControlKind::PushButton:
            flags = Qt::AlignCenter;
            break;
        }
        painter.setFont(entry.points != kStandardFont ? songFont(entry.points) : font());
        painter.setPen(entry.colour != kSystemColour ? QColor::fromRgb(entry.colour)
                                                     : palette().color(textRole(entry.kind)));
        painter.drawText(box, flags, text);
    }

    // A line edit's frame and its text margin, about 4 pixels in the styles here.
    static constexpr int kLineEditInset = 4;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    registerFontSubstitutes();

    TextFloor window;
    window.resize(twipsSize(kCalculatorWidth, kCalculatorHeight));
    window.show();
    return app.exec();
}
