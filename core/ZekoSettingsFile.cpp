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

namespace zeko {
namespace {

const char* const Vstupy = "Vstupy";
const char* const Vystupy = "Vystupy";
const char* const Komunikace = "Komunikace";

std::string Numbered(const char* key, int n) {
    return key + std::to_string(n);
}

} // namespace

const std::array<TRegulationKey, 12> RegulationKeys = {{
    {"Dolni pasmo necitlivosti", &TZEKO::BandLow, nullptr, -1},
    {"Horni pasmo necitlivosti", &TZEKO::BandHigh, nullptr, -1},
    {"Stred pasma necitlivosti", &TZEKO::BandCentre, nullptr, -1},
    {"Dolni pasmo necitlivosti P2", &TZEKO::Band2Low, nullptr, -1},
    {"Horni pasmo necitlivosti P2", &TZEKO::Band2High, nullptr, -1},
    {"Stred pasma necitlivosti P2", &TZEKO::Band2Centre, nullptr, -1},
    {"Pouzij P2", &TZEKO::UseBand2, nullptr, 0},
    {"Zacatek P2", nullptr, &TZEKO::Band2Start, 0},
    {"Konec P2", nullptr, &TZEKO::Band2End, 0},
    {"Rychlost nedokompenzovani", nullptr, &TZEKO::SpeedUnder, 1},
    {"Rychlost prekompenzovani", nullptr, &TZEKO::SpeedOver, 1},
    {"Rychlost typ", &TZEKO::SpeedType, nullptr, 0},
}};

void TZEKO::SaveToIni(const std::string& fileName) const {
    ForceFileDirectory(fileName);  // a folder that cannot be made fails the first write
    TIniFile ini(fileName);
    ini.BeginUpdate();  // the file is replaced once, with every key

    for (const TRegulationKey& k : RegulationKeys)
        ini.WriteInteger(RegulationSection, k.Key, k.ByteField ? this->*k.ByteField : this->*k.WordField);

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
    ini.EndUpdate();
}

void TZEKO::LoadFromIni(const std::string& fileName) {
    const TIniFile ini(fileName);
    for (const TRegulationKey& k : RegulationKeys) {
        const long long max = k.ByteField ? 0xFF : 0xFFFF;
        long long v = ini.ReadInteger(RegulationSection, k.Key, -1);
        if (v < 0 || v > max) {
            if (k.Fallback < 0)
                continue;  // a band edge the file does not give stays
            v = k.Fallback;
        }
        if (k.ByteField)
            this->*k.ByteField = static_cast<uint8_t>(v);
        else
            this->*k.WordField = static_cast<uint16_t>(v);
    }
}

} // namespace zeko
