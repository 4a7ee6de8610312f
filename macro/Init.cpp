// Interpreter initialisation: the constants and built-ins, and the installation of every name the
// language knows before a program is read.
#include "macro/Init.h"

#include "grammar.tab.h"
#include "macro/Host.h"
#include "macro/Machine.h"
#include "macro/Macromain.h"

namespace {

const ConstantRow constantRows[] = {
    {"PI", 3.141592653589793},
    {"E", 2.718281828459045},
    {"GAMMA", 0.5772156649015329},
    {"DEG", 57.29577951308232},
    {"PHI", 1.618033988749895},
};

const BuiltinRow builtinRows[] = {
    {"sin", mathSin}, {"SIN", mathSin}, {"Sin", mathSin},
    {"cos", mathCos}, {"COS", mathCos}, {"Cos", mathCos},
    {"tan", mathTan}, {"TAN", mathTan}, {"Tan", mathTan},
    {"atan", mathAtan}, {"ATAN", mathAtan}, {"Atan", mathAtan}, {"ATan", mathAtan},
    {"asin", mathAsin}, {"ASIN", mathAsin}, {"Asin", mathAsin}, {"ASin", mathAsin},
    {"acos", mathAcos}, {"ACOS", mathAcos}, {"Acos", mathAcos}, {"ACos", mathAcos},
    {"ln", mathLog}, {"LN", mathLog}, {"Ln", mathLog}, {"log", mathLog}, {"LOG", mathLog}, {"Log", mathLog},
    {"log10", mathLog10}, {"LOG10", mathLog10}, {"Log10", mathLog10},
    {"exp", mathExp}, {"EXP", mathExp}, {"Exp", mathExp},
    {"sqrt", mathSqrt}, {"SQRT", mathSqrt}, {"Sqrt", mathSqrt},
    {"int", mathInt}, {"INT", mathInt}, {"Int", mathInt},
    {"abs", mathAbs}, {"ABS", mathAbs}, {"Abs", mathAbs},
    {"rand", mathRand}, {"RAND", mathRand}, {"Rand", mathRand},
    {"sys", mathStop}, {"stop", mathStop}, {"STOP", mathStop}, {"Stop", mathStop},
};

}  // namespace

// The interpreter keeps it; it is never copied.
char macroEofText[2] = {26, 0};

std::span<const ConstantRow> macroConstants() { return constantRows; }
std::span<const BuiltinRow> macroBuiltins() { return builtinRows; }

const char* macroBuiltinName(double (*function)(double))
{
    for (const BuiltinRow& row : builtinRows)
        if (row.function == function) return row.name;
    return nullptr;
}

void macroInit()
{
    for (const KeywordRow& row : macroKeywords()) symInstall(row.name, row.token, 0.0);
    for (const ConstantRow& row : constantRows) symInstall(row.name, VAR, row.value);
    for (const BuiltinRow& row : builtinRows) {
        Symbol* s = symInstall(row.name, BLTIN, 0.0);
        s->u.ptr = row.function;
    }
    symInstallString("EOF$", STRVAR, macroEofText);
    MacroHost& host = Host();
    for (const char* name : macroPredefinedNumbers()) symInstall(name, VAR, host.GetPredefinedQty(name));
    for (const char* name : macroPredefinedStrings()) {
        AnsiString value = host.GetPredefinedString(name);
        symInstallString(name, STRVAR, StoreMacroString(value.c_str()));
    }
}
