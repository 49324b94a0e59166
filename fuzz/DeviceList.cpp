// Fuzz entry of the channel list reader, as "Zarizeni.ini" meets it at start: a file
// of the input's bytes gives four whole channels whatever it holds, and is never
// written.
#include "fuzz/FuzzEntries.h"
#include "fuzz/ScratchFiles.h"

#include "core/PripojenaZarizeniUnit.h"
#include "platform/TextFiles.h"

#include <cmath>
#include <cstring>

namespace zeko::fuzz {

namespace {

bool Finite(const TVstupyInfo& c) {
    return std::isfinite(c.TemperatureOffset) && std::isfinite(c.CounterStart) && std::isfinite(c.MeterMultiplier) &&
           std::isfinite(c.TrfLosses);
}

// Channel n (1..4) as the tables and the evaluation take it.
bool WholeChannel(const TVstupyInfo& c, int n) {
    return c.Id == n - 1 && c.ChannelNumber == n && c.Present == 1 && c.Kind == "ZEKO" && c.DeviceType == "ZEKO" &&
           c.DayStartHour >= -23 && c.DayStartHour <= 23 && Finite(c);
}

bool SameChannel(const TVstupyInfo& a, const TVstupyInfo& b) {
    return a.Id == b.Id && a.DeviceName == b.DeviceName && a.ValueName == b.ValueName && a.UnitCode == b.UnitCode &&
           a.Decimals == b.Decimals && a.TemperatureOffset == b.TemperatureOffset && a.CounterOn == b.CounterOn &&
           a.CounterStart == b.CounterStart && a.MeterMultiplier == b.MeterMultiplier &&
           a.DayStartHour == b.DayStartHour && a.TrfLosses == b.TrfLosses;
}

} // namespace

bool DeviceListReader(const uint8_t* data, size_t size) {
    const std::string path = WriteScratchFile("Zarizeni.ini", data, size);
    TSeznamZarizeni list;
    // The file of our own folder can be read, whatever it holds.
    if (list.LoadFromIni(path) != 0 || list.Count() != ChannelCount)
        return false;
    for (int n = 1; n <= ChannelCount; ++n) {
        TVstupyInfo byIndex, byId;
        if (!list.GetItem(n - 1, byIndex) || !list.FindById(n - 1, byId) || !WholeChannel(byIndex, n) ||
            !SameChannel(byIndex, byId))
            return false;
    }
    // An id or an index of no channel gives channel 1, as the tables ask for them.
    TVstupyInfo first, other;
    if (!list.GetItem(0, first) || !list.GetItem(ChannelCount, other) || !SameChannel(first, other) ||
        !list.FindById(-1, other) || !SameChannel(first, other))
        return false;

    // Read again, the file gives the same channels; and it stays as it was.
    TSeznamZarizeni again;
    again.LoadFromIni(path);
    for (int i = 0; i < ChannelCount; ++i) {
        TVstupyInfo a, b;
        list.GetItem(i, a);
        again.GetItem(i, b);
        if (!SameChannel(a, b))
            return false;
    }
    std::string bytes;
    return ReadFileBytes(path, bytes) && bytes.size() == size && (size == 0 || std::memcmp(bytes.data(), data, size) == 0);
}

} // namespace zeko::fuzz
