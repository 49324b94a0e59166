#include "platform/XlsxFile.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "platform/ProgramDir.h"
#include "platform/SheetColumnWidths.h"
#include "platform/TextFiles.h"
#include "platform/FileErrorText.h"

namespace zeko {

namespace {

constexpr uint8_t A4Paper = 9;  // the file's number of the paper size

// ALIGNMENT's horizontal 1..7 and vertical 1..4 as the file's alignments.
uint8_t HorizontalAlignment(int h) { return static_cast<uint8_t>(h >= 1 && h <= 7 ? h - 1 : LXW_ALIGN_NONE); }

uint8_t VerticalAlignment(int v) {
    switch (v) {
    case 1: return LXW_ALIGN_VERTICAL_TOP;
    case 2: return LXW_ALIGN_VERTICAL_CENTER;
    case 4: return LXW_ALIGN_VERTICAL_JUSTIFY;
    default: return LXW_ALIGN_VERTICAL_BOTTOM;
    }
}

lxw_format* MakeFormat(lxw_workbook* book, const TSheetStyle& style) {
    lxw_format* format = workbook_add_format(book);
    if (!style.NumberFormat.empty())
        format_set_num_format(format, style.NumberFormat.c_str());
    if (style.FontSize > 0)
        format_set_font_size(format, style.FontSize);
    if (style.Bold)
        format_set_bold(format);
    if (const uint8_t h = HorizontalAlignment(style.HAlign); h != LXW_ALIGN_NONE)
        format_set_align(format, h);
    format_set_align(format, VerticalAlignment(style.VAlign));
    if (style.Wrap)
        format_set_text_wrap(format);
    // BORDER numbers its line styles as the file does.
    format_set_left(format, static_cast<uint8_t>(style.Left));
    format_set_right(format, static_cast<uint8_t>(style.Right));
    format_set_top(format, static_cast<uint8_t>(style.Top));
    format_set_bottom(format, static_cast<uint8_t>(style.Bottom));
    return format;
}

// The workbook as the bytes of its file, made in a folder of its own under the
// system's temporary folder; the reason when the library cannot make them.
std::optional<std::string> XlsxBytes(const TWorkbook& book, std::string& bytes) {
    std::string folder = (std::filesystem::temp_directory_path() / "zeko-sesit-XXXXXX").string();
    if (!::mkdtemp(folder.data()))
        return std::string("dočasnou složku nelze vytvořit: ") + SystemErrorText(errno);
    struct Removed {
        std::string folder;
        ~Removed() {
            std::error_code ec;
            std::filesystem::remove_all(folder, ec);
        }
    } removed{folder};
    const std::string path = folder + "/sesit.xlsx";
    lxw_workbook* workbook = workbook_new(path.c_str());
    if (!workbook)
        return std::string("sešit nelze vytvořit");
    std::map<TSheetStyle, lxw_format*> formats;
    auto formatOf = [&](const TSheetStyle& style) -> lxw_format* {
        if (style == TSheetStyle{})
            return nullptr;
        auto [it, made] = formats.try_emplace(style, nullptr);
        if (made)
            it->second = MakeFormat(workbook, style);
        return it->second;
    };
    for (const TWorksheet& sheet : book.Sheets) {
        lxw_worksheet* ws = workbook_add_worksheet(workbook, sheet.Name.c_str());
        if (!ws) {
            workbook_close(workbook);
            return "list " + sheet.Name + " nelze přidat";
        }
        // A printed sheet is as wide as an A4 page, and as long as it takes; a wide
        // one lies across the page rather than print small.
        const std::map<int, double> widths = FittingColumnWidths(sheet);
        worksheet_set_paper(ws, A4Paper);
        worksheet_fit_to_pages(ws, 1, 0);
        if (PrintsLandscape(sheet, widths))
            worksheet_set_landscape(ws);
        for (const auto& [col, width] : widths) {
            const auto c = static_cast<lxw_col_t>(col - 1);
            worksheet_set_column(ws, c, c, width, nullptr);
        }
        for (const auto& [at, cell] : sheet.Cells) {
            const lxw_row_t row = static_cast<lxw_row_t>(at.first - 1);
            const lxw_col_t col = static_cast<lxw_col_t>(at.second - 1);
            lxw_format* format = formatOf(cell.Style);
            if (cell.Kind == TSheetCell::ckNumber)
                worksheet_write_number(ws, row, col, cell.Value, format);
            else if (cell.Kind == TSheetCell::ckText)
                worksheet_write_string(ws, row, col, cell.Text.c_str(), format);
            else if (format)
                worksheet_write_blank(ws, row, col, format);
        }
    }
    errno = 0;
    if (const lxw_error error = workbook_close(workbook); error != LXW_NO_ERROR) {
        // The library names its own step in English; a full or closed temporary
        // folder is what the user can mend, and the system's reason says so.
        const int cause = errno;
        const bool told = cause == ENOSPC || cause == EDQUOT || cause == EROFS || cause == EACCES || cause == EIO;
        return "sešit nelze sestavit v dočasné složce " + folder + ": " +
               (told ? SystemErrorText(cause) : std::string(lxw_strerror(error)));
    }
    int error = 0;
    if (!ReadFileBytes(path, bytes, &error))
        return SystemErrorText(error);
    return std::nullopt;
}

} // namespace

std::optional<std::string> WriteXlsxFile(const TWorkbook& book, const std::string& path) {
    if (!ForceFileDirectory(path)) {
        return "složku " + ExtractFileDir(path) + " nelze vytvořit: " + SystemErrorText(errno);
    }
    std::string bytes;
    if (std::optional<std::string> failure = XlsxBytes(book, bytes))
        return failure;
    // Written beside and renamed, so that a full disk leaves no part of a workbook.
    if (const int error = ReplaceChosenFile(path, bytes.data(), bytes.size()); error != 0)
        return SystemErrorText(error);
    return std::nullopt;
}

} // namespace zeko
