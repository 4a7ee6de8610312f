#pragma once
// The rich edit's text search and the edits that go with it: find a text in a range of
// character positions, replace the selection, and scroll the caret into view.
#include "platform/vcl/RichEdit.h"

using TSearchTypes = unsigned;
enum : TSearchTypes { stWholeWord = 1, stMatchCase = 2 };

enum : unsigned { EM_SCROLLCARET = 0x00B7 };

// The position of the first match of what that starts at or after start and ends within the
// range [start, start + length) (a range past the text ends with the text); -1 when there is
// none or what is empty. Case is ignored unless stMatchCase; with stWholeWord a match must not
// stand next to a letter, digit or underscore on a side where it has one itself.
int FindText(const TRichEdit& edit, const UnicodeString& what, int start, int length, TSearchTypes options);
// The same search in a text. before is the character just before start as the search should
// see it (a null QChar for the text's own character there).
int FindInText(const UnicodeString& text, const UnicodeString& what, int start, int end, TSearchTypes options,
               QChar before = QChar());
// Replaces the selection by text; the caret then stands behind it, nothing selected.
void SetSelText(TRichEdit& edit, const UnicodeString& text);
// EM_SCROLLCARET: scrolls the caret into view.
void ScrollCaret(TRichEdit& edit);
