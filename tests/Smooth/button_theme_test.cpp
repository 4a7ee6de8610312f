// The smooth button's theme file, colour schemes and version, and hostile input: theme files,
// captions, pictures and sizes that must never crash it or make it hold more than its face.
#include "SmoothButtonSupport.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(SmoothButtonTheme, ColourRoundTripAndSchemes)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("theme.ini"));
    TSmoothButton saved, loaded;
    saved.SetColor(0x123456);
    ASSERT_TRUE(saved.SaveToTheme(file));
    loaded.LoadFromTheme(file);
    EXPECT_EQ(loaded.Color(), 0x123456);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("[TSmoothButton]"));
    // A folder that does not exist cannot take the file: the save says so.
    EXPECT_FALSE(saved.SaveToTheme(dir.filePath(QStringLiteral("missing/theme.ini"))));

    const struct {
        TSmoothStyle style;
        TColor colour;
    } schemes[] = {{tsOffice2003Blue, 0xE3B28D}, {tsWindows7, 0xFCEBDC}, {tsWhidbey, 0x828F92},
                   {tsCustom, 0x123456},        {tsTerminal, TColor(0xFF00000F)}};
    for (const auto& s : schemes) {
        TSmoothButton b;
        b.SetColor(0x123456);
        b.SetComponentStyle(s.style);
        EXPECT_EQ(b.Color(), s.colour) << s.style;
    }
    // The system's button-face colour paints as the desktop's.
    TSmoothButton terminal, desktop;
    terminal.SetComponentStyle(tsTerminal);
    desktop.SetColor(0xF0F0F0);
    EXPECT_EQ(FaceOf(terminal), FaceOf(desktop));
    EXPECT_EQ(saved.Version(), "1.6.5.3");
    saved.SetVersion(QStringLiteral("2.0"));
    EXPECT_EQ(saved.Version(), "1.6.5.3");
}

TEST(SmoothButtonTheme, HostileThemeFilesKeepASaneColour)
{
    QTemporaryDir dir;
    const struct {
        const char* what;
        QByteArray content;
        TColor expected;  // 0x777777: the colour stays
    } rows[] = {
        {"empty", QByteArray(), 0x777777},
        {"no section", "Color=255\n", 0x777777},
        {"not a number", "[TSmoothButton]\nColor=green\n", 0x777777},
        {"too big", "[TSmoothButton]\nColor=99999999999999\n", 0x777777},
        {"system colour", "[TSmoothButton]\nColor=-16777201\n", TColor(0xFF00000F)},
        {"negative", "[TSmoothButton]\nColor=-1\n", -1},
        {"binary", QByteArray("\x00\xFF[\x01]\r\n=\x00", 9), 0x777777},
        {"long line", "[TSmoothButton]\nColor=" + QByteArray(1 << 20, '9') + "\n", 0x777777},
        {"many sections", QByteArray("[x]\na=1\n").repeated(100000) + "[TSmoothButton]\nColor=5\n", 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const QString file = dir.filePath(QString::fromLatin1(row.what) + QStringLiteral(".ini"));
        Write(file, row.content);
        TSmoothButton b;
        b.SetColor(0x777777);
        b.LoadFromTheme(file);
        EXPECT_EQ(b.Color(), row.expected);
        EXPECT_EQ(qAlpha(FaceOf(b).pixel(60, 17)), 255);  // a face is painted
    }
    TSmoothButton b;
    b.SetColor(0x777777);
    b.LoadFromTheme(dir.filePath(QStringLiteral("none.ini")));  // no file at all
    EXPECT_EQ(b.Color(), 0x777777);
}

TEST(SmoothButtonHostile, CaptionsPicturesSizesAndResizeStorms)
{
    // A long badge and caption, and a picture that does not decode (it draws nothing).
    const auto setUp = [](TSmoothButton& b) {
        b.SetShadow(true);
        b.Status()->SetVisible(true);
        b.Status()->SetCaption(QString(2000, QLatin1Char('8')));
        b.SetCaption(QString(10000, QLatin1Char('&')) + QString(10000, QLatin1Char('W')));
        QBuffer junk;
        junk.setData(QByteArray("\x89PNG\r\n\x1a\n this is no picture", 28));
        junk.open(QIODevice::ReadOnly);
        b.Picture()->LoadFromStream(&junk);
    };
    TSmoothButton b;
    setUp(b);
    FaceOf(b);
    // Whatever sizes it went through, the face is the one a new button of that size shows, and
    // the button holds one face of its size.
    const auto sameAsNew = [&](QSize size) {
        TSmoothButton fresh;
        setUp(fresh);
        fresh.resize(size);
        EXPECT_EQ(FaceOf(b), FaceOf(fresh)) << size.width() << " x " << size.height();
        EXPECT_TRUE(b.CacheValid());
    };
    for (QSize size : {QSize(0, 0), QSize(1, 20000), QSize(20000, 1), QSize(1, 1), QSize(6, 4)}) {
        b.resize(size);
        if (!size.isEmpty()) sameAsNew(size);
        else FaceOf(b);
    }
    for (int i = 0; i < 1000; ++i) {
        const QSize size(1 + (i * 37) % 400, 1 + (i * 11) % 120);
        b.resize(size);
        if (i % 25 == 0) sameAsNew(size);
    }
}
