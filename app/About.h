#pragma once
// The About box: the program's name and version, and links to the program's web site, its
// maker's, its sister program's and the sales mail address, each opened by the desktop.
#include "platform/vcl/Strings.h"

#include <QDialog>
#include <QLabel>
#include <functional>

class QFrame;
class QPushButton;

// A label drawn as a link (blue, underlined, hand cursor) that runs OnClick when clicked.
class TLinkLabel : public QLabel {
public:
    TLinkLabel(const QString& caption, QWidget* parent);
    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The addresses the box shows and opens. Every one lies in the reserved example domain.
inline constexpr const char* kWebScheme = "https://";
inline constexpr const char* kProductSite = "plumo-calculator.example.org/";
inline constexpr const char* kMakerSite = "brindlewax.example.org/";
inline constexpr const char* kSisterSite = "plumo-roofing.example.org/";
inline constexpr const char* kSalesMail = "support@plumo-calculator.example.org";

class TAboutBox : public QDialog {
public:
    // The main form must exist first: the box shows its version.
    explicit TAboutBox(QWidget* owner = nullptr);
    ~TAboutBox() override;

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* VersionCaption;  // "Version"
    QLabel* Version;
    QLabel* ContactCaption;  // "Contact:"
    QLabel* WebSitesCaption; // "Web Sites:"
    TLinkLabel* EMail;
    TLinkLabel* WebSite;
    TLinkLabel* WebSiteBrindlewax;
    TLinkLabel* WebSitePlumoRoofing;
    QPushButton* OKButton;

    // The addresses shown in WebSite and EMail, filled when the box is shown.
    AnsiString WebAddress;
    AnsiString MailAddress;

    // Shows the box modally (through the dialog seam: DialogCall::Kind::Other, caption "About").
    void ShowModal();

    void FormCreate() {}
    void FormShow();
    void ProgramIconDblClick() {}
    void WebSiteClick();
    void WebSiteBrindlewaxClick();
    void WebSitePlumoRoofingClick();
    void EMailClick();

private:
    // Hands one web address to the desktop; the box stays open whatever happens.
    void OpenWebAddress(const AnsiString& address);
};

// The one About box, made by the program entry after the main form.
extern TAboutBox* AboutBox;
