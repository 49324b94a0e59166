#include "platform/FormStream.h"

#include <map>

#include "platform/Cp1250.h"
#include "platform/TextFiles.h"

namespace zeko {

void TWriter::WriteByte(uint8_t value) { stream_.WriteBuffer(&value, 1); }

void TWriter::WriteLittleEndian(uint32_t value, int bytes) {
    uint8_t out[4];
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
    stream_.WriteBuffer(out, bytes);
}

void TWriter::WriteInteger(int32_t value) {
    if (value >= INT8_MIN && value <= INT8_MAX) {
        WriteByte(vaInt8);
        WriteLittleEndian(static_cast<uint32_t>(value), 1);
    } else if (value >= INT16_MIN && value <= INT16_MAX) {
        WriteByte(vaInt16);
        WriteLittleEndian(static_cast<uint32_t>(value), 2);
    } else {
        WriteByte(vaInt32);
        WriteLittleEndian(static_cast<uint32_t>(value), 4);
    }
}

void TWriter::WriteString(const std::string& utf8) {
    const std::string bytes = Utf8ToCp1250(utf8);
    if (bytes.size() <= kMaxShortString) {
        WriteByte(vaString);
        WriteLittleEndian(static_cast<uint32_t>(bytes.size()), 1);
    } else {
        WriteByte(vaLString);
        WriteLittleEndian(static_cast<uint32_t>(bytes.size()), 4);
    }
    stream_.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TWriter::WriteBoolean(bool value) { WriteByte(value ? vaTrue : vaFalse); }
void TWriter::WriteListBegin() { WriteByte(vaList); }
void TWriter::WriteListEnd() { WriteByte(vaNull); }

void TWriter::WriteBinary(const std::vector<uint8_t>& bytes) {
    WriteByte(vaBinary);
    WriteLittleEndian(static_cast<uint32_t>(bytes.size()), 4);
    stream_.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TWriter::WritePropName(const std::string& name) {
    if (name.empty() || name.size() > kMaxShortString)
        throw std::invalid_argument("property name must have 1 to 255 characters");
    WriteLittleEndian(static_cast<uint32_t>(name.size()), 1);
    stream_.WriteBuffer(name.data(), static_cast<int64_t>(name.size()));
}

void TReader::Invalid(const char* what) {
    throw EReadError(std::string("Damaged form stream: ") + what + " at offset " +
                     std::to_string(stream_.Position()));
}

uint8_t TReader::ReadByte() {
    uint8_t value = 0;
    if (stream_.Read(&value, 1) != 1)
        Invalid("unexpected end of data");
    return value;
}

uint32_t TReader::ReadLittleEndian(int bytes) {
    uint8_t in[4] = {};
    if (stream_.Read(in, bytes) != bytes)
        Invalid("unexpected end of data");
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<uint32_t>(in[i]) << (8 * i);
    return value;
}

template <class Bytes>
Bytes TReader::ReadCounted(uint32_t length, const char* what) {
    if (length > stream_.Remaining())  // before anything is allocated for it
        Invalid(what);
    Bytes bytes(length, 0);
    stream_.ReadBuffer(bytes.data(), length);
    return bytes;
}

void TReader::Skip(int64_t count) {
    if (count < 0 || count > stream_.Remaining())
        Invalid("value longer than the data left");
    stream_.Seek(count, TSeekOrigin::soCurrent);
}

TStreamValueType TReader::NextValue() {
    const TStreamValueType type = ReadValueType();
    stream_.Seek(-1, TSeekOrigin::soCurrent);
    return type;
}

TStreamValueType TReader::ReadValueType() { return static_cast<TStreamValueType>(ReadByte()); }

bool TReader::EndOfList() { return NextValue() == vaNull; }

void TReader::ReadListBegin() {
    if (ReadValueType() != vaList)
        Invalid("a list was expected");
}

void TReader::ReadListEnd() {
    if (ReadValueType() != vaNull)
        Invalid("the end of a list was expected");
}

int32_t TReader::ReadInteger() {
    switch (ReadValueType()) {
    case vaInt8:
        return static_cast<int8_t>(ReadLittleEndian(1));
    case vaInt16:
        return static_cast<int16_t>(ReadLittleEndian(2));
    case vaInt32:
        return static_cast<int32_t>(ReadLittleEndian(4));
    default:
        Invalid("an integer was expected");
    }
}

std::string TReader::ReadString() {
    const TStreamValueType type = ReadValueType();
    uint32_t length = 0;
    if (type == vaString)
        length = ReadLittleEndian(1);
    else if (type == vaLString || type == vaUTF8String)
        length = ReadLittleEndian(4);
    else
        Invalid("a string was expected");
    const std::string bytes = ReadCounted<std::string>(length, "string longer than the data left");
    return type == vaUTF8String ? bytes : Cp1250ToUtf8(bytes);
}

bool TReader::ReadBoolean() {
    const TStreamValueType type = ReadValueType();
    if (type != vaTrue && type != vaFalse)
        Invalid("a Boolean was expected");
    return type == vaTrue;
}

std::vector<uint8_t> TReader::ReadBinary() {
    if (ReadValueType() != vaBinary)
        Invalid("a binary block was expected");
    return ReadCounted<std::vector<uint8_t>>(ReadLittleEndian(4), "binary block longer than the data left");
}

std::string TReader::ReadPropName() {
    const uint8_t length = ReadByte();
    if (length == 0)
        Invalid("a property name was expected");
    return ReadCounted<std::string>(length, "unexpected end of data");
}

void TReader::SkipValue() { SkipNested(0); }

void TReader::SkipNested(int depth) {
    if (depth > kMaxValueNesting)
        Invalid("values nested too deeply");
    switch (ReadValueType()) {
    case vaNull: case vaFalse: case vaTrue: case vaNil:
        return;
    case vaList:
        while (!EndOfList())
            SkipNested(depth + 1);
        ReadListEnd();
        return;
    case vaInt8: Skip(1); return;
    case vaInt16: Skip(2); return;
    case vaInt32: case vaSingle: Skip(4); return;
    case vaCurrency: case vaDate: case vaInt64: Skip(8); return;
    case vaExtended: Skip(10); return;
    case vaString: case vaIdent: Skip(ReadLittleEndian(1)); return;
    case vaBinary: case vaLString: case vaUTF8String: Skip(ReadLittleEndian(4)); return;
    case vaWString: Skip(2 * static_cast<int64_t>(ReadLittleEndian(4))); return;
    case vaSet:
        for (uint8_t length = ReadByte(); length != 0; length = ReadByte())
            Skip(length);
        return;
    case vaCollection:
        while (!EndOfList()) {
            if (NextValue() != vaList)
                ReadInteger();  // the item's order value
            ReadListBegin();
            while (!EndOfList()) {
                ReadPropName();
                SkipNested(depth + 1);
            }
            ReadListEnd();
        }
        ReadListEnd();
        return;
    }
    Invalid("unknown value type");
}

namespace {

// Property names match without regard to letter case, as the forms' reader does.
struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return LowerAscii(a) < LowerAscii(b);
    }
};

// Writes each declared property that has data the moment it is declared.
class WritingFiler : public TFiler {
public:
    explicit WritingFiler(TWriter& writer) : writer_(writer) {}

    void DefineProperty(const std::string& name, TReaderProc, TWriterProc writeData,
                        bool hasData) override {
        if (!hasData || !writeData)
            return;
        writer_.WritePropName(name);
        writeData(writer_);
    }

    void DefineBinaryProperty(const std::string& name, TStreamProc, TStreamProc writeData,
                              bool hasData) override {
        if (!hasData || !writeData)
            return;
        TMemoryStream block;
        writeData(block);
        writer_.WritePropName(name);
        writer_.WriteBinary(block.Bytes());
    }

private:
    TWriter& writer_;
};

// Collects the readers by name.
class ReadingFiler : public TFiler {
public:
    void DefineProperty(const std::string& name, TReaderProc readData, TWriterProc,
                        bool) override {
        if (readData)
            readers[name] = std::move(readData);
    }

    void DefineBinaryProperty(const std::string& name, TStreamProc readData, TStreamProc,
                              bool) override {
        if (readData)
            binaryReaders[name] = std::move(readData);
    }

    std::map<std::string, TReaderProc, NameLess> readers;
    std::map<std::string, TStreamProc, NameLess> binaryReaders;
};

} // namespace

void WriteDefinedProperties(TWriter& writer, const TDefineProperties& define) {
    WritingFiler filer(writer);
    define(filer);
    writer.WriteListEnd();
}

void ReadDefinedProperties(TReader& reader, const TDefineProperties& define) {
    ReadingFiler filer;
    define(filer);
    while (!reader.EndOfList()) {
        const std::string name = reader.ReadPropName();
        if (auto it = filer.readers.find(name); it != filer.readers.end()) {
            it->second(reader);
        } else if (auto bin = filer.binaryReaders.find(name); bin != filer.binaryReaders.end()) {
            TMemoryStream block(reader.ReadBinary());
            bin->second(block);
        } else {
            reader.SkipValue();
        }
    }
    reader.ReadListEnd();
}

} // namespace zeko
