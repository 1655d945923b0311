// Balloons and radio groups, two kinds of cell object: a balloon is a title, a text and an icon
// the grid shows as a balloon hint for its cell (alone, or riding on the cell's check box or
// radio button); a radio group is a list of options drawn in one cell, one of them chosen. Also
// the balloon that explains a value the validation refused.
#include "grid/control/ExtGrid.h"

#include "grid/control/GridBalloon.h"

#include <algorithm>

namespace {

void FillRadio(TCellGraphic* CG, int DirRadio, int IdxRadio, int Count) {
    CG->SetCellType(ctRadio);
    CG->SetCellBoolean(DirRadio != 0);
    CG->SetCellIndex(IdxRadio);
    CG->SetCellAngle(Count);
}

bool CarriesBalloon(TCellType Kind) { return Kind == ctCheckBox || Kind == ctDataCheckBox || Kind == ctRadioButton; }

// The balloon's two lines, title then text.
void StoreBalloonTexts(TStrings* L, const QString& Title, const QString& Text) {
    L->Clear();
    L->Add(Title);
    L->Add(Text);
}

} // namespace

// ---- balloons ---------------------------------------------------------------------------------------------
void TExtStringGrid::AddBalloon(int ACol, int ARow, const QString& Title, const QString& Text, TBalloonIcon Icon) {
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        throw Exception(QStringLiteral("Invalid cell"));
    auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, ARow));
    const bool Rides = CG && CarriesBalloon(CG->CellType());
    if (CG && !Rides && CG->CellType() != ctBalloon) return; // no other object carries a balloon
    if (!CG) {
        CG = NewCellGraphic(ACol, ARow);
        CG->SetCellType(ctBalloon);
        CG->SetCellAngle(0);
    }
    // A balloon given again keeps its list and takes the new texts.
    auto* L = CG->CellBitmapAs<TStrings>();
    const bool Existing = L && (CG->CellType() == ctBalloon || CG->HasBalloon());
    if (!Existing) {
        auto Made = std::make_unique<TStringList>();
        L = Made.get();
        CG->SetCellBitmapOwned(std::move(Made));
    }
    StoreBalloonTexts(L, Title, Text);
    CG->SetCellIndex(int(Icon));
    // On a check box the mark is the record's own flag: its angle shows the box greyed.
    if (Rides) CG->SetHasBalloon(true);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::RemoveBalloon(int ACol, int ARow) {
    auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, ARow));
    if (!CG) return;
    if (CarriesBalloon(CG->CellType())) {
        if (!CG->HasBalloon()) return;
        CG->SetCellBitmap(nullptr);
        CG->SetHasBalloon(false);
        RepaintCell(DisplColIndex(ACol), ARow);
    } else if (CG->CellType() == ctBalloon) {
        RemoveCellGraphic(ACol, ARow);
    }
}

bool TExtStringGrid::HasBalloon(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctBalloon}); }

bool TExtStringGrid::IsBalloon(int ACol, int ARow, QString& Title, QString& Text, TBalloonIcon& Icon) {
    auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, ARow));
    if (!CG) return false;
    const bool Own = CG->CellType() == ctBalloon || (CarriesBalloon(CG->CellType()) && CG->HasBalloon());
    auto* L = CG->CellBitmapAs<TStrings>();
    if (!Own || !L) return false;
    Title = L->Count() > 0 ? L->Strings(0) : QString();
    Text = L->Count() > 1 ? L->Strings(1) : QString();
    Icon = TBalloonIcon(std::clamp(CG->CellIndex(), int(biNone), int(biError)));
    return true;
}

// ---- radio groups ------------------------------------------------------------------------------------------
void TExtStringGrid::AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings* sl) {
    auto Own = std::make_shared<TStringList>();
    if (sl) Own->Assign(sl);
    AddRadio(ACol, ARow, DirRadio, IdxRadio, std::shared_ptr<TStrings>(std::move(Own)));
}

void TExtStringGrid::AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, std::shared_ptr<TStrings> sl) {
    if (!sl) sl = std::make_shared<TStringList>();
    const int Count = sl->Count();
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    FillRadio(CG, DirRadio, IdxRadio, Count);
    CG->SetCellBitmapShared(std::move(sl));
    RepaintCell(DisplColIndex(ACol), ARow);
}

TStrings* TExtStringGrid::CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio) {
    TStrings* L =
        NewCellGraphicOwning<TStringList>(ACol, ARow, [&](TCellGraphic* CG) { FillRadio(CG, DirRadio, IdxRadio, 0); });
    RepaintCell(DisplColIndex(ACol), ARow);
    return L;
}

bool TExtStringGrid::GetRadioIdx(int ACol, int ARow, int& IdxRadio) {
    TCellGraphic* CG = CellGraphicOf(ACol, ARow, ctRadio);
    if (!CG) return false;
    IdxRadio = CG->CellIndex();
    return true;
}

bool TExtStringGrid::SetRadioIdx(int ACol, int ARow, int IdxRadio) {
    TCellGraphic* CG = CellGraphicOf(ACol, ARow, ctRadio);
    if (!CG) return false;
    CG->SetCellIndex(IdxRadio);
    if (IdxRadio == -1) SetCellEx(ACol, ARow, QString());
    RepaintCell(DisplColIndex(ACol), ARow);
    return true;
}

TStrings* TExtStringGrid::GetRadioStrings(int ACol, int ARow) {
    TCellGraphic* CG = BaseCellGraphicOf(ACol, ARow, ctRadio);
    return CG ? CG->CellBitmapAs<TStrings>() : nullptr;
}

bool TExtStringGrid::IsRadio(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctRadio}); }

void TExtStringGrid::RemoveRadio(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRadio); }

bool TExtStringGrid::AdvanceRadio(int ACol, int ARow, bool FromUser) {
    TCellGraphic* CG = CellGraphicOf(ACol, ARow, ctRadio);
    if (!CG) return false;
    if (FromUser && !ControlLook()->RadioAlwaysActive()) {
        bool CanEdit = Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit();
        GetCellEditable(ACol, ARow, CanEdit);
        if (!CanEdit) return false;
    }
    TStrings* Items = CG->CellBitmapAs<TStrings>();
    // A group without options has nothing to step to.
    if (!Items || Items->Count() == 0) return false;
    const int Idx = CG->CellIndex();
    int Next = Idx >= 0 ? Idx + 1 : Items->IndexOf(GetCellEx(ACol, ARow)) + 1;
    if (Next >= Items->Count() || Next < 0) Next = 0;
    if (Idx >= -1) CG->SetCellIndex(Next);
    CG->SetCellVar(Next);
    SetCellEx(ACol, ARow, Items->Strings(Next));
    RepaintCell(DisplColIndex(ACol), ARow);
    return true;
}

void TExtStringGrid::RadioGroupClick(int ACol, int ARow, int DX, int DY) {
    const TPoint B = BaseCell(ACol, ARow);
    TCellGraphic* CG = CellGraphicOf(B.X, B.Y, ctRadio);
    if (!CG) return;
    const int DisplCol = DisplColIndex(B.X);
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    GetCellColor(B.X, B.Y, TGridDrawState{}, C->Brush(), C->Font());
    if (!IsFixed(DisplCol, B.Y)) MoveColRow(DisplCol, B.Y, true, true);
    TStrings* Items = CG->CellBitmapAs<TStrings>();
    if (!Items || Items->Count() == 0) return;
    const int Pitch = ControlLook()->ControlStyle() >= csWinXP ? 16 : ControlLook()->RadioSize();
    int Winner = -1;
    if (CG->CellBoolean()) {
        int X = 0;
        for (int i = 0; i < Items->Count() && Winner < 0; ++i) {
            const int W = C->TextWidth(Items->Strings(i)) + Pitch;
            if (DX >= X && DX < X + W) Winner = i;
            X += W;
        }
    } else {
        const int H = std::max(Pitch, C->TextHeight(QStringLiteral("gh")));
        if (DY >= 0 && H > 0 && DY / H < Items->Count()) Winner = DY / H;
    }
    if (Winner < 0) return;
    // A group that keeps its choice by position takes the index; one that keeps it by text only
    // takes the option's text.
    SetCellEx(B.X, B.Y, Items->Strings(Winner));
    CG->SetCellVar(Winner);
    if (CG->CellIndex() >= 0) SetRadioIdx(B.X, B.Y, Winner);
    RepaintCell(DisplCol, B.Y);
    if (OnRadioClick) OnRadioClick(this, DisplCol, B.Y, Winner);
}

// ---- the balloon of a refused value ---------------------------------------------------------------------
void TExtStringGrid::ShowInvalidEntryBalloon() {
    if (InvalidEntryTitle().isEmpty() && InvalidEntryText().isEmpty()) return;
    auto* W = static_cast<TGridBalloonWindow*>(FInvalidEntryBalloon);
    if (!W) {
        W = new TGridBalloonWindow(this);
        FInvalidEntryBalloon = W;
    }
    W->SetBalloon(InvalidEntryTitle(), InvalidEntryText(), int(InvalidEntryIcon()));
    // Under the editor's field when one is open, else under the cell the value was meant for.
    TWinControl* Anchor = EditorControl();
    if (!Anchor && InplaceEditor() && InplaceEditor()->isVisible()) Anchor = InplaceEditor();
    TPoint At;
    if (Anchor) {
        At = Anchor->ClientToScreen(Point(0, Anchor->Height()));
    } else {
        const int Col = FOldCol >= 0 ? FOldCol : this->Col();
        const int Row = FOldRow >= 0 ? FOldRow : this->Row();
        const TRect R = CellRect(Col, Row);
        At = ClientToScreen(Point(R.Left, R.Bottom));
    }
    W->ShowAt(At);
}

void TExtStringGrid::HideInvalidEntryBalloon() {
    if (FInvalidEntryBalloon) FInvalidEntryBalloon->ReleaseHandle();
}
