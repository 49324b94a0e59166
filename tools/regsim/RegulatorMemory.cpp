#include "tools/regsim/RegulatorMemory.h"

#include "core/BinaryData.h"
#include "core/Calendar.h"
#include "tools/regsim/SiteLoad.h"

#include <algorithm>

namespace zeko::regsim {
namespace {

using namespace zeko::tlg;

constexpr size_t SpaceBytes = 0x10000;  // the 16-bit registers of one memory kind

bool IsBcd(uint8_t b) { return (b >> 4) <= 9 && (b & 0x0F) <= 9; }

bool Overlaps(uint16_t address, size_t count, uint16_t start, size_t size) {
    return address < start + size && start < address + count;
}

// Settings a small installation might have: 12 capacitive outputs, four meters (the
// simulated site's, SiteLoad.h).
TZEKO DefaultSettings() {
    TZEKO s;
    s.Switches = 0;  // no output expander
    s.OutputCount = 12;
    s.OutputTypes = 0;  // all capacitive
    std::copy(SiteOutputValues.begin(), SiteOutputValues.end(), s.OutputValues.begin());  // tenths of kVAr
    s.SmallestOutput = 25;
    s.SumC = 2575;
    s.DischargeTimes.fill(6);  // 60 s
    s.MeterConstants = SiteMeterConstants;  // impulses per unit x 100000
    s.InputFunctions = {0, 1, 2, 3};
    s.SpeedUnder = 60;
    s.SpeedOver = 30;
    s.SpeedType = 0;
    s.BandLow = 78;  // 0.950 / 0.970 / 0.990 as cos phi codes
    s.BandCentre = 98;
    s.BandHigh = 118;
    s.AveragingIndex = 1;
    s.NonAveragedPulse = 0;
    s.SensitivityIndex = 2;
    s.UnderWait = 3;
    s.Band2Low = 88;
    s.Band2Centre = 108;
    s.Band2High = 128;
    s.UseBand2 = 1;  // not used
    s.Band2Start = 6 * 60;
    s.Band2End = 22 * 60;
    s.FaultOutput = 0;
    s.FaultDelay = 10;
    return s;
}

void Put(std::vector<uint8_t>& space, uint16_t address, std::span<const uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), space.begin() + address);
}

} // namespace

RegulatorMemory::RegulatorMemory()
    : settings_(SpaceBytes, 0), working_(SpaceBytes, 0), ident_(SpaceBytes, ' '),
      clockSetAt_(std::chrono::steady_clock::now()), started_(clockSetAt_) {
    const TZEKO defaults = DefaultSettings();
    for (uint8_t index : StartupSettingsIndices)
        Put(settings_, RegisterOf(index), EncodeStartupSettings(RegisterOf(index), defaults));
    Put(settings_, Registers::LastBlock, EncodeLastSettingsBlock(defaults));
    // The working registers start as the settings area's twins.
    std::copy(settings_.begin() + Registers::SettingsArea, settings_.begin() + Registers::SettingsAreaEnd,
              working_.begin() + Registers::WorkingTwin(Registers::SettingsArea));
    SetIdentText(1, "ZEKO M7 v2.14");
    SetIdentText(2, "V\xFDr.\xE8. 000815");  // Windows-1250: "Výr.č."
    SetIdentText(3, "Regul\xE1tor M7 12/16");
    SetIdentText(4, "Kompenzace jalov\xE9ho v");
    PutIdent(reg8::IdentBlock, "ZEKO M7 hw 1.2 fw 2.14 /8 ");
    SetClock(Now());
}

void RegulatorMemory::PutIdent(uint8_t index, const std::string& text) {
    const uint16_t address = RegisterOf(index);
    for (uint8_t i = 0; i < BytesOf(index); ++i)
        ident_[address + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : ' ';
}

void RegulatorMemory::SetIdentText(int n, const std::string& text) {
    if (n >= 1 && n <= 4)
        PutIdent(static_cast<uint8_t>(reg8::IdentText1 + n - 1), text);
}

void RegulatorMemory::SetPointers(const RecordPointers& p) {
    const TPointerBytes block = EncodePointerBlock(p);
    Put(settings_, Registers::RecordPointers, block);
    Put(working_, Registers::RecordPointersWorking, block);
}

RecordPointers RegulatorMemory::Pointers() const { return DecodePointerBlock(&settings_[Registers::RecordPointers]); }

void RegulatorMemory::SetClock(TDateTime value) {
    clockAtSet_ = FromSeconds(ToSeconds(value));
    clockSetAt_ = std::chrono::steady_clock::now();
}

TDateTime RegulatorMemory::Clock() const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - clockSetAt_);
    return FromSeconds(ToSeconds(clockAtSet_) + elapsed.count());
}

TLiveValueBytes RegulatorMemory::LiveValues() const {
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    const SiteMoment site = LoadAt(siteSeed_, Clock());
    TZEKO live;
    live.ActivePower = site.Active;      // kW
    live.ReactivePower = site.Reactive;  // kVAr
    live.LiveWords.OutputStates = site.Outputs;
    live.LiveWords.NextStepTime = static_cast<uint16_t>(30 - static_cast<int>(t) % 30);
    live.LiveWords.BandWord = 0;          // the first band
    live.LiveWords.RegulationState = 12;  // " Reg"
    live.LiveWords.RecordTime = static_cast<uint16_t>(ToSeconds(Clock()) % 900);
    return EncodeLiveValues(live);
}

uint8_t RegulatorMemory::ByteAt(uint8_t kind, uint16_t address) const {
    switch (kind) {
    case KindSettings: return settings_[address];
    case KindWorking: return working_[address];
    case KindIdent: return ident_[address];
    default: return 0xFF;
    }
}

std::vector<uint8_t> RegulatorMemory::Read(uint8_t kind, uint16_t address, uint8_t count) const {
    std::vector<uint8_t> out(count);
    if (kind == KindRecords) {
        const uint32_t base = RecordMemoryAddress(settings_[Registers::RecordAddressHigh], address);
        for (uint8_t i = 0; i < count; ++i)
            out[i] = ring_.ByteAt(base + i);
        return out;
    }
    const auto live = LiveValues();
    const auto clock = EncodeClock(Clock());
    for (uint8_t i = 0; i < count; ++i) {
        const uint16_t a = static_cast<uint16_t>(address + i);
        if (kind == KindSettings && a >= Registers::LiveValues && a < Registers::LiveValues + live.size())
            out[i] = live[a - Registers::LiveValues];
        else if (kind == KindWorking && a >= Registers::Clock && a < Registers::Clock + clock.size())
            out[i] = clock[a - Registers::Clock];
        else
            out[i] = ByteAt(kind, a);
    }
    return out;
}

void RegulatorMemory::MirrorPointers(uint16_t fromAddress, std::vector<uint8_t>& from, std::vector<uint8_t>& to) {
    const uint16_t toAddress =
        fromAddress == Registers::RecordPointers ? Registers::RecordPointersWorking : Registers::RecordPointers;
    std::copy(from.begin() + fromAddress, from.begin() + fromAddress + RecordPointerBytes, to.begin() + toAddress);
}

bool RegulatorMemory::Write(uint8_t kind, uint16_t address, const std::vector<uint8_t>& data) {
    if (kind != KindSettings && kind != KindWorking)
        return false;
    if (kind == KindWorking && address == Registers::Clock && data.size() == ClockBytes) {
        namespace L = ClockLayout;
        bool valid = true;
        for (uint8_t b : data)
            valid = valid && IsBcd(b);
        TDateTime date, time;
        if (valid &&
            TryEncodeDate(ExpandYear(FromBcd(data[L::Year])), FromBcd(data[L::Month]), FromBcd(data[L::Day]), date) &&
            TryEncodeTime(FromBcd(data[L::Hour]), FromBcd(data[L::Minute]), FromBcd(data[L::Second]), 0, time))
            SetClock(date + time);
        return true;
    }
    std::vector<uint8_t>& space = kind == KindSettings ? settings_ : working_;
    for (size_t i = 0; i < data.size(); ++i)
        space[static_cast<uint16_t>(address + i)] = data[i];
    const uint16_t pointers = kind == KindSettings ? Registers::RecordPointers : Registers::RecordPointersWorking;
    if (Overlaps(address, data.size(), pointers, RecordPointerBytes))
        MirrorPointers(pointers, space, kind == KindSettings ? working_ : settings_);
    return true;
}

void RegulatorMemory::Poke(uint8_t kind, uint16_t address, const std::vector<uint8_t>& data) {
    if (kind == KindRecords || kind > KindIdent)
        return;  // the ring is filled by Generate
    std::vector<uint8_t>& space = kind == KindSettings ? settings_ : kind == KindWorking ? working_ : ident_;
    for (size_t i = 0; i < data.size(); ++i)
        space[static_cast<uint16_t>(address + i)] = data[i];
}

} // namespace zeko::regsim
