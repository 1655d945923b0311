#include "gateway/UBoot.h"
#include "app/UComon.h"
#include "platform/rtl/Files.h"
#include "platform/xml/XMLDoc.h"

QString Update_Options(const QString& Prefix, int Option, bool ReadBack)
{
    const QString FR = ReadBack ? "FR " : "NO ";
    const QString PR = ReadBack ? "PR " : "NO ";
    switch (Option) {
    case Update_Firmware_And_Configuration: return Prefix + "FW " + FR + "PW " + PR;
    case Update_Firmware: return Prefix + "FW " + FR + "NO " + "NO ";
    case Update_Configuration: return Prefix + "NO " + "NO " + "PW " + PR;
    default: return Prefix;
    }
}

namespace {
enum TOperation { Op_Firmware, Op_Param_Block, Op_Table_Image };
}

static void Add_Operation(IXMLNode Operations, TOperation Op, const TBootParams& P, bool GoToAppAfter)
{
    const QString Project = IncludeTrailingPathDelimiter(P.Project_Dir);
    const QString FileName = Op == Op_Firmware      ? IncludeTrailingPathDelimiter(P.Master_Dir) + "SimQ4180.sim"
                             : Op == Op_Param_Block ? Project + "bin/bank1.bin"
                                                    : Project + "bin/bank2.bin";
    const QString Start = Op == Op_Firmware ? "0x8000" : Op == Op_Param_Block ? "0x07000" : "0x90000";
    IXMLNode O = Operations.AddChild("Operation");
    const QStringList Items = {
        "Ope_Protection_Enabled", "",
        "Ope_GoToBoot_Before", "0",
        "Ope_GoToApp_Before", "0",
        "Ope_IP_Address", "",
        "Ope_Port", "2008",
        "Ope_Port_Sec", "2007",
        "Ope_Erase_Memory", "0",
        "Ope_FileName", FileName,
        "Ope_Start_Address", Start,
        "Ope_Memory_Type", "0",
        "Ope_Bank_Type", Op == Op_Firmware ? "1" : "2",
        "Ope_Read_Back", P.ReadBack ? "1" : "0",
        "Ope_Write_CSS", Op == Op_Firmware ? "1" : "0",
        "Ope_Address_CSS", "0x07A00",
        "Ope_Command_CSS", "0x02",
        "Ope_Write_Internal_Data", "0",
        "Ope_WID_Address", "0x07810",
        "Ope_WID_Command", "0x02",
        "Ope_WID_Data", "0x00, 0x00, 0x00, 0x01",
        "Ope_GoToApp_After", GoToAppAfter ? "1" : "0",
    };
    for (int i = 0; i < Items.size(); i += 2) O.AddChild(Items[i]).SetText(Items[i + 1]);
}

static void Build_Document(TXMLDocument& Doc, const TBootParams& P)
{
    Doc.SetActive(true);
    Doc.Clear();
    IXMLNode Root = Doc.AddChild("Ethernet_Update");
    Root.AddChild("Version").SetText("1000");
    Root.AddChild("Title").SetText("Velmora - CFG4180 Ethernet Update");
    Root.AddChild("IP_Address_Dev").SetText(P.IP_Address);
    Root.AddChild("Application_Port").SetText("10000");
    Root.AddChild("Boot_Port").SetText("2008");
    Root.AddChild("Boot_Port_Sec").SetText("2007");
    Root.AddChild("Address_Protection").SetText("0x07800");
    Root.AddChild("Protections").AddChild("Protection").SetText("0x1C9");
    IXMLNode Ops = Root.AddChild("Operations");
    switch (P.Option) {
    case Update_Firmware_And_Configuration:
        Add_Operation(Ops, Op_Firmware, P, false);
        Add_Operation(Ops, Op_Param_Block, P, false);
        Add_Operation(Ops, Op_Table_Image, P, true);
        break;
    case Update_Firmware: Add_Operation(Ops, Op_Firmware, P, true); break;
    case Update_Configuration:
        Add_Operation(Ops, Op_Param_Block, P, false);
        Add_Operation(Ops, Op_Table_Image, P, true);
        break;
    default: break;
    }
}

QString Ethernet_Update_XML(const TBootParams& P)
{
    TXMLDocument Doc;
    Build_Document(Doc, P);
    return Doc.SaveToXML();
}

void Compile_XML_Parameter_New_Boot(const TBootParams& P)
{
    const QString FileName = App_Dir() + "Ethernet_Update.xml";
    TXMLDocument Doc;
    Build_Document(Doc, P);
    try {
        Doc.SaveToFile(FileName);
    } catch (const Exception& E) {
        DeleteFile(FileName);
        throw EInOutError(QString("Cannot write \"%1\": %2").arg(FileName, E.Message()));
    }
}

TBootParams TBootParams::From_Globals(const QString& IP_Address)
{
    return TBootParams{IP_Address, Update_Option_Index, Update_Read_Back, ::Master_Dir, ::Project_Dir};
}
