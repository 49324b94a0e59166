#pragma once
// The conversation without a window, against the simulated regulator's station
// in-process: every telegram the link layer sends goes to the station byte for byte,
// and every reply comes back through the port's receive handler, with a clock
// stepped by hand. The end-to-end tests (tests/e2e) run the same over a pty.
#include "app/Conversation.h"

#include "core/RecordMemory.h"
#include "core/RecordSaving.h"
#include "core/RegisterTables.h"
#include "core/RegulatorReplies.h"
#include "core/WireRecord.h"
#include "platform/TickClock.h"
#include "tools/regsim/Station.h"

#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace zeko::test {

using Bytes = std::vector<uint8_t>;

// What the conversation reported.
struct Host : TConversationEvents {
    void Status(const std::string& text) override { statuses.push_back(text.substr(text.find("> ") + 2)); }
    void IdentText(int n, const std::string& text) override { idents.at(static_cast<size_t>(n)) = text; }
    void ShowProgress(TProgressKind kind, int steps, const std::string& text) override {
        Of(kind) = {true, steps, 0, text};
    }
    void StepProgress(TProgressKind kind) override {
        ++Of(kind).Done;
        if (onStep)
            onStep(kind);
    }
    void HideProgress(TProgressKind kind) override { Of(kind).Shown = false; }
    void SettingsRead() override { ++settingsRead; }
    void LiveValuesRead() override { ++liveValues; }
    void SaveRecords(const TRecordList& records) override { saves.push_back(records); }
    void RegulatorAnswering(bool answering) override { answering_.push_back(answering); }
    void SettingsWriteEnded() override { ++writesEnded; }

    struct Progress {
        bool Shown = false;
        int Steps = 0, Done = 0;
        std::string Text;
    };
    Progress& Of(TProgressKind kind) {
        if (kind == TProgressKind::SettingsWrite)
            return write;
        return kind == TProgressKind::Download ? download : settings;
    }

    std::vector<std::string> statuses;  // without their date and time
    std::array<std::string, 5> idents;  // 1..4
    Progress settings, download, write;
    int settingsRead = 0, liveValues = 0, writesEnded = 0;
    std::vector<TRecordList> saves;
    std::vector<bool> answering_;  // each change, in order
    std::function<void(TProgressKind)> onStep;
};

// A telegram the conversation sent, taken apart: "R0 0E79" for a read of kind 0,
// "W0 0113: 1F" for a write with its data.
inline std::string Describe(const Bytes& sent) {
    const uint8_t* t = sent.data() + 1;  // behind the lead byte
    const uint8_t control = t[tlg::OffControl];
    const bool write = (control & tlg::WriteBit) != 0;
    char head[16];
    std::snprintf(head, sizeof head, "%c%d %04X", write ? 'W' : 'R', tlg::KindOf(control),
                  t[tlg::OffAddressLow] | t[tlg::OffAddressHigh] << 8);
    if (!write)
        return head;
    return std::string(head) + ": " + HexBytes(t + tlg::OffData, control & tlg::CountMask);
}

inline const std::string LiveValuesRead = "R0 FF00";

// The regulator, the line and the conversation. Each reply takes the time of a
// request and its reply at 4800 Bd, so the live values are polled in between as on
// the line.
class Rig {
public:
    static constexpr uint32_t ExchangeMs = 160;

    Rig() : conversation(host) {
        SetTickSource(&clock);
        LastReplyTick = GetTickCount();  // not a reply of the rig before
        conversation.Link().DirectionControl = false;  // no port: nothing to switch
        conversation.Link().OnSend = [this](std::span<const uint8_t> bytes) {
            wire.emplace_back(bytes.begin(), bytes.end());
            outbox.emplace_back(bytes.begin(), bytes.end());
        };
    }
    ~Rig() { SetTickSource(nullptr); }

    // Plays the line until it is quiet: each telegram sent reaches the station, and
    // its reply comes back through the port's receive handler. A reply for which
    // `drop` or `losing` holds, and every reply while the regulator is mute, is lost
    // on the way (the last one is kept in `lost`).
    void Run(const std::function<bool(const Bytes&)>& drop = {}) {
        while (!outbox.empty()) {
            const Bytes sent = outbox.front();
            outbox.pop_front();
            for (const regsim::Exchange& e : station.Receive(sent.data(), sent.size())) {
                if (e.Reply.empty())
                    continue;
                if (mute || (drop && drop(e.Reply)) || (losing && losing(e.Reply)))
                    lost = e.Reply;
                else
                    Deliver(e.Reply);
            }
        }
    }
    void Deliver(const Bytes& reply) {
        clock.Advance(ExchangeMs);
        const TReceiveDataEvent& receive = conversation.Link().Port->OnReceiveData;
        if (receive)
            receive(conversation.Link().Port.get(), reply.data(), static_cast<uint32_t>(reply.size()));
    }
    // The send timer fires after a quiet interval, and the line is played again
    // (losing the replies `drop` picks).
    void Tick(uint32_t intervalMs = 500, const std::function<bool(const Bytes&)>& drop = {}) {
        clock.Advance(intervalMs + 1);
        conversation.SendTimerTick(intervalMs);
        Run(drop);
    }
    void StartUp() {
        conversation.OpenConversation();
        Run();
    }

    // What went out since `from`, taken apart, without the live-values reads.
    std::vector<std::string> Requests(size_t from = 0) const {
        std::vector<std::string> out;
        for (size_t i = from; i < wire.size(); ++i)
            if (Describe(wire[i]) != LiveValuesRead)
                out.push_back(Describe(wire[i]));
        return out;
    }

    ManualTickSource clock{1000000};
    regsim::RegulatorMemory memory;
    regsim::Station station{memory};
    Host host;
    TConversation conversation;
    std::vector<Bytes> wire;  // every telegram sent, lead byte first
    std::deque<Bytes> outbox;
    bool mute = false;
    std::function<bool(const Bytes&)> losing;
    Bytes lost;
};

inline std::string TableRead(uint8_t kind, uint8_t index) {
    char text[16];
    std::snprintf(text, sizeof text, "R%d %04X", kind, RegisterOf(index));
    return text;
}

inline std::string Write(uint8_t kind, uint16_t address, const Bytes& data) {
    char text[16];
    std::snprintf(text, sizeof text, "W%d %04X", kind, address);
    return std::string(text) + ": " + HexBytes(data);
}

inline std::string RecordRead(uint32_t index) {
    char text[16];
    std::snprintf(text, sizeof text, "R2 %04X", AddressLowWord(RecordAddress(index)));
    return text;
}

// A ring of `count` quarter-hour records from place `first` on, all unread.
inline void FillRing(regsim::RegulatorMemory& memory, uint32_t first, uint32_t count) {
    memory.Ring().Generate(11, EncodeDate(2024, 2, 28) + EncodeTime(22, 0, 0), count, first);
    memory.SetPointers({(first + count) % RingRecords, 0, first});
}

// Settles a download that has started: the host stores the records (here: says it
// did) and the position goes back.
inline void SaveAndFinish(Rig& rig) {
    TSaveOutcome stored;
    stored.Success = true;
    stored.Appended = rig.host.saves.empty() ? 0 : rig.host.saves.back().size();
    rig.conversation.RecordsSaved(stored);
    rig.Tick();
}

} // namespace zeko::test
