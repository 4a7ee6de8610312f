#include "tests/common/RecordingHost.h"

#include <charconv>

std::ostream& operator<<(std::ostream& out, const HostCall& call)
{
    out << call.name << '(';
    for (size_t i = 0; i < call.args.size(); ++i)
        out << (i ? ", " : "") << '"' << call.args[i] << '"';
    return out << ')';
}

RecordingHost::RecordingHost() { SetMacroHost(this); }
RecordingHost::~RecordingHost() { SetMacroHost(nullptr); }

RecordingHost::Arg::Arg(int v) : text(std::to_string(v)) {}
RecordingHost::Arg::Arg(double v)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    text.assign(buf, res.ptr);
}

void RecordingHost::Record(const char* name, std::initializer_list<Arg> args)
{
    HostCall call{name, {}};
    for (const Arg& a : args)
        call.args.push_back(a.text);
    calls.push_back(std::move(call));
}

double RecordingHost::Number(const char* name) const
{
    auto it = numbers.find(name);
    return it == numbers.end() ? 0.0 : it->second;
}

AnsiString RecordingHost::Text(const char* name) const
{
    auto it = texts.find(name);
    return it == texts.end() ? AnsiString() : it->second;
}

double RecordingHost::GetPredefinedQty(const char* name)
{
    if (recordPredefined) Record("GetPredefinedQty", {name});
    return Number("GetPredefinedQty");
}
AnsiString RecordingHost::GetPredefinedString(const char* name)
{
    if (recordPredefined) Record("GetPredefinedString", {name});
    auto it = texts.find("GetPredefinedString");
    return it == texts.end() ? MacroHost::GetPredefinedString(name) : it->second;
}
void RecordingHost::SetZRStr(const char* name, const char* value) { Record("SetZRStr", {name, value}); }
void RecordingHost::SetZRQty(const char* name, double value) { Record("SetZRQty", {name, value}); }
int RecordingHost::GetIntegerVariable(const char* name)
{
    Record("GetIntegerVariable", {name});
    auto it = numbers.find(std::string("GetIntegerVariable:") + name);
    return it == numbers.end() ? MacroHost::GetIntegerVariable(name) : static_cast<int>(it->second);
}

void RecordingHost::SetQty(int product, double qty) { Record("SetQty", {product, qty}); }
void RecordingHost::SetExcludedQty(int product, double qty) { Record("SetExcludedQty", {product, qty}); }
void RecordingHost::SetMiscMaterialQty(int product, double qty, const char* text, int excluded, int flag)
{
    Record("SetMiscMaterialQty", {product, qty, text, excluded, flag});
}
void RecordingHost::SetMiscellaneousQty(int product, double qty, const char* text1, const char* text2,
                                        const char* text3, const char* text4, double value1,
                                        double value2, double value3, int excluded, int flag)
{
    Record("SetMiscellaneousQty",
           {product, qty, text1, text2, text3, text4, value1, value2, value3, excluded, flag});
}
void RecordingHost::SetNoteOn(const char* note) { Record("SetNoteOn", {note}); }
void RecordingHost::SetNoteOff(const char* note) { Record("SetNoteOff", {note}); }
void RecordingHost::SetNoteStr(const char* note, const char* text) { Record("SetNoteStr", {note, text}); }
void RecordingHost::PrintStr(const char* prefix, const char* text) { Record("PrintStr", {prefix, text}); }
void RecordingHost::SetTreatment(int treatment, const char* text1, const char* text2, int flag)
{
    Record("SetTreatment", {treatment, text1, text2, flag});
}
void RecordingHost::SetNoteNamePrefix(const char* name, const char* prefix, int flag)
{
    Record("SetNoteNamePrefix", {name, prefix, flag});
}
void RecordingHost::GetNotesFromFile(const char* path) { Record("GetNotesFromFile", {path}); }

#define NUMBER_HOST(type, fn, params, ...)                                                         \
    type RecordingHost::fn params                                                                  \
    {                                                                                              \
        Record(#fn, {__VA_ARGS__});                                                                \
        return static_cast<type>(Number(#fn));                                                     \
    }
#define TEXT_HOST(fn, params, ...)                                                                 \
    AnsiString RecordingHost::fn params                                                            \
    {                                                                                              \
        Record(#fn, {__VA_ARGS__});                                                                \
        return Text(#fn);                                                                          \
    }

NUMBER_HOST(int, IsNoteOn, (const char* note), note)
NUMBER_HOST(int, IsProductCode, (int code), code)
NUMBER_HOST(int, IsExcludedProductCode, (int code), code)
NUMBER_HOST(double, EaveLengthAbove, (double height), height)
NUMBER_HOST(double, RoofAreaAbove, (double height), height)
NUMBER_HOST(int, GetProductCode, (const char* text1, const char* text2, int index), text1, text2, index)
NUMBER_HOST(double, GetProductQty, (int product, const char* field), product, field)
NUMBER_HOST(double, GetProductSubQty, (int product, const char* field, int index), product, field, index)
NUMBER_HOST(double, GetLocalityQty, (const char* locality, int index1, int index2), locality, index1, index2)
NUMBER_HOST(double, GetProductLineSubQty, (int line, const char* field, int index), line, field, index)
NUMBER_HOST(double, GetProductLineQty, (int line, const char* field), line, field)
NUMBER_HOST(double, GetExcludedProductLineQty, (int line, const char* field), line, field)
NUMBER_HOST(double, GetVariableFromFileQty, (const char* path, const char* name), path, name)
NUMBER_HOST(int, SearchDirFileCount, (const char* dir, const char* pattern), dir, pattern)
NUMBER_HOST(int, IsFileExist, (const char* path), path)
NUMBER_HOST(int, IsView, (const char* name), name)
NUMBER_HOST(double, GetZRQty, (const char* name), name)
NUMBER_HOST(double, GetEdgeNameQty, (int edge, const char* name, const char* field), edge, name, field)
NUMBER_HOST(double, GetEdgeQty, (int edge, const char* field), edge, field)
NUMBER_HOST(double, GetRoofQty, (int roof, const char* field), roof, field)
NUMBER_HOST(double, GetWallQty, (int wall, const char* field), wall, field)

TEXT_HOST(GetProductStr, (int product, const char* field), product, field)
TEXT_HOST(GetProductSubStr, (int product, const char* field, int index), product, field, index)
TEXT_HOST(GetLocalityStr, (const char* locality, int index1, int index2), locality, index1, index2)
TEXT_HOST(GetProductLineSubStr, (int line, const char* field, int index), line, field, index)
TEXT_HOST(GetPriceStr, (double value), value)
TEXT_HOST(GetPriceNoSeparatorStr, (double value), value)
TEXT_HOST(ReplaceSeparatorStr, (const char* text, const char* replacement), text, replacement)
TEXT_HOST(GetProductLineStr, (int line, const char* field), line, field)
TEXT_HOST(GetExcludedProductLineStr, (int line, const char* field), line, field)
TEXT_HOST(GetVariableFromFileStr, (const char* path, const char* name), path, name)
TEXT_HOST(GetLineFromFileStr, (const char* path, const char* key, int index), path, key, index)
TEXT_HOST(SearchDirFileName, (const char* dir, const char* pattern, int index), dir, pattern, index)
TEXT_HOST(GetEdgeNameStr, (int edge, const char* name, const char* field), edge, name, field)
TEXT_HOST(GetEdgeStr, (int edge, const char* field), edge, field)
TEXT_HOST(GetRoofStr, (int roof, const char* field), roof, field)
TEXT_HOST(GetWallStr, (int wall, const char* field), wall, field)
TEXT_HOST(GetZRStr, (const char* name), name)
TEXT_HOST(GetLengthStr, (double value), value)
TEXT_HOST(GetAreaStr, (double value), value)
TEXT_HOST(GetQtyStr, (double value, int decimals), value, decimals)
