// The glossy button face: shadow, a dark band at the middle, two gloss gradients meeting on a
// shallow arc, a bevel ring, the caption and the picture.
#include "Smooth/GDIPFill.h"

#include <algorithm>
#include <memory>

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

void FillShadow(TGPGraphics* g, int X, int Y, int Width, int Height, int vs, int hs, TFillRoundingType type)
{
    std::unique_ptr<TGPGraphicsPath> outline(CreateRoundedRectPath(
        MakeRectF(REAL(X + hs + 2), REAL(Y + vs + 2), REAL(Width - 4 - 2 * hs), REAL(Height - 2 - 2 * vs)), 8, type));
    TGPPathGradientBrush shadow(outline.get());
    shadow.SetWrapMode(gdip::WrapModeClamp);
    const ARGB colours[3] = {MakeColor(0, 0, 0, 0), MakeColor(180, 0, 0, 0), MakeColor(180, 0, 0, 0)};
    const REAL positions[3] = {0.0f, 0.1f, 1.0f};
    shadow.SetInterpolationColors(colours, positions, 3);
    g->FillPath(&shadow, outline.get());
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

void TGDIPButton::Draw(TGPGraphics* g, const QString& Caption, int X, int Y, int Width, int Height, int vs, int hs,
                       TColor Color, TColor ColorDown, TColor BevelColor, bool Shadow, bool Down, bool Bevel,
                       TFillRoundingType RoundingType, TGDIPPicture* Picture)
{
    if (!g) return;
    const TColor face = Down && ColorDown == clNone ? Darkened(Color) : Down ? ColorDown : Color;

    int W = Width, H = Height;
    if (Shadow) {
        FillShadow(g, X, Y, Width, Height, vs, hs, RoundingType);
        W = Width - 6;
        H = Height - 4;
    }

    const int c = H / 6, m = H / 2;
    TGPSolidBrush band(Opaque(Lighter(face, -40)));
    g->FillRectangle(&band, MakeRectF(REAL(X + hs), REAL(Y + m - c), REAL(W - 1 - 2 * hs), REAL(2 * c)));

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
    FillGloss(g, &lower, MakeRectF(REAL(X + hs - 1), REAL(Y + m - c - 1), REAL(W - 2 * hs + 1), REAL(m + c + 2)),
              {Opaque(Lighter(face, -40)), Opaque(Lighter(face, 100)), Opaque(Lighter(face, 220))}, {0.0f, 0.9f, 1.0f});
    FillGloss(g, &upper, MakeRectF(REAL(X + hs - 1), REAL(Y + vs - 1), REAL(W - 2 * hs + 1), REAL(m + 3)),
              {Opaque(Lighter(face, 220)), Opaque(Lighter(face, 100)), Opaque(Lighter(face, 0))}, {0.0f, 0.2f, 1.0f});

    if (Bevel) {
        const int bl = X + hs, bt = Y + vs + 1, br = X + W - 1 - hs, bb = Y + H - 1 - vs;
        std::unique_ptr<TGPGraphicsPath> ring(
            CreateRingPath(MakeRectF(REAL(bl), REAL(bt), REAL(br - bl), REAL(bb - bt)), 7, RoundingType, 2));
        TGPSolidBrush bevel(MakeColorFromTColor(160, BevelColor));
        g->FillPath(&bevel, ring.get());
    }

    const bool picture = Picture && !Picture->Empty();
    const int pw = picture ? Picture->Width() : 0, ph = picture ? Picture->Height() : 0;
    const int shift = Down ? FShiftDown : 0;
    int px = (W - pw) / 2 + shift, py = (H - ph) / 2 + shift;
    const bool beside = picture && !Caption.isEmpty() && FLayout != blNone;

    if (!Caption.isEmpty()) {
        std::unique_ptr<TGPFont> font(g->MakeFont(FFont));
        TGPStringFormat format(0);
        const auto align = FAlignment == taLeftJustify    ? gdip::StringAlignmentNear
                           : FAlignment == taRightJustify ? gdip::StringAlignmentFar
                                                          : gdip::StringAlignmentCenter;
        format.SetAlignment(align);
        format.SetLineAlignment(align);
        format.SetHotkeyPrefix(gdip::HotkeyPrefixShow);
        g->SetTextRenderingHint(gdip::TextRenderingHintClearTypeGridFit);
        TGPSolidBrush ink(Opaque(FFont.Color));

        TGPRectF text = MakeRectF(REAL(X + hs + (picture ? 2 : 0) + shift), REAL(Y + vs + shift), REAL(W - 2 * hs - 4),
                                  REAL(H - 2 * vs));
        if (picture) {
            // The caption gives the picture its room: the picture stands on the named side of
            // the caption, Spacing away, and the two stay together within the face.
            if (FLayout == blPictureLeft || FLayout == blPictureRight) text.Width -= REAL(pw + FSpacing);
            else if (FLayout == blPictureBottom || FLayout == blPictureTop) text.Height -= REAL(ph + FSpacing);
            if (FSpacing % 2 != 0) text.Width -= 1;
            if (FLayout == blPictureLeft) text.X += REAL(pw + FSpacing);
            if (FLayout == blPictureTop) text.Y += REAL(ph + FSpacing);
        }
        if (beside) {
            TGPRectF measured{};
            g->MeasureString(Caption, font.get(), text, &format, &measured);
            const auto place = [this](REAL start, REAL room, REAL size) {
                return FAlignment == taLeftJustify    ? double(start)
                       : FAlignment == taRightJustify ? double(start + room - size)
                                                      : start + (room - size) / 2.0;
            };
            const double tx = place(text.X, text.Width, measured.Width), ty = place(text.Y, text.Height, measured.Height);
            switch (FLayout) {
            case blPictureLeft: px = int(tx) - pw - FSpacing - X; break;
            case blPictureRight: px = int(tx + measured.Width) + FSpacing - X; break;
            case blPictureTop: py = int(ty) - ph - FSpacing - Y; break;
            default: py = int(ty + measured.Height) + FSpacing - Y; break;
            }
        }
        g->DrawString(Caption, font.get(), text, &format, &ink);
    }

    if (picture) Picture->GDIPDraw(g, TRect{X + px, Y + py, X + px + pw, Y + py + ph});
}
