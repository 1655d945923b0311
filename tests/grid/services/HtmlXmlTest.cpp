// The grid's HTML export and its XML record list export and import.
#include "OddTextFixture.h"
#include "platform/rtl/Files.h"
#include "platform/shell/Shell.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

QByteArray ReadAll(const QString& File) {
    QFile F(File);
    EXPECT_TRUE(F.open(QIODevice::ReadOnly)) << File.toStdString();
    return F.readAll();
}

// The text of a UTF-16 LE file with its byte-order mark.
QString ReadUtf16(const QString& File) {
    const QByteArray B = ReadAll(File);
    EXPECT_TRUE(B.startsWith("\xFF\xFE"));
    QStringDecoder D(QStringDecoder::Utf16LE);
    return D(B.mid(2));
}

int CountOf(const QString& Text, const QString& Part) { return int(Text.count(Part)); }

} // namespace

// ---- HTML ------------------------------------------------------------------------------------------

using HtmlExport = OddTextGrid;

TEST_F(HtmlExport, MarkupCharactersAreEscapedInHeaderAndBody) {
    G->SetGridCell(1, 0, QStringLiteral("<i>head</i> & co"));
    G->SetGridCell(1, 1, QStringLiteral("x<script>alert(1)</script>"));
    const QString H = G->SaveToHTMLString(Path(QString()));
    EXPECT_TRUE(H.contains(QStringLiteral(">&lt;i&gt;head&lt;/i&gt; &amp; co</td>"))) << H.toStdString();
    EXPECT_TRUE(H.contains(QStringLiteral("x&lt;script&gt;alert(1)&lt;/script&gt;"))) << H.toStdString();
    EXPECT_FALSE(H.contains(QStringLiteral("<script")));
    EXPECT_FALSE(H.contains(QStringLiteral("<i>")));
}

TEST_F(HtmlExport, TableStartAndHeaderRowAsConfigured) {
    const QString H = G->SaveToHTMLString(Path(QString()));
    // Defaults: two blanks before WIDTH, every attribute value quoted.
    EXPECT_TRUE(
        H.contains(QStringLiteral("<TABLE BORDER=\"1\" CELLSPACING=\"0\" CELLPADDING=\"0\"  WIDTH=\"100%\">\r\n")))
        << H.toStdString();
    EXPECT_TRUE(H.startsWith(QStringLiteral("<style>\r\n.c0 {")));
    // The header row holds the visible columns only: H3 sits in the hidden column.
    EXPECT_TRUE(H.contains(QStringLiteral(">H4</td>")));
    EXPECT_FALSE(H.contains(QStringLiteral(">H3</td>")));
    EXPECT_EQ(CountOf(H, QStringLiteral("<TR>")), 6);
}

TEST_F(HtmlExport, EqualLooksShareAClassInOrderOfFirstUse) {
    G->GetCellProperties(2, 2)->SetFontStyle(TFontStyles{fsBold});
    const QString H = G->SaveToHTMLString(Path(QString()));
    static const QRegularExpression StyleLine(QStringLiteral("^\\.c(\\d+) \\{(.*)\\}$"),
                                              QRegularExpression::MultilineOption);
    QStringList Decls;
    for (auto It = StyleLine.globalMatch(QString(H).remove(QLatin1Char('\r'))); It.hasNext();)
        Decls << It.next().captured(2);
    // The fixed cells come first (c0), then the plain body cells share c1, the bold one c2.
    ASSERT_EQ(Decls.size(), 3) << H.toStdString();
    EXPECT_TRUE(Decls[0].contains(QStringLiteral("background-color: #F0F0F0")));
    EXPECT_FALSE(Decls[1].contains(QStringLiteral("font-weight: bold")));
    EXPECT_TRUE(Decls[2].contains(QStringLiteral("font-weight: bold")));
    EXPECT_EQ(CountOf(H, QStringLiteral("class=\"c0\"")), 5 + 5);
    EXPECT_EQ(CountOf(H, QStringLiteral("class=\"c1\"")), 5 * 4 - 1);
    EXPECT_EQ(CountOf(H, QStringLiteral("class=\"c2\"")), 1);
}

TEST_F(HtmlExport, MergedAreaIsWrittenOnceWithColspanBeforeRowspan) {
    G->MergeCells(0, 2, 3, 2);
    const QString H = G->SaveToHTMLString(Path(QString()));
    EXPECT_TRUE(H.contains(QStringLiteral(" COLSPAN=\"3\" ROWSPAN=\"2\""))) << H.toStdString();
    EXPECT_EQ(CountOf(H, QStringLiteral("COLSPAN")), 1);
    // Rows 2 and 3 hold the area once and the two columns right of it.
    const QStringList Rows = H.split(QStringLiteral("<TR>"));
    ASSERT_EQ(Rows.size(), 7);
    EXPECT_EQ(CountOf(Rows[3], QStringLiteral("<TD")), 3);
    EXPECT_EQ(CountOf(Rows[4], QStringLiteral("<TD")), 2);
}

TEST_F(HtmlExport, LinksAndEmptyCells) {
    G->SetURLShow(true);
    G->SetGridCell(1, 1, QStringLiteral("http://example.org/a?b=1&c=2"));
    G->SetGridCell(2, 1, QStringLiteral("mailto:someone@example.org"));
    G->SetGridCell(4, 1, QStringLiteral("   "));
    const QString H = G->SaveToHTMLString(Path(QString()));
    EXPECT_TRUE(
        H.contains(QStringLiteral("<a href=\"http://example.org/a?b=1&amp;c=2\">example.org/a?b=1&amp;c=2</a>")))
        << H.toStdString();
    EXPECT_TRUE(H.contains(QStringLiteral("<a href=\"mailto:someone@example.org\">someone@example.org</a>")));
    EXPECT_TRUE(H.contains(QStringLiteral(">&nbsp;</td>")));
    G->SetURLFull(true);
    EXPECT_TRUE(G->SaveToHTMLString(Path(QString())).contains(QStringLiteral(">http://example.org/a?b=1&amp;c=2</a>")));
}

TEST_F(HtmlExport, AsciiFileKeepsNonAsciiAsCharacterReferences) {
    G->SaveToHTML(Path(QStringLiteral("t.html")));
    const QByteArray B = ReadAll(Path(QStringLiteral("t.html")));
    for (char Ch : B) ASSERT_LT(uchar(Ch), 0x80);
    EXPECT_TRUE(B.contains("&#220;n&#239;c&#248;d&#233;")) << B.toStdString();
    EXPECT_TRUE(B.contains("&#128512;")); // a character beyond the 16-bit plane is one reference
    EXPECT_FALSE(B.contains('?'));
}

TEST_F(HtmlExport, UnicodeFileIsUtf16WithByteOrderMark) {
    G->SaveToHTML(Path(QStringLiteral("u.html")), false, true);
    const QString T = ReadUtf16(Path(QStringLiteral("u.html")));
    EXPECT_TRUE(T.contains(QStringLiteral("Ünïcødé Ελληνικά 日本語 😀")));
    EXPECT_TRUE(T.contains(QStringLiteral("two<br>lines")));
}

struct TXhtmlCase {
    const char* Name;
    bool Unicode;
    bool Special; // ConvertSpecialChars, NonBreakingText and links
};
void PrintTo(const TXhtmlCase& C, std::ostream* Os) { *Os << C.Name; }

class XhtmlWellFormed : public OddTextGrid, public ::testing::WithParamInterface<TXhtmlCase> {};

TEST_P(XhtmlWellFormed, XmllintAcceptsTheFile) {
    THTMLSettings* H = G->HTMLSettings();
    H->SetXHTML(true);
    H->SetSummary(QStringLiteral("a \"summary\" <with> & marks"));
    H->ColWidths()->Add(40);
    H->ColWidths()->Add(50);
    if (GetParam().Special) {
        H->SetConvertSpecialChars(true);
        H->SetNonBreakingText(true);
        G->SetURLShow(true);
        G->SetGridCell(2, 3, QStringLiteral("http://example.org/?a=1&b=<2>"));
    }
    G->SetGridCell(1, 2, QStringLiteral("bell\x07 and nul") + QChar(0) + QStringLiteral("end"));
    G->MergeCells(4, 4, 2, 2);
    const QString File = Path(QStringLiteral("x.html"));
    G->SaveToHTML(File, false, GetParam().Unicode);
    EXPECT_EQ(XmlLint(File), QString());
    const QString Text = GetParam().Unicode ? ReadUtf16(File) : QString::fromLatin1(ReadAll(File));
    EXPECT_TRUE(Text.contains(QStringLiteral("<br />")));
    EXPECT_TRUE(Text.contains(QStringLiteral(" nowrap=\"nowrap\"")));
    EXPECT_TRUE(Text.contains(QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"")));
}

INSTANTIATE_TEST_SUITE_P(Files, XhtmlWellFormed,
                         ::testing::Values(TXhtmlCase{"ascii", false, false}, TXhtmlCase{"utf16", true, false},
                                           TXhtmlCase{"ascii_special_chars", false, true},
                                           TXhtmlCase{"utf16_special_chars", true, true}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(HtmlExport, ImagesAreWrittenBesideTheFileAsJpeg) {
    TBitmap* B = G->CreateBitmap(1, 1, false, haLeft, vaTop);
    B->SetSize(8, 6);
    const QString File = Path(QStringLiteral("img.html"));
    G->SaveToHTML(File);
    const QString T = QString::fromLatin1(ReadAll(File));
    const QString Jpeg = Path(QStringLiteral("images/img1.jpg"));
    EXPECT_TRUE(T.contains(QStringLiteral("<img src= \"file://") + Jpeg + QStringLiteral("\">"))) << T.toStdString();
    const QByteArray J = ReadAll(Jpeg);
    EXPECT_TRUE(J.startsWith("\xFF\xD8")); // a JPEG stream
}

TEST_F(HtmlExport, FailingImageFolderLeavesTheOldFileWhole) {
    const QString File = Path(QStringLiteral("keep.html"));
    WriteFileAtomic(File, "old content");
    WriteFileAtomic(Path(QStringLiteral("images")), "a file where the folder would go");
    G->CreateBitmap(1, 1, false, haLeft, vaTop)->SetSize(4, 4);
    try {
        G->SaveToHTML(File);
        FAIL() << "no error";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Cannot create ") + Path(QStringLiteral("images")));
    }
    EXPECT_EQ(ReadAll(File), QByteArray("old content"));
}

TEST_F(HtmlExport, AppendKeepsTheLinesBeforeAndShowOpensTheFile) {
    auto Opener = std::make_shared<TFakeLinkOpener>();
    SetLinkOpener(Opener);
    const QString File = Path(QStringLiteral("a.html"));
    WriteFileAtomic(File, "<p>first</p>\r\n");
    G->HTMLSettings()->SetHeaderFile(QString());
    G->AppendToHTML(File, true);
    SetLinkOpener(nullptr);
    const QString T = QString::fromLatin1(ReadAll(File));
    EXPECT_TRUE(T.startsWith(QStringLiteral("<p>first</p>\r\n<style>"))) << T.toStdString();
    EXPECT_EQ(Opener->Links().size(), 1);
}

TEST_F(HtmlExport, AppendToAFileThatCannotBeReadRaisesAndKeepsIt) {
    // Larger than any file the readers take, without taking the disk space.
    const QString File = Path(QStringLiteral("huge.html"));
    {
        QFile F(File);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write("<p>kept</p>");
        ASSERT_TRUE(F.resize(Max_Read_File_Size + 1));
    }
    EXPECT_THROW(G->AppendToHTML(File), EInOutError);
    EXPECT_EQ(QFileInfo(File).size(), Max_Read_File_Size + 1);
    QFile F(File);
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    EXPECT_EQ(F.read(11), QByteArray("<p>kept</p>"));
}

// ---- XML -------------------------------------------------------------------------------------------

using XmlExport = OddTextGrid;

TEST_F(XmlExport, EntitiesAndEmptyCells) {
    G->SetGridCell(1, 1, QStringLiteral("a&b<c>\"d\""));
    G->SetGridCell(2, 1, QString());
    const QString File = Path(QStringLiteral("r.xml"));
    G->SaveToXML(File, QStringLiteral("list"), QStringLiteral("rec"), nullptr, true);
    const QString T = QString::fromLatin1(ReadAll(File));
    EXPECT_TRUE(
        T.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<list>\r\n<rec>\r\n")));
    EXPECT_TRUE(T.contains(QStringLiteral("<FIELD1>a&amp;b&lt;c&gt;&quot;d&quot;</FIELD1>"))) << T.toStdString();
    EXPECT_TRUE(T.contains(QStringLiteral("<FIELD2>&quot;&quot;</FIELD2>")));
    EXPECT_EQ(XmlLint(File), QString());
}

struct TEncodingCase {
    const char* Name;
    const char* Encoding;
    const char* Declared;
};
void PrintTo(const TEncodingCase& C, std::ostream* Os) { *Os << C.Name; }

class XmlRoundTrip : public OddTextGrid, public ::testing::WithParamInterface<TEncodingCase> {};

TEST_P(XmlRoundTrip, EveryOddTextComesBack) {
    G->SetXMLEncoding(QString::fromLatin1(GetParam().Encoding));
    G->SetSaveHiddenCells(true);
    G->SetGridCell(2, 2, QStringLiteral("ctl\x01\x1F chars"));
    TStringList Names;
    Names.Add(QStringLiteral("row name"));
    Names.Add(QStringLiteral("1st"));
    Names.Add(QStringLiteral("xmlish"));
    Names.Add(QString());
    const QString File = Path(QStringLiteral("rt.xml"));
    G->SaveToXML(File, QStringLiteral("my list"), QStringLiteral("<rec>"), &Names, true);
    EXPECT_EQ(XmlLint(File), QString());
    EXPECT_TRUE(ReadAll(File).contains(QByteArray("encoding=\"") + GetParam().Declared + "\""));

    TTestGrid L(nullptr);
    L.SetColCount(2);
    L.SetRowCount(2);
    L.LoadFromXML(File);
    ASSERT_EQ(L.RowCount(), G->RowCount());
    ASSERT_EQ(L.ColCount(), G->TotalColCount());
    for (int r = 0; r < G->RowCount(); ++r)
        for (int c = 0; c < G->TotalColCount(); ++c) {
            QString Want = G->GetGridCell(c, r);
            if (c == 2 && r == 2) Want = QStringLiteral("ctl chars"); // XML cannot carry them
            EXPECT_EQ(L.GetGridCell(c, r), Want) << "cell " << c << "," << r;
        }
}

INSTANTIATE_TEST_SUITE_P(Encodings, XmlRoundTrip,
                         ::testing::Values(TEncodingCase{"latin1", "ISO-8859-1", "ISO-8859-1"},
                                           TEncodingCase{"utf8", "UTF-8", "UTF-8"},
                                           TEncodingCase{"windows1252", "windows-1252", "windows-1252"},
                                           TEncodingCase{"unknown_becomes_utf8", "EBCDIC-XYZ", "UTF-8"}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(XmlExport, OldFilesWithDollarAmpAreReadAndEntitiesDecodeOnce) {
    const QString File = Path(QStringLiteral("old.xml"));
    WriteFileAtomic(File,
                    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<l>\r\n<r>\r\n"
                    "<FIELD0>A $amp; B</FIELD0>\r\n<FIELD1>x &amp;lt; y</FIELD1>\r\n<FIELD2>&quot;&quot;</FIELD2>\r\n"
                    "<FIELD3>\xE9t\xE9</FIELD3>\r\n</r>\r\n</l>\r\n");
    TTestGrid L(nullptr);
    L.SetFixedRows(0);
    L.SetFixedCols(0);
    L.LoadFromXML(File);
    EXPECT_EQ(L.GetGridCell(0, 0), QStringLiteral("A & B"));
    EXPECT_EQ(L.GetGridCell(1, 0), QStringLiteral("x &lt; y"));
    EXPECT_EQ(L.GetGridCell(2, 0), QString());
    EXPECT_EQ(L.GetGridCell(3, 0), QStringLiteral("été"));
}

TEST_F(XmlExport, AttributesAndFieldNamesFillTheHeaderRow) {
    const QString File = Path(QStringLiteral("attr.xml"));
    WriteFileAtomic(File, "<list><item id=\"7\" kind=\"a&amp;b\"/><item id=\"8\" kind=\"c\"/></list>");
    TTestGrid L(nullptr);
    L.SetColCount(2);
    L.SetRowCount(2);
    // Records start below the fixed row when the field names are loaded.
    L.LoadFromXML(File, false, true);
    EXPECT_EQ(L.GetGridCell(0, 0), QStringLiteral("id"));
    EXPECT_EQ(L.GetGridCell(1, 0), QStringLiteral("kind"));
    EXPECT_EQ(L.GetGridCell(0, 1), QStringLiteral("7"));
    EXPECT_EQ(L.GetGridCell(1, 1), QStringLiteral("a&b"));
    EXPECT_EQ(L.GetGridCell(0, 2), QStringLiteral("8"));
    EXPECT_EQ(L.RowCount(), 3);
}

TEST_F(XmlExport, Errors) {
    auto Message = [](const std::function<void()>& F) {
        try {
            F();
        } catch (const Exception& E) {
            return E.Message();
        }
        return QStringLiteral("no error");
    };
    EXPECT_EQ(Message([&] { G->LoadFromXML(Path(QStringLiteral("none.xml"))); }), QStringLiteral("XML file not found"));
    WriteFileAtomic(Path(QStringLiteral("bad.xml")), "<a>\n<b>\n</a>\n");
    EXPECT_EQ(Message([&] { G->LoadFromXML(Path(QStringLiteral("bad.xml"))); }),
              QStringLiteral("XMLDOM Parsing error 1 on line 3"));
    const QString Nowhere = Path(QStringLiteral("no/such/folder/x.xml"));
    EXPECT_EQ(Message([&] { G->SaveToXML(Nowhere, QStringLiteral("l"), QStringLiteral("r")); }),
              QStringLiteral("Cannot Create file ") + Nowhere);
    // A document nested deeper than any record list is refused, not walked.
    QByteArray Deep;
    for (int i = 0; i < 5000; ++i) Deep += "<a><b/>";
    Deep += "x";
    for (int i = 0; i < 5000; ++i) Deep += "</a>";
    WriteFileAtomic(Path(QStringLiteral("deep.xml")), Deep);
    EXPECT_NE(Message([&] { G->LoadFromXML(Path(QStringLiteral("deep.xml")), true); }), QStringLiteral("no error"));
}
