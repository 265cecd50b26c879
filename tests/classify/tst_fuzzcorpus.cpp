// The fuzzer's checks on every input of its starting corpus, so that the
// hostile inputs it starts from hold in every build, sanitized ones included;
// and on texts of 100 000 characters, a hundred times longer than the fuzzer
// makes.
#include "calculatecheck.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestFuzzCorpus : public QObject
{
    Q_OBJECT

private slots:
    void seedHolds_data();
    void seedHolds();
    void longTextHolds_data();
    void longTextHolds();
};

void TestFuzzCorpus::seedHolds_data()
{
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(KORVANE_FUZZ_CORPUS));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    QVERIFY2(names.size() >= 10, qPrintable(corpus.path()));
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << corpus.filePath(name);
}

void TestFuzzCorpus::seedHolds()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString broken = korvane::fuzz::checkCalculateInput(
        reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
}

void TestFuzzCorpus::longTextHolds_data()
{
    // Each row fills one box with a text of 100 000 characters; the other two
    // hold small numbers.
    QTest::addColumn<unsigned>("locale"); // the fuzzer's locale number
    QTest::addColumn<int>("box");         // 0 Text1, 1 Text2, 2 Text4
    QTest::addColumn<QString>("text");
    constexpr qsizetype length = 100000;
    const auto filled = [](const QString &unit) {
        return unit.repeated(length / unit.size());
    };
    QTest::newRow("p, nines: overflow") << 0u << 0 << filled(u"9"_s);
    QTest::newRow("V, 25s: overflow") << 0u << 1 << filled(u"25"_s);
    QTest::newRow("pw, twos") << 0u << 2 << filled(u"2"_s);
    QTest::newRow("p, a tiny fraction") << 0u << 0 << u"0."_s + QString(length - 3, u'0') + u"1"_s;
    QTest::newRow("V, C-locale groups") << 0u << 1 << u"1"_s + u",000"_s.repeated(24999);
    QTest::newRow("p, Arabic-Indic digits") << 4u << 0 << filled(u"\u0661"_s);
    QTest::newRow("V, full-width digits, zh_CN") << 1u << 1 << filled(u"\uFF11"_s);
    QTest::newRow("pw, letters") << 0u << 2 << filled(u"x"_s);
}

void TestFuzzCorpus::longTextHolds()
{
    QFETCH(unsigned, locale);
    QFETCH(int, box);
    QFETCH(QString, text);
    korvane::CalculatorEntries entries;
    entries.text1 = u"1"_s;
    entries.text2 = u"1"_s;
    entries.text4 = u"1"_s;
    QString *boxes[] = {&entries.text1, &entries.text2, &entries.text4};
    *boxes[box] = text;
    const QString broken = korvane::fuzz::checkCalculateEntries(entries, locale);
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
}

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
