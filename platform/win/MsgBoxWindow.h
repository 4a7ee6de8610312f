#pragma once
// The message box's window: what its dialog procedure does with each message. Fonts, position,
// the time-out countdown on the default button, the disabled countdown in the title, Escape and
// the close box, Help and Report, the check box's bit, and Ctrl+C copying the box as text. The
// window is built from the box's plan (ExtMessageBoxPlan.h) alone.
#include "platform/win/ExtMessageBoxPlan.h"

#include <QTimer>
#include <functional>

// Opens the program's help file; tests put their own in place. Returns the one it replaces.
using ExtHelpOpener = std::function<void(const QString& path, int context)>;
ExtHelpOpener SetExtMessageBoxHelpOpener(ExtHelpOpener opener);

class MsgBoxWindow : public TemplateDialog {
public:
    static constexpr int TimeoutTimer = 1;
    static constexpr int DisabledTimer = 2;
    static constexpr int MaxClipboardText = 8192;

    MsgBoxWindow(const ExtBoxPlan& plan, QWidget* parent);

    // Shows the box over its owner's window, holding that window off, and runs it until it is
    // answered; the answer, or 0 when the box went away unanswered (a quit request, which is
    // passed on, or the window closed or destroyed from outside).
    static int Run(const ExtBoxPlan& plan, QWidget* owner);

    // The dialog procedure's messages.
    void InitDialog();
    void Timer(int id);        // one second of a countdown
    void Command(unsigned id) override;
    void LButtonDown();        // a click anywhere in the box
    bool OnKeyDown(int key, Qt::KeyboardModifiers modifiers);  // true: the key is used up
    // Where the position rules put the box, kept whole on a screen.
    void Position();

    // The box as Ctrl+C puts it on the clipboard.
    QString ClipboardText() const;
    // Whether the title bar offers to close the box (the system menu's Close item).
    bool CloseEnabled() const { return closeEnabled_; }
    bool TimeoutRunning() const { return timeout_.isActive(); }

    bool Closed() const { return closed_; }  // the window went away without an answer
    bool Answered() const { return ended_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void reject() override;

private:
    void End(int answer);
    void StopTimeout();
    void SetCloseEnabled(bool enabled);
    QWidget* Button(int id) const;

    const ExtBoxPlan plan_;
    // While Run waits for it: the loop to leave, and the answer, which outlives the window.
    struct Waiting;
    Waiting* waiting_ = nullptr;
    QTimer timeout_, disabled_;
    int timeoutLeft_ = 0, disabledLeft_ = 0;
    QString savedDefaultCaption_;
    bool ended_ = false;
    bool closeEnabled_ = true;
    bool closed_ = false;
};
