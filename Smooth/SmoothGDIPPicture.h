#pragma once
// The components' picture: it keeps the image file's bytes as they came and decodes them each
// time it is measured or drawn, so no decoded bitmap stays in memory. Beside it: the readers that
// learn an image's size from its file header, and the gradient filler that paints one area.
#include "Smooth/SmoothGDIP.h"

#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <functional>
#include <stdexcept>

using TNotifyEvent = std::function<void(QObject* Sender)>;

enum TTransparentMode { tmAuto, tmFixed };

// The file-open error of LoadFromFile.
class EFOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TGDIPPicture : public QObject {
public:
    TGDIPPicture();
    ~TGDIPPicture() override;

    // From another picture, from a bitmap (kept as BMP bytes), or nothing (null) to clear.
    void Assign(const TGDIPPicture* source);
    void Assign(const QImage& bitmap);
    // Draws on a plain painter: a BMP unscaled and transparent, anything else stretched.
    void Draw(QPainter& canvas, const TRect& rect);
    bool Empty() const { return FIsEmpty; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int) {}
    void SetHeight(int) {}
    // The form stream's data: the raw image file.
    void ReadData(QIODevice* stream);
    void WriteData(QIODevice* stream) const { SaveToStream(stream); }

    void LoadFromStream(QIODevice* stream);
    void SaveToStream(QIODevice* stream) const;
    void LoadFromFile(const QString& fileName);
    // The program's own resources (":/name"); nothing when there is no such resource.
    void LoadFromResourceName(const QString& name);
    // "RES://name" or "FILE://path", the prefix in any letter case; anything else does nothing.
    void LoadFromURL(const QString& url);

    bool GetImageSizes();
    bool GetImageSizesFromFileName(const QString& fileName);
    void GDIPDraw(TGPGraphics* graphics, const TRect& rect);
    // Fill the area with the picture repeated from the area's top-left.
    void FillPath(TGPGraphics* graphics, TGPGraphicsPath* path);
    void FillRect(TGPGraphics* graphics, const TGPRectF& rect);

    const QByteArray& Data() const { return FDatastream; }

    bool DoubleBuffered = false;
    bool Transparent = false;
    TTransparentMode TransparentMode = tmAuto;
    TColor TransparentColor = 0xFFFFFF;
    QString ID;
    INT PixelFormat() const { return FPixelFormat; }
    INT PixelDepth() const { return FPixelDepth; }
    bool HasAlpha() const { return FHasAlpha; }
    bool HasPalette() const { return FHasPalette; }

    TNotifyEvent OnChange;  // the picture changed
    TNotifyEvent OnClear;

private:
    void Changed();
    void SetBytes(QByteArray bytes);

    QByteArray FDatastream;
    bool FIsEmpty = true;
    int FWidth = 0, FHeight = 0;
    INT FPixelDepth = 0;
    bool FHasAlpha = false, FHasPalette = false;
    INT FPixelFormat = 0;
};

struct TImageSize {
    int Width = 0, Height = 0;
};
TImageSize GetJPEGSize(const QByteArray& bytes);
TImageSize GetPNGSize(const QByteArray& bytes);
TImageSize GetBMPSize(const QByteArray& bytes);
TImageSize GetTIFFSize(const QByteArray& bytes);
TImageSize GetGIFSize(const QByteArray& bytes);

enum TGradientType : int {
    gtSolid,
    gtRadial,
    gtVertical,
    gtHorizontal,
    gtForwardDiagonal,
    gtBackwardDiagonal,
    gtAngle,
    gtHatch,
    gtPath,
    gtTexture,
    gtNone
};

// One area to paint: the path (when FillPath) or the rectangle, by gradient type, with an
// optional border and, for the lower half of a fill, a 1-pixel top line of the first colour.
struct TFillGradientRequest {
    TGPGraphics* Graphics = nullptr;
    TGPGraphicsPath* Path = nullptr;
    bool FillPath = false;
    REAL X = 0, Y = 0, Width = 0, Height = 0;
    TGradientType GradientType = gtSolid;
    TColor Color = clNone, ColorTo = clNone;
    std::uint8_t Opacity = 255, OpacityTo = 255;
    INT HatchStyle = 0;
    int Angle = 0;
    TGDIPPicture* Texture = nullptr;
    TColor BorderColor = clNone;
    int BorderWidth = 0;
    gdip::DashStyle BorderDashStyle = gdip::DashStyleSolid;
    bool TopLine = false;
};

void FillByGradientType(TFillGradientRequest request);
