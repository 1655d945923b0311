#pragma once
// The look every window of the configurator shares: the pale background, the Verdana font, a
// fixed single border with only the system menu, centred on the screen; the title panel on top
// (software code large and grey, the window's description in bold grey) and the button panel at
// the bottom with its push buttons. Windows call these while they build themselves and then set
// what is their own (sizes, captions, hints, what the buttons do).
#include "app/LbButton.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

#include <QString>

// The background of every window.
constexpr TColor Window_Color = TColor(15595512);

constexpr int Title_Panel_Height = 69;
constexpr int Button_Panel_Height = 40;
constexpr int Dialog_Button_Width = 110;
constexpr int Dialog_Button_Height = 28;
constexpr int Dialog_Button_Top = 6;

// Border (with only the system menu), centred position, background colour and the Verdana -11
// font. A window the user may resize passes its own border style.
void Apply_Window_Look(TForm* Form, TBorderStyle BorderStyle = bsSingle);

// The title panel "P_Title" (top, 69 px, the window's colour, no bevel, no caption) with the
// labels "L_SW_Code" (Verdana -32, grey) at 16,8 and "L_SW_Desc" (Verdana -11 bold, grey) at
// 16,42. The labels keep their own fonts whatever the window's font becomes.
void Create_Title_Panel(TForm* Form, TPanel*& P_Title, TLabel*& L_SW_Code, TLabel*& L_SW_Desc);

// The button panel (bottom, 40 px, the window's colour, no bevel, no caption), named Name.
TPanel* Create_Button_Panel(TForm* Form, const QString& Name = QStringLiteral("P_Buttons"));

// Moves the button panel to the end of the window's tab order, behind the window's own fields:
// the panel is built early (it must take the bottom before the rest fills the window), yet a
// showing focuses the first control in tab order, which is to be a field, not OK or Cancel.
void Buttons_Last_In_Tab_Order(TPanel* Buttons);

// A 110x28 push button of the button panel at Left, 6.
TLbButton* Create_Dialog_Button(TForm* Form, TPanel* Panel, const QString& Name, int Left);
