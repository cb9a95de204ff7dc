#include "host/sim/AttServer.h"
#include "host/sim/GattText.h"

#include <gtest/gtest.h>

namespace orv::sim {
namespace {

using Bytes = std::vector<uint8_t>;

enum class Link { Plain, Encrypted, Authenticated };

// Handles: 1 Generic Access (to 3): 3 Device Name (read, write). 4 Bond Management (to 8): 6 Control
// Point (write; needs encryption), 8 Feature (read). 9 vendor service (to 12): 11 value (read, write,
// notify; needs protection against a man in the middle) with 12 its configuration.
GattCharacteristicDescription characteristic(const char* uuid, uint8_t properties, Bytes value,
                                      std::optional<PeerSecurity> security = std::nullopt) {
    GattCharacteristicDescription characteristic;
    characteristic.uuid = *parseUuid(uuid);
    characteristic.properties = properties;
    characteristic.value = std::move(value);
    characteristic.security = security;
    return characteristic;
}

AttServer securedServer(Link link) {
    const auto name = characteristic("2A00", 0x0A, {'O', 'l', 'd'});
    const auto controlPoint = characteristic("2AA4", 0x08, {}, PeerSecurity::Encryption);
    const auto feature = characteristic("2AA5", 0x02, {0x10});
    const auto vendor = characteristic("FFF1", 0x1A, {0x01}, PeerSecurity::Mitm);
    std::vector<GattServiceDescription> services{{*parseUuid("1800"), {name}},
                                          {*parseUuid("181E"), {controlPoint, feature}},
                                          {*parseUuid("FFF0"), {vendor}}};
    AttServer server(buildAttributeTable(services));
    server.setLinkSecurity(link != Link::Plain, link == Link::Authenticated);
    return server;
}

Bytes write(uint16_t handle, Bytes value) {
    Bytes pdu{0x12, static_cast<uint8_t>(handle), static_cast<uint8_t>(handle >> 8)};
    pdu.insert(pdu.end(), value.begin(), value.end());
    return pdu;
}

Bytes error(uint8_t opcode, uint16_t handle, uint8_t code) {
    return {0x01, opcode, static_cast<uint8_t>(handle), static_cast<uint8_t>(handle >> 8), code};
}

struct Access {
    const char* name;
    Link link;
    Bytes request;
    Bytes response;
};

class SecuredAccess : public ::testing::TestWithParam<Access> {};

TEST_P(SecuredAccess, AnswersAsTheLinkAllows) {
    AttServer server = securedServer(GetParam().link);
    EXPECT_EQ(server.handle(GetParam().request), GetParam().response);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, SecuredAccess,
    ::testing::Values(
        Access{"ProtectedReadOnPlainLink", Link::Plain, {0x0A, 11, 0}, error(0x0A, 11, 0x05)},
        Access{"ProtectedReadOnEncryptedLink", Link::Encrypted, {0x0A, 11, 0}, error(0x0A, 11, 0x05)},
        Access{"ProtectedReadOnAuthenticatedLink", Link::Authenticated, {0x0A, 11, 0}, Bytes{0x0B, 0x01}},
        Access{"ProtectedConfigurationOnPlainLink", Link::Plain, write(12, {1, 0}), error(0x12, 12, 0x05)},
        Access{"ProtectedConfigurationOnAuthenticatedLink", Link::Authenticated, write(12, {1, 0}),
               Bytes{0x13}},
        Access{"ProtectedReadByType", Link::Plain, {0x08, 9, 0, 12, 0, 0xF1, 0xFF}, error(0x08, 11, 0x05)},
        Access{"ControlPointOnPlainLink", Link::Plain, write(6, {0x03}), error(0x12, 6, 0x0F)},
        Access{"DeleteBondOnEncryptedLink", Link::Encrypted, write(6, {0x03}), Bytes{0x13}},
        Access{"DeleteAllBondsIsNotSupported", Link::Encrypted, write(6, {0x01}), error(0x12, 6, 0x80)},
        Access{"DeleteOtherBondsIsNotSupported", Link::Encrypted, write(6, {0x04}), error(0x12, 6, 0x80)},
        Access{"EmptyControlPointWrite", Link::Encrypted, write(6, {}), error(0x12, 6, 0x80)},
        Access{"OpenFeatureOnPlainLink", Link::Plain, {0x0A, 8, 0}, Bytes{0x0B, 0x10}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AttServerSecurity, NewLinkStartsUnencrypted) {
    AttServer server = securedServer(Link::Authenticated);
    server.setLinkSecurity(false, true);
    EXPECT_EQ(server.handle(Bytes{0x0A, 11, 0}), error(0x0A, 11, 0x05));
}

Bytes prepare(uint16_t handle, Bytes value) {
    Bytes pdu{0x16, static_cast<uint8_t>(handle), static_cast<uint8_t>(handle >> 8), 0, 0};
    pdu.insert(pdu.end(), value.begin(), value.end());
    return pdu;
}

TEST(AttServerSecurity, PreparedWriteToAProtectedConfigurationIsRefusedAtOnce) {
    AttServer server = securedServer(Link::Plain);
    EXPECT_EQ(server.handle(prepare(12, {1, 0})), error(0x16, 12, 0x05));
    EXPECT_EQ(server.handle(Bytes{0x18, 0x01}), Bytes{0x19});
    EXPECT_EQ(server.attribute(12)->value, (Bytes{0, 0}));
}

TEST(AttServerSecurity, PreparedConfigurationOfAnotherLengthIsRefusedAtExecute) {
    AttServer server = securedServer(Link::Authenticated);
    ASSERT_EQ(server.handle(prepare(12, {1, 0, 0})), (Bytes{0x17, 12, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(server.handle(Bytes{0x18, 0x01}), error(0x18, 12, 0x0D));
    EXPECT_EQ(server.attribute(12)->value, (Bytes{0, 0}));
}

TEST(AttServerSecurity, PreparedControlPointOpCodeIsCheckedAtExecute) {
    AttServer server = securedServer(Link::Encrypted);
    ASSERT_TRUE(server.handle(prepare(6, {0x01})));
    EXPECT_EQ(server.handle(Bytes{0x18, 0x01}), error(0x18, 6, 0x80));
}

TEST(AttServerSecurity, RefusedWriteIsNotReported) {
    AttServer server = securedServer(Link::Plain);
    bool reported = false;
    server.setWriteListener([&](const PeerAttribute&) { reported = true; });
    server.handle(write(6, {0x03}));
    server.handle(write(3, Bytes(249, 'N')));
    EXPECT_FALSE(reported);
    EXPECT_EQ(server.attribute(3)->value, (Bytes{'O', 'l', 'd'}));
}

} // namespace
} // namespace orv::sim
