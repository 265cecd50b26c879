// Compiles resources/korvane.rc with mingw-w64's windres, as a Windows build
// would, and reads the compiled resources back: the version record and the
// icon.
#include "icoreader.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr quint16 rtIcon = 3;
constexpr quint16 rtGroupIcon = 14;
constexpr quint16 rtVersion = 16;
constexpr quint16 chinesePrc = 0x0804;
constexpr quint16 unicodeCodePage = 1200;
constexpr quint16 gbkCodePage = 936;

quint16 u16(const QByteArray &data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

quint32 u32(const QByteArray &data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}

qsizetype alignedTo4(qsizetype offset)
{
    return (offset + 3) & ~qsizetype(3);
}

// A resource type or name: a number, or a string.
struct ResourceId
{
    quint16 number = 0;
    QString name;
    bool isNumber = true;
};

struct Resource
{
    ResourceId type;
    ResourceId name;
    quint16 language = 0;
    QByteArray data;
};

// Reads a NUL-terminated UTF-16 string; returns the offset after the NUL.
qsizetype readString(const QByteArray &data, qsizetype at, qsizetype end, QString *out)
{
    QString s;
    while (at + 2 <= end) {
        const quint16 c = u16(data, at);
        at += 2;
        if (c == 0) {
            *out = s;
            return at;
        }
        s.append(QChar(c));
    }
    return -1;
}

qsizetype readId(const QByteArray &data, qsizetype at, qsizetype end, ResourceId *id)
{
    if (at + 2 > end)
        return -1;
    if (u16(data, at) == 0xffff) {
        if (at + 4 > end)
            return -1;
        *id = {u16(data, at + 2), {}, true};
        return at + 4;
    }
    id->isNumber = false;
    return readString(data, at, end, &id->name);
}

// The .res format: a header per resource (sizes, type, name, language),
// each header and each block of data aligned to 4 bytes.
std::optional<std::vector<Resource>> readRes(const QByteArray &res, QString *error)
{
    auto fail = [error](const QString &why) -> std::optional<std::vector<Resource>> {
        *error = why;
        return std::nullopt;
    };
    std::vector<Resource> resources;
    qsizetype at = 0;
    while (at < res.size()) {
        if (at + 8 > res.size())
            return fail(u"truncated header at %1"_s.arg(at));
        const quint32 dataSize = u32(res, at);
        const quint32 headerSize = u32(res, at + 4);
        const qsizetype headerEnd = at + qsizetype(headerSize);
        if (headerSize < 8 || headerEnd + qsizetype(dataSize) > res.size())
            return fail(u"resource at %1 runs past the end"_s.arg(at));
        Resource r;
        qsizetype p = readId(res, at + 8, headerEnd, &r.type);
        if (p >= 0)
            p = readId(res, p, headerEnd, &r.name);
        if (p < 0)
            return fail(u"bad type or name at %1"_s.arg(at));
        p = alignedTo4(p);
        if (p + 16 > headerEnd)
            return fail(u"short header at %1"_s.arg(at));
        // DataVersion (4), MemoryFlags (2), LanguageId (2), Version, Characteristics
        r.language = u16(res, p + 6);
        r.data = res.mid(headerEnd, dataSize);
        // The file starts with an empty entry that marks it as 32-bit.
        if (!(dataSize == 0 && r.type.isNumber && r.type.number == 0))
            resources.push_back(std::move(r));
        at = alignedTo4(headerEnd + qsizetype(dataSize));
    }
    return resources;
}

// A node of a VERSIONINFO tree: wLength, wValueLength, wType, key, value,
// children, each part aligned to 4 bytes from the start of the resource.
struct VersionNode
{
    QString key;
    int type = 0; // 0 binary, 1 text
    QByteArray value;
    QString text;
    std::vector<VersionNode> children;

    const VersionNode *child(QStringView k) const
    {
        for (const VersionNode &c : children) {
            if (c.key == k)
                return &c;
        }
        return nullptr;
    }
};

qsizetype readNode(const QByteArray &data, qsizetype at, qsizetype limit, VersionNode *node)
{
    if (at + 6 > limit)
        return -1;
    const quint16 length = u16(data, at);
    const quint16 valueLength = u16(data, at + 2);
    node->type = u16(data, at + 4);
    const qsizetype end = at + length;
    if (length < 6 || end > limit)
        return -1;
    qsizetype p = readString(data, at + 6, end, &node->key);
    if (p < 0)
        return -1;
    p = alignedTo4(p);
    if (node->type == 1) {
        // Text: wValueLength counts characters. A string's value runs to its
        // NUL; a node that has children has no value of its own.
        if (valueLength > 0 && p < end) {
            const qsizetype valueEnd = readString(data, p, end, &node->text);
            if (valueEnd < 0)
                return -1;
            p = valueEnd;
        }
    } else {
        if (p + valueLength > end)
            return -1;
        node->value = data.mid(p, valueLength);
        p += valueLength;
    }
    p = alignedTo4(p);
    while (p < end) {
        VersionNode child;
        const qsizetype next = readNode(data, p, end, &child);
        if (next < 0)
            return -1;
        node->children.push_back(std::move(child));
        p = alignedTo4(next);
    }
    return end;
}

bool hasChinese(const QString &s)
{
    return std::any_of(s.cbegin(), s.cend(),
                       [](QChar c) { return c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff; });
}

} // namespace

class TestVersionResource : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void versionRecordIsChinesePrc();
    void fixedVersions_data();
    void fixedVersions();
    void versionStrings_data();
    void versionStrings();
    void namesAreChinese_data();
    void namesAreChinese();
    void iconIsTheIcoFile();

private:
    const Resource *find(quint16 type) const;

    std::vector<Resource> m_resources;
    VersionNode m_version;
};

const Resource *TestVersionResource::find(quint16 type) const
{
    for (const Resource &r : m_resources) {
        if (r.type.isNumber && r.type.number == type)
            return &r;
    }
    return nullptr;
}

void TestVersionResource::initTestCase()
{
    const QString windres = QStringLiteral(KORVANE_WINDRES);
    QVERIFY2(!windres.isEmpty(), "x86_64-w64-mingw32-windres was not found when CMake ran; "
                                 "`make deps` installs binutils-mingw-w64-x86-64");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString resources = QStringLiteral(KORVANE_SOURCE_DIR "/resources");
    const QString out = dir.filePath(u"korvane.res"_s);

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // windres runs the C preprocessor over the script; the host compiler
    // serves, as no mingw-w64 compiler is installed.
    process.start(windres, {u"--preprocessor="_s + QStringLiteral(KORVANE_PREPROCESSOR),
                            u"--preprocessor-arg=-E"_s, u"--preprocessor-arg=-xc"_s,
                            u"--preprocessor-arg=-DRC_INVOKED"_s, u"-I"_s, resources, u"-O"_s,
                            u"res"_s, u"-i"_s, resources + u"/korvane.rc"_s, u"-o"_s, out});
    QVERIFY2(process.waitForFinished(60000), "windres did not finish");
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             process.readAll().constData());

    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString error;
    auto resourcesRead = readRes(file.readAll(), &error);
    QVERIFY2(resourcesRead, qPrintable(error));
    m_resources = std::move(*resourcesRead);

    const Resource *version = find(rtVersion);
    QVERIFY2(version, "no VERSIONINFO resource");
    QVERIFY2(readNode(version->data, 0, version->data.size(), &m_version) > 0,
             "the VERSIONINFO resource cannot be read");
    QCOMPARE(m_version.key, u"VS_VERSION_INFO"_s);
    QCOMPARE(m_version.value.size(), 52); // VS_FIXEDFILEINFO
    QCOMPARE(u32(m_version.value, 0), 0xfeef04bdu);
}

void TestVersionResource::versionRecordIsChinesePrc()
{
    QCOMPARE(find(rtVersion)->language, chinesePrc);

    const VersionNode *vars = m_version.child(u"VarFileInfo");
    QVERIFY(vars);
    const VersionNode *translation = vars->child(u"Translation");
    QVERIFY(translation);
    QCOMPARE(translation->value.size(), 4);
    QCOMPARE(u16(translation->value, 0), chinesePrc);
    // Unicode, or the PRC's own code page (GBK).
    const quint16 codePage = u16(translation->value, 2);
    QVERIFY2(codePage == unicodeCodePage || codePage == gbkCodePage,
             qPrintable(QString::number(codePage)));

    // The string table is named after the same language and code page.
    const VersionNode *strings = m_version.child(u"StringFileInfo");
    QVERIFY(strings);
    QCOMPARE(strings->children.size(), 1u);
    QCOMPARE(strings->children.front().key.toUpper(),
             u"%1%2"_s.arg(uint(chinesePrc), 4, 16, QChar(u'0'))
                 .arg(uint(codePage), 4, 16, QChar(u'0'))
                 .toUpper());
}

void TestVersionResource::fixedVersions_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<quint32>("expected");
    // The version's whole number is the major, its two decimals the minor;
    // the low word pair is 0.0.
    QTest::newRow("dwFileVersionMS") << 8 << 0x00010000u;
    QTest::newRow("dwFileVersionLS") << 12 << 0u;
    QTest::newRow("dwProductVersionMS") << 16 << 0x00010000u;
    QTest::newRow("dwProductVersionLS") << 20 << 0u;
    QTest::newRow("dwFileOS: Windows NT, 32-bit API") << 32 << 0x40004u;
    QTest::newRow("dwFileType: application") << 36 << 1u;
}

void TestVersionResource::fixedVersions()
{
    QFETCH(int, offset);
    QFETCH(quint32, expected);
    QCOMPARE(u32(m_version.value, offset), expected);
}

void TestVersionResource::versionStrings_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("FileVersion") << u"FileVersion"_s;
    QTest::newRow("ProductVersion") << u"ProductVersion"_s;
}

void TestVersionResource::versionStrings()
{
    QFETCH(QString, key);
    const VersionNode *strings = m_version.child(u"StringFileInfo");
    QVERIFY(strings && !strings->children.empty());
    const VersionNode *value = strings->children.front().child(key);
    QVERIFY2(value, qPrintable(key + u" is missing"_s));
    // The version that the program reports to Qt and its package carry.
    QCOMPARE(value->text, QStringLiteral(KORVANE_VERSION_STRING));
}

void TestVersionResource::namesAreChinese_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("ProductName") << u"ProductName"_s;
    QTest::newRow("FileDescription") << u"FileDescription"_s;
}

void TestVersionResource::namesAreChinese()
{
    // A script saved in UTF-8 but read in another code page still compiles,
    // into mojibake; this catches it.
    QFETCH(QString, key);
    const VersionNode *strings = m_version.child(u"StringFileInfo");
    QVERIFY(strings && !strings->children.empty());
    const VersionNode *value = strings->children.front().child(key);
    QVERIFY2(value, qPrintable(key + u" is missing"_s));
    QVERIFY2(hasChinese(value->text), qPrintable(value->text));
    QVERIFY2(!value->text.contains(QChar::ReplacementCharacter), qPrintable(value->text));
    QVERIFY2(std::none_of(value->text.cbegin(), value->text.cend(),
                          [](QChar c) { return c.unicode() >= 0x80 && c.unicode() < 0x100; }),
             "Latin-1 characters: the script was read in the wrong code page");
}

void TestVersionResource::iconIsTheIcoFile()
{
    QFile file(QStringLiteral(KORVANE_SOURCE_DIR "/resources/icon/korvane.ico"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray icoBytes = file.readAll();
    QString error;
    const auto ico = korvane::test::readIco(icoBytes, &error);
    QVERIFY2(ico, qPrintable(error));

    // RT_GROUP_ICON: the icon directory, with resource ids in place of
    // file offsets (GRPICONDIRENTRY, 14 bytes each).
    const Resource *group = find(rtGroupIcon);
    QVERIFY(group);
    const QByteArray &dir = group->data;
    QVERIFY(dir.size() >= 6);
    QCOMPARE(u16(dir, 2), quint16(1));
    const int count = u16(dir, 4);
    QCOMPARE(std::size_t(count), ico->images.size());
    QCOMPARE(dir.size(), 6 + 14 * count);

    for (int i = 0; i < count; ++i) {
        const qsizetype e = 6 + 14 * i;
        const korvane::test::IcoImage &img = ico->images[std::size_t(i)];
        QCOMPARE(int(quint8(dir[e])), img.width);
        QCOMPARE(int(quint8(dir[e + 1])), img.height);
        QCOMPARE(int(quint8(dir[e + 2])), img.colourCount);
        QCOMPARE(int(u16(dir, e + 6)), img.bitCount);
        const quint16 id = u16(dir, e + 12);
        const auto icon = std::find_if(m_resources.cbegin(), m_resources.cend(), [id](auto &r) {
            return r.type.isNumber && r.type.number == rtIcon && r.name.isNumber &&
                   r.name.number == id;
        });
        QVERIFY2(icon != m_resources.cend(), qPrintable(u"no RT_ICON %1"_s.arg(id)));
        QCOMPARE(icon->data, icoBytes.mid(img.offset, img.bytesInRes));
    }
}

QTEST_GUILESS_MAIN(TestVersionResource)
#include "tst_versionresource.moc"
