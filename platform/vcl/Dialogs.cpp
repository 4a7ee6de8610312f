#include "platform/vcl/Dialogs.h"

#include "platform/vcl/DialogSeam.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Printers.h"
#include "platform/win/DialogTemplate.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <QFileDialog>
#include <QRegularExpression>
#include <limits>

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
    QFileDialog dialog(owner ? owner : BoxOwner(), Title, InitialDir, QtFileFilter(Filter));
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

// ---- TPrintDialog ----

bool TPrintDialog::Execute()
{
    QPrinter& device = Printer()->Device();
    DialogCall call;
    call.kind = DialogCall::Kind::Print;
    call.caption = QStringLiteral("Print");
    call.fields = QStringList{device.printerName(), device.outputFileName()};
    call.result = 0;
    if (AnswerBySeam(call)) {
        if (call.result == 0) return false;
        if (!call.values.isEmpty() && !call.values.front().isEmpty()) {
            device.setOutputFormat(QPrinter::PdfFormat);
            device.setOutputFileName(call.values.front());
        }
        return true;
    }
    QWidget* owner = qobject_cast<QWidget*>(parent());
    QPrintDialog dialog(&device, owner ? owner : BoxOwner());
    dialog.setWindowTitle(QStringLiteral("Print"));
    return dialog.exec() == QDialog::Accepted;
}

// ---- TFindDialog, TReplaceDialog ----

TFindDialog::TFindDialog(QWidget* owner) : TFindDialog(owner, false) {}

TFindDialog::TFindDialog(QWidget* owner, bool replacing) : QObject(owner), window_(new QDialog(owner))
{
    window_->setWindowTitle(replacing ? QStringLiteral("Replace") : QStringLiteral("Find"));
    // Never narrower than its title needs, whatever the fonts make of the controls.
    window_->setMinimumWidth(TitleBarWidth(window_->windowTitle()));
    window_->setModal(false);
    auto* grid = new QGridLayout(window_);
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), window_);
    findEdit_ = new TEdit(window_);
    // A line edit cuts what is typed or pasted past its maximum length without a word: the texts
    // are taken whole, however long (a QString holds no more than this anyway).
    findEdit_->setMaxLength(std::numeric_limits<int>::max());
    findEdit_->setMinimumWidth(findEdit_->fontMetrics().averageCharWidth() * 30);
    findLabel->setBuddy(findEdit_);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(findEdit_, 0, 1);
    int row = 1;
    if (replacing) {
        auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), window_);
        replaceEdit_ = new TEdit(window_);
        replaceEdit_->setMaxLength(findEdit_->maxLength());
        replaceLabel->setBuddy(replaceEdit_);
        grid->addWidget(replaceLabel, row, 0);
        grid->addWidget(replaceEdit_, row++, 1);
    }
    wholeWord_ = new QCheckBox(QStringLiteral("Match &whole word only"), window_);
    matchCase_ = new QCheckBox(QStringLiteral("Match &case"), window_);
    grid->addWidget(wholeWord_, row++, 0, 1, 2);
    grid->addWidget(matchCase_, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);

    auto* buttons = new QVBoxLayout();
    findNext_ = new QPushButton(QStringLiteral("&Find Next"), window_);
    findNext_->setDefault(true);
    buttons->addWidget(findNext_);
    if (replacing) {
        replace_ = new QPushButton(QStringLiteral("&Replace"), window_);
        replaceAll_ = new QPushButton(QStringLiteral("Replace &All"), window_);
        buttons->addWidget(replace_);
        buttons->addWidget(replaceAll_);
    }
    cancel_ = new QPushButton(QStringLiteral("Cancel"), window_);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 2, row + 1, 1);

    connect(findEdit_, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
    connect(findNext_, &QPushButton::clicked, this, [this] { Fire(frFindNext, OnFind); });
    connect(cancel_, &QPushButton::clicked, window_, &QDialog::reject);
    connect(window_, &QDialog::finished, this, [this] {
        if (OnClose) OnClose(this);
    });
    UpdateButtons();
}

TFindDialog::~TFindDialog()
{
    // The window belongs to the owner too, which may have deleted it first.
    delete window_.data();
}

UnicodeString TFindDialog::FindText() const { return findEdit_->text(); }
void TFindDialog::SetFindText(const UnicodeString& text) { findEdit_->setText(text); }

TFindOptions TFindDialog::Options() const
{
    TFindOptions options = options_ & ~(frMatchCase | frWholeWord);
    if (matchCase_->isChecked()) options |= frMatchCase;
    if (wholeWord_->isChecked()) options |= frWholeWord;
    return options;
}

void TFindDialog::SetOptions(TFindOptions options)
{
    options_ = options;
    matchCase_->setChecked((options & frMatchCase) != 0);
    wholeWord_->setChecked((options & frWholeWord) != 0);
}

bool TFindDialog::Execute()
{
    window_->show();
    window_->activateWindow();
    findEdit_->setFocus();
    findEdit_->selectAll();
    return true;
}

void TFindDialog::CloseDialog()
{
    if (window_->isVisible()) window_->reject();
}

bool TFindDialog::IsOpen() const { return window_->isVisible(); }

void TFindDialog::Fire(TFindOptions action, const TNotifyEvent& event)
{
    // Nothing to look for: the buttons are disabled, and a click that comes anyway does nothing.
    if (findEdit_->text().isEmpty()) return;
    options_ = (options_ & ~(frFindNext | frReplace | frReplaceAll)) | action;
    if (event) event(this);
}

void TFindDialog::UpdateButtons()
{
    const bool any = !findEdit_->text().isEmpty();
    for (QPushButton* button : {findNext_, replace_, replaceAll_})
        if (button) button->setEnabled(any);
}

TReplaceDialog::TReplaceDialog(QWidget* owner) : TFindDialog(owner, true)
{
    connect(replace_, &QPushButton::clicked, this, [this] { Fire(frReplace, OnReplace); });
    connect(replaceAll_, &QPushButton::clicked, this, [this] { Fire(frReplaceAll, OnReplace); });
}

UnicodeString TReplaceDialog::ReplaceText() const { return replaceEdit_->text(); }
void TReplaceDialog::SetReplaceText(const UnicodeString& text) { replaceEdit_->setText(text); }
