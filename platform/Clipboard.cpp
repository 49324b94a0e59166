#include "platform/Clipboard.h"

namespace zeko {
namespace {
TClipboard* installed = nullptr;
} // namespace

void TMemoryClipboard::SetBlock(uint32_t format, std::vector<uint8_t> block) {
    format_ = format;
    block_ = std::move(block);
}

std::optional<std::vector<uint8_t>> TMemoryClipboard::GetBlock(uint32_t format) {
    if (!block_ || format != format_)
        return std::nullopt;
    return block_;
}

TClipboard& Clipboard() {
    static TMemoryClipboard fallback;
    return installed ? *installed : fallback;
}

void SetClipboard(TClipboard* clipboard) { installed = clipboard; }

} // namespace zeko
