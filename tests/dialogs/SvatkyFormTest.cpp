#include "dialogs/Svatkyformunit.h"

#include "grids/HgGrid.h"
#include "platform/FormatSettings.h"
#include "platform/qt/Grids.h"
#include "support/QtApp.h"

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace zeko;
namespace col = SvatkyColumns;

namespace {

THolidayRecord Holiday(uint16_t from, uint16_t to, uint8_t day, uint8_t month, const std::string& text) {
    THolidayRecord h;
    SetHoliday(h, from, to, day, month, text);
    return h;
}

struct HolidayDialog : ::testing::Test {
    HolidayDialog() {
        test::QtApp();
        HolidayList.clear();
        HolidayList2.clear();
    }
    ~HolidayDialog() override {
        HolidayList.clear();
        HolidayList2.clear();
    }
    // The dialog shown, with the focus in its grid on a cell.
    TSvatkyForm& Open(int col = 0, int row = 1) {
        form = std::make_unique<TSvatkyForm>();
        form->show();
        form->activateWindow();
        EXPECT_TRUE(test::ProcessEventsUntil([&] { return form->isActiveWindow(); }));
        form->Tabulka->setFocus();
        EXPECT_TRUE(form->Tabulka->Focused());
        if (form->Tabulka->RowCount() > row)
            form->Tabulka->FocusCell(col, row);
        return *form;
    }
    // Keys as the keyboard gives them to whatever has the focus.
    void Type(const QString& text) {
        for (QChar c : text) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form->Tabulka;
            const int key = c == QChar('\b') ? int(Qt::Key_Backspace) : int(c.toUpper().unicode());
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(target, &press);
        }
    }
    void Press(int key) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form->Tabulka;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Return ? "\r" : "");
        QApplication::sendEvent(target, &press);
        QApplication::processEvents();
    }
    const std::string& Cell(int c, int r) const { return form->Tabulka->Cells(c, r); }

    std::unique_ptr<TSvatkyForm> form;
};

} // namespace

TEST_F(HolidayDialog, WithBothListsEmptyOnlyTheHeadingsShowAndNothingIsWrittenBack) {
    TSvatkyForm& f = Open();
    EXPECT_EQ(f.windowTitle().toStdString(), "Definice dnů pracovního volna");
    EXPECT_EQ(f.size(), QSize(TSvatkyForm::ClientWidth, TSvatkyForm::ClientHeight));
    // The grid keeps one row below its heading row, of no height and not editable.
    EXPECT_EQ(f.Tabulka->FixedRows(), 1);
    EXPECT_EQ(f.Tabulka->RowHeights(0), 32);
    ASSERT_EQ(f.Tabulka->RowCount(), 2);
    EXPECT_EQ(f.Tabulka->RowHeights(1), 0);
    Type("2");
    EXPECT_FALSE(f.Tabulka->EditorMode());
    EXPECT_EQ(Cell(0, 1), "");
    f.StoreRows();
    EXPECT_TRUE(HolidayList.empty());
    EXPECT_TRUE(HolidayList2.empty());
    EXPECT_FALSE(f.Edited());

    const char* captions[] = {"Typ", "Den", "Měsíc", "Platnost od roku", "Platnost do roku", "Popis"};
    const int widths[] = {26, 29, 42, 64, 64, 251};
    for (int c = 0; c < col::Count; ++c) {
        EXPECT_EQ(f.Tabulka->Columns().Items(c)->Caption(), captions[c]);
        EXPECT_GE(f.Tabulka->ColWidths(c), widths[c]);  // wider where the fonts are
        EXPECT_EQ(f.Tabulka->Columns().Items(c)->ColumnHAlignment(), c == col::Popis ? taLeftJustify : taCenter);
    }
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    f.grab().save(QString(ZEKO_ARTEFACT_DIR) + "/svatky-empty.png");
}

TEST_F(HolidayDialog, RowsShowBothListsAndEasterMondayByItsName) {
    HolidayList = {Holiday(2000, 0, 28, 10, "Den vzniku samostatného státu"),
                   Holiday(1990, 2030, 0, 0, "Velikonoční pondělí")};
    HolidayList2 = {Holiday(0, 0, 24, 12, "Štědrý den")};
    TSvatkyForm& f = Open();
    ASSERT_EQ(f.Tabulka->RowCount(), 4);
    const std::vector<std::vector<std::string>> rows = {
        {"S", "28", "10", "2000", "Neomezeno", "Den vzniku samostatného státu"},
        {"S", "Po", "3/4", "1990", "2030", "Velikonoční pondělí"},
        {"S", "24", "12", "Neomezeno", "Neomezeno", "Štědrý den"},
    };
    for (size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(f.Tabulka->Rows(static_cast<int>(r) + 1), rows[r]) << "row " << r + 1;
        EXPECT_TRUE(f.IsEditableRow(static_cast<int>(r) + 1));
    }
    EXPECT_FALSE(f.IsEditableRow(0));
    EXPECT_EQ(f.Tabulka->RowHeights(1), 20);
    // Every text whole in its cell, and every column inside the grid.
    TCanvas measure;
    measure.SetFont(f.Tabulka->Font());
    int right = 0;
    for (int c = 0; c < col::Count; ++c) {
        for (int r = 1; r < f.Tabulka->RowCount(); ++r)
            EXPECT_LE(measure.TextWidth(Cell(c, r)) + 4, f.Tabulka->ColWidths(c)) << Cell(c, r);
        right += f.Tabulka->ColWidths(c) + f.Tabulka->GridLineWidth();
    }
    EXPECT_LE(right, f.Tabulka->ClientWidth());
    f.grab().save(QString(ZEKO_ARTEFACT_DIR) + "/svatky.png");
}

// Each row goes back into the record it came from: the rows of the second list
// never into the first (where they would count as holidays) nor past its end.
TEST_F(HolidayDialog, RowsAreWrittenBackIntoTheirOwnListsAndNeverBeyondThem) {
    HolidayList = {Holiday(2000, 0, 28, 10, "Den vzniku"), Holiday(1990, 2030, 0, 0, "Velikonoční pondělí")};
    HolidayList2 = {Holiday(0, 0, 24, 12, "Štědrý den")};
    TSvatkyForm& f = Open();
    f.Tabulka->SetCells(col::Do, 1, "2010");
    f.Tabulka->SetCells(col::Od, 2, "2001");
    f.Tabulka->SetCells(col::Od, 3, "2005");
    f.StoreRows();
    ASSERT_EQ(HolidayList.size(), 2u);
    ASSERT_EQ(HolidayList2.size(), 1u);
    EXPECT_EQ(HolidayList[0].ToYear, 2010);
    EXPECT_EQ(HolidayList[0].Day, 28);
    EXPECT_EQ(HolidayList[0].Month, 10);
    // Easter Monday goes back with day and month 0.
    EXPECT_EQ(HolidayList[1].FromYear, 2001);
    EXPECT_EQ(HolidayList[1].Day, 0);
    EXPECT_EQ(HolidayList[1].Month, 0);
    EXPECT_EQ(HolidayList[1].ToYear, 2030);
    EXPECT_EQ(HolidayList2[0].FromYear, 2005);
    EXPECT_EQ(HolidayList2[0].Description, "Štědrý den");
    EXPECT_FALSE(IsHoliday(24, 12, 2024));
}

TEST_F(HolidayDialog, CellsStandForTheirNumbers) {
    const struct {
        const char* text;
        uint16_t number;
    } cases[] = {{"Neomezeno", 0}, {"Po", 0}, {"3/4", 0}, {"", 0}, {"2024", 2024}, {"0", 0},
                 {"70000", 65535}, {"-3", 0}, {"12a", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(HolidayCellToNumber(c.text), c.number) << c.text;
    EXPECT_EQ(YearText(0), "Neomezeno");
    EXPECT_EQ(YearText(2024), "2024");
}

TEST_F(HolidayDialog, AZeroToYearBecomesUnlimitedWhenEnterLeavesTheCell) {
    HolidayList = {Holiday(2000, 2020, 28, 10, "Den vzniku")};
    TSvatkyForm& f = Open(col::Do, 1);
    Type("0");
    ASSERT_TRUE(f.Tabulka->EditorMode());
    Press(Qt::Key_Return);
    EXPECT_FALSE(f.Tabulka->EditorMode());
    EXPECT_EQ(Cell(col::Do, 1), "Neomezeno");
    EXPECT_TRUE(f.Edited());
    EXPECT_EQ(f.Tabulka->Col(), col::Popis);  // Enter moves on to the right
    f.StoreRows();
    EXPECT_EQ(HolidayList[0].ToYear, 0);
}

TEST_F(HolidayDialog, DeleteInAYearCellMakesItUnlimited) {
    HolidayList = {Holiday(2000, 2020, 28, 10, "Den vzniku")};
    TSvatkyForm& f = Open(col::Od, 1);
    Press(Qt::Key_Delete);
    EXPECT_EQ(Cell(col::Od, 1), "Neomezeno");
    EXPECT_TRUE(f.Edited());
    f.Tabulka->FocusCell(col::Den, 1);
    Press(Qt::Key_Delete);
    EXPECT_EQ(Cell(col::Den, 1), "28");
}

// In the rows of the lists only the year cells take keys, and only digits and
// backspace: letters are swallowed also once the editor is open.
TEST_F(HolidayDialog, OnlyDigitsReachTheYearCells) {
    HolidayList = {Holiday(2000, 2020, 28, 10, "Den vzniku")};
    TSvatkyForm& f = Open(col::Od, 1);
    Type("1a9x9B5");
    EXPECT_EQ(Cell(col::Od, 1), "1995");
    Type("\b");
    EXPECT_EQ(Cell(col::Od, 1), "199");
    Press(Qt::Key_Return);
    EXPECT_TRUE(f.Edited());
    for (int c : {col::Typ, col::Den, col::Mesic, col::Popis}) {
        f.Tabulka->FocusCell(c, 1);
        const std::string before = Cell(c, 1);
        Type("7q");
        EXPECT_EQ(Cell(c, 1), before) << "column " << c;
    }
}

TEST_F(HolidayDialog, ConfirmAndCancelGiveTheirResults) {
    for (auto [button, result] : {std::pair{&TSvatkyForm::Btn_OK, ModalResults::Ok},
                                  std::pair{&TSvatkyForm::Btn_Zrus, ModalResults::Cancel}}) {
        TSvatkyForm f;
        QPushButton* b = f.*button;
        QTimer::singleShot(0, b, [b] { b->click(); });
        EXPECT_EQ(f.ShowModal(), result);
    }
}

// ---------------------------------------------------------------- date lists

TEST(DateList, TheIndexStaysInsideTheListAndTheRecordButtonsFollowIt) {
    test::QtApp();
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    const THistoryList three = {THistoryRecord::Of(EncodeDate(2024, 1, 1), TShiftTable{}),
                                THistoryRecord::Of(EncodeDate(2024, 3, 1) + EncodeTime(6, 30, 0), TShiftTable{}),
                                THistoryRecord::Of(EncodeDate(2024, 7, 1), TShiftTable{})};
    const struct {
        size_t records;
        int index, expected;
        bool buttons;
    } cases[] = {{3, 5, 2, true}, {3, 3, 2, true}, {3, 1, 1, true}, {3, 0, 0, true},
                 {0, 0, -1, false}, {0, 2, -1, false}, {3, -1, -1, false}};
    for (const auto& c : cases) {
        QComboBox list;
        list.addItem("stale");
        QPushButton zmenit, smazat;
        const THistoryList history(three.begin(), three.begin() + static_cast<long>(c.records));
        int index = c.index;
        FillDateList(list, history, index, {&zmenit, &smazat});
        SCOPED_TRACE(std::to_string(c.records) + " records, index " + std::to_string(c.index));
        EXPECT_EQ(index, c.expected);
        EXPECT_EQ(list.currentIndex(), c.expected);
        ASSERT_EQ(list.count(), static_cast<int>(c.records));
        EXPECT_EQ(zmenit.isEnabled(), c.buttons);
        EXPECT_EQ(smazat.isEnabled(), c.buttons);
    }
    QComboBox list;
    int index = 0;
    FillDateList(list, three, index);
    EXPECT_EQ(list.itemText(0).toStdString(), "01.01.2024");
    EXPECT_EQ(list.itemText(1).toStdString().substr(0, 11), "01.03.2024 ");
    EXPECT_NE(list.itemText(1).toStdString().find("30"), std::string::npos);
    // A damaged file's valid-from that is no date is listed as the number it is.
    const THistoryList damaged = {THistoryRecord::Of(1e300, TShiftTable{})};
    FillDateList(list, damaged, index);
    EXPECT_EQ(list.count(), 1);
    EXPECT_FALSE(list.itemText(0).isEmpty());
}

TEST(DateList, HistoriesSortByValidFrom) {
    THistoryList history = {THistoryRecord::Of(EncodeDate(2024, 3, 1), TShiftTable{}),
                            THistoryRecord::Of(EncodeDate(2024, 1, 1), TShiftTable{}),
                            THistoryRecord::Of(EncodeDate(2024, 1, 1) + EncodeTime(12, 0, 0), TShiftTable{})};
    EXPECT_EQ(CompareDates(history[0], history[1]), 1);
    EXPECT_EQ(CompareDates(history[1], history[0]), -1);
    EXPECT_EQ(CompareDates(history[1], history[1]), 0);
    SortHistory(history);
    EXPECT_EQ(history[0].ValidFrom, EncodeDate(2024, 1, 1));
    EXPECT_EQ(history[1].ValidFrom, EncodeDate(2024, 1, 1) + EncodeTime(12, 0, 0));
    EXPECT_EQ(history[2].ValidFrom, EncodeDate(2024, 3, 1));
}
