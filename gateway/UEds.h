#pragma once
// The CANopen electronic data sheet (CiA 306, EDS 4.0) of the gateway as a slave, built from the
// project's PDO and SDO server tables as last saved.

#include "platform/rtl/SysUtils.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

extern const QString EDS_File_Name; // "OPC_UA_Server_CANopen.eds"
extern const QString EDS_Description; // "OPC UA Server / CANopen - Converter"
extern const QString EDS_Product_Number; // "Q80"
extern const QString EDS_Order_Code; // "GWU4180"

constexpr int EDS_Max_PDO = 30; // receive and transmit PDOs each
extern const std::array<QString, EDS_Max_PDO> RPDO_Name_Prefix;
extern const std::array<QString, EDS_Max_PDO> TPDO_Name_Prefix;

// (COB-ID, Dimension): slots 0..29 receive PDOs, 30..59 transmit PDOs, in row order.
extern std::array<std::array<int32_t, 2>, 2 * EDS_Max_PDO> EDS_PDO_Table;
extern int EDS_Num_RPDO;
extern int EDS_Num_TPDO;

struct SDO_Sub_Type {
    uint8_t Sub = 0;
    uint8_t Quantity = 0; // the row's byte count
    bool Readonly = false;
    QString Mnemonic;
};

struct SDO_Index {
    uint16_t Index = 0;
    QList<SDO_Sub_Type> Sub_Indexs;
};

extern QList<SDO_Index> SDO_Index_List;

// Reads the PDO rows; a missing file gives no PDOs. A missing section or attribute raises, and so
// does a table with more rows than the device has PDOs (nothing is cut silently).
void Load_PDO_CANopen(const QString& File_PDO_CANopen);
// Reads the SDO server rows into SDO_Index_List; a missing file leaves it empty. A missing section
// or attribute, or a value that is not a number, raises.
void Load_SDO_Server_CANopen(const QString& File_SDO_Server_CANopen);
int Find_SDO_Index(int Index);
void Sort_Sub_Indexs();

// The "CreationTime" text on the 12-hour clock ("02:05PM", "12:00PM", "12:15AM") and the
// "CreationDate" text ("03-05-2024").
QString EDS_Time_Text(const QTime& T);
QString EDS_Date_Text(const QDate& D);

// The lines of the file for the tables loaded and the moment given.
QStringList EDS_Build_Lines(const QDateTime& Now);

// Loads both files, builds the lines with the clock service's local time and writes the file
// whole (CR LF line ends, no byte-order mark) or raises and writes nothing.
void Build_EDS(const QString& Path, const QString& File_PDO_CANopen, const QString& File_SDO_Server_CANopen);
void Build_EDS(const QString& Path); // from the open project's File_PDO_CANopen, File_SDO_Server_CANopen
