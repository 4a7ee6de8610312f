// The controls the main window is built of: edge alignment, the item controls' indexes (also out
// of range, as a hand-edited pad file gives them), events from users only, and key codes.
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

#include <QKeyEvent>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

QWidget* Child(QWidget* parent, int width, int height, TAlign align)
{
    auto* child = new QWidget(parent);
    child->resize(width, height);
    SetAlign(child, align);
    return child;
}

}  // namespace

TEST(Controls, EdgesAreTakenOutsideIn)
{
    TAlignArea area;
    area.resize(300, 200);
    QWidget* top = Child(&area, 0, 20, alTop);
    QWidget* bottom = Child(&area, 0, 30, alBottom);
    QWidget* above = Child(&area, 0, 40, alBottom);  // joins inside the first bottom control
    QWidget* left = Child(&area, 50, 0, alLeft);
    QWidget* right = Child(&area, 60, 0, alRight);
    QWidget* inner = Child(&area, 10, 0, alRight);
    QWidget* client = Child(&area, 0, 0, alClient);
    const struct {
        const char* name;
        QWidget* control;
        QRect expected;
    } rows[] = {
        {"top", top, {0, 0, 300, 20}},        {"bottom", bottom, {0, 170, 300, 30}},
        {"above", above, {0, 130, 300, 40}},  {"left", left, {0, 20, 50, 110}},
        {"right", right, {240, 20, 60, 110}}, {"inner", inner, {230, 20, 10, 110}},
        {"client", client, {50, 20, 180, 110}},
    };
    for (const auto& row : rows) EXPECT_EQ(row.control->geometry(), row.expected) << row.name;

    SetVisible(above, false);  // a hidden control takes no room
    EXPECT_EQ(client->geometry(), QRect(50, 20, 180, 150));
    SetVisible(above, true);
    // Aligned anew, the outer bottom control goes inside the other one.
    SetAlign(bottom, alNone);
    SetAlign(bottom, alBottom);
    EXPECT_EQ(above->geometry(), QRect(0, 160, 300, 40));
    EXPECT_EQ(bottom->geometry(), QRect(0, 130, 300, 30));
    SetHeight(top, 50);
    EXPECT_EQ(client->geometry(), QRect(50, 50, 180, 80));
}

TEST(Controls, ComboIndexesAndEvents)
{
    TComboBox combo;
    for (const char* item : {"None", "mm", "cm"}) combo.Items.Add(QString::fromLatin1(item));
    int changes = 0;
    combo.OnChange = [&](TObject*) { ++changes; };
    const struct {
        int set;
        int index;
        const char* text;
    } rows[] = {{2, 2, "cm"}, {99, -1, ""}, {-1, -1, ""}, {3, -1, ""}, {0, 0, "None"}};
    for (const auto& row : rows) {
        combo.SetItemIndex(row.set);
        EXPECT_EQ(combo.ItemIndex(), row.index) << row.set;
        EXPECT_EQ(combo.Text(), row.text) << row.set;
    }
    EXPECT_EQ(changes, 0);  // setting from code is no change by the user
    combo.Choose(1);
    EXPECT_EQ(changes, 1);
}

TEST(Controls, RadioGroupIndexesAndEvents)
{
    TRadioGroup group(nullptr, QStringLiteral("Angles"));
    for (const char* item : {"Degrees", "Radians", "Grads"}) group.Items.Add(QString::fromLatin1(item));
    int clicks = 0;
    group.OnClick = [&](TObject*) { ++clicks; };
    const std::pair<int, int> rows[] = {{1, 1}, {99, 2}, {-7, -1}, {0, 0}};
    for (const auto& [set, index] : rows) {
        group.SetItemIndex(set);
        EXPECT_EQ(group.ItemIndex(), index) << set;
        int checked = 0;
        for (QRadioButton* button : group.findChildren<QRadioButton*>()) checked += button->isChecked();
        EXPECT_EQ(checked, index >= 0 ? 1 : 0) << set;
    }
    EXPECT_EQ(clicks, 0);
    group.findChildren<QRadioButton*>().at(2)->click();
    group.findChildren<QRadioButton*>().at(2)->click();  // already checked: no change
    EXPECT_EQ(group.ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
}

TEST(Controls, ScrollBarReportsUserMovesOnly)
{
    TScrollBar bar(Qt::Vertical);
    bar.SetMax(100);
    std::vector<std::pair<TScrollCode, int>> seen;
    bar.OnScroll = [&](TObject*, TScrollCode code, int& position) {
        seen.emplace_back(code, position);
        if (position == 42) position = 40;  // the handler may move the thumb elsewhere
    };
    bar.SetPosition(10);
    EXPECT_TRUE(seen.empty());
    bar.Scroll(scTrack, 500);
    bar.Scroll(scLineDown, 42);
    EXPECT_EQ(seen, (std::vector<std::pair<TScrollCode, int>>{{scTrack, 100}, {scLineDown, 42}}));
    EXPECT_EQ(bar.Position(), 40);
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(seen.back(), std::make_pair(scLineDown, 41));
}

TEST(Controls, VirtualKeys)
{
    const std::pair<Qt::Key, WORD> rows[] = {
        {Qt::Key_A, 'A'},           {Qt::Key_V, 'V'},         {Qt::Key_7, '7'},
        {Qt::Key_Return, VK_RETURN}, {Qt::Key_Enter, VK_RETURN}, {Qt::Key_Backspace, VK_BACK},
        {Qt::Key_PageUp, VK_PRIOR}, {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_Home, VK_HOME},
        {Qt::Key_End, VK_END},      {Qt::Key_Up, VK_UP},      {Qt::Key_Control, VK_CONTROL},
        {Qt::Key_Shift, VK_SHIFT},  {Qt::Key_Apostrophe, 0},  {Qt::Key_F1, 0},
    };
    for (const auto& [key, vk] : rows) {
        const QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        EXPECT_EQ(VirtualKeyOf(event), vk) << key;
    }
    EXPECT_EQ(ShiftStateOf(Qt::ControlModifier | Qt::ShiftModifier), TShiftState(ssCtrl | ssShift));
}

TEST(Controls, MenuItems)
{
    TMenuItem file(QStringLiteral("File"));
    auto* open = new TMenuItem(QStringLiteral("Open"), QKeySequence(QStringLiteral("Ctrl+O")));
    auto* separator = new TMenuItem(QStringLiteral("-"));
    file.Add(open);
    file.Add(separator);
    int clicks = 0;
    open->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_TRUE(separator->Action()->isSeparator());
    EXPECT_EQ(open->ShortCut(), QKeySequence(QStringLiteral("Ctrl+O")));
    open->Click();
    open->SetEnabled(false);
    open->Click();
    EXPECT_EQ(clicks, 1);
    open->SetVisible(false);
    EXPECT_FALSE(open->Visible());
}
