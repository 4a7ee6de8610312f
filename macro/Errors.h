#pragma once
// The interpreter's three error paths. Every fault found while reading, parsing or running a macro
// program is reported through one of them.
#include <stdexcept>

// Thrown by macroError after its box has been shown; the run loop catches it, the rest of the input
// is skipped and the run ends normally. Nothing else may catch it.
struct MacroRunError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A run-time or lexer error: shows the "Macro Error" box (message, detail, file, line), skips the
// rest of the input and unwinds to the run loop. detail may be null.
[[noreturn]] void macroError(const char* message, const char* detail);
// Shows the box and skips the rest of the current input line; the run goes on.
void macroWarning(const char* message, const char* detail);
// The parser's error hook: shows the box with the pad line (from the line marker) and stops every
// further execution in this run; parsing goes on to the end of the input.
void macroSyntaxError(const char* message);
