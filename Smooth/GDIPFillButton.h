#pragma once
// The glossy button face and the small pill-shaped badge that can sit on a button's corner, with
// the colour helpers they share. The smooth button owns one of each and calls their Draw when it
// rebuilds its cached face. Included by GDIPFill.h.
#include <cmath>

enum TAlignment : int { taLeftJustify, taRightJustify, taCenter };
enum TGDIPButtonLayout : int { blPictureLeft, blPictureRight, blPictureBottom, blPictureTop, blNone };

// Sender and "is stored" (true on entry).
using TFontStoredEvent = std::function<void(QObject* Sender, bool& IsStored)>;

// The colour with n added to each of red, green and blue, each kept within 0..255. System colours
// are resolved first; the result is a plain RGB colour.
TColor Lighter(TColor color, int n);
// V = the largest channel (0..255), S = 0..1, H in degrees; a grey (S = 0) has no hue: H is NaN.
void RGBToHSV(double R, double G, double B, double& H, double& S, double& V);
// Raises EColorError when S is 0 and H is a number.
void HSVToRGB(double H, double S, double V, double& R, double& G, double& B);

// The outline of the rectangle and the same outline inset by width, in one path that fills only
// the ring between them.
TGPGraphicsPath* CreateRingPath(const TGPRectF& rect, int radius, TFillRoundingType type, int width);

// One face to paint: where, how much room to keep for a badge, its colours and which of its
// optional layers to draw.
struct TGDIPButtonFace {
    QString Caption;
    int X = 0, Y = 0, Width = 0, Height = 0;
    int vs = 0, hs = 0;  // room kept for a badge: vs above and below, hs at each side
    TColor Color = clSilver;
    TColor ColorDown = clNone;  // clNone: a pressed face is Color darkened
    TColor BevelColor = clWhite;
    bool Shadow = false, Down = false, Bevel = false;
    TFillRoundingType RoundingType = rtBoth;
    TGDIPPicture* Picture = nullptr;
};

class TGDIPButton : public QObject {
public:
    TGDIPButton();
    ~TGDIPButton() override = default;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value) { Store(FAlignment, value); }
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& value) { FFont.Assign(value); }
    TGDIPButtonLayout Layout() const { return FLayout; }
    void SetLayout(TGDIPButtonLayout value) { Store(FLayout, value); }
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value) { Store(FSpacing, value); }
    int ShiftDown() const { return FShiftDown; }
    void SetShiftDown(int value) { Store(FShiftDown, value); }

    TNotifyEvent OnChange;
    TNotifyEvent OnFontChange;
    TFontStoredEvent OnIsFontStored;
    // Whether a saved form would carry the font (OnIsFontStored may say no).
    bool IsFontStored();

    virtual void Changed();
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate()
    {
        if (FUpdateCount > 0) --FUpdateCount;
    }
    void Assign(const TGDIPButton* source);

    // Paints one face, layer by layer: shadow, body, gloss, bevel, caption, picture.
    void Draw(TGPGraphics* graphics, const TGDIPButtonFace& face) const;

private:
    void FontChanged();
    template <class T>
    void Store(T& field, T value)
    {
        if (field == value) return;
        field = value;
        Changed();
    }

    TAlignment FAlignment = taCenter;
    TFont FFont;
    TGDIPButtonLayout FLayout = blPictureLeft;
    int FSpacing = 3;
    int FShiftDown = 1;
    int FUpdateCount = 0;
};

class TGDIPStatus : public QObject {
public:
    TGDIPStatus();
    ~TGDIPStatus() override;

    TGDIPFill* Fill() const { return FFill; }
    void SetFill(const TGDIPFill* value) { FFill->Assign(value); }
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& value) { FFont.Assign(value); }
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    bool Glow() const { return FGlow; }
    void SetGlow(bool value);

    TNotifyEvent OnChange;
    void Assign(const TGDIPStatus* source);

    // The badge's size for this caption: never narrower than high, and at least the fill's picture.
    void CalculateSize(TGPGraphics* graphics, const QString& caption);
    int GetWidth() const { return FWidth; }
    int GetHeight() const { return FHeight; }
    // Paints the badge at X, Y in its own size (useOwnSize) or the given one.
    void Draw(TGPGraphics* graphics, int X, int Y, int width, int height, bool useOwnSize, const QString& caption);

private:
    void Changed();

    TGDIPFill* FFill;
    TFont FFont;
    int FSpacing = 0;
    bool FGlow = true;
    int FWidth = 0, FHeight = 0;
};
