// The button face and the badge, painted into images: the pressed colour, the gloss geometry,
// the bevel ring, the badge's size and glow, and the colour helpers they share.
#include "SmoothSupport.h"
#include "Smooth/GDIPFill.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr TColor clMoneyGreen = 0xC0DCC0;

QImage Face(int w, int h, TColor color, bool down, bool shadow = false, const QString& caption = QString(),
            bool bevel = false, TColor colorDown = clNone)
{
    TGDIPButton button;
    Canvas canvas(w, h);
    canvas.graphics->SetSmoothingMode(gdip::SmoothingModeAntiAlias);
    TGDIPButtonFace face;
    face.Caption = caption;
    face.Width = w, face.Height = h;
    face.Color = color;
    face.ColorDown = colorDown;
    face.Shadow = shadow, face.Down = down, face.Bevel = bevel;
    button.Draw(canvas.graphics.get(), face);
    return canvas.Done();
}

// The row at which a column of the face turns darkest from the row above it.
int SharpestDrop(const QImage& image, int x, int from, int to)
{
    int best = -1, drop = 0;
    for (int y = from; y < to; ++y) {
        const int d = qGray(image.pixel(x, y - 1)) - qGray(image.pixel(x, y));
        if (d > drop) drop = d, best = y;
    }
    return best;
}

// The darkest row of a column.
int Darkest(const QImage& image, int x, int from, int to)
{
    int best = from;
    for (int y = from; y < to; ++y)
        if (qGray(image.pixel(x, y)) < qGray(image.pixel(x, best))) best = y;
    return best;
}

}  // namespace

TEST(SmoothButtonFace, PressedFaceIsTheColourAtEightyPercent)
{
    // 0xC0DCC0 at 80 % per channel rounds to 0x9AB09A: the pressed face is that colour's face.
    const QImage pressed = Face(120, 35, clMoneyGreen, true);
    EXPECT_EQ(pressed, Face(120, 35, 0x9AB09A, false));
    EXPECT_NE(pressed, Face(120, 35, clMoneyGreen, false));
    // A grey keeps no hue and darkens the same way.
    EXPECT_EQ(Face(120, 35, 0x808080, true), Face(120, 35, 0x666666, false));
    // A down colour of its own is the pressed face as it is, and only while pressed.
    EXPECT_EQ(Face(120, 35, clMoneyGreen, true, false, {}, false, 0x203040), Face(120, 35, 0x203040, false));
    EXPECT_EQ(Face(120, 35, clMoneyGreen, false, false, {}, false, 0x203040), Face(120, 35, clMoneyGreen, false));
}

TEST(SmoothButtonFace, GlossMeetsTheBandWhereTheArcLies)
{
    // 46 high: c = 7, m = 23; with a shadow the face is 42 high: c = 7, m = 21. The upper gloss
    // darkens down to the arc, whose lowest point is at m in the middle; at the sides the dark
    // lower gloss begins at the chord, m - c.
    struct Row {
        bool shadow;
        int m, c;
    } rows[] = {{false, 23, 7}, {true, 21, 7}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.shadow);
        const QImage image = Face(120, 46, 0x808080, false, r.shadow);
        const int right = (r.shadow ? 120 - 6 : 120) - 1;
        EXPECT_EQ(Darkest(image, right / 2, 3, 38), r.m - 1);
        for (int x : {3, right - 3}) {
            const int chord = SharpestDrop(image, x, 3, r.m);
            EXPECT_GE(chord, r.m - r.c);
            EXPECT_LE(chord, r.m - r.c + 1);
        }
    }
}

TEST(SmoothButtonFace, ShadowAndBevelKeepTheirPlaces)
{
    const QImage shadowed = Face(120, 35, 0x808080, false, true);
    EXPECT_GT(qAlpha(shadowed.pixel(115, 17)), 0);   // shadow beyond the 114-wide face
    EXPECT_EQ(qAlpha(shadowed.pixel(119, 17)), 0);   // and not past the control
    EXPECT_EQ(qAlpha(Face(120, 35, 0x808080, false).pixel(118, 17)), 255);

    // The ring is 2 pixels wide inside the outline and leaves the middle alone.
    Canvas canvas(60, 40);
    std::unique_ptr<TGPGraphicsPath> ring(CreateRingPath(MakeRectF(10, 10, 40, 20), 7, rtBoth, 2));
    TGPSolidBrush red(MakeColor(255, 255, 0, 0));
    canvas.graphics->FillPath(&red, ring.get());
    const QImage image = canvas.Done();
    EXPECT_EQ(qRed(image.pixel(10, 20)), 255);
    EXPECT_EQ(qRed(image.pixel(11, 20)), 255);
    EXPECT_EQ(qAlpha(image.pixel(12, 20)), 0);
    EXPECT_EQ(qAlpha(image.pixel(30, 20)), 0);
    EXPECT_EQ(qRed(image.pixel(30, 28)), 255);
}

TEST(SmoothButtonFace, CaptionAlignsAcrossAndDownAlike)
{
    // The text rectangle is the 120 x 60 face less 4 pixels at the right: its middle is 58, 30.
    const struct {
        TAlignment alignment;
        double x0, x1, y0, y1;  // where the middle of the caption's ink must lie
    } rows[] = {{taLeftJustify, 0, 25, 0, 15}, {taCenter, 50, 66, 24, 36}, {taRightJustify, 91, 116, 45, 60}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.alignment);
        TGDIPButton button;
        button.SetAlignment(r.alignment);
        Canvas canvas(120, 60);
        TGDIPButtonFace face;
        face.Caption = QStringLiteral("Go");
        face.Width = 120, face.Height = 60;
        face.Color = clWhite;
        button.Draw(canvas.graphics.get(), face);
        const QImage image = canvas.Done();
        QPointF ink;
        int count = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 120; ++x)
                if (qGray(image.pixel(x, y)) < 100 && qAlpha(image.pixel(x, y)) == 255) ink += QPointF(x, y), ++count;
        ASSERT_GT(count, 10);
        ink /= count;
        EXPECT_TRUE(ink.x() > r.x0 && ink.x() < r.x1 && ink.y() > r.y0 && ink.y() < r.y1) << ink.x() << "," << ink.y();
    }
}

TEST(SmoothButtonFace, AmpersandMarksTheAcceleratorOnly)
{
    const QImage plain = Face(120, 35, clWhite, false, false, QStringLiteral("Exit"));
    const QImage marked = Face(120, 35, clWhite, false, false, QStringLiteral("&Exit"));
    ASSERT_NE(plain, marked);
    // Only an underline is added: the differing pixels lie in one or two rows.
    int top = 35, bottom = -1;
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 120; ++x)
            if (plain.pixel(x, y) != marked.pixel(x, y)) top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_LE(bottom - top, 1);
    // "&&" shows one ampersand: more ink than the caption without it.
    EXPECT_NE(Face(120, 35, clWhite, false, false, QStringLiteral("A&&B")),
              Face(120, 35, clWhite, false, false, QStringLiteral("AB")));
}

TEST(SmoothButtonFace, HostileSizesAndColoursDrawSanely)
{
    // Nothing here may crash; a face too small for its parts still paints or paints nothing.
    for (QSize size : {QSize(1, 1), QSize(1, 20000), QSize(3, 46), QSize(46, 3), QSize(7, 7)}) {
        for (TColor colour : {clNone, TColor(0xFF00000F), TColor(0x7FFFFFFF), clMoneyGreen}) {
            SCOPED_TRACE(QStringLiteral("%1 x %2, colour %3").arg(size.width()).arg(size.height()).arg(colour, 0, 16).toStdString());
            for (bool down : {false, true}) Face(size.width(), size.height(), colour, down, true, QStringLiteral("Exit"), true);
        }
    }
    // A caption of 10,000 characters draws into its rectangle, which ends 4 pixels short.
    const QImage long_ = Face(120, 35, 0x808080, false, false, QString(10000, QLatin1Char('W')), true);
    const QImage bare = Face(120, 35, 0x808080, false, false, QString(), true);
    EXPECT_NE(long_, bare);
    for (int y = 0; y < 35; ++y)
        for (int x = 116; x < 120; ++x) ASSERT_EQ(long_.pixel(x, y), bare.pixel(x, y)) << x << "," << y;
    // No graphics at all: nothing happens.
    TGDIPButton button;
    TGDIPButtonFace face;
    face.Caption = QStringLiteral("x");
    face.Width = face.Height = 10;
    face.Shadow = face.Down = face.Bevel = true;
    button.Draw(nullptr, face);
}

TEST(SmoothColour, LighterStaysWithinTheChannels)
{
    struct Row {
        TColor colour;
        int n;
        TColor expected;
    } rows[] = {
        {0xF0F0F0, 100, 0xFFFFFF}, {0x101010, -40, 0x000000}, {0x102030, 16, 0x203040},
        {0x0000FF, 1, 0x0101FF},   {clNone, -15, 0xF0F0F0},   {TColor(0xFF00000F), 0, 0xF0F0F0},
    };
    for (const Row& r : rows) EXPECT_EQ(Lighter(r.colour, r.n), r.expected) << std::hex << r.colour << " " << r.n;
}

TEST(SmoothColour, HsvRoundTrip)
{
    struct Row {
        double r, g, b, h, s, v;
    } rows[] = {
        {255, 0, 0, 0, 1, 255},       {192, 220, 192, 120, 28.0 / 220, 220}, {128, 128, 128, NAN, 0, 128},
        {0, 0, 0, NAN, 0, 0},         {10, 20, 30, 210, 2.0 / 3, 30},
        // A quarter into each sector, by hand: V 200, S 0.5, so p = 100, q = 175, t = 125.
        {200, 125, 100, 15, 0.5, 200}, {175, 200, 100, 75, 0.5, 200},  {100, 200, 125, 135, 0.5, 200},
        {100, 175, 200, 195, 0.5, 200}, {125, 100, 200, 255, 0.5, 200}, {200, 100, 175, 315, 0.5, 200},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.r << "," << row.g << "," << row.b);
        double h, s, v, r, g, b;
        RGBToHSV(row.r, row.g, row.b, h, s, v);
        if (std::isnan(row.h)) EXPECT_TRUE(std::isnan(h));
        else EXPECT_NEAR(h, row.h, 1e-9);
        EXPECT_NEAR(s, row.s, 1e-9);
        EXPECT_NEAR(v, row.v, 1e-9);
        HSVToRGB(h, s, v, r, g, b);
        EXPECT_NEAR(r, row.r, 1e-9);
        EXPECT_NEAR(g, row.g, 1e-9);
        EXPECT_NEAR(b, row.b, 1e-9);
    }
    double r, g, b;
    EXPECT_THROW(HSVToRGB(0, 0, 100, r, g, b), EColorError);
    // Hues outside the circle come back onto it; a hue that is no number cannot fault.
    for (double hue : {360.0, 720.0, -360.0}) {
        HSVToRGB(hue, 1, 100, r, g, b);
        EXPECT_NEAR(r, 100, 1e-9) << hue;
        EXPECT_NEAR(g, 0, 1e-9) << hue;
    }
    HSVToRGB(NAN, 0.5, 100, r, g, b);
    EXPECT_NEAR(r, 100, 1e-9);
}

TEST(SmoothBadge, NeverNarrowerThanHighAndAtLeastItsPicture)
{
    TGDIPStatus badge;
    Canvas canvas(10, 10);
    for (const char* caption : {"0", "1", "i", "99", "12345"}) {
        const QString text = QString::fromLatin1(caption);
        badge.CalculateSize(canvas.graphics.get(), text);
        // The text and 2 pixels of room on each side, never narrower than high.
        const int high = canvas.graphics->TextHeight(text, badge.Font()) + 4;
        EXPECT_EQ(badge.GetHeight(), high) << caption;
        EXPECT_EQ(badge.GetWidth(), std::max(high, canvas.graphics->TextWidth(text, badge.Font()) + 4)) << caption;
    }
    const int wide = badge.GetWidth();
    badge.CalculateSize(canvas.graphics.get(), QString());  // an empty caption keeps the size
    EXPECT_EQ(badge.GetWidth(), wide);
    badge.SetSpacing(3);
    badge.CalculateSize(canvas.graphics.get(), QStringLiteral("12345"));
    EXPECT_EQ(badge.GetWidth(), wide + 6);

    LoadBytes(*badge.Fill()->Picture(), Encode(Swatch(40, 30, Qt::red, Qt::red), "PNG"));
    badge.CalculateSize(canvas.graphics.get(), QStringLiteral("0"));
    EXPECT_GE(badge.GetWidth(), 40);
    EXPECT_EQ(badge.GetHeight(), 30);
    canvas.Done();
}

TEST(SmoothBadge, GlowCoversTheUpperHalfFadingOut)
{
    TGDIPStatus badge;
    badge.Fill()->SetColor(clNone);  // only the glow paints
    Canvas canvas(40, 20);
    badge.Draw(canvas.graphics.get(), 0, 0, 40, 20, false, QString());
    const QImage image = canvas.Done();
    // From 170 to 30 over the upper half, whose gradient overhangs it by a pixel at each end;
    // sampled at pixel centres.
    for (int y = 0; y < 10; ++y) EXPECT_NEAR(qAlpha(image.pixel(20, y)), 170 - 140 * (y + 1.5) / 12, 2) << "row " << y;
    EXPECT_EQ(qAlpha(image.pixel(20, 12)), 0);
    EXPECT_EQ(image.pixelColor(20, 1).lightness(), 255);
    // The badge fill becomes a pill: rounding half the height, corners left clear.
    EXPECT_EQ(badge.Fill()->Rounding(), 10);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
}

// Faces and a badge against their reference pictures (no captions: fonts differ between
// machines).
TEST(SmoothButtonFace, ReferencePictures)
{
    const auto face = [](int w, int h, TColor colour, TColor bevel, bool shadow, bool down) {
        TGDIPButton button;
        Canvas canvas(w, h);
        canvas.graphics->SetSmoothingMode(gdip::SmoothingModeAntiAlias);
        TGDIPButtonFace f;
        f.Width = w, f.Height = h;
        f.Color = colour, f.BevelColor = bevel;
        f.Shadow = shadow, f.Down = down, f.Bevel = true;
        button.Draw(canvas.graphics.get(), f);
        return canvas.Done();
    };
    TGDIPStatus badge;
    badge.Fill()->SetColor(clRed);
    badge.Fill()->SetGradientType(gtSolid);
    badge.Fill()->SetBorderColor(clGray);
    Canvas badgeCanvas(30, 18);
    badge.Draw(badgeCanvas.graphics.get(), 0, 0, 30, 18, false, QString());
    const struct {
        const char* name;
        QImage image;
    } samples[] = {
        {"money-green", face(180, 72, clMoneyGreen, clGreen, false, false)},
        {"grey-shadow-pressed", face(120, 35, clGray, clWhite, true, true)},
        {"red-badge", badgeCanvas.Done()},
    };
    for (const auto& s : samples)
        ExpectLikeReference(s.image, QStringLiteral(SMOOTH_TEST_DATA "/button-%1.png").arg(QLatin1String(s.name)));
}

TEST(SmoothButtonFace, PictureCentredOrBesideTheCaptionAndShiftedWhenPressed)
{
    TGDIPPicture picture;
    LoadBytes(picture, Encode(Swatch(12, 12, Qt::blue, Qt::blue), "PNG"));
    // Where the blue square's middle lands, per layout, with and without a caption, and on which
    // side of the caption's ink (dx, dy: the sign of picture minus caption).
    const struct {
        TGDIPButtonLayout layout;
        const char* caption;
        bool centred;
        int dx, dy;
    } rows[] = {{blNone, "Go", true, 0, 0},          {blPictureLeft, "", true, 0, 0},
                {blPictureLeft, "Go", false, -1, 0}, {blPictureRight, "Go", false, 1, 0},
                {blPictureTop, "Go", false, 0, -1},  {blPictureBottom, "Go", false, 0, 1}};
    struct Found {
        QPointF picture, caption;
        int pixels = 0, ink = 0;
    };
    // Pressed with the same face colour, so that only the shift tells the two apart.
    const auto find = [&](TGDIPButtonLayout layout, const char* caption, bool down) {
        TGDIPButton button;
        button.SetLayout(layout);
        Canvas canvas(120, 60);
        TGDIPButtonFace face;
        face.Caption = QString::fromLatin1(caption);
        face.Width = 120, face.Height = 60;
        face.Color = face.ColorDown = clWhite;
        face.Down = down;
        face.Picture = &picture;
        button.Draw(canvas.graphics.get(), face);
        const QImage image = canvas.Done();
        Found f;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 120; ++x) {
                const QRgb p = image.pixel(x, y);
                if (p == qRgb(0, 0, 255)) f.picture += QPointF(x, y), ++f.pixels;
                else if (qGray(p) < 100 && qAlpha(p) == 255) f.caption += QPointF(x, y), ++f.ink;
            }
        if (f.pixels) f.picture /= f.pixels;
        if (f.ink) f.caption /= f.ink;
        return f;
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.layout);
        const Found up = find(r.layout, r.caption, false), down = find(r.layout, r.caption, true);
        ASSERT_EQ(up.pixels, 144);  // drawn once, in its own size
        EXPECT_EQ(up.picture == QPointF(59.5, 29.5), r.centred) << up.picture.x() << "," << up.picture.y();
        // Pressed, picture and caption move one pixel right and down.
        EXPECT_EQ(down.picture - up.picture, QPointF(1, 1));
        EXPECT_EQ(down.ink, up.ink);
        EXPECT_EQ(down.caption - up.caption, up.ink ? QPointF(1, 1) : QPointF());
        if (r.dx == 0 && r.dy == 0) continue;
        ASSERT_GT(up.ink, 10);  // the caption is not hidden under the picture
        const QPointF apart = up.picture - up.caption;
        EXPECT_GT(r.dx * apart.x() + r.dy * apart.y(), 8);
    }
}
