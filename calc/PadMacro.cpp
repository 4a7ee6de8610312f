#include "calc/PadMacro.h"

#include "calc/FeetInch.h"
#include "calc/HostFunctions.h"
#include "config/Config.h"
#include "macro/Host.h"
#include "macro/Run.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SafeWrite.h"
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

void WriteLine(PadMacroFile& file, const AnsiString& text)
{
    file.text += text;
    file.text += '\n';
}

void CannotWrite(const AnsiString& path, const QString& reason)
{
    // The folder comes from the settings file, which may hold a text of any length.
    QString text = "Can't open " + PathToUnicode(TextHead(path.c_str())) + " for writing";
    if (!reason.isEmpty()) text += "\n" + reason;
    Application->MessageBox(text, QStringLiteral("Macro Single Line File Error"), MB_OK);
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
    file = PadMacroFile();
    const AnsiString folder = Config ? ChooseFolder(Config->TempDir, Config->MacroDir) : AnsiString();
    path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    path += kPadMacroFileName;

    // What can be known before the pad is translated is checked now; the write itself may still
    // fail when the program is run.
    if (path.size() > kMaxProgramPath || !DirectoryExists(folder)) {
        CannotWrite(path, QString());
        return false;
    }
    file.open = true;
    const TCalcState* state = HostCalcState();
    const int angleUnit = state ? state->AngleUnit : 0;
    if (angleUnit == 1) WriteLine(file, "Set_ZR_Qty(\"ZR_ANGLE_UOM\",1)");
    if (angleUnit == 2) WriteLine(file, "Set_ZR_Qty(\"ZR_ANGLE_UOM\",2)");
    WriteLine(file, "TOTAL = 0");
    WriteLine(file, "ANS = 0");
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
        const AnsiString message = "Possible Inconsistent Units in following line\n" + TextHead(line.c_str());
        ConsistencyWarningAnswer() =
            ExtMessageBox(nullptr, message.c_str(), "Consistency Warning", kWarningStyle, &params);
    }

    // The line that mentions TOTAL is itself no longer added to the total.
    if (converted.find("TOTAL") != AnsiString::npos) stillTotalling = false;

    if (!file.open) return true;
    const AnsiString upper = Trim(UpperCase(converted));
    if (IsStatement(upper)) {
        WriteLine(file, converted + marker);
    } else if (!upper.empty() && upper[0] == '\'') {
        WriteLine(file, converted);
    } else {
        WriteLine(file, "ANS = " + converted + marker);
        WriteLine(file, "Set_ZR_Qty(\"ZR_VARIABLE:" + std::to_string(n) + "\", ANS)");
        if (stillTotalling) WriteLine(file, "TOTAL = TOTAL + ANS");
    }
    return true;
}

bool WritePadMacroFile(PadMacroFile& file, const AnsiString& path)
{
    if (!file.open) return false;
    file.open = false;
    // The program holds the pad's lines, which may be private: only the user may read it.
    const SafeWriteResult written = SafeWriteFile(path, file.text, 0600);
    if (!written) CannotWrite(path, written.reason);
    return written.ok;
}

bool RunPadMacroFile(PadMacroFile& file, const AnsiString& path)
{
    TCalcState* state = HostCalcState();
    if (state) {
        state->MacroVariables[0] = 0.0;
        state->MacroVariables[1] = 0.0;
    }
    if (!file.open) return false;
    WriteLine(file, "Set_ZR_Qty(\"ZR_VARIABLE_2\", 1)");
    if (!WritePadMacroFile(file, path)) return false;

    RunMacroFile(path.c_str());
    return state && state->MacroVariables[1] >= 0.1;
}
