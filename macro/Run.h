#pragma once
// The run entry and the run loop: one macro file is read, and each top-level statement is parsed
// and executed at once. The error paths themselves are declared in Errors.h.
#include "macro/Errors.h"

#include <functional>

// The entry for the rest of the program: prepares the string store, resets the interpreter and
// runs the file at path to its end. Errors are shown in their boxes; nothing is thrown.
void RunMacroFile(const char* path);

// Resets the interpreter and runs path; returns the last result of macroNextInput (0).
int macroRunFile(const char* path);
// Closes the previous input and opens the next one: 1 when there is one, 0 when none is left.
int macroNextInput();
// Parses and executes the open input statement by statement.
void macroRunLoop();
// The parser (grammar.y): 1 when a top-level statement has been emitted and must run (also after
// an abort in error recovery), 2 after "parser stack overflow", 0 at the end of the input.
int macroParse();
// The parser's error report ("syntax error" or "memory exhausted" from the parser skeleton).
void macroParserError(const char* message);

// The n-th entry of the interpreter's argument list, or the empty text (always, during a run).
const char* macroCmdArg(int n);

// Called after each top-level statement has been parsed, before it runs; tests use it to read the
// code listing. An empty function removes it.
void macroSetAfterParseHook(std::function<void()> hook);
