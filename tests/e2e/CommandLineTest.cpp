// "zeko --help" and "zeko --version" as a Debian command answers them: at once,
// exit status 0, the text on standard output, without a display (none is set), a
// port or a file of the program.
#include "e2e/ZekoProcess.h"

#include "app/CommandLine.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace zeko;

namespace {

struct Outcome {
    int Status = -1;  // the exit status; -1 when it did not end in time
    std::string Out, Err;
};

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    return text;
}

// The program with exactly these arguments and this environment; its standard
// output goes to `outFile` when one is given.
Outcome RunZeko(const std::vector<std::string>& args, const std::vector<std::string>& environment,
            const std::string& outFile = "") {
    int out[2], err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFile.empty())
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(), O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<std::string> argStore = {test::ZekoProcess::BinaryPath()};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv, envp;
    for (std::string& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStore = environment;
    for (std::string& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    Outcome run;
    if (spawned == 0) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        int status = 0;
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                status = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        run.Status = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Out = ReadAll(out[0]);
        run.Err = ReadAll(err[0]);
    }
    ::close(out[0]);
    ::close(err[0]);
    return run;
}

// Every file and folder under `dir`.
std::vector<std::string> Contents(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        names.push_back(entry.path().string());
    return names;
}

} // namespace

TEST(CommandLine, HelpAndVersionAnswerAtOnceWithoutADisplayAPortOrAFile) {
    test::TempDir home;
    const std::vector<std::string> bare = {"HOME=" + home.Path(), "PATH=/usr/bin:/bin",
                                           "ZEKO_PROGRAM_DIR=" + home / "zeko", "ZEKO_COM1=" + home / "ttyUSB0"};
    auto with = [&](const std::string& language) {
        std::vector<std::string> environment = bare;
        environment.push_back("LANG=" + language);
        return environment;
    };
    const struct {
        std::string Option, Language, Expected;
    } cases[] = {
        {"--version", "C.UTF-8", "zeko 0.90beta14\n"},
        {"--version", "cs_CZ.UTF-8", "zeko 0.90beta14\n"},
        {"--help", "C.UTF-8", UsageText(false)},
        {"--help", "cs_CZ.UTF-8", UsageText(true)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Option + " " + c.Language);
        const Outcome run = RunZeko({c.Option}, with(c.Language));
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Out, c.Expected);
        EXPECT_EQ(run.Err, "");
        EXPECT_EQ(Contents(home.Path()), std::vector<std::string>{});
    }
    EXPECT_EQ(UsageText(true).rfind("Použití: zeko [VOLBA]\n", 0), 0u);
    EXPECT_EQ(UsageText(false).rfind("Usage: zeko [OPTION]\n", 0), 0u);
    // Among other arguments, and in the language of LC_ALL before LANG.
    std::vector<std::string> czech = with("C.UTF-8");
    czech.push_back("LC_ALL=cs_CZ.UTF-8");
    EXPECT_EQ(RunZeko({"-platform", "offscreen", "--help"}, czech).Out, UsageText(true));

    // A text that cannot be written is no success.
    const Outcome full = RunZeko({"--version"}, with("C.UTF-8"), "/dev/full");
    EXPECT_EQ(full.Status, 1);
    EXPECT_EQ(full.Err, "zeko: No space left on device\n");
    const Outcome plna = RunZeko({"--version"}, with("cs_CZ.UTF-8"), "/dev/full");
    EXPECT_EQ(plna.Status, 1);
    EXPECT_EQ(plna.Err, "zeko: Na disku není volné místo\n");
    EXPECT_EQ(Contents(home.Path()), std::vector<std::string>{});
}
