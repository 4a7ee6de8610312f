// The smooth button as a widget: its click rules under synthetic mouse and key events, the
// pressed look, the cache, the disabled face, the badge's room, the accelerator and focus mark.
#include "SmoothButtonSupport.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Counts {
    int clicks = 0, doubles = 0;
};

void Count(TSmoothButton& b, Counts& c)
{
    b.OnClick = [&c](QObject*) { ++c.clicks; };
    b.OnDblClick = [&c](QObject*) { ++c.doubles; };
}

// One letter per event: E enter, L leave, P/R left press/release, p/r right press/release,
// O left release outside, D left double click, K Enter key, A Enter auto-repeated, S Space, X "A".
void Play(TSmoothButton& b, const char* script)
{
    for (const char* s = script; *s; ++s) {
        switch (*s) {
        case 'E': Enter(&b); break;
        case 'L': Leave(&b); break;
        case 'P': Press(&b); break;
        case 'R': Release(&b); break;
        case 'p': Press(&b, Qt::RightButton); break;
        case 'r': Release(&b, Qt::RightButton); break;
        case 'O': Release(&b, Qt::LeftButton, QPoint(-40, -40)); break;
        case 'D': DoubleClick(&b); break;
        case 'K': Key(&b, Qt::Key_Return); break;
        case 'A': Key(&b, Qt::Key_Return, true); break;
        case 'S': Key(&b, Qt::Key_Space); break;
        case 'X': Key(&b, Qt::Key_A); break;
        }
    }
}

}  // namespace

TEST(SmoothButtonEvents, ClickRules)
{
    struct Row {
        const char* script;
        bool tabStop, enabled;
        int clicks, doubles;
    } rows[] = {
        {"EPR", true, true, 1, 0},   // a plain click
        {"Epr", true, true, 1, 0},   // the right button clicks too
        {"EPLO", true, true, 1, 0},  // released outside after leaving: still a click
        {"EPRDR", true, true, 2, 1}, // a double click: two clicks, one double-click event
        {"KAA", true, true, 3, 0},   // Enter and its auto-repeats
        {"S", true, true, 1, 0},
        {"X", true, true, 0, 0},
        {"KS", false, true, 0, 0},   // keys click only a tab stop
        {"EPR", true, false, 0, 0},  // a disabled button gets no mouse
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.script);
        TSmoothButton b;
        b.SetTabStop(row.tabStop);
        b.setEnabled(row.enabled);
        Counts c;
        Count(b, c);
        Play(b, row.script);
        EXPECT_EQ(c.clicks, row.clicks);
        EXPECT_EQ(c.doubles, row.doubles);
    }
}

TEST(SmoothButtonEvents, PressedLookOnlyWhileTheMouseIsInside)
{
    TSmoothButton b;
    b.SetColor(0xC0DCC0);
    const QImage normal = FaceOf(b);
    Enter(&b);
    Press(&b);
    const QImage pressed = FaceOf(b);
    EXPECT_NE(pressed, normal);
    EXPECT_LT(qGray(pressed.pixel(60, 8)), qGray(normal.pixel(60, 8)));
    MoveHeld(&b, QPoint(200, 10));  // out, button still held
    EXPECT_EQ(FaceOf(b), normal);
    MoveHeld(&b, QPoint(20, 10));  // back in: leaving ended the press
    EXPECT_EQ(FaceOf(b), normal);
    Counts c;
    Count(b, c);
    Release(&b);
    EXPECT_EQ(c.clicks, 1);
}

TEST(SmoothButtonEvents, CacheIsRebuiltOnlyWhenTheLookChanges)
{
    TSmoothButton b;
    struct Row {
        const char* what;
        std::function<void(TSmoothButton&)> change;
        bool invalidates;
    } rows[] = {
        {"same colour", [](TSmoothButton& x) { x.SetColor(x.Color()); }, false},
        {"same caption", [](TSmoothButton& x) { x.SetCaption(x.Caption()); }, false},
        {"version", [](TSmoothButton& x) { x.SetVersion(QStringLiteral("9")); }, false},
        {"colour", [](TSmoothButton& x) { x.SetColor(x.Color() + 1); }, true},
        {"caption", [](TSmoothButton& x) { x.SetCaption(x.Caption() + QLatin1Char('x')); }, true},
        {"bevel", [](TSmoothButton& x) { x.SetBevel(!x.Bevel()); }, true},
        {"shadow", [](TSmoothButton& x) { x.SetShadow(!x.Shadow()); }, true},
        {"spacing", [](TSmoothButton& x) { x.SetHorizontalSpacing(x.HorizontalSpacing() + 1); }, true},
        {"face font", [](TSmoothButton& x) { x.Appearance()->Font().SetSize(x.Appearance()->Font().Size + 1); }, true},
        {"badge caption", [](TSmoothButton& x) { x.Status()->SetCaption(x.Status()->Caption() + QLatin1Char('1')); }, true},
        {"badge fill", [](TSmoothButton& x) { x.Status()->Appearance()->Fill()->SetColor(x.Status()->Appearance()->Fill()->Color() + 1); }, true},
        {"hover", [](TSmoothButton& x) { Enter(&x); }, true},
        {"leave", [](TSmoothButton& x) { Leave(&x); }, true},
        {"disable", [](TSmoothButton& x) { x.setEnabled(false); }, true},
        {"enable", [](TSmoothButton& x) { x.setEnabled(true); }, true},
        {"resize", [](TSmoothButton& x) { x.resize(x.width() + 1, x.height()); }, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FaceOf(b);
        ASSERT_TRUE(b.CacheValid());
        row.change(b);
        EXPECT_EQ(!b.CacheValid(), row.invalidates);
    }
    // Drawn again at the new size.
    b.resize(200, 60);
    const QImage big = FaceOf(b);
    EXPECT_EQ(qAlpha(big.pixel(190, 30)), 255);  // the shadow was switched on above
    EXPECT_EQ(qAlpha(big.pixel(100, 54)), 255);
}

TEST(SmoothButtonEvents, DisabledFaceIsDarkGreyWhateverItsColour)
{
    TSmoothButton grey;
    grey.SetColor(0x505050);
    for (TColor colour : {TColor(clRed), TColor(0xC0DCC0), clNone}) {
        TSmoothButton b;
        b.SetColor(colour);
        b.setEnabled(false);
        EXPECT_EQ(FaceOf(b), FaceOf(grey)) << std::hex << colour;
    }
}

TEST(SmoothButtonEvents, BadgeTakesItsRoomAtTheTopRight)
{
    TSmoothButton b;
    b.SetBevel(false);
    EXPECT_EQ(qAlpha(FaceOf(b).pixel(1, 17)), 255);  // hidden badge: the face uses the whole control
    TGDIPFill* fill = b.Status()->Appearance()->Fill();
    fill->SetColor(clRed);
    fill->SetGradientType(gtSolid);
    b.Status()->Appearance()->SetGlow(false);
    b.Status()->SetCaption(QStringLiteral("0"));
    EXPECT_EQ(qAlpha(FaceOf(b).pixel(1, 17)), 255);  // still hidden
    b.Status()->SetVisible(true);
    const QImage withBadge = FaceOf(b);
    EXPECT_EQ(qAlpha(withBadge.pixel(2, 17)), 0);  // inset by 5 on every side
    EXPECT_EQ(qAlpha(withBadge.pixel(6, 17)), 255);
    const int w = b.Status()->Appearance()->GetWidth(), h = b.Status()->Appearance()->GetHeight();
    EXPECT_GE(w, h);
    EXPECT_EQ(withBadge.pixelColor(117, h / 2).red(), 255);  // red pill at the corner
    EXPECT_EQ(withBadge.pixelColor(120 - w + 2, h / 2).red(), 255);
    // Moved by its offsets: left and down.
    b.Status()->SetOffsetLeft(-20);
    b.Status()->SetOffsetTop(10);
    const QImage moved = FaceOf(b);
    EXPECT_NE(moved.pixelColor(117, h / 2).red(), 255);
    EXPECT_EQ(moved.pixelColor(97, 10 + h / 2).red(), 255);
    EXPECT_EQ(moved.pixelColor(100 - w + 2, 10 + h / 2).red(), 255);
    EXPECT_NE(moved.pixelColor(100 - w - 3, 10 + h / 2).red(), 255);
    b.Status()->SetOffsetLeft(0);
    b.Status()->SetOffsetTop(0);
    b.Status()->SetCaption(QString());  // nothing to show: no room taken
    EXPECT_EQ(qAlpha(FaceOf(b).pixel(1, 17)), 255);
}

TEST(SmoothButtonEvents, AcceleratorPressesClicksAndReleases)
{
    QWidget window;
    window.resize(200, 80);
    auto* b = new TSmoothButton(&window);
    b->SetCaption(QStringLiteral("&Go"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QImage normal = FaceOf(*b);
    Enter(b);  // the pressed look also needs the pointer elsewhere; see below
    Leave(b);
    int clicks = 0;
    QImage during;
    b->OnClick = [&](QObject*) {
        ++clicks;
        during = FaceOf(*b);
    };
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    EXPECT_GE(timer.elapsed(), 140);
    EXPECT_LT(qGray(during.pixel(60, 8)), qGray(normal.pixel(60, 8)));  // pressed while it clicks
    EXPECT_EQ(FaceOf(*b), normal);
    QTest::keyClick(&window, Qt::Key_H, Qt::AltModifier);  // not its letter
    EXPECT_EQ(clicks, 1);
}

TEST(SmoothButtonEvents, FocusMarkComesAndGoes)
{
    QWidget window;
    window.resize(300, 80);
    auto* a = new TSmoothButton(&window);
    auto* b = new TSmoothButton(&window);
    b->move(150, 0);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    b->setFocus();  // the window gave the first button the focus
    ASSERT_FALSE(a->hasFocus());
    const QImage plain = FaceOf(*a);
    Enter(a);
    Press(a);  // a press takes the focus
    Release(a);
    Leave(a);
    EXPECT_TRUE(a->hasFocus());
    const QImage focused = FaceOf(*a);
    EXPECT_NE(focused, plain);
    // The dotted outline along the straight part of the left edge: dark and light by turns.
    for (int y = 10; y < focused.height() - 10; ++y) {
        const auto dark = [&](int row) { return qAlpha(focused.pixel(0, row)) == 255 && qGray(focused.pixel(0, row)) < 40; };
        EXPECT_NE(dark(y), dark(y + 1)) << "row " << y;
    }
    b->setFocus();
    EXPECT_EQ(FaceOf(*a), plain);
}

TEST(SmoothButtonEvents, FaceFontFollowsTheControlUntilSetItself)
{
    QWidget parent;
    auto* b = new TSmoothButton(&parent);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(16);
    f.setBold(true);
    parent.setFont(f);
    EXPECT_EQ(b->Appearance()->Font().Size, 12);
    EXPECT_EQ(b->Appearance()->Font().Style, TFontStyles(fsBold));
    EXPECT_TRUE(b->ParentFont());
    EXPECT_FALSE(b->Appearance()->IsFontStored());
    b->Appearance()->Font().SetSize(20);  // the user's own font
    EXPECT_FALSE(b->ParentFont());
    EXPECT_TRUE(b->Appearance()->IsFontStored());
    f.setPixelSize(32);
    parent.setFont(f);
    EXPECT_EQ(b->Appearance()->Font().Size, 20);
}

TEST(SmoothButtonEvents, ClickHandlerMayDeleteTheButton)
{
    // A handler that closes its window takes the button with it; the release must not touch it
    // afterwards (which the sanitizer build would report).
    auto* b = new TSmoothButton;
    QPointer<TSmoothButton> alive(b);
    int clicks = 0;
    b->OnClick = [b, &clicks](QObject*) {
        ++clicks;
        delete b;
    };
    Enter(b);
    Press(b);
    Release(b);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(alive.isNull());
}
