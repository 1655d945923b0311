// Each editor kind reached the way a user reaches it: keys on the grid open the kind's control
// over the cell (display column 2 edits real column 3, real column 2 is hidden), its own keys or
// the focus leaving it commit, Escape cancels, a refused value stays out of the cell. The column
// grid's combo list and check-box columns open through the same switch.
#include "grid/control/ExtCGrid.h"
#include "grid/control/ExtGrid_Editors.h"
#include "platform/rtl/SysUtils.h"
#include "tests/grid/control/EditFixture.h"

#include <QDateTimeEdit>

#include <functional>

namespace {

class EditKinds : public EditGrid {
public:
    void Away() { FocusAway(); }
    static void Paste(TControl* C, const QString& Clip) {
        SetClipboard(Clip);
        C->SimulateKey('V', {ssCtrl});
    }
    // One more value the validation refuses (a picker's text, which cannot start with "bad").
    QString AlsoRefused;

protected:
    void SetUp() override {
        Saved = FormatSettings;
        FormatSettings.DateSeparator = '/';
        FormatSettings.TimeSeparator = ':';
        FormatSettings.ShortDateFormat = "dd/mm/yyyy";
        FormatSettings.LongTimeFormat = "hh:nn:ss";
        FormatSettings.ShortTimeFormat = "hh:nn";
        EditGrid::SetUp();
        G->UnitEditBtn->Units()->Add("mm");
        G->ClearComboString();
        for (const char* S : {"Alpha", "Beta", "Gamma"}) G->AddComboString(S);
        G->OnCellValidate = [this](TObject*, int ACol, int ARow, QString& Value, bool& Valid) {
            Validated.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + Value.toStdString());
            if (Value.startsWith("bad") || (!AlsoRefused.isEmpty() && Value == AlsoRefused)) {
                Valid = false;
                Value = "fix me";
            }
        };
    }
    void KindOnColumn3(TEditorType Kind) {
        G->OnGetEditorType = [Kind](TObject*, int ACol, int, TEditorType& E) {
            if (ACol == 3) E = Kind;
        };
    }
    void TearDown() override {
        EditGrid::TearDown();
        FormatSettings = Saved;
    }
    std::vector<std::string> Validated;
    TFormatSettings Saved;
};

struct KindCase {
    const char* Name;
    TEditorType Kind;
    const char* CellText;
    std::function<void(EditKinds&, TExtStringGrid*)> Act; // with the editor open through F2
    const char* Stored; // real (3, 3) afterwards
    bool StillOpen;
};
void PrintTo(const KindCase& C, std::ostream* Os) { *Os << C.Name; }

class KindTable : public EditKinds, public ::testing::WithParamInterface<KindCase> {};

TEST_P(KindTable, OpensFromTheGridAndWritesOnlyItsCell) {
    const KindCase& C = GetParam();
    G->SetGridCell(3, 3, C.CellText);
    KindOnColumn3(C.Kind);
    Key(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    ASSERT_EQ(G->EditorControlKind(), C.Kind);
    EXPECT_EQ(G->EditCtrl(), G->EditorControl());
    EXPECT_FALSE(TextEditorOpen());
    C.Act(*this, G);
    QApplication::processEvents();
    EXPECT_EQ(CellAt(3, 3), C.Stored);
    EXPECT_EQ(G->EditorControlOpen(), C.StillOpen);
    EXPECT_EQ(G->EditMode(), C.StillOpen);
    for (int r = 0; r < 8; ++r) EXPECT_EQ(CellAt(2, r), QString("2,%1").arg(r)) << "hidden column, row " << r;
}

INSTANTIATE_TEST_SUITE_P(Kinds, KindTable,
                         ::testing::Values(KindCase{"ComboListDownEnter", edComboList, "Beta",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditCombo->SimulateKey(VK_DOWN);
                                                        G->EditCombo->SimulateKey(VK_RETURN);
                                                    },
                                                    "Gamma", false},
                                           KindCase{"ComboListEscape", edComboList, "Beta",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditCombo->SimulateKey(VK_DOWN);
                                                        G->EditCombo->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "Beta", false},
                                           KindCase{"ComboEditFocusLossCommits", edComboEdit, "Beta",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditCombo->SetText("typed");
                                                        T.Away();
                                                    },
                                                    "typed", false},
                                           KindCase{"ComboEditRefusedOnEnter", edComboEdit, "Beta",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditCombo->SetText("bad");
                                                        G->EditCombo->SimulateKey(VK_RETURN);
                                                        EXPECT_EQ(G->EditCombo->Text(), "fix me");
                                                    },
                                                    "Beta", true},
                                           KindCase{"ComboEditRefusedOnFocusLoss", edComboEdit, "Beta",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditCombo->SetText("bad");
                                                        T.Away();
                                                    },
                                                    "Beta", false},
                                           KindCase{"SpinUpStepsEnterCommits", edSpinEdit, "5",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->SpinEdit()->SetMaxValue(10);
                                                        G->SpinEdit()->SimulateKey(VK_PRIOR);
                                                        G->SpinEdit()->SimulateKey(VK_RETURN);
                                                    },
                                                    "6", false},
                                           KindCase{"SpinEscapeKeepsTheCell", edSpinEdit, "5",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->SpinEdit()->SetText("8");
                                                        G->SpinEdit()->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "5", false},
                                           KindCase{"SpinRefused", edSpinEdit, "5",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->SpinEdit()->SetText("bad");
                                                        G->SpinEdit()->SimulateKey(VK_RETURN);
                                                    },
                                                    "5", true},
                                           KindCase{"EditButtonEnter", edEditBtn, "x",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditBtn->SetText("new");
                                                        G->EditBtn->SimulateKey(VK_RETURN);
                                                    },
                                                    "new", false},
                                           KindCase{"EditButtonEscape", edEditBtn, "x",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditBtn->SetText("new");
                                                        G->EditBtn->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "x", false},
                                           KindCase{"EditButtonRefused", edEditBtn, "x",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditBtn->SetText("bad");
                                                        G->EditBtn->SimulateKey(VK_RETURN);
                                                    },
                                                    "x", true},
                                           KindCase{"UnitEnterStoresValueAndUnit", edUnitEditBtn, "1mm",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        EXPECT_EQ(G->UnitEditBtn->UnitID(), "mm");
                                                        G->UnitEditBtn->SelectAll();
                                                        G->UnitEditBtn->SimulateKey('1');
                                                        G->UnitEditBtn->SimulateKey('2');
                                                        G->UnitEditBtn->SimulateKey(VK_RETURN);
                                                    },
                                                    "12mm", false},
                                           KindCase{"UnitEscape", edUnitEditBtn, "1",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->UnitEditBtn->SetText("12");
                                                        G->UnitEditBtn->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "1", false},
                                           KindCase{"CheckBoxWritesNothing", edCheckBox, "3,3",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditCheck->SimulateKey(VK_SPACE);
                                                        G->EditCheck->SimulateKey(VK_RETURN);
                                                    },
                                                    "3,3", false},
                                           KindCase{"ButtonRightMovesOn", edButton, "3,3",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->GridButton->SimulateKey(VK_RIGHT);
                                                        EXPECT_EQ(G->Col(), 3);
                                                    },
                                                    "3,3", false}),
                         [](const ::testing::TestParamInfo<KindCase>& I) { return std::string(I.param.Name); });

// ---- one table per editor kind: the ways an edit ends, through the editor's own keys ----------------
auto CaseName = [](const ::testing::TestParamInfo<KindCase>& I) { return std::string(I.param.Name); };

INSTANTIATE_TEST_SUITE_P(Combo, KindTable,
                         ::testing::Values(KindCase{"EditPasteThenEnterStoresIt", edComboEdit, "Beta",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditCombo->SelectAll();
                                                        T.Paste(G->EditCombo, "pasted");
                                                        EXPECT_EQ(G->EditCombo->Text(), "pasted");
                                                        EXPECT_EQ(G->GetGridCell(3, 3), "Beta")
                                                            << "not before the edit ends";
                                                        G->EditCombo->SimulateKey(VK_RETURN);
                                                    },
                                                    "pasted", false},
                                           KindCase{"EditRefusedPasteStaysOutOnFocusLoss", edComboEdit, "Beta",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditCombo->SelectAll();
                                                        T.Paste(G->EditCombo, "bad");
                                                        T.Away();
                                                    },
                                                    "Beta", false},
                                           KindCase{"EditPasteThenEscapeKeepsTheCell", edComboEdit, "Beta",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditCombo->SelectAll();
                                                        T.Paste(G->EditCombo, "pasted");
                                                        G->EditCombo->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "Beta", false},
                                           KindCase{"EditTabWithoutGoTabsCommits", edComboEdit, "Beta",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditCombo->SetText("tabbed");
                                                        G->EditCombo->SimulateKey(VK_TAB);
                                                    },
                                                    "tabbed", false},
                                           KindCase{"ListRefusedItemStaysOut", edComboList, "Beta",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        T.AlsoRefused = "Gamma";
                                                        G->EditCombo->SimulateKey(VK_DOWN);
                                                        G->EditCombo->SimulateKey(VK_RETURN);
                                                    },
                                                    "Beta", true}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(Spin, KindTable,
                         ::testing::Values(KindCase{"FocusLossCommits", edSpinEdit, "5",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->SpinEdit()->SetText("9");
                                                        T.Away();
                                                    },
                                                    "9", false},
                                           KindCase{"RefusedOnFocusLossStaysOut", edSpinEdit, "5",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->SpinEdit()->SetText("bad");
                                                        T.Away();
                                                    },
                                                    "5", false},
                                           KindCase{"TabWithGoTabsCommitsAndMoves", edSpinEdit, "5",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->SetOptions(G->Options() << goTabs);
                                                        G->SpinEdit()->SetText("7");
                                                        G->SpinEdit()->SimulateKey(VK_TAB);
                                                        EXPECT_EQ(G->Col(), 3);
                                                    },
                                                    "7", false},
                                           KindCase{"PasteKeepsOnlyWhatTypingWould", edSpinEdit, "5",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->SpinEdit()->SelectAll();
                                                        T.Paste(G->SpinEdit(), "x7y");
                                                        EXPECT_EQ(G->SpinEdit()->Text(), "7");
                                                        G->SpinEdit()->SimulateKey(VK_RETURN);
                                                    },
                                                    "7", false},
                                           KindCase{"PasteThenEscapeKeepsTheCell", edSpinEdit, "5",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->SpinEdit()->SelectAll();
                                                        T.Paste(G->SpinEdit(), "8");
                                                        G->SpinEdit()->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "5", false}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(EditButton, KindTable,
                         ::testing::Values(KindCase{"FocusLossCommits", edEditBtn, "x",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditBtn->SetText("typed");
                                                        T.Away();
                                                    },
                                                    "typed", false},
                                           KindCase{"RefusedOnFocusLossStaysOut", edEditBtn, "x",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditBtn->SetText("bad");
                                                        T.Away();
                                                    },
                                                    "x", false},
                                           KindCase{"DownCommitsAndMoves", edEditBtn, "x",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditBtn->SetText("down");
                                                        G->EditBtn->SimulateKey(VK_DOWN);
                                                        EXPECT_EQ(G->Row(), 4);
                                                    },
                                                    "down", false},
                                           KindCase{"FloatPasteDropsLettersThoughCtrlIsHeld", edFloatEditBtn, "1",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditBtn->SelectAll();
                                                        T.Paste(G->EditBtn, "2a.5b");
                                                        EXPECT_EQ(G->EditBtn->Text(), "2.5");
                                                        G->EditBtn->SimulateKey(VK_RETURN);
                                                    },
                                                    "2.5", false},
                                           KindCase{"PasteStopsAtTheLengthLimit", edEditBtn, "x",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditBtn->SetMaxLength(4);
                                                        G->EditBtn->SelectAll();
                                                        T.Paste(G->EditBtn, "123456");
                                                        EXPECT_EQ(G->EditBtn->Text(), "1234");
                                                        G->EditBtn->SimulateKey(VK_RETURN);
                                                    },
                                                    "1234", false},
                                           KindCase{"RefusedPasteStaysOut", edEditBtn, "x",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditBtn->SelectAll();
                                                        T.Paste(G->EditBtn, "bad");
                                                        EXPECT_EQ(G->EditBtn->Text(), "fix me");
                                                    },
                                                    "x", true},
                                           KindCase{"PasteThenEscapeBringsBackTheOpeningText", edEditBtn, "x",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditBtn->SelectAll();
                                                        T.Paste(G->EditBtn, "pasted");
                                                        G->EditBtn->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "x", false}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(Unit, KindTable,
                         ::testing::Values(KindCase{"FocusLossCommitsValueAndUnit", edUnitEditBtn, "1mm",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->UnitEditBtn->SetText("4");
                                                        T.Away();
                                                    },
                                                    "4mm", false},
                                           KindCase{"RefusedOnEnterKeepsTheCell", edUnitEditBtn, "1mm",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->UnitEditBtn->SetText("bad");
                                                        G->UnitEditBtn->SimulateKey(VK_RETURN);
                                                        EXPECT_EQ(G->UnitEditBtn->Text(), "1");
                                                    },
                                                    "1mm", true},
                                           KindCase{"RefusedOnFocusLossStaysOut", edUnitEditBtn, "1mm",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->UnitEditBtn->SetText("bad");
                                                        T.Away();
                                                    },
                                                    "1mm", false},
                                           KindCase{"NumericPasteKeepsTheDigits", edNumericUnitEditBtn, "1mm",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->UnitEditBtn->SelectAll();
                                                        T.Paste(G->UnitEditBtn, "4a5");
                                                        EXPECT_EQ(G->UnitEditBtn->Text(), "45");
                                                        G->UnitEditBtn->SimulateKey(VK_RETURN);
                                                    },
                                                    "45mm", false},
                                           KindCase{"NumericShiftInsertPasteIsFilteredToo", edNumericUnitEditBtn, "1mm",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->UnitEditBtn->SelectAll();
                                                        QGuiApplication::clipboard()->setText("9z");
                                                        G->UnitEditBtn->SimulateKey(VK_INSERT, {ssShift});
                                                        EXPECT_EQ(G->UnitEditBtn->Text(), "9");
                                                        G->UnitEditBtn->SimulateKey(VK_RETURN);
                                                    },
                                                    "9mm", false}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(Date, KindTable,
                         ::testing::Values(KindCase{"EnterStoresThePickedDate", edDateEdit, "05/01/2026",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->DatePicker()->SetDate(EncodeDate(2026, 3, 14));
                                                        G->DatePicker()->SimulateKey(VK_RETURN);
                                                    },
                                                    "14/03/2026", false},
                                           KindCase{"RefusedOnEnterStaysOutAndKeepsTheEditor", edDateEdit, "05/01/2026",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->DatePicker()->SetDate(EncodeDate(2026, 3, 14));
                                                        T.AlsoRefused = "14/03/2026";
                                                        G->DatePicker()->SimulateKey(VK_RETURN);
                                                    },
                                                    "05/01/2026", true},
                                           KindCase{"FocusLossCommits", edDateEdit, "05/01/2026",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->DatePicker()->SetDate(EncodeDate(2026, 2, 2));
                                                        T.Away();
                                                    },
                                                    "02/02/2026", false},
                                           KindCase{"RefusedOnFocusLossStaysOut", edDateEdit, "05/01/2026",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->DatePicker()->SetDate(EncodeDate(2026, 2, 2));
                                                        T.AlsoRefused = "02/02/2026";
                                                        T.Away();
                                                    },
                                                    "05/01/2026", false},
                                           KindCase{"EscapeBringsBackTheCell", edDateEditUpDown, "05/01/2026",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->DatePicker()->SetDate(EncodeDate(2026, 2, 2));
                                                        G->DatePicker()->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "05/01/2026", false},
                                           KindCase{"TimeEnterKeepsTheGlobalTimeFormat", edTimeEdit, "10:20:30",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->DatePicker()->SetFormat("HH:mm");
                                                        G->DatePicker()->SimulateKey(VK_RETURN);
                                                        EXPECT_EQ(FormatSettings.LongTimeFormat, "hh:nn:ss");
                                                    },
                                                    "10:20", false}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(DateAndTime, KindTable,
                         ::testing::Values(KindCase{"EnterStoresDateBlankTime", edDateTimeEdit, "05/01/2026 08:30",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->DateAndTimePicker()->SetDateTime(EncodeDate(2026, 3, 14) +
                                                                                            EncodeTime(9, 45, 0, 0));
                                                        G->DateAndTimePicker()->SimulateKey(VK_RETURN);
                                                    },
                                                    "14/03/2026 09:45", false},
                                           KindCase{"RefusedOnEnterStaysOut", edDateTimeEdit, "05/01/2026 08:30",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->DateAndTimePicker()->SetDateTime(EncodeDate(2026, 3, 14) +
                                                                                            EncodeTime(9, 45, 0, 0));
                                                        T.AlsoRefused = "14/03/2026 09:45";
                                                        G->DateAndTimePicker()->SimulateKey(VK_RETURN);
                                                    },
                                                    "05/01/2026 08:30", false},
                                           KindCase{"FocusLossLeavesItOpen", edDateTimeEdit, "05/01/2026 08:30",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->DateAndTimePicker()->SetDateTime(EncodeDate(2026, 3, 14));
                                                        T.Away();
                                                    },
                                                    "05/01/2026 08:30", true}),
                         CaseName);

// A cell date beyond the picker's limits opens one day inside them.
struct DateLimitCase {
    const char* Name;
    const char* CellText;
    TDateTime MinDate, MaxDate;
    TDateTime Opens;
};
void PrintTo(const DateLimitCase& C, std::ostream* Os) { *Os << C.Name; }

class DateLimits : public EditKinds, public ::testing::WithParamInterface<DateLimitCase> {};

TEST_P(DateLimits, OpenInsideTheLimits) {
    const DateLimitCase& C = GetParam();
    G->DatePicker()->SetMinDate(C.MinDate);
    G->DatePicker()->SetMaxDate(C.MaxDate);
    G->SetGridCell(3, 3, C.CellText);
    KindOnColumn3(edDateEdit);
    Key(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    EXPECT_EQ(G->DatePicker()->Date(), C.Opens);
    G->DatePicker()->SimulateKey(VK_ESCAPE);
    EXPECT_EQ(CellAt(3, 3), C.CellText);
}

INSTANTIATE_TEST_SUITE_P(Date, DateLimits,
                         ::testing::Values(DateLimitCase{"BeyondMaxDateOpensTheDayBefore", "05/09/2026", 0,
                                                         EncodeDate(2026, 6, 1), EncodeDate(2026, 5, 31)},
                                           DateLimitCase{"BeforeMinDateOpensTheDayAfter", "05/09/2020",
                                                         EncodeDate(2026, 1, 1), 0, EncodeDate(2026, 1, 2)},
                                           DateLimitCase{"OnMinDateOpensTheDayAfter", "01/01/2026",
                                                         EncodeDate(2026, 1, 1), 0, EncodeDate(2026, 1, 2)},
                                           DateLimitCase{"InsideTheLimitsOpensOnItsDate", "05/03/2026",
                                                         EncodeDate(2026, 1, 1), EncodeDate(2026, 6, 1),
                                                         EncodeDate(2026, 3, 5)}),
                         [](const ::testing::TestParamInfo<DateLimitCase>& I) { return std::string(I.param.Name); });

TEST_F(EditKinds, DateAndTimeSpinPageKeysStepAndFireOnSpinClick) {
    std::vector<bool> Clicks;
    G->OnSpinClick = [&](TObject*, int ACol, int ARow, int, bool Up) {
        EXPECT_EQ(ACol, 3);
        EXPECT_EQ(ARow, 3);
        Clicks.push_back(Up);
    };
    G->SetGridCell(3, 3, "05/01/2026");
    KindOnColumn3(edDateSpinEdit);
    Key(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    const TDateTime Opened = G->SpinEdit()->DateValue();
    G->SpinEdit()->SimulateKey(VK_PRIOR);
    EXPECT_GT(G->SpinEdit()->DateValue(), Opened);
    G->SpinEdit()->SimulateKey(VK_NEXT);
    EXPECT_EQ(Clicks, (std::vector<bool>{true, false}));
}

// The events of an edit ended with Enter, per editor kind, as a recording sink sees them: the
// kind is asked, the editor's properties are asked, the value changes, is validated once, the
// editing-done event fires at once and the cell-done event only from the message loop.
struct OrderCase {
    const char* Name;
    TEditorType Kind;
    const char* CellText;
    std::function<void(TExtStringGrid*)> Change;
    std::vector<std::string> Events;
};
void PrintTo(const OrderCase& C, std::ostream* Os) { *Os << C.Name; }

class EventOrder : public EditKinds, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(EventOrder, EnterEndsTheEditInOrder) {
    const OrderCase& C = GetParam();
    G->SetGridCell(3, 3, C.CellText);
    EditLog L;
    L.Watch(G);
    auto Watched = G->OnGetEditorType;
    G->OnGetEditorType = [&](TObject* S, int ACol, int ARow, TEditorType& E) {
        if (ACol != 3) return;
        Watched(S, ACol, ARow, E);
        E = C.Kind;
    };
    G->OnCellValidate = [&](TObject*, int ACol, int ARow, QString& Value, bool&) {
        L.Add("Validate " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + Value.toStdString());
    };
    Key(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    C.Change(G);
    static_cast<TControl*>(G->EditorControl())->SimulateKey(VK_RETURN);
    L.Add("-- key handled");
    QApplication::processEvents();
    EXPECT_EQ(L.Lines, C.Events);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EventOrder,
    ::testing::Values(OrderCase{"ComboList",
                                edComboList,
                                "Alpha",
                                [](TExtStringGrid* G) { G->EditCombo->SimulateKey(VK_DOWN); },
                                {"GetEditorType 3,3", "GetEditorProp 3,3", "EditChange 3,3 Beta", "Validate 3,3 Beta",
                                 "EditingDone", "-- key handled", "EditCellDone 3,3"}},
                      OrderCase{"Spin",
                                edSpinEdit,
                                "5",
                                [](TExtStringGrid* G) { G->SpinEdit()->SetText("6"); },
                                {"GetEditorType 3,3", "GetEditorProp 3,3", "EditChange 3,3 6", "Validate 3,3 6",
                                 "EditingDone", "-- key handled", "EditCellDone 3,3"}},
                      OrderCase{"EditButton",
                                edEditBtn,
                                "x",
                                [](TExtStringGrid* G) { G->EditBtn->SetText("y"); },
                                {"GetEditorType 3,3", "GetEditorProp 3,3", "EditChange 3,3 y", "Validate 3,3 y",
                                 "EditingDone", "-- key handled", "EditCellDone 3,3"}},
                      OrderCase{"Unit",
                                edUnitEditBtn,
                                "1mm",
                                [](TExtStringGrid* G) { G->UnitEditBtn->SetText("2"); },
                                {"GetEditorType 3,3", "GetEditorProp 3,3", "Validate 3,3 2mm", "EditingDone",
                                 "-- key handled", "EditCellDone 3,3"}},
                      OrderCase{"Date",
                                edDateEdit,
                                "05/01/2026",
                                [](TExtStringGrid* G) {
                                    G->DatePicker()->Native()->setCurrentSectionIndex(0);
                                    G->DatePicker()->SimulateKey(VK_UP); // the day field steps
                                },
                                {"GetEditorType 3,3", "GetEditorProp 3,3", "EditChange 3,3 06/01/2026",
                                 "Validate 3,3 06/01/2026", "EditingDone", "-- key handled", "EditCellDone 3,3"}}),
    [](const ::testing::TestParamInfo<OrderCase>& I) { return std::string(I.param.Name); });

// A press on a spin cell's buttons opens the spin editor stepped once that way.
struct SpinPressCase {
    const char* Name;
    int FromRight, FromTop; // where the press lands, from the cell's right and top edges
    const char* Opens;
};
void PrintTo(const SpinPressCase& C, std::ostream* Os) { *Os << C.Name; }

class SpinPress : public EditKinds, public ::testing::WithParamInterface<SpinPressCase> {};

TEST_P(SpinPress, OpensTheSpinSteppedByThePress) {
    const SpinPressCase& C = GetParam();
    G->ControlLook()->SetSpinButtonsAlwaysVisible(true);
    G->MouseActions()->SetDirectEdit(true);
    KindOnColumn3(edSpinEdit);
    G->SetGridCell(3, 4, "5");
    const TRect R = G->CellRect(2, 4);
    const LPARAM P = MakeLParam(R.Right - C.FromRight, R.Top + C.FromTop);
    G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, P);
    G->Perform(WM_LBUTTONUP, 0, P);
    QApplication::processEvents();
    ASSERT_TRUE(G->EditorControlOpen());
    EXPECT_EQ(G->SpinEdit()->Text(), C.Opens);
    G->SpinEdit()->SimulateKey(VK_ESCAPE);
    EXPECT_EQ(CellAt(3, 4), "5");
    // The next opening without a press on the buttons does not step.
    Key(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    EXPECT_EQ(G->SpinEdit()->Text(), "5");
}

INSTANTIATE_TEST_SUITE_P(Spin, SpinPress,
                         ::testing::Values(SpinPressCase{"UpperHalfStepsUp", 5, 2, "6"},
                                           SpinPressCase{"LowerHalfStepsDown", 5, 17, "4"},
                                           SpinPressCase{"TextPartDoesNotStep", 40, 5, "5"}),
                         [](const ::testing::TestParamInfo<SpinPressCase>& I) { return std::string(I.param.Name); });

TEST_F(EditKinds, ATypedDigitOpensTheSpinAndReachesIt) {
    G->SetGridCell(3, 3, "");
    KindOnColumn3(edSpinEdit);
    Type("7");
    QApplication::processEvents();
    ASSERT_TRUE(G->EditorControlOpen());
    EXPECT_EQ(G->SpinEdit()->Text(), "7");
    G->SpinEdit()->SimulateKey(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), "7");
}

TEST_F(EditKinds, OneValidationPerCommitAndTheEventsInOrder) {
    EditLog L;
    L.Watch(G);
    auto Watched = G->OnGetEditorType;
    G->OnGetEditorType = [&](TObject* S, int ACol, int ARow, TEditorType& E) {
        Watched(S, ACol, ARow, E);
        if (ACol == 3) E = edComboEdit;
    };
    Key(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    G->EditCombo->SetText("Gamma");
    G->EditCombo->SimulateKey(VK_RETURN);
    EXPECT_EQ(Validated, (std::vector<std::string>{"3,3 Gamma"}));
    QApplication::processEvents();
    EXPECT_EQ(CellAt(3, 3), "Gamma");
    ASSERT_GE(L.Lines.size(), 4u);
    EXPECT_EQ(L.Lines.front(), "GetEditorType 3,3");
    EXPECT_EQ(L.Lines[1], "GetEditorProp 3,3");
    EXPECT_EQ(L.Lines[L.Lines.size() - 2], "EditingDone");
    EXPECT_EQ(L.Lines.back(), "EditCellDone 3,3");
}

TEST_F(EditKinds, MovingTheCurrentCellCommitsTheComboIntoItsOwnCell) {
    KindOnColumn3(edComboEdit);
    Key(VK_F2);
    G->EditCombo->SetText("kept");
    G->MoveCurrentCell(4, 6, true);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(CellAt(3, 3), "kept");
    EXPECT_EQ(CellAt(5, 6), "5,6");
    // A refused value keeps the focus on its cell and the editor open.
    G->MoveCurrentCell(2, 3, true);
    Key(VK_F2);
    G->EditCombo->SetText("bad");
    G->MoveCurrentCell(4, 6, true);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_TRUE(G->EditorControlOpen());
    EXPECT_EQ(CellAt(3, 3), "kept");
}

TEST_F(EditKinds, DataCheckBoxAndNoneOpenNoEditor) {
    for (TEditorType Kind : {edDataCheckBox, edNone}) {
        KindOnColumn3(Kind);
        Key(VK_F2);
        EXPECT_FALSE(G->EditorControlOpen()) << int(Kind);
        EXPECT_FALSE(TextEditorOpen()) << int(Kind);
        EXPECT_EQ(CellAt(3, 3), "3,3");
    }
}

// ---- the column grid ----------------------------------------------------------------------------------
class ColumnEditors : public ::testing::Test {
protected:
    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 520, 320);
        G = Create<TExtColumnGrid>(Form, Form);
        G->SetBounds(0, 0, 460, 220);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetDefaultColWidth(70);
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 6; ++r) G->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
        G->HideColumn(2);
        Form->Show();
        QApplication::processEvents();
        G->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        delete Form;
        QApplication::processEvents();
    }
    TGridColumnItem* Item(int RealCol) { return G->Columns()->Items(RealCol); }
    TForm* Form = nullptr;
    TExtColumnGrid* G = nullptr;
};

TEST_F(ColumnEditors, AComboListColumnOpensWithItsItemsAndWritesThePick) {
    Item(3)->SetEditor(edComboList);
    for (const char* S : {"a", "b", "c"}) Item(3)->ComboItems()->Add(S);
    G->SetGridCell(3, 2, "a");
    G->MoveCurrentCell(2, 2, true);
    G->SimulateKey(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    ASSERT_EQ(G->EditCombo->Items()->Count(), 3);
    EXPECT_EQ(G->EditCombo->ItemIndex(), 0);
    G->EditCombo->SimulateKey(VK_DOWN);
    G->EditCombo->SimulateKey(VK_RETURN);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(G->GetGridCell(3, 2), "b");
    EXPECT_EQ(G->GetGridCell(2, 2), "2,2");
}

TEST_F(ColumnEditors, ACheckBoxColumnOpensTheCheckBoxEditorAReadOnlyColumnNothing) {
    Item(3)->SetEditor(edCheckBox);
    Item(4)->SetEditor(edComboList);
    Item(4)->SetReadOnly(true);
    G->MoveCurrentCell(2, 2, true);
    G->SimulateKey(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    EXPECT_EQ(G->EditorControlKind(), edCheckBox);
    EXPECT_TRUE(G->EditCheck->Visible());
    G->EditCheck->SimulateKey(VK_ESCAPE); // the check box's own key: the editor stays
    EXPECT_TRUE(G->EditorControlOpen());
    G->EditCheck->SimulateKey(VK_RETURN);
    EXPECT_FALSE(G->EditorControlOpen());
    G->MoveCurrentCell(3, 2, true);
    G->SimulateKey(VK_F2);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(G->GetGridCell(4, 2), "4,2");
}

TEST_F(ColumnEditors, ASpinColumnGivesTheSpinItsBounds) {
    Item(3)->SetEditor(edSpinEdit);
    Item(3)->SetSpinMin(2);
    Item(3)->SetSpinMax(4);
    Item(3)->SetSpinStep(2);
    G->SetGridCell(3, 2, "2");
    G->MoveCurrentCell(2, 2, true);
    G->SimulateKey(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    G->SpinEdit()->SimulateKey(VK_PRIOR);
    G->SpinEdit()->SimulateKey(VK_PRIOR); // past the maximum: stays
    G->SpinEdit()->SimulateKey(VK_RETURN);
    EXPECT_EQ(G->GetGridCell(3, 2), "4");
}

} // namespace
