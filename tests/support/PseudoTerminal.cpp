#include "support/PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace zeko::test {

PseudoTerminal::PseudoTerminal() {
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master_, &slave_, name, &raw, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    slavePath_ = name;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal() {
    if (slave_ >= 0)
        close(slave_);
    if (master_ >= 0)
        close(master_);
}

void PseudoTerminal::Write(const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            throw std::runtime_error("write to pty master failed");
    }
}

std::vector<uint8_t> PseudoTerminal::Read(size_t count, int timeoutMs) {
    std::vector<uint8_t> out;
    int left = timeoutMs;
    while (out.size() < count && left > 0) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, 10) > 0 && (p.revents & POLLIN)) {
            uint8_t buf[512];
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0)
                out.insert(out.end(), buf, buf + n);
        } else {
            left -= 10;
        }
    }
    return out;
}

std::vector<uint8_t> PseudoTerminal::ReadAvailable(int quietMs) {
    std::vector<uint8_t> out;
    for (;;) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, quietMs) <= 0 || !(p.revents & POLLIN))
            return out;
        uint8_t buf[512];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0)
            return out;
        out.insert(out.end(), buf, buf + n);
    }
}

unsigned PseudoTerminal::SlaveBaudRate() const {
    termios t{};
    if (tcgetattr(master_, &t) != 0)
        return 0;
    switch (cfgetospeed(&t)) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
    }
}

void PseudoTerminal::SetComMapping(int n) const {
    setenv(("ZEKO_COM" + std::to_string(n)).c_str(), slavePath_.c_str(), 1);
}

} // namespace zeko::test
