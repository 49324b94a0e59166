#include "app/SpreadsheetProgram.h"

#include <memory>
#include <string_view>

#include "platform/FormatPatterns.h"
#include "platform/ProgramDir.h"
#include "platform/SheetServer.h"
#include "platform/XlsxFile.h"

namespace zeko {

namespace {

// The name the table windows' links start when no server answers.
constexpr const char* ProgramName = "Excel";
constexpr const char* ServiceName = "Excel";

struct TInstalled {
    TOpenDocument Open;
    std::function<void(const std::string&)> Tell;
    std::unique_ptr<TSheetServer> Server;
};

TInstalled& Installed() {
    static TInstalled installed;
    return installed;
}

bool StartServer() {
    TInstalled& installed = Installed();
    if (!installed.Server) {
        installed.Server = std::make_unique<TSheetServer>();
        installed.Server->NewFileName = NewWorkbookFileName;
        installed.Server->WriteFile = WriteXlsxFile;
        installed.Server->OpenDocument = installed.Open;
        installed.Server->Tell = installed.Tell;
    }
    RegisterDdeServer(ServiceName, installed.Server.get());
    return true;
}

} // namespace

void InstallSpreadsheetProgram(TOpenDocument open, std::function<void(const std::string&)> tell) {
    Installed().Open = std::move(open);
    Installed().Tell = std::move(tell);
    RegisterDdeApplication(ProgramName, StartServer);
}

void RemoveSpreadsheetProgram() {
    RegisterDdeApplication(ProgramName, {});
    RegisterDdeServer(ServiceName, nullptr);
    Installed() = TInstalled{};
}

TSheetServer* SpreadsheetServer() { return Installed().Server.get(); }

std::string WorkbookFileStem(const std::string& title) {
    std::string stem;
    for (const char c : title) {
        // Characters no file name may hold on any disk the workbook may be copied to.
        constexpr std::string_view forbiddenChars = "/\\:*?\"<>|";
        const bool forbidden = static_cast<unsigned char>(c) < 0x20 || forbiddenChars.find(c) != std::string_view::npos;
        stem += forbidden ? '-' : c;
    }
    while (!stem.empty() && (stem.back() == ' ' || stem.back() == '.'))
        stem.pop_back();
    while (!stem.empty() && (stem.front() == ' ' || stem.front() == '.'))
        stem.erase(stem.begin());
    return stem;
}

std::string NewWorkbookFileName(const std::string& title) {
    std::string fileStem = WorkbookFileStem(title);
    if (fileStem.empty())
        fileStem = "Tabulky " + FormatDateTime("yyyy-mm-dd hh-nn-ss", Now());
    const std::string stem = ProgramFile("Export/" + fileStem);
    std::string name = stem + ".xlsx";
    for (int n = 2; FileExists(name); ++n)
        name = stem + " (" + std::to_string(n) + ").xlsx";
    return name;
}

} // namespace zeko
