// Painting a fill: shadow, body (one area or two halves), glow, pictures, border and focus.
#include "Smooth/GDIPFill.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Pictures are placed no farther than this from the origin, or at no larger size: far beyond
// any canvas, and small enough that the placing arithmetic stays within an int.
constexpr int kFar = 1 << 24;
int Far(double v) { return std::clamp(SaturatedRound(v), -kFar, kFar); }

// Whole pixels as the run-time library rounds: halves to even.
TRect WholePixels(const TGPRectF& r)
{
    const int left = Far(r.X), top = Far(r.Y);
    return {left, top, left + Far(r.Width), top + Far(r.Height)};
}

void DrawFillPicture(TGPGraphics* g, TGDIPPicture* picture, TFillPicturePosition position, int w, int h,
                     const TRect& r, int customLeft, int customTop)
{
    if (!picture || picture->Empty()) return;
    w = Far(w), h = Far(h), customLeft = Far(customLeft), customTop = Far(customTop);
    int x = r.Left, y = r.Top;
    const int centreX = r.Left + ((r.Right - r.Left) - w) / 2;
    const int centreY = r.Top + ((r.Bottom - r.Top) - h) / 2;
    switch (position) {
    case ppTopLeft: break;
    case ppTopCenter: x = centreX; break;
    case ppTopRight: x = r.Right - w; break;
    case ppBottomLeft: y = r.Bottom - h; break;
    case ppBottomCenter: x = centreX, y = r.Bottom - h; break;
    case ppBottomRight: x = r.Right - w, y = r.Bottom - h; break;
    case ppCenterLeft: y = centreY; break;
    case ppCenterCenter: x = centreX, y = centreY; break;
    case ppCenterRight: x = r.Right - w, y = centreY; break;
    case ppStretched: picture->GDIPDraw(g, r); return;
    case ppCustom: x = customLeft, y = customTop; break;
    default: return;  // tiled pictures are the body's texture
    }
    // A size of nothing (or less, from a hand-edited settings file) draws nothing, not a mirror image.
    if (w <= 0 || h <= 0) return;
    picture->GDIPDraw(g, TRect{x, y, x + w, y + h});
}

// Fills r's outline (given, or built from radius and type) with a glow.
void FillGlow(TGPGraphics* g, const TGPRectF& r, TColor C, TColor C2, std::uint8_t b, std::uint8_t a, bool upper,
              int radius, TFillRoundingType type, const TGPGraphicsPath* outline = nullptr)
{
    std::unique_ptr<TGPGraphicsPath> built;
    if (!outline) {
        built.reset(CreateRoundedRectPath(r, REAL(radius), type));
        outline = built.get();
    }
    TGPSolidBrush base(upper ? MakeColorFromTColor(b, C) : MakeColorFromTColor(a, C2));
    g->FillPath(&base, outline);
    TGPRegion clip(outline);
    g->SetClip(&clip, gdip::CombineModeReplace);

    TGPGraphicsPath ellipse;
    if (upper) ellipse.AddEllipse(r.X, r.Y - r.Height / 2, r.Width, 1.5f * r.Height);
    else ellipse.AddEllipse(r.X, r.Y, r.Width, 1.5f * r.Height);
    TGPPathGradientBrush glow(&ellipse);
    glow.SetCenterPoint(MakePointF(r.X + r.Width / 2, upper ? r.Y : r.Y + r.Height));
    glow.SetCenterColor(upper ? MakeColorFromTColor(a, C2) : MakeColorFromTColor(b, C));
    ARGB surround = upper ? MakeColorFromTColor(b, C) : MakeColorFromTColor(a, C2);
    INT count = 1;
    glow.SetSurroundColors(&surround, &count);
    g->FillRectangle(&glow, r);
    g->ResetClip();
}

// A mirror colour splits the body into two halves, except for a hatch or a texture, which
// always cover the body as one area.
bool InHalves(const TGDIPFill& f)
{
    return f.GradientType() != gtHatch && f.GradientType() != gtTexture && f.ColorMirror() != clNone;
}

struct Opacities {
    std::uint8_t fill, to, mirror, mirrorTo, border;
};

// Fills one half, or the body as one area; a given outline (the body's, as the fill rounds it)
// is filled instead of a new one.
void FillHalf(const TGDIPFill& f, TGPGraphics* g, const TGPRectF& r, bool mirror, const Opacities& o,
              TGPGraphicsPath* outline = nullptr)
{
    TGradientType type = mirror ? f.GradientMirrorType() : f.GradientType();
    const TColor color = mirror ? f.ColorMirror() : f.Color();
    const TColor colorTo = mirror ? f.ColorMirrorTo() : f.ColorTo();
    if (color == clNone) type = gtNone;
    else if (colorTo == clNone) type = gtSolid;

    std::unique_ptr<TGPGraphicsPath> built;
    TGPGraphicsPath* path = f.Rounding() != 0 ? outline : nullptr;
    INT smoothing = 0;
    if (f.Rounding() != 0 && !path) {
        TFillRoundingType rounding = f.RoundingType();
        if (InHalves(f)) {
            // Each half keeps only the roundings of its own edge.
            if (!mirror && (rounding == rtNone || rounding == rtBottom)) rounding = rtNone;
            else if (!mirror && (rounding == rtTop || rounding == rtBoth)) rounding = rtTop;
            else if (mirror && (rounding == rtNone || rounding == rtTop)) rounding = rtNone;
            else if (mirror && (rounding == rtBottom || rounding == rtBoth)) rounding = rtBottom;
        }
        built.reset(CreateRoundedRectPath(r, REAL(f.Rounding()), rounding));
        path = built.get();
    }
    if (path) {
        smoothing = g->GetSmoothingMode();
        g->SetSmoothingMode(gdip::SmoothingModeAntiAlias);
    }
    TFillGradientRequest q;
    q.Graphics = g;
    q.Path = path;
    q.FillPath = path != nullptr;
    q.X = r.X, q.Y = r.Y, q.Width = r.Width, q.Height = r.Height;
    q.GradientType = type;
    q.Color = color;
    q.ColorTo = colorTo;
    q.Opacity = mirror ? o.mirror : o.fill;
    q.OpacityTo = mirror ? o.mirrorTo : o.to;
    q.HatchStyle = mirror ? f.HatchStyleMirror() : f.HatchStyle();
    q.Angle = f.Angle();
    q.Texture = f.BackGroundPicturePosition() == ppTiled ? f.BackGroundPicture() : nullptr;
    q.TopLine = mirror;
    FillByGradientType(q);
    if (path) g->SetSmoothingMode(smoothing);
}

// What every layer of one paint works from: the fill, the opacities of this call and the
// rectangle, which the shadow narrows for the layers after it.
struct FillLayers {
    FillLayers(const TGDIPFill& fill, TGPGraphics* graphics, const TGPRectF& rect, const Opacities& opacities)
        : f(fill), g(graphics), R(rect), o(opacities)
    {
    }

    const TGDIPFill& f;
    TGPGraphics* g;
    TGPRectF R;
    Opacities o;

    // The body's rounded outline, which the body, the background picture's clip and the border
    // share: built once, when the first of them asks, after the shadow has narrowed R.
    TGPGraphicsPath* Outline() const
    {
        if (!outline) outline.reset(CreateRoundedRectPath(R, REAL(f.Rounding()), f.RoundingType()));
        return outline.get();
    }

private:
    mutable std::unique_ptr<TGPGraphicsPath> outline;
};

// An override below 255 stands for this call only; 255 keeps the fill's own.
Opacities Resolve(const TGDIPFill& f, std::uint8_t border, std::uint8_t fill, std::uint8_t to, std::uint8_t mirror,
                  std::uint8_t mirrorTo)
{
    return {fill < 255 ? fill : f.Opacity(), to < 255 ? to : f.OpacityTo(), mirror < 255 ? mirror : f.OpacityMirror(),
            mirrorTo < 255 ? mirrorTo : f.OpacityMirrorTo(), border < 255 ? border : f.BorderOpacity()};
}

bool HasBorder(const TGDIPFill& f) { return f.BorderWidth() >= 1 && f.BorderColor() != clNone; }

// A rectangle one pixel thin has no body: only its border, as a line.
void PaintThinLine(const FillLayers& p)
{
    if (!HasBorder(p.f)) return;
    TGPPen pen(MakeColorFromTColor(p.o.border, p.f.BorderColor()), REAL(p.f.BorderWidth()));
    p.g->DrawLine(&pen, p.R.X, p.R.Y, p.R.X + p.R.Width, p.R.Y + p.R.Height);
}

// The shadow fades in from the outline; the body then gives up the offset at the right and the
// bottom, where the shadow stays visible.
void PaintShadow(FillLayers& p)
{
    const TGDIPFill& f = p.f;
    if (f.ShadowOffset() < 1 || f.ShadowColor() == clNone) return;
    const std::unique_ptr<TGPGraphicsPath> outline(CreateRoundedRectPath(p.R, REAL(f.Rounding()), f.RoundingType()));
    FillSoftShadow(p.g, outline.get(), f.ShadowColor());
    p.R.Width -= REAL(f.ShadowOffset());
    p.R.Height -= REAL(f.ShadowOffset());
}

// The body as one area, or as two halves that overlap by 2 pixels at the seam; a radial half is
// a glow.
void PaintBody(const FillLayers& p)
{
    const TGDIPFill& f = p.f;
    const Opacities& o = p.o;
    const bool glow = f.GradientType() == gtRadial && f.Color() != clNone;
    const TColor glowTo = f.ColorTo() != clNone ? f.ColorTo() : f.Color();
    if (!InHalves(f)) {
        if (glow) FillGlow(p.g, p.R, f.Color(), glowTo, o.fill, o.to, true, f.Rounding(), f.RoundingType(), p.Outline());
        else FillHalf(f, p.g, p.R, false, o, f.Rounding() != 0 ? p.Outline() : nullptr);
        return;
    }
    const TGPRectF& R = p.R;
    const REAL h2 = R.Height / 2;
    const TGPRectF top = MakeRectF(R.X, R.Y, R.Width, R.Height - h2 + 1);
    const TGPRectF bottom = MakeRectF(R.X, R.Y + h2 - 1, R.Width, R.Height - h2 + 1);
    if (glow) FillGlow(p.g, top, f.Color(), glowTo, o.fill, o.to, true, f.Rounding(), rtTop);
    else FillHalf(f, p.g, top, false, o);
    if (f.GradientMirrorType() == gtRadial && f.ColorMirror() != clNone) {
        const TColor mirrorTo = f.ColorMirrorTo() != clNone ? f.ColorMirrorTo() : f.ColorMirror();
        FillGlow(p.g, bottom, f.ColorMirror(), mirrorTo, o.mirror, o.mirrorTo, false, f.Rounding(), rtBottom);
    } else {
        FillHalf(f, p.g, bottom, true, o);
    }
}

// The background picture by its position, for a texture fill only; inside the fill it is clipped
// to the body's outline.
void PaintBackGroundPicture(const FillLayers& p, bool clipped)
{
    const TGDIPFill& f = p.f;
    if (f.GradientType() != gtTexture) return;
    if (clipped) {
        TGPRegion clip(p.Outline());
        p.g->SetClip(&clip, gdip::CombineModeReplace);
    }
    TGDIPPicture* picture = f.BackGroundPicture();
    DrawFillPicture(p.g, picture, f.BackGroundPicturePosition(), picture->Width(), picture->Height(), WholePixels(p.R),
                    f.BackGroundPictureLeft(), f.BackGroundPictureTop());
    if (clipped) p.g->ResetClip();
}

void PaintBorder(const FillLayers& p)
{
    const TGDIPFill& f = p.f;
    if (!HasBorder(f)) return;
    TGPPen pen(MakeColorFromTColor(p.o.border, f.BorderColor()), REAL(f.BorderWidth()));
    p.g->DrawPath(&pen, p.Outline());
}

// A dotted outline just inside the border. It leaves the graphics without anti-aliasing.
void PaintFocus(const FillLayers& p, const TGPRectF& focusRect, TColor colour)
{
    p.g->SetSmoothingMode(gdip::SmoothingModeDefault);
    std::unique_ptr<TGPGraphicsPath> outline(
        CreateRoundedRectPath(focusRect, REAL(p.f.Rounding()) - REAL(p.f.BorderWidth()), p.f.RoundingType()));
    TGPPen pen(MakeColorFromTColor(p.o.fill, colour), 1.0f);
    pen.SetDashStyle(gdip::DashStyleDot);
    p.g->DrawPath(&pen, outline.get());
}

void PaintPicture(const FillLayers& p)
{
    const TGDIPFill& f = p.f;
    TGDIPPicture* picture = f.Picture();
    if (picture->Empty()) return;
    const bool custom = f.PictureSize() == psCustom;
    DrawFillPicture(p.g, picture, f.PicturePosition(), custom ? f.PictureWidth() : picture->Width(),
                    custom ? f.PictureHeight() : picture->Height(), WholePixels(p.R), f.PictureLeft(), f.PictureTop());
}

}  // namespace

void AddRoundedRectPath(TFillRoundingType type, TGPGraphicsPath* path, REAL X, REAL Y, REAL Width, REAL Height, REAL d,
                        REAL r)
{
    if (!path) return;
    const REAL L = X, T = Y, Rt = X + Width, B = Y + Height;
    const bool round = r > 0 && d > 0;
    const bool tl = round && (type == rtTop || type == rtBoth || type == rtLeft);
    const bool tr = round && (type == rtTop || type == rtBoth || type == rtRight);
    const bool br = round && (type == rtBottom || type == rtBoth || type == rtRight);
    const bool bl = round && (type == rtBottom || type == rtBoth || type == rtLeft);
    if (tl) path->AddArc(L, T, d, d, 180, 90);
    path->AddLine(tl ? L + r : L, T, tr ? Rt - r : Rt, T);
    if (tr) path->AddArc(Rt - d, T, d, d, 270, 90);
    path->AddLine(Rt, tr ? T + r : T, Rt, br ? B - r : B);
    if (br) path->AddArc(Rt - d, B - d, d, d, 0, 90);
    path->AddLine(br ? Rt - r : Rt, B, bl ? L + r : L, B);
    if (bl) path->AddArc(L, B - d, d, d, 90, 90);
    path->AddLine(L, bl ? B - r : B, L, tl ? T + r : T);
}

TGPGraphicsPath* CreateRoundedRectPath(const TGPRectF& rect, REAL r, TFillRoundingType type)
{
    auto path = new TGPGraphicsPath(gdip::FillModeAlternate);
    AddRoundedRectPath(type, path, rect.X, rect.Y, rect.Width, rect.Height, 2 * r, r);
    path->CloseFigure();
    return path;
}

void FillSoftShadow(TGPGraphics* g, const TGPGraphicsPath* outline, TColor colour)
{
    TGPPathGradientBrush shadow(outline);
    shadow.SetWrapMode(gdip::WrapModeClamp);
    const ARGB colours[3] = {0, MakeColorFromTColor(180, colour), MakeColorFromTColor(180, colour)};
    const REAL positions[3] = {0.0f, 0.1f, 1.0f};
    shadow.SetInterpolationColors(colours, positions, 3);
    g->FillPath(&shadow, outline);
}

void TGDIPFill::Fill(TGPGraphics* g, TGPRectF R, std::uint8_t borderOpacity, std::uint8_t opacity,
                     std::uint8_t opacityTo, std::uint8_t opacityMirror, std::uint8_t opacityMirrorTo, TGPRectF* bodyRect)
{
    // Without a graphics there is nothing to paint on, whatever the rectangle.
    if (!g) return;
    FillLayers p{*this, g, R, Resolve(*this, borderOpacity, opacity, opacityTo, opacityMirror, opacityMirrorTo)};
    if (R.Height == 1.0f || R.Width == 1.0f) {
        PaintThinLine(p);
    } else {
        PaintShadow(p);
        PaintBody(p);
        if (BackGroundPictureMode() == pmInsideFill) PaintBackGroundPicture(p, true);
        PaintBorder(p);
    }
    const REAL bw = REAL(BorderWidth());
    FocusRect = MakeRectF(p.R.X + bw, p.R.Y + bw, p.R.Width - 2 * bw, p.R.Height - 2 * bw);
    if (Focus) PaintFocus(p, FocusRect, FocusColor);
    if (BackGroundPictureMode() == pmOutsideFill) PaintBackGroundPicture(p, false);
    PaintPicture(p);
    if (bodyRect) *bodyRect = p.R;
}
