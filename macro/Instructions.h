#pragma once
// The one instruction table: every instruction the grammar emits, with its name (the name the
// code listing shows) and its handler. The grammar refers to instructions by their Op; the name
// and handler come from here, so a listing of a statement reads exactly as the cells it holds.
#include <string>

// X(op, name, handler). The division handler is emitted under two names: "div" for the operator
// and "ddiv" inside a /= assignment. A formatted print lists as "prfmt" whether its value is a
// number or a text; the grammar knows which, and picks the handler.
#define MACRO_INSTRUCTIONS(X) \
    /* control flow, calls, output and questions */ \
    X(whilecode, "whilecode", whilecode) \
    X(forcode, "forcode", forcode) \
    X(ifcode, "ifcode", ifcode) \
    X(switchcode, "switchcode", switchcode) \
    X(casecode, "casecode", casecode) \
    X(defaultcode, "defaultcode", defaultcode) \
    X(brkout, "brkout", brkout) \
    X(gotocode, "gotocode", gotocode) \
    X(call, "call", call) \
    X(funcret, "funcret", funcret) \
    X(procret, "procret", procret) \
    X(arg, "arg", arg) \
    X(argassign, "argassign", argassign) \
    X(discard, "discard", discard) \
    X(prexpr, "prexpr", prexpr) \
    X(prstr, "prstr", prstr) \
    X(prstrexpr, "prstrexpr", prstrexpr) \
    X(prfmt, "prfmt", prfmt) \
    X(prfmtstr, "prfmt", prfmtstr) \
    X(prstrask, "prstrask", prstrask) \
    X(prstrask2, "prstrask2", prstrask2) \
    X(askyesno, "askyesno", askyesno) \
    X(askyesno2, "askyesno2", askyesno2) \
    /* operands */ \
    X(constpush, "constpush", constpush) \
    X(varpush, "varpush", varpush) \
    X(strpush, "strpush", strpush) \
    X(bltin, "bltin", bltin) \
    X(eval, "eval", eval) \
    X(exch, "exch", exch) \
    X(varread, "varread", varread) \
    /* arithmetic, comparisons and assignment */ \
    X(add, "add", add) \
    X(sub, "sub", sub) \
    X(mul, "mul", mul) \
    X(div, "div", ddiv) \
    X(ddiv, "ddiv", ddiv) \
    X(mod, "mod", mod) \
    X(power, "power", power) \
    X(negate, "negate", negate) \
    X(arctan2, "arctan2", arctan2) \
    X(gt, "gt", gt) \
    X(ge, "ge", ge) \
    X(lt, "lt", lt) \
    X(le, "le", le) \
    X(eq, "eq", eq) \
    X(ne, "ne", ne) \
    X(and_, "and", and_) \
    X(or_, "or", or_) \
    X(not_, "not", not_) \
    X(eqstr, "eqstr", eqstr) \
    X(nestr, "nestr", nestr) \
    X(streq, "streq", streq) \
    X(assign, "assign", assign) \
    X(strassign, "strassign", strassign) \
    X(incr, "incr", incr) \
    X(decr, "decr", decr) \
    /* strings */ \
    X(strlength, "strlength", strlength) \
    X(addstr, "addstr", addstr) \
    X(searchstring, "searchstring", searchstring) \
    X(searchstringIC, "searchstringIC", searchstringIC) \
    X(instring, "instring", instring) \
    X(trimstring, "trimstring", trimstring) \
    X(leftstring, "leftstring", leftstring) \
    X(rightstring, "rightstring", rightstring) \
    X(midstring, "midstring", midstring) \
    X(lowercase, "lowercase", lowercase) \
    X(uppercase, "uppercase", uppercase) \
    X(isproductcode, "isproductcode", isproductcode) \
    X(isexcludedproductcode, "isexcludedproductcode", isexcludedproductcode) \
    /* vectors, conversions and the rest */ \
    X(decvec, "decvec", decvec) \
    X(decstrvec, "decstrvec", decstrvec) \
    X(vecassign, "vecassign", vecassign) \
    X(vecadd, "vecadd", vecadd) \
    X(vecsub, "vecsub", vecsub) \
    X(vecmul, "vecmul", vecmul) \
    X(vecdiv, "vecdiv", vecdiv) \
    X(strvecassign, "strvecassign", strvecassign) \
    X(asc, "asc", asc) \
    X(chr, "chr", chr) \
    X(str, "str", str) \
    X(val, "val", val) \
    X(roundqty, "roundqty", roundqty) \
    X(timestr, "timestr", timestr) \
    X(sleepfor, "sleepfor", sleepfor) \
    X(getargcode, "getargcode", getargcode) \
    X(sortcode, "sortcode", sortcode) \
    /* estimate built-ins */ \
    X(setqty, "setqty", setqty) \
    X(setexcludedqty, "setexcludedqty", setexcludedqty) \
    X(setmiscmaterialqty, "setmiscmaterialqty", setmiscmaterialqty) \
    X(setexcludedmiscmaterialqty, "setexcludedmiscmaterialqty", setexcludedmiscmaterialqty) \
    X(setmiscellaneousqty, "setmiscellaneousqty", setmiscellaneousqty) \
    X(setexcludedmiscellaneousqty, "setexcludedmiscellaneousqty", setexcludedmiscellaneousqty) \
    X(setnoteon, "setnoteon", setnoteon) \
    X(setnoteoff, "setnoteoff", setnoteoff) \
    X(setnotestr, "setnotestr", setnotestr) \
    X(printstr, "printstr", printstr) \
    X(setzrstr, "setzrstr", setzrstr) \
    X(setzrqty, "setzrqty", setzrqty) \
    X(settreatment, "settreatment", settreatment) \
    X(isnoteon, "isnoteon", isnoteon) \
    X(eavelengthabove, "eavelengthabove", eavelengthabove) \
    X(roofareaabove, "roofareaabove", roofareaabove) \
    X(getproduct_code, "getproduct_code", getproduct_code) \
    X(getproductqty, "getproductqty", getproductqty) \
    X(getproductsubqty, "getproductsubqty", getproductsubqty) \
    X(getlocalityqty, "getlocalityqty", getlocalityqty) \
    X(getproductlinesubqty, "getproductlinesubqty", getproductlinesubqty) \
    X(getproductinputqty, "getproductinputqty", getproductinputqty) \
    X(getproductlineqty, "getproductlineqty", getproductlineqty) \
    X(getexcludedproductlineqty, "getexcludedproductlineqty", getexcludedproductlineqty) \
    X(getvariablefromfileqty, "getvariablefromfileqty", getvariablefromfileqty) \
    X(searchdirfilecount, "searchdirfilecount", searchdirfilecount) \
    X(isfileexist, "isfileexist", isfileexist) \
    X(isview, "isview", isview) \
    X(getzrqty, "getzrqty", getzrqty) \
    X(getedgenameqty, "getedgenameqty", getedgenameqty) \
    X(getedgeqty, "getedgeqty", getedgeqty) \
    X(getroofqty, "getroofqty", getroofqty) \
    X(getwallqty, "getwallqty", getwallqty) \
    X(getnotesfromfile, "getnotesfromfile", getnotesfromfile) \
    X(setnotenameprefix, "setnotenameprefix", setnotenameprefix) \
    X(getproductstr, "getproductstr", getproductstr) \
    X(getproductsubstr, "getproductsubstr", getproductsubstr) \
    X(getlocalitystr, "getlocalitystr", getlocalitystr) \
    X(getproductlinesubstr, "getproductlinesubstr", getproductlinesubstr) \
    X(getpricestr, "getpricestr", getpricestr) \
    X(getpricenoseparatorstr, "getpricenoseparatorstr", getpricenoseparatorstr) \
    X(replaceseparatorstr, "replaceseparatorstr", replaceseparatorstr) \
    X(getproductinputstr, "getproductinputstr", getproductinputstr) \
    X(getproductlinestr, "getproductlinestr", getproductlinestr) \
    X(getexcludedproductlinestr, "getexcludedproductlinestr", getexcludedproductlinestr) \
    X(getvariablefromfilestr, "getvariablefromfilestr", getvariablefromfilestr) \
    X(getlinefromfilestr, "getlinefromfilestr", getlinefromfilestr) \
    X(searchdirfilename, "searchdirfilename", searchdirfilename) \
    X(getedgenamestr, "getedgenamestr", getedgenamestr) \
    X(getedgestr, "getedgestr", getedgestr) \
    X(getroofstr, "getroofstr", getroofstr) \
    X(getwallstr, "getwallstr", getwallstr) \
    X(getzrstr, "getzrstr", getzrstr) \
    X(getlengthstr, "getlengthstr", getlengthstr) \
    X(getareastr, "getareastr", getareastr) \
    X(getqtystr, "getqtystr", getqtystr) \
    /* devices and files */ \
    X(procopen, "procopen", procopen) \
    X(readstr, "readstr", readstr) \
    X(procwrite, "procwrite", procwrite) \
    X(closecode, "closecode", closecode) \
    X(play, "play", play) \
    X(morse, "morse", morse) \
    X(comon, "comon", comon) \
    X(comoff, "comoff", comoff) \
    X(comlines, "comlines", comlines) \
    X(combytes, "combytes", combytes) \
    X(vgacolor, "vgacolor", vgacolor) \
    X(clearscreen, "clearscreen", clearscreen) \
    X(drawline, "drawline", drawline) \
    X(mouse, "mouse", mouse) \
    X(mousex, "mousex", mousex) \
    X(mousey, "mousey", mousey) \
    X(mouselb, "mouselb", mouselb) \
    X(mouserb, "mouserb", mouserb) \
    X(getkey, "getkey", getkey) \
    X(extgetkey, "extgetkey", extgetkey) \
    X(vgamouse, "vgamouse", vgamouse)

enum Op : unsigned short {
#define MACRO_OP_ENUM(op, name, handler) OP_##op,
    MACRO_INSTRUCTIONS(MACRO_OP_ENUM)
#undef MACRO_OP_ENUM
    OP_COUNT
};

using Handler = void (*)();

struct InstructionInfo {
    const char* name;
    Handler handler;
};

// The row of an instruction.
const InstructionInfo& instruction(Op op);

// The listing of cells from..to-1 as the code emitter recorded them: instruction names with their
// operands, separated by ", ", STOP cells as "STOP". For example "constpush 1, constpush 2, add".
std::string codeListing(int from, int to);
