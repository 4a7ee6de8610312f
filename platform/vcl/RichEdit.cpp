#include "platform/vcl/RichEdit.h"

#include "platform/vcl/Controls.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

QColor ToQColor(TColor colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

TColor FromQColor(const QColor& colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

// ---- TTextAttributes ----

static QTextCharFormat SelectionFormat(const TRichEdit& edit, const QTextCursor& cursor)
{
    if (!cursor.hasSelection()) return edit.currentCharFormat();
    // A cursor's format is that of the character before it: stand behind the first one.
    QTextCursor probe(edit.document());
    probe.setPosition(cursor.selectionStart() + 1);
    return probe.charFormat();
}

TColor TTextAttributes::Color() const
{
    const QTextCharFormat format = SelectionFormat(owner_, owner_.Cursor());
    if (format.hasProperty(QTextFormat::ForegroundBrush)) return FromQColor(format.foreground().color());
    return FromQColor(owner_.palette().color(QPalette::Text));
}

void TTextAttributes::SetColor(TColor colour)
{
    QTextCharFormat format;
    format.setForeground(ToQColor(colour));
    owner_.MergeFormat(format);
}

TFontStyles TTextAttributes::Style() const
{
    const QTextCharFormat format = SelectionFormat(owner_, owner_.Cursor());
    TFontStyles style = 0;
    if (format.fontWeight() >= QFont::Bold) style |= fsBold;
    if (format.fontItalic()) style |= fsItalic;
    if (format.fontUnderline()) style |= fsUnderline;
    if (format.fontStrikeOut()) style |= fsStrikeOut;
    return style;
}

void TTextAttributes::SetStyle(TFontStyles style)
{
    QTextCharFormat format;
    format.setFontWeight((style & fsBold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic((style & fsItalic) != 0);
    format.setFontUnderline((style & fsUnderline) != 0);
    format.setFontStrikeOut((style & fsStrikeOut) != 0);
    owner_.MergeFormat(format);
}

UnicodeString TTextAttributes::Name() const
{
    const QStringList families = SelectionFormat(owner_, owner_.Cursor()).fontFamilies().toStringList();
    return families.isEmpty() ? owner_.document()->defaultFont().family() : families.front();
}

void TTextAttributes::SetName(const UnicodeString& family)
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList{family});
    owner_.MergeFormat(format);
}

int TTextAttributes::Size() const
{
    const double points = SelectionFormat(owner_, owner_.Cursor()).fontPointSize();
    return points > 0 ? qRound(points) : owner_.document()->defaultFont().pointSize();
}

void TTextAttributes::SetSize(int points)
{
    if (points <= 0) return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    owner_.MergeFormat(format);
}

QTextCharFormat DisplayedFormat(const TRichEdit& edit, int position)
{
    QTextCursor cursor(edit.document());
    cursor.setPosition(std::clamp(position, 0, edit.LastPosition()));
    const QTextBlock block = cursor.block();
    // A cursor's format is that of the character before it: stand behind this one.
    if (position < block.position() + block.length() - 1) cursor.movePosition(QTextCursor::NextCharacter);
    QTextCharFormat format = cursor.charFormat();
    const int column = position - block.position();
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
        if (column >= range.start && column < range.start + range.length) format.merge(range.format);
    return format;
}

// ---- TRichEditLines ----

int TRichEditLines::Count() const
{
    const QTextDocument* doc = owner_.document();
    int count = doc->blockCount();
    if (doc->lastBlock().length() <= 1) --count;  // an empty last line is not counted
    return count;
}

UnicodeString TRichEditLines::operator[](int index) const
{
    const QTextBlock block = owner_.document()->findBlockByNumber(index);
    return block.isValid() ? block.text() : UnicodeString();
}

void TRichEditLines::Set(int index, const UnicodeString& text)
{
    const QTextBlock block = owner_.document()->findBlockByNumber(index);
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(text, QTextCharFormat());
}

void TRichEditLines::Add(const UnicodeString& text)
{
    QTextCursor cursor(owner_.document());
    cursor.movePosition(QTextCursor::End);
    if (owner_.document()->lastBlock().length() > 1) {
        // The text ends without a break: the new line goes behind one.
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertText(text, QTextCharFormat());
    } else {
        cursor.insertText(text, QTextCharFormat());
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    }
    owner_.SetCursor(cursor);
}

void TRichEditLines::Insert(int index, const UnicodeString& text)
{
    if (index < 0) return;
    if (index >= Count()) {
        if (index == Count()) Add(text);
        return;
    }
    QTextCursor cursor(owner_.document()->findBlockByNumber(index));
    cursor.insertText(text, QTextCharFormat());
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
}

void TRichEditLines::Delete(int index)
{
    const QTextBlock block = owner_.document()->findBlockByNumber(index);
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    const QTextBlock next = block.next();
    if (next.isValid())
        cursor.setPosition(next.position(), QTextCursor::KeepAnchor);
    else
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void TRichEditLines::Clear() { owner_.clear(); }

// ---- TRichEdit ----

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent)
{
    setLineWrapMode(QTextEdit::NoWrap);
    // Pads are plain text: pasted text brings no formats of its own.
    setAcceptRichText(false);
    // Only an edited pane keeps an undo history (SetUndoEnabled); the panes the program fills
    // would only grow one.
    document()->setUndoRedoEnabled(false);
    // The panes have no menu of their own: edits must come through the keys and commands that
    // keep the line numbers and the answers in step with the pad.
    setContextMenuPolicy(Qt::NoContextMenu);
    WatchLayout(document());
}

void TRichEdit::WatchLayout(QTextDocument* doc)
{
    layingOut_ = !doc->isEmpty();
    changing_ = false;
    QObject::connect(doc, &QTextDocument::contentsChange, this, [this, doc](int from, int /*removed*/, int added) {
        if (doc != document()) return;
        changing_ = true;
        NoteChange(from, added);
        const int length = doc->characterCount();
        if (length <= 1) {  // no text: nothing is left to lay out
            layingOut_ = false;
            return;
        }
        if (from == 0 && added >= length) {  // a new text: laid out from now on, a part at a time
            layingOut_ = true;
            return;
        }
        if (!layingOut_) return;
        // Changed in part before the rest is laid out, the text would be laid out wrongly: the
        // lines not reached yet would be taken as laid out, at no height, and the text would end
        // there for the scroll bar and the caret. The change has the whole text laid out at once.
        layingOut_ = false;
        doc->markContentsDirty(0, length);
    });
    QObject::connect(doc, &QTextDocument::contentsChanged, this, [this, doc] {
        if (doc == document()) changing_ = false;
    });
    const QAbstractTextDocumentLayout* layout = doc->documentLayout();
    // The layout reports its size after each part; it has finished once it has reached the end.
    QObject::connect(layout, &QAbstractTextDocumentLayout::documentSizeChanged, this, [this, doc] {
        if (doc == document() && layingOut_ && !changing_ && doc->lastBlock().layout()->lineCount() > 0)
            layingOut_ = false;
    });
    // Lines laid out again outside a change (display formats laid over them) while the rest is
    // still to come: the layout now takes the text to end behind them.
    QObject::connect(layout, &QAbstractTextDocumentLayout::update, this, [this, doc] {
        if (doc != document() || !layingOut_ || changing_) return;
        layingOut_ = false;
        LayOutTheRest(*doc);
        FinishLayout();
    });
}

void TRichEdit::LayOutTheRest(QTextDocument& doc)
{
    // The text is laid out from its start on, without a gap: find the first line the layout has
    // not reached and lay out from there to the end.
    int laid = 0;
    int count = doc.blockCount();
    while (laid < count) {
        const int middle = laid + (count - laid) / 2;
        if (doc.findBlockByNumber(middle).layout()->lineCount() > 0)
            laid = middle + 1;
        else
            count = middle;
    }
    const QTextBlock rest = doc.findBlockByNumber(laid);
    if (rest.isValid()) doc.markContentsDirty(rest.position(), doc.characterCount() - rest.position());
}

void TRichEdit::NoteChange(int from, int added)
{
    const QTextDocument* doc = document();
    const int count = doc->blockCount();
    const int grown = count - blockCount_;
    blockCount_ = count;
    if (userInput_ == 0 && !middleDown_) return;
    const int end = doc->characterCount() - 1;
    const int first = doc->findBlock(std::clamp(from, 0, end)).blockNumber();
    const int last = doc->findBlock(std::clamp(from + added, 0, end)).blockNumber();
    if (editedLast_ < 0) {
        editedFirst_ = first;
        editedLast_ = last;
        return;
    }
    // Lines noted before move with the lines added or taken out before them (the first of them
    // only matters when it stays first, and then nothing moved it).
    if (first <= editedLast_) editedLast_ = std::max(editedLast_ + grown, first);
    editedFirst_ = std::min(editedFirst_, first);
    editedLast_ = std::max(editedLast_, last);
}

void TRichEdit::BeginUserInput(bool byMouse)
{
    if (userInput_++ == 0 && !middleDown_) {
        editedLast_ = -1;
        blockCount_ = document()->blockCount();
        byMouse_ = byMouse;
    }
}

void TRichEdit::EndUserInput()
{
    if (--userInput_ > 0 || middleDown_ || editedLast_ < 0) return;
    const int lines = LineCount();
    const int first = std::clamp(editedFirst_, 0, lines - 1);
    const int last = std::clamp(editedLast_, first, lines - 1);
    editedLast_ = -1;
    if (OnUserEdit) OnUserEdit(first, last, byMouse_);
}

void TRichEdit::UserEdit(const std::function<void()>& edit)
{
    BeginUserInput(false);
    edit();
    // A command given as an edit counts as one even when there was nothing for it to change.
    if (userInput_ == 1 && !middleDown_ && editedLast_ < 0) NoteChange(SelStart(), 0);
    EndUserInput();
}

bool TRichEdit::event(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusOut && middleDown_) {
        // The middle button came up elsewhere: its click pasted nothing here.
        middleDown_ = false;
        editedLast_ = -1;
    }
    if (type != QEvent::KeyPress && type != QEvent::InputMethod) return QTextEdit::event(event);
    BeginUserInput(false);
    const bool handled = QTextEdit::event(event);
    EndUserInput();
    return handled;
}

bool TRichEdit::viewportEvent(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove && type != QEvent::Drop)
        return QTextEdit::viewportEvent(event);
    const bool middle = (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) &&
                        static_cast<const QMouseEvent*>(event)->button() == Qt::MiddleButton;
    BeginUserInput(true);
    // What the middle button pastes comes with its release, which others may see first.
    if (type == QEvent::MouseButtonPress) middleDown_ = middle;
    const bool handled = QTextEdit::viewportEvent(event);
    if (type == QEvent::MouseButtonRelease || (type == QEvent::MouseButtonPress && !middle)) middleDown_ = false;
    EndUserInput();
    return handled;
}

bool TRichEdit::BeyondScrollRange(const QTextCursor& cursor) const
{
    const double bottom = document()->documentLayout()->blockBoundingRect(cursor.block()).bottom();
    return bottom > verticalScrollBar()->maximum() + viewport()->height();
}

void TRichEdit::FinishLayout()
{
    layingOut_ = false;
    const QSizeF size = document()->documentLayout()->documentSize();
    // The view learns the new size only when the program next waits for events; a caret sent far
    // down before that would stop where the laid out part had ended.
    const int maximum = std::max(0, static_cast<int>(std::ceil(size.height())) - viewport()->height());
    QScrollBar* bar = verticalScrollBar();
    if (bar->maximum() != maximum) bar->setRange(0, maximum);
}

void TRichEdit::keyPressEvent(QKeyEvent* event)
{
    if (AltKeyTypesNothing(*event)) {
        event->ignore();
        return;
    }
    FinishLayout();
    QTextEdit::keyPressEvent(event);
}

UnicodeString TRichEdit::Text() const { return toPlainText(); }

void TRichEdit::SetText(const UnicodeString& text)
{
    UnicodeString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    setPlainText(plain);
}

void TRichEdit::Rewrite(const std::function<void(QTextCursor&)>& write)
{
    // The text goes into a fresh document with the old one's settings, which then takes the old
    // one's place. Written into the shown document, the text would push the caret to its end, and
    // bringing the caret back would lay out the whole text to find where it had stood.
    QTextDocument* old = document();
    auto* fresh = new QTextDocument(this);
    fresh->setUndoRedoEnabled(old->isUndoRedoEnabled());
    fresh->setDefaultFont(old->defaultFont());
    fresh->setDefaultTextOption(old->defaultTextOption());
    fresh->setDocumentMargin(old->documentMargin());
    fresh->setUseDesignMetrics(old->useDesignMetrics());
    QTextCursor cursor(fresh);
    cursor.beginEditBlock();
    write(cursor);
    cursor.endEditBlock();
    // The control deletes a document of its own making; one made here is deleted here.
    const bool ours = old->parent() == this;
    setDocument(fresh);
    WatchLayout(fresh);
    if (ours) delete old;
}

int TRichEdit::LastPosition() const { return document()->characterCount() - 1; }

QTextCursor TRichEdit::Cursor() const { return updating_ ? batch_ : textCursor(); }

void TRichEdit::SetCursor(const QTextCursor& cursor)
{
    if (updating_)
        batch_ = cursor;
    else
        setTextCursor(cursor);
}

void TRichEdit::MergeFormat(const QTextCharFormat& format)
{
    if (updating_ && batch_.hasSelection())
        batch_.mergeCharFormat(format);
    else
        mergeCurrentCharFormat(format);
}

void TRichEdit::BeginUpdate()
{
    if (updating_++ > 0) return;
    batch_ = textCursor();
    // One edit block: the document lays itself out once, when it ends.
    batch_.beginEditBlock();
}

void TRichEdit::EndUpdate()
{
    if (updating_ == 0 || --updating_ > 0) return;
    batch_.endEditBlock();
    setTextCursor(batch_);
}

int TRichEdit::SelStart() const { return Cursor().selectionStart(); }

void TRichEdit::SetSelStart(int position)
{
    QTextCursor cursor = Cursor();
    cursor.setPosition(std::clamp(position, 0, LastPosition()));
    if (!updating_ && BeyondScrollRange(cursor)) FinishLayout();  // the view follows the caret
    SetCursor(cursor);
}

int TRichEdit::SelLength() const
{
    const QTextCursor cursor = Cursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TRichEdit::SetSelLength(int length)
{
    QTextCursor cursor = Cursor();
    const int start = cursor.selectionStart();
    cursor.setPosition(start);
    cursor.setPosition(std::clamp(start + std::max(length, 0), start, LastPosition()),
                       QTextCursor::KeepAnchor);
    if (!updating_ && BeyondScrollRange(cursor)) FinishLayout();
    SetCursor(cursor);
}

int TRichEdit::LineIndex(int line) const
{
    const QTextBlock block =
        line == -1 ? Cursor().block() : document()->findBlockByNumber(line);
    return block.isValid() ? block.position() : -1;
}

int TRichEdit::LineFromChar(int position) const
{
    if (position < 0) return Cursor().blockNumber();
    return document()->findBlock(std::min(position, LastPosition())).blockNumber();
}

int TRichEdit::LineCount() const { return document()->blockCount(); }

intptr_t TRichEdit::Perform(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case EM_GETLINECOUNT: return LineCount();
    case EM_LINEINDEX: return LineIndex(static_cast<int>(static_cast<intptr_t>(wParam)));
    case EM_EXLINEFROMCHAR: return LineFromChar(static_cast<int>(lParam));
    default: return 0;
    }
}
