// CSV, fixed-width text and the padded report: odd texts survive a round trip under each
// setting, foreign CSV (quoted line breaks, any line end) loads as written, the delimiter is
// found as described, loading replaces and inserting appends, and writers write whole files.
#include "grid/control/GridFooter.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Files.h"
#include "tests/grid/services/FileFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>

#include <functional>
#include <string>

namespace {

void WriteRaw(const QString& Path, const QByteArray& Bytes) {
    QFile F(Path);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Bytes);
}

QString FileText(const QString& Path) { return DecodeText(ReadFileBytes(Path)); }

// The texts of the display columns of a row.
QStringList RowTexts(TExtStringGrid* G, int Row) {
    QStringList L;
    for (int c = 0; c < G->ColCount(); ++c) L << G->GetGridCell(G->RealColIndex(c), Row);
    return L;
}

} // namespace

// ---- round trips ------------------------------------------------------------------------------------
struct CsvSetting {
    const char* Name;
    std::function<void(TExtStringGrid*)> Apply;
    bool Unicode = false;
};
void PrintTo(const CsvSetting& C, std::ostream* Os) { *Os << C.Name; }

class CsvRoundTrip : public GridFiles, public ::testing::WithParamInterface<CsvSetting> {};

TEST_P(CsvRoundTrip, OddTextsComeBack) {
    const QString F = Path("grid.csv");
    GetParam().Apply(G.get());
    G->SaveToCSV(F, GetParam().Unicode);
    TExtStringGrid T(nullptr);
    GetParam().Apply(&T);
    T.LoadFromCSV(F);
    EXPECT_TRUE(T.Delimiter() == G->Delimiter());
    ASSERT_EQ(T.RowCount(), Rows);
    for (int r = 0; r < Rows; ++r)
        EXPECT_EQ(RowTexts(&T, r).mid(0, G->ColCount()), RowTexts(G.get(), r)) << "row " << r;
}

INSTANTIATE_TEST_SUITE_P(
    Csv, CsvRoundTrip,
    ::testing::Values(CsvSetting{"Defaults", [](TExtStringGrid*) {}},
                      CsvSetting{"Unicode", [](TExtStringGrid*) {}, true},
                      CsvSetting{"Semicolon", [](TExtStringGrid* G) { G->SetDelimiter(u';'); }},
                      CsvSetting{"Tab", [](TExtStringGrid* G) { G->SetDelimiter(u'\t'); }},
                      CsvSetting{"AlwaysQuotes", [](TExtStringGrid* G) { G->SetAlwaysQuotes(true); }},
                      CsvSetting{"NoEmptyQuotes", [](TExtStringGrid* G) { G->SetQuoteEmptyCells(false); }}),
    [](const ::testing::TestParamInfo<CsvSetting>& I) { return std::string(I.param.Name); });

TEST_F(GridFiles, JavaCsvKeepsLineBreakPairsAndDelimiters) {
    TExtStringGrid S(nullptr);
    S.SetColCount(3);
    S.SetRowCount(2);
    S.SetJavaCSV(true);
    S.SetGridCell(0, 1, "a,b");
    S.SetGridCell(1, 1, "one\r\ntwo");
    const QString F = Path("java.csv");
    S.SaveToCSV(F);
    EXPECT_EQ(FileText(F), "^,^,^\r\n\"a,b\",one~two,^\r\n");
    TExtStringGrid T(nullptr);
    T.SetJavaCSV(true);
    T.LoadFromCSV(F);
    EXPECT_EQ(T.GetGridCell(0, 1), "a,b");
    EXPECT_EQ(T.GetGridCell(1, 1), "one\r\ntwo");
    EXPECT_EQ(T.GetGridCell(2, 1), "");
}

struct JavaCase {
    const char* Name;
    QString Text;
    QString Written;
    QString ReadBack;
};
void PrintTo(const JavaCase& C, std::ostream* Os) { *Os << C.Name; }

class JavaCsvField : public GridFiles, public ::testing::WithParamInterface<JavaCase> {};

TEST_P(JavaCsvField, IsWrittenWithItsMarksAndReadBack) {
    TExtStringGrid S(nullptr);
    S.SetColCount(2);
    S.SetRowCount(2);
    S.SetJavaCSV(true);
    S.SetGridCell(0, 0, "h");
    S.SetGridCell(1, 0, "h");
    S.SetGridCell(0, 1, GetParam().Text);
    S.SetGridCell(1, 1, "z");
    const QString F = Path("java_field.csv");
    S.SaveToCSV(F);
    EXPECT_EQ(FileText(F), "h,h\r\n" + GetParam().Written + ",z\r\n");
    TExtStringGrid T(nullptr);
    T.SetJavaCSV(true);
    T.LoadFromCSV(F);
    EXPECT_EQ(T.GetGridCell(0, 1), GetParam().ReadBack);
    EXPECT_EQ(T.GetGridCell(1, 1), "z");
}

INSTANTIATE_TEST_SUITE_P(Csv, JavaCsvField,
                         ::testing::Values(JavaCase{"Empty", "", "^", ""},
                                           JavaCase{"Pair", "one\r\ntwo", "one~two", "one\r\ntwo"},
                                           // Every kind of line break keeps its place; the format knows only the pair.
                                           JavaCase{"BareLF", "lf\nonly", "lf~only", "lf\r\nonly"},
                                           JavaCase{"BareCR", "cr\ronly", "cr~only", "cr\r\nonly"},
                                           JavaCase{"LFCR", "a\n\rb", "a~~b", "a\r\n\r\nb"},
                                           JavaCase{"Delimiter", "a,b", "\"a,b\"", "a,b"}),
                         [](const ::testing::TestParamInfo<JavaCase>& I) { return std::string(I.param.Name); });

// ---- written forms --------------------------------------------------------------------------------
struct FieldCase {
    const char* Name;
    QString Text;
    QString Written;
};
void PrintTo(const FieldCase& C, std::ostream* Os) { *Os << C.Name; }

class CsvField : public GridFiles, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(CsvField, IsWrittenAsExpectedAndReadBack) {
    TExtStringGrid S(nullptr);
    S.SetColCount(2);
    S.SetRowCount(2);
    S.SetGridCell(0, 1, GetParam().Text);
    S.SetGridCell(1, 1, "z");
    S.SetGridCell(0, 0, "h");
    S.SetGridCell(1, 0, "h");
    const QString F = Path("field.csv");
    S.SaveToCSV(F);
    EXPECT_EQ(FileText(F), "h,h\r\n" + GetParam().Written + ",z\r\n");
    TExtStringGrid T(nullptr);
    T.LoadFromCSV(F);
    EXPECT_EQ(T.GetGridCell(0, 1), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Csv, CsvField,
    ::testing::Values(FieldCase{"Empty", "", "\"\""}, FieldCase{"Comma", "a,b", "\"a,b\""},
                      FieldCase{"Quote", "say \"hi\"", "\"say \"\"hi\"\"\""},
                      FieldCase{"QuoteAndComma", "a,\"b", "\"a,\"\"b\""},
                      FieldCase{"TwoLines", "one\r\ntwo", QString("\"one") + QChar(11) + "two\""},
                      FieldCase{"QuotedTwoLines", "\"x\"\r\ny", QString("\"\"\"x\"\"") + QChar(11) + "y\""},
                      FieldCase{"BareLF", "one\ntwo", "\"one\ntwo\""}, FieldCase{"BareCR", "one\rtwo", "\"one\rtwo\""},
                      FieldCase{"LeadingBlanks", "  x", "\"  x\""}, FieldCase{"OneBlank", " ", "\" \""},
                      FieldCase{"NonLatin", QString::fromUtf8("Ελληνικά 日本"), QString::fromUtf8("Ελληνικά 日本")}),
    [](const ::testing::TestParamInfo<FieldCase>& I) { return std::string(I.param.Name); });

// ---- reading foreign files ----------------------------------------------------------------------------
struct ForeignCase {
    const char* Name;
    QByteArray File;
    std::vector<QStringList> Rows; // from row 0
};
void PrintTo(const ForeignCase& C, std::ostream* Os) { *Os << C.Name; }

class CsvForeign : public GridFiles, public ::testing::WithParamInterface<ForeignCase> {};

TEST_P(CsvForeign, LoadsAsWritten) {
    const QString F = Path("foreign.csv");
    WriteRaw(F, GetParam().File);
    G->LoadFromCSV(F);
    EXPECT_TRUE(G->Delimiter().isNull());
    // A grid keeps one row below its fixed ones.
    ASSERT_EQ(G->RowCount(), std::max(int(GetParam().Rows.size()), G->FixedRows() + 1));
    for (size_t r = 0; r < GetParam().Rows.size(); ++r) {
        const QStringList& Want = GetParam().Rows[r];
        for (int c = 0; c < Want.size(); ++c)
            EXPECT_EQ(G->GetGridCell(G->RealColIndex(c), int(r)), Want.at(c)) << r << "," << c;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Csv, CsvForeign,
    ::testing::Values(
        ForeignCase{"QuotedLineBreaks",
                    "a,b\r\n\"x\r\ny\",\"p\nq\"\r\nlast,row\r\n",
                    {{"a", "b"}, {"x\r\ny", "p\nq"}, {"last", "row"}}},
        ForeignCase{"LFLineEnds", "a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}},
        ForeignCase{"CRLineEnds", "a,b\rc,d", {{"a", "b"}, {"c", "d"}}},
        ForeignCase{
            "SemicolonsWinOverAComma", "a;b;c;d,e\r\n1;2;3;4,5\r\n", {{"a", "b", "c", "d,e"}, {"1", "2", "3", "4,5"}}},
        ForeignCase{"OneLineMostFrequent", "a|b|c,d", {{"a", "b", "c,d"}}},
        ForeignCase{"DoubledCommasSecondPass", "a,,b\r\nc,,d\r\n", {{"a", "", "b"}, {"c", "", "d"}}},
        ForeignCase{"LeadingBlankDropped", "  a, b,c\r\n", {{"a", "b", "c"}}},
        ForeignCase{"SingleBlankKept", "x,y, \r\n", {{"x", "y", " "}}},
        ForeignCase{"StrayQuoteInsideAField", "5\" screen,b\r\nc,d\r\n", {{"5\" screen", "b"}, {"c", "d"}}},
        ForeignCase{"Utf8Bom", "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9,x\r\n", {{QString::fromUtf8("été"), "x"}}}),
    [](const ::testing::TestParamInfo<ForeignCase>& I) { return std::string(I.param.Name); });

TEST_F(GridFiles, LoadingReplacesTheContentAndInsertingAppends) {
    const QString F = Path("two.csv");
    WriteRaw(F, "p,q\r\nr,s\r\n");
    G->LoadFromCSV(F);
    EXPECT_EQ(G->RowCount(), 2);
    EXPECT_EQ(RowTexts(G.get(), 0), (QStringList{"p", "q", "", ""}));
    EXPECT_EQ(G->GetGridCell(HiddenRealCol, 1), ""); // nothing old is left, hidden or not
    G->InsertFromCSV(F);
    EXPECT_EQ(G->RowCount(), 4);
    EXPECT_EQ(RowTexts(G.get(), 3), (QStringList{"r", "s", "", ""}));
    EXPECT_EQ(RowTexts(G.get(), 0), (QStringList{"p", "q", "", ""}));
}

TEST_F(GridFiles, LoadEndsWithTheRowsReadPlusFootersAndHonoursMaxRows) {
    QByteArray B;
    for (int i = 0; i < 2500; ++i) B += QByteArray::number(i) + ",x\r\n";
    const QString F = Path("many.csv");
    WriteRaw(F, B);
    G->SetFixedFooters(1);
    G->LoadFromCSV(F);
    EXPECT_EQ(G->RowCount(), 2501);
    EXPECT_EQ(G->GetGridCell(0, 2499), "2499");
    G->LoadFromCSV(F, 10);
    EXPECT_EQ(G->RowCount(), 11);
    G->SetLoadFirstRow(false);
    G->LoadFromCSV(F, 3);
    EXPECT_EQ(G->GetGridCell(0, 0), "1");
}

TEST_F(GridFiles, EmptyFileChangesNothingAndEmptyStreamRaises) {
    const auto Before = Snapshot(G.get());
    WriteRaw(Path("empty.csv"), "");
    G->LoadFromCSV(Path("empty.csv"));
    EXPECT_EQ(Snapshot(G.get()), Before);
    TMemoryStream S;
    EXPECT_THROW(G->LoadFromCSVStream(&S), Exception);
    TMemoryStream T;
    T.Write("a;b\r\n", 5);
    T.SetPosition(0);
    G->LoadFromCSVStream(&T);
    EXPECT_EQ(RowTexts(G.get(), 0).mid(0, 2), (QStringList{"a", "b"}));
}

TEST_F(GridFiles, InsertUnderAFloatingFooterKeepsTheFooterRowLast) {
    G->FloatingFooter()->SetVisible(true);
    G->SetGridCell(0, Rows - 1, "total");
    WriteRaw(Path("add.csv"), "n1,v1\r\n");
    G->InsertFromCSV(Path("add.csv"));
    EXPECT_EQ(G->RowCount(), Rows + 1);
    EXPECT_EQ(G->GetGridCell(0, Rows - 1), "n1");
    EXPECT_EQ(G->GetGridCell(0, Rows), "total");
}

TEST_F(GridFiles, AppendNeedsTheFileAndWritesItWhole) {
    const QString F = Path("log.csv");
    EXPECT_THROW(G->AppendToCSV(F), EInOutError);
    EXPECT_FALSE(FileExists(F));
    WriteRaw(F, "first,line\r\n");
    G->SetSaveFixedCells(false);
    G->AppendToCSV(F);
    const QStringList Lines = FileText(F).split("\r\n");
    EXPECT_EQ(Lines.first(), "first,line");
    EXPECT_EQ(Lines.size(), 1 + (Rows - 1) + 1); // the last line break leaves one empty entry
    const QByteArray Before = ReadFileBytes(F);
    G->OnSaveCell = [](TObject*, int, int ARow, QString&) {
        if (ARow == 2) throw EExtGridError("stop");
    };
    EXPECT_THROW(G->AppendToCSV(F), EExtGridError);
    EXPECT_EQ(ReadFileBytes(F), Before);
}

TEST_F(GridFiles, AppendKeepsTheFileTextAsItIs) {
    // A spreadsheet's file: LF line ends, a quoted line break, no break after the last line.
    const QString F = Path("sheet.csv");
    WriteRaw(F, "\"p\nq\",x\nlast,row");
    G->SetSaveFixedCells(false);
    G->AppendToCSV(F);
    EXPECT_TRUE(FileText(F).startsWith("\"p\nq\",x\nlast,row\r\n")) << FileText(F).toStdString();
    TExtStringGrid T(nullptr);
    T.LoadFromCSV(F);
    EXPECT_EQ(T.GetGridCell(0, 0), "p\nq");
    EXPECT_EQ(T.GetGridCell(1, 0), "x");
    EXPECT_EQ(T.GetGridCell(0, 1), "last");
    EXPECT_EQ(T.GetGridCell(0, 2), GridFiles::Texts()[1][1]); // the first saved cell
    EXPECT_EQ(T.RowCount(), 2 + Rows - 1);
}

TEST_F(GridFiles, CsvProgressStaysWithinAHundred) {
    std::vector<int> P;
    G->OnFileProgress = [&](TObject*, short V) { P.push_back(V); };
    G->SaveToCSV(Path("p.csv"));
    G->LoadFromCSV(Path("p.csv"));
    ASSERT_FALSE(P.empty());
    for (int V : P) EXPECT_TRUE(V >= 0 && V <= 100);
    EXPECT_EQ(P.back(), 100);
}

// ---- the load lock ----------------------------------------------------------------------------------
TEST_F(GridFiles, LoadingLetsEventsRunButKeepsInputAndDeletionAway) {
    auto Fake = std::make_shared<TFakeClock>(QDateTime::currentDateTime());
    SetClock(Fake);
    QByteArray B;
    for (int i = 0; i < 20; ++i) B += "a,b\r\n";
    WriteRaw(Path("lock.csv"), B);
    auto* Grid = G.release(); // deleted by deleteLater below
    bool Ran = false, Locked = false, KeyReached = false;
    Grid->OnKeyDown = [&](TObject*, Word&, TShiftState) { KeyReached = true; };
    int Loaded = 0;
    Grid->OnLoadCell = [&](TObject*, int, int, QString&) {
        if (++Loaded != 5) {
            Fake->Advance(20);
            return;
        }
        Locked = Grid->FileLoading();
        QTimer::singleShot(0, [&] { Ran = true; });
        QCoreApplication::postEvent(Grid, new QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier));
        Grid->deleteLater();
    };
    QPointer<QObject> Alive(Grid);
    Grid->LoadFromCSV(Path("lock.csv"));
    EXPECT_TRUE(Locked);
    EXPECT_TRUE(Ran);
    EXPECT_FALSE(KeyReached);
    EXPECT_TRUE(Alive);
    EXPECT_FALSE(Grid->FileLoading());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Alive);
    SetClock(nullptr);
}

// ---- fixed width ------------------------------------------------------------------------------------
TEST_F(GridFiles, FixedWidthReadsFieldsAtTheirPositions) {
    const QString F = Path("fixed.txt");
    WriteRaw(F, "abcdefghij\r\n12345 6789\r\nthird line\r\n");
    TIntList Pos(0, 0);
    for (int P : {11, 1, 6}) Pos.Add(P);
    G->LoadFromFixed(F, &Pos, true, -1);
    EXPECT_EQ(G->GetGridCell(0, 0), "abcde");
    EXPECT_EQ(G->GetGridCell(G->RealColIndex(1), 0), "fghij");
    EXPECT_EQ(G->GetGridCell(G->RealColIndex(1), 1), "6789");
    EXPECT_EQ(G->GetGridCell(0, 2), "third");
    for (int MaxRows : {0, 1}) {
        G->SetGridCell(0, 1, "kept");
        G->LoadFromFixed(F, &Pos, false, MaxRows);
        EXPECT_EQ(G->GetGridCell(0, 1), "kept") << MaxRows;
    }
    EXPECT_THROW(G->LoadFromFixed(Path("none.txt"), &Pos, true, -1), EExtGridError);
}

TEST_F(GridFiles, FixedWidthWritesPaddedAndCutColumnsAndAddsMissingWidths) {
    TExtStringGrid S(nullptr);
    S.SetColCount(3);
    S.SetRowCount(2);
    S.SetGridCell(0, 0, "abcdef");
    S.SetGridCell(1, 0, "x");
    S.SetGridCell(2, 0, "two\r\nlines");
    S.SetGridCell(2, 1, "longest");
    TIntList Pos(0, 0);
    Pos.Add(3);
    const QString F = Path("out.txt");
    S.SaveToFixed(F, &Pos);
    ASSERT_EQ(Pos.Count(), 3);
    EXPECT_EQ(Pos.GetInteger(1), 2);
    EXPECT_EQ(Pos.GetInteger(2), 8);
    EXPECT_EQ(FileText(F), "abcx two line\r\n     longest \r\n");
    EXPECT_THROW(S.SaveToFixed(Path("no/dir/out.txt"), &Pos), EExtGridError);
}

// ---- padded report ----------------------------------------------------------------------------------
TEST_F(GridFiles, PaddedReportAlignsAndContinuesMultiLineCells) {
    TExtStringGrid S(nullptr);
    S.SetColCount(2);
    S.SetRowCount(3);
    S.SetMultilinecells(true);
    S.SetGridCell(0, 0, "name");
    S.SetGridCell(1, 0, "value");
    S.SetGridCell(0, 1, "a\r\nsecond");
    S.SetGridCell(1, 1, "7");
    S.SetGridCell(0, 2, "b");
    S.SetGridCell(1, 2, "123");
    S.GetCellProperties(1, 1)->SetAlignment(taRightJustify);
    S.GetCellProperties(1, 2)->SetAlignment(taRightJustify);
    const QString F = Path("report.txt");
    S.SaveToASCII(F);
    EXPECT_EQ(FileText(F),
              "name   value \r\n"
              "a          7 \r\n"
              "second\r\n"
              "b        123 \r\n");
    S.AppendToASCII(F);
    EXPECT_EQ(FileText(F).count("name"), 2);
}

TEST_F(GridFiles, PaddedReportHasAFullWidthForEveryColumn) {
    TExtStringGrid S(nullptr);
    S.SetColCount(600);
    S.SetRowCount(1);
    S.SetGridCell(599, 0, QString(300, 'w'));
    S.SetGridCell(598, 0, "v");
    S.SaveToASCII(Path("wide.txt"), true);
    const QString T = FileText(Path("wide.txt"));
    EXPECT_TRUE(T.startsWith(QString(598, ' ') + "v " + QString(300, 'w') + " \r\n")) << T.left(40).toStdString();
}
