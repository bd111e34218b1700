// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "FakePlatform.h"
#include "Fakes.h"
#include "shell/platform/Cp932.h"
#include "windows/SysInfo.h"
#include "windows/frmAbout.h"

#include <QTest>

namespace
{

// Written out here, not taken from the code under test.
const std::string ToolKey = R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)";
const std::string FolderKey = R"(SOFTWARE\Microsoft\Shared Tools Location)";
constexpr std::uint32_t Sz = 1, ExpandSz = 2, Dword = 4;

// Every key opened is closed once, no more than read rights (KEY_READ) are asked for, and the
// value is read into 1024 bytes.
void checkRegistryUse(const FakeRegistry &registry)
{
    QVERIFY(registry.open.empty());
    QCOMPARE(registry.badCloses, 0);
    for (std::uint32_t mask : registry.masks)
        QVERIFY2((mask & ~0x20019u) == 0 && (mask & 1), "not a read-only access mask");
    for (std::uint32_t size : registry.bufferSizes)
        QCOMPARE(size, 1024u);
}

} // namespace

class tst_sysinfo : public QObject
{
    Q_OBJECT
private slots:
    // The value read into "keep": the text, False and "", or the empty-value error, its key
    // closed. (A value without a NUL, code page 932, a missing value or key: wine_sysinfo.)
    void getKeyValue_data()
    {
        QTest::addColumn<std::uint32_t>("type");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("value");
        const QByteArray path = R"(C:\a b\tool.exe)";
        QTest::newRow("only a NUL") << Sz << QByteArray(1, '\0') << 1 << QString();
        QTest::newRow("one NUL of two dropped")
            << Sz << QByteArray("ab\0\0", 4) << 1 << QString::fromUtf8("ab\0", 3);
        QTest::newRow("bad byte replaced") << Sz << QByteArray("\xA0z") << 1 << "\uFFFDz";
        QTest::newRow("1024 bytes") << Sz << QByteArray(1024, 'x') << 1 << QString(1024, 'x');
        QTest::newRow("1025 bytes") << Sz << QByteArray(1025, 'x') << 0 << QString();
        QTest::newRow("DWORD") << Dword << QByteArray("\x0F\xBE\xAD\x0E", 4) << 1 << "&hEADBE0F";
        QTest::newRow("expandable kept") << ExpandSz << path + '\0' << 1 << "keep";
        QTest::newRow("empty value") << Sz << QByteArray() << -1 << "keep";
    }
    void getKeyValue()
    {
        QFETCH(std::uint32_t, type);
        QFETCH(QByteArray, bytes);
        FakeRegistry registry;
        registry.keys["K"]["V"] = {type, bytes.toStdString()};
        std::string value = "keep";
        int result = -1; // the error
        try {
            result = GetKeyValue(registry, platform::reg::LocalMachine, "K", "V", value);
        } catch (const RuntimeError &) {
        }
        QTEST(result, "result");
        QTEST(QString::fromStdString(value), "value");
        checkRegistryUse(registry);
    }

    // The stand-in registry holds a path only if code page 932 gives it back unchanged: iconv
    // writes ¢ as ￠ and ¥ as \, and the launcher would start another path (fuzz_cp932).
    void encodeCp932_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("held");
        QTest::newRow("kana and kanji") << "/opt/ﾃｽﾄ/日本/～" << true;
        QTest::newRow("cent") << "/opt/\u00A2" << false;
        QTest::newRow("yen") << "/opt/\u00A5/tool" << false;
        QTest::newRow("wave dash") << "/opt/\u301C" << false;
    }
    void encodeCp932()
    {
        QFETCH(QString, text);
        QTEST(platform::encodeCp932(text.toStdString()).has_value(), "held");
    }

    // What the button starts, which paths it tests first, and the message when nothing starts.
    // (Location 2 and the file name: wine_sysinfo, on a real registry and file system.)
    void startSysInfo_data()
    {
        QTest::addColumn<QByteArray>("tool");     // location 1; null: missing
        QTest::addColumn<QByteArray>("folder");   // location 2
        QTest::addColumn<QStringList>("present"); // files that exist and start
        QTest::addColumn<QStringList>("tested");
        QTest::addColumn<QString>("started"); // empty: the message
        const QByteArray tool = R"(C:\MSInfo\msinfo32.exe)", folder = R"(C:\MS Info)", none;
        const QString inFolder = R"(C:\MS Info\MSINFO32.EXE)";
        const QStringList both{QString(tool), inFolder}, no;
        QTest::newRow("location 1 first, untested")
            << tool + '\0' << folder + '\0' << both << no << QString(tool);
        QTest::newRow("location 2 without the tool")
            << none << folder << no << QStringList{inFolder} << QString();
        QTest::newRow("neither") << none << none << both << no << QString();
        QTest::newRow("location 1 does not start")
            << tool << folder << QStringList{inFolder} << no << QString();
        QTest::newRow("location 1 empty") << QByteArray("") << folder << both << no << QString();
        QTest::newRow("malformed folder") << none << QByteArray("C:\\a|b") << both
                                          << QStringList{"C:\\a|b\\MSINFO32.EXE"} << QString();
    }
    void startSysInfo()
    {
        QFETCH(QByteArray, tool);
        QFETCH(QByteArray, folder);
        QFETCH(QStringList, present);
        QFETCH(QString, started);
        FakeRuntime rt;
        FakePlatform fake;
        if (!tool.isNull()) fake.registry.keys[ToolKey]["PATH"] = {Sz, tool.toStdString()};
        if (!folder.isNull()) fake.registry.keys[FolderKey]["MSINFO"] = {Sz, folder.toStdString()};
        for (const QString &file : present)
            fake.files.present.insert(file.toStdString());

        frmAbout::cmdSysInfo_Click(); // as the button does

        QTEST(fake.files.tested, "tested");
        QCOMPARE(fake.files.started, started.isEmpty() ? QStringList() : QStringList{started});
        QCOMPARE(rt.messageBox.shown, started.isEmpty() ? 1 : 0);
        if (started.isEmpty()) {
            QCOMPARE(rt.messageBox.lastText, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
            QCOMPARE(rt.messageBox.lastStyle, 0); // OK only, no icon
        }
        checkRegistryUse(fake.registry);
    }
};

QTEST_GUILESS_MAIN(tst_sysinfo)
#include "tst_sysinfo.moc"
