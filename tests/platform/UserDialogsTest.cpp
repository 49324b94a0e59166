#include "platform/UserDialogs.h"

#include <gtest/gtest.h>

using namespace zeko;

TEST(ScriptedDialogs, BoxesAreCancelledUnlessScriptedAndEveryCallIsLogged) {
    ScriptedDialogs d;
    std::vector<std::string> sunk;
    d.SetLogSink([&](const std::string& line) { sunk.push_back(line); });
    std::string value = "old";
    EXPECT_FALSE(d.InputQuery("Titulek", "Zadej", value));
    EXPECT_EQ(value, "old");
    d.AnswerInput("new");
    EXPECT_TRUE(d.InputQuery("Titulek", "Zadej", value));
    EXPECT_EQ(value, "new");
    std::string file;
    d.AnswerFile("/tmp/x.set");
    EXPECT_TRUE(d.SaveFileDialog({"Uložit", "*.set|*.set", "set", "", ""}, file));
    EXPECT_EQ(file, "/tmp/x.set");
    d.CancelFile();
    EXPECT_FALSE(d.OpenFileDialog({"Otevřít", "", "", "", ""}, file));
    EXPECT_EQ(file, "/tmp/x.set");
    const std::vector<std::string> expected{
        "InputQuery Titulek | Zadej -> cancel", "InputQuery Titulek | Zadej -> new",
        "SaveDialog Uložit -> /tmp/x.set", "OpenDialog Otevřít -> cancel"};
    EXPECT_EQ(d.Log(), expected);
    EXPECT_EQ(sunk, expected);
}
