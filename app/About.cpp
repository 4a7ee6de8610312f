#include "app/About.h"

#include "app/MainProg.h"
#include "platform/vcl/DialogSeam.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Shell.h"
#include "platform/win/WinDefs.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

TAboutBox* AboutBox = nullptr;

namespace {

// The program's icon: a pad with a line of figures and a total.
QPixmap ProgramPicture(int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x79));
    p.drawRoundedRect(QRectF(2, 2, size - 4, size - 4), size / 8.0, size / 8.0);
    p.setBrush(Qt::white);
    const double m = size / 5.0;
    p.drawRect(QRectF(m, m, size - 2 * m, size - 2 * m));
    p.setPen(QPen(QColor(0x1f, 0x4e, 0x79), size / 24.0));
    for (int i = 1; i <= 3; ++i) {
        const double y = m + i * (size - 2 * m) / 5.0;
        p.drawLine(QPointF(m * 1.3, y), QPointF(size - m * 1.3, y));
    }
    p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), size / 16.0));
    const double y = m + 4 * (size - 2 * m) / 5.0;
    p.drawLine(QPointF(size / 2.0, y), QPointF(size - m * 1.3, y));
    return picture;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int width)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, width, 20);
    return label;
}

}  // namespace

TLinkLabel::TLinkLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    setPalette(palette);
    setCursor(Qt::PointingHandCursor);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) OnClick();
    QLabel::mouseReleaseEvent(event);
}

TAboutBox::TAboutBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(13);
    setFont(f);
    setFixedSize(329, 354);

    Panel1 = new QFrame(this);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setGeometry(8, 8, 313, 289);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setGeometry(14, 14, 64, 64);
    ProgramIcon->setPixmap(ProgramPicture(64));

    ProductName = MakeLabel(Panel1, QString(), 92, 20, 210);
    QFont big = f;
    big.setPixelSize(18);
    big.setBold(true);
    ProductName->setFont(big);
    ProductName->setFixedHeight(26);
    VersionCaption = MakeLabel(Panel1, QStringLiteral("Version"), 92, 54, 60);
    Version = MakeLabel(Panel1, QString(), 152, 54, 150);
    if (frmMainProg) Version->setText(Win1252ToUnicode(frmMainProg->Version));

    ContactCaption = MakeLabel(Panel1, QStringLiteral("Contact:"), 14, 104, 120);
    EMail = new TLinkLabel(QString(), Panel1);
    EMail->setGeometry(26, 126, 280, 20);
    WebSitesCaption = MakeLabel(Panel1, QStringLiteral("Web Sites:"), 14, 166, 120);
    WebSite = new TLinkLabel(QString(), Panel1);
    WebSite->setGeometry(26, 188, 280, 20);
    WebSiteBrindlewax = new TLinkLabel(QString::fromLatin1(kWebScheme) + QString::fromLatin1(kMakerSite), Panel1);
    WebSiteBrindlewax->setGeometry(26, 214, 280, 20);
    WebSitePlumoRoofing = new TLinkLabel(QString::fromLatin1(kWebScheme) + QString::fromLatin1(kSisterSite), Panel1);
    WebSitePlumoRoofing->setGeometry(26, 240, 280, 20);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(127, 311, 75, 28);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    EMail->OnClick = [this] { EMailClick(); };
    WebSite->OnClick = [this] { WebSiteClick(); };
    WebSiteBrindlewax->OnClick = [this] { WebSiteBrindlewaxClick(); };
    WebSitePlumoRoofing->OnClick = [this] { WebSitePlumoRoofingClick(); };
    FormCreate();
}

TAboutBox::~TAboutBox()
{
    if (AboutBox == this) AboutBox = nullptr;
}

void TAboutBox::FormShow()
{
    ProductName->setText(QStringLiteral("Plumo Calculator"));
    MailAddress = kSalesMail;
    WebAddress = AnsiString(kWebScheme) + kProductSite;
    EMail->setText(Win1252ToUnicode(MailAddress));
    WebSite->setText(Win1252ToUnicode(WebAddress));
}

void TAboutBox::ShowModal()
{
    FormShow();
    DialogCall call;
    call.kind = DialogCall::Kind::Other;
    call.caption = windowTitle();
    call.text = ProductName->text() + QLatin1Char(' ') + VersionCaption->text() + QLatin1Char(' ') + Version->text();
    call.fields = QStringList{EMail->text(), WebSite->text(), WebSiteBrindlewax->text(), WebSitePlumoRoofing->text()};
    call.result = 1;
    if (AnswerBySeam(call)) return;
    exec();
}

void TAboutBox::OpenWebAddress(const AnsiString& address)
{
    if (!ShellOpen(Win1252ToUnicode(address)))
        Application->MessageBox(QStringLiteral("Plumo Calculator could not open web browser"),
                                QStringLiteral("Plumo Calculator Error"), MB_ICONSTOP | MB_SYSTEMMODAL);
}

void TAboutBox::WebSiteClick() { OpenWebAddress(AnsiString(kWebScheme) + kProductSite); }

// The maker's link opens the maker's site, the one it shows.
void TAboutBox::WebSiteBrindlewaxClick() { OpenWebAddress(AnsiString(kWebScheme) + kMakerSite); }

void TAboutBox::WebSitePlumoRoofingClick() { OpenWebAddress(AnsiString(kWebScheme) + kSisterSite); }

void TAboutBox::EMailClick()
{
    if (!ShellOpen(Win1252ToUnicode("mailto:" + MailAddress + "?subject=PlumoCalculator")))
        Application->MessageBox(QStringLiteral("Plumo Calculator could not open email program"),
                                QStringLiteral("Plumo Calculator Error"), MB_ICONSTOP | MB_SYSTEMMODAL);
}
