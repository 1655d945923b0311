#include "app/UNew_Project.h"

#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UWindow_Look.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Files.h"

#include <QDir>

TFNew_Project* FNew_Project = nullptr;

namespace {
// Equal when only the case of ASCII letters differs, the rule the open dialog finds the current
// project by.
bool SameTextAscii(const QString& A, const QString& B) {
    if (A.size() != B.size()) return false;
    for (int i = 0; i < A.size(); ++i) {
        char16_t a = A[i].unicode(), b = B[i].unicode();
        if (a >= 'a' && a <= 'z') a = char16_t(a - 32);
        if (b >= 'a' && b <= 'z') b = char16_t(b - 32);
        if (a != b) return false;
    }
    return true;
}

// A project folder already there under another case of its letters: on this file system both
// could exist, but the open dialog and the stored project name could not tell them apart.
bool ProjectFolderTaken(const QString& Name) {
    if (DirectoryExists(Projects_Dir + "/" + Name)) return true;
    for (const QString& Existing : ListDirectories(Projects_Dir))
        if (SameTextAscii(Existing, Name)) return true;
    return false;
}
} // namespace

bool Is_Valid_Project_Name(const QString& Name) {
    if (Name.isEmpty() || Name == "." || Name == "..") return false;
    for (QChar C : Name) {
        if (C.category() == QChar::Other_Control) return false;
        if (C == QLatin1Char('/') || C == QLatin1Char('\\')) return false;
    }
    return true;
}

TFNew_Project::TFNew_Project(TComponent* AOwner) : TForm(AOwner) {}

void TFNew_Project::CreateComponents() {
    SetName("FNew_Project");
    Apply_Window_Look(this);
    SetClientWidth(331);
    SetClientHeight(162);

    Create_Title_Panel(this, P_Title, L_SW_Code, L_SW_Desc);

    Label1 = Create<TLabel>(this, this);
    Label1->SetName("Label1");
    Label1->SetLeft(16);
    Label1->SetTop(70);

    E_New_Proj = Create<TEdit>(this, this);
    E_New_Proj->SetName("E_New_Proj");
    E_New_Proj->SetBounds(16, 94, 297, 21);
    E_New_Proj->SetShowHint(true);
    E_New_Proj->OnKeyPress = [this](TObject* Sender, QChar& Key) { E_New_ProjKeyPress(Sender, Key); };

    P_Buttons = Create_Button_Panel(this);

    Btn_OK = Create_Dialog_Button(this, P_Buttons, "Btn_OK", 85);
    Btn_OK->SetShowHint(true);
    Btn_OK->OnClick = [this](TObject* Sender) { Btn_OKClick(Sender); };

    Btn_Cancel = Create_Dialog_Button(this, P_Buttons, "Btn_Cancel", 203);
    Btn_Cancel->SetShowHint(true);
    Btn_Cancel->SetModalResult(mrCancel);

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
}

void TFNew_Project::FormCreate(TObject* Sender) {
    (void)Sender;
    L_SW_Code->SetCaption(SW_Code);
    SetClientWidth(331);
    SetClientHeight(162);
    Set_Lang();
}

void TFNew_Project::FormShow(TObject* Sender) {
    (void)Sender;
    E_New_Proj->Clear();
    if (E_New_Proj->CanFocus()) E_New_Proj->SetFocus();
}

void TFNew_Project::E_New_ProjKeyPress(TObject* Sender, QChar& Key) {
    if (Key == QChar(13)) {
        Key = QChar(0);
        Btn_OKClick(Sender);
    }
}

void TFNew_Project::Btn_OKClick(TObject* Sender) {
    (void)Sender;
    // The name is taken exactly as typed: blanks are part of the folder name.
    const QString Name = E_New_Proj->Text();
    if (Name.isEmpty()) {
        ErrorBox(Lang[107]);
        return;
    }
    // A name that is no plain folder name would create (or find) a folder elsewhere than
    // directly under the projects folder, or one that start-up would not reopen.
    if (!Is_Valid_Project_Name(Name) || Projects_Dir.isEmpty()) {
        ErrorBox(Lang[105]);
        return;
    }
    if (ProjectFolderTaken(Name)) {
        ErrorBox(Lang[106]);
        return;
    }
    const QString Dir = Projects_Dir + "/" + Name;
    if (!CreateDir(Dir)) {
        ErrorBox(Lang[105]);
        return;
    }
    if (!ForceDirectories(Dir + "/bin")) {
        // No project without its image folder: take back the folder just made (it is empty).
        QDir().rmdir(Dir);
        ErrorBox(Lang[105]);
        return;
    }
    Project_Name = Name;
    Project_Dir = Dir;
    Set_Files();
    SetModalResult(mrOk);
}

void TFNew_Project::Set_Lang() {
    SetCaption(Lang[100]);
    L_SW_Desc->SetCaption(Lang[101]);
    Label1->SetCaption(Lang[102]);
    Btn_OK->SetCaption(Lang[103]);
    Btn_Cancel->SetCaption(Lang[104]);
    E_New_Proj->SetHint(Lang[108]);
    Btn_OK->SetHint(Lang[109]);
    Btn_Cancel->SetHint(Lang[110]);
}
