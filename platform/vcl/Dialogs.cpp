#include "platform/vcl/Dialogs.h"

#include "platform/vcl/DialogSeam.h"

#include <QApplication>
#include <QFileDialog>
#include <QRegularExpression>

namespace {

// The patterns of one filter pair the way Qt reads them: separated by blanks, and "*.*" as "*"
// so that files without an extension are offered too.
QString QtPatterns(const QString& patterns)
{
    QStringList out;
    for (QString p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        p = p.trimmed();
        if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        if (!p.isEmpty()) out << p;
    }
    return out.isEmpty() ? QStringLiteral("*") : out.join(QLatin1Char(' '));
}

}  // namespace

UnicodeString QtFileFilter(const UnicodeString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    static const QRegularExpression trailingGroup(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // Qt takes the patterns from the description's last bracketed group, so that group must
        // hold the real patterns; a description that shows them already loses its copy.
        description.remove(trailingGroup);
        description = description.trimmed();
        entries << QStringLiteral("%1 (%2)").arg(description, QtPatterns(parts[i + 1]));
    }
    return entries.join(QStringLiteral(";;"));
}

bool TCommonFileDialog::Execute()
{
    DialogCall call;
    call.kind = ForSaving() ? DialogCall::Kind::SaveFile : DialogCall::Kind::OpenFile;
    call.caption = Title;
    call.text = InitialDir;
    call.fields = QStringList{FileName, Filter};
    call.result = 0;
    if (AnswerBySeam(call)) {
        if (call.result == 0 || call.values.isEmpty() || call.values.front().isEmpty()) return false;
        FileName = call.values.front();
        return true;
    }

    QWidget* owner = qobject_cast<QWidget*>(parent());
    QFileDialog dialog(owner ? owner : QApplication::activeWindow(), Title, InitialDir, QtFileFilter(Filter));
    dialog.setAcceptMode(ForSaving() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(ForSaving() ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Saving always keeps a backup of the file it replaces, so it does not ask first.
    if (ForSaving()) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = dialog.nameFilters();
    if (FilterIndex >= 1 && FilterIndex <= filters.size()) dialog.selectNameFilter(filters[FilterIndex - 1]);
    if (!FileName.isEmpty()) dialog.selectFile(FileName);
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return false;
    FileName = chosen.front();
    const int index = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    if (index >= 0) FilterIndex = index + 1;
    return true;
}
