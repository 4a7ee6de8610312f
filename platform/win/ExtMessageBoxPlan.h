#pragma once
// What a message box shows, worked out from its style and parameter block: shared by the entry
// function, which offers it to the dialog seam, and the window that shows it.
#include "platform/win/ExtMessageBox.h"

#include <vector>

// Reports a call the box cannot serve as "<condition> failed - ExtMessageBox.cpp#<line>".
[[noreturn]] void ExtMessageBoxAssertFailed(const char* condition, int line);

#define EXT_ASSERT(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) ExtMessageBoxAssertFailed(#condition, __LINE__);                        \
    } while (0)

struct ExtButtonSpec {
    TCaptionSlot caption;  // CaptionSlotCount for a caller-given button
    int answer;            // also the button's control id
};

struct ExtBoxPlan {
    std::vector<AnsiString> captions;     // per caption slot
    std::vector<ExtButtonSpec> buttons;   // left to right, Help and Report last
    std::vector<AnsiString> labels;       // the text on each button
    int escape = 0;                       // what Escape and the close box answer; 0 nothing
    size_t defaultButton = 0;             // index into buttons
    TCaptionSlot checkBox = CaptionSlotCount;  // none
    unsigned checkBit = 0;
};

ExtBoxPlan PlanExtMessageBox(unsigned style, const ExtMessageBoxParams& p);
