#include "platform/SheetColumnWidths.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace zeko {

namespace {

// The default font's size, in which a width of 1 is one digit.
constexpr int DefaultPoints = 11;
// Room a cell keeps beside its text, in digits.
constexpr double CellPadding = 1.2;

// The width of one character relative to a digit, by the shapes of a proportional
// sans-serif face: narrow punctuation and letters, wide ones, capitals.
double CharacterWidth(char32_t c) {
    if (c >= '0' && c <= '9')
        return 1.0;
    if (c < 0x80) {
        constexpr std::string_view narrow = " .,:;'|!ijlI";
        constexpr std::string_view slim = "frt()[]/-";
        constexpr std::string_view wide = "mwMW%@";
        const char a = static_cast<char>(c);
        if (narrow.find(a) != std::string_view::npos)
            return 0.5;
        if (slim.find(a) != std::string_view::npos)
            return 0.7;
        if (wide.find(a) != std::string_view::npos)
            return 1.6;
        if (a >= 'A' && a <= 'Z')
            return 1.2;
        return 1.0;
    }
    return 1.1;  // a letter with a diacritic, capital or not
}

// The code points of UTF-8 text; a broken sequence counts a character per byte.
template <typename F>
void ForEachCodePoint(const std::string& text, F visit) {
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const size_t length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 1;
        char32_t c = length == 1 ? b : b & (0x3F >> (length - 1));
        size_t k = 1;
        for (; k < length && i + k < text.size() && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        visit(k == length ? c : char32_t{b});
        i += k == length ? length : 1;
    }
}

// The decimals of a number format ("#,##0.0": 1) and whether it groups thousands.
void FormatShape(const std::string& format, int& decimals, bool& grouped) {
    const size_t point = format.find('.');
    decimals = point == std::string::npos
                   ? 0
                   : static_cast<int>(std::count(format.begin() + static_cast<long>(point), format.end(), '0'));
    grouped = format.substr(0, point).find(',') != std::string::npos;
}

bool HasValue(const TSheetCell* cell) { return cell != nullptr && cell->Kind != TSheetCell::ckEmpty; }

// A left-aligned text runs on over an empty neighbour: it needs no width of its own,
// unless it stands in the sheet's last column, past which a printed sheet ends.
bool MayRunOn(const TWorksheet& sheet, int lastColumn, int row, int col, const TSheetCell& cell) {
    return cell.Kind == TSheetCell::ckText && cell.Style.HAlign <= 2 && !cell.Style.Wrap && col < lastColumn &&
           !HasValue(sheet.Find(row, col + 1));
}

} // namespace

std::string ShownText(const TSheetCell& cell) {
    if (cell.Kind != TSheetCell::ckNumber || cell.Style.NumberFormat.empty() || cell.Style.NumberFormat == "@")
        return cell.Text;
    int decimals = 0;
    bool grouped = false;
    FormatShape(cell.Style.NumberFormat, decimals, grouped);
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.*f", decimals, std::fabs(cell.Value));
    const std::string_view text = digits;
    const size_t point = std::min(text.find('.'), text.size());
    std::string shown = cell.Value < 0 ? "-" : "";
    for (size_t i = 0; i < point; ++i) {
        if (grouped && i > 0 && (point - i) % 3 == 0)
            shown += ' ';
        shown += text[i];
    }
    shown += text.substr(point);
    return shown;
}

double TextWidthInDigits(const std::string& text, int points, bool bold) {
    double width = 0;
    ForEachCodePoint(text, [&](char32_t c) { width += CharacterWidth(c); });
    return width * (points > 0 ? points : DefaultPoints) / DefaultPoints * (bold ? 1.08 : 1.0);
}

std::map<int, double> FittingColumnWidths(const TWorksheet& sheet) {
    std::map<int, double> widths;
    int lastColumn = 0;
    for (const auto& [at, cell] : sheet.Cells)
        if (HasValue(&cell))
            lastColumn = std::max(lastColumn, at.second);
    for (const auto& [at, cell] : sheet.Cells) {
        const auto [row, col] = at;
        if (!HasValue(&cell) || MayRunOn(sheet, lastColumn, row, col, cell))
            continue;
        const double width =
            TextWidthInDigits(ShownText(cell), cell.Style.FontSize, cell.Style.Bold) + CellPadding;
        double& widest = widths[col];
        widest = std::max(widest, std::ceil(width * 2) / 2);
    }
    return widths;
}

} // namespace zeko
