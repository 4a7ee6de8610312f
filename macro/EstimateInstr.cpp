// The estimate built-ins: each takes its arguments off the stack, calls one host function and
// pushes what the host answers. Arguments the host takes as int are rounded (integer part of the
// value plus 0.5); text results are kept to the 511 bytes of the interpreter's result buffer.
#include "macro/BuiltinSupport.h"
#include "macro/Builtins.h"
#include "macro/Host.h"

using namespace builtin;

namespace {

// The arguments of one call, first argument at index 0.
class Args {
public:
    explicit Args(int count)
    {
        for (int k = count - 1; k >= 0; --k) d_[k] = stackPop();
    }
    double n(int k) const { return d_[k].val; }
    int i(int k) const { return roundInt(d_[k].val); }
    const char* s(int k) const { return d_[k].str ? d_[k].str : ""; }

private:
    Datum d_[10]{};
};

static_assert(kTextHeadMax == TEXT_BUFFER - 1, "a host's text fills the result buffer, no more");

// A host's text as the result: up to its first NUL, at most 511 bytes, in a new block.
void pushHostText(const AnsiString& text, const char* failure, const char* detail)
{
    pushNewText(text.c_str(), strnlen(text.c_str(), kTextHeadMax), failure, detail);
}

}  // namespace

// --- setters ---------------------------------------------------------------------------------------

void setqty()
{
    Args a(2);
    Host().SetQty(a.i(0), a.n(1));
}

void setexcludedqty()
{
    Args a(2);
    Host().SetExcludedQty(a.i(0), a.n(1));
}

// The excluded twins share the host function; the flag before the last argument tells them apart.
static void miscMaterial(int excluded)
{
    Args a(4);
    Host().SetMiscMaterialQty(a.i(0), a.n(1), a.s(2), excluded, a.i(3));
}
void setmiscmaterialqty() { miscMaterial(0); }
void setexcludedmiscmaterialqty() { miscMaterial(1); }

static void miscellaneous(int excluded)
{
    Args a(10);
    Host().SetMiscellaneousQty(a.i(0), a.n(1), a.s(2), a.s(3), a.s(4), a.s(5), a.n(6), a.n(7),
                               a.n(8), excluded, a.i(9));
}
void setmiscellaneousqty() { miscellaneous(0); }
void setexcludedmiscellaneousqty() { miscellaneous(1); }

void setnoteon()
{
    Args a(1);
    Host().SetNoteOn(a.s(0));
}

void setnoteoff()
{
    Args a(1);
    Host().SetNoteOff(a.s(0));
}

void setnotestr()
{
    Args a(2);
    Host().SetNoteStr(a.s(0), a.s(1));
}

void printstr()
{
    Args a(1);
    Host().PrintStr("", a.s(0));
}

void setzrstr()
{
    Args a(2);
    Host().SetZRStr(a.s(0), a.s(1));
}

void setzrqty()
{
    Args a(2);
    Host().SetZRQty(a.s(0), a.n(1));
}

void settreatment()
{
    Args a(4);
    Host().SetTreatment(a.i(0), a.s(1), a.s(2), a.i(3));
}

// --- numeric getters -------------------------------------------------------------------------------

void isnoteon()
{
    Args a(1);
    pushNum(Host().IsNoteOn(a.s(0)) == 1 ? 1.0 : 0.0);
}

void eavelengthabove()
{
    Args a(1);
    pushNum(Host().EaveLengthAbove(a.n(0)));
}

void roofareaabove()
{
    Args a(1);
    pushNum(Host().RoofAreaAbove(a.n(0)));
}

void getproduct_code()
{
    Args a(3);
    pushNum(Host().GetProductCode(a.s(0), a.s(1), a.i(2)));
}

void getproductqty()
{
    Args a(2);
    pushNum(Host().GetProductQty(a.i(0), a.s(1)));
}

void getproductsubqty()
{
    Args a(3);
    pushNum(Host().GetProductSubQty(a.i(0), a.s(1), a.i(2)));
}

void getlocalityqty()
{
    Args a(3);
    pushNum(Host().GetLocalityQty(a.s(0), a.i(1), a.i(2)));
}

void getproductlinesubqty()
{
    Args a(3);
    pushNum(Host().GetProductLineSubQty(a.i(0), a.s(1), a.i(2)));
}

void getproductinputqty()
{
    Args a(4);
    int code = Host().GetProductCode(a.s(0), a.s(1), a.i(2));
    pushNum(Host().GetProductQty(code, a.s(3)));
}

void getproductlineqty()
{
    Args a(2);
    pushNum(Host().GetProductLineQty(a.i(0), a.s(1)));
}

void getexcludedproductlineqty()
{
    Args a(2);
    pushNum(Host().GetExcludedProductLineQty(a.i(0), a.s(1)));
}

void getvariablefromfileqty()
{
    Args a(2);
    pushNum(Host().GetVariableFromFileQty(a.s(0), a.s(1)));
}

void searchdirfilecount()
{
    Args a(2);
    pushNum(Host().SearchDirFileCount(a.s(0), a.s(1)));
}

void isfileexist()
{
    Args a(1);
    pushNum(Host().IsFileExist(a.s(0)));
}

void isview()
{
    Args a(1);
    pushNum(Host().IsView(a.s(0)));
}

// The host's value as a whole number (truncated toward zero).
void getzrqty()
{
    Args a(1);
    pushNum(std::trunc(Host().GetZRQty(a.s(0))));
}

void getedgenameqty()
{
    Args a(3);
    pushNum(Host().GetEdgeNameQty(a.i(0), a.s(1), a.s(2)));
}

void getedgeqty()
{
    Args a(2);
    pushNum(Host().GetEdgeQty(a.i(0), a.s(1)));
}

void getroofqty()
{
    Args a(2);
    pushNum(Host().GetRoofQty(a.i(0), a.s(1)));
}

void getwallqty()
{
    Args a(2);
    pushNum(Host().GetWallQty(a.i(0), a.s(1)));
}

// These two hosts answer nothing; as expressions they yield 0 (one value, like every other).
void getnotesfromfile()
{
    Args a(1);
    Host().GetNotesFromFile(a.s(0));
    pushNum(0.0);
}

void setnotenameprefix()
{
    Args a(3);
    Host().SetNoteNamePrefix(a.s(0), a.s(1), a.i(2));
    pushNum(0.0);
}

// --- text getters ----------------------------------------------------------------------------------

void getproductstr()
{
    Args a(2);
    pushHostText(Host().GetProductStr(a.i(0), a.s(1)), "getproductstr: malloc error", a.s(1));
}

void getproductsubstr()
{
    Args a(3);
    pushHostText(Host().GetProductSubStr(a.i(0), a.s(1), a.i(2)), "getproductsubstr: malloc error",
                 a.s(1));
}

void getlocalitystr()
{
    Args a(3);
    pushHostText(Host().GetLocalityStr(a.s(0), a.i(1), a.i(2)), "getlocalitystr: malloc error", a.s(0));
}

void getproductlinesubstr()
{
    Args a(3);
    pushHostText(Host().GetProductLineSubStr(a.i(0), a.s(1), a.i(2)),
                 "getproductlinesubstr: malloc error", a.s(1));
}

void getpricestr()
{
    Args a(1);
    pushHostText(Host().GetPriceStr(a.n(0)), "getpricestr: malloc error", nullptr);
}

void getpricenoseparatorstr()
{
    Args a(1);
    pushHostText(Host().GetPriceNoSeparatorStr(a.n(0)), "getpricenoseparatorstr: malloc error", nullptr);
}

void replaceseparatorstr()
{
    Args a(2);
    pushHostText(Host().ReplaceSeparatorStr(a.s(0), a.s(1)), "replaceseparatorstr: malloc error", nullptr);
}

void getproductinputstr()
{
    Args a(4);
    int code = Host().GetProductCode(a.s(0), a.s(1), a.i(2));
    pushHostText(Host().GetProductStr(code, a.s(3)), "getproductinputstr: malloc error", a.s(0));
}

void getproductlinestr()
{
    Args a(2);
    pushHostText(Host().GetProductLineStr(a.i(0), a.s(1)), "getproductlinestr: malloc error", a.s(1));
}

void getexcludedproductlinestr()
{
    Args a(2);
    pushHostText(Host().GetExcludedProductLineStr(a.i(0), a.s(1)),
                 "getexcludedproductlinestr: malloc error", a.s(1));
}

void getvariablefromfilestr()
{
    Args a(2);
    pushHostText(Host().GetVariableFromFileStr(a.s(0), a.s(1)), "getvariablefromfilestr: malloc error",
                 a.s(0));
}

void getlinefromfilestr()
{
    Args a(3);
    pushHostText(Host().GetLineFromFileStr(a.s(0), a.s(1), a.i(2)), "getlinefromfilestr: malloc error",
                 a.s(0));
}

void searchdirfilename()
{
    Args a(3);
    pushHostText(Host().SearchDirFileName(a.s(0), a.s(1), a.i(2)), "searchdirfilename: malloc error",
                 a.s(0));
}

void getedgenamestr()
{
    Args a(3);
    pushHostText(Host().GetEdgeNameStr(a.i(0), a.s(1), a.s(2)), "getedgenamestr: malloc error", a.s(2));
}

void getedgestr()
{
    Args a(2);
    pushHostText(Host().GetEdgeStr(a.i(0), a.s(1)), "getedgestr: malloc error", a.s(1));
}

void getroofstr()
{
    Args a(2);
    pushHostText(Host().GetRoofStr(a.i(0), a.s(1)), "getroofstr: malloc error", a.s(1));
}

void getwallstr()
{
    Args a(2);
    pushHostText(Host().GetWallStr(a.i(0), a.s(1)), "getwallstr: malloc error", a.s(1));
}

void getzrstr()
{
    Args a(1);
    pushHostText(Host().GetZRStr(a.s(0)), "getzrstr: malloc error", a.s(0));
}

void getlengthstr()
{
    Args a(1);
    pushHostText(Host().GetLengthStr(a.n(0)), "getlengthstr: malloc error", nullptr);
}

void getareastr()
{
    Args a(1);
    pushHostText(Host().GetAreaStr(a.n(0)), "getareastr: malloc error", nullptr);
}

void getqtystr()
{
    Args a(2);
    pushHostText(Host().GetQtyStr(a.n(0), a.i(1)), "getqtystr: malloc error", nullptr);
}
