#pragma once
// The program itself (build/app/zeko) as a child process of a test, headless, with
// its test automation on (app/TestHook.h): commands go into its script file, and
// its log tells what it showed.
//
//   zeko::test::ZekoProcess zeko(dir.Path(), {{"ZEKO_COM1", sim.PtyPath()}});
//   ASSERT_TRUE(zeko.WaitForLine("Nastavení načteno"));
//   zeko.Command("menu cmNactiZaznamy");
//   ASSERT_TRUE(zeko.WaitForLine("Pozice záznamů PC zapsána"));
//   EXPECT_EQ(zeko.Close(), 0);
//
// The program directory is `programDir`; QT_QPA_PLATFORM is offscreen, on a screen
// of 1280 x 1024 (another screen: QT_QPA_PLATFORM with ScreenFile in
// `environment`). The log and the script lie in the program directory unless
// `environment` names them (ZEKO_TEST_LOG, ZEKO_TEST_SCRIPT: for a program directory
// on a disk that runs full). Given a user, the program runs as that user, with the
// program directory made its own. The destructor kills a program still running.
#include "support/Unprivileged.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zeko::test {

// A screen of that size for the offscreen platform: the file that describes it, in
// `programDir`.
std::string ScreenFile(const std::string& programDir, int width, int height);

class ZekoProcess {
public:
    ZekoProcess(const std::string& programDir, const std::map<std::string, std::string>& environment = {},
                const std::optional<UnprivilegedUser>& user = std::nullopt);
    ~ZekoProcess();
    ZekoProcess(const ZekoProcess&) = delete;
    ZekoProcess& operator=(const ZekoProcess&) = delete;

    // The zeko binary of this build ($ZEKO_BINARY overrides it).
    static std::string BinaryPath();

    void Command(const std::string& line);
    std::vector<std::string> Log() const;
    // Waits until `done` holds for the log; answers done.
    bool WaitForLog(const std::function<bool(const std::vector<std::string>&)>& done, int timeoutMs = 20000) const;
    // Waits for a log line that contains `text` (after `from` lines); answers whether one came.
    bool WaitForLine(const std::string& text, int timeoutMs = 20000, size_t from = 0) const;
    size_t CountLines(const std::string& text) const;
    // "close", then waits for the exit; answers the exit status (-1 when killed).
    int Close(int timeoutMs = 20000);
    bool Running() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }

private:
    std::string logPath_, scriptPath_;
    pid_t pid_ = -1;
};

// Every log line that contains `text`.
std::vector<std::string> LinesWith(const std::vector<std::string>& log, const std::string& text);
// The rows "cells <grid>" logged ("Cells <grid> <row> <c0>|<c1>|..."), the texts
// after the row number: `rows` rows from the `dump`-th such command on.
std::vector<std::string> LoggedRows(const std::vector<std::string>& log, const std::string& grid, size_t dump,
                                    size_t rows);
// The cells of a logged row.
std::vector<std::string> CellsOf(const std::string& row);

} // namespace zeko::test
