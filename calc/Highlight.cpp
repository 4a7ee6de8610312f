#include "calc/Highlight.h"

#include "calc/FeetInch.h"

#include <algorithm>

namespace {

// How a keyword row is written: each word as it stands, or each word in lower case, capitalised
// and upper case (sin, Sin, SIN).
enum class Forms { AsWritten, LowerCapitalUpper };

// The keywords in the order they are looked up. Matching is case-sensitive and whole-word, so
// every written form that is coloured is an entry of its own.
const struct {
    Forms forms;
    const char* words;
} kKeyWordRows[] = {
    {Forms::LowerCapitalUpper,
     "sin cos tan atan atan2 asin acos ln log log10 exp sqrt int abs rand stop"},
    {Forms::AsWritten, "instr Instr InStr INSTR"},
    {Forms::AsWritten, "instric instrIC Instric InstrIC InStrIc InStrIC INSTRIC"},
    {Forms::LowerCapitalUpper,
     "len trim left right mid asc chr str val lcase ucase if while function for"},
    {Forms::AsWritten,
     "endif Endif EndIf ENDIF endwhile Endwhile EndWhile ENDWHILE "
     "endfunction Endfunction EndFunction ENDFUNCTION endfor Endfor EndFor ENDFOR"},
    {Forms::AsWritten, "message Message MESSAGE"},
    {Forms::AsWritten, "msgbox Msgbox MSGBOX MsgBox"},
    {Forms::LowerCapitalUpper, "return vector break"},
    {Forms::AsWritten, "qsort Qsort QSort QSORT"},
    {Forms::AsWritten, "goto Goto GoTo GOTO"},
    {Forms::LowerCapitalUpper, "include else"},
    {Forms::AsWritten, "elseif Elseif ElseIf ELSEIF"},
    {Forms::LowerCapitalUpper, "case then to next end eq ne and or not gt lt ge le"},
    {Forms::AsWritten, "PI E GAMMA DEG PHI EOF$ TOTAL ANS"},
};

const char* const kDelimiters[] = {" ", "\t", "=", "(", ")", "+", "-", "/", "*",
                                   "<", ">", "^", "!", "[", "]", "|", "&", ","};

const TColor kPalette[] = {clBlack, clGreen, clRed, clBlue, clPurple, clNavy, clMaroon};

// Characters a length token may run over: digits, blank, both marks, minus, slash and point.
const QString kLengthTokenChars = QStringLiteral("0123456789 '\"-/.");

bool IsDigit(QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); }
bool IsNameStart(QChar ch)
{
    return (ch >= QLatin1Char('a') && ch <= QLatin1Char('z')) || (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z')) ||
           ch == QLatin1Char('_');
}

}  // namespace

THighlight::THighlight()
{
    CommentStart = QStringLiteral("'");
    StringDelimiter = QStringLiteral("\"");
    DecimalPoint = QStringLiteral(".");
    for (const char* d : kDelimiters) Delimiters.push_back(QString::fromLatin1(d));
    Palette.assign(std::begin(kPalette), std::end(kPalette));
    LoadKeyWords();
}

void THighlight::LoadKeyWords()
{
    for (const auto& row : kKeyWordRows) {
        const QStringList words = QString::fromLatin1(row.words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& word : words) {
            QStringList forms{word};
            if (row.forms == Forms::LowerCapitalUpper)
                forms = {word, word.left(1).toUpper() + word.mid(1), word.toUpper()};
            for (const QString& form : forms) KeyWords.push_back({form, KeyWordColour});
        }
    }
    // The lookup finds the first entry of a word, so later entries must not replace it.
    keyWordIndex_.clear();
    for (size_t i = KeyWords.size(); i-- > 0;) keyWordIndex_.insert(KeyWords[i].Word, static_cast<int>(i));
}

int THighlight::FindKeyWordColour(const UnicodeString& word) const
{
    const auto hit = keyWordIndex_.constFind(word);
    return hit == keyWordIndex_.cend() ? 0 : KeyWords[static_cast<size_t>(*hit)].ColourIndex;
}

TColor THighlight::ColourOf(int index) const
{
    if (index >= 0 && static_cast<size_t>(index) < Palette.size()) return Palette[static_cast<size_t>(index)];
    return Palette.empty() ? clBlack : Palette[0];
}

int THighlight::DelimiterIndex(QChar ch) const
{
    for (size_t i = 0; i < Delimiters.size(); ++i)
        if (Delimiters[i].size() == 1 && Delimiters[i][0] == ch) return static_cast<int>(i);
    return -1;
}

int THighlight::NumberTokenKind(const UnicodeString& line, int start, int& length) const
{
    length = 0;
    const int from = start - 1;
    const int size = static_cast<int>(line.size());
    if (from < 0 || from >= size) return 0;
    int n = size - from;
    for (int q = from + 1; q < size; ++q) {
        if (!kLengthTokenChars.contains(line[q])) {
            n = q - from;
            break;
        }
    }
    // After a slash, a number needs the number before it for the finders to tell a fraction (the 2
    // of 1/2-1/4" is a denominator, so its hyphen is a minus) from a division (a/2-1/4").
    int context = 0;
    const bool number =
        IsDigit(line[from]) || (line[from] == QLatin1Char('.') && from + 1 < size && IsDigit(line[from + 1]));
    if (from > 0 && line[from - 1] == QLatin1Char('/') && number) {
        context = 1;
        while (from - context > 0 && IsDigit(line[from - context - 1])) ++context;
        if (from - context > 0 && IsNameStart(line[from - context - 1])) ++context;
    }
    const AnsiString text = UnicodeToWin1252(line.mid(from - context, n + context));
    TDimensionList unused;
    int first = 0, last = 0;
    // A malformed feet length (one that does not start here) makes the text no length at all.
    if (FindFeetLength(text, first, last, unused)) {
        if (first != context + 1) return 0;
        length = last - context;
        return 1;
    }
    if (FindInchLength(text, first, last, unused) && first == context + 1) {
        length = last - context;
        return 2;
    }
    return 0;
}

bool THighlight::ReadToken(const UnicodeString& line, int pos, Span& span,
                           const std::function<void(int)>& onDelimiter) const
{
    const int size = static_cast<int>(line.size());
    const QChar comment = CommentStart.isEmpty() ? QChar() : CommentStart[0];
    const QChar quote = StringDelimiter.isEmpty() ? QChar() : StringDelimiter[0];
    const QChar point = DecimalPoint.isEmpty() ? QChar() : DecimalPoint[0];

    int i = std::max(pos, 0);
    Kind kind = Kind::Word;
    for (; i < size; ++i) {
        const QChar ch = line[i];
        if (ch == comment) {
            kind = Kind::Comment;
            break;
        }
        if (ch == quote) {
            kind = Kind::String;
            break;
        }
        const int d = DelimiterIndex(ch);
        if (d < 0) break;
        if (d >= 2 && onDelimiter) onDelimiter(i);  // blank and tab stay uncoloured
    }
    span.start = i;
    if (i >= size) return false;

    int end = kind == Kind::Comment ? size : kind == Kind::String ? i + 1 : i;
    while (end < size) {
        const QChar ch = line[end];
        if (kind == Kind::String) {
            ++end;
            if (ch == quote) break;
            continue;
        }
        if (end == i && (IsDigit(ch) || ch == point)) {
            kind = Kind::Number;
            int length = 0;
            if (NumberTokenKind(line, i + 1, length) > 0) {
                end = i + length;
                break;
            }
        }
        if (DelimiterIndex(ch) >= 0 || ch == comment) break;
        ++end;
    }
    span.end = end;
    span.kind = kind;
    return true;
}

int THighlight::NextToken(const UnicodeString& line, UnicodeString& token, int& pos, int& start,
                          int& length) const
{
    token.clear();
    start = 0;
    length = 0;
    Span span;
    if (!ReadToken(line, pos, span, {})) {
        start = span.start;
        length = 1;
        pos = static_cast<int>(line.size());
        return -1;
    }
    start = span.start;
    length = span.end - span.start;
    token = line.mid(start, length);
    pos = span.end;
    return ColourIndexOf(span.kind, token);
}

int THighlight::ColourIndexOf(Kind kind, const UnicodeString& word) const
{
    switch (kind) {
    case Kind::Comment: return CommentColour;
    case Kind::String: return StringColour;
    case Kind::Number: return NumberColour;
    case Kind::Word: break;
    }
    return FindKeyWordColour(word);
}

std::vector<THighlight::LineFormat> THighlight::LineFormats(const UnicodeString& text) const
{
    std::vector<LineFormat> formats;
    const auto colourDelimiter = [&](int column) {
        formats.push_back({column, 1, ColourOf(DelimiterColour), false});
    };
    int pos = 0;
    Span span;
    while (pos < text.size() && ReadToken(text, pos, span, colourDelimiter)) {
        const int length = span.end - span.start;
        const UnicodeString word = span.kind == Kind::Word ? text.mid(span.start, length) : UnicodeString();
        formats.push_back({span.start, length, ColourOf(ColourIndexOf(span.kind, word)), span.kind == Kind::Comment});
        pos = span.end;
    }
    return formats;
}
