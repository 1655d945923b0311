#include "platform/gui/StdCtrls.h"

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "tests/support/QtPrint.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include <gtest/gtest.h>

namespace {
void Type(QWidget* To, const QString& Text) {
    for (QChar C : Text) {
        QKeyEvent Press(QEvent::KeyPress, C.toUpper().unicode(), Qt::NoModifier, QString(C));
        QApplication::sendEvent(To, &Press);
        QKeyEvent Release(QEvent::KeyRelease, C.toUpper().unicode(), Qt::NoModifier, QString(C));
        QApplication::sendEvent(To, &Release);
    }
}

class TDummy : public TObject {};
} // namespace

TEST(StdCtrlsTest, EditKeyPressHandlerFiltersAndChangesCharacters) {
    TForm F(nullptr);
    auto* E = Create<TEdit>(&F, &F);
    int Changes = 0;
    E->OnChange = [&](TObject*) { ++Changes; };
    // A numeric field: digits pass, letters are dropped, a comma becomes a point.
    E->OnKeyPress = [](TObject*, QChar& Key) {
        if (Key == QLatin1Char(','))
            Key = QLatin1Char('.');
        else if (Key.isLetter())
            Key = QChar();
    };
    F.Show();
    E->SetFocus();
    Type(E->Native(), "1a2,5x");
    EXPECT_EQ(E->Text(), "12.5");
    EXPECT_EQ(Changes, 4);
    // Backspace is a character too (#8): the handler can refuse it.
    E->OnKeyPress = [](TObject*, QChar& Key) {
        if (Key == QChar(8)) Key = QChar();
    };
    QKeyEvent Back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, "\b");
    QApplication::sendEvent(E->Native(), &Back);
    EXPECT_EQ(E->Text(), "12.5");
    E->OnKeyPress = nullptr;
    QApplication::sendEvent(E->Native(), &Back);
    EXPECT_EQ(E->Text(), "12.");
    E->SimulateKey('Z', {ssShift});
    EXPECT_EQ(E->Text(), "12.Z");
}

TEST(StdCtrlsTest, EditMaxLengthReadOnlyAndSelection) {
    TEdit E(nullptr);
    E.SetMaxLength(4);
    E.SetText("123456");
    EXPECT_EQ(E.Text(), "123456") << "the limit is for typing: a text set by the program is kept whole";
    E.SetMaxLength(3);
    EXPECT_EQ(E.Text(), "123456") << "a lower limit cuts nothing";
    E.SetMaxLength(4);
    E.SetSelStart(1);
    E.SetSelLength(2);
    EXPECT_EQ(E.SelText(), "23");
    E.SetSelText("x");
    EXPECT_EQ(E.Text(), "1x456");
    E.SetReadOnly(true);
    E.SimulateKey('A');
    EXPECT_EQ(E.Text(), "1x456");
}

TEST(StdCtrlsTest, EditMaxLengthHoldsBackTypingAndPasting) {
    // Sel: where the caret is (Start) and how much is chosen (Len) before Typed / Pasted goes in.
    struct Case {
        const char* Name;
        const char* Text;
        int Start;
        int Len;
        const char* Typed;
        const char* Pasted;
        const char* Expected;
    };
    const Case Cases[] = {
        {"typing stops at the limit", "ab", 2, 0, "cdef", "", "abcd"},
        {"typing over a selection at the limit", "abcd", 0, 2, "xyz", "", "xycd"},
        {"nothing added to a longer text", "abcdefgh", 8, 0, "xy", "", "abcdefgh"},
        {"a longer text takes as much as was removed", "abcdefgh", 0, 2, "x", "", "xcdefgh"},
        {"a paste keeps what fits", "ab", 1, 0, "", "123", "a12b"},
        {"a paste over a selection", "abcd", 1, 2, "", "123", "a12d"},
    };
    QApplication::clipboard()->clear();
    for (const Case& K : Cases) {
        TForm F(nullptr);
        auto* E = Create<TEdit>(&F, &F);
        E->SetMaxLength(4);
        F.Show();
        E->SetFocus();
        E->SetText(K.Text);
        E->SetSelStart(K.Start);
        E->SetSelLength(K.Len);
        for (const char* P = K.Typed; *P; ++P) E->SimulateKey(0, {}, QChar(*P));
        if (*K.Pasted) {
            QApplication::clipboard()->setText(K.Pasted);
            E->PasteFromClipboard();
        }
        EXPECT_EQ(E->Text(), K.Expected) << K.Name;
    }
}

TEST(StdCtrlsTest, EditMasksBecomeQtInputMasks) {
    const struct {
        const char* In;
        const char* Out;
    } Table[] = {
        {"", ""},
        {"!99/99/0000;1;_", "00/00/9999;_"},
        {"000.000.000.000;1; ", "999.999.999.999; "},
        {">LL-00", ">AA-99;_"},
    };
    for (const auto& T : Table) EXPECT_EQ(EditMaskToInputMask(T.In), T.Out) << T.In;
}

TEST(StdCtrlsTest, CheckBoxCyclesThroughGrayedAndEveryChangeClicks) {
    TCheckBox C(nullptr);
    int Clicks = 0;
    C.OnClick = [&](TObject*) { ++Clicks; };
    C.SetChecked(true);
    EXPECT_EQ(Clicks, 1);
    C.SetChecked(true);
    EXPECT_EQ(Clicks, 1) << "no change, no click";
    C.SetAllowGrayed(true);
    const TCheckBoxState Cycle[] = {cbGrayed, cbUnchecked, cbChecked, cbGrayed};
    for (TCheckBoxState S : Cycle) {
        C.Native()->click();
        EXPECT_EQ(C.State(), S);
        EXPECT_EQ(C.Native()->checkState(),
                  S == cbChecked      ? Qt::Checked
                      : S == cbGrayed ? Qt::PartiallyChecked
                                      : Qt::Unchecked);
    }
    EXPECT_EQ(Clicks, 5);
    C.SetAllowGrayed(false);
    EXPECT_EQ(C.State(), cbUnchecked);
}

TEST(StdCtrlsTest, RadioButtonsOfOneParentExcludeEachOther) {
    TForm F(nullptr);
    auto* A = Create<TRadioButton>(&F, &F);
    auto* B = Create<TRadioButton>(&F, &F);
    auto* Elsewhere = Create<TRadioButton>(&F, Create<TGroupBox>(&F, &F));
    Elsewhere->SetChecked(true);
    A->SetChecked(true);
    B->Native()->click();
    EXPECT_FALSE(A->Checked());
    EXPECT_TRUE(B->Checked());
    EXPECT_TRUE(Elsewhere->Checked());
}

TEST(StdCtrlsTest, ComboBoxItemsObjectsAndItemIndex) {
    TComboBox C(nullptr);
    C.SetStyle(csDropDownList);
    TDummy O1, O2;
    C.Items()->AddObject("Italiano", &O1);
    C.Items()->AddObject("English", &O2);
    EXPECT_EQ(C.ItemIndex(), -1) << "a new list selects nothing";
    EXPECT_EQ(C.Text(), "");
    C.SetItemIndex(1);
    EXPECT_EQ(C.Text(), "English");
    EXPECT_EQ(C.Items()->Objects(C.ItemIndex()), &O2);
    C.SetText("Italiano");
    EXPECT_EQ(C.ItemIndex(), 0);
    C.SetItemIndex(-1);
    EXPECT_EQ(C.Text(), "");
    C.SetItemIndex(7);
    EXPECT_EQ(C.ItemIndex(), -1);
    EXPECT_THROW(C.Items()->Objects(2), EListError);
    C.SetDropDownCount(3);
    EXPECT_EQ(C.Native()->maxVisibleItems(), 3);
}

TEST(StdCtrlsTest, ComboBoxEventsForTypingAndChoosing) {
    TForm F(nullptr);
    auto* C = Create<TComboBox>(&F, &F);
    C->Items()->Add("100");
    C->Items()->Add("250");
    QStringList Log;
    C->OnChange = [&](TObject*) { Log << "change " + C->Text(); };
    C->OnSelect = [&](TObject*) { Log << QStringLiteral("select %1").arg(C->ItemIndex()); };
    F.Show();
    C->SetFocus();
    Type(C->Native(), "5");
    EXPECT_EQ(C->ItemIndex(), -1) << "a typed text that is no item";
    C->Native()->setCurrentIndex(1);
    emit C->Native()->activated(1);
    EXPECT_EQ(Log, QStringList({"change 5", "select 1"}));
    EXPECT_EQ(C->Text(), "250");
    EXPECT_EQ(C->ItemIndex(), 1);
}

TEST(StdCtrlsTest, LabelSizesItselfToItsCaption) {
    TLabel L(nullptr);
    L.SetCaption("OK");
    int Short = L.Width();
    L.SetCaption("Main parameters of the gateway");
    EXPECT_GT(L.Width(), Short);
    EXPECT_GT(L.Height(), 0);
    L.SetAutoSize(false);
    L.SetWidth(10);
    L.SetCaption("Another long caption");
    EXPECT_EQ(L.Width(), 10);
}

TEST(StdCtrlsTest, PageControlShowsOnePageAndAsksBeforeChanging) {
    TForm F(nullptr);
    auto* P = Create<TPageControl>(&F, &F);
    P->SetBounds(0, 0, 300, 200);
    TTabSheet* Sheets[3];
    for (int I = 0; I < 3; ++I) {
        Sheets[I] = Create<TTabSheet>(&F);
        Sheets[I]->SetCaption(QStringLiteral("Page %1").arg(I));
        Sheets[I]->SetPageControl(P);
    }
    EXPECT_EQ(P->PageCount(), 3);
    EXPECT_EQ(P->ActivePage(), Sheets[0]);
    bool Allow = false;
    int Changes = 0;
    P->OnChanging = [&](TObject*, bool& A) { A = Allow; };
    P->OnChange = [&](TObject*) { ++Changes; };
    P->ClickTab(2);
    EXPECT_EQ(P->ActivePageIndex(), 0);
    Allow = true;
    P->ClickTab(2);
    EXPECT_EQ(P->ActivePage(), Sheets[2]);
    EXPECT_TRUE(Sheets[2]->Visible());
    EXPECT_FALSE(Sheets[0]->Visible());
    EXPECT_EQ(Changes, 1);
    Sheets[1]->SetTabVisible(false);
    EXPECT_EQ(P->TabBar()->count(), 2);
    EXPECT_EQ(Sheets[2]->TabIndex(), 1);
    P->SetActivePageIndex(0);
    EXPECT_EQ(Changes, 1) << "setting the page in code fires no event";
    TRect R = P->DisplayRect();
    EXPECT_EQ(Sheets[0]->BoundsRect(), R);
}

TEST(StdCtrlsTest, PopupMenuItemsClickFromTheEventLoop) {
    TPopupMenu M(nullptr);
    QStringList Log;
    const char* Captions[] = {"Copy", "-", "Paste"};
    for (const char* C : Captions) {
        auto* I = new TMenuItem(nullptr);
        I->SetCaption(C);
        I->OnClick = [&Log, I](TObject*) { Log << I->Caption(); };
        M.Items()->Add(I);
    }
    M.Items()->Items(2)->SetEnabled(false);
    EXPECT_EQ(M.Items()->Count(), 3);
    EXPECT_TRUE(M.Items()->Items(1)->IsLine());
    int Popups = 0;
    M.OnPopup = [&](TObject*) { ++Popups; };
    M.Popup(10, 10);
    EXPECT_EQ(Popups, 1);
    M.Items()->Items(0)->Click();
    EXPECT_EQ(Log, QStringList({"Copy"}));
    M.Items()->Delete(0);
    EXPECT_EQ(M.Items()->Count(), 2);
    M.CloseMenu();
}

TEST(StdCtrlsTest, LinkLabelReportsTheAddressOfItsLink) {
    TLinkLabel L(nullptr);
    L.SetCaption("<a href=\"http://www.example.com/Home/download/download.asp#GWU4180\">New version</a>");
    QString Link;
    TSysLinkType Type = sltID;
    L.OnLinkClick = [&](TObject* S, const QString& A, TSysLinkType T) {
        EXPECT_EQ(S, &L);
        Link = A;
        Type = T;
    };
    emit L.Native()->linkActivated("http://www.example.com/Home/download/download.asp#GWU4180");
    EXPECT_EQ(Link, "http://www.example.com/Home/download/download.asp#GWU4180");
    EXPECT_EQ(Type, sltURL);
    EXPECT_GT(L.Width(), 0);
}

TEST(StdCtrlsTest, ToolTipEventShowsTheShortHintOfAControlWithShowHint) {
    TForm F(nullptr);
    F.SetBounds(0, 0, 200, 100);
    auto* B = Create<TButton>(&F, &F);
    B->SetHint("Options|Opens the options dialog");
    THintWindow* Shown = nullptr;
    Application->HintWindowClass = [&](TComponent* Owner) { return Shown = new THintWindow(Owner); };
    F.Show();
    QHelpEvent Help(QEvent::ToolTip, QPoint(5, 5), B->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(B->Native(), &Help);
    EXPECT_EQ(Shown, nullptr) << "ShowHint is off";
    F.SetShowHint(true); // the button takes its parent's
    QApplication::sendEvent(B->Native(), &Help);
    ASSERT_NE(Shown, nullptr);
    EXPECT_EQ(Shown->Caption(), "Options");
    Application->CancelHint();
    Application->HintWindowClass = nullptr;
}

TEST(StdCtrlsTest, ComboBoxTellsWhenItsListOpensAndCloses) {
    TForm F(nullptr);
    auto* C = Create<TComboBox>(&F, &F);
    C->SetStyle(csDropDownList);
    C->Items()->Add("9600");
    C->Items()->Add("19200");
    QStringList Log;
    C->OnDropDown = [&](TObject*) { Log << "drop"; };
    C->OnCloseUp = [&](TObject*) { Log << "close"; };
    F.Show();
    C->SetDroppedDown(true);
    EXPECT_TRUE(C->DroppedDown());
    C->SetDroppedDown(false);
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_EQ(Log, QStringList({"drop", "close"}));
}

TEST(StdCtrlsTest, SyntheticClickMessagesPressANativeButton) {
    TForm F(nullptr);
    auto* B = Create<TButton>(&F, &F);
    B->SetModalResult(mrOk);
    int Clicks = 0;
    B->OnClick = [&](TObject*) { ++Clicks; };
    F.Show();
    B->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    B->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 5));
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(F.ModalResult(), mrOk);
    B->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    B->Perform(WM_LBUTTONUP, 0, MakeLParam(500, 5)); // released outside
    EXPECT_EQ(Clicks, 1);
}

TEST(StdCtrlsTest, EditAnswersTheSelectionAndPositionMessages) {
    TEdit E(nullptr);
    E.SetBounds(0, 0, 200, 21);
    E.SetText("192.168.2.205");
    E.Perform(EM_SETSEL, 4, 7);
    EXPECT_EQ(E.SelText(), "168");
    uint32_t Start = 0, End = 0;
    LRESULT R = E.Perform(EM_GETSEL, WPARAM(&Start), LPARAM(&End));
    EXPECT_EQ(Start, 4u);
    EXPECT_EQ(End, 7u);
    EXPECT_EQ(LoWord(R), 4);
    EXPECT_EQ(HiWord(R), 7);
    E.Perform(EM_SETSEL, 0, -1);
    EXPECT_EQ(E.SelLength(), 13);
    E.Perform(EM_SETSEL, WPARAM(-1), 0);
    EXPECT_EQ(E.SelLength(), 0);

    int X0 = GetXLParam(E.Perform(EM_POSFROMCHAR, 0));
    int X4 = GetXLParam(E.Perform(EM_POSFROMCHAR, 4));
    EXPECT_GT(X4, X0);
    EXPECT_EQ(E.Perform(EM_POSFROMCHAR, 13), -1) << "beyond the text";
    EXPECT_EQ(LoWord(E.Perform(EM_CHARFROMPOS, 0, MakeLParam(X4 + 1, 5))), 4);
}

TEST(StdCtrlsTest, MemoTakesEnterButLeavesTabToTheFormUnlessItWantsTabs) {
    TForm F(nullptr);
    F.SetBounds(0, 0, 300, 200);
    auto* M = Create<TMemo>(&F, &F);
    auto* E = Create<TEdit>(&F, &F);
    E->SetTop(120);
    F.Show();
    QApplication::processEvents(); // the window becomes active
    M->SetFocus();
    M->SimulateKey('A', {ssShift});
    M->SimulateKey(VK_RETURN);
    M->SimulateKey('B', {ssShift});
    EXPECT_EQ(M->Lines()->Count(), 2);
    EXPECT_EQ(M->Lines()->Strings(1), "B");
    EXPECT_EQ(M->Text(), "A\r\nB");
    M->SimulateKey(VK_TAB);
    EXPECT_TRUE(E->Focused());
    M->SetWantTabs(true);
    M->SetFocus();
    M->SimulateKey(VK_TAB);
    EXPECT_TRUE(M->Focused());
    EXPECT_EQ(M->Text(), "A\r\nB\t");
}

TEST(StdCtrlsTest, ListBoxClicksOnTheUsersChoiceOnly) {
    TListBox L(nullptr);
    TDummy O;
    L.Items()->Add("Italiano");
    L.Items()->AddObject("English", &O);
    int Clicks = 0;
    L.OnClick = [&](TObject*) { ++Clicks; };
    L.SetItemIndex(1);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(L.Items()->Objects(L.ItemIndex()), &O);
    L.Native()->setCurrentRow(0); // as a click or an arrow key does
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(L.ItemIndex(), 0);
    EXPECT_TRUE(L.Selected(0));
    L.SetItemIndex(-1);
    EXPECT_EQ(L.ItemIndex(), -1);
    EXPECT_THROW(L.Selected(5), EListError);
}

TEST(StdCtrlsTest, EnterAndEscapeReachOnKeyPressOfAnEditWhenNoButtonTakesThem) {
    // A dialog whose OK is not a default button runs its check from the edit's Enter.
    TForm F(nullptr);
    auto* E = Create<TEdit>(&F, &F);
    QList<int> Chars;
    E->OnKeyPress = [&](TObject*, QChar& Key) { Chars << Key.unicode(); };
    F.Show();
    E->SetFocus();
    QKeyEvent Enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(E->Native(), &Enter);
    QKeyEvent Esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, "\x1b");
    QApplication::sendEvent(E->Native(), &Esc);
    E->SimulateKey(VK_RETURN);
    EXPECT_EQ(Chars, QList<int>({13, 27, 13}));
}

TEST(StdCtrlsTest, ComboBoxMaxLengthHoldsBackTypingButNotChoicesOrSetTexts) {
    TForm F(nullptr);
    auto* C = Create<TComboBox>(&F, &F);
    C->Items()->Add("a long entry");
    C->SetMaxLength(4);
    F.Show();
    C->SetFocus();
    C->SetText("set by the program");
    EXPECT_EQ(C->Text(), "set by the program");
    C->Items()->Add("another long entry");
    EXPECT_EQ(C->Text(), "set by the program") << "adding an item keeps the text";
    C->SetText("");
    for (char Ch : std::string("abcdef")) C->SimulateKey(0, {}, QChar(Ch));
    EXPECT_EQ(C->Text(), "abcd");
    C->Native()->setCurrentIndex(0); // a choice from the list
    EXPECT_EQ(C->Text(), "a long entry");
    C->SetStyle(csDropDownList);
    C->SetStyle(csDropDown);
    EXPECT_EQ(C->Text(), "a long entry") << "a new edit part keeps the limit and the text";
    C->SetText("");
    for (char Ch : std::string("xyzuvw")) C->SimulateKey(0, {}, QChar(Ch));
    EXPECT_EQ(C->Text(), "xyzu");
}

// A disabled check box (or radio button) looks disabled: its caption and mark in the grey of
// disabled text, not in its font colour; enabled again it looks as before.
TEST(StdCtrlsTest, DisabledCheckBoxAndRadioButtonAreDrawnGrey) {
    TForm F(nullptr);
    F.SetColor(TColor(15595512));
    F.SetBounds(0, 0, 300, 120);
    auto* Box = Create<TCheckBox>(&F, &F);
    Box->SetBounds(10, 10, 250, 17);
    Box->SetCaption("Check Software Update at Start of Program");
    Box->SetChecked(true);
    auto* Radio = Create<TRadioButton>(&F, &F);
    Radio->SetBounds(10, 40, 250, 17);
    Radio->SetCaption("Firmware + Configuration");
    Radio->SetChecked(true);
    F.Show();
    // How many pixels are nearly black (the font colour), and how many are of the disabled grey.
    auto Count = [](TWinControl* C, int& Dark, int& Grey) {
        const QImage Img = C->grab().toImage();
        const QColor Disabled = ToQColor(clGrayText);
        Dark = Grey = 0;
        for (int y = 0; y < Img.height(); ++y)
            for (int x = 0; x < Img.width(); ++x) {
                const QColor P = Img.pixelColor(x, y);
                if (qGray(P.rgb()) < 60) ++Dark;
                if (P == Disabled) ++Grey;
            }
    };
    for (TWinControl* C : std::initializer_list<TWinControl*>{Box, Radio}) {
        SCOPED_TRACE(C->Caption().toStdString());
        int Dark = 0, Grey = 0;
        Count(C, Dark, Grey);
        EXPECT_GT(Dark, 40);
        C->SetEnabled(false);
        Count(C, Dark, Grey);
        EXPECT_EQ(Dark, 0);
        EXPECT_GT(Grey, 40);
        C->SetEnabled(true);
        Count(C, Dark, Grey);
        EXPECT_GT(Dark, 40);
    }
    F.Hide();
}
