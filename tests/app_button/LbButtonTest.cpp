// The push button's behaviour: its properties, clicks by mouse and keyboard, the default and
// cancel keys of a modal form, hot tracking and its slow fade, and what its paint adds.
#include "app/LbButton.h"

#include "platform/gui/Menus.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A focusable control whose class name says nothing about buttons (a check box stands in).
class TTickBox : public TCustomControl {
public:
    explicit TTickBox(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
};

// A focusable control whose class name says it is a radio button.
class TTestRadioButton : public TCustomControl {
public:
    explicit TTestRadioButton(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
};

// A dialog as the configurator builds them: OK and Cancel in the button panel, plus an input
// control, a second push button and a radio button to put the focus on.
class TTestDialog : public TForm {
public:
    explicit TTestDialog(TComponent* AOwner) : TForm(AOwner) {}
    void CreateComponents() override {
        SetBounds(0, 0, 400, 200);
        Tick = Create<TTickBox>(this, this);
        Tick->SetBounds(10, 10, 100, 20);
        Radio = Create<TTestRadioButton>(this, this);
        Radio->SetBounds(10, 40, 100, 20);
        Other = Create<TLbButton>(this, this);
        Other->SetBounds(10, 70, 110, 28);
        Other->SetCaption("Other");
        OK = Create<TLbButton>(this, this);
        OK->SetBounds(160, 160, 110, 28);
        OK->SetCaption("OK");
        OK->SetModalResult(mrOk);
        Cancel = Create<TLbButton>(this, this);
        Cancel->SetBounds(280, 160, 110, 28);
        Cancel->SetCaption("Cancel");
        Cancel->SetModalResult(mrCancel);
        for (TLbButton* b : {Other, OK, Cancel})
            b->OnClick = [this](TObject* Sender) {
                Clicks.push_back(static_cast<TLbButton*>(Sender)->Caption());
                ResultSeenByOnClick = ModalResult();
            };
    }
    TTickBox* Tick = nullptr;
    TTestRadioButton* Radio = nullptr;
    TLbButton* Other = nullptr;
    TLbButton* OK = nullptr;
    TLbButton* Cancel = nullptr;
    QStringList Clicks;
    TModalResult ResultSeenByOnClick = -1;
};

void Press(TControl* C, int X = 5, int Y = 5) { C->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(X, Y)); }
void Release(TControl* C, int X = 5, int Y = 5) { C->Perform(WM_LBUTTONUP, 0, MakeLParam(X, Y)); }

class LbButtonOnForm : public ::testing::Test {
protected:
    void SetUp() override { Form.reset(Create<TTestDialog>(nullptr)); }
    void TearDown() override {
        SetModalHook(nullptr);
        Form.reset();
    }
    // Shows the dialog modally; Act runs on it once it is modal. Returns the modal result the
    // buttons left (mrNone when none closed the dialog); ShowModal must return the same.
    TModalResult RunModal(const std::function<void(TTestDialog*)>& Act) {
        TModalResult left = -1;
        SetModalHook([&](TForm* F) {
            QApplication::processEvents();
            Act(static_cast<TTestDialog*>(F));
            left = F->ModalResult();
        });
        const TModalResult shown = Form->ShowModal();
        SetModalHook(nullptr);
        EXPECT_EQ(shown, left == mrNone ? mrCancel : left);
        return left;
    }
    void Focus(TWinControl* C) {
        C->SetFocus();
        QApplication::processEvents();
        ASSERT_TRUE(C->Focused());
    }
    std::unique_ptr<TTestDialog> Form;
};

} // namespace

TEST(LbButton, NewButtonHasItsDocumentedDefaultsAndTheFormFontAsHotTrackFont) {
    std::unique_ptr<TForm> form(Create<TForm>(nullptr));
    form->Font()->SetName("Verdana");
    form->Font()->SetHeight(-13);
    TLbButton* b = Create<TLbButton>(form.get(), form.get());
    EXPECT_EQ(b->Width(), 100);
    EXPECT_EQ(b->Height(), 23);
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_EQ(b->LightColor(), clWhite);
    EXPECT_EQ(b->ShadowColor(), TColor(0x808080));
    EXPECT_EQ(b->HotTrackColor(), clNone);
    EXPECT_EQ(b->ColorWhenDown(), clNone);
    EXPECT_EQ(b->Style(), bsNormal);
    EXPECT_EQ(b->Kind(), bkCustom);
    EXPECT_EQ(b->ColorStyle(), lcsCustom);
    EXPECT_EQ(b->Alignment(), taCenter);
    EXPECT_EQ(b->Layout(), blGlyphLeft);
    EXPECT_FALSE(b->Default() || b->Cancel() || b->WordWrap() || b->Flat() || b->SlowDecease());
    EXPECT_TRUE(b->TabStop());
    EXPECT_EQ(b->NumGlyphs(), 0);
    EXPECT_EQ(b->HotTrackFont()->Name(), "Verdana");
    EXPECT_EQ(b->HotTrackFont()->Height(), -13);
}

TEST(LbButton, KindSetsCaptionTwoCellPictureAndModalResult) {
    struct {
        TLbButtonKind Kind;
        const char16_t* Caption;
        TModalResult Result;
        int PictureHeight;
    } cases[] = {
        {bkOK, u"OK", mrOk, 18},
        {bkCancel, u"Abbrechen", mrCancel, 18},
        {bkHelp, u"Hilfe", mrNone, 18},
        {bkYes, u"Ja", mrYes, 18},
        {bkNo, u"Nein", mrNo, 18},
        {bkClose, u"Schließen", mrNone, 18},
        {bkAbort, u"Abbrechen", mrAbort, 18},
        {bkRetry, u"Wiederholen", mrRetry, 18},
        {bkIgnore, u"Ignorieren", mrIgnore, 18},
        {bkAll, u"Alle", mrAll, 19},
    };
    std::unique_ptr<TLbButton> b(Create<TLbButton>(nullptr));
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Kind));
        b->SetKind(c.Kind);
        EXPECT_EQ(b->Kind(), c.Kind);
        EXPECT_EQ(b->Caption(), QString::fromUtf16(c.Caption));
        EXPECT_EQ(b->ModalResult(), c.Result);
        EXPECT_EQ(b->NumGlyphs(), 2);
        EXPECT_EQ(b->Glyph()->Width(), 36);
        EXPECT_EQ(b->Glyph()->Height(), c.PictureHeight);
        // Every cell keeps its bottom-left pixel transparent.
        for (int cell = 0; cell < 2; ++cell)
            EXPECT_EQ(ColorToRGB(b->Glyph()->Canvas()->Pixels(18 * cell, c.PictureHeight - 1)), LbTransparentColor);
    }
    b->SetKind(bkYes);
    b->SetModalResult(mrNo);
    EXPECT_EQ(b->Kind(), bkCustom);
    EXPECT_EQ(b->Caption(), "Ja");
    EXPECT_EQ(b->ModalResult(), mrNo);
}

TEST(LbButton, GlyphSetsNumGlyphsFromItsShapeAndMakesTheKindCustom) {
    std::unique_ptr<TLbButton> b(Create<TLbButton>(nullptr));
    b->SetKind(bkOK);
    TBitmap strip(72, 18);
    b->SetGlyph(&strip);
    EXPECT_EQ(b->NumGlyphs(), 4);
    EXPECT_EQ(b->Kind(), bkCustom);
    EXPECT_EQ(b->ModalResult(), mrOk);
    TBitmap one(18, 18);
    b->SetGlyph(&one);
    EXPECT_EQ(b->NumGlyphs(), 1);
    TBitmap empty;
    b->SetGlyph(&empty);
    EXPECT_EQ(b->NumGlyphs(), 0);
    EXPECT_TRUE(b->Glyph()->Empty());
    // The button keeps its own copy.
    TBitmap source(36, 18);
    b->SetGlyph(&source);
    source.SetSize(10, 10);
    EXPECT_EQ(b->Glyph()->Width(), 36);
}

TEST(LbButton, ColorStyleWritesItsColoursButAlwaysReadsCustom) {
    std::unique_ptr<TLbButton> b(Create<TLbButton>(nullptr));
    b->SetColorStyle(lcsBlue);
    EXPECT_EQ(b->ColorStyle(), lcsCustom);
    EXPECT_EQ(b->Color(), TColor(0xFF8000));
    EXPECT_EQ(b->LightColor(), TColor(0xFFFF00));
    EXPECT_EQ(b->ShadowColor(), TColor(0xFF0000));
    EXPECT_EQ(b->ColorWhenDown(), clNone);
    EXPECT_EQ(b->HotTrackColor(), clNone);
    EXPECT_EQ(b->Style(), bsModern);
    EXPECT_FALSE(b->Flat());

    b->SetColorStyle(lcsQuicken);
    EXPECT_EQ(b->Color(), TColor(0x603000));
    EXPECT_EQ(b->ColorWhenDown(), TColor(0xAD6529));
    EXPECT_EQ(b->HotTrackColor(), TColor(0xCEAE9C));
    EXPECT_EQ(b->Style(), bsQuicken);
    EXPECT_EQ(b->Font()->Color(), TColor(0xFFFFFF));

    b->SetColorStyle(lcsUltraFlat1);
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_TRUE(b->Flat());
    EXPECT_EQ(b->Style(), bsNormal);

    b->SetColorStyle(lcsCustom); // changes nothing
    EXPECT_EQ(b->ColorWhenDown(), TColor(0xB59284));
    EXPECT_TRUE(b->Flat());
}

// Every colour style writes its whole row; the button's starting values are set to something
// else first, so that a value the style forgets to write shows.
TEST(LbButton, EveryColorStyleWritesItsWholeRow) {
    const TColor face = clBtnFace, none = clNone;
    struct {
        TLbColorStyle Style;
        TColor Color, Light, Shadow, WhenDown, HotTrack;
        TLbButtonStyle ButtonStyle;
        bool Flat;
        TColor FontColor;
    } cases[] = {
        {lcsGold, 0x00C0C0, 0x00FFFF, 0x008080, none, 0x00DFDF, bsModern, false, 0x000000},
        {lcsChrome, 0xC0C0C0, 0xFFFFFF, 0x808080, none, none, bsModern, false, 0x000000},
        {lcsBlue, 0xFF8000, 0xFFFF00, 0xFF0000, none, none, bsModern, false, 0x000000},
        {lcsRed, 0x0000FF, 0xC0C0FF, 0x0000C0, none, none, bsModern, false, 0x000000},
        {lcsUltraFlat1, face, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, bsNormal, true, 0x000000},
        {lcsUltraFlat2, face, 0x000000, 0x000000, 0x24DABC, 0x8CF6E4, bsNormal, true, 0x000000},
        {lcsUltraFlatXP, 0xD1D8DB, 0xB59284, 0xB59285, 0xB59285, 0xD2BDB6, bsNormal, true, 0x000000},
        {lcsAqua, 0xECCE94, 0xFCE6D4, 0x000000, none, none, bsModern, false, 0x000000},
        {lcsDefault, face, 0xFFFFFF, 0x808080, none, none, bsNormal, false, 0x000000},
        {lcsQuicken, 0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C, bsQuicken, false, 0xFFFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Style));
        std::unique_ptr<TLbButton> b(Create<TLbButton>(nullptr));
        b->SetColor(TColor(0x123456));
        b->SetLightColor(TColor(0x123456));
        b->SetShadowColor(TColor(0x123456));
        b->SetColorWhenDown(TColor(0x123456));
        b->SetHotTrackColor(TColor(0x123456));
        b->SetStyle(bsShape);
        b->SetFlat(!c.Flat);
        b->Font()->SetColor(TColor(0x123456));
        b->SetColorStyle(c.Style);
        EXPECT_EQ(b->Color(), c.Color);
        EXPECT_EQ(b->LightColor(), c.Light);
        EXPECT_EQ(b->ShadowColor(), c.Shadow);
        EXPECT_EQ(b->ColorWhenDown(), c.WhenDown);
        EXPECT_EQ(b->HotTrackColor(), c.HotTrack);
        EXPECT_EQ(b->Style(), c.ButtonStyle);
        EXPECT_EQ(b->Flat(), c.Flat);
        EXPECT_EQ(b->Font()->Color(), c.FontColor);
        EXPECT_EQ(b->ColorStyle(), lcsCustom);
    }
}

TEST_F(LbButtonOnForm, MouseClickOnCancelClosesTheDialogWithCancelAfterOnClickRan) {
    const TModalResult r = RunModal([](TTestDialog* F) {
        Press(F->Cancel);
        EXPECT_TRUE(F->Cancel->IsDown());
        EXPECT_TRUE(F->Cancel->Focused());
        Release(F->Cancel);
        EXPECT_FALSE(F->Cancel->IsDown());
    });
    EXPECT_EQ(r, mrCancel);
    EXPECT_EQ(Form->Clicks, QStringList{"Cancel"});
    EXPECT_EQ(Form->ResultSeenByOnClick, mrNone);
}

TEST_F(LbButtonOnForm, ReleasingTheMouseAnywhereAfterPressingOnTheButtonClicksIt) {
    const TModalResult r = RunModal([](TTestDialog* F) {
        Press(F->OK);
        Release(F->OK, -50, 300);
    });
    EXPECT_EQ(r, mrOk);
}

TEST_F(LbButtonOnForm, EnterAndEscapeReachTheDefaultAndCancelButtons) {
    struct {
        const char* Name;
        bool Default, Cancel, CancelEnabled;
        Word Key;
        TShiftState Shift;
        QStringList Clicks;
        TModalResult Result;
    } cases[] = {
        {"enter on default", true, false, true, VK_RETURN, {}, {"OK"}, mrOk},
        {"enter without default", false, false, true, VK_RETURN, {}, {}, mrNone},
        {"escape on cancel", false, true, true, VK_ESCAPE, {}, {"Cancel"}, mrCancel},
        {"escape on disabled cancel", false, true, false, VK_ESCAPE, {}, {}, mrNone},
        {"shift escape", false, true, true, VK_ESCAPE, {ssShift}, {}, mrNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Form.reset(Create<TTestDialog>(nullptr));
        Form->OK->SetDefault(c.Default);
        Form->Cancel->SetCancel(c.Cancel);
        Form->Cancel->SetEnabled(c.CancelEnabled);
        const TModalResult r = RunModal([&](TTestDialog* F) {
            Focus(F->Tick);
            F->Tick->SimulateKey(c.Key, c.Shift);
        });
        EXPECT_EQ(Form->Clicks, c.Clicks);
        EXPECT_EQ(r, c.Result);
    }
}

TEST_F(LbButtonOnForm, EnterOnAFocusedButtonClicksThatButtonNotTheDefault) {
    Form->OK->SetDefault(true);
    const TModalResult r = RunModal([&](TTestDialog* F) {
        Focus(F->Other);
        F->Other->SimulateKey(VK_RETURN);
    });
    EXPECT_EQ(Form->Clicks, QStringList{"Other"});
    EXPECT_EQ(r, mrNone);
}

TEST_F(LbButtonOnForm, EscapeOnAFocusedButtonStillCancelsTheDialog) {
    Form->OK->SetDefault(true);
    Form->Cancel->SetCancel(true);
    const TModalResult r = RunModal([&](TTestDialog* F) {
        Focus(F->OK);
        F->OK->SimulateKey(VK_ESCAPE);
    });
    EXPECT_EQ(Form->Clicks, QStringList{"Cancel"});
    EXPECT_EQ(r, mrCancel);
}

TEST_F(LbButtonOnForm, EnterOnAFocusedRadioButtonGoesToTheDefault) {
    Form->OK->SetDefault(true);
    const TModalResult r = RunModal([&](TTestDialog* F) {
        Focus(F->Radio);
        F->Radio->SimulateKey(VK_RETURN);
    });
    EXPECT_EQ(r, mrOk);
    EXPECT_EQ(Form->Clicks, QStringList{"OK"});
}

TEST_F(LbButtonOnForm, SpaceOnTheFocusedButtonClicksOnRelease) {
    RunModal([&](TTestDialog* F) {
        Focus(F->Other);
        F->Other->Perform(WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_TRUE(F->Other->IsDown());
        EXPECT_TRUE(F->Clicks.isEmpty());
        F->Other->Perform(WM_KEYUP, VK_SPACE, 0);
        EXPECT_FALSE(F->Other->IsDown());
    });
    EXPECT_EQ(Form->Clicks, QStringList{"Other"});
}

// The release of an Enter pressed elsewhere (say on a dialog it closed) must not click the
// button that has the focus now.
TEST_F(LbButtonOnForm, KeyReleaseWithoutAPressOnTheButtonDoesNotClick) {
    RunModal([&](TTestDialog* F) {
        Focus(F->Other);
        F->Other->Perform(WM_KEYUP, VK_RETURN, 0);
        F->Other->Perform(WM_KEYUP, VK_SPACE, 0);
    });
    EXPECT_TRUE(Form->Clicks.isEmpty());
}

TEST_F(LbButtonOnForm, DisabledButtonIgnoresMouseKeysAndProgrammaticClicks) {
    Form->OK->SetEnabled(false);
    Form->OK->SetDefault(true);
    const TModalResult r = RunModal([&](TTestDialog* F) {
        Press(F->OK);
        Release(F->OK);
        F->OK->Click();
        EXPECT_FALSE(F->OK->IsDown());
        Focus(F->Tick);
        F->Tick->SimulateKey(VK_RETURN);
    });
    EXPECT_TRUE(Form->Clicks.isEmpty());
    EXPECT_EQ(r, mrNone);
}

TEST_F(LbButtonOnForm, DisablingAPressedButtonClearsThePressedState) {
    Form->Show();
    Press(Form->Other);
    ASSERT_TRUE(Form->Other->IsDown());
    Form->Other->SetEnabled(false);
    EXPECT_FALSE(Form->Other->IsDown());
    Form->Other->SetEnabled(true);
    Release(Form->Other);
    EXPECT_TRUE(Form->Clicks.isEmpty());
}

TEST_F(LbButtonOnForm, InvisibleButtonRefusesAClickAndDoesNotStayPressed) {
    Form->Show();
    Form->Other->SetVisible(false);
    Form->Other->Click();
    EXPECT_TRUE(Form->Clicks.isEmpty());
    EXPECT_FALSE(Form->Other->IsDown());
}

TEST_F(LbButtonOnForm, AcceleratorLetterClicksTheButton) {
    Form->Show();
    Form->Other->SetCaption("&Apply");
    EXPECT_EQ(Form->Other->Perform(CM_DIALOGCHAR, 'b'), 0);
    EXPECT_NE(Form->Other->Perform(CM_DIALOGCHAR, 'a'), 0);
    EXPECT_EQ(Form->Clicks, QStringList{"&Apply"});
    Form->Other->SetCaption("Save && exit"); // "&&" is a plain ampersand, no accelerator
    EXPECT_EQ(Form->Other->Perform(CM_DIALOGCHAR, ' '), 0);
    EXPECT_EQ(Form->Other->Perform(CM_DIALOGCHAR, 'e'), 0);
}

TEST_F(LbButtonOnForm, ClickOpensTheAssignedPopupMenuBelowTheButton) {
    Form->Show();
    auto* menu = new TPopupMenu(Form.get());
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    Form->Other->SetPopupMenu(menu);
    Press(Form->Other);
    Release(Form->Other);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupComponent(), Form->Other);
    menu->CloseMenu();
}

TEST_F(LbButtonOnForm, HoverMakesTheButtonHotAndLeavingResetsIt) {
    Form->Show();
    TLbButton* b = Form->Other;
    int enters = 0, exits = 0;
    b->OnMouseEnter = [&](TObject*) { ++enters; };
    b->OnMouseExit = [&](TObject*) { ++exits; };
    b->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(b->CursorOnButton());
    EXPECT_EQ(b->HotTrackStep(), 8);
    b->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(b->CursorOnButton());
    EXPECT_EQ(b->HotTrackStep(), 0);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(exits, 1);

    b->SetEnabled(false);
    b->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(b->CursorOnButton());
    EXPECT_EQ(b->HotTrackStep(), 0);
    b->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(exits, 1);
}

TEST_F(LbButtonOnForm, SlowDeceaseFadesTheHotLevelInEightTicks) {
    Form->Show();
    TLbButton* b = Form->Other;
    b->SetSlowDecease(true);
    b->Perform(CM_MOUSEENTER);
    b->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(b->HotTrackStep(), 8);
    EXPECT_TRUE(b->TimerActive(TLbButton::FadeTimerId));
    for (int expected = 7; expected >= 0; --expected) {
        b->Perform(WM_TIMER, TLbButton::FadeTimerId);
        EXPECT_EQ(b->HotTrackStep(), expected);
    }
    EXPECT_FALSE(b->TimerActive(TLbButton::FadeTimerId));

    // Coming back during a fade keeps the button fully hot.
    b->Perform(CM_MOUSEENTER);
    b->Perform(CM_MOUSELEAVE);
    b->Perform(WM_TIMER, TLbButton::FadeTimerId);
    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(b->HotTrackStep(), 8);
    EXPECT_FALSE(b->TimerActive(TLbButton::FadeTimerId));

    // Switching the fade off stops it and drops the hot level.
    b->Perform(CM_MOUSELEAVE);
    ASSERT_TRUE(b->TimerActive(TLbButton::FadeTimerId));
    b->SetSlowDecease(false);
    EXPECT_EQ(b->HotTrackStep(), 0);
    EXPECT_FALSE(b->TimerActive(TLbButton::FadeTimerId));
}

// What the paint adds around the drawing routine: the focus rectangle (never on bsShape) and
// the black frame of a focused bsOld button.
TEST(LbButtonPaint, FocusRectangleAndOldStyleFrame) {
    std::unique_ptr<TForm> form(Create<TForm>(nullptr));
    form->SetBounds(0, 0, 300, 100);
    TLbButton* b = Create<TLbButton>(form.get(), form.get());
    TLbButton* other = Create<TLbButton>(form.get(), form.get());
    b->SetBounds(10, 10, 110, 28);
    other->SetBounds(150, 10, 110, 28);
    form->Show();
    QApplication::processEvents();
    const int W = 110, H = 28;
    for (TLbButtonStyle style : {bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken}) {
        SCOPED_TRACE(int(style));
        b->SetStyle(style);
        other->SetFocus();
        QApplication::processEvents();
        const QImage plain = b->grab().toImage();
        b->SetFocus();
        QApplication::processEvents();
        ASSERT_TRUE(b->Focused());
        const QImage focused = b->grab().toImage();
        // Which pixels changed: on the focus rectangle (4, 4, W - 4, H - 4), elsewhere.
        int onRect = 0, elsewhere = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (plain.pixel(x, y) == focused.pixel(x, y)) continue;
                const bool edge =
                    (x == 4 || x == W - 5) ? (y >= 4 && y < H - 4) : ((y == 4 || y == H - 5) && x >= 4 && x < W - 4);
                (edge ? onRect : elsewhere)++;
            }
        if (style == bsShape) {
            EXPECT_EQ(onRect + elsewhere, 0);
        } else {
            EXPECT_GT(onRect, 20);
        }
        if (style == bsOld) {
            EXPECT_EQ(focused.pixelColor(0, 0), QColor(Qt::black));
            EXPECT_EQ(focused.pixelColor(W / 2, H - 1), QColor(Qt::black));
            EXPECT_EQ(focused.pixelColor(W - 1, H / 2), QColor(Qt::black));
        } else if (style != bsShape) {
            EXPECT_EQ(elsewhere, 0);
        }
    }
}

// A pressed bsOld button with the focus is drawn one pixel in, inside its black frame, with its
// light edge in the shadow colour.
TEST(LbButtonPaint, PressedFocusedOldStyleDrawsItsLightEdgeInTheShadowColour) {
    std::unique_ptr<TForm> form(Create<TForm>(nullptr));
    form->SetBounds(0, 0, 300, 100);
    TLbButton* b = Create<TLbButton>(form.get(), form.get());
    b->SetBounds(10, 10, 110, 28);
    b->SetStyle(bsOld);
    b->SetLightColor(TColor(0x00FF00));
    b->SetShadowColor(TColor(0x0000C0));
    form->Show();
    QApplication::processEvents();
    const int W = 110, H = 28;
    const QColor light(0, 0xFF, 0), shadow(0xC0, 0, 0), dark = ToQColor(cl3DDkShadow);

    b->SetFocus();
    QApplication::processEvents();
    ASSERT_TRUE(b->Focused());
    const QImage up = b->grab().toImage();
    // Raised: the light edge at the top and left of the inner picture, dark at its right.
    EXPECT_EQ(up.pixelColor(1, H / 2), light);
    EXPECT_EQ(up.pixelColor(W / 2, 1), light);
    EXPECT_EQ(up.pixelColor(W - 2, H / 2), dark);

    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    ASSERT_TRUE(b->IsDown());
    QApplication::processEvents();
    const QImage down = b->grab().toImage();
    EXPECT_EQ(down.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(down.pixelColor(1, H / 2), dark);
    EXPECT_EQ(down.pixelColor(W - 2, H / 2), shadow);
    EXPECT_EQ(down.pixelColor(W / 2, H - 2), shadow);
    b->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 5));
}

// With UseHotTrackFont the caption takes the hot-track font while the mouse is over the button;
// without it the font stays (and with no hot-track colour the picture does not change at all).
TEST(LbButtonPaint, HotTrackFontIsUsedOnlyWhenSwitchedOn) {
    std::unique_ptr<TForm> form(Create<TForm>(nullptr));
    form->SetBounds(0, 0, 300, 100);
    TLbButton* b = Create<TLbButton>(form.get(), form.get());
    b->SetBounds(10, 10, 110, 28);
    b->SetCaption("Hot font");
    TFont hot;
    hot.Assign(b->Font());
    hot.SetStyle(TFontStyles{fsBold, fsUnderline});
    b->SetHotTrackFont(&hot);
    // The focus, which would make the button hot as well, stays on another control.
    TLbButton* other = Create<TLbButton>(form.get(), form.get());
    other->SetBounds(150, 10, 110, 28);
    form->Show();
    QApplication::processEvents();
    other->SetFocus();
    QApplication::processEvents();
    ASSERT_FALSE(b->Focused());

    const QImage plain = b->grab().toImage();
    b->Perform(CM_MOUSEENTER);
    ASSERT_TRUE(b->CursorOnButton());
    EXPECT_TRUE(b->grab().toImage() == plain);
    b->SetUseHotTrackFont(true);
    EXPECT_FALSE(b->grab().toImage() == plain);
    b->Perform(CM_MOUSELEAVE);
    EXPECT_TRUE(b->grab().toImage() == plain);
}

// bsModern, bsShape and bsQuicken let the parent show through the pixels they leave undrawn;
// the other styles cover their whole rectangle.
TEST(LbButtonPaint, SeeThroughStylesShowTheParentInTheirUndrawnPixels) {
    std::unique_ptr<TForm> form(Create<TForm>(nullptr));
    form->SetBounds(0, 0, 300, 100);
    form->SetColor(TColor(15595512));
    TLbButton* b = Create<TLbButton>(form.get(), form.get());
    b->SetBounds(10, 10, 110, 28);
    TLbButton* other = Create<TLbButton>(form.get(), form.get());
    other->SetBounds(150, 10, 110, 28);
    form->Show();
    QApplication::processEvents();
    other->SetFocus();
    QApplication::processEvents();
    const QColor parent = ToQColor(TColor(15595512));
    struct {
        TLbButtonStyle Style;
        int X, Y; // a pixel the style leaves undrawn, or the face of an opaque one
        bool ShowsParent;
    } cases[] = {
        {bsShape, 55, 14, true},   {bsModern, 0, 0, true},     {bsQuicken, 0, 0, true},
        {bsNormal, 55, 14, false}, {bsEncarta, 55, 14, false}, {bsOld, 55, 14, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Style));
        b->SetStyle(c.Style);
        QApplication::processEvents();
        const QImage shot = form->grab(QRect(b->Left(), b->Top(), b->Width(), b->Height())).toImage();
        if (c.ShowsParent)
            EXPECT_EQ(shot.pixelColor(c.X, c.Y), parent);
        else
            EXPECT_EQ(shot.pixelColor(c.X, c.Y), ToQColor(clBtnFace));
    }
}
