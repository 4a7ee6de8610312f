#pragma once
// The standard controls of the form, each a thin class over the Qt widget that does its job, with
// the properties and events the form's code uses. Events fire on what the user does; setting a
// property from code fires nothing.
#include "platform/vcl/Controls.h"
#include "platform/vcl/Strings.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <functional>

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            QPoint MousePos, bool& Handled)>;

class TButton : public QPushButton {
public:
    explicit TButton(QWidget* parent = nullptr, const QString& caption = QString());
    UnicodeString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
    void SetHint(const QString& hint) { setToolTip(hint); }
    // Presses the button as the user would (OnClick runs).
    void Click();
    TNotifyEvent OnClick;
};

// A button that would carry a picture beside its caption; the keypad's buttons.
class TBitBtn : public TButton {
public:
    using TButton::TButton;
};

class TLabel : public QLabel {
public:
    explicit TLabel(QWidget* parent = nullptr, const QString& caption = QString());
    UnicodeString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
};

class TEdit : public QLineEdit {
public:
    explicit TEdit(QWidget* parent = nullptr);
    UnicodeString Text() const { return text(); }
    void SetText(const QString& value) { setText(value); }
    // The grey hint shown while the box is empty.
    void SetTextHint(const QString& hint) { setPlaceholderText(hint); }
    UnicodeString TextHint() const { return placeholderText(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class TMemo : public QPlainTextEdit {
public:
    explicit TMemo(QWidget* parent = nullptr);
};

class TComboBox;

// The item list of a combo box.
class TComboItems {
public:
    explicit TComboItems(TComboBox& owner) : owner_(owner) {}
    int Count() const;
    UnicodeString operator[](int index) const;  // "" outside the list
    void Add(const QString& text);
    void Clear();

private:
    TComboBox& owner_;
};

// A drop-down list that allows only its items.
class TComboBox : public QComboBox {
public:
    explicit TComboBox(QWidget* parent = nullptr);
    TComboItems Items{*this};
    // -1 when nothing is selected. An index outside the list selects nothing.
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int index);
    // The selected item's text, "" when nothing is selected.
    UnicodeString Text() const { return currentText(); }
    // How many items the open list shows before it scrolls.
    void SetDropDownCount(int count) { setMaxVisibleItems(count); }
    // Chooses an item as the user would (OnChange runs).
    void Choose(int index);
    TNotifyEvent OnChange;
};

class TGroupBox : public QGroupBox {
public:
    explicit TGroupBox(QWidget* parent = nullptr, const QString& caption = QString());
    UnicodeString Caption() const { return title(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
};

enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop,
                   scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// A scroll bar whose thumb runs from Min to Max. OnScroll gets every move the user makes with the
// position it leads to; the handler may change that position.
class TScrollBar : public QScrollBar {
public:
    explicit TScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);
    int Min() const { return minimum(); }
    void SetMin(int value) { setMinimum(value); }
    int Max() const { return maximum(); }
    void SetMax(int value) { setMaximum(value); }
    int Position() const { return value(); }
    void SetPosition(int value);
    int SmallChange() const { return singleStep(); }
    void SetSmallChange(int value) { setSingleStep(value); }
    int LargeChange() const { return pageStep(); }
    void SetLargeChange(int value) { setPageStep(value); }
    // Moves the thumb as the user would: OnScroll runs with code and position.
    void Scroll(TScrollCode code, int position);
    TScrollEvent OnScroll;

private:
    void Action(int action);
    bool inScroll_ = false;
};

// The events of a text pane, translated from Qt's: key down before the pane takes the key
// (setting Key to 0 keeps it from the pane), key up after it (auto-repeat gives downs only; a
// release whose press went elsewhere, such as the Enter that closed a box, is no key up of the
// pane), mouse up, wheel (one event per notch of 120, however finely the turn came in; the pane
// itself does not scroll up and down, so panes scrolled together stay together) and every change of caret or selection.
class TEditEvents : public QObject {
public:
    // Watches edit (and its viewport for the mouse); the object belongs to edit.
    explicit TEditEvents(class QAbstractScrollArea* edit);
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnSelectionChange;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class QAbstractScrollArea* edit_;
    QSet<quint32> keysDown_;  // keys pressed while the pane had the focus, not yet released
    int wheelAngle_ = 0;      // wheel turned since the last whole notch, in eighths of a degree
};
