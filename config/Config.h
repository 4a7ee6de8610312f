#pragma once
// The settings object: every setting of the program's INI file, read once at start-up, and the
// recent-files list. The one object is reached through the global pointer Config.
//
// Most members are settings of estimating work that the calculator reads and keeps without
// using; the calculator itself acts on the directories, the start-up flags, the units and
// language, the viewer overrides, HighlightSyntax, SpacesPerTab and the MRU list.
// config/IniLayout.cpp lists every key with its default and the way its text is read.
#include "config/Mru.h"
#include "config/Units.h"
#include "platform/vcl/Strings.h"

#include <QImage>
#include <memory>
#include <vector>

class TIniFile;
struct TIniKey;

class TConfig {
public:
    // Reads everything from the INI file at iniPath, or from the program's own INI file when it
    // is null or empty, and makes this the object that Config points at. An object that Config
    // pointed at before is deleted, so a TConfig is always made with new.
    explicit TConfig(const char* iniPath = nullptr);
    // Writes ProjectDir back to [Setup] when it is no longer the stored folder (unless
    // Visualization is 3) and clears Config. The program itself never deletes its settings.
    ~TConfig();
    TConfig(const TConfig&) = delete;
    TConfig& operator=(const TConfig&) = delete;

    // What a pad save records in the INI file: the project folder, whether the scientific panel
    // is open, and the recent-files list, in one write. A file that cannot be written is left as
    // it was and the user is told, once per session. False when nothing was written.
    bool SaveSettings(bool scientificShown);

    // A path that begins with ".\" or "./" is taken from the program's folder; any other is kept.
    static void ResolvePath(AnsiString& path);
    // A table path without a folder is looked for in TableDir; one that names no ".csv" or ".xls"
    // file is reported in the "Invalid File" box and replaced by TableDir + keyName.
    void CheckTableFile(AnsiString& path, const AnsiString& keyName, const AnsiString& label);
    // Appends "mm" to a length text that carries no unit mark ("m", "M", '"', '\'').
    static void AddDefaultLengthUnit(AnsiString& text);
    // "colour tba or no colour" in any case gives "Colour TBA Or No Colour".
    static AnsiString NormaliseColourFilter(const AnsiString& text);
    // The clamps after reading: the plan's left margin to 5..75 mm, its top margin to 5..100 mm.
    void AfterLoad();

    AnsiString IniPath;
    UnicodeString ProgramTitle;
    AnsiString TableDir;                      // the table files' folder, ending in '/'
    std::unique_ptr<QImage> BackgroundBitmap;  // [Bitmap] Background, when it names a picture
    TLengthScale InputUnit{TLengthScale::METRIC};
    TLengthScale AnswerUnit{TLengthScale::METRIC};
    TMRU MRU;

    double PlanTopMarginMm = 0.0;             // [Plan] TopMargin, as a double, clamped
    std::vector<AnsiString> LabourQuoteLocalities1;
    std::vector<AnsiString> LabourQuoteLocalities2;
    std::vector<AnsiString> LabourQuoteLocalities;

    // [Locale]
    AnsiString Language;
    AnsiString Units;
    AnsiString HelpPath;
    // [Setup]
    int SetupStartup = 0;
    AnsiString TempDir;
    AnsiString ProjectDir;
    int SapOutputMode = 0;
    AnsiString ProdUpdateTab;
    AnsiString RepresentativeTab;
    AnsiString ReseneTab;
    AnsiString ClientDetailTab;
    AnsiString MaterialGroupsTab;
    AnsiString ArchitectTab;
    AnsiString DistributorTab;
    AnsiString ProdTypeTab;
    AnsiString LogFileDir;
    AnsiString QuoteDir;
    AnsiString MacroDir;
    AnsiString ProductSetDir;
    AnsiString NotesTab;
    AnsiString GroupsTab;
    AnsiString SalesOfficesTab;
    AnsiString SAPDir;
    AnsiString ExportDir;
    AnsiString ImageDir;
    AnsiString TermsDir;
    AnsiString IncludeDir;
    AnsiString VisualDir;
    AnsiString VisualExportDir;
    int SpecifyButton = 0;
    AnsiString SetupProductTab;
    int SplashScreen = 0;
    int AHITrim = 0;
    bool TimberCheckedOn = false;
    bool FilterBasedOnPrevSelection = false;
    bool SingleSheetLength = false;
    AnsiString DefaultColourFilter;
    int NumberOfFilterChoicesCarriedFwd = 0;
    double TileMargin = 0.0;
    double RoofMargin = 0.0;
    double FasciaMargin = 0.0;
    double LabourMargin = 0.0;
    double LabourRoofMargin = 0.0;
    double LabourFasciaMargin = 0.0;
    double OverallMargin = 0.0;
    bool Shading3D = false;
    // [Startup]
    bool Scientific = false;
    int SpacesPerTab = 0;
    // [Flashing]
    int FlashingStartup = 0;
    AnsiString FlashingProductTab;
    AnsiString FlashingProjectDir;
    AnsiString StandardDir;
    // [TermsAndConditions]
    int TermsAndConditionsTopMargin = 0;
    int TermsAndConditionsBottomMargin = 0;
    // [UserQuote1]
    int UserQuote1TopMargin = 0;
    int UserQuote1BottomMargin = 0;
    AnsiString UserQuote1Name;
    // [UserQuote2]
    int UserQuote2TopMargin = 0;
    int UserQuote2BottomMargin = 0;
    AnsiString UserQuote2Name;
    // [UserQuote3]
    int UserQuote3TopMargin = 0;
    int UserQuote3BottomMargin = 0;
    AnsiString UserQuote3Name;
    // [SummaryQuote]
    int SummaryQuoteTopMargin = 0;
    int SummaryQuoteBottomMargin = 0;
    AnsiString PossiblePrefixes;
    int PrefixInColumns = 0;
    AnsiString PlusTax;
    double TaxRate = 0.0;
    int PrintFromMacro = 0;
    bool SubTotal = false;
    bool AHISummary = false;
    AnsiString QuoteNumPrefix;
    bool TotalForEachProduct = false;
    AnsiString FallEdgeLine1;
    AnsiString FallEdgeLine2;
    AnsiString FallEdgeLine3;
    // [Reports]
    int ReportsLeftMargin = 0;
    int TopMarginPage2 = 0;
    int BottomMarginPage2 = 0;
    int NotesFontSize = 0;
    int NotesFontStyle = 0;
    double FontSize = 0.0;
    int LeftMarginAddress = 0;
    int LeftMarginLaborHeader = 0;
    double ItemPos = 0.0;
    double DescPos = 0.0;
    double QtyPos = 0.0;
    double UnitsPos = 0.0;
    double UnitsPosRhA = 0.0;
    double PriceUnitsPos = 0.0;
    double ValuePos = 0.0;
    int MaxItemDesc = 0;
    int MaxBomItemDesc = 0;
    // [User]
    bool EditAll = false;
    bool EditQuoteNumber = false;
    bool EditSytemNotes = false;
    int LedgeApron = 0;
    int BargeRakeVerge = 0;
    bool LaborIncluded = false;
    int AdvancedOptions = 0;
    int MarginStyle = 0;
    bool RelocateEaveLine = false;
    // [Messages]
    bool MarkupCheck = false;
    int MinMiscItems = 0;
    // [DefaultRates]
    double PitchRange0 = 0.0;
    double PitchRange1 = 0.0;
    double PitchRange2 = 0.0;
    double PitchRange3 = 0.0;
    double PitchRange4 = 0.0;
    double PitchRange5 = 0.0;
    double PitchRange6 = 0.0;
    double PitchRange7 = 0.0;
    double SquareArea = 0.0;
    double Linear = 0.0;
    // [Initialization]
    int IconsEnabled = 0;
    double ZoomWidth = 0.0;
    double PasteSpecialScale = 0.0;
    int HighlightSyntax = 0;
    // [DetailQuote]
    int DetailQuoteTopMargin = 0;
    int DetailQuoteBottomMargin = 0;
    // [Invoice]
    int InvoiceTopMargin = 0;
    int InvoiceBottomMargin = 0;
    // [LabourQuote]
    int LabourQuoteTopMargin = 0;
    int LabourQuoteBottomMargin = 0;
    // [BOMQuote]
    int BOMQuoteTopMargin = 0;
    int BOMQuoteBottomMargin = 0;
    // [CoverLetter]
    int CoverLetterTopMargin = 0;
    int CoverLetterBottomMargin = 0;
    int Tag = 0;
    // [Plan]
    int PlanTopMargin = 0;
    int PlanBottomMargin = 0;
    int PlanToScale = 0;
    double PlanLeftMargin = 0.0;
    // [ProductSetup]
    AnsiString ColumnsToUpdate;
    AnsiString LabourQuoteName1;
    AnsiString LabourQuoteName2;
    double MinimumRoofingLength = 0.0;
    double MinimumRoofingWidth = 0.0;
    double InGutter = 0.0;
    int CreepFactor = 0;
    // [Bitmap]
    AnsiString BackgroundPath;
    // [VisualImager]
    int Visualization = 0;
    // [Debug]
    bool Debug = false;
    AnsiString DBDLogPath;
    AnsiString DUMPLogPath;
    double Tolerance = 0.0;
    int SaveDatFile = 0;
    int UserDebug = 0;
    // [Digitizer]
    AnsiString MButton;
    AnsiString RButton;
    AnsiString ShiftMButton;
    AnsiString ShiftRButton;
    // [External]
    AnsiString MenuItemName;
    AnsiString TaskTab;
    AnsiString Parameter1;
    AnsiString Parameter2;
    AnsiString Parameter3;
    AnsiString StartDir;
    AnsiString PDFTab;
    AnsiString CSVTab;
    AnsiString XLSTab;
    // [Macro]
    AnsiString ExternalMacroEditorTab;
    int EditMacro = 0;
    // [Address]
    AnsiString Add1;
    AnsiString Add2;
    AnsiString Add3;
    AnsiString Add4;
    AnsiString Add5;
    AnsiString Phone;
    AnsiString Fax;
    AnsiString Email;
    AnsiString WebSite;
    AnsiString SupportEmail;
    AnsiString SupportEmailName;
    // [Display]
    int ShowPieceNumbers = 0;
    int ShowPieceDimensionArrows = 0;
    int MaxNumA4PagesOfStockSheets = 0;
    int ShowRoofPitch = 0;
    // [XML]
    int SaveToXML = 0;
    AnsiString XMLOutputTab;
    AnsiString XMLOutputDir;
    // [TRUSS]
    int TrussEnabled = 0;
    // [ProjectInfo]
    AnsiString Heading1;
    AnsiString Heading2;
    AnsiString Heading3;
    AnsiString Heading4;
    AnsiString Heading5;
    AnsiString Heading6;
    AnsiString Heading7;
    AnsiString Heading8;
    AnsiString Heading9;
    bool ShowMainRafterSpacing = false;
    bool ShowCommencementDate = false;
    bool ShowDeposit = false;
    bool ShowBalanceDue = false;
    bool ShowFallEdge = false;
    bool ShowRepresentative = false;
    AnsiString ContactNameCaption;
    AnsiString RafterCaption;
    AnsiString CommenceCaption;
    AnsiString DepositCaption;
    AnsiString BalanceDueCaption;
    AnsiString FallEdgeLengthCaption;
    AnsiString FallEdgeUnitCaption;
    AnsiString FallEdgeAmountCaption;
    // [ScaleRuler]
    bool LargeText = false;
    int ImperialRulerOutput = 0;

private:
    void ReadLayout(const TIniFile& ini);
    void ReadKey(const TIniFile& ini, const TIniKey& key);
    void AfterKey(const TIniKey& key, double number);
};

// The one settings object; null until the first TConfig is made.
extern TConfig* Config;
