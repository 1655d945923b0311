#pragma once
// The project table files of every rule-table editor: one engine driven by a per-file
// description. A file is the root element, an optional comment after it at document level, and
// under the root either one section element per grid (in tab order) or the rows themselves; each
// row is an element carrying one attribute per data column, in column order, holding the cell
// text as typed.
//
// The windows fill a TTableFileData from their grids (cells of columns 1..N, row 1 first) and hand
// it to the writer; the readers fill the same structure, which the windows copy into their grids.

#include "platform/rtl/SysUtils.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// One grid as the window holds it: its data rows from row 1 on, each the texts of the grid
// columns 1..N (entry c-1 is column c). Check-box columns hold "Y", "N" or "".
struct TTable {
    QList<QStringList> Rows;
    int Dropped = 0; // reader only: rows of the file beyond the grid's capacity, not read
};

struct TTableFileData {
    QList<TTable> Tables; // one per section, in tab order
};

struct TTableAttribute {
    QString Name; // the attribute; empty: the column is not stored in the file
    bool Guarded = false; // read under its own guard: a missing attribute takes Default
    QString Default; // the guarded reader's value, and the cell of a column not stored
};

struct TTableSection {
    QString Name; // section element under the root; empty: rows under the root
    QList<TTableAttribute> Attributes; // one per data column 1..N, in column order
    int KeyColumn = 1; // grid column whose blank cell ends the table; 0: every row
    bool TrimKey = true; // whether the key cell is trimmed before the blank test
    int Capacity = 0; // data rows of the grid: the reader's and the writer's limit
};

struct TTableFileDesc {
    QString FileName; // for messages ("SDO_Server_CANopen.xml")
    QString Root;
    QString Comment = "SW_VERSION = 1.000"; // empty: no comment node
    QString RowElement = "row";
    QList<TTableSection> Sections; // one entry with an empty Name: rows under the root
};

// Convenience for descriptions: attributes read without a guard, in column order.
QList<TTableAttribute> Unguarded_Attributes(const QStringList& Names);

// The number of rows of Table that form the table: from row 1 up to, not including, the first row
// whose key cell is blank (trimmed when the section says so); every row when there is no key.
int Table_Length(const TTableSection& Section, const TTable& Table);

// The cell text of column Col (1-based grid column) of a row, empty when the row is shorter.
QString Table_Cell(const QStringList& Row, int Col);

// Writes the file whole or not at all. A table longer than its section's capacity, or data that
// does not match the description, is refused (ERangeError) before anything is written; a failing
// save raises with the system's reason and leaves any earlier file as it was.
void Write_Table_File(const TTableFileDesc& Desc, const TTableFileData& Data, const QString& FileName);

// Reads the file into Data (cleared first, then one empty TTable per section). The first node of the document
// is the root; sections are found by name among its children (the first of that name), rows by
// position; child j of a section fills row j+1, whatever its kind or name. A guarded attribute that
// is missing takes its default; an unguarded one that is missing, or a missing section, raises
// EXMLDocError and ends the reading: Data then holds what was read before, the failing row with the
// columns before the missing attribute. A file that cannot be read or parsed raises. Rows beyond a
// section's capacity are not read; their number is left in TTable::Dropped.
void Read_Table_File(const TTableFileDesc& Desc, const QString& FileName, TTableFileData& Data);

// ---- walking the rows of a parsed file -----------------------------------------------------
// For the code that turns a file into something other than a grid (the device image, the data
// sheet): the engine finds root, sections and rows, reads each row's attributes straight from the
// parser and raises every error about the file's shape with its one text.

struct TTableWalk {
    // The root is the element of the description's Root name among the document's nodes (a
    // declaration or comment may come first); otherwise the document's first node is the root.
    bool RootByName = false;
    // Only elements are rows; otherwise child j of a section is row j+1, whatever its kind (a
    // comment among the rows is then a row without attributes).
    bool ElementsOnly = false;
    // A section with more rows than this is refused (ERangeError) before any of its rows is
    // handed over; 0: no limit.
    int Limit = 0;
};

// One row as the walk hands it over; valid during the call only.
class TTableRow {
public:
    int Section() const; // index into the description's sections
    int Row() const; // from 1 within its section
    // The parser's text (UTF-8) of the attribute of grid column Col (1-based), null when the row
    // has no such attribute or the column is not stored.
    const char* Text(int Col) const;
    // The cell text as the reader fills a grid: the attribute's value; when it is missing, a
    // guarded column's default, while an unguarded one raises EXMLDocError.
    QString Value(int Col) const;
    // The attribute as a number in the system's integer syntax: a missing one raises EXMLDocError,
    // a text that is not a number EConvertError.
    int Number(int Col) const;
    // Refuses the row's value of column Col (ERangeError): file, section, row, value and
    // attribute, then Reason.
    [[noreturn]] void Refuse(int Col, const QString& Reason) const;

private:
    struct TState;
    friend void Walk_Table_Rows(const TTableFileDesc&, const QString&, const TTableWalk&,
                                const std::function<void(const TTableRow&)>&);
    explicit TTableRow(const TState& State) : FState(State) {}
    [[noreturn]] void Raise_Missing(int Col) const;
    const TState& FState;
};

using TTableRowVisitor = std::function<void(const TTableRow& Row)>;

// Loads FileName (a file that cannot be read or parsed raises) and hands every row of every
// section, in section and row order, to Visit. A missing root or section raises EXMLDocError
// when the walk reaches it, after the rows of the sections before it were handed over.
void Walk_Table_Rows(const TTableFileDesc& Desc, const QString& FileName, const TTableWalk& How,
                     const TTableRowVisitor& Visit);
