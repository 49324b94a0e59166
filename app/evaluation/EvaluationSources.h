#pragma once
// Where an evaluation takes its records and schedules from. The program's sources
// read each month file and each history file once per evaluation, and give the
// samples and masks that reading the files again for every day and every record
// would give. The evaluation runs in the main thread, where nothing edits the
// schedules meanwhile; a month file that a save extends during the evaluation is
// seen as it was when first read.
#include "core/ChannelSamples.h"
#include "core/Schedules.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zeko {

class TRecordSource {
public:
    virtual ~TRecordSource() = default;
    // Appends to Lists the samples of the inputs the view maps, of the records with
    // From <= time <= To (whole seconds), month file by month file in file order,
    // as ReadRecordRange does.
    virtual void ReadRange(const TGraphView& View, TSeriesLists& Lists, TDateTime From, TDateTime To) = 0;
};

// Reads each month file once and answers later ranges from memory.
class TMonthFileCache : public TRecordSource {
public:
    explicit TMonthFileCache(std::string dir) : dir_(std::move(dir)) {}
    void ReadRange(const TGraphView& View, TSeriesLists& Lists, TDateTime From, TDateTime To) override;

private:
    // The records of one file with a valid stamp, in file order: sample i of
    // Inputs[k] is input k of the record stamped Seconds[i].
    struct TMonthSamples {
        std::vector<int64_t> Seconds;
        std::array<TSampleList, RecordInputs> Inputs;
    };
    const TMonthSamples& Month(const TYearMonth& month);

    std::string dir_;
    std::map<int, TMonthSamples> months_;  // by year × 12 + month
};

class TScheduleSource {
public:
    virtual ~TScheduleSource() = default;
    // The shifts (bit s - 1 for shift s) holding Minute in the table valid at Date;
    // true when any.
    virtual bool ShiftMaskAt(int Minute, uint8_t& Mask, TDateTime Date) = 0;
    // The tariffs (bit t - 1) of DayType (0 working day, 1 weekend) holding Minute
    // in the table valid at Date; true when any.
    virtual bool TariffMaskAt(int Minute, uint8_t& Mask, int DayType, TDateTime Date) = 0;
};

// The masks from one lookup that reads each history file once.
class TLookupSchedules : public TScheduleSource {
public:
    explicit TLookupSchedules(TScheduleLookup& lookup) : lookup_(lookup) {}
    bool ShiftMaskAt(int Minute, uint8_t& Mask, TDateTime Date) override;
    bool TariffMaskAt(int Minute, uint8_t& Mask, int DayType, TDateTime Date) override;

private:
    TScheduleLookup& lookup_;
};

} // namespace zeko
