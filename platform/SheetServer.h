#pragma once
// The spreadsheet program the table exports talk to, served inside this program:
// a data-exchange server on the topic "System" that keeps a workbook and carries
// out the macro commands the exports send, answers "Status" with "Ready", and,
// when activated, writes the workbook as a spreadsheet file and hands it to the
// desktop's program for spreadsheets.
//
// Commands (names in any case; cells in R1C1 form, counted from 1):
//   [WORKBOOK.INSERT(1)]        a new sheet in front of the active one, made active
//   [SELECT("R5C2:R28C2")]      the selection; its first cell is the active cell
//   [FORMULA("text","R5C2")]    the text as typed into the cell ("" in the text is
//                               one quote): a number in the locale's notation becomes
//                               a number unless the cell has the text format "@";
//                               anything else stays text, as shown
//   [FORMAT.NUMBER("## ##0,0")] the number format of the selection, the locale's
//                               decimal separator and a space grouping thousands
//   [FORMAT.FONT(,10,TRUE,...)] size and bold of the selection (a name or size left
//                               out keeps it)
//   [ALIGNMENT(h,wrap,v,o)]     h: 1 general, 2 left, 3 centre, 4 right;
//                               v: 1 top, 2 centre, 3 bottom
//   [BORDER(outline,left,right,top,bottom,...)]
//                               line styles 0 none, 1 thin, 2 medium, 3 dashed,
//                               4 dotted, 5 thick, 6 double, 7 hair: left..bottom
//                               for every cell of the selection, then the outline
//                               round the selection (0: left as it is)
// Anything else, or a command that does not read, is refused.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/DdeClient.h"

namespace zeko {

struct TSheetStyle {
    std::string NumberFormat;  // as the file writes it ("#,##0.0", "@"); "" general
    int FontSize = 0;          // points; 0 the workbook's default
    bool Bold = false;
    int HAlign = 1;  // as ALIGNMENT numbers them
    int VAlign = 3;
    bool Wrap = false;
    int Left = 0, Right = 0, Top = 0, Bottom = 0;  // line styles as BORDER numbers them
    bool operator==(const TSheetStyle&) const = default;
    bool operator<(const TSheetStyle& other) const;
};

struct TSheetCell {
    enum TKind { ckEmpty, ckText, ckNumber };
    TKind Kind = ckEmpty;
    std::string Text;
    double Value = 0;
    TSheetStyle Style;
};

struct TWorksheet {
    std::string Name;
    std::map<std::pair<int, int>, TSheetCell> Cells;  // by (row, column)
    // The cell, made when missing.
    TSheetCell& At(int row, int col) { return Cells[{row, col}]; }
    const TSheetCell* Find(int row, int col) const;
};

struct TWorkbook {
    std::vector<TWorksheet> Sheets;  // in the order of their tabs
    int Active = -1;
};

// A rectangle of cells, rows and columns from 1.
struct TCellRange {
    int Top = 1, Left = 1, Bottom = 1, Right = 1;
};
// "R5C2" or "R5C2:R28C2"; false for anything else.
bool ParseR1C1(const std::string& text, TCellRange& range);
// A FORMAT.NUMBER code of the locale as the file writes it: the decimal separator
// becomes ".", a space between digit places ",".
std::string FileNumberFormat(const std::string& code);
// A typed text as a number in the locale's notation: sign, digits, the decimal
// separator, an exponent; spaces round it. False for anything else.
bool ReadsAsNumber(const std::string& text, double& value);

class TSheetServer : public TDdeServer {
public:
    // Activate writes the workbook into the file `NewFileName` gives for its title,
    // with `WriteFile` (the reason on failure), then opens it with `OpenDocument`,
    // and says what happened through `Tell` (a status line). A workbook that cannot
    // be saved is answered with the message for the user (which file, why); one
    // that is saved but does not open is told in a message box naming the file.
    std::function<std::string(const std::string& title)> NewFileName;
    std::function<std::optional<std::string>(const TWorkbook&, const std::string&)> WriteFile;
    // Opens the file and returns at once; the file's opener may take its time. When
    // the file does not open (nothing could be started for it, or what was started
    // ended with a failure), `failed` is called with the reason, at once or later
    // from the event loop, also after this server is gone.
    using TOpenFailed = std::function<void(const std::string& reason)>;
    std::function<void(const std::string& file, TOpenFailed failed)> OpenDocument;
    std::function<void(const std::string&)> Tell;

    const TWorkbook& Workbook() const { return book_; }
    const TCellRange& Selection() const { return selection_; }
    // The file Activate wrote last; empty before.
    const std::string& LastFile() const { return lastFile_; }

    bool AcceptsTopic(const std::string& topic) const override;
    std::optional<std::string> Request(const std::string& topic, const std::string& item) override;
    bool Execute(const std::string& topic, const std::string& command) override;
    std::optional<std::string> Activate(const std::string& title) override;

private:
    struct TArgument {
        bool Given = false;
        bool Quoted = false;
        std::string Text;
    };
    bool Run(const std::string& name, const std::vector<TArgument>& args);
    bool InsertSheet(const std::vector<TArgument>& args);
    bool Formula(const std::vector<TArgument>& args);
    // Applies `change` to every cell of the selection.
    bool ForSelection(const std::function<void(TSheetCell&, int row, int col)>& change);
    TWorksheet* ActiveSheet();

    TWorkbook book_;
    TCellRange selection_;
    int sheetsMade_ = 0;
    std::string lastFile_;
};

} // namespace zeko
