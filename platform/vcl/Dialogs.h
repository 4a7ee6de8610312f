#pragma once
// The common file dialogs: open a file, save a file. Each keeps its settings between uses, like
// a component on a form: the filter, the title, the folder it starts in and the file name, which
// Execute fills with the user's choice.
//
// Every dialog goes through the dialog seam first (DialogCall::Kind::OpenFile or SaveFile):
//   caption   the title
//   text      the folder the dialog starts in (InitialDir)
//   fields    the proposed file name, then the filter as given
//   result    the answer: 1 accepted, 0 cancelled (the default, so an unscripted dialog cancels)
//   values    the chosen file's full path as the first value
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/Strings.h"

#include <QObject>
#include <QPointer>
#include <QDialog>

// A dialog belongs to its owner, as a component belongs to its form.
class TCommonFileDialog : public QObject {
public:
    explicit TCommonFileDialog(QObject* owner = nullptr) : QObject(owner) {}

    // Pairs of description and pattern separated by '|', as "Pad Files (*.pad)|*.pad|All|*.*|";
    // several patterns of one pair are separated by ';'.
    UnicodeString Filter;
    int FilterIndex = 1;  // 1-based pair shown first
    UnicodeString Title;
    UnicodeString InitialDir;
    UnicodeString FileName;  // proposed before Execute, the chosen full path after it

    // Shows the dialog; true when the user chose a file (FileName then holds it).
    bool Execute();

protected:
    virtual bool ForSaving() const = 0;
};

class TOpenDialog : public TCommonFileDialog {
public:
    using TCommonFileDialog::TCommonFileDialog;

protected:
    bool ForSaving() const override { return false; }
};

class TSaveDialog : public TCommonFileDialog {
public:
    using TCommonFileDialog::TCommonFileDialog;

protected:
    bool ForSaving() const override { return true; }
};

// The filter of a file dialog written as Qt writes it: "Pad Files (*.pad);;All (*)". A pattern of
// "*.*" matches every file, as it does on the desktop the filters were written for.
UnicodeString QtFileFilter(const UnicodeString& filter);

// The print dialog: chooses the printer (or a PDF file) of Printer() and its page settings.
// It goes through the dialog seam first (DialogCall::Kind::Print):
//   caption   "Print"
//   fields    the printer's name, then the output file it would print into ("" for none)
//   result    1 print, 0 cancelled (the default, so an unscripted dialog prints nothing)
//   values    a file name as the first value prints into that PDF file
class TPrintDialog : public QObject {
public:
    explicit TPrintDialog(QObject* owner = nullptr) : QObject(owner) {}
    // Shows the dialog; true when the user chose to print.
    bool Execute();
};

class QCheckBox;
class QLineEdit;
class QPushButton;

// Options of the find and replace dialogs, as bits.
using TFindOptions = unsigned;
enum : TFindOptions {
    frDown = 0x1,
    frWholeWord = 0x2,
    frMatchCase = 0x4,
    frFindNext = 0x8,
    frReplace = 0x10,
    frReplaceAll = 0x20,
    frHideUpDown = 0x4000,
};

// The find dialog: modeless, it stays open beside its owner and reports through its events.
// Find Next sets frFindNext and fires OnFind; Cancel, Escape or the window's close button hide
// it and fire OnClose. Its buttons stay disabled while "Find what" is empty.
class TFindDialog : public QObject {
public:
    explicit TFindDialog(QWidget* owner);
    ~TFindDialog() override;

    UnicodeString FindText() const;
    void SetFindText(const UnicodeString& text);
    // Match case and whole word follow the check boxes; frDown is the only direction here, and
    // with frHideUpDown no direction is offered at all.
    TFindOptions Options() const;
    void SetOptions(TFindOptions options);

    // Shows the dialog (modeless) and gives it the focus.
    bool Execute();
    // Closes the dialog as Cancel does; nothing happens when it is not open.
    void CloseDialog();
    bool IsOpen() const;

    TNotifyEvent OnFind;
    TNotifyEvent OnClose;

    // The dialog's window and controls, for whoever drives it as a user would (tests).
    QDialog* Window() const { return window_.data(); }
    QLineEdit* FindEdit() const { return findEdit_; }
    QCheckBox* MatchCaseBox() const { return matchCase_; }
    QCheckBox* WholeWordBox() const { return wholeWord_; }
    QPushButton* FindNextButton() const { return findNext_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    TFindDialog(QWidget* owner, bool replacing);
    void Fire(TFindOptions action, const TNotifyEvent& event);
    void UpdateButtons();
    QPointer<QDialog> window_;
    QLineEdit* findEdit_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QPushButton* findNext_;
    QPushButton* cancel_;
    QLineEdit* replaceEdit_ = nullptr;
    QPushButton* replace_ = nullptr;
    QPushButton* replaceAll_ = nullptr;
    TFindOptions options_ = frDown;
};

// The replace dialog adds "Replace with", Replace (frReplace) and Replace All (frReplaceAll),
// which fire OnReplace.
class TReplaceDialog : public TFindDialog {
public:
    explicit TReplaceDialog(QWidget* owner);
    UnicodeString ReplaceText() const;
    void SetReplaceText(const UnicodeString& text);
    TNotifyEvent OnReplace;

    QLineEdit* ReplaceEdit() const { return replaceEdit_; }
    QPushButton* ReplaceButton() const { return replace_; }
    QPushButton* ReplaceAllButton() const { return replaceAll_; }
};
