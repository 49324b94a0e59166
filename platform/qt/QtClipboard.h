#pragma once
// The system clipboard through Qt. Only text is carried: the block handed in is
// UTF-8 up to its first 0 byte; the block handed out is the clipboard's text as
// UTF-8 with a 0 byte after it.
#include "platform/Clipboard.h"

namespace zeko {

class TQtClipboard : public TClipboard {
public:
    void SetBlock(uint32_t format, std::vector<uint8_t> block) override;
    std::optional<std::vector<uint8_t>> GetBlock(uint32_t format) override;
};

} // namespace zeko
