// The settings file (".set") of TZEKO. Sections and keys in the order written:
//
//   [Regulace]   Dolni/Horni/Stred pasmo(a) necitlivosti, the same with " P2",
//                Pouzij P2, Zacatek P2, Konec P2, Rychlost nedokompenzovani,
//                Rychlost prekompenzovani, Rychlost typ
//   [Vstupy]     Konstanty1..4, Prirazeni1..4, Impulsy prumer, Neprumerovatelny impuls
//   [Vystupy]    Pocet vystupu, Typ vystupu, Hodnoty vystupu1..16, Nejmensi vystup,
//                Suma C, Vybijeci casy1..16, Vystup poruchy, Zpozdeni poruchy
//   [Komunikace] Switches
//
// Every value is a decimal integer; the meter constants are written as
// floating-point text of the stored integer (1.0 impulse per unit: "100000").
#include "core/Zeko.h"

#include "platform/IniFile.h"
#include "platform/ProgramDir.h"

#include <limits>

namespace zeko {
namespace {

const char* const Regulace = "Regulace";
const char* const Vstupy = "Vstupy";
const char* const Vystupy = "Vystupy";
const char* const Komunikace = "Komunikace";

const char* const KeyBandLow = "Dolni pasmo necitlivosti";
const char* const KeyBandHigh = "Horni pasmo necitlivosti";
const char* const KeyBandCentre = "Stred pasma necitlivosti";
const char* const KeyBand2Low = "Dolni pasmo necitlivosti P2";
const char* const KeyBand2High = "Horni pasmo necitlivosti P2";
const char* const KeyBand2Centre = "Stred pasma necitlivosti P2";
const char* const KeyUseBand2 = "Pouzij P2";
const char* const KeyBand2Start = "Zacatek P2";
const char* const KeyBand2End = "Konec P2";
const char* const KeySpeedUnder = "Rychlost nedokompenzovani";
const char* const KeySpeedOver = "Rychlost prekompenzovani";
const char* const KeySpeedType = "Rychlost typ";

std::string Numbered(const char* key, int n) {
    return key + std::to_string(n);
}

// A field of the file, or `fallback` when the key is missing or its value does not
// fit the field.
template <typename T>
T ReadField(const TIniFile& ini, const char* key, T fallback) {
    const long long v = ini.ReadInteger(Regulace, key, -1);
    if (v < 0 || v > static_cast<long long>(std::numeric_limits<T>::max()))
        return fallback;
    return static_cast<T>(v);
}

} // namespace

void TZEKO::SaveToIni(const std::string& fileName) const {
    const std::string dir = ExtractFileDir(fileName);
    if (!dir.empty())
        ForceDirectories(dir);
    TIniFile ini(fileName);

    ini.WriteInteger(Regulace, KeyBandLow, BandLow);
    ini.WriteInteger(Regulace, KeyBandHigh, BandHigh);
    ini.WriteInteger(Regulace, KeyBandCentre, BandCentre);
    ini.WriteInteger(Regulace, KeyBand2Low, Band2Low);
    ini.WriteInteger(Regulace, KeyBand2High, Band2High);
    ini.WriteInteger(Regulace, KeyBand2Centre, Band2Centre);
    ini.WriteInteger(Regulace, KeyUseBand2, UseBand2);
    ini.WriteInteger(Regulace, KeyBand2Start, Band2Start);
    ini.WriteInteger(Regulace, KeyBand2End, Band2End);
    ini.WriteInteger(Regulace, KeySpeedUnder, SpeedUnder);
    ini.WriteInteger(Regulace, KeySpeedOver, SpeedOver);
    ini.WriteInteger(Regulace, KeySpeedType, SpeedType);

    for (int i = 0; i < InputCount; ++i)
        ini.WriteFloat(Vstupy, Numbered("Konstanty", i + 1), MeterConstants[i]);
    for (int i = 0; i < InputCount; ++i)
        ini.WriteInteger(Vstupy, Numbered("Prirazeni", i + 1), InputFunctions[i]);
    ini.WriteInteger(Vstupy, "Impulsy prumer", AveragingIndex);
    ini.WriteInteger(Vstupy, "Neprumerovatelny impuls", NonAveragedPulse);

    ini.WriteInteger(Vystupy, "Pocet vystupu", OutputCount);
    ini.WriteInteger(Vystupy, "Typ vystupu", OutputTypes);
    for (int i = 0; i < MaxOutputs; ++i)
        ini.WriteInteger(Vystupy, Numbered("Hodnoty vystupu", i + 1), OutputValues[i]);
    ini.WriteInteger(Vystupy, "Nejmensi vystup", SmallestOutput);
    ini.WriteInteger(Vystupy, "Suma C", SumC);
    for (int i = 0; i < MaxOutputs; ++i)
        ini.WriteInteger(Vystupy, Numbered("Vybijeci casy", i + 1), DischargeTimes[i]);
    ini.WriteInteger(Vystupy, "Vystup poruchy", FaultOutput);
    ini.WriteInteger(Vystupy, "Zpozdeni poruchy", FaultDelay);

    ini.WriteInteger(Komunikace, "Switches", Switches);
}

void TZEKO::LoadFromIni(const std::string& fileName) {
    const TIniFile ini(fileName);
    BandLow = ReadField(ini, KeyBandLow, BandLow);
    BandHigh = ReadField(ini, KeyBandHigh, BandHigh);
    BandCentre = ReadField(ini, KeyBandCentre, BandCentre);
    Band2Low = ReadField(ini, KeyBand2Low, Band2Low);
    Band2High = ReadField(ini, KeyBand2High, Band2High);
    Band2Centre = ReadField(ini, KeyBand2Centre, Band2Centre);
    UseBand2 = ReadField<uint8_t>(ini, KeyUseBand2, 0);
    Band2Start = ReadField<uint16_t>(ini, KeyBand2Start, 0);
    Band2End = ReadField<uint16_t>(ini, KeyBand2End, 0);
    SpeedUnder = ReadField<uint16_t>(ini, KeySpeedUnder, 1);
    SpeedOver = ReadField<uint16_t>(ini, KeySpeedOver, 1);
    SpeedType = ReadField<uint8_t>(ini, KeySpeedType, 0);
}

} // namespace zeko
