// A pad from someone else is safe to open: the calculation that opening makes runs the pad's
// arithmetic and questions but opens no file or device. Its first such statement ends the run with
// a box that names it; the user's own calculation (either button, a change of the answer's
// precision) runs the whole pad.
#include "tests/app/files_form.h"
#include "tests/common/DialogRecorder.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>

namespace {

struct Victims {
    AnsiString appended, emptied;
    static constexpr const char* kAppended = "alias ls='ls --color'\n";
    static constexpr const char* kEmptied = "the user's own notes\n";

    explicit Victims(const ShownForm& f) : appended(f.Path("bash_aliases")), emptied(f.Path("notes.txt")) { Reset(); }
    void Reset() const
    {
        PadTestFiles::Write(appended, kAppended);
        PadTestFiles::Write(emptied, kEmptied);
    }
    bool Untouched() const
    {
        return PadTestFiles::Read(appended) == kAppended && PadTestFiles::Read(emptied) == kEmptied;
    }
    bool Written() const
    {
        return PadTestFiles::Read(appended) == AnsiString(kAppended) + "echo hello\n" &&
               PadTestFiles::Read(emptied).empty();
    }
};

// The pad's lines: a question, arithmetic, then the statements that reach outside.
QStringList PadLinesFor(const Victims& v)
{
    return {
        "message \"Opening the quote\"",
        "x = 2 + 3",
        "h = open(\"" + Win1252ToUnicode(v.appended) + "\", \"a\")",
        "if (h > 0) then write(h, \"echo hello\" + chr(10)) endif",
        "if (h > 0) then close(h) endif",
        "g = open(\"" + Win1252ToUnicode(v.emptied) + "\", \"w\")",
        "x * 2",
    };
}

AnsiString PadFileFor(const QStringList& lines)
{
    return "_Date=7 Dec 2026 10:00:00\n_Description=Quote\n_Data\n" + UnicodeToWin1252(lines.join('\n')) + "\n";
}

std::vector<DialogCall> MacroBoxes(const DialogRecorder& recorder)
{
    std::vector<DialogCall> boxes;
    for (const DialogCall& call : recorder.calls)
        if (call.kind == DialogCall::Kind::MessageBox) boxes.push_back(call);
    return boxes;
}

// The first lines of the pad pane, as many as the pad has.
QStringList Shown(const ShownForm& f, qsizetype count) { return f.PadLines().mid(0, count); }

}  // namespace

TEST(OpenSafety, OpeningAPadTouchesNothingOutsideItUntilTheUserCalculates)
{
    const struct {
        const char* how;
        std::function<void(ShownForm&, const AnsiString&, DialogRecorder&)> open;
    } ways[] = {
        {"the Open dialog",
         [](ShownForm& f, const AnsiString& path, DialogRecorder& answers) {
             answers.Answer(1, {Win1252ToUnicode(path)});
             f->Open1->Click();
         }},
        {"a recent-files item",
         [](ShownForm& f, const AnsiString& path, DialogRecorder&) {
             Config->MRU.Add(path);
             f->UpdateMRUMenu();
             f->MRU_File1->Click();
         }},
    };
    const struct {
        const char* what;
        std::function<void(ShownForm&)> ask;
    } asks[] = {
        {"Calculate", [](ShownForm& f) { f->Btn_CalculateOnly->Click(); }},
        {"Calculate and Total", [](ShownForm& f) { f->Btn_CalculateAndTotal->Click(); }},
        {"a precision change",
         [](ShownForm& f) {
             f->Cmb_Precision->SetItemIndex(2);
             f->Cmb_PrecisionChange(nullptr);
         }},
    };
    for (const auto& way : ways) {
        for (const auto& ask : asks) {
            ShownForm f;
            const Victims victims(f);
            const QStringList lines = PadLinesFor(victims);
            const AnsiString pad = f.Path("quote.pad");
            PadTestFiles::Write(pad, PadFileFor(lines));

            DialogRecorder recorder;
            way.open(f, pad, recorder);
            EXPECT_TRUE(victims.Untouched()) << way.how;
            EXPECT_EQ(Shown(f, lines.size()), lines) << way.how;
            const std::vector<DialogCall> boxes = MacroBoxes(recorder);
            // The pad's question was asked; then its first open ended the run.
            ASSERT_EQ(boxes.size(), 2u) << way.how << ": " << boxes.front().text.toStdString();
            EXPECT_EQ(boxes[0].text.toStdString(), "Opening the quote") << way.how;
            EXPECT_EQ(boxes[1].caption.toStdString(), "Macro Error") << way.how;
            EXPECT_EQ(boxes[1].text.toStdString(), "Error: open reaches outside the pad and is not run when a pad is "
                                                   "opened: Calculate runs it")
                << way.how;

            recorder.calls.clear();
            ask.ask(f);
            EXPECT_TRUE(victims.Written()) << way.how << ", then " << ask.what;
            EXPECT_EQ(MacroBoxes(recorder).size(), 1u) << way.how << ", then " << ask.what;  // the question only
            EXPECT_TRUE(f.ResultLines().value(6).startsWith("10")) << way.how << ", then " << ask.what;
        }
    }
}

// A device statement is held back the same way and named in the box; a pad that reaches nothing
// outside calculates on opening as ever.
TEST(OpenSafety, DeviceStatementsWaitForCalculateAndPlainPadsCalculateOnOpening)
{
    const struct {
        QStringList lines;
        QString box;          // the one box on opening ("" none)
        QString firstAnswer;  // the answer beside the first line
    } cases[] = {
        {{"1 + 2", "if (1) then morse(\"SOS\") endif"},
         "Error: morse reaches outside the pad and is not run when a pad is opened: Calculate runs it", ""},
        {{"1 + 2", "y = 4", "y * 3"}, "", "3"},
    };
    for (const auto& c : cases) {
        ShownForm f;
        const AnsiString pad = f.Path("device.pad");
        PadTestFiles::Write(pad, PadFileFor(c.lines));
        DialogRecorder recorder;
        recorder.Answer(1, {Win1252ToUnicode(pad)});
        f->Open1->Click();
        const std::vector<DialogCall> boxes = MacroBoxes(recorder);
        if (c.box.isEmpty()) {
            EXPECT_TRUE(boxes.empty()) << boxes.front().text.toStdString();
        } else {
            ASSERT_EQ(boxes.size(), 1u) << c.lines.join(" | ").toStdString();
            EXPECT_EQ(boxes[0].text.toStdString(), c.box.toStdString());
        }
        EXPECT_EQ(Shown(f, c.lines.size()), c.lines);
        EXPECT_EQ(f.ResultLines().value(0), c.firstAnswer) << c.lines.join(" | ").toStdString();
    }
}
