#pragma once
// The window's captions as a manual names them. In a manual's text "{kind:name}" names a caption
// of the window: kind is input, answer, precision or angle (an item of that list), menu (a menu
// item by its path, "Edit > Copy All") or setting ("Section/Key" of the settings file). Each is
// looked up in the program's own tables, so that a manual naming what the program does not
// have stops the build.
#include "app/ControlCaptions.h"

#include <string>

// The HTML that stands for the name. Throws std::runtime_error naming it when the program has no
// such caption.
std::string CaptionHtml(const std::string& kind, const std::string& name);

// The menu item with this path ("Help > Tutorial Manuals > Programming"), or null.
const MenuRow* FindMenuItem(const std::string& path);
std::string MenuPath(const MenuRow& row);
