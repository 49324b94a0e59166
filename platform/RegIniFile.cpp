#include "platform/RegIniFile.h"

#include "platform/Registry.h"

#include <cstdlib>

namespace zeko {

std::string TRegIniFile::KeyOf(const std::string& section) const {
    return section.empty() ? fileName_ : fileName_ + "\\" + section;
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& fallback) const {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(KeyOf(section)))
        return fallback;
    switch (reg.GetDataType(ident)) {
    case rdString: return reg.ReadString(ident);
    case rdInteger: return std::to_string(reg.ReadInteger(ident));
    default: return fallback;
    }
}

long long TRegIniFile::ReadInteger(const std::string& section, const std::string& ident, long long fallback) const {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(KeyOf(section)))
        return fallback;
    if (reg.GetDataType(ident) == rdInteger)
        return reg.ReadInteger(ident);
    if (reg.GetDataType(ident) != rdString)
        return fallback;
    const std::string text = reg.ReadString(ident);
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    return text.empty() || *end != '\0' ? fallback : value;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    TRegistry reg;
    if (!reg.OpenKey(KeyOf(section), true))
        throw ERegistryException("Failed to create the key " + KeyOf(section));
    reg.WriteString(ident, value);
    reg.CloseKey();
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& ident, long long value) {
    TRegistry reg;
    if (!reg.OpenKey(KeyOf(section), true))
        throw ERegistryException("Failed to create the key " + KeyOf(section));
    reg.WriteInteger(ident, static_cast<int32_t>(value));
    reg.CloseKey();
}

void TRegIniFile::EraseSection(const std::string& section) {
    TRegistry reg;
    reg.DeleteKey(KeyOf(section));
}

} // namespace zeko
