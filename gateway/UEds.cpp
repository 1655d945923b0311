#include "gateway/UEds.h"

#include "app/UComon.h"
#include "gateway/GatewayTables.h"
#include "gateway/USaveBincc.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Files.h"

#include <algorithm>
#include <unordered_map>

const QString EDS_File_Name = "OPC_UA_Server_CANopen.eds";
const QString EDS_Description = "OPC UA Server / CANopen - Converter";
const QString EDS_Product_Number = "Q80";
const QString EDS_Order_Code = "GWU4180";

const std::array<QString, EDS_Max_PDO> RPDO_Name_Prefix = {"b",  "c",  "d",  "e",  "f",  "g",  "h",  "j",  "k",  "i",
                                                           "aa", "ab", "ac", "ad", "ae", "af", "ag", "ah", "ai", "al",
                                                           "am", "an", "ao", "ap", "aq", "ar", "as", "at", "au", "av"};
const std::array<QString, EDS_Max_PDO> TPDO_Name_Prefix = {"l",  "m",  "n",  "o",  "p",  "q",  "r",  "s",  "t",  "u",
                                                           "ca", "cb", "cc", "cd", "ce", "cf", "cg", "ch", "ci", "cl",
                                                           "cm", "cn", "co", "cp", "cq", "cr", "cs", "ct", "cu", "cv"};

std::array<std::array<int32_t, 2>, 2 * EDS_Max_PDO> EDS_PDO_Table{};
int EDS_Num_RPDO = 0;
int EDS_Num_TPDO = 0;
QList<SDO_Index> SDO_Index_List;

// Upper-case hexadecimal of the 32-bit pattern, at least Digits digits.
static QString Hex(int64_t V, int Digits) {
    return QString::number(uint32_t(V), 16).toUpper().rightJustified(Digits, '0');
}

void Load_PDO_CANopen(const QString& File_PDO_CANopen) {
    EDS_Num_RPDO = 0;
    EDS_Num_TPDO = 0;
    if (!FileExists(File_PDO_CANopen)) return;
    int* Counts[2] = {&EDS_Num_RPDO, &EDS_Num_TPDO};
    int Rows[2] = {0, 0};
    TTableWalk How;
    How.Limit = EDS_Max_PDO;
    // Both sections hold COB-ID and Dimension in the same columns.
    using namespace Receive_PDO_Col;
    Walk_Table_Rows(PDO_CANopen_File_Desc(), File_PDO_CANopen, How, [&](const TTableRow& R) {
        const int k = R.Section();
        const int i = R.Row() - 1;
        // A value that is not a number reads as no COB-ID, and as a mapping of all 8 bytes.
        EDS_PDO_Table[k * EDS_Max_PDO + i][0] = StrToIntDef(R.Value(COB_ID), 0);
        const int L = StrToIntDef(R.Value(Dimension), 8);
        // One section per mapped byte follows from it: a count no sub-index can hold is refused
        // rather than written out as millions of lines, and so is a negative one, which would
        // give a negative "SubNumber".
        if (L < 0 || L > 255) R.Refuse(Dimension, "is not within the 0 to 255 mapping entries a PDO can have");
        EDS_PDO_Table[k * EDS_Max_PDO + i][1] = L;
        Rows[k] = R.Row();
    });
    *Counts[0] = Rows[0];
    *Counts[1] = Rows[1];
}

int Find_SDO_Index(int Index) {
    for (int i = 0; i < SDO_Index_List.size(); ++i)
        if (SDO_Index_List[i].Index == Index) return i;
    return -1;
}

void Load_SDO_Server_CANopen(const QString& File_SDO_Server_CANopen) {
    if (!FileExists(File_SDO_Server_CANopen)) return;
    // Each object's place in SDO_Index_List by its index, for the objects already there too.
    std::unordered_map<uint16_t, int> Position;
    for (int i = 0; i < SDO_Index_List.size(); ++i) Position.emplace(SDO_Index_List[i].Index, i);
    TTableWalk How;
    How.Limit = CANopen_Table_Capacity[SDO_Server_Read]; // the device table of each section
    using namespace SDO_Server_Col;
    Walk_Table_Rows(SDO_Server_CANopen_File_Desc(), File_SDO_Server_CANopen, How, [&](const TTableRow& R) {
        const uint16_t Obj = uint16_t(R.Number(Index));
        SDO_Sub_Type Sub;
        Sub.Sub = uint8_t(R.Number(SubIndex));
        Sub.Quantity = uint8_t(R.Number(NByte));
        Sub.Readonly = R.Section() == 0;
        const auto [It, New] = Position.emplace(Obj, int(SDO_Index_List.size()));
        if (New) SDO_Index_List.append(SDO_Index{Obj, {}});
        // A hand-edited file may use one (Index, SubIndex) twice: the sheet would get two sections
        // of one name, which no reader can take apart.
        for (const SDO_Sub_Type& Other : SDO_Index_List[It->second].Sub_Indexs)
            if (Other.Sub == Sub.Sub) R.Refuse(SubIndex, "the Index and SubIndex are already used by an earlier row");
        SDO_Index_List[It->second].Sub_Indexs.append(Sub);
    });
}

void Sort_Sub_Indexs() {
    for (SDO_Index& Obj : SDO_Index_List)
        std::stable_sort(Obj.Sub_Indexs.begin(), Obj.Sub_Indexs.end(),
                         [](const SDO_Sub_Type& A, const SDO_Sub_Type& B) { return A.Sub < B.Sub; });
}

QString EDS_Time_Text(const QTime& T) {
    const int H = T.hour();
    const int H12 = H % 12 == 0 ? 12 : H % 12;
    return QString("%1:%2%3").arg(H12, 2, 10, QChar('0')).arg(T.minute(), 2, 10, QChar('0')).arg(H < 12 ? "AM" : "PM");
}

QString EDS_Date_Text(const QDate& D) {
    return QString("%1-%2-%3").arg(D.month(), 2, 10, QChar('0')).arg(D.day(), 2, 10, QChar('0')).arg(D.year());
}

namespace {
struct TEdsWriter {
    QStringList L;
    void Section(const QString& Name, const QStringList& Lines, bool Blank = true) {
        L << "[" + Name + "]";
        L << Lines;
        if (Blank) L << QString();
    }
    static QStringList Var(const QString& Name, const QString& DataType, const QString& Access, const QString& Default,
                           int Mapping = 0) {
        QStringList S = {"ParameterName=" + Name, "ObjectType=0x07", "DataType=" + DataType, "AccessType=" + Access};
        if (!Default.isNull()) S << "DefaultValue=" + Default;
        S << QString("PDOMapping=%1").arg(Mapping);
        return S;
    }
    static QString Sub(int Obj, int Sub) { return Hex(Obj, 4) + "sub" + Hex(Sub, 1); }
};
} // namespace

static void PDO_Communication(TEdsWriter& W, int Obj, const QString& Name, int32_t CobId) {
    W.Section(Hex(Obj, 4), {"SubNumber=4", "ParameterName=" + Name, "ObjectType=0x09"});
    W.Section(TEdsWriter::Sub(Obj, 0), TEdsWriter::Var("Number of Entries", "0x0005", "ro", "0x03"));
    W.Section(TEdsWriter::Sub(Obj, 1), TEdsWriter::Var("COB-ID", "0x0007", "rw", "0x" + Hex(CobId, 8)));
    W.Section(TEdsWriter::Sub(Obj, 2), TEdsWriter::Var("Transmission Type", "0x0005", "rw", "0xFE"));
    W.Section(TEdsWriter::Sub(Obj, 3), TEdsWriter::Var("Inhibit Time", "0x0006", "rw", "0x0"));
}

static void PDO_Mapping(TEdsWriter& W, int Obj, const QString& Name, int32_t L, int AppObj) {
    W.Section(Hex(Obj, 4), {QString("SubNumber=%1").arg(int64_t(L) + 1), "ParameterName=" + Name, "ObjectType=0x09"});
    W.Section(TEdsWriter::Sub(Obj, 0), TEdsWriter::Var("Number of Entries", "0x0005", "ro", "0x" + Hex(L, 2)));
    for (int k = 1; k <= L; ++k)
        W.Section(TEdsWriter::Sub(Obj, k),
                  TEdsWriter::Var(QString("Mapping Entry %1").arg(k), "0x0007", "ro",
                                  "0x" + Hex(AppObj, 4) + Hex(k, 2) + "08"));
}

static void PDO_Application(TEdsWriter& W, int Obj, const QString& Name, int32_t L, const QString& Prefix,
                            const QString& Access0, const QString& Access) {
    W.Section(Hex(Obj, 4), {QString("SubNumber=%1").arg(int64_t(L) + 1), "ParameterName=" + Name, "ObjectType=0x08"});
    W.Section(TEdsWriter::Sub(Obj, 0), TEdsWriter::Var("Number of Entries", "0x0005", Access0, "0x" + Hex(L, 2)));
    for (int k = 1; k <= L; ++k)
        W.Section(TEdsWriter::Sub(Obj, k), TEdsWriter::Var(Prefix + QString::number(k), "0x0005", Access, "0x00", 1));
}

QStringList EDS_Build_Lines(const QDateTime& Now) {
    const int R = EDS_Num_RPDO, T = EDS_Num_TPDO;
    const QString Tm = EDS_Time_Text(Now.time()), Dt = EDS_Date_Text(Now.date());
    TEdsWriter W;
    W.Section("FileInfo",
              {"FileName=" + EDS_File_Name, "FileVersion=1", "FileRevision=0", "EDSVersion=4.0",
               "Description=" + EDS_Description, "CreationTime=" + Tm, "CreationDate=" + Dt, "CreatedBy=Velmora",
               "ModificationTime=" + Tm, "ModificationDate=" + Dt, "ModifiedBy=Velmora"});
    W.Section("DeviceInfo",
              {"VendorName=Velmora",
               "VendorNumber=0x00",
               "ProductName=" + EDS_Description,
               "ProductNumber=" + EDS_Product_Number,
               "RevisionNumber=0x0",
               "OrderCode=" + EDS_Order_Code,
               "BaudRate_10=1",
               "BaudRate_20=1",
               "BaudRate_50=1",
               "BaudRate_125=1",
               "BaudRate_250=1",
               "BaudRate_500=1",
               "BaudRate_800=0",
               "BaudRate_1000=1",
               "DynamicChannelsSupported=0",
               "GroupMessaging=0",
               "LSS_Supported=0",
               "Granularity=0",
               "SimpleBootUpSlave=1",
               "SimpleBootUpMaster=0",
               QString("NrOfRXPDO=%1").arg(R),
               QString("NrOfTXPDO=%1").arg(T)});
    W.Section("Comments", {"Lines=0"});
    QStringList Dummy;
    for (int i = 1; i <= 7; ++i) Dummy << QString("Dummy000%1=0").arg(i);
    W.Section("DummyUsage", Dummy);
    W.Section("MandatoryObjects", {"SupportedObjects=3", "1=0x1000", "2=0x1001", "3=0x1018"});

    QStringList Optional = {QString("SupportedObjects=%1").arg(8 + 3 * R + 3 * T),
                            "1=0x1005",
                            "2=0x1006",
                            "3=0x1008",
                            "4=0x1014",
                            "5=0x1016",
                            "6=0x1017",
                            "7=0x1029",
                            "8=0x1280"};
    int No = 9;
    auto AddRange = [&](int Base, int Count) {
        for (int n = 0; n < Count; ++n) Optional << QString("%1=0x%2").arg(No++).arg(Hex(Base + n, 4));
    };
    AddRange(0x1400, R);
    AddRange(0x1600, R);
    AddRange(0x1800, T);
    AddRange(0x1A00, T);
    AddRange(0x7000, R);
    AddRange(0x7050, T);
    W.Section("OptionalObjects", Optional);

    QStringList Manufacturer = {QString("SupportedObjects=%1").arg(SDO_Index_List.size())};
    for (int k = 0; k < SDO_Index_List.size(); ++k)
        Manufacturer << QString("%1=0x%2").arg(k + 1).arg(Hex(SDO_Index_List[k].Index, 4));
    W.Section("ManufacturerObjects", Manufacturer);

    using V = TEdsWriter;
    W.Section("1000", V::Var("Device Type", "0x0007", "const", "0x000101A4"));
    W.Section("1001", V::Var("Error Register", "0x0005", "ro", "0x00"));
    W.Section("1005", V::Var("COB-ID SYNC", "0x0007", "rw", "0x80000080"));
    W.Section("1006", V::Var("Communication Cycle Period", "0x0007", "rw", "0x00000000"));
    W.Section("1008", V::Var("Manufacturer Device Name", "0x0009", "const", "s1"));
    W.Section("1014", V::Var("COB-ID EMCY", "0x0007", "ro", "$NODEID+0x80"));
    W.Section("1016", {"SubNumber=3", "ParameterName=Heartbeat Consumer Entries", "ObjectType=0x08"});
    W.Section("1016sub0", V::Var("Number of Entries", "0x0005", "ro", "0x02"));
    W.Section("1016sub1", V::Var("Consumer Heartbeat Time 1", "0x0007", "rw", "0x00000000"));
    W.Section("1016sub2", V::Var("Consumer Heartbeat Time 2", "0x0007", "rw", "0x00000000"));
    W.Section("1017", V::Var("Producer Heartbeat Time", "0x0006", "rw", "0x000003E8"));
    W.Section("1018", {"SubNumber=5", "ParameterName=Identity Object", "ObjectType=0x09"});
    W.Section("1018sub0", V::Var("number of entries", "0x0005", "ro", "0x4"));
    W.Section("1018sub1", V::Var("Vendor Id", "0x0007", "ro", QString()));
    W.Section("1018sub2", V::Var("Product Code", "0x0007", "ro", QString()));
    W.Section("1018sub3", V::Var("Revision number", "0x0007", "ro", QString()));
    W.Section("1018sub4", V::Var("Serial number", "0x0007", "ro", QString()));
    W.Section("1029", {"SubNumber=2", "ParameterName=Error Behaviour", "ObjectType=0x08"});
    W.Section("1029sub0", V::Var("Number of Entries", "0x0005", "ro", "1"));
    W.Section("1029sub1", V::Var("Communication Error", "0x0005", "rw", "0x0"));
    W.Section("1280", {"SubNumber=4", "ParameterName=Client SDO Parameter 1", "ObjectType=0x09"});
    W.Section("1280sub0", V::Var("Number of Entries", "0x0005", "ro", "0x03"));
    W.Section("1280sub1", V::Var("COB-ID Client -> Server", "0x0007", "rw", QString()));
    W.Section("1280sub2", V::Var("COB-ID Server -> Client", "0x0007", "rw", QString()));
    W.Section("1280sub3", V::Var("Node ID of the SDO Server", "0x0005", "rw", QString()), false);

    for (int n = 0; n < R; ++n)
        PDO_Communication(W, 0x1400 + n, QString("Receive PDO Communication Parameter %1").arg(n + 1),
                          EDS_PDO_Table[n][0]);
    for (int n = 0; n < R; ++n)
        PDO_Mapping(W, 0x1600 + n, "Receive PDO Mapping Parameter", EDS_PDO_Table[n][1], 0x7000 + n);
    for (int n = 0; n < T; ++n)
        PDO_Communication(W, 0x1800 + n, QString("Transmit PDO Communication Parameter %1").arg(n + 1),
                          EDS_PDO_Table[EDS_Max_PDO + n][0]);
    for (int n = 0; n < T; ++n)
        PDO_Mapping(W, 0x1A00 + n, QString("Transmit PDO Mapping Parameter %1").arg(n + 1),
                    EDS_PDO_Table[EDS_Max_PDO + n][1], 0x7050 + n);
    for (int n = 0; n < R; ++n)
        PDO_Application(W, 0x7000 + n, QString("RPDO%1").arg(n + 1), EDS_PDO_Table[n][1], RPDO_Name_Prefix[n], "ro",
                        "rww");
    for (int n = 0; n < T; ++n)
        PDO_Application(W, 0x7050 + n, QString("TPDO%1").arg(n + 1), EDS_PDO_Table[EDS_Max_PDO + n][1],
                        TPDO_Name_Prefix[n], "rw", "rwr");

    for (const SDO_Index& Obj : SDO_Index_List) {
        const int M = Obj.Sub_Indexs.size();
        const bool HasSub0 = M > 0 && Obj.Sub_Indexs.first().Sub == 0;
        W.Section(Hex(Obj.Index, 4),
                  {QString("SubNumber=%1").arg(HasSub0 ? M : M + 1), "ParameterName=App Vars", "ObjectType=0x9"});
        if (!HasSub0)
            W.Section(TEdsWriter::Sub(Obj.Index, 0),
                      {"ParameterName=Largest Sub-Index supported", "ObjectType=0x7", "DataType=0x0005",
                       "AccessType=ro", "DefaultValue=0x" + Hex(M > 0 ? Obj.Sub_Indexs.last().Sub : 0, 2),
                       "PDOMapping=0"});
        for (const SDO_Sub_Type& S : Obj.Sub_Indexs) {
            QStringList Lines = {"ParameterName=Application Variable", "ObjectType=0x7"};
            if (S.Quantity == 1)
                Lines << "DataType=0x0005"
                      << "LowLimit=0x00"
                      << "HighLimit=0xFF"
                      << "DefaultValue=0x00";
            else if (S.Quantity == 2)
                Lines << "DataType=0x0006"
                      << "LowLimit=0x0000"
                      << "HighLimit=0xFFFF"
                      << "DefaultValue=0x0000";
            else
                Lines << "DataType=0x0007"
                      << "LowLimit=0x00000000"
                      << "HighLimit=0xFFFFFFFF"
                      << "DefaultValue=0x00000000";
            Lines << (S.Readonly ? "AccessType=ro" : "AccessType=rw") << "PDOMapping=0";
            W.Section(TEdsWriter::Sub(Obj.Index, S.Sub), Lines);
        }
    }
    W.L << QString();
    return W.L;
}

void Build_EDS(const QString& Path, const QString& File_PDO_CANopen, const QString& File_SDO_Server_CANopen) {
    SDO_Index_List.clear();
    Load_PDO_CANopen(File_PDO_CANopen);
    Load_SDO_Server_CANopen(File_SDO_Server_CANopen);
    Sort_Sub_Indexs();
    const QStringList Lines = EDS_Build_Lines(Clock().CurrentDateTime());
    QByteArray Bytes;
    for (const QString& Line : Lines) {
        Bytes += Line.toLatin1();
        Bytes += "\r\n";
    }
    WriteFileAtomic(Path, Bytes);
}

void Build_EDS(const QString& Path) { Build_EDS(Path, File_PDO_CANopen, File_SDO_Server_CANopen); }
