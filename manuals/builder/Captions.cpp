#include "manuals/builder/Captions.h"

#include "config/IniLayout.h"
#include "manuals/builder/Reference.h"

#include <iterator>
#include <stdexcept>

namespace {

template <size_t N>
bool Listed(const char* const (&items)[N], const std::string& name)
{
    for (const char* item : items)
        if (name == item) return true;
    return false;
}

std::string Caption(const std::string& name) { return "<b>" + HtmlEscape(name) + "</b>"; }

}  // namespace

std::string MenuPath(const MenuRow& row)
{
    return *row.menu ? std::string(row.menu) + " > " + row.caption : std::string(row.caption);
}

const MenuRow* FindMenuItem(const std::string& path)
{
    for (const MenuRow& row : kMenuRows)
        if (MenuPath(row) == path) return &row;
    return nullptr;
}

std::string CaptionHtml(const std::string& kind, const std::string& name)
{
    if (kind == "input") {
        if (!Listed(kInputUnits, name)) throw std::runtime_error("the Input list has no item \"" + name + "\"");
        // The feet-and-inches item, the last, shows no text: say where it stands.
        static_assert(!*kInputUnits[std::size(kInputUnits) - 1]);
        if (name.empty()) return "the empty item at the bottom of the Input list";
        return Caption(name);
    }
    if (kind == "answer" || kind == "precision" || kind == "angle") {
        const bool listed = kind == "answer"      ? Listed(kAnswerUnits, name)
                            : kind == "precision" ? Listed(kPrecisions, name)
                                                  : Listed(kAngleUnits, name);
        if (!listed) throw std::runtime_error("the " + kind + " list has no item \"" + name + "\"");
        return Caption(name);
    }
    if (kind == "menu") {
        const MenuRow* row = FindMenuItem(name);
        if (!row) throw std::runtime_error("the menus have no item \"" + name + "\"");
        return Caption(name) + (*row->shortcut ? " (" + std::string(row->shortcut) + ")" : std::string());
    }
    if (kind == "setting") {
        const size_t slash = name.find('/');
        for (const TIniKey& key : IniLayout())
            if (slash != std::string::npos && name.compare(0, slash, key.Section) == 0 &&
                name.compare(slash + 1, std::string::npos, key.Key) == 0)
                return "<code>[" + HtmlEscape(key.Section) + "] " + HtmlEscape(key.Key) + "</code>";
        throw std::runtime_error("the settings file has no setting \"" + name + "\"");
    }
    throw std::runtime_error("unknown caption kind: " + kind);
}
