// RSC Measurement from golden bytes: each optional field alone and together, and every cut.
#include "gatt/RscMeasurement.h"

#include <gtest/gtest.h>

namespace {

using Rsc = RscMeasurement;

TEST(RscMeasurementTest, DecodeReadsTheAnnouncedFieldsAndRefusesAValueCutShort) {
    const std::tuple<const char*, std::vector<uint8_t>, std::optional<Rsc>> rows[] = {
        {"walking", {0x00, 0x00, 0x03, 0x50}, Rsc{768, 80, false, {}, {}}},
        {"running with stride", {0x05, 0x00, 0x03, 0xB4, 0x7B, 0x00}, Rsc{768, 180, true, 123, {}}},
        {"distance without stride",
         {0x06, 0x00, 0x03, 0x50, 0x40, 0xE2, 0x01, 0x00},
         Rsc{768, 80, true, {}, 123456}},
        {"every field",
         {0x07, 0xFF, 0xFF, 0xFF, 0x7B, 0x00, 0xFF, 0xFF, 0xFF, 0xFF},
         Rsc{0xFFFF, 0xFF, true, 123, 0xFFFFFFFF}},
        {"no cadence", {0x00, 0x00, 0x03}, std::nullopt},
        {"half a stride", {0x01, 0x00, 0x03, 0x50, 0x7B}, std::nullopt},
        {"distance cut short", {0x03, 0x00, 0x03, 0x50, 0x7B, 0x00, 0x40, 0xE2, 0x01}, std::nullopt},
    };
    for (const auto& [name, value, expected] : rows)
        EXPECT_EQ(Rsc::decode(value), expected) << name;
}

} // namespace
