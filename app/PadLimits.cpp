#include "app/PadLimits.h"

#include "app/PadFile.h"

#include <QFile>
#include <QFileInfo>

UnicodeString PadFileRefusal(const AnsiString& path)
{
    QFile file(PathToUnicode(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const UnicodeString name = "Can't open " + PathToUnicode(path) + " as a pad: ";
    if (file.size() > MaxPadFileBytes)
        return name + QStringLiteral("it is larger than %1 MB").arg(MaxPadFileBytes / (1024 * 1024));
    int lines = 0;
    size_t length = 0;  // of the line being read, without its line end
    char buffer[65536];
    for (qint64 got; (got = file.read(buffer, sizeof buffer)) > 0;) {
        for (qint64 i = 0; i < got; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                if (++lines > MaxPadFileLines)
                    return name + QStringLiteral("it has more than %1 lines").arg(MaxPadFileLines);
                length = 0;
            } else if (c != '\r' && ++length > MaxPadFileLine) {
                return name + QStringLiteral("line %1 has more than %2 characters").arg(lines + 1).arg(MaxPadFileLine);
            }
        }
    }
    return {};
}
