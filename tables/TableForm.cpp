#include "tables/TableForm.h"

#include <QFrame>
#include <QPushButton>

#include <algorithm>

#include "core/ProgramGlobals.h"
#include "core/WindowHelpers.h"
#include "core/ZekoMessages.h"

namespace zeko {

namespace {

constexpr int ButtonWidth = 84;
constexpr int ButtonHeight = 25;
constexpr int ButtonGap = 4;

constexpr TColor SelectedLabelColor = 0x00FF00;

} // namespace

TFont TableFont(const char* name, int pixelHeight, bool bold) {
    TFont font;
    font.SetName(name);
    font.SetHeight(-pixelHeight);
    font.SetColor(clBlack);
    if (bold)
        font.SetStyle({fsBold});
    return font;
}

TFont WideLayoutFont() {
    TFont font = TableFont("Arial", 11);
    font.SetSize(8);
    return font;
}

void PrepareTableGrid(THyperGrid& grid, const std::vector<TTableColumn>& columns) {
    grid.SetBorderStyle(bsNone);
    grid.SetScrollBars(ssNone);
    grid.SetDefaultDrawing(false);
    grid.SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine});
    grid.SetHyperOptions({});
    grid.SetColCount(static_cast<int>(columns.size()));
    grid.SetRowCount(2);
    grid.SetFixedRows(1);
    grid.SetFixedCols(0);
    for (size_t i = 0; i < columns.size(); ++i) {
        ThgColumn* column = grid.Columns().Items(static_cast<int>(i));
        column->SetCaption(columns[i].Caption);
        column->SetReadOnly(true);
        column->SetColumnHAlignment(taCenter);
        column->SetColumnVAlignment(hgvaCenter);
        grid.SetColWidths(static_cast<int>(i), columns[i].Width);
    }
}

ThgHeading* AddTableHeading(THyperGrid& grid, const std::string& caption, int first, int last, const TFont& font) {
    ThgHeading* heading = grid.Headings().Add();
    heading->SetCaption(caption);
    heading->SetTitleFont(font);
    for (int i = first; i <= last; ++i)
        grid.Columns().Items(i)->SetHeadingIndex(heading->Index());
    return heading;
}

void SetColumnFonts(THyperGrid& grid, const TFont& titleFont, const TFont& cellFont) {
    for (int i = 0; i < grid.Columns().Count(); ++i) {
        grid.Columns().Items(i)->SetTitleFont(titleFont);
        grid.Columns().Items(i)->SetColumnFont(cellFont);
    }
}

void SetRowHeights(THyperGrid& grid, int firstRow, int lastRow, int height) {
    for (int r = firstRow; r <= lastRow && r < grid.RowCount(); ++r)
        grid.SetRowHeights(r, height);
}

void SetCellByColumn(THyperGrid& grid, int index, int row, const std::string& text) {
    const int col = grid.GridIndexOfColumn(grid.Columns().Items(index));
    if (col >= 0)
        grid.SetCells(col, row, text);
}

std::string GetCellByColumn(const THyperGrid& grid, int index, int row) {
    const int col = grid.GridIndexOfColumn(grid.Columns().Items(index));
    return col >= 0 ? grid.Cells(col, row) : std::string();
}

void ClearValueCells(THyperGrid& grid) {
    for (int r = 1; r < grid.RowCount(); ++r)
        for (int c = 1; c < grid.ColCount(); ++c)
            grid.SetCells(c, r, "");
}

int NaturalWidth(const THyperGrid& grid) {
    int width = grid.ColCount();
    for (int c = 0; c < grid.ColCount(); ++c)
        width += grid.ColWidths(c);
    return width;
}

int NaturalHeight(const THyperGrid& grid) {
    int height = grid.RowCount();
    for (int r = 0; r < grid.RowCount(); ++r)
        height += grid.RowHeights(r);
    return height;
}

void FitColumnToTexts(THyperGrid& grid, int col, bool fixed, const std::vector<std::string>& texts) {
    // The cell margins on both sides and a pixel of air.
    constexpr int Room = 2 * 2 + 2;
    const ThgColumn* column = grid.ColumnFromGridIndex(col);
    TCanvas canvas;
    if (fixed)
        canvas.SetFont(column->TitleParentFont() ? grid.Font() : column->TitleFont());
    else
        canvas.SetFont(column->ColumnParentFont() ? grid.Font() : column->ColumnFont());
    int width = grid.ColWidths(col);
    for (const std::string& text : texts)
        width = std::max(width, canvas.TextWidth(text) + Room);
    grid.SetColWidths(col, width);
}

void SetThickLine(ThgBorder& border) {
    border.SetStyle(hgbrdSolid);
    border.SetWidth(2);
    border.SetColor(clBlack);
}

// ---------------------------------------------------------------- TTableForm

TTableForm::TTableForm(const char* objectName, const char* caption, const TRect& mdiClientRect, QWidget* parent)
    : QWidget(parent), MdiClientRect(mdiClientRect) {
    setObjectName(objectName);
    setWindowTitle(QString::fromUtf8(caption));
    setAutoFillBackground(true);
    Tabulka = new THyperGrid(this);
    Tabulka->setObjectName("Tabulka");
    Tabulka->move(TableLeft, TableTop);
    Tabulka->OnChangeCellAttributes = [this](THyperGrid*, int col, int row, ThgHeading*, ThgCellStates state,
                                             TColor& color, TFont& font, TAlignment&, ThgVAlignment&, TBevelCut&,
                                             TBevelCut&) {
        if (!state.Contains(hgcsHeading))
            TabulkaChangeCellAttributes(col, row, state, color, font);
    };
    Tabulka->OnChangeCellBorders = [this](THyperGrid*, int, int row, ThgHeading*, ThgCellStates state, ThgBorder& top,
                                          ThgBorder&, ThgBorder&, ThgBorder&) {
        if (!state.Contains(hgcsHeading))
            TabulkaChangeCellBorders(row, top);
    };
    Tabulka->OnFixedCellClick = [this](THyperGrid*, int col, int row, int, TMouseButton, TShiftState, int, int) {
        TabulkaFixedCellClick(col, row);
    };
    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, TableTop, PanelWidth, 0);
}

TTableForm::~TTableForm() = default;

bool TTableForm::OwnMeasurement() const { return Channel.Id == RegulatorMeasurementId; }

QImage TTableForm::Picture() {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    render(&image);
    return image;
}

bool TTableForm::WideLayout() { return LayoutWidth() == 1024; }

QPushButton* TTableForm::AddButton(const char* name, const char* caption, std::function<void()> action) {
    auto* button = new QPushButton(QString::fromUtf8(caption), Panel1);
    button->setObjectName(name);
    button->setGeometry((PanelWidth - ButtonWidth) / 2, nextButtonTop_, ButtonWidth, ButtonHeight);
    nextButtonTop_ += ButtonHeight + ButtonGap;
    if (action)
        QObject::connect(button, &QPushButton::clicked, button, [action = std::move(action)] { action(); });
    else
        button->setEnabled(false);
    Panel1->resize(PanelWidth, nextButtonTop_ + ButtonGap);
    return button;
}

void TTableForm::AddBevel() {
    auto* bevel = new QFrame(Panel1);
    bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    bevel->setGeometry(4, nextButtonTop_, PanelWidth - 8, 2);
    nextButtonTop_ += 2 + ButtonGap;
    Panel1->resize(PanelWidth, nextButtonTop_ + ButtonGap);
}

void TTableForm::TakeQuantity() {
    if (MojeDB != nullptr)
        MojeDB->Find(Channel.UnitCode, Quantity);
    else
        Quantity = TDBPolozka{0, 0, "kWh", "kW"};
    EnergyUnitText = "[" + Quantity.EnergyUnit + "]";
    PowerUnitText = "[" + Quantity.PowerUnit + "]";
}

void TTableForm::PlacePanel() {
    AvailableWidth = MdiClientRect.Right - Panel1->width() - TableLeft - 2 * Margin;
    Panel1->move(TableLeft + AvailableWidth + Margin, Panel1->y());
}

void TTableForm::FitTable() {
    THyperGrid& grid = *Tabulka;
    int width = NaturalWidth(grid);
    int height = NaturalHeight(grid);
    if (width > AvailableWidth)
        height += GetScrollBarWidth();
    if (height > AvailableHeight)
        width += GetScrollBarWidth();
    bool vertical = false;
    bool horizontal = false;
    if (height > AvailableHeight) {
        height = AvailableHeight;
        vertical = true;
    }
    if (width > AvailableWidth) {
        width = AvailableWidth;
        horizontal = true;
    }
    grid.SetScrollBars(vertical && horizontal ? ssBoth : vertical ? ssVertical : horizontal ? ssHorizontal : ssNone);
    grid.setGeometry(CentredLeft(width), grid.y(), width, height);
}

void TTableForm::SelectRow(int col, int row, int rows) {
    if (col != 0 || row < 1 || row > rows)
        return;
    SelectedRow = row;
    Tabulka->InvalidateGrid();
}

bool TTableForm::LabelColour(int col, int row, TColor& color) const {
    if (col != 0)
        return false;
    color = row == SelectedRow ? SelectedLabelColor : clBtnFace;
    return true;
}

void TTableForm::PostRequest(uint32_t msg, TDateTime date, int channelId) {
    PostToWindow(MainWindowClass, msg, static_cast<uintptr_t>(DateOf(date)), channelId);
}

} // namespace zeko
