// Theme detection, the theme notifier and the theme library binding.
#include "grid/base/ExtStyleIF.h"

#include "grid/base/ATXPVS.h"
#include "grid/base/ExtXPVS.h"
#include "platform/gui/Forms.h"

#include <QApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace {

// ---- probes -------------------------------------------------------------------------------------
struct TThemeCase {
    const char* Name;
    int V14, V12, Scheme;
    TOfficeTheme Expected;
};

class OfficeTheme : public ::testing::TestWithParam<TThemeCase> {};

TEST_P(OfficeTheme, FromTheValuesFound) {
    const TThemeCase& P = GetParam();
    EXPECT_EQ(OfficeThemeFromValues(P.V14, P.V12, P.Scheme), P.Expected);
}

INSTANTIATE_TEST_SUITE_P(Table, OfficeTheme,
                         ::testing::Values(TThemeCase{"Office14Blue", 1, 2, 0, ot2010Blue},
                                           TThemeCase{"Office14BlackBeforeOffice12", 3, 1, 0, ot2010Black},
                                           TThemeCase{"Office14ZeroIsBlueWithoutLookingFurther", 0, 3, 0, ot2003Blue},
                                           TThemeCase{"MissingOffice14FallsToOffice12", -1, 2, 0, ot2007Silver},
                                           TThemeCase{"Office12Unknown", -1, 7, 0, ot2003Blue},
                                           TThemeCase{"ClassicDesktop", -1, -1, 0, ot2003Classic},
                                           TThemeCase{"HomeSteadIsOlive", -1, -1, 2, ot2003Olive},
                                           TThemeCase{"MetallicIsSilver", -1, -1, 3, ot2003Silver},
                                           TThemeCase{"NormalColorIsBlue", -1, -1, 1, ot2003Blue}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(ThemeProbes, ColourSchemeNamesAndThisPlatformsAnswers) {
    EXPECT_EQ(ColorSchemeFromName("NormalColor"), 1);
    EXPECT_EQ(ColorSchemeFromName("HomeStead"), 2);
    EXPECT_EQ(ColorSchemeFromName("Metallic"), 3);
    EXPECT_EQ(ColorSchemeFromName("Metal"), 3) << "a part of a name matches";
    EXPECT_EQ(ColorSchemeFromName("o"), 1) << "the first name holding it";
    EXPECT_EQ(ColorSchemeFromName(""), 0);
    EXPECT_EQ(ColorSchemeFromName("Royale"), 0);
    EXPECT_EQ(GetOfficeVersion(), 0);
    EXPECT_EQ(ReadOfficeThemeValue(14), -1);
    EXPECT_EQ(GetOfficeTheme(), ot2003Classic);
    EXPECT_EQ(GetDefaultUIFontName(), "Segoe UI");
    EXPECT_TRUE(IsComCtl6());
}

// ---- notifier -----------------------------------------------------------------------------------
// A window counting the office-theme messages it receives.
class TListener : public TWinControl {
public:
    explicit TListener(TComponent* AOwner) : TWinControl(AOwner) {}
    void WndProc(TMessage& M) override {
        if (M.Msg == WM_OFFICETHEMECHANGED) ++Received;
        TWinControl::WndProc(M);
    }
    int Received = 0;
};

TEST(ThemeNotifier, OneNotifierForwardsTheApplicationsLookChangesToRegisteredWindows) {
    auto Owner = std::make_unique<TForm>(nullptr);
    TThemeNotifier* N = GetThemeNotifier(Owner.get());
    EXPECT_EQ(GetThemeNotifier(Owner.get()), N) << "two grids get the same notifier";
    auto* A = Create<TListener>(Owner.get(), Owner.get());
    auto* B = Create<TListener>(Owner.get(), Owner.get());
    N->RegisterWindow(A);
    N->RegisterWindow(A);
    N->RegisterWindow(B);
    EXPECT_EQ(N->WindowCount(), 2) << "a window registered twice keeps one entry";
    int Fired = 0;
    N->OnOfficeThemeChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, N);
        ++Fired;
    };
    QEvent E(QEvent::ApplicationPaletteChange);
    QApplication::sendEvent(qApp, &E);
    EXPECT_EQ(Fired, 1);
    EXPECT_EQ(A->Received, 1);
    EXPECT_EQ(B->Received, 1);
    N->UnRegisterWindow(A);
    delete B; // a destroyed window is skipped
    QEvent T(QEvent::ThemeChange);
    QApplication::sendEvent(qApp, &T);
    EXPECT_EQ(A->Received, 1);
    EXPECT_EQ(Fired, 2);
    Owner.reset(); // takes the notifier with it
    auto Other = std::make_unique<TForm>(nullptr);
    TThemeNotifier* M = GetThemeNotifier(Other.get());
    ASSERT_NE(M, nullptr);
    EXPECT_EQ(M->Owner(), Other.get()) << "a new one after its owner destroyed the first";
    delete M;
}

// ---- theme library binding ----------------------------------------------------------------------
TEST(ThemeLibrary, AbsentHereSoNothingIsBound) {
    EXPECT_FALSE(ExtXPVS::ThemeLibraryLoaded());
    EXPECT_FALSE(ATXPVS::ThemeLibraryLoaded());
    EXPECT_GE(ExtXPVS::Binding().InitCount(), 1) << "initialised at start-up";
    EXPECT_NE(&ExtXPVS::Binding(), &ATXPVS::Binding()) << "each unit keeps its own binding";
    ExtXPVS::BindThemeLibrary();
    EXPECT_FALSE(ExtXPVS::ThemeLibraryLoaded());
    for (int i = 0; i < TThemeLibraryBinding::EntryPointCount; ++i) ASSERT_EQ(ExtXPVS::Binding().Slot(i), nullptr);
}

TEST(ThemeLibrary, BindsEveryEntryPointInOrderOrFailsAtTheFirstMissingOne) {
    std::vector<std::string> Asked;
    int Frees = 0;
    std::string Missing;
    TThemeLibraryLoader L;
    L.Load = [](const QString& Name) -> void* {
        return Name == "UXTHEME.DLL" ? reinterpret_cast<void*>(0x1000) : nullptr;
    };
    L.Resolve = [&](void*, const char* Name) -> void* {
        Asked.push_back(Name);
        return Missing == Name ? nullptr : reinterpret_cast<void*>(0x2000 + Asked.size());
    };
    L.Free = [&](void*) { ++Frees; };

    TThemeLibraryBinding B("ExtXPVS");
    B.Initialize(L);
    B.Initialize(L); // counted: binds once
    EXPECT_TRUE(B.Loaded());
    ASSERT_EQ(Asked.size(), 45u);
    EXPECT_EQ(Asked.front(), "OpenThemeData");
    EXPECT_EQ(Asked[34], "IsThemeActive");
    EXPECT_EQ(Asked.back(), "EnableTheming");
    EXPECT_NE(B.Slot(44), nullptr);
    B.Finalize();
    EXPECT_TRUE(B.Loaded());
    B.Finalize();
    EXPECT_FALSE(B.Loaded());
    EXPECT_EQ(Frees, 1);
    EXPECT_EQ(B.Slot(0), nullptr);

    Asked.clear();
    Missing = "GetThemeFont";
    TThemeLibraryBinding C("ATXPVS");
    try {
        C.Bind(L);
        FAIL() << "no assertion failure";
    } catch (const EAssertionFailed& E) {
        EXPECT_TRUE(E.Message().startsWith("Assertion failure"));
        EXPECT_TRUE(E.Message().contains("ATXPVS"));
    }
    EXPECT_EQ(Asked.size(), 22u) << "stops at the missing one";
    EXPECT_NE(C.Slot(20), nullptr);
    EXPECT_EQ(C.Slot(22), nullptr);
}

} // namespace
