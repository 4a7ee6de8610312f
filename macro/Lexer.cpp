// The line reader and the lexer of the macro language.
#include "macro/Lexer.h"

#include "grammar.tab.h"
#include "macro/Errors.h"
#include "macro/Machine.h"

#include <cstring>

// The machine's symbol types are the grammar's token numbers.
static_assert(int{VAR} == SYM_VAR && int{STRVAR} == SYM_STRVAR && int{UNDEF} == SYM_UNDEF &&
              int{LABEL} == SYM_LABEL && int{NUMBER} == SYM_NUMBER && int{BLTIN} == SYM_BLTIN &&
              int{VEC} == SYM_VEC && int{STRVEC} == SYM_STRVEC && int{FUNCTION} == SYM_FUNCTION &&
              int{PROCEDURE} == SYM_PROCEDURE);

std::FILE* macroInputFile = nullptr;
const char* macroInputName = "";
char macroLineBuffer[MACRO_LINE_BUFFER];
int macroLineCursor = 0;
int macroLineRemaining = 0;
int macroLastChar = 0;
int macroLineNumber = 1;

namespace {

// Once the end of input has been handed out it stays the end: a put-back can never bring back
// bytes of the last piece.
bool inputEnded = true;  // nothing to read until an input is started

// Reads the next piece: up to 511 bytes, ending after a line end. A CR LF pair is one line end.
// Returns the piece's length up to its first NUL, 0 at the end of the file. At the end of the file
// the buffer keeps the last piece: a syntax error found there (an if without its endif) shows
// that line, and the pad line number behind its marker.
int readPiece()
{
    char piece[MACRO_LINE_BUFFER];
    int n = 0;
    while (macroInputFile && n < MACRO_LINE_BUFFER - 1) {
        int c = std::getc(macroInputFile);
        if (c == EOF) break;
        if (c == '\r') {
            int next = std::getc(macroInputFile);
            if (next == '\n') c = '\n';
            else if (next != EOF) std::ungetc(next, macroInputFile);
        }
        piece[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    if (n == 0) return 0;
    std::memcpy(macroLineBuffer, piece, static_cast<size_t>(n));
    macroLineBuffer[n] = '\0';
    return static_cast<int>(std::strlen(macroLineBuffer));
}

bool isLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(int c) { return c >= '0' && c <= '9'; }

}  // namespace

void macroReaderStart(std::FILE* input)
{
    macroInputFile = input;
    macroLineCursor = 0;
    macroLineRemaining = 0;
    macroLineBuffer[0] = '\0';
    macroLastChar = 0;
    inputEnded = input == nullptr;
}

int macroGetc()
{
    if (inputEnded) return macroLastChar = -1;
    if (macroLineRemaining <= 0 || macroLineBuffer[macroLineCursor] == '\0') {
        macroLineRemaining = readPiece();
        macroLineCursor = 0;
        if (macroLineRemaining == 0) {
            inputEnded = true;
            return macroLastChar = -1;
        }
    }
    --macroLineRemaining;
    return macroLastChar = static_cast<unsigned char>(macroLineBuffer[macroLineCursor++]);
}

void macroUngetc(int c)
{
    if (c < 0 || inputEnded) return;
    if (macroLineCursor == 0) macroError("my_unget over-pushed\n", macroLineBuffer);
    --macroLineCursor;
    ++macroLineRemaining;
}

void macroReaderToEnd()
{
    inputEnded = true;
    macroLineRemaining = 0;
}

bool lexIsNameChar(int c) { return isLetter(c) || isDigit(c) || c == '_'; }

// Reads one byte: tokenIfMatch when it is the expected one, otherwise puts it back.
int lexPeekMatch(int expected, int tokenIfMatch, int tokenIfNot)
{
    int c = macroGetc();
    if (c == expected) return tokenIfMatch;
    macroUngetc(c);
    return tokenIfNot;
}

// A number straight from the piece at the cursor: digits, an optional point and fraction, an
// optional exponent. The piece is NUL-terminated, so the scan cannot leave it.
double macroParseNumber(const char* text)
{
    const char* p = text;
    double mantissa = 0.0;
    double divisor = 1.0;
    while (isDigit(*p)) mantissa = mantissa * 10.0 + (*p++ - '0');
    if (*p == '.') ++p;
    while (isDigit(*p)) {
        mantissa = mantissa * 10.0 + (*p++ - '0');
        divisor *= 10.0;
    }
    double value = mantissa / divisor;
    if (*p == 'e' || *p == 'E') {
        ++p;
        bool negative = false;
        if (*p == '+' || *p == '-') negative = *p++ == '-';
        // Past a few hundred steps the value is 0 or infinite already; more steps change nothing
        // and a long run of exponent digits must neither overflow nor take forever.
        constexpr int exponentCap = 2000;
        int exponent = 0;
        while (isDigit(*p)) {
            exponent = exponent * 10 + (*p++ - '0');
            if (exponent > exponentCap) exponent = exponentCap;
        }
        for (int i = 0; i < exponent; ++i) {
            if (negative) value = static_cast<double>(static_cast<long double>(value) * 0.1L);
            else value *= 10.0;
        }
    }
    int used = static_cast<int>(p - text);
    macroLineCursor += used;
    macroLineRemaining -= used;
    return value;
}

// The escape step of a string literal: c is the byte read; after a backslash the next byte is
// read and translated. Returns -1 when the input ends after a backslash.
int macroEscape(int c)
{
    static const char table[] = "b\bf\fn\nr\rt\t";
    if (c != '\\') return c;
    c = macroGetc();
    if (c >= 'a' && c <= 'z') {
        for (const char* t = table; *t; t += 2)
            if (*t == c) return t[1];
    }
    return c;
}

namespace {

// A name, a literal or a label reference: at most 511 characters (and a string name's '$').
constexpr int NAME_LIMIT = MACRO_LINE_BUFFER - 1;

// Returned by scanName for a label definition, which yields no token.
constexpr int NO_TOKEN = -1;

int scanNumber()
{
    double value = macroParseNumber(macroLineBuffer + macroLineCursor);
    char name[64];
    std::snprintf(name, sizeof name, "%.6f", value);  // the name only shows in listings
    macrolval.sym = symInstall(name, NUMBER, value);
    return NUMBER;
}

// A name starting with the letter c. A ':' right after it defines a label; a '$' makes it a
// string name.
int scanName(int c)
{
    char name[NAME_LIMIT + 2];
    int n = 0;
    name[n++] = static_cast<char>(c);
    while (lexIsNameChar(c = macroGetc())) {
        if (n == NAME_LIMIT) {
            name[n] = '\0';
            macroError("name too long", name);
        }
        name[n++] = static_cast<char>(c);
    }
    if (c == ':') {
        name[n] = '\0';
        Symbol* label = symLookup(name);
        if (!label) label = symInstall(name, UNDEF, 0.0);
        if (!defineLabel(label, codeNext)) macroError("multiple labels: ", name);
        return NO_TOKEN;
    }
    bool stringName = c == '$';
    if (stringName) name[n++] = '$';
    else macroUngetc(c);
    name[n] = '\0';
    Symbol* s = symLookup(name);
    if (!s) s = symInstall(name, UNDEF, 0.0);
    macrolval.sym = s;
    if (s->type != UNDEF) return s->type;
    return stringName ? STRVAR : VAR;
}

// $n: an argument reference inside a routine.
int scanArgument()
{
    int n = 0;
    int c;
    while (isDigit(c = macroGetc())) {
        // Saturate: no routine has this many arguments, and the count must not overflow.
        if (n < 100000000) n = n * 10 + (c - '0');
    }
    macroUngetc(c);
    if (n == 0) macroError("strange $...", nullptr);
    macrolval.num = n;
    return ARG;
}

// A string literal after its opening quote. A '%' (not escaped) makes it a format.
int scanString()
{
    char text[MACRO_LINE_BUFFER];
    int n = 0;
    bool format = false;
    for (;;) {
        int c = macroGetc();
        if (c == '"') break;
        if (c == '\n' || c < 0) macroError("text missing closing double-quote", "");
        if (n == NAME_LIMIT) {
            text[n] = '\0';
            macroError("string too long", text);
        }
        if (c == '%') format = true;
        c = macroEscape(c);
        if (c < 0) macroError("text missing closing double-quote", "");
        text[n++] = static_cast<char>(c);
    }
    text[n] = '\0';
    char* copy = static_cast<char*>(macroAlloc(static_cast<size_t>(n) + 1));
    std::memcpy(copy, text, static_cast<size_t>(n) + 1);
    macrolval.str = copy;
    return format ? FORMAT : STRING;
}

// @name: a label that may be defined later in the text.
int scanLabelReference()
{
    char name[MACRO_LINE_BUFFER];
    int n = 0;
    int c;
    while (lexIsNameChar(c = macroGetc())) {
        if (n == NAME_LIMIT) {
            name[n] = '\0';
            macroError("label too long", name);
        }
        name[n++] = static_cast<char>(c);
    }
    macroUngetc(c);
    name[n] = '\0';
    Symbol* s = symLookup(name);
    if (!s) s = symInstall(name, UNDEF, 0.0);
    macrolval.sym = s;
    return labelFromThisRun(s) ? LABEL : UNDEF;
}

}  // namespace

int macroLex()
{
    for (;;) {
        int c;
        while ((c = macroGetc()) == ' ' || c == '\t') {}
        if (c < 0) return 0;
        if (isDigit(c) || c == '.') {
            macroUngetc(c);
            return scanNumber();
        }
        if (isLetter(c)) {
            int token = scanName(c);
            if (token == NO_TOKEN) continue;
            return token;
        }
        switch (c) {
        case '$': return scanArgument();
        case '"': return scanString();
        case '@': return scanLabelReference();
        case '\'':  // a comment runs to the line end, which still ends the statement
            while ((c = macroGetc()) != '\n' && c >= 0) {}
            // A comment on the last line ends its statement even without a line end; the end of
            // input follows as the next token.
            if (c >= 0) ++macroLineNumber;
            return '\n';
        case '\n': ++macroLineNumber; return '\n';
        case ';': return '\n';
        case '>': return lexPeekMatch('=', GE, GT);
        case '<': return lexPeekMatch('=', LE, LT);
        case '=': return lexPeekMatch('=', EQ, '=');
        case '!': return lexPeekMatch('=', NE, NOT);
        case '&': return lexPeekMatch('&', AND, '&');
        case '|': return lexPeekMatch('|', OR, '|');
        case '+': {
            int t = lexPeekMatch('=', AE, 0);
            return t ? t : lexPeekMatch('+', PP, '+');
        }
        case '-': {
            int t = lexPeekMatch('=', SE, 0);
            return t ? t : lexPeekMatch('-', MM, '-');
        }
        case '*': return lexPeekMatch('=', ME, '*');
        case '/': return lexPeekMatch('=', DE, '/');
        default:
            // Every other byte is a token of its own; the parser rejects those it has no use for,
            // bytes above 0x7F included.
            return c;
        }
    }
}
