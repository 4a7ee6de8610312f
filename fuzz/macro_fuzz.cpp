// Fuzzes the macro interpreter with whole program files: any bytes must end in a box or a normal
// end of the run, never in a crash, a sanitizer report or a hang of the parser.
//
// The programs are run as the pad calculation runs them (RunMacroFile on a file). An input whose
// first byte is 0x00 to 0x3F is built from fragments instead of taken as it stands: labels and
// gotos anywhere inside expressions, routines, loops and prints, the places where a jump once met
// values of the wrong kind.
#include "fuzz/FuzzGenerate.h"
#include "fuzz/FuzzSupport.h"
#include "macro/Run.h"

#include <string>
#include <unistd.h>

namespace {

const char* const kFragments[] = {
    "L1:", "L2:", "M:", "goto L1", "goto L2", "goto M", "goto @L1", "goto @M", "\n", "\n", "\n", ";",
    "print", "\"a\"", "\"%s\"", "\"%d\"", "+", "-", "*", "/", "%", "^", "(", ")", "(-)", ",", "==", "<",
    "x", "y", "1", "2.5", "0", "s$", "t$", "=", "+=", "++", "if (", ") then", "else", "elseif (",
    "endif", "for (i = 0;", "i < 3;", "i++)", "{", "}", "endfor", "while (", "endwhile", "proc p()",
    "func f()", "return(", "return\n", "endfunc", "p()", "f(", "$1", "$2", "switch (", "case (",
    "default", "break", "vector v[3]", "v[1]", "vector w$[2]", "w$[1]", "str(x, \"%g\")", "chr(65)",
    "len(s$)", "set_zr_qty(\"A\", ", "int(", "modulo(", "message", "trimstr(", "lcase(", "askyesno",
    "ask \"n\", x", "read(x)", "qsort(2, v)", "stop(0)",
};

std::string inputPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitialize("macro_fuzz");
    inputPath = "macro_fuzz_input_" + std::to_string(getpid()) + ".txt";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0 && data[0] < 0x40) {
        const std::string program = FuzzFromFragments(data + 1, size - 1, kFragments);
        FuzzWriteFile(inputPath, reinterpret_cast<const uint8_t*>(program.data()), program.size());
    } else {
        FuzzWriteFile(inputPath, data, size);
    }
    FuzzWithin(std::chrono::milliseconds(500), [] { RunMacroFile(inputPath.c_str()); });
    return 0;
}
