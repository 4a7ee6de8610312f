#pragma once
// The window's watch over a pad's run. While a program runs, the window stays alive but takes no
// input, and neither do the windows of its own open beside it (Find, Replace), which would
// otherwise edit the pad under the run and leave its answers beside lines they no longer belong
// to. The events waiting are let through each time the run asks whether to stop, so the windows
// repaint, Escape in them stops the run, and a run that goes on for more than a second of its own
// shows a small box with a Stop button. The time the program's boxes wait for the user is the
// user's and does not count; a program that shows boxes in a loop gets the Stop box beside its
// box at once. The program's boxes are modal to the window, as every box of the program is: what
// is typed goes to the box, and Escape answers the box. The Stop box is a window of its own that
// those boxes do not hold off. A stopped run ends with the run-time error "stopped"; a close of
// the window asked for during the run is kept for afterwards, while a side window stays open.
#include "macro/RunControl.h"

#include <QDialog>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QPushButton;
class QWidget;

class TWindowRunWatch : public QObject, public TRunWatch {
public:
    // window: the main window, which takes no input during a run. clock: milliseconds from any
    // start (a test gives its own).
    explicit TWindowRunWatch(QWidget* window, std::function<long long()> clock = {});
    ~TWindowRunWatch() override;

    void RunStarted() override;
    bool StopRequested() override;
    void UserWaits(bool again) override;
    void UserAnswered() override;
    void RunEnded() override;

    bool Running() const { return running_; }
    // The Stop box, made when a run first lasts long enough; null before.
    QDialog* StopBox() const { return box_; }
    QPushButton* StopButton() const { return stopButton_; }
    // How often the run asked, since it started.
    long long Asked() const { return asked_; }
    // The window was closed during the last run: true once, then false until the next such close.
    bool TakeCloseRequest() { return std::exchange(closeRequested_, false); }

    static constexpr long long kBoxAfterMs = 1000;  // a run this long (of its own time) shows the Stop box

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowStopBoxWhenDue();
    // Stops the run: the program's boxes open now are closed unanswered, so that the run meets
    // its next stop check at once.
    void Stop();
    // The object belongs to the window or to a window of its own held off with it.
    bool InWindow(QObject* object) const;
    bool IsRunBox(QObject* object) const;
    // The program's box open now, or null.
    QDialog* OpenRunBox() const;
    // Since the run started, less the time its boxes waited for the user.
    long long RunTime() const;

    QWidget* window_;
    std::function<long long()> clock_;
    bool running_ = false;
    bool stop_ = false;
    bool closeRequested_ = false;
    long long started_ = 0;
    long long asked_ = 0;
    int waiting_ = 0;             // boxes of the program waiting for the user
    long long waitStarted_ = 0;   // when the outermost of them began to wait
    bool loopOfBoxes_ = false;    // a box statement has shown its box a second time
    QPointer<QDialog> box_;
    QPushButton* stopButton_ = nullptr;
    QList<QPointer<QDialog>> runBoxes_;
    QList<QPointer<QWidget>> heldOff_;  // the window's own windows open when the run started
};
