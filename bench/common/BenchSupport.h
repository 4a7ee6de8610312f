#pragma once
// What every benchmark program shares: Qt on the offscreen platform with the C number format, a
// dialog handler that counts boxes instead of showing them (a box in a benchmark means a pad did
// not calculate cleanly), and the resident memory of the process for the longevity runs.
#include "platform/vcl/DialogSeam.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

inline int boxesShown = 0;

inline std::unique_ptr<QApplication> StartBenchApplication(int& argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    auto app = std::make_unique<QApplication>(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    SetDialogHandler([](DialogCall& call) {
        if (!boxesShown++) std::fprintf(stderr, "[box] %s: %s\n", qPrintable(call.caption), qPrintable(call.text));
    });
    return app;
}

inline void RunBenchmarks(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (boxesShown) std::fprintf(stderr, "%d boxes were shown: the programs did not run cleanly\n", boxesShown);
}

inline double ResidentMegabytes()
{
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}
