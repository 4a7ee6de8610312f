#pragma once
// A macro host for tests: records every call (function name and arguments, each written as text)
// and answers from values the test sets per function name. It installs itself while it lives.
#include "macro/Host.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

struct HostCall {
    std::string name;
    std::vector<std::string> args;  // numbers in their shortest exact form, texts as they came
    bool operator==(const HostCall&) const = default;
};
std::ostream& operator<<(std::ostream& out, const HostCall& call);

class RecordingHost : public MacroHost {
public:
    RecordingHost();
    ~RecordingHost() override;
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    std::vector<HostCall> calls;
    // The initial values are asked for hundreds of times per run; recorded only when asked to.
    bool recordPredefined = false;
    // Answers by function name; a function without an entry answers 0, 0.0 or the empty text,
    // except GetIntegerVariable and GetPredefinedString, which fall back to the default host.
    std::map<std::string, double> numbers;
    std::map<std::string, AnsiString> texts;

    // The last call, or an empty record when there was none.
    HostCall Last() const { return calls.empty() ? HostCall{} : calls.back(); }

    double GetPredefinedQty(const char* name) override;
    AnsiString GetPredefinedString(const char* name) override;
    void SetZRStr(const char* name, const char* value) override;
    void SetZRQty(const char* name, double value) override;
    int GetIntegerVariable(const char* name) override;

    void SetQty(int product, double qty) override;
    void SetExcludedQty(int product, double qty) override;
    void SetMiscMaterialQty(int product, double qty, const char* text, int excluded, int flag) override;
    void SetMiscellaneousQty(int product, double qty, const char* text1, const char* text2,
                             const char* text3, const char* text4, double value1, double value2,
                             double value3, int excluded, int flag) override;
    void SetNoteOn(const char* note) override;
    void SetNoteOff(const char* note) override;
    void SetNoteStr(const char* note, const char* text) override;
    void PrintStr(const char* prefix, const char* text) override;
    void SetTreatment(int treatment, const char* text1, const char* text2, int flag) override;
    void SetNoteNamePrefix(const char* name, const char* prefix, int flag) override;
    void GetNotesFromFile(const char* path) override;

    int IsNoteOn(const char* note) override;
    int IsProductCode(int code) override;
    int IsExcludedProductCode(int code) override;
    double EaveLengthAbove(double height) override;
    double RoofAreaAbove(double height) override;
    int GetProductCode(const char* text1, const char* text2, int index) override;
    double GetProductQty(int product, const char* field) override;
    double GetProductSubQty(int product, const char* field, int index) override;
    double GetLocalityQty(const char* locality, int index1, int index2) override;
    double GetProductLineSubQty(int line, const char* field, int index) override;
    double GetProductLineQty(int line, const char* field) override;
    double GetExcludedProductLineQty(int line, const char* field) override;
    double GetVariableFromFileQty(const char* path, const char* name) override;
    int SearchDirFileCount(const char* dir, const char* pattern) override;
    int IsFileExist(const char* path) override;
    int IsView(const char* name) override;
    double GetZRQty(const char* name) override;
    double GetEdgeNameQty(int edge, const char* name, const char* field) override;
    double GetEdgeQty(int edge, const char* field) override;
    double GetRoofQty(int roof, const char* field) override;
    double GetWallQty(int wall, const char* field) override;

    AnsiString GetProductStr(int product, const char* field) override;
    AnsiString GetProductSubStr(int product, const char* field, int index) override;
    AnsiString GetLocalityStr(const char* locality, int index1, int index2) override;
    AnsiString GetProductLineSubStr(int line, const char* field, int index) override;
    AnsiString GetPriceStr(double value) override;
    AnsiString GetPriceNoSeparatorStr(double value) override;
    AnsiString ReplaceSeparatorStr(const char* text, const char* replacement) override;
    AnsiString GetProductLineStr(int line, const char* field) override;
    AnsiString GetExcludedProductLineStr(int line, const char* field) override;
    AnsiString GetVariableFromFileStr(const char* path, const char* name) override;
    AnsiString GetLineFromFileStr(const char* path, const char* key, int index) override;
    AnsiString SearchDirFileName(const char* dir, const char* pattern, int index) override;
    AnsiString GetEdgeNameStr(int edge, const char* name, const char* field) override;
    AnsiString GetEdgeStr(int edge, const char* field) override;
    AnsiString GetRoofStr(int roof, const char* field) override;
    AnsiString GetWallStr(int wall, const char* field) override;
    AnsiString GetZRStr(const char* name) override;
    AnsiString GetLengthStr(double value) override;
    AnsiString GetAreaStr(double value) override;
    AnsiString GetQtyStr(double value, int decimals) override;

private:
    // One argument as text.
    struct Arg {
        std::string text;
        Arg(int v);
        Arg(double v);
        Arg(const char* v) : text(v ? v : "(null)") {}
    };
    void Record(const char* name, std::initializer_list<Arg> args);
    double Number(const char* name) const;
    AnsiString Text(const char* name) const;
};
