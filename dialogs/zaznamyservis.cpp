#include "dialogs/zaznamyservis.h"

#include "core/Calendar.h"
#include "core/ProgramGlobals.h"
#include "core/QuarterHours.h"
#include "core/RecordStore.h"
#include "core/TextHelpers.h"
#include "dialogs/info.h"
#include "grids/HgGrid.h"
#include "platform/FormatPatterns.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "platform/UserDialogs.h"
#include "platform/qt/MdiChild.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RadioGroup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace zeko {

namespace {

constexpr const char* Separator = "  ";
constexpr size_t TimeTextLength = 8;  // "hh:mm:ss"
constexpr size_t ShownInputs = 3;
constexpr const char* CountLabels[ShownInputs] = {"Cinny :Imp-", "Jalovy:Imp-", "JalDod:Imp-"};
constexpr const char* ConstantLabels[ShownInputs] = {"KonstCinna :", "KonstJalova:", "KonstJalDod:"};
// Room beside the widest line in its column.
constexpr int LineMargin = 15;
constexpr int FixedFontHeight = 12;
// Where the controls lie; the main window gives the grid its size and the two
// controls below it their tops.
constexpr int GridLeft = 15;
constexpr int GridTop = 5;
constexpr int SortWidth = 220;
constexpr int SortHeight = 50;
constexpr int OpenWidth = 120;
constexpr int OpenHeight = 25;

std::string ZeroPadded(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.5u", value);
    return text;
}

std::string TimeText(const TRegulatorRecord& r, TDateTime& time) {
    time = 0;
    if (r.Second > 59 || r.Minute > 59 || r.Hour > 23 || !TryEncodeTime(r.Hour, r.Minute, r.Second, 0, time))
        return "Neplatný čas";
    std::string text = TimeToStr(time);
    if (text.size() < TimeTextLength)
        text = "0" + text;
    return text;
}

std::string DateText(const TRegulatorRecord& r, TDateTime& day) {
    day = 0;
    if (r.Day < 1 || r.Day > 31 || r.Month < 1 || r.Month > 12 || r.Year > 99)
        return "Neplatné datum";
    // A day the month does not have is shown as it stands and adds nothing.
    if (!TryEncodeDate(ExpandYear(r.Year), r.Month, r.Day, day))
        day = 0;
    return DateToText(r.Day, r.Month, r.Year);
}

// The progress box of the loading, when the program has one.
void StartProgress() {
    if (InfoForm != nullptr)
        InfoForm->Start(TZaznamyServisForm::LoadingText, 1, true);
}

void SetProgressSteps(int steps) {
    if (InfoForm != nullptr)
        InfoForm->ProgressBar->setMaximum(std::max(1, steps));
}

// One record read: the bar moves and the event loop runs, so "Přerušit" can be clicked.
bool StepProgressAndAborted() {
    if (InfoForm == nullptr) {
        QApplication::processEvents();
        return false;
    }
    InfoForm->StepIt();
    return InfoForm->Aborted();
}

// One line shown: the bar moves; the event loop does not run.
void AdvanceProgress() {
    if (InfoForm != nullptr && InfoForm->ProgressBar->value() < InfoForm->ProgressBar->maximum())
        InfoForm->ProgressBar->setValue(InfoForm->ProgressBar->value() + 1);
}

void FinishProgress() {
    if (InfoForm != nullptr)
        InfoForm->Finish();
}

} // namespace

std::string RecordToText(const TRegulatorRecord& record, TDateTime& date) {
    TDateTime time, day;
    std::string line = ZeroPadded(record.Index);
    line += Separator + DateText(record, day);
    line += Separator + TimeText(record, time);
    date = time + day;
    line += Separator + SecondsToText(record.Status, false, true, true);
    for (size_t k = 0; k < ShownInputs; ++k) {
        const double constant = record.Constants[k];
        line += Separator + std::string(CountLabels[k]) + ZeroPadded(record.Counts[k]);
        line += Separator + std::string(ConstantLabels[k]) + FormatFloat("000.00000", constant);
        line += Separator + FormatFloat("00000.00", QuarterHourPower(record.Counts[k], constant)) + "kWh";
    }
    return line;
}

TZaznamyServisForm::TZaznamyServisForm(QWidget* parent) : QWidget(parent) {
    setObjectName("ZaznamyServisForm");
    // The form's design name is no caption for the user.
    setWindowTitle(U("Záznamy ze souboru"));
    setAutoFillBackground(true);

    HyperGrid1 = new THyperGrid(this);
    HyperGrid1->setObjectName("HyperGrid1");
    HyperGrid1->move(GridLeft, GridTop);
    HyperGrid1->SetColCount(1);
    HyperGrid1->SetFixedRows(0);
    HyperGrid1->SetFixedCols(0);
    HyperGrid1->SetGridLineWidth(0);
    HyperGrid1->SetDefaultRowHeight(20);
    HyperGrid1->SetOptions({goRowSelect});
    HyperGrid1->SetHyperOptions({hgoptDrawFocusRectangle, hgoptHighlightSelection});
    TFont font;
    font.SetName("Fixedsys");
    font.SetHeight(-FixedFontHeight);
    font.SetPitch(fpFixed);
    HyperGrid1->Font().Assign(font);
    HyperGrid1->Columns().Items(0)->SetColumnClipStyle(hgclpClip);
    HyperGrid1->Columns().Items(0)->SetColumnVAlignment(hgvaCenter);

    Rgp_Razeni = new TRadioGroup("Rgp_Razeni", U("Řazení:"), {U("Dle souboru"), U("Dle data")}, 2, this);
    Rgp_Razeni->setGeometry(GridLeft, 0, SortWidth, SortHeight);
    Rgp_Razeni->SetItemIndex(0);
    Rgp_Razeni->OnClick = [this](TRadioGroup*) { Rgp_RazeniClick(); };
    Otevri = new QPushButton(U("&Otevři soubor"), this);
    Otevri->setObjectName("Otevri");
    Otevri->setGeometry(GridLeft + SortWidth + 15, 0, OpenWidth, OpenHeight);
    connect(Otevri, &QPushButton::clicked, this, [this] { OtevriClick(); });

    // FormCreate
    ServiceViewerOpen = true;
    lastFolder_ = ProgramDir();
    HyperGrid1->SetRowCount(1);
}

TZaznamyServisForm::~TZaznamyServisForm() { ServiceViewerOpen = false; }

void TZaznamyServisForm::closeEvent(QCloseEvent* event) {
    if (loading_) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TZaznamyServisForm::showEvent(QShowEvent* event) {
    if (QMdiSubWindow* child = MdiChildOf(this))
        child->installEventFilter(this);
    QWidget::showEvent(event);
}

bool TZaznamyServisForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && loading_) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TZaznamyServisForm::OtevriClick() {
    if (loading_)
        return;
    TFileDialogRequest request;
    request.Filter = FileFilter;
    request.InitialDir = lastFolder_;
    std::string chosen;
    if (!CurrentDialogs().OpenFileDialog(request, chosen))
        return;
    fileName_ = chosen;
    lastFolder_ = std::filesystem::path(chosen).parent_path().string();
    loading_ = true;
    Otevri->setEnabled(false);
    Rgp_Razeni->setEnabled(false);
    std::string failure;
    StartProgress();
    try {
        LoadFile();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    Rgp_Razeni->SetItemIndex(0);
    FillGrid();
    HyperGrid1->repaint();
    FinishProgress();
    Otevri->setEnabled(true);
    Rgp_Razeni->setEnabled(true);
    loading_ = false;
    if (!failure.empty())
        MessageDlg(failure, TMsgDlgType::mtError);
}

void TZaznamyServisForm::LoadFile() {
    ClearLines();
    TRecordList records;
    ReadRecordFile(records, fileName_);
    SetProgressSteps(2 * static_cast<int>(records.size()));
    lines_.reserve(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        TRadek line;
        line.Index = static_cast<int>(i);
        line.Text = RecordToText(records[i], line.Date);
        line.Raw = records[i];
        lines_.push_back(std::move(line));
        if (StepProgressAndAborted())
            break;
    }
}

void TZaznamyServisForm::FillGrid() {
    TCanvas canvas;
    canvas.SetFont(HyperGrid1->Font());
    int widest = 0;
    HyperGrid1->SetRowCount(std::max<int>(1, static_cast<int>(lines_.size())));
    for (size_t row = 0; row < lines_.size(); ++row) {
        HyperGrid1->SetCells(0, static_cast<int>(row), lines_[row].Text);
        widest = std::max(widest, canvas.TextWidth(lines_[row].Text));
        AdvanceProgress();
    }
    // No line leaves the one row the grid keeps empty.
    if (lines_.empty())
        HyperGrid1->SetCells(0, 0, "");
    HyperGrid1->SetColWidths(0, lines_.empty() ? 0 : widest + LineMargin);
}

void TZaznamyServisForm::Rgp_RazeniClick() {
    if (lines_.empty())
        return;
    if (Rgp_Razeni->ItemIndex() == 1)
        std::stable_sort(lines_.begin(), lines_.end(), [](const TRadek& a, const TRadek& b) { return a.Date < b.Date; });
    else
        std::stable_sort(lines_.begin(), lines_.end(),
                         [](const TRadek& a, const TRadek& b) { return a.Index < b.Index; });
    FillGrid();
    HyperGrid1->repaint();
}

} // namespace zeko
