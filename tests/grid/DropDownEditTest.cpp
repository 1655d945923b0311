// The drop-down edit driven through its own keys and mouse: opening and closing the popup, the
// events in their order, the text a cancel puts back, placement on the screen, the outside
// press, a modal dialog opened from inside the popup, header and footer buttons, the label.
#include "tests/grid/DropDownFixture.h"
#include "tests/support/ScriptedDialogs.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

namespace {
struct TEventLog {
    std::vector<QString> Items;
    void Wire(TExtCustomDropDown* D) {
        D->OnBeforeDropDown = [this](TObject*) { Items.push_back("BeforeDropDown"); };
        D->OnDropDown = [this](TObject*, bool&) { Items.push_back("DropDown"); };
        D->OnBeforeDropUp = [this](TObject*) { Items.push_back("BeforeDropUp"); };
        D->OnDropUp = [this](TObject*, bool Cancelled) {
            Items.push_back(Cancelled ? "DropUp cancelled" : "DropUp accepted");
        };
        D->OnDropDownHeaderButtonClick = [this](TObject*, int I) { Items.push_back(QString("Header %1").arg(I)); };
        D->OnDropDownFooterButtonClick = [this](TObject*, int I) { Items.push_back(QString("Footer %1").arg(I)); };
    }
    QString Joined() const {
        QStringList L(Items.begin(), Items.end());
        return L.join(", ");
    }
};

// A drop-down whose work area the test chooses (a monitor left of the primary one).
class TPlacedDropDown : public TExtCustomDropDown {
public:
    using TExtCustomDropDown::TExtCustomDropDown;
    TRect WorkArea;

protected:
    TRect WorkAreaAt(const TPoint&) const override { return WorkArea; }
};
} // namespace

TEST_F(DropDownTest, FreshControlHasItsStartValues) {
    EXPECT_EQ(D->Width(), 200);
    EXPECT_EQ(D->Height(), 21);
    EXPECT_EQ(D->DropDownColor(), TColor(0xF3E5DA));
    EXPECT_EQ(D->DropDownBorderColor(), clNone);
    EXPECT_EQ(D->LabelMargin(), 4);
    EXPECT_EQ(D->SelectionColor(), TColor(0xD7FFFD));
    EXPECT_EQ(D->SelectionColorTo(), TColor(0x58D4FC));
    EXPECT_EQ(D->Version(), "1.2.1.4");
    EXPECT_EQ(D->GetComponentStyle(), tsOffice2007Luna);
    EXPECT_EQ(D->SelectionColorStyle(), scOffice2007);
    EXPECT_EQ(D->DropDownButtonWidth(), 17);
    EXPECT_FALSE(D->DroppedDown());
    ASSERT_NE(D->DropDownForm(), nullptr);
    EXPECT_FALSE(D->DropDownForm()->isVisible());
    // The button sits inside the edit's border at its right edge.
    EXPECT_EQ(D->Button()->Left() + D->Button()->Width(), D->Width() - 2);
}

TEST_F(DropDownTest, KeysOpenAndClosePopupWithEventsInOrder) {
    TEventLog Log;
    Log.Wire(D);
    Focus();
    // Alt+Down opens, through the key-down event only (one toggle).
    Key(VK_DOWN, {ssAlt});
    EXPECT_TRUE(D->DroppedDown());
    EXPECT_TRUE(D->DropDownForm()->isVisible());
    EXPECT_EQ(Log.Joined(), "BeforeDropDown, DropDown");
    // Enter in the popup accepts.
    D->DropDownForm()->SimulateKey(VK_RETURN);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_FALSE(D->DropDownForm()->isVisible());
    EXPECT_EQ(Log.Joined(), "BeforeDropDown, DropDown, BeforeDropUp, DropUp accepted");
    // F4 toggles, Escape cancels.
    Log.Items.clear();
    Key(VK_F4);
    EXPECT_TRUE(D->DroppedDown());
    D->DropDownForm()->SimulateKey(VK_ESCAPE);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(Log.Joined(), "BeforeDropDown, DropDown, BeforeDropUp, DropUp cancelled");
    // Alt+Up closes an open popup as accepted.
    Log.Items.clear();
    Key(VK_DOWN, {ssAlt});
    Key(VK_UP, {ssAlt});
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(Log.Items.back(), "DropUp accepted");
    // Focus comes back to the edit.
    Key(VK_F4);
    QApplication::processEvents(); // the window system shows the popup
    EXPECT_TRUE(D->DroppedDown());
    D->DropDownForm()->SimulateKey(VK_ESCAPE);
    QApplication::processEvents();
    EXPECT_TRUE(D->Focused());
}

TEST_F(DropDownTest, RefusedDropDownLeavesPopupHidden) {
    D->OnDropDown = [](TObject*, bool& Accept) { Accept = false; };
    D->ShowDropDown();
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_FALSE(D->DropDownForm()->isVisible());
    D->OnDropDown = nullptr;
    D->SetReadOnly(true);
    D->ShowDropDown();
    EXPECT_FALSE(D->DroppedDown());
}

TEST_F(DropDownTest, EscapeRestoresTheTextThePopupOpenedWith) {
    D->SetText("first");
    Focus();
    // Typed after the last SetText, before the popup opens: that is the text a cancel restores.
    D->SelectAll();
    Type("typed");
    EXPECT_EQ(D->Text(), "typed");
    Key(VK_F4);
    ASSERT_TRUE(D->DroppedDown());
    // The kind writes while the popup is open, formatted and unformatted.
    D->SetText("picked");
    D->SetTextUnformatted("raw");
    D->DropDownForm()->SimulateKey(VK_ESCAPE);
    EXPECT_EQ(D->Text(), "typed");
    // Enter keeps what the popup put there.
    Key(VK_F4);
    D->SetText("chosen");
    D->DropDownForm()->SimulateKey(VK_RETURN);
    EXPECT_EQ(D->Text(), "chosen");
    // An empty edit stays empty after a cancel, never an older text.
    D->SetText("");
    Key(VK_F4);
    D->SetText("x");
    D->DropDownForm()->SimulateKey(VK_ESCAPE);
    EXPECT_EQ(D->Text(), "");
}

TEST_F(DropDownTest, EscapeInClosedEditSelectsValueAndClearsModified) {
    D->SetPrefix("$ ");
    D->SetText("12");
    Focus();
    D->SetSelStart(4);
    Type("3");
    EXPECT_TRUE(D->Modified());
    Key(VK_ESCAPE);
    EXPECT_EQ(D->Text(), "123");
    EXPECT_FALSE(D->Modified());
    EXPECT_EQ(D->SelStart(), 2);
    EXPECT_EQ(D->SelLength(), 3);
}

TEST_F(DropDownTest, ButtonClickOpensAndAClickWhileOpenDoesNotReopen) {
    TExtDropDownSpeedButton* B = D->Button()->Button();
    Click(B, 5, 5);
    ASSERT_TRUE(D->DroppedDown());
    // The press on the button lies outside the popup: it closes it (cancelled) and the
    // release that follows does not open it again.
    QPoint G = B->mapToGlobal(QPoint(5, 5));
    QPoint L = D->DropDownForm()->mapFromGlobal(G);
    QMouseEvent Press(QEvent::MouseButtonPress, L, G, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(D->DropDownForm(), &Press);
    EXPECT_FALSE(D->DroppedDown());
    Click(B, 5, 5);
    EXPECT_FALSE(D->DroppedDown());
    // More than 250 ms later a click opens it.
    FClock->Advance(251);
    Click(B, 5, 5);
    EXPECT_TRUE(D->DroppedDown());
}

TEST_F(DropDownTest, OutsidePressCancelsAndPressInsideKeepsPopupOpen) {
    TEventLog Log;
    Log.Wire(D);
    D->SetText("kept");
    D->ShowDropDown();
    TDropDownForm* F = D->DropDownForm();
    ASSERT_TRUE(F->isVisible());
    D->SetText("changed");
    QPoint Inside(F->width() / 2, F->height() / 2);
    QMouseEvent In(QEvent::MouseButtonPress, Inside, F->mapToGlobal(Inside), Qt::LeftButton, Qt::LeftButton,
                   Qt::NoModifier);
    QApplication::sendEvent(F, &In);
    EXPECT_TRUE(D->DroppedDown());
    QPoint Outside(-20, -20);
    QMouseEvent Out(QEvent::MouseButtonPress, Outside, F->mapToGlobal(Outside), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(F, &Out);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(Log.Items.back(), "DropUp cancelled");
    EXPECT_EQ(D->Text(), "kept");
}

TEST_F(DropDownTest, PopupSurvivesModalDialogOpenedFromInsideIt) {
    D->DropDownHeader()->Buttons()->Add()->SetCaption("Pick...");
    bool Shown = false;
    D->OnDropDownHeaderButtonClick = [&](TObject*, int) {
        TDropDownForm* F = D->DropDownForm();
        F->SetBlockActivate(true);
        std::unique_ptr<TForm> Dialog(Create<TForm>(nullptr));
        // While the dialog is up the popup loses the input: an outside press and the window
        // system closing the popup both reach it.
        TestModal().Expect([&](TForm* Modal) {
            Shown = true;
            QPoint Outside(-30, -30);
            QMouseEvent Out(QEvent::MouseButtonPress, Outside, F->mapToGlobal(Outside), Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier);
            QApplication::sendEvent(F, &Out);
            F->close();
            Modal->SetModalResult(mrOk);
        });
        EXPECT_EQ(Dialog->ShowModal(), mrOk);
        F->SetBlockActivate(false);
    };
    D->ShowDropDown();
    TExtHeader* H = D->DropDownForm()->Header();
    ASSERT_NE(H, nullptr);
    ASSERT_EQ(H->ButtonList()->Count(), 1);
    Click(H->ButtonAt(0), 3, 3);
    EXPECT_TRUE(Shown);
    EXPECT_TRUE(D->DroppedDown());
    EXPECT_TRUE(D->DropDownForm()->isVisible());
    // Without the block the same loss of activation closes it.
    D->DropDownForm()->close();
    EXPECT_FALSE(D->DroppedDown());
}

TEST_F(DropDownTest, FooterButtonsCloseByModalResultAndFireTheirClickByKeyToo) {
    TEventLog Log;
    Log.Wire(D);
    TFooterButtons* B = D->DropDownFooter()->Buttons();
    B->Add()->SetModalResult(mrOk);
    B->Add()->SetModalResult(mrCancel);
    B->Add()->SetModalResult(mrRetry);
    B->Items(0)->SetCaption("OK");
    B->Items(1)->SetCaption("Cancel");
    B->Items(2)->SetCaption("Retry");
    D->SetText("before");
    struct TCase {
        int Button;
        bool ByKey;
        const char* Expected;
        bool StaysOpen;
    } Cases[] = {
        {0, false, "BeforeDropUp, DropUp accepted, Footer 0", false},
        {1, false, "BeforeDropUp, DropUp cancelled, Footer 1", false},
        {2, false, "Footer 2", true},
        {0, true, "BeforeDropUp, DropUp accepted, Footer 0", false},
        {1, true, "BeforeDropUp, DropUp cancelled, Footer 1", false},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(QString("button %1 by %2").arg(C.Button).arg(C.ByKey ? "key" : "mouse").toStdString());
        D->ShowDropDown();
        ASSERT_TRUE(D->DroppedDown());
        Log.Items.clear();
        TExtButton* Btn = D->DropDownForm()->Footer()->ButtonAt(C.Button);
        EXPECT_EQ(Btn->Caption(), B->Items(C.Button)->Caption());
        if (C.ByKey)
            Btn->SimulateKey(VK_SPACE);
        else
            Click(Btn, 2, 2);
        EXPECT_EQ(Log.Joined(), C.Expected);
        EXPECT_EQ(D->DroppedDown(), C.StaysOpen);
        if (D->DroppedDown()) D->HideDropDown(false);
    }
}

TEST_F(DropDownTest, HeaderButtonKeepsPopupOpenAndKeyboardFiresItsClick) {
    TEventLog Log;
    Log.Wire(D);
    D->DropDownHeader()->Buttons()->Add()->SetCaption("A");
    D->DropDownHeader()->Buttons()->Add()->SetCaption("B");
    D->ShowDropDown();
    TExtHeader* H = D->DropDownForm()->Header();
    Log.Items.clear();
    H->ButtonAt(1)->SimulateKey(VK_RETURN);
    Click(H->ButtonAt(0), 2, 2);
    EXPECT_EQ(Log.Joined(), "Header 1, Header 0");
    EXPECT_TRUE(D->DroppedDown());
}

TEST_F(DropDownTest, ButtonsAreArrangedByAlignmentAndLimitedToTheArea) {
    TFooterAppearance* Foot = D->DropDownFooter();
    Foot->SetHeight(14);
    for (const char* C : {"One", "Two", "Three"}) Foot->Buttons()->Add()->SetCaption(C);
    D->DropDownHeader()->SetHeight(14);
    D->DropDownHeader()->Buttons()->Add()->SetCaption("H");
    D->SetDropDownWidth(260);
    D->ShowDropDown();
    TExtFooter* F = D->DropDownForm()->Footer();
    TExtHeader* H = D->DropDownForm()->Header();
    EXPECT_EQ(F->ButtonArea().Height(), 10);
    EXPECT_EQ(H->ButtonArea().Height(), 9);
    for (int I = 0; I < 3; ++I) EXPECT_LE(F->ButtonAt(I)->Height(), 10);
    EXPECT_LE(H->ButtonAt(0)->Height(), 9);
    // baRight: the first item is the rightmost, buttons touching.
    EXPECT_EQ(F->ButtonAt(0)->Left() + F->ButtonAt(0)->Width(), F->ButtonArea().Right);
    EXPECT_EQ(F->ButtonAt(1)->Left() + F->ButtonAt(1)->Width(), F->ButtonAt(0)->Left());
    D->HideDropDown(false);
    Foot->SetButtonAlignment(baLeft);
    D->ShowDropDown();
    EXPECT_EQ(F->ButtonAt(0)->Left(), F->ButtonArea().Left);
    EXPECT_EQ(F->ButtonAt(1)->Left(), F->ButtonAt(0)->Left() + F->ButtonAt(0)->Width());
}

TEST_F(DropDownTest, AppearanceChangesWhileOpen) {
    D->ShowDropDown();
    TExtHeader* H = D->DropDownForm()->Header();
    ASSERT_NE(H, nullptr);
    const TColor Before = H->Appearance()->Color();
    // A colour takes effect at the next opening.
    D->DropDownHeader()->SetColor(clRed);
    EXPECT_EQ(H->Appearance()->Color(), Before);
    // Visibility re-lays out the open popup at once.
    D->DropDownHeader()->SetVisible(false);
    EXPECT_FALSE(H->Visible());
    D->DropDownHeader()->SetVisible(true);
    EXPECT_TRUE(H->Visible());
    EXPECT_EQ(H->Appearance()->Color(), clRed);
    // Adding a button does not notify; a caption change does.
    D->DropDownHeader()->Buttons()->Add()->SetCaption("");
    EXPECT_EQ(H->ButtonList()->Count(), 0);
    D->DropDownHeader()->Buttons()->Items(0)->SetCaption("Now");
    EXPECT_EQ(H->ButtonList()->Count(), 1);
}

TEST_F(DropDownTest, PopupPlacementFollowsDropPositionAndWorkArea) {
    std::unique_ptr<TDropDownHost> H2(Create<TDropDownHost>(nullptr));
    auto* P = Create<TPlacedDropDown>(H2.get(), H2.get());
    P->SetDropDownHeight(100);
    P->SetDropDownWidth(150);
    const int ScreenH = Screen->Height();
    P->WorkArea = Rect(0, 0, 2000, ScreenH);
    // Low on the screen, dpAuto opens above.
    H2->SetBounds(100, ScreenH - 90, 320, 80);
    H2->Show();
    P->SetBounds(10, 10, 200, 21);
    QApplication::processEvents();
    QPoint A = P->mapToGlobal(QPoint(0, 0));
    P->ShowDropDown();
    TDropDownForm* F = P->DropDownForm();
    EXPECT_EQ(F->y(), A.y() - 100);
    EXPECT_EQ(F->x(), A.x());
    P->HideDropDown(false);
    P->SetDropPosition(dpDown);
    P->SetDropDownWidth(150);
    P->WorkArea = Rect(0, 0, 2000, ScreenH + 400); // room below on a taller monitor
    P->ShowDropDown();
    EXPECT_EQ(F->y(), A.y() + P->Height() - 1);
    P->HideDropDown(false);
    P->WorkArea = Rect(0, 0, 2000, ScreenH);
    // A popup that would pass the work area's right edge moves left by the overlap...
    P->WorkArea = Rect(0, 0, A.x() + 100, ScreenH);
    P->SetDropDownWidth(150);
    P->ShowDropDown();
    EXPECT_EQ(F->x(), A.x() - 50);
    P->HideDropDown(false);
    // ... on a monitor left of the primary one as well ...
    P->WorkArea = Rect(-1000, 0, A.x() + 100, ScreenH);
    P->SetDropDownWidth(150);
    P->ShowDropDown();
    EXPECT_EQ(F->x(), A.x() - 50);
    EXPECT_EQ(F->width(), 150);
    EXPECT_EQ(F->height(), 100);
    P->HideDropDown(false);
    // ... and one whose anchor lies left of the work area moves right to its edge.
    P->WorkArea = Rect(A.x() + 30, 0, A.x() + 1000, ScreenH);
    P->SetDropDownWidth(150);
    P->ShowDropDown();
    EXPECT_EQ(F->x(), A.x() + 30);
    P->HideDropDown(false);
    // Opening down at the foot of the work area stays inside it.
    P->WorkArea = Rect(0, 0, 2000, A.y() + 60);
    P->ShowDropDown();
    EXPECT_EQ(F->y() + F->height(), A.y() + 60);
    P->HideDropDown(false);
    P->WorkArea = Rect(0, 0, 2000, ScreenH);
    // The user's size is remembered until a size is set again.
    P->ShowDropDown();
    F->resize(220, 140);
    P->HideDropDown(false);
    P->ShowDropDown();
    EXPECT_EQ(F->width(), 220);
    P->HideDropDown(false);
    P->SetDropDownHeight(90);
    P->ShowDropDown();
    EXPECT_EQ(F->width(), 150);
    EXPECT_EQ(F->height(), 90);
    P->HideDropDown(false);
}

TEST_F(DropDownTest, ComputedPopupSizeAddsHeaderFooterAndControl) {
    auto* Memo = Create<TMemo>(Host.get(), nullptr);
    D->SetControl(Memo);
    // The kind sizes its control before the popup opens.
    Memo->SetAlign(alNone);
    Memo->SetBounds(0, 0, 180, 70);
    D->ShowDropDown();
    // Border 1 on each side, header 22, footer 22, control 70.
    EXPECT_EQ(D->DropDownForm()->height(), 2 + 22 + 22 + 70);
    EXPECT_EQ(D->DropDownForm()->width(), 180);
    EXPECT_EQ(Memo->Parent(), D->DropDownForm());
    D->HideDropDown(false);
}

TEST_F(DropDownTest, NotEditableDropDownOpensOnAnyClickAndDropsCharacters) {
    D->SetText("value");
    D->SetEditorEnabled(false);
    Focus();
    Type("x");
    EXPECT_EQ(D->Text(), "value");
    Click(D, 20, 8);
    EXPECT_TRUE(D->DroppedDown());
    D->HideDropDown(false);
}

TEST_F(DropDownTest, DoubleClicksOnlyWhileTheValueIsEditable) {
    int Doubles = 0;
    D->OnDblClick = [&](TObject*) { ++Doubles; };
    Focus();
    D->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(20, 8));
    D->Perform(WM_LBUTTONUP, 0, MakeLParam(20, 8));
    EXPECT_EQ(Doubles, 1);
    D->SetEditorEnabled(false);
    // The second press of a quick pair is one more click: it opens the popup as the first did.
    D->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(20, 8));
    D->Perform(WM_LBUTTONUP, 0, MakeLParam(20, 8));
    EXPECT_EQ(Doubles, 1);
    EXPECT_TRUE(D->DroppedDown());
    D->HideDropDown(false);
    D->SetEditorEnabled(true);
    D->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(20, 8));
    EXPECT_EQ(Doubles, 2);
}

TEST_F(DropDownTest, LabelIsPlacedByPosition) {
    D->SetLabelCaption("Name");
    TLabel* L = D->EditLabel();
    ASSERT_NE(L, nullptr);
    const int Lw = L->Width(), Lh = L->Height();
    TCanvas C;
    C.Font()->Assign(L->Font());
    const int W = C.TextWidth("Name");
    struct TCase {
        TLabelPosition P;
        int X, Y;
    } Cases[] = {
        {lpLeftTop, 60 - W - 4, 20},
        {lpTopLeft, 60, 20 - Lh - 4},
        {lpBottomLeft, 60, 20 + 21 + 4},
        {lpRightTop, 60 + 200 + 4, 20},
        {lpTopRight, 60 + 200 - Lw, 20 - Lh - 4},
        {lpLeftBottom, 60 - W - 4, 20 + 21 - Lh},
    };
    for (const TCase& T : Cases) {
        SCOPED_TRACE(int(T.P));
        D->SetLabelPosition(T.P);
        EXPECT_EQ(L->Left(), T.X);
        EXPECT_EQ(L->Top(), T.Y);
    }
    D->SetLabelMargin(10);
    D->SetLabelPosition(lpBottomLeft);
    EXPECT_EQ(L->Top(), 20 + 21 + 10);
}

TEST_F(DropDownTest, AssignCopiesFromDropDownAndIgnoresOthers) {
    std::unique_ptr<TExtCustomDropDown> Other(Create<TExtCustomDropDown>(nullptr));
    Other->SetEditType(etFloat);
    Other->SetPrecision(3);
    Other->SetPrefix("<");
    Other->SetDropDownColor(clRed);
    Other->DropDownHeader()->SetCaption("Head");
    Other->SetDropDownButtonWidth(21);
    D->Assign(Other.get());
    EXPECT_EQ(D->EditType(), etFloat);
    EXPECT_EQ(D->Precision(), 3);
    EXPECT_EQ(D->Prefix(), "<");
    EXPECT_EQ(D->DropDownColor(), clRed);
    EXPECT_EQ(D->DropDownHeader()->Caption(), "Head");
    EXPECT_EQ(D->DropDownButtonWidth(), 21);
    TFont Font;
    EXPECT_NO_THROW(D->Assign(&Font));
    EXPECT_EQ(D->Prefix(), "<");
}

TEST_F(DropDownTest, PressIntoAWindowOfThePopupKeepsItOpen) {
    D->ShowDropDown();
    TDropDownForm* F = D->DropDownForm();
    // A window the popup itself opened (a list of its own) lies outside the popup's rectangle.
    QWidget Child(F, Qt::Tool | Qt::FramelessWindowHint);
    const QPoint Corner = F->mapToGlobal(QPoint(F->width() + 20, 0));
    Child.setGeometry(Corner.x(), Corner.y(), 60, 40);
    Child.show();
    QApplication::processEvents();
    const QPoint G = Corner + QPoint(10, 10);
    ASSERT_EQ(QApplication::widgetAt(G), &Child);
    QMouseEvent Press(QEvent::MouseButtonPress, F->mapFromGlobal(G), G, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(F, &Press);
    EXPECT_TRUE(D->DroppedDown());
    Child.hide();
}

TEST_F(DropDownTest, NotEditableFocusedDropDownPaintsHighlightBar) {
    D->SetText("Chosen");
    D->SetEditorEnabled(false);
    Focus();
    QApplication::processEvents();
    QImage I = D->grab().toImage();
    // Inside the bar (2, 2, width - button width - 1, height - 2), left of the text.
    const QRgb P = I.pixel(3, D->Height() / 2);
    EXPECT_EQ(RGB(qRed(P), qGreen(P), qBlue(P)), TColor(ColorToRGB(clHighlight)));
    Host->Other->SetFocus();
    QApplication::processEvents();
    I = D->grab().toImage();
    const QRgb Q = I.pixel(3, D->Height() / 2);
    EXPECT_NE(RGB(qRed(Q), qGreen(Q), qBlue(Q)), TColor(ColorToRGB(clHighlight)));
}

TEST_F(DropDownTest, KeysFromTheWindowSystemTakeTheSamePath) {
    D->SetEditType(etNumeric);
    D->SetText("");
    Focus();
    D->SelectAll();
    for (QChar C : QString("4a2")) {
        QKeyEvent Press(QEvent::KeyPress, C.toUpper().unicode(), Qt::NoModifier, QString(C));
        QApplication::sendEvent(D->Native(), &Press);
        QKeyEvent Release(QEvent::KeyRelease, C.toUpper().unicode(), Qt::NoModifier, QString(C));
        QApplication::sendEvent(D->Native(), &Release);
    }
    EXPECT_EQ(D->Text(), "42");
    QKeyEvent AltDown(QEvent::KeyPress, Qt::Key_Down, Qt::AltModifier);
    QApplication::sendEvent(D->Native(), &AltDown);
    EXPECT_TRUE(D->DroppedDown());
    D->HideDropDown(false);
}

TEST_F(DropDownTest, ReturnIsTabMovesTheFocusOn) {
    D->SetReturnIsTab(true);
    D->SetTabOrder(0);
    Host->Other->SetTabOrder(1);
    Focus();
    Key(VK_RETURN);
    QApplication::processEvents();
    EXPECT_TRUE(Host->Other->Focused());
}

namespace {
class TSizingDropDown : public TExtCustomDropDown {
public:
    using TExtCustomDropDown::TExtCustomDropDown;
    int Sizings = 0;
    void DropDownSizing() override { ++Sizings; }
};
} // namespace

TEST_F(DropDownTest, UserResizeOfOpenPopupReachesTheKind) {
    auto* S = Create<TSizingDropDown>(Host.get(), Host.get());
    S->SetBounds(60, 60, 200, 21);
    S->ShowDropDown();
    EXPECT_EQ(S->Sizings, 0); // placing the popup is not the user's resizing
    S->DropDownForm()->resize(260, 120);
    EXPECT_EQ(S->Sizings, 1);
    S->HideDropDown(false);
    // An image list that goes away is forgotten.
    auto* Images = new TImageList(nullptr);
    S->SetImages(Images);
    delete Images;
    EXPECT_EQ(S->Images(), nullptr);
}

TEST_F(DropDownTest, FooterButtonMayReopenThePopupFromItsClick) {
    D->DropDownFooter()->Buttons()->Add()->SetModalResult(mrOk);
    int Reopened = 0;
    D->OnDropDownFooterButtonClick = [&](TObject*, int) {
        if (Reopened++ == 0) D->ShowDropDown(); // rebuilds the buttons while one is clicked
    };
    D->ShowDropDown();
    TExtButton* B = D->DropDownForm()->Footer()->ButtonAt(0);
    Click(B, 2, 2);
    QApplication::processEvents();
    EXPECT_EQ(Reopened, 1);
    EXPECT_TRUE(D->DroppedDown());
    EXPECT_EQ(D->DropDownForm()->Footer()->ButtonList()->Count(), 1);
    D->DropDownForm()->Footer()->ButtonAt(0)->SimulateKey(VK_RETURN);
    QApplication::processEvents();
    EXPECT_FALSE(D->DroppedDown());
}
