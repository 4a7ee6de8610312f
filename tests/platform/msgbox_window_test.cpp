// The message box's own window, run offscreen with no dialog handler: each test drives the box
// from a timer while its loop runs, with synthetic keys and clicks and a hand-turned clock.
#include "platform/vcl/DialogSeam.h"
#include "platform/vcl/Forms.h"
#include "platform/win/MsgBoxWindow.h"
#include "platform/win/Registry.h"
#include "tests/common/DialogRecorder.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

namespace {

void Key(QWidget& box, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = box.focusWidget() ? box.focusWidget() : &box;
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
}

void ClickBackground(QWidget& box)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), box.mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &press);
}

void Click(MsgBoxWindow& box, int id) { static_cast<QAbstractButton*>(box.Item(id))->click(); }

// Counts the times a window is hidden.
struct HideCounter : QObject {
    explicit HideCounter(QWidget& window) { window.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide) ++count;
        return false;
    }
    int count = 0;
};

void Tick(MsgBoxWindow& box) { box.findChild<QCheckBox*>()->click(); }

class MsgBoxWindowTest : public ::testing::Test {
protected:
    MsgBoxWindowTest() : previous_(SetDialogHandler({})) { SetRegistryFolder(folder_.path()); }
    ~MsgBoxWindowTest() override
    {
        SetRegistryFolder({});
        SetDialogHandler(previous_);
    }

    // Shows the box and runs the script once it is up; a box the script leaves open fails the
    // test and is closed.
    int Run(const char* message, const char* caption, unsigned style, const ExtMessageBoxParams* p,
            std::function<void(MsgBoxWindow&)> script, QWidget* owner = nullptr)
    {
        int answer = -1;
        RunWithBox([&] { answer = ExtMessageBox(owner, message, caption, style | MB_NOSOUND, p); },
                   [&](QWidget& shown) {
                       QPointer<MsgBoxWindow> box = dynamic_cast<MsgBoxWindow*>(&shown);
                       ASSERT_TRUE(box) << "not the message box";
                       script(*box);
                       if (box && !box->Answered() && !box->Closed()) {
                           ADD_FAILURE() << "box left open";
                           box->hide();
                       }
                   });
        return answer;
    }

    QTemporaryDir folder_;
    DialogHandler previous_;
};

TEST_F(MsgBoxWindowTest, EscapeAndCloseFollowTheButtonSet)
{
    // What Escape and the close box answer, per button set; 0: nothing, the box stays.
    const int escape[16] = {IDOK, IDCANCEL, 0, IDCANCEL, 0, IDCANCEL, IDCANCEL, 0, IDCANCEL, IDCANCEL, 0, 0, 0, 0, 0, 0};
    for (unsigned set = 0; set <= 16; ++set) {
        ExtMessageBoxParams own;
        std::strcpy(own.szButtonsText, "Metric\nImperial");
        const ExtMessageBoxParams* p = set == 16 ? &own : nullptr;  // caller-given buttons
        const int expected = set == 16 ? 0 : escape[set];
        for (const bool byKey : {true, false}) {
            int first = 0;
            const int answer = Run("m", "c", (set & 15) | MB_DONOTTELLAGAIN, p, [&](MsgBoxWindow& box) {
                EXPECT_EQ(box.CloseEnabled(), expected != 0) << set;
                Tick(box);
                if (byKey) Key(box, Qt::Key_Escape);
                else box.close();
                if (box.Answered()) return;
                first = box.ItemId(box.findChildren<QPushButton*>().front());
                if (expected == 0) Click(box, first);
            });
            // Escape and the close box never carry the check box; a button does.
            EXPECT_EQ(answer, expected ? expected : first | 0x02000000) << "set " << set << (byKey ? " Escape" : " close");
        }
    }
}

TEST_F(MsgBoxWindowTest, TimeOutCountsDownOnTheDefaultButton)
{
    ExtMessageBoxParams p;
    p.nTimeoutSeconds = 3;
    QStringList seen;
    const int answer = Run("Going on", "Wait", MB_OK, &p, [&](MsgBoxWindow& box) {
        const auto* ok = static_cast<QPushButton*>(box.Item(IDOK));
        for (int second = 0; second < 3; ++second) {
            seen << ok->text();
            box.Timer(MsgBoxWindow::TimeoutTimer);
        }
    });
    EXPECT_EQ(seen, QStringList({"OK = 3", "OK = 2", "OK = 1"}));
    EXPECT_EQ(static_cast<unsigned>(answer), 0x80000001u);

    // A click anywhere in the box stops the count and gives the button its caption back.
    p.nTimeoutSeconds = 5;
    EXPECT_EQ(Run("Going on", "Wait", MB_OKCANCEL, &p, [](MsgBoxWindow& box) {
        const auto* ok = static_cast<QPushButton*>(box.Item(IDOK));
        EXPECT_EQ(ok->text(), "OK = 5");
        ClickBackground(box);
        EXPECT_FALSE(box.TimeoutRunning());
        EXPECT_EQ(ok->text(), "OK");
        Click(box, IDCANCEL);
    }), IDCANCEL);
}

TEST_F(MsgBoxWindowTest, DisabledCountdownHoldsTheButtons)
{
    ExtMessageBoxParams p;
    p.nDisabledSeconds = 5;
    QStringList titles;
    const int answer = Run("Read this first", "Notice", MB_OKCANCEL, &p, [&](MsgBoxWindow& box) {
        const QRect placed = box.frameGeometry();
        HideCounter hides(box);
        for (int second = 0; second < 5; ++second) {
            titles << box.windowTitle();
            EXPECT_FALSE(box.Item(IDOK)->isEnabled());
            EXPECT_FALSE(box.CloseEnabled());
            Key(box, Qt::Key_Escape);  // nothing yet
            box.Timer(MsgBoxWindow::DisabledTimer);
        }
        EXPECT_EQ(box.windowTitle(), "Notice");
        // Offering the close box again neither moves nor hides the box: a window shown anew is
        // placed anew by the desktop.
        QApplication::processEvents();
        EXPECT_EQ(box.frameGeometry(), placed);
        EXPECT_EQ(hides.count, 0);
        EXPECT_TRUE(box.Item(IDOK)->isEnabled());
        EXPECT_TRUE(box.Item(IDCANCEL)->isEnabled());
        EXPECT_TRUE(box.CloseEnabled());
        Key(box, Qt::Key_Escape);
    });
    EXPECT_EQ(titles, QStringList({"Notice 5", "Notice 4", "Notice 3", "Notice 2", "Notice 1"}));
    EXPECT_EQ(answer, IDCANCEL);
}

TEST_F(MsgBoxWindowTest, CtrlCCopiesTheBoxAsText)
{
    QGuiApplication::clipboard()->clear();
    Run("Possible Inconsistent Units\nin line 3", "Consistency Warning",
        MB_OKCANCEL | MB_ICONEXCLAMATION | MB_HELP | MB_DONOTTELLAGAIN, nullptr, [](MsgBoxWindow& box) {
            Key(box, Qt::Key_C, Qt::ControlModifier);
            Click(box, IDOK);
        });
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "---------------------------\n"
              "Consistency Warning\n"
              "---------------------------\n"
              "Possible Inconsistent Units\nin line 3\n"
              "---------------------------\n"
              "OK   Cancel   Help   Don't tell me again   \n"
              "---------------------------\n");
}

TEST_F(MsgBoxWindowTest, CheckBoxAnswersAreStoredOnlyFromAButton)
{
    enum Action { Yes, CancelButton, Escape, UntickedYes };
    const struct {
        Action action;
        unsigned answer;
        bool stored;
    } rows[] = {
        {Yes, 0x01000000u | IDYES, true},
        {CancelButton, IDCANCEL, false},
        {Escape, IDCANCEL, false},
        {UntickedYes, IDYES, false},
    };
    int line = 0;
    for (const auto& row : rows) {
        ExtMessageBoxParams p;
        p.pszModule = "PadFiles";
        p.nLine = ++line;
        const int answer = Run("Save?", "Save", MB_YESNOCANCEL | MB_DONOTASKAGAIN, &p, [&](MsgBoxWindow& box) {
            if (row.action != UntickedYes) Tick(box);
            switch (row.action) {
            case Yes:
            case UntickedYes: Click(box, IDYES); break;
            case CancelButton: Click(box, IDCANCEL); break;
            case Escape: Key(box, Qt::Key_Escape); break;
            }
        });
        EXPECT_EQ(static_cast<unsigned>(answer), row.answer) << line;
        EXPECT_EQ(ExtMessageBoxGetCheckBox(p), row.stored ? row.answer : 0u) << line;
    }
}

TEST_F(MsgBoxWindowTest, HelpAndReportLeaveTheBoxOpen)
{
    static QString helpPath;
    static int helpContext = 0;
    static std::string reported;
    static unsigned reportData = 0;
    const ExtHelpOpener before = SetExtMessageBoxHelpOpener([](const QString& path, int context) {
        helpPath = path;
        helpContext = context;
    });
    ExtMessageBoxParams p;
    p.nHelpContext = 42;
    p.dwReportData = 7;
    p.pfnReport = [](const char* message, unsigned data) {
        reported = message;
        reportData = data;
    };
    const QString file = Win1252ToUnicode(ChangeFileExt(ParamStr0(), ".hlp"));
    const int answer = Run("Lost \xe9t\xe9", "Help", MB_OK | MB_HELP, &p, [&](MsgBoxWindow& box) {
        Click(box, IDEXTHELP);  // no help file: nothing happens
        EXPECT_TRUE(helpPath.isEmpty());
        QFile help(file);
        ASSERT_TRUE(help.open(QIODevice::WriteOnly));
        help.close();
        Click(box, IDEXTHELP);
        QFile::remove(file);
        Click(box, IDREPORT);
        EXPECT_FALSE(box.Answered());
        Click(box, IDOK);
    });
    SetExtMessageBoxHelpOpener(before);
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(helpPath, file);
    EXPECT_EQ(helpContext, 42);
    EXPECT_EQ(reported, "Lost \xe9t\xe9");
    EXPECT_EQ(reportData, 7u);
}

// A key or a click as the desktop delivers it: to the window, which passes it on to its focus or
// to the widget under the mouse unless a box holds the window off.
void PressKeyInWindow(QWindow* window, int key, const QString& text)
{
    ASSERT_TRUE(window);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(window, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(window, &release);
}

void ClickInWindow(QWidget& widget)
{
    QWindow* window = widget.window()->windowHandle();
    const QPointF at = widget.mapTo(widget.window(), QPointF(widget.rect().center()));
    const QPointF global = widget.window()->mapToGlobal(at);
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, global, Qt::LeftButton, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(window, &event);
    }
}

// The owner as the program's window: a pad with the keyboard, and an Exit button after it; beside
// it a window of its own (as a run's Stop box is), which no box may hold off. Both kinds of box:
// the program's own and the application's plain one.
TEST_F(MsgBoxWindowTest, OwnerIsHeldOffAsItIsAndGetsItsFocusBack)
{
    QWidget owner;
    owner.setGeometry(100, 120, 500, 400);
    auto* pad = new QPlainTextEdit(&owner);
    pad->setGeometry(0, 0, 500, 300);
    auto* exit = new QPushButton(QStringLiteral("Exit"), &owner);
    exit->setGeometry(10, 320, 80, 30);
    QWidget beside;
    auto* stop = new QPushButton(QStringLiteral("Stop"), &beside);
    int exits = 0, stops = 0;
    QObject::connect(exit, &QPushButton::clicked, [&exits] { ++exits; });
    QObject::connect(stop, &QPushButton::clicked, [&stops] { ++stops; });
    beside.show();
    owner.show();
    owner.activateWindow();
    pad->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), pad);

    enum Answer { ByEscape, ByButton, ByClose };
    const struct {
        bool plain;  // the application's box, else the program's own
        int x, y;
        std::function<QPoint(QSize)> at;  // the box's expected top-left for its size
        Answer answer;
    } rows[] = {
        {false, 0, 0, [&](QSize s) { return owner.frameGeometry().center() - QPoint(s.width() / 2, s.height() / 2); },
         ByEscape},
        {false, -40, -30,
         [&](QSize s) { return owner.frameGeometry().center() - QPoint(s.width() / 2 + 40, s.height() / 2 + 30); },
         ByButton},
        {false, 50, 60, [](QSize) { return QPoint(50, 60); }, ByClose},
        {true, 0, 0, {}, ByEscape},
        {true, 0, 0, {}, ByButton},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << (row.plain ? "plain " : "own ") << row.answer);
        ExtMessageBoxParams p;
        p.x = row.x;
        p.y = row.y;
        const char* question = "Do you want to Save the changes?";
        RunWithBox([&] {
            if (row.plain) Application->MessageBox(question, "c", MB_YESNOCANCEL);
            else ExtMessageBox(nullptr, question, "c", MB_YESNOCANCEL | MB_NOSOUND, &p);
        }, [&](QWidget& box) {
            // Held off, yet nothing of it is disabled (and so drawn greyed)...
            EXPECT_TRUE(owner.isEnabled());
            EXPECT_TRUE(pad->isEnabled());
            EXPECT_TRUE(exit->isEnabled());
            EXPECT_TRUE(box.isEnabled());
            // ...and nothing typed or clicked there arrives; the window beside it is not held off.
            PressKeyInWindow(owner.windowHandle(), Qt::Key_X, QStringLiteral("x"));
            ClickInWindow(*exit);
            ClickInWindow(*stop);
            EXPECT_EQ(pad->toPlainText(), "");
            EXPECT_EQ(exits, 0);
            EXPECT_EQ(stops, 1);
            stops = 0;
            if (row.at) {
                EXPECT_EQ(box.pos(), row.at(box.frameGeometry().size())) << row.x << "," << row.y;
            }
            switch (row.answer) {
            case ByEscape: Key(box, Qt::Key_Escape); break;
            case ByButton:
                for (auto* button : box.findChildren<QPushButton*>())
                    if (button->text() == "Cancel") button->click();
                break;
            case ByClose: box.close(); break;
            }
        });
        QApplication::processEvents();
        // The keyboard is back where it was: a space typed now lands in the pad.
        EXPECT_EQ(QApplication::focusWidget(), pad);
        PressKeyInWindow(QGuiApplication::focusWindow(), Qt::Key_Space, QStringLiteral(" "));
        EXPECT_EQ(pad->toPlainText(), " ");
        EXPECT_EQ(exits, 0);
        pad->clear();
    }
}

TEST_F(MsgBoxWindowTest, HostileCallsGiveABoxOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const std::string huge(70000, 'x'), breaks(5000, '\n'), words = [] {
        std::string s;
        while (s.size() < 65000) s += "Rafter length exceeds stock\t";
        return s;
    }();
    const std::string longCaption(2000, 'c');
    const struct {
        const char* name;
        const char* message;
        int x, y, background;
    } rows[] = {
        {"one long word", huge.c_str(), 0, 0, -1},
        {"only line breaks", breaks.c_str(), 0, 0, -1},
        {"many words", words.c_str(), -100000, -100000, 0x7FFFFFFF},
        {"far right", "m", 100000, 100000, -2},
        {"far left", "m", -100000, 5, 0x00FF00},
    };
    for (const auto& row : rows) {
        ExtMessageBoxParams p;
        p.x = row.x;
        p.y = row.y;
        p.crBackground = row.background;
        Run(row.message, longCaption.c_str(), MB_OK | MB_ICONINFORMATION, &p, [&](MsgBoxWindow& box) {
            EXPECT_TRUE(screen.contains(box.frameGeometry())) << row.name << " " << box.frameGeometry().x() << ","
                                                              << box.frameGeometry().y() << " " << box.width()
                                                              << "x" << box.height();
            EXPECT_EQ(box.windowTitle(), QString(1023, 'c'));
            Click(box, IDOK);
        });
    }
    // The application's plain box as well, with no cut at all: its text scrolls in a box whose
    // button is on the screen.
    const std::string megabyte = [] {
        std::string s;
        while (s.size() < 1000000) s += "Rafter length exceeds stock ";
        return s;
    }();
    for (const std::string* text : {&huge, &breaks, &megabyte}) {
        RunWithBox([&] { Application->MessageBox(Win1252ToUnicode(*text), "c", MB_OK); }, [&](QWidget& box) {
            auto* ok = box.findChild<QPushButton*>();
            ASSERT_TRUE(ok);
            EXPECT_TRUE(screen.contains(box.frameGeometry()))
                << text->size() << ": " << box.frameGeometry().y() << " " << box.width() << "x" << box.height();
            EXPECT_TRUE(box.rect().contains(QRect(ok->mapTo(&box, QPoint(0, 0)), ok->size()))) << text->size();
            ok->click();
        });
    }
}

TEST_F(MsgBoxWindowTest, StyleBitsReachTheWindow)
{
    constexpr auto kNone = QStyle::SP_CustomBase;
    const struct {
        unsigned style;
        bool topmost;
        QStyle::StandardPixmap icon;
    } rows[] = {
        {MB_OK, false, kNone},
        {MB_OK | MB_TOPMOST | MB_ICONQUESTION, true, QStyle::SP_MessageBoxQuestion},
        {MB_OK | MB_ICONSTOP, false, QStyle::SP_MessageBoxCritical},
        {MB_OK | MB_ICONEXCLAMATION, false, QStyle::SP_MessageBoxWarning},
        {MB_OK | MB_ICONINFORMATION, false, QStyle::SP_MessageBoxInformation},
        {MB_OK | MB_SYSTEMMODAL | 0x60, true, QStyle::SP_MessageBoxWarning},  // any other icon value
    };
    for (const auto& row : rows) {
        Run("m", "c", row.style, nullptr, [&](MsgBoxWindow& box) {
            EXPECT_EQ(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint), row.topmost) << std::hex << row.style;
            // Even a system-modal box holds off only its owner.
            EXPECT_EQ(box.windowModality(), Qt::WindowModal) << std::hex << row.style;
            const auto* icon = dynamic_cast<StaticText*>(box.Item(IDC_ICONSTATIC));
            ASSERT_EQ(icon != nullptr, row.icon != kNone) << std::hex << row.style;
            if (icon) {
                const QPixmap& drawn = icon->Icon();
                EXPECT_TRUE(drawn.toImage() == box.style()->standardIcon(row.icon).pixmap(drawn.size()).toImage())
                    << "another icon drawn for style " << std::hex << row.style;
            }
            EXPECT_EQ(box.focusWidget(), box.Item(IDOK));
            Click(box, IDOK);
        });
    }
}

TEST_F(MsgBoxWindowTest, OwnerDestroyedWhileTheBoxRuns)
{
    auto* owner = new QWidget;
    owner->show();
    EXPECT_EQ(Run("m", "c", MB_OKCANCEL, nullptr, [&](MsgBoxWindow&) { delete owner; }, owner), 0);
}

TEST_F(MsgBoxWindowTest, QuitRequestEndsTheBoxAndIsPassedOn)
{
    QEventLoop program;
    int answer = -1;
    QTimer guard;  // should the request not end the box
    const Watchdog watchdog(std::chrono::seconds(10));  // should the box spin on in its loop
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* box = ShownDialog()) box->hide();
    });
    guard.start(2000);
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [] { QCoreApplication::exit(5); });
        answer = ExtMessageBox(nullptr, "m", "c", MB_OKCANCEL | MB_NOSOUND, nullptr);
    });
    EXPECT_EQ(program.exec(), 5);
    EXPECT_EQ(answer, 0);
    // Let later loops run again.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QApplication::exec();
}

// The boxes as drawn: the band behind the message in its colour and the face below it, the
// message in the caller's text colour wherever a band is painted, the icon 16 pixels before the
// text. With PLUMO_GRAB_DIR set, the pictures are also saved there for a person to look at.
TEST_F(MsgBoxWindowTest, PicturesShowTheBandTheTextAndTheIcon)
{
    const QPalette palette = QApplication::palette();
    const QColor face = palette.color(QPalette::Window), window = palette.color(QPalette::Base);
    const QColor red(0xC0, 0, 0), blue(0, 0, 0xC0), yellow(0xFF, 0xFF, 0);
    const struct {
        const char* name;
        const char* message;
        const char* caption;
        unsigned style;
        int text, background, timeout;
        QColor band, ink;
    } rows[] = {
        {"warning", "The answer unit is metric but the pad is in feet and inches.", "Answer Units Warning",
         0x22000030, -1, -1, 0, window, palette.color(QPalette::Text)},
        // The band of the window colour takes the caller's text colour too.
        {"question", "Do you want to Save the changes to: Untitled.pad?", "Plumo Calculator", 0x20000023, 0x0000C0,
         -1, 0, window, red},
        {"timeout", "The stored roof pitch table is older than this pad. The calculation goes on with the stored "
         "table unless you choose to stop now.", "Roof Pitch", MB_OKCANCEL | MB_ICONINFORMATION | MB_HELP, 0xC00000,
         0x00FFFF, 9, yellow, blue},
    };
    const QString dir = qEnvironmentVariable("PLUMO_GRAB_DIR");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ExtMessageBoxParams p;
        p.crText = row.text;
        p.crBackground = row.background;
        p.nTimeoutSeconds = row.timeout;
        p.dwLayoutOptions = row.timeout ? MBLAYOUT_NARROWTEXT : 0;
        Run(row.message, row.caption, row.style, &p, [&](MsgBoxWindow& box) {
            const QImage picture = box.grab().toImage();
            if (!dir.isEmpty()) picture.save(QDir(dir).filePath(QString::fromLatin1(row.name) + ".png"));
            EXPECT_EQ(picture.pixelColor(box.width() - 4, 4), row.band);
            EXPECT_EQ(picture.pixelColor(4, box.height() - 4), face);

            auto* text = box.Item(IDC_MESSAGETEXT);
            const QRect message(text->mapTo(&box, QPoint(0, 0)), text->size());
            int nearest = 3 * 255;  // of the message's pixels, the one nearest the ink
            for (int y = message.top(); y <= message.bottom(); ++y)
                for (int x = message.left(); x <= message.right(); ++x) {
                    const QColor c = picture.pixelColor(x, y);
                    nearest = std::min(nearest, std::abs(c.red() - row.ink.red()) + std::abs(c.green() - row.ink.green()) +
                                                    std::abs(c.blue() - row.ink.blue()));
                }
            EXPECT_LE(nearest, 24) << "no text drawn in " << row.ink.name().toStdString();

            const auto* icon = dynamic_cast<StaticText*>(box.Item(IDC_ICONSTATIC));
            ASSERT_TRUE(icon);
            // Within the pixel that placing in dialog units may round away.
            EXPECT_NEAR(icon->width(), icon->Icon().width() + 2, 1);
            EXPECT_NEAR(message.left() - (icon->x() + icon->Icon().width()), 16, 1);

            Key(box, Qt::Key_Escape);
            if (!box.Answered()) box.Command(box.ItemId(box.findChildren<QPushButton*>().front()));
        });
    }
}

}  // namespace
