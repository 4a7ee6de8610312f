// The settings object: defaults, the reading rules and clamps, the boxes it shows, damaged files,
// and a save that changes nothing in the INI file but the keys it writes.
#include "config/Config.h"
#include "config/IniLayout.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinDefs.h"
#include "tests/common/DialogRecorder.h"
#include "tests/config/IniTestFiles.h"

#include <climits>
#include <functional>
#include <set>

namespace {

class ConfigTest : public ::testing::Test {
protected:
    // A fresh settings object read from a file holding ini; it replaces the one before.
    TConfig& Read(const AnsiString& ini)
    {
        path = folder.Write(ini, "Plumo" + std::to_string(++files) + ".INI");
        return *new TConfig(path.c_str());
    }
    void TearDown() override
    {
        delete Config;
        FormatSettings() = saved;
    }

    IniFolder folder;
    AnsiString path;
    int files = 0;
    DialogRecorder dialogs;
    TFormatSettings saved = FormatSettings();
};

TEST_F(ConfigTest, NoIniFileGivesTheDefaults)
{
    const AnsiString missing = folder.Path("none.INI");
    TConfig& c = *new TConfig(missing.c_str());
    const AnsiString home = ProgramFolder();
    EXPECT_EQ(Config, &c);
    EXPECT_EQ(c.IniPath, missing);
    EXPECT_EQ(c.ProgramTitle, "Plumo Calculator");
    EXPECT_EQ(c.TempDir, home + "Temp");
    EXPECT_EQ(c.MacroDir, home + "Macros");
    EXPECT_EQ(c.ProjectDir, home);
    EXPECT_EQ(c.SpacesPerTab, 8);
    EXPECT_EQ(c.HighlightSyntax, 1);
    EXPECT_FALSE(c.Scientific);
    EXPECT_EQ(c.InputUnit.Code, 16);
    EXPECT_EQ(c.AnswerUnit.Code, 16);
    EXPECT_EQ(c.Units, " ");
    EXPECT_EQ(c.Language, "");
    EXPECT_EQ(c.TableDir, home + "Metric/ProdComma/");
    EXPECT_EQ(c.RepresentativeTab, home + "Metric/ProdComma/representative.csv");
    EXPECT_EQ(c.ProdUpdateTab, home + "produpdate.csv");
    EXPECT_EQ(c.TermsAndConditionsTopMargin, 57);
    EXPECT_EQ(c.UserQuote1TopMargin, 110);
    EXPECT_EQ(c.PlanLeftMargin, 15.0);
    EXPECT_EQ(c.PlanTopMarginMm, 57.0);
    EXPECT_EQ(c.ZoomWidth, 40000.0);
    EXPECT_EQ(c.CreepFactor, 10);
    EXPECT_EQ(c.MinimumRoofingLength, 10.0);
    EXPECT_EQ(c.PasteSpecialScale, 0.5);
    EXPECT_EQ(c.Tolerance, 300.0);
    EXPECT_EQ(c.DefaultColourFilter, "Colour TBA Or No Colour");
    EXPECT_EQ(c.MButton, "\";\"");
    EXPECT_EQ(c.ColumnsToUpdate, "Price");
    EXPECT_EQ(c.LabourQuoteLocalities, (std::vector<AnsiString>{"Roof", "Fascia"}));
    EXPECT_EQ(c.Heading1, "Supply and Installation:");
    EXPECT_EQ(c.MRU.MaxCount, 4);
    EXPECT_EQ(c.MRU.MaxCharacters, 40);
    EXPECT_EQ(c.MRU.Count(), 0);
    EXPECT_EQ(c.BackgroundBitmap, nullptr);
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(ConfigTest, ImperialUnitsChangeTheDefaults)
{
    TConfig& c = Read("[Locale]\nUnits=ft_in\n");
    EXPECT_EQ(c.Units, "FT_IN");
    EXPECT_EQ(c.InputUnit.Code, 32);
    EXPECT_EQ(c.AnswerUnit.Code, 32);
    EXPECT_EQ(c.TermsAndConditionsTopMargin, 55);  // 0.18 ft to the nearest 1/16 inch
    EXPECT_EQ(c.UserQuote1BottomMargin, 26);       // 0.09 ft to the nearest 1/16 inch
    EXPECT_NEAR(c.MinimumRoofingLength, 12.7, 1e-9);
    EXPECT_NEAR(c.InGutter, 50.8, 1e-9);
    EXPECT_EQ(c.DefaultColourFilter, "Color TBA Or No Color");
    EXPECT_EQ(c.TableDir, ProgramFolder() + "Imperial/ProdComma/");
}

TEST_F(ConfigTest, UnitsAndTableFolder)
{
    const struct {
        AnsiString ini;
        char listSeparator;
        int code;
        const char* tableDir;
    } cases[] = {
        {"[Locale]\nUnits=\n", ',', 16, "Metric/ProdComma/"},
        {"[Locale]\nUnits=mm\n", ';', 18, "Metric/ProdSemicolon/"},
        {"[Locale]\nUnits=Feet\n", '\t', 33, "Imperial/"},
        {"[locale]\nunits=INCH\n", ',', 16, "Metric/ProdComma/"},
    };
    for (const auto& c : cases) {
        FormatSettings().ListSeparator = c.listSeparator;
        TConfig& config = Read(c.ini);
        EXPECT_EQ(config.InputUnit.Code, c.code) << c.ini;
        EXPECT_EQ(config.AnswerUnit.Code, c.code) << c.ini;
        EXPECT_EQ(config.TableDir, ProgramFolder() + c.tableDir) << c.ini;
    }
}

using Getter = std::function<double(const TConfig&)>;
#define FIELD(member) #member, [](const TConfig& c) { return static_cast<double>(c.member); }

struct ValueCase {
    AnsiString ini;
    const char* field;
    Getter get;
    double expected;
};

TEST_F(ConfigTest, NumbersFlagsAndClamps)
{
    const ValueCase cases[] = {
        // SpacesPerTab keeps 1 to 16.
        {"[Startup]\nSpacesPerTab=0", FIELD(SpacesPerTab), 8},
        {"[Startup]\nSpacesPerTab=-3", FIELD(SpacesPerTab), 8},
        {"[Startup]\nSpacesPerTab=17", FIELD(SpacesPerTab), 8},
        {"[Startup]\nSpacesPerTab=16", FIELD(SpacesPerTab), 16},
        {"[Startup]\nSpacesPerTab=1", FIELD(SpacesPerTab), 1},
        {"[Startup]\nSpacesPerTab=four", FIELD(SpacesPerTab), 8},
        {"[Startup]\nSpacesPerTab=", FIELD(SpacesPerTab), 8},
        // The three boolean rules.
        {"[Startup]\nScientific=Yes", FIELD(Scientific), 1},
        {"[Startup]\nScientific=1", FIELD(Scientific), 1},
        {"[Startup]\nScientific=TRUE", FIELD(Scientific), 1},
        {"[Startup]\nScientific=on", FIELD(Scientific), 0},
        {"[Startup]\nScientific=2", FIELD(Scientific), 0},
        {"[Initialization]\nHightlightSyntax=false", FIELD(HighlightSyntax), 0},
        {"[Initialization]\nHightlightSyntax=1", FIELD(HighlightSyntax), 1},
        {"[User]\nEditAll=1", FIELD(EditAll), 0},
        {"[User]\nEditAll=YES", FIELD(EditAll), 1},
        {"[User]\nEditAll=True", FIELD(EditAll), 1},
        {"[Macro]\nEditMacro=1", FIELD(EditMacro), 1},
        {"[Macro]\nEditMacro=Yes", FIELD(EditMacro), 1},
        {"[Macro]\nEditMacro=2", FIELD(EditMacro), 0},
        {"[ScaleRuler]\nLargeText=0", FIELD(LargeText), 0},
        // Reals, with their clamps and stand-in keys.
        {"[Reports]\nFontSize=20", FIELD(FontSize), 10},
        {"[Reports]\nFontSize=6", FIELD(FontSize), 6},
        {"[Reports]\nFontSize=5.9", FIELD(FontSize), 10},
        {"[Reports]\nFontSize=16", FIELD(FontSize), 16},
        {"[Reports]\nFontSize=12pt", FIELD(FontSize), 12},
        {"[Setup]\nTileMargin=0\nTileDiscount=12.5", FIELD(TileMargin), 12.5},
        {"[Setup]\nTileMargin=3\nTileDiscount=12.5", FIELD(TileMargin), 3},
        {"[Setup]\nTileDiscount=7", FIELD(TileMargin), 7},
        {"[SummaryQuote]\nTaxRate=0\nGST=15", FIELD(TaxRate), 15},
        {"[Setup]\nOverallMargin=0", FIELD(OverallMargin), 0},
        {"[Setup]\nOverallMarkup=4", FIELD(OverallMargin), 4},
        {"[Initialization]\nPasteSpecialScale=", FIELD(PasteSpecialScale), 0.5},
        {"[Initialization]\nPasteSpecialScale=2", FIELD(PasteSpecialScale), 2},
        {"[Debug]\nTolerance=12.25", FIELD(Tolerance), 12.25},
        {"[Debug]\nTolerance=lots", FIELD(Tolerance), 300},
        // Integers with rules of their own.
        {"[ScaleRuler]\nImperialRulerOutput=7", FIELD(ImperialRulerOutput), 1},
        {"[ScaleRuler]\nImperialRulerOutput=3", FIELD(ImperialRulerOutput), 3},
        {"[ScaleRuler]\nImperialRulerOutput=0", FIELD(ImperialRulerOutput), 0},
        {"[Plan]\nPlanToScale=Yes", FIELD(PlanToScale), 1},
        {"[Plan]\nPlanToScale=4", FIELD(PlanToScale), 4},
        {"[Plan]\nPlanToScale=6", FIELD(PlanToScale), 0},
        {"[VisualImager]\nVisualization=Personal", FIELD(Visualization), 3},
        {"[VisualImager]\nVisualization=2", FIELD(Visualization), 0},
        {"[Setup]\nAHITrim=No", FIELD(AHITrim), 0},
        {"[Setup]\nAHITrim=5", FIELD(AHITrim), 5},
        {"[Setup]\nAHITrim=true", FIELD(AHITrim), 1},
        {"[Reports]\nLeftMargin=33\nLeftMarginAddress=0", FIELD(LeftMarginAddress), 33},
        {"[Reports]\nLeftMargin=33\nLeftMarginAddress=7", FIELD(LeftMarginAddress), 7},
        {"[Reports]\nItemPos=12", FIELD(ItemPos), 12},
        {"[Setup]\nStartup=x", FIELD(SetupStartup), 0},
        {"[Messages]\nMinMiscItems=9", FIELD(MinMiscItems), 9},
        // Page margins: the printed forms' are clamped, the others are not.
        {"[TermsAndConditions]\nBottomMargin=2", FIELD(TermsAndConditionsBottomMargin), 5},
        {"[TermsAndConditions]\nTopMargin=300", FIELD(TermsAndConditionsTopMargin), 290},
        {"[UserQuote1]\nBottomMargin=2", FIELD(UserQuote1BottomMargin), 2},
        {"[UserQuote1]\nTopMargin=300", FIELD(UserQuote1TopMargin), 300},
        {"[Plan]\nTopMargin=0.18'", FIELD(PlanTopMargin), 54},
        {"[Plan]\nTopMargin=200", FIELD(PlanTopMargin), 200},
        {"[Plan]\nTopMargin=200", FIELD(PlanTopMarginMm), 100},
        {"[Plan]\nTopMargin=2cm", FIELD(PlanTopMarginMm), 20},
        {"[Plan]\nLeftMargin=2", FIELD(PlanLeftMargin), 5},
        {"[Plan]\nLeftMargin=100", FIELD(PlanLeftMargin), 75},
        {"[Plan]\nLeftMargin=0.03m", FIELD(PlanLeftMargin), 30},
        {"[ProductSetup]\nCreepFactor=12.7", FIELD(CreepFactor), 12},
        {"[ProductSetup]\nMinimumRoofingWidth=30", FIELD(MinimumRoofingWidth), 30000},  // a plain number is metres
        // MRU settings outside their ranges keep the list's own.
        {"[MRU]\nMaxCount=0", "MRU.MaxCount", [](const TConfig& c) { return double(c.MRU.MaxCount); }, 0},
        {"[MRU]\nMaxCount=10", "MRU.MaxCount", [](const TConfig& c) { return double(c.MRU.MaxCount); }, 4},
        {"[MRU]\nMaxCharacters=9", "MRU.MaxCharacters", [](const TConfig& c) { return double(c.MRU.MaxCharacters); }, 40},
        {"[MRU]\nMaxCharacters=256", "MRU.MaxCharacters", [](const TConfig& c) { return double(c.MRU.MaxCharacters); }, 256},
        {"[MRU]\nPathTruncatedRight=0", "MRU.PathTruncatedRight",
         [](const TConfig& c) { return double(c.MRU.PathTruncatedRight); }, 0},
    };
    for (const auto& c : cases) {
        const TConfig& config = Read(c.ini + "\n");
        EXPECT_NEAR(c.get(config), c.expected, 1e-9) << c.field << " from " << c.ini;
    }
}

// Texts the strict number conversion rejects, numbers no member can hold and huge values: each
// key takes its fallback or default, and the program still starts.
TEST_F(ConfigTest, BadNumbersTakeTheirFallback)
{
    const ValueCase cases[] = {
        {"[Setup]\nTileMargin=12-5", FIELD(TileMargin), 0},
        {"[Setup]\nRoofMargin=1.5E", FIELD(RoofMargin), 0},
        {"[Reports]\nFontSize=1-", FIELD(FontSize), 10},
        {"[Reports]\nLeftMargin=99999999999999", FIELD(ReportsLeftMargin), 20},
        {"[Debug]\nTolerance=1e999", FIELD(Tolerance), 300},
        {"[Debug]\nTolerance=1E999", FIELD(Tolerance), 300},
        {"[SummaryQuote]\nTaxRate=0\nGST=1.0E999", FIELD(TaxRate), 0},
        {"[Initialization]\nZoomWidth=" + AnsiString(400, '9') + "mm", FIELD(ZoomWidth), 40000},
        {"[Plan]\nLeftMargin=" + AnsiString(100000, '1'), FIELD(PlanLeftMargin), 15},
    };
    for (const auto& c : cases) {
        const TConfig* config = nullptr;
        EXPECT_NO_THROW(config = &Read(c.ini + "\n")) << c.ini.substr(0, 40);
        if (config) {
            EXPECT_NEAR(c.get(*config), c.expected, 1e-9) << c.field << " from " << c.ini.substr(0, 40);
        }
    }
}

struct TextCase {
    AnsiString ini;
    const char* field;
    std::function<AnsiString(const TConfig&)> get;
    AnsiString expected;
};
#define TEXT(member) #member, [](const TConfig& c) { return c.member; }
#define MRU_PATHS "MRU", [](const TConfig& c) { return c.MRU.GetPath(1) + (c.MRU.Count() > 1 ? " and more" : ""); }

TEST_F(ConfigTest, TextsAndPaths)
{
    const AnsiString home = ProgramFolder();
    const AnsiString longName(size_t(4) << 20, 'd');
    const AnsiString longestName(PATH_MAX - 2, 'd');  // with its "/", one byte short of the limit
    const TextCase cases[] = {
        {"[Locale]\nLanguage=EN", TEXT(Language), "en"},
        {"[Setup]\nTempDir=.\\", TEXT(TempDir), home},
        {"[Setup]\nTempDir=./", TEXT(TempDir), home},
        {"[Setup]\nTempDir=.\\Scratch\\Calc", TEXT(TempDir), home + "Scratch/Calc"},
        {"[Setup]\nTempDir=Temp", TEXT(TempDir), "Temp"},
        {"[Setup]\nTempDir=/var/tmp", TEXT(TempDir), "/var/tmp"},
        {"[Setup]\nTempDir=C:\\Temp", TEXT(TempDir), "C:\\Temp"},
        {"[Setup]\nTempDir=", TEXT(TempDir), ""},
        {"[Setup]\nLogFileDir=.\\LOGS", TEXT(LogFileDir), home + "logs"},
        {"[Setup]\nProdUpdateTab=Upd.CSV", TEXT(ProdUpdateTab), home + "Metric/ProdComma/upd.csv"},
        {"[Setup]\nProductTab=/data/Tables.XLS", TEXT(SetupProductTab), "/data/tables.xls"},
        {"[Setup]\nDefaultColourFilter=COLOR TBA OR NO COLOR", TEXT(DefaultColourFilter), "Colour TBA Or No Colour"},
        {"[Setup]\nDefaultColourFilter=colour to be advised or no colour", TEXT(DefaultColourFilter),
         "Colour To Be Advised Or No Colour"},
        {"[Locale]\nUnits=IMPERIAL\n[Setup]\nDefaultColourFilter=colour tba or no colour", TEXT(DefaultColourFilter),
         "Color TBA Or No Color"},
        {"[Setup]\nDefaultColourFilter=red_and  blue", TEXT(DefaultColourFilter), "Red and  Blue"},
        {"[Digitizer]\nMBUTTON=move", TEXT(MButton), "move"},
        {"[Digitizer]\nSHIFTMBUTTON=Move", TEXT(ShiftMButton), "Move"},
        {"[Digitizer]\nSHIFTRBUTTON=Draw", TEXT(ShiftRButton),
         "IF endpoint($xhx,$xhy) != 0 THEN\nLED\nELSEIF intersection($xhx,$xhy) != 0 THEN\nLID\n"
         "ELSEIF linenear($xhx,$xhy) != 0 THEN\nLND\nELSE\nD\nENDIF"},
        {"[Digitizer]\nMBUTTON=a\\nb \\\"q\\\"", TEXT(MButton), "a\r\nb \"q\""},
        {"[ProductSetup]\nProductSuffixes=X;Y\n[SummaryQuote]\nPrefixInColumns=0", TEXT(PossiblePrefixes), "X;Y"},
        {"[SummaryQuote]\nPossiblePrefixes=P\n[ProductSetup]\nProductSuffixes=", TEXT(PossiblePrefixes), "P"},
        {"[ProductSetup]\nProdColToKeep=Size", TEXT(ColumnsToUpdate), "Price"},
        {"[Address]\nAdd1=Caf\xE9 \x80", TEXT(Add1), "Caf\xE9 \x80"},
        {"[External]\nPDFTab=\"/opt/my viewer/view\"", TEXT(PDFTab), "/opt/my viewer/view"},
        // A folder or file name longer than the system takes counts as not set (megabytes of it
        // made the Open dialog slow and big); one just within the limit is kept.
        {"[Setup]\nProjectDir=/" + longName, TEXT(ProjectDir), home},
        {"[Setup]\nProjectDir=/" + longestName, TEXT(ProjectDir), "/" + longestName},
        {"[Setup]\nTempDir=./" + longestName, TEXT(TempDir), home + "Temp"},
        {"[Setup]\nLogFileDir=/" + longName, TEXT(LogFileDir), ""},
        {"[Setup]\nProductTab=/" + longName + ".csv", TEXT(SetupProductTab), home + "Metric/ProdComma/product.csv"},
        {"[MRU]\nMaxCount=2\n1=/" + longName + "\n2=/two.pad", MRU_PATHS, "/two.pad"},
    };
    for (const auto& c : cases) {
        const TConfig& config = Read(c.ini + "\n");
        EXPECT_EQ(c.get(config).substr(0, 200), c.expected.substr(0, 200)) << c.field << " from " << c.ini.substr(0, 60);
        EXPECT_EQ(c.get(config).size(), c.expected.size()) << c.field << " from " << c.ini.substr(0, 60);
    }
    EXPECT_EQ(Read("[Digitizer]\nMBUTTON=Move\n").MButton.substr(0, 34), "IF endpoint($xhx,$xhy) != 0 THEN\nL");
    EXPECT_EQ(Read("[Digitizer]\nRBUTTON=DrawOrtho\n").RButton.substr(0, 26), "hdist := dabs($px - $xhx)\n");
    const TConfig& suffixes = Read("[ProductSetup]\nProductSuffixes=X\n[SummaryQuote]\nPrefixInColumns=0\n");
    EXPECT_EQ(suffixes.PrefixInColumns, 1);
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(ConfigTest, HelpersOnTheirOwn)
{
    const struct {
        const char* in;
        const char* out;
    } units[] = {{"57", "57mm"}, {"0.18'", "0.18'"}, {"2\"", "2\""}, {"1m", "1m"}, {"5M", "5M"}, {"", "mm"}};
    for (const auto& u : units) {
        AnsiString text = u.in;
        TConfig::AddDefaultLengthUnit(text);
        EXPECT_EQ(text, u.out) << u.in;
    }
    EXPECT_EQ(TConfig::NormaliseColourFilter("cOLOUR tba or no colour"), "Colour TBA Or No Colour");
    EXPECT_EQ(TConfig::NormaliseColourFilter(""), "");
    EXPECT_EQ(TConfig::NormaliseColourFilter("a "), "A ");
}

TEST_F(ConfigTest, TableWithoutCsvOrXlsIsReported)
{
    const TConfig& c = Read("[Setup]\nProductTab=Product.txt\nReseneTab=C:\\Tables\\resene\n");
    ASSERT_EQ(dialogs.calls.size(), 2u);
    const AnsiString dir = ProgramFolder() + "Metric/ProdComma/";
    EXPECT_EQ(dialogs.calls[0].text.toStdString(),
              "The Resene table directory and name specified in the configuration file is invalid. "
              "The program will look for a valid table in " + dir + "ReseneTab");
    EXPECT_EQ(dialogs.calls[1].text.toStdString(),
              "The Product table directory and name specified in the configuration file is invalid. "
              "The program will look for a valid table in " + dir + "ProductTab");
    for (const auto& call : dialogs.calls) {
        EXPECT_EQ(call.caption, "Invalid File");
        EXPECT_EQ(call.flags, unsigned(MB_OK));
    }
    EXPECT_EQ(c.SetupProductTab, dir + "ProductTab");
    EXPECT_EQ(c.ReseneTab, dir + "ReseneTab");
}

TEST_F(ConfigTest, BackgroundPicture)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const AnsiString good = folder.Path("back.png");
    ASSERT_TRUE(picture.save(QString::fromStdString(good)));
    const AnsiString broken = folder.Write("not a picture", "broken.bmp");

    EXPECT_NE(Read("[Bitmap]\nBackground=" + good + "\n").BackgroundBitmap, nullptr);
    EXPECT_EQ(Read("[Bitmap]\nBackground=none\n").BackgroundBitmap, nullptr);
    EXPECT_EQ(Read("[Bitmap]\nBackground=\n").BackgroundBitmap, nullptr);
    EXPECT_EQ(Read("[Bitmap]\nBackground=" + broken + "\n").BackgroundBitmap, nullptr);
    EXPECT_TRUE(dialogs.calls.empty());

    const TConfig& c = Read("[Bitmap]\nBackground=NONE\n");
    EXPECT_EQ(c.BackgroundBitmap, nullptr);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].caption, "Plumo Calculator");
    EXPECT_EQ(dialogs.calls[0].flags, unsigned(MB_OK | MB_ICONERROR | MB_SYSTEMMODAL));
    // The box names the settings file the program read, by the path it found it at.
    EXPECT_EQ(dialogs.calls[0].text, "The File Specified in:\nBackground=NONE\ndefined in the group [Bitmap] in " +
                                         QString::fromUtf8(path.c_str()) + " Does Not Exist\n- File Ignored");

    // A file name is the system's own (UTF-8), not the settings' code page.
    dialogs.calls.clear();
    const AnsiString utf8 = folder.Write("[Bitmap]\nBackground=missing.png\n", "R\xC3\xA9glages.INI");
    delete new TConfig(utf8.c_str());
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.calls[0].text.contains(QStringLiteral("R\u00E9glages.INI Does Not Exist"))) << dialogs.calls[0].text.toStdString();

    // A value of megabytes is quoted by its first 511 bytes: a box of all of it freezes the window.
    dialogs.calls.clear();
    Read("[Bitmap]\nBackground=" + AnsiString(4 << 20, 'x') + "\n");
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.calls[0].text.startsWith("The File Specified in:\nBackground=" + QString(511, 'x') + "\ndefined"))
        << dialogs.calls[0].text.left(100).toStdString();
}

TEST_F(ConfigTest, DamagedFileReadsWhatItCan)
{
    const TConfig* c = nullptr;
    ASSERT_NO_THROW(c = &Read(ReadAll(TestData("ini/damaged.ini"))));
    EXPECT_EQ(c->SpacesPerTab, 8);  // the first of two, "12 junk", is no number
    EXPECT_TRUE(c->Scientific);     // from the second [Startup]; the broken header's key is lost
    EXPECT_EQ(c->FontSize, 10.0);
    EXPECT_EQ(c->ReportsLeftMargin, 20);
    EXPECT_EQ(c->TileMargin, 0.0);
    EXPECT_EQ(c->RoofMargin, 0.0);
    EXPECT_EQ(c->TempDir, ProgramFolder() + "Temp");
}

TEST_F(ConfigTest, LayoutTableIsWhole)
{
    std::set<std::pair<AnsiString, AnsiString>> keys;
    std::set<AnsiString> sections;
    for (const TIniKey& k : IniLayout()) {
        EXPECT_TRUE(keys.insert({UpperCase(k.Section), UpperCase(k.Key)}).second) << k.Section << " " << k.Key;
        sections.insert(UpperCase(k.Section));
        // Each rule that needs more than the key has it, of its own kind.
        EXPECT_EQ(k.Rule == TIniRule::Table, std::holds_alternative<TIniTableLabel>(k.Extra)) << k.Key;
        EXPECT_EQ(k.Rule == TIniRule::RealOr, std::holds_alternative<TIniOtherKey>(k.Extra)) << k.Key;
        EXPECT_TRUE(!std::holds_alternative<TIniDigitizerWord>(k.Extra) || k.Rule == TIniRule::Digitizer) << k.Key;
    }
    EXPECT_EQ(IniLayout().size(), 215u);
    EXPECT_EQ(sections.size(), 34u);
}

// What a pad save writes: [Setup] ProjectDir, [Startup] Scientific and the [MRU] list. Every
// other byte of a file full of comments, other sections and CR LF line ends stays as it was.
TEST_F(ConfigTest, SaveRoundTripChangesOnlyItsKeys)
{
    TConfig& c = Read(ReadAll(TestData("ini/roundtrip.ini")));
    EXPECT_EQ(c.InputUnit.Code, 32);
    EXPECT_EQ(c.ProjectDir, "C:\\Jobs\\Old");
    EXPECT_EQ(c.SpacesPerTab, 4);
    EXPECT_EQ(c.Tolerance, 250.5);
    EXPECT_EQ(c.Add1, "Caf\xE9 Street 5");
    EXPECT_EQ(c.Phone, "(09) 555 1234");
    EXPECT_EQ(c.MRU.Count(), 2);
    EXPECT_EQ(c.MRU.GetPath(2), "C:\\Jobs\\Old\\shed.pad");

    c.ProjectDir = "/home/ann/jobs/";
    TIniFile ini(c.IniPath);
    EXPECT_TRUE(ini.WriteString("Setup", "ProjectDir", c.ProjectDir));
    EXPECT_TRUE(ini.WriteString("Startup", "Scientific", "true"));
    c.MRU.Add("/home/ann/jobs/roof.pad");
    EXPECT_TRUE(c.MRU.Save(c.IniPath));
    const AnsiString expected = ReadAll(TestData("ini/roundtrip.expected.ini"));
    EXPECT_EQ(ReadAll(path), expected);

    delete Config;  // nothing more to write: the project folder is the stored one
    EXPECT_EQ(Config, nullptr);
    EXPECT_EQ(ReadAll(path), expected);
}

TEST_F(ConfigTest, OneObjectAtATime)
{
    TConfig* first = &Read("[Setup]\nProjectDir=.\\\n");
    EXPECT_EQ(Config, first);
    const AnsiString firstPath = path;
    TConfig* second = &Read("[Setup]\nProjectDir=/jobs/\n");  // deletes the first
    EXPECT_EQ(Config, second);
    EXPECT_EQ(ReadAll(firstPath), "[Setup]\nProjectDir=.\\\n");  // an unchanged ".\" is not rewritten

    second->ProjectDir = "/elsewhere/";
    delete second;
    EXPECT_EQ(Config, nullptr);
    EXPECT_EQ(ReadAll(path), "[Setup]\nProjectDir=/elsewhere/\n");

    TConfig* personal = &Read("[VisualImager]\nVisualization=personal\n");
    personal->ProjectDir = "/x/";
    delete personal;
    EXPECT_EQ(ReadAll(path), "[VisualImager]\nVisualization=personal\n");
}

}  // namespace
