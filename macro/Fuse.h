#pragma once
// Fused instructions. A few short sequences make up most of what a loop runs (a variable's value,
// a store into a variable, i++, an operation with a number), and dispatching each of their
// instructions alone costs more than the work. Once a statement or a definition is compiled, the
// first instruction cell of each such sequence gets a handler that runs the whole sequence.
//
// Nothing else changes: the cells, their instruction names and the listing stay as emitted, the
// other cells of the sequence keep their own handlers (so execution that reaches one of them
// directly runs as before), and a fused handler computes with the same operators and asks the same
// of its variables as the plain handlers do, running the plain handlers in order whenever one of
// them could fail, so values, checks and messages are those of the plain sequence.
#include "macro/Instructions.h"

// A sequence: its instructions in order (operand cells between them are the instructions' own),
// and the handler that runs it.
struct FusedForm {
    Op ops[4];
    int length;
    Handler handler;
};
// The forms, most specific first (Operands.cpp, beside the operators and the plain handlers).
extern const FusedForm fusedForms[];
extern const int fusedFormCount;

// Whether fuseInstructions fuses (tests compare runs with and without).
extern bool fuseEnabled;

// Gives the first cell of every fusable sequence in cells from..to-1 its fused handler.
void fuseInstructions(int from, int to);
