#include "host/core/Utf8.h"

#include <gtest/gtest.h>

namespace orv::host {
namespace {

struct CutCase {
    const char* name;
    std::string text;
    size_t max;
    std::string expected;
};

class Utf8Cut : public ::testing::TestWithParam<CutCase> {};

TEST_P(Utf8Cut, EndsOnACharacterBoundary) {
    EXPECT_EQ(truncateUtf8(GetParam().text, GetParam().max), GetParam().expected);
}

// "é" is 2 bytes, "✓" 3 bytes, "𝄞" 4 bytes.
INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Cut,
    ::testing::Values(CutCase{"Short", "abc", 50, "abc"},
                      CutCase{"Exact", std::string(50, 'a'), 50, std::string(50, 'a')},
                      CutCase{"AsciiLong", std::string(60, 'a'), 50, std::string(50, 'a')},
                      CutCase{"TwoByteSplit", std::string(49, 'a') + "é", 50, std::string(49, 'a')},
                      CutCase{"TwoByteFits", std::string(48, 'a') + "é", 50, std::string(48, 'a') + "é"},
                      CutCase{"ThreeByteSplitAfterOne", std::string(49, 'a') + "✓", 50, std::string(49, 'a')},
                      CutCase{"ThreeByteSplitAfterTwo", std::string(48, 'a') + "✓", 50, std::string(48, 'a')},
                      CutCase{"FourByteSplit", std::string(47, 'a') + "𝄞", 50, std::string(47, 'a')},
                      CutCase{"AllMultiByte", "心心心心心心心心心心心心心心心心心心", 50,
                              "心心心心心心心心心心心心心心心心"},
                      CutCase{"Empty", "", 50, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FieldText, StopsAtTheFirstNul) {
    const char field[8] = {'a', 'b', '\0', 'c', 'd', 'e', 'f', 'g'};
    EXPECT_EQ(fieldText(field, sizeof field), "ab");
}

TEST(FieldText, ReadsNoFurtherThanAnUnterminatedField) {
    const char field[4] = {'w', 'x', 'y', 'z'};
    EXPECT_EQ(fieldText(field, sizeof field), "wxyz");
}

} // namespace
} // namespace orv::host
