#pragma once
// Column widths that let a worksheet's captions and values show whole in a
// spreadsheet program, measured in the unit of the file's column widths: the width
// of a digit of the workbook's default font (11 points), plus the cell's padding.
// A text that may run on into the empty cell to its right (a left-aligned title, a
// closing note) needs no room of its own, but in the sheet's last column.
#include <map>
#include <string>

#include "platform/SheetServer.h"

namespace zeko {

// The text a cell shows: its text, or its number in its number format (grouped
// thousands count one place each).
std::string ShownText(const TSheetCell& cell);
// How many digit widths the text takes in a font of `points` points, bold or not.
double TextWidthInDigits(const std::string& text, int points, bool bold);
// The width each column of the sheet needs; columns without a measured cell are
// left out (they keep the default width).
std::map<int, double> FittingColumnWidths(const TWorksheet& sheet);

} // namespace zeko
