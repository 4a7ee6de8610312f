// Images, texture brushes, image attributes, fonts and string formats.
#include "platform/gdiplus/GdiplusFlat.h"
#include "platform/vcl/SafeWrite.h"

#include <QBuffer>
#include <QFile>
#include <QFontDatabase>
#include <QImageReader>
#include <QImageWriter>
#include <unistd.h>

namespace gdip {

namespace {

// A decoded image may not exceed this many pixels: a header that claims more is a broken or
// hostile file, and decoding it would take gigabytes.
constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

RawFormat FormatOf(const QByteArray& name)
{
    if (name == "png") return RawFormat::PNG;
    if (name == "jpeg" || name == "jpg") return RawFormat::JPEG;
    if (name == "bmp") return RawFormat::BMP;
    if (name == "gif") return RawFormat::GIF;
    if (name == "tiff" || name == "tif") return RawFormat::TIFF;
    if (name == "ico" || name == "cur") return RawFormat::Icon;
    return RawFormat::Undefined;
}

GpStatus Decode(QIODevice* device, GpImage** image)
{
    if (!image) return InvalidParameter;
    QImageReader::setAllocationLimit(256);
    QImageReader reader(device);
    const QByteArray format = reader.format();
    const QSize size = reader.size();
    if (format.isEmpty()) return UnknownImageFormat;
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPixels) return OutOfMemory;
    QImage decoded = reader.read();
    if (decoded.isNull()) return UnknownImageFormat;
    *image = new GpImage{std::move(decoded), FormatOf(format)};
    return Ok;
}

const struct {
    const char* family;
    const char* standIns;
} kStandIns[] = {
    {"Arial", "Liberation Sans,Nimbus Sans,DejaVu Sans"},
    {"Tahoma", "Liberation Sans,DejaVu Sans Condensed,DejaVu Sans"},
    {"MS Sans Serif", "Liberation Sans,DejaVu Sans Condensed,DejaVu Sans"},
    {"Segoe UI", "Liberation Sans,DejaVu Sans"},
    {"Courier New", "Liberation Mono,Nimbus Mono PS,DejaVu Sans Mono"},
};

// The family as installed, a stand-in for a common desktop family, or empty.
QString InstalledOrStandIn(const QString& name)
{
    const QStringList families = QFontDatabase::families();
    for (const QString& f : families)
        if (f.compare(name, Qt::CaseInsensitive) == 0) return f;
    for (const auto& entry : kStandIns) {
        if (name.compare(QLatin1String(entry.family), Qt::CaseInsensitive) != 0) continue;
        for (const QString& s : QString::fromLatin1(entry.standIns).split(QLatin1Char(',')))
            if (families.contains(s, Qt::CaseInsensitive)) return s;
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }
    return {};
}

QImage Keyed(const QImage& source, const GpImageAttributes* a)
{
    if (!a || !a->colorKey) return source;
    QImage img = source.convertToFormat(QImage::Format_ARGB32);
    auto in = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = line[x];
            if (in(qRed(c), qRed(a->keyLow), qRed(a->keyHigh)) && in(qGreen(c), qGreen(a->keyLow), qGreen(a->keyHigh)) &&
                in(qBlue(c), qBlue(a->keyLow), qBlue(a->keyHigh)))
                line[x] = 0;
        }
    }
    return img;
}

}  // namespace

GpStatus GdipLoadImageFromFile(const QString& fileName, GpImage** image)
{
    // Decoded straight from the file, so that only what the decoder asks for is read.
    int fd = -1;
    if (!OpenRegularFile(fileName, fd)) return Win32Error;
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Win32Error;
    }
    return Decode(&f, image);
}

GpStatus GdipLoadImageFromStream(const QByteArray& bytes, GpImage** image)
{
    if (bytes.isEmpty()) return InvalidParameter;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return Decode(&buffer, image);
}

GpStatus GdipCreateBitmapFromScan0(INT width, INT height, INT stride, INT format, std::uint8_t* scan0, GpImage** bitmap)
{
    if (!bitmap || width <= 0 || height <= 0 || qint64(width) * height > kMaxPixels) return InvalidParameter;
    if (scan0 || stride != 0) return NotImplemented;  // only fresh pixel buffers are used
    QImage::Format f = format == PixelFormat32bppARGB  ? QImage::Format_ARGB32_Premultiplied
                       : format == PixelFormat32bppRGB ? QImage::Format_RGB32
                       : format == PixelFormat24bppRGB ? QImage::Format_RGB888
                                                       : QImage::Format_Invalid;
    if (f == QImage::Format_Invalid) return InvalidParameter;
    QImage img(width, height, f);
    if (img.isNull()) return OutOfMemory;
    img.fill(0);
    *bitmap = new GpImage{std::move(img), RawFormat::MemoryBMP};
    return Ok;
}

GpStatus GdipDisposeImage(GpImage* image)
{
    if (!image) return InvalidParameter;
    delete image;
    return Ok;
}

GpStatus GdipGetImageWidth(GpImage* image, std::uint32_t* width)
{
    if (!image || !width) return InvalidParameter;
    *width = std::uint32_t(image->image.width());
    return Ok;
}
GpStatus GdipGetImageHeight(GpImage* image, std::uint32_t* height)
{
    if (!image || !height) return InvalidParameter;
    *height = std::uint32_t(image->image.height());
    return Ok;
}
GpStatus GdipGetImagePixelFormat(GpImage* image, INT* format)
{
    if (!image || !format) return InvalidParameter;
    const QImage& img = image->image;
    *format = img.format() == QImage::Format_Indexed8 ? PixelFormat8bppIndexed
              : img.hasAlphaChannel()                 ? PixelFormat32bppARGB
              : img.depth() == 24                     ? PixelFormat24bppRGB
                                                      : PixelFormat32bppRGB;
    return Ok;
}
GpStatus GdipGetImageRawFormat(GpImage* image, RawFormat* format)
{
    if (!image || !format) return InvalidParameter;
    *format = image->format;
    return Ok;
}
GpStatus GdipSaveImageToFile(GpImage* image, const QString& fileName, const char* format)
{
    if (!image) return InvalidParameter;
    QByteArray bytes;
    GpStatus s = GdipSaveImageToStream(image, &bytes, format);
    if (s != Ok) return s;
    // A failed save leaves the old file as it was.
    return SafeWriteFile(fileName, bytes.toStdString()) ? Ok : Win32Error;
}
GpStatus GdipSaveImageToStream(GpImage* image, QByteArray* bytes, const char* format)
{
    if (!image || !bytes || image->image.isNull()) return InvalidParameter;
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly);
    return image->image.save(&buffer, format ? format : "PNG") ? Ok : GenericError;
}
GpStatus GdipImageRotateFlip(GpImage* image, INT rotateFlip)
{
    if (!image || rotateFlip < 0 || rotateFlip > 7) return InvalidParameter;
    QTransform t;
    t.rotate(90.0 * (rotateFlip & 3));
    QImage img = image->image.transformed(t);
    if (rotateFlip & 4) img = img.mirrored(true, false);
    image->image = img;
    return Ok;
}
GpStatus GdipBitmapGetPixel(GpImage* b, INT x, INT y, ARGB* color)
{
    if (!b || !color || !b->image.valid(x, y)) return InvalidParameter;
    *color = b->image.pixel(x, y);
    return Ok;
}
GpStatus GdipBitmapSetPixel(GpImage* b, INT x, INT y, ARGB color)
{
    if (!b || !b->image.valid(x, y)) return InvalidParameter;
    b->image.setPixelColor(x, y, ToColor(color));
    return Ok;
}

GpStatus GdipDrawImage(GpGraphics* g, GpImage* image, REAL x, REAL y)
{
    if (!g || !g->painter || !image) return InvalidParameter;
    g->painter->drawImage(QPointF(x, y), image->image);
    return Ok;
}
GpStatus GdipDrawImageI(GpGraphics* g, GpImage* image, INT x, INT y) { return GdipDrawImage(g, image, REAL(x), REAL(y)); }
GpStatus GdipDrawImageRect(GpGraphics* g, GpImage* image, REAL x, REAL y, REAL w, REAL h)
{
    if (!g || !g->painter || !image) return InvalidParameter;
    g->painter->drawImage(QRectF(x, y, w, h), image->image);
    return Ok;
}
GpStatus GdipDrawImageRectI(GpGraphics* g, GpImage* image, INT x, INT y, INT w, INT h)
{
    return GdipDrawImageRect(g, image, REAL(x), REAL(y), REAL(w), REAL(h));
}
GpStatus GdipDrawImageRectRect(GpGraphics* g, GpImage* image, REAL dx, REAL dy, REAL dw, REAL dh, REAL sx, REAL sy,
                               REAL sw, REAL sh, Unit unit, const GpImageAttributes* attributes)
{
    if (!g || !g->painter || !image || unit != UnitPixel) return InvalidParameter;
    g->painter->drawImage(QRectF(dx, dy, dw, dh), Keyed(image->image, attributes), QRectF(sx, sy, sw, sh));
    return Ok;
}
GpStatus GdipDrawImageRectRectI(GpGraphics* g, GpImage* image, INT dx, INT dy, INT dw, INT dh, INT sx, INT sy, INT sw,
                                INT sh, Unit unit, const GpImageAttributes* attributes)
{
    return GdipDrawImageRectRect(g, image, REAL(dx), REAL(dy), REAL(dw), REAL(dh), REAL(sx), REAL(sy), REAL(sw), REAL(sh),
                                 unit, attributes);
}
// Three points: the destination's top-left, top-right and bottom-left corners.
GpStatus GdipDrawImagePointsRect(GpGraphics* g, GpImage* image, const PointF* pts, INT count, REAL sx, REAL sy, REAL sw,
                                 REAL sh, Unit unit, const GpImageAttributes* attributes)
{
    if (!g || !g->painter || !image || !pts || count != 3 || unit != UnitPixel || sw <= 0 || sh <= 0)
        return InvalidParameter;
    const QTransform t((pts[1].X - pts[0].X) / sw, (pts[1].Y - pts[0].Y) / sw, (pts[2].X - pts[0].X) / sh,
                       (pts[2].Y - pts[0].Y) / sh, pts[0].X, pts[0].Y);
    g->painter->save();
    g->painter->setTransform(t, true);
    g->painter->drawImage(QPointF(0, 0), Keyed(image->image, attributes), QRectF(sx, sy, sw, sh));
    g->painter->restore();
    return Ok;
}

GpStatus GdipCreateTexture(GpImage* image, WrapMode wrap, GpBrush** brush)
{
    if (!image || !brush || image->image.isNull()) return InvalidParameter;
    auto b = new GpBrush;
    b->kind = BrushKind::Texture;
    b->texture = image->image;
    b->wrap = wrap;
    *brush = b;
    return Ok;
}
GpStatus GdipCreateTexture2(GpImage* image, WrapMode wrap, REAL x, REAL y, REAL w, REAL h, GpBrush** brush)
{
    if (!image || w <= 0 || h <= 0) return InvalidParameter;
    GpImage part{image->image.copy(QRectF(x, y, w, h).toRect()), image->format};
    return GdipCreateTexture(&part, wrap, brush);
}
GpStatus GdipCreateTexture2I(GpImage* image, WrapMode wrap, INT x, INT y, INT w, INT h, GpBrush** brush)
{
    return GdipCreateTexture2(image, wrap, REAL(x), REAL(y), REAL(w), REAL(h), brush);
}
GpStatus GdipCreateTextureIA(GpImage* image, const GpImageAttributes* attributes, REAL x, REAL y, REAL w, REAL h,
                             GpBrush** brush)
{
    if (!image || w <= 0 || h <= 0) return InvalidParameter;
    GpImage part{Keyed(image->image, attributes).copy(QRectF(x, y, w, h).toRect()), image->format};
    return GdipCreateTexture(&part, attributes ? attributes->wrap : WrapModeTile, brush);
}
static bool IsTexture(GpBrush* b) { return b && b->kind == BrushKind::Texture; }
GpStatus GdipSetTextureTransform(GpBrush* b, const GpMatrix* m)
{
    if (!IsTexture(b) || !m) return InvalidParameter;
    b->transform = m->m;
    return Ok;
}
GpStatus GdipGetTextureTransform(GpBrush* b, GpMatrix* m)
{
    if (!IsTexture(b) || !m) return InvalidParameter;
    m->m = b->transform;
    return Ok;
}
GpStatus GdipResetTextureTransform(GpBrush* b)
{
    if (!IsTexture(b)) return InvalidParameter;
    b->transform.reset();
    return Ok;
}
static GpStatus TextureCombine(GpBrush* b, const QTransform& t, MatrixOrder order)
{
    if (!IsTexture(b)) return InvalidParameter;
    b->transform = order == MatrixOrderAppend ? b->transform * t : t * b->transform;
    return Ok;
}
GpStatus GdipMultiplyTextureTransform(GpBrush* b, const GpMatrix* m, MatrixOrder order)
{
    return m ? TextureCombine(b, m->m, order) : InvalidParameter;
}
GpStatus GdipTranslateTextureTransform(GpBrush* b, REAL dx, REAL dy, MatrixOrder order)
{
    return TextureCombine(b, QTransform::fromTranslate(dx, dy), order);
}
GpStatus GdipScaleTextureTransform(GpBrush* b, REAL sx, REAL sy, MatrixOrder order)
{
    return TextureCombine(b, QTransform::fromScale(sx, sy), order);
}
GpStatus GdipRotateTextureTransform(GpBrush* b, REAL angle, MatrixOrder order)
{
    return TextureCombine(b, QTransform().rotate(angle), order);
}
GpStatus GdipSetTextureWrapMode(GpBrush* b, WrapMode wrap)
{
    if (!IsTexture(b)) return InvalidParameter;
    b->wrap = wrap;
    return Ok;
}
GpStatus GdipGetTextureWrapMode(GpBrush* b, WrapMode* wrap)
{
    if (!IsTexture(b) || !wrap) return InvalidParameter;
    *wrap = b->wrap;
    return Ok;
}
GpStatus GdipGetTextureImage(GpBrush* b, GpImage** image)
{
    if (!IsTexture(b) || !image) return InvalidParameter;
    *image = new GpImage{b->texture, RawFormat::MemoryBMP};
    return Ok;
}

GpStatus GdipCreateImageAttributes(GpImageAttributes** a)
{
    if (!a) return InvalidParameter;
    *a = new GpImageAttributes;
    return Ok;
}
GpStatus GdipCloneImageAttributes(const GpImageAttributes* a, GpImageAttributes** clone)
{
    if (!a || !clone) return InvalidParameter;
    *clone = new GpImageAttributes(*a);
    return Ok;
}
GpStatus GdipDisposeImageAttributes(GpImageAttributes* a)
{
    if (!a) return InvalidParameter;
    delete a;
    return Ok;
}
GpStatus GdipResetImageAttributes(GpImageAttributes* a)
{
    if (!a) return InvalidParameter;
    *a = GpImageAttributes{};
    return Ok;
}
GpStatus GdipSetImageAttributesColorKeys(GpImageAttributes* a, bool enable, ARGB low, ARGB high)
{
    if (!a) return InvalidParameter;
    a->colorKey = enable;
    a->keyLow = low;
    a->keyHigh = high;
    return Ok;
}
GpStatus GdipSetImageAttributesWrapMode(GpImageAttributes* a, WrapMode wrap)
{
    if (!a) return InvalidParameter;
    a->wrap = wrap;
    return Ok;
}

GpStatus GdipCreateFontFamilyFromName(const QString& name, GpFontCollection*, GpFontFamily** family)
{
    if (!family) return InvalidParameter;
    const QString installed = InstalledOrStandIn(name);
    if (installed.isEmpty()) return FontFamilyNotFound;
    *family = new GpFontFamily{installed};
    return Ok;
}
GpStatus GdipDeleteFontFamily(GpFontFamily* family)
{
    if (!family) return InvalidParameter;
    delete family;
    return Ok;
}
GpStatus GdipCreateFont(const GpFontFamily* family, REAL size, INT style, Unit unit, GpFont** font)
{
    if (!family || !font || size <= 0 || size > 10000) return InvalidParameter;
    QFont f(family->name);
    // Points at the desktop's 96 dots per inch.
    const double pixels = unit == UnitPoint ? size * 96.0 / 72.0 : size;
    f.setPixelSize(std::max(1, int(pixels + 0.5)));
    f.setBold(style & 1);
    f.setItalic(style & 2);
    f.setUnderline(style & 4);
    f.setStrikeOut(style & 8);
    *font = new GpFont{f, family->name, size, style, unit};
    return Ok;
}
GpStatus GdipDeleteFont(GpFont* font)
{
    if (!font) return InvalidParameter;
    delete font;
    return Ok;
}
GpStatus GdipCreateStringFormat(INT flags, INT language, GpStringFormat** format)
{
    if (!format) return InvalidParameter;
    *format = new GpStringFormat;
    (*format)->flags = flags;
    (*format)->language = language;
    return Ok;
}
GpStatus GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** clone)
{
    if (!format || !clone) return InvalidParameter;
    *clone = new GpStringFormat(*format);
    return Ok;
}
GpStatus GdipDeleteStringFormat(GpStringFormat* format)
{
    if (!format) return InvalidParameter;
    delete format;
    return Ok;
}

}  // namespace gdip
