#pragma once
// A main form shown on the offscreen platform with settings of its own: a fresh INI file, an empty
// recent-files list and a temporary folder for projects and the calculation's program file, so
// that no test sees another's files or the settings beside the test program.
#include "app/MainProg.h"
#include "config/Config.h"
#include "tests/app/padfile_support.h"

#include <QTemporaryDir>
#include <memory>

class ShownForm {
public:
    // projectDir: the settings' project folder when the form is shown; "<temp>" for the
    // temporary folder itself.
    explicit ShownForm(const AnsiString& projectDir = "<temp>")
    {
        form_ = std::make_unique<TfrmMainProg>();
        Config->IniPath = Path("settings.INI");
        Config->MRU.Clear();
        Config->MRU.SetMaxCount(9);
        Config->ProjectDir = projectDir == "<temp>" ? Folder() : projectDir;
        Config->TempDir = Folder();
        Config->MacroDir = Folder();
        Config->Scientific = false;
        form_->show();
    }

    TfrmMainProg& operator*() const { return *form_; }
    TfrmMainProg* operator->() const { return form_.get(); }

    AnsiString Folder() const { return UnicodeToWin1252(dir_.path()); }
    AnsiString Path(const AnsiString& name) const { return Folder() + "/" + name; }

    // The pad as the user would have typed it: the text, then edited.
    void Type(const QString& text) const
    {
        form_->RichEdit_Main->SetText(text);
        form_->PadUnchanged = false;
    }
    QStringList PadLines() const { return Lines(form_->RichEdit_Main); }
    QStringList ResultLines() const { return Lines(form_->RichEdit_Result); }

    static QStringList Lines(TRichEdit* pane)
    {
        QStringList out;
        for (int i = 0; i < pane->Lines.Count(); ++i) out << pane->Lines[i];
        return out;
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<TfrmMainProg> form_;
};
