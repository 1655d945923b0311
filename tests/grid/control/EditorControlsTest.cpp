// The grid's editor controls driven as the editor switch drives them: opened over a cell of a
// grid with a hidden column, then typed into, picked from, committed and cancelled through their
// own keys, with a recording sink for the grid's events.
#include "grid/control/ExtGrid.h"
#include "grid/control/ExtGrid_Editors.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Snapshot.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/QtPrint.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Typing through a control's own key path.
void Type(TControl* C, const QString& Text) {
    for (QChar Ch : Text) {
        const Word VK = Ch.isLetterOrNumber() ? Word(Ch.toUpper().unicode()) : Word(0);
        C->SimulateKey(VK, Ch.isUpper() ? TShiftState{ssShift} : TShiftState{}, Ch);
    }
}

class TEditorHost : public TForm {
public:
    explicit TEditorHost(TComponent* AOwner) : TForm(AOwner) {}
    void CreateComponents() override {
        SetBounds(30, 30, 520, 320);
        Grid = Create<TExtStringGrid>(this, this);
        Grid->SetBounds(8, 8, 480, 260);
        Other = Create<TEdit>(this, this);
        Other->SetBounds(8, 280, 80, 21);
    }
    TExtStringGrid* Grid = nullptr;
    TEdit* Other = nullptr;
};

// Real column 2 is hidden, so display column 2 shows real column 3. Every cell holds
// "realcol,row"; the cell under test is display (2, 3), real (3, 3).
class EditorControls : public ::testing::Test {
protected:
    static constexpr int DCol = 2, RCol = 3, ERow = 3;

    void SetUp() override {
        FSaved = FormatSettings;
        FormatSettings.DecimalSeparator = '.';
        FormatSettings.ThousandSeparator = ',';
        FormatSettings.DateSeparator = '/';
        FormatSettings.TimeSeparator = ':';
        FormatSettings.ShortDateFormat = "dd/mm/yyyy";
        FormatSettings.LongTimeFormat = "hh:nn:ss";
        FormatSettings.ShortTimeFormat = "hh:nn";
        FClock = std::make_shared<TFakeClock>(QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
        SetClock(FClock);
        Host.reset(Create<TEditorHost>(nullptr));
        G = Host->Grid;
        G->SetColCount(6);
        G->SetRowCount(8);
        G->SetDefaultColWidth(90);
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 8; ++r) G->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
        G->HideColumn(2);
        G->SetOptions(G->Options() << goEditing);
        Host->Show();
        QApplication::processEvents();
        G->GotoCell(DCol, ERow);
        G->OnCellValidate = [this](TObject*, int ACol, int ARow, QString& Value, bool& Valid) {
            Log.push_back("validate " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + Value.toStdString());
            if (Value == "bad") {
                Valid = false;
                Value = "fix me";
            }
        };
        G->OnEditChange = [this](TObject*, int ACol, int ARow, const QString& V) {
            Log.push_back("change " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + V.toStdString());
        };
        G->OnComboChange = [this](TObject* Sender, int ACol, int ARow, int Index, const QString& S) {
            EXPECT_EQ(Sender, G);
            Log.push_back("combo " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + std::to_string(Index) +
                          " " + S.toStdString());
        };
    }
    void TearDown() override {
        Host.reset();
        SetClock(nullptr);
        FormatSettings = FSaved;
    }

    QString Cell(int RealCol = RCol, int Row = ERow) { return G->GetGridCell(RealCol, Row); }
    // Opens the kind's editor on the cell under test as a user does: F2 on the focused grid.
    void Open(TEditorType Kind) {
        G->OnGetEditorType = [Kind](TObject*, int ACol, int, TEditorType& E) {
            if (ACol == RCol) E = Kind;
        };
        G->SetFocus();
        QApplication::processEvents();
        G->SimulateKey(VK_F2);
        QApplication::processEvents();
        ASSERT_TRUE(G->EditorControlOpen()) << "kind " << int(Kind);
        ASSERT_EQ(G->EditorControlKind(), Kind);
        Log.clear();
    }
    static void Key(TControl* C, Word K, TShiftState Shift = {}) { C->SimulateKey(K, Shift); }
    void ExpectHiddenColumnUntouched() {
        for (int r = 0; r < 8; ++r) EXPECT_EQ(Cell(2, r), QString("2,%1").arg(r)) << "row " << r;
    }

    std::unique_ptr<TEditorHost> Host;
    TExtStringGrid* G = nullptr;
    std::vector<std::string> Log;
    std::shared_ptr<TFakeClock> FClock;

private:
    TFormatSettings FSaved;
};

// ---- combo ---------------------------------------------------------------------------------------------
// "combo" lines are OnComboChange from the grid's window procedure: a choice from the list (by key
// too) reports the item once, with the real column; a typed change reports twice, first with the
// real column and the item index (-1 for a text that is no item), then with the display column
// and -1.
struct ComboCase {
    const char* Name;
    TEditorType Kind;
    const char* CellText;
    std::function<void(TGridCombo*)> Act;
    const char* Stored; // the cell's text afterwards
    bool StillOpen;
    std::vector<std::string> Events;
};
void PrintTo(const ComboCase& C, std::ostream* Os) { *Os << C.Name; }

class ComboTable : public EditorControls, public ::testing::WithParamInterface<ComboCase> {};

TEST_P(ComboTable, KeysWriteOnlyTheEditedCell) {
    const ComboCase& C = GetParam();
    G->ClearComboString();
    for (const char* S : {"Alpha", "Beta", "Gamma"}) G->AddComboString(S);
    G->SetGridCell(RCol, ERow, C.CellText);
    Open(C.Kind);
    TGridCombo* Cb = G->EditCombo;
    ASSERT_TRUE(Cb->Visible());
    C.Act(Cb);
    QApplication::processEvents();
    EXPECT_EQ(Cell(), C.Stored);
    EXPECT_EQ(G->EditorControlOpen(), C.StillOpen);
    EXPECT_EQ(Cb->Visible(), C.StillOpen);
    EXPECT_EQ(Log, C.Events);
    ExpectHiddenColumnUntouched();
}

INSTANTIATE_TEST_SUITE_P(
    Combo, ComboTable,
    ::testing::Values(ComboCase{"ListDownThenEnterCommitsTheNextItem",
                                edComboList,
                                "Beta",
                                [](TGridCombo* Cb) {
                                    Cb->SimulateKey(VK_DOWN);
                                    Cb->SimulateKey(VK_RETURN);
                                },
                                "Gamma",
                                false,
                                {"change 3,3 Gamma", "combo 3,3 2 Gamma", "validate 3,3 Gamma"}},
                      ComboCase{"ListEscapeKeepsTheCell",
                                edComboList,
                                "Beta",
                                [](TGridCombo* Cb) {
                                    Cb->SimulateKey(VK_DOWN);
                                    Cb->SimulateKey(VK_ESCAPE);
                                },
                                "Beta",
                                false,
                                {"change 3,3 Gamma", "combo 3,3 2 Gamma"}},
                      ComboCase{"EditTypedTextCommitsOnEnter",
                                edComboEdit,
                                "Beta",
                                [](TGridCombo* Cb) {
                                    Cb->SelectAll();
                                    Type(Cb, "zz");
                                    Cb->SimulateKey(VK_RETURN);
                                },
                                "zz",
                                false,
                                {"change 3,3 z", "combo 3,3 -1 z", "combo 2,3 -1 z", "change 3,3 zz", "combo 3,3 -1 zz",
                                 "combo 2,3 -1 zz", "validate 3,3 zz"}},
                      ComboCase{"EditRefusedValueNeverReachesTheCell",
                                edComboEdit,
                                "Beta",
                                [](TGridCombo* Cb) {
                                    Cb->SelectAll();
                                    Type(Cb, "bad");
                                    Cb->SimulateKey(VK_RETURN);
                                    EXPECT_EQ(Cb->Text(), "fix me");
                                },
                                "Beta",
                                true,
                                {"change 3,3 b", "combo 3,3 -1 b", "combo 2,3 -1 b", "change 3,3 ba", "combo 3,3 -1 ba",
                                 "combo 2,3 -1 ba", "change 3,3 bad", "combo 3,3 -1 bad", "combo 2,3 -1 bad",
                                 "validate 3,3 bad"}},
                      ComboCase{"EditEscapeBringsBackTheOpeningText",
                                edComboEdit,
                                "Beta",
                                [](TGridCombo* Cb) {
                                    Cb->SelectAll();
                                    Type(Cb, "q");
                                    Cb->SimulateKey(VK_ESCAPE);
                                },
                                "Beta",
                                false,
                                {"change 3,3 q", "combo 3,3 -1 q", "combo 2,3 -1 q"}},
                      ComboCase{"EditUpCommitsWithComboGetUpDown",
                                edComboEdit,
                                "Beta",
                                [](TGridCombo* Cb) {
                                    Cb->SelectAll();
                                    Type(Cb, "u");
                                    Cb->SimulateKey(VK_UP);
                                },
                                "u",
                                false,
                                {"change 3,3 u", "combo 3,3 -1 u", "combo 2,3 -1 u", "validate 3,3 u"}}),
    [](const ::testing::TestParamInfo<ComboCase>& I) { return std::string(I.param.Name); });

TEST_F(EditorControls, ComboWritesItsOwnCellAfterTheCurrentCellMoved) {
    G->AddComboString("Alpha");
    Open(edComboEdit);
    G->EditCombo->SetText("moved");
    G->GotoCell(4, 6); // the current cell moves while the combo holds its value
    G->CommitEditorControl();
    EXPECT_EQ(Cell(), "moved");
    EXPECT_EQ(Cell(RCol + 2, 6), "5,6");
    ExpectHiddenColumnUntouched();
}

TEST_F(EditorControls, TheComboTakesTheCellColourFromItsFirstOpening) {
    G->OnGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush* B, TFont*) {
        if (B) B->SetColor(TColor(0x00CCFF));
    };
    ASSERT_NE(G->Look(), glStandard); // a flat combo look
    Open(edComboEdit);
    EXPECT_EQ(G->EditCombo->Color(), TColor(0x00CCFF));
    G->EditCombo->SimulateKey(VK_ESCAPE);
    Open(edComboList);
    EXPECT_EQ(G->EditCombo->Color(), TColor(0x00CCFF));
}

TEST_F(EditorControls, ComboRefusedValueIsNotWrittenOnFocusLossEither) {
    Open(edComboEdit);
    G->EditCombo->SetText("bad");
    Host->Other->SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(Cell(), "3,3");
}

TEST_F(EditorControls, ListComboOnAnUnknownTextOpensOnTheFirstItemAndSaysSo) {
    for (const char* S : {"Alpha", "Beta"}) G->AddComboString(S);
    G->OpenEditorControl(edComboList, DCol, ERow);
    EXPECT_EQ(G->EditCombo->ItemIndex(), 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"combo 3,3 0 Alpha"}));
    Log.clear();
    G->CancelEditorControl();
    G->SetComboSelection(1);
    G->OpenEditorControl(edComboList, DCol, ERow);
    EXPECT_EQ(G->EditCombo->ItemIndex(), 1);
    EXPECT_EQ(Log, std::vector<std::string>{});
}

TEST_F(EditorControls, WheelStopsAtTheLastAndFirstItems) {
    for (const char* S : {"Alpha", "Beta", "Gamma"}) G->AddComboString(S);
    G->SetGridCell(RCol, ERow, "Beta");
    Open(edComboList);
    TGridCombo* Cb = G->EditCombo;
    auto Notch = [&](int Delta) { Cb->Perform(WM_MOUSEWHEEL, MakeWParam(0, Word(short(Delta))), 0); };
    for (int I = 0; I < 3; ++I) Notch(-120);
    EXPECT_EQ(Cb->ItemIndex(), 2);
    EXPECT_EQ(Cb->Text(), "Gamma");
    for (int I = 0; I < 4; ++I) Notch(120);
    EXPECT_EQ(Cb->ItemIndex(), 0);
    // One change per notch, never an index outside the items.
    int Combos = 0;
    for (const std::string& L : Log)
        if (L.rfind("combo ", 0) == 0) {
            ++Combos;
            EXPECT_TRUE(L.find(" 3 ") == std::string::npos && L.find(" -1 ") == std::string::npos) << L;
        }
    EXPECT_EQ(Combos, 7);
}

TEST_F(EditorControls, LookupCompletesFromTheItemsAndBackspaceStopsIt) {
    for (const char* S : {"Alpha", "Beta", "Betamax"}) G->AddComboString(S);
    G->SetLookup(true);
    G->SetGridCell(RCol, ERow, "");
    Open(edComboEdit);
    TGridCombo* Cb = G->EditCombo;
    Type(Cb, "be");
    // What was typed stays as typed; the rest comes from the item and is selected.
    EXPECT_EQ(Cb->Text(), "beta");
    EXPECT_EQ(Cb->SelStart(), 2);
    EXPECT_EQ(Cb->SelLength(), 2);
    EXPECT_EQ(Cb->ItemIdx, 1);
    EXPECT_TRUE(Cb->ItemChange);
    Cb->SimulateKey(VK_BACK);
    EXPECT_EQ(Cb->Text(), "be");
}

TEST_F(EditorControls, ComboStringOperations) {
    G->ClearComboString();
    G->AddComboString("one");
    G->AddComboStringObject("two", G);
    EXPECT_EQ(G->GetComboCount(), 2);
    EXPECT_FALSE(G->SetComboSelectionString("three"));
    EXPECT_EQ(G->ComboSelection(), -1);
    EXPECT_TRUE(G->SetComboSelectionString("two"));
    EXPECT_EQ(G->ComboSelection(), 1);
    EXPECT_FALSE(G->RemoveComboString("zero"));
    EXPECT_TRUE(G->RemoveComboString("one"));
    EXPECT_EQ(G->GetComboCount(), 1);
    std::vector<int> Asked; // the rows the application was asked to fill the items for
    G->OnGetEditorProp = [&](TObject*, int ACol, int ARow, TEditLink*) {
        EXPECT_EQ(ACol, RCol);
        Asked.push_back(ARow);
        G->ClearComboString();
        G->AddComboString("x");
        G->AddComboString("y");
    };
    G->SetComboIndex(RCol, 4, 1);
    EXPECT_EQ(Cell(RCol, 4), "y");
    EXPECT_EQ(G->GetComboIndex(RCol, 4), 1);
    EXPECT_EQ(G->GetComboIndex(RCol, 5), -1);
    EXPECT_THROW(G->SetComboIndex(RCol, 4, 2), EListError);
    EXPECT_EQ(Asked, (std::vector<int>{4, 4, 5, 4}));
}

TEST_F(EditorControls, DropWidthFollowsTheWidestItem) {
    for (const char* S : {"a", "b", "a much longer item than the cell is wide", "c", "d"}) G->AddComboString(S);
    Open(edComboList);
    TGridCombo* Cb = G->EditCombo;
    Cb->SetDropDownCount(8);
    Cb->SizeDropDownWidth();
    G->Canvas()->Font()->Assign(Cb->Font());
    EXPECT_EQ(Cb->ListWidth(), G->Canvas()->TextWidth("a much longer item than the cell is wide") + 8);
}

// ---- the combo base: label and button width ------------------------------------------------------------
struct LabelCase {
    const char* Name;
    TLabelPosition Position;
    std::function<TPoint(TEsgComboBox*, TLabel*)> Expected; // the label's left and top
};
void PrintTo(const LabelCase& C, std::ostream* Os) { *Os << C.Name; }

class LabelTable : public EditorControls, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(LabelTable, LabelSitsWhereItsPositionSays) {
    auto* Cb = Create<TEsgComboBox>(Host.get(), Host.get());
    Cb->SetBounds(200, 100, 120, 22);
    Cb->SetLabelMargin(4);
    Cb->SetLabelCaption("Caption");
    Cb->SetLabelPosition(GetParam().Position);
    TLabel* L = Cb->Label();
    ASSERT_NE(L, nullptr);
    const TPoint P = GetParam().Expected(Cb, L);
    EXPECT_EQ(L->Left(), P.X);
    EXPECT_EQ(L->Top(), P.Y);
}

INSTANTIATE_TEST_SUITE_P(Label, LabelTable,
                         ::testing::Values(LabelCase{"TopLeft", lpTopLeft,
                                                     [](TEsgComboBox* C, TLabel* L) {
                                                         return Point(C->Left(), C->Top() - L->Height() - 4);
                                                     }},
                                           LabelCase{"LeftCenter", lpLeftCenter,
                                                     [](TEsgComboBox* C, TLabel* L) {
                                                         return Point(C->Left() - L->Width() - 4,
                                                                      C->Top() + (C->Height() - L->Height()) / 2);
                                                     }},
                                           LabelCase{"BottomCenter", lpBottomCenter,
                                                     [](TEsgComboBox* C, TLabel* L) {
                                                         return Point(C->Left() + (C->Width() - L->Width()) / 2,
                                                                      C->Top() + C->Height() + 4);
                                                     }},
                                           LabelCase{"RightBottom", lpRighBottom,
                                                     [](TEsgComboBox* C, TLabel* L) {
                                                         return Point(C->Left() + C->Width() + 4,
                                                                      C->Top() + C->Height() - L->Height());
                                                     }}),
                         [](const ::testing::TestParamInfo<LabelCase>& I) { return std::string(I.param.Name); });

TEST_F(EditorControls, ButtonWidthTakesOnly14To32) {
    auto* Cb = Create<TEsgComboBox>(Host.get(), Host.get());
    const int Start = Cb->ButtonWidth();
    for (int W : {13, 33, -1}) {
        Cb->SetButtonWidth(W);
        EXPECT_EQ(Cb->ButtonWidth(), Start) << W;
    }
    Cb->SetButtonWidth(14);
    EXPECT_EQ(Cb->ButtonWidth(), 14);
    EXPECT_EQ(G->EditCombo->ButtonWidth(), 16);
}

TEST_F(EditorControls, ComboFocusColourAndFlatDisabledColour) {
    auto* Cb = Create<TEsgComboBox>(Host.get(), Host.get());
    Cb->SetBounds(300, 280, 120, 22);
    Cb->SetColor(clWindow);
    Cb->Init();
    Cb->SetFocusColor(clYellow);
    Cb->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(Cb->HasFocus());
    EXPECT_EQ(Cb->Color(), clYellow);
    Host->Other->SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(Cb->HasFocus());
    EXPECT_EQ(Cb->Color(), clWindow);
    // A flat combo shows its parent's colour while disabled and gets its own back after.
    Cb->SetFlatParentColor(false);
    Cb->SetFlat(true);
    Cb->SetColor(TColor(0x00E0FF));
    Cb->SetEnabled(false);
    EXPECT_EQ(Cb->Color(), Host->Color());
    Cb->SetEnabled(true);
    EXPECT_EQ(Cb->Color(), TColor(0x00E0FF));
    EXPECT_TRUE(Cb->CustomLook());
}

// ---- spin ------------------------------------------------------------------------------------------------
struct SpinCase {
    const char* Name;
    const char* CellText;
    std::function<void(TGridSpin*)> Act;
    const char* Stored;
    bool StillOpen;
    std::vector<std::string> Events;
};
void PrintTo(const SpinCase& C, std::ostream* Os) { *Os << C.Name; }

class SpinTable : public EditorControls, public ::testing::WithParamInterface<SpinCase> {};

TEST_P(SpinTable, SpinKeys) {
    const SpinCase& C = GetParam();
    G->SetGridCell(RCol, ERow, C.CellText);
    TGridSpin* S = G->SpinEdit();
    S->SetMinValue(0);
    S->SetMaxValue(10);
    S->SetIncrement(3);
    Open(edSpinEdit);
    C.Act(S);
    QApplication::processEvents();
    EXPECT_EQ(Cell(), C.Stored);
    EXPECT_EQ(G->EditorControlOpen(), C.StillOpen);
    EXPECT_EQ(Log, C.Events);
    ExpectHiddenColumnUntouched();
}

INSTANTIATE_TEST_SUITE_P(Spin, SpinTable,
                         ::testing::Values(SpinCase{"PageUpStaysBelowTheMaximum",
                                                    "9",
                                                    [](TGridSpin* S) {
                                                        S->SimulateKey(VK_PRIOR);
                                                        EXPECT_EQ(S->Value(), 9);
                                                        S->SimulateKey(VK_RETURN);
                                                    },
                                                    "9",
                                                    false,
                                                    {}},
                                           SpinCase{"PageDownStepsThenEnterCommits",
                                                    "9",
                                                    [](TGridSpin* S) {
                                                        S->SimulateKey(VK_NEXT);
                                                        EXPECT_EQ(S->Value(), 6);
                                                        S->SimulateKey(VK_RETURN);
                                                    },
                                                    "6",
                                                    false,
                                                    {"change 3,3 6", "validate 3,3 6"}},
                                           SpinCase{"EndAndHomeGoToTheLimits",
                                                    "5",
                                                    [](TGridSpin* S) {
                                                        S->SimulateKey(VK_END);
                                                        EXPECT_EQ(S->Value(), 0);
                                                        S->SimulateKey(VK_HOME);
                                                        EXPECT_EQ(S->Value(), 10);
                                                        S->SimulateKey(VK_DOWN);
                                                    },
                                                    "10",
                                                    false,
                                                    {"change 3,3 0", "change 3,3 10", "validate 3,3 10"}},
                                           SpinCase{"EscapeAfterTypingKeepsTheCell",
                                                    "5",
                                                    [](TGridSpin* S) {
                                                        S->SelectAll();
                                                        Type(S, "7");
                                                        S->SimulateKey(VK_ESCAPE);
                                                        EXPECT_EQ(S->Text(), "5");
                                                    },
                                                    "5",
                                                    false,
                                                    {"change 3,3 7"}},
                                           SpinCase{"RefusedValueStaysOutOfTheCell",
                                                    "5",
                                                    [](TGridSpin* S) {
                                                        S->SetText("bad");
                                                        S->SimulateKey(VK_RETURN);
                                                        EXPECT_EQ(S->Text(), "5");
                                                    },
                                                    "5",
                                                    true,
                                                    {"change 3,3 bad", "validate 3,3 bad"}}),
                         [](const ::testing::TestParamInfo<SpinCase>& I) { return std::string(I.param.Name); });

TEST_F(EditorControls, SpinPageKeysFireOnSpinClickWithTheDirection) {
    std::vector<std::pair<int, bool>> Clicks;
    G->OnSpinClick = [&](TObject*, int ACol, int ARow, int V, bool Up) {
        EXPECT_EQ(ACol, RCol);
        EXPECT_EQ(ARow, ERow);
        Clicks.push_back({V, Up});
    };
    G->SetGridCell(RCol, ERow, "4");
    Open(edSpinEdit);
    G->SpinEdit()->SimulateKey(VK_PRIOR);
    G->SpinEdit()->SimulateKey(VK_NEXT);
    EXPECT_EQ(Clicks, (std::vector<std::pair<int, bool>>{{5, true}, {4, false}}));
}

// ---- check box -------------------------------------------------------------------------------------------
TEST_F(EditorControls, CheckBoxSpaceTogglesEnterClosesAndTheCellStays) {
    G->Navigation()->SetAdvanceOnEnter(true);
    Open(edCheckBox);
    TGridCheckBox* Ch = G->EditCheck;
    Ch->SimulateKey(VK_SPACE);
    EXPECT_TRUE(Ch->Checked());
    Ch->SimulateKey(VK_SPACE);
    EXPECT_FALSE(Ch->Checked());
    Ch->SimulateKey(VK_RETURN);
    EXPECT_FALSE(Ch->Visible());
    EXPECT_EQ(Cell(), "3,3");
    EXPECT_EQ(G->Col(), DCol + 1); // Enter advanced
}

// ---- date and time ---------------------------------------------------------------------------------------
struct DateCase {
    const char* Name;
    TEditorType Kind;
    const char* CellText;
    std::function<void(TGridDatePicker*)> Act;
    const char* Stored;
};
void PrintTo(const DateCase& C, std::ostream* Os) { *Os << C.Name; }

class DateTable : public EditorControls, public ::testing::WithParamInterface<DateCase> {};

TEST_P(DateTable, DateKeys) {
    const DateCase& C = GetParam();
    G->SetGridCell(RCol, ERow, C.CellText);
    Open(C.Kind);
    TGridDatePicker* D = G->DatePicker();
    ASSERT_TRUE(D->Visible());
    C.Act(D);
    QApplication::processEvents();
    EXPECT_EQ(Cell(), C.Stored);
    EXPECT_EQ(FormatSettings.LongTimeFormat, "hh:nn:ss");
    EXPECT_EQ(FormatSettings.ShortDateFormat, "dd/mm/yyyy");
    ExpectHiddenColumnUntouched();
}

INSTANTIATE_TEST_SUITE_P(Date, DateTable,
                         ::testing::Values(DateCase{"EnterStoresThePickedDate", edDateEdit, "05/01/2026",
                                                    [](TGridDatePicker* D) {
                                                        D->SetDate(EncodeDate(2026, 3, 14));
                                                        D->SimulateKey(VK_RETURN);
                                                    },
                                                    "14/03/2026"},
                                           DateCase{"EscapeKeepsTheCellAsItWas", edDateEdit, "5/1/2026",
                                                    [](TGridDatePicker* D) {
                                                        D->SetDate(EncodeDate(2026, 3, 14));
                                                        D->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "5/1/2026"},
                                           DateCase{"UnconvertibleTextOpensOnToday", edDateEdit, "not a date",
                                                    [](TGridDatePicker* D) {
                                                        EXPECT_EQ(D->Date(), EncodeDate(2026, 1, 5));
                                                        D->SimulateKey(VK_RETURN);
                                                    },
                                                    "05/01/2026"},
                                           DateCase{"TimeCommitKeepsTheGlobalFormat", edTimeEdit, "10:20:30",
                                                    [](TGridDatePicker* D) {
                                                        D->SetFormat("HH:mm");
                                                        D->SimulateKey(VK_RETURN);
                                                    },
                                                    "10:20"}),
                         [](const ::testing::TestParamInfo<DateCase>& I) { return std::string(I.param.Name); });

struct ShiftCase {
    const char* Name;
    const char* Format;
    int Y, M, D; // the value after the digit (it was 5 January 2026 before)
    bool Moves;
};
void PrintTo(const ShiftCase& C, std::ostream* Os) { *Os << C.Name; }

class ShiftTable : public EditorControls, public ::testing::WithParamInterface<ShiftCase> {};

TEST_P(ShiftTable, DigitMovesToTheNextFieldUnlessTheLastFieldChanged) {
    const ShiftCase& C = GetParam();
    Open(edDateEdit);
    TGridDatePicker* P = G->DatePicker();
    P->SetFormat(C.Format);
    P->SetDate(EncodeDate(2026, 1, 5));
    P->Native()->setCurrentSectionIndex(0);
    P->Fy = 2026, P->Fm = 1, P->Fd = 5;
    P->SetDate(EncodeDate(C.Y, C.M, C.D));
    P->Perform(DTPShiftFocusMessage());
    QApplication::processEvents();
    EXPECT_EQ(P->Native()->currentSectionIndex(), C.Moves ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Shift, ShiftTable,
                         ::testing::Values(ShiftCase{"YearLastYearChanged", "dd/MM/yyyy", 2027, 1, 5, false},
                                           ShiftCase{"YearLastDayChanged", "dd/MM/yyyy", 2026, 1, 6, true},
                                           ShiftCase{"NothingChanged", "dd/MM/yyyy", 2026, 1, 5, false},
                                           ShiftCase{"NoFormatYearChanged", "", 2027, 1, 5, false},
                                           ShiftCase{"NoFormatMonthChanged", "", 2026, 2, 5, true}),
                         [](const ::testing::TestParamInfo<ShiftCase>& I) { return std::string(I.param.Name); });

TEST_F(EditorControls, DateTimeEscapeRestoresTheOpeningValueAndClosing) {
    G->SetGridCell(RCol, ERow, "05/01/2026 08:30");
    Open(edDateTimeEdit);
    TGridDateTimePicker* Dt = G->DateAndTimePicker();
    const TDateTime Opened = Dt->DateTime();
    Dt->SetDateTime(EncodeDate(2027, 2, 2));
    Dt->SimulateKey(VK_ESCAPE);
    EXPECT_DOUBLE_EQ(Dt->DateTime(), Opened);
    EXPECT_FALSE(Dt->Visible());
    EXPECT_EQ(Cell(), "05/01/2026 08:30");
}

// ---- edit button and unit editor -------------------------------------------------------------------------
TEST_F(EditorControls, EditButtonF4AsksTheEllipsisAndSelectsTheAnswer) {
    G->OnEllipsClick = [&](TObject*, int ACol, int ARow, QString& S) {
        Log.push_back("ellipsis " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + S.toStdString());
        S = "picked";
    };
    Open(edEditBtn);
    TGridEditBtn* E = G->EditBtn;
    E->SimulateKey(VK_F4);
    EXPECT_EQ(E->Text(), "picked");
    EXPECT_EQ(E->SelLength(), 6);
    E->SimulateKey(VK_RETURN);
    EXPECT_EQ(Cell(), "picked");
    EXPECT_EQ(Log, (std::vector<std::string>{"ellipsis 3,3 3,3", "change 3,3 picked", "validate 3,3 picked"}));
}

struct EditBtnCase {
    const char* Name;
    TEditorType Kind;
    const char* Typed;
    Word EndKey;
    const char* Stored;
    const char* Shown;
};
void PrintTo(const EditBtnCase& C, std::ostream* Os) { *Os << C.Name; }

class EditBtnTable : public EditorControls, public ::testing::WithParamInterface<EditBtnCase> {};

TEST_P(EditBtnTable, TypeAndEnd) {
    const EditBtnCase& C = GetParam();
    G->SetGridCell(RCol, ERow, "12");
    Open(C.Kind);
    TGridEditBtn* E = G->EditBtn;
    E->SelectAll();
    Type(E, C.Typed);
    E->SimulateKey(C.EndKey);
    EXPECT_EQ(Cell(), C.Stored);
    EXPECT_EQ(E->Text(), C.Shown);
    ExpectHiddenColumnUntouched();
}

INSTANTIATE_TEST_SUITE_P(
    EditBtn, EditBtnTable,
    ::testing::Values(EditBtnCase{"EnterStores", edEditBtn, "abc", VK_RETURN, "abc", "abc"},
                      EditBtnCase{"NumericDropsLetters", edNumericEditBtn, "-4x2", VK_RETURN, "-42", "-42"},
                      EditBtnCase{"FloatTakesOneSeparator", edFloatEditBtn, "1.5.2", VK_RETURN, "1.52", "1.52"},
                      EditBtnCase{"EscapeKeepsTheCell", edEditBtn, "abc", VK_ESCAPE, "12", "12"},
                      EditBtnCase{"RefusedValueShowsTheValidationText", edEditBtn, "bad", VK_RETURN, "12", "fix me"}),
    [](const ::testing::TestParamInfo<EditBtnCase>& I) { return std::string(I.param.Name); });

TEST_F(EditorControls, UnitEditorStoresValueAndUnitAndEscapeKeepsTheCell) {
    TGridUnitEditBtn* U = G->UnitEditBtn;
    U->Units()->Add("mm");
    U->Units()->Add("m");
    G->SetGridCell(RCol, ERow, "12mm");
    Open(edUnitEditBtn);
    EXPECT_EQ(U->Text(), "12");
    EXPECT_EQ(U->UnitID(), "mm");
    U->SelectAll();
    Type(U, "30");
    U->SimulateKey(VK_RETURN);
    EXPECT_EQ(Cell(), "30mm");
    G->SetGridCell(RCol, ERow, "7m");
    Open(edUnitEditBtn);
    U->SelectAll();
    Type(U, "99");
    U->SimulateKey(VK_ESCAPE);
    EXPECT_EQ(Cell(), "7m");
    EXPECT_FALSE(U->Visible());
}

struct PasteCase {
    const char* Name;
    TEditorType Kind;
    const char* Clip;
    const char* Stored;
};
void PrintTo(const PasteCase& C, std::ostream* Os) { *Os << C.Name; }

class PasteTable : public EditorControls, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteTable, PasteIsFilteredAndValidatedLikeTyping) {
    const PasteCase& C = GetParam();
    G->SetGridCell(RCol, ERow, "12");
    std::vector<std::string> Order;
    G->OnClipboardPaste = [&](TObject* Sender, bool&) {
        EXPECT_EQ(Sender, G->EditBtn);
        Order.push_back("paste");
    };
    G->OnClipboardBeforePasteCell = [&](TObject*, int ACol, int ARow, QString&, bool&) {
        Order.push_back("cell " + std::to_string(ACol) + "," + std::to_string(ARow));
    };
    Open(C.Kind);
    TGridEditBtn* E = G->EditBtn;
    E->SelectAll();
    QApplication::clipboard()->setText(C.Clip);
    E->SimulateKey('V', {ssCtrl});
    EXPECT_EQ(Cell(), C.Stored);
    EXPECT_EQ(Order, (std::vector<std::string>{"paste", "cell 3,3"}));
    ExpectHiddenColumnUntouched();
}

INSTANTIATE_TEST_SUITE_P(Paste, PasteTable,
                         ::testing::Values(PasteCase{"PlainTextWithItsLineBreakRemoved", edEditBtn, "pasted\n",
                                                     "pasted"},
                                           PasteCase{"NumericKeepsOnlyItsCharacters", edNumericEditBtn, "4a5-", "45"},
                                           PasteCase{"RefusedValueStaysOutOfTheCell", edEditBtn, "bad", "12"}),
                         [](const ::testing::TestParamInfo<PasteCase>& I) { return std::string(I.param.Name); });

// ---- combo keys against the grid ------------------------------------------------------------------------
TEST_F(EditorControls, ComboUpWithoutComboGetUpDownStoresHereAndMovesTheGrid) {
    G->Navigation()->SetComboGetUpDown(false);
    Open(edComboEdit);
    TGridCombo* Cb = G->EditCombo;
    Cb->SetText("edited");
    Cb->SimulateKey(VK_UP);
    QApplication::processEvents();
    EXPECT_EQ(Cell(), "edited");
    EXPECT_EQ(Cell(RCol, ERow - 1), "3,2");
    EXPECT_EQ(G->Row(), ERow - 1);
    EXPECT_FALSE(G->EditorControlOpen());
}

TEST_F(EditorControls, ComboTabWithGoTabsCommitsAndMovesOn) {
    G->SetOptions(G->Options() << goTabs);
    Open(edComboEdit);
    TGridCombo* Cb = G->EditCombo;
    Cb->SetText("tabbed");
    Cb->SimulateKey(VK_TAB);
    QApplication::processEvents();
    EXPECT_EQ(Cell(), "tabbed");
    EXPECT_EQ(G->Col(), DCol + 1);
    EXPECT_FALSE(Cb->Visible());
}

// Without tab navigation the validated editors take Tab, write the cell and pass the Tab on the way
// a typed one goes: the grid does not want it, so the form moves to its next control.
struct TabOnCase {
    const char* Name;
    TEditorType Kind;
};
void PrintTo(const TabOnCase& C, std::ostream* Os) { *Os << C.Name; }

class TabWithoutTabNavigation : public EditorControls, public ::testing::WithParamInterface<TabOnCase> {};

TEST_P(TabWithoutTabNavigation, WritesTheCellAndGoesOnToTheNextControl) {
    Open(GetParam().Kind);
    TWinControl* E = G->EditorControl();
    ASSERT_NE(E, nullptr);
    ASSERT_TRUE(E->Focused() || E->isAncestorOf(QApplication::focusWidget()));
    Key(E, VK_TAB);
    QApplication::processEvents();
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_TRUE(Host->Other->Focused());
    EXPECT_EQ(G->Col(), DCol);
    EXPECT_EQ(G->Row(), ERow);
    ExpectHiddenColumnUntouched();
}

INSTANTIATE_TEST_SUITE_P(Editors, TabWithoutTabNavigation,
                         ::testing::Values(TabOnCase{"combo", edComboEdit}, TabOnCase{"spin", edSpinEdit},
                                           TabOnCase{"edit_button", edEditBtn}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(EditorControls, OpeningTheListKeepsTheEditOpen) {
    for (const char* S : {"Alpha", "Beta"}) G->AddComboString(S);
    G->MouseActions()->SetDirectComboDrop(true);
    Open(edComboList);
    TGridCombo* Cb = G->EditCombo;
    EXPECT_TRUE(Cb->DroppedDown());
    EXPECT_TRUE(G->EditorControlOpen());
    EXPECT_TRUE(Cb->Visible());
    Cb->SimulateKey(VK_RETURN);
    QApplication::processEvents();
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(Cell(), "Alpha");
}

TEST_F(EditorControls, CursorWalkLeavesThroughTheEdgesAndStoresFirst) {
    G->Navigation()->SetCursorWalkEditor(true);
    G->Navigation()->SetCursorWalkAlwaysEdit(false);
    Open(edComboEdit);
    TGridCombo* Cb = G->EditCombo;
    Cb->SetText("walk");
    Cb->SetSelStart(4);
    Cb->SimulateKey(VK_RIGHT);
    QApplication::processEvents();
    EXPECT_EQ(Cell(), "walk");
    EXPECT_EQ(G->Col(), DCol + 1);
    EXPECT_FALSE(G->EditorControlOpen());
    G->GotoCell(DCol, ERow);
    Open(edEditBtn);
    TGridEditBtn* E = G->EditBtn;
    E->SetText("back");
    E->SetSelStart(0);
    E->SimulateKey(VK_LEFT);
    QApplication::processEvents();
    EXPECT_EQ(Cell(), "back");
    EXPECT_EQ(G->Col(), DCol - 1);
    ExpectHiddenColumnUntouched();
}

TEST_F(EditorControls, ComboKeyPressReachesTheGridWithTheComboAsSender) {
    std::vector<TObject*> Senders;
    G->OnKeyPress = [&](TObject* Sender, QChar&) { Senders.push_back(Sender); };
    Open(edComboEdit);
    Type(G->EditCombo, "k");
    EXPECT_EQ(Senders, (std::vector<TObject*>{G->EditCombo}));
}

TEST_F(EditorControls, DatePickerArrowsStayInThePicker) {
    G->SetGridCell(RCol, ERow, "05/01/2026");
    Open(edDateEdit);
    TGridDatePicker* D = G->DatePicker();
    D->SimulateKey(VK_UP);
    EXPECT_EQ(G->Row(), ERow);
    EXPECT_TRUE(D->Visible());
    EXPECT_NE(D->Date(), EncodeDate(2026, 1, 5));
}

// ---- button ----------------------------------------------------------------------------------------------
TEST_F(EditorControls, ButtonRightMovesTheGridAndHidesTheButton) {
    int Clicks = 0;
    G->OnButtonClick = [&](TObject*, int ACol, int ARow) {
        EXPECT_EQ(ACol, RCol);
        EXPECT_EQ(ARow, ERow);
        ++Clicks;
    };
    Open(edButton);
    TGridButton* B = G->GridButton;
    EXPECT_EQ(B->Caption(), "3,3");
    B->Click();
    EXPECT_EQ(Clicks, 1);
    B->SimulateKey(VK_RIGHT);
    EXPECT_FALSE(B->Visible());
    EXPECT_EQ(G->Col(), DCol + 1);
    EXPECT_EQ(Cell(), "3,3");
}

// ---- pictures ------------------------------------------------------------------------------------------
TEST_F(EditorControls, PictureOfAnOpenComboAndAnOpenSpin) {
    for (const char* S : {"Alpha", "Beta", "Gamma", "Delta"}) G->AddComboString(S);
    G->SetGridCell(RCol, ERow, "Beta");
    Open(edComboList);
    TGridCombo* Cb = G->EditCombo;
    Cb->ButtonColor = TColor(0x30A0F0);
    Cb->ButtonTextColor = clBlack;
    Cb->Repaint();
    QApplication::processEvents();
    // Below the window: the closed combo over its cell, twice its size.
    const QImage Closed =
        Host->grab(QRect(Cb->mapTo(Host.get(), QPoint(-20, -8)), QSize(Cb->Width() + 40, Cb->Height() + 16))).toImage();
    Cb->SetDroppedDown(true);
    QApplication::processEvents();
    ASSERT_TRUE(Cb->DroppedDown());
    QImage Sheet(Host->Width(), Host->Height() + 140, QImage::Format_RGB32);
    Sheet.fill(Qt::white);
    {
        QPainter P(&Sheet);
        P.drawImage(QRect(10, Host->Height() + 10, Closed.width() * 2, Closed.height() * 2), Closed);
        P.drawImage(0, 0, Host->grab().toImage());
        QWidget* Popup = Cb->Native()->view()->window();
        const QPoint At = Host->mapFromGlobal(Popup->mapToGlobal(QPoint(0, 0)));
        P.drawImage(At, Popup->grab().toImage());
    }
    const QString ComboPath = QDir::current().filePath("grid_combo_open.png");
    ASSERT_TRUE(Sheet.save(ComboPath));
    // The button in its own colour inside the cell.
    const QImage Shot = Host->grab().toImage();
    const TRect BR = Cb->ButtonRect();
    const QPoint Probe = Cb->mapTo(Host.get(), QPoint(BR.Left + 3, BR.Top + 2));
    EXPECT_EQ(Shot.pixelColor(Probe), ToQColor(TColor(0x30A0F0)));
    Cb->SetDroppedDown(false);
    G->CancelEditorControl();

    G->SetGridCell(RCol, 5, "42");
    G->OpenEditorControl(edSpinEdit, DCol, 5);
    QApplication::processEvents();
    TGridSpin* S = G->SpinEdit();
    ASSERT_TRUE(S->Visible());
    const QString SpinPath = QDir::current().filePath("grid_spin_open.png");
    ASSERT_TRUE(SaveControlPng(Host.get(), SpinPath));
    const QImage SpinShot = QImage(SpinPath);
    const TRect Cellr = G->CellRect(DCol, 5);
    // The spin covers the cell: its window colour where the grid drew the cell.
    const QPoint In = G->mapTo(Host.get(), QPoint(Cellr.Left + Cellr.Width() / 2, Cellr.Top + 3));
    EXPECT_EQ(SpinShot.pixelColor(In), QColor(Qt::white));
    EXPECT_EQ(S->Left(), Cellr.Left);
    EXPECT_EQ(S->Top(), Cellr.Top);
}

} // namespace
