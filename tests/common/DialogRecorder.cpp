#include "tests/common/DialogRecorder.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

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

QWidget* ShownDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog*>(w) && w->isVisible()) return w;
    return nullptr;
}

void RunWithBox(const std::function<void()>& open, const std::function<void(QWidget& box)>& script, int limitMs)
{
    // The timers belong to this call: none of them can fire into a later test.
    QObject scope;
    bool ran = false;
    QTimer::singleShot(0, &scope, [&] {
        QWidget* box = ShownDialog();
        if (!box) return;
        ran = true;
        script(*box);
    });
    QTimer limit;
    limit.setInterval(limitMs);
    QObject::connect(&limit, &QTimer::timeout, &scope, [] {
        if (QWidget* box = ShownDialog()) {
            ADD_FAILURE() << "box left open: " << box->windowTitle().toStdString();
            box->hide();
        }
    });
    limit.start();
    open();
    EXPECT_TRUE(ran) << "no box came up";
}
