#pragma once
// Readable Qt strings in test failure messages.
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& S, std::ostream* Os) { *Os << '"' << S.toStdString() << '"'; }
inline void PrintTo(const QStringList& L, std::ostream* Os) {
    *Os << '{';
    for (int I = 0; I < L.size(); ++I) *Os << (I ? ", " : "") << '"' << L[I].toStdString() << '"';
    *Os << '}';
}
