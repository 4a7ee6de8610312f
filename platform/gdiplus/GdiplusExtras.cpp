// Image-attribute adjustments and the rarer matrix forms.
#include "platform/gdiplus/GdiplusFlat.h"

namespace gdip {

namespace {
GpStatus Adjustment(GpImageAttributes* a, bool enable)
{
    if (!a) return InvalidParameter;
    return enable ? NotImplemented : Ok;
}
}  // namespace

GpStatus GdipSetImageAttributesColorMatrix(GpImageAttributes* a, bool enable, const ColorMatrix* matrix,
                                           const ColorMatrix*, INT)
{
    if (enable && !matrix) return InvalidParameter;
    return Adjustment(a, enable);
}
GpStatus GdipSetImageAttributesThreshold(GpImageAttributes* a, bool enable, REAL) { return Adjustment(a, enable); }
GpStatus GdipSetImageAttributesGamma(GpImageAttributes* a, bool enable, REAL gamma)
{
    if (enable && gamma <= 0) return InvalidParameter;
    return Adjustment(a, enable);
}
GpStatus GdipSetImageAttributesNoOp(GpImageAttributes* a, bool enable) { return Adjustment(a, enable); }
GpStatus GdipSetImageAttributesOutputChannel(GpImageAttributes* a, bool enable, INT) { return Adjustment(a, enable); }
GpStatus GdipSetImageAttributesOutputChannelColorProfile(GpImageAttributes* a, bool enable, const QString&)
{
    return Adjustment(a, enable);
}
GpStatus GdipSetImageAttributesRemapTable(GpImageAttributes* a, INT, bool enable, INT count, const ARGB* map)
{
    if (enable && (count < 1 || !map)) return InvalidParameter;
    return Adjustment(a, enable);
}
GpStatus GdipGetImageAttributesAdjustedPalette(GpImageAttributes* a, QList<QRgb>* palette, INT)
{
    return a && palette ? Ok : InvalidParameter;  // no adjustment changes a palette here
}

GpStatus GdipCreateMatrix3(const RectF* rect, const PointF* p, GpMatrix** matrix)
{
    if (!rect || !p || !matrix || rect->Width == 0 || rect->Height == 0) return InvalidParameter;
    const double m11 = (p[1].X - p[0].X) / rect->Width, m12 = (p[1].Y - p[0].Y) / rect->Width;
    const double m21 = (p[2].X - p[0].X) / rect->Height, m22 = (p[2].Y - p[0].Y) / rect->Height;
    *matrix = new GpMatrix{QTransform(m11, m12, m21, m22, p[0].X - m11 * rect->X - m21 * rect->Y,
                                      p[0].Y - m12 * rect->X - m22 * rect->Y)};
    return Ok;
}

GpStatus GdipCreateMatrix3I(const Rect* rect, const QPoint* p, GpMatrix** matrix)
{
    if (!rect || !p) return InvalidParameter;
    const RectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
    const PointF f[3] = {{REAL(p[0].x()), REAL(p[0].y())}, {REAL(p[1].x()), REAL(p[1].y())}, {REAL(p[2].x()), REAL(p[2].y())}};
    return GdipCreateMatrix3(&r, f, matrix);
}

GpStatus GdipShearMatrix(GpMatrix* m, REAL shearX, REAL shearY, MatrixOrder order)
{
    if (!m) return InvalidParameter;
    const QTransform t(1, shearY, shearX, 1, 0, 0);
    m->m = order == MatrixOrderAppend ? m->m * t : t * m->m;
    return Ok;
}

GpStatus GdipVectorTransformMatrixPoints(const GpMatrix* m, PointF* pts, INT count)
{
    if (!m || !pts || count < 1) return InvalidParameter;
    const QTransform linear(m->m.m11(), m->m.m12(), m->m.m21(), m->m.m22(), 0, 0);
    for (INT i = 0; i < count; ++i) {
        const QPointF q = linear.map(QPointF(pts[i].X, pts[i].Y));
        pts[i] = {REAL(q.x()), REAL(q.y())};
    }
    return Ok;
}

GpStatus GdipIsMatrixEqual(const GpMatrix* m, const GpMatrix* other, bool* result)
{
    if (!m || !other || !result) return InvalidParameter;
    *result = m->m == other->m;
    return Ok;
}

}  // namespace gdip
