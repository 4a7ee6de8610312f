#pragma once
// The main window as the user meets it: made, given settings of its own (a temporary folder for
// the calculation's program file, no recent files), shown on the offscreen platform, and driven
// with real key, mouse and wheel events.
#include "app/MainProg.h"
#include "config/Config.h"
#include "platform/vcl/RichEditScroll.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTest>
#include <QWheelEvent>
#include <array>
#include <memory>

class Window {
public:
    explicit Window(bool scientific = false)
    {
        form_ = std::make_unique<TfrmMainProg>();
        const AnsiString folder = UnicodeToWin1252(dir_.path()) + "/";
        Config->IniPath = folder + "settings.INI";
        Config->TempDir = folder;
        Config->MacroDir = folder;
        Config->ProjectDir = folder;
        Config->MRU.Clear();
        Config->Scientific = scientific;
        form_->show();
        QApplication::processEvents();
    }

    TfrmMainProg* operator->() const { return form_.get(); }
    TfrmMainProg& operator*() const { return *form_; }

    // Types text into the pad at the caret, key by key; '\n' presses Enter.
    void Type(const QString& text) const
    {
        for (const QChar ch : text) {
            if (ch == QLatin1Char('\n'))
                QTest::keyClick(form_->RichEdit_Main, Qt::Key_Return);
            else
                QTest::keyClicks(form_->RichEdit_Main, QString(ch));
        }
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QTest::keyClick(form_->RichEdit_Main, key, modifiers);
    }
    // One notch of the wheel over the pad: up for a positive delta.
    void Wheel(int delta) const
    {
        QWidget* viewport = form_->RichEdit_Main->viewport();
        const QPointF at(10, 10);
        QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &event);
    }
    // Puts a whole pad in at once (faster than typing it) and leaves the caret at its start.
    void SetPad(const QString& text) const
    {
        form_->RichEdit_Main->SetText(text);
        form_->RichEdit_Main->SetSelStart(0);
    }

    QStringList Pad() const { return Lines(form_->RichEdit_Main); }
    QStringList Answers() const { return Lines(form_->RichEdit_Result); }
    static QStringList Lines(TRichEdit* pane)
    {
        QStringList out;
        for (int i = 0; i < pane->Lines.Count(); ++i) out << pane->Lines[i];
        return out;
    }
    // The answers that are set in bold.
    QStringList BoldAnswers() const
    {
        QStringList out;
        TRichEdit* pane = form_->RichEdit_Result;
        for (int i = 0; i < pane->Lines.Count(); ++i) {
            if (pane->Lines[i].isEmpty()) continue;
            QTextCursor cursor(pane->document()->findBlockByNumber(i));
            cursor.movePosition(QTextCursor::NextCharacter);
            if (cursor.charFormat().fontWeight() >= QFont::Bold) out << pane->Lines[i];
        }
        return out;
    }
    // First visible line of the line numbers, the pad and the answers.
    std::array<int, 3> FirstLines() const
    {
        return {GetFirstVisibleLine(*form_->RichEdit_LineNo), GetFirstVisibleLine(*form_->RichEdit_Main),
                GetFirstVisibleLine(*form_->RichEdit_Result)};
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<TfrmMainProg> form_;
};
