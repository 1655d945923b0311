#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <memory>

void TScriptedDialogs::ExpectBox(TModalResult Answer, const QString& TextContains) {
    FBoxAnswers.push_back({Answer, TextContains});
}

void TScriptedDialogs::ExpectFileDialog(bool Confirm, const QString& FileName) {
    FFileAnswers.push_back({Confirm, FileName});
}

void TScriptedDialogs::Reset() {
    FBoxAnswers.clear();
    FFileAnswers.clear();
    FBoxes.clear();
    FFiles.clear();
}

void TScriptedDialogs::VerifyAllUsed() {
    for (const TBoxAnswer& A : FBoxAnswers)
        ADD_FAILURE() << "expected message box not shown" << (A.TextContains.isEmpty() ? "" : ": ")
                      << A.TextContains.toStdString();
    for (const TFileAnswer& A : FFileAnswers)
        ADD_FAILURE() << "expected file dialog not shown " << A.FileName.toStdString();
}

TModalResult TScriptedDialogs::MessageBox(const TMessageBoxRequest& Request) {
    FBoxes.push_back(Request);
    if (FBoxAnswers.empty()) {
        ADD_FAILURE() << "unexpected message box: \"" << Request.Text.toStdString() << "\"";
        if (Request.Buttons.Contains(mbCancel)) return mrCancel;
        if (Request.Buttons.Contains(mbNo)) return mrNo;
        return mrOk;
    }
    TBoxAnswer A = FBoxAnswers.front();
    FBoxAnswers.pop_front();
    if (!A.TextContains.isEmpty() && !Request.Text.contains(A.TextContains))
        ADD_FAILURE() << "message box \"" << Request.Text.toStdString() << "\" does not contain \""
                      << A.TextContains.toStdString() << "\"";
    return A.Answer;
}

bool TScriptedDialogs::FileDialog(TFileDialogRequest& Request) {
    FFiles.push_back(Request);
    if (FFileAnswers.empty()) {
        ADD_FAILURE() << "unexpected file dialog (filter \"" << Request.Filter.toStdString() << "\")";
        return false;
    }
    TFileAnswer A = FFileAnswers.front();
    FFileAnswers.pop_front();
    if (A.Confirm) Request.FileName = A.FileName;
    return A.Confirm;
}

void TModalDriver::Expect(TAction Action) { FActions.push_back(std::move(Action)); }

void TModalDriver::Reset() {
    FActions.clear();
    FShown.clear();
}

void TModalDriver::VerifyAllUsed() {
    if (!FActions.empty()) ADD_FAILURE() << FActions.size() << " expected modal form(s) not shown";
}

void TModalDriver::Run(TForm* Form) {
    FShown.push_back(Form->Name());
    if (FActions.empty()) {
        ADD_FAILURE() << "unexpected modal form " << Form->Name().toStdString() << " (" << typeid(*Form).name() << ")";
        Form->SetModalResult(mrCancel);
        return;
    }
    TAction A = std::move(FActions.front());
    FActions.pop_front();
    A(Form);
}

namespace {
std::shared_ptr<TScriptedDialogs>& Dialogs() {
    static auto D = std::make_shared<TScriptedDialogs>();
    return D;
}
} // namespace

TScriptedDialogs& TestDialogs() { return *Dialogs(); }

TModalDriver& TestModal() {
    static TModalDriver D;
    return D;
}

// Installs the scripted seams around every test.
class TSeamListener : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override {
        TestDialogs().Reset();
        TestModal().Reset();
        SetDialogService(Dialogs());
        SetModalHook([](TForm* F) { TestModal().Run(F); });
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        TestDialogs().VerifyAllUsed();
        TestModal().VerifyAllUsed();
        TestDialogs().Reset();
        TestModal().Reset();
    }
};

void InstallTestSeams() { ::testing::UnitTest::GetInstance()->listeners().Append(new TSeamListener); }
