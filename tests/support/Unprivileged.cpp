#include "support/Unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zeko::test {

std::optional<UnprivilegedUser> Nobody() {
    if (::geteuid() != 0)
        return std::nullopt;
    const passwd* entry = ::getpwnam("nobody");
    if (!entry || entry->pw_uid == 0)
        return std::nullopt;
    return UnprivilegedUser{entry->pw_uid, entry->pw_gid, entry->pw_name};
}

bool BecomeUser(const UnprivilegedUser& user) {
    return ::setgroups(0, nullptr) == 0 && ::setgid(user.Gid) == 0 && ::setuid(user.Uid) == 0 &&
           ::geteuid() == user.Uid;
}

std::optional<std::string> RunAs(const UnprivilegedUser& user, const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(fds[0]);
        if (!BecomeUser(user))
            ::_exit(2);
        const std::string answer = body();
        for (size_t done = 0; done < answer.size();) {
            const ssize_t n = ::write(fds[1], answer.data() + done, answer.size() - done);
            if (n <= 0)
                ::_exit(3);
            done += static_cast<size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string answer;
    char chunk[512];
    for (ssize_t n; (n = ::read(fds[0], chunk, sizeof chunk)) > 0;)
        answer.append(chunk, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return answer;
}

} // namespace zeko::test
