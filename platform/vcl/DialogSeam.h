#pragma once
// Every modal dialog of the program passes through this seam before it is shown. When a handler is
// installed (tests install one), the handler answers the dialog instead and nothing is shown, so a
// test can read each dialog's text, caption and flags and give its answer.
#include <QString>
#include <QStringList>
#include <functional>

struct DialogCall {
    enum class Kind {
        MessageBox,     // the application's message box
        ExtMessageBox,  // the message box with custom buttons and remembered answers
        MacroInput,     // the macro input form
        OpenFile,
        SaveFile,
        Print,
        Other,
    };
    Kind kind = Kind::MessageBox;
    QString caption;
    QString text;
    unsigned flags = 0;   // the style word, as the caller passed it
    QStringList fields;   // what the dialog offers: prompts, button captions, filters
    // The answer, filled by whoever answers the dialog.
    int result = 0;       // the answer code (IDOK, IDYES, ...), or 1/0 for accepted/cancelled
    QStringList values;   // answered texts: input values, the chosen file name
    bool checked = false; // a check box on the dialog ("Don't ask me again"), where it has one
    // Set by a handler that answers only some dialogs: this one is shown for real after all.
    bool passOn = false;
};

using DialogHandler = std::function<void(DialogCall&)>;

// Installs a handler and returns the one it replaces; an empty handler shows real dialogs again.
DialogHandler SetDialogHandler(DialogHandler handler);
// Offers the call to the installed handler: true when it answered (the caller shows nothing),
// false when there is none or it passed the call on.
bool AnswerBySeam(DialogCall& call);
