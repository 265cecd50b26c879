// Building a window from a table of controls.
#include "controltable.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdlib>

using namespace Qt::Literals::StringLiterals;
using namespace korvane::ui;

namespace {

using K = ControlKind;

// Deliberately out of tab order, with labels among the others.
constexpr ControlSpec kTable[] = {
    {K::Label, u"Label1(0)", u"标签", 0, 0, 3000, 600, 12, qRgb(255, 0, 0), 0},
    {K::TextBox, u"Text1", {}, 150, 150, 1500, 450, 12, kSystemColour, 3},
    {K::PushButton, u"Command1", u"计算", 1500, 600, 1500, 450, 10.5, kSystemColour, 1},
    {K::CheckBox, u"Check1", u"是", 0, 1200, 1500, 450, 12, kSystemColour, 2},
    {K::Label, u"Label1(1)", u"下面", 0, 1800, 1500, 450, 12, kSystemColour, 5},
    {K::OptionButton, u"Option1", {}, 0, 1800, 600, 450, 12, kSystemColour, 4},
};

} // namespace

class TestControlTable : public QObject
{
    Q_OBJECT

private slots:
    void builds();
    void checkBoxTogglesOffAndOn();
    void wrongLookUpEndsTheProgram_data();
    void wrongLookUpEndsTheProgram();
    void captionName_data();
    void captionName();
};

void TestControlTable::builds()
{
    QWidget window;
    const Controls controls = buildControls(window, kTable);

    // Labels lie beneath everything else: they come first among the children.
    const QList<QWidget *> children = window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(children.size(), 6);
    QVERIFY(qobject_cast<QLabel *>(children[0]) && qobject_cast<QLabel *>(children[1]));

    // Focus goes by tab place, not by table order.
    QStringList order;
    for (QWidget *w : controls.tabOrder())
        order << w->objectName();
    QCOMPARE(order, (QStringList{u"Command1"_s, u"Check1"_s, u"Text1"_s, u"Option1"_s}));
    QCOMPARE(controls.get<QWidget>(u"Command1")->nextInFocusChain(),
             controls.get<QWidget>(u"Check1"));

    QCOMPARE(controls.get<QLineEdit>(u"Text1")->geometry(), QRect(10, 10, 100, 30));
    QCOMPARE(controls.get<QLineEdit>(u"Text1")->maxLength(), std::numeric_limits<int>::max());
    const auto *button = controls.get<QPushButton>(u"Command1");
    QVERIFY(!button->isDefault() && !button->autoDefault());
    QCOMPARE(controls.get<QLabel>(u"Label1(0)")->palette().color(QPalette::WindowText),
             QColor(255, 0, 0));
    QCOMPARE(controls.get<QLabel>(u"Label1(0)")->textFormat(), Qt::PlainText);
    QVERIFY(controls.get<QRadioButton>(u"Option1")->text().isEmpty());
}

void TestControlTable::checkBoxTogglesOffAndOn()
{
    QWidget window;
    const Controls controls = buildControls(window, kTable);
    auto *box = controls.get<QCheckBox>(u"Check1");
    window.show();

    QCOMPARE(box->checkState(), Qt::Unchecked);
    box->click();
    QCOMPARE(box->checkState(), Qt::Checked);
    box->click();
    QCOMPARE(box->checkState(), Qt::Unchecked);
    // Greyed is for the program to set; a click never lands on it.
    box->setCheckState(Qt::PartiallyChecked);
    box->click();
    QCOMPARE(box->checkState(), Qt::Unchecked);
    box->click();
    QCOMPARE(box->checkState(), Qt::Checked);
    box->click();
    QCOMPARE(box->checkState(), Qt::Unchecked);
}

void TestControlTable::wrongLookUpEndsTheProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("asButton");
    QTest::newRow("misspelt name") << u"Txet1"_s << false;
    QTest::newRow("wrong kind") << u"Text1"_s << true;
}

// In every build type, Release included: the lookup runs in a child process
// of this test, which must end at once with the control's name in its output.
void TestControlTable::wrongLookUpEndsTheProgram()
{
    QFETCH(QString, name);
    QFETCH(bool, asButton);
    if (qEnvironmentVariableIsSet("KORVANE_LOOK_UP_IN_CHILD")) {
        QWidget window;
        const Controls controls = buildControls(window, kTable);
        if (asButton)
            controls.get<QPushButton>(name);
        else
            controls.get<QLineEdit>(name);
        std::exit(0); // the lookup came back: the parent fails on it
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"KORVANE_LOOK_UP_IN_CHILD"_s, u"1"_s);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {u"wrongLookUpEndsTheProgram:"_s + QString::fromUtf8(QTest::currentDataTag())});
    QVERIFY(child.waitForFinished(60000));
    const QString output = QString::fromUtf8(child.readAll());
    QVERIFY2(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0,
             qPrintable(output));
    QVERIFY2(output.contains(u"\"%1\""_s.arg(name)), qPrintable(output));
}

void TestControlTable::captionName_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("name");
    QTest::newRow("spaces between ideographs") << u"容   积    V"_s << u"容积 V"_s;
    QTest::newRow("spaces before a symbol") << u"设计压力   p"_s << u"设计压力 p"_s;
    QTest::newRow("no spaces") << u"结果：本设备属于"_s << u"结果：本设备属于"_s;
    QTest::newRow("ASCII words keep one") << u" a   b "_s << u"a b"_s;
}

void TestControlTable::captionName()
{
    QFETCH(QString, label);
    QFETCH(QString, name);
    QCOMPARE(korvane::ui::captionName(label), name);
}

QTEST_MAIN(TestControlTable)
#include "tst_controltable.moc"
