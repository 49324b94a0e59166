#pragma once
// The records of the month files as per-channel samples: one value of one input at
// one record time, sorted into the lists of the series that show the inputs. The
// evaluation (app/evaluation) and the day graph read the stored records through
// here; the files are those of core/RecordStore.h.
#include "core/GraphView.h"
#include "core/RecordStore.h"
#include "platform/DateTime.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zeko {

// One value of one input at one record time.
struct TChannelSample {
    uint16_t Hour = 0, Minute = 0, Second = 0;
    uint16_t Day = 0, Month = 0, Year = 0;  // Year: two digits, as stored
    uint16_t Status = 0;                    // the record's status word
    double Value = 0;
    uint8_t Flag = 0;
};
using TSampleList = std::vector<TChannelSample>;
// List s - 1 holds the samples of series s.
using TSeriesLists = std::array<TSampleList, GraphSeriesCount>;
// Entry k (input 0..3): the series 1..9 that shows input k, 0 for none; the
// remaining entries are not used.
using TChannelMap = std::array<uint8_t, GraphSeriesCount>;

// The inputs the view shows; a later series that names the same input wins.
TChannelMap ChannelMapOf(const TGraphView& View);
// True when the map names a series for any input.
bool MapsAnyInput(const TChannelMap& ChannelMap);

// For each record of the file with From <= time <= To (whole seconds, both ends
// included) appends one sample per mapped input, in input order, to its series'
// list. Records whose stamp is no valid date and time are skipped; a missing file
// adds nothing.
void ReadMonthFile(const std::string& FileName, TSeriesLists& Lists, const TChannelMap& ChannelMap,
                   TDateTime From, TDateTime To);
// The months whose files a range reads: from the month of From through the last
// month whose first day is not after To (at least the month of From).
struct TYearMonth {
    int Year = 0, Month = 0;
};
std::vector<TYearMonth> MonthsOfRange(TDateTime From, TDateTime To);
// Reads the month files of `Dir` (the program directory) of MonthsOfRange(From, To);
// nothing when the view maps no input.
void ReadRecordRange(const TGraphView& View, TSeriesLists& Lists, const std::string& Dir,
                     TDateTime From, TDateTime To);

} // namespace zeko
