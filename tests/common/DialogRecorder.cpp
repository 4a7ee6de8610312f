#include "tests/common/DialogRecorder.h"

DialogRecorder::DialogRecorder()
{
    previous_ = SetDialogHandler([this](DialogCall& call) {
        if (!answers_.empty()) {
            call.result = answers_.front().result;
            call.values = answers_.front().values;
            call.checked = answers_.front().checked;
            answers_.pop_front();
        }
        calls.push_back(call);
    });
}

DialogRecorder::~DialogRecorder() { SetDialogHandler(previous_); }

void DialogRecorder::Answer(int result, QStringList values, bool checked)
{
    answers_.push_back({result, std::move(values), checked});
}
