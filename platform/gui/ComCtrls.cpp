#include "platform/gui/ComCtrls.h"

#include "platform/rtl/StateScope.h"

#include <QSlider>
#include <QTabBar>

#include <algorithm>

// ---- TTabSheet --------------------------------------------------------------------------------
TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) { TControl::SetVisible(false); }

TTabSheet::~TTabSheet() {
    Destroying();
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) {
    if (FPageControl == Value) return;
    if (FPageControl) FPageControl->RemovePage(this);
    SetParent(Value);
    if (Value) Value->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    auto& L = FPageControl->FPages;
    return int(std::find(L.begin(), L.end(), this) - L.begin());
}

void TTabSheet::SetPageIndex(int Value) {
    if (!FPageControl) return;
    auto& L = FPageControl->FPages;
    L.erase(std::find(L.begin(), L.end(), this));
    Value = std::clamp(Value, 0, int(L.size()));
    L.insert(L.begin() + Value, this);
    FPageControl->UpdateTabs();
}

void TTabSheet::SetTabVisible(bool Value) {
    FTabVisible = Value;
    if (!FPageControl) return;
    if (!Value && FPageControl->FActivePage == this) {
        TTabSheet* Next = nullptr;
        for (TTabSheet* P : FPageControl->FPages)
            if (P != this && P->FTabVisible) {
                Next = P;
                break;
            }
        FPageControl->SetActivePage(Next);
    }
    FPageControl->UpdateTabs();
}

int TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible) return -1;
    int I = 0;
    for (TTabSheet* P : FPageControl->FPages) {
        if (P == this) return I;
        if (P->FTabVisible) ++I;
    }
    return -1;
}

void TTabSheet::TextChanged() {
    if (FPageControl) FPageControl->UpdateTabs();
}

// ---- TPageControl -----------------------------------------------------------------------------
TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner), FTabBar(new QTabBar(this)) {
    FTabBar->setDrawBase(true);
    FTabBar->setExpanding(false);
    FTabBar->setFocusPolicy(Qt::NoFocus);
    SetTabStop(true);
    QObject::connect(FTabBar, &QTabBar::tabBarClicked, FTabBar,
                     [this](int Index) { TControl::Guard(this, [&] { ClickTab(Index); }); });
    // The tab bar follows the active page; a click goes through ClickTab only.
    QObject::connect(FTabBar, &QTabBar::currentChanged, FTabBar, [this](int) {
        if (!FUpdating) UpdateTabs();
    });
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
    Destroying();
    for (TTabSheet* P : FPages) P->FPageControl = nullptr;
    FPages.clear();
}

TTabSheet* TPageControl::Pages(int Index) const {
    if (Index < 0 || Index >= PageCount()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FPages[size_t(Index)];
}

void TPageControl::InsertPage(TTabSheet* Page) {
    FPages.push_back(Page);
    Page->FPageControl = this;
    if (!FActivePage && Page->FTabVisible)
        SetActivePage(Page);
    else
        Page->TControl::SetVisible(false);
    UpdateTabs();
    PlacePages();
}

void TPageControl::RemovePage(TTabSheet* Page) {
    FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
    Page->FPageControl = nullptr;
    if (FActivePage == Page) {
        FActivePage = nullptr;
        if (!ComponentState().Contains(csDestroying)) {
            for (TTabSheet* P : FPages)
                if (P->FTabVisible) {
                    SetActivePage(P);
                    break;
                }
        }
    }
    if (!ComponentState().Contains(csDestroying)) UpdateTabs();
}

void TPageControl::SetActivePage(TTabSheet* Page) {
    if (Page && Page->FPageControl != this) return;
    if (FActivePage == Page) return;
    TTabSheet* Old = FActivePage;
    FActivePage = Page;
    if (Page) {
        PlacePages();
        Page->TControl::SetVisible(true);
        Page->raise();
    }
    if (Old) Old->TControl::SetVisible(false);
    UpdateTabs();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int Value) {
    SetActivePage(Value >= 0 && Value < PageCount() ? FPages[size_t(Value)] : nullptr);
}

int TPageControl::TabIndex() const { return FActivePage ? FActivePage->TabIndex() : -1; }

TTabSheet* TPageControl::VisiblePage(int TabIndex) const {
    int I = 0;
    for (TTabSheet* P : FPages) {
        if (!P->FTabVisible) continue;
        if (I == TabIndex) return P;
        ++I;
    }
    return nullptr;
}

void TPageControl::ClickTab(int TabIndex) {
    TTabSheet* Page = VisiblePage(TabIndex);
    if (!Page || Page == FActivePage) return;
    bool Allow = true;
    if (OnChanging) OnChanging(this, Allow);
    if (!Allow) {
        UpdateTabs();
        return;
    }
    SetActivePage(Page);
    if (OnChange) OnChange(this);
}

void TPageControl::SelectNextPage(bool GoForward) {
    int N = 0;
    for (TTabSheet* P : FPages) N += P->FTabVisible ? 1 : 0;
    if (N < 2) return;
    int Cur = TabIndex();
    ClickTab(GoForward ? (Cur + 1) % N : (Cur - 1 + N) % N);
}

void TPageControl::KeyDown(Word& Key, TShiftState Shift) {
    TWinControl::KeyDown(Key, Shift);
    if (Key == VK_RIGHT || Key == VK_DOWN)
        SelectNextPage(true);
    else if (Key == VK_LEFT || Key == VK_UP)
        SelectNextPage(false);
}

void TPageControl::UpdateTabs() {
    const TStateScope<bool> Updating(FUpdating, true);
    int N = 0;
    for (TTabSheet* P : FPages) {
        if (!P->FTabVisible) continue;
        if (N < FTabBar->count())
            FTabBar->setTabText(N, P->Caption());
        else
            FTabBar->addTab(P->Caption());
        ++N;
    }
    while (FTabBar->count() > N) FTabBar->removeTab(FTabBar->count() - 1);
    FTabBar->setCurrentIndex(TabIndex());
    FTabBar->setGeometry(0, 0, Width(), FTabBar->sizeHint().height());
}

TRect TPageControl::DisplayRect() const {
    int TabH = FPages.empty() ? 0 : FTabBar->sizeHint().height();
    TRect R = Rect(0, TabH, Width(), Height());
    InflateRect(R, -4, -4);
    R.Top -= 2;
    return R;
}

void TPageControl::PlacePages() {
    TRect R = DisplayRect();
    for (TTabSheet* P : FPages) P->SetBounds(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height()));
}

void TPageControl::Resize() {
    FTabBar->setGeometry(0, 0, Width(), FTabBar->sizeHint().height());
    PlacePages();
    TWinControl::Resize();
}

// ---- TTrackBar --------------------------------------------------------------------------------
TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner), FSlider(new QSlider(Qt::Horizontal)) {
    FSlider->setRange(FMin, FMax);
    FSlider->setPageStep(2);
    FSlider->setSingleStep(1);
    SetNativeWidget(FSlider);
    SetTabStop(true);
    ApplyTicks();
    QObject::connect(FSlider, &QSlider::valueChanged, FSlider, [this](int) {
        TControl::Guard(this, [this] {
            if (OnChange) OnChange(this);
        });
    });
    SetBounds(0, 0, 150, 45);
}

TTrackBar::~TTrackBar() { Destroying(); }

int TTrackBar::Position() const { return FSlider->value(); }

void TTrackBar::SetPosition(int Value) { FSlider->setValue(std::clamp(Value, FMin, FMax)); }

void TTrackBar::SetMin(int Value) {
    if (Value > FMax) return;
    FMin = Value;
    FSlider->setRange(FMin, FMax);
}

void TTrackBar::SetMax(int Value) {
    if (Value < FMin) return;
    FMax = Value;
    FSlider->setRange(FMin, FMax);
}

void TTrackBar::SetFrequency(int Value) {
    FFrequency = Value;
    ApplyTicks();
}

int TTrackBar::PageSize() const { return FSlider->pageStep(); }
void TTrackBar::SetPageSize(int Value) { FSlider->setPageStep(Value); }
int TTrackBar::LineSize() const { return FSlider->singleStep(); }
void TTrackBar::SetLineSize(int Value) { FSlider->setSingleStep(Value); }

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
    if (Value == FOrientation) return;
    FOrientation = Value;
    FSlider->setOrientation(Value == trHorizontal ? Qt::Horizontal : Qt::Vertical);
    // The bar turns round: its width becomes its height.
    SetBounds(Left(), Top(), Height(), Width());
    ApplyTicks();
}

void TTrackBar::SetTickMarks(TTickMark Value) {
    FTickMarks = Value;
    ApplyTicks();
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
    FTickStyle = Value;
    ApplyTicks();
}

void TTrackBar::KeyDown(Word& Key, TShiftState Shift) {
    TWinControl::KeyDown(Key, Shift);
    int To;
    switch (Key) {
        case VK_LEFT:
        case VK_UP: To = Position() - LineSize(); break;
        case VK_RIGHT:
        case VK_DOWN: To = Position() + LineSize(); break;
        case VK_PRIOR: To = Position() - PageSize(); break;
        case VK_NEXT: To = Position() + PageSize(); break;
        case VK_HOME: To = FMin; break;
        case VK_END: To = FMax; break;
        default: return;
    }
    Key = 0; // the slider's own keys run the other way round for Up, Page Up and Page Down
    SetPosition(To);
}

void TTrackBar::ApplyTicks() {
    if (FTickStyle == tsNone) {
        FSlider->setTickPosition(QSlider::NoTicks);
        return;
    }
    // Below (right of) the bar, above (left of) it, or both.
    FSlider->setTickPosition(FTickMarks == tmBoth          ? QSlider::TicksBothSides
                                 : FTickMarks == tmTopLeft ? QSlider::TicksAbove
                                                           : QSlider::TicksBelow);
    FSlider->setTickInterval(std::max(1, FFrequency));
}
