#include "platform/win/DialogTemplate.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTextLayout>
#include <cmath>
#include <cstdint>

namespace {

// Line ends of any kind become the layout's own line separator.
QString WithLineSeparators(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out += QChar::LineSeparator;
        } else if (c == u'\n') {
            out += QChar::LineSeparator;
        } else {
            out += c;
        }
    }
    return out;
}

QSize LayOut(QTextLayout& layout, const QFont& font, const QString& text, int wrapWidth)
{
    layout.clearLayout();
    layout.setFont(font);
    layout.setText(WithLineSeparators(text));
    QTextOption option;
    // Breaking between words costs a scan to the next break for every line, so a text holding a
    // very long unbroken run (a pasted path, a row of digits) simply breaks anywhere.
    qsizetype run = 0, longest = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    option.setWrapMode(longest > 500 ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(8.0 * QFontMetrics(font).averageCharWidth());
    layout.setTextOption(option);
    const qreal width = std::max(wrapWidth, 1);
    qreal y = 0, widest = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
        widest = std::max(widest, line.naturalTextWidth());
    }
    layout.endLayout();
    return {static_cast<int>(std::ceil(widest)), std::max(static_cast<int>(std::ceil(y)), QFontMetrics(font).height())};
}

}  // namespace

DialogBaseUnits DialogBaseUnitsOf(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {std::max(1, (alphabet / 26 + 1) / 2), std::max(1, metrics.height())};
}

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0) return -1;
    const double exact = static_cast<double>(number) * numerator / denominator;
    return static_cast<int>(std::clamp<long long>(std::llround(exact), INT32_MIN, INT32_MAX));
}

QSize MeasureStaticText(const QFont& font, const QString& text, int wrapWidth)
{
    QTextLayout layout;
    return LayOut(layout, font, text, wrapWidth);
}

int TitleBarWidth(const QString& title)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int bar = metrics.height() * 3 / 2;
    // Four buttons, and one more square for the margins at both ends and beside the title.
    return metrics.horizontalAdvance(title) + 5 * bar;
}

// ---- StaticText ----

StaticText::StaticText(const QString& text, QWidget* parent) : QWidget(parent), text_(text) {}

StaticText::~StaticText() { delete layout_; }

void StaticText::SetIcon(const QPixmap& icon)
{
    icon_ = icon;
    update();
}

void StaticText::SetColours(const QColor& background, const QColor& text)
{
    background_ = background;
    colour_ = text;
    update();
}

int StaticText::TextHeight()
{
    EnsureLayout();
    return laidOut_.height();
}

void StaticText::EnsureLayout()
{
    if (text_.isEmpty()) return;
    if (!layout_) layout_ = new QTextLayout;
    if (laidOutWidth_ == width() && laidOutFont_ == font()) return;
    laidOut_ = LayOut(*layout_, font(), text_, width());
    laidOutWidth_ = width();
    laidOutFont_ = font();
}

void StaticText::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (background_.isValid()) painter.fillRect(event->rect(), background_);
    if (!icon_.isNull()) {
        painter.drawPixmap(0, 0, icon_);
        return;
    }
    EnsureLayout();
    if (!layout_) return;
    painter.setPen(colour_.isValid() ? colour_ : palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                                                  QPalette::WindowText));
    layout_->draw(&painter, QPointF(0, 0), {}, QRectF(event->rect()));
}

// ---- TemplateDialog ----

TemplateDialog::TemplateDialog(const DialogTemplateRecord& record, DialogBaseUnits units, const QFont& font,
                               QWidget* parent)
    : QDialog(parent), units_(units)
{
    setWindowTitle(record.caption);
    setFont(font);
    // A system-modal dialog stays on top of other windows; which windows it holds off is for the
    // code that shows it to say.
    if (record.header.style & DS_SYSMODAL) setWindowFlag(Qt::WindowStaysOnTopHint);
    for (const DialogItemRecord& r : record.items) {
        const QRect place(ToPixelsX(r.item.x), ToPixelsY(r.item.y), ToPixelsX(r.item.cx), ToPixelsY(r.item.cy));
        QWidget* widget = nullptr;
        QWidget* placed = nullptr;
        switch (r.windowClass) {
        case DialogItemClass::Button:
            if ((r.item.style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
                auto* box = new QCheckBox(r.caption, this);
                connect(box, &QCheckBox::clicked, this, [this, id = r.item.id] { Command(id); });
                widget = box;
            } else {
                auto* button = new QPushButton(r.caption, this);
                button->setAutoDefault(true);
                button->setDefault((r.item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
                connect(button, &QPushButton::clicked, this, [this, id = r.item.id] { Command(id); });
                widget = button;
            }
            break;
        case DialogItemClass::Edit:
            widget = new QLineEdit(r.caption, this);
            break;
        case DialogItemClass::Static: {
            auto* text = new StaticText(r.caption, this);
            // A text too long for the screen scrolls rather than pushing the box off it. A long
            // text is first laid out at the width it has beside the scroll bar, where it will
            // most likely be shown: laying out 64 KB of text takes time.
            const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            const int inner = std::max(place.width() - bar, 1);
            text->setGeometry(QRect(place.topLeft(), QSize(r.caption.size() > 2000 ? inner : place.width(), place.height())));
            if (!r.caption.isEmpty() && text->TextHeight() > place.height()) {
                auto* scroller = new QScrollArea(this);
                scroller->setFrameShape(QFrame::NoFrame);
                scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                scroller->viewport()->setAutoFillBackground(false);
                scroller->setWidget(text);
                text->resize(inner, place.height());
                text->resize(inner, text->TextHeight());
                placed = scroller;
            }
            widget = text;
            break;
        }
        }
        if (!placed) placed = widget;
        placed->setGeometry(place);
        if (r.item.style & WS_DISABLED) widget->setEnabled(false);
        items_.push_back(widget);
        byId_[r.item.id] = widget;
    }
    setFixedSize(ToPixelsX(record.header.cx), ToPixelsY(record.header.cy));
}

QWidget* TemplateDialog::Item(int id) const
{
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : found->second;
}

int TemplateDialog::ItemId(const QWidget* item) const
{
    for (const auto& [id, widget] : byId_)
        if (widget == item) return id;
    return 0;
}
