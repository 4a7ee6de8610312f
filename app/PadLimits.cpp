#include "app/PadLimits.h"

#include "app/PadFile.h"

#include <QFile>
#include <QFileInfo>

AnsiString PadFileRefusal(const AnsiString& path)
{
    QFile file(Win1252ToUnicode(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const AnsiString name = "Can't open " + path + " as a pad: ";
    if (file.size() > MaxPadFileBytes)
        return name + "it is larger than " + std::to_string(MaxPadFileBytes / (1024 * 1024)) + " MB";
    int lines = 0;
    size_t length = 0;  // of the line being read, without its line end
    char buffer[65536];
    for (qint64 got; (got = file.read(buffer, sizeof buffer)) > 0;) {
        for (qint64 i = 0; i < got; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                if (++lines > MaxPadFileLines)
                    return name + "it has more than " + std::to_string(MaxPadFileLines) + " lines";
                length = 0;
            } else if (c != '\r' && ++length > MaxPadFileLine) {
                return name + "line " + std::to_string(lines + 1) + " has more than " +
                       std::to_string(MaxPadFileLine) + " characters";
            }
        }
    }
    return {};
}
