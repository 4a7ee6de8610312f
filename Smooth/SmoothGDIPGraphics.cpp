#include "Smooth/SmoothGDIP.h"

#include <cmath>
#include <memory>

using namespace gdip;

namespace {
GpPen* PenOf(const TGPPen* p) { return p ? p->nativePen : nullptr; }
GpBrush* BrushOf(const TGPBrush* b) { return b ? b->nativeBrush : nullptr; }
GpImage* ImageOf(const TGPImage* i) { return i ? i->nativeImage : nullptr; }
}  // namespace

TGPGraphics::TGPGraphics(QPainter* hdc) { lastResult = GdipCreateFromHDC(hdc, &nativeGraphics); }
TGPGraphics::TGPGraphics(TGPImage* image) { lastResult = GdipGetImageGraphicsContext(ImageOf(image), &nativeGraphics); }
TGPGraphics::~TGPGraphics() { GdipDeleteGraphics(nativeGraphics); }

QPainter* TGPGraphics::GetHDC()
{
    QPainter* hdc = nullptr;
    SetStatus(GdipGetDC(nativeGraphics, &hdc));
    return hdc;
}

INT TGPGraphics::GetTextRenderingHint() { return Query<INT>(GdipGetTextRenderingHint, nativeGraphics); }
INT TGPGraphics::GetSmoothingMode() { return Query<INT>(GdipGetSmoothingMode, nativeGraphics); }
INT TGPGraphics::GetPixelOffsetMode() { return Query<INT>(GdipGetPixelOffsetMode, nativeGraphics); }
INT TGPGraphics::GetCompositingQuality() { return Query<INT>(GdipGetCompositingQuality, nativeGraphics); }

Status TGPGraphics::MeasureString(const QString& text, const TGPFont* font, const TGPRectF& layout,
                                  const TGPStringFormat* format, TGPRectF* bounds, INT* fitted, INT* lines)
{
    return SetStatus(GdipMeasureString(nativeGraphics, text, font ? font->nativeFont : nullptr, &layout,
                                       format ? format->nativeFormat : nullptr, bounds, fitted, lines));
}

Status TGPGraphics::DrawString(const QString& text, const TGPFont* font, const TGPRectF& layout,
                               const TGPStringFormat* format, const TGPBrush* brush)
{
    return SetStatus(GdipDrawString(nativeGraphics, text, font ? font->nativeFont : nullptr, &layout,
                                    format ? format->nativeFormat : nullptr, BrushOf(brush)));
}

Status TGPGraphics::DrawPath(const TGPPen* pen, const TGPGraphicsPath* path)
{
    return SetStatus(GdipDrawPath(nativeGraphics, PenOf(pen), path ? path->nativePath : nullptr));
}
Status TGPGraphics::FillPath(const TGPBrush* brush, const TGPGraphicsPath* path)
{
    return SetStatus(GdipFillPath(nativeGraphics, BrushOf(brush), path ? path->nativePath : nullptr));
}
Status TGPGraphics::DrawRectangle(const TGPPen* pen, const TGPRectF& r)
{
    return SetStatus(GdipDrawRectangle(nativeGraphics, PenOf(pen), r.X, r.Y, r.Width, r.Height));
}
Status TGPGraphics::DrawRectangle(const TGPPen* pen, const TGPRect& r)
{
    return SetStatus(GdipDrawRectangleI(nativeGraphics, PenOf(pen), r.X, r.Y, r.Width, r.Height));
}
Status TGPGraphics::FillRectangle(const TGPBrush* brush, REAL x, REAL y, REAL w, REAL h)
{
    return SetStatus(GdipFillRectangle(nativeGraphics, BrushOf(brush), x, y, w, h));
}
Status TGPGraphics::FillRectangle(const TGPBrush* brush, INT x, INT y, INT w, INT h)
{
    return SetStatus(GdipFillRectangleI(nativeGraphics, BrushOf(brush), x, y, w, h));
}
Status TGPGraphics::DrawLine(const TGPPen* pen, REAL x1, REAL y1, REAL x2, REAL y2)
{
    return SetStatus(GdipDrawLine(nativeGraphics, PenOf(pen), x1, y1, x2, y2));
}
Status TGPGraphics::DrawLine(const TGPPen* pen, INT x1, INT y1, INT x2, INT y2)
{
    return SetStatus(GdipDrawLineI(nativeGraphics, PenOf(pen), x1, y1, x2, y2));
}
Status TGPGraphics::DrawEllipse(const TGPPen* pen, const TGPRectF& r)
{
    return SetStatus(GdipDrawEllipse(nativeGraphics, PenOf(pen), r.X, r.Y, r.Width, r.Height));
}
Status TGPGraphics::DrawEllipse(const TGPPen* pen, INT x, INT y, INT w, INT h)
{
    return SetStatus(GdipDrawEllipseI(nativeGraphics, PenOf(pen), x, y, w, h));
}
Status TGPGraphics::FillEllipse(const TGPBrush* brush, const TGPRectF& r)
{
    return SetStatus(GdipFillEllipse(nativeGraphics, BrushOf(brush), r.X, r.Y, r.Width, r.Height));
}
Status TGPGraphics::FillEllipse(const TGPBrush* brush, INT x, INT y, INT w, INT h)
{
    return SetStatus(GdipFillEllipseI(nativeGraphics, BrushOf(brush), x, y, w, h));
}
Status TGPGraphics::DrawArc(const TGPPen* pen, const TGPRectF& r, REAL start, REAL sweep)
{
    return SetStatus(GdipDrawArc(nativeGraphics, PenOf(pen), r.X, r.Y, r.Width, r.Height, start, sweep));
}
Status TGPGraphics::DrawArc(const TGPPen* pen, INT x, INT y, INT w, INT h, REAL start, REAL sweep)
{
    return SetStatus(GdipDrawArcI(nativeGraphics, PenOf(pen), x, y, w, h, start, sweep));
}
Status TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPointF* points, INT count, FillMode mode)
{
    return SetStatus(GdipFillPolygon(nativeGraphics, BrushOf(brush), points, count, mode));
}
Status TGPGraphics::FillPolygon(const TGPBrush* brush, const QPoint* points, INT count, FillMode mode)
{
    return SetStatus(GdipFillPolygonI(nativeGraphics, BrushOf(brush), points, count, mode));
}

Status TGPGraphics::DrawImage(TGPImage* image, REAL x, REAL y) { return SetStatus(GdipDrawImage(nativeGraphics, ImageOf(image), x, y)); }
Status TGPGraphics::DrawImage(TGPImage* image, INT x, INT y) { return SetStatus(GdipDrawImageI(nativeGraphics, ImageOf(image), x, y)); }
Status TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& r) { return DrawImage(image, r.X, r.Y, r.Width, r.Height); }
Status TGPGraphics::DrawImage(TGPImage* image, REAL x, REAL y, REAL w, REAL h)
{
    return SetStatus(GdipDrawImageRect(nativeGraphics, ImageOf(image), x, y, w, h));
}
Status TGPGraphics::DrawImage(TGPImage* image, INT x, INT y, INT w, INT h)
{
    return SetStatus(GdipDrawImageRectI(nativeGraphics, ImageOf(image), x, y, w, h));
}
Status TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& d, REAL sx, REAL sy, REAL sw, REAL sh, Unit unit,
                              const TGPImageAttributes* a)
{
    return SetStatus(GdipDrawImageRectRect(nativeGraphics, ImageOf(image), d.X, d.Y, d.Width, d.Height, sx, sy, sw, sh,
                                           unit, a ? a->nativeImageAttr : nullptr));
}
Status TGPGraphics::DrawImage(TGPImage* image, const TGPRect& d, INT sx, INT sy, INT sw, INT sh, Unit unit,
                              const TGPImageAttributes* a)
{
    return SetStatus(GdipDrawImageRectRectI(nativeGraphics, ImageOf(image), d.X, d.Y, d.Width, d.Height, sx, sy, sw, sh,
                                            unit, a ? a->nativeImageAttr : nullptr));
}
Status TGPGraphics::DrawImage(TGPImage* image, const TGPPointF* points, INT count, REAL sx, REAL sy, REAL sw, REAL sh,
                              Unit unit, const TGPImageAttributes* a)
{
    return SetStatus(GdipDrawImagePointsRect(nativeGraphics, ImageOf(image), points, count, sx, sy, sw, sh, unit,
                                             a ? a->nativeImageAttr : nullptr));
}

Status TGPGraphics::SetClip(const TGPRegion* region, CombineMode mode)
{
    return SetStatus(GdipSetClipRegion(nativeGraphics, region ? region->nativeRegion : nullptr, mode));
}
Status TGPGraphics::ExcludeClip(const TGPRectF& r)
{
    return SetStatus(GdipSetClipRect(nativeGraphics, r.X, r.Y, r.Width, r.Height, CombineModeExclude));
}
Status TGPGraphics::ExcludeClip(const TGPRegion* region)
{
    return SetStatus(GdipSetClipRegion(nativeGraphics, region ? region->nativeRegion : nullptr, CombineModeExclude));
}

TGPFont* TGPGraphics::MakeFont(const TFont& font)
{
    auto family = new TGPFontFamily(font.Name);
    const Status s = family->GetLastStatus();
    if (s == FontFamilyNotFound || s == FontStyleNotFound) {
        delete family;
        family = new TGPFontFamily(QStringLiteral("Arial"));
    }
    INT style = 0;
    if (font.Style & fsBold) style |= 1;
    if (font.Style & fsItalic) style |= 2;
    if (font.Style & fsUnderline) style |= 4;
    auto result = new TGPFont(family, REAL(font.Size), style, UnitPoint);
    delete family;
    return result;
}

TGPRectF TGPGraphics::TextBounds(const QString& text, const TFont& font)
{
    const std::unique_ptr<TGPFont> f(MakeFont(font));
    TGPRectF bounds;
    MeasureString(text, f.get(), MakeRectF(0, 0, 10000, 10000), nullptr, &bounds);
    return bounds;
}

int TGPGraphics::TextWidth(const QString& text, const TFont& font)
{
    return int(std::lround(TextBounds(text, font).Width));
}

int TGPGraphics::TextHeight(const QString& text, const TFont& font)
{
    return int(std::lround(TextBounds(text, font).Height));
}

int TGPGraphics::DrawText(const QString& text, const TGPStringFormat* format, TRect& rect, const TFont& font,
                          unsigned flags, TColor frameColor)
{
    TGPFont* f = MakeFont(font);
    TGPRectF measured;
    double correction = 0;
    if ((flags & DT_CALCRECT) || frameColor != clNone) {
        // The measured box is wider than the ink; larger fonts overshoot more.
        correction = 2;
        if (font.Size > 8) correction += std::round((font.Size - 8) / 1.5);
        SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
        QString probe = text;
        if (probe.size() >= 2 && probe.endsWith(QLatin1Char(' '))) probe[probe.size() - 1] = QLatin1Char('i');
        MeasureString(probe, f, MakeRectF(rect.Left, rect.Top, REAL(rect.Right - rect.Left + 1000), REAL(rect.Bottom - rect.Top)),
                      format, &measured);
        rect.Right = rect.Left + int(std::lround(measured.Width - correction));
        rect.Bottom = rect.Top + int(std::lround(measured.Height));
    }
    if (frameColor != clNone) {
        TGPSolidBrush frame(ColorToARGB(frameColor));
        FillRectangle(&frame, MakeRectF(REAL(rect.Left + 1), REAL(rect.Top), REAL(measured.Width - correction + 1), measured.Height));
    }
    if (!(flags & DT_CALCRECT)) {
        SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
        TGPSolidBrush ink(ColorToARGB(font.Color));
        DrawString(text, f, MakePointF(REAL(rect.Left), REAL(rect.Top)), format, &ink);
    }
    delete f;
    return rect.Bottom - rect.Top;
}
