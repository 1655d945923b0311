// The custom editor link: which keys end a custom edit, the base placement and focus of the
// application's control, and the ends of an edit driven by the link's key handling.
#include "EditFixture.h"

#include <memory>

namespace {

// A link whose control is a plain edit; its key-down handler hands the keys to EditKeyDown.
class TTestLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    void CreateEditor(TWinControl* AParent) override {
        if (!FEdit) FEdit = Create<TEdit>(AParent, AParent);
        FEdit->OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) { EditKeyDown(Sender, Key, Shift); };
    }
    void SetEditorValue(const QString& V) override { FEdit->SetText(V); }
    QString GetEditorValue() override { return FEdit->Text(); }
    TWinControl* GetEditControl() override { return FEdit; }
    TEdit* FEdit = nullptr;
};

// ---- which keys end the edit -------------------------------------------------------------------------
struct KeyCase {
    const char* Name;
    Word Key;
    bool Alt;
    void (TEditLink::*Want)(bool); // a WantKey setter switched on, or null
    bool Ends;
};
void PrintTo(const KeyCase& C, std::ostream* Os) { *Os << C.Name; }

class LinkKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(LinkKeys, EndTheEditUnlessWanted) {
    const KeyCase& C = GetParam();
    TEditLink L(nullptr);
    if (C.Want) (L.*C.Want)(true);
    TShiftState S;
    if (C.Alt) S << ssAlt;
    EXPECT_EQ(L.KeyEndsEdit(C.Key, S), C.Ends);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LinkKeys,
    ::testing::Values(KeyCase{"Tab", VK_TAB, false, nullptr, true},
                      KeyCase{"TabWanted", VK_TAB, false, &TEditLink::SetWantTabs, false},
                      KeyCase{"Enter", VK_RETURN, false, nullptr, true},
                      KeyCase{"EnterWanted", VK_RETURN, false, &TEditLink::SetWantKeyReturn, false},
                      KeyCase{"Escape", VK_ESCAPE, false, nullptr, true},
                      KeyCase{"EscapeWanted", VK_ESCAPE, false, &TEditLink::SetWantKeyEscape, false},
                      KeyCase{"PageUp", VK_PRIOR, false, nullptr, true},
                      KeyCase{"PageDownWanted", VK_NEXT, false, &TEditLink::SetWantKeyPriorNext, false},
                      KeyCase{"End", VK_END, false, nullptr, true},
                      KeyCase{"EndWanted", VK_END, false, &TEditLink::SetWantKeyHomeEnd, false},
                      KeyCase{"HomeNever", VK_HOME, false, nullptr, false},
                      KeyCase{"AltHome", VK_HOME, true, nullptr, true}, KeyCase{"Left", VK_LEFT, false, nullptr, true},
                      KeyCase{"RightWanted", VK_RIGHT, false, &TEditLink::SetWantKeyLeftRight, false},
                      KeyCase{"Up", VK_UP, false, nullptr, true},
                      KeyCase{"DownWanted", VK_DOWN, false, &TEditLink::SetWantKeyUpDown, false},
                      KeyCase{"Letter", 'A', false, nullptr, false}, KeyCase{"AltLetter", 'A', true, nullptr, true}),
    [](const ::testing::TestParamInfo<KeyCase>& I) { return std::string(I.param.Name); });

// ---- the link on a grid ----------------------------------------------------------------------------------
class EditLinkGrid : public EditGrid {
protected:
    void SetUp() override {
        EditGrid::SetUp();
        Link = std::make_unique<TTestLink>(nullptr);
        G->SetEditLink(Link.get());
        G->OnGetEditorType = [](TObject*, int, int, TEditorType& E) { E = edCustom; };
    }
    void TearDown() override {
        G->SetEditLink(nullptr);
        EditGrid::TearDown();
    }
    void Open() {
        Key(VK_F2);
        ASSERT_TRUE(G->EditMode());
        ASSERT_NE(Link->FEdit, nullptr);
    }
    std::unique_ptr<TTestLink> Link;
};

TEST_F(EditLinkGrid, BaseOperationsPlaceAndShowTheControl) {
    Open();
    EXPECT_EQ(Link->GetParent(), G);
    const TRect R = G->CellRect(2, 3);
    EXPECT_EQ(Link->FEdit->Left(), R.Left);
    EXPECT_EQ(Link->FEdit->Width(), R.Right - R.Left - G->GridLineWidth());
    EXPECT_TRUE(Link->FEdit->isVisible());
    EXPECT_EQ(Link->GetCellValue(), "3,3");
    Link->SetCellValue("direct");
    EXPECT_EQ(G->GetCellEx(3, 3), "direct");
}

TEST_F(EditLinkGrid, EnterStoresTheValueAndEndsTheEdit) {
    Open();
    Link->FEdit->SetText("typed");
    Word K = VK_RETURN;
    Link->EditKeyDown(Link->FEdit, K, {});
    EXPECT_EQ(K, 0);
    EXPECT_FALSE(G->EditMode());
    EXPECT_EQ(G->GetCellEx(3, 3), "typed");
}

TEST_F(EditLinkGrid, WantedEnterStaysWithTheControl) {
    Link->SetWantKeyReturn(true);
    Open();
    Word K = VK_RETURN;
    Link->EditKeyDown(Link->FEdit, K, {});
    EXPECT_EQ(K, VK_RETURN);
    EXPECT_TRUE(G->EditMode());
}

TEST_F(EditLinkGrid, EscapeRestoresTheTextTheCellHadThenEnds) {
    Open();
    Link->FEdit->SetText("changed");
    Word K = VK_ESCAPE;
    Link->EditKeyDown(Link->FEdit, K, {});
    EXPECT_EQ(K, 0);
    EXPECT_FALSE(G->EditMode());
    EXPECT_EQ(G->GetCellEx(3, 3), "3,3");
}

TEST_F(EditLinkGrid, HomeKeepsEditingEndEnds) {
    Open();
    Word K = VK_HOME;
    Link->EditKeyDown(Link->FEdit, K, {});
    EXPECT_TRUE(G->EditMode());
    K = VK_END;
    Link->FEdit->SetText("at end");
    Link->EditKeyDown(Link->FEdit, K, {});
    EXPECT_FALSE(G->EditMode());
    EXPECT_EQ(G->GetCellEx(3, 3), "at end");
}

TEST_F(EditLinkGrid, ArrowMovesTheCurrentCellAfterStoring) {
    Open();
    Link->FEdit->SetText("down");
    Word K = VK_DOWN;
    Link->EditKeyDown(Link->FEdit, K, {});
    EXPECT_FALSE(G->EditMode());
    EXPECT_EQ(G->GetCellEx(3, 3), "down");
    EXPECT_EQ(G->Row(), 4);
    EXPECT_FALSE(Link->FEdit->Enabled());
}

} // namespace
