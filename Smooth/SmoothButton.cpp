// The smooth button: its properties, its cached face and its paint.
#include "Smooth/SmoothButton.h"

#include "platform/vcl/IniFiles.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace {

constexpr unsigned kVersion = 0x01060503;
// The desktop's button face, as a system colour.
constexpr TColor clSystemBtnFace = TColor(0xFF00000F);
// The face of a disabled button, whatever its colour.
constexpr TColor kDisabledFace = 0x505050;

// The control's font as the face's font: family, size in points, style; the colour stays.
TFont FaceFont(const QFont& font, TColor colour)
{
    int points = font.pointSize();
    if (points <= 0) points = int(std::lround(font.pixelSize() * 72.0 / 96.0));
    TFontStyles style = 0;
    if (font.bold()) style |= fsBold;
    if (font.italic()) style |= fsItalic;
    if (font.underline()) style |= fsUnderline;
    if (font.strikeOut()) style |= fsStrikeOut;
    return TFont(font.family(), points, style, colour);
}

}  // namespace

TSmoothButtonStatus::TSmoothButtonStatus(TSmoothButton* owner) : FOwner(owner), FAppearance(new TGDIPStatus)
{
    FAppearance->OnChange = [this](QObject*) {
        if (FOwner) FOwner->InvalidateCache();
    };
}

TSmoothButtonStatus::~TSmoothButtonStatus() { delete FAppearance; }

template <class T>
void TSmoothButtonStatus::Store(T& field, const T& value)
{
    if (field == value) return;
    field = value;
    if (FOwner) FOwner->InvalidateCache();
}

void TSmoothButtonStatus::SetVisible(bool value) { Store(FVisible, value); }
void TSmoothButtonStatus::SetCaption(const QString& value) { Store(FCaption, value); }
void TSmoothButtonStatus::SetOffsetLeft(int value) { Store(FOffsetLeft, value); }
void TSmoothButtonStatus::SetOffsetTop(int value) { Store(FOffsetTop, value); }
void TSmoothButtonStatus::SetAppearance(const TGDIPStatus* value)
{
    if (value != FAppearance) FAppearance->Assign(value);
}

void TSmoothButtonStatus::Assign(const TSmoothButtonStatus* source)
{
    if (!source || source == this) return;
    FAppearance->Assign(source->FAppearance);
    FOffsetTop = source->FOffsetTop;
    FOffsetLeft = source->FOffsetLeft;
    FVisible = source->FVisible;
    FCaption = source->FCaption;
}

TSmoothButton::TSmoothButton(QWidget* parent)
    : QWidget(parent), FAppearance(new TGDIPButton), FPicture(new TGDIPPicture), FButtonStatus(nullptr)
{
    FPicture->OnChange = [this](QObject*) { InvalidateCache(); };
    FAppearance->OnChange = [this](QObject*) { InvalidateCache(); };
    FAppearance->OnFontChange = [this](QObject*) { FParentFont = false; };
    FAppearance->OnIsFontStored = [this](QObject*, bool& stored) { stored = !FParentFont; };
    FButtonStatus = new TSmoothButtonStatus(this);
    FButtonStatus->OnChange = [this](QObject*) { InvalidateCache(); };
    // Hover must reach the button without a press, and the parent shows through the corners.
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::TabFocus);
    resize(120, 35);
    RecreateCache();
    FollowParentFont();
}

TSmoothButton::~TSmoothButton()
{
    delete FPicture;
    delete FButtonStatus;
    delete FAppearance;
}

void TSmoothButton::SetAppearance(const TGDIPButton* value)
{
    if (value == FAppearance) return;
    FAppearance->Assign(value);
    InvalidateCache();
}

void TSmoothButton::SetStatus(const TSmoothButtonStatus* value)
{
    if (value == FButtonStatus) return;
    FButtonStatus->Assign(value);
    InvalidateCache();
}

void TSmoothButton::SetCaption(const QString& value)
{
    if (value == FCaption) return;
    FCaption = value;
    // The accelerator follows the caption: the letter after a single "&".
    if (FShortcutId) releaseShortcut(FShortcutId);
    const QKeySequence mnemonic = QKeySequence::mnemonic(FCaption);
    FShortcutId = mnemonic.isEmpty() ? 0 : grabShortcut(mnemonic);
    InvalidateCache();
}

void TSmoothButton::SetParentFont(bool value)
{
    if (FParentFont == value) return;
    FParentFont = value;
    FollowParentFont();
}

void TSmoothButton::FollowParentFont()
{
    if (!FParentFont) return;
    // Taking the control's font is not a choice of the user's, so ParentFont stays set.
    TNotifyEvent saved = std::move(FAppearance->OnFontChange);
    FAppearance->OnFontChange = nullptr;
    FAppearance->SetFont(FaceFont(font(), FAppearance->Font().Color));
    FAppearance->OnFontChange = std::move(saved);
}

void TSmoothButton::SetTabStop(bool value)
{
    FTabStop = value;
    setFocusPolicy(value ? Qt::TabFocus : Qt::NoFocus);
}

void TSmoothButton::SetHint(const QString& hint)
{
    FHint = hint;
    setToolTip(FShowHint ? FHint : QString());
}

void TSmoothButton::SetShowHint(bool value)
{
    FShowHint = value;
    setToolTip(FShowHint ? FHint : QString());
}

QString TSmoothButton::Version() const
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg((kVersion >> 24) & 0xFF)
        .arg((kVersion >> 16) & 0xFF)
        .arg((kVersion >> 8) & 0xFF)
        .arg(kVersion & 0xFF);
}

void TSmoothButton::Click()
{
    if (OnClick) OnClick(this);
}

void TSmoothButton::DoClick() { Click(); }

void TSmoothButton::InvalidateCache()
{
    FValidCache = false;
    update();
}

bool TSmoothButton::CacheFits() const
{
    return FCache && int(FCache->GetWidth()) == width() && int(FCache->GetHeight()) == height();
}

void TSmoothButton::RecreateCache()
{
    // A size with no pixels leaves no cache; painting then draws nothing.
    FCache.reset(new TGPBitmap(width(), height(), gdip::PixelFormat32bppARGB));
    FValidCache = false;
}

void TSmoothButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RecreateCache();
}

void TSmoothButton::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    Paint(canvas);
}

void TSmoothButton::Paint(QPainter& canvas)
{
    // A hidden control hears of its new size only when shown; paint at the size it has now.
    if (!CacheFits()) RecreateCache();
    if (!FValidCache) {
        TGPGraphics g(FCache.get());
        g.SetSmoothingMode(gdip::SmoothingModeAntiAlias);
        g.SetTextRenderingHint(gdip::TextRenderingHintAntiAlias);
        g.Clear(MakeColor(0, 255, 255, 255));

        const TGDIPStatus* badge = FButtonStatus->Appearance();
        const bool badgeShown = FButtonStatus->Visible() &&
                                (!FButtonStatus->Caption().isEmpty() || !badge->Fill()->Picture()->Empty());
        TGDIPButtonFace face;
        face.Caption = FCaption;
        face.Width = width();
        face.Height = height();
        face.hs = badgeShown ? FHorizontalSpacing : 0;
        face.vs = badgeShown ? FVerticalSpacing : 0;
        face.Color = isEnabled() ? FColor : kDisabledFace;
        face.BevelColor = FBevelColor;
        face.Shadow = FShadow;
        face.Down = FDown && (FMouseInside || FAcceleratorDown);
        face.Bevel = FBevel;
        face.Picture = FPicture;
        FAppearance->Draw(&g, face);

        if (FTabStop && FFocused) {
            g.SetSmoothingMode(gdip::SmoothingModeDefault);
            std::unique_ptr<TGPGraphicsPath> outline(
                CreateRoundedRectPath(MakeRectF(0, 0, REAL(width() - 1), REAL(height() - 1)), 8, rtBoth));
            TGPPen pen(MakeColor(255, 0, 0, 0), 1.0f);
            pen.SetDashStyle(gdip::DashStyleDot);
            g.DrawPath(&pen, outline.get());
        }

        if (badgeShown) {
            TGDIPStatus* status = FButtonStatus->Appearance();
            status->CalculateSize(&g, FButtonStatus->Caption());
            status->Draw(&g, SaturatedRound(double(width()) - status->GetWidth() + FButtonStatus->OffsetLeft()),
                         FButtonStatus->OffsetTop(), 0, 0, true, FButtonStatus->Caption());
        }
        FValidCache = true;
    }
    TGPGraphics screen(&canvas);
    screen.DrawImage(FCache.get(), 0, 0);
}

bool TSmoothButton::SaveToTheme(const QString& fileName)
{
    TIniFile ini(fileName.toStdString());
    return ini.WriteInteger(GetThemeId().toStdString(), "Color", FColor);
}

void TSmoothButton::LoadFromTheme(const QString& fileName)
{
    TIniFile ini(fileName.toStdString());
    FColor = ini.ReadInteger(GetThemeId().toStdString(), "Color", FColor);
    InvalidateCache();
}

void TSmoothButton::SetComponentStyle(TSmoothStyle style)
{
    static const TColor colours[] = {
        0xE3B28D,  // tsOffice2003Blue
        0x927476,  // tsOffice2003Silver
        0x447A63,  // tsOffice2003Olive
        0xC9D1D5,  // tsOffice2003Classic
        0xFDEADA,  // tsOffice2007Luna
        0x6E6E6D,  // tsOffice2007Obsidian
        0xB9D8DC,  // tsWindowsXP
        0x828F92,  // tsWhidbey
        clNone,    // tsCustom: unchanged
        0xE7DCD5,  // tsOffice2007Silver
        0xFDF8F1,  // tsWindowsVista
        0xFCEBDC,  // tsWindows7
        clSystemBtnFace,  // tsTerminal
    };
    if (style < 0 || style > tsTerminal || style == tsCustom) return;
    SetColor(colours[style]);
}
