#include "platform/vcl/StdCtrls.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextEdit>
#include <QWheelEvent>

// ---- TButton, TLabel, TEdit, TMemo ----

TButton::TButton(QWidget* parent, const QString& caption) : QPushButton(caption, parent)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        if (OnClick) OnClick(this);
    });
}

void TButton::Click()
{
    if (OnClick) OnClick(this);
}

TLabel::TLabel(QWidget* parent, const QString& caption) : QLabel(caption, parent) {}

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {}

void TEdit::keyPressEvent(QKeyEvent* event)
{
    if (AltKeyTypesNothing(*event)) {
        event->ignore();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent) {}

// ---- TComboBox ----

int TComboItems::Count() const { return owner_.count(); }

UnicodeString TComboItems::operator[](int index) const { return owner_.itemText(index); }

void TComboItems::Add(const QString& text) { owner_.addItem(text); }

void TComboItems::Clear() { owner_.clear(); }

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int) {
        if (OnChange) OnChange(this);
    });
}

void TComboBox::SetItemIndex(int index)
{
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

void TComboBox::Choose(int index)
{
    SetItemIndex(index);
    if (OnChange) OnChange(this);
}

// ---- TGroupBox ----

TGroupBox::TGroupBox(QWidget* parent, const QString& caption) : QGroupBox(caption, parent) {}

void TGroupBox::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    AlignControls(this);
}

// ---- TScrollBar ----

TScrollBar::TScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent)
{
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) { Action(action); });
    connect(this, &QAbstractSlider::sliderReleased, this, [this] { Scroll(scPosition, sliderPosition()); });
}

void TScrollBar::SetPosition(int position)
{
    setValue(position);
}

void TScrollBar::Action(int action)
{
    // Moving the thumb back below triggers another action; that one is ours, not the user's.
    if (inScroll_) return;
    TScrollCode code;
    switch (action) {
    case SliderSingleStepAdd: code = scLineDown; break;
    case SliderSingleStepSub: code = scLineUp; break;
    case SliderPageStepAdd: code = scPageDown; break;
    case SliderPageStepSub: code = scPageUp; break;
    case SliderToMinimum: code = scTop; break;
    case SliderToMaximum: code = scBottom; break;
    case SliderMove: code = scTrack; break;
    default: return;
    }
    // Qt has already moved the thumb to where this action leads; the handler sees that position
    // and may change it. The thumb ends where the handler leaves the position, whatever the
    // handler did to the scroll bar on the way.
    int position = sliderPosition();
    inScroll_ = true;
    if (OnScroll) OnScroll(this, code, position);
    if (position != sliderPosition()) setSliderPosition(position);
    inScroll_ = false;
}

void TScrollBar::Scroll(TScrollCode code, int position)
{
    if (inScroll_) return;
    position = std::clamp(position, minimum(), maximum());
    inScroll_ = true;
    if (OnScroll) OnScroll(this, code, position);
    setValue(position);
    inScroll_ = false;
}

// ---- TEditEvents ----

namespace {

// A key as its press and release both name it: the keyboard's scan code where the window system
// gives one (the key's text may change with the modifiers between press and release).
TMouseButton ButtonOf(const QMouseEvent& mouse)
{
    if (mouse.button() == Qt::RightButton) return mbRight;
    if (mouse.button() == Qt::MiddleButton) return mbMiddle;
    return mbLeft;
}

quint32 KeyIdentity(const QKeyEvent& key)
{
    return key.nativeScanCode() != 0 ? key.nativeScanCode() : 0x80000000u | static_cast<quint32>(key.key());
}

}  // namespace

TEditEvents::TEditEvents(QAbstractScrollArea* edit) : QObject(edit), edit_(edit)
{
    edit->installEventFilter(this);
    edit->viewport()->installEventFilter(this);
    if (auto* text = qobject_cast<QTextEdit*>(edit)) {
        const auto changed = [this] {
            if (OnSelectionChange) OnSelectionChange(edit_);
        };
        connect(text, &QTextEdit::cursorPositionChanged, this, changed);
        connect(text, &QTextEdit::selectionChanged, this, changed);
    }
}

bool TEditEvents::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (watched != edit_ || !OnKeyDown) break;
        auto* key = static_cast<QKeyEvent*>(event);
        keysDown_.insert(KeyIdentity(*key));
        WORD vk = VirtualKeyOf(*key);
        const WORD before = vk;
        OnKeyDown(edit_, vk, ShiftStateOf(key->modifiers()));
        if (before != 0 && vk == 0) return true;  // the handler kept the key from the pane
        break;
    }
    case QEvent::KeyRelease: {
        if (watched != edit_ || !OnKeyUp) break;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat()) break;
        if (!keysDown_.remove(KeyIdentity(*key))) break;
        WORD vk = VirtualKeyOf(*key);
        OnKeyUp(edit_, vk, ShiftStateOf(key->modifiers()));
        break;
    }
    case QEvent::FocusOut:
        // A key released elsewhere never comes back as a release here.
        if (watched == edit_) keysDown_.clear();
        break;
    case QEvent::MouseButtonPress: {
        if (watched != edit_->viewport() || !OnMouseDown) break;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        OnMouseDown(edit_, ButtonOf(*mouse), ShiftStateOf(mouse->modifiers(), mouse->buttons()), at.x(), at.y());
        break;
    }
    case QEvent::MouseButtonRelease: {
        if (watched != edit_->viewport() || !OnMouseUp) break;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const TMouseButton button = ButtonOf(*mouse);
        // Let the pane finish its own click (caret, selection) first, as the handler expects.
        edit_->viewport()->removeEventFilter(this);
        QCoreApplication::sendEvent(edit_->viewport(), event);
        edit_->viewport()->installEventFilter(this);
        const QPoint at = mouse->position().toPoint();
        OnMouseUp(edit_, button, ShiftStateOf(mouse->modifiers(), mouse->buttons()), at.x(), at.y());
        return true;
    }
    case QEvent::Wheel: {
        if (watched != edit_->viewport() || !OnMouseWheel) break;
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint angle = wheel->angleDelta();
        // A sideways turn scrolls the pane itself: its lines are not shared.
        if (angle.y() == 0) break;
        // A touchpad sends many small turns for one notch: the handler hears of whole notches.
        if ((wheelAngle_ < 0) != (angle.y() < 0)) wheelAngle_ = 0;
        wheelAngle_ += angle.y();
        while (wheelAngle_ >= 120 || wheelAngle_ <= -120) {
            const int notch = wheelAngle_ > 0 ? 120 : -120;
            wheelAngle_ -= notch;
            bool handled = false;
            OnMouseWheel(edit_, ShiftStateOf(wheel->modifiers(), wheel->buttons()), notch,
                         wheel->position().toPoint(), handled);
        }
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
