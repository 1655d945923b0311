// Attribute lookups by name: readers usually ask a row's attributes in file order, and the
// document remembers where the last lookup stopped. Whatever the order of the questions, the
// answers must be those of a plain search.
#include "platform/xml/XMLDoc.h"

#include <QStringList>

#include <gtest/gtest.h>

inline void PrintTo(const QString& S, std::ostream* Os) { *Os << '"' << S.toStdString() << '"'; }

namespace {

// Names that share prefixes with one another, an empty value, a non-ASCII name and value.
const char* const RowXml = "<T><S>"
                           "<row Index=\"$2000\" Index2=\"x\" Address_B1=\"1\" Address_B10=\"10\" Empty=\"\" "
                           "Gr\xC3\xB6\xC3\x9F"
                           "e=\"\xC3\xA9t\xC3\xA9\" Last=\"end\"/>"
                           "<row Index=\"7\" Last=\"second\"/>"
                           "</S></T>";

struct TExpected {
    const char* Name; // UTF-8
    std::optional<QString> Value;
};

const TExpected Row1[] = {
    {"Index", QString("$2000")},
    {"Index2", QString("x")},
    {"Address_B1", QString("1")},
    {"Address_B10", QString("10")},
    {"Empty", QString("")},
    {"Gr\xC3\xB6\xC3\x9F"
     "e",
     QString::fromUtf8("\xC3\xA9t\xC3\xA9")},
    {"Last", QString("end")},
    {"Ind", std::nullopt}, // a prefix of a name
    {"Address_B", std::nullopt},
    {"Index22", std::nullopt}, // a name extended
    {"index", std::nullopt}, // case counts
    {"", std::nullopt},
};

// Every way of asking gives the same answer.
void ExpectAllWays(const IXMLNode& Row, const TExpected& E, const std::string& Where) {
    const QString Name = QString::fromUtf8(E.Name);
    SCOPED_TRACE(Where + " asking \"" + E.Name + "\"");
    EXPECT_EQ(Row.Attributes(Name), E.Value);
    EXPECT_EQ(Row.HasAttribute(Name), E.Value.has_value());
    QString Buffer = "unchanged";
    EXPECT_EQ(Row.ReadAttribute(E.Name, Buffer), E.Value.has_value());
    EXPECT_EQ(Buffer, E.Value.value_or("unchanged"));
    Buffer = "unchanged";
    EXPECT_EQ(Row.ReadAttribute(Name, Buffer), E.Value.has_value());
    EXPECT_EQ(Buffer, E.Value.value_or("unchanged"));
}

} // namespace

TEST(XMLDocLookup, AnyOrderOfQuestionsGivesThePlainAnswers) {
    TXMLDocument Doc;
    Doc.LoadFromXML(QString::fromUtf8(RowXml));
    const IXMLNode Row = Doc.DocumentElement().FindNode("S").ChildNodes()[0];
    const int N = int(std::size(Row1));
    const std::vector<std::pair<std::string, std::vector<int>>> Orders = {
        {"file order", {0, 1, 2, 3, 4, 5, 6}},
        {"reverse order", {6, 5, 4, 3, 2, 1, 0}},
        {"skipping and wrapping", {1, 3, 6, 0, 2, 5, 4}},
        {"same name twice", {2, 2, 3, 3, 6, 6}},
        {"missing names between", {0, 7, 1, 8, 2, 9, 3, 10, 4, 11, 5, 6}},
    };
    for (const auto& [Label, Order] : Orders) {
        for (int i : Order) {
            ASSERT_LT(i, N);
            ExpectAllWays(Row, Row1[i], Label);
        }
    }
}

TEST(XMLDocLookup, AlternatingRowsAndChangesKeepAnswersRight) {
    TXMLDocument Doc;
    Doc.LoadFromXML(QString::fromUtf8(RowXml));
    const IXMLNodeList Rows = Doc.DocumentElement().FindNode("S").ChildNodes();
    IXMLNode A = Rows[0], B = Rows[1];
    EXPECT_EQ(A.AttributeText("Index"), "$2000");
    EXPECT_EQ(B.AttributeText("Index"), "7");
    EXPECT_EQ(A.AttributeText("Index2"), "x");
    EXPECT_EQ(B.AttributeText("Last"), "second");
    EXPECT_EQ(A.AttributeText("Last"), "end");

    // After the last attribute was read, one is added: it is found.
    A.SetAttribute("Added", "new");
    EXPECT_EQ(A.Attributes("Added"), QString("new"));
    // The attribute a lookup would try next is removed: the others are still found.
    EXPECT_EQ(A.AttributeText("Address_B1"), "1");
    EXPECT_TRUE(A.RemoveAttribute("Address_B10"));
    EXPECT_EQ(A.Attributes("Address_B10"), std::nullopt);
    EXPECT_EQ(A.AttributeText("Empty"), "");
    EXPECT_EQ(A.AttributeText("Index"), "$2000");
}

TEST(XMLDocLookup, ReadAttributeReusesOnlyItsOwnBuffer) {
    TXMLDocument Doc;
    Doc.LoadFromXML(QString::fromUtf8(RowXml));
    const IXMLNode Row = Doc.DocumentElement().FindNode("S").ChildNodes()[0];
    QString Buffer;
    ASSERT_TRUE(Row.ReadAttribute("Address_B10", Buffer));
    const QString Kept = Buffer; // shares Buffer's storage
    ASSERT_TRUE(Row.ReadAttribute("Address_B1", Buffer));
    EXPECT_EQ(Buffer, "1");
    EXPECT_EQ(Kept, "10");
    const QString Same = Buffer; // shared again, same length next
    ASSERT_TRUE(Row.ReadAttribute("Index2", Buffer));
    EXPECT_EQ(Buffer, "x");
    EXPECT_EQ(Same, "1");
    // An ASCII value after a non-ASCII one, and back.
    ASSERT_TRUE(Row.ReadAttribute("Gr\xC3\xB6\xC3\x9F"
                                  "e",
                                  Buffer));
    EXPECT_EQ(Buffer, QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
    ASSERT_TRUE(Row.ReadAttribute("Last", Buffer));
    EXPECT_EQ(Buffer, "end");
}

TEST(XMLDocLookup, NewRowsTakeDistinctNamesThatLookAlike) {
    // Names of the same length, first, middle and last character; then one set again.
    TXMLDocument Doc;
    IXMLNode Row = Doc.AddChild("row");
    Row.SetAttribute("a1x2b", "1");
    Row.SetAttribute("a3x4b", "2");
    Row.SetAttribute("a1x2b", "changed");
    ASSERT_EQ(Row.AttributeCount(), 2);
    EXPECT_EQ(Row.AttributeName(0), "a1x2b");
    EXPECT_EQ(Row.AttributeValue(0), "changed");
    EXPECT_EQ(Row.AttributeName(1), "a3x4b");
    EXPECT_EQ(Row.AttributeValue(1), "2");
}

// A whole row in one pass: whatever the order of the names, asked or not, each value is the one
// a lookup by name gives, as the parser's UTF-8 text, and a missing one is null.
TEST(XMLDocLookup, ReadingARowAtOnceGivesThePlainAnswers) {
    TXMLDocument Doc;
    Doc.LoadFromXML(QString::fromUtf8(RowXml));
    const IXMLNode Row = Doc.DocumentElement().FindNode("S").ChildNodes()[0];
    const std::vector<std::pair<std::string, std::vector<int>>> Orders = {
        {"file order", {0, 1, 2, 3, 4, 5, 6}},
        {"reverse order", {6, 5, 4, 3, 2, 1, 0}},
        {"skipping and wrapping", {1, 3, 6, 0, 2, 5, 4}},
        {"some names only", {3, 6}},
        {"missing names between", {0, 7, 1, 8, 2, 9, 3, 10, 4, 11, 5, 6}},
        {"missing names only", {7, 8, 11}},
        {"none", {}},
    };
    for (const auto& [Label, Order] : Orders) {
        SCOPED_TRACE(Label);
        std::vector<const char*> Names, Values(Order.size() + 1, "sentinel");
        for (int i : Order) Names.push_back(Row1[i].Name);
        Row.ReadAttributes(Names, Values);
        for (size_t k = 0; k < Order.size(); ++k) {
            const TExpected& E = Row1[Order[k]];
            SCOPED_TRACE(E.Name);
            ASSERT_EQ(Values[k] != nullptr, E.Value.has_value());
            if (Values[k]) {
                EXPECT_EQ(QString::fromUtf8(Values[k]), *E.Value);
            }
        }
        EXPECT_STREQ(Values[Order.size()], "sentinel") << "nothing is written beyond the names asked";
    }
}

TEST(XMLDocLookup, ReadingARowAtOnceOnOddNodes) {
    TXMLDocument Doc;
    Doc.LoadFromXML("<T><S><row A=\"1\" B=\"2\" A=\"3\"/><!--note--><row/></S></T>");
    const IXMLNodeList Rows = Doc.DocumentElement().FindNode("S").ChildNodes();
    const char* const Names[] = {"B", "A"};
    const char* Values[2] = {"x", "x"};

    // The first of two attributes of one name counts, as for a lookup by name.
    ASSERT_EQ(Rows[0].Attributes("A"), QString("1"));
    Rows[0].ReadAttributes(Names, Values);
    EXPECT_STREQ(Values[0], "2");
    EXPECT_STREQ(Values[1], "1");

    // A comment and an element without attributes have none of them.
    for (int i : {1, 2}) {
        Values[0] = Values[1] = "x";
        Rows[i].ReadAttributes(Names, Values);
        EXPECT_EQ(Values[0], nullptr);
        EXPECT_EQ(Values[1], nullptr);
    }

    EXPECT_THROW(IXMLNode().ReadAttributes(Names, Values), EXMLDocError);
    const char* Short[1];
    EXPECT_THROW(Rows[0].ReadAttributes(Names, Short), EXMLDocError);
}
