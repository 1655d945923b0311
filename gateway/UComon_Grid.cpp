#include "gateway/UComon_Grid.h"

#include "app/UComon.h"
#include "app/ULanguage.h"
#include "platform/gui/Dialogs.h"

namespace {
int Copied_Columns(TExtStringGrid* grid) { return grid->ColCount() + grid->NumHiddenColumns() - 1; }
int Last_Data_Row(TExtStringGrid* grid) { return grid->RowCount() - 1; }

bool Is_Data_CheckBox_Column(TExtColumnGrid* grid, int c) {
    return c < grid->Columns()->Count() && grid->Columns()->Items(c)->Editor() == edDataCheckBox;
}

// The paste's common refusals: nothing copied from this grid, or a grid of another shape.
bool Paste_Allowed(int N, bool Copied) {
    if (!Copied) {
        MessageDlg(Lang[1302], mtError, {mbOK});
        return false;
    }
    if (N != Row_Clipboard->Count()) {
        MessageDlg(Lang[1301], mtError, {mbOK});
        return false;
    }
    return true;
}

// An insert pushes the last data row out of the table (at the last row itself, it empties it):
// refused while that row holds a rule.
bool Insert_Allowed(bool LastRowUsed) {
    if (!LastRowUsed) return true;
    MessageDlg(Lang[1306], mtError, {mbOK});
    return false;
}
} // namespace

// ---- column grid --------------------------------------------------------------------------

bool Grid_Row_Used(TExtColumnGrid* grid, int Row) {
    const int N = Copied_Columns(grid);
    for (int c = 1; c <= N; ++c)
        if (!Is_Data_CheckBox_Column(grid, c) && !Trim(grid->GetCellEx(c, Row)).isEmpty()) return true;
    return false;
}

void Grid_Copy_Row(TExtColumnGrid* grid, int Row) {
    Row_Clipboard->Clear();
    const int N = Copied_Columns(grid);
    for (int c = 1; c <= N; ++c) Row_Clipboard->Add(grid->GetCellEx(c, Row));
}

void Grid_Paste_Row(TExtColumnGrid* grid, int Row, bool Copied) {
    const int N = Copied_Columns(grid);
    if (!Paste_Allowed(N, Copied)) return;
    if (Grid_Row_Used(grid, Row) && MessageDlg(Lang[1300], mtConfirmation, {mbYes, mbNo}) != mrYes) return;
    for (int c = 1; c <= N; ++c) grid->SetCellEx(c, Row, Row_Clipboard->Strings(c - 1));
}

void Grid_Delete_Row(int Row, TExtColumnGrid* grid) {
    const int N = Copied_Columns(grid);
    const int L = Last_Data_Row(grid);
    for (int r = Row; r < L; ++r)
        for (int c = 1; c <= N; ++c) grid->SetCellEx(c, r, grid->GetCellEx(c, r + 1));
    for (int c = 1; c <= N; ++c) grid->SetCellEx(c, L, QString());
}

bool Grid_Insert_Row(int Row, TExtColumnGrid* grid, bool SetFirst) {
    const int N = Copied_Columns(grid);
    const int L = Last_Data_Row(grid);
    if (!Insert_Allowed(Grid_Row_Used(grid, L))) return false;
    for (int r = L - 1; r >= Row; --r)
        for (int c = 1; c <= N; ++c) grid->SetCellEx(c, r + 1, grid->GetCellEx(c, r));
    for (int c = 1; c <= N; ++c) grid->SetCellEx(c, Row, SetFirst && c == 1 ? QStringLiteral("Y") : QString());
    return true;
}

// ---- string grid with cell check boxes ----------------------------------------------------

bool Grid_Row_Used_CheckBox(TExtStringGrid* grid, int Row) {
    const int N = Copied_Columns(grid);
    for (int c = 1; c <= N; ++c)
        if (!grid->HasCheckBox(c, Row) && !grid->GetCellEx(c, Row).isEmpty()) return true;
    return false;
}

void Grid_Copy_Row_CheckBox(TExtStringGrid* grid, int Row) {
    const int N = Copied_Columns(grid);
    Row_Clipboard->Clear();
    Row_Clipboard_CheckBox.fill(false, N);
    for (int c = 1; c <= N; ++c) {
        bool State = false;
        if (grid->GetCheckBoxState(c, Row, State)) {
            Row_Clipboard_CheckBox[c - 1] = true;
            Row_Clipboard->Add(State ? "Y" : "N");
        } else {
            Row_Clipboard->Add(grid->GetCellEx(c, Row));
        }
    }
}

void Grid_Paste_Row_CheckBox(TExtStringGrid* grid, int Row, bool Copied) {
    const int N = Copied_Columns(grid);
    if (!Paste_Allowed(N, Copied)) return;
    if (Grid_Row_Used_CheckBox(grid, Row) && MessageDlg(Lang[1300], mtConfirmation, {mbYes, mbNo}) != mrYes) return;
    for (int c = 1; c <= N; ++c) {
        const QString Text = Row_Clipboard->Strings(c - 1);
        if (c - 1 < Row_Clipboard_CheckBox.size() && Row_Clipboard_CheckBox[c - 1])
            grid->SetCheckBoxState(c, Row, Text == "Y");
        else
            grid->SetCellEx(c, Row, Text);
    }
}

namespace {
void Move_Cell_CheckBox(TExtStringGrid* grid, int c, int From, int To) {
    bool State = false;
    if (grid->GetCheckBoxState(c, From, State))
        grid->SetCheckBoxState(c, To, State);
    else
        grid->SetCellEx(c, To, grid->GetCellEx(c, From));
    grid->GetCellProperties(c, To)->SetReadOnly(grid->GetCellProperties(c, From)->ReadOnly());
}

void Clear_Row_CheckBox(TExtStringGrid* grid, int Row, bool CheckFirst, bool ReadOnly) {
    for (int c = 1; c <= Copied_Columns(grid); ++c) {
        if (grid->HasCheckBox(c, Row))
            grid->SetCheckBoxState(c, Row, CheckFirst && c == 1);
        else
            grid->SetCellEx(c, Row, QString());
        grid->GetCellProperties(c, Row)->SetReadOnly(ReadOnly);
    }
}
} // namespace

void Grid_Delete_Row_CheckBox(int Row, TExtStringGrid* grid, bool CheckFirst) {
    const int N = Copied_Columns(grid);
    const int L = Last_Data_Row(grid);
    for (int r = Row; r < L; ++r)
        for (int c = 1; c <= N; ++c) Move_Cell_CheckBox(grid, c, r + 1, r);
    // The emptied last row stays editable: a row that cannot be typed into is a row lost to the
    // table (the window decides per cell what a row's contents make read-only).
    Clear_Row_CheckBox(grid, L, CheckFirst, false);
}

bool Grid_Insert_Row_CheckBox(int Row, TExtStringGrid* grid, bool CheckFirst) {
    const int N = Copied_Columns(grid);
    const int L = Last_Data_Row(grid);
    if (!Insert_Allowed(Grid_Row_Used_CheckBox(grid, L))) return false;
    for (int r = L - 1; r >= Row; --r)
        for (int c = 1; c <= N; ++c) Move_Cell_CheckBox(grid, c, r, r + 1);
    Clear_Row_CheckBox(grid, Row, CheckFirst, false);
    return true;
}

// ---- hooks --------------------------------------------------------------------------------

namespace {
// The grid of an event: the grid itself, or the grid owning the in-place editor that sent it.
TExtStringGrid* Event_Grid(TObject* Sender) {
    if (auto* G = dynamic_cast<TExtStringGrid*>(Sender)) return G;
    if (auto* C = dynamic_cast<TComponent*>(Sender)) return dynamic_cast<TExtStringGrid*>(C->Owner());
    return nullptr;
}
} // namespace

void Grid_Header_DblClick(TObject* Sender, int ARow, int ACol) {
    if (!Opt_Double_Click_Auto_Size || ARow != 0) return;
    if (TExtStringGrid* G = Event_Grid(Sender)) G->AutoSizeCol(ACol, 0);
}

void Grid_Enter_Next_Cell(TObject* Sender, QChar& Key) {
    if (!Opt_Enable_Jump_Field_Tables || Key != QChar(13)) return;
    TExtStringGrid* G = Event_Grid(Sender);
    if (G && G->Col() > 0 && G->Row() > 0) {
        if (G->Col() < G->ColCount() - 1) {
            G->SetCol(G->Col() + 1);
        } else {
            G->SetCol(1);
            G->SetRow(G->Row() < G->RowCount() - 1 ? G->Row() + 1 : 1);
        }
    }
    Key = QChar(0);
}
