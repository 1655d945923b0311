#include "grid/control/GridSettingsObjects.h"

#include "grid/control/ExtGrid.h"
#include "grid/services/DragDrop.h"

namespace {
TDropTargetRegistrar& Registrar() {
    static TDropTargetRegistrar R = [](TWinControl* Window, bool Register) {
        if (!Window) return false;
        Window->setAcceptDrops(Register);
        return true;
    };
    return R;
}
} // namespace

bool OleDropRTFAllowed = false;

void SetDropTargetRegistrar(TDropTargetRegistrar Value) {
    if (Value) Registrar() = std::move(Value);
}

// ---- TBackGround --------------------------------------------------------------------------------------
void TBackGround::SetBitmap(TBitmap* Value) {
    if (Value != FBitmap.get()) FBitmap->Assign(Value);
    if (OnChange) OnChange(this);
}

void TBackGround::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TBackGround*>(Source);
    if (!S || S == this) return;
    FTop = S->FTop;
    FLeft = S->FLeft;
    FDisplay = S->FDisplay;
    FCells = S->FCells;
    FColor = S->FColor;
    FColorTo = S->FColorTo;
    FBitmap->Assign(S->FBitmap.get());
    if (OnChange) OnChange(this);
}

// ---- TGrouping ----------------------------------------------------------------------------------------
void TGrouping::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TGrouping*>(Source);
    if (!S || S == this) return;
    FGroupCountFormat = S->FGroupCountFormat;
    FHeaderColor = S->FHeaderColor;
    FHeaderColorTo = S->FHeaderColorTo;
    FHeaderTextColor = S->FHeaderTextColor;
    FHeaderUnderline = S->FHeaderUnderline;
    FMergeHeader = S->FMergeHeader;
    FMergeSummary = S->FMergeSummary;
    FShowGroupCount = S->FShowGroupCount;
    FSummaryColor = S->FSummaryColor;
    FSummaryColorTo = S->FSummaryColorTo;
    FSummaryTextColor = S->FSummaryTextColor;
    FSummaryLine = S->FSummaryLine;
    FAutoCheckGroup = S->FAutoCheckGroup;
    FAutoSelectGroup = S->FAutoSelectGroup;
}

// ---- TDragDropSettings --------------------------------------------------------------------------------
TDragDropSettings::TDragDropSettings(TExtStringGrid* AOwner) : FOwner(AOwner) {}

TDragDropSettings::~TDragDropSettings() = default;

void TDragDropSettings::SetOleDropRTF(bool Value) {
    FOleDropRTF = Value;
    OleDropRTFAllowed = Value;
}

void TDragDropSettings::SetOleDropTarget(bool Value) {
    FOleDropTarget = Value;
    if (!FOwner || FOwner->IsDesigning()) return;
    if (Value) {
        // One registration per window: a second one would leave the first behind unrevoked.
        if (FDropTargetRegistered) return;
        FDropTarget = std::make_unique<TGridDropTarget>(FOwner);
        FDropTargetRegistered = Registrar()(FOwner, true);
        if (!FDropTargetRegistered) FDropTarget.reset();
        return;
    }
    if (!FDropTargetRegistered) return;
    Registrar()(FOwner, false);
    FDropTargetRegistered = false;
    FDropTarget.reset();
}

void TDragDropSettings::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TDragDropSettings*>(Source);
    if (!S || S == this) return;
    SetOleDropRTF(S->FOleDropRTF);
    FOleAcceptText = S->FOleAcceptText;
    FOleEntireRows = S->FOleEntireRows;
    FOleDropSource = S->FOleDropSource;
    FOleRemoveRows = S->FOleRemoveRows;
    FOleAcceptFiles = S->FOleAcceptFiles;
    FOleAcceptURLs = S->FOleAcceptURLs;
    SetOleDropTarget(S->FOleDropTarget);
    FOleInsertRows = S->FOleInsertRows;
    FOleAppendRows = S->FOleAppendRows;
    FOleCopyAlways = S->FOleCopyAlways;
    FOleColumnDragDrop = S->FOleColumnDragDrop;
    FOleColumnReorder = S->FOleColumnReorder;
    FOleColumnsOnly = S->FOleColumnsOnly;
    FShowCells = S->FShowCells;
}

// ---- TBalloonSettings ---------------------------------------------------------------------------------
void TBalloonSettings::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TBalloonSettings*>(Source);
    if (!S || S == this) return;
    FTextColor = S->FTextColor;
    FBackgroundColor = S->FBackgroundColor;
    FInitialDelay = S->FInitialDelay;
    FAutoHideDelay = S->FAutoHideDelay;
    FReshowDelay = S->FReshowDelay;
    SetEnable(S->FEnable);
}

// ---- TShowModified ------------------------------------------------------------------------------------
void TShowModified::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TShowModified*>(Source);
    if (!S || S == this) return;
    FEnabled = S->FEnabled;
    SetColor(S->FColor);
}

// ---- TGridProgressAppearance --------------------------------------------------------------------------
void TGridProgressAppearance::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TGridProgressAppearance*>(Source);
    if (!S || S == this) return;
    TNotifyEvent Keep = std::move(OnChange);
    OnChange = nullptr;
    SetCompleteColor(S->FCompleteColor);
    SetCompleteFontColor(S->FCompleteFontColor);
    SetUnCompleteColor(S->FUnCompleteColor);
    SetUnCompleteFontColor(S->FUnCompleteFontColor);
    SetLevel0Color(S->FLevel0Color);
    SetLevel0ColorTo(S->FLevel0ColorTo);
    SetLevel1Color(S->FLevel1Color);
    SetLevel1ColorTo(S->FLevel1ColorTo);
    SetLevel2Color(S->FLevel2Color);
    SetLevel2ColorTo(S->FLevel2ColorTo);
    SetLevel3Color(S->FLevel3Color);
    SetLevel3ColorTo(S->FLevel3ColorTo);
    SetLevel1Perc(S->FLevel1Perc);
    SetLevel2Perc(S->FLevel2Perc);
    SetBorderColor(S->FBorderColor);
    SetShowBorder(S->FShowBorder);
    SetStacked(S->FStacked);
    SetShowPercentage(S->FShowPercentage);
    SetCompletionSmooth(S->FCompletionSmooth);
    SetShowGradient(S->FShowGradient);
    SetSteps(S->FSteps);
    SetStyle(S->FStyle);
    OnChange = std::move(Keep);
    if (OnChange) OnChange(this);
}
