#pragma once
// The interpreter's one door to the program around it: the estimate built-ins, the ZR_ setters and
// the initial values of the predefined variables all call out through MacroHost. The interpreter
// never reaches the rest of the program any other way.
//
// Conventions of every function:
//  - texts come in as NUL-terminated 8-bit strings (never null), and may be as long as a pad can
//    make them (hundreds of megabytes): a host reads them, it copies no more of them than it keeps;
//  - the interpreter keeps at most kTextHeadMax bytes of a text result (its result buffer), up to
//    the first NUL, so a host builds no more than that;
//  - misuse is reported through ShowMacroHostError (macro/Macromain.h), a box of the run;
//  - ints are the interpreter's rounded arguments (see the built-in that calls them).
// The default host answers neutrally (0, 0.0, the empty text) so that the interpreter runs and is
// tested on its own; the pad calculation installs the real one.
#include "platform/vcl/Strings.h"

#include <cstddef>

class MacroHost {
public:
    virtual ~MacroHost() = default;

    // --- predefined values and the ZR_ setters -------------------------------------------------
    // Initial value of a numeric predefined variable.
    virtual double GetPredefinedQty(const char* name);
    // Initial value of a string predefined variable, or a dialog caption ("TRANSLATE:Message").
    virtual AnsiString GetPredefinedString(const char* name);
    virtual void SetZRStr(const char* name, const char* value);
    virtual void SetZRQty(const char* name, double value);
    // The locale's separators and other integers by name ("DECIMALSEPARATOR",
    // "THOUSANDSEPARATOR", "LISTSEPARATOR"): the separator's 8-bit code as a signed value.
    virtual int GetIntegerVariable(const char* name);

    // --- reach -----------------------------------------------------------------------------------
    // Whether this run may reach outside the pad: open files or devices (open, morse). No ends
    // the run at the first such statement with a box that names it. The pad's calculation on
    // opening a file says no: a pad from someone else touches nothing until the user calculates.
    virtual bool MayReachOutside();

    // --- estimate setters (statements) --------------------------------------------------------
    virtual void SetQty(int product, double qty);
    virtual void SetExcludedQty(int product, double qty);
    // excluded: 0 plain, 1 excluded.
    virtual void SetMiscMaterialQty(int product, double qty, const char* text, int excluded, int flag);
    virtual void SetMiscellaneousQty(int product, double qty, const char* text1, const char* text2,
                                     const char* text3, const char* text4, double value1,
                                     double value2, double value3, int excluded, int flag);
    virtual void SetNoteOn(const char* note);
    virtual void SetNoteOff(const char* note);
    virtual void SetNoteStr(const char* note, const char* text);
    virtual void PrintStr(const char* prefix, const char* text);
    virtual void SetTreatment(int treatment, const char* text1, const char* text2, int flag);
    virtual void SetNoteNamePrefix(const char* name, const char* prefix, int flag);
    virtual void GetNotesFromFile(const char* path);

    // --- numeric getters ------------------------------------------------------------------------
    virtual int IsNoteOn(const char* note);
    virtual int IsProductCode(int code);
    virtual int IsExcludedProductCode(int code);
    virtual double EaveLengthAbove(double height);
    virtual double RoofAreaAbove(double height);
    virtual int GetProductCode(const char* text1, const char* text2, int index);
    virtual double GetProductQty(int product, const char* field);
    virtual double GetProductSubQty(int product, const char* field, int index);
    virtual double GetLocalityQty(const char* locality, int index1, int index2);
    virtual double GetProductLineSubQty(int line, const char* field, int index);
    virtual double GetProductLineQty(int line, const char* field);
    virtual double GetExcludedProductLineQty(int line, const char* field);
    virtual double GetVariableFromFileQty(const char* path, const char* name);
    virtual int SearchDirFileCount(const char* dir, const char* pattern);
    virtual int IsFileExist(const char* path);
    virtual int IsView(const char* name);
    virtual double GetZRQty(const char* name);
    virtual double GetEdgeNameQty(int edge, const char* name, const char* field);
    virtual double GetEdgeQty(int edge, const char* field);
    virtual double GetRoofQty(int roof, const char* field);
    virtual double GetWallQty(int wall, const char* field);

    // --- text getters ---------------------------------------------------------------------------
    virtual AnsiString GetProductStr(int product, const char* field);
    virtual AnsiString GetProductSubStr(int product, const char* field, int index);
    virtual AnsiString GetLocalityStr(const char* locality, int index1, int index2);
    virtual AnsiString GetProductLineSubStr(int line, const char* field, int index);
    virtual AnsiString GetPriceStr(double value);
    virtual AnsiString GetPriceNoSeparatorStr(double value);
    virtual AnsiString ReplaceSeparatorStr(const char* text, const char* replacement);
    virtual AnsiString GetProductLineStr(int line, const char* field);
    virtual AnsiString GetExcludedProductLineStr(int line, const char* field);
    virtual AnsiString GetVariableFromFileStr(const char* path, const char* name);
    virtual AnsiString GetLineFromFileStr(const char* path, const char* key, int index);
    virtual AnsiString SearchDirFileName(const char* dir, const char* pattern, int index);
    virtual AnsiString GetEdgeNameStr(int edge, const char* name, const char* field);
    virtual AnsiString GetEdgeStr(int edge, const char* field);
    virtual AnsiString GetRoofStr(int roof, const char* field);
    virtual AnsiString GetWallStr(int wall, const char* field);
    virtual AnsiString GetZRStr(const char* name);
    virtual AnsiString GetLengthStr(double value);
    virtual AnsiString GetAreaStr(double value);
    virtual AnsiString GetQtyStr(double value, int decimals);
};

// The host in use; never null (the default host until one is installed).
MacroHost& Host();
// Installs a host; null puts the default host back. The caller keeps ownership.
void SetMacroHost(MacroHost* host);
