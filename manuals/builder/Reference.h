#pragma once
// The reference tables of the manuals, made from the program's own tables: the macro language's
// keywords, built-ins, constants and predefined variables, and the settings file's layout. Each
// description is written beside the manual's text; a name the program knows without a
// description, or a description of a name the program does not know, stops the build, so the
// manual cannot fall behind the program.
#include <map>
#include <string>

// Descriptions by name: the first spelling of a keyword or built-in ("proc", "sin"), a constant's
// name, or "Section/Key" of a setting.
using Descriptions = std::map<std::string, std::string>;

// The text with the characters HTML gives a meaning escaped.
std::string HtmlEscape(const std::string& text);

// The HTML table of one kind ("statements", "builtins", "constants", "numbers", "strings",
// "settings", "units", "limits", "menus"). Throws std::runtime_error when descriptions and program disagree.
std::string ReferenceTable(const std::string& kind, const Descriptions& descriptions);
