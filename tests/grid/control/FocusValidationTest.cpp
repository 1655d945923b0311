// The string grid's bookkeeping around editing: validation of an edited value (events, modified
// marks, the refused path), the update lock, focus arriving and leaving, the periodic timer, and
// the flags an operation sets being given back when it raises.
#include "EditFixture.h"
#include "tests/support/ScriptedDialogs.h"

#include <functional>
#include <ostream>

namespace {

// The edit fixture with a hidden row as well: real row 6 is hidden, so display row 6 shows real
// row 7.
class FocusGrid : public EditGrid {
protected:
    static constexpr int HiddenRealRow = 6;
    void SetUp() override {
        EditGrid::SetUp();
        G->HideRow(HiddenRealRow);
        ASSERT_EQ(G->RealRowIndex(6), 7);
        G->MoveCurrentCell(2, 3, true);
    }
    // The handlers see the tests' locals: none of them may run while the form goes.
    void TearDown() override {
        G->OnCellValidate = nullptr;
        G->OnCellsChanged = nullptr;
        G->OnExit = nullptr;
        G->OnKeyDown = nullptr;
        G->OnEditingDone = nullptr;
        G->OnPainted = nullptr;
        G->OnGridResize = nullptr;
        G->OnCanEditCell = nullptr;
        G->OnGetEditorType = nullptr;
        G->OnGetCellColor = nullptr;
        Form->OnResize = nullptr;
        EditGrid::TearDown();
    }
    // Selects the editor's whole text and types Text over it.
    void Retype(const QString& Text) {
        OpenWithF2();
        Editor()->SelectAll();
        Type(Text);
    }
};

// ---- validation ----------------------------------------------------------------------------------------
enum class Answer { Accept, Refuse, Correct, MarkModifiedThenRefuse };

struct ValidateCase {
    const char* Name;
    bool AlwaysValidate;
    bool ModifiedBefore; // the grid's modified flag when the edit begins
    QString Typed;
    Answer Handler;
    // expected
    std::vector<std::string> Log;
    QString Cell;
    bool RowMarked;
    bool Modified;
    bool EditorOpen;
};
void PrintTo(const ValidateCase& C, std::ostream* Os) { *Os << C.Name; }

class Validation : public FocusGrid, public ::testing::WithParamInterface<ValidateCase> {};

TEST_P(Validation, EnterInTheTextEditor) {
    const ValidateCase& C = GetParam();
    std::vector<std::string> Log;
    G->SetAlwaysValidate(C.AlwaysValidate);
    G->SetModified(C.ModifiedBefore);
    G->OnCellValidate = [&](TObject* Sender, int ACol, int ARow, QString& Value, bool& Valid) {
        EXPECT_EQ(Sender, G);
        Log.push_back("Validate " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + Value.toStdString());
        switch (C.Handler) {
            case Answer::Accept: break;
            case Answer::Refuse: Valid = false; break;
            case Answer::Correct: Value = Value.toUpper(); break;
            case Answer::MarkModifiedThenRefuse:
                G->SetModified(true);
                Valid = false;
                break;
        }
    };
    Retype(C.Typed);
    Key(VK_RETURN);
    EXPECT_EQ(Log, C.Log);
    EXPECT_EQ(CellAt(3, 3), C.Cell);
    EXPECT_EQ(G->GetRowModified(3), C.RowMarked);
    EXPECT_EQ(G->Modified(), C.Modified);
    EXPECT_EQ(G->GridModified(), C.RowMarked);
    EXPECT_EQ(TextEditorOpen(), C.EditorOpen);
    EXPECT_EQ(G->LastValidation(), C.Handler == Answer::Accept || C.Handler == Answer::Correct || C.Log.empty());
    // No other row and no hidden cell took anything.
    EXPECT_FALSE(G->GetRowModified(2));
    EXPECT_EQ(CellAt(HiddenRealCol, 3), "2,3");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Validation,
    ::testing::Values(
        ValidateCase{
            "UnchangedTextIsNotValidated", false, false, "3,3", Answer::Refuse, {}, "3,3", false, false, false},
        ValidateCase{"UnchangedTextWithAlwaysValidate",
                     true,
                     false,
                     "3,3",
                     Answer::Accept,
                     {"Validate 3,3 3,3"},
                     "3,3",
                     false,
                     false,
                     false},
        ValidateCase{"AcceptedChangeMarksRowAndGrid",
                     false,
                     false,
                     "new",
                     Answer::Accept,
                     {"Validate 3,3 new"},
                     "new",
                     true,
                     true,
                     false},
        ValidateCase{"CorrectedValueIsStored",
                     false,
                     false,
                     "low",
                     Answer::Correct,
                     {"Validate 3,3 low"},
                     "LOW",
                     true,
                     true,
                     false},
        ValidateCase{"RefusedValueLeavesNoModifiedMarks",
                     false,
                     false,
                     "bad",
                     Answer::Refuse,
                     {"Validate 3,3 bad"},
                     "3,3",
                     false,
                     false,
                     true},
        ValidateCase{"RefusedValueKeepsAModifiedFlagSetBefore",
                     false,
                     true,
                     "bad",
                     Answer::Refuse,
                     {"Validate 3,3 bad"},
                     "3,3",
                     false,
                     true,
                     true},
        ValidateCase{"RefusedValueGivesBackTheModifiedFlag",
                     false,
                     false,
                     "bad",
                     Answer::MarkModifiedThenRefuse,
                     {"Validate 3,3 bad"},
                     "3,3",
                     false,
                     false,
                     true}),
    [](const ::testing::TestParamInfo<ValidateCase>& I) { return std::string(I.param.Name); });

// ---- typed text in the cell ----------------------------------------------------------------------------
// What is typed into an open editor reaches its cell at each keystroke; the end of the edit decides
// whether it stays: a refused or abandoned value gives the cell its old text back.
enum class EditEnd { Enter, Escape, FocusAway, EnterTwice };

struct TypedCase {
    const char* Name;
    TEditorType Kind;
    Answer Handler; // Accept or Refuse
    EditEnd End;
    // expected
    QString Cell;
    int Validations;
    bool EditorOpen;
};
void PrintTo(const TypedCase& C, std::ostream* Os) { *Os << C.Name; }

class TypedText : public FocusGrid, public ::testing::WithParamInterface<TypedCase> {
protected:
    void TearDown() override {
        G->OnSetEditText = nullptr;
        FocusGrid::TearDown();
    }
    // The control that has the keys while the edit runs.
    TWinControl* Typing() const {
        if (TextEditorOpen()) return Editor();
        return G->EditCtrl();
    }
};

TEST_P(TypedText, ShowsInTheCellAndTheEndOfTheEditDecides) {
    const TypedCase& C = GetParam();
    G->SetGridCell(3, 3, "5");
    int Writes = 0, Validations = 0;
    G->OnGetEditorType = [&C](TObject*, int ACol, int, TEditorType& E) {
        if (ACol == 3) E = C.Kind;
    };
    G->OnCellValidate = [&](TObject*, int, int, QString&, bool& Valid) {
        ++Validations;
        Valid = C.Handler == Answer::Accept;
    };
    G->OnSetEditText = [&](TObject*, int ACol, int ARow, const QString&) {
        EXPECT_EQ(ACol, 3) << "the real column of display column 2";
        EXPECT_EQ(ARow, 3);
        ++Writes;
    };
    Key(VK_F2);
    ASSERT_NE(Typing(), nullptr);
    ASSERT_TRUE(Typing()->isVisible());
    EXPECT_EQ(Writes, 0) << "opening the editor is no typing";
    EXPECT_EQ(CellAt(3, 3), "5");
    if (auto* E = dynamic_cast<TCustomEdit*>(Typing())) E->SelectAll();
    Type("1");
    EXPECT_EQ(CellAt(3, 3), "1");
    Type("2");
    EXPECT_EQ(CellAt(3, 3), "12");
    EXPECT_EQ(Writes, 2);
    EXPECT_EQ(CellAt(HiddenRealCol, 3), "2,3") << "the hidden column keeps its text";
    switch (C.End) {
        case EditEnd::Enter: Key(VK_RETURN); break;
        case EditEnd::Escape: Key(VK_ESCAPE); break;
        case EditEnd::FocusAway: FocusAway(); break;
        case EditEnd::EnterTwice:
            Key(VK_RETURN);
            EXPECT_EQ(CellAt(3, 3), "5");
            Key(VK_RETURN);
            break;
    }
    EXPECT_EQ(CellAt(3, 3), C.Cell);
    EXPECT_EQ(Validations, C.Validations);
    EXPECT_EQ(Typing() != nullptr && Typing()->isVisible(), C.EditorOpen);
    EXPECT_EQ(CellAt(3, 4), "3,4");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypedText,
    ::testing::Values(
        TypedCase{"TextEditorEnterKeepsIt", edNormal, Answer::Accept, EditEnd::Enter, "12", 1, false},
        TypedCase{"TextEditorLeavingKeepsIt", edNormal, Answer::Accept, EditEnd::FocusAway, "12", 1, false},
        TypedCase{"TextEditorEscapeGivesTheOldTextBack", edNumeric, Answer::Accept, EditEnd::Escape, "5", 0, false},
        TypedCase{"TextEditorRefusedGivesTheOldTextBackAndIsRefusedAgain", edNormal, Answer::Refuse,
                  EditEnd::EnterTwice, "5", 2, true},
        TypedCase{"TextEditorRefusedOnLeaving", edNormal, Answer::Refuse, EditEnd::FocusAway, "5", 1, false},
        TypedCase{"SpinEnterKeepsIt", edSpinEdit, Answer::Accept, EditEnd::Enter, "12", 1, false},
        TypedCase{"SpinEscapeGivesTheOldTextBack", edSpinEdit, Answer::Accept, EditEnd::Escape, "5", 0, false},
        TypedCase{"SpinRefusedGivesTheOldTextBack", edSpinEdit, Answer::Refuse, EditEnd::Enter, "5", 1, true},
        TypedCase{"EditButtonEnterKeepsIt", edEditBtn, Answer::Accept, EditEnd::Enter, "12", 1, false},
        TypedCase{"EditButtonEscapeGivesTheOldTextBack", edEditBtn, Answer::Accept, EditEnd::Escape, "5", 0, false}),
    [](const ::testing::TestParamInfo<TypedCase>& I) { return std::string(I.param.Name); });

TEST_F(FocusGrid, AValidatedValueReachesTheChangeListenersAndTheOldValueMovesOn) {
    std::vector<std::string> Log;
    G->OnCellsChanged = [&](TObject*, const TRect& R) {
        Log.push_back("CellsChanged " + std::to_string(R.Left) + "," + std::to_string(R.Top));
    };
    Retype("x");
    Key(VK_RETURN);
    EXPECT_EQ(Log, (std::vector<std::string>{"CellsChanged 3,3"}));
    // The stored text is now the old value: typing it again is no change.
    int Asked = 0;
    G->OnCellValidate = [&](TObject*, int, int, QString&, bool&) { ++Asked; };
    Retype("x");
    Key(VK_RETURN);
    EXPECT_EQ(Asked, 0);
}

TEST_F(FocusGrid, AValidationHandlerThatRaisesGivesBackEveryFlagItSet) {
    G->Navigation()->SetAdvanceOnEnter(true);
    bool Raise = true;
    int Asked = 0;
    G->OnCellValidate = [&](TObject*, int, int, QString&, bool&) {
        ++Asked;
        EXPECT_FALSE(G->Navigation()->AdvanceOnEnter()) << "no advance while a handler runs";
        if (Raise) throw Exception("validation failed");
    };
    Retype("x");
    EXPECT_THROW(G->ValidateCell("x"), Exception);
    EXPECT_TRUE(G->Navigation()->AdvanceOnEnter());
    EXPECT_FALSE(G->Modified());
    // The guard against re-entry is down: the next edit is validated.
    Raise = false;
    G->HideInplaceEdit();
    Retype("y");
    Key(VK_RETURN);
    EXPECT_EQ(Asked, 2);
    EXPECT_EQ(CellAt(3, 3), "y");
}

// ---- flags of an operation come back when it raises ---------------------------------------------------
TEST_F(FocusGrid, AHandlerRaisingWhileAnEditorHandsBackTheFocusLiftsTheFocusBlock) {
    G->OnKeyDown = [](TObject*, Word& Key, TShiftState) {
        if (Key == VK_TAB) throw Exception("key handler failed");
    };
    EXPECT_THROW(G->DoneInplaceEdit(VK_TAB, {}), Exception);
    EXPECT_FALSE(G->BlockFocus());
    EXPECT_FALSE(G->Navigation()->AlwaysEdit());
}

TEST_F(FocusGrid, AHandlerRaisingWhileASpecialEditorClosesLiftsTheExitBlock) {
    G->OnGetEditorType = [](TObject*, int, int, TEditorType& E) { E = edComboList; };
    G->ClearComboString();
    for (const char* S : {"Alpha", "Beta"}) G->AddComboString(S);
    Key(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen() || G->EditMode());
    G->OnEditingDone = [](TObject*) { throw Exception("done failed"); };
    EXPECT_THROW(G->HideInplaceEdit(), Exception);
    EXPECT_FALSE(G->BlockKill());
    // Leaving the grid is handled again.
    G->OnEditingDone = nullptr;
    int Exits = 0;
    G->OnExit = [&](TObject*) { ++Exits; };
    G->SetFocus();
    QApplication::processEvents();
    FocusAway();
    EXPECT_EQ(Exits, 1);
}

TEST_F(FocusGrid, ASizingThatRaisesGivesTheUpdateLockBack) {
    G->OnGetCellColor = [](auto&&...) { throw Exception("colour handler failed"); };
    EXPECT_THROW(G->AutoSizeCells(false, 2, 2), Exception);
    EXPECT_EQ(G->UpdateCount(), 0);
    EXPECT_FALSE(G->LockUpdate());
    G->OnGetCellColor = nullptr;
    int Painted = 0;
    G->OnPainted = [&](TObject*) { ++Painted; };
    G->Repaint();
    EXPECT_GE(Painted, 1) << "the grid paints again";
}

// ---- update lock ----------------------------------------------------------------------------------------
enum class Op { Begin, End, Start, Reset, LockOn, LockOff, Hide, Show };

struct LockCase {
    const char* Name;
    std::vector<Op> Ops;
    int Count;
};
void PrintTo(const LockCase& C, std::ostream* Os) { *Os << C.Name; }

class UpdateLock : public FocusGrid, public ::testing::WithParamInterface<LockCase> {};

TEST_P(UpdateLock, CountAfterTheSequence) {
    for (Op O : GetParam().Ops) {
        switch (O) {
            case Op::Begin: G->BeginUpdate(); break;
            case Op::End: G->EndUpdate(); break;
            case Op::Start: G->StartUpdate(); break;
            case Op::Reset: G->ResetUpdate(); break;
            case Op::LockOn: G->SetLockUpdate(true); break;
            case Op::LockOff: G->SetLockUpdate(false); break;
            case Op::Hide: G->Hide(); break;
            case Op::Show: G->Show(); break;
        }
    }
    EXPECT_EQ(G->UpdateCount(), GetParam().Count);
    EXPECT_EQ(G->LockUpdate(), GetParam().Count > 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdateLock,
    ::testing::Values(
        LockCase{"BeginThenEnd", {Op::Begin, Op::End}, 0},
        LockCase{"NestedHoldsUntilTheLastEnd", {Op::Begin, Op::Begin, Op::End}, 1},
        LockCase{"EndWithoutBeginStaysAtZero", {Op::End, Op::End}, 0},
        LockCase{"HiddenBetweenBeginAndEndDoesNotStayFrozen", {Op::Begin, Op::Hide, Op::End}, 0},
        LockCase{"ShownBetweenBeginAndEndDoesNotUnderflow", {Op::Hide, Op::Begin, Op::Show, Op::Start, Op::End}, 1},
        LockCase{"BeginAndEndOnAHiddenGrid", {Op::Hide, Op::Begin, Op::End}, 0},
        LockCase{"LockUpdatePropertyPairs", {Op::LockOn, Op::LockOn, Op::LockOff}, 1},
        LockCase{"ResetDropsEveryLevel", {Op::Begin, Op::Start, Op::Begin, Op::Reset}, 0}),
    [](const ::testing::TestParamInfo<LockCase>& I) { return std::string(I.param.Name); });

TEST_F(FocusGrid, NothingIsPaintedWhileLockedAndTheLastEndRepaints) {
    int Painted = 0;
    G->OnPainted = [&](TObject*) { ++Painted; };
    G->BeginUpdate();
    G->Repaint();
    QApplication::processEvents();
    EXPECT_EQ(Painted, 0);
    G->EndUpdate();
    QApplication::processEvents();
    EXPECT_GE(Painted, 1);
}

TEST_F(FocusGrid, TheLastEndUpdateForgetsTheSelectionChange) {
    G->OnSelectionChanged = [](TObject*, int, int, int, int) {};
    G->DoSelectionChanged(1, 1, 2, 2);
    ASSERT_TRUE(G->SelChangePending());
    G->BeginUpdate();
    G->BeginUpdate();
    G->EndUpdate();
    EXPECT_TRUE(G->SelChangePending());
    G->EndUpdate();
    EXPECT_FALSE(G->SelChangePending());
}

// ---- focus --------------------------------------------------------------------------------------------
TEST_F(FocusGrid, LeavingTheGridFiresOnExitOnceAndForgetsTheSelectionChange) {
    int Exits = 0;
    G->OnExit = [&](TObject*) { ++Exits; };
    G->DoSelectionChanged(1, 1, 1, 1);
    FocusAway();
    EXPECT_EQ(Exits, 1);
    EXPECT_FALSE(G->SelChangePending());
}

struct AlwaysEditCase {
    const char* Name;
    bool AlwaysEdit;
    bool CellEditable;
    TEditorType Kind;
    bool EditorOpens;
};
void PrintTo(const AlwaysEditCase& C, std::ostream* Os) { *Os << C.Name; }

class FocusArrival : public FocusGrid, public ::testing::WithParamInterface<AlwaysEditCase> {};

TEST_P(FocusArrival, OpensTheEditorAsTheOptionsSay) {
    const AlwaysEditCase& C = GetParam();
    // The default editor exists once it was opened.
    OpenWithF2();
    Key(VK_ESCAPE);
    ASSERT_FALSE(TextEditorOpen());
    FocusAway();
    G->Navigation()->SetAlwaysEdit(C.AlwaysEdit);
    G->OnCanEditCell = [&](TObject*, int, int, bool& CanEdit) { CanEdit = C.CellEditable; };
    G->OnGetEditorType = [&](TObject*, int, int, TEditorType& E) { E = C.Kind; };
    G->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(TextEditorOpen(), C.EditorOpens);
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 3);
}

INSTANTIATE_TEST_SUITE_P(Cases, FocusArrival,
                         ::testing::Values(AlwaysEditCase{"AlwaysEditOpensTheTextEditor", true, true, edNormal, true},
                                           AlwaysEditCase{"WithoutAlwaysEditNothingOpens", false, true, edNormal,
                                                          false},
                                           AlwaysEditCase{"AReadOnlyCellStaysClosed", true, false, edNormal, false},
                                           AlwaysEditCase{"OnlyThePlainEditorKindOpens", true, true, edNumeric, false}),
                         [](const ::testing::TestParamInfo<AlwaysEditCase>& I) { return std::string(I.param.Name); });

// ---- the periodic timer --------------------------------------------------------------------------------
TEST_F(FocusGrid, OnlyTheGridsOwnTimerTicksAndBlinkingTogglesEveryTick) {
    G->SetEnableBlink(true);
    const int Before = G->TimerTicks();
    const bool Phase = G->GridBlink();
    G->Perform(WM_TIMER, TExtStringGrid::GridTimerID, 0);
    EXPECT_EQ(G->TimerTicks(), Before + 1);
    EXPECT_NE(G->GridBlink(), Phase);
    G->Perform(WM_TIMER, 5, 0);
    EXPECT_EQ(G->TimerTicks(), Before + 1);
    G->Perform(WM_TIMER, TExtStringGrid::GridTimerID, 0);
    EXPECT_EQ(G->GridBlink(), Phase);
    G->SetEnableBlink(false);
    G->Perform(WM_TIMER, TExtStringGrid::GridTimerID, 0);
    EXPECT_EQ(G->GridBlink(), Phase);
}

// ---- errors of handlers run by window messages -------------------------------------------------------------
TEST_F(FocusGrid, AFormResizeHandlerErrorReachesTheApplicationHandlerOnce) {
    Form->OnResize = [](TObject*) { throw Exception("resize handler failed"); };
    TestDialogs().ExpectBox(mrOk, "resize handler failed");
    Form->SetBounds(0, 0, 600, 360);
    QApplication::processEvents();
    EXPECT_EQ(TestDialogs().Boxes().size(), 1u);
}

TEST_F(FocusGrid, AStretchColumnBeyondTheColumnsReachesTheApplicationHandlerOnce) {
    G->ColumnSize()->SetStretch(true);
    try {
        G->ColumnSize()->SetStretchColumn(9);
    } catch (const Exception&) {
        // The setter stretches at once and reports the index to its caller.
    }
    TestDialogs().ExpectBox(mrOk, "Stretch column index out of range");
    G->SetBounds(0, 0, 480, 220);
    QApplication::processEvents();
    EXPECT_EQ(TestDialogs().Boxes().size(), 1u);
}

// ---- size -----------------------------------------------------------------------------------------------
TEST_F(FocusGrid, ColumnsFollowTheGridsWidthInProportion) {
    G->ColumnSize()->SetSynchWithGrid(true);
    G->SetBorderStyle(bsNone);
    G->InitOrigColSizes();
    ASSERT_EQ(G->OrigGridWidth(), 460);
    G->SetBounds(0, 0, 920, 220);
    for (int c = 0; c < G->ColCount(); ++c) EXPECT_EQ(G->ColWidths(c), 160) << "display column " << c;
}

TEST_F(FocusGrid, AStretchOnResizeFiresOnGridResize) {
    int Resized = 0;
    G->OnGridResize = [&](TObject* Sender) {
        EXPECT_EQ(Sender, G);
        ++Resized;
    };
    G->ColumnSize()->SetStretch(true);
    Resized = 0;
    G->SetBounds(0, 0, 500, 220);
    EXPECT_EQ(Resized, 1);
    int Sum = 0;
    for (int c = 0; c < G->ColCount(); ++c) Sum += G->ColWidths(c);
    EXPECT_GE(Sum, G->ClientWidth() - 1);
}

} // namespace
