#pragma once
// What the alignment grid's tests share: a grid of a known size and look (the
// application object comes from QtTestApp.h).
#include <memory>

#include "QtTestApp.h"
#include "grids/Aligrid.h"

namespace zeko::aligrid_test {

// cols x rows with one fixed row and column, 40 x 20 pixel cells.
inline std::unique_ptr<TStringAlignGrid> MakeGrid(int cols = 5, int rows = 5) {
    auto grid = std::make_unique<TStringAlignGrid>();
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    grid->SetDefaultColWidth(40);
    grid->SetDefaultRowHeight(20);
    return grid;
}

} // namespace zeko::aligrid_test
