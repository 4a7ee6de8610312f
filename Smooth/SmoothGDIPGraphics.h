#pragma once
// The graphics wrapper: drawing onto an open painter (the device context) or an image, and the
// four text helpers the components draw their captions with. Included by SmoothGDIP.h.

// The calculate-rectangle flag of DrawText: measure only.
constexpr unsigned DT_CALCRECT = 0x400;

class TGPGraphics : public TGdiplusBase {
public:
    explicit TGPGraphics(QPainter* hdc);
    explicit TGPGraphics(TGPImage* image);
    static TGPGraphics* FromImage(TGPImage* image) { return new TGPGraphics(image); }
    ~TGPGraphics();
    TGPGraphics(const TGPGraphics&) = delete;
    TGPGraphics& operator=(const TGPGraphics&) = delete;

    Status Clear(ARGB color) { return SetStatus(gdip::GdipGraphicsClear(nativeGraphics, color)); }
    Status Flush(INT intention = 0) { return SetStatus(gdip::GdipFlush(nativeGraphics, intention)); }
    QPainter* GetHDC();
    Status ReleaseHDC(QPainter* hdc) { return SetStatus(gdip::GdipReleaseDC(nativeGraphics, hdc)); }
    Status SetTextRenderingHint(INT hint) { return SetStatus(gdip::GdipSetTextRenderingHint(nativeGraphics, hint)); }
    INT GetTextRenderingHint();
    Status SetSmoothingMode(INT mode) { return SetStatus(gdip::GdipSetSmoothingMode(nativeGraphics, mode)); }
    INT GetSmoothingMode();
    Status SetPixelOffsetMode(INT mode) { return SetStatus(gdip::GdipSetPixelOffsetMode(nativeGraphics, mode)); }
    INT GetPixelOffsetMode();
    Status SetCompositingQuality(INT q) { return SetStatus(gdip::GdipSetCompositingQuality(nativeGraphics, q)); }
    INT GetCompositingQuality();
    Status SetInterpolationMode(INT mode) { return SetStatus(gdip::GdipSetInterpolationMode(nativeGraphics, mode)); }

    Status MeasureString(const QString& text, const TGPFont* font, const TGPRectF& layout, const TGPStringFormat* format,
                         TGPRectF* bounds, INT* codepointsFitted = nullptr, INT* linesFilled = nullptr);
    Status MeasureString(const QString& text, const TGPFont* font, const TGPRectF& layout, TGPRectF* bounds)
    {
        return MeasureString(text, font, layout, nullptr, bounds);
    }
    Status MeasureString(const QString& text, const TGPFont* font, const TGPPointF& origin, const TGPStringFormat* format,
                         TGPRectF* bounds)
    {
        return MeasureString(text, font, MakeRectF(origin.X, origin.Y, 0, 0), format, bounds);
    }
    Status MeasureString(const QString& text, const TGPFont* font, const TGPPointF& origin, TGPRectF* bounds)
    {
        return MeasureString(text, font, origin, nullptr, bounds);
    }
    Status DrawString(const QString& text, const TGPFont* font, const TGPRectF& layout, const TGPStringFormat* format,
                      const TGPBrush* brush);
    Status DrawString(const QString& text, const TGPFont* font, const TGPPointF& origin, const TGPBrush* brush)
    {
        return DrawString(text, font, MakeRectF(origin.X, origin.Y, 0, 0), nullptr, brush);
    }
    Status DrawString(const QString& text, const TGPFont* font, const TGPPointF& origin, const TGPStringFormat* format,
                      const TGPBrush* brush)
    {
        return DrawString(text, font, MakeRectF(origin.X, origin.Y, 0, 0), format, brush);
    }
    Status DrawString(const QString& text, const TGPFont* font, const TGPRectF& layout, const TGPBrush* brush)
    {
        return DrawString(text, font, layout, nullptr, brush);
    }

    Status DrawPath(const TGPPen* pen, const TGPGraphicsPath* path);
    Status FillPath(const TGPBrush* brush, const TGPGraphicsPath* path);
    Status DrawRectangle(const TGPPen* pen, const TGPRectF& r);
    Status DrawRectangle(const TGPPen* pen, const TGPRect& r);
    Status FillRectangle(const TGPBrush* brush, const TGPRectF& r) { return FillRectangle(brush, r.X, r.Y, r.Width, r.Height); }
    Status FillRectangle(const TGPBrush* brush, REAL x, REAL y, REAL w, REAL h);
    Status FillRectangle(const TGPBrush* brush, const TGPRect& r) { return FillRectangle(brush, r.X, r.Y, r.Width, r.Height); }
    Status FillRectangle(const TGPBrush* brush, INT x, INT y, INT w, INT h);
    Status DrawLine(const TGPPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
    Status DrawLine(const TGPPen* pen, INT x1, INT y1, INT x2, INT y2);
    Status DrawEllipse(const TGPPen* pen, const TGPRectF& r);
    Status DrawEllipse(const TGPPen* pen, INT x, INT y, INT w, INT h);
    Status FillEllipse(const TGPBrush* brush, const TGPRectF& r);
    Status FillEllipse(const TGPBrush* brush, INT x, INT y, INT w, INT h);
    Status DrawArc(const TGPPen* pen, const TGPRectF& r, REAL start, REAL sweep);
    Status DrawArc(const TGPPen* pen, INT x, INT y, INT w, INT h, REAL start, REAL sweep);
    Status FillPolygon(const TGPBrush* brush, const TGPPointF* points, INT count, gdip::FillMode mode = gdip::FillModeAlternate);
    Status FillPolygon(const TGPBrush* brush, const QPoint* points, INT count, gdip::FillMode mode = gdip::FillModeAlternate);

    Status DrawImage(TGPImage* image, REAL x, REAL y);
    Status DrawImage(TGPImage* image, INT x, INT y);
    Status DrawImage(TGPImage* image, const TGPRectF& r);
    Status DrawImage(TGPImage* image, REAL x, REAL y, REAL w, REAL h);
    Status DrawImage(TGPImage* image, INT x, INT y, INT w, INT h);
    Status DrawImage(TGPImage* image, const TGPRectF& dest, REAL sx, REAL sy, REAL sw, REAL sh, gdip::Unit unit,
                     const TGPImageAttributes* attributes = nullptr);
    Status DrawImage(TGPImage* image, const TGPRect& dest, INT sx, INT sy, INT sw, INT sh, gdip::Unit unit,
                     const TGPImageAttributes* attributes = nullptr);
    Status DrawImage(TGPImage* image, const TGPPointF* points, INT count, REAL sx, REAL sy, REAL sw, REAL sh,
                     gdip::Unit unit, const TGPImageAttributes* attributes = nullptr);
    Status DrawImageRect(TGPImage* image, REAL x, REAL y, REAL w, REAL h) { return DrawImage(image, x, y, w, h); }

    Status SetClip(const TGPRegion* region, gdip::CombineMode mode = gdip::CombineModeReplace);
    Status ExcludeClip(const TGPRectF& r);
    Status ExcludeClip(const TGPRegion* region);
    Status ResetClip() { return SetStatus(gdip::GdipResetClip(nativeGraphics)); }

    // A new font from a control's font: its family (else "Arial"), style and size in points.
    TGPFont* MakeFont(const TFont& font);
    // The box the text measures in that font; its width or height to whole pixels.
    TGPRectF TextBounds(const QString& text, const TFont& font);
    int TextWidth(const QString& text, const TFont& font);
    int TextHeight(const QString& text, const TFont& font);
    // Draws (or with DT_CALCRECT only measures) the text at the rectangle's top-left, optionally on
    // a frame of frameColor; the rectangle's right and bottom get the measured extent. Returns the
    // rectangle's height.
    int DrawText(const QString& text, const TGPStringFormat* format, TRect& rect, const TFont& font, unsigned flags,
                 TColor frameColor = clNone);

    gdip::GpGraphics* nativeGraphics = nullptr;
    SMOOTH_STATUS_RULE
};
