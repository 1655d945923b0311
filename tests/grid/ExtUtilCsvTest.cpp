// CSV fields, cell-text encodings, cell-text kinds and the clipboard HTML envelope.
#include "grid/base/ExtUtil.h"

#include <gtest/gtest.h>

namespace {

QString U(const char* Utf8) { return QString::fromUtf8(Utf8); }
const QChar VT = QChar(11);

TEST(ExtUtilCsv, QuotingRoutines) {
    EXPECT_EQ(DoubleQuoteChars(U("say \"hi\"")), U("say \"\"hi\"\""));
    EXPECT_EQ(DoubleQuoteChars(U("plain")), U("plain"));

    struct Case {
        const char* Text;
        const char* Expected;
    };
    const Case Undouble[] = {
        {"\"\"\"\"", "\"\""}, {"\"\"\"", "\"\""}, {"a\"\"b", "a\"b"}, {"a\"b", "a\"b"}, {"none", "none"},
    };
    for (const Case& C : Undouble) EXPECT_EQ(UndoubleChar(QChar('"'), U(C.Text)), U(C.Expected)) << C.Text;

    QString Field = U("line1\r\nline2");
    QuoteMultiLineField(Field);
    EXPECT_EQ(Field, QStringLiteral("\"line1") + VT + QStringLiteral("line2\""));
    VTToCRLF(Field);
    EXPECT_EQ(Field, U("\"line1\r\nline2\""));

    QString Plain = U("no breaks");
    QuoteMultiLineField(Plain);
    EXPECT_EQ(Plain, U("\"no breaks\"")); // always quoted

    QString Crlf = U("a\r\nb\rc\n");
    CRLFToLF(Crlf);
    EXPECT_EQ(Crlf, U("a\nb\rc\n"));

    QString Java = U("a\r\nb\rc");
    CRToTilde(Java);
    EXPECT_EQ(Java, U("a~b~c"));
    TildeToCRLF(Java);
    EXPECT_EQ(Java, U("a\r\nb\r\nc"));
    QString Caret = U("^");
    TildeToCRLF(Caret);
    EXPECT_EQ(Caret, QString());
    QString Carets = U("^^");
    TildeToCRLF(Carets);
    EXPECT_EQ(Carets, U("^^"));
}

TEST(ExtUtilCsv, SplitCSVLine) {
    struct Case {
        const char* Line;
        char Delimiter;
        bool Java;
        QStringList Fields;
    };
    const Case Cases[] = {
        {"a,b,c", ',', false, {"a", "b", "c"}},
        {"\"a,b\",c", ',', false, {"a,b", "c"}}, // delimiter inside quotes
        {"\"say \"\"hi\"\"\",x", ',', false, {"say \"hi\"", "x"}}, // quotes inside a field
        {"  a,  b", ',', false, {"a", "b"}}, // blanks before a field
        {"a,,b", ',', false, {"a", "", "b"}},
        {"\"\",x", ',', false, {"", "x"}},
        {"a,b,", ',', false, {"a", "b"}}, // empty rest adds nothing
        {"\"line1\vline2\",z", ',', false, {"line1\r\nline2", "z"}}, // line break inside a field
        {"a~b,^,c", ',', true, {"a\r\nb", "", "c"}},
        {"\"q\"tail,x", ',', false, {"q", "x"}}, // text between quote and delimiter
        {"\"q\"tail", ',', false, {"q\"tail"}},
        {"\"abc,def", ',', false, {"abc,def"}}, // unclosed: nothing lost
        {"x,\"abc", ',', false, {"x", "abc"}},
        {"x,\"a,b\"", ',', false, {"x", "a,b"}},
        {"a;b;\"c;d\"", ';', false, {"a", "b", "c;d"}},
        {"a\tb", '\t', false, {"a", "b"}},
        {"abc", ',', false, {"abc"}},
        {"\"abc\"", ',', false, {"abc"}},
        {"", ',', false, {}},
    };
    for (const Case& C : Cases) {
        QStringList Expected;
        for (const QString& F : C.Fields) Expected << F;
        EXPECT_EQ(SplitCSVLine(U(C.Line), QChar(C.Delimiter), C.Java), Expected) << C.Line;
    }
}

TEST(ExtUtilCsv, SaveEncodingsSplitBack) {
    // What the writer produces for awkward texts reads back to the same texts.
    const QStringList Texts = {U("plain"), U("with,comma"), U("two\r\nlines"), U("q\"uote"), U("\"both\",\r\nkinds\"")};
    QStringList Encoded;
    for (QString T : Texts) {
        T = DoubleQuoteChars(T);
        const bool Quoted = !T.contains(QChar(',')) && T.contains(QChar('"'));
        if (Quoted) T = QChar('"') + T + QChar('"');
        if (T.contains(QChar(',')) || LineCount(T, true) > 1) {
            if (Quoted)
                CRLFToLF(T);
            else
                QuoteMultiLineField(T);
        }
        Encoded << T;
    }
    EXPECT_EQ(SplitCSVLine(Encoded.join(QChar(',')), QChar(','), false), Texts);
}

TEST(ExtUtilCsv, OemConversion) {
    QString Text = U("caf\xC3\xA9 \xC3\xA7"
                     "a"); // café ça
    QString Oem = Text;
    AnsiToOemText(Oem);
    // é is byte 0x82 in the OEM page, which reads as U+201A in the ANSI page.
    EXPECT_EQ(Oem.at(3), QChar(0x201A));
    EXPECT_EQ(Oem.left(3), U("caf"));
    OemToAnsiText(Oem);
    EXPECT_EQ(Oem, Text);
    QString Euro = U("\xE2\x82\xAC"); // not in the OEM page
    AnsiToOemText(Euro);
    EXPECT_EQ(Euro, U("?"));
}

TEST(ExtUtilCellText, LineBreakEncoding) {
    const QString Multi = U("a\r\nb") + QChar(0) + U("c");
    const QString Encoded = EncodeCellLineBreaks(Multi);
    EXPECT_EQ(Encoded, U("a\t") + QChar(8) + U("b") + QChar(1) + U("c"));
    EXPECT_EQ(DecodeCellLineBreaks(Encoded, true), Multi);
    EXPECT_EQ(DecodeCellLineBreaks(Encoded, false), U("a"));
    EXPECT_EQ(EncodeCellLineBreaks(U("bare\nLF")), U("bare\nLF"));
    EXPECT_EQ(DecodeCellLineBreaks(U("tab\tonly"), true), U("tab\tonly"));
}

TEST(ExtUtilCellText, WideText) {
    const QString Euro = QString(QChar(0x20AC));
    const QString Encoded = EncodeWideCellText(Euro);
    EXPECT_EQ(Encoded, U("|\\") + QChar(0x20) + QChar(0xAC));
    EXPECT_EQ(DecodeWideCellText(Encoded), Euro);
    const QString Mixed = U("A\xC3\xA9\xF0\x9F\x98\x80z"); // incl. a surrogate pair
    EXPECT_EQ(DecodeWideCellText(EncodeWideCellText(Mixed)), Mixed);
    EXPECT_EQ(DecodeWideCellText(U("|\\") + QChar(0) + QChar('A') + QChar(0)), U("A")); // odd tail
    EXPECT_EQ(DecodeWideCellText(U("plain")), U("plain"));
    EXPECT_EQ(EncodeWideCellText(QString()), U("|\\"));
}

TEST(ExtUtilCellText, ClassifyCellText) {
    struct Case {
        QString Text;
        bool Html;
        int Kind;
    };
    const Case Cases[] = {
        {U(""), true, 0},
        {U("="), true, 3},
        {U("=A1+1"), false, 3},
        {EncodeWideCellText(U("=1")), true, 3},
        {EncodeWideCellText(U("x")), true, 5},
        {U("|\\"), true, 5},
        {U("{\\rtf1 x}"), true, 2},
        {U("<b>x</b>"), true, 1},
        {U("<b>x</b>"), false, 0},
        {U("a<br>b"), true, 0},
        {U("<B>x"), true, 1},
        {U("<IMG src>"), true, 1},
        {U("<CONTROL x>"), true, 1},
        {U("plain"), true, 0},
    };
    for (const Case& C : Cases) EXPECT_EQ(ClassifyCellText(C.Text, C.Html), C.Kind) << C.Text.toStdString();
}

TEST(ExtUtilHtmlExport, BreaksColoursAndLinks) {
    EXPECT_EQ(CRToHTMLBreak(U("a\r\nb")), U("a<br>\nb"));
    EXPECT_EQ(CRToHTMLBreak(U("a\nb")), U("a\nb"));
    EXPECT_EQ(ColorToHTMLHex(0x00332211), U("112233"));
    EXPECT_EQ(ColorToHTMLHex(clWhite), U("FFFFFF"));

    struct Case {
        const char* Text;
        const char* Prefix;
        bool Found;
        const char* Result;
    };
    const Case Cases[] = {
        {"see http://x.org/a?b=1", "HTTP://", true, "see <a href=\"http://x.org/a\">http://x.org/a</a>?b=1"},
        {"a<b HTTP://x.org", "HTTP://", true, "a&lt;b <a href=\"HTTP://x.org\">HTTP://x.org</a>"},
        {"mail user@x.org now", "MAILTO:", false, "untouched"},
        {"go www.x.org/p_(1)", "WWW.", true, "go <a href=\"www.x.org/p_(1)\">www.x.org/p_(1)</a>"},
    };
    for (const Case& C : Cases) {
        QString Result = U("untouched");
        EXPECT_EQ(InsertURLAnchor(U(C.Text), U(C.Prefix), Result), C.Found) << C.Text;
        EXPECT_EQ(Result, U(C.Result)) << C.Text;
    }
}

TEST(ExtUtilHtmlExport, ClipboardEnvelopeOffsetsAreExact) {
    const QString Fragment = U("<b>12</b>3"); // 10 characters
    QString Html = Fragment;
    WrapClipboardHTML(Html);
    EXPECT_TRUE(Html.startsWith(U("Version:1.0\r\nStartHTML:00000097\r\nEndHTML:00000316\r\n"
                                  "StartFragment:00000274\r\nEndFragment:00000284\r\n")));
    EXPECT_TRUE(Html.mid(97).startsWith(U("<!DOCTYPE HTML PUBLIC")));
    EXPECT_EQ(Html.mid(274, Fragment.size()), Fragment);
    EXPECT_TRUE(Html.mid(284).startsWith(U("<!--EndFragment-->")));
    EXPECT_EQ(Html.size(), 316);
    QString Empty;
    WrapClipboardHTML(Empty);
    EXPECT_EQ(Empty.size(), 306);
}

} // namespace
