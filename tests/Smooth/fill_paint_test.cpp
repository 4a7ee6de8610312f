// Painting a fill: geometry of shadow, halves and thin rectangles, corners, glow, pictures, and a
// few rendered fills against their reference pictures.
#include "FillSamples.h"

#include <QDir>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

// Paints a fill set up by the caller over R on a transparent canvas.
QImage Paint(int w, int h, const std::function<void(TGDIPFill&)>& setUp, TGPRectF R, TGPRectF* body = nullptr)
{
    TGDIPFill fill;
    setUp(fill);
    Canvas canvas(w, h);
    fill.Fill(canvas.graphics.get(), R, 255, 255, 255, 255, 255, body);
    return canvas.Done();
}

void Solid(TGDIPFill& f, TColor colour)
{
    f.SetGradientType(gtSolid);
    f.SetColor(colour);
}

}  // namespace

TEST(SmoothFillPaint, ShadowTakesRightAndBottomFromTheBody)
{
    TGPRectF body{};
    const QImage image = Paint(110, 50, [](TGDIPFill& f) { Solid(f, clRed), f.SetShadowOffset(3), f.SetShadowColor(clBlack); },
                               MakeRectF(5, 5, 100, 40), &body);
    EXPECT_FLOAT_EQ(body.X, 5);
    EXPECT_FLOAT_EQ(body.Y, 5);
    EXPECT_FLOAT_EQ(body.Width, 97);
    EXPECT_FLOAT_EQ(body.Height, 37);
    EXPECT_EQ(At(image, 5, 5), QColor(Qt::red));
    EXPECT_EQ(At(image, 101, 41), QColor(Qt::red));  // the body's last pixel
    const QColor right = At(image, 103, 25), below = At(image, 55, 43);
    for (const QColor& shadow : {right, below}) {
        EXPECT_GT(shadow.alpha(), 20);
        EXPECT_LT(shadow.alpha(), 181);
        EXPECT_EQ(shadow.red(), 0);
    }
    EXPECT_EQ(At(image, 106, 25).alpha(), 0);  // nothing beyond the 100 x 40
    EXPECT_EQ(At(image, 55, 46).alpha(), 0);
}

TEST(SmoothFillPaint, TwoHalvesOverlapAtTheSeam)
{
    // Upper half 0..20, lower half 19..39: the lower one is painted last.
    const QImage image = Paint(50, 40, [](TGDIPFill& f) {
        Solid(f, clRed);
        f.SetColorMirror(clBlue);
        f.SetGradientMirrorType(gtSolid);
    }, MakeRectF(0, 0, 50, 40));
    EXPECT_EQ(At(image, 25, 18), QColor(Qt::red));
    EXPECT_EQ(At(image, 25, 19), QColor(Qt::blue));
    EXPECT_EQ(At(image, 25, 39), QColor(Qt::blue));

    // A linear mirror half starts with a line of its own first colour.
    const QImage linear = Paint(50, 40, [](TGDIPFill& f) {
        Solid(f, clRed);
        f.SetColorMirror(clBlue);
        f.SetColorMirrorTo(clWhite);
        f.SetGradientMirrorType(gtVertical);
    }, MakeRectF(0, 0, 50, 40));
    EXPECT_EQ(At(linear, 25, 19), QColor(Qt::blue));
    EXPECT_GT(At(linear, 25, 38).red(), 200);

    // No mirror colour, or a hatch or a texture: one area over the whole rectangle.
    for (TGradientType type : {gtSolid, gtHatch}) {
        const QImage one = Paint(50, 40, [type](TGDIPFill& f) {
            Solid(f, clRed);
            f.SetGradientType(type);
            f.SetColorTo(clRed);
            f.SetColorMirror(type == gtSolid ? clNone : clBlue);
        }, MakeRectF(0, 0, 50, 40));
        for (int y : {0, 19, 20, 39}) EXPECT_EQ(At(one, 25, y), QColor(Qt::red)) << type << " row " << y;
    }
}

TEST(SmoothFillPaint, ThinRectangleIsOnlyALine)
{
    TGPRectF body{};
    const QImage image = Paint(60, 20, [](TGDIPFill& f) {
        Solid(f, clBlue);
        f.SetColorMirror(clGreen);
        f.SetShadowOffset(3);
        f.SetBorderColor(clRed);
    }, MakeRectF(0, 5, 50, 1), &body);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const QColor c = At(image, x, y);
            if (c.alpha() == 0) continue;
            EXPECT_TRUE(y >= 4 && y <= 6 && c.red() > 0 && c.blue() == 0 && c.green() == 0) << x << "," << y;
        }
    EXPECT_GT(At(image, 25, 5).alpha() + At(image, 25, 4).alpha(), 200);
    EXPECT_FLOAT_EQ(body.Height, 1);
    EXPECT_FLOAT_EQ(body.Width, 50);

    TGDIPFill fill;  // a null graphics paints nothing and leaves the body rectangle alone
    TGPRectF untouched = MakeRectF(1, 2, 3, 4);
    fill.Fill(nullptr, MakeRectF(0, 0, 1, 1), 255, 255, 255, 255, 255, &untouched);
    fill.Fill(nullptr, MakeRectF(0, 0, 50, 50), 255, 255, 255, 255, 255, &untouched);
    EXPECT_FLOAT_EQ(untouched.Width, 3);
}

TEST(SmoothFillPaint, CornersByRoundingTypeSquareAndCrispWithoutRadius)
{
    for (TFillRoundingType type : {rtNone, rtTop, rtBottom, rtBoth, rtLeft, rtRight}) {
        const QImage square = Paint(30, 20, [type](TGDIPFill& f) { Solid(f, clRed), f.SetRoundingType(type); },
                                    MakeRectF(0.5f, 0.5f, 25, 15));
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x) {
                const int a = At(square, x, y).alpha();
                ASSERT_TRUE(a == 0 || a == 255) << "rounding type " << type << " at " << x << "," << y;
            }
    }
    // With a radius only the named corners are cut. Two halves keep the corners of their own
    // edge and meet square at the seam; a hatch is one area even with a mirror colour.
    const struct {
        TFillRoundingType type;
        TGradientType gradient;
        bool mirror;
        bool tl, tr, br, bl;
        Qt::GlobalColor lower;  // the lower half: the mirror colour only when in two halves
    } rows[] = {{rtNone, gtSolid, false, 0, 0, 0, 0, Qt::red},  {rtTop, gtSolid, false, 1, 1, 0, 0, Qt::red},
                {rtBottom, gtSolid, false, 0, 0, 1, 1, Qt::red}, {rtBoth, gtSolid, false, 1, 1, 1, 1, Qt::red},
                {rtLeft, gtSolid, false, 1, 0, 0, 1, Qt::red},   {rtRight, gtSolid, false, 0, 1, 1, 0, Qt::red},
                {rtBoth, gtSolid, true, 1, 1, 1, 1, Qt::blue},   {rtBoth, gtHatch, true, 1, 1, 1, 1, Qt::red},
                {rtBottom, gtHatch, true, 0, 0, 1, 1, Qt::red}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "rounding " << row.type << ", gradient " << row.gradient << ", mirror " << row.mirror);
        const QImage image = Paint(40, 30, [&](TGDIPFill& f) {
            Solid(f, clRed);
            f.SetGradientType(row.gradient);
            f.SetColorTo(clRed);
            if (row.mirror) f.SetColorMirror(clBlue);
            f.SetRounding(8);
            f.SetRoundingType(row.type);
        }, MakeRectF(0, 0, 40, 30));
        EXPECT_EQ(At(image, 0, 0).alpha() == 0, row.tl);
        EXPECT_EQ(At(image, 39, 0).alpha() == 0, row.tr);
        EXPECT_EQ(At(image, 39, 29).alpha() == 0, row.br);
        EXPECT_EQ(At(image, 0, 29).alpha() == 0, row.bl);
        for (int x : {0, 20, 39}) EXPECT_EQ(At(image, x, 15).alpha(), 255) << "seam at " << x;
        EXPECT_EQ(At(image, 20, 5), QColor(Qt::red));
        EXPECT_EQ(At(image, 20, 25), QColor(row.lower));
    }
}

TEST(SmoothFillPaint, RadialGlowIsBrightestAtTheTopMiddle)
{
    const QImage image = Paint(100, 40, [](TGDIPFill& f) {
        f.SetGradientType(gtRadial);
        f.SetColor(0x202020);
        f.SetColorTo(clWhite);
    }, MakeRectF(0, 0, 100, 40));
    int bestX = -1, bestY = -1, best = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            if (At(image, x, y).lightness() > best) best = At(image, x, y).lightness(), bestX = x, bestY = y;
    EXPECT_EQ(bestY, 0);
    EXPECT_NEAR(bestX, 50, 2);
    EXPECT_GT(best, 240);
    EXPECT_LT(At(image, 2, 39).lightness(), 60);  // the surround colour far from the centre
}

TEST(SmoothFillPaint, BackgroundPictureTilesOrSitsInsideTheFill)
{
    auto withPicture = [](TGDIPFill& f, TFillPicturePosition position, TFillPictureMode mode, QImage picture) {
        f.SetGradientType(gtTexture);
        f.SetColorMirror(clBlue);  // a texture never splits into halves
        f.SetBackGroundPicturePosition(position);
        f.SetBackGroundPictureMode(mode);
        f.SetRounding(10);
        LoadBytes(*f.BackGroundPicture(), Encode(picture, "PNG"));
    };
    const QImage tiled = Paint(40, 30, [&](TGDIPFill& f) {
        withPicture(f, ppTiled, pmOutsideFill, Swatch(3, 3, Qt::blue, Qt::red));
        f.SetRounding(0);
    }, MakeRectF(5, 4, 30, 20));
    for (int y = 4; y < 24; ++y)
        for (int x = 5; x < 35; ++x) {
            const bool corner = (x - 5) % 3 == 0 && (y - 4) % 3 == 0;
            ASSERT_EQ(At(tiled, x, y), corner ? QColor(Qt::red) : QColor(Qt::blue)) << x << "," << y;
        }
    EXPECT_EQ(At(tiled, 4, 4).alpha(), 0);

    const QImage red = Swatch(40, 40, Qt::red, Qt::red);
    const QImage inside = Paint(40, 40, [&](TGDIPFill& f) { withPicture(f, ppCenterCenter, pmInsideFill, red); },
                                MakeRectF(0, 0, 40, 40));
    EXPECT_EQ(At(inside, 20, 20), QColor(Qt::red));
    EXPECT_EQ(At(inside, 0, 0).alpha(), 0);  // clipped to the rounded outline
    const QImage outside = Paint(40, 40, [&](TGDIPFill& f) { withPicture(f, ppCenterCenter, pmOutsideFill, red); },
                                 MakeRectF(0, 0, 40, 40));
    EXPECT_EQ(At(outside, 0, 0), QColor(Qt::red));
    const QImage notTexture = Paint(40, 40, [&](TGDIPFill& f) {
        withPicture(f, ppCenterCenter, pmOutsideFill, red);
        f.SetGradientType(gtSolid);
        f.SetColor(clWhite);
        f.SetColorMirror(clNone);
    }, MakeRectF(0, 0, 40, 40));
    EXPECT_EQ(At(notTexture, 20, 20), QColor(Qt::white));
}

TEST(SmoothFillPaint, PictureByPosition)
{
    const struct {
        TFillPicturePosition position;
        int x, y, w, h;  // where the red block lands, or w 0 for nowhere
    } rows[] = {
        {ppTopLeft, 0, 0, 4, 4},      {ppTopCenter, 8, 0, 4, 4},    {ppTopRight, 16, 0, 4, 4},
        {ppBottomLeft, 0, 9, 4, 4},   {ppBottomCenter, 8, 9, 4, 4}, {ppBottomRight, 16, 9, 4, 4},
        {ppCenterLeft, 0, 4, 4, 4},   {ppCenterCenter, 8, 4, 4, 4}, {ppCenterRight, 16, 4, 4, 4},
        {ppCustom, 3, 6, 4, 4},       {ppStretched, 0, 0, 20, 13},  {ppTiled, 0, 0, 0, 0},
    };
    for (const auto& row : rows) {
        const QImage image = Paint(24, 16, [&](TGDIPFill& f) {
            Solid(f, clWhite);
            f.SetPicturePosition(row.position);
            f.SetPictureLeft(3);
            f.SetPictureTop(6);
            LoadBytes(*f.Picture(), Encode(Swatch(4, 4, Qt::red, Qt::red), "PNG"));
        }, MakeRectF(0, 0, 20, 13));
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 24; ++x) {
                const bool in = x >= row.x && x < row.x + row.w && y >= row.y && y < row.y + row.h;
                ASSERT_EQ(At(image, x, y) == QColor(Qt::red), in) << "position " << row.position << " at " << x << "," << y;
            }
    }
    // A custom size stretches the picture to it; a size of nothing draws nothing.
    for (int width : {6, 0, -6}) {
        const QImage image = Paint(24, 16, [&](TGDIPFill& f) {
            Solid(f, clWhite);
            f.SetPictureSize(psCustom);
            f.SetPictureWidth(width);
            f.SetPictureHeight(2);
            LoadBytes(*f.Picture(), Encode(Swatch(4, 4, Qt::red, Qt::red), "PNG"));
        }, MakeRectF(0, 0, 20, 13));
        int red = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 24; ++x) red += At(image, x, y) == QColor(Qt::red);
        EXPECT_EQ(red, width > 0 ? 12 : 0) << width;
    }
}

TEST(SmoothFillPaint, FocusMarkIsDottedInsideTheBorder)
{
    TGDIPFill fill;
    Solid(fill, clWhite);
    fill.SetBorderColor(clBlack);
    fill.SetBorderWidth(2);
    fill.Focus = true;
    fill.FocusColor = clRed;
    Canvas canvas(40, 20);
    canvas.graphics->SetSmoothingMode(gdip::SmoothingModeAntiAlias);
    fill.Fill(canvas.graphics.get(), MakeRectF(0, 0, 40, 20));
    EXPECT_EQ(canvas.graphics->GetSmoothingMode(), gdip::SmoothingModeDefault);  // left so
    const QImage& image = canvas.Done();
    EXPECT_FLOAT_EQ(fill.FocusRect.X, 2);
    EXPECT_FLOAT_EQ(fill.FocusRect.Width, 36);
    // Dots: red and white by turns along the top.
    for (int x = 4; x < 36; ++x) EXPECT_NE(At(image, x, 2) == QColor(Qt::red), At(image, x + 1, 2) == QColor(Qt::red)) << x;
}

// The rendered fills against their reference pictures.
TEST(SmoothFillPaint, ReferencePictures)
{
    for (const FillSample& sample : FillSamples()) {
        SCOPED_TRACE(sample.name);
        ExpectLikeReference(RenderSample(sample), QStringLiteral(SMOOTH_TEST_DATA "/fill-%1.png").arg(QLatin1String(sample.name)));
    }
}

TEST(SmoothFillPaint, OpacityOverridesStandForThisCallOnly)
{
    // The five overrides in call order: border, opacity, opacity-to, mirror, mirror-to; 255 keeps
    // the fill's own 250, 200, 150, 100, 50.
    const struct {
        std::uint8_t border, fill, to, mirror, mirrorTo;
        int expected[5];
    } rows[] = {
        {255, 255, 255, 255, 255, {250, 200, 150, 100, 50}},
        {10, 20, 30, 40, 60, {10, 20, 30, 40, 60}},
        {255, 20, 255, 40, 255, {250, 20, 150, 40, 50}},
        {0, 254, 0, 254, 0, {0, 254, 0, 254, 0}},
    };
    TGDIPFill fill;
    fill.SetGradientType(gtHorizontal);
    fill.SetGradientMirrorType(gtHorizontal);
    fill.SetColorTo(clRed);
    fill.SetColorMirrorTo(clBlue);
    fill.SetBorderWidth(3);
    fill.SetOpacity(200);
    fill.SetOpacityTo(150);
    fill.SetOpacityMirror(100);
    fill.SetOpacityMirrorTo(50);
    fill.SetBorderOpacity(250);
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << int(r.border) << "," << int(r.fill) << "," << int(r.to) << ","
                                        << int(r.mirror) << "," << int(r.mirrorTo));
        // The body alone: each half runs from its first opacity at the left to its second at the right.
        fill.SetColor(clRed);
        fill.SetColorMirror(clBlue);
        fill.SetBorderColor(clNone);
        Canvas body(40, 40);
        fill.Fill(body.graphics.get(), MakeRectF(0, 0, 40, 40), r.border, r.fill, r.to, r.mirror, r.mirrorTo);
        const QImage& b = body.Done();
        // The edge pixels' centres lie a little inside the gradient's ends.
        const double upper = 3 + std::abs(r.expected[1] - r.expected[2]) / 16.0;
        const double lower = 3 + std::abs(r.expected[3] - r.expected[4]) / 16.0;
        EXPECT_NEAR(qAlpha(b.pixel(0, 8)), r.expected[1], upper);
        EXPECT_NEAR(qAlpha(b.pixel(39, 8)), r.expected[2], upper);
        EXPECT_NEAR(qAlpha(b.pixel(0, 32)), r.expected[3], lower);
        EXPECT_NEAR(qAlpha(b.pixel(39, 32)), r.expected[4], lower);
        // The border alone.
        fill.SetColor(clNone);
        fill.SetColorMirror(clNone);
        fill.SetBorderColor(clGreen);
        Canvas border(50, 50);
        fill.Fill(border.graphics.get(), MakeRectF(5, 5, 40, 40), r.border, r.fill, r.to, r.mirror, r.mirrorTo);
        EXPECT_EQ(qAlpha(border.Done().pixel(5, 25)), r.expected[0]);
    }
    // The fill's own opacities are left as they were.
    EXPECT_EQ(fill.Opacity(), 200);
    EXPECT_EQ(fill.BorderOpacity(), 250);
}
