#include "grid/base/ExtUtil.h"

#include "grid/base/ExtUtil_Internal.h"

using namespace ExtUtil_Internal;

// ---- format accessors ------------------------------------------------------------------------
QChar UtilTimeSeparator() { return FormatSettings.TimeSeparator; }
QChar UtilDateSeparator() { return FormatSettings.DateSeparator; }
QChar UtilThousandSeparator() { return FormatSettings.ThousandSeparator; }
QChar UtilDecimalSeparator() { return FormatSettings.DecimalSeparator; }
QString UtilShortDateFormat() { return FormatSettings.ShortDateFormat; }

// ---- integers --------------------------------------------------------------------------------
int IntMax(int a, int b) { return a > b ? a : b; }
int IntMin(int a, int b) { return a < b ? a : b; }

int ClampToLimits(int Value, int Min, int Max) {
    if (Min == Max) return Value;
    if (Max > 0 && Value > Max) return Max;
    if (Min > 0 && Value < Min) return Min;
    return Value;
}

// ---- searching and cutting -------------------------------------------------------------------
int UpperPos(const QString& Needle, const QString& Text) { return PosFrom(Needle, UpperSameLength(Text)); }

int PosVar(const QString& Needle, const QString& Text, int& Pos) {
    Pos = PosFrom(Needle, Text);
    return Pos;
}

int CharPos(QChar Ch, const QString& Text) { return Text.indexOf(Ch) + 1; }

int CharPosVar(QChar Ch, const QString& Text, int& Pos) {
    const int P = CharPos(Ch, Text);
    if (P > 0) Pos = P;
    return P;
}

QString CutField(QString& Text, const QString& Delimiter) {
    const int P = PosFrom(Delimiter, Text);
    if (P == 0) return QString();
    const QString Field = Text.left(P - 1);
    Text.remove(0, P);
    return Field;
}

QString ConcatLines(const QStringList& Lines) { return Lines.join(QString()); }
QString ConcatLines(const TStrings& Lines) { return ConcatLines(Lines.ToStringList()); }

int WidePos(const QString& Needle, const QString& Text) { return PosFrom(Needle, Text); }

int FindUnpairedChar(QChar Ch, const QString& Text, int& Pos) {
    Pos = UnpairedIndex(Ch, Text.constData(), 0, Text.size()) + 1;
    return Pos;
}

int CountUnpairedChar(QChar Ch, const QString& Text) {
    int Count = 0;
    int From = 0;
    for (;;) {
        const int I = UnpairedIndex(Ch, Text.constData(), From, Text.size());
        if (I < 0) break;
        ++Count;
        From = I + 1;
    }
    return Count;
}

int CountChar(QChar Ch, const QString& Text) { return int(Text.count(Ch)); }

int LineCount(const QString& Text, bool MultiLine) { return MultiLine ? 1 + int(Text.count(CR)) : 1; }

void ExtractFirstLine(QString& Text, bool KeepRest, QString& Line) {
    const int I = Text.indexOf(CR);
    if (I < 0) {
        Line = Text;
        Text.clear();
        return;
    }
    Line = Text.left(I);
    int RestFrom = I + 1;
    if (RestFrom < Text.size() && Text.at(RestFrom) == LF) ++RestFrom;
    if (KeepRest)
        Text.remove(0, RestFrom);
    else
        Text.clear();
}

// ---- line breaks and characters ----------------------------------------------------------------
QString UnescapeLineBreaks(const QString& Text) {
    QString R(Text);
    R.replace(QStringLiteral("\\n"), QString(CR));
    return R;
}

QString EscapeLineBreaks(const QString& Text) {
    QString R;
    R.reserve(Text.size() + 8);
    for (QChar C : Text) {
        if (C == CR)
            R += QStringLiteral("\\n");
        else if (C != LF)
            R += C;
    }
    return R;
}

QString StripCR(const QString& Text) {
    QString R(Text);
    R.remove(CR);
    return R;
}

QString CRToLF(const QString& Text) {
    QString R(Text);
    R.replace(CR, LF);
    return R;
}

void FillWithChar(QString& Text, QChar Ch) { Text.fill(Ch); }

// ---- URLs and cell references ----------------------------------------------------------------
bool IsURLText(const QString& Text) {
    return Text.contains(QStringLiteral("://")) || Text.contains(QStringLiteral("mailto:"));
}

void StripURLScheme(QString& Text) {
    int P = Text.indexOf(QStringLiteral("://"));
    if (P >= 0) {
        Text.remove(0, P + 3);
        return;
    }
    P = Text.indexOf(QStringLiteral("mailto:"));
    if (P >= 0) Text.remove(0, P + 7);
}

bool ParseRCCellRef(const QString& Text, TPoint& Cell) {
    const QString S = UpperSameLength(Text);
    if (S.size() < 4 || S.at(0) != QChar('R')) return false;
    const int C = S.indexOf(QChar('C'));
    if (C < 0) return false;
    int Row = 0;
    int Col = 0;
    if (!TryStrToInt(S.mid(1, C - 1), Row) || !TryStrToInt(S.mid(C + 1), Col)) return false;
    Cell.X = Col;
    Cell.Y = Row;
    return true;
}
