#include "tools/regsim/Station.h"

#include "core/BinaryData.h"
#include "core/Telegram.h"

#include <algorithm>

namespace zeko::regsim {
namespace {

using namespace zeko::tlg;

// Bytes after the header check. Writes to this station are measured by their
// control byte: the length byte of a one-byte write with CRC may be one too high.
size_t BodyLength(const uint8_t* header) {
    const size_t length = header[OffLength] & LengthMask;
    const uint8_t control = header[OffControl];
    if (header[OffDestination] != Station::Address || !(control & WriteBit))
        return length + 2;
    const size_t count = control & CountMask;
    if (length == count + 2)
        return count + 4;  // no CRC block
    if (length == count + 3 || (count == 1 && length == count + 4))
        return count + 5;
    return length + 2;
}

} // namespace

std::vector<uint8_t> BuildReply(uint8_t destination, uint8_t control, uint16_t address,
                                const std::vector<uint8_t>& data) {
    std::vector<uint8_t> f = {StartByte, destination, Station::Address, static_cast<uint8_t>(data.size() + 2), 0,
                              control, static_cast<uint8_t>(address), static_cast<uint8_t>(address >> 8)};
    f[OffHeaderCheck] = NegatedSum(f.data(), OffHeaderCheck);
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(NegatedSum(f.data() + HeaderSize, f.size() - HeaderSize));
    return f;
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
    if (t.size() < OffData + 1) {
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
    if (body != count + 5u) {
        note = "write without CRC";
        return {};
    }
    const uint8_t crc = t[OffData + count];
    if (Crc8(&t[OffControl], 3u + count, 0) != crc) {
        note = "wrong CRC";
        return {};
    }
    const std::vector<uint8_t> data(t.begin() + OffData, t.begin() + OffData + count);
    if (!memory_.Write(kind, address, data)) {
        note = "memory kind not writable";
        return {};
    }
    if (kind == KindWorking && count == 1 && (address == 0x0000 || address == 0x0001)) {
        note = "start-up write";
        return {};
    }
    return BuildReply(t[OffSource], control, address, data);
}

} // namespace zeko::regsim
