#include "app/WindowRunWatch.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {

long long MonotonicMs()
{
    static QElapsedTimer timer;
    if (!timer.isValid()) timer.start();
    return timer.elapsed();
}

bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

}  // namespace

TWindowRunWatch::TWindowRunWatch(QWidget* window, std::function<long long()> clock)
    : window_(window), clock_(clock ? std::move(clock) : MonotonicMs)
{
    due_.setInterval(50);
    QObject::connect(&due_, &QTimer::timeout, this, [this] { ShowStopBoxWhenDue(); });
}

TWindowRunWatch::~TWindowRunWatch()
{
    if (running_) RunEnded();
    delete box_.data();
}

void TWindowRunWatch::RunStarted()
{
    running_ = true;
    stop_ = false;
    closeRequested_ = false;
    asked_ = 0;
    started_ = clock_();
    runBoxes_.clear();
    qApp->installEventFilter(this);
    due_.start();
}

bool TWindowRunWatch::StopRequested()
{
    ++asked_;
    if (!running_) return false;
    if (stop_) {
        // The run ends now: the box of its error is the next thing the user meets.
        if (box_) box_->hide();
        return true;
    }
    ShowStopBoxWhenDue();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return stop_;
}

void TWindowRunWatch::RunEnded()
{
    due_.stop();
    qApp->removeEventFilter(this);
    running_ = false;
    stop_ = false;
    runBoxes_.clear();
    if (box_) box_->hide();
}

void TWindowRunWatch::ShowStopBoxWhenDue()
{
    if (!running_ || stop_ || clock_() - started_ < kBoxAfterMs || (box_ && box_->isVisible())) return;
    if (!box_) {
        box_ = new QDialog(window_, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
        box_->setWindowTitle(QStringLiteral("Plumo Calculator"));
        auto* layout = new QVBoxLayout(box_);
        layout->addWidget(new QLabel(QStringLiteral("Calculating..."), box_));
        stopButton_ = new QPushButton(QStringLiteral("Stop"), box_);
        stopButton_->setDefault(true);
        layout->addWidget(stopButton_);
        QObject::connect(stopButton_, &QPushButton::clicked, this, [this] { Stop(); });
        // Escape or closing the box stops the run as well.
        QObject::connect(box_, &QDialog::rejected, this, [this] { Stop(); });
        // Beside the program's boxes, which come up in the middle of the window, not over them.
        box_->adjustSize();
        const QRect frame = window_->frameGeometry();
        box_->move(frame.right() - box_->width() - 24, frame.top() + 48);
    }
    box_->show();
    box_->raise();
}

void TWindowRunWatch::Stop()
{
    if (!running_ || stop_) return;
    stop_ = true;
    // Closed unanswered: a message as if by its button, a question as if cancelled.
    for (const QPointer<QDialog>& runBox : std::exchange(runBoxes_, {}))
        if (runBox && runBox->isVisible()) runBox->done(QDialog::Rejected);
}

bool TWindowRunWatch::InWindow(QObject* object) const
{
    if (auto* widget = qobject_cast<QWidget*>(object)) return widget->window() == window_;
    // Shortcuts go to the actions of the window's menus.
    if (auto* action = qobject_cast<QAction*>(object)) {
        for (QObject* w : action->associatedObjects())
            if (auto* widget = qobject_cast<QWidget*>(w); widget && widget->window() == window_) return true;
        return action->parent() == window_ || action->parent() == nullptr;
    }
    return false;
}

bool TWindowRunWatch::IsRunBox(QObject* object) const
{
    auto* dialog = qobject_cast<QDialog*>(object);
    return dialog && dialog->isWindow() && dialog != box_ && dialog->window() != window_;
}

bool TWindowRunWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (!running_) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Show && IsRunBox(watched)) {
        // A box of the program: its own modality would hold off the Stop box and the window's
        // close too, so it holds off nothing, and the window stays held off by this watch.
        auto* runBox = static_cast<QDialog*>(watched);
        if (QWindow* handle = runBox->windowHandle()) handle->setModality(Qt::NonModal);
        runBoxes_.append(runBox);
        return QObject::eventFilter(watched, event);
    }
    if (!IsInput(event->type()) || !InWindow(watched)) return QObject::eventFilter(watched, event);
    // The window itself takes no input while the program runs: no second calculation, no edit.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) Stop();
    if (event->type() == QEvent::Close) {
        // Closing the window stops the run first; the window is closed once the run has ended.
        closeRequested_ = true;
        Stop();
        event->ignore();
    }
    return true;
}
