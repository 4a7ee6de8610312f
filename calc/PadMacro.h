#pragma once
// A pad is calculated by writing it, line by line, as one macro program into the file
// "MacroRunLine.Tmp" and running that file. Answers do not come back through the file: each
// answer line ends in a Set_ZR_Qty statement whose host function files the answer on the form's
// calculation state (HostCalcState(), calc/HostFunctions.h).
//
// The program: the angle line (radians or grads only), "TOTAL = 0", "ANS = 0", then per pad line
//   statement  (holds "=" or a statement word)   C '_LINE:n
//   comment    (begins with an apostrophe)        C
//   answer     (anything else)                   ANS = C '_LINE:n
//                                                 Set_ZR_Qty("ZR_VARIABLE:n", ANS)
//                                                 TOTAL = TOTAL + ANS   (until a line mentions TOTAL)
// and last Set_ZR_Qty("ZR_VARIABLE_2", 1), which tells a run that reached its end.
// The marker is a comment to the interpreter; its syntax-error box reads the pad line back from it.
#include "platform/vcl/Strings.h"


// The program of one calculation, built in memory and written whole when it is run, so that a
// full or failing disk can never leave a cut program to be run. The calculation owns it.
struct PadMacroFile {
    AnsiString text;    // the program so far
    bool open = false;  // opened and not yet written
};

// The style of the consistency and answer-units warnings: warning icon, OK, "Don't tell me
// again", own captions.
inline constexpr unsigned kWarningStyle = 0x22000030;

// The file name of the program, in the temporary folder (else the macro folder).
inline constexpr const char* kPadMacroFileName = "MacroRunLine.Tmp";
// The marker that ends each line written for a pad line, followed by the pad line number.
inline constexpr const char* kPadLineMarker = " '_LINE:";

// Chooses the folder (Config->TempDir when it exists, else Config->MacroDir), stores the path and
// starts the program with its first lines. When no file can be made there (no such folder, a
// path too long for the interpreter) the "Macro Single Line File Error" box is shown and false
// returned, with the program not open.
bool OpenPadMacroFile(PadMacroFile& file, AnsiString& path);

// Writes the lines of pad line n (after its BASIC-style rewrite), converting its feet-and-inch
// lengths; dimension gets the line's dimension (DimNone when it holds no length). The first line
// that mentions TOTAL clears stillTotalling for good. Inconsistent units raise the consistency
// warning (until it is answered with "Don't tell me again"). Always true.
bool TranslatePadLine(PadMacroFile& file, AnsiString line, int n, int& dimension, bool& stillTotalling);

// Writes the program to path through the safe write. A failure shows the "Macro Single Line File
// Error" box with the file and the reason and returns false; the program is then not run.
bool WritePadMacroFile(PadMacroFile& file, const AnsiString& path);

// Adds the completion line, writes the file and runs it. True when the run reached its end.
bool RunPadMacroFile(PadMacroFile& file, const AnsiString& path);

// The last answers of the two warnings of a calculation, kept for the life of the process; once
// one holds the "Don't tell me again" bit its warning is not shown again. Tests reset them.
int& ConsistencyWarningAnswer();
int& AnswerUnitsWarningAnswer();
