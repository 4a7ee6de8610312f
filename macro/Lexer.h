#pragma once
// The line reader and the lexer. The reader hands out the input one byte at a time from pieces of
// at most 511 bytes (a longer line arrives as several pieces); the lexer turns the bytes into the
// parser's tokens, resolves names against the symbol table and defines labels on the spot.
#include <cstdio>

constexpr int MACRO_LINE_BUFFER = 512;

// --- reader state (one for the whole interpreter) -------------------------------------------------
extern std::FILE* macroInputFile;   // the open input, or null
extern const char* macroInputName;  // its file name (the run entry sets it)
extern char macroLineBuffer[MACRO_LINE_BUFFER];  // the current piece, NUL-terminated
extern int macroLineCursor;         // next byte of the piece to hand out
extern int macroLineRemaining;      // bytes of the piece still to hand out
extern int macroLastChar;           // the byte read last, -1 for the end of input
extern int macroLineNumber;         // line ends consumed so far, plus 1

// Starts reading from a newly opened stream (null: nothing to read).
void macroReaderStart(std::FILE* input);
// The next input byte (0 to 255), or -1 at the end of input. Once the end has been reported, every
// later call reports it again. A NUL byte ends its piece; a piece that begins with one ends the input.
int macroGetc();
// Puts back the byte just read (never the end of input).
void macroUngetc(int c);
// The rest of the input is skipped: every later read reports the end.
void macroReaderToEnd();

// Pieces of the lexer.
bool lexIsNameChar(int c);  // an ASCII letter, a digit or '_'
// Reads one byte: tokenIfMatch when it is expected, otherwise puts it back and gives tokenIfNot.
int lexPeekMatch(int expected, int tokenIfMatch, int tokenIfNot);
// A number read from the piece at text (inside macroLineBuffer); the cursor moves past it.
double macroParseNumber(const char* text);
// One character of a string literal, c as read; after a backslash the next byte is read and
// translated (-1 when the input ends there).
int macroEscape(int c);

// The next token for the parser (0 at the end of input); its value goes into the parser's value.
int macroLex();
