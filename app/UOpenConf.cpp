#include "app/UOpenConf.h"

#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UNew_Project.h"
#include "app/UWindow_Look.h"
#include "platform/rtl/Files.h"

TFOpenConf* FOpenConf = nullptr;

namespace {
// The list box is laid out for a taller window and follows the window's edges when the
// creation handler sets the final client size.
constexpr int Design_Client_Height = 415;

char16_t UpAscii(char16_t C) { return C >= 'a' && C <= 'z' ? char16_t(C - 32) : C; }
} // namespace

TFOpenConf::TFOpenConf(TComponent* AOwner) : TForm(AOwner), SL(std::make_unique<TStringList>()) {}

TFOpenConf::~TFOpenConf() = default;

void TFOpenConf::CreateComponents() {
    SetName("FOpenConf");
    Apply_Window_Look(this);
    SetClientWidth(377);
    SetClientHeight(Design_Client_Height);

    Create_Title_Panel(this, P_Title, L_SW_Code, L_SW_Desc);

    Label1 = Create<TLabel>(this, this);
    Label1->SetName("Label1");
    Label1->SetLeft(16);
    Label1->SetTop(70);

    P_Buttons = Create_Button_Panel(this);

    ListBox1 = Create<TListBox>(this, this);
    ListBox1->SetName("ListBox1");
    ListBox1->SetBounds(16, 94, 335, 273);
    ListBox1->SetAnchors({akLeft, akTop, akRight, akBottom});
    ListBox1->SetShowHint(true);
    ListBox1->OnClick = [this](TObject* Sender) { ListBox1Click(Sender); };

    Btn_OK = Create_Dialog_Button(this, P_Buttons, "Btn_OK", 123);
    Btn_OK->SetAnchors({akTop, akRight});
    Btn_OK->SetShowHint(true);
    Btn_OK->SetModalResult(mrOk);

    Btn_Cancel = Create_Dialog_Button(this, P_Buttons, "Btn_Cancel", 241);
    Btn_Cancel->SetAnchors({akTop, akRight});
    Btn_Cancel->SetShowHint(true);
    Btn_Cancel->SetModalResult(mrCancel);

    Buttons_Last_In_Tab_Order(P_Buttons);
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
}

void TFOpenConf::FormCreate(TObject* Sender) {
    (void)Sender;
    L_SW_Code->SetCaption(SW_Code);
    SetClientWidth(377);
    SetClientHeight(351);
    Set_Lang();
}

void TFOpenConf::FormShow(TObject* Sender) {
    (void)Sender;
    Load_Existing_Configuration();
    ListBox1->Items()->Assign(SL.get());

    // The open project's folder name, as it stands in Project_Dir.
    QString Current;
    const QString Prefix = Projects_Dir + "/";
    if (!Projects_Dir.isEmpty() && Project_Dir.startsWith(Prefix)) Current = Project_Dir.mid(Prefix.size());

    const int Found = Search_Open_Conf(Current);
    if (Found >= 0) {
        ListBox1->SetItemIndex(Found);
        Name_Conf = SL->Strings(Found);
    } else if (SL->Count() > 0) {
        ListBox1->SetItemIndex(0);
        Name_Conf = SL->Strings(0);
    } else {
        // Nothing to choose: a name kept from an earlier showing would name a folder that is
        // no longer there, and OK would open it.
        ListBox1->SetItemIndex(-1);
        Name_Conf.clear();
    }
}

void TFOpenConf::Load_Existing_Configuration() {
    SL->Clear();
    // A folder whose name breaks the project-name rule could be opened but not kept: the next
    // start would not reopen it. It is not offered.
    for (const QString& Name : ListDirectories(Projects_Dir))
        if (Is_Valid_Project_Name(Name)) SL->Add(Name);
}

int TFOpenConf::Search_Open_Conf(const QString& snc) const {
    for (int i = 0; i < SL->Count(); ++i) {
        const QString S = SL->Strings(i);
        if (S.size() != snc.size()) continue;
        bool Same = true;
        for (int k = 0; k < S.size() && Same; ++k) Same = UpAscii(S[k].unicode()) == UpAscii(snc[k].unicode());
        if (Same) return i;
    }
    return -1;
}

void TFOpenConf::ListBox1Click(TObject* Sender) {
    (void)Sender;
    const int I = ListBox1->ItemIndex();
    if (I >= 0 && I < ListBox1->Items()->Count()) Name_Conf = ListBox1->Items()->Strings(I);
}

void TFOpenConf::Set_Lang() {
    SetCaption(Lang[200]);
    L_SW_Desc->SetCaption(Lang[201]);
    Label1->SetCaption(Lang[202]);
    Btn_OK->SetCaption(Lang[203]);
    Btn_Cancel->SetCaption(Lang[204]);
    ListBox1->SetHint(Lang[205]);
    Btn_OK->SetHint(Lang[206]);
    Btn_Cancel->SetHint(Lang[207]);
}
