#pragma once
// The window's watch over a pad's run. While a program runs, the window stays alive but takes no
// input: the events waiting are let through each time the run asks whether to stop, so the
// window repaints, Escape in it stops the run, and a run that lasts more than a second shows a
// small box with a Stop button. Boxes the program itself raises (messages, questions) take their
// input as usual. A stopped run ends with the run-time error "stopped".
#include "calc/RunWatch.h"

#include <QDialog>
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
    void RunEnded() override;

    bool Running() const { return running_; }
    // The Stop box, made when a run first lasts long enough; null before.
    QDialog* StopBox() const { return box_; }
    QPushButton* StopButton() const { return stopButton_; }
    // How often the run asked, since it started.
    long long Asked() const { return asked_; }

    static constexpr long long kBoxAfterMs = 1000;  // a run this long shows the Stop box
    static constexpr long long kEventsEveryMs = 10;  // waiting events are let through this often

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowStopBox();
    bool InWindow(QObject* object) const;

    QWidget* window_;
    std::function<long long()> clock_;
    bool running_ = false;
    bool stop_ = false;
    long long started_ = 0;
    long long lastEvents_ = 0;
    long long asked_ = 0;
    QPointer<QDialog> box_;
    QPushButton* stopButton_ = nullptr;
};
