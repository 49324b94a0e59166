// Fuzz entry of the alignment grid's property stream, as a form holding the grid is
// read: a grid of 5 × 5 cells reads its named properties from the input's bytes.
#include "fuzz/FuzzEntries.h"
#include "fuzz/QtApplication.h"

#include "grids/Aligrid.h"
#include "platform/Streams.h"

#include <exception>
#include <vector>

namespace zeko::fuzz {

namespace {

constexpr int GridCells = 5;

enum class TRead { Refused, Read, Failed };

// Reads the bytes into a new grid and writes what it holds.
TRead ReadAndWrite(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& written) {
    TStringAlignGrid grid;
    grid.SetColCount(GridCells);
    grid.SetRowCount(GridCells);
    TMemoryStream in(bytes);
    try {
        grid.ReadProperties(in);
    } catch (const EReadError&) {
        return TRead::Refused;  // damage is refused, not taken for a form
    } catch (const std::exception&) {
        return TRead::Failed;
    }
    TMemoryStream out;
    grid.WriteProperties(out);
    written = out.Bytes();
    return TRead::Read;
}

} // namespace

bool GridPropertyStream(const uint8_t* data, size_t size) {
    EnsureApplication();
    std::vector<uint8_t> first, second;
    switch (ReadAndWrite(std::vector<uint8_t>(data, data + size), first)) {
    case TRead::Refused: return true;
    case TRead::Failed: return false;
    case TRead::Read: break;
    }
    // What a grid writes, a grid reads back to the same properties.
    return ReadAndWrite(first, second) == TRead::Read && second == first;
}

} // namespace zeko::fuzz
