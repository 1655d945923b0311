#pragma once
// The main-parameters window: the gateway's network, CANopen and NTP settings, kept in the
// project's "ParGen.xml". The window carries one category panel per interface kind of the
// maker's converter models; this configuration shows the OPC UA server, CANopen and NTP panels.

#include "app/LbButton.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/StdCtrls.h"
#include "platform/xml/XMLDoc.h"

#include <QString>

#include <functional>
#include <vector>

class TFParGen : public TForm {
public:
    explicit TFParGen(TComponent* AOwner);
    using TForm::KeyPress;

    void CreateComponents() override;
    void FormCreate(TObject* Sender) override;
    // The reader: every showing loads "ParGen.xml" (or the defaults) into the controls.
    void FormShow(TObject* Sender);
    // The writer: checks, then saves "ParGen.xml" and closes with OK.
    void Btn_OKClick(TObject* Sender);
    // Shared by the octet edits: "." moves to the next octet edit and never reaches the edit.
    void KeyPress(TObject* Sender, QChar& Key);
    void Set_Lang();
    // True when every checked value is acceptable; otherwise shows the first error and is false.
    bool Controllo_Dati();

    // Panel selection and layout.
    void Order_TAB_Panels();
    void Move_GroupBoxs();
    void On_Click(TObject* Sender);
    void FormMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled);
    void FormResize(TObject* Sender);

    void Order_TAB_Panels_MDL01();
    void Order_TAB_Panels_MDL02();
    void Order_TAB_Panels_MDL03();
    void Order_TAB_Panels_MDL04();
    void Order_TAB_Panels_MDL05();
    void Order_TAB_Panels_MDL06();
    void Order_TAB_Panels_MDL07();
    void Order_TAB_Panels_MDL08();
    void Order_TAB_Panels_MDL09();
    void Order_TAB_Panels_MDL10();
    void Order_TAB_Panels_MDL11();
    void Order_TAB_Panels_MDL12();
    void Order_TAB_Panels_MDL13();
    void Order_TAB_Panels_MDL14();
    void Order_TAB_Panels_MDL15();
    void Order_TAB_Panels_MDL16();
    void Order_TAB_Panels_MDL17();
    void Order_TAB_Panels_MDL18();
    void Order_TAB_Panels_MDL19();
    void Order_TAB_Panels_MDL20();
    void Order_TAB_Panels_MDL21();
    void Order_TAB_Panels_MDL22();
    void Order_TAB_Panels_MDL23();

    void RePosition_Objects_MDL01();
    void RePosition_Objects_MDL02();
    void RePosition_Objects_MDL03();
    void RePosition_Objects_MDL04();
    void RePosition_Objects_MDL05();
    void RePosition_Objects_MDL06();
    void RePosition_Objects_MDL07();
    void RePosition_Objects_MDL08();
    void RePosition_Objects_MDL09();
    void RePosition_Objects_MDL10();
    void RePosition_Objects_MDL11();
    void RePosition_Objects_MDL12();
    void RePosition_Objects_MDL13();
    void RePosition_Objects_MDL14();
    void RePosition_Objects_MDL15();
    void RePosition_Objects_MDL16();
    void RePosition_Objects_MDL17();
    void RePosition_Objects_MDL18();
    void RePosition_Objects_MDL19();
    void RePosition_Objects_MDL20();
    void RePosition_Objects_MDL21();
    void RePosition_Objects_MDL22();
    void RePosition_Objects_MDL23();

    void RePosition_Object_OPC_UA_Server();
    void RePosition_Object_CANopen();
    void RePosition_Object_NTP();
    void RePosition_Object_Serial();
    void RePosition_Object_Modbus_Master();
    void RePosition_Object_Modbus_Slave();
    void RePosition_Object_Modbus_TCP_Master();
    void RePosition_Object_Modbus_TCP_Slave();
    void RePosition_Object_CAN();
    void RePosition_Object_DeviceNet_Master();
    void RePosition_Object_DeviceNet_Slave();
    void RePosition_Object_DMX();
    void RePosition_Object_EtherNetIP_Master();
    void RePosition_Object_EtherNetIP();
    void RePosition_Object_J1939();
    void RePosition_Object_KNX();
    void RePosition_Object_NMEA2000();
    void RePosition_Object_SNMP_Manager();
    void RePosition_Object_PROFINET();
    void RePosition_Object_Ethernet();
    void RePosition_Object_MQTT();
    void RePosition_Object_TLS();
    void RePosition_Object_SNMP_Agent();
    void RePosition_Object_BACnet_Master();
    void RePosition_Object_BACnet_Slave();
    void RePosition_Object_WiFi();

    // ---- bands ----
    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TPanel* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    TCategoryPanelGroup* CPG = nullptr;
    TImageList* ImageList1 = nullptr;
    TXMLDocument XML1;

    // ---- the 27 panels ----
    TCategoryPanel* CP_Serial = nullptr;
    TCategoryPanel* CP_Modbus_TCP_Master = nullptr;
    TCategoryPanel* CP_Modbus_Master = nullptr;
    TCategoryPanel* CP_BACnet_Slave = nullptr;
    TCategoryPanel* CP_BACnet_Master = nullptr;
    TCategoryPanel* CP_SNMP_Manager = nullptr;
    TCategoryPanel* CP_EtherNetIP_Master = nullptr;
    TCategoryPanel* CP_SNMP_Agent = nullptr;
    TCategoryPanel* CP_KNX = nullptr;
    TCategoryPanel* CP_DMX = nullptr;
    TCategoryPanel* CP_NMEA2000 = nullptr;
    TCategoryPanel* CP_PROFIBUS = nullptr;
    TCategoryPanel* CP_PROFINET = nullptr;
    TCategoryPanel* CP_EtherNetIP = nullptr;
    TCategoryPanel* CP_DeviceNet_Master = nullptr;
    TCategoryPanel* CP_J1939 = nullptr;
    TCategoryPanel* CP_CANopen = nullptr;
    TCategoryPanel* CP_CAN = nullptr;
    TCategoryPanel* CP_Modbus_TCP_Slave = nullptr;
    TCategoryPanel* CP_Modbus_Slave = nullptr;
    TCategoryPanel* CP_NTP = nullptr;
    TCategoryPanel* CP_TLS = nullptr;
    TCategoryPanel* CP_WiFi = nullptr;
    TCategoryPanel* CP_Ethernet = nullptr;
    TCategoryPanel* CP_MQTT = nullptr;
    TCategoryPanel* CP_OPC_UA_Server = nullptr;
    TCategoryPanel* CP_DeviceNet_Slave = nullptr;

    // ---- OPC UA server panel ----
    TLabel* L_OPC_UA_Server_IP = nullptr;
    TEdit* E_OPC_UA_Server_IP1 = nullptr;
    TEdit* E_OPC_UA_Server_IP2 = nullptr;
    TEdit* E_OPC_UA_Server_IP3 = nullptr;
    TEdit* E_OPC_UA_Server_IP4 = nullptr;
    TLabel* L_OPC_UA_Server_SM = nullptr;
    TEdit* E_OPC_UA_Server_SM1 = nullptr;
    TEdit* E_OPC_UA_Server_SM2 = nullptr;
    TEdit* E_OPC_UA_Server_SM3 = nullptr;
    TEdit* E_OPC_UA_Server_SM4 = nullptr;
    TCheckBox* CB_OPC_UA_Server_En_GAT = nullptr;
    TEdit* E_OPC_UA_Server_GAT1 = nullptr;
    TEdit* E_OPC_UA_Server_GAT2 = nullptr;
    TEdit* E_OPC_UA_Server_GAT3 = nullptr;
    TEdit* E_OPC_UA_Server_GAT4 = nullptr;
    TCheckBox* CB_OPC_UA_Server_En_DNS = nullptr;
    TEdit* E_OPC_UA_Server_DNS1 = nullptr;
    TEdit* E_OPC_UA_Server_DNS2 = nullptr;
    TEdit* E_OPC_UA_Server_DNS3 = nullptr;
    TEdit* E_OPC_UA_Server_DNS4 = nullptr;
    TLabel* L_OPC_UA_Server_Port = nullptr;
    TEdit* E_OPC_UA_Server_Port = nullptr;

    // ---- CANopen panel ----
    TLabel* L_CANopen_IDDevice = nullptr;
    TEdit* E_CANopen_IDDevice = nullptr;
    TLabel* L_CANopen_Baudrate = nullptr;
    TComboBox* CB_CANopen_Baudrate = nullptr;
    TCheckBox* CB_CANopen_SetOpe = nullptr;
    TCheckBox* CB_CANopen_NetOpe = nullptr;
    TEdit* E_CANopen_NetOpe_Delay = nullptr;
    TLabel* L_CANopen_SDO_Timeout = nullptr;
    TEdit* E_CANopen_SDO_Timeout = nullptr;

    // ---- NTP panel ----
    TLabel* L_NTP_Server_URL = nullptr;
    TEdit* E_NTP_Server_URL = nullptr;
    TLabel* L_NTP_Poll_Time = nullptr;
    TEdit* E_NTP_Poll_Time = nullptr;

private:
    TCategoryPanel* New_Panel(const QString& Name);
    TLabel* New_Label(TCategoryPanel* Panel, const QString& Name, int Left, int Top);
    TEdit* New_Edit(TCategoryPanel* Panel, const QString& Name, int Left, int Top, int Width);
    TCheckBox* New_Check(TCategoryPanel* Panel, const QString& Name, int Left, int Top, int Width);
    void New_Octets(TCategoryPanel* Panel, const QString& Prefix, int Top, int DotTop, TEdit** Octets);
    void Make_Images();
    // Shows the panels in order, stacks them, numbers their captions and sets their tab order.
    struct TPanelCaption {
        TCategoryPanel* Panel;
        int Text;
    };
    void Order_Panels(std::initializer_list<TPanelCaption> Panels);
    // A panel's height: the bottom of Last plus 12 plus the group's header height.
    void Common_Height(TCategoryPanel* Panel, TControl* Last);
    // For the panels whose rows this build does not carry: the lowest visible control decides.
    void Lowest_Control_Height(TCategoryPanel* Panel);
    void Set_Defaults();

    // One element of "ParGen.xml" bound to its control: how the control's value becomes the
    // element's text and back, and the text a missing or unreadable element stands for.
    class TParBinding {
    public:
        static TParBinding Edit(const char* Element, TEdit* Control, const char* Default);
        static TParBinding Check(const char* Element, TCheckBox* Control);
        // The element holds the item index; anything outside the list selects nothing.
        static TParBinding Index(const char* Element, TComboBox* Control, int Default);

        const char* Element() const { return FElement; }
        QString Read() const { return FRead(); }
        void Write(const QString& Text) const { FWrite(Text); }
        void Reset() const { FWrite(FDefault); }

    private:
        TParBinding(const char* Element, QString Default, std::function<QString()> Read,
                    std::function<void(const QString&)> Write);
        const char* FElement;
        QString FDefault;
        std::function<QString()> FRead;
        std::function<void(const QString&)> FWrite;
    };
    std::vector<TParBinding> FParams;
    std::vector<TEdit*> FOctetChain; // "." moves along it
};

extern TFParGen* FParGen;
