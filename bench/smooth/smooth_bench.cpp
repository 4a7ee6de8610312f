// Speed and memory of the smooth drawing layer:
//  - FillButtonFace: a 120 x 35 fill with shadow, two halves, radial glow and border painted into
//    a 32-bit image, as a button face is rebuilt.
//  - DecodePng1MP: drawing a picture that holds a 1-megapixel PNG, which decodes it anew.
//  - PictureLongevity: 10,000 draws of a picture; the resident memory must stay flat, since the
//    picture keeps only its encoded bytes.
#include "Smooth/GDIPFill.h"
#include "bench/common/BenchSupport.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>

namespace {

void SetUpFace(TGDIPFill& f)
{
    f.SetColor(0x2E7D32);
    f.SetColorTo(0xC8F0C8);
    f.SetColorMirror(0x1B5E20);
    f.SetColorMirrorTo(0x66BB6A);
    f.SetGradientType(gtRadial);
    f.SetGradientMirrorType(gtVertical);
    f.SetBorderColor(0x0D3010);
    f.SetRounding(8);
    f.SetShadowOffset(3);
}

void FillButtonFace(benchmark::State& state)
{
    TGDIPFill fill;
    SetUpFace(fill);
    QImage image(120, 35, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        TGPGraphics graphics(&painter);
        graphics.SetSmoothingMode(gdip::SmoothingModeAntiAlias);
        fill.Fill(&graphics, MakeRectF(0, 0, 120, 35));
    }
    benchmark::DoNotOptimize(image.pixel(60, 17));
}
BENCHMARK(FillButtonFace)->Unit(benchmark::kMicrosecond);

// A photograph-like 1000 x 1000 PNG: smooth colour with noise, so it does not compress to nothing.
QByteArray MegapixelPng()
{
    QImage image(1000, 1000, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1000; ++x)
            image.setPixel(x, y, qRgb((x / 4 + int(random.bounded(16))) & 0xFF, (y / 4 + int(random.bounded(16))) & 0xFF, 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void LoadPicture(TGDIPPicture& picture, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    picture.LoadFromStream(&buffer);
}

void DecodePng1MP(benchmark::State& state)
{
    TGDIPPicture picture;
    LoadPicture(picture, MegapixelPng());
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        TGPGraphics graphics(&painter);
        picture.GDIPDraw(&graphics, TRect{0, 0, 100, 100});
    }
    state.counters["png_kB"] = double(picture.Data().size()) / 1024.0;
}
BENCHMARK(DecodePng1MP)->Unit(benchmark::kMillisecond);

void PictureLongevity(benchmark::State& state)
{
    TGDIPPicture picture;
    LoadPicture(picture, [] {
        QImage icon(32, 32, QImage::Format_ARGB32);
        icon.fill(QColor(20, 120, 20, 200));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        icon.save(&buffer, "PNG");
        return bytes;
    }());
    TGDIPFill fill;
    SetUpFace(fill);
    fill.SetPicture(&picture);
    fill.SetPicturePosition(ppCenterCenter);
    QImage image(120, 35, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        double afterFirst = 0;
        const double start = ResidentMegabytes();
        for (int draw = 0; draw < 10000; ++draw) {
            QPainter painter(&image);
            TGPGraphics graphics(&painter);
            fill.Fill(&graphics, MakeRectF(0, 0, 120, 35));
            if (draw == 999) afterFirst = ResidentMegabytes();
        }
        state.counters["rss_start_MB"] = start;
        state.counters["rss_growth_after_1000_MB"] = ResidentMegabytes() - afterFirst;
    }
}
BENCHMARK(PictureLongevity)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    auto app = StartBenchApplication(argc, argv);
    RunBenchmarks(argc, argv);
    return 0;
}
