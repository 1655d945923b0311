#pragma once
// The rule-row routines every rule-table window shares: copy, paste, delete and insert a data row
// through the program-wide row clipboard (Row_Clipboard, app/UComon), and the two grid hooks
// (Enter moves to the next cell, a double click on a header sizes its column).
//
// Column-grid routines keep check-box columns as cell text ("Y"/"N"); the string-grid twins
// (the OPC UA variables table) carry real check boxes and a read-only flag per cell. Every
// routine works on data rows 1..RowCount-1 and real columns 1..ColCount+NumHiddenColumns-1;
// column 0 (the row number) is never read or written.

#include "grid/control/ExtCGrid.h"

#include <QChar>

// ---- column grid --------------------------------------------------------------------------
void Grid_Copy_Row(TExtColumnGrid* grid, int Row);
// Copied: the window's copy flag for this grid. Refuses (error box) without a copy from this grid
// or when the clipboard's column count differs; asks before it overwrites a used row.
void Grid_Paste_Row(TExtColumnGrid* grid, int Row, bool Copied);
void Grid_Delete_Row(int Row, TExtColumnGrid* grid);
// Moves the rows from Row down by one and empties Row (SetFirst: "Y" in column 1). When the last
// data row is in use nothing moves and an error box says so: that row would otherwise drop off
// the end of the table (or, inserting at it, be emptied). Returns whether it inserted.
bool Grid_Insert_Row(int Row, TExtColumnGrid* grid, bool SetFirst);

// ---- string grid with cell check boxes ----------------------------------------------------
void Grid_Copy_Row_CheckBox(TExtStringGrid* grid, int Row);
void Grid_Paste_Row_CheckBox(TExtStringGrid* grid, int Row, bool Copied);
void Grid_Delete_Row_CheckBox(int Row, TExtStringGrid* grid, bool CheckFirst);
// As Grid_Insert_Row: refuses with an error box when the last data row is in use.
bool Grid_Insert_Row_CheckBox(int Row, TExtStringGrid* grid, bool CheckFirst);

// ---- hooks --------------------------------------------------------------------------------
// With Opt_Double_Click_Auto_Size, a double click on a header cell (ARow 0) sizes column ACol.
void Grid_Header_DblClick(TObject* Sender, int ARow, int ACol);
// With Opt_Enable_Jump_Field_Tables, Enter moves to the next data cell (after the last cell of
// the last row: row 1, column 1) and is swallowed. Sender is the grid, or an in-place editor
// whose owner is the grid.
void Grid_Enter_Next_Cell(TObject* Sender, QChar& Key);

// ---- helpers the windows share -------------------------------------------------------------
// Whether a data row of a column grid holds text in a column that is not a check-box column.
bool Grid_Row_Used(TExtColumnGrid* grid, int Row);
// Whether a data row of a string grid holds text in a cell without a check box.
bool Grid_Row_Used_CheckBox(TExtStringGrid* grid, int Row);
