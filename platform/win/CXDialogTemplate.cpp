#include "platform/win/CXDialogTemplate.h"

#include "platform/win/MsgBoxWindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>
#include <QScreen>
#include <algorithm>

namespace {

constexpr unsigned kDialogStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME;
static_assert(kDialogStyle == 0x90C80880);

const struct {
    unsigned style;
    DialogItemClass windowClass;
} kKinds[] = {
    {0x50000003, DialogItemClass::Static},  // ItemIcon
    {0x50010000, DialogItemClass::Button},  // ItemButton
    {0x50010004, DialogItemClass::Edit},    // ItemEdit
    {0x50000000, DialogItemClass::Static},  // ItemStaticText
    {0x50010003, DialogItemClass::Button},  // ItemCheckBox
};

QStyle::StandardPixmap IconOf(unsigned style)
{
    switch (style & MB_ICONMASK) {
    case MB_ICONSTOP: return QStyle::SP_MessageBoxCritical;
    case MB_ICONQUESTION: return QStyle::SP_MessageBoxQuestion;
    case MB_ICONINFORMATION: return QStyle::SP_MessageBoxInformation;
    default: return QStyle::SP_MessageBoxWarning;  // the exclamation, and any other value
    }
}

short ToUnits(int pixels, int unit, int scale)
{
    return static_cast<short>(std::clamp(pixels * scale / std::max(unit, 1), -32768, 32767));
}

}  // namespace

QColor ColourOfColorRef(int colorRef)
{
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

MessageBoxMetrics SystemMessageBoxMetrics()
{
    MessageBoxMetrics m;
    m.font = QApplication::font("QMessageBox");
    m.units = DialogBaseUnitsOf(m.font);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        m.screenWidth = screen->geometry().width();
        m.screenHeight = screen->availableGeometry().height();
    }
    // The room of the icon as drawn: a style may offer more room than its icons fill.
    const QStyle* style = QApplication::style();
    const int room = style->pixelMetric(QStyle::PM_MessageBoxIconSize);
    m.iconSize = style->standardIcon(QStyle::SP_MessageBoxWarning).actualSize(QSize(room, room)).width();
    if (m.iconSize <= 0) m.iconSize = room;
    const QFont font = m.font;
    m.textWidth = [font](const QString& text) { return QFontMetrics(font).horizontalAdvance(text); };
    m.textSize = [font](const QString& text, int wrap) { return MeasureStaticText(font, text, wrap); };
    m.titleWidth = TitleBarWidth;
    return m;
}

CXDialogTemplate::CXDialogTemplate(QWidget* owner, const QString& message, const QString& caption, unsigned style,
                                   const ExtMessageBoxParams& params, const ExtBoxPlan& plan,
                                   const MessageBoxMetrics& metrics)
    : owner_(owner), style_(style), params_(params), caption_(caption), plan_(plan), metrics_(metrics)
{
    // The wide layout puts its buttons on the right, under a band of the window colour.
    const bool wide = params_.dwLayoutOptions & MBLAYOUT_WIDE;
    if (wide) params_.dwLayoutOptions |= MBLAYOUT_RIGHTBUTTONS;
    if (params_.crBackground != -1) plan_.band = ColourOfColorRef(params_.crBackground);
    else if (wide) plan_.band = QApplication::palette().color(QPalette::Base);
    // The caller's text colour goes with any band, the window-coloured one included.
    if (plan_.band.isValid() && params_.crText != -1) plan_.ink = ColourOfColorRef(params_.crText);

    const int bx = metrics_.units.bx, by = metrics_.units.by;
    measures_.minButtonWidth = MulDiv(38, bx, 4) + (wide ? MulDiv(6, bx, 4) : 0);
    measures_.countdownRoom = MulDiv(13, bx, 4);
    measures_.buttonHeight = MulDiv(12, by, 8) + (wide ? MulDiv(1, by, 8) : 0);
    measures_.checkBoxHeight = MulDiv(10, by, 8);

    hasIcon_ = (style_ & MB_ICONMASK) != 0;
    plan_.icon = IconOf(style_);
    plan_.iconSize = metrics_.iconSize;
    plan_.units = metrics_.units;
    plan_.font = metrics_.font;
    plan_.message = message;
    // A system-modal box stays on top as well; it holds off no more than any other box.
    plan_.onTop = (style_ & (MB_TOPMOST | MB_SYSTEMMODAL)) != 0;
    plan_.position = QPoint(params_.x, params_.y);
    plan_.timeoutSeconds = params_.nTimeoutSeconds;
    plan_.disabledSeconds = params_.nDisabledSeconds;
    plan_.helpContext = params_.nHelpContext;
    plan_.report = params_.pfnReport;
    plan_.reportData = params_.dwReportData;
    LayOut();
}

bool CXDialogTemplate::TestOption(unsigned option) const
{
    unsigned options = 0;
    if (plan_.checkBit == MB_DONOTASKAGAIN) options |= CXOPT_DONOTASK;
    if (plan_.checkBit == MB_DONOTTELLAGAIN) options |= CXOPT_DONOTTELL;
    if (plan_.checkBit == MB_DONOTSHOWAGAIN) options |= CXOPT_DONOTSHOW;
    if (plan_.escape == IDCANCEL) options |= CXOPT_ESCAPECANCEL;
    if (plan_.escape == IDOK) options |= CXOPT_ESCAPEOK;
    return (options & option) != 0;
}

int CXDialogTemplate::ButtonWidth(const QString& caption) const
{
    return std::max(measures_.minButtonWidth, metrics_.textWidth(caption) + 20) +
           (params_.nTimeoutSeconds > 0 ? measures_.countdownRoom : 0);
}

void CXDialogTemplate::LayOut()
{
    const ExtBoxPlan& plan = plan_;
    const bool wide = params_.dwLayoutOptions & MBLAYOUT_WIDE;
    const int screen = metrics_.screenWidth;
    int wrap = (params_.dwLayoutOptions & MBLAYOUT_NARROWTEXT) ? screen / 3 : wide ? screen / 2 - 10 : screen / 2 + 80;
    if (hasIcon_) wrap -= metrics_.iconSize + 16;
    measures_.wrapWidth = std::max(wrap, 1);

    // The message: a text taller than the screen allows gets the room there is, and scrolls.
    QSize text = metrics_.textSize(plan.message, measures_.wrapWidth);
    const int reserved = (wide ? 61 : 29) + 14 + measures_.buttonHeight + 12 +
                         (plan.checkBit ? 12 + measures_.checkBoxHeight + 8 : 0) + 48;
    text.setHeight(std::max(1, std::min(text.height(), metrics_.screenHeight - reserved)));
    text.setWidth(std::min(text.width(), measures_.wrapWidth));
    int left = 16, top = wide ? 32 : 16, right = text.width() + 28, bottom = text.height() + (wide ? 61 : 29);
    int width = right - left + 16 + (wide ? 16 : 0);

    int iconBottom = 0;
    if (hasIcon_) {
        const int margin = wide ? 24 : 8;
        iconRect_ = QRect(margin, margin, metrics_.iconSize + 2, metrics_.iconSize + 2);
        AddItem(ItemStaticText, IDC_ICONSTATIC, &iconRect_, QString());
        iconBottom = iconRect_.bottom() + 1;
        left += metrics_.iconSize + margin;
        right += metrics_.iconSize + margin;
        width = right + margin;
    }
    messageRect_ = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    AddItem(ItemStaticText, nextId_++, &messageRect_, plan.message);

    // The button row, below the icon and the message.
    std::vector<int> widths;
    int rowWidth = 0;
    for (const AnsiString& label : plan.labels) {
        widths.push_back(ButtonWidth(Win1252ToUnicode(label)));
        rowWidth += widths.back() + (widths.size() > 1 ? 6 : 0);
    }
    const int rowY = std::max(iconBottom, bottom) + (hasIcon_ || HasBrush() ? 14 : 5);
    width = std::max(width, rowWidth + 32);
    // A box narrower than its title has the title cut short ("Ma...ror"). A title that needs
    // more than three quarters of the screen is cut anyway: the box does not fill the screen,
    // frame and all, for it.
    const int titleWidth = metrics_.titleWidth
                               ? std::min(metrics_.titleWidth(caption_.left(MaxTitle)), metrics_.screenWidth * 3 / 4)
                               : 0;
    width = std::max(width, titleWidth);
    int height = rowY + measures_.buttonHeight + 12;
    int x = (params_.dwLayoutOptions & MBLAYOUT_RIGHTBUTTONS) ? width - rowWidth - 16 : (width - rowWidth) / 2;
    for (size_t i = 0; i < plan.buttons.size(); ++i) {
        const QRect place(x, rowY, widths[i], measures_.buttonHeight);
        AddItem(ItemButton, plan.buttons[i].answer, &place, Win1252ToUnicode(plan.labels[i]));
        x += widths[i] + 6;
    }
    const int rowRight = x - 6;

    if (plan.checkBit) {
        const QString label = Win1252ToUnicode(plan.captions[plan.checkBox]);
        const QRect place(17, rowY + measures_.buttonHeight + 12, measures_.checkBoxHeight + ButtonWidth(label),
                          measures_.checkBoxHeight);
        AddItem(ItemCheckBox, IDC_CHECKBOX, &place, label);
        width = std::max(width, place.right() + 1 + 16);
        height = place.bottom() + 1 + 8;
    }
    width = std::max(width, rowRight + 16);
    dialogSize_ = QSize(width, height);

    header_.style = kDialogStyle | ((style_ & MB_SYSTEMMODAL) ? DS_SYSMODAL : 0);
    header_.cx = ToUnits(width, metrics_.units.bx, 4);
    // Whole dialog units round down: the title keeps the pixels it needs.
    if (MulDiv(header_.cx, metrics_.units.bx, 4) < titleWidth) ++header_.cx;
    header_.cy = ToUnits(height, metrics_.units.by, 8);
}

void CXDialogTemplate::AddItem(CXItemKind kind, int id, const QRect* rect, const QString& caption)
{
    EXT_ASSERT(items_.size() + 1 < MaxItems);
    EXT_ASSERT(kind >= ItemIcon && kind <= ItemCheckBox);
    const QRect place = rect ? *rect : QRect(0, 0, 10, 10);
    CXDialogItem item{kind, place, {}};
    const auto& k = kKinds[kind - ItemIcon];
    item.record.item.style = k.style;
    if (kind == ItemButton) {
        ++buttonCount_;
        if (static_cast<size_t>(buttonCount_) == plan_.defaultButton + 1) item.record.item.style |= BS_DEFPUSHBUTTON;
    }
    item.record.windowClass = k.windowClass;
    item.record.item.x = ToUnits(place.x(), metrics_.units.bx, 4);
    item.record.item.y = ToUnits(place.y(), metrics_.units.by, 8);
    item.record.item.cx = ToUnits(place.width(), metrics_.units.bx, 4);
    item.record.item.cy = ToUnits(place.height(), metrics_.units.by, 8);
    item.record.item.id = static_cast<unsigned short>(id);
    item.record.caption = caption;
    items_.push_back(std::move(item));
    header_.cdit = static_cast<unsigned short>(items_.size());
}

DialogTemplateRecord CXDialogTemplate::Template() const
{
    DialogTemplateRecord record;
    record.header = header_;
    record.caption = caption_.left(MaxTitle);
    for (const CXDialogItem& item : items_) record.items.push_back(item.record);
    return record;
}

ExtBoxPlan CXDialogTemplate::Plan() const
{
    ExtBoxPlan plan = plan_;
    plan.dialog = Template();
    return plan;
}

int CXDialogTemplate::Display() { return MsgBoxWindow::Run(Plan(), owner_); }
