#include "platform/win/ExtMessageBox.h"
#include "platform/win/ExtMessageBoxPlan.h"

#include "platform/vcl/DialogSeam.h"
#include "platform/vcl/Forms.h"
#include "platform/win/CXDialogTemplate.h"
#include "platform/win/Registry.h"

#include <QApplication>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

void ExtMessageBoxAssertFailed(const char* condition, int line)
{
    throw EExtMessageBoxError(std::string(condition) + " failed - ExtMessageBox.cpp#" +
                              std::to_string(line));
}

namespace {

// The caption table: string resource number and built-in text.
const struct {
    int resource;
    const char* text;
} kCaptions[CaptionSlotCount] = {
    {9005, "&Abort"},      {9002, "Cancel"},        {9009, "&Continue"},
    {9010, "Don't ask me again"}, {9011, "Don't tell me again"}, {9012, "Don't show again"},
    {9006, "&Help"},       {9003, "&Ignore"},       {9017, "I&gnore All"},
    {9008, "&No"},         {9014, "N&o to All"},    {9001, "OK"},
    {9016, "Re&port"},     {9004, "&Retry"},        {9018, "&Skip"},
    {9019, "S&kip All"},   {9015, "&Try Again"},    {9007, "&Yes"},
    {9013, "Y&es to All"},
};
constexpr size_t kCaptionSize = 100;  // characters a caption slot holds, its terminator included
constexpr size_t kMaxText = 65535;

// The button sets of the style's low four bits, and what Escape (and the close box) answers:
// 0 nothing, else that answer. Yes to All and No to All are put in by PlaceButtons.
const struct {
    std::vector<ExtButtonSpec> buttons;
    int escape;
} kButtonSets[] = {
    {{{CapOK, IDOK}}, IDOK},
    {{{CapOK, IDOK}, {CapCancel, IDCANCEL}}, IDCANCEL},
    {{{CapAbort, IDABORT}, {CapRetry, IDRETRY}, {CapIgnore, IDIGNORE}}, 0},
    {{{CapYes, IDYES}, {CapNo, IDNO}, {CapCancel, IDCANCEL}}, IDCANCEL},
    {{{CapYes, IDYES}, {CapNo, IDNO}}, 0},
    {{{CapRetry, IDRETRY}, {CapCancel, IDCANCEL}}, IDCANCEL},
    {{{CapCancel, IDCANCEL}, {CapTryAgain, IDTRYAGAIN}, {CapContinue, IDCONTINUE}}, IDCANCEL},
    {{{CapContinue, IDCONTINUE}, {CapAbort, IDABORT}}, 0},
    {{{CapSkip, IDSKIP}, {CapSkipAll, IDSKIPALL}, {CapCancel, IDCANCEL}}, IDCANCEL},
    {{{CapIgnore, IDIGNORE}, {CapIgnoreAll, IDIGNOREALL}, {CapCancel, IDCANCEL}}, IDCANCEL},
};

// A fixed table of letters and digits for the value names of remembered answers.
const char kKeyChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789Qz";
static_assert(sizeof kKeyChars == 65);

bool IsResourceNumber(const char* text)
{
    return reinterpret_cast<std::uintptr_t>(text) < 65536;
}

AnsiString FixedText(const char* text, size_t size)
{
    return AnsiString(text, strnlen(text, size));
}

AnsiString RegistryKey(const char* company)
{
    AnsiString key = "Software\\";
    if (company && *company) key += AnsiString(company) + "\\";
    return key + ExtractFileName(ParamStr0()) + "\\ExtMessageBox";
}

AnsiString ValueName(const char* module, int line)
{
    return EncodeCheckBoxKey(module) + std::to_string(line);
}

}  // namespace

ExtBoxPlan PlanExtMessageBox(unsigned style, const ExtMessageBoxParams& p)
{
    ExtBoxPlan plan;
    // Captions: built-in texts, then the caller's own where given; this program has no string
    // resources, so a resource lookup leaves the built-in texts.
    for (const auto& c : kCaptions) plan.captions.emplace_back(c.text);
    const AnsiString report = FixedText(p.szReportCaption, sizeof p.szReportCaption).substr(0, 99);
    if (!report.empty()) plan.captions[CapReport] = report;
    if (p.bUserButtonCaptions)
        for (int i = 0; i < CaptionSlotCount; ++i) {
            // The report caption of the block, when given, wins over every other source.
            if (i == CapReport && !report.empty()) continue;
            const AnsiString own = FixedText(p.UserButtonCaptions[i], sizeof p.UserButtonCaptions[i]);
            if (!own.empty()) plan.captions[static_cast<size_t>(i)] = own;
        }
    for (AnsiString& c : plan.captions) c = c.substr(0, kCaptionSize - 1);

    const unsigned set = style & MB_TYPEMASK;
    EXT_ASSERT(!((style & (MB_YESTOALL | MB_NOTOALL)) && (set & 7) == 0));

    const AnsiString custom = FixedText(p.szButtonsText, sizeof p.szButtonsText);
    std::vector<AnsiString> customLabels;
    if (!custom.empty()) {
        size_t from = 0;
        while (from <= custom.size() && customLabels.size() < 4) {
            const size_t lf = custom.find('\n', from);
            const AnsiString piece = custom.substr(from, lf == AnsiString::npos ? AnsiString::npos : lf - from);
            if (!piece.empty()) customLabels.push_back(piece.substr(0, kCaptionSize - 1));
            if (lf == AnsiString::npos) break;
            from = lf + 1;
        }
        EXT_ASSERT(!customLabels.empty());
    }

    if (!customLabels.empty()) {
        for (size_t i = 0; i < customLabels.size(); ++i) {
            plan.buttons.push_back({CaptionSlotCount, IDCUSTOM1 + static_cast<int>(i)});
            plan.labels.push_back(customLabels[i]);
        }
    } else {
        const auto& chosen = set < std::size(kButtonSets) ? kButtonSets[set] : kButtonSets[0];
        plan.escape = set < std::size(kButtonSets) ? chosen.escape : 0;
        for (const ExtButtonSpec& b : chosen.buttons) {
            plan.buttons.push_back(b);
            const bool yesNo = set == MB_YESNOCANCEL || set == MB_YESNO;
            if (yesNo && b.answer == IDYES && (style & MB_YESTOALL)) plan.buttons.push_back({CapYesToAll, IDYESTOALL});
            if (yesNo && b.answer == IDNO && (style & MB_NOTOALL)) plan.buttons.push_back({CapNoToAll, IDNOTOALL});
        }
        for (const ExtButtonSpec& b : plan.buttons) plan.labels.push_back(plan.captions[b.caption]);
    }
    if (style & MB_HELP) {
        plan.buttons.push_back({CapHelp, IDEXTHELP});
        plan.labels.push_back(plan.captions[CapHelp]);
    }
    if (p.pfnReport) {
        plan.buttons.push_back({CapReport, IDREPORT});
        plan.labels.push_back(plan.captions[CapReport]);
    }
    EXT_ASSERT(!plan.buttons.empty());

    size_t number = ((style & MB_DEFMASK) >> 8) + 1;
    if (number > 6 || number > plan.buttons.size()) number = 1;
    plan.defaultButton = number - 1;
    const int defaultAnswer = plan.DefaultAnswer();
    EXT_ASSERT(defaultAnswer != IDEXTHELP && defaultAnswer != IDREPORT);

    if (style & MB_DONOTASKAGAIN) {
        plan.checkBox = CapDontAsk;
        plan.checkBit = MB_DONOTASKAGAIN;
    } else if (style & MB_DONOTTELLAGAIN) {
        plan.checkBox = CapDontTell;
        plan.checkBit = MB_DONOTTELLAGAIN;
    } else if (style & MB_DONOTSHOWAGAIN) {
        plan.checkBox = CapDontShow;
        plan.checkBit = MB_DONOTSHOWAGAIN;
    }
    return plan;
}

namespace {

// Keeps an answer given with the check box ticked, when the caller named it.
void Remember(const ExtMessageBoxParams& p, unsigned answer)
{
    if (!p.pszModule || !*p.pszModule) return;
    const AnsiString name = ValueName(p.pszModule, p.nLine);
    if (!RegWriteDword(RegistryKey(p.szCompany), name, answer)) return;  // nothing could be written
    using DWORD = unsigned;
    const DWORD wParam = answer;
    const DWORD dwData = ReadRegistry(p.szCompany, name.c_str());
    EXT_ASSERT(dwData == (DWORD) wParam);
}

}  // namespace

ExtMessageBoxParams::ExtMessageBoxParams()
    : nHelpContext(0), nTimeoutSeconds(0), nDisabledSeconds(0), x(0), y(0), dwLayoutOptions(0),
      hStringModule(nullptr), hIconModule(nullptr), nIconId(0), szIconName{}, nButtonsTextId(0),
      szButtonsText{}, nReportCaptionId(0), szReportCaption{}, szCompany{}, pszModule(nullptr),
      nLine(0), dwReportData(0), pfnReport(nullptr), crText(-1), crBackground(-1),
      bUserButtonCaptions(0), UserButtonCaptions{}
{
}

const char* ExtMessageBoxDefaultCaption(TCaptionSlot slot)
{
    return slot >= 0 && slot < CaptionSlotCount ? kCaptions[slot].text : "";
}

AnsiString EncodeCheckBoxKey(const AnsiString& module)
{
    AnsiString out = module.substr(0, 490);
    for (size_t i = 0; i < out.size(); ++i) {
        const int code = static_cast<signed char>(out[i]);
        out[i] = kKeyChars[(5 * static_cast<int>(i) + code) & 63];
    }
    return out;
}

unsigned ReadRegistry(const char* company, const char* key)
{
    EXT_ASSERT(key && *key);
    unsigned value = 0;
    return RegReadDword(RegistryKey(company), key, value) ? value : 0;
}

void WriteRegistry(const char* company, const char* key, unsigned data)
{
    EXT_ASSERT(key && *key);
    RegWriteDword(RegistryKey(company), key, data);
}

unsigned ExtMessageBoxGetCheckBox(const char* lpszCompanyName, const char* lpszModule, int line)
{
    EXT_ASSERT(lpszCompanyName);
    EXT_ASSERT(lpszModule);
    return ReadRegistry(lpszCompanyName, ValueName(lpszModule, line).c_str());
}

unsigned ExtMessageBoxGetCheckBox(const ExtMessageBoxParams& params)
{
    return ExtMessageBoxGetCheckBox(params.szCompany, params.pszModule, params.nLine);
}

bool IsOsMajorVersion6OrLater() { return true; }

int ExtMessageBox(QWidget* owner, const char* message, const char* caption, unsigned style,
                  const ExtMessageBoxParams* params)
{
    EXT_ASSERT(message);
    // A message or caption may be given as a string resource number (a value below 65536) rather
    // than a text. This program carries no string resources, so such a text loads as empty; it
    // must never be read as an address.
    if (IsResourceNumber(message)) message = "";
    // The box holds at most 65,535 characters of its message and of its caption.
    const AnsiString messageText(message, strnlen(message, kMaxText));
    if (caption && IsResourceNumber(caption)) caption = "";
    if (!owner) owner = BoxOwner();
    if ((style & MB_ICONSTOP) && (style & MB_SYSTEMMODAL))
        return Application->MessageBox(Win1252ToUnicode(message),
                                       Win1252ToUnicode(caption ? caption : "Error"), style);
    if (!caption) caption = "Error";
    const AnsiString captionText(caption, strnlen(caption, kMaxText));

    ExtMessageBoxParams p;
    if (params) p = *params;

    if ((style & MB_CHECKBOXMASK) && p.pszModule && *p.pszModule) {
        const unsigned stored = ExtMessageBoxGetCheckBox(p);
        if (stored & MB_CHECKBOXMASK) return static_cast<int>(stored);
    }
    EXT_ASSERT(p.nTimeoutSeconds < 1000 && p.nDisabledSeconds < 1000);
    EXT_ASSERT(p.nTimeoutSeconds == 0 || p.nDisabledSeconds == 0);
    if (IsOsMajorVersion6OrLater()) p.dwLayoutOptions |= MBLAYOUT_WIDE;

    const ExtBoxPlan plan = PlanExtMessageBox(style, p);
    const QString text = Win1252ToUnicode(messageText);
    const QString title = Win1252ToUnicode(captionText);

    DialogCall call;
    call.kind = DialogCall::Kind::ExtMessageBox;
    call.caption = title;
    call.text = text;
    call.flags = style;
    for (const AnsiString& label : plan.labels) call.fields << Win1252ToUnicode(label);
    if (plan.checkBit) call.fields << Win1252ToUnicode(plan.captions[plan.checkBox]);
    call.result = plan.DefaultAnswer();

    int answer = 0;
    if (AnswerBySeam(call)) {
        // A scripted answer counts as that button pressed: Cancel (like Escape) leaves the check
        // box out, and a box closed without an answer has nothing to add it to.
        answer = call.result;
        if (call.checked && answer != 0 && answer != IDCANCEL) answer |= static_cast<int>(plan.checkBit);
    } else {
        CXDialogTemplate box(owner, text, title, style, p, plan, SystemMessageBoxMetrics());
        if (!(style & MB_NOSOUND)) QApplication::beep();
        answer = box.Display();
    }
    if (plan.checkBit && (static_cast<unsigned>(answer) & plan.checkBit)) Remember(p, static_cast<unsigned>(answer));
    return answer;
}
