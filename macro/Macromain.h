#pragma once
// The interpreter's bridge to the windowing side: its error box, the message box of print and
// message, the input form and the yes/no question of ask and askyesno, the "#U<number>;" character
// escapes of the texts it shows, the box the host functions report misuse in, and the string store
// that holds the initial values of the predefined string variables. Every box goes through the
// application's message box (and so through the dialog seam).
#include "platform/vcl/Strings.h"

#include <array>
#include <vector>

// One text slot of the string store: 512 bytes, zero-filled.
struct TCharStack {
    std::array<char, 512> text{};
};

constexpr int MACRO_STRING_SLOTS = 256;

// Slots handed out in this run (0 to 256).
extern int macroStringCount;
// The answer of the last input form or yes/no question (1.0 Yes, 0.0 otherwise).
extern double macroInputResult;

// RunMacroFile calls this first: 256 zeroed slots, count 0, and no syntax error shown yet.
void ResetMacroStrings();
// RunMacroFile calls this last: the store is emptied. (Slot texts a user variable took over stay
// readable until the next run has carried them over, so emptying never leaves a dangling text.)
void ClearMacroStrings();
// Number of slots the store holds now (256 during a run, 0 outside).
int MacroStringSlots();

// The error box "Macro Error": message, detail (or null), file name (or null), line number.
void ShowMacroError(const char* message, const char* detail, const char* fileName, int lineNumber);
// The message box of print, message and the like.
void ShowMacroMessage(const char* text);
// The "Macro Error" box of a host function given what it cannot take (a setter's name without
// ZR_, an unknown getter name): a box of the run, as the message box is, with the text cut to its
// first 511 bytes. A stop asked for while it was open ends the run once it is closed.
void ShowMacroHostError(const char* text);
// The input form with prompt; its number goes into macroInputResult.
void AskMacroInput(const char* prompt);
// The yes/no question; macroInputResult = 1.0 for Yes, 0.0 otherwise.
void AskMacroYesNo(const char* prompt);
// A slot of the store holding text (the initial value of a predefined string variable).
char* StoreMacroString(const char* text);

// "#U<number>;" becomes the UTF-16 code unit of that number (decimal, or hexadecimal after "$"
// or "0x"; '@' when it does not convert).
UnicodeString DecodeUnicodeEscapes(const UnicodeString& text);
// The text from *position up to the first delimiter (or the end); *position moves past it.
UnicodeString NextToken(const UnicodeString& text, const wchar_t* delimiters, int* position);
AnsiString NextTokenA(const char* text, const char* delimiters, int* position);
