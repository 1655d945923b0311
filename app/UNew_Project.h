#pragma once
// The new-project dialog: asks for a name, creates the project folder (with its "bin" folder for
// the device images) under Projects_Dir and makes it the open project.
#include "app/LbButton.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

#include <QString>

class TFNew_Project : public TForm {
public:
    explicit TFNew_Project(TComponent* AOwner);

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* E_New_Proj = nullptr;
    TPanel* P_Buttons = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;

    void CreateComponents() override;
    void FormCreate(TObject* Sender) override;
    void FormShow(TObject* Sender);
    void E_New_ProjKeyPress(TObject* Sender, QChar& Key);
    // Creates the project named in E_New_Proj and closes with OK; on a bad name an error box
    // says why and the dialog stays open.
    void Btn_OKClick(TObject* Sender);
    void Set_Lang();
};

extern TFNew_Project* FNew_Project;

// Whether Name names a folder directly inside the projects folder: not empty, not "." or "..",
// no path separator ("/" or "\\") and no control character. The one rule for a project name,
// whether it is typed in the new-project dialog, listed by the open dialog or read back from the
// settings file at start; any other character is the file system's business.
bool Is_Valid_Project_Name(const QString& Name);
