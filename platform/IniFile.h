#pragma once
// INI files as the program and its users share them: "[Section]" heading lines and
// "Key=Value" lines, Windows-1250 on disk, CR LF line ends. Sections and keys are
// found without regard to letter case; lines the program does not know (other
// keys, comments, blank lines) are kept as they stand; a new key goes at the end of
// its section and a new section at the end of the file. Every write goes to the
// disk at once, as profile files behave, unless it is one of several between
// BeginUpdate and EndUpdate, which go to the disk together. The file is written
// whole beside itself, synced and renamed over the old one (platform/TextFiles.h),
// so a failed write or a power cut leaves the old file whole; a file that cannot be
// written raises EIniFileException. A missing file reads as empty. A file that exists but cannot be
// read (permissions, an I/O error) reads as empty too, but is never written over:
// the user's sections would be lost for the few keys the program knows, so every
// write to it raises EIniFileException.
#include <stdexcept>
#include <string>
#include <vector>

namespace zeko {

class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TIniFile {
public:
    // The name is looked up without regard to case; the file is read at once.
    explicit TIniFile(const std::string& fileName);

    const std::string& FileName() const { return fileName_; }
    // The errno of a file that exists but could not be read; 0 when it was read or
    // does not exist.
    int ReadError() const { return readError_; }

    // Values are trimmed; one pair of quotes around a value is removed.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // Decimal or $hex; the fallback when the key is missing or no integer.
    long long ReadInteger(const std::string& section, const std::string& key, long long fallback) const;
    // The same, and the fallback also for an integer outside low..high.
    long long ReadInteger(const std::string& section, const std::string& key, long long fallback, long long low,
                          long long high) const;
    // An integer other than 0 is true.
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
    // In the session's decimal format; the fallback when missing or no number.
    double ReadFloat(const std::string& section, const std::string& key, double fallback) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, long long value);
    void WriteBool(const std::string& section, const std::string& key, bool value);  // "1" / "0"
    void WriteFloat(const std::string& section, const std::string& key, double value);

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    std::vector<std::string> ReadSections() const;
    std::vector<std::string> ReadSection(const std::string& section) const;  // its keys
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);

    // Writes the file as it stands in memory.
    void UpdateFile();
    // The writes after BeginUpdate change the file in memory only; EndUpdate writes it
    // once with all of them (a save of several keys is one replacement of the file,
    // and one that fails before its end changes nothing on the disk).
    void BeginUpdate();
    void EndUpdate();

private:
    static constexpr size_t npos = static_cast<size_t>(-1);
    size_t FindSection(const std::string& section) const;  // line of its heading
    size_t SectionEnd(size_t heading) const;                // line after its last line
    size_t FindKey(size_t heading, const std::string& key) const;
    void Load();
    void Changed();  // after a write: to the disk, unless writes are deferred

    std::string fileName_;
    int readError_ = 0;
    bool deferred_ = false;  // between BeginUpdate and EndUpdate
    bool utf8_ = false;  // read as UTF-8 (with its mark), written back so
    std::vector<std::string> lines_;  // UTF-8, without line ends
};

} // namespace zeko
