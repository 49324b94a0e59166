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

int LastColumn(const TWorksheet& sheet) {
    int last = 0;
    for (const auto& [at, cell] : sheet.Cells)
        if (HasValue(&cell))
            last = std::max(last, at.second);
    return last;
}

// A left-aligned text runs on over an empty neighbour: it needs no width of its own,
// unless it stands in the sheet's last column, past which a printed sheet ends.
bool MayRunOn(const TWorksheet& sheet, int lastColumn, int row, int col, const TSheetCell& cell) {
    return cell.Kind == TSheetCell::ckText && cell.Style.HAlign <= 2 && !cell.Style.Wrap && col < lastColumn &&
           !HasValue(sheet.Find(row, col + 1));
}

// The longest caption of a column of a kind: an abbreviation (of a shift, of a
// tariff: at most two letters and a digit) or an ordinal ("1." of a quarter hour).
constexpr size_t ShortCaption = 3;

size_t CodePoints(const std::string& text) {
    size_t n = 0;
    ForEachCodePoint(text, [&n](char32_t) { ++n; });
    return n;
}

// What makes a column one of a kind: the number format of its values (the first
// cell down the column that has one) and the caption just above them, when that is
// short. Nothing for a column of another sort.
struct TColumnShape {
    std::string Format;
    bool Short = false;
};

std::map<int, TColumnShape> ColumnShapes(const TWorksheet& sheet) {
    std::map<int, TColumnShape> shapes;
    for (const auto& [at, cell] : sheet.Cells) {
        const auto [row, col] = at;
        const std::string& format = cell.Style.NumberFormat;
        if (format.empty() || format == "@" || shapes.count(col))
            continue;
        const TSheetCell* caption = sheet.Find(row - 1, col);
        const size_t length = caption && caption->Kind == TSheetCell::ckText ? CodePoints(caption->Text) : 0;
        shapes[col] = {format, length > 0 && length <= ShortCaption};
    }
    return shapes;
}

// Neighbouring columns of values in one format under short captions (the quarter
// hours "1." to "4.", the shifts' and tariffs' abbreviations) are one kind: each
// takes the width of the widest of them, so that a printed table shows them alike.
void EvenOutKinds(const TWorksheet& sheet, std::map<int, double>& widths) {
    const std::map<int, TColumnShape> shapes = ColumnShapes(sheet);
    auto sameKind = [&shapes](int a, int b) {
        const auto x = shapes.find(a), y = shapes.find(b);
        return x != shapes.end() && y != shapes.end() && x->second.Short && y->second.Short &&
               x->second.Format == y->second.Format;
    };
    for (auto it = shapes.begin(); it != shapes.end();) {
        int last = it->first;
        while (sameKind(last, last + 1))
            ++last;
        double widest = 0;
        for (int col = it->first; col <= last; ++col)
            widest = std::max(widest, widths.count(col) ? widths.at(col) : 0.0);
        if (last > it->first)
            for (int col = it->first; col <= last; ++col)
                widths[col] = widest;
        it = shapes.upper_bound(last);
    }
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
    const int lastColumn = LastColumn(sheet);
    for (const auto& [at, cell] : sheet.Cells) {
        const auto [row, col] = at;
        if (!HasValue(&cell) || MayRunOn(sheet, lastColumn, row, col, cell))
            continue;
        const double width =
            TextWidthInDigits(ShownText(cell), cell.Style.FontSize, cell.Style.Bold) + CellPadding;
        double& widest = widths[col];
        widest = std::max(widest, std::ceil(width * 2) / 2);
    }
    EvenOutKinds(sheet, widths);
    return widths;
}

bool PrintsLandscape(const TWorksheet& sheet, const std::map<int, double>& widths) {
    // A column of width w takes w digits of 7 pixels and 5 of padding at 96 pixels
    // to the inch; one without a width of its own has the file's default, 8.43.
    constexpr double DefaultWidth = 8.43, DigitPixels = 7, PaddingPixels = 5, PixelsPerInch = 96;
    // A4 across, less the file's default margins of 0.7 inch.
    constexpr double PortraitInches = 8.27 - 2 * 0.7;
    constexpr double SmallestScale = 0.7;
    double pixels = 0;
    for (int col = 1; col <= LastColumn(sheet); ++col) {
        const auto width = widths.find(col);
        pixels += (width != widths.end() ? width->second : DefaultWidth) * DigitPixels + PaddingPixels;
    }
    return PortraitInches < SmallestScale * pixels / PixelsPerInch;
}

} // namespace zeko
