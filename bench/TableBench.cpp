// The day, month and year tables end to end, as the program shows them: the main
// window at its default size (offscreen), the table window opened from it, and per
// request the window message a table window posts, the evaluation, filling the
// grids and painting the window once, whole, through the event loop. The archive is
// two years of quarter-hour records of four inputs with tariff and shift histories;
// the requests step on through it as "Další" does (the day table a day at a time,
// the month table of 35 days a month, the year table of 15 months a month).
//
// Time is the main thread's processor time of a request (the CPU column; the Time
// column is the wall clock, which waits as well). Counters:
//   evaluation_ms  the same evaluation alone, without windows, measured beside it
//   grid_paints    paints of the main grid per request (one is enough)
#include "app/TableWindows.h"
#include "app/evaluation/DayEvaluation.h"
#include "app/evaluation/PeriodEvaluation.h"
#include "app/hlavni.h"
#include "core/Calendar.h"
#include "core/ProgramGlobals.h"
#include "core/ZekoMessages.h"
#include "dialogs/info.h"
#include "platform/Notifier.h"
#include "platform/qt/QtMainThread.h"
#include "platform/qt/WindowPlacement.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "tables/MesicniTabulka.h"
#include "tables/RocniTabulka.h"
#include "tables/dennitabulka.h"

#include "GeneratedArchive.h"

#include <benchmark/benchmark.h>

#include <QAbstractScrollArea>
#include <QEvent>

#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>

using namespace zeko;

namespace {

constexpr int ArchiveFirstYear = 2024;
constexpr int ArchiveYears = 2;
constexpr int Ports = 8;
constexpr int MonthRows = 35;
constexpr int YearRows = 15;

// The offscreen platform's note on every window shown says nothing of the tables.
QtMessageHandler standardHandler = nullptr;
void QuietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QStringLiteral("propagateSizeHints")) && standardHandler)
        standardHandler(type, context, text);
}

double ThreadProcessorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Counts the paints of a widget, and of them those that came once `filled` held.
class PaintCounter : public QObject {
public:
    PaintCounter(QWidget* widget, std::function<bool()> filled) : filled_(std::move(filled)) {
        widget->installEventFilter(this);
    }
    int Paints() const { return paints_; }
    int FilledPaints() const { return filledPaints_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints_;
            if (filled_())
                ++filledPaints_;
        }
        return false;
    }

private:
    std::function<bool()> filled_;
    int paints_ = 0, filledPaints_ = 0;
};

// The program as it starts, in a program folder holding the archive, its ports
// mapped to a device that does not exist (so it talks to no line).
class Program {
public:
    Program() {
        test::QtApp();
        if (!standardHandler)
            standardHandler = qInstallMessageHandler(QuietPlatformNotes);
        SetScreenInfoForTest(TScreenInfo{1280, 1024, 96, {{0, 0, 1280, 1024}}});
        mainThread_.reset(InstallQtMainThread());
        for (int n = 1; n <= Ports; ++n)
            ::setenv(PortVariable(n).c_str(), (folder_ / "no-port").c_str(), 1);
        bench::WriteQuarterHourRecords(ArchiveFirstYear, ArchiveYears);
        bench::WriteScheduleHistories(ArchiveFirstYear);
        form_ = std::make_unique<THlavniForm>();
        InfoForm = new TInfoForm(form_.get());
        form_->show();
        form_->FormCreate();
    }
    ~Program() {
        InfoForm = nullptr;
        form_.reset();
        SetScreenInfoForTest(std::nullopt);
        for (int n = 1; n <= Ports; ++n)
            ::unsetenv(PortVariable(n).c_str());
    }

    THlavniForm& Form() { return *form_; }
    TTableWindows& Tables() { return form_->Tables(); }

    // Posts the request as a table window's button does and runs the event loop
    // until the window has been painted with its result.
    [[gnu::noinline]] void Request(uint32_t msg, TDateTime date, PaintCounter& paints) {
        const int before = paints.FilledPaints();
        PostMessageTo(FindWindowByClass(MainWindowClass), msg, static_cast<uintptr_t>(date), 0);
        while (paints.FilledPaints() == before)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

private:
    static std::string PortVariable(int n) { return "ZEKO_COM" + std::to_string(n); }

    test::TempDir folder_{true};
    ScopedLoggingNotifier notifier_;
    std::unique_ptr<QtMainThread> mainThread_;
    std::unique_ptr<THlavniForm> form_;
};

// One request after another, the window marked for a whole paint before each, and
// the evaluation alone beside it with the timing paused.
template <typename Form>
void RunRequests(benchmark::State& state, Program& program, Form* form, uint32_t msg,
                 const std::function<TDateTime(int)>& dateOf, const std::function<TDateTime()>& shown,
                 const std::function<void(TDateTime)>& evaluate) {
    TDateTime current = 0;
    PaintCounter paints(form->Tabulka->viewport(), [&] { return shown() == current; });
    double evaluation = 0;
    int requests = 0;
    const int paintsBefore = paints.Paints();
    for (auto _ : state) {
        current = dateOf(requests);
        form->window()->update();
        program.Request(msg, current, paints);
        state.PauseTiming();
        const double start = ThreadProcessorSeconds();
        evaluate(current);
        evaluation += ThreadProcessorSeconds() - start;
        ++requests;
        state.ResumeTiming();
    }
    state.counters["evaluation_ms"] = benchmark::Counter(evaluation * 1000.0 / requests);
    state.counters["grid_paints"] = benchmark::Counter(double(paints.Paints() - paintsBefore) / requests);
}

TDateTime NthMonth(int firstMonthIndex, int n, int months) {
    const int index = firstMonthIndex + n % months;
    return EncodeDate(ArchiveFirstYear + index / 12, index % 12 + 1, 1);
}

void BM_DayTable(benchmark::State& state) {
    Program program;
    program.Form().cmDennitabulkaClick();
    TDenniTabulkaForm* form = program.Tables().DayForm();
    const TDateTime first = EncodeDate(ArchiveFirstYear, 3, 1);
    RunRequests(
        state, program, form, WM_SHOW_DAY_TABLE, [&](int n) { return first + n % 600; },
        [form] { return form->Day; },
        [](TDateTime date) {
            const DateParts d = DecodeDate(date);
            benchmark::DoNotOptimize(ComputeDayTable(d.Day, d.Month, d.Year, 0, ProgramEvaluationSettings()));
        });
}

void BM_MonthTable35Days(benchmark::State& state) {
    Program program;
    program.Form().cmMesicniTabulkaClick();
    TMesicniTabulkaForm* form = program.Tables().MonthForm();
    form->PartialMonth = 1;
    form->PeriodDays = MonthRows;
    RunRequests(
        state, program, form, WM_SHOW_MONTH_TABLE, [](int n) { return NthMonth(0, n, 22); },
        [form] { return form->FirstDay; },
        [](TDateTime date) {
            const DateParts d = DecodeDate(date);
            TEvaluationSettings settings = ProgramEvaluationSettings();
            settings.MonthPeriod = {1, MonthRows};
            ComputeMonth(d.Day, d.Month, d.Year, 0, settings);
            benchmark::DoNotOptimize(MonthResult.PeriodTotal);
        });
}

void BM_YearTable15Months(benchmark::State& state) {
    Program program;
    program.Form().cmRocniTabulkaClick();
    TRocniTabulkaForm* form = program.Tables().YearForm();
    YearMonthCount = YearRows;
    YearCustomPeriod = 1;
    RunRequests(
        state, program, form, WM_SHOW_YEAR_TABLE, [](int n) { return NthMonth(0, n, 9); },
        [form] { return form->FirstMonth; },
        [](TDateTime date) {
            const DateParts d = DecodeDate(date);
            ComputeYear(1, d.Month, d.Year, ChannelOfId(0), YearRows, ProgramEvaluationSettings());
            benchmark::DoNotOptimize(YearResult.YearWorkdayTotal);
        });
}

BENCHMARK(BM_DayTable)->Unit(benchmark::kMillisecond)->Iterations(12)->Repetitions(6);
BENCHMARK(BM_MonthTable35Days)->Unit(benchmark::kMillisecond)->Iterations(8)->Repetitions(6);
BENCHMARK(BM_YearTable15Months)->Unit(benchmark::kMillisecond)->Iterations(4)->Repetitions(6);

} // namespace
