// The pad panes' edit control: lines, positions and the selection's format, as the pad code
// relies on them (a line break counts one position; an empty last line is not a line).
#include "platform/vcl/RichEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <functional>
#include <vector>
#include <gtest/gtest.h>

namespace {

QStringList LinesOf(const TRichEdit& edit)
{
    QStringList lines;
    for (int i = 0; i < edit.Lines.Count(); ++i) lines << edit.Lines[i];
    return lines;
}

TEST(RichEdit, AddedLinesEndInABreakAndLeaveTheCaretAtTheEnd)
{
    TRichEdit edit;
    EXPECT_EQ(edit.Lines.Count(), 0);
    edit.Lines.Add("12.5mm");
    edit.Lines.Add("");
    edit.Lines.Add("3'-3 3/8\"");
    EXPECT_EQ(edit.Lines.Count(), 3);
    EXPECT_EQ(edit.Text(), "12.5mm\n\n3'-3 3/8\"\n");
    EXPECT_EQ(edit.LineCount(), 4);
    // What the calculation relies on to select the last answer for bold.
    const int last = static_cast<int>(QString("3'-3 3/8\"").size());
    EXPECT_EQ(edit.SelStart(), edit.LastPosition());
    edit.SetSelStart(edit.SelStart() - last - 1);
    edit.SetSelLength(last);
    edit.SelAttributes.SetStyle(fsBold);
    EXPECT_EQ(edit.textCursor().selectedText(), "3'-3 3/8\"");
    EXPECT_EQ(edit.SelAttributes.Style(), TFontStyles(fsBold));
    edit.SetSelStart(0);
    edit.SetSelLength(1);
    EXPECT_EQ(edit.SelAttributes.Style(), TFontStyles(0));
}

TEST(RichEdit, LinesCanBeSetInsertedAndDeleted)
{
    TRichEdit edit;
    edit.SetText("a\r\nb\rc");
    EXPECT_EQ(LinesOf(edit), QStringList({"a", "b", "c"}));
    edit.Lines.Add("d");  // the text did not end in a break
    EXPECT_EQ(LinesOf(edit), QStringList({"a", "b", "c", "d"}));
    edit.Lines.Set(1, "TOTAL");
    edit.Lines.Set(9, "nowhere");
    edit.Lines.Insert(0, "first");
    EXPECT_EQ(LinesOf(edit), QStringList({"first", "a", "TOTAL", "c", "d"}));
    edit.Lines.Delete(1);
    edit.Lines.Delete(3);  // the last line keeps its break's place, so the count drops
    EXPECT_EQ(LinesOf(edit), QStringList({"first", "TOTAL", "c"}));
    EXPECT_EQ(edit.Lines[7], "");
    edit.Lines.Clear();
    EXPECT_EQ(edit.Lines.Count(), 0);
}

TEST(RichEdit, LineMessages)
{
    TRichEdit edit;
    edit.SetText("ab\ncde\n\nf");
    const struct {
        unsigned message;
        intptr_t wParam, lParam, answer;
    } rows[] = {
        {EM_GETLINECOUNT, 0, 0, 4},
        {EM_LINEINDEX, 1, 0, 3},
        {EM_LINEINDEX, 3, 0, 8},
        {EM_LINEINDEX, 4, 0, -1},
        {EM_EXLINEFROMCHAR, 0, 2, 0},   // the break belongs to its line
        {EM_EXLINEFROMCHAR, 0, 3, 1},
        {EM_EXLINEFROMCHAR, 0, 999, 3},
        {0x0400, 0, 0, 0},              // a message the control does not know
    };
    for (const auto& row : rows)
        EXPECT_EQ(edit.Perform(row.message, static_cast<uintptr_t>(row.wParam), row.lParam), row.answer)
            << std::hex << row.message << std::dec << " " << row.wParam << " " << row.lParam;
    edit.SetSelStart(5);
    EXPECT_EQ(edit.LineIndex(-1), 3);
    EXPECT_EQ(edit.LineFromChar(-1), 1);
}

TEST(RichEdit, AttributesApplyToTheSelectionOnly)
{
    TRichEdit edit;
    edit.SetText("ab cd");
    edit.SetSelStart(3);
    edit.SetSelLength(2);
    edit.SelAttributes.SetColor(clRed);
    edit.SelAttributes.SetStyle(fsItalic | fsUnderline);
    edit.SelAttributes.SetName("Courier New");
    edit.SelAttributes.SetSize(14);
    EXPECT_EQ(edit.SelAttributes.Color(), clRed);
    EXPECT_EQ(edit.SelAttributes.Style(), TFontStyles(fsItalic | fsUnderline));
    EXPECT_EQ(edit.SelAttributes.Name(), "Courier New");
    EXPECT_EQ(edit.SelAttributes.Size(), 14);
    edit.SetSelStart(1);
    edit.SetSelLength(1);
    EXPECT_NE(edit.SelAttributes.Color(), clRed);
    EXPECT_EQ(edit.SelAttributes.Style(), TFontStyles(0));
}

TEST(RichEdit, UpdatesShowTheLastSelectionOnce)
{
    TRichEdit edit;
    edit.SetText("one two");
    edit.SetSelStart(1);
    edit.BeginUpdate();
    edit.SetSelStart(4);
    edit.SetSelLength(3);
    edit.SelAttributes.SetColor(clBlue);
    EXPECT_EQ(edit.textCursor().position(), 1);  // the control itself has not moved yet
    EXPECT_EQ(edit.SelAttributes.Color(), clBlue);
    edit.EndUpdate();
    EXPECT_EQ(edit.SelStart(), 4);
    EXPECT_EQ(edit.SelLength(), 3);
    edit.EndUpdate();  // unbalanced: nothing happens
    EXPECT_EQ(edit.SelStart(), 4);
}

}  // namespace

// A long text is laid out a part at a time. Whatever comes before that is done (a key, an edit,
// the program sending the caret far down), the text must stay whole to the scroll bar and the view
// must follow the caret.
TEST(RichEdit, ALongTextIsWholeWhateverComesBeforeItIsLaidOut)
{
    const struct {
        const char* what;
        std::function<void(TRichEdit&)> act;
    } acts[] = {
        {"Ctrl+End", [](TRichEdit& e) { QTest::keyClick(&e, Qt::Key_End, Qt::ControlModifier); }},
        {"a key on line 2, Ctrl+End", [](TRichEdit& e) {
             e.SetSelStart(e.LineIndex(1));
             QTest::keyClick(&e, Qt::Key_5);
             QTest::keyClick(&e, Qt::Key_End, Qt::ControlModifier);
         }},
        {"a line set, the caret sent to the end", [](TRichEdit& e) {
             e.Lines.Set(1, "y = 2");
             e.SetSelStart(e.LastPosition());
         }},
        {"lines deleted, the caret sent to the end", [](TRichEdit& e) {
             QTextCursor cursor(e.document()->findBlockByNumber(10));
             cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 20);
             cursor.removeSelectedText();
             e.SetSelStart(e.LastPosition());
         }},
        {"a line laid out again alone (colours laid over it), the caret sent to the end", [](TRichEdit& e) {
             const QTextBlock line = e.document()->findBlockByNumber(3);
             e.document()->markContentsDirty(line.position(), line.length());
             e.SetSelStart(e.LastPosition());
         }},
        {"the end selected", [](TRichEdit& e) {
             e.SetSelStart(0);
             e.SetSelLength(e.LastPosition());
         }},
    };
    for (const auto& act : acts) {
        TRichEdit edit;
        edit.setLineWrapMode(QTextEdit::NoWrap);
        edit.resize(300, 200);
        edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // as the pad's panes, which share one
        edit.show();
        edit.SetText(QString("12' 6 1/2\" + 3' 4\"\n").repeated(40000));
        QCoreApplication::processEvents();  // the layout has begun, a step at a time
        act.act(edit);
        const QTextDocument* doc = edit.document();
        const QAbstractTextDocumentLayout* layout = doc->documentLayout();
        const QRectF first = layout->blockBoundingRect(doc->firstBlock());
        const QRectF last = layout->blockBoundingRect(doc->lastBlock());
        EXPECT_NEAR(last.top(), first.top() + (doc->blockCount() - 1) * first.height(), 1) << act.what;
        const int top = edit.verticalScrollBar()->value();
        EXPECT_GE(last.bottom(), top) << act.what;
        EXPECT_LE(last.bottom(), top + edit.viewport()->height() + first.height()) << act.what;
    }
}

// The control tells the user's edits, with the lines they touched, and only those: what the
// program writes and a key that changes nothing are no edits of the user.
TEST(RichEdit, TellsTheUsersEditsAndTheirLines)
{
    struct Told {
        int first, last;
        bool byMouse;
        bool operator==(const Told&) const = default;
    };
    const auto drop = [](TRichEdit& e, int line, const QString& text) {
        QMimeData data;
        data.setText(text);
        const QPoint at = e.cursorRect(QTextCursor(e.document()->findBlockByNumber(line))).topLeft() + QPoint(1, 1);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(e.viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(e.viewport(), &move);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(e.viewport(), &dropped);
    };
    const auto input = [](TRichEdit& e, const QString& commit, const QString& composing) {
        QInputMethodEvent event(composing, {});
        event.setCommitString(commit);
        QCoreApplication::sendEvent(&e, &event);
    };
    const struct {
        const char* what;
        std::function<void(TRichEdit&)> act;
        std::vector<Told> told;
    } rows[] = {
        {"a key on line 2", [](TRichEdit& e) { e.SetSelStart(e.LineIndex(1)); QTest::keyClick(&e, Qt::Key_X); },
         {{1, 1, false}}},
        {"Enter on line 1", [](TRichEdit& e) { e.SetSelStart(1); QTest::keyClick(&e, Qt::Key_Return); },
         {{0, 1, false}}},
        {"Backspace joining lines 2 and 3",
         [](TRichEdit& e) { e.SetSelStart(e.LineIndex(2)); QTest::keyClick(&e, Qt::Key_Backspace); }, {{1, 1, false}}},
        {"lines 1 to 3 typed over", [](TRichEdit& e) {
             e.SetSelStart(0);
             e.SetSelLength(e.LineIndex(2) + 1);
             QTest::keyClick(&e, Qt::Key_Z);
         }, {{0, 0, false}}},
        {"two lines dropped on line 3", [&](TRichEdit& e) { drop(e, 2, "7\n8\n"); }, {{2, 4, true}}},
        {"an input method's text on the last line", [&](TRichEdit& e) {
             e.SetSelStart(e.LastPosition());
             input(e, "7", "");
         }, {{3, 3, false}}},
        {"a key that changes nothing", [](TRichEdit& e) { QTest::keyClick(&e, Qt::Key_Right); }, {}},
        {"a line the program sets", [](TRichEdit& e) { e.Lines.Set(1, "q"); }, {}},
        {"a menu's cut with nothing to cut", [](TRichEdit& e) {
             e.SetSelStart(e.LineIndex(2));
             e.UserEdit([&e] { e.cut(); });
         }, {{2, 2, false}}},
        // Lines noted by a command's first change move down with the lines its next one adds above.
        {"a command's edits below, then above", [](TRichEdit& e) {
             e.UserEdit([&e] {
                 QTextCursor cursor(e.document());
                 cursor.setPosition(e.LineIndex(3));
                 cursor.insertText("x\n");
                 cursor.setPosition(0);
                 cursor.insertText("y\ny\n");
             });
         }, {{0, 6, false}}},
    };
    for (const auto& row : rows) {
        TRichEdit edit;
        edit.resize(300, 200);
        edit.show();
        edit.SetText("a\nbb\nccc\ndddd");
        std::vector<Told> told;
        edit.OnUserEdit = [&told](int first, int last, bool byMouse) { told.push_back({first, last, byMouse}); };
        row.act(edit);
        ASSERT_EQ(told.size(), row.told.size()) << row.what;
        for (size_t i = 0; i < told.size(); ++i) {
            EXPECT_EQ(told[i].first, row.told[i].first) << row.what;
            EXPECT_EQ(told[i].last, row.told[i].last) << row.what;
            EXPECT_EQ(told[i].byMouse, row.told[i].byMouse) << row.what;
        }
    }
}
