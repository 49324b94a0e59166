// The second line of the port message: what the user is told to mend for each way
// a port does not open.
#include "app/PortFailureText.h"

#include <gtest/gtest.h>

using namespace zeko;

namespace {

DeviceAccess Access(bool groupMayOpen, bool inGroupNow, bool inGroupAtNextLogin) {
    DeviceAccess a;
    a.User = "novak";
    a.Owner = "root";
    a.Group = "dialout";
    a.Permissions = groupMayOpen ? "crw-rw----" : "crw-------";
    a.GroupMayOpen = groupMayOpen;
    a.InGroupNow = inGroupNow;
    a.InGroupAtNextLogin = inGroupAtNextLogin;
    return a;
}

} // namespace

TEST(PortFailureText, EachCauseIsNamed) {
    const std::string head = "COM1 je zařízení /dev/ttyUSB0";
    const struct {
        SerialLineFailure failure;
        std::optional<DeviceAccess> access;
        std::string line;
    } cases[] = {
        {SerialLineFailure::Missing, std::nullopt,
         head + "; jiné zařízení určuje proměnná prostředí ZEKO_COM1."},
        {SerialLineFailure::Other, std::nullopt, head + "; jiné zařízení určuje proměnná prostředí ZEKO_COM1."},
        {SerialLineFailure::Denied, Access(true, false, false),
         head + ", které smí otevřít jen skupina dialout, a uživatel novak v ní není; přidá ho příkaz: "
                "sudo usermod -aG dialout novak (platí od příštího přihlášení)."},
        // Added to the group, but this login does not have it yet.
        {SerialLineFailure::Denied, Access(true, false, true),
         head + ", které smí otevřít jen skupina dialout; uživatel novak do ní patří až od příštího přihlášení."},
        // Neither the group nor anything the user can mend alone.
        {SerialLineFailure::Denied, Access(false, true, true),
         head + ", které uživatel novak nesmí otevřít (crw------- root dialout)."},
        {SerialLineFailure::Denied, Access(true, true, true),
         head + ", které uživatel novak nesmí otevřít (crw-rw---- root dialout)."},
        {SerialLineFailure::Denied, std::nullopt, head + ", které uživatel nesmí otevřít."},
        {SerialLineFailure::InUse, std::nullopt, head + ", které právě používá jiný program."},
        {SerialLineFailure::NotSerial, std::nullopt,
         head + ", které není sériový port; jiné zařízení určuje proměnná prostředí ZEKO_COM1."},
        {SerialLineFailure::Refused, std::nullopt,
         head + ", které nepřijalo rychlost 4800 Bd (Zeko.ini, [ComPort] BaudRate)."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortFailureLine("COM1", "/dev/ttyUSB0", c.failure, 4800, c.access), c.line)
            << static_cast<int>(c.failure);
}
