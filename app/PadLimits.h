#pragma once
// What the window can hold: a pad file beyond these limits is refused before anything of it is
// loaded, with one box that says why, rather than split into pieces that each fail on their own.
#include "platform/vcl/Strings.h"

#include <cstdint>

inline constexpr std::int64_t MaxPadFileBytes = 16 * 1024 * 1024;
inline constexpr int MaxPadFileLines = 200000;

// Why the file at path (the system's name) can't be opened as a pad; empty when it can (or can't
// be read at all, which the reading itself reports).
UnicodeString PadFileRefusal(const AnsiString& path);
