#include "gatt/ByteReader.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

namespace {

const std::vector<uint8_t> kBytes = {0x01, 0x82, 0x03, 0x84, 0x05, 0x86};

// Reads one field with the named width and returns it widened (nullopt when too short).
using FieldRead = std::function<std::optional<int64_t>(ByteReader&)>;

template <typename T> std::optional<int64_t> widen(const std::optional<T>& value) {
    if (!value) {
        return std::nullopt;
    }
    return static_cast<int64_t>(*value);
}

struct FieldCase {
    const char* name;
    size_t width;
    FieldRead read;
    int64_t expected; // read from kBytes
};

const FieldCase kFields[] = {
    {"u8", 1, [](ByteReader& r) { return widen(r.u8()); }, 0x01},
    {"i8", 1, [](ByteReader& r) { return widen(r.i8()); }, 0x01},
    {"u16", 2, [](ByteReader& r) { return widen(r.u16()); }, 0x8201},
    {"i16", 2, [](ByteReader& r) { return widen(r.i16()); }, static_cast<int16_t>(0x8201)},
    {"u24", 3, [](ByteReader& r) { return widen(r.u24()); }, 0x038201},
    {"u32", 4, [](ByteReader& r) { return widen(r.u32()); }, 0x84038201},
    {"i32", 4, [](ByteReader& r) { return widen(r.i32()); }, static_cast<int32_t>(0x84038201)},
};

TEST(ByteReaderTest, EveryFieldReadsLittleEndianAndAdvancesByItsWidth) {
    for (const FieldCase& field : kFields) {
        ByteReader reader(kBytes);
        EXPECT_EQ(field.read(reader), field.expected) << field.name;
        EXPECT_EQ(reader.offset(), field.width) << field.name;
        EXPECT_EQ(reader.remaining(), kBytes.size() - field.width) << field.name;
        EXPECT_FALSE(reader.failed()) << field.name;
    }
}

TEST(ByteReaderTest, EveryFieldOneByteShortFailsWithoutMovingTheCursor) {
    for (const FieldCase& field : kFields) {
        const std::vector<uint8_t> shortValue(kBytes.begin(),
                                              kBytes.begin() + static_cast<long>(field.width) - 1);
        ByteReader reader(shortValue);
        EXPECT_EQ(field.read(reader), std::nullopt) << field.name;
        EXPECT_EQ(reader.offset(), 0u) << field.name;
        EXPECT_TRUE(reader.failed()) << field.name;
    }
}

TEST(ByteReaderTest, SignedFieldsReadTwosComplement) {
    const std::array<uint8_t, 7> bytes = {0xFF, 0x00, 0x80, 0xFE, 0xFF, 0xFF, 0xFF};
    ByteReader reader(bytes);
    EXPECT_EQ(reader.i8(), -1);
    EXPECT_EQ(reader.i16(), -32768);
    EXPECT_EQ(reader.i32(), -2);
    EXPECT_TRUE(reader.atEnd());
}

TEST(ByteReaderTest, FieldsFollowEachOtherThroughOneCursor) {
    ByteReader reader(kBytes);
    EXPECT_EQ(reader.u8(), 0x01);
    EXPECT_EQ(reader.u16(), 0x0382);
    EXPECT_EQ(reader.u24(), 0x860584u);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.u8(), std::nullopt);
}

TEST(ByteReaderTest, FailureIsStickyEvenWhenALaterFieldWouldFit) {
    ByteReader reader(kBytes.data(), 3);
    EXPECT_EQ(reader.u32(), std::nullopt);
    EXPECT_EQ(reader.u8(), std::nullopt);
    EXPECT_EQ(reader.bytes(1), std::nullopt);
    EXPECT_TRUE(reader.failed());
}

TEST(ByteReaderTest, NullPointerReadsAsEmptyWhateverTheLength) {
    ByteReader reader(nullptr, 8);
    EXPECT_EQ(reader.remaining(), 0u);
    EXPECT_EQ(reader.u8(), std::nullopt);
}

TEST(ByteReaderTest, LengthBoundsTheReadsNotTheUnderlyingBuffer) {
    ByteReader reader(kBytes.data(), 2);
    EXPECT_EQ(reader.u16(), 0x8201);
    EXPECT_EQ(reader.u8(), std::nullopt);
}

TEST(ByteReaderTest, BytesGivesAViewAndChecksTheLength) {
    ByteReader reader(kBytes);
    ASSERT_TRUE(reader.u8());
    const auto view = reader.bytes(3);
    ASSERT_TRUE(view);
    EXPECT_EQ(std::vector<uint8_t>(view->begin(), view->end()), (std::vector<uint8_t>{0x82, 0x03, 0x84}));
    EXPECT_EQ(reader.offset(), 4u);
    EXPECT_EQ(reader.bytes(3), std::nullopt);
    EXPECT_EQ(reader.offset(), 4u);
}

TEST(ByteReaderTest, ZeroBytesAtTheEndSucceed) {
    ByteReader reader(kBytes);
    ASSERT_TRUE(reader.bytes(kBytes.size()));
    const auto empty = reader.bytes(0);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

} // namespace
