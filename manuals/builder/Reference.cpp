#include "manuals/builder/Reference.h"

#include "calc/CalcState.h"
#include "calc/FormatAnswer.h"
#include "config/IniLayout.h"
#include "config/Units.h"
#include "manuals/builder/Captions.h"
#include "macro/Init.h"
#include "macro/Lexer.h"
#include "macro/Machine.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <set>
#include <stdexcept>
#include <vector>

std::string HtmlEscape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

namespace {

std::string Escape(const std::string& text) { return HtmlEscape(text); }

std::string Code(const std::string& text) { return "<code>" + Escape(text) + "</code>"; }

std::string Row(const std::vector<std::string>& cells)
{
    std::string out = "<tr>";
    for (const std::string& cell : cells) out += "<td>" + cell + "</td>";
    return out + "</tr>\n";
}

std::string Table(const std::vector<std::string>& heads, const std::string& rows)
{
    std::string out = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><tr>";
    for (const std::string& head : heads) out += "<th align=\"left\">" + Escape(head) + "</th>";
    return out + "</tr>\n" + rows + "</table>\n";
}

// A named group of spellings, in the order the program's table first names them.
struct Group {
    std::string first;
    std::vector<std::string> spellings;
};

template <typename Rows, typename KeyOf>
std::vector<Group> GroupsOf(const Rows& rows, KeyOf keyOf)
{
    std::vector<Group> groups;
    std::vector<decltype(keyOf(*rows.begin()))> keys;
    for (const auto& row : rows) {
        const auto key = keyOf(row);
        size_t i = 0;
        while (i < keys.size() && keys[i] != key) ++i;
        if (i == keys.size()) {
            keys.push_back(key);
            groups.push_back({row.name, {}});
        }
        groups[i].spellings.push_back(row.name);
    }
    return groups;
}

// The description of a name, noted as used; a name without one is noted as missing.
std::string DescriptionOf(const Descriptions& descriptions, const std::string& name, std::set<std::string>& used)
{
    used.insert(name);
    const auto found = descriptions.find(name);
    return found == descriptions.end() ? std::string() : found->second;
}

// Every name of the program described, and every description a name of the program.
void CheckAllUsed(const Descriptions& descriptions, const std::set<std::string>& used, const std::string& kind)
{
    std::string missing, unknown;
    for (const std::string& name : used)
        if (!descriptions.count(name)) missing += " " + name;
    for (const auto& [name, text] : descriptions)
        if (!used.count(name)) unknown += " " + name;
    std::string why;
    if (!unknown.empty()) why = "the program has no " + kind + ":" + unknown;
    if (!missing.empty()) why += (why.empty() ? "" : "; ") + ("the " + kind + " table does not describe" + missing);
    if (!why.empty()) throw std::runtime_error(why);
}

std::string GroupTable(const std::vector<Group>& groups, const Descriptions& descriptions, const std::string& kind,
                       const std::string& head)
{
    std::set<std::string> used;
    std::string rows;
    for (const Group& group : groups) {
        std::string names;
        for (const std::string& spelling : group.spellings) names += (names.empty() ? "" : ", ") + Code(spelling);
        rows += Row({names, DescriptionOf(descriptions, group.first, used)});
    }
    CheckAllUsed(descriptions, used, kind);
    return Table({head, "What it does"}, rows);
}

std::string NameList(std::span<const char* const> names)
{
    std::string out = "<p>";
    for (size_t i = 0; i < names.size(); ++i) out += (i ? ", " : "") + Code(names[i]);
    return out + "</p>\n";
}

std::string SettingsTable(const Descriptions& descriptions)
{
    std::set<std::string> used;
    std::string rows;
    for (const TIniKey& key : IniLayout()) {
        const std::string name = std::string(key.Section) + "/" + key.Key;
        // Only the settings the calculator acts on are described; the rest are read and kept.
        if (!descriptions.count(name) || used.count(name)) continue;
        used.insert(name);
        rows += Row({Code("[" + std::string(key.Section) + "] " + key.Key),
                     key.Default && *key.Default ? Code(key.Default) : "(empty)",
                     descriptions.at(name)});
    }
    CheckAllUsed(descriptions, used, "settings");
    return Table({"Setting", "When not set", "What it does"}, rows);
}

// One metre, and a square and a cubic metre, in every answer unit, as the answer pane writes them.
std::string UnitsTable(const Descriptions& descriptions)
{
    std::set<std::string> used;
    std::string rows;
    for (const char* name : kAnswerUnits) {
        // The window's first item, None, gives no unit.
        const std::string answer = name == kAnswerUnits[0] ? "" : name;
        const std::string upper = UpperCase(answer);
        TCalcState state;
        state.AnswerUnitName = answer;
        state.Precision = -1;
        // The answer of "1000" with the input unit millimetres: a metre, a square metre given as
        // 1000 x 1000 and a cubic metre as 1000 x 1000 x 1000.
        const std::string square = upper.rfind("SQ", 0) == 0 ? "1000 * 1000" : "";
        const std::string cube = upper.rfind("CU", 0) == 0 ? "1000 * 1000 * 1000" : "";
        const std::string input = !cube.empty() ? cube : !square.empty() ? square : "1000";
        const double value = !cube.empty() ? 1e9 : !square.empty() ? 1e6 : 1000.0;
        const AnsiString shown = FormatAnswer(state, UnitFromName("MM"), AnswerUnitScale(answer), value);
        rows += Row({Code(name), Code(input), Code(shown), DescriptionOf(descriptions, name, used)});
    }
    CheckAllUsed(descriptions, used, "units");
    return Table({"Answer unit", "Pad line (input mm)", "Answer", "Use it for"}, rows);
}

// Every menu item with its shortcut, as the window's menu table has them; a menu that holds
// others is named in their paths.
std::string MenusTable(const Descriptions& descriptions)
{
    std::set<std::string> used;
    std::string rows;
    for (const MenuRow& row : kMenuRows) {
        const std::string path = MenuPath(row);
        const bool holdsOthers = std::any_of(std::begin(kMenuRows), std::end(kMenuRows),
                                             [&](const MenuRow& other) { return other.menu == path; });
        if (holdsOthers) continue;
        rows += Row({"<b>" + Escape(path) + "</b>", *row.shortcut ? Escape(row.shortcut) : std::string("&#160;"),
                     DescriptionOf(descriptions, path, used)});
    }
    CheckAllUsed(descriptions, used, "menus");
    return Table({"Menu item", "Shortcut", "What it does"}, rows);
}

// The interpreter's fixed limits, with the values it is built with.
std::string LimitsTable(const Descriptions& descriptions)
{
    const struct {
        const char* name;
        int value;
    } limits[] = {
        {"name", MACRO_LINE_BUFFER - 1},  // names, quoted texts and labels alike
        {"text", TEXT_BUFFER - 1},
        {"program", PROGRAM_CELLS},
        {"stack", STACK_SIZE},
        {"calls", FRAME_COUNT - 1},
    };
    std::set<std::string> used;
    std::string rows;
    for (const auto& limit : limits)
        rows += Row({std::to_string(limit.value), DescriptionOf(descriptions, limit.name, used)});
    CheckAllUsed(descriptions, used, "limits");
    return Table({"Limit", "What it bounds"}, rows);
}

}  // namespace

std::string ReferenceTable(const std::string& kind, const Descriptions& descriptions)
{
    if (kind == "statements")
        return GroupTable(GroupsOf(macroKeywords(), [](const KeywordRow& r) { return r.token; }), descriptions, kind,
                          "Words (every spelling the language knows)");
    if (kind == "builtins")
        return GroupTable(GroupsOf(macroBuiltins(), [](const BuiltinRow& r) { return r.function; }), descriptions,
                          kind, "Functions (every spelling)");
    if (kind == "constants") {
        std::set<std::string> used;
        std::string rows;
        for (const ConstantRow& row : macroConstants()) {
            char value[40];
            std::snprintf(value, sizeof value, "%.15g", row.value);
            rows += Row({Code(row.name), Code(value), DescriptionOf(descriptions, row.name, used)});
        }
        CheckAllUsed(descriptions, used, kind);
        return Table({"Name", "Value", "What it is"}, rows);
    }
    if (kind == "numbers") return NameList(macroPredefinedNumbers());
    if (kind == "strings") return NameList(macroPredefinedStrings());
    if (kind == "settings") return SettingsTable(descriptions);
    if (kind == "units") return UnitsTable(descriptions);
    if (kind == "limits") return LimitsTable(descriptions);
    if (kind == "menus") return MenusTable(descriptions);
    throw std::runtime_error("unknown reference table: " + kind);
}
