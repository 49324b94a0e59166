#pragma once
// A registry key read and written as if it were an INI file: each section is a
// subkey of the key, each INI key a value of that subkey. The key lies under
// HKEY_CURRENT_USER and is made when it is written to. Integers are stored as
// 32-bit integer values; an integer stored as decimal text reads too.
#include <string>

namespace zeko {

class TRegIniFile {
public:
    explicit TRegIniFile(const std::string& fileName) : fileName_(fileName) {}

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& fallback) const;
    long long ReadInteger(const std::string& section, const std::string& ident, long long fallback) const;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, long long value);
    // Removes the section's subkey with everything in it.
    void EraseSection(const std::string& section);

private:
    std::string KeyOf(const std::string& section) const;

    std::string fileName_;
};

} // namespace zeko
