#include "host/core/Utf8.h"

#include <gtest/gtest.h>

namespace orv::host {
namespace {

// "é" is 2 bytes, "✓" 3 bytes, "𝄞" 4 bytes.
TEST(Utf8Cut, EndsOnACharacterBoundary) {
    const std::tuple<const char*, std::string, size_t, std::string> cases[] = {
        {"short", "abc", 50, "abc"},
        {"exact", std::string(50, 'a'), 50, std::string(50, 'a')},
        {"ASCII long", std::string(60, 'a'), 50, std::string(50, 'a')},
        {"two-byte split", std::string(49, 'a') + "é", 50, std::string(49, 'a')},
        {"two-byte fits", std::string(48, 'a') + "é", 50, std::string(48, 'a') + "é"},
        {"three-byte split after one", std::string(49, 'a') + "✓", 50, std::string(49, 'a')},
        {"three-byte split after two", std::string(48, 'a') + "✓", 50, std::string(48, 'a')},
        {"four-byte split", std::string(47, 'a') + "𝄞", 50, std::string(47, 'a')},
        {"all multi-byte", "心心心心心心心心心心心心心心心心心心", 50, "心心心心心心心心心心心心心心心心"},
        {"empty", "", 50, ""},
    };
    for (const auto& [name, text, max, expected] : cases)
        EXPECT_EQ(truncateUtf8(text, max), expected) << name;
}

TEST(FieldText, StopsAtTheFirstNulAndReadsNoFurtherThanAnUnterminatedField) {
    const char terminated[8] = {'a', 'b', '\0', 'c', 'd', 'e', 'f', 'g'};
    EXPECT_EQ(fieldText(terminated, sizeof terminated), "ab");
    const char unterminated[4] = {'w', 'x', 'y', 'z'};
    EXPECT_EQ(fieldText(unterminated, sizeof unterminated), "wxyz");
}

} // namespace
} // namespace orv::host
