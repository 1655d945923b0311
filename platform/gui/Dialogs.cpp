#include "platform/gui/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {
std::shared_ptr<IDialogService>& GService() {
    static std::shared_ptr<IDialogService> S;
    return S;
}
} // namespace

IDialogService& DialogService() {
    static TQtDialogService Real;
    auto& S = GService();
    return S ? *S : static_cast<IDialogService&>(Real);
}

void SetDialogService(std::shared_ptr<IDialogService> Service) { GService() = std::move(Service); }

TModalResult TQtDialogService::MessageBox(const TMessageBoxRequest& R) {
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    switch (R.Type) {
        case mtWarning: Icon = QMessageBox::Warning; break;
        case mtError: Icon = QMessageBox::Critical; break;
        case mtInformation: Icon = QMessageBox::Information; break;
        case mtConfirmation: Icon = QMessageBox::Question; break;
        default: break;
    }
    QString Caption = R.Caption.isEmpty() ? Application->Title() : R.Caption;
    QMessageBox Box(Icon, Caption, R.Text, QMessageBox::NoButton, QApplication::activeWindow());
    struct TMap {
        TMsgDlgBtn B;
        QMessageBox::StandardButton Q;
        TModalResult Result;
    };
    const TMap Map[] = {
        {mbYes, QMessageBox::Yes, mrYes},
        {mbNo, QMessageBox::No, mrNo},
        {mbOK, QMessageBox::Ok, mrOk},
        {mbCancel, QMessageBox::Cancel, mrCancel},
        {mbAbort, QMessageBox::Abort, mrAbort},
        {mbRetry, QMessageBox::Retry, mrRetry},
        {mbIgnore, QMessageBox::Ignore, mrIgnore},
        {mbNoToAll, QMessageBox::NoToAll, mrNoToAll},
        {mbYesToAll, QMessageBox::YesToAll, mrYesToAll},
        {mbHelp, QMessageBox::Help, mrHelp},
        {mbClose, QMessageBox::Close, mrClose},
    };
    QMessageBox::StandardButtons Buttons;
    for (const TMap& M : Map)
        if (R.Buttons.Contains(M.B)) Buttons |= M.Q;
    if (!Buttons && !R.Buttons.Contains(mbAll)) Buttons = QMessageBox::Ok;
    Box.setStandardButtons(Buttons);
    QAbstractButton* All =
        R.Buttons.Contains(mbAll) ? Box.addButton(QStringLiteral("All"), QMessageBox::AcceptRole) : nullptr;
    int Answer = Box.exec();
    if (All && Box.clickedButton() == All) return mrAll;
    for (const TMap& M : Map)
        if (R.Buttons.Contains(M.B) && Answer == M.Q) return M.Result;
    // Closed without a button: the cancel answer when there is one, else the only button.
    if (R.Buttons.Contains(mbCancel)) return mrCancel;
    if (R.Buttons.Contains(mbNo)) return mrNo;
    return mrOk;
}

QStringList FilterToQt(const QString& Filter) {
    QStringList Out;
    if (Filter.isEmpty()) return Out;
    const QStringList Parts = Filter.split(QLatin1Char('|'));
    for (int I = 0; I < Parts.size(); I += 2) {
        QString Desc = Parts[I].trimmed();
        QString Pattern = I + 1 < Parts.size() ? Parts[I + 1].trimmed() : QString();
        if (Pattern.isEmpty()) Pattern = QStringLiteral("*");
        QString Patterns = Pattern;
        Patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parenthesis of each entry.
        if (Desc.endsWith(QLatin1Char('(') + Patterns + QLatin1Char(')')) ||
            Desc.endsWith(QLatin1Char('(') + Pattern + QLatin1Char(')')))
            Out << Desc.left(Desc.lastIndexOf(QLatin1Char('('))) + QLatin1Char('(') + Patterns + QLatin1Char(')');
        else
            Out << Desc + QStringLiteral(" (") + Patterns + QLatin1Char(')');
    }
    return Out;
}

bool TQtDialogService::FileDialog(TFileDialogRequest& R) {
    QFileDialog D(QApplication::activeWindow(), R.Title);
    D.setAcceptMode(R.Kind == fdSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    D.setFileMode(R.Kind == fdSave ? QFileDialog::AnyFile
                                   : (R.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
    QStringList Filters = FilterToQt(R.Filter);
    if (!Filters.isEmpty()) {
        D.setNameFilters(Filters);
        int Index = std::clamp(R.FilterIndex, 1, int(Filters.size())) - 1;
        D.selectNameFilter(Filters[Index]);
    }
    if (!R.DefaultExt.isEmpty()) D.setDefaultSuffix(R.DefaultExt);
    if (!R.InitialDir.isEmpty()) D.setDirectory(R.InitialDir);
    if (!R.FileName.isEmpty()) D.selectFile(R.FileName);
    if (!R.OverwritePrompt) D.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (D.exec() != QDialog::Accepted || D.selectedFiles().isEmpty()) return false;
    R.FileName = D.selectedFiles().first();
    int Index = Filters.indexOf(D.selectedNameFilter());
    if (Index >= 0) R.FilterIndex = Index + 1;
    return true;
}

TModalResult MessageDlg(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
    (void)HelpCtx;
    TMessageBoxRequest R;
    R.Type = DlgType;
    R.Text = Msg;
    R.Buttons = Buttons;
    // One title for every box of the program, as the other boxes and the error handler have it;
    // the icon tells the kind.
    R.Caption = Application->Title();
    return DialogService().MessageBox(R);
}

void ShowMessage(const QString& Msg) {
    TMessageBoxRequest R;
    R.Type = mtCustom;
    R.Caption = Application->Title();
    R.Text = Msg;
    R.Buttons = {mbOK};
    DialogService().MessageBox(R);
}

void ErrorBox(const QString& Text) { Application->MessageBox(Text, QString(), MB_OK | MB_ICONERROR); }

bool YesNoBox(const QString& Text) {
    return Application->MessageBox(Text, QString(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void WarningBox(const QString& Text) { Application->MessageBox(Text, QString(), MB_OK | MB_ICONWARNING); }

bool TOpenDialog::Execute() {
    TFileDialogRequest R;
    R.Kind = Kind();
    R.Title = FTitle;
    R.Filter = FFilter;
    R.FilterIndex = FFilterIndex;
    // "*.eds" and ".eds" both mean the extension "eds".
    QString Ext = FDefaultExt;
    while (Ext.startsWith(QLatin1Char('*')) || Ext.startsWith(QLatin1Char('.'))) Ext.remove(0, 1);
    R.DefaultExt = Ext;
    R.InitialDir = FInitialDir;
    R.FileName = FFileName;
    R.OverwritePrompt = FOptions.Contains(ofOverwritePrompt);
    R.FileMustExist = FOptions.Contains(ofFileMustExist);
    if (!DialogService().FileDialog(R)) return false;
    QString Name = R.FileName;
    if (!Ext.isEmpty() && !Name.isEmpty() && QFileInfo(Name).suffix().isEmpty() && !Name.endsWith(QLatin1Char('.')))
        Name += QLatin1Char('.') + Ext;
    FFileName = Name;
    FFilterIndex = R.FilterIndex;
    return true;
}

namespace {
int BeepCount = 0;
}

void MessageBeep(unsigned Type) {
    (void)Type;
    ++BeepCount;
    QApplication::beep();
}

int MessageBeepCount() { return BeepCount; }
