// Unit ExtGrid: printing and preview. One page engine lays the grid out on pages in 0.1 mm (y up
// from the page's top edge): it measures the columns, fits them to the page when asked, splits the
// columns into bands and the rows into pages, repeats fixed rows and columns, and draws headers,
// footers and page borders. It runs once to count the pages and once to draw them.
#include "grid/base/EsgHTMLE.h"
#include "grid/control/ExtGrid.h"
#include "platform/gui/Printers.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int esExportStart = 0;
constexpr int esExportNextRow = 1;
constexpr int esExportDone = 2;
constexpr int esExportSelRow = 3;

int RoundInt(double V) { return int(std::lround(V)); }

// Restores a canvas's mapping, viewport origin and clip however the run ends.
class TMappingScope {
public:
    TMappingScope(TCanvas* C, TPoint Org) : FC(C), FMode(C->MapMode()), FOrg(C->ViewportOrg()) {
        C->SetViewportOrg(Org);
        C->SetMapMode(MM_LOMETRIC);
    }
    ~TMappingScope() {
        FC->SetMapMode(FMode);
        FC->SetViewportOrg(FOrg);
    }
    TMappingScope(const TMappingScope&) = delete;
    TMappingScope& operator=(const TMappingScope&) = delete;

private:
    TCanvas* FC;
    int FMode;
    TPoint FOrg;
};

template <class T>
class TValueScope {
public:
    TValueScope(T& Ref, T Value) : FRef(Ref), FOld(Ref) { FRef = Value; }
    ~TValueScope() { FRef = FOld; }
    TValueScope(const TValueScope&) = delete;
    TValueScope& operator=(const TValueScope&) = delete;

private:
    T& FRef;
    T FOld;
};

bool IsTop(TPrintPosition P) { return P == ppTopLeft || P == ppTopRight || P == ppTopCenter; }
bool IsBottom(TPrintPosition P) { return P == ppBottomLeft || P == ppBottomRight || P == ppBottomCenter; }

} // namespace

// ---- font units and tables ----------------------------------------------------------------------------

int TExtStringGrid::MapFontHeight(int PointSize) const {
    return -RoundInt(PointSize * 254.0 / 72.0 * FFontscalefactor);
}

int TExtStringGrid::MapFontSize(int Height) const { return RoundInt(Height * 72.0 / 254.0); }

int TExtStringGrid::MaxWidths(int DisplCol) const {
    return DisplCol >= 0 && DisplCol < int(FMaxWidths.size()) ? FMaxWidths[size_t(DisplCol)] : 0;
}

int TExtStringGrid::Indents(int DisplCol) const {
    return DisplCol >= 0 && DisplCol < int(FIndents.size()) ? FIndents[size_t(DisplCol)] : 0;
}

// The tables hold every display column and one more, however wide the grid is.
void TExtStringGrid::SizePrintTables() {
    const size_t N = size_t(std::max(513, ColCount() + 2));
    if (FMaxWidths.size() < N) FMaxWidths.resize(N, 0);
    if (FIndents.size() < N) FIndents.resize(N, 0);
}

int TExtStringGrid::PrinterLandscapeRotation() { return Printer()->LandscapeRotation(); }

void TExtStringGrid::InvalidateGridRect(const TGridRect& R) {
    if (!HandleAllocated()) return;
    const TRect A = CellRect(R.Left, R.Top), B = CellRect(R.Right, R.Bottom);
    TRect U;
    UnionRect(U, A, B);
    if (!U.IsEmpty()) update(QRect(U.Left, U.Top, U.Width(), U.Height()));
}

// ---- what is printed ----------------------------------------------------------------------------------

TGridRect TExtStringGrid::AllPrintCells() const { return TGridRect{0, 0, ColCount() - 1, RowCount() - 1}; }

TGridRect TExtStringGrid::SelectionPrintCells() const { return Selection(); }

bool TExtStringGrid::PrintRowPrinted(int ARow) {
    if (!FPrintRun.SelectionMode) return true;
    if (ARow < FixedRows() && PrintSettings()->FixedCellsAlways()) return true;
    if (MouseActions()->DisjunctRowSelect()) return GetRowSelect(ARow);
    const TGridRect S = Selection();
    return ARow >= S.Top && ARow <= S.Bottom;
}

bool TExtStringGrid::PrintColPrinted(int DisplCol) {
    if (!FPrintRun.SelectionMode) return true;
    if (MouseActions()->DisjunctRowSelect()) return true;
    if (DisplCol < FixedCols() && PrintSettings()->FixedCellsAlways()) return true;
    if (MouseActions()->DisjunctColSelect()) return GetColSelect(DisplCol);
    const TGridRect S = Selection();
    return DisplCol >= S.Left && DisplCol <= S.Right;
}

// ---- operations ---------------------------------------------------------------------------------------

void TExtStringGrid::Print() { PrintGridBlock(AllPrintCells(), false); }
void TExtStringGrid::PrintRect(const TGridRect& Gridrect) { PrintGridBlock(Gridrect, false); }
void TExtStringGrid::PrintSelection() { PrintGridBlock(SelectionPrintCells(), false); }
void TExtStringGrid::PrintSelectedRows() { PrintGridBlock(AllPrintCells(), true); }
void TExtStringGrid::PrintSelectedCols() { PrintGridBlock(AllPrintCells(), true); }

void TExtStringGrid::PrintGridBlock(const TGridRect& Gridrect, bool SelectionMode) {
    PrintOn(*Printer(), Gridrect, SelectionMode);
}

void TExtStringGrid::PrintOn(TPrinter& P, const TGridRect& Gridrect, bool SelectionMode) {
    TPrintSettings* PS = PrintSettings();
    ExportNotification(esExportStart, -1);
    FPrintRect = Gridrect;
    if (!PS->UseDefaultOrientation()) P.SetOrientation(PS->Orientation());
    FPrevRect = Rect(0, 0, RoundInt(254.0 / P.PixelsPerInchX() * P.PageWidth()),
                     RoundInt(254.0 / P.PixelsPerInchY() * P.PageHeight()));
    P.SetTitle(PS->JobName());
    P.BeginDoc();
    try {
        int N = INT_MAX;
        if (!FastPrint()) {
            TMappingScope Map(P.Canvas(), TPoint{0, 0});
            N = PrintEngine(P.Canvas(), &P, 2, SelectionMode, 1);
        }
        int From = 1, To = N;
        FPrintPageFrom = 1;
        FPrintPageTo = N;
        FPrintNrOfPages = N;
        if (OnPrintStart) {
            P.Abort();
            OnPrintStart(this, N, From, To);
            if (From <= 0 || To <= 0 || To < From) return;
            FPrintPageFrom = From;
            FPrintPageTo = To;
            P.BeginDoc();
        }
        FPrintNrOfPages = FPrintPageTo;
        {
            TMappingScope Map(P.Canvas(), TPoint{0, 0});
            PrintEngine(P.Canvas(), &P, 1, SelectionMode, N);
        }
        P.EndDoc();
    } catch (...) {
        // a failed job leaves nothing half printed
        P.Abort();
        throw;
    }
    ExportNotification(esExportDone, -1);
}

void TExtStringGrid::PrintPreview(TCanvas* Canvas, TRect Displayrect) {
    PreviewGridBlock(Canvas, Displayrect, AllPrintCells(), false);
}
void TExtStringGrid::PrintPreviewRect(TCanvas* Canvas, TRect Displayrect, const TGridRect& Gridrect) {
    PreviewGridBlock(Canvas, Displayrect, Gridrect, false);
}
void TExtStringGrid::PrintPreviewSelection(TCanvas* Canvas, TRect Displayrect) {
    PreviewGridBlock(Canvas, Displayrect, SelectionPrintCells(), false);
}
void TExtStringGrid::PrintPreviewSelectedRows(TCanvas* Canvas, TRect Displayrect) {
    PreviewGridBlock(Canvas, Displayrect, AllPrintCells(), true);
}
void TExtStringGrid::PrintPreviewSelectedCols(TCanvas* Canvas, TRect Displayrect) {
    PreviewGridBlock(Canvas, Displayrect, AllPrintCells(), true);
}

void TExtStringGrid::PreviewGridBlock(TCanvas* Canvas, TRect Displayrect, const TGridRect& Gridrect,
                                      bool SelectionMode) {
    if (!Canvas) return;
    ExportNotification(esExportStart, -1);
    FPrintRect = Gridrect;
    FPrevRect = Displayrect;
    {
        TValueScope<bool> Preview(FIsPrintPreview, true);
        TMappingScope Map(Canvas, TPoint{Displayrect.Left, Displayrect.Top});
        const int N = FastPrint() ? 1 : PrintEngine(Canvas, nullptr, 3, SelectionMode, 1);
        FPrintNrOfPages = N;
        int From = 1, To = N;
        if (OnPrintStart) OnPrintStart(this, N, From, To);
        // a preview shows the one page PreviewPage names, even when a print left a wider range
        FPrintPageTo = FPrintPageFrom;
        if (From > 0 && To > 0 && To >= From) PrintEngine(Canvas, nullptr, 0, SelectionMode, N);
    }
    ExportNotification(esExportDone, -1);
}

void TExtStringGrid::PrintDraw(TCanvas* Canvas, TRect DrawRect) { PrintDrawRect(Canvas, DrawRect, AllPrintCells()); }

void TExtStringGrid::PrintDrawRect(TCanvas* Canvas, TRect DrawRect, const TGridRect& Gridrect) {
    if (!Canvas) return;
    FPrintRect = Gridrect;
    FPrevRect = DrawRect;
    FPrintPageFrom = FPrintPageTo = FPrintNrOfPages = 1;
    // the page is the clipping rectangle: the drawing stays inside DrawRect
    const bool HadClip = Canvas->HasClip();
    const TRect OldClip = Canvas->ClipRect();
    Canvas->IntersectClipRect(DrawRect);
    struct TClipBack {
        TCanvas* C;
        bool Had;
        TRect Old;
        ~TClipBack() {
            if (Had)
                C->SetClipRect(Old);
            else
                C->ResetClip();
        }
    } Back{Canvas, HadClip, OldClip};
    TMappingScope Map(Canvas, TPoint{DrawRect.Left, DrawRect.Top});
    PrintEngine(Canvas, nullptr, 1, false, 1);
}

void TExtStringGrid::ShowPrintPreview() {
    const TGridRect All = AllPrintCells();
    PrintPreviewService().Preview(*Printer(), [this, All](TPrinter& Target) { PrintOn(Target, All, false); });
}

// ---- the page engine ----------------------------------------------------------------------------------

int TExtStringGrid::PrintEngine(TCanvas* Canvas, TPrinter* APrinter, int Mode, bool SelectionMode, int Total) {
    TPrintSettings* PS = PrintSettings();
    TPrintRun& E = FPrintRun;
    E = TPrintRun{};
    E.Canvas = Canvas;
    E.Printer = APrinter;
    E.Mode = Mode;
    E.SelectionMode = SelectionMode;
    E.Total = Total;
    SizePrintTables();
    // the block never reaches outside the grid
    FPrintRect.Left = std::max(0, FPrintRect.Left);
    FPrintRect.Top = std::max(0, FPrintRect.Top);
    FPrintRect.Right = std::min(FPrintRect.Right, ColCount() - 1);
    FPrintRect.Bottom = std::min(FPrintRect.Bottom, RowCount() - 1);
    const TGridRect& PR = FPrintRect;

    // 1.
    constexpr double ScreenDpi = TFont::PixelsPerInch;
    E.Px = 254.0 / ScreenDpi;
    E.ResRatio = Canvas->PixelsPerInchX() > 0 ? Canvas->PixelsPerInchX() / ScreenDpi : 1.0;
    FFontscalefactor = 1.0;
    struct TScaleBack {
        double& F;
        ~TScaleBack() { F = 1.0; }
    } ScaleBack{FFontscalefactor};

    TFont SavedFont;
    SavedFont.Assign(Canvas->Font());
    TPen SavedPen;
    SavedPen.Assign(Canvas->Pen());
    struct TCanvasBack {
        TCanvas* C;
        TFont* F;
        TPen* P;
        ~TCanvasBack() {
            C->Font()->Assign(F);
            C->Pen()->Assign(P);
        }
    } CanvasBack{Canvas, &SavedFont, &SavedPen};

    // 2.
    Canvas->Pen()->SetColor(clBlack);
    Canvas->Pen()->SetStyle(PS->BorderStyle());
    Canvas->Pen()->SetWidth(PS->Borders() == pbDouble ? 10 : 2);

    // 3.
    auto HeightOf = [&](TFont* F) {
        Canvas->Font()->Assign(F);
        Canvas->Font()->SetHeight(MapFontHeight(F->Size()));
        return Canvas->TextHeight(QStringLiteral("gh"));
    };
    E.HH = HeightOf(PS->HeaderFont());
    E.FH = HeightOf(PS->FooterFont());
    E.Sp = HeightOf(PS->Font()) / 8;

    // 4.
    if (Mode == 1) {
        const TRect CR = Canvas->ClipRect();
        E.W = CR.Right - CR.Left;
        E.B = CR.Bottom;
    } else if (Mode == 2) {
        E.W = FPrevRect.Width();
        E.B = -FPrevRect.Bottom - FPrevRect.Top;
    } else {
        const TPoint TL = Canvas->DPtoLP(TPoint{FPrevRect.Left, FPrevRect.Top});
        const TPoint BR = Canvas->DPtoLP(TPoint{FPrevRect.Right, FPrevRect.Bottom});
        E.W = BR.X - TL.X;
        E.B = BR.Y - TL.Y;
    }
    FPrintPageRect = Rect(0, 0, E.W, E.B);

    // 5.
    E.S = PS->UseFixedWidth() ? 0 : PS->ColumnSpacing() + 20;

    // 6.
    MeasurePrintColumns();
    long long Sum = 0;
    for (int c = PR.Left; c <= PR.Right; ++c)
        if (PrintColPrinted(c)) Sum += FMaxWidths[size_t(c)] + E.S;

    // 7.
    double Scale = 1.0;
    if (PS->FitToPage() != fpNever && PR.Right >= PR.Left) {
        const long long V = (long long)(PR.Right - PR.Left + 1) * E.S;
        if (Sum != V) Scale = double(E.W - PS->RightSize() - PS->LeftSize() - V) / double(Sum - V);
        // a page too narrow for even the spacing cannot be fitted: the columns go in bands instead
        if (Scale <= 0) Scale = 1.0;
        if (PS->FitToPage() == fpShrink && Scale > 1) Scale = 1.0;
        if (PS->FitToPage() == fpGrow && Scale < 1) Scale = 1.0;
        if (PS->FitToPage() == fpCustom && Scale != 1.0) {
            bool Allow = true;
            if (OnFitToPage) OnFitToPage(this, Scale, Allow);
            if (!Allow || Scale <= 0) Scale = 1.0;
        }
        if (Scale != 1.0)
            for (int c = PR.Left; c <= PR.Right; ++c) FMaxWidths[size_t(c)] = RoundInt(FMaxWidths[size_t(c)] * Scale);
    }
    E.FitScale = Scale;

    // 8.
    if (OnPrintSetColumnWidth)
        for (int c = PR.Left; c <= PR.Right; ++c) OnPrintSetColumnWidth(this, c, FMaxWidths[size_t(c)]);

    // 9.
    const int RowState =
        (PR.Top != FixedRows() || PR.Bottom != RowCount() - 1 - FixedFooters()) ? esExportSelRow : esExportNextRow;
    int a = PR.Left;
    E.C = 0;
    E.Band = 0;
    E.Cancelled = false;
    const int FC = FixedCols();
    auto ColW = [&](int c) { return PrintColPrinted(c) ? FMaxWidths[size_t(c)] + E.S : 0; };

    // 10.
    while (a <= PR.Right && PR.Bottom >= PR.Top && !E.Cancelled) {
        // 10.1
        ++E.Band;
        E.PageInBand = 0;
        E.RepeatFixedCols = FC >= 1 && PS->RepeatFixedCols() && !(a <= PR.Left && FC >= PR.Left);
        int f = 0;
        if (E.RepeatFixedCols)
            for (int i = 0; i < FC; ++i) f += FMaxWidths[size_t(i)] + E.S;
        // 10.2
        int Width = f, b = a - 1;
        for (int j = a; j <= PR.Right; ++j) {
            if (Width + ColW(j) > E.W - PS->RightSize()) break;
            Width += ColW(j);
            b = j;
        }
        // A band holds at least its first column, even one wider than the page; a column that
        // does not fit beside it waits for the next band instead of being drawn past the edge.
        if (b < a) b = a;
        b = std::min(b, PR.Right);
        Width = f;
        for (int j = a; j <= b; ++j) Width += ColW(j);
        if (b < PR.Right) E.MultiBand = true;
        FPrintPageWidth = Width;
        E.A = a;
        E.Bc = b;
        // 10.3
        const int Start = PS->Centered() ? 0 : PS->LeftSize();
        FIndents[size_t(a)] = Start;
        FIndents[0] = Start;
        for (int j = a; j <= b; ++j) FIndents[size_t(j + 1)] = FIndents[size_t(j)] + ColW(j);
        FPrintColStart = a;
        FPrintColEnd = b;
        if (E.RepeatFixedCols)
            for (int i = 1; i < FC; ++i)
                FIndents[size_t(i)] = FIndents[size_t(i - 1)] + FMaxWidths[size_t(i - 1)] + E.S;
        if (PS->Centered() && Width < E.W) {
            const int d = (E.W - Width) / 2;
            for (int j = a; j <= b + 1; ++j) FIndents[size_t(j)] += d;
            if (E.RepeatFixedCols)
                for (int i = 0; i < std::min(FC, a); ++i) FIndents[size_t(i)] += d;
        }
        for (int j = a; j <= b + 1; ++j) FIndents[size_t(j)] += f;
        // 10.4
        PrintHeaderBlocks(true, 0);
        // 10.5
        int r = PR.Top;
        // a later band's first page was announced when it was begun
        if (E.C == 0 && PrintDrawing() && OnPrintPage) OnPrintPage(this, Canvas, E.C + 1, E.W, E.B);
        // 10.6
        int y = 0;
        while (r <= PR.Bottom && !E.Cancelled) {
            const int T = PrintHeaderFooter(E.C + 1);
            if (E.PageInBand == 0 && T != 0) PrintHeaderBlocks(true, T);
            y = -E.E - PS->TitleSpacing() - T;
            if (r > 0 && (E.C > 0 || PR.Top >= FixedRows()) && PS->RepeatFixedRows() && FixedRows() > 0)
                for (int fr = 0; fr < FixedRows(); ++fr) {
                    if (E.RepeatFixedCols) PrintRow(y, 0, FC - 1, fr);
                    y -= PrintRow(y, a, b, fr);
                }
            bool NewPage = false;
            bool Placed = false;
            while (r <= PR.Bottom && !NewPage) {
                if (PrintRowPrinted(r)) {
                    const int h = PrintRowHeight(r);
                    // a row taller than the page is printed alone, cut at the page's bottom
                    if (!(E.B + E.G < y - h) && Placed) break;
                    ExportNotification(RowState, r);
                    if (E.RepeatFixedCols) PrintRow(y, 0, FC - 1, r);
                    y -= PrintRow(y, a, b, r);
                    Placed = true;
                }
                ++r;
                if (OnPrintNewPage) OnPrintNewPage(this, r, NewPage);
            }
            if (PrintDrawing()) {
                if (OnPrintPageDone) OnPrintPageDone(this, Canvas, r, y, E.C + 1, E.W, E.B);
                bool Cancel = false;
                if (OnPrintCancel) OnPrintCancel(this, E.C + 1, Cancel);
                if (Cancel) E.Cancelled = true;
            }
            // with FastPrint nothing after the last page asked for is laid out
            if (FastPrint() && E.C + 1 >= FPrintPageTo) E.Cancelled = true;
            if (r > PR.Bottom || E.Cancelled) break;
            // 10.6.6: the page is full and rows remain
            PrintPageBorders(y);
            PrintNextPage();
            ++E.C;
            ++E.PageInBand;
            PrintHeaderBlocks(false, 0);
        }
        // 10.7
        PrintPageBorders(y);
        a = b + 1;
        if (a <= PR.Right && !E.Cancelled) PrintNextPage();
        ++E.C;
    }
    // what the layout gave each column, for the print figures of the grid
    for (int c = 0; c < 512 && c < int(FMaxWidths.size()); ++c) {
        const int RC = RealColIndex(c);
        if (RC >= 0 && RC < 512) {
            FPrintColWidths[RC] = FMaxWidths[size_t(c)];
            FPrintColOffsets[RC] = FIndents[size_t(c)];
        }
    }
    // 11.
    return E.C;
}

void TExtStringGrid::PrintHeaderBlocks(bool FirstPage, int HtmlTitleHeight) {
    TPrintSettings* PS = PrintSettings();
    TPrintRun& E = FPrintRun;
    const bool AnyTop = IsTop(PS->Time()) || IsTop(PS->Date()) || IsTop(PS->PageNr()) || IsTop(PS->Title());
    const bool AnyBottom =
        IsBottom(PS->Time()) || IsBottom(PS->Date()) || IsBottom(PS->PageNr()) || IsBottom(PS->Title());
    const int Lines = PS->TitleLines()->Count();
    if (AnyTop) {
        E.E = E.Sp + E.HH + PS->HeaderSize();
        if (Lines > 0 && IsTop(PS->Title())) {
            if (FirstPage && HtmlTitleHeight != 0)
                E.E += HtmlTitleHeight + PS->HeaderSize();
            else
                E.E += (Lines - 1) * E.HH;
        }
    } else {
        E.E = PS->HeaderSize();
    }
    if (AnyBottom) {
        E.G = 2 * (E.Sp + E.FH) + PS->FooterSize();
        if (Lines > 0 && IsBottom(PS->Title())) E.G += (Lines - 1) * E.FH;
    } else {
        E.G = E.Sp + E.FH + PS->FooterSize();
    }
}

QString TExtStringGrid::PrintPageNumText() {
    TPrintSettings* PS = PrintSettings();
    TPrintRun& E = FPrintRun;
    QString S;
    if (E.MultiBand) {
        S = QStringLiteral("%1-%2").arg(E.PageInBand + 1).arg(E.Band);
    } else {
        S = QString::number(E.C + PS->PageNumberOffset() + 1);
        // without a count (FastPrint) the number stands alone
        if (!PS->PageNumSep().isEmpty() && E.Total > 1 && E.Total != INT_MAX)
            S += PS->PageNumSep() + QString::number(E.Total + PS->MaxPagesOffset());
    }
    DoPrintGetPageNum(E.MultiBand ? E.PageInBand + 1 : E.C + 1, E.Band, S);
    return S;
}

// Draws the header and footer of Page (when it is drawn at all); returns the height of an HTML
// title at the top in 0.1 mm. The height is measured on every page, drawn or not, so the pass
// that only counts pages breaks them where the drawing pass does.
int TExtStringGrid::PrintHeaderFooter(int Page) {
    TPrintRun& E = FPrintRun;
    TPrintSettings* PS = PrintSettings();
    TCanvas* C = E.Canvas;
    const bool Drawn = PrintDrawing() && PrintPageInRange(Page);
    const bool TitleFromLines = PS->Title() != ppNone && PS->TitleText().isEmpty() && PS->TitleLines()->Count() > 0;
    const bool HtmlTitle = TitleFromLines && ClassifyCellText(PS->TitleLines()->Text(), EnableHTML()) == 1;
    const bool HtmlAtTop = HtmlTitle && IsTop(PS->Title());
    if (!C || (!Drawn && !HtmlAtTop)) return 0;

    TValueScope<double> Scale(FFontscalefactor, E.FitScale);
    TFont SavedFont;
    SavedFont.Assign(C->Font());
    TBrush SavedBrush;
    SavedBrush.Assign(C->Brush());
    struct TBack {
        TCanvas* C;
        TFont* F;
        TBrush* B;
        ~TBack() {
            C->Font()->Assign(F);
            C->Brush()->Assign(B);
        }
    } Back{C, &SavedFont, &SavedBrush};
    auto UseFont = [&](TFont* F) {
        C->Font()->Assign(F);
        C->Font()->SetHeight(MapFontHeight(F->Size()));
    };
    const QString HtmlText = HtmlTitle ? ConcatLines(*PS->TitleLines()) : QString();
    auto DrawHtml = [&](TRect LogicalR, bool MeasureOnly) {
        TRect DR = C->LPtoDP(LogicalR);
        const int FontPx = std::max(1, RoundInt(std::abs(C->Font()->Height()) * C->PixelsPerInchY() / 254.0));
        const int OldMode = C->SetMapMode(MM_TEXT);
        const int OldHeight = C->Font()->Height();
        C->Font()->SetHeight(-FontPx);
        QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
        int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = 0;
        TRect HoverRect, ControlRect;
        DrawHTMLText(C, HtmlText, DR, dynamic_cast<TCustomImageList*>(GridImages()), 0, 0, -1, -1, 1, false,
                     MeasureOnly, true, false, false, false, true, false, E.ResRatio, URLColor(), clNone, clNone,
                     clGray, AnchorVal, StripVal, FocusAnchor, AnchorHint, XSize, YSize, HyperLinks, MouseLink,
                     HoverRect, ControlRect, CID, CV, CT, FImageCache.get(),
                     dynamic_cast<TPictureContainer*>(PictureContainer()), nullptr, bdLeftToRight);
        C->Font()->SetHeight(OldHeight);
        C->SetMapMode(OldMode);
        return YSize;
    };
    int T = 0;
    if (HtmlAtTop) {
        UseFont(PS->HeaderFont());
        const int H = DrawHtml(Rect(PS->LeftSize(), -PS->HeaderSize(), E.W, E.B), true);
        // the title's height back in page units
        T = RoundInt(H * 254.0 / std::max(1, C->PixelsPerInchY()));
    }
    if (!Drawn) return T;

    QString Texts[7];
    auto Add = [&](TPrintPosition P, const QString& Item) {
        if (P == ppNone || Item.isEmpty()) return;
        QString& Tx = Texts[P];
        if (Tx.isEmpty())
            Tx = Item;
        else if (P == ppTopLeft || P == ppBottomLeft)
            Tx = Item + QLatin1Char(' ') + Tx;
        else
            Tx = Tx + QLatin1Char(' ') + Item;
    };
    auto Join = [](const QStringList& Parts) {
        QStringList Kept;
        for (const QString& P : Parts)
            if (!P.isEmpty()) Kept << P;
        return Kept.join(QLatin1Char(' '));
    };
    const TDateTime At = Now();
    Add(PS->Time(), FormatDateTime(QStringLiteral("hh:nn"), At));
    Add(PS->Date(), FormatDateTime(PS->DateFormat(), At));
    if (PS->PageNr() != ppNone) Add(PS->PageNr(), Join({PS->PagePrefix(), PrintPageNumText(), PS->PageSuffix()}));
    if (PS->Title() != ppNone) {
        if (!PS->TitleText().isEmpty())
            Add(PS->Title(), PS->TitleText());
        else if (TitleFromLines && !HtmlTitle)
            Add(PS->Title(), PS->TitleLines()->Get(0));
    }

    C->Brush()->SetStyle(bsClear);
    auto XFor = [&](TPrintPosition P, int TW) {
        if (P == ppTopLeft || P == ppBottomLeft) return PS->LeftSize();
        if (P == ppTopRight || P == ppBottomRight) return E.W - TW - PS->RightSize() - 20;
        return (E.W - TW) / 2;
    };
    for (int P = ppTopLeft; P <= ppBottomCenter; ++P) {
        const TPrintPosition Pos = TPrintPosition(P);
        const bool Top = IsTop(Pos);
        UseFont(Top ? PS->HeaderFont() : PS->FooterFont());
        const int Y = Top ? -PS->HeaderSize() : E.B + PS->FooterSize() + E.Sp + E.FH;
        if (!Texts[P].isEmpty()) C->TextOut(XFor(Pos, C->TextWidth(Texts[P])), Y, Texts[P]);
        if (Pos == PS->Title() && TitleFromLines && !HtmlTitle && PS->TitleLines()->Count() > 1) {
            const int LineH = C->TextHeight(QStringLiteral("gh"));
            for (int i = 1; i < PS->TitleLines()->Count(); ++i) {
                const QString L = PS->TitleLines()->Get(i);
                C->TextOut(XFor(Pos, C->TextWidth(L)), Y - i * LineH, L);
            }
        }
    }

    if (HtmlAtTop) {
        UseFont(PS->HeaderFont());
        DrawHtml(Rect(PS->LeftSize(), -PS->HeaderSize(), E.W, -PS->HeaderSize() - T), false);
    } else if (HtmlTitle) {
        UseFont(PS->FooterFont());
        DrawHtml(Rect(PS->LeftSize(), E.B + PS->FooterSize(), E.W, E.B), false);
    }
    return T;
}

void TExtStringGrid::PrintPageBorders(int LastY) {
    TPrintRun& E = FPrintRun;
    if (!PrintDrawing() || !PrintPageInRange(E.C + 1)) return;
    TPrintSettings* PS = PrintSettings();
    TCanvas* C = E.Canvas;
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetStyle(PS->BorderStyle());
    C->Pen()->SetWidth(PS->Borders() == pbDouble ? 10 : 2);
    const int x0 = E.RepeatFixedCols ? FIndents[0] : FIndents[size_t(E.A)];
    const int x1 = FIndents[size_t(E.Bc + 1)];
    const int Top = -E.E - PS->TitleSpacing();
    const int Bottom = LastY + E.Sp / 2;
    const TPrintBorders Bd = PS->Borders();
    if (Bd == pbAround || Bd == pbAroundVertical || Bd == pbAroundHorizontal) {
        const TBrushStyle Old = C->Brush()->Style();
        C->Brush()->SetStyle(bsClear);
        C->MoveTo(x0, Top);
        C->LineTo(x1, Top);
        C->LineTo(x1, Bottom);
        C->LineTo(x0, Bottom);
        C->LineTo(x0, Top);
        C->Brush()->SetStyle(Old);
    }
    if (Bd == pbDouble || Bd == pbHorizontal || Bd == pbAroundHorizontal) {
        C->MoveTo(x0, Bottom);
        C->LineTo(x1, Bottom);
    }
    if ((Bd == pbDouble || Bd == pbVertical || Bd == pbAroundVertical) && E.RepeatFixedCols)
        for (int i = 0; i < FixedCols(); ++i) {
            C->MoveTo(FIndents[size_t(i)], Top);
            C->LineTo(FIndents[size_t(i)], Bottom);
        }
}

void TExtStringGrid::PrintNextPage() {
    TPrintRun& E = FPrintRun;
    const int m = E.C + 2;
    if (m < FPrintPageFrom || m > FPrintPageTo) return;
    if (E.Mode == 1 && E.Printer && E.C + 1 >= FPrintPageFrom) E.Printer->NewPage();
    E.Canvas->SetMapMode(MM_LOMETRIC);
    if (PrintDrawing() && OnPrintPage) OnPrintPage(this, E.Canvas, m, E.W, E.B);
}
