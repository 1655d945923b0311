// The string grid's answers to its child windows: the date the in-place date picker reports and
// the text, title and icon the balloon tooltip asks for; and the plain text of rich-text cells
// for saving and tips.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"

namespace {

constexpr int MaxTipText = 2048;
constexpr int MaxTipTitle = 100;

QString CutWithEllipsis(const QString& S, int Max) {
    if (S.size() <= Max) return S;
    return S.left(Max - 3) + QStringLiteral("...");
}

} // namespace

TExtStringGrid::TBalloonText TExtStringGrid::BalloonTextAt(TPoint Mouse) {
    TBalloonText B;
    if (!Balloon()->Enable()) return B;
    int DisplCol = -1, DisplRow = -1;
    MouseToCell(Mouse.X, Mouse.Y, DisplCol, DisplRow);
    int RealCol = DisplCol >= 0 ? RealColOfDisplCol(DisplCol) : -1;
    int Row = DisplRow;
    if (RealCol >= 0 && Row >= 0) {
        const TPoint Base = BaseCell(RealCol, Row);
        RealCol = Base.X;
        Row = Base.Y;
    }
    B.Valid = RealCol >= 0 && Row >= 0;
    QString T;
    if (B.Valid) {
        T = GetGridCell(RealCol, Row);
        switch (ClassifyCellText(T, true)) {
            case 1: T = StripHTMLTags(T); break;
            case 2: T = RichTextToPlain(T); break;
            case 5: T = DecodeWideCellText(T); break;
            default: break;
        }
    }
    T.replace(QLatin1Char('\t'), QLatin1Char(' '));
    int Skip = 0;
    while (Skip < T.size() && (T[Skip] == QLatin1Char('\n') || T[Skip] == QLatin1Char('\r'))) ++Skip;
    T = CutWithEllipsis(T.mid(Skip), MaxTipText);
    B.Icon = 1;
    B.Title = QStringLiteral(" ");
    B.Text = T;
    if (B.Valid) {
        // The cell's own balloon, then the application, may say something else.
        QString Title, Text;
        TBalloonIcon Icon = biInfo;
        if (IsBalloon(RealCol, Row, Title, Text, Icon)) {
            B.Title = Title.isEmpty() ? QStringLiteral(" ") : Title;
            B.Text = Text;
            B.Icon = int(Icon);
        }
        if (OnCellBalloon) OnCellBalloon(this, RealCol, Row, B.Title, B.Text, B.Icon);
    }
    B.Text = CutWithEllipsis(B.Text, MaxTipText);
    B.Title = CutWithEllipsis(B.Title, MaxTipTitle);
    B.Col = RealCol;
    B.Row = Row;
    FBalloonCell = Point(RealCol, Row);
    FToolTipBuffer = B.Text;
    return B;
}

void TExtStringGrid::DateTimeChangeNotify(int Year, int Month, int Day, int Hour, int Minute, int Second) {
    if (!OnDateTimeChange) return;
    TDateTime D = 0;
    if (Year != 0 && Month != 0 && Day != 0) {
        try {
            D = EncodeDate(Year, Month, Day) + EncodeTime(Hour, Minute, Second, 0);
        } catch (const std::exception&) {
            D = 0; // a date the picker cannot hold is reported as none
        }
    }
    OnDateTimeChange(this, Col(), Row(), D);
}

QString TExtStringGrid::RichTextToPlain(const QString& Rtf) {
    // Text of the groups that are not destinations (font and colour tables, pictures, styles and
    // the "\*" groups); \par and \line break lines, \tab is a TAB, \'hh a Latin-1 character and
    // \uN a UTF-16 unit.
    QString Out;
    std::vector<bool> Skip{false};
    int Pending = 0; // characters that stand in for a \u character
    const int N = int(Rtf.size());
    for (int i = 0; i < N;) {
        const QChar C = Rtf[i];
        if (C == QLatin1Char('{')) {
            Skip.push_back(Skip.back());
            ++i;
            continue;
        }
        if (C == QLatin1Char('}')) {
            if (Skip.size() > 1) Skip.pop_back();
            ++i;
            continue;
        }
        if (C == QLatin1Char('\r') || C == QLatin1Char('\n')) {
            ++i;
            continue;
        }
        if (C != QLatin1Char('\\')) {
            if (!Skip.back()) {
                if (Pending > 0)
                    --Pending;
                else
                    Out += C;
            }
            ++i;
            continue;
        }
        if (i + 1 >= N) break;
        const QChar D = Rtf[i + 1];
        if (D == QLatin1Char('\\') || D == QLatin1Char('{') || D == QLatin1Char('}')) {
            if (!Skip.back()) Out += D;
            i += 2;
            continue;
        }
        if (D == QLatin1Char('*')) {
            Skip.back() = true;
            i += 2;
            continue;
        }
        if (D == QLatin1Char('\'')) {
            bool Ok = false;
            const int Code = Rtf.mid(i + 2, 2).toInt(&Ok, 16);
            if (Ok && !Skip.back()) Out += QChar(Code);
            i += 4;
            continue;
        }
        int j = i + 1;
        while (j < N && Rtf[j].isLetter()) ++j;
        const QString Word = Rtf.mid(i + 1, j - i - 1);
        int k = j;
        if (k < N && (Rtf[k] == QLatin1Char('-') || Rtf[k].isDigit())) ++k;
        while (k < N && Rtf[k].isDigit()) ++k;
        const QString Param = Rtf.mid(j, k - j);
        if (k < N && Rtf[k] == QLatin1Char(' ')) ++k;
        i = Word.isEmpty() ? j + 1 : k;
        static const QStringList Destinations = {QStringLiteral("fonttbl"),    QStringLiteral("colortbl"),
                                                 QStringLiteral("stylesheet"), QStringLiteral("info"),
                                                 QStringLiteral("pict"),       QStringLiteral("generator")};
        if (Destinations.contains(Word)) {
            Skip.back() = true;
            continue;
        }
        if (Skip.back()) continue;
        if (Word == QLatin1String("par") || Word == QLatin1String("line"))
            Out += QStringLiteral("\r\n");
        else if (Word == QLatin1String("tab"))
            Out += QLatin1Char('\t');
        else if (Word == QLatin1String("u")) {
            Out += QChar(ushort(Param.toInt()));
            Pending = 1;
        }
    }
    while (Out.endsWith(QLatin1String("\r\n"))) Out.chop(2);
    return Out;
}
