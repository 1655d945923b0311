#include "app/USoftOptions_Version.h"

#include "app/UComon.h"
#include "platform/rtl/SysUtils.h"

QString Version_Query_URL(const QString& Site) {
    return Site + Version_Service_Path + "?nomesw=" + Const_SW_Code_Query;
}

QString Download_Page_URL(const QString& Site) { return Site + Download_Page_Path; }

int Conv_Version(const QString& Ver_str) {
    const int Blank = Ver_str.indexOf(' ');
    const QString S = Trim(Blank < 0 ? Ver_str : Ver_str.mid(Blank + 1));
    if (S.length() < 5) return -1;
    int Value = 0;
    for (int i : {0, 2, 3, 4}) {
        const QChar Ch = S.at(i);
        // Only plain digits: the general integer syntax would also take signs and hex prefixes.
        if (Ch < '0' || Ch > '9') return -1;
        Value = Value * 10 + (Ch.unicode() - '0');
    }
    return Value;
}

bool Reply_Names_Newer_Version(const QString& Reply) {
    const QString S = UpperCase(Trim(Reply));
    if (S.isEmpty() || S == No_Version_Reply) return false;
    const int Own = Conv_Version(Const_SW_Version);
    const int Latest = Conv_Version(Trim(Reply));
    return Own != -1 && Latest != -1 && Own < Latest;
}

bool Check_Version(const QString& Site) {
    try {
        const THttpHeaders Headers = {
            "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8",
            "User-Agent: Mozilla/3.0 (compatible; Indy Library)",
        };
        const std::optional<QByteArray> Body =
            HttpClient().Get(Version_Query_URL(Site), Version_Query_Timeouts, Headers);
        if (!Body) return false;
        return Reply_Names_Newer_Version(QString::fromUtf8(*Body));
    } catch (...) {
        // The check is a courtesy: whatever goes wrong, the user just hears of no update.
        return false;
    }
}

QString Update_Link_Caption(const QString& LinkText, const QString& Site) {
    return "<a href=\"" + Download_Page_URL(Site).toHtmlEscaped() + "\">" + LinkText.toHtmlEscaped() + "</a>";
}
