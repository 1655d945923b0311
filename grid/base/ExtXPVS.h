#pragma once
// Binding of the classic visual-styles library at run time, so that the same program starts
// where it is missing. Two units (ExtXPVS for the grids, ATXPVS for the editors and drop-downs)
// each keep their own binding: handle, loaded flag and 45 entry-point slots. Themed drawing
// itself goes through the platform's theme painter (platform/gui/Themes.h); on this platform the
// library is absent, so the flag stays false and every slot null.
#include "platform/rtl/SysUtils.h"

#include <QString>

#include <array>
#include <functional>

TESSARO_DECLARE_EXCEPTION(EAssertionFailed, Exception)

// How a binding reaches a library: load by name (null when it is not there), look an entry
// point up by name, free it.
struct TThemeLibraryLoader {
    std::function<void*(const QString& Name)> Load;
    std::function<void*(void* Handle, const char* Name)> Resolve;
    std::function<void(void* Handle)> Free;
};

// The loader of this platform: there is no "UXTHEME.DLL" to load.
TThemeLibraryLoader PlatformThemeLibraryLoader();

class TThemeLibraryBinding {
public:
    static constexpr int EntryPointCount = 45;
    static const std::array<const char*, EntryPointCount> EntryPointNames;

    explicit TThemeLibraryBinding(const char* UnitName) : FUnitName(UnitName) {}

    // Nothing when already loaded. Without the library: not loaded, no slot bound, no error. A
    // library that lacks an entry point raises EAssertionFailed naming the unit at that point
    // (the later slots stay null).
    void Bind(const TThemeLibraryLoader& Loader);
    void Unbind();
    bool Loaded() const { return FLoaded; }
    void* Slot(int Index) const { return Index >= 0 && Index < EntryPointCount ? FSlots[size_t(Index)] : nullptr; }

    // The unit's life cycle: the first initialization binds, the matching last finalization
    // unbinds.
    void Initialize(const TThemeLibraryLoader& Loader);
    void Finalize();
    int InitCount() const { return FInitCount; }

private:
    const char* FUnitName;
    void* FHandle = nullptr;
    bool FLoaded = false;
    std::array<void*, EntryPointCount> FSlots{};
    TThemeLibraryLoader FLoader;
    int FInitCount = 0;
};

namespace ExtXPVS {
TThemeLibraryBinding& Binding();
void BindThemeLibrary();
void UnbindThemeLibrary();
inline bool ThemeLibraryLoaded() { return Binding().Loaded(); }
} // namespace ExtXPVS
