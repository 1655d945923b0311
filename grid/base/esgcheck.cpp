#include "grid/base/esgcheck.h"

QString TExtStringGridCheck::MarkError(int, int, const QString& s) { return s; }
QString TExtStringGridCheck::Correct(int, int, const QString& s) { return s; }
void TExtStringGridCheck::StartCheck() {}
void TExtStringGridCheck::StopCheck() {}
