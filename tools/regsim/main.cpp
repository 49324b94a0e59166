// regsim: the regulator, station 8, on a pseudo-terminal (see Usage in Options.cpp).
#include "core/Komunikace.h"
#include "core/Telegram.h"
#include "tools/regsim/Faults.h"
#include "tools/regsim/Options.h"
#include "tools/regsim/RegulatorMemory.h"
#include "tools/regsim/Station.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace zeko;
using namespace zeko::regsim;
using Clock = std::chrono::steady_clock;

namespace {

volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t muteToggles = 0;
volatile std::sig_atomic_t plugToggles = 0;
void RequestStop(int) { stopRequested = 1; }
void ToggleMute(int) { muteToggles = muteToggles + 1; }
void TogglePlug(int) { plugToggles = plugToggles + 1; }

// Bytes that have lain unparsed this long belong to no telegram.
constexpr auto StaleAfter = std::chrono::milliseconds(500);
// A reader that takes nothing for this long is not there; the rest is dropped.
constexpr auto WriteGiveUp = std::chrono::seconds(2);

class Log {
public:
    explicit Log(const std::string& path) : start_(Clock::now()) {
        if (!path.empty() && !(file_ = std::fopen(path.c_str(), "w")))
            throw std::runtime_error("cannot write the log " + path);
    }
    ~Log() {
        if (file_)
            std::fclose(file_);
    }
    void Line(const char* direction, const std::vector<uint8_t>& bytes, const std::string& note) {
        if (!file_)
            return;
        const double t = std::chrono::duration<double>(Clock::now() - start_).count();
        std::fprintf(file_, "%.3f %s %s%s%s\n", t, direction, HexBytes(bytes).c_str(), note.empty() ? "" : " # ",
                     note.c_str());
        std::fflush(file_);
    }
    // A line of its own that readers of telegrams pass over: "12.345 -- text".
    void Note(const std::string& text) {
        if (!file_)
            return;
        const double t = std::chrono::duration<double>(Clock::now() - start_).count();
        std::fprintf(file_, "%.3f -- %s\n", t, text.c_str());
        std::fflush(file_);
    }

private:
    FILE* file_ = nullptr;
    Clock::time_point start_;
};

// The line: a pseudo-terminal whose slave the program opens, reached through a
// symbolic link when one is asked for. Pulled out, it is closed as the device of an
// adapter is, and the link goes with it; plugged in again, it is a new pty.
class Line {
public:
    explicit Line(std::string link) : link_(std::move(link)) { PlugIn(); }
    ~Line() { PullOut(); }
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    int Master() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }
    bool PluggedIn() const { return master_ >= 0; }

    void PlugIn() {
        char name[256] = {};
        termios raw{};
        cfmakeraw(&raw);
        cfsetspeed(&raw, B4800);
        if (openpty(&master_, &slave_, name, &raw, nullptr) != 0)
            throw std::runtime_error("no pseudo-terminal");
        // The slave stays open here too, so the program may close and reopen it.
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        slavePath_ = name;
        if (link_.empty())
            return;
        // Made beside and renamed over, so the path never points nowhere in between.
        const std::string made = link_ + ".new";
        ::unlink(made.c_str());
        if (::symlink(slavePath_.c_str(), made.c_str()) != 0 || ::rename(made.c_str(), link_.c_str()) != 0)
            throw std::runtime_error("cannot link " + link_ + " to " + slavePath_);
    }
    void PullOut() {
        if (!PluggedIn())
            return;
        if (!link_.empty())
            ::unlink(link_.c_str());
        // Closing the master hangs the program's side up, as a vanished device does.
        ::close(slave_);
        ::close(master_);
        master_ = slave_ = -1;
    }

private:
    std::string link_;
    std::string slavePath_;
    int master_ = -1, slave_ = -1;
};

struct Scheduled {
    Clock::time_point due;
    Transmission what;
};

// How long after the request's last byte a reply may start: the PC holds the bus
// for its direction guard after that byte (DTR up, the adapter sending), so a
// regulator on the half-duplex bus answers no sooner, then after its own turnaround.
Clock::duration AnswerDelay(const Options& o) {
    return std::chrono::microseconds(TKomunikace::DirectionGuardMicroseconds + 1) +
           std::chrono::milliseconds(o.TurnaroundMs);
}

// One byte's time on the line at the rate (start bit, 8 data bits, stop bit).
Clock::duration ByteTime(uint32_t paceBaud) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(10'000'000'000ull / paceBaud));
}

// Writes everything, at the pace of the line when asked; false when nobody reads.
// Paced, each byte is written once its ten bit times have passed, as a receiver on
// the line has it; the deadlines are counted from the start, so that the sleeps' own
// lateness does not add up over a reply.
bool WriteAll(int fd, const std::vector<uint8_t>& bytes, uint32_t paceBaud) {
    size_t done = 0;
    auto lastProgress = Clock::now();
    auto due = lastProgress;
    bool timed = false;    // the line time of the next byte has passed
    bool stalled = false;  // the reader held the line up
    while (done < bytes.size()) {
        if (paceBaud && !timed) {
            due += ByteTime(paceBaud);
            std::this_thread::sleep_until(due);
            timed = true;
        }
        const size_t chunk = paceBaud ? 1 : bytes.size() - done;
        const ssize_t n = ::write(fd, bytes.data() + done, chunk);
        if (n > 0) {
            done += static_cast<size_t>(n);
            lastProgress = Clock::now();
            timed = false;
            if (stalled)
                due = lastProgress;  // the next byte's time starts now
            stalled = false;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (Clock::now() - lastProgress > WriteGiveUp)
            return false;
        stalled = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void SetUpMemory(RegulatorMemory& memory, const Options& o) {
    memory.SetClock(o.Clock.value_or(Now()));
    const RingPlan plan = PlanRing(o, memory.Clock());
    FillRing(o, plan, memory.Ring());
    memory.SetSiteSeed(o.Seed);
    memory.SetPointers({plan.Newest, plan.Flag, plan.OldestUnread});
    for (const auto& [n, text] : o.IdentTexts)
        memory.SetIdentText(n, text);
    for (const Poke& p : o.Pokes)
        memory.Poke(p.Kind, p.Address, p.Bytes);
}

int Run(const Options& o) {
    // The paced bytes' sleeps wake within microseconds of their deadlines, not 50 us late.
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    RegulatorMemory memory;
    SetUpMemory(memory, o);
    if (!o.ExportRingPath.empty() && !memory.Ring().Export(o.ExportRingPath))
        throw std::runtime_error("cannot write the ring export " + o.ExportRingPath);
    Log log(o.LogPath);

    Line line(o.LinkPath);
    std::printf("%s\n", line.SlavePath().c_str());
    std::fflush(stdout);
    int plugs = 0;

    Station station(memory);
    Faults faults(o.Faults);
    std::deque<Scheduled> outgoing;
    auto lastReceived = Clock::now();
    // Paced, the PC's bytes still come through the pty all at once; on the line they
    // follow one another at the rate, and the regulator answers after the last of
    // them (and the guard). This is when that last byte would have come.
    auto receivedOnLine = lastReceived;
    uint32_t replies = 0;
    while (!stopRequested) {
        if (plugs != plugToggles) {
            plugs = plugToggles;
            if (line.PluggedIn()) {
                line.PullOut();
                // What was on its way is lost with the line.
                outgoing.clear();
                if (!station.Pending().empty())
                    log.Line("RX", station.TakeStale(), "line pulled out");
                log.Note("line pulled out");
            } else {
                line.PlugIn();
                log.Note("line plugged in: " + line.SlavePath());
            }
        }
        const int master = line.Master();
        // Woken to the microsecond when the next reply is due: a reply is due a
        // guard's 2 ms after a request, which whole milliseconds would overshoot.
        auto wait = std::chrono::nanoseconds(std::chrono::milliseconds(100));
        if (!outgoing.empty())
            wait = std::clamp<std::chrono::nanoseconds>(outgoing.front().due - Clock::now(),
                                                        std::chrono::nanoseconds(0), wait);
        const timespec timeout{static_cast<time_t>(wait.count() / 1'000'000'000),
                               static_cast<long>(wait.count() % 1'000'000'000)};
        pollfd p{master, POLLIN, 0};
        if (ppoll(&p, 1, &timeout, nullptr) > 0 && (p.revents & POLLIN)) {
            uint8_t buffer[512];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0) {
                lastReceived = Clock::now();
                if (o.PaceBaud)
                    receivedOnLine = std::max(receivedOnLine, lastReceived) + n * ByteTime(o.PaceBaud);
                for (Exchange& e : station.Receive(buffer, static_cast<size_t>(n))) {
                    std::string note = e.Note;
                    std::vector<Transmission> sends;
                    const bool muted = (muteToggles % 2 == 1) != (o.MuteAfter && replies >= *o.MuteAfter);
                    if (!e.Reply.empty() && muted) {
                        note = "muted";
                    } else if (!e.Reply.empty()) {
                        ++replies;
                        sends = faults.Apply(std::move(e.Reply), note);
                    }
                    log.Line("RX", e.Received, note);
                    const auto lastByte = o.PaceBaud ? receivedOnLine : lastReceived;
                    auto due = std::max(outgoing.empty() ? Clock::now() : outgoing.back().due, lastByte + AnswerDelay(o));
                    for (Transmission& t : sends) {
                        due += std::chrono::milliseconds(t.PauseMs);
                        outgoing.push_back({due, std::move(t)});
                    }
                }
            }
        }
        if (!station.Pending().empty() && Clock::now() - lastReceived > StaleAfter)
            log.Line("RX", station.TakeStale(), "no telegram");
        while (!outgoing.empty() && outgoing.front().due <= Clock::now()) {
            Scheduled s = std::move(outgoing.front());
            outgoing.pop_front();
            const bool written = WriteAll(master, s.what.Bytes, o.PaceBaud);
            log.Line("TX", s.what.Bytes, written ? s.what.Note : s.what.Note + (s.what.Note.empty() ? "" : ", ") + "not taken");
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const Options o = ParseOptions({argv + 1, argv + argc});
        if (o.Help) {
            std::fputs(Usage(), stdout);
            return 0;
        }
        std::signal(SIGINT, RequestStop);
        std::signal(SIGTERM, RequestStop);
        std::signal(SIGUSR1, ToggleMute);
        std::signal(SIGUSR2, TogglePlug);
        return Run(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "regsim: %s\n", e.what());
        return 2;
    }
}
