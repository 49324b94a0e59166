#include "platform/SheetServer.h"

#include <cctype>
#include <cstdlib>
#include <tuple>

#include "platform/FormatSettings.h"
#include "platform/Notifier.h"
#include "platform/TextFiles.h"

namespace zeko {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A whole number of the command (also TRUE and FALSE).
bool ReadInt(const std::string& text, int& value) {
    const std::string t = LowerAscii(TrimBlanks(text));
    if (t == "true" || t == "false") {
        value = t == "true";
        return true;
    }
    if (t.empty())
        return false;
    size_t i = t[0] == '-' ? 1 : 0;
    if (i == t.size())
        return false;
    for (size_t k = i; k < t.size(); ++k)
        if (!IsDigit(t[k]))
            return false;
    value = std::atoi(t.c_str());
    return true;
}

// A macro argument left out leaves the field as it is.
template <typename T>
void Take(T& field, const std::optional<int>& value) {
    if (value)
        field = static_cast<T>(*value);
}

// "R12C3" from `pos` on; `pos` is moved past it.
bool ReadCell(const std::string& text, size_t& pos, int& row, int& col) {
    auto number = [&](char letter, int& out) {
        if (pos >= text.size() || (text[pos] != letter && text[pos] != letter + ('a' - 'A')))
            return false;
        const size_t start = ++pos;
        while (pos < text.size() && IsDigit(text[pos]))
            ++pos;
        if (pos == start || pos - start > 7)
            return false;
        out = std::atoi(text.substr(start, pos - start).c_str());
        return out >= 1;
    };
    return number('R', row) && number('C', col);
}

} // namespace

bool TSheetStyle::operator<(const TSheetStyle& o) const {
    return std::tie(NumberFormat, FontSize, Bold, HAlign, VAlign, Wrap, Left, Right, Top, Bottom) <
           std::tie(o.NumberFormat, o.FontSize, o.Bold, o.HAlign, o.VAlign, o.Wrap, o.Left, o.Right, o.Top, o.Bottom);
}

const TSheetCell* TWorksheet::Find(int row, int col) const {
    const auto it = Cells.find({row, col});
    return it == Cells.end() ? nullptr : &it->second;
}

bool ParseR1C1(const std::string& text, TCellRange& range) {
    size_t pos = 0;
    TCellRange r;
    if (!ReadCell(text, pos, r.Top, r.Left))
        return false;
    r.Bottom = r.Top;
    r.Right = r.Left;
    if (pos < text.size()) {
        if (text[pos] != ':')
            return false;
        ++pos;
        if (!ReadCell(text, pos, r.Bottom, r.Right) || pos != text.size())
            return false;
        if (r.Bottom < r.Top)
            std::swap(r.Bottom, r.Top);
        if (r.Right < r.Left)
            std::swap(r.Right, r.Left);
    }
    range = r;
    return true;
}

std::string FileNumberFormat(const std::string& code) {
    const char decimal = FormatSettings().DecimalSeparator;
    std::string out;
    bool fraction = false;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == decimal && !fraction) {
            out += '.';
            fraction = true;
        } else if (c == ' ' && !fraction && !out.empty() && (out.back() == '#' || out.back() == '0') &&
                   i + 1 < code.size() && (code[i + 1] == '#' || code[i + 1] == '0')) {
            out += ',';
        } else {
            out += c;
        }
    }
    return out;
}

bool ReadsAsNumber(const std::string& text, double& value) {
    const std::string t = TrimBlanks(text);
    const char decimal = FormatSettings().DecimalSeparator;
    std::string plain;
    size_t i = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        plain += t[i++];
    size_t digits = 0;
    while (i < t.size() && IsDigit(t[i]))
        plain += t[i++], ++digits;
    if (i < t.size() && t[i] == decimal) {
        plain += '.';
        ++i;
        while (i < t.size() && IsDigit(t[i]))
            plain += t[i++], ++digits;
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        plain += t[i++];
        if (i < t.size() && (t[i] == '-' || t[i] == '+'))
            plain += t[i++];
        const size_t start = i;
        while (i < t.size() && IsDigit(t[i]))
            plain += t[i++];
        if (i == start)
            return false;
    }
    if (i != t.size())
        return false;
    value = std::strtod(plain.c_str(), nullptr);
    return true;
}

bool TSheetServer::AcceptsTopic(const std::string& topic) const { return SameTextNoCase(topic, "System"); }

std::optional<std::string> TSheetServer::Request(const std::string& topic, const std::string& item) {
    if (AcceptsTopic(topic) && SameTextNoCase(item, "Status"))
        return std::string("Ready");
    return std::nullopt;
}

bool TSheetServer::Execute(const std::string& topic, const std::string& command) {
    if (!AcceptsTopic(topic))
        return false;
    const std::string c = TrimBlanks(command);
    if (c.size() < 4 || c.front() != '[' || c.back() != ']')
        return false;
    const size_t open = c.find('(');
    if (open == std::string::npos || c[c.size() - 2] != ')')
        return false;
    const std::string name = LowerAscii(TrimBlanks(c.substr(1, open - 1)));
    const std::string inner = c.substr(open + 1, c.size() - open - 3);
    std::vector<TArgument> args;
    size_t i = 0;
    while (true) {
        TArgument arg;
        while (i < inner.size() && inner[i] == ' ')
            ++i;
        if (i < inner.size() && inner[i] == '"') {
            arg.Given = arg.Quoted = true;
            ++i;
            while (true) {
                if (i >= inner.size())
                    return false;  // the quote is never closed
                if (inner[i] == '"') {
                    if (i + 1 < inner.size() && inner[i + 1] == '"') {
                        arg.Text += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                arg.Text += inner[i++];
            }
            while (i < inner.size() && inner[i] == ' ')
                ++i;
            if (i < inner.size() && inner[i] != ',')
                return false;  // text after a closing quote: a quote inside was not doubled
        } else {
            const size_t comma = inner.find(',', i);
            arg.Text = TrimBlanks(inner.substr(i, comma == std::string::npos ? std::string::npos : comma - i));
            if (arg.Text.find('"') != std::string::npos)
                return false;
            arg.Given = !arg.Text.empty();
            i = comma == std::string::npos ? inner.size() : comma;
        }
        args.push_back(arg);
        if (i >= inner.size())
            break;
        ++i;  // the comma
    }
    return Run(name, args);
}

TWorksheet* TSheetServer::ActiveSheet() {
    if (book_.Active < 0 || book_.Active >= static_cast<int>(book_.Sheets.size()))
        return nullptr;
    return &book_.Sheets[static_cast<size_t>(book_.Active)];
}

bool TSheetServer::Run(const std::string& name, const std::vector<TArgument>& args) {
    auto arg = [&](size_t i) -> const TArgument& {
        static const TArgument none;
        return i < args.size() ? args[i] : none;
    };
    auto intArg = [&](size_t i, int low, int high, std::optional<int>& out) {
        if (!arg(i).Given)
            return true;
        int v;
        if (arg(i).Quoted || !ReadInt(arg(i).Text, v) || v < low || v > high)
            return false;
        out = v;
        return true;
    };
    if (name == "workbook.insert")
        return InsertSheet(args);
    if (!ActiveSheet())
        return false;
    if (name == "select") {
        TCellRange range;
        if (!arg(0).Quoted || !ParseR1C1(arg(0).Text, range))
            return false;
        selection_ = range;
        return true;
    }
    if (name == "formula")
        return Formula(args);
    if (name == "format.number") {
        if (!arg(0).Quoted)
            return false;
        const std::string format = FileNumberFormat(arg(0).Text);
        return ForSelection([&](TSheetCell& cell, int, int) { cell.Style.NumberFormat = format; });
    }
    if (name == "format.font") {
        std::optional<int> size, bold;
        if (!intArg(1, 1, 409, size) || !intArg(2, 0, 1, bold))
            return false;
        return ForSelection([&](TSheetCell& cell, int, int) {
            Take(cell.Style.FontSize, size);
            Take(cell.Style.Bold, bold);
        });
    }
    if (name == "alignment") {
        std::optional<int> h, wrap, v;
        if (!intArg(0, 1, 7, h) || !intArg(1, 0, 1, wrap) || !intArg(2, 1, 4, v))
            return false;
        return ForSelection([&](TSheetCell& cell, int, int) {
            Take(cell.Style.HAlign, h);
            Take(cell.Style.Wrap, wrap);
            Take(cell.Style.VAlign, v);
        });
    }
    if (name == "border") {
        std::optional<int> lines[5];
        for (size_t i = 0; i < 5; ++i)
            if (!intArg(i, 0, 7, lines[i]))
                return false;
        const TCellRange s = selection_;
        return ForSelection([&](TSheetCell& cell, int row, int col) {
            TSheetStyle& st = cell.Style;
            int* sides[] = {&st.Left, &st.Right, &st.Top, &st.Bottom};
            for (size_t i = 0; i < 4; ++i)
                Take(*sides[i], lines[i + 1]);
            if (const int outline = lines[0].value_or(0); outline != 0) {
                if (col == s.Left)
                    st.Left = outline;
                if (col == s.Right)
                    st.Right = outline;
                if (row == s.Top)
                    st.Top = outline;
                if (row == s.Bottom)
                    st.Bottom = outline;
            }
        });
    }
    return false;
}

bool TSheetServer::InsertSheet(const std::vector<TArgument>& args) {
    int type = 1;
    if (!args.empty() && args[0].Given && (args[0].Quoted || !ReadInt(args[0].Text, type)))
        return false;
    if (type != 1)
        return false;  // worksheets only
    TWorksheet sheet;
    sheet.Name = "List" + std::to_string(++sheetsMade_);
    const int at = std::max(book_.Active, 0);
    book_.Sheets.insert(book_.Sheets.begin() + at, std::move(sheet));
    book_.Active = at;
    selection_ = TCellRange{};
    return true;
}

bool TSheetServer::Formula(const std::vector<TArgument>& args) {
    if (args.empty() || !args[0].Quoted || args.size() > 2)
        return false;
    TCellRange at = selection_;
    if (args.size() == 2 && (!args[1].Quoted || !ParseR1C1(args[1].Text, at)))
        return false;
    TSheetCell& cell = ActiveSheet()->At(at.Top, at.Left);
    const std::string& text = args[0].Text;
    double value;
    if (text.empty()) {
        cell.Kind = TSheetCell::ckEmpty;
        cell.Text.clear();
    } else if (cell.Style.NumberFormat != "@" && ReadsAsNumber(text, value)) {
        cell.Kind = TSheetCell::ckNumber;
        cell.Value = value;
        cell.Text = text;
    } else {
        cell.Kind = TSheetCell::ckText;
        cell.Text = text;
    }
    return true;
}

bool TSheetServer::ForSelection(const std::function<void(TSheetCell&, int row, int col)>& change) {
    TWorksheet* sheet = ActiveSheet();
    for (int r = selection_.Top; r <= selection_.Bottom; ++r)
        for (int c = selection_.Left; c <= selection_.Right; ++c)
            change(sheet->At(r, c), r, c);
    return true;
}

std::optional<std::string> TSheetServer::Activate(const std::string& title) {
    const std::string file = NewFileName ? NewFileName(title) : std::string();
    std::optional<std::string> failure = WriteFile ? WriteFile(book_, file) : std::optional<std::string>("no file");
    if (failure) {
        if (Tell)
            Tell("Sešit se nepodařilo uložit do souboru " + file + ": " + *failure);
        return "Chyba zápisu do souboru:" + file + ": " + *failure + "\nExport nebyl proveden.";
    }
    lastFile_ = file;
    if (Tell)
        Tell("Tabulka uložena do sešitu " + file);
    // Told when the file did not open, which may be long after this export (and
    // this server) have ended. The status line may be too narrow for the whole
    // name: the user must learn where the workbook went to open it by hand.
    TOpenFailed failed = [tell = Tell, file](const std::string& reason) {
        if (tell)
            tell("Tabulka uložena do sešitu " + file + "; program pro tabulky se nepodařilo otevřít.");
        MessageDlg("Tabulka byla uložena do sešitu:\n" + file + "\nProgram pro tabulky se ale nepodařilo spustit" +
                       (reason.empty() ? "." : " (" + reason + ")."),
                   TMsgDlgType::mtWarning);
    };
    if (OpenDocument)
        OpenDocument(file, std::move(failed));
    else
        failed("");
    return std::nullopt;
}

} // namespace zeko
