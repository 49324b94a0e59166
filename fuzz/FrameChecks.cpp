#include "fuzz/FrameChecks.h"

#include "core/FrameParser.h"
#include "core/BinaryData.h"
#include "core/Komunikace.h"

#include <algorithm>


namespace zeko::fuzz {
namespace {

using namespace zeko::tlg;

// Reads the input front to back; past its end every byte is 0.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    size_t Left() const { return size_ - pos_; }
    const uint8_t* Here() const { return data_ + pos_; }
    void Skip(size_t n) { pos_ += std::min(n, Left()); }

private:
    const uint8_t* data_;
    size_t size_, pos_ = 0;
};

bool In(uint8_t v, uint8_t low, uint8_t high) { return v >= low && v <= high; }

// A built telegram has both checks right and a length byte that fits it.
bool WellBuilt(const TKomunikace& k) {
    const size_t n = k.FrameLength();
    const uint8_t* f = k.FrameBuffer().data();
    if (n < 9 || n > MaxTelegram || f[0] != StartByte || !SumsToZero(f, HeaderSize) ||
        !SumsToZero(f + HeaderSize, n - HeaderSize))
        return false;
    const size_t length = f[OffLength] & LengthMask;
    // Only the one-byte write with CRC and a key to station 8 claims a byte more.
    return length + 7 == n || length + 6 == n;
}

// The queue is length entries each followed by that many bytes, nothing else.
bool QueueInShape(const TKomunikace& k) {
    size_t entries = 0;
    const auto telegrams = k.QueuedTelegrams();
    for (const auto& t : telegrams)
        entries += t.size() + 1;
    return entries == static_cast<size_t>(k.QueueCount()) && telegrams.size() == k.QueuedCount();
}

// Builds a telegram with one of the builders and queues or sends it; false when
// a rule broke.
bool BuildAndQueue(TKomunikace& k, Input& in) {
    const uint8_t how = in.Byte();
    const uint8_t source = in.Byte(), destination = in.Byte();
    const uint8_t write = in.Byte() & 1, mode = in.Byte() & 3;
    const uint16_t address = static_cast<uint16_t>(in.Byte() | in.Byte() << 8);
    const uint8_t count = in.Byte(), key = in.Byte();
    for (uint8_t i = 1; i <= 8; ++i)
        k.SetDataByte(static_cast<uint8_t>(i * 5), in.Byte());
    bool built = false;
    switch (how % 6) {
    case 0: built = k.QueueTelegram(source, destination, write, mode, address, count, key); break;
    case 1: built = k.QueueTableTelegram(source, destination, write, mode, count); break;
    case 2: built = k.QueueTelegramFirst(source, destination, write, mode, address, count, key & 1); break;
    case 3: k.DropIfLastSent(source, destination, write, mode, count); break;
    case 4: k.DropHead(); break;
    case 5: k.DropAfterSend = key & 1; k.SendNext(); break;
    }
    if (built && !WellBuilt(k))
        return false;
    return QueueInShape(k);
}

// What the check lets through without looking at the address or the last telegram.
bool PassesWithoutMatch(const uint8_t* f) {
    return In(f[1], 16, 17) || In(f[2], 16, 17) || In(f[1], 55, 62) || In(f[2], 55, 62) ||
           (f[OffLength] & FlagMask) == 0x80 || (f[5] == 0x12 && f[6] == 0x00 && f[7] == 0x01);
}

} // namespace

bool FrameChecks(const uint8_t* data, size_t size) {
    Input in(data, size);
    TKomunikace k;
    k.DirectionControl = false;  // no port, no waits
    const uint8_t switches = in.Byte();
    k.MatchLastSent = switches & 1;
    k.ReplyCheck = switches & 2;
    k.RejectDuplicates = switches & 4;
    if (switches & 8)
        k.CrcDestinations.set(8);
    if (switches & 16)
        k.CrcDestinations.set(in.Byte());
    const uint8_t low = in.Byte(), high = in.Byte();
    k.SetAddressRange(static_cast<uint16_t>(low << 8), static_cast<uint16_t>(high << 8 | 0xFF));

    bool ok = true;
    for (uint8_t steps = in.Byte() % 8; steps > 0 && ok; --steps)
        ok = BuildAndQueue(k, in);

    TFrameParser parser(k);
    parser.OnRegulatorReply = [&](const uint8_t* f) {
        const size_t n = HeaderSize + (f[OffLength] & LengthMask) + 2u;
        if (f[0] != StartByte || !SumsToZero(f, HeaderSize) || !SumsToZero(f + HeaderSize, n - HeaderSize) ||
            (f[OffSource] & 0x7F) != StationRegulator)
            ok = false;
        if (!PassesWithoutMatch(f)) {
            const uint16_t address = ReadWordLE(f + OffAddressLow);
            if (address < k.MinAddress || address > k.MaxAddress || (k.MatchLastSent && !k.MatchesLastSent(f)))
                ok = false;
        }
    };
    // The rest arrives in pieces, as the port's polls would deliver it.
    const uint8_t pieces = in.Byte();
    for (unsigned i = 0; in.Left() > 0 && ok; ++i) {
        const size_t n = std::min<size_t>(in.Left(), 1 + (pieces + i * 7) % 23);
        parser.ReceiveBytes(in.Here(), n);
        k.CheckFrame(in.Here(), n, 0, 0);
        k.CheckFrame(in.Here(), n, 1, static_cast<uint8_t>(i));
        in.Skip(n);
        if (parser.ReceiveBuffer.size() > size)
            ok = false;
    }
    return ok && QueueInShape(k);
}

} // namespace zeko::fuzz
