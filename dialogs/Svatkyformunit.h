#pragma once
// TSvatkyForm: the modal dialog "Definice dnů pracovního volna" that lists the
// holiday definitions of HolidayList and, below them, of HolidayList2 in a grid and
// lets the user change their validity years. The tariff editor shows it; after OK
// it reads Edited and has StoreRows write the rows back.
//
// Beside it the date-list helpers of the two schedule editors: FillDateList shows
// a schedule history's valid-from dates in a drop-down list, CompareDates orders a
// history by them.
#include "core/HistoryFormat.h"
#include "core/Holidays.h"
#include "platform/Keys.h"
#include "platform/qt/Forms.h"

#include <cstdint>
#include <initializer_list>
#include <string>

class QComboBox;
class QPushButton;

namespace zeko {

class THyperGrid;

// The grid's columns.
namespace SvatkyColumns {
constexpr int Typ = 0;
constexpr int Den = 1;
constexpr int Mesic = 2;
constexpr int Od = 3;  // "Platnost od roku"
constexpr int Do = 4;  // "Platnost do roku"
constexpr int Popis = 5;
constexpr int Count = 6;
} // namespace SvatkyColumns

// "Neomezeno" for 0, else the year's number.
std::string YearText(uint16_t year);
// The number a cell of the grid stands for: "Neomezeno", "Po" and "3/4" are 0, a
// number is itself (held to 0..65535), and any other text, an empty one too, is 0.
uint16_t HolidayCellToNumber(const std::string& text);

class TSvatkyForm : public TDialogForm {
    Q_OBJECT
public:
    explicit TSvatkyForm(QWidget* parent = nullptr);

    THyperGrid* Tabulka = nullptr;
    QPushButton* Btn_OK = nullptr;    // "&Potvrď"
    QPushButton* Btn_Zrus = nullptr;  // "&Zruš"

    // A validity year was changed.
    bool Edited() const { return edited_; }

    // One row per record of `list` from `firstRow` on.
    void FillRows(const TSvatkyArray& list, int firstRow);
    // The row's "Typ" cell reads "S": it may be edited and is written back.
    bool IsEditableRow(int row) const;

    // Writes each "S" row back into the record it was filled from, in HolidayList or
    // HolidayList2, and never beyond the end of either list.
    void StoreRows() const;

    // The grid's events.
    void TabulkaKeyPress(char32_t& key);
    void TabulkaKeyDown(uint16_t& key, TShiftState shift);
    void TabulkaCellEdited(int col, int row);

    static constexpr int ClientWidth = 512;
    static constexpr int ClientHeight = 288;

private:
    static bool IsYearColumn(int col) { return col == SvatkyColumns::Od || col == SvatkyColumns::Do; }
    // Enter takes the text typed and moves to the next cell on the right.
    void MoveRight();

    bool edited_ = false;
    int firstListRows_ = 0;   // rows 1.. filled from HolidayList
    int secondListRows_ = 0;  // the rows after them, from HolidayList2
};

// Fills `list` with the valid-from date and time of each record of `history`, in
// order; brings `index` back to the last item when it lies beyond it (to -1 for an
// empty history) and selects that item. The controls that act on the selected
// record (`recordButtons`, "Změnit" and "Smazat" of the editors) are enabled only
// while a record is selected.
void FillDateList(QComboBox& list, const THistoryList& history, int& index,
                  std::initializer_list<QWidget*> recordButtons = {});
// -1, 0 or 1 as a's valid-from is earlier than, equal to or later than b's.
int CompareDates(const THistoryRecord& a, const THistoryRecord& b);
// The history in ascending order of valid-from.
void SortHistory(THistoryList& history);

} // namespace zeko
