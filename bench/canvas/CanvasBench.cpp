// A 40 x 30 cell table (fill + text per cell) drawn on a TBitmap through TCanvas, against the
// same drawing done with QPainter directly on a QImage. Prints TCanvas time / QPainter time for
// a repaint, and for a first paint whose text widths are not cached yet.
#include "bench/support/TimesReporter.h"
#include "platform/gui/Graphics.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

constexpr int kCols = 40, kRows = 30, kCellW = 64, kCellH = 20;

const std::vector<QString>& CellTexts() {
    static const std::vector<QString> Texts = [] {
        std::vector<QString> T;
        for (int R = 0; R < kRows; ++R)
            for (int C = 0; C < kCols; ++C) T.push_back(QStringLiteral("R%1 C%2").arg(R).arg(C));
        return T;
    }();
    return Texts;
}

// Cold: every pass starts with an empty text-width cache, as the first paint of a grid does.
void TCanvasTable(benchmark::State& State, bool Cold) {
    TBitmap B(kCols * kCellW, kRows * kCellH);
    TCanvas* C = B.Canvas();
    C->Font()->SetName("Tahoma");
    C->Font()->SetHeight(-11);
    const auto& Texts = CellTexts();
    for (auto _ : State) {
        if (Cold) {
            // the canvas keeps the widths of its last eight fonts: measuring with eight others
            // drops the cell font's
            for (int H = -12; H >= -19; --H) {
                C->Font()->SetHeight(H);
                C->TextHeight(QStringLiteral("x"));
            }
            C->Font()->SetHeight(-11);
        }
        for (int R = 0; R < kRows; ++R)
            for (int Col = 0; Col < kCols; ++Col) {
                const TRect Cell = Bounds(Col * kCellW, R * kCellH, kCellW, kCellH);
                C->Brush()->SetColor((R + Col) % 2 ? clWindow : RGB(240, 244, 250));
                C->FillRect(Cell);
                TRect Text = Cell;
                InflateRect(Text, -2, 0);
                C->Brush()->SetStyle(bsClear);
                C->DrawText(Texts[size_t(R * kCols + Col)], Text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
            }
        benchmark::DoNotOptimize(C->Pixels(1, 1));
    }
}

void BM_TCanvasTable(benchmark::State& State) { TCanvasTable(State, false); }
void BM_TCanvasTableFirstPaint(benchmark::State& State) { TCanvasTable(State, true); }

void QPainterTable(benchmark::State& State, bool Cold) {
    QImage Img(kCols * kCellW, kRows * kCellH, QImage::Format_RGB32);
    QPainter P(&Img);
    TFont F;
    F.SetName("Tahoma");
    F.SetHeight(-11);
    TFont Other;
    Other.Assign(&F);
    Other.SetHeight(-12);
    P.setFont(F.ToQFont());
    const auto& Texts = CellTexts();
    const QColor Even(250, 244, 240), Odd(Qt::white);
    for (auto _ : State) {
        if (Cold) { // the same font switch as the canvas's cold pass
            P.setFont(Other.ToQFont());
            P.setFont(F.ToQFont());
        }
        for (int R = 0; R < kRows; ++R)
            for (int Col = 0; Col < kCols; ++Col) {
                const QRect Cell(Col * kCellW, R * kCellH, kCellW, kCellH);
                P.fillRect(Cell, (R + Col) % 2 ? Odd : Even);
                P.setPen(Qt::black);
                P.drawText(Cell.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                           Texts[size_t(R * kCols + Col)]);
            }
        benchmark::DoNotOptimize(Img.constBits());
    }
}

void BM_QPainterTable(benchmark::State& State) { QPainterTable(State, false); }
void BM_QPainterTableFirstPaint(benchmark::State& State) { QPainterTable(State, true); }

BENCHMARK(BM_TCanvasTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TCanvasTableFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QPainterTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QPainterTableFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    TTimesReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    const double Canvas = Reporter.Times["BM_TCanvasTable"], Direct = Reporter.Times["BM_QPainterTable"];
    const double First = Reporter.Times["BM_TCanvasTableFirstPaint"];
    const double DirectFirst = Reporter.Times["BM_QPainterTableFirstPaint"];
    if (Canvas > 0 && Direct > 0)
        std::printf("TCanvas / QPainter time for a 40 x 30 cell table: %.2fx (goal: under 1.20x)\n", Canvas / Direct);
    if (First > 0 && DirectFirst > 0)
        std::printf("  first paint (font just set, no cached text widths): %.2fx\n", First / DirectFirst);
    benchmark::Shutdown();
    return 0;
}
