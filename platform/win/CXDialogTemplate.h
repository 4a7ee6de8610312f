#pragma once
// The message box's dialog. The constructor measures the box in pixels from the message font's
// base units and lays it out as a template record (icon, message text, button row, check box);
// Plan gives the finished plan of the box, and Display shows the window built from it
// (MsgBoxWindow.h), runs it until it is answered, and returns the answer.
#include "platform/win/ExtMessageBoxPlan.h"

#include <QPointer>
#include <QRect>
#include <functional>

// What the box is measured with: the desktop's (SystemMessageBoxMetrics), or fixed ones in tests.
struct MessageBoxMetrics {
    DialogBaseUnits units;
    QFont font;
    int screenWidth = 800;
    int screenHeight = 600;  // the box never grows taller than this
    int iconSize = 32;
    std::function<int(const QString&)> textWidth;                  // a caption on one line
    std::function<QSize(const QString&, int wrapWidth)> textSize;  // the wrapped message
    std::function<int(const QString&)> titleWidth;                 // the window with its title whole; none: any
};
MessageBoxMetrics SystemMessageBoxMetrics();

// Kinds of control in the template.
enum CXItemKind { ItemIcon = 127, ItemButton = 128, ItemEdit = 129, ItemStaticText = 130, ItemCheckBox = 131 };

// Bits of TestOption: the check box's kind and what Escape answers, read from the plan.
inline constexpr unsigned CXOPT_DONOTASK = 1;
inline constexpr unsigned CXOPT_DONOTTELL = 2;
inline constexpr unsigned CXOPT_DONOTSHOW = 4;
inline constexpr unsigned CXOPT_ESCAPECANCEL = 8;  // Escape and the close box answer IDCANCEL
inline constexpr unsigned CXOPT_ESCAPEOK = 16;     // they answer IDOK

// One control of the template, with the pixel rectangle it was placed at.
struct CXDialogItem {
    CXItemKind kind;
    QRect pixels;
    DialogItemRecord record;
};

// The measures the layout works with, in pixels.
struct CXMeasures {
    int minButtonWidth = 0;
    int countdownRoom = 0;
    int buttonHeight = 0;
    int checkBoxHeight = 0;
    int wrapWidth = 0;
};

class CXDialogTemplate {
public:
    static constexpr int MaxItems = 20;
    static constexpr int MaxTitle = 1023;  // characters of the caption the title shows

    CXDialogTemplate(QWidget* owner, const QString& message, const QString& caption, unsigned style,
                     const ExtMessageBoxParams& params, const ExtBoxPlan& plan, const MessageBoxMetrics& metrics);
    CXDialogTemplate(const CXDialogTemplate&) = delete;
    CXDialogTemplate& operator=(const CXDialogTemplate&) = delete;

    // Shows the box and runs it until answered; the answer, or 0 when the box went away unanswered
    // (a quit request, which is passed on, or the window closed from outside).
    int Display();

    void AddItem(CXItemKind kind, int id, const QRect* rect, const QString& caption);
    bool TestOption(unsigned option) const;

    // The template record: the title cut to MaxTitle characters.
    DialogTemplateRecord Template() const;
    // Everything the window is built from: the plan given, measured, with the template record.
    ExtBoxPlan Plan() const;

    const CXMeasures& Measures() const { return measures_; }
    const std::vector<CXDialogItem>& Items() const { return items_; }
    QRect MessageRect() const { return messageRect_; }
    QSize DialogSize() const { return dialogSize_; }  // in pixels, before its conversion
    int DefaultButtonId() const { return plan_.DefaultAnswer(); }
    bool HasBrush() const { return plan_.band.isValid(); }

private:
    void LayOut();
    int ButtonWidth(const QString& caption) const;

    QPointer<QWidget> owner_;
    unsigned style_;
    ExtMessageBoxParams params_;
    QString caption_;
    ExtBoxPlan plan_;  // the window's part filled in as the box is measured
    MessageBoxMetrics metrics_;
    CXMeasures measures_;
    int nextId_ = IDC_MESSAGETEXT;
    int buttonCount_ = 0;
    bool hasIcon_ = false;
    QRect messageRect_, iconRect_;
    QSize dialogSize_;
    DLGTEMPLATE header_;
    std::vector<CXDialogItem> items_;
};

// The ANSI colour word 0x00BBGGRR as a colour; the high byte is ignored.
QColor ColourOfColorRef(int colorRef);
