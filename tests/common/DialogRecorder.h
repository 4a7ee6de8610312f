#pragma once
// Answers the program's dialogs in tests: every dialog is recorded, and answered from a queue of
// scripted answers, or with its default answer when the queue is empty. RunWithBox drives a real
// box instead, without ever letting a test wait on one.
#include "platform/vcl/DialogSeam.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class QWidget;

struct ScriptedAnswer {
    int result = 0;
    QStringList values;
    bool checked = false;
};

class DialogRecorder {
public:
    DialogRecorder();
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    // Queues the answer of the next unanswered dialog.
    void Answer(int result, QStringList values = {}, bool checked = false);

    std::vector<DialogCall> calls;

private:
    std::deque<ScriptedAnswer> answers_;
    DialogHandler previous_;
};

// Ends the test program, failed, when it is still alive `limit` after this was made: a loop that no
// timer can reach any more (it spins, or waits on a window that never came up) fails within
// seconds instead of hanging.
class Watchdog {
public:
    explicit Watchdog(std::chrono::milliseconds limit);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::string test_;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread thread_;  // last: it starts once the rest is ready
};

// The dialog window on the screen (a visible top-level QDialog), or null.
QWidget* ShownDialog();

// Calls `open`, which shows a real box and returns once the box is gone, and runs `script` on the
// box as soon as its own loop runs. A box that never comes up fails the test; one still open
// `limitMs` later (the script forgot it, or it does not end) fails the test and is closed, so a
// test fails within seconds instead of hanging; a box that no timer can reach ends the program
// (Watchdog) three times that late.
void RunWithBox(const std::function<void()>& open, const std::function<void(QWidget& box)>& script,
                int limitMs = 5000);
