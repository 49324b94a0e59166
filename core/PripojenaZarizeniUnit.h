#pragma once
// The four measurement channels of the regulator's impulse inputs, described by the
// device file "Zarizeni.ini" beside the program (read at start, never written):
// section "ZEKO" with "Nazev_z" (the device name, shared by every channel) and,
// for channel n = 1..4, the keys below followed by n. Missing keys give defaults.
#include <cstdint>
#include <string>
#include <vector>

namespace zeko {

constexpr int ChannelCount = 4;

struct TVstupyInfo {
    uint16_t Id = 0;              // channel id n - 1
    std::string Kind;             // "ZEKO"
    uint8_t Present = 0;          // 1
    uint8_t ChannelNumber = 0;    // n
    std::string DeviceName;       // "Nazev_z"; default: the channel's default value name
    std::string ValueName;        // "Nazev_v": "Činný", "Jalový", "Jal.dodávka", "1P měření"
    uint8_t UnitCode = 0;         // "Jednotka_v": quantity code of TMojeDB; 0, 1, 1, 0
    uint8_t Decimals = 0;         // "PocetDesMist_v"
    double TemperatureOffset = 0; // "OffsetTeploty_v"
    bool CounterOn = false;       // "PocitadloZapnuto_v" (an integer, 0 = false)
    double CounterStart = 0;      // "PocStavPocitadla_v": meter reading at the start
    double MeterMultiplier = 1;   // "NasobitelElmeru_v"
    int32_t DayStartHour = 0;     // "PocatekDne_v": the channel's day starts at this hour
    double TrfLosses = 0;         // "ZtratyTRF_v": transformer losses in percent
    std::string DeviceType;       // "ZEKO"; the evaluation treats "FIKTIVNI" apart
};

class TSeznamZarizeni {
public:
    // Four channels from the file; a missing file gives four channels of defaults.
    // Numbers may use either decimal separator; a day-start hour outside -23..23, or
    // an integer that does not fit its field, gives the default. A file that exists
    // but cannot be read (no permission, a folder, an I/O error) gives the defaults
    // too, and the answer is its errno (0 otherwise), for the caller to tell.
    int LoadFromIni(const std::string& fileName);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    bool IndexValid(int index) const { return index >= 0 && index < Count(); }
    // A copy of the record at index, or of record 0 when the index is not valid;
    // rec is unchanged (and the answer false) when the list is empty.
    bool GetItem(int index, TVstupyInfo& rec) const;
    // A copy of the first record with that id, else of record 0; unchanged when empty.
    bool FindById(int id, TVstupyInfo& rec) const;

private:
    std::vector<TVstupyInfo> items_;
};

// The program-wide channel list, created by the main window.
extern TSeznamZarizeni* Devices;

// "<device name> - <value name>" of the channel with that id in Devices.
std::string DeviceValueCaption(int id);

} // namespace zeko
