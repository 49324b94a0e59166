#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it
// when the test ends; optionally set as the program directory for the test.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace zeko::test {

class TempDir {
public:
    explicit TempDir(bool asProgramDir = false) {
        std::string pattern = (std::filesystem::temp_directory_path() / "zeko-XXXXXX").string();
        // No folder of its own is no place to write into, and none to remove later.
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary folder under " + pattern);
        path_ = pattern + "/";
        if (asProgramDir) {
            ::setenv("ZEKO_PROGRAM_DIR", path_.c_str(), 1);
            ownsEnv_ = true;
        }
    }
    ~TempDir() {
        if (ownsEnv_)
            ::unsetenv("ZEKO_PROGRAM_DIR");
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder with a trailing '/'.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    void Write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(path_ + name).parent_path());
        std::ofstream(path_ + name, std::ios::binary) << bytes;
    }
    // A file that exists but cannot be read: every read of it ends in an I/O error
    // (a link to the process's own memory, whose first page is never mapped). It
    // behaves so for root as well, whom no permission keeps from reading.
    void WriteUnreadable(const std::string& name) const {
        std::filesystem::create_directories(std::filesystem::path(path_ + name).parent_path());
        std::filesystem::create_symlink("/proc/self/mem", path_ + name);
    }
    // Whether `name` is still the file WriteUnreadable made.
    bool StillUnreadable(const std::string& name) const {
        std::error_code ec;
        return std::filesystem::is_symlink(path_ + name, ec) &&
               std::filesystem::read_symlink(path_ + name, ec) == "/proc/self/mem";
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(path_ + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool Exists(const std::string& name) const {
        return std::filesystem::exists(path_ + name);
    }
    // The names in the folder, sorted: what a failed write may have left beside a file.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
    bool ownsEnv_ = false;
};

} // namespace zeko::test
