#include "platform/DeviceAccess.h"

#include <algorithm>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zeko {
namespace {

std::string UserName(uid_t uid) {
    const passwd* entry = ::getpwuid(uid);
    return entry ? entry->pw_name : std::to_string(uid);
}

std::string GroupName(gid_t gid) {
    const group* entry = ::getgrgid(gid);
    return entry ? entry->gr_name : std::to_string(gid);
}

std::string PermissionText(mode_t mode) {
    std::string text = S_ISCHR(mode) ? "c" : S_ISBLK(mode) ? "b" : S_ISDIR(mode) ? "d" : "-";
    static constexpr struct { mode_t bit; char letter; } bits[] = {
        {S_IRUSR, 'r'}, {S_IWUSR, 'w'}, {S_IXUSR, 'x'}, {S_IRGRP, 'r'}, {S_IWGRP, 'w'},
        {S_IXGRP, 'x'}, {S_IROTH, 'r'}, {S_IWOTH, 'w'}, {S_IXOTH, 'x'}};
    for (const auto& [bit, letter] : bits)
        text += mode & bit ? letter : '-';
    return text;
}

bool ProcessHasGroup(gid_t gid) {
    if (::getegid() == gid)
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<size_t>(std::max(count, 0)));
    if (count <= 0 || ::getgroups(count, groups.data()) < 0)
        return false;
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

// The groups a new login of the user gets: the primary one and those that list it.
bool DatabaseHasUserInGroup(uid_t uid, gid_t gid) {
    const passwd* user = ::getpwuid(uid);
    if (!user)
        return false;
    if (user->pw_gid == gid)
        return true;
    int count = 64;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<size_t>(count));
        if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0)
            return false;
    }
    groups.resize(static_cast<size_t>(count));
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

} // namespace

std::optional<DeviceAccess> DeviceAccessOf(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    DeviceAccess access;
    const uid_t uid = ::geteuid();
    access.User = UserName(uid);
    access.Owner = UserName(info.st_uid);
    access.Group = GroupName(info.st_gid);
    access.Permissions = PermissionText(info.st_mode);
    access.GroupMayOpen = (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    access.InGroupNow = ProcessHasGroup(info.st_gid);
    access.InGroupAtNextLogin = DatabaseHasUserInGroup(uid, info.st_gid);
    return access;
}

} // namespace zeko
