#include "gateway/USet_SDO_Client_Access.h"

#include "app/UComon.h"
#include "app/ULanguage.h"
#include "gateway/GatewayTables.h"

TFSet_SDO_Client_Access* FSet_SDO_Client_Access = nullptr;

static TRuleFormDesc SDO_Client_Form() {
    const QList<TRuleColumn> Request = {{60, Key_Column_Color},
                                        {55, Key_Column_Color},
                                        {60, Key_Column_Color},
                                        {45, Key_Column_Color},
                                        {60, Timing_Column_Color}};
    QList<TRuleColumn> Read = Request;
    for (int b = 0; b < 4; ++b) Read << TRuleColumn{70, Position_Column_Color};
    QList<TRuleColumn> Write = Read;
    Read << TRuleColumn{163, Mnemonic_Column_Color};
    Write.insert(5, TRuleColumn{68, Timing_Column_Color, edDataCheckBox});
    Write << TRuleColumn{95, Mnemonic_Column_Color};
    TRuleFormDesc D;
    D.FormName = "FSet_SDO_Client_Access";
    D.ClientWidth = 798;
    D.TextBase = 2600;
    D.DeleteQuestion = 2679;
    D.File = &SDO_Client_CANopen_File_Desc();
    D.FilePath = &File_SDO_Client_CANopen;
    D.Check = [](const TTableFileData& Data) { return Check_SDO_Client_CANopen(Data, [](int n) { return Lang[n]; }); };
    D.Grids = {{"sga", "TS_SDO_Read", "Do_Copy_SDO_Read", "Hint_SDO_Client_Read", SDO_Client_Rows, Read},
               {"sgb", "TS_SDO_Write", "Do_Copy_SDO_Write", "Hint_SDO_Client_Write", SDO_Client_Rows, Write}};
    return D;
}

TFSet_SDO_Client_Access::TFSet_SDO_Client_Access(TComponent* AOwner) : TRuleTableForm(AOwner, SDO_Client_Form()) {}
