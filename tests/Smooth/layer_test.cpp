// The object layer: the status rule, formats, fonts and text helpers, start-up counting.
#include "SmoothSupport.h"

#include "platform/vcl/SafeWrite.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SmoothLayer, LastStatusKeepsAFailureUntilRead)
{
    TGPGraphicsPath path;
    EXPECT_EQ(path.AddLine(0, 0, 5, 5), gdip::Ok);
    EXPECT_EQ(path.AddArc(0, 0, 0, 10, 0, 90), gdip::InvalidParameter);
    EXPECT_EQ(path.AddLine(5, 5, 9, 9), gdip::Ok);  // a later success does not hide the failure
    EXPECT_EQ(path.GetLastStatus(), gdip::InvalidParameter);
    EXPECT_EQ(path.GetLastStatus(), gdip::Ok);
}

TEST(SmoothLayer, OperationsOnFailedObjectsReportAndDoNotCrash)
{
    TGPGraphics graphics(static_cast<QPainter*>(nullptr));
    EXPECT_NE(graphics.GetLastStatus(), gdip::Ok);
    TGPSolidBrush brush(0xFF000000);
    EXPECT_EQ(graphics.FillRectangle(&brush, MakeRectF(0, 0, 5, 5)), gdip::InvalidParameter);
    EXPECT_EQ(graphics.GetLastStatus(), gdip::InvalidParameter);
    TGPImage image(QByteArray("not an image"));
    EXPECT_EQ(image.GetWidth(), 0u);
    EXPECT_EQ(image.GetFormat(), ifUndefined);
}

TEST(SmoothLayer, RawFormatsOfDecodedImages)
{
    const QImage swatch = Swatch(4, 3, Qt::blue, Qt::red);
    const struct {
        const char* codec;
        TGPImageFormat format;
    } rows[] = {{"PNG", ifPNG}, {"JPG", ifJPEG}, {"BMP", ifBMP}, {"GIF", ifGIF}, {"TIFF", ifTIFF}, {"ICO", ifIcon},
                {"PPM", ifUndefined}};
    for (const auto& row : rows) {
        TGPImage image(row.format == ifGIF ? MakeGif(4, 3) : Encode(swatch, row.codec));
        EXPECT_EQ(image.GetLastStatus(), gdip::Ok) << row.codec;
        EXPECT_EQ(image.GetFormat(), row.format) << row.codec;
        EXPECT_EQ(image.GetWidth(), 4u) << row.codec;
    }
}

TEST(SmoothLayer, SavingAnImageReplacesTheFileWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("face.png"));
    TGPImage image(Encode(Swatch(4, 3, Qt::blue, Qt::red), "PNG"));
    for (SafeWriteStep step : {SafeWriteStep::Create, SafeWriteStep::Write, SafeWriteStep::Sync, SafeWriteStep::Rename}) {
        SCOPED_TRACE(int(step));
        {
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("the old file");
        }
        ScopedSafeWriteFault fault({step, 1, 28, true});
        EXPECT_NE(image.Save(path, "PNG"), gdip::Ok);
        EXPECT_TRUE(fault.Struck());
        QFile kept(path);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "the old file");
    }
    ASSERT_EQ(image.Save(path, "PNG"), gdip::Ok);
    EXPECT_EQ(QImage(path).size(), QSize(4, 3));
}

TEST(SmoothLayer, ColourHelpers)
{
    EXPECT_EQ(MakeColor(0x80, 0x11, 0x22, 0x33), 0x80112233u);
    EXPECT_EQ(MakeColorFromTColor(255, 0x332211), 0xFF112233u);  // TColor keeps red in its low byte
    EXPECT_EQ(ColorToARGB(0xFF00000F), 0xFFF0F0F0u);               // the button face system colour
    EXPECT_EQ(ARGBRed(0xFF123456), 0x12);
    EXPECT_EQ(ARGBGreen(0xFF123456), 0x34);
    EXPECT_EQ(ARGBBlue(0xFF123456), 0x56);
}

TEST(SmoothLayer, MissingFontFamilyFallsBackToArialAtTheSameSizeAndStyle)
{
    Canvas canvas(10, 10);
    TFont missing{QStringLiteral("No Such Family 12345"), 14, fsBold | fsItalic, clBlack};
    TFont arial{QStringLiteral("Arial"), 14, fsBold | fsItalic, clBlack};
    std::unique_ptr<TGPFont> a(canvas.graphics->MakeFont(missing)), b(canvas.graphics->MakeFont(arial));
    ASSERT_TRUE(a->nativeFont && b->nativeFont);
    EXPECT_EQ(a->nativeFont->family, b->nativeFont->family);
    EXPECT_EQ(a->nativeFont->font.pixelSize(), b->nativeFont->font.pixelSize());
    EXPECT_TRUE(a->nativeFont->font.bold() && a->nativeFont->font.italic());
    EXPECT_EQ(a->nativeFont->size, 14);
}

TEST(SmoothLayer, TextMeasures)
{
    Canvas canvas(10, 10);
    const TFont font{QStringLiteral("Tahoma"), 10, 0, clBlack};
    EXPECT_EQ(canvas.graphics->TextWidth(QString(), font), 0);
    const int one = canvas.graphics->TextWidth(QStringLiteral("M"), font);
    EXPECT_GT(one, 0);
    EXPECT_GT(canvas.graphics->TextWidth(QStringLiteral("MMMM"), font), 3 * one);
    EXPECT_GT(canvas.graphics->TextHeight(QStringLiteral("M"), font), 8);

    // Measuring only leaves the canvas alone and narrows the box by the correction.
    TRect r{10, 5, 20, 6};
    const int h = canvas.graphics->DrawText(QStringLiteral("Total"), nullptr, r, font, DT_CALCRECT);
    EXPECT_EQ(h, r.Bottom - r.Top);
    EXPECT_EQ(r.Right - r.Left, canvas.graphics->TextWidth(QStringLiteral("Total"), font) - 3);  // 2 + round(2 / 1.5)
    const QImage& image = canvas.Done();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ASSERT_EQ(qAlpha(image.pixel(x, y)), 0);
}

TEST(SmoothLayer, DrawTextOnAFrame)
{
    Canvas canvas(80, 30, Qt::white);
    const TFont font{QStringLiteral("Tahoma"), 8, 0, clBlack};
    TRect r{2, 2, 60, 20};
    canvas.graphics->DrawText(QStringLiteral("Ab"), nullptr, r, font, 0, 0x0000FF);  // a red frame
    const QImage& image = canvas.Done();
    EXPECT_EQ(image.pixelColor(r.Left + 1, r.Bottom - 1), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(r.Left, r.Top), QColor(Qt::white));  // the frame starts a pixel in
    EXPECT_EQ(image.pixelColor(70, 25), QColor(Qt::white));
}

TEST(SmoothLayer, StartUpIsCountedAcrossInitialisations)
{
    ASSERT_TRUE(SmoothGDIPStarted());  // by the program's own initialisation
    SmoothGDIPFinalization();
    EXPECT_FALSE(SmoothGDIPStarted());
    SmoothGDIPInitialization();
    EXPECT_TRUE(SmoothGDIPStarted());
    SmoothGDIPInitialization();  // a second one nested in it
    SmoothGDIPFinalization();
    EXPECT_TRUE(SmoothGDIPStarted());  // the outer one still stands
}

TEST(SmoothLayer, PenGivesBackABrushOfItsKind)
{
    TGPLinearGradientBrush gradient(MakeRectF(0, 0, 10, 10), 0xFF000000, 0xFFFFFFFF, gdip::LinearGradientModeVertical);
    TGPPen pen(&gradient, 2);
    std::unique_ptr<TGPBrush> back(pen.GetBrush());
    EXPECT_NE(dynamic_cast<TGPLinearGradientBrush*>(back.get()), nullptr);
    TGPPen solid(0xFF00FF00);
    std::unique_ptr<TGPBrush> plain(solid.GetBrush());
    EXPECT_NE(dynamic_cast<TGPSolidBrush*>(plain.get()), nullptr);
}

TEST(SmoothLayer, MatrixRotateAtKeepsThePointFixed)
{
    for (auto order : {gdip::MatrixOrderPrepend, gdip::MatrixOrderAppend}) {
        TGPMatrix m;
        m.RotateAt(90, MakePointF(10, 10), order);
        TGPPointF p = MakePointF(10, 10);
        m.TransformPoints(&p);
        EXPECT_NEAR(p.X, 10, 1e-4);
        EXPECT_NEAR(p.Y, 10, 1e-4);
    }
}

// A clone is a copy of its own: it has what the original had when cloned, later changes of either
// leave the other alone, and a clone of a failed object carries the failure.
TEST(SmoothLayer, ClonesCopyAndStandApart)
{
    TGPMatrix m(2, 0, 0, 3, 5, 7);
    std::unique_ptr<TGPMatrix> copy(m.Clone());
    EXPECT_TRUE(copy->EqualMatrix(&m));
    m.Translate(10, 0);
    REAL e[6] = {};
    ASSERT_EQ(copy->GetElements(e), gdip::Ok);
    EXPECT_EQ(std::vector<REAL>(e, e + 6), (std::vector<REAL>{2, 0, 0, 3, 5, 7}));
    EXPECT_EQ(copy->GetLastStatus(), gdip::Ok);

    TGPMatrix failed(MakeRectF(0, 0, 1, 1), nullptr);
    std::unique_ptr<TGPMatrix> failedCopy(failed.Clone());
    EXPECT_EQ(failedCopy->GetLastStatus(), gdip::InvalidParameter);
    EXPECT_EQ(failed.GetLastStatus(), gdip::InvalidParameter);

    // Red keyed out by the original's colour key, which the clone keeps after the original drops it.
    TGPBitmap swatch(Encode(Swatch(4, 4, Qt::red, Qt::red), "PNG"));
    const auto drawnWith = [&swatch](const TGPImageAttributes* attributes) {
        Canvas canvas(4, 4, Qt::blue);
        canvas.graphics->DrawImage(&swatch, TGPRect{0, 0, 4, 4}, 0, 0, 4, 4, gdip::UnitPixel, attributes);
        return canvas.Done().pixelColor(2, 2);
    };
    TGPImageAttributes keyed;
    keyed.SetColorKey(0xFFF00000, 0xFFFF1010);
    std::unique_ptr<TGPImageAttributes> keyedCopy(keyed.Clone());
    keyed.ClearColorKey();
    EXPECT_EQ(drawnWith(&keyed), QColor(Qt::red));
    EXPECT_EQ(drawnWith(keyedCopy.get()), QColor(Qt::blue));
    EXPECT_EQ(keyedCopy->GetLastStatus(), gdip::Ok);
}

TEST(SmoothLayer, TextAtAPointAlignsOnThePoint)
{
    using gdip::StringAlignmentCenter, gdip::StringAlignmentFar, gdip::StringAlignmentNear;
    const TFont font{QStringLiteral("Tahoma"), 10, 0, clBlack};
    // Where the ink lies against the point (60, 30): -1 before it, 0 around it, 1 after it.
    const struct {
        gdip::StringAlignment alignment, lineAlignment;
        int side, lineSide;
    } rows[] = {{StringAlignmentNear, StringAlignmentNear, 1, 1},
                {StringAlignmentCenter, StringAlignmentCenter, 0, 0},
                {StringAlignmentFar, StringAlignmentFar, -1, -1},
                {StringAlignmentCenter, StringAlignmentFar, 0, -1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.alignment << "/" << row.lineAlignment);
        Canvas canvas(120, 60, Qt::white);
        std::unique_ptr<TGPFont> f(canvas.graphics->MakeFont(font));
        TGPStringFormat format;
        format.SetAlignment(row.alignment);
        format.SetLineAlignment(row.lineAlignment);
        TGPSolidBrush ink(0xFF000000);
        canvas.graphics->DrawString(QStringLiteral("HH"), f.get(), MakePointF(60, 30), &format, &ink);
        const QImage& image = canvas.Done();
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
        ASSERT_FALSE(box.isEmpty());
        // The line box is taller than the capitals' ink: a wider slack up and down.
        const auto against = [](int from, int to, int point, int side, int slack) {
            if (side > 0) return from >= point && from <= point + slack;
            if (side < 0) return to < point && to >= point - slack;
            return from < point && to >= point && std::abs((from + to) / 2 - point) <= slack / 2;
        };
        EXPECT_TRUE(against(box.left(), box.right(), 60, row.side, 4)) << box.left() << ".." << box.right();
        EXPECT_TRUE(against(box.top(), box.bottom(), 30, row.lineSide, 8)) << box.top() << ".." << box.bottom();
    }
}
