// The getters and conversion services of the pad host: quantity, length and money texts, the
// locale's separators, the test accessors and their "Macro Error" boxes.
#include "macro/Run.h"
#include "macro/RunControl.h"
#include "platform/win/WinDefs.h"
#include "tests/calc/PadFixture.h"
#include "tests/common/TestProcess.h"

#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace {

// A text as a failure shows it: one longer than a box shows is cut short, with its length.
std::string Brief(const std::string& text)
{
    return text.size() <= 600 ? text : text.substr(0, 600) + "... (" + std::to_string(text.size()) + " bytes)";
}
std::string Brief(const QString& text) { return Brief(text.toStdString()); }


// Keeps what a run's boxes tell it, and asks for the stop once a third box is up (or, were the
// boxes not to tell it, once fifty were shown: the run ends either way).
class BoxWatch : public TRunWatch {
public:
    explicit BoxWatch(const DialogRecorder& dialogs) : dialogs_(dialogs) {}
    bool StopRequested() override { return waits.size() >= 3 || dialogs_.calls.size() >= 50; }
    void UserWaits(bool again) override { waits.push_back(again); }
    void UserAnswered() override { ++answered; }
    std::vector<bool> waits;
    size_t answered = 0;

private:
    const DialogRecorder& dialogs_;
};

class HostGetterTest : public PadFixture {
protected:
    void TearDown() override
    {
        QLocale::setDefault(savedQLocale);
        PadFixture::TearDown();
    }
    TPadMacroHost& host = PadMacroHost();
    QLocale savedQLocale;
};

TEST_F(HostGetterTest, QtyStr)
{
    const struct {
        double value;
        int decimals;
        const char* text;
    } rows[] = {
        {2.5, 3, "2.5"},          {1.23456789, 7, "1.23457"}, {3, 2, "3"},
        {2.5, 0, "3"},            {-2.5, 0, "-3"},            {1.25, 1, "1.3"},
        {1.23456789, 4, "1.2346"}, {1.23456789, -1, "1.23457"}, {0.000001, 3, "0"},
        {1e20, 2, "100000000000000000000"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(host.GetQtyStr(row.value, row.decimals), row.text) << row.value << " with " << row.decimals;
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(host.GetQtyStr(2.5, 2), "2,5");
}

TEST_F(HostGetterTest, LengthAndAreaStrFollowTheInputUnit)
{
    Config->InputUnit = TLengthScale(TLengthScale::IMPERIAL);
    EXPECT_EQ(host.GetLengthStr(1000), "3'-3\"");  // to the inch
    EXPECT_EQ(host.GetAreaStr(1), "10'-9\"");
    Config->InputUnit = TLengthScale(TLengthScale::MM);
    EXPECT_EQ(host.GetLengthStr(1234.4), "1234");
}

TEST_F(HostGetterTest, ZRQtyAndZRStr)
{
    EXPECT_EQ(host.GetZRQty("test"), 99.0);
    EXPECT_EQ(host.GetZRQty("TEST"), 99.0);
    EXPECT_EQ(host.GetZRStr("Test"), "Debug Test");
    EXPECT_EQ(host.GetZRStr("zr_user_name$"), "");
    EXPECT_TRUE(dialogs.calls.empty());

    // A name of a megabyte (a pad's text) shows only the first 511 bytes of the box's text.
    const std::string longName = "L" + std::string(1 << 20, 'n');
    const struct {
        bool text;
        std::string name;
        std::string shown;
    } rows[] = {
        {false, "WIDTH", "Error executing macro...\nGetZRQty(\"WIDTH\")\nIllegal Variable: WIDTH\nReturning 0"},
        {true, "zr_user_name",
         "Error executing macro...\nGetZRStr(\"zr_user_name\")\nIllegal Variable: zr_user_name\n"
         "Returning a blank string"},
        {true, "ZR_CLIENT$",
         "Error executing macro...\nGetZRStr(\"ZR_CLIENT$\")\nIllegal Variable: ZR_CLIENT$\nReturning a blank string"},
        {true, "$", "Error executing macro...\nGetZRStr(\"$\")\nIllegal Variable: $\nReturning a blank string"},
        {false, "TESTS", "Error executing macro...\nGetZRQty(\"TESTS\")\nIllegal Variable: TESTS\nReturning 0"},
        {false, longName, ("Error executing macro...\nGetZRQty(\"" + longName).substr(0, 511)},
        {true, longName, ("Error executing macro...\nGetZRStr(\"" + longName).substr(0, 511)},
        {true, "ZR_USER_" + longName, ("Error executing macro...\nGetZRStr(\"ZR_USER_" + longName).substr(0, 511)},
    };
    for (const auto& row : rows) {
        const std::string trace = row.name.substr(0, 20);
        dialogs.calls.clear();
        if (row.text)
            EXPECT_EQ(host.GetZRStr(row.name.c_str()), "") << trace;
        else
            EXPECT_EQ(host.GetZRQty(row.name.c_str()), 0.0) << trace;
        ASSERT_EQ(dialogs.calls.size(), 1u) << trace;
        EXPECT_EQ(dialogs.calls[0].caption, "Macro Error");
        EXPECT_EQ(dialogs.calls[0].flags, unsigned(MB_ICONINFORMATION | MB_SYSTEMMODAL));
        EXPECT_EQ(Brief(dialogs.calls[0].text), row.shown) << trace;
    }
    dialogs.calls.clear();
    EXPECT_EQ(host.GetZRStr(("ZR_USER_" + longName + "$").c_str()), "");
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(HostGetterTest, IntegerVariableGivesSeparatorCodes)
{
    const struct {
        const char* name;
        char decimal, thousand, list;
        int code;
    } rows[] = {
        {"THOUSANDSEPARATOR", '.', ',', ';', 44},
        {"thousandseparator", '.', ',', ';', 44},
        {"ThousandsSeparator", '.', '\xA0', ';', -96},
        {"DECIMALSEPARATOR", ',', '.', ';', 44},
        {"LISTSEPARATOR", '.', ',', ';', 59},
    };
    for (const auto& row : rows) {
        FormatSettings().DecimalSeparator = row.decimal;
        FormatSettings().ThousandSeparator = row.thousand;
        FormatSettings().ListSeparator = row.list;
        EXPECT_EQ(host.GetIntegerVariable(row.name), row.code) << row.name;
    }
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(host.GetIntegerVariable("Separator"), 0);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].text, "Error executing macro...\nGetIntegerVariable(\"Separator\")\nMacro Variable illegal");
    const std::string longName(100000, 'S');
    EXPECT_EQ(host.GetIntegerVariable(longName.c_str()), 0);
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(Brief(dialogs.calls[1].text),
              ("Error executing macro...\nGetIntegerVariable(\"" + longName).substr(0, 511));
}

TEST_F(HostGetterTest, ReplaceSeparatorStr)
{
    FormatSettings().ListSeparator = ',';
    // The interpreter keeps 511 bytes of the result; no more of it is made.
    const std::string commas(5000, ','), x600(600, 'x');
    std::string abs;
    while (abs.size() < 512) abs += "ab";
    const struct {
        std::string text;
        std::string replacement;
        std::string result;
    } rows[] = {
        {"a,b,,c", ";", "a;b;;c"},
        {"a,b,c", "", "abc"},
        {"a,b", "<,>", "a<,>b"},  // a replacement holding the separator is not replaced again
        {",", ",,", ",,"},
        {"", "x", ""},
        {"abc", "x", "abc"},
        {"a,b", x600, "a" + x600.substr(0, 510)},
        {commas, "ab", abs.substr(0, 511)},
        {commas + "tail", "", "tail"},
        {std::string(510, 'y') + ",z", "12", std::string(510, 'y') + "1"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Brief(host.ReplaceSeparatorStr(row.text.c_str(), row.replacement.c_str())), row.result)
            << row.text.substr(0, 20) << " / " << row.replacement.substr(0, 20);
}

TEST_F(HostGetterTest, PriceStr)
{
    FormatSettings().ListSeparator = ',';
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(host.GetPriceStr(1234.5), "$1,234.50");
    EXPECT_EQ(host.GetPriceNoSeparatorStr(1234.5), "$1234.50");
    // The euro sign is no ASCII character: blanked, and the blank trimmed away.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(host.GetPriceStr(1234.5), "1.234,50");
    FormatSettings().ListSeparator = '.';
    EXPECT_EQ(host.GetPriceNoSeparatorStr(1234.5), "1234,50");
}

// The "Macro Error" boxes of the estimate functions are boxes of the run, as a message is: the
// time in them is the user's, the same box shown again tells that the boxes come in a loop (the
// window then shows its Stop box beside them), and the stop is looked at after each one, so that
// a Stop given in the third box ends the run there.
TEST_F(HostGetterTest, ALoopOfMacroErrorBoxesEndsAtTheBoxStopWasGivenIn)
{
    const char* const calls[] = {
        "x = get_zr_qty(\"a\")",
        "x$ = get_zr_str(\"a\")",
        "set_zr_str(\"a\", \"b\")",
        "set_zr_qty(\"a\", 1)",
    };
    for (const char* call : calls) {
        dialogs.calls.clear();
        BoxWatch watch(dialogs);
        {
            // A loop that nothing stops ends the test program, failed, instead of hanging it.
            const Watchdog watchdog(std::chrono::seconds(20));
            const MacroWatchedRun watched(&watch);
            const AnsiString path = Folder() + "/loop.mac";
            std::ofstream(path) << "while (1 == 1) {\n" << call << "\n}\n";
            RunMacroFile(path.c_str());
        }
        // The estimate function's boxes are information boxes; the run's report that it stopped is not.
        int errorBoxes = 0;
        for (const DialogCall& c : dialogs.calls) errorBoxes += c.flags == unsigned(MB_ICONINFORMATION | MB_SYSTEMMODAL);
        EXPECT_EQ(errorBoxes, 3) << call;
        ASSERT_FALSE(dialogs.calls.empty()) << call;
        const QString last = dialogs.calls.back().text;
        EXPECT_TRUE(last.startsWith("Error: stopped")) << call << ": " << last.toStdString();
        ASSERT_GE(watch.waits.size(), 3u) << call;
        const std::vector<bool> firstThree(watch.waits.begin(), watch.waits.begin() + 3);
        EXPECT_EQ(firstThree, (std::vector<bool>{false, true, true})) << call;
        EXPECT_EQ(watch.answered, watch.waits.size()) << call;
    }
}

// A pad that doubles a text twenty times (3 MB) and asks get_zr_qty for it, calculated as opening
// it does: the real box comes at once, with 511 bytes of the text. Laid out whole (6 MB, the name
// twice) it took seconds and hundreds of megabytes, minutes and gigabytes for a longer text.
TEST_F(HostGetterTest, TheBoxOfALongNameComesAtOnce)
{
    const ChildEnd end = RunWatched(
        [this] {
            SetDialogHandler({});
            std::vector<size_t> shown;
            QTimer closer;
            closer.setInterval(1);
            QObject::connect(&closer, &QTimer::timeout, [&shown] {
                QWidget* box = ShownDialog();
                if (!box) return;
                if (auto* message = qobject_cast<QMessageBox*>(box))
                    shown.push_back(UnicodeToWin1252(message->text()).size());
                static_cast<QDialog*>(box)->done(0);
            });
            closer.start();
            std::vector<AnsiString> pad = {"a$ = \"ab \"", "for (i = 0; i < 20; i++) { a$ = a$ + a$ }",
                                           "x = get_zr_qty(a$)"};
            PadCalculationOptions options;
            options.reachOutside = false;
            CalculatePadLines(state, pad, false, options);
            return shown.size() == 1 && shown[0] == 511 ? 0 : 1;
        },
        100, 5);
    EXPECT_FALSE(end.overMemory) << "the box took more than 100 MB";
    EXPECT_FALSE(end.overTime) << "the box did not come and go within 5 seconds";
    EXPECT_EQ(end.exitCode, 0) << "not one box of 511 bytes";
}

// replaceseparatorstr with 2^20 separators and a replacement of 65,536 characters: the result is
// its first 511 bytes, and no more of it is made (the whole would be 64 GB, and still 512 MB with
// each replacement cut to the 511 bytes a result keeps).
TEST_F(HostGetterTest, ReplaceSeparatorStrMakesNoMoreThanItKeeps)
{
    FormatSettings().ListSeparator = ',';
    const ChildEnd end = RunWatched(
        [this] {
            const AnsiString path = Folder() + "/replace.mac";
            std::ofstream(path) << "s$ = \",\"\nfor (i = 0; i < 20; i++) { s$ = s$ + s$ }\n"
                                   "r$ = \"x\"\nfor (i = 0; i < 16; i++) { r$ = r$ + r$ }\n"
                                   "t$ = replaceseparatorstr(s$, r$)\n"
                                   "set_zr_qty(\"ZR_VARIABLE_1\", len(t$))\n";
            RunMacroFile(path.c_str());
            return state.MacroVariables[0] == 511 && dialogs.calls.empty() ? 0 : 1;
        },
        64, 10);
    EXPECT_FALSE(end.overMemory) << "replaceseparatorstr took more than 64 MB";
    EXPECT_FALSE(end.overTime) << "replaceseparatorstr did not end within 10 seconds";
    EXPECT_EQ(end.exitCode, 0) << "the result is not 511 bytes long, or the run showed a box";
}

}  // namespace
