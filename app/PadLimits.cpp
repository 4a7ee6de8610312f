#include "app/PadLimits.h"

UnicodeString PadLimitPassed(const std::vector<AnsiString>& lines, std::int64_t fileBytes)
{
    if (fileBytes > MaxPadFileBytes)
        return QStringLiteral("it is larger than %1 MB").arg(MaxPadFileBytes / (1024 * 1024));
    if (lines.size() > static_cast<size_t>(MaxPadFileLines))
        return QStringLiteral("it has more than %1 lines").arg(MaxPadFileLines);
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].size() > MaxPadFileLine)
            return QStringLiteral("line %1 has more than %2 characters").arg(i + 1).arg(MaxPadFileLine);
    return {};
}
