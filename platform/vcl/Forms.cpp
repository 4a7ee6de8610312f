#include "platform/vcl/Forms.h"

#include "platform/vcl/DialogSeam.h"
#include "platform/win/DialogTemplate.h"
#include "platform/win/WinDefs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>
#include <algorithm>

static TApplication theApplication;
TApplication* Application = &theApplication;

namespace {

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonSpec> ButtonsOf(unsigned flags)
{
    using B = QMessageBox;
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{B::Ok, IDOK}, {B::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE: return {{B::Abort, IDABORT}, {B::Retry, IDRETRY}, {B::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL: return {{B::Yes, IDYES}, {B::No, IDNO}, {B::Cancel, IDCANCEL}};
    case MB_YESNO: return {{B::Yes, IDYES}, {B::No, IDNO}};
    case MB_RETRYCANCEL: return {{B::Retry, IDRETRY}, {B::Cancel, IDCANCEL}};
    default: return {{B::Ok, IDOK}};
    }
}

// A box whose buttons give no cancelling answer (Yes and No; Abort, Retry and Ignore) is left by
// one of its buttons only: Escape and the close box do nothing, as in the desktop's own such boxes.
class ButtonsOnly : public QObject {
protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        return event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel);
    }
};

QMessageBox::Icon IconOf(unsigned flags)
{
    switch (flags & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// A text the screen cannot hold (very long, many lines, or a run of characters without a break
// wider than the screen) scrolls inside the box, which keeps its buttons on the screen; it is
// drawn the way the program's own message box draws such a text.
void FitTextToScreen(QMessageBox& box, const QString& text)
{
    QLabel* label = nullptr;
    for (QLabel* l : box.findChildren<QLabel*>())
        if (l->text() == text) label = l;
    const QScreen* screen = box.parentWidget() ? box.parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!label || !screen || !box.layout()) return;
    const QRect area = screen->availableGeometry();
    const int width = std::clamp(area.width() / 2, 1, 500);
    const int room = std::max(area.height() - 200, area.height() / 2);  // beside the title, margins and buttons
    const QFont font = label->font();
    bool fits = MeasureStaticText(font, text, width).height() <= room;
    if (fits) {
        // The box's own text breaks only between words.
        qsizetype from = 0, longest = 0, at = 0;
        for (qsizetype i = 0; i <= text.size(); ++i)
            if (i == text.size() || text[i].isSpace()) {
                if (i - from > longest) {
                    longest = i - from;
                    at = from;
                }
                from = i + 1;
            }
        fits = longest < 2000 && QFontMetrics(font).horizontalAdvance(text.mid(at, longest)) < area.width() - 100;
    }
    if (fits) return;

    auto* scroller = new QScrollArea(&box);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroller->viewport()->setAutoFillBackground(false);
    auto* shown = new StaticText(text);
    shown->setFont(font);
    shown->resize(width, 1);
    shown->resize(width, shown->TextHeight());
    scroller->setWidget(shown);
    // A few pixels between the text and the scroll bar.
    scroller->setFixedSize(width + 6 + scroller->verticalScrollBar()->sizeHint().width(), room);
    // The label keeps the text (Ctrl+C copies it from there) but is no longer laid out or shown.
    delete box.layout()->replaceWidget(label, scroller);
    label->hide();
}

// The box is at least as wide as its title needs: the desktop cuts a title short ("Ma...ror")
// in a box sized for a short text. An empty row across the box's grid holds that width.
void FitWidthToTitle(QMessageBox& box, const QString& caption)
{
    QLayout* layout = box.layout();
    if (!layout) return;
    const QScreen* screen = box.parentWidget() ? box.parentWidget()->screen() : QGuiApplication::primaryScreen();
    int need = TitleBarWidth(caption);
    // As in the program's own box: a title too long for three quarters of the screen is cut anyway.
    if (screen) need = std::min(need, screen->availableGeometry().width() * 3 / 4);
    const QMargins margins = layout->contentsMargins() + box.contentsMargins();
    auto* row = new QSpacerItem(std::max(need - margins.left() - margins.right(), 0), 0, QSizePolicy::Fixed,
                                QSizePolicy::Fixed);
    if (auto* grid = qobject_cast<QGridLayout*>(layout))
        grid->addItem(row, grid->rowCount(), 0, 1, grid->columnCount());
    else
        layout->addItem(row);
}

}  // namespace

int TApplication::MessageBox(const UnicodeString& text, const UnicodeString& caption, unsigned flags)
{
    DialogCall call;
    call.kind = DialogCall::Kind::MessageBox;
    call.text = text;
    call.caption = caption;
    call.flags = flags;
    const auto buttons = ButtonsOf(flags);
    call.result = buttons.front().answer;
    if (AnswerBySeam(call)) return call.result;

    // The box holds off the window it is over as it is: nothing there is disabled (and drawn
    // greyed). A window of its own beside it stays usable.
    QWidget* owner = BoxOwner();
    FocusReturn focus(owner);
    ButtonsOnly buttonsOnly;
    QMessageBox box(IconOf(flags), caption, text, QMessageBox::NoButton, owner);
    box.setWindowModality(Qt::WindowModal);
    const ActivationReturn keys(&box);
    const bool cancels = std::any_of(buttons.begin(), buttons.end(), [](const ButtonSpec& b) { return b.answer == IDCANCEL; });
    if (buttons.size() > 1 && !cancels) box.installEventFilter(&buttonsOnly);
    FitTextToScreen(box, text);
    FitWidthToTitle(box, caption);
    size_t def = (flags & MB_DEFMASK) >> 8;
    for (size_t i = 0; i < buttons.size(); ++i) {
        QPushButton* b = box.addButton(buttons[i].button);
        if (i == def) box.setDefaultButton(b);
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const auto& b : buttons)
        if (clicked && box.standardButton(clicked) == b.button) return b.answer;
    // Closed without a button: Cancel where there is one, else the only button.
    for (const auto& b : buttons)
        if (b.answer == IDCANCEL) return IDCANCEL;
    return buttons.size() == 1 ? buttons.front().answer : IDCANCEL;
}

QWidget* BoxOwner()
{
    QWidget* active = QApplication::activeWindow();
    if (active && active->isVisible()) return active;
    QWidget* main = Application->MainForm;
    return main && main->isVisible() ? main : nullptr;
}

FocusReturn::FocusReturn(const QWidget* owner)
    : widget_(QApplication::focusWidget() ? QApplication::focusWidget()
                                          : owner ? owner->window()->focusWidget() : nullptr)
{
}

FocusReturn::~FocusReturn()
{
    if (!widget_ || !widget_->isVisible()) return;
    QWidget* window = widget_->window();
    const QWidget* active = QApplication::activeWindow();
    if (active && active != window && active->isVisible()) return;  // the user is elsewhere
    if (!active) window->activateWindow();
    widget_->setFocus(Qt::ActiveWindowFocusReason);
}

ActivationReturn::ActivationReturn(QWidget* box) : box_(box) { qApp->installEventFilter(this); }

ActivationReturn::~ActivationReturn() { qApp->removeEventFilter(this); }

bool ActivationReturn::HeldOff(const QWidget* box, const QWidget* window)
{
    const QWindow* held = window ? window->windowHandle() : nullptr;
    const QWindow* boxWindow = box ? box->windowHandle() : nullptr;
    if (!held || !boxWindow || held == boxWindow || boxWindow->isAncestorOf(held, QWindow::IncludeTransients)) return false;
    if (boxWindow->modality() == Qt::ApplicationModal) return true;
    return boxWindow->modality() == Qt::WindowModal && held->isAncestorOf(boxWindow, QWindow::IncludeTransients);
}

void ActivationReturn::GiveBack(QWidget* box)
{
    QTimer::singleShot(0, box, [box] {
        if (!box->isVisible() || QApplication::activeWindow() == box) return;
        box->raise();
        box->activateWindow();
    });
}

bool ActivationReturn::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && box_ && box_->isVisible()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->isWindow() && HeldOff(box_, widget)) GiveBack(box_);
    }
    return QObject::eventFilter(watched, event);
}

void TApplication::ShowException(const std::exception& e)
{
    MessageBox(QString::fromLocal8Bit(e.what()), Title, MB_OK | MB_ICONSTOP);
}

UnicodeString TApplication::ExeName() const
{
    if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

AnsiString ParamStr0() { return UnicodeToPath(Application->ExeName()); }

AnsiString ProgramFolder() { return ExtractFilePath(ParamStr0()); }

static size_t LastSeparator(const AnsiString& path)
{
    return path.find_last_of("/\\");
}

AnsiString ExtractFileName(const AnsiString& path)
{
    size_t p = LastSeparator(path);
    return p == AnsiString::npos ? path : path.substr(p + 1);
}

AnsiString ExtractFilePath(const AnsiString& path)
{
    size_t p = LastSeparator(path);
    return p == AnsiString::npos ? AnsiString() : path.substr(0, p + 1);
}

AnsiString ExtractFileExt(const AnsiString& path)
{
    AnsiString name = ExtractFileName(path);
    size_t dot = name.rfind('.');
    return dot == AnsiString::npos ? AnsiString() : name.substr(dot);
}

AnsiString ChangeFileExt(const AnsiString& path, const AnsiString& ext)
{
    AnsiString name = ExtractFileName(path);
    size_t dot = name.rfind('.');
    AnsiString folder = ExtractFilePath(path);
    return folder + (dot == AnsiString::npos ? name : name.substr(0, dot)) + ext;
}

bool FileExists(const AnsiString& path)
{
    QFileInfo info(PathToUnicode(path));
    return info.exists() && !info.isDir();
}

bool DirectoryExists(const AnsiString& path)
{
    return !path.empty() && QFileInfo(PathToUnicode(path)).isDir();
}
