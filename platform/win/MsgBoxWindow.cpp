#include "platform/win/MsgBoxWindow.h"

#include "platform/vcl/Forms.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <optional>

namespace {

ExtHelpOpener& HelpOpener()
{
    static ExtHelpOpener opener = [](const QString& path, int) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    return opener;
}

const QString kRule = QStringLiteral("---------------------------");

// Key presses reach the box's Ctrl+C before any control or shortcut sees them.
class KeyDownFilter : public QObject {
public:
    explicit KeyDownFilter(MsgBoxWindow* window) : window_(window), watched_(window) {}

    bool eventFilter(QObject* target, QEvent* event) override
    {
        const auto type = event->type();
        if (!watched_ || (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)) return false;
        const auto* widget = qobject_cast<QWidget*>(target);
        if (!widget || widget->window() != watched_.data()) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (type == QEvent::ShortcutOverride) {
            // Keep application shortcuts from taking Ctrl+C while the box has the keyboard.
            if (key->key() == Qt::Key_C && (key->modifiers() & Qt::ControlModifier)) event->accept();
            return false;
        }
        return window_->OnKeyDown(key->key(), key->modifiers());
    }

private:
    MsgBoxWindow* window_;
    // Compared as a plain widget: the window sends events while it is being taken apart.
    QPointer<QWidget> watched_;
};

}  // namespace

struct MsgBoxWindow::Waiting {
    QEventLoop loop;
    std::optional<int> answer;
};

ExtHelpOpener SetExtMessageBoxHelpOpener(ExtHelpOpener opener)
{
    return std::exchange(HelpOpener(), std::move(opener));
}

MsgBoxWindow::MsgBoxWindow(const ExtBoxPlan& plan, QWidget* parent)
    : TemplateDialog(plan.dialog, plan.units, plan.font, parent), plan_(plan)
{
    setObjectName(QStringLiteral("ExtMessageBox"));
    // Closing the box must never end the program, even when it is the only window.
    setAttribute(Qt::WA_QuitOnClose, false);
    timeout_.setInterval(1000);
    disabled_.setInterval(1000);
    connect(&timeout_, &QTimer::timeout, this, [this] { Timer(TimeoutTimer); });
    connect(&disabled_, &QTimer::timeout, this, [this] { Timer(DisabledTimer); });
}

QWidget* MsgBoxWindow::Button(int id) const { return Item(id); }

void MsgBoxWindow::InitDialog()
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (plan_.onTop) flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    SetCloseEnabled(plan_.escape != 0 && plan_.disabledSeconds <= 0);

    if (plan_.disabledSeconds > 0)
        for (QWidget* item : Items())
            if (qobject_cast<QPushButton*>(item)) item->setEnabled(false);
    if (auto* icon = dynamic_cast<StaticText*>(Item(IDC_ICONSTATIC))) {
        const int size = plan_.iconSize;
        icon->SetIcon(style()->standardIcon(plan_.icon).pixmap(size, size));
    }
    if (plan_.band.isValid())
        if (auto* text = dynamic_cast<StaticText*>(Item(IDC_MESSAGETEXT)))
            text->SetColours(plan_.band, plan_.ink.isValid() ? plan_.ink : palette().color(QPalette::Text));

    if (QWidget* button = Button(plan_.DefaultAnswer())) {
        savedDefaultCaption_ = static_cast<QPushButton*>(button)->text().left(99);
        button->setFocus();
    }
    Position();
    if (plan_.timeoutSeconds > 0) {
        timeoutLeft_ = plan_.timeoutSeconds;
        Timer(TimeoutTimer);  // the count shows from the start
        timeout_.start();
    }
    if (plan_.disabledSeconds > 0) {
        disabledLeft_ = plan_.disabledSeconds;
        Timer(DisabledTimer);
        disabled_.start();
    }
}

void MsgBoxWindow::Position()
{
    const QPoint asked = plan_.position;
    const QWidget* parent = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect over = parent && parent->isVisible() ? parent->frameGeometry() : screen->availableGeometry();
    // The frame counts once the window has one.
    const QSize size = frameGeometry().size();
    const QPoint centred = over.center() - QPoint(size.width() / 2, size.height() / 2);
    QPoint at = asked;
    if (asked.isNull()) {
        at = centred;
    } else if (asked.x() < 0 || asked.y() < 0) {
        at = centred + asked;
        at = QPoint(std::max(at.x(), 0), std::max(at.y(), 0));
    }
    // Whatever was asked, the box stays whole on a screen.
    if (QScreen* there = QGuiApplication::screenAt(at)) screen = there;
    const QRect area = screen->availableGeometry();
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height())));
    move(at);
}

void MsgBoxWindow::SetCloseEnabled(bool enabled)
{
    closeEnabled_ = enabled;
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowSystemMenuHint, enabled);
    flags.setFlag(Qt::WindowCloseButtonHint, enabled);
    if (flags == windowFlags()) return;
    if (!windowHandle()) return setWindowFlags(flags);
    // A window on the screen is told in place: setting a widget's flags hides it, and the desktop
    // places a window shown again anew (a title bar's height higher, say).
    overrideWindowFlags(flags);
    windowHandle()->setFlags(flags);
}

void MsgBoxWindow::Timer(int id)
{
    if (id == TimeoutTimer) {
        auto* button = static_cast<QPushButton*>(Button(plan_.DefaultAnswer()));
        if (timeoutLeft_ > 0) {
            if (button) button->setText(QStringLiteral("%1 = %2").arg(savedDefaultCaption_).arg(timeoutLeft_));
            --timeoutLeft_;
            return;
        }
        timeout_.stop();
        Command(static_cast<unsigned>(plan_.DefaultAnswer()) | MB_TIMEOUT);
    } else if (id == DisabledTimer) {
        const QString& title = plan_.dialog.caption;
        if (disabledLeft_ > 0) {
            setWindowTitle(title + QStringLiteral(" %1").arg(disabledLeft_));
            --disabledLeft_;
            return;
        }
        disabled_.stop();
        for (QWidget* item : Items())
            if (qobject_cast<QPushButton*>(item)) item->setEnabled(true);
        if (plan_.escape != 0) SetCloseEnabled(true);
        setWindowTitle(title);
        update();
    }
}

void MsgBoxWindow::StopTimeout()
{
    if (!timeout_.isActive()) return;
    timeout_.stop();
    if (auto* button = static_cast<QPushButton*>(Button(plan_.DefaultAnswer()))) button->setText(savedDefaultCaption_);
}

void MsgBoxWindow::LButtonDown() { StopTimeout(); }

void MsgBoxWindow::Command(unsigned id)
{
    StopTimeout();
    if (ended_) return;
    switch (id) {
    case IDEXTHELP: {
        const QString path = PathToUnicode(ChangeFileExt(ParamStr0(), ".hlp"));
        if (QFileInfo(path).isFile() && HelpOpener()) HelpOpener()(path, plan_.helpContext);
        return;
    }
    case IDCANCEL:
        // Escape and the close box: not while the buttons wait to be enabled.
        if (disabled_.isActive()) return;
        if (plan_.escape != 0) End(plan_.escape);
        return;
    case IDCLOSE:
    case IDC_CHECKBOX:
        return;
    case IDREPORT:
        if (plan_.report) plan_.report(UnicodeToWin1252(plan_.message).c_str(), plan_.reportData);
        return;
    default: {
        int answer = static_cast<int>(id);
        const auto* check = qobject_cast<QCheckBox*>(Item(IDC_CHECKBOX));
        if (check && check->isChecked()) answer |= static_cast<int>(plan_.checkBit);
        End(answer);
    }
    }
}

void MsgBoxWindow::End(int answer)
{
    ended_ = true;
    timeout_.stop();
    disabled_.stop();
    if (waiting_) {
        waiting_->answer = answer;
        waiting_->loop.exit(0);
    }
}

bool MsgBoxWindow::OnKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (key != Qt::Key_C || !(modifiers & Qt::ControlModifier)) return false;
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(ClipboardText());
    return true;
}

QString MsgBoxWindow::ClipboardText() const
{
    // Line feeds: the desktop's clipboard makes them its own line ends.
    QString text = kRule + u'\n' + windowTitle() + u'\n' + kRule + u'\n' + plan_.message + u'\n' + kRule + u'\n';
    for (QWidget* item : Items())
        if (const auto* button = qobject_cast<const QAbstractButton*>(item))
            text += QString(button->text()).remove(u'&') + QStringLiteral("   ");
    text += u'\n' + kRule + u'\n';
    return text.left(MaxClipboardText);
}

void MsgBoxWindow::paintEvent(QPaintEvent* event)
{
    if (!plan_.band.isValid()) return QDialog::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    // The band reaches down to the message's bottom edge.
    for (const DialogItemRecord& item : plan_.dialog.items)
        if (item.item.id == IDC_MESSAGETEXT)
            painter.fillRect(QRect(0, 0, width(), ToPixelsY(item.item.y + item.item.cy)), plan_.band);
}

bool MsgBoxWindow::event(QEvent* event)
{
    // A click on the title bar, where the desktop reports one.
    if (event->type() == QEvent::NonClientAreaMouseButtonPress) LButtonDown();
    return TemplateDialog::event(event);
}

void MsgBoxWindow::mousePressEvent(QMouseEvent* event)
{
    LButtonDown();
    QDialog::mousePressEvent(event);
}

void MsgBoxWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Command(IDCANCEL);
        return;
    }
    QDialog::keyPressEvent(event);
}

void MsgBoxWindow::reject() { Command(IDCANCEL); }

void MsgBoxWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (closeEnabled_) Command(IDCANCEL);
}

void MsgBoxWindow::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // Hidden by the program (not minimised): nothing is left to answer.
    if (event->spontaneous() || ended_) return;
    closed_ = true;
    if (waiting_) waiting_->loop.exit(0);
}

// ---- running the box ----

int MsgBoxWindow::Run(const ExtBoxPlan& plan, QWidget* owner)
{
    // The window belongs to its owner's window, which may be destroyed while the box runs.
    QPointer<MsgBoxWindow> window = new MsgBoxWindow(plan, owner ? owner->window() : nullptr);
    Waiting waiting;
    window->waiting_ = &waiting;
    QObject::connect(window, &QObject::destroyed, &waiting.loop, [&waiting] { waiting.loop.exit(0); });
    // The box holds off its owner's window, that window's parents and their other child windows,
    // as they are: nothing there is disabled, so nothing is drawn greyed and the keyboard's place
    // in the owner is kept. A window of its own (no parent) stays usable beside the box.
    FocusReturn focus(owner);
    window->setWindowModality(Qt::WindowModal);
    const ActivationReturn keys(window);
    window->InitDialog();
    window->show();
    window->Position();
    // Brought to the front (a platform without a window stack has nothing to raise).
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) window->raise();
    window->activateWindow();
    if (QWidget* button = window->Item(plan.DefaultAnswer())) button->setFocus();

    KeyDownFilter filter(window);
    qApp->installEventFilter(&filter);
    // A quit request ends this loop and, through Qt, every loop below it: the program's own loop
    // leaves as soon as the box returns.
    if (window && !waiting.answer && !window->Closed()) waiting.loop.exec();
    qApp->removeEventFilter(&filter);
    if (window) {
        window->waiting_ = nullptr;
        window->hide();
        delete window;
    }
    return waiting.answer.value_or(0);
}
