// The INI file: what reads back from hand-written and damaged files, and writes that change only
// the key written.
#include "platform/vcl/Forms.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/SysUtils.h"
#include "tests/config/IniTestFiles.h"

#include <QFile>

namespace {

using namespace std::string_literals;

struct ReadCase {
    const char* what;
    AnsiString file;
    const char* section;
    const char* key;
    const char* expected;  // with the default "<default>"
};

TEST(TIniFile, ReadString)
{
    const AnsiString big(100000, 'x');
    const ReadCase cases[] = {
        {"LF", "[Setup]\nTempDir=C:\\T\n", "Setup", "TempDir", "C:\\T"},
        {"CR LF", "[Setup]\r\nTempDir=C:\\T\r\nMacroDir=M\r\n", "Setup", "MacroDir", "M"},
        {"lone CR", "[Setup]\rTempDir=a\rMacroDir=M\r", "Setup", "MacroDir", "M"},
        {"no final line end", "[Setup]\nTempDir=last", "Setup", "TempDir", "last"},
        {"letter case of names", "[sEtUp]\ntempdir=x\n", "SETUP", "TempDir", "x"},
        {"blanks around", "  [ Setup ]  \n  TempDir \t=\t  x y  \n", "Setup", "TempDir", "x y"},
        {"double quotes", "[A]\nK=\"C:\\Program Files\\v.exe\"\n", "A", "K", "C:\\Program Files\\v.exe"},
        {"single quotes", "[A]\nK='x'\n", "A", "K", "x"},
        {"unpaired quote kept", "[A]\nK=\"x\n", "A", "K", "\"x"},
        {"three-character value", "[A]\nK=\";\"\n", "A", "K", ";"},
        {"present but empty", "[A]\nK=\n", "A", "K", ""},
        {"missing key", "[A]\nJ=1\n", "A", "K", "<default>"},
        {"missing section", "[B]\nK=1\n", "A", "K", "<default>"},
        {"empty file", "", "A", "K", "<default>"},
        {"key of another section", "[A]\n[B]\nK=1\n", "A", "K", "<default>"},
        {"first of two keys", "[A]\nK=1\nk=2\n", "A", "K", "1"},
        {"first of two sections", "[A]\nK=1\n[B]\n[a]\nK=2\n", "A", "K", "1"},
        {"key only in the second section", "[A]\nJ=1\n[B]\n[A]\nK=2\n", "A", "K", "2"},
        {"byte-order mark", "\xEF\xBB\xBF[A]\nK=1\n", "A", "K", "1"},
        {"Windows-1252 bytes", "[A]\nK=Caf\xE9 \x80 5\n", "A", "K", "Caf\xE9 \x80 5"},
        {"comments", "; [A]\n[A]\n;K=1\n#K=2\nK=3\n", "A", "K", "3"},
        {"comment heading the file", "; notes\n; more\n[A]\nK=1\n", "A", "K", "1"},
        {"garbage lines", "[A]\nnonsense\n=5\n]]][[\nK=ok\n", "A", "K", "ok"},
        {"keys outside a section", "K=0\n[A]\nK=1\n", "A", "K", "1"},
        {"header without bracket", "[A\nK=1\n", "A", "K", "<default>"},
        {"binary bytes", "[A]\nJ=\x01\x02\xFF\xFE\nK=1\n", "A", "K", "1"},
        {"NUL before the key", "[A]\nJ=a\0b\nK=1\n"s, "A", "K", "1"},
        {"long value", "[A]\nK=" + big + "\nL=2\n", "A", "L", "2"},
    };
    IniFolder folder;
    for (const auto& c : cases) {
        const TIniFile ini(folder.Write(c.file));
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.expected) << c.what;
    }
    const TIniFile ini(folder.Write("[A]\nK=" + big + "\n"));
    EXPECT_EQ(ini.ReadString("A", "K", ""), big);
}

TEST(TIniFile, MissingOrUnreadableFileReadsEmpty)
{
    IniFolder folder;
    const TIniFile missing(folder.Path("nothing.ini"));
    EXPECT_EQ(missing.ReadString("A", "K", "d"), "d");
    EXPECT_FALSE(missing.SectionExists("A"));
    const TIniFile folderNotFile(folder.Path(""));
    EXPECT_EQ(folderNotFile.ReadInteger("A", "K", 7), 7);
}

TEST(TIniFile, Numbers)
{
    IniFolder folder;
    const TIniFile ini(folder.Write("[N]\nI=42\nNeg=-3\nBad=4x\nE=\nF=2.5\nC=2,5\nHuge=99999999999\n"));
    EXPECT_EQ(ini.ReadInteger("N", "I", 0), 42);
    EXPECT_EQ(ini.ReadInteger("N", "Neg", 0), -3);
    EXPECT_EQ(ini.ReadInteger("N", "Bad", 9), 9);
    EXPECT_EQ(ini.ReadInteger("N", "E", 9), 9);
    EXPECT_EQ(ini.ReadInteger("N", "Huge", 9), 9);
    EXPECT_EQ(ini.ReadFloat("N", "F", 1.0), 2.5);
    EXPECT_EQ(ini.ReadFloat("N", "C", 1.0), 1.0);  // a comma is no decimal separator here
    EXPECT_EQ(ini.ReadFloat("N", "Bad", 1.0), 1.0);

    // Reals follow the locale's decimal separator, as the settings' other numbers do.
    TFormatSettings saved = FormatSettings();
    FormatSettings().DecimalSeparator = ',';
    FormatSettings().ThousandSeparator = '.';
    EXPECT_EQ(ini.ReadFloat("N", "C", 1.0), 2.5);
    FormatSettings() = saved;
}

TEST(TIniFile, Queries)
{
    IniFolder folder;
    const TIniFile ini(folder.Write("[Setup]\nA=\n[Empty]\n"));
    EXPECT_TRUE(ini.SectionExists("setup"));
    EXPECT_TRUE(ini.SectionExists("Empty"));
    EXPECT_FALSE(ini.SectionExists("Other"));
    EXPECT_TRUE(ini.ValueExists("SETUP", "a"));
    EXPECT_FALSE(ini.ValueExists("Setup", "B"));
}

struct WriteCase {
    const char* what;
    AnsiString before;
    const char* section;
    const char* key;
    const char* value;
    AnsiString after;
};

TEST(TIniFile, WriteChangesOnlyItsLine)
{
    const WriteCase cases[] = {
        {"value replaced, spacing kept", "; c\n[S]\nA = 1\nK =  old ; x\nB=2\n", "S", "K", "new",
         "; c\n[S]\nA = 1\nK =  new\nB=2\n"},
        {"CR LF kept", "[S]\r\nK=1\r\n[T]\r\nK=1\r\n", "T", "K", "2", "[S]\r\nK=1\r\n[T]\r\nK=2\r\n"},
        {"file's spelling of the names kept", "[setup]\nprojectdir=a\n", "Setup", "ProjectDir", "b",
         "[setup]\nprojectdir=b\n"},
        {"added after the section's last key", "[S]\nA=1\n\n; about T\n[T]\nB=2\n", "S", "K", "v",
         "[S]\nA=1\nK=v\n\n; about T\n[T]\nB=2\n"},
        {"added to a section at the end without a line end", "[S]\nA=1", "S", "K", "v", "[S]\nA=1\nK=v\n"},
        {"added to an empty section", "[S]\n[T]\n", "S", "K", "v", "[S]\nK=v\n[T]\n"},
        {"section appended, CR LF", "[S]\r\nA=1\r\n", "T", "K", "v", "[S]\r\nA=1\r\n[T]\r\nK=v\r\n"},
        {"section appended after a last line without end", "[S]\r\nA=1", "T", "K", "v",
         "[S]\r\nA=1\r\n[T]\r\nK=v\r\n"},
        {"first of duplicate keys", "[S]\nK=1\nK=2\n", "S", "K", "3", "[S]\nK=3\nK=2\n"},
        {"key in the second duplicate section", "[S]\nA=1\n[T]\n[S]\nK=1\n", "S", "K", "2",
         "[S]\nA=1\n[T]\n[S]\nK=2\n"},
        {"new key goes to the first duplicate section", "[S]\nA=1\n[T]\n[S]\nB=1\n", "S", "K", "2",
         "[S]\nA=1\nK=2\n[T]\n[S]\nB=1\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "S", "K", "2", "\xEF\xBB\xBF[S]\r\nK=2\r\n"},
        {"commented-out key left alone", "[S]\n;K=1\n", "S", "K", "2", "[S]\nK=2\n;K=1\n"},
        {"key under a broken header is another section's", "[S\nK=1\n", "S", "K", "2", "[S\nK=1\n[S]\nK=2\n"},
        {"garbage and binary bytes kept", "[S]\n\x01\xFF garbage\nK=\x80\n", "S", "K", "\xE9",
         "[S]\n\x01\xFF garbage\nK=\xE9\n"},
        {"NUL bytes kept", "[S]\nJ=a\0b\nK=1\n"s, "S", "K", "2", "[S]\nJ=a\0b\nK=2\n"s},
        {"new file", "", "S", "K", "v", "[S]\nK=v\n"},
    };
    IniFolder folder;
    for (const auto& c : cases) {
        const AnsiString path = folder.Write(c.before);
        TIniFile ini(path);
        EXPECT_TRUE(ini.WriteString(c.section, c.key, c.value)) << c.what;
        EXPECT_EQ(ReadAll(path), c.after) << c.what;
        // What is written is what reads back, from this object and from a fresh one.
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.value) << c.what;
        EXPECT_EQ(TIniFile(path).ReadString(c.section, c.key, "<default>"), c.value) << c.what;
    }
}

TEST(TIniFile, WriteIntegerAndFileCreatedOnFirstWrite)
{
    IniFolder folder;
    const AnsiString path = folder.Path("new.ini");
    TIniFile ini(path);
    EXPECT_TRUE(ini.WriteInteger("MRU", "MaxCount", -4));
    EXPECT_TRUE(ini.WriteString("MRU", "1", "/a.pad"));
    EXPECT_EQ(ReadAll(path), "[MRU]\nMaxCount=-4\n1=/a.pad\n");
}

TEST(TIniFile, WriteKeepsWhatOthersWroteMeanwhile)
{
    IniFolder folder;
    const AnsiString path = folder.Write("[S]\nA=1\n");
    TIniFile ini(path);
    folder.Write("[S]\nA=1\nB=2\n");
    EXPECT_TRUE(ini.WriteString("S", "A", "3"));
    EXPECT_EQ(ReadAll(path), "[S]\nA=3\nB=2\n");
}

TEST(TIniFile, RefusedWritesLeaveTheFileAsItWas)
{
    IniFolder folder;
    const AnsiString original = "[S]\r\nK=1\r\n";
    const AnsiString path = folder.Write(original);
    TIniFile ini(path);
    const struct {
        const char* what;
        AnsiString section, key, value;
    } cases[] = {
        {"line feed in the value", "S", "K", "a\nB=2"},
        {"carriage return in the value", "S", "K", "a\rb"},
        {"NUL in the value", "S", "K", "a\0b"s},
        {"line break in the key", "S", "K\nL", "1"},
        {"equals sign in the key", "S", "K=L", "1"},
        {"empty key", "S", " ", "1"},
        {"bracket in the section", "S]x", "K", "1"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(ini.WriteString(c.section, c.key, c.value)) << c.what;
        EXPECT_EQ(ReadAll(path), original) << c.what;
    }
    EXPECT_EQ(ini.ReadString("S", "K", ""), "1");

    TIniFile nowhere(folder.Path("no such folder/x.ini"));
    EXPECT_FALSE(nowhere.WriteString("S", "K", "1"));
    TIniFile aFolder(folder.Path(""));
    EXPECT_FALSE(aFolder.WriteString("S", "K", "1"));
}

TEST(TIniFile, ProgramIniPathIsBesideTheProgram)
{
    const AnsiString path = ProgramIniPath();
    ASSERT_GE(path.size(), 4u);
    EXPECT_EQ(path.substr(path.size() - 4), ".INI");
    EXPECT_EQ(path.substr(0, path.size() - 4), ParamStr0().substr(0, path.size() - 4));
}

}  // namespace
