// Cut, Copy and Paste through the panes' own clipboard operations, followed by what the pad does
// after the same keys; and the edits the mouse makes in the pad (a drop, a middle-click paste,
// text dragged out of it), which get the same handling as a paste. Also the wiring of the
// Edit menu, Print and the find and replace dialogs.
#include "app/MainProg.h"

#include "app/PadColourer.h"
#include "platform/vcl/Dialogs.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <climits>
#include <set>

// Watches the pad's viewport for the mouse events that can change the text and the document for
// the changes they make; after such an event the form handles the changed lines as a paste.
class PadMouseEdits : public QObject {
public:
    // The pad is kept apart from the form: the pad (and this watch, its child) outlive the form's
    // own part while the window is taken down, and its events may still come then.
    explicit PadMouseEdits(TfrmMainProg& form) : QObject(form.RichEdit_Main), form_(form), pad_(form.RichEdit_Main)
    {
        viewport_ = pad_->viewport();
        viewport_->installEventFilter(this);
        connect(pad_->document(), &QTextDocument::contentsChange, this, [this](int position, int, int added) {
            if (!watching_) return;
            const QTextDocument* doc = pad_->document();
            const int from = doc->findBlock(position).blockNumber();
            const int to = doc->findBlock(position + added).blockNumber();
            first_ = std::min(first_, from);
            last_ = std::max(last_, to);
            addedLines_ += std::max(to - from, 0);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Only the events that can edit: while the pane is taken down others still pass here.
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove &&
            type != QEvent::Drop)
            return false;
        QWidget* viewport = viewport_;
        if (watched != viewport || forwarding_) return false;
        const bool middle = (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) &&
                            static_cast<const QMouseEvent*>(event)->button() == Qt::MiddleButton;
        // A middle click pastes on its release: the press and the release are one edit.
        if (middle && event->type() == QEvent::MouseButtonPress) {
            Begin();
            return false;
        }
        if (!MayEdit(event)) return false;
        if (!(middle && watching_)) Begin();
        // The pane handles the event first (a drag started here runs to its drop inside).
        forwarding_ = true;
        viewport->removeEventFilter(this);
        QCoreApplication::sendEvent(viewport, event);
        viewport->installEventFilter(this);
        forwarding_ = false;
        // Handled, with its passing on to the parents, already.
        if (event->type() != QEvent::Drop) event->accept();
        watching_ = false;
        if (last_ >= 0) {
            const int lines = pad_->LineCount();
            form_.AfterMouseEdit(std::min(first_, lines - 1), std::min(last_ + addedLines_, lines - 1));
        }
        return true;
    }

private:
    static bool MayEdit(const QEvent* event)
    {
        switch (event->type()) {
        case QEvent::Drop: return true;
        case QEvent::MouseButtonRelease:
            return static_cast<const QMouseEvent*>(event)->button() == Qt::MiddleButton;
        case QEvent::MouseMove:  // a drag of the selection starts on a move
            return (static_cast<const QMouseEvent*>(event)->buttons() & Qt::LeftButton) != 0;
        default: return false;
        }
    }

    void Begin()
    {
        watching_ = true;
        first_ = INT_MAX;
        last_ = -1;
        addedLines_ = 0;
    }

    TfrmMainProg& form_;
    TRichEdit* pad_;
    QWidget* viewport_;
    bool forwarding_ = false;
    bool watching_ = false;
    int first_ = INT_MAX;
    int last_ = -1;
    int addedLines_ = 0;
};

namespace {

// Keeps the releases of a menu shortcut's keys from the pad. The menu took the key's press, so the
// pad never had it; to the pad's key handling the releases (the letter, and Alt) would be an
// edit that empties the answers Copy All has just copied.
class ShortcutReleases : public QObject {
public:
    explicit ShortcutReleases(QWidget* pad) : QObject(pad) { pad->installEventFilter(this); }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride: {
            // Offered to the pad first: when its press then never comes, a shortcut took it.
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) offered_ = key->key();
            break;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            // The pad has the key after all, or the user types again: no chord to keep away.
            if (key == offered_ || !IsModifier(key)) {
                offered_ = 0;
                takenReleased_ = false;
            }
            held_.insert(key);
            break;
        }
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->isAutoRepeat()) break;
            held_.erase(key->key());
            if (offered_ == 0) break;
            if (key->key() == offered_) takenReleased_ = true;
            if (held_.empty() && takenReleased_) {
                offered_ = 0;
                takenReleased_ = false;
            }
            return true;
        }
        default: break;
        }
        return false;
    }

private:
    static bool IsModifier(int key)
    {
        return key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Shift || key == Qt::Key_Meta ||
               key == Qt::Key_AltGr;
    }
    std::set<int> held_;  // keys whose press the pad had
    int offered_ = 0;     // a shortcut key the pad was offered and did not get
    bool takenReleased_ = false;
};

}  // namespace

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

    new ShortcutReleases(RichEdit_Main);
    mouseEdits_ = new PadMouseEdits(*this);
}

// The menu commands act as their keys do in the pad: the key goes down (the caret's line is
// noted), the pane edits, the key comes up (colours, line numbers and panes follow).
void TfrmMainProg::Cut1Click(TObject* /*Sender*/)
{
    WORD key = 'X';
    RichEdit_MainKeyDown(RichEdit_Main, key, ssCtrl);
    RichEdit_Main->cut();
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
    RichEdit_Main->paste();
    key = 'V';
    RichEdit_MainKeyUp(RichEdit_Main, key, ssCtrl);
}

void TfrmMainProg::AfterMouseEdit(int first, int last)
{
    const int caretLine = RichEdit_Main->LineFromChar(RichEdit_Main->SelStart());
    KeyDownLine = std::min(first, caretLine);
    WORD key = 'V';
    RichEdit_MainKeyUp(RichEdit_Main, key, ssCtrl);
    // Lines behind the caret that the edit touched (where dragged text was taken from).
    if (last > caretLine) Highlighter->HighlightLines(caretLine + 1, last);
}
