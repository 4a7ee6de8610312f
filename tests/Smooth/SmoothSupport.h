#pragma once
// Shared by the smooth tests: images encoded in memory, and a canvas to paint on.
#include "Smooth/SmoothGDIPPicture.h"

#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

inline QByteArray Encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A GIF of w x h pixels in two colours (Qt only reads GIFs): every pixel follows a clear code, so
// the codes stay 3 bits wide and need no compression table.
inline QByteArray MakeGif(int w, int h)
{
    QByteArray g("GIF89a");
    auto word = [&](int v) { g.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    word(w);
    word(h);
    g.append(char(0x80)).append(char(0)).append(char(0));                          // a 2-colour global table
    g.append("\xFF\x00\x00\x00\x00\xFF", 6);                                     // red, blue
    g.append(char(0x2C));
    word(0);
    word(0);
    word(w);
    word(h);
    g.append(char(0)).append(char(2));                                             // no local table; code size 2
    QByteArray data;
    unsigned acc = 0;
    int bits = 0;
    auto code = [&](unsigned c) {
        acc |= c << bits;
        bits += 3;
        while (bits >= 8) {
            data.append(char(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (int i = 0; i < w * h; ++i) {
        code(4);
        code(i == 0 ? 0 : 1);  // red top-left pixel, blue elsewhere
    }
    code(5);
    if (bits) data.append(char(acc & 0xFF));
    for (int i = 0; i < data.size(); i += 255) {
        const QByteArray block = data.mid(i, 255);
        g.append(char(block.size())).append(block);
    }
    g.append(char(0)).append(char(0x3B));
    return g;
}

// A w x h image of one colour, with its top-left pixel in another.
inline QImage Swatch(int w, int h, QColor body, QColor corner)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(body);
    image.setPixelColor(0, 0, corner);
    return image;
}

// A rendered picture against its reference file, every pixel within a few levels in every
// channel (anti-aliasing may round a shade apart between machines; shapes and colours may not).
// PLUMO_UPDATE_REFERENCES=1 rewrites the references instead.
inline void ExpectLikeReference(const QImage& rendered, const QString& path)
{
    const QImage image = rendered.convertToFormat(QImage::Format_ARGB32);
    if (std::getenv("PLUMO_UPDATE_REFERENCES")) {
        ASSERT_TRUE(image.save(path)) << path.toStdString();
        return;
    }
    const QImage reference = QImage(path).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(reference.size(), image.size()) << path.toStdString();
    int worst = 0;
    QPoint at;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb a = image.pixel(x, y), b = reference.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            if (d > worst) worst = d, at = QPoint(x, y);
        }
    EXPECT_LE(worst, 3) << path.toStdString() << " at " << at.x() << "," << at.y();
}

inline void LoadBytes(TGDIPPicture& picture, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    picture.LoadFromStream(&buffer);
}

// A transparent canvas and a graphics on it, freed in the right order.
struct Canvas {
    explicit Canvas(int w, int h, QColor fill = Qt::transparent) : image(w, h, QImage::Format_ARGB32_Premultiplied)
    {
        image.fill(fill);
        painter.begin(&image);
        graphics = std::make_unique<TGPGraphics>(&painter);
    }
    QImage& Done()
    {
        graphics.reset();
        painter.end();
        return image;
    }
    QImage image;
    QPainter painter;
    std::unique_ptr<TGPGraphics> graphics;
};
