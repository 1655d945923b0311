// The item selector (items, the inner panel, the scrolling container), the look of its items
// and the typed-letter search of the kinds that show it.
#include "grid/editors/ExtItemSelector.h"

#include "grid/base/ExtUtil.h"
#include "grid/editors/ExtDropDown.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/StateScope.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace {
// The twelve colours a named selection style presets, in the order of the table below.
struct TItemStylePreset {
    TColor ColorHot, ColorHotTo, ColorMirrorHot, ColorMirrorHotTo, BorderColorTop, BorderColorBottom, BorderColor,
        EdgeColor, ColorSelected, ColorSelectedTo, ColorMirrorSelected, ColorMirrorSelectedTo;
};

constexpr TItemStylePreset ItemStylePresets[] = {
    // scOffice2007
    {0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4, 0x15C1FB,
     0x68E3F9},
    // scWindowsVista
    {0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4, clNone, clNone},
    // scWindows7
    {0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2, clNone, clNone},
};
} // namespace

TItemAppearance::TItemAppearance(TPersistent* AOwner) : FOwner(AOwner) {
    FFont.SetName(QStringLiteral("Tahoma"));
    SetColorStyle(scOffice2007);
    FColorSelectedText = clBlack;
    FColorHotText = clBlack;
    FBorderColorHot = clNone;
    FBorderColorSelected = clNone;
}

void TItemAppearance::SetColorStyle(TSelectionColorStyle Value) {
    if (Value == FColorStyle) return;
    FColorStyle = Value;
    if (Value == scCustom) return;
    const TItemStylePreset& P = ItemStylePresets[Value - scOffice2007];
    FColorHot = P.ColorHot;
    FColorHotTo = P.ColorHotTo;
    FColorMirrorHot = P.ColorMirrorHot;
    FColorMirrorHotTo = P.ColorMirrorHotTo;
    FBorderColorTop = P.BorderColorTop;
    FBorderColorBottom = P.BorderColorBottom;
    FBorderColor = P.BorderColor;
    FEdgeColor = P.EdgeColor;
    FColorSelected = P.ColorSelected;
    FColorSelectedTo = P.ColorSelectedTo;
    FColorMirrorSelected = P.ColorMirrorSelected;
    FColorMirrorSelectedTo = P.ColorMirrorSelectedTo;
}

void TItemAppearance::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TItemAppearance*>(Source);
    if (!S) return;
    FColorHot = S->FColorHot;
    FColorHotTo = S->FColorHotTo;
    FColorMirrorHot = S->FColorMirrorHot;
    FColorMirrorHotTo = S->FColorMirrorHotTo;
    FBorderColorTop = S->FBorderColorTop;
    FBorderColorBottom = S->FBorderColorBottom;
    FBorderColor = S->FBorderColor;
    FEdgeColor = S->FEdgeColor;
    FColorSelected = S->FColorSelected;
    FColorSelectedTo = S->FColorSelectedTo;
    FColorMirrorSelected = S->FColorMirrorSelected;
    FColorMirrorSelectedTo = S->FColorMirrorSelectedTo;
    FFont.Assign(&S->FFont);
    SetColorStyle(S->FColorStyle);
    FColorSelectedText = S->FColorSelectedText;
    FColorHotText = S->FColorHotText;
    FBorderColorHot = S->FBorderColorHot;
    FBorderColorSelected = S->FBorderColorSelected;
}

// ---- items ----------------------------------------------------------------------------------
bool TSelectorItem::HasPicture() const { return FImage.Graphic() && !FImage.Graphic()->Empty(); }

void TSelectorItem::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TSelectorItem*>(Source);
    if (!S) return;
    SetCaption(S->Caption());
    SetColor(S->FColor);
    SetImageIndex(S->FImageIndex);
    FImage.Assign(&S->FImage);
    FEnabled = S->FEnabled;
    FHint = S->FHint;
}

// ---- the inner panel ------------------------------------------------------------------------
TCustomItemSelector::TCustomItemSelector(TComponent* AOwner)
    : TCustomControl(AOwner), FExtItemSelector(dynamic_cast<TExtCustomItemSelector*>(AOwner)) {
    if (!FExtItemSelector) throw Exception(QStringLiteral("Invalid parent"));
    SetParentColor(true);
}

int TCustomItemSelector::Columns() const { return FExtItemSelector->Columns(); }
TSelectorItems* TCustomItemSelector::Items() const { return FExtItemSelector->Items(); }
TSelectorType TCustomItemSelector::SelectorType() const { return FExtItemSelector->SelectorType(); }
TItemLayout TCustomItemSelector::ItemLayout() const { return FExtItemSelector->ItemLayout(); }
TCustomImageList* TCustomItemSelector::Images() const { return FExtItemSelector->Images(); }
TSelectionColorStyle TCustomItemSelector::ItemColorStyle() const {
    return FExtItemSelector->ItemAppearance()->ColorStyle();
}
TColor TCustomItemSelector::ItemColorHot() const { return FExtItemSelector->ItemAppearance()->ColorHot(); }
TColor TCustomItemSelector::ItemColorHotTo() const { return FExtItemSelector->ItemAppearance()->ColorHotTo(); }
TColor TCustomItemSelector::ItemColorSelected() const { return FExtItemSelector->ItemAppearance()->ColorSelected(); }
TColor TCustomItemSelector::ItemColorSelectedTo() const {
    return FExtItemSelector->ItemAppearance()->ColorSelectedTo();
}
int TCustomItemSelector::ColorBoxHeight() const { return FExtItemSelector->ColorBoxHeight(); }
int TCustomItemSelector::ColorBoxWidth() const { return FExtItemSelector->ColorBoxWidth(); }

bool TCustomItemSelector::Selectable(int Index) const {
    return Index >= 0 && Index < Items()->Count() && Items()->Items(Index)->FEnabled;
}

void TCustomItemSelector::GetContentRect(TRect& R) {
    R = ClientRect();
    R.Left += FOffSetX;
    R.Right -= FOffSetX;
    R.Top += FOffSetY;
    R.Bottom -= FOffSetY;
}

void TCustomItemSelector::GetItemSize(TSize& ASize) {
    if (FExtItemSelector->OnItemSize) {
        FExtItemSelector->OnItemSize(this, ASize);
        return;
    }
    int BW = 0, BH = 0;
    if (SelectorType() == stColor) {
        BW = ColorBoxWidth();
        BH = ColorBoxHeight();
    }
    TCanvas C;
    C.Font()->Assign(FExtItemSelector->ItemAppearance()->Font());
    int CW = 0, CH = 0;
    TCustomImageList* Img = Images();
    for (int I = 0; I < Items()->Count(); ++I) {
        TSelectorItem* It = Items()->Items(I);
        if (SelectorType() == stImage) {
            if (It->HasPicture()) {
                BW = std::max(BW, It->Image()->Width());
                BH = std::max(BH, It->Image()->Height());
            } else if (Img && It->ImageIndex() >= 0) {
                BW = std::max(BW, Img->Width());
                BH = std::max(BH, Img->Height());
            }
        }
        const TSize S = DrawDropDownHTML(&C, It->Caption(), Rect(0, 0, 1000, 500), Img, true, true);
        CW = std::max(CW, S.cx);
        CH = std::max(CH, S.cy);
    }
    if (CW > 0) CW += 4;
    switch (ItemLayout()) {
        case ilCaptionLeft:
        case ilCaptionRight: {
            int W = 2 * FItemOffSetX;
            if (BW > 0) W += BW;
            if (BW > 0 && CW > 0) W += FCaptionGap;
            if (CW > 0) W += CW;
            ASize = TSize{W, std::max(CH, BH) + 2 * FItemOffSetY};
            break;
        }
        case ilCaptionTop:
        case ilCaptionBottom: {
            int H = 2 * FItemOffSetY;
            if (BH > 0) H += BH;
            if (BH > 0 && CH >= 1) H += FCaptionGap;
            if (CH >= 1) H += CH;
            ASize = TSize{std::max(CW, BW) + 2 * FItemOffSetX, H};
            break;
        }
    }
}

void TCustomItemSelector::ArrangeItems() {
    TSelectorItems* L = Items();
    if (L->Count() == 0) {
        SetBounds(Left(), Top(), 100, 50);
        FExtItemSelector->UpdateScrollBars();
        return;
    }
    FItemHot = -1;
    TSize Size{0, 0};
    GetItemSize(Size);
    const int W = Size.cx, H = Size.cy;
    TRect R;
    GetContentRect(R);
    int X = R.Left, Y = R.Top, Column = 0, Widest = 0;
    for (int I = 0; I < L->Count(); ++I) {
        L->Items(I)->FRect = Rect(X, Y, X + W, Y + H);
        ++Column;
        if (I == L->Count() - 1) break;
        if (Column < Columns()) {
            X += W;
        } else {
            Widest = std::max(Widest, X);
            Y += H;
            X = R.Left;
            Column = 0;
        }
    }
    SetBounds(Left(), Top(), std::max(Widest, X) + W + R.Left, Y + H + R.Top);
    FExtItemSelector->UpdateScrollBars();
    Invalidate();
}

void TCustomItemSelector::GetItemRect(int Index, TRect& R) const {
    if (Index < 0 || Index >= Items()->Count()) {
        R = Rect(-1, -1, -1, -1);
        return;
    }
    R = Items()->Items(Index)->FRect;
}

int TCustomItemSelector::ItemAtPos(int X, int Y) const {
    for (int I = 0; I < Items()->Count(); ++I) {
        const TRect& R = Items()->Items(I)->FRect;
        if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return I;
    }
    return -1;
}

void TCustomItemSelector::InvalidateItem(int Index) {
    if (Index < 0 || Index >= Items()->Count()) return;
    InvalidateRect(Items()->Items(Index)->FRect);
}

void TCustomItemSelector::SetItemIndex(int Value) {
    // An index past the last item names nothing: it would stand as a selection no item shows.
    if (Value >= Items()->Count()) return;
    if (Value >= 0 && !Items()->Items(Value)->FEnabled) return;
    if (FItemIndex >= 0 && Value != FItemIndex) {
        const int Old = FItemIndex;
        FItemIndex = -1;
        InvalidateItem(Old);
    }
    FItemIndex = Value;
    if (Value < 0) return;
    InvalidateItem(Value);
    if (FOnItemSelect) FOnItemSelect(this);
}

void TCustomItemSelector::SetItemHot(int Index) {
    if (Index == FItemHot) return;
    if (Index >= Items()->Count()) return;
    if (Index >= 0 && !Items()->Items(Index)->FEnabled) return;
    if (FItemHot >= 0) {
        const int Old = FItemHot;
        FItemHot = -1;
        InvalidateItem(Old);
    }
    FItemHot = Index;
    if (Index >= 0) InvalidateItem(Index);
}

std::optional<int> SelectTarget(TSelectMove Move, int Index, int Count) {
    if (Count <= 0) return std::nullopt;
    switch (Move) {
        case smFirst: return 0;
        case smLast: return Count - 1;
        case smNext:
            if (Index < 0) return 0;
            if (Index + 1 < Count) return Index + 1;
            return std::nullopt;
        case smPrevious:
            if (Index < 0) return 0;
            if (Index > 0) return Index - 1;
            return std::nullopt;
    }
    return std::nullopt;
}

void TCustomItemSelector::Select(TSelectMove Move) {
    if (const auto To = SelectTarget(Move, FItemIndex, Items()->Count())) SetItemIndex(*To);
}

void TCustomItemSelector::Hot(TSelectMove Move) {
    if (const auto To = SelectTarget(Move, FItemHot, Items()->Count())) SetItemHot(*To);
}

bool TCustomItemSelector::LookupItem(const QString& S) {
    if (S.isEmpty()) return false;
    for (int I = 0; I < Items()->Count(); ++I) {
        TSelectorItem* It = Items()->Items(I);
        // A disabled item cannot take the selection; the next match can.
        if (!It->FEnabled) continue;
        if (StripHTMLTags(It->Caption()).trimmed().toUpper().startsWith(S)) {
            SetItemIndex(I);
            return true;
        }
    }
    return false;
}

void TCustomItemSelector::DrawItems(TCanvas* Canvas) {
    for (int I = 0; I < Items()->Count(); ++I) DrawItem(I, Canvas);
}

void TCustomItemSelector::Paint() {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FExtItemSelector->Color());
    C->FillRect(ClientRect());
    DrawItems(C);
}

void TCustomItemSelector::DrawItem(int Index, TCanvas* Canvas) {
    if (!Canvas || !FExtItemSelector || Index < 0 || Index >= Items()->Count()) return;
    TSelectorItem* It = Items()->Items(Index);
    const TRect Cell = It->FRect;
    if (Cell.Left < 0 && Cell.Right < 0) return;
    TItemAppearance* A = FExtItemSelector->ItemAppearance();
    const TColor PanelColor = FExtItemSelector->Color();
    const bool Selected = Index == FItemIndex, Hot = Index == FItemHot;

    // background
    TColor Border = A->BorderColor(), Top = A->BorderColorTop(), Bottom = A->BorderColorBottom(), Edge = A->EdgeColor();
    TColor From = clNone, To = clNone, Mirror = clNone, MirrorTo = clNone;
    auto Look = [&](TColor F, TColor T, TColor M, TColor MT, TColor B) {
        From = F;
        To = T;
        Mirror = M;
        MirrorTo = MT;
        if (B != clNone) {
            Border = B;
            Top = Bottom = Edge = clNone;
        }
    };
    if (Selected)
        Look(A->ColorSelected(), A->ColorSelectedTo(), A->ColorMirrorSelected(), A->ColorMirrorSelectedTo(),
             A->BorderColorSelected());
    else if (Hot)
        Look(A->ColorHot(), A->ColorHotTo(), A->ColorMirrorHot(), A->ColorMirrorHotTo(), A->BorderColorHot());
    Canvas->Brush()->SetStyle(bsSolid);
    if (!Selected && !Hot) {
        Canvas->Brush()->SetColor(PanelColor);
        Canvas->FillRect(Cell);
    } else if (Top == clNone) {
        DrawFramedGradient(Canvas, Cell, From, gdVertical, 1, Border, To);
    } else {
        DrawGradientButtonFace(Canvas, From, To, Mirror, MirrorTo, Top, Bottom, Border, Edge, PanelColor, Cell, 0);
    }
    if (FExtItemSelector->OnDrawItem) {
        FExtItemSelector->OnDrawItem(this, Canvas, Cell, Index);
        return;
    }

    // content size
    TCustomImageList* Img = Images();
    enum { cNone, cBox, cPicture, cImage } Kind = cNone;
    int W = 0, H = 0;
    if (SelectorType() == stColor) {
        Kind = cBox;
        W = ColorBoxWidth();
        H = ColorBoxHeight();
    } else if (It->HasPicture()) {
        Kind = cPicture;
        W = It->Image()->Width();
        H = It->Image()->Height();
    } else if (Img && It->ImageIndex() >= 0) {
        Kind = cImage;
        W = Img->Width();
        H = Img->Height();
    }
    TRect T = Cell;
    T.Left += FItemOffSetX;
    T.Right -= FItemOffSetX;
    T.Top += FItemOffSetY;
    T.Bottom -= FItemOffSetY;
    TRect B = T;
    Canvas->Font()->Assign(A->Font());
    if (Selected)
        Canvas->Font()->SetColor(A->ColorSelectedText());
    else if (Hot)
        Canvas->Font()->SetColor(A->ColorHotText());

    auto Content = [&](int X, int Y) {
        switch (Kind) {
            case cBox:
                Canvas->Pen()->SetColor(clBlack);
                Canvas->Pen()->SetWidth(1);
                if (It->Color() == clNone) {
                    Canvas->Brush()->SetStyle(bsClear);
                } else {
                    Canvas->Brush()->SetStyle(bsSolid);
                    Canvas->Brush()->SetColor(It->Color());
                }
                Canvas->Rectangle(Rect(X, Y, X + W, Y + H));
                Canvas->Brush()->SetStyle(bsSolid);
                break;
            case cPicture: It->Image()->Graphic()->Draw(Canvas, Rect(X, Y, X + W, Y + H)); break;
            case cImage: Img->Draw(Canvas, X, Y, It->ImageIndex(), It->FEnabled); break;
            case cNone: break;
        }
    };
    // Colour boxes stand at the top of a side-by-side cell; pictures and images are centred.
    auto ContentY = [&](const TRect& In) { return Kind == cBox ? In.Top : In.Top + (In.Height() - H) / 2; };
    const QString Caption = It->Caption();
    auto Measure = [&](const TRect& In) { return DrawDropDownHTML(Canvas, Caption, In, Img, It->FEnabled, true); };
    auto Draw = [&](const TRect& In) { DrawDropDownHTML(Canvas, Caption, In, Img, It->FEnabled); };
    auto Centre = [&](TRect& In, const TSize& S) {
        if (S.cy < In.Height()) In.Top += (In.Height() - S.cy) / 2;
    };

    switch (ItemLayout()) {
        case ilCaptionLeft:
            if (!Caption.isEmpty()) {
                T.Right -= W;
                const TSize S = Measure(T);
                Centre(T, S);
                Draw(T);
                B.Left = T.Left + S.cx + FCaptionGap;
            }
            Content(B.Left, ContentY(B));
            break;
        case ilCaptionRight:
            Content(B.Left, ContentY(B));
            if (Kind != cNone) T.Left = B.Left + W + FCaptionGap;
            if (!Caption.isEmpty()) {
                const TSize S = Measure(T);
                Centre(T, S);
                Draw(T);
            }
            break;
        case ilCaptionTop:
            if (!Caption.isEmpty()) {
                T.Bottom -= H;
                const TSize S = Measure(T);
                Draw(T);
                B.Top = T.Top + S.cy + FCaptionGap;
            } else {
                B.Top += (B.Height() - H) / 2;
            }
            B.Left += (B.Width() - W) / 2;
            Content(B.Left, B.Top);
            break;
        case ilCaptionBottom:
            if (Caption.isEmpty()) B.Top += (B.Height() - H) / 2;
            B.Left += (B.Width() - W) / 2;
            Content(B.Left, B.Top);
            T.Top = B.Top + H + FCaptionGap;
            if (!Caption.isEmpty()) Draw(T);
            break;
    }
}

void TCustomItemSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const int I = ItemAtPos(X, Y);
    if (Selectable(I)) SetItemIndex(I);
}

void TCustomItemSelector::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    const int I = ItemAtPos(X, Y);
    if (I < 0) {
        if (FItemHot >= 0) SetItemHot(-1);
        return;
    }
    if (I == FItemHot) return;
    SetItemHot(Selectable(I) ? I : -1);
    SetHint(Items()->Items(I)->Hint());
    if (Application) Application->CancelHint();
}

void TCustomItemSelector::MouseLeave() {
    TCustomControl::MouseLeave();
    if (FItemHot >= 0) SetItemHot(-1);
}

// ---- the container --------------------------------------------------------------------------
TExtCustomItemSelector::TExtCustomItemSelector(TComponent* AOwner)
    : TCustomControl(AOwner), FItems(std::make_unique<TSelectorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)), FVBar(new QScrollBar(Qt::Vertical, this)),
      FHBar(new QScrollBar(Qt::Horizontal, this)) {
    FItems->OnChange = [this](TObject*) { UpdateSelectorPanel(); };
    FItemAppearance->OnChange = [](TObject*) {};
    FItemAppearance->SetColorStyle(scOffice2007);
    SetColor(clWindow);
    for (QScrollBar* Bar : {FVBar, FHBar}) {
        Bar->hide();
        Bar->setFocusPolicy(Qt::NoFocus);
        Bar->setSingleStep(8);
        Bar->setTracking(true);
    }
    QObject::connect(FVBar, &QScrollBar::valueChanged, FVBar, [this](int V) {
        if (!FUpdatingBars) TControl::Guard(this, [&] { SetVertScrollPos(V); });
    });
    QObject::connect(FHBar, &QScrollBar::valueChanged, FHBar, [this](int V) {
        if (!FUpdatingBars) TControl::Guard(this, [&] { SetHorzScrollPos(V); });
    });
}

TExtCustomItemSelector::~TExtCustomItemSelector() {
    Destroying();
    if (FImages) FImages->RemoveFreeNotification(this);
}

void TExtCustomItemSelector::AfterConstruction() {
    TCustomControl::AfterConstruction();
    CreateSelectorPanel();
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::CreateSelectorPanel() {
    if (FItemSelectorPanel) return;
    FItemSelectorPanel = new TCustomItemSelector(this);
    FItemSelectorPanel->SetParent(this);
    FItemSelectorPanel->AfterConstruction();
    FItemSelectorPanel->FOnItemSelect = [this](TObject*) {
        if (OnItemSelect) OnItemSelect(this);
    };
    FVBar->raise();
    FHBar->raise();
}

void TExtCustomItemSelector::UpdateSelectorPanel() {
    if (FItemSelectorPanel) FItemSelectorPanel->ArrangeItems();
}

int TExtCustomItemSelector::ScrollBarWidth() { return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

bool TExtCustomItemSelector::VertScrollBarVisible() const { return !FVBar->isHidden(); }
bool TExtCustomItemSelector::HorzScrollBarVisible() const { return !FHBar->isHidden(); }
int TExtCustomItemSelector::ViewWidth() const {
    return std::max(0, Width() - (VertScrollBarVisible() ? FVBar->width() : 0));
}
int TExtCustomItemSelector::ViewHeight() const {
    return std::max(0, Height() - (HorzScrollBarVisible() ? FHBar->height() : 0));
}

// The bars show as the platform's automatic ones do: each when the panel is larger than what
// the other leaves of the window.
void TExtCustomItemSelector::UpdateScrollBars() {
    if (!FItemSelectorPanel || FUpdatingBars || ComponentState().Contains(csDestroying)) return;
    const TStateScope<bool> Updating(FUpdatingBars, true);
    const int PW = FItemSelectorPanel->Width(), PH = FItemSelectorPanel->Height();
    const int BW = ScrollBarWidth();
    bool V = PH > Height();
    bool H = PW > Width() - (V ? BW : 0);
    if (H && !V) V = PH > Height() - BW;
    const int VW = std::max(0, Width() - (V ? BW : 0)), VH = std::max(0, Height() - (H ? BW : 0));
    FVPos = V ? std::clamp(FVPos, 0, std::max(0, PH - VH)) : 0;
    FHPos = H ? std::clamp(FHPos, 0, std::max(0, PW - VW)) : 0;
    FVBar->setGeometry(VW, 0, BW, VH);
    FVBar->setRange(0, std::max(0, PH - VH));
    FVBar->setPageStep(std::max(1, VH));
    FVBar->setValue(FVPos);
    FVBar->setVisible(V);
    FHBar->setGeometry(0, VH, VW, BW);
    FHBar->setRange(0, std::max(0, PW - VW));
    FHBar->setPageStep(std::max(1, VW));
    FHBar->setValue(FHPos);
    FHBar->setVisible(H);
    FItemSelectorPanel->move(-FHPos, -FVPos);
    FVBar->raise();
    FHBar->raise();
}

void TExtCustomItemSelector::SetVertScrollPos(int Value) {
    if (!FItemSelectorPanel) return;
    Value = std::clamp(Value, 0, std::max(0, FItemSelectorPanel->Height() - ViewHeight()));
    if (!VertScrollBarVisible()) Value = 0;
    if (Value == FVPos) return;
    FVPos = Value;
    UpdateScrollBars();
}

void TExtCustomItemSelector::SetHorzScrollPos(int Value) {
    if (!FItemSelectorPanel) return;
    Value = std::clamp(Value, 0, std::max(0, FItemSelectorPanel->Width() - ViewWidth()));
    if (!HorzScrollBarVisible()) Value = 0;
    if (Value == FHPos) return;
    FHPos = Value;
    UpdateScrollBars();
}

void TExtCustomItemSelector::resizeEvent(QResizeEvent* E) {
    TCustomControl::resizeEvent(E);
    UpdateScrollBars();
}

void TExtCustomItemSelector::Paint() {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(ClientRect());
}

void TExtCustomItemSelector::SelectFirst() {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->SelectFirst();
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

void TExtCustomItemSelector::SelectLast() {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->SelectLast();
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

void TExtCustomItemSelector::SelectNext() {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->SelectNext();
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

void TExtCustomItemSelector::SelectPrevious() {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->SelectPrevious();
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

void TExtCustomItemSelector::HotNext() {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->HotNext();
    ScrollItemInView(FItemSelectorPanel->ItemHot());
}

void TExtCustomItemSelector::HotPrevious() {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->HotPrevious();
    ScrollItemInView(FItemSelectorPanel->ItemHot());
}

bool TExtCustomItemSelector::LookupItem(const QString& S) {
    return FItemSelectorPanel && FItemSelectorPanel->LookupItem(S);
}

int TExtCustomItemSelector::ItemIndex() const { return FItemSelectorPanel ? FItemSelectorPanel->ItemIndex() : -1; }

void TExtCustomItemSelector::SetItemIndex(int Value) {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->SetItemIndex(Value);
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

int TExtCustomItemSelector::ItemHot() const { return FItemSelectorPanel ? FItemSelectorPanel->ItemHot() : -1; }

void TExtCustomItemSelector::ScrollItemInView(int Index) {
    if (!FItemSelectorPanel || Index < 0 || Index >= FItems->Count() || !VertScrollBarVisible()) return;
    TRect R = FItems->Items(Index)->FRect;
    R.Top += FItemSelectorPanel->Top();
    R.Bottom += FItemSelectorPanel->Top();
    const int ClientH = ViewHeight();
    if (R.Top < 0) {
        SetVertScrollPos(FVPos + R.Top);
    } else if (R.Bottom > ClientH) {
        if (R.Height() > ClientH) R.Bottom = R.Top + ClientH;
        SetVertScrollPos(FVPos + R.Bottom - ClientH);
    }
}

int TExtCustomItemSelector::GetVisibleItemCount() const {
    if (!FItemSelectorPanel || FItems->Count() == 0) return 0;
    const int H = FItems->Items(0)->FRect.Height();
    // A cell size from OnItemSize may be empty: then no whole cell is in view.
    if (H <= 0) return 0;
    return ViewHeight() / H * FColumns;
}

void TExtCustomItemSelector::GetSelectorPanelSize(int& Width, int& Height) const {
    if (!FItemSelectorPanel) {
        Width = 100;
        Height = 50;
        return;
    }
    Width = FItemSelectorPanel->Width();
    Height = FItemSelectorPanel->Height();
}

void TExtCustomItemSelector::SetSelectorType(TSelectorType Value) {
    if (Value == FSelectorType) return;
    FSelectorType = Value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColumns(int Value) {
    if (Value < 1 || Value == FColumns) return;
    FColumns = Value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColorBoxWidth(int Value) {
    if (Value == FColorBoxWidth) return;
    FColorBoxWidth = Value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColorBoxHeight(int Value) {
    if (Value == FColorBoxHeight) return;
    FColorBoxHeight = Value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetImages(TCustomImageList* Value) {
    if (Value == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages && !ComponentState().Contains(csDestroying)) FImages = nullptr;
}

void TExtCustomItemSelector::WndProc(TMessage& M) {
    if (M.Msg == WM_VSCROLL) {
        const int Line = FVBar->singleStep();
        switch (LoWord(M.WParam)) {
            case SB_LINEUP: SetVertScrollPos(FVPos - Line); break;
            case SB_LINEDOWN: SetVertScrollPos(FVPos + Line); break;
            case SB_PAGEUP: SetVertScrollPos(FVPos - ViewHeight()); break;
            case SB_PAGEDOWN: SetVertScrollPos(FVPos + ViewHeight()); break;
            // Dragging the thumb scrolls at once, not only when it is let go.
            case SB_THUMBPOSITION:
            case SB_THUMBTRACK: SetVertScrollPos(int(int16_t(HiWord(M.WParam)))); break;
            case SB_TOP: SetVertScrollPos(0); break;
            case SB_BOTTOM: SetVertScrollPos(FItemSelectorPanel ? FItemSelectorPanel->Height() : 0); break;
            default: break;
        }
        M.Result = 0;
        return;
    }
    TCustomControl::WndProc(M);
}

// ---- typed-letter search --------------------------------------------------------------------
TItemKeySearch::TItemKeySearch() : FTimer(std::make_unique<TTimer>(nullptr)) {
    FTimer->SetEnabled(false);
    FTimer->SetInterval(500);
    FTimer->OnTimer = [this](TObject*) { Tick(); };
}

QString TItemKeySearch::Add(QChar Ch) {
    const uint64_t Now = Clock().TickCount();
    if (!FText.isEmpty() && Now - FStart >= 500) Stop();
    if (FText.isEmpty()) FStart = Now;
    FText += QString(Ch).toUpper();
    FTimer->SetEnabled(true);
    return FText;
}

void TItemKeySearch::Stop() {
    FTimer->SetEnabled(false);
    FText.clear();
}

void TItemKeySearch::Tick() {
    // A timer may fire a little early; the burst is over only when the clock says so.
    if (Clock().TickCount() - FStart < 500) return;
    Stop();
}
