#include "support/RegsimProcess.h"

#include "core/RecordMemory.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zeko::test {
namespace {

constexpr int StartTimeoutMs = 10000;

// The first line the child writes on the pipe, or "" when none comes in time.
std::string ReadFirstLine(int fd, int timeoutMs) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        char c;
        if (::read(fd, &c, 1) != 1)
            return "";
        if (c == '\n')
            return line;
        line += c;
    }
    return "";
}

std::vector<uint8_t> ParseHex(std::istringstream& in, std::string& note) {
    std::vector<uint8_t> bytes;
    std::string word;
    while (in >> word) {
        if (word == "#") {
            std::getline(in, note);
            if (!note.empty() && note[0] == ' ')
                note.erase(0, 1);
            break;
        }
        bytes.push_back(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
    }
    return bytes;
}

} // namespace

size_t CountSent(const RegsimLog& log) {
    size_t n = 0;
    for (const RegsimLogLine& l : log)
        n += !l.Received;
    return n;
}

std::string RegsimProcess::BinaryPath() {
    if (const char* path = std::getenv("ZEKO_REGSIM"); path && *path)
        return path;
    return ZEKO_REGSIM_PATH;
}

RegsimProcess::RegsimProcess(const std::vector<std::string>& options) {
    logPath_ = folder_ / "regsim.log";
    ringPath_ = folder_ / "ring.bin";

    std::vector<std::string> args = {BinaryPath(), "--log", logPath_, "--export-ring", ringPath_};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0)
        throw std::runtime_error("no pipe for regsim");
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    if (pid_ < 0) {
        close(out[0]);
        throw std::runtime_error("cannot start regsim");
    }
    ptyPath_ = ReadFirstLine(out[0], StartTimeoutMs);
    close(out[0]);
    if (ptyPath_.empty()) {
        Stop();
        throw std::runtime_error("regsim did not start: " + args[0]);
    }
}

RegsimProcess::~RegsimProcess() { Stop(); }

void RegsimProcess::Stop() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    int status;
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

void RegsimProcess::ToggleMute() const {
    if (pid_ > 0)
        kill(pid_, SIGUSR1);
}

void RegsimProcess::TogglePlug() const {
    if (pid_ > 0)
        kill(pid_, SIGUSR2);
}

void RegsimProcess::MapToCom(int n) const {
    setenv(("ZEKO_COM" + std::to_string(n)).c_str(), ptyPath_.c_str(), 1);
}

RegsimLog RegsimProcess::Log() const {
    RegsimLog log;
    std::ifstream file(logPath_);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream in(line);
        RegsimLogLine entry;
        std::string direction;
        if (!(in >> entry.Time >> direction) || (direction != "RX" && direction != "TX"))
            continue;  // a line still being written
        entry.Received = direction == "RX";
        entry.Bytes = ParseHex(in, entry.Note);
        log.push_back(std::move(entry));
    }
    return log;
}

std::vector<std::vector<uint8_t>> RegsimProcess::Received() const {
    std::vector<std::vector<uint8_t>> out;
    for (const RegsimLogLine& l : Log())
        if (l.Received)
            out.push_back(l.Bytes);
    return out;
}

std::vector<std::vector<uint8_t>> RegsimProcess::Sent() const {
    std::vector<std::vector<uint8_t>> out;
    for (const RegsimLogLine& l : Log())
        if (!l.Received)
            out.push_back(l.Bytes);
    return out;
}

bool RegsimProcess::WaitForLog(const std::function<bool(const RegsimLog&)>& done, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (done(Log()))
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::vector<uint8_t> RegsimProcess::RingRecord(uint32_t index) const {
    std::ifstream file(ringPath_, std::ios::binary);
    std::vector<uint8_t> record(WireRecordBytes);
    file.seekg(static_cast<std::streamoff>(index) * WireRecordBytes);
    if (!file.read(reinterpret_cast<char*>(record.data()), WireRecordBytes))
        return {};
    return record;
}

} // namespace zeko::test
