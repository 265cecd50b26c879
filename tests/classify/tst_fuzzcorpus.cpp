// The fuzzer's checks on every input of its starting corpus, so that the
// hostile inputs it starts from hold in every build, sanitized ones included.
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

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
