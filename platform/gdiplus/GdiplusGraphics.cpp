// Graphics: drawing onto an open painter or an image.
#include "platform/gdiplus/GdiplusFlat.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <cmath>

namespace gdip {

namespace {

int startups = 0;
int hooks = 0;

QPainter* PainterOf(GpGraphics* g) { return g ? g->painter : nullptr; }

QPen PenOf(const GpPen& pen)
{
    QPen q(pen.brush && pen.brush->kind == BrushKind::Solid ? QBrush(ToColor(pen.brush->color))
           : pen.brush && pen.brush->kind == BrushKind::LinearGradient ? LinearGradientBrush(*pen.brush)
                                                                       : QBrush(Qt::black),
           pen.width);
    q.setCapStyle(Qt::FlatCap);
    q.setJoinStyle(Qt::MiterJoin);
    // Dash lengths in pen widths, as the drawing library measures them.
    switch (pen.dash) {
    case DashStyleDash: q.setDashPattern({3, 1}); break;
    case DashStyleDot: q.setDashPattern({1, 1}); break;
    case DashStyleDashDot: q.setDashPattern({3, 1, 1, 1}); break;
    case DashStyleDashDotDot: q.setDashPattern({3, 1, 1, 1, 1, 1}); break;
    default: break;
    }
    return q;
}

GpStatus Stroke(GpGraphics* g, GpPen* pen, const QPainterPath& path)
{
    if (!PainterOf(g) || !pen) return InvalidParameter;
    g->painter->strokePath(path, PenOf(*pen));
    return Ok;
}

GpStatus Fill(GpGraphics* g, GpBrush* brush, const QPainterPath& path)
{
    if (!PainterOf(g) || !brush) return InvalidParameter;
    FillArea(g, *brush, path);
    return Ok;
}

QPainterPath RectPath(REAL x, REAL y, REAL w, REAL h)
{
    QPainterPath p;
    p.addRect(QRectF(x, y, w, h));
    return p;
}

QPainterPath EllipsePath(REAL x, REAL y, REAL w, REAL h)
{
    QPainterPath p;
    p.addEllipse(QRectF(x, y, w, h));
    return p;
}

// The text flags of a string format for Qt's text drawing.
int TextFlags(const GpStringFormat* format)
{
    int flags = Qt::TextWordWrap;
    if (!format) return flags | Qt::AlignLeft | Qt::AlignTop;
    flags |= format->alignment == StringAlignmentCenter ? Qt::AlignHCenter
             : format->alignment == StringAlignmentFar  ? Qt::AlignRight
                                                        : Qt::AlignLeft;
    flags |= format->lineAlignment == StringAlignmentCenter ? Qt::AlignVCenter
             : format->lineAlignment == StringAlignmentFar  ? Qt::AlignBottom
                                                            : Qt::AlignTop;
    if (format->hotkeyPrefix == HotkeyPrefixShow) flags |= Qt::TextShowMnemonic;
    if (format->hotkeyPrefix == HotkeyPrefixHide) flags |= Qt::TextHideMnemonic;
    return flags;
}

}  // namespace

GpStatus GdiplusStartup(std::uintptr_t* token)
{
    if (!token) return InvalidParameter;
    *token = static_cast<std::uintptr_t>(++startups);
    return Ok;
}

void GdiplusShutdown(std::uintptr_t) { startups = startups > 0 ? startups - 1 : 0; }
GpStatus GdiplusNotificationHook(std::uintptr_t* token)
{
    if (!token) return InvalidParameter;
    ++hooks;
    return Ok;
}
void GdiplusNotificationUnhook(std::uintptr_t) { hooks = hooks > 0 ? hooks - 1 : 0; }
bool GdiplusStarted() { return startups > 0 && hooks > 0; }
void* GdipAlloc(std::size_t size) { return ::operator new(size, std::nothrow); }
void GdipFree(void* memory) { ::operator delete(memory); }

QColor ToColor(ARGB argb) { return QColor::fromRgba(argb); }

GpStatus GdipCreateFromHDC(QPainter* hdc, GpGraphics** graphics)
{
    if (!hdc || !graphics || !hdc->isActive()) return InvalidParameter;
    *graphics = new GpGraphics;
    (*graphics)->painter = hdc;
    return Ok;
}

GpStatus GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics)
{
    if (!image || !graphics || image->image.isNull()) return InvalidParameter;
    // Indexed images cannot be painted on.
    if (image->image.format() == QImage::Format_Indexed8 || image->image.format() == QImage::Format_Mono)
        image->image = image->image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    auto g = new GpGraphics;
    g->own = std::make_unique<QPainter>(&image->image);
    g->painter = g->own.get();
    *graphics = g;
    return Ok;
}

GpStatus GdipDeleteGraphics(GpGraphics* graphics)
{
    if (!graphics) return InvalidParameter;
    if (graphics->own) graphics->own->end();
    delete graphics;
    return Ok;
}

GpStatus GdipGraphicsClear(GpGraphics* g, ARGB color)
{
    if (!PainterOf(g)) return InvalidParameter;
    g->painter->save();
    g->painter->setCompositionMode(QPainter::CompositionMode_Source);
    g->painter->resetTransform();
    g->painter->fillRect(QRect(QPoint(0, 0), g->painter->device() ? QSize(g->painter->device()->width(),
                                                                          g->painter->device()->height())
                                                                    : QSize()),
                         ToColor(color));
    g->painter->restore();
    return Ok;
}

GpStatus GdipFlush(GpGraphics* g, INT) { return PainterOf(g) ? Ok : InvalidParameter; }
GpStatus GdipGetDC(GpGraphics* g, QPainter** hdc)
{
    if (!PainterOf(g) || !hdc) return InvalidParameter;
    *hdc = g->painter;
    return Ok;
}
GpStatus GdipReleaseDC(GpGraphics* g, QPainter*) { return PainterOf(g) ? Ok : InvalidParameter; }

GpStatus GdipSetTextRenderingHint(GpGraphics* g, INT hint)
{
    if (!PainterOf(g)) return InvalidParameter;
    g->textHint = hint;
    g->painter->setRenderHint(QPainter::TextAntialiasing, hint != 0);
    return Ok;
}
GpStatus GdipGetTextRenderingHint(GpGraphics* g, INT* hint)
{
    if (!PainterOf(g) || !hint) return InvalidParameter;
    *hint = g->textHint;
    return Ok;
}
GpStatus GdipSetSmoothingMode(GpGraphics* g, INT mode)
{
    if (!PainterOf(g)) return InvalidParameter;
    g->smoothing = mode;
    // Modes 2 (high quality) and 4 (anti-alias) smooth; 0, 1 (high speed) and 3 (none) don't.
    g->painter->setRenderHint(QPainter::Antialiasing, mode == 2 || mode == SmoothingModeAntiAlias);
    return Ok;
}
GpStatus GdipGetSmoothingMode(GpGraphics* g, INT* mode)
{
    if (!PainterOf(g) || !mode) return InvalidParameter;
    *mode = g->smoothing;
    return Ok;
}
GpStatus GdipSetPixelOffsetMode(GpGraphics* g, INT mode)
{
    if (!PainterOf(g)) return InvalidParameter;
    g->pixelOffset = mode;
    return Ok;
}
GpStatus GdipGetPixelOffsetMode(GpGraphics* g, INT* mode)
{
    if (!PainterOf(g) || !mode) return InvalidParameter;
    *mode = g->pixelOffset;
    return Ok;
}
GpStatus GdipSetCompositingQuality(GpGraphics* g, INT quality)
{
    if (!PainterOf(g)) return InvalidParameter;
    g->compositing = quality;
    return Ok;
}
GpStatus GdipGetCompositingQuality(GpGraphics* g, INT* quality)
{
    if (!PainterOf(g) || !quality) return InvalidParameter;
    *quality = g->compositing;
    return Ok;
}
GpStatus GdipSetInterpolationMode(GpGraphics* g, INT mode)
{
    if (!PainterOf(g)) return InvalidParameter;
    g->interpolation = mode;
    g->painter->setRenderHint(QPainter::SmoothPixmapTransform, mode != 5);  // 5: nearest neighbour
    return Ok;
}

GpStatus GdipMeasureString(GpGraphics* g, const QString& text, const GpFont* font, const RectF* layout,
                           const GpStringFormat* format, RectF* bounds, INT* codepointsFitted, INT* linesFilled)
{
    if (!PainterOf(g) || !font || !layout || !bounds) return InvalidParameter;
    const QRectF area(layout->X, layout->Y, layout->Width, layout->Height);
    const QRectF r = text.isEmpty() ? QRectF(area.topLeft(), QSizeF(0, 0))
                                    : QFontMetricsF(font->font).boundingRect(area, TextFlags(format), text);
    *bounds = {REAL(area.x()), REAL(area.y()), REAL(r.width()), REAL(r.height())};
    if (codepointsFitted) *codepointsFitted = INT(text.size());
    if (linesFilled) *linesFilled = text.isEmpty() ? 0 : INT(std::lround(r.height() / QFontMetricsF(font->font).lineSpacing()));
    return Ok;
}

GpStatus GdipDrawString(GpGraphics* g, const QString& text, const GpFont* font, const RectF* layout,
                        const GpStringFormat* format, const GpBrush* brush)
{
    if (!PainterOf(g) || !font || !layout || !brush) return InvalidParameter;
    QPainter& p = *g->painter;
    p.save();
    p.setFont(font->font);
    p.setPen(QPen(brush->kind == BrushKind::Solid ? QBrush(ToColor(brush->color)) : QBrush(Qt::black), 1));
    // A layout of no width (or no height) is unbounded that way, and the text aligns on its
    // point: it starts there (near), is centred on it, or ends there (far).
    const auto unbounded = [](REAL at, REAL size, StringAlignment alignment, qreal& from, qreal& extent) {
        constexpr qreal kUnbounded = 100000;
        from = at, extent = size;
        if (size > 0) return;
        extent = kUnbounded;
        if (alignment == StringAlignmentCenter) from = at - kUnbounded / 2;
        else if (alignment == StringAlignmentFar) from = at - kUnbounded;
    };
    qreal x, y, w, h;
    unbounded(layout->X, layout->Width, format ? format->alignment : StringAlignmentNear, x, w);
    unbounded(layout->Y, layout->Height, format ? format->lineAlignment : StringAlignmentNear, y, h);
    p.drawText(QRectF(x, y, w, h), TextFlags(format), text);
    p.restore();
    return Ok;
}

GpStatus GdipDrawPath(GpGraphics* g, GpPen* pen, GpPath* path)
{
    return path ? Stroke(g, pen, path->path) : InvalidParameter;
}
GpStatus GdipFillPath(GpGraphics* g, GpBrush* brush, GpPath* path)
{
    return path ? Fill(g, brush, path->path) : InvalidParameter;
}
GpStatus GdipDrawRectangle(GpGraphics* g, GpPen* pen, REAL x, REAL y, REAL w, REAL h)
{
    return Stroke(g, pen, RectPath(x, y, w, h));
}
GpStatus GdipDrawRectangleI(GpGraphics* g, GpPen* pen, INT x, INT y, INT w, INT h)
{
    return Stroke(g, pen, RectPath(x, y, w, h));
}
GpStatus GdipFillRectangle(GpGraphics* g, GpBrush* brush, REAL x, REAL y, REAL w, REAL h)
{
    return Fill(g, brush, RectPath(x, y, w, h));
}
GpStatus GdipFillRectangleI(GpGraphics* g, GpBrush* brush, INT x, INT y, INT w, INT h)
{
    return Fill(g, brush, RectPath(x, y, w, h));
}
GpStatus GdipDrawLine(GpGraphics* g, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2)
{
    QPainterPath p(QPointF(x1, y1));
    p.lineTo(x2, y2);
    return Stroke(g, pen, p);
}
GpStatus GdipDrawLineI(GpGraphics* g, GpPen* pen, INT x1, INT y1, INT x2, INT y2)
{
    return GdipDrawLine(g, pen, REAL(x1), REAL(y1), REAL(x2), REAL(y2));
}
GpStatus GdipDrawEllipse(GpGraphics* g, GpPen* pen, REAL x, REAL y, REAL w, REAL h)
{
    return Stroke(g, pen, EllipsePath(x, y, w, h));
}
GpStatus GdipDrawEllipseI(GpGraphics* g, GpPen* pen, INT x, INT y, INT w, INT h)
{
    return Stroke(g, pen, EllipsePath(x, y, w, h));
}
GpStatus GdipFillEllipse(GpGraphics* g, GpBrush* brush, REAL x, REAL y, REAL w, REAL h)
{
    return Fill(g, brush, EllipsePath(x, y, w, h));
}
GpStatus GdipFillEllipseI(GpGraphics* g, GpBrush* brush, INT x, INT y, INT w, INT h)
{
    return Fill(g, brush, EllipsePath(x, y, w, h));
}
GpStatus GdipDrawArc(GpGraphics* g, GpPen* pen, REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep)
{
    if (w <= 0 || h <= 0) return InvalidParameter;
    QPainterPath p;
    // Angles run clockwise here and counter-clockwise in Qt.
    p.arcMoveTo(QRectF(x, y, w, h), -start);
    p.arcTo(QRectF(x, y, w, h), -start, -sweep);
    return Stroke(g, pen, p);
}
GpStatus GdipDrawArcI(GpGraphics* g, GpPen* pen, INT x, INT y, INT w, INT h, REAL start, REAL sweep)
{
    return GdipDrawArc(g, pen, REAL(x), REAL(y), REAL(w), REAL(h), start, sweep);
}
GpStatus GdipFillPolygon(GpGraphics* g, GpBrush* brush, const PointF* points, INT count, FillMode mode)
{
    if (!points || count < 3) return InvalidParameter;
    QPolygonF poly;
    for (INT i = 0; i < count; ++i) poly << QPointF(points[i].X, points[i].Y);
    QPainterPath p;
    p.addPolygon(poly);
    p.closeSubpath();
    p.setFillRule(mode == FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill);
    return Fill(g, brush, p);
}
GpStatus GdipFillPolygonI(GpGraphics* g, GpBrush* brush, const QPoint* points, INT count, FillMode mode)
{
    if (!points || count < 3) return InvalidParameter;
    std::vector<PointF> f;
    for (INT i = 0; i < count; ++i) f.push_back({REAL(points[i].x()), REAL(points[i].y())});
    return GdipFillPolygon(g, brush, f.data(), count, mode);
}

GpStatus GdipSetClipRegion(GpGraphics* g, GpRegion* region, CombineMode mode)
{
    if (!PainterOf(g) || !region) return InvalidParameter;
    QPainter& p = *g->painter;
    switch (mode) {
    case CombineModeReplace: p.setClipPath(region->path, Qt::ReplaceClip); break;
    case CombineModeIntersect: p.setClipPath(region->path, Qt::IntersectClip); break;
    case CombineModeExclude: {
        QPainterPath current;
        if (p.hasClipping()) {
            current = p.clipPath();
        } else {
            current.addRect(QRectF(-1e6, -1e6, 2e6, 2e6));
        }
        p.setClipPath(current.subtracted(region->path), Qt::ReplaceClip);
        break;
    }
    case CombineModeUnion:
        p.setClipPath(p.hasClipping() ? p.clipPath().united(region->path) : region->path, Qt::ReplaceClip);
        break;
    default: return NotImplemented;
    }
    return Ok;
}

GpStatus GdipSetClipRect(GpGraphics* g, REAL x, REAL y, REAL w, REAL h, CombineMode mode)
{
    GpRegion r;
    r.path.addRect(QRectF(x, y, w, h));
    return GdipSetClipRegion(g, &r, mode);
}

GpStatus GdipResetClip(GpGraphics* g)
{
    if (!PainterOf(g)) return InvalidParameter;
    g->painter->setClipping(false);
    return Ok;
}

}  // namespace gdip
