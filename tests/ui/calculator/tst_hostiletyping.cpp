// What a careless or hostile user puts into the calculator's boxes: typed,
// pasted or inserted, then "计算". Each entry gives a result or the error
// box, the window goes on working, and no box loses what it holds.
#include "fakenavigator.h"
#include "modalcatcher.h"

#include "calculatorwindow.h"
#include "fonts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using korvane::test::FakeNavigator;
using korvane::test::runCatchingMessageBox;
using korvane::ui::CalculatorWindow;

namespace {

enum class Entry
{
    Typed,    // key by key, as a keyboard sends it
    Pasted,   // Ctrl+V from the clipboard
    Inserted, // as an input method commits it, control characters included
};

enum class Outcome
{
    Result,
    NotANumber,
    Overflow,
};

const QStringList kResultTexts = {u"类外"_s, u"Ⅰ 类"_s, u"Ⅱ 类"_s, u"Ⅲ 类"_s};

// The valid entries the other boxes hold meanwhile.
const QHash<QString, QString> kValid = {
    {u"Text1"_s, u"1"_s}, {u"Text2"_s, u"100"_s}, {u"Text4"_s, u"1"_s}};

} // namespace

Q_DECLARE_METATYPE(Entry)
Q_DECLARE_METATYPE(Outcome)

class TestHostileTyping : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyEntryAnswered_data();
    void everyEntryAnswered();
    void hundredThousandCharactersKept();

private:
    QLineEdit *box(const QString &name) const
    {
        return korvane::ui::findControl<QLineEdit>(*m_window, name);
    }
    void enter(const QString &name, const QString &text, Entry how);
    void calculate() const;

    FakeNavigator m_navigator;
    std::unique_ptr<CalculatorWindow> m_window;
};

void TestHostileTyping::initTestCase()
{
    korvane::ui::registerFontSubstitutes();
    // The expectations below are those of the C locale that the tests run in.
    QCOMPARE(QLocale::system().decimalPoint(), u"."_s);
    QCOMPARE(QLocale::system().groupSeparator(), u","_s);
    QCOMPARE(QLocale::system().zeroDigit(), u"0"_s);
}

void TestHostileTyping::init()
{
    m_navigator.calls.clear();
    m_window = std::make_unique<CalculatorWindow>(m_navigator);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestHostileTyping::cleanup()
{
    m_window.reset();
}

void TestHostileTyping::enter(const QString &name, const QString &text, Entry how)
{
    QLineEdit *edit = box(name);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QString());
    switch (how) {
    case Entry::Typed:
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.unicode() < 0x80) {
                QTest::keyClick(edit, c.toLatin1());
                continue;
            }
            // Beyond ASCII a key sends its character as text, a pair of
            // surrogates as one.
            const qsizetype n = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, text.mid(i, n),
                                Qt::NoModifier);
            i += n - 1;
        }
        break;
    case Entry::Pasted:
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        break;
    case Entry::Inserted:
        edit->insert(text);
        break;
    }
}

void TestHostileTyping::calculate() const
{
    auto *button = m_window->findChild<QPushButton *>(u"Command1"_s);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestHostileTyping::everyEntryAnswered_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Entry>("how");
    QTest::addColumn<Outcome>("outcome");

    const struct
    {
        const char *what;
        QString text;
        Entry how;
        Outcome outcome;
    } cases[] = {
        {"100 000 digits", QString(99999, u'0') + u'5', Entry::Pasted, Outcome::Result},
        {"100 000 nines", QString(100000, u'9'), Entry::Pasted, Outcome::Overflow},
        {"100 000 ideographs", QString(100000, u'数'), Entry::Pasted, Outcome::NotANumber},
        {"100 000 blanks", QString(100000, u' '), Entry::Pasted, Outcome::NotANumber},
        {"blanks only", u"    "_s, Entry::Typed, Outcome::NotANumber},
        {"ideographic blanks only", u"\u3000\u3000"_s, Entry::Typed, Outcome::NotANumber},
        {"tab and line feed", u"\t\n"_s, Entry::Inserted, Outcome::NotANumber},
        {"control character inside", u"1\u00072"_s, Entry::Inserted, Outcome::NotANumber},
        {"NUL after a number", u"12\u0000"_s, Entry::Inserted, Outcome::NotANumber},
        {"escape and delete", u"\u001B\u007F"_s, Entry::Pasted, Outcome::NotANumber},
        {"line feed inside", u"1\n2"_s, Entry::Pasted, Outcome::NotANumber},
        {"1e999999", u"1e999999"_s, Entry::Typed, Outcome::Overflow},
        {"-1e999999", u"-1e999999"_s, Entry::Typed, Outcome::Overflow},
        {"1e-999999", u"1e-999999"_s, Entry::Typed, Outcome::Result},
        {"-0", u"-0"_s, Entry::Typed, Outcome::Result},
        {"0x10", u"0x10"_s, Entry::Typed, Outcome::NotANumber},
        {"1,2,3", u"1,2,3"_s, Entry::Typed, Outcome::NotANumber},
        {"1,234", u"1,234"_s, Entry::Typed, Outcome::Result},
        {"Arabic-Indic digits", u"١٢٣"_s, Entry::Typed, Outcome::NotANumber},
        {"Devanagari digits", u"१२३"_s, Entry::Typed, Outcome::NotANumber},
        {"Thai digits", u"๑๒๓"_s, Entry::Typed, Outcome::NotANumber},
        {"full-width digits", u"１２３"_s, Entry::Typed, Outcome::Result},
        {"Roman numeral", u"Ⅻ"_s, Entry::Typed, Outcome::NotANumber},
        {"lone minus", u"-"_s, Entry::Typed, Outcome::NotANumber},
        {"lone plus", u"+"_s, Entry::Typed, Outcome::NotANumber},
        {"lone point", u"."_s, Entry::Typed, Outcome::NotANumber},
        {"trailing letter", u"12a"_s, Entry::Typed, Outcome::NotANumber},
        {"trailing unit", u"1.6 MPa"_s, Entry::Typed, Outcome::NotANumber},
        {"emoji", u"1😀"_s, Entry::Typed, Outcome::NotANumber},
        {"right-to-left mark", u"\u200F12"_s, Entry::Inserted, Outcome::NotANumber},
        {"right-to-left override", u"1\u202E2"_s, Entry::Inserted, Outcome::NotANumber},
        {"lone surrogate", QString(QChar(0xD800)) + u'1', Entry::Inserted, Outcome::NotANumber},
        {"inf", u"inf"_s, Entry::Typed, Outcome::NotANumber},
        {"nan", u"nan"_s, Entry::Typed, Outcome::NotANumber},
    };
    for (const QString &name : {u"Text1"_s, u"Text2"_s, u"Text4"_s}) {
        for (const auto &c : cases)
            QTest::addRow("%s: %s", qPrintable(name), c.what)
                << name << c.text << c.how << c.outcome;
    }
}

void TestHostileTyping::everyEntryAnswered()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(Entry, how);
    QFETCH(Outcome, outcome);

    for (auto it = kValid.cbegin(); it != kValid.cend(); ++it)
        enter(it.key(), it.key() == name ? text : it.value(),
              it.key() == name ? how : Entry::Typed);
    QCOMPARE(box(name)->text(), text);

    const auto caught = runCatchingMessageBox([this] { calculate(); });

    const QString result = box(u"Text3"_s)->text();
    switch (outcome) {
    case Outcome::Result:
        QVERIFY2(!caught.shown, qPrintable(caught.text));
        QVERIFY2(kResultTexts.contains(result), qPrintable(result));
        break;
    case Outcome::NotANumber:
    case Outcome::Overflow:
        QVERIFY(caught.shown);
        QVERIFY2(caught.text.startsWith(outcome == Outcome::Overflow ? u"溢出"_s : u"类型不匹配"_s),
                 qPrintable(caught.text));
        QCOMPARE(result, u" "_s);
        break;
    }

    // Nothing is lost and the program goes on.
    for (auto it = kValid.cbegin(); it != kValid.cend(); ++it)
        QCOMPARE(box(it.key())->text(), it.key() == name ? text : it.value());
    QVERIFY(m_navigator.calls.isEmpty());
    QVERIFY(m_window->isVisible());

    enter(name, kValid.value(name), Entry::Typed);
    calculate();
    QCOMPARE(box(u"Text3"_s)->text(), u"Ⅱ 类"_s);
}

// QLineEdit's own default would cut a paste at 32 767 characters.
void TestHostileTyping::hundredThousandCharactersKept()
{
    QString text(100000, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(u'0' + char16_t(i % 10));
    for (const QString &name : {u"Text1"_s, u"Text2"_s, u"Text3"_s, u"Text4"_s}) {
        enter(name, text, Entry::Pasted);
        QCOMPARE(box(name)->text().size(), 100000);
        QCOMPARE(box(name)->text(), text);
    }
}

QTEST_MAIN(TestHostileTyping)
#include "tst_hostiletyping.moc"
