#pragma once
// Small string and number helpers shared across the program.
#include "platform/vcl/Strings.h"

// The leading number of a text, read in the locale's decimal notation; the fallback when the text
// has none. A leading number that is no valid number ("12-5", "1.5E") raises EConvertError.
double StrToFloatDefault(const AnsiString& text, double fallback);
double StrToFloatDefault(const char* text, double fallback);
// The leading number of a text without its blanks, possibly empty.
AnsiString ExtractLeadingNumber(const char* text);
// Replaces every occurrence of what by with, in place, searching from the start after each
// replacement; an empty what changes nothing. A replacement that holds what is put in once per
// occurrence (left to right) instead of being searched again.
void ReplaceAll(AnsiString& text, const AnsiString& what, const AnsiString& with);
// 1-based position of the first character of text that is in set, 0 for none.
int FirstCharOfSet(const UnicodeString& text, const UnicodeString& set);

// The low byte of each UTF-16 unit (a zero low byte adds nothing); no code-page conversion.
AnsiString WideToAnsi(const wchar_t* text);
AnsiString WideToAnsi(const char16_t* text, size_t length);
AnsiString UnicodeToAnsi(const UnicodeString& text);
// Decodes Windows-1252.
UnicodeString AnsiToUnicode(const AnsiString& text);
AnsiString AnsiToAnsi(const AnsiString& text);
