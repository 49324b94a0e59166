#include "core/Telegram.h"

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
