#include "app/evaluation/EvaluationSettings.h"

#include "app/evaluation/PeriodResult.h"
#include "core/ProgramGlobals.h"

namespace zeko {

namespace {

const TMojeDB& BuiltInQuantities() {
    static const TMojeDB builtIn;
    return builtIn;
}

} // namespace

const TMojeDB& TEvaluationSettings::QuantityTable() const { return Quantities ? *Quantities : BuiltInQuantities(); }

TEvaluationSettings ProgramEvaluationSettings() {
    TEvaluationSettings settings;
    settings.UseHolidays = PouzivejSvatky;
    settings.OwnMeasurementId = RegulatorMeasurementId;
    settings.Quantities = MojeDB;
    settings.MonthPeriod = {MonthPeriodInfo.CustomPeriod, MonthPeriodInfo.DayRows};
    return settings;
}

} // namespace zeko
