#include "core/FrameParser.h"

#include "core/Komunikace.h"
#include "core/RegisterTables.h"

#include <gtest/gtest.h>

using namespace zeko;
using Bytes = std::vector<uint8_t>;

namespace {

// The parser in front of a link layer that has just sent the read of 0x0E02.
class Parser : public ::testing::Test {
protected:
    Parser() : parser(k) {
        k.SetAddressRange(0, 65535);
        k.MatchLastSent = true;
        k.DirectionControl = false;
        k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
        k.SendNext();
        parser.OnRegulatorReply = [this](const uint8_t* frame) {
            replies.push_back(HexBytes(frame, 5 + (frame[3] & 0x1F) + 2));
        };
    }

    void Feed(const Bytes& bytes) { parser.ReceiveBytes(bytes.data(), bytes.size()); }

    TKomunikace k;
    TFrameParser parser;
    std::vector<std::string> replies;
};

const Bytes kReply = {0xA5, 0x3F, 0x08, 0x03, 0x11, 0x01, 0x02, 0x0E, 0x00, 0xEF};
const std::string kReplyHex = "A5 3F 08 03 11 01 02 0E 00 EF";

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

} // namespace

TEST_F(Parser, AReplyIsHandedOverWhenItsLastByteArrives) {
    for (size_t i = 0; i + 1 < kReply.size(); ++i)
        Feed({kReply[i]});
    EXPECT_TRUE(replies.empty());
    Feed({kReply.back()});
    EXPECT_EQ(replies, std::vector<std::string>{kReplyHex});
    EXPECT_TRUE(parser.ReceiveBuffer.empty());
}

TEST_F(Parser, TwoRepliesInOneCallAreBothHandledInOrder) {
    Feed(Join({kReply, kReply}));
    EXPECT_EQ(replies, (std::vector<std::string>{kReplyHex, kReplyHex}));
}

TEST_F(Parser, OurOwnEchoIsNoStart) {
    // FF A5 08 3F ...: 0x08 is no station 55..63, so nothing starts there.
    Feed(Join({{0xFF, 0xA5, 0x08, 0x3F, 0x02, 0x12, 0x01, 0x02, 0x0E, 0xEF}, kReply}));
    EXPECT_EQ(replies, std::vector<std::string>{kReplyHex});
}

TEST_F(Parser, SevenBytesWaitForAnEighth) {
    Feed({0xA5, 0x3F, 0x08, 0x00, 0x14, 0x00, 0x00});
    EXPECT_EQ(parser.ReceiveBuffer.size(), 7u);
    Feed({0x55});
    EXPECT_EQ(parser.ReceiveBuffer.size(), 1u);  // a 7-byte frame consumed
}

TEST_F(Parser, NoiseIsDroppedWithTheNextFrame) {
    Feed(Join({{0x00, 0x13, 0xA5, 0x08, 0x55}, kReply}));
    EXPECT_EQ(replies, std::vector<std::string>{kReplyHex});
    EXPECT_TRUE(parser.ReceiveBuffer.empty());
    // Noise without 0xA5 near its end goes at once; with 0xA5 at the end it waits.
    Feed({1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_TRUE(parser.ReceiveBuffer.empty());
    Feed({1, 2, 3, 4, 5, 6, 7, 0xA5});
    EXPECT_EQ(parser.ReceiveBuffer.size(), 8u);
}

TEST_F(Parser, ABadHeaderDropsFiveBytesAndEndsTheCall) {
    Bytes bad = kReply;
    bad[4] = 0x12;  // the header sums to 1
    Feed(Join({bad, kReply}));
    EXPECT_TRUE(replies.empty());
    EXPECT_EQ(parser.ReceiveBuffer.size(), bad.size() - 5 + kReply.size());
    Feed({});  // the next bytes, even none, let the rest be parsed
    EXPECT_EQ(replies, std::vector<std::string>{kReplyHex});
}

TEST_F(Parser, FramesThatFailAChecksAreConsumedWithoutEffect) {
    Bytes badData = kReply;
    badData[8] = 0x01;  // the data no longer sum to 0
    Bytes wrongRegister = {0xA5, 0x3F, 0x08, 0x03, 0x11, 0x01, 0x03, 0x0E, 0x00, 0xEE};
    Bytes otherStation = {0xA5, 0x3F, 0x09, 0x03, 0x10, 0x01, 0x02, 0x0E, 0x00, 0xEF};
    k.MatchLastSent = false;  // only the station keeps this one out
    Feed(Join({badData, otherStation, kReply}));
    EXPECT_EQ(replies, std::vector<std::string>{kReplyHex});
    k.MatchLastSent = true;
    Feed(Join({wrongRegister, kReply}));
    EXPECT_EQ(replies, (std::vector<std::string>{kReplyHex, kReplyHex}));
    EXPECT_TRUE(parser.ReceiveBuffer.empty());
}

TEST_F(Parser, ASourceWithBitSevenCountsAsTheRegulator) {
    k.MatchLastSent = false;
    Feed({0xA5, 0xBF, 0x88, 0x03, 0x11, 0x01, 0x02, 0x0E, 0x00, 0xEF});
    EXPECT_EQ(replies.size(), 1u);
}
