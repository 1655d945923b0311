#pragma once
// Message boxes and file dialogs. Everything goes through one replaceable dialog service, so a
// test answers them from a script instead of blocking on a real window.
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"

#include <QString>
#include <QStringList>

#include <memory>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    mbClose
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline const TMsgDlgButtons mbYesNo = {mbYes, mbNo};
inline const TMsgDlgButtons mbYesNoCancel = {mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel = {mbOK, mbCancel};

// Message-box flags and answers (Application->MessageBox).
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONHAND = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_ICONASTERISK = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// One message box as the service sees it.
struct TMessageBoxRequest {
    TMsgDlgType Type = mtInformation;
    QString Caption; // the window title (the application's title when empty)
    QString Text;
    TMsgDlgButtons Buttons;
};

enum TFileDialogKind { fdOpen, fdSave };

// One file dialog as the service sees it. The service sets FileName (and FilterIndex) when the
// user confirms.
struct TFileDialogRequest {
    TFileDialogKind Kind = fdOpen;
    QString Title;
    QString Filter; // "Description (*.ext)|*.ext|..." as the dialog component holds it
    int FilterIndex = 1; // 1-based
    QString DefaultExt; // without "*" and "."
    QString InitialDir;
    QString FileName;
    bool OverwritePrompt = false;
    bool FileMustExist = false;
};

class IDialogService {
public:
    virtual ~IDialogService() = default;
    // The modal result of the button pressed (mrOk, mrYes ...).
    virtual TModalResult MessageBox(const TMessageBoxRequest& Request) = 0;
    // True when the user confirmed a file name (then in Request.FileName).
    virtual bool FileDialog(TFileDialogRequest& Request) = 0;
};

IDialogService& DialogService();
void SetDialogService(std::shared_ptr<IDialogService> Service); // nullptr: the real dialogs

// The real dialogs on Qt.
class TQtDialogService : public IDialogService {
public:
    TModalResult MessageBox(const TMessageBoxRequest& Request) override;
    bool FileDialog(TFileDialogRequest& Request) override;
};

// "Desc (*.a)|*.a|Desc2|*.b;*.c" as Qt's filter list ("Desc (*.a)", "Desc2 (*.b *.c)").
QStringList FilterToQt(const QString& Filter);

TModalResult MessageDlg(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
void ShowMessage(const QString& Msg);
// The boxes the windows use: error with OK, Yes/No question, warning with OK.
void ErrorBox(const QString& Text);
bool YesNoBox(const QString& Text); // true for Yes
void WarningBox(const QString& Text);

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofEnableSizing
};
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}
    QString Filter() const { return FFilter; }
    void SetFilter(const QString& Value) { FFilter = Value; }
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    // Appended to a confirmed name that has no extension. Given as "eds", ".eds" or "*.eds".
    QString DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const QString& Value) { FDefaultExt = Value; }
    QString InitialDir() const { return FInitialDir; }
    void SetInitialDir(const QString& Value) { FInitialDir = Value; }
    QString FileName() const { return FFileName; }
    void SetFileName(const QString& Value) { FFileName = Value; }
    QString Title() const { return FTitle; }
    void SetTitle(const QString& Value) { FTitle = Value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }
    // True when the user confirmed; FileName is then the chosen file.
    virtual bool Execute();

protected:
    virtual TFileDialogKind Kind() const { return fdOpen; }

private:
    QString FFilter;
    int FFilterIndex = 1;
    QString FDefaultExt;
    QString FInitialDir;
    QString FFileName;
    QString FTitle;
    TOpenOptions FOptions = {ofHideReadOnly, ofEnableSizing};
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

protected:
    TFileDialogKind Kind() const override { return fdSave; }
};

// The default message beep; every beep is counted so a test can tell one happened.
void MessageBeep(unsigned Type = 0);
int MessageBeepCount();
