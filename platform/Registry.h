#pragma once
// The registry the program reads its grid column widths from (and, for other
// parts, a few more settings): a read-mostly store of keys and values kept in one
// text file under the user's configuration folder. Keys and value names are found
// without regard to letter case, as they always were.
//
// The file, one value a line under its key:
//
//     [HKEY_CURRENT_USER\SOFTWARE\Vadro\ColWidths800\Denni]
//     "Column 1"=dword:0000004b       32-bit integer, hexadecimal
//     "Caption"="text with \" and \\" string
//     "Raw"=hex:01,ff,20              bytes
//
// A line that does not read as one of these is skipped on reading and kept as it
// stands when the file is written again, so a damaged value never takes others
// with it and nothing is lost.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zeko {

class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TRootKey { HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };
enum TRegDataType { rdUnknown, rdString, rdInteger, rdBinary };

// The store's file: $ZEKO_REGISTRY when set, else "zeko/registry.reg" in
// $XDG_CONFIG_HOME, else in ~/.config.
std::string RegistryFilePath();
// Tests point the store at a file of their own; nullopt restores the default.
void SetRegistryFilePath(std::optional<std::string> path);

class TRegistry {
public:
    TRegistry();
    // Closes the key, writing what was changed; a failed write is dropped here (an
    // explicit CloseKey raises it).
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    TRootKey RootKey() const { return root_; }
    void SetRootKey(TRootKey root);

    // Opens a key path below the root ("SOFTWARE\Vadro\ColWidths800\Denni"); a
    // missing key is created only with canCreate. Answers whether it is open.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    bool KeyExists(const std::string& key);
    // Removes the key with every key below it; false when there was none. A key
    // that is open stays open and empty.
    bool DeleteKey(const std::string& key);
    const std::string& CurrentPath() const { return current_; }

    // The values of the open key in the order of the file.
    std::vector<std::string> GetValueNames() const;
    bool ValueExists(const std::string& name) const;
    TRegDataType GetDataType(const std::string& name) const;

    // Raise ERegistryException when the value is missing or of another type.
    int32_t ReadInteger(const std::string& name) const;
    std::string ReadString(const std::string& name) const;
    std::vector<uint8_t> ReadBinaryData(const std::string& name) const;
    void WriteInteger(const std::string& name, int32_t value);
    void WriteString(const std::string& name, const std::string& value);
    void WriteBinaryData(const std::string& name, const std::vector<uint8_t>& value);

    struct Store;

private:
    void BeginWrite(const std::string& name);  // ERegistryException unless writable
    void Load();
    void Save();
    std::string FullPath(const std::string& key) const;

    TRootKey root_ = TRootKey::HKEY_CURRENT_USER;
    std::string current_;
    bool open_ = false;
    bool readOnly_ = false;
    bool dirty_ = false;
    std::unique_ptr<Store> store_;
};

} // namespace zeko
