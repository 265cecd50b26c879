// The two reference pages: their text in the face really used, their edges,
// and the navigation each button asks for.
#include "fakenavigator.h"

#include "fonts.h"
#include "referencepages.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using korvane::test::FakeNavigator;
using korvane::ui::Form2Page;
using korvane::ui::Form3Page;

using PageFactory = std::function<std::unique_ptr<QWidget>(korvane::ui::Navigator &)>;
Q_DECLARE_METATYPE(PageFactory)

namespace {

const PageFactory form2 = [](korvane::ui::Navigator &n) {
    return std::make_unique<Form2Page>(n);
};
const PageFactory form3 = [](korvane::ui::Navigator &n) {
    return std::make_unique<Form3Page>(n);
};

} // namespace

class TestReferencePages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { korvane::ui::registerFontSubstitutes(); }
    void pages_data();
    void labelsFitTheirBoxes();
    void labelsFitTheirBoxes_data() { pages_data(); }
    void widestLineReachesTheEdge();
    void wideningMovesNothing();
    void wideningMovesNothing_data() { pages_data(); }
    void buttonsNavigate_data();
    void buttonsNavigate();
    void buttonFonts();
};

void TestReferencePages::pages_data()
{
    QTest::addColumn<PageFactory>("make");
    QTest::addColumn<QSize>("client");
    QTest::newRow("Form2") << form2 << QSize(476, 653);
    QTest::newRow("Form3") << form3 << QSize(476, 500);
}

void TestReferencePages::labelsFitTheirBoxes()
{
    QFETCH(PageFactory, make);
    QFETCH(QSize, client);
    FakeNavigator navigator;
    const auto page = make(navigator);
    QCOMPARE(page->size(), client);
    QCOMPARE(page->windowTitle(), u"TSG R0004-2009  第1.4条 和 第1.5条"_s);

    const QList<QLabel *> labels = page->findChildren<QLabel *>();
    QVERIFY(labels.size() >= 15);
    for (const QLabel *label : labels) {
        const QFontMetricsF metrics(label->font());
        const QString what = label->objectName() + u" \""_s + label->text() + u'"';
        QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(what + u" is wider than its box"_s));
        QVERIFY2(metrics.height() <= label->height(), qPrintable(what + u" is too tall"_s));
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        // Only the boxes, never the start of a line, lie past the edge.
        QVERIFY2(label->x() < client.width() && label->y() + label->height() <= client.height(),
                 qPrintable(what));
    }
    for (const QPushButton *button : page->findChildren<QPushButton *>())
        QVERIFY(QRect(QPoint(), client).contains(button->geometry()));
}

void TestReferencePages::widestLineReachesTheEdge()
{
    FakeNavigator navigator;
    const Form2Page page(navigator);
    const auto *widest = page.findChild<QLabel *>(u"Label1(14)"_s);
    QVERIFY(widest);
    const qreal end = widest->x() + QFontMetricsF(widest->font()).horizontalAdvance(widest->text());
    QVERIFY2(end >= page.width(), qPrintable(u"ends at %1"_s.arg(end)));
    for (const QLabel *label : page.findChildren<QLabel *>()) {
        const qreal e = label->x() + QFontMetricsF(label->font()).horizontalAdvance(label->text());
        QVERIFY2(e <= end, qPrintable(label->objectName()));
    }
}

void TestReferencePages::wideningMovesNothing()
{
    QFETCH(PageFactory, make);
    FakeNavigator navigator;
    const auto page = make(navigator);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QHash<QString, QRect> before;
    for (const QWidget *w : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        before.insert(w->objectName(), w->geometry());
    page->resize(700, page->height());
    QTRY_COMPARE(page->width(), 700);
    for (const QWidget *w : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QCOMPARE(w->geometry(), before.value(w->objectName()));
}

void TestReferencePages::buttonsNavigate_data()
{
    QTest::addColumn<PageFactory>("make");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("返回") << form2 << u"Command1"_s << u"返回"_s
                          << QStringList{u"hide Form2"_s, u"show form1"_s, u"hide Form3"_s};
    QTest::newRow("下一页") << form2 << u"Command2"_s << u"下一页"_s
                            << QStringList{u"hide Form2"_s, u"show Form3"_s, u"hide form1"_s};
    QTest::newRow("返回上一页") << form3 << u"Command1"_s << u"返回上一页"_s
                                << QStringList{u"hide form1"_s, u"show Form2"_s, u"hide Form3"_s};
    QTest::newRow("返回首页") << form3 << u"Command2"_s << u"返回首页"_s
                              << QStringList{u"hide Form2"_s, u"show form1"_s, u"hide Form3"_s};
}

void TestReferencePages::buttonsNavigate()
{
    QFETCH(PageFactory, make);
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(QStringList, steps);

    FakeNavigator navigator;
    const auto page = make(navigator);
    page->show();
    auto *b = page->findChild<QPushButton *>(button);
    QVERIFY(b);
    QCOMPARE(b->text(), caption);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(navigator.calls, steps);
}

void TestReferencePages::buttonFonts()
{
    // The first page's buttons are set in the Song face; the second page's
    // keep the window's standard font.
    FakeNavigator navigator;
    const Form2Page first(navigator);
    const Form3Page second(navigator);
    const QFont song = korvane::ui::songFont(10.5);
    for (const char *name : {"Command1", "Command2"}) {
        QCOMPARE(first.findChild<QPushButton *>(name)->font(), song);
        QCOMPARE(second.findChild<QPushButton *>(name)->font(), second.font());
        QVERIFY(!second.findChild<QPushButton *>(name)->testAttribute(Qt::WA_SetFont));
    }
}

QTEST_MAIN(TestReferencePages)
#include "tst_referencepages.moc"
