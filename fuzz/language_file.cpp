// Language files: any file reads; every text it sets, written back as a line of its own, reads
// back the same.
#include "app/ULanguage.h"
#include "fuzz/FuzzSupport.h"
#include "platform/rtl/Files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static const bool Ready = (Load_English_Strings(), true);
    (void)Ready;
    Fuzz_Clear_Dir();
    const QString Path = Fuzz_Write(QStringLiteral("in.lng"), Fuzz_Bytes(Data, Size));
    const QStringList English = English_Table();
    Load_English_Strings();
    Read_Language_File(Path);
    QList<int> Changed;
    QString Written;
    for (int n = 0; n < Lang_Table_Size; ++n)
        if (Lang[n] != English[n] && Fuzz_Well_Formed(Lang[n])) {
            Changed << n;
            Written += QStringLiteral("STR %1 =\u00B6%2\u00B6\r\n").arg(n).arg(Lang[n]);
        }
    if (Changed.isEmpty()) return 0;
    QStringList Texts;
    for (int n : Changed) Texts << Lang[n];
    Fuzz_Write(QStringLiteral("out.lng"), EncodeText(Written));
    Load_English_Strings();
    Read_Language_File(Fuzz_Dir() + QStringLiteral("/out.lng"));
    for (int i = 0; i < Changed.size(); ++i)
        FUZZ_CHECK(Lang[Changed[i]] == Texts[i],
                   QStringLiteral("%1: wrote %2, read %3")
                       .arg(Changed[i])
                       .arg(Fuzz_Show(Texts[i]), Fuzz_Show(Lang[Changed[i]])));
    return 0;
}
