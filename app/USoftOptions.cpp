#include "app/USoftOptions.h"

#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/USoftOptions_Version.h"
#include "app/UWindow_Look.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Files.h"
#include "platform/shell/Shell.h"

#include <QDir>
#include <QFileInfo>

TFSoftOptions* FSoftOptions = nullptr;

namespace {

constexpr int Slots_Per_Page = 6;

// The language files the dialog offers: "<name>.lng" files that are plain, writable files.
// Read-only files are left out, as are names the language loader would not find (it looks for
// exactly "<name>.lng").
bool Is_Offered_Language_File(const QFileInfo& Info) {
    if (!Info.isFile() || Info.isSymLink()) return false;
    if (!Info.fileName().endsWith(QLatin1String(".lng")) || Info.fileName().length() <= 4) return false;
    // The owner's write bit is the file's read-only attribute, whoever runs the program.
    return Info.permissions().testFlag(QFileDevice::WriteOwner);
}

// The picture right of the caption of the Next button: a small arrow pointing right, on the
// button's transparent colour.
void Draw_Next_Arrow(TBitmap& Glyph) {
    Glyph.SetSize(12, 12);
    TCanvas* C = Glyph.Canvas();
    C->Brush()->SetColor(LbTransparentColor);
    C->FillRect(Rect(0, 0, 12, 12));
    C->Pen()->SetColor(TColor(3355443));
    C->Brush()->SetColor(TColor(3355443));
    C->Polygon({Point(3, 2), Point(9, 6), Point(3, 10)});
}

} // namespace

TFSoftOptions::TFSoftOptions(TComponent* AOwner) : TForm(AOwner) {}

TFSoftOptions::~TFSoftOptions() = default;

void TFSoftOptions::CreateComponents() {
    Apply_Window_Look(this);
    SetClientWidth(509);
    SetClientHeight(373);

    Create_Title_Panel(this, P_Title, L_SW_Code, L_SW_Desc);

    P_Buttons = Create_Button_Panel(this);
    Btn_OK = Create_Dialog_Button(this, P_Buttons, "Btn_OK", 16);
    Btn_OK->OnClick = [this](TObject* Sender) { Btn_OKClick(Sender); };
    Btn_Cancel = Create_Dialog_Button(this, P_Buttons, "Btn_Cancel", 134);
    Btn_Cancel->SetModalResult(mrCancel);

    // Pages.
    PC_Options = Create<TPageControl>(this, this);
    PC_Options->SetName("PC_Options");
    PC_Options->SetAlign(alClient);
    TS_Language = Create<TTabSheet>(this);
    TS_Language->SetName("TS_Language");
    TS_Language->SetPageControl(PC_Options);
    TS_Con_Options = Create<TTabSheet>(this);
    TS_Con_Options->SetName("TS_Con_Options");
    TS_Con_Options->SetPageControl(PC_Options);
    TS_Soft_Settings = Create<TTabSheet>(this);
    TS_Soft_Settings->SetName("TS_Soft_Settings");
    TS_Soft_Settings->SetPageControl(PC_Options);
    for (TTabSheet* Page : {TS_Language, TS_Con_Options, TS_Soft_Settings}) Page->SetColor(Window_Color);

    // Language page.
    L_Sel_Lang = Create<TLabel>(this, TS_Language);
    L_Sel_Lang->SetName("L_Sel_Lang");
    L_Sel_Lang->SetBounds(12, 11, 120, 13);
    L_Page_Lang = Create<TLabel>(this, TS_Language);
    L_Page_Lang->SetName("L_Page_Lang");
    L_Page_Lang->SetBounds(220, 212, 60, 13);
    Btn_Prev = Create<TLbButton>(this, TS_Language);
    Btn_Prev->SetName("Btn_Prev");
    Btn_Prev->SetStyle(bsEncarta);
    Btn_Prev->SetBounds(12, 204, 110, 28);
    Btn_Prev->OnClick = [this](TObject* Sender) { Btn_NextClick(Sender); };
    Btn_Next = Create<TLbButton>(this, TS_Language);
    Btn_Next->SetName("Btn_Next");
    Btn_Next->SetStyle(bsEncarta);
    Btn_Next->SetBounds(379, 205, 110, 28);
    {
        TBitmap Arrow;
        Draw_Next_Arrow(Arrow);
        Btn_Next->SetGlyph(&Arrow);
        Btn_Next->SetNumGlyphs(1);
    }
    Btn_Next->SetLayout(blGlyphRight);
    Btn_Next->OnClick = [this](TObject* Sender) { Btn_NextClick(Sender); };

    static const int Image_Left[Slots_Per_Page] = {24, 26, 24, 254, 254, 254};
    static const int Label_Left[Slots_Per_Page] = {80, 80, 80, 310, 310, 310};
    static const int Image_Top[3] = {40, 94, 148};
    static const int Label_Top[3] = {56, 110, 164};
    TImage** Images[Slots_Per_Page] = {&I_L1, &I_L2, &I_L3, &I_L4, &I_L5, &I_L6};
    TLabel** Labels[Slots_Per_Page] = {&L_L1, &L_L2, &L_L3, &L_L4, &L_L5, &L_L6};
    for (int i = 0; i < Slots_Per_Page; ++i) {
        TImage* Image = Create<TImage>(this, TS_Language);
        Image->SetName(QStringLiteral("I_L%1").arg(i + 1));
        Image->SetBounds(Image_Left[i], Image_Top[i % 3], 48, 48);
        Image->SetStretch(true);
        Image->SetCursor(crHandPoint);
        Image->SetTag(i);
        Image->OnClick = [this](TObject* Sender) { LangClick(Sender); };
        TLabel* Label = Create<TLabel>(this, TS_Language);
        Label->SetName(QStringLiteral("L_L%1").arg(i + 1));
        Label->SetBounds(Label_Left[i], Label_Top[i % 3], 120, 13);
        Label->SetCursor(crHandPoint);
        Label->SetTag(i);
        Label->OnClick = [this](TObject* Sender) { LangClick(Sender); };
        *Images[i] = Image;
        *Labels[i] = Label;
        FImages[i] = Image;
        FLabels[i] = Label;
    }

    // Connection page.
    CB_En_Con = Create<TCheckBox>(this, TS_Con_Options);
    CB_En_Con->SetName("CB_En_Con");
    CB_En_Con->SetBounds(12, 16, 460, 17);
    CB_Update = Create<TCheckBox>(this, TS_Con_Options);
    CB_Update->SetName("CB_Update");
    CB_Update->SetBounds(36, 47, 436, 17);
    Btn_Check_Update = Create<TLbButton>(this, TS_Con_Options);
    Btn_Check_Update->SetName("Btn_Check_Update");
    Btn_Check_Update->SetStyle(bsEncarta);
    Btn_Check_Update->SetBounds(36, 78, 204, 28);
    Btn_Check_Update->OnClick = [this](TObject* Sender) { Btn_Check_UpdateClick(Sender); };
    LL_Check_Update = Create<TLinkLabel>(this, TS_Con_Options);
    LL_Check_Update->SetName("LL_Check_Update");
    LL_Check_Update->SetBounds(40, 120, 300, 13);
    LL_Check_Update->OnLinkClick = [this](TObject* Sender, const QString& Link, TSysLinkType Type) {
        LL_Check_UpdateLinkClick(Sender, Link, Type);
    };

    // Settings page.
    CB_Soft_Set_Jump_Table = Create<TCheckBox>(this, TS_Soft_Settings);
    CB_Soft_Set_Jump_Table->SetName("CB_Soft_Set_Jump_Table");
    CB_Soft_Set_Jump_Table->SetBounds(12, 16, 460, 17);
    CB_DoubleClick_Auto_Size = Create<TCheckBox>(this, TS_Soft_Settings);
    CB_DoubleClick_Auto_Size->SetName("CB_DoubleClick_Auto_Size");
    CB_DoubleClick_Auto_Size->SetBounds(12, 39, 460, 17);

    for (TCheckBox* Box : {CB_En_Con, CB_Update, CB_Soft_Set_Jump_Table, CB_DoubleClick_Auto_Size})
        Box->OnClick = [this](TObject* Sender) { CB_En_ConClick(Sender); };

    Buttons_Last_In_Tab_Order(P_Buttons);
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
}

void TFSoftOptions::FormCreate(TObject* Sender) {
    (void)Sender;
    FLanguages = std::make_unique<TStringList>();
    SL_Languages = FLanguages.get();
    L_SW_Code->SetCaption(SW_Code);
    TS_Con_Options->SetTabVisible(true);
    Set_Lang();
}

void TFSoftOptions::FormShow(TObject* Sender) {
    (void)Sender;
    Language_In_Use = Lang_Name;
    // A flag picture that cannot be loaded is reported, but only once the dialog shows the
    // current options: OK must never store what an earlier showing left in the boxes.
    std::exception_ptr Failure;
    try {
        Create_Lang_List();
    } catch (...) {
        Failure = std::current_exception();
    }
    Update_CheckBox();
    LL_Check_Update->Hide();
    PC_Options->SetActivePage(TS_Language);
    CB_En_Con->SetChecked(Opt_Enable_Internet);
    CB_Update->SetChecked(Opt_Enable_Update);
    CB_Soft_Set_Jump_Table->SetChecked(Opt_Enable_Jump_Field_Tables);
    CB_DoubleClick_Auto_Size->SetChecked(Opt_Double_Click_Auto_Size);
    if (Failure) std::rethrow_exception(Failure);
}

void TFSoftOptions::Set_Lang() {
    SetCaption(Lang[300]);
    L_SW_Desc->SetCaption(Lang[301]);
    TS_Language->SetCaption(Lang[302]);
    TS_Con_Options->SetCaption(Lang[303]);
    TS_Soft_Settings->SetCaption(Lang[319]);
    L_Sel_Lang->SetCaption(Lang[304]);
    L_Page_Lang->SetCaption(Lang[305] + "1" + Lang[306] + "1");
    Btn_Prev->SetCaption(Lang[307]);
    Btn_Next->SetCaption(Lang[308]);
    Btn_Check_Update->SetCaption(Lang[311]);
    Btn_OK->SetCaption(Lang[312]);
    Btn_Cancel->SetCaption(Lang[313]);
    CB_En_Con->SetCaption(Lang[309]);
    CB_Update->SetCaption(Lang[310]);
    CB_Soft_Set_Jump_Table->SetCaption(Lang[320]);
    CB_DoubleClick_Auto_Size->SetCaption(Lang[321]);
}

void TFSoftOptions::Create_Lang_List() {
    SL_Languages->Clear();
    if (!Language_Dir.isEmpty()) {
        const QDir Dir(Language_Dir);
        const QFileInfoList Entries = Dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
        for (const QFileInfo& Info : Entries)
            if (Is_Offered_Language_File(Info)) SL_Languages->Add(Info.fileName());
    }
    SL_Languages->SetCaseSensitive(false);
    SL_Languages->Sort();
    Show_Page = 1;
    Update_Lang_Page(1);
}

int TFSoftOptions::Page_Count() const { return (SL_Languages->Count() + Slots_Per_Page - 1) / Slots_Per_Page; }

QString TFSoftOptions::Page_Text(int Num_Page) const {
    return Lang[305] + IntToStr(Num_Page) + Lang[306] + IntToStr(Page_Count());
}

void TFSoftOptions::Update_Lang_Page(int Num_Page) {
    const int N = SL_Languages->Count();
    const int P = Page_Count();
    L_Sel_Lang->SetCaption(Lang[304] + Language_In_Use);
    L_Page_Lang->SetCaption(Page_Text(Num_Page));
    Btn_Prev->SetVisible(Num_Page != 1);
    // No page after this one (also when there is no language at all): nothing to go to.
    Btn_Next->SetVisible(Num_Page < P);

    const int Shown = std::max(0, std::min(Slots_Per_Page, N - (Num_Page - 1) * Slots_Per_Page));
    for (int i = Shown; i < Slots_Per_Page; ++i) {
        FImages[i]->Hide();
        FLabels[i]->Hide();
    }
    // Every slot is filled before a picture that cannot be loaded is reported.
    std::exception_ptr Failure;
    for (int i = 0; i < Shown; ++i) {
        const QString FileName = SL_Languages->Strings((Num_Page - 1) * Slots_Per_Page + i);
        const QString Name = FileName.left(FileName.length() - 4);
        FLabels[i]->SetCaption(Name);
        FLabels[i]->Show();

        TImage* Image = FImages[i];
        QString Flag = Language_Dir + "/" + Name + ".bmp";
        if (!FileExists(Flag)) Flag = Language_Dir + "/DefaultFlag.bmp";
        if (!FileExists(Flag)) {
            Image->Hide();
            continue;
        }
        try {
            Image->Picture()->LoadFromFile(Flag);
            Image->Show();
        } catch (...) {
            // Not another language's flag from the page shown before.
            Image->Hide();
            if (!Failure) Failure = std::current_exception();
        }
    }
    if (Failure) std::rethrow_exception(Failure);
}

void TFSoftOptions::Btn_NextClick(TObject* Sender) {
    if (Sender == Btn_Next) {
        if (Page_Count() >= Show_Page + 1) ++Show_Page;
    } else if (Sender == Btn_Prev) {
        if (Show_Page - 1 > 0) --Show_Page;
    }
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::LangClick(TObject* Sender) {
    const auto* Control = dynamic_cast<TComponent*>(Sender);
    if (!Control) return;
    const int Slot = int(Control->Tag());
    const int Index = (Show_Page - 1) * Slots_Per_Page + Slot;
    if (Slot < 0 || Slot >= Slots_Per_Page || Index >= SL_Languages->Count()) return;
    const QString FileName = SL_Languages->Strings(Index);
    const QString New_Language = FileName.left(FileName.length() - 4);
    if (!YesNoBox(Lang[316] + Language_In_Use + Lang[317] + New_Language + Lang[318])) return;

    // The table is filled for the new language, but Lang_Name changes only through OK.
    const QString Old_Lang_Name = Lang_Name;
    const QString Old_In_Use = Language_In_Use;
    Lang_Name = New_Language;
    try {
        Load_Language();
    } catch (...) {
        // A language file that cannot be read: the windows keep their texts, so the table
        // goes back to the language they show before the error is reported.
        Lang_Name = Old_In_Use;
        try {
            Load_Language();
        } catch (...) {
            Load_English_Strings();
        }
        Lang_Name = Old_Lang_Name;
        throw;
    }
    Lang_Name = Old_Lang_Name;
    Language_In_Use = New_Language;

    if (Change_Language) Change_Language();
    L_Sel_Lang->SetCaption(Lang[304] + Language_In_Use);
    // Set_Lang put the page label back to its first page; it names the page still shown.
    L_Page_Lang->SetCaption(Page_Text(Show_Page));
}

void TFSoftOptions::Update_CheckBox() {
    CB_Update->SetEnabled(CB_En_Con->Checked());
    Btn_Check_Update->SetEnabled(CB_Update->Enabled() && CB_Update->Checked());
}

void TFSoftOptions::CB_En_ConClick(TObject* Sender) {
    (void)Sender;
    Update_CheckBox();
}

void TFSoftOptions::Btn_OKClick(TObject* Sender) {
    (void)Sender;
    Lang_Name = Language_In_Use;
    Opt_Enable_Internet = CB_En_Con->Checked();
    Opt_Enable_Update = CB_Update->Checked();
    if (Timer_Update) Timer_Update->SetEnabled(Opt_Enable_Internet && Opt_Enable_Update);
    Opt_Enable_Jump_Field_Tables = CB_Soft_Set_Jump_Table->Checked();
    Opt_Double_Click_Auto_Size = CB_DoubleClick_Auto_Size->Checked();
    SetModalResult(mrOk);
}

bool TFSoftOptions::Check_Version() { return ::Check_Version(); }

int TFSoftOptions::Conv_Version(const QString& Ver_str) { return ::Conv_Version(Ver_str); }

void TFSoftOptions::Btn_Check_UpdateClick(TObject* Sender) {
    (void)Sender;
    if (Check_Version())
        LL_Check_Update->SetCaption(Update_Link_Caption(Lang[314]));
    else
        LL_Check_Update->SetCaption(Lang[315]);
    LL_Check_Update->Show();
}

void TFSoftOptions::LL_Check_UpdateLinkClick(TObject* Sender, const QString& Link, TSysLinkType LinkType) {
    (void)Sender;
    (void)LinkType;
    OpenLink(Link);
}
