// Failures the user must hear of, told in Czech by the program itself: "Zeko.ini"
// that cannot be written at close (a full disk, a disk only for reading).
#include "e2e/ZekoProcess.h"

#include "support/SmallDisk.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zeko;

TEST(FailureTexts, AZekoIniThatCannotBeWrittenAtCloseIsToldInCzech) {
    const struct {
        const char* Name;
        bool Full;
        const char* Reason;
    } cases[] = {{"full", true, "Na disku není volné místo"}, {"read-only", false, "Disk je jen pro čtení"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        test::SmallDisk disk(64);
        if (!disk.Mounted())
            GTEST_SKIP() << "no tmpfs without the rights of root";
        test::TempDir elsewhere;
        test::ZekoProcess zeko(disk.Dir().Path(), {{"ZEKO_COM1", elsewhere / "no-port"},
                                                   {"ZEKO_TEST_LOG", elsewhere / "zeko-test.log"},
                                                   {"ZEKO_TEST_SCRIPT", elsewhere / "zeko-test.script"}});
        ASSERT_TRUE(zeko.WaitForLine("Daný sériový port neexistuje"));
        const std::vector<std::string> before = disk.Dir().Names();
        if (c.Full)
            disk.Fill();
        else
            ASSERT_TRUE(disk.MakeReadOnly());
        EXPECT_EQ(zeko.Close(), 0);
        EXPECT_EQ(test::LinesWith(zeko.Log(), "MessageDlg Error [OK] "),
                  std::vector<std::string>{"MessageDlg Error [OK] Soubor " + disk / "Zeko.ini" + " nelze zapsat: " +
                                           c.Reason + ". -> OK"});
        // Nothing half written is left behind.
        std::vector<std::string> after = before;
        if (c.Full)
            after.push_back("filler");
        std::sort(after.begin(), after.end());
        EXPECT_EQ(disk.Dir().Names(), after);
    }
}
