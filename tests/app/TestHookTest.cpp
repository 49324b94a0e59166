// The test automation's script commands as the end-to-end tests use them: each
// line of the script acts once, and what it did or could not do is in the log.
#include "app/TestHook.h"

#include "controls/ZcSpin.h"
#include "core/ZekoMessages.h"
#include "platform/UserDialogs.h"
#include "platform/qt/Edits.h"
#include "platform/qt/Forms.h"
#include "platform/qt/Grids.h"
#include "platform/qt/QtMainThread.h"
#include "platform/qt/RadioGroup.h"
#include "support/MessageRecorder.h"
#include "support/QtApp.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

using namespace zeko;

namespace {

struct Automation : ::testing::Test {
    Automation() {
        mainThread.reset(InstallQtMainThread());
        ::setenv("ZEKO_TEST_LOG", log.c_str(), 1);
        ::setenv("ZEKO_TEST_SCRIPT", script.c_str(), 1);
        TTestAutomation::InstallFromEnvironment();
        grid = new TStringGrid(&window);
        grid->setObjectName("Mrizka");
        grid->SetColCount(2);
        grid->SetRowCount(2);
        grid->SetCells(0, 0, "a");
        grid->SetCells(1, 1, "d");
        TTestAutomation::Instance()->Attach(&window);
    }
    ~Automation() override {
        delete TTestAutomation::Instance();
        ::unsetenv("ZEKO_TEST_LOG");
        ::unsetenv("ZEKO_TEST_SCRIPT");
    }
    // Appends script lines and waits until the program has taken the last one.
    void Run(const std::vector<std::string>& lines) {
        {
            std::ofstream out(script, std::ios::app);
            for (const std::string& line : lines)
                out << line << "\n";
        }
        const std::string last = "Command " + lines.back();
        ASSERT_TRUE(test::ProcessEventsUntil([&] { return Has(last); }));
    }
    std::vector<std::string> Log() const {
        std::vector<std::string> lines;
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    bool Has(const std::string& line) const {
        for (const std::string& l : Log())
            if (l == line)
                return true;
        return false;
    }

    QApplication& app = test::QtApp();  // before any widget
    test::TempDir dir;
    std::string log = dir / "log.txt";
    std::string script = dir / "script.txt";
    std::unique_ptr<QtMainThread> mainThread;
    QWidget window;
    TStringGrid* grid;
};

} // namespace

TEST_F(Automation, InputAndFileLinesAnswerTheNextBoxes) {
    Run({"input Tarif denní  ", "input", "file /data/ROK2024/Mesic03.zek", "file cancel"});
    std::string value = "old";
    ASSERT_TRUE(CurrentDialogs().InputQuery("Tarify", "Název tarifu:", value));
    EXPECT_EQ(value, "Tarif denní  ");
    ASSERT_TRUE(CurrentDialogs().InputQuery("Tarify", "Zkratka:", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(CurrentDialogs().InputQuery("Tarify", "Další:", value));  // none left: cancelled
    std::string file;
    ASSERT_TRUE(CurrentDialogs().OpenFileDialog({}, file));
    EXPECT_EQ(file, "/data/ROK2024/Mesic03.zek");
    EXPECT_FALSE(CurrentDialogs().OpenFileDialog({}, file));
    EXPECT_TRUE(Has("InputQuery Tarify | Název tarifu: -> Tarif denní  "));
    EXPECT_TRUE(Has("OpenDialog  -> cancel"));
}

TEST_F(Automation, PostReachesTheMainWindowClassAndRefusesWhatIsNoMessage) {
    test::MessageRecorder main(MainWindowClass);
    Run({"post 1431 45356 2", "post 1426 x 0", "post 1426 1 2 3", "post 99999999999 0 0", "post 1426 0 -1"});
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return main.got.size() == 2; }));
    EXPECT_EQ(main.got[0].Msg, 1431u);
    EXPECT_EQ(main.got[0].WParam, 45356u);
    EXPECT_EQ(main.got[0].LParam, 2);
    EXPECT_EQ(main.got[1].LParam, -1);
    for (const char* bad : {"post 1426 x 0", "post 1426 1 2 3", "post 99999999999 0 0"})
        EXPECT_TRUE(Has(std::string("CommandFailed ") + bad)) << bad;
}

TEST_F(Automation, PostWithoutTheMainWindowFails) {
    Run({"post 1425 0 0"});
    EXPECT_TRUE(Has("CommandFailed post 1425 0 0"));
}

TEST_F(Automation, CellsLogsAStringGridRowByRow) {
    // A window of its own with a grid of the same name.
    QWidget other(&window);
    other.setObjectName("Okno");
    TStringGrid second(&other);
    second.setObjectName("Mrizka");
    second.SetColCount(1);
    second.SetRowCount(1);
    second.SetCells(0, 0, "jiná");
    Run({"cells Mrizka", "cells Okno/Mrizka", "cells Nic", "cells Okno/Nic"});
    EXPECT_TRUE(Has("Cells Mrizka 0 a|"));
    EXPECT_TRUE(Has("Cells Mrizka 1 |d"));
    EXPECT_TRUE(Has("Cells Okno/Mrizka 0 jiná"));
    EXPECT_TRUE(Has("CommandFailed cells Nic"));
    EXPECT_TRUE(Has("CommandFailed cells Okno/Nic"));
}

// The mouse and choice commands act as the user does on what is shown, and refuse
// what is not there, hidden or out of range.
TEST_F(Automation, CellClicksChoicesAndSpinStepsReachShownControls) {
    int clicks = 0, doubleClicks = 0;
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    grid->SetDefaultColWidth(40);
    grid->SetDefaultRowHeight(20);
    grid->resize(120, 60);
    grid->OnClick = [&](TCustomGrid*) { ++clicks; };
    grid->OnDblClick = [&](TCustomGrid*) { ++doubleClicks; };
    auto* combo = new QComboBox(&window);
    combo->setObjectName("Vyber");
    combo->addItems({"a", "b", "c"});
    std::vector<int> chosen;
    QObject::connect(combo, &QComboBox::activated, [&](int index) { chosen.push_back(index); });
    auto* spin = new TZcSpinEdit(&window);
    spin->setObjectName("Pocet");
    spin->setGeometry(0, 80, 80, 22);
    spin->SetText("5");
    auto* hiddenSpin = new TZcSpinEdit(&window);
    hiddenSpin->setObjectName("Skryty");
    hiddenSpin->hide();
    window.show();
    Run({"clickcell Mrizka 1 1", "dblclickcell Mrizka 0 1", "clickcell Mrizka 5 0", "clickcell Mrizka x",
         "select Vyber 2", "select Vyber 3", "select Vyber x", "spin Pocet up", "spin Pocet up", "spin Pocet down",
         "spin Pocet left", "spin Skryty up", "spin Nic up"});
    EXPECT_EQ(grid->Col(), 0);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(chosen, std::vector<int>{2});
    EXPECT_EQ(spin->Text(), "6");
    EXPECT_EQ(hiddenSpin->Text(), "0");
    for (const char* bad : {"clickcell Mrizka 5 0", "clickcell Mrizka x", "select Vyber 3", "select Vyber x", "spin Pocet left",
                            "spin Skryty up", "spin Nic up"})
        EXPECT_TRUE(Has(std::string("CommandFailed ") + bad)) << bad;
    size_t failed = 0;
    for (const std::string& line : Log())
        failed += line.rfind("CommandFailed ", 0) == 0;
    EXPECT_EQ(failed, 7u);
}

TEST_F(Automation, ADialogShownIsLogged) {
    QDialog dialog(&window);
    dialog.setObjectName("Okno");
    dialog.show();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return Has("Shown Okno"); }));
}

TEST_F(Automation, KeyAndTypeReachTheNamedWidget) {
    TCustomEdit edit(&window);
    edit.setObjectName("Pole");
    std::vector<uint16_t> keys;
    edit.OnKeyDown = [&](TCustomEdit*, uint16_t& key, TShiftState) { keys.push_back(key); };
    Run({"type Pole 12a", "key Pole Backspace", "key Pole Return", "key Pole Nic", "type Nic x", "key Pole"});
    EXPECT_EQ(edit.Text(), "12");
    EXPECT_EQ(keys.back(), VK_RETURN);
    EXPECT_TRUE(Has("CommandFailed key Pole Nic"));
    EXPECT_TRUE(Has("CommandFailed type Nic x"));
    EXPECT_TRUE(Has("CommandFailed key Pole"));
}

// The commands that answer a modal dialog run while it waits; those after the one
// that closes it wait until the command that showed it has ended.
TEST_F(Automation, CommandsAnswerAModalDialogAndTheRestWaitForItsCommandToEnd) {
    QPushButton open(&window), after(&window);
    open.setObjectName("Otevri");
    after.setObjectName("Potom");
    TDialogForm dialog(&window);
    dialog.setObjectName("Dialog");
    QPushButton close(&dialog);
    close.setObjectName("Zavri");
    QObject::connect(&close, &QPushButton::clicked, [&] { dialog.SetModalResult(ModalResults::Ok); });
    QObject::connect(&open, &QPushButton::clicked, [&] {
        dialog.ShowModal();
        // What the showing command does after the dialog, in its own time.
        QElapsedTimer busy;
        busy.start();
        while (busy.elapsed() < 120)
            QApplication::processEvents();
        TestLog("Dialog closed");
    });
    QObject::connect(&after, &QPushButton::clicked, [] { TestLog("After"); });
    Run({"click Otevri", "click Dialog/Zavri", "click Potom"});
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return Has("After"); }));
    std::vector<std::string> order;
    for (const std::string& line : Log())
        if (line.rfind("Command ", 0) == 0 || line == "Dialog closed" || line == "After")
            order.push_back(line);
    EXPECT_EQ(order, (std::vector<std::string>{"Command click Otevri", "Command click Dialog/Zavri", "Dialog closed",
                                               "Command click Potom", "After"}));
}

// The dialogs made at start keep their names while hidden: a command reaches the
// control of that name that is shown.
TEST_F(Automation, ANameSharedWithAHiddenDialogReachesTheShownControl) {
    QDialog hidden(&window), shown(&window);
    auto* idle = new QPushButton(&hidden);
    auto* active = new QPushButton(&shown);
    idle->setObjectName("BitBtn1");
    active->setObjectName("BitBtn1");
    int idleClicks = 0, activeClicks = 0;
    QObject::connect(idle, &QPushButton::clicked, [&] { ++idleClicks; });
    QObject::connect(active, &QPushButton::clicked, [&] { ++activeClicks; });
    window.show();
    shown.show();
    Run({"click BitBtn1"});
    EXPECT_EQ(activeClicks, 1);
    EXPECT_EQ(idleClicks, 0);
}

// "set" types into an edit or a cell, or chooses an item, and then leaves the control
// so that its exit check runs; "dump" writes a grid's texts, a tab between cells.
TEST_F(Automation, SetTypesOrChoosesAndLeavesTheControlAndDumpWritesTheCells) {
    TCustomEdit edit(&window);
    edit.setObjectName("Pole");
    int exits = 0;
    edit.OnExit = [&](TCustomEdit*) { ++exits; };
    auto* combo = new QComboBox(&window);
    combo->setObjectName("Vyber");
    combo->addItems({"Lineární", "Exponenciální"});
    auto* group = new TRadioGroup("Volba", "Použít:", {"ANO", "NE"}, 2, &window);
    window.show();
    const std::string cells = dir / "cells.txt";
    Run({"set Pole 42", "set Mrizka[1,0] c", "set Vyber Exponenciální", "set Volba NE", "dump Mrizka " + cells,
         "set Vyber Jiný", "set Volba MOŽNÁ", "set Mrizka[2,0] x", "set Nic 1", "set Pole", "dump Nic " + cells + "2"});
    EXPECT_EQ(edit.Text(), "42");
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(grid->Cells(0, 1), "c");
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(group->ItemIndex(), 1);
    std::ifstream in(cells);
    std::stringstream dumped;
    dumped << in.rdbuf();
    EXPECT_EQ(dumped.str(), "a\t\nc\td\n");
    for (const std::string& bad : {std::string("set Vyber Jiný"), std::string("set Volba MOŽNÁ"),
                                   std::string("set Mrizka[2,0] x"), std::string("set Nic 1"), std::string("set Pole"),
                                   "dump Nic " + cells + "2"})
        EXPECT_TRUE(Has("CommandFailed " + bad)) << bad;
    EXPECT_FALSE(dir.Exists("cells.txt2"));  // no file for a grid that is not there
}
