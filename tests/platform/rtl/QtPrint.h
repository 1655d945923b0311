#pragma once
// Lets GoogleTest show QStrings as text in its failure messages.
#include <QString>

#include <ostream>

inline void PrintTo(const QString& S, std::ostream* Os) { *Os << '"' << S.toStdString() << '"'; }
