#pragma once
// The clipboard as the grids use it: one block of bytes per format, set as a whole
// (which empties the clipboard first) and read back as a whole. A text block is
// UTF-8 ended by a 0 byte. The program installs the Qt clipboard at start
// (platform/qt/QtClipboard.h); until then, and in tests, an in-process one serves.
#include <cstdint>
#include <optional>
#include <vector>

namespace zeko {

constexpr uint32_t CF_TEXT = 1;

class TClipboard {
public:
    virtual ~TClipboard() = default;
    virtual void SetBlock(uint32_t format, std::vector<uint8_t> block) = 0;
    // Nothing when the clipboard holds no data in that format.
    virtual std::optional<std::vector<uint8_t>> GetBlock(uint32_t format) = 0;
};

class TMemoryClipboard : public TClipboard {
public:
    void SetBlock(uint32_t format, std::vector<uint8_t> block) override;
    std::optional<std::vector<uint8_t>> GetBlock(uint32_t format) override;

private:
    uint32_t format_ = 0;
    std::optional<std::vector<uint8_t>> block_;
};

TClipboard& Clipboard();
void SetClipboard(TClipboard* clipboard);  // nullptr returns to the in-process one

} // namespace zeko
