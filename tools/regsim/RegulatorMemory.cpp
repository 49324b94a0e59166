#include "tools/regsim/RegulatorMemory.h"

#include "core/BinaryData.h"
#include "core/Calendar.h"

#include <cmath>
#include <cstring>

namespace zeko::regsim {
namespace {

constexpr size_t SpaceBytes = 0x10000;

struct IdentPlace {
    uint16_t address;
    uint8_t size;
};
constexpr IdentPlace kIdentPlaces[] = {{0x0070, 15}, {0x0080, 15}, {0x0090, 17}, {0x00A2, 21}};

bool IsBcd(uint8_t b) { return (b >> 4) <= 9 && (b & 0x0F) <= 9; }

bool Overlaps(uint16_t address, size_t count, uint16_t start, size_t size) {
    return address < start + size && start < address + count;
}

// Settings a small installation might have: 12 capacitive outputs, four meters.
void DefaultSettings(std::vector<uint8_t>& s) {
    s[0x0E02] = 0x00;  // switches: no output expander
    s[0x0E08] = 11;    // 12 outputs
    s[0x0E09] = 0x00;  // output types: all capacitive
    s[0x0E0A] = 0x00;
    const uint16_t values[16] = {25, 50, 100, 100, 200, 200, 200, 200, 300, 300, 300, 300, 0, 0, 0, 0};
    for (int i = 0; i < 16; ++i)
        WriteWordLE(&s[0x0E0B + 2 * i], values[i]);  // tenths of kVAr
    WriteWordLE(&s[0x0E2B], 25);
    WriteInt24LE(&s[0x0E2D], 2575);
    WriteInt24LE(&s[0x0E30], 0);
    for (int i = 0; i < 16; ++i)
        s[0x0E33 + i] = 6;  // discharge 60 s
    WriteDWordLE(&s[0x0E50], 1000u * 100000u);  // impulses per unit x 100000
    WriteDWordLE(&s[0x0E54], 1000u * 100000u);
    WriteDWordLE(&s[0x0E58], 1000u * 100000u);
    WriteDWordLE(&s[0x0E5C], 100000u);
    const uint8_t functions[8] = {0, 1, 2, 3, 0, 0, 0, 0};
    std::memcpy(&s[0x0E70], functions, 8);
    // The last settings block at 0x0E80.
    WriteWordLE(&s[0x0E80], 60);  // speed under
    WriteWordLE(&s[0x0E82], 30);  // speed over
    s[0x0E84] = 0;         // speed type
    s[0x0E86] = 78;        // band: 0.950 / 0.970 / 0.990 as cos phi codes
    s[0x0E87] = 98;
    s[0x0E88] = 118;
    s[0x0E89] = 0;
    s[0x0E8A] = 0;
    s[0x0E8B] = 1;   // averaging index
    s[0x0E8C] = 0;   // non-averaged pulse
    s[0x0E8D] = 2;   // sensitivity
    s[0x0E8E] = 3;   // under wait
    s[0x0E8F] = 88;  // second band
    s[0x0E90] = 108;
    s[0x0E91] = 128;
    WriteWordLE(&s[0x0E92], 0x8000 | 360);  // second band not used; 6:00
    WriteWordLE(&s[0x0E94], 1320);          // 22:00
    s[0x0E96] = 0;                   // fault output
    s[0x0E97] = 10;                  // fault delay
}

} // namespace

RegulatorMemory::RegulatorMemory()
    : settings_(SpaceBytes, 0), working_(SpaceBytes, 0), ident_(SpaceBytes, ' '),
      clockSetAt_(std::chrono::steady_clock::now()), started_(clockSetAt_) {
    DefaultSettings(settings_);
    // The working registers start as the settings area's twins (0x0Exx -> 0x00xx).
    std::copy(settings_.begin() + 0x0E00, settings_.begin() + 0x0F00, working_.begin());
    SetIdentText(1, "ZEKO M7 v2.14");
    SetIdentText(2, "V\xFDr.\xE8. 000815");  // Windows-1250: "Výr.č."
    SetIdentText(3, "Regul\xE1tor M7 12/16");
    SetIdentText(4, "Kompenzace jalov\xE9ho v");
    const char block[] = "ZEKO M7 hw 1.2 fw 2.14 /8 ";
    std::memcpy(&ident_[0x0100], block, 26);
    SetClock(Now());
}

void RegulatorMemory::SetIdentText(int n, const std::string& text) {
    if (n < 1 || n > 4)
        return;
    const IdentPlace& place = kIdentPlaces[n - 1];
    for (uint8_t i = 0; i < place.size; ++i)
        ident_[place.address + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : ' ';
}

void RegulatorMemory::SetPointers(const RecordPointers& p) {
    std::vector<uint8_t> block(PointersSize);
    WriteInt24LE(&block[0], p.Newest);
    block[3] = p.Flag;
    WriteInt24LE(&block[4], p.OldestUnread);
    std::copy(block.begin(), block.end(), settings_.begin() + PointersSettings);
    std::copy(block.begin(), block.end(), working_.begin() + PointersWorking);
}

RecordPointers RegulatorMemory::Pointers() const {
    const uint8_t* b = &settings_[PointersSettings];
    RecordPointers p;
    p.Newest = ReadInt24LE(b);
    p.Flag = b[3];
    p.OldestUnread = ReadInt24LE(b + 4);
    return p;
}

void RegulatorMemory::SetClock(TDateTime value) {
    clockAtSet_ = FromSeconds(ToSeconds(value));
    clockSetAt_ = std::chrono::steady_clock::now();
}

TDateTime RegulatorMemory::Clock() const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - clockSetAt_);
    return FromSeconds(ToSeconds(clockAtSet_) + elapsed.count());
}

std::array<uint8_t, 7> RegulatorMemory::ClockBytes() const {
    const TDateTime now = Clock();
    const DateParts d = DecodeDate(now);
    const TimeParts t = DecodeTime(now);
    return {ToBcd(t.Second), ToBcd(t.Minute), ToBcd(t.Hour), ToBcd(d.Day),
            ToBcd(d.Month), ToBcd(WeekdayMondayFirst(now)), ToBcd(ShortYear(d.Year))};
}

std::array<uint8_t, 16> RegulatorMemory::LiveValues() const {
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    std::array<uint8_t, 16> v{};
    WriteSingleLE(&v[0], static_cast<float>(12500.0 + 1500.0 * std::sin(t / 30.0)));  // W
    WriteSingleLE(&v[4], static_cast<float>(-3200.0 + 2500.0 * std::sin(t / 47.0)));  // VAr
    const int switched = 3 + static_cast<int>(t / 20) % 5;
    WriteWordLE(&v[8], static_cast<uint16_t>((1u << switched) - 1));  // outputs on
    WriteWordLE(&v[10], static_cast<uint16_t>(30 - static_cast<int>(t) % 30));  // next step
    v[12] = 0;  // first band active
    v[13] = 12; // regulation state " Reg"
    WriteWordLE(&v[14], static_cast<uint16_t>(ToSeconds(Clock()) % 900));  // record time
    return v;
}

uint8_t RegulatorMemory::ByteAt(uint8_t kind, uint16_t address) const {
    switch (kind) {
    case 0: return settings_[address];
    case 1: return working_[address];
    case 3: return ident_[address];
    default: return 0xFF;
    }
}

std::vector<uint8_t> RegulatorMemory::Read(uint8_t kind, uint16_t address, uint8_t count) const {
    std::vector<uint8_t> out(count);
    if (kind == 2) {
        const uint32_t base = static_cast<uint32_t>(settings_[RecordAddressHigh]) << 16 | address;
        for (uint8_t i = 0; i < count; ++i)
            out[i] = ring_.ByteAt(base + i);
        return out;
    }
    const auto live = LiveValues();
    const auto clock = ClockBytes();
    for (uint8_t i = 0; i < count; ++i) {
        const uint16_t a = static_cast<uint16_t>(address + i);
        if (kind == 0 && a >= LiveValuesAddress && a < LiveValuesAddress + live.size())
            out[i] = live[a - LiveValuesAddress];
        else if (kind == 1 && a >= ClockAddress && a < ClockAddress + clock.size())
            out[i] = clock[a - ClockAddress];
        else
            out[i] = ByteAt(kind, a);
    }
    return out;
}

void RegulatorMemory::MirrorPointers(uint16_t fromAddress, std::vector<uint8_t>& from, std::vector<uint8_t>& to) {
    const uint16_t toAddress = fromAddress == PointersSettings ? PointersWorking : PointersSettings;
    std::copy(from.begin() + fromAddress, from.begin() + fromAddress + PointersSize, to.begin() + toAddress);
}

bool RegulatorMemory::Write(uint8_t kind, uint16_t address, const std::vector<uint8_t>& data) {
    if (kind > 1)
        return false;
    if (kind == 1 && address == ClockAddress && data.size() == 7) {
        bool valid = true;
        for (uint8_t b : data)
            valid = valid && IsBcd(b);
        TDateTime date, time;
        if (valid && TryEncodeDate(ExpandYear(FromBcd(data[6])), FromBcd(data[4]), FromBcd(data[3]), date) &&
            TryEncodeTime(FromBcd(data[2]), FromBcd(data[1]), FromBcd(data[0]), 0, time))
            SetClock(date + time);
        return true;
    }
    std::vector<uint8_t>& space = kind == 0 ? settings_ : working_;
    for (size_t i = 0; i < data.size(); ++i)
        space[static_cast<uint16_t>(address + i)] = data[i];
    const uint16_t pointers = kind == 0 ? PointersSettings : PointersWorking;
    if (Overlaps(address, data.size(), pointers, PointersSize))
        MirrorPointers(pointers, space, kind == 0 ? working_ : settings_);
    return true;
}

void RegulatorMemory::Poke(uint8_t kind, uint16_t address, const std::vector<uint8_t>& data) {
    if (kind == 2 || kind > 3)
        return;  // the ring is filled by Generate
    std::vector<uint8_t>& space = kind == 0 ? settings_ : kind == 1 ? working_ : ident_;
    for (size_t i = 0; i < data.size(); ++i)
        space[static_cast<uint16_t>(address + i)] = data[i];
}

} // namespace zeko::regsim
