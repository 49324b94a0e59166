#pragma once
// What the program knows about the connected regulator: its settings (as read, or
// as being edited), its live values, its clock and the state of the record
// download. The settings part is also kept in settings files (".set"), INI files
// with the sections "Regulace", "Vstupy", "Vystupy" and "Komunikace".
//
// Arrays are indexed from 0: OutputValues[0] is output 1, MeterConstants[0] input 1.
// Encodings are those of the regulator's registers: cos phi codes 0..128 stand for
// 0.872..1.000 and 129..255 for -0.999..-0.873; output powers in tenths.
#include "platform/DateTime.h"

#include <array>
#include <cstdint>
#include <string>

namespace zeko {

constexpr int MaxOutputs = 16;
constexpr int InputCount = 4;

// Live output and regulation state, in the order the live-value reply carries them.
struct TLiveWords {
    uint16_t OutputStates = 0;    // bit i: output i + 1 on; the bit above the last: fault output
    uint16_t NextStepTime = 0;    // time to the next regulation step, 0xFFFF: none
    uint16_t BandWord = 0;        // 1: the second band is active
    uint8_t RegulationState = 0;  // regulation state code
    uint16_t RecordTime = 0;      // seconds
    uint16_t RecordTimeCopy = 0;
};

class TZEKO {
public:
    // ---- settings (copied by AssignTo, except InputConstants and BlockBytes) ----
    uint8_t OutputCount = 0;   // 1..16
    uint16_t OutputTypes = 0;  // bit i set: output i + 1 is inductive, else capacitive
    std::array<uint16_t, MaxOutputs> OutputValues{};  // output powers × 10
    uint16_t SmallestOutput = 0;
    uint32_t SumC = 0;   // first 24-bit value of register block 0x0E2D
    uint32_t SumC2 = 0;  // second 24-bit value of that block
    std::array<uint8_t, MaxOutputs> DischargeTimes{};  // tens of seconds
    uint8_t FaultOutput = 0;  // above 0: the last output serves as fault output
    uint8_t FaultDelay = 0;   // seconds
    std::array<uint32_t, InputCount> MeterConstants{};  // impulses per unit × 100000
    std::array<uint32_t, InputCount> InputConstants{};  // in force per input; derived
    std::array<uint8_t, InputCount> InputFunctions{};
    uint8_t AveragingIndex = 0;
    uint8_t NonAveragedPulse = 0;  // seconds minus 10
    uint16_t SpeedUnder = 0;       // regulation time when under-compensated
    uint16_t SpeedOver = 0;        // regulation time when over-compensated
    uint8_t SpeedType = 0;         // bit 0 under-, bit 4 over-compensated: 1 = exponential
    uint8_t BandLow = 0, BandHigh = 0, BandCentre = 0;     // cos phi codes
    uint8_t Band2Low = 0, Band2High = 0, Band2Centre = 0;  // the second band
    uint8_t UseBand2 = 0;  // 0: the second band is used, 1: not used
    uint16_t Band2Start = 0, Band2End = 0;  // minutes since midnight
    uint8_t Switches = 0;  // bit 0: an output expander is connected
    std::array<uint8_t, 2> BlockBytes{};  // two bytes of register block 0x0E80
    uint8_t SensitivityIndex = 0;
    uint8_t UnderWait = 0;  // pulses

    // ---- live values ----
    double CosPhi = 0, ActivePower = 0, ReactivePower = 0;  // kW, kVAr
    TLiveWords LiveWords;

    // ---- clock: the reading plus the time since ClockTick (ElapsedSince) ----
    TDateTime ClockDate = 0;  // whole days
    TDateTime ClockTime = 0;  // time of day
    uint8_t ClockWeekday = 0;
    uint32_t ClockTick = 0;   // tick count at the reading, minus 100 ms
    // The last clock reply held a date and time that exist; the fields above are
    // those of the last one that did.
    bool ClockValid = false;

    // ---- identification: the four texts as read at start (UTF-8), empty before ----
    std::array<std::string, 4> IdentTexts;

    // ---- record download ----
    uint32_t NewestIndex = 0;
    uint8_t PointerFlag = 0;
    uint32_t OldestUnreadIndex = 0;
    uint32_t DownloadIndex = 0;
    uint32_t DownloadAddress = 0;
    uint16_t LastReplyAddress = 0;

    // Copies the settings into dest; its live values, clock, record state,
    // InputConstants and BlockBytes stay as they were.
    void AssignTo(TZEKO& dest) const;

    // Writes the settings into the settings file, creating its folder when missing;
    // other keys of the file stay. EIniFileException when it cannot be written.
    void SaveToIni(const std::string& fileName) const;
    // Reads the twelve regulation fields of "Regulace"; other fields keep their
    // values. A missing key (or one out of the field's range) gives 0 for
    // "Pouzij P2", "Zacatek P2", "Konec P2" and "Rychlost typ", 1 for the two
    // speeds, and leaves a band edge as it was.
    void LoadFromIni(const std::string& fileName);
};

// A key of the section "Regulace" of a settings file, its field (one byte or two)
// and the value LoadFromIni gives when the key is missing or out of the field's
// range (-1: the field stays as it was).
struct TRegulationKey {
    const char* Key;
    uint8_t TZEKO::*ByteField;
    uint16_t TZEKO::*WordField;
    int Fallback;
};
inline constexpr const char* RegulationSection = "Regulace";
// The twelve regulation keys in the order written.
extern const std::array<TRegulationKey, 12> RegulationKeys;

// The two program-wide instances, created by the main window: as read from the
// regulator, and as being edited or written.
extern TZEKO* CurrentState;
extern TZEKO* EditedSettings;

} // namespace zeko
