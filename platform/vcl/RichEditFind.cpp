#include "platform/vcl/RichEditFind.h"

#include <QTextCursor>
#include <algorithm>

namespace {

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

}  // namespace

int FindInText(const UnicodeString& text, const UnicodeString& what, int start, int end, TSearchTypes options,
               QChar before)
{
    if (what.isEmpty()) return -1;
    start = std::max(start, 0);
    end = std::min<qsizetype>(end, text.size());
    const Qt::CaseSensitivity cs = (options & stMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = start; at + what.size() <= end;) {
        at = text.indexOf(what, at, cs);
        if (at < 0 || at + what.size() > end) return -1;
        if (!(options & stWholeWord)) return static_cast<int>(at);
        const QChar left = at == start && !before.isNull() ? before : at > 0 ? text.at(at - 1) : QChar();
        const QChar right = at + what.size() < text.size() ? text.at(at + what.size()) : QChar();
        const bool leftOk = left.isNull() || !IsWordChar(left) || !IsWordChar(what.front());
        const bool rightOk = right.isNull() || !IsWordChar(right) || !IsWordChar(what.back());
        if (leftOk && rightOk) return static_cast<int>(at);
        ++at;
    }
    return -1;
}

int FindText(const TRichEdit& edit, const UnicodeString& what, int start, int length, TSearchTypes options)
{
    if (start < 0 || length <= 0) return -1;
    const long long end = static_cast<long long>(start) + length;
    // toPlainText gives one '\n' per line break: its positions are the control's.
    return FindInText(edit.toPlainText(), what, start, static_cast<int>(std::min<long long>(end, INT32_MAX)),
                      options);
}

void SetSelText(TRichEdit& edit, const UnicodeString& text)
{
    QTextCursor cursor = edit.textCursor();
    cursor.insertText(text);
    edit.setTextCursor(cursor);
}

void ScrollCaret(TRichEdit& edit) { edit.ensureCursorVisible(); }
