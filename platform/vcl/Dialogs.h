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
#include "platform/vcl/Strings.h"

#include <QObject>

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
