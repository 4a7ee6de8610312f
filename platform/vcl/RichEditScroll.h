#pragma once
// The scrolling and measuring messages of the rich edit that keep side-by-side panes on the same
// lines: first visible line, scroll by lines, scroll one line up or down, the pixel position of a
// character, and tab stops. Lines are the control's lines (EM_EXLINEFROMCHAR), one per paragraph.
#include "platform/vcl/RichEdit.h"

#include <QPoint>

enum : unsigned {
    EM_GETFIRSTVISIBLELINE = 0x00CE,
    EM_LINESCROLL = 0x00B6,
    EM_SCROLL = 0x00B5,
    EM_POSFROMCHAR = 0x00D6,
    EM_SETTABSTOPS = 0x00CB,
};
enum : int { SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3 };

// EM_GETFIRSTVISIBLELINE: the topmost line that shows, even in part.
int GetFirstVisibleLine(const TRichEdit& edit);
// EM_LINESCROLL: scrolls by lines (positive: down), as far as the text allows. Columns are not
// scrolled: the panes never wrap and keep their caret's column in view themselves.
void LineScroll(TRichEdit& edit, int columns, int lines);
// EM_SCROLL with SB_LINEUP, SB_LINEDOWN, SB_PAGEUP or SB_PAGEDOWN.
void ScrollBy(TRichEdit& edit, int action);
// EM_POSFROMCHAR: the top left of a character in pixels of the control's client area; a position
// past the end gives the point where the next character would go.
QPoint PosFromChar(const TRichEdit& edit, int position);
// EM_SETTABSTOPS with one stop: tabs every `pixels` pixels.
void SetTabStops(TRichEdit& edit, int pixels);
// From now on the view of edit always starts at the top of a line: a scroll that would leave the
// top line cut goes on to the next line's top (so the caret's line stays whole at the bottom).
// Panes scrolled by lines then show the same lines pixel for pixel.
void ScrollByWholeLines(TRichEdit& edit);
