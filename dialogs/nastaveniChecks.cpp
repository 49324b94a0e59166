#include "dialogs/nastaveniChecks.h"

#include "core/PowerFactor.h"
#include "core/TextHelpers.h"
#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"

#include <algorithm>
#include <cmath>

namespace zeko {

namespace {

constexpr double LowestInductive = 0.872;
constexpr int MostHours = 99;  // the mask holds two digits of hours

// The code next to `code` in code order, held at the ends of the range.
uint8_t NextCode(uint8_t code, int step) { return static_cast<uint8_t>(std::clamp(code + step, 0, 255)); }

int64_t HeldWithin(double value, int64_t low, int64_t high) {
    if (std::isnan(value))
        return low;
    return static_cast<int64_t>(std::clamp(value, static_cast<double>(low), static_cast<double>(high)));
}

int64_t WholeOf(const std::string& text) {
    int64_t value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError("„" + text + "“ není celé číslo!");
    return value;
}

} // namespace

double NumberOf(const std::string& text) {
    try {
        return StrToFloat(text);
    } catch (const EConvertError&) {
        throw EConvertError("„" + text + "“ není číslo!");
    }
}

const char* const BandTimeError = "Čas 2. pásma musí ležet mezi 00:00 a 23:59!";
const char* const BandTimeIncomplete = "Čas 2. pásma není úplný: zadejte hodiny i minuty (hh:mm)!";

std::string BandText(uint8_t code) { return FormatFixed(CosPhiFromByte(code), 3); }

double CheckBandValue(TBandEdge edge, double v, double neighbour) {
    if (v > 0 && v < LowestInductive) {
        v = LowestInductive;
    } else {
        const uint8_t own = CosPhiToByte(v);
        const uint8_t other = CosPhiToByte(neighbour);
        const bool below = edge == TBandEdge::Lower;
        if (below ? own >= other : own <= other)
            v = CosPhiFromByte(NextCode(other, below ? -1 : 1));
    }
    // The code of a value between -0.873 and 0 is that of -0.873.
    return CosPhiFromByte(CosPhiToByte(v));
}

std::string CheckNumber(const std::string& text, const TNumberCheck& check) {
    double value = StrToFloatClamped(text, check.Min, check.Max, check.Fallback);
    if (check.Truncate)
        value = std::trunc(value);
    return FormatFixed(value, check.Decimals);
}

std::optional<uint16_t> BandTimeMinutes(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (c != '_' && c != ' ')
            digits += c;
    const size_t colon = digits.find(':');
    int64_t hours = 0, minutes = 0;
    if (colon == std::string::npos || colon == 0 || colon + 1 == digits.size() ||
        !TryStrToInt(digits.substr(0, colon), hours) || !TryStrToInt(digits.substr(colon + 1), minutes))
        return std::nullopt;
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59)
        return std::nullopt;
    return static_cast<uint16_t>(hours * 60 + minutes);
}

std::string BandTimeText(uint16_t minutes) {
    // A value from outside the day still shows as hours and minutes, so that the
    // edit refuses it when it is left.
    return TwoDigits(std::min(minutes / 60, MostHours)) + ":" + TwoDigits(minutes % 60);
}

uint8_t BandCode(const std::string& text) { return CosPhiToByte(NumberOf(text)); }

uint32_t MeterConstantOf(const std::string& text) {
    return static_cast<uint32_t>(HeldWithin(std::round(NumberOf(text) * 100000.0), 0, UINT32_MAX));
}

uint16_t OutputValueOf(const std::string& text) {
    return static_cast<uint16_t>(HeldWithin(std::round(NumberOf(text) * 10.0), 0, UINT16_MAX));
}

uint8_t DischargeTimeOf(const std::string& text) {
    return static_cast<uint8_t>(std::clamp<int64_t>(WholeOf(text), 0, 2559) / 10);
}

uint16_t BandTimeOf(const std::string& text) {
    const std::optional<uint16_t> minutes = BandTimeMinutes(text);
    if (!minutes)
        throw EConvertError(BandTimeError);
    return *minutes;
}

int64_t WholeNumberOf(const std::string& text, int64_t low, int64_t high) {
    return std::clamp(WholeOf(text), low, high);
}

} // namespace zeko
