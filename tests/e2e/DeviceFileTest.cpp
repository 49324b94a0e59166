// "Zarizeni.ini" in the real program: a file that is there but that the user may
// not read is told at start, before the program runs on the default channels, and
// stays as it was.
#include "e2e/E2eSupport.h"

#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace zeko;

TEST(DeviceFile, AZarizeniIniTheUserMayNotReadIsToldAtStartAndKept) {
    const std::optional<test::UnprivilegedUser> nobody = test::Nobody();
    if (!nobody)
        GTEST_SKIP() << "needs root to run the program as a user whom a permission stops";
    const std::string binary = test::ZekoProcess::BinaryPath();
    if (test::RunAs(*nobody, [&] { return std::to_string(::access(binary.c_str(), X_OK)); }) != "0")
        GTEST_SKIP() << nobody->Name << " may not run " << binary;
    test::TempDir dir;
    const std::string devices = "[ZEKO]\r\nNazev_z=Rozvodna\r\nNasobitelElmeru_v1=40\r\n";
    dir.Write("Zarizeni.ini", devices);
    ASSERT_EQ(::chown(dir.Path().c_str(), nobody->Uid, nobody->Gid), 0);
    ASSERT_EQ(::chmod((dir / "Zarizeni.ini").c_str(), 0600), 0);  // root's alone
    test::ZekoProcess zeko(dir.Path(),
                           {{"ZEKO_COM1", dir / "no-port"}, {"HOME", dir.Path()}, {"XDG_RUNTIME_DIR", dir.Path()},
                            {"XDG_CONFIG_HOME", dir / "config"}, {"XDG_CACHE_HOME", dir / "cache"}},
                           nobody);
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Warning [OK] Daný sériový port neexistuje nebo se právě používá !"));
    // The log writes a box's line breaks as "\n"; the device file's box came first.
    const std::vector<std::string> log = zeko.Log();
    ASSERT_GE(log.size(), 2u) << testing::PrintToString(log);
    EXPECT_EQ(log[0], "MessageDlg Warning [OK] Soubor popisu zařízení nelze přečíst:\\n" + dir / "Zarizeni.ini" +
                          "\\nKe čtení souboru chybí oprávnění.\\nProgram poběží s výchozími kanály (názvy, jednotky, "
                          "násobitele elektroměrů) a soubor nepřepíše. -> OK");
    EXPECT_EQ(log[1].rfind("MessageDlg Warning [OK] Daný sériový port neexistuje", 0), 0u);
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_EQ(dir.Read("Zarizeni.ini"), devices);
    struct stat info {};
    ASSERT_EQ(::stat((dir / "Zarizeni.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}
