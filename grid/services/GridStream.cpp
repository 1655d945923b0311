// Unit ExtGrid: the grid stream. A header record, then one record per cell of a block, each cell
// followed by its properties and its graphic with the graphic's own object when it has them. The
// reader takes in and checks the whole block before it touches the grid, so a damaged or foreign
// stream raises EReadError and changes nothing.
#include "grid/base/ExtGridCtrls.h"
#include "grid/control/ExtGrid.h"
#include "grid/control/GridCellIO.h"
#include "grid/services/GridFileIO.h"
#include "platform/rtl/Files.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace {

// The export states the writers report through ExportNotification.
constexpr int esExportStart = 0;
constexpr int esExportDone = 2;
constexpr int esExportNextRow = 5;

// Widths and heights beyond this are no sizes a grid shows.
constexpr int MaxSize = 65535;
// A whole-grid block starts after the source's fixed cells when those were not saved; no grid has
// more fixed columns or rows than this.
constexpr int MaxFixedOffset = 4096;

[[noreturn]] void Damaged(const QString& What) { throw EReadError(QStringLiteral("Invalid grid stream: ") + What); }

// The fewest bytes a cell record takes: its signature, class name, empty component name and end.
qint64 MinCellRecordBytes() { return 4 + 4 + 2 * qint64(QStringLiteral("TGridCellIO").size()) + 4 + 1; }

// Which object record follows a graphic of this kind.
enum class TExtra { None, Bitmap, Icon, Strings, Picture, FilePicture };

TExtra ExtraOf(TCellType T) {
    switch (T) {
        case ctBitmap:
        case ctBitButton: return TExtra::Bitmap;
        case ctIcon: return TExtra::Icon;
        case ctRadio:
        case ctImages: return TExtra::Strings;
        case ctPicture: return TExtra::Picture;
        case ctFilePicture: return TExtra::FilePicture;
        default: return TExtra::None;
    }
}

bool StreamsGraphic(const TCellGraphic* CG) {
    if (!CG || CG->CellType() == ctEmpty) return false;
    // Objects the cell only borrows stay with their owner.
    return ExtraOf(CG->CellType()) == TExtra::None || CG->CellCreated();
}

QString JoinSizes(const std::vector<int>& Sizes) {
    QStringList L;
    L.reserve(qsizetype(Sizes.size()));
    for (int S : Sizes) L << QString::number(S);
    return L.join(QLatin1Char(','));
}

// Exactly Count decimal sizes joined by ",".
std::vector<int> SplitSizes(const QString& Text, int Count, const char* What) {
    const QStringList L = Text.split(QLatin1Char(','));
    if (L.size() != Count) Damaged(QStringLiteral("%1 do not match the block").arg(QLatin1String(What)));
    std::vector<int> Sizes;
    Sizes.reserve(size_t(Count));
    for (const QString& S : L) {
        bool Ok = false;
        const int V = S.toInt(&Ok, 10);
        if (!Ok || V < 0 || V > MaxSize) Damaged(QStringLiteral("bad size in %1").arg(QLatin1String(What)));
        Sizes.push_back(V);
    }
    return Sizes;
}

// One cell as read, before anything is applied.
struct TStreamCell {
    qint64 Col = 0;
    qint64 Row = 0;
    QString Text;
    std::unique_ptr<TGridCellPropIO> Props;
    std::unique_ptr<TGridGraphicIO> Graphic;
    std::unique_ptr<TGridStreamCarrier> Extra;
    QString ImageList; // the index list of a ctImages graphic, checked
};

struct TStreamBlock {
    TGridPropIO Header{nullptr};
    std::vector<int> Widths;
    std::vector<int> Heights;
    std::vector<TStreamCell> Cells;
};

void ReadStreamBlock(TStream* Stream, TStreamBlock& B) {
    ReadGridCarrier(Stream, &B.Header);
    const TGridPropIO& H = B.Header;
    if (H.Version() != TGridPropIO::CurrentVersion) Damaged(QStringLiteral("unknown version"));
    if (H.ColCount() < 1 || H.RowCount() < 1) Damaged(QStringLiteral("empty block"));
    const qint64 Count = qint64(H.ColCount()) * H.RowCount();
    // Every cell has its record: a count the stream cannot hold is damage, not a size to allocate.
    if (Count > (Stream->Size() - Stream->Position()) / MinCellRecordBytes())
        Damaged(QStringLiteral("more cells than the stream holds"));
    B.Widths = SplitSizes(H.ColWidths(), H.ColCount(), "column widths");
    B.Heights = SplitSizes(H.RowHeights(), H.RowCount(), "row heights");
    B.Cells.resize(size_t(Count));
    qint64 FirstCol = 0, FirstRow = 0;
    for (qint64 i = 0; i < Count; ++i) {
        TStreamCell& C = B.Cells[size_t(i)];
        TGridCellIO Cell(nullptr);
        ReadGridCarrier(Stream, &Cell);
        C.Col = Cell.Col();
        C.Row = Cell.Row();
        C.Text = Cell.Cell();
        if (i == 0) {
            FirstCol = C.Col;
            FirstRow = C.Row;
            if (H.FullGrid() && (FirstCol > MaxFixedOffset || FirstRow > MaxFixedOffset))
                Damaged(QStringLiteral("cell outside the block"));
        }
        if (C.Col < FirstCol || C.Col - FirstCol >= H.ColCount() || C.Row < FirstRow ||
            C.Row - FirstRow >= H.RowCount())
            Damaged(QStringLiteral("cell outside the block"));
        if (!Cell.HasProp()) continue;
        C.Props = std::make_unique<TGridCellPropIO>(nullptr);
        ReadGridCarrier(Stream, C.Props.get());
        const TCellProperties* P = C.Props->CellProperties();
        if (P->CellSpanX() < -1 || P->CellSpanX() > MaxSize || P->CellSpanY() < -1 || P->CellSpanY() > MaxSize)
            Damaged(QStringLiteral("bad cell span"));
        if (!C.Props->HasGraphic()) continue;
        C.Graphic = std::make_unique<TGridGraphicIO>(nullptr);
        ReadGridCarrier(Stream, C.Graphic.get());
        const TCellType Kind = C.Graphic->CellGraphic()->CellType();
        if (Kind == ctEmpty) Damaged(QStringLiteral("graphic of an empty cell"));
        if (ExtraOf(Kind) == TExtra::None) continue;
        switch (ExtraOf(Kind)) {
            case TExtra::Bitmap: C.Extra = std::make_unique<TGridBMPIO>(nullptr); break;
            case TExtra::Icon: C.Extra = std::make_unique<TGridIconIO>(nullptr); break;
            case TExtra::Strings: C.Extra = std::make_unique<TGridSLIO>(nullptr); break;
            case TExtra::Picture: C.Extra = std::make_unique<TGridPicIO>(nullptr); break;
            case TExtra::FilePicture: C.Extra = std::make_unique<TGridFilePicIO>(nullptr); break;
            case TExtra::None: break;
        }
        ReadGridCarrier(Stream, C.Extra.get());
        if (Kind == ctImages) {
            TStringList* L = static_cast<TGridSLIO*>(C.Extra.get())->Strings();
            if (L->Count() > 1) Damaged(QStringLiteral("bad image list"));
            C.ImageList = L->Count() ? L->Get(0) : QString();
            TIntList Check(0, 0);
            try {
                Check.SetStrValue(C.ImageList);
            } catch (const EConvertError&) {
                Damaged(QStringLiteral("bad image list"));
            }
        }
    }
}

} // namespace

int TExtStringGrid::GridStreamID() {
    static int LastID = 0;
    if (FGridStreamID == 0) FGridStreamID = ++LastID;
    return FGridStreamID;
}

void TExtStringGrid::SaveRectToBinStream(const TRect& Rect, TStream* Stream) {
    const int Cols = Rect.Right - Rect.Left + 1;
    const int Rows = Rect.Bottom - Rect.Top + 1;
    if (Rect.Left < 0 || Rect.Top < 0 || Cols < 1 || Rows < 1 || Rect.Right >= TotalColCount() ||
        Rect.Bottom >= RowCount())
        throw EExtGridError(QStringLiteral("Grid index out of range"));
    // The block is made whole in memory first, so a failure leaves the caller's stream as it was.
    TMemoryStream Out;
    TGridPropIO Header(nullptr);
    Header.SetColCount(Cols);
    Header.SetRowCount(Rows);
    Header.SetFullGrid(SaveFixedCells() ? Rows == RowCount() && Cols == TotalColCount()
                                        : Rows == RowCount() - FixedRows() && Cols == TotalColCount() - FixedCols());
    Header.SetID(GridStreamID());
    std::vector<int> Sizes;
    for (int RealCol = Rect.Left; RealCol <= Rect.Right; ++RealCol)
        Sizes.push_back(IsHiddenColumn(RealCol) ? 0 : ColWidths(DisplColIndex(RealCol)));
    Header.SetColWidths(JoinSizes(Sizes));
    Sizes.clear();
    for (int DisplRow = Rect.Top; DisplRow <= Rect.Bottom; ++DisplRow) Sizes.push_back(RowHeights(DisplRow));
    Header.SetRowHeights(JoinSizes(Sizes));
    WriteGridCarrier(&Out, &Header);

    TGridCellIO Cell(nullptr);
    TGridCellPropIO Props(nullptr);
    TGridGraphicIO Graphic(nullptr);
    TGridFileProgress Progress(this);
    ExportNotification(esExportStart, Rect.Top);
    for (int DisplRow = Rect.Top; DisplRow <= Rect.Bottom; ++DisplRow) {
        ExportNotification(esExportNextRow, DisplRow);
        for (int RealCol = Rect.Left; RealCol <= Rect.Right; ++RealCol) {
            Cell.SetCol(RealCol);
            Cell.SetRow(DisplRow);
            Cell.SetCell(GetGridCell(RealCol, DisplRow));
            const bool HasProp = HasCellProperties(RealCol, DisplRow);
            Cell.SetHasProp(HasProp);
            WriteGridCarrier(&Out, &Cell);
            if (!HasProp) continue;
            TCellProperties* P = GetCellProperties(RealCol, DisplRow);
            auto* CG = dynamic_cast<TCellGraphic*>(P->GraphicObject());
            const bool HasGraphic = StreamsGraphic(CG);
            Props.SetCellProperties(P);
            Props.SetHasGraphic(HasGraphic);
            WriteGridCarrier(&Out, &Props);
            if (!HasGraphic) continue;
            Graphic.SetCellGraphic(CG);
            WriteGridCarrier(&Out, &Graphic);
            switch (ExtraOf(CG->CellType())) {
                case TExtra::Bitmap: {
                    TGridBMPIO Io(nullptr);
                    TBitmap Empty;
                    TBitmap* B = CG->CellBitmapAs<TBitmap>();
                    Io.SetBitmap(B ? B : &Empty);
                    WriteGridCarrier(&Out, &Io);
                    break;
                }
                case TExtra::Icon: {
                    TGridIconIO Io(nullptr);
                    if (TIcon* I = CG->CellIconAs<TIcon>()) Io.SetIcon(I);
                    WriteGridCarrier(&Out, &Io);
                    break;
                }
                case TExtra::Strings: {
                    TGridSLIO Io(nullptr);
                    TStringList L;
                    if (CG->CellType() == ctImages) {
                        if (TIntList* Idx = CG->CellBitmapAs<TIntList>()) L.Add(Idx->StrValue());
                    } else if (TStrings* S = CG->CellBitmapAs<TStrings>()) {
                        L.Assign(S);
                    }
                    Io.SetStrings(&L);
                    WriteGridCarrier(&Out, &Io);
                    break;
                }
                case TExtra::Picture: {
                    TGridPicIO Io(nullptr);
                    if (TPicture* Pic = CG->CellBitmapAs<TPicture>()) Io.SetPicture(Pic);
                    WriteGridCarrier(&Out, &Io);
                    break;
                }
                case TExtra::FilePicture: {
                    TGridFilePicIO Io(nullptr);
                    if (TFilePicture* Pic = CG->CellBitmapAs<TFilePicture>()) Io.SetPicture(Pic);
                    WriteGridCarrier(&Out, &Io);
                    break;
                }
                case TExtra::None: break;
            }
        }
        Progress.Report(DisplRow - Rect.Top, Rows - 1);
    }
    ExportNotification(esExportDone, -1);
    Stream->WriteBuffer(Out.Bytes().constData(), Out.Size());
}

void TExtStringGrid::SaveToBinStream(TStream* Stream) {
    // The whole save range of real columns, hidden ones included, so none is lost.
    SaveRectToBinStream(Rect(SaveStartCol(), SaveStartRow(), SaveEndCol() + NumHiddenColumns(), SaveEndRow()), Stream);
}

void TExtStringGrid::SaveToBinFile(const QString& FileName) {
    TMemoryStream Buffer;
    SaveToBinStream(&Buffer);
    WriteFileAtomic(FileName, Buffer.Bytes());
}

void TExtStringGrid::LoadAtPointFromBinStream(TPoint Point, TStream* Stream) {
    TStreamBlock B;
    ReadStreamBlock(Stream, B);
    const TGridPropIO& H = B.Header;
    const qint64 OriginCol = H.FullGrid() ? 0 : B.Cells.front().Col;
    const qint64 OriginRow = H.FullGrid() ? 0 : B.Cells.front().Row;
    auto TargetCol = [&](const TStreamCell& C) { return C.Col + Point.X - OriginCol; };
    auto TargetRow = [&](const TStreamCell& C) { return C.Row + Point.Y - OriginRow; };

    BeginUpdate();
    try {
        if (H.FullGrid()) {
            Clear();
            if (NumHiddenColumns() > 0) UnHideColumnsAll();
            // A block saved without its fixed cells starts after them: the grid holds it whole.
            const TStreamCell& Last = B.Cells.back();
            const qint64 Cols = std::max<qint64>(H.ColCount(), TargetCol(Last) + 1);
            const qint64 Rows = std::max<qint64>(H.RowCount(), TargetRow(Last) + 1);
            SetRowCount(int(std::max<qint64>(Rows, FixedRows() + 1)));
            SetColCount(int(std::max<qint64>(Cols, FixedCols() + 1)));
            for (int i = 0; i < H.ColCount() && i < ColCount(); ++i) SetColWidths(i, B.Widths[size_t(i)]);
            for (int j = 0; j < H.RowCount() && j < RowCount(); ++j) SetRowHeights(j, B.Heights[size_t(j)]);
        }
        TGridFileProgress Progress(this);
        qint64 PrevRow = -1;
        for (const TStreamCell& C : B.Cells) {
            const qint64 tc = TargetCol(C);
            const qint64 tr = TargetRow(C);
            if (tr != PrevRow) {
                Progress.Report(std::max<qint64>(0, tr), std::max(1, RowCount()));
                PrevRow = tr;
            }
            if (tc < 0 || tr < 0 || tc >= TotalColCount() || tr >= RowCount()) continue;
            const int RealCol = int(tc), DisplRow = int(tr);
            SetGridCell(RealCol, DisplRow, C.Text);
            if (!C.Props) continue;
            TCellProperties* P = GetCellProperties(RealCol, DisplRow);
            CopyCarriedCellProperties(P, C.Props->CellProperties());
            P->SetOwnerCol(RealCol);
            P->SetOwnerRow(DisplRow);
            if (!C.Graphic) continue;
            TCellGraphic* CG = NewCellGraphic(RealCol, DisplRow);
            CopyCarriedCellGraphic(CG, C.Graphic->CellGraphic());
            switch (ExtraOf(CG->CellType())) {
                case TExtra::Bitmap: {
                    auto Bmp = std::make_unique<TBitmap>();
                    Bmp->Assign(static_cast<TGridBMPIO*>(C.Extra.get())->Bitmap());
                    CG->SetCellBitmapOwned(std::move(Bmp));
                    break;
                }
                case TExtra::Icon: {
                    auto Icon = std::make_unique<TIcon>();
                    Icon->Assign(static_cast<TGridIconIO*>(C.Extra.get())->Icon());
                    CG->SetCellIconOwned(std::move(Icon));
                    break;
                }
                case TExtra::Strings:
                    if (CG->CellType() == ctImages) {
                        auto List = std::make_unique<TIntList>(RealCol, DisplRow);
                        List->SetStrValue(C.ImageList);
                        List->OnChange = [this](TObject* Sender, int LC, int LR) {
                            RepaintListedCell(Sender, DisplColIndex(LC), LR);
                        };
                        CG->SetCellBitmapOwned(std::move(List));
                    } else {
                        auto List = std::make_unique<TStringList>();
                        List->Assign(static_cast<TGridSLIO*>(C.Extra.get())->Strings());
                        CG->SetCellBitmapOwned(std::move(List));
                    }
                    break;
                case TExtra::Picture: {
                    auto Pic = std::make_unique<TPicture>();
                    Pic->Assign(static_cast<TGridPicIO*>(C.Extra.get())->Picture());
                    CG->SetCellBitmapOwned(std::move(Pic));
                    break;
                }
                case TExtra::FilePicture: {
                    auto Pic = std::make_unique<TFilePicture>();
                    Pic->Assign(static_cast<TGridFilePicIO*>(C.Extra.get())->Picture());
                    CG->SetCellBitmapOwned(std::move(Pic));
                    break;
                }
                case TExtra::None: break;
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TExtStringGrid::LoadFromBinStream(TStream* Stream) {
    LoadAtPointFromBinStream(Point(0, 0), Stream);
    CountNodeRows();
}

void TExtStringGrid::LoadFromBinFile(const QString& FileName) {
    TMemoryStream Buffer;
    const QByteArray Bytes = ReadFileBytes(FileName);
    Buffer.WriteBuffer(Bytes.constData(), Bytes.size());
    Buffer.SetPosition(0);
    LoadFromBinStream(&Buffer);
}

void TExtStringGrid::CountNodeRows() {
    int Nodes = 0;
    for (int DisplRow = FixedRows(); DisplRow < RowCount(); ++DisplRow)
        if (GetCellType(0, DisplRow) == ctNode) ++Nodes;
    FNumNodes = Nodes;
    if (Nodes > 0) RepaintCol(0);
}
