// Control flow, routine calls and returns, and the output and question instructions. Each handler
// reads its operand cells at execPos; sub-sequences (conditions, bodies) run through a nested
// macroExecute and end with a STOP cell.
#include "macro/Errors.h"
#include "macro/Machine.h"
#include "macro/Macromain.h"
#include "macro/RunControl.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

int operand(int i) { return static_cast<int>(programArea[execPos + i].num); }

// Runs a condition; false when a stop inside it ended execution (then nothing was pushed for us).
bool condition(int pos, double& value)
{
    macroExecute(pos);
    if (stopFlag) return false;
    value = popNum();
    return true;
}

// The same for the condition of a loop, which checked the native stack once on entry.
[[gnu::always_inline]] inline bool loopCondition(int pos, double& value)
{
    macroRunCells(pos);
    if (stopFlag) return false;
    value = popNum();
    return true;
}

// Drops whatever a piece of code left above mark (a for loop's initialisation and advance).
void dropTo(Datum* mark)
{
    if (stackPtr > mark) {
        valueCount -= static_cast<int>(stackPtr - mark);
        stackPtr = mark;
    }
}

void frameReturn()
{
    Frame* f = currentFrame;
    for (int i = 0; i < f->argCount; ++i) stackPop();
    execPos = f->returnPos;
    --currentFrame;
    returnFlag = 1;
}

bool inRoutine() { return currentFrame != callFrames && currentFrame->routine; }

// The datum of argument n of the current routine ($n), checked.
Datum* argument(int n)
{
    // A jump into a routine's body from outside leaves no routine to take arguments from.
    if (!inRoutine()) macroError("$", "used outside proc definition");
    Frame* f = currentFrame;
    if (n > f->argCount) macroError(f->routine->name, "not enough arguments");
    Datum* p = f->lastArg ? f->lastArg - (f->argCount - n) : nullptr;
    if (!p || p < valueStack || p >= stackPtr) macroError(f->routine->name, "not enough arguments");
    return p;
}

const char* text(const char* s) { return textOrEmpty(s); }

// A program that shows boxes in a loop spends its time in them, not in its loop passes: each box
// answered is a place to stop.
void message(const char* text)
{
    ShowMacroMessage(text);
    macroStopCheckAfterBox();
}

void show(const char* format, const char* s)
{
    char buf[TEXT_BUFFER];
    std::snprintf(buf, sizeof buf, format, text(s));
    message(buf);
}

}  // namespace

// whilecode ‹body› ‹next›, then the condition code, then the body code.
void whilecode()
{
    int body = operand(0), next = operand(1), cond = execPos + 2;
    double d;
    breakFlag = 0;
    macroCheckNesting();
    if (loopCondition(cond, d)) {
        while (d != 0.0) {
            macroRunCells(body);
            if (returnFlag || breakFlag || stopFlag) break;
            macroTick();
            if (!loopCondition(cond, d)) break;
        }
    }
    breakFlag = 0;
    if (!returnFlag) execPos = next;
}

// forcode ‹cond› ‹advance› ‹body› ‹next›, then the initialisation code.
void forcode()
{
    int cond = operand(0), advance = operand(1), body = operand(2), next = operand(3);
    Datum* mark = stackPtr;
    macroExecute(execPos + 4);
    dropTo(mark);
    double d;
    if (!stopFlag && loopCondition(cond, d)) {
        while (d != 0.0) {
            macroRunCells(body);
            if (returnFlag || breakFlag || stopFlag) break;
            macroTick();
            mark = stackPtr;
            macroRunCells(advance);
            dropTo(mark);
            if (stopFlag || !loopCondition(cond, d)) break;
        }
    }
    breakFlag = 0;
    if (!returnFlag) execPos = next;
}

// ifcode ‹then› ‹else or 0› ‹next›, then the condition code.
void ifcode()
{
    int thenPart = operand(0), elsePart = operand(1), next = operand(2);
    double d;
    gotoFlag = 0;
    if (!condition(execPos + 3, d)) return;
    if (d != 0.0)
        macroExecute(thenPart);
    else if (elsePart)
        macroExecute(elsePart);
    if (!stopFlag && !gotoFlag && !returnFlag) execPos = next;
}

void switchcode()
{
    switchValue = popNum();
    breakFlag = 0;
}

// casecode ‹statement› ‹next›, then the case-value code.
void casecode()
{
    int body = operand(0), next = operand(1);
    double d;
    if (!condition(execPos + 2, d)) return;
    if (breakFlag) {
        execPos = next;
        return;
    }
    if (d == switchValue) macroExecute(body);
    if (!returnFlag) execPos = next;
}

// defaultcode ‹statement› ‹next›.
void defaultcode()
{
    int body = operand(0), next = operand(1);
    if (breakFlag) {
        breakFlag = 0;
        execPos = next;
        return;
    }
    macroExecute(body);
    if (!returnFlag) execPos = next;
}

void brkout() { breakFlag = 1; }

// gotocode ‹label›
void gotocode()
{
    Symbol* label = programArea[execPos].sym;
    // A label left by an earlier run points into code that no longer exists.
    if (!labelFromThisRun(label)) macroError("undefined label:", label->name);
    // A label met inside an expression marks a cell whose code expects values that only the
    // rest of its statement pushes.
    if (!cellInfo(static_cast<int>(label->u.defn)).statementStart)
        macroError("goto into the middle of a statement:", label->name);
    macroTick();
    returnFlag = 0;
    gotoFlag = 1;
    execPos = static_cast<int>(label->u.defn);
}

// call ‹routine› ‹argument count›; the arguments are on the stack, the last on top.
void call()
{
    Symbol* routine = programArea[execPos].sym;
    int n = operand(1);
    // A routine named by an earlier run has no code in this one.
    if (!routineFromThisRun(routine)) macroError("undefined routine", routine->name);
    if (currentFrame == &callFrames[FRAME_COUNT - 1]) macroError(routine->name, "call nested too deep");
    macroTick();
    Frame* f = ++currentFrame;
    f->routine = routine;
    f->returnPos = execPos + 2;
    f->lastArg = stackPtr > valueStack ? stackPtr - 1 : nullptr;
    f->argCount = n;
    macroExecute(static_cast<int>(routine->u.defn));
    // A func body ends with STOP before its closing procret, so running off its end returns
    // here with the frame still in place: that func returned no value.
    if (currentFrame == f && !stopFlag) {
        if (routine->type == SYM_FUNCTION) macroError(routine->name, "func must return a value");
        frameReturn();
    }
    returnFlag = 0;
}

// return(expr)
void funcret()
{
    if (!inRoutine()) macroError("return", "used outside proc definition");
    if (currentFrame->routine->type == SYM_PROCEDURE)
        macroError(currentFrame->routine->name, "proc cannot return a value");
    Datum d = stackPop();
    frameReturn();
    stackPush(d);
}

// A bare return, and the end of every definition.
void procret()
{
    if (!inRoutine()) macroError("return", "used outside proc definition");
    if (currentFrame->routine->type == SYM_FUNCTION)
        macroError(currentFrame->routine->name, "func must return a value");
    frameReturn();
}

// arg ‹n›: $n in an expression.
void arg()
{
    int n = operand(0);
    ++execPos;
    stackPush(*argument(n));
}

// argassign ‹n›: $n = value; the value stays on the stack.
void argassign()
{
    int n = operand(0);
    ++execPos;
    Datum d = stackPop();
    stackPush(d);
    *argument(n) = d;
}

// --- output and questions ------------------------------------------------------------------------

void prexpr()
{
    char buf[TEXT_BUFFER];
    std::snprintf(buf, sizeof buf, "%.8g ", popNum());
    message(buf);
}

// prstr ‹text›
void prstr()
{
    const char* s = programArea[execPos++].str;
    show("%s", s);
}

void prstrexpr() { show("%s", popStr()); }

// prfmt ‹format›: a number formatted by the print's own format.
void prfmt()
{
    const char* format = text(programArea[execPos++].str);
    char buf[TEXT_BUFFER];
    macroFormatNumber(buf, sizeof buf, format, popNum());
    message(buf);
}

// prfmt ‹format› after a text value: the grammar knows the value is a text.
void prfmtstr()
{
    const char* format = text(programArea[execPos++].str);
    char buf[TEXT_BUFFER];
    macroFormatText(buf, sizeof buf, format, popStr());
    message(buf);
}

namespace {
void ask(void (*box)(const char*), const char* prompt)
{
    char buf[TEXT_BUFFER];
    std::snprintf(buf, sizeof buf, "%s", text(prompt));
    box(buf);
    macroStopCheckAfterBox();
}
}  // namespace

// prstrask ‹prompt›
void prstrask() { ask(AskMacroInput, programArea[execPos++].str); }

// prstrask2 ‹skipped›: the prompt is on the stack.
void prstrask2()
{
    ++execPos;
    ask(AskMacroInput, popStr());
}

// askyesno ‹question›
void askyesno() { ask(AskMacroYesNo, programArea[execPos++].str); }

void askyesno2()
{
    ++execPos;
    ask(AskMacroYesNo, popStr());
}

// --- user formats ----------------------------------------------------------------------------------

namespace {

class Out {
public:
    Out(char* buf, size_t size) : buf_(buf), size_(size) { if (size_) buf_[0] = 0; }
    void put(const char* s, size_t n)
    {
        for (size_t i = 0; i < n && len_ + 1 < size_; ++i) buf_[len_++] = s[i];
        if (size_) buf_[len_] = 0;
    }
    void put(const char* s) { put(s, std::strlen(s)); }
    int length() const { return static_cast<int>(len_); }

private:
    char* buf_;
    size_t size_;
    size_t len_ = 0;
};

long long toInteger(double v)
{
    if (!(v == v)) return 0;
    if (v >= 9.2e18) return 9200000000000000000LL;
    if (v <= -9.2e18) return -9200000000000000000LL;
    return static_cast<long long>(v);
}

// Reads a width or precision, capped so that a format cannot ask for huge outputs.
void digits(const char*& p, std::string& spec)
{
    int n = 0;
    while (*p >= '0' && *p <= '9') {
        n = n * 10 + (*p - '0');
        if (n > 511) n = 511;
        ++p;
    }
    spec += std::to_string(n);
}

int formatOne(char* buf, size_t size, const char* format, double number, const char* textValue, bool isText)
{
    Out out(buf, size);
    bool used = false;
    const char* p = format ? format : "";
    while (*p) {
        if (*p != '%') {
            const char* q = std::strchr(p, '%');
            size_t n = q ? size_t(q - p) : std::strlen(p);
            out.put(p, n);
            p += n;
            continue;
        }
        if (p[1] == '%') {
            out.put("%", 1);
            p += 2;
            continue;
        }
        const char* start = p++;
        std::string spec = "%";
        bool bad = false;
        while (*p && std::strchr("-+ #0'", *p)) spec += *p++;
        if (*p == '*') bad = true, ++p;
        else if (*p >= '0' && *p <= '9') digits(p, spec);
        if (*p == '.') {
            spec += *p++;
            if (*p == '*') bad = true, ++p;
            else digits(p, spec);
        }
        while (*p && std::strchr("hlLqjzt", *p)) ++p;
        char conv = *p;
        if (conv) ++p;
        if (used || bad || !conv || !std::strchr("eEfFgGaAdiouxXcs", conv)) {
            out.put(start, size_t(p - start));  // written as it stands
            continue;
        }
        used = true;
        char piece[2048];
        if (std::strchr("eEfFgGaA", conv)) {
            spec += conv;
            std::snprintf(piece, sizeof piece, spec.c_str(), isText ? 0.0 : number);
        } else if (conv == 'c') {
            spec += conv;
            int c = isText ? (textValue ? static_cast<unsigned char>(textValue[0]) : 0)
                           : static_cast<unsigned char>(toInteger(number));
            std::snprintf(piece, sizeof piece, spec.c_str(), c);
        } else if (conv == 's') {
            spec += conv;
            char numberText[64];
            if (!isText) std::snprintf(numberText, sizeof numberText, "%.8g", number);
            std::snprintf(piece, sizeof piece, spec.c_str(), isText ? (textValue ? textValue : "") : numberText);
        } else {
            spec += "ll";
            spec += conv;
            std::snprintf(piece, sizeof piece, spec.c_str(), isText ? 0LL : toInteger(number));
        }
        out.put(piece);
    }
    return out.length();
}

}  // namespace

int macroFormatNumber(char* buf, size_t size, const char* format, double value)
{
    return formatOne(buf, size, format, value, nullptr, false);
}

int macroFormatText(char* buf, size_t size, const char* format, const char* textValue)
{
    return formatOne(buf, size, format, 0.0, textValue, true);
}
