// The main of every test program: Qt on the offscreen platform, a locale of our own, and a dialog
// handler that answers every dialog no test scripted, so that no test can wait on one. The tests
// run in a child process that must reach the runner's end for the program to pass (TestProcess.h).
#include "platform/vcl/DialogSeam.h"
#include "platform/vcl/SysUtils.h"
#include "tests/common/TestProcess.h"

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    BoundMemory();
    const std::function<int()> entry = ChildEntryToRun();
    if (!entry) {
        const int status = RunTestsInChild(argc, argv);
        if (status >= 0) return status;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // Qt switches the C library to the user's locale; printf-style output must keep its full stop.
    std::setlocale(LC_NUMERIC, "C");
    SetDefaultFormatSettings(FormatSettings());
    SetDialogHandler([](DialogCall& call) {
        std::fprintf(stderr, "[unscripted dialog] %s: %s\n", qPrintable(call.caption), qPrintable(call.text));
    });
    if (entry) return entry();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    ReportRunnerFinished(result);
    return result;
}
