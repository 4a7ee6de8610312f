// The badge: a pill of the badge fill with a caption, and a white glow over its upper half.
#include "Smooth/GDIPFill.h"

#include <algorithm>
#include <memory>

namespace {

TGPRectF MeasureCaption(TGPGraphics* g, const TFont& font, const QString& caption)
{
    TGPRectF measured{};
    if (caption.isEmpty()) return measured;
    std::unique_ptr<TGPFont> f(g->MakeFont(font));
    g->MeasureString(caption, f.get(), MakeRectF(0, 0, 10000, 10000), &measured);
    return measured;
}

}  // namespace

TGDIPStatus::TGDIPStatus() : FFill(new TGDIPFill)
{
    FFill->OnChange = [this](QObject*) { Changed(); };
    FFont.OnChange.Handler = [this] { Changed(); };
}

TGDIPStatus::~TGDIPStatus() { delete FFill; }

void TGDIPStatus::Changed()
{
    if (OnChange) OnChange(this);
}

void TGDIPStatus::SetSpacing(int value)
{
    if (FSpacing == value) return;
    FSpacing = value;
    Changed();
}

void TGDIPStatus::SetGlow(bool value)
{
    if (FGlow == value) return;
    FGlow = value;
    Changed();
}

void TGDIPStatus::Assign(const TGDIPStatus* source)
{
    if (!source) return;
    FFill->Assign(source->FFill);
    FFont.Assign(source->FFont);
    FGlow = source->FGlow;
    FSpacing = source->FSpacing;
    Changed();
}

void TGDIPStatus::CalculateSize(TGPGraphics* g, const QString& caption)
{
    if (!g) return;
    if (!caption.isEmpty()) {
        const TGPRectF measured = MeasureCaption(g, FFont, caption);
        FHeight = SaturatedRound(measured.Height + 4);
        FWidth = SaturatedRound(std::max(FHeight, SaturatedRound(measured.Width + 4)) + 2.0 * FSpacing);
    }
    TGDIPPicture* picture = FFill->Picture();
    if (!picture->Empty()) {
        const bool custom = FFill->PictureSize() == psCustom;
        FWidth = std::max(FWidth, custom ? FFill->PictureWidth() : picture->Width());
        FHeight = std::max(FHeight, custom ? FFill->PictureHeight() : picture->Height());
    }
}

void TGDIPStatus::Draw(TGPGraphics* g, int X, int Y, int width, int height, bool useOwnSize, const QString& caption)
{
    if (!g) return;
    const int w = useOwnSize ? FWidth : width, h = useOwnSize ? FHeight : height;
    const TGPRectF measured = MeasureCaption(g, FFont, caption);

    FFill->BeginUpdate();
    const double b = FFill->BorderColor() != clNone ? FFill->BorderWidth() / 2 : 0;
    const TGPRectF badge = MakeRectF(REAL(X), REAL(Y), REAL(w - 2 * b), REAL(h - 2 * b));
    FFill->SetRounding(SaturatedRound(badge.Height / 2));  // a pill
    FFill->Fill(g, badge);
    FFill->EndUpdate();

    if (!caption.isEmpty()) {
        std::unique_ptr<TGPFont> font(g->MakeFont(FFont));
        TGPStringFormat format(0);
        TGPSolidBrush ink(MakeColorFromTColor(255, FFont.Color));
        g->DrawString(caption, font.get(),
                      MakePointF(REAL(X + ((w - 2.0 * FSpacing) - measured.Width) / 2 + FSpacing),
                                 REAL(Y + (h - measured.Height) / 2)),
                      &format, &ink);
    }

    if (FGlow) {
        TGDIPFill glow;
        glow.SetColor(clWhite);
        glow.SetColorTo(clWhite);
        glow.SetGradientType(gtVertical);
        glow.SetOpacity(170);
        glow.SetOpacityTo(30);
        glow.SetRoundingType(rtTop);
        glow.SetRounding(FFill->Rounding());
        glow.Fill(g, MakeRectF(badge.X, badge.Y, badge.Width, badge.Height / 2));
    }
}
