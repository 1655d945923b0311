#include "gateway/UOPC_UA_Server_Access.h"

#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UWindow_Look.h"
#include "gateway/GatewayTables.h"
#include "gateway/UComon_Grid.h"
#include "gateway/URuleTableForm.h"
#include "platform/gui/Dialogs.h"

TFOPC_UA_Server_Access* FOPC_UA_Server_Access = nullptr;

namespace {
constexpr int Col_Count = 8;
// Header text, width and cell colour of columns 0..7.
struct TOPCColumn {
    int Header;
    int Width;
    TColor Color;
};
constexpr TOPCColumn OPC_Columns[Col_Count] = {
    {1414, 40, clBtnFace},
    {1415, 50, RGB_Color(0xFFD8B0)},
    {1416, 120, RGB_Color(0xE0FAFE)},
    {1417, 100, RGB_Color(0xA8FFA8)},
    {1418, 100, RGB_Color(0xA8FFA8)},
    {1419, 280, RGB_Color(0xFCD6F4)},
    {1429, 100, RGB_Color(0xFCD6F4)},
    {1420, 280, RGB_Color(0xFFFFFF)},
};
// Column hints of columns 1..7.
constexpr int Hint_Texts[Col_Count - 1] = {1421, 1422, 1423, 1424, 1425, 1430, 1426};

TLangLookup Lang_Lookup() {
    return [](int n) { return Lang[n]; };
}
} // namespace

TFOPC_UA_Server_Access::TFOPC_UA_Server_Access(TComponent* AOwner) : TForm(AOwner) {}

void TFOPC_UA_Server_Access::CreateComponents() {
    SetName("FOPC_UA_Server_Access");
    Apply_Window_Look(this);
    SetScaled(false);
    SetClientWidth(1200);
    SetClientHeight(337);

    Create_Title_Panel(this, P_Title, L_SW_Code, L_SW_Desc);
    L_SW_Code->SetBounds(16, 8, 200, 39);
    L_SW_Desc->SetBounds(16, 42, 400, 13);

    P_Button = Create_Button_Panel(this, "P_Button");
    Btn_OK = Create_Dialog_Button(this, P_Button, "Btn_OK", 16);
    Btn_Cancel = Create_Dialog_Button(this, P_Button, "Btn_Cancel", 134);
    Btn_DelRow = Create_Dialog_Button(this, P_Button, "Btn_DelRow", 252);
    Btn_InsRow = Create_Dialog_Button(this, P_Button, "Btn_InsRow", 370);
    Btn_CopyRow = Create_Dialog_Button(this, P_Button, "Btn_CopyRow", 488);
    Btn_PasteRow = Create_Dialog_Button(this, P_Button, "Btn_PasteRow", 606);
    for (TLbButton* B : {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow}) B->SetShowHint(true);
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_OK->OnClick = [this](TObject* S) { Btn_OKClick(S); };
    Btn_DelRow->OnClick = [this](TObject* S) { Btn_DelRowClick(S); };
    Btn_InsRow->OnClick = [this](TObject* S) { Btn_InsRowClick(S); };
    Btn_CopyRow->OnClick = [this](TObject* S) { Btn_CopyRowClick(S); };
    Btn_PasteRow->OnClick = [this](TObject* S) { Btn_PasteRowClick(S); };

    ESG = Create<TExtStringGrid>(this, this);
    ESG->SetName("ESG");
    ESG->SetAlign(alClient);
    ESG->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goEditing});
    ESG->OnGetEditorType = [this](TObject* S, int C, int R, TEditorType& E) { ESGGetEditorType(S, C, R, E); };
    ESG->OnComboChange = [this](TObject* S, int C, int R, int I, const QString& T) { ESGComboChange(S, C, R, I, T); };
    Buttons_Last_In_Tab_Order(P_Button);
    OnShow = [this](TObject* S) { FormShow(S); };
}

void TFOPC_UA_Server_Access::FormCreate(TObject* Sender) {
    (void)Sender;
    L_SW_Code->SetCaption(SW_Code);
    SetClientHeight(337);
    SetClientWidth(1200);
    Hint = std::make_unique<TStringList>();
    VarType = std::make_unique<TStringList>();
    RWType = std::make_unique<TStringList>();
    Set_Lang();
    Init_Table();
}

void TFOPC_UA_Server_Access::Init_Table() {
    ESG->SetColCount(Col_Count);
    ESG->SetRowCount(Data_Rows + 1);
    ESG->SetFixedRows(1);
    ESG->SetFixedCols(1);
    ESG->SetDefaultRowHeight(21);
    ESG->SetRowHeights(0, 22);
    for (int c = 0; c < Col_Count; ++c) {
        ESG->SetCells(c, 0, Lang[OPC_Columns[c].Header]);
        ESG->SetColWidths(c, OPC_Columns[c].Width);
    }
    ESG->AddCheckBoxColumn(1, false, false);
    for (int r = 1; r <= Data_Rows; ++r) {
        ESG->SetCells(0, r, IntToStr(r));
        for (int c = 1; c < Col_Count; ++c) ESG->GetCellProperties(c, r)->SetBrushColor(OPC_Columns[c].Color);
        ESG->GetCellProperties(1, r)->SetAlignment(taCenter);
    }
    VarType->Clear();
    for (const QString& T : OPC_UA_VarType_List()) VarType->Add(T);
    RWType->Clear();
    for (const QString& T : OPC_UA_RWType_List()) RWType->Add(T);
}

void TFOPC_UA_Server_Access::Set_Lang() {
    SetCaption(Lang[1400]);
    L_SW_Desc->SetCaption(Lang[1401]);
    TLbButton* Buttons[] = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    for (int i = 0; i < 6; ++i) {
        Buttons[i]->SetCaption(Lang[1402 + i]);
        Buttons[i]->SetHint(Lang[1408 + i]);
    }
    for (int c = 0; c < Col_Count && c < ESG->ColCount(); ++c) ESG->SetCells(c, 0, Lang[OPC_Columns[c].Header]);
    if (Hint) {
        Hint->Clear();
        for (int n : Hint_Texts) Hint->Add(Lang[n]);
    }
}

void TFOPC_UA_Server_Access::Set_Row_Flags(int ARow) {
    const auto Length = OPC_UA_Type_Length(ESG->Cells(OPC_UA_Col::Type, ARow));
    for (int c = 1; c < ESG->ColCount() + ESG->NumHiddenColumns(); ++c)
        ESG->GetCellProperties(c, ARow)->SetReadOnly(c == OPC_UA_Col::Length && Length && Length->ReadOnly);
}

void TFOPC_UA_Server_Access::FormShow(TObject* Sender) {
    (void)Sender;
    const int N = ESG->ColCount() + ESG->NumHiddenColumns();
    for (int r = 1; r <= Data_Rows; ++r) {
        ESG->SetCells(0, r, IntToStr(r));
        ESG->SetCheckBoxState(1, r, true);
        for (int c = 2; c < N; ++c) ESG->SetCellEx(c, r, QString());
    }
    FIncomplete = false;
    if (FileExists(File_OPC_UA_Server)) {
        TTableFileData Data;
        try {
            Read_Table_File(OPC_UA_Server_File_Desc(), File_OPC_UA_Server, Data);
        } catch (const std::exception& E) {
            FIncomplete = true;
            if (!Data.Tables.isEmpty()) Set_Grid_Table(Data.Tables.first());
            Application->HandleException(this, E);
            Data = {};
        }
        if (!FIncomplete && !Data.Tables.isEmpty()) {
            Set_Grid_Table(Data.Tables.first());
            if (Data.Tables.first().Dropped > 0) {
                FIncomplete = true;
                MessageDlg(Lang[1308], mtError, {mbOK});
            }
        }
    }
    // The flags follow what the rows hold now, whatever deletes or types left behind before.
    for (int r = 1; r <= Data_Rows; ++r) Set_Row_Flags(r);
    Do_Copy = false;
}

void TFOPC_UA_Server_Access::Set_Grid_Table(const TTable& Table) {
    for (int j = 0; j < Table.Rows.size() && j < Data_Rows; ++j) {
        const int r = j + 1;
        const QStringList& Row = Table.Rows[j];
        ESG->SetCheckBoxState(1, r, Table_Cell(Row, OPC_UA_Col::Enable) != "N");
        const QString Type = Table_Cell(Row, OPC_UA_Col::Type);
        ESG->SetCells(OPC_UA_Col::Type, r, Type);
        VarSetLength(Type, OPC_UA_Col::Type, r);
        for (int c = OPC_UA_Col::Position; c <= OPC_UA_Col::Mnemonic; ++c) {
            // A row read only partly keeps the defaults of the columns it did not reach.
            if (c - 1 < Row.size()) ESG->SetCells(c, r, Row[c - 1]);
        }
    }
}

TTable TFOPC_UA_Server_Access::Grid_Table() {
    TTable T;
    T.Rows.reserve(Data_Rows);
    for (int r = 1; r <= Data_Rows; ++r) {
        QStringList Row;
        Row << (ESG->IsChecked(1, r) ? "Y" : "N");
        for (int c = 2; c < Col_Count; ++c) Row << ESG->Cells(c, r);
        T.Rows << Row;
    }
    return T;
}

void TFOPC_UA_Server_Access::VarSetLength(const QString& ASelection, int ACol, int ARow) {
    (void)ACol;
    if (const auto L = OPC_UA_Type_Length(ASelection)) {
        ESG->SetCells(OPC_UA_Col::Length, ARow, L->Length);
        ESG->GetCellProperties(OPC_UA_Col::Length, ARow)->SetReadOnly(L->ReadOnly);
    }
    if (ESG->Cells(OPC_UA_Col::ReadWrite, ARow).isEmpty()) ESG->SetCells(OPC_UA_Col::ReadWrite, ARow, "Read/Write");
}

bool TFOPC_UA_Server_Access::Controllo_dati() {
    const std::optional<TCheckError> Error = Check_OPC_UA_Server(Grid_Table(), Lang_Lookup());
    if (!Error) return true;
    MessageDlg(Error->Text, mtError, {mbOK});
    return false;
}

void TFOPC_UA_Server_Access::Btn_OKClick(TObject* Sender) {
    (void)Sender;
    if (!Controllo_dati()) return;
    if (FIncomplete && MessageDlg(Lang[1307], mtConfirmation, {mbYes, mbNo}) != mrYes) return;
    TTableFileData Data;
    Data.Tables << Grid_Table();
    Write_Table_File(OPC_UA_Server_File_Desc(), Data, File_OPC_UA_Server);
    FIncomplete = false;
    SetModalResult(mrOk);
}

void TFOPC_UA_Server_Access::Btn_DelRowClick(TObject* Sender) {
    (void)Sender;
    const int Row = ESG->Row();
    if (Row < 1) return;
    const QString Question = Lang_Format(Lang_Lookup(), 1428, {Row});
    if (MessageDlg(Question, mtConfirmation, {mbYes, mbNo}) == mrYes) Grid_Delete_Row_CheckBox(Row, ESG, true);
}

void TFOPC_UA_Server_Access::Btn_InsRowClick(TObject* Sender) {
    (void)Sender;
    if (ESG->Row() >= 1) Grid_Insert_Row_CheckBox(ESG->Row(), ESG, true);
}

void TFOPC_UA_Server_Access::Btn_CopyRowClick(TObject* Sender) {
    (void)Sender;
    if (ESG->Row() < 1) return;
    Grid_Copy_Row_CheckBox(ESG, ESG->Row());
    Do_Copy = true;
}

void TFOPC_UA_Server_Access::Btn_PasteRowClick(TObject* Sender) {
    (void)Sender;
    const int Row = ESG->Row();
    if (Row < 1) return;
    Grid_Paste_Row_CheckBox(ESG, Row, Do_Copy);
    const QString Length = ESG->Cells(OPC_UA_Col::Length, Row);
    VarSetLength(ESG->Cells(OPC_UA_Col::Type, Row), OPC_UA_Col::Type, Row);
    ESG->SetCells(OPC_UA_Col::Length, Row, Length);
}

void TFOPC_UA_Server_Access::ESGGetEditorType(TObject* Sender, int ACol, int ARow, TEditorType& AEditor) {
    (void)Sender;
    (void)ARow;
    const TStringList* Items = ACol == OPC_UA_Col::Type ? VarType.get()
        : ACol == OPC_UA_Col::ReadWrite                 ? RWType.get()
                                                        : nullptr;
    if (!Items) return;
    AEditor = edComboList;
    ESG->ClearComboString();
    for (int i = 0; i < Items->Count(); ++i) ESG->AddComboString(Items->Strings(i));
}

void TFOPC_UA_Server_Access::ESGComboChange(TObject* Sender, int ACol, int ARow, int AItemIndex,
                                            const QString& ASelection) {
    (void)Sender;
    (void)AItemIndex;
    if (ACol == OPC_UA_Col::Type) VarSetLength(ASelection, ACol, ARow);
}
