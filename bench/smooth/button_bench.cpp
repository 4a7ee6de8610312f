// Speed of the smooth button, as the main window's buttons meet it:
//  - ButtonRepaintFromCache: a paint while the face is valid (hover off, nothing changed): only
//    the cached image is copied.
//  - ButtonCacheRebuild/Caption and /Picture: a paint after something changed, which draws the
//    120 x 35 face anew (shadow on, bevel, caption "Exit" or a 40 x 40 picture) and copies it.
#include "Smooth/SmoothButton.h"
#include "bench/common/BenchSupport.h"

#include <QBuffer>
#include <QImage>

namespace {

class BenchButton : public TSmoothButton {
public:
    using TSmoothButton::Paint;
};

void SetUp(BenchButton& b, bool picture)
{
    b.resize(120, 35);
    b.SetShadow(true);
    if (!picture) {
        b.SetCaption(QStringLiteral("Exit"));
        return;
    }
    QImage icon(40, 40, QImage::Format_ARGB32);
    icon.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    icon.save(&buffer, "PNG");
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    b.Picture()->LoadFromStream(&buffer);
    b.SetColor(0xC0DCC0);
    b.SetBevelColor(0x008000);
}

void ButtonRepaintFromCache(benchmark::State& state)
{
    BenchButton b;
    SetUp(b, false);
    QImage canvas(120, 35, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&canvas);
    b.Paint(painter);  // builds the face once
    for (auto _ : state) b.Paint(painter);
    benchmark::DoNotOptimize(canvas.constBits());
}
BENCHMARK(ButtonRepaintFromCache)->Unit(benchmark::kMicrosecond);

void ButtonCacheRebuild(benchmark::State& state)
{
    BenchButton b;
    SetUp(b, state.range(0) != 0);
    QImage canvas(120, 35, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&canvas);
    for (auto _ : state) {
        b.InvalidateCache();
        b.Paint(painter);
    }
    benchmark::DoNotOptimize(canvas.constBits());
}
BENCHMARK(ButtonCacheRebuild)->ArgName("picture")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
