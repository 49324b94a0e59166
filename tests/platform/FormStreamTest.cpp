#include "platform/FormStream.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zeko;

namespace {

std::vector<uint8_t> Written(const std::function<void(TWriter&)>& write) {
    TMemoryStream stream;
    TWriter writer(stream);
    write(writer);
    return stream.Bytes();
}

using Bytes = std::vector<uint8_t>;

} // namespace

TEST(FormStream, IntegersTakeTheSmallestForm) {
    struct Case { int32_t value; Bytes bytes; };
    const Case cases[] = {
        {0, {0x02, 0x00}},
        {-128, {0x02, 0x80}},
        {127, {0x02, 0x7F}},
        {128, {0x03, 0x80, 0x00}},
        {-129, {0x03, 0x7F, 0xFF}},
        {32767, {0x03, 0xFF, 0x7F}},
        {65537, {0x04, 0x01, 0x00, 0x01, 0x00}},
        {-2147483647 - 1, {0x04, 0x00, 0x00, 0x00, 0x80}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Written([&](TWriter& w) { w.WriteInteger(c.value); }), c.bytes) << c.value;
        TMemoryStream in(c.bytes);
        TReader reader(in);
        EXPECT_EQ(reader.ReadInteger(), c.value);
        EXPECT_EQ(in.Remaining(), 0);
    }
}

TEST(FormStream, StringsAreWindows1250ShortOrLong) {
    EXPECT_EQ(Written([](TWriter& w) { w.WriteString("Směna"); }),
              (Bytes{0x06, 0x05, 'S', 'm', 0xEC, 'n', 'a'}));
    const std::string longText(300, 'x');
    const Bytes longBytes = Written([&](TWriter& w) { w.WriteString(longText); });
    ASSERT_EQ(longBytes.size(), 5u + 300u);
    EXPECT_EQ(Bytes(longBytes.begin(), longBytes.begin() + 5), (Bytes{0x0C, 0x2C, 0x01, 0x00, 0x00}));

    TMemoryStream in(Bytes{0x06, 0x05, 'S', 'm', 0xEC, 'n', 'a', 0x14, 0x02, 0, 0, 0, 0xC5, 0xBD});
    TReader reader(in);
    EXPECT_EQ(reader.ReadString(), "Směna");
    EXPECT_EQ(reader.ReadString(), "Ž");  // a UTF-8 string is taken as it is
}

TEST(FormStream, NamedPropertiesAreWrittenInOrderWhenTheyHaveData) {
    const Bytes bytes = Written([](TWriter& w) {
        WriteDefinedProperties(w, [](TFiler& filer) {
            filer.DefineProperty("A", nullptr, [](TWriter& x) { x.WriteInteger(5); }, true);
            filer.DefineProperty("Skipped", nullptr, [](TWriter& x) { x.WriteInteger(6); }, false);
            filer.DefineBinaryProperty("B", nullptr,
                [](TStream& s) { const uint8_t b[2] = {7, 8}; s.WriteBuffer(b, 2); }, true);
        });
    });
    EXPECT_EQ(bytes, (Bytes{1, 'A', 0x02, 5, 1, 'B', 0x0A, 2, 0, 0, 0, 7, 8, 0x00}));
}

TEST(FormStream, ReadingPassesOverUnknownPropertiesOfEveryKind) {
    Bytes bytes = {
        3, 'O', 'n', 'e', 0x01, 0x02, 1, 0x06, 1, 'z', 0x00,      // list of int and string
        3, 'T', 'w', 'o', 0x0B, 2, 'a', 'b', 0,                   // set
        3, 'B', 'i', 'n', 0x0A, 3, 0, 0, 0, 1, 2, 3,              // binary
        3, 'C', 'o', 'l', 0x0E, 0x01, 1, 'X', 0x09, 0x00, 0x02, 4, 0x01, 0x00, 0x00,  // collection
        3, 'E', 'x', 't', 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        4, 'w', 'a', 'n', 't', 0x03, 0x34, 0x12,
        0x00,
    };
    TMemoryStream in(bytes);
    TReader reader(in);
    int32_t seen = 0;
    ReadDefinedProperties(reader, [&](TFiler& filer) {
        filer.DefineProperty("Want", [&](TReader& r) { seen = r.ReadInteger(); }, nullptr, false);
    });
    EXPECT_EQ(seen, 0x1234);  // names match without regard to case
    EXPECT_EQ(in.Remaining(), 0);
}

TEST(FormStream, DamagedDataRaisesAReadErrorAndNeverReadsPastTheEnd) {
    const Bytes damaged[] = {
        {0x04, 0x01, 0x02},                  // integer cut short
        {0x06, 0x09, 'a', 'b'},              // string longer than the data
        {0x0C, 0xFF, 0xFF, 0xFF, 0x7F},      // long string claiming 2 GB
        {0x0A, 0x10, 0, 0, 0, 1},            // binary block cut short
        {0x01, 0x02, 0x01},                  // list without its end
        {0x63},                              // unknown type
        {},
    };
    for (const Bytes& bytes : damaged) {
        TMemoryStream in(bytes);
        TReader reader(in);
        EXPECT_THROW(reader.SkipValue(), EReadError) << bytes.size();
        EXPECT_LE(in.Position(), static_cast<int64_t>(bytes.size()));
    }
    TMemoryStream text(Bytes{0x06, 1, 'a'});
    TReader reader(text);
    EXPECT_THROW(reader.ReadInteger(), EReadError);

    // The typed reads refuse a length the data cannot hold before they take it.
    struct Read {
        Bytes bytes;
        std::function<void(TReader&)> read;
    };
    const Read reads[] = {
        {{0x06, 0x09, 'a', 'b'}, [](TReader& r) { r.ReadString(); }},
        {{0x0C, 0xFF, 0xFF, 0xFF, 0xFF}, [](TReader& r) { r.ReadString(); }},
        {{0x0A, 0xFF, 0xFF, 0xFF, 0xFF, 1}, [](TReader& r) { r.ReadBinary(); }},
        {{0x05, 'N', 'a', 'm'}, [](TReader& r) { r.ReadPropName(); }},
    };
    for (const Read& r : reads) {
        TMemoryStream in(r.bytes);
        TReader bad(in);
        EXPECT_THROW(r.read(bad), EReadError) << r.bytes.size();
        EXPECT_LE(in.Position(), static_cast<int64_t>(r.bytes.size()));
    }
}

TEST(FormStream, ListsNestedWithoutEndAreDamageNotARecursionWithoutLimit) {
    // A run of list markers as long as a damaged block may hold would take the
    // stack with it if each one were followed.
    Bytes deep(1000000, 0x01);
    TMemoryStream in(deep);
    TReader reader(in);
    EXPECT_THROW(reader.SkipValue(), EReadError);

    Bytes nested;  // a few levels, as forms hold them, still pass
    for (int i = 0; i < 8; ++i)
        nested.push_back(0x01);
    nested.push_back(0x02);
    nested.push_back(0x05);
    for (int i = 0; i < 8; ++i)
        nested.push_back(0x00);
    TMemoryStream ok(nested);
    TReader okReader(ok);
    okReader.SkipValue();
    EXPECT_EQ(ok.Remaining(), 0);
}

TEST(FormStream, BinaryPropertyIsReadFromItsOwnBytesOnly) {
    Bytes bytes = {3, 'B', 'i', 'n', 0x0A, 2, 0, 0, 0, 0xAA, 0xBB, 0x00};
    TMemoryStream in(bytes);
    TReader reader(in);
    Bytes got;
    ReadDefinedProperties(reader, [&](TFiler& filer) {
        filer.DefineBinaryProperty("Bin", [&](TStream& s) {
            uint8_t b;
            while (s.Read(&b, 1) == 1)
                got.push_back(b);
        }, nullptr, false);
    });
    EXPECT_EQ(got, (Bytes{0xAA, 0xBB}));
}
