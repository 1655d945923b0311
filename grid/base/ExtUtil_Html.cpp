#include "grid/base/ExtUtil.h"

#include "grid/base/ExtUtil_Internal.h"

using namespace ExtUtil_Internal;

// ---- HTML entities and markup ----------------------------------------------------------------
namespace {
struct TEntity {
    char16_t Ch;
    const char* Name;
};

// The named characters the grid converts (Western European letters, signs).
constexpr TEntity EntityTable[] = {
    {0x00E9, "&eacute;"}, {0x00E8, "&egrave;"}, {0x00EB, "&euml;"},   {0x00EA, "&ecirc;"},  {0x00F3, "&oacute;"},
    {0x00F2, "&ograve;"}, {0x00F6, "&ouml;"},   {0x00F4, "&ocirc;"},  {0x00ED, "&iacute;"}, {0x00EC, "&igrave;"},
    {0x00EF, "&iuml;"},   {0x00EE, "&icirc;"},  {0x00FA, "&uacute;"}, {0x00F9, "&ugrave;"}, {0x00FC, "&uuml;"},
    {0x00FB, "&ucirc;"},  {0x00E1, "&aacute;"}, {0x00E0, "&agrave;"}, {0x00E4, "&auml;"},   {0x00E2, "&acirc;"},
    {0x00C9, "&Eacute;"}, {0x00C8, "&Egrave;"}, {0x00CB, "&Euml;"},   {0x00CA, "&Ecirc;"},  {0x00D3, "&Oacute;"},
    {0x00D2, "&Ograve;"}, {0x00D6, "&Ouml;"},   {0x00D4, "&Ocirc;"},  {0x00CD, "&Iacute;"}, {0x00CC, "&Igrave;"},
    {0x00CF, "&Iuml;"},   {0x00CE, "&Icirc;"},  {0x00DA, "&Uacute;"}, {0x00D9, "&Ugrave;"}, {0x00DC, "&Uuml;"},
    {0x00DB, "&Ucirc;"},  {0x00C1, "&Aacute;"}, {0x00C0, "&Agrave;"}, {0x00C4, "&Auml;"},   {0x00C2, "&Acirc;"},
    {0x00E7, "&ccedil;"}, {0x00C7, "&Ccedil;"}, {0x00F8, "&oslash;"}, {0x00D8, "&Oslash;"}, {0x00E5, "&aring;"},
    {0x00C5, "&Aring;"},  {0x00A9, "&copy;"},   {0x00AE, "&reg;"},    {0x20AC, "&euro;"},   {0x00AB, "&laquo;"},
    {0x00BB, "&raquo;"}};

constexpr TEntity BasicEntities[] = {{'<', "&lt;"}, {'>', "&gt;"}, {'&', "&amp;"}, {'"', "&quot;"}};

bool EntityAt(const QString& Text, int I, const char* Name) {
    const int L = int(qstrlen(Name));
    if (I + L > Text.size()) return false;
    for (int K = 0; K < L; ++K)
        if (Text.at(I + K).unicode() != char16_t(uchar(Name[K]))) return false;
    return true;
}
} // namespace

// One pass over the text: each entity is replaced where it stands, in its exact letter case,
// and what a replacement produces is never read again, so decoding undoes one encoding exactly.
QString DecodeHTMLEntities(const QString& Text, bool UseTable) {
    if (!Text.contains(QChar('&'))) return Text;
    QString R;
    R.reserve(Text.size());
    const int N = Text.size();
    for (int I = 0; I < N;) {
        if (Text.at(I) == QChar('&')) {
            const TEntity* Found = nullptr;
            for (const TEntity& E : BasicEntities)
                if (EntityAt(Text, I, E.Name)) Found = &E;
            if (!Found && UseTable)
                for (const TEntity& E : EntityTable)
                    if (EntityAt(Text, I, E.Name)) {
                        Found = &E;
                        break;
                    }
            if (Found) {
                R += QChar(Found->Ch);
                I += int(qstrlen(Found->Name));
                continue;
            }
        }
        R += Text.at(I++);
    }
    return R;
}

QString EncodeHTMLEntities(const QString& Text, bool UseTable) {
    QString R;
    R.reserve(Text.size() + 16);
    for (QChar C : Text) {
        const TEntity* Found = nullptr;
        for (const TEntity& E : BasicEntities)
            if (E.Ch == C.unicode()) Found = &E;
        if (!Found && UseTable && C.unicode() >= 0x80)
            for (const TEntity& E : EntityTable)
                if (E.Ch == C.unicode()) {
                    Found = &E;
                    break;
                }
        if (Found)
            R += QLatin1String(Found->Name);
        else
            R += C;
    }
    return R;
}

QString SpacesToNbsp(const QString& Text) {
    QString R(Text);
    R.replace(QChar(' '), QStringLiteral("&nbsp;"));
    return R;
}

QString StripHTMLTags(const QString& Text) {
    QString S(Text);
    S.replace(QStringLiteral("<BR>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
    S.replace(QStringLiteral("<HR>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
    QString R;
    R.reserve(S.size());
    int I = 0;
    const int N = S.size();
    while (I < N) {
        const int Lt = S.indexOf(QChar('<'), I);
        if (Lt < 0) break;
        const int Gt = S.indexOf(QChar('>'), Lt + 1);
        if (Gt < 0) break;
        R += QStringView(S).mid(I, Lt - I);
        I = Gt + 1;
    }
    R += QStringView(S).mid(I);
    return R;
}

QString RemoveTags(const QString& Text) {
    QString R;
    int I = 0;
    for (;;) {
        const int Lt = Text.indexOf(QChar('<'), I);
        const int Gt = Text.indexOf(QChar('>'), I);
        if (Lt < 0 || Gt < 0 || Gt < Lt) break;
        R += QStringView(Text).mid(I, Lt - I);
        I = Gt + 1;
    }
    R += QStringView(Text).mid(I);
    return R;
}

int VisibleCharIndex(const QString& Markup, int N) {
    if (N < 1) return 0;
    const int L = Markup.size();
    int Visible = 0;
    for (int I = 0; I < L;) {
        if (Markup.at(I) == QChar('<')) {
            const int Gt = Markup.indexOf(QChar('>'), I + 1);
            if (Gt >= 0) {
                I = Gt + 1;
                continue;
            }
        }
        ++Visible;
        ++I;
    }
    if (N == Visible + 1) return L + 1;
    if (N > Visible) return 0;
    int V = 0;
    for (int I = 0; I < L;) {
        if (Markup.at(I) == QChar('<')) {
            const int Gt = Markup.indexOf(QChar('>'), I + 1);
            if (Gt >= 0) {
                if (V == N - 1) return I + 1;
                I = Gt + 1;
                continue;
            }
        }
        if (++V == N) return I + 1;
        ++I;
    }
    return 0;
}

int FindFrom(const QString& Needle, const QString& Text, int Offset, bool CaseSensitive, int& Pos) {
    if (Offset < 0) Offset = 0;
    int P;
    if (CaseSensitive)
        P = PosFrom(Needle, Text, Offset);
    else
        P = PosFrom(UpperSameLength(Needle), UpperSameLength(Text), Offset);
    Pos = P;
    return P;
}

QString HighlightInHTML(const QString& Markup, const QString& Needle, const QString& Tag, bool CaseSensitive) {
    QString Result(Markup);
    QString Visible = RemoveTags(Markup);
    QString Find(Needle);
    int P = 0;
    if (FindFrom(Needle, Markup, 0, CaseSensitive, P) > 0 &&
        (Visible.contains(QChar('<')) || Visible.contains(QChar('>')))) {
        // Plain text that holds "<" or ">": highlight it as escaped text.
        auto Escape = [](QString S) {
            S.replace(QChar('<'), QStringLiteral("&lt;"));
            S.replace(QChar('>'), QStringLiteral("&gt;"));
            return S;
        };
        Visible = Escape(Visible);
        Result = Visible;
        Find = Escape(Find);
    }
    const QString Open = QChar('<') + Tag + QChar('>');
    const QString Close = QStringLiteral("</") + Tag + QChar('>');
    int Offset = 0;
    while (FindFrom(Find, Visible, Offset, CaseSensitive, P) > 0) {
        int At = VisibleCharIndex(Result, P);
        if (At == 0) break;
        // A hit right after the previous one opens after that hit's closing tag, not inside it.
        while (QStringView(Result).mid(At - 1).startsWith(Close)) At += Close.size();
        Result.insert(At - 1, Open);
        const int End = VisibleCharIndex(Result, P + Find.size());
        if (End == 0) break;
        Result.insert(End - 1, Close);
        Offset = P + Find.size() - 1;
    }
    return Result;
}

QString UnhighlightInHTML(const QString& Markup, const QString& Tag) {
    QString R(Markup);
    R.remove(QChar('<') + Tag + QChar('>'), Qt::CaseInsensitive);
    R.remove(QStringLiteral("</") + Tag + QChar('>'), Qt::CaseInsensitive);
    R.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    R.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return R;
}
