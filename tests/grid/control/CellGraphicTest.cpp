// The cell graphic record: what each setter turns it into, what it owns and frees, how a copy
// treats its objects, and how a picture is fitted into a cell.
#include "grid/control/CellGraphic.h"

#include "grid/base/ExtObj.h"
#include "grid/control/ExtGrid.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

namespace {

// An object that counts how many of its kind are alive.
class TTracked : public TBitmap {
public:
    TTracked() { ++Alive; }
    ~TTracked() override { --Alive; }
    static inline int Alive = 0;
};

TEST(CellGraphicRecord, StartsEmptyAndOfNoKind) {
    TCellGraphic G;
    EXPECT_EQ(G.CellType(), ctNone);
    EXPECT_FALSE(G.CellCreated());
    EXPECT_EQ(G.CellBitmap(), nullptr);
    EXPECT_EQ(G.CellIcon(), nullptr);
    EXPECT_EQ(G.CellIndex(), 0);
    EXPECT_TRUE(G.CellText().isEmpty());
}

struct AngleCase {
    int In;
    int Stored;
};

void PrintTo(const AngleCase& C, std::ostream* Os) { *Os << C.In; }

class CellGraphicAngle : public ::testing::TestWithParam<AngleCase> {};

TEST_P(CellGraphicAngle, IsBroughtIntoZeroTo360) {
    TCellGraphic G;
    G.SetAngle(int16_t(GetParam().In));
    EXPECT_EQ(G.CellType(), ctRotated);
    EXPECT_EQ(G.CellAngle(), GetParam().Stored);
}

INSTANTIATE_TEST_SUITE_P(Angles, CellGraphicAngle,
                         ::testing::Values(AngleCase{-90, 270}, AngleCase{720, 360}, AngleCase{360, 360},
                                           AngleCase{0, 0}, AngleCase{45, 45}, AngleCase{-720, 0}),
                         [](const auto& Info) {
                             const int V = Info.param.In;
                             return (V < 0 ? "minus" + std::to_string(-V) : std::to_string(V));
                         });

TEST(CellGraphicRecord, SettersFillTheSlotsOfTheirKind) {
    TCellGraphic G;
    G.SetButton(40, 18, "Go", haRight, vaCenter);
    EXPECT_EQ(G.CellType(), ctButton);
    EXPECT_EQ(G.ButtonWidth(), 40);
    EXPECT_EQ(G.ButtonHeight(), 18);
    EXPECT_EQ(G.CellIndex(), (18 << 16) | 40);
    EXPECT_EQ(G.CellText(), "Go");
    EXPECT_EQ(G.CellHAlign(), haRight);
    EXPECT_EQ(G.CellVAlign(), vaCenter);

    G.SetCheckBox(true, true, true, haLeft, vaTop);
    EXPECT_EQ(G.CellType(), ctDataCheckBox);
    EXPECT_TRUE(G.CellBoolean());
    EXPECT_TRUE(G.CellTransparent());
    G.SetCheckBox(false, false, false, haLeft, vaTop);
    EXPECT_EQ(G.CellType(), ctCheckBox);

    G.SetCheckBox(cbGrayed, false, haCenter, vaBottom);
    EXPECT_EQ(G.CellType(), ctTriStateCheckBox);
    EXPECT_EQ(G.CellCheckBoxState(), cbGrayed);
    EXPECT_FALSE(G.CellBoolean());

    TPicture Pic;
    G.SetPicture(&Pic, true, ShrinkWithAspectRatio, 3, haFull, vaFull);
    EXPECT_EQ(G.CellType(), ctPicture);
    EXPECT_EQ(G.CellBitmap(), &Pic);
    EXPECT_EQ(G.CellAngle(), int(ShrinkWithAspectRatio));
    EXPECT_EQ(G.CellIndex(), 3);
}

TEST(CellGraphicOwnership, ACallersBitmapOutlivesTheRecord) {
    TTracked::Alive = 0;
    auto Bmp = std::make_unique<TTracked>();
    {
        TCellGraphic G;
        G.SetBitmap(Bmp.get(), false, haLeft, vaTop);
        G.SetCellCreated(true); // the flag alone never makes the record own a caller's object
    }
    EXPECT_EQ(TTracked::Alive, 1);
    Bmp.reset();
    EXPECT_EQ(TTracked::Alive, 0);
}

TEST(CellGraphicOwnership, WhatTheRecordMadeIsFreedWithIt) {
    TTracked::Alive = 0;
    {
        TCellGraphic G;
        G.SetCellBitmapOwned(std::make_unique<TTracked>());
        G.SetCellType(ctBitmap);
        EXPECT_TRUE(G.CellCreated());
        EXPECT_EQ(TTracked::Alive, 1);
    }
    EXPECT_EQ(TTracked::Alive, 0);
}

TEST(CellGraphicOwnership, AnOwnedObjectIsFreedWhenTheSlotIsOverwritten) {
    TTracked::Alive = 0;
    TTracked Caller;
    TCellGraphic G;
    G.SetCellBitmapOwned(std::make_unique<TTracked>());
    EXPECT_EQ(TTracked::Alive, 2);
    G.SetBitmap(&Caller, false, haLeft, vaTop);
    EXPECT_EQ(TTracked::Alive, 1) << "the record's own bitmap is gone, the caller's stays";
    G.SetCellBitmapColor(clRed);
    EXPECT_EQ(G.CellBitmap(), nullptr);
    EXPECT_EQ(G.CellBitmapColor(), clRed);
}

TEST(CellGraphicOwnership, HandingTheSlotItsOwnObjectKeepsItAlive) {
    TCellGraphic G;
    G.SetCellBitmapOwned(std::make_unique<TBitmap>(4, 4));
    auto* Own = G.CellBitmapAs<TBitmap>();
    G.SetBitmap(Own, true, haLeft, vaTop);
    ASSERT_EQ(G.CellBitmap(), Own);
    EXPECT_TRUE(G.BitmapSlot().Owned());
    EXPECT_EQ(Own->Width(), 4); // still a live object (ASan reports a use after free here)
}

TEST(CellGraphicOwnership, MultiImageAlwaysOwnsItsListAndReportsChanges) {
    int Changed = 0;
    TCellGraphic G;
    G.SetMultiImage(3, 4, 0, haLeft, vaTop, [&](TObject*, int C, int R) {
        EXPECT_EQ(C, 3);
        EXPECT_EQ(R, 4);
        ++Changed;
    });
    EXPECT_EQ(G.CellType(), ctImages);
    EXPECT_TRUE(G.CellBoolean());
    EXPECT_TRUE(G.BitmapSlot().Owned());
    auto* L = G.CellBitmapAs<TIntList>();
    ASSERT_NE(L, nullptr);
    L->Add(2);
    EXPECT_EQ(Changed, 1);
}

TEST(CellGraphicOwnership, AssignCopiesValuesButNeverObjects) {
    TTracked::Alive = 0;
    auto Source = std::make_unique<TCellGraphic>();
    Source->SetCellBitmapOwned(std::make_unique<TTracked>());
    Source->SetCellType(ctBitmap);
    Source->SetCellText("caption");
    Source->SetCellIndex(7);
    Source->SetCellVar(QVariant(true));
    Source->SetCellCheckBoxState(cbChecked);
    Source->SetHasBalloon(true);

    TTracked Mine;
    auto Copy = std::make_unique<TCellGraphic>();
    Copy->SetBitmap(&Mine, false, haLeft, vaTop);
    Copy->Assign(Source.get());
    EXPECT_EQ(Copy->CellType(), ctBitmap);
    EXPECT_EQ(Copy->CellText(), "caption");
    EXPECT_EQ(Copy->CellIndex(), 7);
    EXPECT_TRUE(Copy->CellCreated()) << "the flag is copied";
    EXPECT_EQ(Copy->CellBitmap(), &Mine) << "the copy keeps its own reference";
    EXPECT_FALSE(Copy->BitmapSlot().Owned()) << "and does not take ownership of it";
    EXPECT_FALSE(Copy->CellVar().isValid());
    EXPECT_EQ(Copy->CellCheckBoxState(), cbUnchecked);
    EXPECT_FALSE(Copy->HasBalloon()) << "a balloon flag without its object is not copied";

    Copy.reset(); // freeing the copy frees nothing of the source's nor the caller's
    EXPECT_EQ(TTracked::Alive, 2);
    Source.reset();
    EXPECT_EQ(TTracked::Alive, 1);
}

TEST(CellGraphicOwnership, TheCellStoreFreesTheRecordWithItsCell) {
    TTracked::Alive = 0;
    {
        TExtStringGrid Grid(nullptr);
        Grid.SetColCount(3);
        Grid.SetRowCount(3);
        auto* G = new TCellGraphic;
        G->SetCellBitmapOwned(std::make_unique<TTracked>());
        Grid.SetGraphicObjectEx(1, 1, G);
        EXPECT_EQ(Grid.GetCellType(1, 1), ctNone);
        G->SetCellType(ctBitmap);
        EXPECT_EQ(Grid.GetCellType(1, 1), ctBitmap);
    }
    EXPECT_EQ(TTracked::Alive, 0);
}

struct PictureCase {
    const char* Name;
    int PicW, PicH;
    TStretchMode Mode;
    int Padding;
    int CellW, CellH;
    TPoint Expected;
};

void PrintTo(const PictureCase& C, std::ostream* Os) { *Os << C.Name; }

class CellGraphicPictureSize : public ::testing::TestWithParam<PictureCase> {};

TEST_P(CellGraphicPictureSize, FitsThePictureByItsStretchMode) {
    const PictureCase& C = GetParam();
    TBitmap Bmp(C.PicW, C.PicH);
    TPicture Pic;
    Pic.SetGraphic(&Bmp);
    TCellGraphic G;
    G.SetPicture(&Pic, false, C.Mode, C.Padding, haLeft, vaTop);
    EXPECT_EQ(G.GetPictureSize(C.CellW, C.CellH, true), C.Expected);
    EXPECT_EQ(G.GetPictureSize(C.CellW, C.CellH, false), C.Expected) << "the text flag changes nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, CellGraphicPictureSize,
    ::testing::Values(PictureCase{"StretchAspectWide", 200, 100, StretchWithAspectRatio, 0, 100, 100, {100, 50}},
                      PictureCase{"ShrinkTooBig", 200, 100, Shrink, 0, 100, 100, {100, 100}},
                      PictureCase{"NoStretch", 200, 100, noStretch, 0, 100, 100, {200, 100}},
                      PictureCase{"StretchFillsLessPadding", 10, 10, Stretch, 4, 50, 30, {46, 26}},
                      PictureCase{"ShrinkFits", 20, 10, Shrink, 0, 100, 100, {20, 10}},
                      PictureCase{"ShrinkAspectFits", 20, 10, ShrinkWithAspectRatio, 0, 100, 100, {20, 10}},
                      PictureCase{"ShrinkAspectTall", 50, 200, ShrinkWithAspectRatio, 0, 100, 100, {25, 100}},
                      PictureCase{"StretchAspectGrowsSmall", 10, 20, StretchWithAspectRatio, 0, 100, 100, {50, 100}},
                      // 25 x 0.5 = 12.5 rounds to the even 12
                      PictureCase{"HalfRoundsToEven", 25, 100, StretchWithAspectRatio, 0, 60, 50, {12, 50}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(CellGraphicRecord, PictureSizeOfAnotherKindOrAnEmptyPictureIsZero) {
    TCellGraphic G;
    G.SetButton(10, 10, "", haLeft, vaTop);
    EXPECT_EQ(G.GetPictureSize(100, 100, false), Point(0, 0));
    TPicture Empty;
    G.SetPicture(&Empty, false, StretchWithAspectRatio, 0, haLeft, vaTop);
    EXPECT_EQ(G.GetPictureSize(100, 100, false), Point(0, 100)) << "a side of 0 scales by 1";
}

} // namespace
