#pragma once
// The window's watch over a pad's run. While a program runs, the window stays alive but takes no
// input: the events waiting are let through each time the run asks whether to stop, so the
// window repaints, Escape in it stops the run, and a run that lasts more than a second shows a
// small box with a Stop button. Boxes the program itself raises (messages, questions) take their
// input as usual, but hold off nothing else: the window is held off by this watch, so the Stop box
// and the window's close stay within reach while the program's boxes come and go. A stopped run
// ends with the run-time error "stopped"; a close asked for during the run is kept for afterwards.
#include "macro/RunControl.h"

#include <QDialog>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
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
    void RunEnded() override;

    bool Running() const { return running_; }
    // The Stop box, made when a run first lasts long enough; null before.
    QDialog* StopBox() const { return box_; }
    QPushButton* StopButton() const { return stopButton_; }
    // How often the run asked, since it started.
    long long Asked() const { return asked_; }
    // The window was closed during the last run: true once, then false until the next such close.
    bool TakeCloseRequest() { return std::exchange(closeRequested_, false); }

    static constexpr long long kBoxAfterMs = 1000;  // a run this long shows the Stop box

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowStopBoxWhenDue();
    // Stops the run: the program's boxes open now are closed unanswered, so that the run meets
    // its next stop check at once.
    void Stop();
    bool InWindow(QObject* object) const;
    bool IsRunBox(QObject* object) const;

    QWidget* window_;
    std::function<long long()> clock_;
    bool running_ = false;
    bool stop_ = false;
    bool closeRequested_ = false;
    long long started_ = 0;
    long long asked_ = 0;
    QPointer<QDialog> box_;
    QPushButton* stopButton_ = nullptr;
    // While a program's box waits for its answer, the run asks nothing: the box is due all the same.
    QTimer due_;
    QList<QPointer<QDialog>> runBoxes_;
};
