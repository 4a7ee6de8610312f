#pragma once
// The program's own message box: it takes the system message box's style word, plus a
// parameter block for time-outs, caller-given button captions, colours, a position, and the name
// under which an answer given with "Don't ask me again", "Don't tell me again" or "Don't show
// again" is remembered. A remembered answer is returned at once, without showing anything.
// Every box goes through the dialog seam first (DialogCall::Kind::ExtMessageBox: the style word in
// flags, the button captions left to right in fields followed by the check box's caption when
// there is one; the answer is read from result and the check box from checked).
#include "platform/vcl/Strings.h"
#include "platform/win/WinDefs.h"

#include <stdexcept>

class QWidget;

// Style bits of this box beyond the system box's (plain constants, so that they combine with
// the MB_ values of WinDefs.h).
inline constexpr unsigned MB_DONOTASKAGAIN = 0x01000000;
inline constexpr unsigned MB_DONOTTELLAGAIN = 0x02000000;
inline constexpr unsigned MB_DONOTSHOWAGAIN = 0x04000000;
inline constexpr unsigned MB_CHECKBOXMASK = 0x07000000;
inline constexpr unsigned MB_YESTOALL = 0x08000000;    // only with MB_YESNO and MB_YESNOCANCEL
inline constexpr unsigned MB_NOTOALL = 0x10000000;     // likewise
inline constexpr unsigned MB_NORESOURCE = 0x20000000;  // captions not looked up as string resources
inline constexpr unsigned MB_NOSOUND = 0x40000000;
inline constexpr unsigned MB_TIMEOUT = 0x80000000;     // in an answer: the box answered by itself

// Answers beyond the system box's.
inline constexpr int IDSKIP = 14;
inline constexpr int IDSKIPALL = 15;
inline constexpr int IDIGNOREALL = 16;
inline constexpr int IDYESTOALL = 19;
inline constexpr int IDNOTOALL = 20;
inline constexpr int IDCUSTOM1 = 23;  // the caller-given buttons, 23 to 26
inline constexpr int IDEXTHELP = 300;
inline constexpr int IDREPORT = 301;

// Values of dwLayoutOptions.
inline constexpr unsigned MBLAYOUT_RIGHTBUTTONS = 1;
inline constexpr unsigned MBLAYOUT_WIDE = 2;        // the wide layout on a window-coloured band; implies 1
inline constexpr unsigned MBLAYOUT_NARROWTEXT = 4;  // the message wraps at a third of the screen

using ExtMessageBoxReportFunction = void (*)(const char* message, unsigned data);

// Rows of the button caption table, in its order (also the order of UserButtonCaptions).
enum TCaptionSlot : int {
    CapAbort, CapCancel, CapContinue, CapDontAsk, CapDontTell, CapDontShow, CapHelp, CapIgnore,
    CapIgnoreAll, CapNo, CapNoToAll, CapOK, CapReport, CapRetry, CapSkip, CapSkipAll, CapTryAgain,
    CapYes, CapYesToAll, CaptionSlotCount
};

struct ExtMessageBoxParams {
    ExtMessageBoxParams();

    int nHelpContext;
    int nTimeoutSeconds;   // answers with its default button (and MB_TIMEOUT) after this long
    int nDisabledSeconds;  // the buttons stay disabled this long
    int x, y;              // 0, 0: centred on the owner; negative: centred and shifted
    unsigned dwLayoutOptions;
    void* hStringModule;
    void* hIconModule;
    int nIconId;
    char szIconName[260];
    int nButtonsTextId;
    char szButtonsText[260];  // up to four captions separated by line feeds, answers 23 to 26
    int nReportCaptionId;
    char szReportCaption[260];
    char szCompany[260];      // part of the key of remembered answers
    const char* pszModule;    // with nLine, names a remembered answer; null or "": none
    int nLine;
    unsigned dwReportData;
    ExtMessageBoxReportFunction pfnReport;  // when set, a Report button calls it
    int crText;        // 0x00BBGGRR, -1 the window text colour
    int crBackground;  // -1 none
    int bUserButtonCaptions;
    char UserButtonCaptions[CaptionSlotCount][260];  // an empty slot keeps the built-in caption
};

// A call the box cannot serve (a missing message, impossible time-outs, buttons that cannot be
// placed). Its text is "<condition> failed - ExtMessageBox.cpp#<line>".
class EExtMessageBoxError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Shows the box and returns the number of the button pressed, with the check box's bit ORed in
// when it was ticked and MB_TIMEOUT when the box answered by itself. params may be null.
int ExtMessageBox(QWidget* owner, const char* message, const char* caption, unsigned style,
                  const ExtMessageBoxParams* params);

// The remembered answer for a company, module and line; 0 when there is none.
unsigned ExtMessageBoxGetCheckBox(const char* lpszCompanyName, const char* lpszModule, int line);
unsigned ExtMessageBoxGetCheckBox(const ExtMessageBoxParams& params);

// One value under the key of remembered answers ("Software\<company>\<program>\ExtMessageBox").
unsigned ReadRegistry(const char* company, const char* key);  // 0 when missing
void WriteRegistry(const char* company, const char* key, unsigned data);

// The value name of a remembered answer: each character of the module name (at most 490 are
// taken) replaced by a letter or digit chosen by its code and its place.
AnsiString EncodeCheckBoxKey(const AnsiString& module);

// Whether the desktop is of the kind the wide layout was made for.
bool IsOsMajorVersion6OrLater();

// The built-in caption of a row of the caption table.
const char* ExtMessageBoxDefaultCaption(TCaptionSlot slot);
