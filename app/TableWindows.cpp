#include "app/TableWindows.h"

#include "app/TestHook.h"
#include "app/TableChoice.h"
#include "app/evaluation/DayResult.h"
#include "app/evaluation/PeriodResult.h"
#include "core/Calendar.h"
#include "core/ProgramGlobals.h"
#include "core/ZekoMessages.h"
#include "dialogs/info.h"
#include "graph/archiv.h"
#include "platform/FormatPatterns.h"
#include "platform/qt/MdiChild.h"
#include "tables/MesicniTabulka.h"
#include "tables/RocniTabulka.h"
#include "tables/dennitabulka.h"

#include <QApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace zeko {

namespace {

// A date as the whole day number a request carries.
uintptr_t DayNumber(TDateTime date) { return static_cast<uintptr_t>(DateOf(date)); }

} // namespace

TTableWindows::TTableWindows(QWidget* mainForm, QMdiArea* area) : mainForm_(mainForm), area_(area) {}

TTableWindows::~TTableWindows() = default;

TDenniTabulkaForm* TTableWindows::DayForm() const { return dayForm_; }
TMesicniTabulkaForm* TTableWindows::MonthForm() const { return monthForm_; }
TRocniTabulkaForm* TTableWindows::YearForm() const { return yearForm_; }
TArchivForm* TTableWindows::ArchiveForm() const { return archiveForm_; }

TRect TTableWindows::MdiClientRect() const {
    const QRect r = area_->viewport()->rect();
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

template <typename Form>
Form* TTableWindows::Open(QPointer<Form>& form, bool open) {
    if (open && form) {
        if (QMdiSubWindow* child = MdiChildOf(form))
            area_->setActiveSubWindow(child);
        return form;
    }
    form = new Form(MdiClientRect());
    // The archive has a design size; a table is restored to the size of its grids and buttons.
    QSize designSize;
    if constexpr (requires { Form::DesignWidth; })
        designSize = QSize(Form::DesignWidth, Form::DesignHeight);
    AddMdiChild(area_, form, designSize);
    return form;
}

void TTableWindows::OpenDayTable() { Open(dayForm_, DayTableOpen)->repaint(); }
void TTableWindows::OpenMonthTable() { Open(monthForm_, MonthTableOpen); }
void TTableWindows::OpenYearTable() { Open(yearForm_, YearTableOpen); }

void TTableWindows::OpenArchive(bool Today) {
    if (ArchiveOpen && archiveForm_) {
        Open(archiveForm_, true);
        return;
    }
    TArchivForm* form = Open(archiveForm_, false);
    // The points of each day shown and its axis, for the test log only.
    if (TTestAutomation::Instance())
        form->OnDayLoaded = [form] {
            std::string line = "Archiv " + DateToStr(form->Day);
            for (int k = 1; k <= 3; ++k)
                line += " " + std::to_string(form->Graph->Series[k].Count());
            // And the axis maximum over the largest value of the first input.
            TestLog(line + " cos " + std::to_string(form->Graph->CosPhiSeries.Count()) + " ymax " +
                    std::to_string(form->Graph->YMax) + " top " + std::to_string(form->Graph->Maxima[5]));
        };
    form->Setup(Today);
}

bool TTableWindows::HandleMessage(const TMessage& message) {
    switch (message.Msg) {
    case WM_SHOW_DAY_TABLE: WMShowDayTable(message); return true;
    case WM_SHOW_MONTH_TABLE: WMShowMonthTable(message); return true;
    case WM_SHOW_YEAR_TABLE: WMShowYearTable(message); return true;
    case WM_OPEN_DAY_TABLE: WMOpenDayTable(message); return true;
    case WM_OPEN_MONTH_TABLE: WMOpenMonthTable(message); return true;
    case WM_OPEN_YEAR_TABLE: WMOpenYearTable(message); return true;
    default: return false;
    }
}

// A request for a window that has gone in the meantime is lost. Date 0 asks the
// user for the measurement and the date first (app/TableChoice.h); the window
// remembers the measurement chosen.
void TTableWindows::WMShowDayTable(const TMessage& message) {
    if (!DayTableOpen || !dayForm_)
        return;
    if (message.WParam != 0) {
        RunDayTableRequest(*this, message.WParam, message.LParam);
        return;
    }
    if (const auto choice = AskChoice(TTableKind::Day, dayForm_))
        RunDayTableRequest(*this, DayNumber(choice->Date()), choice->Id);
}

void TTableWindows::WMShowMonthTable(const TMessage& message) {
    if (!MonthTableOpen || !monthForm_)
        return;
    if (message.WParam != 0) {
        RunMonthTableRequest(*this, message.WParam, message.LParam,
                             {monthForm_->PartialMonth, monthForm_->PeriodDays});
        return;
    }
    if (const auto choice = AskChoice(TTableKind::Month, monthForm_)) {
        // A count other than the month's length is a period of its own.
        const TMonthWindowPeriod period{static_cast<uint8_t>(choice->Count != DaysInMonthOf(choice->Date()) ? 1 : 0),
                                        static_cast<uint8_t>(choice->Count)};
        RunMonthTableRequest(*this, DayNumber(choice->Date()), choice->Id, period);
    }
}

void TTableWindows::WMShowYearTable(const TMessage& message) {
    if (!YearTableOpen || !yearForm_)
        return;
    if (message.WParam != 0) {
        RunYearTableRequest(*this, message.WParam, message.LParam);
        return;
    }
    if (const auto choice = AskChoice(TTableKind::Year, yearForm_)) {
        YearMonthCount = static_cast<uint8_t>(choice->Count);
        YearCustomPeriod = YearMonthCount != DefaultYearMonthCount ? 1 : 0;
        RunYearTableRequest(*this, DayNumber(choice->Date()), choice->Id);
    }
}

template <typename Form>
std::optional<TTableChoice> TTableWindows::AskChoice(TTableKind kind, QPointer<Form>& form) {
    // A request is being evaluated: its results are not to be overwritten.
    if (TableRequestRunning())
        return std::nullopt;
    uint16_t measurementIndex = form->MeasurementIndex;
    auto choice = AskTableChoice(kind, measurementIndex, mainForm_);
    // The window may have gone while the dialogs were open.
    if (!form)
        return std::nullopt;
    form->MeasurementIndex = measurementIndex;
    return choice;
}

void TTableWindows::WMOpenDayTable(const TMessage& message) {
    OpenDayTable();
    WMShowDayTable(message);
}

void TTableWindows::WMOpenMonthTable(const TMessage& message) {
    OpenMonthTable();
    monthForm_->PartialMonth = 0;
    WMShowMonthTable(message);
}

void TTableWindows::WMOpenYearTable(const TMessage& message) {
    OpenYearTable();
    YearCustomPeriod = 0;
    WMShowYearTable(message);
}

// The main form is not painted while a request has it disabled: disabling it would
// paint every control greyed (the speed buttons at once, one after another) and the
// table windows with what they showed before, only to paint all of it again when it
// is enabled. So a request paints its window once, with its result, and the frame
// looks meanwhile as it did.
void TTableWindows::SetMainFormEnabled(bool enabled) {
    if (!enabled)
        mainForm_->setUpdatesEnabled(false);
    mainForm_->setEnabled(enabled);
    if (!enabled)
        return;
    mainForm_->setUpdatesEnabled(true);
    // What was to be painted while updates were off (the event loop runs during a
    // month or a year) stays marked, and marking it again asks for no paint: the
    // paint is asked for here, as an update would.
    QCoreApplication::postEvent(mainForm_->window(), new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

void TTableWindows::ShowProgress(const std::string& text, int steps) {
    if (InfoForm != nullptr)
        InfoForm->Start(text, steps);
}

void TTableWindows::StepProgress() {
    if (InfoForm != nullptr)
        InfoForm->StepIt();
    else
        QApplication::processEvents();
}

void TTableWindows::CloseProgress() {
    if (InfoForm != nullptr)
        InfoForm->Finish();
}

void TTableWindows::ShowDayTable(const TDayTableFields& fields) {
    if (dayForm_)
        dayForm_->ShowResult(fields, DayResult);
}

void TTableWindows::ShowMonthTable(const TMonthTableFields& fields) {
    if (monthForm_)
        monthForm_->ShowResult(fields, MonthResult, PeriodAccumulators);
}

void TTableWindows::ShowYearTable(const TYearTableFields& fields) {
    if (yearForm_)
        yearForm_->ShowResult(fields, YearResult);
}

} // namespace zeko
