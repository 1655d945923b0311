#pragma once
// State shared by the configurator's windows (folders, the open project and its files, the
// software identity, option flags, the shared lists) and the text validators the editors run on
// cell and field texts.
//
// The folder beside the executable is the platform's App_Dir() (platform/rtl/Files.h, with a
// trailing "/"); the folders below are kept without a trailing "/". Paths join with "/".

#include "platform/rtl/Files.h"
#include "platform/rtl/SysUtils.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>

class TStringList;

// ---- software identity --------------------------------------------------------------------
inline const QString Const_SW_Code = QStringLiteral("CFG4180");
inline const QString Const_SW_Desc = QStringLiteral("OPC UA Server / CANopen - Converter");
inline const QString Const_SW_Code_Query = QStringLiteral("CFG4180");
// What the main window's caption shows (with its trailing blank).
inline const QString Const_App_Title = QStringLiteral("Velmora - Configurator CFG4180 - OPC UA Server / CANopen ");
inline const QString Default_IP_Address = QStringLiteral("192.168.2.205");
inline const QString Default_Lang_Name = QStringLiteral("English");

// ---- folders and project ------------------------------------------------------------------
extern QString Master_Dir; // App_Dir() + "MASTER"
extern QString Projects_Dir; // App_Dir() + "PROJECTS"
extern QString Language_Dir; // App_Dir() + "LANGUAGE"
extern QString Project_Name; // folder name of the open project, empty when none is open
extern QString Project_Dir; // Projects_Dir + "/" + Project_Name, empty when none is open
extern QString App_Title;
extern QString SW_Code;
extern QString SW_Desc;

// ---- device, update, language -------------------------------------------------------------
extern QString Last_IP_Address;
extern int Update_Option_Index;
extern bool Update_Read_Back;
extern QString Lang_Name;
extern QString EDE_Import_Dir;

// ---- option flags (stored in the settings file as "1"/"0") --------------------------------
extern bool Opt_Enable_Internet;
extern bool Opt_Enable_Update;
extern bool Opt_Enable_Jump_Field_Tables;
extern bool Opt_Double_Click_Auto_Size;

// ---- the project's files, set together by Set_Files ---------------------------------------
extern QString File_ParGen;
extern QString File_OPC_UA_Server;
extern QString File_ModbusM_SetAccess;
extern QString File_BACnet_Slave;
extern QString File_CAN_Rec_Frames;
extern QString File_CAN_Send_Frames;
extern QString File_BACnet_Master_Access;
extern QString File_ModbusTCPM_SetAccess;
extern QString File_SDO_Server_CANopen;
extern QString File_SDO_Client_CANopen;
extern QString File_PDO_CANopen;
extern QString File_MQTT_Set_Topic;
extern QString File_DNETM_Net;
extern QString File_DNETM_DefOff;
extern QString File_DMX_Default_Values;
extern QString File_J1939_Rec_Frames;
extern QString File_J1939_Send_Frames;
extern QString File_KNX_SetAccess;
extern QString File_NMEA_Rec_Frames;
extern QString File_NMEA_Send_Frames;
extern QString File_SNMP_Manager;
extern QString File_SNMP_Trap;
extern QString File_EtherNetIP_Master_Rules;

// ---- shared lists (they exist for the whole run; Create_Shared_Lists empties them) ---------
extern TStringList* const Row_Clipboard; // the one copied grid row, a text per column
extern QList<bool> Row_Clipboard_CheckBox; // which of those columns are check boxes
extern TStringList* const MIB_Read_Names;
extern TStringList* const MIB_Write_Names;

// Sets every path global from Project_Dir. With no project open the paths are empty, so that
// nothing can read or write a project file outside a project folder.
void Set_Files();

// Sets Master_Dir, Projects_Dir and Language_Dir from App_Dir() and creates each missing folder
// (one level). A folder that cannot be created is not reported: later file operations in it fail
// with their own error.
void Prepare_App_Folders();

// Empties Row_Clipboard, Row_Clipboard_CheckBox, MIB_Read_Names and MIB_Write_Names.
void Create_Shared_Lists();

// Puts every global of this unit back to its value at program start (for tests).
void Reset_Globals();

// ---- text validators ----------------------------------------------------------------------
// True when Text is a dotted-quad address; the four parts (trimmed) go to A..D as far as the
// text reaches.
bool Split_IP_Address(const QString& Text, QString& A, QString& B, QString& C, QString& D);
// True on ERROR (an empty text, a missing part or an octet outside 0..255, whose byte becomes 0).
bool IP_To_Bytes(const QString& Text, uint8_t& B1, uint8_t& B2, uint8_t& B3, uint8_t& B4);
// "a.b.c.d:port" with blanks round the parts: True when valid; all outputs are 0 otherwise.
bool IP_Port_To_Bytes(const QString& Text, uint8_t& B1, uint8_t& B2, uint8_t& B3, uint8_t& B4, uint16_t& Port);
bool Has_No_Dot(const QString& Text);
// The result of Check_KNX_Address.
enum TKNXCheck : int {
    knxValid = 0, // a valid address of the asked kind
    knxInvalid = 1, // anything else
};
// Group: group address, else individual address.
TKNXCheck Check_KNX_Address(const QString& Text, bool Group, bool AllowZero);
// The result of Check_OID_Text: the first rule that fails, in this order.
enum TOIDCheck : int {
    oidValid = 0, // a usable object identifier
    oidTooLong = 1, // longer than 61 characters
    oidBadChar = 2, // a character other than a digit or "." (also the empty text)
    oidLeadingDot = 3, // starts with "."
    oidTrailingDot = 4, // ends with "."
    oidDoubleDot = 5, // two "." in a row
    oidArcTooBig = 6, // an arc above 4294967295
};
TOIDCheck Check_OID_Text(const QString& Text);
// The result of Check_SNMPv3_Text: the first rule that fails, in this order.
enum TSNMPv3Check : int {
    snmpValid = 0, // a usable user name or pass phrase
    snmpTooLong = 1, // longer than 15 characters
    snmpTooShort = 2, // shorter than 1 (user name) or 8 (pass phrase) characters
    snmpBadChar = 3, // a character other than 0-9, A-Z, a-z
};
TSNMPv3Check Check_SNMPv3_Text(const QString& Text, bool UserName);
// An SNMPv3 security level: bit 0 asks for an authentication pass phrase, bit 1 for a privacy one.
enum TSecurityLevel : int {
    slEmpty = -1, // the empty text
    slNoAuth = 0, // any other text, a level without authentication among them
    slAuthNoPriv = 1, // "AUTH NOPRIV"
    slAuthPriv = 3, // "AUTH PRIV"
};
// The text is trimmed and compared in any case.
TSecurityLevel Get_Security_Level(const QString& Text);
// The numbers of the serial ports present, as decimal texts in ascending order. Ports keep one
// number whatever else is plugged in: /dev/ttyS<k> is k + 1, /dev/ttyUSB<k> is 33 + k and
// /dev/ttyACM<k> is 65 + k, for k from 0 to 31; other devices get no number.
std::unique_ptr<TStringList> Get_COM_Ports();
// The number of one serial device path by that rule, -1 when it has none.
int COM_Port_Number(const QString& Device);
