#include "Smooth/SmoothGDIP.h"

#include "platform/vcl/PictureFile.h"
#include "platform/vcl/SafeWrite.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

using namespace gdip;

namespace {

struct StartupState {
    std::uintptr_t token = 0;
    int counter = 0;
};
StartupState startup;

// The program starts the drawing library before any window exists and stops it at exit.
struct UnitLife {
    UnitLife() { SmoothGDIPInitialization(); }
    ~UnitLife() { SmoothGDIPFinalization(); }
} unitLife;

}  // namespace

void SmoothGDIPInitialization()
{
    if (startup.counter-- != 0) return;
    GdiplusStartup(&startup.token);
    GdiplusNotificationHook(&startup.token);
}

void SmoothGDIPFinalization()
{
    if (++startup.counter != 0) return;
    GdiplusNotificationUnhook(startup.token);
    GdiplusShutdown(startup.token);
}

bool SmoothGDIPStarted() { return GdiplusStarted(); }

void* TGdiplusBase::operator new(std::size_t size)
{
    void* memory = GdipAlloc(size);
    if (!memory) {
        GdiplusStartup(&startup.token);
        memory = GdipAlloc(size);
    }
    if (!memory) throw std::bad_alloc();
    return memory;
}

void TGdiplusBase::operator delete(void* memory) { GdipFree(memory); }

TGPRectF MakeRectF(REAL x, REAL y, REAL width, REAL height) { return {x, y, width, height}; }

int SaturatedRound(double v)
{
    if (std::isnan(v)) return 0;
    return int(std::nearbyint(std::clamp(v, double(INT_MIN), double(INT_MAX))));
}
TGPPointF MakePointF(REAL x, REAL y) { return {x, y}; }

ARGB MakeColor(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return (ARGB(a) << 24) | (ARGB(r) << 16) | (ARGB(g) << 8) | ARGB(b);
}

TColor ColorToRGB(TColor color)
{
    if (color >= 0) return color;
    // The system colours the components use, as this desktop shows them.
    switch (color & 0xFF) {
    case 5: return clWindow;      // window background
    case 8: return clBlack;       // window text
    case 15: return clBtnFace;    // button face
    case 16: return 0xA0A0A0;     // button shadow
    case 18: return clBlack;      // button text
    case 20: return clWhite;      // button highlight
    case 13: return 0xD77800;     // selection
    default: return clBtnFace;
    }
}

ARGB MakeColorFromTColor(std::uint8_t a, TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return MakeColor(a, std::uint8_t(rgb), std::uint8_t(rgb >> 8), std::uint8_t(rgb >> 16));
}

ARGB ColorToARGB(TColor color) { return MakeColorFromTColor(255, color); }

// Fonts and string formats

TGPFontFamily::TGPFontFamily(const QString& name, TGPFontCollection* collection)
{
    lastResult = GdipCreateFontFamilyFromName(name, collection ? collection->nativeFontCollection : nullptr, &nativeFamily);
}
TGPFontFamily::~TGPFontFamily() { GdipDeleteFontFamily(nativeFamily); }

TGPFont::TGPFont(const TGPFontFamily* family, REAL emSize, INT style, Unit unit)
{
    lastResult = GdipCreateFont(family ? family->nativeFamily : nullptr, emSize, style, unit, &nativeFont);
}
TGPFont::~TGPFont() { GdipDeleteFont(nativeFont); }

TGPStringFormat::TGPStringFormat(INT flags, INT language)
{
    lastError = GdipCreateStringFormat(flags, language, &nativeFormat);
}
TGPStringFormat::TGPStringFormat(const TGPStringFormat* format)
{
    lastError = GdipCloneStringFormat(format ? format->nativeFormat : nullptr, &nativeFormat);
}
TGPStringFormat::~TGPStringFormat() { GdipDeleteStringFormat(nativeFormat); }

// Images

TGPImage::TGPImage(const QString& fileName, bool)
{
    // Read whole as a regular file, then decoded from memory: a pipe or a device named in place
    // of a picture is refused at once instead of being handed to the decoder.
    std::string bytes;
    lastResult = ReadRegularFile(fileName, bytes, kMaxPictureFileBytes)
                     ? GdipLoadImageFromStream(QByteArray::fromStdString(bytes), &nativeImage)
                     : Win32Error;
}
TGPImage::TGPImage(const QByteArray& stream, bool) { lastResult = GdipLoadImageFromStream(stream, &nativeImage); }
TGPImage::~TGPImage() { GdipDisposeImage(nativeImage); }

std::uint32_t TGPImage::GetWidth()
{
    std::uint32_t w = 0;
    SetStatus(GdipGetImageWidth(nativeImage, &w));
    return w;
}
std::uint32_t TGPImage::GetHeight()
{
    std::uint32_t h = 0;
    SetStatus(GdipGetImageHeight(nativeImage, &h));
    return h;
}
INT TGPImage::GetPixelFormat() { return Query<INT>(GdipGetImagePixelFormat, nativeImage); }
TGPImageFormat TGPImage::GetFormat()
{
    RawFormat f = RawFormat::Undefined;
    SetStatus(GdipGetImageRawFormat(nativeImage, &f));
    switch (f) {
    case RawFormat::MemoryBMP: return ifMemoryBMP;
    case RawFormat::BMP: return ifBMP;
    case RawFormat::EMF: return ifEMF;
    case RawFormat::WMF: return ifWMF;
    case RawFormat::JPEG: return ifJPEG;
    case RawFormat::PNG: return ifPNG;
    case RawFormat::GIF: return ifGIF;
    case RawFormat::TIFF: return ifTIFF;
    case RawFormat::EXIF: return ifEXIF;
    case RawFormat::Icon: return ifIcon;
    default: return ifUndefined;
    }
}

TGPBitmap::TGPBitmap(const QByteArray& stream, bool) : TGPImage(nullptr, Ok)
{
    lastResult = GdipLoadImageFromStream(stream, &nativeImage);
}

TGPBitmap::TGPBitmap(INT width, INT height, INT format) : TGPImage(nullptr, Ok)
{
    lastResult = GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &nativeImage);
}

Status TGPBitmap::GetHBITMAP(ARGB background, QImage* image)
{
    if (!nativeImage || !image) return SetStatus(InvalidParameter);
    QImage out(nativeImage->image.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(ToColor(background));
    QPainter p(&out);
    p.drawImage(0, 0, nativeImage->image);
    *image = out;
    return Ok;
}

// Brushes

TGPBrush::~TGPBrush() { GdipDeleteBrush(nativeBrush); }

TGPSolidBrush::TGPSolidBrush(ARGB color)
{
    lastResult = GdipCreateSolidFill(color, &nativeBrush);
}

TGPHatchBrush::TGPHatchBrush(INT style, ARGB fore, ARGB back)
{
    lastResult = GdipCreateHatchBrush(style, fore, back, &nativeBrush);
}
INT TGPHatchBrush::GetHatchStyle() { return Query<INT>(GdipGetHatchStyle, nativeBrush); }
ARGB TGPHatchBrush::GetForegroundColor() { return Query<ARGB>(GdipGetHatchForegroundColor, nativeBrush); }
ARGB TGPHatchBrush::GetBackgroundColor() { return Query<ARGB>(GdipGetHatchBackgroundColor, nativeBrush); }

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrap)
{
    lastResult = GdipCreateTexture(image ? image->nativeImage : nullptr, wrap, &nativeBrush);
}
TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrap, const TGPRectF& r)
{
    lastResult = GdipCreateTexture2(image ? image->nativeImage : nullptr, wrap, r.X, r.Y, r.Width, r.Height, &nativeBrush);
}
TGPTextureBrush::TGPTextureBrush(TGPImage* image, const TGPRectF& r, TGPImageAttributes* attributes)
{
    lastResult = GdipCreateTextureIA(image ? image->nativeImage : nullptr, attributes ? attributes->nativeImageAttr : nullptr,
                                     r.X, r.Y, r.Width, r.Height, &nativeBrush);
}
WrapMode TGPTextureBrush::GetWrapMode()
{
    WrapMode w = WrapModeTile;
    SetStatus(GdipGetTextureWrapMode(nativeBrush, &w));
    return w;
}

namespace {
// An image wrapper around a handle another object gave out.
class TGPImageOf : public TGPImage {
public:
    TGPImageOf(GpImage* native, Status status) : TGPImage(native, status) {}
};
}  // namespace

TGPImage* TGPTextureBrush::GetImage()
{
    GpImage* native = nullptr;
    SetStatus(GdipGetTextureImage(nativeBrush, &native));
    try {
        return new TGPImageOf(native, lastResult);
    } catch (const std::bad_alloc&) {
        GdipDisposeImage(native);
        return nullptr;
    }
}

bool TGPGradientBrush::GetGammaCorrection()
{
    bool on = false;
    SetStatus(GdipGetGammaCorrection(nativeBrush, &on));
    return on;
}
INT TGPGradientBrush::GetBlendCount() { return Query<INT>(GdipGetBlendCount, nativeBrush); }
INT TGPGradientBrush::GetInterpolationColorCount() { return Query<INT>(GdipGetPresetBlendCount, nativeBrush); }

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPointF& p1, const TGPPointF& p2, ARGB c1, ARGB c2)
{
    lastResult = GdipCreateLineBrush(&p1, &p2, c1, c2, WrapModeTile, &nativeBrush);
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB c1, ARGB c2, LinearGradientMode mode)
{
    lastResult = GdipCreateLineBrushFromRect(&rect, c1, c2, mode, WrapModeTile, &nativeBrush);
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB c1, ARGB c2, REAL angle, bool scalable)
{
    lastResult = GdipCreateLineBrushFromRectWithAngle(&rect, c1, c2, angle, scalable, WrapModeTile, &nativeBrush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const QPoint& p1, const QPoint& p2, ARGB c1, ARGB c2)
{
    lastResult = GdipCreateLineBrushI(&p1, &p2, c1, c2, WrapModeTile, &nativeBrush);
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB c1, ARGB c2, LinearGradientMode mode)
{
    lastResult = GdipCreateLineBrushFromRectI(&rect, c1, c2, mode, WrapModeTile, &nativeBrush);
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB c1, ARGB c2, REAL angle, bool scalable)
{
    lastResult = GdipCreateLineBrushFromRectWithAngleI(&rect, c1, c2, angle, scalable, WrapModeTile, &nativeBrush);
}

TGPPathGradientBrush::TGPPathGradientBrush(const TGPPointF* points, INT count, WrapMode wrap)
{
    lastResult = GdipCreatePathGradient(points, count, wrap, &nativeBrush);
}
TGPPathGradientBrush::TGPPathGradientBrush(const QPoint* points, INT count, WrapMode wrap)
{
    lastResult = GdipCreatePathGradientI(points, count, wrap, &nativeBrush);
}
TGPPathGradientBrush::TGPPathGradientBrush(const TGPGraphicsPath* path)
{
    lastResult = GdipCreatePathGradientFromPath(path ? path->nativePath : nullptr, &nativeBrush);
}
ARGB TGPPathGradientBrush::GetCenterColor() { return Query<ARGB>(GdipGetPathGradientCenterColor, nativeBrush); }
INT TGPPathGradientBrush::GetPointCount() { return Query<INT>(GdipGetPathGradientPointCount, nativeBrush); }
WrapMode TGPPathGradientBrush::GetWrapMode()
{
    WrapMode w = WrapModeTile;
    SetStatus(GdipGetPathGradientWrapMode(nativeBrush, &w));
    return w;
}

// Pens

TGPPen::TGPPen(ARGB color, REAL width) { lastResult = GdipCreatePen1(color, width, UnitPixel, &nativePen); }
TGPPen::TGPPen(const TGPBrush* brush, REAL width)
{
    lastResult = GdipCreatePen2(brush ? brush->nativeBrush : nullptr, width, UnitPixel, &nativePen);
}
TGPPen::~TGPPen() { GdipDeletePen(nativePen); }

PenType TGPPen::GetPenType()
{
    PenType t = PenTypeSolidColor;
    SetStatus(GdipGetPenFillType(nativePen, &t));
    return t;
}

TGPBrush* TGPPen::GetBrush()
{
    TGPBrush* brush = nullptr;
    switch (GetPenType()) {
    case PenTypeSolidColor: brush = new TGPSolidBrush; break;
    case PenTypeHatchFill: brush = new TGPHatchBrush; break;
    case PenTypeTextureFill: brush = new TGPTextureBrush; break;
    case PenTypeLinearGradient: brush = new TGPLinearGradientBrush; break;
    default: brush = new TGPBrush; break;
    }
    brush->lastResult = SetStatus(GdipGetPenBrushFill(nativePen, &brush->nativeBrush));
    return brush;
}

DashStyle TGPPen::GetDashStyle()
{
    DashStyle s = DashStyleSolid;
    SetStatus(GdipGetPenDashStyle(nativePen, &s));
    return s;
}

// Paths and regions

TGPGraphicsPath::TGPGraphicsPath(FillMode mode) { lastResult = GdipCreatePath(mode, &nativePath); }
TGPGraphicsPath::~TGPGraphicsPath() { GdipDeletePath(nativePath); }

TGPRegion::TGPRegion(const TGPRectF& rect) { lastResult = GdipCreateRegionRect(&rect, &nativeRegion); }
TGPRegion::TGPRegion(const TGPGraphicsPath* path)
{
    lastResult = GdipCreateRegionPath(path ? path->nativePath : nullptr, &nativeRegion);
}
TGPRegion::~TGPRegion() { GdipDeleteRegion(nativeRegion); }

// Matrices and image attributes

TGPMatrix::TGPMatrix() { lastResult = GdipCreateMatrix(&nativeMatrix); }
TGPMatrix::TGPMatrix(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy)
{
    lastResult = GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &nativeMatrix);
}
TGPMatrix::TGPMatrix(const TGPRectF& rect, const TGPPointF* points)
{
    lastResult = GdipCreateMatrix3(&rect, points, &nativeMatrix);
}
TGPMatrix::TGPMatrix(const TGPRect& rect, const QPoint* points)
{
    lastResult = GdipCreateMatrix3I(&rect, points, &nativeMatrix);
}
bool TGPMatrix::EqualMatrix(const TGPMatrix* other)
{
    bool r = false;
    SetStatus(GdipIsMatrixEqual(nativeMatrix, other ? other->nativeMatrix : nullptr, &r));
    return r;
}
TGPMatrix::~TGPMatrix() { GdipDeleteMatrix(nativeMatrix); }
TGPMatrix* TGPMatrix::Clone()
{
    GpMatrix* clone = nullptr;
    const Status status = SetStatus(GdipCloneMatrix(nativeMatrix, &clone));
    return new TGPMatrix(clone, status);
}
REAL TGPMatrix::OffsetX()
{
    REAL e[6] = {};
    return SetStatus(GdipGetMatrixElements(nativeMatrix, e)) == Ok ? e[4] : 0;
}
REAL TGPMatrix::OffsetY()
{
    REAL e[6] = {};
    return SetStatus(GdipGetMatrixElements(nativeMatrix, e)) == Ok ? e[5] : 0;
}
Status TGPMatrix::RotateAt(REAL angle, const TGPPointF& c, MatrixOrder order)
{
    if (order == MatrixOrderAppend) {
        SetStatus(GdipTranslateMatrix(nativeMatrix, -c.X, -c.Y, order));
        SetStatus(GdipRotateMatrix(nativeMatrix, angle, order));
        return SetStatus(GdipTranslateMatrix(nativeMatrix, c.X, c.Y, order));
    }
    SetStatus(GdipTranslateMatrix(nativeMatrix, c.X, c.Y, order));
    SetStatus(GdipRotateMatrix(nativeMatrix, angle, order));
    return SetStatus(GdipTranslateMatrix(nativeMatrix, -c.X, -c.Y, order));
}
bool TGPMatrix::IsInvertible()
{
    bool r = false;
    SetStatus(GdipIsMatrixInvertible(nativeMatrix, &r));
    return r;
}
bool TGPMatrix::IsIdentity()
{
    bool r = false;
    SetStatus(GdipIsMatrixIdentity(nativeMatrix, &r));
    return r;
}

TGPImageAttributes::TGPImageAttributes() { lastResult = GdipCreateImageAttributes(&nativeImageAttr); }
TGPImageAttributes::~TGPImageAttributes() { GdipDisposeImageAttributes(nativeImageAttr); }
TGPImageAttributes* TGPImageAttributes::Clone()
{
    GpImageAttributes* clone = nullptr;
    const Status status = SetStatus(GdipCloneImageAttributes(nativeImageAttr, &clone));
    return new TGPImageAttributes(clone, status);
}
