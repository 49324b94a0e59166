#include "fuzz/ScratchFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace zeko::fuzz {

namespace {

void RemoveScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(ScratchDir(), ec);
}

} // namespace

const std::string& ScratchDir() {
    // Never destroyed: the removal at exit still needs the name.
    static const std::string* dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zeko-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("no scratch folder under " + pattern);
        auto* name = new std::string(pattern + "/");
        std::atexit(RemoveScratchDir);
        return name;
    }();
    return *dir;
}

std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = ScratchDir() + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

} // namespace zeko::fuzz
