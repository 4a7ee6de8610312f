// Fuzzes a whole calculation: pad lines are translated (BASIC lines, lengths, answers, TOTAL)
// into a program, which runs, and the answers are formatted. Any pad must end in answers or a
// box, never in a crash or a sanitizer report.
//
// The first byte chooses the input unit, the answer unit and whether a total is asked for. When
// its top bit is clear the pad is built from fragments (BASIC loop heads with lengths and steps,
// feet-and-inch lengths, labels and gotos); otherwise the bytes are a pad file, read as Open reads
// it (key lines, line ends, limits), and a file within the limits must read back the same after
// it is written again.
#include "app/PadFile.h"
#include "calc/CalcState.h"
#include "calc/FormatAnswer.h"
#include "calc/PadCalculation.h"
#include "config/Config.h"
#include "config/Units.h"
#include "fuzz/FuzzGenerate.h"
#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const kFragments[] = {
    "FOR", "i", "w", "=", "TO", "STEP", "NEXT i", "END IF", "END FOR", "ELSE IF", "DO WHILE", "IF", "THEN",
    "ENDIF", "ENDWHILE", "ENDFOR", "for(i = 1; i <= to + 1; i++)", "to", "n", "1", "2", "0", "-", "+", "*",
    "/", "(", ")", "(-)", "2'", "4'", "8'", "16\"", "1/2", "5' 3-1/2\"", "12mm", "3.5m", "2 cm", "'", "\"",
    "\n", "\n", "\n", "TOTAL", "ANS", "x = ", "sqrt(", "sin(", "PI", "L1:", "goto L1", "M:", "goto M",
    "print \"a\" + \"b\"", "set_zr_qty(\"ZR_VARIABLE_2\", 1)", "vector v[3]", "v[1]", "\x92", "\x93", "\x96",
};

const char* const kInputUnits[] = {"MM", "CM", "M", "IMPERIAL"};
const char* const kAnswerUnits[] = {"", "mm", "cm", "m", "ft", "sq ft", "cu yds", "yds"};

TCalcState* state = nullptr;

std::vector<AnsiString> Lines(const std::string& text)
{
    std::vector<AnsiString> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return lines;
}

// The pad lines of a pad file's bytes; none when Open would refuse the file. What the program
// writes of a pad it read must read back as that pad.
std::vector<AnsiString> PadFileLines(const std::string& bytes)
{
    const TPadFile pad = ParsePadText(bytes, MaxPadFileLines);
    if (!PadLimitPassed(pad.Lines, static_cast<std::int64_t>(bytes.size())).isEmpty()) return {};
    const TPadFile back = ParsePadText(FormatPadText(pad));
    if (back.Lines != pad.Lines || back.Date.value_or("") != pad.Date.value_or("") ||
        back.Description.value_or("") != pad.Description.value_or("") ||
        back.UOM_Input.value_or(-1) != pad.UOM_Input.value_or(-1) ||
        back.UOM_Answer.value_or(-1) != pad.UOM_Answer.value_or(-1) ||
        back.Precision.value_or(-1) != pad.Precision.value_or(-1) ||
        back.UOM_Angle.value_or(-1) != pad.UOM_Angle.value_or(-1)) {
        std::fprintf(stderr, "a pad file written from what was read reads back differently\n");
        std::abort();
    }
    return pad.Lines;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitialize("pad_fuzz");
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return 1;
    const std::string folder = cwd;
    new TConfig((folder + "/pad_fuzz_" + std::to_string(getpid()) + ".INI").c_str());
    Config->TempDir = folder;
    Config->MacroDir = folder;
    state = new TCalcState;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const uint8_t choice = data[0];
    std::vector<AnsiString> pad = choice & 0x80
                                      ? PadFileLines(std::string(reinterpret_cast<const char*>(data + 1), size - 1))
                                      : Lines(FuzzFromFragments(data + 1, size - 1, kFragments));
    if (pad.size() > 400) pad.resize(400);
    const char* answer = kAnswerUnits[(choice >> 2) % 8];
    Config->InputUnit = UnitFromName(kInputUnits[choice & 3]);
    Config->AnswerUnit = AnswerUnitScale(answer);
    state->AnswerUnitName = answer;
    state->Precision = (choice >> 5) % 2 ? 16 : -1;
    state->AngleUnit = 0;
    FuzzWithin(std::chrono::milliseconds(500), [&] { CalculatePadLines(*state, pad, (choice & 0x40) != 0); });
    return 0;
}
