#include "app/UWindow_Look.h"

void Apply_Window_Look(TForm* Form, TBorderStyle BorderStyle) {
    Form->SetBorderStyle(BorderStyle);
    Form->SetBorderIcons({biSystemMenu});
    Form->SetPosition(poScreenCenter);
    Form->SetColor(Window_Color);
    Form->Font()->SetName("Verdana");
    Form->Font()->SetHeight(-11);
}

void Create_Title_Panel(TForm* Form, TPanel*& P_Title, TLabel*& L_SW_Code, TLabel*& L_SW_Desc) {
    P_Title = Create<TPanel>(Form, Form);
    P_Title->SetName("P_Title");
    P_Title->SetAlign(alTop);
    P_Title->SetHeight(Title_Panel_Height);
    P_Title->SetBevelOuter(bvNone);
    P_Title->SetParentColor(true);
    P_Title->SetShowCaption(false);

    L_SW_Code = Create<TLabel>(Form, P_Title);
    L_SW_Code->SetName("L_SW_Code");
    L_SW_Code->SetParentFont(false);
    L_SW_Code->Font()->SetName("Verdana");
    L_SW_Code->Font()->SetHeight(-32);
    L_SW_Code->Font()->SetColor(clGray);
    L_SW_Code->SetLeft(16);
    L_SW_Code->SetTop(8);

    L_SW_Desc = Create<TLabel>(Form, P_Title);
    L_SW_Desc->SetName("L_SW_Desc");
    L_SW_Desc->SetParentFont(false);
    L_SW_Desc->Font()->SetName("Verdana");
    L_SW_Desc->Font()->SetHeight(-11);
    L_SW_Desc->Font()->SetColor(clGray);
    L_SW_Desc->Font()->SetStyle({fsBold});
    L_SW_Desc->SetLeft(16);
    L_SW_Desc->SetTop(42);
}

TPanel* Create_Button_Panel(TForm* Form, const QString& Name) {
    TPanel* P = Create<TPanel>(Form, Form);
    P->SetName(Name);
    P->SetAlign(alBottom);
    P->SetHeight(Button_Panel_Height);
    P->SetBevelOuter(bvNone);
    P->SetParentColor(true);
    P->SetShowCaption(false);
    return P;
}

void Buttons_Last_In_Tab_Order(TPanel* Buttons) {
    if (TWinControl* Parent = Buttons->Parent()) Buttons->SetTabOrder(Parent->ControlCount());
}

TLbButton* Create_Dialog_Button(TForm* Form, TPanel* Panel, const QString& Name, int Left) {
    TLbButton* B = Create<TLbButton>(Form, Panel);
    B->SetName(Name);
    B->SetStyle(bsEncarta);
    B->SetBounds(Left, Dialog_Button_Top, Dialog_Button_Width, Dialog_Button_Height);
    return B;
}
