#pragma once
// What the interpreter knows before a program is read: keywords, numeric constants, mathematical
// built-ins, EOF$ and the predefined estimate variables. macroInit installs all of it at the start
// of every run, so the new symbols hide those of earlier runs.
#include <span>

struct KeywordRow {
    const char* name;
    int token;
};
struct ConstantRow {
    const char* name;
    double value;
};
struct BuiltinRow {
    const char* name;
    double (*function)(double);
};

std::span<const KeywordRow> macroKeywords();           // 553 spellings
std::span<const ConstantRow> macroConstants();         // PI, E, GAMMA, DEG, PHI
std::span<const BuiltinRow> macroBuiltins();           // 49 spellings
std::span<const char* const> macroPredefinedNumbers(); // 227 names
std::span<const char* const> macroPredefinedStrings(); // 255 names, each ending in '$'

// EOF$: the one-character text (code 26) that readline returns at the end of a file.
extern char macroEofText[2];

// Installs every name above; the predefined values come from the host.
void macroInit();

// The first spelling of the built-in whose function this is, or null.
const char* macroBuiltinName(double (*function)(double));
