// Fused instructions change nothing but speed: every program runs to the same answers and the
// same boxes with fusion as without, and the forms that loops run most are in fact fused.
#include "macro/Code.h"
#include "macro/Fuse.h"
#include "macro/Instructions.h"
#include "macro/Machine.h"
#include "macro/Run.h"
#include "tests/macro/program_support.h"

#include <gtest/gtest.h>

namespace {

struct Observed {
    std::vector<std::string> boxes;
    std::vector<HostCall> answers;
    int fusedCells = 0;  // in the statements as they ran
    bool operator==(const Observed& o) const { return boxes == o.boxes && answers == o.answers; }
};

Observed RunFused(bool fuse, const std::string& source)
{
    fuseEnabled = fuse;
    Observed out;
    {
        ProgramRun run;
        macroSetAfterParseHook([&out] {
            for (int p = 0; p < codeNext; ++p)
                if (cellInfo(p).kind == CellKind::Instr &&
                    programArea[p].fn != instruction(static_cast<Op>(cellInfo(p).op)).handler)
                    ++out.fusedCells;
        });
        run.Run(source);
        out.boxes = run.Texts();
        for (const HostCall& c : run.host.calls)
            if (c.name == "SetZRQty") out.answers.push_back(c);
    }
    fuseEnabled = true;
    return out;
}

// Each exercises fused forms at their edges: values, tolerances, failures inside a form, forms
// entered in the middle by a jump, and the stack limit.
const char* const kPrograms[] = {
    "fuA = 3\nfuB = fuA * 2 + fuA / 4 - 1\nset_zr_qty(\"A\", fuB)\nset_zr_qty(\"B\", fuA - fuB)\n",
    "fuA = 1\nset_zr_qty(\"A\", fuA == 1.000000001)\nset_zr_qty(\"A\", fuA != 1.00000002)\n"
    "set_zr_qty(\"A\", fuA < 1.000000001)\nset_zr_qty(\"A\", fuA <= 0.999999999)\n"
    "set_zr_qty(\"A\", fuA > 0.999999999)\nset_zr_qty(\"A\", fuA >= 1.00000002)\n",
    "fuA = 4\nfuB = fuA / 0\nset_zr_qty(\"A\", fuB)\n",
    "fuA = 4\nfuB = fuA / (fuA - 4)\n",
    "fuZ = 0\nfuB = 4 / fuZ\n",
    "fuZ = 0\nfuB = (fuZ + 3) / 0\n",
    "fuZ = 2\nfuB = 4 / fuZ + (fuZ + 3) / 2 - fuZ / 4\nset_zr_qty(\"A\", fuB)\n",
    "set_zr_qty(\"A\", fuUnset + 1)\n",
    "set_zr_qty(\"A\", 2 * fuUnset2)\n",
    "fuUnset3++\n",
    "fuUnset4--\nset_zr_qty(\"A\", 1)\n",
    "vector fuV[3]\nfuV[1] = 4\nset_zr_qty(\"A\", fuV[1] * 2)\nset_zr_qty(\"A\", fuV[5] + 1)\n",
    "fuS$ = \"x\"\nfuS$ = fuS$ + \"y\"\nset_zr_str(\"S\", fuS$)\nset_zr_qty(\"A\", 1 + 2 * 3 - 4 / 8)\n",
    "fuT = 0\nfor (fuI = 10; fuI > 0; fuI--) { fuT = fuT + fuI * 3 }\nset_zr_qty(\"A\", fuT)\n"
    "fuK = 0\nwhile (fuK < 7) { fuK++ }\nset_zr_qty(\"A\", fuK + fuI)\n",
    "proc fuJump() {\n  fuN = 0\nfuTop:\n  fuN = fuN + 1\n  if (fuN < 5) then\n    goto fuTop\n  endif\n"
    "  set_zr_qty(\"A\", fuN)\n}\nfuJump()\n",
    "func fuDeep()\n  return(fuDeep($1 + 1) + 1)\nendfunc\nset_zr_qty(\"A\", fuDeep(1))\n",
    // Nine arguments a call: the stack fills before the calls nest too deep.
    "func fuPile()\n  return(fuPile($1 + 1, $1, $1 * 2, $1, $1, $1, $1, $1, $1 - 1) + 1)\nendfunc\n"
    "set_zr_qty(\"A\", fuPile(1))\n",
    // Arguments pile up on the stack until the calls nest too deep.
    "func fuMany()\n  if ($1 < 3000) then\n    return(fuMany($1 + 1, $1, $1 * 2) - $2 + $2)\n  endif\n"
    "  return($1)\nendfunc\nset_zr_qty(\"A\", fuMany(1, 0))\n",
};

TEST(Fuse, ProgramsRunAlikeWithAndWithoutFusion)
{
    for (const char* program : kPrograms) {
        SCOPED_TRACE(program);
        Observed plain = RunFused(false, program);
        Observed fused = RunFused(true, program);
        EXPECT_EQ(fused, plain);
        EXPECT_EQ(plain.fusedCells, 0);
        EXPECT_GT(fused.fusedCells, 0);
    }
}

TEST(Fuse, TheLoopIsFusedAndItsListingUnchanged)
{
    const std::string loop = "for (fuL = 0; fuL < 10; fuL++) { fuW = fuW + fuL * 2 }\n";
    const std::string listing =
        "forcode @11 @18 @23 @38, constpush 0, varpush fuL, assign, STOP, varpush fuL, eval, constpush 10, lt, "
        "STOP, varpush fuL, incr, assign, STOP, varpush fuW, eval, varpush fuL, eval, constpush 2, mul, add, "
        "varpush fuW, assign, discard, STOP, STOP";
    EXPECT_EQ(ListingOf("fuW = 0\n" + loop), "constpush 0, varpush fuW, assign, discard, STOP");
    ProgramRun run(true);
    run.Run("fuW = 0\n" + loop + "set_zr_qty(\"A\", fuW)\n");
    ASSERT_EQ(run.listings.size(), 3u);
    EXPECT_EQ(run.listings[1], listing);
    EXPECT_EQ(run.Answers("A"), std::vector<double>{90});
    // Cells given a fused handler: 1 in the first statement; in the loop 1 in the initialisation,
    // 2 in the condition (its constpush starts a shorter form), 1 in the advance and 4 in the body.
    EXPECT_EQ(RunFused(true, "fuW = 0\n" + loop).fusedCells, 1 + 1 + 2 + 1 + 4);
}

}  // namespace
