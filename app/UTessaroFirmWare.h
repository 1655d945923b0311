#pragma once
// The main window: a wizard of numbered steps whose buttons open the project dialogs, the
// main-parameters window, the EDS export and the device update. Its creation prepares every
// piece of shared state the other windows rely on, so it is the first window created.
#include "app/LbButton.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/shell/Shell.h"
#include "platform/xml/XMLDoc.h"

#include <QString>

#include <cstdint>
#include <memory>

class TFTessaroFirmWare : public TForm {
public:
    explicit TFTessaroFirmWare(TComponent* AOwner);
    ~TFTessaroFirmWare() override;

    // Components, in the order the window declares them.
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TLinkLabel* LL_Update = nullptr;
    TLbButton* Btn_Info = nullptr;
    TLbButton* Btn_Opz = nullptr;
    TLbButton* Btn_Close = nullptr;
    TTimer* Timer_Update = nullptr;
    TSaveDialog* SD1 = nullptr;
    // The settings document; other code borrows it as a scratch document between uses.
    std::unique_ptr<TXMLDocument> XML1;
    TLabel* L_Name_Conf = nullptr;
    TLabel* L_Name_Conf_L2 = nullptr;
    TShape* Shape2 = nullptr;
    TLabel* L_Begin = nullptr;
    TLabel* L_Step_1 = nullptr;
    TLabel* L_Step_2 = nullptr;
    TLabel* L_Step_3 = nullptr;
    TLabel* L_Step_4 = nullptr;
    TLabel* L_Step_5 = nullptr;
    TLabel* L_Step_6 = nullptr;
    TLabel* L_Step_7 = nullptr;
    TLabel* L_Step_8 = nullptr;
    TShape* Shape1 = nullptr;
    TLabel* L_Velmora = nullptr;
    TLbButton* Btn_New = nullptr;
    TLbButton* Btn_Open = nullptr;
    TLbButton* Btn_Prm_Gen = nullptr;
    TLbButton* Btn_CreateBin = nullptr;
    TLbButton* Btn_OPC_UA_Server_Access = nullptr;
    TLbButton* Btn_BACnet_EDE_File = nullptr;
    TLbButton* Btn_Modbus_Set_Access = nullptr;
    TLbButton* Btn_BACnet_SetAccess = nullptr;
    TLbButton* Btn_CAN_Rec_Frame = nullptr;
    TLbButton* Btn_CAN_Send_Frame = nullptr;
    TLbButton* Btn_SDO_Server_CANopen = nullptr;
    TLbButton* Btn_SDO_Client_CANopen = nullptr;
    TLbButton* Btn_PDO_CANopen = nullptr;
    TLbButton* Btn_CANopen_EDS = nullptr;
    TLbButton* Btn_DNet_Net = nullptr;
    TLbButton* Btn_DNet_Offset = nullptr;
    TLbButton* Btn_DMX_Default = nullptr;
    TLbButton* Btn_KNX_Access = nullptr;
    TLbButton* Btn_MQTT_Set_Topic = nullptr;
    TLbButton* Btn_SNMP_Trap = nullptr;
    TLbButton* Btn_SNMP_Manager_Access = nullptr;
    TLbButton* Btn_SNMP_MIB = nullptr;
    TLbButton* Btn_PROFINET_XML = nullptr;
    TLbButton* Btn_EtherNetIP_Access = nullptr;
    TSaveDialog* SaveEDS = nullptr;
    TSaveDialog* SaveMIB = nullptr;

    void CreateComponents() override;
    void FormCreate(TObject* Sender) override;
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Btn_Click(TObject* Sender);
    void Set_Lang();
    void Set_Files();
    void Save_Setting();
    void Open_Project();
    void Create_New_Project();
    void Update_Device();
    void Build_EDS_File();
    void BACnet_EDE_File();
    void PROFINET_XML();
    int Get_Type_BACnet();
    // Starts NomeSW with the command line Parameter (shown normally when tipo is 0) and waits,
    // without processing messages, until it has ended or 150000 ms have passed. Reports nothing;
    // the result says whether the program started, ended or was still running, for a caller
    // that must not claim success when it did not run.
    TWaitResult Start_Program(const QString& NomeSW, const QString& Parameter, uint8_t tipo);
    void Change_Language();
    void Timer_UpdateTimer(TObject* Sender);
    void LL_UpdateLinkClick(TObject* Sender, const QString& Link, TSysLinkType LinkType);
    void L_VelmoraClick(TObject* Sender);

    // How often Start_Program looks whether the started program has ended.
    static constexpr unsigned Start_Program_Poll_Ms = 10;
    // The version query's first delay after start or after the options allow it, then its period.
    static constexpr unsigned Update_First_Interval_Ms = 60000;
    static constexpr unsigned Update_Interval_Ms = 7200000;

private:
    void Read_Setting();
    void Show_Project_Labels();
    TLbButton* Make_Step_Button(const QString& Name);
};

extern TFTessaroFirmWare* FTessaroFirmWare;
