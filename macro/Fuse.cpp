#include "macro/Fuse.h"

#include "macro/Code.h"
#include "macro/Machine.h"

#include <vector>

namespace {

CellKind cellKind(int pos) { return cellInfo(pos).kind; }
Op cellOp(int pos) { return static_cast<Op>(cellInfo(pos).op); }

// Operand cells after an instruction of a fused form.
int operandCells(Op op) { return op == OP_varpush || op == OP_constpush ? 1 : 0; }

// The instructions of the sequence that starts at pos (at most 4, up to the first cell that is not
// an instruction); returns how many.
int sequenceAt(int pos, int to, Op (&ops)[4])
{
    int n = 0;
    while (n < 4 && pos < to && cellKind(pos) == CellKind::Instr) {
        ops[n] = cellOp(pos);
        pos += 1 + operandCells(ops[n++]);
    }
    return n;
}

bool matches(const FusedForm& form, const Op (&ops)[4], int n)
{
    if (form.length > n) return false;
    for (int i = 1; i < form.length; ++i)
        if (form.ops[i] != ops[i]) return false;
    return true;
}

// The forms by their first instruction, in table order; most instructions start none.
struct FormsByStart {
    std::vector<const FusedForm*> forms[OP_COUNT];
    FormsByStart()
    {
        for (int f = 0; f < fusedFormCount; ++f) forms[fusedForms[f].ops[0]].push_back(&fusedForms[f]);
    }
};

}  // namespace

bool fuseEnabled = true;

void fuseInstructions(int from, int to)
{
    if (!fuseEnabled) return;
    static const FormsByStart byStart;
    for (int pos = from; pos < to; ++pos) {
        if (cellKind(pos) != CellKind::Instr || byStart.forms[cellOp(pos)].empty()) continue;
        Op ops[4];
        int n = sequenceAt(pos, to, ops);
        for (const FusedForm* form : byStart.forms[ops[0]]) {
            if (matches(*form, ops, n)) {
                programArea[pos].fn = form->handler;
                break;
            }
        }
    }
}
