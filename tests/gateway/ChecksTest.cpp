#include "GatewayTestSupport.h"
#include "gateway/GatewayTables.h"

namespace {

struct TCheckCase {
    const char* Name;
    QList<QStringList> Read;
    QList<QStringList> Write;
    QString Expected; // empty: passes
};

using TCheckFn = std::optional<TCheckError> (*)(const TTableFileData&, const TLangLookup&, int, int);

void Run_Check(TCheckFn Fn, const TCheckCase& C) {
    TTableFileData D;
    D.Tables = {TTable{C.Read, 0}, TTable{C.Write, 0}};
    const auto E = Fn(D, English, CANopen_Data_Array_Size, CANopen_Data_Array_Size);
    if (C.Expected.isEmpty())
        EXPECT_FALSE(E.has_value()) << C.Name << ": " << (E ? E->Text.toStdString() : "");
    else {
        ASSERT_TRUE(E.has_value()) << C.Name;
        EXPECT_EQ(E->Text, C.Expected) << C.Name;
    }
}

QStringList Srv(const QString& Index, const QString& Sub, const QString& NByte, QStringList Adds = {"0", "", "", ""}) {
    return QStringList{Index, Sub, NByte} + Adds + QStringList{"m"};
}

TEST(SdoServerCheck, Cases) {
    const TCheckCase Cases[] = {
        {"hex and decimal index forms pass",
         {Srv("$2000", "0", "1"), Srv("0x5FFF", "255", "1"), Srv("8192", "x1", "1")},
         {},
         ""},
        {"index below range",
         {Srv("$1FFF", "0", "1")},
         {},
         "Error row 1!! [SDO in Read] Index must be between 0x2000 and 0x5FFF"},
        {"index above range in write",
         {},
         {Srv("$6000", "0", "1")},
         "Error row 1!! [SDO in Write] Index must be between 0x2000 and 0x5FFF"},
        {"nbyte 3",
         {Srv("$2000", "0", "1"), Srv("$2000", "0", "3")},
         {},
         "Error row 2!! [SDO in Read] N Byte must be 1 or 2 or 4"},
        {"nbyte 1 ignores byte 2", {Srv("$2000", "0", "1", {"1499", "", "", ""})}, {}, ""},
        {"nbyte 2 needs byte 2",
         {Srv("$2000", "0", "2", {"0", "", "", ""})},
         {},
         "Error row 1!! [SDO in Read] Address Byte2 must be between 0 and 1499"},
        {"nbyte 4 checks byte 3",
         {Srv("$2000", "0", "4", {"0", "1", "1500", "2"})},
         {},
         "Error row 1!! [SDO in Read] Address Byte3 must be between 0 and 1499"},
        {"position 1500 fails",
         {},
         {Srv("$2000", "0", "1", {"1500", "", "", ""})},
         "Error row 1!! [SDO in Write] Address Byte1 must be between 0 and 1499"},
        {"trailing blank reads as -1",
         {Srv("$2000 ", "0", "1")},
         {},
         "Error row 1!! [SDO in Read] Index must be between 0x2000 and 0x5FFF"},
        {"rows after the blank key are not checked",
         {Srv("$2000", "0", "1"), Srv(" ", "", ""), Srv("1", "", "")},
         {},
         ""},
        {"subindex 256",
         {Srv("$2000", "256", "1")},
         {},
         "Error row 1!! [SDO in Read] SubIndex must be between 0x00 and 0xFF"},
        // One (Index, SubIndex) names one object: a second use is refused, both rows named.
        {"pair twice in the read table, written differently",
         {Srv("$2000", "1", "1"), Srv("$2001", "1", "1"), Srv("8192", "$01", "1")},
         {},
         "Error row 3!! [SDO in Read] Index and SubIndex already used in row 1 of SDO in Read"},
        {"pair of a read row again in the write table",
         {Srv("$2000", "0", "1"), Srv("$2000", "1", "1")},
         {Srv("$3000", "0", "1"), Srv("$2000", "1", "2", {"0", "1", "", ""})},
         "Error row 2!! [SDO in Write] Index and SubIndex already used in row 2 of SDO in Read"},
        {"same subindex under other indexes passes", {Srv("$2000", "0", "1")}, {Srv("$2001", "0", "1")}, ""},
        {"a duplicate after the blank key is not saved, so not refused",
         {Srv("$2000", "0", "1"), Srv("", "", ""), Srv("$2000", "0", "1")},
         {},
         ""},
        {"a range error comes before a duplicate",
         {Srv("$2000", "0", "1"), Srv("$2000", "0", "1")},
         {Srv("$1000", "0", "1")},
         "Error row 1!! [SDO in Write] Index must be between 0x2000 and 0x5FFF"},
    };
    for (const auto& C : Cases) Run_Check(Check_SDO_Server_CANopen, C);
}

QStringList Cli(const QString& Id, const QString& Poll, QStringList Adds = {"0", "", "", ""}, bool Write = false,
                const QString& NByte = "1") {
    QStringList R = {Id, "0x1000", "0", NByte, Poll};
    if (Write) R << "";
    return R + Adds + QStringList{"m"};
}

TEST(SdoClientCheck, Cases) {
    const TCheckCase Cases[] = {
        {"valid rows", {Cli("1", "1")}, {Cli("127", "0", {"0", "", "", ""}, true)}, ""},
        {"device id 0", {Cli("0", "1")}, {}, "Error row 1!! [SDO Read] Device ID must be between 1 and 127"},
        {"device id 128 in write",
         {},
         {Cli("128", "0", {"0", "", "", ""}, true)},
         "Error row 1!! [SDO Write] Device ID must be between 1 and 127"},
        {"poll 0 fails in read",
         {Cli("1", "0")},
         {},
         "Error row 1!! [SDO Read] Poll Time must be between 1 and 100000000"},
        {"poll above range in write",
         {},
         {Cli("1", "100000001", {"0", "", "", ""}, true)},
         "Error row 1!! [SDO Write] Poll Time must be between 0 and 100000000"},
        {"write positions start at column 7",
         {},
         {Cli("1", "5", {"0", "", "", ""}, true, "2")},
         "Error row 1!! [SDO Write] Address Byte2 must be between 0 and 1499"},
    };
    for (const auto& C : Cases) Run_Check(Check_SDO_Client_CANopen, C);
}

QStringList Pdo(const QString& Cob, const QString& Dim, QStringList Adds, const QString& Time, bool Transmit = false) {
    while (Adds.size() < 8) Adds << "";
    QStringList R = QStringList{Cob, Dim} + Adds + QStringList{Time};
    if (Transmit) R << "Y";
    return R << "m";
}

TEST(PdoCheck, Cases) {
    const TCheckCase Cases[] = {
        {"bounds pass",
         {Pdo("0", "1", {"0"}, "65535"), Pdo("0x7FF", "8", {"0", "1", "2", "3", "4", "5", "6", "7"}, "0")},
         {Pdo("$7FF", "1", {"1499"}, "100000000", true)},
         ""},
        {"cob-id 0x800",
         {Pdo("0x800", "1", {"0"}, "0")},
         {},
         "Error row 1!! [Receive PDO] COB-ID must be between 0x000 and 0x7FF"},
        {"dimension 9 before positions",
         {},
         {Pdo("1", "9", {"x"}, "0", true)},
         "Error row 1!! [Transmit PDO] Dimension must be between 1 and 8"},
        {"dimension 3 checks byte 3 only",
         {Pdo("1", "3", {"0", "0", ""}, "0")},
         {},
         "Error row 1!! [Receive PDO] Address Byte3 must be between 0 and 1499"},
        {"dimension 3 leaves byte 4 free", {Pdo("1", "3", {"0", "0", "0", "junk"}, "0")}, {}, ""},
        {"timeout 65536",
         {Pdo("1", "1", {"0"}, "65536")},
         {},
         "Error row 1!! [Receive PDO] TimeOut must be between 0 and 65535"},
        {"send time above range",
         {},
         {Pdo("1", "1", {"0"}, "100000001", true)},
         "Error row 1!! [Transmit PDO] Send Time must be between 0 and 100000000"},
    };
    for (const auto& C : Cases) Run_Check(Check_PDO_CANopen, C);
}

TEST(CheckError, CarriesRowColumnAndMessageNumbers) {
    TTableFileData D;
    D.Tables = {TTable{{Pdo("1", "1", {"0"}, "0"), Pdo("1", "2", {"0", "2000"}, "0")}, 0}, TTable()};
    const auto E = Check_PDO_CANopen(D, English, 1500, 1500);
    ASSERT_TRUE(E);
    EXPECT_EQ(E->Table, 0);
    EXPECT_EQ(E->Row, 2);
    EXPECT_EQ(E->Column, 4);
    EXPECT_EQ(E->MessageNumbers, (QList<int>{2568, 2572}));
    EXPECT_TRUE(E->AppendValue);
    EXPECT_EQ(E->Value, 1499);
}

QStringList Var(const QString& Enable, const QString& Type, const QString& Position, const QString& Name = "V") {
    return {Enable, Type, Position, "4", Name, "Read/Write", ""};
}

TEST(OpcUaCheck, Cases) {
    struct {
        const char* Name;
        QList<QStringList> Rows;
        QString Expected;
    } Cases[] = {
        {"1999 passes", {Var("Y", "Int32", "1999")}, ""},
        {"2000 fails and the message names the last valid position",
         {Var("Y", "Int32", "2000")},
         "Error row 1!! Position Must be Between 0 and 1999"},
        {"disabled row is not checked", {Var("N", "Int32", "5000")}, ""},
        {"rows after a blank type are not saved, so not checked", {Var("Y", " ", "-5"), Var("Y", "Byte", "-5")}, ""},
        {"hex position", {Var("Y", "Byte", "$7CF")}, ""},
        {"empty position", {Var("Y", "Byte", "")}, "Error row 1!! Position Must be Between 0 and 1999"},
        {"latin-1 name passes", {Var("Y", "Byte", "1", QString::fromUtf8("Temp\u00e9rature\u00ff"))}, ""},
        {"a name the device cannot store",
         {Var("Y", "Byte", "1"), Var("Y", "Byte", "2", QString::fromUtf8("Druck\u0100"))},
         "Error row 2!! Name may hold only characters up to U+00FF (Latin-1)"},
        {"a disabled row's name is not checked", {Var("N", "Byte", "1", QString::fromUtf8("\u20ac"))}, ""},
    };
    for (const auto& C : Cases) {
        const auto E = Check_OPC_UA_Server(TTable{C.Rows, 0}, English);
        EXPECT_EQ(E ? E->Text : QString(), C.Expected) << C.Name;
    }
}

TEST(VarSetLengthRule, TypesSetLengthAndReadOnlyFlag) {
    QStringList Row = {"Y", "", "0", "", "", "", ""};
    bool ReadOnly = false;
    VarSetLength("Double", Row, ReadOnly);
    EXPECT_EQ(Row[3], "8");
    EXPECT_TRUE(ReadOnly);
    EXPECT_EQ(Row[5], "Read/Write");
    Row[5] = "Read Only";
    VarSetLength("String", Row, ReadOnly);
    EXPECT_EQ(Row[3], "10");
    EXPECT_FALSE(ReadOnly);
    EXPECT_EQ(Row[5], "Read Only");
    Row[3] = "32";
    VarSetLength("", Row, ReadOnly); // not a type: length and flag stay
    EXPECT_EQ(Row[3], "32");
    EXPECT_FALSE(ReadOnly);
    for (const QString& T : OPC_UA_VarType_List()) EXPECT_TRUE(OPC_UA_Type_Length(T).has_value()) << T.toStdString();
}

TEST(OpcUaEnable, OnlyNDisables) {
    EXPECT_TRUE(OPC_UA_Enabled(std::nullopt));
    EXPECT_TRUE(OPC_UA_Enabled(QString("Y")));
    EXPECT_TRUE(OPC_UA_Enabled(QString("n")));
    EXPECT_FALSE(OPC_UA_Enabled(QString("N")));
}

} // namespace

namespace {
// The messages the checks quote above are the program's own texts, word for word.
TEST(CheckTexts, QuotedTextsAreTheBuiltInOnes) {
    for (int n : {1427, 2568, 2569, 2579, 2590, 2660, 2661, 2674, 2750, 2751, 2761})
        EXPECT_EQ(English(n), English_Table().value(n)) << n;
}

// A translation whose placeholders do not fit the values never breaks the message.
TEST(CheckTexts, BadPlaceholderFallsBackToEnglish) {
    const TLangLookup Broken = [](int n) { return n == 1427 ? QString("Riga %s!! Posizione %d %d %d") : English(n); };
    const auto E = Check_OPC_UA_Server(TTable{{{"Y", "Byte", "2000", "1", "V", "", ""}}, 0}, Broken);
    ASSERT_TRUE(E);
    EXPECT_EQ(E->Text, "Error row 1!! Position Must be Between 0 and 1999");
}
} // namespace
