#include "core/FrameParser.h"

#include "core/Komunikace.h"
#include "core/Telegram.h"

#include <algorithm>

namespace zeko {
namespace {

using namespace tlg;

// A reply starts with the start byte and a destination of stations 55..63, or 0xBF.
bool IsStart(const std::vector<uint8_t>& b, size_t p) {
    const uint8_t d = b[p + OffDestination];
    return b[p] == StartByte && (ReplyDestinations.Holds(d) || d == ReplyStartAny);
}

// The shortest buffer worth looking at.
constexpr size_t MinParse = 8;

} // namespace

void TFrameParser::ReceiveBytes(const uint8_t* Data, size_t Count) {
    ReceiveBuffer.insert(ReceiveBuffer.end(), Data, Data + Count);
    ParseReceivedFrames();
}

void TFrameParser::DropReceivedBytes(size_t N) {
    ReceiveBuffer.erase(ReceiveBuffer.begin(), ReceiveBuffer.begin() + std::min(N, ReceiveBuffer.size()));
}

void TFrameParser::ParseReceivedFrames() {
    for (;;) {
        const size_t length = ReceiveBuffer.size();
        if (length < MinParse)
            return;
        size_t p = 0;
        while (p < length - 2 && !IsStart(ReceiveBuffer, p))
            ++p;
        const bool found = p < length - 2;
        if (!found)
            p = length - 2;
        if (length - p <= 4) {
            if (!found && ReceiveBuffer[length - 1] != StartByte && ReceiveBuffer[length - 2] != StartByte)
                ReceiveBuffer.clear();
            return;
        }
        if (!SumsToZero(&ReceiveBuffer[p], HeaderSize)) {
            DropReceivedBytes(p + HeaderSize);
            return;  // the rest waits for the next bytes
        }
        const size_t body = (ReceiveBuffer[p + OffLength] & LengthMask) + LengthOverhead;
        if (length - p - HeaderSize < body)
            return;
        const bool dataOk = SumsToZero(&ReceiveBuffer[p + HeaderSize], body);
        ReceivedFrame.fill(0);
        std::copy_n(ReceiveBuffer.begin() + p, HeaderSize + body, ReceivedFrame.begin());
        DropReceivedBytes(p + HeaderSize + body);
        if (dataOk && komunikace_.CheckTelegram(ReceivedFrame.data(), 1, 0) &&
            (ReceivedFrame[OffSource] & SourceStationMask) == StationRegulator && OnRegulatorReply)
            OnRegulatorReply(ReceivedFrame.data());
    }
}

} // namespace zeko
