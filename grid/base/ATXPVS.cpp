#include "grid/base/ATXPVS.h"

namespace ATXPVS {
TThemeLibraryBinding& Binding() {
    static TThemeLibraryBinding B("ATXPVS");
    return B;
}
void BindThemeLibrary() { Binding().Bind(PlatformThemeLibraryLoader()); }
void UnbindThemeLibrary() { Binding().Unbind(); }
} // namespace ATXPVS

namespace {
struct TATXPVSUnit {
    TATXPVSUnit() { ATXPVS::Binding().Initialize(PlatformThemeLibraryLoader()); }
    ~TATXPVSUnit() { ATXPVS::Binding().Finalize(); }
} ATXPVSUnit;
} // namespace
