#pragma once
// The fills kept as reference pictures, each as its owner would set it up.
#include "SmoothSupport.h"
#include "Smooth/GDIPFill.h"

#include <functional>

struct FillSample {
    const char* name;
    int width, height;
    std::function<void(TGDIPFill&)> setUp;
};

inline const std::vector<FillSample>& FillSamples()
{
    static const std::vector<FillSample> samples = {
        {"glossy-button", 120, 35,
         [](TGDIPFill& f) {
             f.SetColor(0xF3E5DA);
             f.SetColorTo(0xE9CBB0);
             f.SetColorMirror(0xD9A77A);
             f.SetColorMirrorTo(0xF7DCC3);
             f.SetGradientType(gtVertical);
             f.SetGradientMirrorType(gtVertical);
             f.SetBorderColor(0x8A5A2F);
             f.SetRounding(8);
             f.SetShadowOffset(3);
         }},
        {"radial-glow", 120, 35,
         [](TGDIPFill& f) {
             f.SetColor(0x2E7D32);
             f.SetColorTo(0xC8F0C8);
             f.SetColorMirror(0x1B5E20);
             f.SetColorMirrorTo(0x66BB6A);
             f.SetGradientType(gtRadial);
             f.SetGradientMirrorType(gtRadial);
             f.SetBorderColor(0x0D3010);
             f.SetRounding(10);
             f.SetShadowOffset(3);
         }},
        {"pill-badge", 40, 20,
         [](TGDIPFill& f) {
             f.SetColor(0x2020E0);
             f.SetColorTo(0x0000A0);
             f.SetBorderColor(clWhite);
             f.SetBorderWidth(2);
             f.SetRounding(10);
         }},
        {"hatch-square", 60, 30,
         [](TGDIPFill& f) {
             f.SetGradientType(gtHatch);
             f.SetHatchStyle(HatchStyle(4));
             f.SetColor(0x404040);
             f.SetColorTo(0xF0F0F0);
             f.SetColorMirror(0x00FF00);  // a hatch never splits into halves
             f.SetBorderColor(clBlack);
         }},
        {"diagonal-focus", 80, 30,
         [](TGDIPFill& f) {
             f.SetGradientType(gtForwardDiagonal);
             f.SetColor(0xFFFFFF);
             f.SetColorTo(0x804000);
             f.SetRounding(6);
             f.SetRoundingType(rtLeft);
             f.SetBorderColor(0x402000);
             f.SetBorderWidth(2);
             f.Focus = true;
         }},
    };
    return samples;
}

inline QImage RenderSample(const FillSample& sample)
{
    TGDIPFill fill;
    sample.setUp(fill);
    Canvas canvas(sample.width, sample.height);
    canvas.graphics->SetSmoothingMode(gdip::SmoothingModeAntiAlias);
    fill.Fill(canvas.graphics.get(), MakeRectF(0, 0, REAL(sample.width), REAL(sample.height)));
    return canvas.Done();
}
