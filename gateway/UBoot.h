#pragma once
// The device update dialog TFBoot and its file half: the updater's command text and its
// parameter file "Ethernet_Update.xml" beside the executable. The dialog reads its controls into
// TBootParams and calls the file functions.

#include "app/LbButton.h"
#include "grid/control/ExtCGrid.h"
#include "platform/grids/Grids.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/net/IcmpClient.h"
#include "platform/rtl/SysUtils.h"
#include "platform/shell/Shell.h"
#include "platform/xml/XMLDoc.h"

#include <QString>

#include <functional>

// Update options: the item indexes of the dialog's list.
enum TUpdateOption : int {
    Update_Firmware_And_Configuration = 0, // the program, then the device image
    Update_Firmware = 1, // the program only
    Update_Configuration = 2, // the device image only
};

// The prefix followed by the four 3-character codes of the option (firmware write, firmware
// read-back, configuration write, configuration read-back); any other option leaves the prefix.
QString Update_Options(const QString& Prefix, int Option, bool ReadBack);

struct TBootParams {
    QString IP_Address; // the four octet texts joined by "."
    int Option = 0; // Update_Option_Index
    bool ReadBack = true; // the read-back box
    QString Master_Dir; // the firmware image is Master_Dir + "/SimQ4180.sim"
    QString Project_Dir; // the images are Project_Dir + "/bin/bank1.bin" and "bank2.bin"
    // The address typed in the dialog with the shared options and folders (app/UComon.h).
    static TBootParams From_Globals(const QString& IP_Address);
};

// The parameter file's text (no XML declaration), as written.
QString Ethernet_Update_XML(const TBootParams& P);

// Writes App_Dir() + "Ethernet_Update.xml" whole, replacing an earlier one. When it cannot be
// written it raises EInOutError with the reason and removes an earlier file, so the updater is
// never started on an old parameter file.
void Compile_XML_Parameter_New_Boot(const TBootParams& P);

// ---- the update dialog -------------------------------------------------------------------------

// What one echo request gave: the bytes of the reply (0: no reply in time).
struct TEchoReplyStatus {
    QString FromIpAddress;
    int BytesReceived = 0;
};
using TEchoReplyEvent = std::function<void(TObject* Sender, const TEchoReplyStatus& AReplyStatus)>;

// The dialog's echo component: one synchronous request per Ping call through the ICMP service
// (platform/net/IcmpClient.h), whose outcome is reported through OnReply.
class TIcmpEcho : public TComponent {
public:
    explicit TIcmpEcho(TComponent* AOwner) : TComponent(AOwner) {}
    QString Host;
    int ReceiveTimeout = 400; // milliseconds
    int PacketSize = 1024;
    int Protocol = 1; // ICMP over IPv4
    TEchoReplyEvent OnReply;
    // Sends one request to Host and waits up to ReceiveTimeout for its reply, then fires OnReply.
    // Raises ESocketError when Host cannot be resolved or no socket can be opened.
    void Ping(int SequenceId = 0);
};

// How the dialog has the main window start a program and wait for it: NomeSW with the command
// line Parameter, hidden when tipo is true. The result says whether it started, ended or was still
// running when the wait gave up. The main window points it at its Start_Program; until then the
// dialog starts and waits the same way itself (Boot_Start_Program).
using TStartProgramEvent = std::function<TWaitResult(const QString& NomeSW, const QString& Parameter, bool tipo)>;

// Starts NomeSW and waits, without processing messages, until it has ended or more than
// Start_Program_Limit_Ms have passed (polling every 10 ms on the clock service).
constexpr unsigned Start_Program_Limit_Ms = 149999;
TWaitResult Boot_Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo);

// The device update dialog: the device's address (Ethernet) or COM port (serial) and the update
// options; an echo check of the device, the updater's parameter file and the updater's run.
class TFBoot : public TForm {
public:
    explicit TFBoot(TComponent* AOwner) : TForm(AOwner) {}

    // 0 serial variant (the value at creation), 1 Ethernet variant; set before showing.
    int Form_Type = 0;
    // Outcome of the last echo: 0 none yet, 1 reply received, 2 no reply.
    int ping_res = 0;

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TPanel* P_IP_Address = nullptr;
    TLabel* L_IP_Address = nullptr;
    TEdit* E_IP1 = nullptr;
    TEdit* E_IP2 = nullptr;
    TEdit* E_IP3 = nullptr;
    TEdit* E_IP4 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TPanel* P_Serial = nullptr;
    TLabel* L_COM_Port = nullptr;
    TComboBox* CB_COM_Port = nullptr;
    TLbButton* Btn_COM_List = nullptr;
    TPanel* P_Eth_Search = nullptr;
    TLabel* L_List_Device = nullptr;
    TLbButton* Btn_Search = nullptr;
    // The device list is never filled; a plain string grid carries its two headers.
    TExtColumnGrid* ACG_List_Devices = nullptr; // its column items carry the headers
    TCheckBox* CB_Find_All_Velmora = nullptr;
    TPanel* P_Options = nullptr;
    TLabel* L_Update_Option = nullptr;
    TComboBox* CB_Update_Options = nullptr;
    TCheckBox* CB_Update_Option_Read_Back = nullptr;
    TPanel* P_Button = nullptr;
    TLbButton* Btn_Update = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    TIcmpEcho* Ping = nullptr;
    TXMLDocument XML1;

    // Set by the main window to its Start_Program.
    TStartProgramEvent OnStart_Program;

    void CreateComponents() override;

    void FormShow(TObject* Sender);
    void Set_Lang();
    void KeyPress(TObject* Sender, QChar& Key);
    void Btn_UpdateClick(TObject* Sender);
    void Btn_COM_ListClick(TObject* Sender);
    bool Send_Ping();
    void PingReply(TObject* Sender, const TEchoReplyStatus& AReplyStatus);
    // Writes App_Dir() + "Ethernet_Update.xml" for the address in the edits and the shared options.
    void Compile_XML_Parameter_New_Boot();
    // The update command text for the options chosen in the dialog.
    QString Update_Options(const QString& Prefix);
    void update_ComPort();
    int Get_Type_Dev();

    // The address as the edits hold it: the four texts joined by ".".
    QString IP_Address_Text() const;

    // Client width and panel heights of the dialog.
    static constexpr int Client_Width = 449;
    static constexpr int Title_Height = 69;
    static constexpr int IP_Address_Height = 49;
    static constexpr int Serial_Height = 51;
    static constexpr int Options_Height = 72;
    static constexpr int Eth_Search_Height = 184;
    static constexpr int Button_Height = 40;

protected:
    using TForm::KeyPress;

private:
    void Release_Panel_Alignment();
};

extern TFBoot* FBoot;
