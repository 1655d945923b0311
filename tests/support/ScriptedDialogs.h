#pragma once
// Test seams for windows that would block: message boxes and file dialogs are answered from a
// script, modal forms are handed to the test. The test main installs both before every test;
// a box or modal form the test did not expect fails it, and so does an expectation left unused.
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"

#include <deque>
#include <functional>
#include <vector>

class TScriptedDialogs : public IDialogService {
public:
    // The next message box is answered with Answer; with TextContains set, its text must
    // contain it.
    void ExpectBox(TModalResult Answer, const QString& TextContains = QString());
    // The next file dialog is confirmed with FileName (Confirm) or cancelled.
    void ExpectFileDialog(bool Confirm, const QString& FileName = QString());

    // Everything shown so far in this test, in order.
    const std::vector<TMessageBoxRequest>& Boxes() const { return FBoxes; }
    const std::vector<TFileDialogRequest>& FileDialogs() const { return FFiles; }
    int PendingExpectations() const { return int(FBoxAnswers.size() + FFileAnswers.size()); }

    void Reset();
    // Fails the running test for every expectation not used.
    void VerifyAllUsed();

    TModalResult MessageBox(const TMessageBoxRequest& Request) override;
    bool FileDialog(TFileDialogRequest& Request) override;

private:
    struct TBoxAnswer {
        TModalResult Answer;
        QString TextContains;
    };
    struct TFileAnswer {
        bool Confirm;
        QString FileName;
    };
    std::deque<TBoxAnswer> FBoxAnswers;
    std::deque<TFileAnswer> FFileAnswers;
    std::vector<TMessageBoxRequest> FBoxes;
    std::vector<TFileDialogRequest> FFiles;
};

// The modal driver: each ShowModal hands its form to the next queued action, which acts on the
// form (fills edits, clicks buttons) and sets its ModalResult.
class TModalDriver {
public:
    using TAction = std::function<void(TForm* Form)>;
    void Expect(TAction Action);
    int Pending() const { return int(FActions.size()); }
    // The forms shown modally in this test, in order.
    const std::vector<QString>& Shown() const { return FShown; }
    void Reset();
    void VerifyAllUsed();
    void Run(TForm* Form);

private:
    std::deque<TAction> FActions;
    std::vector<QString> FShown;
};

TScriptedDialogs& TestDialogs();
TModalDriver& TestModal();
