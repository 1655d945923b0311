// HTML entities, tag removal, search highlighting and the embedded control tags.
#include "grid/base/ExtUtil.h"

#include <gtest/gtest.h>

namespace {

QString U(const char* Utf8) { return QString::fromUtf8(Utf8); }

TEST(HtmlEntities, Encode) {
    struct Case {
        const char* Text;
        bool Table;
        const char* Expected;
    };
    const Case Cases[] = {
        {"a<b & \"c\" > d", false, "a&lt;b &amp; &quot;c&quot; &gt; d"},
        {"\xC3\xA7", true, "&ccedil;"},
        {"\xC3\xA7", false, "\xC3\xA7"},
        {"\xC3\xA3", true, "\xC3\xA3"}, // a-tilde has no name in the table
        {"\xC3\x89t\xC3\xA9 \xE2\x82\xAC", true, "&Eacute;t&eacute; &euro;"},
        {"*amp;", false, "*amp;"}, // left as typed
        {"&amp;", false, "&amp;amp;"},
        {"", true, ""},
    };
    for (const Case& C : Cases) EXPECT_EQ(EncodeHTMLEntities(U(C.Text), C.Table), U(C.Expected)) << C.Text;
}

TEST(HtmlEntities, Decode) {
    struct Case {
        const char* Text;
        bool Table;
        const char* Expected;
    };
    const Case Cases[] = {
        {"&lt;&gt;&amp;&quot;", false, "<>&\""},
        {"&amp;lt;", false, "&lt;"}, // one level only
        {"&amp;amp;", false, "&amp;"},
        {"&ccedil;", true, "\xC3\xA7"},
        {"&ccedil;", false, "&ccedil;"},
        {"&Eacute; &eacute;", true, "\xC3\x89 \xC3\xA9"}, // each in its own case
        {"&eacute; &Eacute;", true, "\xC3\xA9 \xC3\x89"},
        {"&EACUTE;", true, "&EACUTE;"}, // no such name
        {"&LT;", false, "&LT;"},
        {"&#233; &#x20AC;", true, "&#233; &#x20AC;"}, // numeric references are not names
        {"&nbsp;&atilde;", true, "&nbsp;&atilde;"},
        {"a & b &", true, "a & b &"},
        {"&euro;&copy;&reg;&laquo;&raquo;", true, "\xE2\x82\xAC\xC2\xA9\xC2\xAE\xC2\xAB\xC2\xBB"},
    };
    for (const Case& C : Cases) EXPECT_EQ(DecodeHTMLEntities(U(C.Text), C.Table), U(C.Expected)) << C.Text;
}

TEST(HtmlEntities, DecodeUndoesEncode) {
    const char* Texts[] = {"&amp;", "*amp;",    "&Eacute;&lt;", "a<b>c", "\"\xC3\xA9\xE2\x82\xAC\xC3\x85\"",
                           "&&;;",  "<&quot;>", "plain"};
    for (const char* T : Texts)
        for (bool Table : {false, true})
            EXPECT_EQ(DecodeHTMLEntities(EncodeHTMLEntities(U(T), Table), Table), U(T)) << T << " " << Table;
}

TEST(HtmlMarkup, SpacesAndTags) {
    EXPECT_EQ(SpacesToNbsp(U("a b  c")), U("a&nbsp;b&nbsp;&nbsp;c"));

    struct Case {
        const char* Text;
        const char* Stripped;
        const char* Removed;
    };
    const Case Cases[] = {
        {"<b>bold</b><br>next", "bold\r\nnext", "boldnext"},
        {"<HR>x<Br>y", "\r\nx\r\ny", "xy"},
        {"a < b", "a < b", "a < b"},
        {"x<i", "x<i", "x<i"},
        {"<a href=\"u\">link</a> tail", "link tail", "link tail"},
        {"a > b <i>c</i>", "a > b c", "a > b <i>c</i>"}, // removal stops at a lone ">"
        {"<b>x</b> > y", "x > y", "x > y"},
        {"", "", ""},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(StripHTMLTags(U(C.Text)), U(C.Stripped)) << C.Text;
        EXPECT_EQ(RemoveTags(U(C.Text)), U(C.Removed)) << C.Text;
    }
}

TEST(HtmlMarkup, VisibleCharIndexAndFindFrom) {
    struct Case {
        const char* Markup;
        int N;
        int Index;
    };
    const Case Cases[] = {
        {"<b>x</b>y", 1, 1}, // a tag right before the character: the tag
        {"<b>x</b>y", 2, 5}, {"<b>x</b>y", 3, 10}, // one past the last visible character
        {"<b>x</b>y", 4, 0}, {"ab", 1, 1},         {"ab", 2, 2},
        {"ab", 3, 3},        {"ab", 0, 0},         {"a<b", 3, 3}, // "<" without ">" is text
    };
    for (const Case& C : Cases) EXPECT_EQ(VisibleCharIndex(U(C.Markup), C.N), C.Index) << C.Markup << " " << C.N;

    int P = -1;
    EXPECT_EQ(FindFrom(U("b"), U("abcb"), 0, true, P), 2);
    EXPECT_EQ(FindFrom(U("b"), U("abcb"), 2, true, P), 4);
    EXPECT_EQ(P, 4);
    EXPECT_EQ(FindFrom(U("B"), U("abcb"), 0, true, P), 0);
    EXPECT_EQ(FindFrom(U("B"), U("abcb"), 0, false, P), 2);
    EXPECT_EQ(FindFrom(QString(), U("abc"), 0, false, P), 0);
}

TEST(HtmlMarkup, Highlight) {
    struct Case {
        const char* Markup;
        const char* Needle;
        bool CaseSensitive;
        const char* Expected;
    };
    const Case Cases[] = {
        {"hello world", "o", true, "hell<hi>o</hi> w<hi>o</hi>rld"},
        {"<b>ab</b>cd", "bc", true, "<b>a<hi>b</b>c</hi>d"}, // across a tag
        {"<i>x</i><b>y</b>", "y", true, "<i>x<hi></i><b>y</b></hi>"}, // opens in front of the tag
        {"aaa", "a", true, "<hi>a</hi><hi>a</hi><hi>a</hi>"}, // neighbouring hits each wrapped
        {"ABC abc", "b", false, "A<hi>B</hi>C a<hi>b</hi>c"},
        {"ABC abc", "b", true, "ABC a<hi>b</hi>c"},
        {"a<b", "b", true, "a&lt;<hi>b</hi>"}, // plain text holding "<"
        {"none", "x", true, "none"},
        {"text", "", true, "text"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(HighlightInHTML(U(C.Markup), U(C.Needle), U("hi"), C.CaseSensitive), U(C.Expected)) << C.Markup;

    EXPECT_EQ(UnhighlightInHTML(U("<HI>x</hi> &lt;y&gt;"), U("hi")), U("x <y>"));
    const QString Marked = HighlightInHTML(U("<b>ab</b>cd ab"), U("ab"), U("hi"), true);
    EXPECT_EQ(UnhighlightInHTML(Marked, U("hi")), U("<b>ab</b>cd ab"));
}

const QString Cell =
    U("<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\" WIDTH=\"15\" HEIGHT=\"20\"> Label "
      "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"a &amp; b\" WIDTH=\"80\" PROP=\"p&lt;\" MAXLEN=\"10\"> "
      "<CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\" WIDTH=\"15\">"
      "<CONTROL TYPE=\"radio\" ID=\"r2\" VALUE=\"TRUE\" WIDTH=\"15\">"
      "<CONTROL TYPE=\"BUTTON\" ID=\"b1\" VALUE=\"Go\" WIDTH=\"40\">"
      "<control type=\"edit\" id=\"e2\" value=\"\" width=\"50\"> end");

TEST(ControlTags, Reading) {
    EXPECT_TRUE(HasControlTag(Cell));
    EXPECT_TRUE(HasControlTag(U("x <control")));
    EXPECT_FALSE(HasControlTag(U("plain")));

    QString T, ID, MaxLen, Prop, Height, Width, Value;
    ParseControlTag(
        U(" type=\"combo\" ID=\"k\" VALUE=\"x&quot;y\" WIDTH=\"9\" PROP=\"&euro;\" MAXLEN=\"3\" HEIGHT=\"7\""), T, ID,
        MaxLen, Prop, Height, Width, Value);
    EXPECT_EQ(T, U("COMBO"));
    EXPECT_EQ(ID, U("k"));
    EXPECT_EQ(Value, U("x\"y"));
    EXPECT_EQ(Width, U("9"));
    EXPECT_EQ(Height, U("7"));
    EXPECT_EQ(Prop, U("\xE2\x82\xAC"));
    EXPECT_EQ(MaxLen, U("3"));
    ParseControlTag(U(" TYPE=EDIT ID=\"k\" WIDTH=\"5"), T, ID, MaxLen, Prop, Height, Width, Value);
    EXPECT_EQ(T, QString()); // unquoted
    EXPECT_EQ(Width, QString()); // no closing quote
    EXPECT_EQ(ID, U("k"));

    QString V;
    EXPECT_TRUE(GetControlValue(Cell, U("e1"), V));
    EXPECT_EQ(V, U("a & b"));
    EXPECT_TRUE(GetControlValue(Cell, U("e2"), V));
    EXPECT_EQ(V, QString());
    EXPECT_FALSE(GetControlValue(Cell, U("E1"), V)); // IDs compare exactly
    EXPECT_EQ(GetControlProp(Cell, U("e1")), U("p<"));
    EXPECT_EQ(GetControlProp(Cell, U("zz")), QString());
    EXPECT_EQ(GetControlMaxLen(Cell, U("e1")), 10);
    EXPECT_EQ(GetControlMaxLen(Cell, U("c1")), 0);
    EXPECT_EQ(GetControlMaxLen(Cell, U("zz")), 0);

    EXPECT_EQ(NextEditControlID(Cell, QString()), U("e1"));
    EXPECT_EQ(NextEditControlID(Cell, U("c1")), U("e1"));
    EXPECT_EQ(NextEditControlID(Cell, U("e1")), U("e2"));
    EXPECT_EQ(NextEditControlID(Cell, U("e2")), QString());
    EXPECT_EQ(NextEditControlID(Cell, U("zz")), QString());
    EXPECT_FALSE(GetControlValue(U("<CONTROL ID=\"x\" VALUE=\"1\""), U("x"), V)); // no closing ">"
}

TEST(ControlTags, Writing) {
    QString Text = Cell;
    EXPECT_TRUE(SetControlValue(Text, U("c1"), U("FALSE")));
    EXPECT_TRUE(Text.startsWith(U(
        "<CONTROL ID=\"c1\" VALUE=\"FALSE\" WIDTH=\"15\" TYPE=\"CHECK\" HEIGHT=\"20\"> Label <CONTROL TYPE=\"EDIT\"")));
    EXPECT_EQ(Text.mid(Text.indexOf(U(" Label "))), Cell.mid(Cell.indexOf(U(" Label "))));

    EXPECT_TRUE(SetControlValue(Text, U("e1"), U("x\"<y")));
    QString V;
    ASSERT_TRUE(GetControlValue(Text, U("e1"), V));
    EXPECT_EQ(V, U("x\"<y"));
    EXPECT_TRUE(Text.contains(
        U("<CONTROL ID=\"e1\" VALUE=\"x&quot;&lt;y\" WIDTH=\"80\" TYPE=\"EDIT\" PROP=\"p&lt;\" MAXLEN=\"10\">")));

    // A typed value that looks like an attribute stays a value.
    EXPECT_TRUE(SetControlValue(Text, U("e1"), U("WIDTH=\"5\" ID=\"c1\"")));
    ASSERT_TRUE(GetControlValue(Text, U("e1"), V));
    EXPECT_EQ(V, U("WIDTH=\"5\" ID=\"c1\""));
    EXPECT_EQ(GetControlMaxLen(Text, U("e1")), 10);
    ASSERT_TRUE(GetControlValue(Text, U("c1"), V));
    EXPECT_EQ(V, U("FALSE"));

    const QString Before = Text;
    EXPECT_FALSE(SetControlValue(Text, U("zz"), U("1")));
    EXPECT_EQ(Text, Before);

    const QString Cleared = ClearRadioControls(Cell);
    ASSERT_TRUE(GetControlValue(Cleared, U("r1"), V));
    EXPECT_EQ(V, U("FALSE"));
    ASSERT_TRUE(GetControlValue(Cleared, U("r2"), V));
    EXPECT_EQ(V, U("FALSE"));
    ASSERT_TRUE(GetControlValue(Cleared, U("c1"), V));
    EXPECT_EQ(V, U("TRUE"));
}

} // namespace
