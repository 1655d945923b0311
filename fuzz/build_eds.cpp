// The EDS generator over fuzzed PDO and SDO server files (apart at an "@@" line; an empty part is
// a missing file): a refused build writes nothing; an accepted one writes the lines it built.
#include "fuzz/FuzzSupport.h"
#include "gateway/UEds.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Files.h"

#include <QDateTime>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    Fuzz_Clear_Dir();
    const QList<QByteArray> Parts = Fuzz_Split(Fuzz_Bytes(Data, Size), 2);
    const QString Pdo = Fuzz_Dir() + QStringLiteral("/PDO_CANopen.xml");
    const QString Sdo = Fuzz_Dir() + QStringLiteral("/SDO_Server_CANopen.xml");
    if (!Parts[0].isEmpty()) Fuzz_Write(QStringLiteral("PDO_CANopen.xml"), Parts[0]);
    if (!Parts[1].isEmpty()) Fuzz_Write(QStringLiteral("SDO_Server_CANopen.xml"), Parts[1]);
    const QString Eds = Fuzz_Dir() + QStringLiteral("/out.eds");
    try {
        Build_EDS(Eds, Pdo, Sdo);
    } catch (const Exception&) {
        FUZZ_CHECK(!FileExists(Eds));
        return 0;
    }
    FUZZ_CHECK(FileExists(Eds));
    FUZZ_CHECK(!ReadFileBytes(Eds).isEmpty());
    return 0;
}
