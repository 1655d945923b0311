#include "app/UTessaroFirmWare.h"

#include "app/UAbout.h"
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UNew_Project.h"
#include "app/UOpenConf.h"
#include "app/UParGen.h"
#include "app/USettings.h"
#include "app/USoftOptions.h"
#include "app/USoftOptions_Version.h"
#include "app/UWindow_Look.h"
#include "gateway/UBoot.h"
#include "gateway/UEds.h"
#include "gateway/UOPC_UA_Server_Access.h"
#include "gateway/USaveBincc.h"
#include "gateway/USet_PDO_Access.h"
#include "gateway/USet_SDO_Client_Access.h"
#include "gateway/USet_SDO_Server_Access.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Files.h"
#include "platform/shell/Shell.h"

TFTessaroFirmWare* FTessaroFirmWare = nullptr;

namespace {

constexpr TColor Button_Down_Color = TColor(33023);
constexpr TColor Hot_Yellow = TColor(0x00FFFF);
constexpr TColor Hot_Sky_Blue = TColor(0xF0CAA6);
constexpr TColor Button_Font_Color = TColor(3355443);
constexpr TColor Label_Grey = TColor(0x808080);

// The pictures of the window's buttons, drawn here: a strip of two cells (normal, disabled) on
// the button's transparent colour.
enum class TGlyph { Info, Options, Close, Step };

void Paint_Glyph_Cell(TCanvas* C, TGlyph Kind, int X0, int Size, bool Disabled) {
    auto pick = [Disabled](TColor Normal) { return Disabled ? TColor(0xA0A0A0) : Normal; };
    const int m = Size / 8;
    const TRect R = Rect(X0 + m, m, X0 + Size - m, Size - m);
    C->Pen()->SetWidth(1);
    switch (Kind) {
        case TGlyph::Info:
        case TGlyph::Close:
        case TGlyph::Options: {
            const TColor fill = Kind == TGlyph::Info ? pick(TColor(0xB0703A))
                : Kind == TGlyph::Close              ? pick(TColor(0x3838C8))
                                                     : pick(TColor(0x707070));
            C->Brush()->SetColor(fill);
            C->Pen()->SetColor(fill);
            C->Ellipse(R);
            C->Brush()->SetColor(clWhite);
            C->Pen()->SetColor(clWhite);
            const int cx = (R.Left + R.Right) / 2;
            const int cy = (R.Top + R.Bottom) / 2;
            const int u = std::max(1, Size / 16);
            if (Kind == TGlyph::Info) {
                C->FillRect(Rect(cx - u, R.Top + 2 * u, cx + u + 1, R.Top + 4 * u));
                C->FillRect(Rect(cx - u, R.Top + 6 * u, cx + u + 1, R.Bottom - 2 * u));
            } else if (Kind == TGlyph::Close) {
                C->Pen()->SetWidth(std::max(2, 3 * u / 2));
                const int d = (R.Right - R.Left) / 4;
                C->MoveTo(cx - d, cy - d);
                C->LineTo(cx + d, cy + d);
                C->MoveTo(cx + d, cy - d);
                C->LineTo(cx - d, cy + d);
            } else {
                // three sliders: the options
                const int w = (R.Right - R.Left) / 2;
                for (int i = -1; i <= 1; ++i) {
                    const int y = cy + i * 4 * u;
                    C->FillRect(Rect(cx - w / 2 - u, y, cx + w / 2 + u, y + u));
                    const int k = cx + i * w / 4;
                    C->FillRect(Rect(k - u, y - u, k + u + 1, y + 2 * u));
                }
            }
            break;
        }
        case TGlyph::Step: {
            const TColor fill = pick(TColor(0x2E8B57));
            C->Brush()->SetColor(fill);
            C->Pen()->SetColor(fill);
            C->Polygon({Point(R.Left + m, R.Top), Point(R.Right - 1, (R.Top + R.Bottom) / 2),
                        Point(R.Left + m, R.Bottom - 1)});
            break;
        }
    }
}

void Set_Glyph(TLbButton* Button, TGlyph Kind, int Size) {
    TBitmap strip(2 * Size, Size);
    TCanvas* C = strip.Canvas();
    C->Brush()->SetColor(LbTransparentColor);
    C->FillRect(Rect(0, 0, 2 * Size, Size));
    Paint_Glyph_Cell(C, Kind, 0, Size, false);
    Paint_Glyph_Cell(C, Kind, Size, Size, true);
    Button->SetGlyph(&strip);
    Button->SetNumGlyphs(2);
}

} // namespace

TFTessaroFirmWare::TFTessaroFirmWare(TComponent* AOwner) : TForm(AOwner), XML1(std::make_unique<TXMLDocument>()) {}

TFTessaroFirmWare::~TFTessaroFirmWare() {
    if (FTessaroFirmWare == this) FTessaroFirmWare = nullptr;
}

TLbButton* TFTessaroFirmWare::Make_Step_Button(const QString& Name) {
    TLbButton* b = Create<TLbButton>(this, this);
    b->SetName(Name);
    b->SetBounds(0, 0, 170, 36);
    b->SetAlignment(taLeftJustify);
    b->SetStyle(bsEncarta);
    b->SetHotTrackColor(Hot_Yellow);
    Set_Glyph(b, TGlyph::Step, 16);
    return b;
}

void TFTessaroFirmWare::CreateComponents() {
    SetName("FTessaroFirmWare");
    Apply_Window_Look(this);
    SetScaled(false);
    SetShowHint(true);

    auto label = [this](const QString& Name, bool Bold) {
        TLabel* l = Create<TLabel>(this, this);
        l->SetName(Name);
        l->Font()->SetColor(Label_Grey);
        if (Bold) l->Font()->SetStyle({fsBold});
        l->SetTransparent(true);
        return l;
    };

    L_SW_Code = label("L_SW_Code", false);
    L_SW_Code->Font()->SetHeight(-32);
    L_SW_Desc = label("L_SW_Desc", true);
    LL_Update = Create<TLinkLabel>(this, this);
    LL_Update->SetName("LL_Update");
    LL_Update->SetBounds(208, 19, 280, 16);
    LL_Update->SetVisible(false);
    LL_Update->OnLinkClick = [this](TObject* S, const QString& Link, TSysLinkType T) {
        LL_UpdateLinkClick(S, Link, T);
    };

    auto corner = [this](const QString& Name, TGlyph Kind) {
        TLbButton* b = Create<TLbButton>(this, this);
        b->SetName(Name);
        b->SetBounds(0, 0, 50, 50);
        b->SetStyle(bsNormal);
        b->SetHotTrackColor(Hot_Yellow);
        b->Font()->SetColor(Button_Font_Color);
        Set_Glyph(b, Kind, 32);
        return b;
    };
    Btn_Info = corner("Btn_Info", TGlyph::Info);
    Btn_Opz = corner("Btn_Opz", TGlyph::Options);
    Btn_Close = corner("Btn_Close", TGlyph::Close);

    Timer_Update = Create<TTimer>(this);
    Timer_Update->SetName("Timer_Update");
    Timer_Update->SetEnabled(false);
    Timer_Update->SetInterval(Update_First_Interval_Ms);
    Timer_Update->OnTimer = [this](TObject* S) { Timer_UpdateTimer(S); };

    SD1 = Create<TSaveDialog>(this);
    SD1->SetName("SD1");
    SD1->SetFilter("CSV (MS-DOS) (*.csv)|*.csv");

    L_Name_Conf = label("L_Name_Conf", false);
    L_Name_Conf_L2 = label("L_Name_Conf_L2", false);
    Shape2 = Create<TShape>(this, this);
    Shape2->SetName("Shape2");
    Shape2->SetBounds(0, 0, 348, 36);
    Shape2->Brush()->SetStyle(bsClear);
    Shape2->Pen()->SetColor(Label_Grey);

    L_Begin = label("L_Begin", true);
    TLabel** steps[] = {&L_Step_1, &L_Step_2, &L_Step_3, &L_Step_4, &L_Step_5, &L_Step_6, &L_Step_7, &L_Step_8};
    for (int i = 0; i < 8; ++i) *steps[i] = label(QString("L_Step_%1").arg(i + 1), true);
    Shape1 = Create<TShape>(this, this);
    Shape1->SetName("Shape1");
    Shape1->Pen()->SetColor(Label_Grey);
    L_Velmora = label("L_Velmora", true);
    L_Velmora->SetCaption(Maker_Web_Address);
    L_Velmora->SetCursor(crHandPoint);
    L_Velmora->OnClick = [this](TObject* S) { L_VelmoraClick(S); };

    Btn_New = Make_Step_Button("Btn_New");
    Btn_Open = Make_Step_Button("Btn_Open");
    Btn_Prm_Gen = Make_Step_Button("Btn_Prm_Gen");
    Btn_CreateBin = Make_Step_Button("Btn_CreateBin");
    Btn_OPC_UA_Server_Access = Make_Step_Button("Btn_OPC_UA_Server_Access");
    Btn_BACnet_EDE_File = Make_Step_Button("Btn_BACnet_EDE_File");
    Btn_Modbus_Set_Access = Make_Step_Button("Btn_Modbus_Set_Access");
    Btn_BACnet_SetAccess = Make_Step_Button("Btn_BACnet_SetAccess");
    Btn_CAN_Rec_Frame = Make_Step_Button("Btn_CAN_Rec_Frame");
    Btn_CAN_Send_Frame = Make_Step_Button("Btn_CAN_Send_Frame");
    Btn_SDO_Server_CANopen = Make_Step_Button("Btn_SDO_Server_CANopen");
    Btn_SDO_Client_CANopen = Make_Step_Button("Btn_SDO_Client_CANopen");
    Btn_PDO_CANopen = Make_Step_Button("Btn_PDO_CANopen");
    Btn_CANopen_EDS = Make_Step_Button("Btn_CANopen_EDS");
    Btn_DNet_Net = Make_Step_Button("Btn_DNet_Net");
    Btn_DNet_Offset = Make_Step_Button("Btn_DNet_Offset");
    Btn_DMX_Default = Make_Step_Button("Btn_DMX_Default");
    Btn_KNX_Access = Make_Step_Button("Btn_KNX_Access");
    Btn_MQTT_Set_Topic = Make_Step_Button("Btn_MQTT_Set_Topic");
    Btn_SNMP_Trap = Make_Step_Button("Btn_SNMP_Trap");
    Btn_SNMP_Manager_Access = Make_Step_Button("Btn_SNMP_Manager_Access");
    Btn_SNMP_MIB = Make_Step_Button("Btn_SNMP_MIB");
    Btn_PROFINET_XML = Make_Step_Button("Btn_PROFINET_XML");
    Btn_EtherNetIP_Access = Make_Step_Button("Btn_EtherNetIP_Access");

    // The main-parameters step is drawn like the corner buttons.
    Btn_Prm_Gen->SetStyle(bsNormal);
    Btn_Prm_Gen->Font()->SetColor(Button_Font_Color);
    for (TLbButton* b : {Btn_New, Btn_Open, Btn_CreateBin}) b->SetHotTrackColor(Hot_Sky_Blue);

    for (TLbButton* b : {Btn_Info,
                         Btn_Opz,
                         Btn_Close,
                         Btn_New,
                         Btn_Open,
                         Btn_Prm_Gen,
                         Btn_CreateBin,
                         Btn_OPC_UA_Server_Access,
                         Btn_BACnet_EDE_File,
                         Btn_Modbus_Set_Access,
                         Btn_BACnet_SetAccess,
                         Btn_CAN_Rec_Frame,
                         Btn_CAN_Send_Frame,
                         Btn_SDO_Server_CANopen,
                         Btn_SDO_Client_CANopen,
                         Btn_PDO_CANopen,
                         Btn_CANopen_EDS,
                         Btn_DNet_Net,
                         Btn_DNet_Offset,
                         Btn_DMX_Default,
                         Btn_KNX_Access,
                         Btn_MQTT_Set_Topic,
                         Btn_SNMP_Trap,
                         Btn_SNMP_Manager_Access,
                         Btn_SNMP_MIB,
                         Btn_PROFINET_XML,
                         Btn_EtherNetIP_Access}) {
        b->SetColor(Window_Color);
        b->SetColorWhenDown(Button_Down_Color);
        b->OnClick = [this](TObject* S) { Btn_Click(S); };
    }

    SaveEDS = Create<TSaveDialog>(this);
    SaveEDS->SetName("SaveEDS");
    SaveEDS->SetDefaultExt("*.eds");
    SaveEDS->SetFilter("Electronic Data Sheet (*.eds)|*.eds");
    SaveMIB = Create<TSaveDialog>(this);
    SaveMIB->SetName("SaveMIB");
    SaveMIB->SetDefaultExt("*.mib");
    SaveMIB->SetFilter("Management Information Base (*.mib)|*.mib");

    OnClose = [this](TObject* S, TCloseAction& A) { FormClose(S, A); };
}

void TFTessaroFirmWare::FormCreate(TObject*) {
    if (!FTessaroFirmWare) FTessaroFirmWare = this;

    // The language table starts empty.
    Reset_Language();

    // Layout: the protocol's steps are shown, every other protocol's step stays hidden.
    struct TPlace {
        TControl* Control;
        int Left, Top;
    };
    const TPlace shown[] = {
        {L_SW_Code, 16, 8},
        {L_SW_Desc, 16, 42},
        {L_Begin, 16, 84},
        {Shape2, 80, 70},
        {L_Name_Conf, 87, 75},
        {L_Name_Conf_L2, 87, 88},
        {Btn_Info, 516, 8},
        {Btn_Opz, 574, 8},
        {Btn_Close, 632, 8},
        {L_Step_1, 16, 128},
        {L_Step_2, 16, 172},
        {L_Step_3, 16, 216},
        {L_Step_4, 16, 260},
        {L_Step_5, 16, 304},
        {L_Step_6, 16, 348},
        {L_Step_7, 16, 392},
        {L_Step_8, 16, 436},
        {L_Velmora, 565, 436},
        {Btn_New, 80, 112},
        {Btn_Open, 258, 112},
        {Btn_Prm_Gen, 80, 156},
        {Btn_OPC_UA_Server_Access, 80, 200},
        {Btn_SDO_Server_CANopen, 80, 244},
        {Btn_SDO_Client_CANopen, 80, 288},
        {Btn_PDO_CANopen, 80, 332},
        {Btn_CANopen_EDS, 80, 376},
        {Btn_CreateBin, 80, 420},
    };
    for (TLbButton* b :
         {Btn_BACnet_EDE_File, Btn_Modbus_Set_Access, Btn_BACnet_SetAccess, Btn_CAN_Rec_Frame, Btn_CAN_Send_Frame,
          Btn_DNet_Net, Btn_DNet_Offset, Btn_DMX_Default, Btn_KNX_Access, Btn_MQTT_Set_Topic, Btn_SNMP_Trap,
          Btn_SNMP_Manager_Access, Btn_SNMP_MIB, Btn_PROFINET_XML, Btn_EtherNetIP_Access})
        b->SetVisible(false);
    for (const TPlace& p : shown) {
        p.Control->SetLeft(p.Left);
        p.Control->SetTop(p.Top);
        p.Control->SetVisible(true);
    }
    // The two lines naming the project stay inside their frame: a name longer than the frame
    // ends in "..." (as a longer translation of the first line does).
    for (TLabel* l : {L_Name_Conf, L_Name_Conf_L2}) {
        TBitmap measure(1, 1);
        measure.Canvas()->Font()->Assign(l->Font());
        const int margin = l->Left() - Shape2->Left();
        l->SetAutoSize(false);
        l->SetEllipsisPosition(epEndEllipsis);
        l->SetBounds(l->Left(), l->Top(), Shape2->Width() - 2 * margin, measure.Canvas()->TextHeight("Ag"));
    }
    Shape1->SetBounds(10, Btn_CreateBin->Top() + 51, 674, 1);
    SetClientWidth(694);
    SetClientHeight(Btn_CreateBin->Top() + 152);

    // The folders beside the executable.
    Prepare_App_Folders();

    // No project until the settings name one that is still there.
    Project_Name.clear();
    Update_Read_Back = true;

    // Settings, then the version query's timer they switch.
    Read_Setting();
    Timer_Update->SetEnabled(Opt_Enable_Internet && Opt_Enable_Update);

    // Identity.
    App_Title = Const_App_Title;
    SW_Code = Const_SW_Code;
    SW_Desc = Const_SW_Desc;
    SetCaption(App_Title);
    L_SW_Code->SetCaption(SW_Code);
    L_SW_Desc->SetCaption(SW_Desc);

    // Language. A language file that is there but cannot be read is reported, and the program
    // goes on in English as for a missing file: every window needs its texts.
    try {
        Load_Language();
    } catch (const std::exception& E) {
        // As without the file: English, with "English.lng" over it when that one reads.
        Lang_Name = Default_Lang_Name;
        try {
            Load_Language();
        } catch (const std::exception&) {
            Load_English_Strings();
        }
        Application->ShowException(E);
    }

    // The project of the last run, when its folder is still there. Only a name that stays inside
    // the projects folder is taken (the rule the project dialogs follow): a settings file edited
    // by hand must not point the editors at files elsewhere.
    if (Is_Valid_Project_Name(Project_Name) && DirectoryExists(Projects_Dir + "/" + Project_Name)) {
        Project_Dir = Projects_Dir + "/" + Project_Name;
    } else {
        Project_Name.clear();
        Project_Dir.clear();
    }
    Show_Project_Labels();

    Set_Lang();
    Set_Files();

    // The shared lists start empty.
    Create_Shared_Lists();
}

void TFTessaroFirmWare::Read_Setting() {
    try {
        Load_Settings(*XML1);
    } catch (const std::exception& E) {
        // A damaged settings file is reported, and the program goes on as on a first start
        // (the values are at their defaults): every other window needs the language, the
        // paths and the shared lists prepared below.
        Application->ShowException(E);
    }
}

void TFTessaroFirmWare::Save_Setting() { Save_Settings(*XML1); }

void TFTessaroFirmWare::Show_Project_Labels() {
    if (!Project_Name.isEmpty()) {
        L_Name_Conf->SetCaption(Lang[11]);
        L_Name_Conf_L2->SetCaption(Project_Name);
    } else {
        L_Name_Conf->SetCaption(Lang[9]);
        L_Name_Conf_L2->SetCaption(Lang[10]);
    }
}

void TFTessaroFirmWare::Set_Lang() {
    L_Begin->SetCaption(Lang[0]);
    TLabel* steps[] = {L_Step_1, L_Step_2, L_Step_3, L_Step_4, L_Step_5, L_Step_6, L_Step_7, L_Step_8};
    for (int i = 0; i < 8; ++i) steps[i]->SetCaption(Lang[i + 1]);
    Btn_Info->SetHint(Lang[12]);
    Btn_Opz->SetHint(Lang[13]);
    Btn_Close->SetHint(Lang[14]);
    Btn_New->SetCaption(Lang[15]);
    Btn_Open->SetCaption(Lang[16]);
    Btn_CreateBin->SetCaption(Lang[17]);
    Btn_Prm_Gen->SetCaption(Lang[20]);
    Btn_OPC_UA_Server_Access->SetCaption(Lang[21]);
    Show_Project_Labels();
    Btn_New->SetHint(Lang[22]);
    Btn_Open->SetHint(Lang[23]);
    Btn_Prm_Gen->SetHint(Lang[24]);
    Btn_OPC_UA_Server_Access->SetHint(Lang[25]);
    Btn_CreateBin->SetHint(Lang[26]);
    Btn_Modbus_Set_Access->SetCaption(Lang[27]);
    Btn_Modbus_Set_Access->SetHint(Lang[28]);
    Btn_CAN_Rec_Frame->SetCaption(Lang[29]);
    Btn_CAN_Send_Frame->SetCaption(Lang[30]);
    Btn_CAN_Rec_Frame->SetHint(Lang[31]);
    Btn_CAN_Send_Frame->SetHint(Lang[32]);
    // Caption and hint pairs, from text 37 on.
    struct TPair {
        TLbButton* Button;
        int Text;
    };
    const TPair pairs[] = {
        {Btn_SDO_Server_CANopen, 37},  {Btn_SDO_Client_CANopen, 39}, {Btn_PDO_CANopen, 41},
        {Btn_CANopen_EDS, 43},         {Btn_DNet_Net, 45},           {Btn_DNet_Offset, 47},
        {Btn_DMX_Default, 49},         {Btn_KNX_Access, 51},         {Btn_MQTT_Set_Topic, 53},
        {Btn_PROFINET_XML, 55},        {Btn_SNMP_Trap, 57},          {Btn_SNMP_MIB, 59},
        {Btn_SNMP_Manager_Access, 61}, {Btn_BACnet_SetAccess, 63},   {Btn_BACnet_EDE_File, 65},
        {Btn_EtherNetIP_Access, 67},
    };
    for (const TPair& p : pairs) {
        p.Button->SetCaption(Lang[p.Text]);
        p.Button->SetHint(Lang[p.Text + 1]);
    }
}

void TFTessaroFirmWare::Set_Files() { ::Set_Files(); }

void TFTessaroFirmWare::Btn_Click(TObject* Sender) {
    if (Sender == Btn_New) {
        Create_New_Project();
        return;
    }
    if (Sender == Btn_Open) {
        Open_Project();
        return;
    }
    if (Sender == Btn_Close) {
        Close();
        return;
    }
    if (Sender == Btn_Info) {
        FAbout->ShowModal();
        return;
    }
    if (Sender == Btn_Opz) {
        FSoftOptions->Change_Language = [this] { Change_Language(); };
        FSoftOptions->Timer_Update = Timer_Update;
        if (FSoftOptions->ShowModal() == mrOk) {
            Save_Setting();
            Timer_Update->SetEnabled(Opt_Enable_Internet && Opt_Enable_Update);
        }
        return;
    }
    if (Project_Dir.isEmpty()) {
        MessageDlg(Lang[18], mtError, {mbOK});
        return;
    }
    if (Sender == Btn_Prm_Gen) {
        FParGen->ShowModal();
        return;
    }
    // The table editors' results are not looked at: each has saved its own file, or not.
    if (Sender == Btn_OPC_UA_Server_Access) {
        FOPC_UA_Server_Access->ShowModal();
        return;
    }
    if (Sender == Btn_PDO_CANopen) {
        FSet_PDO_Access->ShowModal();
        return;
    }
    if (Sender == Btn_SDO_Client_CANopen) {
        FSet_SDO_Client_Access->ShowModal();
        return;
    }
    if (Sender == Btn_SDO_Server_CANopen) {
        FSet_SDO_Server_Access->ShowModal();
        return;
    }
    if (Sender == Btn_BACnet_EDE_File) {
        BACnet_EDE_File();
        return;
    }
    if (Sender == Btn_CANopen_EDS) {
        Build_EDS_File();
        return;
    }
    if (Sender == Btn_PROFINET_XML) {
        PROFINET_XML();
        return;
    }
    if (Sender == Btn_CreateBin) {
        Update_Device();
        return;
    }
    // Every other button of the window is disabled or hidden (README, "What it does not do").
}

void TFTessaroFirmWare::Create_New_Project() {
    // On OK the dialog has made the project the open one, its file paths included.
    if (FNew_Project->ShowModal() != mrOk) return;
    L_Name_Conf->SetCaption(Lang[11]);
    L_Name_Conf_L2->SetCaption(Project_Name);
}

void TFTessaroFirmWare::Open_Project() {
    if (FOpenConf->ShowModal() != mrOk) return;
    Project_Name = FOpenConf->Name_Conf;
    Project_Dir = Project_Name.isEmpty() ? QString() : Projects_Dir + "/" + Project_Name;
    Show_Project_Labels();
    Set_Files();
}

void TFTessaroFirmWare::Update_Device() {
    // A failed build stops here, before the images are written or the dialog opens.
    Compile_Bin();
    Write_Bin_Files();
    FBoot->Form_Type = 1;
    FBoot->OnStart_Program = [this](const QString& NomeSW, const QString& Parameter, bool tipo) {
        return Start_Program(NomeSW, Parameter, tipo ? 1 : 0);
    };
    FBoot->ShowModal();
}

void TFTessaroFirmWare::Build_EDS_File() {
    // The name chosen last time is another project's file: kept, it would open the dialog in that
    // project's folder with the file selected, and Enter would overwrite it.
    SaveEDS->SetFileName(QString());
    SaveEDS->SetInitialDir(Project_Dir);
    if (SaveEDS->Execute()) Build_EDS(SaveEDS->FileName());
}

void TFTessaroFirmWare::BACnet_EDE_File() {
    SD1->SetFileName(QString());
    SD1->SetInitialDir(Project_Dir);
    if (!SD1->Execute()) return;
    QString name = SD1->FileName();
    if (name.right(4).toUpper() != ".CSV") name += ".csv";
    if (FileExists(name) && MessageDlg(Lang[1303], mtConfirmation, mbYesNoCancel) != mrYes) return;
    // The EDE file itself is the BACnet editors' to write (README, "What it does not do").
}

void TFTessaroFirmWare::PROFINET_XML() {
    // The GSDML file is the PROFINET editor's to name and write (README, "What it does not do").
}

int TFTessaroFirmWare::Get_Type_BACnet() {
    if (!FileExists(File_ParGen)) return 0;
    try {
        XML1->LoadFromFile(File_ParGen);
        return StrToIntDef(XML1->DocumentElement().FindNode("BACnet_Type").Text(), 0);
    } catch (const std::exception&) {
        return 0;
    }
}

TWaitResult TFTessaroFirmWare::Start_Program(const QString& NomeSW, const QString& Parameter, uint8_t tipo) {
    const TWaitResult Result =
        StartAndWait(NomeSW, Parameter, tipo != 0, Start_Program_Limit_Ms, Start_Program_Poll_Ms);
    // The wait ends as it goes on: with one more pause, also after the program has ended.
    if (Result == TWaitResult::Ended) Clock().Sleep(Start_Program_Poll_Ms);
    return Result;
}

void TFTessaroFirmWare::Change_Language() {
    Set_Lang();
    // A window whose creation failed at start is left out rather than taking the rest down.
    if (FNew_Project) FNew_Project->Set_Lang();
    if (FOpenConf) FOpenConf->Set_Lang();
    if (FSoftOptions) FSoftOptions->Set_Lang();
    if (FBoot) FBoot->Set_Lang();
    if (FParGen) FParGen->Set_Lang();
    if (FOPC_UA_Server_Access) FOPC_UA_Server_Access->Set_Lang();
    if (FSet_PDO_Access) FSet_PDO_Access->Set_Lang();
    if (FSet_SDO_Client_Access) FSet_SDO_Client_Access->Set_Lang();
    if (FSet_SDO_Server_Access) FSet_SDO_Server_Access->Set_Lang();
}

void TFTessaroFirmWare::FormClose(TObject* Sender, TCloseAction&) {
    // A settings file that cannot be written (its folder gone or read-only) is reported, and the
    // window closes all the same: otherwise every try to close would fail the same way.
    try {
        Save_Setting();
    } catch (const std::exception& E) {
        Application->HandleException(Sender, E);
    }
}

void TFTessaroFirmWare::Timer_UpdateTimer(TObject*) {
    Timer_Update->SetEnabled(false);
    if (Check_Version()) {
        LL_Update->SetCaption(Update_Link_Caption(Lang[19]));
        LL_Update->SetVisible(true);
    } else {
        LL_Update->SetVisible(false);
    }
    Timer_Update->SetInterval(Update_Interval_Ms);
    Timer_Update->SetEnabled(true);
}

void TFTessaroFirmWare::LL_UpdateLinkClick(TObject*, const QString& Link, TSysLinkType) { OpenLink(Link); }

void TFTessaroFirmWare::L_VelmoraClick(TObject*) { OpenLink(Home_Page_URL()); }
