#include "gateway/USet_SDO_Server_Access.h"

#include "app/UComon.h"
#include "app/ULanguage.h"
#include "gateway/GatewayTables.h"

TFSet_SDO_Server_Access* FSet_SDO_Server_Access = nullptr;

static TRuleFormDesc SDO_Server_Form() {
    const QList<TRuleColumn> Columns = {{65, Key_Column_Color},      {61, Key_Column_Color},
                                        {55, Key_Column_Color},      {80, Position_Column_Color},
                                        {80, Position_Column_Color}, {80, Position_Column_Color},
                                        {80, Position_Column_Color}, {170, Mnemonic_Column_Color}};
    TRuleFormDesc D;
    D.FormName = "FSet_SDO_Server_Access";
    D.ClientWidth = 749;
    D.TextBase = 2700;
    D.DeleteQuestion = 2765;
    D.File = &SDO_Server_CANopen_File_Desc();
    D.FilePath = &File_SDO_Server_CANopen;
    D.Check = [](const TTableFileData& Data) { return Check_SDO_Server_CANopen(Data, [](int n) { return Lang[n]; }); };
    D.Grids = {{"sga", "TS_SDO_Read", "Do_Copy_SDO_Read", "Hint_SDO_Client_Read", SDO_Server_Rows, Columns},
               {"sgb", "TS_SDO_Write", "Do_Copy_SDO_Write", "Hint_SDO_Client_Write", SDO_Server_Rows, Columns}};
    return D;
}

TFSet_SDO_Server_Access::TFSet_SDO_Server_Access(TComponent* AOwner) : TRuleTableForm(AOwner, SDO_Server_Form()) {}
