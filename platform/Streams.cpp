#include "platform/Streams.h"

#include <algorithm>
#include <cstring>

namespace zeko {

int64_t TStream::Size() {
    const int64_t here = Position();
    const int64_t end = Seek(0, TSeekOrigin::soEnd);
    Seek(here, TSeekOrigin::soBeginning);
    return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count < 0 || Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count < 0 || Write(buffer, count) != count)
        throw std::runtime_error("Stream write error");
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    const int64_t n = std::clamp<int64_t>(static_cast<int64_t>(data_.size()) - position_, 0,
                                          std::max<int64_t>(count, 0));
    if (n > 0)
        std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0)
        return 0;
    const size_t end = static_cast<size_t>(position_ + count);
    if (end > data_.size())
        data_.resize(end);
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    const int64_t size = static_cast<int64_t>(data_.size());
    int64_t base = 0;
    if (origin == TSeekOrigin::soCurrent)
        base = position_;
    else if (origin == TSeekOrigin::soEnd)
        base = size;
    position_ = std::clamp<int64_t>(base + offset, 0, size);
    return position_;
}

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

void TMemoryStream::SetSize(int64_t size) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    position_ = std::min<int64_t>(position_, static_cast<int64_t>(data_.size()));
}

} // namespace zeko
