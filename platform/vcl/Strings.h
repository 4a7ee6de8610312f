#pragma once
// The two string kinds of the program: 8-bit text in the ANSI code page and UTF-16 text.
// The ANSI code page is Windows-1252 everywhere, because that is what stored pads, settings and
// macro programs were written in.
#include <QString>
#include <cstddef>
#include <string>

using AnsiString = std::string;
using UnicodeString = QString;

// Windows-1252 bytes to UTF-16. The five unassigned bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the
// control characters of the same value, so every byte survives a round trip.
UnicodeString Win1252ToUnicode(const AnsiString& text);
// UTF-16 to Windows-1252; a character the code page lacks becomes '?'.
AnsiString UnicodeToWin1252(const UnicodeString& text);

// Upper- and lower-casing of 8-bit text as the run-time library does it: ASCII letters only.
AnsiString UpperCase(const AnsiString& text);
AnsiString LowerCase(const AnsiString& text);
// Blanks and control characters removed from both ends, as the run-time library's Trim.
AnsiString Trim(const AnsiString& text);
AnsiString TrimLeft(const AnsiString& text);
AnsiString TrimRight(const AnsiString& text);

// File names are the system's own, never forced through the code page: a path is held as the
// bytes the file system takes (UTF-8 here) and turned into UTF-16 only at Qt's door.
UnicodeString PathToUnicode(const AnsiString& path);
AnsiString UnicodeToPath(const UnicodeString& path);
// Whether text is valid UTF-8 holding at least one byte outside ASCII: the mark of a settings
// file that was written in UTF-8 because it holds a name the code page lacks.
bool IsUtf8Text(const AnsiString& text);
// The most of a text that a box quotes, and that the interpreter keeps of a text a host hands back
// (its 512-byte text buffer less the NUL). A settings value or a pad line may be megabytes long, and
// a box of megabytes freezes the window.
constexpr size_t kTextHeadMax = 511;
// The first kTextHeadMax bytes of text, up to its NUL: what a box quotes of a text it was given.
AnsiString TextHead(const char* text);
inline AnsiString TextHead(const AnsiString& text) { return TextHead(text.c_str()); }
// ASCII digits and letters only, whatever the locale: the notations of pads, lengths and macro
// programs know no others.
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
