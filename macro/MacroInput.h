#pragma once
// The small modal form with which a macro asks for one value (ask, inputbox). It shows a prompt
// beside a one-line edit box and an OK button, and turns the typed text into a number: a number
// when the text starts like one, otherwise the character code of its first character, so that a
// Y or N answer can be tested as a number.
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/Strings.h"

#include <QDialog>

class QLabel;
class QPushButton;

class Tfrm_MacroInput : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_MacroInput(QWidget* owner = nullptr);

    TEdit* Edit1;
    QLabel* Label_Question;
    QPushButton* OK;

    UnicodeString Prompt;       // set before each showing
    UnicodeString CaptionText;  // "Input" until set
    double Result = 0.0;        // the answer (0 until the first OK)

    // Shows the form modally; the dialog seam may answer it (values[0] is the typed text).
    void ShowModal();
    // Lays the prompt out and gives the edit box the focus.
    void FormShow();
    // Computes Result from the edit box's text.
    void OKClick();
    void Edit1KeyUp() {}

protected:
    void showEvent(QShowEvent* event) override;
    // The form closes only through its OK button.
    void reject() override {}

private:
    // The label sizes itself to its caption; right-justified, it keeps its right edge.
    void SetLabelCaption(const UnicodeString& text);
    bool labelRightJustified_ = true;
};

// The one input form of the program (created at start-up; made on first use when there is none).
extern Tfrm_MacroInput* frm_MacroInput;
Tfrm_MacroInput* MacroInputForm();
