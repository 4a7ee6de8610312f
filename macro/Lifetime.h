#pragma once
// How long each thing a macro program makes lives, in one place.
//
// - The session (the process): the symbol records and the values of user variables (numbers,
//   texts and vectors). A name keeps its value from one calculation to the next.
// - One run (one calculation): the texts the program text brings (names' copies, literals), the
//   code of its routines, its labels, the files it opens and the string store. At the next run's
//   start the texts that user variables still hold are copied over and the rest freed, the names
//   the run installs again take over the earlier records, and routines
//   and labels of earlier runs no longer count (a label's name is free again; calling an old
//   routine is "undefined routine"). Files are closed and the string store is closed when a run
//   ends, however it ends.
// - As long as something reaches it: a text that a string instruction makes (a result, a line
//   read). A string variable, a string vector's element or a value on the stack keeps it; the
//   rest are freed while the program runs, so that a loop that rebuilds a text keeps only its
//   latest one. The texts held at any time stay below kTextBudget.
// - One top-level statement: labels inside its code, which the next statement is compiled over;
//   a goto to one afterwards is "undefined label:", and the name cannot be a label again in the run.
//
// Every rule is applied here and only here: Symbol's run stamp is private to this file.
#include <cstddef>

struct Symbol;

// Held by the run entry for the whole of a run: opens the string store, and at the end (or an
// exception) closes the run's files and the store.
class RunLifetime {
public:
    RunLifetime();
    ~RunLifetime();
    RunLifetime(const RunLifetime&) = delete;
    RunLifetime& operator=(const RunLifetime&) = delete;
};

// The start of a run, from machineReset, before the predefined names are installed: a new run
// number, user variables' texts carried into a fresh arena, earlier labels made plain names.
void lifetimeStartRun();
// After each top-level statement has run: the labels it defined in its own code are forgotten.
void lifetimeEndStatement();

// Symbol records: whether this run installed (or defined) the symbol, and marking it so.
bool installedThisRun(const Symbol* s);
void stampThisRun(Symbol* s);

// Labels: the lexer defines one at position; false (nothing changed) when this run has defined a
// label of that name already.
bool defineLabel(Symbol* label, int position);
bool labelFromThisRun(const Symbol* label);
// Routines: defined by this run (a routine of an earlier run has no code any more).
bool routineFromThisRun(const Symbol* routine);

// --- run arena -----------------------------------------------------------------------------------
// Per-run allocations that the program text brings (number literals, texts written in it), so
// they grow with the program, not with how long it runs. Nothing frees them during the run; the
// next run frees them. "not enought memory" when the allocation fails.
void* macroAlloc(size_t size);
// The same, but null on failure.
char* macroTryAlloc(size_t size);
// A run-arena copy of text (null stays null).
char* macroStrDup(const char* text);
// The one empty text of the session, which string vectors start with.
char* macroEmptyText();

// --- texts of string instructions ----------------------------------------------------------------
// The most memory that the texts of string instructions may take at once. A program that would
// need more (a text doubled again and again, or millions of one-letter texts) gets the
// instruction's own ": malloc error", long before the machine runs out of memory.
constexpr size_t kTextBudget = size_t(256) << 20;
// What a text takes beyond its own bytes (its NUL included): the allocator's header and rounding,
// the record that tracks it, and its slot in the list of texts, which grows by doubling. A
// one-letter text takes a 32-byte block and 8 to 16 bytes of the list, so millions of short
// texts cost some 20 times their letters; each text is charged this on top of its size.
constexpr size_t kTextOverhead = 48;
// What a text of size bytes counts against kTextBudget.
constexpr size_t macroTextCost(size_t size) { return size + kTextOverhead; }
// A new text of size bytes for a string instruction's result; null when it would pass the budget
// or memory runs out (the instruction then reports its own ": malloc error"). Texts that nothing
// reaches any more are freed here first, when enough has been made since the last time.
//
// What reaches a text: a string variable, a string vector's element, or a value on the value
// stack, including the few just popped by the instruction that asks (it may still be reading its
// arguments). The stack carries no kinds, so any value whose bits equal a text's address keeps
// that text: at worst a number keeps a text a little longer.
char* macroNewText(size_t size);
// What the texts the run holds now cost (macroTextCost of each), and the most they cost at once
// (since the run's start).
struct MacroTextFigures {
    size_t held = 0;
    size_t peak = 0;
};
MacroTextFigures macroTextFigures();
