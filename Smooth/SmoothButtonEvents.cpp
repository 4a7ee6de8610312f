// What the smooth button does with the mouse, the keys, focus and its accelerator. A click comes
// at every mouse-up, whichever button; the face shows pressed only while the mouse is inside.
#include "Smooth/SmoothButton.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcutEvent>
#include <QThread>

namespace {

TMouseButton ButtonOf(Qt::MouseButton b)
{
    return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

}  // namespace

void TSmoothButton::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (OnMouseDown)
        OnMouseDown(this, ButtonOf(event->button()), ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y());
    if (!isEnabled()) return;
    FDown = true;
    if (FTabStop) setFocus(Qt::MouseFocusReason);
    InvalidateCache();
}

void TSmoothButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (OnMouseUp)
        OnMouseUp(this, ButtonOf(event->button()), ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y());
    // The click's handler may close the window and delete the button with it.
    const QPointer<TSmoothButton> self(this);
    DoClick();
    if (!self || !isEnabled()) return;
    FDown = false;
    InvalidateCache();
}

void TSmoothButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a left double click is only the double-click event; its release still
    // clicks. Other buttons press as usual.
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    if (OnDblClick) OnDblClick(this);
}

void TSmoothButton::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (OnMouseMove) OnMouseMove(this, ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y());
    // While a button is held the window system may not report leaving; follow the pointer here.
    if (event->buttons() != Qt::NoButton) SetMouseInside(rect().contains(p));
}

void TSmoothButton::enterEvent(QEnterEvent*) { SetMouseInside(true); }

void TSmoothButton::leaveEvent(QEvent*) { SetMouseInside(false); }

void TSmoothButton::SetMouseInside(bool inside)
{
    if (inside == FMouseInside) return;
    FMouseInside = inside;
    if (!inside) FDown = false;
    if (inside && OnMouseEnter) OnMouseEnter(this);
    if (!inside && OnMouseLeave) OnMouseLeave(this);
    InvalidateCache();
}

void TSmoothButton::keyPressEvent(QKeyEvent* event)
{
    WORD key = VirtualKeyOf(*event);
    if (OnKeyDown) OnKeyDown(this, key, ShiftStateOf(event->modifiers()));
    if (OnKeyPress && !event->text().isEmpty()) {
        QChar c = event->text().at(0);
        OnKeyPress(this, c);
    }
    // Every key-down clicks, auto-repeated ones too.
    if (FTabStop && (key == VK_RETURN || key == VK_SPACE)) {
        DoClick();
        event->accept();
        return;
    }
    event->ignore();
}

void TSmoothButton::keyReleaseEvent(QKeyEvent* event)
{
    WORD key = VirtualKeyOf(*event);
    if (OnKeyUp) OnKeyUp(this, key, ShiftStateOf(event->modifiers()));
    event->ignore();
}

void TSmoothButton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    FFocused = true;
    if (OnEnter) OnEnter(this);
    InvalidateCache();
}

void TSmoothButton::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    FFocused = false;
    if (OnExit) OnExit(this);
    InvalidateCache();
}

void TSmoothButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) InvalidateCache();
    else if (event->type() == QEvent::FontChange) FollowParentFont();
}

bool TSmoothButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut && FShortcutId != 0 &&
        static_cast<QShortcutEvent*>(event)->shortcutId() == FShortcutId) {
        if (isEnabled() && isVisibleTo(window())) AcceleratorPress();
        return true;
    }
    return QWidget::event(event);
}

void TSmoothButton::AcceleratorPress()
{
    // The face shows pressed for a moment around the click, as if the button had been pushed.
    FDown = true;
    FAcceleratorDown = true;
    InvalidateCache();
    repaint();
    const QPointer<TSmoothButton> self(this);
    DoClick();
    if (!self) return;
    QThread::msleep(150);
    FDown = false;
    FAcceleratorDown = false;
    InvalidateCache();
    repaint();
}
