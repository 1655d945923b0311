#pragma once
// The check for a newer version of the configurator: one bounded HTTP GET to the maker's version
// service, whose reply is a text like "VER. 1.002". Any failure means "no newer version".

#include "platform/net/HttpClient.h"

#include <QString>

// The configurator's own version.
inline const QString Const_SW_Version = QStringLiteral("1.000");

// The maker's web site: the version service and the download page live below it.
inline const QString Maker_Web_Site = QStringLiteral("https://www.velmora.com/");
inline const QString Version_Service_Path = QStringLiteral("home/download/GetversionSW.asp");
inline const QString Download_Page_Path = QStringLiteral("Home/download/download.asp#GWU4180");

// The query must never hold up the user for long: the window waits for it.
inline constexpr THttpTimeouts Version_Query_Timeouts{5000, 10000, true};

// The service's reply when it has no version published.
inline const QString No_Version_Reply = QStringLiteral("VER. 0.000");

// Site + path + "?nomesw=" + the software code.
QString Version_Query_URL(const QString& Site = Maker_Web_Site);
QString Download_Page_URL(const QString& Site = Maker_Web_Site);

// The version in Ver_str as a number: the text after the first blank (all of it when there is
// none), trimmed, its characters 1, 3, 4 and 5 joined ("1.002" gives 1002); -1 unless those are
// four decimal digits.
int Conv_Version(const QString& Ver_str);

// True when the reply names a version newer than Const_SW_Version.
bool Reply_Names_Newer_Version(const QString& Reply);

// Asks the version service (at Site) through the HTTP service; true when it names a newer
// version. No answer, an error status or an unreadable reply give false; nothing raises.
bool Check_Version(const QString& Site = Maker_Web_Site);

// The link caption the main window and the options dialog show for a newer version.
QString Update_Link_Caption(const QString& LinkText, const QString& Site = Maker_Web_Site);
