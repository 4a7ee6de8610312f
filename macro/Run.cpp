// The run entry, the parse-and-execute loop and the interpreter's three error paths.
#include "macro/Run.h"

#include "macro/Code.h"
#include "macro/Init.h"
#include "macro/Lexer.h"
#include "macro/Machine.h"
#include "macro/Macromain.h"
#include "platform/vcl/Forms.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {

// The interpreter's argument list: a run puts its one input file here, and opening the input
// uses it up.
std::string macroArgList[1];
int macroArgCount = 0;

std::string inputName;      // owns the text macroInputName points at
bool running = false;       // one run at a time: the interpreter is not re-entrant
std::function<void()> afterParseHook;

// The after-parse hook of the run loop.
void macroAfterParse()
{
    if (afterParseHook) afterParseHook();
}

// Skips the rest of the current input line, from the byte read last on.
void skipRestOfLine()
{
    int c = macroLastChar;
    while (c != '\n' && c >= 0) {
        c = macroGetc();
        if (c == '\n') ++macroLineNumber;
    }
}

// The memory error where no macroError could be raised: shown, and the rest of the input skipped.
void reportOutOfMemory()
{
    macroWarning("not enought memory", nullptr);
    macroReaderToEnd();
}

}  // namespace

void RunMacroFile(const char* path)
{
    // A box of a run runs the event loop; nothing there may start a second run over this one.
    if (running) return;
    // Whatever leaves the run (an exception of the host included), the next run must be possible.
    struct Running {
        Running() { running = true; }
        ~Running() { running = false; }
    } busy;
    RunLifetime lifetime;
    macroLineNumber = 1;
    macroRunFile(path ? path : "");
}

int macroRunFile(const char* path)
{
    inputName = path;
    macroInputName = inputName.c_str();
    macroArgList[0] = inputName;
    macroArgCount = 1;
    try {
        machineReset();
        macroInit();
    } catch (const std::bad_alloc&) {
        // Vectors and texts kept from earlier runs may leave too little to start another.
        reportOutOfMemory();
        return 0;
    }
    int more;
    while ((more = macroNextInput()) != 0) macroRunLoop();
    return more;
}

int macroNextInput()
{
    for (;;) {
        if (macroInputFile && macroInputFile != stdin) std::fclose(macroInputFile);
        macroReaderStart(nullptr);
        if (macroArgCount-- <= 0) return 0;
        if (inputName == "-") {
            inputName.clear();
            macroInputName = inputName.c_str();
            macroReaderStart(stdin);
            return 1;
        }
        std::FILE* f = std::fopen(inputName.c_str(), "rb");
        if (f) {
            macroReaderStart(f);
            return 1;
        }
        std::fprintf(stderr, "%s: file not found %s\n", ExtractFileName(ParamStr0()).c_str(), inputName.c_str());
    }
}

void macroRunLoop()
{
    for (;;) {
        try {
            initCode();
            while (macroParse() != 0) {
                macroAfterParse();
                macroExecute(codeBase);
                lifetimeEndStatement();
                initCode();
            }
            return;
        } catch (const MacroRunError&) {
            // Reported already, and the input is at its end: the next parse ends the run.
        } catch (const std::bad_alloc&) {
            // Whatever memory a program drives the interpreter to ask for (names, texts, vectors,
            // host calls) and cannot be had ends the run as the interpreter's memory error.
            reportOutOfMemory();
        }
    }
}

void macroError(const char* message, const char* detail)
{
    macroWarning(message, detail);
    macroReaderToEnd();
    throw MacroRunError(message ? message : "");
}

void macroWarning(const char* message, const char* detail)
{
    ShowMacroError(message ? message : "", detail, macroInputName, macroLineNumber);
    skipRestOfLine();
}

void macroSyntaxError(const char* message)
{
    // A pad line carries its own number behind this marker; the user sees that number and the
    // line without the marker.
    static const char marker[] = " '_LINE:";
    char line[MACRO_LINE_BUFFER];
    std::snprintf(line, sizeof line, "%s", macroLineBuffer);
    int number = macroLineNumber;
    if (char* at = std::strstr(line, marker)) {
        number = 0;
        for (const char* p = at + sizeof marker - 1; *p >= '0' && *p <= '9'; ++p) {
            if (number > 99999999) break;  // no pad has that many lines; the number must not overflow
            number = number * 10 + (*p - '0');
        }
        *at = '\0';
    }
    // The detail fits the 512-byte buffer of the box: a long line is cut.
    std::string detail = "in line number " + std::to_string(number) + ":\n" + line;
    if (detail.size() > MACRO_LINE_BUFFER - 1) detail.resize(MACRO_LINE_BUFFER - 1);
    macroWarning(message, detail.c_str());
    stopFlag = 1;
}

void macroParserError(const char* message)
{
    macroSyntaxError(std::strcmp(message, "memory exhausted") == 0 ? "parser stack overflow" : "parse error");
}

const char* macroCmdArg(int n)
{
    if (n < 0 || n >= macroArgCount) return "";
    return macroArgList[n].c_str();
}

void macroSetAfterParseHook(std::function<void()> hook) { afterParseHook = std::move(hook); }
