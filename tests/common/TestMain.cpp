// The main of every test program: Qt on the offscreen platform, a locale of our own, and a dialog
// handler that answers every dialog no test scripted, so that no test can wait on one.
#include "platform/vcl/DialogSeam.h"
#include "platform/vcl/SysUtils.h"

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // Qt switches the C library to the user's locale; printf-style output must keep its full stop.
    std::setlocale(LC_NUMERIC, "C");
    SetDefaultFormatSettings(FormatSettings());
    SetDialogHandler([](DialogCall& call) {
        std::fprintf(stderr, "[unscripted dialog] %s: %s\n", qPrintable(call.caption), qPrintable(call.text));
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
