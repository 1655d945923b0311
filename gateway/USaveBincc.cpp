#include "gateway/USaveBincc.h"

#include "app/UComon.h"
#include "gateway/GatewayTables.h"
#include "platform/rtl/Files.h"
#include "platform/xml/XMLDoc.h"

#include <bit>
#include <cstddef>
#include <cstring>
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
// Where a table's rows keep each field of an entry: grid columns of its file's section, 0 for a
// field the table does not have.
struct TEntry_Columns {
    int Device_ID = 0, Index = 0, SubIndex = 0, NByte = 0, Poll_Time = 0, On_Change = 0;
    int COB_ID = 0, Dimension = 0, Address_B1 = 0, Entry_Time = 0;
};

const TEntry_Columns& Entry_Columns(TCANopen_Table T) {
    static const TEntry_Columns Server = [] {
        using namespace SDO_Server_Col;
        TEntry_Columns C;
        C.Index = Index;
        C.SubIndex = SubIndex;
        C.NByte = NByte;
        C.Address_B1 = Address_B1;
        return C;
    }();
    static const TEntry_Columns Client_Read = [] {
        using namespace SDO_Client_Read_Col;
        TEntry_Columns C;
        C.Device_ID = Device_ID;
        C.Index = Index;
        C.SubIndex = SubIndex;
        C.NByte = NByte;
        C.Poll_Time = Poll_Time;
        C.Address_B1 = Address_B1;
        return C;
    }();
    static const TEntry_Columns Client_Write = [] {
        using namespace SDO_Client_Write_Col;
        TEntry_Columns C;
        C.Device_ID = Device_ID;
        C.Index = Index;
        C.SubIndex = SubIndex;
        C.NByte = NByte;
        C.Poll_Time = Poll_Time;
        C.On_Change = On_Change;
        C.Address_B1 = Address_B1;
        return C;
    }();
    static const TEntry_Columns Receive = [] {
        using namespace Receive_PDO_Col;
        TEntry_Columns C;
        C.COB_ID = COB_ID;
        C.Dimension = Dimension;
        C.Address_B1 = Address_B1;
        C.Entry_Time = TimeOut;
        return C;
    }();
    static const TEntry_Columns Transmit = [] {
        using namespace Transmit_PDO_Col;
        TEntry_Columns C;
        C.COB_ID = COB_ID;
        C.Dimension = Dimension;
        C.Address_B1 = Address_B1;
        C.Entry_Time = Send_Time;
        C.On_Change = On_Change;
        return C;
    }();
    switch (T) {
        case SDO_Server_Read:
        case SDO_Server_Write: return Server;
        case SDO_Client_Read: return Client_Read;
        case SDO_Client_Write: return Client_Write;
        case RPDO: return Receive;
        case TPDO: return Transmit;
    }
    return Server;
}
} // namespace

// The entry mode of a table whose rows may be sent on change, as the row's On_Change says.
static TEntry_Mode On_Change_Mode(const TTableRow& R, int Col) {
    const char* T = R.Text(Col);
    return T && std::strcmp(T, "Y") == 0 ? Entry_Mode_Write_On_Change : Entry_Mode_Write;
}

static void Fill_Entry(TCANopen_Table T, const TTableRow& R, TCANopen_Entry& E) {
    const TEntry_Columns& C = Entry_Columns(T);
    E = TCANopen_Entry();
    std::fill(std::begin(E.Data_Address), std::end(E.Data_Address), uint16_t(0));
    const bool Sdo = T == SDO_Server_Read || T == SDO_Server_Write || T == SDO_Client_Read || T == SDO_Client_Write;
    const bool Client = T == SDO_Client_Read || T == SDO_Client_Write;
    if (Sdo) {
        if (Client) E.Remote_Node = uint8_t(R.Number(C.Device_ID));
        E.Obj_Index = uint16_t(R.Number(C.Index));
        E.Obj_Sub_Index = uint8_t(R.Number(C.SubIndex));
        E.Data_Len = uint8_t(R.Number(C.NByte));
        if (Client) E.Entry_Time = uint32_t(R.Number(C.Poll_Time));
        if (T == SDO_Client_Write) E.Entry_Mode = On_Change_Mode(R, C.On_Change);
        // The value bytes sit in the upper four address words.
        E.Data_Address[4] = uint16_t(R.Number(C.Address_B1));
        if (E.Data_Len >= 2) E.Data_Address[5] = uint16_t(R.Number(C.Address_B1 + 1));
        if (E.Data_Len >= 4) {
            E.Data_Address[6] = uint16_t(R.Number(C.Address_B1 + 2));
            E.Data_Address[7] = uint16_t(R.Number(C.Address_B1 + 3));
        }
    } else {
        E.COB_ID = uint32_t(R.Number(C.COB_ID));
        E.Data_Len = uint8_t(R.Number(C.Dimension));
        for (int b = 1; b <= 8; ++b)
            if (b == 1 || E.Data_Len >= b) E.Data_Address[b - 1] = uint16_t(R.Number(C.Address_B1 + b - 1));
        E.Entry_Time = uint32_t(R.Number(C.Entry_Time));
    }
    if (T == SDO_Server_Write) E.Entry_Mode = Entry_Mode_Write;
    if (T == TPDO) E.Entry_Mode = On_Change_Mode(R, C.On_Change);
}

void Load_CANopen_Tables(const TProjectFiles& Files, std::array<uint32_t, CANopen_Table_Count>& Counts) {
    struct TFilePart {
        QString Path;
        const TTableFileDesc& Desc;
        TCANopen_Table First; // the table of the file's first section; the second section's follows
    };
    const TFilePart Parts[] = {{Files.SDO_Server_CANopen, SDO_Server_CANopen_File_Desc(), SDO_Server_Read},
                               {Files.SDO_Client_CANopen, SDO_Client_CANopen_File_Desc(), SDO_Client_Read},
                               {Files.PDO_CANopen, PDO_CANopen_File_Desc(), RPDO}};
    for (const TFilePart& P : Parts) {
        Counts[P.First] = 0;
        Counts[P.First + 1] = 0;
        if (!FileExists(P.Path)) continue;
        TTableWalk How;
        How.Limit = CANopen_Table_Capacity[P.First]; // both tables of a file hold as many entries
        Walk_Table_Rows(P.Desc, P.Path, How, [&](const TTableRow& R) {
            const TCANopen_Table T = TCANopen_Table(P.First + R.Section());
            Fill_Entry(T, R, Table_Entries(T)[Counts[T]]);
            ++Counts[T];
        });
    }
}

// ---- OPC UA server block --------------------------------------------------------------------
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
        S.Variables.clear();
        bool Full = false;
        TTableWalk How;
        How.RootByName = true;
        // Only elements are variables: a comment among the rows is not one, even though a row
        // element without "Enable" counts as enabled.
        How.ElementsOnly = true;
        Walk_Table_Rows(OPC_UA_Server_File_Desc(), File_OPC_UA_Server, How, [&](const TTableRow& R) {
            using namespace OPC_UA_Col;
            // The block must fit in the image; stop taking rows long before any field could wrap.
            if (Full) return;
            const char* Enabled = R.Text(Enable);
            if (!OPC_UA_Enabled(Enabled ? std::optional<QString>(QString::fromUtf8(Enabled)) : std::nullopt)) return;
            TOPC_UA_Var V;
            const char* TypeText = R.Text(Type);
            V.VarType = Get_OPC_UA_VarType(TypeText ? QString::fromUtf8(TypeText) : QString());
            int Number = 0;
            const char* PositionText = R.Text(Position);
            V.Position = uint16_t(PositionText ? (TryStrToInt(PositionText, Number) ? Number : 0) : 0);
            const char* LengthText = R.Text(Length);
            V.Length = uint16_t(LengthText ? (TryStrToInt(LengthText, Number) ? Number : 1) : 0);
            const char* Access = R.Text(ReadWrite);
            V.Options = Access && std::strcmp(Access, "Read/Write") == 0 ? 1 : 0;
            if (const char* NameText = R.Text(Name)) V.Name = QString::fromUtf8(NameText);
            S.Variables.append(V);
            Full = 16 + 16 * S.Variables.size() > OPC_UA_Server_Room;
        });
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
