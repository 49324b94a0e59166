// Fuzz entry of the registry store, as the tables meet it for their column widths: a
// store file of the input's bytes is read through every key it names, a table grid
// takes its column widths from it, and the grid's widths are saved into it again.
// Only sound widths are taken; the write changes the saved key's widths alone and
// keeps every line the store could not read.
#include "fuzz/FuzzEntries.h"
#include "fuzz/QtApplication.h"
#include "fuzz/ScratchFiles.h"

#include "grids/HgGrid.h"
#include "platform/Registry.h"
#include "platform/TextFiles.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

namespace zeko::fuzz {

namespace {

// The key the daily table keeps its widths under.
const char* const SavedKey = "SOFTWARE\\Vadro\\ColWidths800\\Denni";
const char* const UserRoot = "HKEY_CURRENT_USER\\";
constexpr int GridColumns = 8;
constexpr int DefaultWidth = 64;
constexpr int32_t MaxSoundWidth = 32767;
// Keys beyond these are read as well, but a grid is not loaded from them.
constexpr size_t KeysLoadedIntoGrid = 4;

struct TValue {
    std::string Name;
    TRegDataType Type = rdUnknown;
    int32_t Integer = 0;
    std::string Text;
    std::vector<uint8_t> Bytes;
    bool operator==(const TValue&) const = default;
};

// The values of every key below the user's root that the file names, as the store
// reads them, by the key's path in lower case.
using TView = std::map<std::string, std::vector<TValue>>;

std::vector<std::string> HeaderLines(const std::string& text) {
    std::vector<std::string> keys;
    for (const std::string& line : SplitLines(text))
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
            keys.push_back(line.substr(1, line.size() - 2));
    return keys;
}

// The key's path below the user's root, or "" for a key of another root.
std::string UserKey(const std::string& path) {
    const std::string root = UserRoot;
    return path.size() > root.size() && MatchesNoCaseAt(path, 0, root) ? path.substr(root.size()) : "";
}

// False when the store contradicts itself: a listed value missing, or read as
// another type than it says.
bool ReadKey(TRegistry& registry, std::vector<TValue>& values) {
    for (const std::string& name : registry.GetValueNames()) {
        TValue v;
        v.Name = name;
        v.Type = registry.GetDataType(name);
        if (!registry.ValueExists(name))
            return false;
        try {
            switch (v.Type) {
            case rdInteger: v.Integer = registry.ReadInteger(name); break;
            case rdString: v.Text = registry.ReadString(name); break;
            case rdBinary: v.Bytes = registry.ReadBinaryData(name); break;
            default: return false;
            }
        } catch (const ERegistryException&) {
            return false;
        }
        values.push_back(std::move(v));
    }
    return true;
}

bool ReadView(const std::string& text, TView& view) {
    for (const std::string& path : HeaderLines(text)) {
        const std::string key = UserKey(path);
        if (key.empty() || view.count(LowerAscii(key)))
            continue;
        TRegistry registry;
        std::vector<TValue> values;
        // A path of an empty name ("A\\B", "A\") opens no key of its own.
        if (!registry.OpenKeyReadOnly(key))
            continue;
        if (!ReadKey(registry, values))
            return false;
        view[LowerAscii(key)] = std::move(values);
    }
    return true;
}

// Lines that are neither empty nor a key's header: the values, read or damaged, and
// what stands before the first key.
size_t ValueLines(const std::string& text) {
    const auto lines = SplitLines(text);
    return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return !line.empty() && !(line.size() >= 2 && line.front() == '[' && line.back() == ']');
    }));
}

// The first value of that name, as the store finds it.
const TValue* Find(const std::vector<TValue>& values, const std::string& name) {
    const auto it = std::find_if(values.begin(), values.end(),
                                 [&](const TValue& v) { return SameTextNoCase(v.Name, name); });
    return it == values.end() ? nullptr : &*it;
}

// A grid of the daily table's shape, every column of the default width.
struct TTableGrid {
    THyperGrid grid;
    TTableGrid() {
        grid.SetColCount(GridColumns);
        for (int i = 0; i < GridColumns; ++i)
            grid.SetColWidths(i, DefaultWidth);
    }
    std::string Name(int i) { return grid.Columns().Items(i)->Name(); }
};

// Each column has the width stored under its name when that is a sound one, else
// the default.
bool WidthsTaken(TTableGrid& table, const std::vector<TValue>& values) {
    for (int i = 0; i < GridColumns; ++i) {
        const TValue* v = Find(values, table.Name(i));
        const bool sound = v && v->Type == rdInteger && v->Integer >= 0 && v->Integer <= MaxSoundWidth;
        if (table.grid.ColWidths(i) != (sound ? v->Integer : DefaultWidth))
            return false;
    }
    return true;
}

// What the store must hold once the grid has saved its widths under the key.
void SaveInto(TView& view, TTableGrid& table) {
    std::vector<TValue>& values = view[LowerAscii(SavedKey)];
    for (int i = 0; i < GridColumns; ++i) {
        const std::string name = table.Name(i);
        auto it = std::find_if(values.begin(), values.end(), [&](const TValue& v) { return SameTextNoCase(v.Name, name); });
        if (it == values.end()) {
            values.push_back({});
            it = values.end() - 1;
            it->Name = name;
        }
        *it = TValue{it->Name, rdInteger, table.grid.ColWidths(i), {}, {}};
    }
    // A name listed twice (in other letter case) reads as its first value.
    for (TValue& v : values) {
        const std::string name = v.Name;
        v = *Find(values, name);
        v.Name = name;
    }
}

} // namespace

bool RegistryStore(const uint8_t* data, size_t size) {
    EnsureApplication();
    const std::string path = WriteScratchFile("registry.reg", data, size);
    SetRegistryFilePath(path);
    const std::string text(reinterpret_cast<const char*>(data), size);
    TView view;
    if (!ReadView(text, view))
        return false;

    size_t loaded = 0;
    for (const auto& [key, values] : view) {
        if (++loaded > KeysLoadedIntoGrid)
            break;
        TTableGrid table;
        table.grid.LoadColumnWidths(key);
        if (!WidthsTaken(table, values))
            return false;
    }

    TTableGrid table;
    table.grid.LoadColumnWidths(SavedKey);
    table.grid.SetColWidths(0, table.grid.ColWidths(0) + 1);  // a column the user widened
    table.grid.SaveColumnWidths(SavedKey);
    TView expected = view;
    SaveInto(expected, table);

    std::string written;
    TView after;
    if (!ReadFileBytes(path, written) || !ReadView(written, after) || ValueLines(written) < ValueLines(text))
        return false;
    // Keys the file named only on a line of its own are read from the rewritten file
    // as well; the saved key is there even when the file had none.
    after.try_emplace(LowerAscii(SavedKey));
    for (const auto& [key, values] : expected)
        if (after[key] != values)
            return false;

    TTableGrid reloaded;
    reloaded.grid.LoadColumnWidths(SavedKey);
    const bool same = WidthsTaken(reloaded, after[LowerAscii(SavedKey)]);
    SetRegistryFilePath(std::nullopt);
    return same;
}

} // namespace zeko::fuzz
