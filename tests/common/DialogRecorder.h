#pragma once
// Answers the program's dialogs in tests: every dialog is recorded, and answered from a queue of
// scripted answers, or with its default answer when the queue is empty.
#include "platform/vcl/DialogSeam.h"

#include <deque>
#include <vector>

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
