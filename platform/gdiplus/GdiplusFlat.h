#pragma once
// The flat drawing interface that the smooth components' object layer forwards to, done over
// QPainter, QPainterPath, QImage and Qt's brushes. A "device context" here is an open QPainter.
// Every function returns a status and writes its results through pointers; none throws.
#include "platform/gdiplus/GdiplusTypes.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace gdip {

// Start-up and shutdown of the drawing library for the process.
GpStatus GdiplusStartup(std::uintptr_t* token);
void GdiplusShutdown(std::uintptr_t token);
GpStatus GdiplusNotificationHook(std::uintptr_t* token);
void GdiplusNotificationUnhook(std::uintptr_t token);
bool GdiplusStarted();
void* GdipAlloc(std::size_t size);
void GdipFree(void* memory);

// Graphics
GpStatus GdipCreateFromHDC(QPainter* hdc, GpGraphics** graphics);
GpStatus GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics);
GpStatus GdipDeleteGraphics(GpGraphics* graphics);
GpStatus GdipGraphicsClear(GpGraphics* graphics, ARGB color);
GpStatus GdipFlush(GpGraphics* graphics, INT intention);
GpStatus GdipGetDC(GpGraphics* graphics, QPainter** hdc);
GpStatus GdipReleaseDC(GpGraphics* graphics, QPainter* hdc);
GpStatus GdipSetTextRenderingHint(GpGraphics* graphics, INT hint);
GpStatus GdipGetTextRenderingHint(GpGraphics* graphics, INT* hint);
GpStatus GdipSetSmoothingMode(GpGraphics* graphics, INT mode);
GpStatus GdipGetSmoothingMode(GpGraphics* graphics, INT* mode);
GpStatus GdipSetPixelOffsetMode(GpGraphics* graphics, INT mode);
GpStatus GdipGetPixelOffsetMode(GpGraphics* graphics, INT* mode);
GpStatus GdipSetCompositingQuality(GpGraphics* graphics, INT quality);
GpStatus GdipGetCompositingQuality(GpGraphics* graphics, INT* quality);
GpStatus GdipSetInterpolationMode(GpGraphics* graphics, INT mode);
GpStatus GdipMeasureString(GpGraphics* graphics, const QString& text, const GpFont* font, const RectF* layout,
                           const GpStringFormat* format, RectF* bounds, INT* codepointsFitted, INT* linesFilled);
GpStatus GdipDrawString(GpGraphics* graphics, const QString& text, const GpFont* font, const RectF* layout,
                        const GpStringFormat* format, const GpBrush* brush);
GpStatus GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);
GpStatus GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path);
GpStatus GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
GpStatus GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
GpStatus GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2);
GpStatus GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
GpStatus GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
GpStatus GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL start, REAL sweep);
GpStatus GdipDrawArcI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height, REAL start, REAL sweep);
GpStatus GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const PointF* points, INT count, FillMode mode);
GpStatus GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const QPoint* points, INT count, FillMode mode);
GpStatus GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y);
GpStatus GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y);
GpStatus GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height);
GpStatus GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dx, REAL dy, REAL dw, REAL dh, REAL sx,
                               REAL sy, REAL sw, REAL sh, Unit unit, const GpImageAttributes* attributes);
GpStatus GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dx, INT dy, INT dw, INT dh, INT sx, INT sy,
                                INT sw, INT sh, Unit unit, const GpImageAttributes* attributes);
GpStatus GdipDrawImagePointsRect(GpGraphics* graphics, GpImage* image, const PointF* points, INT count, REAL sx,
                                 REAL sy, REAL sw, REAL sh, Unit unit, const GpImageAttributes* attributes);
GpStatus GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode mode);
GpStatus GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, CombineMode mode);
GpStatus GdipResetClip(GpGraphics* graphics);

// Pens
GpStatus GdipCreatePen1(ARGB color, REAL width, Unit unit, GpPen** pen);
GpStatus GdipCreatePen2(GpBrush* brush, REAL width, Unit unit, GpPen** pen);
GpStatus GdipDeletePen(GpPen* pen);
GpStatus GdipGetPenBrushFill(GpPen* pen, GpBrush** brush);
GpStatus GdipGetPenFillType(GpPen* pen, PenType* type);
GpStatus GdipSetPenDashStyle(GpPen* pen, DashStyle style);
GpStatus GdipGetPenDashStyle(GpPen* pen, DashStyle* style);
GpStatus GdipSetPenEndCap(GpPen* pen, INT cap);

// Brushes
GpStatus GdipDeleteBrush(GpBrush* brush);
GpStatus GdipCreateSolidFill(ARGB color, GpBrush** brush);
GpStatus GdipCreateHatchBrush(INT style, ARGB fore, ARGB back, GpBrush** brush);
GpStatus GdipGetHatchStyle(GpBrush* brush, INT* style);
GpStatus GdipGetHatchForegroundColor(GpBrush* brush, ARGB* color);
GpStatus GdipGetHatchBackgroundColor(GpBrush* brush, ARGB* color);
GpStatus GdipCreateTexture(GpImage* image, WrapMode wrap, GpBrush** brush);
GpStatus GdipCreateTexture2(GpImage* image, WrapMode wrap, REAL x, REAL y, REAL width, REAL height, GpBrush** brush);
GpStatus GdipCreateTexture2I(GpImage* image, WrapMode wrap, INT x, INT y, INT width, INT height, GpBrush** brush);
GpStatus GdipCreateTextureIA(GpImage* image, const GpImageAttributes* attributes, REAL x, REAL y, REAL width,
                             REAL height, GpBrush** brush);
GpStatus GdipSetTextureTransform(GpBrush* brush, const GpMatrix* matrix);
GpStatus GdipGetTextureTransform(GpBrush* brush, GpMatrix* matrix);
GpStatus GdipResetTextureTransform(GpBrush* brush);
GpStatus GdipMultiplyTextureTransform(GpBrush* brush, const GpMatrix* matrix, MatrixOrder order);
GpStatus GdipTranslateTextureTransform(GpBrush* brush, REAL dx, REAL dy, MatrixOrder order);
GpStatus GdipScaleTextureTransform(GpBrush* brush, REAL sx, REAL sy, MatrixOrder order);
GpStatus GdipRotateTextureTransform(GpBrush* brush, REAL angle, MatrixOrder order);
GpStatus GdipSetTextureWrapMode(GpBrush* brush, WrapMode wrap);
GpStatus GdipGetTextureWrapMode(GpBrush* brush, WrapMode* wrap);
GpStatus GdipGetTextureImage(GpBrush* brush, GpImage** image);

GpStatus GdipCreateLineBrush(const PointF* p1, const PointF* p2, ARGB c1, ARGB c2, WrapMode wrap, GpBrush** brush);
GpStatus GdipCreateLineBrushFromRect(const RectF* rect, ARGB c1, ARGB c2, LinearGradientMode mode, WrapMode wrap,
                                     GpBrush** brush);
GpStatus GdipCreateLineBrushI(const QPoint* p1, const QPoint* p2, ARGB c1, ARGB c2, WrapMode wrap, GpBrush** brush);
GpStatus GdipCreateLineBrushFromRectI(const Rect* rect, ARGB c1, ARGB c2, LinearGradientMode mode, WrapMode wrap,
                                      GpBrush** brush);
GpStatus GdipCreateLineBrushFromRectWithAngleI(const Rect* rect, ARGB c1, ARGB c2, REAL angle, bool scalable,
                                               WrapMode wrap, GpBrush** brush);
GpStatus GdipCreateLineBrushFromRectWithAngle(const RectF* rect, ARGB c1, ARGB c2, REAL angle, bool scalable,
                                              WrapMode wrap, GpBrush** brush);
// Gamma, blend, preset colours and their shapes, for line and path gradients alike.
GpStatus GdipSetGammaCorrection(GpBrush* brush, bool on);
GpStatus GdipGetGammaCorrection(GpBrush* brush, bool* on);
GpStatus GdipGetBlendCount(GpBrush* brush, INT* count);
GpStatus GdipSetBlend(GpBrush* brush, const REAL* factors, const REAL* positions, INT count);
GpStatus GdipGetBlend(GpBrush* brush, REAL* factors, REAL* positions, INT count);
GpStatus GdipGetPresetBlendCount(GpBrush* brush, INT* count);
GpStatus GdipSetPresetBlend(GpBrush* brush, const ARGB* colors, const REAL* positions, INT count);
GpStatus GdipGetPresetBlend(GpBrush* brush, ARGB* colors, REAL* positions, INT count);
GpStatus GdipSetSigmaBlend(GpBrush* brush, REAL focus, REAL scale);
GpStatus GdipSetLinearBlend(GpBrush* brush, REAL focus, REAL scale);

GpStatus GdipCreatePathGradient(const PointF* points, INT count, WrapMode wrap, GpBrush** brush);
GpStatus GdipCreatePathGradientI(const QPoint* points, INT count, WrapMode wrap, GpBrush** brush);
GpStatus GdipCreatePathGradientFromPath(const GpPath* path, GpBrush** brush);
GpStatus GdipSetPathGradientCenterColor(GpBrush* brush, ARGB color);
GpStatus GdipGetPathGradientCenterColor(GpBrush* brush, ARGB* color);
GpStatus GdipGetPathGradientPointCount(GpBrush* brush, INT* count);
GpStatus GdipSetPathGradientSurroundColorsWithCount(GpBrush* brush, const ARGB* colors, INT* count);
GpStatus GdipGetPathGradientSurroundColorsWithCount(GpBrush* brush, ARGB* colors, INT* count);
GpStatus GdipSetPathGradientCenterPoint(GpBrush* brush, const PointF* point);
GpStatus GdipGetPathGradientCenterPoint(GpBrush* brush, PointF* point);
GpStatus GdipSetPathGradientWrapMode(GpBrush* brush, WrapMode wrap);
GpStatus GdipGetPathGradientWrapMode(GpBrush* brush, WrapMode* wrap);

// Paths and regions
GpStatus GdipCreatePath(FillMode mode, GpPath** path);
GpStatus GdipDeletePath(GpPath* path);
GpStatus GdipClosePathFigure(GpPath* path);
GpStatus GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus GdipAddPathLine2I(GpPath* path, const QPoint* points, INT count);
GpStatus GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL start, REAL sweep);
GpStatus GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height);
GpStatus GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL start, REAL sweep);
GpStatus GdipAddPathPolygon(GpPath* path, const PointF* points, INT count);
GpStatus GdipAddPathPolygonI(GpPath* path, const QPoint* points, INT count);
GpStatus GdipAddPathCurve(GpPath* path, const PointF* points, INT count, REAL tension);
GpStatus GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4);
GpStatus GdipAddPathBeziers(GpPath* path, const PointF* points, INT count);
GpStatus GdipCreateRegionRect(const RectF* rect, GpRegion** region);
GpStatus GdipCreateRegionPath(const GpPath* path, GpRegion** region);
GpStatus GdipDeleteRegion(GpRegion* region);
GpStatus GdipCombineRegionPath(GpRegion* region, const GpPath* path, CombineMode mode);
GpStatus GdipCombineRegionRegion(GpRegion* region, const GpRegion* other, CombineMode mode);

// Fonts and string formats
GpStatus GdipCreateFontFamilyFromName(const QString& name, GpFontCollection* collection, GpFontFamily** family);
GpStatus GdipDeleteFontFamily(GpFontFamily* family);
GpStatus GdipCreateFont(const GpFontFamily* family, REAL size, INT style, Unit unit, GpFont** font);
GpStatus GdipDeleteFont(GpFont* font);
GpStatus GdipCreateStringFormat(INT flags, INT language, GpStringFormat** format);
GpStatus GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** clone);
GpStatus GdipDeleteStringFormat(GpStringFormat* format);

// Images. A "stream" is the image file's bytes. A file is read only when it is a regular file (or
// a link to one): a pipe or a device can neither hang the reader nor feed it without end.
GpStatus GdipLoadImageFromFile(const QString& fileName, GpImage** image);
GpStatus GdipLoadImageFromStream(const QByteArray& bytes, GpImage** image);
GpStatus GdipCreateBitmapFromScan0(INT width, INT height, INT stride, INT format, std::uint8_t* scan0, GpImage** bitmap);
GpStatus GdipDisposeImage(GpImage* image);
GpStatus GdipGetImageWidth(GpImage* image, std::uint32_t* width);
GpStatus GdipGetImageHeight(GpImage* image, std::uint32_t* height);
GpStatus GdipGetImagePixelFormat(GpImage* image, INT* format);
GpStatus GdipGetImageRawFormat(GpImage* image, RawFormat* format);
GpStatus GdipSaveImageToFile(GpImage* image, const QString& fileName, const char* format);
GpStatus GdipSaveImageToStream(GpImage* image, QByteArray* bytes, const char* format);
GpStatus GdipImageRotateFlip(GpImage* image, INT rotateFlip);
GpStatus GdipBitmapGetPixel(GpImage* bitmap, INT x, INT y, ARGB* color);
GpStatus GdipBitmapSetPixel(GpImage* bitmap, INT x, INT y, ARGB color);
GpStatus GdipCreateImageAttributes(GpImageAttributes** attributes);
GpStatus GdipCloneImageAttributes(const GpImageAttributes* attributes, GpImageAttributes** clone);
GpStatus GdipDisposeImageAttributes(GpImageAttributes* attributes);
GpStatus GdipResetImageAttributes(GpImageAttributes* attributes);
GpStatus GdipSetImageAttributesColorKeys(GpImageAttributes* attributes, bool enable, ARGB low, ARGB high);
GpStatus GdipSetImageAttributesWrapMode(GpImageAttributes* attributes, WrapMode wrap);

// Matrices
GpStatus GdipCreateMatrix(GpMatrix** matrix);
GpStatus GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix);
GpStatus GdipCloneMatrix(const GpMatrix* matrix, GpMatrix** clone);
GpStatus GdipDeleteMatrix(GpMatrix* matrix);
GpStatus GdipGetMatrixElements(const GpMatrix* matrix, REAL* elements);
GpStatus GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
GpStatus GdipMultiplyMatrix(GpMatrix* matrix, const GpMatrix* other, MatrixOrder order);
GpStatus GdipTranslateMatrix(GpMatrix* matrix, REAL dx, REAL dy, MatrixOrder order);
GpStatus GdipScaleMatrix(GpMatrix* matrix, REAL sx, REAL sy, MatrixOrder order);
GpStatus GdipRotateMatrix(GpMatrix* matrix, REAL angle, MatrixOrder order);
GpStatus GdipInvertMatrix(GpMatrix* matrix);
GpStatus GdipTransformMatrixPoints(const GpMatrix* matrix, PointF* points, INT count);
GpStatus GdipIsMatrixInvertible(const GpMatrix* matrix, bool* result);
GpStatus GdipIsMatrixIdentity(const GpMatrix* matrix, bool* result);

// Internal helpers shared by the files of this layer.
QColor ToColor(ARGB argb);
// Fills an area (in world coordinates) with a brush, whatever its kind.
void FillArea(GpGraphics* graphics, const GpBrush& brush, const QPainterPath& area);
// A path gradient's colours over a pixel grid: origin and size in world pixels.
QImage RenderPathGradient(const GpBrush& brush, const QRect& pixels);
// The colour of a line gradient as a Qt brush.
QBrush LinearGradientBrush(const GpBrush& brush);
QBrush HatchBrush(const GpBrush& brush);

}  // namespace gdip

namespace gdip {

// Colour adjustments of image attributes. Drawing here applies only the colour key; the others
// report NotImplemented when enabled and clear without complaint.
struct ColorMatrix {
    REAL m[5][5];
};
GpStatus GdipSetImageAttributesColorMatrix(GpImageAttributes* a, bool enable, const ColorMatrix* matrix,
                                           const ColorMatrix* grayMatrix, INT flags);
GpStatus GdipSetImageAttributesThreshold(GpImageAttributes* a, bool enable, REAL threshold);
GpStatus GdipSetImageAttributesGamma(GpImageAttributes* a, bool enable, REAL gamma);
GpStatus GdipSetImageAttributesNoOp(GpImageAttributes* a, bool enable);
GpStatus GdipSetImageAttributesOutputChannel(GpImageAttributes* a, bool enable, INT channelFlags);
GpStatus GdipSetImageAttributesOutputChannelColorProfile(GpImageAttributes* a, bool enable, const QString& profile);
GpStatus GdipSetImageAttributesRemapTable(GpImageAttributes* a, INT adjustType, bool enable, INT count, const ARGB* map);
GpStatus GdipGetImageAttributesAdjustedPalette(GpImageAttributes* a, QList<QRgb>* palette, INT adjustType);

// Matrices from a rectangle and the three points it maps to (top-left, top-right, bottom-left).
GpStatus GdipCreateMatrix3(const RectF* rect, const PointF* points, GpMatrix** matrix);
GpStatus GdipCreateMatrix3I(const Rect* rect, const QPoint* points, GpMatrix** matrix);
GpStatus GdipShearMatrix(GpMatrix* matrix, REAL shearX, REAL shearY, MatrixOrder order);
GpStatus GdipVectorTransformMatrixPoints(const GpMatrix* matrix, PointF* points, INT count);
GpStatus GdipIsMatrixEqual(const GpMatrix* matrix, const GpMatrix* other, bool* result);

}  // namespace gdip
