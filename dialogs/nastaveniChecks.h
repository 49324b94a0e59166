#pragma once
// The checks and conversions of the settings dialog (TNastaveniForm), apart from its
// controls: what an edit's text becomes when the edit is left, and how a text is
// stored into a settings field. Texts use the locale's decimal separator.
#include <cstdint>
#include <optional>
#include <string>

namespace zeko {

// A dead-band edge as its cos phi code shows it: 3 decimals.
std::string BandText(uint8_t code);

// The rule of the band edits: a lower edge lies below its centre in code order, a
// centre above its lower edge, an upper edge above its centre.
enum class TBandEdge : uint8_t { Lower, Centre, Upper };
// The value a band edit takes when it is left, from the typed value and its
// neighbour's: 0 < v < 0.872 becomes 0.872; else a value that breaks the rule
// becomes the code next to the neighbour's (held at the ends of the code range);
// else -0.873 < v < 0 becomes -0.873. The result is the value of its code, so the
// edit shows what is stored.
double CheckBandValue(TBandEdge edge, double typed, double neighbour);

// An edit of a number: clamped into [Min, Max], Fallback for a text that is no
// number, written back with Decimals decimals (rounded, or cut when Truncate).
struct TNumberCheck {
    double Min, Max, Fallback;
    int Decimals;
    bool Truncate = false;
};
namespace NumberChecks {
inline constexpr TNumberCheck RegulationTime{1, 65535, 1, 0};
inline constexpr TNumberCheck MeterConstant{0.00001, 9999.99999, 1, 5};
inline constexpr TNumberCheck NonAveragedPulse{10, 240, 10, 0};
inline constexpr TNumberCheck FaultDelay{0, 255, 1, 0};
inline constexpr TNumberCheck OutputValue{0.1, 3276.7, 1, 1};
inline constexpr TNumberCheck DischargeTime{0, 2550, 1, 0, true};
} // namespace NumberChecks
std::string CheckNumber(const std::string& text, const TNumberCheck& check);

// The second band's start or end, "hh:mm" from 00:00 to 23:59 (blank places of
// the mask left out); nullopt for any other text.
std::optional<uint16_t> BandTimeMinutes(const std::string& text);
// Minutes since midnight as two-digit hours and minutes.
std::string BandTimeText(uint16_t minutes);
// The messages of a second-band time that is refused: outside the day, or with a
// place of hours or minutes left blank.
extern const char* const BandTimeError;
extern const char* const BandTimeIncomplete;

// The number of a text (the locale's decimal separator); EConvertError, in Czech,
// for a text that is no number.
double NumberOf(const std::string& text);

// The stored forms of the texts; EConvertError (in Czech) for a text that is no
// number. A value beyond its field is held at the field's ends.
uint8_t BandCode(const std::string& text);
uint32_t MeterConstantOf(const std::string& text);  // units of 0.00001, to the nearest
uint16_t OutputValueOf(const std::string& text);    // tenths, to the nearest
uint8_t DischargeTimeOf(const std::string& text);   // tens of seconds: typed seconds div 10
// The second band's start or end; EConvertError(BandTimeError) outside 00:00..23:59.
uint16_t BandTimeOf(const std::string& text);
// Whole numbers (decimal integers) held within [low, high].
int64_t WholeNumberOf(const std::string& text, int64_t low, int64_t high);

} // namespace zeko
