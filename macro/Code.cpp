// The code emitter behind the grammar's actions.
#include "macro/Code.h"

#include "grammar.tab.h"
#include "macro/Errors.h"
#include "macro/Fuse.h"
#include "macro/Machine.h"

namespace {

bool statementReady = false;
bool inDefinition = false;

int cell(Inst value, CellKind kind) { return emitCell(value, kind); }

int instr(Op op)
{
    const InstructionInfo& info = instruction(op);
    return emitInstr(info.handler, info.name, op);
}

int symCell(Symbol* sym)
{
    Inst c{};
    c.sym = sym;
    return cell(c, CellKind::Symbol);
}

int numCell(intptr_t n, CellKind kind)
{
    Inst c{};
    c.num = n;
    return cell(c, kind);
}

int textCell(char* text)
{
    Inst c{};
    c.str = text;
    return cell(c, CellKind::Text);
}

int stopCell() { return numCell(0, CellKind::Stop); }

// An operand cell of a control instruction, now that its position is known.
void fill(int pos, int value) { programArea[pos].num = value; }

}  // namespace

// --- the parse of one top-level statement -----------------------------------------------------------

void genParseStart()
{
    statementReady = false;
    // A definition lies within one parse; one that an error cut short is over.
    inDefinition = false;
}

bool genStatementReady() { return statementReady; }

// list: list stmt '\n'
void genStatementEnd(int first)
{
    genStatement(first);
    markStatementStart(stopCell());
    fuseInstructions(codeBase, codeNext);
    statementReady = true;
}

// stmtlist: stmtlist stmt; case cond stmt end; default stmt end; PROC procname '(' ')' stmt.
// A label is defined wherever the lexer meets it, which may be inside an expression; only a
// statement's first cell may be jumped to, where the stack holds nothing the code expects.
int genStatement(int first)
{
    markStatementStart(first);
    return first;
}

// list: list error '\n' -- whatever the error cut short (a definition too) is over
void genRecovered() { inDefinition = false; }

// begin: empty; stmtlist: empty
int genHere() { return codeNext; }

// end: empty -- the end of a statement list may be jumped to: the list just ends there
int genEnd()
{
    markStatementStart(stopCell());
    return codeNext;
}

// --- operands and expressions --------------------------------------------------------------------

int genOp(Op op) { return instr(op); }

int genAppend(int first, Op op)
{
    instr(op);
    return first;
}

// expr: NUMBER
int genConst(Symbol* number)
{
    int pos = instr(OP_constpush);
    Inst c{};
    c.sym = number;
    cell(c, CellKind::Number);
    return pos;
}

// expr: VAR
int genVarEval(Symbol* var)
{
    int pos = instr(OP_varpush);
    symCell(var);
    instr(OP_eval);
    return pos;
}

// expr: ARG
int genArg(int n)
{
    macroCheckInDefinition("$");
    int pos = instr(OP_arg);
    numCell(n, CellKind::Count);
    return pos;
}

// expr: BLTIN '(' expr ')'
int genBuiltin(Symbol* bltin, int arg)
{
    instr(OP_bltin);
    Inst c{};
    c.math = bltin->u.ptr;
    cell(c, CellKind::Function);
    return arg;
}

// expr: VAR PP | VAR MM -- the new value is the expression's value
int genIncrement(Symbol* var, Op op)
{
    int pos = instr(OP_varpush);
    symCell(var);
    instr(op);
    instr(OP_assign);
    return pos;
}

// expr: FUNCTION begin '(' arglist ')'; stmt: PROCEDURE begin '(' arglist ')'
int genCall(Symbol* routine, int first, int argCount)
{
    instr(OP_call);
    symCell(routine);
    numCell(argCount, CellKind::Count);
    return first;
}

// strexpr: STRING | FORMAT
int genStrLiteral(char* text)
{
    int pos = instr(OP_strpush);
    textCell(text);
    return pos;
}

// strexpr: STRVAR | STRVEC
int genStrVarEval(Symbol* var)
{
    int pos = instr(OP_strpush);
    symCell(var);
    instr(OP_eval);
    return pos;
}

// strexpr: STR '(' expr ',' FORMAT ')'
int genStrFormat(int value, char* format)
{
    instr(OP_strpush);
    textCell(format);
    instr(OP_str);
    return value;
}

// --- assignments ------------------------------------------------------------------------------------

// asgn: VAR '=' expr
int genAssign(Symbol* var, int value)
{
    instr(OP_varpush);
    symCell(var);
    instr(OP_assign);
    return value;
}

// asgn: STRVAR '=' strexpr | STRVAR '=' vecstrexpr | STRVEC '=' strexpr. A string vector named
// without an index has no element to take the text; the assignment reports "assignment to
// non-variable" with its name instead of storing into whatever lies on the stack.
int genStrAssign(Symbol* var, int value)
{
    instr(OP_varpush);
    symCell(var);
    instr(OP_strassign);
    return value;
}

// asgn: ARG '=' expr
int genArgAssign(int n, int value)
{
    macroCheckInDefinition("$");
    instr(OP_argassign);
    numCell(n, CellKind::Count);
    return value;
}

namespace {
// The tail of a compound assignment: var <op>= value, with the value's code already emitted.
int compoundAssign(Symbol* var, int value, Op op, bool swap)
{
    instr(OP_varpush);
    symCell(var);
    instr(OP_eval);
    if (swap) instr(OP_exch);
    instr(op);
    instr(OP_varpush);
    symCell(var);
    instr(OP_assign);
    return value;
}
}  // namespace

// asgn: VAR AE expr
int genAddAssign(Symbol* var, int value) { return compoundAssign(var, value, OP_add, false); }

// asgn: VAR SE expr -- the value is negated and added
int genSubAssign(Symbol* var, int value)
{
    instr(OP_negate);
    return compoundAssign(var, value, OP_add, false);
}

// asgn: VAR ME expr
int genMulAssign(Symbol* var, int value) { return compoundAssign(var, value, OP_mul, false); }

// asgn: VAR DE expr -- the variable's value is the dividend
int genDivAssign(Symbol* var, int value) { return compoundAssign(var, value, OP_ddiv, true); }

// vecvar: VAR|VEC '[' expr ']'; vecstrvar: STRVAR|STRVEC '[' expr ']'
int genVecVar(Symbol* vec, int index)
{
    instr(OP_varpush);
    symCell(vec);
    return index;
}

// --- statements ---------------------------------------------------------------------------------------

// stmt: RETURN '\n'
int genProcReturn()
{
    macroCheckInDefinition("return");
    return instr(OP_procret);
}

// stmt: RETURN '(' expr ')'
int genFuncReturn(int value)
{
    macroCheckInDefinition("return");
    instr(OP_funcret);
    return value;
}

// stmt: GOTO label
int genGoto(Symbol* label)
{
    int pos = instr(OP_gotocode);
    symCell(label);
    return pos;
}

// stmt: QSORT '(' expr ',' VEC ')'
int genSort(int count, Symbol* vec)
{
    instr(OP_varpush);
    symCell(vec);
    instr(OP_sortcode);
    return count;
}

// ask: ASK strexpr; askyesno: ASKYESNO strexpr. A literal prompt goes into the instruction's own
// cell; any other prompt is computed, and its instruction carries one cell that is skipped.
int genAsk(int prompt, Op literalOp, Op exprOp)
{
    bool literal = codeNext == prompt + 2 && cellInfo(prompt).kind == CellKind::Instr &&
                   programArea[prompt].fn == instruction(OP_strpush).handler &&
                   cellInfo(prompt + 1).kind == CellKind::Text;
    if (literal) {
        char* text = programArea[prompt + 1].str;
        codeNext = prompt;
        instr(literalOp);
        textCell(text);
        return prompt;
    }
    instr(exprOp);
    numCell(prompt, CellKind::Position);
    return prompt;
}

// varlist: ',' VAR | varlist ',' VAR; expr: READ '(' VAR ')'
int genVarRead(Symbol* var)
{
    int pos = instr(OP_varread);
    symCell(var);
    return pos;
}

// varlist: ',' vecvar | ',' vecstrvar; expr: READ '(' vecvar ')' -- the element's code ends with
// varpush of the vector, whose symbol varread names again
int genVecRead(int element)
{
    Symbol* vec = programArea[codeNext - 1].sym;
    instr(OP_varread);
    symCell(vec);
    return element;
}

// prlist: FORMAT ',' expr | FORMAT ',' strexpr | FORMAT ',' vecstrexpr -- prfmt for a number,
// prfmtstr (listed as prfmt) for a text
int genPrintFormat(int value, char* format, Op op)
{
    instr(op);
    textCell(format);
    return value;
}

// --- control flow ---------------------------------------------------------------------------------------

// while, if, elseif, case, default, for: the instruction, then its operand cells (filled in by the
// enclosing statement's rule once the positions are known)
int genHead(Op op, int operandCells)
{
    int pos = instr(op);
    for (int i = 0; i < operandCells; ++i) numCell(0, CellKind::Position);
    return pos;
}

// cond: '(' expr ')'
int genCond(int expr)
{
    stopCell();
    return expr;
}

// forinit: '(' asgn '\n' -- the condition's code starts after this STOP
int genForInit(int init)
{
    stopCell();
    return init;
}

// forcond: expr '\n'; foradv: expr ')'
int genStopAfter(int expr)
{
    stopCell();
    return expr;
}

// stmt: while cond compstmt end [ENDWHILE] | while cond stmtlist end ENDWHILE
//     | case cond stmt end | default stmt end
int genFill2(int head, int body, int next)
{
    fill(head + 1, body);  // body
    fill(head + 2, next);  // next statement
    return head;
}

// stmt: if cond THEN stmtlist end (ENDIF | ELSE stmtlist end ENDIF | elseiflist end); likewise elseif
int genFillIf(int head, int thenPart, int elsePart, int next)
{
    fill(head + 1, thenPart);  // then part
    fill(head + 2, elsePart);  // else part, or 0
    fill(head + 3, next);      // next statement
    return head;
}

// stmt: for forinit forcond foradv (stmtlist end ENDFOR | compstmt end [ENDFOR])
int genFillFor(int head, int cond, int advance, int body, int next)
{
    fill(head + 1, cond);     // condition
    fill(head + 2, advance);  // advance
    fill(head + 3, body);     // body
    fill(head + 4, next);     // next statement
    return head;
}

// --- definitions -------------------------------------------------------------------------------------------

// defn: FUNC procname ... | PROC procname ...
void genDefinitionStart(Symbol* name, int routineType)
{
    name->type = routineType;
    inDefinition = true;
}

// defn: ... stmtlist end ENDFUNC | ... stmt
int genDefinitionEnd(Symbol* name)
{
    markStatementStart(instr(OP_procret));  // a label just before the end returns
    int start = codeBase;
    fuseInstructions(start, codeNext);
    defineRoutine(name);
    inDefinition = false;
    return start;
}

void macroCheckInDefinition(const char* construct)
{
    if (!inDefinition) macroError(construct, "used outside proc definition");
}
