// The instruction table and the code listing it gives.
#include "macro/Instructions.h"

#include "macro/Builtins.h"
#include "macro/Code.h"
#include "macro/Init.h"
#include "macro/Machine.h"

#include <cstdio>

namespace {

const InstructionInfo table[OP_COUNT] = {
#define MACRO_OP_ROW(op, name, handler) {name, handler},
    MACRO_INSTRUCTIONS(MACRO_OP_ROW)
#undef MACRO_OP_ROW
};

}  // namespace

const InstructionInfo& instruction(Op op) { return table[op]; }

std::string codeListing(int from, int to)
{
    std::string out;
    char buf[64];
    for (int pos = from; pos < to; ++pos) {
        const Inst& c = programArea[pos];
        const CellInfo& info = cellInfo(pos);
        switch (info.kind) {
        case CellKind::Instr:
            if (!out.empty()) out += ", ";
            out += info.name ? info.name : "?";
            continue;
        case CellKind::Stop:
            if (!out.empty()) out += ", ";
            out += "STOP";
            continue;
        case CellKind::Symbol:
            out += ' ';
            out += c.sym && c.sym->name ? c.sym->name : "?";
            continue;
        case CellKind::Number:
            std::snprintf(buf, sizeof buf, " %.15g", c.sym ? c.sym->u.val : 0.0);
            break;
        case CellKind::Text:
            out += " \"";
            out += c.str ? c.str : "";
            out += '"';
            continue;
        case CellKind::Position:
            std::snprintf(buf, sizeof buf, " @%ld", static_cast<long>(c.num));
            break;
        case CellKind::Count:
            std::snprintf(buf, sizeof buf, " %ld", static_cast<long>(c.num));
            break;
        case CellKind::Function: {
            const char* name = macroBuiltinName(c.math);
            std::snprintf(buf, sizeof buf, " %s", name ? name : "?");
            break;
        }
        }
        out += buf;
    }
    return out;
}
