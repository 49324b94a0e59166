#pragma once
// A day graph set up as the archive sets it up, at a fixed size, with the
// program's number and date formats; helpers to fill its series.
#include "graph/FullOkno.h"
#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

#include <memory>

#include "ImageProbe.h"
#include "QtTestApp.h"

namespace zeko::test {

class GraphTest : public ::testing::Test {
protected:
    static constexpr int Width = 1000, Height = 600;

    GraphTest() {
        FormatSettings().DecimalSeparator = ',';
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        FormatSettings().DateSeparator = '.';
        ResetSysColors();
        g = std::make_unique<graph::TFullOkno>(nullptr);
        g->Init(Width, Height);
    }
    ~GraphTest() override { ResetSysColors(); }

    graph::TFullOkno& G() { return *g; }
    // A point every `step` minutes from `first` to `last` with the value `f(minute)`.
    template <typename F>
    void Fill(graph::TSet& set, int first, int last, int step, F f) {
        for (int m = first; m <= last; m += step)
            set.Add({m, f(m)});
    }
    const QImage& Picture() { return g->Buffer.Image(); }

    std::unique_ptr<graph::TFullOkno> g;
};

} // namespace zeko::test
