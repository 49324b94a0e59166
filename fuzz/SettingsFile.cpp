// Fuzz entry of the settings dialog's file loader ("Načti nast."): a settings file of
// the input's bytes is loaded over settings of an installation. A file refused
// changes nothing and is named in its message; a file taken gives exactly what the
// file's reader reads, every value one the dialog takes as typed, and what it gave
// is saved and loaded back the same.
#include "fuzz/FuzzEntries.h"
#include "fuzz/ScratchFiles.h"

#include "core/PowerFactor.h"
#include "core/Zeko.h"
#include "dialogs/nastaveniChecks.h"
#include "dialogs/nastaveniFile.h"

#include <cstdio>

namespace zeko::fuzz {

namespace {

constexpr uint8_t ListBits = 0x11;  // of the speed type: the two lists

TZEKO Installation() {
    TZEKO s;
    s.OutputCount = 12;
    s.OutputValues.fill(250);
    s.MeterConstants = {230000, 100000, 1, 7};
    s.SpeedUnder = 60;
    s.SpeedOver = 30;
    s.SpeedType = 0x42;  // a bit that no list shows
    s.BandLow = 78;
    s.BandCentre = 98;
    s.BandHigh = 118;
    s.Band2Low = 10;
    s.Band2Centre = 20;
    s.Band2High = 30;
    s.UseBand2 = 1;
    s.Band2Start = 360;
    s.Band2End = 1320;
    return s;
}

int64_t FieldOf(const TZEKO& s, const TRegulationKey& key) {
    return key.ByteField ? s.*key.ByteField : s.*key.WordField;
}

bool SameRegulation(const TZEKO& a, const TZEKO& b) {
    for (const TRegulationKey& key : RegulationKeys)
        if (FieldOf(a, key) != FieldOf(b, key))
            return false;
    return true;
}

bool SameOthers(const TZEKO& a, const TZEKO& b) {
    return a.OutputCount == b.OutputCount && a.OutputValues == b.OutputValues && a.MeterConstants == b.MeterConstants;
}

// The band edits leave the edge as it stands.
bool EdgeKept(TBandEdge kind, uint8_t edge, uint8_t neighbour) {
    return CosPhiToByte(CheckBandValue(kind, CosPhiFromByte(edge), CosPhiFromByte(neighbour))) == edge;
}

bool TakenAsTyped(const TZEKO& s) {
    const auto bandKept = [](uint8_t low, uint8_t centre, uint8_t high) {
        return EdgeKept(TBandEdge::Lower, low, centre) && EdgeKept(TBandEdge::Centre, centre, low) &&
               EdgeKept(TBandEdge::Upper, high, centre);
    };
    const auto timeKept = [](uint16_t minutes) { return BandTimeMinutes(BandTimeText(minutes)) == minutes; };
    const auto speedKept = [](uint16_t speed) {
        const std::string typed = std::to_string(speed);
        return CheckNumber(typed, NumberChecks::RegulationTime) == typed;
    };
    return bandKept(s.BandLow, s.BandCentre, s.BandHigh) && bandKept(s.Band2Low, s.Band2Centre, s.Band2High) &&
           timeKept(s.Band2Start) && timeKept(s.Band2End) && speedKept(s.SpeedUnder) && speedKept(s.SpeedOver) &&
           s.UseBand2 <= 1;
}

} // namespace

bool SettingsFileLoader(const uint8_t* data, size_t size) {
    const std::string path = WriteScratchFile("nastaveni.set", data, size);
    const TZEKO before = Installation();
    TZEKO loaded = before;
    const TSettingsFileCheck check = LoadSettingsFile(path, loaded);
    if (check.Fault != TSettingsFileFault::None)
        return SameRegulation(loaded, before) && SameOthers(loaded, before) &&
               SettingsFileRefusal(path, check).find(path) != std::string::npos;

    // What the file's own reader gives, but for the bits of the speed type that no
    // list shows.
    TZEKO read = before;
    read.LoadFromIni(path);
    read.SpeedType = static_cast<uint8_t>((read.SpeedType & ListBits) | (before.SpeedType & ~ListBits));
    if (!SameRegulation(loaded, read) || !SameOthers(loaded, before) || !TakenAsTyped(loaded))
        return false;

    const std::string again = ScratchDir() + "again.set";
    std::remove(again.c_str());
    loaded.SaveToIni(again);
    TZEKO reloaded = before;
    return LoadSettingsFile(again, reloaded).Fault == TSettingsFileFault::None && SameRegulation(reloaded, loaded);
}

} // namespace zeko::fuzz
