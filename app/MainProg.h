#pragma once
// The main window: the pad with its line numbers and answers, the keypad, the scientific panel,
// the unit, precision and angle controls and the File menu. Everything the window does is a
// method of this one form; the methods live in files by concern:
//   MainProg.cpp        construction, menus, panes, events, FormShow, Exit
//   MainProgLayout.cpp  the panels' controls sized for the font in use, the smallest window
//   MainProgPanes.cpp   the three panes kept on the same lines, line numbers, resizing
//   MainProgCalc.cpp    CalculatePad and its helpers (thin over calc/PadCalculation.h)
//   MainProgUnits.cpp   the unit, precision and angle controls
//   MainProgFiles.cpp   New, Open, Save and the pad file format
//   MainProgKeypad.cpp  keypad, scientific panel and snippets
//   MainProgMru.cpp     the recent-files items of the File menu
//   MainProgPrint.cpp   printing and the plain-text copy (Copy All)
//   MainProgFind.cpp    find and replace
//   MainProgClipboard.cpp  cut, copy and paste, and edits the mouse makes in the pad
//   MainProgHelp.cpp    the Help menu: the manuals and the About box
#include "Smooth/SmoothButton.h"
#include "calc/CalcState.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/RichEdit.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/Strings.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

class TPadColourer;
class TOpenDialog;
class TSaveDialog;
class TPrintDialog;
class TFindDialog;
class TReplaceDialog;

class TfrmMainProg : public TForm {
public:
    explicit TfrmMainProg(QWidget* Owner = nullptr);
    ~TfrmMainProg() override;

    // ---- controls -------------------------------------------------------------------------
    TMainMenu* MainMenu1;
    TMenuItem* File1;
    TMenuItem* New1;
    TMenuItem* Open1;
    TMenuItem* Save1;
    TMenuItem* SaveAs1;
    TMenuItem* Exit1;
    TMenuItem* N2;
    TMenuItem* MRU_File1;
    TMenuItem* MRU_File2;
    TMenuItem* MRU_File3;
    TMenuItem* MRU_File4;
    TMenuItem* MRU_File5;
    TMenuItem* MRU_File6;
    TMenuItem* MRU_File7;
    TMenuItem* MRU_File8;
    TMenuItem* MRU_File9;
    TMenuItem* Help1;
    TMenuItem* TutorialManual1;  // submenu of the three tutorials
    TMenuItem* MetricBasic1;
    TMenuItem* ImperialBasic1;
    TMenuItem* General1;
    TMenuItem* Manual1;
    TMenuItem* About1;

    TPanel* Panel_Top;
    TLabel* Label_Date;
    TEdit* Edit_Date;
    TLabel* Label_Description;
    TEdit* Edit_Description;
    TLabel* Label_Calculation;
    TLabel* Label_Answer;
    TMemo* MemoOut;  // hidden

    TPanel* Panel_Grid;
    TRichEdit* RichEdit_LineNo;
    TRichEdit* RichEdit_Main;
    TPanel* Panel_Splitter;
    TRichEdit* RichEdit_Result;
    TScrollBar* ScrollBar1;

    TPanel* Panel_Bottom;
    TPanel* Panel_KeyPad;
    TPanel* Panel_KeyPad2;
    TBitBtn* BitBtn0;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;
    TBitBtn* BitBtn3;
    TBitBtn* BitBtn4;
    TBitBtn* BitBtn5;
    TBitBtn* BitBtn6;
    TBitBtn* BitBtn7;
    TBitBtn* BitBtn8;
    TBitBtn* BitBtn9;
    TBitBtn* BitBtnDecimalPt;
    TBitBtn* BitBtnDivide;
    TBitBtn* BitBtnTimes;
    TBitBtn* BitBtnMinus;
    TBitBtn* BitBtnPlus;
    TBitBtn* BitBtnSpace;
    TBitBtn* BitBtnQuote;
    TBitBtn* BitBtnDoubleQuote;
    TBitBtn* BitBtnUnaryMinus;
    TBitBtn* BitBtnLeftBracket;
    TBitBtn* BitBtnRightBracket;
    TBitBtn* BitBtnPairBrackets;
    TBitBtn* BitBtnBackspace;
    TBitBtn* BitBtnHelp;
    TGroupBox* GrpBox_UOM;
    TLabel* Label_UOM_Input;
    TComboBox* Cmb_UOM_Input;
    TLabel* Label_UOM_Answer;
    TComboBox* Cmb_UOM_Answer;
    TLabel* Label_Precision;
    TComboBox* Cmb_Precision;
    TButton* Btn_Scientific;
    TSmoothButton* Btn_CalculateAndTotal;
    TSmoothButton* Btn_CalculateOnly;

    TPanel* Panel_Scientific;  // hidden until opened
    TRadioGroup* RadioGroup_DegRad;
    TButton* Btn_Sin;
    TButton* Btn_Cos;
    TButton* Btn_Tan;
    TButton* Btn_ASin;
    TButton* Btn_ACos;
    TButton* Btn_ATan;
    TButton* Btn_ATan2;
    TButton* Btn_Sqrt;
    TButton* Btn_Pow;
    TButton* Btn_XSquared;
    TButton* Btn_AllSquared;
    TButton* Btn_Log10;
    TButton* Btn_Log;
    TButton* Btn_Exp;
    TButton* Btn_Rand;
    TBitBtn* BitBtn10;  // PI
    TGroupBox* GrpBox_ProgramFunctions;
    TComboBox* Cmb_General;
    TComboBox* Cmb_Conditional;
    TComboBox* Cmb_Loop;

    TPanel* Panel_Base;
    TSmoothButton* Exit;

    // Made on first use by the file commands.
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;

    // ---- members, in the order of the form's declaration ------------------------------------
    // The calculation state the pad calculation reads and fills; the names below are views of it.
    TCalcState Calc;
    int& Precision = Calc.Precision;  // decimal places, -1 for "Default"
    AnsiString LineEditText;          // the caret line's new text while it is written back
    AnsiString& AnswerUnitName = Calc.AnswerUnitName;
    int CurrentLine = 0;
    int KeyDownLine = 0;
    int LineHeight = 0;
    int CharWidth = 0;
    bool ResizePending = false;
    int TabStopChars = 4;
    int NumberedLineCount = 0;
    bool BackspaceAtTopLine = false;
    bool SkipRecalculation = false;
    bool ScientificShown = false;
    AnsiString Version;
    double (&MacroVariables)[5] = Calc.MacroVariables;
    int& AngleUnit = Calc.AngleUnit;
    bool PadUnchanged = true;
    // The pad was read whole from, or last written whole to, the file PadFilePath names (New
    // clears it, and so does an Open that reads nothing).
    bool PadHasFile = false;
    AnsiString PadFilePath;
    AnsiString PadFileStem;
    AnsiString PadFolder;
    AnsiString PadName;
    std::vector<ZR_Variable>& PadAnswers = Calc.PadAnswers;
    TPadColourer* Highlighter = nullptr;

    // ---- life cycle (MainProg.cpp) ------------------------------------------------------------
    void FormShow(TObject* Sender);
    void FormResize(TObject* Sender);
    void ExitClick(TObject* Sender);
    // How Exit ends the program once the pad may go; null: at once, with status 0. Tests put
    // their own here, so that an Exit reached by mistake cannot end the test program.
    static inline void (*QuitProgram)() = nullptr;

    // ---- panes (MainProgPanes.cpp) ------------------------------------------------------------
    void MeasurePadFont();
    int VisibleLineCount();
    void ApplyPendingResize();
    void SetScrollRange();
    void SetScrollPosition(int line);
    bool UpdateLineNumbers();
    void AlignLineNumberPane();
    // The line numbers' pane is as wide as designed, or as its longest number needs.
    static constexpr int kLineNumberPaneWidth = 46;
    void FitLineNumberPane(int count);
    void AlignPaneScroll();
    void RichEdit_MainKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void RichEdit_MainKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    void RichEdit_MainMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void RichEdit_MainMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, QPoint MousePos,
                                 bool& Handled);
    void RichEdit_MainSelectionChange(TObject* Sender);
    void ScrollBar1Scroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos);
    void Panel_SplitterMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

    // ---- calculation (MainProgCalc.cpp) -------------------------------------------------------
    // opening: the calculation that opening a pad file makes, which opens no file or device.
    void CalculatePad(bool total, bool opening = false);
    int CountPadLines(bool& totalFound, bool clear);
    void SyncPanesAfterCalculation();
    AnsiString FormatAnswer(double answer);
    void Btn_CalculateAndTotalClick(TObject* Sender);
    void Btn_CalculateOnlyClick(TObject* Sender);

    // ---- units, precision and angle (MainProgUnits.cpp) ---------------------------------------
    void GetUnitsOfMeasureAndPrecision();
    void Cmb_UOM_InputChange(TObject* Sender);
    void Cmb_UOM_AnswerChange(TObject* Sender);
    void Cmb_PrecisionChange(TObject* Sender);
    void RadioGroup_DegRadClick(TObject* Sender);
    void UnitsChanged();

    // ---- pad files (MainProgFiles.cpp) --------------------------------------------------------
    void New1Click(TObject* Sender);
    void Open1Click(TObject* Sender);
    void Save1Click(TObject* Sender);
    void SaveAs1Click(TObject* Sender);
    // False when the file was refused (the box has said why) and nothing of it was loaded.
    bool ReadPadFile();

    // ---- keypad, scientific panel, snippets (MainProgKeypad.cpp) ------------------------------
    AnsiString GetCurrentLine();
    void SetCurrentLine(const AnsiString& text);
    int GetCaretColumn();
    void SetCaretColumn(int column);
    void InsertPadText(const AnsiString& text, int caretOffset);
    void PrependToCurrentLine(const AnsiString& text);
    void AppendToCurrentLine(const AnsiString& text);
    void BitBtnPairBracketsClick(TObject* Sender);
    void BitBtnBackspaceClick(TObject* Sender);
    void BitBtnHelpClick(TObject* Sender);
    void Btn_ScientificClick(TObject* Sender);
    void Btn_AllSquaredClick(TObject* Sender);
    void Cmb_GeneralChange(TObject* Sender);
    void Cmb_ConditionalChange(TObject* Sender);
    void Cmb_LoopChange(TObject* Sender);

    // ---- recent files (MainProgMru.cpp) -------------------------------------------------------
    // MRU_File1 to MRU_File9, in order.
    std::array<TMenuItem*, 9> RecentFileItems() const
    {
        return {MRU_File1, MRU_File2, MRU_File3, MRU_File4, MRU_File5, MRU_File6, MRU_File7, MRU_File8, MRU_File9};
    }
    static constexpr TMenuItem* TfrmMainProg::*kRecentFileItems[9] = {
        &TfrmMainProg::MRU_File1, &TfrmMainProg::MRU_File2, &TfrmMainProg::MRU_File3,
        &TfrmMainProg::MRU_File4, &TfrmMainProg::MRU_File5, &TfrmMainProg::MRU_File6,
        &TfrmMainProg::MRU_File7, &TfrmMainProg::MRU_File8, &TfrmMainProg::MRU_File9};
    void UpdateMRUMenu();
    void MRU_File1Click(TObject* Sender);
    void MRU_File2Click(TObject* Sender);
    void MRU_File3Click(TObject* Sender);
    void MRU_File4Click(TObject* Sender);
    void MRU_File5Click(TObject* Sender);
    void MRU_File6Click(TObject* Sender);
    void MRU_File7Click(TObject* Sender);
    void MRU_File8Click(TObject* Sender);
    void MRU_File9Click(TObject* Sender);

    // ---- printing, plain-text copy, find and replace, clipboard ----------------------------------
    // (MainProgPrint.cpp, MainProgFind.cpp, MainProgClipboard.cpp; the menu items are made in
    // CreateMenus with the others)
    TMenuItem* Print1;
    TMenuItem* Edit1;
    TMenuItem* Cut1;
    TMenuItem* Copy1;
    TMenuItem* Paste1;
    TMenuItem* N1;  // hidden
    TMenuItem* CopyAll1;
    TMenuItem* N3;
    TMenuItem* Find1;
    TMenuItem* Replace1;
    TPrintDialog* PrintDialog1 = nullptr;
    TFindDialog* FindDialog = nullptr;
    TReplaceDialog* ReplaceDialog = nullptr;
    int ReplacementCount = 0;  // counted up by Replace All, 0 between runs
    void Print1Click(TObject* Sender);
    void CopyAll1Click(TObject* Sender);
    void RenderPadAsText();
    AnsiString TabsToAnswerColumn(const AnsiString& line);
    void Find1Click(TObject* Sender);
    void Replace1Click(TObject* Sender);
    void FindDialogFind(TObject* Sender);
    void ReplaceDialogReplace(TObject* Sender);
    void ReplaceDialogClose(TObject* Sender);
    void Cut1Click(TObject* Sender);
    void Copy1Click(TObject* Sender);
    void Paste1Click(TObject* Sender);
    // After the user edited the pad's lines first to last: the answers go, the lines are coloured
    // again and the pad counts as edited. An edit of the mouse (a drop, a middle-click paste, text
    // dragged out) is handled as a paste first.
    void AfterPadEdit(int first, int last, bool byMouse);
    // ---- help menu (MainProgHelp.cpp) ----------------------------------------------------------
    void MetricBasic1Click(TObject* Sender);
    void ImperialBasic1Click(TObject* Sender);
    void General1Click(TObject* Sender);
    void Manual1Click(TObject* Sender);
    void About1Click(TObject* Sender);

    // ---- helpers of the file, keypad and recent-files handlers ------------------------------------
    // Save's work: true when the pad was written (New gives the pad up only then).
    bool WritePadFile();
    // New's work: false when the user kept the edited pad (cancelled, or its save failed).
    bool StartNewPad();
    // Before an edited pad is given up (New, Open, Exit, closing the window, the session's end):
    // asks whether to save it. True when it may go: Don't Save, or Save wrote it whole.
    bool MayGiveUpPad();
    // The desktop is ending the session: false when the user chose to keep the program running.
    // mayAsk false: the session allows no question, and nothing is asked.
    bool QueryEndSession(bool mayAsk);
    // Replaces the caret's line (CurrentLine) with text as the pane holds it.
    void ReplaceCurrentLine(const UnicodeString& text);
    // Re-colours the lines an edit touched and renumbers the lines when it added some.
    void AfterLineEdit(int firstLine, int lastLine);
    void OpenRecentFile(TObject* Sender, int index);
    // Shows or hides a recent-files item and captions it with the list's i-th entry.
    static void UpdateMRUMenuItem(TMenuItem* item, int i, class TMRU list);

protected:
    void DoShow() override;
    void DoResize() override;
    // However the window is closed (the window manager's close, Alt+F4, the session's end), an
    // edited pad is asked about first.
    void closeEvent(QCloseEvent* event) override;

private:
    // MainProg.cpp and MainProgLayout.cpp: building the form's controls and menus and wiring
    // their events.
    void CreateMenus();
    // MainProgHelp.cpp: the Help menu, last on the menu bar, with its events.
    void CreateHelpMenu();
    void CreateTopPanel();
    void CreateGrid();
    void CreateBottomPanel();
    void CreateScientificPanel();
    void ConnectEvents();
    // MainProgClipboard.cpp: the print, find and replace dialogs, the Edit menu's events and the
    // user's edits of the pad.
    void ConnectEditCommands();
    // Keeps the column caption "Answer" above the answer pane.
    void PlaceColumnCaptions();
    // MainProgPanes.cpp: the height the keypad panel took over from the panes at the last fitting
    // to whole lines.
    int bottomSlack_ = 0;
    // MainProgPanes.cpp: scrolls a pane so that its first visible line is line (the way the
    // panes are lined up: top, then down by line lines).
    void ScrollPaneToLine(TRichEdit* pane, int line);

public:
    // ---- the window as a user meets it -------------------------------------------------------
    // However the pad's view moved (keys, typing, find, undo), the other panes and the thumb
    // follow; however its line count changed (a paste released at once, undo), the numbers do
    // (MainProgPanes.cpp).
    void FollowPadScroll();
    void FollowPadLineCount();
    // Adds a file's lines to the end of the pad; into an empty pad as a whole new text, which is
    // laid out a part at a time as it comes into view, and which undo does not take back.
    void AddPadLines(const std::vector<AnsiString>& lines);
    // The window can't be made smaller than this (MainProgLayout.cpp).
    void UpdateMinimumSize();
    // The watch over pad runs: Escape and the Stop box stop a run (WindowRunWatch.h).
    class TWindowRunWatch* PadRunWatch() const { return runWatch_.get(); }

private:
    std::unique_ptr<class TWindowRunWatch> runWatch_;
    // What is saved of the pad (its text, date and description) when the user agreed to let it go
    // at the session's end: the session's own close of the window then asks no second time, unless
    // any of them was edited since.
    QStringList SavedPadState() const;
    std::optional<QStringList> endAgreedPad_;
    bool loadingPad_ = false;       // a file's lines just went into an empty pad
    bool padMouseDown_ = false;     // the left button went down in the pad and is still down
    TShiftState keyDownShift_ = 0;  // the shift state when the last key went down in the pad
};

// The main form, made by the program entry.
extern TfrmMainProg* frmMainProg;
