// The colour picker drop-down: its colour list, the four popup styles, choosing, cancelling,
// keys, the wheel and the painting of the edit part.
#include "grid/editors/ExtColorPickerDropDown.h"

#include "platform/rtl/StateScope.h"
#include "platform/rtl/SysUtils.h"

#include <QColor>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>

// ---- colour entries -------------------------------------------------------------------------
void TColorItem::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TColorItem*>(Source);
    if (!S) return;
    SetCaption(S->Caption());
    SetColor(S->FColor);
    FEnabled = S->FEnabled;
    FHint = S->FHint;
}

// ---- value texts ----------------------------------------------------------------------------
namespace {
// The named web colours; where two names share a colour, the first one here is shown.
const char* const WebColorNames[] = {
    "AliceBlue",
    "AntiqueWhite",
    "Aqua",
    "Aquamarine",
    "Azure",
    "Beige",
    "Bisque",
    "Black",
    "BlanchedAlmond",
    "Blue",
    "BlueViolet",
    "Brown",
    "BurlyWood",
    "CadetBlue",
    "Chartreuse",
    "Chocolate",
    "Coral",
    "CornflowerBlue",
    "Cornsilk",
    "Crimson",
    "Cyan",
    "DarkBlue",
    "DarkCyan",
    "DarkGoldenrod",
    "DarkGray",
    "DarkGreen",
    "DarkKhaki",
    "DarkMagenta",
    "DarkOliveGreen",
    "DarkOrange",
    "DarkOrchid",
    "DarkRed",
    "DarkSalmon",
    "DarkSeaGreen",
    "DarkSlateBlue",
    "DarkSlateGray",
    "DarkTurquoise",
    "DarkViolet",
    "DeepPink",
    "DeepSkyBlue",
    "DimGray",
    "DodgerBlue",
    "Firebrick",
    "FloralWhite",
    "ForestGreen",
    "Fuchsia",
    "Gainsboro",
    "GhostWhite",
    "Gold",
    "Goldenrod",
    "Gray",
    "Green",
    "GreenYellow",
    "Honeydew",
    "HotPink",
    "IndianRed",
    "Indigo",
    "Ivory",
    "Khaki",
    "Lavender",
    "LavenderBlush",
    "LawnGreen",
    "LemonChiffon",
    "LightBlue",
    "LightCoral",
    "LightCyan",
    "LightGoldenrodYellow",
    "LightGreen",
    "LightGrey",
    "LightPink",
    "LightSalmon",
    "LightSeaGreen",
    "LightSkyBlue",
    "LightSlateGray",
    "LightSteelBlue",
    "LightYellow",
    "Lime",
    "LimeGreen",
    "Linen",
    "Magenta",
    "Maroon",
    "MediumAquamarine",
    "MediumBlue",
    "MediumOrchid",
    "MediumPurple",
    "MediumSeaGreen",
    "MediumSlateBlue",
    "MediumSpringGreen",
    "MediumTurquoise",
    "MediumVioletRed",
    "MidnightBlue",
    "MintCream",
    "MistyRose",
    "Moccasin",
    "NavajoWhite",
    "Navy",
    "OldLace",
    "Olive",
    "OliveDrab",
    "Orange",
    "OrangeRed",
    "Orchid",
    "PaleGoldenrod",
    "PaleGreen",
    "PaleTurquoise",
    "PaleVioletRed",
    "PapayaWhip",
    "PeachPuff",
    "Peru",
    "Pink",
    "Plum",
    "PowderBlue",
    "Purple",
    "Red",
    "RosyBrown",
    "RoyalBlue",
    "SaddleBrown",
    "Salmon",
    "SandyBrown",
    "SeaGreen",
    "Seashell",
    "Sienna",
    "Silver",
    "SkyBlue",
    "SlateBlue",
    "SlateGray",
    "Snow",
    "SpringGreen",
    "SteelBlue",
    "Tan",
    "Teal",
    "Thistle",
    "Tomato",
    "Turquoise",
    "Violet",
    "Wheat",
    "White",
    "WhiteSmoke",
    "Yellow",
    "YellowGreen",
};

QString WebColorName(TColor RGBColor) {
    for (const char* Name : WebColorNames) {
        const QColor C(QString::fromLatin1(Name).toLower());
        if (C.isValid() && RGB(C.red(), C.green(), C.blue()) == RGBColor)
            return QStringLiteral("clWeb") + QString::fromLatin1(Name);
    }
    return QString();
}
} // namespace

QString ColorValueString(TColor Color, TColorValueText Kind) {
    auto Hex2 = [](int V) { return QStringLiteral("%1").arg(V, 2, 16, QLatin1Char('0')).toUpper(); };
    const int C = ColorToRGB(Color);
    const int R = GetRValue(C), G = (C >> 8) & 0xFF, B = (C >> 16) & 0xFF;
    switch (Kind) {
        case cvtNone: return QString();
        case cvtHex: return QStringLiteral("%1").arg(uint32_t(Color), 6, 16, QLatin1Char('0')).toUpper();
        case cvtWebName: {
            const QString Name = WebColorName(TColor(C));
            if (!Name.isEmpty()) return Name;
            return QStringLiteral("#") + Hex2(R) + Hex2(G) + Hex2(B);
        }
        case cvtHTML: return QStringLiteral("#") + Hex2(R) + Hex2(G) + Hex2(B);
        case cvtRGB: return QStringLiteral("Red:%1,Green:%2,Blue:%3").arg(R).arg(G).arg(B);
    }
    return QString();
}

// ---- creation -------------------------------------------------------------------------------
TExtColorPickerDropDown::TExtColorPickerDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FColors(std::make_unique<TColorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)) {
    FColors->OnChange = [](TObject*) {};
}

TExtColorPickerDropDown::~TExtColorPickerDropDown() = default;

void TExtColorPickerDropDown::AfterConstruction() {
    TExtCustomDropDown::AfterConstruction();
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    FDesignTime = ComponentState().Contains(csDesigning) && Owner() && !Owner()->ComponentState().Contains(csReading) &&
        !Owner()->ComponentState().Contains(csLoading);
    SetDropDownHeight(200);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetCursor(crArrow);
}

void TExtColorPickerDropDown::AddDefaultColors() {
    static const struct {
        const char* Caption;
        TColor Color;
    } Defaults[] = {
        {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
        {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
        {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
        {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
    };
    for (const auto& D : Defaults) {
        TColorItem* I = FColors->Add();
        I->SetCaption(QString::fromLatin1(D.Caption));
        I->SetColor(D.Color);
    }
}

// ---- value ----------------------------------------------------------------------------------
void TExtColorPickerDropDown::SetItemIndex(int Value) {
    if (Value >= FColors->Count()) return;
    FItemIndex = Value;
    // The field, not the setter: with two entries of one colour the setter would pick the first.
    if (Value >= 0) FSelectedColor = FColors->Items(Value)->Color();
    Invalidate();
    Native()->update();
    if (OnSelect) OnSelect(this);
}

void TExtColorPickerDropDown::SetSelectedColor(TColor Value) {
    if (Value == FSelectedColor) return;
    FSelectedColor = Value;
    int Found = -1;
    for (int I = 0; I < FColors->Count() && Found < 0; ++I)
        if (FColors->Items(I)->Color() == Value) Found = I;
    if (Found >= 0) {
        SetItemIndex(Found);
    } else {
        // An entry kept from before would put its caption beside a colour it does not have.
        FItemIndex = -1;
    }
    Invalidate();
    Native()->update();
}

void TExtColorPickerDropDown::SetShowText(bool Value) {
    if (Value == FShowText) return;
    FShowText = Value;
    Native()->update();
}

void TExtColorPickerDropDown::SetColorValueText(TColorValueText Value) {
    FColorValueText = Value;
    Native()->update();
}

QString TExtColorPickerDropDown::SelectedColorText() const {
    if (FColorSelectionStyle == csList && FItemIndex >= 0 && FItemIndex < FColors->Count())
        return FColors->Items(FItemIndex)->Caption();
    return ColorValueString(FSelectedColor, FColorValueText);
}

// ---- popup controls -------------------------------------------------------------------------
void TExtColorPickerDropDown::PreparePanel(TControl* C) {
    C->SetBounds(0, 0, C->Width(), C->Height());
    C->SetColor(DropDownColor());
    SetControl(C);
}

void TExtColorPickerDropDown::PrepareList() {
    if (!DropDownForm()) return;
    if (FPopup.Create(stColor)) FPopup.Selector()->UpdateSelectorPanel();
    PreparePanel(FPopup.Selector());
}

void TExtColorPickerDropDown::PrepareDiscrete() {
    if (!DropDownForm()) return;
    if (!FColorSelector) {
        FColorSelector = Create<TCustomColorSelector>(this, DropDownForm());
        FColorSelector->LoadPalette();
    }
    PreparePanel(FColorSelector);
}

void TExtColorPickerDropDown::PrepareCube() {
    if (!DropDownForm()) return;
    if (!FColorCubePanel) FColorCubePanel = Create<TExtColorCubePanel>(this, DropDownForm());
    PreparePanel(FColorCubePanel);
}

void TExtColorPickerDropDown::PrepareSpectrum() {
    if (!DropDownForm()) return;
    if (!FSpectrumPanel) FSpectrumPanel = Create<TExtColorSpectrumPanel>(this, DropDownForm());
    PreparePanel(FSpectrumPanel);
}

void TExtColorPickerDropDown::HidePanels(TControl* Keep) {
    for (TControl* C :
         std::initializer_list<TControl*>{FPopup.Selector(), FColorSelector, FColorCubePanel, FSpectrumPanel})
        if (C && C != Keep) {
            C->SetVisible(false);
            C->SetAlign(alNone);
        }
}

void TExtColorPickerDropDown::CreateDropDownForm() {
    TExtCustomDropDown::CreateDropDownForm();
    switch (FColorSelectionStyle) {
        case csList: PrepareList(); break;
        case csDiscrete: PrepareDiscrete(); break;
        case csColorCube: PrepareCube(); break;
        case csSpectrum: PrepareSpectrum(); break;
    }
}

void TExtColorPickerDropDown::DropDownFormDestroyed() {
    // They were children of the popup window and went with it.
    FPopup.Forget();
    FColorCubePanel = nullptr;
    FSpectrumPanel = nullptr;
    FColorSelector = nullptr;
}

void TExtColorPickerDropDown::FillList() {
    TExtCustomItemSelector* S = FPopup.Selector();
    if (!S) return;
    S->SetColorBoxWidth(FColorBoxWidth);
    S->SetColorBoxHeight(FColorBoxHeight);
    FPopup.Fill(
        {FColumns, Images(), FLayout, DropDownColor(), FItemAppearance.get()},
        [this](TSelectorItems* L) {
            for (int I = 0; I < FColors->Count(); ++I) {
                TColorItem* C = FColors->Items(I);
                TSelectorItem* It = L->Add();
                It->SetCaption(C->Caption());
                It->SetColor(C->Color());
                It->SetHint(C->Hint());
                It->FEnabled = C->FEnabled;
            }
        },
        FItemIndex, [this](int Index) { SetItemIndex(Index); });
    S->SetShowHint(ShowHint());
}

void TExtColorPickerDropDown::FillListIfStale() {
    if (FPopup.Selector() && FPopup.Selector()->Items()->Count() != FColors->Count()) FillList();
}

void TExtColorPickerDropDown::OpenStyle() {
    switch (FColorSelectionStyle) {
        case csList:
            PrepareList();
            if (!FPopup.Selector()) break;
            HidePanels(FPopup.Selector());
            FPopup.Selector()->SetVisible(true);
            FillList();
            if (OnDrawColor)
                FPopup.Selector()->OnDrawItem = [this](TObject*, TCanvas* C, TRect R, int Index) {
                    if (OnDrawColor) OnDrawColor(this, C, R, Index);
                };
            else
                FPopup.Selector()->OnDrawItem = nullptr;
            break;
        case csDiscrete:
            PrepareDiscrete();
            if (!FColorSelector) break;
            HidePanels(FColorSelector);
            FColorSelector->OnItemSelect = nullptr;
            FColorSelector->SetAlign(alNone);
            FColorSelector->SetSelectedColor(FSelectedColor);
            FColorSelector->ArrangeItems();
            FColorSelector->OnItemSelect = [this](TObject*) { DiscreteChoice(); };
            FColorSelector->SetItemColorStyle(SelectionColorStyle());
            FColorSelector->SetVisible(true);
            break;
        case csColorCube:
            PrepareCube();
            if (!FColorCubePanel) break;
            HidePanels(FColorCubePanel);
            FColorCubePanel->SetAlign(alNone);
            FColorCubePanel->SetSelectedColor(FSelectedColor);
            FColorCubePanel->InitCubeCells();
            FColorCubePanel->ResetCube();
            FColorCubePanel->OnSelect = [this](TObject*) { PanelChoice(FColorCubePanel->SelectedColor()); };
            FColorCubePanel->SetVisible(true);
            break;
        case csSpectrum:
            PrepareSpectrum();
            if (!FSpectrumPanel) break;
            HidePanels(FSpectrumPanel);
            FSpectrumPanel->SetAlign(alNone);
            FSpectrumPanel->SetSelectedColor(FSelectedColor);
            FSpectrumPanel->ArrangeSpectrum();
            FSpectrumPanel->OnSelect = [this](TObject*) { PanelChoice(FSpectrumPanel->SelectedColor()); };
            FSpectrumPanel->SetVisible(true);
            break;
    }
    FPopup.Opened(FItemIndex);
    FOldSelectedColor = FSelectedColor;
}

void TExtColorPickerDropDown::SetColorSelectionStyle(TColorSelectionStyle Value) {
    if (Value == FColorSelectionStyle || ComponentState().Contains(csDesigning)) return;
    FColorSelectionStyle = Value;
    // A size remembered from the old style's popup does not fit the new one.
    SetDropDownHeight(DropDownHeight());
    if (!DroppedDown() || !DropDownForm()) return;
    OpenStyle();
    SizeDropDown();
    PlaceControl();
    DropDownForm()->AlignControls();
    DropDownForm()->update();
}

// ---- opening, sizing, closing ---------------------------------------------------------------
void TExtColorPickerDropDown::BeforeDropDown() {
    QPointer<TExtColorPickerDropDown> Self(this);
    TExtCustomDropDown::BeforeDropDown();
    if (!Self) return;
    OpenStyle();
}

void TExtColorPickerDropDown::PlaceControl() {
    TExtCustomDropDown::PlaceControl();
    if (DropDownForm() && FColorSelectionStyle != csList) DropDownForm()->SetSizeable(false);
}

void TExtColorPickerDropDown::SizePanelStyle() {
    TControl* C = nullptr;
    for (TControl* P : std::initializer_list<TControl*>{FColorSelector, FColorCubePanel, FSpectrumPanel})
        if (P && P->Visible()) C = P;
    const int B = DropDownBorderWidth();
    const int W = C ? C->Width() + 2 * B : Width();
    int H = 2 * B + (C ? C->Height() : 0);
    if (DropDownHeader()->Visible()) H += DropDownHeader()->Height();
    if (DropDownFooter()->Visible()) H += DropDownFooter()->Height();
    DropDownForm()->resize(W, H);
}

void TExtColorPickerDropDown::SizeDropDown() {
    if (!DropDownForm()) return;
    if (FColorSelectionStyle != csList) {
        SizePanelStyle();
        return;
    }
    FPopup.SizeToPanel();
}

void TExtColorPickerDropDown::DoHideDropDown(bool Cancelled) {
    if (FPopup.TakesBack(Cancelled)) {
        // Whatever the keys chose while the popup was open goes back, without announcing a choice:
        // nothing was chosen.
        if (FColorSelectionStyle == csDiscrete && FColorSelector) {
            const TStateScope<TNotifyEvent> Quiet(FColorSelector->OnItemSelect, nullptr);
            FColorSelector->SetSelectedColor(FOldSelectedColor);
        }
        FItemIndex = FPopup.OldItemIndex() < FColors->Count() ? FPopup.OldItemIndex() : -1;
        FSelectedColor = FOldSelectedColor;
        Native()->update();
    }
    TExtCustomDropDown::DoHideDropDown(Cancelled);
}

// ---- choosing -------------------------------------------------------------------------------

void TExtColorPickerDropDown::DiscreteChoice() {
    if (!FColorSelector) return;
    QPointer<TExtColorPickerDropDown> Self(this);
    SetSelectedColor(FColorSelector->SelectedColor());
    if (!Self) return;
    SetItemIndex(-1);
    if (Self && !FPopup.InternalCall()) DoHideDropDown(false);
}

void TExtColorPickerDropDown::PanelChoice(TColor Color) {
    QPointer<TExtColorPickerDropDown> Self(this);
    SetSelectedColor(Color);
    if (!Self) return;
    SetItemIndex(-1);
    if (Self) DoHideDropDown(false);
}

void TExtColorPickerDropDown::Select() {
    if (OnSelect) OnSelect(this);
}

// ---- keys and wheel -------------------------------------------------------------------------
void TExtColorPickerDropDown::WMKeyDown(TMessage& M) {
    const Word Key = Word(M.WParam);
    const TShiftState Shift = TShiftState::FromBits(uint32_t(M.LParam));
    QPointer<TExtColorPickerDropDown> Self(this);
    bool Consumed = false;
    if (Enabled() && DroppedDown() && Key == VK_RETURN) {
        if (FColorSelectionStyle == csList) {
            Consumed = FPopup.ChooseHot();
        } else if (FColorSelectionStyle == csDiscrete && FColorSelector && FColorSelector->ItemHot() >= 0) {
            Consumed = true;
            FColorSelector->SetItemIndex(FColorSelector->ItemHot());
        }
        if (!Self) return;
    }
    TExtCustomDropDown::WMKeyDown(M);
    if (!Self || !Enabled() || Shift.Contains(ssAlt)) return;
    if (FColorSelectionStyle == csDiscrete) {
        if (FColorSelector) FPopup.HoldOpen([&] { FColorSelector->HandleKey(Key, EditorEnabled(), DroppedDown()); });
        if (Self && Key == VK_RETURN && !Consumed) Select();
        return;
    }
    if (FColorSelectionStyle != csList) return;
    const int Count = FColors->Count();
    switch (Key) {
        case VK_RETURN:
            if (!Consumed) Select();
            break;
        case VK_PRIOR:
        case VK_NEXT:
            FillListIfStale();
            FPopup.Page(Key == VK_PRIOR);
            break;
        case VK_HOME:
        case VK_END:
            if (DroppedDown()) {
                FPopup.MoveBy(Key == VK_HOME ? smFirst : smLast);
            } else if (Count > 0) {
                SetItemIndex(Key == VK_HOME ? 0 : Count - 1);
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
            if (DroppedDown() && !EditorEnabled()) FPopup.MoveBy(Key == VK_LEFT ? smPrevious : smNext);
            break;
        case VK_UP:
        case VK_DOWN:
            if (DroppedDown()) {
                FPopup.StepRow(Key == VK_UP ? -1 : 1);
            } else {
                // The first entry has none before it: Up there keeps it.
                const int To = FItemIndex < 0 ? 0 : FItemIndex + (Key == VK_UP ? -1 : 1);
                if (To >= 0 && To < Count) SetItemIndex(To);
            }
            break;
        default: break; // letters search through the characters they type
    }
}

void TExtColorPickerDropDown::WMChar(TMessage& M) {
    const QChar Ch(char16_t(M.WParam));
    // The search takes what was typed, so digits of the number pad and punctuation find the
    // captions that hold them.
    if (Enabled() && FColorSelectionStyle == csList && FPopup.Selector() &&
        TSelectorPopup::SearchChar(Ch, KeyboardShiftState())) {
        FillListIfStale();
        FPopup.Search(Ch);
        return;
    }
    TExtCustomDropDown::WMChar(M);
}

void TExtColorPickerDropDown::Wheel(bool Down) {
    if (!Enabled() || ReadOnly()) return;
    if (FColorSelectionStyle == csList) {
        if (!DroppedDown()) FillListIfStale();
        FPopup.Wheel(Down, DroppedDown());
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (DroppedDown()) {
            if (Down)
                FColorSelector->HotNext();
            else
                FColorSelector->HotPrevious();
        } else {
            FPopup.HoldOpen([&] {
                if (Down)
                    FColorSelector->SelectNext();
                else
                    FColorSelector->SelectPrevious();
            });
        }
    }
}

void TExtColorPickerDropDown::MouseWheelDownHook() { Wheel(true); }
void TExtColorPickerDropDown::MouseWheelUpHook() { Wheel(false); }

// ---- styles ---------------------------------------------------------------------------------
void TExtColorPickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    TExtCustomDropDown::SetSelectionColorStyle(Value);
    if (FPopup.Selector()) FPopup.Selector()->ItemAppearance()->SetColorStyle(Value);
}

void TExtColorPickerDropDown::SetComponentStyle(TExtStyle AStyle) {
    TExtCustomDropDown::SetComponentStyle(AStyle);
    SetItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

// ---- painting -------------------------------------------------------------------------------
void TExtColorPickerDropDown::DrawFocusedText(TCanvas*) {}

void TExtColorPickerDropDown::WMPaint(TMessage& M) {
    TExtCustomDropDown::WMPaint(M);
    auto* C = reinterpret_cast<TCanvas*>(M.WParam);
    if (!C) return;
    const TRect R = Rect(1, 1, Width() - GetDropDownButtonWidth() - 2, Height() - 2);
    if (OnDrawSelectedColor) {
        OnDrawSelectedColor(this, C, R);
        return;
    }
    if (FSelectedColor == clNone) return;
    const int BoxL = R.Left + 4, BoxT = R.Top + (Height() - FColorBoxHeight) / 2;
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetWidth(1);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FSelectedColor);
    C->Rectangle(Rect(BoxL, BoxT, BoxL + FColorBoxWidth, BoxT + FColorBoxHeight));
    if (!FShowText) return;
    const bool Focus = Focused();
    C->Font()->Assign(Font());
    if (!EditorEnabled() && Focus) C->Font()->SetColor(clHighlightText);
    TRect T = Rect(BoxL + FColorBoxWidth + 4, R.Top, R.Right, R.Bottom);
    const QString S = SelectedColorText();
    if (S.isEmpty() || T.Right <= T.Left) return;
    TRect Back = T;
    Back.Right = std::min(T.Right, T.Left + C->TextWidth(S));
    C->Brush()->SetColor(Focus ? clHighlight : Color());
    C->FillRect(Back);
    C->Brush()->SetStyle(bsClear);
    DrawText(C, S, T, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    C->Brush()->SetStyle(bsSolid);
}
