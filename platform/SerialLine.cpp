#include "platform/SerialLine.h"

#include "platform/TextFiles.h"
#include "platform/TickClock.h"

// termios2 (any rate through BOTHER) comes from the kernel headers, which clash with
// <termios.h>; everything here therefore goes through ioctl alone.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zeko {
namespace {

// "\\.\COM12" or "COM12" (any letter case) gives 12; anything else 0.
int ComNumber(const std::string& name) {
    std::string rest = name;
    if (rest.rfind("\\\\.\\", 0) == 0)
        rest = rest.substr(4);
    if (rest.size() < 4 || !MatchesNoCaseAt(rest, 0, "COM"))
        return 0;
    int number = 0;
    for (size_t i = 3; i < rest.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(rest[i])) || number > 999)
            return 0;
        number = number * 10 + (rest[i] - '0');
    }
    return number;
}

tcflag_t DataBitsFlag(uint8_t bits) {
    switch (bits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
    }
}

// The classic code of a standard rate, so that every termios user reads the rate
// back; other rates go as BOTHER with the number itself.
tcflag_t RateCode(uint32_t rate) {
    static constexpr struct { uint32_t rate; tcflag_t code; } table[] = {
        {50, B50},         {75, B75},         {110, B110},       {134, B134},      {150, B150},
        {200, B200},       {300, B300},       {600, B600},       {1200, B1200},    {1800, B1800},
        {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},  {38400, B38400},
        {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
        {576000, B576000}, {921600, B921600}, {1000000, B1000000}};
    for (const auto& entry : table)
        if (entry.rate == rate)
            return entry.code;
    return BOTHER;
}

// One non-blocking read or write: the bytes moved, 0 when the line has none or no
// room now, -1 on failure.
template <class Call>
long Transfer(Call call) {
    for (;;) {
        const ssize_t n = call();
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

SerialLineFailure FailureOfOpen(int error) {
    switch (error) {
    case ENOENT: case ENODEV: case ENXIO: case ENOTDIR: return SerialLineFailure::Missing;
    case EACCES: case EPERM: case EROFS: return SerialLineFailure::Denied;
    case EBUSY: case EWOULDBLOCK: return SerialLineFailure::InUse;
    case EISDIR: case ENOTTY: return SerialLineFailure::NotSerial;
    default: return SerialLineFailure::Other;
    }
}

std::atomic<bool> wireModel{false};

// Start bit, data bits, parity bit and stop bits of one character.
uint32_t BitsPerCharacter(const SerialLineSettings& s) {
    return 1u + s.DataBits + (s.ParityMode == SerialLineSettings::Parity::None ? 0u : 1u) +
           (s.Stop == SerialLineSettings::StopBits::One ? 1u : 2u);
}

} // namespace

void SerialLine::ModelWireTime(bool on) { wireModel.store(on); }

bool SerialLine::IsGoneError(int error) { return error == EIO || error == ENXIO || error == ENODEV; }

long SerialLine::NoteFailure(long result) const {
    if (result < 0 && IsGoneError(errno))
        gone_.store(true);
    return result;
}

SerialLine::~SerialLine() { Close(); }

std::string SerialLine::DevicePath(const std::string& portName) {
    const int n = ComNumber(portName);
    if (n < 1)
        return portName;
    if (const char* mapped = std::getenv(("ZEKO_COM" + std::to_string(n)).c_str()); mapped && *mapped)
        return mapped;
    return "/dev/ttyS" + std::to_string(n - 1);
}

bool SerialLine::Open(const std::string& portName) {
    if (IsOpen())
        return false;
    const std::string path = DevicePath(portName);
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failure_ = FailureOfOpen(errno);
        return false;
    }
    // TIOCEXCL keeps other users out, but not a privileged one; the advisory lock
    // keeps out every other instance of this program as well.
    const bool serial = isatty(fd);
    if (!serial || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        failure_ = serial ? FailureOfOpen(errno) : SerialLineFailure::NotSerial;
        ::close(fd);
        return false;
    }
    fd_ = fd;
    failure_ = SerialLineFailure::None;
    gone_.store(false);
    return true;
}

void SerialLine::Close() {
    if (!IsOpen())
        return;
    // The exclusive mark outlives this descriptor when someone else (the simulated
    // regulator) keeps the device open, so it is taken back before closing.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

bool SerialLine::Apply(const SerialLineSettings& s) {
    if (!IsOpen())
        return false;
    failure_ = SerialLineFailure::Refused;
    termios2 t{};
    if (s.BaudRate == 0 || ::ioctl(fd_, TCGETS2, &t) != 0)
        return false;
    t.c_iflag = IGNBRK;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag = CREAD | CLOCAL | RateCode(s.BaudRate) | DataBitsFlag(s.DataBits);
    t.c_ispeed = t.c_ospeed = s.BaudRate;
    switch (s.ParityMode) {
    case SerialLineSettings::Parity::None: break;
    case SerialLineSettings::Parity::Odd: t.c_cflag |= PARENB | PARODD; break;
    case SerialLineSettings::Parity::Even: t.c_cflag |= PARENB; break;
    case SerialLineSettings::Parity::Mark: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case SerialLineSettings::Parity::Space: t.c_cflag |= PARENB | CMSPAR; break;
    }
    if (s.Stop != SerialLineSettings::StopBits::One)
        t.c_cflag |= CSTOPB;
    if (s.RtsCtsFlow)
        t.c_cflag |= CRTSCTS;
    if (s.XonXoffFlow) {
        t.c_iflag |= IXON | IXOFF;
        t.c_cc[VSTART] = s.XonChar;
        t.c_cc[VSTOP] = s.XoffChar;
    }
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::ioctl(fd_, TCSETS2, &t) != 0)
        return false;
    failure_ = SerialLineFailure::None;
    if (!s.RtsCtsFlow)
        SetRTS(s.RtsOn);
    SetDTR(s.DtrOn);
    characterNs_ = BitsPerCharacter(s) * 1'000'000'000ull / s.BaudRate;
    return true;
}

uint32_t SerialLine::CurrentBaudRate() const {
    termios2 t{};
    if (!IsOpen() || ::ioctl(fd_, TCGETS2, &t) != 0)
        return 0;
    return t.c_ospeed;
}

bool SerialLine::Purge(bool input, bool output) {
    if (!IsOpen())
        return false;
    if (!input && !output)
        return true;
    const int which = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
    return NoteFailure(::ioctl(fd_, TCFLSH, which)) == 0;
}

int SerialLine::BytesWaiting() const {
    int n = 0;
    if (!IsOpen() || NoteFailure(::ioctl(fd_, FIONREAD, &n)) != 0)
        return -1;
    return n;
}

int SerialLine::OutputQueued() const {
    int n = 0;
    if (!IsOpen() || ::ioctl(fd_, TIOCOUTQ, &n) != 0)
        return -1;
    return n;
}

long SerialLine::Read(uint8_t* buffer, size_t count) {
    return IsOpen() ? NoteFailure(Transfer([&] { return ::read(fd_, buffer, count); })) : -1;
}

long SerialLine::Write(const uint8_t* data, size_t count) {
    const long moved = IsOpen() ? NoteFailure(Transfer([&] { return ::write(fd_, data, count); })) : -1;
    if (moved > 0 && wireModel.load()) {
        const uint64_t now = MonotonicMicroseconds() * 1000u;
        wireFreeAtNs_ = std::max(now, wireFreeAtNs_) + static_cast<uint64_t>(moved) * characterNs_;
    }
    return moved;
}

bool SerialLine::Drain() {
    if (!IsOpen() || ::ioctl(fd_, TCSBRK, 1) != 0)
        return false;
    if (wireModel.load())
        SleepPast(wireFreeAtNs_ / 1000u, 0);
    return true;
}

void SerialLine::SetModemBit(int bit, bool on) {
    if (IsOpen())
        ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bit);
}

void SerialLine::SetDTR(bool on) { SetModemBit(TIOCM_DTR, on); }
void SerialLine::SetRTS(bool on) { SetModemBit(TIOCM_RTS, on); }

bool SerialLine::GetModemLines(ModemLines& lines) const {
    int bits = 0;
    lines = {};
    if (!IsOpen() || ::ioctl(fd_, TIOCMGET, &bits) != 0)
        return false;
    lines.CTS = bits & TIOCM_CTS;
    lines.DSR = bits & TIOCM_DSR;
    lines.RING = bits & TIOCM_RNG;
    lines.RLSD = bits & TIOCM_CAR;
    return true;
}

} // namespace zeko
