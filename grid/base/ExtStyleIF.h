#pragma once
// How the grid library adapts to the desktop: the styling types its controls implement, the
// probes for the desktop's colour scheme, the office suite's colour theme and the default UI
// font, and the theme notifier that tells registered grid windows when the desktop's look
// changes.
//
// On this platform there is no office suite in a registry and no XP colour scheme, so the
// probes answer from what Qt knows; the notifier watches the application's palette, style and
// theme changes from the UI thread (no worker thread) and sends the office-theme message to
// the windows registered with it.
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <vector>

// ---- styling types ------------------------------------------------------------------------------
enum TExtStyle : uint8_t {
    tsOffice2003Blue,
    tsOffice2003Silver,
    tsOffice2003Olive,
    tsOffice2003Classic,
    tsOffice2007Luna,
    tsOffice2007Obsidian,
    tsWindowsXP,
    tsWhidbey,
    tsCustom,
    tsOffice2007Silver,
    tsWindowsVista,
    tsWindows7,
    tsTerminal,
    tsOffice2010Blue,
    tsOffice2010Silver,
    tsOffice2010Black
};

struct TColorTone {
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
};

struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};

class IExtStyle {
public:
    virtual ~IExtStyle() = default;
    virtual void SetComponentStyle(TExtStyle AStyle) = 0;
};

class IExtTones {
public:
    virtual ~IExtTones() = default;
    virtual void SetColorTones(const TColorTones& ATones) = 0;
};

enum TOfficeTheme {
    ot2003Blue,
    ot2003Silver,
    ot2003Olive,
    ot2003Classic,
    ot2007Blue,
    ot2007Silver,
    ot2007Black,
    ot2010Blue,
    ot2010Silver,
    ot2010Black,
    otUnknown
};

// The office-theme message: sent to every registered window when the desktop's look changes.
constexpr Cardinal WM_OFFICETHEMECHANGED = 2993;
constexpr uintptr_t HKEY_CURRENT_USER_ROOT = 0x80000001u;

// ---- probes -------------------------------------------------------------------------------------
bool IsComCtl6();
bool IsVistaOrLater();
bool IsWinXPOrLater();
// 2: the 14.0 suite, 1: the 12.0 suite, 0: none.
int GetOfficeVersion();
// 0 none, 1 "NormalColor", 2 "HomeStead", 3 "Metallic".
int GetWindowsColorScheme();
// The scheme a colour name stands for: a name equal to one of the three scheme names, or a
// non-empty part of one, gives its number (first match in the order above); anything else 0.
int ColorSchemeFromName(const QString& ColorName);
// The "Theme" value of an office suite's settings (Version 12 or 14); -1 when there is none.
int ReadOfficeThemeValue(int Version);
TOfficeTheme GetOfficeTheme();
// The decision of GetOfficeTheme from its three inputs (-1: value missing).
TOfficeTheme OfficeThemeFromValues(int Theme14, int Theme12, int ColorScheme);
QString GetDefaultUIFontName();

// ---- notifier -----------------------------------------------------------------------------------
class TThemeNotifier;

// A hidden window that fires its event when it receives the office-theme message.
class TThemeNotifierWindow : public TWinControl {
public:
    explicit TThemeNotifierWindow(TComponent* AOwner);
    TNotifyEvent FOnOfficeThemeChange;
    void WndProc(TMessage& Message) override;
};

class TThemeNotifier : public TComponent {
public:
    explicit TThemeNotifier(TComponent* AOwner);
    ~TThemeNotifier() override;

    // Registering a window twice keeps one entry; unregistering removes it.
    void RegisterWindow(QWidget* Hwnd);
    void UnRegisterWindow(QWidget* Hwnd);
    int WindowCount() const;

    // Sends the office-theme message to the notifier window and every registered window that
    // still exists, in registration order; runs when the application's look changes.
    void NotifyThemeChange();

    TThemeNotifierWindow* NotifierWindow() const { return FNotifier.data(); }
    TNotifyEvent OnOfficeThemeChange;

private:
    class TAppWatcher;
    TAppWatcher* FWatcher = nullptr; // a Qt event filter on the application
    QPointer<TThemeNotifierWindow> FNotifier; // a child of the owner's window
    std::vector<QPointer<QWidget>> FWinList;
};

// The process-wide notifier, created on first call with the main form as owner when there is
// one, else AOwner; a new one is created after its owner destroyed it.
TThemeNotifier* GetThemeNotifier(TComponent* AOwner);
