#pragma once
// What a message box shows and does, as a plain record. The entry function works out the buttons
// and captions from the style and parameter block (PlanExtMessageBox), which is all the dialog
// seam needs; CXDialogTemplate then measures the box and fills in the rest, and the window
// (MsgBoxWindow) is built from the finished record alone.
#include "platform/win/DialogTemplate.h"
#include "platform/win/ExtMessageBox.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QStyle>
#include <vector>

// Reports a call the box cannot serve as "<condition> failed - ExtMessageBox.cpp#<line>".
[[noreturn]] void ExtMessageBoxAssertFailed(const char* condition, int line);

#define EXT_ASSERT(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) ExtMessageBoxAssertFailed(#condition, __LINE__);                        \
    } while (0)

// Control ids beyond the answers (which are the push buttons' ids).
inline constexpr int IDC_ICONSTATIC = 1000;
inline constexpr int IDC_MESSAGETEXT = 1001;
inline constexpr int IDC_CHECKBOX = 5555;

struct ExtButtonSpec {
    TCaptionSlot caption;  // CaptionSlotCount for a caller-given button
    int answer;            // also the button's control id
};

struct ExtBoxPlan {
    // ---- from the style and parameter block (PlanExtMessageBox) ----
    std::vector<AnsiString> captions;     // per caption slot
    std::vector<ExtButtonSpec> buttons;   // left to right, Help and Report last
    std::vector<AnsiString> labels;       // the text on each button
    int escape = 0;                       // what Escape and the close box answer; 0 nothing
    size_t defaultButton = 0;             // index into buttons
    TCaptionSlot checkBox = CaptionSlotCount;  // none
    unsigned checkBit = 0;

    // The answer of the default button, which is also its control id.
    int DefaultAnswer() const { return buttons[defaultButton].answer; }

    // ---- measured and laid out (CXDialogTemplate) ----
    DialogTemplateRecord dialog;  // the title as shown, the window's size and every control
    DialogBaseUnits units;        // what the dialog units of `dialog` are measured in
    QFont font;
    QString message;              // the whole message, for Ctrl+C and the report function
    QStyle::StandardPixmap icon = QStyle::SP_MessageBoxWarning;  // drawn in IDC_ICONSTATIC, when placed
    int iconSize = 32;
    QColor band;                  // the background behind the message; invalid: none
    QColor ink;                   // the message's colour on the band; invalid: the window text
    bool onTop = false;           // stays above other windows
    QPoint position;              // 0, 0 centred on the owner; negative: centred and shifted
    int timeoutSeconds = 0;       // counted down on the default button, which then answers
    int disabledSeconds = 0;      // counted down in the title, the buttons held disabled
    int helpContext = 0;
    ExtMessageBoxReportFunction report = nullptr;  // the Report button's function and its data
    unsigned reportData = 0;
};

ExtBoxPlan PlanExtMessageBox(unsigned style, const ExtMessageBoxParams& p);
