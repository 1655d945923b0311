// Rich-text cells: a cell whose text is RTF is laid out by a small reader that turns the common
// character formatting (bold, italic, underline, font size, colour table, paragraphs, tabs,
// escaped and hexadecimal characters) into a text document, which draws into the cell and
// reports the size it needs.
#include "grid/control/ExtGrid.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

#include <cmath>
#include <vector>

namespace {

struct TRtfState {
    bool Bold = false, Italic = false, Underline = false;
    int HalfPoints = 0; // 0: the document's font size
    int ColorIndex = 0; // 0: the default colour
    bool Skip = false; // inside a destination that is not text
};

QString HtmlEscape(QChar C) {
    if (C == QLatin1Char('<')) return QStringLiteral("&lt;");
    if (C == QLatin1Char('>')) return QStringLiteral("&gt;");
    if (C == QLatin1Char('&')) return QStringLiteral("&amp;");
    return QString(C);
}

} // namespace

// RTF -> HTML for the text document, and the plain text. With IgnoreColors the colour table is
// not applied (a selected cell shows in the selection text colour).
QString RtfToHtml(const QString& Rtf, bool IgnoreColors, QString* Plain) {
    std::vector<TRtfState> Stack{TRtfState{}};
    std::vector<QString> Colors; // entry 0 (the leading ";") is the default colour
    QString Html, Text;
    int R = -1, G = -1, B = -1;
    bool InColorTable = false;
    int SkipUnicode = 0;
    auto Cur = [&]() -> TRtfState& { return Stack.back(); };
    auto Emit = [&](QChar C) {
        if (Cur().Skip) return;
        if (SkipUnicode > 0) {
            --SkipUnicode;
            return;
        }
        Text += C;
        QString Style;
        if (Cur().Bold) Style += QStringLiteral("font-weight:bold;");
        if (Cur().Italic) Style += QStringLiteral("font-style:italic;");
        if (Cur().Underline) Style += QStringLiteral("text-decoration:underline;");
        if (Cur().HalfPoints > 0) Style += QStringLiteral("font-size:%1pt;").arg(Cur().HalfPoints / 2.0);
        if (!IgnoreColors && Cur().ColorIndex >= 0 && Cur().ColorIndex < int(Colors.size()) &&
            !Colors[size_t(Cur().ColorIndex)].isEmpty())
            Style += QStringLiteral("color:%1;").arg(Colors[size_t(Cur().ColorIndex)]);
        const QString Ch = C == QLatin1Char('\n') ? QStringLiteral("<br>")
            : C == QLatin1Char('\t')              ? QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;")
                                                  : HtmlEscape(C);
        Html += Style.isEmpty() ? Ch : QStringLiteral("<span style=\"%1\">%2</span>").arg(Style, Ch);
    };
    const int N = int(Rtf.size());
    for (int i = 0; i < N; ++i) {
        const QChar C = Rtf.at(i);
        if (C == QLatin1Char('{')) {
            Stack.push_back(Cur());
            continue;
        }
        if (C == QLatin1Char('}')) {
            if (InColorTable && Stack.size() > 1) InColorTable = false;
            if (Stack.size() > 1) Stack.pop_back();
            continue;
        }
        if (C == QLatin1Char('\r') || C == QLatin1Char('\n')) continue;
        if (C != QLatin1Char('\\')) {
            if (InColorTable && C == QLatin1Char(';')) {
                Colors.push_back(R < 0 ? QString()
                                       : QStringLiteral("#%1%2%3")
                                             .arg(R, 2, 16, QLatin1Char('0'))
                                             .arg(G, 2, 16, QLatin1Char('0'))
                                             .arg(B, 2, 16, QLatin1Char('0')));
                R = G = B = -1;
                continue;
            }
            if (!InColorTable) Emit(C);
            continue;
        }
        // a control symbol or word
        if (i + 1 >= N) break;
        const QChar S = Rtf.at(i + 1);
        if (S == QLatin1Char('\\') || S == QLatin1Char('{') || S == QLatin1Char('}')) {
            Emit(S);
            ++i;
            continue;
        }
        if (S == QLatin1Char('\'')) {
            bool Ok = false;
            const int V = Rtf.mid(i + 2, 2).toInt(&Ok, 16);
            if (Ok) Emit(QChar(V));
            i += 3;
            continue;
        }
        if (S == QLatin1Char('*')) {
            Cur().Skip = true;
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < N && Rtf.at(j).isLetter()) ++j;
        const QString Word = Rtf.mid(i + 1, j - i - 1);
        int k = j;
        if (k < N && (Rtf.at(k) == QLatin1Char('-') || Rtf.at(k).isDigit())) {
            ++k;
            while (k < N && Rtf.at(k).isDigit()) ++k;
        }
        const bool HasArg = k > j;
        const int Arg = HasArg ? Rtf.mid(j, k - j).toInt() : 1;
        if (k < N && Rtf.at(k) == QLatin1Char(' ')) ++k;
        i = k - 1;
        if (Word.isEmpty()) continue;
        if (Word == QLatin1String("fonttbl") || Word == QLatin1String("stylesheet") || Word == QLatin1String("info") ||
            Word == QLatin1String("pict") || Word == QLatin1String("header") || Word == QLatin1String("footer"))
            Cur().Skip = true;
        else if (Word == QLatin1String("colortbl"))
            InColorTable = true;
        else if (Word == QLatin1String("red"))
            R = Arg;
        else if (Word == QLatin1String("green"))
            G = Arg;
        else if (Word == QLatin1String("blue"))
            B = Arg;
        else if (Word == QLatin1String("b"))
            Cur().Bold = !HasArg || Arg != 0;
        else if (Word == QLatin1String("i"))
            Cur().Italic = !HasArg || Arg != 0;
        else if (Word == QLatin1String("ul"))
            Cur().Underline = !HasArg || Arg != 0;
        else if (Word == QLatin1String("ulnone"))
            Cur().Underline = false;
        else if (Word == QLatin1String("plain")) {
            const bool Skip = Cur().Skip;
            Cur() = TRtfState{};
            Cur().Skip = Skip;
        } else if (Word == QLatin1String("fs"))
            Cur().HalfPoints = Arg;
        else if (Word == QLatin1String("cf"))
            Cur().ColorIndex = Arg;
        else if (Word == QLatin1String("par") || Word == QLatin1String("line"))
            Emit(QLatin1Char('\n'));
        else if (Word == QLatin1String("tab"))
            Emit(QLatin1Char('\t'));
        else if (Word == QLatin1String("u")) {
            Emit(QChar(ushort(Arg < 0 ? Arg + 65536 : Arg)));
            SkipUnicode = 1;
        }
    }
    // a closing paragraph mark adds no line
    while (Text.endsWith(QLatin1Char('\n'))) {
        Text.chop(1);
        Html.chop(4);
    }
    if (Plain) *Plain = Text;
    return Html;
}

namespace {

void SetUpDocument(QTextDocument& Doc, TCanvas* Canvas, const QString& Rtf, bool IgnoreColors, TColor TextColor) {
    Doc.setDocumentMargin(0);
    Doc.setDefaultFont(Canvas->Font()->ToQFont());
    const TColor C = TColor(ColorToRGB(TextColor));
    Doc.setDefaultStyleSheet(QStringLiteral("body { color: #%1%2%3; }")
                                 .arg(C & 0xFF, 2, 16, QLatin1Char('0'))
                                 .arg((C >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
                                 .arg((C >> 16) & 0xFF, 2, 16, QLatin1Char('0')));
    Doc.setHtml(QStringLiteral("<body>") + RtfToHtml(Rtf, IgnoreColors, nullptr) + QStringLiteral("</body>"));
}

} // namespace

void TExtStringGrid::DrawRichCell(int RealCol, int ARow, TRect R, TCanvas* ACanvas) {
    if (IsDesigning() || !ACanvas) return;
    const QString Rtf = GetGridCell(RealCol, ARow);
    if (!Rtf.startsWith(QStringLiteral("{\\"))) return;
    const int DisplCol = DisplColIndex(RealCol);
    bool Selected = false;
    if (MouseActions()->DisjunctRowSelect())
        Selected = GetRowSelect(MouseActions()->RowSelectPersistent() ? RealRowIndex(ARow) : ARow);
    else if (MouseActions()->DisjunctColSelect())
        Selected = GetColSelect(DisplCol);
    else
        Selected = IsSelected(DisplCol, ARow) &&
            !(DisplCol == Col() && ARow == Row() && !Options().Contains(goDrawFocusSelected));
    const bool Recolour = Selected && !SelectionRTFKeep() && SelectionTextColor() != clNone;
    QTextDocument Doc;
    SetUpDocument(Doc, ACanvas, Rtf, Recolour, Recolour ? SelectionTextColor() : clBlack);
    const int E = XYOffset().x() * ACanvas->PixelsPerInchX() / 96;
    const TRect Box = Rect(R.Left + E, R.Top + E, R.Right - E, R.Bottom - E);
    if (Box.Width() <= 0 || Box.Height() <= 0) return;
    Doc.setTextWidth(Box.Width());
    QPainter* P = ACanvas->Painter();
    if (!P) return;
    P->save();
    P->translate(Box.Left, Box.Top);
    Doc.drawContents(P, QRectF(0, 0, Box.Width(), Box.Height()));
    P->restore();
}

// The size a rich-text cell asks for: its laid-out width and height (plus 4), wrapped at Width
// when Width is above 0.
TSize RichTextExtent(TCanvas* Canvas, const QString& Rtf, int Width) {
    QTextDocument Doc;
    SetUpDocument(Doc, Canvas, Rtf, false, clBlack);
    if (Width > 0) Doc.setTextWidth(Width);
    TSize Z;
    Z.cx = int(std::ceil(Width > 0 ? Doc.size().width() : Doc.idealWidth()));
    Z.cy = int(std::ceil(Doc.size().height())) + 4;
    return Z;
}
