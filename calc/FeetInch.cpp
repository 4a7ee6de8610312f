#include "calc/FeetInch.h"

#include "config/Lengths.h"
#include "platform/vcl/SysUtils.h"

#include <algorithm>

namespace {

constexpr size_t None = AnsiString::npos;

bool IsOperator(char c) { return c == '/' || c == '*' || c == '+' || c == '-'; }
// Characters a length may hold besides its marks: digits, blank, hyphen, slash, and the decimal
// point of 2.5' or 6.5" (read as a number by ParseLength; without it 2.5' would be 2 and 5').
bool IsLengthChar(char c) { return IsDigit(c) || c == ' ' || c == '-' || c == '/' || c == '.'; }
bool SideBySide(size_t a, size_t b)
{
    return a != None && b != None && (a > b ? a - b : b - a) == 1;
}
// Whether a number goes on, or begins, at i: a digit, or a decimal point with a digit after it
// (.5, and the point of 2.5').
bool IsNumberChar(const AnsiString& line, size_t i)
{
    return i < line.size() && (IsDigit(line[i]) || (line[i] == '.' && i + 1 < line.size() && IsDigit(line[i + 1])));
}
// Whether the characters from i on are the number of a feet length of their own: 12'-2' is
// twelve feet less two, not twelve feet two inches and a comment.
bool StartsFeetNumber(const AnsiString& line, size_t i)
{
    size_t k = i;
    while (IsNumberChar(line, k)) ++k;
    return k > i && k < line.size() && line[k] == '\'';
}
bool IsPlaced(const TPlacedMask& placed, size_t i) { return i < placed.size() && placed[i] != 0; }
bool IsNameStart(char c) { return IsLetter(c) || c == '_'; }
// Whether the digit at i is a digit of a number typed in the line: not of a name such as x2 or
// 1e5, nor of a number put in place of a length.
bool IsNumberDigit(const AnsiString& line, const TPlacedMask& placed, size_t i)
{
    if (!IsDigit(line[i]) || IsPlaced(placed, i)) return false;
    while (i > 0 && IsDigit(line[i - 1]) && !IsPlaced(placed, i - 1)) --i;
    return i == 0 || !IsNameStart(line[i - 1]);
}
// A slash with a number after it stands in a fraction only between two numbers (3/4"); after a
// bracket, a name or an operator it divides: (16'-3")/16" is (16'-3") / 16".
bool IsFractionSlash(const AnsiString& line, const TPlacedMask& placed, size_t i)
{
    return line[i] == '/' && IsNumberChar(line, i + 1) && i > 0 && IsNumberDigit(line, placed, i - 1);
}
// Whether the characters before end are a whole number: digits with no point before them (1.5),
// no letter (x6) and no fraction slash (the 2 of 1/2).
bool EndsInWholeNumber(const AnsiString& line, const TPlacedMask& placed, size_t end)
{
    size_t k = end;
    while (k > 0 && IsDigit(line[k - 1]) && !IsPlaced(placed, k - 1)) --k;
    if (k == end) return false;
    if (k == 0 || IsPlaced(placed, k - 1)) return true;
    const char before = line[k - 1];
    return before != '.' && !IsNameStart(before) && !IsFractionSlash(line, placed, k - 1);
}

// The operator in force before each position of a line: the last of "/", "*", "+", "-" seen
// from the start, where the "-" of the keypad's unary minus "(-)" does not count. Each length
// found rescans the line from its start; keeping the state per position and recomputing only
// behind a replacement gives the same answers without the quadratic cost on long lines.
class OperatorTrack {
public:
    explicit OperatorTrack(const AnsiString& line) : line_(line) { before_.push_back(0); }

    char Before(size_t pos)
    {
        while (before_.size() <= pos) {
            const size_t i = before_.size() - 1;
            char op = before_.back();
            const char c = line_[i];
            const bool keypadMinus = c == '-' && i >= 1 && i + 1 < line_.size() &&
                                     line_[i - 1] == '(' && line_[i + 1] == ')';
            if (IsOperator(c) && !keypadMinus) op = c;
            before_.push_back(op);
        }
        return before_[pos];
    }

    // The line changed from position pos on; states that looked at it are recomputed.
    void ChangedFrom(size_t pos)
    {
        const size_t keep = pos == 0 ? 1 : pos;
        if (before_.size() > keep) before_.resize(keep);
    }

private:
    const AnsiString& line_;
    std::vector<char> before_;  // before_[i]: the operator in force over positions [0, i)
};

void CountDimension(TDimensionList& dimensions, char op)
{
    switch (op) {
    case '*':
        if (!dimensions.empty()) ++dimensions.back();
        break;
    case '/':
        if (!dimensions.empty()) --dimensions.back();
        break;
    case '+':
    case '-':
        if (!dimensions.empty()) dimensions.push_back(0);
        break;
    default: dimensions.push_back(0); break;
    }
}

// The first feet length at or after from (no apostrophe stands before from). Positions 0-based,
// both inclusive.
int FindFeet(const AnsiString& line, const TPlacedMask& placed, OperatorTrack& track, size_t from,
             size_t& start, size_t& end, char& op)
{
    const size_t mark = line.find('\'', from);
    if (mark == None) return NoLength;
    op = track.Before(mark);
    // A comment, not a length; and a number put in place of a length has no feet mark of its own.
    if (mark == 0 || !IsDigit(line[mark - 1]) || IsPlaced(placed, mark - 1)) return NoLength;
    start = mark - 1;
    // The feet are the number before the mark, with its decimal point (1.5' is a foot and a half).
    while (start > 0 && !IsPlaced(placed, start - 1) && IsNumberChar(line, start - 1)) --start;
    // Feet are never a fraction's denominator: 1/2' is no 1 over 2', which would be a silent 0".
    // Its length is walked all the same, so that the colouring shows what it did before.
    const bool fraction = start > 0 && IsFractionSlash(line, placed, start - 1);

    size_t blank = None, dash = None, slash = None;
    end = line.size() - 1;
    for (size_t j = mark + 1; j < line.size(); ++j) {
        const char c = line[j];
        if (c == '"') {  // the inch mark belongs to the length
            end = j;
            break;
        }
        if (c == '/' && j == mark + 1) {  // 12'/2 is twelve feet over two, not a fraction
            end = mark;
            break;
        }
        if (c == ' ') blank = j;
        if (c == '-') dash = j;
        if (c == '/') slash = j;
        // A blank beside a hyphen or slash separates the length from what follows ("5' - 2'").
        if (SideBySide(blank, dash)) {
            end = std::min(blank, dash) - 1;
            break;
        }
        if (SideBySide(blank, slash)) {
            end = std::min(blank, slash) - 1;
            break;
        }
        if (IsLengthChar(c) && !IsPlaced(placed, j)) {
            if (IsNumberChar(line, j - 1) || !StartsFeetNumber(line, j)) continue;
            // Digits before a feet mark are the next feet length, and the blank, hyphen or slash
            // before them is what joins the two: 12'-2' is twelve feet less two. After a fraction
            // slash they are a fraction of a foot, whose numerator is no inches of this length:
            // 12'-1/2' is no 12'-1" over 2', which would be a silent number.
            size_t next = j;
            if (line[j - 1] == '/' && IsFractionSlash(line, placed, j - 1)) {
                next = j - 1;
                while (next > mark + 1 && IsNumberChar(line, next - 1)) --next;
            }
            const char before = line[next - 1];
            end = (before == ' ' || before == '-' || before == '/') ? next - 2 : next - 1;
            break;
        }
        // What follows is no part of a length: a blank, hyphen or slash right before it is the
        // operator, as 12'-2/a is 12'-2 / a.
        end = (j - 1 == blank || j - 1 == dash || j - 1 == slash) ? j - 2 : j - 1;
        break;
    }
    return fraction ? FootFraction : LengthFound;
}

// The first inch length at or after from (no double-quote mark stands before from).
int FindInch(const AnsiString& line, const TPlacedMask& placed, OperatorTrack& track, size_t from,
             size_t& start, size_t& end, char& op)
{
    const size_t mark = line.find('"', from);
    if (mark == None) return NoLength;
    op = track.Before(mark);
    end = mark;

    // Blanks between the last digit and the mark are no gap: 6-1/2 " reads as 6-1/2", and 3/4 "
    // as 3/4", never as the 3 and a fraction of 3 3/4".
    size_t walkFrom = mark;
    while (walkFrom > 0 && line[walkFrom - 1] == ' ') --walkFrom;
    if (walkFrom == mark || walkFrom == 0 || !IsDigit(line[walkFrom - 1]) || IsPlaced(placed, walkFrom - 1))
        walkFrom = mark;

    size_t blank = None, dash = None, slash = None;
    start = 0;  // reaching the start of the line
    for (size_t j = walkFrom; j-- > 0;) {
        const char c = line[j];
        if (IsPlaced(placed, j)) {
            // The number put in place of a length ends the walk as a blank would: 304.8-6" holds
            // the inch length 6", as 304.8 - 6" does.
            const char after = line[j + 1];
            start = (after == ' ' || after == '-' || after == '/') ? j + 2 : j + 1;
            break;
        }
        // A hyphen before a number joins a whole number to the fraction that ends at the mark
        // (6-1/2"); any other is the minus before the inches, as in 2 - 3" or 1.5 - 1/2".
        const bool fractionAfter = slash != None && blank == None && dash == None;
        if (c == '-' && IsNumberChar(line, j + 1) && !(fractionAfter && EndsInWholeNumber(line, placed, j))) {
            start = j + 1;
            break;
        }
        if (c == '/' && IsNumberChar(line, j + 1) && !IsFractionSlash(line, placed, j)) {
            start = j + 1;
            break;
        }
        if (c == ' ') blank = j;
        if (c == '-') dash = j;
        if (c == '/') slash = j;
        if (SideBySide(blank, dash)) {
            start = std::max(blank, dash) + 1;
            break;
        }
        if (SideBySide(blank, slash)) {
            start = std::max(blank, slash) + 1;
            break;
        }
        if (IsLengthChar(c)) continue;
        start = (j + 1 == blank || j + 1 == dash) ? j + 2 : j + 1;
        break;
    }
    if (start >= mark) return NoLength;  // nothing before the mark: it delimits a string
    if (Trim(line.substr(start, mark - start)).empty()) return NoLength;  // only blanks before it
    return LengthFound;
}

using Finder = int (*)(const AnsiString&, const TPlacedMask&, OperatorTrack&, size_t, size_t&, size_t&, char&);

int FindFirst(Finder find, const AnsiString& line, const TPlacedMask& placed, int& start, int& end,
              TDimensionList& dimensions)
{
    OperatorTrack track(line);
    size_t s = 0, e = 0;
    char op = 0;
    const int found = find(line, placed, track, 0, s, e, op);
    if (found == NoLength) return NoLength;
    if (found == LengthFound) CountDimension(dimensions, op);
    start = static_cast<int>(s) + 1;
    end = static_cast<int>(e) + 1;
    return found;
}

// Replaces every length the finder finds, left to right; returns whether it replaced any.
bool ReplaceAllLengths(Finder find, AnsiString& line, TPlacedMask& placed, TDimensionList& dimensions,
                       const TLengthScale& unit)
{
    OperatorTrack track(line);
    bool converted = false;
    size_t from = 0, start = 0, end = 0;
    char op = 0;
    const double millimetresPerUnit = InputUnitMillimetres(unit.Code);
    for (int found; (found = find(line, placed, track, from, start, end, op)) != NoLength;) {
        if (found == FootFraction) {
            // The fraction stays as typed and its mark becomes a sign the language has no use for,
            // so the line stops the run wherever it stands. A number in its place would not: two
            // numbers side by side inside a loop or a condition are two statements, and 1/2 304.8
            // would silently answer a half.
            start = end = line.find('\'', start);
            PlaceLengthNumber(line, placed, static_cast<int>(start) + 1, static_cast<int>(end) + 1, kFootFractionMark);
        } else {
            CountDimension(dimensions, op);
            // The pad's other numbers are in the input unit, and so are its answers: a length read in
            // millimetres is given in that unit too, or 10' under metres would answer 10000'.
            const double mm = ParseLength(&unit, line.substr(start, end - start + 1).c_str(), true);
            const double value = millimetresPerUnit == 1.0 ? mm : mm / millimetresPerUnit;
            PlaceLengthNumber(line, placed, static_cast<int>(start) + 1, static_cast<int>(end) + 1,
                              Trim(Format("%10g", {value})));
        }
        track.ChangedFrom(start);
        // The mark just replaced was the first one, and numbers hold no marks.
        from = start;
        converted = true;
    }
    return converted;
}

int DimensionOf(const AnsiString& converted, const TDimensionList& dimensions)
{
    if (dimensions.empty()) return DimLength;
    if (converted.find('=') != None) return DimNone;
    if (converted.find('(') != None && converted.find(')') != None) {
        int sum = 0;
        for (int d : dimensions) sum += d;
        return sum;
    }
    for (int d : dimensions)
        if (d != dimensions.front()) return DimInconsistent;
    return dimensions.front();
}

// Whether the text at i would be read on into a number that ended right before it: digits, a
// decimal part or an exponent (5"2, 5".5, 5"e2).
bool ReadsOn(const AnsiString& line, size_t i)
{
    if (IsNumberChar(line, i)) return true;
    if (line[i] != 'e' && line[i] != 'E') return false;
    const size_t digit = i + 1 < line.size() && (line[i + 1] == '+' || line[i + 1] == '-') ? i + 2 : i + 1;
    return digit < line.size() && IsDigit(line[digit]);
}

}  // namespace

double InputUnitMillimetres(int inputCode)
{
    if (inputCode == TLengthScale::CM) return 10.0;
    if (inputCode == TLengthScale::METRIC) return 1000.0;
    return 1.0;
}

int FindFeetLength(const AnsiString& line, int& start, int& end, TDimensionList& dimensions)
{
    return FindFirst(FindFeet, line, {}, start, end, dimensions);
}

int FindInchLength(const AnsiString& line, int& start, int& end, TDimensionList& dimensions)
{
    return FindFirst(FindInch, line, {}, start, end, dimensions);
}

int FindFeetLength(const AnsiString& line, const TPlacedMask& placed, int& start, int& end,
                   TDimensionList& dimensions)
{
    return FindFirst(FindFeet, line, placed, start, end, dimensions);
}

int FindInchLength(const AnsiString& line, const TPlacedMask& placed, int& start, int& end,
                   TDimensionList& dimensions)
{
    return FindFirst(FindInch, line, placed, start, end, dimensions);
}

void PlaceLengthNumber(AnsiString& line, TPlacedMask& placed, int start, int end, const AnsiString& number)
{
    const size_t first = static_cast<size_t>(start - 1);
    const size_t width = static_cast<size_t>(end - start + 1);
    placed.resize(line.size());

    // Two numbers side by side would read as one (254254 for 10"10"): a blank keeps them apart,
    // as it keeps 254 254 a syntax error. The number after may be a feet length put in place
    // before the inch length that comes right ahead of it, or digits typed right after the mark
    // (5"2 is 127 2, not 1272); the number before may be the typed fraction of a foot mark (1/2'
    // is 1/2 ?, no number at all).
    const size_t lead = first > 0 && (placed[first - 1] != 0 || IsDigit(line[first - 1])) ? 1 : 0;
    const size_t padding = number.size() < width ? width - number.size() : 0;
    const size_t next = first + width;
    const size_t trail = padding == 0 && next < line.size() && (placed[next] != 0 || ReadsOn(line, next)) ? 1 : 0;
    const size_t size = lead + number.size() + padding + trail;
    AnsiString text;
    text.reserve(size);
    text.append(lead, ' ');
    text += number;
    text.append(padding + trail, ' ');
    line.replace(first, width, text);

    const auto at = [&] { return placed.begin() + static_cast<std::ptrdiff_t>(first); };
    if (size > width) placed.insert(at(), size - width, 0);
    if (size < width) placed.erase(at(), at() + static_cast<std::ptrdiff_t>(width - size));
    std::fill(at(), at() + static_cast<std::ptrdiff_t>(size), 0);
    std::fill(at() + static_cast<std::ptrdiff_t>(lead), at() + static_cast<std::ptrdiff_t>(lead + number.size()), 1);
}

void ConvertImperialLine(const AnsiString& line, AnsiString& converted, int& dimension,
                         const TLengthScale& inputUnit)
{
    converted = line;
    TPlacedMask placed;  // sized at the first number put in place
    TDimensionList dimensions;
    // Every feet length goes first, so that in 5' + 6 1/2" the inch length is then found alone.
    const bool feet = ReplaceAllLengths(FindFeet, converted, placed, dimensions, inputUnit);
    const bool inches = ReplaceAllLengths(FindInch, converted, placed, dimensions, inputUnit);
    if (feet || inches) dimension = DimensionOf(converted, dimensions);
}
