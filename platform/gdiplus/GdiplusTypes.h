#pragma once
// The drawing objects behind the smooth components' object layer: graphics, pens, brushes, paths,
// regions, fonts, string formats, images, matrices and image attributes, each a small record over
// the Qt class that does its job. Callers hold them only through the flat functions of
// GdiplusFlat.h; the records are visible so that those functions can be split over several files.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cstdint>
#include <memory>
#include <vector>

namespace gdip {

using ARGB = std::uint32_t;
using REAL = float;
using INT = std::int32_t;

// The status every flat function returns.
enum GpStatus : std::int32_t {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    NotImplemented = 6,
    Win32Error = 7,  // the system refused: a file that could not be read or written
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14,
    FontStyleNotFound = 15,
};

enum FillMode : INT { FillModeAlternate = 0, FillModeWinding = 1 };
enum WrapMode : INT { WrapModeTile = 0, WrapModeTileFlipX, WrapModeTileFlipY, WrapModeTileFlipXY, WrapModeClamp };
enum CombineMode : INT {
    CombineModeReplace = 0,
    CombineModeIntersect,
    CombineModeUnion,
    CombineModeXor,
    CombineModeExclude,
    CombineModeComplement
};
enum DashStyle : INT { DashStyleSolid = 0, DashStyleDash, DashStyleDot, DashStyleDashDot, DashStyleDashDotDot };
enum LinearGradientMode : INT {
    LinearGradientModeHorizontal = 0,
    LinearGradientModeVertical = 1,
    LinearGradientModeForwardDiagonal = 2,
    LinearGradientModeBackwardDiagonal = 3
};
enum SmoothingMode : INT { SmoothingModeDefault = 0, SmoothingModeAntiAlias = 4 };
enum TextRenderingHint : INT { TextRenderingHintAntiAlias = 4, TextRenderingHintClearTypeGridFit = 5 };
enum Unit : INT { UnitPixel = 2, UnitPoint = 3 };
enum StringAlignment : INT { StringAlignmentNear = 0, StringAlignmentCenter = 1, StringAlignmentFar = 2 };
enum HotkeyPrefix : INT { HotkeyPrefixNone = 0, HotkeyPrefixShow = 1, HotkeyPrefixHide = 2 };
enum MatrixOrder : INT { MatrixOrderPrepend = 0, MatrixOrderAppend = 1 };
// What a pen is filled with; GetBrush picks the wrapper class by it.
enum PenType : INT { PenTypeSolidColor = 0, PenTypeHatchFill, PenTypeTextureFill, PenTypePathGradient, PenTypeLinearGradient };

// Pixel formats: index in bits 0-7, bits per pixel in bits 8-15, palette bit 16, alpha bit 18.
enum : INT {
    PixelFormatUndefined = 0,
    PixelFormat8bppIndexed = 3 | (8 << 8) | (1 << 16),
    PixelFormat24bppRGB = 8 | (24 << 8),
    PixelFormat32bppRGB = 9 | (32 << 8),
    PixelFormat32bppARGB = 10 | (32 << 8) | (1 << 18),
};

// The raw format of a decoded image.
enum class RawFormat { Undefined, MemoryBMP, BMP, EMF, WMF, JPEG, PNG, GIF, TIFF, EXIF, Icon };

struct PointF {
    REAL X = 0, Y = 0;
};
struct RectF {
    REAL X = 0, Y = 0, Width = 0, Height = 0;
};
struct Rect {
    INT X = 0, Y = 0, Width = 0, Height = 0;
};

struct GpPath {
    QPainterPath path;
    bool figureOpen = false;  // the next piece joins the last point with a line
};

struct GpRegion {
    QPainterPath path;
};

struct GpMatrix {
    QTransform m;
};

enum class BrushKind { Solid, Hatch, Texture, LinearGradient, PathGradient };

struct GpBrush {
    BrushKind kind = BrushKind::Solid;
    ARGB color = 0;      // solid colour, hatch fore colour
    ARGB backColor = 0;  // hatch back colour
    INT hatchStyle = 0;
    // Texture
    QImage texture;
    WrapMode wrap = WrapModeTile;
    QTransform transform;
    // Linear gradient: the colour line runs from start to end; both points in world coordinates.
    QPointF start, end;
    ARGB colors[2] = {0, 0};
    bool gamma = false;
    std::vector<REAL> blendFactors, blendPositions;
    std::vector<ARGB> presetColors;
    std::vector<REAL> presetPositions;
    // Path gradient: the boundary as a closed polygon, its centre, centre and surround colours.
    QPolygonF boundary;
    QPainterPath boundaryPath;
    QPointF center;
    ARGB centerColor = 0xFFFFFFFF;
    std::vector<ARGB> surroundColors;
    INT pointCount = 0;
};

struct GpPen {
    std::unique_ptr<GpBrush> brush;
    REAL width = 1;
    DashStyle dash = DashStyleSolid;
    INT endCap = 0;
};

struct GpFontFamily {
    QString name;
};

struct GpFont {
    QFont font;
    QString family;
    REAL size = 0;
    INT style = 0;
    Unit unit = UnitPoint;
};

struct GpFontCollection {};

struct GpStringFormat {
    INT flags = 0;
    INT language = 0;
    StringAlignment alignment = StringAlignmentNear;
    StringAlignment lineAlignment = StringAlignmentNear;
    INT trimming = 0;
    HotkeyPrefix hotkeyPrefix = HotkeyPrefixNone;
};

struct GpImage {
    QImage image;
    RawFormat format = RawFormat::Undefined;
};

struct GpImageAttributes {
    bool colorKey = false;
    ARGB keyLow = 0, keyHigh = 0;
    WrapMode wrap = WrapModeClamp;
};

struct GpGraphics {
    QPainter* painter = nullptr;
    std::unique_ptr<QPainter> own;  // a painter the graphics opened on an image
    INT smoothing = SmoothingModeDefault;
    INT textHint = 0;
    INT pixelOffset = 0;
    INT compositing = 0;
    INT interpolation = 0;
};

}  // namespace gdip
