// The date panel, the keypad panel and the scientific panel: their controls as the designer
// placed them, each size at least the designed one and as large as the window's font needs, so
// that a fallback font (the designed fonts are not everywhere) cuts no caption; and the smallest
// window that shows every control whole.
#include "app/MainProg.h"

#include "app/ControlCaptions.h"
#include <QFontMetrics>
#include <QMenuBar>
#include <algorithm>
#include <initializer_list>

namespace {

// A keypad or scientific button: where it goes (column and row of its panel's grid), what it
// shows, and what it inserts into the pad with the caret's offset in it (-1: after it). A button
// that does more than insert names its handler instead.
struct ButtonRow {
    TButton* TfrmMainProg::*button;  // null for the buttons that are TBitBtn members
    TBitBtn* TfrmMainProg::*bitButton;
    const char* caption;
    const char* hint;
    const char* inserts;
    int caret;
    void (TfrmMainProg::*onClick)(TObject*);
    int column;
    int row;
};

using F = TfrmMainProg;

const ButtonRow kKeyPad[] = {
    {nullptr, &F::BitBtn7, "7", "", "7", -1, nullptr, 0, 0},
    {nullptr, &F::BitBtn8, "8", "", "8", -1, nullptr, 1, 0},
    {nullptr, &F::BitBtn9, "9", "", "9", -1, nullptr, 2, 0},
    {nullptr, &F::BitBtnDivide, "/", "Divide", "/", -1, nullptr, 3, 0},
    {nullptr, &F::BitBtn4, "4", "", "4", -1, nullptr, 0, 1},
    {nullptr, &F::BitBtn5, "5", "", "5", -1, nullptr, 1, 1},
    {nullptr, &F::BitBtn6, "6", "", "6", -1, nullptr, 2, 1},
    {nullptr, &F::BitBtnTimes, "*", "Multiply", "*", -1, nullptr, 3, 1},
    {nullptr, &F::BitBtn1, "1", "", "1", -1, nullptr, 0, 2},
    {nullptr, &F::BitBtn2, "2", "", "2", -1, nullptr, 1, 2},
    {nullptr, &F::BitBtn3, "3", "", "3", -1, nullptr, 2, 2},
    {nullptr, &F::BitBtnMinus, "-", "Minus", " - ", -1, nullptr, 3, 2},
    {nullptr, &F::BitBtn0, "0", "", "0", -1, nullptr, 0, 3},
    {nullptr, &F::BitBtnDecimalPt, ".", "Decimal Point", ".", -1, nullptr, 1, 3},
    {nullptr, &F::BitBtnSpace, "sp", "<Space>", " ", -1, nullptr, 2, 3},
    {nullptr, &F::BitBtnPlus, "+", "Plus", " + ", -1, nullptr, 3, 3},
};

const ButtonRow kKeyPad2[] = {
    {nullptr, &F::BitBtnQuote, "'", "ft (preceded by number) else Comment", "'", -1, nullptr, 0, 0},
    {nullptr, &F::BitBtnDoubleQuote, "\"", "Inches (preceded by number) else String", "\"", -1, nullptr, 1, 0},
    {nullptr, &F::BitBtnLeftBracket, "(", "Left Bracket", "(", -1, nullptr, 0, 1},
    {nullptr, &F::BitBtnRightBracket, ")", "Right Bracket", ")", -1, nullptr, 1, 1},
    {nullptr, &F::BitBtnUnaryMinus, "(-)", "Unary Minus", "(-)", -1, nullptr, 0, 2},
    {nullptr, &F::BitBtnPairBrackets, "(...)", "Surrounding Brackets", nullptr, 0, &F::BitBtnPairBracketsClick, 1, 2},
    {nullptr, &F::BitBtnBackspace, "<X|", "Backspace", nullptr, 0, &F::BitBtnBackspaceClick, 0, 3},
    {nullptr, &F::BitBtnHelp, "?", "Keypad Help", nullptr, 0, &F::BitBtnHelpClick, 1, 3},
};

const ButtonRow kFunctions[] = {
    {&F::Btn_Sin, nullptr, "sin( )", "", "sin()", 4, nullptr, 0, 0},
    {&F::Btn_Cos, nullptr, "cos( )", "", "cos()", 4, nullptr, 1, 0},
    {&F::Btn_Tan, nullptr, "tan( )", "", "tan()", 4, nullptr, 2, 0},
    {&F::Btn_ASin, nullptr, "asin( )", "", "asin()", 5, nullptr, 3, 0},
    {&F::Btn_ACos, nullptr, "acos( )", "", "acos()", 5, nullptr, 4, 0},
    {&F::Btn_ATan, nullptr, "atan( )", "", "atan()", 5, nullptr, 5, 0},
    {&F::Btn_ATan2, nullptr, "atan2(,)", "", "atan2(,)", 6, nullptr, 6, 0},
    {&F::Btn_Sqrt, nullptr, "sqrt( )", "", "sqrt()", 5, nullptr, 7, 0},
    {&F::Btn_Pow, nullptr, "^", "", "^", -1, nullptr, 0, 1},
    {&F::Btn_XSquared, nullptr, "^\u00B2", "", "^2", -1, nullptr, 1, 1},
    {&F::Btn_AllSquared, nullptr, "(...)\u00B2", "", nullptr, 0, &F::Btn_AllSquaredClick, 2, 1},
    {&F::Btn_Log10, nullptr, "log10( )", "", "log10()", 6, nullptr, 3, 1},
    {&F::Btn_Log, nullptr, "ln( )", "", "ln()", 3, nullptr, 4, 1},
    {&F::Btn_Exp, nullptr, "exp( )", "", "exp()", 4, nullptr, 5, 1},
    {&F::Btn_Rand, nullptr, "rand( )", "", "rand()", 5, nullptr, 6, 1},
    {nullptr, &F::BitBtn10, "PI", "", "PI", -1, nullptr, 7, 1},
};

const char* const kGeneralSnippets[] = {"MsgBox", "Ask \"\",", "AskYesNo \"\",", "Val( )", "Str( , )", ""};
const char* const kConditionalSnippets[] = {"if( ) then ... endif", "elseif( ) then", "else", "endif",
                                            "==", "<", "<=", ">", ">=", "or", "and", "not", ""};
const char* const kLoopSnippets[] = {"for( ; ; ) ... endfor", "while( ) ... endwhile", ""};

// Sizes measured in the font a control shows: the designed size, or what the text needs.
int TextWidth(const QWidget* w, const QString& text) { return QFontMetrics(w->font()).horizontalAdvance(text); }
int TextWidth(const QWidget* w, std::initializer_list<const char*> texts)
{
    int widest = 0;
    for (const char* text : texts) widest = std::max(widest, TextWidth(w, QString::fromUtf8(text)));
    return widest;
}
int LineBox(const QWidget* w, int designed) { return std::max(designed, QFontMetrics(w->font()).height() + 8); }

template <size_t N>
TComboBox* MakeCombo(QWidget* parent, const char* const (&items)[N], int left, int top, int designedWidth)
{
    auto* combo = new TComboBox(parent);
    int widest = 0;
    for (const char* item : items) {
        combo->Items.Add(QString::fromUtf8(item));
        widest = std::max(widest, TextWidth(combo, QString::fromUtf8(item)));
    }
    combo->SetItemIndex(0);
    // Room for the drop-down arrow beside the longest item.
    combo->setGeometry(left, top, std::max(designedWidth, widest + 40), LineBox(combo, 24));
    return combo;
}

int Right(const QWidget* w) { return w->x() + w->width(); }
int Bottom(const QWidget* w) { return w->y() + w->height(); }

template <size_t N>
void MakeButtons(TfrmMainProg& form, TPanel* panel, const ButtonRow (&rows)[N], int left, int top, int width,
                 int height)
{
    for (const ButtonRow& row : rows) {
        const QString caption = QString::fromUtf8(row.caption);
        TButton* button = row.bitButton ? new TBitBtn(panel, caption) : new TButton(panel, caption);
        button->SetHint(QString::fromUtf8(row.hint));
        button->setGeometry(left + row.column * (width + 2), top + row.row * (height + 2), width, height);
        button->setFocusPolicy(Qt::NoFocus);
        // One handler for every button: the row says what goes into the pad.
        button->OnClick = [&form, &row](TObject* sender) {
            if (row.inserts)
                form.InsertPadText(row.inserts, row.caret);
            else
                (form.*row.onClick)(sender);
        };
        if (row.bitButton)
            form.*row.bitButton = static_cast<TBitBtn*>(button);
        else
            form.*row.button = button;
    }
}

}  // namespace

void TfrmMainProg::CreateTopPanel()
{
    Panel_Top = new TPanel(Client());
    SetAlign(Panel_Top, alTop);
    Label_Date = new TLabel(Panel_Top, QStringLiteral("Date"));
    Label_Description = new TLabel(Panel_Top, QStringLiteral("Description"));
    const int labels = std::max(80, TextWidth(this, {"Date", "Description"}) + 8);
    const int row = LineBox(this, 26);
    Label_Date->setGeometry(12, 9, labels, row);
    Edit_Date = new TEdit(Panel_Top);
    Edit_Date->setGeometry(20 + labels, 9, std::max(220, TextWidth(this, "30 Sep 2026 23:59:59") + 16), row);
    Label_Description->setGeometry(12, Bottom(Edit_Date) + 8, labels, row);
    Edit_Description = new TEdit(Panel_Top);
    Edit_Description->setGeometry(20 + labels, Label_Description->y(), 560, row);
    QFont caption = font();
    caption.setBold(true);
    Label_Calculation = new TLabel(Panel_Top, QStringLiteral("Calculation"));
    Label_Calculation->setFont(caption);
    Label_Answer = new TLabel(Panel_Top, QStringLiteral("Answer"));
    Label_Answer->setFont(caption);
    const int captionTop = std::max(90, Bottom(Edit_Description) + 8);
    Label_Calculation->setGeometry(52, captionTop, 160, LineBox(Label_Calculation, 22));
    Label_Answer->setGeometry(700, captionTop, 160, LineBox(Label_Answer, 22));
    SetHeight(Panel_Top, std::max(116, Bottom(Label_Answer) + 2));
    MemoOut = new TMemo(Panel_Top);
    MemoOut->setVisible(false);
}

void TfrmMainProg::CreateBottomPanel()
{
    Panel_Bottom = new TPanel(Client());
    SetAlign(Panel_Bottom, alBottom);
    // Square keys as wide as the widest caption needs.
    const int key = std::max(40, TextWidth(this, {"(...)", "<X|", "(-)"}) + 12);
    Panel_KeyPad = new TPanel(Panel_Bottom);
    Panel_KeyPad->setGeometry(6, 4, 4 * (key + 2) + 8, 4 * (key + 2) + 8);
    MakeButtons(*this, Panel_KeyPad, kKeyPad, 4, 4, key, key);
    Panel_KeyPad2 = new TPanel(Panel_Bottom);
    Panel_KeyPad2->setGeometry(Right(Panel_KeyPad) + 6, 4, 2 * (key + 2) + 8, 4 * (key + 2) + 8);
    MakeButtons(*this, Panel_KeyPad2, kKeyPad2, 4, 4, key, key);

    GrpBox_UOM = new TGroupBox(Panel_Bottom, QStringLiteral("Units of Measure"));
    Label_UOM_Input = new TLabel(GrpBox_UOM, QStringLiteral("Input"));
    Label_UOM_Answer = new TLabel(GrpBox_UOM, QStringLiteral("Answer"));
    Label_Precision = new TLabel(GrpBox_UOM, QStringLiteral("Precision"));
    const int labels = std::max(80, TextWidth(this, {"Input", "Answer", "Precision"}) + 8);
    const int row = LineBox(this, 24);
    const int firstRow = std::max(26, QFontMetrics(font()).height() + 10);  // below the group's caption
    Cmb_UOM_Input = MakeCombo(GrpBox_UOM, kInputUnits, labels + 20, firstRow, 188);
    Cmb_UOM_Answer = MakeCombo(GrpBox_UOM, kAnswerUnits, labels + 20, Bottom(Cmb_UOM_Input) + 8, 188);
    Cmb_UOM_Answer->SetDropDownCount(16);
    Cmb_Precision = MakeCombo(GrpBox_UOM, kPrecisions, labels + 20, Bottom(Cmb_UOM_Answer) + 8, 188);
    for (auto [label, combo] : {std::pair{Label_UOM_Input, Cmb_UOM_Input}, std::pair{Label_UOM_Answer, Cmb_UOM_Answer},
                                std::pair{Label_Precision, Cmb_Precision}})
        label->setGeometry(10, combo->y(), labels, row);
    const int comboWidth = std::max({Cmb_UOM_Input->width(), Cmb_UOM_Answer->width(), Cmb_Precision->width()});
    for (TComboBox* combo : {Cmb_UOM_Input, Cmb_UOM_Answer, Cmb_Precision}) combo->resize(comboWidth, combo->height());
    GrpBox_UOM->setGeometry(Right(Panel_KeyPad2) + 6, 4, std::max(300, Right(Cmb_Precision) + 12),
                            std::max(128, Bottom(Cmb_Precision) + 10));

    Btn_Scientific = new TButton(Panel_Bottom, QStringLiteral("Scientific >>"));
    Btn_Scientific->setGeometry(GrpBox_UOM->x(), Bottom(GrpBox_UOM) + 8,
                                std::max(140, TextWidth(this, {"<< Scientific", "Scientific >>"}) + 24),
                                LineBox(this, 34));
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
    Btn_CalculateOnly = calculateButton("images/calculate.png", "= Run: calculate every line");
    const int calcWidth = 180;
    const int calcHeight = 72;
    const int calcLeft = std::max(620, Right(GrpBox_UOM) + 30);
    Btn_CalculateAndTotal->setGeometry(calcLeft, 12, calcWidth, calcHeight);
    Btn_CalculateOnly->setGeometry(calcLeft, Bottom(Btn_CalculateAndTotal) + 12, calcWidth, calcHeight);
    SetHeight(Panel_Bottom, std::max({184, Bottom(Btn_Scientific) + 10, Bottom(Btn_CalculateOnly) + 16}));
}

void TfrmMainProg::CreateScientificPanel()
{
    Panel_Scientific = new TPanel(Client());
    Panel_Scientific->setVisible(false);
    SetAlign(Panel_Scientific, alBottom);

    RadioGroup_DegRad = new TRadioGroup(Panel_Scientific, QStringLiteral("Angles"));
    for (const char* item : kAngleUnits) RadioGroup_DegRad->Items.Add(QString::fromLatin1(item));
    RadioGroup_DegRad->SetColumns(3);
    RadioGroup_DegRad->SetItemIndex(0);
    const QSize angles = RadioGroup_DegRad->sizeHint();
    RadioGroup_DegRad->setGeometry(6, 4, std::max(270, angles.width()), std::max(50, angles.height()));

    const int keyWidth = std::max(72, TextWidth(this, {"atan2(,)", "log10( )", "(...)\u00B2"}) + 14);
    const int keyHeight = LineBox(this, 26);
    const int keysLeft = std::max(290, Right(RadioGroup_DegRad) + 14);
    MakeButtons(*this, Panel_Scientific, kFunctions, keysLeft, 8, keyWidth, keyHeight);

    GrpBox_ProgramFunctions = new TGroupBox(Panel_Scientific, QStringLiteral("Program Functions"));
    const int firstRow = std::max(26, QFontMetrics(font()).height() + 10);
    Cmb_General = MakeCombo(GrpBox_ProgramFunctions, kGeneralSnippets, 10, firstRow, 170);
    Cmb_Conditional = MakeCombo(GrpBox_ProgramFunctions, kConditionalSnippets, Right(Cmb_General) + 14, firstRow, 170);
    Cmb_Loop = MakeCombo(GrpBox_ProgramFunctions, kLoopSnippets, Right(Cmb_Conditional) + 14, firstRow, 170);
    const int groupTop = std::max(58, std::max(Bottom(RadioGroup_DegRad), 8 + 2 * (keyHeight + 2)) + 4);
    GrpBox_ProgramFunctions->setGeometry(6, groupTop, std::max(560, Right(Cmb_Loop) + 12),
                                         std::max(58, Bottom(Cmb_Loop) + 8));
    SetHeight(Panel_Scientific, std::max(124, Bottom(GrpBox_ProgramFunctions) + 8));
}

void TfrmMainProg::UpdateMinimumSize()
{
    // Every panel as wide as its rightmost control and as high as its designed controls; the panes
    // keep a few lines.
    int width = 0;
    for (QWidget* panel : {static_cast<QWidget*>(Panel_Top), static_cast<QWidget*>(Panel_Bottom),
                           static_cast<QWidget*>(Panel_Scientific)})
        for (QObject* child : panel->children())
            // The column captions follow the panes; they ask for no width of their own.
            if (auto* control = qobject_cast<QWidget*>(child);
                control && !control->isHidden() && control != Label_Answer && control != Label_Calculation)
                width = std::max(width, Right(control) + 10);
    width = std::max(width, RichEdit_LineNo->width() + 120 + Panel_Splitter->width() + RichEdit_Result->width() +
                                ScrollBar1->width());
    width = std::max(width, Exit->width() + 16);
    const int lines = 3 * std::max(LineHeight, 1) + 8;
    int height = Panel_Top->height() + lines + Panel_Bottom->height() - bottomSlack_ + Panel_Base->height();
    if (IsVisible(Panel_Scientific)) height += Panel_Scientific->height();
    setMinimumSize(width, height + menuBar()->sizeHint().height());
}
