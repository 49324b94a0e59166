#include "app/PortFailureText.h"

namespace zeko {
namespace {

std::string DeniedReason(const std::optional<DeviceAccess>& access) {
    if (!access)
        return ", které uživatel nesmí otevřít.";
    const DeviceAccess& a = *access;
    if (a.GroupMayOpen && !a.InGroupNow && a.InGroupAtNextLogin)
        return ", které smí otevřít jen skupina " + a.Group + "; uživatel " + a.User +
               " do ní patří až od příštího přihlášení.";
    if (a.GroupMayOpen && !a.InGroupNow)
        return ", které smí otevřít jen skupina " + a.Group + ", a uživatel " + a.User +
               " v ní není; přidá ho příkaz: sudo usermod -aG " + a.Group + " " + a.User +
               " (platí od příštího přihlášení).";
    return ", které uživatel " + a.User + " nesmí otevřít (" + a.Permissions + " " + a.Owner + " " + a.Group + ").";
}

} // namespace

std::string PortFailureLine(const std::string& port, const std::string& device, SerialLineFailure failure,
                            uint32_t baudRate, const std::optional<DeviceAccess>& access) {
    const std::string head = port + " je zařízení " + device;
    const std::string otherDevice = "jiné zařízení určuje proměnná prostředí ZEKO_" + port + ".";
    switch (failure) {
    case SerialLineFailure::Denied:
        return head + DeniedReason(access);
    case SerialLineFailure::InUse:
        return head + ", které právě používá jiný program.";
    case SerialLineFailure::NotSerial:
        return head + ", které není sériový port; " + otherDevice;
    case SerialLineFailure::Refused:
        return head + ", které nepřijalo rychlost " + std::to_string(baudRate) +
               " Bd (Zeko.ini, [ComPort] BaudRate).";
    default:
        return head + "; " + otherDevice;
    }
}

} // namespace zeko
