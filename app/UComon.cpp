#include "app/UComon.h"

#include "platform/rtl/Classes.h"
#include "platform/shell/Shell.h"

#include <algorithm>

QString Master_Dir;
QString Projects_Dir;
QString Language_Dir;
QString Project_Name;
QString Project_Dir;
QString App_Title;
QString SW_Code;
QString SW_Desc;

QString Last_IP_Address;
int Update_Option_Index = 0;
bool Update_Read_Back = true;
QString Lang_Name;
QString EDE_Import_Dir;

bool Opt_Enable_Internet = false;
bool Opt_Enable_Update = false;
bool Opt_Enable_Jump_Field_Tables = false;
bool Opt_Double_Click_Auto_Size = false;

QString File_ParGen;
QString File_OPC_UA_Server;
QString File_ModbusM_SetAccess;
QString File_BACnet_Slave;
QString File_CAN_Rec_Frames;
QString File_CAN_Send_Frames;
QString File_BACnet_Master_Access;
QString File_ModbusTCPM_SetAccess;
QString File_SDO_Server_CANopen;
QString File_SDO_Client_CANopen;
QString File_PDO_CANopen;
QString File_MQTT_Set_Topic;
QString File_DNETM_Net;
QString File_DNETM_DefOff;
QString File_DMX_Default_Values;
QString File_J1939_Rec_Frames;
QString File_J1939_Send_Frames;
QString File_KNX_SetAccess;
QString File_NMEA_Rec_Frames;
QString File_NMEA_Send_Frames;
QString File_SNMP_Manager;
QString File_SNMP_Trap;
QString File_EtherNetIP_Master_Rules;

namespace {
TStringList Row_Clipboard_List;
TStringList MIB_Read_Names_List;
TStringList MIB_Write_Names_List;

struct TProjectFile {
    QString* Path;
    const char* Name;
};

// In the order the main window assigns them.
const TProjectFile Project_Files[] = {
    {&File_ParGen, "ParGen.xml"},
    {&File_OPC_UA_Server, "OPC_UA_Server.xml"},
    {&File_ModbusM_SetAccess, "ModbusM_SetAccess.xml"},
    {&File_BACnet_Slave, "BACnet_Slave.xml"},
    {&File_CAN_Rec_Frames, "CAN_Rec_Frames.xml"},
    {&File_CAN_Send_Frames, "CAN_Send_Frames.xml"},
    {&File_BACnet_Master_Access, "BACnet_Master_Access.xml"},
    {&File_ModbusTCPM_SetAccess, "ModbusTCPM_SetAccess.xml"},
    {&File_SDO_Server_CANopen, "SDO_Server_CANopen.xml"},
    {&File_SDO_Client_CANopen, "SDO_Client_CANopen.xml"},
    {&File_PDO_CANopen, "PDO_CANopen.xml"},
    {&File_MQTT_Set_Topic, "MQTT_Set_Topic.xml"},
    {&File_DNETM_Net, "DNETM_Net.xml"},
    {&File_DNETM_DefOff, "DNETM_DefOff.xml"},
    {&File_DMX_Default_Values, "DMX_Default_Values.xml"},
    {&File_J1939_Rec_Frames, "J1939_Rec_Frames.xml"},
    {&File_J1939_Send_Frames, "J1939_Send_Frames.xml"},
    {&File_KNX_SetAccess, "KNX_SetAccess.xml"},
    {&File_NMEA_Rec_Frames, "NMEA_Rec_Frames.xml"},
    {&File_NMEA_Send_Frames, "NMEA_Send_Frames.xml"},
    {&File_SNMP_Manager, "SNMP_Manager.xml"},
    {&File_SNMP_Trap, "SNMP_Trap.xml"},
    {&File_EtherNetIP_Master_Rules, "EtherNetIP_Master_Rules.xml"},
};

bool InRange(int Value, int Low, int High) { return Value >= Low && Value <= High; }

// The part of S before its first Sep (the whole text when there is none) and the part after it.
void SplitAtFirst(const QString& S, QChar Sep, QString& Before, QString& After, bool& Found) {
    const int p = S.indexOf(Sep);
    Found = p >= 0;
    if (Found) {
        Before = S.left(p);
        After = S.mid(p + 1);
    } else {
        Before = S;
        After.clear();
    }
}
} // namespace

TStringList* const Row_Clipboard = &Row_Clipboard_List;
TStringList* const MIB_Read_Names = &MIB_Read_Names_List;
TStringList* const MIB_Write_Names = &MIB_Write_Names_List;
QList<bool> Row_Clipboard_CheckBox;

void Set_Files() {
    for (const TProjectFile& F : Project_Files)
        *F.Path = Project_Dir.isEmpty() ? QString() : Project_Dir + "/" + QLatin1String(F.Name);
}

void Prepare_App_Folders() {
    const QString Base = ExcludeTrailingPathDelimiter(App_Dir());
    Master_Dir = Base + "/MASTER";
    Projects_Dir = Base + "/PROJECTS";
    Language_Dir = Base + "/LANGUAGE";
    for (const QString& Dir : {Master_Dir, Projects_Dir, Language_Dir})
        if (!DirectoryExists(Dir)) CreateDir(Dir);
}

void Create_Shared_Lists() {
    Row_Clipboard->Clear();
    Row_Clipboard_CheckBox.clear();
    MIB_Read_Names->Clear();
    MIB_Write_Names->Clear();
}

void Reset_Globals() {
    for (QString* S : {&Master_Dir, &Projects_Dir, &Language_Dir, &Project_Name, &Project_Dir, &App_Title, &SW_Code,
                       &SW_Desc, &Last_IP_Address, &Lang_Name, &EDE_Import_Dir})
        S->clear();
    Update_Option_Index = 0;
    Update_Read_Back = true;
    Opt_Enable_Internet = false;
    Opt_Enable_Update = false;
    Opt_Enable_Jump_Field_Tables = false;
    Opt_Double_Click_Auto_Size = false;
    for (const TProjectFile& F : Project_Files) F.Path->clear();
    Create_Shared_Lists();
}

// ---- validators ---------------------------------------------------------------------------

bool Split_IP_Address(const QString& Text, QString& A, QString& B, QString& C, QString& D) {
    QString Rest = Trim(Text);
    QString* Parts[3] = {&A, &B, &C};
    for (QString* Part : Parts) {
        const int p = Rest.indexOf('.');
        if (p < 0) return false;
        *Part = Trim(Rest.left(p));
        Rest = Trim(Rest.mid(p + 1));
    }
    D = Trim(Rest);
    for (const QString* Part : {&A, &B, &C, &D})
        if (!InRange(StrToIntDef(*Part, 1000), 0, 255)) return false;
    return true;
}

bool IP_To_Bytes(const QString& Text, uint8_t& B1, uint8_t& B2, uint8_t& B3, uint8_t& B4) {
    if (Text.isEmpty()) return true;
    bool Error = false;
    QString Rest = Text;
    uint8_t* Bytes[4] = {&B1, &B2, &B3, &B4};
    for (int i = 0; i < 4; ++i) {
        const int p = Rest.indexOf('.');
        // Without a "." the part before it is empty, which is no number: the octet is missing.
        const QString Part = i == 3 ? Rest : (p >= 0 ? Rest.left(p) : QString());
        const int Value = StrToIntDef(Part, -1);
        if (InRange(Value, 0, 255)) {
            *Bytes[i] = uint8_t(Value);
        } else {
            *Bytes[i] = 0;
            Error = true;
        }
        if (p >= 0) Rest = Rest.mid(p + 1);
    }
    return Error;
}

bool IP_Port_To_Bytes(const QString& Text, uint8_t& B1, uint8_t& B2, uint8_t& B3, uint8_t& B4, uint16_t& Port) {
    B1 = B2 = B3 = B4 = 0;
    Port = 0;
    QString Rest = Text;
    int Octets[4];
    for (int i = 0; i < 3; ++i) {
        const int p = Rest.indexOf('.');
        if (p < 0) return false;
        Octets[i] = StrToIntDef(Trim(Rest.left(p)), -1);
        Rest = Trim(Rest.mid(p + 1));
    }
    const int p = Rest.indexOf(':');
    if (p < 0) return false;
    Octets[3] = StrToIntDef(Trim(Rest.left(p)), -1);
    const int PortValue = StrToIntDef(Trim(Rest.mid(p + 1)), -1);
    for (int Octet : Octets)
        if (!InRange(Octet, 0, 255)) return false;
    if (!InRange(PortValue, 0, 65535)) return false;
    B1 = uint8_t(Octets[0]);
    B2 = uint8_t(Octets[1]);
    B3 = uint8_t(Octets[2]);
    B4 = uint8_t(Octets[3]);
    Port = uint16_t(PortValue);
    return true;
}

bool Has_No_Dot(const QString& Text) { return !Text.contains('.'); }

TKNXCheck Check_KNX_Address(const QString& Text, bool Group, bool AllowZero) {
    QString P1, Rest, P2, P3;
    bool Found = false;
    if (!Group) {
        if (Text.contains('/')) return knxInvalid;
        if (!Text.contains('.')) return InRange(StrToIntDef(Text, -1), 1, 65535) ? knxValid : knxInvalid;
        SplitAtFirst(Text, '.', P1, Rest, Found);
        SplitAtFirst(Rest, '.', P2, P3, Found);
        // An individual address has exactly three parts: area, line and device.
        if (!Found || P3.contains('.')) return knxInvalid;
        const int Area = StrToIntDef(Trim(P1), -1);
        const int Line = StrToIntDef(Trim(P2), -1);
        const int Device = StrToIntDef(Trim(P3), -1);
        if (!InRange(Area, 0, 15) || !InRange(Line, 0, 15) || !InRange(Device, 0, 255)) return knxInvalid;
        if (!AllowZero && Area == 0 && Line == 0 && Device == 0) return knxInvalid;
        return knxValid;
    }
    if (Text.contains('.')) return knxInvalid;
    if (!Text.contains('/')) return InRange(StrToIntDef(Text, -1), 1, 65535) ? knxValid : knxInvalid;
    SplitAtFirst(Text, '/', P1, Rest, Found);
    const int Main = StrToIntDef(Trim(P1), -1);
    if (!Rest.contains('/')) {
        const int Sub = StrToIntDef(Trim(Rest), -1);
        return InRange(Main, 0, 31) && InRange(Sub, 0, 2047) && !(Main == 0 && Sub == 0) ? knxValid : knxInvalid;
    }
    SplitAtFirst(Rest, '/', P2, P3, Found);
    if (P3.contains('/')) return knxInvalid;
    const int Middle = StrToIntDef(Trim(P2), -1);
    const int Sub = StrToIntDef(Trim(P3), -1);
    return InRange(Main, 0, 31) && InRange(Middle, 0, 7) && InRange(Sub, 0, 255) &&
            !(Main == 0 && Middle == 0 && Sub == 0)
        ? knxValid
        : knxInvalid;
}

TOIDCheck Check_OID_Text(const QString& Text) {
    if (Text.length() > 61) return oidTooLong;
    // An empty identifier names nothing; it fails as a text without the expected characters.
    if (Text.isEmpty()) return oidBadChar;
    for (QChar Ch : Text)
        if (!(Ch == '.' || (Ch >= '0' && Ch <= '9'))) return oidBadChar;
    if (Text.startsWith('.')) return oidLeadingDot;
    if (Text.endsWith('.')) return oidTrailingDot;
    if (Text.contains(QLatin1String(".."))) return oidDoubleDot;
    for (const QString& Arc : Text.split('.')) {
        uint64_t Value = 0;
        for (QChar Ch : Arc) {
            Value = Value * 10 + uint64_t(Ch.unicode() - '0');
            if (Value > 0xFFFFFFFFull) return oidArcTooBig;
        }
    }
    return oidValid;
}

TSNMPv3Check Check_SNMPv3_Text(const QString& Text, bool UserName) {
    if (Text.length() > 15) return snmpTooLong;
    if (Text.length() < (UserName ? 1 : 8)) return snmpTooShort;
    for (QChar Ch : Text)
        if (!((Ch >= '0' && Ch <= '9') || (Ch >= 'A' && Ch <= 'Z') || (Ch >= 'a' && Ch <= 'z'))) return snmpBadChar;
    return snmpValid;
}

TSecurityLevel Get_Security_Level(const QString& Text) {
    const QString S = UpperCase(Trim(Text));
    if (S == QLatin1String("AUTH NOPRIV")) return slAuthNoPriv;
    if (S == QLatin1String("AUTH PRIV")) return slAuthPriv;
    if (S.isEmpty()) return slEmpty;
    return slNoAuth;
}

int COM_Port_Number(const QString& Device) {
    static const struct {
        const char* Prefix;
        int First;
    } Families[] = {{"/dev/ttyS", 1}, {"/dev/ttyUSB", 33}, {"/dev/ttyACM", 65}};
    for (const auto& Family : Families) {
        const QString Prefix = QLatin1String(Family.Prefix);
        if (!Device.startsWith(Prefix)) continue;
        const QString Digits = Device.mid(Prefix.length());
        bool Ok = !Digits.isEmpty();
        for (QChar Ch : Digits) Ok = Ok && Ch >= '0' && Ch <= '9';
        const int Index = Ok && Digits.length() <= 2 ? Digits.toInt() : -1;
        return Index >= 0 && Index < 32 ? Family.First + Index : -1;
    }
    return -1;
}

std::unique_ptr<TStringList> Get_COM_Ports() {
    QList<int> Numbers;
    for (const QString& Device : ListSerialPorts()) {
        const int n = COM_Port_Number(Device);
        if (n > 0 && !Numbers.contains(n)) Numbers.append(n);
    }
    std::sort(Numbers.begin(), Numbers.end());
    auto List = std::make_unique<TStringList>();
    for (int n : Numbers) List->Add(IntToStr(n));
    return List;
}
