#include "gateway/USet_PDO_Access.h"

#include "app/UComon.h"
#include "app/ULanguage.h"
#include "gateway/GatewayTables.h"

TFSet_PDO_Access* FSet_PDO_Access = nullptr;

static TRuleFormDesc PDO_Form() {
    QList<TRuleColumn> Receive = {{65, Key_Column_Color}, {65, Key_Column_Color}};
    for (int b = 0; b < 8; ++b) Receive << TRuleColumn{45, Position_Column_Color};
    QList<TRuleColumn> Transmit = Receive;
    Receive << TRuleColumn{65, Timing_Column_Color} << TRuleColumn{173, Mnemonic_Column_Color};
    Transmit << TRuleColumn{65, Timing_Column_Color} << TRuleColumn{68, Timing_Column_Color, edDataCheckBox}
             << TRuleColumn{105, Mnemonic_Column_Color};
    TRuleFormDesc D;
    D.FormName = "FSet_PDO_Access";
    D.ClientWidth = 798;
    D.TextBase = 2500;
    D.DeleteQuestion = 2591;
    D.File = &PDO_CANopen_File_Desc();
    D.FilePath = &File_PDO_CANopen;
    D.Check = [](const TTableFileData& Data) { return Check_PDO_CANopen(Data, [](int n) { return Lang[n]; }); };
    D.Grids = {{"sga", "TS_Receive_PDO", "Do_Copy_Receive_PDO", "Hint_PDO_Receive", PDO_Rows, Receive},
               {"sgb", "TS_Transmit_PDO", "Do_Copy_Transmit_PDO", "Hint_PDO_Transmit", PDO_Rows, Transmit}};
    return D;
}

TFSet_PDO_Access::TFSet_PDO_Access(TComponent* AOwner) : TRuleTableForm(AOwner, PDO_Form()) {}
