// The macro input form: its layout rules and the conversion of the answer.
#include "macro/MacroInput.h"

#include "platform/vcl/DialogSeam.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Tfrm_MacroInput* frm_MacroInput = nullptr;

Tfrm_MacroInput* MacroInputForm()
{
    if (!frm_MacroInput) frm_MacroInput = new Tfrm_MacroInput();
    return frm_MacroInput;
}

Tfrm_MacroInput::Tfrm_MacroInput(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frm_MacroInput"));
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(14);
    setFont(f);
    setFixedSize(561, 210);
    setWindowTitle(QStringLiteral("Input"));

    Label_Question = new QLabel(QStringLiteral("Question"), this);
    Label_Question->setGeometry(265, 86, 53, 16);
    Label_Question->setAlignment(Qt::AlignRight | Qt::AlignTop);

    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setGeometry(226, 148, 93, 30);
    OK->setDefault(true);
    connect(OK, &QPushButton::clicked, this, [this] {
        OKClick();
        accept();
    });

    // Alt with a key is the button's, as in every field of the program: it types nothing here.
    Edit1 = new TEdit(this);
    Edit1->setGeometry(325, 79, 80, 21);
    setTabOrder(Edit1, OK);

    CaptionText = QStringLiteral("Input");
}

void Tfrm_MacroInput::SetLabelCaption(const UnicodeString& text)
{
    int right = Label_Question->x() + Label_Question->width();
    Label_Question->setText(text);
    Label_Question->adjustSize();
    if (labelRightJustified_) Label_Question->move(right - Label_Question->width(), Label_Question->y());
}

void Tfrm_MacroInput::FormShow()
{
    setWindowTitle(CaptionText);

    labelRightJustified_ = true;
    Label_Question->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label_Question->setGeometry(216, 70, 42, Label_Question->height());
    SetLabelCaption(QStringLiteral("Question"));
    Label_Question->setGeometry(216, 70, 42, Label_Question->height());
    Edit1->clear();
    Edit1->move(264, Edit1->y());

    int reference = 216;
    int oldHeight = Label_Question->height();
    SetLabelCaption(Prompt);

    if (Label_Question->width() > 200) {
        Label_Question->move(Label_Question->x() + 100, Label_Question->y());
        Edit1->move(Edit1->x() + 100, Edit1->y());
        reference = 316;
    }
    int growth = Label_Question->height() - oldHeight;
    if (growth > 0) {
        int top = Label_Question->y() - growth / 2;
        if (top < 6) top = 5;
        int left = reference - Label_Question->width();
        if (left < 6) left = 5;
        Label_Question->move(left, top);
        labelRightJustified_ = false;
        Label_Question->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    if (Label_Question->x() < 5) Label_Question->move(5, Label_Question->y());
    Edit1->setFocus();
}

void Tfrm_MacroInput::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void Tfrm_MacroInput::OKClick()
{
    AnsiString text = Trim(UnicodeToWin1252(Edit1->text().toUpper()));
    Result = 0;
    if (text.empty()) return;
    int code = static_cast<signed char>(text[0]);
    if (code >= 43 && code <= 57) {
        try {
            Result = StrToFloat(text);
        } catch (const EConvertError& e) {
            // The answer stays 0; the user is told why, as for any other bad number.
            Application->ShowException(e);
        }
    } else {
        Result = code;
    }
}

void Tfrm_MacroInput::ShowModal()
{
    FormShow();
    DialogCall call;
    call.kind = DialogCall::Kind::MacroInput;
    call.caption = CaptionText;
    call.text = Prompt;
    call.fields = QStringList{Prompt};
    call.result = 1;
    if (AnswerBySeam(call)) {
        Edit1->setText(call.values.value(0));
        OKClick();
        return;
    }
    const FocusReturn focus(parentWidget() ? parentWidget() : BoxOwner());
    const ActivationReturn keys(this);
    exec();
}
