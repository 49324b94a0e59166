// Fuzz entry of the tariff and shift histories: the records of a file, the record
// valid at a date, and the tables and masks made of its body.
//
// Input: bit 0 of byte 0 chooses a tariff (1) or a shift (0) history; the remaining
// bytes are the file.
#include "fuzz/FuzzEntries.h"

#include "core/HistoryFormat.h"
#include "core/Schedules.h"

#include <algorithm>
#include <type_traits>
#include <vector>

namespace zeko::fuzz {

namespace {

bool BandTextWellFormed(const std::string& text) {
    return text == "-" || (text.size() == 11 && text[2] == ':' && text[5] == '-' && text[8] == ':');
}

template <typename Table>
bool TableHolds(const THistoryRecord& record) {
    Table table;
    table.ReadBody(record.Body.data(), record.Body.size());
    if (table.Body() != record.Body)
        return false;
    for (int minute = 0; minute <= LastBandMinute; minute += 7) {
        if constexpr (std::is_same_v<Table, TTariffTable>) {
            if (TariffMask(table, 0, minute) > 7 || TariffMask(table, 1, minute) > 7)
                return false;
        } else if (ShiftMask(table, minute) > 7) {
            return false;
        }
    }
    if constexpr (std::is_same_v<Table, TTariffTable>) {
        for (int tariff = 1; tariff <= 3; ++tariff)
            for (int band = 1; band <= 4; ++band)
                if (!BandTextWellFormed(TariffIntervalText(tariff, band, 1, table)))
                    return false;
    } else {
        for (int shift = 1; shift <= 3; ++shift)
            if (!BandTextWellFormed(ShiftIntervalText(shift, table)))
                return false;
    }
    return true;
}

// A record is chosen for a date when any record starts between the limits of the
// choice (1 January 1800 and 1 January 3000, both excluded).
bool ChoiceHolds(const THistoryList& list, TDateTime date) {
    const THistoryRecord* chosen = ValidHistoryRecord(list, date);
    const TDateTime low = EncodeDate(1800, 1, 1), high = EncodeDate(3000, 1, 1);
    const bool any = std::any_of(list.begin(), list.end(),
                                 [&](const THistoryRecord& r) { return r.ValidFrom > low && r.ValidFrom < high; });
    return (chosen != nullptr) == any &&
           (chosen == nullptr || (chosen >= list.data() && chosen < list.data() + list.size()));
}

} // namespace

bool HistoryReader(const uint8_t* data, size_t size) {
    if (size == 0)
        return true;
    const bool tariffs = (data[0] & 1) != 0;
    const size_t bodySize = tariffs ? TTariffTable::BodySize : TShiftTable::BodySize;
    THistoryList list;
    const bool intact = ParseHistory(data + 1, size - 1, bodySize, list);

    std::vector<uint8_t> written;
    for (const THistoryRecord& r : list) {
        if (r.Marker != HistoryMarker || r.Body.size() != bodySize)
            return false;  // damage taken for a record
        r.AppendBytes(written);
    }
    // An intact file is exactly its records; what was taken reads back as taken.
    if (intact && !std::equal(written.begin(), written.end(), data + 1, data + size))
        return false;
    // (Compared as bytes: a valid-from that is no number equals nothing.)
    THistoryList back;
    std::vector<uint8_t> rewritten;
    if (!ParseHistory(written.data(), written.size(), bodySize, back))
        return false;
    for (const THistoryRecord& r : back)
        r.AppendBytes(rewritten);
    if (rewritten != written)
        return false;

    for (const TDateTime date : {EncodeDate(2024, 1, 1), EncodeDate(1900, 6, 15), EncodeDate(2999, 12, 31)})
        if (!ChoiceHolds(list, date))
            return false;
    return std::all_of(list.begin(), list.end(), [tariffs](const THistoryRecord& r) {
        return tariffs ? TableHolds<TTariffTable>(r) : TableHolds<TShiftTable>(r);
    });
}

} // namespace zeko::fuzz
