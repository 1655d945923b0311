// What a document refuses to read or to build because the file would not say what it holds:
// texts in a declared 8-bit encoding, files that are not well-formed, a CR in text, names no
// file can hold.
#include "platform/xml/XMLDoc.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
