// The reasons of failed file operations as the user reads them.
#include "platform/FileErrorText.h"

#include "platform/ProgramDir.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace zeko;

TEST(SystemErrorText, TheReasonsAUserMeetsAreCzechAndTheRareRestTheSystemsOwn) {
    const struct {
        int Error;
        const char* Text;
    } cases[] = {
        {ENOSPC, "Na disku není volné místo"},
        {EDQUOT, "Na disku je vyčerpáno místo vyhrazené uživateli"},
        {EROFS, "Disk je jen pro čtení"},
        {EACCES, "Chybí oprávnění"},
        {EPERM, "Chybí oprávnění"},
        {ENOENT, "Soubor nebo složka neexistuje"},
        {EISDIR, "Na místě souboru je složka"},
        {ENOTDIR, "Na místě složky je soubor"},
        {EIO, "Chyba čtení nebo zápisu na disku nebo zařízení"},
        {EFBIG, "Soubor je příliš velký"},
        {EMFILE, std::strerror(EMFILE)},
        {ETXTBSY, std::strerror(ETXTBSY)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemErrorText(c.Error), c.Text) << c.Error;
}

// mkdir answers "exists" for a file where a folder of the path should be; the
// reason told is that one.
TEST(SystemErrorText, AFileInPlaceOfAFolderIsToldAsSuch) {
    test::TempDir dir;
    dir.Write("ROK2024", "a file");
    errno = 0;
    EXPECT_FALSE(ForceDirectories(dir / "ROK2024/Export"));
    EXPECT_EQ(SystemErrorText(errno), "Na místě složky je soubor");
}
