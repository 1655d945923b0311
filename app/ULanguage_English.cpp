// The English texts of the language table, by number. Numbers not listed here hold a single
// blank. Each window's block starts at a multiple of 100; a window that is added later puts its
// own block here, in number order.
#include "app/ULanguage.h"

#include <iterator>

namespace {
struct TEnglishText {
    int Number;
    const char* Text;   // UTF-8
};

constexpr TEnglishText English_Texts[] = {
    // ---- 0..: Main window
    {0, "Begin"},
    {1, "Step 1"},
    {2, "Step 2"},
    {3, "Step 3"},
    {4, "Step 4"},
    {5, "Step 5"},
    {6, "Step 6"},
    {7, "Step 7"},
    {8, "Step 8"},
    {9, "None Configuration Opened "},
    {10, "Use Step1 to open or create new configuration"},
    {11, "Opened Configuration of the Converter : "},
    {12, "Information"},
    {13, "Options"},
    {14, "Close Configurator"},
    {15, "New Configuration"},
    {16, "Open Configuration"},
    {17, "Update Device UDP"},
    {18, "Error! Project not Valid"},
    {19, "New Version Available. Click Here for more Details"},
    {20, "Set Communication"},
    {21, "OPC UA Access"},
    {22, "Create a new configuration for the device"},
    {23, "Open an exists configuration"},
    {24, "Set the main parameters of Protocols"},
    {25, "Set the List of OPC UA Variables"},
    {26, "Update the actual Firmware and/or Configuration in the device"},
    {27, "Modbus Set Access"},
    {28, "Set the Modbus Master Rules"},
    {29, "Receive Frames"},
    {30, "Send Frames"},
    {31, "Set the CAN Receive Frames Rules"},
    {32, "Set the CAN Send Frames Rules"},
    {33, "Set the J1939 Receive Frames Rules"},
    {34, "Set the J1939 Send Frames Rules"},
    {35, "Set the NMEA 2000 Receive Frames Rules"},
    {36, "Set the NMEA 2000 Send Frames Rules"},
    {37, "Set SDO Server"},
    {38, "Set the CANopen SDO Server Rules"},
    {39, "Set SDO Client"},
    {40, "Set the CANopen SDO Client Rules"},
    {41, "Set PDO Access"},
    {42, "Set the CANopen PDO Access Rules"},
    {43, "EDS File"},
    {44, "Create the CANopen EDS for Actual Configuration"},
    {45, "DeviceNet Network"},
    {46, "Set the List of DeviceNet Slaves Connected to Converter"},
    {47, "Define Offset"},
    {48, "Set the Bytes from MQTT to DeviceNEt and back"},
    {49, "DMX Default Value"},
    {50, "Set the Default Values for the DMX Channels"},
    {51, "KNX Access"},
    {52, "Set the KNX Rules"},
    {53, "MQTT Set Topic"},
    {54, "Set the Topics for MQTT"},
    {55, "PROFINET XML"},
    {56, "Create the GSDML File for PROFINET"},
    {57, "Set SNMP Access"},
    {58, "Set the SNMP Agent Access Rules"},
    {59, "SNMP MIB"},
    {60, "Create the SNMP MIB for Actual Configuration"},
    {61, "SNMP Manager"},
    {62, "Set the SNMP Manager Access Rules"},
    {63, "Set BACnet Access"},
    {64, "Set the BACnet Slave Access Rules"},
    {65, "BACnet EDE File"},
    {66, "Create the BACnet EDE File for Actual Configuration"},
    {67, "EtherNet/IP Access"},
    {68, "Set the Network of EtherNet/IP Slave"},
    // ---- 100..: New-project dialog
    {100, "Create New Configuration"},
    {101, "Create New Configuration"},
    {102, "Name of the new Configuration"},
    {103, "OK"},
    {104, "Cancel"},
    {105, "Error! Name project is not valid"},
    {106, "Error! Name project is not valid because directory already exists"},
    {107, "Error! Name Project is not valid"},
    {108, "Insert here the name of new configuration"},
    {109, "Confirm the Name of new Configuration"},
    {110, "Cancel the New Configuration"},
    // ---- 200..: Open-project dialog
    {200, "Open Configuration"},
    {201, "Open an Existing Configuration"},
    {202, "List of Avaliable Configurations"},
    {203, "OK"},
    {204, "Cancel"},
    {205, "Select from this list the configuration to open"},
    {206, "Open the Selected Configuration"},
    {207, "Cancel open of Configuration"},
    // ---- 300..: Options dialog
    {300, "Software Options"},
    {301, "Software Options"},
    {302, "Language"},
    {303, "Connection Options"},
    {304, "Selected Language : "},
    {305, "Page "},
    {306, " / "},
    {307, "Previous"},
    {308, "Next"},
    {309, "Enable Internet Connection"},
    {310, "Check Software Update at Start of Program"},
    {311, "Check Available Update"},
    {312, "OK"},
    {313, "Cancel"},
    {314, "New Version Available. Click Here for more Details"},
    {315, "No Update Available"},
    {316, "Do you want to change the Language from "},
    {317, " to "},
    {318, "?"},
    {319, "Software Settings"},
    {320, "Jump into next field in the tables by pressing the Enter Key"},
    {321, "Enable Auto Size of Table Columns by Double Click"},
    // ---- 400..: Main-parameters window: captions, hints and the messages of its check, and the
    // panel captions of the interfaces that only the other converter models show
    {400, "Set Communication"},
    {401, "Set Communication Setting"},
    {402, "OK"},
    {403, "Cancel"},
    {404, "Confirm and Save the current configuration"},
    {405, "Exit and Discard the current configuration"},
    {406, "OPC UA Server"},
    {407, "IP Address"},
    {408, "Insert First byte of IP Address"},
    {409, "Insert Second byte of IP Address"},
    {410, "Insert Third byte of IP Address"},
    {411, "Insert Fourth byte of IP Address"},
    {412, "SubNet Mask"},
    {413, "Insert First byte of SubNet Mask"},
    {414, "Insert Second byte of SubNet Mask"},
    {415, "Insert Third byte of SubNet Mask"},
    {416, "Insert Fourth byte of SubNet Mask"},
    {417, "Gateway"},
    {418, "Enable/disable the Default Gateway"},
    {419, "Insert First byte of Default Gateway"},
    {420, "Insert Second byte of Default Gateway"},
    {421, "Insert Third byte of Default Gateway"},
    {422, "Insert Fourth byte of Default Gateway"},
    {423, "MQTT"},
    {450, "Ethernet"},
    {473, "WiFi"},
    {549, "TLS"},
    {564, "NTP (Network Time Protocol)"},
    {565, "Server URL"},
    {566, "Insert the URL or IP Address of NTP server"},
    {567, "Poll Time (seconds)"},
    {568, "Insert the Poll Time"},
    {569, "Modbus Slave"},
    {582, "Modbus TCP Slave"},
    {601, "CAN"},
    {604, "CANopen"},
    {605, "ID Device"},
    {606, "Insert the ID Device of CANopen, between 1 and 127"},
    {607, "Baudrate"},
    {608, "Select Baudrate to use in CANopen Port"},
    {609, "Set Operational State at Start-Up"},
    {610, "Enable/disable the possibility to set Operational State on Startup"},
    {611, "Network Start at Start-up. Delay (seconds)"},
    {612, "Enable/disable the Possibility to Send the Broadcast Start Remote Node Command"},
    {613, "Insert the Time from Start of Device Before to send the Broadcast Start Remote Node Command, Expressed in Seconds"},
    {614, "SDO Client TimeOut (1/10 millisecons)"},
    {615, "Insert the TimeOut for the CLient SDO Requests"},
    {616, "J1939"},
    {625, "DeviceNet Slave"},
    {634, "DeviceNet Master"},
    {639, "EtherNet/IP"},
    {665, "PROFINET"},
    {702, "NMEA 2000"},
    {709, "DMX"},
    {714, "KNX"},
    {719, "SNMP Agent"},
    {758, "EtherNet/IP Master"},
    {777, "SNMP Manager"},
    {795, "BACnet Master"},
    {836, "BACnet Slave"},
    {879, "Modbus Master"},
    {892, "Modbus TCP Master"},
    {913, "Serial"},
    {922, "Error OPC UA Server!! IP Address 1 must be between 0 and 255"},
    {923, "Error OPC UA Server!! IP Address 2 must be between 0 and 255"},
    {924, "Error OPC UA Server!! IP Address 3 must be between 0 and 255"},
    {925, "Error OPC UA Server!! IP Address 4 must be between 0 and 255"},
    {926, "Error OPC UA Server!! SubNet Mask 1 must be between 0 and 255"},
    {927, "Error OPC UA Server!! SubNet Mask 2 must be between 0 and 255"},
    {928, "Error OPC UA Server!! SubNet Mask 3 must be between 0 and 255"},
    {929, "Error OPC UA Server!! SubNet Mask 4 must be between 0 and 255"},
    {930, "Error OPC UA Server!! GATEWAY IP 1 must be between 0 and 255"},
    {931, "Error OPC UA Server!! GATEWAY IP 2 must be between 0 and 255"},
    {932, "Error OPC UA Server!! GATEWAY IP 3 must be between 0 and 255"},
    {933, "Error OPC UA Server!! GATEWAY IP 4 must be between 0 and 255"},
    {1009, "Error CANopen!! ID Device must be between 1 and 127"},
    {1010, "Error CANopen!! Delay must be between 0 and 255"},
    {1011, "Error CANopen!! SDO Client TimeOut must be between 0 and 100000"},
    {1092, "Error NTP!! Poll Time must be between 0 and 10000000 seconds"},
    {1134, "Port"},
    {1135, "Insert the communication port to use for OPC UA, from 0 to 65535 but different from 10000 (Default 4840)"},
    {1136, "Error OPC UA Server!! Port must be between 0 and 65535, and different from 10000"},
    {1137, "DNS"},
    {1138, "Enable/disable the DNS Server"},
    {1139, "Insert First byte of DNS Server"},
    {1140, "Insert Second byte of DNS Server"},
    {1141, "Insert Third byte of DNS Server"},
    {1142, "Insert Fourth byte of DNS Server"},
    // ---- 1300..: Messages shared by the grid-row routines and the file generators
    {1300, "Row Already used. Do you want to overwrite the values?"},
    {1301, "Error in the Copy values!!! Copy a valid row before Paste it"},
    {1302, "Error!!! Copy a valid row before Paste it"},
    {1303, "File already exists! Do you want to overwrite the file?"},
    {1304, "Error! Please set the Set Communication Parameter before to create the GSD file"},
    {1305, "File already exists. Do you want to overwrite?"},
};

// Every number inside the table, each listed once, in ascending order.
constexpr bool Numbers_Ascending_In_Range()
{
    for (std::size_t i = 0; i < std::size(English_Texts); ++i) {
        if (English_Texts[i].Number < 0 || English_Texts[i].Number >= Lang_Table_Size)
            return false;
        if (i > 0 && English_Texts[i].Number <= English_Texts[i - 1].Number)
            return false;
    }
    return true;
}
static_assert(Numbers_Ascending_In_Range(), "English texts must be in number order, once each");
}  // namespace

const QStringList& English_Table()
{
    static const QStringList Table = [] {
        QStringList List;
        List.reserve(Lang_Table_Size);
        for (int n = 0; n < Lang_Table_Size; ++n)
            List.append(QStringLiteral(" "));
        for (const TEnglishText& Entry : English_Texts)
            List[Entry.Number] = QString::fromUtf8(Entry.Text);
        return List;
    }();
    return Table;
}
