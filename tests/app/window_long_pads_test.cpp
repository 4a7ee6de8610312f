// Pads beyond what the window holds are refused with one box before anything is loaded; pads
// within it open whole.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include "app/PadFile.h"
#include "app/PadLimits.h"

#include <QFile>
#include <fstream>
#include <gtest/gtest.h>

namespace {

void Open(const Window& w, const AnsiString& path)
{
    Config->MRU.Add(path);
    Config->MRU.OpenIndex = 1;
    w->Open1Click(nullptr);
}

}  // namespace

TEST(WindowLongPads, TooLargeIsRefusedOnceAndWithinLimitsOpens)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    const struct {
        const char* name;
        std::function<void(std::ofstream&)> write;
        const char* refusal;  // part of the box's text, null when the pad opens
    } cases[] = {
        {"one long line", [](std::ofstream& out) { out << "_Data\n" << std::string(10000, '1') << "+1\n"; },
         "line 2 has more than 1023 characters"},
        // A name outside the code page is the file's own name, in the box too.
        {"\xd0\x94\xd0\xbe\xd0\xbc long", [](std::ofstream& out) { out << std::string(2000, '1') << "\n"; },
         "\xd0\x94\xd0\xbe\xd0\xbc long.pad as a pad: line 1 has more than 1023"},
        {"a long line of sums", [](std::ofstream& out) {
             out << "_Data\n5\n";
             for (int i = 0; i < 5000; ++i) out << "1 + ";
             out << "1\n";
         }, "line 3 has more than 1023"},
        {"too many lines", [](std::ofstream& out) {
             for (int i = 0; i <= MaxPadFileLines; ++i) out << "1\n";
         }, "more than 200000 lines"},
        {"too many bytes", [](std::ofstream& out) {
             const std::string line(1000, ' ');
             for (std::int64_t written = 0; written <= MaxPadFileBytes; written += 1001) out << line << "\n";
         }, "larger than 16 MB"},
        {"the longest line that fits", [](std::ofstream& out) { out << std::string(MaxPadFileLine - 1, ' ') << "1\r\n"; },
         nullptr},
    };
    for (const auto& c : cases) {
        DialogRecorder dialogs;
        Window w;
        const std::string path = folder + c.name + ".pad";
        {
            std::ofstream out(path, std::ios::binary);
            c.write(out);
        }
        Open(w, path);
        if (c.refusal) {
            ASSERT_EQ(dialogs.calls.size(), 1u) << c.name;
            EXPECT_EQ(dialogs.calls[0].caption, "File Open Error") << c.name;
            EXPECT_TRUE(dialogs.calls[0].text.contains(QString::fromUtf8(c.refusal))) << c.name << ": " << dialogs.calls[0].text.toStdString();
            EXPECT_TRUE(w.Pad().join("").isEmpty()) << c.name;
        } else {
            EXPECT_TRUE(dialogs.calls.empty()) << c.name;
            EXPECT_EQ(w.Answers().value(0), "1") << c.name;
        }
        EXPECT_EQ(w->RichEdit_LineNo->LineCount(), w->RichEdit_Main->LineCount()) << c.name;
    }
}
