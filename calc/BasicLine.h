#pragma once
// Pad users may write loops and conditions the BASIC way; these lines are rewritten into the
// macro language before a pad is calculated. Text pasted from word processors brings typographic
// quotes and dashes, which the pad notation needs as plain characters.
#include "platform/vcl/Strings.h"

class THighlight;

// Rewrites DO WHILE, END IF / END FOR / END WHILE, ELSE IF, NEXT and FOR v = a TO b [STEP s]
// into the macro language's forms (FOR keeps the BASIC line behind as a comment). Words are
// compared in any case; any other line comes back unchanged. The tokens are those of the
// highlighter's tokenizer.
AnsiString TranslateBasicLine(const THighlight& highlighter, const AnsiString& line);

// Windows-1252 right single quote, both double quotes and the en dash become the apostrophe,
// the double-quote mark and the hyphen. The left single quote stays.
AnsiString NormalizeTypographicQuotes(const AnsiString& line);
