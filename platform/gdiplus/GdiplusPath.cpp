// Paths, regions and matrices. A path is a list of figures; each piece added to an open figure
// is joined to the previous one by a line, as the drawing library joins them.
#include "platform/gdiplus/GdiplusFlat.h"

#include <cmath>

namespace gdip {

namespace {

void StartAt(GpPath* p, QPointF point)
{
    if (p->figureOpen) p->path.lineTo(point);
    else p->path.moveTo(point);
    p->figureOpen = true;
}

GpStatus ClosedShape(GpPath* p, const QPainterPath& shape)
{
    if (!p) return InvalidParameter;
    p->path.addPath(shape);
    p->figureOpen = false;
    return Ok;
}

}  // namespace

GpStatus GdipCreatePath(FillMode mode, GpPath** path)
{
    if (!path) return InvalidParameter;
    *path = new GpPath;
    (*path)->path.setFillRule(mode == FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill);
    return Ok;
}

GpStatus GdipDeletePath(GpPath* path)
{
    if (!path) return InvalidParameter;
    delete path;
    return Ok;
}

GpStatus GdipClosePathFigure(GpPath* path)
{
    if (!path) return InvalidParameter;
    if (path->figureOpen) path->path.closeSubpath();
    path->figureOpen = false;
    return Ok;
}

GpStatus GdipAddPathLine(GpPath* p, REAL x1, REAL y1, REAL x2, REAL y2)
{
    if (!p) return InvalidParameter;
    StartAt(p, QPointF(x1, y1));
    p->path.lineTo(x2, y2);
    return Ok;
}

GpStatus GdipAddPathLine2I(GpPath* p, const QPoint* points, INT count)
{
    if (!p || !points || count < 1) return InvalidParameter;
    StartAt(p, points[0]);
    for (INT i = 1; i < count; ++i) p->path.lineTo(points[i]);
    return Ok;
}

GpStatus GdipAddPathArc(GpPath* p, REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep)
{
    if (!p || w <= 0 || h <= 0) return InvalidParameter;
    // Angles run clockwise on the screen here, counter-clockwise in Qt.
    const QRectF box(x, y, w, h);
    QPainterPath probe;
    probe.arcMoveTo(box, -start);
    StartAt(p, probe.currentPosition());
    p->path.arcTo(box, -start, -sweep);
    return Ok;
}

GpStatus GdipAddPathRectangle(GpPath* p, REAL x, REAL y, REAL w, REAL h)
{
    QPainterPath s;
    s.addRect(QRectF(x, y, w, h));
    return ClosedShape(p, s);
}
GpStatus GdipAddPathRectangleI(GpPath* p, INT x, INT y, INT w, INT h)
{
    return GdipAddPathRectangle(p, REAL(x), REAL(y), REAL(w), REAL(h));
}
GpStatus GdipAddPathEllipse(GpPath* p, REAL x, REAL y, REAL w, REAL h)
{
    QPainterPath s;
    s.addEllipse(QRectF(x, y, w, h));
    return ClosedShape(p, s);
}
GpStatus GdipAddPathPie(GpPath* p, REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep)
{
    if (w <= 0 || h <= 0) return InvalidParameter;
    QPainterPath s;
    s.moveTo(QRectF(x, y, w, h).center());
    s.arcTo(QRectF(x, y, w, h), -start, -sweep);
    s.closeSubpath();
    return ClosedShape(p, s);
}
GpStatus GdipAddPathPolygon(GpPath* p, const PointF* points, INT count)
{
    if (!points || count < 3) return InvalidParameter;
    QPolygonF poly;
    for (INT i = 0; i < count; ++i) poly << QPointF(points[i].X, points[i].Y);
    QPainterPath s;
    s.addPolygon(poly);
    s.closeSubpath();
    return ClosedShape(p, s);
}
GpStatus GdipAddPathPolygonI(GpPath* p, const QPoint* points, INT count)
{
    if (!points || count < 3) return InvalidParameter;
    std::vector<PointF> f;
    for (INT i = 0; i < count; ++i) f.push_back({REAL(points[i].x()), REAL(points[i].y())});
    return GdipAddPathPolygon(p, f.data(), count);
}

// A cardinal spline through the points, as Bézier pieces.
GpStatus GdipAddPathCurve(GpPath* p, const PointF* pts, INT count, REAL tension)
{
    if (!p || !pts || count < 2) return InvalidParameter;
    auto at = [&](INT i) { return QPointF(pts[std::clamp(i, 0, count - 1)].X, pts[std::clamp(i, 0, count - 1)].Y); };
    StartAt(p, at(0));
    const double k = tension / 3.0;
    for (INT i = 0; i + 1 < count; ++i)
        p->path.cubicTo(at(i) + (at(i + 1) - at(i - 1)) * k, at(i + 1) - (at(i + 2) - at(i)) * k, at(i + 1));
    return Ok;
}

GpStatus GdipAddPathBezier(GpPath* p, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4)
{
    if (!p) return InvalidParameter;
    StartAt(p, QPointF(x1, y1));
    p->path.cubicTo(x2, y2, x3, y3, x4, y4);
    return Ok;
}

GpStatus GdipAddPathBeziers(GpPath* p, const PointF* pts, INT count)
{
    if (!p || !pts || count < 4 || (count - 1) % 3 != 0) return InvalidParameter;
    StartAt(p, QPointF(pts[0].X, pts[0].Y));
    for (INT i = 1; i + 2 < count; i += 3)
        p->path.cubicTo(pts[i].X, pts[i].Y, pts[i + 1].X, pts[i + 1].Y, pts[i + 2].X, pts[i + 2].Y);
    return Ok;
}

GpStatus GdipCreateRegionRect(const RectF* rect, GpRegion** region)
{
    if (!rect || !region) return InvalidParameter;
    *region = new GpRegion;
    (*region)->path.addRect(QRectF(rect->X, rect->Y, rect->Width, rect->Height));
    return Ok;
}

GpStatus GdipCreateRegionPath(const GpPath* path, GpRegion** region)
{
    if (!path || !region) return InvalidParameter;
    *region = new GpRegion;
    (*region)->path = path->path;
    return Ok;
}

GpStatus GdipDeleteRegion(GpRegion* region)
{
    if (!region) return InvalidParameter;
    delete region;
    return Ok;
}

GpStatus GdipCombineRegionRegion(GpRegion* region, const GpRegion* other, CombineMode mode)
{
    if (!region || !other) return InvalidParameter;
    switch (mode) {
    case CombineModeReplace: region->path = other->path; break;
    case CombineModeIntersect: region->path = region->path.intersected(other->path); break;
    case CombineModeUnion: region->path = region->path.united(other->path); break;
    case CombineModeExclude: region->path = region->path.subtracted(other->path); break;
    case CombineModeComplement: region->path = other->path.subtracted(region->path); break;
    default: return NotImplemented;
    }
    return Ok;
}

GpStatus GdipCombineRegionPath(GpRegion* region, const GpPath* path, CombineMode mode)
{
    if (!path) return InvalidParameter;
    GpRegion other{path->path};
    return GdipCombineRegionRegion(region, &other, mode);
}

// Matrices: the six elements m11, m12, m21, m22, dx, dy of a row-vector transform, as QTransform.
GpStatus GdipCreateMatrix(GpMatrix** m)
{
    if (!m) return InvalidParameter;
    *m = new GpMatrix;
    return Ok;
}
GpStatus GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** m)
{
    if (!m) return InvalidParameter;
    *m = new GpMatrix{QTransform(m11, m12, m21, m22, dx, dy)};
    return Ok;
}
GpStatus GdipCloneMatrix(const GpMatrix* m, GpMatrix** clone)
{
    if (!m || !clone) return InvalidParameter;
    *clone = new GpMatrix(*m);
    return Ok;
}
GpStatus GdipDeleteMatrix(GpMatrix* m)
{
    if (!m) return InvalidParameter;
    delete m;
    return Ok;
}
GpStatus GdipGetMatrixElements(const GpMatrix* m, REAL* e)
{
    if (!m || !e) return InvalidParameter;
    const QTransform& t = m->m;
    const REAL v[6] = {REAL(t.m11()), REAL(t.m12()), REAL(t.m21()), REAL(t.m22()), REAL(t.dx()), REAL(t.dy())};
    std::copy(v, v + 6, e);
    return Ok;
}
GpStatus GdipSetMatrixElements(GpMatrix* m, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy)
{
    if (!m) return InvalidParameter;
    m->m = QTransform(m11, m12, m21, m22, dx, dy);
    return Ok;
}
// Prepend: the new transform acts first; append: last.
static GpStatus Combine(GpMatrix* m, const QTransform& t, MatrixOrder order)
{
    if (!m) return InvalidParameter;
    m->m = order == MatrixOrderAppend ? m->m * t : t * m->m;
    return Ok;
}
GpStatus GdipMultiplyMatrix(GpMatrix* m, const GpMatrix* other, MatrixOrder order)
{
    return other ? Combine(m, other->m, order) : InvalidParameter;
}
GpStatus GdipTranslateMatrix(GpMatrix* m, REAL dx, REAL dy, MatrixOrder order)
{
    return Combine(m, QTransform::fromTranslate(dx, dy), order);
}
GpStatus GdipScaleMatrix(GpMatrix* m, REAL sx, REAL sy, MatrixOrder order)
{
    return Combine(m, QTransform::fromScale(sx, sy), order);
}
GpStatus GdipRotateMatrix(GpMatrix* m, REAL angle, MatrixOrder order)
{
    return Combine(m, QTransform().rotate(angle), order);
}
GpStatus GdipInvertMatrix(GpMatrix* m)
{
    if (!m || !m->m.isInvertible()) return InvalidParameter;
    m->m = m->m.inverted();
    return Ok;
}
GpStatus GdipTransformMatrixPoints(const GpMatrix* m, PointF* pts, INT count)
{
    if (!m || !pts || count < 1) return InvalidParameter;
    for (INT i = 0; i < count; ++i) {
        const QPointF q = m->m.map(QPointF(pts[i].X, pts[i].Y));
        pts[i] = {REAL(q.x()), REAL(q.y())};
    }
    return Ok;
}
GpStatus GdipIsMatrixInvertible(const GpMatrix* m, bool* result)
{
    if (!m || !result) return InvalidParameter;
    *result = m->m.isInvertible();
    return Ok;
}
GpStatus GdipIsMatrixIdentity(const GpMatrix* m, bool* result)
{
    if (!m || !result) return InvalidParameter;
    *result = m->m.isIdentity();
    return Ok;
}

}  // namespace gdip
