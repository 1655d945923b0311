// The edit with a button and the unit editor driven through their own keys and clicks: which
// paths fire the button event and with which sender, typing switched off, the layout of the
// text area, and the unit read from a value and picked from the menu.
#include "grid/editors/ESGEdit.h"
#include "tests/grid/editors/EditorsFixture.h"

namespace {

class EditBtnTest : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        E = Create<TEsgEditBtn>(Host.get(), Host.get());
        E->SetBounds(20, 20, 150, 24);
        U = Create<TEsgUnitEditBtn>(Host.get(), Host.get());
        U->SetBounds(20, 60, 150, 24);
        ShowHost();
    }
    TEsgEditBtn* E = nullptr;
    TEsgUnitEditBtn* U = nullptr;
};

TEST_F(EditBtnTest, ButtonAndF4FireTheEventWithTheirSenders) {
    std::vector<TObject*> Senders;
    E->OnClickBtn = [&](TObject* S) { Senders.push_back(S); };
    Click(E->Button()->Button(), 4, 4);
    E->SimulateKey(VK_F4);
    E->SimulateKey(VK_F4, {ssCtrl});
    E->SimulateKey(VK_F4, {ssAlt});
    ASSERT_EQ(Senders.size(), 2u);
    EXPECT_EQ(Senders[0], E->Button());
    EXPECT_EQ(Senders[1], E);
    EXPECT_TRUE(E->Focused()); // the click moved the focus to the edit
}

TEST_F(EditBtnTest, ReleaseOffTheButtonStillFiresAndAPressElsewhereDoesNot) {
    int Clicks = 0;
    E->OnClickBtn = [&](TObject*) { ++Clicks; };
    TExtSpeedButton* B = E->Button()->Button();
    Release(B, 4, 4); // no press before it
    EXPECT_EQ(Clicks, 0);
    Press(B, 4, 4);
    EXPECT_TRUE(B->Down());
    Release(B, 4, 4);
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(B->Down());
}

TEST_F(EditBtnTest, EditorDisabledTakesNoCharactersPasteOrCutButTheButtonWorks) {
    int Clicks = 0;
    E->OnClickBtn = [&](TObject*) { ++Clicks; };
    E->SetEditorEnabled(false);
    E->SetText("12");
    E->SetFocus();
    QApplication::processEvents();
    E->SetSelStart(2);
    Type(E, "ab3");
    E->SimulateKey(VK_BACK);
    EXPECT_EQ(E->Text(), "12");
    QApplication::clipboard()->setText("99");
    E->SelectAll();
    E->Perform(WM_PASTE);
    E->Perform(WM_CUT);
    EXPECT_EQ(E->Text(), "12");
    E->SimulateKey(VK_F4);
    Click(E->Button()->Button(), 4, 4);
    EXPECT_EQ(Clicks, 2);
    E->SetEditorEnabled(true);
    E->SetSelStart(2);
    Type(E, "3");
    EXPECT_EQ(E->Text(), "123");
}

TEST_F(EditBtnTest, ReadOnlyRefusesPaste) {
    E->SetText("12");
    E->SetReadOnly(true);
    QApplication::clipboard()->setText("99");
    E->SelectAll();
    E->Perform(WM_PASTE);
    EXPECT_EQ(E->Text(), "12");
}

TEST_F(EditBtnTest, LayoutKeepsTheButtonAtTheRightAndTheTextClearOfIt) {
    EXPECT_EQ(E->Text(), "0");
    EXPECT_EQ(E->Button()->Width(), 18);
    EXPECT_EQ(E->Button()->Left(), E->Width() - 18 - 5);
    EXPECT_EQ(E->Button()->Height(), E->Height() - 5);
    EXPECT_EQ(E->Button()->Button()->BoundsRect(), Rect(0, 0, 18, E->Height() - 5));
    EXPECT_EQ(E->EditRect().Right, E->Width() - (18 + 5));
    E->SetButtonWidth(30);
    EXPECT_EQ(E->Button()->Left(), E->Width() - 30 - 5);
    // The unit editor keeps room for its unit between the text and the button.
    EXPECT_EQ(U->UnitSpace(), 20);
    EXPECT_EQ(U->EditRect().Right, U->Width() - (18 + 20 + 5) - 3);
    EXPECT_EQ(U->UnitRect(), Rect(U->Width() - 18 - 3 - 20, 2, U->Width() - 18 - 3, U->Height()));
    E->SetHeight(4);
    EXPECT_EQ(E->Height(), E->MinHeight());
}

struct TUnitCase {
    const char* Name;
    std::vector<QString> Units;
    const char* Value;
    const char* Text; // expected; the text before is "0" with no unit
    const char* Unit;
};

class UnitValueTest : public EditBtnTest, public ::testing::WithParamInterface<TUnitCase> {};

TEST_P(UnitValueTest, TextAndUnitSplitsAtTheLongestMatchingUnit) {
    const TUnitCase& C = GetParam();
    for (const QString& Unit : C.Units) U->Units()->Add(Unit);
    U->SetTextAndUnit(C.Value);
    EXPECT_EQ(U->Text(), C.Text);
    EXPECT_EQ(U->UnitID(), C.Unit);
    EXPECT_EQ(U->TextAndUnit(), QString(C.Text) + C.Unit);
}

INSTANTIATE_TEST_SUITE_P(Units, UnitValueTest,
                         ::testing::Values(TUnitCase{"ShorterUnitListedFirst", {"m", "mm"}, "5mm", "5", "mm"},
                                           TUnitCase{"KilometresWithBlank", {"m", "km"}, "5 km", "5", "km"},
                                           TUnitCase{"SingleUnit", {"m"}, "5m", "5", "m"},
                                           TUnitCase{"RestNotANumberLeavesItUnchanged", {"m"}, "5 km", "0", ""},
                                           TUnitCase{"NoUnitMatches", {"m"}, "5 kg", "0", ""},
                                           TUnitCase{"UnitAlone", {"m", "km"}, "km", "", "km"},
                                           TUnitCase{"DecimalNumber", {"V", "mV"}, "2.5mV", "2.5", "mV"}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(EditBtnTest, UnitTextUsesTheDecimalSeparatorOfTheSettings) {
    U->Units()->Add("m");
    UseSeparators(',', '.');
    U->SetTextAndUnit("2,5m");
    EXPECT_EQ(U->Text(), "2,5");
    EXPECT_EQ(U->UnitID(), "m");
}

TEST_F(EditBtnTest, UnitMenuOffersTheUnitsAndPicksOne) {
    for (const char* Unit : {"m", "km", "mm"}) U->Units()->Add(Unit);
    U->SetUnitID("m");
    std::vector<QString> Events;
    U->OnClickBtn = [&](TObject* S) {
        EXPECT_EQ(S, U);
        Events.push_back("button");
    };
    U->OnUnitChanged = [&](TObject* S, const QString& NewUnit) {
        EXPECT_EQ(S, U);
        Events.push_back(NewUnit);
    };
    Click(U->Button()->Button(), 4, 4);
    ASSERT_NE(U->UnitMenu(), nullptr);
    TMenuItem* Items = U->UnitMenu()->Items();
    ASSERT_EQ(Items->Count(), 3);
    EXPECT_EQ(Items->Items(1)->Caption(), "km");
    Items->Items(1)->Click();
    EXPECT_EQ(U->UnitID(), "km");
    Items->Items(1)->Click(); // the unit already shown: no event
    U->Perform(WM_COMMAND, 4, 0); // beyond the units: ignored
    U->UnitMenu()->CloseMenu();
    EXPECT_EQ(U->UnitID(), "km");
    EXPECT_EQ(Events, (std::vector<QString>{"button", "km"}));
}

TEST_F(EditBtnTest, UnitsAreCopiedAndAnEmptyListIgnored) {
    TStringList L;
    L.Add("A");
    L.Add("B");
    U->SetUnits(&L);
    L.Add("C");
    EXPECT_EQ(U->Units()->Count(), 2);
    U->SetUnits(nullptr);
    EXPECT_EQ(U->Units()->Count(), 2);
}

} // namespace
