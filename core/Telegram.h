#pragma once
// The telegram of the regulator bus: its layout, its check bytes, the stations it
// knows, the header of a reply as the conversation reads it, and a hex printer.
// Builders and checks live in TKomunikace (Komunikace.h); the simulated regulator
// (tools/regsim) uses the same layout from here.
//
// | Offset | Size | Field                                                           |
// |--------|------|-----------------------------------------------------------------|
// | 0      | 1    | start byte 0xA5                                                 |
// | 1      | 1    | destination station (2 for a banked destination)                |
// | 2      | 1    | source station                                                  |
// | 3      | 1    | length byte: bits 4..0 = L, bits 7..5 = flag bits               |
// | 4      | 1    | header check: bytes 0..4 sum to 0 (mod 256)                     |
// | 5      | 0/1  | bank byte (banked destinations 100..114 only: destination - 100)|
// | next   | 1    | control: bit 7 write, bits 6..5 memory kind, bits 4..0 count    |
// | next   | 2    | register address, low byte first                                |
// | next   | n    | data bytes                                                      |
// | next   | 0..3 | CRC block (writes to a CRC destination: [marker [key]] CRC-8)   |
// | last   | 1    | data check: the bytes after the header check sum to 0           |
//
// L is the number of bytes after the header check minus 2 (a plain read: L = 2,
// 9 bytes in all), except for the one-byte write with CRC to station 8 whose key
// byte is not 0: its L is one higher than its bytes. On the wire each telegram is
// preceded by one lead byte 0xFF, covered by no check.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zeko {

namespace tlg {
constexpr uint8_t StartByte = 0xA5;
constexpr uint8_t LeadByte = 0xFF;
constexpr size_t MaxTelegram = 50;

constexpr size_t OffStart = 0;
constexpr size_t OffDestination = 1;
constexpr size_t OffSource = 2;
constexpr size_t OffLength = 3;
constexpr size_t OffHeaderCheck = 4;
constexpr size_t HeaderSize = 5;
// Unbanked telegrams; a banked one has its bank byte at 5 and the rest one later.
constexpr size_t OffBank = 5;
constexpr size_t OffControl = 5;
constexpr size_t OffAddressLow = 6;
constexpr size_t OffAddressHigh = 7;
constexpr size_t OffData = 8;

// L counts the bytes after the header check minus 2; a request carries its control
// byte and register address in front of its data, and ends with the data check.
constexpr size_t LengthOverhead = 2;
constexpr size_t AddressedBytes = 3;  // control byte and register address
constexpr size_t DataCheckBytes = 1;
constexpr size_t CrcBytes = 1;        // the CRC block of station 8: the bare CRC

constexpr uint8_t LengthMask = 0x1F;
constexpr uint8_t FlagMask = 0xE0;
constexpr uint8_t WriteBit = 0x80;
constexpr uint8_t KindMask = 0x60;
constexpr uint8_t KindShift = 5;
constexpr uint8_t CountMask = 0x1F;

constexpr uint8_t CrcMarker = 0xC2;         // CRC block of destinations other than 8
constexpr uint8_t CrcMarkerWithKey = 0xC3;  // the same, followed by the key byte

// Stations.
constexpr uint8_t StationPC = 63;
constexpr uint8_t StationRegulator = 8;
constexpr uint8_t StationBanked = 2;  // banked destinations 100..114 go out as 2

struct TStationRange {
    uint8_t First, Last;
    constexpr bool Holds(uint8_t station) const { return station >= First && station <= Last; }
};
// Destinations that go out as station 2 with a bank byte (destination - 100).
constexpr TStationRange BankedStations{100, 114};
// Telegrams to or from these stations pass every check.
constexpr TStationRange UncheckedStations{16, 17};
// Stations with a reply rule of their own (the own station decides).
constexpr TStationRange OwnRuleStations{55, 62};
// Of those, the ones whose replies pass when the own station is not 55.
constexpr TStationRange OwnRuleOpenStations{56, 62};
// A reply starts with the start byte and a destination of these stations, or
// ReplyStartAny.
constexpr TStationRange ReplyDestinations{55, 63};
constexpr uint8_t ReplyStartAny = 0xBF;
// The regulator may answer with bit 7 of its source station set.
constexpr uint8_t SourceStationMask = 0x7F;

// Memory kinds.
constexpr uint8_t KindSettings = 0;  // settings area, live values at 0xFF00
constexpr uint8_t KindWorking = 1;   // working registers, clock at 0xFF00
constexpr uint8_t KindRecords = 2;   // record memory
constexpr uint8_t KindIdent = 3;     // identification texts

constexpr uint8_t Control(bool write, uint8_t kind, uint8_t count) {
    return static_cast<uint8_t>((write ? WriteBit : 0) | ((kind & 3) << KindShift) | (count & CountMask));
}
constexpr uint8_t KindOf(uint8_t control) { return (control & KindMask) >> KindShift; }
// Where the control byte of a telegram lies: one later behind a bank byte.
inline size_t ControlOffset(const uint8_t* telegram) {
    return telegram[OffDestination] == StationBanked ? OffControl + 1 : OffControl;
}
} // namespace tlg

// The fields of a reply as the conversation's handlers see them.
struct TReplyHeader {
    uint8_t Source = 0;
    int DataLength = 0;     // bits 4..0 of the length byte, minus 2
    uint8_t Flags = 0;      // bits 7..5 of the length byte
    uint8_t Mode = 0;       // memory kind
    bool WriteAck = false;  // the reply answers a write
    uint16_t Address = 0;
    const uint8_t* Data = nullptr;
};
TReplyHeader DecodeReplyHeader(const uint8_t* frame);
// A reply from `source` to `destination` carrying the control byte, the register
// address and the data, with both check bytes.
std::vector<uint8_t> EncodeReply(uint8_t destination, uint8_t source, uint8_t control, uint16_t address,
                                 std::span<const uint8_t> data);
// Sets the header check and the data check (the last byte) of a whole frame.
void SetChecks(std::span<uint8_t> frame);

// (0 - sum of the bytes) mod 256: the value that makes the bytes sum to 0.
uint8_t NegatedSum(const uint8_t* bytes, size_t count);
// True when the bytes sum to 0 (mod 256), as a check byte makes its part of a frame.
bool SumsToZero(const uint8_t* bytes, size_t count);
// Sum of the one's complements of the bytes, mod 256.
uint8_t InvertedSum(const uint8_t* bytes, size_t count);
// 1-Wire CRC-8 (x^8 + x^5 + x^4 + 1, least significant bit first) from `start`;
// "123456789" from 0 gives 0xA1.
uint8_t Crc8(const uint8_t* bytes, size_t count, uint8_t start = 0);

// "A5 08 3F ..." (upper-case hex, one space between bytes).
std::string HexBytes(const uint8_t* bytes, size_t count);
template <class Container>
std::string HexBytes(const Container& bytes) {
    return HexBytes(bytes.data(), bytes.size());
}

} // namespace zeko
