#pragma once
// The office documents the grid exchanges cells with, read and written by the grid itself: workbooks
// (.xlsx read and written, legacy .xls read), word-processor documents (.docx) and Access database
// queries. The grid's operations (ExtGrid.h) walk the cells; this layer knows the file formats.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace office {

// Column letters of 1-based column N: A..Z, AA..ZZ, AAA.. (the first 702 take one or two letters).
QString ColumnLetters(int N);
// The 1-based column of Letters (case-insensitive); -1 when they are not letters or name no column.
int ColumnFromLetters(const QString& Letters);

// A workbook opened for reading. Sheets are counted from 0; rows and columns from 1.
class TWorkbook {
public:
    virtual ~TWorkbook() = default;
    // Opens FileName by its content (.xlsx package or legacy .xls). Raises Exception with the
    // reason when the file cannot be read or is no workbook.
    static std::unique_ptr<TWorkbook> Open(const QString& FileName);
    virtual QStringList SheetNames() const = 0;
    virtual int ActiveSheet() const = 0;
    // The sheet's used area as a spreadsheet writes it: "$B$3:$D$10", or "$A$1" for one cell.
    virtual QString UsedRangeAddress(int Sheet) const = 0;
    // The value of cell (Row, Col) as text ("" when empty), in the user's number and date formats.
    // False for an error value, which leaves the receiving cell as it was.
    virtual bool Value(int Sheet, int Row, int Col, QString& Text) const = 0;
};

// One sheet's block of texts for writing: Rows[r][c] goes to row FirstRow + r, column 1 + c.
struct TSheetBlock {
    QString Name;
    int FirstRow = 1;
    std::vector<QStringList> Rows;
};

// Writes a new workbook holding Sheet, whole or not at all. Raises Exception with the reason.
void WriteNewWorkbook(const QString& FileName, const TSheetBlock& Sheet);
// Writes Sheet into the existing .xlsx workbook FileName: into the last sheet of that name, or a
// new sheet added at the end. Cells outside the block and the other sheets are kept. Raises
// Exception when the file is no .xlsx workbook or cannot be written (the file is then unchanged).
void WriteIntoWorkbook(const QString& FileName, const TSheetBlock& Sheet);

// A table for a word-processor document.
struct TDocTable {
    enum TAlign { taLeft, taCenter, taRight };
    std::vector<QStringList> Rows;
    std::vector<std::vector<TAlign>> Align; // same shape as Rows
};
// A new document: the table at the start, then a paragraph holding Text. Whole or not at all.
void WriteNewDocument(const QString& FileName, const QString& Text, const TDocTable& Table);
// Appends to the existing .docx FileName: a paragraph holding Text at the document's start, and
// the table after the paragraph holding bookmark Bookmark, or after a new last paragraph when the
// document has no such bookmark. Raises Exception when the file is no .docx document.
void AppendToDocument(const QString& FileName, const QString& Text, const TDocTable& Table, const QString& Bookmark);
// The texts of the paragraphs and table cells of a .docx document's body, in order; for tests
// and for checking what was written. Table cells come as "[cell]" + text.
QStringList DocumentTexts(const QString& FileName);

// The records of a database query, walked once.
class TRecordSource {
public:
    virtual ~TRecordSource() = default;
    virtual int FieldCount() const = 0;
    virtual QString FieldName(int I) const = 0;
    virtual int RecordCount() const = 0; // -1 when the source cannot tell in advance
    virtual bool Eof() const = 0;
    // The field's value as text and its stored size in bytes (0 for a null or empty value).
    virtual QString FieldValue(int I, int& ActualSize) const = 0;
    virtual void MoveNext() = 0;
};
// The result of SQL on the Access database FileName. Raises Exception with the reason when the
// file cannot be opened or the query fails.
std::unique_ptr<TRecordSource> OpenAccessQuery(const QString& FileName, const QString& SQL);

} // namespace office

namespace office {
// The corners of a used-area address ("$B$3:$D$10", "$3:$7" for whole rows, "$A$1", "A1") as
// the grid reads it; a row number that is no integer gives -1. Whole rows span columns 1 to 256.
void ParseUsedRange(const QString& Address, int& FirstRow, int& LastRow, int& FirstCol, int& LastCol);
} // namespace office
