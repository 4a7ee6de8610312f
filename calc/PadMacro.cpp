#include "calc/PadMacro.h"

#include "calc/FeetInch.h"
#include "calc/HostFunctions.h"
#include "config/Config.h"
#include "macro/Run.h"
#include "platform/vcl/Forms.h"
#include "platform/win/ExtMessageBox.h"

#include <string>

namespace {

// The interpreter takes the path in a buffer of 256 bytes; a longer path is refused at opening.
constexpr size_t kMaxProgramPath = 255;

// Words that make a pad line a statement of its own, looked for anywhere in the upper-cased line
// (so "ASK" also stands in "TASK", and "END" in "SPEND").
const char* const kStatementWords[] = {
    "=", "MESSAGE", "MSGBOX", "THEN", "ELSE", "END", "SET_ZR_QTY", "SET_ZR_STR", "ASK", "ASKYESNO", "VECTOR",
};

bool IsStatement(const AnsiString& upper)
{
    for (const char* word : kStatementWords)
        if (upper.find(word) != AnsiString::npos) return true;
    return false;
}

void WriteLine(std::FILE* stream, const AnsiString& text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fputc('\n', stream);
}

// Stored folders may be written the Windows way.
AnsiString WithSlashes(AnsiString folder)
{
    for (char& c : folder)
        if (c == '\\') c = '/';
    return folder;
}

// The temporary folder when it exists, else the macro folder whether it exists or not.
AnsiString ChooseFolder(const AnsiString& tempDir, const AnsiString& macroDir)
{
    const AnsiString temp = WithSlashes(tempDir);
    return DirectoryExists(temp) ? temp : WithSlashes(macroDir);
}

}  // namespace

PadMacroFile::~PadMacroFile()
{
    if (stream) std::fclose(stream);
}

int& ConsistencyWarningAnswer()
{
    static int answer = 0;
    return answer;
}

int& AnswerUnitsWarningAnswer()
{
    static int answer = 0;
    return answer;
}

bool OpenPadMacroFile(PadMacroFile& file, AnsiString& path)
{
    if (file.stream) {
        std::fclose(file.stream);
        file.stream = nullptr;
    }
    const AnsiString folder = Config ? ChooseFolder(Config->TempDir, Config->MacroDir) : AnsiString();
    path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    path += kPadMacroFileName;

    std::remove(path.c_str());
    if (path.size() <= kMaxProgramPath) file.stream = std::fopen(path.c_str(), "w");
    if (!file.stream) {
        Application->MessageBox(Win1252ToUnicode("Can't open " + path + " for writing"),
                                QStringLiteral("Macro Single Line File Error"), MB_OK);
        return false;
    }
    // A pad of many lines is written in few system calls.
    std::setvbuf(file.stream, nullptr, _IOFBF, 1 << 16);

    const TCalcState* state = HostCalcState();
    const int angleUnit = state ? state->AngleUnit : 0;
    if (angleUnit == 1) WriteLine(file.stream, "Set_ZR_Qty(\"ZR_ANGLE_UOM\",1)");
    if (angleUnit == 2) WriteLine(file.stream, "Set_ZR_Qty(\"ZR_ANGLE_UOM\",2)");
    WriteLine(file.stream, "TOTAL = 0");
    WriteLine(file.stream, "ANS = 0");
    return true;
}

bool TranslatePadLine(PadMacroFile& file, AnsiString line, int n, int& dimension, bool& stillTotalling)
{
    // The program is a text file: a NUL would end the written line before its marker, so the
    // line is taken up to its first NUL.
    if (const size_t nul = line.find('\0'); nul != AnsiString::npos) line.resize(nul);
    const AnsiString marker = kPadLineMarker + std::to_string(n);

    dimension = DimNone;
    AnsiString converted;
    const TLengthScale inputUnit = Config ? Config->InputUnit : TLengthScale();
    ConvertImperialLine(line, converted, dimension, inputUnit);

    if (dimension == DimInconsistent && !(ConsistencyWarningAnswer() & MB_DONOTTELLAGAIN)) {
        const ExtMessageBoxParams params;
        const AnsiString message = "Possible Inconsistent Units in following line\n" + line;
        ConsistencyWarningAnswer() =
            ExtMessageBox(nullptr, message.c_str(), "Consistency Warning", kWarningStyle, &params);
    }

    // The line that mentions TOTAL is itself no longer added to the total.
    if (converted.find("TOTAL") != AnsiString::npos) stillTotalling = false;

    if (!file.stream) return true;
    const AnsiString upper = Trim(UpperCase(converted));
    if (IsStatement(upper)) {
        WriteLine(file.stream, converted + marker);
    } else if (!upper.empty() && upper[0] == '\'') {
        WriteLine(file.stream, converted);
    } else {
        WriteLine(file.stream, "ANS = " + converted + marker);
        WriteLine(file.stream, "Set_ZR_Qty(\"ZR_VARIABLE:" + std::to_string(n) + "\", ANS)");
        if (stillTotalling) WriteLine(file.stream, "TOTAL = TOTAL + ANS");
    }
    return true;
}

bool RunPadMacroFile(PadMacroFile& file, const AnsiString& path)
{
    TCalcState* state = HostCalcState();
    if (state) {
        state->MacroVariables[0] = 0.0;
        state->MacroVariables[1] = 0.0;
    }
    if (!file.stream) return false;
    WriteLine(file.stream, "Set_ZR_Qty(\"ZR_VARIABLE_2\", 1)");
    std::fclose(file.stream);
    file.stream = nullptr;

    RunMacroFile(path.c_str());
    return state && state->MacroVariables[1] >= 0.1;
}
