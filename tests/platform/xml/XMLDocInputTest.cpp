// What a document refuses to read or to build because the file would not say what it holds:
// texts in a declared 8-bit encoding, files that are not well-formed, a CR in text, names no
// file can hold.
#include "platform/xml/XMLDoc.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

inline void PrintTo(const QString& S, std::ostream* Os) { *Os << '"' << S.toStdString() << '"'; }

namespace {

class XMLDocInput : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString Write(const QString& Name, const QByteArray& Data) {
        const QString P = Dir.filePath(Name);
        QFile F(P);
        EXPECT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
        F.write(Data);
        return P;
    }
    QByteArray Read(const QString& Name) {
        QFile F(Dir.filePath(Name));
        EXPECT_TRUE(F.open(QIODevice::ReadOnly));
        return F.readAll();
    }
};

QByteArray Utf16(const QString& Text, bool BigEndian) {
    QByteArray Out;
    for (QChar C : Text) {
        const char Hi = char(C.unicode() >> 8), Lo = char(C.unicode() & 0xFF);
        Out.append(BigEndian ? Hi : Lo);
        Out.append(BigEndian ? Lo : Hi);
    }
    return Out;
}

} // namespace

// A file in the 8-bit encoding its declaration names is read as the characters it holds and
// saved back as UTF-8, the declaration saying so.
TEST_F(XMLDocInput, DeclaredEncodingDecidesHowTheBytesRead) {
    struct Case {
        const char* Encoding;
        QByteArray Byte; // in the file
        const char* Character; // what it reads as, UTF-8
    } Cases[] = {
        {"windows-1252", "\x80", "\xE2\x82\xAC"}, // the euro sign
        {"WINDOWS-1252", "\xE9", "\xC3\xA9"},     {"ISO-8859-1", "\xE9", "\xC3\xA9"},
        {"iso-8859-1", "\xFF", "\xC3\xBF"},       {"latin1", "\xE9", "\xC3\xA9"},
        {"UTF-8", "\xC3\xA9", "\xC3\xA9"},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Encoding);
        const QByteArray Decl = QByteArray("<?xml version=\"1.0\" encoding=\"") + C.Encoding + "\"?>\n";
        const QString File = Write("in.xml", Decl + "<R a=\"" + C.Byte + "\"><T>caf" + C.Byte + "</T></R>");
        TXMLDocument Doc;
        Doc.LoadFromFile(File);
        const QString Expected = QString::fromUtf8(C.Character);
        EXPECT_EQ(Doc.RootElement().AttributeText("a"), Expected);
        EXPECT_EQ(Doc.RootElement().FindNode("T").Text(), "caf" + Expected);
        Doc.SaveToFile(Dir.filePath("out.xml"));
        EXPECT_EQ(Read("out.xml"),
                  QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<R a=\"") + C.Character + "\"><T>caf" +
                      C.Character + "</T></R>\n");

        TXMLDocument FromBytes;
        FromBytes.LoadFromBytes(Decl + "<R a=\"" + C.Byte + "\"/>");
        EXPECT_EQ(FromBytes.RootElement().AttributeText("a"), Expected);
    }
}

TEST_F(XMLDocInput, Utf16WithOrWithoutMarkAndUtf32WithOne) {
    const QString Text =
        QString::fromUtf8("<?xml version=\"1.0\" encoding=\"UTF-16\"?><R a=\"\xC3\xA9\xE2\x82\xAC\"/>");
    const QString Expected = QString::fromUtf8("\xC3\xA9\xE2\x82\xAC");
    const QByteArray Files[] = {
        QByteArray("\xFE\xFF", 2) + Utf16(Text, true),
        QByteArray("\xFF\xFE", 2) + Utf16(Text, false),
        Utf16(Text, true),
        Utf16(Text, false),
    };
    for (const QByteArray& Data : Files) {
        TXMLDocument Doc;
        Doc.LoadFromFile(Write("w.xml", Data));
        EXPECT_EQ(Doc.RootElement().AttributeText("a"), Expected);
    }
    QByteArray Utf32("\xFF\xFE\0\0", 4);
    for (char32_t C : Text.toUcs4())
        for (int b = 0; b < 4; ++b) Utf32.append(char((C >> (8 * b)) & 0xFF));
    TXMLDocument Doc;
    Doc.LoadFromFile(Write("w32.xml", Utf32));
    EXPECT_EQ(Doc.RootElement().AttributeText("a"), Expected);
}

TEST_F(XMLDocInput, UnknownDeclaredEncodingRaisesNamingIt) {
    const QString File = Write("k.xml", "<?xml version=\"1.0\" encoding=\"KOI8-R\"?>\n<R a=\"\xE9\"/>");
    TXMLDocument Doc;
    Doc.LoadFromXML("<Old/>");
    try {
        Doc.LoadFromFile(File);
        FAIL() << "loaded";
    } catch (const EXMLDocError& E) {
        EXPECT_TRUE(E.Message().contains("\"KOI8-R\"")) << E.what();
        EXPECT_TRUE(E.Message().contains(File)) << E.what();
    }
    EXPECT_FALSE(Doc.Active());
    EXPECT_EQ(Doc.ChildNodes().Count(), 0);
    EXPECT_THROW(Doc.LoadFromBytes("<?xml version='1.0' encoding='ebcdic'?><R/>"), EXMLDocError);
}

// Each of these the parser on its own would read, dropping or changing part of the file.
TEST_F(XMLDocInput, NotWellFormedRaisesWithPlaceAndLeavesNothing) {
    struct Case {
        const char* Name;
        QByteArray Bytes;
        const char* Says;
        const char* Where;
    } Cases[] = {
        {"tworoots", "<R><S/></R>\n<R2/>", "More than one root element", "line 2, column 1"},
        {"textafter", "<R/>\n  trailing words", "Text outside the root element", "line 2, column 3"},
        {"textbefore", "x<R/>", "Text outside the root element", "line 1, column 1"},
        {"lastletter", "<R/>x", "Text outside the root element", "line 1, column 5"},
        {"cdataafter", "<R/><![CDATA[x]]>", "Text outside the root element", "line 1, column 5"},
        {"entitytext", "<R>\n<T>a&nbsp;b</T></R>", "\"&nbsp;\"", "line 2, column 5"},
        {"entityattr", "<R a=\"&eacute;\"/>", "\"&eacute;\"", "line 1, column 7"},
        {"badcharref", "<R>&#xZZ;</R>", "Invalid character reference", "line 1, column 4"},
        {"nullcharref", "<R>&#0;</R>", "Invalid character reference", "line 1, column 4"},
        {"surrogateref", "<R a=\"&#xD800;\"/>", "Invalid character reference", "line 1, column 7"},
        {"latedecl", "<!--c-->\n<?xml version=\"1.0\"?><R/>", "declaration", "line 2, column 1"},
        {"commentonly", "<!-- nothing else -->", "No document element", "line 1"},
        {"blank", "  \n", "No document element", "line 2"},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        const QString File = Write(QString(C.Name) + ".xml", C.Bytes);
        TXMLDocument Doc;
        Doc.LoadFromXML("<Old/>");
        try {
            Doc.LoadFromFile(File);
            ADD_FAILURE() << "loaded: " << Doc.SaveToXML().toStdString();
        } catch (const EXMLDocError& E) {
            EXPECT_TRUE(E.Message().contains(C.Says)) << E.what();
            EXPECT_TRUE(E.Message().contains(C.Where)) << E.what();
            EXPECT_TRUE(E.Message().contains(File)) << E.what();
        }
        EXPECT_FALSE(Doc.Active());
        EXPECT_EQ(Doc.ChildNodes().Count(), 0);
        EXPECT_THROW(Doc.LoadFromXML(QString::fromUtf8(C.Bytes)), EXMLDocError);
    }
}

TEST(XMLDocWellFormed, WhatIsNotAReferenceStillReads) {
    TXMLDocument Doc;
    Doc.LoadFromXML("<?xml version=\"1.0\"?>\n"
                    "<!DOCTYPE R [<!ENTITY e \"&#233;&x;\">]>\n"
                    "<!-- &nbsp; in a comment -->\n"
                    "<R a=\"&quot;&apos;&lt;&gt;&amp;nbsp;\">R&amp;D R&D &#233;&#x20AC;"
                    "<![CDATA[&nbsp;]]><?pi &copy;?></R>\n"
                    "<!-- after -->\n");
    IXMLNode R = Doc.RootElement();
    EXPECT_EQ(R.AttributeText("a"), "\"'<>&nbsp;");
    EXPECT_EQ(R.Text(), QString::fromUtf8("R&D R&D \xC3\xA9\xE2\x82\xAC&nbsp;"));
    EXPECT_EQ(Doc.ChildNodes().Count(), 5);
}

// A CR typed into a text comes back as a CR, not as the line feed a raw one reads as.
TEST(XMLDocWellFormed, CarriageReturnInTextSurvivesTheRoundTrip) {
    TXMLDocument Doc;
    IXMLNode R = Doc.AddChild("R");
    R.AddChild("T").SetText("a\rb\r\nc\n");
    R.AddChild("U").SetAttribute("v", "x\ry");
    Doc.ChildNodes().Add(Doc.CreateNode(" c ", ntComment));
    const QString Xml = Doc.SaveToXML();
    EXPECT_EQ(Xml, "<R><T>a&#13;b&#13;\nc\n</T><U v=\"x&#13;y\"/></R>\n<!-- c -->\n");
    TXMLDocument Back;
    Back.LoadFromXML(Xml);
    EXPECT_EQ(Back.RootElement().FindNode("T").Text(), "a\rb\r\nc\n");
    EXPECT_EQ(Back.RootElement().FindNode("U").AttributeText("v"), "x\ry");
    EXPECT_EQ(Back.SaveToXML(), Xml);
}

// A name that no file can hold is refused before anything changes; any XML name is taken.
TEST(XMLDocWellFormed, NamesMustBeXmlNames) {
    const char* const Bad[] = {"", "a b", "a\"b", "a<b", "1abc", "-a", ".a", "a>", "a&b", "a=b", "a/b", " a", "a\t"};
    TXMLDocument Doc;
    IXMLNode R = Doc.AddChild("R");
    IXMLNode Row = R.AddChild("row");
    Row.SetAttribute("A", "1");
    const QString Before = Doc.SaveToXML();
    for (const char* B : Bad) {
        SCOPED_TRACE(B);
        const QString Name = QString::fromUtf8(B);
        EXPECT_THROW(Row.SetAttribute(Name, "v"), EXMLDocError);
        EXPECT_THROW(R.AddChild(Name), EXMLDocError);
        EXPECT_THROW(Doc.AddChild(Name), EXMLDocError);
        EXPECT_THROW(Doc.CreateNode(Name, ntElement), EXMLDocError);
        EXPECT_EQ(Doc.SaveToXML(), Before);
    }
    EXPECT_THROW(Row.SetAttribute(QString(QChar(0xD800)), "v"), EXMLDocError); // a lone surrogate

    const QString Good[] = {"Device_ID",
                            "ns:x",
                            "_a.b-9",
                            QString::fromUtf8("\xC3\xA9t\xC3\xA9"),
                            QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC"),
                            QString::fromUtf8("\xF0\x90\x80\x80x")}; // beyond the BMP
    for (const QString& G : Good) {
        Row.SetAttribute(G, "v");
        R.AddChild(G);
    }
    TXMLDocument Back;
    Back.LoadFromXML(Doc.SaveToXML());
    IXMLNode BackRow = Back.RootElement().FindNode("row");
    for (const QString& G : Good) {
        EXPECT_EQ(BackRow.AttributeText(G), "v");
        EXPECT_FALSE(Back.RootElement().FindNode(G).IsNull()) << G.toStdString();
    }
}

// The declaration is read by its grammar: only version, encoding and standalone, each once and
// with a legal value. Anything else would be taken, decoded and written back as it came: an
// "xencoding" taken for the encoding added mojibake per load and save; "no&#63;>" saved a file
// that no longer loaded; a CR came back as a blank.
TEST(XMLDocDeclaration, OnlyItsThreePseudoAttributesWithLegalValues) {
    const char* const Refused[] = {
        "<?xml version=\"1.0\" xencoding=\"windows-1252\"?><r>caf\xe9</r>",
        "<?xml version=\"1.0\" standalone=\"no&#63;>\"?><r/>",
        "<?xml version=\"1.0&#13;\"?><r/>",
        "<?xml version=\"2.0\"?><r/>",
        "<?xml version=\"1.0\" standalone=\"maybe\"?><r/>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\" encoding=\"UTF-8\"?><r/>",
        "<?xml version=\"1.0\" encoding=\"\"?><r/>",
        "<?xml version=\"1.0\"encoding=\"UTF-8\"?><r/>",
        "<?xml version=\"1.0\" encoding=UTF-8?><r/>",
    };
    for (const char* Text : Refused) {
        SCOPED_TRACE(Text);
        TXMLDocument Doc;
        EXPECT_THROW(Doc.LoadFromBytes(QByteArray(Text)), EXMLDocError);
        EXPECT_FALSE(Doc.Active());
    }
    TXMLDocument Doc;
    Doc.LoadFromBytes("<?xml version='1.1' encoding='windows-1252' standalone='yes' ?>\n<r>caf\xe9</r>");
    EXPECT_EQ(Doc.RootElement().Text(), QString::fromUtf8("caf\u00e9"));
    const QByteArray Saved = Doc.SaveToBytes();
    EXPECT_EQ(Saved, "<?xml version=\"1.1\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<r>caf\xc3\xa9</r>\n");
    TXMLDocument Back;
    Back.LoadFromBytes(Saved);
    EXPECT_EQ(Back.SaveToBytes(), Saved);
}

// What a program puts on a declaration does not reach the file: it is written from the values
// it may hold.
TEST(XMLDocDeclaration, WrittenFromKnownValuesOnly) {
    TXMLDocument Doc;
    Doc.LoadFromXML("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r/>");
    IXMLNode Decl = Doc.DocumentElement();
    ASSERT_EQ(Decl.NodeType(), ntProcessingInstr);
    Decl.SetAttribute("standalone", "no\"?><evil/>");
    Decl.SetAttribute("other", "x");
    Decl.SetAttribute("version", "1.0\r");
    EXPECT_EQ(Doc.SaveToXML(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r/>\n");
}

// The document type's extent is the parser's: a quote in a comment of its internal subset no
// longer hides what follows from the checks (an undefined entity, a CR to be written as one).
TEST(XMLDocDeclaration, DocumentTypeWithAQuoteInAComment) {
    TXMLDocument Doc;
    try {
        Doc.LoadFromXML("<!DOCTYPE a [<!-- it's a comment -->]>\n<a>&nbsp;</a>");
        FAIL();
    } catch (const EXMLDocError& E) {
        EXPECT_TRUE(E.Message().contains("Undefined entity \"&nbsp;\"")) << E.what();
    }
    Doc.LoadFromXML("<!DOCTYPE a [<!-- it's a comment -->]>\n<a>x&#13;y</a>");
    EXPECT_EQ(Doc.RootElement().Text(), "x\ry");
    const QString Saved = Doc.SaveToXML();
    EXPECT_EQ(Saved, "<!DOCTYPE a [<!-- it's a comment -->]>\n<a>x&#13;y</a>\n");
    TXMLDocument Back;
    Back.LoadFromXML(Saved);
    EXPECT_EQ(Back.RootElement().Text(), "x\ry");
    // A literal in the subset still hides nothing, nor is a reference in it checked.
    Doc.LoadFromXML("<!DOCTYPE a [<!ENTITY e 'it\"s &x;'>]><a>ok</a>");
    EXPECT_EQ(Doc.RootElement().Text(), "ok");
}

// "<!--->" opens a comment that runs to the next "-->": what stands in it is no reference, and the
// comment saved reads back.
TEST(XMLDocDeclaration, ACommentOpenedWithThreeDashes) {
    TXMLDocument Doc;
    Doc.LoadFromXML("<a>x<!--->&#xbda;&nbsp;<!--c-->y</a>");
    ASSERT_EQ(Doc.RootElement().ChildNodes().Count(), 3);
    EXPECT_EQ(Doc.RootElement().Text(), "xy");
    const QString Saved = Doc.SaveToXML();
    TXMLDocument Back;
    Back.LoadFromXML(Saved);
    EXPECT_EQ(Back.SaveToXML(), Saved);
    EXPECT_THROW(Doc.LoadFromXML("<a><!--->--><b>&nbsp;</b></a>"), EXMLDocError);
}

// Whitespace-only text that came from references would be dropped on reading if written raw
// (between elements, or spanning lines): it is written as references and comes back.
TEST(XMLDocDeclaration, WhitespaceFromReferencesSurvivesTheRoundTrip) {
    const struct {
        const char* In;
        const char* Saved;
    } Cases[] = {
        {"<r><s/>&#32;<s/></r>", "<r><s/>&#32;<s/></r>\n"},
        {"<r a=\"1\"><s>&#9;</s><t/>&#13;&#10;</r>", "<r a=\"1\"><s>\t</s><t/>&#13;&#10;</r>\n"},
        {"<r> </r>", "<r> </r>\n"}, // one line, alone: kept as it is
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.In);
        TXMLDocument Doc;
        Doc.LoadFromXML(C.In);
        const QString Saved = Doc.SaveToXML();
        EXPECT_EQ(Saved, C.Saved);
        TXMLDocument Back;
        Back.LoadFromXML(Saved);
        EXPECT_EQ(Back.SaveToXML(), Saved);
    }
    // Outside the root they are no content, whatever they came from: each save added a line.
    for (const char* In : {"<a>x</a>&#13;\t", "<a>x</a>\n&#32;\n<!--c-->"}) {
        SCOPED_TRACE(In);
        TXMLDocument Doc;
        Doc.LoadFromXML(In);
        const QString Saved = Doc.SaveToXML();
        EXPECT_FALSE(Saved.contains("&#")) << Saved.toStdString();
        TXMLDocument Back;
        Back.LoadFromXML(Saved);
        EXPECT_EQ(Back.SaveToXML(), Saved);
    }
    TXMLDocument Doc;
    Doc.LoadFromXML("<r><s/>&#32;<s/></r>");
    ASSERT_EQ(Doc.RootElement().ChildNodes().Count(), 3);
    TXMLDocument Back;
    Back.LoadFromXML(Doc.SaveToXML());
    ASSERT_EQ(Back.RootElement().ChildNodes().Count(), 3);
    EXPECT_EQ(Back.RootElement().ChildNodes()[1].NodeValue(), " ");
}

// A file that is a device or a FIFO is refused, not read for ever or waited on; one beyond the
// reading limit is refused before it is read.
TEST_F(XMLDocInput, OnlyRegularFilesWithinTheLimit) {
    const QString Fifo = Dir.filePath("fifo.xml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(Fifo).constData(), 0600), 0);
    const QString Zero = Dir.filePath("zero.xml");
    ASSERT_TRUE(QFile::link("/dev/zero", Zero));
    const QString Huge = Dir.filePath("huge.xml");
    {
        QFile F(Huge);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        ASSERT_TRUE(F.resize(64 * 1024 * 1024 + 1));
    }
    for (const QString& Name : {Fifo, Zero, Huge}) {
        SCOPED_TRACE(Name.toStdString());
        TXMLDocument Doc;
        EXPECT_THROW(Doc.LoadFromFile(Name), EInOutError);
        EXPECT_FALSE(Doc.Active());
    }
}
