#pragma once
// Who may open a device file, as far as it tells a user who was refused what to
// do: the device's group and permissions, and whether the user belongs to that
// group now (this process) or only from the next login (the group database).
#include <optional>
#include <string>

namespace zeko {

struct DeviceAccess {
    std::string User;         // the user's login name (the number when it has none)
    std::string Owner;        // the device's owner and group, names or numbers
    std::string Group;
    std::string Permissions;  // as ls shows them, "crw-rw----"
    bool GroupMayOpen = false;      // the group may read and write it
    bool InGroupNow = false;        // this process has the group
    bool InGroupAtNextLogin = false;  // the group database lists the user in it
};

// Nothing when the path names no file.
std::optional<DeviceAccess> DeviceAccessOf(const std::string& path);

} // namespace zeko
