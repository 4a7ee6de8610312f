#pragma once
// The captions of the main window's unit, precision and angle lists and of its menus, with the
// menus' shortcuts. The window builds its controls from these tables, and the manuals are made
// from them too, so that a manual names only what the window shows.
#include <cstddef>
#include <iterator>

// The Input list, by index, and the unit each item gives the settings. The last item shows no
// text and reads feet and inches; "M" is no unit name, so it gives the units' default, the metre.
inline constexpr const char* kInputUnits[] = {"None", "Metric (mm)", "Metric (cm)", "Metric (m)", ""};
inline constexpr const char* kInputUnitNames[] = {"MM", "MM", "CM", "M", "IMPERIAL"};
static_assert(std::size(kInputUnits) == std::size(kInputUnitNames));

inline constexpr const char* kAnswerUnits[] = {"None", "mm",   "sq mm", "cu mm", "cm",    "sq cm",
                                               "cu cm", "m",   "sq m",  "cu m",  "ft",    "sq ft",
                                               "cu ft", "yds", "sq yds", "cu yds"};
inline constexpr const char* kPrecisions[] = {"Default",          "0 Decimal Places", "1 Decimal Places",
                                              "2 Decimal Places", "3 Decimal Places", "4 Decimal Places",
                                              "5 Decimal Places", "6 Decimal Places"};
inline constexpr const char* kAngleUnits[] = {"Degrees", "Radians", "Grads"};

// The menu items with a caption of their own, in menu order; separators and the recent-file
// items are made by the form.
enum class MenuId {
    File, New, Open, Save, SaveAs, Print, Exit,
    Edit, Cut, Copy, Paste, CopyAll, Find, Replace,
    Help, TutorialManuals, MetricBasic, ImperialBasic, General, ReferenceManual, About,
};

struct MenuRow {
    MenuId id;
    const char* menu;      // the menu it stands in, "" for the menu bar
    const char* caption;
    const char* shortcut;  // "" for none
};

inline constexpr MenuRow kMenuRows[] = {
    {MenuId::File, "", "File", ""},
    {MenuId::New, "File", "New", "Ctrl+N"},
    {MenuId::Open, "File", "Open", "Ctrl+O"},
    {MenuId::Save, "File", "Save", "Ctrl+S"},
    {MenuId::SaveAs, "File", "Save As...", ""},
    {MenuId::Print, "File", "Print", "Ctrl+P"},
    {MenuId::Exit, "File", "Exit", ""},
    {MenuId::Edit, "", "Edit", ""},
    {MenuId::Cut, "Edit", "Cut", "Ctrl+X"},
    {MenuId::Copy, "Edit", "Copy", "Ctrl+C"},
    {MenuId::Paste, "Edit", "Paste", "Ctrl+V"},
    {MenuId::CopyAll, "Edit", "Copy All", "Ctrl+Alt+C"},
    {MenuId::Find, "Edit", "Find", "Ctrl+F"},
    {MenuId::Replace, "Edit", "Replace", "Ctrl+H"},
    {MenuId::Help, "", "Help", ""},
    {MenuId::TutorialManuals, "Help", "Tutorial Manuals", ""},
    {MenuId::MetricBasic, "Help > Tutorial Manuals", "Metric - Basic", ""},
    {MenuId::ImperialBasic, "Help > Tutorial Manuals", "Imperial - Basic", ""},
    {MenuId::General, "Help > Tutorial Manuals", "Programming", ""},
    {MenuId::ReferenceManual, "Help", "Reference Manual", ""},
    {MenuId::About, "Help", "About", ""},
};

constexpr const MenuRow& MenuRowOf(MenuId id) { return kMenuRows[static_cast<size_t>(id)]; }

constexpr bool MenuRowsInOrder()
{
    for (size_t i = 0; i < std::size(kMenuRows); ++i)
        if (static_cast<size_t>(kMenuRows[i].id) != i) return false;
    return true;
}
static_assert(MenuRowsInOrder(), "a menu row out of its place");

// A menu item made from its row (defined with the form's menus).
class TMenuItem;
TMenuItem* MakeMenuItem(MenuId id);
