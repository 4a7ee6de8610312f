// The picture: header readers over crafted files, hostile bytes, loading, assigning and drawing.
#include "SmoothSupport.h"

#include <QDir>
#include <QIODevice>
#include <QImageWriter>
#include <algorithm>
#include <cstring>
#include <random>
#include <QTemporaryDir>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values) b.append(char(v));
    return b;
}

std::uint32_t Crc32(const QByteArray& bytes)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// The signature and a well-formed header chunk (its checksum right), so that a decoder believes it.
QByteArray PngHeader(std::uint32_t w, std::uint32_t h)
{
    QByteArray chunk("IHDR");
    for (std::uint32_t v : {w, h})
        for (int s = 24; s >= 0; s -= 8) chunk.append(char((v >> s) & 0xFF));
    chunk += Bytes({8, 6, 0, 0, 0});
    const std::uint32_t crc = Crc32(chunk);
    QByteArray b("\x89PNG\r\n\x1A\n\0\0\0\x0D", 12);
    b += chunk;
    for (int s = 24; s >= 0; s -= 8) b.append(char((crc >> s) & 0xFF));
    return b;
}

QByteArray Le32(std::uint32_t v) { return Bytes({int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int(v >> 24)}); }

// A little-endian TIFF header whose first directory is at the given offset.
QByteArray TiffHeader(std::uint32_t offset) { return QByteArray("II*\0", 4) + Le32(offset); }

QByteArray TiffEntry(int tag, int type, std::uint32_t value)
{
    return Bytes({tag & 0xFF, tag >> 8, type, 0, 1, 0, 0, 0}) + Le32(value);
}

using Reader = TImageSize (*)(const QByteArray&);

QByteArray ProgressiveJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPG");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    return bytes;
}

// A GIF with the given packed flags, global colour table and blocks before its image.
QByteArray Gif(int w, int h, int packed, const QByteArray& table, const QByteArray& blocks)
{
    QByteArray g = MakeGif(w, h);
    g[10] = char(packed);
    return g.left(13) + table + blocks + g.mid(19);
}

}  // namespace

TEST(SmoothPicture, HeaderReadersOverCraftedFiles)
{
    const QImage swatch = Swatch(37, 21, Qt::blue, Qt::red);
    QByteArray topDownBmp = Encode(swatch, "BMP");
    topDownBmp.replace(22, 4, Le32(std::uint32_t(-21)));
    // Extensions hold 0x2C bytes that are no image separator: a delay of 44 centiseconds, a comma.
    const QByteArray loop = QByteArray("\x21\xFF\x0BNETSCAPE2.0\x03\x01\0\0\0", 19);
    const QByteArray delay44 = QByteArray("\x21\xF9\x04\x04\x2C\0\0\0", 8);
    const QByteArray comment = QByteArray("\x21\xFE\x07" "a, b, c" "\0", 11);
    const QByteArray progressive = ProgressiveJpeg(swatch);
    ASSERT_TRUE(progressive.contains("\xFF\xC2") && !progressive.contains("\xFF\xC0"));
    const QByteArray tiffDirectory = TiffHeader(8) + Bytes({2, 0}) + TiffEntry(256, 4, 300) + TiffEntry(257, 3, 200);
    const struct {
        const char* name;
        Reader reader;
        QByteArray bytes;
        int w, h;
    } rows[] = {
        {"png", GetPNGSize, Encode(swatch, "PNG"), 37, 21},
        {"png 70000 wide reports the low 16 bits", GetPNGSize, PngHeader(70000, 70000), 70000 & 0xFFFF, 70000 & 0xFFFF},
        {"png signature only", GetPNGSize, PngHeader(5, 5).left(8), 0, 0},
        {"png from a jpeg", GetPNGSize, Encode(swatch, "JPG"), 0, 0},
        {"jpeg", GetJPEGSize, Encode(swatch, "JPG"), 37, 21},
        {"jpeg progressive", GetJPEGSize, progressive, 37, 21},
        {"jpeg zero segment length", GetJPEGSize, Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0xFF, 0xC0}), 0, 0},
        {"jpeg segment length 1", GetJPEGSize, Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 1, 0xFF, 0xC0}), 0, 0},
        {"jpeg segment past the end", GetJPEGSize, Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0xFF, 0xFF}), 0, 0},
        {"jpeg padding and restart markers", GetJPEGSize,
         Bytes({0xFF, 0xD8, 0xFF, 0xFF, 0xD0, 0xFF, 0xC0, 0, 17, 8, 0, 3, 0, 4}), 4, 3},
        {"jpeg frame cut short", GetJPEGSize, Bytes({0xFF, 0xD8, 0xFF, 0xC0, 0, 17, 8, 0}), 0, 0},
        {"jpeg signature only", GetJPEGSize, Bytes({0xFF, 0xD8}), 0, 0},
        {"bmp", GetBMPSize, Encode(swatch, "BMP"), 37, 21},
        {"bmp top-down", GetBMPSize, topDownBmp, 37, 21},
        {"bmp cut in its header", GetBMPSize, Encode(swatch, "BMP").left(20), 0, 0},
        {"gif", GetGIFSize, MakeGif(9, 5), 9, 5},
        {"gif without a colour table", GetGIFSize, Gif(9, 5, 0, {}, {}), 9, 5},
        {"gif colour table of separators", GetGIFSize, Gif(40, 20, 0x81, QByteArray(12, '\x2C'), {}), 40, 20},
        {"gif animation delayed 44", GetGIFSize, Gif(40, 20, 0x80, QByteArray(6, '\x2C'), loop + delay44), 40, 20},
        {"gif comment with commas", GetGIFSize, Gif(50, 30, 0, {}, comment), 50, 30},
        {"gif comment cut short", GetGIFSize, Gif(50, 30, 0, {}, comment).left(13 + 6), 0, 0},
        {"gif trailer before the image", GetGIFSize, Gif(50, 30, 0, {}, "\x3B"), 0, 0},
        {"gif without an image separator", GetGIFSize, MakeGif(9, 5).left(19), 0, 0},
        {"gif separator at the end", GetGIFSize, MakeGif(9, 5).left(22), 0, 0},
        {"tiff", GetTIFFSize, Encode(swatch, "TIFF"), 37, 21},
        {"tiff long and short entries", GetTIFFSize, tiffDirectory, 300, 200},
        {"tiff directory past the end", GetTIFFSize, TiffHeader(0x7FFFFFF0) + Bytes({1, 0}), 0, 0},
        {"tiff directory pointing at itself", GetTIFFSize, TiffHeader(0), 0, 0},
        {"tiff entries run out", GetTIFFSize, TiffHeader(8) + Bytes({0xFF, 0xFF}) + TiffEntry(256, 4, 12), 12, 0},
        {"tiff big-endian", GetTIFFSize,
         QByteArray("MM\0*\0\0\0\x08\0\x02\x01\0\0\x03\0\0\0\x01\0\x07\0\0\x01\x01\0\x04\0\0\0\x01\0\0\0\x09", 34), 7, 9},
    };
    for (const auto& row : rows) {
        const TImageSize size = row.reader(row.bytes);
        EXPECT_EQ(size.Width, row.w) << row.name;
        EXPECT_EQ(size.Height, row.h) << row.name;
    }
    for (Reader reader : {GetPNGSize, GetJPEGSize, GetBMPSize, GetTIFFSize, GetGIFSize}) {
        EXPECT_EQ(reader(QByteArray()).Width, 0);
        EXPECT_EQ(reader(QByteArray("\xFF", 1)).Height, 0);
    }
}

TEST(SmoothPicture, HostileBytesDecodeToNothingAndDrawNothing)
{
    QByteArray hugePng = PngHeader(70000, 70000);
    const QByteArray idat = QByteArray("IDAT") + QByteArray(8, '\x55');  // pixel data that is not there
    hugePng += Bytes({0, 0, 0, 8}) + idat;
    for (int s = 24; s >= 0; s -= 8) hugePng.append(char((Crc32(idat) >> s) & 0xFF));
    TGPImage huge(hugePng);
    EXPECT_EQ(huge.GetLastStatus(), gdip::OutOfMemory);  // refused from its header, nothing allocated
    const QByteArray rows[] = {hugePng,
                               PngHeader(5, 5).left(12),
                               Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 0}),
                               MakeGif(9, 5).left(19),
                               TiffHeader(0x7FFFFFF0),
                               TiffHeader(0),
                               QByteArray("BM", 2),
                               QByteArray(1000, '\xFF')};
    for (const QByteArray& bytes : rows) {
        TGDIPPicture picture;
        LoadBytes(picture, bytes);
        EXPECT_FALSE(picture.Empty());
        EXPECT_EQ(picture.Width(), 0);
        EXPECT_EQ(picture.Height(), 0);
        Canvas canvas(16, 16);
        picture.GDIPDraw(canvas.graphics.get(), TRect{0, 0, 16, 16});
        const QImage& image = canvas.Done();
        EXPECT_EQ(image, [] { QImage i(16, 16, QImage::Format_ARGB32_Premultiplied); i.fill(Qt::transparent); return i; }());
    }
}

TEST(SmoothPicture, EmptyStreamLeavesThePictureEmptyAndSilent)
{
    TGDIPPicture picture;
    int changes = 0;
    picture.OnChange = [&](QObject*) { ++changes; };
    LoadBytes(picture, QByteArray());
    picture.LoadFromStream(nullptr);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(changes, 0);
    LoadBytes(picture, Encode(Swatch(3, 2, Qt::blue, Qt::red), "PNG"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picture.Width(), 3);
}

TEST(SmoothPicture, AssignNullFiresChangeThenClear)
{
    TGDIPPicture picture, other;
    LoadBytes(other, Encode(Swatch(3, 2, Qt::blue, Qt::red), "PNG"));
    QStringList events;
    picture.OnChange = [&](QObject*) { events << "change"; };
    picture.OnClear = [&](QObject*) { events << "clear"; };
    picture.Assign(&other);
    EXPECT_EQ(picture.Data(), other.Data());
    EXPECT_EQ(picture.Width(), 3);
    picture.Assign(static_cast<const TGDIPPicture*>(nullptr));
    EXPECT_TRUE(picture.Empty());
    EXPECT_TRUE(picture.Data().isEmpty());
    EXPECT_EQ(events, QStringList({"change", "change", "clear"}));
}

TEST(SmoothPicture, LoadFromURLReadsOnlyRegularFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Plan.GIF"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(MakeGif(9, 5));
    file.close();
    const QString fifo = dir.filePath(QStringLiteral("pipe.gif")), dangling = dir.filePath(QStringLiteral("gone.gif"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nothing.gif")), dangling));
    // Should the pipe be opened waiting for a writer, one comes after a while and writes nothing.
    std::promise<void> finished;
    std::thread writer([&fifo, done = finished.get_future()] {
        if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return;
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    });
    const char* const notRegular = "not a regular file";
    const struct {
        QString url;
        bool loads;
        const char* error;  // in the raised message
    } rows[] = {
        {QStringLiteral("FILE://") + path, true, nullptr},
        {QStringLiteral("file://") + path, true, nullptr},
        {QStringLiteral("File://") + path.toLower(), false, "No such file"},  // the rest keeps its case
        {QStringLiteral("FILE://"), false, nullptr},
        {QStringLiteral("RES://"), false, nullptr},
        {QStringLiteral("res://no-such-resource"), false, nullptr},
        {QStringLiteral("http://") + path, false, nullptr},
        {path, false, nullptr},
        {QStringLiteral("FILE://") + fifo, false, notRegular},
        {QStringLiteral("FILE:///dev/zero"), false, notRegular},
        {QStringLiteral("FILE://") + dir.path(), false, notRegular},
        {QStringLiteral("FILE://") + dangling, false, "No such file"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.url.toStdString());
        TGDIPPicture picture;
        QString error;
        try {
            picture.LoadFromURL(row.url);
        } catch (const EFOpenError& e) {
            error = QString::fromStdString(e.what());
        }
        EXPECT_EQ(!picture.Empty(), row.loads);
        EXPECT_TRUE(row.error ? error.contains(QLatin1String(row.error)) : error.isEmpty()) << error.toStdString();
        if (row.loads) {
            EXPECT_EQ(picture.Width(), 9);  // read from the header by the file's extension
            EXPECT_EQ(picture.Height(), 5);
        }
    }
    // The image made from a file name reads the same way.
    for (const QString& name : {path, fifo, QStringLiteral("/dev/zero"), dir.path(), dangling}) {
        TGPImage image(name);
        EXPECT_EQ(image.GetLastStatus() == gdip::Ok, name == path) << name.toStdString();
        if (name == path) {
            EXPECT_EQ(image.GetWidth(), 9u);
        }
    }
    finished.set_value();
    writer.join();
}

TEST(SmoothPicture, TransparentBitmapIsKeyedAndUnscaledPngIsStretched)
{
    TGDIPPicture bmp;
    LoadBytes(bmp, Encode(Swatch(4, 4, Qt::blue, Qt::red), "BMP"));
    bmp.Transparent = true;
    TGDIPPicture png;
    LoadBytes(png, Encode(Swatch(4, 4, Qt::blue, Qt::red), "PNG"));
    Canvas canvas(40, 20);
    bmp.GDIPDraw(canvas.graphics.get(), TRect{0, 0, 20, 20});
    png.GDIPDraw(canvas.graphics.get(), TRect{20, 0, 40, 20});
    const QImage& image = canvas.Done();
    // The bitmap's red top-left colour is the key: nothing red, and blue only in its own 4 x 4.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::blue));
    EXPECT_EQ(qAlpha(image.pixel(4, 4)), 0);
    EXPECT_EQ(qAlpha(image.pixel(10, 10)), 0);
    // The PNG fills its whole rectangle, its red corner grown to 5 x 5.
    EXPECT_EQ(image.pixelColor(22, 2), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(39, 19), QColor(Qt::blue));
    EXPECT_EQ(bmp.Width(), 4);
}

TEST(SmoothPicture, TextureRepeatsFromTheAreasOrigin)
{
    TGDIPPicture picture;
    LoadBytes(picture, Encode(Swatch(3, 3, Qt::blue, Qt::red), "PNG"));
    Canvas canvas(20, 20);
    picture.FillRect(canvas.graphics.get(), MakeRectF(5, 4, 10, 10));
    const QImage& image = canvas.Done();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 5 && x < 15 && y >= 4 && y < 14;
            const bool corner = inside && (x - 5) % 3 == 0 && (y - 4) % 3 == 0;
            const QColor want = !inside ? QColor(Qt::transparent) : corner ? QColor(Qt::red) : QColor(Qt::blue);
            ASSERT_EQ(image.pixelColor(x, y).rgba(), want.rgba()) << x << "," << y;
        }
}

TEST(SmoothPicture, DrawOnAPlainPainter)
{
    TGDIPPicture bmp, png;
    QImage bitmap = Swatch(4, 4, Qt::blue, Qt::red);
    bitmap.setPixelColor(0, 3, Qt::green);  // the bottom-left pixel keys a bitmap drawn this way
    LoadBytes(bmp, Encode(bitmap, "BMP"));
    LoadBytes(png, Encode(Swatch(4, 4, Qt::blue, Qt::red), "PNG"));
    QImage image(40, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        bmp.Draw(painter, TRect{0, 0, 20, 20});
        png.Draw(painter, TRect{20, 0, 40, 20});
    }
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(qAlpha(image.pixel(0, 3)), 0);
    EXPECT_EQ(qAlpha(image.pixel(10, 10)), 0);  // unscaled
    EXPECT_EQ(image.pixelColor(39, 19), QColor(Qt::blue));  // stretched
}

namespace {

// A device that can only be read forwards, a little at a time, like a pipe.
class Trickle : public QIODevice {
public:
    explicit Trickle(QByteArray bytes) : bytes_(std::move(bytes)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        const qint64 n = std::min<qint64>({max, 5000, bytes_.size() - at_});
        std::memcpy(data, bytes_.constData() + at_, n);
        at_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 at_ = 0;
};

}  // namespace

TEST(SmoothPicture, AStreamIsReadWholeFromItsStartWhateverItsKind)
{
    QImage noise(300, 300, QImage::Format_ARGB32);
    std::mt19937 random(7);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, random() | 0xFF000000u);
    const QByteArray png = Encode(noise, "PNG");
    ASSERT_GT(png.size(), 100 * 1024);  // more than one piece of a stream
    Trickle pipe(png);
    QBuffer halfRead;
    halfRead.setData(png);
    halfRead.open(QIODevice::ReadOnly);
    halfRead.seek(png.size() / 2);
    for (QIODevice* device : {static_cast<QIODevice*>(&pipe), static_cast<QIODevice*>(&halfRead)}) {
        TGDIPPicture picture;
        picture.LoadFromStream(device);
        EXPECT_EQ(picture.Data(), png);
        EXPECT_EQ(picture.Width(), 300);
    }
}
