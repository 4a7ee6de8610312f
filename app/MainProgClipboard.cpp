// Cut, Copy and Paste through the panes' own clipboard operations, followed by what the pad does
// after the same keys. Also the wiring of the Edit menu, Print and the find and replace dialogs,
// and of the user's edits of the pad to what follows them.
#include "app/MainProg.h"

#include "app/PadColourer.h"
#include "platform/vcl/Dialogs.h"

void TfrmMainProg::ConnectEditCommands()
{
    const auto bind = [this](void (TfrmMainProg::*handler)(TObject*)) {
        return [this, handler](TObject* sender) { (this->*handler)(sender); };
    };
    PrintDialog1 = new TPrintDialog(this);
    FindDialog = new TFindDialog(this);
    FindDialog->SetOptions(frDown | frHideUpDown);
    FindDialog->OnFind = bind(&TfrmMainProg::FindDialogFind);
    ReplaceDialog = new TReplaceDialog(this);
    ReplaceDialog->OnReplace = bind(&TfrmMainProg::ReplaceDialogReplace);
    ReplaceDialog->OnClose = bind(&TfrmMainProg::ReplaceDialogClose);

    Print1->OnClick = bind(&TfrmMainProg::Print1Click);
    Cut1->OnClick = bind(&TfrmMainProg::Cut1Click);
    Copy1->OnClick = bind(&TfrmMainProg::Copy1Click);
    Paste1->OnClick = bind(&TfrmMainProg::Paste1Click);
    CopyAll1->OnClick = bind(&TfrmMainProg::CopyAll1Click);
    Find1->OnClick = bind(&TfrmMainProg::Find1Click);
    Replace1->OnClick = bind(&TfrmMainProg::Replace1Click);

    RichEdit_Main->OnUserEdit = [this](int first, int last, bool byMouse) { AfterPadEdit(first, last, byMouse); };
}

// The menu commands act as their keys do in the pad: the key goes down (the caret's line is
// noted), the pane edits, the key comes up (colours, line numbers and panes follow).
void TfrmMainProg::Cut1Click(TObject* /*Sender*/)
{
    WORD key = 'X';
    RichEdit_MainKeyDown(RichEdit_Main, key, ssCtrl);
    RichEdit_Main->UserEdit([this] { RichEdit_Main->cut(); });
    key = 'X';
    RichEdit_MainKeyUp(RichEdit_Main, key, ssCtrl);
}

void TfrmMainProg::Copy1Click(TObject* /*Sender*/)
{
    (focusWidget() == RichEdit_Result ? RichEdit_Result : RichEdit_Main)->copy();
}

void TfrmMainProg::Paste1Click(TObject* /*Sender*/)
{
    WORD key = 'V';
    RichEdit_MainKeyDown(RichEdit_Main, key, ssCtrl);
    RichEdit_Main->UserEdit([this] { RichEdit_Main->paste(); });
    key = 'V';
    RichEdit_MainKeyUp(RichEdit_Main, key, ssCtrl);
}
