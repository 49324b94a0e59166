#pragma once
// The main window's side of the day, month and year tables: the commands that open
// each table window once or bring it to the front, the requests the windows post
// (WM_SHOW_DAY_TABLE .. WM_OPEN_DAY_TABLE), and what the main window does while a
// request evaluates: the main form disabled, the progress box shown, and the
// results handed to the window, which lays out and fills its grids. The archive
// window, which shows a day as a graph, is opened here too.
#include "app/TableChoice.h"
#include "app/evaluation/TableRequests.h"
#include "platform/Graphics.h"
#include "platform/WindowMessages.h"

#include <QPointer>

#include <optional>

class QMdiArea;
class QWidget;

namespace zeko {

class TArchivForm;
class TDenniTabulkaForm;
class TMesicniTabulkaForm;
class TRocniTabulkaForm;

class TTableWindows : public TEvaluationHost {
public:
    // The windows open in `area`; `mainForm` is disabled while a request evaluates.
    TTableWindows(QWidget* mainForm, QMdiArea* area);
    ~TTableWindows() override;

    // Each creates its window when its open flag is clear, else brings it to the
    // front; the day window is also repainted at once.
    void OpenDayTable();
    void OpenMonthTable();
    void OpenYearTable();
    // The archive window, set up on creation; Today: it shows today at once.
    void OpenArchive(bool Today);

    // The table messages of the windows; false for any other message.
    bool HandleMessage(const TMessage& message);
    void WMShowDayTable(const TMessage& message);
    void WMShowMonthTable(const TMessage& message);
    void WMShowYearTable(const TMessage& message);
    void WMOpenDayTable(const TMessage& message);
    void WMOpenMonthTable(const TMessage& message);
    void WMOpenYearTable(const TMessage& message);

    // The windows while they exist, else null.
    TDenniTabulkaForm* DayForm() const;
    TMesicniTabulkaForm* MonthForm() const;
    TRocniTabulkaForm* YearForm() const;
    TArchivForm* ArchiveForm() const;

    // TEvaluationHost
    void SetMainFormEnabled(bool enabled) override;
    void ShowProgress(const std::string& text, int steps) override;
    void StepProgress() override;
    void CloseProgress() override;
    void ShowDayTable(const TDayTableFields& fields) override;
    void ShowMonthTable(const TMonthTableFields& fields) override;
    void ShowYearTable(const TYearTableFields& fields) override;

private:
    // The MDI client area, where the windows lay themselves out.
    TRect MdiClientRect() const;
    template <typename Form>
    Form* Open(QPointer<Form>& form, bool open);
    // The measurement and the date of a request with date 0; the window's
    // measurement index follows the user's choice.
    template <typename Form>
    std::optional<TTableChoice> AskChoice(TTableKind kind, QPointer<Form>& form);

    QWidget* mainForm_ = nullptr;
    QMdiArea* area_ = nullptr;
    QPointer<TDenniTabulkaForm> dayForm_;
    QPointer<TMesicniTabulkaForm> monthForm_;
    QPointer<TRocniTabulkaForm> yearForm_;
    QPointer<TArchivForm> archiveForm_;
};

} // namespace zeko
