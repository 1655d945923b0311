#include "gateway/USaveBincc.h"

#include "app/UComon.h"
#include "gateway/GatewayTables.h"
#include "platform/rtl/Files.h"
#include "platform/xml/XMLDoc.h"

#include <bit>
#include <cstddef>
#include <cstring>
#include <span>
#include <type_traits>

TBank Bank1_Data{};
TBank Bank2_Data{};
int Bank1_Len = 0;
int Bank2_Len = 0;
std::array<uint8_t, Param_Block_Size> Param_Block{};

std::array<TCANopen_Entry, 512> SDO_Server_Read_Table;
std::array<TCANopen_Entry, 512> SDO_Server_Write_Table;
std::array<TCANopen_Entry, 256> SDO_Client_Read_Table;
std::array<TCANopen_Entry, 256> SDO_Client_Write_Table;
std::array<TCANopen_Entry, 128> RPDO_Table;
std::array<TCANopen_Entry, 128> TPDO_Table;
TOPC_UA_Server OPC_UA_Server_Block;

TProjectFiles TProjectFiles::In(const QString& Project_Dir) {
    const QString D = IncludeTrailingPathDelimiter(Project_Dir);
    return {D + "ParGen.xml", D + "OPC_UA_Server.xml", D + "SDO_Server_CANopen.xml", D + "SDO_Client_CANopen.xml",
            D + "PDO_CANopen.xml"};
}

// ---- little-endian access -------------------------------------------------------------------
template <size_t N>
static void Put_U16(std::array<uint8_t, N>& B, int Ofs, uint32_t V) {
    B[Ofs] = uint8_t(V);
    B[Ofs + 1] = uint8_t(V >> 8);
}

template <size_t N>
static void Put_U32(std::array<uint8_t, N>& B, int Ofs, uint32_t V) {
    for (int i = 0; i < 4; ++i) B[Ofs + i] = uint8_t(V >> (8 * i));
}

template <size_t N>
static void Put_IP(std::array<uint8_t, N>& B, int Ofs, uint8_t A, uint8_t Bb, uint8_t C, uint8_t D) {
    B[Ofs] = A;
    B[Ofs + 1] = Bb;
    B[Ofs + 2] = C;
    B[Ofs + 3] = D;
}

// A writer into a bank that never runs past its end.
namespace {
class TBankWriter {
public:
    TBankWriter(TBank& Bank, int Pos) : FBank(Bank), FPos(Pos) {}
    void Need(int N) const {
        if (FPos < 0 || N < 0 || FPos + N > Bank_Size)
            throw ERangeError(QString("The device image is full: %1 bytes at offset %2 do not fit in %3")
                                  .arg(N)
                                  .arg(FPos)
                                  .arg(Bank_Size));
    }
    void U8(uint32_t V) {
        Need(1);
        FBank[FPos++] = uint8_t(V);
    }
    void U16(uint32_t V) {
        Need(2);
        Put_U16(FBank, FPos, V);
        FPos += 2;
    }
    void U32(uint32_t V) {
        Need(4);
        Put_U32(FBank, FPos, V);
        FPos += 4;
    }
    // One byte per character (the low 8 bits of its code), then a 0 byte.
    void Text(const QString& S) {
        Need(S.size() + 1);
        for (QChar C : S) FBank[FPos++] = uint8_t(C.unicode() & 0xFF);
        FBank[FPos++] = 0;
    }
    // Room for N bytes, checked once; the caller fills them itself.
    uint8_t* Take(int N) {
        Need(N);
        uint8_t* P = FBank.data() + FPos;
        FPos += N;
        return P;
    }
    int Pos() const { return FPos; }

private:
    TBank& FBank;
    int FPos;
};
} // namespace

// ---- parameter block ------------------------------------------------------------------------
void Init_Param_Block() {
    Param_Block.fill(0);
    Put_U32(Param_Block, PB::CAN_Bit_Rate, 250000);
    Put_U32(Param_Block, 4, 250000);
    Put_U32(Param_Block, 12, 9600);
    Put_IP(Param_Block, PB::Eth_IP_Address, 192, 168, 2, 205);
    Put_IP(Param_Block, PB::Eth_Subnet_Mask, 255, 255, 255, 0);
    Put_IP(Param_Block, PB::Eth_Gateway, 255, 255, 255, 255);
    Put_U16(Param_Block, 52, 10000);
    Put_U16(Param_Block, 54, 10001);
    Put_U16(Param_Block, 56, 10001);
    for (int i = 436; i <= 443; ++i) Param_Block[i] = 8;
}

static uint32_t Bit_Rate_Of(int Index) {
    static const uint32_t Rates[] = {10000, 20000, 50000, 100000, 125000, 250000, 500000, 800000, 1000000};
    return Index >= 0 && Index <= 8 ? Rates[Index] : 1000000;
}

void Load_ParGen_Params(const QString& File_ParGen) {
    if (!FileExists(File_ParGen)) return;
    TXMLDocument Doc;
    Doc.LoadFromFile(File_ParGen);
    const IXMLNode Root = Doc.DocumentElement();

    // Each element on its own: a missing one, or one whose text is not a number, takes its fallback.
    auto Text = [&](const char* Name) -> std::optional<QString> {
        const IXMLNode N = Root.IsNull() ? IXMLNode() : Root.FindNode(Name);
        if (N.IsNull()) return std::nullopt;
        return N.Text();
    };
    auto Number = [&](const char* Name, int Fallback) -> int {
        int V = 0;
        const auto T = Text(Name);
        return T && TryStrToInt(*T, V) ? V : Fallback;
    };
    auto IsOne = [&](const char* Name) { return Text(Name).value_or(QString()) == "1"; };

    Put_IP(Param_Block, PB::Eth_IP_Address, Number("OPC_UA_Server_IP1", 192), Number("OPC_UA_Server_IP2", 168),
           Number("OPC_UA_Server_IP3", 0), Number("OPC_UA_Server_IP4", 10));
    Put_IP(Param_Block, PB::Eth_Subnet_Mask, Number("OPC_UA_Server_SM1", 255), Number("OPC_UA_Server_SM2", 255),
           Number("OPC_UA_Server_SM3", 255), Number("OPC_UA_Server_SM4", 0));
    const uint8_t Gat[4] = {uint8_t(Number("OPC_UA_Server_GAT1", 192)), uint8_t(Number("OPC_UA_Server_GAT2", 168)),
                            uint8_t(Number("OPC_UA_Server_GAT3", 0)), uint8_t(Number("OPC_UA_Server_GAT4", 1))};
    if (IsOne("OPC_UA_Server_EN_GAT"))
        Put_IP(Param_Block, PB::Eth_Gateway, Gat[0], Gat[1], Gat[2], Gat[3]);
    else
        Put_IP(Param_Block, PB::Eth_Gateway, 255, 255, 255, 255);
    Put_IP(Param_Block, PB::Eth_DNS, Number("OPC_UA_Server_DNS1", 8), Number("OPC_UA_Server_DNS2", 8),
           Number("OPC_UA_Server_DNS3", 8), Number("OPC_UA_Server_DNS4", 8));
    if (!IsOne("OPC_UA_Server_EN_DNS")) Put_IP(Param_Block, PB::Eth_DNS, 0, 0, 0, 0);

    OPC_UA_Server_Block.Port = uint16_t(Number("OPC_UA_Server_Port", 4840));
    OPC_UA_Server_Block.NTP = Text("NTP_Server_URL").value_or(QString());
    OPC_UA_Server_Block.NTP_Time = uint32_t(Number("NTP_Poll_Time", 1000));

    Put_U32(Param_Block, PB::CANopen_Node_ID, uint32_t(Number("CANopen_IDDev", 1)));
    Put_U32(Param_Block, PB::CAN_Bit_Rate, Bit_Rate_Of(Number("CANopen_BAUDRATE", 8)));
    uint32_t Flags = 0;
    if (IsOne("CANopen_Set_Operational")) Flags |= 1;
    if (IsOne("CANopen_Network_Start")) Flags |= 2;
    Put_U32(Param_Block, PB::CANopen_Start_Flags, Flags);
    Put_U32(Param_Block, PB::Net_Start_Delay, uint32_t(Number("CANopen_Delay", 10)) * 1000u);
    Put_U32(Param_Block, PB::SDO_Client_TimeOut, uint32_t(Number("CANopen_SDO_TimeOut", 10000)));
}

int Param_Block_To_Bank(int Start, TBank& Bank) {
    uint32_t Sum = 0;
    for (int i = 0; i < PB::Check_Sum; ++i) Sum += Param_Block[i];
    Put_U32(Param_Block, PB::Check_Sum, Sum);
    TBankWriter W(Bank, Start);
    W.Need(Param_Block_Size);
    std::copy(Param_Block.begin(), Param_Block.end(), Bank.begin() + Start);
    return Start + Param_Block_Size;
}

// ---- CANopen tables -------------------------------------------------------------------------
void Init_OPC_UA_Server() { OPC_UA_Server_Block = TOPC_UA_Server(); }

void Clear_CANopen_Tables() {
    SDO_Server_Read_Table.fill(TCANopen_Entry());
    SDO_Server_Write_Table.fill(TCANopen_Entry());
    SDO_Client_Read_Table.fill(TCANopen_Entry());
    SDO_Client_Write_Table.fill(TCANopen_Entry());
    RPDO_Table.fill(TCANopen_Entry());
    TPDO_Table.fill(TCANopen_Entry());
}

static TCANopen_Entry* Table_Entries(TCANopen_Table T) {
    switch (T) {
        case SDO_Server_Read: return SDO_Server_Read_Table.data();
        case SDO_Server_Write: return SDO_Server_Write_Table.data();
        case SDO_Client_Read: return SDO_Client_Read_Table.data();
        case SDO_Client_Write: return SDO_Client_Write_Table.data();
        case RPDO: return RPDO_Table.data();
        case TPDO: return TPDO_Table.data();
    }
    return nullptr;
}

namespace {
// Attribute names of the table rows, as the files hold them.
namespace Row_Attr {
enum : int {
    Device_ID,
    Index,
    SubIndex,
    NByte,
    Poll_Time,
    On_Change,
    COB_ID,
    Dimension,
    Address_B1,
    Address_B2,
    Address_B3,
    Address_B4,
    Address_B5,
    Address_B6,
    Address_B7,
    Address_B8,
    TimeOut,
    Send_Time,
    Count
};
const char* const Name[Count] = {"Device_ID",  "Index",      "SubIndex",   "NByte",      "Poll_Time",  "On_Change",
                                 "COB-ID",     "Dimension",  "Address_B1", "Address_B2", "Address_B3", "Address_B4",
                                 "Address_B5", "Address_B6", "Address_B7", "Address_B8", "TimeOut",    "Send_Time"};
} // namespace Row_Attr

// The attributes a table's rows hold, in the order the editors write them: a row is read in one
// pass over its attributes, and a file in that order needs no search.
std::span<const int> Row_Attrs_Of(TCANopen_Table T) {
    using namespace Row_Attr;
    static constexpr int Server[] = {Index, SubIndex, NByte, Address_B1, Address_B2, Address_B3, Address_B4};
    static constexpr int Client_Read[] = {Device_ID,  Index,      SubIndex,   NByte,     Poll_Time,
                                          Address_B1, Address_B2, Address_B3, Address_B4};
    static constexpr int Client_Write[] = {Device_ID, Index,      SubIndex,   NByte,      Poll_Time,
                                           On_Change, Address_B1, Address_B2, Address_B3, Address_B4};
    static constexpr int Receive[] = {COB_ID,     Dimension,  Address_B1, Address_B2, Address_B3, Address_B4,
                                      Address_B5, Address_B6, Address_B7, Address_B8, TimeOut};
    static constexpr int Transmit[] = {COB_ID,     Dimension,  Address_B1, Address_B2, Address_B3, Address_B4,
                                       Address_B5, Address_B6, Address_B7, Address_B8, Send_Time,  On_Change};
    switch (T) {
        case SDO_Server_Read:
        case SDO_Server_Write: return Server;
        case SDO_Client_Read: return Client_Read;
        case SDO_Client_Write: return Client_Write;
        case RPDO: return Receive;
        case TPDO: return Transmit;
    }
    return {};
}

[[noreturn]] void Raise_Missing(const QString& Where, int Row, int A) {
    throw EXMLDocError(
        QString("%1: row %2 has no attribute \"%3\"").arg(Where).arg(Row).arg(QLatin1String(Row_Attr::Name[A])));
}

[[noreturn]] void Raise_Not_Number(const QString& Where, int Row, int A, const char* Text) {
    throw EConvertError(QString("%1: row %2: \"%3\" is not a valid number for \"%4\"")
                            .arg(Where)
                            .arg(Row)
                            .arg(QString::fromUtf8(Text), QLatin1String(Row_Attr::Name[A])));
}

// One row of a CANopen table file: attributes read without a guard, numbers in the editors' syntax
// read straight from the parser's text.
struct TRowReader {
    const QString& Where; // file and section, for messages
    int Row;
    const int8_t* Slot; // per attribute, its place in Found; -1 when the table has none
    const char* const* Found; // the row's texts, null for a missing attribute
    const char* Text_If(int A) const { return Slot[A] < 0 ? nullptr : Found[Slot[A]]; }
    int Num(int A) const {
        const char* T = Text_If(A);
        if (!T) [[unlikely]]
            Raise_Missing(Where, Row, A);
        int V = 0;
        if (!TryStrToInt(T, V)) [[unlikely]]
            Raise_Not_Number(Where, Row, A, T);
        return V;
    }
};
} // namespace

// The entry mode of a table whose rows may be sent on change: 3 when the row says so, else 1.
static uint8_t On_Change_Mode(const TRowReader& R) {
    const char* T = R.Text_If(Row_Attr::On_Change);
    return T && std::strcmp(T, "Y") == 0 ? 3 : 1;
}

static void Fill_Entry(TCANopen_Table T, const TRowReader& R, TCANopen_Entry& E) {
    using namespace Row_Attr;
    E = TCANopen_Entry();
    std::fill(std::begin(E.Data_Address), std::end(E.Data_Address), uint16_t(0));
    const bool Sdo = T == SDO_Server_Read || T == SDO_Server_Write || T == SDO_Client_Read || T == SDO_Client_Write;
    const bool Client = T == SDO_Client_Read || T == SDO_Client_Write;
    if (Sdo) {
        if (Client) E.Remote_Node = uint8_t(R.Num(Device_ID));
        E.Obj_Index = uint16_t(R.Num(Index));
        E.Obj_Sub_Index = uint8_t(R.Num(SubIndex));
        E.Data_Len = uint8_t(R.Num(NByte));
        if (Client) E.Entry_Time = uint32_t(R.Num(Poll_Time));
        if (T == SDO_Client_Write) E.Entry_Mode = On_Change_Mode(R);
        // The value bytes sit in the upper four address words.
        E.Data_Address[4] = uint16_t(R.Num(Address_B1));
        if (E.Data_Len >= 2) E.Data_Address[5] = uint16_t(R.Num(Address_B2));
        if (E.Data_Len >= 4) {
            E.Data_Address[6] = uint16_t(R.Num(Address_B3));
            E.Data_Address[7] = uint16_t(R.Num(Address_B4));
        }
    } else {
        E.COB_ID = uint32_t(R.Num(COB_ID));
        E.Data_Len = uint8_t(R.Num(Dimension));
        for (int b = 1; b <= 8; ++b)
            if (b == 1 || E.Data_Len >= b) E.Data_Address[b - 1] = uint16_t(R.Num(Address_B1 + b - 1));
        E.Entry_Time = uint32_t(R.Num(T == RPDO ? TimeOut : Send_Time));
    }
    if (T == SDO_Server_Write) E.Entry_Mode = 1;
    if (T == TPDO) E.Entry_Mode = On_Change_Mode(R);
}

static void Load_Table_Section(const IXMLNode& Root, const QString& FileName, const QString& SectionName,
                               TCANopen_Table T, uint32_t& Count) {
    const QString Where = QString("section \"%1\" of \"%2\"").arg(SectionName, FileName);
    const IXMLNode Section = Root.IsNull() ? IXMLNode() : Root.FindNode(SectionName);
    if (Section.IsNull()) throw EXMLDocError(QString("\"%1\": section \"%2\" not found").arg(FileName, SectionName));
    const IXMLNodeList Rows = Section.ChildNodes();
    const int N = Rows.Count();
    if (N > CANopen_Table_Capacity[T])
        throw ERangeError(QString("%1 holds %2 rows; the device table holds at most %3")
                              .arg(Where)
                              .arg(N)
                              .arg(CANopen_Table_Capacity[T]));
    const std::span<const int> Attrs = Row_Attrs_Of(T);
    const char* Names[Row_Attr::Count];
    int8_t Slot[Row_Attr::Count];
    std::fill(std::begin(Slot), std::end(Slot), int8_t(-1));
    for (size_t i = 0; i < Attrs.size(); ++i) {
        Names[i] = Row_Attr::Name[Attrs[i]];
        Slot[Attrs[i]] = int8_t(i);
    }
    const char* Found[Row_Attr::Count];
    TCANopen_Entry* Entries = Table_Entries(T);
    // Child j is row j + 1, whatever its kind: a comment among the rows is a row without attributes.
    IXMLNode Node = Rows.First();
    for (int j = 0; j < N; ++j, Node = Node.NextSibling()) {
        Node.ReadAttributes(std::span(Names, Attrs.size()), Found);
        Fill_Entry(T, TRowReader{Where, j + 1, Slot, Found}, Entries[Count]);
        ++Count;
    }
}

void Load_CANopen_Tables(const TProjectFiles& Files, std::array<uint32_t, CANopen_Table_Count>& Counts) {
    struct TFilePart {
        QString Path, Read, Write;
        TCANopen_Table First;
    };
    const TFilePart Parts[] = {{Files.SDO_Server_CANopen, "SDO_Read", "SDO_Write", SDO_Server_Read},
                               {Files.SDO_Client_CANopen, "SDO_Read", "SDO_Write", SDO_Client_Read},
                               {Files.PDO_CANopen, "Receive_PDO", "Transmit_PDO", RPDO}};
    for (const TFilePart& P : Parts) {
        const int First = P.First;
        Counts[First] = 0;
        Counts[First + 1] = 0;
        if (!FileExists(P.Path)) continue;
        TXMLDocument Doc;
        Doc.LoadFromFile(P.Path);
        const IXMLNode Root = Doc.DocumentElement();
        const QString Name = ExtractFileName(P.Path);
        Load_Table_Section(Root, Name, P.Read, TCANopen_Table(First), Counts[First]);
        Load_Table_Section(Root, Name, P.Write, TCANopen_Table(First + 1), Counts[First + 1]);
    }
}

// ---- OPC UA server block --------------------------------------------------------------------
// The parser's UTF-8 text into Buffer, reusing its storage: ASCII, the usual case, is widened in
// place; anything else is decoded.
static const QString& Utf8_Into(QString& Buffer, const char* Utf8) {
    const size_t Len = std::strlen(Utf8);
    bool Ascii = true;
    for (size_t i = 0; i < Len; ++i) Ascii = Ascii && uchar(Utf8[i]) < 0x80;
    if (!Ascii) return Buffer = QString::fromUtf8(Utf8, qsizetype(Len));
    Buffer.resize(qsizetype(Len));
    char16_t* D = reinterpret_cast<char16_t*>(Buffer.data());
    for (size_t i = 0; i < Len; ++i) D[i] = uchar(Utf8[i]);
    return Buffer;
}

uint32_t Get_OPC_UA_VarType(const QString& Type) {
    static constexpr struct {
        QStringView Text;
        uint32_t Code;
    } Codes[] = {{u"Boolean", 0}, {u"Signed Byte", 1}, {u"Byte", 2},       {u"Int16", 3},  {u"UInt16", 4},
                 {u"Int32", 5},   {u"UInt32", 6},      {u"Int64", 7},      {u"UInt64", 8}, {u"Float", 9},
                 {u"Double", 10}, {u"String", 11},     {u"ByteString", 14}};
    for (const auto& C : Codes)
        if (Type.size() == C.Text.size() && QStringView(Type) == C.Text) return C.Code;
    return 0;
}

int OPC_UA_Server_Block_Size() {
    const TOPC_UA_Server& S = OPC_UA_Server_Block;
    qint64 Size = 16 + 16 * qint64(S.Variables.size()) + 1;
    if (!S.NTP.isEmpty()) Size += S.NTP.size() + 1;
    for (const TOPC_UA_Var& V : S.Variables)
        if (!V.Name.isEmpty()) Size += V.Name.size() + 1;
    return int(std::min<qint64>(Size, INT_MAX));
}

void Load_OPC_UA_Server(const QString& File_OPC_UA_Server, uint32_t B) {
    TOPC_UA_Server& S = OPC_UA_Server_Block;
    if (FileExists(File_OPC_UA_Server)) {
        TXMLDocument Doc;
        Doc.LoadFromFile(File_OPC_UA_Server);
        const IXMLNode Root = Doc.ChildNodes().FindNode("OPC_UA_Server");
        if (Root.IsNull()) throw EXMLDocError("\"OPC_UA_Server.xml\": root element \"OPC_UA_Server\" not found");
        const IXMLNode Section = Root.FindNode("OPC_UA_Server_Variables");
        if (Section.IsNull())
            throw EXMLDocError("\"OPC_UA_Server.xml\": section \"OPC_UA_Server_Variables\" not found");
        const IXMLNodeList Rows = Section.ChildNodes();
        S.Variables.clear();
        S.Variables.reserve(std::min(Rows.Count(), OPC_UA_Server_Room / 16));
        enum { Enable, Type, Position, Length, Name, ReadWrite, Count }; // in the order the window writes them
        static const char* const Names[Count] = {"Enable", "Type", "Position", "Length", "Name", "ReadWrite"};
        const char* Found[Count];
        QString Buffer; // reused for the texts the block does not keep
        for (IXMLNode Node = Rows.First(); !Node.IsNull(); Node = Node.NextSibling()) {
            // Only elements are variables: a comment among the rows is not one, even though a
            // row element without "Enable" counts as enabled.
            if (Node.NodeType() != ntElement) continue;
            Node.ReadAttributes(Names, Found);
            if (!OPC_UA_Enabled(Found[Enable] ? std::optional<QString>(Utf8_Into(Buffer, Found[Enable]))
                                              : std::nullopt))
                continue;
            TOPC_UA_Var V;
            V.VarType = Get_OPC_UA_VarType(Found[Type] ? Utf8_Into(Buffer, Found[Type]) : QString());
            int Number = 0;
            V.Position = uint16_t(Found[Position] ? (TryStrToInt(Found[Position], Number) ? Number : 0) : 0);
            V.Length = uint16_t(Found[Length] ? (TryStrToInt(Found[Length], Number) ? Number : 1) : 0);
            V.Options = Found[ReadWrite] && std::strcmp(Found[ReadWrite], "Read/Write") == 0 ? 1 : 0;
            if (Found[Name]) V.Name = QString::fromUtf8(Found[Name]);
            S.Variables.append(V);
            // The block must fit in the image; stop counting long before any field could wrap.
            if (16 + 16 * S.Variables.size() > OPC_UA_Server_Room) break;
        }
    }
    const int Size = OPC_UA_Server_Block_Size();
    if (Size > OPC_UA_Server_Room)
        throw ERangeError(QString("The OPC UA server variables take more than the %1 bytes the device image holds "
                                  "for them (%2 variables, %3 bytes or more)")
                              .arg(OPC_UA_Server_Room)
                              .arg(S.Variables.size())
                              .arg(Size));
    S.Num_Var = uint16_t(S.Variables.size());
    S.Add_Num_Var = B + 16;
    const uint32_t E = B + 16 + 16 * uint32_t(S.Variables.size());
    uint32_t A = E + 1;
    if (!S.NTP.isEmpty()) {
        S.Add_NTP = A;
        A += uint32_t(S.NTP.size()) + 1;
    } else {
        S.Add_NTP = E;
    }
    for (TOPC_UA_Var& V : S.Variables) {
        if (V.Name.isEmpty()) {
            V.Add_Name = E;
        } else {
            V.Add_Name = A;
            A += uint32_t(V.Name.size()) + 1;
        }
    }
}

// ---- serialisers ----------------------------------------------------------------------------
// On a little-endian host an entry's memory is its 32 image bytes, field for field: a table is
// then copied whole instead of written field by field.
constexpr bool Entry_Is_Its_Image = std::endian::native == std::endian::little &&
    sizeof(TCANopen_Entry) == CANopen_Entry_Size && offsetof(TCANopen_Entry, COB_ID) == 0 &&
    offsetof(TCANopen_Entry, Obj_Index) == 4 && offsetof(TCANopen_Entry, Obj_Sub_Index) == 6 &&
    offsetof(TCANopen_Entry, Remote_Node) == 7 && offsetof(TCANopen_Entry, Entry_Time) == 8 &&
    offsetof(TCANopen_Entry, Data_Address) == 12 && offsetof(TCANopen_Entry, Data_Len) == 28 &&
    offsetof(TCANopen_Entry, Entry_Mode) == 29 && offsetof(TCANopen_Entry, Reserved) == 30 &&
    std::is_trivially_copyable_v<TCANopen_Entry>;

static int Table_To_Bank(TCANopen_Table T, int Start, TBank& Bank) {
    TBankWriter W(Bank, Start);
    uint8_t* P = W.Take(CANopen_Table_Capacity[T] * CANopen_Entry_Size);
    auto U16 = [&P](uint32_t V) {
        P[0] = uint8_t(V);
        P[1] = uint8_t(V >> 8);
        P += 2;
    };
    auto U32 = [&P](uint32_t V) {
        for (int i = 0; i < 4; ++i) P[i] = uint8_t(V >> (8 * i));
        P += 4;
    };
    const TCANopen_Entry* Entries = Table_Entries(T);
    if constexpr (Entry_Is_Its_Image) {
        std::memcpy(P, Entries, size_t(CANopen_Table_Capacity[T]) * CANopen_Entry_Size);
        return W.Pos();
    }
    for (int i = 0; i < CANopen_Table_Capacity[T]; ++i) {
        const TCANopen_Entry& E = Entries[i];
        U32(E.COB_ID);
        U16(E.Obj_Index);
        *P++ = E.Obj_Sub_Index;
        *P++ = E.Remote_Node;
        U32(E.Entry_Time);
        for (uint16_t A : E.Data_Address) U16(A);
        *P++ = E.Data_Len;
        *P++ = E.Entry_Mode;
        U16(E.Reserved);
    }
    return W.Pos();
}

int SDO_Server_Read_To_Bank(int Start, TBank& Bank) { return Table_To_Bank(SDO_Server_Read, Start, Bank); }
int SDO_Server_Write_To_Bank(int Start, TBank& Bank) { return Table_To_Bank(SDO_Server_Write, Start, Bank); }
int SDO_Client_Read_To_Bank(int Start, TBank& Bank) { return Table_To_Bank(SDO_Client_Read, Start, Bank); }
int SDO_Client_Write_To_Bank(int Start, TBank& Bank) { return Table_To_Bank(SDO_Client_Write, Start, Bank); }
int RPDO_To_Bank(int Start, TBank& Bank) { return Table_To_Bank(RPDO, Start, Bank); }
int TPDO_To_Bank(int Start, TBank& Bank) { return Table_To_Bank(TPDO, Start, Bank); }

int CANopen_Tables_To_Bank(int Start, TBank& Bank) {
    int P = SDO_Server_Read_To_Bank(Start, Bank);
    P = SDO_Server_Write_To_Bank(P, Bank);
    P = SDO_Client_Read_To_Bank(P, Bank);
    P = SDO_Client_Write_To_Bank(P, Bank);
    P = RPDO_To_Bank(P, Bank);
    return TPDO_To_Bank(P, Bank);
}

int OPC_UA_Server_To_Bank(int Start, TBank& Bank) {
    const TOPC_UA_Server& S = OPC_UA_Server_Block;
    TBankWriter W(Bank, Start);
    W.Need(OPC_UA_Server_Block_Size());
    W.U16(S.Port);
    W.U16(S.Num_Var);
    W.U32(S.Add_Num_Var);
    W.U32(S.Add_NTP);
    W.U32(S.NTP_Time);
    for (const TOPC_UA_Var& V : S.Variables) {
        W.U32(V.VarType);
        W.U16(V.Position);
        W.U16(V.Length);
        W.U32(V.Options);
        W.U32(V.Add_Name);
    }
    W.U8(0); // the shared empty text
    if (!S.NTP.isEmpty()) W.Text(S.NTP);
    for (const TOPC_UA_Var& V : S.Variables)
        if (!V.Name.isEmpty()) W.Text(V.Name);
    return W.Pos();
}

// ---- build and write ------------------------------------------------------------------------
void Compile_Bin(const TProjectFiles& Files) {
    // Nothing counts as built until the whole build has succeeded.
    Bank1_Len = 0;
    Bank2_Len = 0;
    Init_Param_Block();
    Init_OPC_UA_Server();
    Clear_CANopen_Tables();
    Load_ParGen_Params(Files.ParGen);
    for (int t = 0; t < CANopen_Table_Count; ++t)
        Put_U32(Param_Block, PB::Add_SDO_Server_Read + 4 * t, CANopen_Table_Address[t]);
    Put_U32(Param_Block, PB::Add_OPC_UA_Server, OPC_UA_Server_Address);
    std::array<uint32_t, CANopen_Table_Count> Counts{};
    Load_CANopen_Tables(Files, Counts);
    for (int t = 0; t < CANopen_Table_Count; ++t) Put_U32(Param_Block, PB::Num_SDO_Server_Read + 4 * t, Counts[t]);
    Load_OPC_UA_Server(Files.OPC_UA_Server, OPC_UA_Server_Address);
    const int Len1 = Param_Block_To_Bank(0, Bank1_Data);
    int Len2 = CANopen_Tables_To_Bank(0, Bank2_Data);
    Len2 = OPC_UA_Server_To_Bank(Len2, Bank2_Data);
    Bank1_Len = Len1;
    Bank2_Len = Len2;
}

void Write_Bin_Files(const QString& Project_Dir) {
    const QString Bin = IncludeTrailingPathDelimiter(Project_Dir) + "bin/";
    const QString File1 = Bin + "bank1.bin";
    const QString File2 = Bin + "bank2.bin";
    if (Bank1_Len <= 0 || Bank2_Len <= 0)
        throw EInOutError("The device images have not been built; \"bank1.bin\" and \"bank2.bin\" are not written");
    QString Current = File1;
    try {
        WriteFileAtomic(File1, QByteArray(reinterpret_cast<const char*>(Bank1_Data.data()), Bank1_Len));
        Current = File2;
        WriteFileAtomic(File2, QByteArray(reinterpret_cast<const char*>(Bank2_Data.data()), Bank2_Len));
    } catch (const Exception& E) {
        // A pair from different builds must never reach the device: drop both.
        DeleteFile(File1);
        DeleteFile(File2);
        throw EInOutError(QString("Cannot write \"%1\": %2").arg(Current, E.Message()));
    }
}

void Compile_Bin() {
    Compile_Bin(TProjectFiles{File_ParGen, File_OPC_UA_Server, File_SDO_Server_CANopen, File_SDO_Client_CANopen,
                              File_PDO_CANopen});
}

void Write_Bin_Files() {
    if (Project_Dir.isEmpty()) throw EInOutError("No project is open; the device images are not written");
    Write_Bin_Files(Project_Dir);
}
