// The cell text file and stream: odd texts come back as they were, no text can split its line,
// damaged lines and headers are refused, and CellToReal reads numbers or says where it failed.
#include "grid/services/GridFileIO.h"
#include "platform/rtl/Files.h"
#include "tests/grid/services/FileFixture.h"

#include <QFile>

#include <string>

namespace {

void WriteRaw(const QString& Path, const QByteArray& Bytes) {
    QFile F(Path);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Bytes);
}

} // namespace

// ---- the line codec ---------------------------------------------------------------------------------
struct CodecCase {
    const char* Name;
    QString Text;
    QString Encoded; // empty: only the round trip is checked
};
void PrintTo(const CodecCase& C, std::ostream* Os) { *Os << C.Name; }

class CellLineCodec : public ::testing::TestWithParam<CodecCase> {};

TEST_P(CellLineCodec, RoundTripsOnOneLine) {
    const CodecCase& C = GetParam();
    const QString E = EncodeCellFileText(C.Text);
    EXPECT_FALSE(E.contains(QLatin1Char('\r')) || E.contains(QLatin1Char('\n')));
    if (!C.Encoded.isEmpty()) EXPECT_EQ(E, C.Encoded);
    EXPECT_EQ(DecodeCellFileText(E, true), C.Text);
}

INSTANTIATE_TEST_SUITE_P(
    CellFile, CellLineCodec,
    ::testing::Values(CodecCase{"Plain", "plain", "plain"},
                      // A tab without a line break is written as it is.
                      CodecCase{"TabOnly", "a\tb", "a\tb"},
                      CodecCase{"LineBreakPair", "a\r\nb", QString("a") + QChar(9) + QChar(8) + "b"},
                      CodecCase{"TabAndLineBreak", "a\tb\r\nc", ""}, CodecCase{"BareCR", "a\rb", ""},
                      CodecCase{"BareLF", "a\nb", ""}, CodecCase{"LFCR", "a\n\rb", ""},
                      CodecCase{"Marks", QString("x") + QChar(8) + QChar(1) + QChar(0x1B) + "e", ""},
                      CodecCase{"NulWithBreak", QString("a") + QChar(0) + "\r\n", ""},
                      CodecCase{"EscapeAtEnd", QString("a") + QChar(0x1B), ""}),
    [](const ::testing::TestParamInfo<CodecCase>& I) { return std::string(I.param.Name); });

TEST(CellLineCodec, FirstLineOnlyUnlessWhole) {
    EXPECT_EQ(DecodeCellFileText(EncodeCellFileText("one\r\ntwo"), false), "one");
    EXPECT_EQ(DecodeCellFileText(EncodeCellFileText("one\ntwo"), false), "one");
    EXPECT_EQ(DecodeCellFileText(QString("a") + QChar(9) + QChar(8) + "b", true), "a\r\nb");
}

// ---- the file ---------------------------------------------------------------------------------------
class CellFileRoundTrip : public GridFiles, public ::testing::WithParamInterface<bool> {};

TEST_P(CellFileRoundTrip, OddTextsComeBackInTheirCells) {
    const QString F = Path("cells.txt");
    G->SetMultilinecells(true);
    G->SaveToFile(F, GetParam());
    TExtStringGrid T(nullptr);
    T.SetMultilinecells(true);
    T.LoadFromFile(F);
    // Only the columns on display are saved, each under its display index.
    ASSERT_EQ(T.ColCount(), G->ColCount());
    ASSERT_EQ(T.RowCount(), Rows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < G->ColCount(); ++c)
            EXPECT_EQ(T.GetGridCell(c, r), G->GetGridCell(G->RealColIndex(c), r)) << c << "," << r;
}

INSTANTIATE_TEST_SUITE_P(CellFile, CellFileRoundTrip, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& I) { return I.param ? "Unicode" : "Ansi"; });

TEST_F(GridFiles, CellFileWithHiddenCellsKeepsEveryRealColumn) {
    const QString F = Path("cells.txt");
    G->SetSaveHiddenCells(true);
    G->SetMultilinecells(true);
    G->SaveToFile(F);
    TExtStringGrid T(nullptr);
    T.SetMultilinecells(true);
    T.LoadFromFile(F);
    ASSERT_EQ(T.ColCount(), RealCols);
    const auto Texts = GridFiles::Texts();
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < RealCols; ++c) EXPECT_EQ(T.GetGridCell(c, r), Texts[size_t(r)][size_t(c)]);
}

TEST_F(GridFiles, CellFileLinesAsTheyAreWritten) {
    TExtStringGrid S(nullptr);
    S.SetColCount(2);
    S.SetRowCount(2);
    S.SetColWidths(1, 40);
    S.SetGridCell(1, 1, "a\r\nb");
    const QString F = Path("small.txt");
    S.SaveToFile(F);
    EXPECT_EQ(ReadFileBytes(F), QByteArray("2,2\r\ncw 0,64\r\ncw 1,40\r\n1,1,a\t\bb\r\n"));
}

TEST_F(GridFiles, CellFileLoadSkipsLinesThatAreNoCells) {
    const QString F = Path("odd.txt");
    WriteRaw(F,
             "3,3\r\ncw 1,50\r\ncw 9,70\r\nno commas here\r\n5,one comma\r\n1,1,ok\r\n7,1,outside\r\n"
             "2,2,multi\t\bline\r\n");
    G->LoadFromFile(F);
    EXPECT_EQ(G->ColWidths(1), 50);
    EXPECT_EQ(G->GetGridCell(1, 1), "ok");
    EXPECT_EQ(G->GetGridCell(0, 0), ""); // the lines without their commas land nowhere
    EXPECT_EQ(G->GetGridCell(2, 2), "multi"); // only the first line without Multilinecells
}

TEST_F(GridFiles, CorruptCellFileHeaderChangesNothing) {
    const auto Before = Snapshot(G.get());
    for (const char* Header : {"0,5\r\n", "abc\r\n", "-3,4\r\n", "99999999,99999999\r\n"}) {
        const QString F = Path("bad.txt");
        WriteRaw(F, QByteArray(Header) + "1,1,x\r\n");
        EXPECT_THROW(G->LoadFromFile(F), EExtGridError) << Header;
        EXPECT_EQ(Snapshot(G.get()), Before) << Header;
    }
}

TEST_F(GridFiles, CellFileSaveIsWholeOrNothing) {
    const QString F = Path("keep.txt");
    WriteRaw(F, "old");
    G->OnSaveCell = [](TObject*, int, int ARow, QString&) {
        if (ARow == 3) throw EExtGridError("stop");
    };
    EXPECT_THROW(G->SaveToFile(F), EExtGridError);
    EXPECT_EQ(ReadFileBytes(F), QByteArray("old"));
}

TEST_F(GridFiles, CellFileProgressCountsTheSavedRows) {
    std::vector<int> P;
    G->OnFileProgress = [&](TObject*, short V) { P.push_back(V); };
    G->SetSaveFixedCells(false); // rows 1..4: progress still ends at 100
    G->SaveToFile(Path("p.txt"));
    EXPECT_EQ(P, (std::vector<int>{0, 33, 67, 100}));
}

TEST_F(GridFiles, CellStreamLeavesWhatFollowsTheCells) {
    TMemoryStream S;
    G->SetMultilinecells(true);
    G->SaveToStream(&S);
    const qint64 End = S.Size();
    const QString Tail = "tail line\r\n";
    for (QChar C : Tail) S.Write(&C, 2);
    TExtStringGrid T(nullptr);
    T.SetMultilinecells(true);
    S.SetPosition(0);
    T.LoadFromStream(&S);
    EXPECT_EQ(S.Position(), End);
    EXPECT_EQ(T.GetGridCell(2, 2), G->GetGridCell(G->RealColIndex(2), 2));
    EXPECT_EQ(T.GetGridCell(1, 3), "bare\nLF");
}

TEST_F(GridFiles, CellStreamWithMalformedNumbersRaises) {
    TMemoryStream S;
    const QString Text = "2,2\r\nx,1,a\r\n";
    for (QChar C : Text) S.Write(&C, 2);
    S.SetPosition(0);
    EXPECT_THROW(G->LoadFromStream(&S), EConvertError);
}

// An empty cell has no line, so loading leaves the target's own text in that cell.
class CellTextEmptyCells : public GridFiles, public ::testing::WithParamInterface<bool> {};

TEST_P(CellTextEmptyCells, WriteNoLineAndKeepTheTargetsText) {
    const bool Stream = GetParam();
    TExtStringGrid S(nullptr);
    S.SetColCount(3);
    S.SetRowCount(3);
    S.SetGridCell(1, 1, "one");
    S.SetGridCell(2, 2, "two");
    S.HideColumn(0);
    TExtStringGrid T(nullptr);
    T.SetColCount(3);
    T.SetRowCount(3);
    T.SetGridCell(0, 0, "old");
    T.SetGridCell(1, 1, "kept");
    QString Written;
    if (Stream) {
        TMemoryStream M;
        S.SaveToStream(&M);
        Written = QString(reinterpret_cast<const QChar*>(M.Bytes().constData()), int(M.Size() / 2));
        M.SetPosition(0);
        T.LoadFromStream(&M);
    } else {
        S.SaveToFile(Path("sparse.txt"));
        Written = DecodeText(ReadFileBytes(Path("sparse.txt")));
        T.LoadFromFile(Path("sparse.txt"));
    }
    // One size line, a width line per shown column, one line per non-empty cell.
    EXPECT_EQ(Written.count("\r\n"), 1 + 2 + 2) << Written.toStdString();
    EXPECT_EQ(T.GetGridCell(0, 0), "old");
    EXPECT_EQ(T.GetGridCell(1, 1), "kept");
    EXPECT_EQ(T.GetGridCell(0, 1), "one"); // saved under its display column
    EXPECT_EQ(T.GetGridCell(1, 2), "two");
}

INSTANTIATE_TEST_SUITE_P(CellFile, CellTextEmptyCells, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& I) { return I.param ? "Stream" : "File"; });

// ---- numbers ----------------------------------------------------------------------------------------
TEST_F(GridFiles, CellToRealReadsNumbersAndNamesTheFailingPosition) {
    G->SetGridCell(1, 1, "12.5");
    EXPECT_DOUBLE_EQ(G->CellToReal(1, 1), 12.5);
    G->SetGridCell(1, 1, "");
    EXPECT_DOUBLE_EQ(G->CellToReal(1, 1), 0);
    G->SetGridCell(1, 1, "-3e2");
    EXPECT_DOUBLE_EQ(G->CellToReal(1, 1), -300);
    G->SetGridCell(1, 1, "1.5.2");
    try {
        G->CellToReal(1, 1);
        ADD_FAILURE() << "no error";
    } catch (const EExtGridError& E) {
        EXPECT_EQ(E.Message(), "Error at position: 4 in Cell [1, 1].");
    }
}
