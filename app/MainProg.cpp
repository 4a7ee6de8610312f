// The main form: its controls as the designer placed them, construction, first showing and exit.
#include "app/MainProg.h"

#include "calc/Highlight.h"
#include "config/Config.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/RichEditScroll.h"

#include <QMenuBar>
#include <cstdlib>

TfrmMainProg* frmMainProg = nullptr;

namespace {

using Handler = void (TfrmMainProg::*)(TObject*);

// A button of the keypad or the scientific panel: where it goes (column and row of its panel's
// grid), what it shows and what it does.
struct ButtonRow {
    TButton* TfrmMainProg::*button;
    const char* caption;
    const char* hint;
    Handler onClick;
    int column;
    int row;
};

const ButtonRow kKeyPad[] = {
    {nullptr, "7", "", &TfrmMainProg::BitBtn7Click, 0, 0},
    {nullptr, "8", "", &TfrmMainProg::BitBtn8Click, 1, 0},
    {nullptr, "9", "", &TfrmMainProg::BitBtn9Click, 2, 0},
    {nullptr, "/", "Divide", &TfrmMainProg::BitBtnDivideClick, 3, 0},
    {nullptr, "4", "", &TfrmMainProg::BitBtn4Click, 0, 1},
    {nullptr, "5", "", &TfrmMainProg::BitBtn5Click, 1, 1},
    {nullptr, "6", "", &TfrmMainProg::BitBtn6Click, 2, 1},
    {nullptr, "*", "Multiply", &TfrmMainProg::BitBtnTimesClick, 3, 1},
    {nullptr, "1", "", &TfrmMainProg::BitBtn1Click, 0, 2},
    {nullptr, "2", "", &TfrmMainProg::BitBtn2Click, 1, 2},
    {nullptr, "3", "", &TfrmMainProg::BitBtn3Click, 2, 2},
    {nullptr, "-", "Minus", &TfrmMainProg::BitBtnMinusClick, 3, 2},
    {nullptr, "0", "", &TfrmMainProg::BitBtn0Click, 0, 3},
    {nullptr, ".", "Decimal Point", &TfrmMainProg::BitBtnDecimalPtClick, 1, 3},
    {nullptr, "sp", "<Space>", &TfrmMainProg::BitBtnSpaceClick, 2, 3},
    {nullptr, "+", "Plus", &TfrmMainProg::BitBtnPlusClick, 3, 3},
};

const ButtonRow kKeyPad2[] = {
    {nullptr, "'", "ft (preceded by number) else Comment", &TfrmMainProg::BitBtnQuoteClick, 0, 0},
    {nullptr, "\"", "Inches (preceded by number) else String", &TfrmMainProg::BitBtnDoubleQuoteClick, 1, 0},
    {nullptr, "(", "Left Bracket", &TfrmMainProg::BitBtnLeftBracketClick, 0, 1},
    {nullptr, ")", "Right Bracket", &TfrmMainProg::BitBtnRightBracketClick, 1, 1},
    {nullptr, "(-)", "Unary Minus", &TfrmMainProg::BitBtnUnaryMinusClick, 0, 2},
    {nullptr, "(...)", "Surrounding Brackets", &TfrmMainProg::BitBtnPairBracketsClick, 1, 2},
    {nullptr, "<X|", "Backspace", &TfrmMainProg::BitBtnBackspaceClick, 0, 3},
    {nullptr, "?", "Keypad Help", &TfrmMainProg::BitBtnHelpClick, 1, 3},
};

const ButtonRow kFunctions[] = {
    {&TfrmMainProg::Btn_Sin, "sin( )", "", &TfrmMainProg::Btn_SinClick, 0, 0},
    {&TfrmMainProg::Btn_Cos, "cos( )", "", &TfrmMainProg::Btn_CosClick, 1, 0},
    {&TfrmMainProg::Btn_Tan, "tan( )", "", &TfrmMainProg::Btn_TanClick, 2, 0},
    {&TfrmMainProg::Btn_ASin, "asin( )", "", &TfrmMainProg::Btn_ASinClick, 3, 0},
    {&TfrmMainProg::Btn_ACos, "acos( )", "", &TfrmMainProg::Btn_ACosClick, 4, 0},
    {&TfrmMainProg::Btn_ATan, "atan( )", "", &TfrmMainProg::Btn_ATanClick, 5, 0},
    {&TfrmMainProg::Btn_ATan2, "atan2(,)", "", &TfrmMainProg::Btn_ATan2Click, 6, 0},
    {&TfrmMainProg::Btn_Sqrt, "sqrt( )", "", &TfrmMainProg::Btn_SqrtClick, 7, 0},
    {&TfrmMainProg::Btn_Pow, "^", "", &TfrmMainProg::Btn_PowClick, 0, 1},
    {&TfrmMainProg::Btn_XSquared, "^\u00B2", "", &TfrmMainProg::Btn_XSquaredClick, 1, 1},
    {&TfrmMainProg::Btn_AllSquared, "(...)\u00B2", "", &TfrmMainProg::Btn_AllSquaredClick, 2, 1},
    {&TfrmMainProg::Btn_Log10, "log10( )", "", &TfrmMainProg::Btn_Log10Click, 3, 1},
    {&TfrmMainProg::Btn_Log, "ln( )", "", &TfrmMainProg::Btn_LogClick, 4, 1},
    {&TfrmMainProg::Btn_Exp, "exp( )", "", &TfrmMainProg::Btn_ExpClick, 5, 1},
    {&TfrmMainProg::Btn_Rand, "rand( )", "", &TfrmMainProg::Btn_RandClick, 6, 1},
    {nullptr, "PI", "", &TfrmMainProg::Btn_PIClick, 7, 1},
};

const char* const kInputUnits[] = {"None", "Metric (mm)", "Metric (cm)", "Metric (m)", ""};
const char* const kAnswerUnits[] = {"None", "mm", "sq mm", "cu mm", "cm", "sq cm", "cu cm", "m",
                                    "sq m", "cu m", "ft", "sq ft", "cu ft", "yds", "sq yds", "cu yds"};
const char* const kPrecisions[] = {"Default", "0 Decimal Places", "1 Decimal Places",
                                   "2 Decimal Places", "3 Decimal Places", "4 Decimal Places",
                                   "5 Decimal Places", "6 Decimal Places"};
const char* const kGeneralSnippets[] = {"MsgBox", "Ask \"\",", "AskYesNo \"\",", "Val( )", "Str( , )", ""};
const char* const kConditionalSnippets[] = {"if( ) then ... endif", "elseif( ) then", "else", "endif",
                                            "==", "<", "<=", ">", ">=", "or", "and", "not", ""};
const char* const kLoopSnippets[] = {"for( ; ; ) ... endfor", "while( ) ... endwhile", ""};

const int kKeySize = 40;  // keypad buttons, with 2 pixels between them
const int kPadFontPixels = 17;

template <size_t N>
TComboBox* MakeCombo(QWidget* parent, const char* const (&items)[N], int left, int top, int width)
{
    auto* combo = new TComboBox(parent);
    for (const char* item : items) combo->Items.Add(QString::fromUtf8(item));
    combo->SetItemIndex(0);
    combo->setGeometry(left, top, width, 24);
    return combo;
}

TRichEdit* MakePane(QWidget* parent, bool readOnly, TColor colour)
{
    auto* pane = new TRichEdit(parent);
    pane->setFont(FontOf(QStringLiteral("Tahoma"), kPadFontPixels));
    pane->document()->setDefaultFont(pane->font());
    // A 2-pixel sunken border and a 2-pixel margin inside it: together the 8 pixels that the
    // pane area adds to its whole lines, so that the three panes show exactly the same lines.
    pane->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    pane->document()->setDocumentMargin(2);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pane->setReadOnly(readOnly);
    if (readOnly) pane->setFocusPolicy(Qt::ClickFocus);
    SetBackground(pane, colour);
    return pane;
}

}  // namespace

TfrmMainProg::TfrmMainProg(QWidget* Owner) : TForm(Owner)
{
    // The form variable names the main form while it is being made, so that everything started
    // from here finds it.
    frmMainProg = this;
    setWindowTitle(QStringLiteral("Plumo Calculator"));
    setFont(FontOf(QStringLiteral("Tahoma"), 13));

    CreateMenus();
    // Edges are taken outside in: the exit strip at the very bottom, the scientific panel above
    // it when open, then the keypad panel; the date panel on top and the panes in between.
    Panel_Base = new TPanel(Client());
    Panel_Base->setContentsMargins(6, 6, 10, 6);
    SetHeight(Panel_Base, 46);
    SetAlign(Panel_Base, alBottom);
    Exit = new TSmoothButton(Panel_Base);
    Exit->SetCaption(QStringLiteral("Exit"));
    SetWidth(Exit, 100);
    SetAlign(Exit, alRight);
    CreateScientificPanel();
    CreateBottomPanel();
    CreateTopPanel();
    CreateGrid();
    ConnectEvents();
    SetClientSize(915, 714);

    Version = "1.00.160202";
    new TConfig();  // publishes itself through Config and lives to the end of the process
    Highlighter = new THighlight();
    Highlighter->Editor = RichEdit_Main;
    ScientificShown = false;
    PadUnchanged = true;
    ResizePending = false;
    BackspaceAtTopLine = false;
    SkipRecalculation = false;
    AngleUnit = 0;
}

TfrmMainProg::~TfrmMainProg()
{
    // The settings and the colourer outlive the form; the colourer must not reach its pad.
    if (Highlighter) Highlighter->Editor = nullptr;
    delete MainMenu1;
    if (frmMainProg == this) frmMainProg = nullptr;
}

void TfrmMainProg::CreateMenus()
{
    MainMenu1 = new TMainMenu(menuBar());
    File1 = new TMenuItem(QStringLiteral("File"));
    New1 = new TMenuItem(QStringLiteral("New"), QKeySequence(QStringLiteral("Ctrl+N")));
    Open1 = new TMenuItem(QStringLiteral("Open"), QKeySequence(QStringLiteral("Ctrl+O")));
    Save1 = new TMenuItem(QStringLiteral("Save"), QKeySequence(QStringLiteral("Ctrl+S")));
    SaveAs1 = new TMenuItem(QStringLiteral("Save As..."));
    Exit1 = new TMenuItem(QStringLiteral("Exit"));
    N2 = new TMenuItem(QStringLiteral("-"));
    for (TMenuItem* item : {New1, Open1, Save1, SaveAs1, Exit1, N2}) File1->Add(item);
    TMenuItem** recent[] = {&MRU_File1, &MRU_File2, &MRU_File3, &MRU_File4, &MRU_File5,
                            &MRU_File6, &MRU_File7, &MRU_File8, &MRU_File9};
    for (TMenuItem** item : recent) {
        *item = new TMenuItem();
        (*item)->SetVisible(false);
        File1->Add(*item);
    }
    MainMenu1->Add(File1);
}

void TfrmMainProg::CreateTopPanel()
{
    Panel_Top = new TPanel(Client());
    SetHeight(Panel_Top, 116);
    SetAlign(Panel_Top, alTop);
    Label_Date = new TLabel(Panel_Top, QStringLiteral("Date"));
    Label_Date->setGeometry(12, 12, 80, 20);
    Edit_Date = new TEdit(Panel_Top);
    Edit_Date->setGeometry(100, 9, 220, 26);
    Label_Description = new TLabel(Panel_Top, QStringLiteral("Description"));
    Label_Description->setGeometry(12, 46, 80, 20);
    Edit_Description = new TEdit(Panel_Top);
    Edit_Description->setGeometry(100, 43, 560, 26);
    QFont caption = font();
    caption.setBold(true);
    Label_Calculation = new TLabel(Panel_Top, QStringLiteral("Calculation"));
    Label_Calculation->setFont(caption);
    Label_Calculation->setGeometry(52, 90, 160, 22);
    Label_Answer = new TLabel(Panel_Top, QStringLiteral("Answer"));
    Label_Answer->setFont(caption);
    Label_Answer->setGeometry(700, 90, 160, 22);
    MemoOut = new TMemo(Panel_Top);
    MemoOut->setVisible(false);
}

void TfrmMainProg::CreateGrid()
{
    Panel_Grid = new TPanel(Client());
    Panel_Grid->SetBevelOuter(bvNone);
    SetAlign(Panel_Grid, alClient);
    RichEdit_LineNo = MakePane(Panel_Grid, true, clMenu);
    SetWidth(RichEdit_LineNo, 46);
    SetAlign(RichEdit_LineNo, alLeft);
    ScrollBar1 = new TScrollBar(Qt::Vertical, Panel_Grid);
    SetWidth(ScrollBar1, 22);
    SetAlign(ScrollBar1, alRight);
    RichEdit_Result = MakePane(Panel_Grid, true, clGradientInactiveCaption);
    SetWidth(RichEdit_Result, 181);
    SetAlign(RichEdit_Result, alRight);
    Panel_Splitter = new TPanel(Panel_Grid);
    Panel_Splitter->setCursor(Qt::SplitHCursor);
    SetWidth(Panel_Splitter, 5);
    SetAlign(Panel_Splitter, alRight);
    RichEdit_Main = MakePane(Panel_Grid, false, clWindow);
    SetAlign(RichEdit_Main, alClient);
    RichEdit_Main->setFocus();
}

void TfrmMainProg::CreateBottomPanel()
{
    Panel_Bottom = new TPanel(Client());
    SetHeight(Panel_Bottom, 184);
    SetAlign(Panel_Bottom, alBottom);

    const auto makeKeys = [this](TPanel* panel, const auto& rows, TBitBtn** made) {
        int i = 0;
        for (const ButtonRow& row : rows) {
            auto* button = new TBitBtn(panel, QString::fromUtf8(row.caption));
            button->SetHint(QString::fromUtf8(row.hint));
            button->setGeometry(4 + row.column * (kKeySize + 2), 4 + row.row * (kKeySize + 2), kKeySize, kKeySize);
            button->setFocusPolicy(Qt::NoFocus);
            button->OnClick = [this, handler = row.onClick](TObject* sender) { (this->*handler)(sender); };
            made[i++] = button;
        }
    };
    Panel_KeyPad = new TPanel(Panel_Bottom);
    Panel_KeyPad->setGeometry(6, 4, 4 * (kKeySize + 2) + 8, 4 * (kKeySize + 2) + 8);
    TBitBtn* keys[16];
    makeKeys(Panel_KeyPad, kKeyPad, keys);
    BitBtn7 = keys[0], BitBtn8 = keys[1], BitBtn9 = keys[2], BitBtnDivide = keys[3];
    BitBtn4 = keys[4], BitBtn5 = keys[5], BitBtn6 = keys[6], BitBtnTimes = keys[7];
    BitBtn1 = keys[8], BitBtn2 = keys[9], BitBtn3 = keys[10], BitBtnMinus = keys[11];
    BitBtn0 = keys[12], BitBtnDecimalPt = keys[13], BitBtnSpace = keys[14], BitBtnPlus = keys[15];

    Panel_KeyPad2 = new TPanel(Panel_Bottom);
    Panel_KeyPad2->setGeometry(186, 4, 2 * (kKeySize + 2) + 8, 4 * (kKeySize + 2) + 8);
    TBitBtn* keys2[8];
    makeKeys(Panel_KeyPad2, kKeyPad2, keys2);
    BitBtnQuote = keys2[0], BitBtnDoubleQuote = keys2[1], BitBtnLeftBracket = keys2[2];
    BitBtnRightBracket = keys2[3], BitBtnUnaryMinus = keys2[4], BitBtnPairBrackets = keys2[5];
    BitBtnBackspace = keys2[6], BitBtnHelp = keys2[7];

    GrpBox_UOM = new TGroupBox(Panel_Bottom, QStringLiteral("Units of Measure"));
    GrpBox_UOM->setGeometry(290, 4, 300, 128);
    Label_UOM_Input = new TLabel(GrpBox_UOM, QStringLiteral("Input"));
    Label_UOM_Input->setGeometry(10, 28, 80, 20);
    Cmb_UOM_Input = MakeCombo(GrpBox_UOM, kInputUnits, 100, 26, 188);
    Label_UOM_Answer = new TLabel(GrpBox_UOM, QStringLiteral("Answer"));
    Label_UOM_Answer->setGeometry(10, 60, 80, 20);
    Cmb_UOM_Answer = MakeCombo(GrpBox_UOM, kAnswerUnits, 100, 58, 188);
    Cmb_UOM_Answer->SetDropDownCount(16);
    Label_Precision = new TLabel(GrpBox_UOM, QStringLiteral("Precision"));
    Label_Precision->setGeometry(10, 92, 80, 20);
    Cmb_Precision = MakeCombo(GrpBox_UOM, kPrecisions, 100, 90, 188);

    Btn_Scientific = new TButton(Panel_Bottom, QStringLiteral("Scientific >>"));
    Btn_Scientific->setGeometry(290, 140, 140, 34);
    // The two calculate buttons show a picture instead of a caption, on a green face.
    const auto calculateButton = [this](const char* picture, const char* hint) {
        auto* button = new TSmoothButton(Panel_Bottom);
        button->Picture()->LoadFromResourceName(QString::fromLatin1(picture));
        button->SetColor(0xC0DCC0);  // money green
        button->SetBevelColor(clGreen);
        button->SetHint(QString::fromLatin1(hint));
        return button;
    };
    Btn_CalculateAndTotal = calculateButton("images/calculate-total.png",
                                            "= Run & Total: calculate every line and add their TOTAL");
    Btn_CalculateAndTotal->setGeometry(620, 12, 180, 72);
    Btn_CalculateOnly = calculateButton("images/calculate.png", "= Run: calculate every line");
    Btn_CalculateOnly->setGeometry(620, 96, 180, 72);
}

void TfrmMainProg::CreateScientificPanel()
{
    Panel_Scientific = new TPanel(Client());
    Panel_Scientific->setVisible(false);
    SetHeight(Panel_Scientific, 124);
    SetAlign(Panel_Scientific, alBottom);

    RadioGroup_DegRad = new TRadioGroup(Panel_Scientific, QStringLiteral("Angles"));
    for (const char* item : {"Degrees", "Radians", "Grads"}) RadioGroup_DegRad->Items.Add(QString::fromLatin1(item));
    RadioGroup_DegRad->SetColumns(3);
    RadioGroup_DegRad->SetItemIndex(0);
    RadioGroup_DegRad->setGeometry(6, 4, 270, 50);

    GrpBox_ProgramFunctions = new TGroupBox(Panel_Scientific, QStringLiteral("Program Functions"));
    GrpBox_ProgramFunctions->setGeometry(6, 58, 560, 58);
    Cmb_General = MakeCombo(GrpBox_ProgramFunctions, kGeneralSnippets, 10, 26, 170);
    Cmb_Conditional = MakeCombo(GrpBox_ProgramFunctions, kConditionalSnippets, 194, 26, 170);
    Cmb_Loop = MakeCombo(GrpBox_ProgramFunctions, kLoopSnippets, 378, 26, 170);

    for (const ButtonRow& row : kFunctions) {
        const QString caption = QString::fromUtf8(row.caption);
        TButton* button = row.button ? new TButton(Panel_Scientific, caption) : new TBitBtn(Panel_Scientific, caption);
        button->setGeometry(290 + row.column * 76, 8 + row.row * 30, 72, 26);
        button->setFocusPolicy(Qt::NoFocus);
        button->OnClick = [this, handler = row.onClick](TObject* sender) { (this->*handler)(sender); };
        if (row.button)
            this->*row.button = button;
        else
            BitBtn10 = static_cast<TBitBtn*>(button);
    }
}

void TfrmMainProg::ConnectEvents()
{
    const auto bind = [this](Handler handler) {
        return [this, handler](TObject* sender) { (this->*handler)(sender); };
    };
    New1->OnClick = bind(&TfrmMainProg::New1Click);
    Open1->OnClick = bind(&TfrmMainProg::Open1Click);
    Save1->OnClick = bind(&TfrmMainProg::Save1Click);
    SaveAs1->OnClick = bind(&TfrmMainProg::SaveAs1Click);
    Exit1->OnClick = bind(&TfrmMainProg::ExitClick);
    const Handler recent[] = {&TfrmMainProg::MRU_File1Click, &TfrmMainProg::MRU_File2Click,
                              &TfrmMainProg::MRU_File3Click, &TfrmMainProg::MRU_File4Click,
                              &TfrmMainProg::MRU_File5Click, &TfrmMainProg::MRU_File6Click,
                              &TfrmMainProg::MRU_File7Click, &TfrmMainProg::MRU_File8Click,
                              &TfrmMainProg::MRU_File9Click};
    TMenuItem* const items[] = {MRU_File1, MRU_File2, MRU_File3, MRU_File4, MRU_File5,
                                MRU_File6, MRU_File7, MRU_File8, MRU_File9};
    for (int i = 0; i < 9; ++i) items[i]->OnClick = bind(recent[i]);

    Exit->OnClick = bind(&TfrmMainProg::ExitClick);
    Btn_CalculateAndTotal->OnClick = bind(&TfrmMainProg::Btn_CalculateAndTotalClick);
    Btn_CalculateOnly->OnClick = bind(&TfrmMainProg::Btn_CalculateOnlyClick);
    Btn_Scientific->OnClick = bind(&TfrmMainProg::Btn_ScientificClick);
    Cmb_UOM_Input->OnChange = bind(&TfrmMainProg::Cmb_UOM_InputChange);
    Cmb_UOM_Answer->OnChange = bind(&TfrmMainProg::Cmb_UOM_AnswerChange);
    Cmb_Precision->OnChange = bind(&TfrmMainProg::Cmb_PrecisionChange);
    RadioGroup_DegRad->OnClick = bind(&TfrmMainProg::RadioGroup_DegRadClick);
    Cmb_General->OnChange = bind(&TfrmMainProg::Cmb_GeneralChange);
    Cmb_Conditional->OnChange = bind(&TfrmMainProg::Cmb_ConditionalChange);
    Cmb_Loop->OnChange = bind(&TfrmMainProg::Cmb_LoopChange);

    auto* pad = new TEditEvents(RichEdit_Main);
    pad->OnKeyDown = [this](TObject* s, WORD& key, TShiftState shift) { RichEdit_MainKeyDown(s, key, shift); };
    pad->OnKeyUp = [this](TObject* s, WORD& key, TShiftState shift) { RichEdit_MainKeyUp(s, key, shift); };
    pad->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState shift, int x, int y) {
        RichEdit_MainMouseUp(s, b, shift, x, y);
    };
    const TMouseWheelEvent wheel = [this](TObject* s, TShiftState shift, int delta, QPoint at, bool& handled) {
        RichEdit_MainMouseWheel(s, shift, delta, at, handled);
    };
    pad->OnMouseWheel = wheel;
    pad->OnSelectionChange = bind(&TfrmMainProg::RichEdit_MainSelectionChange);
    for (TRichEdit* pane : {RichEdit_LineNo, RichEdit_Main, RichEdit_Result}) ScrollByWholeLines(*pane);
    // The wheel over a side pane turns the pad's wheel: the three panes move only together.
    for (TRichEdit* side : {RichEdit_LineNo, RichEdit_Result}) (new TEditEvents(side))->OnMouseWheel = wheel;
    ScrollBar1->OnScroll = [this](TObject* s, TScrollCode code, int& position) { ScrollBar1Scroll(s, code, position); };
    Panel_Splitter->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState shift, int x, int y) {
        Panel_SplitterMouseUp(s, b, shift, x, y);
    };
}

void TfrmMainProg::PlaceColumnCaptions()
{
    Label_Calculation->move(RichEdit_Main->x() + 4, Label_Calculation->y());
    Label_Answer->move(RichEdit_Result->x() + 4, Label_Answer->y());
}

void TfrmMainProg::DoShow() { FormShow(this); }

void TfrmMainProg::DoResize() { FormResize(this); }

void TfrmMainProg::FormShow(TObject* /*Sender*/)
{
    MeasurePadFont();
    ApplyPendingResize();
    if (Config->Scientific) Btn_ScientificClick(this);
    UpdateMRUMenu();
    TabStopChars = 4;
    SetTabStops(*RichEdit_Main, TabStopChars * CharWidth);
    New1Click(this);
    Precision = -1;
    Cmb_UOM_AnswerChange(this);
}

void TfrmMainProg::FormResize(TObject* /*Sender*/)
{
    // The panes are fitted to whole lines at the next click in the pad or move of the scroll
    // bar, not while the user is still dragging the window's border.
    ResizePending = true;
    PlaceColumnCaptions();
}

void TfrmMainProg::ExitClick(TObject* /*Sender*/)
{
    // Ends at once: nothing is asked and nothing is saved.
    std::exit(0);
}
