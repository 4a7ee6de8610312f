// The recent-files items at the foot of the File menu.
#include "app/MainProg.h"
#include "config/Config.h"

#include <string>

void TfrmMainProg::UpdateMRUMenuItem(TMenuItem* item, int i, TMRU list)
{
    if (i < 1 || i > list.Count()) {
        item->SetVisible(false);
        return;
    }
    // The number is the item's accelerator up to 9; an '&' of the path itself is shown as such.
    QString display = PathToUnicode(list.GetDisplay(i));
    display.replace(QLatin1Char('&'), QLatin1String("&&"));
    const QString number = QString::number(i);
    item->SetCaption((i < 10 ? QLatin1Char('&') + number : number) + QLatin1Char(' ') + display);
    item->SetVisible(true);
}

void TfrmMainProg::UpdateMRUMenu()
{
    const auto items = RecentFileItems();
    for (int i = 1; i <= 9; ++i) UpdateMRUMenuItem(items[i - 1], i, Config->MRU);
}

// Item k opens the k-th entry of the list without asking for a file.
void TfrmMainProg::OpenRecentFile(TObject* Sender, int index)
{
    Config->MRU.OpenIndex = index;
    Open1Click(Sender);
}

void TfrmMainProg::MRU_File1Click(TObject* Sender) { OpenRecentFile(Sender, 1); }
void TfrmMainProg::MRU_File2Click(TObject* Sender) { OpenRecentFile(Sender, 2); }
void TfrmMainProg::MRU_File3Click(TObject* Sender) { OpenRecentFile(Sender, 3); }
void TfrmMainProg::MRU_File4Click(TObject* Sender) { OpenRecentFile(Sender, 4); }
void TfrmMainProg::MRU_File5Click(TObject* Sender) { OpenRecentFile(Sender, 5); }
void TfrmMainProg::MRU_File6Click(TObject* Sender) { OpenRecentFile(Sender, 6); }
void TfrmMainProg::MRU_File7Click(TObject* Sender) { OpenRecentFile(Sender, 7); }
void TfrmMainProg::MRU_File8Click(TObject* Sender) { OpenRecentFile(Sender, 8); }
void TfrmMainProg::MRU_File9Click(TObject* Sender) { OpenRecentFile(Sender, 9); }
