#pragma once
// The printer: the device the print dialog chose (a printer, or a PDF file), its capabilities in
// device pixels, a document of pages, and a canvas that writes text on the page. Coordinates
// start at the top left of the page's printable area, as on the printer's own device.
//
// A document printed into a file is made in memory and then put in place by the safe write, so a
// failed print never leaves a broken or half-written PDF, and needs no room in a temporary folder.
#include "platform/vcl/RichEdit.h"
#include "platform/vcl/Strings.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <functional>
#include <memory>
#include <optional>

// The capabilities GetDeviceCaps answers.
enum : int {
    HORZRES = 8,            // printable width
    VERTRES = 10,           // printable height
    LOGPIXELSX = 88,        // dots per inch across
    LOGPIXELSY = 90,        // dots per inch down
    PHYSICALWIDTH = 110,    // the whole sheet
    PHYSICALHEIGHT = 111,
    PHYSICALOFFSETX = 112,  // from the sheet's edge to the printable area
    PHYSICALOFFSETY = 113,
};

class QBuffer;
class QPdfWriter;
class TPrinter;

// The canvas font: a family, a size in points and a style. Height is negative, the character
// height in device pixels at the printer's resolution, as the canvas reports it.
struct TPrinterFont {
    UnicodeString Name = QStringLiteral("Courier New");
    int Size = 10;
    TFontStyles Style = 0;
    int Height() const;

private:
    friend class TPrinter;
    friend class TPrinterCanvas;
    const TPrinter* printer_ = nullptr;
};

// What the canvas wrote, for whoever watches the page being drawn (tests).
struct TTextOutCall {
    int page;  // 1-based
    int x;
    int y;
    UnicodeString text;
    TFontStyles style;
};

class TPrinterCanvas {
public:
    TPrinterFont Font;
    // Writes text with its top left at (X, Y) in the canvas font.
    void TextOut(int X, int Y, const UnicodeString& Text);
    // The width of text in the canvas font, in device pixels, as TextOut would write it.
    int TextWidth(const UnicodeString& Text);
    // Called with every text written.
    std::function<void(const TTextOutCall&)> OnTextOut;

private:
    friend class TPrinter;
    explicit TPrinterCanvas(TPrinter& owner) : owner_(owner) { Font.printer_ = &owner; }
    QFont PaintFont() const;
    TPrinter& owner_;
    // The measures of the font last measured in, and where.
    std::optional<QFontMetricsF> metrics_;
    QFont measured_;
    const QPaintDevice* measuredOn_ = nullptr;
};

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The device: the print dialog and tests set it up (printer, output file, page, margins).
    QPrinter& Device() { return *device_; }

    int GetDeviceCaps(int index) const;
    int PageWidth() const { return GetDeviceCaps(HORZRES); }
    int PageHeight() const { return GetDeviceCaps(VERTRES); }
    int PageNumber() const { return page_; }
    bool Printing() const { return painter_.isActive(); }
    TPrinterCanvas* Canvas() { return &canvas_; }

    // Starts a document; false (with LastError) when the device cannot take one: no printer, or
    // an output file that cannot be written.
    bool BeginDoc();
    void NewPage();
    // Ends the document; false (with LastError) when it did not reach the printer or its file
    // whole. The target file of a failed print is left as it was.
    bool EndDoc();
    UnicodeString LastError() const { return error_; }

private:
    friend class TPrinterCanvas;
    friend struct TPrinterFont;
    void Fail(const QString& reason);
    void DropDocument();
    std::unique_ptr<QPrinter> device_;
    QPainter painter_;
    TPrinterCanvas canvas_{*this};
    int page_ = 0;
    UnicodeString error_;
    // While a document for a file is printed: the file asked for, and the document being made.
    QString target_;
    std::unique_ptr<QBuffer> document_;
    std::unique_ptr<QPdfWriter> writer_;
};

// The one printer of the program.
TPrinter* Printer();
