// Editing the pad as in any editor: every edit takes the answers away, undo and redo with the
// colours kept, the wheel of a touchpad, captions and the smallest window.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include "macro/MacroInput.h"
#include "platform/vcl/Dialogs.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

TColor ShownColour(const Window& w, int line, int column)
{
    return FromQColor(DisplayedFormat(*w->RichEdit_Main, w->RichEdit_Main->LineIndex(line) + column).foreground().color());
}

}  // namespace

TEST(WindowEdit, UndoAndRedoTakeBackEditsAndKeepTheColours)
{
    DialogRecorder dialogs;
    Window w;
    w.Type("x = 12\n");
    w->Btn_CalculateOnly->Click();
    w.Type("y = 3\n");
    w->BitBtn7->Click();  // the keypad's edits are edits like the others
    ASSERT_EQ(w.Pad(), (QStringList{"x = 12", "y = 3", "7"}));

    w.Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Pad(), (QStringList{"x = 12", "y = 3"}));
    w.Key(Qt::Key_Z, Qt::ControlModifier);
    w.Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Pad().value(0), "x = 12");
    EXPECT_EQ(w->RichEdit_Main->LineCount(), w->RichEdit_LineNo->LineCount());
    w.Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    w.Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.Pad().value(1), "y = 3");
    EXPECT_EQ(ShownColour(w, 1, 2), clPurple);
    EXPECT_EQ(ShownColour(w, 1, 4), clBlue);
    EXPECT_EQ(ShownColour(w, 0, 4), clBlue);
    EXPECT_EQ(w->RichEdit_Main->LineCount(), w->RichEdit_LineNo->LineCount());
    EXPECT_FALSE(w->PadUnchanged);
    EXPECT_TRUE(w.Answers().join("").isEmpty());  // an undo is an edit: old answers go
}

// Whatever makes an edit, the answers beside the pad go and the pad counts as edited: an answer
// left standing beside a changed line would be read, copied and printed as that line's.
TEST(WindowEdit, EveryKindOfEditTakesTheAnswersAway)
{
    using Step = std::function<void(Window&)>;
    const auto select = [](Window& w, int start, int length) {
        w->RichEdit_Main->SetSelStart(start);
        w->RichEdit_Main->SetSelLength(length);
    };
    const auto replace = [](Window& w, QPushButton* (TReplaceDialog::*button)() const) {
        w->Replace1->Click();
        w->ReplaceDialog->FindEdit()->setText("10");
        w->ReplaceDialog->ReplaceEdit()->setText("11");
        (w->ReplaceDialog->*button)()->click();
    };
    const struct {
        const char* name;
        Step before;  // before the calculation
        Step edit;
        const char* line;  // the pad's first line after the edit
    } rows[] = {
        {"a key", {}, [](Window& w) { w.Type("2"); }, "2^102"},
        {"the keypad", {}, [](Window& w) { w->BitBtn2->Click(); }, "2^102"},
        {"<X|", {}, [](Window& w) { w->BitBtnBackspace->Click(); }, "2^1"},
        {"a function button", {}, [](Window& w) { w->Btn_Sqrt->Click(); }, "2^10sqrt()"},
        {"the surrounding brackets", {}, [](Window& w) { w->BitBtnPairBrackets->Click(); }, "(2^10)"},
        {"a snippet", {}, [](Window& w) { w->Cmb_Conditional->Choose(11); }, "2^10not()"},
        {"Cut", {}, [&](Window& w) { select(w, 2, 2); w->Cut1->Click(); }, "2^"},
        {"Paste", {}, [](Window& w) { QGuiApplication::clipboard()->setText("3"); w->Paste1->Click(); }, "2^103"},
        {"a drop", {}, [](Window& w) {
             QMimeData data;
             data.setText("4");
             const QPoint at = w->RichEdit_Main->cursorRect().center();
             QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QCoreApplication::sendEvent(w->RichEdit_Main->viewport(), &enter);
             QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QCoreApplication::sendEvent(w->RichEdit_Main->viewport(), &drop);
         }, "2^104"},
        {"Replace", {}, [&](Window& w) { select(w, 2, 2); replace(w, &TReplaceDialog::ReplaceButton); }, "2^11"},
        {"Replace All", {}, [&](Window& w) { select(w, 0, 0); replace(w, &TReplaceDialog::ReplaceAllButton); }, "2^11"},
        {"undo", {}, [](Window& w) { w.Key(Qt::Key_Z, Qt::ControlModifier); }, ""},
        // A pad ending in a blank line keeps what there is to redo through the calculation.
        {"redo", [](Window& w) { w.Type("\n"); w->BitBtn5->Click(); w.Key(Qt::Key_Z, Qt::ControlModifier); },
         [](Window& w) { w.Key(Qt::Key_Y, Qt::ControlModifier); }, ""},
    };
    for (const auto& row : rows) {
        DialogRecorder dialogs;
        Window w;
        w.Type("2^10");
        if (row.before) row.before(w);
        w->Btn_CalculateOnly->Click();
        ASSERT_EQ(w.Answers().value(0), "1024") << row.name;
        w->PadUnchanged = true;
        w->RichEdit_Main->SetSelStart(4);  // behind 2^10
        const QString before = w->RichEdit_Main->Text();
        row.edit(w);
        if (*row.line) {
            EXPECT_EQ(w.Pad().value(0), row.line) << row.name;
        }
        EXPECT_NE(w->RichEdit_Main->Text(), before) << row.name << ": nothing was edited";
        EXPECT_TRUE(w.Answers().join("").isEmpty()) << row.name << ": " << w.Answers().join('|').toStdString();
        EXPECT_FALSE(w->PadUnchanged) << row.name;
        w->CopyAll1->Click();
        EXPECT_FALSE(QGuiApplication::clipboard()->text().contains("1024")) << row.name;
    }
}

TEST(WindowEdit, ASelectionSurvivesTheColouring)
{
    Window w;
    w.Type("a = 1 + 2");
    w.Key(Qt::Key_Left, Qt::ShiftModifier);
    w.Key(Qt::Key_Left, Qt::ShiftModifier);
    w.Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(w->RichEdit_Main->SelLength(), 3);
    w.Type("4");  // replaces the selection and colours the line
    EXPECT_EQ(w.Pad(), QStringList{"a = 1 4"});
    EXPECT_EQ(ShownColour(w, 0, 6), clBlue);
}

TEST(WindowEdit, CaptionsReadAsTheyShow)
{
    DialogRecorder dialogs;
    Window w;
    w->BitBtnHelp->Click();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    // The legend names the button as its hint does (the button shows a picture).
    const QString shown = QStringLiteral("= Run & Total");
    EXPECT_TRUE(w->Btn_CalculateAndTotal->toolTip().startsWith(shown));
    EXPECT_TRUE(dialogs.calls[0].text.contains("'" + shown + "'"));
    EXPECT_FALSE(dialogs.calls[0].text.contains("&&"));
    // The separator below Exit is a line, not an item reading "-".
    EXPECT_TRUE(w->N2->Action()->isSeparator());
    EXPECT_TRUE(w->N2->Action()->text().isEmpty());
    EXPECT_EQ(w->N2->Caption(), "-");
    // It shows below Exit even while no recent file follows it.
    EXPECT_FALSE(w->File1->Action()->menu()->separatorsCollapsible());
}

namespace {

// Every control that shows lies whole inside the window's client area.
void ExpectEveryControlWhole(const Window& w, const char* when)
{
    const QRect client(QPoint(0, 0), w->Client()->size());
    for (QWidget* control : w->Client()->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(w->Client()) || control->isWindow()) continue;
        const QRect at(control->mapTo(w->Client(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(client.contains(at)) << when << ": " << control->metaObject()->className() << " "
                                         << control->objectName().toStdString() << " at " << at.x() << ","
                                         << at.y() << " " << at.width() << "x" << at.height();
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text().replace("&&", "&")),
                      button->width())
                << when << ": caption cut " << button->text().toStdString();
        }
    }
}

}  // namespace

TEST(WindowEdit, TheWindowKeepsEveryControlWhole)
{
    for (bool scientific : {false, true}) {
        Window w(scientific);
        const char* when = scientific ? "scientific" : "plain";
        w->resize(800, 600);
        QApplication::processEvents();
        w->RichEdit_Main->SetSelStart(0);  // a click lays the panes out again
        EXPECT_GE(w->width(), w->minimumWidth()) << when;
        ExpectEveryControlWhole(w, when);
        w->resize(200, 150);
        QApplication::processEvents();
        ExpectEveryControlWhole(w, when);
        EXPECT_GE(w->VisibleLineCount(), 3) << when;
    }
}

namespace {

void Turn(QWidget* viewport, QPoint angle)
{
    const QPointF at(10, 10);
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &event);
}

}  // namespace

TEST(WindowEdit, TheWheelScrollsALinePerNotchHoweverFinelyItTurns)
{
    DialogRecorder dialogs;
    Window w;
    QStringList pad;
    for (int i = 1; i <= 100; ++i) pad << QString::number(i) + " + 1000000000000000000000000000000000000000000000000000000000000000000000";
    w.SetPad(pad.join('\n'));
    w->Btn_CalculateOnly->Click();
    w->ScrollBar1->Scroll(scTop, 0);
    QWidget* viewport = w->RichEdit_Main->viewport();
    const struct {
        const char* name;
        std::vector<int> turns;
        int first;
    } cases[] = {
        {"a notch in 15 pieces", std::vector<int>(15, -8), 1},
        {"two notches at once", {-240}, 3},
        {"half a notch", {-60}, 3},
        {"the other half", {-60}, 4},
        {"half down, then up", {-60, 120}, 3},
        {"a touchpad's back and forth", {-30, 30, -30, 30}, 3},
    };
    for (const auto& c : cases) {
        for (int turn : c.turns) Turn(viewport, QPoint(0, turn));
        EXPECT_EQ(w.FirstLines()[1], c.first) << c.name;
        const auto lines = w.FirstLines();
        EXPECT_EQ(lines[0], lines[1]) << c.name;
        EXPECT_EQ(lines[2], lines[1]) << c.name;
    }
    // Sideways the pad scrolls on its own, showing the ends of long lines.
    w->RichEdit_Main->resize(200, w->RichEdit_Main->height());
    Turn(viewport, QPoint(-240, 0));
    EXPECT_GT(w->RichEdit_Main->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(w.FirstLines()[1], 3);
}

// Alt with a key belongs to the menus and the buttons: it types nothing into the pad, its date and
// description or the find and replace fields, and the pad stays as it was with its answers. A
// character typed with AltGr types: X11 reports it as a group switch without Alt, another desktop
// as Ctrl+Alt.
TEST(WindowEdit, AltWithAKeyTypesNothingButAltGrTypesTable)
{
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* text;  // as the keyboard sends it
        bool types;
    } keys[] = {
        {"Alt+F", Qt::Key_F, Qt::AltModifier, "f", false},
        {"Alt+E", Qt::Key_E, Qt::AltModifier, "e", false},
        {"Alt+Shift+H", Qt::Key_H, Qt::AltModifier | Qt::ShiftModifier, "H", false},
        {"Alt+1", Qt::Key_1, Qt::AltModifier, "1", false},
        {"Alt+Space", Qt::Key_Space, Qt::AltModifier, " ", false},
        {"AltGr+Q", Qt::Key_At, Qt::GroupSwitchModifier, "@", true},
        {"AltGr+Q as Ctrl+Alt", Qt::Key_At, Qt::ControlModifier | Qt::AltModifier, "@", true},
    };
    const struct {
        const char* name;
        std::function<QWidget*(Window&)> field;
    } fields[] = {
        {"the pad", [](Window& w) { return w->RichEdit_Main; }},
        {"the date", [](Window& w) { return w->Edit_Date; }},
        {"the description", [](Window& w) { return w->Edit_Description; }},
        {"Find's text", [](Window& w) {
             w->Find1->Click();
             return w->FindDialog->FindEdit();
         }},
        {"Replace's find text", [](Window& w) {
             w->Replace1->Click();
             return w->ReplaceDialog->FindEdit();
         }},
        {"Replace's new text", [](Window& w) {
             w->Replace1->Click();
             return w->ReplaceDialog->ReplaceEdit();
         }},
        {"the ask box's field", [](Window&) { return MacroInputForm()->Edit1; }},
    };
    const auto textOf = [](QWidget* field) {
        if (auto* line = qobject_cast<QLineEdit*>(field)) return line->text();
        return static_cast<QTextEdit*>(field)->toPlainText();
    };
    for (const auto& f : fields) {
        DialogRecorder dialogs;
        Window w;
        w.Type("12 + 3");
        w->Btn_CalculateOnly->Click();
        w->PadUnchanged = true;
        QWidget* field = f.field(w);
        for (const auto& k : keys) {
            SCOPED_TRACE(std::string(f.name) + ", " + k.name);
            const QString before = textOf(field);
            const QStringList answers = w.Answers();
            const bool unchanged = w->PadUnchanged;
            QTest::sendKeyEvent(QTest::Click, field, k.key, QString::fromUtf8(k.text), k.modifiers);
            if (k.types) {
                EXPECT_EQ(textOf(field).size(), before.size() + 1) << textOf(field).toStdString();
                EXPECT_TRUE(textOf(field).contains(QString::fromUtf8(k.text)));
            } else {
                EXPECT_EQ(textOf(field).toStdString(), before.toStdString());
                EXPECT_EQ(w.Answers(), answers);
                EXPECT_EQ(w->PadUnchanged, unchanged);
            }
        }
        EXPECT_EQ(w.Answers().value(0), field == w->RichEdit_Main ? "" : "15");
    }
}
