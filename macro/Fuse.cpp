#include "macro/Fuse.h"

#include "macro/Code.h"
#include "macro/Machine.h"

namespace {

// Operand cells after an instruction of a fused form.
int operandCells(Op op) { return op == OP_varpush || op == OP_constpush ? 1 : 0; }

bool matches(const FusedForm& form, int pos, int to)
{
    for (int i = 0; i < form.length; ++i) {
        if (pos >= to || cellKind(pos) != CellKind::Instr || cellOp(pos) != form.ops[i]) return false;
        pos += 1 + operandCells(form.ops[i]);
    }
    return true;
}

}  // namespace

bool fuseEnabled = true;

void fuseInstructions(int from, int to)
{
    if (!fuseEnabled) return;
    for (int pos = from; pos < to; ++pos) {
        if (cellKind(pos) != CellKind::Instr) continue;
        for (int f = 0; f < fusedFormCount; ++f) {
            if (matches(fusedForms[f], pos, to)) {
                programArea[pos].fn = fusedForms[f].handler;
                break;
            }
        }
    }
}
