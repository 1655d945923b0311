// The colour picker's panels: the palette's layout, keys and selection; the honeycomb's cells,
// hit test and hint; the spectrum's swatches and picking. Pixels are probed on grabbed pictures.
#include "EditorsFixture.h"
#include "grid/editors/ExtColorSelectors.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Snapshot.h"

#include <QImage>

#include <string>
#include <vector>

namespace {

QImage Grab(TControl* C) { return C->grab().toImage().convertToFormat(QImage::Format_RGB32); }

TColor Pixel(const QImage& I, int X, int Y) {
    QColor P = I.pixelColor(X, Y);
    return static_cast<TColor>(P.red() | (P.green() << 8) | (P.blue() << 16));
}

class ColorPanels : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        Palette = Create<TCustomColorSelector>(Host.get(), Host.get());
        Palette->LoadPalette();
        Palette->OnItemSelect = [this](TObject*) { Selected.push_back(Palette->ItemIndex()); };
    }
    TCustomColorSelector* Palette = nullptr;
    std::vector<int> Selected;
};

TEST_F(ColorPanels, PaletteLaysOutSixRowsWithAGapOnlyUnderTheBaseColours) {
    EXPECT_EQ(Palette->Width(), 165);
    EXPECT_EQ(Palette->Height(), 84);
    EXPECT_EQ(Palette->GetItemRect(0), Rect(4, 4, 16, 16));
    EXPECT_EQ(Palette->GetItemRect(9), Rect(148, 4, 160, 16));
    EXPECT_EQ(Palette->GetItemRect(10), Rect(4, 20, 16, 32)); // the gap below the base row
    EXPECT_EQ(Palette->GetItemRect(20), Rect(4, 32, 16, 44)); // strip rows touch
    EXPECT_EQ(Palette->GetItemRect(59), Rect(148, 68, 160, 80));
    EXPECT_EQ(Palette->GetItemRect(60), Rect(-1, -1, -1, -1));
    EXPECT_EQ(Palette->ItemAtPos(17, 5), -1); // between two boxes
    EXPECT_EQ(Palette->ItemAtPos(20, 21), 11);
}

TEST_F(ColorPanels, ALastStandAloneBoxAddsNoGapBelowTheLastRow) {
    Palette->Items()->Clear();
    for (int I = 0; I < 4; ++I) Palette->Items()->Add()->SetColor(0x00FF00);
    Palette->SetColumns(2); // arranges again
    EXPECT_EQ(Palette->GetItemRect(2), Rect(4, 20, 16, 32));
    EXPECT_EQ(Palette->Height(), 20 + 12 + 4);
}

struct KeyCase {
    const char* Name;
    int Start;
    Word Key;
    bool EditorEnabled, DroppedDown;
    int Want;
};
void PrintTo(const KeyCase& C, std::ostream* Os) { *Os << C.Name; }

class PaletteKeys : public ColorPanels, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(PaletteKeys, MoveTheSelection) {
    const KeyCase& C = GetParam();
    if (C.Start >= 0) Palette->SetItemIndex(C.Start);
    Palette->HandleKey(C.Key, C.EditorEnabled, C.DroppedDown);
    EXPECT_EQ(Palette->ItemIndex(), C.Want);
}

INSTANTIATE_TEST_SUITE_P(Keys, PaletteKeys,
                         ::testing::Values(KeyCase{"home_selects_first", 25, VK_HOME, false, true, 0},
                                           KeyCase{"page_down_selects_last", 3, VK_NEXT, false, true, 59},
                                           KeyCase{"up_closed_is_previous_box", 25, VK_UP, true, false, 24},
                                           KeyCase{"up_dropped_is_a_row_up", 25, VK_UP, true, true, 15},
                                           KeyCase{"up_dropped_from_top_row_stays", 5, VK_UP, true, true, 5},
                                           KeyCase{"down_dropped_from_none_is_first", -1, VK_DOWN, true, true, 0},
                                           KeyCase{"down_dropped_past_the_end_stays", 55, VK_DOWN, true, true, 55},
                                           KeyCase{"left_in_a_closed_editable_editor_does_nothing", 25, VK_LEFT, true,
                                                   false, 25},
                                           KeyCase{"left_in_a_read_only_editor_moves", 25, VK_LEFT, false, false, 24},
                                           KeyCase{"right_dropped_moves", 25, VK_RIGHT, true, true, 26},
                                           KeyCase{"previous_from_none_stays", -1, VK_LEFT, false, true, -1}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(ColorPanels, SelectedColorPicksTheFirstBoxOfThatColourOrNone) {
    Palette->SetSelectedColor(0x7F7F7F); // both box 1 of row 2 and box 0 of row 6
    EXPECT_EQ(Palette->ItemIndex(), 11);
    EXPECT_EQ(Selected, std::vector<int>{11});
    Palette->SetSelectedColor(0x123456);
    EXPECT_EQ(Palette->ItemIndex(), -1);
    EXPECT_EQ(Selected, std::vector<int>{11}); // no event for a colour no box has
    Palette->SetSelectedColor(clNone);
    EXPECT_EQ(Palette->ItemIndex(), -1);
}

TEST_F(ColorPanels, SelectedColorSkipsADisabledBoxAndDropsTheOldSelection) {
    Palette->SetItemIndex(4);
    Palette->Items()->Items(11)->FEnabled = false;
    Palette->SetSelectedColor(0x7F7F7F); // box 11 is disabled, box 50 has the same colour
    EXPECT_EQ(Palette->ItemIndex(), 50);
    Palette->Items()->Items(2)->FEnabled = false;
    Palette->SetSelectedColor(0xE1ECEE); // only box 2 has it
    EXPECT_EQ(Palette->ItemIndex(), -1);
    EXPECT_EQ(Palette->SelectedColor(), 0xE1ECEE);
    EXPECT_EQ(Selected, (std::vector<int>{4, 50}));
}

TEST_F(ColorPanels, DisabledOrMissingBoxesAreNeverChosen) {
    Palette->Items()->Items(3)->FEnabled = false;
    Palette->SetItemIndex(3);
    Palette->SetItemIndex(60);
    EXPECT_EQ(Palette->ItemIndex(), -1);
    EXPECT_TRUE(Selected.empty());
    EditorsTest::Click(Palette, 5 + 3 * 16, 5);
    EXPECT_EQ(Palette->ItemIndex(), -1);
    Palette->SetItemHot(3);
    EXPECT_EQ(Palette->ItemHot(), -1);
    // Choosing the same box again still reports it.
    Palette->SetItemIndex(4);
    Palette->SetItemIndex(4);
    EXPECT_EQ(Selected, (std::vector<int>{4, 4}));
}

TEST_F(ColorPanels, BoxesPaintTheirColourStripLinesAndSelectionFrames) {
    ShowHost();
    Palette->SetItemIndex(0);
    Palette->SetItemHot(1);
    QImage I = Grab(Palette);
    EXPECT_EQ(Pixel(I, 10, 10), 0xFFFFFF); // box 0's colour inside its frames
    EXPECT_EQ(Pixel(I, 4, 10), 0x0000FF); // selected: outer frame
    EXPECT_EQ(Pixel(I, 5, 10), 0x94E2FF); // selected: inner frame
    EXPECT_EQ(Pixel(I, 20, 10), 0x3694F2); // hot: outer frame
    EXPECT_EQ(Pixel(I, 36, 4), 0xC5C5C5); // a plain stand-alone box: top line
    EXPECT_EQ(Pixel(I, 36 + 5, 32), 0x97BDC4); // a middle box has no top line
    EXPECT_EQ(Pixel(I, 36, 40), 0xC5C5C5); // but its left line
    EXPECT_EQ(Pixel(I, 36 + 5, 79), 0xC5C5C5); // the strip's bottom line
    SaveControlPng(Palette, QStringLiteral(EDITORS_SHEET_DIR "/color_palette.png"));
}

// ---- honeycomb ---------------------------------------------------------------------------------------

TEST_F(ColorPanels, CubeCellsFormAHexagonOfRowsWithTheirColours) {
    auto* Cube = Create<TExtColorCubePanel>(Host.get(), Host.get());
    EXPECT_EQ(Cube->Width(), 182);
    EXPECT_EQ(Cube->Height(), 160);
    struct Probe {
        int Index, X, Y;
        TColor Color;
    };
    for (const Probe& P :
         {Probe{1, 55, 20, 0x663300}, Probe{7, 127, 20, 0x660000}, Probe{58, 19, 80, 0x003300},
          Probe{64, 91, 80, 0xFFFFFF}, Probe{121, 55, 140, 0x003366}, Probe{127, 127, 140, 0x2100A5}}) {
        EXPECT_EQ(Cube->CubeCell(P.Index).Center, (TPoint{P.X, P.Y})) << P.Index;
        EXPECT_EQ(Cube->CubeCell(P.Index).Color, P.Color) << P.Index;
    }
}

// Neighbouring cells of the honeycomb touch: between the centres of two neighbours every pixel
// is of one of the two cells, never the panel's background showing through a seam.
TEST_F(ColorPanels, CubeCellsTouchTheirNeighboursWithoutSeams) {
    auto* Cube = Create<TExtColorCubePanel>(Host.get(), Host.get());
    const QImage I = Grab(Cube);
    SaveControlPng(Cube, QStringLiteral(EDITORS_SHEET_DIR "/color_cube.png"));
    int Pairs = 0;
    for (int A = 1; A <= 127; ++A)
        for (int B = A + 1; B <= 127; ++B) {
            const TPoint PA = Cube->CubeCell(A).Center, PB = Cube->CubeCell(B).Center;
            const int Dx = PB.X - PA.X, Dy = PB.Y - PA.Y;
            const bool Below = Dy == 10 && std::abs(Dx) == 6, Beside = Dy == 0 && Dx == 12;
            if (!Below && !Beside) continue;
            ++Pairs;
            const TColor CA = Cube->CubeCell(A).Color, CB = Cube->CubeCell(B).Color;
            // a band between the two centres, as wide as the edge they share
            for (int K = -2; K <= 2; ++K)
                for (int T = 0; T <= (Below ? 10 : 12); ++T) {
                    const int X = Below ? PA.X + Dx / 2 + K : PA.X + T, Y = Below ? PA.Y + T : PA.Y + K;
                    const TColor P = Pixel(I, X, Y);
                    ASSERT_TRUE(P == CA || P == CB) << "cells " << A << " and " << B << " at " << X << ", " << Y;
                }
        }
    EXPECT_EQ(Pairs, 342) << "every pair of neighbours of the 127 cells";
}

TEST_F(ColorPanels, CubeHitTestPrefersTheLowerNumberAndMissesCorners) {
    auto* Cube = Create<TExtColorCubePanel>(Host.get(), Host.get());
    EXPECT_EQ(Cube->CellAtPos(61, 20), 1); // 6 pixels from cells 1 and 2
    EXPECT_EQ(Cube->CellAtPos(61, 17), -1); // the right-upper corner of cell 1's hexagon
    EXPECT_EQ(Cube->CellAtPos(91, 80), 64);
    EXPECT_EQ(Cube->CellAtPos(0, 0), -1);
}

TEST_F(ColorPanels, CubeClickSelectsHintsAndAsksToHide) {
    auto* Cube = Create<TExtColorCubePanel>(Host.get(), Host.get());
    std::vector<std::string> Log;
    Cube->OnSelect = [&](TObject*) { Log.push_back("select"); };
    Cube->FOnShouldHide = [&](TObject*) { Log.push_back("hide"); };
    Cube->Perform(WM_MOUSEMOVE, 0, MakeLParam(55, 20));
    EXPECT_EQ(Cube->HotIndex(), 1);
    EXPECT_EQ(Cube->Hint(), "Red: 0,  Green: 51,  Blue: 102");
    Cube->Perform(WM_MOUSEMOVE, 0, MakeLParam(0, 0));
    EXPECT_EQ(Cube->Hint(), "");
    EXPECT_EQ(Cube->HotIndex(), 1); // keeps its frame
    EditorsTest::Click(Cube, 91, 80);
    EXPECT_EQ(Cube->SelectedIndex(), 64);
    EXPECT_EQ(Cube->SelectedColor(), 0xFFFFFF);
    EXPECT_EQ(Log, (std::vector<std::string>{"select", "hide"}));
    Cube->SetSelectedColor(0x010203);
    EXPECT_EQ(Cube->SelectedIndex(), -1);
}

TEST_F(ColorPanels, CubePaintsCellsAndTheSelectedFrame) {
    auto* Cube = Create<TExtColorCubePanel>(Host.get(), Host.get());
    Cube->SetSelectedColor(0x663300);
    ShowHost();
    QImage I = Grab(Cube);
    EXPECT_EQ(Pixel(I, 67, 20), 0x996633); // cell 2's centre
    EXPECT_EQ(Pixel(I, 55, 20), 0x663300); // cell 1's centre, inside its frames
    EXPECT_EQ(Pixel(I, 50, 20), 0x000000); // cell 1's black outline (a = 5)
    EXPECT_EQ(Pixel(I, 51, 20), 0xFFFFFF); // its white inner outline (a = 4)
    SaveControlPng(Cube, QStringLiteral(EDITORS_SHEET_DIR "/color_cube.png"));
}

// ---- spectrum ------------------------------------------------------------------------------------------

TEST(SpectrumBitmap, RunsHueAcrossAndLightnessDown) {
    QImage B = TExtColorSpectrumPanel::SpectrumBitmap();
    ASSERT_EQ(B.size(), QSize(128, 128));
    auto Hue = [&](int X, int Y) { return B.pixelColor(X, Y).hslHue(); };
    EXPECT_NEAR(Hue(20, 70), 60, 8);
    EXPECT_NEAR(Hue(44, 70), 120, 8);
    EXPECT_NEAR(Hue(64, 70), 180, 8);
    EXPECT_NEAR(Hue(84, 70), 240, 8);
    EXPECT_NEAR(Hue(108, 70), 300, 8);
    EXPECT_GT(B.pixelColor(10, 0).lightnessF(), 0.95);
    EXPECT_NEAR(B.pixelColor(10, 70).lightnessF(), 0.5, 0.03);
    EXPECT_LT(B.pixelColor(10, 127).lightnessF(), 0.05);
}

TEST_F(ColorPanels, SpectrumTakesTheColourUnderTheMouse) {
    auto* S = Create<TExtColorSpectrumPanel>(Host.get(), Host.get());
    EXPECT_EQ(S->Width(), 150);
    EXPECT_EQ(S->Height(), 174);
    EXPECT_EQ(S->SpectrumImage()->BoundsRect(), Rect(11, 10, 139, 138));
    EXPECT_EQ(S->SelectedRect(), Rect(10, 146, 73, 166));
    EXPECT_EQ(S->HotRect(), Rect(77, 146, 140, 166));
    EXPECT_EQ(S->SelectedColor(), 0xFFFFFF);
    EXPECT_EQ(S->HotColor(), clNone);
    EXPECT_EQ(S->SpectrumImage()->Cursor(), crExtPipette);
    ASSERT_NE(Screen, nullptr);
    QCursor Pipette = Screen->Cursors(crExtPipette);
    EXPECT_EQ(Pipette.hotSpot(), QPoint(1, 30)); // the tip at the lower left
    EXPECT_EQ(Pipette.bitmap().size(), QSize(32, 32));

    std::vector<std::string> Log;
    S->OnSelect = [&](TObject*) { Log.push_back("select"); };
    S->FOnShouldHide = [&](TObject*) { Log.push_back("hide"); };
    QImage B = TExtColorSpectrumPanel::SpectrumBitmap();
    QColor Want = B.pixelColor(44, 70);
    TColor WantColor = static_cast<TColor>(Want.red() | (Want.green() << 8) | (Want.blue() << 16));
    S->SpectrumImage()->Perform(WM_MOUSEMOVE, 0, MakeLParam(44, 70));
    EXPECT_EQ(S->HotColor(), WantColor);
    EditorsTest::Click(S->SpectrumImage(), 44, 70);
    EXPECT_EQ(S->SelectedColor(), WantColor);
    EXPECT_EQ(Log, (std::vector<std::string>{"select", "hide"}));

    ShowHost();
    QImage I = Grab(S);
    EXPECT_EQ(Pixel(I, 40, 156), WantColor); // the selected swatch
    EXPECT_EQ(Pixel(I, 10 + 1, 146), 0xFFFFFF); // its white pen
    EXPECT_EQ(Pixel(I, 9, 146), 0x808080); // its grey frame
    SaveControlPng(S, QStringLiteral(EDITORS_SHEET_DIR "/color_spectrum.png"));
}

} // namespace
