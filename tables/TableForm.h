#pragma once
// What the day, month and year table windows share: the window itself (an MDI
// child of the main window), the grid `Tabulka` with its column model, the button
// panel `Panel1`, the fields the main window writes before it lets the window lay
// out (SetupTable) and fill (FillTable) its grids, the room the grid may take in
// the main window's MDI client area, and the requests the buttons post to the main
// window. A table window never evaluates anything: every figure it shows is handed
// to it.
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/DayEvaluation.h"
#include "core/HistoryFormat.h"
#include "core/MojeDB.h"
#include "core/PripojenaZarizeniUnit.h"
#include "grids/HgGrid.h"
#include "platform/DateTime.h"
#include "platform/Graphics.h"
#include "platform/UserDialogs.h"

class QFrame;
class QPushButton;

namespace zeko {

class TExcel;

// One model column of a table grid as the form lays it out.
struct TTableColumn {
    const char* Caption;
    int Width;
};

// The title and cell fonts of a table grid's columns.
TFont TableFont(const char* name, int pixelHeight, bool bold = false);
// Arial 8 pt: the fonts of the 1024 layout.
TFont WideLayoutFont();

// A read-only table grid: grid lines, no scroll bars, no border, no focus
// rectangle or highlight, one title row, the grid painting every cell itself.
void PrepareTableGrid(THyperGrid& grid, const std::vector<TTableColumn>& columns);
// Heading `caption` over the model columns first..last.
ThgHeading* AddTableHeading(THyperGrid& grid, const std::string& caption, int first, int last, const TFont& font);
// Every column's title font and cell font.
void SetColumnFonts(THyperGrid& grid, const TFont& titleFont, const TFont& cellFont);
void SetRowHeights(THyperGrid& grid, int firstRow, int lastRow, int height);
// Writes text into the cell of model column `index` when that column is shown.
void SetCellByColumn(THyperGrid& grid, int index, int row, const std::string& text);
// The text of that cell; empty when the model column is hidden.
std::string GetCellByColumn(const THyperGrid& grid, int index, int row);
// Every cell of rows 1.. and columns 1.. emptied, those of hidden model columns too.
void ClearValueCells(THyperGrid& grid);
// Sum of the column widths plus one grid line each; sum of the row heights likewise.
int NaturalWidth(const THyperGrid& grid);
int NaturalHeight(const THyperGrid& grid);
// Widens grid column `col` so that each text fits on one line in the column's cell
// font (`fixed`: its title font, as fixed cells are drawn): the design widths
// assume narrower fonts than the substitutes this system may have. A column is
// never made narrower.
void FitColumnToTexts(THyperGrid& grid, int col, bool fixed, const std::vector<std::string>& texts);
// Widens every shown column whose caption has a word wider than the column, or,
// wrapped at its words, does not fit into the column's part of the title row.
void FitCaptions(THyperGrid& grid);
// A solid black line of 2 pixels.
void SetThickLine(ThgBorder& border);
// Heading 0 of a table, over the model columns 0..last: Arial bold 12 pixels on the
// menu colour in a raised frame.
ThgHeading* AddMainHeading(THyperGrid& grid, const std::string& caption, int last);

class TTableForm : public QWidget {
public:
    ~TTableForm() override;

    THyperGrid* Tabulka;
    QFrame* Panel1;
    QPushButton* Btn_VyberData;
    QPushButton* Btn_Predchozi;
    QPushButton* Btn_Dnesni;
    QPushButton* Btn_Dalsi;
    QPushButton* Btn_Tisk;
    QPushButton* Btn_ExportTXT;
    QPushButton* Btn_ExportXLS;
    QPushButton* Btn_Graf;
    QPushButton* Btn_Cetnost;
    QPushButton* Btn_Maxima;
    QPushButton* Btn_Minima;
    // The spreadsheet link of the "XL&S" export and the save dialog of the "T&XT"
    // export.
    std::unique_ptr<TExcel> Excel;
    TFileDialogRequest SaveDialog1;

    // Written by the main window before SetupTable and FillTable (TakeFields).
    TVstupyInfo Channel;
    int DayStartHour = 0;
    uint16_t MeasurementIndex = 0;
    TTariffTable Tariffs;
    TShiftTable Shifts;
    void TakeFields(const TTableFields& fields);

    // Heights of the rows of the period and of the summary rows.
    int HourRowHeight = 13;
    int SummaryRowHeight = 15;
    int Margin = 5;
    // The main window's MDI client area when the window was made, and the room of
    // `Tabulka` in it.
    TRect MdiClientRect;
    int AvailableWidth = 0;
    int AvailableHeight = 0;
    // The channel's quantity and its units in brackets, "[kWh]" and "[kW]".
    TDBPolozka Quantity;
    std::string EnergyUnitText;
    std::string PowerUnitText;

    void SetCellByColumn(int index, int row, const std::string& text) {
        zeko::SetCellByColumn(*Tabulka, index, row, text);
    }
    std::string GetCellByColumn(int index, int row) const { return zeko::GetCellByColumn(*Tabulka, index, row); }
    // The shown channel is the regulator's own measurement (active and reactive
    // inputs side by side), which adds the cos phi.
    bool OwnMeasurement() const;
    // Paints the window and its grids into an image of its size.
    QImage Picture();

    // The events of Tabulka (cells only; the headings keep their look).
    virtual void TabulkaChangeCellAttributes(int col, int row, ThgCellStates state, TColor& color, TFont& font) {}
    virtual void TabulkaChangeCellBorders(int row, ThgBorder& top) {}
    virtual void TabulkaFixedCellClick(int col, int row) {}

    // The buttons that move the table: today, back, on, and a date of the user's
    // choice (posted as 0, so that the main window asks).
    virtual void Btn_DnesniClick() = 0;
    virtual void Btn_PredchoziClick() = 0;
    virtual void Btn_DalsiClick() = 0;
    virtual void Btn_VyberDataClick() = 0;
    // Printing and the text and spreadsheet exports of the table as it is shown.
    virtual void Btn_TiskClick() = 0;
    virtual void Btn_ExportTXTClick() = 0;
    virtual void Btn_ExportXLSClick() = 0;

    // Where the grid lies in the form before it is centred.
    static constexpr int TableLeft = 8;
    static constexpr int TableTop = 8;
    static constexpr int PanelWidth = 100;

protected:
    TTableForm(const char* objectName, const char* caption, const TRect& mdiClientRect, QWidget* parent);

    // True in the 1024 layout (LayoutWidth).
    static bool WideLayout();
    // The next button down the panel; a button without an action is disabled.
    QPushButton* AddButton(const char* name, const char* caption, std::function<void()> action = {});
    // A line across the panel between groups of buttons.
    void AddBevel();
    // The buttons every table window has, each group followed by a bevel: the
    // date buttons (the day window has "Předchozí" before "Dnešní"); printing and
    // the exports; and frequencies, maxima, minima and, unless
    // the window offers the graph itself, the graph, which have no action.
    void AddDateButtons(bool previousFirst);
    void AddOutputButtons(bool printFirst);
    void AddAnalysisButtons(bool withGraph);
    // The 1024 layout's fonts (Arial 8 pt) for every column of the grid, and its
    // title row; the row heights of the layout. Answers whether it is the wide one.
    bool ApplyLayout(THyperGrid& grid, int narrowHour, int narrowSummary, int wideHour, int wideSummary);
    // Quantity and the unit texts from the channel's quantity code.
    void TakeQuantity();
    // The room of the grid beside Panel1, and Panel1 to the right of it.
    void PlacePanel();
    // The grid at its natural size (its captions given room) when it fits
    // the room, else the room's size with the scroll bars it then needs; centred
    // in the room.
    void FitTable();
    int CentredLeft(int width) const { return AvailableWidth / 2 + Margin - width / 2; }
    // Posts a request to the main window: the date as a whole day number.
    static void PostRequest(uint32_t msg, TDateTime date, int channelId);

private:
    int nextButtonTop_ = 8;
};

} // namespace zeko
