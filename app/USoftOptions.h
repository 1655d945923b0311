#pragma once
// The options dialog: the language (chosen from the language files present, a page of six
// flags at a time), the internet and update-check options with a manual version check, and the
// two table options.

#include "app/LbButton.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Classes.h"

#include <QString>

#include <array>
#include <exception>
#include <functional>
#include <memory>

class TFSoftOptions : public TForm {
public:
    explicit TFSoftOptions(TComponent* AOwner);
    ~TFSoftOptions() override;

    void CreateComponents() override;
    void FormCreate(TObject* Sender) override;

    // Title panel.
    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    // Button panel.
    TPanel* P_Buttons = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    // Pages.
    TPageControl* PC_Options = nullptr;
    TTabSheet* TS_Language = nullptr;
    TTabSheet* TS_Con_Options = nullptr;
    TTabSheet* TS_Soft_Settings = nullptr;
    // Language page.
    TLabel* L_Sel_Lang = nullptr;
    TLabel* L_Page_Lang = nullptr;
    TLbButton* Btn_Prev = nullptr;
    TLbButton* Btn_Next = nullptr;
    TImage* I_L1 = nullptr;
    TImage* I_L2 = nullptr;
    TImage* I_L3 = nullptr;
    TImage* I_L4 = nullptr;
    TImage* I_L5 = nullptr;
    TImage* I_L6 = nullptr;
    TLabel* L_L1 = nullptr;
    TLabel* L_L2 = nullptr;
    TLabel* L_L3 = nullptr;
    TLabel* L_L4 = nullptr;
    TLabel* L_L5 = nullptr;
    TLabel* L_L6 = nullptr;
    // Connection page.
    TCheckBox* CB_En_Con = nullptr;
    TCheckBox* CB_Update = nullptr;
    TLbButton* Btn_Check_Update = nullptr;
    TLinkLabel* LL_Check_Update = nullptr;
    // Settings page.
    TCheckBox* CB_Soft_Set_Jump_Table = nullptr;
    TCheckBox* CB_DoubleClick_Auto_Size = nullptr;

    // The language page shown, from 1.
    int Show_Page = 1;
    // The language file names ("English.lng" ...), rebuilt at every showing.
    TStringList* SL_Languages = nullptr;
    // The language the dialog treats as active: becomes Lang_Name only through OK.
    QString Language_In_Use;

    // Set by the main window: re-labels every window after a language change, and its update
    // timer, switched by OK. The dialog works without them.
    std::function<void()> Change_Language;
    TTimer* Timer_Update = nullptr;

    void FormShow(TObject* Sender);
    void Set_Lang();
    void Create_Lang_List();
    void Update_Lang_Page(int Num_Page);
    void Btn_NextClick(TObject* Sender);
    void LangClick(TObject* Sender);
    void Update_CheckBox();
    void CB_En_ConClick(TObject* Sender);
    void Btn_OKClick(TObject* Sender);
    void Btn_Check_UpdateClick(TObject* Sender);
    void LL_Check_UpdateLinkClick(TObject* Sender, const QString& Link, TSysLinkType LinkType);

    // The version query (USoftOptions_Version.h), reachable through the dialog.
    bool Check_Version();
    int Conv_Version(const QString& Ver_str);

    // The six slots, image and label, in order.
    TImage* Slot_Image(int Index) const { return FImages[Index]; }
    TLabel* Slot_Label(int Index) const { return FLabels[Index]; }
    int Page_Count() const;

private:
    QString Page_Text(int Num_Page) const;
    std::array<TImage*, 6> FImages{};
    std::array<TLabel*, 6> FLabels{};
    std::unique_ptr<TStringList> FLanguages;
};

extern TFSoftOptions* FSoftOptions;
