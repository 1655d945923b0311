#include "app/UParGen.h"

#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UWindow_Look.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>

TFParGen* FParGen = nullptr;

namespace {
constexpr TColor Header_Gradient = TColor(14211303); // 0xD8D8E7
constexpr int Window_Client_Width = 460;
constexpr int Window_Client_Height = 700;
constexpr int Octet_Left[4] = {191, 252, 313, 374};
constexpr int Octet_Width = 55;
constexpr int Edit_Height = 21;
constexpr int Combo_Height = 22;
constexpr int Check_Height = 17;
const QString Comment_Text = QStringLiteral("SW_VERSION = 1.000");

void Verdana(TFont* F, int Pixels, TColor Color, bool Bold) {
    F->SetName("Verdana");
    F->SetHeight(-Pixels);
    F->SetColor(Color);
    F->SetStyle(Bold ? TFontStyles{fsBold} : TFontStyles{});
}
} // namespace

TFParGen::TFParGen(TComponent* AOwner) : TForm(AOwner) {}

// ---- building the window ---------------------------------------------------------------------

TCategoryPanel* TFParGen::New_Panel(const QString& Name) {
    auto* P = Create<TCategoryPanel>(this, CPG);
    P->SetName(Name);
    P->SetColor(Window_Color);
    P->SetBounds(0, 0, CPG->ClientWidth(), 200);
    return P;
}

TLabel* TFParGen::New_Label(TCategoryPanel* Panel, const QString& Name, int Left, int Top) {
    auto* L = Create<TLabel>(this, Panel);
    L->SetName(Name);
    L->SetTransparent(true);
    L->SetBounds(Left, Top, 100, 13);
    return L;
}

TEdit* TFParGen::New_Edit(TCategoryPanel* Panel, const QString& Name, int Left, int Top, int Width) {
    auto* E = Create<TEdit>(this, Panel);
    E->SetName(Name);
    E->SetBounds(Left, Top, Width, Edit_Height);
    E->SetShowHint(true);
    E->SetColor(clWindow);
    return E;
}

TCheckBox* TFParGen::New_Check(TCategoryPanel* Panel, const QString& Name, int Left, int Top, int Width) {
    auto* C = Create<TCheckBox>(this, Panel);
    C->SetName(Name);
    C->SetBounds(Left, Top, Width, Check_Height);
    C->SetShowHint(true);
    C->SetColor(Window_Color);
    C->OnClick = [this](TObject* S) { On_Click(S); };
    return C;
}

void TFParGen::New_Octets(TCategoryPanel* Panel, const QString& Prefix, int Top, int DotTop, TEdit** Octets) {
    for (int i = 0; i < 4; ++i) {
        Octets[i] = New_Edit(Panel, Prefix + QString::number(i + 1), Octet_Left[i], Top, Octet_Width);
        Octets[i]->OnKeyPress = [this](TObject* S, QChar& K) { KeyPress(S, K); };
        if (i > 0) {
            TLabel* Dot = New_Label(Panel, Prefix + "_Dot" + QString::number(i), Octet_Left[i] - 5, DotTop);
            Dot->SetCaption(".");
        }
    }
}

void TFParGen::Make_Images() {
    // Header images: a chevron pointing down (expand) and up (collapse), drawn in the header grey.
    ImageList1 = Create<TImageList>(this, nullptr, 16, 16);
    ImageList1->SetName("ImageList1");
    for (int k = 0; k < 2; ++k) {
        TBitmap B(16, 16);
        TCanvas* C = B.Canvas();
        C->Brush()->SetColor(clWhite);
        C->FillRect(Rect(0, 0, 16, 16));
        C->Brush()->SetColor(clGray);
        C->Pen()->SetColor(clGray);
        if (k == 0)
            C->Polygon({Point(3, 5), Point(12, 5), Point(8, 10)});
        else
            C->Polygon({Point(3, 10), Point(12, 10), Point(8, 5)});
        ImageList1->AddMasked(&B, clWhite);
    }
}

void TFParGen::CreateComponents() {
    SetName("FParGen");
    Apply_Window_Look(this, bsSizeable); // the height follows the user; FormResize keeps the width
    Font()->SetColor(clWindowText);
    SetClientWidth(Window_Client_Width);
    SetClientHeight(Window_Client_Height);

    // The panels carry the colour themselves rather than taking the window's.
    Create_Title_Panel(this, P_Title, L_SW_Code, L_SW_Desc);
    P_Title->SetColor(Window_Color);
    L_SW_Code->SetBounds(16, 8, 200, 32);
    L_SW_Desc->SetBounds(16, 42, 200, 13);

    P_Button = Create_Button_Panel(this, "P_Button");
    P_Button->SetColor(Window_Color);
    Btn_OK = Create<TLbButton>(this, P_Button);
    Btn_OK->SetName("Btn_OK");
    Btn_OK->SetKind(bkOK);
    Btn_OK->SetModalResult(mrNone); // the window closes only after the check and the save
    Btn_OK->SetBounds(219, 6, 110, 28);
    Btn_OK->SetAnchors({akTop, akRight});
    Btn_OK->SetShowHint(true);
    Btn_OK->OnClick = [this](TObject* S) { Btn_OKClick(S); };
    Btn_Cancel = Create<TLbButton>(this, P_Button);
    Btn_Cancel->SetName("Btn_Cancel");
    Btn_Cancel->SetKind(bkCancel);
    Btn_Cancel->SetBounds(335, 6, 110, 28);
    Btn_Cancel->SetAnchors({akTop, akRight});
    Btn_Cancel->SetShowHint(true);

    Make_Images();
    CPG = Create<TCategoryPanelGroup>(this, this);
    CPG->SetName("CPG");
    CPG->SetAlign(alClient);
    CPG->SetColor(Window_Color);
    Verdana(CPG->HeaderFont(), 15, clGray, true);
    CPG->SetGradientColor(Header_Gradient);
    CPG->SetChevronHotColor(clRed);
    CPG->SetImages(ImageList1);
    CPG->SetExpandedImageIndex(0);
    CPG->SetCollapsedImageIndex(1);

    CP_Serial = New_Panel("CP_Serial");
    CP_Modbus_TCP_Master = New_Panel("CP_Modbus_TCP_Master");
    CP_Modbus_Master = New_Panel("CP_Modbus_Master");
    CP_BACnet_Slave = New_Panel("CP_BACnet_Slave");
    CP_BACnet_Master = New_Panel("CP_BACnet_Master");
    CP_SNMP_Manager = New_Panel("CP_SNMP_Manager");
    CP_EtherNetIP_Master = New_Panel("CP_EtherNetIP_Master");
    CP_SNMP_Agent = New_Panel("CP_SNMP_Agent");
    CP_KNX = New_Panel("CP_KNX");
    CP_DMX = New_Panel("CP_DMX");
    CP_NMEA2000 = New_Panel("CP_NMEA2000");
    CP_PROFIBUS = New_Panel("CP_PROFIBUS");
    CP_PROFINET = New_Panel("CP_PROFINET");
    CP_EtherNetIP = New_Panel("CP_EtherNetIP");
    CP_DeviceNet_Master = New_Panel("CP_DeviceNet_Master");
    CP_J1939 = New_Panel("CP_J1939");
    CP_CANopen = New_Panel("CP_CANopen");
    CP_CAN = New_Panel("CP_CAN");
    CP_Modbus_TCP_Slave = New_Panel("CP_Modbus_TCP_Slave");
    CP_Modbus_Slave = New_Panel("CP_Modbus_Slave");
    CP_NTP = New_Panel("CP_NTP");
    CP_TLS = New_Panel("CP_TLS");
    CP_WiFi = New_Panel("CP_WiFi");
    CP_Ethernet = New_Panel("CP_Ethernet");
    CP_MQTT = New_Panel("CP_MQTT");
    CP_OPC_UA_Server = New_Panel("CP_OPC_UA_Server");
    CP_DeviceNet_Slave = New_Panel("CP_DeviceNet_Slave");

    // OPC UA server
    TCategoryPanel* P = CP_OPC_UA_Server;
    L_OPC_UA_Server_IP = New_Label(P, "L_OPC_UA_Server_IP", 14, 12);
    TEdit* IP[4];
    New_Octets(P, "E_OPC_UA_Server_IP", 9, 12, IP);
    E_OPC_UA_Server_IP1 = IP[0];
    E_OPC_UA_Server_IP2 = IP[1];
    E_OPC_UA_Server_IP3 = IP[2];
    E_OPC_UA_Server_IP4 = IP[3];
    L_OPC_UA_Server_SM = New_Label(P, "L_OPC_UA_Server_SM", 14, 40);
    TEdit* SM[4];
    New_Octets(P, "E_OPC_UA_Server_SM", 37, 40, SM);
    E_OPC_UA_Server_SM1 = SM[0];
    E_OPC_UA_Server_SM2 = SM[1];
    E_OPC_UA_Server_SM3 = SM[2];
    E_OPC_UA_Server_SM4 = SM[3];
    CB_OPC_UA_Server_En_GAT = New_Check(P, "CB_OPC_UA_Server_En_GAT", 14, 68, 175);
    TEdit* GAT[4];
    New_Octets(P, "E_OPC_UA_Server_GAT", 66, 69, GAT);
    E_OPC_UA_Server_GAT1 = GAT[0];
    E_OPC_UA_Server_GAT2 = GAT[1];
    E_OPC_UA_Server_GAT3 = GAT[2];
    E_OPC_UA_Server_GAT4 = GAT[3];
    CB_OPC_UA_Server_En_DNS = New_Check(P, "CB_OPC_UA_Server_En_DNS", 14, 96, 175);
    TEdit* DNS[4];
    New_Octets(P, "E_OPC_UA_Server_DNS", 94, 97, DNS);
    E_OPC_UA_Server_DNS1 = DNS[0];
    E_OPC_UA_Server_DNS2 = DNS[1];
    E_OPC_UA_Server_DNS3 = DNS[2];
    E_OPC_UA_Server_DNS4 = DNS[3];
    L_OPC_UA_Server_Port = New_Label(P, "L_OPC_UA_Server_Port", 14, 124);
    E_OPC_UA_Server_Port = New_Edit(P, "E_OPC_UA_Server_Port", 191, 121, 238);

    // CANopen
    P = CP_CANopen;
    L_CANopen_IDDevice = New_Label(P, "L_CANopen_IDDevice", 14, 12);
    E_CANopen_IDDevice = New_Edit(P, "E_CANopen_IDDevice", 191, 9, 238);
    L_CANopen_Baudrate = New_Label(P, "L_CANopen_Baudrate", 14, 40);
    CB_CANopen_Baudrate = Create<TComboBox>(this, P);
    CB_CANopen_Baudrate->SetName("CB_CANopen_Baudrate");
    CB_CANopen_Baudrate->SetStyle(csDropDownList);
    CB_CANopen_Baudrate->SetBounds(191, 37, 238, Combo_Height);
    CB_CANopen_Baudrate->SetShowHint(true);
    CB_CANopen_Baudrate->SetColor(clWindow);
    for (const char* Item : {"10K", "20K", "50K", "100K", "125K", "250K", "500K", "800K", "1000K", ""})
        CB_CANopen_Baudrate->Items()->Add(QString::fromLatin1(Item));
    CB_CANopen_SetOpe = New_Check(P, "CB_CANopen_SetOpe", 14, 68, 415);
    CB_CANopen_NetOpe = New_Check(P, "CB_CANopen_NetOpe", 14, 96, 293);
    E_CANopen_NetOpe_Delay = New_Edit(P, "E_CANopen_NetOpe_Delay", 313, 94, 116);
    L_CANopen_SDO_Timeout = New_Label(P, "L_CANopen_SDO_Timeout", 14, 124);
    E_CANopen_SDO_Timeout = New_Edit(P, "E_CANopen_SDO_Timeout", 252, 121, 177);

    // NTP
    P = CP_NTP;
    L_NTP_Server_URL = New_Label(P, "L_NTP_Server_URL", 14, 12);
    E_NTP_Server_URL = New_Edit(P, "E_NTP_Server_URL", 191, 9, 238);
    L_NTP_Poll_Time = New_Label(P, "L_NTP_Poll_Time", 14, 40);
    E_NTP_Poll_Time = New_Edit(P, "E_NTP_Poll_Time", 191, 37, 238);

    FOctetChain = {E_OPC_UA_Server_IP1,  E_OPC_UA_Server_IP2,  E_OPC_UA_Server_IP3,  E_OPC_UA_Server_IP4,
                   E_OPC_UA_Server_SM1,  E_OPC_UA_Server_SM2,  E_OPC_UA_Server_SM3,  E_OPC_UA_Server_SM4,
                   E_OPC_UA_Server_GAT1, E_OPC_UA_Server_GAT2, E_OPC_UA_Server_GAT3, E_OPC_UA_Server_GAT4,
                   E_OPC_UA_Server_DNS1, E_OPC_UA_Server_DNS2, E_OPC_UA_Server_DNS3, E_OPC_UA_Server_DNS4};

    // The file's elements, in file order, with what a missing element falls back to.
    using B = TParBinding;
    FParams = {
        B::Edit("OPC_UA_Server_IP1", E_OPC_UA_Server_IP1, "192"),
        B::Edit("OPC_UA_Server_IP2", E_OPC_UA_Server_IP2, "168"),
        B::Edit("OPC_UA_Server_IP3", E_OPC_UA_Server_IP3, "0"),
        B::Edit("OPC_UA_Server_IP4", E_OPC_UA_Server_IP4, "10"),
        B::Edit("OPC_UA_Server_SM1", E_OPC_UA_Server_SM1, "255"),
        B::Edit("OPC_UA_Server_SM2", E_OPC_UA_Server_SM2, "255"),
        B::Edit("OPC_UA_Server_SM3", E_OPC_UA_Server_SM3, "255"),
        B::Edit("OPC_UA_Server_SM4", E_OPC_UA_Server_SM4, "0"),
        B::Edit("OPC_UA_Server_GAT1", E_OPC_UA_Server_GAT1, "192"),
        B::Edit("OPC_UA_Server_GAT2", E_OPC_UA_Server_GAT2, "168"),
        B::Edit("OPC_UA_Server_GAT3", E_OPC_UA_Server_GAT3, "0"),
        B::Edit("OPC_UA_Server_GAT4", E_OPC_UA_Server_GAT4, "1"),
        B::Check("OPC_UA_Server_EN_GAT", CB_OPC_UA_Server_En_GAT),
        B::Edit("OPC_UA_Server_DNS1", E_OPC_UA_Server_DNS1, "8"),
        B::Edit("OPC_UA_Server_DNS2", E_OPC_UA_Server_DNS2, "8"),
        B::Edit("OPC_UA_Server_DNS3", E_OPC_UA_Server_DNS3, "8"),
        B::Edit("OPC_UA_Server_DNS4", E_OPC_UA_Server_DNS4, "8"),
        B::Check("OPC_UA_Server_EN_DNS", CB_OPC_UA_Server_En_DNS),
        B::Edit("OPC_UA_Server_Port", E_OPC_UA_Server_Port, "4840"),
        B::Edit("CANopen_IDDev", E_CANopen_IDDevice, "1"),
        B::Index("CANopen_BAUDRATE", CB_CANopen_Baudrate, 5),
        B::Check("CANopen_Set_Operational", CB_CANopen_SetOpe),
        B::Check("CANopen_Network_Start", CB_CANopen_NetOpe),
        B::Edit("CANopen_Delay", E_CANopen_NetOpe_Delay, "0"),
        B::Edit("CANopen_SDO_TimeOut", E_CANopen_SDO_Timeout, "10000"),
        B::Edit("NTP_Server_URL", E_NTP_Server_URL, ""),
        B::Edit("NTP_Poll_Time", E_NTP_Poll_Time, ""),
    };

    Buttons_Last_In_Tab_Order(P_Button);
    OnShow = [this](TObject* S) { FormShow(S); };
    OnMouseWheel = [this](TObject* S, TShiftState Sh, int D, TPoint P2, bool& H) { FormMouseWheel(S, Sh, D, P2, H); };
    OnResize = [this](TObject* S) { FormResize(S); };
}

void TFParGen::FormCreate(TObject* Sender) {
    (void)Sender;
    L_SW_Code->SetCaption(SW_Code);
    SetClientWidth(Window_Client_Width);
    SetClientHeight(Window_Client_Height);
    for (int i = 0; i < CPG->PanelCount(); ++i) CPG->Panels(i)->SetVisible(false);
    Order_TAB_Panels();
    Move_GroupBoxs();
    Set_Lang();
}

// ---- texts -----------------------------------------------------------------------------------

void TFParGen::Set_Lang() {
    SetCaption(Lang[400]);
    L_SW_Desc->SetCaption(Lang[401]);
    Btn_OK->SetCaption(Lang[402]);
    Btn_Cancel->SetCaption(Lang[403]);
    Btn_OK->SetHint(Lang[404]);
    Btn_Cancel->SetHint(Lang[405]);

    L_OPC_UA_Server_IP->SetCaption(Lang[407]);
    for (int i = 0; i < 4; ++i) FOctetChain[i]->SetHint(Lang[408 + i]);
    L_OPC_UA_Server_SM->SetCaption(Lang[412]);
    for (int i = 0; i < 4; ++i) FOctetChain[4 + i]->SetHint(Lang[413 + i]);
    CB_OPC_UA_Server_En_GAT->SetCaption(Lang[417]);
    CB_OPC_UA_Server_En_GAT->SetHint(Lang[418]);
    for (int i = 0; i < 4; ++i) FOctetChain[8 + i]->SetHint(Lang[419 + i]);
    CB_OPC_UA_Server_En_DNS->SetCaption(Lang[1137]);
    CB_OPC_UA_Server_En_DNS->SetHint(Lang[1138]);
    for (int i = 0; i < 4; ++i) FOctetChain[12 + i]->SetHint(Lang[1139 + i]);
    L_OPC_UA_Server_Port->SetCaption(Lang[1134]);
    E_OPC_UA_Server_Port->SetHint(Lang[1135]);

    L_CANopen_IDDevice->SetCaption(Lang[605]);
    E_CANopen_IDDevice->SetHint(Lang[606]);
    L_CANopen_Baudrate->SetCaption(Lang[607]);
    CB_CANopen_Baudrate->SetHint(Lang[608]);
    CB_CANopen_SetOpe->SetCaption(Lang[609]);
    CB_CANopen_SetOpe->SetHint(Lang[610]);
    CB_CANopen_NetOpe->SetCaption(Lang[611]);
    CB_CANopen_NetOpe->SetHint(Lang[612]);
    E_CANopen_NetOpe_Delay->SetHint(Lang[613]);
    L_CANopen_SDO_Timeout->SetCaption(Lang[614]);
    E_CANopen_SDO_Timeout->SetHint(Lang[615]);

    L_NTP_Server_URL->SetCaption(Lang[565]);
    E_NTP_Server_URL->SetHint(Lang[566]);
    L_NTP_Poll_Time->SetCaption(Lang[567]);
    E_NTP_Poll_Time->SetHint(Lang[568]);
}

// ---- the file --------------------------------------------------------------------------------

TFParGen::TParBinding::TParBinding(const char* Element, QString Default, std::function<QString()> Read,
                                   std::function<void(const QString&)> Write)
    : FElement(Element), FDefault(std::move(Default)), FRead(std::move(Read)), FWrite(std::move(Write)) {}

TFParGen::TParBinding TFParGen::TParBinding::Edit(const char* Element, TEdit* Control, const char* Default) {
    return TParBinding(
        Element, QString::fromLatin1(Default), [Control] { return Control->Text(); },
        [Control](const QString& Text) { Control->SetText(Text); });
}

TFParGen::TParBinding TFParGen::TParBinding::Check(const char* Element, TCheckBox* Control) {
    return TParBinding(
        Element, QStringLiteral("0"), [Control] { return QString(Control->Checked() ? "1" : "0"); },
        [Control](const QString& Text) { Control->SetChecked(Text == "1"); });
}

TFParGen::TParBinding TFParGen::TParBinding::Index(const char* Element, TComboBox* Control, int Default) {
    return TParBinding(
        Element, IntToStr(Default), [Control] { return IntToStr(Control->ItemIndex()); },
        [Control, Default](const QString& Text) {
            int Index = 0;
            if (!TryStrToInt(Text, Index)) Index = Default;
            Control->SetItemIndex(Index >= 0 && Index < Control->Items()->Count() ? Index : -1);
        });
}

void TFParGen::Set_Defaults() {
    for (const TParBinding& P : FParams) P.Reset();
}

void TFParGen::FormShow(TObject* Sender) {
    (void)Sender;
    // Whatever the controls held belongs to the last showing, possibly of another project: it
    // must never reach this project's file, not even when this project's file cannot be read.
    Set_Defaults();
    if (FileExists(File_ParGen)) {
        try {
            XML1.SetActive(true);
            XML1.LoadFromFile(File_ParGen);
        } catch (const std::exception& E) {
            Application->HandleException(this, E);
            Move_GroupBoxs();
            return;
        }
        const IXMLNode Root = XML1.DocumentElement();
        for (const TParBinding& P : FParams) {
            try {
                const IXMLNode N = Root.FindNode(QString::fromLatin1(P.Element()));
                if (N.IsNull()) throw EXMLDocError(QString("Element \"%1\" missing").arg(P.Element()));
                P.Write(N.Text());
            } catch (const Exception&) {
                P.Reset();
            }
        }
    }
    Move_GroupBoxs();
}

void TFParGen::Btn_OKClick(TObject* Sender) {
    (void)Sender;
    if (!Controllo_Dati()) return;
    XML1.SetActive(true);
    XML1.Clear();
    IXMLNode Root = XML1.AddChild("Par_Gen");
    XML1.ChildNodes().Add(XML1.CreateNode(Comment_Text, ntComment));
    for (const TParBinding& P : FParams) Root.AddChild(QString::fromLatin1(P.Element())).SetText(P.Read());
    // A failed save raises before the result is set, so the window stays open with the values.
    XML1.SaveToFile(File_ParGen);
    SetModalResult(mrOk);
}

// ---- check -----------------------------------------------------------------------------------

bool TFParGen::Controllo_Dati() {
    struct TCheck {
        TEdit* Edit;
        int Low, High;
        TCheckBox* OnlyWhen; // checked only while this box is ticked
        int Text;
    };
    const TCheck Checks[] = {
        {E_OPC_UA_Server_IP1, 0, 255, nullptr, 922},
        {E_OPC_UA_Server_IP2, 0, 255, nullptr, 923},
        {E_OPC_UA_Server_IP3, 0, 255, nullptr, 924},
        {E_OPC_UA_Server_IP4, 0, 255, nullptr, 925},
        {E_OPC_UA_Server_SM1, 0, 255, nullptr, 926},
        {E_OPC_UA_Server_SM2, 0, 255, nullptr, 927},
        {E_OPC_UA_Server_SM3, 0, 255, nullptr, 928},
        {E_OPC_UA_Server_SM4, 0, 255, nullptr, 929},
        {E_OPC_UA_Server_GAT1, 0, 255, CB_OPC_UA_Server_En_GAT, 930},
        {E_OPC_UA_Server_GAT2, 0, 255, CB_OPC_UA_Server_En_GAT, 931},
        {E_OPC_UA_Server_GAT3, 0, 255, CB_OPC_UA_Server_En_GAT, 932},
        {E_OPC_UA_Server_GAT4, 0, 255, CB_OPC_UA_Server_En_GAT, 933},
        {E_OPC_UA_Server_Port, 0, 65535, nullptr, 1136},
        {E_CANopen_IDDevice, 1, 127, nullptr, 1009},
        {E_CANopen_NetOpe_Delay, 0, 255, CB_CANopen_NetOpe, 1010},
        {E_CANopen_SDO_Timeout, 0, 100000, nullptr, 1011},
        {E_NTP_Poll_Time, 0, 10000000, nullptr, 1092},
    };
    for (const TCheck& C : Checks) {
        if (C.OnlyWhen && !C.OnlyWhen->Checked()) continue;
        const int V = CellValue(C.Edit->Text());
        // Port 10000 is the device's own service port.
        const bool Bad = V < C.Low || V > C.High || (C.Edit == E_OPC_UA_Server_Port && V == 10000);
        if (Bad) {
            MessageDlg(Lang[C.Text], mtError, {mbOK});
            return false;
        }
    }
    return true;
}

// ---- keys ------------------------------------------------------------------------------------

void TFParGen::KeyPress(TObject* Sender, QChar& Key) {
    if (Key != QChar('.')) return;
    for (size_t i = 0; i + 1 < FOctetChain.size(); ++i) {
        if (FOctetChain[i] == Sender) {
            if (FOctetChain[i + 1]->CanFocus()) FOctetChain[i + 1]->SetFocus();
            break;
        }
    }
    Key = QChar();
}

// ---- panels ----------------------------------------------------------------------------------

void TFParGen::Order_Panels(std::initializer_list<TPanelCaption> Panels) {
    int Top = 0;
    int Number = 1;
    // Each panel goes where the one before it ends; placed before it is shown, so that the group
    // stacks it after the panels already there.
    for (const TPanelCaption& P : Panels) {
        P.Panel->SetTop(Top);
        P.Panel->SetVisible(true);
        Top = P.Panel->Top() + P.Panel->Height();
    }
    for (const TPanelCaption& P : Panels) {
        P.Panel->SetCaption(QString::number(Number++) + ". " + Lang[P.Text]);
        P.Panel->SetTabOrder(Number - 2);
    }
    CPG->Restack();
}

void TFParGen::Order_TAB_Panels() { Order_TAB_Panels_MDL09(); }
void TFParGen::Move_GroupBoxs() { RePosition_Objects_MDL09(); }

void TFParGen::Order_TAB_Panels_MDL01() { Order_Panels({{CP_OPC_UA_Server, 406}, {CP_Serial, 913}, {CP_NTP, 564}}); }
void TFParGen::Order_TAB_Panels_MDL02() {
    Order_Panels({{CP_OPC_UA_Server, 406}, {CP_Modbus_Master, 879}, {CP_NTP, 564}});
}
void TFParGen::Order_TAB_Panels_MDL03() {
    Order_Panels({{CP_OPC_UA_Server, 406}, {CP_Modbus_Slave, 569}, {CP_NTP, 564}});
}
void TFParGen::Order_TAB_Panels_MDL04() {
    Order_Panels({{CP_OPC_UA_Server, 406}, {CP_Modbus_TCP_Master, 892}, {CP_NTP, 564}});
}
void TFParGen::Order_TAB_Panels_MDL05() {
    Order_Panels({{CP_OPC_UA_Server, 406}, {CP_Modbus_TCP_Slave, 582}, {CP_NTP, 564}});
}
void TFParGen::Order_TAB_Panels_MDL06() {
    Order_Panels({{CP_OPC_UA_Server, 406}, {CP_BACnet_Master, 795}, {CP_NTP, 564}});
}
void TFParGen::Order_TAB_Panels_MDL07() {
    Order_Panels({{CP_OPC_UA_Server, 406}, {CP_BACnet_Slave, 836}, {CP_NTP, 564}});
}
void TFParGen::Order_TAB_Panels_MDL08() { Order_Panels({{CP_OPC_UA_Server, 406}, {CP_CAN, 601}, {CP_NTP, 564}}); }
void TFParGen::Order_TAB_Panels_MDL09() { Order_Panels({{CP_OPC_UA_Server, 406}, {CP_CANopen, 604}, {CP_NTP, 564}}); }
void TFParGen::Order_TAB_Panels_MDL10() {
    Order_Panels({{CP_OPC_UA_Server, 406}, {CP_DeviceNet_Master, 634}, {CP_NTP, 564}});
}
void TFParGen::Order_TAB_Panels_MDL11() {
    Order_Panels({{CP_OPC_UA_Server, 406}, {CP_DeviceNet_Slave, 625}, {CP_NTP, 564}});
}
void TFParGen::Order_TAB_Panels_MDL12() { Order_Panels({{CP_OPC_UA_Server, 406}, {CP_DMX, 709}, {CP_NTP, 564}}); }
void TFParGen::Order_TAB_Panels_MDL13() {
    Order_Panels({{CP_OPC_UA_Server, 406}, {CP_EtherNetIP_Master, 758}, {CP_NTP, 564}});
}
void TFParGen::Order_TAB_Panels_MDL14() {
    Order_Panels({{CP_OPC_UA_Server, 406}, {CP_EtherNetIP, 639}, {CP_NTP, 564}});
}
void TFParGen::Order_TAB_Panels_MDL15() { Order_Panels({{CP_OPC_UA_Server, 406}, {CP_J1939, 616}, {CP_NTP, 564}}); }
void TFParGen::Order_TAB_Panels_MDL16() { Order_Panels({{CP_OPC_UA_Server, 406}, {CP_KNX, 714}, {CP_NTP, 564}}); }
void TFParGen::Order_TAB_Panels_MDL17() {
    Order_Panels(
        {{CP_OPC_UA_Server, 406}, {CP_MQTT, 423}, {CP_Ethernet, 450}, {CP_WiFi, 473}, {CP_TLS, 549}, {CP_NTP, 564}});
}
void TFParGen::Order_TAB_Panels_MDL18() {}
void TFParGen::Order_TAB_Panels_MDL19() { Order_Panels({{CP_OPC_UA_Server, 406}, {CP_NMEA2000, 702}, {CP_NTP, 564}}); }
void TFParGen::Order_TAB_Panels_MDL20() {}
void TFParGen::Order_TAB_Panels_MDL21() { Order_Panels({{CP_OPC_UA_Server, 406}, {CP_PROFINET, 665}, {CP_NTP, 564}}); }
void TFParGen::Order_TAB_Panels_MDL22() {
    Order_Panels({{CP_OPC_UA_Server, 406}, {CP_SNMP_Manager, 777}, {CP_NTP, 564}});
}
void TFParGen::Order_TAB_Panels_MDL23() {
    Order_Panels({{CP_OPC_UA_Server, 406}, {CP_SNMP_Agent, 719}, {CP_NTP, 564}});
}

void TFParGen::RePosition_Objects_MDL01() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_Serial();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL02() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_Modbus_Master();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL03() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_Modbus_Slave();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL04() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_Modbus_TCP_Master();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL05() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_Modbus_TCP_Slave();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL06() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_BACnet_Master();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL07() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_BACnet_Slave();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL08() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_CAN();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL09() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_CANopen();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL10() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_DeviceNet_Master();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL11() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_DeviceNet_Slave();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL12() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_DMX();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL13() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_EtherNetIP_Master();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL14() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_EtherNetIP();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL15() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_J1939();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL16() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_KNX();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL17() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_MQTT();
    RePosition_Object_Ethernet();
    RePosition_Object_WiFi();
    RePosition_Object_TLS();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL18() {}
void TFParGen::RePosition_Objects_MDL19() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_NMEA2000();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL20() {}
void TFParGen::RePosition_Objects_MDL21() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_PROFINET();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL22() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_SNMP_Manager();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_MDL23() {
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_SNMP_Agent();
    RePosition_Object_NTP();
}

void TFParGen::Common_Height(TCategoryPanel* Panel, TControl* Last) {
    Panel->SetHeight(Last->Top() + Last->Height() + 12 + CPG->HeaderHeight());
}

void TFParGen::Lowest_Control_Height(TCategoryPanel* Panel) {
    int Bottom = 0;
    for (int i = 0; i < Panel->ControlCount(); ++i) {
        TControl* C = Panel->Controls(i);
        if (C->Visible()) Bottom = std::max(Bottom, C->Top() + C->Height());
    }
    Panel->SetHeight(Bottom + 12 + CPG->HeaderHeight());
}

void TFParGen::RePosition_Object_OPC_UA_Server() { Common_Height(CP_OPC_UA_Server, E_OPC_UA_Server_Port); }
void TFParGen::RePosition_Object_CANopen() { Common_Height(CP_CANopen, E_CANopen_SDO_Timeout); }
void TFParGen::RePosition_Object_NTP() { Common_Height(CP_NTP, E_NTP_Poll_Time); }
void TFParGen::RePosition_Object_Serial() { Lowest_Control_Height(CP_Serial); }
void TFParGen::RePosition_Object_Modbus_Master() { Lowest_Control_Height(CP_Modbus_Master); }
void TFParGen::RePosition_Object_Modbus_Slave() { Lowest_Control_Height(CP_Modbus_Slave); }
void TFParGen::RePosition_Object_Modbus_TCP_Master() { Lowest_Control_Height(CP_Modbus_TCP_Master); }
void TFParGen::RePosition_Object_Modbus_TCP_Slave() { Lowest_Control_Height(CP_Modbus_TCP_Slave); }
void TFParGen::RePosition_Object_CAN() { Lowest_Control_Height(CP_CAN); }
void TFParGen::RePosition_Object_DeviceNet_Master() { Lowest_Control_Height(CP_DeviceNet_Master); }
void TFParGen::RePosition_Object_DeviceNet_Slave() { Lowest_Control_Height(CP_DeviceNet_Slave); }
void TFParGen::RePosition_Object_DMX() { Lowest_Control_Height(CP_DMX); }
void TFParGen::RePosition_Object_EtherNetIP_Master() { Lowest_Control_Height(CP_EtherNetIP_Master); }
void TFParGen::RePosition_Object_EtherNetIP() { Lowest_Control_Height(CP_EtherNetIP); }
void TFParGen::RePosition_Object_J1939() { Lowest_Control_Height(CP_J1939); }
void TFParGen::RePosition_Object_KNX() { Lowest_Control_Height(CP_KNX); }
void TFParGen::RePosition_Object_NMEA2000() { Lowest_Control_Height(CP_NMEA2000); }
void TFParGen::RePosition_Object_SNMP_Manager() { Lowest_Control_Height(CP_SNMP_Manager); }
void TFParGen::RePosition_Object_PROFINET() { Lowest_Control_Height(CP_PROFINET); }
void TFParGen::RePosition_Object_Ethernet() { Lowest_Control_Height(CP_Ethernet); }
void TFParGen::RePosition_Object_MQTT() { Lowest_Control_Height(CP_MQTT); }
void TFParGen::RePosition_Object_TLS() { Lowest_Control_Height(CP_TLS); }
void TFParGen::RePosition_Object_SNMP_Agent() { Lowest_Control_Height(CP_SNMP_Agent); }
void TFParGen::RePosition_Object_BACnet_Master() { Lowest_Control_Height(CP_BACnet_Master); }
void TFParGen::RePosition_Object_BACnet_Slave() { Lowest_Control_Height(CP_BACnet_Slave); }
void TFParGen::RePosition_Object_WiFi() { Lowest_Control_Height(CP_WiFi); }

void TFParGen::On_Click(TObject* Sender) {
    // Only these boxes change which rows their panel shows.
    static const char* const Layout_Boxes[] = {"CB_MQTT_WillFlag",      "CB_TLS_Enable",   "CB_TLS_En_Server_Auth",
                                               "CB_TLS_En_Client_Auth", "CB_WiFi_IP_Auto", "CB_WiFi_En_DHCP",
                                               "CB_SNMP_Agent_Version3"};
    auto* C = dynamic_cast<TComponent*>(Sender);
    if (!C) return;
    for (const char* Name : Layout_Boxes)
        if (C->Name() == QLatin1String(Name)) {
            Move_GroupBoxs();
            return;
        }
}

void TFParGen::FormMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled) {
    (void)Sender;
    (void)Shift;
    const TPoint P = CPG->ScreenToClient(MousePos);
    if (P.X < 0 || P.Y < 0 || P.X >= CPG->ClientWidth() || P.Y >= CPG->ClientHeight()) return;
    Handled = true;
    const int Lines = Mouse ? Mouse->WheelScrollLines() : QApplication::wheelScrollLines();
    for (int i = 0; i < Lines; ++i) {
        CPG->Perform(WM_VSCROLL, WheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        CPG->Perform(WM_VSCROLL, SB_ENDSCROLL, 0);
    }
}

void TFParGen::FormResize(TObject* Sender) {
    (void)Sender;
    if (ClientWidth() != Window_Client_Width) SetClientWidth(Window_Client_Width);
}
