#pragma once
// What the window benchmarks share: the feet-and-inch lines their pads are made of, and settings
// of their own in a fresh folder (the temporary program file and the projects go there).
#include "config/Config.h"
#include "platform/vcl/Strings.h"

inline const char* const kBenchPadLines[] = {
    "12' 6 1/2\" + 3' 4\"", "(10' - 2' 6 3/4\") / 2", "x = 7' 2\"", "x * 2 + 1' 1/8\"",
    "sqrt(144) * 1'",       "5' 3 1/4\" - 2' 1\"",          "2 * 3' 3\"",  "x / 4",
};

inline void UseBenchFolder(const AnsiString& folder)
{
    Config->IniPath = folder + "bench.INI";
    Config->TempDir = folder;
    Config->MacroDir = folder;
    Config->ProjectDir = folder;
    Config->MRU.Clear();
    Config->MRU.SetMaxCount(9);
    Config->Scientific = false;
}
