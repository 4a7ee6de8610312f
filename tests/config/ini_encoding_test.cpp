// Settings files hold Windows-1252 text and the file system's own names: a name the code page
// lacks turns the file into UTF-8, and each kind of value reads back as it was written.
#include "config/Config.h"
#include "config/Mru.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/SafeWrite.h"
#include "platform/win/Registry.h"
#include "tests/common/DialogRecorder.h"
#include "tests/config/IniTestFiles.h"

#include <cerrno>

TEST(IniEncoding, TellsUtf8FromTheCodePage)
{
    const struct {
        const char* what;
        AnsiString bytes;
        bool utf8;
    } rows[] = {
        {"ASCII only", "[A]\nK=1\n", false},
        {"Cyrillic", "K=\xD0\x94\xD0\xBE\xD0\xBC", true},
        {"four-byte character", "\xF0\x9F\x8F\xA0", true},
        {"Windows-1252 e acute", "Caf\xE9", false},
        {"lone continuation byte", "\x80", false},
        {"sequence cut at the end", "\xD0", false},
        {"three-byte sequence cut", "\xE2\x82", false},
        {"overlong slash", "\xC0\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"past Unicode", "\xF4\x90\x80\x80", false},
        {"five-byte lead", "\xF8\x88\x80\x80\x80", false},
        {"NUL inside", AnsiString("\xC3\xA9\0x", 4), true},
        {"empty", "", false},
    };
    for (const auto& row : rows) EXPECT_EQ(IsUtf8Text(row.bytes), row.utf8) << row.what;
}

TEST(IniEncoding, PathsAndTextKeepTheirKind)
{
    IniFolder folder;
    const AnsiString cyrillic = "/home/\xD0\x94\xD0\xBE\xD0\xBC/";  // "/home/Дом/" in UTF-8
    const AnsiString accented = "/home/Caf\xC3\xA9/";                // "/home/Café/" in UTF-8
    const struct {
        const char* what;
        AnsiString before, path;
        bool utf8After;
    } rows[] = {
        {"ASCII path, file stays", "[A]\nT=Caf\xE9\n", "/home/x/", false},
        {"path the code page spells, file stays Windows-1252", "[A]\nT=Caf\xE9\n", accented, false},
        {"path it cannot spell, file turns UTF-8", "[A]\nT=Caf\xE9\n", cyrillic, true},
        {"file already UTF-8", "[A]\nT=\xC3\xA9t\xC3\xA9\n", accented, true},
    };
    for (const auto& row : rows) {
        const AnsiString path = folder.Write(row.before);
        TIniFile ini(path);
        ASSERT_TRUE(ini.WritePath("Setup", "ProjectDir", row.path)) << row.what;
        EXPECT_EQ(IsUtf8Text(ReadAll(path)), row.utf8After) << row.what;
        const TIniFile back(path);
        EXPECT_EQ(back.ReadPath("Setup", "ProjectDir", "?"), row.path) << row.what;
        const AnsiString text = back.ReadString("A", "T", "?");
        EXPECT_TRUE(text == "Caf\xE9" || text == "\xE9t\xE9") << row.what;
        // Text written into a UTF-8 file reads back as the same Windows-1252 text.
        ASSERT_TRUE(TIniFile(path).WriteString("A", "U", "\x80 5")) << row.what;
        EXPECT_EQ(TIniFile(path).ReadString("A", "U", "?"), "\x80 5") << row.what;
    }
    // The settings object takes its folders as names, its texts as code-page text.
    const TConfig& config = *new TConfig(folder.Write("[Setup]\nProjectDir=" + cyrillic + "\n[Address]\nAdd1=\xC3\xA9\n").c_str());
    EXPECT_EQ(config.ProjectDir, cyrillic);
    EXPECT_EQ(config.Add1, "\xE9");
    delete &config;

    // A path stored by the Windows program in its code page reads as the system's own name.
    EXPECT_EQ(TIniFile(folder.Write("[MRU]\n1=C:\\Caf\xE9\\a.pad\n")).ReadPath("MRU", "1", "?"),
              "C:\\Caf\xC3\xA9\\a.pad");
}

// Every writer of settings against every failure point: the file stays byte for byte, and the
// failure comes back with its reason.
TEST(IniEncoding, EveryWriterLeavesTheFileWholeOnFailure)
{
    ForgetReportedWriteFailures();
    IniFolder folder;
    const AnsiString before = "; mine\r\n[Setup]\r\nProjectDir=/a/\r\n[MRU]\r\n1=/a/x.pad\r\n";
    const AnsiString path = folder.Write(before);
    const SafeWriteStep steps[] = {SafeWriteStep::Create, SafeWriteStep::Write, SafeWriteStep::Sync,
                                   SafeWriteStep::Close, SafeWriteStep::Rename};
    TMRU mru;
    mru.Add("/b/y.pad");
    for (SafeWriteStep step : steps) {
        ScopedSafeWriteFault fault({step, 1, ENOSPC, true});
        TIniFile ini(path);
        EXPECT_FALSE(ini.WriteString("Startup", "Scientific", "true"));
        EXPECT_FALSE(ini.LastError().isEmpty());
        EXPECT_FALSE(ini.WritePath("Setup", "ProjectDir", "/b/"));
        EXPECT_FALSE(mru.Save(path));
        EXPECT_EQ(ReadAll(path), before) << static_cast<int>(step);
    }

    // The remembered answers: kept whole, and the user told once.
    QTemporaryDir store;
    SetRegistryFolder(store.path());
    ASSERT_TRUE(RegWriteDword("Software\\P\\ExtMessageBox", "a", 6));
    const AnsiString stored = ReadAll(RegistryFilePath().toStdString());
    DialogRecorder boxes;
    for (SafeWriteStep step : steps) {
        ScopedSafeWriteFault fault({step, 1, ENOSPC, true});
        EXPECT_FALSE(RegWriteDword("Software\\P\\ExtMessageBox", "b", 7));
        EXPECT_EQ(ReadAll(RegistryFilePath().toStdString()), stored) << static_cast<int>(step);
    }
    SetRegistryFolder(QString());
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_TRUE(boxes.calls[0].text.startsWith("Your remembered answers could not be saved in "));
}

// A shortened recent-files text never ends in part of a character.
TEST(IniEncoding, ShortenedNamesKeepWholeCharacters)
{
    TMRU mru;
    mru.SetMaxCharacters(20);
    AnsiString name;
    for (int i = 0; i < 15; ++i) name += "\xD0\x94";  // 15 two-byte letters, 30 bytes
    for (const AnsiString& path : {"/" + name + ".pad", "/a/" + name, "/ab/" + name})
        EXPECT_TRUE(IsUtf8Text(mru.ShortenPath(path))) << path;
}
