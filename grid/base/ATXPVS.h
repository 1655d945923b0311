#pragma once
// The visual-styles binding of the editor and drop-down controls: the same binding as ExtXPVS,
// with its own handle, flag and slots.
#include "grid/base/ExtXPVS.h"

namespace ATXPVS {
TThemeLibraryBinding& Binding();
void BindThemeLibrary();
void UnbindThemeLibrary();
inline bool ThemeLibraryLoaded() { return Binding().Loaded(); }
} // namespace ATXPVS
