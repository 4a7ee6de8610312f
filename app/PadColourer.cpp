#include "app/PadColourer.h"

#include "config/Config.h"
#include "platform/vcl/RichEditScroll.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <climits>

namespace {

// Each line's state says whether its colours are those of its present text. Lines coloured by hand
// (or left plain while colouring is off) are not coloured again until an edit or HighlightLines
// asks; new and changed lines are coloured when they are shown.
constexpr int kUncoloured = 0;
constexpr int kColoured = 1;
constexpr int kPending = 2;  // a line that never was coloured carries the document's -1

bool IsPending(const QTextBlock& block) { return block.userState() == kPending || block.userState() == -1; }

// Up to this many lines are coloured at once when they change; beyond it only the lines in view
// are, and the others as they come into view, so that opening or pasting a long text does not
// wait for every line of it to be coloured.
constexpr int kLinesColouredAtOnce = 500;

TFontStyles StyleFromName(const UnicodeString& name)
{
    if (name == QLatin1String("Italic")) return fsItalic;
    if (name == QLatin1String("Bold")) return fsBold;
    if (name == QLatin1String("Underline")) return fsUnderline;
    if (name == QLatin1String("StrikeOut")) return fsStrikeOut;
    return 0;
}

// A format that sets every style, so that it replaces whatever style the text had.
QTextCharFormat StyleFormat(TFontStyles styles)
{
    QTextCharFormat format;
    format.setFontWeight((styles & fsBold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic((styles & fsItalic) != 0);
    format.setFontUnderline((styles & fsUnderline) != 0);
    format.setFontStrikeOut((styles & fsStrikeOut) != 0);
    return format;
}

QTextCharFormat FormatOf(const THighlight::LineFormat& token)
{
    QTextCharFormat format = StyleFormat(token.italic ? TFontStyles{fsItalic} : TFontStyles{0});
    format.setForeground(ToQColor(token.colour));
    return format;
}

}  // namespace

// Lays the colours over the pad's lines as display formats, the way a syntax highlighter does:
// they are no edit, so they neither fill the undo history nor move the selection. It lives on the
// pad's document and goes with it.
class PadHighlighter : public QObject {
public:
    PadHighlighter(TPadColourer& owner, TRichEdit& editor)
        : QObject(editor.document()), owner_(owner), editor_(&editor), document_(editor.document())
    {
        connect(document_, &QTextDocument::contentsChange, this, &PadHighlighter::Changed);
        editor.viewport()->installEventFilter(this);
    }

    QTextDocument* document() const { return document_; }

    // Colours the lines first to last that are not coloured for their present text.
    void Colour(int first, int last)
    {
        first = std::max(first, 0);
        QTextBlock block = document_->findBlockByNumber(first);
        if (last - first < kLinesColouredAtOnce) {
            Recolour recolour(*this);
            for (int i = first; i <= last && block.isValid(); ++i, block = block.next())
                if (block.userState() != kColoured) recolour.Line(block);
            return;
        }
        for (int i = first; i <= last && block.isValid(); ++i, block = block.next())
            if (block.userState() != kColoured) block.setUserState(kPending);
        ColourShownLines();
    }

    void ColourLine(const QTextBlock& block) { Recolour(*this).Line(block); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && editor_ && watched == editor_->viewport()) ColourShownLines();
        return false;
    }

private:
    // Lines coloured together are laid out again together, once, when it goes: each relayout
    // of a long pad passes over all its lines.
    class Recolour {
    public:
        explicit Recolour(PadHighlighter& owner) : owner_(owner) {}
        ~Recolour()
        {
            if (from_ >= to_) return;
            // The text control lays the rest of a partly laid-out text out first when lines are laid
            // out again from here.
            owner_.document_->markContentsDirty(from_, to_ - from_);
        }
        void Line(QTextBlock block)
        {
            if (!owner_.ColourBlock(block)) return;
            from_ = std::min(from_, block.position());
            to_ = std::max(to_, block.position() + block.length());
        }

    private:
        PadHighlighter& owner_;
        int from_ = INT_MAX;
        int to_ = 0;
    };

    // Lays the line's colours over it; whether they differ from those it had.
    bool ColourBlock(QTextBlock block)
    {
        QList<QTextLayout::FormatRange> ranges;
        if (owner_.ColouringOn()) {
            for (const THighlight::LineFormat& f : owner_.Syntax.LineFormats(block.text()))
                ranges.append({f.start, f.length, FormatOf(f)});
            block.setUserState(kColoured);
        } else {
            block.setUserState(kUncoloured);
        }
        QTextLayout* layout = block.layout();
        if (layout->formats() == ranges) return false;
        layout->setFormats(ranges);
        return true;
    }

    void Changed(int from, int removed, int added)
    {
        const QTextBlock first = document_->findBlock(from);
        if (!first.isValid()) return;
        QTextBlock last = document_->findBlock(from + added + (removed > 0 ? 1 : 0));
        if (!last.isValid()) last = document_->lastBlock();
        // A long change has its first screenful coloured now, while the document lays the change
        // out anyway (a new text is shown from its top); the rest waits until it is shown.
        const bool atOnce = last.blockNumber() - first.blockNumber() < kLinesColouredAtOnce;
        int now = atOnce ? INT_MAX : ScreenLines();
        Recolour recolour(*this);
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            if (now-- > 0)
                recolour.Line(block);
            else
                block.setUserState(kPending);
            if (block == last) break;
        }
        if (!atOnce && editor_) editor_->viewport()->update();
    }

    int ScreenLines() const
    {
        if (!editor_) return 0;
        return editor_->viewport()->height() / std::max(1, QFontMetrics(document_->defaultFont()).lineSpacing()) + 2;
    }

    // The lines in the pad's view that wait for their colours get them.
    void ColourShownLines()
    {
        if (!editor_ || !editor_->isVisible() || !owner_.ColouringOn() || editor_->document() != document_) return;
        // From the first line in view down to the first one below it.
        const int bottom = editor_->verticalScrollBar()->value() + editor_->viewport()->height();
        const QAbstractTextDocumentLayout* layout = document_->documentLayout();
        Recolour recolour(*this);
        for (QTextBlock block = document_->findBlockByNumber(GetFirstVisibleLine(*editor_));
             block.isValid() && layout->blockBoundingRect(block).top() < bottom; block = block.next())
            if (IsPending(block)) recolour.Line(block);
    }

    TPadColourer& owner_;
    QPointer<TRichEdit> editor_;
    QTextDocument* document_;
};

TPadColourer::~TPadColourer() { delete attached_.data(); }

bool TPadColourer::ColouringOn() const
{
    return HighlightSyntax ? HighlightSyntax() : (!Config || Config->HighlightSyntax != 0);
}

void TPadColourer::SetEditor(TRichEdit* editor)
{
    Editor = editor;
    Attach();
}

void TPadColourer::Attach()
{
    QTextDocument* document = Editor ? Editor->document() : nullptr;
    if (attached_ && attached_->document() == document) return;
    delete attached_.data();
    // Made on the document, the highlighter goes with it when the pad goes first.
    if (document) attached_ = new PadHighlighter(*this, *Editor);
}

void TPadColourer::HighlightLine(const UnicodeString& /*text*/, int lineIndex)
{
    // The highlighter reads the line from the pad itself.
    if (!ColouringOn() || !Editor) return;
    Attach();
    const QTextBlock block = Editor->document()->findBlockByNumber(lineIndex);
    if (block.isValid() && attached_) attached_->ColourLine(block);
}

void TPadColourer::HighlightLines(int first, int last)
{
    if (!ColouringOn() || !Editor) return;
    Attach();
    if (first > last) first = last;
    if (attached_) attached_->Colour(first, last);
}

void TPadColourer::OverlayRange(int start, int length, const QTextCharFormat& format)
{
    if (!Editor || length <= 0) return;
    QTextDocument* document = Editor->document();
    const int end = std::min(start + length, Editor->LastPosition());
    for (QTextBlock block = document->findBlock(std::max(start, 0)); block.isValid() && block.position() < end;
         block = block.next()) {
        const int from = std::max(start, block.position()) - block.position();
        const int to = std::min(end, block.position() + block.length() - 1) - block.position();
        if (to <= from) continue;
        QList<QTextLayout::FormatRange> ranges = block.layout()->formats();
        QTextLayout::FormatRange range;
        range.start = from;
        range.length = to - from;
        range.format = format;
        ranges.append(range);
        block.layout()->setFormats(ranges);
        // Coloured by hand: the next HighlightLines colours the line again.
        block.setUserState(kUncoloured);
        document->markContentsDirty(block.position(), block.length());
    }
}

void TPadColourer::ColourRange(int start, int length, TColor colour)
{
    QTextCharFormat format;
    format.setForeground(ToQColor(colour));
    OverlayRange(start, length, format);
}

void TPadColourer::ColourLineRange(int line, int column, int length, TColor colour)
{
    if (!Editor) return;
    ColourRange(Editor->LineIndex(line) + column, length, colour);
}

void TPadColourer::StyleRange(int start, int length, const UnicodeString& style)
{
    OverlayRange(start, length, StyleFormat(StyleFromName(style)));
}

void TPadColourer::StyleLineRange(int line, int column, int length, const UnicodeString& style)
{
    if (!Editor) return;
    StyleRange(Editor->LineIndex(line) + column, length, style);
}
