#include "gateway/TableFile.h"

#include "GatewayTestSupport.h"
#include "gateway/GatewayTables.h"
#include "platform/xml/XMLDoc.h"

namespace {

QStringList SdoRow(const QString& Index, const QString& Mnemonic = "m") {
    return {Index, "1", "2", "10", "11", "", "", Mnemonic};
}

TTableFileData SdoServerData() {
    TTableFileData D;
    D.Tables = {TTable{{SdoRow("$2000", " spaced "), SdoRow("8193"), SdoRow("   "), SdoRow("0x2002")}, 0},
                TTable{{SdoRow("0x5FFF", "a&b<\"c\">")}, 0}};
    return D;
}

TEST(TableFileWriter, WritesRootCommentSectionsAndRowsUpToTheBlankKey) {
    TScratchDir Dir;
    Write_Table_File(SDO_Server_CANopen_File_Desc(), SdoServerData(), Dir.Path("SDO_Server_CANopen.xml"));

    TXMLDocument Doc;
    Doc.LoadFromFile(Dir.Path("SDO_Server_CANopen.xml"));
    ASSERT_EQ(Doc.ChildNodes().Count(), 2);
    EXPECT_EQ(Doc.ChildNodes().Nodes(0).NodeName(), "SDO_Server_CANopen");
    EXPECT_EQ(Doc.ChildNodes().Nodes(1).NodeType(), ntComment);
    EXPECT_EQ(Doc.ChildNodes().Nodes(1).NodeValue(), "SW_VERSION = 1.000");
    EXPECT_FALSE(Dir.Read("SDO_Server_CANopen.xml").startsWith("<?xml"));

    const IXMLNode Root = Doc.DocumentElement();
    ASSERT_EQ(Root.ChildNodes().Count(), 2);
    const IXMLNode Read = Root.ChildNodes().Nodes(0);
    EXPECT_EQ(Read.NodeName(), "SDO_Read");
    ASSERT_EQ(Read.ChildNodes().Count(), 2); // the blank key of row 3 ends the table
    const IXMLNode Row1 = Read.ChildNodes().Nodes(0);
    const QStringList Order = {"Index",      "SubIndex",   "NByte",      "Address_B1",
                               "Address_B2", "Address_B3", "Address_B4", "Mnemonic"};
    ASSERT_EQ(Row1.AttributeCount(), Order.size());
    for (int i = 0; i < Order.size(); ++i) EXPECT_EQ(Row1.AttributeName(i), Order[i]);
    EXPECT_EQ(Row1.AttributeValue(0), "$2000"); // as typed, not converted
    EXPECT_EQ(Row1.AttributeValue(7), " spaced ");
    EXPECT_EQ(Root.ChildNodes().Nodes(1).NodeName(), "SDO_Write");
}

TEST(TableFileWriter, RoundTripKeepsEveryCellText) {
    TScratchDir Dir;
    const QString File = Dir.Path("SDO_Server_CANopen.xml");
    Write_Table_File(SDO_Server_CANopen_File_Desc(), SdoServerData(), File);
    TTableFileData Back;
    Read_Table_File(SDO_Server_CANopen_File_Desc(), File, Back);
    ASSERT_EQ(Back.Tables.size(), 2);
    EXPECT_EQ(Back.Tables[0].Rows, (QList<QStringList>{SdoRow("$2000", " spaced "), SdoRow("8193")}));
    EXPECT_EQ(Back.Tables[1].Rows, (QList<QStringList>{SdoRow("0x5FFF", "a&b<\"c\">")}));
}

TEST(TableFileWriter, EmptyTablesGiveEmptySections) {
    TScratchDir Dir;
    const QString File = Dir.Path("PDO_CANopen.xml");
    Write_Table_File(PDO_CANopen_File_Desc(), TTableFileData(), File);
    TTableFileData Back;
    Read_Table_File(PDO_CANopen_File_Desc(), File, Back);
    ASSERT_EQ(Back.Tables.size(), 2);
    EXPECT_TRUE(Back.Tables[0].Rows.isEmpty());
    EXPECT_TRUE(Back.Tables[1].Rows.isEmpty());
}

TEST(TableFileWriter, RefusesMoreRowsThanTheGridHoldsAndLeavesTheFile) {
    TScratchDir Dir;
    const QString File = Dir.Path("PDO_CANopen.xml");
    Dir.Write("PDO_CANopen.xml", "old");
    TTableFileData D;
    D.Tables = {TTable()};
    for (int i = 0; i < PDO_Rows + 1; ++i) D.Tables[0].Rows << QStringList{"1", "1"};
    EXPECT_THROW(Write_Table_File(PDO_CANopen_File_Desc(), D, File), ERangeError);
    EXPECT_EQ(Dir.Read("PDO_CANopen.xml"), "old");
}

TEST(TableFileWriter, FailedSaveRaisesAndKeepsTheEarlierFile) {
    TScratchDir Dir;
    EXPECT_THROW(Write_Table_File(PDO_CANopen_File_Desc(), TTableFileData(), Dir.Path("missing/PDO_CANopen.xml")),
                 Exception);
    Block_File(Dir.Path("PDO_CANopen.xml"));
    EXPECT_THROW(Write_Table_File(PDO_CANopen_File_Desc(), TTableFileData(), Dir.Path("PDO_CANopen.xml")), Exception);
    EXPECT_TRUE(DirectoryExists(Dir.Path("PDO_CANopen.xml/keep")));
}

TEST(TableFileWriter, DescriptionVariantsRowsUnderRootNoCommentAndOwnRowName) {
    TTableFileDesc Desc;
    Desc.FileName = "DMX_Default_Values.xml";
    Desc.Root = "DMX_Default_Values";
    Desc.RowElement = "Row";
    Desc.Comment.clear();
    TTableSection S;
    S.Attributes = {{"Default_Value", true, "0"}, {"Mnemonic", true, ""}};
    S.KeyColumn = 0;
    Desc.Sections = {S};
    TTableFileData D;
    D.Tables = {TTable{{{"5", ""}, {"", "x"}}, 0}}; // no key: blank rows count
    TScratchDir Dir;
    Write_Table_File(Desc, D, Dir.Path("f.xml"));
    EXPECT_EQ(Dir.Read("f.xml").trimmed(),
              "<DMX_Default_Values><Row Default_Value=\"5\" Mnemonic=\"\"/><Row Default_Value=\"\" Mnemonic=\"x\"/>"
              "</DMX_Default_Values>");
    TTableFileData Back;
    Read_Table_File(Desc, Dir.Path("f.xml"), Back);
    EXPECT_EQ(Back.Tables[0].Rows, D.Tables[0].Rows);
}

// ---- readers --------------------------------------------------------------------------------

QByteArray SdoFile(const QByteArray& Read, const QByteArray& Write, const QByteArray& Before = "") {
    return Before + "<SDO_Server_CANopen><SDO_Read>" + Read + "</SDO_Read><SDO_Write>" + Write +
        "</SDO_Write></SDO_Server_CANopen><!--SW_VERSION = 1.000-->";
}

const QByteArray FullRow =
    R"(<row Index="$2000" SubIndex="1" NByte="1" Address_B1="5" Address_B2="" Address_B3="" Address_B4="" Mnemonic="a"/>)";
const QByteArray RowWithoutNByte =
    R"(<row Index="$2001" SubIndex="2" Address_B1="5" Address_B2="" Address_B3="" Address_B4="" Mnemonic="b"/>)";

struct TReaderCase {
    const char* Name;
    QByteArray File;
    int ReadRows; // rows of the first table after the reading
    int LastRowCells; // cells of the last row read (a failing row keeps its earlier columns)
};

// The case prints as its name wherever the test framework shows the parameter.
void PrintTo(const TReaderCase& C, std::ostream* Out) { *Out << C.Name; }

class UnguardedReader : public ::testing::TestWithParam<TReaderCase> {};

TEST_P(UnguardedReader, RaisesAndKeepsWhatWasReadBefore) {
    const TReaderCase& C = GetParam();
    TScratchDir Dir;
    Dir.Write("SDO_Server_CANopen.xml", C.File);
    TTableFileData D;
    EXPECT_THROW(Read_Table_File(SDO_Server_CANopen_File_Desc(), Dir.Path("SDO_Server_CANopen.xml"), D), EXMLDocError)
        << C.Name;
    if (C.ReadRows >= 0) {
        ASSERT_GE(D.Tables.size(), 1) << C.Name;
        EXPECT_EQ(D.Tables[0].Rows.size(), C.ReadRows) << C.Name;
        if (C.ReadRows > 0) EXPECT_EQ(D.Tables[0].Rows.last().size(), C.LastRowCells) << C.Name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnguardedReader,
    ::testing::Values(TReaderCase{"missing write section",
                                  "<SDO_Server_CANopen><SDO_Read>" + FullRow + "</SDO_Read></SDO_Server_CANopen>", 1,
                                  8},
                      TReaderCase{"missing attribute", SdoFile(FullRow + RowWithoutNByte, ""), 2, 2},
                      TReaderCase{"comment among rows", SdoFile(FullRow + "<!-- note -->" + FullRow, ""), 2, 0},
                      TReaderCase{"declaration before the root", SdoFile(FullRow, "", "<?xml version=\"1.0\"?>"), 0, 0},
                      TReaderCase{"malformed", "<SDO_Server_CANopen><SDO_Read>", -1, 0}),
    [](const auto& Info) {
        QString N = Info.param.Name;
        return N.replace(' ', '_').toStdString();
    });

TEST(UnguardedReaderValues, NonNumericTextsAreReadAsTyped) {
    TScratchDir Dir;
    Dir.Write(
        "SDO_Server_CANopen.xml",
        SdoFile(
            R"(<row Index="abc" SubIndex=" 1" NByte="" Address_B1="x" Address_B2="" Address_B3="" Address_B4="" Mnemonic=""/>)",
            ""));
    TTableFileData D;
    Read_Table_File(SDO_Server_CANopen_File_Desc(), Dir.Path("SDO_Server_CANopen.xml"), D);
    EXPECT_EQ(D.Tables[0].Rows[0].mid(0, 4), (QStringList{"abc", " 1", "", "x"}));
}

TEST(GuardedReader, OpcUaMissingAttributesTakeTheirDefaults) {
    TScratchDir Dir;
    Dir.Write("OPC_UA_Server.xml",
              "<OPC_UA_Server><OPC_UA_Server_Variables>"
              "<row Type=\"Int32\" Position=\"7\"/>"
              "<!-- a comment is a row of defaults -->"
              "<row Enable=\"n\" Type=\"Double\" Position=\"1\" Length=\"8\" Name=\"T\" ReadWrite=\"Read Only\" "
              "Mnemonic=\"d\"/>"
              "</OPC_UA_Server_Variables></OPC_UA_Server>");
    TTableFileData D;
    Read_Table_File(OPC_UA_Server_File_Desc(), Dir.Path("OPC_UA_Server.xml"), D);
    ASSERT_EQ(D.Tables[0].Rows.size(), 3);
    EXPECT_EQ(D.Tables[0].Rows[0], (QStringList{"Y", "Int32", "7", "", "", "", ""}));
    EXPECT_EQ(D.Tables[0].Rows[1], (QStringList{"Y", "", "", "", "", "", ""}));
    EXPECT_EQ(D.Tables[0].Rows[2], (QStringList{"n", "Double", "1", "8", "T", "Read Only", "d"}));
}

TEST(GuardedReader, MissingSectionStillRaises) {
    TScratchDir Dir;
    Dir.Write("OPC_UA_Server.xml", "<OPC_UA_Server/>");
    TTableFileData D;
    EXPECT_THROW(Read_Table_File(OPC_UA_Server_File_Desc(), Dir.Path("OPC_UA_Server.xml"), D), EXMLDocError);
}

TEST(TableFileReader, RowsBeyondTheGridAreCountedNotRead) {
    QByteArray Rows;
    for (int i = 0; i < PDO_Rows + 3; ++i)
        Rows +=
            R"(<row COB-ID="1" Dimension="1" Address_B1="0" Address_B2="" Address_B3="" Address_B4="" Address_B5="" Address_B6="" Address_B7="" Address_B8="" TimeOut="0" Mnemonic=""/>)";
    TScratchDir Dir;
    Dir.Write("PDO_CANopen.xml", "<PDO_CANopen><Receive_PDO>" + Rows + "</Receive_PDO><Transmit_PDO/></PDO_CANopen>");
    TTableFileData D;
    Read_Table_File(PDO_CANopen_File_Desc(), Dir.Path("PDO_CANopen.xml"), D);
    EXPECT_EQ(D.Tables[0].Rows.size(), PDO_Rows);
    EXPECT_EQ(D.Tables[0].Dropped, 3);
}

TEST(TableLength, KeyCellBlankAfterTrimmingEndsTheTable) {
    const TTableSection& S = SDO_Server_CANopen_File_Desc().Sections[0];
    struct {
        QList<QStringList> Rows;
        int Expected;
    } Cases[] = {
        {{}, 0},
        {{SdoRow(""), SdoRow("1")}, 0},
        {{SdoRow("1"), SdoRow(" \t"), SdoRow("1")}, 1},
        {{SdoRow("5 "), SdoRow("1")}, 2},
        {{SdoRow("1"), QStringList()}, 1},
    };
    for (const auto& C : Cases) EXPECT_EQ(Table_Length(S, TTable{C.Rows, 0}), C.Expected);
}

// ---- the row walk -----------------------------------------------------------------------------

// What a walk over the SDO server file saw: "section.row:Index" per row, or the error it raised.
QString Walked(const QByteArray& File, const TTableWalk& How) {
    TScratchDir Dir;
    Dir.Write("SDO_Server_CANopen.xml", File);
    QStringList Seen;
    try {
        Walk_Table_Rows(SDO_Server_CANopen_File_Desc(), Dir.Path("SDO_Server_CANopen.xml"), How,
                        [&](const TTableRow& R) {
                            const char* Index = R.Text(SDO_Server_Col::Index);
                            Seen << QString("%1.%2:%3").arg(R.Section()).arg(R.Row()).arg(Index ? Index : "-");
                        });
    } catch (const Exception& E) {
        Seen << "raised " + E.Message();
    }
    return Seen.join(' ');
}

TEST(TableRowWalk, RootRowsAndLimitAsTheCallerAsks) {
    const QByteArray Row = R"(<row Index="$2000" SubIndex="1" NByte="1"/>)";
    const TTableWalk Plain;
    TTableWalk ByName;
    ByName.RootByName = true;
    ByName.ElementsOnly = true;
    TTableWalk Limited;
    Limited.Limit = 2;
    struct {
        const char* Trace;
        QByteArray File;
        TTableWalk How;
        QString Expected;
    } Cases[] = {
        {"rows of both sections in order", SdoFile(Row + Row, Row), Plain, "0.1:$2000 0.2:$2000 1.1:$2000"},
        {"a comment is a row without attributes", SdoFile(Row + "<!--x-->", ""), Plain, "0.1:$2000 0.2:-"},
        {"only elements are rows", SdoFile(Row + "<!--x-->" + Row, ""), ByName, "0.1:$2000 0.2:$2000"},
        {"declaration before the root", SdoFile(Row, "", "<?xml version=\"1.0\"?>"), Plain,
         "raised \"SDO_Server_CANopen.xml\": section \"SDO_Read\" not found"},
        {"root found by name after a declaration", SdoFile(Row, "", "<?xml version=\"1.0\"?>"), ByName, "0.1:$2000"},
        {"root of another name", "<Other/>", ByName,
         "raised \"SDO_Server_CANopen.xml\": root element \"SDO_Server_CANopen\" not found"},
        {"rows before a missing section are handed over",
         "<SDO_Server_CANopen><SDO_Read>" + Row + "</SDO_Read></SDO_Server_CANopen>", Plain,
         "0.1:$2000 raised \"SDO_Server_CANopen.xml\": section \"SDO_Write\" not found"},
        {"within the limit", SdoFile(Row + Row, Row + Row), Limited, "0.1:$2000 0.2:$2000 1.1:$2000 1.2:$2000"},
        {"beyond the limit no row of the section is handed over", SdoFile(Row, Row + Row + "<!--x-->"), Limited,
         "0.1:$2000 raised section \"SDO_Write\" of \"SDO_Server_CANopen.xml\" holds 3 rows; the device table holds "
         "at most 2"},
    };
    for (const auto& C : Cases) EXPECT_EQ(Walked(C.File, C.How), C.Expected) << C.Trace;
}

TEST(TableRowWalk, ValuesNumbersAndRefusalsNameFileSectionRowAndAttribute) {
    TScratchDir Dir;
    Dir.Write("OPC_UA_Server.xml",
              R"(<OPC_UA_Server><OPC_UA_Server_Variables><row Type="Int32" Position="seven"/>)"
              R"(</OPC_UA_Server_Variables></OPC_UA_Server>)");
    Dir.Write("SDO_Server_CANopen.xml", SdoFile(R"(<row Index="0x2000" SubIndex="1"/>)", ""));
    using namespace OPC_UA_Col;
    Walk_Table_Rows(OPC_UA_Server_File_Desc(), Dir.Path("OPC_UA_Server.xml"), TTableWalk(), [](const TTableRow& R) {
        EXPECT_EQ(R.Value(Enable), "Y"); // guarded: its default
        EXPECT_EQ(R.Text(Enable), nullptr);
        EXPECT_EQ(R.Value(Type), "Int32");
        EXPECT_EQ(R.Text(99), nullptr);
        try {
            R.Number(Position);
            ADD_FAILURE() << "not a number accepted";
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(),
                      "section \"OPC_UA_Server_Variables\" of \"OPC_UA_Server.xml\": row 1: \"seven\" is "
                      "not a valid number for \"Position\"");
        }
        try {
            R.Refuse(Type, "is not wanted here");
        } catch (const ERangeError& E) {
            EXPECT_EQ(E.Message(),
                      "section \"OPC_UA_Server_Variables\" of \"OPC_UA_Server.xml\": row 1: \"Int32\" for "
                      "\"Type\" is not wanted here");
        }
    });
    Walk_Table_Rows(SDO_Server_CANopen_File_Desc(), Dir.Path("SDO_Server_CANopen.xml"), TTableWalk(),
                    [](const TTableRow& R) {
                        EXPECT_EQ(R.Number(SDO_Server_Col::Index), 0x2000);
                        // Unguarded: a missing attribute raises, as a number and as a value.
                        for (int Way = 0; Way < 2; ++Way) {
                            try {
                                if (Way == 0)
                                    R.Number(SDO_Server_Col::NByte);
                                else
                                    R.Value(SDO_Server_Col::NByte);
                                ADD_FAILURE() << "missing attribute accepted " << Way;
                            } catch (const EXMLDocError& E) {
                                EXPECT_EQ(E.Message(),
                                          "section \"SDO_Read\" of \"SDO_Server_CANopen.xml\": row 1 has "
                                          "no attribute \"NByte\"");
                            }
                        }
                    });
}

} // namespace
