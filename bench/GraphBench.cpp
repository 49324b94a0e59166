// The day graph of the archive's size at the program's default window size
// (1012 × 649): a whole day of four series of 1440 points each and the power
// factor, redrawn in full in each style, and the cursor moved (the legend, the
// markers and the time redrawn).
#include "graph/FullOkno.h"
#include "support/QtApp.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace zeko;

namespace {

std::unique_ptr<graph::TFullOkno> WholeDay(graph::TFullOknoStyle style) {
    test::QtApp();
    auto g = std::make_unique<graph::TFullOkno>(nullptr);
    g->Init(1012, 649);
    g->SetNumSeries(4);
    g->SetSingleGraf(true);
    g->SetKresliUcinik(true);
    g->SetYMax(2000);
    for (int m = 0; m < 1440; ++m) {
        for (int k = 1; k <= 4; ++k)
            g->Series[k].Add({m, 900 + 500 * std::sin(m / 229.0 + k) + 37 * std::sin(m * 0.7 * k)});
        g->CosPhiSeries.Add({m, 0.9 + 0.1 * std::sin(m / 90.0)});
    }
    g->GrafStyl = style;
    g->RedrawAll();
    return g;
}

void Redraw(benchmark::State& state, graph::TFullOknoStyle style) {
    auto g = WholeDay(style);
    for (auto _ : state) {
        g->FullRedraw = true;
        g->Redraw();
    }
}
BENCHMARK_CAPTURE(Redraw, Lines, graph::Line)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, Steps, graph::Step)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, Bars, graph::Bar)->Unit(benchmark::kMillisecond);

void CursorMove(benchmark::State& state) {
    auto g = WholeDay(graph::Line);
    int x = g->UpperFrame.Left;
    for (auto _ : state) {
        x = x + 7 > g->GraphWidth - g->UpperFrame.Right ? g->UpperFrame.Left : x + 7;
        g->SetCursorX(x);
    }
}
BENCHMARK(CursorMove)->Unit(benchmark::kMicrosecond);

} // namespace
