#include "gatt/ValueText.h"

#include "support/ScopedGermanNumbers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(ValueTextTest, Utf8IsDecodedUpToTheLengthOrTheFirstNul) {
    const std::tuple<const char*, Bytes, int, QString> rows[] = {
        {"trailing NUL", {0x48, 0x69, 0x00}, 3, "Hi"},
        {"NUL in the middle", {0x41, 0x00, 0x42}, 3, "A"},
        {"length shorter than the buffer", {0x48, 0x65, 0x6C}, 2, "He"},
        {"two-byte sequence", {0x4D, 0xC3, 0xBC, 0x6C}, 4, QStringLiteral("M\u00fcl")},
        {"invalid byte", {0x48, 0xFF, 0x69}, 3, QStringLiteral("H\ufffdi")},
        {"sequence cut by the length", {0x41, 0xC3, 0xBC}, 2, QStringLiteral("A\ufffd")},
        {"negative length", {0x41}, -5, ""},
    };
    for (const auto& [name, bytes, length, expected] : rows) {
        EXPECT_EQ(Utf8ToCString(bytes.data(), length), expected) << name;
    }
    EXPECT_EQ(Utf8ToCString(nullptr, 4), "");
    EXPECT_EQ(CStringFromUtf8("Waage \xC3\xA4"), QStringLiteral("Waage \u00e4"));
    EXPECT_EQ(CStringFromUtf8("A\xFF"), QStringLiteral("A\ufffd"));
    EXPECT_EQ(CStringFromUtf8(nullptr), "");
}

TEST(ValueTextTest, BytesToHexStringPutsTheSeparatorAfterEveryByte) {
    const std::tuple<Bytes, int, QString, bool, QString> rows[] = {
        {{0x01, 0x02, 0x0A}, 3, ":", false, "01:02:0A:"},
        {{0x01, 0x02, 0x0A}, 3, ":", true, "0A:02:01:"},
        {{0x34, 0x12}, 2, "", true, "1234"},
        {{0xFF, 0xEE, 0xDD}, 2, " - ", true, "EE - FF - "},
        {{0x01}, -1, ":", false, ""},
    };
    for (const auto& [bytes, length, separator, reversed, expected] : rows) {
        EXPECT_EQ(BytesToHexString(bytes.data(), length, separator, reversed), expected);
    }
    EXPECT_EQ(BytesToHexString(nullptr, 3, ":", false), "");
}

TEST(ValueTextTest, FloatToStringUsesAPointAndSixDecimalsWhateverTheLocale) {
    const ScopedGermanNumbers german;
    ASSERT_TRUE(german.active());
    EXPECT_EQ(FloatToString(0.1f), "0.100000");
    EXPECT_EQ(FloatToString(16777217.0f), "16777216.000000");
}

TEST(ValueTextTest, ParseEditUInt16ReadsLikeTheCConversion) {
    const std::tuple<const char*, QString, bool, uint16_t> rows[] = {
        {"largest", "65535", true, 65535},
        {"one too many", "65536", false, 0},
        {"negative", "-1", false, 0},
        {"empty", "", false, 0},
        {"leading tab and newline", "\t\n9", true, 9},
        {"trailing garbage", "42abc", true, 42},
        {"no digits", "abc", true, 0},
        {"plus sign", "+12", true, 12},
        {"leading zeros", "0065535", true, 65535},
        {"stops at inner space", "1 2", true, 1},
        {"far too large", "99999999999999999999999", false, 0},
        {"non-ASCII digits stop", QStringLiteral("5\u0663"), true, 5},
        {"no-break space is no white space", QStringLiteral("\u00a07"), true, 0},
        {"only the first 255 characters", QString(254, u'0') + "12", true, 1},
        {"255 spaces hide the digit", QString(255, u' ') + "7", true, 0},
    };
    for (const auto& [name, text, accepted, value] : rows) {
        uint16_t out = 4321;
        EXPECT_EQ(ParseEditUInt16(text, &out), accepted) << name;
        EXPECT_EQ(out, accepted ? value : 4321) << name;
    }
    EXPECT_FALSE(ParseEditUInt16("5", nullptr));
}

} // namespace
