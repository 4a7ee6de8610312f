#pragma once
// Panels, which hold and align other controls, and the radio group.
#include "platform/vcl/StdCtrls.h"

#include <QFrame>
#include <QGroupBox>
#include <vector>

class QRadioButton;
class QGridLayout;

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public QFrame {
public:
    explicit TPanel(QWidget* parent = nullptr);
    UnicodeString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    void SetBevelOuter(TBevelCut bevel);
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString caption_;
};

class TRadioGroup;

class TRadioItems {
public:
    explicit TRadioItems(TRadioGroup& owner) : owner_(owner) {}
    int Count() const;
    UnicodeString operator[](int index) const;
    void Add(const QString& text);

private:
    TRadioGroup& owner_;
};

// A captioned group of radio buttons laid out in Columns; exactly one or none is checked.
class TRadioGroup : public QGroupBox {
public:
    explicit TRadioGroup(QWidget* parent = nullptr, const QString& caption = QString());
    TRadioItems Items{*this};
    int Columns() const { return columns_; }
    void SetColumns(int columns);
    // -1 when no button is checked. Values below -1 become -1 and values past the last item the
    // last item.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // Checks a button as the user would (OnClick runs).
    void Choose(int index);
    TNotifyEvent OnClick;

private:
    friend class TRadioItems;
    void Arrange();
    std::vector<QRadioButton*> buttons_;
    QGridLayout* grid_;
    int columns_ = 1;
    int itemIndex_ = -1;
};
