// Speed of taking a large pad out of the program and of editing it wholesale, on the offscreen
// platform:
//  - CopyAll/N: Copy All of an N-line calculated pad (plain text on the clipboard).
//  - PrintToPdf/N: File > Print of an N-line calculated pad into a PDF file.
//  - ReplaceAll/N: Replace All of N matches in an N-line pad, closing the dialog (which colours
//    the whole pad once); the "colourings" counter says how often the colourer ran.
#include "bench/common/BenchSupport.h"
#include "bench/app/WindowBench.h"
#include "app/MainProg.h"
#include "app/PadColourer.h"
#include "config/Config.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Printers.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Session {
    QTemporaryDir dir;
    std::unique_ptr<TfrmMainProg> form;
    Session()
    {
        form = std::make_unique<TfrmMainProg>();
        UseBenchFolder(UnicodeToWin1252(dir.path()) + "/");
        form->show();
    }
    // A calculated pad of n lines of feet-and-inch arithmetic.
    void CalculatedPad(int n) const
    {
        QStringList pad;
        for (int i = 0; i < n; ++i) pad << QString::fromLatin1(kBenchPadLines[i % 8]);
        form->RichEdit_Main->SetText(pad.join('\n'));
        form->Cmb_UOM_Answer->SetItemIndex(10);  // ft: the unit these lines are in
        form->Btn_CalculateOnly->Click();
    }
};

// Answers the print dialog with a file and counts every other box.
struct Dialogs {
    QString printInto;
    int boxes = 0;
    DialogHandler previous;
    Dialogs()
    {
        previous = SetDialogHandler([this](DialogCall& call) {
            if (call.kind == DialogCall::Kind::Print) {
                call.result = 1;
                call.values = QStringList{printInto};
            } else {
                ++boxes;
            }
        });
    }
    ~Dialogs() { SetDialogHandler(previous); }
};

void CopyAll(benchmark::State& state)
{
    Session session;
    session.CalculatedPad(static_cast<int>(state.range(0)));
    for (auto _ : state) session.form->CopyAll1->Click();
    if (session.form->MemoOut->document()->blockCount() < state.range(0)) state.SkipWithError("rows missing");
}

void PrintToPdf(benchmark::State& state)
{
    Session session;
    session.CalculatedPad(static_cast<int>(state.range(0)));
    Dialogs dialogs;
    dialogs.printInto = session.dir.filePath("pad.pdf");
    for (auto _ : state) session.form->Print1->Click();
    if (dialogs.boxes > 0) state.SkipWithError("the print failed");
    state.counters["pages"] = Printer()->PageNumber();
    state.counters["MB"] = QFileInfo(dialogs.printInto).size() / 1e6;
}

void ReplaceAll(benchmark::State& state)
{
    Session session;
    const int n = static_cast<int>(state.range(0));
    Dialogs dialogs;
    int colourings = 0;
    session.form->Highlighter->HighlightSyntax = [&colourings] {
        ++colourings;
        return true;
    };
    TReplaceDialog* dialog = session.form->ReplaceDialog;
    for (auto _ : state) {
        state.PauseTiming();
        session.CalculatedPad(n);
        session.form->RichEdit_Main->SetSelStart(0);
        colourings = 0;
        session.form->Replace1->Click();
        dialog->FindEdit()->setText(QStringLiteral("' "));
        dialog->ReplaceEdit()->setText(QStringLiteral("'  "));
        state.ResumeTiming();
        dialog->ReplaceAllButton()->click();
    }
    session.form->Highlighter->HighlightSyntax = nullptr;
    state.counters["colourings"] = colourings;
    state.counters["boxes"] = dialogs.boxes / static_cast<double>(state.iterations());
}

}  // namespace

BENCHMARK(CopyAll)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(PrintToPdf)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReplaceAll)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    auto app = StartBenchApplication(argc, argv);
    RunBenchmarks(argc, argv);
    return boxesShown ? 1 : 0;
}
