#pragma once
// Byte streams in the manner of the class library: the form reader and writer, the
// grids' clipboard transfer and their copy and paste run on them. A read that asks
// for more than is left answers fewer bytes; ReadBuffer turns that into EReadError,
// so nothing is ever read past the end of the data.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace zeko {

// A stream or form stream that ends early or holds a value of the wrong kind.
class EReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;

    // Answer the number of bytes moved, which may be fewer than asked.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Answers the new position; a position outside 0..Size is clamped into it.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    int64_t Size();
    int64_t Remaining() { return Size() - Position(); }

    void ReadBuffer(void* buffer, int64_t count);        // EReadError when short
    void WriteBuffer(const void* buffer, int64_t count);  // std::runtime_error when short
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
    explicit TMemoryStream(const std::string& bytes) : data_(bytes.begin(), bytes.end()) {}

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;

    const std::vector<uint8_t>& Bytes() const { return data_; }
    std::string Text() const { return std::string(data_.begin(), data_.end()); }
    void Clear();
    void SetSize(int64_t size);

private:
    std::vector<uint8_t> data_;
    int64_t position_ = 0;
};

} // namespace zeko
