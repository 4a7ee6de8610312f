#include "app/WindowRunWatch.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

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
}

TWindowRunWatch::~TWindowRunWatch()
{
    if (running_) RunEnded();
    if (RunWatch() == this) SetRunWatch(nullptr);
    delete box_.data();
}

void TWindowRunWatch::RunStarted()
{
    running_ = true;
    stop_ = false;
    asked_ = 0;
    started_ = lastEvents_ = clock_();
    qApp->installEventFilter(this);
}

bool TWindowRunWatch::StopRequested()
{
    ++asked_;
    const long long now = clock_();
    if (!running_) return false;
    if (stop_) {
        // The run ends now: the box of its error is the next thing the user meets.
        if (box_) box_->hide();
        return true;
    }
    const bool showBox = now - started_ >= kBoxAfterMs && (!box_ || !box_->isVisible());
    if (showBox) ShowStopBox();
    if (showBox || now - lastEvents_ >= kEventsEveryMs) {
        lastEvents_ = now;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return stop_;
}

void TWindowRunWatch::RunEnded()
{
    qApp->removeEventFilter(this);
    running_ = false;
    stop_ = false;
    if (box_) box_->hide();
}

void TWindowRunWatch::ShowStopBox()
{
    if (!box_) {
        box_ = new QDialog(window_, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
        box_->setWindowTitle(QStringLiteral("Plumo Calculator"));
        auto* layout = new QVBoxLayout(box_);
        layout->addWidget(new QLabel(QStringLiteral("Calculating..."), box_));
        stopButton_ = new QPushButton(QStringLiteral("Stop"), box_);
        stopButton_->setDefault(true);
        layout->addWidget(stopButton_);
        QObject::connect(stopButton_, &QPushButton::clicked, this, [this] { stop_ = true; });
        // Escape or closing the box stops the run as well.
        QObject::connect(box_, &QDialog::rejected, this, [this] { stop_ = true; });
    }
    box_->show();
    box_->raise();
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

bool TWindowRunWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (!running_ || !IsInput(event->type()) || !InWindow(watched)) return QObject::eventFilter(watched, event);
    // The window itself takes no input while the program runs: no second calculation, no edit.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        stop_ = true;
    if (event->type() == QEvent::Close) {
        stop_ = true;  // closing the window stops the run first; the next close closes it
        event->ignore();
    }
    return true;
}
