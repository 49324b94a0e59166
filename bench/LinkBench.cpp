// The conversation with the regulator under a real line's timing: the program's
// conversation (app/Conversation) and link layer on a pseudo-terminal, against the
// simulated regulator pacing its bytes at the rate and answering only after the
// request's bytes would have come and the program's direction guard behind them; the line's drain takes the wire time (the wire
// model of platform/SerialLine). The main thread is a queue pumped here, as the
// program's event loop pumps it, so each pump is a stretch of the window's thread.
//
// Counters of a download (one iteration each, the figures of the README):
//   records_per_s   records from the first record request to the last record reply
//   line_limit      what the line allows (LineLimit below), records per second
//   of_limit_pct    the ratio of the two
//   longest_stall_ms the longest stretch the main thread was busy at one time
//   cpu_pct         processor time of this process (every thread of the program's
//                   side; the simulator is a process of its own) per wall time
// Idle: the processor time while the live values are polled and nothing else goes.
// Simulator pacing: how much longer than the line the simulator's paced replies take,
// from the request written to the reply's first byte (beyond the direction guard)
// and from its first byte to its last, per reply.
#include "app/Conversation.h"
#include "core/RecordSaving.h"
#include "core/RegisterTables.h"
#include "core/Komunikace.h"
#include "core/Telegram.h"
#include "platform/MainThread.h"
#include "platform/SerialLine.h"
#include "platform/TimerHost.h"
#include "support/RegsimProcess.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <poll.h>
#include <sys/resource.h>

using namespace zeko;
using Clock = std::chrono::steady_clock;

namespace {

constexpr uint32_t SendTimerMs = 500;     // Tmr_SendTLG
constexpr uint32_t PollIntervalMs = 450;  // the polling list's minimum interval
constexpr double GuardSeconds = TKomunikace::DirectionGuardMicroseconds / 1e6;  // before and after a telegram

double ProcessorSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) + double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The main thread: a pumped queue that wakes its pump when a call comes, and that
// notes the longest pump.
class BenchMainThread : public PumpedMainThread {
public:
    BenchMainThread() { SetMainThread(this); }
    ~BenchMainThread() override { SetMainThread(nullptr); }

    // Pumps until `done` holds or `timeout` has passed; false on the time-out.
    bool Run(const std::function<bool()>& done, Clock::duration timeout) {
        const auto deadline = Clock::now() + timeout;
        while (!done()) {
            if (Clock::now() > deadline)
                return false;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                woken_.wait_until(lock, std::min(deadline, Clock::now() + std::chrono::milliseconds(50)),
                                  [&] { return calls_ > 0; });
                calls_ = 0;
            }
            const auto start = Clock::now();
            if (Pump() > 0)
                longest_ = std::max(longest_, Clock::now() - start);
        }
        return true;
    }
    Clock::duration Longest() const { return longest_; }
    void ResetLongest() { longest_ = {}; }

protected:
    void Wake() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++calls_;
        woken_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    int calls_ = 0;
    Clock::duration longest_{};
};

// What the conversation reports: the end of the start-up reading, and a download's
// records, answered as stored at once (storing them is the saving thread's, not the
// line's).
struct Host : TConversationEvents {
    void Status(const std::string&) override {}
    void IdentText(int, const std::string&) override {}
    void ShowProgress(TProgressKind, int, const std::string&) override {}
    void StepProgress(TProgressKind) override {}
    void HideProgress(TProgressKind) override {}
    void SettingsRead() override { settingsRead = true; }
    void LiveValuesRead() override { ++liveValues; }
    void SaveRecords(const TRecordList& records) override {
        lastRecordReply = Clock::now();
        saved = records.size();
        MainThread().Post(this, [this] {
            TSaveOutcome outcome;
            outcome.Success = true;
            conversation->RecordsSaved(outcome);
        });
    }
    TConversation* conversation = nullptr;
    bool settingsRead = false;
    int liveValues = 0;
    size_t saved = 0;
    Clock::time_point lastRecordReply;
};

// The sizes of the telegrams of a download on the wire, as the simulator logged them.
struct WireSizes {
    size_t recordRequest = 0, recordReply = 0, pollRequest = 0, pollReply = 0;
    size_t addressWrites = 0, addressWrite = 0, addressAck = 0;  // the upper address byte
};

uint8_t KindOf(const std::vector<uint8_t>& bytes, uint16_t& address) {
    const auto start = std::find(bytes.begin(), bytes.end(), tlg::StartByte);
    if (bytes.end() - start < 8)
        return 0xFF;
    address = static_cast<uint16_t>(start[tlg::OffAddressLow] | start[tlg::OffAddressHigh] << 8);
    return tlg::KindOf(start[tlg::OffControl]);
}

// The upper address byte writes are counted from the first record request on.
WireSizes SizesOf(const test::RegsimLog& log) {
    WireSizes s;
    size_t* lastReply = nullptr;
    for (const test::RegsimLogLine& line : log) {
        uint16_t address = 0;
        const uint8_t kind = KindOf(line.Bytes, address);
        if (!line.Received) {
            if (lastReply)
                *lastReply = line.Bytes.size();
            lastReply = nullptr;
            continue;
        }
        if (kind == tlg::KindRecords) {
            s.recordRequest = line.Bytes.size();
            lastReply = &s.recordReply;
        } else if (kind == tlg::KindSettings && address == Registers::LiveValues) {
            s.pollRequest = line.Bytes.size();
            lastReply = &s.pollReply;
        } else if (kind == tlg::KindSettings && address == Registers::RecordAddressHigh && s.recordRequest > 0) {
            ++s.addressWrites;
            s.addressWrite = line.Bytes.size();
            lastReply = &s.addressAck;
        } else {
            lastReply = nullptr;
        }
    }
    return s;
}

// The seconds a real line needs for `records` records: every telegram of the
// program between its two direction guards (DTR up before its first byte, and held
// after its last), the reply once the bus is free behind the second, each byte ten
// bit times; and a live-values poll after the first reply that comes a poll
// interval or more after the poll before (so a faster line puts fewer records
// between two polls). The writes of the upper address byte go as they went.
double LineSeconds(const WireSizes& s, size_t records, uint32_t baud, int& polls) {
    const double byteTime = 10.0 / baud;
    const auto exchange = [&](size_t request, size_t reply) { return 2 * GuardSeconds + (request + reply) * byteTime; };
    double t = 0, lastPoll = 0;
    polls = 0;
    for (size_t i = 0; i < records; ++i) {
        if (t - lastPoll >= PollIntervalMs / 1000.0) {
            lastPoll = t;
            t += exchange(s.pollRequest, s.pollReply);
            ++polls;
        }
        t += exchange(s.recordRequest, s.recordReply);
    }
    return t + s.addressWrites * exchange(s.addressWrite, s.addressAck);
}

// The program's side of the line: the conversation opened on COM1 at the rate, the
// send timer running, the start-up reading done.
class Line {
public:
    Line(uint32_t baud, uint32_t records)
        : sim({"--records", std::to_string(records), "--first-index", "2300", "--pace", std::to_string(baud)}),
          conversation(host), sendTimer([this] { conversation.SendTimerTick(SendTimerMs); }) {
        SerialLine::ModelWireTime(true);
        host.conversation = &conversation;
        sim.MapToCom(1);
        opened = conversation.OpenPort(1, static_cast<int>(baud));
        if (!opened)
            return;
        conversation.OpenConversation();
        sendTimer.Start(SendTimerMs);
        opened = mainThread.Run([this] { return host.settingsRead; }, std::chrono::seconds(120));
    }
    ~Line() {
        sendTimer.Stop();
        conversation.Link().Port->Disconnect();
        SerialLine::ModelWireTime(false);
    }

    test::RegsimProcess sim;
    BenchMainThread mainThread;
    Host host;
    TConversation conversation;
    TimerHost sendTimer;
    bool opened = false;
};

void BM_Download(benchmark::State& state) {
    const auto baud = static_cast<uint32_t>(state.range(0));
    const uint32_t records = baud / 48;  // some 16 seconds of the line
    for (auto _ : state) {
        Line line(baud, records);
        if (!line.opened) {
            state.SkipWithError("the start-up reading did not end");
            return;
        }
        Clock::time_point firstRequest;
        int polls = 0;
        line.conversation.Link().OnSend = [&](std::span<const uint8_t> bytes) {
            uint16_t address = 0;
            const uint8_t kind = KindOf({bytes.begin(), bytes.end()}, address);
            if (firstRequest == Clock::time_point{} && kind == tlg::KindRecords)
                firstRequest = Clock::now();
            else if (firstRequest != Clock::time_point{} && line.host.saved == 0 && kind == tlg::KindSettings &&
                     address == Registers::LiveValues)
                ++polls;
        };
        line.mainThread.ResetLongest();
        const double cpuBefore = ProcessorSeconds();
        const auto wallBefore = Clock::now();
        line.conversation.RequestDownload();
        const bool ended = line.mainThread.Run(
            [&] { return line.host.saved > 0 && line.conversation.DownloadPhase() == TDownloadPhase::Idle; },
            std::chrono::seconds(30 + records));
        const double cpu = ProcessorSeconds() - cpuBefore;
        const double wall = Seconds(Clock::now() - wallBefore);
        if (!ended || line.host.saved != records) {
            state.SkipWithError("the download did not end with every record");
            return;
        }
        const double measured = Seconds(line.host.lastRecordReply - firstRequest);
        int linePolls = 0;
        const WireSizes sizes = SizesOf(line.sim.Log());
        const double limit = records / LineSeconds(sizes, records, baud, linePolls);
        state.counters["polls"] = polls;
        state.counters["line_polls"] = linePolls;
        state.counters["address_writes"] = static_cast<double>(sizes.addressWrites);
        state.SetIterationTime(measured);
        state.counters["records_per_s"] = records / measured;
        state.counters["line_limit"] = limit;
        state.counters["of_limit_pct"] = 100.0 * records / measured / limit;
        state.counters["longest_stall_ms"] = Seconds(line.mainThread.Longest()) * 1000.0;
        state.counters["cpu_pct"] = 100.0 * cpu / wall;
    }
}
BENCHMARK(BM_Download)->Arg(4800)->Arg(9600)->Arg(19200)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_Idle(benchmark::State& state) {
    for (auto _ : state) {
        Line line(4800, 0);
        if (!line.opened) {
            state.SkipWithError("the start-up reading did not end");
            return;
        }
        const int pollsBefore = line.host.liveValues;
        const double cpuBefore = ProcessorSeconds();
        const auto wallBefore = Clock::now();
        const auto span = std::chrono::seconds(10);
        line.mainThread.Run([] { return false; }, span);
        const double cpu = ProcessorSeconds() - cpuBefore;
        const double wall = Seconds(Clock::now() - wallBefore);
        state.SetIterationTime(wall);
        state.counters["cpu_pct"] = 100.0 * cpu / wall;
        state.counters["polls_per_s"] = (line.host.liveValues - pollsBefore) / wall;
        state.counters["longest_stall_ms"] = Seconds(line.mainThread.Longest()) * 1000.0;
    }
}
BENCHMARK(BM_Idle)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_SimulatorPacing(benchmark::State& state) {
    constexpr uint32_t baud = 4800;
    const double byteTime = 10.0 / baud;
    test::RegsimProcess sim({"--records", "10", "--pace", std::to_string(baud)});
    SerialLine line;
    SerialLineSettings settings;
    settings.BaudRate = baud;
    if (!line.Open(sim.PtyPath()) || !line.Apply(settings)) {
        state.SkipWithError("the simulator's line did not open");
        return;
    }
    TKomunikace builder;
    builder.BuildTelegram(tlg::StationPC, tlg::StationRegulator, 0, tlg::KindRecords, 0, 27, 0, 0);
    std::vector<uint8_t> request = {tlg::LeadByte};
    request.insert(request.end(), builder.Built().begin(), builder.Built().end());
    double answerLate = 0, replyLate = 0;
    int replies = 0;
    for (auto _ : state) {
        const auto sent = Clock::now();
        line.Write(request.data(), request.size());
        Clock::time_point first, last;
        size_t got = 0;
        while (got < 36) {
            pollfd p{line.Descriptor(), POLLIN, 0};
            if (poll(&p, 1, 2000) <= 0)
                break;
            uint8_t buffer[64];
            const long n = line.Read(buffer, sizeof buffer);
            if (n <= 0)
                continue;
            last = Clock::now();
            if (got == 0)
                first = last;
            got += static_cast<size_t>(n);
        }
        if (got < 36) {
            state.SkipWithError("no whole reply");
            return;
        }
        // The first byte is whole one byte time after the direction guard that
        // follows the request's last.
        answerLate += Seconds(first - sent) - (request.size() + 1) * byteTime - GuardSeconds;
        replyLate += Seconds(last - first) - (got - 1) * byteTime;
        ++replies;
    }
    state.counters["answer_late_ms"] = 1000.0 * answerLate / replies;
    state.counters["reply_late_ms"] = 1000.0 * replyLate / replies;
}
BENCHMARK(BM_SimulatorPacing)->Iterations(50)->Unit(benchmark::kMillisecond);

} // namespace
