#include "app/ReplyParser.h"

#include <algorithm>

namespace zeko {

namespace {

bool IsStartAt(const std::vector<uint8_t>& b, size_t p) {
    const uint8_t destination = b[p + 1];
    return b[p] == FrameStart && ((destination >= 0x37 && destination <= 0x3F) || destination == 0xBF);
}

uint8_t SumOf(const uint8_t* bytes, size_t count) {
    uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum = static_cast<uint8_t>(sum + bytes[i]);
    return sum;
}

} // namespace

TReplyHeader DecodeReplyHeader(const uint8_t* frame) {
    TReplyHeader h;
    h.Source = frame[2];
    h.DataLength = (frame[3] & 0x1F) - 2;
    h.Flags = static_cast<uint8_t>(frame[3] >> 5);
    h.Mode = static_cast<uint8_t>((frame[5] >> 5) & 0x03);
    h.WriteAck = (frame[5] & 0x80) != 0;
    h.Address = static_cast<uint16_t>(frame[6] | (frame[7] << 8));
    h.Data = frame + 8;
    return h;
}

void TReplyParser::Append(const uint8_t* data, size_t count) { buffer_.insert(buffer_.end(), data, data + count); }

void TReplyParser::DropReceivedBytes(size_t count) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(std::min(count, buffer_.size())));
}

void TReplyParser::Clear() { buffer_.clear(); }

void TReplyParser::ParseReceivedFrames(const FrameHandler& onFrame) {
    for (;;) {
        const size_t length = buffer_.size();
        if (length < MinimumParseBytes)
            return;
        size_t p = 0;
        bool found = false;
        for (; p < length - 2; ++p)
            if (IsStartAt(buffer_, p)) {
                found = true;
                break;
            }
        if (!found)
            p = length - 2;
        if (length - p <= 4) {
            // Keep a trailing 0xA5: it may begin the next frame.
            if (!found && buffer_[length - 1] != FrameStart && buffer_[length - 2] != FrameStart)
                buffer_.clear();
            return;
        }
        if (SumOf(&buffer_[p], FrameHeaderSize) != 0) {
            DropReceivedBytes(p + FrameHeaderSize);
            return;
        }
        const size_t n = static_cast<size_t>(buffer_[p + 3] & 0x1F) + 2;
        if (length - p - FrameHeaderSize < n)
            return;
        const bool dataOk = SumOf(&buffer_[p + FrameHeaderSize], n) == 0;
        const size_t frameLength = FrameHeaderSize + n;
        frame_.fill(0);
        std::copy_n(buffer_.begin() + static_cast<std::ptrdiff_t>(p), frameLength, frame_.begin());
        DropReceivedBytes(p + frameLength);
        if (dataOk)
            onFrame(frame_.data(), frameLength);
    }
}

} // namespace zeko
