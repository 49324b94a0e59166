#pragma once
// A pseudo-terminal for tests of the serial line: the test holds the master side
// and plays the far end of the line; the code under test opens SlavePath() (or a
// COM name mapped to it with SetComMapping). The slave is kept open here as well
// (raw, no echo), as the simulated regulator keeps it, so the line survives the
// code under test closing and reopening it.
#include <cstdint>
#include <string>
#include <vector>

namespace zeko::test {

class PseudoTerminal {
public:
    PseudoTerminal();  // throws std::runtime_error when no pty can be had
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_; }

    // Sends bytes towards the code under test.
    void Write(const std::vector<uint8_t>& bytes);
    // Reads what the code under test sent: until `count` bytes have come or
    // `timeoutMs` has passed; answers what came.
    std::vector<uint8_t> Read(size_t count, int timeoutMs = 2000);
    // Reads whatever arrives within `quietMs`.
    std::vector<uint8_t> ReadAvailable(int quietMs = 50);
    // The output rate of the line as set by whoever opened it last (standard rates).
    unsigned SlaveBaudRate() const;

    // Sets $ZEKO_COMn to this pty, so that "\\.\COMn" opens it.
    void SetComMapping(int n) const;

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

} // namespace zeko::test
