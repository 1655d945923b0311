// The device-image build over a project folder of fuzzed files (ParGen, OPC UA server, SDO
// server, SDO client, PDO, apart at "@@" lines; an empty part is a missing file). A refused build
// leaves no image and no bank file; an accepted one writes both banks as built, and building
// again from the same files gives the same images.
#include "fuzz/FuzzSupport.h"
#include "gateway/USaveBincc.h"
#include "platform/rtl/Files.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    Fuzz_Clear_Dir();
    const QString Project = Fuzz_Dir() + QStringLiteral("/project");
    ForceDirectories(Project + QStringLiteral("/bin")); // as a new project has it
    const TProjectFiles Files = TProjectFiles::In(Project);
    const QList<QByteArray> Parts = Fuzz_Split(Fuzz_Bytes(Data, Size), 5);
    const QString Names[5] = {Files.ParGen, Files.OPC_UA_Server, Files.SDO_Server_CANopen, Files.SDO_Client_CANopen,
                              Files.PDO_CANopen};
    for (int i = 0; i < 5; ++i)
        if (!Parts[i].isEmpty()) Fuzz_Write(QStringLiteral("project/") + ExtractFileName(Names[i]), Parts[i]);

    const QString Bank1 = Project + QStringLiteral("/bin/bank1.bin");
    const QString Bank2 = Project + QStringLiteral("/bin/bank2.bin");
    try {
        Compile_Bin(Files);
    } catch (const Exception&) {
        FUZZ_CHECK(Bank1_Len == 0 && Bank2_Len == 0);
        bool Refused = false;
        try {
            Write_Bin_Files(Project);
        } catch (const EInOutError&) {
            Refused = true;
        }
        FUZZ_CHECK(Refused);
        FUZZ_CHECK(!FileExists(Bank1) && !FileExists(Bank2));
        return 0;
    }
    FUZZ_CHECK(Bank1_Len > 0 && Bank1_Len <= Bank_Size && Bank2_Len > 0 && Bank2_Len <= Bank_Size);
    const QByteArray Image1(reinterpret_cast<const char*>(Bank1_Data.data()), Bank1_Len);
    const QByteArray Image2(reinterpret_cast<const char*>(Bank2_Data.data()), Bank2_Len);
    Write_Bin_Files(Project);
    FUZZ_CHECK(ReadFileBytes(Bank1) == Image1);
    FUZZ_CHECK(ReadFileBytes(Bank2) == Image2);
    Compile_Bin(Files);
    FUZZ_CHECK(Image1 == QByteArray(reinterpret_cast<const char*>(Bank1_Data.data()), Bank1_Len));
    FUZZ_CHECK(Image2 == QByteArray(reinterpret_cast<const char*>(Bank2_Data.data()), Bank2_Len));
    return 0;
}
