#pragma once
// The form stream: the typed values in which a form stores its components'
// properties, and the named-property framing that lets a control store data of its
// own (DefineProperties). Every value starts with one type byte; numbers are
// little-endian.
//
//   type byte        value that follows
//   0  vaNull        nothing: ends a list, or a component's property list
//   1  vaList        values up to a vaNull
//   2  vaInt8        1 byte, signed
//   3  vaInt16       2 bytes, signed
//   4  vaInt32       4 bytes, signed
//   5  vaExtended    10 bytes (80-bit float)           (skipped only)
//   6  vaString      u8 length, that many bytes
//   7  vaIdent       u8 length, that many bytes         (skipped only)
//   8  vaFalse, 9 vaTrue, 13 vaNil                      nothing
//   10 vaBinary      u32 length, that many bytes
//   11 vaSet         identifiers (u8 length + bytes) up to an empty one (skipped only)
//   12 vaLString     u32 length, that many bytes
//   14 vaCollection  items (optional order integer, vaList) up to a vaNull (skipped only)
//   15 vaSingle 4 bytes, 16 vaCurrency 8, 17 vaDate 8, 19 vaInt64 8    (skipped only)
//   18 vaWString     u32 count, 2 bytes each           (skipped only)
//   20 vaUTF8String  u32 length, that many bytes
//
// A named property is its name (u8 length + bytes, no type byte) followed by one
// value. Strings are stored in Windows-1250, as the forms hold them; the program
// sees UTF-8. The writer picks the smallest integer form and vaString for strings up
// to 255 bytes.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Streams.h"

namespace zeko {

// The type byte ahead of each value of a form stream (the spin edit has a TValueType
// of its own).
enum TStreamValueType : uint8_t {
    vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5,
    vaString = 6, vaIdent = 7, vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11,
    vaLString = 12, vaNil = 13, vaCollection = 14, vaSingle = 15, vaCurrency = 16,
    vaDate = 17, vaWString = 18, vaInt64 = 19, vaUTF8String = 20,
};

constexpr int kMaxShortString = 255;
constexpr int kMaxValueNesting = 64;

class TWriter {
public:
    explicit TWriter(TStream& stream) : stream_(stream) {}

    void WriteInteger(int32_t value);
    void WriteString(const std::string& utf8);
    void WriteBoolean(bool value);
    void WriteListBegin();
    void WriteListEnd();
    void WriteBinary(const std::vector<uint8_t>& bytes);
    void WritePropName(const std::string& name);

private:
    void WriteByte(uint8_t value);
    void WriteLittleEndian(uint32_t value, int bytes);
    TStream& stream_;
};

class TReader {
public:
    explicit TReader(TStream& stream) : stream_(stream) {}

    TStreamValueType NextValue();  // the type byte ahead, not consumed
    bool EndOfList();        // a vaNull is ahead
    void ReadListBegin();
    void ReadListEnd();
    int32_t ReadInteger();
    std::string ReadString();
    bool ReadBoolean();
    std::vector<uint8_t> ReadBinary();
    std::string ReadPropName();
    // Passes over one value of any kind; lists and collections nested deeper
    // than kMaxValueNesting are damage, not a form.
    void SkipValue();

private:
    uint8_t ReadByte();
    uint32_t ReadLittleEndian(int bytes);
    TStreamValueType ReadValueType();
    void Skip(int64_t count);
    // Exactly `length` bytes; fewer left is damage, reported as `what`.
    template <class Bytes>
    Bytes ReadCounted(uint32_t length, const char* what);
    void SkipNested(int depth);
    [[noreturn]] void Invalid(const char* what);
    TStream& stream_;
};

// What a control declares in DefineProperties: named data it reads and writes
// itself, as form values or as a binary block.
class TFiler {
public:
    using TReaderProc = std::function<void(TReader&)>;
    using TWriterProc = std::function<void(TWriter&)>;
    using TStreamProc = std::function<void(TStream&)>;

    virtual ~TFiler() = default;
    virtual void DefineProperty(const std::string& name, TReaderProc readData,
                                TWriterProc writeData, bool hasData) = 0;
    virtual void DefineBinaryProperty(const std::string& name, TStreamProc readData,
                                      TStreamProc writeData, bool hasData) = 0;
};

using TDefineProperties = std::function<void(TFiler&)>;

// Writes, in the order declared, every property that has data, then the vaNull
// that ends the property list.
void WriteDefinedProperties(TWriter& writer, const TDefineProperties& define);
// Reads named properties up to the vaNull; a name nobody declared is passed over.
// A binary block is handed over as a stream of its own bytes only.
void ReadDefinedProperties(TReader& reader, const TDefineProperties& define);

} // namespace zeko
