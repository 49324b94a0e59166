// The port's sender thread: Transmit hands it the bytes of a telegram, and it does
// what takes the telegram's time on the wire (the direction switch with its guards,
// the writes, the wait until the last byte has left), one transmission after the
// other, so that the main thread goes on at once.
#include "core/CPDrvSender.h"

#include "platform/TickClock.h"

namespace zeko {

void TCommPortDriver::StartSender() { sender_ = std::make_unique<TSender>(*this); }

void TCommPortDriver::StopSender() { sender_.reset(); }

void TCommPortDriver::Transmit(std::span<const uint8_t> Data, TDirectionSwitch Direction) {
    if (!Connected() || !sender_)
        return;
    sender_->Add({{Data.begin(), Data.end()}, Direction, outputTimeout_, checkLineStatus_});
}

void TCommPortDriver::WaitForTransmissions() {
    if (sender_)
        sender_->WaitIdle();
}

void TCommPortDriver::Perform(const TTransmission& t) {
    const auto step = [this](TLineStep s, uint32_t count) {
        if (OnLineStep)
            OnLineStep(s, count);
    };
    const TDirectionSwitch& direction = t.Direction;
    if (direction.Enabled) {
        line_.SetDTR(true);
        step(TLineStep::DtrOn, 0);
        SleepPast(MonotonicMicroseconds(), direction.GuardMicroseconds);
    }
    const uint32_t written =
        WriteWithTimeout(t.Bytes.data(), static_cast<uint32_t>(t.Bytes.size()), t.Timeout, t.CheckLines);
    step(TLineStep::Written, written);
    if (direction.Enabled) {
        line_.Drain();
        step(TLineStep::Drained, 0);
        SleepPast(MonotonicMicroseconds(), direction.GuardMicroseconds);
        line_.SetDTR(false);
        step(TLineStep::DtrOff, 0);
    }
}

} // namespace zeko
