#include "host/sim/AttServer.h"
#include "host/sim/GattText.h"
#include "host/sim/peers/PeerModel.h"

#include <gtest/gtest.h>

namespace orv::sim {
namespace {

using Bytes = std::vector<uint8_t>;
using Answer = std::optional<Bytes>;

GattCharacteristicDescription characteristic(const char* uuid, uint8_t properties, Bytes value,
                                             std::optional<PeerSecurity> security = std::nullopt) {
    GattCharacteristicDescription c;
    c.uuid = *parseUuid(uuid);
    c.properties = properties;
    c.value = std::move(value);
    c.security = security;
    return c;
}

Bytes error(uint8_t opcode, uint16_t handle, uint8_t code) {
    return {0x01, opcode, static_cast<uint8_t>(handle), static_cast<uint8_t>(handle >> 8), code};
}

Bytes pdu(uint8_t opcode, uint16_t handle, Bytes rest = {}) {
    Bytes out{opcode, static_cast<uint8_t>(handle), static_cast<uint8_t>(handle >> 8)};
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

// Records what the server tells it and refuses value writes with refusal.
class RecordingModel : public PeerModel {
public:
    std::vector<GattServiceDescription> baseDatabase() const override { return {}; }
    uint8_t onWrite(uint16_t, std::span<const uint8_t> value) override {
        writes.emplace_back(value.begin(), value.end());
        return refusal;
    }
    void onConfiguration(uint16_t valueHandle, uint16_t configuration) override {
        configurations.emplace_back(valueHandle, configuration);
    }
    uint8_t refusal = 0;
    std::vector<Bytes> writes;
    std::vector<std::pair<uint16_t, uint16_t>> configurations;
};

enum class Link { Plain, Encrypted, Authenticated };

// Handles: 1 Battery (to 6): 3 level (read, notify, 64) with 4 its configuration, 6 a 128-bit vendor
// value (write only). 7 Generic Access (to 9): 9 Device Name (read, write, "Old"). 10 Bond Management
// (to 14): 12 Control Point (write; needs encryption), 14 Feature (read). 15 vendor (to 19): 17 value
// (read, write, write without response, notify; needs man-in-the-middle protection, "ab") with 18 its
// configuration and 19 a user description.
AttServer server(Link link, RecordingModel* model = nullptr) {
    std::vector<GattServiceDescription> services{
        {*parseUuid("180F"),
         {characteristic("2A19", 0x12, {0x64}),
          characteristic("0000fff1-4b7e-11e2-8c3a-5f8c2e10b7d4", 0x08, {})}},
        {*parseUuid("1800"), {characteristic("2A00", 0x0A, {'O', 'l', 'd'})}},
        {*parseUuid("181E"),
         {characteristic("2AA4", 0x08, {}, PeerSecurity::Encryption), characteristic("2AA5", 0x02, {0x10})}},
        {*parseUuid("FFF0"), {characteristic("FFF1", 0x1E, {'a', 'b'}, PeerSecurity::Mitm)}}};
    services[3].characteristics[0].descriptors = {{*parseUuid("2902"), {0, 0}}, {*parseUuid("2901"), {'d'}}};
    AttServer built(buildAttributeTable(services));
    built.setLinkSecurity(link != Link::Plain, link == Link::Authenticated);
    built.setModel(model);
    return built;
}

struct Exchange {
    const char* name;
    Link link;
    std::vector<Bytes> requests; // the answer to the last one is checked
    Answer answer;
    uint16_t handle = 0; // and then this attribute's value, when given
    Bytes value{};
    bool reported = false; // the write listener heard of a stored value
};

class AttServerExchange : public ::testing::TestWithParam<Exchange> {};

TEST_P(AttServerExchange, AnswersWithTheExpectedBytes) {
    AttServer peer = server(GetParam().link);
    std::vector<Bytes> written;
    peer.setWriteListener([&](const PeerAttribute& a) { written.push_back(a.value); });
    Answer last;
    for (const Bytes& request : GetParam().requests) {
        last = peer.handle(request);
    }
    EXPECT_EQ(last, GetParam().answer);
    if (GetParam().handle != 0) {
        EXPECT_EQ(peer.attribute(GetParam().handle)->value, GetParam().value);
        EXPECT_EQ(written.size(), GetParam().reported ? 1u : 0u) << "only an accepted write is reported";
    }
}

const Link P = Link::Plain, E = Link::Encrypted, A = Link::Authenticated;

INSTANTIATE_TEST_SUITE_P(
    Requests, AttServerExchange,
    ::testing::Values(
        Exchange{"PrimaryServices",
                 P,
                 {{0x10, 1, 0, 0xFF, 0xFF, 0x00, 0x28}},
                 Bytes{0x11, 6, 1, 0, 6, 0, 0x0F, 0x18, 7, 0, 9, 0, 0x00, 0x18, 10, 0, 14, 0, 0x1E, 0x18}},
        Exchange{"NoMoreServices", P, {{0x10, 20, 0, 0xFF, 0xFF, 0x00, 0x28}}, error(0x10, 20, 0x0A)},
        Exchange{
            "SecondaryGroupTypeUnsupported", P, {{0x10, 1, 0, 0xFF, 0xFF, 0x01, 0x29}}, error(0x10, 1, 0x10)},
        Exchange{"ReversedRange", P, {{0x10, 5, 0, 1, 0, 0x00, 0x28}}, error(0x10, 5, 0x01)},
        Exchange{"ZeroStart", P, {{0x08, 0, 0, 6, 0, 0x03, 0x28}}, error(0x08, 0, 0x01)},
        Exchange{"ShortRangedRequest", P, {{0x08, 1, 0}}, error(0x08, 0, 0x04)},
        Exchange{"CharacteristicsStopAtAUuidOfAnotherSize",
                 P,
                 {{0x08, 1, 0, 6, 0, 0x03, 0x28}},
                 Bytes{0x09, 7, 2, 0, 0x12, 3, 0, 0x19, 0x2A}},
        Exchange{"ConfigurationDescriptor", P, {{0x04, 4, 0, 4, 0}}, Bytes{0x05, 1, 4, 0, 0x02, 0x29}},
        Exchange{"Read", P, {pdu(0x0A, 3)}, Bytes{0x0B, 0x64}},
        Exchange{"ReadOfWriteOnly", P, {pdu(0x0A, 6)}, error(0x0A, 6, 0x02)},
        Exchange{"ReadOfUnknownHandle", P, {pdu(0x0A, 40)}, error(0x0A, 40, 0x01)},
        Exchange{"ReadBlobPastTheEnd", P, {pdu(0x0C, 3, {2, 0})}, error(0x0C, 3, 0x07)},
        Exchange{"ReadBlobAtTheEnd", P, {pdu(0x0C, 9, {3, 0})}, Bytes{0x0D}},
        Exchange{"WriteOfReadOnly", P, {pdu(0x12, 3, {1})}, error(0x12, 3, 0x03), 3, {0x64}},
        Exchange{"ConfigurationOfWrongLength", P, {pdu(0x12, 4, {1})}, error(0x12, 4, 0x0D), 4, {0, 0}},
        Exchange{"Configuration", P, {pdu(0x12, 4, {1, 0})}, Bytes{0x13}, 4, {1, 0}, true},
        Exchange{"WriteCommandHasNoAnswer", P, {pdu(0x52, 4, {1, 0})}, std::nullopt},
        Exchange{"RefusedWriteCommandHasNoAnswerEither", P, {pdu(0x52, 6, {1})}, std::nullopt},
        Exchange{"Mtu", P, {{0x02, 0x00, 0x02}}, Bytes{0x03, 23, 0}},
        Exchange{"UnknownRequest", P, {{0x20, 0x01}}, error(0x20, 0, 0x06)},
        Exchange{"UnknownCommandIgnored", P, {{0x7F, 0x01}}, std::nullopt},
        Exchange{"Confirmation", P, {{0x1E}}, std::nullopt}, Exchange{"Empty", P, {{}}, std::nullopt},
        Exchange{"PreparedWritesApplyOnExecute",
                 P,
                 {pdu(0x16, 6, {0, 0, 'a', 'b'}), pdu(0x16, 6, {2, 0, 'c'}), {0x18, 1}},
                 Bytes{0x19},
                 6,
                 {'a', 'b', 'c'},
                 true},
        Exchange{"PreparedWriteIsEchoed", P, {pdu(0x16, 6, {2, 0, 'c'})}, pdu(0x17, 6, {2, 0, 'c'}), 6, {}},
        Exchange{"CancelledPreparedWrites",
                 P,
                 {pdu(0x16, 6, {0, 0, 'a'}), {0x18, 0}, {0x18, 1}},
                 Bytes{0x19},
                 6,
                 {}},
        Exchange{
            "PreparedWriteWithAGap", P, {pdu(0x16, 6, {5, 0, 'a'}), {0x18, 1}}, error(0x18, 6, 0x07), 6, {}},
        Exchange{"ProtectedReadOnPlainLink", P, {pdu(0x0A, 17)}, error(0x0A, 17, 0x05)},
        Exchange{"ProtectedReadOnEncryptedLink", E, {pdu(0x0A, 17)}, error(0x0A, 17, 0x05)},
        Exchange{"ProtectedReadOnAuthenticatedLink", A, {pdu(0x0A, 17)}, Bytes{0x0B, 'a', 'b'}},
        Exchange{"ProtectedConfigurationOnPlainLink",
                 P,
                 {pdu(0x12, 18, {1, 0})},
                 error(0x12, 18, 0x05),
                 18,
                 {0, 0}},
        Exchange{"ProtectedConfigurationOnAuthenticatedLink",
                 A,
                 {pdu(0x12, 18, {1, 0})},
                 Bytes{0x13},
                 18,
                 {1, 0},
                 true},
        Exchange{"ProtectedReadByType", P, {{0x08, 15, 0, 19, 0, 0xF1, 0xFF}}, error(0x08, 17, 0x05)},
        Exchange{"PreparedProtectedConfigurationRefusedAtOnce",
                 P,
                 {pdu(0x16, 18, {0, 0, 1, 0}), {0x18, 1}},
                 Bytes{0x19},
                 18,
                 {0, 0}},
        Exchange{"PreparedConfigurationOfAnotherLengthRefusedAtExecute",
                 A,
                 {pdu(0x16, 18, {0, 0, 1, 0, 0}), {0x18, 1}},
                 error(0x18, 18, 0x0D),
                 18,
                 {0, 0}},
        Exchange{"ControlPointOnPlainLink", P, {pdu(0x12, 12, {0x03})}, error(0x12, 12, 0x0F)},
        Exchange{"DeleteBondOnEncryptedLink", E, {pdu(0x12, 12, {0x03})}, Bytes{0x13}, 12, {0x03}, true},
        Exchange{"DeleteAllBondsIsNotSupported", E, {pdu(0x12, 12, {0x01})}, error(0x12, 12, 0x80), 12, {}},
        Exchange{"DeleteOtherBondsIsNotSupported", E, {pdu(0x12, 12, {0x04})}, error(0x12, 12, 0x80)},
        Exchange{"EmptyControlPointWrite", E, {pdu(0x12, 12)}, error(0x12, 12, 0x80)},
        Exchange{"PreparedControlPointOpCodeCheckedAtExecute",
                 E,
                 {pdu(0x16, 12, {0, 0, 0x01}), {0x18, 1}},
                 error(0x18, 12, 0x80),
                 12,
                 {}},
        Exchange{"OpenFeatureOnPlainLink", P, {pdu(0x0A, 14)}, Bytes{0x0B, 0x10}},
        Exchange{"DeviceNameTooLongKeepsTheOldName",
                 P,
                 {pdu(0x12, 9, Bytes(249, 'N'))},
                 error(0x12, 9, 0x0D),
                 9,
                 {'O', 'l', 'd'}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AttServer, SilentServerAnswersNoRequestButTakesCommands) {
    AttServer peer = server(Link::Plain);
    peer.setSilent(true);
    EXPECT_FALSE(peer.handle(pdu(0x0A, 3)));
    peer.handle(pdu(0x52, 4, {1, 0}));
    EXPECT_EQ(peer.attribute(4)->value, (Bytes{1, 0}));
}

TEST(AttServer, NewLinkStartsUnencrypted) {
    AttServer peer = server(Link::Authenticated);
    peer.setLinkSecurity(false, true);
    EXPECT_EQ(peer.handle(pdu(0x0A, 17)), error(0x0A, 17, 0x05));
}

struct ModelCase {
    const char* name;
    uint8_t refusal;
    std::vector<Bytes> requests;
    Answer answer;
    Bytes value; // of the value at 17 afterwards
    std::vector<Bytes> writes;
    std::vector<std::pair<uint16_t, uint16_t>> configurations;
};

class PeerModelHook : public ::testing::TestWithParam<ModelCase> {};

// The model judges whole values before they are stored and hears of every stored configuration.
TEST_P(PeerModelHook, SeesWritesBeforeTheyAreStored) {
    RecordingModel model;
    model.refusal = GetParam().refusal;
    AttServer peer = server(Link::Authenticated, &model);
    Answer last;
    for (const Bytes& request : GetParam().requests) {
        last = peer.handle(request);
    }
    EXPECT_EQ(last, GetParam().answer);
    EXPECT_EQ(peer.attribute(17)->value, GetParam().value);
    EXPECT_EQ(model.writes, GetParam().writes);
    EXPECT_EQ(model.configurations, GetParam().configurations);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, PeerModelHook,
    ::testing::Values(
        ModelCase{"Accepted", 0, {pdu(0x12, 17, {7, 8})}, Bytes{0x13}, {7, 8}, {{7, 8}}, {}},
        ModelCase{"Refused", 0x80, {pdu(0x12, 17, {7})}, error(0x12, 17, 0x80), {'a', 'b'}, {{7}}, {}},
        ModelCase{"RefusedCommand", 0x80, {pdu(0x52, 17, {7})}, std::nullopt, {'a', 'b'}, {{7}}, {}},
        ModelCase{"RefusedPreparedJudgedWhole",
                  0x81,
                  {pdu(0x16, 17, {0, 0, 'x'}), pdu(0x16, 17, {1, 0, 'y'}), {0x18, 1}},
                  error(0x18, 17, 0x81),
                  {'a', 'b'},
                  {{'x', 'y'}},
                  {}},
        ModelCase{"Configurations",
                  0,
                  {pdu(0x12, 18, {1, 0}), pdu(0x12, 18, {0, 0})},
                  Bytes{0x13},
                  {'a', 'b'},
                  {},
                  {{17, 1}, {17, 0}}},
        ModelCase{
            "MalformedConfiguration", 0, {pdu(0x12, 18, {1})}, error(0x12, 18, 0x0D), {'a', 'b'}, {}, {}},
        ModelCase{"OtherDescriptor", 0, {pdu(0x12, 19, {1, 0})}, error(0x12, 19, 0x03), {'a', 'b'}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orv::sim
