#include "dialogs/Svatkyformunit.h"

#include "grids/HgGrid.h"
#include "platform/Exceptions.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "platform/qt/QtText.h"

#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <limits>
#include <sstream>

namespace zeko {

namespace {

constexpr const char* Unlimited = "Neomezeno";
// Easter Monday moves from year to year: its row names the day and the months.
constexpr const char* EasterMark = "Velikonoční";
constexpr const char* EasterDay = "Po";
constexpr const char* EasterMonths = "3/4";
constexpr const char* EditableType = "S";

constexpr int HeadingRowHeight = 32;
constexpr int RowHeight = 20;
constexpr int GridMargin = 4;
constexpr int ButtonWidth = 95;
constexpr int ButtonHeight = 28;
// A cell's margins and frame beside its text.
constexpr int CellTextRoom = 8;

struct TColumnLook {
    const char* Caption;
    int Width;
};
constexpr TColumnLook Columns[SvatkyColumns::Count] = {
    {"Typ", 26}, {"Den", 29}, {"Měsíc", 42}, {"Platnost od roku", 64}, {"Platnost do roku", 64}, {"Popis", 251}};

bool IsDigitOrBackspace(char32_t key) { return key == CH_BACK || (key >= U'0' && key <= U'9'); }

void PrepareGrid(THyperGrid& grid) {
    grid.SetColCount(SvatkyColumns::Count);
    grid.SetRowCount(2);
    grid.SetFixedCols(0);
    grid.SetFixedRows(1);
    grid.SetDefaultRowHeight(RowHeight);
    grid.SetRowHeights(0, HeadingRowHeight);
    grid.SetScrollBars(ssVertical);
    grid.SetCtl3D(false);
    grid.SetOptions(grid.Options() + goEditing);
    TFont heading;
    heading.SetName("Arial");
    heading.SetStyle({fsBold});
    for (int c = 0; c < SvatkyColumns::Count; ++c) {
        ThgColumn* column = grid.Columns().Items(c);
        column->SetCaption(Columns[c].Caption);
        column->SetTitleFont(heading);
        if (c != SvatkyColumns::Popis)
            column->SetColumnHAlignment(taCenter);
        grid.SetColWidths(c, Columns[c].Width);
    }
}

// The widths above suit the narrow fonts of the old screens: a column is widened
// until each word of its caption and each of its texts fits, and "Popis" takes
// the room that is left.
void FitColumns(THyperGrid& grid) {
    int used = 0;
    for (int c = 0; c < SvatkyColumns::Popis; ++c) {
        const ThgColumn* column = grid.Columns().Items(c);
        TCanvas title, cells;
        title.SetFont(column->TitleParentFont() ? grid.Font() : column->TitleFont());
        cells.SetFont(column->ColumnParentFont() ? grid.Font() : column->ColumnFont());
        int width = Columns[c].Width;
        std::istringstream words(column->Caption());
        for (std::string word; words >> word;)
            width = std::max(width, title.TextWidth(word) + CellTextRoom);
        for (int r = grid.FixedRows(); r < grid.RowCount(); ++r)
            width = std::max(width, cells.TextWidth(grid.Cells(c, r)) + CellTextRoom);
        grid.SetColWidths(c, width);
        used += width + grid.GridLineWidth();
    }
    grid.SetColWidths(SvatkyColumns::Popis,
                      std::max(Columns[SvatkyColumns::Popis].Width / 2, grid.ClientWidth() - used - grid.GridLineWidth()));
}

std::string ValidFromText(TDateTime validFrom) {
    try {
        return DateTimeToStr(validFrom);
    } catch (const EConvertError&) {
        // A damaged history file may hold any number here; the list still shows it.
        return FloatToStr(validFrom);
    }
}

} // namespace

std::string YearText(uint16_t year) { return year == 0 ? Unlimited : std::to_string(year); }

uint16_t HolidayCellToNumber(const std::string& text) {
    int64_t value = 0;
    if (!TryStrToInt(text, value))
        return 0;
    return static_cast<uint16_t>(std::clamp<int64_t>(value, 0, std::numeric_limits<uint16_t>::max()));
}

TSvatkyForm::TSvatkyForm(QWidget* parent) : TDialogForm(parent) {
    setObjectName("SvatkyForm");
    setWindowTitle(U("Definice dnů pracovního volna"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(ClientWidth, ClientHeight);

    Tabulka = new THyperGrid(this);
    Tabulka->setObjectName("Tabulka");
    PrepareGrid(*Tabulka);
    const int buttonTop = ClientHeight - GridMargin - ButtonHeight - 4;
    Tabulka->setGeometry(GridMargin, GridMargin, ClientWidth - 2 * GridMargin, buttonTop - 2 * GridMargin);
    Tabulka->OnKeyPress = [this](TCustomGrid*, char32_t& key) { TabulkaKeyPress(key); };
    Tabulka->OnKeyDown = [this](TCustomGrid*, uint16_t& key, TShiftState shift) { TabulkaKeyDown(key, shift); };
    Tabulka->OnCellEdited = [this](THyperGrid*, int col, int row) { TabulkaCellEdited(col, row); };

    Btn_OK = new QPushButton(U("&Potvrď"), this);
    Btn_OK->setObjectName("Btn_OK");
    Btn_OK->setGeometry(ClientWidth / 2 - ButtonWidth - 8, buttonTop, ButtonWidth, ButtonHeight);
    Btn_Zrus = new QPushButton(U("&Zruš"), this);
    Btn_Zrus->setObjectName("Btn_Zrus");
    Btn_Zrus->setGeometry(ClientWidth / 2 + 8, buttonTop, ButtonWidth, ButtonHeight);
    connect(Btn_OK, &QPushButton::clicked, this, [this] { SetModalResult(ModalResults::Ok); });
    connect(Btn_Zrus, &QPushButton::clicked, this, [this] { SetModalResult(ModalResults::Cancel); });

    // FormCreate
    edited_ = false;
    firstListRows_ = static_cast<int>(HolidayList.size());
    secondListRows_ = static_cast<int>(HolidayList2.size());
    const int records = firstListRows_ + secondListRows_;
    if (records == 0) {
        // A grid keeps a row below its heading row; without a holiday that row has
        // no height and nothing can be edited.
        Tabulka->SetRowHeights(1, 0);
        Tabulka->SetOptions(Tabulka->Options() - goEditing);
    } else {
        Tabulka->SetRowCount(1 + records);
    }
    FillRows(HolidayList, 1);
    FillRows(HolidayList2, 1 + firstListRows_);
    FitColumns(*Tabulka);
}

void TSvatkyForm::FillRows(const TSvatkyArray& list, int firstRow) {
    int row = firstRow;
    for (const THolidayRecord& h : list) {
        const bool easter = h.Description.find(EasterMark) != std::string::npos;
        Tabulka->SetCells(SvatkyColumns::Typ, row, EditableType);
        Tabulka->SetCells(SvatkyColumns::Den, row, easter ? EasterDay : std::to_string(h.Day));
        Tabulka->SetCells(SvatkyColumns::Mesic, row, easter ? EasterMonths : std::to_string(h.Month));
        Tabulka->SetCells(SvatkyColumns::Od, row, YearText(h.FromYear));
        Tabulka->SetCells(SvatkyColumns::Do, row, YearText(h.ToYear));
        Tabulka->SetCells(SvatkyColumns::Popis, row, h.Description);
        ++row;
    }
}

bool TSvatkyForm::IsEditableRow(int row) const { return Tabulka->Cells(SvatkyColumns::Typ, row) == EditableType; }

void TSvatkyForm::StoreRows() const {
    for (int row = 1; row <= firstListRows_ + secondListRows_; ++row) {
        if (!IsEditableRow(row))
            continue;
        const bool first = row <= firstListRows_;
        TSvatkyArray& list = first ? HolidayList : HolidayList2;
        const size_t index = static_cast<size_t>(first ? row - 1 : row - 1 - firstListRows_);
        if (index >= list.size())
            continue;
        auto number = [&](int col) { return HolidayCellToNumber(Tabulka->Cells(col, row)); };
        SetHoliday(list[index], number(SvatkyColumns::Od), number(SvatkyColumns::Do),
                   static_cast<uint8_t>(number(SvatkyColumns::Den)), static_cast<uint8_t>(number(SvatkyColumns::Mesic)),
                   Tabulka->Cells(SvatkyColumns::Popis, row));
    }
}

void TSvatkyForm::MoveRight() {
    if (Tabulka->EditorMode())
        Tabulka->SetEditorMode(false);
    // After the key has been handled, as a key posted to the grid arrives.
    QTimer::singleShot(0, Tabulka, [grid = Tabulka] {
        uint16_t right = VK_RIGHT;
        grid->KeyDown(right, {});
    });
}

void TSvatkyForm::TabulkaKeyPress(char32_t& key) {
    if (key == CH_RETURN) {
        key = 0;
        MoveRight();
        return;
    }
    if (!EditsText(key))
        return;
    const bool yearCell = IsYearColumn(Tabulka->Col());
    if (IsEditableRow(Tabulka->Row()) ? !(yearCell && IsDigitOrBackspace(key)) : !IsDigitOrBackspace(key))
        key = 0;
}

void TSvatkyForm::TabulkaKeyDown(uint16_t& key, TShiftState) {
    if (key != VK_DELETE || !IsYearColumn(Tabulka->Col()) || !IsEditableRow(Tabulka->Row()))
        return;
    Tabulka->SetCells(Tabulka->Col(), Tabulka->Row(), Unlimited);
    edited_ = true;
    key = 0;
}

void TSvatkyForm::TabulkaCellEdited(int col, int row) {
    if (row == 0)
        return;
    if (!IsEditableRow(row)) {
        edited_ = true;
        return;
    }
    if (!IsYearColumn(col))
        return;
    if (Tabulka->Cells(col, row) == "0")
        Tabulka->SetCells(col, row, Unlimited);
    edited_ = true;
}

// ---------------------------------------------------------------- date lists

void FillDateList(QComboBox& list, const THistoryList& history, int& index,
                  std::initializer_list<QWidget*> recordButtons) {
    list.clear();
    for (const THistoryRecord& record : history)
        list.addItem(U(ValidFromText(record.ValidFrom)));
    if (index >= list.count())
        index = list.count() - 1;
    list.setCurrentIndex(index);
    for (QWidget* button : recordButtons)
        button->setEnabled(index >= 0);
}

int CompareDates(const THistoryRecord& a, const THistoryRecord& b) {
    if (a.ValidFrom < b.ValidFrom)
        return -1;
    return a.ValidFrom > b.ValidFrom ? 1 : 0;
}

void SortHistory(THistoryList& history) {
    std::stable_sort(history.begin(), history.end(),
                     [](const THistoryRecord& a, const THistoryRecord& b) { return CompareDates(a, b) < 0; });
}

} // namespace zeko
