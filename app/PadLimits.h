#pragma once
// What a pad file holds: the window reads nothing beyond these limits, and saving writes nothing
// beyond them, so that every pad file the program writes opens again whole. The limits count the
// pad's own lines as the pad pane breaks them (a CR alone ends a line too); the key lines before
// them do not count.
#include "platform/vcl/Strings.h"

#include <cstdint>
#include <vector>

inline constexpr std::int64_t MaxPadFileBytes = 16 * 1024 * 1024;
inline constexpr int MaxPadFileLines = 200000;
// The longest pad line, in characters: the line buffer every reader of the format has had.
inline constexpr size_t MaxPadFileLine = 1023;

// Which limit a pad of these lines, in a file of fileBytes bytes, passes, as a box says it ("line 3
// has more than 1023 characters", lines counted from 1 as the window numbers them); empty when it
// is within all of them.
UnicodeString PadLimitPassed(const std::vector<AnsiString>& lines, std::int64_t fileBytes);
