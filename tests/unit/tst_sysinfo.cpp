#include "AppInfo.h"
#include "FakePlatform.h"
#include "Fakes.h"
#include "shell/RuntimeError.h"
#include "shell/platform/Cp932.h"
#include "windows/SysInfo.h"

#ifndef Q_OS_WIN
#include "shell/platform/QtPlatform.h"
#endif

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <random>

namespace
{

// The registry locations and texts the launcher is expected to use, written out here rather
// than taken from the code under test.
const std::string ToolKey = R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)";
const std::string ToolValue = "PATH";
const std::string FolderKey = R"(SOFTWARE\Microsoft\Shared Tools Location)";
const std::string FolderValue = "MSINFO";
const QByteArray ToolFileSuffix = R"(\MSINFO32.EXE)";
const QString Unavailable = QString::fromUtf8("現時点ではｼｽﾃﾑ情報を使用できません");
const QString HexPrefix = QStringLiteral("&h");

constexpr std::uint32_t Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4, MultiSz = 7;
// Data rows: a location that is not a value.
enum Absent : int { MissingKey = -1, MissingValue = -2, RefusedKey = -3 };

// "C:\ﾃｽﾄ\日本語.exe" in code page 932 and in UTF-8.
const QByteArray
    JapanesePath932("\x43\x3A\x5C\xC3\xBD\xC4\x5C\x93\xFA\x96\x7B\x8C\xEA\x2E\x65\x78\x65");
const QString JapanesePath = QStringLiteral("C:\\ﾃｽﾄ\\日本語.exe");

QByteArray withNul(const QByteArray &text)
{
    return text + '\0';
}

void place(FakeRegistry &registry, const std::string &key, const std::string &name, int type,
           const QByteArray &bytes)
{
    switch (type) {
    case MissingKey:
        return;
    case MissingValue:
        registry.keys[key];
        return;
    case RefusedKey:
        registry.setValue(key, name, Sz, bytes.toStdString());
        registry.keys[key].refused = true;
        return;
    default:
        registry.setValue(key, name, std::uint32_t(type), bytes.toStdString());
    }
}

QString text(const std::string &utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

QStringList texts(const std::vector<std::string> &list)
{
    QStringList out;
    for (const std::string &s : list)
        out << text(s);
    return out;
}

// What must hold after any lookup: every key that was opened is closed, once, and no key was
// asked for more than read rights.
void checkRegistryUse(const FakeRegistry &registry)
{
    QCOMPARE(registry.closes, registry.opens);
    QVERIFY(!registry.anyKeyOpen());
    QCOMPARE(registry.misuses, 0);
    for (std::uint32_t mask : registry.accessMasks) {
        QVERIFY2((mask & ~platform::reg::ReadRights) == 0, "asks for more than read rights");
        QVERIFY2(mask & platform::reg::QueryValue, "cannot query values");
    }
    for (std::uint32_t count : registry.countsOnEntry)
        QCOMPARE(count, 1024u);
}

bool validUtf8(const std::string &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return !decoder.hasError();
}

#ifndef Q_OS_WIN
// A program that exits at once: a copy of true(1), which keeps running from its own copy in
// memory when the test folder is gone. Without execute rights, just a file.
void writeProgram(const QString &path, bool executable = true)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("true"));
    QVERIFY(!program.isEmpty());
    QVERIFY(QFile::copy(program, path));
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable) permissions |= QFile::ExeOwner;
    QVERIFY(QFile::setPermissions(path, permissions));
}
#endif

} // namespace

class tst_sysinfo : public QObject
{
    Q_OBJECT
private slots:
    // Faults: the NUL rule cutting a real character or keeping the terminator, wrong types
    // converted, a long value read past the buffer, keys left open on a failure.
    void getKeyValue_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("throws");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("keyVal"); // KeyVal holds "keep" on entry

        const QByteArray path = R"(C:\Program Files\Tool\tool.exe)";
        const QString keep = QStringLiteral("keep");
        const QString none;
        QTest::newRow("string with its NUL")
            << int(Sz) << withNul(path) << false << true << text(path.toStdString());
        QTest::newRow("string without a NUL")
            << int(Sz) << path << false << true << text(path.toStdString());
        QTest::newRow("only a NUL") << int(Sz) << QByteArray(1, '\0') << false << true << none;
        QTest::newRow("one of two NULs dropped")
            << int(Sz) << QByteArray("ab\0\0", 4) << false << true << QString::fromUtf8("ab\0", 3);
        QTest::newRow("NUL inside kept")
            << int(Sz) << QByteArray("a\0b", 3) << false << true << QString::fromUtf8("a\0b", 3);
        QTest::newRow("code page 932")
            << int(Sz) << withNul(JapanesePath932) << false << true << JapanesePath;
        QTest::newRow("1024 bytes")
            << int(Sz) << QByteArray(1024, 'x') << false << true << QString(1024, u'x');
        QTest::newRow("1024 bytes with the NUL")
            << int(Sz) << withNul(QByteArray(1023, 'x')) << false << true << QString(1023, u'x');
        QTest::newRow("1025 bytes") << int(Sz) << QByteArray(1025, 'x') << false << false << none;
        QTest::newRow("DWORD") << int(Dword) << QByteArray("\x10\0\0\0", 4) << false << true
                               << HexPrefix + "10";
        QTest::newRow("DWORD, every byte") << int(Dword) << QByteArray("\xEF\xBE\xAD\xDE", 4)
                                           << false << true << HexPrefix + "DEADBEEF";
        QTest::newRow("DWORD zero")
            << int(Dword) << QByteArray(4, '\0') << false << true << HexPrefix + "0";
        QTest::newRow("expandable string untouched")
            << int(ExpandSz) << withNul(path) << false << true << keep;
        QTest::newRow("binary untouched")
            << int(Binary) << QByteArray("\x01\x02", 2) << false << true << keep;
        QTest::newRow("multi-string untouched")
            << int(MultiSz) << QByteArray("a\0b\0\0", 5) << false << true << keep;
        QTest::newRow("missing value")
            << int(MissingValue) << QByteArray() << false << false << none;
        QTest::newRow("missing key") << int(MissingKey) << QByteArray() << false << false << none;
        QTest::newRow("refused key") << int(RefusedKey) << withNul(path) << false << false << none;
        QTest::newRow("empty string throws") << int(Sz) << QByteArray() << true << false << keep;
        QTest::newRow("empty binary throws too")
            << int(Binary) << QByteArray() << true << false << keep;
    }
    void getKeyValue()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, throws);
        QFETCH(bool, ok);
        QFETCH(QString, keyVal);

        FakeRegistry registry;
        place(registry, "Key", "Value", type, bytes);
        std::string value = "keep";
        try {
            const bool result =
                GetKeyValue(registry, platform::reg::LocalMachine, "Key", "Value", value);
            QVERIFY(!throws);
            QCOMPARE(result, ok);
        } catch (const RuntimeError &e) {
            QVERIFY(throws);
            QCOMPARE(e.code(), RuntimeError::InvalidArgument);
        }
        QCOMPARE(text(value), keyVal);
        checkRegistryUse(registry);
    }

    // The old access mask (every key right) is refused to a user who may only read.
    void readRightsAreEnough()
    {
        FakeRegistry registry;
        registry.grantedRights = platform::reg::QueryValue;
        registry.setValue("Key", "Value", Sz, "v");
        std::string value;
        QVERIFY(GetKeyValue(registry, platform::reg::LocalMachine, "Key", "Value", value));
        QCOMPARE(value, std::string("v"));
    }

    void startSysInfo_data()
    {
        QTest::addColumn<int>("toolType"); // location 1: a type or an Absent
        QTest::addColumn<QByteArray>("tool");
        QTest::addColumn<int>("folderType"); // location 2
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QStringList>("files");    // what the file test finds
        QTest::addColumn<QStringList>("programs"); // what the launcher can start
        QTest::addColumn<bool>("malformed");       // the file test rejects every path
        QTest::addColumn<QStringList>("fileTests");
        QTest::addColumn<QStringList>("attempts");
        QTest::addColumn<bool>("message");

        const QByteArray tool =
            R"(C:\Program Files\Common Files\Microsoft Shared\MSInfo\msinfo32.exe)";
        const QByteArray folder = R"(C:\Program Files\Common Files\Microsoft Shared\MSInfo)";
        const QString t = text(tool.toStdString());
        const QString inFolder = text((folder + ToolFileSuffix).toStdString());
        const QString longTool = QString(1023, u'x');
        const QStringList none;
        const int missing = MissingKey;

        QTest::newRow("location 1, no file test")
            << int(Sz) << withNul(tool) << missing << QByteArray() << none << QStringList{t}
            << false << none << QStringList{t} << false;
        QTest::newRow("location 1 before location 2")
            << int(Sz) << withNul(tool) << int(Sz) << withNul(folder) << QStringList{inFolder}
            << QStringList{t, inFolder} << false << none << QStringList{t} << false;
        QTest::newRow("location 1 of 1024 bytes")
            << int(Sz) << withNul(QByteArray(1023, 'x')) << missing << QByteArray() << none
            << QStringList{longTool} << false << none << QStringList{longTool} << false;
        QTest::newRow("location 1 in code page 932")
            << int(Sz) << withNul(JapanesePath932) << missing << QByteArray() << none
            << QStringList{JapanesePath} << false << none << QStringList{JapanesePath} << false;
        QTest::newRow("location 2 folder with the tool")
            << missing << QByteArray() << int(Sz) << withNul(folder) << QStringList{inFolder}
            << QStringList{inFolder} << false << QStringList{inFolder} << QStringList{inFolder}
            << false;
        QTest::newRow("location 2 stored without a NUL")
            << missing << QByteArray() << int(Sz) << folder << QStringList{inFolder}
            << QStringList{inFolder} << false << QStringList{inFolder} << QStringList{inFolder}
            << false;
        QTest::newRow("location 1 key without its value")
            << int(MissingValue) << QByteArray() << int(Sz) << withNul(folder)
            << QStringList{inFolder} << QStringList{inFolder} << false << QStringList{inFolder}
            << QStringList{inFolder} << false;
        QTest::newRow("location 1 refused")
            << int(RefusedKey) << withNul(tool) << int(Sz) << withNul(folder)
            << QStringList{inFolder} << QStringList{t, inFolder} << false << QStringList{inFolder}
            << QStringList{inFolder} << false;
        QTest::newRow("location 1 over 1024 bytes")
            << int(Sz) << QByteArray(1025, 'x') << int(Sz) << withNul(folder)
            << QStringList{inFolder} << QStringList{inFolder} << false << QStringList{inFolder}
            << QStringList{inFolder} << false;
        QTest::newRow("folder without the tool")
            << missing << QByteArray() << int(Sz) << withNul(folder) << none
            << QStringList{inFolder} << false << QStringList{inFolder} << none << true;
        QTest::newRow("neither location") << missing << QByteArray() << missing << QByteArray()
                                          << none << none << false << none << none << true;
        QTest::newRow("both refused")
            << int(RefusedKey) << withNul(tool) << int(RefusedKey) << withNul(folder)
            << QStringList{inFolder} << QStringList{t, inFolder} << false << none << none << true;
        QTest::newRow("location 1 empty: error, location 2 not tried")
            << int(Sz) << QByteArray() << int(Sz) << withNul(folder) << QStringList{inFolder}
            << QStringList{inFolder} << false << none << none << true;
        QTest::newRow("location 1 of another type starts an empty path")
            << int(ExpandSz) << withNul(tool) << int(Sz) << withNul(folder) << QStringList{inFolder}
            << QStringList{t, inFolder} << false << none << QStringList{QString()} << true;
        QTest::newRow("location 1 DWORD is no program")
            << int(Dword) << QByteArray("\x10\0\0\0", 4) << missing << QByteArray() << none << none
            << false << none << QStringList{HexPrefix + "10"} << true;
        QTest::newRow("location 1 fails to start")
            << int(Sz) << withNul(tool) << missing << QByteArray() << none << none << false << none
            << QStringList{t} << true;
        QTest::newRow("location 2 tool fails to start")
            << missing << QByteArray() << int(Sz) << withNul(folder) << QStringList{inFolder}
            << none << false << QStringList{inFolder} << QStringList{inFolder} << true;
        QTest::newRow("malformed folder")
            << missing << QByteArray() << int(Sz) << withNul(folder) << QStringList{inFolder}
            << QStringList{inFolder} << true << QStringList{inFolder} << none << true;
    }
    void startSysInfo()
    {
        QFETCH(int, toolType);
        QFETCH(QByteArray, tool);
        QFETCH(int, folderType);
        QFETCH(QByteArray, folder);
        QFETCH(QStringList, files);
        QFETCH(QStringList, programs);
        QFETCH(bool, malformed);
        QFETCH(QStringList, fileTests);
        QFETCH(QStringList, attempts);
        QFETCH(bool, message);

        FakeRuntime rt;
        FakePlatform fake;
        place(fake.registry, ToolKey, ToolValue, toolType, tool);
        place(fake.registry, FolderKey, FolderValue, folderType, folder);
        for (const QString &f : files)
            fake.fileTest.files.insert(f.toStdString());
        for (const QString &p : programs)
            fake.launcher.programs.insert(p.toStdString());
        fake.fileTest.malformed = malformed;

        StartSysInfo(); // what the button calls

        QCOMPARE(texts(fake.fileTest.asked), fileTests);
        QCOMPARE(texts(fake.launcher.attempts), attempts);
        QCOMPARE(texts(fake.launcher.started), message ? QStringList() : attempts);
        QCOMPARE(rt.messageBox.shown, message ? 1 : 0);
        if (message) {
            QCOMPARE(rt.messageBox.lastText, Unavailable);
            QCOMPARE(rt.messageBox.lastStyle, 0);
            QCOMPARE(rt.messageBox.lastTitle, QString::fromUtf8(AppInfo::Title));
        }
        checkRegistryUse(fake.registry);
    }

    // The launcher keeps no state: a second press starts a second copy.
    void pressingTwiceStartsTwice()
    {
        FakeRuntime rt;
        FakePlatform fake;
        const std::string tool = R"(C:\Tools\msinfo32.exe)";
        fake.registry.setValue(ToolKey, ToolValue, Sz, tool + '\0');
        fake.launcher.programs.insert(tool);
        StartSysInfo();
        StartSysInfo();
        QCOMPARE(fake.launcher.started, (std::vector<std::string>{tool, tool}));
        QCOMPARE(rt.messageBox.shown, 0);
        checkRegistryUse(fake.registry);
    }

    // Registry bytes come from outside: whatever they are, the reader gives text or False (or
    // the empty-value error its caller handles) and closes every key. SYSINFO_SEED repeats a run.
    void randomValues()
    {
        const quint64 seed = qEnvironmentVariableIsSet("SYSINFO_SEED")
                                 ? qEnvironmentVariable("SYSINFO_SEED").toULongLong()
                                 : QRandomGenerator::system()->generate64();
        std::mt19937_64 random(seed);
        const std::uint32_t types[] = {0, 1, 2,  3,  4,  5,          6,         7,
                                       8, 9, 10, 11, 12, 0x7FFFFFFF, 0xFFFFFFFF};
        std::uniform_int_distribution<int> typeIndex(0, int(std::size(types)) - 1);
        std::uniform_int_distribution<int> length(0, 2048);
        std::uniform_int_distribution<int> byte(0, 255);
        std::uniform_int_distribution<int> percent(0, 99);

        FakeRegistry registry;
        std::string value;
        for (int i = 0; i < 100000; ++i) {
            const std::uint32_t type = types[typeIndex(random)];
            std::string bytes(std::size_t(percent(random) < 5 ? 0 : length(random)), '\0');
            for (char &b : bytes)
                b = char(byte(random));
            const int shape = percent(random); // a few missing or refused
            registry.keys.clear();
            if (shape >= 3) registry.setValue("Key", "Value", type, bytes);
            if (shape == 1) registry.keys["Key"];
            if (shape == 2) registry.keys["Key"] = {true, {{"Value", {type, bytes}}}};
            const bool present = shape >= 3;

            const std::string before = value;
            std::optional<bool> result; // nothing: the empty-value error
            bool otherError = false;
            try {
                result = GetKeyValue(registry, platform::reg::LocalMachine, "Key", "Value", value);
            } catch (const RuntimeError &e) {
                otherError = e.code() != RuntimeError::InvalidArgument;
            }
            const QString where = QStringLiteral("seed %1, value %2: type %3, %4 bytes")
                                      .arg(seed)
                                      .arg(i)
                                      .arg(type)
                                      .arg(bytes.size());
            const bool readable = present && bytes.size() <= 1024;
            bool good;
            if (!result)
                good = readable && bytes.empty() && value == before;
            else if (!*result)
                good = !readable && value.empty();
            else if (!readable || bytes.empty())
                good = false;
            else if (type == Sz)
                good = validUtf8(value) && value.empty() == (bytes.size() == 1 && bytes[0] == '\0');
            else if (type == Dword)
                good = value.size() > 2 && value.size() <= 10 && text(value).startsWith(HexPrefix);
            else
                good = value == before;
            good = good && !otherError && registry.closes == registry.opens &&
                   !registry.anyKeyOpen() && registry.misuses == 0;
            if (!good) QFAIL(qPrintable(where));
            if (value.size() > 64 || value.empty()) value = "before";
        }
    }

    void decodeCp932_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("ASCII") << QByteArray("C:\\a b.exe") << QStringLiteral("C:\\a b.exe");
        QTest::newRow("half-width katakana") << QByteArray("\xC3\xBD\xC4") << QStringLiteral("ﾃｽﾄ");
        QTest::newRow("kanji and backslash") << JapanesePath932 << JapanesePath;
        QTest::newRow("NUL inside") << QByteArray("a\0b", 3) << QString::fromUtf8("a\0b", 3);
#ifndef Q_OS_WIN
        // Windows puts its own replacement characters; elsewhere it is U+FFFD.
        QTest::newRow("lead byte at the end") << QByteArray("a\x82") << QStringLiteral("a\uFFFD");
        QTest::newRow("lead byte without its trail")
            << QByteArray("\x82 b") << QStringLiteral("\uFFFD b");
        QTest::newRow("undefined byte") << QByteArray("\xA0z") << QStringLiteral("\uFFFDz");
#endif
    }
    void decodeCp932()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(text(platform::decodeCp932(bytes.constData(), std::size_t(bytes.size()))),
                 expected);
    }

    void encodeCp932()
    {
        QCOMPARE(platform::encodeCp932(JapanesePath.toStdString()), JapanesePath932.toStdString());
        QCOMPARE(platform::encodeCp932(""), std::string());
        QVERIFY(!platform::encodeCp932("\xF0\x9F\x98\x80")); // an emoji has no code in 932
        QVERIFY(!platform::encodeCp932("\xFF"));             // not UTF-8
    }

#ifndef Q_OS_WIN
    // The stand-in answers location 1 with the first of the desktop tools it finds.
    void standInRegistry_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("notExecutable");
        QTest::addColumn<QString>("found");
        QTest::newRow("none") << QStringList() << QStringList() << QString();
        QTest::newRow("hardinfo") << QStringList{"hardinfo"} << QStringList() << "hardinfo";
        QTest::newRow("hardinfo2 first")
            << QStringList{"hardinfo", "hardinfo2"} << QStringList() << "hardinfo2";
        QTest::newRow("kinfocenter first") << QStringList{"hardinfo", "hardinfo2", "kinfocenter"}
                                           << QStringList() << "kinfocenter";
        QTest::newRow("not executable is not installed")
            << QStringList{"hardinfo"} << QStringList{"kinfocenter"} << "hardinfo";
    }
    void standInRegistry()
    {
        QFETCH(QStringList, installed);
        QFETCH(QStringList, notExecutable);
        QFETCH(QString, found);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString &name : installed)
            writeProgram(dir.filePath(name));
        for (const QString &name : notExecutable)
            writeProgram(dir.filePath(name), false);

        platform::StandInRegistry registry({dir.path()});
        std::string value = "keep";
        const bool ok =
            GetKeyValue(registry, platform::reg::LocalMachine, ToolKey, ToolValue, value);
        QCOMPARE(ok, !found.isEmpty());
        QCOMPARE(text(value), found.isEmpty() ? QString() : dir.filePath(found));
        // Nothing at location 2, and nothing for a writer.
        QVERIFY(!GetKeyValue(registry, platform::reg::LocalMachine, FolderKey, FolderValue, value));
        platform::KeyHandle key = 0;
        QCOMPARE(registry.openKey(platform::reg::LocalMachine, ToolKey, 0x2003F, key),
                 platform::reg::AccessDenied);
    }

    // A path that does not fit the reader's buffer is reported as too long, not cut short.
    void standInPathOverTheBuffer()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString deep = dir.path();
        while (deep.size() < 1100)
            deep += '/' + QString(200, u'd');
        QVERIFY(QDir().mkpath(deep));
        writeProgram(deep + "/hardinfo");
        platform::StandInRegistry registry({deep});
        platform::KeyHandle key = 0;
        QCOMPARE(
            registry.openKey(platform::reg::LocalMachine, ToolKey, platform::reg::QueryValue, key),
            platform::reg::Success);
        unsigned char data[1024] = {};
        std::uint32_t type = 0, count = sizeof data;
        QCOMPARE(registry.queryValue(key, ToolValue, type, data, count), platform::reg::MoreData);
        QCOMPARE(qsizetype(count), deep.size() + qsizetype(sizeof "/hardinfo"));
        registry.closeKey(key);
        std::string value = "keep";
        QVERIFY(!GetKeyValue(registry, platform::reg::LocalMachine, ToolKey, ToolValue, value));
        QCOMPARE(value, std::string());
    }

    void qtFileTest_data()
    {
        QTest::addColumn<QString>("name"); // under a folder with a blank
        QTest::addColumn<bool>("throws");
        QTest::addColumn<QString>("found");
        QTest::newRow("file") << "MSINFO32.EXE" << false << "MSINFO32.EXE";
        QTest::newRow("folder") << "folder" << false << "";
        QTest::newRow("missing") << "nothing.exe" << false << "";
        QTest::newRow("NUL inside") << QString::fromUtf8("MSINFO32.EXE\0x", 14) << true << "";
    }
    void qtFileTest()
    {
        QFETCH(QString, name);
        QFETCH(bool, throws);
        QFETCH(QString, found);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString base = dir.filePath("a b");
        QVERIFY(QDir().mkpath(base + "/folder"));
        writeProgram(base + "/MSINFO32.EXE");
        platform::QtFileTest fileTest;
        try {
            QCOMPARE(text(fileTest.dir((base + '/' + name).toStdString())), found);
            QVERIFY(!throws);
        } catch (const RuntimeError &) {
            QVERIFY(throws);
        }
        QCOMPARE(text(fileTest.dir("")), QString());
    }

    // Faults: a path split at its blank starting another program, a failure not reported.
    void qtLauncher_data()
    {
        QTest::addColumn<QString>("name"); // under a folder with a blank
        QTest::addColumn<bool>("starts");
        QTest::newRow("program, blanks in its path") << "my tool" << true;
        QTest::newRow("blank is not an argument") << "prog arg" << false;
        QTest::newRow("folder") << "folder" << false;
        QTest::newRow("not executable") << "text" << false;
        QTest::newRow("missing") << "nothing" << false;
        QTest::newRow("NUL inside") << QString::fromUtf8("my tool\0x", 9) << false;
    }
    void qtLauncher()
    {
        QFETCH(QString, name);
        QFETCH(bool, starts);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString base = dir.filePath("a b");
        QVERIFY(QDir().mkpath(base + "/folder"));
        writeProgram(base + "/my tool");
        writeProgram(base + "/prog"); // what a split "prog arg" would start
        writeProgram(base + "/text", false);
        platform::QtLauncher launcher;
        try {
            launcher.start((base + '/' + name).toStdString());
            QVERIFY(starts);
        } catch (const RuntimeError &) {
            QVERIFY(!starts);
        }
    }

    void emptyPathStartsNothing()
    {
        platform::QtLauncher launcher;
        QVERIFY_THROWS_EXCEPTION(RuntimeError, launcher.start(""));
    }

    // The whole chain on this system: stand-in, file test, launch, message.
    void desktopBinding_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::newRow("tool installed") << true;
        QTest::newRow("no tool") << false;
    }
    void desktopBinding()
    {
        QFETCH(bool, installed);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        if (installed) writeProgram(dir.filePath("hardinfo"));
        platform::StandInRegistry registry({dir.path()});
        platform::QtFileTest fileTest;
        platform::QtLauncher launcher;
        QStringList messages;
        StartSysInfo(
            SysInfoServices{registry, fileTest, launcher,
                            [&messages](const std::string &m, int) { messages << text(m); }});
        QCOMPARE(messages, installed ? QStringList() : QStringList{Unavailable});
    }
#endif
};

QTEST_GUILESS_MAIN(tst_sysinfo)
#include "tst_sysinfo.moc"
