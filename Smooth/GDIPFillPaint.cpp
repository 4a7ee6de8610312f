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

void FillGlow(TGPGraphics* g, const TGPRectF& r, TColor C, TColor C2, std::uint8_t b, std::uint8_t a, bool upper,
              int radius, TFillRoundingType type)
{
    std::unique_ptr<TGPGraphicsPath> outline(CreateRoundedRectPath(r, REAL(radius), type));
    TGPSolidBrush base(upper ? MakeColorFromTColor(b, C) : MakeColorFromTColor(a, C2));
    g->FillPath(&base, outline.get());
    TGPRegion clip(outline.get());
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

void FillHalf(const TGDIPFill& f, TGPGraphics* g, const TGPRectF& r, bool mirror, const Opacities& o)
{
    TGradientType type = mirror ? f.GradientMirrorType() : f.GradientType();
    const TColor color = mirror ? f.ColorMirror() : f.Color();
    const TColor colorTo = mirror ? f.ColorMirrorTo() : f.ColorTo();
    if (color == clNone) type = gtNone;
    else if (colorTo == clNone) type = gtSolid;

    std::unique_ptr<TGPGraphicsPath> path;
    INT smoothing = 0;
    if (f.Rounding() != 0) {
        TFillRoundingType rounding = f.RoundingType();
        if (InHalves(f)) {
            // Each half keeps only the roundings of its own edge.
            if (!mirror && (rounding == rtNone || rounding == rtBottom)) rounding = rtNone;
            else if (!mirror && (rounding == rtTop || rounding == rtBoth)) rounding = rtTop;
            else if (mirror && (rounding == rtNone || rounding == rtTop)) rounding = rtNone;
            else if (mirror && (rounding == rtBottom || rounding == rtBoth)) rounding = rtBottom;
        }
        path.reset(CreateRoundedRectPath(r, REAL(f.Rounding()), rounding));
        smoothing = g->GetSmoothingMode();
        g->SetSmoothingMode(gdip::SmoothingModeAntiAlias);
    }
    TFillGradientRequest q;
    q.Graphics = g;
    q.Path = path.get();
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

void TGDIPFill::Fill(TGPGraphics* g, TGPRectF R, std::uint8_t borderOpacity, std::uint8_t opacity,
                     std::uint8_t opacityTo, std::uint8_t opacityMirror, std::uint8_t opacityMirrorTo, TGPRectF* bodyRect)
{
    // Without a graphics there is nothing to paint on, whatever the rectangle.
    if (!g) return;
    const Opacities o{opacity < 255 ? opacity : Opacity(), opacityTo < 255 ? opacityTo : OpacityTo(),
                      opacityMirror < 255 ? opacityMirror : OpacityMirror(),
                      opacityMirrorTo < 255 ? opacityMirrorTo : OpacityMirrorTo(),
                      borderOpacity < 255 ? borderOpacity : BorderOpacity()};
    const bool texture = GradientType() == gtTexture;

    if (R.Height == 1.0f || R.Width == 1.0f) {
        if (BorderWidth() >= 1 && BorderColor() != clNone) {
            TGPPen pen(MakeColorFromTColor(o.border, BorderColor()), REAL(BorderWidth()));
            g->DrawLine(&pen, R.X, R.Y, R.X + R.Width, R.Y + R.Height);
        }
    } else {
        if (ShadowOffset() >= 1 && ShadowColor() != clNone) {
            std::unique_ptr<TGPGraphicsPath> outline(CreateRoundedRectPath(R, REAL(Rounding()), RoundingType()));
            TGPPathGradientBrush shadow(outline.get());
            shadow.SetWrapMode(gdip::WrapModeClamp);
            const ARGB colours[3] = {0, MakeColorFromTColor(180, ShadowColor()), MakeColorFromTColor(180, ShadowColor())};
            const REAL positions[3] = {0.0f, 0.1f, 1.0f};
            shadow.SetInterpolationColors(colours, positions, 3);
            g->FillPath(&shadow, outline.get());
            R.Width -= REAL(ShadowOffset());
            R.Height -= REAL(ShadowOffset());
        }

        if (InHalves(*this)) {
            const REAL h2 = R.Height / 2;
            const TGPRectF top = MakeRectF(R.X, R.Y, R.Width, R.Height - h2 + 1);
            const TGPRectF bottom = MakeRectF(R.X, R.Y + h2 - 1, R.Width, R.Height - h2 + 1);
            if (GradientType() == gtRadial && Color() != clNone)
                FillGlow(g, top, Color(), ColorTo() != clNone ? ColorTo() : Color(), o.fill, o.to, true, Rounding(), rtTop);
            else FillHalf(*this, g, top, false, o);
            if (GradientMirrorType() == gtRadial && ColorMirror() != clNone)
                FillGlow(g, bottom, ColorMirror(), ColorMirrorTo() != clNone ? ColorMirrorTo() : ColorMirror(), o.mirror,
                         o.mirrorTo, false, Rounding(), rtBottom);
            else FillHalf(*this, g, bottom, true, o);
        } else if (GradientType() == gtRadial && Color() != clNone) {
            FillGlow(g, R, Color(), ColorTo() != clNone ? ColorTo() : Color(), o.fill, o.to, true, Rounding(), RoundingType());
        } else {
            FillHalf(*this, g, R, false, o);
        }

        if (BackGroundPictureMode() == pmInsideFill && texture) {
            std::unique_ptr<TGPGraphicsPath> outline(CreateRoundedRectPath(R, REAL(Rounding()), RoundingType()));
            TGPRegion clip(outline.get());
            g->SetClip(&clip, gdip::CombineModeReplace);
            DrawFillPicture(g, FBackGroundPicture, BackGroundPicturePosition(), FBackGroundPicture->Width(),
                            FBackGroundPicture->Height(), WholePixels(R), BackGroundPictureLeft(), BackGroundPictureTop());
            g->ResetClip();
        }

        if (BorderWidth() >= 1 && BorderColor() != clNone) {
            std::unique_ptr<TGPGraphicsPath> outline(CreateRoundedRectPath(R, REAL(Rounding()), RoundingType()));
            TGPPen pen(MakeColorFromTColor(o.border, BorderColor()), REAL(BorderWidth()));
            g->DrawPath(&pen, outline.get());
        }
    }

    const REAL bw = REAL(BorderWidth());
    FocusRect = MakeRectF(R.X + bw, R.Y + bw, R.Width - 2 * bw, R.Height - 2 * bw);
    if (Focus) {
        g->SetSmoothingMode(gdip::SmoothingModeDefault);
        std::unique_ptr<TGPGraphicsPath> outline(CreateRoundedRectPath(FocusRect, REAL(Rounding()) - bw, RoundingType()));
        TGPPen pen(MakeColorFromTColor(o.fill, FocusColor), 1.0f);
        pen.SetDashStyle(gdip::DashStyleDot);
        g->DrawPath(&pen, outline.get());
    }

    if (BackGroundPictureMode() == pmOutsideFill && texture)
        DrawFillPicture(g, FBackGroundPicture, BackGroundPicturePosition(), FBackGroundPicture->Width(),
                        FBackGroundPicture->Height(), WholePixels(R), BackGroundPictureLeft(), BackGroundPictureTop());

    if (!FPicture->Empty()) {
        const bool custom = PictureSize() == psCustom;
        DrawFillPicture(g, FPicture, PicturePosition(), custom ? PictureWidth() : FPicture->Width(),
                        custom ? PictureHeight() : FPicture->Height(), WholePixels(R), PictureLeft(), PictureTop());
    }
    if (bodyRect) *bodyRect = R;
}
