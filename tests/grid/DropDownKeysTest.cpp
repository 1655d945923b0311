// The drop-down edit's keys with the popup open and closed: what reaches the popup and the value,
// the read-only cases, and the keys that keep the caret on the value between prefix and suffix.
#include "tests/grid/DropDownFixture.h"

#include <QClipboard>

TEST_F(DropDownTest, CancelledPopupLeavesTheValueUnmodified) {
    for (TDropDownEditType T : {etString, etPassword, etUppercase, etNumeric}) {
        SCOPED_TRACE(int(T));
        D->SetEditType(T);
        D->SetText("7");
        Focus();
        Key(VK_F4);
        ASSERT_TRUE(D->DroppedDown());
        D->SetText("8");
        D->DropDownForm()->SimulateKey(VK_ESCAPE);
        EXPECT_FALSE(D->DroppedDown());
        EXPECT_EQ(D->Text(), "7");
        EXPECT_FALSE(D->Modified());
        D->SetEditType(etString);
    }
}

TEST_F(DropDownTest, CharactersTypedInTheOpenPopupMeetTheFilter) {
    D->SetEditType(etNumeric);
    D->SetText("1");
    Focus();
    D->SetSelStart(1);
    Key(VK_F4);
    ASSERT_TRUE(D->DroppedDown());
    for (QChar C : QString("2x3")) D->DropDownForm()->SimulateKey(C.isDigit() ? Word(C.unicode()) : Word('X'), {}, C);
    EXPECT_TRUE(D->DroppedDown());
    EXPECT_EQ(D->Text(), "123");
    D->DropDownForm()->SimulateKey(VK_RETURN);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->Text(), "123");
}

TEST_F(DropDownTest, ReadOnlyDropDownKeepsItsPopupShut) {
    struct TCase {
        const char* Name;
        bool Editable;
        Word Key;
        TShiftState Shift;
    } Cases[] = {
        {"EditableF4", true, VK_F4, {}},
        {"EditableAltDown", true, VK_DOWN, {ssAlt}},
        {"NotEditableF4", false, VK_F4, {}},
        {"NotEditableAltDown", false, VK_DOWN, {ssAlt}},
    };
    D->SetText("v");
    D->SetReadOnly(true);
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        D->SetEditorEnabled(C.Editable);
        Focus();
        Key(C.Key, C.Shift);
        EXPECT_FALSE(D->DroppedDown());
        Type("w");
        EXPECT_EQ(D->Text(), "v");
    }
    Click(D->Button()->Button(), 5, 5);
    EXPECT_FALSE(D->DroppedDown());
}

TEST_F(DropDownTest, DeleteInMoneyRegroupsTheValue) {
    D->SetEditType(etMoney);
    D->SetPrecision(0);
    D->SetTextUnformatted("1,234");
    Focus();
    D->SetSelStart(2); // before the 2
    Key(VK_DELETE);
    EXPECT_EQ(D->Text(), "134");
}

TEST_F(DropDownTest, EnterInAClosedEditTypesNothing) {
    D->SetText("ab");
    Focus();
    D->SetSelStart(2);
    Key(VK_RETURN);
    EXPECT_EQ(D->Text(), "ab");
    EXPECT_FALSE(D->DroppedDown());
}

TEST_F(DropDownTest, EnterAsTabInTheOpenPopupAcceptsBeforeMovingOn) {
    std::vector<QString> Log;
    D->OnDropUp = [&](TObject*, bool Cancelled) { Log.push_back(Cancelled ? "cancelled" : "accepted"); };
    D->SetReturnIsTab(true);
    D->SetTabOrder(0);
    Host->Other->SetTabOrder(1);
    D->SetText("old");
    Focus();
    Key(VK_F4);
    ASSERT_TRUE(D->DroppedDown());
    D->SetText("picked");
    D->DropDownForm()->SimulateKey(VK_RETURN);
    QApplication::processEvents();
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->Text(), "picked");
    EXPECT_EQ(Host->ActiveControl(), Host->Other);
    EXPECT_EQ(Log, std::vector<QString>{"accepted"});
}

TEST_F(DropDownTest, AltUpAndDownInTheOpenPopupClose) {
    for (Word K : {VK_UP, VK_DOWN}) {
        SCOPED_TRACE(K);
        Focus();
        Key(VK_F4);
        ASSERT_TRUE(D->DroppedDown());
        D->DropDownForm()->SimulateKey(K, {ssAlt});
        EXPECT_FALSE(D->DroppedDown());
    }
}

// Removing the decimal separator joins the decimals to the integer part: neither Delete nor
// Backspace may take the integer digits past the length limit that typing keeps.
TEST_F(DropDownTest, RemovingTheDecimalSeparatorKeepsTheLengthLimit) {
    struct TCase {
        const char* Name;
        Word Key;
        int Caret;
        const char* Expected;
    } Cases[] = {
        {"DeleteBeforeSeparator", VK_DELETE, 3, "123.45"},
        {"BackspaceAfterSeparator", VK_BACK, 4, "123.45"},
        {"BackspaceInDecimals", VK_BACK, 5, "123.5"},
        {"BackspaceInIntegerPart", VK_BACK, 2, "13.45"},
    };
    D->SetEditType(etFloat);
    D->SetPrecision(2);
    D->SetLengthLimit(3);
    Focus();
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        D->SetText("123.45");
        D->SetSelStart(C.Caret);
        Key(C.Key);
        EXPECT_EQ(D->Text(), C.Expected);
    }
}

TEST_F(DropDownTest, ReadOnlyValueIsCopiedButNeverRewritten) {
    std::vector<QString> Log;
    D->OnClipboardCopy = [&](TObject*, const QString& V, bool&) { Log.push_back(V); };
    D->SetEditType(etNumeric);
    D->SetSigned(true);
    D->SetText("12");
    D->SetReadOnly(true);
    Focus();
    D->SelectAll();
    QGuiApplication::clipboard()->clear();
    Key('C', {ssCtrl});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "12");
    EXPECT_EQ(Log, std::vector<QString>{"12"});
    D->SetSelStart(1);
    Type("-5");
    Key(VK_BACK);
    EXPECT_EQ(D->Text(), "12");
    D->SetEditType(etMoney);
    D->SetPrecision(2);
    D->SetText("1234");
    D->SelectAll();
    Type(".");
    EXPECT_EQ(D->Text(), "1,234.00");
    D->SetPrecision(0);
    D->SetText("1234");
    D->SetSelStart(1);
    Key(VK_DELETE);
    EXPECT_EQ(D->Text(), "1234");
}

// The numeric pad's decimal key types the locale's separator only where that is asked for.
TEST_F(DropDownTest, NumericPadDecimalKeyFollowsTheLocaleOnRequest) {
    struct TCase {
        const char* Name;
        bool ExcelStyle;
        Word Key;
        QChar Typed;
        const char* Expected;
    } Cases[] = {
        {"PadPointBecomesComma", true, VK_DECIMAL, '.', "12,"},
        {"PadPointLeftAloneWithoutRequest", false, VK_DECIMAL, '.', "12"},
        {"MainKeyboardPointLeftAlone", true, VK_OEM_PERIOD, '.', "12"},
    };
    UseSeparators(',', ' ');
    D->SetEditType(etFloat);
    D->SetPrecision(2);
    Focus();
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        D->SetExcelStyleDecimalSeparator(C.ExcelStyle);
        D->SetTextUnformatted("12");
        D->SetSelStart(2);
        D->SimulateKey(C.Key, {}, C.Typed);
        EXPECT_EQ(Raw(), C.Expected);
    }
}

TEST_F(DropDownTest, EnterReachesTheKeyPressEventOnce) {
    std::vector<int> Pressed;
    D->OnKeyPress = [&](TObject*, QChar& K) { Pressed.push_back(K.unicode()); };
    D->SetText("ab");
    Focus();
    Key(VK_RETURN);
    EXPECT_EQ(Pressed, std::vector<int>{13});
    Pressed.clear();
    Key(VK_F4);
    ASSERT_TRUE(D->DroppedDown());
    D->DropDownForm()->SimulateKey(VK_RETURN);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(Pressed, std::vector<int>{13});
}
