#include "tools/regsim/Station.h"

#include "core/BinaryData.h"
#include "core/RegisterTables.h"
#include "core/Telegram.h"

#include <algorithm>

namespace zeko::regsim {
namespace {

using namespace zeko::tlg;

// The bytes after the header check of a request carrying `count` data bytes, without
// and with the CRC block of this station.
constexpr size_t PlainBody(size_t count) { return AddressedBytes + count + DataCheckBytes; }
constexpr size_t CrcBody(size_t count) { return PlainBody(count) + CrcBytes; }
constexpr size_t LengthByteOf(size_t body) { return body - LengthOverhead; }

// Bytes after the header check. Writes to this station are measured by their
// control byte: the length byte of a one-byte write with CRC may be one too high.
size_t BodyLength(const uint8_t* header) {
    const size_t length = header[OffLength] & LengthMask;
    const uint8_t control = header[OffControl];
    if (header[OffDestination] != Station::Address || !(control & WriteBit))
        return length + LengthOverhead;
    const size_t count = control & CountMask;
    if (length == LengthByteOf(PlainBody(count)))
        return PlainBody(count);
    if (length == LengthByteOf(CrcBody(count)) || (count == 1 && length == LengthByteOf(CrcBody(count)) + 1))
        return CrcBody(count);
    return length + LengthOverhead;
}

bool IsStartupWrite(uint8_t kind, uint8_t count, uint16_t address) {
    return kind == KindWorking && count == BytesOf(reg8::StartupWrite1) &&
           (address == Registers::StartWrite1 || address == Registers::StartWrite2);
}

} // namespace

std::vector<uint8_t> BuildReply(uint8_t destination, uint8_t control, uint16_t address,
                                const std::vector<uint8_t>& data) {
    return EncodeReply(destination, Station::Address, control, address, data);
}

std::vector<Exchange> Station::Receive(const uint8_t* data, size_t count) {
    buffer_.insert(buffer_.end(), data, data + count);
    std::vector<Exchange> out;
    size_t from = 0;
    for (;;) {
        const auto start = std::find(buffer_.begin() + from, buffer_.end(), StartByte);
        const size_t p = static_cast<size_t>(start - buffer_.begin());
        if (buffer_.size() < p + HeaderSize + 1)
            return out;
        if (!SumsToZero(&buffer_[p], HeaderSize)) {
            from = p + 1;
            continue;
        }
        const size_t body = BodyLength(&buffer_[p]);
        if (buffer_.size() < p + HeaderSize + body)
            return out;
        if (!SumsToZero(&buffer_[p + HeaderSize], body)) {
            from = p + 1;
            continue;
        }
        const size_t end = p + HeaderSize + body;
        Exchange e;
        e.Received.assign(buffer_.begin(), buffer_.begin() + end);
        e.Reply = Answer({buffer_.begin() + p, buffer_.begin() + end}, e.Note);
        buffer_.erase(buffer_.begin(), buffer_.begin() + end);
        from = 0;
        out.push_back(std::move(e));
    }
}

std::vector<uint8_t> Station::TakeStale() {
    std::vector<uint8_t> stale;
    stale.swap(buffer_);
    return stale;
}

std::vector<uint8_t> Station::Answer(const std::vector<uint8_t>& t, std::string& note) {
    if (t.size() < OffData + DataCheckBytes) {
        note = "too short for a request";  // no room for control byte, address and check
        return {};
    }
    if (t[OffDestination] != Address) {
        note = "not for station 8";
        return {};
    }
    const uint8_t control = t[OffControl];
    const uint16_t address = ReadWordLE(&t[OffAddressLow]);
    const uint8_t kind = KindOf(control);
    const uint8_t count = control & CountMask;
    if (!(control & WriteBit))
        return BuildReply(t[OffSource], control, address, memory_.Read(kind, address, count));

    const size_t body = t.size() - HeaderSize;
    if (body != CrcBody(count)) {
        note = "write without CRC";
        return {};
    }
    const uint8_t crc = t[OffData + count];
    if (Crc8(&t[OffControl], AddressedBytes + count, 0) != crc) {
        note = "wrong CRC";
        return {};
    }
    const std::vector<uint8_t> data(t.begin() + OffData, t.begin() + OffData + count);
    if (!memory_.Write(kind, address, data)) {
        note = "memory kind not writable";
        return {};
    }
    if (IsStartupWrite(kind, count, address)) {
        note = "start-up write";
        return {};
    }
    return BuildReply(t[OffSource], control, address, data);
}

} // namespace zeko::regsim
