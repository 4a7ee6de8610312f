#include "app/WindowRunWatch.h"

#include "platform/vcl/Forms.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
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
    case QEvent::InputMethod:  // what an input method types, which comes without its keys
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
    delete box_.data();
}

void TWindowRunWatch::RunStarted()
{
    running_ = true;
    stop_ = false;
    closeRequested_ = false;
    asked_ = 0;
    started_ = clock_();
    waiting_ = 0;
    loopOfBoxes_ = false;
    runBoxes_.clear();
    // The window's own windows open now (Find, Replace) are held off with it; what the run shows
    // from here on is the program's.
    heldOff_.clear();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top == window_ || !top->isVisible()) continue;
        for (QWidget* owner = top->parentWidget(); owner; owner = owner->parentWidget())
            if (owner == window_) {
                heldOff_.append(top);
                break;
            }
    }
    qApp->installEventFilter(this);
}

bool TWindowRunWatch::StopRequested()
{
    ++asked_;
    if (!running_) return false;
    if (stop_) return true;
    ShowStopBoxWhenDue();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return stop_;
}

void TWindowRunWatch::UserWaits(bool again)
{
    if (waiting_++ == 0) waitStarted_ = clock_();
    // A program showing boxes in a loop spends its time in them: its Stop comes with the box.
    if (again) loopOfBoxes_ = true;
    ShowStopBoxWhenDue();
}

void TWindowRunWatch::UserAnswered()
{
    if (waiting_ > 0 && --waiting_ == 0) started_ += clock_() - waitStarted_;
}

void TWindowRunWatch::RunEnded()
{
    qApp->removeEventFilter(this);
    running_ = false;
    stop_ = false;
    waiting_ = 0;
    runBoxes_.clear();
    heldOff_.clear();
    if (box_) box_->hide();
}

long long TWindowRunWatch::RunTime() const
{
    const long long now = clock_();
    return now - started_ - (waiting_ > 0 ? now - waitStarted_ : 0);
}

void TWindowRunWatch::ShowStopBoxWhenDue()
{
    if (!running_ || stop_ || (box_ && box_->isVisible())) return;
    if (!loopOfBoxes_ && (waiting_ > 0 || RunTime() < kBoxAfterMs)) return;
    if (!box_) {
        // A window of its own: the program's boxes hold off the window and what belongs to it,
        // and the Stop button must stay within reach beside them. Belonging to no window, it is
        // kept in sight above them all (a desktop raises a window together with its boxes). It
        // never takes the keyboard, which stays with the program's boxes.
        box_ = new QDialog(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint |
                                        Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint);
        box_->setAttribute(Qt::WA_QuitOnClose, false);
        box_->setAttribute(Qt::WA_ShowWithoutActivating);
        box_->setWindowTitle(QStringLiteral("Plumo Calculator"));
        auto* layout = new QVBoxLayout(box_);
        layout->addWidget(new QLabel(QStringLiteral("Calculating..."), box_));
        stopButton_ = new QPushButton(QStringLiteral("Stop"), box_);
        stopButton_->setDefault(true);
        layout->addWidget(stopButton_);
        QObject::connect(stopButton_, &QPushButton::clicked, this, [this] { Stop(); });
        // Rejected (Escape, were it ever to have the keyboard), it stops the run as well.
        QObject::connect(box_, &QDialog::rejected, this, [this] { Stop(); });
        box_->adjustSize();
    }
    // Beside the program's boxes, which come up in the middle of the window, not over them;
    // belonging to no window, it is placed anew wherever the window is now.
    const QRect frame = window_->frameGeometry();
    box_->move(frame.right() - box_->width() - 24, frame.top() + 48);
    box_->show();
    box_->raise();
}

void TWindowRunWatch::Stop()
{
    if (!running_ || stop_) return;
    stop_ = true;
    // Out of the way at once: the run's report that it stopped comes next.
    if (box_) box_->hide();
    // Closed unanswered: a message as if by its button, a question as if cancelled.
    for (const QPointer<QDialog>& runBox : std::exchange(runBoxes_, {}))
        if (runBox && runBox->isVisible()) runBox->done(QDialog::Rejected);
}

bool TWindowRunWatch::InWindow(QObject* object) const
{
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        QWidget* top = widget->window();
        return top == window_ || heldOff_.contains(top);
    }
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
    // The window's own windows held off with it (Find, Replace) are not the program's, even when
    // they are shown again during the run (restored from minimised).
    auto* dialog = qobject_cast<QDialog*>(object);
    return dialog && dialog->isWindow() && dialog != box_ && dialog->window() != window_ &&
           !heldOff_.contains(dialog);
}

QDialog* TWindowRunWatch::OpenRunBox() const
{
    for (auto it = runBoxes_.crbegin(); it != runBoxes_.crend(); ++it)
        if (*it && (*it)->isVisible()) return *it;
    return nullptr;
}

bool TWindowRunWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (!running_) return QObject::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type == QEvent::Show && IsRunBox(watched)) {
        // A box of the program holds off the window (and so whatever belongs to it), never the
        // Stop box, which belongs to nothing.
        auto* runBox = static_cast<QDialog*>(watched);
        if (QWindow* handle = runBox->windowHandle()) {
            if (!handle->transientParent()) handle->setTransientParent(window_->windowHandle());
            handle->setModality(Qt::WindowModal);
        }
        runBoxes_.append(runBox);
        return QObject::eventFilter(watched, event);
    }
    // The window activated over the box (by a click, say) leaves the Stop box in sight.
    if (type == QEvent::WindowActivate && watched == window_ && box_ && box_->isVisible())
        QTimer::singleShot(0, box_, [box = box_] { box->raise(); });
    if (!IsInput(type) || !InWindow(watched)) return QObject::eventFilter(watched, event);
    if (QDialog* open = OpenRunBox()) {
        // What reaches the window while a box of the program is open is the box's: keys go to it
        // (Escape answers the box, it does not stop the run), a click gives it the keyboard back.
        if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            QKeyEvent copy(type, key->key(), key->modifiers(), key->text(), key->isAutoRepeat(), key->count());
            QApplication::sendEvent(open->focusWidget() ? open->focusWidget() : open, &copy);
        } else if (type == QEvent::ShortcutOverride) {
            event->accept();  // no shortcut of the window: the key press follows, for the box
        } else if (type == QEvent::MouseButtonPress) {
            ActivationReturn::GiveBack(open);
        }
    } else if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // The window itself takes no input while the program runs: no second calculation, no edit.
        Stop();
    }
    if (type == QEvent::Close) {
        // Closing the window stops the run first; the window is closed once the run has ended. A
        // side window stays open: its close would act on the pad.
        if (watched == window_) {
            closeRequested_ = true;
            Stop();
        }
        event->ignore();
    }
    return true;
}
