// The built manuals, read back as a user's viewer would show them: each has its title and a
// worked answer that can be checked by hand.
#include "app/Help_manuals.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#ifdef PLUMO_MANUALS_DIR

namespace {

QString TextOf(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(10000) || process.exitCode() != 0) return {};
    // Blanks collapsed, so that a table's columns read as one line of words.
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
                             "cu yds", "[External] PDFTab"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(name))) << name;
}

}  // namespace

#endif
