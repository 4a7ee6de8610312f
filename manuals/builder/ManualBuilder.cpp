// Builds the four PDF manuals from their texts: every worked pad is calculated by the program
// and every reference table is made from the program's own tables.
//   plumo_manuals <folder of the texts> <folder for the PDFs>
#include "config/Config.h"
#include "manuals/builder/ManualText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <clocale>
#include <cstdio>
#include <stdexcept>

namespace {

const char* const kManuals[][2] = {
    {"metric_basic.txt", "Tutorial_Manual_Metric_Basic.pdf"},
    {"imperial_basic.txt", "Tutorial_Manual_Imperial_Basic.pdf"},
    {"general.txt", "Tutorial_Manual_General.pdf"},
    {"reference.txt", "Reference_Manual.pdf"},
};

const char* const kStyle =
    "body { font-family: 'DejaVu Sans', sans-serif; font-size: 10pt; }"
    "h1 { font-size: 20pt; color: #1f4e79; }"
    "h2 { font-size: 14pt; color: #1f4e79; margin-top: 16px; }"
    "h3 { font-size: 11pt; margin-top: 10px; }"
    "code { font-family: 'DejaVu Sans Mono', monospace; }"
    "th { background-color: #dfe8f1; }";

std::string ReadText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll().toStdString();
}

// Writes through a temporary file, so that a failed build leaves no half-written manual.
void WritePdf(const ManualHtml& manual, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write " + path.toStdString());
    {
        QPdfWriter writer(&file);
        writer.setTitle(QString::fromStdString(manual.title));
        writer.setCreator(QStringLiteral("Plumo Calculator"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
        writer.setResolution(300);
        QTextDocument document;
        document.setDefaultStyleSheet(QString::fromLatin1(kStyle));
        document.setHtml(QString::fromStdString("<html><body>" + manual.html + "</body></html>"));
        document.print(&writer);
    }
    if (!file.commit()) throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <texts folder> <output folder>\n", argv[0]);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    try {
        const QString texts = QString::fromLocal8Bit(argv[1]);
        const QString output = QString::fromLocal8Bit(argv[2]);
        if (!QDir().mkpath(output)) throw std::runtime_error("cannot make " + output.toStdString());
        // The examples are calculated with default settings and a scratch folder for the
        // calculation's program file.
        QTemporaryDir scratch;
        if (!scratch.isValid()) throw std::runtime_error("no scratch folder");
        new TConfig((scratch.path() + QStringLiteral("/none.INI")).toUtf8().constData());
        Config->TempDir = scratch.path().toStdString();
        Config->MacroDir = Config->TempDir;
        for (const auto& manual : kManuals) {
            const QString source = texts + QLatin1Char('/') + QString::fromLatin1(manual[0]);
            const ManualHtml html = RenderManual(ReadText(source), source.toStdString());
            WritePdf(html, output + QLatin1Char('/') + QString::fromLatin1(manual[1]));
        }
        delete Config;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "plumo_manuals: %s\n", e.what());
        return 1;
    }
    return 0;
}
