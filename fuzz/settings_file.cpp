// The settings file: any file loads or raises with every value at its default; the values loaded
// are saved and load back the same.
#include "app/UComon.h"
#include "app/USettings.h"
#include "fuzz/FuzzSupport.h"
#include "platform/rtl/Files.h"
#include "platform/xml/XMLDoc.h"

namespace {
struct TSettings {
    QString Project, Address, Language;
    bool Flags[4];
    bool operator==(const TSettings&) const = default;
};
TSettings Current() {
    return {Project_Name,
            Last_IP_Address,
            Lang_Name,
            {Opt_Enable_Internet, Opt_Enable_Update, Opt_Enable_Jump_Field_Tables, Opt_Double_Click_Auto_Size}};
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    Fuzz_Clear_Dir();
    Set_App_Dir(Fuzz_Dir());
    Fuzz_Write(Settings_File_Name, Fuzz_Bytes(Data, Size));
    TXMLDocument XML;
    try {
        Load_Settings(XML);
    } catch (const Exception&) {
        const TSettings Refused = Current();
        Default_Settings();
        FUZZ_CHECK(Current() == Refused); // every value at its default
        return 0;
    }
    const TSettings Loaded = Current();
    Save_Settings(XML);
    TXMLDocument Again;
    Load_Settings(Again);
    const TSettings Back = Current();
    FUZZ_CHECK(Back == Loaded,
               QStringLiteral("project %1 -> %2, address %3 -> %4, language %5 -> %6")
                   .arg(Fuzz_Show(Loaded.Project), Fuzz_Show(Back.Project), Fuzz_Show(Loaded.Address),
                        Fuzz_Show(Back.Address), Fuzz_Show(Loaded.Language), Fuzz_Show(Back.Language)));
    return 0;
}
