#include "platform/vcl/Graphics.h"

#include <QFontDatabase>
#include <QHash>
#include <QPalette>
#include <QWidget>

namespace {

// Installed stand-ins, best first, for families this desktop may lack.
const struct {
    const char* family;
    const char* standIns;
} kStandIns[] = {
    {"Tahoma", "Liberation Sans,DejaVu Sans Condensed,DejaVu Sans"},
    {"MS Sans Serif", "Liberation Sans,DejaVu Sans Condensed,DejaVu Sans"},
    {"Courier New", "Liberation Mono,DejaVu Sans Mono"},
};

bool Installed(const QString& family, const QStringList& families)
{
    return families.contains(family, Qt::CaseInsensitive);
}

}  // namespace

QString InstalledFamily(const QString& family)
{
    static QHash<QString, QString> chosen;
    const auto found = chosen.constFind(family);
    if (found != chosen.constEnd()) return *found;

    const QStringList families = QFontDatabase::families();
    QString result;
    if (Installed(family, families)) {
        result = family;
    } else {
        bool monospaced = false;
        for (const auto& entry : kStandIns) {
            if (family.compare(QLatin1String(entry.family), Qt::CaseInsensitive) != 0) continue;
            monospaced = family.contains(QLatin1String("Courier"), Qt::CaseInsensitive);
            for (const QString& standIn : QString::fromLatin1(entry.standIns).split(QLatin1Char(',')))
                if (result.isEmpty() && Installed(standIn, families)) result = standIn;
        }
        if (result.isEmpty())
            result = QFontDatabase::systemFont(monospaced ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont).family();
    }
    chosen.insert(family, result);
    return result;
}

QFont FontOf(const QString& family, int pixels)
{
    QFont font(InstalledFamily(family));
    font.setPixelSize(pixels);
    return font;
}

void SetBackground(QWidget* control, TColor colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, ToQColor(colour));
    palette.setColor(QPalette::Window, ToQColor(colour));
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}
