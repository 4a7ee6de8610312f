#pragma once
// The glossy push button. It keeps its face as a 32-bit image with transparency, rebuilt only
// when something that changes the look changes, and copies it over whatever its parent paints, so
// the rounded face and its shadow sit on the parent's background. It handles the mouse, the keys,
// focus and its caption's accelerator itself, and can carry a small badge (Status).
#include "Smooth/GDIPFill.h"
#include "Smooth/SmoothStyleIF.h"
#include "platform/vcl/StdCtrls.h"

#include <QWidget>
#include <memory>

class TSmoothButton;

// The badge of a button: hidden until made visible; its caption, its offset from the top-right
// corner and its look.
class TSmoothButtonStatus : public QObject {
public:
    explicit TSmoothButtonStatus(TSmoothButton* owner);
    ~TSmoothButtonStatus() override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    int OffsetLeft() const { return FOffsetLeft; }
    void SetOffsetLeft(int value);
    int OffsetTop() const { return FOffsetTop; }
    void SetOffsetTop(int value);
    TGDIPStatus* Appearance() const { return FAppearance; }
    void SetAppearance(const TGDIPStatus* value);
    TNotifyEvent OnChange;

    // Copies the look, offsets, visibility and caption without a notification.
    void Assign(const TSmoothButtonStatus* source);

private:
    template <class T>
    void Store(T& field, const T& value);

    TSmoothButton* FOwner;
    bool FVisible = false;
    QString FCaption;
    int FOffsetLeft = 0;
    int FOffsetTop = 0;
    TGDIPStatus* FAppearance;
};

using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyPressEvent = std::function<void(TObject* Sender, QChar& Key)>;

class TSmoothButton : public QWidget, public ISmoothStyle {
public:
    explicit TSmoothButton(QWidget* parent = nullptr);
    ~TSmoothButton() override;

    TGDIPButton* Appearance() const { return FAppearance; }
    void SetAppearance(const TGDIPButton* value);
    TSmoothButtonStatus* Status() const { return FButtonStatus; }
    void SetStatus(const TSmoothButtonStatus* value);
    bool Bevel() const { return FBevel; }
    void SetBevel(bool value) { Store(FBevel, value); }
    TColor BevelColor() const { return FBevelColor; }
    void SetBevelColor(TColor value) { Store(FBevelColor, value); }
    UnicodeString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { Store(FColor, value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    TGDIPPicture* Picture() const { return FPicture; }
    void SetPicture(const TGDIPPicture* value) { FPicture->Assign(value); }
    bool Shadow() const { return FShadow; }
    void SetShadow(bool value) { Store(FShadow, value); }
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    int HorizontalSpacing() const { return FHorizontalSpacing; }
    void SetHorizontalSpacing(int value) { Store(FHorizontalSpacing, value); }
    int VerticalSpacing() const { return FVerticalSpacing; }
    void SetVerticalSpacing(int value) { Store(FVerticalSpacing, value); }
    // The tooltip, shown while ShowHint is set.
    void SetHint(const QString& hint);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    // "1.6.5.3"; writing it changes nothing.
    QString Version() const;
    void SetVersion(const QString&) {}
    // Kept for the form's sake: the window system double-buffers every widget here.
    bool DoubleBuffered = true;

    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // Fires OnClick, as a press and release would.
    void Click();
    virtual void DoClick();
    // The face must be drawn again at the next paint.
    void InvalidateCache();
    bool CacheValid() const { return FValidCache && CacheFits(); }

    QString GetThemeId() const { return QStringLiteral("TSmoothButton"); }
    // The colour in a theme file's section of this class; false when the file could not be written.
    bool SaveToTheme(const QString& fileName);
    void LoadFromTheme(const QString& fileName);
    void SetComponentStyle(TSmoothStyle style) override;

protected:
    virtual void Paint(QPainter& canvas);
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    template <class T>
    void Store(T& field, const T& value)
    {
        if (field == value) return;
        field = value;
        InvalidateCache();
    }
    void RecreateCache();
    bool CacheFits() const;
    void SetMouseInside(bool inside);
    void AcceleratorPress();
    void FollowParentFont();

    bool FMouseInside = false;
    std::unique_ptr<TGPBitmap> FCache;
    bool FValidCache = false;
    bool FFocused = false;
    TGDIPButton* FAppearance;
    TColor FColor = clGray;
    bool FDown = false;
    bool FAcceleratorDown = false;  // pressed by its accelerator key, wherever the mouse is
    TGDIPPicture* FPicture;
    bool FBevel = true;
    bool FShadow = false;
    TColor FBevelColor = clWhite;
    TSmoothButtonStatus* FButtonStatus;
    int FVerticalSpacing = 5;
    int FHorizontalSpacing = 5;
    QString FCaption;
    bool FParentFont = true;
    bool FTabStop = true;
    bool FShowHint = true;
    QString FHint;
    int FShortcutId = 0;
};
