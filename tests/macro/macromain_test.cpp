// The host bridge: the error box's text rules, the message and question boxes, the "#U..;"
// escapes, the string store, and the input form's answer and layout.
#include "macro/MacroInput.h"
#include "macro/Macromain.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinDefs.h"
#include "tests/common/DialogRecorder.h"

#include <QLabel>
#include <QLineEdit>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string S(const QString& q) { return q.toStdString(); }

TEST(MacroErrorBox, TextRules)
{
    const char* run = "/tmp/calc/Temp/MacroRunLine.Tmp";
    const struct {
        const char* name;
        const char* message;
        const char* detail;
        const char* file;
        int line;
        const char* text;
    } cases[] = {
        {"syntax error in the pad", "parse error", "in line number 3:\nx = = 1\n", run, 9,
         "Error: parse error in line number 3:\nx = = 1\n"},
        {"undefined variable quotes the name", "undefined variable", "x", run, 4, "Error: undefined variable \"x\""},
        {"non-variable shows no detail", "attempt to evaluate non-variable", "sin", run, 4,
         "Error: attempt to evaluate non-variable"},
        {"run-time error without detail", "division by zero", nullptr, run, 4, "Error: division by zero"},
        {"name and phrase", "f", "call nested too deep", run, 4, "Error: f call nested too deep"},
        {"xvar detail in the run file", "bad value", "xvar = 12", run, 4, "Error: bad value\n 12"},
        {"xvar detail in another file", "bad value", "xvar = 12", "/m/prog.mac", 4,
         "Error: bad value xvar = 12 in \"/m/prog.mac\" near line 2\n"},
        {"another file: file name and line", "division by zero", nullptr, "/m/prog.mac", 7,
         "Error: division by zero in \"/m/prog.mac\" near line 5\n"},
        {"another file, syntax error: no near line", "parse error", "in line number 4:\nfoo\n", "/m/prog.mac", 9,
         "Error: parse error in line number 4:\nfoo\n in \"/m/prog.mac\""},
        {"the bare run-file name is not the run file", "oops", nullptr, "MacroRunLine.Tmp", 3,
         "Error: oops in \"MacroRunLine.Tmp\" near line 1\n"},
        {"the run-file test is case-sensitive", "oops", nullptr, "/t/macrorunline.tmp", 3,
         "Error: oops in \"/t/macrorunline.tmp\" near line 1\n"},
        {"no file", "oops", "d", nullptr, 3, "Error: oops d"},
    };
    for (const auto& c : cases) {
        DialogRecorder rec;
        ShowMacroError(c.message, c.detail, c.file, c.line);
        ASSERT_EQ(rec.calls.size(), 1u) << c.name;
        EXPECT_EQ(S(rec.calls[0].text), c.text) << c.name;
        EXPECT_EQ(S(rec.calls[0].caption), "Macro Error") << c.name;
        EXPECT_EQ(rec.calls[0].flags, 0x1010u) << c.name;
    }
}

// Each text the box quotes shows its first 511 bytes: the message, the detail and the file name.
TEST(MacroErrorBox, LongTextsAreCut)
{
    const std::string huge(5000, 'd'), name = "/m/" + std::string(5000, 'n'), kept(511, 'd');
    DialogRecorder rec;
    ShowMacroError(huge.c_str(), huge.c_str(), name.c_str(), 3);
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(S(rec.calls[0].text), "Error: " + kept + " " + kept + " in \"" + name.substr(0, 511) + "\" near line 1\n");
}

TEST(MacroBoxes, MessageAndYesNo)
{
    DialogRecorder rec;
    ShowMacroMessage("cost #U36;5");
    rec.Answer(IDYES);
    AskMacroYesNo("Go on?");
    EXPECT_EQ(macroInputResult, 1.0);
    rec.Answer(IDNO);
    AskMacroYesNo("Go on?");
    EXPECT_EQ(macroInputResult, 0.0);
    ASSERT_EQ(rec.calls.size(), 3u);
    EXPECT_EQ(S(rec.calls[0].text), "cost $5");
    EXPECT_EQ(S(rec.calls[0].caption), "Message");
    EXPECT_EQ(rec.calls[0].flags, 0x1040u);
    EXPECT_EQ(S(rec.calls[1].text), "Go on?");
    EXPECT_EQ(S(rec.calls[1].caption), "Input");
    EXPECT_EQ(rec.calls[1].flags, 0x1024u);
}

TEST(MacroBoxes, AskGoesThroughTheInputForm)
{
    DialogRecorder rec;
    rec.Answer(1, {"12.5"});
    AskMacroInput("Length #U40;m#U41;?");
    EXPECT_EQ(macroInputResult, 12.5);
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.calls[0].kind, DialogCall::Kind::MacroInput);
    EXPECT_EQ(S(rec.calls[0].caption), "Input");
    EXPECT_EQ(rec.calls[0].fields, QStringList{QStringLiteral("Length (m)?")});
}

TEST(UnicodeEscapes, Decoding)
{
    const struct {
        const char* in;
        const char16_t* out;
    } cases[] = {
        {"", u""},
        {"plain text", u"plain text"},
        {"#U36;", u"$"},
        {"a#U233;b", u"a\u00e9b"},
        {"#U$E9;", u"\u00e9"},
        {"#U0xE9;", u"\u00e9"},
        {"#Uzz;", u"@"},
        {"#U65", u"A"},  // no ';': the rest is the number
        {"#5", u"#5"},
        {"price#", u"price#"},
        {"#a#U66;U", u"#a#U66;U"},  // the first '#' carries the scan to the next 'U'
        {"#U72;#U105;", u"Hi"},
    };
    for (const auto& c : cases) {
        QString out = DecodeUnicodeEscapes(QString::fromLatin1(c.in));
        EXPECT_EQ(out, QString::fromUtf16(c.out)) << c.in << " gave " << S(out);
    }
}

TEST(UnicodeEscapes, NextTokenA)
{
    const struct {
        const char* text;
        const char* delimiters;
        int position;
        const char* token;
        int after;
    } cases[] = {
        {nullptr, ",", 3, "", 0},
        {"", ",", 3, "", 0},
        {"abc", ",", 5, "", 5},
        {"a,b", ",", 0, "a", 2},
        {"a,b", ",", 2, "b", 4},
        {",b", ",", 0, "", 1},
        {"a;b#c", "#;", 0, "a", 2},
    };
    for (const auto& c : cases) {
        int pos = c.position;
        EXPECT_EQ(NextTokenA(c.text, c.delimiters, &pos), c.token) << (c.text ? c.text : "(null)");
        EXPECT_EQ(pos, c.after) << (c.text ? c.text : "(null)");
    }
}

TEST(StringStore, SlotsAndTheirLimits)
{
    DialogRecorder rec;
    ResetMacroStrings();
    EXPECT_EQ(MacroStringSlots(), 256);
    std::string longest(511, 'a'), tooLong(600, 'b');
    EXPECT_EQ(std::string(StoreMacroString(longest.c_str())), longest);
    EXPECT_STREQ(StoreMacroString(tooLong.c_str()), "String too long");
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(S(rec.calls[0].caption), "Macro System Error");
    // The box quotes as much of the text as a slot would have held.
    EXPECT_EQ(S(rec.calls[0].text), "Error: Macro string variable has string length > 512 - truncated\n" + tooLong.substr(0, 511));
    for (int i = 2; i < 256; ++i) StoreMacroString("x");
    EXPECT_EQ(macroStringCount, 256);
    EXPECT_STREQ(StoreMacroString("one more"), "one more");  // still a valid text
    ASSERT_EQ(rec.calls.size(), 2u);
    EXPECT_EQ(S(rec.calls[1].text), "Error: Macro Internal strings > 255 - increase charStack vector size");
    EXPECT_EQ(rec.calls[1].flags, 0x1010u);
    ClearMacroStrings();
    EXPECT_EQ(MacroStringSlots(), 0);
    EXPECT_EQ(macroStringCount, 0);
}

TEST(InputForm, Answers)
{
    const struct {
        const char* typed;
        double result;
        bool errorBox;
    } cases[] = {
        {"", 0, false},       {"   ", 0, false},     {" y ", 89, false},   {"N", 78, false},
        {"-2.5", -2.5, false}, {"+3", 3, false},     {".5", 0.5, false},   {"abc", 65, false},
        {"1.2.3", 0, true},   {"/5", 0, true},       {"12 ", 12, false},   {"\xc3\xa9", -55, false},
    };
    Tfrm_MacroInput form;
    for (const auto& c : cases) {
        DialogRecorder rec;
        form.Result = 99;
        form.Edit1->setText(QString::fromUtf8(c.typed));
        form.OKClick();
        EXPECT_EQ(form.Result, c.result) << c.typed;
        EXPECT_EQ(rec.calls.size(), c.errorBox ? 1u : 0u) << c.typed;
    }
}

TEST(InputForm, Layout)
{
    Tfrm_MacroInput form;
    EXPECT_EQ(S(form.CaptionText), "Input");
    EXPECT_EQ(form.width(), 561);
    EXPECT_EQ(form.height(), 210);

    form.Prompt = QStringLiteral("Width?");
    form.CaptionText = QStringLiteral("Ask");
    form.FormShow();
    EXPECT_EQ(S(form.windowTitle()), "Ask");
    QLabel* label = form.Label_Question;
    EXPECT_EQ(label->x() + label->width(), 258);  // right-justified at the reference edge
    EXPECT_EQ(form.Edit1->x(), 264);
    EXPECT_TRUE(form.Edit1->text().isEmpty());
    int shortTop = label->y();
    int oneLine = label->height();

    form.Prompt = QString(60, QLatin1Char('W'));  // far wider than 200 pixels
    form.FormShow();
    ASSERT_GT(label->width(), 200);
    EXPECT_EQ(form.Edit1->x(), 364);
    EXPECT_EQ(label->x() + label->width(), std::max(5 + label->width(), 358));

    form.Prompt = QStringLiteral("First line\nSecond line");
    form.FormShow();
    int growth = label->height() - oneLine;
    ASSERT_GT(growth, 0);
    EXPECT_EQ(label->y(), shortTop - growth / 2);
    EXPECT_EQ(label->x(), std::max(5, 216 - label->width()));
    EXPECT_TRUE(label->alignment() & Qt::AlignLeft);
}

}  // namespace
