#include "calc/Highlight.h"

#include "calc/FeetInch.h"
#include "config/Config.h"
#include "platform/vcl/RichEditScroll.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QFontMetrics>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <climits>

namespace {

// How a keyword row is written: each word as it stands, or each word in lower case, capitalised
// and upper case (sin, Sin, SIN).
enum class Forms { AsWritten, LowerCapitalUpper };

// The keywords in the order they are looked up. Matching is case-sensitive and whole-word, so
// every written form that is coloured is an entry of its own.
const struct {
    Forms forms;
    const char* words;
} kKeyWordRows[] = {
    {Forms::LowerCapitalUpper,
     "sin cos tan atan atan2 asin acos ln log log10 exp sqrt int abs rand stop"},
    {Forms::AsWritten, "instr Instr InStr INSTR"},
    {Forms::AsWritten, "instric instrIC Instric InstrIC InStrIc InStrIC INSTRIC"},
    {Forms::LowerCapitalUpper,
     "len trim left right mid asc chr str val lcase ucase if while function for"},
    {Forms::AsWritten,
     "endif Endif EndIf ENDIF endwhile Endwhile EndWhile ENDWHILE "
     "endfunction Endfunction EndFunction ENDFUNCTION endfor Endfor EndFor ENDFOR"},
    {Forms::AsWritten, "message Message MESSAGE"},
    {Forms::AsWritten, "msgbox Msgbox MSGBOX MsgBox"},
    {Forms::LowerCapitalUpper, "return vector break"},
    {Forms::AsWritten, "qsort Qsort QSort QSORT"},
    {Forms::AsWritten, "goto Goto GoTo GOTO"},
    {Forms::LowerCapitalUpper, "include else"},
    {Forms::AsWritten, "elseif Elseif ElseIf ELSEIF"},
    {Forms::LowerCapitalUpper, "case then to next end eq ne and or not gt lt ge le"},
    {Forms::AsWritten, "PI E GAMMA DEG PHI EOF$ TOTAL ANS"},
};

const char* const kDelimiters[] = {" ", "\t", "=", "(", ")", "+", "-", "/", "*",
                                   "<", ">", "^", "!", "[", "]", "|", "&", ","};

const TColor kPalette[] = {clBlack, clGreen, clRed, clBlue, clPurple, clNavy, clMaroon};

// Characters a length token may run over: digits, blank, both marks, minus, slash and point.
const QString kLengthTokenChars = QStringLiteral("0123456789 '\"-/.");

bool IsDigit(QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); }

TFontStyles StyleFromName(const UnicodeString& name)
{
    if (name == QLatin1String("Italic")) return fsItalic;
    if (name == QLatin1String("Bold")) return fsBold;
    if (name == QLatin1String("Underline")) return fsUnderline;
    if (name == QLatin1String("StrikeOut")) return fsStrikeOut;
    return 0;
}

}  // namespace

THighlight::THighlight()
{
    CommentStart = QStringLiteral("'");
    StringDelimiter = QStringLiteral("\"");
    DecimalPoint = QStringLiteral(".");
    for (const char* d : kDelimiters) Delimiters.push_back(QString::fromLatin1(d));
    Palette.assign(std::begin(kPalette), std::end(kPalette));
    LoadKeyWords();
}

void THighlight::LoadKeyWords()
{
    for (const auto& row : kKeyWordRows) {
        const QStringList words = QString::fromLatin1(row.words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& word : words) {
            QStringList forms{word};
            if (row.forms == Forms::LowerCapitalUpper)
                forms = {word, word.left(1).toUpper() + word.mid(1), word.toUpper()};
            for (const QString& form : forms) KeyWords.push_back({form, KeyWordColour});
        }
    }
    // The lookup finds the first entry of a word, so later entries must not replace it.
    keyWordIndex_.clear();
    for (size_t i = KeyWords.size(); i-- > 0;) keyWordIndex_.insert(KeyWords[i].Word, static_cast<int>(i));
}

int THighlight::FindKeyWordColour(const UnicodeString& word) const
{
    const auto hit = keyWordIndex_.constFind(word);
    return hit == keyWordIndex_.cend() ? 0 : KeyWords[static_cast<size_t>(*hit)].ColourIndex;
}

TColor THighlight::ColourOf(int index) const
{
    if (index >= 0 && static_cast<size_t>(index) < Palette.size()) return Palette[static_cast<size_t>(index)];
    return Palette.empty() ? clBlack : Palette[0];
}

int THighlight::DelimiterIndex(QChar ch) const
{
    for (size_t i = 0; i < Delimiters.size(); ++i)
        if (Delimiters[i].size() == 1 && Delimiters[i][0] == ch) return static_cast<int>(i);
    return -1;
}

int THighlight::NumberTokenKind(const UnicodeString& line, int start, int& length) const
{
    length = 0;
    const int from = start - 1;
    const int size = static_cast<int>(line.size());
    if (from < 0 || from >= size) return 0;
    int n = size - from;
    for (int q = from + 1; q < size; ++q) {
        if (!kLengthTokenChars.contains(line[q])) {
            n = q - from;
            break;
        }
    }
    const AnsiString text = UnicodeToWin1252(line.mid(from, n));
    TDimensionList unused;
    int first = 0, last = 0;
    // A malformed feet length (one that does not start here) makes the text no length at all.
    if (FindFeetLength(text, first, last, unused)) {
        if (first != 1) return 0;
        length = last;
        return 1;
    }
    if (FindInchLength(text, first, last, unused) && first == 1) {
        length = last;
        return 2;
    }
    return 0;
}

bool THighlight::ReadToken(const UnicodeString& line, int pos, Span& span,
                           const std::function<void(int)>& onDelimiter) const
{
    const int size = static_cast<int>(line.size());
    const QChar comment = CommentStart.isEmpty() ? QChar() : CommentStart[0];
    const QChar quote = StringDelimiter.isEmpty() ? QChar() : StringDelimiter[0];
    const QChar point = DecimalPoint.isEmpty() ? QChar() : DecimalPoint[0];

    int i = std::max(pos, 0);
    Kind kind = Kind::Word;
    for (; i < size; ++i) {
        const QChar ch = line[i];
        if (ch == comment) {
            kind = Kind::Comment;
            break;
        }
        if (ch == quote) {
            kind = Kind::String;
            break;
        }
        const int d = DelimiterIndex(ch);
        if (d < 0) break;
        if (d >= 2 && onDelimiter) onDelimiter(i);  // blank and tab stay uncoloured
    }
    span.start = i;
    if (i >= size) return false;

    int end = kind == Kind::Comment ? size : kind == Kind::String ? i + 1 : i;
    while (end < size) {
        const QChar ch = line[end];
        if (kind == Kind::String) {
            ++end;
            if (ch == quote) break;
            continue;
        }
        if (end == i && (IsDigit(ch) || ch == point)) {
            kind = Kind::Number;
            int length = 0;
            if (NumberTokenKind(line, i + 1, length) > 0) {
                end = i + length;
                break;
            }
        }
        if (DelimiterIndex(ch) >= 0 || ch == comment) break;
        ++end;
    }
    span.end = end;
    span.kind = kind;
    return true;
}

int THighlight::NextToken(const UnicodeString& line, UnicodeString& token, int& pos, int& start,
                          int& length) const
{
    token.clear();
    start = 0;
    length = 0;
    Span span;
    if (!ReadToken(line, pos, span, {})) {
        start = span.start;
        length = 1;
        pos = static_cast<int>(line.size());
        return -1;
    }
    start = span.start;
    length = span.end - span.start;
    token = line.mid(start, length);
    pos = span.end;
    switch (span.kind) {
    case Kind::Comment: return CommentColour;
    case Kind::String: return StringColour;
    case Kind::Number: return NumberColour;
    case Kind::Word: break;
    }
    return FindKeyWordColour(token);
}

// ---- colouring the pad ----

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

QTextCharFormat FormatOf(TColor colour, bool italic)
{
    QTextCharFormat format;
    format.setForeground(ToQColor(colour));
    format.setFontItalic(italic);
    format.setFontWeight(QFont::Normal);
    format.setFontUnderline(false);
    format.setFontStrikeOut(false);
    return format;
}

}  // namespace

// Lays the colours over the pad's lines as display formats, the way a syntax highlighter does:
// they are no edit, so they neither fill the undo history nor move the selection. It lives on the
// pad's document and goes with it.
class PadHighlighter : public QObject {
public:
    PadHighlighter(THighlight& owner, TRichEdit& editor)
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
            // Within a change of the text the document lays out what changed at its end. Outside
            // one, a text laid out only in part is laid out whole first, or laying these lines out
            // alone would end the text there (see TRichEdit::WatchLayout).
            if (!owner_.changing_ && owner_.editor_ && owner_.editor_->document() == owner_.document_)
                owner_.editor_->FinishLayout();
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
            for (const THighlight::LineFormat& f : owner_.LineFormats(block.text()))
                ranges.append({f.start, f.length, FormatOf(f.colour, f.italic)});
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
        const QScopedValueRollback<bool> changing(changing_, true);
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

    THighlight& owner_;
    QPointer<TRichEdit> editor_;
    QTextDocument* document_;
    bool changing_ = false;
};

THighlight::~THighlight() { delete attached_.data(); }

bool THighlight::ColouringOn() const
{
    return HighlightSyntax ? HighlightSyntax() : (!Config || Config->HighlightSyntax != 0);
}

void THighlight::SetEditor(TRichEdit* editor)
{
    Editor = editor;
    Attach();
}

void THighlight::Attach()
{
    QTextDocument* document = Editor ? Editor->document() : nullptr;
    if (attached_ && attached_->document() == document) return;
    delete attached_.data();
    // Made on the document, the highlighter goes with it when the pad goes first.
    if (document) attached_ = new PadHighlighter(*this, *Editor);
}

std::vector<THighlight::LineFormat> THighlight::LineFormats(const UnicodeString& text) const
{
    std::vector<LineFormat> formats;
    const auto colourDelimiter = [&](int column) {
        formats.push_back({column, 1, ColourOf(DelimiterColour), false});
    };
    int pos = 0;
    Span span;
    while (pos < text.size() && ReadToken(text, pos, span, colourDelimiter)) {
        const int length = span.end - span.start;
        int colour = 0;
        switch (span.kind) {
        case Kind::Comment: colour = CommentColour; break;
        case Kind::String: colour = StringColour; break;
        case Kind::Number: colour = NumberColour; break;
        case Kind::Word: colour = FindKeyWordColour(text.mid(span.start, length)); break;
        }
        formats.push_back({span.start, length, ColourOf(colour), span.kind == Kind::Comment});
        pos = span.end;
    }
    return formats;
}

void THighlight::HighlightLine(const UnicodeString& /*text*/, int lineIndex)
{
    // The highlighter reads the line from the pad itself.
    if (!ColouringOn() || !Editor) return;
    Attach();
    const QTextBlock block = Editor->document()->findBlockByNumber(lineIndex);
    if (block.isValid() && attached_) attached_->ColourLine(block);
}

void THighlight::HighlightLines(int first, int last)
{
    if (!ColouringOn() || !Editor) return;
    Attach();
    if (first > last) first = last;
    if (attached_) attached_->Colour(first, last);
}

void THighlight::OverlayRange(int start, int length, const QTextCharFormat& format)
{
    if (!Editor || length <= 0) return;
    QTextDocument* document = Editor->document();
    Editor->FinishLayout();  // see TRichEdit::WatchLayout
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

void THighlight::ColourRange(int start, int length, TColor colour)
{
    QTextCharFormat format;
    format.setForeground(ToQColor(colour));
    OverlayRange(start, length, format);
}

void THighlight::ColourLineRange(int line, int column, int length, TColor colour)
{
    if (!Editor) return;
    ColourRange(Editor->LineIndex(line) + column, length, colour);
}

void THighlight::StyleRange(int start, int length, const UnicodeString& style)
{
    const TFontStyles styles = StyleFromName(style);
    QTextCharFormat format;
    format.setFontWeight((styles & fsBold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic((styles & fsItalic) != 0);
    format.setFontUnderline((styles & fsUnderline) != 0);
    format.setFontStrikeOut((styles & fsStrikeOut) != 0);
    OverlayRange(start, length, format);
}

void THighlight::StyleLineRange(int line, int column, int length, const UnicodeString& style)
{
    if (!Editor) return;
    StyleRange(Editor->LineIndex(line) + column, length, style);
}
