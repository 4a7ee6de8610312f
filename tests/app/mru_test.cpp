// The recent-files items of the File menu: their captions, and opening a pad from them.
#include "platform/win/WinDefs.h"
#include "tests/app/files_form.h"
#include "tests/common/DialogRecorder.h"

#include <gtest/gtest.h>

namespace {

TMRU ListOf(int count)
{
    TMRU list;
    list.SetMaxCount(12);
    for (int i = count; i >= 1; --i) list.Add("/p/" + std::to_string(i) + ".pad");
    return list;
}

}  // namespace

TEST(RecentFiles, ItemCaptionsTable)
{
    TMRU amp;
    amp.Add("/p/R&D.pad");
    const struct {
        const char* name;
        TMRU list;
        int i;
        bool visible;
        const char* caption;
    } cases[] = {
        {"first entry, with its accelerator", ListOf(3), 1, true, "&1 /p/1.pad"},
        {"last entry", ListOf(3), 3, true, "&3 /p/3.pad"},
        {"beyond the list", ListOf(3), 4, false, nullptr},
        {"below one", ListOf(3), 0, false, nullptr},
        {"tenth entry has no accelerator", ListOf(10), 10, true, "10 /p/10.pad"},
        {"an ampersand of the path shows as one", amp, 1, true, "&1 /p/R&&D.pad"},
    };
    for (const auto& c : cases) {
        TMenuItem item("old");
        item.SetVisible(!c.visible);
        TfrmMainProg::UpdateMRUMenuItem(&item, c.i, c.list);
        EXPECT_EQ(item.Visible(), c.visible) << c.name;
        if (c.caption) {
            EXPECT_EQ(item.Caption(), QString(c.caption)) << c.name;
        }
    }
}

TEST(RecentFiles, AnEmptyListHidesEveryItem)
{
    ShownForm f;
    f->UpdateMRUMenu();
    for (TMenuItem* item : {f->MRU_File1, f->MRU_File2, f->MRU_File5, f->MRU_File9}) EXPECT_FALSE(item->Visible());
    EXPECT_TRUE(f->N2->Visible());
}

TEST(RecentFiles, AnItemOpensItsEntryAndMovesItToTheTop)
{
    ShownForm f;
    PadTestFiles::Write(f.Path("first.pad"), "_Data\n1 + 1\n");
    PadTestFiles::Write(f.Path("second.pad"), "_Data\n2 + 2\n");
    Config->MRU.Add(f.Path("second.pad"));
    Config->MRU.Add(f.Path("first.pad"));
    f->UpdateMRUMenu();
    ASSERT_TRUE(f->MRU_File2->Visible());
    EXPECT_FALSE(f->MRU_File3->Visible());

    DialogRecorder recorder;
    f->MRU_File2->Click();
    EXPECT_TRUE(recorder.calls.empty());  // no dialog, no question
    EXPECT_EQ(f.PadLines().value(0), QString("2 + 2"));
    EXPECT_EQ(Config->MRU.Count(), 2);
    EXPECT_EQ(Config->MRU.GetPath(1), f.Path("second.pad"));
    EXPECT_EQ(f->MRU_File1->Caption(), "&1 " + Win1252ToUnicode(Config->MRU.GetDisplay(1)));
    EXPECT_EQ(Config->MRU.OpenIndex, 0);
}

// Each of the nine items opens its own entry, whichever place it has.
TEST(RecentFiles, EveryItemOpensTheEntryAtItsPlace)
{
    ShownForm f;
    for (int k = 1; k <= 9; ++k) PadTestFiles::Write(f.Path(std::to_string(k) + ".pad"), "_Data\n" + std::to_string(k) + "\n");
    for (int k = 1; k <= 9; ++k) {
        Config->MRU.Clear();
        for (int i = 9; i >= 1; --i) Config->MRU.Add(f.Path(std::to_string(i) + ".pad"));  // 1.pad first
        f->UpdateMRUMenu();
        DialogRecorder recorder;
        f->RecentFileItems()[k - 1]->Click();
        EXPECT_TRUE(recorder.calls.empty()) << k;
        EXPECT_EQ(f.PadLines().value(0), QString::number(k)) << "item " << k;
        EXPECT_EQ(f->PadFilePath, f.Path(std::to_string(k) + ".pad")) << "item " << k;
    }
}

// The entry is looked up after New: when New's question leads to a save, the saved pad moves to
// the top first and the item opens whatever then stands at its place.
TEST(RecentFiles, TheEntryIsTakenAfterNewHasSaved)
{
    ShownForm f;
    PadTestFiles::Write(f.Path("a.pad"), "_Data\na\n");
    PadTestFiles::Write(f.Path("b.pad"), "_Data\nb\n");
    Config->MRU.Add(f.Path("b.pad"));
    Config->MRU.Add(f.Path("a.pad"));  // a, b
    f->UpdateMRUMenu();
    f.Type("edited");

    DialogRecorder recorder;
    recorder.Answer(IDYES);
    recorder.Answer(1, {Win1252ToUnicode(f.Path("saved.pad"))});
    f->MRU_File2->Click();  // the list is now saved, a, b
    EXPECT_EQ(f->PadFilePath, f.Path("a.pad"));
    EXPECT_EQ(Config->MRU.GetPath(1), f.Path("a.pad"));
    EXPECT_EQ(Config->MRU.GetPath(2), f.Path("saved.pad"));
}

// An entry that cannot be opened is named in its box by its head, as every box names a text it
// was given: a long name from the settings once froze the window while the box took it whole.
TEST(RecentFiles, AnEntryThatCannotBeOpenedIsNamedByItsHead)
{
    ShownForm f;
    const AnsiString missing = f.Path(AnsiString(3000, 'g') + ".pad");
    Config->MRU.Add(missing);
    f->UpdateMRUMenu();
    DialogRecorder recorder;
    f->MRU_File1->Click();
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].kind, DialogCall::Kind::MessageBox);
    EXPECT_EQ(recorder.calls[0].text, "Can't open " + PathToUnicode(missing.substr(0, kTextHeadMax)) + " for reading");
    EXPECT_TRUE(f.PadLines().isEmpty());
}
