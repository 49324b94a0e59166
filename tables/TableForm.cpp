#include "tables/TableForm.h"

#include <QFrame>
#include <QPushButton>

#include <algorithm>
#include <sstream>

#include "core/ProgramGlobals.h"
#include "core/WindowHelpers.h"
#include "core/ZekoMessages.h"
#include "tables/Excels.h"

namespace zeko {

namespace {

constexpr int ButtonWidth = 84;
constexpr int ButtonHeight = 25;
constexpr int ButtonGap = 4;
// What a cell keeps beside its text: the margins on both sides and a pixel of frame
// each.
constexpr int CellTextRoom = 2 * 2 + 2;
// The title row of every table in the 1024 layout.
constexpr int WideTitleHeight = 57;

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
    // A hidden column keeps its texts aside and brings them back when it is shown
    // again, into rows the next fill may not write.
    for (int i = 0; i < grid.Columns().Count(); ++i) {
        ThgColumn* column = grid.Columns().Items(i);
        if (column->Visible())
            continue;
        std::vector<std::string>& cells = column->HiddenCells();
        for (size_t r = 1; r < cells.size(); ++r)
            cells[r].clear();
    }
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

void FitCaptions(THyperGrid& grid) {
    for (int c = 0; c < grid.ColCount(); ++c) {
        const ThgColumn* column = grid.ColumnFromGridIndex(c);
        TCanvas canvas;
        canvas.SetFont(column->TitleParentFont() ? grid.Font() : column->TitleFont());
        const std::string& caption = column->Caption();
        // Below a heading the title has the lower half of the row; the frame takes a
        // pixel on each side.
        const int title = grid.RowHeights(0);
        const int room = title - (column->HeadingIndex() >= 0 ? title / 2 - 1 : 0) - 2;
        auto height = [&](int width) {
            TRect r{0, 0, width - CellTextRoom, 0};
            return canvas.DrawText(caption, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        };
        TRect line{0, 0, 0, 0};
        canvas.DrawText(caption, line, DT_CALCRECT | DT_NOPREFIX);
        int width = grid.ColWidths(c);
        std::istringstream words(caption);
        for (std::string word; words >> word;)
            width = std::max(width, canvas.TextWidth(word) + CellTextRoom);
        while (height(width) > room && width < line.Right + CellTextRoom)
            ++width;
        grid.SetColWidths(c, width);
    }
}

void FitColumnToTexts(THyperGrid& grid, int col, bool fixed, const std::vector<std::string>& texts) {
    const ThgColumn* column = grid.ColumnFromGridIndex(col);
    TCanvas canvas;
    if (fixed)
        canvas.SetFont(column->TitleParentFont() ? grid.Font() : column->TitleFont());
    else
        canvas.SetFont(column->ColumnParentFont() ? grid.Font() : column->ColumnFont());
    int width = grid.ColWidths(col);
    for (const std::string& text : texts)
        width = std::max(width, canvas.TextWidth(text) + CellTextRoom);
    grid.SetColWidths(col, width);
}

ThgHeading* AddMainHeading(THyperGrid& grid, const std::string& caption, int last) {
    ThgHeading* heading = AddTableHeading(grid, caption, 0, last, TableFont("Arial", 12, true));
    heading->SetTitleColor(clMenu);
    heading->SetTitleInnerBevel(bvRaised);
    return heading;
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
    Excel = std::make_unique<TExcel>();
}

TTableForm::~TTableForm() = default;

void TTableForm::TakeFields(const TTableFields& fields) {
    Channel = fields.Channel;
    DayStartHour = fields.DayStartHour;
    Tariffs = fields.Tariffs;
    Shifts = fields.Shifts;
}

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

void TTableForm::AddDateButtons(bool previousFirst) {
    Btn_VyberData = AddButton("Btn_VyberData", "&Výběr data", [this] { Btn_VyberDataClick(); });
    if (previousFirst)
        Btn_Predchozi = AddButton("Btn_Predchozi", "&Předchozí", [this] { Btn_PredchoziClick(); });
    Btn_Dnesni = AddButton("Btn_Dnesni", "&Dnešní", [this] { Btn_DnesniClick(); });
    if (!previousFirst)
        Btn_Predchozi = AddButton("Btn_Predchozi", "&Předchozí", [this] { Btn_PredchoziClick(); });
    Btn_Dalsi = AddButton("Btn_Dalsi", "D&alší", [this] { Btn_DalsiClick(); });
    AddBevel();
}

void TTableForm::AddOutputButtons(bool printFirst) {
    auto print = [this] { Btn_Tisk = AddButton("Btn_Tisk", "&Tisk", [this] { Btn_TiskClick(); }); };
    if (printFirst)
        print();
    Btn_ExportTXT = AddButton("Btn_ExportTXT", "T&XT", [this] { Btn_ExportTXTClick(); });
    Btn_ExportXLS = AddButton("Btn_ExportXLS", "XL&S", [this] { Btn_ExportXLSClick(); });
    if (!printFirst)
        print();
    AddBevel();
}

void TTableForm::AddAnalysisButtons(bool withGraph) {
    Btn_Cetnost = AddButton("Btn_Cetnost", "Če&tnost");
    Btn_Maxima = AddButton("Btn_Maxima", "&Maxima");
    Btn_Minima = AddButton("Btn_Minima", "M&inima");
    if (withGraph)
        Btn_Graf = AddButton("Btn_Graf", "Gra&f");
    AddBevel();
}

bool TTableForm::ApplyLayout(THyperGrid& grid, int narrowHour, int narrowSummary, int wideHour, int wideSummary) {
    const bool wide = WideLayout();
    if (wide) {
        SetColumnFonts(grid, WideLayoutFont(), WideLayoutFont());
        grid.SetRowHeights(0, WideTitleHeight);
    }
    HourRowHeight = wide ? wideHour : narrowHour;
    SummaryRowHeight = wide ? wideSummary : narrowSummary;
    return wide;
}

void TTableForm::TakeQuantity() {
    QuantityTable().Find(Channel.UnitCode, Quantity);
    EnergyUnitText = "[" + Quantity.EnergyUnit + "]";
    PowerUnitText = "[" + Quantity.PowerUnit + "]";
}

void TTableForm::PlacePanel() {
    AvailableWidth = MdiClientRect.Right - Panel1->width() - TableLeft - 2 * Margin;
    Panel1->move(TableLeft + AvailableWidth + Margin, Panel1->y());
}

void TTableForm::FitTable() {
    THyperGrid& grid = *Tabulka;
    FitCaptions(grid);
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

void TTableForm::PostRequest(uint32_t msg, TDateTime date, int channelId) {
    PostToWindow(MainWindowClass, msg, static_cast<uintptr_t>(DateOf(date)), channelId);
}

} // namespace zeko
