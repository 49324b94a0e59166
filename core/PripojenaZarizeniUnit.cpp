#include "core/PripojenaZarizeniUnit.h"

#include "core/TextHelpers.h"
#include "platform/FormatSettings.h"
#include "platform/IniFile.h"

#include <cmath>

namespace zeko {

TSeznamZarizeni* Devices = nullptr;

namespace {

const char* const Section = "ZEKO";
const char* const DefaultValueNames[ChannelCount] = {"Činný", "Jalový", "Jal.dodávka", "1P měření"};
const uint8_t DefaultUnitCodes[ChannelCount] = {0, 1, 1, 0};

std::string Key(const char* name, int n) {
    return name + std::to_string(n);
}

long long ReadRange(const TIniFile& ini, const std::string& key, long long lo, long long hi,
                    long long fallback) {
    const long long v = ini.ReadInteger(Section, key, fallback);
    return v < lo || v > hi ? fallback : v;
}

// The file is edited by hand on any machine: a number written with the other
// decimal separator is read too.
double ReadNumber(const TIniFile& ini, const std::string& key, double fallback) {
    const std::string text = ini.ReadString(Section, key, "");
    const char sep = FormatSettings().DecimalSeparator;
    double v;
    if ((TryStrToFloat(text, v) || TryStrToFloat(ReplaceChar(text, sep == ',' ? '.' : ',', sep), v)) &&
        std::isfinite(v))
        return v;
    return fallback;
}

TVstupyInfo ReadChannel(const TIniFile& ini, int n) {
    TVstupyInfo c;
    c.Id = static_cast<uint16_t>(n - 1);
    c.Kind = "ZEKO";
    c.Present = 1;
    c.ChannelNumber = static_cast<uint8_t>(n);
    c.DeviceName = ini.ReadString(Section, "Nazev_z", DefaultValueNames[n - 1]);
    c.ValueName = ini.ReadString(Section, Key("Nazev_v", n), DefaultValueNames[n - 1]);
    c.UnitCode = static_cast<uint8_t>(ReadRange(ini, Key("Jednotka_v", n), 0, 255, DefaultUnitCodes[n - 1]));
    c.Decimals = static_cast<uint8_t>(ReadRange(ini, Key("PocetDesMist_v", n), 0, 255, 0));
    c.TemperatureOffset = ReadNumber(ini, Key("OffsetTeploty_v", n), 0);
    c.CounterOn = ini.ReadBool(Section, Key("PocitadloZapnuto_v", n), false);
    c.CounterStart = ReadNumber(ini, Key("PocStavPocitadla_v", n), 0);
    c.MeterMultiplier = ReadNumber(ini, Key("NasobitelElmeru_v", n), 1.0);
    c.DayStartHour = static_cast<int32_t>(ReadRange(ini, Key("PocatekDne_v", n), -23, 23, 0));
    c.TrfLosses = ReadNumber(ini, Key("ZtratyTRF_v", n), 0);
    c.DeviceType = "ZEKO";
    return c;
}

} // namespace

int TSeznamZarizeni::LoadFromIni(const std::string& fileName) {
    Clear();
    const TIniFile ini(fileName);
    for (int n = 1; n <= ChannelCount; ++n)
        items_.push_back(ReadChannel(ini, n));
    return ini.ReadError();
}

void TSeznamZarizeni::Clear() {
    items_.clear();
}

bool TSeznamZarizeni::GetItem(int index, TVstupyInfo& rec) const {
    if (items_.empty())
        return false;
    rec = items_[IndexValid(index) ? index : 0];
    return true;
}

bool TSeznamZarizeni::FindById(int id, TVstupyInfo& rec) const {
    if (items_.empty())
        return false;
    for (const TVstupyInfo& c : items_)
        if (c.Id == id) {
            rec = c;
            return true;
        }
    rec = items_[0];
    return true;
}

std::string DeviceValueCaption(int id) {
    TVstupyInfo rec;
    if (Devices != nullptr)
        Devices->FindById(id, rec);
    return rec.DeviceName + " - " + rec.ValueName;
}

} // namespace zeko
