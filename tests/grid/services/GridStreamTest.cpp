// The grid stream: a block with texts, properties and graphics comes back whole, at its own place
// or at a given point; damaged streams raise and change nothing; progress stays within 0..100.
#include "grid/control/CellGraphic.h"
#include "grid/control/GridCellIO.h"
#include "platform/rtl/Files.h"
#include "tests/grid/services/FileFixture.h"

#include <functional>
#include <string>

namespace {

void Feed(TMemoryStream& S, const QByteArray& B) {
    S.Clear();
    S.WriteBuffer(B.constData(), B.size());
    S.SetPosition(0);
}

} // namespace

TEST_F(GridFiles, WholeGridStreamRoundTripsTextsLooksAndGraphics) {
    G->SetColWidths(1, 77);
    G->SetRowHeights(3, 31);
    TCellProperties* P = G->GetCellProperties(1, 1);
    P->SetBrushColor(clRed);
    P->SetFontStyle({fsBold});
    P->SetAlignment(taRightJustify);
    G->AddCheckBox(3, 2, true, false);
    TStrings* Radio = G->CreateRadio(4, 3, 0, 1);
    Radio->Add("one");
    Radio->Add("two");
    TMemoryStream S;
    G->SaveToBinStream(&S);
    const qint64 Written = S.Size();
    S.Write("tail", 4);

    TExtStringGrid T(nullptr);
    T.SetColCount(2);
    T.SetRowCount(9);
    T.SetGridCell(1, 8, "old");
    S.SetPosition(0);
    T.LoadFromBinStream(&S);
    EXPECT_EQ(S.Position(), Written); // data after the block stays for the caller

    // Every real column comes back, the hidden one's text in its own place.
    ASSERT_EQ(T.ColCount(), RealCols);
    ASSERT_EQ(T.RowCount(), Rows);
    const auto Texts = GridFiles::Texts();
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < RealCols; ++c) EXPECT_EQ(T.GetGridCell(c, r), Texts[size_t(r)][size_t(c)]) << c << "," << r;
    EXPECT_EQ(T.ColWidths(1), 77);
    EXPECT_EQ(T.RowHeights(3), 31);
    ASSERT_TRUE(T.HasCellProperties(1, 1));
    EXPECT_EQ(T.GetCellProperties(1, 1)->BrushColor(), clRed);
    EXPECT_TRUE(T.GetCellProperties(1, 1)->FontStyle().Contains(fsBold));
    EXPECT_EQ(T.GetCellProperties(1, 1)->Alignment(), taRightJustify);
    EXPECT_EQ(T.GetCellType(3, 2), ctCheckBox);
    ASSERT_NE(T.GetRadioStrings(4, 3), nullptr);
    EXPECT_EQ(T.GetRadioStrings(4, 3)->Count(), 2);
    EXPECT_EQ(T.GetRadioStrings(4, 3)->Get(1), "two");
    // The copy owns its own list.
    EXPECT_NE(T.GetRadioStrings(4, 3), G->GetRadioStrings(4, 3));
}

TEST_F(GridFiles, BlockLandsAtThePointWhateverItsSourcePosition) {
    TMemoryStream S;
    G->SaveRectToBinStream(Rect(3, 1, 4, 2), &S);
    TExtStringGrid T(nullptr);
    T.SetColCount(8);
    T.SetRowCount(10);
    T.SetGridCell(0, 0, "kept");
    S.SetPosition(0);
    T.LoadAtPointFromBinStream(Point(5, 7), &S);
    EXPECT_EQ(T.GetGridCell(5, 7), "a,b");
    EXPECT_EQ(T.GetGridCell(6, 7), QString::fromUtf8("日本語"));
    EXPECT_EQ(T.GetGridCell(5, 8), "");
    EXPECT_EQ(T.GetGridCell(6, 8), "bare\rCR");
    EXPECT_EQ(T.GetGridCell(0, 0), "kept");
    EXPECT_EQ(T.ColCount(), 8);
    EXPECT_EQ(T.RowCount(), 10);
}

TEST_F(GridFiles, BlockPartlyOutsideTheGridKeepsWhatFits) {
    TMemoryStream S;
    G->SaveRectToBinStream(Rect(3, 1, 4, 2), &S);
    TExtStringGrid T(nullptr);
    T.SetColCount(6);
    T.SetRowCount(8);
    S.SetPosition(0);
    T.LoadAtPointFromBinStream(Point(5, 7), &S);
    EXPECT_EQ(T.GetGridCell(5, 7), "a,b");
    EXPECT_EQ(T.ColCount(), 6);
    EXPECT_EQ(T.RowCount(), 8);
}

TEST_F(GridFiles, WholeGridStreamClearsAndSizesTheTargetShiftedByThePoint) {
    TMemoryStream S;
    G->SaveToBinStream(&S);
    TExtStringGrid T(nullptr);
    T.SetColCount(12);
    T.SetRowCount(12);
    T.SetGridCell(1, 1, "gone");
    S.SetPosition(0);
    T.LoadAtPointFromBinStream(Point(1, 2), &S);
    EXPECT_EQ(T.GetGridCell(1, 1), "");
    EXPECT_EQ(T.ColCount(), 6);
    EXPECT_EQ(T.RowCount(), 7);
    EXPECT_EQ(T.GetGridCell(1 + 4, 2 + 1), QString::fromUtf8("日本語"));
}

TEST_F(GridFiles, WholeGridWithoutFixedCellsKeepsItsLastColumn) {
    G->SetSaveFixedCells(false);
    TMemoryStream S;
    G->SaveToBinStream(&S);
    TExtStringGrid T(nullptr);
    S.SetPosition(0);
    T.LoadFromBinStream(&S);
    EXPECT_EQ(T.GetGridCell(4, 4), "end");
    EXPECT_EQ(T.GetGridCell(0, 0), "");
}

TEST_F(GridFiles, BinFileRoundTripAndAFailedSaveLeavesTheOldFile) {
    const QString F = Path("grid.bin");
    G->SaveToBinFile(F);
    TExtStringGrid T(nullptr);
    T.LoadFromBinFile(F);
    EXPECT_EQ(T.GetGridCell(2, 1), "hidden text");
    const QByteArray Before = ReadFileBytes(F);
    EXPECT_THROW(G->SaveRectToBinStream(Rect(0, 0, 9, 9), nullptr), EExtGridError);
    EXPECT_THROW(G->SaveToBinFile(Path("missing/dir/grid.bin")), EInOutError);
    EXPECT_EQ(ReadFileBytes(F), Before);
}

TEST_F(GridFiles, SavingReportsEveryRowAndProgressToAHundred) {
    std::vector<int> Progress;
    G->OnFileProgress = [&](TObject*, short P) { Progress.push_back(P); };
    TMemoryStream S;
    // A block that starts low in the grid: progress counts the block's rows, not the grid's.
    G->SaveRectToBinStream(Rect(1, 2, 3, 4), &S);
    EXPECT_EQ(Progress, (std::vector<int>{0, 50, 100}));

    Progress.clear();
    TExtStringGrid T(nullptr);
    T.SetColCount(10);
    T.SetRowCount(3);
    T.OnFileProgress = G->OnFileProgress;
    S.SetPosition(0);
    T.LoadAtPointFromBinStream(Point(0, 2), &S); // rows past the end: never above 100
    ASSERT_FALSE(Progress.empty());
    for (int P : Progress) EXPECT_LE(P, 100);
}

// ---- damaged streams ------------------------------------------------------------------------------
struct DamageCase {
    const char* Name;
    std::function<QByteArray(const QByteArray& Good)> Make;
};
void PrintTo(const DamageCase& C, std::ostream* Os) { *Os << C.Name; }

QByteArray Header(int Cols, int Rows, const QString& Widths, const QString& Heights, int Version = 1) {
    TMemoryStream S;
    TGridPropIO H(nullptr);
    H.SetVersion(Version);
    H.SetColCount(Cols);
    H.SetRowCount(Rows);
    H.SetColWidths(Widths);
    H.SetRowHeights(Heights);
    WriteGridCarrier(&S, &H);
    return S.Bytes();
}

QByteArray CellRecord(int Col, int Row, const QString& Text, bool HasProp = false) {
    TMemoryStream S;
    TGridCellIO C(nullptr);
    C.SetCol(Col);
    C.SetRow(Row);
    C.SetCell(Text);
    C.SetHasProp(HasProp);
    WriteGridCarrier(&S, &C);
    return S.Bytes();
}

class DamagedStream : public GridFiles, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedStream, RaisesAndChangesNothing) {
    TMemoryStream Src;
    G->GetCellProperties(3, 1)->SetBrushColor(clBlue);
    G->SaveRectToBinStream(Rect(1, 1, 3, 2), &Src);
    const QByteArray Bad = GetParam().Make(Src.Bytes());

    auto T = MakeGrid();
    const auto Before = Snapshot(T.get());
    TMemoryStream S;
    Feed(S, Bad);
    EXPECT_THROW(T->LoadAtPointFromBinStream(Point(0, 0), &S), EReadError);
    EXPECT_EQ(Snapshot(T.get()), Before);
    EXPECT_FALSE(T->HasCellProperties(0, 0));
}

INSTANTIATE_TEST_SUITE_P(
    GridStream, DamagedStream,
    ::testing::Values(
        DamageCase{"Empty", [](const QByteArray&) { return QByteArray(); }},
        DamageCase{"Foreign", [](const QByteArray&) { return QByteArray("1,1\r\n0,0,text\r\n"); }},
        DamageCase{"CutInTheLastCell", [](const QByteArray& B) { return B.left(B.size() - 3); }},
        DamageCase{"CutAfterTheHeader", [](const QByteArray&) { return Header(3, 2, "1,2,3", "4,5"); }},
        DamageCase{"LaterVersion", [](const QByteArray&) { return Header(1, 1, "1", "1", 2) + CellRecord(0, 0, "x"); }},
        DamageCase{"HugeCount",
                   [](const QByteArray&) { return Header(100000, 100000, "", "") + CellRecord(0, 0, "x"); }},
        DamageCase{
            "WidthsDoNotMatch",
            [](const QByteArray&) { return Header(2, 1, "10", "5") + CellRecord(0, 0, "a") + CellRecord(1, 0, "b"); }},
        DamageCase{"WidthNotANumber",
                   [](const QByteArray&) { return Header(1, 1, "1x", "5") + CellRecord(0, 0, "a"); }},
        DamageCase{
            "CellOutsideTheBlock",
            [](const QByteArray&) { return Header(2, 1, "1,1", "1") + CellRecord(0, 0, "a") + CellRecord(5, 0, "b"); }},
        DamageCase{"PropertiesMissing",
                   [](const QByteArray&) { return Header(1, 1, "1", "1") + CellRecord(0, 0, "a", true); }},
        DamageCase{"FlippedClassName",
                   [](const QByteArray& B) {
                       QByteArray D = B;
                       const int At = int(D.indexOf(QByteArray("T\0G\0r\0i\0d\0C\0e\0l\0l\0I\0O", 21)));
                       D[At + 2] = 'X';
                       return D;
                   }},
        DamageCase{"PropertyOfTheWrongType",
                   [](const QByteArray& B) {
                       QByteArray D = B;
                       // The first cell's "Col" value kind (Int) turned into a Boolean.
                       const int At = int(D.indexOf(QByteArray("\x03"
                                                               "Col",
                                                               4)));
                       D[At + 4] = 2;
                       return D;
                   }}),
    [](const ::testing::TestParamInfo<DamageCase>& I) { return std::string(I.param.Name); });
