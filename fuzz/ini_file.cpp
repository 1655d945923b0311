// INI files: any file reads; every value read is written to a new file and reads back the same,
// and the file written again by the reader keeps every value.
#include "fuzz/FuzzSupport.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/IniFiles.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    Fuzz_Clear_Dir();
    const QString Path = Fuzz_Write(QStringLiteral("in.ini"), Fuzz_Bytes(Data, Size));
    TIniFile Ini(Path);
    TStringList Sections;
    Ini.ReadSections(&Sections);
    struct TValue {
        QString Section, Key, Value;
    };
    QList<TValue> Values;
    for (int s = 0; s < Sections.Count() && Values.size() < 16; ++s) {
        TStringList Keys;
        Ini.ReadSection(Sections[s], &Keys);
        for (int k = 0; k < Keys.Count() && Values.size() < 16; ++k)
            Values.append({Sections[s], Keys[k], Ini.ReadString(Sections[s], Keys[k], QStringLiteral("\x01"))});
    }
    // The reader's own file, written again: every value as it was.
    Ini.UpdateFile();
    {
        TIniFile Again(Path);
        for (const TValue& V : Values) {
            const QString Read = Again.ReadString(V.Section, V.Key, QStringLiteral("\x01"));
            FUZZ_CHECK(
                Read == V.Value,
                QStringLiteral("[%1] %2: %3 became %4").arg(V.Section, V.Key, Fuzz_Show(V.Value), Fuzz_Show(Read)));
        }
    }
    // Each value into a new file.
    const QString Out = Fuzz_Dir() + QStringLiteral("/out.ini");
    TIniFile Fresh(Out);
    QList<TValue> Written;
    for (const TValue& V : Values) {
        if (Fresh.ValueExists(V.Section, V.Key)) continue; // names match without regard to case
        try {
            Fresh.WriteString(V.Section, V.Key, V.Value);
            Written.append(V);
        } catch (const EConvertError&) {
            // a name the writer refuses: the reader took it from a line no writer makes
        }
    }
    TIniFile Back(Out);
    for (const TValue& V : Written) {
        const QString Read = Back.ReadString(V.Section, V.Key, QStringLiteral("\x01"));
        FUZZ_CHECK(
            Read == V.Value,
            QStringLiteral("[%1] %2: wrote %3, read %4").arg(V.Section, V.Key, Fuzz_Show(V.Value), Fuzz_Show(Read)));
    }
    return 0;
}
