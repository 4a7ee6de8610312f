// The cells each form emits, read back through the code listing.
#include "tests/macro/program_support.h"

#include <gtest/gtest.h>

namespace {

struct ListingCase {
    const char* source;
    const char* listing;
};

class GrammarListing : public ::testing::TestWithParam<ListingCase> {};

TEST_P(GrammarListing, EmitsTheFormsCells)
{
    const ListingCase& c = GetParam();
    EXPECT_EQ(ListingOf(c.source), c.listing) << "source: " << c.source;
}

const ListingCase listingCases[] = {
    {"1 + 2 * 3\n", "constpush 1, constpush 2, constpush 3, mul, add, discard, STOP"},
    {"2^3^2\n", "constpush 2, constpush 3, constpush 2, power, power, discard, STOP"},
    {"8/4/2\n", "constpush 8, constpush 4, div, constpush 2, div, discard, STOP"},
    {"a = 1 or 2 and 3\n", "constpush 1, constpush 2, constpush 3, and, or, varpush a, assign, discard, STOP"},
    {"a = 1 == 2 > 3\n", "constpush 1, constpush 2, eq, constpush 3, gt, varpush a, assign, discard, STOP"},
    {"x = (-)2^2\n", "constpush 2, constpush 2, power, negate, varpush x, assign, discard, STOP"},
    {"x = not 1 * 2\n", "constpush 1, not, constpush 2, mul, varpush x, assign, discard, STOP"},
    {"x = y = 1\n", "constpush 1, varpush y, assign, varpush x, assign, discard, STOP"},
    {"x += 2\n", "constpush 2, varpush x, eval, add, varpush x, assign, discard, STOP"},
    {"x -= 2\n", "constpush 2, negate, varpush x, eval, add, varpush x, assign, discard, STOP"},
    {"x *= 2\n", "constpush 2, varpush x, eval, mul, varpush x, assign, discard, STOP"},
    {"x /= 2\n", "constpush 2, varpush x, eval, exch, ddiv, varpush x, assign, discard, STOP"},
    {"x++\n", "varpush x, incr, assign, discard, STOP"},
    {"x--\n", "varpush x, decr, assign, discard, STOP"},
    {"a$ = \"t\" + b$\n", "strpush \"t\", strpush b$, eval, addstr, varpush a$, strassign, discard, STOP"},
    {"x = a$ == \"t\"\n", "strpush a$, eval, strpush \"t\", eqstr, varpush x, assign, discard, STOP"},
    {"vector v[3]\n", "constpush 3, varpush v, decvec, STOP"},
    {"v[1] = 2\n", "constpush 1, varpush v, constpush 2, vecassign, discard, STOP"},
    {"v[1] += 2\n", "constpush 1, varpush v, constpush 2, vecadd, discard, STOP"},
    {"x = sqrt(4)\n", "constpush 4, bltin sqrt, varpush x, assign, discard, STOP"},
    {"print 1, \"a\"\n", "constpush 1, prexpr, strpush \"a\", prstrexpr, STOP"},
    {"print \"%5.1f\", x\n", "varpush x, eval, prfmt \"%5.1f\", STOP"},
    {"print \"%d\"\n", "strpush \"%d\", prstrexpr, STOP"},
    {"ask \"How many\", w\n", "prstrask \"How many\", varread w, STOP"},
    {"askyesno \"Go\" + a$, w\n", "strpush \"Go\", strpush a$, eval, addstr, askyesno2 @0, varread w, STOP"},
    {"set_zr_qty(\"ZR_X\", 2)\n", "strpush \"ZR_X\", constpush 2, setzrqty, STOP"},
    {"s$ = str(2, \"%g\")\n", "constpush 2, strpush \"%g\", str, varpush s$, strassign, discard, STOP"},
    {"while (x < 3) { x++ }\n",
     "whilecode @10 @16, varpush x, eval, constpush 3, lt, STOP, varpush x, incr, assign, discard, STOP, STOP"},
    {"if (x) then y = 1 endif\n",
     "ifcode @8 @0 @15, varpush x, eval, STOP, constpush 1, varpush y, assign, discard, STOP, STOP"},
    {"for (i = 0; i < 3; i++) { }\n",
     "forcode @11 @18 @23 @24, constpush 0, varpush i, assign, STOP, varpush i, eval, constpush 3, lt, STOP, "
     "varpush i, incr, assign, STOP, STOP, STOP"},
    {"switch (2)\n", "constpush 2, switchcode, STOP"},
    {"case (2) x = 5\n", "casecode @6 @13, constpush 2, STOP, constpush 5, varpush x, assign, discard, STOP, STOP"},
    {"break\n", "brkout, STOP"},
    {"goto @later\n", "gotocode later, STOP"},
    {"qsort(3, v)\n", "constpush 3, varpush v, sortcode, STOP"},
    {"' only a comment\n", ""},
};

INSTANTIATE_TEST_SUITE_P(Forms, GrammarListing, ::testing::ValuesIn(listingCases));

}  // namespace
