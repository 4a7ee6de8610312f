// Files, tones, Morse and the serial statements.
#include "tests/macro/builtin_support.h"

#include "macro/Builtins.h"
#include "platform/vcl/SafeWrite.h"

#include <chrono>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Texts as a failure shows them: a long one by its start and its length.
std::vector<std::string> Brief(const std::vector<std::string>& texts)
{
    std::vector<std::string> out;
    for (const std::string& t : texts)
        out.push_back(t.size() <= 40 ? t : t.substr(0, 20) + "... (" + std::to_string(t.size()) + " bytes)");
    return out;
}

// A macro string literal of a path.
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

TEST(BuiltinFiles, WriteThenRead)
{
    std::string path = MacroTestPath("write_read.txt");
    ProgramRun run;
    run.Run("h = open(" + Quoted(path) + ", \"w\")\n"
            "write(h, \"a\")\nwrite(h, \"b\")\nwrite(h, \"\\nsecond line\\n\\nlast\")\nclose(h)\n"
            "h = open(" + Quoted(path) + ", \"r\")\n"
            "vector bline$[6]\n"
            "for (i = 0; i < 6; i++) { bline$[i] = readline(h, 100) }\nclose(h)\n"
            "for (i = 0; i < 6; i++) { set_zr_str(\"ZR_LINE\", \"\" + bline$[i]) }\n"
            "set_zr_qty(\"ZR_EOF\", \"\" + bline$[5] == EOF$)\n");
    EXPECT_EQ(run.Texts(), std::vector<std::string>{});
    EXPECT_EQ(ReadAll(path), "ab\nsecond line\n\nlast");  // write adds no line end
    std::vector<std::string> lines;
    for (const HostCall& c : run.host.calls)
        if (c.name == "SetZRStr") lines.push_back(c.args[1]);
    EXPECT_EQ(lines, (std::vector<std::string>{"ab", "second line", "", "last", "\x1A", "\x1A"}));
    EXPECT_EQ(run.Answers("ZR_EOF"), std::vector<double>{1});
}

// Every mode open takes, on a file that holds "old\n" and on one that is not there: the bytes
// that writing "new" leaves, and the first line a read gets (EOF$ from a stream that cannot read,
// or from an empty file). A mode that cannot open the file is the open's error and changes
// nothing: "x" never empties a file that is there.
TEST(BuiltinFiles, OpenModes)
{
    const std::string eof = "\x1A";
    const struct {
        const char* mode;
        bool exists;
        const char* written;  // null: refused
        std::string read;
    } cases[] = {
        {"r", true, "old\n", "old"},  // a write to a file opened for reading is lost
        {"r", false, nullptr, ""},
        {"rb", true, "old\n", "old"},
        {"rw", true, "old\n", "old"},  // letters after the first other than "+", "b" and "x" count for nothing
        {"r+", true, "new\n", "old"},  // written over from the start
        {"r+", false, nullptr, ""},
        {"rb+", true, "new\n", "old"},
        {"r+b", true, "new\n", "old"},
        {"w", true, "new", eof},
        {"w", false, "new", eof},
        {"wb", true, "new", eof},
        {"w+", true, "new", eof},
        {"w+", false, "new", eof},
        {"w+b", true, "new", eof},
        {"wx", true, nullptr, ""},
        {"wx", false, "new", eof},
        {"w+x", true, nullptr, ""},
        {"w+x", false, "new", eof},
        {"wbx", true, nullptr, ""},
        {"a", true, "old\nnew", eof},
        {"a", false, "new", eof},
        {"ab", true, "old\nnew", eof},
        {"a+", true, "old\nnew", "old"},  // read from the start, written at the end
        {"a+", false, "new", eof},
        {"a+b", true, "old\nnew", "old"},
        {"ax", true, nullptr, ""},
        {"ax", false, "new", eof},
        {"x", false, nullptr, ""},
    };
    const std::string path = MacroTestPath("modes.txt");
    const auto fresh = [&](bool exists) {
        std::filesystem::remove(path);
        if (exists) WriteMacroFile("modes.txt", "old\n");
    };
    for (const auto& c : cases) {
        const std::string name = std::string("\"") + c.mode + "\" on a file " + (c.exists ? "that is there" : "not there");
        const std::string open = "h = open(" + Quoted(path) + ", \"" + c.mode + "\")\n";
        const std::string refused = c.written ? "" : "Error: procopen cannot open:  " + path;
        fresh(c.exists);
        EXPECT_EQ(FirstBox(open + "write(h, \"new\")\nclose(h)\n"), refused) << name;
        if (c.written || c.exists) {
            EXPECT_EQ(ReadAll(path), c.written ? c.written : "old\n") << name;
        } else {
            EXPECT_FALSE(std::filesystem::exists(path)) << name;
        }
        fresh(c.exists);
        ProgramRun run;
        run.Run(open + "set_zr_str(\"ZR_READ\", readline(h, 100))\nclose(h)\n");
        EXPECT_EQ(run.Texts(), refused.empty() ? std::vector<std::string>{} : std::vector<std::string>{refused}) << name;
        std::vector<std::string> read;
        for (const HostCall& call : run.host.calls)
            if (call.name == "SetZRStr") read.push_back(call.args[1]);
        EXPECT_EQ(read, c.written ? std::vector<std::string>{c.read} : std::vector<std::string>{}) << name;
    }
    std::filesystem::remove(path);
}

// A line longer than n - 1 bytes comes in pieces; n below 2 counts as 2; a Windows line end goes.
TEST(BuiltinFiles, ReadInPieces)
{
    struct Case {
        std::string content;
        const char* n;
        std::vector<std::string> pieces;
    } cases[] = {
        {"abcdefg\n", "4", {"abc", "def", "g", "\x1A"}},
        {"abc\n", "4", {"abc", "", "\x1A"}},          // the line end alone is an empty line
        {"ab\n", "0", {"a", "b", "", "\x1A"}},
        {"ab\r\ncd", "100", {"ab", "cd", "\x1A"}},
        {"", "100", {"\x1A"}},
        {std::string("\0ab\n", 4), "100", {"\x1A"}},  // a read that holds no text
        // Lines longer than the reader keeps at hand while it looks for their end.
        {std::string(100000, 'a') + "\r\nb\n", "200000", {std::string(100000, 'a'), "b", "\x1A"}},
        {std::string(100000, 'a'), "80001", {std::string(80000, 'a'), std::string(20000, 'a'), "\x1A"}},
        {std::string(70000, 'a') + '\0' + std::string(50000, 'c') + "\nd", "200000", {std::string(70000, 'a'), "d", "\x1A"}},
        {std::string(70000, 'a') + '\0' + std::string(50000, 'c') + "\nd", "100000", {std::string(70000, 'a'), std::string(20002, 'c'), "d", "\x1A"}},
        // Exactly as much as the reader keeps at hand, with a last byte of its own so that losing
        // or changing it shows: a last line without a line end, and a piece of a longer line.
        {"x\n" + std::string(65535, 'a') + "z", "100000", {"x", std::string(65535, 'a') + "z", "\x1A"}},
        {std::string(65535, 'a') + "z" + "rest\n", "65537", {std::string(65535, 'a') + "z", "rest", "\x1A"}},
        {std::string(65535, 'a') + "z\n", "65537", {std::string(65535, 'a') + "z", "", "\x1A"}},
    };
    for (const Case& c : cases) {
        std::string path = WriteMacroFile("pieces.txt", c.content);
        ProgramRun run;
        std::string program = "h = open(" + Quoted(path) + ", \"r\")\n";
        for (size_t i = 0; i < c.pieces.size(); ++i)
            program += std::string("set_zr_str(\"ZR_P\", readline(h, ") + c.n + "))\n";
        run.Run(program);
        std::vector<std::string> got;
        for (const HostCall& call : run.host.calls) got.push_back(call.args[1]);
        // Every byte compared; a failure shows the texts by their start and length.
        EXPECT_TRUE(got == c.pieces) << ::testing::PrintToString(Brief(got)) << " for " << Brief({c.content})[0]
                                     << " n=" << c.n;
    }
}

struct ErrorCase {
    const char* program;
    const char* box;
};

// A handle that names no open file is reported, never used.
TEST(BuiltinFiles, UnknownHandles)
{
    std::string path = WriteMacroFile("some.txt", "x\n");
    std::string open = "h = open(" + Quoted(path) + ", \"r\")\n";
    const std::string cases[][2] = {
        {"x$ = readline(5000, 10)\n", "Error: readline: file not open 5000"},
        {"write(5000, \"a\")\n", "Error: write: file not open 5000"},
        {"close(5000)\n", "Error: close: file not open 5000"},
        {"close(1e300)\n", "Error: close: file not open 1e+300"},
        {"x$ = readline(3, 10)\n", "Error: readline: readstr read error"},
        {open + "close(h)\nclose(h)\n", "Error: close: file not open 10"},
        {open + "close(h)\nx$ = readline(h, 10)\n", "Error: readline: file not open "},
        {"h = open(\"/no/such/dir/file\", \"r\")\n", "Error: procopen cannot open:  /no/such/dir/file"},
        {"h = open(" + Quoted(path) + ", \"\")\n", "Error: procopen cannot open:  " + path},
        // Descriptors below 1,025 lead nowhere: writing and closing them do nothing.
        {"write(1, \"a\")\nclose(2)\nclose(0)\n", ""},
    };
    for (const auto& c : cases) {
        std::string box = FirstBox(c[0]);
        EXPECT_EQ(box.substr(0, c[1].size()), c[1]) << c[0];
        if (c[1].empty()) {
            EXPECT_EQ(box, "") << c[0];
        }
    }
}

// Handles count up from 1,025; a file an earlier run left open is closed by the next run.
TEST(BuiltinFiles, HandlesLiveOneRun)
{
    std::string path = MacroTestPath("left_open.txt");
    ProgramRun first;
    first.Run("h = open(" + Quoted(path) + ", \"w\")\nwrite(h, \"kept\")\nset_zr_qty(\"ZR_H\", h)\n");
    ASSERT_EQ(first.Answers("ZR_H").size(), 1u);
    EXPECT_GE(first.Answers("ZR_H")[0], 1025);
    EXPECT_EQ(ReadAll(path), "kept");  // written through at once
    ProgramRun second;
    second.Run("write(h, \"more\")\n");
    EXPECT_EQ(second.Texts().size(), 1u);
    EXPECT_EQ(ReadAll(path), "kept");
}

// Opening without closing, over many runs, never runs out of files.
TEST(BuiltinFiles, ManyRunsLeavingFilesOpen)
{
    std::string path = WriteMacroFile("reopened.txt", "x\n");
    rlimit saved{};
    getrlimit(RLIMIT_NOFILE, &saved);
    rlimit low = saved;
    low.rlim_cur = 128;  // far fewer descriptors than the runs below would leave open
    setrlimit(RLIMIT_NOFILE, &low);
    for (int i = 0; i < 200; ++i) {
        ProgramRun run;
        run.Run("h = open(" + Quoted(path) + ", \"r\")\nh2 = open(" + Quoted(path) + ", \"r\")\n");
        ASSERT_EQ(run.Texts(), std::vector<std::string>{}) << "run " << i;
    }
    macroCloseFiles();
    setrlimit(RLIMIT_NOFILE, &saved);
}

// open takes regular files only, and never waits: a pipe with no other end, a device, a socket
// or a folder, also behind a link, is refused at once like a file that cannot be opened; a link
// to a regular file opens it. Run in a child process, so that an open that waits fails the test.
TEST(BuiltinFiles, OpenTakesRegularFilesWithoutWaiting)
{
    namespace fs = std::filesystem;
    const fs::path dir = MacroTestPath("special");
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string socketPath = (dir / "socket").string();
    int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string regular = WriteMacroFile("special/regular.txt", "line\n");
    fs::create_symlink(fifo, dir / "to_fifo");
    fs::create_symlink(regular, dir / "to_regular");

    const struct {
        std::string path;
        bool opens;
    } cases[] = {
        {fifo, false},
        {(dir / "to_fifo").string(), false},
        {socketPath, false},
        {"/dev/null", false},
        {"/dev/zero", false},
        {dir.string(), false},
        {regular, true},
        {(dir / "to_regular").string(), true},
    };
    // An open comes back at once. One that waits costs this much for each pipe and mode it waits
    // on (eight), so that the test fails with its messages well inside the program's time limit.
    constexpr int kOpenSeconds = 3;
    for (const char* mode : {"r", "w", "a", "r+", "rb"}) {
        for (const auto& c : cases) {
            std::string program = "h = open(" + Quoted(c.path) + ", \"" + mode + "\")\nset_zr_qty(\"H\", h)\n";
            ChildEnd end = RunWatched(
                [&] {
                    ProgramRun run;
                    run.Run(program);
                    const bool refused = run.Texts() == std::vector<std::string>{"Error: procopen cannot open:  " + c.path};
                    const bool opened = run.Texts().empty() && run.LastAnswers().count("H") == 1;
                    return (c.opens ? opened : refused) ? 0 : 1;
                },
                512, kOpenSeconds);
            EXPECT_FALSE(end.overTime) << mode << " " << c.path << ": open waited";
            EXPECT_EQ(end.exitCode, 0) << mode << " " << c.path << (c.opens ? ": not opened" : ": not refused");
        }
        WriteMacroFile("special/regular.txt", "line\n");
    }
    // Writing through a link reaches the file it names; a new name is created.
    const std::string created = (dir / "created.txt").string();
    EXPECT_EQ(FirstBox("h = open(" + Quoted((dir / "to_regular").string()) + ", \"a\")\nwrite(h, \"more\")\n"
                       "close(h)\nh = open(" + Quoted(created) + ", \"w\")\nwrite(h, \"new\")\nclose(h)\n"),
              "");
    EXPECT_EQ(ReadAll(regular), "line\nmore");
    EXPECT_EQ(ReadAll(created), "new");
    close(sock);
    fs::remove_all(dir);
}

// Another user of the machine plants a name in a shared temporary folder (sticky, and everyone
// may write to it) before a pad writes there: a link to the user's own file, a link to a file
// yet to be made, or a file of their own that anyone may write. Every mode that writes refuses it
// with a box that names it, and nothing is written, made or handed over, as Save refuses it;
// reading goes on as before. The user's own names there are written as anywhere. Planting needs
// the right to give a name to another user: without it (an unprivileged run) those rows are left
// out and named.
TEST(BuiltinFiles, WritesRefuseNamesPlantedInSharedFolders)
{
    namespace fs = std::filesystem;
    constexpr uid_t kOther = 4242;
    // What is planted at "shared/report.txt" (or, for a folder, "shared/jobs", the name going on
    // inside it), and what the name then reaches in the user's own folder.
    enum Planted { LinkToOwnFile, LinkToNewFile, FileOfItsOwn, LinkToOwnFolder, LinkToOwnFolderNewFile,
                   LinkInAFolderOfItsOwn, SecondName, SecondNameInAFolderOfItsOwn };
    const std::vector<std::string> writeModes = {"w", "a", "r+", "w+", "a+", "wx", "ax", "wb"};
    const std::string figures = "the user's own figures\n", draft = "their draft\n";
    const struct {
        const char* what;
        Planted planted;
        bool byAnother;
        std::vector<std::string> modes;
        const char* written;  // what the file that is reached holds afterwards; null: refused
        const char* read;     // the first line a read gets; null: there is no file to read
    } rows[] = {
        {"another user's link to the user's file", LinkToOwnFile, true, writeModes, nullptr, "the user's own figures"},
        {"another user's link to a file yet to be made", LinkToNewFile, true, writeModes, nullptr, nullptr},
        {"another user's file that anyone may write", FileOfItsOwn, true, writeModes, nullptr, "their draft"},
        {"the user's own link to their file", LinkToOwnFile, false, {"w"}, "cut list", "the user's own figures"},
        {"the user's own link, appended to", LinkToOwnFile, false, {"a"}, "the user's own figures\ncut list",
         "the user's own figures"},
        {"the user's own link to a file yet to be made", LinkToNewFile, false, {"w"}, "cut list", nullptr},
        {"the user's own file", FileOfItsOwn, false, {"w"}, "cut list", "their draft"},
        {"another user's link to the user's folder", LinkToOwnFolder, true, writeModes, nullptr,
         "the user's own figures"},
        {"another user's link to the user's folder, a file yet to be made", LinkToOwnFolderNewFile, true, writeModes,
         nullptr, nullptr},
        {"another user's link in a folder they made", LinkInAFolderOfItsOwn, true, writeModes, nullptr,
         "the user's own figures"},
        {"a second name of the user's file", SecondName, false, writeModes, nullptr, "the user's own figures"},
        {"a second name of the user's file in a folder another user made", SecondNameInAFolderOfItsOwn, false,
         writeModes, nullptr, "the user's own figures"},
        {"the user's own link to their folder", LinkToOwnFolder, false, {"w"}, "cut list", "the user's own figures"},
        {"the user's own link to their folder, a file yet to be made", LinkToOwnFolderNewFile, false, {"w"},
         "cut list", nullptr},
        {"the user's own link in a folder another user made", LinkInAFolderOfItsOwn, false, {"a"},
         "the user's own figures\ncut list", "the user's own figures"},
    };
    std::vector<std::string> leftOut;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        bool given = true;
        for (const std::string& mode : row.modes) {
            const fs::path own = MacroTestPath("own"), shared = MacroTestPath("shared");
            fs::remove_all(own);
            fs::remove_all(shared);
            fs::create_directories(own);
            fs::create_directories(shared);
            const bool intoFolder = row.planted == LinkToOwnFolder || row.planted == LinkToOwnFolderNewFile;
            const bool newFile = row.planted == LinkToNewFile || row.planted == LinkToOwnFolderNewFile;
            // The name planted, and the folder it lies in.
            const bool ofItsOwn = row.planted == LinkInAFolderOfItsOwn || row.planted == SecondNameInAFolderOfItsOwn;
            const bool secondName = row.planted == SecondName || row.planted == SecondNameInAFolderOfItsOwn;
            const fs::path folder = ofItsOwn ? shared / "adir" : shared;
            const std::string planted = (folder / (intoFolder ? "jobs" : "report.txt")).string();
            const std::string name = intoFolder ? planted + (newFile ? "/new.txt" : "/figures.txt") : planted;
            const std::string target = row.planted == FileOfItsOwn ? name : (own / (newFile ? "new.txt" : "figures.txt")).string();
            if (!newFile && row.planted != FileOfItsOwn) WriteMacroFile("own/figures.txt", figures);
            if (ofItsOwn) {
                fs::create_directories(folder);
                if (::chown(folder.c_str(), kOther, static_cast<gid_t>(-1)) != 0) {
                    ASSERT_EQ(errno, EPERM) << std::strerror(errno);
                    given = false;
                    break;
                }
                ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
            }
            if (row.planted == FileOfItsOwn) {
                WriteMacroFile("shared/report.txt", draft);
                ASSERT_EQ(::chmod(name.c_str(), 0666), 0);
            } else if (secondName) {
                ASSERT_EQ(::link(target.c_str(), name.c_str()), 0);
            } else {
                ASSERT_EQ(::symlink(intoFolder ? own.c_str() : target.c_str(), planted.c_str()), 0);
            }
            if (row.byAnother && ::lchown(planted.c_str(), kOther, static_cast<gid_t>(-1)) != 0) {
                ASSERT_EQ(errno, EPERM) << std::strerror(errno);
                given = false;
                break;
            }
            ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
            const bool existed = fs::exists(target);
            const std::string before = existed ? ReadAll(target) : "";

            // Reading takes the name as it always has.
            if (mode == row.modes.front()) {
                ProgramRun run;
                run.Run("h = open(" + Quoted(name) + ", \"r\")\nset_zr_str(\"ZR_READ\", readline(h, 100))\nclose(h)\n");
                std::vector<std::string> read;
                for (const HostCall& call : run.host.calls)
                    if (call.name == "SetZRStr") read.push_back(call.args[1]);
                if (row.read) {
                    EXPECT_EQ(run.Texts(), std::vector<std::string>{});
                    EXPECT_EQ(read, std::vector<std::string>{row.read});
                } else {
                    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: procopen cannot open:  " + name});
                }
            }
            const std::string box = FirstBox("h = open(" + Quoted(name) + ", \"" + mode + "\")\nwrite(h, \"cut list\")\nclose(h)\n");
            if (row.written) {
                EXPECT_EQ(box, "") << mode;
                EXPECT_EQ(ReadAll(target), row.written) << mode;
            } else {
                EXPECT_EQ(box.substr(0, box.find('\n')), "Error: procopen cannot open:  " + name) << mode;
                EXPECT_NE(box.find("another user"), std::string::npos) << mode << ": " << box;
                EXPECT_EQ(fs::exists(target), existed) << mode;
                if (existed) {
                    EXPECT_EQ(ReadAll(target), before) << mode;
                }
                EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1) << mode << ": nothing made beside it";
            }
            EXPECT_EQ(fs::is_symlink(planted), row.planted != FileOfItsOwn && !secondName) << mode;

            ::chmod(shared.c_str(), 0700);
        }
        if (!given) leftOut.push_back(row.what);
    }
    fs::remove_all(MacroTestPath("own"));
    fs::remove_all(MacroTestPath("shared"));
    if (!leftOut.empty()) {
        std::string names;
        for (const std::string& name : leftOut) names += "\n  " + name;
        GTEST_SKIP() << "Left out, since this user may not give a name to another user:" << names;
    }
}

// Another user races the pad's open: between the check of the name and its open, they put a link
// or a second name of the user's file under it, in a shared folder. What was checked is what is
// opened, or nothing: a name that was free is made new (never opened through what appeared), a
// name that stood there is opened only while it is the same file, and it is emptied only once that
// is known. The user's file stays byte for byte as it was.
TEST(BuiltinFiles, ANamePutThereAfterTheCheckIsNotOpened)
{
    namespace fs = std::filesystem;
    enum Put { Link, SecondName };
    const struct {
        const char* mode;
        bool stood;  // a file of the user's stood under the name at the check
        Put put;     // what takes its place before the open
        mode_t folderMode = 01777;  // 0777: anyone may replace names, not only their own
    } rows[] = {
        {"r+", false, Link},      {"r+", false, SecondName}, {"w", false, Link},  {"w", false, SecondName},
        {"a", false, Link},       {"a", false, SecondName},  {"w+", false, SecondName}, {"w", true, Link},
        {"w", true, SecondName},  {"r+", true, SecondName},  {"a", true, Link},
        {"w", false, SecondName, 0777}, {"a", false, SecondName, 0777}, {"w", true, SecondName, 0777},
        {"r+", false, SecondName, 0777},
    };
    const std::string figures = "the user's own figures\n";
    for (const auto& row : rows) {
        const std::string what = std::string(row.mode) + (row.stood ? " on a file" : " on a free name") +
                                 (row.put == Link ? ", a link put there" : ", a second name put there") +
                                 (row.folderMode == 01777 ? "" : ", anyone may replace names");
        const fs::path own = MacroTestPath("own"), shared = MacroTestPath("shared");
        fs::remove_all(own);
        fs::remove_all(shared);
        fs::create_directories(own);
        fs::create_directories(shared);
        const std::string victim = WriteMacroFile("own/figures.txt", figures);
        const std::string name = (shared / "report.txt").string();
        if (row.stood) WriteMacroFile("shared/report.txt", "the report\n");
        ASSERT_EQ(::chmod(shared.c_str(), row.folderMode), 0);
        int raced = 0;
        const ScopedRaceAfterCheck race([&] {
            ++raced;
            ::unlink(name.c_str());
            if (row.put == Link) ASSERT_EQ(::symlink(victim.c_str(), name.c_str()), 0);
            else ASSERT_EQ(::link(victim.c_str(), name.c_str()), 0);
        });
        const std::string box = FirstBox("h = open(" + Quoted(name) + ", \"" + row.mode + "\")\nwrite(h, \"cut list\")\nclose(h)\n");
        EXPECT_EQ(raced, 1) << what;
        EXPECT_EQ(box.substr(0, box.find('\n')), "Error: procopen cannot open:  " + name) << what;
        EXPECT_NE(box.find("after it was checked"), std::string::npos) << what << ": " << box;
        EXPECT_EQ(ReadAll(victim), figures) << what;
        ::chmod(shared.c_str(), 0700);
    }
    fs::remove_all(MacroTestPath("own"));
    fs::remove_all(MacroTestPath("shared"));
}

TEST(BuiltinDevices, Morse)
{
    std::string speaker = WriteMacroFile("speaker", "");
    const char* saved = macroSpeakerDevice;
    macroSpeakerDevice = speaker.c_str();
    const std::string dot = "730,9,38,9,", dash = "730,27,38,9,", gap = "38 ,27,";
    const std::string s = dot + dot + dot + gap + std::string(1, '\0');
    const std::string o = dash + dash + dash + gap + std::string(1, '\0');
    struct Case {
        const char* text;
        std::string sent;
    } cases[] = {
        {"SOS", s + o + s},
        {"sos", s + o + s},
        {"S!OS", s},                                          // the text ends at "!"
        {"E E", dot + gap + '\0' + gap + gap + '\0' + dot + gap + '\0'},  // a space is a gap
        {"#2E", dot + "38 ,54," + '\0'},                      // "#2" doubles the gaps
        {"#E", dot + "38 ,0," + '\0'},
        {"%{\x80", ""},                                       // nothing for these
        {"[", dot + dash + dot + dash + dot + gap + '\0'},
    };
    for (const Case& c : cases) {
        WriteMacroFile("speaker", "");
        EXPECT_EQ(FirstBox(std::string("morse(\"") + c.text + "\")\n"), "") << c.text;
        EXPECT_EQ(ReadAll(speaker), c.sent) << c.text;
    }
    macroSpeakerDevice = "/no/such/speaker";
    EXPECT_EQ(FirstBox("morse(\"SOS\")\n"), "Error: cannot open:  /no/such/speaker");
    macroSpeakerDevice = saved;
}

// A serial mouse that delivers scripted bytes.
class ScriptedMouse : public MacroDevices {
public:
    std::deque<int> bytes;  // -1: nothing this time
    std::vector<int> readFrom;
    bool ReadByte(int fd, unsigned char& byte) override
    {
        readFrom.push_back(fd);
        if (bytes.empty()) return false;
        int b = bytes.front();
        bytes.pop_front();
        if (b < 0) return false;
        byte = static_cast<unsigned char>(b);
        return true;
    }
};

TEST(BuiltinDevices, SerialMouse)
{
    ScriptedMouse device;
    SetMacroDevices(&device);
    // Left button, dx = +20, dy = -3 (0xFD: high bits 11 in the first byte).
    device.bytes = {0x40 | 0x20 | 0x0C, 20, -1, 0x3D};
    ProgramRun run;
    run.Run("mouse(1, 100, 50, 2)\n"
            "set_zr_qty(\"ZR_X\", mousex(1))\n"
            "set_zr_qty(\"ZR_Y\", mousey(1))\n"
            "set_zr_qty(\"ZR_L\", mouselb(1))\n"
            "set_zr_qty(\"ZR_R\", mouserb(1))\n"
            "set_zr_qty(\"ZR_BIG\", mousex(500))\n"
            "set_zr_qty(\"ZR_BIGL\", mouselb(500))\n");
    SetMacroDevices(nullptr);
    EXPECT_EQ(run.Texts(), std::vector<std::string>{});
    EXPECT_EQ(run.Answers("ZR_X"), std::vector<double>{10});  // 20 / scale 2
    EXPECT_EQ(run.Answers("ZR_Y"), std::vector<double>{0});   // -3 clamped at 0
    EXPECT_EQ(run.Answers("ZR_L"), std::vector<double>{1});
    EXPECT_EQ(run.Answers("ZR_R"), std::vector<double>{0});
    EXPECT_EQ(run.Answers("ZR_BIG"), std::vector<double>{500});  // above 99: the argument
    EXPECT_EQ(run.Answers("ZR_BIGL"), std::vector<double>{0});
    for (int fd : device.readFrom) EXPECT_EQ(fd, 1);
}

TEST(BuiltinDevices, MouseLimits)
{
    ScriptedMouse device;
    SetMacroDevices(&device);
    // Two packets of dx = +127: the position stops at maxX * scale.
    device.bytes = {0x40 | 0x01, 0x7F, 0, 0x40 | 0x01, 0x7F, 0};
    ProgramRun run;
    run.Run("mouse(1, 1, 1, 500)\nx = mousex(1)\nset_zr_qty(\"ZR_X\", mousex(1))\n");
    SetMacroDevices(nullptr);
    EXPECT_EQ(run.Answers("ZR_X"), std::vector<double>{1});  // scale clamped to 100: 100 / 100
}

// Without a device nothing is read and nothing waits.
TEST(BuiltinDevices, NoDevices)
{
    const char* exprs[] = {"mousex(0) - mousex(0)", "mousey(3) - mousey(3)", "mouselb(0)", "mouserb((-)1)", "getkey(0)",
                           "extgetkey(1)", "vgamouse(1, 2, 3)", "comlines(0)"};
    for (const char* e : exprs) EXPECT_EQ(EvalNum(e, "mouse(0, 10, 10, 0)\n"), 0) << e;
    EXPECT_EQ(EvalNum("comlines(5) + combytes(2)"), 7);
    EXPECT_EQ(FirstBox("comon(1)\ncomoff(1)\nvgacolor(3)\nclearscreen(1, 2, 3)\ndrawline(1, 2, 3, 4, 5)\n"), "");
}

TEST(BuiltinDevices, Play)
{
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FirstBox("play(440, 30)\nbeep(0, 100000)\nplay(440, (-)5)\nplay(1e300, 1e300)\n"), "");
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(30));  // the tone's time is honoured
    EXPECT_LT(took, std::chrono::seconds(5));        // a tone that cannot sound does not wait
}

}  // namespace
