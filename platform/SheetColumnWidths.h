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
// left out (they keep the default width). Neighbouring columns of one kind (values
// in one number format under captions of at most three characters, such as the
// quarter hours "1." to "4." or the shifts "S1" to "S3") take the widest one's.
std::map<int, double> FittingColumnWidths(const TWorksheet& sheet);
// Whether the sheet, with those widths, prints on a landscape page: scaled to the
// width of a portrait A4 page its text would be smaller than 70 % of its size.
bool PrintsLandscape(const TWorksheet& sheet, const std::map<int, double>& widths);

} // namespace zeko
