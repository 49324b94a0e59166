#include "support/XlsxReader.h"

#include <cstdio>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace zeko::test {

namespace {

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t'))
        fields.push_back(field);
    if (!line.empty() && line.back() == '\t')
        fields.push_back("");
    return fields;
}

} // namespace

bool XlsxBook::Has(const std::string& sheet, const std::string& ref) const {
    const auto s = Cells.find(sheet);
    return s != Cells.end() && s->second.count(ref) > 0;
}

const XlsxCell& XlsxBook::At(const std::string& sheet, const std::string& ref) const {
    static const XlsxCell none;
    if (!Has(sheet, ref))
        return none;
    return Cells.at(sheet).at(ref);
}

std::vector<std::string> XlsxBook::Row(const std::string& sheet, int row, char first, int count) const {
    std::vector<std::string> values;
    for (int i = 0; i < count; ++i)
        values.push_back(At(sheet, std::string(1, static_cast<char>(first + i)) + std::to_string(row)).Value);
    return values;
}

XlsxBook ReadXlsx(const std::string& path) {
    const std::string command = "/usr/bin/python3 " ZEKO_XLSX_READER " '" + path + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        output.append(buffer, n);
    if (::pclose(pipe.release()) != 0)
        throw std::runtime_error(output);
    XlsxBook book;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> f = Fields(line);
        if (f.empty())
            continue;
        if (f[0] == "sheets")
            book.Sheets.assign(f.begin() + 1, f.end());
        else if (f[0] == "active" && f.size() > 1)
            book.Active = f[1];
        else if (f[0] == "width" && f.size() >= 4)
            book.Widths[f[1]][f[2]] = std::stod(f[3]);
        else if (f[0] == "page" && f.size() >= 7)
            book.Pages[f[1]] = {f[2], f[3], f[4] == "1", f[5], f[6]};
        else if (f[0] == "cell" && f.size() >= 10)
            book.Cells[f[1]][f[2]] = {f[3] == "n", f[4], f[5], f[6] == "1", std::stoi(f[7]), f[8], f[9]};
    }
    return book;
}

} // namespace zeko::test
