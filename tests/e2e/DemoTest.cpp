// The demo as scripts/run gives it: the simulated regulator's days, downloaded by
// the program, show a working site at the program's defaults: a daily load curve of
// tens to hundreds of kW with its power factor in the archive, hour values in the
// tables, and live values of the same order. Pictures of each window stay with the
// other test pictures; one of the program on a small screen too.
#include "e2e/E2eSupport.h"

#include "platform/DateTime.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace zeko;
using namespace zeko::e2e;

namespace {

// Sends a command and waits until the program has run it.
void RunCommand(test::ZekoProcess& zeko, const std::string& command) {
    const size_t from = zeko.Log().size();
    zeko.Command(command);
    ASSERT_TRUE(zeko.WaitForLine("Command " + command, 20000, from)) << command;
}

// Whether the file is a whole PNG picture: it ends in the picture's end chunk.
bool WholePng(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const auto size = static_cast<long long>(in.tellg());
    if (size < 12)
        return false;
    in.seekg(size - 8);
    char end[8] = {};
    in.read(end, 8);
    return std::string(end, 4) == "IEND";
}

// A picture of the program's window among the test pictures; returns its path once
// it is written.
std::string Grab(test::ZekoProcess& zeko, const std::string& name) {
    std::filesystem::create_directories(ZEKO_ARTEFACT_DIR);
    const std::string path = std::string(ZEKO_ARTEFACT_DIR) + "/" + name;
    std::filesystem::remove(path);
    RunCommand(zeko, "grab " + path);
    // The command is logged as it starts.
    for (int i = 0; i < 500 && !WholePng(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(WholePng(path)) << path;
    return path;
}

// A number as a table cell shows it, under any decimal separator.
double Number(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    return std::strtod(text.c_str(), nullptr);
}

// The width and height of a PNG picture, from its header.
std::pair<int, int> PngSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char head[24] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    auto big = [&](int at) { return (head[at] << 24) | (head[at + 1] << 16) | (head[at + 2] << 8) | head[at + 3]; };
    return {big(16), big(20)};
}

} // namespace

TEST(Demo, TheSimulatedSitesDaysShowALoadCurveWithItsPowerFactor) {
    // Three days of quarter hours up to now, in a folder made as scripts/run makes
    // the demo's.
    Session session({"--records", "300"}, 150, {}, [](const std::string& folder) {
        ASSERT_EQ(std::system(("'" ZEKO_DEMO_FOLDER_SCRIPT "' '" + folder + "'").c_str()), 0);
    });
    auto& zeko = session.zeko;
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.Downloaded());
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    FormatSettings().DateSeparator = '.';
    const TDateTime yesterday = Today() - 1;

    // The live values: the site's load as the regulator measures it now.
    ASSERT_TRUE(zeko.WaitForLine("Online "));
    const std::vector<std::string> online = test::LinesWith(zeko.Log(), "Online ");
    const std::string values = online.back().substr(online.back().find("Online ") + 7);
    const double activePower = Number(values.substr(values.find('|') + 1));
    EXPECT_GE(activePower, 10) << values;
    EXPECT_LT(activePower, 1000) << values;
    Grab(zeko, "demo-online.png");

    // Yesterday's hours: tens to hundreds of kWh each, thousands in the day.
    RunCommand(zeko, "menu cmDennitabulka");
    RunCommand(zeko, "click DenniTabulkaForm/Btn_Dnesni");
    RunCommand(zeko, "click DenniTabulkaForm/Btn_Predchozi");
    const size_t from = zeko.Log().size();
    zeko.Command("cells DenniTabulkaForm/Tabulka");
    ASSERT_TRUE(zeko.WaitForLine("Cells DenniTabulkaForm/Tabulka 26 ", 20000, from));
    const std::vector<std::string> log = zeko.Log();
    const std::vector<std::string> rows =
        test::LoggedRows({log.begin() + static_cast<std::ptrdiff_t>(from), log.end()}, "DenniTabulkaForm/Tabulka", 0,
                         log.size());
    ASSERT_EQ(rows.size(), 27u);
    for (size_t hour = 1; hour <= 24; ++hour) {
        const std::vector<std::string> cells = test::CellsOf(rows[hour]);
        ASSERT_GE(cells.size(), 6u) << rows[hour];
        EXPECT_GE(Number(cells[5]), 10) << rows[hour];
        EXPECT_LT(Number(cells[5]), 1000) << rows[hour];
    }
    const double day = Number(test::CellsOf(rows[25]).at(5));
    EXPECT_GE(day, 500) << rows[25];
    EXPECT_LT(day, 24000) << rows[25];
    Grab(zeko, "demo-denni.png");
    RunCommand(zeko, "click DenniTabulkaForm/Btn_MesTab");
    Grab(zeko, "demo-mesicni.png");

    // The archive draws yesterday's curves and, every quarter hour, its power factor,
    // on the axis of the site's technical maximum: a working day's load fills most of
    // its plot.
    RunCommand(zeko, "menu cmArchiv");
    RunCommand(zeko, "click ArchivForm/SpeedLeft");
    const std::string shown = "Archiv " + DateToStr(yesterday) + " 96 96 96 cos 96 ymax 300 top ";
    ASSERT_TRUE(zeko.WaitForLine(shown));
    const std::vector<std::string> days = test::LinesWith(zeko.Log(), shown);
    const int top = std::atoi(days.back().substr(days.back().find(shown) + shown.size()).c_str());
    EXPECT_LE(top, 300) << days.back();
    const int weekday = DayOfWeek(yesterday);  // 1 Sunday .. 7 Saturday
    if (weekday != 1 && weekday != 7)
        EXPECT_GE(top, 180) << days.back();
    Grab(zeko, "demo-archiv.png");
    // Its picture, with the site and the regulator named in its header.
    const std::string picture = std::string(ZEKO_ARTEFACT_DIR) + "/demo-graf.jpg";
    RunCommand(zeko, "graph picture 1 " + picture);
    EXPECT_TRUE(zeko.WaitForLine("GraphPicture 1 -> " + picture));
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_TRUE(test::LinesWith(zeko.Log(), "CommandFailed").empty());
}

// Started on an 800 x 600 screen without a "Zeko.ini", the program's default window
// is held inside the screen, its status bar included.
TEST(Demo, OnASmallScreenTheDefaultWindowFitsIt) {
    test::TempDir dir;
    test::ZekoProcess zeko(dir.Path(), {{"ZEKO_COM1", dir / "no-such-port"},
                                        {"QT_QPA_PLATFORM", "offscreen:configfile=" + test::ScreenFile(dir.Path(), 800, 600)}});
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Warning [OK] Daný sériový port neexistuje nebo se právě používá !"));
    const auto [width, height] = PngSize(Grab(zeko, "hlavni-800.png"));
    EXPECT_LE(width, 800);
    EXPECT_LE(height, 600);
    EXPECT_GE(width, 780);  // the window takes the screen, not less
    EXPECT_EQ(zeko.Close(), 0);
    // Closing stores the size the window had.
    std::ifstream ini(dir / "Zeko.ini");
    const std::string text((std::istreambuf_iterator<char>(ini)), {});
    EXPECT_NE(text.find("Sirka=" + std::to_string(width)), std::string::npos) << text;
}
