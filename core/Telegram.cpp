#include "core/Telegram.h"

#include "core/BinaryData.h"

#include <algorithm>

namespace zeko {

uint8_t NegatedSum(const uint8_t* bytes, size_t count) {
    uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum = static_cast<uint8_t>(sum + bytes[i]);
    return static_cast<uint8_t>(0 - sum);
}

bool SumsToZero(const uint8_t* bytes, size_t count) {
    return NegatedSum(bytes, count) == 0;
}

uint8_t InvertedSum(const uint8_t* bytes, size_t count) {
    uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum = static_cast<uint8_t>(sum + (255 - bytes[i]));
    return sum;
}

uint8_t Crc8(const uint8_t* bytes, size_t count, uint8_t start) {
    uint8_t crc = start;
    for (size_t i = 0; i < count; ++i) {
        uint8_t byte = bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            if ((crc ^ byte) & 1)
                crc = static_cast<uint8_t>(((crc ^ 0x18) >> 1) | 0x80);
            else
                crc = static_cast<uint8_t>(crc >> 1);
            byte = static_cast<uint8_t>(byte >> 1);
        }
    }
    return crc;
}

TReplyHeader DecodeReplyHeader(const uint8_t* frame) {
    TReplyHeader h;
    h.Source = frame[tlg::OffSource];
    h.DataLength = static_cast<int>(frame[tlg::OffLength] & tlg::LengthMask) - static_cast<int>(tlg::LengthOverhead);
    h.Flags = static_cast<uint8_t>(frame[tlg::OffLength] >> 5);
    h.Mode = tlg::KindOf(frame[tlg::OffControl]);
    h.WriteAck = (frame[tlg::OffControl] & tlg::WriteBit) != 0;
    h.Address = ReadWordLE(frame + tlg::OffAddressLow);
    h.Data = frame + tlg::OffData;
    return h;
}

void SetChecks(std::span<uint8_t> f) {
    f[tlg::OffHeaderCheck] = NegatedSum(f.data(), tlg::OffHeaderCheck);
    f.back() = NegatedSum(f.data() + tlg::HeaderSize, f.size() - tlg::HeaderSize - tlg::DataCheckBytes);
}

std::vector<uint8_t> EncodeReply(uint8_t destination, uint8_t source, uint8_t control, uint16_t address,
                                 std::span<const uint8_t> data) {
    std::vector<uint8_t> f(tlg::OffData + data.size() + tlg::DataCheckBytes);
    f[tlg::OffStart] = tlg::StartByte;
    f[tlg::OffDestination] = destination;
    f[tlg::OffSource] = source;
    f[tlg::OffLength] = static_cast<uint8_t>(tlg::AddressedBytes + data.size() + tlg::DataCheckBytes - tlg::LengthOverhead);
    f[tlg::OffControl] = control;
    WriteWordLE(&f[tlg::OffAddressLow], address);
    std::copy(data.begin(), data.end(), f.begin() + tlg::OffData);
    SetChecks(f);
    return f;
}

std::string HexBytes(const uint8_t* bytes, size_t count) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        if (i)
            text += ' ';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

} // namespace zeko
