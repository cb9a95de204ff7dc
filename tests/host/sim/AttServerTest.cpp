#include "host/sim/AttServer.h"
#include "host/sim/GattText.h"

#include <gtest/gtest.h>

namespace orv::sim {
namespace {

using Bytes = std::vector<uint8_t>;

// Handles: 1 service 180F (to 6); 2 declaration, 3 Battery Level (read, notify, value 64), 4 its
// configuration; 5 declaration, 6 vendor 128-bit characteristic (write only).
AttServer batteryServer() {
    GattCharacteristicDescription level;
    level.uuid = *parseUuid("2A19");
    level.properties = 0x12;
    level.value = {0x64};
    GattCharacteristicDescription vendor;
    vendor.uuid = *parseUuid("0000fff1-4b7e-11e2-8c3a-5f8c2e10b7d4");
    vendor.properties = 0x08;
    GattServiceDescription service;
    service.uuid = *parseUuid("180F");
    service.characteristics = {level, vendor};
    return AttServer(buildAttributeTable({service}));
}

struct Exchange {
    const char* name;
    Bytes request;
    std::optional<Bytes> response;
};

class AttServerExchange : public ::testing::TestWithParam<Exchange> {};

TEST_P(AttServerExchange, AnswersWithTheExpectedBytes) {
    AttServer server = batteryServer();
    EXPECT_EQ(server.handle(GetParam().request), GetParam().response);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, AttServerExchange,
    ::testing::Values(
        Exchange{"PrimaryServices",
                 {0x10, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x28},
                 Bytes{0x11, 6, 1, 0, 6, 0, 0x0F, 0x18}},
        Exchange{"NoMoreServices",
                 {0x10, 0x07, 0x00, 0xFF, 0xFF, 0x00, 0x28},
                 Bytes{0x01, 0x10, 0x07, 0x00, 0x0A}},
        Exchange{"SecondaryGroupTypeUnsupported",
                 {0x10, 0x01, 0x00, 0xFF, 0xFF, 0x01, 0x29},
                 Bytes{0x01, 0x10, 0x01, 0x00, 0x10}},
        Exchange{
            "ReversedRange", {0x10, 0x05, 0x00, 0x01, 0x00, 0x00, 0x28}, Bytes{0x01, 0x10, 0x05, 0x00, 0x01}},
        Exchange{
            "ZeroStart", {0x08, 0x00, 0x00, 0x06, 0x00, 0x03, 0x28}, Bytes{0x01, 0x08, 0x00, 0x00, 0x01}},
        Exchange{"ShortRangedRequest", {0x08, 0x01, 0x00}, Bytes{0x01, 0x08, 0x00, 0x00, 0x04}},
        Exchange{"CharacteristicsStopAtAUuidOfAnotherSize",
                 {0x08, 0x01, 0x00, 0x06, 0x00, 0x03, 0x28},
                 Bytes{0x09, 7, 2, 0, 0x12, 3, 0, 0x19, 0x2A}},
        Exchange{"ConfigurationDescriptor", {0x04, 0x04, 0x00, 0x04, 0x00}, Bytes{0x05, 1, 4, 0, 0x02, 0x29}},
        Exchange{"Read", {0x0A, 0x03, 0x00}, Bytes{0x0B, 0x64}},
        Exchange{"ReadOfWriteOnly", {0x0A, 0x06, 0x00}, Bytes{0x01, 0x0A, 0x06, 0x00, 0x02}},
        Exchange{"ReadOfUnknownHandle", {0x0A, 0x07, 0x00}, Bytes{0x01, 0x0A, 0x07, 0x00, 0x01}},
        Exchange{"ReadBlobPastTheEnd", {0x0C, 0x03, 0x00, 0x02, 0x00}, Bytes{0x01, 0x0C, 0x03, 0x00, 0x07}},
        Exchange{"WriteOfReadOnly", {0x12, 0x03, 0x00, 0x01}, Bytes{0x01, 0x12, 0x03, 0x00, 0x03}},
        Exchange{"ConfigurationOfWrongLength", {0x12, 0x04, 0x00, 0x01}, Bytes{0x01, 0x12, 0x04, 0x00, 0x0D}},
        Exchange{"Configuration", {0x12, 0x04, 0x00, 0x01, 0x00}, Bytes{0x13}},
        Exchange{"WriteCommandHasNoAnswer", {0x52, 0x04, 0x00, 0x01, 0x00}, std::nullopt},
        Exchange{"RefusedWriteCommandHasNoAnswerEither", {0x52, 0x06, 0x00, 0x01}, std::nullopt},
        Exchange{"Mtu", {0x02, 0x00, 0x02}, Bytes{0x03, 23, 0}},
        Exchange{"UnknownRequest", {0x20, 0x01}, Bytes{0x01, 0x20, 0x00, 0x00, 0x06}},
        Exchange{"UnknownCommandIgnored", {0x7F, 0x01}, std::nullopt},
        Exchange{"Confirmation", {0x1E}, std::nullopt}, Exchange{"Empty", {}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AttServer, PreparedWritesApplyOnExecuteOnly) {
    AttServer server = batteryServer();
    EXPECT_EQ(server.handle(Bytes{0x16, 6, 0, 0, 0, 'a', 'b'}), (Bytes{0x17, 6, 0, 0, 0, 'a', 'b'}));
    EXPECT_EQ(server.handle(Bytes{0x16, 6, 0, 2, 0, 'c'}), (Bytes{0x17, 6, 0, 2, 0, 'c'}));
    EXPECT_TRUE(server.attribute(6)->value.empty());
    EXPECT_EQ(server.handle(Bytes{0x18, 1}), Bytes{0x19});
    EXPECT_EQ(server.attribute(6)->value, (Bytes{'a', 'b', 'c'}));
}

TEST(AttServer, CancelledPreparedWritesChangeNothing) {
    AttServer server = batteryServer();
    server.handle(Bytes{0x16, 6, 0, 0, 0, 'a'});
    EXPECT_EQ(server.handle(Bytes{0x18, 0}), Bytes{0x19});
    EXPECT_EQ(server.handle(Bytes{0x18, 1}), Bytes{0x19});
    EXPECT_TRUE(server.attribute(6)->value.empty());
}

TEST(AttServer, PreparedWriteWithAGapIsRefusedAtExecute) {
    AttServer server = batteryServer();
    server.handle(Bytes{0x16, 6, 0, 5, 0, 'a'});
    EXPECT_EQ(server.handle(Bytes{0x18, 1}), (Bytes{0x01, 0x18, 6, 0, 0x07}));
}

TEST(AttServer, SilentServerAnswersNoRequestButTakesCommands) {
    AttServer server = batteryServer();
    server.setSilent(true);
    EXPECT_FALSE(server.handle(Bytes{0x0A, 0x03, 0x00}));
    server.handle(Bytes{0x52, 0x04, 0x00, 0x01, 0x00});
    EXPECT_EQ(server.attribute(4)->value, (Bytes{0x01, 0x00}));
}

TEST(AttServer, LongValuesAreReadInParts) {
    GattCharacteristicDescription name;
    name.uuid = *parseUuid("2A00");
    name.value.assign(30, 'x');
    GattServiceDescription service;
    service.uuid = *parseUuid("1800");
    service.characteristics = {name};
    AttServer server(buildAttributeTable({service}));
    EXPECT_EQ(server.handle(Bytes{0x0A, 3, 0})->size(), 23u);
    EXPECT_EQ(server.handle(Bytes{0x0C, 3, 0, 22, 0}), (Bytes{0x0D, 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'}));
    EXPECT_EQ(server.handle(Bytes{0x0C, 3, 0, 30, 0}), Bytes{0x0D});
}

} // namespace
} // namespace orv::sim
