#pragma once
// The open-project dialog: lists the project folders under Projects_Dir and returns the chosen
// one in Name_Conf; the main window then opens it.
#include "app/LbButton.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Classes.h"

#include <QString>

#include <memory>

class TFOpenConf : public TForm {
public:
    explicit TFOpenConf(TComponent* AOwner);
    ~TFOpenConf() override;

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TLabel* Label1 = nullptr;
    TListBox* ListBox1 = nullptr;
    TPanel* P_Buttons = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;

    // The project folder names found at the last showing.
    std::unique_ptr<TStringList> SL;
    // The chosen project folder name; empty when there is nothing to choose.
    QString Name_Conf;

    void CreateComponents() override;
    void FormCreate(TObject* Sender) override;
    void FormShow(TObject* Sender);
    void Load_Existing_Configuration();
    // Position of snc in SL, ignoring the case of ASCII letters; -1 when absent.
    int Search_Open_Conf(const QString& snc) const;
    void ListBox1Click(TObject* Sender);
    void Set_Lang();
};

extern TFOpenConf* FOpenConf;
