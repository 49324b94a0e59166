#include "platform/ScriptedNotifier.h"

#include <gtest/gtest.h>

using namespace zeko;

TEST(ScriptedNotifier, AnswersFromTheScriptInOrderAndLogsEveryCall) {
    ScriptedNotifier n;
    std::vector<std::string> sunk;
    n.SetLogSink([&](const std::string& line) { sunk.push_back(line); });
    n.AnswerMessage(mrYes);
    EXPECT_EQ(n.MessageDlg("Chcete?", TMsgDlgType::Warning, mbYesNo), mrYes);
    // Script used up: the harmless answer.
    EXPECT_EQ(n.MessageDlg("Chcete?", TMsgDlgType::Warning, mbYesNo), mrNo);
    n.ShowMessage("Hotovo");
    ASSERT_EQ(n.Log().size(), 3u);
    EXPECT_EQ(n.Log()[0], "MessageDlg Warning [Yes|No] Chcete? -> Yes");
    EXPECT_EQ(n.Log()[1], "MessageDlg Warning [Yes|No] Chcete? -> No");
    EXPECT_EQ(n.Log()[2], "ShowMessage Hotovo");
    EXPECT_EQ(sunk, n.Log());
    EXPECT_EQ(n.Messages(), (std::vector<std::string>{"Chcete?", "Chcete?", "Hotovo"}));
}

TEST(ScriptedNotifier, HarmlessAnswerPrefersNoThenCancelThenOk) {
    ScriptedNotifier n;
    EXPECT_EQ(n.MessageDlg("a", TMsgDlgType::Confirmation, mbYes | mbNo | mbCancel), mrNo);
    EXPECT_EQ(n.MessageDlg("a", TMsgDlgType::Confirmation, mbOKCancel), mrCancel);
    EXPECT_EQ(n.MessageDlg("a", TMsgDlgType::Error, mbOK), mrOk);
    EXPECT_EQ(n.MessageDlg("a", TMsgDlgType::Error, mbYes), mrYes);
}

TEST(ScriptedNotifier, InputAndFileDialogsAreCancelledUnlessScripted) {
    ScriptedNotifier n;
    std::string value = "old";
    EXPECT_FALSE(n.InputQuery("Titulek", "Zadej", value));
    EXPECT_EQ(value, "old");
    n.AnswerInput("new");
    EXPECT_TRUE(n.InputQuery("Titulek", "Zadej", value));
    EXPECT_EQ(value, "new");
    std::string file;
    n.AnswerFile("/tmp/x.set");
    EXPECT_TRUE(n.SaveFileDialog({"Uložit", "*.set|*.set", "set", "", ""}, file));
    EXPECT_EQ(file, "/tmp/x.set");
    n.CancelFile();
    EXPECT_FALSE(n.OpenFileDialog({"Otevřít", "", "", "", ""}, file));
    EXPECT_EQ(n.Log().back(), "OpenDialog Otevřít -> cancel");
}
