#include "grid/base/ExtUtil.h"

#include "grid/base/ExtUtil_Internal.h"

using namespace ExtUtil_Internal;

// ---- embedded control tags -------------------------------------------------------------------
namespace {
struct TControlAttrs {
    QString Type, ID, MaxLen, Prop, Height, Width, Value;
    bool HasHeight = false;
};

// The attributes are read as NAME="value" pairs in order, so a value that happens to contain
// another attribute's name ("WIDTH=" typed into an edit) cannot be mistaken for it. The first
// pair of a name counts; a value without double quotes reads as empty.
TControlAttrs ReadControlAttrs(const QString& A) {
    TControlAttrs R;
    bool Seen[7] = {};
    const int N = A.size();
    int I = 0;
    while (I < N) {
        while (I < N && A.at(I).isSpace()) ++I;
        const int NameStart = I;
        while (I < N && A.at(I) != QChar('=') && !A.at(I).isSpace()) ++I;
        const QString Name = UpperSameLength(A.mid(NameStart, I - NameStart));
        if (I >= N || A.at(I) != QChar('=')) {
            if (I == NameStart) ++I;
            continue;
        }
        ++I; // past "="
        QString Value;
        if (I < N && A.at(I) == Quote) {
            const int Close = A.indexOf(Quote, I + 1);
            if (Close < 0) break;
            Value = A.mid(I + 1, Close - I - 1);
            I = Close + 1;
        } else {
            while (I < N && !A.at(I).isSpace()) ++I;
        }
        static const char* const Names[7] = {"TYPE", "ID", "MAXLEN", "PROP", "HEIGHT", "WIDTH", "VALUE"};
        QString* const Fields[7] = {&R.Type, &R.ID, &R.MaxLen, &R.Prop, &R.Height, &R.Width, &R.Value};
        for (int K = 0; K < 7; ++K) {
            if (!Seen[K] && Name == QLatin1String(Names[K])) {
                Seen[K] = true;
                *Fields[K] = Value;
                if (K == 4) R.HasHeight = true;
            }
        }
    }
    R.Type = UpperSameLength(R.Type);
    R.Value = DecodeHTMLEntities(R.Value, true);
    R.Prop = DecodeHTMLEntities(R.Prop, true);
    return R;
}

struct TControlTag {
    int Start = -1; // 0-based index of "<"
    int End = -1; // 0-based index of the closing ">"
    TControlAttrs Attrs;
};

// The control tag found at or after From; Start stays -1 when there is none.
TControlTag NextControlTag(const QString& Text, int From) {
    TControlTag T;
    static const QString Marker = QStringLiteral("<CONTROL ");
    const int S = Text.indexOf(Marker, From, Qt::CaseInsensitive);
    if (S < 0) return T;
    const int Gt = Text.indexOf(QChar('>'), S + Marker.size());
    if (Gt < 0) return T;
    T.Start = S;
    T.End = Gt;
    T.Attrs = ReadControlAttrs(Text.mid(S + Marker.size(), Gt - S - Marker.size()));
    return T;
}

TControlTag FindControl(const QString& Text, const QString& ID) {
    for (TControlTag T = NextControlTag(Text, 0); T.Start >= 0; T = NextControlTag(Text, T.End + 1))
        if (T.Attrs.ID == ID) return T;
    return TControlTag();
}

QString Quoted(const QString& S) { return Quote + S + Quote; }
} // namespace

bool HasControlTag(const QString& Text) { return Text.contains(QStringLiteral("<CONTROL"), Qt::CaseInsensitive); }

void ParseControlTag(const QString& Attributes, QString& CType, QString& CID, QString& CMaxLen, QString& CProp,
                     QString& CHeight, QString& CWidth, QString& CValue) {
    const TControlAttrs A = ReadControlAttrs(Attributes);
    CType = A.Type;
    CID = A.ID;
    CMaxLen = A.MaxLen;
    CProp = A.Prop;
    CHeight = A.Height;
    CWidth = A.Width;
    CValue = A.Value;
}

bool GetControlValue(const QString& Text, const QString& ID, QString& Value) {
    const TControlTag T = FindControl(Text, ID);
    if (T.Start < 0) return false;
    Value = T.Attrs.Value;
    return true;
}

QString GetControlProp(const QString& Text, const QString& ID) {
    const TControlTag T = FindControl(Text, ID);
    return T.Start < 0 ? QString() : T.Attrs.Prop;
}

int GetControlMaxLen(const QString& Text, const QString& ID) {
    const TControlTag T = FindControl(Text, ID);
    return T.Start < 0 ? 0 : StrToIntDef(T.Attrs.MaxLen, 0);
}

QString NextEditControlID(const QString& Text, const QString& ID) {
    bool After = ID.isEmpty();
    for (TControlTag T = NextControlTag(Text, 0); T.Start >= 0; T = NextControlTag(Text, T.End + 1)) {
        if (!After) {
            After = T.Attrs.ID == ID;
            continue;
        }
        const QString& Type = T.Attrs.Type;
        if (Type != QLatin1String("BUTTON") && Type != QLatin1String("CHECK") && Type != QLatin1String("RADIO"))
            return T.Attrs.ID;
    }
    return QString();
}

QString ClearRadioControls(const QString& Text) {
    QStringList Radios;
    for (TControlTag T = NextControlTag(Text, 0); T.Start >= 0; T = NextControlTag(Text, T.End + 1))
        if (T.Attrs.Type == QLatin1String("RADIO")) Radios << T.Attrs.ID;
    QString R(Text);
    for (const QString& ID : Radios) SetControlValue(R, ID, QStringLiteral("FALSE"));
    return R;
}

bool SetControlValue(QString& Text, const QString& ID, const QString& NewValue) {
    const TControlTag T = FindControl(Text, ID);
    if (T.Start < 0) return false;
    const TControlAttrs& A = T.Attrs;
    QString Tag = QStringLiteral("CONTROL ID=") + Quoted(ID) + QStringLiteral(" VALUE=") +
        Quoted(EncodeHTMLEntities(NewValue, true)) + QStringLiteral(" WIDTH=") + Quoted(A.Width) +
        QStringLiteral(" TYPE=") + Quoted(A.Type);
    if (!A.Prop.isEmpty()) Tag += QStringLiteral(" PROP=") + Quoted(EncodeHTMLEntities(A.Prop, true));
    if (!A.MaxLen.isEmpty()) Tag += QStringLiteral(" MAXLEN=") + Quoted(A.MaxLen);
    if (A.HasHeight) Tag += QStringLiteral(" HEIGHT=") + Quoted(A.Height);
    Tag += QChar('>');
    Text = Text.left(T.Start + 1) + Tag + Text.mid(T.End + 1);
    return true;
}
