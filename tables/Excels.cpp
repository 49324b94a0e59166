#include "tables/Excels.h"

#include <QCoreApplication>

#include <algorithm>
#include <cctype>

#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "platform/ProgramDir.h"
#include "platform/Registry.h"

namespace zeko {

namespace {

// Commands sent within this part of a day after each ExecLimit + 1 make the link
// wait for "Ready": 1.728 seconds.
constexpr double PaceInterval = 0.00002;
constexpr int ReadyRounds = 64;
// The registry's value buffer held 511 characters.
constexpr size_t RegistryValueLength = 511;
constexpr const char* ExcelFile = "EXCEL.EXE";

std::string WithoutExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    const size_t slash = name.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return name;
    return name.substr(0, dot);
}

std::string DoubledQuotes(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out;
}

} // namespace

std::optional<std::string> ReadClassesRootDefault(const std::string& key) {
    TRegistry registry;
    registry.SetRootKey(TRootKey::HKEY_CLASSES_ROOT);
    if (!registry.OpenKeyReadOnly(key) || registry.GetDataType("") != rdString)
        return std::nullopt;
    return registry.ReadString("");
}

std::optional<std::string> LocateExcelProgram(const TClassesRootReader& readDefault,
                                              const std::function<bool(const std::string&)>& fileExists) {
    std::optional<std::string> fileClass = readDefault(".XLS");
    if (!fileClass)
        return std::nullopt;
    fileClass = fileClass->substr(0, RegistryValueLength);
    if (fileClass->find('E') == std::string::npos)
        return std::nullopt;
    std::optional<std::string> command = readDefault(*fileClass + "\\Shell\\Open\\Command");
    if (!command)
        return std::nullopt;
    std::string name = command->substr(0, RegistryValueLength);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    if (const size_t at = name.find(ExcelFile); at != std::string::npos)
        name.erase(at + std::char_traits<char>::length(ExcelFile));
    if (!name.empty() && name.front() == '"')
        name.erase(0, 1);
    if (!fileExists(name))
        return std::nullopt;
    return name;
}

TExcel::TExcel() : lastPaceCheck_(Now()) {
    ProgramExists = [](const std::string& name) { return FileExists(name); };
    conversation_.ConnectMode = ddeManual;
    conversation_.OnOpen = [this] {
        connected_ = true;
        if (OnOpen)
            OnOpen();
    };
    conversation_.OnClose = [this] {
        connected_ = false;
        if (OnClose)
            OnClose();
    };
    SetExeName("Excel");
}

TExcel::~TExcel() {
    conversation_.OnOpen = nullptr;
    conversation_.OnClose = nullptr;
}

void TExcel::SetExeName(const std::string& name) {
    Disconnect();
    exeName_ = WithoutExtension(name);
    conversation_.ServiceApplication = exeName_;
}

void TExcel::SetBatchMin(int value) { batchMin_ = std::min(value, batchMax_); }
void TExcel::SetBatchMax(int value) { batchMax_ = std::max(value, batchMin_); }

void TExcel::Connect() {
    if (connected_)
        return;
    conversation_.SetLink("Excel", "System");
    if (conversation_.OpenLink())
        return;
    LocateExcel();
    if (conversation_.OpenLink() || conversation_.OpenLink())
        return;
    throw EExcel("Excel cannot be lunched\r" + exeName_);
}

void TExcel::Disconnect() {
    if (connected_)
        conversation_.CloseLink();
}

void TExcel::CheckConnection() {
    if (!connected_)
        throw EExcel("Excel not connected");
    ProcessMessages();
}

void TExcel::LocateExcel() {
    if (const std::optional<std::string> name = LocateExcelProgram(ClassesRoot, ProgramExists))
        SetExeName(*name);
}

void TExcel::PaceCommands() {
    if (++commandCount_ <= ExecLimit)
        return;
    commandCount_ = 0;
    const TDateTime now = Now();
    const double elapsed = now - lastPaceCheck_;
    lastPaceCheck_ = now;
    if (elapsed < PaceInterval)
        WaitForReady();
}

void TExcel::ProcessMessages() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void TExcel::PutExt(int row, int col, double value) { PutStr(row, col, FormatFixed(value, Decimals)); }
void TExcel::PutInt(int row, int col, int value) { PutStr(row, col, IntToStr(value)); }
void TExcel::PutDate(int row, int col, TDateTime value) { PutStr(row, col, DateToStr(value)); }

std::string TExcel::Request(const std::string& item) {
    CheckConnection();
    return conversation_.RequestData(item).value_or("*** No Reply ***");
}

bool TExcel::Ready() { return Request("Status") == "Ready"; }

void TExcel::WaitForReady() {
    for (int round = 0; round < ReadyRounds; ++round) {
        ProcessMessages();
        if (Ready())
            return;
    }
    throw EExcel("Excel not responding");
}

void TExcel::Exec(const std::string& command) {
    CheckConnection();
    PaceCommands();
    if (conversation_.ExecuteMacro(command, false)) {
        ProcessMessages();
        return;
    }
    WaitForReady();
    if (!conversation_.ExecuteMacro(command, true))
        throw EExcel("\"" + command + "\" not accepted by Excel");
    while (conversation_.WaitStat())
        ProcessMessages();
}

void TExcel::Select(int row, int col) {
    Exec("[SELECT(\"R" + std::to_string(row) + "C" + std::to_string(col) + "\")]");
}

void TExcel::PutStr(int row, int col, const std::string& text) {
    // A quote inside the text is doubled, as the macro language writes it: a tariff
    // name may hold one.
    Exec("[FORMULA(\"" + DoubledQuotes(text) + "\",\"R" + std::to_string(row) + "C" + std::to_string(col) + "\")]");
}

void TExcel::Activate(const std::string& title) {
    CheckConnection();
    const std::optional<std::string> failure = conversation_.ActivateServer(title);
    if (!failure)
        return;
    if (!conversation_.Open())
        throw EExcel("Excel not connected");  // the program went away meanwhile
    throw EExcelNotSaved(*failure);
}

} // namespace zeko
