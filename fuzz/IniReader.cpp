// Fuzz entry of the INI reader, as "Zeko.ini" meets it: a file of the input's bytes
// is read, its port read within its range, and the port written back.
#include "fuzz/FuzzEntries.h"
#include "fuzz/ScratchFiles.h"

#include "platform/IniFile.h"
#include "platform/TextFiles.h"

#include <tuple>
#include <vector>

namespace zeko::fuzz {

namespace {

using TValues = std::vector<std::tuple<std::string, std::string, std::string>>;

// Every key of every section with the value it reads as.
TValues ValuesOf(const TIniFile& ini) {
    TValues values;
    for (const std::string& section : ini.ReadSections())
        for (const std::string& key : ini.ReadSection(section))
            values.emplace_back(section, key, ini.ReadString(section, key, ""));
    return values;
}

bool IsPortKey(const std::string& section, const std::string& key) {
    return SameTextNoCase(section, "ComPort") && SameTextNoCase(key, "Com");
}

} // namespace

bool IniReader(const uint8_t* data, size_t size) {
    const std::string path = WriteScratchFile("Zeko.ini", data, size);
    TIniFile ini(path);
    const long long port = ini.ReadInteger("ComPort", "Com", 1, 1, 255);
    const long long rate = ini.ReadInteger("ComPort", "BaudRate", 4800, 50, 4000000);
    if (port < 1 || port > 255 || rate < 50 || rate > 4000000 || ini.ReadError() != 0)
        return false;
    const TValues before = ValuesOf(ini);
    try {
        ini.WriteInteger("ComPort", "Com", 7);
    } catch (const EIniFileException&) {
        return false;  // a file of our own folder that could be read can be written
    }
    // The port reads back, and every other key as it was.
    const TIniFile again(path);
    if (again.ReadInteger("ComPort", "Com", 0) != 7)
        return false;
    for (const auto& [section, key, value] : before)
        if (!IsPortKey(section, key) && again.ReadString(section, key, "") != value)
            return false;
    return true;
}

} // namespace zeko::fuzz
