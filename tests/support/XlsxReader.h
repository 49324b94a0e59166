#pragma once
// A spreadsheet file read back by a reader that is not the program's writer
// (read_xlsx.py over the system's Python with its spreadsheet library), as the
// tests compare it.
#include <map>
#include <string>
#include <vector>

namespace zeko::test {

struct XlsxCell {
    bool Number = false;
    std::string Value;  // a number as Python writes a float ("159.0")
    std::string Format;
    bool Bold = false;
    int Size = 0;
    std::string Horizontal;  // "general", "left", "center"...
    std::string Borders;     // "thin,thin,thick,-": left, right, top, bottom
};

// How a sheet prints: the paper's number (9 is A4), "portrait", "landscape" or
// "default", and the pages it is scaled to (0: as many as it takes).
struct XlsxPage {
    std::string Paper, Orientation;
    bool FitToPage = false;
    std::string PagesWide, PagesTall;
};

struct XlsxBook {
    std::vector<std::string> Sheets;
    std::string Active;
    // sheet -> "B5" -> cell
    std::map<std::string, std::map<std::string, XlsxCell>> Cells;
    // sheet -> "B" -> the column's own width (in digits); columns of the default
    // width are left out
    std::map<std::string, std::map<std::string, double>> Widths;
    std::map<std::string, XlsxPage> Pages;  // by sheet
    bool Has(const std::string& sheet, const std::string& ref) const;
    const XlsxCell& At(const std::string& sheet, const std::string& ref) const;
    // The values of a row of a sheet from column `first` ("B") over `count` columns.
    std::vector<std::string> Row(const std::string& sheet, int row, char first, int count) const;
};

// Throws std::runtime_error with the reader's output when it fails.
XlsxBook ReadXlsx(const std::string& path);

} // namespace zeko::test
