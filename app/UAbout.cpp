#include "app/UAbout.h"

#include "app/UComon.h"
#include "app/USoftOptions_Version.h"
#include "app/UWindow_Look.h"
#include "platform/shell/Shell.h"

TFAbout* FAbout = nullptr;

namespace {

constexpr TColor Text_Color = TColor(3355443);

// The maker's logo, drawn here: a round badge in the maker's blue with a white "V".
void Draw_Logo(TBitmap& Logo) {
    Logo.SetSize(81, 81);
    TCanvas* C = Logo.Canvas();
    C->Brush()->SetColor(Window_Color);
    C->FillRect(Rect(0, 0, 81, 81));
    C->Pen()->SetColor(TColor(0x8A4A1F));
    C->Brush()->SetColor(TColor(0xB5702F));
    C->Ellipse(2, 2, 79, 79);
    C->Pen()->SetColor(clWhite);
    C->Brush()->SetColor(clWhite);
    C->Polygon(
        {Point(20, 22), Point(31, 22), Point(40, 50), Point(49, 22), Point(60, 22), Point(45, 62), Point(35, 62)});
}

} // namespace

QString Home_Page_URL() { return Maker_Web_Site + "HOME/default.asp?frompg=" + Const_SW_Code; }

TFAbout::TFAbout(TComponent* AOwner) : TForm(AOwner) {}

void TFAbout::CreateComponents() {
    SetCaption("About...");
    Apply_Window_Look(this);
    Font()->SetColor(Text_Color);
    SetClientWidth(425);
    SetClientHeight(148);

    Image2 = Create<TImage>(this, this);
    Image2->SetName("Image2");
    Image2->SetBounds(32, 24, 81, 81);
    Image2->SetStretch(true);
    Image2->SetCursor(crHandPoint);
    {
        TBitmap Logo;
        Draw_Logo(Logo);
        Image2->Picture()->SetGraphic(&Logo);
    }
    Image2->OnClick = [this](TObject* Sender) { Label4Click(Sender); };

    const auto Make_Label = [this](const QString& Name, int Left, int Top, const QString& Text) {
        TLabel* L = Create<TLabel>(this, this);
        L->SetName(Name);
        L->SetTransparent(true);
        L->SetBounds(Left, Top, 10, 13);
        L->SetCaption(Text);
        return L;
    };
    Label1 = Make_Label("Label1", 128, 24, "Software Tessaro ");
    Label1->Font()->SetHeight(-13);
    Label1->Font()->SetStyle({fsBold});
    Label2 = Make_Label("Label2", 128, 39, Const_SW_Desc);
    Label6 = Make_Label("Label6", 128, 62, "Software Code : ");
    Label9 = Make_Label("Label9", 240, 62, Const_SW_Code);
    Label3 = Make_Label("Label3", 128, 77, "Version :");
    Label10 = Make_Label("Label10", 240, 77, Const_SW_Version);
    Label8 = Make_Label("Label8", 128, 93, "Document Code :");
    Label12 = Make_Label("Label12", 240, 93, Const_Doc_Code);
    Label4 = Make_Label("Label4", 316, 131, Maker_Web_Address);
    Label4->Font()->SetColor(clBlue);
    Label4->Font()->SetStyle({fsUnderline});
    Label4->SetCursor(crHandPoint);
    Label4->OnClick = [this](TObject* Sender) { Label4Click(Sender); };

    LbButton1 = Create<TLbButton>(this, this);
    LbButton1->SetName("LbButton1");
    LbButton1->SetStyle(bsEncarta);
    LbButton1->SetBounds(32, 115, 81, 22);
    LbButton1->SetCaption("OK");
    LbButton1->SetModalResult(mrOk);

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
}

void TFAbout::FormShow(TObject* Sender) {
    (void)Sender;
    Label2->SetCaption(Const_SW_Desc);
    Label9->SetCaption(Const_SW_Code);
    Label10->SetCaption(Const_SW_Version);
    Label12->SetCaption(Const_Doc_Code);
    SetClientWidth(425);
    SetClientHeight(148);
}

void TFAbout::Label4Click(TObject* Sender) {
    (void)Sender;
    OpenLink(Home_Page_URL());
}
