// The built manuals, read back as a user's viewer would show them: each has its title and a
// worked answer that can be checked by hand.
#include "app/Help_manuals.h"
#include "manuals/builder/ManualText.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#ifdef PLUMO_MANUALS_DIR

namespace {

QString TextOf(const QString& pdf)
{
    QProcess process;
    // In the order the page was drawn, cell after cell, with blanks collapsed: a table's row reads
    // as one line of words however its cells wrap.
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(10000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

TEST(BuiltManuals, EachHasItsTitleAndAWorkedAnswer)
{
    const struct {
        const char* file;
        const char* title;
        const char* line;    // a pad line of a worked example
        const char* answer;  // its answer, worked out by hand
    } rows[] = {
        {kMetricBasicManual, "Plumo Calculator: Metric Basics", "4200 * 3600", "15.120sq m"},
        {kImperialBasicManual, "Plumo Calculator: Imperial Basics", "TOTAL", "20'-10\""},
        {kGeneralManual, "Plumo Calculator: Programming", "total", "9000"},
        {kReferenceManual, "Plumo Calculator: Reference Manual", "sqrt(2400^2 + 1800^2)", "3000mm"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const QString pdf = QStringLiteral(PLUMO_MANUALS_DIR "/") + QString::fromLatin1(row.file);
        ASSERT_TRUE(QFileInfo(pdf).isFile());
        const QString text = TextOf(pdf);
        ASSERT_FALSE(text.isEmpty()) << "pdftotext read nothing";
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(row.title)));
        // The answer stands right beside its line.
        const QString pair = QString::fromUtf8(row.line) + QLatin1Char(' ') + QString::fromUtf8(row.answer);
        EXPECT_TRUE(text.contains(pair)) << qPrintable(pair);
    }
}

TEST(BuiltManuals, TheReferenceListsEveryKindOfName)
{
    const QString text = TextOf(QStringLiteral(PLUMO_MANUALS_DIR "/") + QString::fromLatin1(kReferenceManual));
    for (const char* name : {"endwhile", "InputYesNoBox", "log10", "GAMMA", "ZR_TOTAL_PRICE", "ZR_VERTICAL_JOINT_SKU$",
                             "cu yds", "[External] PDFTab", "[Initialization] HightlightSyntax",
                             // The menu items a user looks up, with the shortcuts the window gives them.
                             "File > Print Ctrl+P", "Edit > Cut Ctrl+X", "Edit > Copy Ctrl+C", "Edit > Paste Ctrl+V",
                             "Edit > Copy All Ctrl+Alt+C", "Edit > Find Ctrl+F", "Edit > Replace Ctrl+H"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(name))) << name;
}

// A manual may name only what the window shows and the settings file holds: anything else stops
// the build with the name in its message. The last rows are names the program has.
TEST(ManualText, NamesOnlyWhatTheProgramHas)
{
    const struct {
        const char* text;
        const char* shown;  // in the HTML; null when the build must stop naming `wrong`
        const char* wrong;
    } rows[] = {
        {"Set Input to {input:Imperial}.", nullptr, "Imperial"},
        {"Set Answer to {answer:sq in}.", nullptr, "sq in"},
        {"Choose {precision:7 Decimal Places}.", nullptr, "7 Decimal Places"},
        {"Tick {angle:Gradians}.", nullptr, "Gradians"},
        {"Use {menu:Edit > Undo}.", nullptr, "Edit > Undo"},
        {"Use {menu:Edit > Print}.", nullptr, "Edit > Print"},
        {"Set {setting:Options/HightlightSyntax}.", nullptr, "Options/HightlightSyntax"},
        {"Set {setting:Initialization/HighlightSyntax}.", nullptr, "Initialization/HighlightSyntax"},
        {"Set {setting:Initialization}.", nullptr, "Initialization"},
        {"@table menus\nEdit > Select All | Selects the pad.\n@end", nullptr, "Edit > Select All"},
        {"@table settings\nOptions/HightlightSyntax | Colours.\n@end", nullptr, "Options/HightlightSyntax"},
        {"@pad input=imperial answer=inches\n1\n@end", nullptr, "inches"},
        {"@pad input=feet\n1\n@end", nullptr, "feet"},
        {"@pad precision=7\n1\n@end", nullptr, "7"},
        {"A {caption without kind.", nullptr, "caption"},
        {"Choose {input:}.", "the empty item at the bottom of the Input list", nullptr},
        {"Use {menu:Edit > Copy All}.", "<b>Edit &gt; Copy All</b> (Ctrl+Alt+C)", nullptr},
        {"Use {menu:Help > Tutorial Manuals > Programming}.", "Tutorial Manuals &gt; Programming</b>.", nullptr},
        {"Set {setting:Initialization/HightlightSyntax}, not `{input:x}`.",
         "<code>[Initialization] HightlightSyntax</code>, not <code>{input:x}</code>", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const std::string text = std::string("# Title\n") + row.text + "\n";
        if (row.shown) {
            EXPECT_NE(RenderManual(text, "test.txt").html.find(row.shown), std::string::npos);
            continue;
        }
        try {
            RenderManual(text, "test.txt");
            ADD_FAILURE() << "the build went on";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(row.wrong), std::string::npos) << e.what();
        }
    }
}

}  // namespace

#endif
