#pragma once
// What the end-to-end tests compare: telegrams as the program must send them (built
// by the link layer's own builders, whose bytes are tested against the documented
// examples), the simulator's log read as telegrams, and the month files a download
// must leave behind.
#include "e2e/ZekoProcess.h"
#include "support/RegsimProcess.h"
#include "support/TempDir.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zeko::e2e {

using Bytes = std::vector<uint8_t>;

std::string Hex(const Bytes& bytes);

// The program on the simulator's pty, with the tests' fast port polling and send
// timer (ZEKO_TEST_POLL_MS, ZEKO_TEST_SEND_MS).
std::map<std::string, std::string> FastTiming(const test::RegsimProcess& sim, int sendTimerMs = 150);

// A program talking to its own simulator, in a program folder of its own, started
// with the tests' fast timing; Started() waits for the end of the start-up reading.
struct Session {
    // `environment` adds to the program's environment (or replaces a variable);
    // `prepare` fills the program folder before the program starts.
    explicit Session(const std::vector<std::string>& simOptions, int sendTimerMs = 150,
                     const std::map<std::string, std::string>& environment = {},
                     const std::function<void(const std::string& folder)>& prepare = {})
        // The folder is filled once it exists, before the program is started on it.
        : sim((Prepare(dir, prepare), simOptions)),
          zeko(dir.Path(), With(FastTiming(sim, sendTimerMs), environment)) {}
    bool Started(int timeoutMs = 20000) const { return zeko.WaitForLine("Nastavení načteno", timeoutMs); }
    // Asks for a download of the records and waits until the read position has been
    // written back.
    bool Downloaded() {
        zeko.Command("menu cmNactiZaznamy");
        return zeko.WaitForLine("Pozice záznamů PC zapsána");
    }
    test::TempDir dir;
    test::RegsimProcess sim;
    test::ZekoProcess zeko;

private:
    static void Prepare(const test::TempDir& folder, const std::function<void(const std::string&)>& prepare) {
        if (prepare)
            prepare(folder.Path());
    }
    static std::map<std::string, std::string> With(std::map<std::string, std::string> base,
                                                   const std::map<std::string, std::string>& more) {
        for (const auto& [name, value] : more)
            base[name] = value;
        return base;
    }
};

// Telegrams from 63 to 8 with the lead byte 0xFF in front.
Bytes Table(uint8_t write, uint8_t mode, uint8_t index);
Bytes Explicit(uint8_t write, uint8_t mode, uint16_t address, const Bytes& data, uint8_t key, uint8_t count = 0);
Bytes LiveValuesRead();
// The requests of the start-up reading from the settings byte to the last block.
std::vector<std::string> StartupChain();

// The simulator's received telegrams, in hex, in order.
std::vector<std::string> RxTelegrams(const test::RegsimLog& log);
std::vector<std::string> Collapse(const std::vector<std::string>& lines);  // repeats removed
size_t Count(const std::vector<std::string>& lines, const std::string& line);
// The regulator is asked for its live values `times` more times: the polling goes on.
bool PolledAgain(const test::RegsimProcess& sim, size_t times);

// A received telegram taken apart (from its start byte on).
struct Request {
    bool Write = false;
    uint8_t Mode = 0;
    uint8_t Count = 0;
    uint16_t Address = 0;
    Bytes Data;
};
std::vector<Request> Requests(const test::RegsimLog& log);
// The data of the writes to a register, in order.
std::vector<Bytes> WritesTo(const test::RegsimLog& log, uint8_t mode, uint16_t address);
// The data bytes of the simulator's well-formed replies of a register, in order.
std::vector<Bytes> RepliesOf(const test::RegsimLog& log, uint8_t mode, uint16_t address);
// The data bytes of the simulator's first reply of a register.
Bytes ReplyData(const test::RegsimLog& log, uint8_t mode, uint16_t address);
// The input constants as the program derives them from the replies it got.
std::array<uint32_t, 4> InputConstantsFrom(const test::RegsimLog& log);

// The month files (path under the program directory -> bytes) that the records
// `first`, `first + 1`, ... (`count` of them, ring order) must give; the indices
// `leftOut` are not among them.
std::map<std::string, std::string> ExpectedMonthFiles(const test::RegsimProcess& sim, uint32_t first, uint32_t count,
                                                      const std::array<uint32_t, 4>& constants,
                                                      const std::set<uint32_t>& leftOut = {});
// Every ROK*/Mesic*.zek file of the folder.
std::map<std::string, std::string> MonthFiles(const test::TempDir& dir);

// The read position data the program writes back for the next index.
Bytes PositionData(uint32_t next);

} // namespace zeko::e2e
