#pragma once
// Feet-and-inch lengths in pad lines (12' 6 1/2", 5' 3-1/2", 7"): finding them, replacing them by
// plain numbers for the macro language, and telling a length line from an area or volume line.
// An apostrophe that follows no digit starts a comment, and a double-quote mark that follows no
// number delimits a string; the finders leave both alone.
#include "config/Units.h"
#include "platform/vcl/Strings.h"

#include <vector>

// One entry per additive term of a line: the lengths multiplied together in it, less one
// (0 a length, 1 an area, 2 a volume); a division counts down.
using TDimensionList = std::vector<int>;

// What ConvertImperialLine reports about a line.
enum : int {
    DimNone = -9,          // no length converted, or the line assigns ("=")
    DimInconsistent = -1,  // terms of different dimensions
    DimLength = 0,
    DimArea = 1,
    DimVolume = 2,
};

// What stands in place of the foot mark of a fraction of a foot: a sign the language rejects
// wherever it stands.
inline const AnsiString kFootFractionMark = "?";

// What the finders report.
enum : int {
    NoLength = 0,
    LengthFound = 1,
    // A foot mark right after a fraction (1/2', 2-1/2'): feet are never a fraction's denominator,
    // so the line cannot be read. The positions are those the length would have as a division.
    FootFraction = 2,
};

// The first feet length of the line (its first apostrophe, with the digits before it and the
// inches after it). Returns LengthFound with its 1-based first and last positions, and counts it
// into the dimension list; FootFraction, uncounted, when those digits end a fraction; NoLength
// when the first apostrophe follows no digit or there is none.
int FindFeetLength(const AnsiString& line, int& start, int& end, TDimensionList& dimensions);
// The same for the first inch length (the number before the line's first double-quote mark).
// Inside it a hyphen joins only a whole number to the fraction at the mark (6-1/2") and a slash
// stands only between two numbers (3/4"); any other is the operator before it, so 2-3" is 2 less
// 3" and (16'-3")/16" a division. Blanks between the last digit and the mark are no gap: 6-1/2 "
// is 6-1/2". It never reports FootFraction.
int FindInchLength(const AnsiString& line, int& start, int& end, TDimensionList& dimensions);

// Which characters of a line being converted are numbers put in place of lengths. A later length
// never reads into one: once the 12" of 12"-6" is 304.8, the 6" after it is found alone, as in
// 12" - 6". Nonzero marks a placed character; a mask shorter than its line leaves the rest
// unmarked, and an empty one marks nothing.
using TPlacedMask = std::vector<char>;

// The finders over a line being converted, where the walks stop at the numbers put in place.
int FindFeetLength(const AnsiString& line, const TPlacedMask& placed, int& start, int& end,
                   TDimensionList& dimensions);
int FindInchLength(const AnsiString& line, const TPlacedMask& placed, int& start, int& end,
                   TDimensionList& dimensions);

// Puts number in place of the characters start to end (1-based, inclusive) and marks it placed. A
// number narrower than the text it replaces is padded with blanks to its width; one that would
// touch another number, placed or typed, is put a blank apart from it.
void PlaceLengthNumber(AnsiString& line, TPlacedMask& placed, int start, int end, const AnsiString& number);

// Millimetres in one plain number of a pad under the input unit: 10 for centimetres, 1000 for the
// metric unit of metres, 1 for every other code (millimetres; under the imperial input unit plain
// numbers are millimetres too). Answers are brought back to millimetres by the same factor.
double InputUnitMillimetres(int inputCode);

// Replaces every feet length and then every inch length of the line by its value as a plain
// number of the input unit (written as "%10g", trimmed, padded with blanks to the width of the
// text it replaces). The foot mark of a fraction becomes kFootFractionMark a blank apart from the
// typed fraction (1/2 ?), which no statement of the language reads, in a loop or a condition
// either. When anything was converted, dimension becomes the line's dimension; otherwise it keeps
// what the caller put there (DimNone).
void ConvertImperialLine(const AnsiString& line, AnsiString& converted, int& dimension,
                         const TLengthScale& inputUnit);
