#pragma once
// The table windows filled from hand-made month files, with what their printing
// and exports need: scripted file dialogs, a fixed clock for the export stamps,
// the expected files kept beside the tests, and a spreadsheet server that records
// every command and request it gets.
#include "TableFixture.h"

#include "platform/SheetServer.h"
#include "platform/UserDialogs.h"
#include "platform/XlsxFile.h"
#include "tables/MesicniTabulka.h"
#include "tables/RocniTabulka.h"
#include "tables/dennitabulka.h"

#include <fstream>
#include <sstream>

namespace zeko::test {

// Commands and requests as "Exec <command>" and "Request <item>" lines; the
// workbook goes into a file of the test's folder.
class RecordingSheetServer : public TSheetServer {
public:
    explicit RecordingSheetServer(const std::string& folder) {
        NewFileName = [this, folder](const std::string& title) {
            titles.push_back(title);
            return folder + "sesit" + std::to_string(++files_) + ".xlsx";
        };
        WriteFile = WriteXlsxFile;
        OpenDocument = [this](const std::string& file, TOpenFailed failed) {
            opened.push_back(file);
            if (!opens)
                failed("xdg-open skončil s kódem 3");
        };
        Tell = [this](const std::string& text) { told.push_back(text); };
        RegisterDdeServer("Excel", this);
    }
    ~RecordingSheetServer() override { RegisterDdeServer("Excel", nullptr); }
    std::optional<std::string> Request(const std::string& topic, const std::string& item) override {
        stream.push_back("Request " + item);
        return TSheetServer::Request(topic, item);
    }
    bool Execute(const std::string& topic, const std::string& command) override {
        stream.push_back("Exec " + command);
        return TSheetServer::Execute(topic, command);
    }
    std::vector<std::string> stream;
    std::vector<std::string> titles;
    std::vector<std::string> opened;
    std::vector<std::string> told;
    // Whether a spreadsheet program can be started to open a written workbook.
    bool opens = true;

private:
    int files_ = 0;
};

class ExportTest : public TableTest {
protected:
    ExportTest() {
        SetDialogs(&dialogs_);
        SetNowOverride(Date(2024, 3, 10) + EncodeTime(14, 5, 9));
    }
    ~ExportTest() override {
        SetDialogs(nullptr);
        SetNowOverride(std::nullopt);
    }

    // Tuesday 5 March 2024 on the regulator's own measurement: quarters of one and
    // of several records, the maximum at 23:55, tariff 1 in two bands and tariff 2
    // in one on working days, the default shifts.
    void WriteDay() {
        AddTuesday();
        Save();
        AddTariffZones(Date(2024, 1, 1), {{0, 1, 1, 360, 600}, {0, 1, 2, 720, 840}, {0, 2, 1, 600, 720}});
    }
    // The day window showing that Tuesday.
    TDenniTabulkaForm& TuesdayShown() {
        WriteDay();
        TDenniTabulkaForm& form = DayWindow();
        Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
        return form;
    }
    static std::string FileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // A file kept with the tests; an actual file that differs is left beside the
    // pictures as <name>.actual for a person to compare.
    static void ExpectSameAsKept(const std::string& actual, const std::string& name) {
        const std::string expected = FileBytes(std::string(ZEKO_EXPECTED_DIR) + "/" + name);
        EXPECT_FALSE(expected.empty()) << name;
        if (actual == expected)
            return;
        std::filesystem::create_directories(ZEKO_ARTEFACT_DIR);
        std::ofstream(std::string(ZEKO_ARTEFACT_DIR) + "/" + name + ".actual", std::ios::binary) << actual;
        ADD_FAILURE() << name << " differs; the actual file is in " << ZEKO_ARTEFACT_DIR;
    }
    static std::string Lines(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        return text;
    }

    ScriptedDialogs dialogs_;
};

} // namespace zeko::test
