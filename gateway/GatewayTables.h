#pragma once
// The four table files of the OPC UA / CANopen gateway and the checks of their windows.
// The windows (UOPC_UA_Server_Access, USet_SDO_Server_Access, USet_SDO_Client_Access,
// USet_PDO_Access) copy their grids into a TTableFileData, call the check and, when it passes,
// Write_Table_File with the description; on showing they call Read_Table_File.

#include "gateway/TableChecks.h"
#include "gateway/TableFile.h"

#include <optional>

// Grid data rows of the windows (the readers' and writers' limits).
constexpr int OPC_UA_Server_Rows = 250;
constexpr int SDO_Server_Rows = 500;
constexpr int SDO_Client_Rows = 256;
constexpr int PDO_Rows = 30;

// Size of the OPC UA data array (positions 0..1999) and of the CANopen data arrays.
constexpr int OPC_UA_Data_Array_Size = 2000;
constexpr int CANopen_Data_Array_Size = 1500;

// Grid columns (from 1) of the tables, one stored attribute each, in the order the files hold them.
namespace OPC_UA_Col {
enum : int { Enable = 1, Type, Position, Length, Name, ReadWrite, Mnemonic };
}
namespace SDO_Server_Col {
enum : int { Index = 1, SubIndex, NByte, Address_B1, Address_B2, Address_B3, Address_B4, Mnemonic };
}
// The read table has no On_Change column: its addresses start one column earlier.
namespace SDO_Client_Read_Col {
enum : int {
    Device_ID = 1,
    Index,
    SubIndex,
    NByte,
    Poll_Time,
    Address_B1,
    Address_B2,
    Address_B3,
    Address_B4,
    Mnemonic
};
}
namespace SDO_Client_Write_Col {
enum : int {
    Device_ID = 1,
    Index,
    SubIndex,
    NByte,
    Poll_Time,
    On_Change,
    Address_B1,
    Address_B2,
    Address_B3,
    Address_B4,
    Mnemonic
};
}
// Address_B1 .. Address_B8 are the eight columns from Address_B1 on.
namespace Receive_PDO_Col {
enum : int { COB_ID = 1, Dimension, Address_B1, TimeOut = Address_B1 + 8, Mnemonic };
}
namespace Transmit_PDO_Col {
enum : int { COB_ID = 1, Dimension, Address_B1, Send_Time = Address_B1 + 8, On_Change, Mnemonic };
}

// "OPC_UA_Server.xml": root OPC_UA_Server, section OPC_UA_Server_Variables, guarded reader
// (Enable defaults to "Y", the others to empty); key column 2 (Type).
const TTableFileDesc& OPC_UA_Server_File_Desc();
// "SDO_Server_CANopen.xml", "SDO_Client_CANopen.xml", "PDO_CANopen.xml": unguarded readers,
// key column 1, two sections each (read/receive first).
const TTableFileDesc& SDO_Server_CANopen_File_Desc();
const TTableFileDesc& SDO_Client_CANopen_File_Desc();
const TTableFileDesc& PDO_CANopen_File_Desc();

// The first (Index, SubIndex) pair used twice in the SDO server tables (read and write together,
// values compared as numbers): where it was first used and where again.
struct TSDO_Server_Duplicate {
    int First_Table = 0, First_Row = 0;
    int Table = 0, Row = 0;
};
std::optional<TSDO_Server_Duplicate> Find_SDO_Server_Duplicate(const TTableFileData& Data);

// Text Number of Lang formatted with Args; a text whose placeholders do not fit Args (a
// translation's mistake) is replaced by the built-in English text.
QString Lang_Format(const TLangLookup& Lang, int Number, const QList<TVarRec>& Args);

// Whether the device can store a variable name: one byte per character, so code points up to U+00FF.
bool OPC_UA_Name_Storable(const QString& Name);

// The checks of the three CANopen windows (the SDO server's also refuses a second use of an
// (Index, SubIndex) pair: text 2750 + row + 2766/2767 + first row + 2768/2769); NByte_IN and NByte_OUT are the sizes of the input and
// output data arrays (the windows use 1500 and 1500).
std::optional<TCheckError> Check_SDO_Server_CANopen(const TTableFileData& Data, const TLangLookup& Lang,
                                                    int NByte_IN = CANopen_Data_Array_Size,
                                                    int NByte_OUT = CANopen_Data_Array_Size);
std::optional<TCheckError> Check_SDO_Client_CANopen(const TTableFileData& Data, const TLangLookup& Lang,
                                                    int NByte_IN = CANopen_Data_Array_Size,
                                                    int NByte_OUT = CANopen_Data_Array_Size);
std::optional<TCheckError> Check_PDO_CANopen(const TTableFileData& Data, const TLangLookup& Lang,
                                             int NByte_IN = CANopen_Data_Array_Size,
                                             int NByte_OUT = CANopen_Data_Array_Size);

// The OPC UA window's check: every row that will be saved (up to the first blank Type) whose
// Enable is checked (only "N" counts as unchecked, as for the builder) must have a Position
// 0..1999 (text 1427 with the row and 1999) and a Name the device can store (text 1431).
std::optional<TCheckError> Check_OPC_UA_Server(const TTable& Table, const TLangLookup& Lang);

// Whether a stored Enable value means enabled: the window shows every value but "N" checked, and
// a missing attribute as checked; the image builder follows the same rule.
bool OPC_UA_Enabled(const std::optional<QString>& Enable);

// The OPC UA type and access lists, as the file stores them.
const QStringList& OPC_UA_VarType_List();
const QStringList& OPC_UA_RWType_List();

// VarSetLength's rule: the length text a type gets and whether the Length cell is then read-only;
// none for a text that is not a type name.
struct TVarLength {
    QString Length;
    bool ReadOnly = true;
};
std::optional<TVarLength> OPC_UA_Type_Length(const QString& Type);

// VarSetLength on one row of the table model (cells of columns 1..7): for a type name, Length
// (column 4) := its length and LengthReadOnly := its flag; any other text leaves both; then an
// empty R/W (column 6) becomes "Read/Write".
void VarSetLength(const QString& ASelection, QStringList& Row, bool& LengthReadOnly);
