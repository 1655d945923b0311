// Pixel probes of the push button's drawing routine on a bitmap canvas.
#include "app/LbButton.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr TColor C = 0xC08040; // the button colour (R 0x40, G 0x80, B 0xC0)
constexpr TColor T = 0x0040C0; // hot-track colour
constexpr TColor D = 0x00C000; // colour when down
constexpr TColor L = 0xFFFFFF; // light edge
constexpr TColor S = 0x808080; // shadow edge
constexpr TColor M = LbTransparentColor;
const TColor K = ColorToRGB(cl3DDkShadow);

// Glyph cell colours of the test strip: normal, disabled, pressed, hot.
constexpr TColor Cell1 = 0x0000FF, Cell2 = 0x00FF00, Cell3 = 0xFF0000, Cell4 = 0x00FFFF;

std::string Hex(TColor Color) { return QString("%1").arg(uint32_t(Color), 6, 16, QLatin1Char('0')).toStdString(); }

// Everything DrawLbButton takes, with the values most cases share.
struct TDraw {
    int W = 60;
    int H = 24;
    TAlignment Alignment = taCenter;
    QString Caption;
    TLbButtonLayout Layout = blGlyphLeft;
    TColor Shadow = S, Light = L, HotTrack = T, WhenDown = D, Color = C;
    TLbButtonStyle Style = bsNormal;
    bool Popup = false, WordWrap = false, Flat = false, Enabled = true, Hot = false, Down = false;
    TBitmap* Glyph = nullptr;
    int NumGlyphs = 0;
    int Step = 0;
};

void SetTestFont(TFont& Font) {
    Font.SetName("Tahoma");
    Font.SetHeight(-11);
    Font.SetColor(clBlack);
}

// Draws on a bitmap first filled with the transparent colour, as the button's paint does.
std::unique_ptr<TBitmap> Draw(const TDraw& P) {
    auto bmp = std::make_unique<TBitmap>(P.W, P.H);
    bmp->Canvas()->Brush()->SetColor(M);
    bmp->Canvas()->FillRect(Rect(0, 0, P.W, P.H));
    TFont font;
    SetTestFont(font);
    DrawLbButton(bmp->Canvas(), P.W, P.H, P.Alignment, P.Caption, P.Layout, &font, P.Shadow, P.Light, P.HotTrack,
                 P.WhenDown, P.Color, P.Style, P.Popup, P.WordWrap, P.Flat, P.Enabled, P.Hot, P.Down, P.Glyph,
                 P.NumGlyphs, P.Step);
    return bmp;
}

TColor Pixel(TBitmap& B, int X, int Y) { return ColorToRGB(B.Canvas()->Pixels(X, Y)); }

// The bounding box of the pixels of one colour (empty when there are none).
TRect FindColor(TBitmap& B, TColor Color) {
    TRect r{B.Width(), B.Height(), 0, 0};
    for (int y = 0; y < B.Height(); ++y)
        for (int x = 0; x < B.Width(); ++x)
            if (Pixel(B, x, y) == Color) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r.IsEmpty() ? TRect{} : r;
}

// The bounding box of the pixels inside Area that differ from Background (the caption's ink).
TRect Ink(TBitmap& B, const TRect& Area, TColor Background, int* Count = nullptr) {
    TRect r{Area.Right, Area.Bottom, Area.Left, Area.Top};
    int n = 0;
    for (int y = Area.Top; y < Area.Bottom; ++y)
        for (int x = Area.Left; x < Area.Right; ++x)
            if (Pixel(B, x, y) != Background) {
                ++n;
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    if (Count) *Count = n;
    return n ? r : TRect{};
}

// A strip of four 10 x 10 cells, each a coloured square on the transparent colour (so the
// cell's bottom-left pixel is transparent), in cell order normal, disabled, pressed, hot.
std::unique_ptr<TBitmap> TestStrip(int Cells = 4) {
    const TColor colours[] = {Cell1, Cell2, Cell3, Cell4};
    auto strip = std::make_unique<TBitmap>(10 * Cells, 10);
    TCanvas* c = strip->Canvas();
    c->Brush()->SetColor(M);
    c->FillRect(Rect(0, 0, 10 * Cells, 10));
    for (int i = 0; i < Cells; ++i) {
        c->Brush()->SetColor(colours[i]);
        c->FillRect(Rect(10 * i + 1, 1, 10 * i + 9, 9));
    }
    return strip;
}

// The caption's extent as the routine measures it: th and tw (width + 4) in the width A.
struct TExtent {
    int tw, th;
};
TExtent Measure(const QString& Text, int A, bool Bold = false) {
    TBitmap b(1, 1);
    TFont font;
    SetTestFont(font);
    if (Bold) font.SetStyle(font.Style() + fsBold);
    b.Canvas()->Font()->Assign(&font);
    TRect r = Rect(0, 0, A, 0);
    b.Canvas()->DrawText(Text, r, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
    return {Text.isEmpty() ? 0 : r.Width() + 4, r.Height()};
}

struct TProbe {
    int X, Y;
    TColor Expected;
};

struct TFaceCase {
    const char* Name;
    TLbButtonStyle Style;
    bool Flat, Enabled, Hot, Down;
    int Step;
    std::vector<TProbe> Probes;
};

} // namespace

// Face and edges of every style in its states, on a 60 x 24 button without caption or picture.
// "focused" is hot without the mouse: the hot level stays 0.
TEST(DrawLbButton, FaceAndEdgesOfEveryStyleAndState) {
    const std::vector<TProbe> raisedEdges = {{0, 12, L},  {30, 0, L},  {0, 0, L},  {0, 23, L},
                                             {59, 12, S}, {30, 23, S}, {59, 0, S}, {59, 23, S}};
    auto with = [](std::vector<TProbe> a, std::initializer_list<TProbe> b) {
        a.insert(a.end(), b);
        return a;
    };
    const std::vector<TFaceCase> cases = {
        {"normal", bsNormal, false, true, false, false, 0, with(raisedEdges, {{30, 12, C}})},
        {"normal hot", bsNormal, false, true, true, false, 8, with(raisedEdges, {{30, 12, T}})},
        {"normal focused", bsNormal, false, true, true, false, 0, with(raisedEdges, {{30, 12, C}})},
        {"normal down",
         bsNormal,
         false,
         true,
         false,
         true,
         0,
         {{30, 12, D}, {0, 12, S}, {30, 0, S}, {59, 12, L}, {30, 23, L}}},
        {"normal disabled", bsNormal, false, false, true, true, 8, with(raisedEdges, {{30, 12, C}})},
        {"normal flat", bsNormal, true, true, false, false, 0, {{30, 12, C}, {0, 12, C}, {59, 12, C}, {30, 23, C}}},
        {"normal flat hot", bsNormal, true, true, true, false, 8, with(raisedEdges, {{30, 12, T}})},
        {"normal flat down", bsNormal, true, true, false, true, 0, {{30, 12, D}, {0, 12, S}, {59, 12, L}}},
        {"normal flat disabled", bsNormal, true, false, false, false, 0, {{30, 12, C}, {0, 12, C}, {59, 12, C}}},
        {"encarta", bsEncarta, false, true, false, false, 0, with(raisedEdges, {{30, 12, C}})},
        {"encarta hot", bsEncarta, false, true, true, false, 8, with(raisedEdges, {{30, 12, T}})},
        {"encarta down",
         bsEncarta,
         false,
         true,
         true,
         true,
         8,
         {{30, 12, D}, {0, 12, S}, {30, 0, S}, {59, 12, L}, {30, 23, L}}},
        {"encarta disabled", bsEncarta, false, false, false, true, 0, with(raisedEdges, {{30, 12, C}})},
        {"old",
         bsOld,
         false,
         true,
         false,
         false,
         0,
         {{30, 12, C}, {58, 12, S}, {30, 22, S}, {0, 12, L}, {30, 0, L}, {59, 12, K}, {30, 23, K}, {0, 23, K}}},
        {"old hot", bsOld, false, true, true, false, 8, {{30, 12, T}, {58, 12, S}, {0, 12, L}, {59, 12, K}}},
        {"old down",
         bsOld,
         false,
         true,
         false,
         true,
         0,
         {{30, 12, D}, {1, 12, S}, {30, 1, S}, {0, 12, K}, {30, 0, K}, {59, 12, L}, {30, 23, L}, {0, 23, L}}},
        {"old disabled", bsOld, false, false, false, true, 0, {{30, 12, C}, {58, 12, S}, {0, 12, L}, {59, 12, K}}},
        {"modern",
         bsModern,
         false,
         true,
         false,
         false,
         0,
         {{0, 12, S}, {59, 12, S}, {30, 0, S}, {30, 23, S}, {1, 12, C}, {58, 12, C}, {30, 1, C}, {0, 0, M}}},
        {"modern hot", bsModern, false, true, true, false, 8, {{1, 12, T}, {30, 1, T}, {0, 12, S}}},
        {"modern down", bsModern, false, true, false, true, 0, {{1, 12, S}, {30, 1, S}, {0, 12, S}, {0, 0, M}}},
        {"modern disabled", bsModern, false, false, true, true, 8, {{1, 12, C}, {0, 12, S}}},
        {"quicken",
         bsQuicken,
         false,
         true,
         false,
         false,
         0,
         {{30, 12, C}, {2, 12, C}, {30, 0, S}, {30, 23, S}, {54, 23, S}, {2, 0, M}, {0, 0, M}}},
        {"quicken hot", bsQuicken, false, true, true, false, 8, {{30, 12, T}, {30, 0, S}}},
        {"quicken down", bsQuicken, false, true, false, true, 0, {{30, 12, D}, {30, 0, S}}},
        {"quicken disabled", bsQuicken, false, false, true, true, 8, {{30, 12, C}}},
        {"shape", bsShape, false, true, false, false, 0, {{30, 12, M}, {0, 0, M}, {0, 12, M}, {59, 23, M}}},
        {"shape hot", bsShape, false, true, true, false, 8, {{30, 12, M}, {0, 12, M}}},
        {"shape down", bsShape, false, true, false, true, 0, {{30, 12, M}, {0, 12, M}}},
        {"shape disabled", bsShape, false, false, false, false, 0, {{30, 12, M}, {0, 12, M}}},
    };
    for (const TFaceCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TDraw p;
        p.Style = c.Style;
        p.Flat = c.Flat;
        p.Enabled = c.Enabled;
        p.Hot = c.Hot;
        p.Down = c.Down;
        p.Step = c.Step;
        auto bmp = Draw(p);
        for (const TProbe& probe : c.Probes)
            EXPECT_EQ(Hex(Pixel(*bmp, probe.X, probe.Y)), Hex(probe.Expected)) << "at " << probe.X << "," << probe.Y;
    }
}

TEST(DrawLbButton, FaceKeepsItsColourWithoutHotTrackColourAndDownWithoutColorWhenDown) {
    TDraw p;
    p.HotTrack = clNone;
    p.WhenDown = clNone;
    for (bool down : {false, true}) {
        p.Hot = true;
        p.Step = 8;
        p.Down = down;
        auto bmp = Draw(p);
        EXPECT_EQ(Hex(Pixel(*bmp, 30, 12)), Hex(C)) << "down " << down;
    }
}

TEST(DrawLbButton, ModernFaceIsAGradientFromTheLightColourAtTopAndBottom) {
    TDraw p;
    p.Style = bsModern;
    p.W = 60;
    p.H = 48;
    auto bmp = Draw(p);
    auto brightness = [&](int y) {
        const TColor c = Pixel(*bmp, 30, y);
        return GetRValue(c) + GetGValue(c) + GetBValue(c);
    };
    // Upper part: light at the top, towards the face at H div 4; lower part back to light.
    EXPECT_GT(brightness(2), brightness(11));
    EXPECT_GT(brightness(44), brightness(14));
    EXPECT_LT(brightness(14), brightness(30));
}

TEST(DrawLbButton, BlendHotColorMovesEachChannelByEighths) {
    struct {
        TColor Color, Hot;
        int Step;
        TColor Expected;
    } cases[] = {
        {C, T, 0, C},
        {C, T, 8, T},
        {C, T, 4, 0x606080},
        {C, T, 3, 0x786870},
        {0x010101, 0x000000, 4, 0x000000}, // truncated, not rounded
        {clBtnFace, clBlack, 0, ColorToRGB(clBtnFace)},
        {clBlack, clBtnFace, 8, ColorToRGB(clBtnFace)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Hex(BlendHotColor(c.Color, c.Hot, c.Step)), Hex(c.Expected))
            << Hex(c.Color) << " to " << Hex(c.Hot) << " step " << c.Step;
}

TEST(DrawLbButton, FillGradientDraws32BandsOverTheRowsAndColumnsGiven) {
    TBitmap bmp(20, 80);
    bmp.Canvas()->Brush()->SetColor(M);
    bmp.Canvas()->FillRect(Rect(0, 0, 20, 80));
    // 62 rows: band i starts at row 2i and is three rows high, so rows 2i and 2i + 1 show it.
    FillGradient(bmp.Canvas(), RGB(0, 0, 0), RGB(248, 0, 124), 3, 10, 17, 72);
    for (int i : {0, 1, 15, 30}) {
        EXPECT_EQ(Hex(Pixel(bmp, 3, 10 + 2 * i)), Hex(RGB(8 * i, 0, 4 * i))) << "band " << i;
        EXPECT_EQ(Hex(Pixel(bmp, 16, 11 + 2 * i)), Hex(RGB(8 * i, 0, 4 * i))) << "band " << i;
    }
    EXPECT_EQ(Hex(Pixel(bmp, 3, 9)), Hex(M));
    EXPECT_EQ(Hex(Pixel(bmp, 3, 72)), Hex(M));
    EXPECT_EQ(Hex(Pixel(bmp, 2, 30)), Hex(M));
    EXPECT_EQ(Hex(Pixel(bmp, 17, 30)), Hex(M));
}

// Each channel of a band is the whole value start + i x (end - start) / 31 truncated, so a
// falling channel rounds down like a rising one.
TEST(DrawLbButton, FillGradientTruncatesFallingAndRisingChannelsAlike) {
    TBitmap bmp(4, 62);
    FillGradient(bmp.Canvas(), RGB(255, 0, 100), RGB(0, 62, 90), 0, 0, 4, 62);
    struct {
        int Band;
        TColor Expected;
    } cases[] = {
        {0, RGB(255, 0, 100)},
        {1, RGB(246, 2, 99)},
        {15, RGB(131, 30, 95)},
        {30, RGB(8, 60, 90)},
    };
    for (const auto& c : cases) EXPECT_EQ(Hex(Pixel(bmp, 1, 2 * c.Band)), Hex(c.Expected)) << "band " << c.Band;
}

// A picture whose strip has no cells (NumGlyphs 0) shows nothing, but above or below the caption
// it still takes its height: the caption lands where a blank picture of that size puts it.
TEST(DrawLbButton, PictureWithoutCellsKeepsItsHeightAboveAndBelowTheCaption) {
    auto strip = TestStrip(1);
    TBitmap blank(10, 10);
    blank.Canvas()->Brush()->SetColor(M);
    blank.Canvas()->FillRect(Rect(0, 0, 10, 10));
    for (TLbButtonLayout layout : {blGlyphTop, blGlyphBottom}) {
        SCOPED_TRACE(int(layout));
        TDraw p;
        p.W = 120;
        p.H = 48;
        p.Caption = "Apply";
        p.Layout = layout;
        p.Glyph = strip.get();
        p.NumGlyphs = 0;
        auto noCells = Draw(p);
        p.Glyph = &blank;
        p.NumGlyphs = 1;
        auto blankCell = Draw(p);
        p.Glyph = nullptr;
        p.NumGlyphs = 0;
        auto noPicture = Draw(p);
        EXPECT_TRUE(FindColor(*noCells, Cell1).IsEmpty());
        EXPECT_TRUE(noCells->Image() == blankCell->Image());
        EXPECT_FALSE(noCells->Image() == noPicture->Image());
    }
}

// Where the picture cell lands and which cell it is, for each layout and state.
TEST(DrawLbButton, PicturePlacementAndCellFollowLayoutAlignmentAndState) {
    const int W = 120, H = 40, G = 10;
    const QString caption = "Apply";
    auto strip4 = TestStrip(4);
    auto strip2 = TestStrip(2);
    const TExtent side = Measure(caption, W - 8 - (G + 4));
    const TExtent sideBold = Measure(caption, W - 8 - (G + 4), true);
    const TExtent sideWrap = side;
    const TExtent above = Measure(caption, W - 8);
    const int B = above.th + G + 4;

    struct TPlace {
        const char* Name;
        TLbButtonStyle Style;
        TLbButtonLayout Layout;
        TAlignment Alignment;
        bool WordWrap, Enabled, Hot, Down;
        int Cells;
        int X, Y;
        TColor Cell;
    };
    const std::vector<TPlace> cases = {
        {"left centre", bsNormal, blGlyphLeft, taCenter, false, true, false, false, 4, (W - G) / 2 - side.tw / 2,
         (H - G) / 2, Cell1},
        {"left centre down", bsNormal, blGlyphLeft, taCenter, false, true, false, true, 4,
         (W - G) / 2 + 1 - side.tw / 2, (H - G) / 2 + 1, Cell3},
        {"left centre encarta down", bsEncarta, blGlyphLeft, taCenter, false, true, true, true, 4,
         (W - G) / 2 - sideBold.tw / 2, (H - G) / 2, Cell3},
        {"left centre hot", bsNormal, blGlyphLeft, taCenter, false, true, true, false, 4, (W - G) / 2 - side.tw / 2,
         (H - G) / 2, Cell4},
        {"left centre disabled", bsNormal, blGlyphLeft, taCenter, false, false, true, true, 4,
         (W - G) / 2 - side.tw / 2, (H - G) / 2, Cell2},
        {"two cells hot", bsNormal, blGlyphLeft, taCenter, false, true, true, false, 2, (W - G) / 2 - side.tw / 2,
         (H - G) / 2, Cell1},
        {"two cells down", bsNormal, blGlyphLeft, taCenter, false, true, false, true, 2, (W - G) / 2 + 1 - side.tw / 2,
         (H - G) / 2 + 1, Cell1},
        {"left left", bsNormal, blGlyphLeft, taLeftJustify, false, true, false, false, 4, 4, (H - G) / 2, Cell1},
        {"left right", bsNormal, blGlyphLeft, taRightJustify, false, true, false, false, 4, W - 4 - G - side.tw,
         (H - G) / 2, Cell1},
        {"left wrapped", bsNormal, blGlyphLeft, taCenter, true, true, false, false, 4, 4, (H - G) / 2, Cell1},
        {"right left", bsNormal, blGlyphRight, taLeftJustify, false, true, false, false, 4, 4 + side.tw, (H - G) / 2,
         Cell1},
        {"right right", bsNormal, blGlyphRight, taRightJustify, false, true, false, false, 4, W - 4 - G, (H - G) / 2,
         Cell1},
        {"right centre", bsNormal, blGlyphRight, taCenter, false, true, false, false, 4, (W - G) / 2 + side.tw / 2,
         (H - G) / 2, Cell1},
        {"right wrapped", bsNormal, blGlyphRight, taCenter, true, true, false, false, 4, 4 + sideWrap.tw, (H - G) / 2,
         Cell1},
        {"top centre", bsNormal, blGlyphTop, taCenter, false, true, false, false, 4, (W - G) / 2, (H - B) / 2, Cell1},
        {"top right down", bsModern, blGlyphTop, taRightJustify, false, true, false, true, 4, W - G - 4 + 1,
         (H - B) / 2 + 1, Cell3},
        {"bottom left", bsNormal, blGlyphBottom, taLeftJustify, false, true, false, false, 4, 4, (H - B) / 2 + above.th,
         Cell1},
        {"shape", bsShape, blGlyphRight, taLeftJustify, false, true, false, false, 4, (W - G) / 2, (H - G) / 2, Cell1},
    };
    for (const TPlace& c : cases) {
        SCOPED_TRACE(c.Name);
        TDraw p;
        p.W = W;
        p.H = H;
        p.Caption = caption;
        p.Style = c.Style;
        p.Layout = c.Layout;
        p.Alignment = c.Alignment;
        p.WordWrap = c.WordWrap;
        p.Enabled = c.Enabled;
        p.Hot = c.Hot;
        p.Down = c.Down;
        p.Glyph = c.Cells == 4 ? strip4.get() : strip2.get();
        p.NumGlyphs = c.Cells;
        auto bmp = Draw(p);
        const TRect box = FindColor(*bmp, c.Cell);
        EXPECT_EQ(box, Rect(c.X + 1, c.Y + 1, c.X + 9, c.Y + 9))
            << "found " << box.Left - 1 << "," << box.Top - 1 << " expected " << c.X << "," << c.Y;
        // The transparent part of the cell shows the face, never the transparent colour.
        if (c.Style != bsShape) {
            EXPECT_NE(Hex(Pixel(*bmp, c.X, c.Y + 9)), Hex(M));
        }
    }
}

TEST(DrawLbButton, DisabledOneCellPictureStillShowsItsPicture) {
    auto strip = TestStrip(1);
    TDraw p;
    p.W = 120;
    p.H = 40;
    p.Enabled = false;
    p.Glyph = strip.get();
    p.NumGlyphs = 1;
    auto bmp = Draw(p);
    EXPECT_FALSE(FindColor(*bmp, Cell1).IsEmpty());
}

TEST(DrawLbButton, DisabledCaptionIsGreyAndEnabledCaptionUsesTheFontColour) {
    for (bool enabled : {true, false}) {
        TDraw p;
        p.W = 80;
        p.H = 30;
        p.Caption = "HMW";
        p.Color = clWhite;
        p.Enabled = enabled;
        auto bmp = Draw(p);
        // The darkest caption pixel has the text colour itself (anti-aliased edges are lighter).
        int darkest = 3 * 255;
        TColor darkestColor = clWhite;
        for (int y = 2; y < 28; ++y)
            for (int x = 2; x < 78; ++x) {
                const TColor c = Pixel(*bmp, x, y);
                const int v = GetRValue(c) + GetGValue(c) + GetBValue(c);
                if (v < darkest) {
                    darkest = v;
                    darkestColor = c;
                }
            }
        EXPECT_EQ(Hex(darkestColor), Hex(enabled ? clBlack : TColor(0x808080))) << "enabled " << enabled;
    }
}

TEST(DrawLbButton, PressingMovesCaptionByOnePixelExceptEncartaWhichTurnsItBold) {
    for (TLbButtonStyle style : {bsNormal, bsOld, bsEncarta}) {
        SCOPED_TRACE(int(style));
        TDraw p;
        p.W = 100;
        p.H = 30;
        p.Caption = "Press";
        p.Style = style;
        p.WhenDown = clNone;
        auto up = Draw(p);
        p.Down = true;
        auto down = Draw(p);
        int upCount = 0, downCount = 0;
        const TRect area = Rect(3, 3, 97, 27);
        const TRect a = Ink(*up, area, C, &upCount);
        const TRect b = Ink(*down, area, C, &downCount);
        ASSERT_FALSE(a.IsEmpty());
        if (style == bsEncarta) {
            EXPECT_EQ(a.Top, b.Top);
            EXPECT_GT(downCount, upCount); // bold
        } else {
            EXPECT_EQ(b, Rect(a.Left + 1, a.Top + 1, a.Right + 1, a.Bottom + 1));
            EXPECT_EQ(downCount, upCount);
        }
    }
}

TEST(DrawLbButton, LongCaptionEndsInAnEllipsisWithoutWordWrapAndWrapsWithIt) {
    const QString caption = "Configuration parameters";
    TDraw p;
    p.W = 60;
    p.H = 40;
    p.Caption = caption;
    auto cut = Draw(p);

    // The longest beginning of the caption that fits the width W - 8 with "..." after it,
    // measured by the canvas.
    TBitmap measure(1, 1);
    TFont font;
    SetTestFont(font);
    measure.Canvas()->Font()->Assign(&font);
    const QString fit = EllipsisText(measure.Canvas(), caption, p.W - 8);
    ASSERT_TRUE(fit.endsWith("..."));
    ASSERT_LE(measure.Canvas()->TextWidth(fit), p.W - 8);
    ASSERT_TRUE(caption.startsWith(fit.chopped(3)));
    // One more letter would not fit.
    EXPECT_GT(measure.Canvas()->TextWidth(caption.left(fit.size() - 2) + "..."), p.W - 8);
    p.Caption = fit;
    auto expected = Draw(p);
    EXPECT_TRUE(cut->Image() == expected->Image());

    p.Caption = caption;
    p.WordWrap = true;
    auto wrapped = Draw(p);
    const int lineHeight = measure.Canvas()->TextHeight("Ag");
    const TRect oneLine = Ink(*cut, Rect(1, 1, 59, 39), C);
    const TRect lines = Ink(*wrapped, Rect(1, 1, 59, 39), C);
    EXPECT_LE(oneLine.Height(), lineHeight);
    EXPECT_GT(lines.Height(), lineHeight);
}

TEST(EllipsisText, KeepsWhatFitsAndCutsTheRest) {
    TBitmap measure(1, 1);
    TFont font;
    SetTestFont(font);
    TCanvas* c = measure.Canvas();
    c->Font()->Assign(&font);
    const QString e = "...";
    struct TCase {
        const char* Name;
        QString Text;
        int Width;
        QString Expected;
    };
    const TCase cases[] = {
        {"fits", "Cancel", c->TextWidth("Cancel"), "Cancel"},
        {"cut to fit", "Configuration", c->TextWidth("Config" + e), "Config" + e},
        {"no blank before the ellipsis", "Open Configuration", c->TextWidth("Open C" + e) - 1, "Open" + e},
        {"room for the ellipsis only", "Cancel", c->TextWidth(e), e},
        {"no room", "Cancel", 0, ""},
        {"empty", "", 0, ""},
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(k.Name);
        EXPECT_EQ(EllipsisText(c, k.Text, k.Width).toStdString(), k.Expected.toStdString());
    }
}

// A pressed bsEncarta button whose caption fits only in the regular weight keeps that weight
// instead of losing letters ("Execute Update Firmwa"); one that fits in bold turns bold.
TEST(DrawLbButton, PressedEncartaCaptionIsNeverCut) {
    TBitmap measure(1, 1);
    TFont font;
    SetTestFont(font);
    TCanvas* m = measure.Canvas();
    m->Font()->Assign(&font);
    const QString caption = "Execute Update Firmware";
    const int regular = m->TextWidth(caption);
    m->Font()->SetStyle({fsBold});
    const int bold = m->TextWidth(caption);
    ASSERT_GT(bold, regular);
    TDraw p;
    p.Style = bsEncarta;
    p.WhenDown = clNone;
    p.H = 28;
    p.Caption = caption;
    // Room for the regular caption but not the bold one.
    p.W = regular + 8 + (bold - regular) / 2;
    auto up = Draw(p);
    p.Down = true;
    auto down = Draw(p);
    const TRect inner = Rect(1, 1, p.W - 1, p.H - 1);
    int upCount = 0, downCount = 0;
    EXPECT_EQ(Ink(*up, inner, C, &upCount), Ink(*down, inner, C, &downCount));
    EXPECT_EQ(downCount, upCount);
    // Wide enough for bold: the press shows in bold.
    p.W = bold + 12;
    p.Down = false;
    up = Draw(p);
    p.Down = true;
    down = Draw(p);
    const TRect wide = Rect(1, 1, p.W - 1, p.H - 1);
    Ink(*up, wide, C, &upCount);
    Ink(*down, wide, C, &downCount);
    EXPECT_GT(downCount, upCount);
}

TEST(DrawLbButton, PopupArrowIsDrawnNearTheRightEdge) {
    TDraw p;
    p.W = 80;
    p.H = 24;
    p.Popup = true;
    auto bmp = Draw(p);
    const int x = 80 - 11, y = 24 / 2 - 1;
    EXPECT_EQ(Hex(Pixel(*bmp, x, y)), Hex(clBlack));
    EXPECT_EQ(Hex(Pixel(*bmp, x + 4, y)), Hex(clBlack));
    EXPECT_EQ(Hex(Pixel(*bmp, x + 2, y + 2)), Hex(clBlack));
    EXPECT_EQ(Hex(Pixel(*bmp, x, y + 2)), Hex(C)); // transparent corner of the arrow
    p.Popup = false;
    auto plain = Draw(p);
    EXPECT_EQ(Hex(Pixel(*plain, x, y)), Hex(C));
}

// bsShape leaves everything but picture and caption transparent, so the caption may not have
// blended edge pixels: they would show as a fringe of the transparent colour.
TEST(DrawLbButton, ShapeCaptionHasOnlyTextAndTransparentPixels) {
    for (bool enabled : {true, false}) {
        TDraw p;
        p.W = 90;
        p.H = 30;
        p.Style = bsShape;
        p.Caption = "Shape caption";
        p.Enabled = enabled;
        auto bmp = Draw(p);
        const TColor ink = enabled ? clBlack : TColor(0x808080);
        int inkPixels = 0, others = 0;
        for (int y = 0; y < p.H; ++y)
            for (int x = 0; x < p.W; ++x) {
                const TColor c = Pixel(*bmp, x, y);
                if (c == ink)
                    ++inkPixels;
                else if (c != M)
                    ++others;
            }
        EXPECT_GT(inkPixels, 30) << "enabled " << enabled;
        EXPECT_EQ(others, 0) << "enabled " << enabled;
    }
}
