#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "tests/support/QtPrint.h"
#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTabBar>
#include <QLineEdit>

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
}  // namespace

TEST(StdCtrlsTest, EditKeyPressHandlerFiltersAndChangesCharacters) {
    TForm F(nullptr);
    auto* E = Create<TEdit>(&F, &F);
    int Changes = 0;
    E->OnChange = [&](TObject*) { ++Changes; };
    // A numeric field: digits pass, letters are dropped, a comma becomes a point.
    E->OnKeyPress = [](TObject*, QChar& Key) {
        if (Key == QLatin1Char(',')) Key = QLatin1Char('.');
        else if (Key.isLetter()) Key = QChar();
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
    EXPECT_EQ(E.Text(), "1234");
    E.SetSelStart(1);
    E.SetSelLength(2);
    EXPECT_EQ(E.SelText(), "23");
    E.SetSelText("x");
    EXPECT_EQ(E.Text(), "1x4");
    E.SetReadOnly(true);
    E.SimulateKey('A');
    EXPECT_EQ(E.Text(), "1x4");
}

TEST(StdCtrlsTest, EditMasksBecomeQtInputMasks) {
    const struct { const char* In; const char* Out; } Table[] = {
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
        EXPECT_EQ(C.Native()->checkState(), S == cbChecked ? Qt::Checked : S == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
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
