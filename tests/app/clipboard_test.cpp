// Cut, Copy and Paste from the Edit menu, and the edits the mouse makes in the pad: each is
// followed at once by fresh line numbers, an emptied answer pane and plain quotes.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

namespace {

QString ClipboardText() { return QGuiApplication::clipboard()->text(); }

// A calculated pad of three lines: the answer pane is full before each edit.
void Calculated(const Window& w, const QString& pad = "1+1\n2+2\n3+3")
{
    w.SetPad(pad);
    w->Btn_CalculateOnly->Click();
    ASSERT_EQ(w.Answers().value(0), "2");
}

void Select(const Window& w, int start, int length)
{
    w->RichEdit_Main->SetSelStart(start);
    w->RichEdit_Main->SetSelLength(length);
}

// Stands for the desktop's middle-click paste, which the offscreen platform does not have: the
// selection is pasted where the middle button comes up, while the pane handles the release.
class MiddleClickPaste : public QObject {
public:
    MiddleClickPaste(TRichEdit* pad, QString text) : pad_(pad), text_(std::move(text))
    {
        pad->viewport()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        // Others pass the event on to the pane again: paste once.
        if (event->type() == QEvent::MouseButtonRelease && event != seen_) {
            seen_ = event;
            pad_->setTextCursor(pad_->cursorForPosition(static_cast<QMouseEvent*>(event)->position().toPoint()));
            pad_->insertPlainText(text_);
        }
        return false;
    }

private:
    TRichEdit* pad_;
    QString text_;
    QEvent* seen_ = nullptr;
};

}  // namespace

TEST(Clipboard, MenuCommandsEditAndThePanesFollow)
{
    const QString quoted = QString::fromUtf8("5\u2019 6\u201D\n\u201Cx\u201D");
    const struct {
        const char* name;
        TMenuItem* TfrmMainProg::*item;
        int selStart;
        int selLength;
        QString clipboardBefore;
        QStringList pad;
        QString clipboardAfter;
    } rows[] = {
        {"cut two lines", &TfrmMainProg::Cut1, 4, 8, "", {"1+1"}, "2+2\n3+3\n"},
        {"cut nothing", &TfrmMainProg::Cut1, 0, 0, "keep", {"1+1", "2+2", "3+3"}, "keep"},
        {"paste lines", &TfrmMainProg::Paste1, 4, 3, "7\n8\n9", {"1+1", "7", "8", "9", "3+3"}, "7\n8\n9"},
        {"paste quotes", &TfrmMainProg::Paste1, 0, 0, quoted, {"5' 6\"", "\"x\"1+1", "2+2", "3+3"}, quoted},
        {"paste CR LF", &TfrmMainProg::Paste1, 11, 0, "4\r\n5", {"1+1", "2+2", "3+34", "5"}, "4\r\n5"},
    };
    for (const auto& r : rows) {
        DialogRecorder dialogs;
        Window w;
        Calculated(w);
        QGuiApplication::clipboard()->setText(r.clipboardBefore);
        if (!r.clipboardBefore.isEmpty() && ClipboardText().isEmpty()) GTEST_SKIP() << "no clipboard here";
        Select(w, r.selStart, r.selLength);
        ((*w).*r.item)->Click();
        EXPECT_EQ(w.Pad(), r.pad) << r.name;
        EXPECT_EQ(ClipboardText(), r.clipboardAfter) << r.name;
        // The line numbers follow at once, and no answer stands beside a line it does not belong to.
        EXPECT_EQ(w->RichEdit_LineNo->Lines.Count(), w->RichEdit_Main->LineCount()) << r.name;
        EXPECT_TRUE(w.Answers().join("").isEmpty()) << r.name;
        EXPECT_FALSE(w->PadUnchanged) << r.name;
    }
}

TEST(Clipboard, CopyTakesTheAnswerPaneWhenItHasTheFocus)
{
    DialogRecorder dialogs;
    Window w;
    Calculated(w);
    QApplication::setActiveWindow(&*w);
    Select(w, 0, 3);
    w->RichEdit_Main->setFocus();
    w->Copy1->Click();
    EXPECT_EQ(ClipboardText(), "1+1");
    QTextCursor answers(w->RichEdit_Result->document());
    answers.setPosition(2);
    answers.setPosition(5, QTextCursor::KeepAnchor);
    w->RichEdit_Result->setTextCursor(answers);
    w->RichEdit_Result->setFocus();
    w->Copy1->Click();
    EXPECT_EQ(ClipboardText(), "4\n6");
    EXPECT_EQ(w.Answers().value(2), "6") << "copying changes nothing";
    EXPECT_TRUE(w->PadUnchanged);
}

TEST(Clipboard, ADropIntoThePadIsHandledAsAPaste)
{
    DialogRecorder dialogs;
    Window w;
    Calculated(w);
    QMimeData data;
    data.setText(QString::fromUtf8("10\u2019\n20"));
    const QPoint at = w->RichEdit_Main->cursorRect(QTextCursor(w->RichEdit_Main->document()->findBlockByNumber(1))).center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w->RichEdit_Main->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w->RichEdit_Main->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w->RichEdit_Main->viewport(), &drop);
    const QStringList pad = w.Pad();
    ASSERT_EQ(pad.size(), 4) << pad.join('|').toStdString();
    EXPECT_TRUE(pad.join('|').contains("10'|20")) << pad.join('|').toStdString();
    EXPECT_EQ(w->RichEdit_LineNo->Lines.Count(), w->RichEdit_Main->LineCount());
    EXPECT_TRUE(w.Answers().join("").isEmpty());
    EXPECT_FALSE(w->PadUnchanged);
}

TEST(Clipboard, AMiddleClickPasteIsHandledAsAPaste)
{
    DialogRecorder dialogs;
    Window w;
    Calculated(w);
    MiddleClickPaste paste(w->RichEdit_Main, QString::fromUtf8("4\u2019\n5"));
    const QPoint at = w->RichEdit_Main->cursorRect(QTextCursor(w->RichEdit_Main->document()->findBlockByNumber(2))).center();
    QTest::mouseClick(w->RichEdit_Main->viewport(), Qt::MiddleButton, Qt::NoModifier, at);
    const QStringList pad = w.Pad();
    ASSERT_EQ(pad.size(), 4) << pad.join('|').toStdString();
    EXPECT_TRUE(pad.join('|').contains("4'|5")) << pad.join('|').toStdString();
    EXPECT_EQ(w->RichEdit_LineNo->Lines.Count(), w->RichEdit_Main->LineCount());
    EXPECT_TRUE(w.Answers().join("").isEmpty());

    // A middle click that pastes nothing leaves the answers.
    Calculated(w);
    MiddleClickPaste nothing(w->RichEdit_Main, QString());
    QTest::mouseClick(w->RichEdit_Main->viewport(), Qt::MiddleButton, Qt::NoModifier, at);
    EXPECT_EQ(w.Answers().value(0), "2");
}
