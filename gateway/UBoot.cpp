#include "gateway/UBoot.h"

#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UWindow_Look.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Files.h"
#include "platform/xml/XMLDoc.h"

#include <QCoreApplication>
#include <QEventLoop>

QString Update_Options(const QString& Prefix, int Option, bool ReadBack) {
    const QString FR = ReadBack ? "FR " : "NO ";
    const QString PR = ReadBack ? "PR " : "NO ";
    switch (Option) {
        case Update_Firmware_And_Configuration: return Prefix + "FW " + FR + "PW " + PR;
        case Update_Firmware: return Prefix + "FW " + FR + "NO " + "NO ";
        case Update_Configuration: return Prefix + "NO " + "NO " + "PW " + PR;
        default: return Prefix;
    }
}

namespace {
enum TUpdate_Operation { Op_Firmware, Op_Param_Block, Op_Table_Image };
}

static void Add_Operation(IXMLNode Operations, TUpdate_Operation Op, const TBootParams& P, bool GoToAppAfter) {
    const QString Project = IncludeTrailingPathDelimiter(P.Project_Dir);
    const QString FileName = Op == Op_Firmware ? IncludeTrailingPathDelimiter(P.Master_Dir) + "SimQ4180.sim"
        : Op == Op_Param_Block                 ? Project + "bin/bank1.bin"
                                               : Project + "bin/bank2.bin";
    const QString Start = Op == Op_Firmware ? "0x8000" : Op == Op_Param_Block ? "0x07000" : "0x90000";
    IXMLNode O = Operations.AddChild("Operation");
    const QStringList Items = {
        "Ope_Protection_Enabled",
        "",
        "Ope_GoToBoot_Before",
        "0",
        "Ope_GoToApp_Before",
        "0",
        "Ope_IP_Address",
        "",
        "Ope_Port",
        "2008",
        "Ope_Port_Sec",
        "2007",
        "Ope_Erase_Memory",
        "0",
        "Ope_FileName",
        FileName,
        "Ope_Start_Address",
        Start,
        "Ope_Memory_Type",
        "0",
        "Ope_Bank_Type",
        Op == Op_Firmware ? "1" : "2",
        "Ope_Read_Back",
        P.ReadBack ? "1" : "0",
        "Ope_Write_CSS",
        Op == Op_Firmware ? "1" : "0",
        "Ope_Address_CSS",
        "0x07A00",
        "Ope_Command_CSS",
        "0x02",
        "Ope_Write_Internal_Data",
        "0",
        "Ope_WID_Address",
        "0x07810",
        "Ope_WID_Command",
        "0x02",
        "Ope_WID_Data",
        "0x00, 0x00, 0x00, 0x01",
        "Ope_GoToApp_After",
        GoToAppAfter ? "1" : "0",
    };
    for (int i = 0; i < Items.size(); i += 2) O.AddChild(Items[i]).SetText(Items[i + 1]);
}

static void Build_Document(TXMLDocument& Doc, const TBootParams& P) {
    Doc.SetActive(true);
    Doc.Clear();
    IXMLNode Root = Doc.AddChild("Ethernet_Update");
    Root.AddChild("Version").SetText("1000");
    Root.AddChild("Title").SetText("Velmora - CFG4180 Ethernet Update");
    Root.AddChild("IP_Address_Dev").SetText(P.IP_Address);
    Root.AddChild("Application_Port").SetText("10000");
    Root.AddChild("Boot_Port").SetText("2008");
    Root.AddChild("Boot_Port_Sec").SetText("2007");
    Root.AddChild("Address_Protection").SetText("0x07800");
    Root.AddChild("Protections").AddChild("Protection").SetText("0x1C9");
    IXMLNode Ops = Root.AddChild("Operations");
    switch (P.Option) {
        case Update_Firmware_And_Configuration:
            Add_Operation(Ops, Op_Firmware, P, false);
            Add_Operation(Ops, Op_Param_Block, P, false);
            Add_Operation(Ops, Op_Table_Image, P, true);
            break;
        case Update_Firmware: Add_Operation(Ops, Op_Firmware, P, true); break;
        case Update_Configuration:
            Add_Operation(Ops, Op_Param_Block, P, false);
            Add_Operation(Ops, Op_Table_Image, P, true);
            break;
        default: break;
    }
}

QString Ethernet_Update_XML(const TBootParams& P) {
    TXMLDocument Doc;
    Build_Document(Doc, P);
    return Doc.SaveToXML();
}

static void Write_Parameter_File(TXMLDocument& Doc, const TBootParams& P) {
    const QString FileName = App_Dir() + "Ethernet_Update.xml";
    Build_Document(Doc, P);
    try {
        Doc.SaveToFile(FileName);
    } catch (const Exception& E) {
        DeleteFile(FileName);
        throw EInOutError(QString("Cannot write \"%1\": %2").arg(FileName, E.Message()));
    }
}

void Compile_XML_Parameter_New_Boot(const TBootParams& P) {
    TXMLDocument Doc;
    Write_Parameter_File(Doc, P);
}

TBootParams TBootParams::From_Globals(const QString& IP_Address) {
    return TBootParams{IP_Address, Update_Option_Index, Update_Read_Back, ::Master_Dir, ::Project_Dir};
}

// ---- the update dialog -------------------------------------------------------------------------

TFBoot* FBoot = nullptr;

namespace {
constexpr int Ping_Step_Ms = 10;
constexpr int Ping_Wait_Ms = 400;
constexpr int Ping_Total_Ms = 5000;
constexpr int Ping_Replies_Wanted = 2;

// Lets the dialog repaint while the echo check runs on the user-interface thread. Input stays
// queued until the check is over, so a click cannot start a second update or close the dialog
// under a running one.
void Process_Pending_Paint() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

TPanel* Make_Panel(TFBoot* Owner, const QString& Name, TAlign Align, int Height) {
    TPanel* P = Create<TPanel>(Owner, Owner);
    P->SetName(Name);
    P->SetCaption(QString());
    P->SetBevelOuter(bvNone);
    P->SetParentColor(true);
    P->SetBounds(0, 0, TFBoot::Client_Width, Height);
    P->SetAlign(Align);
    return P;
}

TLabel* Make_Label(TFBoot* Owner, TWinControl* Parent, const QString& Name, int Left, int Top, const QString& Caption) {
    TLabel* L = Create<TLabel>(Owner, Parent);
    L->SetName(Name);
    L->SetAutoSize(true);
    L->SetTransparent(true);
    L->SetLeft(Left);
    L->SetTop(Top);
    L->SetCaption(Caption);
    return L;
}

TLbButton* Make_Button(TFBoot* Owner, TWinControl* Parent, const QString& Name, int Left, int Top, int Width,
                       int Height) {
    TLbButton* B = Create<TLbButton>(Owner, Parent);
    B->SetName(Name);
    B->SetStyle(bsEncarta);
    B->SetColor(Window_Color);
    B->SetColorWhenDown(TColor(33023));
    B->SetHotTrackColor(TColor(0xF0CAA6));
    B->SetBounds(Left, Top, Width, Height);
    return B;
}
} // namespace

void TIcmpEcho::Ping(int SequenceId) {
    (void)SequenceId;
    const std::optional<TIcmpReply> Reply = IcmpClient().Ping(Host, PacketSize, ReceiveTimeout);
    TEchoReplyStatus Status;
    if (Reply) {
        Status.FromIpAddress = Reply->FromAddress;
        Status.BytesReceived = Reply->BytesReceived;
    }
    if (OnReply) OnReply(this, Status);
}

TWaitResult Boot_Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo) {
    return StartAndWait(NomeSW, Parameter, tipo, Start_Program_Limit_Ms, 10);
}

void TFBoot::CreateComponents() {
    SetName("FBoot");
    Apply_Window_Look(this);
    SetScaled(false);
    SetShowHint(true);
    SetCaption("Update Device");
    SetClientWidth(Client_Width);
    SetClientHeight(Title_Height + IP_Address_Height + Serial_Height + Eth_Search_Height + Options_Height +
                    Button_Height);

    // The top panels are stacked in creation order, so the address (or serial) panel comes
    // before the device search and the options.
    P_Title = Make_Panel(this, "P_Title", alTop, Title_Height);
    L_SW_Code = Make_Label(this, P_Title, "L_SW_Code", 16, 8, SW_Code);
    L_SW_Code->Font()->SetName("Verdana");
    L_SW_Code->Font()->SetHeight(-32);
    L_SW_Code->Font()->SetColor(clGray);
    L_SW_Desc = Make_Label(this, P_Title, "L_SW_Desc", 16, 42, QString());
    L_SW_Desc->Font()->SetColor(clGray);
    L_SW_Desc->Font()->SetStyle({fsBold});

    P_IP_Address = Make_Panel(this, "P_IP_Address", alTop, IP_Address_Height);
    L_IP_Address = Make_Label(this, P_IP_Address, "L_IP_Address", 16, 4, QString());
    TEdit** Edits[] = {&E_IP1, &E_IP2, &E_IP3, &E_IP4};
    TLabel** Dots[] = {&Label2, &Label3, &Label4};
    for (int i = 0; i < 4; ++i) {
        TEdit* E = Create<TEdit>(this, P_IP_Address);
        E->SetName(QString("E_IP%1").arg(i + 1));
        E->SetBounds(16 + i * 50, 20, 41, 21);
        E->SetText("0");
        E->OnKeyPress = [this](TObject* Sender, QChar& Key) { KeyPress(Sender, Key); };
        *Edits[i] = E;
        if (i < 3) *Dots[i] = Make_Label(this, P_IP_Address, QString("Label%1").arg(i + 2), 60 + i * 50, 24, ".");
    }

    P_Serial = Make_Panel(this, "P_Serial", alTop, Serial_Height);
    L_COM_Port = Make_Label(this, P_Serial, "L_COM_Port", 16, 4, "Select the COM port for the Update");
    CB_COM_Port = Create<TComboBox>(this, P_Serial);
    CB_COM_Port->SetName("CB_COM_Port");
    CB_COM_Port->SetStyle(csDropDownList);
    CB_COM_Port->SetBounds(16, 22, 145, 21);
    Btn_COM_List = Make_Button(this, P_Serial, "Btn_COM_List", 167, 19, 28, 26);
    Btn_COM_List->Glyph()->LoadFromResourceName("LBRETRY");
    Btn_COM_List->SetNumGlyphs(2);
    Btn_COM_List->SetCaption(QString());
    Btn_COM_List->SetHint("Update COM Ports List");
    Btn_COM_List->OnClick = [this](TObject* Sender) { Btn_COM_ListClick(Sender); };

    P_Eth_Search = Make_Panel(this, "P_Eth_Search", alTop, Eth_Search_Height);
    L_List_Device = Make_Label(this, P_Eth_Search, "L_List_Device", 16, 8, QString());
    Btn_Search = Make_Button(this, P_Eth_Search, "Btn_Search", 323, 2, 110, 24);
    ACG_List_Devices = Create<TExtColumnGrid>(this, P_Eth_Search);
    ACG_List_Devices->SetName("ACG_List_Devices");
    ACG_List_Devices->SetBounds(16, 30, 417, 124);
    ACG_List_Devices->SetColCount(2);
    ACG_List_Devices->SetRowCount(2);
    ACG_List_Devices->SetFixedCols(0);
    ACG_List_Devices->SetFixedRows(1);
    for (int c = 0; c < 2; ++c) ACG_List_Devices->Columns()->Items(c)->SetWidth(180);
    ACG_List_Devices->SetDefaultRowHeight(20);
    CB_Find_All_Velmora = Create<TCheckBox>(this, P_Eth_Search);
    CB_Find_All_Velmora->SetName("CB_Find_All_Velmora");
    CB_Find_All_Velmora->SetBounds(16, 160, 300, 17);

    P_Options = Make_Panel(this, "P_Options", alTop, Options_Height);
    L_Update_Option = Make_Label(this, P_Options, "L_Update_Option", 16, 4, QString());
    CB_Update_Options = Create<TComboBox>(this, P_Options);
    CB_Update_Options->SetName("CB_Update_Options");
    CB_Update_Options->SetStyle(csDropDownList);
    CB_Update_Options->SetBounds(16, 22, 250, 21);
    CB_Update_Option_Read_Back = Create<TCheckBox>(this, P_Options);
    CB_Update_Option_Read_Back->SetName("CB_Update_Option_Read_Back");
    CB_Update_Option_Read_Back->SetBounds(16, 50, 300, 17);
    CB_Update_Option_Read_Back->SetChecked(true);

    P_Button = Make_Panel(this, "P_Button", alBottom, Button_Height);
    Btn_Update = Make_Button(this, P_Button, "Btn_Update", 161, 6, 156, 28);
    Btn_Update->OnClick = [this](TObject* Sender) { Btn_UpdateClick(Sender); };
    Btn_Cancel = Make_Button(this, P_Button, "Btn_Cancel", 323, 6, 110, 28);
    Btn_Cancel->SetModalResult(mrCancel);

    Ping = new TIcmpEcho(this);
    Ping->SetName("Ping");
    Ping->ReceiveTimeout = Ping_Wait_Ms;
    Ping->PacketSize = 1024;
    Ping->Protocol = 1;
    Ping->OnReply = [this](TObject* Sender, const TEchoReplyStatus& S) { PingReply(Sender, S); };

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
}

void TFBoot::Release_Panel_Alignment() {
    for (TPanel* P : {P_IP_Address, P_Eth_Search, P_Options, P_Serial}) {
        P->SetVisible(false);
        P->SetAlign(alNone);
    }
}

void TFBoot::FormShow(TObject* Sender) {
    (void)Sender;
    Set_Lang();
    L_SW_Code->SetCaption(SW_Code);
    Release_Panel_Alignment();

    auto Restore_Options = [this] {
        CB_Update_Options->SetItemIndex(Update_Option_Index);
        CB_Update_Option_Read_Back->SetChecked(Update_Read_Back);
    };

    if (Form_Type == 1) {
        P_IP_Address->SetVisible(true);
        P_Options->SetVisible(true);
        SetClientWidth(Client_Width);
        P_IP_Address->SetAlign(alTop);
        P_Eth_Search->SetAlign(alTop);
        P_Options->SetAlign(alTop);
        SetClientHeight(P_Title->Height() + P_IP_Address->Height() + P_Options->Height() + P_Button->Height());
        P_Title->SetTabOrder(0);
        P_IP_Address->SetTabOrder(1);
        P_Eth_Search->SetTabOrder(2);
        P_Options->SetTabOrder(3);
        P_Button->SetTabOrder(4);
        P_Serial->SetTabOrder(5);
        QString A, B, C, D;
        if (!Last_IP_Address.isEmpty() && Split_IP_Address(Last_IP_Address, A, B, C, D)) {
            E_IP1->SetText(A);
            E_IP2->SetText(B);
            E_IP3->SetText(C);
            E_IP4->SetText(D);
        }
        Restore_Options();
        if (E_IP1->CanFocus()) E_IP1->SetFocus();
    } else if (Form_Type == 0) {
        P_Serial->SetVisible(true);
        P_Options->SetVisible(true);
        SetClientWidth(Client_Width);
        P_Serial->SetAlign(alTop);
        P_Options->SetAlign(alTop);
        SetClientHeight(P_Title->Height() + P_Serial->Height() + P_Options->Height() + P_Button->Height());
        P_Title->SetTabOrder(0);
        P_Serial->SetTabOrder(1);
        P_Options->SetTabOrder(2);
        P_Button->SetTabOrder(3);
        P_IP_Address->SetTabOrder(4);
        P_Eth_Search->SetTabOrder(5);
        Restore_Options();
        update_ComPort();
        if (CB_COM_Port->CanFocus()) CB_COM_Port->SetFocus();
    }
}

void TFBoot::Set_Lang() {
    if (Form_Type == 0) {
        SetCaption(Lang[1200]);
        L_SW_Desc->SetCaption(Lang[1201]);
    } else if (Form_Type == 1) {
        SetCaption(Lang[1202]);
        L_SW_Desc->SetCaption(Lang[1203]);
    }
    L_IP_Address->SetCaption(Lang[1206]);
    L_List_Device->SetCaption(Lang[1209]);
    Btn_Search->SetCaption(Lang[1210]);
    Btn_Search->SetHint(Lang[1229]);
    ACG_List_Devices->Columns()->Items(0)->SetHeader(Lang[1211]);
    ACG_List_Devices->Columns()->Items(1)->SetHeader(Lang[1212]);
    ACG_List_Devices->SetHint(Lang[1230]);
    CB_Find_All_Velmora->SetCaption(Lang[1213]);
    CB_Find_All_Velmora->SetHint(Lang[1231]);
    L_Update_Option->SetCaption(Lang[1214]);
    CB_Update_Options->Items()->Clear();
    CB_Update_Options->Items()->Add(Lang[1215]);
    CB_Update_Options->Items()->Add(Lang[1216]);
    CB_Update_Options->Items()->Add(Lang[1217]);
    CB_Update_Options->SetItemIndex(0);
    CB_Update_Options->SetHint(Lang[1232]);
    CB_Update_Option_Read_Back->SetCaption(Lang[1218]);
    CB_Update_Option_Read_Back->SetHint(Lang[1233]);
    Btn_Cancel->SetCaption(Lang[1219]);
    Btn_Cancel->SetHint(Lang[1234]);
    Btn_Update->SetCaption(Lang[1220]);
    Btn_Update->SetHint(Lang[1235]);
    E_IP1->SetHint(Lang[1221]);
    E_IP2->SetHint(Lang[1222]);
    E_IP3->SetHint(Lang[1223]);
    E_IP4->SetHint(Lang[1224]);
}

void TFBoot::KeyPress(TObject* Sender, QChar& Key) {
    if (Key != u'.') return;
    TEdit* Next = Sender == E_IP1 ? E_IP2 : Sender == E_IP2 ? E_IP3 : Sender == E_IP3 ? E_IP4 : nullptr;
    if (Next && Next->CanFocus()) Next->SetFocus();
    Key = QChar();
}

QString TFBoot::IP_Address_Text() const {
    return E_IP1->Text() + "." + E_IP2->Text() + "." + E_IP3->Text() + "." + E_IP4->Text();
}

void TFBoot::PingReply(TObject* Sender, const TEchoReplyStatus& AReplyStatus) {
    (void)Sender;
    ping_res = AReplyStatus.BytesReceived > 0 ? 1 : 2;
}

bool TFBoot::Send_Ping() {
    try {
        ping_res = 0;
        const uint64_t Start = Clock().TickCount();
        Ping->Host = IP_Address_Text();
        int Replies = 0;
        do {
            const uint64_t Sent = Clock().TickCount();
            Ping->Ping(0);
            do {
                Clock().Sleep(Ping_Step_Ms);
                Process_Pending_Paint();
            } while (ping_res == 0 && Clock().TickCount() - Sent <= uint64_t(Ping_Wait_Ms));
            if (ping_res == 1 && ++Replies >= Ping_Replies_Wanted) break;
        } while (Clock().TickCount() - Start <= uint64_t(Ping_Total_Ms));
        return ping_res == 1;
    } catch (const std::exception&) {
        return false;
    }
}

QString TFBoot::Update_Options(const QString& Prefix) {
    return ::Update_Options(Prefix, CB_Update_Options->ItemIndex(), CB_Update_Option_Read_Back->Checked());
}

void TFBoot::Compile_XML_Parameter_New_Boot() {
    Write_Parameter_File(XML1, TBootParams::From_Globals(IP_Address_Text()));
}

void TFBoot::Btn_UpdateClick(TObject* Sender) {
    (void)Sender;
    if (Form_Type == 1) {
        if (!Send_Ping()) {
            if (ping_res == 2)
                WarningBox(Lang[1236]);
            else
                ErrorBox(Lang[1237]);
            return;
        }
        Last_IP_Address = IP_Address_Text();
        Update_Option_Index = CB_Update_Options->ItemIndex();
        Update_Read_Back = CB_Update_Option_Read_Back->Checked();
        // The updater takes its orders from the parameter file; the command text is composed
        // for the updaters that read a command line and is not passed on.
        [[maybe_unused]] const QString Command = Update_Options(IP_Address_Text() + " 2007 ");
        Compile_XML_Parameter_New_Boot();
        const QString Updater = App_Dir() + "Ethernet_Update.exe";
        const TWaitResult R = OnStart_Program ? OnStart_Program(Updater, QString(), false)
                                              : Boot_Start_Program(Updater, QString(), false);
        // The dialog stays open either way; only an updater that never ran is worth a word,
        // since the device was not updated.
        if (R == TWaitResult::NotStarted)
            ErrorBox(QString("The updater \"%1\" could not be started. The device was not updated.").arg(Updater));
    } else if (Form_Type == 0) {
        Update_Option_Index = CB_Update_Options->ItemIndex();
        Update_Read_Back = CB_Update_Option_Read_Back->Checked();
        [[maybe_unused]] const QString Command = Update_Options("\\\\.\\" + CB_COM_Port->Text() + " ");
    }
}

void TFBoot::update_ComPort() {
    const std::unique_ptr<TStringList> Ports = Get_COM_Ports();
    CB_COM_Port->Items()->Clear();
    for (int i = 0; i < Ports->Count(); ++i) CB_COM_Port->Items()->Add("COM" + Ports->Strings(i));
    CB_COM_Port->SetItemIndex(Ports->Count() > 0 ? 0 : -1);
}

void TFBoot::Btn_COM_ListClick(TObject* Sender) {
    (void)Sender;
    update_ComPort();
}

int TFBoot::Get_Type_Dev() {
    // Nothing in the file decides the type yet; a file that cannot be read changes nothing.
    if (FileExists(File_ParGen)) {
        try {
            XML1.SetActive(true);
            XML1.LoadFromFile(File_ParGen);
        } catch (const Exception&) {}
    }
    return 0;
}
