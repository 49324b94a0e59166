#include "e2e/ZekoProcess.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zeko::test {

namespace {

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace

std::string ScreenFile(const std::string& programDir, int width, int height) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const std::string path = programDir + "zeko-test-screen-" + size + ".json";
    std::ofstream(path, std::ios::trunc) << "{\"screens\": [{\"name\": \"zeko-test\", \"x\": 0, \"y\": 0, \"width\": "
                                         << width << ", \"height\": " << height << ", \"logicalDpi\": 96}]}\n";
    return path;
}

std::string ZekoProcess::BinaryPath() {
    if (const char* path = std::getenv("ZEKO_BINARY"))
        return path;
#ifdef ZEKO_BINARY_PATH
    return ZEKO_BINARY_PATH;
#else
    return "zeko";
#endif
}

ZekoProcess::ZekoProcess(const std::string& programDir, const std::map<std::string, std::string>& environment,
                         const std::optional<UnprivilegedUser>& user)
    : logPath_(environment.count("ZEKO_TEST_LOG") ? environment.at("ZEKO_TEST_LOG") : programDir + "zeko-test.log"),
      scriptPath_(environment.count("ZEKO_TEST_SCRIPT") ? environment.at("ZEKO_TEST_SCRIPT")
                                                         : programDir + "zeko-test.script") {
    std::ofstream(logPath_, std::ios::trunc).close();
    std::ofstream(scriptPath_, std::ios::trunc).close();
    if (user)
        for (const std::string& path : {programDir, logPath_, scriptPath_})
            if (::chown(path.c_str(), user->Uid, user->Gid) != 0)
                throw std::runtime_error("cannot give " + path + " to " + user->Name);
    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const size_t eq = entry.find('=');
        if (eq != std::string::npos)
            env[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    // A screen that holds the program's default window (the platform's own is smaller).
    env["QT_QPA_PLATFORM"] = "offscreen:configfile=" + ScreenFile(programDir, 1280, 1024);
    env["ZEKO_PROGRAM_DIR"] = programDir;
    env["ZEKO_TEST_LOG"] = logPath_;
    env["ZEKO_TEST_SCRIPT"] = scriptPath_;
    for (const auto& [key, value] : environment)
        env[key] = value;
    std::vector<std::string> entries;
    for (const auto& [key, value] : env)
        entries.push_back(key + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    const std::string binary = BinaryPath();
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error("cannot start zeko");
    if (pid_ == 0) {
        // A change of user clears the parent-death signal, so it comes first.
        if (user && !BecomeUser(*user))
            _exit(127);
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // the program ends with the test
        if (getppid() != parent)
            _exit(127);
        char* argv[] = {const_cast<char*>(binary.c_str()), nullptr};
        execve(binary.c_str(), argv, envp.data());
        _exit(127);
    }
}

ZekoProcess::~ZekoProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

void ZekoProcess::Command(const std::string& line) {
    std::ofstream(scriptPath_, std::ios::app) << line << '\n';
}

std::vector<std::string> ZekoProcess::Log() const {
    std::ifstream in(logPath_);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    // A line still being written has no line end yet: not counted.
    if (!lines.empty() && in.eof()) {
        std::ifstream whole(logPath_, std::ios::binary | std::ios::ate);
        const auto size = static_cast<long long>(whole.tellg());
        if (size > 0) {
            whole.seekg(size - 1);
            if (whole.get() != '\n')
                lines.pop_back();
        }
    }
    return lines;
}

bool ZekoProcess::WaitForLog(const std::function<bool(const std::vector<std::string>&)>& done, int timeoutMs) const {
    return WaitFor([&] { return done(Log()); }, timeoutMs);
}

bool ZekoProcess::WaitForLine(const std::string& text, int timeoutMs, size_t from) const {
    return WaitForLog(
        [&](const std::vector<std::string>& log) {
            for (size_t i = from; i < log.size(); ++i)
                if (log[i].find(text) != std::string::npos)
                    return true;
            return false;
        },
        timeoutMs);
}

size_t ZekoProcess::CountLines(const std::string& text) const { return LinesWith(Log(), text).size(); }

int ZekoProcess::Close(int timeoutMs) {
    if (pid_ <= 0)
        return -1;
    Command("close");
    int status = 0;
    const bool ended = WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeoutMs);
    if (!ended) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return -1;
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> LinesWith(const std::vector<std::string>& log, const std::string& text) {
    std::vector<std::string> out;
    for (const std::string& line : log)
        if (line.find(text) != std::string::npos)
            out.push_back(line);
    return out;
}

std::vector<std::string> LoggedRows(const std::vector<std::string>& log, const std::string& grid, size_t dump,
                                    size_t rows) {
    const std::string head = "Cells " + grid + " ";
    const std::vector<std::string> all = LinesWith(log, head);
    std::vector<std::string> texts;
    for (size_t i = dump * rows; i < all.size() && i < (dump + 1) * rows; ++i) {
        const std::string& line = all[i];
        const size_t number = line.find(head) + head.size();
        texts.push_back(line.substr(line.find(' ', number) + 1));
    }
    return texts;
}

std::vector<std::string> CellsOf(const std::string& row) {
    std::vector<std::string> cells;
    std::istringstream in(row);
    for (std::string cell; std::getline(in, cell, '|');)
        cells.push_back(cell);
    return cells;
}

} // namespace zeko::test
