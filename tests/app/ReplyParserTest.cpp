#include "app/ReplyParser.h"

#include <gtest/gtest.h>

using namespace zeko;

namespace {

using Bytes = std::vector<uint8_t>;

uint8_t Negated(const Bytes& b, size_t from, size_t to) {
    uint8_t s = 0;
    for (size_t i = from; i < to; ++i)
        s = static_cast<uint8_t>(s + b[i]);
    return static_cast<uint8_t>(-s);
}

// A reply of station 8 to the PC (63).
Bytes Reply(uint8_t control, uint16_t address, const Bytes& data) {
    Bytes f{0xA5, 0x3F, 0x08, static_cast<uint8_t>(data.size() + 2)};
    f.push_back(Negated(f, 0, 4));
    f.push_back(control);
    f.push_back(static_cast<uint8_t>(address));
    f.push_back(static_cast<uint8_t>(address >> 8));
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(Negated(f, 5, f.size()));
    return f;
}

struct Collected {
    std::vector<Bytes> frames;
    TReplyParser::FrameHandler Handler() {
        return [this](const uint8_t* f, size_t n) { frames.emplace_back(f, f + n); };
    }
};

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

} // namespace

TEST(ReplyParser, TheRegulatorsFirstReplyIsCutOutAndDecoded) {
    const Bytes reply{0xA5, 0x3F, 0x08, 0x03, 0x11, 0x01, 0x02, 0x0E, 0x00, 0xEF};
    EXPECT_EQ(Reply(0x01, 0x0E02, {0x00}), reply);
    TReplyParser parser;
    Collected got;
    parser.Append(reply.data(), reply.size());
    parser.ParseReceivedFrames(got.Handler());
    ASSERT_EQ(got.frames.size(), 1u);
    EXPECT_EQ(got.frames[0], reply);
    EXPECT_TRUE(parser.ReceiveBuffer().empty());
    const TReplyHeader h = DecodeReplyHeader(parser.ReceivedFrame().data());
    EXPECT_EQ(h.Source, 8);
    EXPECT_EQ(h.DataLength, 1);
    EXPECT_EQ(h.Mode, 0);
    EXPECT_FALSE(h.WriteAck);
    EXPECT_EQ(h.Address, 0x0E02);
    EXPECT_EQ(h.Data[0], 0x00);
}

TEST(ReplyParser, HeaderFieldsOfAWriteAcknowledgementOfTheWorkingRegisters) {
    const Bytes ack = Reply(0x80 | 0x20 | 4, 0x007C, {0, 5, 0, 0});
    const TReplyHeader h = DecodeReplyHeader(ack.data());
    EXPECT_TRUE(h.WriteAck);
    EXPECT_EQ(h.Mode, 1);
    EXPECT_EQ(h.Address, 0x007C);
    EXPECT_EQ(h.DataLength, 4);
}

TEST(ReplyParser, OurOwnEchoedTelegramIsNoStartAndIsDroppedWithTheNextFrame) {
    const Bytes echo{0xFF, 0xA5, 0x08, 0x3F, 0x02, 0x12, 0x01, 0x02, 0x0E, 0xEF};
    const Bytes reply = Reply(0x01, 0x0E02, {0x07});
    TReplyParser parser;
    Collected got;
    const Bytes all = Concat({echo, reply});
    parser.Append(all.data(), all.size());
    parser.ParseReceivedFrames(got.Handler());
    ASSERT_EQ(got.frames.size(), 1u);
    EXPECT_EQ(got.frames[0], reply);
    EXPECT_TRUE(parser.ReceiveBuffer().empty());
}

TEST(ReplyParser, SplitReplyIsParsedWhenItsLastByteArrivesAndTwoRepliesInOneCallBothCome) {
    const Bytes a = Reply(0x10, 0xFF00, Bytes(16, 0x11));
    const Bytes b = Reply(0x61, 0x0070, Bytes(15, 'Z'));
    TReplyParser parser;
    Collected got;
    for (size_t i = 0; i + 1 < a.size(); ++i) {
        parser.Append(&a[i], 1);
        parser.ParseReceivedFrames(got.Handler());
    }
    EXPECT_TRUE(got.frames.empty());
    parser.Append(&a.back(), 1);
    parser.ParseReceivedFrames(got.Handler());
    ASSERT_EQ(got.frames.size(), 1u);
    const Bytes both = Concat({a, b});
    parser.Append(both.data(), both.size());
    parser.ParseReceivedFrames(got.Handler());
    ASSERT_EQ(got.frames.size(), 3u);
    EXPECT_EQ(got.frames[1], a);
    EXPECT_EQ(got.frames[2], b);
}

TEST(ReplyParser, SevenBytesAreNeverParsed) {
    const Bytes reply = Reply(0x01, 0x0E02, {0x00});
    TReplyParser parser;
    Collected got;
    parser.Append(reply.data(), 7);
    parser.ParseReceivedFrames(got.Handler());
    EXPECT_EQ(parser.ReceiveBuffer().size(), 7u);
    parser.Append(reply.data() + 7, 3);
    parser.ParseReceivedFrames(got.Handler());
    EXPECT_EQ(got.frames.size(), 1u);
}

TEST(ReplyParser, BadHeaderDropsThroughItsFifthByteAndEndsTheCall) {
    Bytes bad = Reply(0x01, 0x0E02, {0x00});
    bad[4] = static_cast<uint8_t>(bad[4] + 1);  // header sums to 1
    const Bytes good = Reply(0x01, 0x0E02, {0x00});
    TReplyParser parser;
    Collected got;
    const Bytes all = Concat({bad, good});
    parser.Append(all.data(), all.size());
    parser.ParseReceivedFrames(got.Handler());
    EXPECT_TRUE(got.frames.empty());
    EXPECT_EQ(parser.ReceiveBuffer().size(), all.size() - 5);
    // The next bytes to arrive let the parse go on.
    parser.Append(nullptr, 0);
    parser.ParseReceivedFrames(got.Handler());
    ASSERT_EQ(got.frames.size(), 1u);
    EXPECT_EQ(got.frames[0], good);
}

TEST(ReplyParser, BadDataCheckConsumesTheFrameWithoutEffect) {
    Bytes bad = Reply(0x10, 0xFF00, Bytes(16, 1));
    bad[10] ^= 0x40;
    TReplyParser parser;
    Collected got;
    parser.Append(bad.data(), bad.size());
    parser.ParseReceivedFrames(got.Handler());
    EXPECT_TRUE(got.frames.empty());
    EXPECT_TRUE(parser.ReceiveBuffer().empty());
}

TEST(ReplyParser, NoiseWithoutAStartIsDroppedWholeButATrailingStartByteIsKept) {
    TReplyParser parser;
    Collected got;
    const Bytes noise{1, 2, 3, 4, 5, 6, 7, 8, 9};
    parser.Append(noise.data(), noise.size());
    parser.ParseReceivedFrames(got.Handler());
    EXPECT_TRUE(parser.ReceiveBuffer().empty());
    const Bytes endsInStart{1, 2, 3, 4, 5, 6, 7, 8, 0xA5};
    parser.Append(endsInStart.data(), endsInStart.size());
    parser.ParseReceivedFrames(got.Handler());
    EXPECT_EQ(parser.ReceiveBuffer().size(), endsInStart.size());
    // The kept start byte begins the frame that follows.
    const Bytes reply = Reply(0x01, 0x0E02, {0x00});
    parser.Append(reply.data() + 1, reply.size() - 1);
    parser.ParseReceivedFrames(got.Handler());
    ASSERT_EQ(got.frames.size(), 1u);
    EXPECT_EQ(got.frames[0], reply);
}
