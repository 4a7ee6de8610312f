#include "calc/BasicLine.h"

#include "calc/Highlight.h"
#include "config/StrUtils.h"

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <vector>

namespace {

struct Token {
    AnsiString upper;  // the token as written, upper-cased
    size_t start = 0;
    size_t end = 0;    // one past its last character
    bool comment = false;
};

// The tokens of the line from the first on, at most max of them; a comment ends the list.
std::vector<Token> ReadTokens(const THighlight& highlighter, const AnsiString& line, size_t max)
{
    // Windows-1252 gives one UTF-16 unit per byte, so token positions are byte positions.
    const UnicodeString text = Win1252ToUnicode(line);
    std::vector<Token> tokens;
    UnicodeString token;
    int pos = 0, start = 0, length = 0;
    while (tokens.size() < max) {
        const int colour = highlighter.NextToken(text, token, pos, start, length);
        if (colour < 0) break;
        const size_t from = static_cast<size_t>(start);
        tokens.push_back({UpperCase(line.substr(from, static_cast<size_t>(length))), from,
                          from + static_cast<size_t>(length), colour == highlighter.CommentColour});
        if (tokens.back().comment) break;
    }
    return tokens;
}

// The macro language writes a negative operand with its keypad minus: -1 is (-)1.
AnsiString WithKeypadMinus(const AnsiString& operand)
{
    return !operand.empty() && operand[0] == '-' ? "(-)" + operand.substr(1) : operand;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsName(const AnsiString& text)
{
    if (text.empty() || !IsLetter(text[0])) return false;
    for (char c : text)
        if (!IsLetter(c) && !IsDigit(c) && c != '_') return false;
    return true;
}

// FOR, blanks, a variable name and "=": only such a line is a BASIC loop head. The macro
// language's own for(...) lines, and names that happen to read TO, are left alone.
bool IsBasicForHead(const AnsiString& line, const std::vector<Token>& tokens)
{
    if (tokens.size() < 3 || tokens[1].comment || tokens[2].comment) return false;
    const AnsiString gap = line.substr(tokens[0].end, tokens[1].start - tokens[0].end);
    if (gap.empty() || !std::all_of(gap.begin(), gap.end(), IsBlank)) return false;
    if (!IsName(line.substr(tokens[1].start, tokens[1].end - tokens[1].start))) return false;
    // The start value may begin with a sign, which the tokenizer keeps out of its tokens.
    const AnsiString assign = Trim(line.substr(tokens[1].end, tokens[2].start - tokens[1].end));
    return !assign.empty() && assign[0] == '=' && (assign.size() == 1 || assign[1] != '=');
}

// FOR v = a TO b [STEP s] becomes FOR(v=a; v <= b; v++) followed by the BASIC line as a comment.
// The start and end values are whole expressions. A plain-number STEP counts by its value (down,
// with >=, when it is negative); any other STEP (a length, a variable, an expression) is only
// known when the loop runs, so the condition asks its sign on every pass, and a step of zero
// runs no pass rather than looping for ever. A line that does not fit is left as it is, so that
// the macro language reports it.
AnsiString TranslateFor(const AnsiString& line, const std::vector<Token>& tokens)
{
    if (!IsBasicForHead(line, tokens)) return line;
    // tokens[0] is FOR, tokens[1] the variable.
    size_t to = 0;
    for (size_t k = 3; k < tokens.size() && !tokens[k].comment; ++k)
        if (tokens[k].upper == "TO") {
            to = k;
            break;
        }
    if (to == 0 || to + 1 >= tokens.size() || tokens[to + 1].comment) return line;

    const Token& var = tokens[1];
    size_t statementEnd = line.size();
    size_t step = 0;
    for (size_t k = to + 2; k < tokens.size(); ++k) {
        if (tokens[k].comment) {
            statementEnd = tokens[k].start;
            break;
        }
        if (step == 0 && tokens[k].upper == "STEP") step = k;
    }

    const AnsiString v = line.substr(var.start, var.end - var.start);
    AnsiString from = Trim(line.substr(var.end, tokens[to].start - var.end));
    if (!from.empty() && from[0] == '=') from = Trim(from.substr(1));
    const size_t boundEnd = step ? tokens[step].start : statementEnd;
    const AnsiString bound = WithKeypadMinus(Trim(line.substr(tokens[to].end, boundEnd - tokens[to].end)));
    if (from.empty() || bound.empty()) return line;

    AnsiString condition = v + " <= " + bound, advance = v + "++";
    if (step) {
        const AnsiString by = Trim(line.substr(tokens[step].end, statementEnd - tokens[step].end));
        if (by.empty()) return line;
        static const std::regex number(R"(^(-?)\s*((\d+\.?\d*|\.\d+)(E[+-]?\d+)?)$)", std::regex::icase);
        std::smatch m;
        if (std::regex_match(by, m, number)) {
            if (std::strtod(m[2].str().c_str(), nullptr) == 0.0) return line;
            const bool down = m[1].length() > 0;
            condition = v + (down ? " >= " : " <= ") + bound;
            advance = v + " = " + v + (down ? " - " : " + ") + m[2].str();
        } else {
            const AnsiString s = "(" + WithKeypadMinus(by) + ")";
            condition = s + " > 0 && " + v + " <= (" + bound + ") || " + s + " < 0 && " + v + " >= (" + bound + ")";
            advance = v + " = " + v + " + " + s;
        }
    }
    return "FOR(" + v + "=" + WithKeypadMinus(from) + "; " + condition + "; " + advance + ") ' " + line;
}

}  // namespace

AnsiString TranslateBasicLine(const THighlight& highlighter, const AnsiString& line)
{
    const std::vector<Token> first = ReadTokens(highlighter, line, 2);
    if (first.empty()) return line;
    const AnsiString& w1 = first[0].upper;
    const AnsiString w2 = first.size() > 1 ? first[1].upper : AnsiString();
    AnsiString out = line;

    if (w1 == "DO") {
        if (w2 == "WHILE") out.erase(first[0].start, first[0].end - first[0].start);
    } else if (w1 == "END") {
        if (w2 == "IF" || w2 == "FOR" || w2 == "WHILE")
            out.erase(first[0].end, first[1].start - first[0].end);
    } else if (w1 == "ELSE") {
        if (w2 == "IF") out.erase(first[0].end, first[1].start - first[0].end);
    } else if (w1 == "NEXT") {
        out = "ENDFOR ' " + line;
    } else if (w1 == "FOR") {
        out = TranslateFor(line, ReadTokens(highlighter, line, AnsiString::npos));
    }
    return out;
}

AnsiString NormalizeTypographicQuotes(const AnsiString& line)
{
    AnsiString out = line;
    ReplaceAll(out, "\x92", "'");
    ReplaceAll(out, "\x94", "\"");
    ReplaceAll(out, "\x93", "\"");
    ReplaceAll(out, "\x96", "-");
    return out;
}
