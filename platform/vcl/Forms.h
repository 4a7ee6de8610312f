#pragma once
// The application object: its message box, its exception box and the program's own path.
#include "platform/vcl/Strings.h"

#include <QPointer>
#include <QWidget>
#include <exception>

class TApplication {
public:
    // Shows a modal message box with the given style word (MB_ flags) and returns the answer
    // code (IDOK, IDYES, ...). The box goes through the dialog seam.
    int MessageBox(const UnicodeString& text, const UnicodeString& caption, unsigned flags);
    // The exception box: the exception's message in an error box captioned with the title.
    void ShowException(const std::exception& e);
    UnicodeString Title = QStringLiteral("Plumo Calculator");
    // The executable's full path and name ("ParamStr(0)").
    UnicodeString ExeName() const;
    // The program's main window, set by the main form as it is made.
    QPointer<QWidget> MainForm;
};

extern TApplication* Application;

// The window a box stands over and holds off when its caller names none: the active window, else
// the main window. Right after a file dialog closes no window is active for a moment, until the
// desktop gives the activation back; a box without a window would hold nothing off.
QWidget* BoxOwner();

// Kept for as long as a modal box is up: when it goes, the keyboard goes back to the widget that
// had it (the pad, typically) instead of wherever the desktop or the toolkit puts it, unless the
// user has gone to another window meanwhile. With no window active as the box comes, the keyboard
// goes back to where it was in the window the box stands over.
class FocusReturn {
public:
    explicit FocusReturn(const QWidget* owner = nullptr);
    ~FocusReturn();
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> widget_;
};

// Kept for as long as a modal box is up: when a window the box holds off becomes the active one (a
// window manager activates what is clicked, blocked or not), the activation goes straight back to
// the box, so the keys typed next reach the box instead of a window that drops them.
class ActivationReturn : public QObject {
public:
    explicit ActivationReturn(QWidget* box);
    ~ActivationReturn() override;
    ActivationReturn(const ActivationReturn&) = delete;
    ActivationReturn& operator=(const ActivationReturn&) = delete;

    // Whether the box holds window off (the box's owners, or every other window when it is
    // modal to the whole program).
    static bool HeldOff(const QWidget* box, const QWidget* window);
    // Gives the box the activation, once the events under way are through.
    static void GiveBack(QWidget* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> box_;
};

// The executable's full path, and its folder with a trailing '/'.
AnsiString ParamStr0();
AnsiString ProgramFolder();
// Replaces the extension of a path (the part after the last '.' of the file name) with ext,
// which includes its dot.
AnsiString ChangeFileExt(const AnsiString& path, const AnsiString& ext);
AnsiString ExtractFileName(const AnsiString& path);  // after the last '/' or '\'
AnsiString ExtractFilePath(const AnsiString& path);  // up to and including the last '/' or '\'
AnsiString ExtractFileExt(const AnsiString& path);   // from the last '.' of the name, with the dot
bool FileExists(const AnsiString& path);
bool DirectoryExists(const AnsiString& path);
