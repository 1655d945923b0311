// The grid's exchange with office documents: it walks its cells and leaves the file formats to
// OfficeDocs.
#include "grid/control/ExtGrid.h"
#include "grid/services/OfficeDocs.h"
#include "platform/rtl/Files.h"

#include <QScopeGuard>

namespace {

// The progress states of the row walks, as the other exports report them.
constexpr int esExportStart = 0;
constexpr int esExportDone = 2;
constexpr int esExportNextRow = 5;

// More cells than this from one sheet would exhaust memory long before the grid could show them.
constexpr qint64 Max_Loaded_Cells = 50'000'000;

// The hourglass while a document is read or written, given back also after an error.
class THourGlass {
public:
    THourGlass() {
        if (Screen) {
            FOld = Screen->Cursor();
            Screen->SetCursor(crHourGlass);
        }
    }
    ~THourGlass() {
        if (Screen) Screen->SetCursor(FOld);
    }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor FOld = crDefault;
};

int SheetIndex(const office::TWorkbook& Book, const QString& Name) {
    QStringList Names = Book.SheetNames();
    int Found = -1;
    // The last sheet of the name wins, as the sheets are walked in order.
    for (int I = 0; I < Names.size(); ++I)
        if (Names[I] == Name) Found = I;
    return Found;
}

void LoadSheet(TExtStringGrid* G, const QString& Filename, const QString* SheetName) {
    THourGlass Busy;
    std::unique_ptr<office::TWorkbook> Book = office::TWorkbook::Open(Filename);
    // What was loaded is announced also when reading stops half-way.
    auto Announce = qScopeGuard([G] {
        G->CellsChanged(Rect(0, 0, G->ColCount() - 1, G->RowCount() - 1));
        G->CalcFooter(-1);
    });
    int Sheet = Book->ActiveSheet();
    if (SheetName) {
        Sheet = SheetIndex(*Book, *SheetName);
        if (Sheet < 0)
            throw EExtGridError(QStringLiteral("Excel worksheet ") + *SheetName + QStringLiteral(" not found"));
    }
    int R1 = 0, R2 = 0, C1 = 0, C2 = 0;
    office::ParseUsedRange(Book->UsedRangeAddress(Sheet), R1, R2, C1, C2);
    int OldFixedCols = G->FixedCols();
    int OldFixedRows = G->FixedRows();
    int ColOffset = G->SaveFixedCells() || G->SaveFixedCols() ? 0 : OldFixedCols;
    int RowOffset = G->SaveFixedCells() || G->SaveFixedRows() ? 0 : OldFixedRows;
    bool Known = R1 != -1 && R2 != -1 && C1 != -1 && C2 != -1;
    if (Known) {
        qint64 Rows = qint64(R2) - R1 + 1 + RowOffset;
        qint64 Cols = qint64(C2) - C1 + 1 + ColOffset;
        if (Rows < 1 || Cols < 1 || Rows * Cols > Max_Loaded_Cells)
            throw EExtGridError(QStringLiteral("The used area of the worksheet is too large to load"));
        G->SetColCount(static_cast<int>(Cols));
        G->SetRowCount(static_cast<int>(Rows));
        if (G->ColCount() > OldFixedCols) G->SetFixedCols(OldFixedCols);
        if (G->RowCount() > OldFixedRows) G->SetFixedRows(OldFixedRows);
    } else {
        R1 = R1 == -1 ? 1 : R1;
        C1 = C1 == -1 ? 1 : C1;
    }
    try {
        QString Text;
        if (Known && R1 == R2 && C1 == C2) {
            if (Book->Value(Sheet, R1, C1, Text)) G->SetCellFromLoad(G->RealColIndex(ColOffset), RowOffset, Text);
            return;
        }
        // The block fills the shown columns; a hidden column keeps its text.
        for (int I = 1; I <= G->RowCount() - RowOffset; ++I)
            for (int J = 1; J <= G->ColCount() - ColOffset; ++J)
                if (Book->Value(Sheet, R1 + I - 1, C1 + J - 1, Text))
                    G->SetCellFromLoad(G->RealColIndex(J + ColOffset - 1), I + RowOffset - 1, Text);
    } catch (const EExtGridError&) {
        throw;
    } catch (const Exception&) {
        throw Exception(QStringLiteral("Incorrect XLS file"));
    }
}

} // namespace

std::unique_ptr<TStringList> TExtStringGrid::GetXLSSheets(const QString& FileName) {
    THourGlass Busy;
    std::unique_ptr<office::TWorkbook> Book = office::TWorkbook::Open(FileName);
    auto List = std::make_unique<TStringList>();
    for (const QString& N : Book->SheetNames()) List->Add(N);
    return List;
}

void TExtStringGrid::LoadFromXLS(const QString& Filename) { LoadSheet(this, Filename, nullptr); }

void TExtStringGrid::LoadFromXLSSheet(const QString& Filename, const QString& SheetName) {
    LoadSheet(this, Filename, &SheetName);
}

namespace {

office::TSheetBlock BlockForSave(TExtStringGrid* G, const QString& Name) {
    office::TSheetBlock B;
    B.Name = Name;
    int FromRow = G->SaveStartRow();
    int FromCol = G->SaveStartCol();
    G->ExportNotification(esExportStart, FromRow);
    for (int R = FromRow; R < G->RowCount(); ++R) {
        QStringList Row;
        for (int C = FromCol; C < G->ColCount(); ++C) Row << StripCR(G->GetCellForSave(G->RealColIndex(C), R));
        B.Rows.push_back(Row);
        G->ExportNotification(esExportNextRow, R);
    }
    return B;
}

} // namespace

void TExtStringGrid::SaveToXLS(const QString& Filename, bool CreateNewSheet) {
    (void)CreateNewSheet;
    THourGlass Busy;
    office::TSheetBlock B = BlockForSave(this, QString());
    office::WriteNewWorkbook(Filename, B);
    ExportNotification(esExportDone, -1);
}

void TExtStringGrid::SaveToXLSSheet(const QString& Filename, const QString& SheetName) {
    THourGlass Busy;
    office::TSheetBlock B = BlockForSave(this, SheetName);
    if (FileExists(Filename))
        office::WriteIntoWorkbook(Filename, B);
    else
        office::WriteNewWorkbook(Filename, B);
    ExportNotification(esExportDone, -1);
}

namespace {

office::TDocTable TableForDoc(TExtStringGrid* G) {
    office::TDocTable T;
    G->ExportNotification(esExportStart, 0);
    for (int R = 0; R < G->RowCount(); ++R) {
        QStringList Row;
        std::vector<office::TDocTable::TAlign> Align;
        for (int C = 0; C < G->ColCount(); ++C) {
            int Real = G->RealColIndex(C);
            Row << G->GetCellForSave(Real, R);
            TAlignment HA = taLeftJustify;
            TVAlignment VA = vtaTop;
            G->CellAlignment(Real, R, HA, VA);
            Align.push_back(HA == taRightJustify ? office::TDocTable::taRight
                                : HA == taCenter ? office::TDocTable::taCenter
                                                 : office::TDocTable::taLeft);
        }
        T.Rows.push_back(Row);
        T.Align.push_back(Align);
        G->ExportNotification(esExportNextRow, R);
    }
    return T;
}

} // namespace

void TExtStringGrid::SaveToDOC(const QString& Filename, bool CreateNewDocument) {
    (void)CreateNewDocument;
    THourGlass Busy;
    office::WriteNewDocument(Filename, Text(), TableForDoc(this));
    ExportNotification(esExportDone, -1);
}

void TExtStringGrid::AppendToDoc(const QString& Filename, const QString& Bookmark) {
    THourGlass Busy;
    office::AppendToDocument(Filename, Text(), TableForDoc(this), Bookmark);
    ExportNotification(esExportDone, -1);
}

void TExtStringGrid::LoadFromMDBTable(const QString& Filename, const QString& Table) {
    LoadFromMDBSQL(Filename, QStringLiteral("SELECT * FROM ") + Table);
}

void TExtStringGrid::LoadFromMDBSQL(const QString& Filename, const QString& SQL) {
    std::unique_ptr<office::TRecordSource> Source = office::OpenAccessQuery(Filename, SQL);
    LoadFromRecordSource(*Source);
}

void TExtStringGrid::LoadFromRecordSource(office::TRecordSource& Source) {
    // Footers and watchers learn of the new cells like after any other load, also after a failure
    // half-way through the records.
    auto Announce = qScopeGuard([this] {
        CellsChanged(Rect(0, 0, ColCount() - 1, RowCount() - 1));
        CalcFooter(-1);
    });
    int N = Source.FieldCount();
    int FC = FixedCols();
    SetColCount(N + FC);
    if (FixedRows() > 0)
        for (int I = 0; I < N; ++I) SetGridCell(RealColIndex(FC + I), FixedRows() - 1, Source.FieldName(I));
    int Count = Source.RecordCount();
    if (Count > 0) SetRowCount(FixedRows() + Count);
    int Row = FixedRows();
    while (!Source.Eof()) {
        // A source that cannot tell its count, or miscounted, grows the grid as records come.
        if (Row >= RowCount()) SetRowCount(Row + 1);
        for (int I = 0; I < N; ++I) {
            int Size = 0;
            QString V = Source.FieldValue(I, Size);
            SetCellFromLoad(RealColIndex(FC + I), Row, Size > 0 ? V : QString());
        }
        Source.MoveNext();
        ++Row;
    }
}
