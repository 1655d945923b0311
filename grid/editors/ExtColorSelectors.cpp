#include "grid/editors/ExtColorSelectors.h"

#include "platform/gui/Forms.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

// ---- palette items --------------------------------------------------------------------------------

void TColorBoxItem::SetColor(TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    if (FCollection) FCollection->Changed();
}

void TColorBoxItem::Assign(const TColorBoxItem& Source) {
    FColor = Source.FColor;
    FEnabled = Source.FEnabled;
    if (FCollection) FCollection->Changed();
}

TColorBoxItem* TColorBoxItems::Add() {
    FItems.push_back(std::make_unique<TColorBoxItem>(this));
    return FItems.back().get();
}

void TColorBoxItems::Clear() {
    FItems.clear();
    Changed();
}

void TColorBoxItems::Assign(const TColorBoxItems& Source) {
    if (&Source == this) return;
    FItems.clear();
    for (const auto& I : Source.FItems) {
        TColorBoxItem* N = Add();
        N->Assign(*I);
        N->SetColorBoxPos(I->ColorBoxPos());
    }
    Changed();
}

void TColorBoxItems::Changed() {
    if (OnChange) OnChange(nullptr);
}

void TColorBoxAppearance::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TColorBoxAppearance*>(Source);
    if (!S) return;
    FBorderColor = S->FBorderColor;
    FOuterBorderColorHot = S->FOuterBorderColorHot;
    FInnerBorderColorHot = S->FInnerBorderColorHot;
    FOuterBorderColorSelected = S->FOuterBorderColorSelected;
    FInnerBorderColorSelected = S->FInnerBorderColorSelected;
}

void TColorBoxAppearance::ResetColors() {
    FBorderColor = 0xC5C5C5;
    FOuterBorderColorHot = 0x3694F2;
    FInnerBorderColorHot = 0x94E2FF;
    FOuterBorderColorSelected = 0x0000FF;
    FInnerBorderColorSelected = 0x94E2FF;
}

// ---- panel base -------------------------------------------------------------------------------------

TExtCustomColorSelectorPanel::TExtCustomColorSelectorPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetParentColor(true);
}

void TExtCustomColorSelectorPanel::PaintBackground() {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(Rect(0, 0, Width(), Height()));
}

// ---- discrete palette -----------------------------------------------------------------------------

namespace {

struct TPaletteRow {
    TColor Colors[10];
    TItemPos Pos;
};

// The base colours on top; under each, one strip from light to dark.
const TPaletteRow Palette[6] = {
    {{0xFFFFFF, 0x000000, 0xE1ECEE, 0x7D491F, 0xBD814F, 0x4D50C0, 0x59BB9B, 0xA26480, 0xC6AC4B, 0x4696F7},
     ipStandAlone},
    {{0xF2F2F2, 0x7F7F7F, 0xC3D9DD, 0xDACEC2, 0xF1E5DB, 0xDBDCF2, 0xDDF1EB, 0xECE0E5, 0xF3EEDB, 0xDAEAFD}, ipTop},
    {{0xD8D8D8, 0x595959, 0x97BDC4, 0xE2B38D, 0xE4CCB8, 0xB7B9E5, 0xBCE3D7, 0xD9C1CC, 0xE8DDB7, 0xB5D5FB}, ipMiddle},
    {{0xBFBFBF, 0x3F3F3F, 0x538993, 0xD48D54, 0xD7B395, 0x9496D9, 0x9BD6C3, 0xC7A2B2, 0xDCCD92, 0x8FC0FA}, ipMiddle},
    {{0xA5A5A5, 0x262626, 0x294449, 0x5D3617, 0x926036, 0x343795, 0x3C9276, 0x7A495F, 0x9B8531, 0x096CE3}, ipMiddle},
    {{0x7F7F7F, 0x0C0C0C, 0x101B1D, 0x3E240F, 0x614024, 0x232463, 0x28614F, 0x51313F, 0x675820, 0x064897}, ipBottom},
};

} // namespace

TCustomColorSelector::TCustomColorSelector(TComponent* AOwner)
    : TExtCustomColorSelectorPanel(AOwner), FColorBoxAppearance(std::make_unique<TColorBoxAppearance>()),
      FItems(std::make_unique<TColorBoxItems>(this)) {}

TCustomColorSelector::~TCustomColorSelector() = default;

void TCustomColorSelector::LoadPalette() {
    FItems->Clear();
    FItemIndex = -1;
    FItemHot = -1;
    for (const TPaletteRow& Row : Palette)
        for (TColor C : Row.Colors) {
            TColorBoxItem* I = FItems->Add();
            I->SetColor(C);
            I->SetColorBoxPos(Row.Pos);
        }
    ArrangeItems();
}

void TCustomColorSelector::GetContentRect(TRect& R) {
    R = Rect(FOffSetX, FOffSetY, Width() - FOffSetX, Height() - FOffSetY);
}

void TCustomColorSelector::GetItemSize(TSize& ASize) { ASize = TSize{FColorBoxWidth, FColorBoxHeight}; }

void TCustomColorSelector::ArrangeItems() {
    if (FItems->Count() == 0) {
        SetBounds(Left(), Top(), 100, 50);
        return;
    }
    FItemHot = -1;
    TSize S{0, 0};
    GetItemSize(S);
    const int W = S.cx, H = S.cy;
    TRect R;
    GetContentRect(R);
    int X = R.Left, Y = R.Top, Column = 0, Widest = 0;
    bool GapAfterRow = false;
    for (int I = 0; I < FItems->Count(); ++I) {
        TColorBoxItem* Item = FItems->Items(I);
        Item->FRect = Rect(X, Y, X + W, Y + H);
        ++Column;
        if (I == FItems->Count() - 1) break;
        // A row of stand-alone boxes keeps a gap below it; the rows of a strip touch.
        if (Item->ColorBoxPos() == ipStandAlone) GapAfterRow = true;
        if (Column < FColumns) {
            X += W + FColumnGap;
        } else {
            if (GapAfterRow) Y += FColumnGap;
            GapAfterRow = false;
            Y += H;
            Widest = std::max(Widest, X);
            X = R.Left;
            Column = 0;
        }
    }
    SetBounds(Left(), Top(), std::max(X, Widest) + W + R.Left + 1, Y + H + R.Top);
    Invalidate();
}

#define SET_AND_ARRANGE(Field, Value)                                                                                  \
    if (Field == Value) return;                                                                                        \
    Field = Value;                                                                                                     \
    ArrangeItems();

void TCustomColorSelector::SetColumns(int Value) { SET_AND_ARRANGE(FColumns, std::max(1, Value)) }
void TCustomColorSelector::SetColumnGap(int Value) { SET_AND_ARRANGE(FColumnGap, Value) }
void TCustomColorSelector::SetColorBoxWidth(int Value) { SET_AND_ARRANGE(FColorBoxWidth, Value) }
void TCustomColorSelector::SetColorBoxHeight(int Value) { SET_AND_ARRANGE(FColorBoxHeight, Value) }
#undef SET_AND_ARRANGE

void TCustomColorSelector::SetItemColorStyle(TSelectionColorStyle Value) {
    if (FItemColorStyle == Value) return;
    FItemColorStyle = Value;
    if (Value != scCustom) FColorBoxAppearance->ResetColors();
    Invalidate();
}

bool TCustomColorSelector::Enabled_(int Index) const {
    return Index >= 0 && Index < FItems->Count() && FItems->Items(Index)->FEnabled;
}

void TCustomColorSelector::InvalidateItem(int Index) {
    if (Index < 0 || Index >= FItems->Count()) return;
    InvalidateRect(FItems->Items(Index)->FRect);
}

void TCustomColorSelector::SetItemIndex(int Value) {
    // A box that is not there or cannot be chosen is no selection.
    if (Value >= FItems->Count()) return;
    if (Value >= 0 && !Enabled_(Value)) return;
    InvalidateItem(FItemIndex);
    FItemIndex = Value < 0 ? -1 : Value;
    if (FItemIndex >= 0) {
        FSelectedColor = FItems->Items(FItemIndex)->Color();
        InvalidateItem(FItemIndex);
        if (OnItemSelect) OnItemSelect(this);
    }
}

void TCustomColorSelector::SetItemHot(int Index) {
    if (Index == FItemHot) return;
    if (Index >= FItems->Count()) return;
    if (Index >= 0 && !Enabled_(Index)) return;
    InvalidateItem(FItemHot);
    FItemHot = Index < 0 ? -1 : Index;
    InvalidateItem(FItemHot);
}

void TCustomColorSelector::SetSelectedColor(TColor Value) {
    if (Value == FSelectedColor) return;
    FSelectedColor = Value;
    // A disabled box cannot take the selection; leaving the old box framed would show a colour
    // other than the one set.
    if (Value != clNone)
        for (int I = 0; I < FItems->Count(); ++I)
            if (FItems->Items(I)->Color() == Value && Enabled_(I)) {
                SetItemIndex(I);
                return;
            }
    InvalidateItem(FItemIndex);
    FItemIndex = -1;
}

void TCustomColorSelector::SelectFirst() {
    if (FItems->Count() > 0) SetItemIndex(0);
}

void TCustomColorSelector::SelectLast() {
    if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TCustomColorSelector::SelectNext() {
    if (FItemIndex + 1 < FItems->Count()) SetItemIndex(FItemIndex + 1);
}

void TCustomColorSelector::SelectPrevious() {
    if (FItemIndex - 1 >= 0) SetItemIndex(FItemIndex - 1);
}

void TCustomColorSelector::HotNext() {
    if (FItemHot + 1 < FItems->Count()) SetItemHot(FItemHot + 1);
}

void TCustomColorSelector::HotPrevious() {
    if (FItemHot - 1 >= 0) SetItemHot(FItemHot - 1);
}

void TCustomColorSelector::HandleKey(Word Key, bool EditorEnabled, bool DroppedDown) {
    if (!Enabled() || Key < VK_PRIOR || Key > VK_DOWN) return;
    switch (Key) {
        case VK_PRIOR:
        case VK_HOME: SelectFirst(); break;
        case VK_NEXT:
        case VK_END: SelectLast(); break;
        case VK_LEFT:
            if (!EditorEnabled || DroppedDown) SelectPrevious();
            break;
        case VK_RIGHT:
            if (!EditorEnabled || DroppedDown) SelectNext();
            break;
        case VK_UP:
        case VK_DOWN: {
            if (!DroppedDown) {
                if (Key == VK_UP)
                    SelectPrevious();
                else
                    SelectNext();
                break;
            }
            int N = FItemIndex < 0 ? 0 : FItemIndex + (Key == VK_UP ? -FColumns : FColumns);
            if (N >= 0 && N < FItems->Count()) SetItemIndex(N);
            break;
        }
        default: break;
    }
}

int TCustomColorSelector::ItemAtPos(int X, int Y) const {
    for (int I = 0; I < FItems->Count(); ++I) {
        const TRect& R = FItems->Items(I)->FRect;
        if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return I;
    }
    return -1;
}

TRect TCustomColorSelector::GetItemRect(int Index) const {
    if (Index < 0 || Index >= FItems->Count()) return Rect(-1, -1, -1, -1);
    return FItems->Items(Index)->FRect;
}

void TCustomColorSelector::DrawItem(int Index, TCanvas* ACanvas) {
    if (!ACanvas || Index < 0 || Index >= FItems->Count()) return;
    TColorBoxItem* Item = FItems->Items(Index);
    TRect R = Item->FRect;
    if (Item->Color() != clNone) {
        ACanvas->Pen()->SetColor(Item->Color());
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(Item->Color());
        ACanvas->Rectangle(R);
    }
    const bool Selected = Index == FItemIndex, Hot = Index == FItemHot;
    if (Selected || Hot) {
        TColor Outer =
            Selected ? FColorBoxAppearance->OuterBorderColorSelected() : FColorBoxAppearance->OuterBorderColorHot();
        TColor Inner =
            Selected ? FColorBoxAppearance->InnerBorderColorSelected() : FColorBoxAppearance->InnerBorderColorHot();
        ACanvas->Brush()->SetStyle(bsSolid);
        if (Outer != clNone) {
            ACanvas->Brush()->SetColor(Outer);
            ACanvas->FrameRect(R);
            R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
        }
        if (Inner != clNone) {
            ACanvas->Brush()->SetColor(Inner);
            ACanvas->FrameRect(R);
        }
        return;
    }
    ACanvas->Pen()->SetColor(FColorBoxAppearance->BorderColor());
    const int L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
    switch (Item->ColorBoxPos()) {
        case ipStandAlone:
            ACanvas->MoveTo(L, B);
            ACanvas->LineTo(L, T);
            ACanvas->LineTo(Rt, T);
            ACanvas->LineTo(Rt, B);
            ACanvas->LineTo(L, B);
            break;
        case ipTop:
            ACanvas->MoveTo(L, B + 1);
            ACanvas->LineTo(L, T);
            ACanvas->LineTo(Rt, T);
            ACanvas->LineTo(Rt, B + 1);
            break;
        case ipMiddle:
            ACanvas->MoveTo(L, T);
            ACanvas->LineTo(L, B + 1);
            ACanvas->MoveTo(Rt, T);
            ACanvas->LineTo(Rt, B + 1);
            break;
        case ipBottom:
            ACanvas->MoveTo(L, T);
            ACanvas->LineTo(L, B);
            ACanvas->LineTo(Rt, B);
            ACanvas->MoveTo(Rt, T);
            ACanvas->LineTo(Rt, B + 1);
            break;
    }
}

void TCustomColorSelector::Paint() {
    PaintBackground();
    for (int I = 0; I < FItems->Count(); ++I) DrawItem(I, Canvas());
}

void TCustomColorSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TExtCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
    int I = ItemAtPos(X, Y);
    if (Enabled_(I)) SetItemIndex(I);
}

void TCustomColorSelector::MouseMove(TShiftState Shift, int X, int Y) {
    TExtCustomColorSelectorPanel::MouseMove(Shift, X, Y);
    int I = ItemAtPos(X, Y);
    SetItemHot(Enabled_(I) ? I : -1);
}

void TCustomColorSelector::MouseLeave() {
    TExtCustomColorSelectorPanel::MouseLeave();
    SetItemHot(-1);
}

// ---- colour cube ------------------------------------------------------------------------------------

namespace {

const TColor CubeColors[127] = {
    0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000, 0x666600, 0x996600, 0xCC9900, 0xCC6600,
    0xCC3300, 0xFF0000, 0xFF3333, 0x993333, 0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633,
    0xCC3333, 0x996666, 0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066,
    0xCC0066, 0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399,
    0xFF0099, 0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC,
    0xFF00CC, 0xCC0099, 0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF,
    0xFF66FF, 0xFF00FF, 0xCC00CC, 0x660066, 0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF,
    0xCC99FF, 0xCC66FF, 0xCC33FF, 0x9900CC, 0x800080, 0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF,
    0x9999FF, 0x9966FF, 0x9933FF, 0x9933CC, 0x990099, 0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF,
    0x807CFF, 0x6600FF, 0x9300D6, 0x663399, 0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF,
    0x6600CC, 0x330066, 0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099, 0x003366,
    0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5,
};

} // namespace

TExtColorCubePanel::TExtColorCubePanel(TComponent* AOwner) : TExtCustomColorSelectorPanel(AOwner) {
    SetShowHint(true);
    InitCubeCells();
    ResetCube();
}

void TExtColorCubePanel::InitCubeCells() {
    int N = 1;
    for (int Row = 1; Row <= 13; ++Row) {
        int Count = Row <= 7 ? 7 + (Row - 1) : 20 - Row;
        int X = Row <= 7 ? 55 - 6 * (Row - 1) : 19 + 6 * (Row - 7);
        int Y = 20 + 10 * (Row - 1);
        for (int I = 0; I < Count; ++I, ++N) {
            FCubeCells[static_cast<size_t>(N)].Center = TPoint{X + 2 * FCubeSize.X * I, Y};
            FCubeCells[static_cast<size_t>(N)].Color = CubeColors[N - 1];
        }
    }
}

void TExtColorCubePanel::ResetCube() {
    FHotIndex = -1;
    SetBounds(Left(), Top(), 182, 160);
    Invalidate();
}

void TExtColorCubePanel::SetSelectedColor(TColor Value) {
    FSelectedColor = Value;
    FSelectedIndex = -1;
    for (int I = 1; I <= 127; ++I)
        if (FCubeCells[static_cast<size_t>(I)].Color == Value) {
            FSelectedIndex = I;
            break;
        }
}

void TExtColorCubePanel::SetShowRGBHint(bool Value) {
    FShowRGBHint = Value;
    SetShowHint(Value);
}

int TExtColorCubePanel::CellAtPos(int X, int Y) const {
    const int R = FCubeSize.X;
    for (int I = 1; I <= 127; ++I) {
        const TPoint& C = FCubeCells[static_cast<size_t>(I)].Center;
        int Dx = X - C.X, Dy = Y - C.Y;
        if (Dx * Dx + Dy * Dy <= R * R) return I;
    }
    return -1;
}

void TExtColorCubePanel::DrawHexagon(TCanvas* C, TPoint P, int A, int B) {
    C->Polygon({TPoint{P.X - A, P.Y - B}, TPoint{P.X, P.Y - 2 * B}, TPoint{P.X + A, P.Y - B}, TPoint{P.X + A, P.Y + B},
                TPoint{P.X, P.Y + 2 * B}, TPoint{P.X - A, P.Y + B}});
}

void TExtColorCubePanel::DrawCell(int Index) {
    if (Index < 1 || Index > 127) return;
    TCanvas* C = Canvas();
    const TCubeCell& Cell = FCubeCells[static_cast<size_t>(Index)];
    C->Pen()->SetColor(Cell.Color);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Cell.Color);
    DrawHexagon(C, Cell.Center, FCubeSize.X, FCubeSize.Y);
    auto Outline = [&](TColor Outer) {
        C->Brush()->SetStyle(bsClear);
        C->Pen()->SetColor(Outer);
        DrawHexagon(C, Cell.Center, 5, 3);
        C->Pen()->SetColor(0xFFFFFF);
        DrawHexagon(C, Cell.Center, 4, 2);
    };
    if (Index == FHotIndex) Outline(0x0000FF);
    if (Index == FSelectedIndex) Outline(0x000000);
}

void TExtColorCubePanel::Paint() {
    PaintBackground();
    for (int I = 1; I <= 127; ++I) DrawCell(I);
}

void TExtColorCubePanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TExtCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
    int I = CellAtPos(X, Y);
    if (I < 1) return;
    FSelectedColor = FCubeCells[static_cast<size_t>(I)].Color;
    FSelectedIndex = I;
    Invalidate();
    if (OnSelect) OnSelect(this);
}

void TExtColorCubePanel::MouseMove(TShiftState Shift, int X, int Y) {
    TExtCustomColorSelectorPanel::MouseMove(Shift, X, Y);
    int I = CellAtPos(X, Y);
    if (I < 1) {
        // The hot cell keeps its frame; only the hint goes.
        if (FShowRGBHint) {
            SetHint(QString());
            if (Application) Application->CancelHint();
        }
        return;
    }
    if (I == FHotIndex) return;
    FHotIndex = I;
    Invalidate();
    if (FShowRGBHint) {
        TColor C = FCubeCells[static_cast<size_t>(I)].Color;
        SetHint(
            QStringLiteral("Red: %1,  Green: %2,  Blue: %3").arg(C & 0xFF).arg((C >> 8) & 0xFF).arg((C >> 16) & 0xFF));
        if (Application) Application->CancelHint();
    }
}

void TExtColorCubePanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TExtCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
    if (FOnShouldHide) FOnShouldHide(this);
}

// ---- spectrum -----------------------------------------------------------------------------------------

namespace {

// Lightness (per cent) at a row of the spectrum: white on top, the full colours in the middle
// rows, black at the bottom.
double RowLightness(int Row) {
    static const double Points[][2] = {{0, 99}, {24, 73}, {58, 50}, {80, 50}, {96, 39}, {112, 19}, {127, 2}};
    for (size_t I = 1; I < std::size(Points); ++I)
        if (Row <= Points[I][0]) {
            double T = (Row - Points[I - 1][0]) / (Points[I][0] - Points[I - 1][0]);
            return Points[I - 1][1] + T * (Points[I][1] - Points[I - 1][1]);
        }
    return 2;
}

} // namespace

QImage TExtColorSpectrumPanel::SpectrumBitmap() {
    QImage Img(128, 128, QImage::Format_RGB888);
    for (int Y = 0; Y < 128; ++Y) {
        double L = RowLightness(Y) / 100.0;
        for (int X = 0; X < 128; ++X) {
            double Hue = X * 360.0 / 128.0;
            Img.setPixelColor(X, Y, QColor::fromHslF(static_cast<float>(Hue / 360.0), 1.0f, static_cast<float>(L)));
        }
    }
    return Img;
}

QCursor TExtColorSpectrumPanel::PipetteCursor() {
    // A monochrome pipette: the tip at the lower left, the bulb at the upper right.
    QBitmap Shape(32, 32), Mask(32, 32);
    Shape.fill(Qt::color0);
    Mask.fill(Qt::color0);
    QPainterPath Body;
    Body.moveTo(1, 30);
    Body.lineTo(3, 24);
    Body.lineTo(17, 10);
    Body.lineTo(21, 14);
    Body.lineTo(7, 28);
    Body.closeSubpath();
    QPainterPath Bulb;
    Bulb.addEllipse(QRectF(18, 3, 10, 10));
    for (QBitmap* B : {&Mask, &Shape}) {
        QPainter P(B);
        P.setRenderHint(QPainter::Antialiasing, false);
        P.setPen(QPen(Qt::color1, B == &Mask ? 3 : 1));
        if (B == &Mask)
            P.setBrush(QBrush(Qt::color1));
        else
            P.setBrush(Qt::NoBrush);
        P.drawPath(Body);
        P.setBrush(QBrush(Qt::color1));
        P.drawPath(Bulb);
    }
    return QCursor(Shape, Mask, 1, 30);
}

TExtColorSpectrumPanel::TExtColorSpectrumPanel(TComponent* AOwner) : TExtCustomColorSelectorPanel(AOwner) {
    FBitmap = SpectrumBitmap();
    if (Screen) Screen->SetCursors(crExtPipette, PipetteCursor());
    FSpectrumImage = new TImage(this);
    FSpectrumImage->SetParent(this);
    FSpectrumImage->SetBounds(0, 0, 128, 128);
    FSpectrumImage->Picture()->Bitmap()->SetImage(FBitmap);
    FSpectrumImage->SetCursor(crExtPipette);
    FSpectrumImage->OnMouseMove = [this](TObject*, TShiftState, int X, int Y) { ImageMouseMove(X, Y); };
    FSpectrumImage->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int X, int Y) { ImageMouseDown(X, Y); };
    FSpectrumImage->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { ImageMouseUp(); };
    ArrangeSpectrum();
}

TExtColorSpectrumPanel::~TExtColorSpectrumPanel() = default;

void TExtColorSpectrumPanel::ArrangeSpectrum() {
    SetBounds(Left(), Top(), 150, 174);
    const int L = (150 - 128) / 2, T = 10;
    FSpectrumImage->SetBounds(L, T, 128, 128);
    const int B = T + 128;
    FSelectedRect = Rect(L - 1, B + 8, L + 64 - 2, B + 28);
    FHotRect = Rect(FSelectedRect.Right + 4, FSelectedRect.Top, L + 128 + 1, FSelectedRect.Bottom);
    FHotColor = clNone;
    Invalidate();
}

void TExtColorSpectrumPanel::PaintSwatch(const TRect& R, TColor Color) {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(0x808080);
    C->FrameRect(Rect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1));
    C->Pen()->SetColor(0xFFFFFF);
    if (Color == clNone)
        C->Brush()->SetStyle(bsClear);
    else
        C->Brush()->SetColor(Color);
    C->Rectangle(R);
}

void TExtColorSpectrumPanel::Paint() {
    PaintBackground();
    TCanvas* C = Canvas();
    TRect I = FSpectrumImage->BoundsRect();
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(0xFFFFFF);
    C->Rectangle(Rect(I.Left - 1, I.Top - 1, I.Right + 1, I.Bottom + 1));
    C->Pen()->SetColor(0x808080);
    C->Rectangle(Rect(I.Left - 2, I.Top - 2, I.Right + 2, I.Bottom + 2));
    PaintSwatch(FSelectedRect, FSelectedColor);
    PaintSwatch(FHotRect, FHotColor);
}

void TExtColorSpectrumPanel::ImageMouseMove(int X, int Y) {
    if (X < 0 || Y < 0 || X >= FBitmap.width() || Y >= FBitmap.height()) return;
    QColor P = FBitmap.pixelColor(X, Y);
    FHotColor = static_cast<TColor>(P.red() | (P.green() << 8) | (P.blue() << 16));
    InvalidateRect(Rect(FHotRect.Left - 1, FHotRect.Top - 1, FHotRect.Right + 1, FHotRect.Bottom + 1));
}

void TExtColorSpectrumPanel::ImageMouseDown(int X, int Y) {
    ImageMouseMove(X, Y);
    FSelectedColor = FHotColor;
    InvalidateRect(
        Rect(FSelectedRect.Left - 1, FSelectedRect.Top - 1, FSelectedRect.Right + 1, FSelectedRect.Bottom + 1));
    if (OnSelect) OnSelect(this);
}

void TExtColorSpectrumPanel::ImageMouseUp() {
    if (FOnShouldHide) FOnShouldHide(this);
}

void TExtColorSpectrumPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TExtCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
    if (FOnShouldHide) FOnShouldHide(this);
}
