// The default host: every estimate function answers neutrally, so the interpreter runs without the
// pad calculation around it.
#include "macro/Host.h"

#include <cstring>

double MacroHost::GetPredefinedQty(const char*) { return 0.0; }

AnsiString MacroHost::GetPredefinedString(const char* name)
{
    // The dialog captions are asked for by name; without a real host they read as their own names.
    static const char kTranslate[] = "TRANSLATE:";
    if (const char* at = std::strstr(name, kTranslate))
        return AnsiString(at + sizeof kTranslate - 1);
    return {};
}

void MacroHost::SetZRStr(const char*, const char*) {}
void MacroHost::SetZRQty(const char*, double) {}

int MacroHost::GetIntegerVariable(const char* name)
{
    // A plain locale: full stop for decimals, comma for thousands and lists.
    const AnsiString upper = UpperCase(name);
    if (upper == "DECIMALSEPARATOR")
        return '.';
    if (upper == "THOUSANDSEPARATOR" || upper == "THOUSANDSSEPARATOR" || upper == "LISTSEPARATOR")
        return ',';
    return 0;
}

void MacroHost::SetQty(int, double) {}
void MacroHost::SetExcludedQty(int, double) {}
void MacroHost::SetMiscMaterialQty(int, double, const char*, int, int) {}
void MacroHost::SetMiscellaneousQty(int, double, const char*, const char*, const char*, const char*,
                                    double, double, double, int, int) {}
void MacroHost::SetNoteOn(const char*) {}
void MacroHost::SetNoteOff(const char*) {}
void MacroHost::SetNoteStr(const char*, const char*) {}
void MacroHost::PrintStr(const char*, const char*) {}
void MacroHost::SetTreatment(int, const char*, const char*, int) {}
void MacroHost::SetNoteNamePrefix(const char*, const char*, int) {}
void MacroHost::GetNotesFromFile(const char*) {}
bool MacroHost::MayReachOutside() { return true; }

int MacroHost::IsNoteOn(const char*) { return 0; }
int MacroHost::IsProductCode(int) { return 0; }
int MacroHost::IsExcludedProductCode(int) { return 0; }
double MacroHost::EaveLengthAbove(double) { return 0.0; }
double MacroHost::RoofAreaAbove(double) { return 0.0; }
int MacroHost::GetProductCode(const char*, const char*, int) { return 0; }
double MacroHost::GetProductQty(int, const char*) { return 0.0; }
double MacroHost::GetProductSubQty(int, const char*, int) { return 0.0; }
double MacroHost::GetLocalityQty(const char*, int, int) { return 0.0; }
double MacroHost::GetProductLineSubQty(int, const char*, int) { return 0.0; }
double MacroHost::GetProductLineQty(int, const char*) { return 0.0; }
double MacroHost::GetExcludedProductLineQty(int, const char*) { return 0.0; }
double MacroHost::GetVariableFromFileQty(const char*, const char*) { return 0.0; }
int MacroHost::SearchDirFileCount(const char*, const char*) { return 0; }
int MacroHost::IsFileExist(const char*) { return 0; }
int MacroHost::IsView(const char*) { return 0; }
double MacroHost::GetZRQty(const char*) { return 0.0; }
double MacroHost::GetEdgeNameQty(int, const char*, const char*) { return 0.0; }
double MacroHost::GetEdgeQty(int, const char*) { return 0.0; }
double MacroHost::GetRoofQty(int, const char*) { return 0.0; }
double MacroHost::GetWallQty(int, const char*) { return 0.0; }

AnsiString MacroHost::GetProductStr(int, const char*) { return {}; }
AnsiString MacroHost::GetProductSubStr(int, const char*, int) { return {}; }
AnsiString MacroHost::GetLocalityStr(const char*, int, int) { return {}; }
AnsiString MacroHost::GetProductLineSubStr(int, const char*, int) { return {}; }
AnsiString MacroHost::GetPriceStr(double) { return {}; }
AnsiString MacroHost::GetPriceNoSeparatorStr(double) { return {}; }
AnsiString MacroHost::ReplaceSeparatorStr(const char*, const char*) { return {}; }
AnsiString MacroHost::GetProductLineStr(int, const char*) { return {}; }
AnsiString MacroHost::GetExcludedProductLineStr(int, const char*) { return {}; }
AnsiString MacroHost::GetVariableFromFileStr(const char*, const char*) { return {}; }
AnsiString MacroHost::GetLineFromFileStr(const char*, const char*, int) { return {}; }
AnsiString MacroHost::SearchDirFileName(const char*, const char*, int) { return {}; }
AnsiString MacroHost::GetEdgeNameStr(int, const char*, const char*) { return {}; }
AnsiString MacroHost::GetEdgeStr(int, const char*) { return {}; }
AnsiString MacroHost::GetRoofStr(int, const char*) { return {}; }
AnsiString MacroHost::GetWallStr(int, const char*) { return {}; }
AnsiString MacroHost::GetZRStr(const char*) { return {}; }
AnsiString MacroHost::GetLengthStr(double) { return {}; }
AnsiString MacroHost::GetAreaStr(double) { return {}; }
AnsiString MacroHost::GetQtyStr(double, int) { return {}; }

namespace {
MacroHost defaultHost;
MacroHost* currentHost = &defaultHost;
}  // namespace

MacroHost& Host() { return *currentHost; }

void SetMacroHost(MacroHost* host) { currentHost = host ? host : &defaultHost; }
