// Path-gradient brushes, which Qt lacks: the colour runs from the boundary (position 0) to the
// centre point (position 1) along each ray from the centre. Rendered per pixel into an image that
// then fills the area as a texture; nothing is painted outside the boundary.
#include "platform/gdiplus/GdiplusFlat.h"

#include <algorithm>
#include <cmath>

namespace gdip {

namespace {

GpBrush* NewPathGradient(const QPolygonF& polygon, INT points)
{
    auto b = new GpBrush;
    b->kind = BrushKind::PathGradient;
    b->boundaryPath.addPolygon(polygon);
    b->boundaryPath.closeSubpath();
    b->boundary = b->boundaryPath.toFillPolygon();
    // The centre starts at the middle of the boundary's box.
    b->center = b->boundary.boundingRect().center();
    b->centerColor = 0xFFFFFFFF;
    b->surroundColors = {0xFFFFFFFF};
    b->pointCount = points;
    b->wrap = WrapModeClamp;
    return b;
}

// Distance from the centre to the boundary along each of kRays directions.
constexpr int kRays = 1024;

// Each edge fills only the rays whose directions it spans, so the cost is edges plus rays.
std::vector<double> BoundaryDistances(const QPolygonF& poly, QPointF c)
{
    std::vector<double> dist(kRays, 0.0);
    const int n = int(poly.size());
    const double step = 2 * M_PI / kRays;
    for (int i = 0; i < n; ++i) {
        const QPointF p = poly[i] - c, q = poly[(i + 1) % n] - c;
        const QPointF e = q - p;
        const double a0 = std::atan2(p.y(), p.x());
        double span = std::atan2(q.y(), q.x()) - a0;
        if (span > M_PI) span -= 2 * M_PI;
        if (span < -M_PI) span += 2 * M_PI;
        const double lo = std::min(a0, a0 + span), hi = std::max(a0, a0 + span);
        for (long k = long(std::floor(lo / step)); k <= long(std::ceil(hi / step)); ++k) {
            const double a = k * step;
            const double dx = std::cos(a), dy = std::sin(a);
            const double den = dx * e.y() - dy * e.x();
            if (std::abs(den) < 1e-12) continue;
            const double t = (p.x() * e.y() - p.y() * e.x()) / den;  // along the ray
            const double s = (p.x() * dy - p.y() * dx) / den;        // along the edge
            if (t <= 0 || s < -1e-9 || s > 1 + 1e-9) continue;
            double& d = dist[size_t(((k % kRays) + kRays) % kRays)];
            d = std::max(d, t);
        }
    }
    return dist;
}

QRgb Lerp(QRgb a, QRgb b, double t)
{
    auto m = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return qRgba(m(qRed(a), qRed(b)), m(qGreen(a), qGreen(b)), m(qBlue(a), qBlue(b)), m(qAlpha(a), qAlpha(b)));
}

// The colour at a position from the boundary (0) to the centre (1).
QRgb ColourAt(const GpBrush& b, double t)
{
    if (!b.presetColors.empty()) {
        const auto& pos = b.presetPositions;
        if (t <= pos.front()) return b.presetColors.front();
        for (size_t i = 1; i < pos.size(); ++i)
            if (t <= pos[i]) {
                const double span = pos[i] - pos[i - 1];
                return Lerp(b.presetColors[i - 1], b.presetColors[i], span > 0 ? (t - pos[i - 1]) / span : 1);
            }
        return b.presetColors.back();
    }
    double f = t;
    if (!b.blendFactors.empty()) {
        const auto& pos = b.blendPositions;
        f = b.blendFactors.back();
        if (t <= pos.front()) f = b.blendFactors.front();
        else
            for (size_t i = 1; i < pos.size(); ++i)
                if (t <= pos[i]) {
                    const double span = pos[i] - pos[i - 1];
                    const double u = span > 0 ? (t - pos[i - 1]) / span : 1;
                    f = b.blendFactors[i - 1] + (b.blendFactors[i] - b.blendFactors[i - 1]) * u;
                    break;
                }
    }
    const ARGB surround = b.surroundColors.empty() ? 0xFFFFFFFF : b.surroundColors.front();
    return Lerp(surround, b.centerColor, f);
}

}  // namespace

// atan2 to about 1e-5 radians, plenty for the ray table and several times faster.
static double FastAtan2(double y, double x)
{
    const double ax = std::abs(x), ay = std::abs(y);
    const double big = std::max(ax, ay);
    if (big == 0) return 0;
    const double a = std::min(ax, ay) / big, s = a * a;
    double r = ((-0.0464964749 * s + 0.15931422) * s - 0.327622764) * s * a + a;
    if (ay > ax) r = M_PI / 2 - r;
    if (x < 0) r = M_PI - r;
    return y < 0 ? -r : r;
}

QImage RenderPathGradient(const GpBrush& b, const QRect& pixels)
{
    QImage img(pixels.size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    if (b.boundary.size() < 3 || pixels.isEmpty()) return img;
    const std::vector<double> dist = BoundaryDistances(b.boundary, b.center);
    // The colours along a ray, from the boundary to the centre.
    constexpr int kSteps = 1024;
    std::vector<QRgb> colours(kSteps);
    for (int i = 0; i < kSteps; ++i) colours[size_t(i)] = qPremultiply(ColourAt(b, double(i) / (kSteps - 1)));
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const double py = pixels.y() + y + 0.5 - b.center.y();
        for (int x = 0; x < img.width(); ++x) {
            const double px = pixels.x() + x + 0.5 - b.center.x();
            const double r = std::sqrt(px * px + py * py);
            double a = FastAtan2(py, px);
            if (a < 0) a += 2 * M_PI;
            const double k = a / (2 * M_PI) * kRays;
            const int k0 = int(k) % kRays, k1 = (k0 + 1) % kRays;
            const double edge = dist[size_t(k0)] + (dist[size_t(k1)] - dist[size_t(k0)]) * (k - std::floor(k));
            if (edge <= 0 || r > edge) continue;
            line[x] = colours[size_t((1.0 - r / edge) * (kSteps - 1) + 0.5)];
        }
    }
    return img;
}

void FillArea(GpGraphics* g, const GpBrush& brush, const QPainterPath& area)
{
    QPainter& p = *g->painter;
    switch (brush.kind) {
    case BrushKind::Solid: p.fillPath(area, ToColor(brush.color)); break;
    case BrushKind::Hatch: p.fillPath(area, HatchBrush(brush)); break;
    case BrushKind::LinearGradient: p.fillPath(area, LinearGradientBrush(brush)); break;
    case BrushKind::Texture: {
        if (brush.texture.isNull()) return;
        QBrush b(brush.texture);
        b.setTransform(brush.transform);
        p.fillPath(area, b);
        break;
    }
    case BrushKind::PathGradient: {
        // Rendered per pixel: an area larger than any canvas, or far off it, is left alone (and
        // would not fit the pixel grid's integers); a NaN fails every test.
        const QRectF bounds = area.boundingRect().intersected(brush.boundaryPath.boundingRect());
        constexpr qreal kLargest = 16384, kFar = 1 << 24;
        const auto within = [](qreal v, qreal low, qreal high) { return v >= low && v <= high; };
        if (!within(bounds.width(), 0, kLargest) || !within(bounds.height(), 0, kLargest) ||
            !within(bounds.x(), -kFar, kFar) || !within(bounds.y(), -kFar, kFar))
            return;
        const QRect pixels = bounds.toAlignedRect();
        if (pixels.isEmpty()) return;
        QBrush b(RenderPathGradient(brush, pixels));
        b.setTransform(QTransform::fromTranslate(pixels.x(), pixels.y()));
        p.fillPath(area, b);
        break;
    }
    }
}

GpStatus GdipCreatePathGradient(const PointF* points, INT count, WrapMode wrap, GpBrush** brush)
{
    if (!points || count < 2 || !brush) return InvalidParameter;
    QPolygonF poly;
    for (INT i = 0; i < count; ++i) poly << QPointF(points[i].X, points[i].Y);
    *brush = NewPathGradient(poly, count);
    (*brush)->wrap = wrap;
    return Ok;
}

GpStatus GdipCreatePathGradientI(const QPoint* points, INT count, WrapMode wrap, GpBrush** brush)
{
    if (!points || count < 2) return InvalidParameter;
    std::vector<PointF> f;
    for (INT i = 0; i < count; ++i) f.push_back({REAL(points[i].x()), REAL(points[i].y())});
    return GdipCreatePathGradient(f.data(), count, wrap, brush);
}

GpStatus GdipCreatePathGradientFromPath(const GpPath* path, GpBrush** brush)
{
    if (!path || !brush || path->path.elementCount() < 2) return InvalidParameter;
    *brush = NewPathGradient(path->path.toFillPolygon(), INT(path->path.elementCount()));
    return Ok;
}

static GpStatus IfPathGradient(GpBrush* b) { return b && b->kind == BrushKind::PathGradient ? Ok : InvalidParameter; }

GpStatus GdipSetPathGradientCenterColor(GpBrush* b, ARGB color)
{
    if (IfPathGradient(b) != Ok) return InvalidParameter;
    b->centerColor = color;
    return Ok;
}
GpStatus GdipGetPathGradientCenterColor(GpBrush* b, ARGB* color)
{
    if (IfPathGradient(b) != Ok || !color) return InvalidParameter;
    *color = b->centerColor;
    return Ok;
}
GpStatus GdipGetPathGradientPointCount(GpBrush* b, INT* count)
{
    if (IfPathGradient(b) != Ok || !count) return InvalidParameter;
    *count = b->pointCount;
    return Ok;
}
GpStatus GdipSetPathGradientSurroundColorsWithCount(GpBrush* b, const ARGB* colors, INT* count)
{
    if (IfPathGradient(b) != Ok || !colors || !count || *count < 1 || *count > b->pointCount) return InvalidParameter;
    b->surroundColors.assign(colors, colors + *count);
    return Ok;
}
GpStatus GdipGetPathGradientSurroundColorsWithCount(GpBrush* b, ARGB* colors, INT* count)
{
    if (IfPathGradient(b) != Ok || !colors || !count || *count < INT(b->surroundColors.size())) return InvalidParameter;
    std::copy(b->surroundColors.begin(), b->surroundColors.end(), colors);
    *count = INT(b->surroundColors.size());
    return Ok;
}
GpStatus GdipSetPathGradientCenterPoint(GpBrush* b, const PointF* point)
{
    if (IfPathGradient(b) != Ok || !point) return InvalidParameter;
    b->center = QPointF(point->X, point->Y);
    return Ok;
}
GpStatus GdipGetPathGradientCenterPoint(GpBrush* b, PointF* point)
{
    if (IfPathGradient(b) != Ok || !point) return InvalidParameter;
    *point = {REAL(b->center.x()), REAL(b->center.y())};
    return Ok;
}
GpStatus GdipSetPathGradientWrapMode(GpBrush* b, WrapMode wrap)
{
    if (IfPathGradient(b) != Ok) return InvalidParameter;
    b->wrap = wrap;
    return Ok;
}
GpStatus GdipGetPathGradientWrapMode(GpBrush* b, WrapMode* wrap)
{
    if (IfPathGradient(b) != Ok || !wrap) return InvalidParameter;
    *wrap = b->wrap;
    return Ok;
}

}  // namespace gdip
