#include "platform/vcl/Printers.h"

#include "platform/vcl/Graphics.h"
#include "platform/vcl/SafeWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

// A PDF that begins with its header and ends with its end-of-file mark was written whole.
bool IsWholePdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16) return false;
    if (!file.read(5).startsWith("%PDF-")) return false;
    file.seek(std::max<qint64>(0, file.size() - 64));
    return file.readAll().trimmed().endsWith("%%EOF");
}

}  // namespace

int TPrinterFont::Height() const
{
    const int dpi = printer_ ? printer_->GetDeviceCaps(LOGPIXELSY) : 96;
    // Points to pixels, rounded to the nearest pixel.
    return -static_cast<int>((static_cast<long long>(Size) * dpi + 36) / 72);
}

void TPrinterCanvas::TextOut(int X, int Y, const UnicodeString& Text)
{
    if (OnTextOut) OnTextOut({owner_.page_, X, Y, Text, Font.Style});
    if (!owner_.painter_.isActive() || Text.isEmpty()) return;
    QFont font(InstalledFamily(Font.Name));
    font.setPixelSize(std::max(1, std::abs(Font.Height())));
    font.setBold((Font.Style & fsBold) != 0);
    font.setItalic((Font.Style & fsItalic) != 0);
    font.setUnderline((Font.Style & fsUnderline) != 0);
    font.setStrikeOut((Font.Style & fsStrikeOut) != 0);
    QPainter& painter = owner_.painter_;
    if (painter.font() != font) painter.setFont(font);
    // The canvas places a text by its top; the painter by its base line.
    painter.drawText(QPoint(X, Y + painter.fontMetrics().ascent()), Text);
}

TPrinter::TPrinter() : device_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrinter::~TPrinter()
{
    if (painter_.isActive()) painter_.end();
    DropTemporary();
}

int TPrinter::GetDeviceCaps(int index) const
{
    const QRectF page = device_->pageRect(QPrinter::DevicePixel);
    const QRectF paper = device_->paperRect(QPrinter::DevicePixel);
    switch (index) {
    case HORZRES: return static_cast<int>(page.width());
    case VERTRES: return static_cast<int>(page.height());
    case LOGPIXELSX: return device_->logicalDpiX();
    case LOGPIXELSY: return device_->logicalDpiY();
    case PHYSICALWIDTH: return static_cast<int>(paper.width());
    case PHYSICALHEIGHT: return static_cast<int>(paper.height());
    case PHYSICALOFFSETX: return static_cast<int>(page.left() - paper.left());
    case PHYSICALOFFSETY: return static_cast<int>(page.top() - paper.top());
    default: return 0;
    }
}

void TPrinter::Fail(const QString& reason)
{
    if (error_.isEmpty()) error_ = reason;
}

void TPrinter::DropTemporary()
{
    if (temporary_.isEmpty()) return;
    QFile::remove(temporary_);
    const QPrinter::OutputFormat format = device_->outputFormat();
    device_->setOutputFileName(target_);
    device_->setOutputFormat(format);
    temporary_.clear();
    target_.clear();
}

bool TPrinter::BeginDoc()
{
    error_.clear();
    page_ = 0;
    if (painter_.isActive()) {
        Fail(QStringLiteral("A document is already being printed."));
        return false;
    }
    const QString target = device_->outputFileName();
    if (!target.isEmpty()) {
        const QFileInfo info(target);
        if (info.isDir()) {
            Fail(QStringLiteral("%1 is a folder.").arg(QDir::toNativeSeparators(target)));
            return false;
        }
        // The document is made aside and put in place by the safe write once it is whole, so a
        // failed print never leaves the target worse than it was.
        QTemporaryFile file(QDir::tempPath() + QStringLiteral("/plumo-print-XXXXXX.pdf"));
        file.setAutoRemove(false);
        if (!file.open()) {
            Fail(QStringLiteral("Cannot make a temporary file in %1: %2")
                     .arg(QDir::toNativeSeparators(QDir::tempPath()), file.errorString()));
            return false;
        }
        file.close();
        target_ = target;
        temporary_ = file.fileName();
        const QPrinter::OutputFormat format = device_->outputFormat();
        device_->setOutputFileName(temporary_);
        device_->setOutputFormat(format);
    }
    if (!painter_.begin(device_.get())) {
        Fail(target.isEmpty() ? QStringLiteral("No printer could start the document.")
                              : QStringLiteral("Cannot write %1.").arg(QDir::toNativeSeparators(target)));
        DropTemporary();
        return false;
    }
    page_ = 1;
    // Each document starts with the canvas font in its regular style.
    canvas_.Font.Style = 0;
    return true;
}

void TPrinter::NewPage()
{
    if (!painter_.isActive()) return;
    if (!device_->newPage()) Fail(QStringLiteral("The printer could not start a new page."));
    ++page_;
}

bool TPrinter::EndDoc()
{
    if (!painter_.isActive()) {
        Fail(QStringLiteral("No document was being printed."));
        return false;
    }
    if (!painter_.end() || device_->printerState() == QPrinter::Error)
        Fail(QStringLiteral("The printer did not finish the document."));
    if (!temporary_.isEmpty()) {
        if (error_.isEmpty() && !IsWholePdf(temporary_))
            Fail(QStringLiteral("The file %1 could not be written whole (is the disk full?).")
                     .arg(QDir::toNativeSeparators(target_)));
        if (error_.isEmpty()) {
            QFile made(temporary_);
            if (!made.open(QIODevice::ReadOnly)) {
                Fail(QStringLiteral("The file %1 could not be written: %2")
                         .arg(QDir::toNativeSeparators(target_), made.errorString()));
            } else {
                const QByteArray bytes = made.readAll();
                const SafeWriteResult written =
                    SafeWriteFile(target_, std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
                if (!written)
                    Fail(QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(target_), written.reason));
            }
        }
        // The temporary copy goes in every case.
        DropTemporary();
    }
    return error_.isEmpty();
}

TPrinter* Printer()
{
    // Made on first use and gone with the application object, before Qt's print support is.
    static TPrinter* printer = nullptr;
    if (!printer) {
        printer = new TPrinter();
        qAddPostRoutine([] {
            delete printer;
            printer = nullptr;
        });
    }
    return printer;
}
