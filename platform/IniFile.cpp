#include "platform/IniFile.h"

#include "platform/Cp1250.h"
#include "platform/FormatSettings.h"
#include "platform/ProgramDir.h"
#include "platform/TextFiles.h"
#include "platform/FileErrorText.h"

#include <cerrno>
#include <cstring>
#include <string_view>

namespace zeko {
namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

// The section name of a heading line, or false when the line is none.
bool HeadingName(const std::string& line, std::string& name) {
    const std::string t = TrimBlanks(line);
    if (t.size() < 2 || t[0] != '[')
        return false;
    const size_t close = t.find(']');
    name = TrimBlanks(t.substr(1, (close == std::string::npos ? t.size() : close) - 1));
    return true;
}

// The key and raw value of a key line; false for comments and other lines.
bool KeyLine(const std::string& line, std::string& key, std::string& value) {
    const std::string t = TrimBlanks(line);
    if (t.empty() || t[0] == ';' || t[0] == '[')
        return false;
    const size_t eq = t.find('=');
    if (eq == std::string::npos)
        return false;
    key = TrimBlanks(t.substr(0, eq));
    value = TrimBlanks(t.substr(eq + 1));
    return !key.empty();
}

std::string Unquoted(const std::string& v) {
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
        return v.substr(1, v.size() - 2);
    return v;
}

[[noreturn]] void WriteFailed(const std::string& path, int error) {
    throw EIniFileException("Soubor " + path + " nelze zapsat: " + SystemErrorText(error) + ".");
}

// The new content goes beside the file, to the disk, and is renamed over it, so a
// full disk, a failed write or a power cut leaves the old file whole. Where no file
// may be made beside it (a folder closed to writing, the file itself open to it),
// the file itself is rewritten.
void WriteFile(const std::string& path, const std::string& bytes) {
    int besideError = 0;
    int error = ReplaceFileContent(path, bytes.data(), bytes.size(), true, &besideError);
    if (besideError == EACCES || besideError == EPERM)
        error = WriteWholeFile(path, bytes.data(), bytes.size(), true);
    if (error != 0)
        WriteFailed(path, error);
}

} // namespace

TIniFile::TIniFile(const std::string& fileName) : fileName_(ResolvePathNoCase(fileName)) {
    Load();
}

void TIniFile::Load() {
    std::string bytes;
    int error = 0;
    if (!ReadFileBytes(fileName_, bytes, &error)) {
        // No such file (or no such folder on the way) is a missing file.
        readError_ = error == ENOENT || error == ENOTDIR ? 0 : error;
        return;
    }
    // A file saved by a newer editor may carry a UTF-8 mark; the program's own
    // files are Windows-1250. Each is written back as it was read, so that text
    // Windows-1250 has no letter for (and bytes that are no UTF-8) stay as they are.
    utf8_ = bytes.compare(0, Utf8Mark.size(), Utf8Mark) == 0;
    lines_ = SplitLines(utf8_ ? bytes.substr(Utf8Mark.size()) : Cp1250ToUtf8(bytes));
}

size_t TIniFile::FindSection(const std::string& section) const {
    std::string name;
    for (size_t i = 0; i < lines_.size(); ++i)
        if (HeadingName(lines_[i], name) && SameTextNoCase(name, section))
            return i;
    return npos;
}

size_t TIniFile::SectionEnd(size_t heading) const {
    std::string name;
    size_t i = heading + 1;
    while (i < lines_.size() && !HeadingName(lines_[i], name))
        ++i;
    return i;
}

size_t TIniFile::FindKey(size_t heading, const std::string& key) const {
    if (heading == npos)
        return npos;
    std::string k, v;
    const size_t end = SectionEnd(heading);
    for (size_t i = heading + 1; i < end; ++i)
        if (KeyLine(lines_[i], k, v) && SameTextNoCase(k, key))
            return i;
    return npos;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
    const size_t line = FindKey(FindSection(section), key);
    if (line == npos)
        return fallback;
    std::string k, v;
    KeyLine(lines_[line], k, v);
    return Unquoted(v);
}

long long TIniFile::ReadInteger(const std::string& section, const std::string& key,
                                long long fallback) const {
    return StrToIntDef(ReadString(section, key, ""), fallback);
}

long long TIniFile::ReadInteger(const std::string& section, const std::string& key, long long fallback,
                                long long low, long long high) const {
    const long long value = ReadInteger(section, key, fallback);
    return value < low || value > high ? fallback : value;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const std::string& section, const std::string& key, double fallback) const {
    double value;
    return TryStrToFloat(ReadString(section, key, ""), value) ? value : fallback;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    size_t heading = FindSection(section);
    if (heading == npos) {
        lines_.push_back("[" + section + "]");
        lines_.push_back(key + "=" + value);
    } else if (const size_t line = FindKey(heading, key); line != npos) {
        std::string k, v;
        KeyLine(lines_[line], k, v);
        lines_[line] = k + "=" + value;
    } else {
        // After the section's last non-blank line, so the blank line that
        // separates it from the next section stays below.
        size_t at = SectionEnd(heading);
        while (at > heading + 1 && TrimBlanks(lines_[at - 1]).empty())
            --at;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), key + "=" + value);
    }
    Changed();
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, long long value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteFloat(const std::string& section, const std::string& key, double value) {
    WriteString(section, key, FloatToStr(value));
}

bool TIniFile::SectionExists(const std::string& section) const {
    return FindSection(section) != npos;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
    return FindKey(FindSection(section), key) != npos;
}

std::vector<std::string> TIniFile::ReadSections() const {
    std::vector<std::string> names;
    std::string name;
    for (const std::string& line : lines_)
        if (HeadingName(line, name)) {
            bool known = false;
            for (const std::string& n : names)
                known = known || SameTextNoCase(n, name);
            if (!known)
                names.push_back(name);
        }
    return names;
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
    std::vector<std::string> keys;
    const size_t heading = FindSection(section);
    if (heading == npos)
        return keys;
    std::string k, v;
    const size_t end = SectionEnd(heading);
    for (size_t i = heading + 1; i < end; ++i)
        if (KeyLine(lines_[i], k, v))
            keys.push_back(k);
    return keys;
}

void TIniFile::EraseSection(const std::string& section) {
    bool erased = false;
    for (size_t heading; (heading = FindSection(section)) != npos; erased = true)
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(heading),
                     lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(heading)));
    if (erased)
        Changed();
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
    const size_t line = FindKey(FindSection(section), key);
    if (line == npos)
        return;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line));
    Changed();
}

void TIniFile::BeginUpdate() { deferred_ = true; }

void TIniFile::EndUpdate() {
    deferred_ = false;
    UpdateFile();
}

void TIniFile::Changed() {
    if (!deferred_)
        UpdateFile();
}

void TIniFile::UpdateFile() {
    if (readError_ != 0)
        throw EIniFileException("Soubor " + fileName_ + " nelze přečíst (" + SystemErrorText(readError_) +
                                "), proto do něj program nezapisuje.");
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    WriteFile(fileName_, utf8_ ? std::string(Utf8Mark) + text : Utf8ToCp1250(text));
}

} // namespace zeko
