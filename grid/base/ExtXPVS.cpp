#include "grid/base/ExtXPVS.h"

const std::array<const char*, TThemeLibraryBinding::EntryPointCount> TThemeLibraryBinding::EntryPointNames = {
    "OpenThemeData",
    "CloseThemeData",
    "DrawThemeBackground",
    "DrawThemeText",
    "GetThemeBackgroundContentRect",
    "GetThemeBackgroundExtent",
    "GetThemeTextExtent",
    "GetThemeTextMetrics",
    "GetThemeBackgroundRegion",
    "HitTestThemeBackground",
    "DrawThemeEdge",
    "DrawThemeIcon",
    "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent",
    "GetThemeColor",
    "GetThemeMetric",
    "GetThemeString",
    "GetThemeBool",
    "GetThemeInt",
    "GetThemeEnumValue",
    "GetThemePosition",
    "GetThemeFont",
    "GetThemeRect",
    "GetThemeMargins",
    "GetThemeIntList",
    "SetWindowTheme",
    "GetThemeFilename",
    "GetThemeSysColor",
    "GetThemeSysColorBrush",
    "GetThemeSysBool",
    "GetThemeSysSize",
    "GetThemeSysFont",
    "GetThemeSysString",
    "GetThemeSysInt",
    "IsThemeActive",
    "IsAppThemed",
    "GetWindowTheme",
    "EnableThemeDialogTexture",
    "IsThemeDialogTextureEnabled",
    "GetThemeAppProperties",
    "SetThemeAppProperties",
    "GetCurrentThemeName",
    "GetThemeDocumentationProperty",
    "DrawThemeParentBackground",
    "EnableTheming",
};

TThemeLibraryLoader PlatformThemeLibraryLoader() {
    TThemeLibraryLoader L;
    L.Load = [](const QString&) -> void* { return nullptr; };
    L.Resolve = [](void*, const char*) -> void* { return nullptr; };
    L.Free = [](void*) {};
    return L;
}

void TThemeLibraryBinding::Bind(const TThemeLibraryLoader& Loader) {
    if (FLoaded) return;
    void* Handle = Loader.Load ? Loader.Load(QStringLiteral("UXTHEME.DLL")) : nullptr;
    if (!Handle) return;
    FHandle = Handle;
    FLoader = Loader;
    FLoaded = true;
    for (int i = 0; i < EntryPointCount; ++i) {
        FSlots[size_t(i)] = Loader.Resolve ? Loader.Resolve(Handle, EntryPointNames[size_t(i)]) : nullptr;
        if (!FSlots[size_t(i)])
            throw EAssertionFailed(
                QStringLiteral("Assertion failure (%1, entry point %2)")
                    .arg(QString::fromLatin1(FUnitName), QString::fromLatin1(EntryPointNames[size_t(i)])));
    }
}

void TThemeLibraryBinding::Unbind() {
    if (!FLoaded) return;
    if (FLoader.Free) FLoader.Free(FHandle);
    FHandle = nullptr;
    FSlots.fill(nullptr);
    FLoaded = false;
}

void TThemeLibraryBinding::Initialize(const TThemeLibraryLoader& Loader) {
    if (FInitCount++ == 0) Bind(Loader);
}

void TThemeLibraryBinding::Finalize() {
    if (FInitCount == 0) return;
    if (--FInitCount == 0) Unbind();
}

namespace ExtXPVS {
TThemeLibraryBinding& Binding() {
    static TThemeLibraryBinding B("ExtXPVS");
    return B;
}
void BindThemeLibrary() { Binding().Bind(PlatformThemeLibraryLoader()); }
void UnbindThemeLibrary() { Binding().Unbind(); }
} // namespace ExtXPVS

namespace {
// Binds at start-up and releases at the end, as the unit's initialization and finalization.
struct TExtXPVSUnit {
    TExtXPVSUnit() { ExtXPVS::Binding().Initialize(PlatformThemeLibraryLoader()); }
    ~TExtXPVSUnit() { ExtXPVS::Binding().Finalize(); }
} ExtXPVSUnit;
} // namespace
