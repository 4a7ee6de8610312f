#pragma once
// Brushes, pens, paths, regions, images, matrices, image attributes and the graphics itself.
// Included by SmoothGDIP.h.
#include <vector>

class TGPImage : public TGdiplusBase {
public:
    // From a file or from an image file's bytes; the colour-managed forms decode the same here.
    TGPImage(const QString& fileName, bool useEmbeddedColorManagement = false);
    TGPImage(const QByteArray& stream, bool useEmbeddedColorManagement = false);
    virtual ~TGPImage();
    TGPImage(const TGPImage&) = delete;
    TGPImage& operator=(const TGPImage&) = delete;
    std::uint32_t GetWidth();
    std::uint32_t GetHeight();
    INT GetPixelFormat();
    INT GetPixelDepth() { return (GetPixelFormat() >> 8) & 0xFF; }
    bool HasAlphaChannel() { return (GetPixelFormat() >> 18) & 1; }
    bool HasPalette() { return (GetPixelFormat() >> 16) & 1; }
    TGPImageFormat GetFormat();
    Status Save(const QString& fileName, const char* format) { return SetStatus(gdip::GdipSaveImageToFile(nativeImage, fileName, format)); }
    Status Save(QByteArray* stream, const char* format) { return SetStatus(gdip::GdipSaveImageToStream(nativeImage, stream, format)); }
    Status SaveAdd() { return SetStatus(gdip::NotImplemented); }
    Status RotateFlip(INT rotateFlip) { return SetStatus(gdip::GdipImageRotateFlip(nativeImage, rotateFlip)); }
    gdip::GpImage* nativeImage = nullptr;
    Status loadStatus = gdip::Ok;
    SMOOTH_STATUS_RULE
protected:
    TGPImage(gdip::GpImage* native, Status status) : nativeImage(native) { lastResult = status; }
};

class TGPBitmap : public TGPImage {
public:
    TGPBitmap(const QByteArray& stream, bool useEmbeddedColorManagement = false);
    TGPBitmap(INT width, INT height, INT format = gdip::PixelFormat32bppARGB);
    static TGPBitmap* FromStream(const QByteArray& stream, bool useEmbeddedColorManagement = false)
    {
        return new TGPBitmap(stream, useEmbeddedColorManagement);
    }
    // The pixels as a Qt image (the stand-in for a device bitmap).
    Status GetHBITMAP(ARGB background, QImage* image);
    Status GetPixel(INT x, INT y, ARGB* color) { return SetStatus(gdip::GdipBitmapGetPixel(nativeImage, x, y, color)); }
    Status SetPixel(INT x, INT y, ARGB color) { return SetStatus(gdip::GdipBitmapSetPixel(nativeImage, x, y, color)); }
};

class TGPBrush : public TGdiplusBase {
public:
    TGPBrush() = default;
    virtual ~TGPBrush();
    TGPBrush(const TGPBrush&) = delete;
    TGPBrush& operator=(const TGPBrush&) = delete;
    gdip::GpBrush* nativeBrush = nullptr;
    SMOOTH_STATUS_RULE
protected:
    TGPBrush(gdip::GpBrush* native, Status status) : nativeBrush(native) { lastResult = status; }
    friend class TGPPen;
};

class TGPSolidBrush : public TGPBrush {
public:
    explicit TGPSolidBrush(ARGB color);
    TGPSolidBrush() = default;
};

class TGPHatchBrush : public TGPBrush {
public:
    TGPHatchBrush(INT style, ARGB fore, ARGB back = 0xFF000000);
    TGPHatchBrush() = default;
    INT GetHatchStyle();
    ARGB GetForegroundColor();
    ARGB GetBackgroundColor();
};

class TGPMatrix : public TGdiplusBase {
public:
    TGPMatrix();
    TGPMatrix(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
    TGPMatrix(const TGPRectF& rect, const TGPPointF* points);
    TGPMatrix(const TGPRect& rect, const QPoint* points);
    ~TGPMatrix();
    TGPMatrix(const TGPMatrix&) = delete;
    TGPMatrix& operator=(const TGPMatrix&) = delete;
    TGPMatrix* Clone();
    Status GetElements(REAL* e) { return SetStatus(gdip::GdipGetMatrixElements(nativeMatrix, e)); }
    Status SetElements(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy)
    {
        return SetStatus(gdip::GdipSetMatrixElements(nativeMatrix, m11, m12, m21, m22, dx, dy));
    }
    REAL OffsetX();
    REAL OffsetY();
    Status Reset() { return SetElements(1, 0, 0, 1, 0, 0); }
    Status Multiply(const TGPMatrix* m, gdip::MatrixOrder o = gdip::MatrixOrderPrepend)
    {
        return SetStatus(gdip::GdipMultiplyMatrix(nativeMatrix, m ? m->nativeMatrix : nullptr, o));
    }
    Status Translate(REAL dx, REAL dy, gdip::MatrixOrder o = gdip::MatrixOrderPrepend)
    {
        return SetStatus(gdip::GdipTranslateMatrix(nativeMatrix, dx, dy, o));
    }
    Status Scale(REAL sx, REAL sy, gdip::MatrixOrder o = gdip::MatrixOrderPrepend)
    {
        return SetStatus(gdip::GdipScaleMatrix(nativeMatrix, sx, sy, o));
    }
    Status Rotate(REAL angle, gdip::MatrixOrder o = gdip::MatrixOrderPrepend)
    {
        return SetStatus(gdip::GdipRotateMatrix(nativeMatrix, angle, o));
    }
    Status RotateAt(REAL angle, const TGPPointF& center, gdip::MatrixOrder o = gdip::MatrixOrderPrepend);
    Status Shear(REAL shearX, REAL shearY, gdip::MatrixOrder o = gdip::MatrixOrderPrepend)
    {
        return SetStatus(gdip::GdipShearMatrix(nativeMatrix, shearX, shearY, o));
    }
    Status Invert() { return SetStatus(gdip::GdipInvertMatrix(nativeMatrix)); }
    Status TransformVectors(TGPPointF* pts, INT count = 1)
    {
        return SetStatus(gdip::GdipVectorTransformMatrixPoints(nativeMatrix, pts, count));
    }
    bool EqualMatrix(const TGPMatrix* other);
    Status TransformPoints(TGPPointF* pts, INT count = 1) { return SetStatus(gdip::GdipTransformMatrixPoints(nativeMatrix, pts, count)); }
    bool IsInvertible();
    bool IsIdentity();
    gdip::GpMatrix* nativeMatrix = nullptr;
    SMOOTH_STATUS_RULE
protected:
    // A clone: the copy the flat layer made, and how making it went.
    TGPMatrix(gdip::GpMatrix* native, Status status) : nativeMatrix(native) { lastResult = status; }
};

class TGPTextureBrush : public TGPBrush {
public:
    TGPTextureBrush(TGPImage* image, gdip::WrapMode wrap = gdip::WrapModeTile);
    TGPTextureBrush(TGPImage* image, gdip::WrapMode wrap, const TGPRectF& source);
    TGPTextureBrush(TGPImage* image, const TGPRectF& source, TGPImageAttributes* attributes = nullptr);
    TGPTextureBrush() = default;
    Status SetTransform(const TGPMatrix* m) { return SetStatus(gdip::GdipSetTextureTransform(nativeBrush, m ? m->nativeMatrix : nullptr)); }
    Status GetTransform(TGPMatrix* m) { return SetStatus(gdip::GdipGetTextureTransform(nativeBrush, m ? m->nativeMatrix : nullptr)); }
    Status ResetTransform() { return SetStatus(gdip::GdipResetTextureTransform(nativeBrush)); }
    Status MultiplyTransform(const TGPMatrix* m, gdip::MatrixOrder o = gdip::MatrixOrderPrepend)
    {
        return SetStatus(gdip::GdipMultiplyTextureTransform(nativeBrush, m ? m->nativeMatrix : nullptr, o));
    }
    Status TranslateTransform(REAL dx, REAL dy, gdip::MatrixOrder o = gdip::MatrixOrderPrepend)
    {
        return SetStatus(gdip::GdipTranslateTextureTransform(nativeBrush, dx, dy, o));
    }
    Status ScaleTransform(REAL sx, REAL sy, gdip::MatrixOrder o = gdip::MatrixOrderPrepend)
    {
        return SetStatus(gdip::GdipScaleTextureTransform(nativeBrush, sx, sy, o));
    }
    Status RotateTransform(REAL angle, gdip::MatrixOrder o = gdip::MatrixOrderPrepend)
    {
        return SetStatus(gdip::GdipRotateTextureTransform(nativeBrush, angle, o));
    }
    Status SetWrapMode(gdip::WrapMode w) { return SetStatus(gdip::GdipSetTextureWrapMode(nativeBrush, w)); }
    gdip::WrapMode GetWrapMode();
    TGPImage* GetImage();
};

// Gamma, blend and preset colours, shared by the two gradient kinds.
class TGPGradientBrush : public TGPBrush {
public:
    Status SetGammaCorrection(bool on) { return SetStatus(gdip::GdipSetGammaCorrection(nativeBrush, on)); }
    bool GetGammaCorrection();
    INT GetBlendCount();
    Status SetBlend(const REAL* factors, const REAL* positions, INT count)
    {
        return SetStatus(gdip::GdipSetBlend(nativeBrush, factors, positions, count));
    }
    Status GetBlend(REAL* factors, REAL* positions, INT count) { return SetStatus(gdip::GdipGetBlend(nativeBrush, factors, positions, count)); }
    INT GetInterpolationColorCount();
    Status SetInterpolationColors(const ARGB* colors, const REAL* positions, INT count)
    {
        return SetStatus(gdip::GdipSetPresetBlend(nativeBrush, colors, positions, count));
    }
    Status GetInterpolationColors(ARGB* colors, REAL* positions, INT count)
    {
        return SetStatus(gdip::GdipGetPresetBlend(nativeBrush, colors, positions, count));
    }
    Status SetBlendBellShape(REAL focus, REAL scale = 1) { return SetStatus(gdip::GdipSetSigmaBlend(nativeBrush, focus, scale)); }
    Status SetBlendTriangularShape(REAL focus, REAL scale = 1) { return SetStatus(gdip::GdipSetLinearBlend(nativeBrush, focus, scale)); }
};

class TGPLinearGradientBrush : public TGPGradientBrush {
public:
    TGPLinearGradientBrush(const TGPPointF& p1, const TGPPointF& p2, ARGB c1, ARGB c2);
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB c1, ARGB c2, gdip::LinearGradientMode mode);
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB c1, ARGB c2, REAL angle, bool isAngleScalable = false);
    TGPLinearGradientBrush(const QPoint& p1, const QPoint& p2, ARGB c1, ARGB c2);
    TGPLinearGradientBrush(const TGPRect& rect, ARGB c1, ARGB c2, gdip::LinearGradientMode mode);
    TGPLinearGradientBrush(const TGPRect& rect, ARGB c1, ARGB c2, REAL angle, bool isAngleScalable = false);
    TGPLinearGradientBrush() = default;
};

class TGPPathGradientBrush : public TGPGradientBrush {
public:
    TGPPathGradientBrush(const TGPPointF* points, INT count, gdip::WrapMode wrap = gdip::WrapModeClamp);
    TGPPathGradientBrush(const QPoint* points, INT count, gdip::WrapMode wrap = gdip::WrapModeClamp);
    explicit TGPPathGradientBrush(const TGPGraphicsPath* path);
    Status SetCenterColor(ARGB c) { return SetStatus(gdip::GdipSetPathGradientCenterColor(nativeBrush, c)); }
    ARGB GetCenterColor();
    INT GetPointCount();
    Status SetSurroundColors(const ARGB* colors, INT* count)
    {
        return SetStatus(gdip::GdipSetPathGradientSurroundColorsWithCount(nativeBrush, colors, count));
    }
    Status GetSurroundColors(ARGB* colors, INT* count)
    {
        return SetStatus(gdip::GdipGetPathGradientSurroundColorsWithCount(nativeBrush, colors, count));
    }
    Status SetCenterPoint(const TGPPointF& p) { return SetStatus(gdip::GdipSetPathGradientCenterPoint(nativeBrush, &p)); }
    Status SetCenterPoint(const QPoint& p) { return SetCenterPoint(MakePointF(REAL(p.x()), REAL(p.y()))); }
    Status GetCenterPoint(TGPPointF* p) { return SetStatus(gdip::GdipGetPathGradientCenterPoint(nativeBrush, p)); }
    Status GetCenterPoint(QPoint* p)
    {
        TGPPointF f{};
        const Status s = GetCenterPoint(&f);
        if (p) *p = QPoint(int(f.X), int(f.Y));
        return s;
    }
    Status SetWrapMode(gdip::WrapMode w) { return SetStatus(gdip::GdipSetPathGradientWrapMode(nativeBrush, w)); }
    gdip::WrapMode GetWrapMode();
};

class TGPPen : public TGdiplusBase {
public:
    TGPPen(ARGB color, REAL width = 1.0f);
    TGPPen(const TGPBrush* brush, REAL width = 1.0f);
    ~TGPPen();
    TGPPen(const TGPPen&) = delete;
    TGPPen& operator=(const TGPPen&) = delete;
    // A new brush wrapper of the class that matches the pen's fill; the caller frees it.
    TGPBrush* GetBrush();
    gdip::PenType GetPenType();
    Status SetDashStyle(gdip::DashStyle s) { return SetStatus(gdip::GdipSetPenDashStyle(nativePen, s)); }
    gdip::DashStyle GetDashStyle();
    Status SetEndCap(INT cap) { return SetStatus(gdip::GdipSetPenEndCap(nativePen, cap)); }
    gdip::GpPen* nativePen = nullptr;
    SMOOTH_STATUS_RULE
};

class TGPGraphicsPath : public TGdiplusBase {
public:
    explicit TGPGraphicsPath(gdip::FillMode mode = gdip::FillModeAlternate);
    ~TGPGraphicsPath();
    TGPGraphicsPath(const TGPGraphicsPath&) = delete;
    TGPGraphicsPath& operator=(const TGPGraphicsPath&) = delete;
    Status CloseFigure() { return SetStatus(gdip::GdipClosePathFigure(nativePath)); }
    Status AddLine(REAL x1, REAL y1, REAL x2, REAL y2) { return SetStatus(gdip::GdipAddPathLine(nativePath, x1, y1, x2, y2)); }
    Status AddLine(const TGPPointF& a, const TGPPointF& b) { return AddLine(a.X, a.Y, b.X, b.Y); }
    Status AddLines(const QPoint* points, INT count) { return SetStatus(gdip::GdipAddPathLine2I(nativePath, points, count)); }
    Status AddArc(REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep)
    {
        return SetStatus(gdip::GdipAddPathArc(nativePath, x, y, w, h, start, sweep));
    }
    Status AddArc(const TGPRectF& r, REAL start, REAL sweep) { return AddArc(r.X, r.Y, r.Width, r.Height, start, sweep); }
    Status AddRectangle(const TGPRectF& r) { return SetStatus(gdip::GdipAddPathRectangle(nativePath, r.X, r.Y, r.Width, r.Height)); }
    Status AddRectangle(const TGPRect& r) { return SetStatus(gdip::GdipAddPathRectangleI(nativePath, r.X, r.Y, r.Width, r.Height)); }
    Status AddEllipse(REAL x, REAL y, REAL w, REAL h) { return SetStatus(gdip::GdipAddPathEllipse(nativePath, x, y, w, h)); }
    Status AddEllipse(const TGPRectF& r) { return AddEllipse(r.X, r.Y, r.Width, r.Height); }
    Status AddPie(REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep)
    {
        return SetStatus(gdip::GdipAddPathPie(nativePath, x, y, w, h, start, sweep));
    }
    Status AddPolygon(const TGPPointF* p, INT count) { return SetStatus(gdip::GdipAddPathPolygon(nativePath, p, count)); }
    Status AddPolygon(const QPoint* p, INT count) { return SetStatus(gdip::GdipAddPathPolygonI(nativePath, p, count)); }
    Status AddCurve(const TGPPointF* p, INT count) { return AddCurve(p, count, 0.5f); }
    Status AddCurve(const TGPPointF* p, INT count, REAL tension) { return SetStatus(gdip::GdipAddPathCurve(nativePath, p, count, tension)); }
    Status AddCurve(const TGPPointF* p, INT count, INT offset, INT segments, REAL tension)
    {
        if (offset < 0 || segments < 1 || offset + segments >= count) return SetStatus(gdip::InvalidParameter);
        return AddCurve(p + offset, segments + 1, tension);
    }
    Status AddBezier(const TGPPointF& a, const TGPPointF& b, const TGPPointF& c, const TGPPointF& d)
    {
        return AddBezier(a.X, a.Y, b.X, b.Y, c.X, c.Y, d.X, d.Y);
    }
    Status AddBezier(REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4)
    {
        return SetStatus(gdip::GdipAddPathBezier(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
    }
    Status AddBeziers(const TGPPointF* p, INT count) { return SetStatus(gdip::GdipAddPathBeziers(nativePath, p, count)); }
    gdip::GpPath* nativePath = nullptr;
    SMOOTH_STATUS_RULE
};

class TGPRegion : public TGdiplusBase {
public:
    explicit TGPRegion(const TGPRectF& rect);
    explicit TGPRegion(const TGPGraphicsPath* path);
    ~TGPRegion();
    TGPRegion(const TGPRegion&) = delete;
    TGPRegion& operator=(const TGPRegion&) = delete;
    Status Exclude(const TGPGraphicsPath* path)
    {
        return SetStatus(gdip::GdipCombineRegionPath(nativeRegion, path ? path->nativePath : nullptr, gdip::CombineModeExclude));
    }
    Status Union(const TGPRegion* region)
    {
        return SetStatus(gdip::GdipCombineRegionRegion(nativeRegion, region ? region->nativeRegion : nullptr, gdip::CombineModeUnion));
    }
    gdip::GpRegion* nativeRegion = nullptr;
    SMOOTH_STATUS_RULE
};

class TGPImageAttributes : public TGdiplusBase {
public:
    TGPImageAttributes();
    ~TGPImageAttributes();
    TGPImageAttributes(const TGPImageAttributes&) = delete;
    TGPImageAttributes& operator=(const TGPImageAttributes&) = delete;
    TGPImageAttributes* Clone();
    Status SetToIdentity() { return Reset(); }
    Status Reset() { return SetStatus(gdip::GdipResetImageAttributes(nativeImageAttr)); }
    Status SetColorKey(ARGB low, ARGB high) { return SetStatus(gdip::GdipSetImageAttributesColorKeys(nativeImageAttr, true, low, high)); }
    Status ClearColorKey() { return SetStatus(gdip::GdipSetImageAttributesColorKeys(nativeImageAttr, false, 0, 0)); }
    Status SetWrapMode(gdip::WrapMode w) { return SetStatus(gdip::GdipSetImageAttributesWrapMode(nativeImageAttr, w)); }
    Status SetColorMatrix(const gdip::ColorMatrix* m, INT flags = 0)
    {
        return SetStatus(gdip::GdipSetImageAttributesColorMatrix(nativeImageAttr, true, m, nullptr, flags));
    }
    Status ClearColorMatrix() { return SetStatus(gdip::GdipSetImageAttributesColorMatrix(nativeImageAttr, false, nullptr, nullptr, 0)); }
    Status SetColorMatrices(const gdip::ColorMatrix* m, const gdip::ColorMatrix* gray, INT flags = 0)
    {
        return SetStatus(gdip::GdipSetImageAttributesColorMatrix(nativeImageAttr, true, m, gray, flags));
    }
    Status ClearColorMatrices() { return ClearColorMatrix(); }
    Status SetThreshold(REAL t) { return SetStatus(gdip::GdipSetImageAttributesThreshold(nativeImageAttr, true, t)); }
    Status ClearThreshold() { return SetStatus(gdip::GdipSetImageAttributesThreshold(nativeImageAttr, false, 0)); }
    Status SetGamma(REAL g) { return SetStatus(gdip::GdipSetImageAttributesGamma(nativeImageAttr, true, g)); }
    Status ClearGamma() { return SetStatus(gdip::GdipSetImageAttributesGamma(nativeImageAttr, false, 0)); }
    Status SetNoOp() { return SetStatus(gdip::GdipSetImageAttributesNoOp(nativeImageAttr, true)); }
    Status ClearNoOp() { return SetStatus(gdip::GdipSetImageAttributesNoOp(nativeImageAttr, false)); }
    Status SetOutputChannel(INT flags) { return SetStatus(gdip::GdipSetImageAttributesOutputChannel(nativeImageAttr, true, flags)); }
    Status ClearOutputChannel() { return SetStatus(gdip::GdipSetImageAttributesOutputChannel(nativeImageAttr, false, 0)); }
    Status SetOutputChannelColorProfile(const QString& name)
    {
        return SetStatus(gdip::GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, true, name));
    }
    Status ClearOutputChannelColorProfile()
    {
        return SetStatus(gdip::GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, false, QString()));
    }
    // Adjust type 0 is the default, 2 the brush.
    Status SetRemapTable(INT count, const ARGB* map, INT adjustType = 0)
    {
        return SetStatus(gdip::GdipSetImageAttributesRemapTable(nativeImageAttr, adjustType, true, count, map));
    }
    Status ClearRemapTable(INT adjustType = 0)
    {
        return SetStatus(gdip::GdipSetImageAttributesRemapTable(nativeImageAttr, adjustType, false, 0, nullptr));
    }
    Status SetBrushRemapTable(INT count, const ARGB* map) { return SetRemapTable(count, map, 2); }
    Status ClearBrushRemapTable() { return ClearRemapTable(2); }
    Status GetAdjustedPalette(QList<QRgb>* palette, INT adjustType)
    {
        return SetStatus(gdip::GdipGetImageAttributesAdjustedPalette(nativeImageAttr, palette, adjustType));
    }
    gdip::GpImageAttributes* nativeImageAttr = nullptr;
    SMOOTH_STATUS_RULE
protected:
    // A clone: the copy the flat layer made, and how making it went.
    TGPImageAttributes(gdip::GpImageAttributes* native, Status status) : nativeImageAttr(native) { lastResult = status; }
};

#include "Smooth/SmoothGDIPGraphics.h"
