// Writes a sheet of the drop-down edit in its looks, closed and with its popup open, as a PNG
// beside the build for a person to look at, and probes a few of its pixels.
#include "platform/gui/Themes.h"
#include "tests/grid/DropDownFixture.h"

#include <QPainter>

#ifndef DROPDOWN_SHEET_PATH
#define DROPDOWN_SHEET_PATH "dropdown_sheet.png"
#endif

namespace {
struct TLook {
    QString Name;
    std::function<void(TExtCustomDropDown*)> Setup;
    bool Themes = true;
};

TColor At(const QImage& I, int X, int Y) {
    QRgb P = I.pixel(X, Y);
    return RGB(qRed(P), qGreen(P), qBlue(P));
}
} // namespace

TEST_F(DropDownTest, SheetOfLooksClosedAndOpen) {
    const std::vector<TLook> Looks = {
        {"classic", [](TExtCustomDropDown* E) { E->SetText("Classic look"); }, false},
        {"themed", [](TExtCustomDropDown* E) { E->SetText("Themed look"); }},
        {"custom colours",
         [](TExtCustomDropDown* E) {
             E->SetText("Custom colours");
             E->Button()->ButtonColor = 0xF0D0B0;
             E->Button()->ButtonColorHot = 0xF8E0C8;
             E->Button()->ButtonTextColor = 0x703000;
             E->SetBorderColor(0xA06030);
         }},
        {"money with affixes",
         [](TExtCustomDropDown* E) {
             E->SetEditType(etMoney);
             E->SetPrecision(2);
             E->SetPrefix("EUR ");
             E->SetSuffix(" net");
             E->SetText("1234567.5");
         }},
        {"disabled",
         [](TExtCustomDropDown* E) {
             E->SetText("Disabled");
             E->SetEnabled(false);
         }},
        {"read-only",
         [](TExtCustomDropDown* E) {
             E->SetText("Read-only");
             E->SetReadOnly(true);
         },
         false},
    };
    const int RowH = 34, LabelW = 140, CtlW = 200;
    QImage Sheet(LabelW + CtlW + 40 + 260, 40 + int(Looks.size()) * RowH + 230, QImage::Format_RGB32);
    Sheet.fill(ToQColor(clBtnFace));
    QPainter P(&Sheet);
    P.setPen(Qt::black);
    P.drawText(8, 20, "closed");
    int Y = 36;
    QImage ClassicShot;
    for (const TLook& L : Looks) {
        SetThemesActive(L.Themes);
        std::unique_ptr<TExtCustomDropDown> E(Create<TExtCustomDropDown>(Host.get(), Host.get()));
        E->SetBounds(60, 50, CtlW, 21);
        L.Setup(E.get());
        Host->Other->SetFocus();
        QApplication::processEvents();
        QImage Shot = E->grab().toImage();
        if (L.Name == "classic") ClassicShot = Shot;
        P.drawText(8, Y + 15, L.Name);
        P.drawImage(LabelW, Y, Shot);
        Y += RowH;
    }
    SetThemesActive(true);

    // Open: a header with a caption and two buttons, a footer with OK and Cancel, a memo.
    D->SetText("Open popup");
    D->SetComponentStyle(tsOffice2007Luna);
    D->DropDownHeader()->SetCaption("<b>Pick</b> a value");
    D->DropDownHeader()->Buttons()->Add()->SetCaption("Clear");
    D->DropDownHeader()->Buttons()->Add()->SetCaption("Today");
    D->DropDownFooter()->Buttons()->Add()->SetCaption("OK");
    D->DropDownFooter()->Buttons()->Items(0)->SetModalResult(mrOk);
    D->DropDownFooter()->Buttons()->Add()->SetCaption("Cancel");
    D->DropDownFooter()->Buttons()->Items(1)->SetModalResult(mrCancel);
    D->SetDropDownWidth(240);
    D->SetDropDownHeight(150);
    D->ShowDropDown();
    ASSERT_TRUE(D->DroppedDown());
    QApplication::processEvents();
    QImage Closed = D->grab().toImage();
    QImage Popup = D->DropDownForm()->grab().toImage();
    const int OpenX = LabelW + CtlW + 40;
    P.drawText(OpenX, 20, "open");
    P.drawImage(OpenX, 36, Closed);
    P.drawImage(OpenX, 36 + Closed.height() - 1, Popup);
    P.end();
    ASSERT_TRUE(Sheet.save(DROPDOWN_SHEET_PATH));

    // The classic button's arrow, the popup's gradient start and end, the header and footer.
    ASSERT_FALSE(ClassicShot.isNull());
    TDropDownEditButton* B = D->Button();
    EXPECT_EQ(At(ClassicShot, B->Left() + 8, B->Top() + 8), clBlack);
    const int Mid = Popup.height() / 2;
    EXPECT_EQ(At(Popup, 1, Mid), D->DropDownColor());
    EXPECT_EQ(At(Popup, Popup.width() - 3, Mid), D->DropDownColorTo());
    // The header's gradient runs from its Color at the top towards ColorTo.
    const TColor HeaderTop = At(Popup, Popup.width() / 3, 2);
    EXPECT_LE(GetGValue(HeaderTop), GetGValue(D->DropDownHeader()->Color()));
    EXPECT_GT(GetGValue(HeaderTop), GetGValue(D->DropDownHeader()->ColorTo()));
    // The style paints no popup frame (clNone): header and footer sit inside the border width.
    EXPECT_EQ(D->DropDownBorderColor(), clNone);
    TExtFooter* F = D->DropDownForm()->Footer();
    ASSERT_NE(F, nullptr);
    EXPECT_EQ(F->Top() + F->Height(), Popup.height() - 1);
    EXPECT_EQ(D->DropDownForm()->Header()->Top(), 1);
    // The caption is drawn on the header's own background, not on a box of its own.
    const TColor BesideCaption = At(Popup, F->ButtonAt(0)->Left() - 40, D->DropDownForm()->Header()->Height() - 3);
    EXPECT_NE(BesideCaption, clWhite);
}
