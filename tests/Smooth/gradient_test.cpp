// The gradient filler over every gradient type: where each colour lands.
#include "SmoothSupport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

struct Probe {
    int x, y;
    QColor want;  // invalid: transparent
};

int Distance(QColor a, QColor b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue()),
                     std::abs(a.alpha() - b.alpha())});
}

}  // namespace

TEST(SmoothGradient, EveryTypeOverARectangle)
{
    const QColor red(Qt::red), blue(Qt::blue), none(Qt::transparent);
    // Gamma-corrected gradients blend in linear light: halfway is bright, and the edge pixels,
    // a pixel and a half into a brush that overhangs the area by one, have moved well off.
    const QColor grey(188, 0, 188), redEdge(251, 0, 53), blueEdge(53, 0, 251);
    const struct {
        TGradientType type;
        int angle;
        std::vector<Probe> probes;
    } rows[] = {
        {gtSolid, 0, {{0, 0, red}, {39, 39, red}}},
        {gtVertical, 0, {{20, 0, redEdge}, {20, 39, blueEdge}, {20, 20, grey}}},
        {gtHorizontal, 0, {{0, 20, redEdge}, {39, 20, blueEdge}, {20, 20, grey}}},
        {gtForwardDiagonal, 0, {{0, 0, redEdge}, {39, 39, blueEdge}, {39, 0, grey}, {0, 39, grey}}},
        {gtBackwardDiagonal, 0, {{39, 0, redEdge}, {0, 39, blueEdge}, {0, 0, grey}, {39, 39, grey}}},
        {gtAngle, 0, {{0, 20, redEdge}, {39, 20, blueEdge}}},
        {gtAngle, 90, {{20, 0, redEdge}, {20, 39, blueEdge}}},
        {gtAngle, 180, {{0, 20, blueEdge}, {39, 20, redEdge}}},
        {gtRadial, 0, {{20, 20, none}}},
        {gtPath, 0, {{20, 20, none}}},
        {gtNone, 0, {{20, 20, none}}},
        {gtTexture, 0, {{20, 20, none}}},  // no picture given
    };
    for (const auto& row : rows) {
        Canvas canvas(40, 40);
        TFillGradientRequest q;
        q.Graphics = canvas.graphics.get();
        q.X = 0, q.Y = 0, q.Width = 40, q.Height = 40;
        q.GradientType = row.type;
        q.Color = clRed;
        q.ColorTo = clBlue;
        q.Angle = row.angle;
        FillByGradientType(q);
        const QImage& image = canvas.Done();
        for (const Probe& p : row.probes)
            EXPECT_LE(Distance(image.pixelColor(p.x, p.y), p.want), 40)
                << "type " << row.type << " angle " << row.angle << " at " << p.x << "," << p.y << ": "
                << image.pixelColor(p.x, p.y).name(QColor::HexArgb).toStdString();
    }
}

TEST(SmoothGradient, GammaCorrectedBlendFollowsTheFormulaNearBlackToo)
{
    Canvas canvas(4, 100);
    TFillGradientRequest q;
    q.Graphics = canvas.graphics.get();
    q.Width = 4, q.Height = 100;
    q.GradientType = gtVertical;
    q.Color = clBlack;
    q.ColorTo = clWhite;
    FillByGradientType(q);
    const QImage& image = canvas.Done();
    for (int y = 0; y < 100; ++y) {
        // Linear light along the brush, which overhangs the area by a pixel at each end, then
        // encoded for the screen.
        const double t = (y + 1.5) / 102;
        const double encoded = t <= 0.0031308 ? 12.92 * t : 1.055 * std::pow(t, 1 / 2.4) - 0.055;
        EXPECT_NEAR(qGreen(image.pixel(2, y)), 255 * encoded, 2) << "row " << y;
    }
}

TEST(SmoothGradient, HatchOpacityBorderAndTopLine)
{
    Canvas canvas(40, 40);
    TFillGradientRequest q;
    q.Graphics = canvas.graphics.get();
    q.X = 0, q.Y = 0, q.Width = 40, q.Height = 20;
    q.GradientType = gtHatch;
    q.HatchStyle = 0;  // horizontal lines
    q.Color = clRed;
    q.ColorTo = clBlue;
    q.OpacityTo = 128;
    FillByGradientType(q);

    q.Y = 20;
    q.GradientType = gtVertical;
    q.Color = clGreen;
    q.ColorTo = clWhite;
    q.OpacityTo = 255;
    q.TopLine = true;
    FillByGradientType(q);

    // A border alone: nothing filled, the outline drawn at the fill's opacity.
    q.X = 10, q.Y = 25, q.Width = 20, q.Height = 10;
    q.GradientType = gtNone;
    q.BorderColor = clBlack;
    q.BorderWidth = 1;
    q.Opacity = 255;
    FillByGradientType(q);
    const QImage& image = canvas.Done();
    int fore = 0, back = 0;
    for (int y = 1; y < 19; ++y)
        for (int x = 1; x < 39; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == QColor(Qt::red)) ++fore;
            else if (c.blue() > 200 && c.alpha() > 120 && c.alpha() < 136) ++back;
            else ADD_FAILURE() << "a third colour at " << x << "," << y;
        }
    EXPECT_GT(fore, 0);
    EXPECT_GT(back, fore);
    EXPECT_EQ(image.pixelColor(20, 20), QColor(0, 128, 0));  // the top line in the first colour
    EXPECT_GT(image.pixelColor(20, 21).green(), 128);         // then the gradient
    EXPECT_EQ(image.pixelColor(20, 25), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(10, 30), QColor(Qt::black));
    EXPECT_NE(image.pixelColor(20, 30), QColor(Qt::black));  // the inside is not filled
}
