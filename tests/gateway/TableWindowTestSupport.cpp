#include "tests/gateway/TableWindowTestSupport.h"

#include "platform/gui/Forms.h"

namespace {
TRuleTableForm* Rule(TForm* F) { return dynamic_cast<TRuleTableForm*>(F); }
TFOPC_UA_Server_Access* Opc(TForm* F) { return dynamic_cast<TFOPC_UA_Server_Access*>(F); }
} // namespace

void Set_Cell(TForm* F, int Table, int Row, int Col, const QString& Text) {
    if (TRuleTableForm* R = Rule(F)) {
        R->Grids[Table]->SetCells(Col, Row, Text);
    } else if (TFOPC_UA_Server_Access* O = Opc(F)) {
        if (Col == OPC_UA_Col::Enable)
            O->ESG->SetCheckBoxState(Col, Row, Text != "N");
        else
            O->ESG->SetCells(Col, Row, Text);
    }
}

void Set_Row(TForm* F, int Table, int Row, const QStringList& Cells) {
    for (int c = 1; c <= Cells.size(); ++c) Set_Cell(F, Table, Row, c, Cells[c - 1]);
}

QStringList Get_Row(TForm* F, int Table, int Row) {
    QStringList Cells;
    if (TRuleTableForm* R = Rule(F)) {
        TExtColumnGrid* G = R->Grids[Table];
        for (int c = 1; c < G->ColCount(); ++c) Cells << G->Cells(c, Row);
    } else if (TFOPC_UA_Server_Access* O = Opc(F)) {
        Cells << (O->ESG->IsChecked(1, Row) ? "Y" : "N");
        for (int c = 2; c < O->ESG->ColCount(); ++c) Cells << O->ESG->Cells(c, Row);
    }
    return Cells;
}

int Data_Rows(TForm* F, int Table) {
    if (TRuleTableForm* R = Rule(F)) return R->Grids[Table]->RowCount() - 1;
    return Opc(F)->ESG->RowCount() - 1;
}

void Press_OK(TForm* F) {
    if (TRuleTableForm* R = Rule(F))
        R->Btn_OK->Click();
    else
        Opc(F)->Btn_OK->Click();
}

void Show(TForm* F) {
    if (TRuleTableForm* R = Rule(F))
        R->FormShow(R);
    else
        Opc(F)->FormShow(F);
}

bool Incomplete(TForm* F) {
    if (TRuleTableForm* R = Rule(F)) return R->File_Incomplete();
    return Opc(F)->File_Incomplete();
}

namespace {
QStringList Blanks(int n) { return QStringList(n, QString()); }

QString Rule_Message(int ErrorRow, int Text, int Row) { return Lang[ErrorRow] + IntToStr(Row) + Lang[Text]; }
} // namespace

const std::vector<TTableWindow>& Table_Windows() {
    static const std::vector<TTableWindow> Windows = {
        {"OpcUaVariables", [] { return static_cast<TForm*>(Create<TFOPC_UA_Server_Access>(nullptr)); },
         &File_OPC_UA_Server, 1400, 1,
         [](int, int k) {
             return QStringList{"Y",         "Int32",          IntToStr(4 * k), "4", "Var" + IntToStr(k),
                                "Read Only", "m" + IntToStr(k)};
         },
         OPC_UA_Col::Type, OPC_UA_Col::Position, "2000",
         [](int Row) {
             return Format(Lang[1427], {Row, 1999});
         }},
        {"SdoServer", [] { return static_cast<TForm*>(Create<TFSet_SDO_Server_Access>(nullptr)); },
         &File_SDO_Server_CANopen, 2700, 2,
         [](int Table, int k) {
             return QStringList{"$" + QString::number(0x2000 + k, 16),
                                IntToStr(Table),
                                "2",
                                IntToStr(k),
                                IntToStr(k + 1),
                                "",
                                "",
                                "obj " + IntToStr(k)};
         },
         1, 1, "$1FFF", [](int Row) { return Rule_Message(2750, 2751, Row); }},
        {"SdoClient", [] { return static_cast<TForm*>(Create<TFSet_SDO_Client_Access>(nullptr)); },
         &File_SDO_Client_CANopen, 2600, 2,
         [](int Table, int k) {
             QStringList R = {IntToStr(1 + k % 127), "0x1000", IntToStr(k), "1", "100"};
             if (Table == 1) R << (k % 2 ? "Y" : "N");
             return R + QStringList{IntToStr(k), "", "", "", "req " + IntToStr(k)};
         },
         1, 1, "0", [](int Row) { return Rule_Message(2660, 2661, Row); }},
        {"Pdo", [] { return static_cast<TForm*>(Create<TFSet_PDO_Access>(nullptr)); }, &File_PDO_CANopen, 2500, 2,
         [](int Table, int k) {
             QStringList R = {IntToStr(0x180 + k), "2", IntToStr(2 * k), IntToStr(2 * k + 1)};
             R += Blanks(6);
             R << "50";
             if (Table == 1) R << "Y";
             return R << "pdo " + IntToStr(k);
         },
         1, 1, "0x800", [](int Row) { return Rule_Message(2568, 2569, Row); }},
    };
    return Windows;
}

TableWindowFixture::TableWindowFixture() {
    Reset_Globals();
    Load_English_Strings();
    SW_Code = Const_SW_Code;
    Project_Dir = Dir.path();
    Set_Files();
    Row_Clipboard->Clear();
}

TableWindowFixture::~TableWindowFixture() {
    Project_Dir.clear();
    Set_Files();
    Reset_Globals();
}
