// The image list: cutting a strip into cells, masks, drawing enabled and disabled.
#include "platform/gui/ImgList.h"

#include <gtest/gtest.h>

namespace {

// A strip of three 4 x 4 cells: red, green, blue squares on a fuchsia background.
std::unique_ptr<TBitmap> Strip() {
    auto B = std::make_unique<TBitmap>(12, 4);
    TCanvas* C = B->Canvas();
    C->Brush()->SetColor(clFuchsia);
    C->FillRect(Rect(0, 0, 12, 4));
    const TColor Colors[] = {clRed, clLime, clBlue};
    for (int I = 0; I < 3; ++I) {
        C->Brush()->SetColor(Colors[I]);
        C->FillRect(Rect(I * 4 + 1, 1, I * 4 + 3, 3));
    }
    return B;
}

std::unique_ptr<TBitmap> Target() {
    auto T = std::make_unique<TBitmap>(20, 10);
    T->Canvas()->Brush()->SetColor(clYellow);
    T->Canvas()->FillRect(Rect(0, 0, 20, 10));
    return T;
}

TEST(PictureImageListTest, AddMaskedCutsTheStripAndDrawsTransparently) {
    TImageList L(nullptr, 4, 4);
    EXPECT_EQ(L.AddMasked(Strip().get(), clDefault), 0); // the bottom-left pixel is the key
    EXPECT_EQ(L.Count(), 3);
    EXPECT_EQ(L.AddMasked(Strip().get(), clFuchsia), 3);
    EXPECT_EQ(L.Count(), 6);

    auto T = Target();
    L.Draw(T->Canvas(), 5, 3, 1);
    EXPECT_EQ(T->Canvas()->Pixels(5, 3), clYellow); // the key colour is not drawn
    EXPECT_EQ(T->Canvas()->Pixels(6, 4), clLime);
    EXPECT_EQ(T->Canvas()->Pixels(7, 5), clLime);
    EXPECT_EQ(T->Canvas()->Pixels(8, 6), clYellow);

    L.Draw(T->Canvas(), 0, 0, 6); // outside the list: nothing
    L.Draw(T->Canvas(), 0, 0, -1);
    EXPECT_EQ(T->Canvas()->Pixels(0, 0), clYellow);
}

TEST(PictureImageListTest, AddWithAMaskBitmapHidesTheWhiteMaskPixels) {
    TImageList L(nullptr, 4, 4);
    TBitmap Mask(12, 4);
    Mask.Canvas()->Brush()->SetColor(clWhite);
    Mask.Canvas()->FillRect(Rect(0, 0, 12, 4));
    Mask.Canvas()->Brush()->SetColor(clBlack);
    Mask.Canvas()->FillRect(Rect(0, 0, 2, 4)); // only the left half of cell 0 shows
    EXPECT_EQ(L.Add(Strip().get(), &Mask), 0);
    auto T = Target();
    L.Draw(T->Canvas(), 0, 0, 0);
    EXPECT_EQ(T->Canvas()->Pixels(0, 0), clFuchsia);
    EXPECT_EQ(T->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(T->Canvas()->Pixels(2, 1), clYellow);

    TImageList Opaque(nullptr, 4, 4);
    Opaque.Add(Strip().get(), nullptr);
    Opaque.Draw(T->Canvas(), 10, 0, 2);
    EXPECT_EQ(T->Canvas()->Pixels(10, 0), clFuchsia);
}

TEST(PictureImageListTest, DisabledDrawIsGreyAndGetBitmapCopies) {
    TImageList L(nullptr, 4, 4);
    L.AddMasked(Strip().get(), clFuchsia);
    auto T = Target();
    L.Draw(T->Canvas(), 0, 0, 0, false);
    const TColor P = T->Canvas()->Pixels(1, 1);
    EXPECT_EQ(GetRValue(P), GetGValue(P));
    EXPECT_EQ(GetGValue(P), GetBValue(P));
    EXPECT_EQ(T->Canvas()->Pixels(0, 0), clYellow);

    TBitmap Out;
    EXPECT_TRUE(L.GetBitmap(2, &Out));
    EXPECT_EQ(Out.Width(), 4);
    EXPECT_EQ(Out.Canvas()->Pixels(1, 1), clBlue);
    EXPECT_EQ(Out.Canvas()->Pixels(0, 0), ColorToRGB(clBtnFace));
    EXPECT_FALSE(L.GetBitmap(3, &Out));

    int Changes = 0;
    L.OnChange = [&](TObject*) { ++Changes; };
    L.SetWidth(8); // a new size empties the list
    EXPECT_EQ(L.Count(), 0);
    EXPECT_EQ(Changes, 1);
}

} // namespace
