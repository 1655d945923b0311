// The sort settings: defaults, the Assign rule, the state text (round trips and damaged texts),
// the fixed-row check and Remove.
#include "grid/control/ExtGrid.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A grid that records the sorts the state text asks for, with a hidden column (real 2).
class SortGrid : public TExtStringGrid {
public:
    explicit SortGrid() : TExtStringGrid(nullptr) {}
    void QSort() override { Sorts.push_back("sort " + std::to_string(SortSettings()->Column())); }
    void QSortIndexed() override { Sorts.push_back("indexed " + SortIndexes()->SaveToString().toStdString()); }
    std::vector<std::string> Sorts;
};

class SortSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<SortGrid>();
        G->SetColCount(7);
        G->SetRowCount(5);
        G->HideColumn(2);
        ASSERT_EQ(G->AllColCount(), 7);
        S = G->SortSettings();
    }
    std::unique_ptr<SortGrid> G;
    TSortSettings* S = nullptr;
};

TEST_F(SortSettingsTest, NewSettingsHaveNoSortedColumn) {
    EXPECT_EQ(S->Column(), -1);
    EXPECT_EQ(S->Direction(), sdAscending);
    EXPECT_FALSE(S->Show());
    EXPECT_EQ(S->IndexColor(), TColor(0x00FFFF));
    EXPECT_TRUE(S->Full());
    EXPECT_TRUE(S->AutoFormat());
    EXPECT_TRUE(S->AutoSortForGrouping());
    EXPECT_TRUE(S->SortOnVirtualCells());
    EXPECT_EQ(S->HeaderColor(), clNone);
    EXPECT_EQ(S->Owner(), G.get());
}

// ---- the state text ----------------------------------------------------------------------------------
struct StateCase {
    const char* Name;
    const char* Text;
    bool IndexShow;
    TSortDirection Direction;
    int Column; // -1: unchanged
    const char* Sorts; // what the grid was asked to do
    const char* Saved; // SaveToString afterwards
};

void PrintTo(const StateCase& C, std::ostream* Os) { *Os << C.Name; }

class SortStateText : public SortSettingsTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(SortStateText, LoadsAndSavesBack) {
    const StateCase& C = GetParam();
    S->LoadFromString(QString::fromLatin1(C.Text));
    EXPECT_TRUE(S->Show());
    EXPECT_EQ(S->IndexShow(), C.IndexShow);
    if (!C.IndexShow) EXPECT_EQ(S->Direction(), C.Direction);
    EXPECT_EQ(S->Column(), C.Column);
    std::string Sorts;
    for (const std::string& L : G->Sorts) Sorts += (Sorts.empty() ? "" : "|") + L;
    EXPECT_EQ(Sorts, C.Sorts);
    EXPECT_EQ(S->SaveToString().toStdString(), C.Saved);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SortStateText,
    ::testing::Values(StateCase{"AscendingColumn", "u3", false, sdAscending, 3, "sort 3", "u3"},
                      StateCase{"DescendingColumn", "d3", false, sdDescending, 3, "sort 3", "d3"},
                      StateCase{"OtherLetterIsDescending", "x3", false, sdDescending, 3, "sort 3", "d3"},
                      StateCase{"ColumnZero", "d0", false, sdDescending, 0, "sort 0", "d0"},
                      StateCase{"ColumnBeyondTheGridIsIgnored", "u7", false, sdAscending, -1, "", "u-1"},
                      StateCase{"NoColumnIsIgnored", "d-1", false, sdDescending, -1, "", "d-1"},
                      StateCase{"IndexedAlone", "i;", true, sdAscending, -1, "", "i;"},
                      StateCase{"IndexedTwoColumns", "i;u2;d0", true, sdAscending, -1, "indexed u2;d0", "i;u2;d0"},
                      StateCase{"IndexedSkipsShortItems", "i;u;d4;", true, sdAscending, -1, "indexed d4", "i;d4"},
                      StateCase{"IndexedSkipsColumnsBeyondTheGrid", "i;u9;d1", true, sdAscending, -1, "indexed d1",
                                "i;d1"}),
    [](const ::testing::TestParamInfo<StateCase>& I) { return std::string(I.param.Name); });

struct DamagedCase {
    const char* Name;
    const char* Text;
};

void PrintTo(const DamagedCase& C, std::ostream* Os) { *Os << C.Name; }

class DamagedSortState : public SortSettingsTest, public ::testing::WithParamInterface<DamagedCase> {};

// A damaged text raises and leaves every value (Show too) as it was.
TEST_P(DamagedSortState, IsRefusedWholeAndChangesNothing) {
    S->SetColumn(1);
    S->SetDirection(sdDescending);
    const QString Before = S->SaveToString();
    try {
        S->LoadFromString(QString::fromLatin1(GetParam().Text));
        FAIL() << "no exception";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Invalid sort settings specifier");
    }
    EXPECT_FALSE(S->Show());
    EXPECT_FALSE(S->IndexShow());
    EXPECT_EQ(S->SaveToString(), Before);
    EXPECT_TRUE(G->Sorts.empty());
}

INSTANTIATE_TEST_SUITE_P(Texts, DamagedSortState,
                         ::testing::Values(DamagedCase{"OneCharacter", "u"}, DamagedCase{"ColumnNotANumber", "ux"},
                                           DamagedCase{"PlusSign", "u+1"}, DamagedCase{"TrailingBlank", "u3 "},
                                           DamagedCase{"HexColumn", "u$3"},
                                           DamagedCase{"IndexItemNotANumber", "i;u2;dx"},
                                           DamagedCase{"IndexMarkNotAtTheStart", "xi;u2"},
                                           DamagedCase{"HugeColumn", "u99999999999"}),
                         [](const ::testing::TestParamInfo<DamagedCase>& I) { return std::string(I.param.Name); });

TEST_F(SortSettingsTest, EmptyTextChangesNothing) {
    S->LoadFromString(QString());
    EXPECT_FALSE(S->Show());
    EXPECT_TRUE(G->Sorts.empty());
}

TEST_F(SortSettingsTest, IndexedTextReplacesEarlierIndexes) {
    G->SortIndexes()->AddIndex(5, true);
    S->LoadFromString("i;d1");
    EXPECT_EQ(G->SortIndexes()->SaveToString(), "d1");
}

// ---- the fixed-row check, Remove, ToggleDirection ----------------------------------------------------
TEST_F(SortSettingsTest, RowMustBeAboveTheFixedRows) {
    ASSERT_EQ(G->FixedRows(), 1);
    S->SetRow(0);
    try {
        S->SetRow(1);
        FAIL() << "no exception";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Sort row should be smaller than number of fixed rows");
    }
    EXPECT_EQ(S->Row(), 0);
    G->SetFixedRows(2);
    S->SetRow(1);
    EXPECT_EQ(S->Row(), 1);
}

TEST_F(SortSettingsTest, RemoveDropsTheSortStateOnly) {
    for (int r = 1; r < 5; ++r) G->SetCellEx(1, r, QString::number(5 - r));
    S->LoadFromString("i;u1");
    S->SetColumn(1);
    S->Remove();
    EXPECT_EQ(S->Column(), -1);
    EXPECT_EQ(G->SortIndexes()->Count(), 0);
    EXPECT_EQ(G->GetCellEx(1, 1), "4"); // the rows keep their order
    EXPECT_EQ(G->GetCellEx(1, 4), "1");
}

TEST_F(SortSettingsTest, ToggleDirectionFlips) {
    S->ToggleDirection();
    EXPECT_EQ(S->Direction(), sdDescending);
    S->ToggleDirection();
    EXPECT_EQ(S->Direction(), sdAscending);
}

// ---- Assign --------------------------------------------------------------------------------------------
TEST_F(SortSettingsTest, AssignCopiesAllButCaseAndVirtualCells) {
    TSortSettings Src;
    Src.SetColumn(4);
    Src.SetDirection(sdDescending);
    Src.SetInitSortDirection(sdDescending);
    Src.SetShow(true);
    Src.SetRow(3); // a free-standing object checks no fixed rows
    Src.SetIndexShow(true);
    Src.SetIndexColor(clRed);
    Src.SetIndexSortKey(ikCtrl);
    Src.SetFull(false);
    Src.SetSingleColumn(true);
    Src.SetIgnoreBlanks(true);
    Src.SetBlankPos(blLast);
    Src.SetAutoFormat(false);
    Src.SetFixedCols(true);
    Src.SetNormalCellsOnly(true);
    Src.SetAutoColumnMerge(true);
    Src.SetUndoSort(true);
    Src.SetAutoSortForGrouping(false);
    Src.SetHeaderColor(clRed);
    Src.SetHeaderColorTo(clBlue);
    Src.SetHeaderMirrorColor(clGreen);
    Src.SetHeaderMirrorColorTo(clYellow);
    TBitmap Up(3, 2);
    Src.SetUpGlyph(&Up);
    Src.SetIgnoreCase(true);
    Src.SetSortOnVirtualCells(false);

    S->Assign(&Src);
    EXPECT_EQ(S->Column(), 4);
    EXPECT_EQ(S->Direction(), sdDescending);
    EXPECT_EQ(S->InitSortDirection(), sdDescending);
    EXPECT_TRUE(S->Show());
    EXPECT_EQ(S->Row(), 3);
    EXPECT_TRUE(S->IndexShow());
    EXPECT_EQ(S->IndexColor(), clRed);
    EXPECT_EQ(S->IndexSortKey(), ikCtrl);
    EXPECT_FALSE(S->Full());
    EXPECT_TRUE(S->SingleColumn());
    EXPECT_TRUE(S->IgnoreBlanks());
    EXPECT_EQ(S->BlankPos(), blLast);
    EXPECT_FALSE(S->AutoFormat());
    EXPECT_TRUE(S->FixedCols());
    EXPECT_TRUE(S->NormalCellsOnly());
    EXPECT_TRUE(S->AutoColumnMerge());
    EXPECT_TRUE(S->UndoSort());
    EXPECT_FALSE(S->AutoSortForGrouping());
    EXPECT_EQ(S->HeaderColor(), clRed);
    EXPECT_EQ(S->HeaderColorTo(), clBlue);
    EXPECT_EQ(S->HeaderMirrorColor(), clGreen);
    EXPECT_EQ(S->HeaderMirrorColorTo(), clYellow);
    EXPECT_EQ(S->UpGlyph()->Width(), 3);
    EXPECT_NE(S->UpGlyph(), &Up);
    EXPECT_FALSE(S->IgnoreCase());
    EXPECT_TRUE(S->SortOnVirtualCells());
}

} // namespace
