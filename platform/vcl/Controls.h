#pragma once
// What every control of the form shares: the sender type of event handlers, key codes and shift
// states as the handlers receive them, and the alignment of controls to the edges of their
// parent (top, bottom, left, right, client), which lays a form out the way its designer placed it.
//
// Alignment is done by us, not by Qt layouts: a child's own size along its edge (a top panel's
// height, a right pane's width) is kept, and the parent fills in the rest. The setters below
// re-align the parent at once, also while the window is hidden, so a form can be laid out and
// tested without ever being shown.
#include "platform/vcl/Strings.h"

#include <QMainWindow>
#include <QWidget>
#include <cstdint>

using TObject = QObject;
using WORD = std::uint16_t;

// A set of TShiftStateBit.
using TShiftState = unsigned;
enum TShiftStateBit : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Virtual key codes as the key handlers receive them (letters and digits are their upper-case
// ASCII codes).
enum : WORD {
    VK_LBUTTON = 0x01,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
};

class QKeyEvent;

// The virtual key of a Qt key event; 0 for keys without one.
WORD VirtualKeyOf(const QKeyEvent& event);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);
// Alt with a key types nothing into a text box: the key is the menus' and the buttons'. What AltGr
// types still types: X11 reports AltGr as a group switch without Alt, other desktops as Ctrl+Alt.
bool AltKeyTypesNothing(const QKeyEvent& event);
// 0x8000 while the key or mouse button is down, else 0 (only VK_LBUTTON, VK_SHIFT, VK_CONTROL
// and VK_MENU are known). An int, so that a comparison with 0x8000 holds when the key is down.
int GetAsyncKeyState(int key);

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Gives a control an alignment. A control that takes an edge joins the inside of that edge's
// stack: it lies inside the controls that took the same edge before it.
void SetAlign(QWidget* control, TAlign align);
TAlign AlignOf(const QWidget* control);
// Lays out the aligned children of container inside its contents rectangle, and the children of
// every child whose size that changed.
void AlignControls(QWidget* container);
// Geometry setters that re-align the parent (the VCL Left/Top/Width/Height/Visible).
void SetBounds(QWidget* control, int left, int top, int width, int height);
void SetLeft(QWidget* control, int left);
void SetTop(QWidget* control, int top);
void SetWidth(QWidget* control, int width);
void SetHeight(QWidget* control, int height);
void SetVisible(QWidget* control, bool visible);
// Visible as the form sees it: set visible, whether or not the window is on screen.
bool IsVisible(const QWidget* control);

// A plain area that aligns its children (the form's client area).
class TAlignArea : public QWidget {
public:
    explicit TAlignArea(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// A top-level window with a menu bar and a client area that aligns its children. DoShow runs
// at every showing, DoResize at every change of size.
class TForm : public QMainWindow {
public:
    explicit TForm(QWidget* parent = nullptr);

    // The client area: the window less its menu bar.
    TAlignArea* Client() const { return client_; }
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientSize(int width, int height);
    UnicodeString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }

protected:
    virtual void DoShow() {}
    virtual void DoResize() {}
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TAlignArea* client_;
};
