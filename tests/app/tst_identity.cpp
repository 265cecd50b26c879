#include "identity.h"
#include "startup.h"
#include "windowmanager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>
#include <QWindow>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using korvane::ui::WindowName;

namespace {

QImage committedPicture(int size)
{
    return QImage(QStringLiteral(KORVANE_SOURCE_DIR) +
                  u"/resources/icon/korvane-%1.png"_s.arg(size))
        .convertToFormat(QImage::Format_ARGB32);
}

QImage iconImage(const QIcon &icon, int size)
{
    return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestIdentity : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void names();
    void iconHasEachDrawnSize_data();
    void iconHasEachDrawnSize();
    void everyWindowShowsTheIcon_data();
    void everyWindowShowsTheIcon();
    void qtTextsAreChinese();
};

void TestIdentity::initTestCase()
{
    korvane::configureApplication();
}

void TestIdentity::names()
{
    QCOMPARE(QCoreApplication::applicationName(), u"Korvane"_s);
    QVERIFY(!QCoreApplication::organizationName().isEmpty());
    // The version the build declares, which the Windows version record and
    // the package carry too, and the name the desktop entry is found by.
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral(KORVANE_VERSION_STRING));
    QCOMPARE(QGuiApplication::desktopFileName(), u"com.example.Korvane"_s);
}

void TestIdentity::iconHasEachDrawnSize_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16") << 16;
    QTest::newRow("32") << 32;
}

void TestIdentity::iconHasEachDrawnSize()
{
    // Each size is the picture drawn for it, not the other one scaled.
    QFETCH(int, size);
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    const QImage expected = committedPicture(size);
    QVERIFY(!expected.isNull());
    QCOMPARE(iconImage(icon, size), expected);
}

void TestIdentity::everyWindowShowsTheIcon_data()
{
    QTest::addColumn<WindowName>("name");
    QTest::newRow("form1") << WindowName::form1;
    QTest::newRow("Form2") << WindowName::Form2;
    QTest::newRow("Form3") << WindowName::Form3;
}

void TestIdentity::everyWindowShowsTheIcon()
{
    QFETCH(WindowName, name);
    korvane::WindowManager windows;
    QWidget *window = windows.window(name);
    if (!window)
        QSKIP("this window is not built yet");
    // No window overrides the application's icon...
    QVERIFY(!window->testAttribute(Qt::WA_SetWindowIcon));
    // ...so the platform window that the desktop sees carries it.
    window->winId();
    QWindow *handle = window->windowHandle();
    QVERIFY(handle);
    for (int size : {16, 32})
        QCOMPARE(iconImage(handle->icon(), size), committedPicture(size));
}

// After start-up, under an English or C locale too (this test runs under
// C.UTF-8), Qt's own texts read as Chinese: the text boxes' menu and the
// message box's button (Qt's catalogue, from qt6-translations-l10n).
void TestIdentity::qtTextsAreChinese()
{
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QVERIFY2(menu->actions().constFirst()->text().startsWith(u"撤"_s), // 撤销 or 撤消
             qPrintable(menu->actions().constFirst()->text()));
    QMessageBox box(QMessageBox::Warning, u"Korvane"_s, u"-"_s, QMessageBox::Ok);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), u"确定"_s);
}

QTEST_MAIN(TestIdentity)
#include "tst_identity.moc"
