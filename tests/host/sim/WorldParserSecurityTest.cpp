#include "host/sim/WorldParser.h"

#include <gtest/gtest.h>

namespace orv::sim {
namespace {

TEST(WorldSecurity, PeersNeedNothingAndTypeThePasskeyRightByDefault) {
    std::string error;
    const auto world = WorldParser::parse(R"({"peers": [{"address": "12:34:56:78:9A:BC",
        "gatt": [{"uuid": "1800", "characteristics": [{"uuid": "2A00"}]}]}]})",
                                          &error);
    ASSERT_TRUE(world) << error;
    const PeerDescription& peer = world->peers.at(0);
    EXPECT_EQ(peer.security, PeerSecurity::None);
    EXPECT_FALSE(peer.passkeyInput);
    EXPECT_EQ(peer.passkey, PasskeyBehaviour::Right);
    EXPECT_FALSE(peer.gatt.at(0).characteristics.at(0).security.has_value());
}

TEST(WorldSecurity, PeerAndCharacteristicNeedsAreRead) {
    std::string error;
    const auto world = WorldParser::parse(R"({"peers": [{"address": "12:34:56:78:9A:BC",
        "security": "encryption", "passkeyInput": true, "passkey": "none",
        "gatt": [{"uuid": "1812", "characteristics": [{"uuid": "2A4D", "security": "mitm"},
                                                      {"uuid": "2A4A", "security": "none"}]}]}]})",
                                          &error);
    ASSERT_TRUE(world) << error;
    const PeerDescription& peer = world->peers.at(0);
    EXPECT_EQ(peer.security, PeerSecurity::Encryption);
    EXPECT_TRUE(peer.passkeyInput);
    EXPECT_EQ(peer.passkey, PasskeyBehaviour::None);
    EXPECT_EQ(peer.gatt.at(0).characteristics.at(0).security, PeerSecurity::Mitm);
    EXPECT_EQ(peer.gatt.at(0).characteristics.at(1).security, PeerSecurity::None);
}

struct BadSecurity {
    const char* name;
    const char* peerMembers;
    const char* errorMentions;
};

class MalformedSecurity : public ::testing::TestWithParam<BadSecurity> {};

TEST_P(MalformedSecurity, IsRejectedNamingTheMember) {
    const std::string json =
        std::string(R"({"peers": [{"address": "12:34:56:78:9A:BC", )") + GetParam().peerMembers + "}]}";
    std::string error;
    EXPECT_FALSE(WorldParser::parse(json, &error));
    EXPECT_NE(error.find(GetParam().errorMentions), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Worlds, MalformedSecurity,
    ::testing::Values(BadSecurity{"UnknownPeerSecurity", R"("security": "bonded")", "peers[0].security"},
                      BadSecurity{"SecurityNotText", R"("security": 1)", "peers[0].security"},
                      BadSecurity{"UnknownPasskey", R"("passkey": "maybe")", "peers[0].passkey"},
                      BadSecurity{"PasskeyInputNotBool", R"("passkeyInput": "yes")", "peers[0].passkeyInput"},
                      BadSecurity{"UnknownCharacteristicSecurity",
                                  R"("gatt": [{"uuid": "1800", "characteristics": [{"uuid": "2A00",
                                      "security": "strong"}]}])",
                                  "peers[0].gatt[0].characteristics[0].security"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orv::sim
