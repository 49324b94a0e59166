#pragma once
// The simulated regulator (tools/regsim) as a child process of a test.
//
//   zeko::test::RegsimProcess sim({"--records", "96", "--split", "30"});
//   sim.MapToCom(1);                    // ZEKO_COM1 = the simulator's pty
//   ... the code under test opens "\\.\COM1" and talks to station 8 ...
//   sim.WaitForLog([](const zeko::test::RegsimLog& log) { return CountSent(log) >= 1; });
//   EXPECT_EQ(HexBytes(sim.Received()[0]), "FF A5 08 3F 05 0F A1 00 00 40 60 BF");
//
// With "--link PATH" the program may open PATH, which TogglePlug pulls out and plugs
// in again as a USB adapter is.
//
// The constructor starts the simulator with the given options (`regsim --help`
// lists them) plus a log and a ring export of its own in a temporary folder, and
// waits for the pty path; it throws std::runtime_error when the simulator does not
// start. The destructor stops it (SIGTERM, then SIGKILL) and removes the folder; the
// simulator also ends when the test process dies. Link with zeko_test_support.
#include "support/TempDir.h"

#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zeko::test {

// One line of the simulator's log: a telegram it received (with the bytes before it
// that belong to no other telegram, such as the lead byte 0xFF) or bytes it sent.
struct RegsimLogLine {
    double Time = 0;       // seconds since the simulator started
    bool Received = false; // RX, else TX
    std::vector<uint8_t> Bytes;
    std::string Note;      // e.g. "start-up write", "dropped", "noise", "piece 1/2", "copy"
};
using RegsimLog = std::vector<RegsimLogLine>;

// The number of TX lines (transmissions of the simulator) in a log.
size_t CountSent(const RegsimLog& log);

class RegsimProcess {
public:
    explicit RegsimProcess(const std::vector<std::string>& options = {});
    ~RegsimProcess();
    RegsimProcess(const RegsimProcess&) = delete;
    RegsimProcess& operator=(const RegsimProcess&) = delete;

    // The regsim binary of this build ($ZEKO_REGSIM overrides it).
    static std::string BinaryPath();

    const std::string& PtyPath() const { return ptyPath_; }
    // Sets $ZEKO_COMn to the pty, so that "\\.\COMn" opens the simulator.
    void MapToCom(int n) const;

    const std::string& LogPath() const { return logPath_; }
    RegsimLog Log() const;
    // The byte runs of the RX lines / of the TX lines, in order.
    std::vector<std::vector<uint8_t>> Received() const;
    std::vector<std::vector<uint8_t>> Sent() const;
    // Re-reads the log until `done` holds or `timeoutMs` passes; answers done.
    bool WaitForLog(const std::function<bool(const RegsimLog&)>& done, int timeoutMs = 10000) const;

    // A record place of the ring as the simulator holds it at start (27 bytes).
    std::vector<uint8_t> RingRecord(uint32_t index) const;

    // Switches the simulator's silence on or off (it answers nothing while silent).
    void ToggleMute() const;
    // With the option --link: pulls the line out (the pty closed, the link removed)
    // or plugs a new pty in (the link pointing at it), in turns.
    void TogglePlug() const;

    void Stop();
    bool Running() const { return pid_ > 0; }

private:
    TempDir folder_;  // the log and the ring export
    std::string logPath_, ringPath_, ptyPath_;
    pid_t pid_ = -1;
};

} // namespace zeko::test
