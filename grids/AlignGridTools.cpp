#include "grids/AlignGridTools.h"

#include <algorithm>

namespace zeko {

void WriteStringToStream(TStream& stream, const std::string& s) {
    stream.WriteBuffer(s.data(), static_cast<int64_t>(s.size()));
}

void PutClipboardText(TStream& stream, uint32_t format) {
    const int64_t size = stream.Size();
    std::vector<uint8_t> block(static_cast<size_t>(size) + 1, 0);
    stream.SetPosition(0);
    int64_t copied = 0;
    while (copied < size) {
        const int64_t n = stream.Read(block.data() + copied, std::min(kClipboardChunk, size - copied));
        if (n <= 0)
            break;
        copied += n;
    }
    Clipboard().SetBlock(format, std::move(block));
}

void GetClipboardText(TStream& stream, uint32_t format) {
    const auto block = Clipboard().GetBlock(format);
    if (!block || block->empty())
        return;
    const int64_t size = static_cast<int64_t>(block->size()) - 1;
    stream.SetPosition(0);
    for (int64_t done = 0; done < size;) {
        const int64_t n = std::min(kClipboardChunk, size - done);
        stream.WriteBuffer(block->data() + done, n);
        done += n;
    }
}

} // namespace zeko
