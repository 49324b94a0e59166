#pragma once
// A workbook of the spreadsheet server written as a spreadsheet file (.xlsx): the
// sheets in their order with the first one active, number cells as numbers and
// text cells as text, each with its number format, font size and weight,
// alignment and borders; a cell with only a style keeps the style. Each sheet
// prints on A4, scaled to the page's width.
#include <optional>
#include <string>

#include "platform/SheetServer.h"

namespace zeko {

// The reason when the file cannot be written, nullopt when it was.
std::optional<std::string> WriteXlsxFile(const TWorkbook& book, const std::string& path);

} // namespace zeko
