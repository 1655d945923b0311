// The grid's HTML export (a table with one style class per distinct cell look, cell images as
// JPEG files beside it), its XML record list export and its XML import.
#include "grid/control/ExtGrid.h"
#include "grid/services/GridFileIO.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Files.h"
#include "platform/shell/Shell.h"
#include "platform/xml/XMLDoc.h"

#include <QPainter>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

// Export notification states (the values every export hands the grid's hook).
constexpr int esExportStart = 0;
constexpr int esExportDone = 2;
constexpr int esExportNextRow = 5;

const QString CRLF = QStringLiteral("\r\n");

// Characters XML 1.0 cannot carry at all, not even as references.
bool IsXmlForbidden(char32_t C) {
    if (C < 0x20) return C != 0x09 && C != 0x0A && C != 0x0D;
    if (C >= 0xD800 && C <= 0xDFFF) return true;
    return C == 0xFFFE || C == 0xFFFF;
}

// Every character beyond ASCII as a numeric character reference, so that an ASCII file loses
// nothing. Characters XML forbids are dropped when Xml is set.
QString ToAsciiReferences(const QString& Text, bool Xml) {
    QString R;
    R.reserve(Text.size());
    for (char32_t C : Text.toUcs4()) {
        if (Xml && IsXmlForbidden(C)) continue;
        if (C < 0x80)
            R += QChar(char16_t(C));
        else
            R += QStringLiteral("&#%1;").arg(uint(C));
    }
    return R;
}

// A text as XML character data or attribute value: the five markup characters as entities, CR
// as a reference so that it is not read back as a line feed, forbidden characters dropped.
QString XmlEscape(const QString& Text) {
    QString R;
    R.reserve(Text.size() + 8);
    for (char32_t C : Text.toUcs4()) {
        switch (C) {
            case '&': R += QStringLiteral("&amp;"); break;
            case '<': R += QStringLiteral("&lt;"); break;
            case '>': R += QStringLiteral("&gt;"); break;
            case '"': R += QStringLiteral("&quot;"); break;
            case '\r': R += QStringLiteral("&#13;"); break;
            default:
                if (IsXmlForbidden(C)) break;
                if (C > 0xFFFF)
                    R += QString::fromUcs4(&C, 1);
                else
                    R += QChar(char16_t(C));
        }
    }
    return R;
}

bool IsNameStart(QChar C) { return C.isLetter() || C == QLatin1Char('_') || C == QLatin1Char(':'); }
bool IsNameChar(QChar C) {
    return IsNameStart(C) || C.isDigit() || C == QLatin1Char('-') || C == QLatin1Char('.') || C.isMark();
}

// An XML element name made from a caller's description: characters a name cannot hold become
// "_", a name that cannot start as it does gets a leading "_"; an empty description gives
// Fallback. A name starting with "xml" (reserved) gets the "_" too.
QString XmlName(const QString& Descr, const QString& Fallback) {
    QString N = Descr.trimmed();
    if (N.isEmpty()) return Fallback;
    for (QChar& C : N)
        if (!IsNameChar(C) || C == QLatin1Char(':')) C = QLatin1Char('_');
    if (!IsNameStart(N[0]) || N.startsWith(QLatin1String("xml"), Qt::CaseInsensitive)) N.prepend(QLatin1Char('_'));
    return N;
}

// The encoding the XML export writes: the grid's XMLEncoding when it is one written here (its
// name kept as given), else UTF-8.
enum class TXmlCharset { Utf8, Latin1, Cp1252, Ascii };
TXmlCharset XmlCharset(const QString& Name) {
    const QString N = Name.trimmed().toUpper();
    if (N == QLatin1String("ISO-8859-1") || N == QLatin1String("LATIN1") || N == QLatin1String("ISO_8859-1"))
        return TXmlCharset::Latin1;
    if (N == QLatin1String("WINDOWS-1252") || N == QLatin1String("CP1252")) return TXmlCharset::Cp1252;
    if (N == QLatin1String("US-ASCII") || N == QLatin1String("ASCII")) return TXmlCharset::Ascii;
    return TXmlCharset::Utf8;
}

// Text (already escaped) as the bytes of the charset; a character the charset lacks becomes a
// character reference.
QByteArray EncodeXmlText(const QString& Text, TXmlCharset Charset) {
    if (Charset == TXmlCharset::Utf8) return Text.toUtf8();
    QByteArray B;
    B.reserve(Text.size());
    for (char32_t C : Text.toUcs4()) {
        if (C < 0x80) {
            B += char(C);
            continue;
        }
        if (Charset == TXmlCharset::Latin1 && C <= 0xFF) {
            B += char(uchar(C));
            continue;
        }
        if (Charset == TXmlCharset::Cp1252 && C <= 0xFFFF) {
            QByteArray One;
            if (EncodeCp1252(QString(QChar(char16_t(C))), One) && One.size() == 1) {
                B += One;
                continue;
            }
        }
        B += QByteArray("&#") + QByteArray::number(uint(C)) + ';';
    }
    return B;
}

// The text of a node and all its descendants, as the record import reads a field. Walked
// without recursion: a file may nest as deep as its size allows.
QString DeepText(const IXMLNode& Node) {
    QString R;
    std::vector<IXMLNode> Stack{Node};
    while (!Stack.empty()) {
        const IXMLNode N = Stack.back();
        Stack.pop_back();
        const TXMLNodeType T = N.NodeType();
        if (T == ntElement) {
            const IXMLNodeList L = N.ChildNodes();
            for (int i = L.Count() - 1; i >= 0; --i) Stack.push_back(L[i]);
        } else if (T != ntComment && T != ntProcessingInstr) {
            R += N.NodeValue();
        }
    }
    return R;
}

} // namespace

// ---- HTML ------------------------------------------------------------------------------------------

QString TExtStringGrid::HTMLImageMarkup(TGraphic* Graphic, const QImage* Image, int& ImageNo, const QString& Dir) {
    const QString Folder = Dir + QStringLiteral("images");
    if (!DirectoryExists(Folder) && !ForceDirectories(Folder))
        throw Exception(QStringLiteral("Cannot create ") + Folder);
    const QString Path = Dir + QStringLiteral("images/img%1.jpg").arg(ImageNo);
    ++ImageNo;
    if (auto* Jpeg = dynamic_cast<TJPEGImage*>(Graphic))
        Jpeg->SaveToFile(Path);
    else {
        QImage Pixels = Graphic ? Graphic->ToImage() : (Image ? *Image : QImage());
        if (Pixels.isNull()) Pixels = QImage(1, 1, QImage::Format_RGB32);
        // Transparent parts come out white, as on a page.
        QImage Flat(Pixels.size(), QImage::Format_RGB32);
        Flat.fill(Qt::white);
        {
            QPainter P(&Flat);
            P.drawImage(0, 0, Pixels);
        }
        WriteFileAtomic(Path, EncodeJPEG(Flat, TJPEGImage().CompressionQuality()));
    }
    const QString Src = XmlEscape(QStringLiteral("file://") + Path);
    if (HTMLSettings()->XHTML()) return QStringLiteral("<img src=\"%1\" alt=\"\" />").arg(Src);
    return QStringLiteral("<img src= \"%1\">").arg(Src);
}

bool TExtStringGrid::HTMLCellMarkup(int DisplCol, int ARow, bool Header, int C0, bool HeaderWritten,
                                    QStringList& Styles, int& ImageNo, const QString& Dir, QString& Markup) {
    THTMLSettings* H = HTMLSettings();
    const bool X = H->XHTML();
    const int RC = RealColIndex(DisplCol);
    if (!IsBaseCell(RC, ARow)) return false;

    QString Span;
    if (IsMergedCell(RC, ARow)) {
        const TPoint S = CellSpan(RC, ARow);
        if (S.X > 0) Span += QStringLiteral(" %1=\"%2\"").arg(X ? "colspan" : "COLSPAN").arg(S.X + 1);
        if (S.Y > 0) Span += QStringLiteral(" %1=\"%2\"").arg(X ? "rowspan" : "ROWSPAN").arg(S.Y + 1);
    }

    // The text is always escaped: a cell's "<", ">" or "&" must never become markup of the page.
    const QString Raw = GetCellForSave(RC, ARow);
    QString Text = EncodeHTMLEntities(Raw, !Header && H->ConvertSpecialChars());
    if (X) {
        // Named entities beyond the five of XML are unknown to an XML reader: references instead.
        static const QRegularExpression Named(QStringLiteral("&([A-Za-z][A-Za-z0-9]*);"));
        QString Out;
        qsizetype Last = 0;
        auto It = Named.globalMatch(Text);
        while (It.hasNext()) {
            const auto M = It.next();
            const QString Name = M.captured(1);
            Out += Text.mid(Last, M.capturedStart() - Last);
            if (Name == QLatin1String("amp") || Name == QLatin1String("lt") || Name == QLatin1String("gt") ||
                Name == QLatin1String("quot"))
                Out += M.captured(0);
            else {
                const QString Decoded = DecodeHTMLEntities(M.captured(0), true);
                Out += Decoded.size() == 1 && Decoded != M.captured(0)
                    ? QStringLiteral("&#%1;").arg(uint(Decoded[0].unicode()))
                    : QStringLiteral("&amp;") + M.captured(0).mid(1);
            }
            Last = M.capturedEnd();
        }
        Out += Text.mid(Last);
        Text = Out;
        QString Clean;
        for (char32_t C : Text.toUcs4())
            if (!IsXmlForbidden(C) || C == 0x0A || C == 0x0D) Clean += QString::fromUcs4(&C, 1);
        Text = Clean;
    }
    if (!Header && H->NonBreakingText())
        Text.replace(QChar(' '), X ? QStringLiteral("&#160;") : QStringLiteral("&nbsp;"));
    // Every kind of line break shows as a break on the page.
    const QString Br = X ? QStringLiteral("<br />") : QStringLiteral("<br>");
    Text.replace(QStringLiteral("\r\n"), Br);
    Text.replace(QChar('\r'), Br);
    Text.replace(QChar('\n'), Br);

    if (URLShow() && !Raw.contains(QStringLiteral("</"))) {
        auto Link = [&](const QString& Marker) {
            const int P = Raw.indexOf(Marker, 0, Qt::CaseInsensitive);
            if (P < 0) return false;
            const QString Label = URLFull() ? Raw : Raw.mid(P + Marker.size()).left(255);
            Text = QStringLiteral("<a href=\"%1\">%2</a>").arg(XmlEscape(Raw), XmlEscape(Label));
            return true;
        };
        if (!Link(QStringLiteral("://"))) Link(QStringLiteral("mailto:"));
    }
    const QString Nbsp = X ? QStringLiteral("&#160;") : QStringLiteral("&nbsp;");
    if (Header ? Raw.isEmpty() : Raw.trimmed().isEmpty()) Text = Nbsp;

    QString Width;
    TIntList* W = H->ColWidths();
    if (Header) {
        if (DisplCol < W->Count())
            Width = QStringLiteral(" %1=\"%2\"").arg(X ? "width" : "WIDTH").arg(W->GetInteger(DisplCol));
    } else if (!HeaderWritten && DisplCol - C0 >= 0 && DisplCol - C0 < W->Count()) {
        Width = QStringLiteral(" width=\"%1\"").arg(W->GetInteger(DisplCol - C0));
    }

    TBrush Brush;
    TFont Font;
    Brush.SetColor(clNone);
    TColor ColorTo = clNone, Mirror = clNone, MirrorTo = clNone;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WW = false;
    TCellGradientDirection GD = GradientVertical;
    TGridDrawState State;
    GetVisualProperties(DisplCol, ARow, State, false, false, true, &Brush, ColorTo, Mirror, MirrorTo, &Font, HA, VA, WW,
                        GD);
    TColor Back = Header ? FixedColor() : Brush.Color();
    if (!Header && IsFixed(DisplCol, ARow)) Back = FixedColor();

    QStringList Decl;
    if (Back != clNone && H->SaveColor()) {
        Decl << QStringLiteral("background-color: #") + ColorToHTMLHex(TColor(ColorToRGB(Back)));
        Decl << QStringLiteral("color: #") + ColorToHTMLHex(TColor(ColorToRGB(Font.Color())));
    }
    Decl << QStringLiteral("font-size:%1pt").arg(Font.Size());
    if (Font.Style().Contains(fsItalic)) Decl << QStringLiteral("font-style: italic");
    if (Font.Style().Contains(fsBold)) Decl << QStringLiteral("font-weight: bold");
    Decl << QStringLiteral("font-family: ") + (X ? XmlEscape(Font.Name()) : Font.Name());
    if (HA == taRightJustify) Decl << QStringLiteral("text-align: right");
    if (HA == taCenter) Decl << QStringLiteral("text-align: center");
    Decl << (VA == vtaTop          ? QStringLiteral("vertical-align: top")
                 : VA == vtaCenter ? QStringLiteral("vertical-align: middle")
                                   : QStringLiteral("vertical-align: bottom"));
    const QString Joined = Decl.join(QLatin1Char(';'));
    int Index = int(Styles.indexOf(Joined));
    if (Index < 0) {
        Styles << Joined;
        Index = int(Styles.size()) - 1;
    }

    QString Content = Text;
    if (H->ExportImages()) {
        if (auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(RC, ARow))) {
            auto* Images = dynamic_cast<TCustomImageList*>(GridImages());
            auto ListImage = [&](int I) {
                TBitmap B;
                Images->GetBitmap(I, &B);
                return HTMLImageMarkup(&B, nullptr, ImageNo, Dir);
            };
            switch (CG->CellType()) {
                case ctBitmap:
                    if (auto* B = CG->CellBitmapAs<TBitmap>())
                        Content = Text + HTMLImageMarkup(B, nullptr, ImageNo, Dir);
                    break;
                case ctImageList:
                    if (Images && CG->CellIndex() >= 0 && CG->CellIndex() < Images->Count())
                        Content = ListImage(CG->CellIndex()) + Text;
                    break;
                case ctDataImage: {
                    Content.clear();
                    bool Ok = false;
                    const int I = Raw.trimmed().toInt(&Ok);
                    if (Images && Ok && I >= 0 && I < Images->Count()) Content = ListImage(I);
                    break;
                }
                case ctNode: Content = QStringLiteral("+") + Text; break;
                case ctImages:
                    if (Images) {
                        Content.clear();
                        if (TIntList* L = GetCellImages(RC, ARow))
                            for (int i = 0; i < L->Count(); ++i)
                                if (L->GetInteger(i) >= 0 && L->GetInteger(i) < Images->Count())
                                    Content += ListImage(L->GetInteger(i));
                        Content += Text;
                    }
                    break;
                case ctPicture:
                    if (auto* P = CG->CellBitmapAs<TPicture>())
                        if (P->Graphic()) Content = Text + HTMLImageMarkup(P->Graphic(), nullptr, ImageNo, Dir);
                    break;
                default: break;
            }
        }
    }

    const QString NoWrap = WW ? QString() : X ? QStringLiteral(" nowrap=\"nowrap\"") : QStringLiteral(" nowrap");
    Markup = QStringLiteral("<%1 class=\"c%2\"").arg(X ? "td" : "TD").arg(Index) + Span + NoWrap + Width +
        QStringLiteral(">") + Content + QStringLiteral("</td>");
    return true;
}

QString TExtStringGrid::SaveToHTMLString(const QString& Dir) {
    THTMLSettings* H = HTMLSettings();
    const bool X = H->XHTML();
    const int C0 = SaveFixedCells() || SaveFixedCols() ? 0 : FixedCols();
    const int R0 = SaveFixedCells() || SaveFixedRows() ? 0 : FixedRows();

    QString Prefix;
    if (X) {
        Prefix += QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>") + CRLF;
        Prefix += QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"") + CRLF;
        Prefix += QStringLiteral("\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">") + CRLF;
        Prefix += QStringLiteral("<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">") + CRLF;
    }
    Prefix += H->PrefixTag();

    QStringList Lines;
    QString Start = X ? QStringLiteral("<table border=\"%1\" cellspacing=\"%2\" cellpadding=\"%3\" ")
                      : QStringLiteral("<TABLE BORDER=\"%1\" CELLSPACING=\"%2\" CELLPADDING=\"%3\" ");
    Start = Start.arg(H->BorderSize()).arg(H->CellSpacing()).arg(H->CellPadding());
    if (!H->Summary().isEmpty())
        Start += QStringLiteral("%1=\"%2\" ").arg(X ? "summary" : "SUMMARY", XmlEscape(H->Summary()));
    if (!H->TableStyle().isEmpty()) Start += QStringLiteral(" ") + H->TableStyle() + QStringLiteral(" ");
    Start += QStringLiteral(" %1=\"%2%\">").arg(X ? "width" : "WIDTH").arg(H->Width());
    Lines << Start;

    const QString TR = X ? QStringLiteral("<tr>") : QStringLiteral("<TR>");
    const QString TRClose = X ? QStringLiteral("</tr>") : QStringLiteral("</TR>");
    QStringList Styles;
    int ImageNo = 1;
    int BodyStart = R0;
    const bool HeaderRow = FixedRows() > 0 && (SaveFixedCells() || SaveFixedRows());
    if (HeaderRow) {
        Lines << TR;
        QString M;
        for (int c = C0; c < ColCount(); ++c)
            if (HTMLCellMarkup(c, 0, true, C0, true, Styles, ImageNo, Dir, M)) Lines << M;
        Lines << TRClose;
        BodyStart = 1;
    }
    ExportNotification(esExportStart, BodyStart);
    for (int r = BodyStart; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        Lines << TR;
        QString M;
        for (int c = C0; c < ColCount(); ++c)
            if (HTMLCellMarkup(c, r, false, C0, HeaderRow, Styles, ImageNo, Dir, M)) Lines << M;
        Lines << TRClose;
    }
    ExportNotification(esExportDone, -1);
    Lines << (X ? QStringLiteral("</table>") : QStringLiteral("</TABLE>"));
    if (!H->SuffixTag().isEmpty()) Lines << H->SuffixTag();
    if (X) Lines << QStringLiteral("</html>");

    QString R = Prefix + QStringLiteral("<style>") + CRLF;
    for (int i = 0; i < Styles.size(); ++i) R += QStringLiteral(".c%1 {%2}").arg(i).arg(Styles[i]) + CRLF;
    R += QStringLiteral("</style>") + CRLF;
    for (const QString& L : Lines) R += L + CRLF;
    return R;
}

void TExtStringGrid::WriteHTMLFile(const QString& FileName, bool Show, bool Unicode, bool Append) {
    THTMLSettings* H = HTMLSettings();
    QStringList Lines;
    // Only a missing file starts empty: one that exists but cannot be read raises, as writing
    // the new file over it would throw its content away.
    if (Append && FileExists(FileName)) Lines = ReadTextLines(FileName);
    if (!H->HeaderFile().isEmpty()) Lines += ReadTextLines(H->HeaderFile());
    QString Dir = ExtractFilePath(FileName);
    Dir.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString Html = SaveToHTMLString(Dir);
    if (H->XHTML() && Unicode)
        // The file is UTF-16: its declaration must say so for an XML reader to accept it.
        Html.replace(QStringLiteral("encoding=\"utf-8\"?>"), QStringLiteral("encoding=\"utf-16\"?>"));
    Lines << Html;
    if (!H->FooterFile().isEmpty()) Lines += ReadTextLines(H->FooterFile());

    QString Text;
    for (const QString& L : Lines) Text += L + CRLF;
    QByteArray Bytes;
    if (Unicode) {
        Bytes = QByteArray("\xFF\xFE", 2);
        QStringEncoder Enc(QStringEncoder::Utf16LE);
        Bytes += QByteArray(Enc(Text));
    } else {
        Bytes = ToAsciiReferences(Text, H->XHTML()).toLatin1();
    }
    WriteFileAtomic(FileName, Bytes);
    if (Show || H->AutoPreview()) OpenLink(QUrl::fromLocalFile(FileName).toString());
}

void TExtStringGrid::SaveToHTML(const QString& FileName, bool Show, bool Unicode) {
    WriteHTMLFile(FileName, Show, Unicode, false);
}

void TExtStringGrid::AppendToHTML(const QString& FileName, bool Show, bool Unicode) {
    WriteHTMLFile(FileName, Show, Unicode, true);
}

// ---- XML -------------------------------------------------------------------------------------------

void TExtStringGrid::SaveToXML(const QString& FileName, const QString& ListDescr, const QString& RecordDescr,
                               TStrings* FieldDescr, bool ExportEmptyCells) {
    const TXmlCharset Charset = XmlCharset(XMLEncoding());
    const QString Encoding = Charset == TXmlCharset::Utf8 ? QStringLiteral("UTF-8") : XMLEncoding().trimmed();
    const QString List = XmlName(ListDescr, QStringLiteral("LIST"));
    const QString Record = XmlName(RecordDescr, QStringLiteral("RECORD"));

    QString T = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\" ?>").arg(Encoding) + CRLF;
    T += QStringLiteral("<") + List + QStringLiteral(">") + CRLF;
    const int StartCol = SaveStartCol();
    const int EndCol = SaveEndCol() + (SaveHiddenCells() ? NumHiddenColumns() : 0);
    const int StartRow = SaveStartRow();
    const int EndRow = SaveEndRow();
    TGridFileProgress Progress(this);
    ExportNotification(esExportStart, StartRow);
    for (int r = StartRow; r <= EndRow; ++r) {
        ExportNotification(esExportNextRow, r);
        T += QStringLiteral("<") + Record + QStringLiteral(">") + CRLF;
        for (int c = StartCol; c <= EndCol; ++c) {
            // With hidden cells every real column is written; otherwise the shown ones.
            const int RC = SaveHiddenCells() ? c : RealColIndex(c);
            if (RC >= TotalColCount() || !IsBaseCell(RC, r)) continue;
            QString V = GetCellForSave(RC, r);
            if (V.isEmpty() && !ExportEmptyCells) continue;
            if (V.isEmpty() && QuoteEmptyCells()) V = QStringLiteral("\"\"");
            const int N = c - StartCol;
            const QString Fallback = QStringLiteral("FIELD%1").arg(N);
            const QString Name =
                FieldDescr && N < FieldDescr->Count() ? XmlName(FieldDescr->Get(N), Fallback) : Fallback;
            // A literal "$amp;" is written so that it cannot pass for the old ampersand form.
            const QString Escaped = XmlEscape(V).replace(QStringLiteral("$amp;"), QStringLiteral("&#36;amp;"));
            T += QStringLiteral("<") + Name + QStringLiteral(">") + Escaped + QStringLiteral("</") + Name +
                QStringLiteral(">") + CRLF;
        }
        T += QStringLiteral("</") + Record + QStringLiteral(">") + CRLF;
        // Counted from the first saved row, so that a hundred means the last one is written.
        Progress.Report(r - StartRow, EndRow - StartRow);
    }
    T += QStringLiteral("</") + List + QStringLiteral(">") + CRLF;
    ExportNotification(esExportDone, -1);
    try {
        WriteFileAtomic(FileName, EncodeXmlText(T, Charset));
    } catch (const EInOutError&) {
        throw EExtGridError(QStringLiteral("Cannot Create file ") + FileName);
    }
}

void TExtStringGrid::LoadFromXML(const QString& FileName, bool LevelToRow, bool LoadFieldDescr) {
    if (!FileExists(FileName)) throw Exception(QStringLiteral("XML file not found"));
    TXMLDocument Doc;
    try {
        // Files of the old writer hold "$amp;" for an ampersand. It becomes the entity before
        // parsing, so that every text is decoded exactly once; the writer never puts that
        // sequence into a file literally.
        QByteArray Data = ReadFileBytes(FileName);
        Data.replace("$amp;", "&amp;");
        Doc.LoadFromBytes(Data);
    } catch (const EXMLDocError& E) {
        static const QRegularExpression At(QStringLiteral(" at line (\\d+)"));
        const auto M = At.match(E.Message());
        throw Exception(QStringLiteral("XMLDOM Parsing error 1 on line %1").arg(M.hasMatch() ? M.captured(1) : "0"));
    } catch (const EInOutError&) {
        throw Exception(QStringLiteral("XMLDOM Parsing error 1 on line 0"));
    }
    const IXMLNode Root = Doc.RootElement();
    if (Root.IsNull()) throw Exception(QStringLiteral("XMLDOM Parsing error 1 on line 0"));

    const bool HeaderNames = SaveFixedCells() || SaveFixedRows();
    const int CO = SaveStartCol();
    const int RO = HeaderNames && !LoadFieldDescr ? 0 : FixedRows();
    int MaxCol = CO, MaxRow = RO;
    int RowCounter = 0, ColCounter = 0, Level = 1;
    // Deeper nesting than any record list has is refused rather than walked.
    constexpr int MaxDepth = 256;

    auto Grow = [&](int C, int R) {
        if (C >= ColCount()) SetColCount(C + 1);
        if (R >= RowCount()) SetRowCount(R + 1);
    };
    auto Store = [&](int C, int R, const QString& V) {
        if (C < 0 || R < 0 || C >= ColCount() || R >= RowCount()) return;
        SetCellFromLoad(RealColIndex(C), R, V);
        MaxCol = std::max(MaxCol, C);
        MaxRow = std::max(MaxRow, R);
    };
    auto StoreName = [&](int C, const QString& Name) {
        if (HeaderNames && RowCount() > 0 && GetGridCell(RealColIndex(C), 0).isEmpty())
            SetGridCell(RealColIndex(C), 0, Name);
    };

    std::function<void(const IXMLNode&, int)> Visit = [&](const IXMLNode& Node, int Depth) {
        if (Depth > MaxDepth) throw Exception(QStringLiteral("XMLDOM Parsing error 1 on line 0"));
        bool MovedRow = false;
        if (Node.NodeType() == ntElement) {
            const int N = Node.AttributeCount();
            for (int a = 0; a < N; ++a) {
                const int C = ColCounter + CO, R = RowCounter + RO;
                Grow(C, R);
                StoreName(C, Node.AttributeName(a));
                Store(C, R, Node.AttributeValue(a));
                ++ColCounter;
            }
            if (LevelToRow && N > 0) {
                ++RowCounter;
                ColCounter = Level;
                MovedRow = true;
            }
        }
        const IXMLNodeList Children = Node.NodeType() == ntElement ? Node.ChildNodes() : IXMLNodeList();
        const int Count = Children.IsNull() ? 0 : Children.Count();
        if (Count > 1) {
            if (LevelToRow && !MovedRow) {
                ++RowCounter;
                ColCounter = 0;
            }
            ++Level;
            for (int i = 0; i < Count; ++i) Visit(Children[i], Depth + 1);
        } else if (Count == 1) {
            const int C = ColCounter + CO, R = RowCounter + RO;
            Grow(C, R);
            if (LoadFieldDescr) StoreName(C, Node.NodeName());
            QString V = DeepText(Node);
            if (QuoteEmptyCells() && V == QLatin1String("\"\"")) V.clear();
            Store(C, R, V);
            ++ColCounter;
        } else {
            Store(ColCounter + CO, RowCounter + RO, QString());
            ++ColCounter;
        }
    };

    const IXMLNodeList Records = Root.ChildNodes();
    for (int i = 0; i < Records.Count(); ++i) {
        ColCounter = 0;
        Level = 1;
        const IXMLNode Child = Records[i];
        if (LevelToRow && i == 0 && (Child.NodeType() != ntElement || Child.AttributeCount() < 1)) RowCounter = -1;
        Visit(Child, 1);
        if (!LevelToRow) ++RowCounter;
    }
    SetColCount(MaxCol + 1);
    SetRowCount(MaxRow + 1);
    CellsChanged(TRect{0, 0, ColCount() - 1, RowCount() - 1});
}
