#include "GatewayTestSupport.h"
#include "gateway/UEds.h"
#include "platform/rtl/Clock.h"

namespace {

const QString Data = QString(TESSARO_TEST_DATA) + "/gateway/eds_small/";

class Eds : public ::testing::Test {
protected:
    TScratchDir Dir;
    void SetUp() override { SetClock(std::make_shared<TFakeClock>(QDateTime(QDate(2024, 3, 5), QTime(12, 30)))); }
    void TearDown() override { SetClock(nullptr); }
    QString Out() const { return Dir.Path("out.eds"); }
};

TEST_F(Eds, SmallProjectMatchesTheHandWrittenFile) {
    Build_EDS(Out(), Data + "PDO_CANopen.xml", Data + "SDO_Server_CANopen.xml");
    QFile Golden(Data + "expected.eds");
    ASSERT_TRUE(Golden.open(QIODevice::ReadOnly));
    QByteArray Expected = Golden.readAll();
    Expected.replace("\r\n", "\n").replace("\n", "\r\n");
    const QByteArray Actual = Dir.Read("out.eds");
    EXPECT_FALSE(Actual.startsWith("\xEF\xBB\xBF"));
    // Line by line first, so a difference names its line.
    const QList<QByteArray> A = Actual.split('\n'), E = Expected.split('\n');
    for (int i = 0; i < std::min(A.size(), E.size()); ++i) ASSERT_EQ(A[i], E[i]) << "line " << i + 1;
    EXPECT_EQ(Actual, Expected);
}

TEST_F(Eds, NoTableFilesGiveTheFixedSectionsOnly) {
    Build_EDS(Out(), Dir.Path("none1.xml"), Dir.Path("none2.xml"));
    const QString Text = QString::fromLatin1(Dir.Read("out.eds"));
    EXPECT_TRUE(Text.contains("NrOfRXPDO=0\r\nNrOfTXPDO=0\r\n"));
    EXPECT_TRUE(Text.contains("[OptionalObjects]\r\nSupportedObjects=8\r\n"));
    EXPECT_TRUE(Text.contains("[ManufacturerObjects]\r\nSupportedObjects=0\r\n\r\n"));
    EXPECT_TRUE(Text.endsWith("[1280sub3]\r\nParameterName=Node ID of the SDO Server\r\nObjectType=0x07\r\n"
                              "DataType=0x0005\r\nAccessType=rw\r\nPDOMapping=0\r\n\r\n"));
}

TEST_F(Eds, NonNumericDimensionCountsAsEightBytes) {
    Dir.Write(
        "PDO_CANopen.xml",
        R"(<PDO_CANopen><Receive_PDO><row COB-ID="zz" Dimension=""/></Receive_PDO><Transmit_PDO/></PDO_CANopen>)");
    Build_EDS(Out(), Dir.Path("PDO_CANopen.xml"), Dir.Path("none.xml"));
    const QString Text = QString::fromLatin1(Dir.Read("out.eds"));
    EXPECT_TRUE(
        Text.contains("[1400sub1]\r\nParameterName=COB-ID\r\nObjectType=0x07\r\nDataType=0x0007\r\nAccessType=rw\r\n"
                      "DefaultValue=0x00000000\r\n"));
    EXPECT_TRUE(Text.contains("[1600]\r\nSubNumber=9\r\n"));
    EXPECT_TRUE(Text.contains("[7000sub8]\r\nParameterName=b8\r\n"));
}

TEST(EdsClock, TwelveHourTimesAndDates) {
    struct {
        int H, M;
        const char* Text;
    } Cases[] = {{14, 5, "02:05PM"}, {12, 0, "12:00PM"},  {12, 30, "12:30PM"}, {0, 15, "12:15AM"},
                 {9, 7, "09:07AM"},  {23, 59, "11:59PM"}, {11, 59, "11:59AM"}, {0, 0, "12:00AM"}};
    for (const auto& C : Cases) EXPECT_EQ(EDS_Time_Text(QTime(C.H, C.M)), C.Text) << C.H << ":" << C.M;
    EXPECT_EQ(EDS_Date_Text(QDate(2024, 3, 5)), "03-05-2024");
    EXPECT_EQ(EDS_Date_Text(QDate(2026, 12, 10)), "12-10-2026");
}

struct TEdsRefused {
    const char* Name;
    QByteArray Pdo;
    QByteArray Sdo;
};

// The case prints as its name wherever the test framework shows the parameter.
void PrintTo(const TEdsRefused& C, std::ostream* Out) { *Out << C.Name; }

class EdsRefused : public Eds, public ::testing::WithParamInterface<TEdsRefused> {};

TEST_P(EdsRefused, RaisesAndWritesNothing) {
    const TEdsRefused& C = GetParam();
    if (!C.Pdo.isEmpty()) Dir.Write("PDO_CANopen.xml", C.Pdo);
    if (!C.Sdo.isEmpty()) Dir.Write("SDO_Server_CANopen.xml", C.Sdo);
    Dir.Write("out.eds", "old");
    EXPECT_THROW(Build_EDS(Out(), Dir.Path("PDO_CANopen.xml"), Dir.Path("SDO_Server_CANopen.xml")), Exception)
        << C.Name;
    EXPECT_EQ(Dir.Read("out.eds"), "old");
}

// Row i of a section: object 0x2000 + i % Objects, sub-index i / Objects (+ WriteSub in the write
// section, so that no pair is used twice).
QByteArray ManySdo(int Read, int Write, int Objects, int WriteSub = 2) {
    auto Rows = [Objects](int N, int SubBase) {
        QByteArray R;
        for (int i = 0; i < N; ++i)
            R += "<row Index=\"" + QByteArray::number(0x2000 + i % Objects) + "\" SubIndex=\"" +
                QByteArray::number(SubBase + i / Objects) + "\" NByte=\"2\"/>";
        return R;
    };
    return "<SDO_Server_CANopen><SDO_Read>" + Rows(Read, 0) + "</SDO_Read><SDO_Write>" + Rows(Write, WriteSub) +
        "</SDO_Write></SDO_Server_CANopen>";
}

QByteArray ManyPdo(int N) {
    QByteArray R = "<PDO_CANopen><Receive_PDO>";
    for (int i = 0; i < N; ++i) R += R"(<row COB-ID="1" Dimension="1"/>)";
    return R + "</Receive_PDO><Transmit_PDO/></PDO_CANopen>";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EdsRefused,
    ::testing::Values(
        TEdsRefused{"missing transmit section", "<PDO_CANopen><Receive_PDO/></PDO_CANopen>", ""},
        TEdsRefused{"missing dimension",
                    R"(<PDO_CANopen><Receive_PDO><row COB-ID="1"/></Receive_PDO><Transmit_PDO/></PDO_CANopen>)", ""},
        TEdsRefused{"31 receive pdos", ManyPdo(31), ""}, TEdsRefused{"513 sdo read rows", "", ManySdo(513, 0, 7)},
        TEdsRefused{"513 sdo write rows", "", ManySdo(0, 513, 7)},
        // A hand-edited file with one object twice would give the sheet two sections of one name.
        TEdsRefused{"one pair in both sections", "", ManySdo(1, 1, 1, 0)},
        TEdsRefused{"one pair twice in a section", "",
                    R"(<SDO_Server_CANopen><SDO_Read><row Index="$2000" SubIndex="1" NByte="1"/>)"
                    R"(<row Index="8192" SubIndex="0x01" NByte="2"/></SDO_Read><SDO_Write/></SDO_Server_CANopen>)"},
        TEdsRefused{
            "dimension beyond any subindex",
            R"(<PDO_CANopen><Receive_PDO><row COB-ID="1" Dimension="2000000000"/></Receive_PDO><Transmit_PDO/></PDO_CANopen>)",
            ""},
        TEdsRefused{
            "negative dimension",
            R"(<PDO_CANopen><Receive_PDO/><Transmit_PDO><row COB-ID="1" Dimension="-1"/></Transmit_PDO></PDO_CANopen>)",
            ""},
        TEdsRefused{
            "sdo index not a number", "",
            R"(<SDO_Server_CANopen><SDO_Read><row Index="abc" SubIndex="0" NByte="1"/></SDO_Read><SDO_Write/></SDO_Server_CANopen>)"},
        TEdsRefused{"malformed sdo file", "", "<SDO_Server_CANopen>"},
        TEdsRefused{
            "comment among pdo rows",
            R"(<PDO_CANopen><Receive_PDO><row COB-ID="1" Dimension="1"/><!--x--></Receive_PDO><Transmit_PDO/></PDO_CANopen>)",
            ""},
        TEdsRefused{"declaration before the sdo root", "",
                    R"(<?xml version="1.0"?><SDO_Server_CANopen><SDO_Read/><SDO_Write/></SDO_Server_CANopen>)"},
        TEdsRefused{
            "sdo row without nbyte", "",
            R"(<SDO_Server_CANopen><SDO_Read/><SDO_Write><row Index="$2000" SubIndex="0"/></SDO_Write></SDO_Server_CANopen>)"}),
    [](const auto& Info) { return QString(Info.param.Name).replace(' ', '_').toStdString(); });

TEST_F(Eds, SdoRowsBeyondTheDeviceTableAreRefusedWithTheBuildersMessage) {
    Dir.Write("SDO_Server_CANopen.xml", ManySdo(513, 0, 7));
    try {
        Build_EDS(Out(), Dir.Path("none.xml"), Dir.Path("SDO_Server_CANopen.xml"));
        FAIL() << "513 rows accepted";
    } catch (const ERangeError& E) {
        EXPECT_EQ(E.Message(),
                  "section \"SDO_Read\" of \"SDO_Server_CANopen.xml\" holds 513 rows; the device table "
                  "holds at most 512");
    }
}

TEST_F(Eds, FullDeviceTablesGroupSubIndexesUnderTheirObjectsInFirstAppearanceOrder) {
    const int Objects = 300; // more objects than rows of one section: the write rows add new ones
    Dir.Write("SDO_Server_CANopen.xml", ManySdo(512, 512, Objects));
    Build_EDS(Out(), Dir.Path("none.xml"), Dir.Path("SDO_Server_CANopen.xml"));
    ASSERT_EQ(SDO_Index_List.size(), Objects);
    for (int k = 0; k < Objects; ++k) {
        const SDO_Index& Obj = SDO_Index_List[k];
        ASSERT_EQ(Obj.Index, 0x2000 + k) << k;
        // Rows k and k + 300 (when below 512) of each section: read sub-indexes 0 (and 1), then
        // write sub-indexes 2 (and 3), sorted by sub-index.
        const int PerSection = k + Objects < 512 ? 2 : 1;
        ASSERT_EQ(Obj.Sub_Indexs.size(), 2 * PerSection) << k;
        for (int j = 0; j < Obj.Sub_Indexs.size(); ++j) {
            const bool Read = j < PerSection;
            EXPECT_EQ(Obj.Sub_Indexs[j].Sub, Read ? j : 2 + j - PerSection) << k << " " << j;
            EXPECT_EQ(Obj.Sub_Indexs[j].Readonly, Read) << k << " " << j;
        }
    }
}

TEST_F(Eds, ThirtyPdosAreAccepted) {
    Dir.Write("PDO_CANopen.xml", ManyPdo(30));
    Build_EDS(Out(), Dir.Path("PDO_CANopen.xml"), Dir.Path("none.xml"));
    EXPECT_EQ(EDS_Num_RPDO, 30);
    EXPECT_TRUE(QString::fromLatin1(Dir.Read("out.eds")).contains("[701D]\r\nSubNumber=2\r\nParameterName=RPDO30\r\n"));
}

} // namespace
