#include "gateway/URuleTableForm.h"

#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UWindow_Look.h"
#include "gateway/GatewayTables.h"
#include "gateway/UComon_Grid.h"
#include "platform/gui/Dialogs.h"

#include <algorithm>

TRuleTableForm::TRuleTableForm(TComponent* AOwner, TRuleFormDesc Desc) : TForm(AOwner), FDesc(std::move(Desc)) {}

void TRuleTableForm::CreateComponents() {
    SetName(FDesc.FormName);
    Apply_Window_Look(this);
    SetScaled(false);
    SetClientWidth(FDesc.ClientWidth);
    SetClientHeight(FDesc.ClientHeight);

    Create_Title_Panel(this, P_Title, L_SW_Code, L_SW_Desc);
    L_SW_Code->SetBounds(16, 8, 200, 39);
    L_SW_Desc->SetBounds(16, 42, 400, 13);

    P_Button = Create_Button_Panel(this, "P_Button");
    struct TButtonPlace {
        TLbButton*& Button;
        const char* Name;
        int Left;
    };
    const TButtonPlace Buttons[] = {
        {Btn_OK, "Btn_OK", 16},          {Btn_Cancel, "Btn_Cancel", 134},   {Btn_DelRow, "Btn_DelRow", 252},
        {Btn_InsRow, "Btn_InsRow", 370}, {Btn_CopyRow, "Btn_CopyRow", 488}, {Btn_PasteRow, "Btn_PasteRow", 606}};
    for (const TButtonPlace& B : Buttons) {
        B.Button = Create_Dialog_Button(this, P_Button, QString::fromLatin1(B.Name), B.Left);
        B.Button->SetShowHint(true);
    }
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_OK->OnClick = [this](TObject* S) { Btn_OK_Click(S); };
    Btn_DelRow->OnClick = [this](TObject* S) { Btn_DelRow_Click(S); };
    Btn_InsRow->OnClick = [this](TObject* S) { Btn_InsRowClick(S); };
    Btn_CopyRow->OnClick = [this](TObject* S) { Btn_CopyRowClick(S); };
    Btn_PasteRow->OnClick = [this](TObject* S) { Btn_PasteRowClick(S); };

    PageControl1 = Create<TPageControl>(this, this);
    PageControl1->SetName("PageControl1");
    PageControl1->SetAlign(alClient);
    for (const TRuleGridDesc& G : FDesc.Grids) {
        TTabSheet* Tab = Create<TTabSheet>(this, nullptr);
        Tab->SetName(G.TabName);
        Tab->SetPageControl(PageControl1);
        Tabs.push_back(Tab);

        TExtColumnGrid* Grid = Create<TExtColumnGrid>(this, Tab);
        Grid->SetName(G.GridName);
        Grid->SetAlign(alClient);
        Grid->SetColCount(int(G.Columns.size()) + 1);
        Grid->Columns()->Items(0)->SetWidth(40);
        for (int c = 1; c <= G.Columns.size(); ++c) {
            const TRuleColumn& C = G.Columns[c - 1];
            TGridColumnItem* Item = Grid->Columns()->Items(c);
            Item->SetWidth(C.Width);
            Item->SetColor(C.Color);
            Item->SetEditor(C.Editor);
            if (C.Editor == edDataCheckBox) Item->SetAlignment(taCenter);
        }
        Grid->SetRowCount(G.DataRows + 1);
        Grid->SetFixedRows(1);
        Grid->SetFixedCols(1);
        Grid->SetDefaultRowHeight(21);
        Grid->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
                          goColSizing});
        Grid->SetShowHint(true);
        Grid->SetHintShowCells(true);
        if (G.Hooks) {
            Grid->OnGridHint = [this](TObject* S, int R, int C, QString& H) { GridHint(S, R, C, H); };
            Grid->OnKeyPress = [this](TObject* S, QChar& K) { KeyPress(S, K); };
            Grid->OnDblClickCell = [this](TObject* S, int R, int C) { DblClickCell(S, R, C); };
            Grid->OnClickCell = [this](TObject* S, int R, int C) { ClickCell(S, R, C); };
        }
        Grids.push_back(Grid);
        Hint_Lists.push_back(std::make_unique<TStringList>());
        Do_Copy.push_back(false);
    }
    Buttons_Last_In_Tab_Order(P_Button);
    OnShow = [this](TObject* S) { FormShow(S); };
}

void TRuleTableForm::FormCreate(TObject* Sender) {
    (void)Sender;
    L_SW_Code->SetCaption(SW_Code);
    SetClientHeight(FDesc.ClientHeight);
    SetClientWidth(FDesc.ClientWidth);
    if (!Tabs.empty()) PageControl1->SetActivePage(Tabs.front());
    for (auto& L : Hint_Lists) L->Clear();
    Set_Lang();
}

void TRuleTableForm::Set_Lang() {
    int n = FDesc.TextBase;
    SetCaption(Lang[n++]);
    L_SW_Desc->SetCaption(Lang[n++]);
    TLbButton* Buttons[] = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    for (TLbButton* B : Buttons) B->SetCaption(Lang[n++]);
    for (TLbButton* B : Buttons) B->SetHint(Lang[n++]);
    for (TTabSheet* T : Tabs) T->SetCaption(Lang[n++]);
    for (TExtColumnGrid* G : Grids)
        for (int c = 0; c < G->ColCount() + G->NumHiddenColumns(); ++c) G->SetCellEx(c, 0, Lang[n++]);
    Fit_Header_Rows();
    for (size_t g = 0; g < Grids.size(); ++g) {
        Hint_Lists[g]->Clear();
        for (int c = 1; c < Grids[g]->ColCount() + Grids[g]->NumHiddenColumns(); ++c) Hint_Lists[g]->Add(Lang[n++]);
    }
}

void TRuleTableForm::Fit_Header_Rows() {
    // A header wider than its column wraps onto more lines ("Add B1" in a 45-pixel column): the
    // header row grows to show them all, measured as the header text is drawn, and is never lower
    // than a data row.
    TBitmap Measure;
    Measure.SetSize(1, 1);
    TCanvas* C = Measure.Canvas();
    for (TExtColumnGrid* G : Grids) {
        const QPoint Offset = G->XYOffset();
        int Height = G->DefaultRowHeight();
        for (int c = 0; c < G->ColCount(); ++c) {
            C->Font()->Assign(G->Columns()->Items(G->RealColIndex(c))->HeaderFont());
            TRect R = Rect(0, 0, G->ColWidths(c) - G->GridLineWidth() - 2 * Offset.x(), 0);
            const int Text = C->DrawText(G->Cells(c, 0), R, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
            Height = std::max(Height, Text + 2 * Offset.y() + 2 * G->GridLineWidth());
        }
        G->SetRowHeights(0, Height);
    }
}

void TRuleTableForm::Clear_Grids() {
    // Only cells that hold something are written: a window is mostly shown with short tables.
    for (TExtColumnGrid* G : Grids) {
        const int N = G->ColCount() + G->NumHiddenColumns();
        for (int r = 1; r < G->RowCount(); ++r) {
            const QString Number = IntToStr(r);
            if (G->GetCellEx(0, r) != Number) G->SetCellEx(0, r, Number);
            for (int c = 1; c < N; ++c)
                if (!G->GetCellEx(c, r).isEmpty()) G->SetCellEx(c, r, QString());
        }
    }
}

void TRuleTableForm::Read_File() {
    // Rows go straight from the parsed file into the cells (the grids are empty here); a reading
    // that fails leaves the rows and columns read before it, as the user is then told.
    std::vector<int> Dropped(Grids.size(), 0);
    Walk_Table_Rows(*FDesc.File, *FDesc.FilePath, TTableWalk(), [&](const TTableRow& R) {
        if (R.Section() >= int(Grids.size())) return;
        TExtColumnGrid* G = Grids[size_t(R.Section())];
        if (R.Row() >= G->RowCount()) {
            ++Dropped[size_t(R.Section())];
            return;
        }
        const int N = int(FDesc.Grids[R.Section()].Columns.size());
        for (int c = 1; c <= N; ++c) {
            const QString Text = R.Value(c);
            if (!Text.isEmpty()) G->SetCellEx(c, R.Row(), Text);
        }
    });
    for (int d : Dropped)
        if (d > 0) FIncomplete = true;
}

void TRuleTableForm::FormShow(TObject* Sender) {
    (void)Sender;
    Clear_Grids();
    if (!Tabs.empty()) PageControl1->SetActivePage(Tabs.front());
    PROFINET_NByte_IN = CANopen_Data_Array_Size;
    PROFINET_NByte_OUT = CANopen_Data_Array_Size;
    FIncomplete = false;
    if (FDesc.FilePath && FileExists(*FDesc.FilePath)) {
        try {
            Read_File();
            if (FIncomplete) MessageDlg(Lang[1308], mtError, {mbOK});
        } catch (const std::exception& E) {
            // What was read before the failure stays on show; the user is told, and OK asks
            // before the rest of the file is replaced.
            FIncomplete = true;
            Application->HandleException(this, E);
        }
    }
    std::fill(Do_Copy.begin(), Do_Copy.end(), false);
}

TTableFileData TRuleTableForm::Grid_Data() {
    TTableFileData Data;
    for (TExtColumnGrid* G : Grids) {
        TTable T;
        const int N = G->ColCount() + G->NumHiddenColumns();
        T.Rows.reserve(G->RowCount() - 1);
        for (int r = 1; r < G->RowCount(); ++r) {
            QStringList Row;
            Row.reserve(N - 1);
            for (int c = 1; c < N; ++c) Row << G->GetCellEx(c, r);
            T.Rows << Row;
        }
        Data.Tables << T;
    }
    return Data;
}

void TRuleTableForm::Set_Grid_Data(const TTableFileData& Data) {
    for (size_t g = 0; g < Grids.size() && int(g) < Data.Tables.size(); ++g) {
        TExtColumnGrid* G = Grids[g];
        const TTable& T = Data.Tables[int(g)];
        const int N = G->ColCount() + G->NumHiddenColumns();
        for (int r = 0; r < T.Rows.size() && r + 1 < G->RowCount(); ++r)
            for (int c = 1; c < N && c - 1 < T.Rows[r].size(); ++c) G->SetCellEx(c, r + 1, T.Rows[r][c - 1]);
    }
}

bool TRuleTableForm::Controllo_dati() { return Check_Data(Grid_Data()); }

bool TRuleTableForm::Check_Data(const TTableFileData& Data) {
    if (!FDesc.Check) return true;
    const std::optional<TCheckError> Error = FDesc.Check(Data);
    if (!Error) return true;
    MessageDlg(Error->Text, mtError, {mbOK});
    return false;
}

void TRuleTableForm::Btn_OK_Click(TObject* Sender) {
    (void)Sender;
    const TTableFileData Data = Grid_Data();
    if (!Check_Data(Data)) return;
    if (FIncomplete && MessageDlg(Lang[1307], mtConfirmation, {mbYes, mbNo}) != mrYes) return;
    // The writer keeps each table up to its blank key and writes the file whole or not at all; a
    // failure raises before the window closes, so the edits stay.
    Write_Table_File(*FDesc.File, Data, *FDesc.FilePath);
    FIncomplete = false;
    SetModalResult(mrOk);
}

TExtColumnGrid* TRuleTableForm::Active_Grid() const {
    const int i = PageControl1->ActivePageIndex();
    return i >= 0 && i < int(Grids.size()) ? Grids[i] : nullptr;
}

int TRuleTableForm::Grid_Index(TObject* Sender) const {
    for (size_t g = 0; g < Grids.size(); ++g)
        if (Grids[g] == Sender) return int(g);
    return -1;
}

void TRuleTableForm::Btn_DelRow_Click(TObject* Sender) {
    (void)Sender;
    TExtColumnGrid* G = Active_Grid();
    if (!G || G->Row() < 1) return;
    const int Row = G->Row();
    if (MessageDlg(Lang[FDesc.DeleteQuestion] + IntToStr(Row), mtConfirmation, {mbYes, mbNo}) == mrYes)
        Delete_Row(Row, G);
}

void TRuleTableForm::Delete_Row(int Num_Row, TExtColumnGrid* SGA) {
    const int L = SGA->RowCount() - 1;
    const int Last = SGA->ColCount() - 1;
    for (int r = Num_Row; r < L; ++r)
        for (int c = 1; c <= Last; ++c) SGA->SetCells(c, r, SGA->Cells(c, r + 1));
    for (int c = 1; c <= Last; ++c) SGA->SetCells(c, L, QString());
}

void TRuleTableForm::Btn_InsRowClick(TObject* Sender) {
    (void)Sender;
    if (TExtColumnGrid* G = Active_Grid(); G && G->Row() >= 1) Grid_Insert_Row(G->Row(), G, false);
}

void TRuleTableForm::Btn_CopyRowClick(TObject* Sender) {
    (void)Sender;
    TExtColumnGrid* G = Active_Grid();
    if (!G || G->Row() < 1) return;
    Grid_Copy_Row(G, G->Row());
    const int i = Grid_Index(G);
    for (size_t g = 0; g < Do_Copy.size(); ++g) Do_Copy[g] = int(g) == i;
}

void TRuleTableForm::Btn_PasteRowClick(TObject* Sender) {
    (void)Sender;
    TExtColumnGrid* G = Active_Grid();
    if (!G || G->Row() < 1) return;
    Grid_Paste_Row(G, G->Row(), Do_Copy[Grid_Index(G)]);
}

void TRuleTableForm::GridHint(TObject* Sender, int ARow, int ACol, QString& hintstr) {
    (void)Sender;
    hintstr.clear();
    const int i = PageControl1->ActivePageIndex();
    if (i < 0 || i >= int(Hint_Lists.size()) || ARow != 0 || ACol < 1) return;
    if (ACol - 1 < Hint_Lists[i]->Count()) hintstr = Hint_Lists[i]->Strings(ACol - 1);
}

void TRuleTableForm::KeyPress(TObject* Sender, QChar& Key) { Grid_Enter_Next_Cell(Sender, Key); }

void TRuleTableForm::DblClickCell(TObject* Sender, int ARow, int ACol) { Grid_Header_DblClick(Sender, ARow, ACol); }

void TRuleTableForm::ClickCell(TObject* Sender, int ARow, int ACol) {
    // The corner cell heads the numbers but is no row: selecting it would put the current cell
    // into the header row.
    if (ACol != 0 || ARow < 1) return;
    if (auto* G = dynamic_cast<TExtStringGrid*>(Sender)) G->SelectRows(ARow, 1);
}
