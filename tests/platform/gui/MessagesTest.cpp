#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "tests/support/QtPrint.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QStringList>

#include <gtest/gtest.h>

namespace {
// Writes every message it handles into a log that outlives it.
class TLogControl : public TCustomControl {
public:
    TLogControl(TComponent* AOwner, QStringList* Log) : TCustomControl(AOwner), FLog(Log) {}
    std::function<void(TMessage&)> OnMessage;
    void WndProc(TMessage& M) override {
        if (M.Msg >= WM_USER && M.Msg < WM_APP) {
            *FLog << QStringLiteral("msg %1 %2 %3").arg(M.Msg - WM_USER).arg(M.WParam).arg(M.LParam);
            if (OnMessage) OnMessage(M);
            return;
        }
        if (M.Msg >= 0xC000) {
            *FLog << QStringLiteral("registered %1").arg(M.WParam);
            return;
        }
        TCustomControl::WndProc(M);
    }

private:
    QStringList* FLog;
};
} // namespace

TEST(MessagesTest, PostedMessageRunsAfterTheHandlerThatPostedIt) {
    QStringList Log;
    TLogControl C(nullptr, &Log);
    C.OnMessage = [&](TMessage& M) {
        if (M.Msg == WM_USER) {
            PostMessage(&C, WM_USER + 1, 7, -3);
            Log << "handler done";
        }
    };
    EXPECT_EQ(C.Perform(WM_USER, 1, 2), 0);
    EXPECT_EQ(Log, QStringList({"msg 0 1 2", "handler done"}));
    Application->ProcessMessages();
    EXPECT_EQ(Log, QStringList({"msg 0 1 2", "handler done", "msg 1 7 -3"}));
    Application->ProcessMessages();
    EXPECT_EQ(Log.size(), 3) << "a posted message is delivered once";
}

TEST(MessagesTest, PostedMessagesKeepTheirOrder) {
    QStringList Log;
    TLogControl C(nullptr, &Log);
    for (int I = 0; I < 4; ++I) PostMessage(&C, WM_USER + I, WPARAM(I), 0);
    Application->ProcessMessages();
    EXPECT_EQ(Log, QStringList({"msg 0 0 0", "msg 1 1 0", "msg 2 2 0", "msg 3 3 0"}));
}

TEST(MessagesTest, PostedMessageIsDroppedWhenTheTargetIsFreedFirst) {
    QStringList Log;
    auto* C = new TLogControl(nullptr, &Log);
    auto* Other = new TLogControl(nullptr, &Log);
    EXPECT_TRUE(PostMessage(C, WM_USER + 5, 0, 0));
    EXPECT_TRUE(PostMessage(Other, WM_USER + 6, 0, 0));
    delete C;
    Application->ProcessMessages();
    EXPECT_EQ(Log, QStringList({"msg 6 0 0"}));
    delete Other;
    EXPECT_FALSE(PostMessage(nullptr, WM_USER, 0, 0));
}

TEST(MessagesTest, ExceptionInAPostedMessageGoesToTheErrorBoxAndTheQueueGoesOn) {
    QStringList Log;
    TLogControl C(nullptr, &Log);
    C.OnMessage = [](TMessage& M) {
        if (M.Msg == WM_USER) throw EConvertError("'x' is not a valid integer value");
    };
    TestDialogs().ExpectBox(mrOk, "'x' is not a valid integer value");
    PostMessage(&C, WM_USER, 0, 0);
    PostMessage(&C, WM_USER + 1, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(Log, QStringList({"msg 0 0 0", "msg 1 0 0"}));
    ASSERT_EQ(TestDialogs().Boxes().size(), 1u);
    EXPECT_EQ(TestDialogs().Boxes()[0].Type, mtError);
}

TEST(MessagesTest, RegisteredMessagesAreStablePerNameWithoutRegardToCase) {
    Cardinal A = RegisterWindowMessage("GridEditDone");
    Cardinal B = RegisterWindowMessage("DTPShiftFocus");
    EXPECT_GE(A, 0xC000u);
    EXPECT_LE(A, 0xFFFFu);
    EXPECT_NE(A, B);
    EXPECT_EQ(RegisterWindowMessage("GRIDEDITDONE"), A);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);

    QStringList Log;
    TLogControl C(nullptr, &Log);
    PostMessage(&C, A, 3, 9);
    Application->ProcessMessages();
    EXPECT_EQ(Log, QStringList({"registered 3"}));
}

TEST(MessagesTest, PackedCoordinatesKeepTheirSign) {
    LPARAM L = MakeLParam(-5, 300);
    EXPECT_EQ(GetXLParam(L), -5);
    EXPECT_EQ(GetYLParam(L), 300);
    WPARAM W = MakeWParam(0, -120);
    EXPECT_EQ(int16_t(HiWord(W)), -120);
}

TEST(MessagesTest, ControlMessagesHaveTheirFixedNumbers) {
    // Code may send or test these by number.
    const std::pair<Cardinal, Cardinal> Table[] = {
        {CM_DIALOGCHAR, 45062},      {CM_ENABLEDCHANGED, 45068}, {CM_FONTCHANGED, 45070},   {CM_TEXTCHANGED, 45074},
        {CM_MOUSEENTER, 45075},      {CM_MOUSELEAVE, 45076},     {CM_BUTTONPRESSED, 45080}, {CM_SYSCOLORCHANGE, 45092},
        {CM_WANTSPECIALKEY, 0xB01E}, {CM_MOUSEWHEEL, 0xB043},    {CM_STYLECHANGED, 0xB051}, {WM_VSCROLL, 277},
        {WM_MOUSEWHEEL, 522},
    };
    for (auto [Msg, Number] : Table) EXPECT_EQ(Msg, Number) << std::hex << Number;
}
