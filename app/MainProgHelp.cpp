// The Help menu: the three tutorials, the reference manual and the About box; and the menu items
// as the window's menu table captions them.
#include "app/About.h"
#include "app/ControlCaptions.h"
#include "app/Help_manuals.h"
#include "app/MainProg.h"

TMenuItem* MakeMenuItem(MenuId id)
{
    const MenuRow& row = MenuRowOf(id);
    return new TMenuItem(QString::fromLatin1(row.caption), QKeySequence(QString::fromLatin1(row.shortcut)));
}

void TfrmMainProg::CreateHelpMenu()
{
    Help1 = MakeMenuItem(MenuId::Help);
    TutorialManual1 = MakeMenuItem(MenuId::TutorialManuals);
    MetricBasic1 = MakeMenuItem(MenuId::MetricBasic);
    ImperialBasic1 = MakeMenuItem(MenuId::ImperialBasic);
    General1 = MakeMenuItem(MenuId::General);
    Manual1 = MakeMenuItem(MenuId::ReferenceManual);
    About1 = MakeMenuItem(MenuId::About);
    for (TMenuItem* item : {MetricBasic1, ImperialBasic1, General1}) TutorialManual1->Add(item);
    for (TMenuItem* item : {TutorialManual1, Manual1, About1}) Help1->Add(item);
    MainMenu1->Add(Help1);

    MetricBasic1->OnClick = [this](TObject* sender) { MetricBasic1Click(sender); };
    ImperialBasic1->OnClick = [this](TObject* sender) { ImperialBasic1Click(sender); };
    General1->OnClick = [this](TObject* sender) { General1Click(sender); };
    Manual1->OnClick = [this](TObject* sender) { Manual1Click(sender); };
    About1->OnClick = [this](TObject* sender) { About1Click(sender); };
}

void TfrmMainProg::MetricBasic1Click(TObject* /*Sender*/) { OpenManual(kMetricBasicManual); }

void TfrmMainProg::ImperialBasic1Click(TObject* /*Sender*/) { OpenManual(kImperialBasicManual); }

void TfrmMainProg::General1Click(TObject* /*Sender*/) { OpenManual(kGeneralManual); }

void TfrmMainProg::Manual1Click(TObject* /*Sender*/) { OpenReferenceManual(); }

void TfrmMainProg::About1Click(TObject* /*Sender*/)
{
    // The program entry makes the box; a form made without it (as in tests) makes its own.
    if (!AboutBox) AboutBox = new TAboutBox(this);
    AboutBox->ShowModal();
}
