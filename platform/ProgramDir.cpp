#include "platform/ProgramDir.h"

#include "platform/TextFiles.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zeko {
namespace {

bool Exists(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0;
}

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string HomeDir() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return home;
    std::vector<char> buf(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buf.data(), buf.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr)
        return found->pw_dir;
    return "/";
}

// The user's data folder; a relative $XDG_DATA_HOME is to be ignored.
std::string DataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/')
        return WithSlash(xdg);
    return WithSlash(HomeDir()) + ".local/share/";
}

} // namespace

std::string ProgramDir() {
    const char* env = std::getenv("ZEKO_PROGRAM_DIR");
    if (env != nullptr && env[0] != '\0')
        return WithSlash(env);
    return DataHome() + "zeko/";
}

TProgramDirState PrepareProgramDir(int& error) {
    error = 0;
    const std::string dir = ProgramDir();
    if (!ForceDirectories(dir)) {
        error = errno;
        return TProgramDirState::NotCreated;
    }
    if (::access(dir.c_str(), W_OK | X_OK) != 0) {
        error = errno;
        return TProgramDirState::NotWritable;
    }
    return TProgramDirState::Ready;
}

std::string FindNameNoCase(const std::string& dir, const std::string& name) {
    const std::string base = dir.empty() ? std::string(".") : dir;
    if (name.empty() || name == "." || name == ".." || Exists(WithSlash(base) + name))
        return name;
    DIR* d = ::opendir(base.c_str());
    if (d == nullptr)
        return name;
    std::string found = name;
    while (dirent* e = ::readdir(d)) {
        if (SameTextNoCase(e->d_name, name)) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

std::string ResolvePathNoCase(const std::string& path) {
    std::string result;
    size_t pos = 0;
    if (!path.empty() && path[0] == '/') {
        result = "/";
        pos = 1;
    }
    bool lookUp = true;
    while (pos <= path.size()) {
        size_t slash = path.find('/', pos);
        if (slash == std::string::npos)
            slash = path.size();
        std::string part = path.substr(pos, slash - pos);
        if (!part.empty()) {
            if (lookUp) {
                part = FindNameNoCase(result, part);
                lookUp = Exists(result + part);
            }
            result += part;
        }
        if (slash < path.size())
            result += '/';
        pos = slash + 1;
    }
    return result;
}

std::string ProgramFile(const std::string& relative) {
    return ResolvePathNoCase(ProgramDir() + relative);
}

bool ForceDirectories(const std::string& dir) {
    if (dir.empty())
        return false;
    const std::string resolved = ResolvePathNoCase(dir);
    if (DirectoryExists(resolved))
        return true;
    // Walk down the resolved path and create each missing component.
    size_t pos = resolved[0] == '/' ? 1 : 0;
    while (pos <= resolved.size()) {
        size_t slash = resolved.find('/', pos);
        if (slash == std::string::npos)
            slash = resolved.size();
        const std::string prefix = resolved.substr(0, slash);
        if (!prefix.empty() && !DirectoryExists(prefix)) {
            if (::mkdir(prefix.c_str(), 0777) != 0) {
                const int error = errno;  // kept for the caller past the check below
                if (!DirectoryExists(prefix)) {
                    // A file in place of the folder: mkdir answers that the name exists.
                    errno = error == EEXIST ? ENOTDIR : error;
                    return false;
                }
            } else if (const int error = SyncDirectory(ExtractFileDir(prefix)); error != 0) {
                errno = error;
                return false;
            }
        }
        pos = slash + 1;
    }
    return DirectoryExists(resolved);
}

bool ForceFileDirectory(const std::string& path) {
    const std::string dir = ExtractFileDir(path);
    return dir.empty() || ForceDirectories(dir);
}

std::string ExtractFileDir(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return "";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string ExtractFileName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FileExists(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace zeko
