#include "grid/base/ExtUtil.h"

#include "grid/base/ExtUtil_Internal.h"

using namespace ExtUtil_Internal;

// ---- HTML export and clipboard ---------------------------------------------------------------
QString CRToHTMLBreak(const QString& Text) {
    if (!Text.contains(CR)) return Text;
    QString R(Text);
    R.replace(CR, QStringLiteral("<br>"));
    return R;
}

QString ColorToHTMLHex(TColor Color) {
    const uint32_t C = uint32_t(Color);
    return QString::asprintf("%02X%02X%02X", unsigned(C & 0xFF), unsigned((C >> 8) & 0xFF), unsigned((C >> 16) & 0xFF));
}

bool InsertURLAnchor(const QString& Text, const QString& Prefix, QString& Result) {
    if (PosFrom(Prefix, UpperSameLength(Text)) == 0) return false;
    QString Escaped(Text);
    Escaped.replace(QChar('<'), QStringLiteral("&lt;"));
    Escaped.replace(QChar('>'), QStringLiteral("&gt;"));
    const int Start = PosFrom(Prefix, UpperSameLength(Escaped)) - 1;
    if (Start < 0) { // a prefix holding "<" or ">" cannot survive the escaping
        Result = Escaped;
        return true;
    }
    auto InLink = [](QChar C) {
        const char16_t U = C.unicode();
        if ((U >= '0' && U <= '9') || (U >= 'A' && U <= 'Z') || (U >= 'a' && U <= 'z')) return true;
        switch (U) {
            case '%':
            case '(':
            case ')':
            case '-':
            case '.':
            case '/':
            case ':':
            case '@':
            case '\\':
            case '_':
            case '{':
            case '}': return true;
            default: return false;
        }
    };
    int End = Start;
    while (End < Escaped.size() && InLink(Escaped.at(End))) ++End;
    const QString Link = Escaped.mid(Start, End - Start);
    Result = Escaped.left(Start) + QStringLiteral("<a href=\"") + Link + QStringLiteral("\">") + Link +
        QStringLiteral("</a>") + Escaped.mid(End);
    return true;
}

void WrapClipboardHTML(QString& Html) {
    const int N = Html.size();
    auto Num = [](const QString& Name, int Value) {
        return Name + QStringLiteral("%1").arg(Value, 8, 10, QChar('0')) + QStringLiteral("\r\n");
    };
    Html = QStringLiteral("Version:1.0\r\n") + Num(QStringLiteral("StartHTML:"), 97) +
        Num(QStringLiteral("EndHTML:"), N + 306) + Num(QStringLiteral("StartFragment:"), 274) +
        Num(QStringLiteral("EndFragment:"), N + 274) +
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">") +
        QStringLiteral("<html><head><META http-equiv=Content-Type content=\"text/html; "
                       "charset=iso-8859-1\"></head><body><!--StartFragment-->") +
        Html + QStringLiteral("<!--EndFragment--></body></html>");
}
