#include "grid/base/ExtStyleIF.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Themes.h"

#include <QApplication>
#include <QEvent>

// ---- probes -------------------------------------------------------------------------------------
// The themed parts come from the application's style, which every supported desktop has.
bool IsComCtl6() { return true; }
bool IsVistaOrLater() { return true; }
bool IsWinXPOrLater() { return true; }

// No office suite keeps its settings in a registry here.
int ReadOfficeThemeValue(int) { return -1; }
int GetOfficeVersion() { return 0; }

int ColorSchemeFromName(const QString& ColorName) {
    static const char* const Names[] = {"NormalColor", "HomeStead", "Metallic"};
    if (ColorName.isEmpty()) return 0;
    for (int i = 0; i < 3; ++i)
        if (QString::fromLatin1(Names[i]).contains(ColorName)) return i + 1;
    return 0;
}

int GetWindowsColorScheme() {
    if (!IsWinXPOrLater() || !ThemesActive() || !IsComCtl6()) return 0;
    // The application's style has no colour-scheme name of the XP kind.
    return ColorSchemeFromName(QString());
}

TOfficeTheme OfficeThemeFromValues(int Theme14, int Theme12, int ColorScheme) {
    if (Theme14 != -1) {
        switch (Theme14) {
            case 1: return ot2010Blue;
            case 2: return ot2010Silver;
            case 3: return ot2010Black;
            default: return ot2003Blue;
        }
    }
    if (Theme12 != -1) {
        switch (Theme12) {
            case 1: return ot2007Blue;
            case 2: return ot2007Silver;
            case 3: return ot2007Black;
            default: return ot2003Blue;
        }
    }
    switch (ColorScheme) {
        case 0: return ot2003Classic;
        case 2: return ot2003Olive;
        case 3: return ot2003Silver;
        default: return ot2003Blue;
    }
}

TOfficeTheme GetOfficeTheme() {
    const int V14 = ReadOfficeThemeValue(14);
    const int V12 = V14 == -1 ? ReadOfficeThemeValue(12) : -1;
    const int Scheme = V14 == -1 && V12 == -1 ? GetWindowsColorScheme() : 0;
    return OfficeThemeFromValues(V14, V12, Scheme);
}

QString GetDefaultUIFontName() { return IsVistaOrLater() ? QStringLiteral("Segoe UI") : QStringLiteral("Tahoma"); }

// ---- notifier window ----------------------------------------------------------------------------
TThemeNotifierWindow::TThemeNotifierWindow(TComponent* AOwner) : TWinControl(AOwner) {}

void TThemeNotifierWindow::WndProc(TMessage& Message) {
    if (Message.Msg == WM_OFFICETHEMECHANGED && FOnOfficeThemeChange) FOnOfficeThemeChange(this);
    TWinControl::WndProc(Message);
}

// ---- notifier -----------------------------------------------------------------------------------
namespace {
TThemeNotifier* GNotifier = nullptr;
}

// Watches the application for a change of its palette, style or theme.
class TThemeNotifier::TAppWatcher : public QObject {
public:
    explicit TAppWatcher(TThemeNotifier* Owner) : FOwner(Owner) {
        if (qApp) qApp->installEventFilter(this);
    }
    ~TAppWatcher() override {
        if (qApp) qApp->removeEventFilter(this);
    }
    bool eventFilter(QObject* Watched, QEvent* E) override {
        if (Watched == qApp) {
            switch (E->type()) {
                case QEvent::ApplicationPaletteChange:
                case QEvent::ThemeChange:
                case QEvent::StyleChange: TControl::Guard(FOwner, [this] { FOwner->NotifyThemeChange(); }); break;
                default: break;
            }
        }
        return false;
    }

private:
    TThemeNotifier* FOwner;
};

TThemeNotifier::TThemeNotifier(TComponent* AOwner) : TComponent(AOwner) {
    if (ComponentState().Contains(csDesigning)) return;
    if (auto* Parent = dynamic_cast<TWinControl*>(AOwner)) {
        FNotifier = new TThemeNotifierWindow(this);
        FNotifier->SetVisible(false);
        FNotifier->SetParent(Parent);
        FNotifier->FOnOfficeThemeChange = [this](TObject*) {
            if (OnOfficeThemeChange) OnOfficeThemeChange(this);
        };
    }
    FWatcher = new TAppWatcher(this);
}

TThemeNotifier::~TThemeNotifier() {
    delete FWatcher;
    FWatcher = nullptr;
    if (GNotifier == this) GNotifier = nullptr;
    // The notifier window is a child of the owner's window: the owner may already be going.
    if (FNotifier) {
        FNotifier->FOnOfficeThemeChange = nullptr;
        if (!FNotifier->parentWidget()) delete FNotifier;
    }
}

void TThemeNotifier::RegisterWindow(QWidget* Hwnd) {
    if (!Hwnd) return;
    for (const auto& W : FWinList)
        if (W == Hwnd) return;
    FWinList.emplace_back(Hwnd);
}

void TThemeNotifier::UnRegisterWindow(QWidget* Hwnd) {
    for (auto It = FWinList.begin(); It != FWinList.end(); ++It) {
        if (*It == Hwnd) {
            FWinList.erase(It);
            return;
        }
    }
}

int TThemeNotifier::WindowCount() const {
    int N = 0;
    for (const auto& W : FWinList)
        if (W) ++N;
    return N;
}

void TThemeNotifier::NotifyThemeChange() {
    if (FNotifier)
        FNotifier->Perform(WM_OFFICETHEMECHANGED, WPARAM(HKEY_CURRENT_USER_ROOT), 0);
    else if (OnOfficeThemeChange)
        OnOfficeThemeChange(this);
    // A handler may register or unregister windows: walk a copy.
    const std::vector<QPointer<QWidget>> Targets = FWinList;
    for (const auto& W : Targets) {
        if (auto* C = dynamic_cast<TControl*>(W.data()))
            C->Perform(WM_OFFICETHEMECHANGED, WPARAM(HKEY_CURRENT_USER_ROOT), 0);
    }
}

TThemeNotifier* GetThemeNotifier(TComponent* AOwner) {
    if (!GNotifier) {
        TComponent* Owner = AOwner;
        if (Application && Application->MainForm()) Owner = Application->MainForm();
        GNotifier = new TThemeNotifier(Owner);
    }
    return GNotifier;
}
