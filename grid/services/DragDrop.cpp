// Drag and drop of cells, text, files and columns: the data a drag offers and how a drop reads
// it, the drag's source and target, and what a drop of each flavour does to a grid.
#include "grid/services/DragDrop.h"

#include "grid/control/ExtGrid.h"
#include "grid/control/GridCellIO.h"
#include "grid/control/GridSettingsObjects.h"
#include "grid/control/ScrollIndicator.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Files.h"

#include <QMimeData>
#include <QPainter>
#include <QPolygon>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <set>

// Defined with the clipboard: the grid's own cell block made a block for placing at a point.
bool CellBlockToPointStream(const QByteArray& Bytes, TMemoryStream& Out, TGridPropIO& Header);

// ---- flavours ----------------------------------------------------------------------------------------
namespace dragdrop {
QString RtfMimeType() { return QStringLiteral("text/rtf"); }
QString ColumnMimeType() { return QStringLiteral("application/x-qt-windows-mime;value=\"Grid Column\""); }
QString UrlMimeType() { return QStringLiteral("application/x-qt-windows-mime;value=\"UniformResourceLocator\""); }
} // namespace dragdrop

void SetOleDropRTF(bool Value) { OleDropRTFAllowed = Value; }
bool OleDropRTF() { return OleDropRTFAllowed; }

std::unique_ptr<QMimeData> MakeSourceData(const QString& stxt, const QString& srtf, int sidx,
                                          const QByteArray& CellBlock) {
    auto M = std::make_unique<QMimeData>();
    if (!stxt.isEmpty()) {
        M->setText(stxt);
        if (OleDropRTF() && !srtf.isEmpty()) {
            QByteArray Bytes;
            if (!EncodeCp1252(srtf, Bytes)) Bytes = srtf.toLatin1();
            M->setData(dragdrop::RtfMimeType(), Bytes);
        }
    }
    if (!CellBlock.isEmpty()) M->setData(TExtStringGrid::CellsMimeType(), CellBlock);
    if (sidx != -1) {
        QByteArray Bytes(4, '\0');
        qToLittleEndian<qint32>(sidx, Bytes.data());
        M->setData(dragdrop::ColumnMimeType(), Bytes);
    }
    return M;
}

// ---- reading a drop ------------------------------------------------------------------------------------
namespace {
bool IsFileUrl(const QUrl& U) { return U.isLocalFile(); }
} // namespace

// Qt counts a list of links as text too; here text is only what was given as text.
bool TEnumFormats::HasText() const {
    if (!FData) return false;
    const QStringList F = FData->formats();
    return std::any_of(F.begin(), F.end(), [](const QString& M) { return M.startsWith(QStringLiteral("text/plain")); });
}

bool TEnumFormats::HasFile() const {
    if (!FData || !FData->hasUrls()) return false;
    const QList<QUrl> Urls = FData->urls();
    return std::any_of(Urls.begin(), Urls.end(), IsFileUrl);
}

bool TEnumFormats::HasRTF() const { return FData && FData->hasFormat(dragdrop::RtfMimeType()); }

bool TEnumFormats::HasCol() const { return Col() != -1; }

bool TEnumFormats::HasURL() const {
    if (!FData) return false;
    if (FData->hasFormat(dragdrop::UrlMimeType())) return true;
    if (!FData->hasUrls()) return false;
    const QList<QUrl> Urls = FData->urls();
    return std::any_of(Urls.begin(), Urls.end(), [](const QUrl& U) { return U.isValid() && !U.isLocalFile(); });
}

bool TEnumFormats::HasGridCells() const { return FData && FData->hasFormat(TExtStringGrid::CellsMimeType()); }

TDropFormats TEnumFormats::Formats() const {
    TDropFormats F;
    if (HasText()) F << dfText;
    if (HasFile()) F << dfFile;
    if (HasRTF()) F << dfRTF;
    if (HasCol()) F << dfCol;
    if (HasURL()) F << dfURL;
    if (HasGridCells()) F << dfGridCells;
    return F;
}

QString TEnumFormats::Text() const { return HasText() ? FData->text() : QString(); }

QString TEnumFormats::RTF() const {
    if (!HasRTF()) return QString();
    QByteArray Bytes = FData->data(dragdrop::RtfMimeType());
    const qsizetype Zero = Bytes.indexOf('\0');
    if (Zero >= 0) Bytes.truncate(Zero);
    return DecodeCp1252(Bytes);
}

int TEnumFormats::Col() const {
    if (!FData || !FData->hasFormat(dragdrop::ColumnMimeType())) return -1;
    const QByteArray Bytes = FData->data(dragdrop::ColumnMimeType());
    // Another program's data: anything but one 4-byte number is no column.
    if (Bytes.size() != 4) return -1;
    const qint32 V = qFromLittleEndian<qint32>(Bytes.constData());
    return V < 0 ? -1 : int(V);
}

QByteArray TEnumFormats::Stream() const {
    return HasGridCells() ? FData->data(TExtStringGrid::CellsMimeType()) : QByteArray();
}

QStringList TEnumFormats::GetFiles() const {
    QStringList Files;
    if (!FData || !FData->hasUrls()) return Files;
    for (const QUrl& U : FData->urls())
        if (U.isLocalFile()) Files << U.toLocalFile();
    return Files;
}

QString TEnumFormats::URL() const {
    if (!FData) return QString();
    // The link's text travels as the data's text; a list of links alone gives its first one.
    if (HasText()) return FData->text();
    if (FData->hasUrls())
        for (const QUrl& U : FData->urls())
            if (!U.isLocalFile()) return U.toString();
    return QString();
}

// ---- the source side ---------------------------------------------------------------------------------
void TESGDropSource::GiveFeedback(int dwEffect) {
    FNoAccept = dwEffect == DROPEFFECT_NONE;
    CurrentEffect(dwEffect);
}

namespace {
int RunDrag(TESGDropSource* DropSource, TControl* Source, std::unique_ptr<QMimeData> Data, int dwOKEffects,
            int& dwEffect, const QPixmap& Picture) {
    TDragStart D;
    D.Source = Source;
    D.Data = std::move(Data);
    D.OKEffects = dwOKEffects;
    D.Picture = Picture;
    D.HotSpot = TPoint{-4, -4};
    D.Feedback = [DropSource](int Effect) {
        if (!DropSource) return;
        DropSource->GiveFeedback(Effect);
        DropSource->QueryDrag();
    };
    dwEffect = RunDragDrop(D);
    if (DropSource) DropSource->DropStopped();
    // An effect the source did not allow is no drop it can act on.
    dwEffect &= dwOKEffects;
    if (dwEffect == DROPEFFECT_NONE || (DropSource && DropSource->NoAccept())) {
        dwEffect = DROPEFFECT_NONE;
        return DRAGDROP_S_CANCEL;
    }
    return DRAGDROP_S_DROP;
}
} // namespace

int BeginTextDragDrop(TESGDropSource* DropSource, TControl* Source, const QString& stxt, const QString& srtf,
                      int& dwEffect, int dwOKEffects, const QByteArray& CellBlock, const QPixmap& Picture) {
    return RunDrag(DropSource, Source, MakeSourceData(stxt, srtf, -1, CellBlock), dwOKEffects, dwEffect, Picture);
}

int BeginColumnDragDrop(TESGDropSource* DropSource, TControl* Source, int Column, int dwOKEffects, int& dwEffect,
                        const QPixmap& Picture) {
    return RunDrag(DropSource, Source, MakeSourceData(QString(), QString(), Column, QByteArray()), dwOKEffects,
                   dwEffect, Picture);
}

int DropEffectForKeys(TShiftState Shift, int OKEffects) {
    if (Shift.Contains(ssCtrl)) return DROPEFFECT_COPY;
    return (OKEffects & DROPEFFECT_MOVE) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

// ---- the target side ---------------------------------------------------------------------------------
bool TESGDropTarget::Acceptable(const TEnumFormats& E) const {
    return (E.HasText() && FAcceptText) || (E.HasFile() && FAcceptFiles) ||
        (E.HasRTF() && OleDropRTF() && FAcceptText) || (E.HasCol() && FAcceptCols) || (E.HasURL() && FAcceptURLs) ||
        E.HasGridCells();
}

void TESGDropTarget::Request(TDropRequest& R) {
    switch (R.Stage) {
        case drEnter: DragEnter(R); break;
        case drOver: DragOver(R); break;
        case drLeave: DragLeave(); break;
        case drDrop: Drop(R); break;
    }
}

void TESGDropTarget::DragEnter(TDropRequest& R) {
    const TEnumFormats E(R.Data);
    FOk = Acceptable(E);
    FDropFormats = E.Formats();
    R.Effect = FOk ? DropEffectForKeys(R.Shift, R.OKEffects) : DROPEFFECT_NONE;
    DragMouseEnter();
}

void TESGDropTarget::DragOver(TDropRequest& R) {
    R.Effect = FOk ? DropEffectForKeys(R.Shift, R.OKEffects) : DROPEFFECT_NONE;
    bool Allow = R.Effect != DROPEFFECT_NONE;
    DragMouseMove(R.ScreenPos, Allow, FDropFormats);
    if (!Allow || !FOk) R.Effect = DROPEFFECT_NONE;
}

void TESGDropTarget::DragLeave() { DragMouseLeave(); }

void TESGDropTarget::Drop(TDropRequest& R) {
    R.Effect = DROPEFFECT_NONE;
    // The data is judged again: a drop may come without the drag having been announced here.
    const TEnumFormats E(R.Data);
    FOk = Acceptable(E);
    FDropFormats = E.Formats();
    if (!FOk) return;
    bool Placed = false;
    bool PlacedData = false;
    const TPoint pt = R.ScreenPos;
    if (E.HasCol() && FAcceptCols) {
        PlacedData = DropCol(pt, E.Col());
    } else {
        if (E.HasGridCells())
            PlacedData = DropStream(pt, E.Stream());
        else if (E.HasRTF() && OleDropRTF() && FAcceptText)
            PlacedData = DropRTF(pt, E.RTF());
        else if (E.HasText() && FAcceptText)
            PlacedData = DropText(pt, E.Text());
        const QStringList Files = E.GetFiles();
        if (E.HasFile() && FAcceptFiles && DropFiles(pt, Files)) Placed = true;
        if (E.HasURL() && FAcceptURLs && DropURL(pt, E.URL())) Placed = true;
    }
    // Nothing placed: the source keeps what it offered. A file or a link is only ever copied,
    // so that no source takes its file away after the grid read it.
    if (PlacedData)
        R.Effect = DropEffectForKeys(R.Shift, R.OKEffects);
    else if (Placed)
        R.Effect = (R.OKEffects & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

// ---- the grid's drag source --------------------------------------------------------------------------
void TGridDropSource::CurrentEffect(int dwEffect) {
    if (dwEffect == DROPEFFECT_COPY || dwEffect == DROPEFFECT_MOVE) FLastEffect = dwEffect;
}

// ---- the arrows --------------------------------------------------------------------------------------
TDropArrow::TDropArrow(TDirection Dir)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), FDir(Dir) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(9, 9);
}

void TDropArrow::SetColor(TColor Value) {
    FColor = Value;
    update();
}

void TDropArrow::ShowAt(TPoint ScreenPos) {
    move(ScreenPos.X, ScreenPos.Y);
    if (!isVisible()) show();
    raise();
}

void TDropArrow::paintEvent(QPaintEvent*) {
    QPainter P(this);
    const int W = width() - 1, H = height() - 1;
    QPolygon Tri;
    switch (FDir) {
        case adLeft: Tri << QPoint(0, 0) << QPoint(W, H / 2) << QPoint(0, H); break; // points right, at the row
        case adDown: Tri << QPoint(0, 0) << QPoint(W, 0) << QPoint(W / 2, H); break;
        case adUp: Tri << QPoint(W / 2, 0) << QPoint(W, H) << QPoint(0, H); break;
    }
    const QColor C = ToQColor(FColor == clNone ? clBlack : FColor);
    P.setPen(C);
    P.setBrush(C);
    P.drawPolygon(Tri);
}

// ---- the grid's drop target --------------------------------------------------------------------------
TGridDropTarget::TGridDropTarget(TExtStringGrid* AGrid) : FGrid(AGrid) {}

namespace {

// Where dragged data would land: the cell under the point, or the append place below the
// last row.
struct TDropPlace {
    int Col = -1;
    int Row = -1;
    bool Append = false;
    TPoint Client;
};

TDropPlace PlaceAt(TExtStringGrid* G, TPoint pt, bool ColumnDrop) {
    TDropPlace P;
    G->ScreenToCell(pt, P.Col, P.Row);
    P.Client = G->ScreenToClient(pt);
    TDragDropSettings* S = G->DragDropSettings();
    if (P.Row < 0 && !ColumnDrop && S->OleEntireRows() && S->OleAppendRows() && G->RowCount() > 0) {
        const TRect Last = G->CellRect(0, G->RowCount() - 1);
        if (!Last.IsEmpty() && P.Client.Y >= Last.Bottom && P.Client.X >= 0 && P.Client.X < G->ClientWidth()) {
            P.Col = G->FixedCols();
            P.Row = G->RowCount() - 1;
            P.Append = true;
        }
    }
    return P;
}

// The part of a block of Cols x Rows cells placed from (DisplCol, ARow) that lies in the grid.
TGridRect ClippedBlock(TExtStringGrid* G, int DisplCol, int ARow, int Cols, int Rows) {
    return TGridRect{DisplCol, ARow, std::min(DisplCol + std::max(Cols, 1) - 1, G->ColCount() - 1),
                     std::min(ARow + std::max(Rows, 1) - 1, G->RowCount() - 1)};
}

// The place past the last column that a column drop may take.
bool PastLastColumn(TExtStringGrid* G, const TDropPlace& P) {
    if (P.Col >= 0 || G->ColCount() == 0) return false;
    const TRect Last = G->CellRect(G->ColCount() - 1, 0);
    return !Last.IsEmpty() && P.Client.X >= Last.Right && P.Client.Y >= 0 && P.Client.Y < G->ClientHeight();
}

} // namespace

void TGridDropTarget::DragMouseMove(TPoint pt, bool& Allow, TDropFormats Formats) {
    TExtStringGrid* G = FGrid;
    TDragDropSettings* S = G->DragDropSettings();
    const bool ColumnDrop = Formats.Contains(dfCol) && FAcceptCols;
    TDropPlace P = PlaceAt(G, pt, ColumnDrop);
    Allow = P.Col >= 0 && P.Row >= 0;

    if (!ColumnDrop) {
        // Dragging at the edges brings the hidden rows and columns into view.
        if ((P.Row == 0 && G->TopRow() > G->FixedRows()) ||
            (G->FixedRows() == 0 && P.Client.Y >= 0 && P.Client.Y < 8 && G->TopRow() > 0))
            G->SetTopRow(G->TopRow() - 1);
        else if (P.Row >= 0 && P.Row == G->TopRow() + G->VisibleRowCount() && P.Row < G->RowCount())
            G->SetTopRow(G->TopRow() + 1);
        if ((G->FOleTimerCount++ % 2) == 0) {
            if (P.Col == 0 && G->LeftCol() > G->FixedCols())
                G->SetLeftCol(G->LeftCol() - 1);
            else if (P.Col >= 0 && P.Col == G->LeftCol() + G->VisibleColCount() && P.Col < G->ColCount())
                G->SetLeftCol(G->LeftCol() + 1);
        }
        G->DragScrollOver(P.Client.X, P.Client.Y, dsDragMove);
        if (P.Row >= 0 && P.Row < G->FixedRows() && !(G->RowCount() <= G->FixedRows() && G->FixedRowAlways()))
            Allow = false;
    } else if (P.Row >= 0 && P.Row < G->FixedRows() && P.Col >= G->FixedCols()) {
        Allow = true;
    } else if (PastLastColumn(G, P)) {
        P.Col = G->ColCount();
        P.Row = 0;
        Allow = true;
    } else {
        Allow = false;
    }

    if (Formats.Contains(dfFile) || Formats.Contains(dfGridCells)) Allow = true;
    if (G->OnOleDragOver) G->OnOleDragOver(G, P.Row, P.Col, Allow);
    Allow = Allow && ((P.Col >= 0 && P.Row >= 0) || Formats.Contains(dfFile));

    if (Allow && ColumnDrop) {
        G->OleHideArrows(true, false);
        const int C = std::min(P.Col, G->ColCount() - 1);
        const TRect R = G->CellRect(C, std::max(P.Row, 0));
        const int X = P.Col >= G->ColCount() ? R.Right : R.Left;
        G->OleShowArrow(G->FArwD, TDropArrow::adDown, TPoint{X - 4, R.Top - 8});
        G->OleShowArrow(G->FArwU, TDropArrow::adUp, TPoint{X - 4, R.Bottom});
    } else if (Allow && P.Col >= 0 && P.Row >= 0) {
        G->OleHideArrows(false, true);
        int Row = P.Row;
        if (Row == 0 && G->FixedRowAlways()) Row = 1;
        const int C = S->OleEntireRows() ? G->FixedCols() : P.Col;
        TRect R = G->CellRect(std::min(C, G->ColCount() - 1), std::min(Row, G->RowCount() - 1));
        const int Y = P.Append || Row >= G->RowCount() ? R.Bottom : R.Top;
        G->OleShowArrow(G->FArwL, TDropArrow::adLeft, TPoint{R.Left - 10, Y - 4});
    } else {
        G->OleHideArrows(true, true);
    }
}

void TGridDropTarget::DragMouseLeave() {
    FGrid->OleHideArrows(true, true);
    FGrid->DragScrollOver(0, 0, dsDragLeave);
}

bool TGridDropTarget::DropText(TPoint pt, const QString& s) {
    TExtStringGrid* G = FGrid;
    TDragDropSettings* S = G->DragDropSettings();
    G->StopDragScroll();
    TDropPlace P = PlaceAt(G, pt, false);
    int Rows = 0, Cols = 0;
    TExtStringGrid::TextBlockSize(s, Rows, Cols);
    if (P.Col < 0 || P.Row < 0 || Rows == 0) return false;
    if (G->Options().Contains(goRowSelect)) P.Col = S->OleEntireRows() ? 0 : G->FixedCols();

    bool Allow = true;
    if (G->OnOleDrop) G->OnOleDrop(G, P.Row, P.Col, s, Allow);
    if (!Allow) return false;

    if (P.Row == 0 && G->RowCount() <= G->FixedRows() && G->FixedRowAlways()) P.Row = 1;
    if (S->OleInsertRows()) {
        const int OldTop = G->TopRow();
        if (P.Append) {
            G->SetRowCount(G->RowCount() + Rows);
            ++P.Row;
        } else {
            // Rows inserted above rows this grid is dragging out move them down: the grid
            // follows them, so that a move takes away the dragged rows, not their neighbours.
            G->InsertRows(P.Row, Rows);
        }
        const int Top = OldTop > G->FixedRows() ? OldTop + 1 : OldTop;
        if (Top < G->RowCount()) G->SetTopRow(Top);
    }

    // A grid that holds only its header row takes the dropped lines below it.
    if (P.Row >= G->RowCount()) G->SetRowCount(P.Row + Rows);

    // What the paste changed decides whether anything was dropped.
    const TGridRect Block = ClippedBlock(G, P.Col, P.Row, Cols, Rows);
    const int Right = Block.Right, Bottom = Block.Bottom;
    QStringList Before;
    for (int r = P.Row; r <= Bottom; ++r)
        for (int c = P.Col; c <= Right; ++c) Before << G->GetCellEx(G->RealColIndex(c), r);
    int PR = 0, PC = 0;
    {
        // A drop lands within the grid as it is: rows come only from the drop's own insertion.
        TNavigation* N = G->Navigation();
        const bool ColGrow = N->AllowClipboardColGrow(), RowGrow = N->AllowClipboardRowGrow();
        const TClipboardPasteAction Action = N->ClipboardPasteAction();
        struct TRestore {
            TNavigation* N;
            bool ColGrow, RowGrow;
            TClipboardPasteAction Action;
            ~TRestore() {
                N->SetAllowClipboardColGrow(ColGrow);
                N->SetAllowClipboardRowGrow(RowGrow);
                N->SetClipboardPasteAction(Action);
            }
        } Restore{N, ColGrow, RowGrow, Action};
        N->SetAllowClipboardColGrow(false);
        N->SetAllowClipboardRowGrow(false);
        N->SetClipboardPasteAction(paReplace);
        G->PasteText(P.Col, P.Row, s, PR, PC);
    }
    bool Changed = false;
    int i = 0;
    for (int r = P.Row; r <= Bottom && !Changed; ++r)
        for (int c = P.Col; c <= Right; ++c, ++i)
            if (r >= G->RowCount() || c >= G->ColCount() || G->GetCellEx(G->RealColIndex(c), r) != Before[i]) {
                Changed = true;
                break;
            }
    if (PR == 0) Changed = false;

    TGridRect Pasted = ClippedBlock(G, P.Col, P.Row, Cols, PR);
    Pasted.Left = std::max(P.Col, G->FixedCols());
    if (Changed) {
        G->SetSelection(Pasted);
        G->OleDropped(Pasted);
    }
    G->OleHideArrows(true, true);
    if (G->MoveButton()) G->MoveButton()->SetVisible(false);
    if (Changed && G->OnOleDropped) G->OnOleDropped(G, Pasted);
    return Changed;
}

// A drop ends the scrolling and the arrows of the drag; the cell under the point (-1 outside).
void TGridDropTarget::EndFeedbackAt(TPoint pt, int& DisplCol, int& ARow) {
    FGrid->StopDragScroll();
    FGrid->ScreenToCell(pt, DisplCol, ARow);
    FGrid->OleHideArrows(true, true);
}

bool TGridDropTarget::DropStream(TPoint pt, const QByteArray& ms) {
    TExtStringGrid* G = FGrid;
    int c = -1, r = -1;
    EndFeedbackAt(pt, c, r);
    if (G->MoveButton()) G->MoveButton()->SetVisible(false);
    if (c < 0 || r < 0) return false;
    if (!G->OleDropCellBlock(c, r, ms)) return false;
    if (G->OnOleDropped) G->OnOleDropped(G, G->Selection());
    return true;
}

// Rich text and links land whole in the one cell under the point, as they came.
bool TGridDropTarget::DropIntoCell(TPoint pt, const QString& s, const TCellDropEvent& Event) {
    TExtStringGrid* G = FGrid;
    int c = -1, r = -1;
    EndFeedbackAt(pt, c, r);
    if (c < 0 || r < 0) return false;
    bool Allow = true;
    if (Event) Event(G, r, c, s, Allow);
    const int RC = G->RealColIndex(c);
    if (!Allow || !G->OleMayWrite(RC, r)) return false;
    G->SetCellEx(RC, r, s);
    G->OleDropped(TGridRect{c, r, c, r});
    return true;
}

bool TGridDropTarget::DropRTF(TPoint pt, const QString& s) { return DropIntoCell(pt, s, FGrid->OnOleDrop); }

bool TGridDropTarget::DropURL(TPoint pt, const QString& s) { return DropIntoCell(pt, s, FGrid->OnOleDropURL); }

bool TGridDropTarget::DropFiles(TPoint pt, const QStringList& Files) {
    TExtStringGrid* G = FGrid;
    int c = -1, r = -1;
    EndFeedbackAt(pt, c, r);
    // Only one file at a time: which of several would be meant is anyone's guess.
    if (Files.size() != 1) return false;
    const QString& Name = Files.front();
    bool Allow = true;
    if (G->OnOleDropFile) G->OnOleDropFile(G, r, c, Name, Allow);
    if (!Allow) return false;
    const QString Up = Name.toUpper();
    bool Loaded = false;
    if (Up.contains(QStringLiteral(".CSV"))) {
        Allow = true;
        if (G->OnOleDrop) G->OnOleDrop(G, -1, -1, Name, Allow);
        if (Allow) {
            G->LoadFromCSV(Name, -1);
            Loaded = true;
        }
    }
    if (Up.contains(QStringLiteral(".XLS"))) {
        Allow = true;
        if (G->OnOleDrop) G->OnOleDrop(G, -1, -1, Name, Allow);
        if (Allow) {
            G->LoadFromXLS(Name);
            Loaded = true;
        }
    }
    return Loaded;
}

bool TGridDropTarget::DropCol(TPoint pt, int Col) {
    TExtStringGrid* G = FGrid;
    G->StopDragScroll();
    TDropPlace P = PlaceAt(G, pt, true);
    if (PastLastColumn(G, P)) {
        P.Col = G->ColCount();
        P.Row = 0;
    }
    G->OleHideArrows(false, true);
    if (G->MoveButton()) G->MoveButton()->SetVisible(false);
    if (P.Col < 0) return false;
    bool Moved = false;
    if (G->FOleDragCol >= 0) {
        // A column shown again from a column chooser: it leaves the list and takes the place.
        // The chooser knows the column by its place before any move; moves since then took it
        // elsewhere.
        const int RealCol = G->ColumnPosition(G->FOleDragCol);
        if (G->FOleDragList && G->FOleDragIndex >= 0 && G->FOleDragIndex < G->FOleDragList->Items()->Count())
            G->FOleDragList->Items()->Delete(G->FOleDragIndex);
        if (RealCol >= 0 && RealCol < G->TotalColCount()) {
            G->UnHideColumn(RealCol);
            const int From = G->DisplColIndex(RealCol);
            const int To = std::min(P.Col, G->ColCount() - 1);
            const bool Was = G->EnhRowColMove();
            G->SetEnhRowColMove(true);
            if (From >= 0 && From != To) G->MoveColumn(From, To);
            G->SetEnhRowColMove(Was);
            Moved = true;
        }
        G->FOleDragCol = -1;
        G->FOleDragIndex = -1;
        G->FOleDragList = nullptr;
    } else if (G->DragDropSettings()->OleColumnReorder()) {
        P.Col = std::min(P.Col, G->ColCount() - 1);
        // The column number comes with the data: one this grid does not have moves nothing.
        if (Col >= 0 && Col < G->ColCount() && Col != P.Col) {
            G->MoveColumn(Col, P.Col);
            Moved = true;
        }
    }
    if (G->OnOleDropCol) G->OnOleDropCol(G, P.Row, Col, P.Col);
    return Moved;
}

// ---- the grid ----------------------------------------------------------------------------------------
void TExtStringGrid::OleColumnDragStart(int ACol, int AIndex, TListBox* AList) {
    FOleDragCol = ACol;
    FOleDragIndex = AIndex;
    FOleDragList = AList;
}

void TExtStringGrid::DropRequest(TDropRequest& Request) {
    TGridDropTarget* T = DragDropSettings()->DropTarget();
    if (!T) {
        Request.Effect = DROPEFFECT_NONE;
        return;
    }
    TDragDropSettings* S = DragDropSettings();
    T->FAcceptText = S->OleAcceptText();
    T->FAcceptFiles = S->OleAcceptFiles();
    T->FAcceptURLs = S->OleAcceptURLs();
    T->FAcceptCols = S->OleColumnDragDrop() || S->OleColumnReorder() || FOleDragCol >= 0;
    T->Request(Request);
}

bool TExtStringGrid::OleMayWrite(int RealCol, int DisplRow) {
    if (RealCol < 0 || DisplRow < 0 || RealCol >= TotalColCount() || DisplRow >= RowCount()) return false;
    int BC = RealCol, BR = DisplRow;
    ResolveBaseCell(RealCol, DisplRow, BC, BR);
    return !ReadOnly(BC, BR) && IsEditableBaseCell(RealCol, DisplRow);
}

bool TExtStringGrid::OleDropCellBlock(int DisplCol, int ARow, const QByteArray& Block) {
    if (DisplCol < 0 || ARow < 0 || DisplCol >= ColCount() || ARow >= RowCount()) return false;
    // The block may come from another program: it is read whole into a scratch grid first, and
    // only a block that reads cleanly changes this grid.
    TGridPropIO Header(nullptr);
    TMemoryStream Part;
    if (!CellBlockToPointStream(Block, Part, Header)) return false;
    try {
        TExtStringGrid Scratch(nullptr);
        Scratch.SetColCount(1);
        Scratch.SetRowCount(1);
        Scratch.LoadAtPointFromBinStream(TPoint{0, 0}, &Part);
    } catch (const Exception&) {
        return false;
    }
    const int RC0 = RealColIndex(DisplCol);
    const int Right = std::min(RC0 + Header.ColCount() - 1, TotalColCount() - 1);
    const int Bottom = std::min(ARow + Header.RowCount() - 1, RowCount() - 1);
    // Cells a drop may not change keep their text, properties and graphic.
    std::vector<std::pair<TPoint, QByteArray>> Kept;
    int Writable = 0;
    for (int r = ARow; r <= Bottom; ++r)
        for (int c = RC0; c <= Right; ++c) {
            if (OleMayWrite(c, r)) {
                ++Writable;
                continue;
            }
            TMemoryStream K;
            SaveRectToBinStream(TRect{c, r, c, r}, &K);
            Kept.emplace_back(TPoint{c, r}, K.Bytes());
        }
    if (Writable == 0) return false;
    Part.Seek(0, soBeginning);
    LoadAtPointFromBinStream(TPoint{RC0, ARow}, &Part);
    for (const auto& [At, Bytes] : Kept) {
        TGridPropIO H(nullptr);
        TMemoryStream One;
        if (CellBlockToPointStream(Bytes, One, H)) LoadAtPointFromBinStream(At, &One);
    }
    const TGridRect Placed = ClippedBlock(this, DisplCol, ARow, Header.ColCount(), Header.RowCount());
    MarkRowsModified(ARow, Bottom);
    // The selection stays as it was: the drop's handler is told it as it stands.
    OleDropped(Placed);
    CellsChanged(TRect{RC0, ARow, Right, Bottom});
    Invalidate();
    return true;
}

void TExtStringGrid::OleDropped(const TGridRect& Placed) {
    if (FOleDragging) FOleDroppedHere.push_back(Placed);
}

void TExtStringGrid::OleRowsInserted(int DisplRow, int RCount) {
    if (!FOleDragging || RCount <= 0) return;
    for (int& R : FOleDragRows)
        if (R >= DisplRow) R += RCount;
    for (TGridRect& D : FOleDroppedHere) {
        if (D.Top >= DisplRow) D.Top += RCount;
        if (D.Bottom >= DisplRow) D.Bottom += RCount;
    }
    if (FDropSelection.Top >= DisplRow) {
        FDropSelection.Top += RCount;
        FDropSelection.Bottom += RCount;
    }
}

void TExtStringGrid::OleHideArrows(bool Rows, bool Cols) {
    if (Rows && FArwL) FArwL->hide();
    if (Cols && FArwD) FArwD->hide();
    if (Cols && FArwU) FArwU->hide();
}

void TExtStringGrid::OleShowArrow(std::unique_ptr<TDropArrow>& Arrow, int Direction, TPoint ClientPos) {
    if (!Arrow) Arrow = std::make_unique<TDropArrow>(TDropArrow::TDirection(Direction));
    Arrow->SetColor(ArrowColor());
    Arrow->ShowAt(ClientToScreen(ClientPos));
}

QPixmap TExtStringGrid::OleDragPicture(const TGridRect& Cells) {
    TRect Area{0, 0, 0, 0};
    bool Any = false;
    for (int r = Cells.Top; r <= Cells.Bottom; ++r) {
        if (r < TopRow() && r >= FixedRows()) continue;
        if (r >= TopRow() + VisibleRowCount() + 1) break;
        for (int c = Cells.Left; c <= Cells.Right; ++c) {
            const TRect R = CellRect(c, r);
            if (R.IsEmpty()) continue;
            if (!Any) {
                Area = R;
                Any = true;
            } else {
                Area.Left = std::min(Area.Left, R.Left);
                Area.Top = std::min(Area.Top, R.Top);
                Area.Right = std::max(Area.Right, R.Right);
                Area.Bottom = std::max(Area.Bottom, R.Bottom);
            }
        }
    }
    if (!Any) return QPixmap();
    return grab(QRect(Area.Left, Area.Top, Area.Width(), Area.Height()));
}

void TExtStringGrid::OleDragStart(int DisplCol, int ARow) {
    TDragDropSettings* S = DragDropSettings();
    const int RealCol = RealColIndex(DisplCol);
    bool Allow = !(S->OleColumnsOnly() && ARow >= FixedRows());
    if (OnOleDrag) OnOleDrag(this, ARow, RealCol, GetCellEx(RealCol, ARow), Allow);
    if (!Allow) {
        if (GridState() == gsNormal) FGridState = gsSelecting;
        return;
    }
    TGridDropSource Source(this);
    if (OnOleDragStart) OnOleDragStart(this, ARow, RealCol);
    DoStartBlockFocus();
    // The press ends with the drag: the release goes to wherever the data is dropped.
    FMouseKeepDown = false;
    FMouseDownMove = false;
    FGridState = gsNormal;
    SetMouseCapture(false);

    if (ARow < FixedRows() && S->OleColumnDragDrop()) {
        QPixmap Picture;
        if (S->ShowCells())
            Picture = OleDragPicture(TGridRect{DisplCol, 0, DisplCol, RowCount() - 1});
        else
            Picture = OleDragPicture(TGridRect{DisplCol, ARow, DisplCol, ARow});
        int Effect = DROPEFFECT_NONE;
        const int Res =
            BeginColumnDragDrop(&Source, this, DisplCol, DROPEFFECT_COPY | DROPEFFECT_MOVE, Effect, Picture);
        if (Res != DRAGDROP_S_CANCEL && OnOleDragStop) OnOleDragStop(this, Effect);
        if (MoveButton()) MoveButton()->SetVisible(false);
        OleHideArrows(false, true);
        return;
    }

    FDropSelection = Selection();
    FOleDragRows.clear();
    if (S->OleRemoveRows() && Options().Contains(goRowSelect)) {
        if (MouseActions()->DisjunctRowSelect() && RowSelectCount() > 0) {
            for (int r = FixedRows(); r < RowCount(); ++r) {
                const int Idx = RowSelectIndex(r);
                if (Idx >= 0 && Idx < RowSelectLimit() && GetRowSelect(Idx)) FOleDragRows.push_back(r);
            }
        } else {
            for (int r = FDropSelection.Top; r <= FDropSelection.Bottom; ++r) FOleDragRows.push_back(r);
        }
    }
    QByteArray Block;
    if (Navigation()->AllowFmtClipboard()) {
        const int L = std::min(RealColIndex(FDropSelection.Left), RealColIndex(FDropSelection.Right));
        const int R = std::max(RealColIndex(FDropSelection.Left), RealColIndex(FDropSelection.Right));
        if (L >= 0 && FDropSelection.Top >= 0) {
            TMemoryStream M;
            SaveRectToBinStream(TRect{L, FDropSelection.Top, R, FDropSelection.Bottom}, &M);
            Block = M.Bytes();
        }
    }
    bool SelectedOnly = false;
    const TGridRect TextRect = ClipboardCopyRect(SelectedOnly);
    const QString Text = SelectionToText(TextRect, SelectedOnly);
    const QPixmap Picture = S->ShowCells() ? OleDragPicture(FDropSelection) : QPixmap();

    FOleDroppedHere.clear();
    FOleDragging = true;
    struct TDragging {
        TExtStringGrid* G;
        ~TDragging() { G->FOleDragging = false; }
    } Dragging{this};
    int Effect = DROPEFFECT_NONE;
    // Rich text is taken before the plain text and fills one cell: offered for a block of cells
    // (or for a neighbour the pointer has reached), a move would clear the dragged cells once a
    // single other text had landed. So only a lone dragged cell that holds rich text offers it.
    QString Rich;
    const bool OneCell = TextRect.Left == TextRect.Right && TextRect.Top == TextRect.Bottom && !SelectedOnly &&
        !(MouseActions()->DisjunctCellSelect() && SelectedCellsCount() > 1);
    if (OneCell) {
        const QString T = GetCellEx(RealColIndex(TextRect.Left), TextRect.Top);
        if (T.contains(QStringLiteral("{\\"))) Rich = T;
    }
    const int Res =
        BeginTextDragDrop(&Source, this, Text, Rich, Effect, DROPEFFECT_COPY | DROPEFFECT_MOVE, Block, Picture);
    if (Res == DRAGDROP_S_CANCEL) return;
    if (Effect == DROPEFFECT_MOVE && !S->OleCopyAlways()) OleRemoveSource();
    if (OnOleDragStop) OnOleDragStop(this, Effect);
}

void TExtStringGrid::OleRemoveSource() {
    auto Dropped = [this](int c, int r) {
        for (const TGridRect& D : FOleDroppedHere)
            if (c >= D.Left && c <= D.Right && r >= D.Top && r <= D.Bottom) return true;
        return false;
    };
    if (DragDropSettings()->OleRemoveRows() && Options().Contains(goRowSelect)) {
        // A row that a drop into this grid wrote over holds the dropped data now: it stays.
        std::set<int, std::greater<int>> Rows;
        for (int r : FOleDragRows) {
            bool Hit = false;
            for (const TGridRect& D : FOleDroppedHere) Hit = Hit || (r >= D.Top && r <= D.Bottom);
            if (!Hit && r >= FixedRows() && r < RowCount()) Rows.insert(r);
        }
        for (int r : Rows) RemoveRows(r, 1);
        return;
    }
    std::vector<TPoint> Cells;
    if (MouseActions()->DisjunctCellSelect() && SelectedCellsCount() > 0) {
        for (int i = 0; i < SelectedCellsCount(); ++i) {
            const TGridCoord C = GetSelectedCell(i);
            Cells.push_back(TPoint{C.X, C.Y});
        }
    } else {
        for (int r = FDropSelection.Top; r <= FDropSelection.Bottom; ++r)
            for (int c = FDropSelection.Left; c <= FDropSelection.Right; ++c) Cells.push_back(TPoint{c, r});
    }
    int Top = RowCount(), Bottom = -1;
    for (const TPoint& P : Cells) {
        if (P.X < 0 || P.Y < 0 || P.X >= ColCount() || P.Y >= RowCount() || Dropped(P.X, P.Y)) continue;
        const int RC = RealColIndex(P.X);
        if (!OleMayWrite(RC, P.Y)) continue;
        SetCellEx(RC, P.Y, QString());
        Top = std::min(Top, P.Y);
        Bottom = std::max(Bottom, P.Y);
    }
    if (Bottom >= 0) {
        MarkRowsModified(Top, Bottom);
        CellsChanged(TRect{RealColIndex(FDropSelection.Left), Top, RealColIndex(FDropSelection.Right), Bottom});
    }
    Invalidate();
}
