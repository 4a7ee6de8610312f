// Brushes and pens: solid, hatch, texture and line-gradient brushes become Qt brushes; path
// gradients are rendered per pixel (PathGradient.cpp).
#include "platform/gdiplus/GdiplusFlat.h"

#include <QLinearGradient>
#include <algorithm>
#include <cmath>

namespace gdip {

namespace {

GpStatus NewBrush(GpBrush** out, GpBrush* b)
{
    if (!out) {
        delete b;
        return InvalidParameter;
    }
    *out = b;
    return Ok;
}

double ToLinear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Encoded(double c) { return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055; }

int FromLinear(double c) { return std::clamp(int(std::lround(Encoded(c) * 255)), 0, 255); }

// One channel blended in linear light, in levels before rounding.
double Blended(int x, int y, double t) { return 255 * Encoded(ToLinear(x) + (ToLinear(y) - ToLinear(x)) * t); }

QColor Mix(const QColor& a, const QColor& b, double t, bool gamma)
{
    auto mix = [&](int x, int y) {
        return gamma ? FromLinear(ToLinear(x) + (ToLinear(y) - ToLinear(x)) * t) : int(std::lround(x + (y - x) * t));
    };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()),
                  int(std::lround(a.alpha() + (b.alpha() - a.alpha()) * t)));
}

// One 8 x 8 tile per hatch style: a row is a byte, its high bit the left pixel.
const std::uint8_t kHatchRows[6][8] = {
    {0xFF, 0, 0, 0, 0, 0, 0, 0},                                  // horizontal
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},            // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},            // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},            // backward diagonal
    {0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},            // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},            // diagonal cross
};
const std::uint8_t kHalfTone[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};

// Qt blends between stops in the screen's colours, so a blend in linear light is laid down as
// stops close enough that the straight pieces between them stay within half a level of the
// curve. The curve is steepest near black, where the pieces get shortest.
void AddGammaStops(QGradientStops& out, const QColor& a, const QColor& b, double from, double to, double t0,
                   double t1, int depth = 0)
{
    const double tm = (t0 + t1) / 2;
    bool straight = true;
    const int ends[3][2] = {{a.red(), b.red()}, {a.green(), b.green()}, {a.blue(), b.blue()}};
    for (const auto& [x, y] : ends)
        straight = straight && std::abs(Blended(x, y, tm) - (Blended(x, y, t0) + Blended(x, y, t1)) / 2) <= 0.5;
    straight = straight || depth >= 12;
    if (!straight) {
        AddGammaStops(out, a, b, from, to, t0, tm, depth + 1);
        AddGammaStops(out, a, b, from, to, tm, t1, depth + 1);
        return;
    }
    out.push_back({std::clamp(from + (to - from) * t1, 0.0, 1.0), Mix(a, b, t1, true)});
}

}  // namespace

QBrush HatchBrush(const GpBrush& brush)
{
    const std::uint8_t* rows = brush.hatchStyle >= 0 && brush.hatchStyle < 6 ? kHatchRows[brush.hatchStyle] : kHalfTone;
    QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
    const QRgb fore = ToColor(brush.color).rgba(), back = ToColor(brush.backColor).rgba();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) tile.setPixel(x, y, qPremultiply((rows[y] & (0x80 >> x)) ? fore : back));
    return QBrush(tile);
}

QBrush LinearGradientBrush(const GpBrush& brush)
{
    // The stops: preset colours, else the two colours shaped by the blend, else the two colours.
    std::vector<std::pair<double, QColor>> stops;
    const QColor c0 = ToColor(brush.colors[0]), c1 = ToColor(brush.colors[1]);
    if (!brush.presetColors.empty()) {
        for (size_t i = 0; i < brush.presetColors.size(); ++i)
            stops.push_back({brush.presetPositions[i], ToColor(brush.presetColors[i])});
    } else if (!brush.blendFactors.empty()) {
        for (size_t i = 0; i < brush.blendFactors.size(); ++i)
            stops.push_back({brush.blendPositions[i], Mix(c0, c1, brush.blendFactors[i], false)});
    } else {
        stops = {{0.0, c0}, {1.0, c1}};
    }
    QLinearGradient g(brush.start, brush.end);
    g.setSpread(QGradient::RepeatSpread);
    QGradientStops qstops;
    for (size_t i = 0; i < stops.size(); ++i) {
        const double pos = std::clamp(stops[i].first, 0.0, 1.0);
        if (!qstops.isEmpty() && pos < qstops.back().first) continue;
        if (brush.gamma && i > 0) AddGammaStops(qstops, stops[i - 1].second, stops[i].second, stops[i - 1].first, pos, 0, 1);
        else qstops.push_back({pos, stops[i].second});
    }
    g.setStops(qstops);
    QBrush b(g);
    b.setTransform(brush.transform);
    return b;
}

GpStatus GdipCreatePen1(ARGB color, REAL width, Unit, GpPen** pen)
{
    if (!pen) return InvalidParameter;
    auto p = new GpPen;
    p->brush = std::make_unique<GpBrush>();
    p->brush->color = color;
    p->width = width;
    *pen = p;
    return Ok;
}

GpStatus GdipCreatePen2(GpBrush* brush, REAL width, Unit, GpPen** pen)
{
    if (!pen || !brush) return InvalidParameter;
    auto p = new GpPen;
    p->brush = std::make_unique<GpBrush>(*brush);
    p->width = width;
    *pen = p;
    return Ok;
}

GpStatus GdipDeletePen(GpPen* pen)
{
    if (!pen) return InvalidParameter;
    delete pen;
    return Ok;
}

GpStatus GdipGetPenBrushFill(GpPen* pen, GpBrush** brush)
{
    if (!pen || !brush || !pen->brush) return InvalidParameter;
    *brush = new GpBrush(*pen->brush);
    return Ok;
}

GpStatus GdipGetPenFillType(GpPen* pen, PenType* type)
{
    if (!pen || !type || !pen->brush) return InvalidParameter;
    switch (pen->brush->kind) {
    case BrushKind::Solid: *type = PenTypeSolidColor; break;
    case BrushKind::Hatch: *type = PenTypeHatchFill; break;
    case BrushKind::Texture: *type = PenTypeTextureFill; break;
    case BrushKind::PathGradient: *type = PenTypePathGradient; break;
    case BrushKind::LinearGradient: *type = PenTypeLinearGradient; break;
    }
    return Ok;
}

GpStatus GdipSetPenDashStyle(GpPen* pen, DashStyle style)
{
    if (!pen) return InvalidParameter;
    pen->dash = style;
    return Ok;
}
GpStatus GdipGetPenDashStyle(GpPen* pen, DashStyle* style)
{
    if (!pen || !style) return InvalidParameter;
    *style = pen->dash;
    return Ok;
}
GpStatus GdipSetPenEndCap(GpPen* pen, INT cap)
{
    if (!pen) return InvalidParameter;
    pen->endCap = cap;
    return Ok;
}

GpStatus GdipDeleteBrush(GpBrush* brush)
{
    if (!brush) return InvalidParameter;
    delete brush;
    return Ok;
}

GpStatus GdipCreateSolidFill(ARGB color, GpBrush** brush)
{
    auto b = new GpBrush;
    b->color = color;
    return NewBrush(brush, b);
}

GpStatus GdipCreateHatchBrush(INT style, ARGB fore, ARGB back, GpBrush** brush)
{
    if (style < 0 || style > 52) return InvalidParameter;
    auto b = new GpBrush;
    b->kind = BrushKind::Hatch;
    b->hatchStyle = style;
    b->color = fore;
    b->backColor = back;
    return NewBrush(brush, b);
}

GpStatus GdipGetHatchStyle(GpBrush* b, INT* style)
{
    if (!b || !style || b->kind != BrushKind::Hatch) return InvalidParameter;
    *style = b->hatchStyle;
    return Ok;
}
GpStatus GdipGetHatchForegroundColor(GpBrush* b, ARGB* color)
{
    if (!b || !color || b->kind != BrushKind::Hatch) return InvalidParameter;
    *color = b->color;
    return Ok;
}
GpStatus GdipGetHatchBackgroundColor(GpBrush* b, ARGB* color)
{
    if (!b || !color || b->kind != BrushKind::Hatch) return InvalidParameter;
    *color = b->backColor;
    return Ok;
}

GpStatus GdipCreateLineBrush(const PointF* p1, const PointF* p2, ARGB c1, ARGB c2, WrapMode wrap, GpBrush** brush)
{
    if (!p1 || !p2) return InvalidParameter;
    auto b = new GpBrush;
    b->kind = BrushKind::LinearGradient;
    b->start = QPointF(p1->X, p1->Y);
    b->end = QPointF(p2->X, p2->Y);
    b->colors[0] = c1;
    b->colors[1] = c2;
    b->wrap = wrap;
    return NewBrush(brush, b);
}

GpStatus GdipCreateLineBrushFromRect(const RectF* rect, ARGB c1, ARGB c2, LinearGradientMode mode, WrapMode wrap,
                                     GpBrush** brush)
{
    if (!rect || rect->Width <= 0 || rect->Height <= 0) return InvalidParameter;
    // The colour line runs over the unit square, which the brush maps onto the rectangle, so a
    // diagonal gradient runs corner to corner whatever the rectangle's shape.
    static const QPointF kEnds[4][2] = {{{0, 0}, {1, 0}}, {{0, 0}, {0, 1}}, {{0, 0}, {1, 1}}, {{1, 0}, {0, 1}}};
    if (mode < 0 || mode > 3) return InvalidParameter;
    auto b = new GpBrush;
    b->kind = BrushKind::LinearGradient;
    b->start = kEnds[mode][0];
    b->end = kEnds[mode][1];
    b->transform = QTransform(rect->Width, 0, 0, rect->Height, rect->X, rect->Y);
    b->colors[0] = c1;
    b->colors[1] = c2;
    b->wrap = wrap;
    return NewBrush(brush, b);
}

GpStatus GdipCreateLineBrushFromRectWithAngle(const RectF* rect, ARGB c1, ARGB c2, REAL angle, bool scalable,
                                              WrapMode wrap, GpBrush** brush)
{
    if (!rect || rect->Width <= 0 || rect->Height <= 0) return InvalidParameter;
    const double a = angle * M_PI / 180.0;
    const double dx = std::cos(a), dy = std::sin(a);
    auto b = new GpBrush;
    b->kind = BrushKind::LinearGradient;
    // Scalable: the angle is taken in the unit square mapped onto the rectangle.
    const double w = scalable ? 1 : rect->Width, h = scalable ? 1 : rect->Height;
    const double half = (std::abs(dx) * w + std::abs(dy) * h) / 2;
    const QPointF c(w / 2, h / 2);
    b->start = c - QPointF(dx, dy) * half;
    b->end = c + QPointF(dx, dy) * half;
    b->transform = scalable ? QTransform(rect->Width, 0, 0, rect->Height, rect->X, rect->Y)
                            : QTransform::fromTranslate(rect->X, rect->Y);
    b->colors[0] = c1;
    b->colors[1] = c2;
    b->wrap = wrap;
    return NewBrush(brush, b);
}

static RectF ToRectF(const Rect* r) { return {REAL(r->X), REAL(r->Y), REAL(r->Width), REAL(r->Height)}; }

GpStatus GdipCreateLineBrushI(const QPoint* p1, const QPoint* p2, ARGB c1, ARGB c2, WrapMode wrap, GpBrush** brush)
{
    if (!p1 || !p2) return InvalidParameter;
    const PointF a{REAL(p1->x()), REAL(p1->y())}, b{REAL(p2->x()), REAL(p2->y())};
    return GdipCreateLineBrush(&a, &b, c1, c2, wrap, brush);
}
GpStatus GdipCreateLineBrushFromRectI(const Rect* rect, ARGB c1, ARGB c2, LinearGradientMode mode, WrapMode wrap,
                                      GpBrush** brush)
{
    if (!rect) return InvalidParameter;
    const RectF r = ToRectF(rect);
    return GdipCreateLineBrushFromRect(&r, c1, c2, mode, wrap, brush);
}
GpStatus GdipCreateLineBrushFromRectWithAngleI(const Rect* rect, ARGB c1, ARGB c2, REAL angle, bool scalable,
                                               WrapMode wrap, GpBrush** brush)
{
    if (!rect) return InvalidParameter;
    const RectF r = ToRectF(rect);
    return GdipCreateLineBrushFromRectWithAngle(&r, c1, c2, angle, scalable, wrap, brush);
}

GpStatus GdipSetGammaCorrection(GpBrush* b, bool on)
{
    if (!b) return InvalidParameter;
    b->gamma = on;
    return Ok;
}
GpStatus GdipGetGammaCorrection(GpBrush* b, bool* on)
{
    if (!b || !on) return InvalidParameter;
    *on = b->gamma;
    return Ok;
}
GpStatus GdipGetBlendCount(GpBrush* b, INT* count)
{
    if (!b || !count) return InvalidParameter;
    *count = INT(b->blendFactors.size());
    return Ok;
}
GpStatus GdipSetBlend(GpBrush* b, const REAL* factors, const REAL* positions, INT count)
{
    if (!b || !factors || !positions || count < 1) return InvalidParameter;
    b->blendFactors.assign(factors, factors + count);
    b->blendPositions.assign(positions, positions + count);
    b->presetColors.clear();
    b->presetPositions.clear();
    return Ok;
}
GpStatus GdipGetBlend(GpBrush* b, REAL* factors, REAL* positions, INT count)
{
    if (!b || !factors || !positions || count < INT(b->blendFactors.size())) return InvalidParameter;
    std::copy(b->blendFactors.begin(), b->blendFactors.end(), factors);
    std::copy(b->blendPositions.begin(), b->blendPositions.end(), positions);
    return Ok;
}
GpStatus GdipGetPresetBlendCount(GpBrush* b, INT* count)
{
    if (!b || !count) return InvalidParameter;
    *count = INT(b->presetColors.size());
    return Ok;
}
GpStatus GdipSetPresetBlend(GpBrush* b, const ARGB* colors, const REAL* positions, INT count)
{
    if (!b || !colors || !positions || count < 2) return InvalidParameter;
    b->presetColors.assign(colors, colors + count);
    b->presetPositions.assign(positions, positions + count);
    b->blendFactors.clear();
    b->blendPositions.clear();
    return Ok;
}
GpStatus GdipGetPresetBlend(GpBrush* b, ARGB* colors, REAL* positions, INT count)
{
    if (!b || !colors || !positions || count < INT(b->presetColors.size())) return InvalidParameter;
    std::copy(b->presetColors.begin(), b->presetColors.end(), colors);
    std::copy(b->presetPositions.begin(), b->presetPositions.end(), positions);
    return Ok;
}

// Bell shape: a normal curve rising from 0 to scale at focus and falling back.
GpStatus GdipSetSigmaBlend(GpBrush* b, REAL focus, REAL scale)
{
    if (!b || focus < 0 || focus > 1 || scale < 0 || scale > 1) return InvalidParameter;
    std::vector<REAL> f, p;
    const int n = 33;
    for (int i = 0; i < n; ++i) {
        const double x = double(i) / (n - 1);
        const double side = x < focus ? (focus > 0 ? (focus - x) / focus : 0) : (focus < 1 ? (x - focus) / (1 - focus) : 0);
        f.push_back(REAL(scale * std::exp(-side * side * 4)));
        p.push_back(REAL(x));
    }
    return GdipSetBlend(b, f.data(), p.data(), n);
}

// Triangle: 0 at both ends, scale at focus.
GpStatus GdipSetLinearBlend(GpBrush* b, REAL focus, REAL scale)
{
    if (!b || focus < 0 || focus > 1 || scale < 0 || scale > 1) return InvalidParameter;
    const REAL f[3] = {0, scale, focus < 1 ? 0 : scale};
    const REAL p[3] = {0, focus, 1};
    return GdipSetBlend(b, f, p, 3);
}

}  // namespace gdip
