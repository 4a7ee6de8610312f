#pragma once
// The text of a manual, written in a small markup of our own, turned into the HTML of the
// document that is printed to PDF:
//   # Title            the manual's title (once, first)
//   ## Heading         a chapter; ### a section
//   - item             a bulleted list item
//   blank line         ends a paragraph
//   `text`             program text
//   @pad <options>     a worked pad, its lines up to @end, calculated by the program; options:
//                      input=none|mm|cm|m|imperial answer=<unit, _ for blank> precision=<n>
//                      angle=degrees|radians|grads total boxes error type=<answer>,<answer>...
//   @table <kind>      a reference table; its descriptions follow as "name | text" up to @end
//   @box <text>        a note set apart in a frame
//   {kind:name}        a caption of the window or a setting, looked up in the program's tables
//                      (input, answer, precision, angle, menu, setting; see Captions.h)
#include <string>

struct ManualHtml {
    std::string title;
    std::string html;
};

// Throws std::runtime_error naming the line when the text is wrong or an example fails.
ManualHtml RenderManual(const std::string& text, const std::string& fileName);
