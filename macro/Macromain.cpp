// The interpreter's boxes, the character escapes of the texts they show, and the string store.
#include "macro/Macromain.h"

#include "macro/Host.h"
#include "macro/Lexer.h"
#include "macro/Machine.h"
#include "macro/MacroInput.h"
#include "macro/RunControl.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinDefs.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

int macroStringCount = 0;
double macroInputResult = 0.0;

namespace {

constexpr unsigned kErrorFlags = MB_ICONHAND | MB_SYSTEMMODAL;                 // 0x1010
constexpr unsigned kMessageFlags = MB_ICONINFORMATION | MB_SYSTEMMODAL;        // 0x1040
constexpr unsigned kYesNoFlags = MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL;  // 0x1024
constexpr const char* kRunFile = "MacroRunLine.Tmp";

// The store of this run, and the one of the run before: its slots stay readable until the next
// run has carried over any slot text a user variable took (swapping keeps the buffers in place).
std::vector<TCharStack> charStack;
std::vector<TCharStack> previousCharStack;
bool storeOpen = false;
// A syntax error of this run has been shown. Parsing goes on after one and may find hundreds
// more (a text that is no program at all), but nothing runs any more and the first one is the
// one to mend: the later ones show no box, so one click ends the series.
bool syntaxErrorShown = false;

// An 8-bit text cut to what a 512-byte buffer holds.
std::string cut(const char* s)
{
    // Only what is kept is copied: a detail may be a text of hundreds of megabytes.
    return s ? TextHead(s) : std::string();
}

UnicodeString caption(const char* key)
{
    return DecodeUnicodeEscapes(Win1252ToUnicode(Host().GetPredefinedString(key)));
}

UnicodeString shown(const char* text) { return DecodeUnicodeEscapes(Win1252ToUnicode(text ? text : "")); }

// Where the program shows a box: the statement being run (the reader stands at its end) and the
// cell in it. A loop shows its boxes from the same place again and again.
long long boxPlace()
{
    return (static_cast<long long>(macroLineNumber) << 32) | (static_cast<long long>(macroLineCursor & 0xFFF) << 20) |
           (execPos & 0xFFFFF);
}

// A box of the run: the time it waits for its answer is the user's, not the run's.
int runBox(const UnicodeString& text, const UnicodeString& title, unsigned flags)
{
    const MacroUserWait wait(boxPlace());
    return Application->MessageBox(text, title, flags);
}

bool isSyntaxError(const char* message)
{
    return std::strcmp(message, "parse error") == 0 || std::strcmp(message, "parser stack overflow") == 0;
}

}  // namespace

// --- string store --------------------------------------------------------------------------------

void ResetMacroStrings()
{
    charStack.swap(previousCharStack);
    charStack.assign(MACRO_STRING_SLOTS, TCharStack{});
    storeOpen = true;
    macroStringCount = 0;
    syntaxErrorShown = false;
}

void ClearMacroStrings()
{
    storeOpen = false;
    macroStringCount = 0;
}

int MacroStringSlots() { return storeOpen ? static_cast<int>(charStack.size()) : 0; }

char* StoreMacroString(const char* text)
{
    if (!storeOpen) ResetMacroStrings();
    if (!text) text = "";
    if (macroStringCount >= MACRO_STRING_SLOTS) {
        runBox(
            QStringLiteral("Error: Macro Internal strings > 255 - increase charStack vector size"),
            QStringLiteral("Macro System Error"), kErrorFlags);
        // No slot left: the run arena holds the text instead.
        std::string t = cut(text);
        char* copy = macroTryAlloc(t.size() + 1);
        if (!copy) return const_cast<char*>("");
        std::memcpy(copy, t.c_str(), t.size() + 1);
        return copy;
    }
    const char* value = text;
    // A value of the settings file may be megabytes long: it is neither measured nor shown whole.
    if (strnlen(text, 512) >= 512) {
        runBox(Win1252ToUnicode("Error: Macro string variable has string length > 512 - truncated\n" + cut(text)),
               QStringLiteral("Macro System Error"), kErrorFlags);
        value = "String too long";
    }
    TCharStack& slot = charStack[static_cast<size_t>(macroStringCount++)];
    slot.text.fill(0);
    std::strncpy(slot.text.data(), value, slot.text.size() - 1);
    return slot.text.data();
}

// --- boxes ---------------------------------------------------------------------------------------

void ShowMacroError(const char* message, const char* detail, const char* fileName, int lineNumber)
{
    // (Outside a run, each error asked for is shown.)
    if (storeOpen && isSyntaxError(message) && std::exchange(syntaxErrorShown, true)) return;
    std::string text = "Error: ";
    text += cut(message);
    size_t nameLength = fileName ? std::strlen(fileName) : 0;
    bool runFile = nameLength > 16 && std::strcmp(fileName + nameLength - 16, kRunFile) == 0;
    if (text.find("attempt to evaluate non-variable") == std::string::npos && detail) {
        std::string d = cut(detail);
        size_t equals = d.find('=');
        if (text.find("undefined variable") != std::string::npos)
            text.append(" \"").append(d).append("\"");
        else if (runFile && d.find("xvar =") != std::string::npos)
            text.append("\n").append(d, equals + 1, std::string::npos);
        else
            text.append(" ").append(d);
    }
    if (nameLength > 0 && !runFile) {
        text.append(" in \"").append(cut(fileName)).append("\"");
        if (text.find("in line number") == std::string::npos) {
            char line[64];
            std::snprintf(line, sizeof line, " near line %d\n", lineNumber - 2);
            text += line;
        }
    }
    runBox(Win1252ToUnicode(text), QStringLiteral("Macro Error"), kErrorFlags);
}

void ShowMacroMessage(const char* text)
{
    runBox(shown(text), caption("TRANSLATE:Message"), kMessageFlags);
}

void ShowMacroHostError(const char* text)
{
    runBox(Win1252ToUnicode(cut(text)), QStringLiteral("Macro Error"), kMessageFlags);
    macroStopCheckAfterBox();
}

void AskMacroInput(const char* prompt)
{
    Tfrm_MacroInput* form = MacroInputForm();
    form->Prompt = shown(prompt);
    form->CaptionText = caption("TRANSLATE:Input");
    const MacroUserWait wait(boxPlace());
    form->ShowModal();
    macroInputResult = form->Result;
}

void AskMacroYesNo(const char* prompt)
{
    UnicodeString question = shown(prompt);
    MacroInputForm()->Prompt = question;
    int answer = runBox(question, caption("TRANSLATE:Input"), kYesNoFlags);
    macroInputResult = answer == IDYES ? 1.0 : 0.0;
}

// --- escapes and tokens --------------------------------------------------------------------------

AnsiString NextTokenA(const char* text, const char* delimiters, int* position)
{
    if (!text || !*text) {
        *position = 0;
        return {};
    }
    int length = static_cast<int>(std::strlen(text));
    if (*position >= length || *position < 0) return {};
    int start = *position;
    int i = start;
    while (text[i] && !std::strchr(delimiters, text[i])) ++i;
    *position = i + 1;
    return AnsiString(text + start, static_cast<size_t>(i - start));
}

UnicodeString NextToken(const UnicodeString& text, const wchar_t* delimiters, int* position)
{
    AnsiString delims = UnicodeToWin1252(QString::fromWCharArray(delimiters));
    AnsiString narrow = UnicodeToWin1252(text);
    return Win1252ToUnicode(NextTokenA(narrow.c_str(), delims.c_str(), position));
}

UnicodeString DecodeUnicodeEscapes(const UnicodeString& text)
{
    if (text.isEmpty()) return text;
    const int n = static_cast<int>(text.length());
    UnicodeString result;
    int pos = 0;
    while (pos < n) {
        result += NextToken(text, L"#", &pos);
        if (pos >= n) {
            if (pos == n && text[n - 1] == QLatin1Char('#')) result += QLatin1Char('#');
            break;
        }
        int u = static_cast<int>(text.indexOf(QLatin1Char('U'), pos));
        if (u == pos) {
            int p = pos + 1;
            AnsiString number = UnicodeToWin1252(NextToken(text, L";", &p));
            result += QChar(static_cast<char16_t>(StrToIntDef(number, 64) & 0xFFFF));
            pos = p;
        } else if (u < 0) {
            result += QLatin1Char('#') + text.mid(pos);
            pos = n;
        } else {
            result += QLatin1Char('#') + text.mid(pos, u - pos) + QLatin1Char('U');
            pos = u + 1;
        }
    }
    return result;
}
