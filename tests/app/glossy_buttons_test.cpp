// The main window's three glossy buttons: how they are set up, that the mouse calculates with
// them, and that hovering repaints the button's own area and nothing else.
#include "tests/Smooth/SmoothButtonSupport.h"
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include <QPaintEvent>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(GlossyButtons, PlacedWithTheirPicturesColoursAndHints)
{
    Window w;
    const struct {
        TSmoothButton* button;
        bool picture;
        const char* caption;
        TColor colour, bevel;
    } rows[] = {
        {w->Btn_CalculateAndTotal, true, "", 0xC0DCC0, clGreen},
        {w->Btn_CalculateOnly, true, "", 0xC0DCC0, clGreen},
        {w->Exit, false, "Exit", 0x808080, clWhite},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.caption);
        EXPECT_EQ(!r.button->Picture()->Empty(), r.picture);
        EXPECT_EQ(r.button->Caption(), QString::fromLatin1(r.caption));
        EXPECT_EQ(r.button->Color(), r.colour);
        EXPECT_EQ(r.button->BevelColor(), r.bevel);
        EXPECT_FALSE(r.button->Status()->Visible());
        EXPECT_EQ(r.button->toolTip().isEmpty(), !r.picture);
        EXPECT_EQ(r.button->Picture()->Width() > 20, r.picture);
    }
}

TEST(GlossyButtons, MouseClicksCalculate)
{
    DialogRecorder dialogs;
    Window w;
    w.Type("3 + 4\n");
    QTest::mouseClick(w->Btn_CalculateAndTotal, Qt::LeftButton, Qt::NoModifier, QPoint(90, 36));
    EXPECT_EQ(w.Pad().last(), "TOTAL");
    EXPECT_FALSE(w.Answers().join("").isEmpty());
    QTest::mouseClick(w->Btn_CalculateOnly, Qt::RightButton, Qt::NoModifier, QPoint(90, 36));
    EXPECT_TRUE(dialogs.calls.empty());

    // From the keyboard: Enter on the focused button calculates, and the pad gets no new line.
    w.SetPad("5 * 2");
    w->Btn_CalculateOnly->setFocus();
    QTest::keyClick(w->Btn_CalculateOnly, Qt::Key_Return);
    EXPECT_EQ(w.Pad().first(), "5 * 2");
    EXPECT_EQ(w.Answers().first(), "10");
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST(GlossyButtons, HoverRepaintsOnlyTheButton)
{
    Window w;
    QApplication::processEvents();
    // Every area painted after the hover, in window coordinates.
    struct Recorder : QObject {
        QRegion painted;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                if (auto* widget = qobject_cast<QWidget*>(o))
                    painted += static_cast<QPaintEvent*>(e)->region().translated(widget->mapTo(widget->window(), QPoint()));
            return false;
        }
    } recorder;
    qApp->installEventFilter(&recorder);
    // A press also takes the focus, which repaints the control that loses it; so the button has
    // the focus before.
    for (TSmoothButton* b : {w->Btn_CalculateAndTotal, w->Exit}) {
        b->setFocus();
        QApplication::processEvents();
        const QRect area(b->mapTo(b->window(), QPoint()), b->size());
        for (const char* step : {"hover", "press"}) {
            SCOPED_TRACE(step);
            recorder.painted = QRegion();
            if (*step == 'h') Enter(b);
            else Press(b);
            QApplication::processEvents();
            EXPECT_FALSE(recorder.painted.isEmpty());
            EXPECT_EQ(recorder.painted.subtracted(area), QRegion());
        }
        Leave(b);
    }
    qApp->removeEventFilter(&recorder);
}

// The window with its buttons in each state: hovering alone changes no look, a press darkens
// the pressed buttons only, and disabled buttons are dark whatever their colour.
// PLUMO_SCREENSHOT_DIR names a folder to keep the pictures in.
TEST(GlossyButtons, PicturesOfTheStates)
{
    const char* dir = std::getenv("PLUMO_SCREENSHOT_DIR");
    Window w;
    TSmoothButton* const buttons[] = {w->Btn_CalculateAndTotal, w->Btn_CalculateOnly, w->Exit};
    // Each button's area in a picture of the window.
    const auto grab = [&](const char* name) {
        const QImage image = w->grab().toImage();
        if (dir) image.save(QStringLiteral("%1/%2.png").arg(QString::fromLocal8Bit(dir), QString::fromLatin1(name)));
        std::vector<QImage> areas;
        for (TSmoothButton* b : buttons) areas.push_back(image.copy(QRect(b->mapTo(b->window(), QPoint()), b->size())));
        return areas;
    };
    const auto grey = [](const QImage& area) {
        qint64 sum = 0;
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x) sum += qGray(area.pixel(x, y));
        return double(sum) / (area.width() * area.height());
    };
    const auto normal = grab("normal");
    Enter(w->Btn_CalculateAndTotal);
    const auto hovered = grab("hovered");
    Press(w->Btn_CalculateAndTotal);
    Enter(w->Exit);
    Press(w->Exit);
    const auto pressed = grab("pressed");
    Leave(w->Btn_CalculateAndTotal);
    Leave(w->Exit);
    for (TSmoothButton* b : buttons) b->setEnabled(false);
    const auto disabled = grab("disabled");
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(buttons[i]->objectName().toStdString());
        EXPECT_EQ(hovered[i], normal[i]);
        if (i == 1) {
            EXPECT_EQ(pressed[i], normal[i]);  // not pressed
        } else {
            EXPECT_LT(grey(pressed[i]), grey(normal[i]) - 5);
        }
        EXPECT_LT(grey(disabled[i]), grey(normal[i]) - 20);
    }
}
