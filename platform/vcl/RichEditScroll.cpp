#include "platform/vcl/RichEditScroll.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace {

double BlockTop(const QTextDocument* doc, int number)
{
    return doc->documentLayout()->blockBoundingRect(doc->findBlockByNumber(number)).top();
}

double BlockBottom(const QTextDocument* doc, int number)
{
    return doc->documentLayout()->blockBoundingRect(doc->findBlockByNumber(number)).bottom();
}

}  // namespace

int GetFirstVisibleLine(const TRichEdit& edit)
{
    const QTextDocument* doc = edit.document();
    // Document coordinates start with the margin above the first line; a line hidden but for
    // that margin's worth of pixels does not count as showing.
    const double top = edit.verticalScrollBar()->value() + doc->documentMargin();
    const int last = doc->blockCount() - 1;
    // The first line whose bottom lies below the top of the view. The panes' lines are all one
    // height, so the guess from the first line is right or close, and only the lines up to it
    // need be laid out (a long pad is laid out a part at a time).
    const double height = BlockBottom(doc, 0) - BlockTop(doc, 0);
    int line = height > 0 ? std::clamp(static_cast<int>((top - BlockTop(doc, 0)) / height), 0, last) : 0;
    while (line > 0 && BlockBottom(doc, line - 1) > top + 0.5) --line;
    while (line < last && BlockBottom(doc, line) <= top + 0.5) ++line;
    return line;
}

void LineScroll(TRichEdit& edit, int /*columns*/, int lines)
{
    if (lines == 0) return;
    // Scrolling to a line needs the whole text laid out, and the scroll range to cover it.
    edit.FinishLayout();
    const QTextDocument* doc = edit.document();
    const int target = std::clamp(GetFirstVisibleLine(edit) + lines, 0, doc->blockCount() - 1);
    const double y = BlockTop(doc, target) - doc->documentMargin();
    edit.verticalScrollBar()->setValue(static_cast<int>(std::lround(y)));
}

void ScrollBy(TRichEdit& edit, int action)
{
    switch (action) {
    case SB_LINEUP: LineScroll(edit, 0, -1); break;
    case SB_LINEDOWN: LineScroll(edit, 0, 1); break;
    case SB_PAGEUP:
    case SB_PAGEDOWN: {
        const QTextDocument* doc = edit.document();
        const double lineHeight = doc->blockCount() > 0 ? BlockBottom(doc, 0) - BlockTop(doc, 0) : 0;
        const int page = lineHeight > 0 ? std::max(1, static_cast<int>(edit.viewport()->height() / lineHeight)) : 1;
        LineScroll(edit, 0, action == SB_PAGEUP ? -page : page);
        break;
    }
    default: break;
    }
}

QPoint PosFromChar(const TRichEdit& edit, int position)
{
    QTextCursor cursor(edit.document());
    cursor.setPosition(std::clamp(position, 0, edit.LastPosition()));
    return edit.cursorRect(cursor).topLeft() + edit.viewport()->pos();
}

void SetTabStops(TRichEdit& edit, int pixels)
{
    if (pixels > 0) edit.setTabStopDistance(pixels);
}

void ScrollByWholeLines(TRichEdit& edit)
{
    QScrollBar* bar = edit.verticalScrollBar();
    QObject::connect(bar, &QScrollBar::valueChanged, &edit, [&edit, bar](int value) {
        const QTextDocument* doc = edit.document();
        const int line = GetFirstVisibleLine(edit);
        // Only the margin above the line hidden: the line is whole, and starts the view. Part of
        // the line itself hidden: the view starts with the next one.
        const double lineTop = BlockTop(doc, line);
        int top = static_cast<int>(std::lround(lineTop - doc->documentMargin()));
        if (value > lineTop + 0.5 && line + 1 < doc->blockCount())
            top = static_cast<int>(std::lround(BlockTop(doc, line + 1) - doc->documentMargin()));
        top = std::min(top, bar->maximum());
        if (top != value) bar->setValue(top);
    });
}
