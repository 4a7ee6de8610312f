// The main form: its controls as the designer placed them, construction, first showing and exit.
#include "app/MainProg.h"

#include "app/ControlCaptions.h"
#include "app/WindowRunWatch.h"
#include "app/PadColourer.h"
#include "config/Config.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/RichEditScroll.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif
#include <QScrollBar>
#include <QTextDocument>
#include <cstdlib>

TfrmMainProg* frmMainProg = nullptr;

namespace {

using Handler = void (TfrmMainProg::*)(TObject*);

const int kPadFontPixels = 17;

TRichEdit* MakePane(QWidget* parent, bool readOnly, TColor colour)
{
    auto* pane = new TRichEdit(parent);
    QFont font = FontOf(QStringLiteral("Tahoma"), kPadFontPixels);
    // Pads are plain arithmetic: text without ligatures or joined scripts is laid out without the
    // shaping engine, several times faster for long pads.
    font.setStyleStrategy(QFont::PreferNoShaping);
    pane->setFont(font);
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
    // from here finds it; a box with no window to stand over stands over it.
    frmMainProg = this;
    Application->MainForm = this;
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
    Highlighter = new TPadColourer();
    Highlighter->SetEditor(RichEdit_Main);
#if QT_CONFIG(sessionmanager)
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& session) {
        // A question needs the session's leave to interact; Cancel then keeps the session going.
        const bool mayAsk = !PadUnchanged && session.allowsInteraction();
        if (!QueryEndSession(mayAsk)) session.cancel();
        if (mayAsk) session.release();
    });
#endif
    runWatch_ = std::make_unique<TWindowRunWatch>(this);
    ScientificShown = false;
    PadUnchanged = true;
    ResizePending = false;
    BackspaceAtTopLine = false;
    SkipRecalculation = false;
    AngleUnit = 0;
}

TfrmMainProg::~TfrmMainProg()
{
    // The settings and the colourer outlive the form; the colourer must not reach its pad (whose
    // highlighter goes with it).
    if (Highlighter) Highlighter->Editor = nullptr;
    delete MainMenu1;
    if (frmMainProg == this) frmMainProg = nullptr;
}

void TfrmMainProg::CreateMenus()
{
    MainMenu1 = new TMainMenu(menuBar());
    File1 = MakeMenuItem(MenuId::File);
    New1 = MakeMenuItem(MenuId::New);
    Open1 = MakeMenuItem(MenuId::Open);
    Save1 = MakeMenuItem(MenuId::Save);
    SaveAs1 = MakeMenuItem(MenuId::SaveAs);
    Print1 = MakeMenuItem(MenuId::Print);
    Exit1 = MakeMenuItem(MenuId::Exit);
    N2 = new TMenuItem(QStringLiteral("-"));
    for (TMenuItem* item : {New1, Open1, Save1, SaveAs1, Print1, Exit1, N2}) File1->Add(item);
    for (TMenuItem* TfrmMainProg::*item : kRecentFileItems) {
        this->*item = new TMenuItem();
        (this->*item)->SetVisible(false);
        File1->Add(this->*item);
    }
    MainMenu1->Add(File1);

    Edit1 = MakeMenuItem(MenuId::Edit);
    Cut1 = MakeMenuItem(MenuId::Cut);
    Copy1 = MakeMenuItem(MenuId::Copy);
    Paste1 = MakeMenuItem(MenuId::Paste);
    N1 = new TMenuItem(QStringLiteral("-"));
    N1->SetVisible(false);
    CopyAll1 = MakeMenuItem(MenuId::CopyAll);
    N3 = new TMenuItem(QStringLiteral("-"));
    Find1 = MakeMenuItem(MenuId::Find);
    Replace1 = MakeMenuItem(MenuId::Replace);
    for (TMenuItem* item : {Cut1, Copy1, Paste1, N1, CopyAll1, N3, Find1, Replace1}) Edit1->Add(item);
    MainMenu1->Add(Edit1);
    CreateHelpMenu();
}

void TfrmMainProg::CreateGrid()
{
    Panel_Grid = new TPanel(Client());
    Panel_Grid->SetBevelOuter(bvNone);
    SetAlign(Panel_Grid, alClient);
    RichEdit_LineNo = MakePane(Panel_Grid, true, clMenu);
    SetWidth(RichEdit_LineNo, kLineNumberPaneWidth);
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
    // The user's edits can be undone; the colours are no edits (they lie over the text).
    RichEdit_Main->document()->setUndoRedoEnabled(true);
    SetAlign(RichEdit_Main, alClient);
    RichEdit_Main->setFocus();
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
    static constexpr Handler recentFileClicks[9] = {
        &TfrmMainProg::MRU_File1Click, &TfrmMainProg::MRU_File2Click, &TfrmMainProg::MRU_File3Click,
        &TfrmMainProg::MRU_File4Click, &TfrmMainProg::MRU_File5Click, &TfrmMainProg::MRU_File6Click,
        &TfrmMainProg::MRU_File7Click, &TfrmMainProg::MRU_File8Click, &TfrmMainProg::MRU_File9Click};
    for (int i = 0; i < 9; ++i) (this->*kRecentFileItems[i])->OnClick = bind(recentFileClicks[i]);

    Exit->OnClick = bind(&TfrmMainProg::ExitClick);
    Btn_CalculateAndTotal->OnClick = bind(&TfrmMainProg::Btn_CalculateAndTotalClick);
    Btn_CalculateOnly->OnClick = bind(&TfrmMainProg::Btn_CalculateOnlyClick);
    Btn_Scientific->OnClick = bind(&TfrmMainProg::Btn_ScientificClick);
    Cmb_UOM_Input->OnChange = bind(&TfrmMainProg::Cmb_UOM_InputChange);
    Cmb_UOM_Answer->OnChange = bind(&TfrmMainProg::Cmb_UOM_AnswerChange);
    Cmb_Precision->OnChange = bind(&TfrmMainProg::Cmb_PrecisionChange);
    RadioGroup_DegRad->OnClick = bind(&TfrmMainProg::RadioGroup_DegRadClick);
    // The date and the description are saved with the pad: the user's edit of either is an edit of
    // the pad, which New and Exit ask about. New and Open set them without editing the pad.
    for (TEdit* field : {Edit_Date, Edit_Description})
        QObject::connect(field, &QLineEdit::textEdited, this, [this] { PadUnchanged = false; });
    Cmb_General->OnChange = bind(&TfrmMainProg::Cmb_GeneralChange);
    Cmb_Conditional->OnChange = bind(&TfrmMainProg::Cmb_ConditionalChange);
    Cmb_Loop->OnChange = bind(&TfrmMainProg::Cmb_LoopChange);

    auto* pad = new TEditEvents(RichEdit_Main);
    pad->OnKeyDown = [this](TObject* s, WORD& key, TShiftState shift) { RichEdit_MainKeyDown(s, key, shift); };
    pad->OnKeyUp = [this](TObject* s, WORD& key, TShiftState shift) { RichEdit_MainKeyUp(s, key, shift); };
    pad->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int) {
        if (b == mbLeft) padMouseDown_ = true;
    };
    pad->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState shift, int x, int y) {
        RichEdit_MainMouseUp(s, b, shift, x, y);
    };
    QObject::connect(RichEdit_Main->verticalScrollBar(), &QScrollBar::valueChanged, RichEdit_Main,
                     [this] { FollowPadScroll(); });
    QObject::connect(RichEdit_Main->document(), &QTextDocument::blockCountChanged, RichEdit_Main,
                     [this] { FollowPadLineCount(); });
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
    ConnectEditCommands();
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
    UpdateMinimumSize();
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
    // Ends at once once an edited pad is saved or given up; Cancel keeps the program and the pad,
    // and typing goes on in the pad: a space left on the clicked Exit would only ask again.
    if (!MayGiveUpPad()) {
        RichEdit_Main->setFocus();
        return;
    }
    if (QuitProgram) return QuitProgram();
    std::exit(0);
}

void TfrmMainProg::closeEvent(QCloseEvent* event)
{
    const bool agreed = endAgreedPad_ && *endAgreedPad_ == SavedPadState();
    endAgreedPad_.reset();
    if (agreed || MayGiveUpPad())
        event->accept();
    else
        event->ignore();
}

bool TfrmMainProg::QueryEndSession(bool mayAsk)
{
    if (!mayAsk) return true;
    if (!MayGiveUpPad()) return false;
    endAgreedPad_ = SavedPadState();
    return true;
}

QStringList TfrmMainProg::SavedPadState() const
{
    return {RichEdit_Main->toPlainText(), Edit_Date->Text(), Edit_Description->Text()};
}
