// The setters and predefined values of the pad host: where Set_ZR_Qty files a value, the angle
// codes, the "Macro Error" box for names without ZR_, and the predefined texts.
#include "macro/Machine.h"
#include "macro/Run.h"
#include "platform/win/WinDefs.h"
#include "tests/calc/PadFixture.h"

#include <QLocale>
#include <cmath>
#include <fstream>
#include <limits>

namespace {

// A text as a failure shows it: one longer than a box shows is cut short, with its length.
std::string Brief(const std::string& text)
{
    return text.size() <= 600 ? text : text.substr(0, 600) + "... (" + std::to_string(text.size()) + " bytes)";
}
std::string Brief(const QString& text) { return Brief(text.toStdString()); }

class HostSetterTest : public PadFixture {
protected:
    TPadMacroHost& host = PadMacroHost();
};

TEST_F(HostSetterTest, WhereSetZRQtyFilesItsValue)
{
    const struct {
        const char* name;
        int variable;    // index into MacroVariables, -1 none
        int answerLine;  // the line an answer is filed under, 0 none
    } rows[] = {
        {"ZR_VARIABLE_1", 0, 0},
        {"ZR_VARIABLE_2", 1, 0},
        {"ZR_VARIABLE_5", 4, 0},
        {"ZR_VARIABLE:7", -1, 7},
        {"XZR_VARIABLE:3", -1, 3},     // the marker may stand anywhere
        {"ZR_VARIABLE:abc", -1, 1},    // not a number: line 1
        {"ZR_VARIABLE: 7", -1, 1},     // blanks make it no number
        {"ZR_VARIABLE:", -1, 1},
        {"ZR_VARIABLE:-4", -1, -4},
        {"ZR_VARIABLE:99999999999", -1, 1},
        {"ZR_VARIABLE_6", -1, 0},      // another ZR_ name: ignored
        {"ZR_PRINT_WARNING", -1, 0},
        {"ZR_TOTAL_PRICE", -1, 0},
    };
    for (const auto& row : rows) {
        TCalcState fresh;
        InstallPadHost(&fresh);
        host.SetZRQty(row.name, 2.5);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(fresh.MacroVariables[i], i == row.variable ? 2.5 : 0.0) << row.name << " variable " << i;
        if (row.answerLine) {
            ASSERT_EQ(fresh.PadAnswers.size(), 1u) << row.name;
            EXPECT_EQ(fresh.PadAnswers[0].line, row.answerLine) << row.name;
            EXPECT_EQ(fresh.PadAnswers[0].value, 2.5) << row.name;
        } else {
            EXPECT_TRUE(fresh.PadAnswers.empty()) << row.name;
        }
    }
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(HostSetterTest, AngleCodes)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        double value;
        int mode;
    } rows[] = {
        {"ZR_ANGLE_UOM", 1.95, 2}, {"ZR_ANGLE_UOM", 0.95, 1}, {"ZR_ANGLE_UOM", 0.85, 0},
        {"ZR_ANGLE_UOM", 3, 0},    {"ZR_ANGLE_UOM", 2, 2},    {"ZR_ANGLE_UOM", -0.05, 0},
        {"ZR_ANGLE_UOM", -0.5, 0}, {"ZR_ANGLE_UOM", 1e300, 0}, {"ZR_ANGLE_UOM", nan, 0},
        {"ANGLE_UOM", 1, 1},       {"ANGLE_UOM", 2.9, 0},
    };
    for (const auto& row : rows) {
        angleMode = 1 - (row.mode ? 1 : 0);  // something else than expected
        host.SetZRQty(row.name, row.value);
        EXPECT_EQ(angleMode, row.mode) << row.name << " " << row.value;
    }
    angleMode = 0;
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(HostSetterTest, NamesWithoutZRPrefixAreReported)
{
    // A name or value of a megabyte (a pad's text) shows only the first 511 bytes of the box's text.
    const std::string longText = "L" + std::string(1 << 20, 'n');
    const struct {
        bool text;  // Set_ZR_Str
        std::string name;
        std::string value;
        double number;
        std::string shown;
    } rows[] = {
        {false, "zr_variable_1", "", 2.5,
         "Error executing macro...\nSet_ZR_Qty(\"zr_variable_1\",\"2.5\")\n"
         "Macro Variable must begin with ZR_ for substitution to take place"},
        {false, "WIDTH", "", 1.0 / 3.0,
         "Error executing macro...\nSet_ZR_Qty(\"WIDTH\",\"0.333333333333333\")\n"
         "Macro Variable must begin with ZR_ for substitution to take place"},
        {true, "CLIENT", "Smith", 0,
         "Error executing macro...\nSet_ZR_Str(\"CLIENT\",\"Smith\")\n"
         "Macro Variable must begin with ZR_ for substitution to take place"},
        {false, longText, "", 1, ("Error executing macro...\nSet_ZR_Qty(\"" + longText).substr(0, 511)},
        {true, longText, "Smith", 0, ("Error executing macro...\nSet_ZR_Str(\"" + longText).substr(0, 511)},
        {true, "CLIENT", longText, 0, ("Error executing macro...\nSet_ZR_Str(\"CLIENT\",\"" + longText).substr(0, 511)},
    };
    for (const auto& row : rows) {
        const std::string trace = row.name.substr(0, 20);
        dialogs.calls.clear();
        if (row.text)
            host.SetZRStr(row.name.c_str(), row.value.c_str());
        else
            host.SetZRQty(row.name.c_str(), row.number);
        ASSERT_EQ(dialogs.calls.size(), 1u) << trace;
        EXPECT_EQ(dialogs.calls[0].caption, "Macro Error");
        EXPECT_EQ(dialogs.calls[0].flags, unsigned(MB_ICONINFORMATION | MB_SYSTEMMODAL));
        EXPECT_EQ(Brief(dialogs.calls[0].text), row.shown) << trace;
    }
    EXPECT_TRUE(state.PadAnswers.empty());

    dialogs.calls.clear();
    host.SetZRStr("ZR_CLIENT_NAME$", "Smith");
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(host.GetPredefinedString("ZR_CLIENT_NAME$"), "");
}

TEST_F(HostSetterTest, PredefinedValues)
{
    Config->Language = "English";
    Config->Units = "Metric";
    FormatSettings().ListSeparator = ';';
    const struct {
        const char* name;
        const char* value;
    } rows[] = {
        {"ZR_LOCALE_LANGUAGE$", "English"},
        {"ZR_LOCALE_UNIT$", "Metric"},
        {"ZR_LIST_SEPARATOR$", ";"},
        {"TRANSLATE:Message", "Message"},
        {"TRANSLATE:Input", "Input"},
        {"TRANSLATE:", ""},
        {"zr_locale_unit$", ""},  // names are compared case-sensitively
        {"ZR_CLIENT_NAME$", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(host.GetPredefinedString(row.name), row.value) << row.name;
    EXPECT_EQ(host.GetPredefinedQty("ZR_TOTAL_PRICE"), 0.0);

    // The month names are the locale's (English in tests); minutes follow the hour.
    const QLocale english(QLocale::English);
    const QString before = english.toString(QDateTime::currentDateTime(), "d MMM yyyy hh:mm:ss");
    const QString now = QString::fromStdString(host.GetPredefinedString("ZR_DATE_AND_TIME$"));
    const QString after = english.toString(QDateTime::currentDateTime(), "d MMM yyyy hh:mm:ss");
    EXPECT_TRUE(now == before || now == after) << now.toStdString() << " at " << before.toStdString();
    EXPECT_EQ(QString::fromStdString(host.GetPredefinedString("ZR_CURRENT_DATE$")),
              english.toString(QDate::currentDate(), "d MMMM yyyy"));
}

// The settings file's locale texts become predefined texts at the start of every run. One of 4 MB
// shows the truncation box with its first 511 bytes, reads "String too long", and the pad is
// calculated all the same.
TEST_F(HostSetterTest, ALongLocaleTextOfTheSettingsIsCutInItsBox)
{
    std::string written;
    while (written.size() < (size_t(4) << 20)) written += "Fr-Ca ";
    const struct {
        const char* key;
        const char* variable;
        std::string value;  // as the settings keep it
    } rows[] = {
        {"Language", "ZR_LOCALE_LANGUAGE$", LowerCase(written)},
        {"Units", "ZR_LOCALE_UNIT$", UpperCase(written)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        const AnsiString ini = Folder() + "/long.INI";
        std::ofstream(ini) << "[Locale]\n" << row.key << "=" << written << "\n";
        delete Config;
        new TConfig(ini.c_str());
        Config->TempDir = Folder();
        Units("MM", "", -1);
        dialogs.calls.clear();
        std::vector<AnsiString> pad = {"2 + 3", std::string("set_zr_qty(\"ZR_VARIABLE_3\", len(") + row.variable + "))"};
        Calc(pad, false);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].caption, "Macro System Error");
        EXPECT_EQ(Brief(dialogs.calls[0].text),
                  "Error: Macro string variable has string length > 512 - truncated\n" + row.value.substr(0, 511));
        EXPECT_EQ(state.MacroVariables[2], 15.0);  // "String too long"
        ASSERT_FALSE(state.PadAnswers.empty());
        EXPECT_EQ(state.PadAnswers[0].value, 5.0);
    }
}

TEST_F(HostSetterTest, AnswersComeBackThroughTheInterpreter)
{
    const AnsiString path = Folder() + "/host.mac";
    std::ofstream(path) << "set_zr_qty(\"ZR_VARIABLE:4\", 6 * 7)\n"
                           "Set_ZR_Qty(\"ZR_ANGLE_UOM\", 1)\n"
                           "set_zr_qty(\"ZR_VARIABLE:5\", sin(PI / 2))\n"
                           "x = get_zr_qty(\"test\")\n"
                           "set_zr_qty(\"ZR_VARIABLE_3\", x)\n"
                           "msg$ = get_zr_str(\"Test\")\n"
                           "set_zr_qty(\"ZR_VARIABLE_4\", strlen(msg$))\n";
    RunMacroFile(path.c_str());
    ASSERT_EQ(state.PadAnswers.size(), 2u);
    EXPECT_EQ(state.PadAnswers[0].value, 42.0);
    EXPECT_EQ(state.PadAnswers[0].line, 4);
    EXPECT_DOUBLE_EQ(state.PadAnswers[1].value, 1.0);
    EXPECT_EQ(state.MacroVariables[2], 99.0);
    EXPECT_EQ(state.MacroVariables[3], 10.0);
    EXPECT_TRUE(dialogs.calls.empty());
}

}  // namespace
