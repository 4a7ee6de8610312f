#include "platform/vcl/PictureFile.h"

#include "platform/vcl/SafeWrite.h"

#include <QBuffer>
#include <QImageReader>

namespace {

// A picture may not exceed this many pixels: decoding a header that claims more would take
// gigabytes.
constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

}  // namespace

QImage DecodePicture(const QByteArray& bytes)
{
    if (bytes.isEmpty()) return {};
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader::setAllocationLimit(256);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPixels) return {};
    return reader.read();
}

QImage LoadPictureFile(const std::string& path)
{
    std::string bytes;
    if (!ReadRegularFile(path, bytes, kMaxPictureFileBytes)) return {};
    return DecodePicture(QByteArray::fromStdString(bytes));
}
