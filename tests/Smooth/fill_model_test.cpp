// The fill model: change notification, Assign, and its INI, stream and clipboard forms.
#include "SmoothSupport.h"
#include "Smooth/GDIPFill.h"
#include "platform/vcl/SafeWrite.h"
#include "platform/vcl/SysUtils.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray SmallPng() { return Encode(Swatch(3, 2, Qt::blue, Qt::red), "PNG"); }

void SetUpFancy(TGDIPFill& f)
{
    f.SetColor(0x112233);
    f.SetColorMirror(0x445566);
    f.SetGradientType(gtRadial);
    f.SetHatchStyle(HatchStyle(7));
    f.SetPictureSize(psCustom);
    f.SetPictureWidth(-4);
    f.SetOpacityMirrorTo(17);
    f.SetBorderColor(clNone);
    f.SetRounding(9);
    f.SetRoundingType(rtRight);
    f.SetShadowOffset(2);
    f.SetAngle(-30);
    TGDIPPicture p;
    LoadBytes(p, SmallPng());
    f.SetPicture(&p);
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(SmoothFillModel, ChangeNotificationRules)
{
    TGDIPFill fill;
    EXPECT_EQ(fill.Color(), clSilver);
    EXPECT_EQ(fill.GradientType(), gtVertical);
    EXPECT_EQ(fill.BackGroundPictureMode(), pmOutsideFill);
    EXPECT_EQ(fill.PictureWidth(), 50);
    EXPECT_EQ(fill.BorderWidth(), 1);
    int changes = 0;
    fill.OnChange = [&](QObject* sender) {
        EXPECT_EQ(sender, &fill);
        ++changes;
    };
    fill.SetColor(clSilver);
    fill.SetRoundingType(rtBoth);
    EXPECT_EQ(changes, 0);
    fill.SetColor(clWhite);
    EXPECT_EQ(changes, 1);
    fill.BeginUpdate();
    fill.BeginUpdate();
    fill.SetRounding(4);
    fill.EndUpdate();
    fill.SetOpacity(3);
    fill.EndUpdate();
    fill.EndUpdate();  // one too many does no harm
    EXPECT_EQ(changes, 1);
    fill.SetOpacity(4);
    EXPECT_EQ(changes, 2);
    LoadBytes(*fill.Picture(), SmallPng());  // the owned pictures report through the fill
    EXPECT_EQ(changes, 3);
}

TEST(SmoothFillModel, AssignCopiesSavedPropertiesOnly)
{
    TGDIPFill source, target;
    SetUpFancy(source);
    source.Focus = true;
    source.FocusColor = clRed;
    int changes = 0;
    target.OnChange = [&](QObject*) { ++changes; };
    target.Assign(&source);
    EXPECT_EQ(SaveFillToStream(&target), SaveFillToStream(&source));
    EXPECT_FALSE(target.Focus);
    EXPECT_EQ(target.FocusColor, clBlack);
    EXPECT_EQ(changes, 11 + 2);  // eleven differing properties, two picture copies
    changes = 0;
    target.Assign(&source);
    EXPECT_EQ(changes, 2);  // only the picture copies, which always report
}

TEST(SmoothFillModel, HexText)
{
    EXPECT_EQ(HexToStream("0a1B"), QByteArray("\x0A\x1B", 2));
    EXPECT_EQ(HexToStream("0a1"), QByteArray("\x0A", 1));
    EXPECT_EQ(HexToStream(""), QByteArray());
    EXPECT_EQ(StreamToHex(QByteArray("\x0A\xFF", 2)), QByteArray("0AFF"));
    for (const char* bad : {"G0", "0G", "1 ", "-1", "0x"}) {
        try {
            HexToStream(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), "No Hex-Number") << bad;
        }
    }
}

TEST(SmoothFillModel, IniRoundTripAndThePictureSizeSurprise)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("theme.ini"));
    TGDIPFill saved;
    SetUpFancy(saved);
    // The keys in their order, the picture's hex length under PictureSize in its first place.
    const QByteArray hex = SmallPng().toHex().toUpper();
    const QByteArray section = "[Fill]\nColor=1122867\nColorTo=8421504\nColorMirror=4478310\nColorMirrorTo=536870911\n"
                               "GradientType=1\nGradientMirrorType=0\nHatchStyle=7\nHatchStyleMirror=0\n"
                               "BackGroundPictureMode=1\nBackGroundPicturePosition=0\nBackGroundPictureLeft=0\n"
                               "BackGroundPictureTop=0\nPicturePosition=0\nPictureLeft=0\nPictureTop=0\nPictureSize=" +
                               QByteArray::number(hex.size()) +
                               "\nPictureWidth=-4\nPictureHeight=50\nOpacity=255\nOpacityTo=255\nOpacityMirror=255\n"
                               "OpacityMirrorTo=17\nBorderColor=536870911\nBorderOpacity=255\nBorderWidth=1\nRounding=9\n"
                               "RoundingType=5\nShadowOffset=2\nShadowColor=8421504\nAngle=-30\nPicture=" +
                               hex + "\nBackgroundPicture=\nBackgroundPictureSize=0\n";
    // One write, all of it or nothing: the first write failing fails the save; a second would never come.
    for (SafeWriteStep step : {SafeWriteStep::Write, SafeWriteStep::Rename})
        for (int nth : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "step " << int(step) << ", write " << nth);
            QFile::remove(ini);
            ScopedSafeWriteFault fault({step, nth, 28, true});
            EXPECT_EQ(saved.SaveToFile(ini, QStringLiteral("Fill")), nth > 1);
            QFile file(ini);
            EXPECT_EQ(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("no file"),
                      nth > 1 ? section : QByteArray("no file"));
        }

    TGDIPFill loaded;
    int changes = 0;
    loaded.OnChange = [&](QObject*) { ++changes; };
    loaded.LoadFromFile(ini, QStringLiteral("Fill"));
    EXPECT_EQ(loaded.Picture()->Data(), saved.Picture()->Data());
    EXPECT_EQ(loaded.Rounding(), 9);
    EXPECT_EQ(loaded.OpacityMirrorTo(), 17);
    EXPECT_EQ(loaded.Angle(), -30);
    EXPECT_EQ(loaded.ColorTo(), clGray);
    EXPECT_EQ(int(loaded.PictureSize()), 2 * SmallPng().size());  // the hex text's length, not psCustom
    EXPECT_GE(changes, 1);

    // Without a picture the length 0 replaces psCustom, which so comes back as psOriginal.
    TGDIPFill plain, back;
    plain.SetPictureSize(psCustom);
    ASSERT_TRUE(plain.SaveToFile(ini, QStringLiteral("Plain")));
    back.SetPictureSize(psCustom);
    back.LoadFromFile(ini, QStringLiteral("Plain"));
    EXPECT_EQ(back.PictureSize(), psOriginal);
    EXPECT_TRUE(back.Picture()->Empty());
}

TEST(SmoothFillModel, HostileIniSections)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("hostile.ini"));
    const QByteArray png = StreamToHex(SmallPng());
    const struct {
        const char* name;
        QByteArray section;
        bool raises;
        bool picture;
    } rows[] = {
        {"odd length", "PictureSize=" + QByteArray::number(png.size() + 1) + "\nPicture=" + png + "F\n", false, true},
        {"a G in the text", "Rounding=7\nPictureSize=4\nPicture=0G12\n", true, false},
        {"negative size", "PictureSize=-8\nPicture=" + png + "\n", false, false},
        {"size beyond the text", "PictureSize=2000000000\nPicture=" + png + "\n", false, true},
        {"size cuts the text", "PictureSize=6\nPicture=" + png + "\n", false, true},
        {"10 MB of text", "PictureSize=10485760\nPicture=" + QByteArray(10 * 1024 * 1024, 'A') + "\n", false, true},
        {"negative geometry", "PictureWidth=-50\nBorderWidth=-3\nShadowOffset=-9\nRounding=-12\nGradientType=99\n"
                              "RoundingType=-1\nPicturePosition=77\nHatchStyle=1000\nOpacity=4000\n", false, false},
        {"lowest integers", "BorderWidth=-2147483648\nBorderColor=0\nRounding=-2147483648\nShadowOffset=-2147483648\n"
                            "PictureWidth=-2147483648\nPictureHeight=-2147483648\nPictureLeft=-2147483648\n"
                            "PictureTop=-2147483648\nAngle=-2147483648\nGradientType=6\n", false, false},
        {"highest integers", "BorderWidth=2147483647\nBorderColor=0\nRounding=2147483647\nShadowOffset=2147483647\n"
                             "PictureWidth=2147483647\nPictureHeight=2147483647\nPictureLeft=2147483647\n"
                             "PictureTop=2147483647\nAngle=2147483647\nGradientType=1\nColorMirror=0\n", false, false},
        {"mixed limits", "BorderWidth=-2147483648\nBorderColor=0\nRounding=2147483647\nPictureWidth=2147483647\n"
                         "PictureHeight=-2147483648\nPictureLeft=-2147483648\nPictureTop=2147483647\n"
                         "GradientMirrorType=1\nColorMirror=0\n", false, false},
    };
    for (const auto& row : rows) {
        WriteFile(ini, "[Fill]\n" + row.section);
        TGDIPFill fill;
        bool raised = false;
        try {
            fill.LoadFromFile(ini, QStringLiteral("Fill"));
        } catch (const EConvertError& e) {
            raised = true;
            EXPECT_STREQ(e.what(), "No Hex-Number");
            EXPECT_EQ(fill.Rounding(), 7) << "the integers come first";
        }
        EXPECT_EQ(raised, row.raises) << row.name;
        EXPECT_EQ(!fill.Picture()->Empty(), row.picture) << row.name;
        // Whatever was read, painting it, focused and as a badge, does not fault. A stream or the
        // clipboard carries the same values with a custom picture size as well, at any position.
        fill.Focus = true;
        for (TFillPicturePosition position : {ppTopLeft, ppCustom, ppCenterCenter, ppBottomRight, ppStretched}) {
            if (position != ppTopLeft) {
                LoadBytes(*fill.Picture(), SmallPng());
                fill.SetPictureSize(psCustom);
                fill.SetPicturePosition(position);
            }
            Canvas canvas(60, 30);
            fill.Fill(canvas.graphics.get(), MakeRectF(0, 0, 60, 30));
            TGDIPStatus badge;
            badge.Fill()->Assign(&fill);
            badge.CalculateSize(canvas.graphics.get(), QStringLiteral("8"));
            badge.Draw(canvas.graphics.get(), 40, 0, 0, 0, true, QStringLiteral("8"));
            canvas.Done();
        }
    }
}

TEST(SmoothFillModel, ClipboardRoundTripGivesTheCopiedFill)
{
    TGDIPFill copied, pasted;
    SetUpFancy(copied);
    pasted.SetColorTo(0x999999);  // left at its default in the copy, so the stream does not carry it
    LoadBytes(*pasted.BackGroundPicture(), SmallPng());
    copied.SaveToClipBoard();
    ASSERT_TRUE(pasted.LoadFromClipBoard());
    EXPECT_EQ(SaveFillToStream(&pasted), SaveFillToStream(&copied));
    EXPECT_EQ(pasted.ColorTo(), clGray);
    EXPECT_TRUE(pasted.BackGroundPicture()->Empty());

    QGuiApplication::clipboard()->setText(QStringLiteral("not a fill"));
    EXPECT_FALSE(pasted.LoadFromClipBoard());
    EXPECT_EQ(SaveFillToStream(&pasted), SaveFillToStream(&copied));
}

TEST(SmoothFillModel, DefaultsAreNotStreamed)
{
    TGDIPFill fill;
    const QByteArray plain = SaveFillToStream(&fill);
    fill.SetRounding(3);
    EXPECT_EQ(SaveFillToStream(&fill).size(), plain.size() + 1 + int(strlen("SaveObject.Rounding")) + 1 + 4);
}

TEST(SmoothFillModel, HostileStreamsChangeNothing)
{
    TGDIPFill source;
    SetUpFancy(source);
    const QByteArray good = SaveFillToStream(&source);
    QByteArray lengthPastEnd = good;
    const int at = good.indexOf("SaveObject.Picture") + int(strlen("SaveObject.Picture")) + 1;
    lengthPastEnd[at + 3] = '\x7F';  // a picture length of about 2 GB
    QByteArray outOfRange = good;
    outOfRange[good.indexOf("SaveObject.RoundingType") + int(strlen("SaveObject.RoundingType")) + 1] = '\x09';
    QByteArray unknown = good;
    unknown.replace("SaveObject.Angle", "SaveObject.Angla");
    const QByteArray rows[] = {QByteArray(), good.left(3), good.left(good.size() - 1), good.left(good.size() / 2),
                               lengthPastEnd, outOfRange, unknown, QByteArray(10000, '\xFF'),
                               QByteArray("SVR1\x06TSaver\x05SaveO", 17)};
    for (const QByteArray& bytes : rows) {
        TGDIPFill fill;
        fill.SetColor(clWhite);
        const QByteArray before = SaveFillToStream(&fill);
        EXPECT_THROW(LoadFillFromStream(&fill, bytes), EReadError) << bytes.left(40).toHex().toStdString();
        EXPECT_EQ(SaveFillToStream(&fill), before);
    }
    TGDIPFill fill;
    LoadFillFromStream(&fill, good);
    EXPECT_EQ(SaveFillToStream(&fill), good);
}
