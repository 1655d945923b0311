#include "gateway/GatewayTables.h"

#include "app/ULanguage.h"

#include <map>

static TTableSection Section(const QString& Name, const QStringList& Attributes, int Capacity) {
    TTableSection S;
    S.Name = Name;
    S.Attributes = Unguarded_Attributes(Attributes);
    S.KeyColumn = 1;
    S.TrimKey = true;
    S.Capacity = Capacity;
    return S;
}

// The attribute names in column order, each given with the column it fills.
static QStringList Columns(std::initializer_list<std::pair<int, const char*>> Named) {
    QStringList Names(int(Named.size()));
    for (const auto& [Col, Name] : Named) Names[Col - 1] = QString::fromLatin1(Name);
    return Names;
}

// COB-ID, Dimension, Address_B1 .. Address_B8, then the time, On_Change when sent on change,
// and Mnemonic (Receive_PDO_Col, Transmit_PDO_Col).
static QStringList PDO_Columns(const char* TimeName, bool OnChange) {
    QStringList Names = {"COB-ID", "Dimension"};
    for (int b = 1; b <= 8; ++b) Names << QString("Address_B%1").arg(b);
    Names << TimeName;
    if (OnChange) Names << "On_Change";
    return Names << "Mnemonic";
}

const TTableFileDesc& OPC_UA_Server_File_Desc() {
    static const TTableFileDesc Desc = [] {
        using namespace OPC_UA_Col;
        TTableFileDesc D;
        D.FileName = "OPC_UA_Server.xml";
        D.Root = "OPC_UA_Server";
        TTableSection S;
        S.Name = "OPC_UA_Server_Variables";
        const QStringList Names = Columns({{Enable, "Enable"},
                                           {Type, "Type"},
                                           {Position, "Position"},
                                           {Length, "Length"},
                                           {Name, "Name"},
                                           {ReadWrite, "ReadWrite"},
                                           {Mnemonic, "Mnemonic"}});
        // Every attribute is read under its own guard; a missing Enable means enabled.
        for (const QString& N : Names) S.Attributes << TTableAttribute{N, true, N == "Enable" ? "Y" : ""};
        S.KeyColumn = Type;
        S.TrimKey = true;
        S.Capacity = OPC_UA_Server_Rows;
        D.Sections = {S};
        return D;
    }();
    return Desc;
}

const TTableFileDesc& SDO_Server_CANopen_File_Desc() {
    static const TTableFileDesc Desc = [] {
        using namespace SDO_Server_Col;
        TTableFileDesc D;
        D.FileName = "SDO_Server_CANopen.xml";
        D.Root = "SDO_Server_CANopen";
        const QStringList A = Columns({{Index, "Index"},
                                       {SubIndex, "SubIndex"},
                                       {NByte, "NByte"},
                                       {Address_B1, "Address_B1"},
                                       {Address_B2, "Address_B2"},
                                       {Address_B3, "Address_B3"},
                                       {Address_B4, "Address_B4"},
                                       {Mnemonic, "Mnemonic"}});
        D.Sections = {Section("SDO_Read", A, SDO_Server_Rows), Section("SDO_Write", A, SDO_Server_Rows)};
        return D;
    }();
    return Desc;
}

const TTableFileDesc& SDO_Client_CANopen_File_Desc() {
    static const TTableFileDesc Desc = [] {
        TTableFileDesc D;
        D.FileName = "SDO_Client_CANopen.xml";
        D.Root = "SDO_Client_CANopen";
        namespace R = SDO_Client_Read_Col;
        namespace W = SDO_Client_Write_Col;
        const QStringList Read = Columns({{R::Device_ID, "Device_ID"},
                                          {R::Index, "Index"},
                                          {R::SubIndex, "SubIndex"},
                                          {R::NByte, "NByte"},
                                          {R::Poll_Time, "Poll_Time"},
                                          {R::Address_B1, "Address_B1"},
                                          {R::Address_B2, "Address_B2"},
                                          {R::Address_B3, "Address_B3"},
                                          {R::Address_B4, "Address_B4"},
                                          {R::Mnemonic, "Mnemonic"}});
        QStringList Write = Read;
        Write.insert(W::On_Change - 1, "On_Change");
        D.Sections = {Section("SDO_Read", Read, SDO_Client_Rows), Section("SDO_Write", Write, SDO_Client_Rows)};
        return D;
    }();
    return Desc;
}

const TTableFileDesc& PDO_CANopen_File_Desc() {
    static const TTableFileDesc Desc = [] {
        TTableFileDesc D;
        D.FileName = "PDO_CANopen.xml";
        D.Root = "PDO_CANopen";
        D.Sections = {Section("Receive_PDO", PDO_Columns("TimeOut", false), PDO_Rows),
                      Section("Transmit_PDO", PDO_Columns("Send_Time", true), PDO_Rows)};
        return D;
    }();
    return Desc;
}

// Index, SubIndex, NByte, then the positions the size calls for.
static TTableCheck SDO_Server_Check(int First, int Size) {
    TTableCheck C;
    C.ErrorRowText = 2750;
    C.Steps = {Range_Step(1, 0x2000, 0x5FFF, First),    Range_Step(2, 0, 255, First + 1),
               Set_Step(3, {1, 2, 4}, First + 2),       Position_Step(4, Size, First + 3),
               Position_Step(5, Size, First + 4, 3, 2), Position_Step(6, Size, First + 5, 3, 4),
               Position_Step(7, Size, First + 6, 3, 4)};
    return C;
}

std::optional<TSDO_Server_Duplicate> Find_SDO_Server_Duplicate(const TTableFileData& Data) {
    const TTableFileDesc& Desc = SDO_Server_CANopen_File_Desc();
    std::map<std::pair<int, int>, std::pair<int, int>> First; // (Index, SubIndex) -> (table, row)
    for (int t = 0; t < Desc.Sections.size() && t < Data.Tables.size(); ++t) {
        const TTable& Table = Data.Tables[t];
        const int Len = Table_Length(Desc.Sections[t], Table);
        for (int r = 0; r < Len; ++r) {
            const std::pair<int, int> Key{CellValue(Table_Cell(Table.Rows[r], SDO_Server_Col::Index)),
                                          CellValue(Table_Cell(Table.Rows[r], SDO_Server_Col::SubIndex))};
            const auto [It, New] = First.emplace(Key, std::pair<int, int>{t, r + 1});
            if (!New) return TSDO_Server_Duplicate{It->second.first, It->second.second, t, r + 1};
        }
    }
    return std::nullopt;
}

std::optional<TCheckError> Check_SDO_Server_CANopen(const TTableFileData& Data, const TLangLookup& Lang, int NByte_IN,
                                                    int NByte_OUT) {
    if (auto Error = Check_Tables(SDO_Server_CANopen_File_Desc(),
                                  {SDO_Server_Check(2751, NByte_IN), SDO_Server_Check(2758, NByte_OUT)}, Data, Lang))
        return Error;
    // One object of the dictionary per (Index, SubIndex): a second row would give the device two
    // entries and the data sheet two sections of one name.
    const std::optional<TSDO_Server_Duplicate> Dup = Find_SDO_Server_Duplicate(Data);
    if (!Dup) return std::nullopt;
    TCheckError Error;
    Error.Table = Dup->Table;
    Error.Row = Dup->Row;
    Error.Column = SDO_Server_Col::Index;
    Error.MessageNumbers = {2750, Dup->Table == 0 ? 2766 : 2767};
    Error.Text =
        Compose_Check_Message(Error, Lang) + IntToStr(Dup->First_Row) + Lang(Dup->First_Table == 0 ? 2768 : 2769);
    return Error;
}

static TTableCheck SDO_Client_Check(int First, int Size, int MinPoll, int FirstAddressCol) {
    TTableCheck C;
    C.ErrorRowText = 2660;
    const int A = FirstAddressCol;
    C.Steps = {Range_Step(1, 1, 127, First),
               Range_Step(2, 0x1000, 0xFFFF, First + 1),
               Range_Step(3, 0, 255, First + 2),
               Set_Step(4, {1, 2, 4}, First + 3),
               Range_Step(5, MinPoll, 100000000, First + 4),
               Position_Step(A, Size, First + 5),
               Position_Step(A + 1, Size, First + 6, 4, 2),
               Position_Step(A + 2, Size, First + 7, 4, 4),
               Position_Step(A + 3, Size, First + 8, 4, 4)};
    return C;
}

std::optional<TCheckError> Check_SDO_Client_CANopen(const TTableFileData& Data, const TLangLookup& Lang, int NByte_IN,
                                                    int NByte_OUT) {
    return Check_Tables(SDO_Client_CANopen_File_Desc(),
                        {SDO_Client_Check(2661, NByte_IN, 1, 6), SDO_Client_Check(2670, NByte_OUT, 0, 7)}, Data, Lang);
}

static TTableCheck PDO_Check(int First, int Size, int TimeMax) {
    TTableCheck C;
    C.ErrorRowText = 2568;
    C.Steps = {Range_Step(1, 0, 0x7FF, First), Range_Step(2, 1, 8, First + 1), Position_Step(3, Size, First + 2)};
    for (int b = 2; b <= 8; ++b) C.Steps << Position_Step(2 + b, Size, First + 1 + b, 2, b);
    C.Steps << Range_Step(11, 0, TimeMax, First + 10);
    return C;
}

std::optional<TCheckError> Check_PDO_CANopen(const TTableFileData& Data, const TLangLookup& Lang, int NByte_IN,
                                             int NByte_OUT) {
    return Check_Tables(PDO_CANopen_File_Desc(),
                        {PDO_Check(2569, NByte_IN, 65535), PDO_Check(2580, NByte_OUT, 100000000)}, Data, Lang);
}

QString Lang_Format(const TLangLookup& Lang, int Number, const QList<TVarRec>& Args) {
    try {
        return Format(Lang(Number), Args);
    } catch (const EConvertError&) {
        // A translation whose placeholders do not fit the values: the built-in text says it.
        return Format(English_Table().value(Number), Args);
    }
}

bool OPC_UA_Name_Storable(const QString& Name) {
    for (const QChar C : Name)
        if (C.unicode() > 0xFF) return false;
    return true;
}

std::optional<TCheckError> Check_OPC_UA_Server(const TTable& Table, const TLangLookup& Lang) {
    const int Len = Table_Length(OPC_UA_Server_File_Desc().Sections.first(), Table);
    for (int r = 0; r < Len; ++r) {
        const QStringList& Row = Table.Rows[r];
        if (!OPC_UA_Enabled(Table_Cell(Row, OPC_UA_Col::Enable))) continue;
        TCheckError Error;
        Error.Row = r + 1;
        const int Position = CellValue(Table_Cell(Row, OPC_UA_Col::Position));
        if (Position < 0 || Position > OPC_UA_Data_Array_Size - 1) {
            Error.Column = OPC_UA_Col::Position;
            Error.MessageNumbers = {1427};
            Error.Value = OPC_UA_Data_Array_Size - 1;
            Error.Text = Lang_Format(Lang, 1427, {Error.Row, Error.Value});
            return Error;
        }
        if (!OPC_UA_Name_Storable(Table_Cell(Row, OPC_UA_Col::Name))) {
            Error.Column = OPC_UA_Col::Name;
            Error.MessageNumbers = {1431};
            Error.Text = Lang_Format(Lang, 1431, {Error.Row});
            return Error;
        }
    }
    return std::nullopt;
}

bool OPC_UA_Enabled(const std::optional<QString>& Enable) { return !Enable.has_value() || *Enable != "N"; }

const QStringList& OPC_UA_VarType_List() {
    static const QStringList List = {"Boolean", "Signed Byte", "Byte",  "Int16",  "UInt16", "Int32",     "UInt32",
                                     "Int64",   "UInt64",      "Float", "Double", "String", "ByteString"};
    return List;
}

const QStringList& OPC_UA_RWType_List() {
    static const QStringList List = {"Read Only", "Read/Write"};
    return List;
}

std::optional<TVarLength> OPC_UA_Type_Length(const QString& Type) {
    if (Type == "Boolean" || Type == "Signed Byte" || Type == "Byte") return TVarLength{"1", true};
    if (Type == "Int16" || Type == "UInt16") return TVarLength{"2", true};
    if (Type == "Int32" || Type == "UInt32" || Type == "Float") return TVarLength{"4", true};
    if (Type == "Int64" || Type == "UInt64" || Type == "Double") return TVarLength{"8", true};
    if (Type == "String" || Type == "ByteString") return TVarLength{"10", false};
    return std::nullopt;
}

void VarSetLength(const QString& ASelection, QStringList& Row, bool& LengthReadOnly) {
    while (Row.size() < 7) Row << QString();
    if (const auto L = OPC_UA_Type_Length(ASelection)) {
        Row[3] = L->Length;
        LengthReadOnly = L->ReadOnly;
    }
    if (Row[5].isEmpty()) Row[5] = "Read/Write";
}
