// The recent-files list: order, limits, the shortened menu texts and the [MRU] section.
#include "config/Mru.h"
#include "tests/config/IniTestFiles.h"

#include <climits>
#include <vector>

namespace {

std::vector<AnsiString> Paths(const TMRU& mru)
{
    std::vector<AnsiString> out;
    for (int i = 1; i <= mru.Count(); ++i) out.push_back(mru.GetPath(i));
    return out;
}

// Paths as a failure shows them: a long one by its start and its length.
std::vector<AnsiString> Heads(const std::vector<AnsiString>& paths)
{
    std::vector<AnsiString> out;
    for (const AnsiString& p : paths) out.push_back(p.size() <= 40 ? p : p.substr(0, 20) + "... (" + std::to_string(p.size()) + " bytes)");
    return out;
}

TEST(TMRU, Add)
{
    const struct {
        const char* what;
        int maxCount;
        std::vector<AnsiString> added;
        std::vector<AnsiString> expected;
    } cases[] = {
        {"newest first", 4, {"/a", "/b"}, {"/b", "/a"}},
        {"five into four", 4, {"/a", "/b", "/c", "/d", "/e"}, {"/e", "/d", "/c", "/b"}},
        {"again moves to the front", 4, {"/a", "/b", "/c", "/a"}, {"/a", "/c", "/b"}},
        {"first again changes nothing", 4, {"/a", "/b", "/b"}, {"/b", "/a"}},
        {"other letter case keeps the entry's spelling", 4, {"/Jobs/Deck.pad", "/x", "/JOBS/deck.PAD"},
         {"/Jobs/Deck.pad", "/x"}},
        {"empty path ignored", 4, {"/a", ""}, {"/a"}},
        {"a full list moves without losing one", 2, {"/a", "/b", "/a"}, {"/a", "/b"}},
        {"MaxCount 0 keeps nothing", 0, {"/a", "/b"}, {}},
        {"MaxCount 1", 1, {"/a", "/b"}, {"/b"}},
    };
    for (const auto& c : cases) {
        TMRU mru;
        mru.SetMaxCount(c.maxCount);
        for (const auto& p : c.added) mru.Add(p);
        EXPECT_EQ(Paths(mru), c.expected) << c.what;
    }
}

TEST(TMRU, MovedEntryKeepsItsDisplayText)
{
    TMRU mru;
    mru.Add("/home/ann/a.pad");
    mru.SetMaxCharacters(10);
    mru.Add("/b.pad");
    mru.Add("/HOME/ANN/A.PAD");
    EXPECT_EQ(mru.GetDisplay(1), "/home/ann/a.pad");
}

TEST(TMRU, OutOfRangeAndClear)
{
    TMRU mru;
    mru.Add("/a");
    mru.OpenIndex = 1;
    for (int i : {-1, 0, 2}) {
        EXPECT_EQ(mru.GetPath(i), "") << i;
        EXPECT_EQ(mru.GetDisplay(i), "") << i;
    }
    mru.SetPathTruncatedRight(5);
    EXPECT_EQ(mru.PathTruncatedRight, 1);
    mru.Clear();
    EXPECT_EQ(mru.Count(), 0);
    EXPECT_EQ(mru.OpenIndex, 0);
}

TEST(TMRU, ShortenPath)
{
    const struct {
        int maxCharacters, truncatedRight;
        const char* path;
        const char* expected;
    } cases[] = {
        {40, 1, "C:\\Projects\\Roofing\\Estimates\\2016\\North house.pad", "C:\\Projects\\Roofing\\...\\North house.pad"},
        {40, 0, "C:\\Projects\\Roofing\\Estimates\\2016\\North house.pad", "C:\\...\\Estimates\\2016\\North house.pad"},
        {40, 1, "C:\\Short\\x.pad", "C:\\Short\\x.pad"},
        {22, 1, "C:\\Projects\\Roofing\\x.pad", "C:\\Projects\\...\\x.pad"},
        {22, 0, "C:\\Projects\\Roofing\\x.pad", "C:\\...\\Roofing\\x.pad"},
        {20, 1, "C:\\Projects\\Roofing\\abcdefghijkl.pad", "C:\\...\\abcdefghijkl."},  // name too long: cut
        {20, 1, "C:\\Projects\\Roofing\\abcdefghi.pad", "C:\\...\\abcdefghi.pad"},    // name of exactly L - 7
        {20, 1, "C:\\VeryLongFolderName\\x.pad", "C:\\...\\x.pad"},               // no folder fits
        {20, 0, "C:\\VeryLongFolderName\\x.pad", "C:\\...\\x.pad"},
        {40, 1, "/home/ann/Roofing/Estimates/2016/North house.pad", "/home/ann/Roofing/.../North house.pad"},
        {40, 0, "/home/ann/Roofing/Estimates/2016/North house.pad", "/.../Estimates/2016/North house.pad"},
        {20, 1, "/home/ann/jobs/long name of a job.pad", "/.../long name of a "},
        {12, 1, "/a/b/c/d/e/f.pad", "/a/.../f.pad"},
        {12, 0, "/a/b/c/d/e/f.pad", "/.../e/f.pad"},
        {0, 1, "/a/b.pad", ""},
        {-5, 1, "/a/b.pad", ""},
        {5, 1, "ab", "ab"},
        {5, 1, "abcdefgh", "abc.."},
        {5, 0, "", ""},
    };
    for (const auto& c : cases) {
        TMRU mru;
        mru.SetMaxCharacters(c.maxCharacters);
        mru.SetPathTruncatedRight(c.truncatedRight);
        EXPECT_EQ(mru.ShortenPath(c.path), c.expected)
            << c.path << " L=" << c.maxCharacters << " right=" << c.truncatedRight;
    }
}

TEST(TMRU, Load)
{
    const struct {
        const char* what;
        int maxCount;
        AnsiString file;
        std::vector<AnsiString> expected;
    } cases[] = {
        {"keys 1 and 3", 4, "[MRU]\n1=/one\n3=/three\n", {"/one", "/three"}},
        {"keys above MaxCount ignored", 2, "[MRU]\n1=/one\n2=/two\n3=/three\n", {"/one", "/two"}},
        {"duplicates collapse, the later key's spelling kept", 4, "[mru]\n1=/one\n2=/ONE\n3=/two\n", {"/ONE", "/two"}},
        {"empty keys add nothing", 4, "[MRU]\n1=\n2=/two\n", {"/two"}},
        {"MaxCount 0", 0, "[MRU]\n1=/one\n", {}},
        {"no section", 4, "[Setup]\n1=/one\n", {}},
        // A name longer than the system takes names no file: it is left out, as an empty key is.
        {"a 4 MB name left out", 4, "[MRU]\n1=/" + AnsiString(size_t(4) << 20, 'n') + "\n2=/two\n", {"/two"}},
        {"a name one byte past the limit left out", 4, "[MRU]\n1=/" + AnsiString(PATH_MAX - 1, 'n') + "\n", {}},
        {"a name just within the limit kept", 4, "[MRU]\n1=/" + AnsiString(PATH_MAX - 2, 'n') + "\n",
         {"/" + AnsiString(PATH_MAX - 2, 'n')}},
    };
    IniFolder folder;
    for (const auto& c : cases) {
        TMRU mru;
        mru.SetMaxCount(c.maxCount);
        mru.Add("/stale");
        mru.OpenIndex = 2;
        mru.Load(folder.Write(c.file));
        EXPECT_EQ(Heads(Paths(mru)), Heads(c.expected)) << c.what;
        EXPECT_EQ(mru.OpenIndex, 0) << c.what;
    }
}

TEST(TMRU, SaveWritesTheListAndLeavesHigherKeys)
{
    IniFolder folder;
    const AnsiString path = folder.Write("[MRU]\r\n1=/old\r\n4=/four\r\n\r\n[Other]\r\nX=1\r\n");
    TMRU mru;
    mru.Add("/b");
    mru.Add("/a");
    EXPECT_TRUE(mru.Save(path));
    EXPECT_EQ(ReadAll(path), "[MRU]\r\n1=/a\r\n4=/four\r\n2=/b\r\n\r\n[Other]\r\nX=1\r\n");

    TMRU back;
    back.Load(path);
    EXPECT_EQ(Paths(back), (std::vector<AnsiString>{"/a", "/b", "/four"}));
}

}  // namespace
