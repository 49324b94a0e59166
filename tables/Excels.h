#pragma once
// TExcel: the link to the spreadsheet program over a data-exchange conversation on
// its "System" topic. It connects (starting the program when no server answers),
// sends macro command strings, among them cell selection and cell filling, and
// paces them: after every ExecLimit + 1 commands sent within 1.728 seconds it
// waits until the program reports "Ready". Every failure raises EExcel with the
// program's message; the table exports catch it. Each table window owns one.
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/DateTime.h"
#include "platform/DdeClient.h"

namespace zeko {

class EExcel : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// The link worked, but the program could not keep what it built (its file could not
// be saved): the program's own words for the user, which name the file and why.
class EExcelNotSaved : public EExcel {
public:
    using EExcel::EExcel;
};

// The default value of a key under the registry's root of file classes; nullopt
// when the key or its value is missing.
using TClassesRootReader = std::function<std::optional<std::string>(const std::string& key)>;
// The registry of this system: the store of platform/Registry.h.
std::optional<std::string> ReadClassesRootDefault(const std::string& key);

// The spreadsheet program as the command registered for ".XLS" files names it: the
// command line in upper case cut after the first "EXCEL.EXE", without a leading
// quote, provided that file exists; nullopt otherwise.
std::optional<std::string> LocateExcelProgram(const TClassesRootReader& readDefault,
                                              const std::function<bool(const std::string&)>& fileExists);

class TExcel {
public:
    TExcel();
    virtual ~TExcel();
    TExcel(const TExcel&) = delete;
    TExcel& operator=(const TExcel&) = delete;

    // The program started when no server answers; kept without its extension.
    // Setting it disconnects.
    const std::string& ExeName() const { return exeName_; }
    void SetExeName(const std::string& name);
    int ExecLimit = 99;
    int Decimals = 2;
    // Block size and threshold of a block mode this program never switches on; each
    // setter keeps BatchMin <= BatchMax.
    int BatchMin() const { return batchMin_; }
    int BatchMax() const { return batchMax_; }
    void SetBatchMin(int value);
    void SetBatchMax(int value);
    std::function<void()> OnOpen;
    std::function<void()> OnClose;
    // Where LocateExcel looks; the system's registry and files unless a test sets
    // its own.
    TClassesRootReader ClassesRoot = ReadClassesRootDefault;
    std::function<bool(const std::string&)> ProgramExists;

    bool Connected() const { return connected_; }
    void Connect();
    void Disconnect();

    virtual void CheckConnection();
    virtual void LocateExcel();
    virtual void PaceCommands();
    virtual void ProcessMessages();
    virtual void PutExt(int row, int col, double value);
    virtual void PutInt(int row, int col, int value);
    virtual void PutDate(int row, int col, TDateTime value);

    std::string Request(const std::string& item);
    bool Ready();
    void WaitForReady();
    void Exec(const std::string& command);
    void Select(int row, int col);
    void PutStr(int row, int col, const std::string& text);
    // Shows the user what the commands built, under `title` (the server writes the
    // workbook into a file named after it and opens it); raises EExcelNotSaved with
    // the server's message when the workbook could not be saved, EExcel when the
    // link is gone.
    void Activate(const std::string& title);

private:
    TDdeClientConv conversation_;
    std::string exeName_;
    bool connected_ = false;
    int batchMin_ = 200;
    int batchMax_ = 250;
    TDateTime lastPaceCheck_;
    int commandCount_ = 0;
};

} // namespace zeko
