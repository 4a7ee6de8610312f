// The gradient filler: one area painted by gradient type.
#include "Smooth/SmoothGDIPPicture.h"

#include <memory>

void FillByGradientType(TFillGradientRequest r)
{
    if (!r.Graphics) return;
    const ARGB from = MakeColorFromTColor(r.Opacity, r.Color);
    const ARGB to = MakeColorFromTColor(r.OpacityTo, r.ColorTo);
    const TGPRectF area = MakeRectF(r.X, r.Y, r.Width, r.Height);
    // Gradients run over the area grown by a pixel, so their wrap never shows at the edges.
    const TGPRectF grown = MakeRectF(r.X - 1, r.Y - 1, r.Width + 2, r.Height + 2);
    std::unique_ptr<TGPBrush> brush;
    switch (r.GradientType) {
    case gtSolid: brush = std::make_unique<TGPSolidBrush>(from); break;
    case gtVertical:
    case gtHorizontal:
    case gtForwardDiagonal:
    case gtBackwardDiagonal: {
        static const gdip::LinearGradientMode kModes[] = {
            gdip::LinearGradientModeVertical, gdip::LinearGradientModeHorizontal,
            gdip::LinearGradientModeForwardDiagonal, gdip::LinearGradientModeBackwardDiagonal};
        auto linear = std::make_unique<TGPLinearGradientBrush>(grown, from, to, kModes[r.GradientType - gtVertical]);
        linear->SetGammaCorrection(true);
        brush = std::move(linear);
        break;
    }
    case gtAngle: {
        auto linear = std::make_unique<TGPLinearGradientBrush>(grown, from, to, REAL(r.Angle), true);
        linear->SetGammaCorrection(true);
        brush = std::move(linear);
        break;
    }
    case gtHatch: brush = std::make_unique<TGPHatchBrush>(r.HatchStyle, from, to); break;
    case gtTexture:
        if (r.Texture) {
            if (r.FillPath) r.Texture->FillPath(r.Graphics, r.Path);
            else r.Texture->FillRect(r.Graphics, area);
        }
        break;
    default: break;  // radial, path and none paint nothing here
    }
    if (brush) {
        if (r.FillPath) r.Graphics->FillPath(brush.get(), r.Path);
        else r.Graphics->FillRectangle(brush.get(), area);
        const bool linear = r.GradientType >= gtVertical && r.GradientType <= gtBackwardDiagonal;
        if (linear && r.TopLine) {
            TGPSolidBrush line(from);
            r.Graphics->FillRectangle(&line, MakeRectF(r.X, r.Y, r.Width, 1.0f));
        }
    }
    if (r.BorderColor != clNone) {
        TGPPen pen(MakeColorFromTColor(r.Opacity, r.BorderColor), REAL(r.BorderWidth));
        pen.SetDashStyle(r.BorderDashStyle);
        if (r.FillPath) r.Graphics->DrawPath(&pen, r.Path);
        else r.Graphics->DrawRectangle(&pen, area);
    }
}
