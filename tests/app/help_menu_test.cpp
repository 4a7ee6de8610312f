// The whole menu bar against its table, item by item, and the About box.
#include "app/About.h"
#include "app/Help_manuals.h"
#include "platform/win/Association.h"
#include "platform/win/Shell.h"
#include "platform/win/WinDefs.h"
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// What choosing an item does, as the user sees it.
enum class Effect {
    None,           // not chosen here (see the row)
    NewPad,         // the pad is emptied
    OpenDialog,     // the open dialog is shown
    SaveDialog,     // the save dialog is shown (the pad is untitled)
    PrintDialog,    // the print dialog is shown
    CopyAll,        // the clipboard holds the pad
    MetricManual,   // the named manual is started in the viewer
    ImperialManual,
    GeneralManual,
    ReferenceManual,
    AboutBox,       // the About box is shown
};

struct MenuRow {
    const char* path;     // "File" for a menu, "File/New" for an item, "Help/Tutorial Manuals/..." below
    const char* shortcut; // "" for none
    bool separator;
    bool visible;
    Effect effect;
};

const MenuRow kMenuBar[] = {
    {"File", "", false, true, Effect::None},
    {"File/New", "Ctrl+N", false, true, Effect::NewPad},
    {"File/Open", "Ctrl+O", false, true, Effect::OpenDialog},
    {"File/Save", "Ctrl+S", false, true, Effect::SaveDialog},
    {"File/Save As...", "", false, true, Effect::SaveDialog},
    {"File/Print", "Ctrl+P", false, true, Effect::PrintDialog},
    {"File/Exit", "", false, true, Effect::None},  // ends the process: not chosen in a test
    {"File/-", "", true, true, Effect::None},
    // The nine recent files, hidden while the list is empty (their choosing: mru_test.cpp).
    {"File/", "", false, false, Effect::None},
    {"File/", "", false, false, Effect::None},
    {"File/", "", false, false, Effect::None},
    {"File/", "", false, false, Effect::None},
    {"File/", "", false, false, Effect::None},
    {"File/", "", false, false, Effect::None},
    {"File/", "", false, false, Effect::None},
    {"File/", "", false, false, Effect::None},
    {"File/", "", false, false, Effect::None},
    {"Edit", "", false, true, Effect::None},
    // Cut, Copy, Paste, Find and Replace act on the selection and open the find dialogs; the
    // Edit menu's own tests choose them.
    {"Edit/Cut", "Ctrl+X", false, true, Effect::None},
    {"Edit/Copy", "Ctrl+C", false, true, Effect::None},
    {"Edit/Paste", "Ctrl+V", false, true, Effect::None},
    {"Edit/-", "", true, false, Effect::None},
    {"Edit/Copy All", "Ctrl+Alt+C", false, true, Effect::CopyAll},
    {"Edit/-", "", true, true, Effect::None},
    {"Edit/Find", "Ctrl+F", false, true, Effect::None},
    {"Edit/Replace", "Ctrl+H", false, true, Effect::None},
    {"Help", "", false, true, Effect::None},
    {"Help/Tutorial Manuals", "", false, true, Effect::None},
    {"Help/Tutorial Manuals/Metric - Basic", "", false, true, Effect::MetricManual},
    {"Help/Tutorial Manuals/Imperial - Basic", "", false, true, Effect::ImperialManual},
    {"Help/Tutorial Manuals/Programming", "", false, true, Effect::GeneralManual},
    {"Help/Reference Manual", "", false, true, Effect::ReferenceManual},
    {"Help/About", "", false, true, Effect::AboutBox},
};

struct Found {
    QString path;
    TMenuItem* item;
};

void Walk(const QString& prefix, TMenuItem* item, std::vector<Found>& out)
{
    const QString path = prefix.isEmpty() ? item->Caption() : prefix + QLatin1Char('/') + item->Caption();
    out.push_back({path, item});
    for (int i = 0; i < item->Count(); ++i) Walk(path, item->Items(i), out);
}

// Chooses the item and tells whether it did what the row says.
bool DoesItsJob(Window& w, TMenuItem* item, Effect effect, std::vector<ProcessStart>& starts)
{
    if (effect == Effect::None) return true;
    DialogRecorder dialogs;
    starts.clear();
    const auto dialogOf = [&](DialogCall::Kind kind) {
        for (const DialogCall& call : dialogs.calls)
            if (call.kind == kind) return true;
        return false;
    };
    const auto started = [&](const char* manual) {
        return starts.size() == 1 && QFileInfo(starts[0].arguments.value(0)).fileName() == QString::fromLatin1(manual);
    };
    w.SetPad(QStringLiteral("2 + 3"));
    w->PadUnchanged = true;
    item->Click();
    switch (effect) {
    case Effect::None: break;
    case Effect::NewPad: return w.Pad().join(QString()).isEmpty();
    case Effect::OpenDialog: return dialogOf(DialogCall::Kind::OpenFile);
    case Effect::SaveDialog: return dialogOf(DialogCall::Kind::SaveFile);
    case Effect::PrintDialog: return dialogOf(DialogCall::Kind::Print);
    case Effect::CopyAll: return QApplication::clipboard()->text().contains(QStringLiteral("2 + 3"));
    case Effect::MetricManual: return started(kMetricBasicManual);
    case Effect::ImperialManual: return started(kImperialBasicManual);
    case Effect::GeneralManual: return started(kGeneralManual);
    case Effect::ReferenceManual: return started(kReferenceManual);
    case Effect::AboutBox:
        return dialogs.calls.size() == 1 && dialogs.calls[0].kind == DialogCall::Kind::Other &&
               dialogs.calls[0].caption == QStringLiteral("About");
    }
    return false;
}

TEST(MenuBar, EveryItemAsTheTableHasIt)
{
    Window w;
    std::vector<ProcessStart> starts;
    const ProcessStarter previousStarter = SetProcessStarter([&](const ProcessStart& s) {
        starts.push_back(s);
        return true;
    });
    Config->PDFTab = "/viewer/of/the/test";  // no desktop lookup

    std::vector<Found> found;
    for (int i = 0; i < w->MainMenu1->Count(); ++i) Walk(QString(), w->MainMenu1->Items(i), found);

    size_t at = 0;
    for (const MenuRow& row : kMenuBar) {
        const QString path = QString::fromLatin1(row.path);
        SCOPED_TRACE(row.path);
        ASSERT_LT(at, found.size());
        const Found& item = found[at++];
        EXPECT_EQ(item.path, path);
        EXPECT_EQ(item.item->ShortCut(), QKeySequence(QString::fromLatin1(row.shortcut)));
        EXPECT_EQ(item.item->Action()->isSeparator(), row.separator);
        EXPECT_EQ(item.item->Visible(), row.visible);
        EXPECT_TRUE(DoesItsJob(w, item.item, row.effect, starts));
    }
    EXPECT_EQ(at, found.size()) << "items beyond the table";
    SetProcessStarter(previousStarter);
}

// Scripts the desktop's answer to the links and records what it was asked to open.
struct LinkDesk {
    LinkDesk() : previous(SetShellOpenHandler([this](const UnicodeString& a) {
        opened << a;
        return works;
    })) {}
    ~LinkDesk() { SetShellOpenHandler(previous); }
    bool works = true;
    QStringList opened;
    ShellOpenHandler previous;
};

void ClickLabel(QWidget* label)
{
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
}

TEST(AboutBox, ShowsTheProgramAndItsVersion)
{
    Window w;
    TAboutBox box(&*w);
    DialogRecorder dialogs;
    box.ShowModal();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(box.ProductName->text(), QStringLiteral("Plumo Calculator"));
    EXPECT_EQ(box.Version->text(), QStringLiteral("1.00.160202"));
    EXPECT_EQ(box.VersionCaption->text(), QStringLiteral("Version"));
    EXPECT_EQ(box.EMail->text(), QString::fromLatin1(kSalesMail));
    EXPECT_EQ(box.WebSite->text(), QStringLiteral("https://plumo-calculator.example.org/"));
    EXPECT_EQ(box.size(), QSize(329, 354));
    EXPECT_TRUE(box.OKButton->isDefault());
    for (QLabel* link : {static_cast<QLabel*>(box.EMail), static_cast<QLabel*>(box.WebSite),
                         static_cast<QLabel*>(box.WebSiteBrindlewax), static_cast<QLabel*>(box.WebSitePlumoRoofing)}) {
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        // Every address is one of our own, in the reserved example domain.
        EXPECT_TRUE(link->text().contains(QStringLiteral(".example.org"))) << qPrintable(link->text());
    }
}

TEST(AboutBox, LinksOpenTheirAddressesOrSayWhyNot)
{
    Window w;
    TAboutBox box(&*w);
    DialogRecorder shown;
    box.ShowModal();
    box.show();  // on screen, so that a failed link can be seen to leave it open
    const struct {
        const char* what;
        QWidget* label;
        bool desktopWorks;
        QString opened;
        QString box;
    } rows[] = {
        {"product site", box.WebSite, true, QStringLiteral("https://plumo-calculator.example.org/"), {}},
        {"maker's site", box.WebSiteBrindlewax, true, QStringLiteral("https://brindlewax.example.org/"), {}},
        {"sister site", box.WebSitePlumoRoofing, true, QStringLiteral("https://plumo-roofing.example.org/"), {}},
        {"mail", box.EMail, true, QStringLiteral("mailto:support@plumo-calculator.example.org?subject=PlumoCalculator"),
         {}},
        {"no browser", box.WebSite, false, QStringLiteral("https://plumo-calculator.example.org/"),
         QStringLiteral("Plumo Calculator could not open web browser")},
        {"no browser, maker", box.WebSiteBrindlewax, false, QStringLiteral("https://brindlewax.example.org/"),
         QStringLiteral("Plumo Calculator could not open web browser")},
        {"no browser, sister", box.WebSitePlumoRoofing, false, QStringLiteral("https://plumo-roofing.example.org/"),
         QStringLiteral("Plumo Calculator could not open web browser")},
        {"no mail program", box.EMail, false,
         QStringLiteral("mailto:support@plumo-calculator.example.org?subject=PlumoCalculator"),
         QStringLiteral("Plumo Calculator could not open email program")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        LinkDesk desk;
        desk.works = row.desktopWorks;
        DialogRecorder boxes;
        ClickLabel(row.label);
        EXPECT_EQ(desk.opened, QStringList{row.opened});
        if (row.box.isEmpty()) {
            EXPECT_TRUE(boxes.calls.empty());
        } else {
            ASSERT_EQ(boxes.calls.size(), 1u);
            EXPECT_EQ(boxes.calls[0].text, row.box);
            EXPECT_EQ(boxes.calls[0].caption, QStringLiteral("Plumo Calculator Error"));
            EXPECT_EQ(boxes.calls[0].flags, unsigned(MB_ICONSTOP | MB_SYSTEMMODAL));
        }
        EXPECT_TRUE(box.isVisible());
    }
}

}  // namespace
