// The main window's answers to the table windows' requests: the evaluation itself
// is app/TableRequests.h; here it meets the main form and the progress box.
#include "app/hlavni.h"

#include "app/TableRequests.h"
#include "core/ZekoMessages.h"
#include "dialogs/info.h"

#include <QApplication>

namespace zeko {

namespace {

// The table windows come with a later part of the program; until then the fields
// they would get go nowhere and the results wait in the program-wide variables.
class TMainFormTables : public TEvaluationHost {
public:
    explicit TMainFormTables(THlavniForm& form) : form_(form) {}

    void SetMainFormEnabled(bool enabled) override { form_.setEnabled(enabled); }
    void ShowProgress(const std::string& text, int steps) override {
        if (InfoForm)
            InfoForm->Start(text, steps);
    }
    void StepProgress() override {
        if (InfoForm)
            InfoForm->StepIt();
        else
            QApplication::processEvents();
    }
    void CloseProgress() override {
        if (InfoForm)
            InfoForm->Finish();
    }
    void ShowDayTable(const TDayTableFields&) override {}
    void ShowMonthTable(const TMonthTableFields&) override {}
    void ShowYearTable(const TYearTableFields&) override {}

private:
    THlavniForm& form_;
};

} // namespace

void THlavniForm::WMShowDayTable(const TMessage& message) {
    TMainFormTables host(*this);
    RunDayTableRequest(host, message.WParam, message.LParam);
}

void THlavniForm::WMShowMonthTable(const TMessage& message) {
    TMainFormTables host(*this);
    RunMonthTableRequest(host, message.WParam, message.LParam, TMonthWindowPeriod{});
}

void THlavniForm::WMShowYearTable(const TMessage& message) {
    TMainFormTables host(*this);
    RunYearTableRequest(host, message.WParam, message.LParam);
}

} // namespace zeko
