#pragma once
// The two device images of an update: the 2048-byte parameter block ("bank1.bin", loaded at
// device address 0x07000) and the table image ("bank2.bin", at 0x90000) with the six CANopen
// tables and the OPC UA server block. Little-endian throughout; every address inside an image is
// a device address. The storage is module-level and fixed in size; every Compile_Bin rebuilds it
// from the project files.

#include "platform/rtl/SysUtils.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>

// ---- storage --------------------------------------------------------------------------------
constexpr int Bank_Size = 131072;
using TBank = std::array<uint8_t, Bank_Size>;

extern TBank Bank1_Data;
extern TBank Bank2_Data;
extern int Bank1_Len; // 0 until a build succeeds
extern int Bank2_Len;

constexpr int Param_Block_Size = 2048;
extern std::array<uint8_t, Param_Block_Size> Param_Block;

// Field offsets of Param_Block.
namespace PB {
constexpr int CAN_Bit_Rate = 0;
constexpr int Eth_IP_Address = 40;
constexpr int Eth_Subnet_Mask = 44;
constexpr int Eth_Gateway = 48;
constexpr int CANopen_Node_ID = 156;
constexpr int CANopen_Start_Flags = 160;
constexpr int Net_Start_Delay = 164;
constexpr int SDO_Client_TimeOut = 168;
constexpr int Num_SDO_Server_Read = 172; // the six counts follow in table order
constexpr int Add_SDO_Server_Read = 224; // the six table addresses follow in table order
constexpr int Eth_DNS = 1420;
constexpr int Add_OPC_UA_Server = 1568;
constexpr int Check_Sum = 2044;
} // namespace PB

// How the device handles a table entry (TCANopen_Entry::Entry_Mode).
enum TEntry_Mode : uint8_t {
    Entry_Mode_Read = 0, // read by the gateway: the read tables and the receive PDOs (and a free entry)
    Entry_Mode_Write = 1, // written or sent at its time
    Entry_Mode_Write_On_Change = 3, // written or sent at its time and whenever its value changes
};

struct TCANopen_Entry {
    uint32_t COB_ID = 0;
    uint16_t Obj_Index = 0;
    uint8_t Obj_Sub_Index = 0;
    uint8_t Remote_Node = 0;
    uint32_t Entry_Time = 0;
    uint16_t Data_Address[8] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    uint8_t Data_Len = 0;
    uint8_t Entry_Mode = Entry_Mode_Read; // a TEntry_Mode
    uint16_t Reserved = 0;
};
constexpr int CANopen_Entry_Size = 32;

// The six tables in image order.
enum TCANopen_Table { SDO_Server_Read, SDO_Server_Write, SDO_Client_Read, SDO_Client_Write, RPDO, TPDO };
constexpr int CANopen_Table_Count = 6;
constexpr int CANopen_Table_Capacity[CANopen_Table_Count] = {512, 512, 256, 256, 128, 128};
constexpr uint32_t CANopen_Table_Address[CANopen_Table_Count] = {0x90000, 0x94000, 0x98000, 0x9A000, 0x9C000, 0x9D000};
constexpr int CANopen_Tables_Size = 57344; // all six at full capacity
constexpr uint32_t OPC_UA_Server_Address = 0x9E000;
constexpr int OPC_UA_Server_Room = Bank_Size - CANopen_Tables_Size; // 73728 bytes

extern std::array<TCANopen_Entry, 512> SDO_Server_Read_Table;
extern std::array<TCANopen_Entry, 512> SDO_Server_Write_Table;
extern std::array<TCANopen_Entry, 256> SDO_Client_Read_Table;
extern std::array<TCANopen_Entry, 256> SDO_Client_Write_Table;
extern std::array<TCANopen_Entry, 128> RPDO_Table;
extern std::array<TCANopen_Entry, 128> TPDO_Table;

struct TOPC_UA_Var {
    uint32_t VarType = 0;
    uint16_t Position = 0;
    uint16_t Length = 0;
    uint32_t Options = 0; // bit 0: the client may write the variable
    uint32_t Add_Name = 0;
    QString Name;
};

struct TOPC_UA_Server {
    uint16_t Port = 4840;
    uint16_t Num_Var = 0;
    QList<TOPC_UA_Var> Variables;
    uint32_t Add_Num_Var = 0;
    QString NTP;
    uint32_t Add_NTP = 0;
    uint32_t NTP_Time = 10;
};
extern TOPC_UA_Server OPC_UA_Server_Block;

// ---- the project files a build reads (the windows pass the File_* globals) -------------------
struct TProjectFiles {
    QString ParGen;
    QString OPC_UA_Server;
    QString SDO_Server_CANopen;
    QString SDO_Client_CANopen;
    QString PDO_CANopen;
    static TProjectFiles In(const QString& Project_Dir); // the five files of a project folder
};

// ---- parameter block ------------------------------------------------------------------------
void Init_Param_Block();
// Reads "ParGen.xml" into Param_Block and the OPC UA record's Port, NTP and NTP_Time; does nothing
// when the file does not exist. A file that cannot be parsed raises.
void Load_ParGen_Params(const QString& File_ParGen);
// Stores the byte-sum, copies the block into Bank at Start; returns Start + 2048.
int Param_Block_To_Bank(int Start, TBank& Bank);

// ---- table image ----------------------------------------------------------------------------
void Init_OPC_UA_Server();
void Clear_CANopen_Tables();
// Fills the six tables from the three CANopen files and sets the counts (table order). A missing
// file leaves its tables empty; a missing section or attribute, a value that is not a number, or
// more rows than a table holds raises before the table is touched further.
void Load_CANopen_Tables(const TProjectFiles& Files, std::array<uint32_t, CANopen_Table_Count>& Counts);
// Fills OPC_UA_Server_Block from "OPC_UA_Server.xml" (when it exists) and assigns its addresses
// from B on; a block that would not fit in the table image raises.
void Load_OPC_UA_Server(const QString& File_OPC_UA_Server, uint32_t B);
uint32_t Get_OPC_UA_VarType(const QString& Type);
int OPC_UA_Server_Block_Size(); // bytes the block takes in the image

int SDO_Server_Read_To_Bank(int Start, TBank& Bank);
int SDO_Server_Write_To_Bank(int Start, TBank& Bank);
int SDO_Client_Read_To_Bank(int Start, TBank& Bank);
int SDO_Client_Write_To_Bank(int Start, TBank& Bank);
int RPDO_To_Bank(int Start, TBank& Bank);
int TPDO_To_Bank(int Start, TBank& Bank);
int CANopen_Tables_To_Bank(int Start, TBank& Bank);
int OPC_UA_Server_To_Bank(int Start, TBank& Bank);

// Builds both images. Raises (and leaves Bank1_Len and Bank2_Len at 0) when a file is refused.
void Compile_Bin(const TProjectFiles& Files);
void Compile_Bin(); // from the open project's file paths (File_ParGen ... of app/UComon.h)
// Writes Project_Dir + "/bin/bank1.bin" and "/bin/bank2.bin", each whole or not at all. Raises
// EInOutError with the reason when nothing was built or a file cannot be written; then neither
// bank file is left behind, so an update cannot send a stale or mixed pair.
void Write_Bin_Files(const QString& Project_Dir);
void Write_Bin_Files(); // into the open project (Project_Dir of app/UComon.h)
