// The message box's measures and layout, for fixed base units and a fixed text measure, so that
// the expected pixels are worked out by hand and depend on no font; and the boxes on the screen
// against their titles.
#include "platform/vcl/DialogSeam.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/win/CXDialogTemplate.h"
#include "platform/win/ExtMessageBox.h"
#include "tests/common/DialogRecorder.h"

#include <QDialog>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

MessageBoxMetrics FixedMetrics(QSize text, int* wrapSeen)
{
    MessageBoxMetrics m;
    m.units = {6, 12};
    m.screenWidth = 1000;
    m.screenHeight = 800;
    m.iconSize = 32;
    m.textWidth = [](const QString& s) { return 5 * static_cast<int>(s.size()); };
    m.textSize = [text, wrapSeen](const QString&, int wrap) {
        *wrapSeen = wrap;
        return text;
    };
    return m;
}

struct LayoutRow {
    const char* name;
    unsigned style;
    unsigned layout;
    int timeout;
    int background;
    QSize text;
    // expected
    int wrap;
    QRect message;
    QRect icon;  // null: none
    std::vector<QRect> buttons;
    QRect checkBox;  // null: none
    QSize dialog;
};

TEST(MessageBoxLayout, MeasuresFollowTheBaseUnits)
{
    const LayoutRow rows[] = {
        {"plain OK", MB_OK, 0, 0, -1, {200, 26}, 580, QRect(16, 16, 212, 39), {}, {QRect(85, 60, 57, 18)}, {}, {228, 90}},
        {"question, right, time-out, check box", MB_YESNO | MB_ICONQUESTION | MB_DONOTASKAGAIN, 1, 5, -1, {300, 40},
         532, QRect(56, 16, 312, 53), QRect(8, 8, 34, 34), {QRect(200, 83, 77, 18), QRect(283, 83, 77, 18)},
         QRect(17, 113, 145, 15), {376, 136}},
        {"wide warning", MB_OKCANCEL | MB_ICONEXCLAMATION, 2, 0, -1, {250, 20}, 442, QRect(72, 32, 262, 49),
         QRect(24, 24, 34, 34), {QRect(204, 95, 66, 20), QRect(276, 95, 66, 20)}, {}, {358, 127}},
        {"wide and narrow text", MB_OK, 6, 0, -1, {300, 60}, 333, QRect(16, 32, 312, 89), {},
         {QRect(262, 135, 66, 20)}, {}, {344, 167}},
        {"own background", MB_OK, 0, 0, 0x00FF00, {100, 13}, 580, QRect(16, 16, 112, 26), {},
         {QRect(35, 56, 57, 18)}, {}, {128, 86}},
        {"text taller than the screen", MB_OK, 0, 0, -1, {300, 5000}, 580, QRect(16, 16, 312, 692), {},
         {QRect(135, 713, 57, 18)}, {}, {328, 743}},
    };
    for (const LayoutRow& row : rows) {
        SCOPED_TRACE(row.name);
        int wrap = 0;
        ExtMessageBoxParams p;
        p.dwLayoutOptions = row.layout;
        p.nTimeoutSeconds = row.timeout;
        p.crBackground = row.background;
        const ExtBoxPlan plan = PlanExtMessageBox(row.style, p);
        const CXDialogTemplate box(nullptr, "message", "caption", row.style, p, plan, FixedMetrics(row.text, &wrap));
        EXPECT_EQ(wrap, row.wrap);
        EXPECT_EQ(box.MessageRect(), row.message);
        EXPECT_EQ(box.DialogSize(), row.dialog);

        std::vector<QRect> buttons;
        QRect icon, check;
        for (const CXDialogItem& item : box.Items()) {
            if (item.record.item.id == IDC_ICONSTATIC) icon = item.pixels;
            if (item.kind == ItemButton) buttons.push_back(item.pixels);
            if (item.kind == ItemCheckBox) check = item.pixels;
        }
        EXPECT_EQ(icon, row.icon);
        EXPECT_EQ(buttons, row.buttons);
        EXPECT_EQ(check, row.checkBox);
    }
}

TEST(MessageBoxLayout, ButtonMeasuresAndTemplate)
{
    // Minimum width MulDiv(38, bx, 4), countdown room MulDiv(13, bx, 4), heights MulDiv(12, by, 8)
    // and MulDiv(10, by, 8); the wide layout adds MulDiv(6, bx, 4) and MulDiv(1, by, 8).
    const struct {
        int bx, by;
        unsigned layout;
        CXMeasures expected;
    } rows[] = {
        {6, 12, 0, {57, 20, 18, 15, 0}},
        {7, 14, 0, {67, 23, 21, 18, 0}},
        {7, 14, 2, {78, 23, 23, 18, 0}},
        {9, 18, 2, {100, 29, 29, 23, 0}},
    };
    for (const auto& row : rows) {
        int wrap = 0;
        MessageBoxMetrics m = FixedMetrics({100, 13}, &wrap);
        m.units = {row.bx, row.by};
        ExtMessageBoxParams p;
        p.dwLayoutOptions = row.layout;
        const CXDialogTemplate box(nullptr, "m", "c", MB_OK, p, PlanExtMessageBox(MB_OK, p), m);
        const CXMeasures& got = box.Measures();
        EXPECT_EQ(got.minButtonWidth, row.expected.minButtonWidth) << row.bx << "/" << row.layout;
        EXPECT_EQ(got.countdownRoom, row.expected.countdownRoom) << row.bx;
        EXPECT_EQ(got.buttonHeight, row.expected.buttonHeight) << row.by << "/" << row.layout;
        EXPECT_EQ(got.checkBoxHeight, row.expected.checkBoxHeight) << row.by;
    }

    // The template: header style and size in dialog units, the default button's style and ids.
    int wrap = 0;
    ExtMessageBoxParams p;
    const unsigned style = MB_YESNOCANCEL | MB_DEFBUTTON2 | MB_SYSTEMMODAL | MB_HELP;
    const CXDialogTemplate box(nullptr, "m", QString(2000, 'c'), style, p, PlanExtMessageBox(style, p),
                               FixedMetrics({200, 26}, &wrap));
    const DialogTemplateRecord record = box.Template();
    EXPECT_EQ(record.header.style, 0x90C80882u);
    EXPECT_EQ(record.caption.size(), 1023);
    EXPECT_EQ(record.header.cdit, record.items.size());
    EXPECT_EQ(record.header.cx, box.DialogSize().width() * 4 / 6);
    EXPECT_EQ(record.header.cy, box.DialogSize().height() * 8 / 12);
    std::vector<int> ids;
    for (const DialogItemRecord& item : record.items) ids.push_back(item.item.id);
    EXPECT_EQ(ids, (std::vector<int>{IDC_MESSAGETEXT, IDYES, IDNO, IDCANCEL, IDEXTHELP}));
    EXPECT_EQ(record.items[2].item.style, 0x50010001u);  // No, the default
    EXPECT_EQ(record.items[1].item.style, 0x50010000u);
    EXPECT_EQ(box.DefaultButtonId(), IDNO);
    EXPECT_TRUE(box.TestOption(CXOPT_ESCAPECANCEL));
    EXPECT_FALSE(box.TestOption(CXOPT_ESCAPEOK));
}

// A box is at least as wide as its title needs, in whole dialog units too, with its buttons
// centred in the width it takes; a longer title than three quarters of the screen gets those.
TEST(MessageBoxLayout, TheTitleWidensANarrowBox)
{
    const struct {
        const char* name;
        QString caption;
        int width;  // pixels
    } rows[] = {
        {"short title: the text decides", "c", 98},
        {"the title decides", "Macro Error", 139},       // 7 x 11 + 62
        {"a title past three quarters of the screen", QString(200, 'T'), 750},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        int wrap = 0;
        MessageBoxMetrics m = FixedMetrics({70, 13}, &wrap);
        m.titleWidth = [](const QString& s) { return 7 * static_cast<int>(s.size()) + 62; };
        ExtMessageBoxParams p;
        const CXDialogTemplate box(nullptr, "Error: stopped", row.caption, MB_OK, p, PlanExtMessageBox(MB_OK, p), m);
        EXPECT_EQ(box.DialogSize().width(), row.width);
        EXPECT_GE(MulDiv(box.Template().header.cx, 6, 4), row.width);
        for (const CXDialogItem& item : box.Items()) {
            if (item.kind == ItemButton) {
                EXPECT_EQ(item.pixels.x(), (row.width - 57) / 2);
            }
        }
    }
}

// On the screen: the boxes whose width is measured from what they hold, each with a short text
// under a longer title, are as wide as their titles need with the desktop's title font.
TEST(MessageBoxLayout, BoxesOnTheScreenFitTheirTitles)
{
    const DialogHandler previous = SetDialogHandler({});
    const QString longTitle = QStringLiteral("Answer Units Warning - Input Units Differ");
    const struct {
        const char* name;
        QString title;
        std::function<void()> open;
    } boxes[] = {
        {"error box", "Macro Error", [] { Application->MessageBox("Error: stopped", "Macro Error", MB_OK | MB_ICONSTOP); }},
        {"replace count", "Replace Text",
         [] { Application->MessageBox("Finished searching text.\r\n0 replacements made.", "Replace Text", MB_OK); }},
        {"plain box, long title", longTitle, [&] { Application->MessageBox("OK?", longTitle, MB_OK); }},
        {"own box, long title", longTitle, [&] { ExtMessageBox(nullptr, "OK?", UnicodeToWin1252(longTitle).c_str(), MB_OK | MB_NOSOUND, nullptr); }},
    };
    for (const auto& box : boxes) {
        RunWithBox(box.open, [&](QWidget& shown) {
            EXPECT_EQ(shown.windowTitle(), box.title) << box.name;
            EXPECT_GE(shown.width(), TitleBarWidth(box.title)) << box.name;
            if (auto* button = shown.findChild<QPushButton*>()) button->click();
        });
    }
    SetDialogHandler(previous);

    // The find and replace dialogs stay open beside the pad.
    QWidget owner;
    TFindDialog find(&owner);
    TReplaceDialog replace(&owner);
    for (TFindDialog* dialog : {&find, static_cast<TFindDialog*>(&replace)}) {
        dialog->Execute();
        QWidget* window = dialog->FindEdit()->window();
        EXPECT_GE(window->width(), TitleBarWidth(window->windowTitle())) << window->windowTitle().toStdString();
        dialog->CloseDialog();
    }
}

TEST(MessageBoxLayout, TwentyControlsAreACallerError)
{
    int wrap = 0;
    ExtMessageBoxParams p;
    CXDialogTemplate box(nullptr, "m", "c", MB_OK, p, PlanExtMessageBox(MB_OK, p), FixedMetrics({10, 10}, &wrap));
    const QRect place(0, 0, 10, 10);
    while (box.Items().size() < CXDialogTemplate::MaxItems - 1) box.AddItem(ItemButton, 23, &place, "b");
    EXPECT_THROW(box.AddItem(ItemButton, 23, nullptr, "b"), EExtMessageBoxError);
}

}  // namespace
