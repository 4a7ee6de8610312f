#pragma once
// The layout of the INI file: every key the settings object reads, in the order it reads them,
// with the default for a missing key, the way its text is turned into a value, and the member of
// TConfig that receives it. TConfig's constructor walks this table once.
#include "config/Config.h"

#include <span>
#include <variant>

// How the text read for a key becomes its value.
enum class TIniRule {
    Text,        // as read
    Lower,       // lower-cased
    Upper,       // upper-cased
    Path,        // TConfig::ResolvePath
    LowerPath,   // lower-cased, then ResolvePath
    Table,       // lower-cased, then TConfig::CheckTableFile (Extra: TIniTableLabel)
    FlagTYN1,    // "TRUE", "YES" or "1" in any case
    FlagTyn,     // "true" or "yes" in any case
    Flag1ty,     // "1", "true" or "yes" in any case
    Int,         // StrToIntDef with Fallback
    Real,        // StrToFloatDefault with Fallback
    IntRead,     // the INI file's own integer read, Default being the integer
    RealRead,    // the INI file's own real read, Default being the number
    LengthMm,    // "mm" added to a text without a unit mark, then ParseLength in millimetres
    Length,      // ParseLength of the text as it stands
    Ignore,      // read and dropped
    // Keys with a rule of their own:
    RealOr,        // "0" reads the key of Extra (TIniOtherKey) instead (default "0"); then Real
    AHITrim,       // lower-cased; an integer (fallback 1), but "false" and "no" give 0
    ColourFilter,  // NormaliseColourFilter, then the spelling that suits the unit
    PlanToScale,   // "false"/"no"/"0" 0, "true"/"yes"/"1" 1, "2" to "5" themselves, else 0
    Suffixes,      // when not empty: PossiblePrefixes = text and PrefixInColumns = 1
    Visualization, // "3" or "personal" in any case give 3, else 0
    Digitizer,     // the word of Extra (TIniDigitizerWord) stands for a macro; then \n and \"
    RulerOutput,   // "0" to "3" themselves, else 1
    // (the reader has one function per rule, in this order)
};

// What follows the reading of a key.
enum class TIniAfter {
    None,
    SetUnits,              // a non-empty Units sets both units, then TableDir is built
    ClampSpacesPerTab,     // <= 0 or > 16 gives 8
    ClampFontSize,         // below 6 or above 16 gives 10
    MarginAddress,         // <= 0 takes [Reports] LeftMargin
    ClampPageMargins,      // bottom margins at least 5, top margins at most 290
    PlanTopMarginMm,       // PlanTopMarginMm = PlanTopMargin
    Localities1,           // LabourQuoteLocalities1 = {"Roof"}
    Localities2,           // LabourQuoteLocalities2 = {"Fascia"}, and the two together
    LoadBackground,        // the picture of [Bitmap] Background
    MruMaxCount,           // only 0 to 9
    MruMaxCharacters,      // only 10 to 256
    MruPathTruncatedRight, // then the list is loaded
};

using TConfigField =
    std::variant<std::monostate, AnsiString TConfig::*, int TConfig::*, double TConfig::*, bool TConfig::*>;

// What a few rules need beyond the key itself, one kind each.
struct TIniTableLabel {     // Table: the table's name in the box about an invalid table
    const char* label;
};
struct TIniOtherKey {       // RealOr: the key of the same section read instead when the text is "0"
    const char* key;
};
struct TIniDigitizerWord {  // Digitizer: the word (letter case counts) that stands for a macro
    const char* word;
};
using TIniExtra = std::variant<std::monostate, TIniTableLabel, TIniOtherKey, TIniDigitizerWord>;

struct TIniKey {
    const char* Section;
    const char* Key;
    const char* Default;
    const char* ImperialDefault;  // used instead of Default while the input unit is imperial
    TIniRule Rule;
    double Fallback;              // of Int, Real and the rules built on them
    TConfigField Member;
    TIniExtra Extra;
    TIniAfter After;
};

std::span<const TIniKey> IniLayout();

// The macro that a digitizer button's word stands for ("Move", "DrawOrtho", "Draw"); null for
// any other word.
const char* DigitizerMacro(const AnsiString& word);
