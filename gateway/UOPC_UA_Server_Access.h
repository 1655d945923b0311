#pragma once
// Step 3: the variables the gateway's OPC UA server offers, one row each (enable, type, position
// and length in the data array, name, access, description), kept in "OPC_UA_Server.xml". One
// string grid with a check-box column and two combo columns whose items the window supplies.
#include "app/LbButton.h"
#include "gateway/TableFile.h"
#include "grid/control/ExtGrid.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

#include <QString>

#include <memory>

class TFOPC_UA_Server_Access : public TForm {
public:
    explicit TFOPC_UA_Server_Access(TComponent* AOwner);

    void CreateComponents() override;
    void FormCreate(TObject* Sender) override;
    void FormShow(TObject* Sender);
    void Set_Lang();
    bool Controllo_dati();
    void Init_Table();
    void VarSetLength(const QString& ASelection, int ACol, int ARow);
    void Btn_OKClick(TObject* Sender);
    void Btn_DelRowClick(TObject* Sender);
    void Btn_InsRowClick(TObject* Sender);
    void Btn_CopyRowClick(TObject* Sender);
    void Btn_PasteRowClick(TObject* Sender);
    void ESGGetEditorType(TObject* Sender, int ACol, int ARow, TEditorType& AEditor);
    void ESGComboChange(TObject* Sender, int ACol, int ARow, int AItemIndex, const QString& ASelection);

    // The table as the file holds it (Enable from the check box), and back into the grid.
    TTable Grid_Table();
    void Set_Grid_Table(const TTable& Table);
    bool File_Incomplete() const { return FIncomplete; }

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TExtStringGrid* ESG = nullptr;
    TPanel* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    TLbButton* Btn_DelRow = nullptr;
    TLbButton* Btn_InsRow = nullptr;
    TLbButton* Btn_CopyRow = nullptr;
    TLbButton* Btn_PasteRow = nullptr;
    std::unique_ptr<TStringList> Hint;
    std::unique_ptr<TStringList> VarType;
    std::unique_ptr<TStringList> RWType;
    bool Do_Copy = false;

    static constexpr int Data_Rows = 250;

private:
    // The Length cell of a row is read-only exactly for the fixed-size types; every other cell of
    // a data row is editable.
    void Set_Row_Flags(int ARow);
    bool FIncomplete = false;
};

extern TFOPC_UA_Server_Access* FOPC_UA_Server_Access;
