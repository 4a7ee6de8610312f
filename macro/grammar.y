/* The macro language. Every action is one call into the code emitter (Code.h), which carries
   the rule as its comment and emits the form's own cells; a form's value is the position of the
   first cell of its code (or a count, or a symbol, as the %type lines say). */

%define api.prefix {macro}

%code requires {
struct Symbol;
}

%code {
#include "macro/Code.h"
#include "macro/Lexer.h"
#include "macro/Run.h"

#define macrolex macroLex
static void macroerror(const char* message) { macroParserError(message); }

/* The parser stacks come from two fixed blocks (see the end of this file), so that an error that
   unwinds through the parser leaves nothing allocated behind. */
#define YYMALLOC macroParserStackAlloc
#define YYFREE macroParserStackFree
static void* macroParserStackAlloc(unsigned long size);
static void macroParserStackFree(void* block);
}

%union {
    Symbol* sym;  /* names, numbers, labels */
    char* str;    /* string and format literals */
    int num;      /* program positions, argument numbers and counts */
}

/* Token numbers are part of the language's tables (the keyword table stores them): fixed here. */
%token ASC 258 ASK 259 ASKYESNO 260 ATAN2 261
%token <sym> BLTIN 262
%token BREAK 263 CASE 264 CHR 265 CLOSE 266 CLS 267 COMBYTES 268 COMLINES 269 COMOFF 270
%token COMON 271 DEFAULT 272 DRAWLINE 273 ELSE 274 EXTGETKEY 275 FOR 276
%token <str> FORMAT 277
%token FUNC 278
%token <sym> FUNCTION 279
%token GETARG 280 GETKEY 281 GOTO 282 IF 283 INSTRVEC 284 THEN 285 ENDIF 286 ELSEIF 287
%token ENDWHILE 288 ENDFUNC 289 ENDFOR 290
%token <sym> LABEL 291
%token LCASE 292 TRIMSTR 293 LFTSTR 294 SEARCHSTR 295 SEARCHSTRIC 296 ISPRODUCTCODE 297
%token ISEXCLUDEDPRODUCTCODE 298 ISNOTEON 299 MIDSTR 300 MODULO 301 MORSE 302 MOUSE 303
%token MOUSELB 304 MOUSERB 305 MOUSEX 306 MOUSEY 307
%token <sym> NUMBER 308
%token OPEN 309 PLAY 310 PRINT 311 MESSAGE 312 PROC 313
%token <sym> PROCEDURE 314
%token SETQTY 315 SETEXCLUDEDQTY 316 SETMISCMATERIALQTY 317 SETEXCLUDEDMISCMATERIALQTY 318
%token SETMISCELLANEOUSQTY 319 SETEXCLUDEDMISCELLANEOUSQTY 320 SETNOTEON 321 SETNOTEOFF 322
%token SETNOTESTR 323 PRINTSTR 324 QSORT 325 SETTREATMENT 326 GETPRODUCTCODE 327
%token GETPRODUCTSTR 328 GETPRODUCTQTY 329 GETPRODUCTSUBSTR 330 GETPRODUCTSUBQTY 331
%token GETLOCALITYSTR 332 GETLOCALITYQTY 333 GETPRODUCTLINESUBSTR 334 GETPRODUCTLINESUBQTY 335
%token GETPRODUCTINPUTSTR 336 GETPRODUCTINPUTQTY 337 SEARCHDIRFILENAME 338
%token SEARCHDIRFILECOUNT 339 GETPRODUCTLINESTR 340 GETPRODUCTLINEQTY 341
%token GETEXCLUDEDPRODUCTLINESTR 342 GETEXCLUDEDPRODUCTLINEQTY 343 READ 344 READLINE 345
%token RETURN 346 RHTSTR 347 SETZRSTR 348 SETZRQTY 349 GETPRICESTR 350
%token GETPRICENOSEPARATORSTR 351 REPLACESEPARATORSTR 352 GETLENGTHSTR 353 GETAREASTR 354
%token GETQTYSTR 355 GETVARIABLEFROMFILESTR 356 GETVARIABLEFROMFILE 357
%token GETVARIABLEFROMFILEQTY 358 ISFILEEXIST 359 GETLINEFROMFILESTR 360 GETNOTESFROMFILE 361
%token SETNOTENAMEPREFIX 362 ISVIEW 363 GETZRQTY 364 GETZRSTR 365 GETEDGENAMEQTY 366
%token GETEDGENAMESTR 367 GETEDGEQTY 368 GETEDGESTR 369 GETROOFQTY 370 GETROOFSTR 371
%token GETWALLQTY 372 GETWALLSTR 373 ROUNDQTY 374 SLEEPFOR 375 EAVELENGTHABOVE 376
%token ROOFAREAABOVE 377 STR 378
%token <str> STRING 379
%token STRLEN 380
%token <sym> STRVAR 381 STRVEC 382
%token SWITCH 383 TIMESTR 384 UCASE 385
%token <sym> UNDEF 386
%token VAL 387
%token <sym> VAR 388 VEC 389
%token VECTOR 390 VGACOLOR 391 VGAMOUSE 392 WHILE 393 WRITE 394
%token <num> ARG 395
%token OR 396 AND 397 GT 398 GE 399 LT 400 LE 401 EQ 402 NE 403 AE 404 SE 405 ME 406 DE 407
%token UNARYMINUS 408 NOT 409 PP 410 MM 411

%type <num> stmt asgn expr strexpr vecstrexpr streval cond compstmt stmtlist begin end
%type <num> while for forinit forcond foradv if elseif elseiflist case default ask askyesno
%type <num> varlist vecvar vecstrvar prlist arglist defn
%type <sym> procname label

%right '=' AE SE ME DE
%left OR
%left AND
%left GT GE LT LE EQ NE
%left '+' '-'
%left '*' '/' '%'
%left UNARYMINUS NOT
%right '^'

/* Shift/reduce choices that the language makes on purpose (each is taken as a shift):
   - a braced body right after while(...) or for(...) is the body of the braced form (2);
   - endwhile/endfor after a braced body closes the innermost loop (2);
   - a format literal followed by ',' at the head of a print list is the formatted form (1). */
%expect 5

%%

list:     %empty
        | list '\n'
        | list defn '\n'
        | list stmt '\n'            { genStatementEnd($2); YYACCEPT; }
        | list error '\n'           { genRecovered(); yyerrok; }
        ;

/* --- assignments ------------------------------------------------------------------------------ */
asgn:     VAR '=' expr              { $$ = genAssign($1, $3); }
        | STRVAR '=' strexpr        { $$ = genStrAssign($1, $3); }
        | STRVAR '=' vecstrexpr     { $$ = genStrAssign($1, $3); }
        | ARG '=' expr              { $$ = genArgAssign($1, $3); }
        | vecvar '=' expr           { $$ = genAppend($1, OP_vecassign); }
        | vecstrvar '=' strexpr     { $$ = genAppend($1, OP_strvecassign); }
        | STRVEC '=' strexpr        { $$ = genStrAssign($1, $3); }  /* a whole vector: refused at run time */
        | VAR AE expr               { $$ = genAddAssign($1, $3); }
        | VAR SE expr               { $$ = genSubAssign($1, $3); }
        | VAR ME expr               { $$ = genMulAssign($1, $3); }
        | VAR DE expr               { $$ = genDivAssign($1, $3); }
        | vecvar AE expr            { $$ = genAppend($1, OP_vecadd); }
        | vecvar SE expr            { $$ = genAppend($1, OP_vecsub); }
        | vecvar ME expr            { $$ = genAppend($1, OP_vecmul); }
        | vecvar DE expr            { $$ = genAppend($1, OP_vecdiv); }
        ;
vecvar:   VAR '[' expr ']'          { $$ = genVecVar($1, $3); }
        | VEC '[' expr ']'          { $$ = genVecVar($1, $3); }
        ;
vecstrvar: STRVAR '[' expr ']'      { $$ = genVecVar($1, $3); }
        | STRVEC '[' expr ']'       { $$ = genVecVar($1, $3); }
        ;
vecstrexpr: vecstrvar               { $$ = genAppend($1, OP_eval); }
        ;

/* --- statements ------------------------------------------------------------------------------- */
stmt:     expr                      { $$ = genAppend($1, OP_discard); }
        | RETURN '\n'               { $$ = genProcReturn(); }
        | RETURN '(' expr ')'       { $$ = genFuncReturn($3); }
        | ask varlist               { $$ = $1; }
        | askyesno varlist          { $$ = $1; }
        | PROCEDURE begin '(' arglist ')'   { $$ = genCall($1, $2, $4); }
        | GOTO label                { $$ = genGoto($2); }
        | PRINT prlist              { $$ = $2; }
        | MESSAGE prlist            { $$ = $2; }
        | BREAK                     { $$ = genOp(OP_brkout); }
        | SWITCH '(' expr ')'       { $$ = genAppend($3, OP_switchcode); }
        | case cond stmt end        { $$ = genFill2($1, genStatement($3), $4); }
        | default stmt end          { $$ = genFill2($1, genStatement($2), $3); }
        | while cond compstmt end   { $$ = genFill2($1, $3, $4); }
        | while cond compstmt end ENDWHILE  { $$ = genFill2($1, $3, $4); }
        | while cond stmtlist end ENDWHILE  { $$ = genFill2($1, $3, $4); }
        | if cond THEN stmtlist end ENDIF   { $$ = genFillIf($1, $4, 0, $5); }
        | if cond THEN stmtlist end ELSE stmtlist end ENDIF  { $$ = genFillIf($1, $4, $7, $8); }
        | if cond THEN stmtlist end elseiflist end  { $$ = genFillIf($1, $4, $6, $7); }
        | for forinit forcond foradv stmtlist end ENDFOR  { $$ = genFillFor($1, $3, $4, $5, $6); }
        | for forinit forcond foradv compstmt end  { $$ = genFillFor($1, $3, $4, $5, $6); }
        | for forinit forcond foradv compstmt end ENDFOR  { $$ = genFillFor($1, $3, $4, $5, $6); }
        | compstmt                  { $$ = $1; }
        | VECTOR vecvar             { $$ = genAppend($2, OP_decvec); }
        | VECTOR vecstrvar          { $$ = genAppend($2, OP_decstrvec); }
        | QSORT '(' expr ',' VEC ')'  { $$ = genSort($3, $5); }
        | SETQTY '(' expr ',' expr ')'  { $$ = genAppend($3, OP_setqty); }
        | SETEXCLUDEDQTY '(' expr ',' expr ')'  { $$ = genAppend($3, OP_setexcludedqty); }
        | SETMISCMATERIALQTY '(' expr ',' expr ',' strexpr ',' expr ')'
                                    { $$ = genAppend($3, OP_setmiscmaterialqty); }
        | SETEXCLUDEDMISCMATERIALQTY '(' expr ',' expr ',' strexpr ',' expr ')'
                                    { $$ = genAppend($3, OP_setexcludedmiscmaterialqty); }
        | SETMISCELLANEOUSQTY '(' expr ',' expr ',' strexpr ',' strexpr ',' strexpr ','
              strexpr ',' expr ',' expr ',' expr ',' expr ')'
                                    { $$ = genAppend($3, OP_setmiscellaneousqty); }
        | SETEXCLUDEDMISCELLANEOUSQTY '(' expr ',' expr ',' strexpr ',' strexpr ',' strexpr ','
              strexpr ',' expr ',' expr ',' expr ',' expr ')'
                                    { $$ = genAppend($3, OP_setexcludedmiscellaneousqty); }
        | SETNOTEON '(' strexpr ')'  { $$ = genAppend($3, OP_setnoteon); }
        | SETNOTEOFF '(' strexpr ')'  { $$ = genAppend($3, OP_setnoteoff); }
        | SETNOTESTR '(' strexpr ',' strexpr ')'  { $$ = genAppend($3, OP_setnotestr); }
        | PRINTSTR '(' strexpr ')'  { $$ = genAppend($3, OP_printstr); }
        | SETZRSTR '(' strexpr ',' strexpr ')'  { $$ = genAppend($3, OP_setzrstr); }
        | SETZRQTY '(' strexpr ',' expr ')'  { $$ = genAppend($3, OP_setzrqty); }
        | SETTREATMENT '(' expr ',' strexpr ',' strexpr ',' expr ')'
                                    { $$ = genAppend($3, OP_settreatment); }
        | CLS '(' expr ',' expr ',' expr ')'  { $$ = genAppend($3, OP_clearscreen); }
        | DRAWLINE '(' expr ',' expr ',' expr ',' expr ',' expr ')'
                                    { $$ = genAppend($3, OP_drawline); }
        | PLAY '(' expr ',' expr ')'  { $$ = genAppend($3, OP_play); }
        | MORSE '(' strexpr ')'     { $$ = genAppend($3, OP_morse); }
        | WRITE '(' expr ',' strexpr ')'  { $$ = genAppend($3, OP_procwrite); }
        | WRITE '(' expr ',' vecstrexpr ')'  { $$ = genAppend($3, OP_procwrite); }
        | CLOSE '(' expr ')'        { $$ = genAppend($3, OP_closecode); }
        | COMON '(' expr ')'        { $$ = genAppend($3, OP_comon); }
        | COMOFF '(' expr ')'       { $$ = genAppend($3, OP_comoff); }
        | SLEEPFOR '(' expr ')'     { $$ = genAppend($3, OP_sleepfor); }
        | VGACOLOR '(' expr ')'     { $$ = genAppend($3, OP_vgacolor); }
        | MOUSE '(' expr ',' expr ',' expr ',' expr ')'  { $$ = genAppend($3, OP_mouse); }
        ;

/* --- questions ---------------------------------------------------------------------------------- */
ask:      ASK strexpr               { $$ = genAsk($2, OP_prstrask, OP_prstrask2); }
        ;
askyesno: ASKYESNO strexpr          { $$ = genAsk($2, OP_askyesno, OP_askyesno2); }
        ;
varlist:  ',' VAR                   { $$ = genVarRead($2); }
        | ',' vecvar                { $$ = genVecRead($2); }
        | ',' vecstrvar             { $$ = genVecRead($2); }
        | varlist ',' VAR           { $$ = genVarRead($3); }
        ;

/* --- control-flow heads --------------------------------------------------------------------------- */
cond:     '(' expr ')'              { $$ = genCond($2); }
        ;
while:    WHILE                     { $$ = genHead(OP_whilecode, 2); }
        ;
if:       IF                        { $$ = genHead(OP_ifcode, 3); }
        ;
elseif:   ELSEIF                    { $$ = genHead(OP_ifcode, 3); }
        ;
elseiflist: elseif cond THEN stmtlist end ENDIF  { $$ = genFillIf($1, $4, 0, $5); }
        | elseif cond THEN stmtlist end ELSE stmtlist end ENDIF  { $$ = genFillIf($1, $4, $7, $8); }
        | elseif cond THEN stmtlist end elseiflist end  { $$ = genFillIf($1, $4, $6, $7); }
        ;
case:     CASE                      { $$ = genHead(OP_casecode, 2); }
        ;
default:  DEFAULT                   { $$ = genHead(OP_defaultcode, 2); }
        ;
for:      FOR                       { $$ = genHead(OP_forcode, 4); }
        ;
forinit:  '(' asgn '\n'             { $$ = genForInit($2); }
        ;
forcond:  expr '\n'                 { $$ = genStopAfter($1); }
        ;
foradv:   expr ')'                  { $$ = genStopAfter($1); }
        ;
compstmt: '{' stmtlist '}'          { $$ = $2; }
        ;
stmtlist: %empty                    { $$ = genHere(); }
        | stmtlist '\n'             { $$ = $1; }
        | stmtlist stmt             { genStatement($2); $$ = $1; }
        ;
begin:    %empty                    { $$ = genHere(); }
        ;
end:      %empty                    { $$ = genEnd(); }
        ;
label:    LABEL                     { $$ = $1; }
        | UNDEF                     { $$ = $1; }
        ;

/* --- numeric expressions ------------------------------------------------------------------------ */
expr:     NUMBER                    { $$ = genConst($1); }
        | VAR                       { $$ = genVarEval($1); }
        | vecvar                    { $$ = genAppend($1, OP_eval); }
        | ARG                       { $$ = genArg($1); }
        | asgn                      { $$ = $1; }
        | FUNCTION begin '(' arglist ')'  { $$ = genCall($1, $2, $4); }
        | READ '(' VAR ')'          { $$ = genVarRead($3); }
        | READ '(' vecvar ')'       { $$ = genVecRead($3); }
        | READ '(' vecstrvar ')'    { $$ = genVecRead($3); }
        | BLTIN '(' expr ')'        { $$ = genBuiltin($1, $3); }
        | '(' expr ')'              { $$ = $2; }
        | expr '+' expr             { $$ = genAppend($1, OP_add); }
        | expr '-' expr             { $$ = genAppend($1, OP_sub); }
        | expr '*' expr             { $$ = genAppend($1, OP_mul); }
        | expr '/' expr             { $$ = genAppend($1, OP_div); }
        | expr '%' expr             { $$ = genAppend($1, OP_mod); }
        | expr '^' expr             { $$ = genAppend($1, OP_power); }
        | '(' '-' ')' expr %prec UNARYMINUS  { $$ = genAppend($4, OP_negate); }
        | expr GT expr              { $$ = genAppend($1, OP_gt); }
        | expr GE expr              { $$ = genAppend($1, OP_ge); }
        | expr LT expr              { $$ = genAppend($1, OP_lt); }
        | expr LE expr              { $$ = genAppend($1, OP_le); }
        | expr EQ expr              { $$ = genAppend($1, OP_eq); }
        | expr NE expr              { $$ = genAppend($1, OP_ne); }
        | expr AND expr             { $$ = genAppend($1, OP_and_); }
        | expr OR expr              { $$ = genAppend($1, OP_or_); }
        | NOT expr                  { $$ = genAppend($2, OP_not_); }
        | strexpr EQ strexpr        { $$ = genAppend($1, OP_eqstr); }
        | strexpr NE strexpr        { $$ = genAppend($1, OP_nestr); }
        | vecstrexpr EQ vecstrexpr  { $$ = genAppend($1, OP_streq); }
        | VAR PP                    { $$ = genIncrement($1, OP_incr); }
        | VAR MM                    { $$ = genIncrement($1, OP_decr); }
        | VGAMOUSE '(' expr ',' expr ',' expr ')'  { $$ = genAppend($3, OP_vgamouse); }
        | STRLEN '(' strexpr ')'    { $$ = genAppend($3, OP_strlength); }
        | STRLEN '(' vecstrexpr ')' { $$ = genAppend($3, OP_strlength); }
        | SEARCHSTR '(' strexpr ',' strexpr ')'  { $$ = genAppend($3, OP_searchstring); }
        | SEARCHSTRIC '(' strexpr ',' strexpr ')'  { $$ = genAppend($3, OP_searchstringIC); }
        | ISPRODUCTCODE '(' expr ')'  { $$ = genAppend($3, OP_isproductcode); }
        | ISEXCLUDEDPRODUCTCODE '(' expr ')'  { $$ = genAppend($3, OP_isexcludedproductcode); }
        | ISNOTEON '(' strexpr ')'  { $$ = genAppend($3, OP_isnoteon); }
        | ISFILEEXIST '(' strexpr ')'  { $$ = genAppend($3, OP_isfileexist); }
        | ISVIEW '(' strexpr ')'    { $$ = genAppend($3, OP_isview); }
        | GETZRQTY '(' strexpr ')'  { $$ = genAppend($3, OP_getzrqty); }
        | GETNOTESFROMFILE '(' strexpr ')'  { $$ = genAppend($3, OP_getnotesfromfile); }
        | ASC '(' strexpr ')'       { $$ = genAppend($3, OP_asc); }
        | VAL '(' strexpr ')'       { $$ = genAppend($3, OP_val); }
        | INSTRVEC '(' expr ',' streval ',' strexpr ')'  { $$ = genAppend($3, OP_instring); }
        | ATAN2 '(' expr ',' expr ')'  { $$ = genAppend($3, OP_arctan2); }
        | MODULO '(' expr ',' expr ')'  { $$ = genAppend($3, OP_mod); }
        | OPEN '(' strexpr ',' strexpr ')'  { $$ = genAppend($3, OP_procopen); }
        | COMLINES '(' expr ')'     { $$ = genAppend($3, OP_comlines); }
        | COMBYTES '(' expr ')'     { $$ = genAppend($3, OP_combytes); }
        | MOUSEX '(' expr ')'       { $$ = genAppend($3, OP_mousex); }
        | MOUSEY '(' expr ')'       { $$ = genAppend($3, OP_mousey); }
        | MOUSELB '(' expr ')'      { $$ = genAppend($3, OP_mouselb); }
        | MOUSERB '(' expr ')'      { $$ = genAppend($3, OP_mouserb); }
        | GETKEY '(' expr ')'       { $$ = genAppend($3, OP_getkey); }
        | EXTGETKEY '(' expr ')'    { $$ = genAppend($3, OP_extgetkey); }
        | EAVELENGTHABOVE '(' expr ')'  { $$ = genAppend($3, OP_eavelengthabove); }
        | ROOFAREAABOVE '(' expr ')'  { $$ = genAppend($3, OP_roofareaabove); }
        | GETPRODUCTCODE '(' strexpr ',' strexpr ',' expr ')'  { $$ = genAppend($3, OP_getproduct_code); }
        | GETPRODUCTQTY '(' expr ',' strexpr ')'  { $$ = genAppend($3, OP_getproductqty); }
        | GETPRODUCTLINEQTY '(' expr ',' strexpr ')'  { $$ = genAppend($3, OP_getproductlineqty); }
        | GETEXCLUDEDPRODUCTLINEQTY '(' expr ',' strexpr ')'
                                    { $$ = genAppend($3, OP_getexcludedproductlineqty); }
        | GETEDGEQTY '(' expr ',' strexpr ')'  { $$ = genAppend($3, OP_getedgeqty); }
        | GETROOFQTY '(' expr ',' strexpr ')'  { $$ = genAppend($3, OP_getroofqty); }
        | GETWALLQTY '(' expr ',' strexpr ')'  { $$ = genAppend($3, OP_getwallqty); }
        | GETPRODUCTSUBQTY '(' expr ',' strexpr ',' expr ')'  { $$ = genAppend($3, OP_getproductsubqty); }
        | GETPRODUCTLINESUBQTY '(' expr ',' strexpr ',' expr ')'
                                    { $$ = genAppend($3, OP_getproductlinesubqty); }
        | GETLOCALITYQTY '(' strexpr ',' expr ',' expr ')'  { $$ = genAppend($3, OP_getlocalityqty); }
        | GETPRODUCTINPUTQTY '(' strexpr ',' strexpr ',' expr ',' strexpr ')'
                                    { $$ = genAppend($3, OP_getproductinputqty); }
        | SEARCHDIRFILECOUNT '(' strexpr ',' strexpr ')'  { $$ = genAppend($3, OP_searchdirfilecount); }
        | GETVARIABLEFROMFILE '(' strexpr ',' strexpr ')'
                                    { $$ = genAppend($3, OP_getvariablefromfileqty); }
        | GETVARIABLEFROMFILEQTY '(' strexpr ',' strexpr ')'
                                    { $$ = genAppend($3, OP_getvariablefromfileqty); }
        | GETEDGENAMEQTY '(' expr ',' strexpr ',' strexpr ')'  { $$ = genAppend($3, OP_getedgenameqty); }
        | SETNOTENAMEPREFIX '(' strexpr ',' strexpr ',' expr ')'
                                    { $$ = genAppend($3, OP_setnotenameprefix); }
        | ROUNDQTY '(' expr ',' expr ',' expr ')'  { $$ = genAppend($3, OP_roundqty); }
        ;

/* --- string expressions ------------------------------------------------------------------------- */
strexpr:  STRING                    { $$ = genStrLiteral($1); }
        | FORMAT                    { $$ = genStrLiteral($1); }
        | STRVAR                    { $$ = genStrVarEval($1); }
        | STRVEC                    { $$ = genStrVarEval($1); }
        | strexpr '+' strexpr       { $$ = genAppend($1, OP_addstr); }
        | strexpr '+' vecstrexpr    { $$ = genAppend($1, OP_addstr); }
        | vecstrexpr '+' strexpr    { $$ = genAppend($1, OP_addstr); }
        | vecstrexpr '+' vecstrexpr { $$ = genAppend($1, OP_addstr); }
        | STR '(' expr ',' FORMAT ')'  { $$ = genStrFormat($3, $5); }
        | TRIMSTR '(' strexpr ')'   { $$ = genAppend($3, OP_trimstring); }
        | LFTSTR '(' strexpr ',' expr ')'  { $$ = genAppend($3, OP_leftstring); }
        | RHTSTR '(' strexpr ',' expr ')'  { $$ = genAppend($3, OP_rightstring); }
        | MIDSTR '(' strexpr ',' expr ',' expr ')'  { $$ = genAppend($3, OP_midstring); }
        | LCASE '(' strexpr ')'     { $$ = genAppend($3, OP_lowercase); }
        | LCASE '(' vecstrexpr ')'  { $$ = genAppend($3, OP_lowercase); }
        | UCASE '(' strexpr ')'     { $$ = genAppend($3, OP_uppercase); }
        | UCASE '(' vecstrexpr ')'  { $$ = genAppend($3, OP_uppercase); }
        | CHR '(' expr ')'          { $$ = genAppend($3, OP_chr); }
        | GETARG '(' expr ')'       { $$ = genAppend($3, OP_getargcode); }
        | GETPRICESTR '(' expr ')'  { $$ = genAppend($3, OP_getpricestr); }
        | GETPRICENOSEPARATORSTR '(' expr ')'  { $$ = genAppend($3, OP_getpricenoseparatorstr); }
        | GETLENGTHSTR '(' expr ')'  { $$ = genAppend($3, OP_getlengthstr); }
        | GETAREASTR '(' expr ')'   { $$ = genAppend($3, OP_getareastr); }
        | READLINE '(' expr ',' expr ')'  { $$ = genAppend($3, OP_readstr); }
        | GETQTYSTR '(' expr ',' expr ')'  { $$ = genAppend($3, OP_getqtystr); }
        | TIMESTR '(' strexpr ')'   { $$ = genAppend($3, OP_timestr); }
        | GETZRSTR '(' strexpr ')'  { $$ = genAppend($3, OP_getzrstr); }
        | GETPRODUCTSTR '(' expr ',' strexpr ')'  { $$ = genAppend($3, OP_getproductstr); }
        | GETPRODUCTLINESTR '(' expr ',' strexpr ')'  { $$ = genAppend($3, OP_getproductlinestr); }
        | GETEXCLUDEDPRODUCTLINESTR '(' expr ',' strexpr ')'
                                    { $$ = genAppend($3, OP_getexcludedproductlinestr); }
        | GETEDGESTR '(' expr ',' strexpr ')'  { $$ = genAppend($3, OP_getedgestr); }
        | GETROOFSTR '(' expr ',' strexpr ')'  { $$ = genAppend($3, OP_getroofstr); }
        | GETWALLSTR '(' expr ',' strexpr ')'  { $$ = genAppend($3, OP_getwallstr); }
        | GETLOCALITYSTR '(' strexpr ',' expr ',' expr ')'  { $$ = genAppend($3, OP_getlocalitystr); }
        | REPLACESEPARATORSTR '(' strexpr ',' strexpr ')'  { $$ = genAppend($3, OP_replaceseparatorstr); }
        | GETVARIABLEFROMFILESTR '(' strexpr ',' strexpr ')'
                                    { $$ = genAppend($3, OP_getvariablefromfilestr); }
        | GETPRODUCTINPUTSTR '(' strexpr ',' strexpr ',' expr ',' strexpr ')'
                                    { $$ = genAppend($3, OP_getproductinputstr); }
        | SEARCHDIRFILENAME '(' strexpr ',' strexpr ',' expr ')'  { $$ = genAppend($3, OP_searchdirfilename); }
        | GETLINEFROMFILESTR '(' strexpr ',' strexpr ',' expr ')'
                                    { $$ = genAppend($3, OP_getlinefromfilestr); }
        | GETPRODUCTSUBSTR '(' expr ',' strexpr ',' expr ')'  { $$ = genAppend($3, OP_getproductsubstr); }
        | GETPRODUCTLINESUBSTR '(' expr ',' strexpr ',' expr ')'
                                    { $$ = genAppend($3, OP_getproductlinesubstr); }
        | GETEDGENAMESTR '(' expr ',' strexpr ',' strexpr ')'  { $$ = genAppend($3, OP_getedgenamestr); }
        ;
streval:  strexpr                   { $$ = $1; }
        | vecstrexpr                { $$ = $1; }
        ;

/* --- print lists -------------------------------------------------------------------------------- */
prlist:   expr                      { $$ = genAppend($1, OP_prexpr); }
        | strexpr                   { $$ = genAppend($1, OP_prstrexpr); }
        | vecstrexpr                { $$ = genAppend($1, OP_prstrexpr); }
        | FORMAT ',' expr           { $$ = genPrintFormat($3, $1, OP_prfmt); }
        | FORMAT ',' strexpr        { $$ = genPrintFormat($3, $1, OP_prfmtstr); }
        | FORMAT ',' vecstrexpr     { $$ = genPrintFormat($3, $1, OP_prfmtstr); }
        | prlist ',' expr           { genAppend($3, OP_prexpr); $$ = $1; }
        | prlist ',' strexpr        { genAppend($3, OP_prstrexpr); $$ = $1; }
        | prlist ',' vecstrexpr     { genAppend($3, OP_prstrexpr); $$ = $1; }
        ;

/* --- definitions -------------------------------------------------------------------------------- */
defn:     FUNC procname             { genDefinitionStart($2, FUNCTION); }
            '(' ')' stmtlist end ENDFUNC  { $$ = genDefinitionEnd($2); }
        | PROC procname             { genDefinitionStart($2, PROCEDURE); }
            '(' ')' stmt            { genStatement($6); $$ = genDefinitionEnd($2); }
        ;
procname: VAR                       { $$ = $1; }
        | FUNCTION                  { $$ = $1; }
        | PROCEDURE                 { $$ = $1; }
        ;
arglist:  %empty                    { $$ = 0; }
        | expr                      { $$ = 1; }
        | arglist ',' expr          { $$ = $1 + 1; }
        ;

%%

/* Two blocks big enough for the deepest parser stacks; when the stacks grow, the parser asks for
   the larger one while it still holds the smaller, then gives the smaller back. */
namespace {
constexpr unsigned long parserBlockAlign = alignof(union yyalloc);
// Rounded up so that the second block is aligned like the first.
constexpr unsigned long parserBlockSize =
    (YYSTACK_BYTES(YYMAXDEPTH) + parserBlockAlign - 1) / parserBlockAlign * parserBlockAlign;
alignas(union yyalloc) unsigned char parserBlocks[2][parserBlockSize];
bool parserBlockUsed[2];
}

static void* macroParserStackAlloc(unsigned long size)
{
    if (size > parserBlockSize) return nullptr;
    for (int i = 0; i < 2; ++i) {
        if (!parserBlockUsed[i]) {
            parserBlockUsed[i] = true;
            return parserBlocks[i];
        }
    }
    return nullptr;
}

static void macroParserStackFree(void* block)
{
    for (int i = 0; i < 2; ++i)
        if (block == parserBlocks[i]) parserBlockUsed[i] = false;
}

int macroParse()
{
    // A run-time error may have unwound through the parser last time, holding a block.
    parserBlockUsed[0] = parserBlockUsed[1] = false;
    genParseStart();
    int result = yyparse();
    if (result == 2) return 2;  // parser stack overflow (already reported)
    if (result == 1) return 1;  // end of input during error recovery
    return genStatementReady() ? 1 : 0;
}
