#include "platform/vcl/Menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

TMenuItem::TMenuItem(const QString& caption, QKeySequence shortCut) : action_(new QAction(caption))
{
    // A separator with a text is drawn by some styles as a heading showing that text.
    if (caption == QLatin1String("-")) {
        action_->setSeparator(true);
        action_->setText(QString());
    }
    action_->setShortcut(shortCut);
    QObject::connect(action_, &QAction::triggered, [this] {
        if (OnClick) OnClick(action_);
    });
}

TMenuItem::~TMenuItem()
{
    for (TMenuItem* item : items_) delete item;
    delete menu_;
    delete action_;
}

UnicodeString TMenuItem::Caption() const
{
    return action_->isSeparator() ? QStringLiteral("-") : action_->text();
}

void TMenuItem::SetCaption(const QString& caption)
{
    action_->setText(caption);
    if (menu_) menu_->setTitle(caption);
}

bool TMenuItem::Visible() const { return action_->isVisible(); }
void TMenuItem::SetVisible(bool visible) { action_->setVisible(visible); }
bool TMenuItem::Enabled() const { return action_->isEnabled(); }
void TMenuItem::SetEnabled(bool enabled) { action_->setEnabled(enabled); }
QKeySequence TMenuItem::ShortCut() const { return action_->shortcut(); }

QMenu* TMenuItem::SubMenu()
{
    if (!menu_) {
        menu_ = new QMenu(action_->text());
        // A separator shows even with nothing below it (the File menu before any recent file).
        menu_->setSeparatorsCollapsible(false);
        action_->setMenu(menu_);
    }
    return menu_;
}

void TMenuItem::Add(TMenuItem* item)
{
    items_.push_back(item);
    SubMenu()->addAction(item->action_);
}

void TMenuItem::Click()
{
    if (action_->isEnabled()) action_->trigger();
}

TMainMenu::~TMainMenu()
{
    for (TMenuItem* item : items_) delete item;
}

void TMainMenu::Add(TMenuItem* item)
{
    items_.push_back(item);
    item->SubMenu();
    bar_->addAction(item->action_);
}
