// Workbooks, word-processor documents and database queries exchanged with the grid: files are
// written and read back, and damaged or foreign files must leave grid and file as they were.
#include "grid/services/OfficeDocs.h"

#include "grid/control/ExtGrid.h"
#include "grid/services/ZipArchive.h"
#include "platform/rtl/Files.h"
#include "tests/support/QtPrint.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const QString Data_Dir = QStringLiteral(TESSARO_TEST_DATA "/grid/office/");

// ---- addresses and column letters ------------------------------------------------------------------

struct RangeCase {
    const char* Name;
    const char* Address;
    int R1, R2, C1, C2;
};
void PrintTo(const RangeCase& C, std::ostream* Os) { *Os << C.Name; }

class UsedRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(UsedRange, GivesTheCornersTheGridLoads) {
    const RangeCase& C = GetParam();
    int R1 = 0, R2 = 0, C1 = 0, C2 = 0;
    office::ParseUsedRange(QString::fromLatin1(C.Address), R1, R2, C1, C2);
    EXPECT_EQ(R1, C.R1);
    EXPECT_EQ(R2, C.R2);
    EXPECT_EQ(C1, C.C1);
    EXPECT_EQ(C2, C.C2);
}

INSTANTIATE_TEST_SUITE_P(Addresses, UsedRange,
                         ::testing::Values(RangeCase{"block", "$B$3:$D$10", 3, 10, 2, 4},
                                           RangeCase{"whole_rows", "$3:$7", 3, 7, 1, 256},
                                           RangeCase{"one_cell_with_dollars", "$AB$2", 2, 2, 28, 28},
                                           RangeCase{"one_cell_without_dollars", "C5", 1, 1, 1, 1},
                                           RangeCase{"row_not_a_number", "$B$x:$D$10", -1, 10, 2, 4},
                                           RangeCase{"two_letter_columns", "$AA$1:$ZZ$9", 1, 9, 27, 702}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST(ColumnLetters, CountOneThenTwoLettersAndBack) {
    const std::vector<std::pair<int, const char*>> Cases = {{1, "A"},   {26, "Z"},  {27, "AA"},  {28, "AB"},
                                                            {52, "AZ"}, {53, "BA"}, {702, "ZZ"}, {703, "AAA"}};
    for (const auto& [N, L] : Cases) {
        EXPECT_EQ(office::ColumnLetters(N), QString::fromLatin1(L)) << N;
        EXPECT_EQ(office::ColumnFromLetters(QString::fromLatin1(L)), N) << L;
    }
    EXPECT_EQ(office::ColumnFromLetters(QStringLiteral("ab")), 28);
    for (const char* Bad : {"", "1", "A-", "ABCD"})
        EXPECT_EQ(office::ColumnFromLetters(QString::fromLatin1(Bad)), -1) << Bad;
}

// ---- zip packages -----------------------------------------------------------------------------------

// A package may claim any unpacked size and may unpack to far more than its own size: the reader
// counts what comes out and stops at its limit.
TEST(ZipPackage, StopsAPartThatUnpacksBeyondTheLimitAndIgnoresTheStatedSize) {
    TZipWriter W;
    W.Add("zeros", QByteArray(1 << 20, '\0'));
    W.Add("small", "hello");
    QByteArray Bytes = W.Finish();
    EXPECT_LT(Bytes.size(), 1 << 14);
    TZipReader R(Bytes);
    EXPECT_THROW(R.Read("zeros", 1 << 16), Exception);
    EXPECT_EQ(R.Read("zeros").size(), 1 << 20);

    // Every stated unpacked size raised to almost 4 GB: nothing is allocated for it.
    QByteArray Lying = Bytes;
    auto Patch = [&](const QByteArray& Sig, int SizeAt) {
        for (qsizetype P = Lying.indexOf(Sig); P >= 0; P = Lying.indexOf(Sig, P + 4))
            for (int I = 0; I < 4; ++I) Lying[P + SizeAt + I] = char(0xF0);
    };
    Patch(QByteArray("PK\x03\x04", 4), 22);
    Patch(QByteArray("PK\x01\x02", 4), 24);
    TZipReader L(Lying);
    QByteArray Small;
    try {
        Small = L.Read("small");
    } catch (const Exception&) {
        Small = "refused";
    }
    EXPECT_TRUE(Small == "hello" || Small == "refused") << Small.left(20).toStdString();
    EXPECT_THROW(L.Read("zeros", 1 << 16), Exception);
}

// ---- the grid with workbooks and documents -------------------------------------------------------

// Texts that break naive writers: quotes, tabs, line breaks, markup characters, non-Latin letters,
// empty cells; real column 2 is hidden and must not be written.
class OfficeGrid : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(4);
        G->SetRowCount(4);
        const char* Texts[4][4] = {{"Name", "Note", "hidden", "Value"},
                                   {"Zoë \"quoted\"", "a\tb", "x", "12.5"},
                                   {"<b>&amp;</b>", "line1\nline2", "y", ""},
                                   {"Жёлтый 黄色", "", "z", "-3"}};
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) G->SetGridCell(c, r, QString::fromUtf8(Texts[r][c]));
        G->HideColumn(2);
        ASSERT_EQ(G->ColCount(), 3);
    }

    QString Path(const char* Name) const { return Dir.filePath(QString::fromLatin1(Name)); }

    // The grid's shown cells, row by row.
    static std::vector<QStringList> Shown(TExtStringGrid& Grid) {
        std::vector<QStringList> Rows;
        for (int r = 0; r < Grid.RowCount(); ++r) {
            QStringList Row;
            for (int c = 0; c < Grid.ColCount(); ++c) Row << Grid.GetGridCell(Grid.RealColIndex(c), r);
            Rows.push_back(Row);
        }
        return Rows;
    }

    QTemporaryDir Dir;
    std::unique_ptr<TExtStringGrid> G;
};

TEST_F(OfficeGrid, WorkbookRoundTripKeepsEveryShownText) {
    G->SaveToXLS(Path("book.xlsx"));
    TExtStringGrid Back(nullptr);
    Back.LoadFromXLS(Path("book.xlsx"));
    EXPECT_EQ(Shown(Back), Shown(*G));
    auto Sheets = Back.GetXLSSheets(Path("book.xlsx"));
    ASSERT_EQ(Sheets->Count(), 1);
    EXPECT_EQ(Sheets->Strings(0), "Sheet1");
}

TEST_F(OfficeGrid, WorkbookLoadPutsTheBlockAfterTheFixedCellsUnlessTheyAreSaved) {
    G->SaveToXLS(Path("book.xlsx"));
    TExtStringGrid Back(nullptr);
    Back.SetColCount(5);
    Back.SetRowCount(5);
    Back.SetFixedCols(1);
    Back.SetFixedRows(1);
    Back.SetSaveFixedCells(false);
    Back.LoadFromXLS(Path("book.xlsx"));
    EXPECT_EQ(Back.ColCount(), 4);
    EXPECT_EQ(Back.RowCount(), 5);
    EXPECT_EQ(Back.FixedCols(), 1);
    EXPECT_EQ(Back.FixedRows(), 1);
    EXPECT_EQ(Back.GetGridCell(1, 1), "Name");
    EXPECT_EQ(Back.GetGridCell(3, 4), "-3");
}

TEST_F(OfficeGrid, TwentyEightColumnsReachColumnAB) {
    G->SetColCount(29); // 28 shown, one hidden
    G->SetGridCell(28, 3, "last");
    G->SaveToXLS(Path("wide.xlsx"));
    auto Book = office::TWorkbook::Open(Path("wide.xlsx"));
    EXPECT_EQ(Book->UsedRangeAddress(0), "$A$1:$AB$4");
    QString Text;
    ASSERT_TRUE(Book->Value(0, 4, 28, Text));
    EXPECT_EQ(Text, "last");
}

TEST_F(OfficeGrid, WritingANamedSheetKeepsTheOtherSheetsAndCellsOutsideTheBlock) {
    G->SaveToXLS(Path("book.xlsx"));
    TExtStringGrid Small(nullptr);
    Small.SetColCount(2);
    Small.SetRowCount(1);
    Small.SetGridCell(0, 0, "new");
    Small.SetGridCell(1, 0, "");
    Small.SaveToXLSSheet(Path("book.xlsx"), "Sheet1");
    Small.SaveToXLSSheet(Path("book.xlsx"), "Extra");

    auto Names = G->GetXLSSheets(Path("book.xlsx"));
    ASSERT_EQ(Names->Count(), 2);
    EXPECT_EQ(Names->Strings(1), "Extra");
    TExtStringGrid Back(nullptr);
    Back.LoadFromXLSSheet(Path("book.xlsx"), "Sheet1");
    std::vector<QStringList> Want = Shown(*G);
    Want[0][0] = "new";
    Want[0][1] = "";
    EXPECT_EQ(Shown(Back), Want);
    Back.LoadFromXLSSheet(Path("book.xlsx"), "Extra");
    EXPECT_EQ(Back.GetGridCell(0, 0), "new");
}

TEST_F(OfficeGrid, AMissingSheetIsReportedAndTheGridKept) {
    G->SaveToXLS(Path("book.xlsx"));
    auto Before = Shown(*G);
    try {
        G->LoadFromXLSSheet(Path("book.xlsx"), "Nope");
        FAIL() << "no error";
    } catch (const EExtGridError& E) {
        EXPECT_EQ(E.Message(), "Excel worksheet Nope not found");
    }
    EXPECT_EQ(Shown(*G), Before);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(OfficeGrid, ForeignOrDamagedFilesChangeNothing) {
    WriteFileAtomic(Path("text.xlsx"), "just some text, no workbook");
    TZipWriter Zip;
    Zip.Add("readme.txt", "a zip, but no workbook");
    WriteFileAtomic(Path("zip.xlsx"), Zip.Finish());
    QByteArray Cut = [&] {
        G->SaveToXLS(Path("cut.xlsx"));
        return ReadFileBytes(Path("cut.xlsx")).left(300);
    }();
    WriteFileAtomic(Path("cut.xlsx"), Cut);
    auto Before = Shown(*G);
    for (const char* Name : {"text.xlsx", "zip.xlsx", "cut.xlsx", "missing.xlsx"}) {
        EXPECT_THROW(G->LoadFromXLS(Path(Name)), Exception) << Name;
        EXPECT_EQ(Shown(*G), Before) << Name;
    }
    // Writing into a file that is no .xlsx workbook leaves it as it was.
    EXPECT_THROW(G->SaveToXLSSheet(Path("text.xlsx"), "S"), Exception);
    EXPECT_EQ(ReadFileBytes(Path("text.xlsx")), QByteArray("just some text, no workbook"));
}

TEST_F(OfficeGrid, ANewSheetNameASpreadsheetWouldRefuseLeavesTheWorkbookAsItWas) {
    G->SaveToXLS(Path("book.xlsx"));
    QByteArray Before = ReadFileBytes(Path("book.xlsx"));
    for (const char* Name : {"", "a:b", "a/b", "[x]", "'quoted'", "sheet1", "abcdefghijklmnopqrstuvwxyz_67890x"}) {
        EXPECT_THROW(G->SaveToXLSSheet(Path("book.xlsx"), QString::fromLatin1(Name)), Exception) << Name;
        EXPECT_EQ(ReadFileBytes(Path("book.xlsx")), Before) << Name;
    }
    G->SaveToXLSSheet(Path("book.xlsx"), QStringLiteral("Second's sheet"));
    TExtStringGrid Back(nullptr);
    EXPECT_EQ(Back.GetXLSSheets(Path("book.xlsx"))->Count(), 2);
}

// A workbook the grid wrote, with one of its parts replaced (or dropped when the text is null).
QByteArray TamperedBook(const QByteArray& Good, const char* Part, const char* Text) {
    TZipReader In(Good);
    TZipWriter Out;
    for (const QString& N : In.Names()) {
        if (N != QLatin1String(Part))
            Out.Add(N, In.Read(N));
        else if (Text)
            Out.Add(N, Text);
    }
    return Out.Finish();
}

struct DamageCase {
    const char* Name;
    const char* Part;
    const char* Text; // null: the part is missing
    bool WriterReadsIt;
};
void PrintTo(const DamageCase& C, std::ostream* Os) { *Os << C.Name; }

class DamagedWorkbook : public OfficeGrid, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedWorkbook, IsReportedAndChangesNeitherGridNorFile) {
    const DamageCase& C = GetParam();
    G->SaveToXLS(Path("good.xlsx"));
    QByteArray Bad = TamperedBook(ReadFileBytes(Path("good.xlsx")), C.Part, C.Text);
    WriteFileAtomic(Path("bad.xlsx"), Bad);
    auto Before = Shown(*G);
    int Cols = G->ColCount(), Rows = G->RowCount();
    EXPECT_THROW(G->LoadFromXLS(Path("bad.xlsx")), Exception);
    EXPECT_EQ(G->ColCount(), Cols);
    EXPECT_EQ(G->RowCount(), Rows);
    EXPECT_EQ(Shown(*G), Before);
    if (!C.WriterReadsIt) return;
    EXPECT_THROW(G->SaveToXLSSheet(Path("bad.xlsx"), "Sheet1"), Exception);
    EXPECT_EQ(ReadFileBytes(Path("bad.xlsx")), Bad);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, DamagedWorkbook,
    ::testing::Values(DamageCase{"sheet_xml_cut_off", "xl/worksheets/sheet1.xml",
                                 "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"", true},
                      DamageCase{"sheet_missing", "xl/worksheets/sheet1.xml", nullptr, true},
                      DamageCase{"workbook_missing", "xl/workbook.xml", nullptr, true},
                      DamageCase{"workbook_not_xml", "xl/workbook.xml", "<<not xml", true},
                      DamageCase{"strings_not_xml", "xl/sharedStrings.xml", "<sst><si><t>a</sst>", false},
                      DamageCase{
                          "used_area_beyond_memory", "xl/worksheets/sheet1.xml",
                          "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
                          "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>a</t></is></c></row>"
                          "<row r=\"1048576\"><c r=\"XFD1048576\" t=\"inlineStr\"><is><t>z</t></is></c></row>"
                          "</sheetData></worksheet>",
                          false}),
    [](const auto& I) { return std::string(I.param.Name); });

TEST_F(OfficeGrid, WorkbookLoadFillsTheShownColumnsAndKeepsAHiddenOne) {
    G->SaveToXLS(Path("book.xlsx"));
    TExtStringGrid Back(nullptr);
    Back.SetColCount(4);
    Back.SetRowCount(2);
    Back.SetGridCell(1, 0, "kept");
    Back.HideColumn(1);
    Back.LoadFromXLS(Path("book.xlsx"));
    EXPECT_EQ(Shown(Back), Shown(*G));
    EXPECT_EQ(Back.GetGridCell(1, 0), "kept");
}

TEST(LegacyWorkbook, ReadsSheetNamesAndTheUsedBlock) {
    TExtStringGrid G(nullptr);
    auto Names = G.GetXLSSheets(Data_Dir + "legacy.xls");
    ASSERT_EQ(Names->Count(), 2);
    EXPECT_EQ(Names->Strings(0), "First");
    EXPECT_EQ(Names->Strings(1), "Data");

    G.LoadFromXLSSheet(Data_Dir + "legacy.xls", "Data");
    EXPECT_EQ(G.ColCount(), 3);
    EXPECT_EQ(G.RowCount(), 8);
    EXPECT_EQ(G.GetGridCell(0, 0), "Name");
    EXPECT_EQ(G.GetGridCell(0, 1), QString::fromUtf8("Zeile 1 äöü Ж"));
    EXPECT_EQ(G.GetGridCell(1, 1), "10");
    EXPECT_EQ(G.GetGridCell(2, 1), FloatToStr(1.5));
    EXPECT_EQ(G.GetGridCell(2, 7), DateToStr(EncodeDate(2024, 3, 15)));
    EXPECT_EQ(G.GetGridCell(1, 7), "");
}

TEST(LegacyWorkbook, ASingleUsedCellGoesToTheFirstCellAfterTheOffsets) {
    TExtStringGrid G(nullptr);
    G.SetColCount(3);
    G.SetRowCount(3);
    G.SetFixedCols(1);
    G.SetFixedRows(1);
    G.SetSaveFixedCells(false);
    G.LoadFromXLS(Data_Dir + "legacy.xls");
    EXPECT_EQ(G.GetGridCell(1, 1), "42");
    EXPECT_EQ(G.ColCount(), 2);
    EXPECT_EQ(G.RowCount(), 2);
}

TEST_F(OfficeGrid, ExportReportsStartEachRowAndEnd) {
    struct Recording : TExtStringGrid {
        using TExtStringGrid::TExtStringGrid;
        std::vector<int> States;
        void ExportNotification(int AState, int ARow) override {
            States.push_back(AState);
            (void)ARow;
        }
    } R(nullptr);
    R.SetColCount(2);
    R.SetRowCount(3);
    R.SaveToXLS(Path("r.xlsx"));
    EXPECT_EQ(R.States, (std::vector<int>{0, 5, 5, 5, 2}));
}

// ---- word-processor documents ----------------------------------------------------------------------

QByteArray DocumentXml(const QString& File) { return TZipReader(ReadFileBytes(File)).Read("word/document.xml"); }

TEST_F(OfficeGrid, DocumentHoldsTheTableThenTheGridsText) {
    G->SetText("Caption");
    G->OnGetAlignment = [](TObject*, int, int ACol, TAlignment& H, TVAlignment&) {
        if (ACol == 3) H = taRightJustify;
        if (ACol == 1) H = taCenter;
    };
    G->SaveToDOC(Path("t.docx"));
    QStringList Want;
    for (const QStringList& Row : Shown(*G))
        for (const QString& T : Row) Want << "[cell]" + T;
    Want << "Caption"
         << "";
    EXPECT_EQ(office::DocumentTexts(Path("t.docx")), Want);
    QByteArray Xml = DocumentXml(Path("t.docx"));
    EXPECT_EQ(Xml.count("<w:jc w:val=\"right\"/>"), 4);
    EXPECT_EQ(Xml.count("<w:jc w:val=\"center\"/>"), 4);
    EXPECT_TRUE(Xml.contains("&lt;b&gt;&amp;amp;&lt;/b&gt;"));
}

// A small document as a word processor writes one: three paragraphs, the middle one bookmarked.
QByteArray HandMadeDocument() {
    TZipWriter Zip;
    Zip.Add("[Content_Types].xml",
            "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
            "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>");
    Zip.Add("word/styles.xml", "<styles/>");
    Zip.Add(
        "word/document.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>"
        "<w:p><w:r><w:t>Intro</w:t></w:r></w:p>"
        "<w:p><w:bookmarkStart w:id=\"0\" w:name=\"here\"/><w:r><w:t>Mark</w:t></w:r><w:bookmarkEnd w:id=\"0\"/></w:p>"
        "<w:p><w:r><w:t>Outro</w:t></w:r></w:p><w:sectPr/></w:body></w:document>");
    return Zip.Finish();
}

TEST_F(OfficeGrid, AppendingPutsTheTableAtTheBookmarkOrAtTheEnd) {
    G->SetRowCount(1);
    G->SetText("T");
    const QStringList Cells = {"[cell]Name", "[cell]Note", "[cell]Value"};
    WriteFileAtomic(Path("a.docx"), HandMadeDocument());
    G->AppendToDoc(Path("a.docx"), "here");
    EXPECT_EQ(office::DocumentTexts(Path("a.docx")),
              QStringList({"T", "Intro", "Mark"}) + Cells + QStringList{"Outro"});

    WriteFileAtomic(Path("b.docx"), HandMadeDocument());
    G->AppendToDoc(Path("b.docx"), "nowhere");
    EXPECT_EQ(office::DocumentTexts(Path("b.docx")),
              QStringList({"T", "Intro", "Mark", "Outro"}) + Cells + QStringList{""});
    // The document's other parts travel along unchanged, and the section settings stay last.
    TZipReader Zip(ReadFileBytes(Path("b.docx")));
    EXPECT_EQ(Zip.Read("word/styles.xml"), "<styles/>");
    EXPECT_TRUE(DocumentXml(Path("b.docx")).endsWith("<w:sectPr /></w:body></w:document>") ||
                DocumentXml(Path("b.docx")).endsWith("<w:sectPr/></w:body></w:document>"));
}

TEST_F(OfficeGrid, AppendingToWhatIsNoDocumentChangesNothing) {
    WriteFileAtomic(Path("n.docx"), "plain text");
    EXPECT_THROW(G->AppendToDoc(Path("n.docx"), ""), Exception);
    EXPECT_EQ(ReadFileBytes(Path("n.docx")), QByteArray("plain text"));
    EXPECT_THROW(G->AppendToDoc(Path("missing.docx"), ""), Exception);
    EXPECT_FALSE(FileExists(Path("missing.docx")));
}

// ---- database queries ------------------------------------------------------------------------------

struct FakeRecords : office::TRecordSource {
    QStringList Names;
    std::vector<QStringList> Records;
    int Reported = -1;
    size_t At = 0;
    int FieldCount() const override { return Names.size(); }
    QString FieldName(int I) const override { return Names[I]; }
    int RecordCount() const override { return Reported; }
    bool Eof() const override { return At >= Records.size(); }
    QString FieldValue(int I, int& Size) const override {
        QString V = Records[At][I];
        // A null value comes with size 0 but may still carry a text the grid must not take.
        Size = V == "NULL" ? 0 : V.toUtf8().size();
        return V;
    }
    void MoveNext() override { ++At; }
};

struct QueryGrid : TExtStringGrid {
    using TExtStringGrid::LoadFromRecordSource;
    using TExtStringGrid::TExtStringGrid;
};

struct QueryCase {
    const char* Name;
    int Reported;
};
void PrintTo(const QueryCase& C, std::ostream* Os) { *Os << C.Name; }

class Query : public ::testing::TestWithParam<QueryCase> {};

TEST_P(Query, FieldNamesInTheLastFixedRowAndOneRowARecord) {
    FakeRecords Src;
    Src.Names = {"Id", "Name"};
    Src.Records = {{"1", "one"}, {"2", "NULL"}, {"3", "three"}};
    Src.Reported = GetParam().Reported;
    QueryGrid G(nullptr);
    G.SetColCount(5);
    G.SetRowCount(2);
    G.SetFixedCols(1);
    G.SetFixedRows(1);
    std::vector<TRect> Changed;
    G.OnCellsChanged = [&](TObject*, const TRect& R) { Changed.push_back(R); };
    G.LoadFromRecordSource(Src);
    ASSERT_FALSE(Changed.empty());
    EXPECT_EQ(Changed.back(), Rect(0, 0, 2, 3)); // the whole loaded grid is announced
    EXPECT_EQ(G.ColCount(), 3);
    EXPECT_EQ(G.RowCount(), 4);
    EXPECT_EQ(G.GetGridCell(1, 0), "Id");
    EXPECT_EQ(G.GetGridCell(2, 0), "Name");
    EXPECT_EQ(G.GetGridCell(2, 1), "one");
    EXPECT_EQ(G.GetGridCell(2, 2), "");
    EXPECT_EQ(G.GetGridCell(1, 3), "3");
}

INSTANTIATE_TEST_SUITE_P(RecordCounts, Query,
                         ::testing::Values(QueryCase{"count_unknown", -1}, QueryCase{"count_zero", 0},
                                           QueryCase{"count_right", 3}, QueryCase{"count_too_low", 2}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST(AccessDatabase, AMissingOrForeignFileIsReportedAndTheGridKept) {
    QTemporaryDir Dir;
    WriteFileAtomic(Dir.filePath("x.mdb"), QByteArray(4096, 'x'));
    TExtStringGrid G(nullptr);
    G.SetColCount(2);
    G.SetRowCount(2);
    G.SetGridCell(1, 1, "kept");
    for (const QString& File : {Dir.filePath("x.mdb"), Dir.filePath("missing.mdb")}) {
        EXPECT_THROW(G.LoadFromMDBTable(File, "T"), Exception) << File.toStdString();
        EXPECT_EQ(G.ColCount(), 2);
        EXPECT_EQ(G.GetGridCell(1, 1), "kept");
    }
}

} // namespace
