#include "platform/xml/XMLDoc.h"

#include "platform/rtl/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Readable failure output for texts.
inline void PrintTo(const QString& S, std::ostream* Os) { *Os << '"' << S.toStdString() << '"'; }

namespace {

QByteArray ReadAll(const QString& Path) {
    QFile F(Path);
    EXPECT_TRUE(F.open(QIODevice::ReadOnly)) << Path.toStdString();
    return F.readAll();
}

void WriteAll(const QString& Path, const QByteArray& Data) {
    QFile F(Path);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
    F.write(Data);
}

class XMLDocFile : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString Path(const QString& Name) const { return Dir.filePath(Name); }
};

// The shape of a project table file as the table windows write it.
void BuildTable(TXMLDocument& Doc) {
    Doc.SetActive(true);
    Doc.ChildNodes().Clear();
    IXMLNode Root = Doc.AddChild("SDO_Client_CANopen");
    IXMLNode Comment = Doc.CreateNode("SW_VERSION = 1.000", ntComment);
    Doc.ChildNodes().Add(Comment);
    IXMLNode Read = Root.AddChild("SDO_Read");
    IXMLNode Row = Read.AddChild("row");
    Row.SetAttribute("Device_ID", "  5");
    Row.SetAttribute("Index", "$2000");
    Row.SetAttribute("Mnemonic", "");
    Row = Read.AddChild("row");
    Row.SetAttribute("Device_ID", "7 ");
    Row.SetAttribute("Index", "x & <y> \"q\" 'a' \xC3\xA9\xE2\x82\xAC");
    Row.SetAttribute("Mnemonic", "end");
    Root.AddChild("SDO_Write");
}

} // namespace

TEST(XMLDoc, WritesRootThenCommentWithoutDeclarationOrIndentation) {
    TXMLDocument Doc;
    BuildTable(Doc);
    EXPECT_EQ(
        Doc.SaveToXML(),
        QString(
            "<SDO_Client_CANopen><SDO_Read>"
            "<row Device_ID=\"  5\" Index=\"$2000\" Mnemonic=\"\"/>"
            "<row Device_ID=\"7 \" Index=\"x &amp; &lt;y> &quot;q&quot; 'a' \xC3\xA9\xE2\x82\xAC\" Mnemonic=\"end\"/>"
            "</SDO_Read><SDO_Write/></SDO_Client_CANopen>\n"
            "<!--SW_VERSION = 1.000-->\n"));
    ASSERT_EQ(Doc.ChildNodes().Count(), 2);
    EXPECT_EQ(Doc.ChildNodes()[1].NodeType(), ntComment);
    EXPECT_EQ(Doc.ChildNodes()[1].NodeValue(), "SW_VERSION = 1.000");
}

TEST(XMLDoc, DeclarationOnlyWhenAskedOrKept) {
    TXMLDocument Doc;
    Doc.AddChild("Conf_Settings");
    EXPECT_EQ(Doc.SaveToXML(), "<Conf_Settings/>\n");
    Doc.SetWriteDeclaration(true);
    EXPECT_EQ(Doc.SaveToXML(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Conf_Settings/>\n");

    // A loaded declaration is a node of the document and is written back, now naming UTF-8.
    TXMLDocument Loaded;
    Loaded.LoadFromBytes("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>");
    EXPECT_EQ(Loaded.ChildNodes()[1].Text(), QString::fromUtf8("\xC3\xA9"));
    EXPECT_EQ(Loaded.SaveToBytes(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a>\xC3\xA9</a>\n");
    Loaded.SetWriteDeclaration(true); // no second declaration
    EXPECT_EQ(Loaded.SaveToBytes().count("<?xml"), 1);
}

TEST(XMLDoc, AttributesKeepInsertionOrderAndPlace) {
    TXMLDocument Doc;
    IXMLNode Row = Doc.AddChild("row");
    Row.SetAttribute("B", "1");
    Row.SetAttribute("A", "2");
    Row.SetAttribute("C", "3");
    Row.SetAttribute("A", "changed"); // keeps its place
    ASSERT_EQ(Row.AttributeCount(), 3);
    EXPECT_EQ(Row.AttributeName(0), "B");
    EXPECT_EQ(Row.AttributeName(1), "A");
    EXPECT_EQ(Row.AttributeValue(1), "changed");
    EXPECT_EQ(Row.AttributeName(2), "C");
    EXPECT_THROW(Row.AttributeName(3), EXMLDocError);
}

TEST(XMLDoc, AnAttributeWithoutANameIsRefusedAndTheFileStaysWellFormed) {
    TXMLDocument Doc;
    IXMLNode Row = Doc.AddChild("row");
    Row.SetAttribute("A", "1");
    EXPECT_THROW(Row.SetAttribute("", "x"), EXMLDocError); // on a new row...
    EXPECT_THROW(Row.SetAttribute("", ""), EXMLDocError);
    ASSERT_EQ(Row.AttributeCount(), 1);
    const QString Xml = Doc.SaveToXML();
    EXPECT_EQ(Xml, "<row A=\"1\"/>\n");

    TXMLDocument Loaded;
    Loaded.LoadFromXML(Xml);
    IXMLNode Old = Loaded.DocumentElement();
    EXPECT_THROW(Old.SetAttribute("", "y"), EXMLDocError); // ...and on one read from a file
    ASSERT_EQ(Old.AttributeCount(), 1);
    EXPECT_EQ(Loaded.SaveToXML(), Xml);
}

TEST(XMLDoc, MissingAttributeIsNotAnEmptyOne) {
    TXMLDocument Doc;
    Doc.LoadFromXML("<R><S><row Index=\"\" NByte=\"4\"/></S></R>");
    IXMLNode Row = Doc.DocumentElement().FindNode("S").ChildNodes()[0];
    EXPECT_TRUE(Row.HasAttribute("Index"));
    EXPECT_EQ(Row.Attributes("Index"), std::optional<QString>(""));
    EXPECT_EQ(Row.AttributeText("Index"), "");
    EXPECT_FALSE(Row.HasAttribute("SubIndex"));
    EXPECT_EQ(Row.Attributes("SubIndex"), std::nullopt);
    try {
        Row.AttributeText("SubIndex");
        FAIL() << "a missing attribute must raise";
    } catch (const EXMLDocError& E) {
        EXPECT_TRUE(E.Message().contains("SubIndex"));
        EXPECT_TRUE(E.Message().contains("row"));
    }
}

TEST_F(XMLDocFile, RoundTripKeepsEveryTextAsTyped) {
    TXMLDocument Doc;
    BuildTable(Doc);
    IXMLNode Par = Doc.DocumentElement().AddChild("NTP_Server_URL");
    Par.SetText("  pool.ntp.org ");
    Doc.DocumentElement().AddChild("Blank").SetText("   ");
    Doc.DocumentElement().AddChild("Empty").SetText("");
    Doc.SaveToFile(Path("t.xml"));

    TXMLDocument Back;
    Back.LoadFromFile(Path("t.xml"));
    EXPECT_EQ(Back.SaveToBytes(), Doc.SaveToBytes());
    IXMLNode Root = Back.DocumentElement();
    EXPECT_EQ(Root.NodeName(), "SDO_Client_CANopen");
    IXMLNode Rows = Root.FindNode("SDO_Read");
    ASSERT_EQ(Rows.ChildNodes().Count(), 2);
    EXPECT_EQ(Rows.ChildNodes()[0].AttributeText("Device_ID"), "  5");
    EXPECT_EQ(Rows.ChildNodes()[1].AttributeText("Device_ID"), "7 ");
    EXPECT_EQ(Rows.ChildNodes()[1].AttributeText("Index"), QString::fromUtf8("x & <y> \"q\" 'a' \xC3\xA9\xE2\x82\xAC"));
    EXPECT_EQ(Root.FindNode("SDO_Write").ChildNodes().Count(), 0);
    EXPECT_EQ(Root.FindNode("NTP_Server_URL").Text(), "  pool.ntp.org ");
    EXPECT_EQ(Root.FindNode("Blank").Text(), "   ");
    EXPECT_EQ(Root.FindNode("Empty").Text(), "");
    EXPECT_EQ(Back.ChildNodes()[1].NodeValue(), "SW_VERSION = 1.000");
}

TEST(XMLDoc, ControlCharactersInAttributesSurviveTheRoundTrip) {
    TXMLDocument Doc;
    Doc.AddChild("row").SetAttribute("Mnemonic", "a\tb\nc\rd");
    TXMLDocument Back;
    Back.LoadFromXML(Doc.SaveToXML());
    EXPECT_EQ(Back.DocumentElement().AttributeText("Mnemonic"), "a\tb\nc\rd");
}

// Whatever the file has first is the document's first node; only an element yields sections.
TEST(XMLDoc, FirstNodeOfTheDocumentIsWhatTheFileHasFirst) {
    struct Case {
        const char* Xml;
        TXMLNodeType FirstType;
        const char* FirstName;
        bool SectionFound;
    } Cases[] = {
        {"<R><S/></R>", ntElement, "R", true},
        {"<?xml version=\"1.0\"?><R><S/></R>", ntProcessingInstr, "xml", false},
        {"<!--note--><R><S/></R>", ntComment, "#comment", false},
        {"<?xml version=\"1.0\"?>\n<!--c-->\n<R><S/></R>", ntProcessingInstr, "xml", false},
        {"<!DOCTYPE R><R><S/></R>", ntDocType, "", false},
        {"<?app data?><R><S/></R>", ntProcessingInstr, "app", false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Xml);
        TXMLDocument Doc;
        Doc.LoadFromXML(C.Xml);
        IXMLNode First = Doc.DocumentElement();
        ASSERT_FALSE(First.IsNull());
        EXPECT_EQ(First.NodeType(), C.FirstType);
        if (C.FirstType != ntDocType) {
            EXPECT_EQ(First.NodeName(), C.FirstName);
        }
        EXPECT_EQ(!First.FindNode("S").IsNull(), C.SectionFound);
        EXPECT_EQ(Doc.ChildNodes().FindNode("R").NodeName(), "R"); // the lookup by name still finds it
        EXPECT_EQ(Doc.RootElement().NodeName(), "R");
    }
}

TEST(XMLDoc, EmptyDocumentHasNoFirstNodeAndUnguardedReadsRaise) {
    TXMLDocument Doc;
    EXPECT_TRUE(Doc.DocumentElement().IsNull());
    EXPECT_EQ(Doc.ChildNodes().Count(), 0);
    EXPECT_THROW(Doc.DocumentElement().FindNode("S"), EXMLDocError);
    EXPECT_THROW(Doc.DocumentElement().Text(), EXMLDocError);
    Doc.LoadFromXML("<R/>");
    EXPECT_TRUE(Doc.DocumentElement().FindNode("S").IsNull());
    EXPECT_THROW(Doc.DocumentElement().FindNode("S").ChildNodes(), EXMLDocError);
}

TEST(XMLDoc, CommentsAmongRowsCountByPosition) {
    TXMLDocument Doc;
    Doc.LoadFromXML("<R><S><row a=\"1\"/><!-- removed --><row a=\"2\"/><![CDATA[x]]></S></R>");
    IXMLNodeList Rows = Doc.DocumentElement().FindNode("S").ChildNodes();
    ASSERT_EQ(Rows.Count(), 4);
    EXPECT_EQ(Rows[0].AttributeText("a"), "1");
    EXPECT_EQ(Rows[1].NodeType(), ntComment);
    EXPECT_EQ(Rows[1].Attributes("a"), std::nullopt);
    EXPECT_THROW(Rows[1].AttributeText("a"), EXMLDocError);
    EXPECT_EQ(Rows[2].AttributeText("a"), "2");
    EXPECT_EQ(Rows[3].NodeType(), ntCData);
    EXPECT_THROW(Rows.Nodes(4), EXMLDocError);
    EXPECT_THROW(Rows.Nodes(-1), EXMLDocError);
}

TEST(XMLDoc, IndentationIsNotContent) {
    TXMLDocument Doc;
    Doc.LoadFromXML("<R>\n"
                    "  <S>\n"
                    "    <row a=\"1\"/>\n"
                    "    <row a=\"2\"/>\n"
                    "  </S>\n"
                    "  <Empty>\n"
                    "  </Empty>\n"
                    "  <Blank>   </Blank>\n"
                    "  <Padded>  x </Padded>\n"
                    "</R>\n"
                    "<!--SW_VERSION = 1.000-->\n");
    IXMLNode Root = Doc.DocumentElement();
    EXPECT_EQ(Root.ChildNodes().Count(), 4);
    EXPECT_EQ(Root.FindNode("S").ChildNodes().Count(), 2);
    EXPECT_EQ(Root.FindNode("Empty").ChildNodes().Count(), 0);
    EXPECT_EQ(Root.FindNode("Blank").Text(), "   ");
    EXPECT_EQ(Root.FindNode("Padded").Text(), "  x ");
    EXPECT_EQ(Doc.ChildNodes().Count(), 2);
}

TEST(XMLDoc, ElementText) {
    TXMLDocument Doc;
    Doc.LoadFromXML("<R><Mixed>a<b/>c<![CDATA[ d]]></Mixed><T>v</T></R>");
    IXMLNode Mixed = Doc.DocumentElement().FindNode("Mixed");
    EXPECT_EQ(Mixed.Text(), "ac d");
    EXPECT_FALSE(Mixed.IsTextElement());
    EXPECT_TRUE(Doc.DocumentElement().FindNode("T").IsTextElement());
    Mixed.SetText("new");
    EXPECT_EQ(Mixed.ChildNodes().Count(), 1);
    EXPECT_EQ(Mixed.NodeValue(), "new");
    Mixed.SetText("");
    EXPECT_FALSE(Mixed.HasChildNodes());
    EXPECT_EQ(Doc.SaveToXML(), "<R><Mixed/><T>v</T></R>\n");
}

TEST(XMLDoc, CreatedNodesAppearOnlyWhereAdded) {
    TXMLDocument Doc;
    IXMLNode Root = Doc.AddChild("R");
    Doc.CreateNode("never added", ntComment);
    IXMLNode Note = Doc.CreateNode("inside", ntComment);
    Root.ChildNodes().Add(Note);
    IXMLNode Row = Doc.CreateNode("row", ntElement);
    Row.SetAttribute("a", "1");
    Root.ChildNodes().Add(Row);
    Doc.ChildNodes().Add(Doc.CreateNode("SW_VERSION = 1.001", ntComment));
    EXPECT_EQ(Doc.SaveToXML(), "<R><!--inside--><row a=\"1\"/></R>\n<!--SW_VERSION = 1.001-->\n");
    EXPECT_THROW(Doc.CreateNode("x", ntAttribute), EXMLDocError);

    // An element already in the tree moves to its new place.
    Root.ChildNodes().Add(Root.ChildNodes()[0]);
    EXPECT_EQ(Doc.SaveToXML(), "<R><row a=\"1\"/><!--inside--></R>\n<!--SW_VERSION = 1.001-->\n");
}

TEST(XMLDoc, ClearingAndDeactivatingEmptyTheDocument) {
    TXMLDocument Doc;
    EXPECT_FALSE(Doc.Active());
    Doc.LoadFromXML("<R><S/></R>");
    EXPECT_TRUE(Doc.Active());
    Doc.SetActive(false);
    EXPECT_FALSE(Doc.Active());
    EXPECT_EQ(Doc.ChildNodes().Count(), 0);
    Doc.SetActive(true);
    Doc.AddChild("A");
    Doc.ChildNodes().Clear();
    Doc.AddChild("B");
    EXPECT_EQ(Doc.SaveToXML(), "<B/>\n");
    Doc.ChildNodes().Delete(0);
    EXPECT_EQ(Doc.SaveToXML(), "");
}

// Malformed input raises with the parser's message and where it stopped, and leaves nothing of
// the document behind (neither the half-read file nor what was there before).
TEST_F(XMLDocFile, MalformedFilesRaiseWithPlaceAndLeaveTheDocumentEmpty) {
    struct Case {
        const char* Name;
        QByteArray Bytes;
        const char* Where;
    } Cases[] = {
        {"unclosed", "<R>\n<S>\n<row a=\"1\"/>\n", "line 3"},
        {"mismatch", "<R>\n  <S></T>\n</R>", "line 2"},
        {"badattr", "<R><row a=1/></R>", "line 1"},
        {"empty", "", "line 1"},
        {"text", "not xml at all", "line 1"},
        {"declfirstbroken", "<?xml version=\"1.0\"?>\n<R><S></R>", "line 2"},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        const QString File = Path(QString(C.Name) + ".xml");
        WriteAll(File, C.Bytes);
        TXMLDocument Doc;
        Doc.LoadFromXML("<Old/>");
        try {
            Doc.LoadFromFile(File);
            ADD_FAILURE() << "malformed file loaded";
        } catch (const EXMLDocError& E) {
            EXPECT_TRUE(E.Message().contains(C.Where)) << E.what();
            EXPECT_TRUE(E.Message().contains(File)) << E.what();
            EXPECT_TRUE(E.Message().contains("column")) << E.what();
        }
        EXPECT_EQ(Doc.ChildNodes().Count(), 0);
        EXPECT_TRUE(Doc.DocumentElement().IsNull());
        EXPECT_FALSE(Doc.Active());
    }
}

TEST(XMLDoc, ParseErrorColumnCountsCharacters) {
    TXMLDocument Doc;
    try {
        Doc.LoadFromXML(QString::fromUtf8("<R>\n<a b=\"\xC3\xA9\xC3\xA9\"></R>"));
        FAIL();
    } catch (const EXMLDocError& E) {
        EXPECT_TRUE(E.Message().contains("line 2, column 13")) << E.what();
    }
}

TEST_F(XMLDocFile, MissingFileRaisesAndEmptiesTheDocument) {
    TXMLDocument Doc;
    Doc.LoadFromXML("<Old/>");
    EXPECT_THROW(Doc.LoadFromFile(Path("absent.xml")), EInOutError);
    EXPECT_EQ(Doc.ChildNodes().Count(), 0);
}

TEST_F(XMLDocFile, SaveIntoMissingFolderRaises) {
    TXMLDocument Doc;
    Doc.AddChild("R");
    EXPECT_THROW(Doc.SaveToFile(Path("no/such/folder/t.xml")), EInOutError);
    EXPECT_FALSE(QFileInfo::exists(Path("no")));
}

TEST_F(XMLDocFile, SaveIntoReadOnlyFolderRaisesAndKeepsTheOldFile) {
    TXMLDocument Doc;
    Doc.AddChild("R");
    WriteAll(Path("keep.xml"), "<Old/>");
    QFile(Path("keep.xml")).setPermissions(QFile::ReadOwner);
    QFile(Dir.path()).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(Dir.path()).isWritable()) GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_THROW(Doc.SaveToFile(Path("keep.xml")), EInOutError);
    QFile(Dir.path()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ReadAll(Path("keep.xml")), "<Old/>");
}

TEST_F(XMLDocFile, ReadsUtf16AndLatin1Files) {
    const QString Text = QString::fromUtf8("<R a=\"\xC3\xA9\xE2\x82\xAC\"><S/></R>");
    QByteArray Le("\xFF\xFE", 2);
    Le.append(reinterpret_cast<const char*>(Text.utf16()), Text.size() * 2);
    WriteAll(Path("le.xml"), Le);
    TXMLDocument Doc;
    Doc.LoadFromFile(Path("le.xml"));
    EXPECT_EQ(Doc.DocumentElement().AttributeText("a"), QString::fromUtf8("\xC3\xA9\xE2\x82\xAC"));

    WriteAll(Path("bom8.xml"), "\xEF\xBB\xBF<R a=\"\xC3\xA9\"/>");
    Doc.LoadFromFile(Path("bom8.xml"));
    EXPECT_EQ(Doc.DocumentElement().AttributeText("a"), QString::fromUtf8("\xC3\xA9"));
    Doc.SaveToFile(Path("out.xml"));
    EXPECT_EQ(ReadAll(Path("out.xml")), "<R a=\"\xC3\xA9\"/>\n"); // written without the mark
}

// Positions and counts stay right when the children change between two lookups.
TEST(XMLDoc, ChildrenByPositionFollowChanges) {
    TXMLDocument Doc;
    IXMLNode S = Doc.AddChild("S");
    for (int i = 0; i < 6; ++i) S.AddChild("row").SetAttribute("n", QString::number(i));
    auto N = [&](int i) { return S.ChildNodes().Nodes(i).AttributeText("n"); };
    EXPECT_EQ(S.ChildNodes().Count(), 6);
    EXPECT_EQ(N(4), "4");
    S.ChildNodes().Delete(2);
    EXPECT_EQ(S.ChildNodes().Count(), 5);
    EXPECT_EQ(N(4), "5");
    EXPECT_EQ(N(1), "1"); // backwards from the last position
    S.AddChild("row").SetAttribute("n", "new");
    EXPECT_EQ(S.ChildNodes().Count(), 6);
    EXPECT_EQ(N(5), "new");
    S.ChildNodes().Add(S.ChildNodes()[0]); // first to last
    EXPECT_EQ(N(0), "1");
    EXPECT_EQ(N(5), "0");
    S.SetText("");
    EXPECT_EQ(S.ChildNodes().Count(), 0);
    EXPECT_THROW(S.ChildNodes().Nodes(0), EXMLDocError);
    Doc.LoadFromXML("<S><a/><b/></S>");
    S = Doc.DocumentElement();
    EXPECT_EQ(S.ChildNodes().Count(), 2);
    EXPECT_EQ(S.ChildNodes()[1].NodeName(), "b");

    // Two lists asked in turn do not disturb each other.
    Doc.LoadFromXML("<R><A><x/><y/><z/></A><B><p/><q/></B></R>");
    IXMLNodeList A = Doc.DocumentElement().FindNode("A").ChildNodes();
    IXMLNodeList B = Doc.DocumentElement().FindNode("B").ChildNodes();
    EXPECT_EQ(A[2].NodeName(), "z");
    EXPECT_EQ(B[1].NodeName(), "q");
    EXPECT_EQ(A.Count(), 3);
    EXPECT_EQ(B.Count(), 2);
    EXPECT_EQ(A[1].NodeName(), "y");
}
