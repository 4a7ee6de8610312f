#include "platform/vcl/Printers.h"

#include "platform/vcl/Graphics.h"
#include "platform/vcl/SafeWrite.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <climits>
#include <cmath>

namespace {

// A PDF that begins with its header and ends with its end-of-file mark was made whole.
bool IsWholePdf(const QByteArray& bytes)
{
    return bytes.size() >= 16 && bytes.startsWith("%PDF-") && bytes.right(64).trimmed().endsWith("%%EOF");
}

}  // namespace

int TPrinterFont::Height() const
{
    const int dpi = printer_ ? printer_->GetDeviceCaps(LOGPIXELSY) : 96;
    // Points to pixels, rounded to the nearest pixel.
    return -static_cast<int>((static_cast<long long>(Size) * dpi + 36) / 72);
}

QFont TPrinterCanvas::PaintFont() const
{
    QFont font(InstalledFamily(Font.Name));
    font.setPixelSize(std::max(1, std::abs(Font.Height())));
    font.setBold((Font.Style & fsBold) != 0);
    font.setItalic((Font.Style & fsItalic) != 0);
    font.setUnderline((Font.Style & fsUnderline) != 0);
    font.setStrikeOut((Font.Style & fsStrikeOut) != 0);
    return font;
}

void TPrinterCanvas::TextOut(int X, int Y, const UnicodeString& Text)
{
    if (OnTextOut) OnTextOut({owner_.page_, X, Y, Text, Font.Style});
    if (!owner_.painter_.isActive() || Text.isEmpty()) return;
    const QFont font = PaintFont();
    QPainter& painter = owner_.painter_;
    if (painter.font() != font) painter.setFont(font);
    // The canvas places a text by its top; the painter by its base line.
    painter.drawText(QPoint(X, Y + painter.fontMetrics().ascent()), Text);
}

int TPrinterCanvas::TextWidth(const UnicodeString& Text)
{
    const QFont font = PaintFont();
    QPainter& painter = owner_.painter_;
    // Measured on the device that draws it, so that what fits is what the page shows.
    QPaintDevice* device = painter.isActive() ? painter.device() : owner_.device_.get();
    if (!metrics_ || measured_ != font || measuredOn_ != device) {
        metrics_.emplace(font, device);
        measured_ = font;
        measuredOn_ = device;
    }
    return static_cast<int>(std::min(std::ceil(metrics_->horizontalAdvance(Text)), double(INT_MAX)));
}

TPrinter::TPrinter() : device_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrinter::~TPrinter()
{
    if (painter_.isActive()) painter_.end();
    DropDocument();
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

void TPrinter::DropDocument()
{
    writer_.reset();
    document_.reset();
    target_.clear();
}

bool TPrinter::BeginDoc()
{
    error_.clear();
    page_ = 0;
    canvas_.metrics_.reset();  // each document is measured on its own device
    if (painter_.isActive()) {
        Fail(QStringLiteral("A document is already being printed."));
        return false;
    }
    const QString target = device_->outputFileName();
    QPaintDevice* surface = device_.get();
    if (!target.isEmpty()) {
        if (QFileInfo(target).isDir()) {
            Fail(QStringLiteral("%1 is a folder.").arg(QDir::toNativeSeparators(target)));
            return false;
        }
        // The document is made in memory on the chosen page and put in place by the safe write
        // once it is whole: a failed print never leaves the target worse than it was, and a full
        // temporary folder does not stop it.
        document_ = std::make_unique<QBuffer>();
        document_->open(QIODevice::WriteOnly);
        writer_ = std::make_unique<QPdfWriter>(document_.get());
        writer_->setResolution(device_->resolution());
        writer_->setPageLayout(device_->pageLayout());
        writer_->setTitle(device_->docName());
        writer_->setCreator(device_->creator());
        writer_->setPdfVersion(device_->pdfVersion());
        target_ = target;
        surface = writer_.get();
    }
    if (!painter_.begin(surface)) {
        Fail(target.isEmpty() ? QStringLiteral("No printer could start the document.")
                              : QStringLiteral("The document for %1 could not be started.")
                                    .arg(QDir::toNativeSeparators(target)));
        DropDocument();
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
    const bool started = writer_ ? writer_->newPage() : device_->newPage();
    if (!started) Fail(QStringLiteral("The printer could not start a new page."));
    ++page_;
}

bool TPrinter::EndDoc()
{
    if (!painter_.isActive()) {
        Fail(QStringLiteral("No document was being printed."));
        return false;
    }
    if (!painter_.end() || (!writer_ && device_->printerState() == QPrinter::Error))
        Fail(QStringLiteral("The printer did not finish the document."));
    if (writer_) {
        writer_.reset();  // the writer finishes the document it made
        const QByteArray& bytes = document_->data();
        if (error_.isEmpty() && !IsWholePdf(bytes))
            Fail(QStringLiteral("The document for %1 could not be made whole.").arg(QDir::toNativeSeparators(target_)));
        if (error_.isEmpty()) {
            const SafeWriteResult written =
                SafeWriteFile(target_, std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
            if (!written)
                Fail(QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(target_), written.reason));
        }
        DropDocument();
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
