#include "platform/vcl/ExtCtrls.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>

namespace {

TMouseButton ButtonOf(const QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) return mbRight;
    if (event->button() == Qt::MiddleButton) return mbMiddle;
    return mbLeft;
}

}  // namespace

// ---- TPanel ----

TPanel::TPanel(QWidget* parent) : QFrame(parent)
{
    SetBevelOuter(bvRaised);
}

void TPanel::SetCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TPanel::SetBevelOuter(TBevelCut bevel)
{
    switch (bevel) {
    case bvNone: setFrameStyle(QFrame::NoFrame); break;
    case bvLowered: setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
    case bvRaised: setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    }
    setLineWidth(1);
    AlignControls(this);
}

void TPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    AlignControls(this);
}

void TPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (caption_.isEmpty()) return;
    QPainter painter(this);
    painter.drawText(contentsRect(), Qt::AlignCenter, caption_);
}

void TPanel::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (OnMouseDown) OnMouseDown(this, ButtonOf(event), ShiftStateOf(event->modifiers(), event->buttons()), at.x(), at.y());
    QFrame::mousePressEvent(event);
}

void TPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (OnMouseUp) OnMouseUp(this, ButtonOf(event), ShiftStateOf(event->modifiers(), event->buttons()), at.x(), at.y());
    QFrame::mouseReleaseEvent(event);
}

// ---- TRadioGroup ----

int TRadioItems::Count() const { return static_cast<int>(owner_.buttons_.size()); }

UnicodeString TRadioItems::operator[](int index) const
{
    if (index < 0 || index >= Count()) return {};
    return owner_.buttons_[index]->text();
}

void TRadioItems::Add(const QString& text)
{
    auto* button = new QRadioButton(text, &owner_);
    const int index = Count();
    owner_.buttons_.push_back(button);
    QObject::connect(button, &QRadioButton::clicked, &owner_, [group = &owner_, index] {
        if (group->itemIndex_ == index) return;
        group->itemIndex_ = index;
        if (group->OnClick) group->OnClick(group);
    });
    owner_.Arrange();
}

TRadioGroup::TRadioGroup(QWidget* parent, const QString& caption)
    : QGroupBox(caption, parent), grid_(new QGridLayout(this))
{
    grid_->setContentsMargins(6, 2, 6, 2);
    grid_->setSpacing(2);
}

void TRadioGroup::SetColumns(int columns)
{
    columns_ = std::max(columns, 1);
    Arrange();
}

void TRadioGroup::Arrange()
{
    // Items run down each column before the next column starts.
    const int count = static_cast<int>(buttons_.size());
    const int perColumn = std::max((count + columns_ - 1) / columns_, 1);
    for (QRadioButton* button : buttons_) grid_->removeWidget(button);
    for (int i = 0; i < count; ++i) grid_->addWidget(buttons_[i], i % perColumn, i / perColumn);
}

void TRadioGroup::SetItemIndex(int index)
{
    const int count = static_cast<int>(buttons_.size());
    index = std::clamp(index, -1, count - 1);
    itemIndex_ = index;
    for (int i = 0; i < count; ++i) {
        // Exclusive buttons cannot all be cleared; "none checked" is a valid state here.
        buttons_[i]->setAutoExclusive(false);
        buttons_[i]->setChecked(i == index);
        buttons_[i]->setAutoExclusive(true);
    }
}

void TRadioGroup::Choose(int index)
{
    SetItemIndex(index);
    if (OnClick) OnClick(this);
}
