// The glossy button face: shadow, a dark band at the middle, two gloss gradients meeting on a
// shallow arc, a bevel ring, the caption and the picture.
#include "Smooth/GDIPFill.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace {

constexpr double kPi = 3.14159265358979323846;

int Round(double v) { return int(std::nearbyint(v)); }

ARGB Opaque(TColor c) { return MakeColorFromTColor(255, c); }

// The colour of a pressed face without its own down colour: the same hue, 80 % of the value.
TColor Darkened(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    double H, S, V, R, G, B;
    RGBToHSV(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF, H, S, V);
    HSVToRGB(H, S, V * 0.8, R, G, B);
    const auto channel = [](double v) { return std::clamp(Round(v), 0, 255); };
    return channel(R) | (channel(G) << 8) | (channel(B) << 16);
}

// The arc both gloss areas share: its bounding square and its angles, running from the left end
// of its chord down through its lowest point (the bottom of the gloss rectangle) to the right end.
struct GlossArc {
    TGPRectF box;
    REAL start, sweep;
};

GlossArc ArcUnder(int left, int bottom, int w, int c)
{
    const double rho = (double(w / 2.0) * (w / 2.0) + double(c) * c) / (2.0 * c);
    const int rr = Round(rho);
    // atan2 keeps the arc on the same side of its chord when the chord passes through the centre
    // or above it (very narrow faces).
    const double a = std::atan2(w / 2.0, rho - c) * 180.0 / kPi;
    const REAL start = REAL(90 + a);
    return {MakeRectF(REAL(left + w / 2 - rr), REAL(bottom - 2 * rr), REAL(2 * rr), REAL(2 * rr)), start,
            REAL((180 - start) - start)};
}

void FillGloss(TGPGraphics* g, const TGPGraphicsPath* path, const TGPRectF& r, const ARGB (&colours)[3],
               const REAL (&positions)[3])
{
    TGPLinearGradientBrush brush(r, colours[0], colours[2], gdip::LinearGradientModeVertical);
    brush.SetGammaCorrection(true);
    brush.SetInterpolationColors(colours, positions, 3);
    g->FillPath(&brush, path);
}

// What every layer of one face works from: the request, the button's own settings, and the
// sizes and colour that follow from them.
struct FaceLayers {
    TGPGraphics* g;
    const TGDIPButtonFace& in;
    const TGDIPButton& button;
    TColor face;  // the colour after pressing
    int W, H;     // the face without the shadow's room
    int c, m;     // how far the gloss arc dips below its chord, and the face's middle
    int shift;    // how far picture and caption move while pressed
    bool picture;
    int pw, ph;   // the picture's size, 0 without one
};

FaceLayers Plan(TGPGraphics* g, const TGDIPButtonFace& in, const TGDIPButton& button)
{
    // Pressed, a face takes its own down colour, or its colour darkened when it has none.
    TColor face = in.Color;
    if (in.Down) face = in.ColorDown != clNone ? in.ColorDown : Darkened(in.Color);
    // The shadow takes its room from the right and the bottom of the face.
    const int W = in.Shadow ? in.Width - 6 : in.Width, H = in.Shadow ? in.Height - 4 : in.Height;
    const bool picture = in.Picture && !in.Picture->Empty();
    return {.g = g, .in = in, .button = button, .face = face, .W = W, .H = H, .c = H / 6, .m = H / 2,
            .shift = in.Down ? button.ShiftDown() : 0, .picture = picture,
            .pw = picture ? in.Picture->Width() : 0, .ph = picture ? in.Picture->Height() : 0};
}

// A soft shadow fading in from the outline, which shows at the right and the bottom of the face.
void PaintShadow(const FaceLayers& L)
{
    const TGDIPButtonFace& in = L.in;
    const std::unique_ptr<TGPGraphicsPath> outline(
        CreateRoundedRectPath(MakeRectF(REAL(in.X + in.hs + 2), REAL(in.Y + in.vs + 2), REAL(in.Width - 4 - 2 * in.hs),
                                        REAL(in.Height - 2 - 2 * in.vs)),
                              8, in.RoundingType));
    FillSoftShadow(L.g, outline.get(), clBlack);
}

// The dark band across the middle, which shows where the two glosses leave it.
void PaintBody(const FaceLayers& L)
{
    TGPSolidBrush band(Opaque(Lighter(L.face, -40)));
    L.g->FillRectangle(&band, MakeRectF(REAL(L.in.X + L.in.hs), REAL(L.in.Y + L.m - L.c), REAL(L.W - 1 - 2 * L.in.hs),
                                        REAL(2 * L.c)));
}

void PaintGloss(const FaceLayers& L)
{
    const int X = L.in.X, Y = L.in.Y, hs = L.in.hs, vs = L.in.vs, W = L.W, c = L.c, m = L.m;
    // The gloss rectangle; the upper gloss reaches down to the arc, the lower one starts there.
    const int left = X + hs, top = Y + vs, right = X + W - 1 - hs, bottom = Y + m;
    const int w = right - left, h = bottom - top;
    TGPGraphicsPath lower, upper;
    if (c > 0) {
        const GlossArc arc = ArcUnder(left, bottom, w, c);
        const REAL lowBottom = REAL(top + 2 * h);
        lower.AddArc(REAL(right - 16), lowBottom - 16, 16, 16, 0, 90);
        lower.AddArc(REAL(left), lowBottom - 16, 16, 16, 90, 90);
        lower.AddArc(arc.box, arc.start, arc.sweep);
        lower.CloseFigure();

        upper.AddArc(REAL(left), REAL(top), 16, 16, 180, 90);
        upper.AddArc(REAL(right - 16), REAL(top), 16, 16, 270, 90);
        upper.AddArc(arc.box, arc.start + arc.sweep, -arc.sweep);  // right to left under the chord
        upper.CloseFigure();
    }
    const TColor face = L.face;
    FillGloss(L.g, &lower, MakeRectF(REAL(X + hs - 1), REAL(Y + m - c - 1), REAL(W - 2 * hs + 1), REAL(m + c + 2)),
              {Opaque(Lighter(face, -40)), Opaque(Lighter(face, 100)), Opaque(Lighter(face, 220))}, {0.0f, 0.9f, 1.0f});
    FillGloss(L.g, &upper, MakeRectF(REAL(X + hs - 1), REAL(Y + vs - 1), REAL(W - 2 * hs + 1), REAL(m + 3)),
              {Opaque(Lighter(face, 220)), Opaque(Lighter(face, 100)), Opaque(Lighter(face, 0))}, {0.0f, 0.2f, 1.0f});
}

void PaintBevel(const FaceLayers& L)
{
    const TGDIPButtonFace& in = L.in;
    const int bl = in.X + in.hs, bt = in.Y + in.vs + 1, br = in.X + L.W - 1 - in.hs, bb = in.Y + L.H - 1 - in.vs;
    std::unique_ptr<TGPGraphicsPath> ring(
        CreateRingPath(MakeRectF(REAL(bl), REAL(bt), REAL(br - bl), REAL(bb - bt)), 7, in.RoundingType, 2));
    TGPSolidBrush bevel(MakeColorFromTColor(160, in.BevelColor));
    L.g->FillPath(&bevel, ring.get());
}

// The rectangle the caption is drawn into, moved with the press.
TGPRectF CaptionRect(const FaceLayers& L)
{
    const TGDIPButtonFace& in = L.in;
    const int pw = L.pw, ph = L.ph, spacing = L.button.Spacing();
    TGPRectF text = MakeRectF(REAL(in.X + in.hs + (L.picture ? 2 : 0) + L.shift), REAL(in.Y + in.vs + L.shift),
                              REAL(L.W - 2 * in.hs - 4), REAL(L.H - 2 * in.vs));
    if (!L.picture) return text;
    // The caption gives the picture its room: the picture stands on the named side of the
    // caption, Spacing away, and the two stay together within the face.
    const TGDIPButtonLayout layout = L.button.Layout();
    if (layout == blPictureLeft || layout == blPictureRight) text.Width -= REAL(pw + spacing);
    else if (layout == blPictureBottom || layout == blPictureTop) text.Height -= REAL(ph + spacing);
    if (spacing % 2 != 0) text.Width -= 1;
    if (layout == blPictureLeft) text.X += REAL(pw + spacing);
    if (layout == blPictureTop) text.Y += REAL(ph + spacing);
    return text;
}

// Where the caption's text landed: its measured size placed in the text rectangle.
struct CaptionInk {
    double x, y;
    REAL width, height;
};

// Draws the caption into its rectangle; when the picture stands beside it, also says where the
// text landed, so that the picture can keep to its side.
std::optional<CaptionInk> PaintCaption(const FaceLayers& L)
{
    const TGDIPButtonFace& in = L.in;
    const TGDIPButton& b = L.button;
    std::unique_ptr<TGPFont> font(L.g->MakeFont(b.Font()));
    TGPStringFormat format(0);
    const auto align = b.Alignment() == taLeftJustify    ? gdip::StringAlignmentNear
                       : b.Alignment() == taRightJustify ? gdip::StringAlignmentFar
                                                         : gdip::StringAlignmentCenter;
    format.SetAlignment(align);
    format.SetLineAlignment(align);
    format.SetHotkeyPrefix(gdip::HotkeyPrefixShow);
    L.g->SetTextRenderingHint(gdip::TextRenderingHintClearTypeGridFit);
    TGPSolidBrush ink(Opaque(b.Font().Color));

    const TGPRectF text = CaptionRect(L);
    std::optional<CaptionInk> placed;
    if (L.picture && b.Layout() != blNone) {
        TGPRectF measured{};
        L.g->MeasureString(in.Caption, font.get(), text, &format, &measured);
        const auto place = [&b](REAL start, REAL room, REAL size) {
            return b.Alignment() == taLeftJustify    ? double(start)
                   : b.Alignment() == taRightJustify ? double(start + room - size)
                                                     : start + (room - size) / 2.0;
        };
        placed = CaptionInk{place(text.X, text.Width, measured.Width), place(text.Y, text.Height, measured.Height),
                            measured.Width, measured.Height};
    }
    L.g->DrawString(in.Caption, font.get(), text, &format, &ink);
    return placed;
}

// Centred in the face, or on the layout's side of the caption, Spacing away from its text.
void PaintPicture(const FaceLayers& L, const std::optional<CaptionInk>& caption)
{
    const int X = L.in.X, Y = L.in.Y, pw = L.pw, ph = L.ph, spacing = L.button.Spacing();
    int px = (L.W - pw) / 2 + L.shift, py = (L.H - ph) / 2 + L.shift;
    if (caption) {
        switch (L.button.Layout()) {
        case blPictureLeft: px = int(caption->x) - pw - spacing - X; break;
        case blPictureRight: px = int(caption->x + caption->width) + spacing - X; break;
        case blPictureTop: py = int(caption->y) - ph - spacing - Y; break;
        default: py = int(caption->y + caption->height) + spacing - Y; break;
        }
    }
    L.in.Picture->GDIPDraw(L.g, TRect{X + px, Y + py, X + px + pw, Y + py + ph});
}

}  // namespace

TGPGraphicsPath* CreateRingPath(const TGPRectF& rect, int radius, TFillRoundingType type, int width)
{
    auto path = new TGPGraphicsPath(gdip::FillModeAlternate);
    const REAL r = REAL(radius), d = 2 * r;
    AddRoundedRectPath(type, path, rect.X, rect.Y, rect.Width, rect.Height, d, r);
    path->CloseFigure();
    AddRoundedRectPath(type, path, rect.X + width, rect.Y + width, rect.Width - 2 * width, rect.Height - 2 * width, d, r);
    path->CloseFigure();
    return path;
}

TGDIPButton::TGDIPButton() { FFont.OnChange.Handler = [this] { FontChanged(); }; }

void TGDIPButton::FontChanged()
{
    Changed();
    if (OnFontChange) OnFontChange(this);
}

void TGDIPButton::Changed()
{
    if (OnChange && FUpdateCount == 0) OnChange(this);
}

bool TGDIPButton::IsFontStored()
{
    bool stored = true;
    if (OnIsFontStored) OnIsFontStored(this, stored);
    return stored;
}

void TGDIPButton::Assign(const TGDIPButton* source)
{
    if (!source) return;
    FFont.Assign(source->FFont);
    FLayout = source->FLayout;
    FSpacing = source->FSpacing;
    FShiftDown = source->FShiftDown;
    FAlignment = source->FAlignment;
    Changed();
}

void TGDIPButton::Draw(TGPGraphics* g, const TGDIPButtonFace& in) const
{
    if (!g) return;
    const FaceLayers L = Plan(g, in, *this);
    if (in.Shadow) PaintShadow(L);
    PaintBody(L);
    PaintGloss(L);
    if (in.Bevel) PaintBevel(L);
    std::optional<CaptionInk> caption;
    if (!in.Caption.isEmpty()) caption = PaintCaption(L);
    if (L.picture) PaintPicture(L, caption);
}
