#include "config/Config.h"

#include "config/IniLayout.h"
#include "config/Lengths.h"
#include "config/StrUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/PictureFile.h"
#include "platform/vcl/SafeWrite.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinDefs.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <iterator>

TConfig* Config = nullptr;

namespace {

// The number at the start of a default text of the layout ("0", "300.0"); the C library's
// readers would follow the user's locale.
double NumberOf(const char* text)
{
    double value = 0;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

// A number that does not convert takes its fallback. A text the lenient reader half accepts
// ("12-5", "1.5E") makes the strict conversion throw; that must not stop the program starting.
// An overflow is no number either.
double RealOf(const AnsiString& text, double fallback)
{
    try {
        const double value = StrToFloatDefault(text, fallback);
        return std::isfinite(value) ? value : fallback;
    } catch (const EConvertError&) {
        return fallback;
    }
}

// The length parser takes texts of up to 255 characters. A longer setting is no length; it reads
// as no number, so that the key takes its default.
double LengthOf(const TLengthScale& unit, const AnsiString& text)
{
    if (text.size() > 255) return std::nan("");
    return ParseLength(&unit, text.c_str(), true);
}

bool OneOf(const AnsiString& text, std::initializer_list<const char*> words)
{
    for (const char* w : words)
        if (text == w) return true;
    return false;
}

bool IsTextMember(const TConfigField& member) { return std::holds_alternative<AnsiString TConfig::*>(member); }

// Whether the number can be kept by the member: finite, and in range for an int.
bool Fits(const TConfigField& member, double number)
{
    if (!std::isfinite(number)) return false;
    if (std::holds_alternative<int TConfig::*>(member)) return number > INT_MIN - 1.0 && number < INT_MAX + 1.0;
    return true;
}

struct Converted {
    AnsiString text;
    double number = 0;
};

// One key being read: fromFile says the text came from the file; otherwise it is the default
// standing in for a value that could not be kept.
struct Reading {
    TConfig& config;
    const TIniFile& ini;
    const TIniKey& key;
    bool fromFile;
};

// --- one function per rule (TIniRule), the text read becoming the value kept ------------------------

Converted AsText(const Reading&, AnsiString text) { return {text}; }
Converted AsLower(const Reading&, AnsiString text) { return {LowerCase(text)}; }
Converted AsUpper(const Reading&, AnsiString text) { return {UpperCase(text)}; }

Converted AsPath(const Reading&, AnsiString text)
{
    TConfig::ResolvePath(text);
    return {text};
}

Converted AsLowerPath(const Reading& r, AnsiString text) { return AsPath(r, LowerCase(text)); }

Converted AsTable(const Reading& r, AnsiString text)
{
    Converted v{LowerCase(text)};
    const auto* table = std::get_if<TIniTableLabel>(&r.key.Extra);
    r.config.CheckTableFile(v.text, r.key.Key, table ? table->label : "");
    return v;
}

Converted AsFlagTYN1(const Reading&, AnsiString text) { return {"", double(OneOf(UpperCase(text), {"TRUE", "YES", "1"}))}; }
Converted AsFlagTyn(const Reading&, AnsiString text) { return {"", double(OneOf(LowerCase(text), {"true", "yes"}))}; }
Converted AsFlag1ty(const Reading&, AnsiString text) { return {"", double(OneOf(LowerCase(text), {"1", "true", "yes"}))}; }
Converted AsInt(const Reading& r, AnsiString text) { return {"", double(StrToIntDef(text, static_cast<int>(r.key.Fallback)))}; }
Converted AsReal(const Reading& r, AnsiString text) { return {"", RealOf(text, r.key.Fallback)}; }

// The INI file's own integer and real reads, the layout's default being the number.
Converted AsIntRead(const Reading& r, AnsiString)
{
    const double fallback = NumberOf(r.key.Default);
    return {"", r.fromFile ? r.ini.ReadInteger(r.key.Section, r.key.Key, static_cast<int>(fallback)) : fallback};
}

Converted AsRealRead(const Reading& r, AnsiString)
{
    const double fallback = NumberOf(r.key.Default);
    return {"", r.fromFile ? r.ini.ReadFloat(r.key.Section, r.key.Key, fallback) : fallback};
}

Converted AsLengthMm(const Reading& r, AnsiString text)
{
    TConfig::AddDefaultLengthUnit(text);
    return {"", LengthOf(r.config.InputUnit, text)};
}

Converted AsLength(const Reading& r, AnsiString text) { return {"", LengthOf(r.config.InputUnit, text)}; }
Converted Ignored(const Reading&, AnsiString) { return {}; }

Converted AsRealOr(const Reading& r, AnsiString text)
{
    const auto* other = std::get_if<TIniOtherKey>(&r.key.Extra);
    if (text == "0" && other) text = r.ini.ReadString(r.key.Section, other->key, "0");
    return {"", RealOf(text, r.key.Fallback)};
}

Converted AsAHITrim(const Reading&, AnsiString text)
{
    const AnsiString lower = LowerCase(text);
    return {"", OneOf(lower, {"false", "no"}) ? 0.0 : double(StrToIntDef(lower, 1))};
}

// The spelling of "colour" follows the unit.
Converted AsColourFilter(const Reading& r, AnsiString text)
{
    Converted v{TConfig::NormaliseColourFilter(UpperCase(text))};
    if (r.config.InputUnit.IsImperial()) {
        if (OneOf(v.text, {"Colour TBA Or No Colour", "Colour To Be Advised Or No Colour"}))
            v.text = "Color TBA Or No Color";
    } else if (OneOf(v.text, {"Color TBA Or No Color", "Color To Be Advised Or No Colour"})) {
        v.text = "Colour TBA Or No Colour";
    }
    return v;
}

Converted AsPlanToScale(const Reading&, AnsiString text)
{
    const AnsiString lower = LowerCase(text);
    if (OneOf(lower, {"true", "yes", "1"})) return {"", 1};
    if (OneOf(lower, {"2", "3", "4", "5"})) return {"", double(lower[0] - '0')};
    return {};
}

// Sets two members of its own and none through the layout.
Converted AsSuffixes(const Reading& r, AnsiString text)
{
    if (!text.empty()) {
        r.config.PossiblePrefixes = text;
        r.config.PrefixInColumns = 1;
    }
    return {};
}

Converted AsVisualization(const Reading&, AnsiString text)
{
    return {"", OneOf(LowerCase(text), {"3", "personal"}) ? 3.0 : 0.0};
}

Converted AsDigitizer(const Reading& r, AnsiString text)
{
    const auto* word = std::get_if<TIniDigitizerWord>(&r.key.Extra);
    if (word && text == word->word) text = DigitizerMacro(text);
    ReplaceAll(text, "\\n", "\r\n");
    ReplaceAll(text, "\\\"", "\"");
    return {text};
}

Converted AsRulerOutput(const Reading&, AnsiString text)
{
    return {"", OneOf(text, {"0", "1", "2", "3"}) ? double(text[0] - '0') : 1.0};
}

using RuleFunction = Converted (*)(const Reading&, AnsiString);

// In the order of TIniRule.
constexpr RuleFunction kRules[] = {
    AsText, AsLower, AsUpper, AsPath, AsLowerPath, AsTable, AsFlagTYN1, AsFlagTyn, AsFlag1ty, AsInt,
    AsReal, AsIntRead, AsRealRead, AsLengthMm, AsLength, Ignored, AsRealOr, AsAHITrim, AsColourFilter,
    AsPlanToScale, AsSuffixes, AsVisualization, AsDigitizer, AsRulerOutput,
};
static_assert(std::size(kRules) == static_cast<size_t>(TIniRule::RulerOutput) + 1);

Converted Convert(const Reading& r, const AnsiString& text) { return kRules[static_cast<size_t>(r.key.Rule)](r, text); }

}  // namespace

TConfig::TConfig(const char* iniPath) : IniPath(iniPath ? iniPath : "")
{
    delete Config;  // its destructor clears Config
    Config = this;  // the length parser may look at the settings while they are read
    try {
        if (IniPath.empty()) IniPath = ProgramIniPath();
        ProgramTitle = QStringLiteral("Plumo Calculator");
        const TIniFile ini(IniPath);
        ReadLayout(ini);
        AfterLoad();
    } catch (...) {
        Config = nullptr;
        throw;
    }
}

// The program never deletes its settings. When a test or a second object does, a project folder
// that was moved while the program ran is kept for the next start.
TConfig::~TConfig()
{
    if (Visualization != 3 && !IniPath.empty()) {
        TIniFile ini(IniPath);
        // Compared as resolved, so that a ".\" setting is not turned into this machine's folder.
        AnsiString stored = ini.ReadPath("Setup", "ProjectDir", ".\\");
        ResolvePath(stored);
        // No box from a destructor: the program never gets here, and a test's folder may be gone.
        if (stored != ProjectDir) ini.WritePath("Setup", "ProjectDir", ProjectDir);
    }
    if (Config == this) Config = nullptr;
}

bool TConfig::SaveSettings(bool scientificShown)
{
    TIniFile ini(IniPath.empty() ? ProgramIniPath() : IniPath);
    std::vector<TIniValue> values = {
        {"Setup", "ProjectDir", ProjectDir, true},
        {"Startup", "Scientific", scientificShown ? "true" : "false", false},
    };
    const std::vector<TIniValue> mru = MRU.IniValues();
    values.insert(values.end(), mru.begin(), mru.end());
    if (ini.WriteValues(values)) return true;
    ReportWriteFailureOnce(QStringLiteral("The settings"), PathToUnicode(ini.FileName()), ini.LastError());
    return false;
}

void TConfig::ResolvePath(AnsiString& path)
{
    if (path.size() < 2 || path[0] != '.' || (path[1] != '\\' && path[1] != '/')) return;
    AnsiString rest = path.substr(2);
    for (char& c : rest)
        if (c == '\\') c = '/';
    path = ProgramFolder() + rest;
}

void TConfig::CheckTableFile(AnsiString& path, const AnsiString& keyName, const AnsiString& label)
{
    if (ExtractFilePath(path).empty()) path = TableDir + path;
    if (path.find(".csv") == AnsiString::npos && path.find(".xls") == AnsiString::npos) {
        const AnsiString text = "The " + label +
                                " table directory and name specified in the configuration file is invalid." +
                                " The program will look for a valid table in " + TableDir + keyName;
        Application->MessageBox(Win1252ToUnicode(text), QStringLiteral("Invalid File"), MB_OK);
        path = TableDir + keyName;
    }
    ResolvePath(path);
}

void TConfig::AddDefaultLengthUnit(AnsiString& text)
{
    if (text.find_first_of("mM\"'") == AnsiString::npos) text += "mm";
}

AnsiString TConfig::NormaliseColourFilter(const AnsiString& text)
{
    auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
    AnsiString s = LowerCase(text);
    if (!s.empty()) s[0] = upper(s[0]);
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != ' ') continue;
        s[i] = '_';
        if (i + 1 < s.size()) s[i + 1] = upper(s[i + 1]);
    }
    for (char& c : s)
        if (c == '_') c = ' ';
    const size_t tba = s.find("Tba");
    if (tba != AnsiString::npos) s.replace(tba, 3, "TBA");
    return s;
}

void TConfig::AfterLoad()
{
    PlanLeftMargin = std::clamp(PlanLeftMargin, 5.0, 75.0);
    PlanTopMarginMm = std::clamp(PlanTopMarginMm, 5.0, 100.0);
}

void TConfig::ReadLayout(const TIniFile& ini)
{
    for (const TIniKey& key : IniLayout()) ReadKey(ini, key);
}

void TConfig::ReadKey(const TIniFile& ini, const TIniKey& key)
{
    const char* defaultText = key.ImperialDefault && InputUnit.IsImperial() ? key.ImperialDefault : key.Default;
    // Folders are file names, kept as the file system spells them.
    const bool isPath = key.Rule == TIniRule::Path || key.Rule == TIniRule::LowerPath || key.Rule == TIniRule::Table;
    AnsiString text = isPath ? ini.ReadPath(key.Section, key.Key, defaultText) : ini.ReadString(key.Section, key.Key, defaultText);
    // A folder or file name longer than the system takes names nothing: the key counts as not set.
    if (isPath && !FitsPathLimit(text)) text = defaultText;
    Converted value = Convert({*this, ini, key, true}, text);
    // A number the member cannot hold (an overflow, a length of 1e999mm) takes the default.
    if (!IsTextMember(key.Member) && !Fits(key.Member, value.number)) value = Convert({*this, ini, key, false}, defaultText);

    if (key.Rule != TIniRule::Suffixes) {
        std::visit(
            [&](auto member) {
                using M = decltype(member);
                if constexpr (std::is_same_v<M, AnsiString TConfig::*>) this->*member = value.text;
                else if constexpr (std::is_same_v<M, int TConfig::*>) this->*member = static_cast<int>(value.number);
                else if constexpr (std::is_same_v<M, double TConfig::*>) this->*member = value.number;
                else if constexpr (std::is_same_v<M, bool TConfig::*>) this->*member = value.number != 0;
            },
            key.Member);
    }
    AfterKey(key, value.number);
}

void TConfig::AfterKey(const TIniKey& key, double number)
{
    const int n = std::isfinite(number) && std::fabs(number) < INT_MAX ? static_cast<int>(number) : -1;
    switch (key.After) {
    case TIniAfter::None: break;
    case TIniAfter::SetUnits: {
        // The default " " is not empty and names no unit: METRIC.
        if (!Units.empty()) AnswerUnit = InputUnit = UnitFromName(Units);
        TableDir = ProgramFolder() + (InputUnit.IsMetric() ? "Metric" : "Imperial") + "/";
        const char list = FormatSettings().ListSeparator;
        if (list == ';') TableDir += "ProdSemicolon/";
        else if (list == ',') TableDir += "ProdComma/";
        break;
    }
    case TIniAfter::ClampSpacesPerTab:
        if (SpacesPerTab <= 0 || SpacesPerTab > 16) SpacesPerTab = 8;
        break;
    case TIniAfter::ClampFontSize:
        if (FontSize < 6.0 || FontSize > 16.0) FontSize = 10.0;
        break;
    case TIniAfter::MarginAddress:
        if (LeftMarginAddress <= 0) LeftMarginAddress = ReportsLeftMargin;
        break;
    case TIniAfter::ClampPageMargins:
        // The printed quotes and the plan keep some paper at the foot and at the head of a page.
        for (int TConfig::*bottom :
             {&TConfig::PlanBottomMargin, &TConfig::CoverLetterBottomMargin, &TConfig::BOMQuoteBottomMargin,
              &TConfig::DetailQuoteBottomMargin, &TConfig::InvoiceBottomMargin, &TConfig::SummaryQuoteBottomMargin,
              &TConfig::TermsAndConditionsBottomMargin})
            this->*bottom = std::max(this->*bottom, 5);
        for (int TConfig::*top :
             {&TConfig::PlanTopMargin, &TConfig::CoverLetterTopMargin, &TConfig::BOMQuoteTopMargin,
              &TConfig::DetailQuoteTopMargin, &TConfig::InvoiceTopMargin, &TConfig::SummaryQuoteTopMargin,
              &TConfig::TermsAndConditionsTopMargin})
            this->*top = std::min(this->*top, 290);
        break;
    case TIniAfter::PlanTopMarginMm: PlanTopMarginMm = PlanTopMargin; break;
    case TIniAfter::Localities1: LabourQuoteLocalities1 = {"Roof"}; break;
    case TIniAfter::Localities2:
        LabourQuoteLocalities2 = {"Fascia"};
        LabourQuoteLocalities = LabourQuoteLocalities1;
        LabourQuoteLocalities.insert(LabourQuoteLocalities.end(), LabourQuoteLocalities2.begin(),
                                     LabourQuoteLocalities2.end());
        break;
    case TIniAfter::LoadBackground:
        BackgroundBitmap.reset();
        if (BackgroundPath.empty() || BackgroundPath == "none") break;
        if (FileExists(BackgroundPath)) {
            // A picture that cannot be read is left out, like a missing one, rather than
            // stopping the program from starting; the calculator does not show it anyway. A pipe
            // or a device named here is refused unread, so that it cannot hold up the start.
            QImage image = LoadPictureFile(BackgroundPath);
            if (!image.isNull()) BackgroundBitmap = std::make_unique<QImage>(std::move(image));
        } else {
            // The settings file is named by the path it was found at, so that the user can mend it.
            // The value may be megabytes long: the box quotes its head.
            const QString text = Win1252ToUnicode("The File Specified in:\nBackground=" + TextHead(BackgroundPath) +
                                                  "\ndefined in the group [Bitmap] in ") +
                                 PathToUnicode(IniPath) + QStringLiteral(" Does Not Exist\n- File Ignored");
            Application->MessageBox(text, ProgramTitle, MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
        }
        break;
    case TIniAfter::MruMaxCount:
        if (n >= 0 && n <= 9) MRU.SetMaxCount(n);
        break;
    case TIniAfter::MruMaxCharacters:
        if (n >= 10 && n <= 256) MRU.SetMaxCharacters(n);
        break;
    case TIniAfter::MruPathTruncatedRight:
        MRU.SetPathTruncatedRight(n);
        MRU.Load(IniPath);
        break;
    }
}
