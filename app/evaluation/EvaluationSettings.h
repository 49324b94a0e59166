#pragma once
// What an evaluation takes besides its records and schedules: values the program
// keeps program-wide, handed in as one settings value by whoever starts the
// evaluation. ProgramEvaluationSettings builds it from the program's own values, the
// single place the evaluation reads them.
#include "core/MojeDB.h"

#include <cstdint>

namespace zeko {

// The period of a month evaluation, as the month window asks for it.
struct TMonthPeriod {
    uint8_t CustomPeriod = 0;  // 1: DayRows days from the first day, else the whole month
    uint8_t DayRows = 0;
};

struct TEvaluationSettings {
    bool UseHolidays = true;              // holidays count as weekend days
    uint16_t OwnMeasurementId = 0;        // the channel of the regulator's own measurement
    const TMojeDB* Quantities = nullptr;  // the quantity table; nullptr: the built-in one
    TMonthPeriod MonthPeriod;

    const TMojeDB& QuantityTable() const;
};

// PouzivejSvatky, RegulatorMeasurementId, MojeDB and the period of MonthPeriodInfo.
TEvaluationSettings ProgramEvaluationSettings();

} // namespace zeko
