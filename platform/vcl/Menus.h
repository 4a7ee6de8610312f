#pragma once
// The menu bar and its items. An item with items of its own is a menu; an item captioned "-" is
// a separator. Hidden items take no room.
#include "platform/vcl/StdCtrls.h"

#include <QKeySequence>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

class TMenuItem {
public:
    explicit TMenuItem(const QString& caption = QString(), QKeySequence shortCut = {});
    ~TMenuItem();
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    UnicodeString Caption() const;
    void SetCaption(const QString& caption);
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    QKeySequence ShortCut() const;
    // Adds a sub-item, which the menu then owns.
    void Add(TMenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }
    // Chooses the item as the user would (OnClick runs).
    void Click();
    TNotifyEvent OnClick;

    // The Qt action that stands for the item in its menu.
    QAction* Action() const { return action_; }

private:
    friend class TMainMenu;
    QMenu* SubMenu();
    QAction* action_;
    QMenu* menu_ = nullptr;
    std::vector<TMenuItem*> items_;
};

class TMainMenu {
public:
    explicit TMainMenu(QMenuBar* bar) : bar_(bar) {}
    ~TMainMenu();
    TMainMenu(const TMainMenu&) = delete;
    TMainMenu& operator=(const TMainMenu&) = delete;
    // Adds a top-level menu, which the bar then owns.
    void Add(TMenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }

private:
    QMenuBar* bar_;
    std::vector<TMenuItem*> items_;
};
