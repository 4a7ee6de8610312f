#pragma once
// Dialogs described by a template record: a header and a list of controls, each placed in dialog
// units. TemplateDialog builds the window of such a record, converting dialog units to pixels
// with the base units of the dialog's font, and reports button clicks as commands carrying the
// control's id, the way the message box's procedure expects them.
#include <QDialog>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <map>
#include <vector>

class QTextLayout;

// Window and control style bits the records use.
inline constexpr unsigned WS_POPUP = 0x80000000;
inline constexpr unsigned WS_VISIBLE = 0x10000000;
inline constexpr unsigned WS_DISABLED = 0x08000000;
inline constexpr unsigned WS_CAPTION = 0x00C00000;
inline constexpr unsigned WS_SYSMENU = 0x00080000;
inline constexpr unsigned WS_TABSTOP = 0x00010000;
inline constexpr unsigned DS_SYSMODAL = 0x00000002;
inline constexpr unsigned DS_MODALFRAME = 0x00000080;
inline constexpr unsigned DS_CENTER = 0x00000800;
inline constexpr unsigned BS_DEFPUSHBUTTON = 0x00000001;
inline constexpr unsigned BS_AUTOCHECKBOX = 0x00000003;
inline constexpr unsigned BS_TYPEMASK = 0x0000000F;

struct DLGTEMPLATE {
    unsigned style = 0;
    unsigned dwExtendedStyle = 0;
    unsigned short cdit = 0;  // number of items
    short x = 0, y = 0, cx = 0, cy = 0;
};

struct DLGITEMTEMPLATE {
    unsigned style = 0;
    unsigned dwExtendedStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    unsigned short id = 0;
};

// The predefined window classes, by their atoms.
enum class DialogItemClass : unsigned short { Button = 0x80, Edit = 0x81, Static = 0x82 };

struct DialogItemRecord {
    DLGITEMTEMPLATE item;
    DialogItemClass windowClass = DialogItemClass::Static;
    QString caption;
};

struct DialogTemplateRecord {
    DLGTEMPLATE header;
    QString caption;
    std::vector<DialogItemRecord> items;
};

// Horizontal and vertical dialog base units: a dialog unit is a quarter of bx across and an eighth
// of by down.
struct DialogBaseUnits {
    int bx = 8;
    int by = 16;
};
DialogBaseUnits DialogBaseUnitsOf(const QFont& font);

// number * numerator / denominator, rounded half away from zero; -1 when denominator is 0.
int MulDiv(int number, int numerator, int denominator);

// Static text as the message box draws it: broken between words (inside a word only when it is
// wider than the line), tabs expanded to every eighth average character, '&' shown as it stands.
// CR, LF and CR LF each end a line.
QSize MeasureStaticText(const QFont& font, const QString& text, int wrapWidth);

// The width a window needs for its whole title to show in the title bar that the desktop draws
// around it: the title in the title font, set in bold as window managers often set titles, and
// room for the bar's buttons (the window menu, minimise, maximise and close) and its margins,
// each a square as high as the bar, which is the font's height and half of it again.
int TitleBarWidth(const QString& title);

class StaticText : public QWidget {
public:
    explicit StaticText(const QString& text, QWidget* parent = nullptr);
    ~StaticText() override;

    QString text() const { return text_; }
    int TextHeight();  // of the text wrapped at the present width
    void SetIcon(const QPixmap& icon);  // drawn at 0, 0 in place of text
    const QPixmap& Icon() const { return icon_; }
    // Fills its background with this colour; an invalid colour leaves it transparent.
    void SetColours(const QColor& background, const QColor& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void EnsureLayout();  // laid out once per width and font

    QString text_;
    QPixmap icon_;
    QColor background_, colour_;
    QTextLayout* layout_ = nullptr;
    QSize laidOut_;
    int laidOutWidth_ = -1;
    QFont laidOutFont_;
};

// The window of a template record. Push buttons and check boxes report their clicks through
// Command(id); the record's controls are reached by id.
class TemplateDialog : public QDialog {
public:
    TemplateDialog(const DialogTemplateRecord& record, DialogBaseUnits units, const QFont& font,
                   QWidget* parent);

    QWidget* Item(int id) const;
    int ItemId(const QWidget* item) const;  // 0 when it is not one of the record's controls
    const std::vector<QWidget*>& Items() const { return items_; }  // in the record's order

    // Pixels of a span given in dialog units.
    int ToPixelsX(int units) const { return MulDiv(units, units_.bx, 4); }
    int ToPixelsY(int units) const { return MulDiv(units, units_.by, 8); }

protected:
    virtual void Command(unsigned id) { (void)id; }

private:
    DialogBaseUnits units_;
    std::vector<QWidget*> items_;
    std::map<int, QWidget*> byId_;
};
