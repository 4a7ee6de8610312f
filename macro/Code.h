#pragma once
// The code emitter. Each grammar action calls one function here; the function emits the cells the
// form itself owns (its parts' code is already emitted, left to right) and returns the form's value:
// the position of the first cell of its code, unless it says otherwise. Positions are cell indices
// in the program area, never pointers.
#include "macro/Instructions.h"

struct Symbol;

// --- the parse of one top-level statement ---------------------------------------------------------
void genParseStart();         // the parser starts on a new top-level statement
bool genStatementReady();     // a top-level statement has been emitted and must run
void genStatementEnd(int first);  // list: list stmt '\n'        -- STOP ends the statement
int genStatement(int first);  // every stmt in a list, case or default: a goto may lead to its first
                              // cell; returns it
void genRecovered();          // list: list error '\n'           -- back at the top level
int genHere();                // begin, stmtlist: empty         -- value: the emission position
int genEnd();                 // end: empty                     -- STOP; value: the position after it

// --- operands and expressions ---------------------------------------------------------------------
int genOp(Op op);                          // BREAK                      -- brkout
int genAppend(int first, Op op);           // any form whose own cell is one instruction after its parts
int genConst(Symbol* number);              // expr: NUMBER               -- constpush number
int genVarEval(Symbol* var);               // expr: VAR                  -- varpush var, eval
int genArg(int n);                         // expr: ARG                  -- arg n (in a definition only)
int genBuiltin(Symbol* bltin, int arg);    // expr: BLTIN '(' expr ')'    -- bltin function
int genIncrement(Symbol* var, Op op);      // expr: VAR PP | VAR MM      -- varpush var, incr|decr, assign
int genCall(Symbol* routine, int first, int argCount);  // FUNCTION|PROCEDURE begin '(' arglist ')'
                                                        //               -- call routine, argCount
int genStrLiteral(char* text);             // strexpr: STRING | FORMAT   -- strpush text
int genStrVarEval(Symbol* var);            // strexpr: STRVAR | STRVEC   -- strpush var, eval
int genStrFormat(int value, char* format); // strexpr: STR '(' expr ',' FORMAT ')' -- strpush format, str

// --- assignments ----------------------------------------------------------------------------------
int genAssign(Symbol* var, int value);     // asgn: VAR '=' expr         -- varpush var, assign
int genStrAssign(Symbol* var, int value);  // asgn: STRVAR|STRVEC '=' strexpr -- varpush var, strassign
int genArgAssign(int n, int value);        // asgn: ARG '=' expr         -- argassign n (in a definition only)
int genAddAssign(Symbol* var, int value);  // asgn: VAR AE expr  -- varpush, eval, add, varpush, assign
int genSubAssign(Symbol* var, int value);  // asgn: VAR SE expr  -- negate, varpush, eval, add, varpush, assign
int genMulAssign(Symbol* var, int value);  // asgn: VAR ME expr  -- varpush, eval, mul, varpush, assign
int genDivAssign(Symbol* var, int value);  // asgn: VAR DE expr  -- varpush, eval, exch, ddiv, varpush, assign
int genVecVar(Symbol* vec, int index);     // vecvar, vecstrvar: name '[' expr ']' -- varpush vec

// --- statements -------------------------------------------------------------------------------------
int genProcReturn();                       // stmt: RETURN '\n'          -- procret (in a definition only)
int genFuncReturn(int value);              // stmt: RETURN '(' expr ')'  -- funcret (in a definition only)
int genGoto(Symbol* label);                // stmt: GOTO label           -- gotocode label
int genSort(int count, Symbol* vec);       // stmt: QSORT '(' expr ',' VEC ')' -- varpush vec, sortcode
int genAsk(int prompt, Op literalOp, Op exprOp);  // ask: ASK strexpr    -- prstrask text | prstrask2 skip
int genVarRead(Symbol* var);               // varlist: ',' VAR; expr: READ '(' VAR ')' -- varread var
int genVecRead(int element);               // varlist: ',' vecvar; READ '(' vecvar ')' -- varread vec
int genPrintFormat(int value, char* format, Op op);  // prlist: FORMAT ',' item -- prfmt format

// --- control flow -------------------------------------------------------------------------------------
// while, if, elseif, case, default, for: the instruction and its operand cells, filled in later.
// Value: the position of the instruction cell.
int genHead(Op op, int operandCells);
int genCond(int expr);                     // cond: '(' expr ')'         -- STOP after the condition
int genForInit(int init);                  // forinit: '(' asgn '\n'     -- STOP after the initialisation
int genStopAfter(int expr);                // forcond, foradv            -- STOP after the expression
// while/case/default: body and next-statement cells.
int genFill2(int head, int body, int next);
// if/elseif: then part, else part (0 when none), next statement.
int genFillIf(int head, int thenPart, int elsePart, int next);
// for: condition, advance, body, next statement.
int genFillFor(int head, int cond, int advance, int body, int next);

// --- definitions ----------------------------------------------------------------------------------------
// defn: FUNC|PROC procname -- the name becomes a routine of that kind before its body is read, so
// the body may call it.
void genDefinitionStart(Symbol* name, int routineType);
// defn: ... end ENDFUNC | ... stmt -- procret; the routine starts at codeBase, which moves past it.
int genDefinitionEnd(Symbol* name);
// "$" or "return" used outside a definition: a run-time error.
void macroCheckInDefinition(const char* construct);
