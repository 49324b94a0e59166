#include "platform/Registry.h"

#include "platform/TextFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace zeko {

namespace {

std::optional<std::string>& PathOverride() {
    static std::optional<std::string> path;
    return path;
}

// Whether `path` is the key `key` or a key below it.
bool IsKeyOrBelow(const std::string& path, const std::string& key) {
    return SameTextNoCase(path, key) || MatchesNoCaseAt(path, 0, key + "\\");
}

const char* RootName(TRootKey root) {
    switch (root) {
    case TRootKey::HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case TRootKey::HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    default: return "HKEY_CURRENT_USER";
    }
}

void MakeDirectories(const std::string& path) {
    for (size_t i = 1; i < path.size(); ++i)
        if (path[i] == '/')
            ::mkdir(path.substr(0, i).c_str(), 0755);
}

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// Reads a quoted text starting at pos; answers the position after the closing
// quote, or npos when the text is not closed.
size_t Unquote(const std::string& s, size_t pos, std::string& out) {
    if (pos >= s.size() || s[pos] != '"')
        return std::string::npos;
    out.clear();
    for (size_t i = pos + 1; i < s.size(); ++i) {
        if (s[i] == '\\') {
            if (++i >= s.size())
                return std::string::npos;
            out += s[i];
        } else if (s[i] == '"') {
            return i + 1;
        } else {
            out += s[i];
        }
    }
    return std::string::npos;
}

// A line kept as it stands may end in a CR of its own (a file with CR CR LF line
// ends): a bare LF after it would make the two one line end, and the line read back
// as another, a damaged value as a key or a value. CR LF keeps the CR in the line.
std::string LineEnd(const std::string& line) {
    return !line.empty() && line.back() == '\r' ? "\r\n" : "\n";
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = LowerAscii(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

} // namespace

struct TRegistry::Store {
    struct Value {
        bool damaged = false;  // kept as `raw`, never read
        std::string raw;
        std::string name;
        TRegDataType type = rdUnknown;
        int32_t integer = 0;
        std::string text;
        std::vector<uint8_t> bytes;
    };
    struct Key {
        std::string path;
        std::vector<Value> values;
    };
    std::vector<std::string> preamble;
    std::vector<Key> keys;

    Key* Find(const std::string& path) {
        for (Key& k : keys)
            if (SameTextNoCase(k.path, path))
                return &k;
        return nullptr;
    }

    // The key itself or any key below it is stored.
    bool Exists(const std::string& path) const {
        return std::any_of(keys.begin(), keys.end(), [&](const Key& k) { return IsKeyOrBelow(k.path, path); });
    }

    static bool ParseValue(const std::string& line, Value& v) {
        size_t pos;
        if (line.rfind("@=", 0) == 0) {
            v.name.clear();
            pos = 2;
        } else {
            pos = Unquote(line, 0, v.name);
            if (pos == std::string::npos || pos >= line.size() || line[pos] != '=')
                return false;
            ++pos;
        }
        const std::string data = line.substr(pos);
        if (data.rfind("dword:", 0) == 0) {
            const std::string hex = data.substr(6);
            if (hex.empty() || hex.size() > 8)
                return false;
            uint32_t n = 0;
            for (char c : hex) {
                const int d = HexDigit(c);
                if (d < 0)
                    return false;
                n = n * 16 + static_cast<uint32_t>(d);
            }
            v.type = rdInteger;
            v.integer = static_cast<int32_t>(n);
            return true;
        }
        if (data.rfind("hex:", 0) == 0) {
            v.bytes.clear();
            const std::string list = data.substr(4);
            for (size_t i = 0; i < list.size();) {
                if (i + 2 > list.size())
                    return false;
                const int hi = HexDigit(list[i]), lo = HexDigit(list[i + 1]);
                if (hi < 0 || lo < 0)
                    return false;
                v.bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
                i += 2;
                if (i < list.size() && list[i++] != ',')
                    return false;
            }
            v.type = rdBinary;
            return true;
        }
        const size_t end = Unquote(data, 0, v.text);
        if (end == std::string::npos || end != data.size())
            return false;
        v.type = rdString;
        return true;
    }

    void Read(const std::string& file) {
        preamble.clear();
        keys.clear();
        std::string bytes;
        if (!ReadFileBytes(file, bytes))
            return;
        std::string section;  // a key named twice gathers its values in one
        for (const std::string& line : SplitLines(bytes)) {
            if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
                section = line.substr(1, line.size() - 2);
                if (!Find(section))
                    keys.push_back({section, {}});
                continue;
            }
            if (keys.empty()) {
                preamble.push_back(line);
                continue;
            }
            if (line.empty())
                continue;
            Value v;
            if (!ParseValue(line, v)) {
                v = Value{};
                v.damaged = true;
                v.raw = line;
            }
            Find(section)->values.push_back(std::move(v));
        }
    }

    static std::string Format(const Value& v) {
        if (v.damaged)
            return v.raw;
        std::string line = v.name.empty() ? "@" : Quote(v.name);
        line += '=';
        char buf[16];
        switch (v.type) {
        case rdInteger:
            std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<uint32_t>(v.integer));
            line += buf;
            break;
        case rdBinary:
            line += "hex:";
            for (size_t i = 0; i < v.bytes.size(); ++i) {
                std::snprintf(buf, sizeof buf, i ? ",%02x" : "%02x", v.bytes[i]);
                line += buf;
            }
            break;
        default: line += Quote(v.text); break;
        }
        return line;
    }

    bool Write(const std::string& file) const {
        MakeDirectories(file);
        std::string text;
        for (const std::string& l : preamble)
            text += l + LineEnd(l);
        for (const Key& k : keys) {
            text += "[" + k.path + "]\n";
            for (const Value& v : k.values) {
                const std::string line = Format(v);
                text += line + LineEnd(line);
            }
            text += "\n";
        }
        return ReplaceFileContent(file, text.data(), text.size(), false) == 0;
    }
};

std::string RegistryFilePath() {
    if (PathOverride())
        return *PathOverride();
    if (const char* explicitFile = std::getenv("ZEKO_REGISTRY"); explicitFile && *explicitFile)
        return explicitFile;
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = ".";
    return base + "/zeko/registry.reg";
}

void SetRegistryFilePath(std::optional<std::string> path) { PathOverride() = std::move(path); }

TRegistry::TRegistry() : store_(std::make_unique<Store>()) {}

TRegistry::~TRegistry() {
    // A destructor must not throw: a store that cannot be written (a read-only
    // configuration folder) loses the change, not the program.
    try {
        CloseKey();
    } catch (const ERegistryException&) {
    }
}

void TRegistry::SetRootKey(TRootKey root) {
    CloseKey();
    root_ = root;
}

void TRegistry::Load() { store_->Read(RegistryFilePath()); }

void TRegistry::Save() {
    if (dirty_ && !readOnly_ && !store_->Write(RegistryFilePath()))
        throw ERegistryException("Failed to write the registry file " + RegistryFilePath());
    dirty_ = false;
}

std::string TRegistry::FullPath(const std::string& key) const {
    std::string rel = key;
    const bool absolute = !rel.empty() && rel.front() == '\\';
    while (!rel.empty() && rel.front() == '\\')
        rel.erase(rel.begin());
    while (!rel.empty() && rel.back() == '\\')
        rel.pop_back();
    std::string base = absolute || !open_ ? std::string(RootName(root_)) : current_;
    return rel.empty() ? base : base + "\\" + rel;
}

bool TRegistry::KeyExists(const std::string& key) {
    if (!open_)
        Load();
    return store_->Exists(FullPath(key));
}

bool TRegistry::DeleteKey(const std::string& key) {
    const std::string path = FullPath(key);
    if (!open_)
        Load();
    auto& keys = store_->keys;
    const size_t before = keys.size();
    keys.erase(std::remove_if(keys.begin(), keys.end(), [&](const Store::Key& k) { return IsKeyOrBelow(k.path, path); }),
               keys.end());
    if (keys.size() == before)
        return false;
    if (open_ && IsKeyOrBelow(current_, path))
        keys.push_back({current_, {}});
    if (!store_->Write(RegistryFilePath()))
        throw ERegistryException("Failed to write the registry file " + RegistryFilePath());
    return true;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    const std::string path = FullPath(key);
    CloseKey();
    Load();
    readOnly_ = false;
    if (!store_->Exists(path)) {
        if (!canCreate)
            return false;
        store_->keys.push_back({path, {}});
        dirty_ = true;
    }
    current_ = path;
    open_ = true;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    const bool ok = OpenKey(key, false);
    readOnly_ = ok;
    return ok;
}

void TRegistry::CloseKey() {
    if (open_)
        Save();
    open_ = false;
    readOnly_ = false;
    current_.clear();
}

std::vector<std::string> TRegistry::GetValueNames() const {
    std::vector<std::string> names;
    if (!open_)
        return names;
    if (const Store::Key* k = store_->Find(current_))
        for (const Store::Value& v : k->values)
            if (!v.damaged)
                names.push_back(v.name);
    return names;
}

namespace {
const TRegistry::Store::Value* FindValue(TRegistry::Store& store, const std::string& key, const std::string& name) {
    if (TRegistry::Store::Key* k = store.Find(key))
        for (const auto& v : k->values)
            if (!v.damaged && SameTextNoCase(v.name, name))
                return &v;
    return nullptr;
}
} // namespace

bool TRegistry::ValueExists(const std::string& name) const {
    return open_ && FindValue(*store_, current_, name) != nullptr;
}

TRegDataType TRegistry::GetDataType(const std::string& name) const {
    const Store::Value* v = open_ ? FindValue(*store_, current_, name) : nullptr;
    return v ? v->type : rdUnknown;
}

namespace {
const TRegistry::Store::Value& Typed(const TRegistry::Store::Value* v, TRegDataType type, const std::string& name) {
    if (!v)
        throw ERegistryException("Registry value \"" + name + "\" does not exist");
    if (v->type != type)
        throw ERegistryException("Invalid data type for \"" + name + "\"");
    return *v;
}
} // namespace

int32_t TRegistry::ReadInteger(const std::string& name) const {
    return Typed(open_ ? FindValue(*store_, current_, name) : nullptr, rdInteger, name).integer;
}

std::string TRegistry::ReadString(const std::string& name) const {
    return Typed(open_ ? FindValue(*store_, current_, name) : nullptr, rdString, name).text;
}

std::vector<uint8_t> TRegistry::ReadBinaryData(const std::string& name) const {
    return Typed(open_ ? FindValue(*store_, current_, name) : nullptr, rdBinary, name).bytes;
}

namespace {
// The value to overwrite, made (with its key) when missing.
TRegistry::Store::Value& Slot(TRegistry::Store& store, const std::string& key, const std::string& name,
                              TRegDataType type) {
    TRegistry::Store::Key* k = store.Find(key);
    if (!k) {
        store.keys.push_back({key, {}});
        k = &store.keys.back();
    }
    auto it = std::find_if(k->values.begin(), k->values.end(),
                           [&](const auto& v) { return !v.damaged && SameTextNoCase(v.name, name); });
    if (it == k->values.end()) {
        k->values.push_back({});
        it = k->values.end() - 1;
        it->name = name;
    }
    it->type = type;
    return *it;
}
} // namespace

void TRegistry::BeginWrite(const std::string& name) {
    if (!open_ || readOnly_)
        throw ERegistryException("Failed to set data for \"" + name + "\"");
    dirty_ = true;
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
    BeginWrite(name);
    Slot(*store_, current_, name, rdInteger).integer = value;
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    BeginWrite(name);
    Slot(*store_, current_, name, rdString).text = value;
}

void TRegistry::WriteBinaryData(const std::string& name, const std::vector<uint8_t>& value) {
    BeginWrite(name);
    Slot(*store_, current_, name, rdBinary).bytes = value;
}

} // namespace zeko
