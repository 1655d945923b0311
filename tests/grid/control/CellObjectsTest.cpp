// Cell objects through the grid's public operations: each kind added, queried, toggled and
// removed; the check-box semantics (plain, data, tri-state, row boxes, columns, CheckAll, node
// groups, undo); radio buttons, comments, markers, buttons, rotation and image keys. The fixture
// keeps a hidden column (real column 1) and a hidden row (real row 6); objects go into real
// column 3, shown as display column 2.
#include "grid/base/ExtGridCtrls.h"
#include "grid/control/ExtCGrid.h"
#include "grid/control/ExtGrid.h"
#include "platform/gui/ImgList.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr int HiddenCol = 1;
constexpr int ObjCol = 3; // real column 3, display column 2
constexpr int HiddenRow = 6; // real row 6

class CellObjects : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(5);
        G->SetRowCount(9);
        for (int c = 0; c < 5; ++c)
            for (int r = 0; r < 9; ++r) G->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
        Images = std::make_unique<TImageList>(nullptr, 16, 16);
        G->HideColumn(HiddenCol);
        G->HideRow(HiddenRow);
        ASSERT_EQ(G->ColCount(), 4);
        ASSERT_EQ(G->RowCount(), 8);
        ASSERT_EQ(G->DisplColIndex(ObjCol), 2);
        ASSERT_EQ(G->RealRowIndex(6), 7);
        G->OnCheckBoxChange = [this](TObject*, int C, int R, bool S) {
            Changes.push_back(std::to_string(C) + "," + std::to_string(R) + "," + (S ? "1" : "0"));
        };
    }
    TCellGraphic* Record(int Col, int Row) { return dynamic_cast<TCellGraphic*>(G->GetCellGraphic(Col, Row)); }

    std::unique_ptr<TImageList> Images;
    std::unique_ptr<TExtStringGrid> G;
    std::vector<std::string> Changes;
};

// ---- every kind: add, query, toggle, remove ---------------------------------------------------------
struct KindCase {
    const char* Name;
    TCellType Kind;
    std::function<void(TExtStringGrid&, int, int)> Add;
    // What the kind's own query reports right after adding.
    std::function<bool(TExtStringGrid&, int, int)> Query;
    std::function<void(TExtStringGrid&, int, int)> Remove;
    QString TextAfterAdd; // of a cell that held "3,2"; empty for the texts the add keeps
    QString TextAfterRemove; // empty: as after the add
};

void PrintTo(const KindCase& C, std::ostream* Os) { *Os << C.Name; }

TBitmap* SharedBitmap() {
    static TBitmap B(8, 8);
    return &B;
}
TPicture* SharedPicture() {
    static TPicture P;
    return &P;
}
TIcon* SharedIcon() {
    static TIcon I;
    return &I;
}
TInterfacedPersistent* SharedObject() {
    static TInterfacedPersistent O;
    return &O;
}

const std::vector<KindCase>& KindCases() {
    using G_ = TExtStringGrid;
    static const std::vector<KindCase> Cases = {
        {"PlainCheckBox", ctCheckBox, [](G_& G, int c, int r) { G.AddCheckBox(c, r, true, false); },
         [](G_& G, int c, int r) { return G.HasCheckBox(c, r) && G.IsChecked(c, r) && !G.HasDataCheckBox(c, r); },
         [](G_& G, int c, int r) { G.RemoveCheckBox(c, r); }, "", ""},
        {"DataCheckBox", ctDataCheckBox, [](G_& G, int c, int r) { G.AddCheckBox(c, r, false, true); },
         [](G_& G, int c, int r) { return G.HasDataCheckBox(c, r) && !G.IsChecked(c, r); },
         [](G_& G, int c, int r) { G.RemoveCheckBox(c, r); }, "N", ""},
        {"TriStateCheckBox", ctTriStateCheckBox, [](G_& G, int c, int r) { G.AddCheckBox(c, r, cbGrayed); },
         [](G_& G, int c, int r) {
             TCheckBoxState S = cbUnchecked;
             return G.HasCheckBox(c, r) && G.GetCheckBoxState(c, r, S) && S == cbGrayed;
         },
         [](G_& G, int c, int r) { G.RemoveCheckBox(c, r); }, "", ""},
        {"RadioButton", ctRadioButton, [](G_& G, int c, int r) { G.AddRadioButton(c, r, true); },
         [](G_& G, int c, int r) { return G.HasRadioButton(c, r) && G.IsRadioButtonChecked(c, r); },
         [](G_& G, int c, int r) { G.RemoveRadioButton(c, r); }, "", ""},
        {"Bitmap", ctBitmap, [](G_& G, int c, int r) { G.AddBitmap(c, r, SharedBitmap(), true, haLeft, vaTop); },
         [](G_& G, int c, int r) { return G.GetBitmap(c, r) == SharedBitmap() && G.HasBitmap(c, r); },
         [](G_& G, int c, int r) { G.RemoveBitmap(c, r); }, "", ""},
        {"CreatedBitmap", ctBitmap,
         [](G_& G, int c, int r) { G.CreateBitmap(c, r, false, haRight, vaTop)->SetSize(4, 4); },
         [](G_& G, int c, int r) { return G.GetBitmap(c, r) && G.GetBitmap(c, r)->Width() == 4; },
         [](G_& G, int c, int r) { G.RemoveBitmap(c, r); }, "", ""},
        {"Picture", ctPicture,
         [](G_& G, int c, int r) { G.AddPicture(c, r, SharedPicture(), false, Stretch, 2, haLeft, vaTop); },
         [](G_& G, int c, int r) { return G.GetPicture(c, r) == SharedPicture() && G.HasPicture(c, r); },
         [](G_& G, int c, int r) { G.RemovePicture(c, r); }, "", ""},
        {"FilePicture", ctFilePicture,
         [](G_& G, int c, int r) { G.CreateFilePicture(c, r, false, noStretch, 0, haLeft, vaTop); },
         [](G_& G, int c, int r) { return G.GetFilePicture(c, r) != nullptr; },
         [](G_& G, int c, int r) { G.RemoveFilePicture(c, r); }, "", ""},
        {"Icon", ctIcon, [](G_& G, int c, int r) { G.AddIcon(c, r, SharedIcon(), haLeft, vaTop); },
         [](G_& G, int c, int r) { return G.CellImageKey(c, r) == int64_t(reinterpret_cast<intptr_t>(SharedIcon())); },
         [](G_& G, int c, int r) { G.RemoveIcon(c, r); }, "", ""},
        {"ImageIndex", ctImageList, [](G_& G, int c, int r) { G.AddImageIdx(c, r, 1, haLeft, vaTop); },
         [](G_& G, int c, int r) {
             int i = -1;
             return G.GetImageIdx(c, r, i) && i == 1;
         },
         [](G_& G, int c, int r) { G.RemoveImageIdx(c, r); }, "", ""},
        {"DataImage", ctDataImage,
         [](G_& G, int c, int r) {
             G.SetCellEx(c, r, "");
             G.AddDataImage(c, r, 4, haLeft, vaTop);
         },
         [](G_& G, int c, int r) { return G.HasDataImage(c, r); }, [](G_& G, int c, int r) { G.RemoveDataImage(c, r); },
         "4", "-"},
        {"MultiImage", ctImages, [](G_& G, int c, int r) { G.AddMultiImage(c, r, 0, haLeft, vaTop); },
         [](G_& G, int c, int r) {
             auto* CG = dynamic_cast<TCellGraphic*>(G.GetCellGraphic(c, r));
             return CG && CG->CellBitmapAs<TIntList>() && CG->CellBoolean();
         },
         [](G_& G, int c, int r) { G.RemoveMultiImage(c, r); }, "", ""},
        {"Progress", ctProgress, [](G_& G, int c, int r) { G.AddProgress(c, r, clGreen, clWhite); },
         [](G_& G, int c, int r) { return G.HasProgress(c, r); }, [](G_& G, int c, int r) { G.RemoveProgress(c, r); },
         "", ""},
        {"ExtProgress", ctXPProgress, [](G_& G, int c, int r) { G.AddExtProgress(c, r, 10, 20); },
         [](G_& G, int c, int r) {
             auto* CG = dynamic_cast<TCellGraphic*>(G.GetCellGraphic(c, r));
             return CG && CG->CellErrFrom() == 10 && CG->CellErrLen() == 20;
         },
         [](G_& G, int c, int r) { G.RemoveExtProgress(c, r); }, "", ""},
        {"ProgressPie", ctProgressPie,
         [](G_& G, int c, int r) {
             G.AddProgressPie(c, r, clRed, 10);
             G.SetProgressPie(c, r, 75);
         },
         [](G_& G, int c, int r) {
             auto* CG = dynamic_cast<TCellGraphic*>(G.GetCellGraphic(c, r));
             return CG && CG->CellAngle() == 75;
         },
         [](G_& G, int c, int r) { G.RemoveProgressPie(c, r); }, "", ""},
        {"RangeIndicator", ctRangeIndicator,
         [](G_& G, int c, int r) { G.AddRangeIndicator(c, r, 50, clRed, clGreen, true); },
         [](G_& G, int c, int r) {
             auto* CG = dynamic_cast<TCellGraphic*>(G.GetCellGraphic(c, r));
             return CG && CG->CellIndex() == 50 && CG->CellBitmapColor() == clRed && CG->CellIconColor() == clGreen;
         },
         [](G_& G, int c, int r) { G.RemoveRangeIndicator(c, r); }, "", ""},
        {"Comment", ctComment, [](G_& G, int c, int r) { G.AddComment(c, r, "note"); },
         [](G_& G, int c, int r) { return G.GetComment(c, r) == "note"; },
         [](G_& G, int c, int r) { G.RemoveComment(c, r); }, "", ""},
        {"Shape", ctShape, [](G_& G, int c, int r) { G.AddShape(c, r, csCircle, clYellow, clBlack, haLeft, vaTop); },
         [](G_& G, int c, int r) { return G.GetShapeColor(c, r) == clYellow; },
         [](G_& G, int c, int r) { G.RemoveShape(c, r); }, "", ""},
        {"Rating", ctRating, [](G_& G, int c, int r) { G.AddRating(c, r, 5, clYellow, clSilver); },
         [](G_& G, int c, int r) { return G.HasRating(c, r); }, [](G_& G, int c, int r) { G.RemoveRating(c, r); }, "",
         ""},
        {"ScrollBar", ctScrollbar, [](G_& G, int c, int r) { G.AddScrollBar(c, r, false); },
         [](G_& G, int c, int r) {
             const auto P = G.GetScrollProp(c, r);
             return G.HasScrollBar(c, r) && G.GetScrollPosition(c, r) == 0 && P.PageSize == 0 && P.Range == 100;
         },
         [](G_& G, int c, int r) { G.RemoveScrollBar(c, r); }, "", ""},
        {"Button", ctButton, [](G_& G, int c, int r) { G.AddButton(c, r, 40, 18, "Go", haLeft, vaTop); },
         [](G_& G, int c, int r) {
             auto* CG = dynamic_cast<TCellGraphic*>(G.GetCellGraphic(c, r));
             return G.HasButton(c, r) && CG->CellText() == "Go" && CG->ButtonWidth() == 40 && CG->ButtonHeight() == 18;
         },
         [](G_& G, int c, int r) { G.RemoveButton(c, r); }, "", ""},
        {"BitButton", ctBitButton,
         [](G_& G, int c, int r) { G.AddBitButton(c, r, 40, 18, "Go", SharedBitmap(), haLeft, vaTop); },
         [](G_& G, int c, int r) { return G.HasButton(c, r); }, [](G_& G, int c, int r) { G.RemoveBitButton(c, r); },
         "", ""},
        {"Interfaced", ctInterface, [](G_& G, int c, int r) { G.AddInterfacedCell(c, r, SharedObject()); },
         [](G_& G, int c, int r) { return G.GetInterfacedCell(c, r) == SharedObject(); },
         [](G_& G, int c, int r) { G.RemoveInterfacedCell(c, r); }, "", ""},
        {"Rotated", ctRotated, [](G_& G, int c, int r) { G.AddRotated(c, r, -90, "up"); },
         [](G_& G, int c, int r) {
             int A = 0;
             return G.IsRotated(c, r, A) && A == 270;
         },
         [](G_& G, int c, int r) { G.RemoveRotated(c, r); }, "up", ""},
    };
    return Cases;
}

class ObjectKind : public CellObjects, public ::testing::WithParamInterface<KindCase> {};

TEST_P(ObjectKind, AddQueryRemoveInAShownAndAHiddenColumn) {
    const KindCase& C = GetParam();
    G->SetGridImages(Images.get());
    for (int Col : {ObjCol, HiddenCol}) {
        SCOPED_TRACE(Col);
        const QString Before = G->GetCellEx(Col, 2);
        C.Add(*G, Col, 2);
        EXPECT_EQ(G->GetCellType(Col, 2), C.Kind);
        EXPECT_TRUE(C.Query(*G, Col, 2));
        const QString Text = C.TextAfterAdd.isEmpty() ? Before : C.TextAfterAdd;
        EXPECT_EQ(G->GetCellEx(Col, 2), Text);
        EXPECT_EQ(G->GetCellType(Col, 3), ctEmpty) << "the row below has none";
        // a remove of another kind leaves the object
        if (C.Kind != ctComment)
            G->RemoveComment(Col, 2);
        else
            G->RemoveBitmap(Col, 2);
        EXPECT_EQ(G->GetCellType(Col, 2), C.Kind);
        C.Remove(*G, Col, 2);
        EXPECT_EQ(G->GetCellType(Col, 2), ctEmpty);
        EXPECT_EQ(G->GetCellGraphic(Col, 2), nullptr);
        EXPECT_EQ(G->GetCellEx(Col, 2), C.TextAfterRemove == "-" ? QString() : Text);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ObjectKind, ::testing::ValuesIn(KindCases()),
                         [](const ::testing::TestParamInfo<KindCase>& I) { return std::string(I.param.Name); });

TEST_F(CellObjects, ImageKindsDoNothingWithoutGridImages) {
    G->AddImageIdx(ObjCol, 1, 0, haLeft, vaTop);
    G->AddDataImage(ObjCol, 2, 0, haLeft, vaTop);
    G->AddMultiImage(ObjCol, 3, 0, haLeft, vaTop);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(G->GetCellType(ObjCol, r), ctEmpty) << r;
    EXPECT_EQ(G->GetCellEx(ObjCol, 2), "3,2");
}

TEST_F(CellObjects, AnAddReplacesAndFreesTheObjectBefore) {
    G->CreateBitmap(ObjCol, 1, false, haLeft, vaTop);
    G->AddComment(ObjCol, 1, "c");
    EXPECT_EQ(G->GetBitmap(ObjCol, 1), nullptr);
    EXPECT_EQ(G->GetComment(ObjCol, 1), "c");
    EXPECT_TRUE(Record(ObjCol, 1)->BitmapSlot().Empty());
}

// ---- cells outside the grid -------------------------------------------------------------------------
struct OutsideCase {
    const char* Name;
    int Col, Row;
};
void PrintTo(const OutsideCase& C, std::ostream* Os) { *Os << C.Name; }

class OutsideCell : public CellObjects, public ::testing::WithParamInterface<OutsideCase> {};

TEST_P(OutsideCell, AddsRaiseInvalidCellAndAttachNothing) {
    const OutsideCase& C = GetParam();
    const std::vector<std::pair<const char*, std::function<void()>>> Adds = {
        {"plain box", [&] { G->AddCheckBox(C.Col, C.Row, true, false); }},
        {"tri-state box", [&] { G->AddCheckBox(C.Col, C.Row, cbChecked); }},
        {"radio", [&] { G->AddRadioButton(C.Col, C.Row, true); }},
        {"button", [&] { G->AddButton(C.Col, C.Row, 10, 10, "b", haLeft, vaTop); }},
        {"comment", [&] { G->AddComment(C.Col, C.Row, "c"); }},
    };
    for (const auto& [Name, Add] : Adds) {
        SCOPED_TRACE(Name);
        try {
            Add();
            ADD_FAILURE() << "no exception";
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), "Invalid cell");
        }
    }
    for (int c = 0; c < G->TotalColCount(); ++c)
        for (int r = 0; r < G->RowCount(); ++r) EXPECT_EQ(G->GetCellGraphic(c, r), nullptr) << c << "," << r;
    // the queries and removes stay silent
    bool S = true;
    EXPECT_FALSE(G->GetCheckBoxState(C.Col, C.Row, S));
    EXPECT_FALSE(G->SetCheckBoxState(C.Col, C.Row, true));
    EXPECT_FALSE(G->HasCheckBox(C.Col, C.Row));
    EXPECT_EQ(G->GetCellType(C.Col, C.Row), ctEmpty);
    G->RemoveCheckBox(C.Col, C.Row);
}

INSTANTIATE_TEST_SUITE_P(Cells, OutsideCell,
                         ::testing::Values(OutsideCase{"NegativeColumn", -1, 2}, OutsideCase{"NegativeRow", ObjCol, -1},
                                           OutsideCase{"ColumnPastAll", 5, 2}, OutsideCase{"RowPastAll", ObjCol, 9}),
                         [](const ::testing::TestParamInfo<OutsideCase>& I) { return std::string(I.param.Name); });

// ---- check boxes ------------------------------------------------------------------------------------
TEST_F(CellObjects, CheckBoxColumnReadsWritesAndToggles) {
    G->AddCheckBoxColumn(ObjCol, false, false);
    EXPECT_EQ(G->GetCellType(ObjCol, 0), ctEmpty) << "the fixed row has none";
    bool S = true;
    EXPECT_TRUE(G->GetCheckBoxState(ObjCol, 2, S));
    EXPECT_FALSE(S);
    S = true;
    EXPECT_FALSE(G->GetCheckBoxState(2, 2, S));
    EXPECT_TRUE(S) << "left alone without a box";
    EXPECT_TRUE(G->SetCheckBoxState(ObjCol, 2, true));
    EXPECT_TRUE(Changes.empty()) << "setting fires no event";
    EXPECT_TRUE(G->ToggleCheckBox(ObjCol, 2));
    EXPECT_FALSE(G->IsChecked(ObjCol, 2));
    EXPECT_EQ(Changes, std::vector<std::string>{"3,2,0"});
    EXPECT_FALSE(G->IsChecked(2, 2));
    G->RemoveCheckBoxColumn(ObjCol);
    for (int r = 0; r < G->RowCount(); ++r) EXPECT_FALSE(G->HasCheckBox(ObjCol, r));
}

TEST_F(CellObjects, CheckBoxColumnGivesNodeRowsTriStateBoxesAndSkipsSummaries) {
    G->NewCellGraphic(0, 2)->SetCellType(ctNode);
    G->NewCellGraphic(0, 4)->SetCellType(ctSummary);
    G->AddCheckBoxColumn(ObjCol, true, true);
    EXPECT_EQ(G->GetCellType(ObjCol, 1), ctDataCheckBox);
    EXPECT_EQ(G->GetCellType(ObjCol, 2), ctTriStateCheckBox);
    TCheckBoxState S = cbChecked;
    EXPECT_TRUE(G->GetCheckBoxState(ObjCol, 2, S));
    EXPECT_EQ(S, cbUnchecked);
    EXPECT_EQ(G->GetCellType(ObjCol, 4), ctEmpty);
    EXPECT_EQ(G->GetCellEx(ObjCol, 4), "3,4");
    G->AddTriStateCheckBoxColumn(HiddenCol, cbGrayed);
    for (int r = 1; r < G->RowCount(); ++r) EXPECT_EQ(G->GetCellType(HiddenCol, r), ctTriStateCheckBox) << r;
}

TEST_F(CellObjects, HasQueriesLookAtTheBaseCellOfAMergedArea) {
    G->AddCheckBox(ObjCol, 1, true, false);
    G->MergeCells(ObjCol, 1, 1, 2);
    EXPECT_TRUE(G->HasCheckBox(ObjCol, 2));
    EXPECT_TRUE(G->HasCheckControl(ObjCol, 2));
    EXPECT_FALSE(G->HasRadioButton(ObjCol, 2));
    G->AddRadioButton(ObjCol, 3, false);
    EXPECT_TRUE(G->HasCheckControl(ObjCol, 3));
    EXPECT_FALSE(G->HasCheckControl(ObjCol, 4));
    EXPECT_FALSE(G->HasCheckControl(-1, 3));
}

TEST_F(CellObjects, TriStateBoxCyclesAndReportsFalse) {
    G->AddCheckBox(ObjCol, 2, cbUnchecked);
    const TCheckBoxState Expected[] = {cbGrayed, cbChecked, cbUnchecked};
    for (TCheckBoxState E : Expected) {
        EXPECT_TRUE(G->ToggleCheckBox(ObjCol, 2));
        TCheckBoxState S = cbUnchecked;
        EXPECT_TRUE(G->GetCheckBoxState(ObjCol, 2, S));
        EXPECT_EQ(S, E);
    }
    EXPECT_EQ(Changes, (std::vector<std::string>{"3,2,0", "3,2,0", "3,2,0"}));
    EXPECT_FALSE(G->SetCheckBoxState(ObjCol, 2, true)) << "the Boolean form leaves tri-state boxes";
    EXPECT_TRUE(G->SetCheckBoxState(ObjCol, 2, cbChecked));
    EXPECT_TRUE(G->IsChecked(ObjCol, 2));
    G->AddCheckBox(ObjCol, 3, true, false);
    EXPECT_FALSE(G->SetCheckBoxState(ObjCol, 3, cbGrayed)) << "the tri-state form leaves plain boxes";
}

TEST_F(CellObjects, DataBoxToggleWritesTheCheckTexts) {
    G->AddCheckBox(ObjCol, 2, false, true);
    EXPECT_EQ(G->GetCellEx(ObjCol, 2), "N");
    G->ToggleCheckBox(ObjCol, 2);
    EXPECT_EQ(G->GetCellEx(ObjCol, 2), "Y");
    G->SetCellEx(ObjCol, 2, "N");
    EXPECT_FALSE(G->IsChecked(ObjCol, 2)) << "editing the text changes the state";
    G->RemoveCheckBox(ObjCol, 2);
    EXPECT_EQ(G->GetCellEx(ObjCol, 2), "N") << "the text stays";
    // a check text already in the cell wins over the state given
    G->SetCellEx(ObjCol, 3, "Y");
    G->AddCheckBox(ObjCol, 3, false, true);
    EXPECT_EQ(G->GetCellEx(ObjCol, 3), "Y");
    EXPECT_TRUE(G->IsChecked(ObjCol, 3));
}

TEST_F(CellObjects, CheckAllStartsAtTheFixedRowsAndReportsChanges) {
    G->MouseActions()->SetCheckAllCheck(true);
    G->AddCheckBoxColumn(ObjCol, false, false);
    EXPECT_TRUE(G->HasCheckBox(ObjCol, 0)) << "the column starts at row 0 with CheckAllCheck";
    G->SetCheckBoxState(ObjCol, 3, true);
    G->CheckAll(ObjCol);
    // while rows are hidden the state queries take real rows
    EXPECT_FALSE(G->IsChecked(ObjCol, 0));
    for (int r = 1; r < G->RowCount(); ++r) EXPECT_TRUE(G->IsChecked(ObjCol, G->RealRowIndex(r))) << r;
    EXPECT_EQ(Changes.size(), size_t(G->RowCount() - 2)) << "every row but the one already checked";
    Changes.clear();
    G->UnCheckAll(ObjCol);
    EXPECT_EQ(Changes.size(), size_t(G->RowCount() - 1));
    for (int r = 1; r < G->RowCount(); ++r) EXPECT_FALSE(G->IsChecked(ObjCol, G->RealRowIndex(r))) << r;
}

TEST_F(CellObjects, WhileRowsAreHiddenTheStateOperationsTakeRealRows) {
    // Bring the hidden row back, give it a box, hide it again: its box lives in the hidden store.
    G->UnHideRow(HiddenRow);
    G->AddCheckBox(ObjCol, HiddenRow, false, false);
    G->AddCheckBox(ObjCol, HiddenRow + 1, false, true);
    G->HideRow(HiddenRow);
    ASSERT_EQ(G->NumHiddenRows(), 1);
    EXPECT_TRUE(G->SetCheckBoxState(ObjCol, HiddenRow, true)) << "the hidden row's own box";
    EXPECT_TRUE(G->IsChecked(ObjCol, HiddenRow));
    EXPECT_FALSE(G->IsChecked(ObjCol, HiddenRow + 1));
    EXPECT_TRUE(G->SetCheckBoxState(ObjCol, HiddenRow + 1, true));
    EXPECT_EQ(G->GetCellEx(ObjCol, 6), "Y") << "real row 7 is displayed row 6";
    G->UnHideRow(HiddenRow);
    EXPECT_TRUE(G->IsChecked(ObjCol, HiddenRow));
}

TEST_F(CellObjects, RowCheckBoxFollowsTheRowSelection) {
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->MouseActions()->SetHotmailRowSelect(true);
    EXPECT_EQ(G->GetCellType(0, 2), ctRowCheckBox);
    EXPECT_TRUE(G->HasDataCheckBox(0, 2));
    EXPECT_FALSE(G->IsChecked(0, 2));
    EXPECT_TRUE(G->ToggleCheckBox(0, 2));
    EXPECT_TRUE(G->GetRowSelect(2));
    EXPECT_TRUE(G->IsChecked(0, 2));
    EXPECT_EQ(Record(0, 0)->CellAngle(), 1) << "the header box shows some rows selected";
    // attaching an object elsewhere leaves the shared record as it was
    G->AddComment(ObjCol, 2, "x");
    EXPECT_EQ(G->GetCellType(0, 3), ctRowCheckBox);
}

TEST_F(CellObjects, AutoCheckGroupGraysTheParentAndChecksTheChildren) {
    G->Grouping()->SetAutoCheckGroup(true);
    // a node heading rows 1 .. 3 (span 4 from row 1 means rows 2, 3, 4 below it)
    G->AddCheckBoxColumn(ObjCol, false, false);
    TCellGraphic* Node = G->NewCellGraphic(0, 1);
    Node->SetCellType(ctNode);
    Node->SetCellIndex(4);
    G->AddCheckBox(ObjCol, 1, cbUnchecked);
    G->ToggleCheckBox(ObjCol, 3);
    TCheckBoxState S = cbUnchecked;
    G->GetCheckBoxState(ObjCol, 1, S);
    EXPECT_EQ(S, cbGrayed);
    G->ToggleCheckBox(ObjCol, 1);
    G->GetCheckBoxState(ObjCol, 1, S);
    EXPECT_EQ(S, cbChecked);
    for (int r = 2; r <= 4; ++r) EXPECT_TRUE(G->IsChecked(ObjCol, r)) << r;
    EXPECT_FALSE(G->IsChecked(ObjCol, 5)) << "outside the group";
}

TEST_F(CellObjects, UndoStepOfAToggleHoldsTheRealTexts) {
    TExtGridUndoRedo Undo(nullptr);
    G->SetUndoRedo(&Undo);
    struct {
        const char* Name;
        std::function<void()> Add;
        QString Old, New;
    } Cases[] = {
        // a data box keeps its state in the text; its record's Boolean is stale
        {"data box checked", [&] { G->AddCheckBox(ObjCol, 2, false, true), G->SetCellEx(ObjCol, 2, "Y"); }, "Y", "N"},
        {"data box unchecked", [&] { G->AddCheckBox(ObjCol, 2, true, true), G->SetCellEx(ObjCol, 2, "N"); }, "N", "Y"},
        {"data box other text", [&] { G->AddCheckBox(ObjCol, 2, true, true), G->SetCellEx(ObjCol, 2, "?"); }, "?", "Y"},
        // the other kinds keep their state beside the text: their step holds the text as it is
        {"plain box", [&] { G->SetCellEx(ObjCol, 2, "label"), G->AddCheckBox(ObjCol, 2, true, false); }, "label",
         "label"},
        {"tri-state box", [&] { G->SetCellEx(ObjCol, 2, "tri"), G->AddCheckBox(ObjCol, 2, cbGrayed); }, "tri", "tri"},
        // the stored text, not the link the display makes of it
        {"plain box beside a link",
         [&] {
             G->SetURLShowInText(true);
             G->SetCellEx(ObjCol, 2, "www.example.com");
             G->AddCheckBox(ObjCol, 2, false, false);
         },
         "www.example.com", "www.example.com"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Undo.Reset();
        C.Add();
        ASSERT_TRUE(G->ToggleCheckBox(ObjCol, 2));
        ASSERT_EQ(Undo.Items()->Count(), 1);
        EXPECT_EQ(Undo.Items()->Items(0)->OrigValue(), C.Old);
        EXPECT_EQ(Undo.Items()->Items(0)->Value(), C.New);
    }
    G->SetURLShowInText(false);
    // undoing a plain box toggle never writes a check text over the cell's text
    G->SetCellEx(ObjCol, 3, "label");
    G->AddCheckBox(ObjCol, 3, false, false);
    Undo.Reset();
    G->ToggleCheckBox(ObjCol, 3);
    Undo.Undo();
    EXPECT_EQ(G->GetCellEx(ObjCol, 3), "label");
    // nor does a row check box's, whose column 0 holds the row's own text
    G->MouseActions()->SetHotmailRowSelect(true);
    Undo.Reset();
    ASSERT_TRUE(G->ToggleCheckBox(0, 4));
    Undo.Undo();
    EXPECT_EQ(G->GetCellEx(0, 4), "0,4");
    G->MouseActions()->SetHotmailRowSelect(false);
    // undoing a data box toggle puts its old text back
    G->AddCheckBox(ObjCol, 4, false, true);
    G->SetCellEx(ObjCol, 4, "Y");
    Undo.Reset();
    G->ToggleCheckBox(ObjCol, 4);
    Undo.Undo();
    EXPECT_EQ(G->GetCellEx(ObjCol, 4), "Y");
    G->SetUndoRedo(nullptr);
}

// ---- radio buttons ----------------------------------------------------------------------------------
TEST_F(CellObjects, RadioColumnHoldsOneButtonOn) {
    G->AddRadioButtonColumn(ObjCol);
    EXPECT_EQ(G->GetRadioButtonColumnIndex(ObjCol), -1);
    G->SetRadioButtonColumnIndex(ObjCol, 3);
    EXPECT_EQ(G->GetRadioButtonColumnIndex(ObjCol), 3);
    EXPECT_TRUE(G->ClickRadioButton(ObjCol, 5, false));
    EXPECT_EQ(G->GetRadioButtonColumnIndex(ObjCol), 5);
    EXPECT_FALSE(G->IsRadioButtonChecked(ObjCol, 3));
    EXPECT_TRUE(G->ClickRadioButton(ObjCol, 5, false)) << "already on";
    EXPECT_TRUE(G->SetRadioButtonState(ObjCol, 2, true));
    EXPECT_TRUE(G->IsRadioButtonChecked(ObjCol, 5)) << "setting one button leaves the others";
    EXPECT_FALSE(G->SetRadioButtonState(2, 2, true));
    EXPECT_FALSE(G->ClickRadioButton(2, 2, false));
    G->RemoveRadioButtonColumn(ObjCol);
    EXPECT_FALSE(G->HasRadioButton(ObjCol, 5));
}

// ---- comments, markers, shapes, scroll bars ---------------------------------------------------------
TEST_F(CellObjects, SetCommentAddsReplacesOrLeavesAlone) {
    G->ControlLook()->SetCommentColor(clBlue);
    G->SetComment(ObjCol, 1, "new");
    EXPECT_EQ(G->GetComment(ObjCol, 1), "new");
    EXPECT_EQ(Record(ObjCol, 1)->CellIndex(), int(clBlue));
    G->SetComment(ObjCol, 1, "changed");
    EXPECT_EQ(G->GetComment(ObjCol, 1), "changed");
    G->AddCheckBox(ObjCol, 2, true, false);
    G->SetComment(ObjCol, 2, "x");
    EXPECT_EQ(G->GetCellType(ObjCol, 2), ctCheckBox);
    QString C = "kept";
    EXPECT_FALSE(G->IsComment(ObjCol, 2, C));
    EXPECT_EQ(C, "kept");
    G->AddColorComment(ObjCol, 3, "red", clRed);
    G->RemoveAllComments();
    EXPECT_EQ(G->GetCellType(ObjCol, 1), ctEmpty);
    EXPECT_EQ(G->GetCellType(ObjCol, 3), ctEmpty);
    EXPECT_EQ(G->GetCellType(ObjCol, 2), ctCheckBox);
}

TEST_F(CellObjects, MarkersLiveInTheCellsOwnRecord) {
    G->AddMarker(ObjCol, 1, 2, 3);
    EXPECT_EQ(G->GetCellType(ObjCol, 1), ctEmpty) << "a marker-only record reports no kind";
    EXPECT_NE(Record(ObjCol, 1), nullptr);
    int P = -1, L = -1;
    G->GetMarker(ObjCol, 1, P, L);
    EXPECT_EQ(P, 2);
    EXPECT_EQ(L, 3);
    G->GetMarker(ObjCol, 2, P, L);
    EXPECT_EQ(P + L, 0);
    G->RemoveMarker(ObjCol, 1);
    EXPECT_EQ(Record(ObjCol, 1), nullptr);
    G->AddPicture(ObjCol, 2, SharedPicture(), false, noStretch, 0, haLeft, vaTop);
    G->AddMarker(ObjCol, 2, 1, 1);
    EXPECT_EQ(G->GetPicture(ObjCol, 2), SharedPicture());
    G->RemoveAllMarkers();
    G->GetMarker(ObjCol, 2, P, L);
    EXPECT_EQ(P + L, 0);
    EXPECT_EQ(G->GetPicture(ObjCol, 2), SharedPicture());
    // the shared row check box of column 0 takes no marker, so no other row shows one
    G->MouseActions()->SetHotmailRowSelect(true);
    G->AddMarker(0, 2, 4, 4);
    G->GetMarker(0, 3, P, L);
    EXPECT_EQ(P + L, 0);
    EXPECT_EQ(Record(0, 3)->CellErrLen(), 0);
}

TEST_F(CellObjects, QueriesOfAnotherKindAnswerTheirEmptyValue) {
    G->AddComment(ObjCol, 1, "c");
    for (int r : {1, 2}) {
        EXPECT_EQ(G->GetShapeColor(ObjCol, r), clNone);
        EXPECT_EQ(G->GetScrollPosition(ObjCol, r), -1);
        EXPECT_EQ(G->GetScrollProp(ObjCol, r).PageSize, -1);
        EXPECT_EQ(G->GetScrollProp(ObjCol, r).Range, -1);
        EXPECT_EQ(G->GetBitmap(ObjCol, r), nullptr);
        EXPECT_EQ(G->CellImageKey(ObjCol, r), -1);
        int A = 5;
        EXPECT_FALSE(G->IsRotated(ObjCol, r, A));
    }
    G->AddScrollBar(ObjCol, 2, false);
    G->SetScrollPosition(ObjCol, 2, 7);
    G->SetScrollProp(ObjCol, 2, {20, 300});
    EXPECT_EQ(G->GetScrollPosition(ObjCol, 2), 7);
    EXPECT_EQ(G->GetScrollProp(ObjCol, 2).Range, 300);
    EXPECT_FALSE(G->HasAutoRangeScrollBar(ObjCol, 2));
    G->AddScrollBar(ObjCol, 3, true);
    EXPECT_TRUE(G->HasAutoRangeScrollBar(ObjCol, 3));
    EXPECT_EQ(G->GetScrollProp(ObjCol, 3).PageSize, G->RowHeights(3));
}

// ---- buttons ----------------------------------------------------------------------------------------
TEST_F(CellObjects, PushButtonPressesButtonsOnly) {
    G->AddButton(ObjCol, 1, 30, 16, "b", haLeft, vaTop);
    G->AddCheckBox(ObjCol, 2, false, false);
    TCellGraphic* Node = G->NewCellGraphic(ObjCol, 3);
    Node->SetCellType(ctNode);
    G->AddProgressEx(ObjCol, 4, clGreen, clBlack, clWhite, clBlack);
    const int D = G->DisplColIndex(ObjCol);
    for (int r = 1; r <= 4; ++r) G->PushButton(D, r, true);
    EXPECT_TRUE(Record(ObjCol, 1)->CellBoolean()) << "the button is down";
    EXPECT_FALSE(G->IsChecked(ObjCol, 2)) << "a check box is no button";
    EXPECT_FALSE(Record(ObjCol, 3)->CellBoolean()) << "a node stays expanded";
    EXPECT_TRUE(Record(ObjCol, 4)->CellBoolean()) << "the progress bar keeps its text colours";
    G->PushButton(D, 1, false);
    EXPECT_FALSE(Record(ObjCol, 1)->CellBoolean());
    G->SetButtonText(D, 1, "renamed");
    EXPECT_EQ(G->GetButtonText(D, 1), "renamed");
    G->AddBitButton(ObjCol, 5, 30, 16, "g", SharedBitmap(), haLeft, vaTop);
    G->RemoveAllButtons();
    EXPECT_FALSE(G->HasButton(ObjCol, 1));
    EXPECT_FALSE(G->HasButton(ObjCol, 5));
    EXPECT_TRUE(G->HasCheckBox(ObjCol, 2));
}

TEST_F(CellObjects, ButtonTextsBelongToButtonsOnly) {
    const int D = G->DisplColIndex(ObjCol);
    G->AddComment(ObjCol, 1, "note");
    G->AddProgressFormatted(ObjCol, 2, clGreen, clBlack, clWhite, clBlack, "%d%%", 0, 100);
    G->AddButton(ObjCol, 3, 30, 16, "b", haLeft, vaTop);
    for (int r : {1, 2, 4}) {
        SCOPED_TRACE(r);
        G->SetButtonText(D, r, "x");
        EXPECT_EQ(G->GetButtonText(D, r), "");
    }
    EXPECT_EQ(G->GetComment(ObjCol, 1), "note");
    EXPECT_EQ(Record(ObjCol, 2)->CellText(), "%d%%") << "the progress format stays";
    EXPECT_EQ(G->GetCellType(ObjCol, 4), ctEmpty) << "no object is made";
    EXPECT_EQ(G->GetButtonText(D, 3), "b");
}

// ---- removing over the whole grid -------------------------------------------------------------------
struct RemoveAllCase {
    const char* Name;
    std::function<void(TExtStringGrid&, int, int)> Add;
    std::function<void(TExtStringGrid&)> RemoveAll;
    std::function<bool(TExtStringGrid&, int, int)> Has;
};
void PrintTo(const RemoveAllCase& C, std::ostream* Os) { *Os << C.Name; }

class RemoveAll : public CellObjects, public ::testing::WithParamInterface<RemoveAllCase> {};

// While a column is hidden the last real column lies past ColCount: it is on display all the same.
TEST_P(RemoveAll, ReachesEveryRealColumn) {
    const RemoveAllCase& C = GetParam();
    const int LastReal = G->TotalColCount() - 1;
    ASSERT_GE(LastReal, G->ColCount());
    G->AddCheckBox(ObjCol, 2, true, false);
    for (int Col : {0, HiddenCol, ObjCol, LastReal}) C.Add(*G, Col, 3);
    C.RemoveAll(*G);
    for (int Col : {0, HiddenCol, ObjCol, LastReal}) EXPECT_FALSE(C.Has(*G, Col, 3)) << Col;
    EXPECT_TRUE(G->HasCheckBox(ObjCol, 2)) << "another kind stays";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RemoveAll,
    ::testing::Values(
        RemoveAllCase{"Comments", [](TExtStringGrid& G, int c, int r) { G.AddComment(c, r, "c"); },
                      [](TExtStringGrid& G) { G.RemoveAllComments(); },
                      [](TExtStringGrid& G, int c, int r) { return G.GetCellType(c, r) == ctComment; }},
        RemoveAllCase{"Markers", [](TExtStringGrid& G, int c, int r) { G.AddMarker(c, r, 1, 2); },
                      [](TExtStringGrid& G) { G.RemoveAllMarkers(); },
                      [](TExtStringGrid& G, int c, int r) {
                          int P = 0, L = 0;
                          G.GetMarker(c, r, P, L);
                          return P + L > 0 || G.GetCellGraphic(c, r) != nullptr;
                      }},
        RemoveAllCase{"Buttons", [](TExtStringGrid& G, int c, int r) { G.AddButton(c, r, 20, 16, "b", haLeft, vaTop); },
                      [](TExtStringGrid& G) { G.RemoveAllButtons(); },
                      [](TExtStringGrid& G, int c, int r) { return G.HasButton(c, r); }}),
    [](const ::testing::TestParamInfo<RemoveAllCase>& I) { return std::string(I.param.Name); });

TEST_F(CellObjects, RemoveDataImageClearsTheTextOfADataImageOnly) {
    G->SetGridImages(Images.get());
    G->AddCheckBox(ObjCol, 2, true, false);
    G->RemoveDataImage(ObjCol, 2);
    G->RemoveDataImage(ObjCol, 3);
    EXPECT_EQ(G->GetCellEx(ObjCol, 2), "3,2") << "a check box's text stays";
    EXPECT_EQ(G->GetCellEx(ObjCol, 3), "3,3") << "a cell without object keeps its text";
    EXPECT_TRUE(G->HasCheckBox(ObjCol, 2));
}

// ---- rotation ---------------------------------------------------------------------------------------
TEST_F(CellObjects, RotationAnglesComeIntoRange) {
    const struct {
        int16_t In;
        int Out;
    } Cases[] = {{-90, 270}, {450, 90}, {360, 360}, {0, 0}, {-720, 0}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.In);
        G->AddRotated(ObjCol, 1, C.In, "t");
        int A = -1;
        EXPECT_TRUE(G->IsRotated(ObjCol, 1, A));
        EXPECT_EQ(A, C.Out);
        G->SetRotated(ObjCol, 2, C.In);
        EXPECT_TRUE(G->IsRotated(ObjCol, 2, A));
        EXPECT_EQ(A, C.Out);
    }
}

TEST_F(CellObjects, SetRotatedFreesWhatTheCellHeld) {
    G->CreateBitmap(ObjCol, 1, false, haLeft, vaTop)->SetSize(4, 4);
    G->SetRotated(ObjCol, 1, 90);
    TCellGraphic* CG = Record(ObjCol, 1);
    ASSERT_NE(CG, nullptr);
    EXPECT_EQ(CG->CellType(), ctRotated);
    EXPECT_TRUE(CG->BitmapSlot().Empty()) << "the created bitmap went with the old object";
}

// ---- shared records of the column grid --------------------------------------------------------------
class SharedRecords : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TExtColumnGrid>(nullptr);
        G->SetColCount(5);
        G->SetRowCount(6);
        G->Columns()->Items(3)->SetEditor(edDataCheckBox);
        G->HideColumn(HiddenCol);
    }
    std::unique_ptr<TExtColumnGrid> G;
};

TEST_F(SharedRecords, ObjectsInADataCheckBoxColumnLeaveTheSharedBoxAlone) {
    ASSERT_EQ(G->GetCellType(ObjCol, 2), ctDataCheckBox);
    TObject* Shared = G->GetCellGraphic(ObjCol, 2);
    ASSERT_EQ(dynamic_cast<TCellGraphic*>(Shared)->CellType(), ctVirtCheckBox);
    G->SetRotated(ObjCol, 2, 90);
    EXPECT_EQ(G->GetCellType(ObjCol, 2), ctRotated);
    EXPECT_EQ(G->GetCellGraphic(ObjCol, 3), Shared) << "the other cells keep their box";
    EXPECT_EQ(dynamic_cast<TCellGraphic*>(Shared)->CellType(), ctVirtCheckBox);
    G->AddMarker(ObjCol, 3, 1, 2);
    int P = 0, L = 0;
    G->GetMarker(ObjCol, 4, P, L);
    EXPECT_EQ(P + L, 0) << "no marker spreads over the column";
    EXPECT_EQ(G->GetCellGraphic(ObjCol, 4), Shared);
    EXPECT_EQ(dynamic_cast<TCellGraphic*>(Shared)->CellErrLen(), 0);
    G->AddComment(ObjCol, 4, "c");
    G->RemoveComment(ObjCol, 4);
    EXPECT_EQ(G->GetCellGraphic(ObjCol, 4), Shared) << "the shared record survives a removal";
    EXPECT_EQ(G->GetCellType(ObjCol, 4), ctDataCheckBox);
    EXPECT_TRUE(G->ToggleCheckBox(ObjCol, 4));
    EXPECT_EQ(G->GetCellEx(ObjCol, 4), "Y");
}

// ---- image keys -------------------------------------------------------------------------------------
TEST_F(CellObjects, ImageKeysKeepEveryBitOfTheObject) {
    G->SetGridImages(Images.get());
    G->AddBitmap(ObjCol, 1, SharedBitmap(), false, haLeft, vaTop);
    G->AddImageIdx(ObjCol, 2, 3, haLeft, vaTop);
    static_assert(sizeof(G->CellImageKey(0, 0)) == 8);
    EXPECT_EQ(G->CellImageKey(ObjCol, 1), int64_t(reinterpret_cast<intptr_t>(SharedBitmap())));
    EXPECT_EQ(G->CellImageKey(ObjCol, 2), 3);
    EXPECT_EQ(G->CellImageKey(ObjCol, 3), -1);
}

// ---- links in cell texts ---------------------------------------------------------------------------
TEST_F(CellObjects, DisplayTextLinksTheFirstAddressWithURLShowInText) {
    const struct {
        const char* Text;
        bool Linked;
    } Cases[] = {{"see www.example.com today", true},
                 {"mail mailto:a@b.c", true},
                 {"https://secure.example.com", true},
                 {"ftp://files.example.com/x", true},
                 {"no address here", false}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        QString V = C.Text;
        G->GetDisplText(ObjCol, 1, V);
        EXPECT_EQ(V, C.Text) << "unchanged while URLShowInText is off";
        G->SetURLShowInText(true);
        V = C.Text;
        G->GetDisplText(ObjCol, 1, V);
        EXPECT_EQ(V.contains("href", Qt::CaseInsensitive), C.Linked) << V.toStdString();
        G->SetURLShowInText(false);
    }
}

// ---- a grid with every kind, for a person to look at ------------------------------------------------
TEST_F(CellObjects, EveryKindInOneGridSavedAsPng) {
    auto Grid = std::make_unique<TExtStringGrid>(nullptr);
    Grid->SetColCount(5);
    Grid->SetRowCount(14);
    Grid->SetDefaultColWidth(110);
    Grid->SetDefaultRowHeight(26);
    Grid->SetBounds(0, 0, 4 * 110 + 10, 14 * 26 + 20);
    Grid->HideColumn(1);
    Grid->SetOptions(Grid->Options() << goEditing);
    TBitmap Strip(32, 16);
    Strip.Canvas()->Brush()->SetColor(clRed);
    Strip.Canvas()->FillRect(Rect(0, 0, 16, 16));
    Strip.Canvas()->Brush()->SetColor(clBlue);
    Strip.Canvas()->FillRect(Rect(16, 0, 32, 16));
    Images->Add(&Strip, nullptr);
    Grid->SetGridImages(Images.get());
    TBitmap Pic(20, 14);
    Pic.Canvas()->Brush()->SetColor(clGreen);
    Pic.Canvas()->FillRect(Rect(0, 0, 20, 14));
    const char* Names[] = {"check", "data check", "tri-state", "radio", "bitmap", "images", "progress",
                           "pie",   "range",      "comment",   "shape", "rating", "button"};
    for (int r = 1; r < 14; ++r) Grid->SetCells(0, r, Names[r - 1]);
    const int c = 2, t = 3;
    Grid->AddCheckBox(c, 1, true, false);
    Grid->SetCells(t, 1, "plain box");
    Grid->AddCheckBox(c, 2, true, true);
    Grid->AddCheckBox(c, 3, cbGrayed);
    Grid->AddRadioButton(c, 4, true);
    Grid->AddRadioButton(t, 4, false);
    Grid->AddBitmap(c, 5, &Pic, false, haBeforeText, vaCenter);
    Grid->SetCells(c, 5, "text");
    Grid->AddMultiImage(c, 6, 0, haLeft, vaTop);
    Record(0, 0); // nothing: keeps the fixture's grid in use
    dynamic_cast<TCellGraphic*>(Grid->GetCellGraphic(c, 6))->CellBitmapAs<TIntList>()->Add(0);
    dynamic_cast<TCellGraphic*>(Grid->GetCellGraphic(c, 6))->CellBitmapAs<TIntList>()->Add(1);
    Grid->AddImageIdx(t, 6, 1, haLeft, vaTop);
    Grid->SetCells(c, 7, "40");
    Grid->AddProgress(c, 7, clGreen, clWhite);
    Grid->SetCells(c, 8, "0");
    Grid->AddProgressPie(c, 8, clRed, 60);
    Grid->SetCells(c, 9, "-30");
    Grid->AddRangeIndicator(c, 9, 100, clRed, clGreen, true);
    Grid->SetCells(c, 10, "has a comment");
    Grid->AddComment(c, 10, "note");
    Grid->AddShape(c, 11, csCircle, clYellow, clBlack, haLeft, vaTop);
    Grid->AddShape(t, 11, csStar, clAqua, clNavy, haCenter, vaTop);
    Grid->SetCells(c, 12, "3.5");
    Grid->AddRating(c, 12, 5, clYellow, clSilver);
    Grid->AddButton(c, 13, 60, 20, "Press", haLeft, vaCenter);
    Grid->AddRotated(t, 13, 20, "turned");
    Grid->AddMarker(t, 2, 0, 4);
    Grid->SetCells(t, 2, "marked text");
    Grid->AddCheckBox(t, 3, true, false);
    QImage Img(Grid->Width(), Grid->Height(), QImage::Format_RGB32);
    Img.fill(Qt::white);
    Grid->render(&Img);
    const QString Path = QDir(QCoreApplication::applicationDirPath()).filePath("cell_objects_grid.png");
    ASSERT_TRUE(Img.save(Path));
    // the comment's red corner at the top right of its cell
    const TRect R = Grid->CellRect(Grid->DisplColIndex(c), 10);
    const QRgb Corner = Img.pixel(R.Right - 4, R.Top + 1);
    EXPECT_GT(qRed(Corner), 200);
    EXPECT_LT(qGreen(Corner), 60);
}

} // namespace
