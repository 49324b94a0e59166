#pragma once
// The unprivileged user "nobody", for tests of what a user who may not open a file
// is told: the tests run as root, and root opens any file whatever its
// permissions, so the refusal is met only in a process that has given them up.
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

namespace zeko::test {

struct UnprivilegedUser {
    uid_t Uid;
    gid_t Gid;
    std::string Name;
};

// "nobody" with its group, when this process is root and may become it.
std::optional<UnprivilegedUser> Nobody();

// Gives up root in the calling process for `user`: its group alone, no others.
// False when that fails. Only for a child that is about to run or exec the code.
bool BecomeUser(const UnprivilegedUser& user);

// Runs `body` in a child process as `user` and answers what it answered (nothing
// when the child could not become the user or ended otherwise).
std::optional<std::string> RunAs(const UnprivilegedUser& user, const std::function<std::string()>& body);

} // namespace zeko::test
