#include "platform/vcl/Controls.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QShowEvent>
#include <QMenuBar>
#include <algorithm>
#include <vector>

namespace {

const char* const kAlignProperty = "plumoAlign";
const char* const kOrderProperty = "plumoAlignOrder";

// Each new alignment gets a later number, so it lies inside those given before it.
qint64 nextAlignOrder = 0;

struct KeyMap {
    int qtKey;
    WORD vk;
};

const KeyMap kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},  {Qt::Key_Enter, VK_RETURN},    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},       {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},    {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},        {Qt::Key_Home, VK_HOME},       {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},          {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},  {Qt::Key_Delete, VK_DELETE},
};

std::vector<QWidget*> AlignedChildren(QWidget* container, TAlign align)
{
    std::vector<QWidget*> result;
    for (QObject* object : container->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow() || child->isHidden() || AlignOf(child) != align) continue;
        result.push_back(child);
    }
    std::stable_sort(result.begin(), result.end(), [](const QWidget* a, const QWidget* b) {
        return a->property(kOrderProperty).toLongLong() < b->property(kOrderProperty).toLongLong();
    });
    return result;
}

bool HasAlignedChildren(const QWidget* container)
{
    for (const QObject* object : container->children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (child && AlignOf(child) != alNone) return true;
    }
    return false;
}

void Place(QWidget* child, int x, int y, int w, int h)
{
    const QRect rect(x, y, std::max(w, 0), std::max(h, 0));
    if (child->geometry() == rect) return;
    const bool resized = child->size() != rect.size();
    child->setGeometry(rect);
    if (resized && HasAlignedChildren(child)) AlignControls(child);
}

void AlignParent(QWidget* control)
{
    if (QWidget* parent = control->parentWidget()) AlignControls(parent);
}

}  // namespace

WORD VirtualKeyOf(const QKeyEvent& event)
{
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<WORD>(key);
    for (const KeyMap& entry : kKeys)
        if (entry.qtKey == key) return entry.vk;
    return 0;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ssShift;
    if (modifiers & Qt::AltModifier) shift |= ssAlt;
    if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
    if (buttons & Qt::LeftButton) shift |= ssLeft;
    if (buttons & Qt::RightButton) shift |= ssRight;
    if (buttons & Qt::MiddleButton) shift |= ssMiddle;
    return shift;
}

bool AltKeyTypesNothing(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return (modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) && !event.text().isEmpty();
}

int GetAsyncKeyState(int key)
{
    bool down = false;
    switch (key) {
    case VK_LBUTTON: down = QGuiApplication::mouseButtons() & Qt::LeftButton; break;
    case VK_SHIFT: down = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier; break;
    case VK_CONTROL: down = QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier; break;
    case VK_MENU: down = QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier; break;
    default: break;
    }
    return down ? 0x8000 : 0;
}

void SetAlign(QWidget* control, TAlign align)
{
    control->setProperty(kAlignProperty, static_cast<int>(align));
    control->setProperty(kOrderProperty, ++nextAlignOrder);
    AlignParent(control);
}

TAlign AlignOf(const QWidget* control)
{
    const QVariant value = control->property(kAlignProperty);
    return value.isValid() ? static_cast<TAlign>(value.toInt()) : alNone;
}

void AlignControls(QWidget* container)
{
    const QRect area = container->contentsRect();
    int left = area.x();
    int top = area.y();
    int right = area.x() + area.width();
    int bottom = area.y() + area.height();
    for (QWidget* c : AlignedChildren(container, alTop)) {
        Place(c, left, top, right - left, c->height());
        top += c->height();
    }
    for (QWidget* c : AlignedChildren(container, alBottom)) {
        Place(c, left, bottom - c->height(), right - left, c->height());
        bottom -= c->height();
    }
    for (QWidget* c : AlignedChildren(container, alLeft)) {
        Place(c, left, top, c->width(), bottom - top);
        left += c->width();
    }
    for (QWidget* c : AlignedChildren(container, alRight)) {
        Place(c, right - c->width(), top, c->width(), bottom - top);
        right -= c->width();
    }
    for (QWidget* c : AlignedChildren(container, alClient)) Place(c, left, top, right - left, bottom - top);
}

void SetBounds(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(left, top, std::max(width, 0), std::max(height, 0));
    if (HasAlignedChildren(control)) AlignControls(control);
    AlignParent(control);
}

void SetLeft(QWidget* control, int left) { SetBounds(control, left, control->y(), control->width(), control->height()); }
void SetTop(QWidget* control, int top) { SetBounds(control, control->x(), top, control->width(), control->height()); }
void SetWidth(QWidget* control, int width) { SetBounds(control, control->x(), control->y(), width, control->height()); }
void SetHeight(QWidget* control, int height) { SetBounds(control, control->x(), control->y(), control->width(), height); }

void SetVisible(QWidget* control, bool visible)
{
    control->setVisible(visible);
    AlignParent(control);
}

bool IsVisible(const QWidget* control) { return !control->isHidden(); }

// ---- TAlignArea ----

TAlignArea::TAlignArea(QWidget* parent) : QWidget(parent) {}

void TAlignArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    AlignControls(this);
}

// ---- TForm ----

TForm::TForm(QWidget* parent) : QMainWindow(parent), client_(new TAlignArea(this))
{
    setCentralWidget(client_);
}

int TForm::ClientWidth() const { return client_->width(); }
int TForm::ClientHeight() const { return client_->height(); }

void TForm::SetClientSize(int width, int height)
{
    const int menuHeight = menuBar()->sizeHint().height();
    resize(width, height + menuHeight);
    // The window may not be on screen yet: lay the client area out now rather than on showing.
    client_->setGeometry(0, menuHeight, width, height);
    AlignControls(client_);
}

void TForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The window system's own show events (a restore from the task bar) are no new showing.
    if (!event->spontaneous()) DoShow();
}

void TForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    DoResize();
}
