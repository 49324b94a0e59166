#include "tools/regsim/Faults.h"

#include "core/BinaryData.h"
#include "core/Telegram.h"
#include "tools/regsim/SplitMix.h"

#include <algorithm>
#include <utility>

namespace zeko::regsim {
namespace {

using namespace zeko::tlg;

} // namespace

Faults::Faults(const FaultSettings& settings)
    : settings_(settings), state_(settings.Seed ^ 0x5DEECE66Dull), acksToLose_(settings.LoseFirstAck),
      alterations_(settings.Alterations), spent_(settings.Alterations.size(), false) {}

bool Faults::Alter(std::vector<uint8_t>& reply) {
    if (reply.size() <= OffData || (reply[OffControl] & WriteBit))
        return false;
    const uint8_t kind = KindOf(reply[OffControl]);
    const uint16_t address = ReadWordLE(&reply[OffAddressLow]);
    const size_t dataEnd = reply.size() - 1;  // the data check byte follows the data
    bool altered = false;
    for (size_t i = 0; i < alterations_.size(); ++i) {
        Alteration& a = alterations_[i];
        if (spent_[i] || a.Kind != kind || a.Address != address)
            continue;
        for (size_t n = 0; n < a.Bytes.size() && OffData + a.Offset + n < dataEnd; ++n)
            reply[OffData + a.Offset + n] = a.Bytes[n];
        altered = true;
        if (a.Count != 0 && --a.Count == 0)
            spent_[i] = true;
    }
    if (altered)
        SetChecks(reply);
    return altered;
}

uint64_t Faults::Next() { return SplitMix(std::exchange(state_, state_ + SplitMixIncrement)); }

bool Faults::Chance(int percent) { return percent > 0 && static_cast<int>(Next() % 100) < percent; }

std::vector<Transmission> Faults::Apply(std::vector<uint8_t> reply, std::string& note) {
    if (reply.size() > OffAddressHigh && (reply[OffControl] & WriteBit)) {
        const std::pair<uint8_t, uint16_t> acked{KindOf(reply[OffControl]), ReadWordLE(&reply[OffAddressLow])};
        mutedForGood_ = mutedForGood_ || acked == settings_.MuteFromWrite;
        const auto lose = std::find(acksToLose_.begin(), acksToLose_.end(), acked);
        if (lose != acksToLose_.end()) {
            acksToLose_.erase(lose);
            note = "acknowledgement lost";
            return {};
        }
    }
    if (mutedForGood_) {
        note = "muted";
        return {};
    }
    if (Chance(settings_.DropPercent)) {
        note = "dropped";
        return {};
    }
    std::string what = Alter(reply) ? "altered" : "";
    if (Chance(settings_.WrongAddressPercent)) {
        WriteWordLE(&reply[OffAddressLow], static_cast<uint16_t>(ReadWordLE(&reply[OffAddressLow]) + 1));
        SetChecks(reply);
        what += what.empty() ? "" : ", ";
        what += "wrong address";
    }
    if (Chance(settings_.CorruptPercent)) {
        const size_t at = corruptHeaderNext_ ? OffHeaderCheck : reply.size() - 1;
        reply[at] = static_cast<uint8_t>(reply[at] ^ (1 + Next() % 255));
        what += what.empty() ? "" : ", ";
        what += corruptHeaderNext_ ? "bad header check" : "bad data check";
        corruptHeaderNext_ = !corruptHeaderNext_;
    }
    std::vector<Transmission> out;
    if (Chance(settings_.NoisePercent)) {
        Transmission noise;
        noise.PauseMs = settings_.DelayMs;
        for (uint64_t n = 1 + Next() % 6; n > 0; --n)
            noise.Bytes.push_back(static_cast<uint8_t>(Next()));
        noise.Note = "noise";
        out.push_back(std::move(noise));
    }
    const uint32_t firstPause = out.empty() ? settings_.DelayMs : 0;
    if (Chance(settings_.SplitPercent)) {
        const size_t pieces = 2 + Next() % 2;
        size_t start = 0;
        for (size_t i = 0; i < pieces; ++i) {
            const size_t left = reply.size() - start;
            const size_t size = i + 1 == pieces ? left : 1 + Next() % (left - (pieces - i - 1));
            Transmission piece;
            piece.PauseMs = i == 0 ? firstPause : settings_.SplitPauseMs;
            piece.Bytes.assign(reply.begin() + start, reply.begin() + start + size);
            piece.Note = (what.empty() ? "" : what + ", ") + "piece " + std::to_string(i + 1) + "/" +
                         std::to_string(pieces);
            out.push_back(std::move(piece));
            start += size;
        }
    } else {
        out.push_back({firstPause, reply, what});
    }
    if (Chance(settings_.DoublePercent))
        out.push_back({settings_.DoublePauseMs, reply, what.empty() ? "copy" : what + ", copy"});
    return out;
}

} // namespace zeko::regsim
