// The table-file engine with the windows' checks: any file reads or raises; what a check passes
// is written and reads back the same, and the device-image builder and the EDS generator accept it.
#include "fuzz/FuzzSupport.h"
#include "gateway/GatewayTables.h"
#include "gateway/UEds.h"
#include "gateway/USaveBincc.h"
#include "platform/rtl/Files.h"

namespace {
QString No_Text(int) { return QString(); }

// The rows a window would keep: up to the blank key, as the writer takes them.
QList<QStringList> Kept(const TTableSection& Section, const TTable& Table) {
    return Table.Rows.mid(0, Table_Length(Section, Table));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 1) return 0;
    struct TKind {
        const TTableFileDesc& Desc;
        const char* File;
    };
    const TKind Kinds[] = {
        {OPC_UA_Server_File_Desc(), "OPC_UA_Server.xml"},
        {SDO_Server_CANopen_File_Desc(), "SDO_Server_CANopen.xml"},
        {SDO_Client_CANopen_File_Desc(), "SDO_Client_CANopen.xml"},
        {PDO_CANopen_File_Desc(), "PDO_CANopen.xml"},
    };
    const int K = Data[0] % 4;
    const TTableFileDesc& Desc = Kinds[K].Desc;
    Fuzz_Clear_Dir();
    const QString In = Fuzz_Write(QStringLiteral("in.xml"), Fuzz_Bytes(Data + 1, Size - 1));
    TTableFileData Read;
    try {
        Read_Table_File(Desc, In, Read);
    } catch (const Exception&) {
        return 0;
    }
    FUZZ_CHECK(Read.Tables.size() == Desc.Sections.size());
    std::optional<TCheckError> Error;
    switch (K) {
        case 0: Error = Check_OPC_UA_Server(Read.Tables[0], No_Text); break;
        case 1: Error = Check_SDO_Server_CANopen(Read, No_Text); break;
        case 2: Error = Check_SDO_Client_CANopen(Read, No_Text); break;
        default: Error = Check_PDO_CANopen(Read, No_Text); break;
    }
    if (Error) return 0;

    const QString Project = Fuzz_Dir() + QStringLiteral("/project");
    ForceDirectories(Project);
    const QString Out = Project + u'/' + QLatin1String(Kinds[K].File);
    try {
        Write_Table_File(Desc, Read, Out);
    } catch (const Exception& E) {
        Fuzz_Fail("what the check passes is written", __FILE__, __LINE__, E.Message());
    }
    TTableFileData Back;
    try {
        Read_Table_File(Desc, Out, Back);
    } catch (const Exception& E) {
        Fuzz_Fail("a written table file reads", __FILE__, __LINE__, E.Message());
    }
    for (int s = 0; s < Desc.Sections.size(); ++s)
        FUZZ_CHECK(Kept(Desc.Sections[s], Back.Tables[s]) == Kept(Desc.Sections[s], Read.Tables[s]),
                   QStringLiteral("section %1").arg(s));

    try {
        Compile_Bin(TProjectFiles::In(Project));
    } catch (const Exception& E) {
        Fuzz_Fail("the image builder takes what the check passes", __FILE__, __LINE__, E.Message());
    }
    if (K == 1 || K == 3) {
        const QString Pdo = Project + QStringLiteral("/PDO_CANopen.xml");
        const QString Sdo = Project + QStringLiteral("/SDO_Server_CANopen.xml");
        try {
            Build_EDS(Project + QStringLiteral("/out.eds"), Pdo, Sdo);
        } catch (const Exception& E) {
            Fuzz_Fail("the EDS generator takes what the check passes", __FILE__, __LINE__, E.Message());
        }
    }
    return 0;
}
