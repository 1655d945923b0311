// The mini-HTML renderer as a grid uses it for every cell: a 40 x 30 cell sheet of the typical
// marked-up cell, against the canvas's plain DrawText of the same visible text. Prints the ratio
// of the two (the goal: at most 3x), once for one text in every cell and once for texts that
// differ from cell to cell (so that no width is measured twice). Medians of five runs: the
// machine the benchmarks run on is shared.
#include "bench/support/TimesReporter.h"
#include "grid/base/EsgHTMLE.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kCols = 40, kRows = 30, kCellW = 110, kCellH = 20;

QString Markup(const QString& Number) {
    return QStringLiteral("<b>Name</b> <font color=\"clRed\">%1</font> <i>kg</i>").arg(Number);
}

QString Visible(const QString& Number) { return QStringLiteral("Name %1 kg").arg(Number); }

std::vector<QString> Numbers(bool Varied) {
    std::vector<QString> N;
    for (int I = 0; I < kCols * kRows; ++I) N.push_back(Varied ? QString::number(I / 10.0, 'f', 1) : "12.5");
    return N;
}

void PrepareCanvas(TBitmap& B) {
    TCanvas* C = B.Canvas();
    C->Font()->SetName("Tahoma");
    C->Font()->SetHeight(-11);
    C->Font()->SetColor(clBlack);
}

void Fill(TCanvas* C, const TRect& Cell, int R, int Col) {
    C->Brush()->SetColor((R + Col) % 2 ? clWindow : RGB(240, 244, 250));
    C->FillRect(Cell);
}

// The cell's text as the grid draws an HTML cell: the point at the rectangle's corner, focus link
// -1, no hover, word wrap on, link colour blue, shadow grey.
void HtmlSheet(benchmark::State& State, bool Varied) {
    TBitmap B(kCols * kCellW, kRows * kCellH);
    PrepareCanvas(B);
    TCanvas* C = B.Canvas();
    std::vector<QString> Texts;
    for (const QString& N : Numbers(Varied)) Texts.push_back(Markup(N));
    THTMLPictureCache Cache;
    QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
    int XSize, YSize, Links, MouseLink;
    TRect HoverRect, ControlRect;
    for (auto _ : State) {
        for (int R = 0; R < kRows; ++R)
            for (int Col = 0; Col < kCols; ++Col) {
                const TRect Cell = Bounds(Col * kCellW, R * kCellH, kCellW, kCellH);
                Fill(C, Cell, R, Col);
                TRect TR = Cell;
                InflateRect(TR, -2, -2);
                DrawHTMLText(C, Texts[size_t(R * kCols + Col)], TR, nullptr, TR.Left, TR.Top, -1, -1, 1, false, false,
                             false, false, true, false, true, false, 0.0, clBlue, clNone, clNone, 0x808080, AnchorVal,
                             StripVal, FocusAnchor, AnchorHint, XSize, YSize, Links, MouseLink, HoverRect, ControlRect,
                             CID, CV, CT, &Cache, nullptr, nullptr, bdLeftToRight);
            }
        benchmark::DoNotOptimize(C->Pixels(1, 1));
    }
}

void PlainSheet(benchmark::State& State, bool Varied) {
    TBitmap B(kCols * kCellW, kRows * kCellH);
    PrepareCanvas(B);
    TCanvas* C = B.Canvas();
    std::vector<QString> Texts;
    for (const QString& N : Numbers(Varied)) Texts.push_back(Visible(N));
    for (auto _ : State) {
        for (int R = 0; R < kRows; ++R)
            for (int Col = 0; Col < kCols; ++Col) {
                const TRect Cell = Bounds(Col * kCellW, R * kCellH, kCellW, kCellH);
                Fill(C, Cell, R, Col);
                TRect TR = Cell;
                InflateRect(TR, -2, -2);
                C->Brush()->SetStyle(bsClear);
                C->DrawText(Texts[size_t(R * kCols + Col)], TR,
                            DT_EDITCONTROL | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX | DT_LEFT | DT_TOP);
            }
        benchmark::DoNotOptimize(C->Pixels(1, 1));
    }
}

void BM_HtmlSheet(benchmark::State& S) { HtmlSheet(S, false); }
void BM_PlainSheet(benchmark::State& S) { PlainSheet(S, false); }
void BM_HtmlSheetVaried(benchmark::State& S) { HtmlSheet(S, true); }
void BM_PlainSheetVaried(benchmark::State& S) { PlainSheet(S, true); }

BENCHMARK(BM_HtmlSheet)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PlainSheet)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_HtmlSheetVaried)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PlainSheetVaried)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    TTimesReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    const double Html = Reporter.Time("BM_HtmlSheet"), Plain = Reporter.Time("BM_PlainSheet");
    const double HtmlV = Reporter.Time("BM_HtmlSheetVaried"), PlainV = Reporter.Time("BM_PlainSheetVaried");
    if (Html > 0 && Plain > 0)
        std::printf("DrawHTMLText / plain DrawText for a 40 x 30 cell sheet: %.2fx (goal: at most 3x)\n", Html / Plain);
    if (HtmlV > 0 && PlainV > 0) std::printf("  with a different number in every cell: %.2fx\n", HtmlV / PlainV);
    benchmark::Shutdown();
    return 0;
}
