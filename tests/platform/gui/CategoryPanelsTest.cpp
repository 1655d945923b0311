#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tests/support/QtPrint.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace {
// A group as the main-parameters window uses one: panels created in an order other than the one
// they are stacked in, each sized to its last control + 12 + the header height.
struct TGroupFixture {
    TForm Form{nullptr};
    TCategoryPanelGroup* Group;
    TCategoryPanel* NTP;
    TCategoryPanel* CANopen;
    TCategoryPanel* Server;
    TEdit* Port;
    TGroupFixture() {
        Form.SetBounds(0, 0, 460, 600);
        Group = Create<TCategoryPanelGroup>(&Form, &Form);
        Group->SetBounds(0, 69, 460, 300);
        NTP = MakePanel(37);
        CANopen = MakePanel(121);
        Server = MakePanel(121);
        Port = static_cast<TEdit*>(Server->Controls(0));
        // Hidden at creation, then shown and stacked by the window.
        for (TCategoryPanel* P : {NTP, CANopen, Server}) P->SetVisible(false);
        for (TCategoryPanel* P : {Server, CANopen, NTP}) P->SetVisible(true);
        Server->SetTop(0);
        CANopen->SetTop(Server->Top() + Server->Height());
        NTP->SetTop(CANopen->Top() + CANopen->Height());
        for (TCategoryPanel* P : {Server, CANopen, NTP}) {
            TControl* Last = P->Controls(0);
            P->SetHeight(Last->Top() + Last->Height() + 12 + Group->HeaderHeight());
        }
        Form.Show();
        QApplication::processEvents();
    }
    TCategoryPanel* MakePanel(int LastTop) {
        auto* P = Create<TCategoryPanel>(&Form, Group);
        auto* E = Create<TEdit>(&Form, P);
        E->SetBounds(191, LastTop, 238, 21);
        return P;
    }
};
} // namespace

TEST(CategoryPanelsTest, PanelsStackByTheirTopsAndPlaceTheirControlsBelowTheHeader) {
    TGroupFixture T;
    EXPECT_EQ(T.Group->HeaderHeight(), 24);
    EXPECT_EQ(T.Server->Height(), 178);
    EXPECT_EQ(T.CANopen->Height(), 178);
    EXPECT_EQ(T.NTP->Height(), 94);
    EXPECT_EQ(T.Server->Top(), 0);
    EXPECT_EQ(T.CANopen->Top(), 178);
    EXPECT_EQ(T.NTP->Top(), 356);
    EXPECT_EQ(T.Server->ClientHeight(), 178 - 24);
    // Client coordinates start under the header.
    EXPECT_EQ(T.Port->Top(), 121);
    EXPECT_EQ(T.Port->mapTo(T.Server, QPoint(0, 0)), QPoint(191, 121 + 24));
    EXPECT_EQ(T.Port->Parent(), T.Server);
    EXPECT_EQ(T.Group->StackHeight(), 450);
    EXPECT_TRUE(T.Group->ScrollBarVisible());
    EXPECT_LT(T.Server->Width(), 460) << "the scroll bar takes its room";

    // The controls below the header still take their panel's font.
    T.Group->Font()->SetHeight(-11);
    T.Group->Font()->SetName("Verdana");
    EXPECT_EQ(T.Port->Font()->Name(), "Verdana");
    EXPECT_EQ(T.Port->Font()->Height(), -11);

    // A hidden panel leaves no gap; showing it again puts it back at its place.
    T.CANopen->SetVisible(false);
    EXPECT_EQ(T.NTP->Top(), 178);
    T.CANopen->SetVisible(true);
    EXPECT_EQ(T.CANopen->Top(), 178);
    EXPECT_EQ(T.NTP->Top(), 356);
}

TEST(CategoryPanelsTest, TheHeaderCollapsesAndExpandsAndKeepsAHeightSetMeanwhile) {
    TGroupFixture T;
    QStringList Log;
    T.CANopen->OnCollapse = [&](TObject*) { Log << "collapse"; };
    T.CANopen->OnExpand = [&](TObject*) { Log << "expand"; };
    T.CANopen->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(30, 10));
    T.CANopen->Perform(WM_LBUTTONUP, 0, MakeLParam(30, 10));
    EXPECT_TRUE(T.CANopen->Collapsed());
    EXPECT_EQ(T.CANopen->Height(), 24);
    EXPECT_EQ(T.NTP->Top(), 178 + 24);
    // A click in the client area does nothing to the panel.
    T.Server->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(30, 60));
    T.Server->Perform(WM_LBUTTONUP, 0, MakeLParam(30, 60));
    EXPECT_FALSE(T.Server->Collapsed());
    // The window sets heights again at every showing: a collapsed panel stays collapsed.
    T.CANopen->SetHeight(150);
    EXPECT_EQ(T.CANopen->Height(), 24);
    T.CANopen->Expand();
    EXPECT_EQ(T.CANopen->Height(), 150);
    EXPECT_EQ(T.NTP->Top(), 178 + 150);
    EXPECT_EQ(Log, QStringList({"collapse", "expand"}));
}

TEST(CategoryPanelsTest, VerticalScrollMessagesScrollTheStack) {
    TGroupFixture T;
    const int Range = 450 - 300;
    EXPECT_EQ(T.Group->ScrollRange(), Range);
    struct Step {
        Word Code;
        int Pos;
        int Expected;
    };
    const Step Steps[] = {
        {SB_LINEUP, 0, 0},
        {SB_LINEDOWN, 0, TCategoryPanelGroup::LineIncrement},
        {SB_ENDSCROLL, 0, TCategoryPanelGroup::LineIncrement},
        {SB_LINEDOWN, 0, 2 * TCategoryPanelGroup::LineIncrement},
        {SB_THUMBTRACK, 40, 40},
        {SB_PAGEDOWN, 0, Range},
        {SB_LINEUP, 0, Range - TCategoryPanelGroup::LineIncrement},
        {SB_TOP, 0, 0},
        {SB_BOTTOM, 0, Range},
    };
    for (const Step& S : Steps) {
        T.Group->Perform(WM_VSCROLL, MakeWParam(S.Code, S.Pos), 0);
        EXPECT_EQ(T.Group->ScrollPos(), S.Expected) << S.Code;
        EXPECT_EQ(T.Server->Top(), -S.Expected) << S.Code;
        EXPECT_EQ(T.NTP->Top(), 356 - S.Expected) << S.Code;
    }
    // Collapsing everything makes the stack fit: the view returns to the top.
    T.Group->CollapseAll();
    EXPECT_EQ(T.Group->ScrollPos(), 0);
    EXPECT_FALSE(T.Group->ScrollBarVisible());
    EXPECT_EQ(T.NTP->Top(), 48);
}

TEST(CategoryPanelsTest, HeaderPaintsItsGradientAndCaptionAboveTheClientArea) {
    TGroupFixture T;
    T.Group->SetGradientBaseColor(clWhite);
    T.Group->SetGradientColor(TColor(0xE7D8D8));
    T.Group->HeaderFont()->SetStyle({fsBold});
    T.Server->SetCaption("1. OPC UA Server");
    T.Server->SetColor(TColor(15595512));
    QImage I = T.Server->grab().toImage();
    EXPECT_EQ(I.pixelColor(2, 0), QColor(255, 255, 255)) << "the gradient starts at the base colour";
    EXPECT_EQ(I.pixelColor(2, 22), QColor(0xD8, 0xD8, 0xE7)) << "and ends at the gradient colour";
    EXPECT_EQ(I.pixelColor(2, 40), QColor(248, 247, 237)) << "the client area in the panel's colour";
    bool Text = false;
    for (int X = 4; X < 150 && !Text; ++X)
        for (int Y = 2; Y < 22 && !Text; ++Y) Text = I.pixelColor(X, Y).lightness() < 100;
    EXPECT_TRUE(Text) << "the caption is drawn in the header";
}
