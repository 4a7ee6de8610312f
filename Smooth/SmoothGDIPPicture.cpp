#include "Smooth/SmoothGDIPPicture.h"

#include "platform/vcl/PictureFile.h"
#include "platform/vcl/SafeWrite.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <memory>

namespace {

// Larger files are no pictures for a button; reading them whole would only exhaust memory.
constexpr qint64 kMaxPictureBytes = kMaxPictureFileBytes;

QByteArray ReadAll(QIODevice* stream)
{
    if (!stream) return {};
    if (!stream->isOpen() && !stream->open(QIODevice::ReadOnly)) return {};
    // Asked for the most it may hold, the device would set that much memory aside for every
    // picture: a file or buffer gives its size, a stream is read a piece at a time.
    if (!stream->isSequential()) {
        stream->seek(0);
        return stream->read(std::clamp<qint64>(stream->size(), 0, kMaxPictureBytes));
    }
    QByteArray bytes;
    char piece[64 * 1024];
    while (bytes.size() < kMaxPictureBytes) {
        const qint64 read = stream->read(piece, std::min<qint64>(sizeof piece, kMaxPictureBytes - bytes.size()));
        if (read <= 0) break;
        bytes.append(piece, read);
    }
    return bytes;
}

}  // namespace

TGDIPPicture::TGDIPPicture() = default;
TGDIPPicture::~TGDIPPicture() = default;

void TGDIPPicture::Changed()
{
    if (OnChange) OnChange(this);
}

void TGDIPPicture::SetBytes(QByteArray bytes)
{
    FDatastream = std::move(bytes);
    FIsEmpty = FDatastream.isEmpty();
}

void TGDIPPicture::ReadData(QIODevice* stream)
{
    QByteArray bytes = ReadAll(stream);
    if (bytes.isEmpty()) return;
    SetBytes(std::move(bytes));
    GetImageSizes();
}

void TGDIPPicture::LoadFromStream(QIODevice* stream)
{
    QByteArray bytes = ReadAll(stream);
    if (bytes.isEmpty()) return;
    SetBytes(std::move(bytes));
    GetImageSizes();
    Changed();
}

void TGDIPPicture::SaveToStream(QIODevice* stream) const
{
    if (stream) stream->write(FDatastream);
}

void TGDIPPicture::LoadFromFile(const QString& fileName)
{
    std::string bytes;
    const SafeReadResult read = ReadRegularFile(fileName, bytes, kMaxPictureBytes);
    if (!read) {
        const std::string why = read.status == SafeReadResult::Status::NotRegular ? "It is not a regular file."
                                : read.status == SafeReadResult::Status::TooLarge ? "The file is too large."
                                                                                  : read.reason.toStdString() + ".";
        throw EFOpenError("Cannot open file \"" + fileName.toStdString() + "\". " + why);
    }
    FDatastream = QByteArray::fromStdString(bytes);
    FIsEmpty = false;
    if (OnClear) OnClear(this);
    GetImageSizesFromFileName(fileName);
    Changed();
}

void TGDIPPicture::LoadFromResourceName(const QString& name)
{
    QFile resource(QStringLiteral(":/") + name);
    if (!resource.exists() || !resource.open(QIODevice::ReadOnly)) return;
    LoadFromStream(&resource);
}

void TGDIPPicture::LoadFromURL(const QString& url)
{
    const QString upper = url.toUpper();
    if (upper.startsWith(QLatin1String("RES://"))) {
        const QString rest = url.mid(6);
        if (!rest.isEmpty()) LoadFromResourceName(rest);
    } else if (upper.startsWith(QLatin1String("FILE://"))) {
        const QString rest = url.mid(7);
        if (!rest.isEmpty()) LoadFromFile(rest);
    }
}

void TGDIPPicture::Assign(const TGDIPPicture* source)
{
    FIsEmpty = true;
    if (!source) {
        FDatastream.clear();
        Changed();
        if (OnClear) OnClear(this);
        return;
    }
    if (source != this) SetBytes(source->FDatastream);
    else FIsEmpty = FDatastream.isEmpty();
    Changed();
    GetImageSizes();
}

void TGDIPPicture::Assign(const QImage& bitmap)
{
    FIsEmpty = true;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bitmap.save(&buffer, "BMP");
    SetBytes(bytes);
    FIsEmpty = false;
    Changed();
    GetImageSizes();
}

bool TGDIPPicture::GetImageSizes()
{
    if (FIsEmpty || FDatastream.isEmpty()) return false;
    TGPImage image(FDatastream);
    FWidth = int(image.GetWidth());
    FHeight = int(image.GetHeight());
    return image.GetLastStatus() == gdip::Ok;
}

bool TGDIPPicture::GetImageSizesFromFileName(const QString& fileName)
{
    if (FIsEmpty || FDatastream.isEmpty()) return false;
    const QString ext = QFileInfo(fileName).suffix().toUpper();
    TImageSize size;
    if (ext == QLatin1String("JPG") || ext == QLatin1String("JPEG")) size = GetJPEGSize(FDatastream);
    else if (ext == QLatin1String("PNG")) size = GetPNGSize(FDatastream);
    else if (ext == QLatin1String("BMP")) size = GetBMPSize(FDatastream);
    else if (ext == QLatin1String("TIFF")) size = GetTIFFSize(FDatastream);
    else if (ext == QLatin1String("GIF")) size = GetGIFSize(FDatastream);
    FWidth = size.Width;
    FHeight = size.Height;
    return false;
}

void TGDIPPicture::GDIPDraw(TGPGraphics* graphics, const TRect& rect)
{
    if (FIsEmpty || FDatastream.isEmpty() || !graphics) return;
    TGPImage image(FDatastream);
    FHasAlpha = image.HasAlphaChannel();
    FHasPalette = image.HasPalette();
    FPixelDepth = image.GetPixelDepth();
    FPixelFormat = image.GetPixelFormat();
    FWidth = int(image.GetWidth());
    FHeight = int(image.GetHeight());
    if (image.GetFormat() == ifBMP && Transparent) {
        TGPImageAttributes attributes;
        ARGB key = ColorToARGB(TransparentColor);
        if (TransparentMode == tmAuto) {
            TGPBitmap bitmap(FDatastream);
            bitmap.GetPixel(0, 0, &key);
        }
        attributes.SetColorKey(key, key);
        graphics->DrawImage(&image, TGPRect{rect.Left, rect.Top, FWidth, FHeight}, 0, 0, FWidth, FHeight, gdip::UnitPixel,
                            &attributes);
        return;
    }
    graphics->DrawImage(&image, INT(rect.Left), INT(rect.Top), SaturatedRound(double(rect.Right) - rect.Left),
                        SaturatedRound(double(rect.Bottom) - rect.Top));
}

void TGDIPPicture::Draw(QPainter& canvas, const TRect& rect)
{
    if (FIsEmpty || FDatastream.isEmpty()) return;
    TGPGraphics graphics(&canvas);
    TGPImage image(FDatastream);
    if (image.GetFormat() == ifBMP) {
        // A transparent bitmap in automatic mode is keyed on its bottom-left pixel.
        QImage bitmap = QImage::fromData(FDatastream, "BMP");
        if (bitmap.isNull()) return;
        bitmap = bitmap.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = bitmap.pixel(0, bitmap.height() - 1);
        for (int y = 0; y < bitmap.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
            for (int x = 0; x < bitmap.width(); ++x)
                if (line[x] == key) line[x] = 0;
        }
        canvas.drawImage(rect.Left, rect.Top, bitmap);
        return;
    }
    FWidth = int(image.GetWidth());
    FHeight = int(image.GetHeight());
    graphics.DrawImage(&image, INT(rect.Left), INT(rect.Top), SaturatedRound(double(rect.Right) - rect.Left),
                       SaturatedRound(double(rect.Bottom) - rect.Top));
}

void TGDIPPicture::FillPath(TGPGraphics* graphics, TGPGraphicsPath* path)
{
    if (FIsEmpty || FDatastream.isEmpty() || !graphics || !path || !path->nativePath) return;
    TGPImage image(FDatastream);
    TGPTextureBrush brush(&image, gdip::WrapModeTile);
    const QRectF box = path->nativePath->path.boundingRect();
    brush.TranslateTransform(REAL(box.x()), REAL(box.y()));
    graphics->FillPath(&brush, path);
}

void TGDIPPicture::FillRect(TGPGraphics* graphics, const TGPRectF& rect)
{
    if (FIsEmpty || FDatastream.isEmpty() || !graphics) return;
    TGPImage image(FDatastream);
    TGPTextureBrush brush(&image, gdip::WrapModeTile);
    brush.TranslateTransform(rect.X, rect.Y);
    graphics->FillRectangle(&brush, rect);
}
