#include "graph/kalendar.h"

#include "controls/ToolEdit.h"
#include "controls/ZcSpin.h"
#include "core/FileIO.h"
#include "core/RecordStore.h"
#include "graph/MujKalendar.h"
#include "grids/Aligrid.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "platform/qt/QtText.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <optional>

namespace zeko {

TKalendarForm* KalendarForm = nullptr;

namespace {

constexpr const char* RecordDeviceType = "ZEKO";
constexpr const char* MonthFileExtension = ".zek";
constexpr int MonthCells = 12;
constexpr int MiddleYearCell = TKalendarForm::YearCells / 2;
constexpr int MonthCellWidth = 25;
constexpr int YearCellWidth = 44;
constexpr int RowGridHeight = 18;
constexpr int MonthsInYearCount = 12;

// The whole number a text holds, or nothing.
std::optional<int> NumberIn(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

// A one-row grid of fixed-width cells that shows centred texts and nothing of a
// selection or an editor.
TStringAlignGrid* CreateRowGrid(QWidget* parent, const char* name, int cells, int cellWidth) {
    auto* grid = new TStringAlignGrid(parent);
    grid->setObjectName(name);
    grid->SetRowCount(1);
    grid->SetColCount(cells);
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->SetDefaultColWidth(cellWidth);
    grid->SetDefaultRowHeight(RowGridHeight);
    grid->SetScrollBars(ssNone);
    grid->SetAlignment(alCenter);
    grid->SetEditable(false);
    grid->SetDrawSelection(false);
    const int frame = grid->width() - grid->ClientWidth();
    grid->resize(cells * (cellWidth + grid->GridLineWidth()) + frame,
                 RowGridHeight + grid->GridLineWidth() + frame);
    return grid;
}

// A cell back to black, normal text on white.
void ClearMark(TStringAlignGrid& grid, int col) {
    TFont& font = grid.GetFontCell(col, 0);
    font.SetColor(clBlack);
    font.SetStyle({});
    grid.SetColorCell(col, 0, clWhite);
}

void Mark(TStringAlignGrid& grid, int col) {
    TFont& font = grid.GetFontCell(col, 0);
    font.SetColor(clRed);
    font.SetStyle(TFontStyles() + fsBold);
}

// The cell of the shown year or month: on the caption colour, white unless it is
// marked.
void Highlight(TStringAlignGrid& grid, int col) {
    grid.SetColorCell(col, 0, clActiveCaption);
    TFont& font = grid.GetFontCell(col, 0);
    if (font.Color() == clBlack)
        font.SetColor(clWhite);
}

QFrame* CreateBevel(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* bevel = new QFrame(parent);
    bevel->setObjectName(name);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(left, top, width, height);
    return bevel;
}

QLabel* CreateLabel(QWidget* parent, const char* name, const char* caption, int left, int top, int width) {
    auto* label = new QLabel(U(caption), parent);
    label->setObjectName(name);
    label->setGeometry(left, top, width, 16);
    return label;
}

} // namespace

std::string YearFolder(int Year, const TVstupyInfo& Channel) {
    if (Channel.DeviceType != RecordDeviceType)
        return {};
    return ResolvePathNoCase(JoinPath(ProgramDir(), YearFolderName(Year)));
}

std::string MonthFileOf(const std::string& yearFolder, int Month) {
    // The program's readers name the file in lower case; any case is found.
    char name[24];
    std::snprintf(name, sizeof name, "mesic%.2d%s", Month, MonthFileExtension);
    return ResolvePathNoCase(JoinPath(yearFolder, name));
}

TKalendarForm::TKalendarForm(QWidget* parent) : TDialogForm(parent) {
    setObjectName("KalendarForm");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(ClientWidth, ClientHeight);
    setWindowTitle(U("Výběr data"));
    CreateControls();
}

TKalendarForm::~TKalendarForm() = default;

void TKalendarForm::CreateControls() {
    constexpr int right = 334, rightWidth = ClientWidth - right - 8;
    Label1 = CreateLabel(this, "Label1", "Výběr dne:", 8, 6, 200);

    Kalendar = new TMujKalendar(this);
    Kalendar->setObjectName("Kalendar");
    Kalendar->setGeometry(8, 24, 318, 115);
    Kalendar->SetGridLineWidth(2);
    Kalendar->SetStartOfWeek(1);
    Kalendar->OnChange = [this](TMujKalendar*) { KalendarChange(); };
    Kalendar->OnDblClick = [this](TCustomGrid*) { KalendarDblClick(); };

    MesiceGrid = CreateRowGrid(this, "MesiceGrid", MonthCells, MonthCellWidth);
    MesiceGrid->move(8, 148);
    MesiceGrid->OnDblClick = [this](TCustomGrid*) { MesiceGridDblClick(); };
    RokyGrid = CreateRowGrid(this, "RokyGrid", YearCells, YearCellWidth);
    RokyGrid->move(8, 180);
    RokyGrid->OnDblClick = [this](TCustomGrid*) { RokyGridDblClick(); };

    QFont bold = font();
    bold.setBold(true);
    auto numberLabel = [&](const char* name, int top) {
        QLabel* label = CreateLabel(this, name, "", right + 8, top, 44);
        label->setFont(bold);
        label->setFixedHeight(20);
        return label;
    };
    auto spinButton = [&](const char* name, int top) {
        auto* button = new TZcSpinButton(this);
        button->setObjectName(name);
        button->SetBounds(right + rightWidth - 28, top, 20, 20);
        return button;
    };
    Bevel1 = CreateBevel(this, "Bevel1", right, 24, rightWidth, 52);
    Label2 = CreateLabel(this, "Label2", "Měsíc:", right + 8, 28, rightWidth - 16);
    LMesic = numberLabel("LMesic", 48);
    SpinButton1 = spinButton("SpinButton1", 48);
    SpinButton1->OnTopClick = [this](TZcSpinButton*) { SpinButton1TopClick(); };
    SpinButton1->OnBottomClick = [this](TZcSpinButton*) { SpinButton1BottomClick(); };
    Bevel2 = CreateBevel(this, "Bevel2", right, 84, rightWidth, 52);
    Label3 = CreateLabel(this, "Label3", "Rok:", right + 8, 88, rightWidth - 16);
    LRok = numberLabel("LRok", 108);
    SpinButton2 = spinButton("SpinButton2", 108);
    SpinButton2->OnTopClick = [this](TZcSpinButton*) { SpinButton2TopClick(); };
    SpinButton2->OnBottomClick = [this](TZcSpinButton*) { SpinButton2BottomClick(); };

    SpinEditBevel = CreateBevel(this, "SpinEditBevel", right, 144, rightWidth, 58);
    SpinEditLabel = CreateLabel(this, "SpinEditLabel", "Dnů. v tab.", right + 8, 148, rightWidth - 16);
    SpinEdit = new TZcSpinEdit(this);
    SpinEdit->setObjectName("SpinEdit");
    SpinEdit->setGeometry(right + 8, 170, rightWidth - 16, 22);
    SpinEdit->SetAlignment(taCenter);
    SpinEdit->SetEditorEnabled(false);
    // The count changes by its button alone; Enter and Esc still reach the
    // dialog's buttons.
    SpinEdit->OnKeyDown = [](TCustomEdit*, uint16_t& key, TShiftState) {
        if (key != VK_RETURN && key != VK_ESCAPE)
            key = 0;
    };
    SpinEdit->OnKeyPress = [](TCustomEdit*, char32_t& key) {
        if (key != CH_RETURN && key != CH_ESCAPE)
            key = 0;
    };
    SpinEdit->OnTopClick = [this](TZcSpinEdit*) { SpinEditTopClick(); };
    SpinEdit->OnBottomClick = [this](TZcSpinEdit*) { SpinEditBottomClick(); };

    Lbl_VyberDT = CreateLabel(this, "Lbl_VyberDT", "Do data:", 8, 240, 60);
    VyberDT = new TDateEdit(this);
    VyberDT->setObjectName("VyberDT");
    VyberDT->SetNumGlyphs(2);
    VyberDT->setGeometry(70, 237, 110, 22);
    VyberDT->OnChange = [this](TCustomEdit*) { VyberDTChange(); };
    VyberDT->OnExit = [this](TCustomEdit*) { VyberDTExit(); };
    // A day picked in the drop-down beyond the count's limits becomes the nearest
    // day within them.
    VyberDT->OnAcceptDate = [this](TCustomDateEdit*, TDateTime& date, bool&) {
        if (date != NullDate)
            date = std::clamp(date, CalendarDate() + MinSpinCount, CalendarDate() + SpinUpperLimit());
    };

    BitBtn1 = new QPushButton(U("&Potvrď"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(232, 234, 90, 28);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(U("&Zruš"), this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(right, 234, rightWidth, 28);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { SetModalResult(ModalResults::Ok); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { SetModalResult(ModalResults::Cancel); });

    Label4 = CreateLabel(this, "Label4", "Externí záznamy!", 8, 206, 120);
    Label5 = CreateLabel(this, "Label5", "Cesta:", 8, 222, 50);
    Label6 = CreateLabel(this, "Label6", "", 60, 222, 260);
    Label7 = CreateLabel(this, "Label7", "Odběrné místo:", 140, 206, 100);
    Label8 = CreateLabel(this, "Label8", "", 240, 206, 90);
    for (QLabel* label : {Label4, Label5, Label6, Label7, Label8})
        label->hide();
    ShowSpinEdit(false);
}

TDateTime TKalendarForm::CalendarDate() const { return Kalendar->CalendarDate(); }

int TKalendarForm::SpinUpperLimit() const { return std::max<int>(SpinLimit, MinSpinCount); }

int TKalendarForm::SpinCount() const {
    return std::clamp(NumberIn(SpinEdit->Text()).value_or(MinSpinCount), MinSpinCount, SpinUpperLimit());
}

void TKalendarForm::SetSpinCount(int count) {
    SpinEdit->SetText(std::to_string(std::clamp(count, MinSpinCount, SpinUpperLimit())));
}

void TKalendarForm::ShowEndDate() {
    if (MonthsMode == 0)
        VyberDT->SetDate(CalendarDate() + SpinCount());
}

void TKalendarForm::ShowSpinEdit(bool Show) {
    SpinEdit->setVisible(Show);
    SpinEditLabel->setVisible(Show);
    SpinEditBevel->setVisible(Show);
    Lbl_VyberDT->setVisible(Show && MonthsMode == 0);
    VyberDT->setVisible(Show && MonthsMode == 0);
}

void TKalendarForm::SetDateRange() {
    VyberDT->MinDate = CalendarDate() + MinSpinCount;
    VyberDT->MaxDate = CalendarDate() + SpinLimit;
}

void TKalendarForm::ShowMonthAndYear() {
    LMesic->setText(QString::number(Kalendar->Month()));
    LRok->setText(QString::number(Kalendar->Year()));
}

void TKalendarForm::FormShow() {
    for (QLabel* label : {Label4, Label5, Label6, Label7, Label8})
        label->hide();
    SpinEditLabel->setText(U(MonthsMode == 1 ? "Měs.v tab." : "Dnů. v tab."));
}

void TKalendarForm::FormActivate() {
    ShowMonthAndYear();
    VyberDT->SetDate(CalendarDate());
    SetDateRange();
    RefreshMarks();
}

void TKalendarForm::FormClose() { MonthsMode = 0; }

void TKalendarForm::FormHide() { ShowSpinEdit(false); }

void TKalendarForm::RefreshMarks() {
    const int year = Kalendar->Year(), month = Kalendar->Month();
    for (int k = 0; k < YearCells; ++k) {
        RokyGrid->SetCells(k, 0, std::to_string(year - MiddleYearCell + k));
        ClearMark(*RokyGrid, k);
    }
    for (int m = 1; m <= MonthCells; ++m) {
        MesiceGrid->SetCells(m - 1, 0, std::to_string(m));
        ClearMark(*MesiceGrid, m - 1);
    }
    TMujKalendar::TMarkedDays days;
    for (const std::string& text : InputList) {
        const std::optional<int> id = NumberIn(text);
        TVstupyInfo channel;
        if (!id || Devices == nullptr || !Devices->FindById(*id, channel))
            continue;
        const std::string folder = YearFolder(year, channel);
        if (folder.empty())
            continue;
        for (int k = 0; k < YearCells; ++k)
            if (DirectoryExists(YearFolder(year - MiddleYearCell + k, channel)))
                Mark(*RokyGrid, k);
        for (int m = 1; m <= MonthCells; ++m)
            if (FileExists(MonthFileOf(folder, m)))
                Mark(*MesiceGrid, m - 1);
        days.reset();
        const std::string file = MonthFileOf(folder, month);
        if (!FileExists(file))
            continue;
        try {
            days = ScanRecordDays(file);
        } catch (const std::exception& e) {
            // A month file that cannot be read marks no day; the user learns why.
            MessageDlg(e.what(), TMsgDlgType::mtError);
        }
    }
    Kalendar->SetMarkedDays(days);
    Highlight(*RokyGrid, MiddleYearCell);
    Highlight(*MesiceGrid, month - 1);
    SetSpinCount(MonthsMode == 1 ? MonthsInYearCount : Kalendar->DnuVMesici());
    if (!VyberDT->isHidden()) {
        SetDateRange();
        ShowEndDate();
    }
}

void TKalendarForm::KalendarChange() {
    if (VyberDT->isHidden())
        return;
    SetDateRange();
    ShowEndDate();
}

void TKalendarForm::KalendarDblClick() { SetModalResult(ModalResults::Ok); }

void TKalendarForm::MoveToMonth(int year, int month) {
    if (year < 1 || year > MaxYear)
        return;
    Kalendar->SetDay(1);
    Kalendar->SetMonth(month);
    Kalendar->SetYear(year);
    ShowMonthAndYear();
    RefreshMarks();
}

void TKalendarForm::SpinButton1TopClick() {
    const int month = Kalendar->Month();
    MoveToMonth(Kalendar->Year() + (month == 12 ? 1 : 0), month == 12 ? 1 : month + 1);
}

void TKalendarForm::SpinButton1BottomClick() {
    const int month = Kalendar->Month();
    MoveToMonth(Kalendar->Year() - (month == 1 ? 1 : 0), month == 1 ? 12 : month - 1);
}

void TKalendarForm::SpinButton2TopClick() { MoveToMonth(Kalendar->Year() + 1, Kalendar->Month()); }

void TKalendarForm::SpinButton2BottomClick() { MoveToMonth(Kalendar->Year() - 1, Kalendar->Month()); }

void TKalendarForm::MesiceGridDblClick() { MoveToMonth(Kalendar->Year(), MesiceGrid->Col() + 1); }

void TKalendarForm::RokyGridDblClick() {
    if (const std::optional<int> year = NumberIn(RokyGrid->Cells(RokyGrid->Col(), 0)))
        MoveToMonth(*year, Kalendar->Month());
}

// The spin edit has stepped already; a step past a limit is taken back.
void TKalendarForm::SpinEditTopClick() {
    SetSpinCount(SpinCount());
    ShowEndDate();
}

void TKalendarForm::SpinEditBottomClick() {
    SetSpinCount(SpinCount());
    ShowEndDate();
}

// A text that is no date yet (typing is under way) leaves the count alone; an end
// date too early or too late gives the nearest count the table can take.
void TKalendarForm::VyberDTChange() {
    if (VyberDT->isHidden() || MonthsMode != 0)
        return;
    const TDateTime end = VyberDT->Date();
    if (end == NullDate)
        return;
    const double days = DateOf(end) - DateOf(CalendarDate());
    SetSpinCount(static_cast<int>(std::clamp<double>(days, MinSpinCount, SpinUpperLimit())));
}

// Once the user leaves the end date it shows the date the count stands for.
void TKalendarForm::VyberDTExit() {
    if (VyberDT->isHidden() || MonthsMode != 0)
        return;
    if (DateOf(VyberDT->Date()) != DateOf(CalendarDate()) + SpinCount())
        ShowEndDate();
}

void TKalendarForm::done(int result) {
    FormClose();
    TDialogForm::done(result);
}

void TKalendarForm::showEvent(QShowEvent* event) {
    TDialogForm::showEvent(event);
    if (event->spontaneous())
        return;
    FormShow();
    FormActivate();
}

void TKalendarForm::hideEvent(QHideEvent* event) {
    TDialogForm::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TKalendarForm::keyPressEvent(QKeyEvent* event) {
    // Closed by its buttons or Esc alone.
    if (IsAltF4(event)) {
        event->accept();
        return;
    }
    TDialogForm::keyPressEvent(event);
}

void TKalendarForm::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    TDialogForm::closeEvent(event);
}

} // namespace zeko
