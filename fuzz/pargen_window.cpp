// The main-parameters window's reader and writer over a fuzzed "ParGen.xml": the window shows any
// file (a box at worst); when its check passes, the file it writes reads back into the same
// values, so that OK on the next showing writes the same file again.
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UParGen.h"
#include "fuzz/FuzzSupport.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Files.h"

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace {
// Every box is answered with OK at once.
class TOkDialogs : public IDialogService {
public:
    TModalResult MessageBox(const TMessageBoxRequest&) override { return mrOk; }
    bool FileDialog(TFileDialogRequest&) override { return false; }
};

TFParGen* Form = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    new QApplication(*Argc, *Argv);
    SetDialogService(std::make_shared<TOkDialogs>());
    Load_English_Strings();
    Project_Dir = Fuzz_Dir() + QStringLiteral("/project");
    ForceDirectories(Project_Dir);
    Set_Files();
    Form = Create<TFParGen>(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    WriteFileAtomic(File_ParGen, Fuzz_Bytes(Data, Size));
    Form->FormShow(Form);
    Form->SetModalResult(mrNone);
    Form->Btn_OKClick(Form->Btn_OK);
    if (Form->ModalResult() != mrOk) return 0; // the check refused a value: nothing written
    const QByteArray First = ReadFileBytes(File_ParGen);
    Form->FormShow(Form);
    Form->SetModalResult(mrNone);
    Form->Btn_OKClick(Form->Btn_OK);
    FUZZ_CHECK(Form->ModalResult() == mrOk, QString::fromUtf8(First));
    const QByteArray Second = ReadFileBytes(File_ParGen);
    FUZZ_CHECK(Second == First,
               QStringLiteral("first: %1\n     again: %2").arg(QString::fromUtf8(First), QString::fromUtf8(Second)));
    return 0;
}
