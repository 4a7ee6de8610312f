#include "tests/common/DialogRecorder.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
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

Watchdog::Watchdog(std::chrono::milliseconds limit)
    : test_(::testing::UnitTest::GetInstance()->current_test_info()
                ? ::testing::UnitTest::GetInstance()->current_test_info()->name()
                : ""),
      thread_([this, limit] {
          std::unique_lock lock(mutex_);
          if (ended_.wait_for(lock, limit, [this] { return done_; })) return;
          std::fprintf(stderr, "%s: still running after %lld ms; the test program ends here, failed\n",
                       test_.c_str(), static_cast<long long>(limit.count()));
          std::_Exit(1);
      })
{
}

Watchdog::~Watchdog()
{
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
    }
    ended_.notify_one();
    thread_.join();
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
    const Watchdog watchdog(std::chrono::milliseconds(3 * limitMs));
    open();
    EXPECT_TRUE(ran) << "no box came up";
}
